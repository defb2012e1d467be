// A tiny FTP server for the network tests: listens on 127.0.0.1 only, answers the commands of
// a small in-memory tree (extended passive data connections on 127.0.0.1 too), logs every
// command it got, and stops with the object or after a minute at the latest. A file may be
// given a size of its own to report, a file may stall its download, and a folder's listing
// may be fed slowly or without end.
#pragma once

#include <atomic>
#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <set>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testsupport {

class cLoopbackFtp {
  public:
    // The password the server accepts (any user); the login folder is /home.
    static constexpr const char* kPassword = "secret";

    // Starts listening with the files (path and size) and folders given.
    cLoopbackFtp(std::map<std::string, std::string> files, std::set<std::string> folders)
        : files_(std::move(files)), folders_(std::move(folders))
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            return;
        }
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~cLoopbackFtp()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (data_ >= 0) {
            ::close(data_);
        }
    }
    cLoopbackFtp(const cLoopbackFtp&) = delete;
    cLoopbackFtp& operator=(const cLoopbackFtp&) = delete;

    // The port listened on; 0 when the server could not start.
    int port() const { return port_; }
    // The commands received so far, passwords included.
    std::vector<std::string> log() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return log_;
    }
    // True when the tree holds the file.
    bool hasFile(const std::string& path) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return files_.count(path) != 0;
    }
    // The content of a file; "" when missing.
    std::string content(const std::string& path) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = files_.find(path);
        return it == files_.end() ? std::string() : it->second;
    }
    // Reports that size for the file, whatever it holds.
    void declareSize(const std::string& path, long long size)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        declared_[path] = size;
    }
    // Sends the first bytes of the file's download, then nothing for that many milliseconds,
    // then the rest.
    void stallDownload(const std::string& path, int ms)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stalled_ = path;
        stallMs_ = ms;
    }
    // Sends that many bytes of entry lines as the listing of the folder, chunk bytes at a time
    // with a pause of pauseMs after each; stops early when the client goes away.
    void feedListing(const std::string& folder, size_t bytes, size_t chunk, int pauseMs)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        fed_ = folder;
        fedBytes_ = bytes;
        fedChunk_ = std::max<size_t>(1, chunk);
        fedPauseMs_ = pauseMs;
    }
    // True when the tree holds the folder.
    bool hasFolder(const std::string& path) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return folders_.count(path) != 0;
    }

  private:
    bool Wait(int fd, int ms) const
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }
    void Send(int c, const std::string& line) const
    {
        const std::string out = line + "\r\n";
        (void)::send(c, out.data(), out.size(), MSG_NOSIGNAL);
    }
    void Serve()
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            if (!Wait(fd_, 50)) {
                continue;
            }
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c >= 0) {
                Session(c, end);
                ::close(c);
            }
        }
    }
    void Session(int c, std::chrono::steady_clock::time_point end)
    {
        Send(c, "220 loopback ftp");
        std::string in;
        char buf[1024];
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            size_t eol;
            while ((eol = in.find("\r\n")) != std::string::npos) {
                const std::string line = in.substr(0, eol);
                in.erase(0, eol + 2);
                if (!Reply(c, line)) {
                    return;
                }
            }
            if (!Wait(c, 50)) {
                continue;
            }
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0) {
                return;
            }
            in.append(buf, static_cast<size_t>(n));
        }
    }
    // Answers one command; false ends the session.
    bool Reply(int c, const std::string& line)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(line);
        const size_t sp = line.find(' ');
        const std::string cmd = line.substr(0, sp);
        const std::string arg = sp == std::string::npos ? "" : line.substr(sp + 1);
        if (cmd == "USER") {
            Send(c, "331 password please");
        } else if (cmd == "PASS") {
            Send(c, arg == kPassword ? "230 welcome" : "530 login incorrect");
        } else if (cmd == "PWD") {
            Send(c, "257 \"/home\" is the folder");
        } else if (cmd == "TYPE" || cmd == "NOOP") {
            Send(c, "200 ok");
        } else if (cmd == "REST") {
            Send(c, "350 restarting");
        } else if (cmd == "SIZE" && declared_.count(arg) != 0) {
            Send(c, "213 " + std::to_string(declared_[arg]));
        } else if (cmd == "SIZE") {
            Send(c,
                 files_.count(arg) ? "213 " + std::to_string(files_[arg].size()) : "550 no file");
        } else if (cmd == "CWD") {
            Send(c, folders_.count(arg) ? "250 ok" : "550 no folder");
        } else if (cmd == "MKD") {
            Send(c, folders_.insert(arg).second ? "257 made" : "550 exists");
        } else if (cmd == "DELE") {
            Send(c, files_.erase(arg) ? "250 deleted" : "550 no file");
        } else if (cmd == "RNFR") {
            from_ = arg;
            Send(c, files_.count(arg) ? "350 ready" : "550 no file");
        } else if (cmd == "RNTO") {
            files_[arg] = files_[from_];
            files_.erase(from_);
            Send(c, "250 renamed");
        } else if (cmd == "MDTM") {
            Send(c, files_.count(arg) ? "213 20260102030405" : "550 no file");
        } else if (cmd == "EPSV") {
            Send(c, "229 Entering Extended Passive Mode (|||" + std::to_string(Listen()) + "|)");
        } else if (cmd == "RETR" || cmd == "LIST" || cmd == "STOR") {
            Transfer(c, cmd, arg);
        } else if (cmd == "QUIT") {
            Send(c, "221 bye");
            return false;
        } else {
            Send(c, "502 not here");
        }
        return true;
    }

    // Opens the data listener; its port.
    int Listen()
    {
        if (data_ >= 0) {
            ::close(data_);
        }
        data_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(data_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(data_, 1);
        ::getsockname(data_, reinterpret_cast<sockaddr*>(&a), &len);
        return ntohs(a.sin_port);
    }
    // The listing of a folder, one line per entry in the usual Unix form.
    std::string Listing(std::string folder) const
    {
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        const std::string prefix = folder == "/" ? "/" : folder + "/";
        std::string out;
        auto add = [&](const std::string& path, bool dir, size_t size) {
            if (path.size() > prefix.size() && path.rfind(prefix, 0) == 0 &&
                path.find('/', prefix.size()) == std::string::npos) {
                out += std::string(dir ? "drwxr-xr-x" : "-rw-r--r--") + " 1 u g " +
                       std::to_string(size) + " Jan 02 2026 " + path.substr(prefix.size()) + "\r\n";
            }
        };
        for (const std::string& f : folders_) {
            add(f, true, 0);
        }
        for (const auto& [path, bytes] : files_) {
            add(path, false, bytes.size());
        }
        return out;
    }
    // Moves the bytes of RETR, LIST or STOR over the data connection.
    void Transfer(int c, const std::string& cmd, const std::string& arg)
    {
        if (cmd == "RETR" && files_.count(arg) == 0) {
            Send(c, "550 no file");
            return;
        }
        std::string folder = arg;
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        if (cmd == "LIST" && folders_.count(folder) == 0) {
            Send(c, "550 no folder");
            return;
        }
        const int d = data_ >= 0 && Wait(data_, 2000) ? ::accept(data_, nullptr, nullptr) : -1;
        if (d < 0) {
            Send(c, "425 no data connection");
            return;
        }
        Send(c, "150 here it comes");
        if (cmd == "STOR") {
            std::string in;
            char buf[4096];
            ssize_t n;
            while (Wait(d, 2000) && (n = ::recv(d, buf, sizeof buf, 0)) > 0) {
                in.append(buf, static_cast<size_t>(n));
            }
            files_[arg] = in;
        } else if (cmd == "LIST" && folder == fed_) {
            Feed(d);
        } else {
            const std::string out = cmd == "RETR" ? files_[arg] : Listing(arg);
            const bool stall = cmd == "RETR" && arg == stalled_;
            const size_t first = stall ? std::min<size_t>(out.size(), 100) : out.size();
            (void)::send(d, out.data(), first, MSG_NOSIGNAL);
            for (int waited = 0; stall && waited < stallMs_ && !stop_; waited += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            (void)::send(d, out.data() + first, out.size() - first, MSG_NOSIGNAL);
        }
        ::close(d);
        Send(c, "226 done");
    }

    // Sends the fed listing over the data connection d.
    void Feed(int d) const
    {
        const std::string line = "-rw-r--r-- 1 u g 1 Jan 02 2026 entry\r\n";
        std::string out;
        out.reserve(fedBytes_);
        while (out.size() < fedBytes_) {
            out += line;
        }
        out.resize(fedBytes_);
        for (size_t sent = 0; sent < out.size() && !stop_; sent += fedChunk_) {
            const size_t n = std::min(fedChunk_, out.size() - sent);
            if (::send(d, out.data() + sent, n, MSG_NOSIGNAL) != static_cast<ssize_t>(n)) {
                return;
            }
            for (int waited = 0; waited < fedPauseMs_ && !stop_; waited += 10) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }

    std::map<std::string, std::string> files_;
    std::map<std::string, long long> declared_;
    std::string stalled_;
    int stallMs_ = 0;
    std::string fed_;
    size_t fedBytes_ = 0;
    size_t fedChunk_ = 1;
    int fedPauseMs_ = 0;
    int data_ = -1;
    std::set<std::string> folders_;
    std::string from_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
};

} // namespace testsupport
