// Animated avatars with a fresh home folder, a loopback avatar server, a
// message-only window, and the debugger output captured.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "animated/ani_avatar_load.h"
#include "animated/kv_ani_avatar.h"
#include "loopback_http/http_server.h"
#include "platform/testing.h"
#include "support/avatar_gif.h"

namespace anitest {

namespace fs = std::filesystem;

class Avatar : public CKvAniAvatar {
public:
    using CKvAniAvatar::CheckFolder;
    using CKvAniAvatar::CKvAniAvatar;
    using CKvAniAvatar::getAvatarFileName;
    using CKvAniAvatar::m_bAutoDraw;
    using CKvAniAvatar::m_bFirstDraw;
    using CKvAniAvatar::m_gifList;
    using CKvAniAvatar::m_hWnd;
    using CKvAniAvatar::m_nLastX;
    using CKvAniAvatar::m_nWidth;
    using CKvAniAvatar::m_szFileName;
};

constexpr LPARAM kNotify = 0x7A7A;

struct Message {
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message& other) const = default;
};

inline std::string AvatarGifText(int frames) {
    const kvtest::GifBytes bytes = kvtest::AvatarGif(frames);
    return std::string(bytes.begin(), bytes.end());
}

class AniAvatarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = fs::temp_directory_path() / ("kvavtr_ani_" + std::to_string(::getpid()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        const std::string registry = (m_home / "registry.ini").string();
        std::ofstream(registry) << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << m_home.string()
                                << "\nAvatarServer=" << m_server.HostPort() << "\n";
        kvplatform::SetRegistryFile(registry);
        kvplatform::SetDebugOutputSink([this](const char* text) {
            std::lock_guard lock(m_logMutex);
            m_log.emplace_back(text);
        });
        CKvAniAvatar::s_KVAvatarPath[0] = '\0';
        m_server.SetTrickleInterval(std::chrono::milliseconds(1));
        m_window =
            CreateWindowExA(0, "", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        EXPECT_TRUE(WaitForAvatarLoaders(30000));
        DestroyWindow(m_window);
        kvplatform::SetDebugOutputSink({});
        kvplatform::SetRegistryFile("");
        fs::remove_all(m_home);
    }

    fs::path CacheFile(const std::string& name) const { return m_home / "Avatar" / name; }
    std::vector<std::string> CacheFiles() const {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(m_home / "Avatar", error)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    void Serve(const std::string& name, const std::string& bytes,
               loopback::HttpFault fault = loopback::HttpFault::kNone) {
        m_server.SetFile("/IMG_AVTR/" + name, bytes);
        m_server.SetFault("/IMG_AVTR/" + name, fault);
    }
    // The queued 1060 messages, oldest first; NextMessage waits for one.
    std::vector<Message> TakeMessages() {
        std::vector<Message> messages;
        MSG msg;
        while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) {
            EXPECT_EQ(msg.message, 1060u);
            messages.push_back({msg.wParam, msg.lParam});
        }
        return messages;
    }
    Message NextMessage() {
        MSG msg{};
        EXPECT_EQ(GetMessageA(&msg, m_window, 0, 0), 1);
        EXPECT_EQ(msg.message, 1060u);
        return {msg.wParam, msg.lParam};
    }
    bool Logged(const std::string& line) {
        std::lock_guard lock(m_logMutex);
        return std::find(m_log.begin(), m_log.end(), line) != m_log.end();
    }

    fs::path m_home;
    loopback::HttpServer m_server;
    HWND m_window = nullptr;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

}  // namespace anitest
