#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "frame/avatar_cache_wipe.h"
#include "parts/download_temp_name.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

namespace {

class CacheWipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home =
            fs::temp_directory_path() /
            ("kvavtr-wipe-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_home);
        m_cache = m_home / "Avatar";
        fs::create_directories(m_cache);
        m_registry = m_home / "registry.ini";
        std::ofstream(m_registry) << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << m_home.string()
                                  << "\n";
        kvplatform::SetRegistryFile(m_registry.string());
    }
    void TearDown() override {
        kvplatform::SetRegistryFile("");
        fs::remove_all(m_home);
    }

    static void Touch(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    static int CountFiles(const fs::path& folder) {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
            n += entry.is_regular_file() ? 1 : 0;
        }
        return n;
    }

    fs::path m_home;
    fs::path m_cache;
    fs::path m_registry;
};

TEST_F(CacheWipeTest, DeletesAtMostOneHundredEntriesOfAnimatedAvatarFiles) {
    for (int i = 0; i < 150; ++i) {
        Touch(m_cache / ("AGHS_player" + std::to_string(i) + ".GIF"));
    }
    ClearAvatarCache();
    // "." and ".." count among the hundred entries.
    EXPECT_EQ(CountFiles(m_cache), 52);
}

TEST_F(CacheWipeTest, LeavesLegacyArtAndForeignFilesAlone) {
    const char* kept[] = {"Avatar3.ini", "MRH.avt",    "MRH0001.avt", "notes.txt",
                          "AX_x.GIF",    "AWFS_x.BMP", "BB_x.GIF"};
    for (const char* name : kept) {
        Touch(m_cache / name);
    }
    const char* wiped[] = {"AWFA_abc.GIF", "ACHS_abc.gif", "AGFS_x.GIF", "BB_abc.BMP",
                           "BS_abc.bmp"};
    for (const char* name : wiped) {
        Touch(m_cache / name);
    }
    const std::string temporary = MakeDownloadTemporaryPath((m_cache / "lcm001.gif").string());
    Touch(temporary);
    ClearAvatarCache();
    for (const char* name : kept) {
        EXPECT_TRUE(fs::exists(m_cache / name)) << name;
    }
    for (const char* name : wiped) {
        EXPECT_FALSE(fs::exists(m_cache / name)) << name;
    }
    EXPECT_FALSE(fs::exists(temporary));
}

TEST_F(CacheWipeTest, NumberedSubFolderGoesOnlyWhenNoEarlierOneExists) {
    for (int i = 0; i < 20; ++i) {
        Touch(m_cache / "3" / ("f" + std::to_string(i)));
        Touch(m_cache / "1" / ("f" + std::to_string(i)));
        Touch(m_cache / "a" / ("f" + std::to_string(i)));
    }
    ClearAvatarCache();
    EXPECT_FALSE(fs::exists(m_cache / "1"));
    EXPECT_FALSE(fs::exists(m_cache / "3"));
    EXPECT_TRUE(fs::exists(m_cache / "a"));
    EXPECT_EQ(CountFiles(m_cache / "a"), 20);
}

TEST_F(CacheWipeTest, FolderThatCannotBeRemovedIsWorkedOnTwice) {
    Touch(m_cache / "0" / "inner" / "f");
    Touch(m_cache / "0" / "g");
    Touch(m_cache / "5" / "h");
    ClearAvatarCache();
    EXPECT_TRUE(fs::exists(m_cache / "0" / "inner" / "f"));
    EXPECT_FALSE(fs::exists(m_cache / "0" / "g"));
    EXPECT_TRUE(fs::exists(m_cache / "5" / "h"));
}

TEST_F(CacheWipeTest, WithoutPortalKeyTheTemporaryFolderIsWiped) {
    std::ofstream(m_registry) << "[Software\\Other]\nHome=/nowhere\n";
    kvplatform::SetRegistryFile(m_registry.string());
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    setenv("TMPDIR", m_home.string().c_str(), 1);
    Touch(m_cache / "AWFA_x.GIF");
    ClearAvatarCache();
    if (previous) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    EXPECT_FALSE(fs::exists(m_cache / "AWFA_x.GIF"));
}

TEST_F(CacheWipeTest, DeleteFolderFilesReportsUnlistableFolder) {
    EXPECT_EQ(DeleteFolderFiles((m_home / "missing").string().c_str()), 0);
    Touch(m_home / "plain" / "one");
    fs::create_directories(m_home / "plain" / "sub");
    EXPECT_EQ(DeleteFolderFiles((m_home / "plain").string().c_str()), 1);
    EXPECT_FALSE(fs::exists(m_home / "plain" / "one"));
    EXPECT_TRUE(fs::exists(m_home / "plain" / "sub"));
}

}  // namespace
