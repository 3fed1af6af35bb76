// The id and convert sub-commands, run as a separate program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

using Outcome = kvtest::ProgramOutcome;

Outcome RunKvavtr(const std::vector<std::string>& args, bool wantStderr = false) {
    return kvtest::RunProgram(KVAVTR_CLI_PATH, args, wantStderr);
}

struct CommandCase {
    std::vector<std::string> args;
    std::string output;
};

class AvatarIdCommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(AvatarIdCommandTest, PrintsOneLine) {
    const Outcome outcome = RunKvavtr(GetParam().args);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.output, GetParam().output + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, AvatarIdCommandTest,
    testing::Values(
        CommandCase{{"id", "LCM001_HCM001_FNM001A_PNM001"},
                    R"({"parts": ["pnm001b", "lcm001", "hcm001", "fnm001a", "pnm001a"], )"
                    R"("com": false, "default": false, "expression": "a", )"
                    R"("string": "lcm001_hcm001_fnm001a_pnm001"})"},
        CommandCase{{"id", "--com", "LCF001_HCF001_FNF001A_PNF001"},
                    R"({"parts": ["LCF001_HCF001_FNF001A_PNF001"], "com": true, "default": true, )"
                    R"("expression": null, "string": "lcf001_hcf001_fnf001a_pnf001"})"},
        CommandCase{{"id", "--", "--com_lcm001"},
                    R"({"parts": ["lcm001"], "com": false, "default": false, "expression": null, )"
                    R"("string": "--com_lcm001"})"},
        CommandCase{{"id", ""},
                    R"({"parts": [], "com": false, "default": false, "expression": null, )"
                    R"("string": null})"},
        CommandCase{{"id", "--com", "a\"b\\c\x01\xc3\xa9"},
                    R"({"parts": ["A\"B\\C\u0001\u00c3\u00a9"], "com": true, "default": false, )"
                    R"("expression": null, "string": "a\"b\\c\u0001\u00c3\u00a9"})"},
        CommandCase{{"convert", "NNN0121001001N010000000000"},
                    "lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_"},
        CommandCase{{"convert",
                     "S00000200000000000000000"
                     "12"},
                    "ssf012a_"}));

class AvatarIdUsageTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(AvatarIdUsageTest, RefusesWithUsage) {
    const Outcome outcome = RunKvavtr(GetParam(), true);
    EXPECT_EQ(outcome.exitCode, 2);
    const std::string usage =
        GetParam()[0] == "id" ? "usage: kvavtr id [--com] ID\n" : "usage: kvavtr convert CODE\n";
    EXPECT_EQ(outcome.output, usage);
}

INSTANTIATE_TEST_SUITE_P(BadArguments, AvatarIdUsageTest,
                         testing::Values(std::vector<std::string>{"id"},
                                         std::vector<std::string>{"id", "--com"},
                                         std::vector<std::string>{"id", "--upper", "abc"},
                                         std::vector<std::string>{"id", "abc", "def"},
                                         std::vector<std::string>{"convert"},
                                         std::vector<std::string>{"convert", "-x"},
                                         std::vector<std::string>{"convert", "N", "N"}));

}  // namespace
