// The debug log and the home directory. Whether AvatarLog speaks is decided when the library is
// loaded, from "gstack" in the current directory: each case runs this program again in a folder
// prepared for it, and the child reports what reached the debugger output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/avatar_log.h"
#include "base/veltrun_directory.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kReportVariable = "KVAVTR_LOAD_SWITCH_REPORT";

TEST(AvatarLog, PrintFormatsAddsNothingAndCutsAt519CharactersSilentWritesNothing) {
    std::vector<std::string> lines;
    kvplatform::SetDebugOutputSink([&lines](const char* text) { lines.push_back(text); });
    AvatarLogPrint("KVAVTR:: %s ( %d ) %x\n", "file", -3, 255u);
    AvatarLogSilent("KVAVTR:: %s\n", "quiet");
    AvatarLogPrint("%s", std::string(2000, 'x').c_str());
    AvatarLogPrint("%s!", std::string(518, 'y').c_str());
    kvplatform::SetDebugOutputSink(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"KVAVTR:: file ( -3 ) ff\n", std::string(519, 'x'),
                                               std::string(518, 'y') + "!"}));
}

// Runs in the child only. Creating or removing "gstack" after load changes nothing.
TEST(LoadSwitchChild, ReportsWhatTheLogSays) {
    const char* reportPath = std::getenv(kReportVariable);
    if (!reportPath) {
        GTEST_SKIP() << "runs as the child of LoadSwitch";
    }
    std::string written;
    kvplatform::SetDebugOutputSink([&written](const char* text) { written += text; });
    AvatarLog("before %d;", 1);
    std::error_code error;
    if (!fs::remove_all("gstack", error)) {
        std::ofstream("gstack") << "";
    }
    AvatarLog("after %d;", 2);
    AvatarLogPrint("always;");
    kvplatform::SetDebugOutputSink(nullptr);
    std::ofstream(reportPath) << written;
}

TEST(LoadSwitch, IsDecidedOnceAtLoad) {
    for (const std::string gstack : {"", "file", "folder"}) {
        const fs::path folder = kvtest::MakeTempFolder();
        if (gstack == "file")
            std::ofstream(folder / "gstack") << "";
        if (gstack == "folder")
            fs::create_directory(folder / "gstack");
        const std::string report = (folder / "report.txt").string();
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(
            "env", {"-C", folder.string(), std::string(kReportVariable) + "=" + report,
                    fs::read_symlink("/proc/self/exe").string(),
                    "--gtest_filter=LoadSwitchChild.ReportsWhatTheLogSays"});
        EXPECT_EQ(outcome.exitCode, 0);
        std::ifstream stream(report);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stream), {}),
                  gstack.empty() ? "always;" : "before 1;after 2;always;")
            << gstack;
        fs::remove_all(folder);
    }
}

TEST(VeltrunDirectory, NoKeyLeavesTheBufferAndAnUnreadableHomeEmptiesIt) {
    const std::string untouched(8, '@');
    const std::string h259(259, 'h');
    const std::string key = "[Software\\Veltrun.Com\\KOREAN]\n";
    const struct {
        std::string registry;
        int result;
        std::string buffer;
    } cases[] = {
        {"", 0, untouched},
        {"[Software\\Veltrun.Com\\ENGLISH]\nHome=/x\n", 0, untouched},
        {key + "Other=/x\n", 1, ""},
        {"[software\\veltrun.com\\korean]\nhome=/home/player/portal\n", 1, "/home/player/portal"},
        {key + "Home=" + h259 + "\n", 1, h259},
        {key + "Home=" + h259 + "h\n", 1, ""},
        {key + "Home:expand=%HOME%\\portal\n", 1, "%HOME%\\portal"},
        // Stored without a terminator: one is added when the buffer has room.
        {key + "Home:unterminated=" + h259 + "\n", 1, h259},
        {key + "Home:unterminated=" + h259 + "h\n", 1, ""}};
    const std::string folder = kvtest::MakeTempFolder();
    kvplatform::SetRegistryFile(folder + "/registry.ini");
    for (const auto& c : cases) {
        std::ofstream(folder + "/registry.ini") << c.registry;
        char buffer[261];
        std::memcpy(buffer, untouched.c_str(), untouched.size() + 1);
        EXPECT_EQ(GetVeltrunDirectory(buffer), c.result) << c.registry;
        EXPECT_EQ(std::string(buffer), c.buffer) << c.registry;
    }
    kvplatform::SetRegistryFile("");
    std::filesystem::remove_all(folder);
}

}  // namespace
