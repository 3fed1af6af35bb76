// Start-up, shut-down and the wipe of the cache folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "frame/avatar_cache_wipe.h"
#include "frame/dll_lifecycle.h"
#include "imaging/block_pool.h"
#include "imaging/kv_aimage.h"
#include "layered/avtr2004.h"
#include "layered/default_avatars.h"
#include "legacy/anonymous_avatar.h"
#include "parts/avtr_part_pool.h"
#include "parts/download_temp_name.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"
#include "support/gif_builder.h"

namespace fs = std::filesystem;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_cache);
        fs::current_path(m_root);
        // Port 1 refuses at once.
        std::ofstream(m_root / "registry.ini")
            << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << (m_root / "home").string()
            << "\nPartServer=127.0.0.1:1\nAvatarServer=127.0.0.1:1\n";
        kvplatform::SetRegistryFile((m_root / "registry.ini").string());
    }
    void TearDown() override {
        kvplatform::SetRegistryFile("");
        fs::current_path(m_oldCwd);
        fs::remove_all(m_root);
    }
    static void Touch(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }

    const fs::path m_root = kvtest::MakeTempFolder();
    const fs::path m_cache = m_root / "home" / "Avatar";
    const fs::path m_oldCwd = fs::current_path();
};

TEST_F(LifecycleTest, StartsOnceAndShutDownFreesEverythingAndWipesTheCache) {
    EXPECT_EQ(InitAvatarDll(), 1);
    CAvtrDownloadThread* thread = CAvtrPartPool::m_pAvtrDnThread;
    EXPECT_NE(thread, nullptr);
    EXPECT_EQ(InitAvatarDll(), 0);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, thread);  // not replaced while running
    EXPECT_EQ(g_pAnonymousImage64, nullptr);
    g_pAnonymousImage64 = new CKvAImage;
    g_pAnonymousImage64->Create(100, 100);  // a pooled store
    Touch(m_cache / "AGHS_someone.GIF");
    Touch(m_cache / "Avatar3.ini");
    DestroyAvatarDll();
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    for (CAvtr2004* avatar : s_pDefaultAvatar) {
        EXPECT_EQ(avatar, nullptr);
    }
    EXPECT_EQ(g_pAnonymousImage64, nullptr);  // freed: the leak checker would say otherwise
    EXPECT_EQ(kvimaging::IdleBlockBytes(), 0u);
    EXPECT_FALSE(fs::exists(m_cache / "AGHS_someone.GIF"));
    EXPECT_TRUE(fs::exists(m_cache / "Avatar3.ini"));
    EXPECT_EQ(InitAvatarDll(), 1);
    DestroyAvatarDll();
}

// A host may create the pool itself before starting the library; the default
// images still load at once from the host's image folder.
TEST_F(LifecycleTest, APoolMadeByTheHostStillGetsDefaultsAndTheThread) {
    kvtest::GifBuilder gif(100, 120);
    gif.GlobalTable({{255, 0, 0}, {0, 0, 255}})
        .Image(0, 0, 100, 120, kvtest::GifBytes(12000, 0), 2);
    fs::create_directories(m_root / "common" / "images");
    ASSERT_TRUE(gif.Trailer().WriteFile(
        (m_root / "common" / "images" / "AWFS_LCF001_HCF001_FNF001A_PNF001.gif").string()));
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(InitAvatarDll(), 0);
    EXPECT_NE(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    EXPECT_NE(CAvtrPartPool::Inst()->Get("AWFS_LCF001_HCF001_FNF001A_PNF001"), nullptr);
    EXPECT_EQ(CAvtrPartPool::Inst()->Get("ACFS_LCF001_HCF001_FNF001A_PNF001"), nullptr);
    DestroyAvatarDll();
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);
}

TEST_F(LifecycleTest, WipeDeletesAtMostOneHundredEntries) {
    for (int i = 0; i < 150; ++i) {
        Touch(m_cache / ("AGHS_player" + std::to_string(i) + ".GIF"));
    }
    ClearAvatarCache();
    // "." and ".." count among the hundred entries.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_cache), fs::directory_iterator()), 52);
}

TEST_F(LifecycleTest, WipeTakesAvatarPicturesAndDownloadsButLeavesLegacyArtAndForeignFiles) {
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

// Two passes, each emptying and removing the first sub-folder named 0, 1, ... f,
// 10, ... 19; a folder that cannot be removed is worked on twice.
TEST_F(LifecycleTest, WipeTakesTheFirstNumberedSubFoldersInTwoPasses) {
    for (const char* file : {"3/f", "1/f", "a/f", "b/inner/f", "b/g", "c/h"}) {
        Touch(m_cache / file);
    }
    ClearAvatarCache();
    EXPECT_FALSE(fs::exists(m_cache / "1"));
    EXPECT_FALSE(fs::exists(m_cache / "3"));
    EXPECT_TRUE(fs::exists(m_cache / "a" / "f"));
    fs::remove_all(m_cache / "a");
    ClearAvatarCache();
    EXPECT_TRUE(fs::exists(m_cache / "b" / "inner" / "f"));
    EXPECT_FALSE(fs::exists(m_cache / "b" / "g"));
    EXPECT_TRUE(fs::exists(m_cache / "c" / "h"));
}

TEST_F(LifecycleTest, WithoutPortalKeyTheTemporaryFolderIsWiped) {
    std::ofstream(m_root / "registry.ini") << "[Software\\Other]\n";
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous ? previous : "";
    setenv("TMPDIR", (m_root / "home").c_str(), 1);
    Touch(m_cache / "AWFA_x.GIF");
    ClearAvatarCache();
    previous ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    EXPECT_FALSE(fs::exists(m_cache / "AWFA_x.GIF"));
}

}  // namespace
