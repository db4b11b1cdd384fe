#include "plat/Clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

#include "plat/SysUtils.h"

namespace plat {

namespace {

class SystemClock final : public IClock {
public:
    std::uint32_t GetTickCount() override
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }

    void Sleep(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    TDateTime Now() override
    {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        tm local{};
        localtime_r(&ts.tv_sec, &local);
        return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
               EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                          static_cast<int>(ts.tv_nsec / 1000000));
    }
};

SystemClock g_system;
std::atomic<IClock*> g_clock{nullptr};

} // namespace

IClock* SetClock(IClock* clock)
{
    IClock* prev = g_clock.exchange(clock);
    return prev;
}

IClock& CurrentClock()
{
    IClock* c = g_clock.load();
    return c ? *c : g_system;
}

std::uint32_t GetTickCount() { return CurrentClock().GetTickCount(); }
void Sleep(std::uint32_t ms) { CurrentClock().Sleep(ms); }
TDateTime Now() { return CurrentClock().Now(); }

struct FakeClock::State {
    std::mutex mutex;
    std::uint32_t ticks = 0;
    TDateTime now = 0;
    AdvanceListener listener;
};

FakeClock::FakeClock(std::uint32_t startTicks, TDateTime startNow) : s_(std::make_unique<State>())
{
    s_->ticks = startTicks;
    s_->now = startNow;
}

FakeClock::~FakeClock() = default;

std::uint32_t FakeClock::GetTickCount()
{
    std::lock_guard lock(s_->mutex);
    return s_->ticks;
}

void FakeClock::Sleep(std::uint32_t ms) { Advance(ms); }

TDateTime FakeClock::Now()
{
    std::lock_guard lock(s_->mutex);
    return s_->now;
}

void FakeClock::Advance(std::uint32_t ms)
{
    std::uint32_t before, after;
    AdvanceListener listener;
    {
        std::lock_guard lock(s_->mutex);
        before = s_->ticks;
        s_->ticks += ms;  // wraps modulo 2^32 like the real tick count
        after = s_->ticks;
        s_->now += static_cast<double>(ms) / 86400000.0;
        listener = s_->listener;
    }
    if (listener)
        listener(before, after);
}

void FakeClock::SetTicks(std::uint32_t ticks)
{
    std::lock_guard lock(s_->mutex);
    s_->ticks = ticks;
}

void FakeClock::SetNow(TDateTime value)
{
    std::lock_guard lock(s_->mutex);
    s_->now = value;
}

void FakeClock::SetAdvanceListener(AdvanceListener listener)
{
    std::lock_guard lock(s_->mutex);
    s_->listener = std::move(listener);
}

} // namespace plat
