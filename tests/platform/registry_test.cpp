#include <gtest/gtest.h>

#include <cstring>
#include <optional>

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

    HKEY OpenKorean() {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\veltrun.com\\korean", 0,
                                KEY_QUERY_VALUE, &key),
                  ERROR_SUCCESS);
        return key;
    }

    ScratchFolder folder;
};

TEST_F(Registry, ReadsAStringWithItsTerminator) {
    HKEY key = OpenKorean();
    char data[64];
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "HOME", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof "/home/player/portal");
    EXPECT_STREQ(data, "/home/player/portal");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, ValueLongerThanTheBufferWritesNothing) {
    HKEY key = OpenKorean();
    char data[8];
    std::memset(data, '#', sizeof data);
    DWORD size = 5;
    EXPECT_EQ(
        RegQueryValueExA(key, "PartServer", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof "127.0.0.1:8080");
    EXPECT_EQ(std::string(data, sizeof data), "########");
    // Exactly the needed size is enough.
    DWORD exact = sizeof "/home/player/portal";
    char fits[sizeof "/home/player/portal"];
    EXPECT_EQ(
        RegQueryValueExA(key, "Home", nullptr, nullptr, reinterpret_cast<BYTE*>(fits), &exact),
        ERROR_SUCCESS);
    EXPECT_STREQ(fits, "/home/player/portal");
    RegCloseKey(key);
}

TEST_F(Registry, MissingKeysAndValues) {
    HKEY key = OpenKorean();
    char data[64];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "AvatarServer", nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                               &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    HKEY missing = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Veltrun.Com\\JAPANESE", 0,
                            KEY_QUERY_VALUE, &missing),
              ERROR_FILE_NOT_FOUND);
    // A key above a section exists, and opens relative to an open key.
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
    HKEY other = nullptr;
    EXPECT_EQ(RegOpenKeyExA(software, "OTHER", 0, KEY_READ, &other), ERROR_SUCCESS);
    EXPECT_EQ(
        RegQueryValueExA(other, "Home", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size),
        ERROR_SUCCESS);
    EXPECT_STREQ(data, "elsewhere");
    RegCloseKey(other);
    RegCloseKey(software);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Soft", 0, KEY_READ, &other), ERROR_FILE_NOT_FOUND);

    kvplatform::SetRegistryFile(folder / "absent.ini");
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &other),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, TheFileIsReadWhenTheKeyIsOpened) {
    HKEY key = OpenKorean();
    folder.Write("registry.ini", "[Software\\Veltrun.Com\\KOREAN]\nHome=changed\n");
    char data[64];
    DWORD size = sizeof data;
    RegQueryValueExA(key, "Home", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    EXPECT_STREQ(data, "/home/player/portal");
    RegCloseKey(key);
    key = OpenKorean();
    size = sizeof data;
    RegQueryValueExA(key, "Home", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    EXPECT_STREQ(data, "changed");
    RegCloseKey(key);
}

// Sets (or with nullptr unsets) an environment variable for the scope, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = getenv(name)) {
            m_old = old;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(RegistryFile, EnvironmentNamesTheDefault) {
    ScratchFolder folder;
    folder.Write("kvavtr/registry.ini", "[A]\n");
    folder.Write("named.ini", "[B]\n");
    HKEY key = nullptr;
    ScopedEnv config("XDG_CONFIG_HOME", folder.Path().c_str());
    ScopedEnv noName("KVAVTR_REGISTRY", nullptr);
    {
        ScopedEnv named("KVAVTR_REGISTRY", (folder / "named.ini").c_str());
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "B", 0, KEY_READ, &key), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace
