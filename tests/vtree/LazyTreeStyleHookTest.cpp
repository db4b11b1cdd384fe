// The scroll-bar style hook driven with a stand-in style over a real tree window: the bar
// rectangles from the layer's scroll-bar information, hot and pressed states, the thumb-drag
// arithmetic (page clamp, 32767 cap), header clicks, painting only with an available style,
// and the layer reporting no custom style so no hook is registered.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.StyleHooks.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ScrollBarInfo.h"
#include "plat/Testing.h"

namespace vtree {
namespace {

using namespace plat;

class StandInStyle : public TLTScrollBarStyle {
public:
    bool Ready = true;
    std::vector<TThemedScrollBar> Drawn;
    bool Available() const override { return Ready; }
    void DrawElement(TCanvas* Canvas, TThemedScrollBar Element, const TRect& R) override
    {
        Drawn.push_back(Element);
        Canvas->Brush()->SetColor(clRed);
        Canvas->FillRect(R);
    }
};

class RecordingHook : public TVclStyleScrollBarsHook {
public:
    using TVclStyleScrollBarsHook::TVclStyleScrollBarsHook;
    struct Posted {
        UINT Msg;
        WPARAM WParam;
    };
    std::vector<Posted> Posts;

protected:
    void PostScrollMessage(UINT Msg, WPARAM WParam) override { Posts.push_back({Msg, WParam}); }
};

class StyleHook : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        PrepareSharedResources();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 320, 260);
        tree = new TLazyStringTree(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 240, 200);
        tree->SetBorderStyle(bsNone);
        tree->SetRootNodeCount(200);
        form->Show();
        plat::testing::ProcessEvents();
        hook = std::make_unique<RecordingHook>(tree, &style);
    }
    void TearDown() override
    {
        hook.reset();
        form.reset();
        UiTest::TearDown();
    }
    void SetRange(int Max, UINT Page, int Pos = 0)
    {
        TScrollInfo si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = Max;
        si.nPage = Page;
        si.nPos = Pos;
        SetScrollInfo(tree->Handle(), SB_VERT, si, false);
        hook->ComputeScrollBarRects();
    }
    TMessage Msg(UINT M, TPoint P)
    {
        TMessage m;
        m.Msg = M;
        m.LParam = MakeLParam(P.X, P.Y);
        return m;
    }
    // A press on the vertical thumb's centre (non-client message, screen point).
    bool PressThumb()
    {
        const TRect t = hook->VertThumbRect();
        const TPoint screen = tree->ClientToScreen({(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2});
        TMessage m = Msg(WM_NCLBUTTONDOWN, screen);
        return hook->HandleMessage(m);
    }
    int ScrollPos()
    {
        TScrollInfo si;
        si.fMask = SIF_POS;
        GetScrollInfo(tree->Handle(), SB_VERT, si);
        return si.nPos;
    }
    std::unique_ptr<TForm> form;
    TLazyStringTree* tree = nullptr;
    StandInStyle style;
    std::unique_ptr<RecordingHook> hook;
};

TEST_F(StyleHook, LayerReportsNoCustomStyleSoNoHookIsRegistered)
{
    EXPECT_FALSE(CustomStyleActive());
    EXPECT_FALSE(RegisterStyleHooks());
}

TEST_F(StyleHook, ScrollBarInformationGivesTheRectanglesAndStates)
{
    TScrollBarInfo info;
    ASSERT_TRUE(GetScrollBarInfo(tree->Handle(), OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    TRect wr;
    GetWindowRect(tree->Handle(), wr);
    EXPECT_EQ(info.rcScrollBar.Right, wr.Right);
    EXPECT_EQ(info.rcScrollBar.Top, wr.Top);
    EXPECT_GT(info.xyThumbBottom, info.xyThumbTop);
    EXPECT_GE(info.xyThumbTop, info.dxyLineButton);
    ASSERT_TRUE(GetScrollBarInfo(tree->Handle(), OBJID_HSCROLL, info));
    EXPECT_NE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    EXPECT_FALSE(GetScrollBarInfo(tree->Handle(), 0, info));
    EXPECT_FALSE(GetScrollBarInfo(0, OBJID_VSCROLL, info));

    hook->ComputeScrollBarRects();
    const auto& v = hook->VertScrollBarWindow();
    EXPECT_TRUE(v.FScrollBarVisible);
    EXPECT_TRUE(v.FScrollBarEnabled);
    EXPECT_FALSE(hook->HorzScrollBarWindow().FScrollBarVisible);
    const TRect bar = hook->FVertScrollBarRect;
    EXPECT_EQ(bar.Right, tree->ClientWidth() + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(hook->FVertScrollBarUpButtonRect, Rect(bar.Left, bar.Top, bar.Right, bar.Top + 17));
    EXPECT_EQ(hook->FVertScrollBarDownButtonRect, Rect(bar.Left, bar.Bottom - 17, bar.Right, bar.Bottom));
    EXPECT_EQ(hook->FVertScrollBarSliderTrackRect, Rect(bar.Left, bar.Top + 17, bar.Right, bar.Bottom - 17));

    // A range that does not scroll leaves the bar unavailable and without a thumb rectangle.
    EnableScrollBar(tree->Handle(), SB_VERT, ESB_DISABLE_BOTH);
    ASSERT_TRUE(GetScrollBarInfo(tree->Handle(), OBJID_VSCROLL, info));
    EXPECT_NE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE, 0u);
    TMessage refresh;
    refresh.Msg = WM_STYLESCROLLBARSCHANGED;
    const int repaints = hook->RepaintCount();
    EXPECT_TRUE(hook->HandleMessage(refresh));
    EXPECT_EQ(hook->RepaintCount(), repaints + 1);
    EXPECT_FALSE(hook->VertScrollBarWindow().FScrollBarEnabled);
    EXPECT_TRUE(hook->VertThumbRect().IsEmpty());
}

TEST_F(StyleHook, ThumbDragStopsAtTheLastPageAndReportsAtMost32767)
{
    struct Case {
        int Max;
        UINT Page;
        int Drag;         // pixels the pointer moves down
        int Reported;     // position in the scroll message
        int Stored;       // position of the bar afterwards
    };
    for (Case c : {Case{100, 10, 5000, 91, 91}, Case{100000, 0, 5000, 32767, 100000}, Case{100, 10, 0, 0, 0}}) {
        SetRange(c.Max, c.Page);
        hook->Posts.clear();
        ASSERT_TRUE(PressThumb()) << c.Max;
        EXPECT_EQ(hook->FVertScrollBarSliderState, tsThumbBtnVertPressed);
        EXPECT_TRUE(hook->FLeftMouseButtonDown);
        const TRect t = hook->VertThumbRect();
        TMessage move = Msg(WM_MOUSEMOVE, {(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2 + c.Drag});
        EXPECT_TRUE(hook->HandleMessage(move));
        ASSERT_EQ(hook->Posts.size(), 1u);
        EXPECT_EQ(hook->Posts[0].Msg, WM_VSCROLL);
        EXPECT_EQ(hook->Posts[0].WParam, MakeWParam(SB_THUMBPOSITION, c.Reported)) << c.Max;
        EXPECT_EQ(ScrollPos(), c.Stored) << c.Max;
        TMessage up = Msg(WM_LBUTTONUP, {t.Left + 1, t.Top + 1});
        EXPECT_TRUE(hook->HandleMessage(up));
        EXPECT_EQ(hook->Posts.back().WParam, MakeWParam(SB_ENDSCROLL, 0));
        EXPECT_EQ(hook->FVertScrollBarSliderState, tsThumbBtnVertNormal);
        EXPECT_FALSE(hook->FLeftMouseButtonDown);
    }
}

TEST_F(StyleHook, HotStatesFollowThePointerAndLeaveResetsThem)
{
    SetRange(100, 10);
    const TRect upRect = hook->FVertScrollBarUpButtonRect;
    TMessage over = Msg(WM_NCMOUSEMOVE, tree->ClientToScreen({upRect.Left + 2, upRect.Top + 2}));
    EXPECT_TRUE(hook->HandleMessage(over));
    EXPECT_EQ(hook->FVertScrollBarUpButtonState, tsArrowBtnUpHot);
    EXPECT_EQ(hook->FVertScrollBarDownButtonState, tsArrowBtnDownNormal);
    const TRect t = hook->VertThumbRect();
    TMessage thumb = Msg(WM_NCMOUSEMOVE, tree->ClientToScreen({t.Left + 2, t.Top + 2}));
    EXPECT_TRUE(hook->HandleMessage(thumb));
    EXPECT_EQ(hook->FVertScrollBarUpButtonState, tsArrowBtnUpNormal);
    EXPECT_EQ(hook->FVertScrollBarSliderState, tsThumbBtnVertHot);
    hook->MouseLeave();
    EXPECT_EQ(hook->FVertScrollBarSliderState, tsThumbBtnVertNormal);

    // An arrow pressed and the capture lost: back to Normal.
    TMessage press = Msg(WM_NCLBUTTONDOWN, tree->ClientToScreen({upRect.Left + 2, upRect.Top + 2}));
    EXPECT_FALSE(hook->HandleMessage(press));  // the tree's own handling scrolls by the arrow
    EXPECT_EQ(hook->FVertScrollBarUpButtonState, tsArrowBtnUpPressed);
    TMessage lost;
    lost.Msg = WM_CAPTURECHANGED;
    EXPECT_TRUE(hook->HandleMessage(lost));
    EXPECT_EQ(hook->FVertScrollBarUpButtonState, tsArrowBtnUpNormal);
}

TEST_F(StyleHook, ClicksInTheHeaderAreNotBarClicks)
{
    tree->Header().Columns().Add()->SetWidth(400);
    tree->Header().SetHeight(20);
    tree->Header().SetOptions(tree->Header().Options() | HdrBit(hoVisible));
    plat::testing::ProcessEvents();
    SetRange(100, 10);
    const TRect& h = tree->Header().HeaderRect();
    ASSERT_FALSE(h.IsEmpty());
    // A point in the header strip, in the column over the vertical bar's x.
    const TPoint clientInHeader{hook->FVertScrollBarRect.Left + 2, -10};
    ASSERT_TRUE(tree->Header().InHeader(clientInHeader));
    TMessage down = Msg(WM_NCLBUTTONDOWN, tree->ClientToScreen(clientInHeader));
    EXPECT_FALSE(hook->HandleMessage(down));
    EXPECT_FALSE(hook->FLeftMouseButtonDown);
    EXPECT_EQ(hook->FVertScrollBarSliderState, tsThumbBtnVertNormal);
    TMessage up = Msg(WM_LBUTTONUP, clientInHeader);
    EXPECT_FALSE(hook->HandleMessage(up));
    EXPECT_TRUE(hook->Posts.empty());
    // The bar window starts below the header.
    hook->PlaceScrollBarWindows();
    EXPECT_EQ(hook->VertScrollBarWindow().Bounds.Top, tree->Top() + hook->FVertScrollBarRect.Top + 20);
}

TEST_F(StyleHook, NothingIsPaintedWithoutAnAvailableStyle)
{
    SetRange(100, 10);
    hook->PlaceScrollBarWindows();
    TBitmap target(300, 300);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 300, 300));
    style.Ready = false;
    hook->PaintVertScrollBar(target.Canvas());
    EXPECT_TRUE(style.Drawn.empty());
    const TRect bar = hook->FVertScrollBarRect;
    EXPECT_EQ(target.Canvas()->Pixels(bar.Left + 2, bar.Top + 2), clWhite);

    RecordingHook without(tree, nullptr);
    without.ComputeScrollBarRects();
    without.PaintVertScrollBar(target.Canvas());
    EXPECT_EQ(target.Canvas()->Pixels(bar.Left + 2, bar.Top + 2), clWhite);

    style.Ready = true;
    hook->PaintVertScrollBar(target.Canvas());
    EXPECT_EQ(style.Drawn, (std::vector<TThemedScrollBar>{tsUpperTrackVertNormal, tsUpperTrackVertNormal,
                                                          tsThumbBtnVertNormal, tsArrowBtnUpNormal, tsArrowBtnDownNormal}));
    EXPECT_EQ(target.Canvas()->Pixels(bar.Left + 2, bar.Top + 2), clRed);
}

} // namespace
} // namespace vtree
