// The ICMP echo client: which host texts it takes, what one Ping sends and reports, and a
// real echo over loopback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plat/IcmpClient.h"
#include "TestSupport.h"

using namespace plat;

namespace {

struct RecordingEcho : IIcmpEcho {
    TReplyStatus answer;
    std::vector<TIcmpEchoRequest> requests;
    TReplyStatus Echo(const TIcmpEchoRequest& r) override
    {
        requests.push_back(r);
        TReplyStatus s = answer;
        s.SequenceId = r.SequenceId;
        return s;
    }
};

TEST(IcmpClientTest, HostTexts)
{
    struct Case {
        const char16_t* text;
        bool ok;
        TIPv4Address address;
    };
    const Case cases[] = {
        {u"192.168.2.205", true, {192, 168, 2, 205}},
        // Leading zeros are decimal: the device checked is the one the update job names.
        {u"010.001.002.003", true, {10, 1, 2, 3}},
        {u"0.0.0.0", true, {0, 0, 0, 0}},
        {u"255.255.255.255", true, {255, 255, 255, 255}},
        {u"192.168..1", false, {}},
        {u"", false, {}},
        {u"...", false, {}},
        {u"192.168.1", false, {}},
        {u"192.168.1.1.1", false, {}},
        {u"192.168.1.1.", false, {}},
        {u"256.1.1.1", false, {}},
        {u"1.2.3.0256", false, {}},
        {u" 1.2.3.4", false, {}},
        {u"1.2.3.4 ", false, {}},
        {u"1.2.3.+4", false, {}},
        {u"0x7f.0.0.1", false, {}},
        {u"localhost", false, {}},
        {u"\uFF11.2.3.4", false, {}},  // a fullwidth digit is not a digit here
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
        TIPv4Address a{9, 9, 9, 9};
        EXPECT_EQ(ParseIPv4Address(c.text, a), c.ok);
        if (c.ok) EXPECT_EQ(a, c.address);
        else EXPECT_EQ(a, (TIPv4Address{9, 9, 9, 9})) << "a refused text leaves the output alone";
    }
}

TEST(IcmpClientTest, UnusableHostRaisesBeforeSending)
{
    for (const char16_t* host : {u"192.168..1", u"", u"300.1.1.1"}) {
        RecordingEcho echo;
        TIcmpClient client;
        client.SetEcho(&echo);
        client.SetHost(host);
        int replies = 0;
        client.OnReply = [&](TObject*, const TReplyStatus&) { ++replies; };
        EXPECT_TRUE(testsupport::ThrowsWith<EIcmpError>([&] { client.Ping(u"abc"); },
                                                        u"Invalid IP address: \"" + String(host) + u"\""));
        EXPECT_TRUE(echo.requests.empty());
        EXPECT_EQ(replies, 0);
    }
}

TEST(IcmpClientTest, OnePingSendsOneNumberedRequestAndReportsBeforeReturning)
{
    RecordingEcho echo;
    echo.answer.ReplyStatusType = rsEcho;
    echo.answer.BytesReceived = 32;
    TIcmpClient client;
    client.SetEcho(&echo);
    client.SetHost(u"010.001.002.003");
    client.SetReceiveTimeout(400);
    std::vector<TReplyStatus> replies;
    client.OnReply = [&](TObject* sender, const TReplyStatus& s) {
        EXPECT_EQ(sender, &client);
        replies.push_back(s);
    };
    client.Ping(u"abcdefghijklmnopqrstuvwa");
    client.Ping(u"abcdefghijklmnopqrstuvwa");
    ASSERT_EQ(echo.requests.size(), 2u);
    ASSERT_EQ(replies.size(), 2u);
    for (const TIcmpEchoRequest& r : echo.requests) {
        EXPECT_EQ(r.Address, (TIPv4Address{10, 1, 2, 3}));
        EXPECT_EQ(r.Payload, "abcdefghijklmnopqrstuvwa");
        EXPECT_EQ(r.TimeoutMs, 400u);
    }
    EXPECT_NE(echo.requests[0].SequenceId, echo.requests[1].SequenceId);
    EXPECT_EQ(replies[1].BytesReceived, 32);
    EXPECT_EQ(client.ReplyStatus().SequenceId, echo.requests[1].SequenceId);
}

TEST(IcmpClientTest, OnlyAnEchoReplyCarriesReceivedBytes)
{
    // An echo that reports bytes with a failure status still counts as no answer.
    for (TReplyStatusTypes type : {rsTimeOut, rsError, rsErrorUnreachable, rsErrorTTLExceeded}) {
        RecordingEcho echo;
        echo.answer.ReplyStatusType = type;
        echo.answer.BytesReceived = 60;
        TIcmpClient client;
        client.SetEcho(&echo);
        client.SetHost(u"10.0.0.1");
        int bytes = -1;
        client.OnReply = [&](TObject*, const TReplyStatus& s) { bytes = s.BytesReceived; };
        client.Ping(u"x");
        EXPECT_EQ(bytes, 0) << type;
    }
}

TEST(IcmpClientTest, PayloadBytesAndPacketSize)
{
    struct Case {
        std::u16string buffer;
        int packet_size;
        std::string sent;
    };
    const Case cases[] = {
        {u"abc", 1024, "abc"},
        {u"a\u00E9\u20ACb", 1024, "a\xE9?b"},  // one byte per unit; none for what has no byte
        {u"abcdefghijklmnopqrstuvwa", 16, "abcdefgh"},  // 8 header bytes leave 8 for data
        {u"abc", 4, ""},
    };
    for (const Case& c : cases) {
        RecordingEcho echo;
        TIcmpClient client;
        client.SetEcho(&echo);
        client.SetHost(u"10.0.0.1");
        client.SetPacketSize(c.packet_size);
        client.Ping(c.buffer);
        ASSERT_EQ(echo.requests.size(), 1u);
        EXPECT_EQ(echo.requests[0].Payload, c.sent);
    }
}

TEST(IcmpClientTest, RealEchoOverLoopback)
{
    TIcmpClient client;
    client.SetHost(u"127.0.0.1");
    client.SetReceiveTimeout(400);
    TReplyStatus reply;
    bool fired = false;
    client.OnReply = [&](TObject*, const TReplyStatus& s) {
        reply = s;
        fired = true;
    };
    try {
        client.Ping(u"abcdefghijklmnopqrstuvwa");
    } catch (const EIcmpError& e) {
        GTEST_SKIP() << "no ICMP socket here: " << e.what();
    }
    ASSERT_TRUE(fired);
    EXPECT_EQ(reply.ReplyStatusType, rsEcho);
    EXPECT_EQ(reply.BytesReceived, 8 + 24);
    EXPECT_EQ(reply.FromIpAddress, u"127.0.0.1");
    // A second request gets its own reply, not a late copy of the first.
    const std::uint16_t first = reply.SequenceId;
    client.Ping(u"abcdefghijklmnopqrstuvwa");
    EXPECT_EQ(reply.ReplyStatusType, rsEcho);
    EXPECT_EQ(reply.SequenceId, static_cast<std::uint16_t>(first + 1));
}

} // namespace
