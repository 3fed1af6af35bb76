#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "loopback_http/http_server.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;
using loopback::HttpFault;
using loopback::HttpServer;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every byte value, many times over, so the body arrives in several pieces.
std::string BinaryBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    return body;
}

class UrlDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Short limits keep the stalling cases to about a second each.
        kvplatform::SetDownloadTimeouts(1000, 1000);
        m_folder = fs::temp_directory_path() /
                   ("kvavtr_net_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_target = m_folder / "part.gif";
    }
    void TearDown() override {
        kvplatform::SetDownloadTimeouts(0, 0);
        fs::remove_all(m_folder);
    }

    HRESULT Download(const std::string& url) { return DownloadTo(url, m_target); }
    static HRESULT DownloadTo(const std::string& url, const fs::path& target) {
        return URLDownloadToFileA(nullptr, url.c_str(), target.c_str(), 0, nullptr);
    }

    HttpServer m_server;
    fs::path m_folder;
    fs::path m_target;
};

TEST_F(UrlDownloadTest, WritesTheExactBody) {
    const std::string body = BinaryBody(200 * 1024);
    m_server.SetFile("/avgif/lc/lcm001.gif", body);
    EXPECT_EQ(Download(m_server.Url("/avgif/lc/lcm001.gif")), S_OK);
    EXPECT_EQ(ReadFile(m_target), body);
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
}

TEST_F(UrlDownloadTest, EmptyBodyReplacesAnExistingFile) {
    WriteFile(m_target, std::string(1000, 'o'));
    m_server.SetFile("/empty.gif", "");
    EXPECT_EQ(Download(m_server.Url("/empty.gif")), S_OK);
    ASSERT_TRUE(fs::exists(m_target));
    EXPECT_EQ(fs::file_size(m_target), 0u);
}

// At the HTTP layer an error page sent with 200 is a success; decoding rejects it later.
TEST_F(UrlDownloadTest, HtmlPageWithStatus200IsASuccess) {
    m_server.SetFile("/a.gif", "GIF89a");
    m_server.SetFault("/a.gif", HttpFault::kHtmlErrorPage);
    EXPECT_EQ(Download(m_server.Url("/a.gif")), S_OK);
    EXPECT_NE(ReadFile(m_target).find("<html>"), std::string::npos);
}

TEST_F(UrlDownloadTest, SlowTrickleFailsOnlyBelowTheStallLimit) {
    const std::string body = BinaryBody(30);
    m_server.SetFile("/slow.gif", body);
    m_server.SetFault("/slow.gif", HttpFault::kTrickle);
    m_server.SetTrickleInterval(std::chrono::milliseconds(20));
    EXPECT_EQ(Download(m_server.Url("/slow.gif")), S_OK);
    EXPECT_EQ(ReadFile(m_target), body);

    fs::remove(m_target);
    m_server.SetTrickleInterval(std::chrono::milliseconds(4000));
    EXPECT_EQ(Download(m_server.Url("/slow.gif")), INET_E_CONNECTION_TIMEOUT);
    EXPECT_FALSE(fs::exists(m_target));
}

struct FaultCase {
    const char* name;
    bool hasFile;
    HttpFault fault;
    HRESULT expected;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class UrlDownloadFaultTest : public UrlDownloadTest,
                             public ::testing::WithParamInterface<FaultCase> {};

TEST_P(UrlDownloadFaultTest, FailsAndLeavesNoFile) {
    const FaultCase& c = GetParam();
    if (c.hasFile) {
        m_server.SetFile("/a.gif", BinaryBody(4096));
    }
    m_server.SetFault("/a.gif", c.fault);
    EXPECT_EQ(Download(m_server.Url("/a.gif")), c.expected);
    EXPECT_FALSE(fs::exists(m_target));
    EXPECT_EQ(m_server.RequestCount("/a.gif"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UrlDownloadFaultTest,
    ::testing::Values(
        FaultCase{"MissingFile", false, HttpFault::kNone, INET_E_RESOURCE_NOT_FOUND},
        FaultCase{"NotFound", true, HttpFault::kNotFound, INET_E_RESOURCE_NOT_FOUND},
        FaultCase{"ServerError", true, HttpFault::kServerError, INET_E_DOWNLOAD_FAILURE},
        FaultCase{"CutShort", true, HttpFault::kCutShort, INET_E_DOWNLOAD_FAILURE},
        FaultCase{"NeverAnswers", true, HttpFault::kNeverAnswer, INET_E_CONNECTION_TIMEOUT},
        FaultCase{"StallsMidBody", true, HttpFault::kStallMidBody, INET_E_CONNECTION_TIMEOUT}),
    [](const auto& info) { return std::string(info.param.name); });

// An old file survives a failure before any body arrived, not one after.
TEST_F(UrlDownloadTest, OldFileIsDeletedOnlyOnceTheBodyStarted) {
    WriteFile(m_target, "old");
    EXPECT_EQ(Download(m_server.Url("/missing.gif")), INET_E_RESOURCE_NOT_FOUND);
    EXPECT_EQ(ReadFile(m_target), "old");
    m_server.SetFile("/a.gif", BinaryBody(4096));
    m_server.SetFault("/a.gif", HttpFault::kCutShort);
    EXPECT_EQ(Download(m_server.Url("/a.gif")), INET_E_DOWNLOAD_FAILURE);
    EXPECT_FALSE(fs::exists(m_target));
}

TEST_F(UrlDownloadTest, RefusedConnectionFails) {
    const std::string url = "http://127.0.0.1:" + std::to_string(HttpServer::UnusedPort()) + "/a";
    EXPECT_EQ(Download(url), INET_E_CANNOT_CONNECT);
    EXPECT_FALSE(fs::exists(m_target));
}

TEST_F(UrlDownloadTest, UnwritableTargetFails) {
    m_server.SetFile("/a.gif", "GIF89a");
    EXPECT_EQ(DownloadTo(m_server.Url("/a.gif"), m_folder / "missing" / "a.gif"), E_FAIL);
}

TEST_F(UrlDownloadTest, FollowsUpToFiveRedirects) {
    for (int i = 0; i < 6; ++i) {
        m_server.SetRedirect("/r" + std::to_string(i), "/r" + std::to_string(i + 1));
    }
    m_server.SetFile("/r6", "GIF89a");
    EXPECT_EQ(Download(m_server.Url("/r1")), S_OK);  // five hops
    EXPECT_EQ(ReadFile(m_target), "GIF89a");
    fs::remove(m_target);
    EXPECT_EQ(Download(m_server.Url("/r0")), INET_E_DOWNLOAD_FAILURE);
    EXPECT_EQ(m_server.RequestCount("/r6"), 1);
}

// Given directly or as a redirect.
TEST_F(UrlDownloadTest, RefusesUrlsThatAreNotPlainHttp) {
    m_server.SetFile("/a.gif", "GIF89a");
    const std::string port = std::to_string(m_server.Port());
    const std::vector<std::string> urls = {
        "",
        "file://" + m_target.string(),
        "ftp://127.0.0.1:" + port + "/a.gif",
        "http://127.0.0.1:" + port + "/a.gif\r\nX-Injected: 1",
        "http://127.0.0.1:" + port + "/a b.gif",
    };
    for (const std::string& url : urls) {
        EXPECT_EQ(Download(url), INET_E_INVALID_URL) << url;
        EXPECT_FALSE(fs::exists(m_target)) << url;
    }
    EXPECT_EQ(URLDownloadToFileA(nullptr, nullptr, m_target.c_str(), 0, nullptr),
              INET_E_INVALID_URL);
    EXPECT_EQ(m_server.TotalRequestCount(), 0);

    WriteFile(m_folder / "secret", "secret");
    m_server.SetRedirect("/r.gif", "file://" + (m_folder / "secret").string());
    EXPECT_TRUE(FAILED(Download(m_server.Url("/r.gif"))));
    EXPECT_FALSE(fs::exists(m_target));
}

TEST_F(UrlDownloadTest, ParallelDownloadsEachGetTheirOwnFile) {
    constexpr int kThreads = 4;
    std::vector<HRESULT> results(kThreads, E_FAIL);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        m_server.SetFile("/p" + std::to_string(i), BinaryBody(10000 + i));
        threads.emplace_back([&, i] {
            results[i] = DownloadTo(m_server.Url("/p" + std::to_string(i)),
                                    m_folder / ("p" + std::to_string(i)));
        });
    }
    for (int i = 0; i < kThreads; ++i) {
        threads[i].join();
        EXPECT_EQ(results[i], S_OK);
        EXPECT_EQ(ReadFile(m_folder / ("p" + std::to_string(i))), BinaryBody(10000 + i));
    }
}

// Stopping the server releases a client that it was keeping waiting.
TEST_F(UrlDownloadTest, ServerStopReleasesAWaitingClient) {
    kvplatform::SetDownloadTimeouts(0, 0);
    m_server.SetGlobalFault(HttpFault::kNeverAnswer);
    HRESULT result = S_OK;
    std::thread client([&] { result = Download(m_server.Url("/a.gif")); });
    for (int i = 0; i < 500 && m_server.RequestCount("/a.gif") == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_server.Stop();
    client.join();
    EXPECT_EQ(result, INET_E_DOWNLOAD_FAILURE);
    EXPECT_FALSE(fs::exists(m_target));
}

}  // namespace
