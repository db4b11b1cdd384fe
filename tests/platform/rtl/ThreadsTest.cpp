// Threads, events, locks and the calls handed to the main thread (no window layer here: the
// test's own thread is the main thread and serves the calls with CheckSynchronize/WaitFor).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "plat/Threads.h"
#include "../Watchdog.h"
#include "TestSupport.h"

namespace plat {
namespace {

using namespace std::chrono_literals;

using testwatch::Watchdog;

// Runs a function as Execute.
class FnThread : public TThread {
public:
    explicit FnThread(std::function<void(FnThread&)> Fn, bool Suspended = true) : TThread(Suspended), fn_(std::move(Fn)) {}
    ~FnThread() override
    {
        // Execute uses fn_: the thread ends before this object goes.
        if (WaitOnFree && !Suspended() && !FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
    }
    using TThread::SetReturnValue;
    bool WaitOnFree = true;
    bool IsTerminated() const { return Terminated(); }

protected:
    void Execute() override { fn_(*this); }

private:
    std::function<void(FnThread&)> fn_;
};

TEST(Event, ResetModesAndInitialStates)
{
    struct Case {
        bool manual;
        bool initial;
        TWaitResult first;   // WaitFor(0) right away
        TWaitResult second;  // WaitFor(0) again
    };
    const Case cases[] = {
        {true, false, wrTimeout, wrTimeout},
        {true, true, wrSignaled, wrSignaled},     // stays set until reset
        {false, true, wrSignaled, wrTimeout},     // the first wait resets it
        {false, false, wrTimeout, wrTimeout},
    };
    for (const Case& c : cases) {
        TEvent e(c.manual, c.initial);
        EXPECT_EQ(e.WaitFor(0), c.first) << c.manual << c.initial;
        EXPECT_EQ(e.WaitFor(0), c.second) << c.manual << c.initial;
        e.SetEvent();
        EXPECT_EQ(e.WaitFor(0), wrSignaled);
        e.ResetEvent();
        EXPECT_EQ(e.WaitFor(0), wrTimeout);
    }
    TSimpleEvent s;
    EXPECT_EQ(s.WaitFor(0), wrTimeout);
    s.SetEvent();
    EXPECT_EQ(s.WaitFor(0), wrSignaled);
    EXPECT_EQ(s.WaitFor(0), wrSignaled);
}

TEST(Event, AutoResetReleasesExactlyOneWaiterPerSet)
{
    Watchdog dog("auto-reset event");
    TEvent e(false, false, u"EVENT_SCAN_DECODE_MBUS");
    EXPECT_EQ(e.Name(), u"EVENT_SCAN_DECODE_MBUS");
    std::atomic<int> released{0};
    std::atomic<int> waiting{0};
    auto waiter = [&] {
        ++waiting;
        if (e.WaitFor(INFINITE) == wrSignaled) ++released;
    };
    std::thread a(waiter), b(waiter);
    while (waiting < 2) std::this_thread::yield();
    std::this_thread::sleep_for(20ms);  // both inside WaitFor
    e.SetEvent();
    // The released one returns; the other keeps waiting and the event is clear again.
    while (released < 1) std::this_thread::yield();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(e.WaitFor(0), wrTimeout);
    e.SetEvent();
    a.join();
    b.join();
    EXPECT_EQ(released, 2);
}

TEST(Event, WaitWithATimeOutAnswersTimeOut)
{
    TEvent e(true, false);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(e.WaitFor(30), wrTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 25ms);
}

TEST(Event, FreedWhileWaitedOnReleasesTheWaiterAsAbandoned)
{
    Watchdog dog("abandoned event");
    auto e = std::make_unique<TEvent>(false, false);
    std::atomic<bool> waiting{false};
    TWaitResult got = wrSignaled;
    std::thread t([&] {
        waiting = true;
        got = e->WaitFor(INFINITE);
    });
    while (!waiting) std::this_thread::yield();
    std::this_thread::sleep_for(20ms);
    e.reset();
    t.join();
    EXPECT_EQ(got, wrAbandoned);
}

TEST(CriticalSection, ReEntrantForItsOwnerExclusiveForOthers)
{
    TCriticalSection cs;
    cs.Enter();
    cs.Enter();  // the owner again: no deadlock
    auto otherGets = [&] {
        bool got = false;
        std::thread t([&] {
            got = cs.TryEnter();
            if (got) cs.Leave();
        });
        t.join();
        return got;
    };
    EXPECT_FALSE(otherGets());
    cs.Leave();
    EXPECT_FALSE(otherGets()) << "entered twice, left once";
    cs.Leave();
    EXPECT_TRUE(otherGets());
}

TEST(ThreadList, DuplicatesAndConcurrentAdds)
{
    struct Case {
        TDuplicates mode;
        size_t count;
        bool raises;
    };
    for (const Case& c : {Case{dupIgnore, 1, false}, Case{dupAccept, 2, false}, Case{dupError, 1, true}}) {
        TThreadList<int> l;
        l.SetDuplicates(c.mode);
        l.Add(5);
        if (c.raises)
            EXPECT_TRUE(testsupport::ThrowsWith<EListError>([&] { l.Add(5); }, u"List does not allow duplicates"));
        else l.Add(5);
        EXPECT_EQ(l.LockList().size(), c.count);
        l.UnlockList();
    }
    TThreadList<int> l;
    l.SetDuplicates(dupAccept);
    std::vector<std::thread> ts;
    for (int t = 0; t < 4; ++t)
        ts.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) l.Add(t * 1000 + i);
        });
    for (auto& t : ts) t.join();
    EXPECT_EQ(l.LockList().size(), 2000u);
    l.UnlockList();
    l.Remove(1003);
    l.Remove(1003);  // gone already: nothing happens
    EXPECT_EQ(l.LockList().size(), 1999u);
    l.UnlockList();
}

TEST(Thread, SuspendedRunsOnlyAfterStartAndAnswersItsReturnValue)
{
    Watchdog dog("start and wait");
    std::atomic<bool> ran{false};
    FnThread t([&](FnThread& self) {
        ran = true;
        self.SetReturnValue(7);
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(t.Suspended());
    t.Start();
    EXPECT_EQ(t.WaitFor(), 7);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(t.Finished());
    EXPECT_TRUE(
        testsupport::ThrowsWith<EThread>([&] { t.Start(); }, u"Cannot start a thread that was already started"));
}

TEST(Thread, CreatedRunningStartsWithoutStart)
{
    Watchdog dog("created running");
    std::atomic<bool> ran{false};
    FnThread t([&](FnThread&) { ran = true; }, false);
    t.WaitFor();
    EXPECT_TRUE(ran);
}

TEST(Thread, TerminateIsSeenByExecuteAndAThreadTerminatedBeforeItStartsDoesNotRun)
{
    Watchdog dog("terminate");
    std::atomic<int> loops{0};
    FnThread t([&](FnThread& self) {
        while (!self.IsTerminated()) {
            ++loops;
            std::this_thread::sleep_for(1ms);
        }
    });
    t.Start();
    while (loops == 0) std::this_thread::yield();
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(t.Terminated());

    bool ran = false;
    FnThread never([&](FnThread&) { ran = true; });
    never.Terminate();
    never.Start();
    never.WaitFor();
    EXPECT_FALSE(ran);
}

TEST(Thread, WaitsThatCannotEndRaise)
{
    FnThread notStarted([](FnThread&) {});
    EXPECT_TRUE(testsupport::ThrowsWith<EThread>([&] { notStarted.WaitFor(); },
                                                 u"Cannot wait for a thread that was never started"));
    FnThread freeing([](FnThread&) {});
    freeing.SetFreeOnTerminate(true);
    EXPECT_TRUE(testsupport::ThrowsWith<EThread>([&] { freeing.WaitFor(); },
                                                 u"Cannot wait for a thread that frees itself when it ends"));
    freeing.SetFreeOnTerminate(false);
}

TEST(Thread, AnExceptionInExecuteIsKeptAsFatalException)
{
    FnThread t([](FnThread&) { throw Exception(u"scan failed"); });
    t.Start();
    t.WaitFor();
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"scan failed");
    }
}

TEST(Thread, FreeOnTerminateRunsOnTerminateOnTheMainThreadThenFreesItself)
{
    Watchdog dog("free on terminate");
    struct Flag {
        std::atomic<bool> destroyed{false};
    } flag;
    class Freeing : public TThread {
    public:
        explicit Freeing(Flag& F) : TThread(true), f_(F) {}
        ~Freeing() override { f_.destroyed = true; }

    protected:
        void Execute() override {}

    private:
        Flag& f_;
    };
    auto* t = new Freeing(flag);
    t->SetFreeOnTerminate(true);
    std::thread::id terminateThread;
    t->OnTerminate = [&](TThread*) { terminateThread = std::this_thread::get_id(); };
    t->Start();
    // OnTerminate waits for the main thread; the thread frees itself after it ran.
    while (!flag.destroyed) CheckSynchronize(10);
    EXPECT_EQ(terminateThread, std::this_thread::get_id());
}

TEST(Synchronize, FromAWorkerWhileTheMainThreadWaitsForItDoesNotDeadlock)
{
    Watchdog dog("Synchronize during WaitFor");
    std::vector<std::thread::id> ranOn;
    std::vector<int> seenAfter;
    int shared = 0;
    FnThread t([&](FnThread& self) {
        for (int i = 1; i <= 5; ++i) {
            self.Synchronize([&, i] {
                ranOn.push_back(std::this_thread::get_id());
                shared = i;
            });
            // The worker goes on only after the main thread ran the call.
            seenAfter.push_back(shared);
        }
    });
    t.Start();
    t.WaitFor();
    ASSERT_EQ(ranOn.size(), 5u);
    for (const auto& id : ranOn) EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_EQ(seenAfter, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(Synchronize, AnExceptionReachesTheWorkerAndOnTheMainThreadTheCallRunsAtOnce)
{
    Watchdog dog("Synchronize exception");
    bool caught = false;
    FnThread t([&](FnThread& self) {
        try {
            self.Synchronize([] { throw Exception(u"no port"); });
        } catch (const Exception& e) {
            caught = e.Message() == u"no port";
        }
    });
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(caught);

    bool ran = false;
    TThread::Synchronize(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
    ran = false;
    TThread::Queue(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(CheckSynchronize());
}

TEST(Queue, CallsFromAWorkerRunInOrderOnTheMainThreadAndWakeIt)
{
    Watchdog dog("Queue order");
    static std::atomic<int> wakes{0};
    wakes = 0;
    SetWakeMainThread([] { ++wakes; });
    std::vector<int> order;
    std::vector<std::thread::id> ranOn;
    FnThread t([&](FnThread& self) {
        for (int i = 0; i < 50; ++i)
            self.Queue([&, i] {
                order.push_back(i);
                ranOn.push_back(std::this_thread::get_id());
            });
    });
    t.Start();
    // Nothing runs until the main thread serves the queue.
    while (wakes < 50) std::this_thread::yield();
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(CheckSynchronize());
    SetWakeMainThread(nullptr);
    t.WaitFor();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
    for (const auto& id : ranOn) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(Queue, CallsOfAThreadFreedBeforeTheyRanAreDropped)
{
    Watchdog dog("queued calls dropped");
    bool ran = false;
    TSimpleEvent queued;
    auto t = std::make_unique<FnThread>([&](FnThread& self) {
        self.Queue([&] { ran = true; });
        queued.SetEvent();
    });
    t->WaitOnFree = false;  // a wait would serve the queue
    t->Start();
    ASSERT_EQ(queued.WaitFor(5000), wrSignaled);
    while (!t->Finished()) std::this_thread::sleep_for(1ms);
    // Another thread's call stays.
    bool otherRan = false;
    std::thread other([&] { TThread::Queue(nullptr, [&] { otherRan = true; }); });
    other.join();
    t.reset();
    CheckSynchronize();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(otherRan);
}

TEST(Queue, AFailingCallDoesNotStopTheOnesBehindIt)
{
    std::vector<int> order;
    std::thread worker([&] {
        TThread::Queue(nullptr, [&] { order.push_back(1); });
        TThread::Queue(nullptr, [] { throw Exception(u"bad"); });
        TThread::Queue(nullptr, [&] { order.push_back(3); });
    });
    worker.join();
    EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { CheckSynchronize(); }, u"bad"));
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
    EXPECT_FALSE(CheckSynchronize());
}

TEST(CheckSynchronize, WaitsForAFirstCallAndDoesNothingOffTheMainThread)
{
    Watchdog dog("CheckSynchronize timeout");
    bool ran = false;
    std::thread worker([&] {
        std::this_thread::sleep_for(20ms);
        TThread::Queue(nullptr, [&] { ran = true; });
    });
    EXPECT_TRUE(CheckSynchronize(5000));
    EXPECT_TRUE(ran);
    worker.join();
    EXPECT_FALSE(CheckSynchronize(10));
    bool offMain = true;
    std::thread([&] { offMain = CheckSynchronize() || InMainThread(); }).join();
    EXPECT_FALSE(offMain);
    EXPECT_TRUE(InMainThread());
}

} // namespace
} // namespace plat
