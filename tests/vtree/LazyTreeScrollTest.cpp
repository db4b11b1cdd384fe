// Scrolling of the tree: offsets and their clamping, the window scroll bars, the wheel,
// bringing nodes into view and the automatic scrolling at the edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"
#include "LazyTrees.Header.h"

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

} // namespace
} // namespace vtree::testing
