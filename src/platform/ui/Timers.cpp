// One scheduler for TTimer and window timers. Due times follow plat::GetTickCount, so the
// test clock drives them: its advances fire what fell due, in time order. With the system
// clock one precise Qt timer is armed for the next due time.
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "plat/Clock.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Timers.h"
#include "ui/UiNative.h"

namespace plat {

struct TimerAccess {
    static void Fire(TTimer* t) { t->Timer(); }
};

namespace {

struct Entry {
    std::uint64_t slot;
    HWND window;          // window timer: the window and its id
    std::uintptr_t id;
    TTimer* timer;        // or a TTimer
    std::uint32_t interval;
    std::uint32_t due;
};

std::vector<Entry> g_entries;
std::uint64_t g_nextSlot = 1;
QTimer* g_qtimer = nullptr;
bool g_firing = false;

bool IsDue(std::uint32_t due, std::uint32_t now) { return static_cast<std::int32_t>(now - due) >= 0; }

void Arm();

// Fires every entry due at `now`, earliest first; an entry fires at most once per call.
void FireDue(std::uint32_t now)
{
    if (g_firing) return;
    g_firing = true;
    std::vector<std::uint64_t> fired;
    for (;;) {
        const Entry* next = nullptr;
        for (const Entry& e : g_entries) {
            if (e.interval == 0 || !IsDue(e.due, now)) continue;
            if (std::find(fired.begin(), fired.end(), e.slot) != fired.end()) continue;
            if (!next || static_cast<std::int32_t>(e.due - next->due) < 0) next = &e;
        }
        if (!next) break;
        Entry e = *next;
        fired.push_back(e.slot);
        // The next period counts from now; a handler that restarts the timer overrides it.
        for (Entry& x : g_entries)
            if (x.slot == e.slot) x.due = GetTickCount() + x.interval;
        try {
            if (e.timer) {
                TimerAccess::Fire(e.timer);
            } else if (TWinControl* c = FindControl(e.window)) {
                c->Perform(WM_TIMER, e.id, 0);
            }
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }
    g_firing = false;
    Arm();
}

void Arm()
{
    if (!g_qtimer) return;
    if (g_entries.empty()) {
        g_qtimer->stop();
        return;
    }
    const std::uint32_t now = GetTickCount();
    std::int64_t wait = INT32_MAX;
    for (const Entry& e : g_entries) {
        if (e.interval == 0) continue;
        const std::int32_t d = static_cast<std::int32_t>(e.due - now);
        wait = std::min<std::int64_t>(wait, std::max(0, d));
    }
    if (wait == INT32_MAX) {
        g_qtimer->stop();
        return;
    }
    g_qtimer->start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
}

std::uint64_t Add(HWND window, std::uintptr_t id, TTimer* timer, std::uint32_t interval)
{
    Entry e{g_nextSlot++, window, id, timer, interval, GetTickCount() + interval};
    g_entries.push_back(e);
    Arm();
    return e.slot;
}

void Remove(std::uint64_t slot)
{
    g_entries.erase(std::remove_if(g_entries.begin(), g_entries.end(), [&](const Entry& e) { return e.slot == slot; }), g_entries.end());
    Arm();
}

} // namespace

namespace ui {

void InstallClockHooks()
{
    if (g_qtimer) return;
    EnsureApplication();
    g_qtimer = new QTimer;
    g_qtimer->setSingleShot(true);
    g_qtimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(g_qtimer, &QTimer::timeout, [] { FireDue(GetTickCount()); });
    Arm();
}

void TimersForgetWindow(HWND handle)
{
    g_entries.erase(std::remove_if(g_entries.begin(), g_entries.end(), [&](const Entry& e) { return e.window == handle && !e.timer; }),
                    g_entries.end());
}

// Test clock: fires what is due after an advance.
void ClockAdvanced(std::uint32_t, std::uint32_t after) { FireDue(after); }

// Earliest due time at or before `limit` (ticks, wrap-aware); false when none.
bool NextDue(std::uint32_t now, std::uint32_t limit, std::uint32_t& due)
{
    bool found = false;
    for (const Entry& e : g_entries) {
        if (e.interval == 0) continue;
        const std::uint32_t d = IsDue(e.due, now) ? now : e.due;
        if (static_cast<std::int32_t>(limit - d) < 0) continue;
        if (!found || static_cast<std::int32_t>(d - due) < 0) {
            due = d;
            found = true;
        }
    }
    return found;
}

void FireDueNow() { FireDue(GetTickCount()); }

} // namespace ui

std::uintptr_t SetTimer(HWND Handle, std::uintptr_t IDEvent, UINT Elapse)
{
    if (!IsWindow(Handle)) return 0;
    for (Entry& e : g_entries) {
        if (!e.timer && e.window == Handle && e.id == IDEvent) {
            e.interval = Elapse;
            e.due = GetTickCount() + Elapse;
            Arm();
            return IDEvent;
        }
    }
    Add(Handle, IDEvent, nullptr, Elapse);
    return IDEvent;
}

bool KillTimer(HWND Handle, std::uintptr_t IDEvent)
{
    const size_t before = g_entries.size();
    g_entries.erase(std::remove_if(g_entries.begin(), g_entries.end(),
                                   [&](const Entry& e) { return !e.timer && e.window == Handle && e.id == IDEvent; }),
                    g_entries.end());
    Arm();
    return g_entries.size() != before;
}

// ---- TTimer --------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { Restart(); }

TTimer::~TTimer()
{
    if (slot_) Remove(slot_);
    slot_ = 0;
}

void TTimer::Restart()
{
    if (slot_) Remove(slot_);
    slot_ = 0;
    if (enabled_ && interval_ > 0) slot_ = Add(0, 0, this, interval_);
}

void TTimer::SetEnabled(bool Value)
{
    if (enabled_ == Value) return;
    enabled_ = Value;
    Restart();
}

void TTimer::SetInterval(unsigned Value)
{
    if (interval_ == Value) return;
    interval_ = Value;
    Restart();
}

void TTimer::Timer()
{
    if (OnTimer) OnTimer(this);
}

} // namespace plat
