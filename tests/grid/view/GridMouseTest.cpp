// Mouse input of the string grid through the real event path: check-box glyph clicks, cell
// clicks and double clicks, the header-border auto-size, the click sort, anchors, the wheel,
// Zoom and middle-button panning. Every event test runs once with a hidden column.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
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

// A column grid laid out like the configurator's read tables: a number column, a data
// check-box column, text, a combo column and more text; real column 1 is hidden in the
// second run so that shown and real indexes differ.
class GridMouseTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 560, 420);
        grid->SetColCount(7);
        grid->SetRowCount(10);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goRangeSelect).Include(plat::goColSizing);
        grid->SetOptions(o);
        const TEditorType editors[] = {edNormal, edNormal, edNormal, edDataCheckBox, edComboList, edNormal, edNormal};
        for (int c = 0; c < 7; ++c) {
            grid->Columns()->Items(c)->SetEditor(editors[c]);
            grid->Columns()->Items(c)->SetWidth(70);
            grid->Columns()->Items(c)->SetHeader(u"H" + plat::IntToStr(c));
        }
        for (int r = 1; r < 10; ++r) {
            grid->SetCells(0, r, plat::IntToStr(r));
            grid->SetCells(1, r, u"x" + plat::IntToStr(r));
            grid->SetCells(2, r, u"t" + plat::IntToStr(r));
            grid->SetCells(3, r, u"N");
            grid->SetCells(5, r, plat::IntToStr(10 - r));
        }
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    // The centre of the cell at a real column.
    TPoint Centre(int real, int row) {
        const plat::TRect r = grid->CellRect(D(real), row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // A point on the cell's check-box glyph, and one in the same cell off it.
    TPoint OnGlyph(int real, int row) {
        const plat::TRect r = grid->CellRect(D(real), row);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (grid->IsInCheckBox(real, row, x, y) && grid->IsInCheckBox(real, row, x + 3, y + 3))
                    return {x + 2, y + 2};
        ADD_FAILURE() << "no glyph in the cell";
        return {};
    }
    void Click(TPoint p, plat::TShiftState shift = 0) { pt::Click(grid, p.X, p.Y, plat::mbLeft, shift); }
    std::vector<std::string> log;
    void Record() {
        grid->OnClickCell = [this](plat::TObject*, int ARow, int ACol) {
            log.push_back("click " + std::to_string(ACol) + "," + std::to_string(ARow));
        };
        grid->OnDblClickCell = [this](plat::TObject*, int ARow, int ACol) {
            log.push_back("dbl " + std::to_string(ACol) + "," + std::to_string(ARow));
        };
        grid->OnCheckBoxClick = [this](plat::TObject*, int ACol, int ARow, bool State) {
            log.push_back("check " + std::to_string(ACol) + "," + std::to_string(ARow) + (State ? " on" : " off"));
        };
        grid->OnClickSort = [this](plat::TObject*, int ACol) { log.push_back("sort " + std::to_string(ACol)); };
    }
    std::vector<String> Column(int real) {
        std::vector<String> v;
        for (int r = 1; r < grid->RowCount(); ++r) v.push_back(grid->Cells(real, r));
        return v;
    }
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridMouseTest, ::testing::Bool());

TEST_P(GridMouseTest, ACheckBoxGlyphClickTogglesAndIsNoCellClick) {
    grid->MouseActions()->PreciseCheckBoxCheck = true;
    plat::TGridOptions o = grid->Options();
    o.Include(plat::goEditing);
    grid->SetOptions(o);
    Record();
    Click(OnGlyph(3, 2));
    EXPECT_EQ(grid->Cells(3, 2), u"Y");
    EXPECT_EQ(log, (std::vector<std::string>{"check 3,2 on"})) << "the real column, once, and no OnClickCell";
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), D(3));
    log.clear();
    Click(OnGlyph(3, 2));
    EXPECT_EQ(grid->Cells(3, 2), u"N");
    EXPECT_EQ(log, (std::vector<std::string>{"check 3,2 off"}));
    // Beside the glyph the press is a plain cell click.
    log.clear();
    const plat::TRect r = grid->CellRect(D(3), 4);
    Click({r.Right - 4, r.Bottom - 3});
    EXPECT_EQ(grid->Cells(3, 4), u"N");
    EXPECT_EQ(log, (std::vector<std::string>{"click " + std::to_string(D(3)) + ",4"}));
}

TEST_P(GridMouseTest, AReadOnlyCheckBoxColumnTogglesOnlyWithCheckAlwaysActive) {
    plat::TGridOptions o = grid->Options();
    o.Include(plat::goEditing);
    grid->SetOptions(o);
    grid->Columns()->Items(3)->ReadOnly = true;
    Record();
    Click(OnGlyph(3, 5));
    EXPECT_EQ(grid->Cells(3, 5), u"N");
    EXPECT_EQ(log, (std::vector<std::string>{"click " + std::to_string(D(3)) + ",5"}));
    log.clear();
    grid->ControlLook()->CheckAlwaysActive = true;
    Click(OnGlyph(3, 5));
    EXPECT_EQ(grid->Cells(3, 5), u"Y");
    EXPECT_EQ(log, (std::vector<std::string>{"check 3,5 on"}));
}

TEST_P(GridMouseTest, ADoubleClickFiresTheClickThenTheDoubleClickWithShownIndexes) {
    Record();
    const TPoint p = Centre(5, 3);
    pt::DoubleClick(grid, p.X, p.Y);
    const std::string cell = std::to_string(D(5)) + ",3";
    EXPECT_EQ(log, (std::vector<std::string>{"click " + cell, "dbl " + cell}));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), D(5));
}

TEST_P(GridMouseTest, ADoubleClickOnAHeaderBorderAutoSizesThatColumnWithoutSorting) {
    grid->SortSettings()->SetShow(true);
    grid->SetCells(5, 4, u"a considerably longer text than the column shows");
    Record();
    int sized = -1, ended = -1;
    grid->OnColumnSize = [&](plat::TObject*, int ACol, bool&) { sized = ACol; };
    grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ended = ACol; };
    const plat::TRect r = grid->CellRect(D(5), 0);
    pt::DoubleClick(grid, r.Right - 2, 5);
    EXPECT_GT(grid->ColWidths(D(5)), 200);
    EXPECT_EQ(sized, D(5));
    EXPECT_EQ(ended, D(5));
    EXPECT_EQ(grid->SortSettings()->Column, -1);
    for (const std::string& e : log) EXPECT_NE(e.rfind("sort", 0), 0u) << e;
    // The next plain header click sorts.
    Click(Centre(5, 0));
    EXPECT_EQ(grid->SortSettings()->Column, 5);
}

TEST_P(GridMouseTest, HeaderClicksSortReverseAndUndoTheSort) {
    grid->SortSettings()->SetShow(true);
    const std::vector<String> original = Column(5);
    const std::vector<String> ascending = {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"};
    const std::vector<String> descending(ascending.rbegin(), ascending.rend());
    struct Step {
        std::vector<String> after;
        int column;
        TSortDirection direction;
    };
    for (bool undo : {false, true}) {
        SCOPED_TRACE(undo ? "UndoSort" : "no UndoSort");
        grid->SortSettings()->UndoSort = undo;
        grid->SortSettings()->Column = -1;
        grid->QUnSort();
        ASSERT_EQ(Column(5), original);
        log.clear();
        Record();
        const std::vector<Step> steps = {
            {ascending, 5, sdAscending},
            {descending, 5, sdDescending},
            {undo ? original : ascending, undo ? -1 : 5, sdAscending},
        };
        for (std::size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(i);
            Click(Centre(5, 0));
            EXPECT_EQ(Column(5), steps[i].after);
            EXPECT_EQ(grid->SortSettings()->Column, steps[i].column);
            EXPECT_EQ(grid->SortSettings()->Direction, steps[i].direction);
        }
        std::vector<std::string> sorts;
        for (const std::string& e : log)
            if (e.rfind("sort", 0) == 0) sorts.push_back(e);
        EXPECT_EQ(sorts, (std::vector<std::string>{"sort 5", "sort 5", undo ? "sort -1" : "sort 5"}));
        // The rows moved with their keys.
        for (int r = 1; r < 10; ++r) EXPECT_EQ(grid->Cells(5, r), plat::IntToStr(10 - plat::StrToInt(grid->Cells(0, r))));
    }
}

TEST_P(GridMouseTest, AHeaderClickIsRefusedOrIgnoredWithoutSorting) {
    grid->SortSettings()->SetShow(true);
    const std::vector<String> original = Column(5);
    Record();
    bool allow = false;
    int asked = -1;
    grid->OnCanSort = [&](plat::TObject*, int ACol, bool& Allow) {
        asked = ACol;
        Allow = allow;
    };
    Click(Centre(5, 0));
    EXPECT_EQ(asked, 5);
    EXPECT_EQ(Column(5), original);
    // A press near the sizing border does not sort.
    allow = true;
    const plat::TRect r = grid->CellRect(D(5), 0);
    Click({r.Left + 2, 5});
    EXPECT_EQ(Column(5), original);
    // A press on a normal cell that ends on the header does not sort either.
    const TPoint cell = Centre(5, 2), head = Centre(5, 0);
    pt::Press(grid, cell.X, cell.Y);
    pt::Move(grid, head.X, head.Y, plat::ssLeft);
    pt::Release(grid, head.X, head.Y);
    EXPECT_EQ(Column(5), original);
    EXPECT_TRUE(log.empty() || log.back().rfind("sort", 0) != 0);
    // Ignored columns start refused.
    grid->OnCanSort = nullptr;
    grid->IgnoreColumns()->Add(5);
    Click(Centre(5, 0));
    EXPECT_EQ(Column(5), original);
}

TEST_P(GridMouseTest, ShiftClicksBuildAnIndexedSort) {
    grid->SortSettings()->SetShow(true);
    grid->SortSettings()->IndexShow = true;
    for (int r = 1; r < 10; ++r) grid->SetCells(2, r, r % 2 ? u"b" : u"a");
    Click(Centre(2, 0));
    Click(Centre(5, 0), plat::ssShift);
    ASSERT_EQ(grid->SortIndexes()->Count(), 2);
    EXPECT_EQ(grid->SortIndexes()->SortColumns(0), 2);
    EXPECT_EQ(grid->SortIndexes()->SortColumns(1), 5);
    EXPECT_EQ(grid->SortSettings()->Column, 2);
    // Opposite of the initial direction: descending, then descending within.
    EXPECT_EQ(Column(2), (std::vector<String>{u"b", u"b", u"b", u"b", u"b", u"a", u"a", u"a", u"a"}));
    EXPECT_EQ(Column(5), (std::vector<String>{u"9", u"7", u"5", u"3", u"1", u"8", u"6", u"4", u"2"}));
    // Without the key the list restarts with the clicked column.
    Click(Centre(5, 0));
    ASSERT_EQ(grid->SortIndexes()->Count(), 1);
    EXPECT_EQ(grid->SortIndexes()->SortColumns(0), 5);
}

struct AnchorCase {
    const char* name;
    const char16_t* href;
    bool opened;     // reaches the shell
    TPoint current;  // (-1, -1): the current cell stays
};

TEST_P(GridMouseTest, AnchorsOpenOnlyWebAndMailAddressesAndCellReferencesInsideTheGrid) {
    const AnchorCase cases[] = {
        {"https", u"https://example.org/a", true, {-1, -1}},
        {"mailto", u"mailto:a@example.org", true, {-1, -1}},
        {"ftp", u"ftp://example.org/f", true, {-1, -1}},
        {"local file", u"file:///etc/passwd", false, {-1, -1}},
        {"program", u"calc.exe", false, {-1, -1}},
        {"bare scheme", u"https://", false, {-1, -1}},
        {"cell", u"CELL://R5C2", false, {2, 5}},
        {"cell outside", u"cell://R999C2", false, {-1, -1}},
        {"cell in the header", u"CELL://R0C2", false, {-1, -1}},
    };
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->FocusCell(D(6), 8);
        const std::size_t before = responder().ShellOpens().size();
        grid->SetCells(2, 3, String(u"<A HREF=\"") + c.href + u"\">link</A>");
        std::vector<String> seen;
        grid->OnAnchorClick = [&](plat::TObject*, int, int, const String& Anchor, bool&) { seen.push_back(Anchor); };
        const plat::TRect r = grid->CellRect(D(2), 3);
        Click({r.Left + 10, (r.Top + r.Bottom) / 2});
        EXPECT_EQ(seen, std::vector<String>{c.href});
        const auto& opens = responder().ShellOpens();
        ASSERT_EQ(opens.size(), before + (c.opened ? 1 : 0));
        if (c.opened) {
            EXPECT_EQ(opens.back().Target, c.href);
        }
        if (c.current.X >= 0) {
            EXPECT_EQ(grid->Col(), c.current.X);
            EXPECT_EQ(grid->Row(), c.current.Y);
        } else {
            EXPECT_EQ(grid->Col(), D(6));
            EXPECT_EQ(grid->Row(), 8);
        }
    }
    // A handler that takes the anchor itself stops the grid's action.
    grid->OnAnchorClick = [](plat::TObject*, int, int, const String&, bool& AutoHandle) { AutoHandle = false; };
    grid->SetCells(2, 3, u"<A HREF=\"https://example.org\">link</A>");
    const std::size_t before = responder().ShellOpens().size();
    const plat::TRect r = grid->CellRect(D(2), 3);
    Click({r.Left + 10, (r.Top + r.Bottom) / 2});
    EXPECT_EQ(responder().ShellOpens().size(), before);
}

TEST_P(GridMouseTest, AClickRefusedByOnCanClickCellChangesNothing) {
    Record();
    grid->OnCanClickCell = [](plat::TObject*, int, int, bool& Allow) { Allow = false; };
    grid->FocusCell(D(2), 1);
    Click(Centre(5, 6));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), D(2));
}

// ---- wheel, zoom and panning ------------------------------------------------------------

class GridWheelTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 400, 200);
        Fill(5, 30);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int r = 0; r < 30; ++r) grid->SetRowHeights(r, 20);
        form->Show();
        pt::ProcessEvents();
        grid->SetFocus();
    }
    void Notches(int n) {
        for (int i = 0; i < std::abs(n); ++i) pt::Wheel(grid, n < 0 ? -120 : 120, 50, 50);
    }
};

TEST_F(GridWheelTest, ANotchMovesTheCurrentRowThreeLinesAndStopsAtTheLastNormalRow) {
    struct Case {
        int from, notches, to;
    };
    grid->FixedFooters = 1;
    const Case cases[] = {{1, -1, 4}, {4, 1, 1}, {1, 1, 1}, {27, -1, 28}, {28, -1, 28}, {10, -3, 19}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " by " + std::to_string(c.notches));
        grid->SetRow(c.from);
        Notches(c.notches);
        EXPECT_EQ(grid->Row(), c.to);
    }
}

TEST_F(GridWheelTest, ScrollingTheViewKeepsTheCurrentRow) {
    grid->MouseActions()->SetWheelAction(waScroll);
    grid->SetRow(2);
    Notches(-2);
    EXPECT_EQ(grid->TopRow(), 7);
    EXPECT_EQ(grid->Row(), 2);
    Notches(5);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->MouseActions()->WheelIncrement = 1;
    Notches(-1);
    EXPECT_EQ(grid->TopRow(), 2);
}

TEST_F(GridWheelTest, WithoutEnableWheelTheWheelChangesNothing) {
    grid->EnableWheel = false;
    grid->SetRow(5);
    Notches(-2);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(GridWheelTest, ZoomChangesEveryVisibleSizeWithinItsRange) {
    grid->SetColWidths(2, 2);
    grid->SetColWidths(3, 0);
    grid->Zoom(8);
    EXPECT_EQ(grid->ZoomFactor(), 8);
    EXPECT_EQ(grid->ColWidths(1), 72);
    EXPECT_EQ(grid->ColWidths(2), 10);
    grid->SetColWidths(2, 2);
    grid->Zoom(5);  // 13 lies outside -10 .. 10
    EXPECT_EQ(grid->ZoomFactor(), 8);
    EXPECT_EQ(grid->ColWidths(1), 72);
    grid->Zoom(-3);
    EXPECT_EQ(grid->ZoomFactor(), 5);
    EXPECT_EQ(grid->ColWidths(1), 69);
    EXPECT_EQ(grid->RowHeights(4), 25);
    EXPECT_EQ(grid->ColWidths(2), 2) << "a width that would drop to 0 or below stays";
    EXPECT_EQ(grid->ColWidths(3), 0) << "hidden columns stay hidden";
}

TEST_F(GridWheelTest, CtrlWheelZoomsThreeStepsANotch) {
    pt::Wheel(grid, -120, 50, 50, plat::ssCtrl);
    EXPECT_EQ(grid->ZoomFactor(), 3);
    pt::Wheel(grid, 120, 50, 50, plat::ssCtrl);
    pt::Wheel(grid, 120, 50, 50, plat::ssCtrl);
    EXPECT_EQ(grid->ZoomFactor(), -3);
    grid->IntelliZoom = false;
    grid->SetRow(1);
    pt::Wheel(grid, -120, 50, 50, plat::ssCtrl);
    EXPECT_EQ(grid->ZoomFactor(), -3);
}

TEST_F(GridWheelTest, AMiddlePressPansByTheTimerUntilAKeyEndsIt) {
    grid->SetRow(5);
    pt::Press(grid, 100, 100, plat::mbMiddle);
    pt::Release(grid, 100, 100, plat::mbMiddle);
    ASSERT_TRUE(grid->Panning());
    EXPECT_TRUE(pt::ShowsCursor(grid, 100, 100, 8000));
    {
        // The vertical anchor picture sits at the press, its magenta corner left out.
        auto shot = pt::Grab(grid);
        const plat::TRect a = grid->ClientAreaInWindow();
        const auto at = [&](int x, int y) { return pt::PixelOf(*shot, x + a.Left, y + a.Top); };
        EXPECT_EQ(at(100 + 16, 100 + 8), static_cast<plat::TColor>(0x202020)) << "upper arrowhead";
        EXPECT_EQ(at(100 + 8, 100 + 16), static_cast<plat::TColor>(0xE6E6E6)) << "no left arrowhead";
        EXPECT_NE(at(100, 100), static_cast<plat::TColor>(0xFF00FF));
    }
    pt::Move(grid, 100, 150);
    pt::AdvanceClock(35);  // three ticks
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_TRUE(pt::ShowsCursor(grid, 100, 150, 8001));
    pt::Move(grid, 100, 103);  // inside the dead zone
    pt::AdvanceClock(20);
    EXPECT_EQ(grid->Row(), 8);
    EXPECT_TRUE(pt::ShowsCursor(grid, 100, 103, 8000));
    pt::Move(grid, 150, 60);  // up and right; the grid pans vertically only
    pt::AdvanceClock(10);
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_EQ(grid->Col(), 1);
    pt::Key(plat::VK_ESCAPE);
    EXPECT_FALSE(grid->Panning());
    pt::AdvanceClock(50);
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_FALSE(pt::ShowsCursor(grid, 150, 60, 8000));
}

TEST_F(GridWheelTest, HorizontalPanningIgnoresVerticalMovesAndAClickEndsIt) {
    grid->IntelliPan = ipHorizontal;
    grid->SetRow(5);
    grid->SetCol(1);
    pt::Press(grid, 100, 100, plat::mbMiddle);
    pt::Release(grid, 100, 100, plat::mbMiddle);
    pt::Move(grid, 100, 180);
    pt::AdvanceClock(30);
    EXPECT_EQ(grid->Row(), 5);
    pt::Move(grid, 160, 100);
    pt::AdvanceClock(10);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_TRUE(pt::ShowsCursor(grid, 160, 100, 8003));
    pt::Click(grid, 160, 100);
    EXPECT_FALSE(grid->Panning());
}

} // namespace
