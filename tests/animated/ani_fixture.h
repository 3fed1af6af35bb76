// Animated avatars with a fresh home folder, a loopback avatar server, a
// message-only window, and the debugger output captured.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "animated/kv_ani_avatar.h"
#include "support/http_server.h"

namespace anitest {

// Opens the protected members to the tests.
class Avatar : public CKvAniAvatar {
public:
    using CKvAniAvatar::CheckFolder;
    using CKvAniAvatar::CKvAniAvatar;
    using CKvAniAvatar::getAvatarFileName;
    using CKvAniAvatar::m_bAutoDraw;
    using CKvAniAvatar::m_bFirstDraw;
    using CKvAniAvatar::m_gifList;
    using CKvAniAvatar::m_hWnd;
    using CKvAniAvatar::m_nHeight;
    using CKvAniAvatar::m_nLastX;
    using CKvAniAvatar::m_nWidth;
    using CKvAniAvatar::m_szFileName;
    using CKvAniAvatar::makeAvatarURL;
};

struct Message {
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message& other) const = default;
};

class AniAvatarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path CacheFile(const std::string& name) const;
    // Names of the files in the cache folder.
    std::vector<std::string> CacheFiles() const;
    void Serve(const std::string& fileName, const std::string& bytes);
    // The 1060 messages queued for the window, oldest first (waits for none).
    std::vector<Message> TakeMessages();
    // Waits for the next 1060 message.
    Message NextMessage();
    // Whether the debugger output received this line.
    bool Logged(const std::string& line);
    // The cache path of a file as the library writes it.
    std::string WindowsPath(const std::string& name) const;

    std::filesystem::path m_home;
    std::filesystem::path m_registry;
    kvtest::HttpServer m_server;
    HWND m_window = nullptr;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

std::string AvatarGifText(int frames);

}  // namespace anitest
