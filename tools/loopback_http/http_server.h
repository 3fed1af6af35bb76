// A loopback HTTP/1.1 server inside the process, for the tests and the demo. It
// serves files from memory, counts the requests for each path, and misbehaves on
// demand for one path or for all of them. Every connection gets its own thread and
// is closed after one answer, unless keep-alive is on; Stop() (and the destructor)
// releases every connection at once.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace loopback {

enum class HttpFault {
    kNone,           // 200 with the file, or 404 when there is none
    kNotFound,       // 404 with a small HTML page
    kServerError,    // 500 with a small HTML page
    kHtmlErrorPage,  // 200 with an HTML error page in place of the file
    kCutShort,       // the full Content-Length, half the body, then the connection closes
    kNeverAnswer,    // reads the request and stays silent until the client leaves or Stop()
    kStallMidBody,   // headers and half the body, then silence as kNeverAnswer
    kTrickle,        // the whole body, one byte every trickle interval
};

class HttpServer {
public:
    // Listens on 127.0.0.1 at a port the system chooses; throws std::runtime_error
    // when the system refuses.
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Ends every connection and the listener; further calls do nothing.
    void Stop();

    int Port() const { return m_port; }
    // "127.0.0.1:port", the form the server host settings take.
    std::string HostPort() const;
    // "http://127.0.0.1:port" + path.
    std::string Url(const std::string& path) const;

    // Paths are matched without their query string.
    void SetFile(const std::string& path, std::string bytes);
    void SetFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // Answers the path with a 302 to location.
    void SetRedirect(const std::string& path, const std::string& location);
    // A path's own fault wins over the global one; kNone there restores normal service.
    void SetFault(const std::string& path, HttpFault fault);
    void SetGlobalFault(HttpFault fault);
    void SetTrickleInterval(std::chrono::milliseconds interval);
    // Plain answers (a file, or 404) leave the connection open for the next request.
    void SetKeepAlive(bool on);

    int RequestCount(const std::string& path) const;
    int TotalRequestCount() const;
    int ConnectionCount() const { return m_connectionCount; }

    // A loopback port with nothing listening on it, for refused connections.
    static int UnusedPort();

private:
    struct Connection {
        int fd;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    struct Answer {
        HttpFault fault = HttpFault::kNone;
        bool hasFile = false;
        std::string body;
        std::string redirect;
        std::chrono::milliseconds trickleInterval{0};
        bool keepAlive = false;
    };
    enum class Wake { kReadable, kTimeout, kStop };

    void AcceptLoop();
    void ReapFinishedConnections();
    void Serve(int fd);
    Answer Lookup(const std::string& path);
    void Respond(int fd, const Answer& answer);
    void Trickle(int fd, const std::string& body, std::chrono::milliseconds interval);
    // Discards what the client sends until it closes its side or Stop().
    void WaitForClientToLeave(int fd);
    Wake WaitFor(int fd, int timeoutMs) const;

    int m_listenFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    int m_port = 0;
    std::atomic<bool> m_stopped{false};
    std::atomic<int> m_connectionCount{0};
    std::thread m_acceptThread;
    // Touched by the accept thread only, and by Stop() once that thread has ended.
    std::list<std::unique_ptr<Connection>> m_connections;

    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_files;
    std::map<std::string, std::string> m_redirects;
    std::map<std::string, HttpFault> m_faults;
    std::map<std::string, int> m_requestCounts;
    HttpFault m_globalFault = HttpFault::kNone;
    std::chrono::milliseconds m_trickleInterval{50};
    bool m_keepAlive = false;
};

}  // namespace loopback
