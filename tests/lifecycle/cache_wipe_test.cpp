#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "frame/avatar_cache_wipe.h"
#include "parts/download_temp_name.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace fs = std::filesystem;

namespace {

class CacheWipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_cache);
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

    const fs::path m_home = kvtest::MakeTempFolder();
    const fs::path m_cache = m_home / "Avatar";
    const fs::path m_registry = m_home / "registry.ini";
};

TEST_F(CacheWipeTest, DeletesAtMostOneHundredEntriesOfAnimatedAvatarFiles) {
    for (int i = 0; i < 150; ++i) {
        Touch(m_cache / ("AGHS_player" + std::to_string(i) + ".GIF"));
    }
    ClearAvatarCache();
    // "." and ".." count among the hundred entries.
    const auto left = std::distance(fs::directory_iterator(m_cache), fs::directory_iterator());
    EXPECT_EQ(left, 52);
}

TEST_F(CacheWipeTest, WipesAvatarPicturesAndDownloadsButLeavesLegacyArtAndForeignFiles) {
    const std::pair<const char*, bool> files[] = {
        // name, kept
        {"Avatar3.ini", true}, {"MRH.avt", true},       {"MRH0001.avt", true},
        {"notes.txt", true},   {"AX_x.GIF", true},      {"AWFS_x.BMP", true},
        {"BB_x.GIF", true},    {"AWFA_abc.GIF", false}, {"ACHS_abc.gif", false},
        {"AGFS_x.GIF", false}, {"BB_abc.BMP", false},   {"BS_abc.bmp", false}};
    for (const auto& [name, kept] : files) {
        Touch(m_cache / name);
    }
    const std::string temporary = MakeDownloadTemporaryPath((m_cache / "lcm001.gif").string());
    Touch(temporary);
    ClearAvatarCache();
    for (const auto& [name, kept] : files) {
        EXPECT_EQ(fs::exists(m_cache / name), kept) << name;
    }
    EXPECT_FALSE(fs::exists(temporary));
}

// Two passes, each emptying and removing the first sub-folder named 0, 1, ... f, 10, ... 19.
TEST_F(CacheWipeTest, TwoPassesRemoveTheFirstNumberedSubFolders) {
    for (const char* folder : {"3", "1", "a"}) {
        Touch(m_cache / folder / "f");
    }
    ClearAvatarCache();
    EXPECT_FALSE(fs::exists(m_cache / "1"));
    EXPECT_FALSE(fs::exists(m_cache / "3"));
    EXPECT_TRUE(fs::exists(m_cache / "a" / "f"));
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
