// HTTP GET against a one-connection server on 127.0.0.1 started by each test: what the
// request looks like on the wire, which answers count as failures, and that a silent server
// is given up at the time-out.
#include <gtest/gtest.h>

#include <string>

#include "HttpTestServer.h"
#include "plat/HttpClient.h"

namespace {

using httptest::TinyServer;

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
