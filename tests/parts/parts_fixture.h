// A pool and download thread with a fresh temporary home directory, both image
// servers being one loopback server of the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "avatar_id/avtr_id.h"
#include "loopback_http/http_server.h"
#include "parts/avtr_download_thread.h"
#include "parts/avtr_part_pool.h"

namespace parts_test {

// A width x height GIF of `frames` frames, each with the given delay (1/100 s).
std::string MakePartGif(int width, int height, int frames, int delay);
CAvtrId MakeId(const std::string& text, bool com);
void WriteFile(const std::string& path, const std::string& bytes);
bool WaitUntil(const std::function<bool()>& condition);  // false after a generous limit
void FailAllocations(bool fail);  // every allocation on the calling thread fails while set

class PartsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void WriteRegistry(const std::string& values);  // Home and these "name=value" lines
    // The POSIX path of a part file below the cache root, e.g. ("lc", "lcm001.gif").
    std::string CachedFile(const std::string& folder, const std::string& fileName) const;
    static std::string ServerPath(bool com, const std::string& fileName);
    void ServeGif(bool com, const std::string& fileName, const std::string& bytes = "") {
        m_server.SetFile(ServerPath(com, fileName),
                         bytes.empty() ? MakePartGif(3, 3, 1, 0) : bytes);
    }
    static CAvtrPartPool* Pool() { return CAvtrPartPool::Inst(); }
    static void Load(const std::string& text, bool com, bool async) {
        CAvtrId id = MakeId(text, com);
        CAvtrPartPool::Inst()->RequestLoad(id, async);
    }
    // Queues one more request and waits for it, and so for everything queued before:
    // the server requests made until then, that last one not counted.
    int RequestsOnceQueueDrained();
    std::vector<std::string> FilesUnderRoot() const;  // sorted, but the registry

    loopback::HttpServer m_server;
    std::string m_root;
    std::string m_home;
};

}  // namespace parts_test
