#include <gtest/gtest.h>

#include <cstring>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("registry.ini",
                     "; notes are skipped\n"
                     "[Software\\Veltrun.Com\\KOREAN]\r\n"
                     "  Home = /home/player/portal  \r\n"
                     "PartServer=127.0.0.1:8080\n"
                     "[Software\\Other]\n"
                     "Home=elsewhere\n");
        kvplatform::SetRegistryFile(folder / "registry.ini");
    }
    void TearDown() override { kvplatform::SetRegistryFile(""); }

    LONG Query(HKEY key, const char* name, char* data, DWORD* size, DWORD* type = nullptr) {
        return RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data), size);
    }

    ScratchFolder folder;
};

TEST_F(Registry, ReadsStringsWithTheirTerminatorAndWritesNothingWhenShort) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "software\\veltrun.com\\korean", 0, KEY_QUERY_VALUE, &key),
        ERROR_SUCCESS);
    folder.Write("registry.ini", "[Software\\Veltrun.Com\\KOREAN]\nHome=changed\n");
    char data[sizeof "/home/player/portal"];  // exactly enough
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    EXPECT_EQ(Query(key, "HOME", data, &size, &type), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof data);
    EXPECT_STREQ(data, "/home/player/portal");  // the file was read when the key was opened

    std::memset(data, '#', sizeof data);
    size = 5;
    EXPECT_EQ(Query(key, "PartServer", data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof "127.0.0.1:8080");
    EXPECT_EQ(data[0], '#');
    size = sizeof data;
    EXPECT_EQ(Query(key, "AvatarServer", data, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, KeysOpenAtSectionsOrAboveThemAndRelativeToOpenKeys) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Veltrun.Com\\JAPANESE", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Soft", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(software, "OTHER", 0, KEY_READ, &key), ERROR_SUCCESS);
    char data[16];
    DWORD size = sizeof data;
    EXPECT_EQ(Query(key, "Home", data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(data, "elsewhere");
    RegCloseKey(key);
    RegCloseKey(software);

    kvplatform::SetRegistryFile(folder / "absent.ini");
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, EnvironmentNamesTheDefaultFile) {
    kvplatform::SetRegistryFile("");
    folder.Write("kvavtr/registry.ini", "[A]\n");
    folder.Write("named.ini", "[B]\n");
    const char* oldConfig = getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    setenv("KVAVTR_REGISTRY", (folder / "named.ini").c_str(), 1);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "B", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    unsetenv("KVAVTR_REGISTRY");
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    if (oldConfig) {
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

TEST(PrivateProfile, ReadsLeadingDecimalIntegers) {
    ScratchFolder folder;
    folder.Write("Avatar3.ini",
                 "[Other]\nCount=1\n"
                 "[Avatar]\r\nCount = 42 \r\nPrefix=17px\nNegative=-3\nWord=abc\nHex=0x10\n"
                 "Empty=\n;Noted=5\ncount=99\n");
    const std::string file = folder.Path() + "\\AVATAR3.INI";
    const struct {
        const char* section;
        const char* key;
        UINT expected;
    } cases[] = {
        {"avatar", "COUNT", 42},  // first of the same name wins
        {"Avatar", "Prefix", 17}, {"Avatar", "Negative", static_cast<UINT>(-3)},
        {"Avatar", "Word", 0},    {"Avatar", "Hex", 0},
        {"Avatar", "Empty", 7},   {"Avatar", "Noted", 7},
        {"Avatar", "Missing", 7}, {"Missing", "Count", 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetPrivateProfileIntA(c.section, c.key, 7, file.c_str()), c.expected)
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(GetPrivateProfileIntA("Avatar", "Count", 7, (folder / "none.ini").c_str()), 7u);
}

}  // namespace
