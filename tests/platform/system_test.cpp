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
    now += 0x20;  // wraps past zero
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount() - start, 0x20u);
    kvplatform::SetTickSource(nullptr);

    // The real clock again: read twice, the second is not before the first.
    const DWORD first = GetTickCount();
    const DWORD second = GetTickCount();
    EXPECT_LT(second - first, 0x80000000u);
}

TEST(Version, ReportsNtForBothStructureSizesAndRefusesOthers) {
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex)));
    EXPECT_EQ(ex.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(ex.dwMajorVersion, 6u);
    EXPECT_EQ(ex.dwMinorVersion, 1u);
    EXPECT_EQ(ex.dwOSVersionInfoSize, sizeof ex);

    // The short structure is written no further than its size.
    struct {
        OSVERSIONINFOA info;
        char guard[8];
    } shortInfo;
    std::memset(&shortInfo, 0x5A, sizeof shortInfo);
    shortInfo.info.dwOSVersionInfoSize = sizeof shortInfo.info;
    ASSERT_TRUE(GetVersionExA(&shortInfo.info));
    EXPECT_EQ(shortInfo.info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(std::string(shortInfo.guard, 8), std::string(8, '\x5A'));

    kvplatform::SetPretendNonNt(true);
    ASSERT_TRUE(GetVersionExA(&shortInfo.info));
    EXPECT_EQ(shortInfo.info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    kvplatform::SetPretendNonNt(false);

    for (DWORD size : {0u, 147u, 152u, 157u}) {
        shortInfo.info.dwOSVersionInfoSize = size;
        EXPECT_FALSE(GetVersionExA(&shortInfo.info)) << size;
    }
}

TEST(DebugOutput, GoesToTheSinkWhileOneIsSet) {
    std::vector<std::string> lines;
    kvplatform::SetDebugOutputSink([&lines](const char* text) { lines.push_back(text); });
    OutputDebugStringA("KVAVTR:: one\n");
    OutputDebugStringA(nullptr);
    kvplatform::SetDebugOutputSink(nullptr);
    OutputDebugStringA("");  // to stderr, not to the sink
    EXPECT_EQ(lines, std::vector<std::string>{"KVAVTR:: one\n"});
}

// The Win32 convention: the length without the terminator when the path fits,
// else the size needed with the terminator, and the buffer untouched.
void ExpectWin32StringConvention(DWORD (*get)(DWORD, LPSTR), const std::string& expected) {
    std::vector<char> buffer(expected.size() + 1, '#');
    EXPECT_EQ(get(0, nullptr), expected.size() + 1);
    EXPECT_EQ(get(static_cast<DWORD>(expected.size()), buffer.data()), expected.size() + 1);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(get(static_cast<DWORD>(buffer.size()), buffer.data()), expected.size());
    EXPECT_EQ(std::string(buffer.data()), expected);
}

TEST(Directories, TempPathAndCurrentDirectory) {
    ScratchFolder folder;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", folder.Path().c_str(), 1);
    ExpectWin32StringConvention(GetTempPathA, folder.Path() + "/");
    setenv("TMPDIR", (folder.Path() + "/").c_str(), 1);
    ExpectWin32StringConvention(GetTempPathA, folder.Path() + "/");
    if (old) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    ExpectWin32StringConvention(GetCurrentDirectoryA, std::filesystem::current_path().string());
}

}  // namespace
