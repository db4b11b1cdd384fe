// HTTP GET against a one-connection server on 127.0.0.1 started by each test: what the
// request looks like on the wire, which answers count as failures, and that a silent server
// is given up at the time-out.
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

#include "plat/HttpClient.h"

namespace {

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

plat::THttpOptions Options()
{
    plat::THttpOptions o;
    o.Accept = u"text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    o.UserAgent = u"Mozilla/3.0 (compatible; Configurator)";
    o.ConnectTimeoutMs = 2000;
    o.TotalTimeoutMs = 5000;
    return o;
}

plat::String U(const std::string& s)
{
    return plat::Utf8ToString(s);
}

TEST(HttpGet, SendsAnHttp10RequestWithTheGivenHeadersAndReturnsTheBody)
{
    TinyServer server("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.115");
    const plat::THttpResult r = plat::HttpGet(U(server.Url("/home/download/GetversionSW.asp?nomesw=QR40518")), Options());
    EXPECT_TRUE(r.Ok) << plat::StringToUtf8(r.Error);
    EXPECT_EQ(r.Status, 200);
    EXPECT_EQ(r.Body, "VER. 1.115");

    const std::string req = server.Request();
    EXPECT_EQ(req.substr(0, req.find("\r\n")), "GET /home/download/GetversionSW.asp?nomesw=QR40518 HTTP/1.0");
    EXPECT_NE(req.find("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"),
              std::string::npos)
        << req;
    EXPECT_NE(req.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Configurator)\r\n"), std::string::npos) << req;
    EXPECT_EQ(req.find("Cookie:"), std::string::npos) << req;
}

struct FailureCase {
    const char* name;
    const char* answer;
    int status;
};

TEST(HttpGet, NonSuccessAnswersAreFailuresAndRedirectsAreNotFollowed)
{
    const FailureCase cases[] = {
        {"not found", "HTTP/1.0 404 Not Found\r\n\r\n<html>missing</html>", 404},
        {"redirect", "HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\n\r\n", 302},
        {"server error", "HTTP/1.0 500 Internal Server Error\r\n\r\n", 500},
        {"not http at all", "garbage\r\n\r\n", 0},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TinyServer server(c.answer);
        const plat::THttpResult r = plat::HttpGet(U(server.Url("/a")), Options());
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_FALSE(r.Error.empty());
        // A followed redirect would come back as a second connection.
        EXPECT_EQ(server.Connections(), 1);
    }
}

TEST(HttpGet, ASilentServerFailsAtTheTimeOut)
{
    TinyServer server("");  // accepts, reads, never answers
    plat::THttpOptions o = Options();
    o.TotalTimeoutMs = 300;
    const plat::THttpResult r = plat::HttpGet(U(server.Url("/slow")), o);
    EXPECT_FALSE(r.Ok);
    // Without the time-out the request would end only when the server gives up after 20 s,
    // as a closed connection rather than a time-out.
    EXPECT_TRUE(r.TimedOut) << plat::StringToUtf8(r.Error);
    EXPECT_EQ(r.Status, 0);
}

TEST(HttpGet, NoServerAndUnusableUrlsAreFailures)
{
    int port = 0;
    {
        TinyServer closed("x");  // a port that was free a moment ago
        port = std::stoi(closed.Url("").substr(17));
    }
    const std::string urls[] = {
        "http://127.0.0.1:" + std::to_string(port) + "/",
        "",
        "ftp://127.0.0.1/file",
        "file:///etc/passwd",
    };
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        const plat::THttpResult r = plat::HttpGet(U(url), Options());
        EXPECT_FALSE(r.Ok);
        EXPECT_TRUE(r.Body.empty());
        EXPECT_FALSE(r.Error.empty());
    }
}

TEST(HttpGet, AnAnswerLongerThanTheLimitIsAFailure)
{
    TinyServer server("HTTP/1.0 200 OK\r\n\r\n" + std::string(5000, 'x'));
    plat::THttpOptions o = Options();
    o.MaxBodyBytes = 1000;
    const plat::THttpResult r = plat::HttpGet(U(server.Url("/big")), o);
    EXPECT_FALSE(r.Ok);
    EXPECT_LE(r.Body.size(), 1000u);
}

} // namespace
