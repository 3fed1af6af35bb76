// A pool and download thread whose home directory is a fresh temporary folder
// and whose two image servers are one loopback server of the test.
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
// Makes every allocation on the calling thread fail while set.
void FailAllocations(bool fail);

class PartsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Registry file holding Home and the given "name=value" lines.
    void WriteRegistry(const std::string& values);
    // The POSIX path of a part file below the cache root, e.g. ("lc", "lcm001.gif").
    std::string CachedFile(const std::string& folder, const std::string& fileName) const;
    static std::string ServerPath(bool com, const std::string& fileName);
    // Queues one more request and waits until it is done, and so everything queued
    // before it. The server requests made until then, that last one not counted.
    int RequestsOnceQueueDrained();
    // Every file below the temporary folder but the registry, sorted.
    std::vector<std::string> FilesUnderRoot() const;

    loopback::HttpServer m_server;
    std::string m_root;
    std::string m_home;
};

}  // namespace parts_test
