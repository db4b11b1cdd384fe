// Mouse drags and feedback of the string grid through the real event path: the fixed-cell
// editor opened by its click, sizing a fixed column or row by its border and the end of a
// column sizing, the arrows, caption and picture that follow a column or row move with the
// view scrolling past the edge, the move ended by the window system, the selection resizer,
// the extras of a right press and the balloon of the cell the pointer rests on. Every test
// runs once with real column 1 hidden.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "ExtObjWindows.h"
#include "GridEditLink.h"
#include "GridEditors.h"
#include "GridMoveWindows.h"
#include "plat/BalloonTip.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;
using plat::TPoint;

namespace {

class GridMouseDragTest : public grid::testing::GridFixture<TExtStringGrid>, public ::testing::WithParamInterface<bool> {
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
    std::vector<String> Row(int row) {
        std::vector<String> v;
        for (int c = 0; c < grid->ColCount(); ++c) v.push_back(grid->Cells(grid->RealColIndex(c), row));
        return v;
    }
    // A fresh cell layout of Cols x Rows, 70 x 22 cells, with the run's hidden column.
    void Refill(int Cols, int Rows) {
        if (GetParam()) grid->UnHideColumnsAll();
        Fill(Cols, Rows);
        for (int c = 0; c < Cols; ++c) grid->SetColWidths(c, 70);
        for (int r = 0; r < Rows; ++r) grid->SetRowHeights(r, 22);
        if (GetParam()) grid->HideColumn(1);
    }
    std::vector<String> Column(int shown) {
        std::vector<String> v;
        for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(grid->RealColIndex(shown), r));
        return v;
    }
    void SetOption(plat::TGridOption o, bool on) {
        plat::TGridOptions opts = grid->Options();
        if (on) opts.Include(o);
        else opts.Exclude(o);
        grid->SetOptions(opts);
    }
    static bool Shown(plat::TWinControl* w) { return w && w->HandleAllocated() && plat::IsWindowVisible(w->Handle()); }
    // The screen point of a client point of the grid.
    TPoint Screen(TPoint p) { return grid->ClientToScreen(p); }
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridMouseDragTest, ::testing::Bool());

// ---- fixed-cell editor -----------------------------------------------------------------------

TEST_P(GridMouseDragTest, TheFixedCellEditorOpensOnlyByItsOwnClick) {
    enum Action { Left, Right, Double };
    struct Case {
        const char* name;
        TGridFixedCellEdit rows, cols;
        Action action;
        int col, row;  // shown indexes
        int fromBorder;  // pixels from the cell's right border, 0: its centre
        bool opens;
    };
    const int h = D(3);
    const Case cases[] = {
        {"left click on a header", fceLeftClick, fceNone, Left, h, 0, 0, true},
        {"left click 2 px from a sizable border", fceLeftClick, fceNone, Left, h, 0, 2, false},
        {"right click 2 px from the border", fceRightClick, fceNone, Right, h, 0, 2, true},
        {"left click for a right-click editor", fceRightClick, fceNone, Left, h, 0, 0, false},
        {"double click", fceDblClick, fceNone, Double, h, 0, 0, true},
        {"single click for a double-click editor", fceDblClick, fceNone, Left, h, 0, 0, false},
        {"left click on a fixed column", fceNone, fceLeftClick, Left, 0, 4, 0, true},
        {"fixed-column editor on a header", fceNone, fceLeftClick, Left, h, 0, 0, false},
        {"header editor on a normal cell", fceLeftClick, fceNone, Left, h, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->MouseActions()->FixedRowsEdit = c.rows;
        grid->MouseActions()->FixedColsEdit = c.cols;
        const plat::TRect r = grid->CellRect(c.col, c.row);
        const TPoint at = c.fromBorder ? TPoint{r.Right - c.fromBorder, (r.Top + r.Bottom) / 2} : Centre(c.col, c.row);
        if (c.action == Double)
            pt::DoubleClick(grid, at.X, at.Y);
        else
            pt::Click(grid, at.X, at.Y, c.action == Right ? plat::mbRight : plat::mbLeft);
        TGridTransEdit* edit = grid->EditTrans();
        EXPECT_EQ(edit->Visible(), c.opens);
        if (c.opens) {
            EXPECT_EQ(edit->Col(), grid->RealColIndex(c.col)) << "the real column";
            EXPECT_EQ(edit->Row(), c.row);
            EXPECT_EQ(edit->Text(), grid->Cells(grid->RealColIndex(c.col), c.row));
            EXPECT_TRUE(edit->Focused());
        }
        edit->SetVisible(false);
    }
}

// ---- fixed column and row sizing -------------------------------------------------------------

TEST_P(GridMouseDragTest, AFixedColumnOrRowIsSizedByDraggingItsBorder) {
    struct Case {
        const char* name;
        bool columns;
        int drag;
        int updated;  // the size OnUpdateColumnSize answers, 0: none
    };
    const Case cases[] = {
        {"fixed column wider", true, 30, 0},
        {"fixed column narrower, corrected by OnUpdateColumnSize", true, -20, 64},
        {"fixed row higher", false, 12, 0},
        {"fixed row lower, released in the header", false, -6, 0},
    };
    // A release in the header after a sizing does not sort.
    grid->SortSettings()->SetShow(true);
    std::vector<int> sorts;
    grid->OnClickSort = [&](plat::TObject*, int ACol) { sorts.push_back(ACol); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetColWidths(0, 70);
        grid->SetRowHeights(0, 22);
        grid->MouseActions()->SizeFixedCol = c.columns;
        grid->MouseActions()->SizeFixedRow = !c.columns;
        std::vector<std::pair<int, int>> sizing;
        std::vector<std::string> ends;
        grid->OnColumnSizing = [&](plat::TObject*, int ACol, int Size) { sizing.emplace_back(ACol, Size); };
        grid->OnRowSizing = [&](plat::TObject*, int ARow, int Size) { sizing.emplace_back(ARow, Size); };
        grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ends.push_back("col " + std::to_string(ACol)); };
        grid->OnEndRowSize = [&](plat::TObject*, int ARow) { ends.push_back("row " + std::to_string(ARow)); };
        grid->OnUpdateColumnSize = [&](plat::TObject*, int, int& W) {
            if (c.updated) W = c.updated;
        };
        // A fixed column's right border in a normal row; a fixed row's bottom border in a
        // normal column.
        const TPoint border = c.columns ? TPoint{grid->CellRect(0, 4).Right - 1, Centre(0, 4).Y}
                                        : TPoint{Centre(D(3), 0).X, grid->CellRect(D(3), 0).Bottom - 1};
        pt::Move(grid, border.X, border.Y);
        EXPECT_EQ(c.columns ? grid->SizeFixedCol() : grid->SizeFixedRow(), true);
        EXPECT_TRUE(pt::ShowsCursor(grid, border.X, border.Y, c.columns ? plat::crHSplit : plat::crVSplit));
        pt::Press(grid, border.X, border.Y);
        ASSERT_TRUE(c.columns ? grid->SizingFixedCol() : grid->SizingFixedRow());
        const TPoint to = c.columns ? TPoint{border.X + c.drag, border.Y} : TPoint{border.X, border.Y + c.drag};
        pt::Move(grid, to.X, to.Y, plat::ssLeft);
        const int expected = c.columns ? to.X : to.Y;
        ASSERT_FALSE(sizing.empty());
        EXPECT_EQ(sizing.back(), std::make_pair(0, expected)) << "the size up to the line";
        EXPECT_EQ(grid->SizingFixedPos(), expected);
        pt::Release(grid, to.X, to.Y);
        EXPECT_FALSE(grid->SizingFixedCol() || grid->SizingFixedRow());
        if (c.columns) {
            EXPECT_EQ(grid->ColWidths(0), c.updated ? c.updated : expected);
            EXPECT_EQ(ends, std::vector<std::string>{"col 0"});
        } else {
            EXPECT_EQ(grid->RowHeights(0), expected);
            EXPECT_EQ(ends, std::vector<std::string>{"row 0"});
        }
        EXPECT_EQ(grid->Row(), 1) << "the press selected nothing";
        EXPECT_TRUE(sorts.empty());
    }
    // Without SizeFixedCol the border is a plain cell press.
    grid->MouseActions()->SizeFixedCol = grid->MouseActions()->SizeFixedRow = false;
    const TPoint border{grid->CellRect(0, 4).Right - 1, Centre(0, 4).Y};
    pt::Move(grid, border.X, border.Y);
    EXPECT_FALSE(grid->SizeFixedCol());
    const int width = grid->ColWidths(0);
    pt::Press(grid, border.X, border.Y);
    pt::Move(grid, border.X + 30, border.Y, plat::ssLeft);
    pt::Release(grid, border.X + 30, border.Y);
    EXPECT_EQ(grid->ColWidths(0), width);
}

TEST_P(GridMouseDragTest, AColumnSizedByTheMouseEndsOnceAndLeavesNoNoteBehind) {
    std::vector<int> ends;
    grid->OnEndColumnSize = [&](plat::TObject*, int ACol) { ends.push_back(ACol); };
    grid->OnUpdateColumnSize = [&](plat::TObject*, int, int& W) { W = std::min(W, 100); };
    const int col = D(3);
    const plat::TRect r = grid->CellRect(col, 0);
    const int y = (r.Top + r.Bottom) / 2;
    pt::Press(grid, r.Right - 1, y);
    ASSERT_EQ(grid->GridState(), plat::gsColSizing);
    pt::Move(grid, r.Right + 59, y, plat::ssLeft);
    pt::Release(grid, r.Right + 59, y);
    EXPECT_EQ(ends, std::vector<int>{col});
    EXPECT_EQ(grid->ColWidths(col), 100) << "OnUpdateColumnSize corrects the width";
    // A sizing that changes nothing, then a width set by the program: no end of a sizing.
    ends.clear();
    const plat::TRect r2 = grid->CellRect(col, 0);
    pt::Press(grid, r2.Right - 1, y);
    pt::Release(grid, r2.Right - 1, y);
    grid->SetColWidths(D(5), 50);
    EXPECT_TRUE(ends.empty());
}

// ---- moving columns and rows -----------------------------------------------------------------

TEST_P(GridMouseDragTest, ArrowsAndThePictureOrCaptionFollowAMove) {
    struct Case {
        const char* name;
        bool columns, showCells;
    };
    const Case cases[] = {
        {"column, picture", true, true},
        {"column, caption", true, false},
        {"row, picture", false, true},
        {"row, caption", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetOption(plat::goColMoving, c.columns);
        SetOption(plat::goRowMoving, !c.columns);
        SetOption(plat::goColSizing, false);
        grid->DragDropSettings()->ShowCells = c.showCells;
        const std::vector<String> before = c.columns ? Row(3) : Column(D(3));
        // Column 2 (row 3) is carried right (down) to 4 (7), then left (up) to 1 (2).
        const int from = c.columns ? 2 : 3, further = c.columns ? 4 : 7, back = c.columns ? 1 : 2;
        auto at = [&](int i) { return c.columns ? Centre(i, 0) : Centre(0, i); };
        // One start when the move's window shows and one end when the move ends.
        std::vector<std::string> focusLog;
        grid->OnStartBlockFocus = [&](plat::TObject*) { focusLog.push_back("start"); };
        grid->OnEndBlockFocus = [&](plat::TObject*) { focusLog.push_back("end"); };
        const TPoint press = at(from);
        pt::Press(grid, press.X, press.Y);
        const TPoint p1 = at(further);
        pt::Move(grid, (press.X + p1.X) / 2 + 1, (press.Y + p1.Y) / 2 + 1, plat::ssLeft);
        pt::Move(grid, p1.X, p1.Y, plat::ssLeft);
        const TArrowDirection d1 = c.columns ? arrDown : arrLeft, d2 = c.columns ? arrUp : arrRight;
        TArrowWindow* a1 = grid->MoveArrow(d1);
        TArrowWindow* a2 = grid->MoveArrow(d2);
        ASSERT_TRUE(Shown(a1));
        ASSERT_TRUE(Shown(a2));
        const plat::TRect t1 = c.columns ? grid->CellRect(further, 0) : grid->CellRect(0, further);
        if (c.columns) {
            // At the target's right edge when moving right.
            EXPECT_EQ(TPoint(a1->Left(), a1->Top()), Screen({t1.Right - 5, t1.Top - 8}));
            EXPECT_EQ(TPoint(a2->Left(), a2->Top()), Screen({t1.Right - 5, t1.Bottom}));
        } else {
            EXPECT_EQ(TPoint(a1->Left(), a1->Top()), Screen({t1.Left - 10, t1.Bottom - 5}));
            EXPECT_EQ(TPoint(a2->Left(), a2->Top()), Screen({t1.Right, t1.Bottom - 5}));
        }
        // The picture or the caption keeps the press's offset in its cell.
        const plat::TRect pressed = c.columns ? grid->CellRect(from, 0) : grid->CellRect(0, from);
        const TPoint corner = Screen({p1.X - (press.X - pressed.Left), p1.Y - (press.Y - pressed.Top)});
        if (c.showCells) {
            TNoActiveForm* picture = grid->MoveForm();
            ASSERT_TRUE(Shown(picture));
            EXPECT_EQ(TPoint(picture->Left(), picture->Top()), corner);
            // The moved line's cells as shown, with the grid line at their right and bottom.
            if (c.columns) EXPECT_EQ(picture->Width(), grid->ColWidths(from) + 1);
            else EXPECT_EQ(picture->Height(), grid->RowHeights(from) + 1);
            EXPECT_FALSE(Shown(grid->MoveButton()));
        } else {
            THeaderDragButton* button = grid->MoveButton();
            ASSERT_TRUE(Shown(button));
            EXPECT_EQ(TPoint(button->Left(), button->Top()), corner);
            EXPECT_EQ(button->Caption(), c.columns ? grid->Cells(grid->RealColIndex(from), 0) : grid->Cells(0, from));
            if (c.columns) EXPECT_EQ(button->Width(), grid->ColWidths(from));
            else EXPECT_EQ(button->Height(), grid->RowHeights(from));
            EXPECT_EQ(grid->MoveForm(), nullptr);
        }
        // Back past the start: the arrows go to the target's left (top) edge.
        const TPoint p2 = at(back);
        pt::Move(grid, p2.X, p2.Y, plat::ssLeft);
        const plat::TRect t2 = c.columns ? grid->CellRect(back, 0) : grid->CellRect(0, back);
        if (c.columns) EXPECT_EQ(a1->Left(), Screen({t2.Left - 5, 0}).X);
        else EXPECT_EQ(a1->Top(), Screen({0, t2.Top - 5}).Y);
        EXPECT_EQ(focusLog, std::vector<std::string>{"start"});
        pt::Release(grid, p2.X, p2.Y);
        EXPECT_EQ(focusLog, (std::vector<std::string>{"start", "end"}));
        EXPECT_FALSE(Shown(a1));
        EXPECT_FALSE(Shown(a2));
        EXPECT_EQ(grid->MoveForm(), nullptr);
        EXPECT_FALSE(Shown(grid->MoveButton()));
        std::vector<String> expected = before;
        const String moved = expected[from];
        expected.erase(expected.begin() + from);
        expected.insert(expected.begin() + back, moved);
        EXPECT_EQ(c.columns ? Row(3) : Column(D(3)), expected);
    }
}

TEST_P(GridMouseDragTest, PicturesOfAMove) {
    SetOption(plat::goColMoving, true);
    SetOption(plat::goColSizing, false);
    const TPoint press = Centre(2, 0), over = Centre(4, 0);
    pt::Press(grid, press.X, press.Y);
    pt::Move(grid, press.X + 20, press.Y + 15, plat::ssLeft);
    pt::Move(grid, over.X, over.Y + 15, plat::ssLeft);
    // The form with the windows that float over it, where they are on the screen.
    std::unique_ptr<plat::TBitmap> shot = pt::Grab(form.get());
    const TPoint origin = form->ClientToScreen({0, 0});
    auto paste = [&](plat::TWinControl* w) {
        if (!Shown(w)) return;
        std::unique_ptr<plat::TBitmap> part = pt::Grab(w);
        if (auto* picture = dynamic_cast<TNoActiveForm*>(w)) {
            // Blended at the window's opacity over what lies below.
            plat::TBitmap blend(part->Width(), part->Height());
            blend.Canvas()->Draw(0, 0, &picture->Picture());
            for (int y = 0; y < blend.Height(); ++y)
                for (int x = 0; x < blend.Width(); ++x) {
                    const int sx = w->Left() - origin.X + x, sy = w->Top() - origin.Y + y;
                    if (sx < 0 || sy < 0 || sx >= shot->Width() || sy >= shot->Height()) continue;
                    const plat::TColor a = blend.Canvas()->Pixels(x, y), b = shot->Canvas()->Pixels(sx, sy);
                    auto mix = [&](int s) {
                        const int ca = (a >> s) & 0xFF, cb = (b >> s) & 0xFF;
                        return ((ca * TNoActiveForm::Alpha + cb * (255 - TNoActiveForm::Alpha)) / 255) << s;
                    };
                    shot->Canvas()->SetPixels(sx, sy, static_cast<plat::TColor>(mix(0) | mix(8) | mix(16)));
                }
            return;
        }
        shot->Canvas()->Draw(w->Left() - origin.X, w->Top() - origin.Y, part.get());
    };
    paste(grid->MoveForm());
    for (TArrowDirection d : {arrDown, arrUp}) paste(grid->MoveArrow(d));
    ASSERT_TRUE(Shown(grid->MoveArrow(arrDown)));
    const plat::TRect target = grid->CellRect(4, 0);
    const TPoint arrow = form->ScreenToClient(Screen({target.Right - 5 + 5, target.Bottom + 2}));
    // The up arrow's lime shows under the header at the target's right edge.
    EXPECT_EQ(shot->Canvas()->Pixels(arrow.X, arrow.Y), plat::clLime);
    // Written for a look by eye when TEST_PICTURES names a folder.
    if (const char* dir = std::getenv("TEST_PICTURES"); dir && !GetParam())
        shot->SaveToFile(plat::Utf8ToString(std::string(dir) + "/grid-column-move.png"));
    pt::Release(grid, over.X, over.Y + 15);
}

TEST_P(GridMouseDragTest, AMoveScrollsWhenThePointerPassesTheEdge) {
    struct Case {
        const char* name;
        bool columns;
    };
    for (const Case& c : {Case{"columns", true}, Case{"rows", false}}) {
        SCOPED_TRACE(c.name);
        Refill(14, 30);
        SetOption(plat::goColMoving, c.columns);
        SetOption(plat::goRowMoving, !c.columns);
        SetOption(plat::goColSizing, false);
        grid->SetLeftCol(1);
        grid->SetTopRow(1);
        const TPoint press = c.columns ? Centre(3, 0) : Centre(0, 3);
        pt::Press(grid, press.X, press.Y);
        pt::Move(grid, press.X + 5, press.Y + 5, plat::ssLeft);
        auto first = [&] { return c.columns ? grid->LeftCol() : grid->TopRow(); };
        const TPoint past = c.columns ? TPoint{grid->Width() + 5, press.Y} : TPoint{press.X, grid->Height() + 5};
        pt::Move(grid, past.X, past.Y, plat::ssLeft);
        pt::Move(grid, past.X + 1, past.Y + 1, plat::ssLeft);
        EXPECT_EQ(first(), 3) << "one line per move past the far edge";
        const TPoint before = c.columns ? TPoint{5, press.Y} : TPoint{press.X, 5};
        pt::Move(grid, before.X, before.Y, plat::ssLeft);
        EXPECT_EQ(first(), 2) << "and back over the fixed lines";
        // Released on a line of the scrolled view: the moved line lands there.
        const int target = c.columns ? 6 : 9;
        const String moved = c.columns ? grid->Cells(grid->RealColIndex(3), 5) : grid->Cells(grid->RealColIndex(2), 3);
        const TPoint on = c.columns ? Centre(target, 0) : Centre(0, target);
        pt::Move(grid, on.X, on.Y, plat::ssLeft);
        pt::Release(grid, on.X, on.Y);
        EXPECT_EQ(c.columns ? grid->Cells(grid->RealColIndex(target), 5) : grid->Cells(grid->RealColIndex(2), target), moved);
    }
}

TEST_P(GridMouseDragTest, ARowHeaderDragScrollsUpAndSelectsTheRowsItPasses) {
    Refill(7, 30);
    grid->MouseActions()->RowSelect = true;
    grid->SetTopRow(10);
    const TPoint header = Centre(0, 12);
    pt::Move(grid, header.X, header.Y);
    ASSERT_EQ(grid->MouseSelectMode(), TExtStringGrid::msRow);
    pt::Press(grid, header.X, header.Y);
    const TPoint top = Centre(0, 0);
    pt::Move(grid, top.X, top.Y, plat::ssLeft);
    pt::Move(grid, top.X, top.Y + 1, plat::ssLeft);
    EXPECT_EQ(grid->TopRow(), 8);
    EXPECT_EQ(grid->Selection().Top, 8);
    EXPECT_EQ(grid->Selection().Bottom, 12);
    pt::Release(grid, top.X, top.Y + 1);
}

// The caption that follows a column move wears the face of the header it carries: with a
// gradient look the header's colours from top to bottom, not a flat fixed colour.
TEST_P(GridMouseDragTest, TheMovedCaptionWearsTheFaceOfItsHeader) {
    SetOption(plat::goColMoving, true);
    SetOption(plat::goColSizing, false);
    grid->DragDropSettings()->ShowCells = false;
    grid->SetLook(glOffice2007);
    grid->SetCells(grid->RealColIndex(2), 0, u"");
    pt::MoveAway();
    pt::ProcessEvents();
    const plat::TRect cell = grid->CellRect(2, 0);
    const plat::TRect ga = grid->ClientAreaInWindow();
    auto gridPicture = pt::Grab(grid);
    const TPoint press = Centre(2, 0), target = Centre(4, 0);
    pt::Press(grid, press.X, press.Y);
    pt::Move(grid, (press.X + target.X) / 2 + 1, press.Y + 1, plat::ssLeft);
    pt::Move(grid, target.X, target.Y, plat::ssLeft);
    THeaderDragButton* button = grid->MoveButton();
    ASSERT_TRUE(Shown(button));
    pt::ProcessEvents();
    auto buttonPicture = pt::Grab(button);
    const plat::TRect ba = button->ClientAreaInWindow();
    const int x = (cell.Right - cell.Left) / 2;
    // The two rectangles differ by a pixel in height: a shade of difference is allowed.
    auto near = [](TColor a, TColor b) {
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 12) return false;
        return true;
    };
    const int h = std::min(cell.Bottom - cell.Top, ba.Bottom - ba.Top);
    const TColor top = pt::PixelOf(*gridPicture, ga.Left + cell.Left + x, ga.Top + cell.Top + 2);
    const TColor bottom = pt::PixelOf(*gridPicture, ga.Left + cell.Left + x, ga.Top + cell.Top + h - 3);
    EXPECT_FALSE(near(top, bottom)) << "the look paints no gradient";
    for (int y = 2; y < h - 2; ++y) {
        SCOPED_TRACE(y);
        const TColor header = pt::PixelOf(*gridPicture, ga.Left + cell.Left + x, ga.Top + cell.Top + y);
        const TColor face = pt::PixelOf(*buttonPicture, ba.Left + x, ba.Top + y);
        EXPECT_TRUE(near(header, face)) << std::hex << header << " " << face;
    }
    pt::Release(grid, target.X, target.Y);
}

TEST_P(GridMouseDragTest, AMoveTakenAwayByTheWindowSystemMovesNothing) {
    Refill(14, 12);
    SetOption(plat::goColMoving, true);
    SetOption(plat::goColSizing, false);
    struct Case {
        const char* name;
        bool scrolled;
    };
    for (const Case& c : {Case{"in view", false}, Case{"after the view scrolled", true}}) {
        SCOPED_TRACE(c.name);
        grid->SetLeftCol(1);
        const std::vector<String> before = Row(3);
        const TPoint press = Centre(2, 0), over = Centre(5, 0);
        int blocked = 0;  // started and not yet ended block-focus brackets
        grid->OnStartBlockFocus = [&](plat::TObject*) { ++blocked; };
        grid->OnEndBlockFocus = [&](plat::TObject*) { --blocked; };
        pt::Press(grid, press.X, press.Y);
        pt::Move(grid, over.X, over.Y, plat::ssLeft);
        if (c.scrolled) pt::Move(grid, grid->Width() + 5, over.Y, plat::ssLeft);
        // A right release does not end the move.
        pt::Click(grid, over.X, over.Y, plat::mbRight);
        EXPECT_EQ(grid->GridState(), plat::gsColMoving);
        EXPECT_EQ(blocked, 1);
        grid->Perform(plat::WM_CANCELMODE, 0, 0);
        EXPECT_EQ(blocked, 0);
        EXPECT_EQ(grid->GridState(), plat::gsNormal);
        EXPECT_FALSE(Shown(grid->MoveArrow(arrDown)));
        EXPECT_EQ(grid->MoveForm(), nullptr);
        pt::Release(grid, over.X, over.Y);
        EXPECT_EQ(Row(3), before);
    }
}

// ---- selection resizer -----------------------------------------------------------------------

TEST_P(GridMouseDragTest, DraggingTheSelectionsGripFillsTheAreaItCovers) {
    grid->SetSelectionResizer(true);
    grid->SetSelectionRectangle(true);
    grid->Navigation()->AllowSmartClipboard = true;
    SetOption(plat::goEditing, true);
    struct Case {
        const char* name;
        std::vector<String> values;  // rows 2.. of shown column 3
        int toRow;
        std::vector<String> expected;  // rows 2 .. toRow
    };
    const Case cases[] = {
        {"one value repeats", {u"7"}, 5, {u"7", u"7", u"7", u"7"}},
        {"two numbers continue their series", {u"1", u"2"}, 6, {u"1", u"2", u"3", u"4", u"5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int col = D(3), real = grid->RealColIndex(col);
        for (std::size_t i = 0; i < c.values.size(); ++i) grid->SetCells(real, 2 + static_cast<int>(i), c.values[i]);
        const plat::TGridRect from{col, 2, col, 2 + static_cast<int>(c.values.size()) - 1};
        grid->SetSelection(from);
        std::vector<std::string> log;
        auto rect = [](const plat::TGridRect& r) {
            return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
                   std::to_string(r.Bottom);
        };
        grid->OnSelectionResize = [&](plat::TObject*, plat::TGridRect o, plat::TGridRect n) {
            log.push_back("resize " + rect(o) + " " + rect(n));
        };
        grid->OnSelectionResized = [&](plat::TObject*, plat::TGridRect o, plat::TGridRect n) {
            log.push_back("resized " + rect(o) + " " + rect(n));
        };
        const plat::TRect grip = grid->SelectionResizerGrip();
        ASSERT_EQ(grip.Width(), 6);
        const TPoint g{grip.Left + 3, grip.Top + 3};
        pt::Move(grid, g.X, g.Y);
        EXPECT_EQ(grid->MouseSelectMode(), TExtStringGrid::msResize);
        EXPECT_TRUE(pt::ShowsCursor(grid, g.X, g.Y, 8012));
        pt::Press(grid, g.X, g.Y);
        EXPECT_TRUE(grid->MouseResize());
        const TPoint to = Centre(col, c.toRow);
        pt::Move(grid, to.X, to.Y, plat::ssLeft);
        pt::Release(grid, to.X, to.Y);
        EXPECT_FALSE(grid->MouseResize());
        const plat::TGridRect end{col, 2, col, c.toRow};
        EXPECT_EQ(log, (std::vector<std::string>{"resize " + rect(from) + " " + rect(end),
                                                 "resized " + rect(from) + " " + rect(end)}));
        std::vector<String> got;
        for (int r = 2; r <= c.toRow; ++r) got.push_back(grid->Cells(real, r));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(grid->Cells(real, c.toRow + 1), grid::testing::Tag(real, c.toRow + 1)) << "nothing below the area";
        EXPECT_TRUE(grid->Options().Contains(plat::goEditing)) << "editing stays on";
        EXPECT_FALSE(grid->EditorMode()) << "the press on the corner cell opened no editor";
    }
    // Without the resizer the same corner is a plain press.
    grid->SetSelectionResizer(false);
    grid->SetSelection({D(3), 2, D(3), 2});
    const plat::TRect cell = grid->CellRect(D(3), 2);
    pt::Press(grid, cell.Right - 2, cell.Bottom - 2);
    EXPECT_FALSE(grid->MouseResize());
    pt::Release(grid, cell.Right - 2, cell.Bottom - 2);
}

// ---- right press -----------------------------------------------------------------------------

TEST_P(GridMouseDragTest, ARightPressSelectsBeforeItsEventWithSelectOnRightClick) {
    struct Case {
        const char* name;
        bool select, handler;
        TPoint current;  // after the press, shown indexes
    };
    const Case cases[] = {
        {"without SelectOnRightClick", false, true, {2, 2}},
        {"with a handler", true, true, {4, 5}},
        {"without a handler", true, false, {4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->MouseActions()->SelectOnRightClick = c.select;
        grid->FocusCell(2, 2);
        std::vector<std::string> log;
        grid->OnRightClickCell = nullptr;
        if (c.handler)
            grid->OnRightClickCell = [&](plat::TObject*, int ARow, int ACol) {
                log.push_back("right " + std::to_string(ACol) + "," + std::to_string(ARow) + " at " +
                              std::to_string(grid->Col()) + "," + std::to_string(grid->Row()));
            };
        const TPoint at = Centre(4, 5);
        pt::Click(grid, at.X, at.Y, plat::mbRight);
        EXPECT_EQ(grid->Col(), c.current.X);
        EXPECT_EQ(grid->Row(), c.current.Y);
        EXPECT_EQ(grid->GridState(), plat::gsNormal);
        if (c.handler)
            EXPECT_EQ(log, std::vector<std::string>{"right 4,5 at " + std::to_string(c.current.X) + "," +
                                                     std::to_string(c.current.Y)});
    }
}

// With URLShow and URLEdit a right press on a link cell makes it current and opens its
// editor on the link's text, the cell not followed; a cell that may not be edited only
// becomes current.
TEST_P(GridMouseDragTest, ARightPressOnALinkEditsItWithURLEdit) {
    struct Case {
        const char* name;
        bool show, edit, editing;
        String text;
        TPoint current;  // shown indexes after the press
        bool opens;
    };
    const Case cases[] = {
        {"link", true, true, true, u"https://a.example/x", {4, 5}, true},
        {"mail link", true, true, true, u"mailto:a@b.example", {4, 5}, true},
        {"without URLEdit", true, false, true, u"https://a.example/x", {2, 2}, false},
        {"without URLShow", false, true, true, u"https://a.example/x", {2, 2}, false},
        {"plain text", true, true, true, u"plain", {2, 2}, false},
        {"without goEditing", true, true, false, u"https://a.example/x", {4, 5}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetURLShow(c.show);
        grid->URLEdit = c.edit;
        SetOption(plat::goEditing, c.editing);
        grid->FocusCell(2, 2);
        grid->SetCells(grid->RealColIndex(4), 5, c.text);
        const TPoint at = Centre(4, 5);
        pt::Click(grid, at.X, at.Y, plat::mbRight);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Col(), c.current.X);
        EXPECT_EQ(grid->Row(), c.current.Y);
        EXPECT_EQ(grid->EditorMode(), c.opens);
        if (c.opens) {
            ASSERT_TRUE(grid->NormalEdit() && grid->NormalEdit()->Visible());
            EXPECT_EQ(grid->NormalEdit()->Text(), c.text);
            pt::Key(plat::VK_ESCAPE);
        }
        EXPECT_EQ(grid->Cells(grid->RealColIndex(4), 5), c.text);
        grid->HideEditor();
    }
    EXPECT_TRUE(responder().ShellOpens().empty());
}

// With CaretPositioning the editor a click opens has its caret at the character under the
// pointer, nothing selected; without it the caret is after the text.
TEST_P(GridMouseDragTest, AClickThatOpensTheEditorPutsTheCaretUnderThePointer) {
    SetOption(plat::goEditing, true);
    grid->MouseActions()->DirectEdit = true;
    grid->SetColWidths(D(3), 200);
    const String text = u"abcdefghijklmnop";
    grid->SetCells(3, 4, text);
    const plat::TRect r = grid->CellRect(D(3), 4);
    auto caretAfterClickAt = [&](int x) {
        grid->FocusCell(D(2), 2);
        pt::Click(grid, x, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
        EXPECT_TRUE(grid->EditorMode());
        if (!grid->NormalEdit() || !grid->NormalEdit()->Visible()) return -1;
        EXPECT_EQ(grid->NormalEdit()->SelLength(), 0);
        const int caret = grid->NormalEdit()->SelStart();
        pt::Key(plat::VK_ESCAPE);
        return caret;
    };
    grid->MouseActions()->CaretPositioning = true;
    const int nearLeft = caretAfterClickAt(r.Left + 20), further = caretAfterClickAt(r.Left + 60);
    EXPECT_GT(nearLeft, 0);
    EXPECT_GT(further, nearLeft);
    EXPECT_LT(further, static_cast<int>(text.size()));
    EXPECT_FALSE(grid->LButFlg);
    grid->MouseActions()->CaretPositioning = false;
    EXPECT_EQ(caretAfterClickAt(r.Left + 20), static_cast<int>(text.size()));
    EXPECT_EQ(grid->Cells(3, 4), text);
}

// The same for the edit part of a combo a click opens: with CaretPositioning the caret is at
// the character under the pointer, nothing selected; without it (and without EditSelectAll)
// the caret is after the text.
TEST_P(GridMouseDragTest, AClickThatOpensAComboPutsItsCaretUnderThePointer) {
    SetOption(plat::goEditing, true);
    grid->MouseActions()->DirectEdit = true;
    grid->OnGetEditorType = [](plat::TObject*, int c, int, TEditorType& e) {
        if (c == 3) e = edComboEdit;
    };
    grid->SetColWidths(D(3), 200);
    const String text = u"abcdefghijklmnop";
    grid->SetCells(3, 4, text);
    const plat::TRect r = grid->CellRect(D(3), 4);
    TGridCombo* combo = grid->Combobox();
    struct Caret {
        int start, length;
    };
    auto caretAfterClickAt = [&](int x) {
        grid->FocusCell(D(2), 2);
        pt::Click(grid, x, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
        EXPECT_TRUE(combo->Visible());
        if (!combo->Visible() || !combo->EditControl()) return Caret{-1, -1};
        const Caret c{combo->EditControl()->SelStart(), combo->EditControl()->SelLength()};
        pt::Key(plat::VK_ESCAPE);
        return c;
    };
    grid->MouseActions()->CaretPositioning = true;
    const Caret nearLeft = caretAfterClickAt(r.Left + 20), further = caretAfterClickAt(r.Left + 60);
    EXPECT_EQ(nearLeft.length, 0);
    EXPECT_EQ(further.length, 0);
    EXPECT_GT(nearLeft.start, 0);
    EXPECT_GT(further.start, nearLeft.start);
    EXPECT_LT(further.start, static_cast<int>(text.size()));
    EXPECT_FALSE(grid->LButFlg);
    grid->MouseActions()->CaretPositioning = false;
    grid->Navigation()->EditSelectAll = false;
    const Caret atEnd = caretAfterClickAt(r.Left + 20);
    EXPECT_EQ(atEnd.start, static_cast<int>(text.size()));
    EXPECT_EQ(atEnd.length, 0);
    EXPECT_EQ(grid->Cells(3, 4), text);
}

TEST_P(GridMouseDragTest, ARightPressMarksRowsOfADisjunctSelection) {
    grid->MouseActions()->SelectOnRightClick = true;
    grid->MouseActions()->SetDisjunctRowSelect(true);
    const TPoint r3 = Centre(2, 3), r6 = Centre(2, 6);
    pt::Click(grid, r3.X, r3.Y, plat::mbRight);
    EXPECT_TRUE(grid->GetRowSelect(3));
    pt::Click(grid, r6.X, r6.Y, plat::mbRight, plat::ssCtrl);
    EXPECT_TRUE(grid->GetRowSelect(3));
    EXPECT_TRUE(grid->GetRowSelect(6));
    EXPECT_EQ(grid->RowSelectCount(), 2);
    // A plain right press replaces the marks by its row.
    pt::Click(grid, r3.X, r3.Y, plat::mbRight);
    EXPECT_EQ(grid->RowSelectCount(), 1);
    EXPECT_TRUE(grid->GetRowSelect(3));
}

// ---- hover balloon ---------------------------------------------------------------------------

TEST_P(GridMouseDragTest, ABalloonShowsForTheCellThePointerRestsOn) {
    grid->Balloon().Enable = true;
    grid->SetCells(grid->RealColIndex(3), 4, u"first cell");
    grid->SetCells(grid->RealColIndex(4), 4, u"second cell");
    auto balloon = [&] { return grid->BalloonWindow(); };
    auto showing = [&] { return balloon() && balloon()->HandleAllocated() && plat::IsWindowVisible(balloon()->Handle()); };
    const TPoint a = Centre(3, 4), b = Centre(4, 4);
    pt::Move(grid, a.X, a.Y);
    pt::AdvanceClock(400);
    EXPECT_FALSE(showing()) << "not before the pointer rested";
    pt::Move(grid, a.X + 2, a.Y + 1);
    pt::AdvanceClock(150);
    ASSERT_TRUE(showing());
    EXPECT_EQ(balloon()->Text(), u"first cell");
    EXPECT_EQ(grid->HoverBalloonCell(), (TPoint{grid->RealColIndex(3), 4}));
    // Another cell: the balloon goes at once and the next one follows after a short delay.
    pt::Move(grid, b.X, b.Y);
    EXPECT_FALSE(showing());
    EXPECT_EQ(grid->HoverBalloonCell(), (TPoint{-1, -1}));
    pt::AdvanceClock(100);
    ASSERT_TRUE(showing());
    EXPECT_EQ(balloon()->Text(), u"second cell");
    // It hides by itself, and leaving the grid or a press takes it away.
    pt::AdvanceClock(5000);
    EXPECT_FALSE(showing());
    pt::Move(grid, a.X, a.Y);
    pt::AdvanceClock(500);
    ASSERT_TRUE(showing());
    pt::MoveAway();
    EXPECT_FALSE(showing());
    pt::Move(grid, a.X, a.Y);
    pt::AdvanceClock(500);
    ASSERT_TRUE(showing());
    pt::Click(grid, a.X, a.Y);
    EXPECT_FALSE(showing());
    // Without Enable nothing shows.
    grid->Balloon().Enable = false;
    pt::Move(grid, b.X, b.Y);
    pt::AdvanceClock(1000);
    EXPECT_FALSE(showing());
}

} // namespace
