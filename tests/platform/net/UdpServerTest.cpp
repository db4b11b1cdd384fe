// The UDP server on the loopback: datagrams and their senders reach the read handler on the
// listener thread, oversized datagrams are dropped, deactivation waits for a running handler,
// and the errors a caller can cause carry their reason.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plat/UdpServer.h"
#include "TestSupport.h"

using namespace plat;
using testsupport::ThrowsWith;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Received {
    Bytes data;
    TUdpPeer peer;
    std::thread::id thread;
};

// Collects what a server's handler sees; Wait blocks until `count` datagrams arrived (the
// loopback delivers at once; the limit only keeps a broken build from hanging).
class Inbox {
public:
    void Attach(TUdpServer& server)
    {
        server.OnUDPRead = [this](TObject*, const std::uint8_t* d, std::size_t n, const TUdpPeer& p) {
            std::lock_guard<std::mutex> g(lock_);
            items_.push_back({Bytes(d, d + n), p, std::this_thread::get_id()});
            changed_.notify_all();
        };
    }
    std::vector<Received> Wait(std::size_t count)
    {
        std::unique_lock<std::mutex> g(lock_);
        changed_.wait_for(g, std::chrono::seconds(10), [&] { return items_.size() >= count; });
        return items_;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Received> items_;
};

TEST(UdpServerTest, DatagramsReachTheHandlerWithTheirSender)
{
    Inbox inbox;
    TUdpServer a, b;
    inbox.Attach(b);
    a.SetActive(true);
    b.SetActive(true);
    ASSERT_NE(a.BoundPort(), 0);
    ASSERT_NE(b.BoundPort(), 0);
    EXPECT_NE(a.BoundPort(), b.BoundPort());

    const Bytes first{0x10, 0x40, 0xFF, 0x3F, 0x16};
    const Bytes second{0xE5};
    a.Send(u"127.0.0.1", b.BoundPort(), first);
    a.Send(u"127.0.0.1", b.BoundPort(), second);
    const auto got = inbox.Wait(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].data, first);
    EXPECT_EQ(got[1].data, second);
    EXPECT_EQ(got[0].peer.IP, u"127.0.0.1");
    EXPECT_EQ(got[0].peer.Port, a.BoundPort());
    EXPECT_NE(got[0].thread, std::this_thread::get_id());
}

TEST(UdpServerTest, DatagramsLongerThanTheBufferAreDroppedWhole)
{
    Inbox inbox;
    TUdpServer sender, server;
    server.SetBufferSize(16);
    inbox.Attach(server);
    sender.SetActive(true);
    server.SetActive(true);
    const Bytes tooLong(17, 0xAA), fits(16, 0x55), small{1, 2, 3};
    sender.Send(u"127.0.0.1", server.BoundPort(), tooLong);
    sender.Send(u"127.0.0.1", server.BoundPort(), fits);
    sender.Send(u"127.0.0.1", server.BoundPort(), small);
    const auto got = inbox.Wait(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].data, fits);
    EXPECT_EQ(got[1].data, small);
}

TEST(UdpServerTest, DeactivatingWaitsForTheRunningHandlerAndStopsDelivery)
{
    std::mutex lock;
    std::condition_variable cv;
    bool started = false, release = false, finished = false;
    int calls = 0;
    TUdpServer sender, server;
    server.OnUDPRead = [&](TObject*, const std::uint8_t*, std::size_t, const TUdpPeer&) {
        std::unique_lock<std::mutex> g(lock);
        ++calls;
        started = true;
        cv.notify_all();
        cv.wait(g, [&] { return release; });
        finished = true;
    };
    sender.SetActive(true);
    server.SetActive(true);
    const std::uint16_t port = server.BoundPort();
    sender.Send(u"127.0.0.1", port, Bytes{1});
    {
        std::unique_lock<std::mutex> g(lock);
        ASSERT_TRUE(cv.wait_for(g, std::chrono::seconds(10), [&] { return started; }));
    }
    // The handler is blocked; releasing it from another thread lets the deactivation's join end.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::lock_guard<std::mutex> g(lock);
        release = true;
        cv.notify_all();
    });
    server.SetActive(false);
    {
        std::lock_guard<std::mutex> g(lock);
        EXPECT_TRUE(finished);
    }
    releaser.join();
    EXPECT_FALSE(server.Active());
    EXPECT_EQ(server.BoundPort(), 0);
    // Nothing is delivered to an inactive server, and it binds again when activated.
    EXPECT_NO_THROW(sender.Send(u"127.0.0.1", port, Bytes{2}));
    server.SetActive(true);
    EXPECT_NE(server.BoundPort(), 0);
    server.SetActive(false);
    std::lock_guard<std::mutex> g(lock);
    EXPECT_EQ(calls, 1);
}

TEST(UdpServerTest, GivenPortIsBoundAndChangingItRebinds)
{
    TUdpServer probe;
    probe.SetActive(true);
    const std::uint16_t freePort = probe.BoundPort();
    probe.SetActive(false);

    Inbox inbox;
    TUdpServer server, sender;
    inbox.Attach(server);
    server.SetDefaultPort(freePort);
    server.SetActive(true);
    EXPECT_EQ(server.BoundPort(), freePort);
    // Port 0 on an active server: a new system-chosen port, still listening.
    server.SetDefaultPort(0);
    EXPECT_TRUE(server.Active());
    EXPECT_NE(server.BoundPort(), 0);
    sender.SetActive(true);
    sender.Send(u"127.0.0.1", server.BoundPort(), Bytes{7});
    const auto got = inbox.Wait(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].data, Bytes{7});
}

TEST(UdpServerTest, CallerErrorsCarryTheirReason)
{
    TUdpServer holder;
    holder.SetActive(true);
    const std::uint16_t taken = holder.BoundPort();
    const std::string digits = std::to_string(taken);
    const std::u16string portText(digits.begin(), digits.end());

    TUdpServer second;
    second.SetDefaultPort(taken);
    EXPECT_TRUE(ThrowsWith<EUdpError>([&] { second.SetActive(true); },
                                      u"Cannot bind UDP port " + portText + u": Address already in use"));
    EXPECT_FALSE(second.Active());

    struct Case {
        bool active;
        const char16_t* ip;
        const char16_t* message;
    };
    const Case cases[] = {
        {false, u"127.0.0.1", u"The UDP server is not active"},
        {true, u"127.0.0", u"Not an IPv4 address: \"127.0.0\""},
        {true, u"localhost", u"Not an IPv4 address: \"localhost\""},
        {true, u"127.0.0.256", u"Not an IPv4 address: \"127.0.0.256\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.ip));
        TUdpServer s;
        s.SetActive(c.active);
        EXPECT_TRUE(ThrowsWith<EUdpError>([&] { s.Send(c.ip, 10000, Bytes{1}); }, c.message));
    }
}

TEST(UdpServerTest, HandlerCannotDeactivateItsOwnServerAndKeepsListening)
{
    std::mutex lock;
    std::condition_variable cv;
    std::vector<std::u16string> errors;
    int calls = 0;
    TUdpServer sender, server;
    server.OnUDPRead = [&](TObject*, const std::uint8_t*, std::size_t, const TUdpPeer&) {
        std::lock_guard<std::mutex> g(lock);
        ++calls;
        try {
            server.SetActive(false);
        } catch (const EUdpError& e) {
            errors.push_back(e.Message());
        }
        cv.notify_all();
        if (calls == 1) throw EUdpError(u"handler failure");
    };
    sender.SetActive(true);
    server.SetActive(true);
    sender.Send(u"127.0.0.1", server.BoundPort(), Bytes{1});
    sender.Send(u"127.0.0.1", server.BoundPort(), Bytes{2});
    std::unique_lock<std::mutex> g(lock);
    ASSERT_TRUE(cv.wait_for(g, std::chrono::seconds(10), [&] { return calls == 2; }));
    EXPECT_TRUE(server.Active());
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], u"The UDP server cannot be deactivated from its own read handler");
}

} // namespace
