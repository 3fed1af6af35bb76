#include "frame/dll_lifecycle.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/kv_aimage.h"
#include "legacy/anonymous_avatar.h"
#include "layered/avtr2004.h"
#include "layered/default_avatars.h"
#include "loopback_http/http_server.h"
#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"
#include "support/gif_builder.h"

namespace fs = std::filesystem;

namespace {

class DllLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_root / "home" / "Avatar");
        fs::current_path(m_root);
        WriteRegistry();
        kvplatform::SetDownloadTimeouts(1000, 1000);
    }
    void TearDown() override {
        kvplatform::SetDownloadTimeouts(0, 0);
        kvplatform::SetRegistryFile("");
        fs::current_path(m_oldCwd);
        fs::remove_all(m_root);
    }
    // Port 1 refuses at once.
    void WriteRegistry(const std::string& server = "127.0.0.1:1") {
        std::ofstream(m_root / "registry.ini")
            << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << (m_root / "home").string()
            << "\nPartServer=" << server << "\nAvatarServer=" << server << "\n";
        kvplatform::SetRegistryFile((m_root / "registry.ini").string());
    }

    const fs::path m_root = kvtest::MakeTempFolder();
    const fs::path m_oldCwd = fs::current_path();
};

TEST_F(DllLifecycleTest, StartsOnceAndShutDownFreesEverythingAndWipesTheCache) {
    EXPECT_EQ(InitAvatarDll(), 1);
    CAvtrDownloadThread* thread = CAvtrPartPool::m_pAvtrDnThread;
    EXPECT_NE(thread, nullptr);
    EXPECT_EQ(InitAvatarDll(), 0);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, thread);  // not replaced while running
    EXPECT_EQ(g_pAnonymousImage64, nullptr);
    g_pAnonymousImage64 = new CKvAImage;
    g_pAnonymousImage64->Create(4, 4);
    std::ofstream(m_root / "home" / "Avatar" / "AGHS_someone.GIF") << "x";
    std::ofstream(m_root / "home" / "Avatar" / "Avatar3.ini") << "[x]";
    DestroyAvatarDll();
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    for (CAvtr2004* avatar : s_pDefaultAvatar) {
        EXPECT_EQ(avatar, nullptr);
    }
    EXPECT_EQ(g_pAnonymousImage64, nullptr);  // freed: the leak checker would say otherwise
    EXPECT_FALSE(fs::exists(m_root / "home" / "Avatar" / "AGHS_someone.GIF"));
    EXPECT_TRUE(fs::exists(m_root / "home" / "Avatar" / "Avatar3.ini"));
    EXPECT_EQ(InitAvatarDll(), 1);
    DestroyAvatarDll();
}

TEST_F(DllLifecycleTest, DefaultImagesLoadFromTheHostsImageFolder) {
    kvtest::GifBuilder gif(100, 120);
    gif.GlobalTable({{255, 0, 0}, {0, 0, 255}})
        .Image(0, 0, 100, 120, kvtest::GifBytes(12000, 0), 2);
    fs::create_directories(m_root / "common" / "images");
    ASSERT_TRUE(gif.Trailer().WriteFile(
        (m_root / "common" / "images" / "AWFS_LCF001_HCF001_FNF001A_PNF001.gif").string()));
    ASSERT_EQ(InitAvatarDll(), 1);
    EXPECT_NE(CAvtrPartPool::Inst()->Get("AWFS_LCF001_HCF001_FNF001A_PNF001"), nullptr);
    EXPECT_EQ(CAvtrPartPool::Inst()->Get("ACFS_LCF001_HCF001_FNF001A_PNF001"), nullptr);
    DestroyAvatarDll();
}

TEST_F(DllLifecycleTest, ShutDownWithRequestsQueuedBehindAHangingServer) {
    loopback::HttpServer server;
    server.SetGlobalFault(loopback::HttpFault::kNeverAnswer);
    WriteRegistry(server.HostPort());
    ASSERT_EQ(InitAvatarDll(), 1);
    {
        CAvtr2004 avatar;
        char id[] = "lcm001_hcm001_fnm001a_pnm001_a1u001_a2u001";
        ASSERT_EQ(avatar.Create(id, 0, 1, 1, 0x00FFFFFF), 1);
        HDC dc = CreateCompatibleDC(nullptr);
        avatar.Draw(dc, 0, 0, 'M', false, 0);
        DeleteDC(dc);
    }
    // Shut down while the thread is inside a download that never ends.
    for (int i = 0; i < 500 && server.TotalRequestCount() == 0; ++i) {
        Sleep(10);
    }
    EXPECT_GT(server.TotalRequestCount(), 0);
    DestroyAvatarDll();
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);
    for (const auto& entry : fs::recursive_directory_iterator(m_root / "home" / "Avatar")) {
        EXPECT_FALSE(entry.is_regular_file()) << entry.path();  // nothing half-fetched is left
    }
}

}  // namespace
