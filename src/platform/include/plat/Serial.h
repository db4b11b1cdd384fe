#pragma once
// A serial device on termios. Calls answer 0 or the system error number (errno) so that
// callers can raise their own exceptions with it; nothing here raises.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

enum TSerialParity { spNone, spOdd, spEven, spMark, spSpace };

// Line settings. Rates without a termios constant (14400, 56000, 128000, ...) are set as
// arbitrary rates. A device cannot do one and a half stop bits: callers ask for two.
struct TSerialSettings {
    std::uint32_t BaudRate = 9600;
    int DataBits = 8;  // 5..8
    TSerialParity Parity = spNone;
    int StopBits = 1;  // 1 or 2
    bool RtsCts = false;       // hardware handshake
    bool XonXoff = false;      // software handshake, both directions
    bool ParityCheck = false;  // input parity checking
    unsigned char XonChar = 17;
    unsigned char XoffChar = 19;
};

// Event bits of WaitEvents (the values of the comm event mask the component publishes).
enum : std::uint32_t {
    seRxChar = 0x01,
    seRxFlag = 0x02,
    seTxEmpty = 0x04,
    seCts = 0x08,
    seDsr = 0x10,
    seRlsd = 0x20,
    seBreak = 0x40,
    seError = 0x80,
    seRing = 0x100,
};

// Modem status bits of ModemStatus.
enum : std::uint32_t { smCts = 0x10, smDsr = 0x20, smRing = 0x40, smRlsd = 0x80 };

// Line error bits of TakeLineErrors.
enum : std::uint32_t { leOverrun = 0x2, leParity = 0x4, leFrame = 0x8, leBreak = 0x10 };

class TSerialPort {
public:
    // What Open answers for a path that is not a character device.
    static constexpr int NotCharDevice = -1;

    TSerialPort();
    TSerialPort(const TSerialPort&) = delete;
    TSerialPort& operator=(const TSerialPort&) = delete;
    ~TSerialPort();

    // Exclusive, non-blocking open; raw mode, reads return what has arrived. 0, an errno, or
    // NotCharDevice (the descriptor is closed again).
    int Open(const std::string& Path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Handle() const { return fd_; }

    int GetSettings(TSerialSettings& Settings) const;
    // EINVAL for data bits or stop bits the device cannot take.
    int SetSettings(const TSerialSettings& Settings);

    // Bytes transferred (0 when nothing has arrived and Timeout is 0), -1 when not a byte
    // arrived / not all bytes were taken within Timeout ms, -2 on a failure (LastError).
    long Read(void* Buffer, std::size_t Count, int Timeout);
    long Write(const void* Buffer, std::size_t Count, int Timeout);
    int LastError() const { return lastError_; }

    int InQueue() const;   // -1 on failure
    int OutQueue() const;  // -1 on failure
    int Purge(bool Input, bool Output);
    int SetDTR(bool On);
    int SetRTS(bool On);
    int SetBreak(bool On);
    // Output as if XON (true) or XOFF (false) had been received.
    int SetXON(bool On);
    // 0 when the device has no modem lines.
    std::uint32_t ModemStatus() const;
    // Line errors counted since the last call (overrun, parity, frame, break).
    std::uint32_t TakeLineErrors();

    // Waits up to Timeout ms for one of the events in Mask and answers the events seen (0 on
    // time-out or Wake). Received bytes are reported when the input queue grows, line and
    // modem changes against the previous call, an empty output queue once after it held data.
    std::uint32_t WaitEvents(std::uint32_t Mask, int Timeout);
    // Ends a WaitEvents running on another thread at once. Safe from any thread.
    void Wake();

private:
    std::uint32_t Look();

    int fd_ = -1;
    int wakeFd_ = -1;
    int lastError_ = 0;
    int lastIn_ = 0;
    int lastOut_ = 0;
    std::uint32_t lastModem_ = 0;
    bool haveCounters_ = false;
    std::uint32_t counters_[5] = {};  // break, frame, overrun, parity, received
    std::atomic<std::uint32_t> errorsSeen_{0};
};

// The line rate of a terminal as the kernel holds it (arbitrary rates included); 0 on failure.
std::uint32_t SerialRateOf(int Fd);

// Device paths ("/dev/ttyUSB0") of the serial devices that have hardware behind them, read
// from the kernel's tty classes without opening any device: on-board ports (ttyS) first,
// then USB adapters (ttyUSB), then modems (ttyACM), each by number.
std::vector<std::string> ListSerialDevices();
// Points the scan at another sysfs tty folder and device folder (tests use a fake tree);
// empty texts restore "/sys/class/tty" and "/dev".
void SetSerialScanRoots(const std::string& SysClassTty, const std::string& DevDir);

} // namespace plat
