#pragma once
// A one-connection-at-a-time HTTP server on 127.0.0.1 for tests: it records the request
// heads it receives and sends one canned answer to each connection.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace httptest {

// Accepts one connection, reads the request head, then sends `answer` and closes; with an
// empty answer it keeps the connection open and silent until the server is destroyed.
class TinyServer {
public:
    explicit TinyServer(std::string answer) : answer_(std::move(answer))
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 1) != 0) {
            ADD_FAILURE() << "test server could not listen";
            return;
        }
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        if (::pipe(stop_) != 0) ADD_FAILURE() << "pipe";
        thread_ = std::thread([this] { Run(); });
    }
    ~TinyServer()
    {
        if (stop_[1] >= 0) (void)!::write(stop_[1], "x", 1);
        if (thread_.joinable()) thread_.join();
        for (int fd : {fd_, stop_[0], stop_[1]})
            if (fd >= 0) ::close(fd);
    }
    std::string Url(const std::string& target) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + target;
    }
    std::string Request() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return request_;
    }
    int Connections() const { return connections_; }

private:
    // Waits for the socket or the stop pipe; false when stopping.
    bool Wait(int fd)
    {
        pollfd p[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        return ::poll(p, 2, 20000) > 0 && !(p[1].revents & POLLIN) && (p[0].revents & (POLLIN | POLLHUP));
    }
    void Run()
    {
        while (Wait(fd_)) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0) return;
            ++connections_;
            std::string head;
            char buf[1024];
            while (head.find("\r\n\r\n") == std::string::npos && Wait(c)) {
                const ssize_t n = ::read(c, buf, sizeof buf);
                if (n <= 0) break;
                head.append(buf, static_cast<size_t>(n));
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                request_ += head;
            }
            if (answer_.empty()) {
                Wait(stop_[0]);  // silent until the test ends
                ::close(c);
                return;
            }
            (void)!::write(c, answer_.data(), answer_.size());
            ::close(c);
        }
    }

    std::string answer_;
    int fd_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string request_;
    std::atomic<int> connections_{0};
};

} // namespace httptest
