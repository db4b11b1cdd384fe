#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ExtCtrls.h"
#include "plat/Grids.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

// A string grid that records the hooks the framework calls.
class ProbeGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    using TCustomGrid::SetClientBottomInset;
    using TCustomGrid::ClientBottomInset;
    std::vector<TGridCoord> drawn;
    int colWidthsChanged = 0;
    int topLeftChanged = 0;
    std::vector<TGridCoord> vetoed;  // cells SelectCell refuses

    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
        drawn.push_back({ACol, ARow});
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    bool SelectCell(int ACol, int ARow) override {
        for (const auto& v : vetoed)
            if (v == TGridCoord{ACol, ARow}) return false;
        return TStringGrid::SelectCell(ACol, ARow);
    }
    void ColWidthsChanged() override {
        ++colWidthsChanged;
        TStringGrid::ColWidthsChanged();
    }
    void TopLeftChanged() override {
        ++topLeftChanged;
        TStringGrid::TopLeftChanged();
    }
};

class GridControl : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 500);
        grid = new ProbeGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBorderStyle(bsNone);
        grid->SetColCount(10);
        grid->SetRowCount(50);
        grid->SetBounds(0, 0, 400, 300);
        form->Show();
        pt::ProcessEvents();
        if (grid->CanFocus()) grid->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<TForm> form;
    ProbeGrid* grid = nullptr;
};

TEST_F(GridControl, StoreKeepsCellsAcrossColumnCountChanges) {
    grid->SetColCount(5);
    grid->SetCells(7, 2, u"x");
    grid->SetColCount(3);
    grid->SetColCount(5);
    EXPECT_EQ(grid->Cells(7, 2), u"x");
    grid->SetCells(1, 3, u"a");
    grid->SetCells(4, 3, u"b");
    auto row = grid->Rows(3);
    ASSERT_EQ(row->Count(), 5);
    EXPECT_EQ(row->Strings(1), u"a");
    EXPECT_EQ(row->Strings(4), u"b");
    // Removed rows take their cells with them.
    grid->SetRowCount(3);
    grid->SetRowCount(50);
    EXPECT_EQ(grid->Cells(1, 3), u"");
}

TEST_F(GridControl, KeyboardNavigationWithSelectCellVeto) {
    // The window shows columns 1..5 and rows 1..11 whole (default sizes 64 x 24, 1-px lines,
    // no scroll bar takes room from rows 1..11 vertically at 300 px... see the layout test).
    struct Case {
        const char* name;
        TGridCoord from;
        std::uint16_t key;
        TShiftState shift;
        std::vector<TGridCoord> veto;
        TGridCoord to;
    };
    const Case cases[] = {
        {"right", {3, 5}, VK_RIGHT, 0, {}, {4, 5}},
        {"left", {3, 5}, VK_LEFT, 0, {}, {2, 5}},
        {"down", {3, 5}, VK_DOWN, 0, {}, {3, 6}},
        {"up", {3, 5}, VK_UP, 0, {}, {3, 4}},
        {"home", {3, 5}, VK_HOME, 0, {}, {1, 5}},
        {"end", {3, 5}, VK_END, 0, {}, {9, 5}},
        {"ctrl home", {3, 30}, VK_HOME, ssCtrl, {}, {1, 1}},
        {"ctrl end", {3, 5}, VK_END, ssCtrl, {}, {9, 49}},
        {"page down", {3, 5}, VK_NEXT, 0, {}, {3, 5 + grid->VisibleRowCount()}},
        {"page up at top", {3, 3}, VK_PRIOR, 0, {}, {3, 1}},
        {"veto keeps the cell", {3, 5}, VK_RIGHT, 0, {{4, 5}}, {3, 5}},
        {"veto on page down", {3, 5}, VK_NEXT, 0, {{3, 5 + grid->VisibleRowCount()}}, {3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid->vetoed.clear();
        grid->MoveColRow(c.from.X, c.from.Y, true, true);
        grid->vetoed = c.veto;
        pt::Key(c.key, c.shift);
        EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.to);
        // The current cell is always in view after a move.
        EXPECT_FALSE(grid->CellRect(grid->Col(), grid->Row()).IsEmpty());
    }
}

TEST_F(GridControl, ShiftArrowsExtendTheSelection) {
    grid->MoveColRow(2, 2, true, true);
    pt::Key(VK_RIGHT, ssShift);
    pt::Key(VK_DOWN, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 3}));
    pt::Key(VK_RIGHT);
    EXPECT_EQ(grid->Selection(), (TGridRect{4, 3, 4, 3}));
}

TEST_F(GridControl, MouseToCell) {
    struct Case { int x, y; TGridCoord want; };
    const Case cases[] = {
        {10, 10, {0, 0}}, {65, 25, {1, 1}}, {130, 50, {2, 2}}, {64, 24, {0, 0}}, {-3, 5, {-1, 0}},
        {5, -3, {0, -1}}, {1000, 10, {-1, 0}},
    };
    for (const auto& c : cases) {
        int col = 99, row = 99;
        grid->MouseToCell(c.x, c.y, col, row);
        EXPECT_EQ((TGridCoord{col, row}), c.want) << c.x << "," << c.y;
    }
    grid->SetTopRow(10);
    int col = 0, row = 0;
    grid->MouseToCell(70, 30, col, row);
    EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{1, 10}));
}

TEST_F(GridControl, DragSelectsARange) {
    pt::Press(grid, 70, 30);   // (1,1)
    pt::Move(grid, 200, 80);   // (3,3)
    pt::Release(grid, 200, 80);
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{3, 3}));
    // Without range selection the drag only moves the current cell.
    TGridOptions o = grid->Options();
    grid->SetOptions(o.Exclude(goRangeSelect));
    pt::Press(grid, 70, 30);
    pt::Move(grid, 200, 80);
    pt::Release(grid, 200, 80);
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(GridControl, SelectionTimerScrollsWhileTheMouseIsBelow) {
    pt::Press(grid, 70, 30);
    pt::Move(grid, 70, 299);
    const int rowBefore = grid->Row();
    pt::Move(grid, 70, 340);  // below the grid's window
    pt::AdvanceClock(600);
    pt::Release(grid, 70, 340);
    EXPECT_GT(grid->Row(), rowBefore);
    EXPECT_GT(grid->TopRow(), 1);
    EXPECT_EQ(grid->Selection().Top, 1);
}

TEST_F(GridControl, ColumnSizingByDraggingTheHeaderBorder) {
    TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(goColSizing));
    grid->colWidthsChanged = 0;
    // Right border of column 1 is at x = 129 (65 + 64).
    pt::Press(grid, 129, 10);
    pt::Move(grid, 140, 10);
    pt::Move(grid, 160, 10);
    grid->Invalidate();  // a repaint while sizing keeps the line
    pt::ProcessEvents();
    EXPECT_EQ(pt::PixelOf(*pt::Grab(grid), 160, 100), clBlack) << "the sizing line follows the mouse";
    EXPECT_EQ(pt::PixelOf(*pt::Grab(grid), 140, 100), clWhite) << "and leaves nothing behind";
    pt::Release(grid, 160, 10);
    pt::ProcessEvents();
    EXPECT_NE(pt::PixelOf(*pt::Grab(grid), 160, 100), clBlack);
    EXPECT_EQ(grid->colWidthsChanged, 1);
    EXPECT_EQ(grid->ColWidths(1), 64 + 31);
    EXPECT_EQ(grid->ColWidths(2), 64);
}

TEST_F(GridControl, ColumnMovingByDraggingAHeader) {
    TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(goColMoving));
    grid->SetCells(1, 0, u"one");
    grid->SetCells(3, 0, u"three");
    pt::Press(grid, 70, 10);    // header of column 1
    pt::Move(grid, 200, 10);    // over column 3
    pt::Release(grid, 200, 10);
    EXPECT_EQ(grid->Cells(3, 0), u"one");
    EXPECT_EQ(grid->Cells(2, 0), u"three");
}

TEST_F(GridControl, InvalidateCellRepaintsOnlyThatCell) {
    grid->Repaint();
    pt::ProcessEvents();
    grid->drawn.clear();
    grid->InvalidateCell(2, 2);
    grid->Update();
    pt::ProcessEvents();
    EXPECT_EQ(grid->drawn, (std::vector<TGridCoord>{{2, 2}}));
}

// Writing a cell of a shown grid repaints exactly that cell when it is in view (a fixed
// cell included), and nothing when it is scrolled out of view.
TEST_F(GridControl, SettingACellOfAShownGridRepaintsThatCell) {
    struct Case {
        int col, row;
        std::vector<TGridCoord> want;
    };
    const Case cases[] = {
        {2, 2, {{2, 2}}},
        {0, 3, {{0, 3}}},  // the fixed column
        {3, 0, {{3, 0}}},  // the fixed row
        {2, 45, {}},       // below the view
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "cell " << c.col << "," << c.row);
        grid->Repaint();
        pt::ProcessEvents();
        grid->drawn.clear();
        grid->SetCells(c.col, c.row, u"changed");
        grid->Update();
        pt::ProcessEvents();
        EXPECT_EQ(grid->drawn, c.want);
        EXPECT_EQ(grid->Cells(c.col, c.row), u"changed");
    }
}

// Cells written while the grid cannot be seen (itself hidden, or its form hidden) appear
// when it is shown again.
TEST_F(GridControl, CellsWrittenWhileHiddenArePaintedWhenShown) {
    struct Case {
        const char* name;
        std::function<void(bool)> show;
    };
    const Case cases[] = {
        {"grid hidden", [&](bool on) { grid->SetVisible(on); }},
        {"form hidden", [&](bool on) { on ? form->Show() : form->Hide(); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const String text = u"while hidden " + IntToStr(++n);
        c.show(false);
        pt::ProcessEvents();
        grid->drawn.clear();
        grid->SetCells(2, 2, text);
        grid->Update();
        pt::ProcessEvents();
        EXPECT_TRUE(grid->drawn.empty());
        c.show(true);
        pt::ProcessEvents();
        grid->Update();
        pt::ProcessEvents();
        EXPECT_NE(std::find(grid->drawn.begin(), grid->drawn.end(), TGridCoord{2, 2}), grid->drawn.end());
        EXPECT_EQ(grid->Cells(2, 2), text);
    }
}

TEST_F(GridControl, ScrollBarMessagesScrollTheRows) {
    struct Case { int code; int wantTop; };
    const int page = grid->VisibleRowCount();
    const Case cases[] = {
        {SB_LINEDOWN, 2}, {SB_LINEDOWN, 3}, {SB_LINEUP, 2}, {SB_PAGEDOWN, 2 + page}, {SB_TOP, 1},
        {SB_BOTTOM, 50 - page}, {SB_PAGEDOWN, 50 - page}, {SB_PAGEUP, 50 - 2 * page},
    };
    grid->topLeftChanged = 0;
    int changes = 0;
    for (const auto& c : cases) {
        const int before = grid->TopRow();
        grid->Perform(WM_VSCROLL, static_cast<WPARAM>(c.code), 0);
        if (grid->TopRow() != before) ++changes;
        EXPECT_EQ(grid->TopRow(), c.wantTop) << "code " << c.code;
        TScrollInfo si;
        si.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_VERT, si));
        EXPECT_EQ(si.nPos, grid->TopRow() - grid->FixedRows());
    }
    EXPECT_EQ(grid->topLeftChanged, changes);
}

TEST_F(GridControl, InplaceEditorEditsTheCurrentCell) {
    TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(goEditing));
    grid->SetCells(2, 2, u"old");
    grid->MoveColRow(2, 2, true, true);
    pt::Key(VK_F2);
    ASSERT_TRUE(grid->EditorMode());
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->InplaceEditor()->Text(), u"old");
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(2, 2));
    grid->InplaceEditor()->SetText(u"new");
    EXPECT_EQ(grid->Cells(2, 2), u"new");
    pt::Key(VK_DOWN);  // the editor hands Down to the grid
    EXPECT_EQ(grid->Row(), 3);
    pt::Key(VK_ESCAPE);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(grid->InplaceEditor()->Visible());
    // A typed character opens the editor with that character.
    pt::Type(u"z");
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(2, 3), u"z");
}

TEST_F(GridControl, SizingOfRowsAndColumnsByDragging) {
    struct Case {
        const char* name;
        TGridOption option;
        TPoint press, release;
        bool column;
        int index, want;
    };
    const Case cases[] = {
        {"row 1 by its bottom border", goRowSizing, {10, 49}, {10, 60}, false, 1, 24 + 11},
        {"column 0 (fixed) by its border", goColSizing, {64, 5}, {40, 5}, true, 0, 64 - 24},
        {"shrinking below nothing stops at zero", goColSizing, {129, 5}, {20, 5}, true, 1, 0},
        {"no sizing without the option", goRangeSelect, {129, 5}, {160, 5}, true, 1, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetDefaultColWidth(64);
        grid->SetDefaultRowHeight(24);
        TGridOptions o = grid->Options();
        grid->SetOptions(o.Exclude(goColSizing).Exclude(goRowSizing).Include(c.option));
        pt::Press(grid, c.press.X, c.press.Y);
        pt::Move(grid, (c.press.X + c.release.X) / 2, (c.press.Y + c.release.Y) / 2);
        pt::Release(grid, c.release.X, c.release.Y);
        EXPECT_EQ(c.column ? grid->ColWidths(c.index) : grid->RowHeights(c.index), c.want);
    }
}

TEST_F(GridControl, WheelAndThumbMoveThroughTheRows) {
    grid->MoveColRow(2, 5, true, true);
    pt::Wheel(grid, -120, 100, 100);
    EXPECT_EQ(grid->Row(), 6);
    pt::Wheel(grid, 120, 100, 100);
    pt::Wheel(grid, 120, 100, 100);
    EXPECT_EQ(grid->Row(), 4);
    // Dragging the thumb scrolls at once only with thumb tracking.
    const int top = grid->TopRow();
    grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(grid->TopRow(), top);
    TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(goThumbTracking));
    grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(grid->TopRow(), 21);
    grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 7), 0);
    EXPECT_EQ(grid->TopRow(), 8);
}

} // namespace

namespace {

// A grid whose column 2 has an edit mask.
class MaskedGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    String GetEditMask(int ACol, int) override { return ACol == 2 ? String(u"!90:00;1;_") : String(); }
};

// Moving the top row by keys scrolls the rows' pixels: only the rows the move uncovers (and
// the cells the move of the current cell changes) are drawn again, and the picture is the one a
// full repaint gives. A page is farther than the rows shown: everything is drawn.
TEST_F(GridControl, ScrollingByARowMovesPixelsAndDrawsOnlyTheUncoveredRows) {
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 10; ++c) grid->SetCells(c, r, IntToStr(r * 10 + c));
    struct Case {
        const char* name;
        std::function<void()> place;  // puts the current cell where the key scrolls
        std::uint16_t key;
        int topMove;
        bool partial;  // only a few rows drawn
    };
    const Case cases[] = {
        {"down at the last visible row", [&] { grid->SetRow(grid->TopRow() + grid->VisibleRowCount() - 1); }, VK_DOWN, 1, true},
        {"up at the top row", [&] { grid->SetTopRow(10); grid->SetRow(10); }, VK_UP, -1, true},
        {"page down", [&] { grid->SetTopRow(1); grid->SetRow(1); }, VK_NEXT, grid->VisibleRowCount(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.place();
        pt::ProcessEvents();
        grid->drawn.clear();
        const int top = grid->TopRow();
        pt::Key(c.key);
        pt::ProcessEvents();
        ASSERT_EQ(grid->TopRow(), top + c.topMove);
        std::vector<int> rows;
        for (const TGridCoord& d : grid->drawn)
            if (std::find(rows.begin(), rows.end(), d.Y) == rows.end()) rows.push_back(d.Y);
        if (c.partial) EXPECT_LE(rows.size(), 3u) << "only the uncovered rows";
        else EXPECT_GE(static_cast<int>(rows.size()), grid->VisibleRowCount());
        auto scrolled = pt::Grab(grid);
        grid->Invalidate();
        pt::ProcessEvents();
        auto full = pt::Grab(grid);
        int differing = 0;
        for (int y = 0; y < grid->ClientHeight(); ++y)
            for (int x = 0; x < grid->ClientWidth(); ++x)
                if (pt::PixelOf(*scrolled, x, y) != pt::PixelOf(*full, x, y)) ++differing;
        EXPECT_EQ(differing, 0) << "the scrolled picture is the repainted one";
    }
}

// A panel docked over the bottom of the client area: with its height as the inset the rows
// are counted, scrolled and pixel-copied above it, so the last row comes whole into view
// above the panel; without the inset the rows use the whole client height again.
TEST_F(GridControl, RowsScrollAboveABottomInset) {
    for (int r = 0; r < 50; ++r)
        for (int c = 0; c < 10; ++c) grid->SetCells(c, r, IntToStr(r * 10 + c));
    auto* panel = new TPanel(form.get());
    panel->SetParent(grid);
    panel->SetAlign(alBottom);
    panel->SetHeight(40);
    const int full = grid->VisibleRowCount();
    grid->SetClientBottomInset(40);
    pt::ProcessEvents();
    const int line = grid->ClientHeight() - 40;
    EXPECT_LT(grid->VisibleRowCount(), full);
    TScrollInfo si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(grid->Handle(), SB_VERT, si));
    EXPECT_EQ(static_cast<int>(si.nPage), grid->VisibleRowCount());

    grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    pt::ProcessEvents();
    TRect last = grid->CellRect(0, 49);
    EXPECT_FALSE(last.IsEmpty());
    EXPECT_LE(last.Bottom, line);
    EXPECT_GT(last.Bottom, line - grid->DefaultRowHeight() - 2) << "the grid is scrolled no further than needed";

    // A step of one row copies only the cells' pixels: the rows above the panel equal a
    // full repaint.
    grid->Perform(WM_VSCROLL, SB_LINEUP, 0);
    pt::ProcessEvents();
    auto scrolled = pt::Grab(grid);
    grid->Invalidate();
    pt::ProcessEvents();
    auto repainted = pt::Grab(grid);
    int differing = 0;
    for (int y = 0; y < line; ++y)
        for (int x = 0; x < grid->ClientWidth(); ++x)
            if (pt::PixelOf(*scrolled, x, y) != pt::PixelOf(*repainted, x, y)) ++differing;
    EXPECT_EQ(differing, 0);

    grid->SetClientBottomInset(-5);
    EXPECT_EQ(grid->ClientBottomInset(), 0);
    grid->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    pt::ProcessEvents();
    last = grid->CellRect(0, 49);
    EXPECT_GT(last.Bottom, line);
    EXPECT_LE(last.Bottom, grid->ClientHeight());
    EXPECT_EQ(grid->VisibleRowCount(), full);
}

} // namespace

// The inplace editor takes the cell's edit mask when it loads the cell: the text is shown
// through the mask, typing fills its positions, and the cell receives the mask's text; the
// next cell without a mask edits plain text again.
TEST_F(GridControl, InplaceEditorAppliesTheCellsEditMask) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings.TimeSeparator = u':';
    auto* g = new MaskedGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 310, 400, 150);
    TGridOptions o = g->Options();
    g->SetOptions(o.Include(goEditing));
    g->SetCells(2, 1, u"7:05");
    g->SetCells(3, 1, u"7:05");
    pt::ProcessEvents();
    g->SetFocus();
    g->MoveColRow(2, 1, true, true);
    pt::Key(VK_F2);
    ASSERT_TRUE(g->EditorMode());
    TInplaceEdit* ed = g->InplaceEditor();
    EXPECT_TRUE(ed->IsMasked());
    EXPECT_EQ(ed->EditText(), u"_7:05");
    ed->SetSelStart(0);
    pt::Type(u"1x");  // 'x' is refused at the minutes
    EXPECT_EQ(ed->EditText(), u"17:05");
    EXPECT_EQ(g->Cells(2, 1), u"17:05");
    pt::Key(VK_ESCAPE);
    g->MoveColRow(3, 1, true, true);
    pt::Key(VK_F2);
    ASSERT_TRUE(g->EditorMode());
    EXPECT_FALSE(g->InplaceEditor()->IsMasked());
    EXPECT_EQ(g->InplaceEditor()->EditText(), u"7:05");
    FormatSettings = saved;
}
