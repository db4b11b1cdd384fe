#pragma once
// The clock every timed thing goes through: GetTickCount (milliseconds, 32 bits, wraps after
// about 49.7 days), Sleep and Now. Tests install a FakeClock so timing runs without waiting;
// the UI layer's timer scheduler listens to its advances.
#include <cstdint>
#include <functional>
#include <memory>

namespace plat {

using TDateTime = double;

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint32_t GetTickCount() = 0;
    virtual void Sleep(std::uint32_t Milliseconds) = 0;
    virtual TDateTime Now() = 0;
};

// Installs a clock (not owned; null goes back to the system clock) and returns the previous.
IClock* SetClock(IClock* Clock);
IClock& CurrentClock();

std::uint32_t GetTickCount();
void Sleep(std::uint32_t Milliseconds);
TDateTime Now();

// Ticks since an arbitrary start, as unsigned 32 bits: differences are taken modulo 2^32,
// so `GetTickCount() - start` stays right across the wrap.
inline std::uint32_t TicksSince(std::uint32_t Start) { return GetTickCount() - Start; }

// A clock that moves only when told. Sleep advances it. Thread-safe.
class FakeClock : public IClock {
public:
    explicit FakeClock(std::uint32_t StartTicks = 0, TDateTime StartNow = 46023.5);
    ~FakeClock() override;

    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t Milliseconds) override;
    TDateTime Now() override;

    // Moves ticks and Now forward, then calls the advance listener (outside the lock).
    void Advance(std::uint32_t Milliseconds);
    void SetTicks(std::uint32_t Ticks);
    void SetNow(TDateTime Value);

    // Called after every advance with the tick values before and after it.
    using AdvanceListener = std::function<void(std::uint32_t Before, std::uint32_t After)>;
    void SetAdvanceListener(AdvanceListener Listener);

private:
    struct State;
    std::unique_ptr<State> s_;
};

// Installs a clock for the lifetime of the object and puts the previous one back.
class ScopedClock {
public:
    explicit ScopedClock(IClock& Clock) : previous_(SetClock(&Clock)) {}
    ~ScopedClock() { SetClock(previous_); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    IClock* previous_;
};

} // namespace plat
