#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/http_server.h"

namespace {

using kvtest::HttpFault;
using kvtest::HttpServer;

constexpr DWORD kFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;

class WinInetTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_session = InternetOpenA("VeltrunAvatar", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        ASSERT_NE(m_session, nullptr);
        DWORD receiveMs = 400;
        ASSERT_TRUE(InternetSetOptionA(m_session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receiveMs,
                                       sizeof receiveMs));
    }
    void TearDown() override { EXPECT_TRUE(InternetCloseHandle(m_session)); }

    HINTERNET Open(const std::string& path) {
        return InternetOpenUrlA(m_session, m_server.Url(path).c_str(), nullptr, 0, kFlags, 0);
    }
    static DWORD Status(HINTERNET request) {
        DWORD status = 0;
        DWORD size = sizeof status;
        EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                   &status, &size, nullptr));
        EXPECT_EQ(size, 4u);
        return status;
    }
    // Reads in 1024-byte blocks as the avatar download does; false on a failed read.
    // Every read but the last fills the buffer, as WinINet's do.
    static bool ReadAll(HINTERNET request, std::string& body, DWORD& error) {
        char block[1024];
        DWORD read = 0;
        bool shortRead = false;
        while (InternetReadFile(request, block, sizeof block, &read)) {
            if (read == 0) {
                return true;
            }
            EXPECT_FALSE(shortRead);
            shortRead = read < sizeof block;
            body.append(block, read);
        }
        error = GetLastError();
        return false;
    }

    HttpServer m_server;
    HINTERNET m_session = nullptr;
};

TEST_F(WinInetTest, StatusQueryAnswersAsText) {
    m_server.SetFault("/missing", HttpFault::kNotFound);
    HINTERNET request = Open("/missing");
    ASSERT_NE(request, nullptr);
    char text[8];
    DWORD size = 3;  // "404" needs its terminator too
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, text, &size, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, 4u);
    EXPECT_TRUE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE, text, &size, nullptr));
    EXPECT_EQ(size, 3u);
    EXPECT_STREQ(text, "404");
    DWORD number = 0;
    DWORD small = 2;
    EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number,
                                &small, nullptr));
    EXPECT_EQ(small, 4u);
    EXPECT_FALSE(HttpQueryInfoA(m_session, HTTP_QUERY_STATUS_CODE, text, &size, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_FALSE(InternetReadFile(request, text, sizeof text, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

struct FaultCase {
    HttpFault fault;
    DWORD status;     // 0: InternetOpenUrlA fails with openError
    DWORD openError;  // when status is 0
    bool bodyComplete;
    DWORD readError;  // when the body is not complete
};

TEST_F(WinInetTest, ServerFaults) {
    std::string file(300 * 1024 + 17, '\0');
    for (size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<char>(i * 31 + i / 977);
    }
    const FaultCase cases[] = {
        {HttpFault::kNone, 200, 0, true, 0},
        {HttpFault::kNotFound, 404, 0, true, 0},
        {HttpFault::kServerError, 500, 0, true, 0},
        {HttpFault::kHtmlErrorPage, 200, 0, true, 0},
        {HttpFault::kCutShort, 200, 0, false, ERROR_INTERNET_CONNECTION_ABORTED},
        {HttpFault::kStallMidBody, 200, 0, false, ERROR_INTERNET_TIMEOUT},
        {HttpFault::kNeverAnswer, 0, ERROR_INTERNET_TIMEOUT, false, 0},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        m_server.SetFile("/f.gif", file);
        m_server.SetFault("/f.gif", c.fault);
        HINTERNET request = Open("/f.gif");
        if (c.status == 0) {
            EXPECT_EQ(request, nullptr);
            EXPECT_EQ(GetLastError(), c.openError);
            continue;
        }
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(Status(request), c.status);
        std::string body;
        DWORD error = 0;
        EXPECT_EQ(ReadAll(request, body, error), c.bodyComplete);
        EXPECT_EQ(error, c.readError);
        if (c.fault == HttpFault::kNone) {
            EXPECT_EQ(body, file);
        }
        EXPECT_TRUE(InternetCloseHandle(request));
    }
}

TEST_F(WinInetTest, TrickleWithinTheReceiveTimeOutCompletes) {
    m_server.SetFile("/t.gif", "GIF89a-trickle");
    m_server.SetFault("/t.gif", HttpFault::kTrickle);
    m_server.SetTrickleInterval(std::chrono::milliseconds(20));
    HINTERNET request = Open("/t.gif");
    ASSERT_NE(request, nullptr);
    std::string body;
    DWORD error = 0;
    EXPECT_TRUE(ReadAll(request, body, error));
    EXPECT_EQ(body, "GIF89a-trickle");
    EXPECT_TRUE(InternetCloseHandle(request));
}

TEST_F(WinInetTest, RefusedConnectionAndBadArguments) {
    const std::string url = "http://127.0.0.1:" + std::to_string(HttpServer::UnusedPort()) + "/x";
    EXPECT_EQ(InternetOpenUrlA(m_session, url.c_str(), nullptr, 0, kFlags, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
    DWORD value = 1;
    EXPECT_FALSE(InternetSetOptionA(m_session, 99, &value, sizeof value));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_OPTION));
    EXPECT_FALSE(InternetSetOptionA(m_session, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, 2));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_BAD_OPTION_LENGTH));
    EXPECT_EQ(InternetOpenA("a", 3, nullptr, nullptr, 0), nullptr);
}

}  // namespace
