#pragma once
// UDP server component: one IPv4 socket bound to DefaultPort (0: the system picks the port,
// BoundPort tells which), a listener thread that calls OnUDPRead with every datagram and
// its sender, and Send to any address and port from the bound socket.
//
// - OnUDPRead runs on the listener thread, never on the user-interface thread; the handler
//   must hand anything for windows over itself. An exception leaving the handler costs that
//   datagram only; the listener goes on.
// - A datagram longer than BufferSize is dropped whole: the handler never sees a cut one.
// - SetActive(false) (and the destructor) stops the listener and waits for it, so no
//   handler call is running or starts after it returns. Deactivating from inside the
//   handler raises EUdpError.
// - Changing DefaultPort of an active server binds the new port at once.
// - Binding failures and sends on an inactive server raise EUdpError with the system's reason.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class EUdpError : public Exception { using Exception::Exception; };

struct TUdpPeer {
    String IP;  // dotted quad
    std::uint16_t Port = 0;
};

using TUDPReadEvent =
    std::function<void(TObject* Sender, const std::uint8_t* Data, std::size_t Size, const TUdpPeer& Peer)>;

class TUdpServer : public TComponent {
public:
    explicit TUdpServer(TComponent* AOwner = nullptr);
    ~TUdpServer() override;
    String ClassName() const override { return u"TUdpServer"; }

    bool Active() const;
    void SetActive(bool Value);

    // Local port to bind; 0 lets the system choose.
    std::uint16_t DefaultPort() const { return defaultPort_; }
    void SetDefaultPort(std::uint16_t Value);
    // Port the socket is bound to while active, else 0.
    std::uint16_t BoundPort() const;

    // Largest datagram delivered, in bytes (8192 unless set); takes effect at activation.
    int BufferSize() const { return bufferSize_; }
    void SetBufferSize(int Value);

    // One datagram to IP (dotted quad) : Port. Raises EUdpError when inactive, for an
    // address text that is not a dotted quad, or when the system refuses the send.
    void Send(const String& IP, std::uint16_t Port, const std::uint8_t* Data, std::size_t Size);
    void Send(const String& IP, std::uint16_t Port, const std::vector<std::uint8_t>& Data)
    {
        Send(IP, Port, Data.data(), Data.size());
    }

    TUDPReadEvent OnUDPRead;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::uint16_t defaultPort_ = 0;
    int bufferSize_ = 8192;
};

} // namespace plat
