#include "parts_fixture.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/testing.h"
#include "support/bmp_builder.h"
#include "support/gif_builder.h"

namespace fs = std::filesystem;

namespace parts_test {

std::string MakePartGif(int width, int height, int frames, int delay) {
    kvtest::GifBuilder gif(width, height);
    gif.GlobalTable({{0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}});
    kvtest::GifBytes indices(static_cast<size_t>(width) * height);
    for (int frame = 0; frame < frames; ++frame) {
        // A left column of the key colour gives sprites runs to skip.
        for (size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<uint8_t>(i % width == 0 ? 0 : 1 + frame % 3);
        }
        gif.GraphicControl(0, delay).Image(0, 0, width, height, indices, 2);
    }
    gif.Trailer();
    return std::string(gif.Data().begin(), gif.Data().end());
}

CAvtrId MakeId(const std::string& text, bool com) {
    CAvtrId id;
    id.Set(text, com);
    return id;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
         !condition() && std::chrono::steady_clock::now() < limit;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

void PartsTest::SetUp() {
    m_root = kvtest::MakeTempFolder();
    m_home = m_root + "/home";
    WriteRegistry("PartServer=" + m_server.HostPort() + "\nAvatarServer=" + m_server.HostPort());
    kvplatform::SetDownloadTimeouts(1000, 1000);  // a silent server fails a fetch quickly
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    CAvtrPartPool::CreateDLThread();
}

void PartsTest::TearDown() {
    CAvtrPartPool::DestroyInstance();
    m_server.Stop();
    kvplatform::SetDownloadTimeouts(0, 0);
    kvplatform::SetRegistryFile("");
    fs::remove_all(m_root);
}

void PartsTest::WriteRegistry(const std::string& values) {
    WriteFile(m_root + "/registry.ini",
              "[Software\\Veltrun.Com\\KOREAN]\nHome=" + m_home + "\n" + values);
    kvplatform::SetRegistryFile(m_root + "/registry.ini");
}

std::string PartsTest::CachedFile(const std::string& folder, const std::string& fileName) const {
    std::string path = m_home + "/Avatar/" + folder + "/" + fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string PartsTest::ServerPath(bool com, const std::string& fileName) {
    return com ? "/IMG_AVTR/" + fileName : "/avgif/" + fileName.substr(0, 2) + "/" + fileName;
}

int PartsTest::RequestsOnceQueueDrained() {
    ServeGif(false, "qqm999.gif");
    EXPECT_TRUE(CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "qqm999.gif"));
    EXPECT_TRUE(WaitUntil([] { return CAvtrPartPool::Inst()->Get("qqm999") != nullptr; }));
    return m_server.TotalRequestCount() - 1;
}

std::vector<std::string> PartsTest::FilesUnderRoot() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m_root)) {
        if (entry.is_regular_file() && entry.path().filename() != "registry.ini") {
            files.push_back(fs::relative(entry.path(), m_root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace parts_test
