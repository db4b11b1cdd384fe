#include "plat/Threads.h"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace plat {

namespace {

using Clock = std::chrono::steady_clock;

// The program's first thread until the window layer names its own.
std::atomic<std::thread::id> g_mainThread{std::this_thread::get_id()};
std::atomic<void (*)()> g_wake{nullptr};

struct Waiter {
    bool done = false;
    std::exception_ptr error;
};

struct Call {
    TThread* owner = nullptr;
    TThreadMethod method;
    Waiter* waiter = nullptr;  // null for queued calls
};

struct CallQueue {
    std::mutex m;
    std::condition_variable queued;
    std::condition_variable done;
    std::deque<Call> calls;
};

CallQueue& Calls()
{
    static CallQueue q;
    return q;
}

// Running threads waiting for their creator to finish constructing them.
struct PendingStarts {
    std::mutex m;
    std::vector<std::pair<std::thread::id, TThread*>> items;
};

PendingStarts& Pending()
{
    static PendingStarts p;
    return p;
}

void Wake()
{
    if (auto* w = g_wake.load()) w();
}

void Enqueue(Call c)
{
    CallQueue& q = Calls();
    {
        std::lock_guard<std::mutex> lock(q.m);
        q.calls.push_back(std::move(c));
    }
    q.queued.notify_all();
    Wake();
}

} // namespace

// Starts the threads the calling thread created running. Called where the creator comes back
// to the thread machinery, which it cannot do from inside a constructor it is running.
static void StartPendingOfThisThread()
{
    PendingStarts& p = Pending();
    std::vector<TThread*> mine;
    {
        std::lock_guard<std::mutex> lock(p.m);
        if (p.items.empty()) return;
        const auto self = std::this_thread::get_id();
        for (auto it = p.items.begin(); it != p.items.end();) {
            if (it->first == self) {
                mine.push_back(it->second);
                it = p.items.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (TThread* t : mine)
        if (t->Suspended()) t->Start();
}

static void ForgetPending(TThread* Thread)
{
    PendingStarts& p = Pending();
    std::lock_guard<std::mutex> lock(p.m);
    p.items.erase(std::remove_if(p.items.begin(), p.items.end(), [&](const auto& e) { return e.second == Thread; }),
                  p.items.end());
}

bool InMainThread() { return std::this_thread::get_id() == g_mainThread.load(); }

void SetMainThread() { g_mainThread.store(std::this_thread::get_id()); }

void SetWakeMainThread(void (*Wake)()) { g_wake.store(Wake); }

bool CheckSynchronize(std::uint32_t Timeout)
{
    if (!InMainThread()) return false;
    StartPendingOfThisThread();
    CallQueue& q = Calls();
    std::unique_lock<std::mutex> lock(q.m);
    if (q.calls.empty() && Timeout > 0) {
        if (Timeout == INFINITE) q.queued.wait(lock, [&] { return !q.calls.empty(); });
        else q.queued.wait_for(lock, std::chrono::milliseconds(Timeout), [&] { return !q.calls.empty(); });
    }
    bool ran = false;
    std::exception_ptr firstError;
    // One call at a time: a call that waits (and so runs CheckSynchronize again) keeps the
    // order of the ones behind it.
    while (!q.calls.empty()) {
        Call c = std::move(q.calls.front());
        q.calls.pop_front();
        lock.unlock();
        ran = true;
        std::exception_ptr error;
        try {
            if (c.method) c.method();
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        if (c.waiter) {
            c.waiter->error = error;
            c.waiter->done = true;
            q.done.notify_all();
        } else if (error && !firstError) {
            firstError = error;
        }
    }
    lock.unlock();
    // A queued call has nobody waiting for it: its error reaches the main thread's caller
    // after the other calls ran.
    if (firstError) std::rethrow_exception(firstError);
    return ran;
}

// ---- events -----------------------------------------------------------------------------

struct TEvent::Impl {
    std::mutex m;
    std::condition_variable cv;
    bool manualReset = true;
    bool signalled = false;
    bool abandoned = false;
    int waiters = 0;
};

TEvent::TEvent(bool ManualReset, bool InitialState, const String& Name) : impl_(std::make_unique<Impl>()), name_(Name)
{
    impl_->manualReset = ManualReset;
    impl_->signalled = InitialState;
}

TEvent::~TEvent()
{
    std::unique_lock<std::mutex> lock(impl_->m);
    impl_->abandoned = true;
    impl_->cv.notify_all();
    impl_->cv.wait(lock, [&] { return impl_->waiters == 0; });
}

void TEvent::SetEvent()
{
    {
        std::lock_guard<std::mutex> lock(impl_->m);
        impl_->signalled = true;
    }
    if (impl_->manualReset) impl_->cv.notify_all();
    else impl_->cv.notify_one();
}

void TEvent::ResetEvent()
{
    std::lock_guard<std::mutex> lock(impl_->m);
    impl_->signalled = false;
}

TWaitResult TEvent::WaitFor(std::uint32_t Timeout)
{
    Impl& d = *impl_;
    std::unique_lock<std::mutex> lock(d.m);
    if (d.abandoned) return wrAbandoned;
    ++d.waiters;
    const auto ready = [&] { return d.signalled || d.abandoned; };
    bool got = true;
    if (Timeout == INFINITE) d.cv.wait(lock, ready);
    else got = d.cv.wait_for(lock, std::chrono::milliseconds(Timeout), ready);
    --d.waiters;
    TWaitResult result = wrTimeout;
    if (d.abandoned) {
        result = wrAbandoned;
        d.cv.notify_all();  // the destructor waits for the last waiter to leave
    } else if (got) {
        result = wrSignaled;
        if (!d.manualReset) d.signalled = false;
    }
    return result;
}

// ---- critical section -------------------------------------------------------------------

struct TCriticalSection::Impl {
    std::recursive_mutex m;
};

TCriticalSection::TCriticalSection() : impl_(std::make_unique<Impl>()) {}
TCriticalSection::~TCriticalSection() = default;
void TCriticalSection::Enter() { impl_->m.lock(); }
void TCriticalSection::Leave() { impl_->m.unlock(); }
bool TCriticalSection::TryEnter() { return impl_->m.try_lock(); }

// ---- thread -----------------------------------------------------------------------------

struct TThread::Impl {
    std::mutex m;
    std::condition_variable finishedCv;
    std::thread thread;
    std::atomic<bool> terminated{false};
    bool started = false;
    bool finished = false;
    std::atomic<bool> done{false};  // finished, readable under the call queue's lock
};

namespace {

// The main thread's wait for a thread: in slices of at most 10 ms, woken early by a call
// handed over or by the thread's end, running the calls in between.
void MainThreadWait(const std::atomic<bool>& Done)
{
    CallQueue& q = Calls();
    while (!Done) {
        {
            std::unique_lock<std::mutex> lock(q.m);
            q.queued.wait_for(lock, std::chrono::milliseconds(10), [&] { return Done || !q.calls.empty(); });
        }
        CheckSynchronize(0);
    }
}

} // namespace

TThread::TThread(bool CreateSuspended) : impl_(std::make_unique<Impl>())
{
    StartPendingOfThisThread();
    if (!CreateSuspended) {
        PendingStarts& p = Pending();
        {
            std::lock_guard<std::mutex> lock(p.m);
            p.items.emplace_back(std::this_thread::get_id(), this);
        }
        if (InMainThread()) Wake();
    }
}

TThread::~TThread()
{
    ForgetPending(this);
    RemoveQueuedEvents(this);
    const bool ownThread = impl_->thread.joinable() && impl_->thread.get_id() == std::this_thread::get_id();
    if (ownThread) {
        // A thread that frees itself: nobody is left to join it.
        impl_->thread.detach();
        return;
    }
    bool running;
    {
        std::lock_guard<std::mutex> lock(impl_->m);
        running = impl_->started && !impl_->finished;
    }
    if (running) {
        Terminate();
        if (InMainThread()) {
            for (;;) {
                try {
                    MainThreadWait(impl_->done);
                    break;
                } catch (...) {
                    // A destructor cannot pass it on and the thread still has to end: the
                    // error is logged and the wait goes on.
                    LogUnhandled("TThread: error while waiting for the thread to end");
                }
            }
        } else {
            std::unique_lock<std::mutex> lock(impl_->m);
            impl_->finishedCv.wait(lock, [&] { return impl_->finished; });
        }
    }
    if (impl_->thread.joinable()) impl_->thread.join();
    RemoveQueuedEvents(this);
}

void TThread::Start()
{
    ForgetPending(this);
    std::lock_guard<std::mutex> lock(impl_->m);
    if (impl_->started) throw EThread(u"Cannot start a thread that was already started");
    impl_->started = true;
    impl_->thread = std::thread(&TThread::Run, this);
}

void TThread::Terminate() { impl_->terminated = true; }
bool TThread::Terminated() const { return impl_->terminated; }

bool TThread::Finished() const
{
    std::lock_guard<std::mutex> lock(impl_->m);
    return impl_->finished;
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> lock(impl_->m);
    return !impl_->started;
}

void TThread::Run(TThread* Self)
{
    if (!Self->Terminated()) {
        try {
            Self->Execute();
        } catch (...) {
            Self->fatalException_ = std::current_exception();
        }
    }
    const bool freeIt = Self->freeOnTerminate_;
    if (Self->OnTerminate) {
        try {
            Synchronize(Self, [Self] { Self->OnTerminate(Self); });
        } catch (...) {
            if (!Self->fatalException_) Self->fatalException_ = std::current_exception();
        }
    }
    {
        std::lock_guard<std::mutex> lock(Self->impl_->m);
        Self->impl_->finished = true;
    }
    Self->impl_->finishedCv.notify_all();
    {
        // Under the queue's lock, so a main thread between its check and its wait sees it.
        CallQueue& q = Calls();
        std::lock_guard<std::mutex> lock(q.m);
        Self->impl_->done = true;
    }
    Calls().queued.notify_all();
    if (freeIt) delete Self;
}

int TThread::WaitFor()
{
    StartPendingOfThisThread();
    if (freeOnTerminate_) throw EThread(u"Cannot wait for a thread that frees itself when it ends");
    std::unique_lock<std::mutex> lock(impl_->m);
    if (!impl_->started) throw EThread(u"Cannot wait for a thread that was never started");
    if (impl_->thread.get_id() == std::this_thread::get_id()) throw EThread(u"A thread cannot wait for itself");
    if (InMainThread()) {
        // Runs the calls workers hand over meanwhile: the thread waited for may be one of
        // them, blocked in Synchronize until the main thread serves it.
        lock.unlock();
        MainThreadWait(impl_->done);
    } else {
        impl_->finishedCv.wait(lock, [&] { return impl_->finished; });
        lock.unlock();
    }
    if (impl_->thread.joinable()) impl_->thread.join();
    // Calls the thread queued before it ended still run first, in order.
    if (InMainThread()) CheckSynchronize(0);
    return returnValue_;
}

void TThread::Synchronize(TThread* Thread, const TThreadMethod& Method)
{
    if (InMainThread()) {
        StartPendingOfThisThread();
        if (Method) Method();
        return;
    }
    StartPendingOfThisThread();
    Waiter w;
    Enqueue(Call{Thread, Method, &w});
    CallQueue& q = Calls();
    std::unique_lock<std::mutex> lock(q.m);
    q.done.wait(lock, [&] { return w.done; });
    lock.unlock();
    if (w.error) std::rethrow_exception(w.error);
}

void TThread::Queue(TThread* Thread, const TThreadMethod& Method)
{
    StartPendingOfThisThread();
    if (InMainThread()) {
        if (Method) Method();
        return;
    }
    Enqueue(Call{Thread, Method, nullptr});
}

void TThread::RemoveQueuedEvents(TThread* Thread)
{
    CallQueue& q = Calls();
    std::lock_guard<std::mutex> lock(q.m);
    q.calls.erase(std::remove_if(q.calls.begin(), q.calls.end(),
                                 [&](const Call& c) { return !c.waiter && c.owner == Thread; }),
                  q.calls.end());
}

void TThread::NameThreadForDebugging(const String& Name)
{
    std::string narrow;
    for (char16_t ch : Name) {
        if (narrow.size() >= 15) break;
        narrow += ch < 0x80 ? static_cast<char>(ch) : '?';
    }
    pthread_setname_np(pthread_self(), narrow.c_str());
}

} // namespace plat
