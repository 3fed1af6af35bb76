// A pool whose home directory is a fresh temporary folder and whose two image
// servers are one loopback server of the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "loopback_http/http_server.h"

namespace parts_test {

// A width x height GIF of `frames` frames, each with the given delay (1/100 s)
// and a different solid colour.
std::string MakePartGif(int width, int height, int frames, int delay);

class PartsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registry file holding Home and both server hosts ("" leaves one out).
    void WriteRegistry(const std::string& home, const std::string& server);

    // The POSIX path of a part file below the cache root, e.g. ("lc", "lcm001.gif").
    std::string CachedFile(const std::string& folder, const std::string& fileName) const;
    static void WriteFile(const std::string& path, const std::string& bytes);
    // Serves a part GIF where the download step looks for fileName.
    void ServePart(bool com, const std::string& fileName, const std::string& bytes);
    static std::string ServerPath(bool com, const std::string& fileName);

    // Every file (not folder) below the temporary folder, as relative paths.
    std::vector<std::string> FilesUnderRoot() const;

    // Polls until the condition holds; false after a generous limit.
    static bool WaitUntil(const std::function<bool()>& condition);

    std::string m_root;
    std::string m_home;
    loopback::HttpServer m_server;
};

}  // namespace parts_test
