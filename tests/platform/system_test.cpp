// Registry, settings files, tick count, version and the system's folders.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

// Opens a key of the current user, or below `parent`; closes it unless asked for it.
bool Opens(const char* name, HKEY parent = HKEY_CURRENT_USER, HKEY* opened = nullptr) {
    HKEY key = nullptr;
    const bool ok = RegOpenKeyExA(parent, name, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (ok) {
        opened ? void(*opened = key) : void(RegCloseKey(key));
    }
    return ok;
}

TEST(Registry, KeysOpenAtSectionsOrAboveThemAndRelativeToOpenKeys) {
    ScratchFolder folder;
    folder.Write("registry.ini", "; notes are skipped\n[Software\\Other]\r\n  Home = elsewhere \n");
    kvplatform::SetRegistryFile(folder / "registry.ini");
    EXPECT_FALSE(Opens("Software\\Veltrun") || Opens("Soft"));
    HKEY software = nullptr, key = nullptr;
    ASSERT_TRUE(Opens("Software", HKEY_CURRENT_USER, &software) && Opens("OTHER", software, &key));
    folder.Write("registry.ini", "[Software\\Other]\nHome=changed\n");
    char data[16];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "HOME", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "elsewhere");  // the file was read when the key was opened
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    RegCloseKey(software);
    // Without an override the environment names the file.
    kvplatform::SetRegistryFile("");
    folder.Write("kvavtr/registry.ini", "[A]\n");
    folder.Write("named.ini", "[B]\n");
    ScopedEnv config("XDG_CONFIG_HOME", folder.Path());
    {
        ScopedEnv named("KVAVTR_REGISTRY", folder / "named.ini");
        EXPECT_TRUE(Opens("B") && !Opens("A"));
    }
    ScopedEnv unnamed("KVAVTR_REGISTRY", "");
    EXPECT_TRUE(Opens("A") && !Opens("B"));
}

TEST(PrivateProfile, ReadsLeadingDecimalIntegers) {
    ScratchFolder folder;
    folder.Write("Avatar3.ini",
                 "[Other]\nCount=1\n[Avatar]\r\nCount = 42 \r\nPrefix=17px\nNegative=-3\nWord=abc\n"
                 "Hex=0x10\nEmpty=\n;Noted=5\ncount=99\n");
    const std::string file = folder.Path() + "\\AVATAR3.INI";
    const std::tuple<const char*, const char*, UINT> cases[] = {
        {"avatar", "COUNT", 42},  // first of the same name wins
        {"Avatar", "Prefix", 17}, {"Avatar", "Negative", UINT(-3)}, {"Avatar", "Word", 0},
        {"Avatar", "Hex", 0},     {"Avatar", "Empty", 7},           {"Avatar", "Noted", 7},
        {"Avatar", "Missing", 7}, {"Missing", "Count", 7}};
    for (const auto& [section, key, expected] : cases) {
        EXPECT_EQ(GetPrivateProfileIntA(section, key, 7, file.c_str()), expected) << key;
    }
    EXPECT_EQ(GetPrivateProfileIntA("Avatar", "Count", 7, (folder / "none.ini").c_str()), 7u);
}

TEST(TickCount, FollowsTheSourceAcrossTheWrap) {
    DWORD now = 0xFFFFFFF0u;
    kvplatform::SetTickSource([&now] { return now; });
    const DWORD start = GetTickCount();
    now += 0x20;
    EXPECT_EQ(GetTickCount() - start, 0x20u);
    kvplatform::SetTickSource(nullptr);
    const DWORD first = GetTickCount();
    EXPECT_LT(GetTickCount() - first, 0x80000000u);  // the real clock does not go back
}

TEST(Version, ReportsNtWithinTheCallersStructureSize) {
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex)));
    EXPECT_EQ(ex.dwPlatformId * 100 + ex.dwMajorVersion * 10 + ex.dwMinorVersion,
              VER_PLATFORM_WIN32_NT * 100u + 61u);
    struct {
        OSVERSIONINFOA info;
        char guard[8];
    } shortInfo;
    std::memset(&shortInfo, 0x5A, sizeof shortInfo);
    shortInfo.info.dwOSVersionInfoSize = sizeof shortInfo.info;
    kvplatform::SetPretendNonNt(true);
    ASSERT_TRUE(GetVersionExA(&shortInfo.info));
    kvplatform::SetPretendNonNt(false);
    EXPECT_EQ(shortInfo.info.dwPlatformId, DWORD{VER_PLATFORM_WIN32_WINDOWS});
    EXPECT_EQ(std::string(shortInfo.guard, 8), std::string(8, '\x5A'));
    shortInfo.info.dwOSVersionInfoSize = 152;  // neither structure
    EXPECT_FALSE(GetVersionExA(&shortInfo.info));
}

// The length without the terminator when the path fits, else the size needed with the
// terminator and the buffer untouched.
TEST(Directories, TempPathEndsInOneSeparatorAndCurrentDirectoryIsBare) {
    ScratchFolder folder;
    const std::string cwd = std::filesystem::current_path().string(), tmp = folder.Path() + "/";
    for (const auto& [env, get, expected] :
         {std::tuple(folder.Path(), &GetTempPathA, tmp), std::tuple(tmp, &GetTempPathA, tmp),
          std::tuple(tmp, &GetCurrentDirectoryA, cwd)}) {
        ScopedEnv scoped("TMPDIR", env);
        std::vector<char> buffer(expected.size() + 1, '#');
        EXPECT_EQ(get(0, nullptr), expected.size() + 1);
        EXPECT_EQ(get(DWORD(expected.size()), buffer.data()), expected.size() + 1);
        EXPECT_EQ(buffer[0], '#');
        EXPECT_EQ(get(DWORD(buffer.size()), buffer.data()), expected.size());
        EXPECT_EQ(std::string(buffer.data()), expected);
    }
}

}  // namespace
