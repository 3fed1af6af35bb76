#include "base/avatar_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing.h"

namespace {

TEST(AvatarLog, PrintFormatsAddsNothingAndCutsAt519CharactersSilentWritesNothing) {
    std::vector<std::string> lines;
    kvplatform::SetDebugOutputSink([&lines](const char* text) { lines.push_back(text); });
    AvatarLogPrint("KVAVTR:: %s ( %d ) %x\n", "file", -3, 255u);
    AvatarLogPrint("no line end");
    AvatarLogSilent("KVAVTR:: %s\n", "quiet");
    AvatarLogPrint("%s", std::string(2000, 'x').c_str());
    AvatarLogPrint("%s!", std::string(518, 'y').c_str());
    kvplatform::SetDebugOutputSink(nullptr);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"KVAVTR:: file ( -3 ) ff\n", "no line end",
                                        std::string(519, 'x'), std::string(518, 'y') + "!"}));
}

}  // namespace
