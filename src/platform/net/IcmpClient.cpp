#include "plat/IcmpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace plat {

namespace {

constexpr std::uint8_t Icmp_Echo_Reply = 0;
constexpr std::uint8_t Icmp_Unreachable = 3;
constexpr std::uint8_t Icmp_Echo_Request = 8;
constexpr std::uint8_t Icmp_Time_Exceeded = 11;
constexpr std::size_t Icmp_Header = 8;

std::uint16_t Checksum(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(data[i] << 8 | data[i + 1]);
    if (size % 2) sum += static_cast<std::uint32_t>(data[size - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

String AddressText(const TIPv4Address& a)
{
    std::string s;
    for (int i = 0; i < 4; ++i) {
        if (i) s += '.';
        s += std::to_string(a[static_cast<std::size_t>(i)]);
    }
    return String(s.begin(), s.end());
}

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The ping socket hands over the ICMP message alone and owns the identifier (the kernel
// writes its own); the raw socket sees the IP header and every ICMP message of the host,
// our own requests to loopback included.
class SocketEcho final : public IIcmpEcho {
public:
    TReplyStatus Echo(const TIcmpEchoRequest& r) override
    {
        bool raw = false;
        int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd < 0) {
            const int dgram_error = errno;
            fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
            if (fd < 0) {
                const std::string why = std::strerror(dgram_error);
                throw EIcmpError(u"No ICMP socket can be opened: " + String(why.begin(), why.end()));
            }
            raw = true;
        }
        Socket sock(fd);

        const std::uint16_t id = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
        std::vector<std::uint8_t> packet(Icmp_Header + r.Payload.size());
        packet[0] = Icmp_Echo_Request;
        packet[4] = static_cast<std::uint8_t>(id >> 8);
        packet[5] = static_cast<std::uint8_t>(id);
        packet[6] = static_cast<std::uint8_t>(r.SequenceId >> 8);
        packet[7] = static_cast<std::uint8_t>(r.SequenceId);
        std::copy(r.Payload.begin(), r.Payload.end(), packet.begin() + Icmp_Header);
        const std::uint16_t sum = Checksum(packet.data(), packet.size());
        packet[2] = static_cast<std::uint8_t>(sum >> 8);
        packet[3] = static_cast<std::uint8_t>(sum);

        sockaddr_in to{};
        to.sin_family = AF_INET;
        std::memcpy(&to.sin_addr.s_addr, r.Address.data(), 4);

        TReplyStatus status;
        status.SequenceId = r.SequenceId;
        status.FromIpAddress = AddressText(r.Address);
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        const auto deadline = start + std::chrono::milliseconds(r.TimeoutMs);
        if (::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
            status.ReplyStatusType = rsError;
            return status;
        }

        std::vector<std::uint8_t> in(65536);
        for (;;) {
            const auto now = clock::now();
            if (now >= deadline) break;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 1)));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) break;
            sockaddr_in from{};
            socklen_t from_len = sizeof from;
            const ssize_t got =
                ::recvfrom(fd, in.data(), in.size(), 0, reinterpret_cast<sockaddr*>(&from), &from_len);
            if (got <= 0) continue;
            std::size_t offset = 0;
            int ttl = 0;
            if (raw) {
                if (got < 20) continue;
                offset = static_cast<std::size_t>(in[0] & 0x0F) * 4;
                ttl = in[8];
            }
            const std::size_t size = static_cast<std::size_t>(got);
            if (size < offset + Icmp_Header) continue;
            const std::uint8_t* m = in.data() + offset;
            const std::size_t m_size = size - offset;
            const std::uint16_t m_id = static_cast<std::uint16_t>(m[4] << 8 | m[5]);
            const std::uint16_t m_seq = static_cast<std::uint16_t>(m[6] << 8 | m[7]);
            if (m[0] == Icmp_Echo_Reply) {
                // The ping socket only delivers replies to its own requests.
                if (raw && (m_id != id || std::memcmp(&from.sin_addr.s_addr, r.Address.data(), 4) != 0)) continue;
                if (m_seq != r.SequenceId) continue;
                status.ReplyStatusType = rsEcho;
                status.BytesReceived = static_cast<int>(m_size);
                status.TimeToLive = ttl;
                status.MsRoundTripTime = static_cast<int>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(clock::now() - start).count());
                return status;
            }
            if (raw && (m[0] == Icmp_Unreachable || m[0] == Icmp_Time_Exceeded)) {
                // The error quotes the IP header and the first 8 bytes of our request.
                if (m_size < Icmp_Header + 20 + Icmp_Header) continue;
                const std::uint8_t* quoted_ip = m + Icmp_Header;
                const std::size_t quoted_ip_len = static_cast<std::size_t>(quoted_ip[0] & 0x0F) * 4;
                if (m_size < Icmp_Header + quoted_ip_len + Icmp_Header) continue;
                const std::uint8_t* q = quoted_ip + quoted_ip_len;
                if (q[0] != Icmp_Echo_Request || (q[4] << 8 | q[5]) != id || (q[6] << 8 | q[7]) != r.SequenceId)
                    continue;
                status.ReplyStatusType = m[0] == Icmp_Unreachable ? rsErrorUnreachable : rsErrorTTLExceeded;
                const TIPv4Address sender{static_cast<std::uint8_t>(from.sin_addr.s_addr),
                                          static_cast<std::uint8_t>(from.sin_addr.s_addr >> 8),
                                          static_cast<std::uint8_t>(from.sin_addr.s_addr >> 16),
                                          static_cast<std::uint8_t>(from.sin_addr.s_addr >> 24)};
                status.FromIpAddress = AddressText(sender);
                return status;
            }
        }
        status.ReplyStatusType = rsTimeOut;
        return status;
    }
};

} // namespace

bool ParseIPv4Address(StringView text, TIPv4Address& address)
{
    TIPv4Address out{};
    std::size_t part = 0;
    std::size_t pos = 0;
    for (;;) {
        std::size_t digits = 0;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            value = value * 10 + (text[pos] - u'0');
            ++pos;
            if (++digits > 3) return false;
        }
        if (digits == 0 || value > 255) return false;
        out[part++] = static_cast<std::uint8_t>(value);
        if (part == 4) break;
        if (pos >= text.size() || text[pos] != u'.') return false;
        ++pos;
    }
    if (pos != text.size()) return false;
    address = out;
    return true;
}

IIcmpEcho& SystemIcmpEcho()
{
    static SocketEcho echo;
    return echo;
}

TIcmpClient::TIcmpClient(TComponent* AOwner) : TComponent(AOwner) {}

void TIcmpClient::Ping(const String& Buffer)
{
    TIcmpEchoRequest request;
    if (!ParseIPv4Address(host_, request.Address))
        throw EIcmpError(u"Invalid IP address: \"" + host_ + u"\"");
    const std::size_t room =
        packetSize_ > static_cast<int>(Icmp_Header) ? static_cast<std::size_t>(packetSize_) - Icmp_Header : 0;
    request.Payload.reserve(std::min(Buffer.size(), room));
    for (char16_t c : Buffer) {
        if (request.Payload.size() >= room) break;
        request.Payload += c > 0xFF ? '?' : static_cast<char>(c);
    }
    request.SequenceId = nextSequence_++;
    request.TimeoutMs = receiveTimeout_ > 0 ? static_cast<std::uint32_t>(receiveTimeout_) : 0;
    IIcmpEcho& echo = echo_ ? *echo_ : SystemIcmpEcho();
    replyStatus_ = echo.Echo(request);
    if (replyStatus_.ReplyStatusType != rsEcho) replyStatus_.BytesReceived = 0;
    if (OnReply) OnReply(this, replyStatus_);
}

} // namespace plat
