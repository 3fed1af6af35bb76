#include "frame/avatar_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing.h"

namespace {

class DebugCapture {
public:
    DebugCapture() {
        kvplatform::SetDebugOutputSink([this](const char* text) { lines.push_back(text); });
    }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;
    ~DebugCapture() { kvplatform::SetDebugOutputSink(nullptr); }
    std::vector<std::string> lines;
};

TEST(AvatarLogPrint, FormatsAndAddsNothing) {
    DebugCapture capture;
    AvatarLogPrint("KVAVTR:: %s ( %d ) %x\n", "file", -3, 255u);
    AvatarLogPrint("no line end");
    EXPECT_EQ(capture.lines,
              (std::vector<std::string>{"KVAVTR:: file ( -3 ) ff\n", "no line end"}));
}

TEST(AvatarLogPrint, CutsLongMessagesAt519Characters) {
    DebugCapture capture;
    const std::string text(2000, 'x');
    AvatarLogPrint("%s", text.c_str());
    AvatarLogPrint("%s!", std::string(518, 'y').c_str());
    ASSERT_EQ(capture.lines.size(), 2u);
    EXPECT_EQ(capture.lines[0], std::string(519, 'x'));
    EXPECT_EQ(capture.lines[1], std::string(518, 'y') + "!");
}

TEST(AvatarLogSilent, WritesNothing) {
    DebugCapture capture;
    AvatarLogSilent("KVAVTR:: %s\n", "quiet");
    EXPECT_TRUE(capture.lines.empty());
}

}  // namespace
