#include "base/veltrun_directory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace {

struct Case {
    const char* name;
    std::optional<std::string> registryText;  // no file at all when empty
    int result;
    std::string buffer;  // "untouched" is the fill below
};

const std::string kUntouched(8, '@');
const std::string k259(259, 'h');

class VeltrunDirectory : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { kvplatform::SetRegistryFile(m_folder + "/registry.ini"); }
    void TearDown() override {
        kvplatform::SetRegistryFile("");
        std::filesystem::remove_all(m_folder);
    }
    std::string m_folder = kvtest::MakeTempFolder();
};

TEST_P(VeltrunDirectory, HasThreeOutcomes) {
    const Case& c = GetParam();
    if (c.registryText) {
        std::ofstream(m_folder + "/registry.ini") << *c.registryText;
    }
    char buffer[261];
    std::memcpy(buffer, kUntouched.c_str(), kUntouched.size() + 1);
    EXPECT_EQ(GetVeltrunDirectory(buffer), c.result);
    EXPECT_EQ(std::string(buffer), c.buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, VeltrunDirectory,
    ::testing::Values(
        Case{"NoFile", std::nullopt, 0, kUntouched},
        Case{"NoKey", "[Software\\Veltrun.Com\\ENGLISH]\nHome=/x\n", 0, kUntouched},
        Case{"NoHome", "[Software\\Veltrun.Com\\KOREAN]\nOther=/x\n", 1, ""},
        Case{"Home", "[software\\veltrun.com\\korean]\nhome=/home/player/portal\n", 1,
             "/home/player/portal"},
        Case{"EmptyHome", "[Software\\Veltrun.Com\\KOREAN]\nHome=\n", 1, ""},
        Case{"Longest", "[Software\\Veltrun.Com\\KOREAN]\nHome=" + k259 + "\n", 1, k259},
        Case{"TooLong", "[Software\\Veltrun.Com\\KOREAN]\nHome=" + k259 + "h\n", 1, ""},
        Case{"Expand", "[Software\\Veltrun.Com\\KOREAN]\nHome:expand=%HOME%\\portal\n", 1,
             "%HOME%\\portal"},
        Case{"Unterminated", "[Software\\Veltrun.Com\\KOREAN]\nHome:unterminated=" + k259 + "\n", 1,
             k259},
        Case{"UnterminatedFull",
             "[Software\\Veltrun.Com\\KOREAN]\nHome:unterminated=" + k259 + "h\n", 1, ""}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
