// Reading version texts, judging the service's answer, and the request the check sends.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "../platform/net/HttpTestServer.h"
#include "UVersionCheck.h"

using plat::String;

namespace {

struct ConvCase {
    const char16_t* text;
    int number;
};

TEST(ConvVersion, ReadsTheFourDigitsAroundTheSeparator)
{
    const ConvCase cases[] = {
        {u"1.114", 1114},
        {u"VER. 1.115", 1115},
        {u"VER.   1.115  ", 1115},     // text after the first blank, trimmed
        {u"VER. 1,115", 1115},         // the second character is skipped whatever it is
        {u"VER. 1.1150", 1115},        // characters after the fifth do not count
        {u"VER. 0.000", 0},
        {u"VER. 1,2x0", -1},
        {u"VER. 1.11", -1},            // fewer than five characters
        {u"", -1},
        {u"VER.", -1},                 // no blank: the whole text, too short
        {u"VER.1.115", -1},            // no blank: "VER.1" reads V, R, ., 1
        {u"VER. -.123", -1},           // signs are no digits
        {u"VER. 1.1 5", -1},
        {u"<html> <body>Not Found</body></html>", -1},
    };
    for (const ConvCase& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.text));
        EXPECT_EQ(Conv_Version(c.text), c.number);
    }
}

struct AnswerCase {
    const char16_t* answer;
    bool newer;
};

TEST(IsNewerVersion, OnlyAPublishedHigherVersionCounts)
{
    const AnswerCase cases[] = {
        {u"VER. 1.115", true},
        {u"VER. 2.000", true},
        {u"  VER. 1.115\r\n", true},
        {u"VER. 1.114", false},
        {u"VER. 1.113", false},
        {u"VER. 0.000", false},
        {u"  ver. 0.000  ", false},
        {u"Ver. 0.000", false},
        {u"", false},
        {u"   ", false},
        {u"<html><head><title>404 Not Found</title></head></html>", false},
        {u"VER. 1,2x0", false},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.answer));
        EXPECT_EQ(Is_Newer_Version(c.answer, u"1.114"), c.newer);
    }
    // A built version that cannot be read never finds a newer one.
    EXPECT_FALSE(Is_Newer_Version(u"VER. 9.999", u"1.1"));
}

class VersionCheckTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        Set_Version_Request(nullptr);
        Set_Version_Service_Host(String());
    }
};

struct WireCase {
    const char* name;
    const char* answer;
    bool newer;
};

// The real HTTP client against a local service: the request on the wire, and the answers.
TEST_F(VersionCheckTest, TheRequestOnTheWireAndTheAnswersThatCount)
{
    const WireCase cases[] = {
        {"newer", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.115", true},
        {"same", "HTTP/1.0 200 OK\r\n\r\nVER. 1.114\r\n", false},
        {"nothing published", "HTTP/1.0 200 OK\r\n\r\n  ver. 0.000  ", false},
        {"not found", "HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", false},
        {"redirect", "HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\n\r\nVER. 9.999", false},
        {"empty", "HTTP/1.0 200 OK\r\n\r\n", false},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        httptest::TinyServer server(c.answer);
        Set_Version_Service_Host(plat::Utf8ToString(server.Url("")));
        EXPECT_EQ(Check_Version(), c.newer);
        EXPECT_EQ(server.Connections(), 1);
        const std::string req = server.Request();
        EXPECT_EQ(req.substr(0, req.find("\r\n")), "GET /home/download/GetversionSW.asp?nomesw=QR40518 HTTP/1.0");
        EXPECT_NE(req.find("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"),
                  std::string::npos)
            << req;
        EXPECT_NE(req.find("\r\nUser-Agent: Mozilla/3.0 (compatible; Configurator)\r\n"), std::string::npos) << req;
    }
}

TEST_F(VersionCheckTest, NoServiceIsNoNewerVersion)
{
    std::string url;
    {
        httptest::TinyServer gone("x");  // a port that was free a moment ago
        url = gone.Url("");
    }
    Set_Version_Service_Host(plat::Utf8ToString(url));
    EXPECT_FALSE(Check_Version());
}

TEST_F(VersionCheckTest, AsksTheServiceForTheSoftwareCode)
{
    std::vector<String> urls;
    Set_Version_Request([&](const String& url, String& answer) {
        urls.push_back(url);
        answer = u"VER. 1.115";
        return true;
    });
    EXPECT_TRUE(Check_Version());
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0], Version_Request_URL());
    const String url = Version_Request_URL();
    const String tail = u"/home/download/GetversionSW.asp?nomesw=QR40518";
    ASSERT_GT(url.size(), tail.size());
    EXPECT_EQ(url.substr(url.size() - tail.size()), tail);
}

TEST_F(VersionCheckTest, EveryFailureCountsAsNoNewerVersion)
{
    struct Case {
        const char* name;
        std::function<bool(const String&, String&)> request;
    };
    const Case cases[] = {
        {"failed request with a body", [](const String&, String& a) { a = u"VER. 9.999"; return false; }},
        {"exception", [](const String&, String&) -> bool { throw std::runtime_error("connection refused"); }},
        {"exception after a partial answer",
         [](const String&, String& a) -> bool {
             a = u"VER. 9.999";
             throw std::runtime_error("reset");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set_Version_Request(c.request);
        EXPECT_FALSE(Check_Version());
    }
}

} // namespace
