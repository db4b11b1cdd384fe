// The serial port component on pseudo-terminal pairs: settings reaching the line, transfers,
// refused changes and errors with their codes, events handed to the main thread.
#include "CommInt.h"

#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "../platform/serial/PtyPair.h"
#include "TestSupport.h"
#include "plat/Forms.h"  // Testing.h uses the form class in a template
#include "plat/Serial.h"
#include "plat/Testing.h"
#include "plat/Threads.h"

namespace pt = plat::testing;
namespace fs = std::filesystem;

namespace {

std::string Utf8(const plat::String& s)
{
    return plat::StringToUtf8(s);
}

plat::String Path(const std::string& s)
{
    return plat::Utf8ToString(s);
}

// The error the call raises, as message and code; "" when it raises nothing.
template <class F>
std::pair<std::string, int> CommErrorOf(F&& f)
{
    try {
        f();
    } catch (const ECommError& e) {
        return {Utf8(e.Message()), e.ErrorCode};
    }
    return {"", 0};
}

// Runs the main thread's loop until Done or a second has passed.
template <class F>
void ProcessUntil(F&& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < end) {
        pt::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void ProcessFor(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        pt::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

termios LineOf(const PtyPair& pty)
{
    termios t {};
    tcgetattr(pty.master, &t);
    return t;
}

TEST(Comm, SettingsStoredWhileClosedReachTheLineAtOpen)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    comm.SetBaudRate(br14400);
    comm.SetParity(paOdd);
    comm.SetStopbits(sb15);
    comm.SetFlowControl(fcCTS);
    // Nothing opened yet: the line still has its own rate.
    EXPECT_NE(plat::SerialRateOf(pty.master), 14400u);
    EXPECT_EQ(comm.Handle(), -1);

    comm.Open();
    ASSERT_TRUE(comm.Enabled());
    const termios t = LineOf(pty);
    EXPECT_EQ(plat::SerialRateOf(pty.master), 14400u);
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_TRUE(t.c_cflag & CSTOPB);  // one and a half stop bits become two
    EXPECT_TRUE(t.c_cflag & CRTSCTS);

    // While open, a change takes effect at once.
    comm.SetBaudRate(br115200);
    comm.SetStopbits(sb10);
    EXPECT_EQ(plat::SerialRateOf(pty.master), 115200u);
    EXPECT_FALSE(LineOf(pty).c_cflag & CSTOPB);
    comm.Close();
    EXPECT_FALSE(comm.Enabled());
    EXPECT_EQ(comm.Handle(), -1);
}

TEST(Comm, FlowControlNoneClearsFlagsDefaultKeepsThem)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    comm.SetFlowControl(fcSoftware);
    comm.SetOptions(SetOf(coParityCheck));
    comm.Open();
    termios t = LineOf(pty);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_iflag & INPCK);

    // Default leaves what the line has; CTS adds to it.
    comm.SetFlowControl(fcDefault);
    EXPECT_TRUE(LineOf(pty).c_iflag & IXON);
    comm.SetFlowControl(fcCTS);
    t = LineOf(pty);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);

    // None clears every handshake, then the chosen options come back.
    comm.SetFlowControl(fcNone);
    t = LineOf(pty);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & INPCK);
    comm.SetOptions(0);
    EXPECT_FALSE(LineOf(pty).c_iflag & INPCK);
}

TEST(Comm, EventCharsReachTheLine)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    comm.Open();
    comm.EventChars()->SetXonChar(0x12);
    EXPECT_EQ(LineOf(pty).c_cc[VSTART], 0x12);
    TCommEventChars other(nullptr);
    other.SetXoffChar(0x05);
    comm.SetEventChars(&other);
    const termios t = LineOf(pty);
    EXPECT_EQ(t.c_cc[VSTART], 17);  // the copy's default
    EXPECT_EQ(t.c_cc[VSTOP], 5);
}

TEST(Comm, ReadAndWriteAcrossThePair)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    comm.Open();
    char buf[32];
    EXPECT_EQ(comm.Read(buf, sizeof buf), 0);  // nothing yet: at once
    EXPECT_EQ(comm.Write("\x10\x40\x01\x41\x16", 5), 5);
    EXPECT_EQ(pty.Receive(5), std::string("\x10\x40\x01\x41\x16"));

    pty.Send("\xE5");
    ProcessUntil([&] { return comm.InQueCount() == 1; });
    EXPECT_EQ(comm.InQueCount(), 1);
    EXPECT_EQ(comm.Read(buf, sizeof buf), 1);
    EXPECT_EQ(static_cast<unsigned char>(buf[0]), 0xE5);

    pty.Send("abc");
    ProcessUntil([&] { return comm.InQueCount() == 3; });
    comm.PurgeIn();
    EXPECT_EQ(comm.InQueCount(), 0);

    // Output held: the write does not finish within its time-out.
    comm.SetWriteTimeout(30);
    comm.SetXONState(false);
    EXPECT_EQ(comm.Write("x", 1), -1);
    comm.SetXONState(true);
}

TEST(Comm, ErrorsCarryTextAndCode)
{
    PtyPair pty;
    const testsupport::TempDir dir;
    const std::string plain = dir / "plain.bin";
    std::ofstream(plain) << "x";

    struct Case {
        const char* name;
        std::function<void(TComm&)> act;
        std::string text;
        int code;
    };
    const std::string open = "Port already assigned (open) (Error: -1) ";
    const Case cases[] = {
        {"open_twice", [](TComm& c) { c.Open(); }, open, -1},
        {"read_buf_size", [](TComm& c) { c.SetReadBufSize(1024); }, open, -1},
        {"write_buf_size", [](TComm& c) { c.SetWriteBufSize(1); }, open, -1},
        {"monitor_events", [](TComm& c) { c.SetMonitorEvents(SetOf(evRxChar)); }, open, -1},
        {"device_name", [](TComm& c) { c.SetDeviceName(u"Com3"); }, open, -1},
        {"same_read_buf_size", [](TComm& c) { c.SetReadBufSize(4096); }, "", 0},
        {"same_device_name", [&](TComm& c) { c.SetDeviceName(Path(pty.slave)); }, "", 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TComm comm;
        comm.SetDeviceName(Path(pty.slave));
        comm.Open();
        const auto [text, code] = CommErrorOf([&] { k.act(comm); });
        EXPECT_EQ(text, k.text);
        EXPECT_EQ(code, k.code);
        EXPECT_TRUE(comm.Enabled());
        EXPECT_EQ(comm.ReadBufSize(), 4096);
    }

    const Case closed[] = {
        {"plain_file", [&](TComm& c) { c.SetDeviceName(Path(plain)); c.Open(); },
         "Invalid device handle, access denied (Error: -1) ", -1},
        {"missing_device", [](TComm& c) { c.SetDeviceName(u"/nonexistent/ttyUSB0"); c.Open(); },
         "Error accessing specified device (Error: 2) ", 2},
        {"dtr_flow",
         [&](TComm& c) { c.SetDeviceName(Path(pty.slave)); c.SetFlowControl(fcDTR); c.Open(); },
         "Error updating DataControlBlock (Error: 22) ", 22},
        {"four_data_bits",
         [&](TComm& c) { c.SetDeviceName(Path(pty.slave)); c.SetDatabits(da4); c.Open(); },
         "Error updating DataControlBlock (Error: 22) ", 22},
        {"escape_closed", [](TComm& c) { c.SetDTRState(true); },
         "Port not open, unable to complete operation (Error: -1) ", -1},
        {"break_closed", [](TComm& c) { c.SetBREAKState(false); },
         "Port not open, unable to complete operation (Error: -1) ", -1},
        {"read_closed", [](TComm& c) { char b; c.Read(&b, 1); }, "Read error (Error: 9) ", 9},
        {"write_closed", [](TComm& c) { c.Write("a", 1); }, "Write error (Error: 9) ", 9},
        {"buf_size_closed", [](TComm& c) { c.SetReadBufSize(1024); }, "", 0},
    };
    for (const Case& k : closed) {
        SCOPED_TRACE(k.name);
        TComm comm;
        const auto [text, code] = CommErrorOf([&] { k.act(comm); });
        EXPECT_EQ(text, k.text);
        EXPECT_EQ(code, k.code);
        // A failed open leaves the port closed, ready for another try.
        EXPECT_FALSE(comm.Enabled());
        EXPECT_EQ(comm.InQueCount(), -1);
        EXPECT_EQ(comm.OutQueCount(), -1);
        EXPECT_FALSE(comm.CTS());
    }
}

TEST(Comm, ComNumberOpensTheMappedDevice)
{
    PtyPair pty;
    const testsupport::TempDir dir;
    const fs::path root = dir.native();
    for (int i = 0; i < 7; ++i) {
        fs::create_directories(root / "sys" / ("ttyUSB" + std::to_string(i)) / "device");
    }
    fs::create_directories(root / "dev");
    fs::create_symlink(pty.slave, root / "dev" / "ttyUSB6");
    plat::SetSerialScanRoots((root / "sys").string(), (root / "dev").string());

    for (const char16_t* name : {u"\\\\.\\COM7", u"com7"}) {
        TComm comm;
        comm.SetDeviceName(name);
        comm.Open();
        EXPECT_EQ(comm.Write("hi", 2), 2);
        EXPECT_EQ(pty.Receive(2), "hi");
        comm.Close();
    }
    TComm comm;
    comm.SetDeviceName(u"\\\\.\\COM8");  // no eighth port
    EXPECT_EQ(CommErrorOf([&] { comm.Open(); }).first, "Error accessing specified device (Error: 2) ");

    plat::SetSerialScanRoots("", "");
}

struct RxLog {
    std::vector<int> counts;
    bool offMainThread = false;
};

TEST(Comm, RxCharReachesTheMainThreadWithTheCountAndStopsAtClose)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    RxLog log;
    comm.OnRxChar = [&](plat::TObject* sender, int count) {
        EXPECT_EQ(sender, &comm);
        if (!plat::InMainThread()) log.offMainThread = true;
        log.counts.push_back(count);
    };
    comm.Open();
    pty.Send("12345");
    ProcessUntil([&] { return !log.counts.empty() && log.counts.back() == 5; });
    ASSERT_FALSE(log.counts.empty());
    EXPECT_EQ(log.counts.back(), 5);
    EXPECT_FALSE(log.offMainThread);

    // Still queued: no new event until more arrives.
    const std::size_t seen = log.counts.size();
    ProcessFor(100);
    EXPECT_EQ(log.counts.size(), seen);

    comm.Close();
    pty.Send("more");
    ProcessFor(150);
    EXPECT_EQ(log.counts.size(), seen);
}

TEST(Comm, CloseDropsAnEventAlreadyHandedOver)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    int calls = 0;
    comm.OnRxChar = [&](plat::TObject*, int) { ++calls; };
    comm.Open();
    pt::ProcessEvents();
    pty.Send("x");
    // The watcher sees the byte and hands the event over while the main thread is busy.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    comm.Close();
    ProcessFor(100);
    EXPECT_EQ(calls, 0);
}

TEST(Comm, HandlerMayCloseThePort)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    int calls = 0;
    comm.OnRxChar = [&](plat::TObject*, int) {
        ++calls;
        comm.Close();
    };
    comm.Open();
    pty.Send("x");
    ProcessUntil([&] { return calls > 0; });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(comm.Enabled());
    // Open again after that works as before.
    comm.OnRxChar = nullptr;
    comm.Open();
    EXPECT_TRUE(comm.Enabled());
}

TEST(Comm, MonitorEventsFilterWhatIsDispatched)
{
    PtyPair pty;
    TComm comm;
    comm.SetDeviceName(Path(pty.slave));
    comm.SetMonitorEvents(SetOf(evCts) | SetOf(evBreak));
    int calls = 0;
    comm.OnRxChar = [&](plat::TObject*, int) { ++calls; };
    comm.Open();
    pty.Send("abc");
    ProcessFor(150);
    EXPECT_EQ(calls, 0);
    char buf[8];
    EXPECT_EQ(comm.Read(buf, sizeof buf), 3);
}

} // namespace
