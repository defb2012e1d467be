// A tiny HTTP server for the network tests: listens on 127.0.0.1 only, on a port of its own,
// answers each request with what the test's handler gives (optionally after a delay), keeps
// the requests it got, and stops with the object or after a minute at the latest.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testsupport {

// One request as the server received it.
struct cHttpRequest {
    std::string method;
    std::string target;  // path and query
    std::string headers; // the header lines as sent
    std::string body;
};

// The server's answer to one request: the raw response, sent after delayMs.
struct cCanned {
    std::string raw;
    int delayMs = 0;
};

class cLoopbackServer {
  public:
    using Handler = std::function<cCanned(const cHttpRequest&)>;

    // A complete response with a status, its text, a body and further header lines.
    static std::string Response(int status, const std::string& text, const std::string& body,
                                const std::string& extraHeaders = {})
    {
        return "HTTP/1.1 " + std::to_string(status) + " " + text + "\r\n" + extraHeaders +
               "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
               body;
    }

    // Starts listening; the handler runs on the server's thread.
    explicit cLoopbackServer(Handler handler) : handler_(std::move(handler))
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(fd_, 8) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            return;
        }
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }

    ~cLoopbackServer()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    cLoopbackServer(const cLoopbackServer&) = delete;
    cLoopbackServer& operator=(const cLoopbackServer&) = delete;

    // The port listened on; 0 when the server could not start.
    int port() const { return port_; }
    // The address of a path on this server ("/x" gives http://127.0.0.1:port/x).
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // The requests received so far.
    std::vector<cHttpRequest> requests() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

  private:
    static constexpr auto kLife = std::chrono::seconds(60);

    bool Wait(int fd, int ms) const
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    void Serve()
    {
        const auto end = std::chrono::steady_clock::now() + kLife;
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            if (!Wait(fd_, 50)) {
                continue;
            }
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c >= 0) {
                Answer(c);
                ::close(c);
            }
        }
    }

    // Reads one request (head and Content-Length body), with a bound on time and size.
    bool Read(int c, cHttpRequest& r) const
    {
        std::string in;
        char buf[4096];
        size_t headEnd = std::string::npos;
        size_t need = 0;
        for (int rounds = 0; rounds < 200 && !stop_ && in.size() < (1u << 24); ++rounds) {
            if (headEnd != std::string::npos && in.size() >= headEnd + 4 + need) {
                break;
            }
            if (!Wait(c, 50)) {
                continue;
            }
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) {
                return false;
            }
            in.append(buf, static_cast<size_t>(n));
            if (headEnd == std::string::npos && (headEnd = in.find("\r\n\r\n")) != in.npos) {
                const size_t cl = Lower(in.substr(0, headEnd)).find("content-length:");
                need = cl == std::string::npos ? 0 : std::stoul(in.substr(cl + 15));
            }
        }
        if (headEnd == std::string::npos) {
            return false;
        }
        const size_t sp1 = in.find(' ');
        const size_t sp2 = in.find(' ', sp1 + 1);
        const size_t eol = in.find("\r\n");
        r.method = in.substr(0, sp1);
        r.target = in.substr(sp1 + 1, sp2 - sp1 - 1);
        r.headers = in.substr(eol + 2, headEnd - eol);
        r.body = in.substr(headEnd + 4, need);
        return true;
    }

    static std::string Lower(std::string s)
    {
        for (char& ch : s) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        return s;
    }

    void Answer(int c)
    {
        cHttpRequest r;
        if (!Read(c, r)) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(r);
        }
        const cCanned answer = handler_(r);
        for (int waited = 0; waited < answer.delayMs && !stop_; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        size_t sent = 0;
        while (sent < answer.raw.size()) {
            const ssize_t n =
                ::send(c, answer.raw.data() + sent, answer.raw.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                break;
            }
            sent += static_cast<size_t>(n);
        }
        ::shutdown(c, SHUT_WR);
    }

    Handler handler_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<cHttpRequest> requests_;
};

} // namespace testsupport
