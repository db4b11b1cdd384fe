#include "CommInt.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "plat/Serial.h"
#include "plat/SysUtils.h"
#include "plat/Threads.h"

namespace {

const plat::String kPortOpen = u"Port already assigned (open)";
const plat::String kNotOpen = u"Port not open, unable to complete operation";

[[noreturn]] void RaiseCommError(const plat::String& Msg, int Code)
{
    throw ECommError(Msg, Code);
}

bool EqualsNoCase(plat::StringView a, plat::StringView b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// "\\.\COMn" and "COMn" go through the shell's COM-port numbering; an unknown number gives
// a path that does not exist, so opening it fails as for a missing port.
std::string DevicePath(const plat::String& Name)
{
    plat::StringView rest = Name;
    const plat::StringView prefix = u"\\\\.\\";
    if (rest.substr(0, prefix.size()) == prefix) rest.remove_prefix(prefix.size());
    if (rest.size() > 3 && rest.size() <= 6 && EqualsNoCase(rest.substr(0, 3), u"COM")) {
        int n = 0;
        bool digits = true;
        for (char16_t c : rest.substr(3)) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            n = n * 10 + (c - u'0');
        }
        if (digits) {
            // COMn is the n-th device of the port list the settings windows offer.
            const std::vector<std::string> devices = plat::ListSerialDevices();
            return n >= 1 && static_cast<std::size_t>(n) <= devices.size()
                       ? devices[static_cast<std::size_t>(n) - 1]
                       : std::string("/nonexistent/COM") + std::to_string(n);
        }
    }
    return plat::StringToUtf8(Name);
}

} // namespace

std::uint32_t BaudRateValue(TBaudrate Rate)
{
    static const std::uint32_t values[] = {110,   300,   600,    1200,   2400,   4800,   9600,    14400,  19200,
                                           38400, 56000, 57600,  115200, 128000, 256000, 1500000, 3000000};
    return values[Rate];
}

ECommError::ECommError(const plat::String& Msg, int Code)
    : plat::Exception(Msg + u" (Error: " + plat::IntToStr(Code) + u") "), ErrorCode(Code)
{
}

// ---- event thread ------------------------------------------------------------------------

// What a handed-over dispatch shares with the thread; it outlives both when Close runs from
// inside an event handler.
struct CommSignal {
    std::atomic<bool> stopped{false};
    plat::TSimpleEvent done;
    std::function<void(std::uint32_t)> onSignal;
};

class TCommEventThread : public plat::TThread {
public:
    TCommEventThread(plat::TSerialPort& Port, TCommEventTypes Events, std::function<void(std::uint32_t)> OnSignal)
        : plat::TThread(true), FPort(Port), FSignal(std::make_shared<CommSignal>())
    {
        FSignal->onSignal = std::move(OnSignal);
        // The comm event mask has the same bits as the platform's event bits.
        static const std::uint32_t bits[] = {plat::seBreak, plat::seCts,    plat::seDsr,
                                             plat::seError, plat::seRing,   plat::seRlsd,
                                             plat::seRxChar, plat::seRxFlag, plat::seTxEmpty};
        for (int i = 0; i < 9; ++i)
            if (Events & SetOf(i)) FEventMask |= bits[i];
        SetPriority(plat::tpHigher);
        Start();
    }
    ~TCommEventThread() override
    {
        Stop();
        if (!Finished()) WaitFor();
    }
    // Wakes the thread and ends it; no event is dispatched from here on.
    void Stop()
    {
        FSignal->stopped = true;
        FPort.Wake();
        Terminate();
    }

protected:
    void Execute() override
    {
        while (!Terminated()) {
            const std::uint32_t mask = FPort.WaitEvents(FEventMask, 500);
            if (!mask || Terminated()) continue;
            std::shared_ptr<CommSignal> s = FSignal;
            s->done.ResetEvent();
            Queue([s, mask] {
                if (!s->stopped) s->onSignal(mask);
                s->done.SetEvent();
            });
            // Like a synchronised call, but Stop ends the wait even while the main thread is
            // busy (in Close, or in a handler that closes the port).
            while (!Terminated() && s->done.WaitFor(20) != plat::wrSignaled) {
            }
        }
        FPort.Purge(true, true);
    }

private:
    plat::TSerialPort& FPort;
    std::shared_ptr<CommSignal> FSignal;
    std::uint32_t FEventMask = 0;
};

// ---- event characters --------------------------------------------------------------------

TCommEventChars::TCommEventChars(TCustomComm* Owner) : FOwner(Owner) {}

void TCommEventChars::Changed()
{
    if (FOwner) FOwner->UpdateDCB();
}

void TCommEventChars::SetXonChar(char Value) { FXonChar = Value; Changed(); }
void TCommEventChars::SetXoffChar(char Value) { FXoffChar = Value; Changed(); }
void TCommEventChars::SetErrorChar(char Value) { FErrorChar = Value; Changed(); }
void TCommEventChars::SetEofChar(char Value) { FEofChar = Value; Changed(); }
void TCommEventChars::SetEvtChar(char Value) { FEvtChar = Value; Changed(); }

void TCommEventChars::Assign(const plat::TPersistent* Source)
{
    if (const auto* s = dynamic_cast<const TCommEventChars*>(Source)) {
        FXonChar = s->FXonChar;
        FXoffChar = s->FXoffChar;
        FErrorChar = s->FErrorChar;
        FEofChar = s->FEofChar;
        FEvtChar = s->FEvtChar;
        Changed();
        return;
    }
    plat::TPersistent::Assign(Source);
}

// ---- component ---------------------------------------------------------------------------

TCustomComm::TCustomComm(plat::TComponent* Owner)
    : plat::TComponent(Owner),
      FPort(std::make_unique<plat::TSerialPort>()),
      FCriticalSection(std::make_unique<plat::TCriticalSection>()),
      FEventChars(std::make_unique<TCommEventChars>(this))
{
}

TCustomComm::~TCustomComm()
{
    Close();
}

bool TCustomComm::Enabled() const
{
    return FPort->IsOpen();
}

int TCustomComm::Handle() const
{
    return FPort->Handle();
}

void TCustomComm::RefuseWhileOpen() const
{
    if (Enabled()) RaiseCommError(kPortOpen, -1);
}

void TCustomComm::RequireOpen() const
{
    if (!Enabled()) RaiseCommError(kNotOpen, -1);
}

void TCustomComm::CreateHandle()
{
    const int rc = FPort->Open(DevicePath(FDeviceName));
    if (rc == plat::TSerialPort::NotCharDevice) RaiseCommError(u"Invalid device handle, access denied", -1);
    if (rc != 0) RaiseCommError(u"Error accessing specified device", rc);
}

void TCustomComm::Open()
{
    RefuseWhileOpen();
    CreateHandle();
    // A port that cannot be set up is closed again rather than left half open.
    try {
        FEventThread = std::make_unique<TCommEventThread>(*FPort, FMonitorEvents,
                                                          [this](std::uint32_t m) { HandleEvent(m); });
        // Reads take what has arrived (raw mode without a minimum count, set on opening), and
        // the buffer sizes are the driver's own: nothing more to set for either.
        UpdateDCB();
    } catch (...) {
        Close();
        throw;
    }
}

void TCustomComm::Close()
{
    if (!Enabled()) return;
    // The thread is joined before the descriptor goes: its last purge and any dispatch still
    // handed over must not reach a closed (or reused) descriptor.
    if (FEventThread) {
        FEventThread->Stop();
        FEventThread->WaitFor();
        FEventThread.reset();
    }
    FCriticalSection->Enter();
    FPort->Close();
    FCriticalSection->Leave();
}

void TCustomComm::UpdateDCB()
{
    if (!Enabled()) return;
    plat::TSerialSettings s;
    int rc = FPort->GetSettings(s);
    if (rc == 0) {
        static const plat::TSerialParity parities[] = {plat::spNone, plat::spOdd, plat::spEven, plat::spMark,
                                                       plat::spSpace};
        s.BaudRate = BaudRateValue(FBaudRate);
        s.Parity = parities[FParity];
        s.StopBits = FStopbits == sb10 ? 1 : 2;
        s.DataBits = 4 + static_cast<int>(FDatabits);
        s.XonChar = static_cast<unsigned char>(FEventChars->XonChar());
        s.XoffChar = static_cast<unsigned char>(FEventChars->XoffChar());
        switch (FFlowControl) {
        case fcNone:
            s.RtsCts = false;
            s.XonXoff = false;
            break;
        case fcCTS: s.RtsCts = true; break;
        case fcSoftware: s.XonXoff = true; break;
        case fcDTR: rc = EINVAL; break;  // terminals have no DSR/DTR handshake
        case fcDefault: break;
        }
        s.ParityCheck = (FOptions & SetOf(coParityCheck)) != 0;
        if (rc == 0) rc = FPort->SetSettings(s);
    }
    if (rc != 0) RaiseCommError(u"Error updating DataControlBlock", rc);
}

void TCustomComm::SetDeviceName(const plat::String& Value)
{
    if (Value == FDeviceName) return;
    RefuseWhileOpen();
    FDeviceName = Value;
}

void TCustomComm::SetReadBufSize(int Value)
{
    if (Value == FReadBufSize) return;
    RefuseWhileOpen();
    FReadBufSize = Value;
}

void TCustomComm::SetWriteBufSize(int Value)
{
    if (Value == FWriteBufSize) return;
    RefuseWhileOpen();
    FWriteBufSize = Value;
}

void TCustomComm::SetMonitorEvents(TCommEventTypes Value)
{
    if (Value == FMonitorEvents) return;
    RefuseWhileOpen();
    FMonitorEvents = Value;
}

void TCustomComm::SetBaudRate(TBaudrate Value)
{
    if (Value == FBaudRate) return;
    FBaudRate = Value;
    UpdateDCB();
}

void TCustomComm::SetParity(TParity Value)
{
    if (Value == FParity) return;
    FParity = Value;
    UpdateDCB();
}

void TCustomComm::SetStopbits(TStopbits Value)
{
    if (Value == FStopbits) return;
    FStopbits = Value;
    UpdateDCB();
}

void TCustomComm::SetDatabits(TDatabits Value)
{
    if (Value == FDatabits) return;
    FDatabits = Value;
    UpdateDCB();
}

void TCustomComm::SetOptions(TCommOptions Value)
{
    if (Value == FOptions) return;
    FOptions = Value;
    UpdateDCB();
}

void TCustomComm::SetFlowControl(TFlowControl Value)
{
    if (Value == FFlowControl) return;
    FFlowControl = Value;
    UpdateDCB();
}

int TCustomComm::Write(const void* Buffer, int Count)
{
    FCriticalSection->Enter();
    const long n = Count > 0 ? FPort->Write(Buffer, static_cast<std::size_t>(Count), FWriteTimeout) : 0;
    const int err = FPort->LastError();
    FCriticalSection->Leave();
    if (n == -2) RaiseCommError(u"Write error", err);
    return static_cast<int>(n);
}

int TCustomComm::Read(void* Buffer, int Count)
{
    FCriticalSection->Enter();
    const long n = Count > 0 ? FPort->Read(Buffer, static_cast<std::size_t>(Count), 0) : 0;
    const int err = FPort->LastError();
    FCriticalSection->Leave();
    if (n == -2) RaiseCommError(u"Read error", err);
    return static_cast<int>(n);
}

int TCustomComm::InQueCount() const
{
    return Enabled() ? FPort->InQueue() : -1;
}

int TCustomComm::OutQueCount() const
{
    return Enabled() ? FPort->OutQueue() : -1;
}

void TCustomComm::PurgeIn()
{
    if (Enabled()) FPort->Purge(true, false);
}

void TCustomComm::PurgeOut()
{
    if (Enabled()) FPort->Purge(false, true);
}

namespace {
void CheckEscape(int rc)
{
    if (rc != 0) RaiseCommError(u"EscapeCommFunction failure", rc);
}
} // namespace

void TCustomComm::SetDTRState(bool State)
{
    RequireOpen();
    CheckEscape(FPort->SetDTR(State));
}

void TCustomComm::SetRTSState(bool State)
{
    RequireOpen();
    CheckEscape(FPort->SetRTS(State));
}

void TCustomComm::SetXONState(bool State)
{
    RequireOpen();
    CheckEscape(FPort->SetXON(State));
}

void TCustomComm::SetBREAKState(bool State)
{
    RequireOpen();
    CheckEscape(FPort->SetBreak(State));
    FPort->Purge(true, true);
}

bool TCustomComm::CTS() const { return Enabled() && (FPort->ModemStatus() & plat::smCts); }
bool TCustomComm::DSR() const { return Enabled() && (FPort->ModemStatus() & plat::smDsr); }
bool TCustomComm::RING() const { return Enabled() && (FPort->ModemStatus() & plat::smRing); }
bool TCustomComm::RLSD() const { return Enabled() && (FPort->ModemStatus() & plat::smRlsd); }

void TCustomComm::HandleEvent(std::uint32_t Mask)
{
    if (!Enabled()) return;
    const int errors = static_cast<int>(FPort->TakeLineErrors());
    if ((Mask & plat::seBreak) && OnBreak) OnBreak(this);
    if ((Mask & plat::seCts) && OnCts) OnCts(this);
    if ((Mask & plat::seDsr) && OnDsr) OnDsr(this);
    if ((Mask & plat::seError) && OnError) OnError(this, errors);
    if ((Mask & plat::seRing) && OnRing) OnRing(this);
    if ((Mask & plat::seRlsd) && OnRlsd) OnRlsd(this);
    if ((Mask & plat::seRxChar) && OnRxChar) {
        const int count = InQueCount();
        if (count > 0) OnRxChar(this, count);
    }
    if ((Mask & plat::seRxFlag) && OnRxFlag) OnRxFlag(this);
    if ((Mask & plat::seTxEmpty) && OnTxEmpty) OnTxEmpty(this);
}
