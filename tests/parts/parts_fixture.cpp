#include "parts_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "parts/avtr_part_pool.h"
#include "platform/testing.h"
#include "support/gif_builder.h"

namespace parts_test {

std::string MakePartGif(int width, int height, int frames, int delay) {
    kvtest::GifBuilder gif(width, height);
    gif.GlobalTable({{0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}});
    kvtest::GifBytes indices(static_cast<size_t>(width) * height);
    for (int frame = 0; frame < frames; ++frame) {
        // The left column keeps the key colour so that sprites have runs to skip.
        for (size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<uint8_t>(i % width == 0 ? 0 : 1 + frame % 3);
        }
        gif.GraphicControl(0, delay).Image(0, 0, width, height, indices, 2);
    }
    gif.Trailer();
    return std::string(gif.Data().begin(), gif.Data().end());
}

void PartsTest::SetUp() {
    char pattern[] = "/tmp/kvavtr_parts_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_root = pattern;
    m_home = m_root + "/home";
    std::filesystem::create_directories(m_home);
    WriteRegistry(m_home, m_server.HostPort());
    // Short enough that a silent server fails a fetch quickly.
    kvplatform::SetDownloadTimeouts(1000, 1000);
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    CAvtrPartPool::CreateDLThread();
}

void PartsTest::TearDown() {
    CAvtrPartPool::DestroyInstance();
    m_server.Stop();
    kvplatform::SetDownloadTimeouts(0, 0);
    kvplatform::SetRegistryFile("");
    std::filesystem::remove_all(m_root);
}

void PartsTest::WriteRegistry(const std::string& home, const std::string& server) {
    const std::string path = m_root + "/registry.ini";
    std::ofstream out(path, std::ios::trunc);
    out << "[Software\\Veltrun.Com\\KOREAN]\n";
    if (!home.empty()) {
        out << "Home=" << home << "\n";
    }
    if (!server.empty()) {
        out << "PartServer=" << server << "\nAvatarServer=" << server << "\n";
    }
    out.close();
    kvplatform::SetRegistryFile(path);
}

std::string PartsTest::CachedFile(const std::string& folder, const std::string& fileName) const {
    std::string posixFolder = folder;
    for (char& c : posixFolder) {
        c = c == '\\' ? '/' : c;
    }
    return m_home + "/Avatar/" + posixFolder + "/" + fileName;
}

void PartsTest::WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string PartsTest::ServerPath(bool com, const std::string& fileName) {
    return com ? "/IMG_AVTR/" + fileName : "/avgif/" + fileName.substr(0, 2) + "/" + fileName;
}

void PartsTest::ServePart(bool com, const std::string& fileName, const std::string& bytes) {
    m_server.SetFile(ServerPath(com, fileName), bytes);
}

std::vector<std::string> PartsTest::FilesUnderRoot() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root)) {
        if (!entry.is_directory() && entry.path().filename() != "registry.ini") {
            files.push_back(std::filesystem::relative(entry.path(), m_root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool PartsTest::WaitUntil(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace parts_test
