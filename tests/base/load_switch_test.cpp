// Whether AvatarLog speaks is decided when the library is loaded, from "gstack"
// in the current directory. Each case runs this test program again in a folder
// prepared for it, so that the library is loaded anew there; the child reports
// what reached the debugger output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/avatar_log.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"
#include "support/run_program.h"

namespace {

constexpr const char* kReportVariable = "KVAVTR_LOAD_SWITCH_REPORT";

// Runs in the child only.
TEST(LoadSwitchChild, ReportsWhatTheLogSays) {
    const char* reportPath = std::getenv(kReportVariable);
    if (!reportPath) {
        GTEST_SKIP() << "runs as the child of LoadSwitch";
    }
    std::string written;
    kvplatform::SetDebugOutputSink([&written](const char* text) { written += text; });
    AvatarLog("before %d;", 1);
    // Creating or removing "gstack" now changes nothing.
    std::error_code error;
    if (std::filesystem::exists("gstack")) {
        std::filesystem::remove_all("gstack", error);
    } else {
        std::ofstream("gstack") << "";
    }
    AvatarLog("after %d;", 2);
    AvatarLogPrint("always;");
    kvplatform::SetDebugOutputSink(nullptr);
    std::ofstream(reportPath) << written;
}

enum class Switch { kNone, kFile, kFolder };

class LoadSwitch : public ::testing::TestWithParam<Switch> {};

std::string RunChildIn(const std::filesystem::path& folder) {
    const std::string report = (folder / "report.txt").string();
    const kvtest::ProgramOutcome outcome = kvtest::RunProgram(
        "env", {"-C", folder.string(), std::string(kReportVariable) + "=" + report,
                std::filesystem::read_symlink("/proc/self/exe").string(),
                "--gtest_filter=LoadSwitchChild.ReportsWhatTheLogSays"});
    EXPECT_EQ(outcome.exitCode, 0);
    std::ifstream stream(report);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

TEST_P(LoadSwitch, IsDecidedOnceAtLoad) {
    const std::filesystem::path folder = kvtest::MakeTempFolder();
    if (GetParam() == Switch::kFile) {
        std::ofstream(folder / "gstack") << "";
    } else if (GetParam() == Switch::kFolder) {
        std::filesystem::create_directory(folder / "gstack");
    }
    const std::string expected =
        GetParam() == Switch::kNone ? "always;" : "before 1;after 2;always;";
    EXPECT_EQ(RunChildIn(folder), expected);
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Gstack, LoadSwitch,
                         ::testing::Values(Switch::kNone, Switch::kFile, Switch::kFolder));

}  // namespace
