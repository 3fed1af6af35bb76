#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

TEST(TickCount, FollowsTheSourceAcrossTheWrap) {
    DWORD now = 0xFFFFFFF0u;
    kvplatform::SetTickSource([&now] { return now; });
    const DWORD start = GetTickCount();
    now += 0x20;
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount() - start, 0x20u);
    kvplatform::SetTickSource(nullptr);
    const DWORD first = GetTickCount();
    EXPECT_LT(GetTickCount() - first, 0x80000000u);  // the real clock does not go back
}

TEST(Version, ReportsNtWithinTheCallersStructureSize) {
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex)));
    EXPECT_EQ(ex.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(ex.dwMajorVersion, 6u);
    EXPECT_EQ(ex.dwMinorVersion, 1u);

    struct {
        OSVERSIONINFOA info;
        char guard[8];
    } shortInfo;
    std::memset(&shortInfo, 0x5A, sizeof shortInfo);
    shortInfo.info.dwOSVersionInfoSize = sizeof shortInfo.info;
    kvplatform::SetPretendNonNt(true);
    ASSERT_TRUE(GetVersionExA(&shortInfo.info));
    kvplatform::SetPretendNonNt(false);
    EXPECT_EQ(shortInfo.info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    EXPECT_EQ(std::string(shortInfo.guard, 8), std::string(8, '\x5A'));
    for (DWORD size : {0u, 147u, 152u, 157u}) {
        shortInfo.info.dwOSVersionInfoSize = size;
        EXPECT_FALSE(GetVersionExA(&shortInfo.info)) << size;
    }
}

// The length without the terminator when the path fits, else the size needed with the
// terminator and the buffer untouched.
void ExpectWin32StringConvention(DWORD (*get)(DWORD, LPSTR), const std::string& expected) {
    std::vector<char> buffer(expected.size() + 1, '#');
    EXPECT_EQ(get(0, nullptr), expected.size() + 1);
    EXPECT_EQ(get(static_cast<DWORD>(expected.size()), buffer.data()), expected.size() + 1);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(get(static_cast<DWORD>(buffer.size()), buffer.data()), expected.size());
    EXPECT_EQ(std::string(buffer.data()), expected);
}

TEST(Directories, TempPathEndsInOneSeparatorAndCurrentDirectoryIsBare) {
    ScratchFolder folder;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    for (const std::string& tmp : {folder.Path(), folder.Path() + "/"}) {
        setenv("TMPDIR", tmp.c_str(), 1);
        ExpectWin32StringConvention(GetTempPathA, folder.Path() + "/");
    }
    if (old) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    ExpectWin32StringConvention(GetCurrentDirectoryA, std::filesystem::current_path().string());
}

}  // namespace
