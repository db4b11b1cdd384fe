#pragma once
// Serial port component: a device opened exclusively, its line settings, reads and writes
// with time-outs under a lock, queue counts, purge, modem lines, and a thread that watches the
// port and hands its events to the main thread.
//
// On this platform the port is a terminal device. "\\.\COMn" and "COMn" name the n-th serial
// device with hardware behind it (the shell's COM-port numbering); other names are paths.
// What terminals cannot do: one and a half stop bits (two are used), DSR/DTR handshaking
// (refused), DSR sensitivity, error-character replacement, null stripping, the XON/XOFF
// limits and buffer sizes (kept but not applied), the event character (no evRxFlag), and the
// hold flags (always false).
#include <cstdint>
#include <functional>
#include <memory>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {
class TSerialPort;
class TCriticalSection;
}

enum TBaudrate {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000,
    br57600, br115200, br128000, br256000, br1500000, br3000000
};
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopbits { sb10, sb15, sb20 };
enum TDatabits { da4, da5, da6, da7, da8 };
enum TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
enum TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum TCommEventType { evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty };

// Sets: bit n stands for the member of ordinal n.
using TCommOptions = std::uint32_t;
using TCommEventTypes = std::uint32_t;
constexpr std::uint32_t SetOf(int Ordinal) { return 1u << Ordinal; }
constexpr TCommEventTypes AllCommEvents = 511;

// Line value of a rate.
std::uint32_t BaudRateValue(TBaudrate Rate);

class ECommError : public plat::Exception {
public:
    ECommError(const plat::String& Msg, int Code);
    int ErrorCode;
};

using TCommEvent = std::function<void(plat::TObject* Sender, std::uint32_t Status)>;
using TCommRxCharEvent = std::function<void(plat::TObject* Sender, int Count)>;
using TCommErrorEvent = std::function<void(plat::TObject* Sender, int Errors)>;

class TCustomComm;
class TCommEventThread;

class TCommEventChars : public plat::TPersistent {
public:
    explicit TCommEventChars(TCustomComm* Owner);
    plat::String ClassName() const override { return u"TCommEventChars"; }
    void Assign(const plat::TPersistent* Source) override;

    char XonChar() const { return FXonChar; }
    char XoffChar() const { return FXoffChar; }
    char ErrorChar() const { return FErrorChar; }
    char EofChar() const { return FEofChar; }
    char EvtChar() const { return FEvtChar; }
    void SetXonChar(char Value);
    void SetXoffChar(char Value);
    void SetErrorChar(char Value);
    void SetEofChar(char Value);
    void SetEvtChar(char Value);

private:
    void Changed();
    TCustomComm* FOwner;
    char FXonChar = 17;
    char FXoffChar = 19;
    char FErrorChar = 0;
    char FEofChar = 0;
    char FEvtChar = 0;
};

class TCustomComm : public plat::TComponent {
public:
    explicit TCustomComm(plat::TComponent* Owner = nullptr);
    ~TCustomComm() override;
    plat::String ClassName() const override { return u"TCustomComm"; }

    void Open();
    void Close();
    bool Enabled() const;
    // Bytes transferred, or -1 when the transfer did not end within the time-out. A read
    // takes what has arrived and returns at once (0 when nothing has).
    int Write(const void* Buffer, int Count);
    int Read(void* Buffer, int Count);
    int InQueCount() const;   // -1 when closed
    int OutQueCount() const;  // -1 when closed
    void PurgeIn();
    void PurgeOut();
    void SetDTRState(bool State);
    void SetRTSState(bool State);
    void SetXONState(bool State);
    void SetBREAKState(bool State);

    int Handle() const;  // -1 when closed
    bool CTS() const;
    bool DSR() const;
    bool RING() const;
    bool RLSD() const;
    bool CtsHold() const { return false; }
    bool DsrHold() const { return false; }
    bool RlsdHold() const { return false; }
    bool XoffHold() const { return false; }
    bool XOffSent() const { return false; }

    const plat::String& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const plat::String& Value);
    int ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(int Value) { FReadTimeout = Value; }
    int WriteTimeout() const { return FWriteTimeout; }
    void SetWriteTimeout(int Value) { FWriteTimeout = Value; }
    int ReadBufSize() const { return FReadBufSize; }
    void SetReadBufSize(int Value);
    int WriteBufSize() const { return FWriteBufSize; }
    void SetWriteBufSize(int Value);
    TCommEventTypes MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TCommEventTypes Value);
    TBaudrate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudrate Value);
    TParity Parity() const { return FParity; }
    void SetParity(TParity Value);
    TStopbits Stopbits() const { return FStopbits; }
    void SetStopbits(TStopbits Value);
    TDatabits Databits() const { return FDatabits; }
    void SetDatabits(TDatabits Value);
    TCommEventChars* EventChars() const { return FEventChars.get(); }
    void SetEventChars(const TCommEventChars* Value) { FEventChars->Assign(Value); }
    TCommOptions Options() const { return FOptions; }
    void SetOptions(TCommOptions Value);
    TFlowControl FlowControl() const { return FFlowControl; }
    void SetFlowControl(TFlowControl Value);

    plat::TNotifyEvent OnBreak, OnCts, OnDsr, OnRing, OnRlsd, OnRxFlag, OnTxEmpty;
    TCommErrorEvent OnError;
    TCommRxCharEvent OnRxChar;

    // Applies the line settings to the open port; nothing when closed.
    void UpdateDCB();

protected:
    // Opens the device named by DeviceName.
    virtual void CreateHandle();

private:
    void HandleEvent(std::uint32_t Mask);
    void RefuseWhileOpen() const;
    void RequireOpen() const;

    std::unique_ptr<plat::TSerialPort> FPort;
    std::unique_ptr<plat::TCriticalSection> FCriticalSection;
    plat::String FDeviceName = u"Com2";
    int FReadTimeout = 1000;
    int FWriteTimeout = 1000;
    int FReadBufSize = 4096;
    int FWriteBufSize = 2048;
    TCommEventTypes FMonitorEvents = AllCommEvents;
    TBaudrate FBaudRate = br9600;
    TParity FParity = paNone;
    TStopbits FStopbits = sb10;
    TDatabits FDatabits = da8;
    std::unique_ptr<TCommEventThread> FEventThread;
    std::unique_ptr<TCommEventChars> FEventChars;
    TCommOptions FOptions = 0;
    TFlowControl FFlowControl = fcDefault;
};

class TComm : public TCustomComm {
public:
    explicit TComm(plat::TComponent* Owner = nullptr) : TCustomComm(Owner) {}
    plat::String ClassName() const override { return u"TComm"; }
};
