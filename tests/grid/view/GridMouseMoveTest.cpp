// Mouse movement over the grid through the real event path: hovered fixed cells and buttons,
// the header selection modes with their cursors and drags, column sizing with its events and
// "cw=" hint, and column moves with their veto, target refusal and the sort mark following
// the moved column. Every test runs once with real column 1 hidden.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;
using plat::TPoint;

namespace {

class GridMouseMoveTest : public grid::testing::GridFixture<TExtStringGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 560, 420);
        Fill(7, 12);
        for (int r = 0; r < 12; ++r) grid->SetRowHeights(r, 22);
        for (int c = 0; c < 7; ++c) grid->SetColWidths(c, 70);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goRangeSelect).Include(plat::goColSizing);
        grid->SetOptions(o);
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    TPoint Centre(int shown, int row) {
        const plat::TRect r = grid->CellRect(shown, row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void MoveTo(TPoint p) { pt::Move(grid, p.X, p.Y); }
    std::vector<String> Row(int row) {
        std::vector<String> v;
        for (int c = 0; c < grid->ColCount(); ++c) v.push_back(grid->Cells(grid->RealColIndex(c), row));
        return v;
    }
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridMouseMoveTest, ::testing::Bool());

TEST_P(GridMouseMoveTest, HoveringFollowsTheFixedCellsOfTheChosenKind) {
    struct Case {
        THoverFixedCells kind;
        int col, row;
        bool hovered;
    };
    const Case cases[] = {
        {hfFixedRows, 2, 0, true},    {hfFixedRows, 4, 0, true},     {hfFixedRows, 0, 3, false},
        {hfFixedRows, 3, 5, false},   {hfFixedColumns, 0, 3, true},  {hfFixedColumns, 3, 0, false},
        {hfAll, 0, 0, true},          {hfAll, 5, 0, true},           {hfAll, 0, 6, true},
        {hfAll, 4, 4, false},         {hfNone, 3, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " at " + std::to_string(c.col) + "," + std::to_string(c.row));
        grid->SetHoverFixedCells(c.kind);
        MoveTo(Centre(c.col, c.row));
        EXPECT_EQ(grid->HoverFixedX(), c.hovered ? c.col : -1);
        EXPECT_EQ(grid->HoverFixedY(), c.hovered ? c.row : -1);
    }
    // Leaving the grid clears it.
    grid->SetHoverFixedCells(hfAll);
    MoveTo(Centre(3, 0));
    EXPECT_EQ(grid->HoverFixedX(), 3);
    pt::MoveAway();
    EXPECT_EQ(grid->HoverFixedX(), -1);
}

TEST_P(GridMouseMoveTest, AButtonUnderThePointerIsHot) {
    grid->AddButton(4, 3, 30, 16, u"Go", haBeforeText, vaCenter);
    grid->Repaint();
    pt::ProcessEvents();
    const plat::TRect b = grid->GetGraphicRect(D(4), 3);
    ASSERT_GT(b.Width(), 0);
    MoveTo({(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
    EXPECT_EQ(grid->HoverButton(), (TPoint{D(4), 3}));
    MoveTo(Centre(D(5), 3));
    EXPECT_EQ(grid->HoverButton(), (TPoint{-1, -1}));
}

TEST_P(GridMouseMoveTest, HeaderModesShowTheirCursorsAndSelectWholeRowsOrColumns) {
    TMouseActions& m = *grid->MouseActions();
    m.ColSelect = m.RowSelect = m.AllSelect = true;
    struct Case {
        const char* name;
        TPoint at;
        TExtStringGrid::TMouseSelectMode mode;
        plat::TCursor cursor;
        plat::TGridRect selection;  // after a click
    };
    const int lastCol = grid->ColCount() - 1;
    const Case cases[] = {
        {"column header", Centre(3, 0), TExtStringGrid::msColumn, 8011, {3, 1, 3, 11}},
        {"row header", Centre(0, 4), TExtStringGrid::msRow, 8010, {1, 4, lastCol, 4}},
        {"corner", Centre(0, 0), TExtStringGrid::msAll, 8012, {1, 1, lastCol, 11}},
        {"normal cell", Centre(2, 2), TExtStringGrid::msNormal, plat::crDefault, {2, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveTo(c.at);
        EXPECT_EQ(grid->MouseSelectMode(), c.mode);
        EXPECT_TRUE(pt::ShowsCursor(grid, c.at.X, c.at.Y, c.cursor));
        pt::Click(grid, c.at.X, c.at.Y);
        const plat::TGridRect s = grid->Selection();
        EXPECT_EQ(s.Left, c.selection.Left);
        EXPECT_EQ(s.Top, c.selection.Top);
        EXPECT_EQ(s.Right, c.selection.Right);
        EXPECT_EQ(s.Bottom, c.selection.Bottom);
    }
    // A drag along the header selects the columns it passes.
    MoveTo(Centre(2, 0));
    pt::Press(grid, Centre(2, 0).X, Centre(2, 0).Y);
    MoveTo(Centre(4, 0));
    pt::Release(grid, Centre(4, 0).X, Centre(4, 0).Y);
    const plat::TGridRect s = grid->Selection();
    EXPECT_EQ(s.Left, 2);
    EXPECT_EQ(s.Right, 4);
    EXPECT_EQ(s.Top, 1);
    EXPECT_EQ(s.Bottom, 11);
    // Without the settings the headers are plain.
    m.ColSelect = m.RowSelect = m.AllSelect = false;
    MoveTo(Centre(3, 0));
    EXPECT_EQ(grid->MouseSelectMode(), TExtStringGrid::msNormal);
}

TEST_P(GridMouseMoveTest, ColumnSizingReportsTheWidthItsHintShows) {
    grid->HintShowSizing = true;
    std::vector<std::pair<int, int>> sizing;
    grid->OnColumnSizing = [&](plat::TObject*, int ACol, int Size) { sizing.emplace_back(ACol, Size); };
    const int col = D(3);
    const plat::TRect r = grid->CellRect(col, 0);
    const int y = (r.Top + r.Bottom) / 2;
    pt::Press(grid, r.Right - 1, y);
    ASSERT_EQ(grid->GridState(), plat::gsColSizing);
    for (int dx : {10, 25, 40}) pt::Move(grid, r.Right - 1 + dx, y);
    ASSERT_FALSE(sizing.empty());
    EXPECT_EQ(sizing.back().first, col);
    EXPECT_TRUE(grid->SizingHintShowing());
    const String hint = grid->ScrollHint();
    ASSERT_EQ(hint.rfind(u"cw=<b>", 0), 0u) << plat::StringToUtf8(hint);
    const int shown = plat::StrToInt(hint.substr(6, hint.size() - 6 - 4));
    EXPECT_EQ(shown, sizing.back().second);
    pt::Release(grid, r.Right - 1 + 40, y);
    EXPECT_FALSE(grid->SizingHintShowing());
    EXPECT_EQ(grid->ColWidths(col), shown) << "the width applied is the width reported";
    EXPECT_EQ(grid->ColWidths(col), 110);
}

TEST_P(GridMouseMoveTest, AColumnMoveCanBeRefusedAtItsStartOrOnItsTarget) {
    plat::TGridOptions o = grid->Options();
    o.Include(plat::goColMoving).Exclude(plat::goColSizing);
    grid->SetOptions(o);
    const std::vector<String> before = Row(2);
    struct Case {
        const char* name;
        bool allowStart, allowTarget;
        bool moved;
    };
    const Case cases[] = {
        {"refused at the start", false, true, false},
        {"refused target", true, false, false},
        {"allowed", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> log;
        grid->OnColumnMove = [&](plat::TObject*, int Index, bool& Allow) {
            log.push_back("move " + std::to_string(Index));
            Allow = c.allowStart;
        };
        grid->OnColumnMoving = [&](plat::TObject*, int Index, bool& Allow) {
            log.push_back("moving " + std::to_string(Index));
            Allow = c.allowTarget;
        };
        const std::vector<String> start = Row(2);
        const TPoint from = Centre(2, 0), to = Centre(5, 0);
        pt::Press(grid, from.X, from.Y);
        pt::Move(grid, (from.X + to.X) / 2, from.Y);
        pt::Move(grid, to.X, to.Y);
        if (!c.allowStart) {
            EXPECT_EQ(grid->GridState(), plat::gsNormal);
            EXPECT_EQ(grid->MoveColInd(), -1);
        } else {
            EXPECT_EQ(grid->MoveColInd(), 5);
            EXPECT_TRUE(pt::ShowsCursor(grid, to.X, to.Y, c.allowTarget ? plat::crDrag : plat::crNoDrop));
        }
        pt::Release(grid, to.X, to.Y);
        EXPECT_EQ(grid->GridState(), plat::gsNormal);
        EXPECT_EQ(log.front(), "move 2");
        std::vector<String> expected = start;
        if (c.moved) {
            const String moved = expected[2];
            expected.erase(expected.begin() + 2);
            expected.insert(expected.begin() + 5, moved);
        }
        EXPECT_EQ(Row(2), expected);
    }
    EXPECT_NE(Row(2), before);
}

TEST_P(GridMouseMoveTest, TheSortMarkAndCurrentColumnFollowAMovedColumn) {
    grid->SortSettings()->SetShow(true);
    grid->SortSettings()->Column = grid->RealColIndex(3);
    grid->FocusCell(4, 5);
    const String sortedHeader = grid->Cells(grid->SortSettings()->Column, 0);
    const String currentText = grid->Cells(grid->RealColIndex(4), 5);
    grid->MoveColumn(3, 1);
    EXPECT_EQ(grid->Cells(grid->SortSettings()->Column, 0), sortedHeader);
    EXPECT_EQ(grid->Cells(grid->RealColIndex(grid->Col()), 5), currentText);
    grid->MoveColumn(1, 5);
    EXPECT_EQ(grid->Cells(grid->SortSettings()->Column, 0), sortedHeader);
    EXPECT_EQ(grid->Cells(grid->RealColIndex(grid->Col()), 5), currentText);
}

} // namespace

// ---- drag start -------------------------------------------------------------------------

namespace {

class GridDragStartTest : public GridMouseMoveTest {
protected:
    void SetUp() override {
        GridMouseMoveTest::SetUp();
        grid->SetBounds(0, 0, 560, 200);
        other = new TExtStringGrid(form.get());
        other->SetParent(form.get());
        other->SetBounds(0, 220, 560, 200);
        other->SetColCount(7);
        other->SetRowCount(8);
        other->DragDropSettings()->SetOleDropTarget(true);
        grid->DragDropSettings()->OleDropSource = true;
        grid->DragDropSettings()->OleCopyAlways = true;
        pt::ProcessEvents();
    }
    TExtStringGrid* other = nullptr;
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridDragStartTest, ::testing::Bool());

TEST_P(GridDragStartTest, APressInTheSelectionDragsOnlyAfterMovingMoreThanThreePixels) {
    grid->SetSelection({D(2), 2, D(3), 3});
    std::vector<std::string> log;
    grid->OnOleDragStart = [&](plat::TObject*, int ARow, int ACol) {
        log.push_back("start " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    grid->OnClickCell = [&](plat::TObject*, int ARow, int ACol) {
        log.push_back("click " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    const TPoint at = Centre(D(2), 2);
    // A move of 3 pixels starts nothing; the release selects the pressed cell.
    pt::Press(grid, at.X, at.Y);
    EXPECT_TRUE(grid->SelectionClick());
    EXPECT_EQ(grid->Selection().Right, D(3)) << "the press keeps the selection";
    pt::Move(grid, at.X + 3, at.Y + 3, plat::ssLeft);
    pt::Release(grid, at.X + 3, at.Y + 3);
    EXPECT_EQ(log, std::vector<std::string>{"click " + std::to_string(D(2)) + ",2"});
    EXPECT_FALSE(grid->SelectionClick());
    EXPECT_EQ(grid->Selection().Left, D(2));
    EXPECT_EQ(grid->Selection().Right, D(2));
    EXPECT_EQ(grid->Selection().Bottom, 2);
    // A move of 4 pixels starts the drag, which the session carries to the other grid.
    log.clear();
    grid->SetSelection({D(2), 2, D(3), 3});
    // The target stores the drop (a drop that stores nothing answers no effect).
    other->SetOptions(plat::TGridOptions(other->Options()).Include(plat::goEditing));
    const plat::TRect target = other->CellRect(2, 3);
    pt::ScriptDrag([&] {
        pt::Move(other, target.Left + 5, target.Top + 5, plat::ssLeft);
        pt::Move(other, target.Left + 6, target.Top + 5, plat::ssLeft);
        pt::Release(other, target.Left + 6, target.Top + 5);
    });
    std::vector<int> stops;
    grid->OnOleDragStop = [&](plat::TObject*, int e) { stops.push_back(e); };
    pt::Press(grid, at.X, at.Y);
    pt::Move(grid, at.X + 4, at.Y, plat::ssLeft);
    EXPECT_EQ(stops, std::vector<int>{plat::DROPEFFECT_MOVE}) << "the session ran to the drop";
    EXPECT_EQ(log, (std::vector<std::string>{"click " + std::to_string(D(2)) + ",2", "start 2,2"}));
    EXPECT_EQ(grid->Cells(2, 2), u"2:2") << "OleCopyAlways keeps the source";
}

TEST_P(GridDragStartTest, APressOutsideTheSelectionOrWithoutADragSourceSelects) {
    struct Case {
        const char* name;
        bool source;
        int col, row;
    };
    const Case cases[] = {{"outside the selection", true, 5, 4}, {"no drag source", false, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->DragDropSettings()->OleDropSource = c.source;
        grid->SetSelection({D(2), 2, D(3), 3});
        const TPoint at = Centre(D(c.col), c.row);
        pt::Press(grid, at.X, at.Y);
        EXPECT_FALSE(grid->SelectionClick());
        pt::Release(grid, at.X, at.Y);
        EXPECT_EQ(grid->Col(), D(c.col));
        EXPECT_EQ(grid->Row(), c.row);
    }
}

} // namespace
