// URLDownloadToFileA against a loopback server: what each answer or fault gives,
// and what is left at the target, which holds "old" before each download.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "loopback_http/http_server.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "support/bmp_builder.h"

namespace {

namespace fs = std::filesystem;
using loopback::HttpFault;

std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::optional(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
}

// Every byte value, many times over, so the body arrives in several pieces.
std::string BinaryBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    return body;
}

HRESULT Download(const std::string& url, const fs::path& target) {
    return URLDownloadToFileA(nullptr, url.c_str(), target.c_str(), 0, nullptr);
}

class UrlDownloadTest : public ::testing::Test {
protected:
    void SetUp() override { kvplatform::SetDownloadTimeouts(1000, 1000); }
    void TearDown() override {
        kvplatform::SetDownloadTimeouts(0, 0);
        fs::remove_all(m_folder);
    }
    loopback::HttpServer m_server;
    const fs::path m_folder = kvtest::MakeTempFolder();
    const fs::path m_target = m_folder / "part.gif";
};

TEST_F(UrlDownloadTest, AnswersAndFaults) {
    const std::string body = BinaryBody(200 * 1024);
    const std::string small = BinaryBody(4096);
    const std::string port = std::to_string(m_server.Port());
    const struct {
        std::string path;  // on the server, or a whole URL
        HttpFault fault;
        HRESULT result;
        std::optional<std::string> left;  // at the target afterwards
    } cases[] = {
        {"/body", HttpFault::kNone, S_OK, body},
        {"/empty", HttpFault::kNone, S_OK, ""},
        // An error page sent with 200 is a success here; decoding rejects it later.
        {"/small", HttpFault::kHtmlErrorPage, S_OK, "<html>"},
        {"/trickle", HttpFault::kTrickle, S_OK, small.substr(0, 30)},
        // The old file survives a failure before a 2xx body began, not one after.
        {"/missing", HttpFault::kNone, INET_E_RESOURCE_NOT_FOUND, "old"},
        {"/small", HttpFault::kNotFound, INET_E_RESOURCE_NOT_FOUND, "old"},
        {"/small", HttpFault::kServerError, INET_E_DOWNLOAD_FAILURE, "old"},
        {"/small", HttpFault::kNeverAnswer, INET_E_CONNECTION_TIMEOUT, "old"},
        {"/small", HttpFault::kCutShort, INET_E_DOWNLOAD_FAILURE, std::nullopt},
        {"/small", HttpFault::kStallMidBody, INET_E_CONNECTION_TIMEOUT, std::nullopt},
        {"/r1", HttpFault::kNone, S_OK, "GIF89a"},                  // five redirects
        {"/r0", HttpFault::kNone, INET_E_DOWNLOAD_FAILURE, "old"},  // six
        {"/to-file", HttpFault::kNone, INET_E_DOWNLOAD_FAILURE, "old"},
        {"http://127.0.0.1:" + std::to_string(loopback::HttpServer::UnusedPort()) + "/a",
         HttpFault::kNone, INET_E_CANNOT_CONNECT, "old"},
        {"", HttpFault::kNone, INET_E_INVALID_URL, "old"},
        {"file://" + m_target.string(), HttpFault::kNone, INET_E_INVALID_URL, "old"},
        {"ftp://127.0.0.1:" + port + "/body", HttpFault::kNone, INET_E_INVALID_URL, "old"},
        {"http://127.0.0.1:" + port + "/body\r\nX-Injected: 1", HttpFault::kNone,
         INET_E_INVALID_URL, "old"},
        {"http://127.0.0.1:" + port + "/a b", HttpFault::kNone, INET_E_INVALID_URL, "old"},
    };
    m_server.SetFile("/body", body);
    m_server.SetFile("/empty", "");
    m_server.SetFile("/trickle", small.substr(0, 30));
    m_server.SetTrickleInterval(std::chrono::milliseconds(20));
    for (int i = 0; i < 6; ++i) {
        m_server.SetRedirect("/r" + std::to_string(i), "/r" + std::to_string(i + 1));
    }
    m_server.SetFile("/r6", "GIF89a");
    m_server.SetRedirect("/to-file", "file://" + (m_folder / "secret").string());
    for (const auto& c : cases) {
        std::ofstream(m_target) << "old";
        m_server.SetFile("/small", small);
        m_server.SetFault("/small", c.fault);
        const std::string url = c.path.rfind("/", 0) == 0 ? m_server.Url(c.path) : c.path;
        EXPECT_EQ(Download(url, m_target), c.result) << c.path << " " << int(c.fault);
        const std::optional<std::string> left = ReadFile(m_target);
        EXPECT_TRUE(left == c.left ||
                    (left && c.left == "<html>" && left->find("<html>") != std::string::npos))
            << c.path << " " << int(c.fault) << " left " << left.value_or("nothing");
    }
    EXPECT_EQ(URLDownloadToFileA(nullptr, nullptr, m_target.c_str(), 0, nullptr),
              INET_E_INVALID_URL);
    EXPECT_EQ(Download(m_server.Url("/body"), m_folder / "missing" / "a"), E_FAIL);
}

// Downloads in a row on one thread keep one connection open to a server that allows
// it; a missing file in between does not cost it.
TEST_F(UrlDownloadTest, ReusesTheConnectionToTheSameServer) {
    m_server.SetKeepAlive(true);
    m_server.SetFile("/a.gif", "first");
    m_server.SetFile("/b.gif", "second");
    EXPECT_EQ(Download(m_server.Url("/a.gif"), m_target), S_OK);
    EXPECT_EQ(Download(m_server.Url("/missing.gif"), m_target), INET_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(Download(m_server.Url("/b.gif"), m_target), S_OK);
    EXPECT_EQ(ReadFile(m_target), "second");
    EXPECT_EQ(m_server.ConnectionCount(), 1);
}

TEST_F(UrlDownloadTest, ParallelDownloadsEachGetTheirOwnFile) {
    std::vector<std::thread> threads;
    std::vector<HRESULT> results(4, E_FAIL);
    for (size_t i = 0; i < results.size(); ++i) {
        m_server.SetFile("/p" + std::to_string(i), BinaryBody(10000 + i));
        threads.emplace_back([&, i] {
            results[i] =
                Download(m_server.Url("/p" + std::to_string(i)), m_folder / std::to_string(i));
        });
    }
    for (size_t i = 0; i < results.size(); ++i) {
        threads[i].join();
        EXPECT_EQ(results[i], S_OK);
        EXPECT_EQ(ReadFile(m_folder / std::to_string(i)), BinaryBody(10000 + i));
    }
}

}  // namespace
