// The terminal layer on pseudo-terminal pairs: what the other side sees of the settings,
// transfers, time-outs, queue counts and the event wait.
#include "plat/Serial.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "PtyPair.h"
#include "TestSupport.h"

using plat::TSerialPort;
using plat::TSerialSettings;

namespace {

struct SettingsCase {
    const char* name;
    std::uint32_t rate;
    int dataBits;
    plat::TSerialParity parity;
    int stopBits;
    bool rtsCts;
    bool xonXoff;
    tcflag_t cflagSet;    // expected on
    tcflag_t cflagClear;  // expected off
};

const SettingsCase kSettings[] = {
    {"9600_8N1", 9600, 8, plat::spNone, 1, false, false, CS8, PARENB | CSTOPB | CRTSCTS},
    {"115200_8E1", 115200, 8, plat::spEven, 1, false, false, CS8 | PARENB, PARODD | CMSPAR | CSTOPB},
    {"19200_7O2", 19200, 7, plat::spOdd, 2, false, false, CS7 | PARENB | PARODD | CSTOPB, CMSPAR},
    {"mark", 9600, 7, plat::spMark, 1, false, false, CS7 | PARENB | PARODD | CMSPAR, CSTOPB},
    {"space", 9600, 8, plat::spSpace, 2, false, false, CS8 | PARENB | CMSPAR | CSTOPB, PARODD},
    {"cts_flow", 57600, 8, plat::spNone, 1, true, false, CS8 | CRTSCTS, PARENB},
    {"software_flow", 2400, 8, plat::spNone, 1, false, true, CS8, CRTSCTS},
    {"arbitrary_14400", 14400, 8, plat::spNone, 1, false, false, CS8, PARENB},
    {"arbitrary_256000", 256000, 8, plat::spEven, 1, false, false, CS8 | PARENB, 0},
};

TEST(SerialPort, SettingsAsTheOtherSideSeesThem)
{
    for (const SettingsCase& c : kSettings) {
        SCOPED_TRACE(c.name);
        PtyPair pty;
        ASSERT_FALSE(pty.slave.empty());
        TSerialPort port;
        ASSERT_EQ(port.Open(pty.slave), 0);
        TSerialSettings s;
        s.BaudRate = c.rate;
        s.DataBits = c.dataBits;
        s.Parity = c.parity;
        s.StopBits = c.stopBits;
        s.RtsCts = c.rtsCts;
        s.XonXoff = c.xonXoff;
        ASSERT_EQ(port.SetSettings(s), 0);

        // A pseudo-terminal keeps eight data bits and parity generation off whatever it is
        // asked (it has no line to frame); the kind of parity and everything else pass.
        const tcflag_t pinned = CSIZE | PARENB;
        termios t {};
        ASSERT_EQ(::tcgetattr(pty.master, &t), 0);
        EXPECT_EQ(t.c_cflag & (c.cflagSet & ~pinned), c.cflagSet & ~pinned);
        EXPECT_EQ(t.c_cflag & (c.cflagClear & ~pinned), 0u);
        EXPECT_EQ((t.c_iflag & IXON) != 0, c.xonXoff);
        EXPECT_EQ((t.c_iflag & IXOFF) != 0, c.xonXoff);
        EXPECT_EQ(plat::SerialRateOf(pty.master), c.rate);
        // Raw: no echo, no line editing, no output processing.
        EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);

        TSerialSettings back;
        ASSERT_EQ(port.GetSettings(back), 0);
        EXPECT_EQ(back.BaudRate, c.rate);
        EXPECT_EQ(back.StopBits, c.stopBits);
        EXPECT_EQ(back.RtsCts, c.rtsCts);
        EXPECT_EQ(back.XonXoff, c.xonXoff);
    }
}

TEST(SerialPort, RefusesSettingsTheLineCannotTake)
{
    PtyPair pty;
    TSerialPort port;
    ASSERT_EQ(port.Open(pty.slave), 0);
    const std::uint32_t before = plat::SerialRateOf(pty.master);
    ASSERT_NE(before, 0u);
    const struct {
        int dataBits, stopBits;
        std::uint32_t rate;
    } bad[] = {{4, 1, 9600}, {9, 1, 9600}, {8, 3, 9600}, {8, 1, 0}};
    for (const auto& b : bad) {
        TSerialSettings s;
        s.DataBits = b.dataBits;
        s.StopBits = b.stopBits;
        s.BaudRate = b.rate;
        EXPECT_EQ(port.SetSettings(s), EINVAL) << b.dataBits << " " << b.stopBits << " " << b.rate;
    }
    // The line keeps what it had.
    EXPECT_EQ(plat::SerialRateOf(pty.master), before);
}

TEST(SerialPort, ReadGivesWhatHasArrivedAndTimesOutWithMinusOne)
{
    PtyPair pty;
    TSerialPort port;
    ASSERT_EQ(port.Open(pty.slave), 0);
    char buf[16];
    EXPECT_EQ(port.Read(buf, sizeof buf, 0), 0);
    EXPECT_EQ(port.Read(buf, sizeof buf, 30), -1);

    EXPECT_EQ(port.Write("ping", 4, 1000), 4);
    EXPECT_EQ(pty.Receive(4), "ping");

    pty.Send("pong!");
    long n = port.Read(buf, 3, 1000);  // the first bytes may arrive before the rest
    ASSERT_GT(n, 0);
    std::string got(buf, static_cast<std::size_t>(n));
    while (got.size() < 5) {
        n = port.Read(buf, sizeof buf, 1000);
        ASSERT_GT(n, 0);
        got.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, "pong!");
    EXPECT_EQ(port.InQueue(), 0);
}

TEST(SerialPort, PurgeDropsQueuedInput)
{
    PtyPair pty;
    TSerialPort port;
    ASSERT_EQ(port.Open(pty.slave), 0);
    pty.Send("12345678");
    for (int i = 0; i < 100 && port.InQueue() < 8; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(port.InQueue(), 8);
    EXPECT_EQ(port.Purge(true, true), 0);
    EXPECT_EQ(port.InQueue(), 0);
    char c;
    EXPECT_EQ(port.Read(&c, 1, 0), 0);
}

TEST(SerialPort, WriteTimesOutWhileOutputIsSuspended)
{
    PtyPair pty;
    TSerialPort port;
    ASSERT_EQ(port.Open(pty.slave), 0);
    ASSERT_EQ(port.SetXON(false), 0);
    EXPECT_EQ(port.Write("abc", 3, 30), -1);
    ASSERT_EQ(port.SetXON(true), 0);
    EXPECT_EQ(port.Write("def", 3, 1000), 3);
}

TEST(SerialPort, OpenRefusesWhatIsNoSerialDevice)
{
    const testsupport::TempDir dir;
    const std::string file = dir / "plain.txt";
    std::ofstream(file) << "not a port";
    TSerialPort port;
    EXPECT_EQ(port.Open(file), TSerialPort::NotCharDevice);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Open("/nonexistent/ttyUSB9"), ENOENT);
    EXPECT_EQ(port.Open("/dev/null"), ENOTTY);  // a character device without a line
    EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPort, WaitEventsReportsArrivalOnceAndWakesAtOnce)
{
    PtyPair pty;
    TSerialPort port;
    ASSERT_EQ(port.Open(pty.slave), 0);
    EXPECT_EQ(port.WaitEvents(plat::seRxChar, 30), 0u);

    pty.Send("xy");
    EXPECT_EQ(port.WaitEvents(plat::seRxChar | plat::seCts, 1000), plat::seRxChar);
    // Bytes still queued are no new event.
    EXPECT_EQ(port.WaitEvents(plat::seRxChar, 50), 0u);
    pty.Send("z");
    EXPECT_EQ(port.WaitEvents(plat::seRxChar, 1000), plat::seRxChar);
    // Masked out: not reported.
    pty.Send("w");
    EXPECT_EQ(port.WaitEvents(plat::seCts, 50), 0u);

    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        port.Wake();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.WaitEvents(plat::seRxChar, 10000), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    waker.join();
}

TEST(SerialPort, ClosedPortAnswersFailures)
{
    TSerialPort port;
    char c;
    EXPECT_EQ(port.Read(&c, 1, 0), -2);
    EXPECT_EQ(port.LastError(), EBADF);
    EXPECT_EQ(port.Write("a", 1, 0), -2);
    EXPECT_EQ(port.InQueue(), -1);
    EXPECT_EQ(port.ModemStatus(), 0u);
    EXPECT_EQ(port.WaitEvents(plat::seRxChar, 10), 0u);
}

} // namespace
