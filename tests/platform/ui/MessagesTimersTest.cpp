// Messages (registered ids, posting, sending across threads) and timers on the test clock.
#include <atomic>
#include <thread>

#include "plat/Forms.h"
#include "plat/Testing.h"
#include "plat/Timers.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TColorBox;

class MessagesTest : public UiTest {};

TEST_F(MessagesTest, RegisteredMessagesShareIdsByName)
{
    const UINT a = RegisterWindowMessage(u"GridEditDone");
    const UINT b = RegisterWindowMessage(u"GridEditDone");
    const UINT c = RegisterWindowMessage(u"DTPShiftFocus");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_GE(a, 0xC000u);
    EXPECT_GE(c, 0xC000u);
    const UINT f1 = RegisterClipboardFormat(u"TExtStringGrid Cells");
    EXPECT_EQ(RegisterClipboardFormat(u"TExtStringGrid Cells"), f1);
    EXPECT_GE(f1, 0xC000u);
}

TEST_F(MessagesTest, PostedMessageRunsAfterThePostingHandlerReturned)
{
    TForm form(nullptr);
    TColorBox box(nullptr);
    box.SetParent(&form);
    const UINT msg = WM_APP + 5;
    bool flag = false;
    bool flagSeenByPosted = false;
    int delivered = 0;
    box.Record = true;
    form.OnClick = [&](TObject*) {
        PostMessage(box.Handle(), msg, 7, 9);
        flag = true;
    };
    form.Click();
    EXPECT_EQ(delivered, 0);
    box.Received.clear();
    ProcessEvents();
    for (const TMessage& m : box.Received) {
        if (m.Msg == msg) {
            ++delivered;
            flagSeenByPosted = flag;
            EXPECT_EQ(m.WParam, 7u);
            EXPECT_EQ(m.LParam, 9);
        }
    }
    EXPECT_EQ(delivered, 1);
    EXPECT_TRUE(flagSeenByPosted);
}

TEST_F(MessagesTest, MessagePostedToAControlDestroyedBeforeDeliveryIsDropped)
{
    TForm form(nullptr);
    auto* box = new TColorBox(nullptr);
    box->SetParent(&form);
    const HWND h = box->Handle();
    EXPECT_TRUE(PostMessage(h, WM_APP + 1, 0, 0));
    delete box;
    EXPECT_FALSE(IsWindow(h));
    ProcessEvents();  // must not crash or reach a freed control
    EXPECT_FALSE(PostMessage(h, WM_APP + 1, 0, 0));
}

class EchoBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::thread::id handlerThread;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_APP + 2) {
            handlerThread = std::this_thread::get_id();
            m.Result = static_cast<LRESULT>(m.WParam * 2);
            return;
        }
        TColorBox::WndProc(m);
    }
};

TEST_F(MessagesTest, SendMessageFromAWorkerRunsOnTheUiThreadAndReturnsItsResult)
{
    EchoBox box(nullptr);
    LRESULT result = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessage(box.Handle(), WM_APP + 2, 21, 0);
        done = true;
    });
    for (int i = 0; i < 2000 && !done; ++i) {
        ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(box.handlerThread, std::this_thread::get_id());
}

class CountBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::vector<WPARAM> got;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_APP + 3) got.push_back(m.WParam);
        TColorBox::WndProc(m);
    }
};

TEST_F(MessagesTest, MessagesPostedFromAWorkerArriveInOrderOnTheUiThread)
{
    CountBox box(nullptr);
    std::thread worker([h = box.Handle()] {
        for (WPARAM i = 0; i < 100; ++i) PostMessage(h, WM_APP + 3, i, 0);
    });
    worker.join();
    ProcessEvents();
    ASSERT_EQ(box.got.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) EXPECT_EQ(box.got[i], i);
}

TEST_F(MessagesTest, PeekMessageFindsAndRemovesOneWaitingMessage)
{
    CountBox a(nullptr), b(nullptr);
    PostMessage(a.Handle(), WM_APP + 3, 1, 0);
    PostMessage(b.Handle(), 0x8020, 2, 0);
    PostMessage(b.Handle(), WM_APP + 3, 3, 0);
    TMsg m;
    EXPECT_FALSE(PeekMessage(m, a.Handle(), 0x8020, 0x8020, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(m, b.Handle(), 0x8020, 0x8020, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_TRUE(PeekMessage(m, b.Handle(), 0x8020, 0x8020, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(m, b.Handle(), 0x8020, 0x8020, PM_REMOVE));
    ProcessEvents();
    EXPECT_EQ(a.got, (std::vector<WPARAM>{1}));
    EXPECT_EQ(b.got, (std::vector<WPARAM>{3}));
}

// A UI thread waiting for a worker that sends to it, without running its call queue, takes
// the waiting request with PeekMessage: only the one its filter names runs, and its sender
// goes on with the handler's result.
TEST_F(MessagesTest, PeekMessageRunsAWaitingSentMessageOfItsFilterAndReleasesTheSender)
{
    CountBox a(nullptr);
    EchoBox b(nullptr);
    std::atomic<LRESULT> resultB{-1};
    std::thread toA([&] { SendMessage(a.Handle(), WM_APP + 3, 7, 0); });
    std::thread toB([&] { resultB = SendMessage(b.Handle(), WM_APP + 2, 8, 0); });
    TMsg m;
    for (int i = 0; i < 5000 && resultB.load() == -1; ++i) {
        EXPECT_FALSE(PeekMessage(m, b.Handle(), WM_APP + 2, WM_APP + 2, PM_REMOVE));  // run, not returned
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    toB.join();
    EXPECT_EQ(resultB.load(), 16);
    EXPECT_EQ(b.handlerThread, std::this_thread::get_id());
    EXPECT_TRUE(a.got.empty());  // outside the filter: it waits for the call queue
    for (int i = 0; i < 5000 && a.got.empty(); ++i) {
        ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    toA.join();
    EXPECT_EQ(a.got, (std::vector<WPARAM>{7}));
}

TEST_F(MessagesTest, CallWndProcHookSeesWindowChangesUntilUnhooked)
{
    TForm form(nullptr);
    auto* box = new TColorBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 50, 50);
    std::vector<UINT> seen;
    const int id = SetCallWndProcHook([&](HWND h, const TMessage& m) {
        if (h == box->Handle() && (m.Msg == WM_WINDOWPOSCHANGED || m.Msg == WM_SIZE || m.Msg == WM_MOVE)) seen.push_back(m.Msg);
    });
    box->SetBounds(10, 20, 60, 50);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    UnhookCallWndProcHook(id);
    box->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(MessagesTest, PerformReachesTheOverriddenWndProcAndReturnsItsResult)
{
    EchoBox box(nullptr);
    EXPECT_EQ(box.Perform(WM_APP + 2, 5, 0), 10);
    EXPECT_EQ(SendMessage(box.Handle(), WM_APP + 2, 6, 0), 12);
    EXPECT_EQ(SendMessage(0, WM_APP + 2, 6, 0), 0);
}

// ---- timers ----------------------------------------------------------------------------

class TimersTest : public UiTest {};

TEST_F(TimersTest, TimerKeepsItsIntervalsExactlyAndARestartFromTheHandlerCounts)
{
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(60000);
    std::vector<std::uint32_t> firedAt;
    const std::uint32_t start = Now();
    timer.OnTimer = [&](TObject*) {
        firedAt.push_back(Now() - start);
        if (firedAt.size() == 1) {
            timer.SetEnabled(false);
            timer.SetInterval(7200000);
            timer.SetEnabled(true);
        }
    };
    timer.SetEnabled(true);
    AdvanceClock(59999);
    EXPECT_TRUE(firedAt.empty());
    AdvanceClock(1);
    ASSERT_EQ(firedAt.size(), 1u);
    EXPECT_EQ(firedAt[0], 60000u);
    AdvanceClock(7199999);
    EXPECT_EQ(firedAt.size(), 1u);
    AdvanceClock(1);
    ASSERT_EQ(firedAt.size(), 2u);
    EXPECT_EQ(firedAt[1], 60000u + 7200000u);
}

TEST_F(TimersTest, TimersRunAcrossTheTickCounterWrap)
{
    SetTicks(0xFFFFFF00u);
    TTimer timer(nullptr);
    timer.SetInterval(0x200);
    std::vector<std::uint32_t> at;
    timer.OnTimer = [&](TObject*) { at.push_back(Now()); };
    AdvanceClock(0x1FF);
    EXPECT_TRUE(at.empty());
    AdvanceClock(1);
    AdvanceClock(0x200);
    EXPECT_EQ(at, (std::vector<std::uint32_t>{0x100u, 0x300u}));
}

TEST_F(TimersTest, SchedulePerSetterCall)
{
    struct Case {
        const char* name;
        std::function<void(TTimer&)> change;  // applied 400 ms after the start
        std::uint32_t expectedFirst;          // ms after the start
    };
    const Case cases[] = {
        {"enabling an enabled timer keeps the schedule", [](TTimer& t) { t.SetEnabled(true); }, 1000},
        {"the same interval keeps the schedule", [](TTimer& t) { t.SetInterval(1000); }, 1000},
        {"a new interval restarts the count", [](TTimer& t) { t.SetInterval(500); }, 900},
        {"off and on restarts the count", [](TTimer& t) { t.SetEnabled(false); t.SetEnabled(true); }, 1400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTimer timer(nullptr);
        timer.SetInterval(1000);
        const std::uint32_t start = Now();
        std::uint32_t first = 0;
        timer.OnTimer = [&](TObject*) {
            if (first == 0) first = Now() - start;
        };
        AdvanceClock(400);
        c.change(timer);
        AdvanceClock(2000);
        EXPECT_EQ(first, c.expectedFirst);
    }
}

TEST_F(TimersTest, ManyPeriodsInOneAdvanceFireOncePerPeriodInTimeOrder)
{
    TTimer slow(nullptr), fast(nullptr);
    slow.SetInterval(250);
    fast.SetInterval(100);
    std::vector<std::pair<char, std::uint32_t>> log;
    const std::uint32_t start = Now();
    slow.OnTimer = [&](TObject*) { log.push_back({'s', Now() - start}); };
    fast.OnTimer = [&](TObject*) { log.push_back({'f', Now() - start}); };
    AdvanceClock(500);
    const std::vector<std::pair<char, std::uint32_t>> expected = {{'f', 100}, {'f', 200}, {'s', 250}, {'f', 300}, {'f', 400}, {'s', 500}, {'f', 500}};
    EXPECT_EQ(log, expected);
}

class TimerBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::vector<std::pair<std::uintptr_t, std::uint32_t>> ticks;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_TIMER) ticks.push_back({m.WParam, Now()});
        TColorBox::WndProc(m);
    }
};

TEST_F(TimersTest, WindowTimerSetTwiceWithOneIdIsOneTimerWithTheNewInterval)
{
    TimerBox box(nullptr);
    const std::uint32_t start = Now();
    EXPECT_EQ(SetTimer(box.Handle(), 1, 100), 1u);
    EXPECT_EQ(SetTimer(box.Handle(), 1, 300), 1u);
    AdvanceClock(900);
    ASSERT_EQ(box.ticks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(box.ticks[i].first, 1u);
        EXPECT_EQ(box.ticks[i].second - start, 300u * (i + 1));
    }
    EXPECT_TRUE(KillTimer(box.Handle(), 1));
    EXPECT_FALSE(KillTimer(box.Handle(), 1));
    AdvanceClock(1000);
    EXPECT_EQ(box.ticks.size(), 3u);
}

TEST_F(TimersTest, TimersOfADestroyedWindowStop)
{
    auto* box = new TimerBox(nullptr);
    SetTimer(box->Handle(), 3, 10);
    const HWND h = box->Handle();
    delete box;
    AdvanceClock(100);  // must not reach the freed control
    EXPECT_EQ(SetTimer(h, 3, 10), 0u);
}

TEST_F(TimersTest, ExceptionInATimerHandlerReachesTheErrorBoxAndTimersGoOn)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int calls = 0;
    timer.OnTimer = [&](TObject*) {
        if (++calls == 1) throw Exception(u"tick failed");
    };
    responder().AnswerMessageBox(mrOk);
    AdvanceClock(30);
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text, u"tick failed");
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, mtError);
}

} // namespace
} // namespace plat
