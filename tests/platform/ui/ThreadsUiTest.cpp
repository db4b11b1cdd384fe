// Workers and the UI thread: calls handed over run from the event loop, and a UI thread that
// waits for a worker keeps serving them (Synchronize, SendMessage), so neither deadlocks.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "plat/Threads.h"
#include "../Watchdog.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using namespace std::chrono_literals;
using testctl::TColorBox;

using testwatch::Watchdog;

class FnThread : public TThread {
public:
    explicit FnThread(std::function<void(FnThread&)> Fn, bool Suspended = true) : TThread(Suspended), fn_(std::move(Fn)) {}
    ~FnThread() override
    {
        if (!Suspended()) {
            Terminate();
            WaitFor();
        }
    }

protected:
    void Execute() override { fn_(*this); }

private:
    std::function<void(FnThread&)> fn_;
};

class DoubleBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::thread::id handlerThread;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_APP + 7) {
            handlerThread = std::this_thread::get_id();
            m.Result = static_cast<LRESULT>(m.WParam * 2);
            return;
        }
        TColorBox::WndProc(m);
    }
};

class UiThreads : public UiTest {};

TEST_F(UiThreads, WorkerCallsWhileTheUiThreadWaitsForItDoNotDeadlock)
{
    Watchdog dog("worker calls during WaitFor");
    DoubleBox box(nullptr);
    const HWND h = box.Handle();
    LRESULT sent = 0;
    std::thread::id syncThread;
    FnThread t([&](FnThread& self) {
        self.Synchronize([&] { syncThread = std::this_thread::get_id(); });
        sent = SendMessage(h, WM_APP + 7, 21, 0);
    });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(syncThread, std::this_thread::get_id());
    EXPECT_EQ(sent, 42);
    EXPECT_EQ(box.handlerThread, std::this_thread::get_id());
}

TEST_F(UiThreads, HandedOverCallsRunFromTheEventLoopInOrder)
{
    Watchdog dog("calls from the event loop");
    DoubleBox box(nullptr);
    const HWND h = box.Handle();
    std::vector<int> order;
    std::atomic<bool> done{false};
    LRESULT sent = 0;
    // A plain worker: the UI thread only turns its event loop, it never waits for it.
    std::thread worker([&] {
        for (int i = 0; i < 20; ++i) TThread::Queue(nullptr, [&order, i] { order.push_back(i); });
        TThread::Synchronize(nullptr, [&] { order.push_back(100); });
        sent = SendMessage(h, WM_APP + 7, 5, 0);
        done = true;
    });
    while (!done) {
        ProcessEvents();
        std::this_thread::sleep_for(1ms);
    }
    worker.join();
    ASSERT_EQ(order.size(), 21u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
    EXPECT_EQ(order.back(), 100);
    EXPECT_EQ(sent, 10);
}

TEST_F(UiThreads, AThreadCreatedRunningStartsWithTheNextTurnOfTheLoop)
{
    Watchdog dog("thread created running");
    std::atomic<bool> ran{false};
    FnThread t([&](FnThread&) { ran = true; }, false);
    for (int i = 0; i < 5000 && !ran; ++i) {
        ProcessEvents();
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(ran);
    EXPECT_FALSE(t.Suspended());
}

TEST_F(UiThreads, AQueuedCallThatRaisesReachesTheErrorBoxAndTheLoopGoesOn)
{
    Watchdog dog("failing queued call");
    bool after = false;
    std::thread worker([&] {
        TThread::Queue(nullptr, [] { throw Exception(u"Port COM3 is busy"); });
        TThread::Queue(nullptr, [&] { after = true; });
    });
    worker.join();
    responder().AnswerMessageBox(mrOk);
    ProcessEvents();
    EXPECT_TRUE(after);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text, u"Port COM3 is busy");
}

} // namespace
} // namespace plat
