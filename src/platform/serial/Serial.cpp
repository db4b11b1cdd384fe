#include "plat/Serial.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "SerialRate.h"

namespace plat {

namespace {

struct RateCode {
    std::uint32_t rate;
    speed_t code;
};

constexpr RateCode kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

bool StandardRate(std::uint32_t rate, speed_t& code)
{
    for (const RateCode& r : kRates)
        if (r.rate == rate) {
            code = r.code;
            return true;
        }
    return false;
}

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

TSerialPort::TSerialPort() = default;

TSerialPort::~TSerialPort()
{
    Close();
}

int TSerialPort::Open(const std::string& Path)
{
    Close();
    const int fd = ::open(Path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) {
        ::close(fd);
        return NotCharDevice;
    }
    // A character device without a line discipline (a null device, a sound card) is no port.
    termios t {};
    if (::tcgetattr(fd, &t) != 0) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    // Nobody else opens the line while we hold it (privileged processes excepted).
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &t) != 0) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake < 0) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    fd_ = fd;
    wakeFd_ = wake;
    lastError_ = 0;
    lastIn_ = InQueue();
    if (lastIn_ < 0) lastIn_ = 0;
    lastOut_ = 0;
    lastModem_ = ModemStatus();
    serial_icounter_struct ic {};
    haveCounters_ = ::ioctl(fd_, TIOCGICOUNT, &ic) == 0;
    if (haveCounters_) {
        counters_[0] = ic.brk;
        counters_[1] = ic.frame;
        counters_[2] = ic.overrun;
        counters_[3] = ic.parity;
        counters_[4] = ic.rx;
    }
    errorsSeen_ = 0;
    return 0;
}

void TSerialPort::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
}

int TSerialPort::GetSettings(TSerialSettings& Settings) const
{
    termios t {};
    if (::tcgetattr(fd_, &t) != 0) return errno;
    Settings.BaudRate = SerialRateOf(fd_);
    switch (t.c_cflag & CSIZE) {
    case CS5: Settings.DataBits = 5; break;
    case CS6: Settings.DataBits = 6; break;
    case CS7: Settings.DataBits = 7; break;
    default: Settings.DataBits = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        Settings.Parity = spNone;
    else if (t.c_cflag & CMSPAR)
        Settings.Parity = (t.c_cflag & PARODD) ? spMark : spSpace;
    else
        Settings.Parity = (t.c_cflag & PARODD) ? spOdd : spEven;
    Settings.StopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    Settings.RtsCts = (t.c_cflag & CRTSCTS) != 0;
    Settings.XonXoff = (t.c_iflag & (IXON | IXOFF)) != 0;
    Settings.ParityCheck = (t.c_iflag & INPCK) != 0;
    Settings.XonChar = t.c_cc[VSTART];
    Settings.XoffChar = t.c_cc[VSTOP];
    return 0;
}

int TSerialPort::SetSettings(const TSerialSettings& Settings)
{
    termios t {};
    if (::tcgetattr(fd_, &t) != 0) return errno;
    tcflag_t size = 0;
    switch (Settings.DataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return EINVAL;
    }
    if (Settings.StopBits != 1 && Settings.StopBits != 2) return EINVAL;
    if (Settings.BaudRate == 0) return EINVAL;
    speed_t code = B38400;
    const bool standard = StandardRate(Settings.BaudRate, code);
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
    t.c_cflag = (t.c_cflag & ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS)) | size | CLOCAL | CREAD;
    switch (Settings.Parity) {
    case spNone: break;
    case spOdd: t.c_cflag |= PARENB | PARODD; break;
    case spEven: t.c_cflag |= PARENB; break;
    case spMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case spSpace: t.c_cflag |= PARENB | CMSPAR; break;
    }
    if (Settings.StopBits == 2) t.c_cflag |= CSTOPB;
    if (Settings.RtsCts) t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    if (Settings.XonXoff) t.c_iflag |= IXON | IXOFF;
    if (Settings.ParityCheck) t.c_iflag |= INPCK;
    t.c_cc[VSTART] = Settings.XonChar;
    t.c_cc[VSTOP] = Settings.XoffChar;
    // Straight to the driver: the C library's check afterwards calls a pseudo-terminal's
    // pinned framing bits a failure, though the line took everything it can take.
    if (::ioctl(fd_, TCSETS, &t) != 0) return errno;
    if (!standard) return serial_detail::SetArbitraryRate(fd_, Settings.BaudRate);
    return 0;
}

long TSerialPort::Read(void* Buffer, std::size_t Count, int Timeout)
{
    if (fd_ < 0) {
        lastError_ = EBADF;
        return -2;
    }
    if (Count == 0) return 0;
    if (Timeout > 0) {
        pollfd p {fd_, POLLIN, 0};
        int r;
        do r = ::poll(&p, 1, Timeout);
        while (r < 0 && errno == EINTR);
        if (r == 0) return -1;
    }
    ssize_t n;
    do n = ::read(fd_, Buffer, Count);
    while (n < 0 && errno == EINTR);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EAGAIN) return Timeout > 0 ? -1 : 0;
    lastError_ = errno;
    return -2;
}

long TSerialPort::Write(const void* Buffer, std::size_t Count, int Timeout)
{
    if (fd_ < 0) {
        lastError_ = EBADF;
        return -2;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(Timeout > 0 ? Timeout : 0);
    const char* p = static_cast<const char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const ssize_t n = ::write(fd_, p + done, Count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            lastError_ = errno;
            return -2;
        }
        const int left = MsLeft(deadline);
        if (left == 0) return -1;
        pollfd pf {fd_, POLLOUT, 0};
        if (::poll(&pf, 1, left) == 0) return -1;
    }
    return static_cast<long>(done);
}

int TSerialPort::InQueue() const
{
    int n = 0;
    return fd_ >= 0 && ::ioctl(fd_, FIONREAD, &n) == 0 ? n : -1;
}

int TSerialPort::OutQueue() const
{
    int n = 0;
    return fd_ >= 0 && ::ioctl(fd_, TIOCOUTQ, &n) == 0 ? n : -1;
}

int TSerialPort::Purge(bool Input, bool Output)
{
    if (!Input && !Output) return 0;
    const int what = Input && Output ? TCIOFLUSH : Input ? TCIFLUSH : TCOFLUSH;
    return ::tcflush(fd_, what) == 0 ? 0 : errno;
}

int TSerialPort::SetDTR(bool On)
{
    int bit = TIOCM_DTR;
    return ::ioctl(fd_, On ? TIOCMBIS : TIOCMBIC, &bit) == 0 ? 0 : errno;
}

int TSerialPort::SetRTS(bool On)
{
    int bit = TIOCM_RTS;
    return ::ioctl(fd_, On ? TIOCMBIS : TIOCMBIC, &bit) == 0 ? 0 : errno;
}

int TSerialPort::SetBreak(bool On)
{
    return ::ioctl(fd_, On ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : errno;
}

int TSerialPort::SetXON(bool On)
{
    return ::tcflow(fd_, On ? TCOON : TCOOFF) == 0 ? 0 : errno;
}

std::uint32_t TSerialPort::ModemStatus() const
{
    int bits = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &bits) != 0) return 0;
    std::uint32_t s = 0;
    if (bits & TIOCM_CTS) s |= smCts;
    if (bits & TIOCM_DSR) s |= smDsr;
    if (bits & TIOCM_RNG) s |= smRing;
    if (bits & TIOCM_CAR) s |= smRlsd;
    return s;
}

std::uint32_t TSerialPort::TakeLineErrors()
{
    return errorsSeen_.exchange(0);
}

std::uint32_t TSerialPort::Look()
{
    std::uint32_t ev = 0;
    bool received = false;
    if (haveCounters_) {
        serial_icounter_struct ic {};
        if (::ioctl(fd_, TIOCGICOUNT, &ic) == 0) {
            std::uint32_t errors = 0;
            if (static_cast<std::uint32_t>(ic.brk) != counters_[0]) {
                ev |= seBreak;
                errors |= leBreak;
            }
            if (static_cast<std::uint32_t>(ic.frame) != counters_[1]) errors |= leFrame;
            if (static_cast<std::uint32_t>(ic.overrun + ic.buf_overrun) != counters_[2]) errors |= leOverrun;
            if (static_cast<std::uint32_t>(ic.parity) != counters_[3]) errors |= leParity;
            received = static_cast<std::uint32_t>(ic.rx) != counters_[4];
            counters_[0] = ic.brk;
            counters_[1] = ic.frame;
            counters_[2] = ic.overrun + ic.buf_overrun;
            counters_[3] = ic.parity;
            counters_[4] = ic.rx;
            if (errors & (leFrame | leOverrun | leParity)) ev |= seError;
            if (errors) errorsSeen_ |= errors;
        }
    }
    const int in = InQueue();
    // Without receive counters (pseudo-terminals, some adapters) a growing queue is the sign.
    if (in > lastIn_) received = true;
    if (received && in > 0) ev |= seRxChar;
    lastIn_ = in < 0 ? 0 : in;
    const int out = OutQueue();
    if (lastOut_ > 0 && out == 0) ev |= seTxEmpty;
    lastOut_ = out < 0 ? 0 : out;
    const std::uint32_t modem = ModemStatus();
    const std::uint32_t changed = modem ^ lastModem_;
    if (changed & smCts) ev |= seCts;
    if (changed & smDsr) ev |= seDsr;
    if (changed & smRlsd) ev |= seRlsd;
    // The ring indicator counts when it goes off, at the end of a ring.
    if ((changed & smRing) && !(modem & smRing)) ev |= seRing;
    lastModem_ = modem;
    return ev;
}

std::uint32_t TSerialPort::WaitEvents(std::uint32_t Mask, int Timeout)
{
    if (fd_ < 0) return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(Timeout > 0 ? Timeout : 0);
    // Line and modem changes have no descriptor to wait on: look again every few milliseconds.
    constexpr int kSlice = 20;
    bool hungUp = false;
    for (;;) {
        const std::uint32_t ev = Look() & Mask;
        if (ev) return ev;
        const int left = MsLeft(deadline);
        if (left == 0) return 0;
        pollfd p[2] = {{wakeFd_, POLLIN, 0}, {fd_, 0, 0}};
        // Waiting for input only while the queue is empty; queued bytes keep it readable.
        if (!hungUp && lastIn_ == 0 && (Mask & seRxChar)) p[1].events = POLLIN;
        const int r = ::poll(p, p[1].events ? 2 : 1, left < kSlice ? left : kSlice);
        if (r > 0 && (p[0].revents & POLLIN)) {
            std::uint64_t v;
            (void)!::read(wakeFd_, &v, sizeof v);
            return 0;
        }
        if (r > 0 && (p[1].revents & (POLLHUP | POLLERR | POLLNVAL))) hungUp = true;
    }
}

void TSerialPort::Wake()
{
    if (wakeFd_ < 0) return;
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
}

} // namespace plat
