// kvavtr bmp, run as a separate program.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/bmp_builder.h"
#include "support/run_program.h"

namespace {

class BmpCommandTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = m_folder + "/" + name;
        EXPECT_TRUE(kvtest::WriteBytes(path, bytes));
        return path;
    }

    std::string m_folder = kvtest::MakeTempFolder();
};

TEST_F(BmpCommandTest, WritesThePictureAsPng) {
    kvtest::BmpBuilder bmp(3, 2, 24);
    bmp.Pixel(0, 0, 0xFF0000).Pixel(1, 0, 0x0000FF).Pixel(2, 1, 0x00FF00);
    const std::string out = m_folder + "/out.png";
    const kvtest::ProgramOutcome outcome =
        kvtest::RunProgram(KVAVTR_CLI_PATH, {"bmp", Write("in.bmp", bmp.Bytes()), out});
    EXPECT_EQ(outcome.exitCode, 0);
    std::ifstream png(out, std::ios::binary);
    char signature[8] = {};
    png.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

struct FailureCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
};

TEST_F(BmpCommandTest, RefusedFilesGiveOneLineWithTheReason) {
    std::vector<uint8_t> truncated = kvtest::BmpBuilder(4, 4, 24).Bytes();
    truncated.resize(truncated.size() - 1);
    const FailureCase cases[] = {
        {"short.bmp", std::vector<uint8_t>(54, 'B'), "too short"},
        {"mb.bmp", kvtest::BmpBuilder(2, 2, 24).Magic('M', 'B').Bytes(), "not a bitmap"},
        {"bits.bmp", kvtest::BmpBuilder(2, 2, 16).Bytes(), "bit count 16"},
        {"topdown.bmp", kvtest::BmpBuilder(2, 2, 24).HeaderSize(2, -2).Bytes(), "top-down"},
        {"cut.bmp", truncated, "truncated"},
    };
    for (const FailureCase& c : cases) {
        const kvtest::ProgramOutcome outcome = kvtest::RunProgram(
            KVAVTR_CLI_PATH, {"bmp", Write(c.name, c.bytes), m_folder + "/out.png"}, true);
        EXPECT_EQ(outcome.exitCode, 1) << c.name;
        EXPECT_NE(outcome.output.find(c.reason), std::string::npos) << outcome.output;
        EXPECT_EQ(outcome.output.find('\n'), outcome.output.size() - 1) << outcome.output;
    }
    const kvtest::ProgramOutcome missing = kvtest::RunProgram(
        KVAVTR_CLI_PATH, {"bmp", m_folder + "/none.bmp", m_folder + "/out.png"}, true);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("cannot open"), std::string::npos);
}

TEST_F(BmpCommandTest, WrongArgumentsAreUsageErrors) {
    EXPECT_EQ(kvtest::RunProgram(KVAVTR_CLI_PATH, {"bmp"}).exitCode, 2);
    EXPECT_EQ(kvtest::RunProgram(KVAVTR_CLI_PATH, {"bmp", "a", "b", "c"}).exitCode, 2);
}

}  // namespace
