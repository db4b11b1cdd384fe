#include "plat/UdpServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "plat/IcmpClient.h"  // ParseIPv4Address

namespace plat {

namespace {

String Widen(const std::string& s) { return String(s.begin(), s.end()); }

String SystemReason(int err) { return Widen(std::strerror(err)); }

} // namespace

struct TUdpServer::Impl {
    int fd = -1;
    int wakeRead = -1, wakeWrite = -1;  // a byte on the pipe ends the listener
    std::uint16_t boundPort = 0;
    std::thread listener;
    std::atomic<std::thread::id> listenerId{};
    std::mutex sendLock;

    void Close()
    {
        if (wakeWrite >= 0) {
            const char b = 1;
            [[maybe_unused]] auto n = ::write(wakeWrite, &b, 1);
        }
        if (listener.joinable()) listener.join();
        std::lock_guard<std::mutex> g(sendLock);
        for (int* f : {&fd, &wakeRead, &wakeWrite})
            if (*f >= 0) {
                ::close(*f);
                *f = -1;
            }
        boundPort = 0;
    }
};

TUdpServer::TUdpServer(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {}

TUdpServer::~TUdpServer() { impl_->Close(); }

bool TUdpServer::Active() const { return impl_->fd >= 0; }

std::uint16_t TUdpServer::BoundPort() const { return impl_->boundPort; }

void TUdpServer::SetBufferSize(int Value) { bufferSize_ = Value < 1 ? 1 : Value; }

void TUdpServer::SetDefaultPort(std::uint16_t Value)
{
    if (Value == defaultPort_) return;
    defaultPort_ = Value;
    if (Active()) {
        SetActive(false);
        SetActive(true);
    }
}

void TUdpServer::SetActive(bool Value)
{
    if (Value == Active()) return;
    if (!Value) {
        if (impl_->listenerId.load() == std::this_thread::get_id())
            throw EUdpError(u"The UDP server cannot be deactivated from its own read handler");
        impl_->Close();
        return;
    }

    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw EUdpError(u"Cannot open a UDP socket: " + SystemReason(errno));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(defaultPort_);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const int err = errno;
        ::close(fd);
        throw EUdpError(u"Cannot bind UDP port " + Widen(std::to_string(defaultPort_)) + u": " + SystemReason(err));
    }
    socklen_t len = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        const int err = errno;
        ::close(fd);
        throw EUdpError(u"Cannot start the UDP listener: " + SystemReason(err));
    }
    impl_->fd = fd;
    impl_->wakeRead = pipeFds[0];
    impl_->wakeWrite = pipeFds[1];
    impl_->boundPort = ntohs(local.sin_port);

    const std::size_t capacity = static_cast<std::size_t>(bufferSize_);
    impl_->listener = std::thread([this, fd, wake = pipeFds[0], capacity] {
        impl_->listenerId.store(std::this_thread::get_id());
        // One byte more than delivered, so that MSG_TRUNC's length tells an oversized datagram.
        std::vector<std::uint8_t> buffer(capacity + 1);
        pollfd fds[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents) break;
            if (!(fds[0].revents & POLLIN)) continue;
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0) continue;
            if (static_cast<std::size_t>(n) > capacity) continue;
            if (!OnUDPRead) continue;
            char text[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
            const TUdpPeer peer{Widen(text), ntohs(from.sin_port)};
            try {
                OnUDPRead(this, buffer.data(), static_cast<std::size_t>(n), peer);
            } catch (...) {
                // A handler's failure ends neither the listener nor the program: the datagram
                // is lost, as one lost on the network would be.
            }
        }
        impl_->listenerId.store(std::thread::id());
    });
}

void TUdpServer::Send(const String& IP, std::uint16_t Port, const std::uint8_t* Data, std::size_t Size)
{
    TIPv4Address address;
    if (!ParseIPv4Address(IP, address)) throw EUdpError(u"Not an IPv4 address: \"" + IP + u"\"");
    std::lock_guard<std::mutex> g(impl_->sendLock);
    if (!Active()) throw EUdpError(u"The UDP server is not active");
    sockaddr_in to{};
    to.sin_family = AF_INET;
    std::memcpy(&to.sin_addr.s_addr, address.data(), 4);
    to.sin_port = htons(Port);
    const ssize_t n = ::sendto(impl_->fd, Data, Size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    if (n < 0 || static_cast<std::size_t>(n) != Size)
        throw EUdpError(u"Cannot send to " + IP + u":" + Widen(std::to_string(Port)) + u": " +
                        SystemReason(n < 0 ? errno : EMSGSIZE));
}

} // namespace plat
