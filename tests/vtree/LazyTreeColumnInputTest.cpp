// The column side of the tree's input: the hit column (with cells spanning over empty
// neighbours), the focused column moved by Tab, Left/Right, Home/End and Shift+Alt paging,
// a column brought into view, and the string tree's multi-line width in a column.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "InputFixture.h"
#include "LazyTrees.Header.h"
#include "plat/Clock.h"

namespace vtree::testing {
namespace {

// Three columns of 80 over a 240-wide client; texts per (node, column).
class ColumnInput : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        for (int i = 0; i < 3; ++i) C().Add()->SetWidth(80);
        tree->Header().SetOptions(tree->Header().Options() | HdrBit(hoVisible));
        tree->OnGetText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex Col, TVSTTextType Type, String& T) {
            if (Type != ttNormal) return;
            auto it = cells.find({N, Col});
            T = it == cells.end() ? String(u"c") : it->second;
        };
        plat::testing::ProcessEvents();
    }
    TLazyTreeColumns& C() { return tree->Header().Columns(); }
    void Auto(TLTAutoOption O, bool On)
    {
        TLTAutoOptions o = tree->TreeOptions().AutoOptions();
        o = On ? TLTAutoOptions(o | (TLTAutoOptions(1) << O)) : TLTAutoOptions(o & ~(TLTAutoOptions(1) << O));
        tree->TreeOptions().SetAutoOptions(o);
    }
    THitInfo HitAt(int X, int Y)
    {
        THitInfo hit;
        tree->GetHitTestInfoAt(X, Y, true, hit);
        return hit;
    }
    std::map<std::pair<PLazyNode, TColumnIndex>, String> cells;
};

TEST_F(ColumnInput, EmptyCellsBelongToTheTextOnTheirLeftWithAutoSpan)
{
    const auto n = Roots({u"a"});
    cells[{n[0], 0}] = u"W";
    cells[{n[0], 1}] = u"";
    cells[{n[0], 2}] = u"x";
    const int y = RowY(n[0]);
    struct Case {
        bool autoSpan;
        int x;
        TColumnIndex column;
        THitPosition position;
    };
    const Case cases[] = {
        {false, 120, 1, hiOnItemRight},  // the empty cell on its own
        {true, 120, 0, hiOnItemRight},   // spanned: right of the main column's text
        {true, 170, 2, hiOnItemLabel},
        {true, 230, 2, hiOnItemRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.autoSpan) + " x " + std::to_string(c.x));
        Auto(toAutoSpanColumns, c.autoSpan);
        const THitInfo hit = HitAt(c.x, y);
        EXPECT_EQ(hit.HitColumn, c.column);
        EXPECT_TRUE(hit.Has(hiOnItem));
        EXPECT_TRUE(hit.Has(c.position));
    }
    // A fixed cell does not span into the scrolled columns.
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    EXPECT_EQ(HitAt(120, y).HitColumn, 1);
    C()[0]->SetOptions(C()[0]->Options() & ~ColBit(coFixed));
    // Past the columns nothing is hit.
    C()[2]->SetWidth(40);
    const THitInfo past = HitAt(220, y);
    EXPECT_EQ(past.HitColumn, InvalidColumn);
    EXPECT_TRUE(past.Has(hiNowhere));
}

TEST_F(ColumnInput, ReportModeHitsInOtherColumnsAreOnlyOnItem)
{
    const auto n = Roots({u"a"});
    Misc({toReportMode});
    const THitInfo other = HitAt(85, RowY(n[0]));
    EXPECT_EQ(other.HitColumn, 1);
    EXPECT_EQ(other.HitPositions, HitBit(hiOnItem));
    const THitInfo main = HitAt(LabelX(n[0]), RowY(n[0]));
    EXPECT_EQ(main.HitColumn, 0);
    EXPECT_TRUE(main.Has(hiOnItemLabel));
}

TEST_F(ColumnInput, FixedColumnsAreHitUnscrolled)
{
    const auto n = Roots({u"a"});
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    C()[2]->SetWidth(200);  // 360 in all over a 240-wide client
    tree->SetOffsetX(-100);
    ASSERT_EQ(tree->EffectiveOffsetX(), 100);
    struct Case {
        int x;
        TColumnIndex column;
        int hitX;
    };
    const Case cases[] = {{40, 0, 40}, {79, 0, 79}, {80, 2, 180}, {150, 2, 250}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const THitInfo hit = HitAt(c.x, RowY(n[0]));
        EXPECT_EQ(hit.HitColumn, c.column);
        EXPECT_EQ(hit.HitPoint.X, c.hitX);
    }
}

TEST_F(ColumnInput, TabWalksTheFocusableColumnsAndRows)
{
    const auto n = Roots({u"a", u"b"});
    Select({toExtendedFocus});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coAllowFocus));
    tree->SetWantTabs(true);
    tree->SetFocus();
    tree->SetFocusedNode(n[0]);
    tree->SetFocusedColumn(0);
    struct Step {
        plat::TShiftState shift;
        PLazyNode node;
        TColumnIndex column;
    };
    const Step steps[] = {
        {0, n[0], 2}, {0, n[1], 0}, {0, n[1], 2},
        {0, n[1], 2},  // past the last cell nothing changes
        {plat::ssShift, n[1], 0}, {plat::ssShift, n[0], 2},
    };
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(i++);
        plat::testing::Key(plat::VK_TAB, s.shift);
        EXPECT_EQ(tree->FocusedNode(), s.node);
        EXPECT_EQ(tree->FocusedColumn(), s.column);
    }
    // A refused column is skipped.
    tree->OnFocusChanging = [](TBaseLazyTree*, PLazyNode, PLazyNode, TColumnIndex, TColumnIndex New, bool& Allowed) {
        Allowed = New != 2;
    };
    plat::testing::Key(plat::VK_TAB);
    EXPECT_EQ(tree->FocusedNode(), n[1]);
    EXPECT_EQ(tree->FocusedColumn(), 0);
}

TEST_F(ColumnInput, ArrowsHomeEndAndPagingMoveTheFocusedColumn)
{
    const auto n = Roots({u"a", u"b"});
    Select({toExtendedFocus});
    Misc({toGridExtensions});
    C()[2]->SetWidth(200);
    C().Add()->SetWidth(60);
    tree->SetFocus();
    tree->SetFocusedNode(n[0]);
    tree->SetFocusedColumn(0);
    struct Step {
        plat::WPARAM key;
        plat::TShiftState shift;
        TColumnIndex column;
    };
    const Step steps[] = {
        {plat::VK_RIGHT, 0, 1},
        {plat::VK_RIGHT, 0, 2},
        {plat::VK_LEFT, 0, 1},
        {plat::VK_END, 0, 3},
        {plat::VK_HOME, 0, 0},
        // A page walks while the columns passed fit into the 240-wide client: 80 does, 80 + 200
        // does not; 200 does, 200 + 60 does not; back from 2, 80 + 80 both fit.
        {plat::VK_NEXT, plat::ssShift | plat::ssAlt, 1},
        {plat::VK_NEXT, plat::ssShift | plat::ssAlt, 2},
        {plat::VK_PRIOR, plat::ssShift | plat::ssAlt, 0},
    };
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(i++);
        plat::testing::Key(static_cast<std::uint16_t>(s.key), s.shift);
        EXPECT_EQ(tree->FocusedColumn(), s.column);
        EXPECT_EQ(tree->FocusedNode(), n[0]);
    }
}

TEST_F(ColumnInput, ScrollIntoViewOfAColumn)
{
    C()[2]->SetWidth(200);
    C().Add()->SetWidth(100);  // 460 in all
    ASSERT_EQ(tree->RangeX(), 460);
    EXPECT_FALSE(tree->ScrollIntoView(7, false));
    EXPECT_TRUE(tree->ScrollIntoView(3, false));
    EXPECT_EQ(tree->EffectiveOffsetX(), 460 - 240);
    EXPECT_TRUE(tree->ScrollIntoView(0, false));
    EXPECT_EQ(tree->EffectiveOffsetX(), 0);
    EXPECT_TRUE(tree->ScrollIntoView(2, true));  // centred: 160 + 100 - 120
    EXPECT_EQ(tree->EffectiveOffsetX(), 140);
    // A fixed column never scrolls.
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    tree->SetOffsetX(-100);
    tree->ScrollIntoView(0, false);
    EXPECT_EQ(tree->EffectiveOffsetX(), 100);
    EXPECT_COLUMNS_OK(tree->Header());
}

TEST_F(ColumnInput, MultiLineNodeIsAsWideAsItsColumn)
{
    const auto n = Roots({u"a"});
    cells[{n[0], 1}] = u"several words that wrap inside the column";
    tree->SetMultiline(n[0], true);
    EXPECT_EQ(tree->DoGetNodeWidth(n[0], 1, nullptr), 80);
    C()[1]->SetWidth(130);
    EXPECT_EQ(tree->DoGetNodeWidth(n[0], 1, nullptr), 130);
    // The wrapped text needs more lines in a narrow column.
    const int wide = tree->ComputeNodeHeight(tree->Canvas(), n[0], 1);
    C()[1]->SetWidth(60);
    EXPECT_GT(tree->ComputeNodeHeight(tree->Canvas(), n[0], 1), wide);
    tree->SetMultiline(n[0], false);
    EXPECT_LT(tree->DoGetNodeWidth(n[0], 1, nullptr), 60 + 400);
    EXPECT_NE(tree->DoGetNodeWidth(n[0], 1, nullptr), 60);
}

TEST_F(ColumnInput, ColumnResizeRemeasuresMultiLineNodesOnly)
{
    const auto n = Roots({u"a", u"b"});
    RowY(n[1]);  // initialises the nodes
    ASSERT_TRUE(n[0]->Has(vsInitialized));
    tree->SetMultiline(n[0], true);
    n[0]->Include(vsHeightMeasured);
    n[1]->Include(vsHeightMeasured);
    C()[1]->SetWidth(100);
    EXPECT_FALSE(n[0]->Has(vsHeightMeasured));
    EXPECT_TRUE(n[1]->Has(vsHeightMeasured));
}

TEST_F(ColumnInput, OnlyEditableColumnsCanBeEdited)
{
    const auto n = Roots({u"a"});
    Misc({toEditable});
    Select({toExtendedFocus});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coEditable));
    tree->SetFocus();
    tree->SetFocusedNode(n[0]);
    std::vector<std::pair<TColumnIndex, bool>> asked;
    tree->OnEditing = [&](TBaseLazyTree*, PLazyNode, TColumnIndex Col, bool& Allowed) { asked.push_back({Col, Allowed}); };
    const TColumnIndex columns[] = {0, 1, 2};
    for (TColumnIndex col : columns) {
        tree->SetFocusedColumn(col);
        plat::testing::Key(plat::VK_F2);
    }
    EXPECT_EQ(tree->EditsStarted, 2);
    EXPECT_EQ(asked, (std::vector<std::pair<TColumnIndex, bool>>{{0, true}, {1, false}, {2, true}}));
}

TEST_F(ColumnInput, RowBorderInAFixedColumnResizesTheNode)
{
    const auto n = Roots({u"a", u"b"});
    Misc({toNodeHeightResize, toNodeHeightDblClickResize, toEditable});
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    const int top = tree->GetDisplayRect(n[0], 0, false).Top;
    const int border = tree->GetDisplayRect(n[0], 0, false).Bottom - 1;
    const int before = static_cast<int>(n[0]->NodeHeight);
    // Only a fixed column offers the row border.
    Move(120, border);
    EXPECT_FALSE(plat::testing::ShowsCursor(tree, 120, border, 62));
    Move(40, border);
    EXPECT_TRUE(plat::testing::ShowsCursor(tree, 40, border, 62));
    Press(40, border);
    Move(40, border + 5);
    Move(40, border + 12);
    Release(40, border + 12);
    // The node's bottom follows the mouse.
    EXPECT_EQ(static_cast<int>(n[0]->NodeHeight), border + 12 - top);
    EXPECT_GT(static_cast<int>(n[0]->NodeHeight), before);
    const int newBorder = tree->GetDisplayRect(n[0], 0, false).Bottom - 1;
    plat::testing::DoubleClick(tree, 40, newBorder);
    EXPECT_EQ(static_cast<int>(n[0]->NodeHeight), before);
    EXPECT_EQ(tree->EditsStarted, 0);
}

TEST_F(ColumnInput, CellsShowTheirColumnColour)
{
    const auto n = Roots({u"a"});
    C()[2]->SetOptions(C()[2]->Options() & ~ColBit(coParentColor));
    C()[2]->SetColor(0x30C0F0);
    tree->Invalidate();
    plat::testing::ProcessEvents();
    const auto g = plat::testing::Grab(tree);
    // The grab shows the whole window when it is as high as the tree: the header on top.
    const int top = g->Height() == tree->Height() ? tree->Header().Height() : 0;
    const int y = RowY(n[0]) + top;
    EXPECT_EQ(plat::testing::PixelOf(*g, 230, y), plat::TColor(0x30C0F0));
    EXPECT_NE(plat::testing::PixelOf(*g, 70, y), plat::TColor(0x30C0F0));
}

TEST_F(ColumnInput, DisplayRectOfACell)
{
    const auto n = Roots({u"a"});
    C()[1]->SetWidth(70);
    const plat::TRect r1 = tree->GetDisplayRect(n[0], 1, false);
    EXPECT_EQ(r1.Left, 80);
    EXPECT_EQ(r1.Right, 149);  // the cell's last pixel column is its border
    const plat::TRect r2 = tree->GetDisplayRect(n[0], 2, false);
    EXPECT_EQ(r2.Left, 150);
    EXPECT_EQ(r2.Top, r1.Top);
}

// A band drawn in the cells right of the main column's long text, at the same tree place
// with and without horizontal scrolling. The main column's text is clipped at its column's
// edge (80) unless it spans over an empty neighbour; with full-row selection a band
// right of all columns touches nothing.
TEST_F(ColumnInput, RubberBandSelectsTheSameCellsScrolledOrNot)
{
    const auto n = Roots({u"a", u"b", u"c", u"d", u"e"});
    Select({toMultiSelect});
    struct Case {
        const char* what;
        bool autoSpan, fullRow;
        const char16_t* second;  // the text of column 1
        int lastWidth;           // of column 2
        int fromX, toX;          // the band's horizontal ends in tree coordinates
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"the text ends at its column's edge", false, false, u"x", 200, 130, 100, {}},
        {"it spans over an empty cell", true, false, u"", 200, 130, 100, {0, 1, 2, 3, 4}},
        {"a cell with text stops the span", true, false, u"x", 200, 130, 100, {}},
        {"full row over the columns", false, true, u"x", 200, 130, 100, {0, 1, 2, 3, 4}},
        {"full row right of the columns", false, true, u"x", 40, 230, 210, {}},
    };
    for (const Case& c : cases) {
        for (int offset : {0, 40}) {
            if (offset > 0 && 160 + c.lastWidth <= 240) continue;  // nothing to scroll
            SCOPED_TRACE(std::string(c.what) + ", scrolled by " + std::to_string(offset));
            Auto(toAutoSpanColumns, c.autoSpan);
            if (c.fullRow) Select({toFullRowSelect});
            else Select({}, {toFullRowSelect});
            C()[2]->SetWidth(c.lastWidth);
            for (PLazyNode r : n) {
                cells[{r, 0}] = u"WWWWWWWWWWWWWWWWWWWW";
                cells[{r, 1}] = c.second;
                cells[{r, 2}] = u"";
                tree->InvalidateNode(r);
            }
            tree->ClearSelection();
            tree->SetOffsetX(-offset);
            ASSERT_EQ(tree->EffectiveOffsetX(), offset);
            Press(c.fromX - offset, 150);  // below the rows
            Move(c.toX - offset, 60);
            Move(c.toX - offset, 5);
            std::vector<PLazyNode> expected;
            for (int i : c.selected) expected.push_back(n[static_cast<std::size_t>(i)]);
            EXPECT_EQ(SelectedNodes(), expected);
            Release(c.toX - offset, 5);
            EXPECT_EQ(SelectedNodes(), expected);
        }
    }
}

// Right to left, columns narrower than the client end at its right edge, with and without a
// vertical scroll bar: the cells, the header buttons, the hit tests and the display
// rectangles all move by the empty width at the left.
TEST_F(ColumnInput, RightToLeftColumnsEndAtTheRightEdge)
{
    std::vector<PLazyNode> n = Roots({u"a", u"b"});
    for (int i = 0; i < 3; ++i) C()[i]->SetWidth(50);  // 150 in all
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coParentColor));
    C()[1]->SetColor(0x30C0F0);
    tree->SetBiDiMode(bdRightToLeft);
    for (bool withBar : {false, true}) {
        SCOPED_TRACE(withBar ? "with a vertical bar" : "without a bar");
        if (withBar)
            for (int i = 0; i < 30; ++i) n.push_back(Add(nullptr, u"x"));
        const int client = tree->ClientWidth();
        ASSERT_EQ(client < 240, withBar);
        const int empty = client - 150;  // left of the first column
        tree->Invalidate();
        plat::testing::ProcessEvents();
        const int y = RowY(n[0]);
        struct Probe {
            int x;
            TColumnIndex column;
        };
        for (const Probe& p : {Probe{empty - 5, InvalidColumn}, Probe{empty + 2, 0}, Probe{empty + 60, 1},
                               Probe{client - 2, 2}}) {
            SCOPED_TRACE(p.x);
            const THitInfo hit = HitAt(p.x, y);
            EXPECT_EQ(hit.HitColumn, p.column);
            EXPECT_EQ(hit.Has(hiNowhere), p.column == InvalidColumn);
        }
        EXPECT_EQ(tree->GetDisplayRect(n[0], 0, false).Left, empty);
        EXPECT_EQ(tree->GetDisplayRect(n[0], 2, false).Right, client - 1);
        const auto g = plat::testing::Grab(tree);
        const int top = g->Height() == tree->Height() ? tree->Header().Height() : 0;
        EXPECT_EQ(plat::testing::PixelOf(*g, empty + 75, y + top), plat::TColor(0x30C0F0));
        EXPECT_NE(plat::testing::PixelOf(*g, empty + 25, y + top), plat::TColor(0x30C0F0));
        EXPECT_NE(plat::testing::PixelOf(*g, empty + 125, y + top), plat::TColor(0x30C0F0));
        if (top > 0) {
            // The header's buttons sit above their cells: none left of the first column, and
            // the last one's frame reaches the client's right edge.
            const plat::TColor background = plat::testing::PixelOf(*g, 5, top / 2);
            EXPECT_EQ(plat::testing::PixelOf(*g, empty - 10, top / 2), background);
            EXPECT_NE(plat::testing::PixelOf(*g, empty, top / 2), background);
            EXPECT_NE(plat::testing::PixelOf(*g, client - 1, top / 2), background);
        }
        plat::testing::SaveGrab(tree, withBar ? u"tree-columns-rtl-bar.png" : u"tree-columns-rtl.png");
    }
    EXPECT_COLUMNS_OK(tree->Header());
}

// Halfway through an animated widening of column 0 (from 80 to 144, 2 pixels a step) on a tree
// scrolled by 40, the window shows column 1 moved 32 pixels right from where it was shown
// (40..120), the tree's colour opening behind column 0's edge as shown.
TEST_F(ColumnInput, AnimatedResizeMovesWhatIsShownRightOfTheColumn)
{
    Roots({u"a"});
    C()[1]->SetOptions(C()[1]->Options() & ~ColBit(coParentColor));
    C()[1]->SetColor(0x30C0F0);
    C()[2]->SetWidth(200);  // 360 in all
    tree->SetOffsetX(-40);
    ASSERT_EQ(tree->EffectiveOffsetX(), 40);
    tree->Invalidate();
    plat::testing::ProcessEvents();
    class GrabbingClock : public plat::FakeClock {
    public:
        explicit GrabbingClock(plat::TControl* C) : Control(C) {}
        void Sleep(std::uint32_t Milliseconds) override
        {
            FakeClock::Sleep(Milliseconds);
            if (++Sleeps == 16) Halfway = plat::testing::Grab(Control);
        }
        plat::TControl* Control;
        int Sleeps = 0;
        std::unique_ptr<plat::TBitmap> Halfway;
    } clock(tree);
    {
        plat::ScopedClock scoped(clock);
        C().AnimatedResize(0, 144);
    }
    EXPECT_EQ(clock.Sleeps, 32);
    ASSERT_TRUE(clock.Halfway);
    EXPECT_EQ(C()[0]->Width(), 144);
    const auto& g = *clock.Halfway;
    const int top = g.Height() == tree->Height() ? tree->Header().Height() : 0;
    const int y = top + tree->ClientHeight() - 5;  // below the rows: the column colours
    struct Probe {
        int x;
        bool column1;
    };
    for (const Probe& p : {Probe{50, false}, Probe{70, false}, Probe{80, true}, Probe{100, true}, Probe{150, true},
                           Probe{160, false}}) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(plat::testing::PixelOf(g, p.x, y) == plat::TColor(0x30C0F0), p.column1);
    }
    // The final width is painted in full.
    plat::testing::ProcessEvents();
    const auto after = plat::testing::Grab(tree);
    EXPECT_EQ(plat::testing::PixelOf(*after, 110, y), plat::TColor(0x30C0F0));
    EXPECT_NE(plat::testing::PixelOf(*after, 100, y), plat::TColor(0x30C0F0));
}

// A horizontal wheel page is the client width less the fixed columns, with Ctrl and with the
// whole-screen setting (-1 lines) alike.
TEST_F(ColumnInput, HorizontalWheelPageLeavesTheFixedColumnsOut)
{
    Roots({u"a"});
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    C()[2]->SetWidth(600);  // 760 in all
    tree->SetFocus();
    plat::testing::ProcessEvents();
    struct Case {
        int lines;
        plat::TShiftState shift;
    };
    for (const Case& c : {Case{3, plat::ssCtrl}, Case{-1, 0}}) {
        SCOPED_TRACE(c.lines);
        tree->SetOffsetX(0);
        plat::SetWheelScrollLines(c.lines);
        plat::testing::Wheel(tree, -120, 150, 5, c.shift);
        plat::SetWheelScrollLines(3);
        EXPECT_EQ(tree->OffsetX(), -(240 - 80));
        EXPECT_INPUT_OK(*tree);
    }
}

} // namespace
} // namespace vtree::testing
