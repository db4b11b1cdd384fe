// Scrolling of the tree: offsets and their clamping, the window scroll bars, the wheel,
// bringing nodes into view and the automatic scrolling at the edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"
#include "LazyTrees.Header.h"
#include "plat/Resources.h"
#include "plat/StdCtrls.h"

namespace vtree::testing {
namespace {

namespace kit = plat::testing;

class ScrollTest : public InputTest {
protected:
    void Rows(int N, const char16_t* Text = u"x")
    {
        for (int i = 0; i < N; ++i) rows.push_back(Add(nullptr, Text));
    }
    int Bottom() { return tree->ClientHeight() - static_cast<int>(tree->RangeY()); }
    std::vector<PLazyNode> rows;
};

TEST_F(ScrollTest, OffsetsAreClampedToTheRange)
{
    Rows(30);
    ASSERT_EQ(tree->RangeY(), 540u);
    struct Case {
        int Value;
        int Expected;
    };
    for (const Case& c : {Case{100, 0}, Case{-1000000, 200 - 540}, Case{-50, -50}, Case{0, 0}}) {
        SCOPED_TRACE(c.Value);
        tree->SetOffsetY(c.Value);
        EXPECT_EQ(tree->OffsetY(), c.Expected);
        EXPECT_INPUT_OK(*tree);
    }
    tree->SetOffsetX(-500);
    EXPECT_EQ(tree->OffsetX(), std::min(0, tree->ClientWidth() - tree->RangeX()));
}

TEST_F(ScrollTest, TheSameOffsetTwiceScrollsOnce)
{
    Rows(30);
    std::vector<std::pair<int, int>> deltas;
    tree->OnScroll = [&](TBaseLazyTree*, int X, int Y) { deltas.push_back({X, Y}); };
    tree->SetOffsetY(-40);
    tree->SetOffsetY(-40);
    EXPECT_EQ(deltas, (std::vector<std::pair<int, int>>{{0, -40}}));
}

TEST_F(ScrollTest, AWheelNotchMovesThreeRows)
{
    Rows(30);
    tree->SetFocus();
    kit::ProcessEvents();
    kit::Wheel(tree, -120, 50, 50);
    EXPECT_EQ(tree->OffsetY(), -54);
    EXPECT_INPUT_OK(*tree);
    kit::Wheel(tree, 120, 50, 50);
    EXPECT_EQ(tree->OffsetY(), 0);
    kit::Wheel(tree, -120, 50, 50, plat::ssCtrl);
    EXPECT_EQ(tree->OffsetY(), -tree->ClientHeight()) << "Ctrl scrolls a page";
}

TEST_F(ScrollTest, WholeScreenWheelSettingScrollsHorizontallyByAPage)
{
    // One row wider than two client widths: the wheel scrolls horizontally.
    static const String wide(120, u'W');
    Rows(1, wide.c_str());
    kit::ProcessEvents();  // painted: the row's width is measured
    tree->UpdateScrollBarsPublic();
    ASSERT_GT(tree->RangeX(), 2 * tree->ClientWidth());
    tree->SetFocus();
    kit::ProcessEvents();
    plat::SetWheelScrollLines(-1);
    kit::Wheel(tree, -120, 20, 5);
    plat::SetWheelScrollLines(3);
    EXPECT_EQ(tree->OffsetX(), -tree->ClientWidth()) << "one page to the right, not a negative amount";
    EXPECT_INPUT_OK(*tree);
}

TEST_F(ScrollTest, ScrollIntoViewCentresTheNode)
{
    Rows(30);
    EXPECT_TRUE(tree->ScrollIntoView(rows[20], true, false));
    const plat::TRect r = tree->GetDisplayRect(rows[20], NoColumn, false);
    EXPECT_EQ(r.Bottom, tree->ClientHeight() / 2);
    EXPECT_FALSE(tree->ScrollIntoView(rows[20], false, false)) << "already in view";
    tree->ScrollIntoView(rows[0], false, false);
    EXPECT_EQ(tree->OffsetY(), 0);
    EXPECT_INPUT_OK(*tree);
}

TEST_F(ScrollTest, TopAndBottomNode)
{
    Rows(30);
    tree->SetTopNode(rows[5]);
    EXPECT_EQ(tree->OffsetY(), -90);
    EXPECT_EQ(tree->TopNode(), rows[5]);
    tree->SetBottomNode(rows[29]);
    EXPECT_EQ(tree->BottomNode(), rows[29]);
    EXPECT_EQ(tree->OffsetY(), Bottom());
}

TEST_F(ScrollTest, AlwaysVisibleKeepsTheBarOfAShortTree)
{
    Rows(2);
    const int full = tree->ClientWidth();
    tree->ScrollBarOptions().SetAlwaysVisible(true);
    tree->UpdateScrollBarsPublic();
    EXPECT_LT(tree->ClientWidth(), full) << "the vertical bar is there";
    EXPECT_EQ(tree->OffsetY(), 0);
    tree->SetOffsetY(-10);
    EXPECT_EQ(tree->OffsetY(), 0) << "nothing to scroll";
    tree->ScrollBarOptions().SetAlwaysVisible(false);
    tree->UpdateScrollBarsPublic();
    EXPECT_EQ(tree->ClientWidth(), full);
}

TEST_F(ScrollTest, BottomSpaceExtendsTheRange)
{
    Rows(30);
    tree->SetBottomSpace(50);
    EXPECT_EQ(tree->RangeY(), 590u);
    tree->SetOffsetY(-1000000);
    EXPECT_EQ(tree->OffsetY(), tree->ClientHeight() - 590);
    EXPECT_INPUT_OK(*tree);
}

// Dragging the thumb scrolls while it moves and stays where it was released.
TEST_F(ScrollTest, ThumbDragStaysWhereItIsReleased)
{
    Rows(30);
    const int barX = tree->ClientWidth() + 8;
    kit::Press(tree, barX, 30);  // on the thumb, at the top of the track
    EXPECT_INPUT_OK(*tree);
    for (int y = 50; y <= 90; y += 20) kit::Move(tree, barX, y);
    EXPECT_TRUE(tree->HasState(tsThumbTracking));
    const int dragged = tree->OffsetY();
    EXPECT_LT(dragged, -100);
    kit::Release(tree, barX, 90);
    EXPECT_FALSE(tree->HasState(tsThumbTracking));
    EXPECT_EQ(tree->OffsetY(), dragged) << "the release keeps the place";
    EXPECT_EQ(plat::GetScrollPos(tree->Handle(), plat::SB_VERT), -dragged);
    EXPECT_INPUT_OK(*tree, true);
}

TEST_F(ScrollTest, BarClicksScrollByTheIncrement)
{
    Rows(30);
    tree->ScrollBarOptions().SetVerticalIncrement(20);
    const int barX = tree->ClientWidth() + 5;
    // The lower arrow of the vertical bar, then the track below the thumb.
    kit::Click(tree, barX, tree->ClientHeight() - 5);
    EXPECT_EQ(tree->OffsetY(), -20);
    EXPECT_INPUT_OK(*tree, true);
    kit::Click(tree, barX, tree->ClientHeight() - 40);
    EXPECT_EQ(tree->OffsetY(), -20 - tree->ClientHeight());
    EXPECT_INPUT_OK(*tree, true);
}

TEST_F(ScrollTest, AutoScrollWaitsForTheDelayThenStepsEveryInterval)
{
    Rows(30);
    Select({toMultiSelect});
    TLTAutoOptions ao = tree->TreeOptions().AutoOptions();
    tree->TreeOptions().SetAutoOptions(TLTAutoOptions(ao | (1u << toAutoScroll)));
    tree->SetAutoScrollDelay(300);
    tree->SetAutoScrollInterval(50);
    Press(150, 5);
    Move(150, 60);
    ASSERT_TRUE(tree->HasState(tsDrawSelecting));
    Move(150, tree->ClientHeight() - 5);  // the lower edge zone
    EXPECT_TRUE(tree->HasState(tsScrollPending));
    kit::AdvanceClock(299);
    EXPECT_EQ(tree->OffsetY(), 0);
    kit::AdvanceClock(1);
    EXPECT_EQ(tree->OffsetY(), -20);
    EXPECT_TRUE(tree->HasState(tsScrolling));
    kit::AdvanceClock(49);
    EXPECT_EQ(tree->OffsetY(), -20);
    kit::AdvanceClock(1);
    EXPECT_EQ(tree->OffsetY(), -40);
    EXPECT_INPUT_OK(*tree);
    Release(150, tree->ClientHeight() - 5);
    kit::AdvanceClock(500);
    EXPECT_EQ(tree->OffsetY(), -40) << "the release stops it";
}

TEST_F(ScrollTest, EndKeyScrollsToTheBottomAndTheBarFollows)
{
    Rows(30);
    tree->SetFocus();
    kit::ProcessEvents();
    tree->SetFocusedNode(rows[0]);
    kit::Key(plat::VK_END);
    EXPECT_EQ(tree->FocusedNode(), rows[29]);
    EXPECT_EQ(tree->OffsetY(), Bottom());
    EXPECT_EQ(plat::GetScrollPos(tree->Handle(), plat::SB_VERT), -Bottom());
    EXPECT_INPUT_OK(*tree, true);
}

// With header columns the horizontal range is the columns' total width (not the widest text),
// and Ctrl+Left/Right steps by the average width of the visible, non-fixed columns.
TEST_F(ScrollTest, HeaderColumnsSetTheHorizontalRangeAndTheCtrlArrowStep)
{
    Rows(3, u"a text far wider than nothing at all, wider than any column here");
    const int contentRange = tree->RangeX();
    TLazyTreeColumns& cols = tree->Header().Columns();
    for (int w : {90, 120, 150, 61}) cols.Add()->SetWidth(w);
    cols[3]->SetOptions(cols[3]->Options() | ColBit(coFixed));
    EXPECT_EQ(tree->RangeX(), 90 + 120 + 150 + 61);
    EXPECT_NE(tree->RangeX(), contentRange);
    EXPECT_EQ(tree->ScrollWidth(), 120);  // (90 + 120 + 150) / 3, the fixed column left out
    tree->SetFocus();
    kit::ProcessEvents();
    const int leftmost = tree->ClientWidth() - 421;
    ASSERT_LT(leftmost, -120);
    struct Case {
        const char* What;
        std::uint16_t Key;
        int Offset;
    };
    for (const Case& c : {Case{"one step right", plat::VK_RIGHT, -120},
                          Case{"the next step is clamped at the range", plat::VK_RIGHT, std::max(-240, leftmost)},
                          Case{"clamped again", plat::VK_RIGHT, leftmost},
                          Case{"back left", plat::VK_LEFT, leftmost + 120}}) {
        SCOPED_TRACE(c.What);
        kit::Key(c.Key, plat::ssCtrl);
        EXPECT_EQ(tree->OffsetX(), c.Offset);
        EXPECT_INPUT_OK(*tree, true);
    }
    cols.Clear();
    EXPECT_EQ(tree->RangeX(), contentRange);
    EXPECT_EQ(tree->ScrollWidth(), static_cast<int>(tree->Indent()));
}

// A middle press on a tree larger than its window opens the panning window centred on the
// press: a popup of 32 x 32 whose region is exactly the non-magenta pixels of the picture
// chosen by the directions the content can move.
TEST_F(ScrollTest, PanningWindowRegionMatchesItsImage)
{
    struct Case {
        const char* What;
        int Rows;
        const char16_t* Text;
        const char16_t* Picture;
    };
    const Case cases[] = {
        {"taller only", 30, u"x", u"LT_MOVENS"},
        {"wider only", 3, u"a text far wider than the window of the tree, wider than 240 pixels", u"LT_MOVEEW"},
        {"wider and taller", 30, u"a text far wider than the window of the tree, wider than 240 pixels",
         u"LT_MOVEALL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        tree->Clear();
        rows.clear();
        Rows(c.Rows, c.Text);
        Press(60, 50, plat::mbMiddle);
        plat::TWinControl* w = tree->PanningWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->ClassName(), u"LTPanningWindow");
        EXPECT_TRUE(plat::IsWindowVisible(w->Handle()));
        EXPECT_FALSE(w->Focused()) << "shown without activation";
        const plat::TPoint at = tree->ClientToScreen({60, 50});
        EXPECT_EQ(w->BoundsRect(), (plat::TRect{at.X - 16, at.Y - 16, at.X + 16, at.Y + 16}));
        plat::TBitmap expected;
        ASSERT_TRUE(plat::LoadBitmapResource(c.Picture, expected));
        ASSERT_EQ(expected.Width(), 32);
        int shown = 0, mismatches = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool ink = expected.Canvas()->Pixels(x, y) != 0xFF00FF;
                shown += ink;
                mismatches += ink != plat::PtInWindowRgn(w->Handle(), {x, y});
            }
        EXPECT_EQ(mismatches, 0);
        EXPECT_GT(shown, 100);
        EXPECT_LT(shown, 32 * 32) << "the corners are left out";
        // The window paints the picture.
        auto painted = kit::GrabPainted(w);
        EXPECT_EQ(painted->Canvas()->Pixels(16, 16), expected.Canvas()->Pixels(16, 16));
        EXPECT_EQ(painted->Canvas()->Pixels(16, 4), expected.Canvas()->Pixels(16, 4));
        if (std::string(c.What) == "wider and taller") kit::SaveGrab(w, u"tree-panning-window.png");
        Release(60, 50, plat::mbMiddle);
        EXPECT_NE(tree->PanningWindow(), nullptr) << "a click without moving pans on";
        Click(60, 50);
        EXPECT_EQ(tree->PanningWindow(), nullptr);
        EXPECT_EQ(tree->PanningCursor(), plat::crDefault);
    }
}

// While panning the pointer shows the direction the content moves, with a dead zone of 7
// pixels around the start and a zone of 8 pixels for the straight directions.
TEST_F(ScrollTest, PanningCursorFollowsTheDirection)
{
    struct Case {
        int DX, DY;
        const char16_t* Cursor;
    };
    const Case both[] = {
        {0, 0, u"LT_MOVEALL"},   {7, -7, u"LT_MOVEALL"}, {-20, -20, u"LT_MOVENW"}, {-20, 8, u"LT_MOVEW"},
        {-20, 20, u"LT_MOVESW"}, {8, -20, u"LT_MOVEN"},  {0, 20, u"LT_MOVES"},     {20, -9, u"LT_MOVENE"},
        {20, 0, u"LT_MOVEE"},    {9, 9, u"LT_MOVESE"},
    };
    Rows(30, u"a text far wider than the window of the tree, wider than 240 pixels");
    Press(100, 100, plat::mbMiddle);
    Release(100, 100, plat::mbMiddle);
    for (const Case& c : both) {
        SCOPED_TRACE(::testing::Message() << c.DX << ", " << c.DY);
        Move(100 + c.DX, 100 + c.DY);
        EXPECT_EQ(plat::Screen->Cursors(tree->PanningCursor()), plat::LoadCursorResource(c.Cursor));
        EXPECT_TRUE(kit::ShowsCursor(tree, 100 + c.DX, 100 + c.DY, tree->PanningCursor()));
    }
    Press(100, 100, plat::mbLeft);
    Release(100, 100, plat::mbLeft);
    EXPECT_FALSE(kit::ShowsCursor(tree, 100, 100, 64)) << "the control's own cursor is back";

    // Only taller: up or down by the side of the start; close to it the vertical picture.
    tree->Clear();
    rows.clear();
    Rows(30);
    const Case tall[] = {{0, 0, u"LT_MOVENS"}, {-20, -1, u"LT_MOVEN"}, {20, 3, u"LT_MOVES"}};
    Press(100, 100, plat::mbMiddle);
    Release(100, 100, plat::mbMiddle);
    for (const Case& c : tall) {
        SCOPED_TRACE(::testing::Message() << "tall " << c.DX << ", " << c.DY);
        Move(100 + c.DX, 100 + c.DY);
        EXPECT_EQ(plat::Screen->Cursors(tree->PanningCursor()), plat::LoadCursorResource(c.Cursor));
    }
    Click(100, 100);
}

// Panning scrolls every 20 ms by the pointer's distance from the start less a dead zone of 8
// pixels; a middle drag ends it on release, and the panning window goes with it.
TEST_F(ScrollTest, PanningScrollsByTheDistanceEveryTick)
{
    Rows(60);
    Press(100, 50, plat::mbMiddle);
    Move(100, 80);  // beyond the drag threshold: a drag, ended by the release
    EXPECT_TRUE(tree->HasState(tsWheelPanning));
    EXPECT_FALSE(tree->HasState(tsWheelScrolling));
    kit::AdvanceClock(19);
    EXPECT_EQ(tree->OffsetY(), 0);
    kit::AdvanceClock(1);
    EXPECT_EQ(tree->OffsetY(), 50 - 80 + 8);
    kit::AdvanceClock(20);
    EXPECT_EQ(tree->OffsetY(), 2 * (50 - 80 + 8));
    EXPECT_INPUT_OK(*tree);
    Release(100, 80, plat::mbMiddle);
    EXPECT_EQ(tree->PanningWindow(), nullptr);
    kit::AdvanceClock(100);
    EXPECT_EQ(tree->OffsetY(), 2 * (50 - 80 + 8)) << "the release stops it";
}

// A tree freed while it pans takes its panning window with it; losing the focus stops panning.
TEST_F(ScrollTest, PanningEndsWithTheFocusAndTheTree)
{
    Rows(30);
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(250, 10, 60, 20);
    Press(100, 100, plat::mbMiddle);
    Release(100, 100, plat::mbMiddle);
    ASSERT_NE(tree->PanningWindow(), nullptr);
    other->SetFocus();
    kit::ProcessEvents();
    EXPECT_EQ(tree->PanningWindow(), nullptr);
    EXPECT_FALSE(tree->HasState(tsWheelScrolling));

    tree->SetFocus();
    Press(100, 100, plat::mbMiddle);
    Release(100, 100, plat::mbMiddle);
    ASSERT_NE(tree->PanningWindow(), nullptr);
    delete tree;
    tree = nullptr;
    kit::AdvanceClock(100);
    kit::ProcessEvents();
}

// A tree filled before its form shows gets its scroll bars, painted, with the first show:
// nothing else has to happen first.
TEST_F(ScrollTest, BarsOfATreeFilledBeforeTheFirstShowAreThereAtOnce)
{
    plat::TForm late(nullptr);
    late.SetBounds(60, 60, 320, 260);
    auto* t = new InputTree(&late);
    t->SetParent(&late);
    t->SetBounds(0, 0, 240, 200);
    t->SetBorderStyle(plat::bsNone);
    t->OnGetText = [](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TVSTTextType, String& T) {
        T = u"a text far wider than the window of the tree, wider than 240 pixels";
    };
    t->SetRootNodeCount(100);
    late.Show();
    kit::ProcessEvents();
    EXPECT_NE(t->WindowStyle() & plat::WS_VSCROLL, 0u);
    EXPECT_NE(t->WindowStyle() & plat::WS_HSCROLL, 0u);
    plat::TScrollInfo info;
    info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS;
    ASSERT_TRUE(plat::GetScrollInfo(t->Handle(), plat::SB_VERT, info));
    EXPECT_EQ(info.nMax, 1800);
    EXPECT_EQ(static_cast<int>(info.nPage), t->ClientHeight() + 1);
    EXPECT_EQ(t->ClientWidth(), 240 - plat::GetSystemMetrics(plat::SM_CXVSCROLL));
    // The bars are painted: the window shows what a full repaint of its frame shows.
    auto painted = kit::GrabPainted(t);
    t->InvalidateFrame();
    t->Invalidate();
    auto repainted = kit::GrabPainted(t);
    int differ = 0;
    for (int y = 0; y < 200; y += 3)
        for (int x = 0; x < 240; x += 3) differ += painted->Canvas()->Pixels(x, y) != repainted->Canvas()->Pixels(x, y);
    EXPECT_EQ(differ, 0);
    EXPECT_NE(painted->Canvas()->Pixels(240 - 8, 100), t->Color());
    kit::SaveGrab(&late, u"tree-bars-first-show.png");
    EXPECT_INPUT_OK(*t);
}

// Rows too wide and too many for the window, added one by one: each bar that appears narrows
// the client area, and the bars settle (both shown) instead of showing and hiding each other.
TEST_F(ScrollTest, BarsSettleWhileWideRowsAreAdded)
{
    for (const char16_t* text : {u"a text far wider than the window of the tree, wider than 240 pixels",
                                 u"a text about as wide as the tree's client"}) {
        SCOPED_TRACE(std::u16string(text).size());
        tree->Clear();
        rows.clear();
        Rows(30, text);
        EXPECT_NE(tree->WindowStyle() & plat::WS_VSCROLL, 0u);
        EXPECT_EQ(tree->ClientWidth(), 240 - plat::GetSystemMetrics(plat::SM_CXVSCROLL));
        EXPECT_EQ((tree->WindowStyle() & plat::WS_HSCROLL) != 0, tree->RangeX() > tree->ClientWidth());
        EXPECT_FALSE(tree->HasState(tsSizing));
        plat::TScrollInfo info;
        info.fMask = plat::SIF_PAGE;
        plat::GetScrollInfo(tree->Handle(), plat::SB_VERT, info);
        EXPECT_EQ(static_cast<int>(info.nPage), tree->ClientHeight() + 1) << "set for the final client height";
        EXPECT_INPUT_OK(*tree);
    }
}

} // namespace
} // namespace vtree::testing
