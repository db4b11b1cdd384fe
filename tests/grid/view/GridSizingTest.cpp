// Width and height changes after a user sizing (scaling the others, the end events, the
// width hook), columns kept in step with the grid's width, the in-cell scroll bar's scroll
// codes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "../GridFixture.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridSizingTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 400, 200);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 20 + 20 * c);  // 20 40 60 80
        for (int r = 0; r < 4; ++r) grid->SetRowHeights(r, 20 + 10 * r);  // 20 30 40 50
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::vector<int> Widths() const {
        std::vector<int> v;
        for (int c = 0; c < grid->ColCount(); ++c) v.push_back(grid->ColWidths(c));
        return v;
    }
    std::vector<int> Heights() const {
        std::vector<int> v;
        for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->RowHeights(r));
        return v;
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

// Column 1 sized by the user from 40 to 60: with AllColumnSize the other normal columns
// scale by 60 / 40; the width hook then has the last word without a second scaling.
TEST_F(GridSizingTest, UserColumnSizingScalesTheOthersAndEndsOnce) {
    struct Case {
        const char* name;
        bool all;
        int hookWidth;  // 0: no hook
        std::vector<int> widths;
    };
    const std::vector<Case> cases = {
        {"alone", false, 0, {20, 60, 60, 80}},
        {"all columns", true, 0, {20, 60, 90, 120}},
        {"all columns, hook clamps", true, 50, {20, 50, 90, 120}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 20 + 20 * c);
        grid->MouseActions()->AllColumnSize = k.all;
        std::vector<int> ended;
        grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ended.push_back(ACol); };
        grid->OnUpdateColumnSize = [&](plat::TObject*, int, int& w) {
            if (k.hookWidth) w = k.hookWidth;
        };
        grid->NoteUserSizing(true, 1, 40);
        grid->SetColWidths(1, 60);
        EXPECT_EQ(Widths(), k.widths);
        EXPECT_EQ(ended, std::vector<int>{1});
        // A later plain change is no user sizing.
        grid->SetColWidths(2, 33);
        EXPECT_EQ(ended, std::vector<int>{1});
        grid->OnEndColumnSize = nullptr;
        grid->OnUpdateColumnSize = nullptr;
    }
}

TEST_F(GridSizingTest, UserRowSizingScalesTheOthersWithAllRowSize) {
    std::vector<int> ended;
    grid->OnEndRowSize = [&](plat::TObject*, int ARow) { ended.push_back(ARow); };
    grid->MouseActions()->AllRowSize = true;
    grid->NoteUserSizing(false, 2, 40);
    grid->SetRowHeights(2, 20);
    EXPECT_EQ(Heights(), (std::vector<int>{20, 15, 20, 25}));
    EXPECT_EQ(ended, std::vector<int>{2});
}

// A drag of a header's right border (of a fixed column cell's bottom border) ends in the
// release as a user sizing: the line takes the dragged size, the others scale with
// AllColumnSize (AllRowSize) and the end event fires once. A release where the press was
// changes nothing and leaves no sizing behind: a later plain change is no user sizing.
TEST_F(GridSizingTest, MouseSizingEndsAsAUserSizing) {
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goColSizing).Include(plat::goRowSizing));
    struct Case {
        const char* name;
        bool columns, all;
        int delta;
        std::vector<int> sizes;
        std::vector<int> ended;
    };
    const std::vector<Case> cases = {
        {"column alone", true, false, 30, {20, 40, 90, 80}, {2}},
        {"column, all columns", true, true, 30, {20, 60, 90, 120}, {2}},
        {"column released in place", true, true, 0, {20, 40, 60, 33}, {}},
        {"row alone", false, false, 20, {20, 30, 60, 50}, {2}},
        {"row, all rows", false, true, 20, {20, 45, 60, 75}, {2}},
        {"row released in place", false, true, 0, {20, 30, 40, 33}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        for (int i = 0; i < 4; ++i) {
            grid->SetColWidths(i, 20 + 20 * i);
            grid->SetRowHeights(i, 20 + 10 * i);
        }
        grid->MouseActions()->AllColumnSize = grid->MouseActions()->AllRowSize = k.all;
        std::vector<int> ended;
        grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ended.push_back(k.columns ? ACol : -100 - ACol); };
        grid->OnEndRowSize = [&](plat::TObject*, int ARow) { ended.push_back(k.columns ? -100 - ARow : ARow); };
        if (k.columns) {
            const plat::TRect r = grid->CellRect(2, 0);
            const int y = (r.Top + r.Bottom) / 2;
            pt::Press(grid, r.Right - 1, y);
            ASSERT_EQ(grid->GridState(), plat::gsColSizing);
            pt::Move(grid, r.Right - 1 + k.delta, y);
            pt::Release(grid, r.Right - 1 + k.delta, y);
        } else {
            const plat::TRect r = grid->CellRect(0, 2);
            const int x = (r.Left + r.Right) / 2;
            pt::Press(grid, x, r.Bottom - 1);
            ASSERT_EQ(grid->GridState(), plat::gsRowSizing);
            pt::Move(grid, x, r.Bottom - 1 + k.delta);
            pt::Release(grid, x, r.Bottom - 1 + k.delta);
        }
        pt::ProcessEvents();
        EXPECT_EQ(grid->GridState(), plat::gsNormal);
        EXPECT_EQ(ended, k.ended);
        // Nothing more comes of a later plain change of another line.
        if (k.columns) grid->SetColWidths(3, k.delta ? grid->ColWidths(3) : 33);
        else grid->SetRowHeights(3, k.delta ? grid->RowHeights(3) : 33);
        EXPECT_EQ(k.columns ? Widths() : Heights(), k.sizes);
        EXPECT_EQ(ended, k.ended);
        grid->OnEndColumnSize = nullptr;
        grid->OnEndRowSize = nullptr;
    }
}

// A column grid holds a dragged width inside the column's MinSize .. MaxSize, found by the
// real column while a column left of it is hidden; the hidden column keeps its width.
class ColumnGridMouseSizing : public grid::testing::GridFixture<TExtColumnGrid> {};

TEST_F(ColumnGridMouseSizing, TheDraggedWidthKeepsToTheRealColumnsLimits) {
    grid->SetBounds(0, 0, 560, 200);
    grid->SetColCount(5);
    grid->SetRowCount(4);
    for (int c = 0; c < 5; ++c) grid->SetColWidths(c, 50);
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goColSizing));
    grid->Columns()->Items(3)->MaxSize = 70;
    grid->Columns()->Items(2)->MaxSize = 200;
    grid->HideColumn(1);
    form->Show();
    pt::ProcessEvents();
    const int shown = grid->DisplColIndex(3);
    ASSERT_EQ(shown, 2);
    std::vector<int> ended;
    grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ended.push_back(ACol); };
    const plat::TRect r = grid->CellRect(shown, 0);
    const int y = (r.Top + r.Bottom) / 2;
    pt::Press(grid, r.Right - 1, y);
    pt::Move(grid, r.Right - 1 + 40, y);
    pt::Release(grid, r.Right - 1 + 40, y);
    pt::ProcessEvents();
    EXPECT_EQ(grid->ColWidths(shown), 70);
    EXPECT_EQ(grid->Columns()->Items(3)->Width(), 70);
    EXPECT_EQ(grid->AllColWidths(1), 50);
    EXPECT_EQ(ended, std::vector<int>{shown});
}

// The widths stored by InitOrigColSizes follow the grid's width: a single border counts 2
// pixels more, SynchNormalCellsOnly leaves the fixed column.
TEST_F(GridSizingTest, ColumnsFollowTheGridWidthFromTheStoredSizes) {
    struct Case {
        const char* name;
        bool normalOnly;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"all columns", false, {40, 80, 120, 160}},
        {"normal columns only", true, {20, 80, 120, 160}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetBounds(0, 0, 398, 200);  // with the single border, (398 + 2) / 200 = 2
        for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 20 + 20 * c);
        grid->SetBounds(0, 0, 199, 200);
        grid->InitOrigColSizes();
        grid->ColumnSize()->SynchWithGrid = true;
        grid->ColumnSize()->SynchNormalCellsOnly = k.normalOnly;
        ASSERT_EQ(grid->BorderStyle(), plat::bsSingle);
        grid->SetBounds(0, 0, 398, 200);
        pt::ProcessEvents();
        EXPECT_EQ(Widths(), k.widths);
        grid->ColumnSize()->SynchWithGrid = false;
    }
}

// The in-cell scroll bar of the current cell: lines by 10, pages by 100, a track to its
// place, kept within 0 .. range - page + 1; the grid itself does not scroll.
TEST_F(GridSizingTest, CellScrollCodesMoveTheCurrentCellsBar) {
    grid->SetRowCount(30);
    grid->AddScrollBar(2, 2, false);
    grid->SetScrollProp(2, 2, {.PageSize = 20, .Range = 219});  // positions 0 .. 200
    grid->SetCol(2);
    grid->SetRow(2);
    struct Case {
        const char* name;
        int code, pos;
        int start, expected;
        bool moved;
    };
    const Case cases[] = {
        {"line down", plat::SB_LINEDOWN, 0, 0, 10, true},
        {"line up stops at 0", plat::SB_LINEUP, 0, 5, 0, true},
        {"line up at 0", plat::SB_LINEUP, 0, 0, 0, false},
        {"page down", plat::SB_PAGEDOWN, 0, 50, 150, true},
        {"page down stops at the end", plat::SB_PAGEDOWN, 0, 150, 200, true},
        {"page up", plat::SB_PAGEUP, 0, 150, 50, true},
        {"track", plat::SB_THUMBTRACK, 77, 0, 77, true},
        {"end of scroll changes nothing", plat::SB_ENDSCROLL, 0, 30, 30, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetScrollPosition(2, 2, k.start);
        std::vector<int> fired;
        grid->OnScrollCell = [&](plat::TObject*, int ACol, int ARow, int Pos, int Min, int Max) {
            fired = {ACol, ARow, Pos, Min, Max};
        };
        const int top = grid->TopRow();
        // As the bar's own message: it names the control that sent it.
        grid->Perform(plat::WM_VSCROLL, plat::MakeWParam(k.code, k.pos), 1);
        EXPECT_EQ(grid->GetScrollPosition(2, 2), k.expected);
        EXPECT_EQ(grid->TopRow(), top);
        if (k.moved) {
            EXPECT_EQ(fired, (std::vector<int>{2, 2, k.expected, 0, 219}));
        } else {
            EXPECT_TRUE(fired.empty());
        }
    }
    grid->SetCol(3);
    EXPECT_FALSE(grid->ScrollCurrentCell(plat::SB_LINEDOWN, 0)) << "a cell without a bar";
}

} // namespace
