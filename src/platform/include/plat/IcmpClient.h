#pragma once
// ICMP echo client component: one echo request per Ping call, waiting at most
// ReceiveTimeout milliseconds for the answer; the outcome goes to OnReply before Ping
// returns and stays readable in ReplyStatus.
//
// - Host is an IPv4 dotted quad of four decimal parts 0..255 ("010.001.002.003" is 10.1.2.3,
//   never octal). Any other host text (empty, a blank part, a name, a part above 255)
//   raises EIcmpError from Ping before anything is sent.
// - The payload is the given text, one byte per UTF-16 unit (units above 255 become '?');
//   the client numbers its requests itself.
// - BytesReceived is the size of the ICMP echo reply (header and data) and is above 0 only
//   for an echo reply to this request; time-out, unreachable and send failures report 0.
// - Sockets: the unprivileged ping socket when the kernel allows it, else a raw socket.
//   When neither can be opened Ping raises EIcmpError.
// - The echo itself is replaceable (SetEcho): tests answer requests without a network.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class EIcmpError : public Exception { using Exception::Exception; };

enum TReplyStatusTypes { rsEcho, rsError, rsTimeOut, rsErrorUnreachable, rsErrorTTLExceeded };

struct TReplyStatus {
    int BytesReceived = 0;
    String FromIpAddress;
    int MsRoundTripTime = 0;
    int TimeToLive = 0;
    std::uint16_t SequenceId = 0;
    TReplyStatusTypes ReplyStatusType = rsError;
};

using TIPv4Address = std::array<std::uint8_t, 4>;

// Parses a dotted quad as the client does; false for any text the client refuses.
bool ParseIPv4Address(StringView Text, TIPv4Address& Address);

// One echo as it goes to the network.
struct TIcmpEchoRequest {
    TIPv4Address Address{};
    std::string Payload;
    std::uint16_t SequenceId = 0;
    std::uint32_t TimeoutMs = 0;
};

// Sends one echo request and waits for its reply (or the time-out). Raises EIcmpError
// when it cannot send at all (no socket).
class IIcmpEcho {
public:
    virtual ~IIcmpEcho() = default;
    virtual TReplyStatus Echo(const TIcmpEchoRequest& Request) = 0;
};

// The system's echo over sockets.
IIcmpEcho& SystemIcmpEcho();

using TReplyEvent = std::function<void(TObject* Sender, const TReplyStatus& ReplyStatus)>;

class TIcmpClient : public TComponent {
public:
    explicit TIcmpClient(TComponent* AOwner = nullptr);
    String ClassName() const override { return u"TIcmpClient"; }

    const String& Host() const { return host_; }
    void SetHost(const String& Value) { host_ = Value; }
    // Milliseconds to wait for the reply of one request.
    int ReceiveTimeout() const { return receiveTimeout_; }
    void SetReceiveTimeout(int Value) { receiveTimeout_ = Value; }
    // Largest request the client sends: a longer payload is cut to fit (8 header bytes included).
    int PacketSize() const { return packetSize_; }
    void SetPacketSize(int Value) { packetSize_ = Value; }

    // One echo request with Buffer as payload; OnReply fires before it returns.
    void Ping(const String& Buffer = String());
    const TReplyStatus& ReplyStatus() const { return replyStatus_; }

    // Not owned; null goes back to SystemIcmpEcho().
    void SetEcho(IIcmpEcho* Echo) { echo_ = Echo; }

    TReplyEvent OnReply;

private:
    String host_;
    int receiveTimeout_ = 5000;
    int packetSize_ = 1024;
    std::uint16_t nextSequence_ = 1;
    TReplyStatus replyStatus_;
    IIcmpEcho* echo_ = nullptr;
};

} // namespace plat
