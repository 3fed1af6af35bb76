#include "animated/ani_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "animated/ani_avatar_load.h"
#include "platform/testing.h"
#include "support/avatar_gif.h"

namespace anitest {

namespace fs = std::filesystem;

std::string AvatarGifText(int frames) {
    const kvtest::GifBytes bytes = kvtest::AvatarGif(frames);
    return std::string(bytes.begin(), bytes.end());
}

void AniAvatarTest::SetUp() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_home = fs::temp_directory_path() / ("kvavtr_ani_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(m_home);
    fs::create_directories(m_home);
    m_registry = m_home.string() + ".ini";
    std::ofstream(m_registry) << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << m_home.string()
                              << "\nAvatarServer=" << m_server.HostPort() << "\n";
    kvplatform::SetRegistryFile(m_registry.string());
    kvplatform::SetDebugOutputSink([this](const char* text) {
        std::lock_guard lock(m_logMutex);
        m_log.emplace_back(text);
    });
    CKvAniAvatar::s_KVAvatarPath[0] = '\0';
    m_window = CreateWindowExA(0, "", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

void AniAvatarTest::TearDown() {
    EXPECT_TRUE(WaitForAvatarLoaders(30000));
    DestroyWindow(m_window);
    kvplatform::SetDebugOutputSink({});
    kvplatform::SetRegistryFile("");
    fs::remove_all(m_home);
    fs::remove(m_registry);
}

fs::path AniAvatarTest::CacheFile(const std::string& name) const {
    return m_home / "Avatar" / name;
}

std::vector<std::string> AniAvatarTest::CacheFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(m_home / "Avatar", error)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

void AniAvatarTest::Serve(const std::string& fileName, const std::string& bytes) {
    m_server.SetFile("/IMG_AVTR/" + fileName, bytes);
}

std::vector<Message> AniAvatarTest::TakeMessages() {
    std::vector<Message> messages;
    MSG msg;
    while (PeekMessageA(&msg, m_window, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.message, 1060u);
        messages.push_back({msg.wParam, msg.lParam});
    }
    return messages;
}

Message AniAvatarTest::NextMessage() {
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, m_window, 0, 0), 1);
    EXPECT_EQ(msg.message, 1060u);
    return {msg.wParam, msg.lParam};
}

bool AniAvatarTest::Logged(const std::string& line) {
    std::lock_guard lock(m_logMutex);
    return std::find(m_log.begin(), m_log.end(), line) != m_log.end();
}

std::string AniAvatarTest::WindowsPath(const std::string& name) const {
    return m_home.string() + "\\Avatar\\" + name;
}

}  // namespace anitest
