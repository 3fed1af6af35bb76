#include "loopback_http/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace loopback {

namespace {

// A request head larger than this is not a request of ours.
constexpr size_t kMaxRequestHead = 16 * 1024;
// How long a finished answer waits for the client to close before closing itself.
constexpr int kLingerMs = 2000;
// Body of the faults that need one when the path has no file.
constexpr size_t kFillerSize = 64;

const char* const kNotFoundPage = "<html><body>404 Not Found</body></html>";
const char* const kServerErrorPage = "<html><body>500 Internal Server Error</body></html>";
const char* const kErrorPage = "<html><body><h1>Error</h1>The page is not here.</body></html>";

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket bound to 127.0.0.1:0; its port through portOut.
int BindEphemeral(int& portOut) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in address = LoopbackAddress(0);
    socklen_t length = sizeof(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        throw std::runtime_error("bind failed");
    }
    portOut = ntohs(address.sin_port);
    return fd;
}

bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool SendAll(int fd, const std::string& text) {
    return SendAll(fd, text.data(), text.size());
}

std::string Head(int status, const char* reason, const char* contentType, size_t contentLength,
                 const std::string& extraHeader = {}, bool keepAlive = false) {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason +
           "\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + std::to_string(contentLength) + "\r\n" + extraHeader +
           (keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n");
}

void SendPage(int fd, int status, const char* reason, const std::string& page,
              const std::string& extraHeader = {}, bool keepAlive = false) {
    SendAll(fd, Head(status, reason, "text/html", page.size(), extraHeader, keepAlive) + page);
}

// The path of "GET /path?query HTTP/1.1", or empty when the line is not a request.
std::string RequestPath(const std::string& head) {
    const size_t target = head.find(' ');
    if (target == std::string::npos) {
        return {};
    }
    const size_t end = head.find_first_of(" ?\r\n", target + 1);
    if (end == std::string::npos) {
        return {};
    }
    return head.substr(target + 1, end - target - 1);
}

}  // namespace

HttpServer::HttpServer() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    m_listenFd = BindEphemeral(m_port);
    if (listen(m_listenFd, SOMAXCONN) != 0) {
        close(m_listenFd);
        close(m_wakeRead);
        close(m_wakeWrite);
        throw std::runtime_error("listen failed");
    }
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer() {
    Stop();
}

void HttpServer::Stop() {
    if (m_stopped.exchange(true)) {
        return;
    }
    // The byte is never read, so every wait on the pipe wakes from now on.
    const char wake = 1;
    while (write(m_wakeWrite, &wake, 1) < 0 && errno == EINTR) {
    }
    m_acceptThread.join();
    for (auto& connection : m_connections) {
        connection->thread.join();
    }
    m_connections.clear();
    close(m_listenFd);
    close(m_wakeRead);
    close(m_wakeWrite);
}

std::string HttpServer::HostPort() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

std::string HttpServer::Url(const std::string& path) const {
    return "http://" + HostPort() + path;
}

void HttpServer::SetFile(const std::string& path, std::string bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_files[path] = std::move(bytes);
}

void HttpServer::SetFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    SetFile(path, std::string(bytes.begin(), bytes.end()));
}

void HttpServer::SetRedirect(const std::string& path, const std::string& location) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_redirects[path] = location;
}

void HttpServer::SetFault(const std::string& path, HttpFault fault) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults[path] = fault;
}

void HttpServer::SetGlobalFault(HttpFault fault) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_globalFault = fault;
}

void HttpServer::SetTrickleInterval(std::chrono::milliseconds interval) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_trickleInterval = interval;
}

void HttpServer::SetKeepAlive(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_keepAlive = on;
}

int HttpServer::RequestCount(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_requestCounts.find(path);
    return found == m_requestCounts.end() ? 0 : found->second;
}

int HttpServer::TotalRequestCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int total = 0;
    for (const auto& [path, count] : m_requestCounts) {
        total += count;
    }
    return total;
}

int HttpServer::UnusedPort() {
    int port = 0;
    close(BindEphemeral(port));
    return port;
}

HttpServer::Wake HttpServer::WaitFor(int fd, int timeoutMs) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
    int ready;
    do {
        ready = poll(fds, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0 || fds[1].revents != 0) {
        return Wake::kStop;
    }
    return ready == 0 ? Wake::kTimeout : Wake::kReadable;
}

void HttpServer::AcceptLoop() {
    while (WaitFor(m_listenFd, -1) == Wake::kReadable) {
        ReapFinishedConnections();
        const int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        ++m_connectionCount;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection* raw = connection.get();
        connection->thread = std::thread([this, raw] {
            Serve(raw->fd);
            close(raw->fd);
            raw->done = true;
        });
        m_connections.push_back(std::move(connection));
    }
}

void HttpServer::ReapFinishedConnections() {
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = m_connections.erase(it);
        } else {
            ++it;
        }
    }
}

void HttpServer::Serve(int fd) {
    std::string head;
    char buffer[4096];
    for (;;) {
        size_t headEnd;
        while ((headEnd = head.find("\r\n\r\n")) == std::string::npos) {
            if (head.size() > kMaxRequestHead || WaitFor(fd, -1) != Wake::kReadable) {
                return;
            }
            const ssize_t received = recv(fd, buffer, sizeof(buffer), 0);
            if (received <= 0) {
                return;
            }
            head.append(buffer, static_cast<size_t>(received));
        }
        const std::string path = RequestPath(head);
        if (path.empty()) {
            return;
        }
        const Answer answer = Lookup(path);
        Respond(fd, answer);
        if (!answer.keepAlive) {
            break;
        }
        head.erase(0, headEnd + 4);
    }
    shutdown(fd, SHUT_WR);
    // Closing only once the client has read everything keeps the answer from being reset.
    while (WaitFor(fd, kLingerMs) == Wake::kReadable && recv(fd, buffer, sizeof(buffer), 0) > 0) {
    }
}

HttpServer::Answer HttpServer::Lookup(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_requestCounts[path];
    Answer answer;
    const auto fault = m_faults.find(path);
    answer.fault = fault == m_faults.end() ? m_globalFault : fault->second;
    const auto file = m_files.find(path);
    answer.hasFile = file != m_files.end();
    answer.body = answer.hasFile ? file->second : std::string(kFillerSize, 'x');
    const auto redirect = m_redirects.find(path);
    if (redirect != m_redirects.end()) {
        answer.redirect = redirect->second;
    }
    answer.trickleInterval = m_trickleInterval;
    answer.keepAlive = m_keepAlive && answer.fault == HttpFault::kNone && answer.redirect.empty();
    return answer;
}

void HttpServer::Respond(int fd, const Answer& answer) {
    const std::string& body = answer.body;
    switch (answer.fault) {
        case HttpFault::kNone:
            if (!answer.redirect.empty()) {
                SendPage(fd, 302, "Found", "", "Location: " + answer.redirect + "\r\n");
            } else if (!answer.hasFile) {
                SendPage(fd, 404, "Not Found", kNotFoundPage, {}, answer.keepAlive);
            } else {
                SendAll(fd, Head(200, "OK", "application/octet-stream", body.size(), {},
                                 answer.keepAlive) +
                                body);
            }
            return;
        case HttpFault::kNotFound:
            SendPage(fd, 404, "Not Found", kNotFoundPage);
            return;
        case HttpFault::kServerError:
            SendPage(fd, 500, "Internal Server Error", kServerErrorPage);
            return;
        case HttpFault::kHtmlErrorPage:
            SendPage(fd, 200, "OK", kErrorPage);
            return;
        case HttpFault::kCutShort:
            SendAll(fd, Head(200, "OK", "application/octet-stream", body.size()) +
                            body.substr(0, body.size() / 2));
            return;
        case HttpFault::kNeverAnswer:
            WaitForClientToLeave(fd);
            return;
        case HttpFault::kStallMidBody:
            if (SendAll(fd, Head(200, "OK", "application/octet-stream", body.size()) +
                                body.substr(0, body.size() / 2))) {
                WaitForClientToLeave(fd);
            }
            return;
        case HttpFault::kTrickle:
            Trickle(fd, body, answer.trickleInterval);
            return;
    }
}

void HttpServer::Trickle(int fd, const std::string& body, std::chrono::milliseconds interval) {
    if (!SendAll(fd, Head(200, "OK", "application/octet-stream", body.size()))) {
        return;
    }
    for (const char byte : body) {
        if (!SendAll(fd, &byte, 1) ||
            WaitFor(fd, static_cast<int>(interval.count())) != Wake::kTimeout) {
            return;
        }
    }
}

void HttpServer::WaitForClientToLeave(int fd) {
    char buffer[1024];
    while (WaitFor(fd, -1) == Wake::kReadable && recv(fd, buffer, sizeof(buffer), 0) > 0) {
    }
}

}  // namespace loopback
