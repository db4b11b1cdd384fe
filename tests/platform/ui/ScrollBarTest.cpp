// Window scroll bars: scroll info, the thumb's place, arrow clicks and thumb drags.
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TColorBox;

class ScrollBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::vector<std::pair<int, int>> vscroll;  // code, position
    std::vector<int> trackPos;                 // SIF_TRACKPOS as each message found it
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_VSCROLL) {
            vscroll.push_back({LoWord(m.WParam), static_cast<std::int16_t>(HiWord(m.WParam))});
            TScrollInfo si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(Handle(), SB_VERT, si);
            trackPos.push_back(si.nTrackPos);
        }
        TColorBox::WndProc(m);
    }
};

class ScrollBarTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        box = new ScrollBox(form.get());
        box->SetParent(form.get());
        box->SetBounds(10, 10, 100, 200);
        box->SetColor(clWhite);
        TScrollInfo si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = 99;
        si.nPage = 10;
        si.nPos = 45;
        SetScrollInfo(box->Handle(), SB_VERT, si, true);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    std::unique_ptr<TForm> form;
    ScrollBox* box = nullptr;
};

TEST_F(ScrollBarTest, ScrollInfoIsClampedAndTheBarTakesClientSpace)
{
    EXPECT_EQ(box->ClientRect(), Rect(0, 0, 83, 200));
    TScrollInfo si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 45);
    // The highest position leaves a full page: 99 - 10 + 1.
    EXPECT_EQ(SetScrollPos(box->Handle(), SB_VERT, 95, true), 45);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 90);
    EXPECT_EQ(SetScrollPos(box->Handle(), SB_VERT, -5, true), 90);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 0);

    // A range that needs no scrolling hides the bar, unless told to keep it disabled.
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 9;
    SetScrollInfo(box->Handle(), SB_VERT, si, true);
    EXPECT_EQ(box->ClientRect(), Rect(0, 0, 100, 200));
    si.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(box->Handle(), SB_VERT, si, true);
    EXPECT_EQ(box->ClientRect(), Rect(0, 0, 83, 200));
}

TEST_F(ScrollBarTest, ThumbSizeAndPlaceFollowPageAndPosition)
{
    // Track 17..183 (166 px); thumb 166 * 10 / 100 = 16 px at (166 - 16) * 45 / 90 = 75.
    auto g = Grab(box);
    const TColor track = ColorToRGB(clScrollBar);
    const TColor face = ColorToRGB(clBtnFace);
    const int x = 83 + 8;
    EXPECT_EQ(PixelOf(*g, x, 17 + 74), track);
    EXPECT_EQ(PixelOf(*g, x, 17 + 75 + 8), face);
    EXPECT_EQ(PixelOf(*g, x, 17 + 75 + 16), track);
    EXPECT_EQ(PixelOf(*g, 40, 100), clWhite);
}

TEST_F(ScrollBarTest, ArrowClickSendsLineDownThenEndScroll)
{
    Click(box, 83 + 8, 200 - 8);
    EXPECT_EQ(box->vscroll, (std::vector<std::pair<int, int>>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    box->vscroll.clear();
    Click(box, 83 + 8, 30);  // page area above the thumb
    EXPECT_EQ(box->vscroll, (std::vector<std::pair<int, int>>{{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfterADelay)
{
    Press(box, 83 + 8, 200 - 8);
    AdvanceClock(399);
    EXPECT_EQ(box->vscroll.size(), 1u);
    AdvanceClock(1 + 50 * 3);
    Release(box, 83 + 8, 200 - 8);
    AdvanceClock(500);
    std::vector<std::pair<int, int>> expected(5, {SB_LINEDOWN, 0});
    expected.push_back({SB_ENDSCROLL, 0});
    EXPECT_EQ(box->vscroll, expected);
}

TEST_F(ScrollBarTest, ThumbDragTracksThenSetsThePosition)
{
    const int x = 83 + 8;
    Press(box, x, 100);
    for (int y = 110; y <= 130; y += 10) Move(box, x, y);
    Release(box, x, 130);
    ASSERT_GE(box->vscroll.size(), 4u);
    int last = 45;
    size_t i = 0;
    for (; i < box->vscroll.size() && box->vscroll[i].first == SB_THUMBTRACK; ++i) {
        EXPECT_GT(box->vscroll[i].second, last);
        last = box->vscroll[i].second;
    }
    EXPECT_EQ(i, 3u);
    ASSERT_EQ(box->vscroll.size(), i + 2);
    EXPECT_EQ(box->vscroll[i], std::make_pair(SB_THUMBPOSITION, last));
    EXPECT_EQ(box->vscroll[i + 1].first, SB_ENDSCROLL);
    // The window reads the dragged place as the track position while it handles the moves
    // and the final SB_THUMBPOSITION (the 32-bit way to the place).
    for (size_t k = 0; k <= i; ++k) EXPECT_EQ(box->trackPos[k], box->vscroll[k].second) << k;
    // 30 px of thumb travel over 150 px of track is 18 positions.
    EXPECT_EQ(last, 45 + 18);
}

// A control with a 20-pixel header in its non-client area.
class HeaderBox : public TColorBox {
public:
    using TColorBox::TColorBox;
    std::vector<TMessage> nc;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_NCCALCSIZE) {
            TColorBox::WndProc(m);
            reinterpret_cast<TRect*>(m.LParam)->Top += 20;
            return;
        }
        if (m.Msg == WM_NCLBUTTONDOWN || m.Msg == WM_LBUTTONDOWN) nc.push_back(m);
        TColorBox::WndProc(m);
    }
};

TEST_F(ScrollBarTest, NonClientAreaOfTheControlsOwnTakesClicksAsNonClientMessages)
{
    auto* h = new HeaderBox(form.get());
    h->SetParent(form.get());
    h->SetBounds(150, 10, 100, 80);
    h->SetColor(clWhite);
    EXPECT_EQ(h->ClientRect(), Rect(0, 0, 100, 60));
    const TPoint origin = h->ClientOrigin();
    const TPoint formOrigin = form->ClientOrigin();
    EXPECT_EQ(origin.X - formOrigin.X, 150);
    EXPECT_EQ(origin.Y - formOrigin.Y, 10 + 20);
    Click(h, 5, -10);  // 10 px into the header
    Click(h, 5, 3);
    ASSERT_EQ(h->nc.size(), 2u);
    EXPECT_EQ(h->nc[0].Msg, WM_NCLBUTTONDOWN);
    EXPECT_EQ(PointFromLParam(h->nc[0].LParam), Point(origin.X + 5, origin.Y - 10));
    EXPECT_EQ(h->nc[1].Msg, WM_LBUTTONDOWN);
    EXPECT_EQ(PointFromLParam(h->nc[1].LParam), Point(5, 3));
    // The header belongs to the window, not to the client: a grab shows the client 20 px down.
    auto g = Grab(h);
    EXPECT_EQ(PixelOf(*g, 50, 30), clWhite);
}

} // namespace
} // namespace plat
