// The mouse's feedback and drags around the cells: sizing a fixed column or row by its
// border, the arrows, header caption and cell picture that follow a column or row move with
// the view scrolling when the pointer passes the edge, the selection resizer's grip drag
// that pastes the selection into the area it is dragged over, the fixed-cell editor opened
// by a click, and the balloon of the cell the pointer rests on.
#include <algorithm>
#include <cstdlib>

#include "ExtGrid.h"
#include "ExtObjWindows.h"
#include "GridMoveWindows.h"
#include "plat/BalloonTip.h"
#include "plat/Clipbrd.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Timers.h"

namespace grid {

namespace {

constexpr int kGripSize = 6;
// A border grabs the pointer within this distance (fixed-line sizing).
constexpr int kSizeZone = 3;
// Timers of the hover balloon: show after the rest delay, hide after the show time.
constexpr std::uintptr_t kBalloonShowTimer = 997;
constexpr std::uintptr_t kBalloonHideTimer = 996;
constexpr int kBalloonInitialDelay = 500, kBalloonReshowDelay = 100, kBalloonAutoHide = 5000;

} // namespace

TArrowWindow* TExtStringGrid::MoveArrow(TArrowDirection Dir) const {
    switch (Dir) {
    case arrUp: return ArwU;
    case arrDown: return ArwD;
    case arrLeft: return ArwL;
    case arrRight: return ArwR;
    }
    return nullptr;
}

// ---- fixed-cell editor from the mouse ------------------------------------------------------

bool TExtStringGrid::FixedEditPress(int ACol, int ARow, TPoint P, plat::TMouseButton Button, bool Double) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return false;
    const TGridFixedCellEdit trigger = Double ? fceDblClick : Button == plat::mbRight ? fceRightClick : fceLeftClick;
    bool rows = ARow < FixedRows() && FMouseActions->FixedRowsEdit == trigger;
    bool cols = ACol < FixedCols() && FMouseActions->FixedColsEdit == trigger;
    if (trigger == fceLeftClick) {
        // Near a border that sizes, a left press is the sizing's, not the editor's.
        const plat::TRect r = CellRect(ACol, ARow);
        if (rows && Options().Contains(plat::goColSizing) && (P.X - r.Left < 4 || r.Right - P.X < 4)) rows = false;
        if (cols && Options().Contains(plat::goRowSizing) && (P.Y - r.Top < 4 || r.Bottom - P.Y < 4)) cols = false;
    }
    if (!rows && !cols) return false;
    FixedCellEdit(RealColIndex(ACol), ARow);
    return true;
}

// ---- fixed column and row sizing -----------------------------------------------------------

bool TExtStringGrid::PressFixedSizing(TPoint P) {
    if (FSizeFixed && FixedCols() > 0) {
        int col = -1;
        for (int c = 0; c < FixedCols(); ++c)
            if (std::abs(CellRect(c, 0).Right - P.X) < kSizeZone) col = c;
        if (col >= 0) {
            FSizingFixed = true;
            FSizingFixedCol = col;
            FSizeFixedX = P.X;
            DrawColSizingLine(P.X);
            return true;
        }
    }
    if (FSizeFixedR && FixedRows() > 0) {
        int row = -1;
        for (int r = 0; r < FixedRows(); ++r)
            if (std::abs(CellRect(0, r).Bottom - P.Y) < kSizeZone) row = r;
        if (row >= 0) {
            FSizingFixedR = true;
            FSizingFixedRow = row;
            FSizeFixedY = P.Y;
            DrawRowSizingLine(P.Y);
            return true;
        }
    }
    return false;
}

void TExtStringGrid::MoveFixedSizing(int ACol, int ARow, int X, int Y) {
    const bool onCell = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    if (!FSizingFixed && !FSizingFixedR) {
        FSizeFixed = false;
        FSizeFixedR = false;
        if (onCell && !IsDesigning() && !FMouseKeepDown) {
            if (FMouseActions->SizeFixedCol && FixedCols() > 0)
                for (int c = 0; c < FixedCols(); ++c)
                    if (std::abs(CellRect(c, 0).Right - X) < kSizeZone) FSizeFixed = true;
            if (!FSizeFixed && FMouseActions->SizeFixedRow && FixedRows() > 0)
                for (int r = 0; r < FixedRows(); ++r)
                    if (std::abs(CellRect(0, r).Bottom - Y) < kSizeZone) FSizeFixedR = true;
        }
        return;
    }
    // The line follows the pointer; the column (row) would get the size up to it.
    if (FSizingFixed) {
        DrawColSizingLine(FSizeFixedX);
        FSizeFixedX = X;
        DrawColSizingLine(FSizeFixedX);
        const int size = std::max(0, X - CellRect(FSizingFixedCol, 0).Left);
        if (OnColumnSizing) OnColumnSizing(this, FSizingFixedCol, size);
        if (HintShowSizing) ShowSizingHint(true, FSizingFixedCol, size);
        plat::SetCursor(plat::crHSplit);
    } else {
        DrawRowSizingLine(FSizeFixedY);
        FSizeFixedY = Y;
        DrawRowSizingLine(FSizeFixedY);
        const int size = std::max(0, Y - CellRect(0, FSizingFixedRow).Top);
        if (OnRowSizing) OnRowSizing(this, FSizingFixedRow, size);
        if (HintShowSizing) ShowSizingHint(false, FSizingFixedRow, size);
        plat::SetCursor(plat::crVSplit);
    }
}

void TExtStringGrid::ReleaseFixedSizing(int X, int Y) {
    if (FSizingFixed) {
        DrawColSizingLine(FSizeFixedX);
        FSizingFixed = FSizeFixed = false;
        const int col = FSizingFixedCol;
        FSizingFixedCol = -1;
        if (col < 0 || col >= ColCount()) return;
        int width = std::max(0, X - CellRect(col, 0).Left);
        SetColWidths(col, width);
        if (OnEndColumnSize) OnEndColumnSize(this, col);
        UpdateColumnSize(col, width);
        if (width != ColWidths(col)) SetColWidths(col, width);
    } else if (FSizingFixedR) {
        DrawRowSizingLine(FSizeFixedY);
        FSizingFixedR = FSizeFixedR = false;
        const int row = FSizingFixedRow;
        FSizingFixedRow = -1;
        if (row < 0 || row >= RowCount()) return;
        SetRowHeights(row, std::max(0, Y - CellRect(0, row).Top));
        if (OnEndRowSize) OnEndRowSize(this, row);
    }
}

// ---- selection resizer -----------------------------------------------------------------------

plat::TRect TExtStringGrid::SelectionResizerGrip() {
    if (!FSelectionResizer || !FSelectionRectangle) return {};
    const plat::TGridRect s = Selection();
    const plat::TRect r = CellRect(s.Right, s.Bottom);
    if (r.Right <= r.Left || r.Bottom <= r.Top) return {};
    return {r.Right - kGripSize, r.Bottom - kGripSize, r.Right, r.Bottom};
}

bool TExtStringGrid::PressSelectionResizer(TPoint P, bool OnGrip, plat::TMessage& Message) {
    if (!FSelectionResizer || !FSelectionRectangle) return false;
    if (!OnGrip && FMouseSelectMode != msResize) return false;
    const plat::TGridRect from = Selection();
    try {
        CopySelectionToClipboard();
    } catch (const plat::EClipboardException&) {
        // Without the copy the release would paste what the clipboard held before: no drag.
        Message.Result = 1;
        return true;
    }
    FDropSelection = from;
    FMouseResize = true;
    // The framework's press starts the selecting state; editing is off for it, so that the
    // press on the corner cell opens no editor.
    const bool editing = Options().Contains(plat::goEditing);
    if (editing) SetOptions(plat::TGridOptions(Options()).Exclude(plat::goEditing));
    InheritedWndProc(Message);
    if (editing) SetOptions(plat::TGridOptions(Options()).Include(plat::goEditing));
    // The drag grows the selection from its top-left cell.
    SetSelection(from);
    MouseMove(0, P.X, P.Y);
    Message.Result = 1;
    return true;
}

void TExtStringGrid::ReleaseSelectionResizer() {
    if (!FMouseResize) return;
    const plat::TGridRect to = Selection();
    if (OnSelectionResize) OnSelectionResize(this, FDropSelection, to);
    const bool disabled = FEditDisable;
    FEditDisable = true;
    try {
        PasteSelectionFromClipboard();
    } catch (...) {
        FEditDisable = disabled;
        FMouseResize = false;
        throw;
    }
    FEditDisable = disabled;
    FMouseResize = false;
    if (OnSelectionResized) OnSelectionResized(this, FDropSelection, Selection());
}

// ---- move feedback ---------------------------------------------------------------------------

TNoActiveForm* TExtStringGrid::SelectionToForm(plat::TGridRect ARect) {
    plat::TBitmap whole(std::max(1, Width()), std::max(1, Height()));
    whole.SetPixelFormat(plat::pf24bit);
    PaintTo(whole.Canvas(), 0, 0);
    const plat::TRect a = CellRect(std::min(ARect.Left, ARect.Right), std::min(ARect.Top, ARect.Bottom));
    const plat::TRect b = CellRect(std::max(ARect.Left, ARect.Right), std::max(ARect.Top, ARect.Bottom));
    const int left = std::min(a.Left, b.Left), top = std::min(a.Top, b.Top);
    const int right = std::max(a.Right, b.Right), bottom = std::max(a.Bottom, b.Bottom);
    // The cells with the grid line at their right and bottom.
    plat::TBitmap part(std::max(1, right - left + 1), std::max(1, bottom - top + 1));
    part.SetPixelFormat(plat::pf24bit);
    const plat::TRect dst{0, 0, part.Width(), part.Height()};
    part.Canvas()->CopyRect(dst, whole.Canvas(), {left, top, left + part.Width(), top + part.Height()});
    const plat::TGridOptions o = Options();
    part.Canvas()->Pen()->SetColor(plat::clBlack);
    if (ARect.Left == 0 && FixedCols() > 0 && o.Contains(plat::goFixedHorzLine)) {
        part.Canvas()->MoveTo(0, 0);
        part.Canvas()->LineTo(0, part.Height());
    }
    if (ARect.Top == 0 && FixedRows() > 0 && o.Contains(plat::goFixedVertLine)) {
        part.Canvas()->MoveTo(0, 0);
        part.Canvas()->LineTo(part.Width(), 0);
    }
    auto* form = new TNoActiveForm(this);
    form->SetPicture(part);
    return form;
}

void TExtStringGrid::ShowMoveFeedback(bool Columns, int X, int Y) {
    if (!EnhRowColMove || RowCount() <= 1 || FSizingFixed || FSizingFixedR) return;
    if (X == Clickposx && Y == Clickposy) return;
    if (Movecell < 0) return;
    const bool cells = DragDropSettings()->ShowCells;
    if (!FMoveShown) {
        FMoveShown = true;
        StartBlockFocus();
        if (cells) {
            if (FMoveForm) delete FMoveForm;
            const int lastRow = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
            const int lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
            FMoveForm = SelectionToForm(Columns ? plat::TGridRect{Movecell, 0, Movecell, lastRow}
                                                : plat::TGridRect{0, Movecell, lastCol, Movecell});
        } else {
            if (!FMoveButton) {
                FMoveButton = new THeaderDragButton(this);
                FMoveButton->SetParent(this);
            }
            if (Columns) {
                FMoveButton->SetCaption(Cells(RealColIndex(Movecell), 0));
                FMoveButton->SetFaceCell(Movecell, 0);
                FMoveButton->SetBounds(0, 0, ColWidths(Movecell), RowHeights(std::max(FPressRow, 0)));
            } else {
                FMoveButton->SetCaption(Cells(0, Movecell));
                FMoveButton->SetFaceCell(0, Movecell);
                FMoveButton->SetBounds(0, 0, ColWidths(std::max(FPressCol, 0)), RowHeights(Movecell));
            }
        }
    }
    const TPoint at = ClientToScreen({X - MoveOfsX, Y - MoveOfsY});
    if (cells && FMoveForm) {
        FMoveForm->ShowAt(at);
    } else if (FMoveButton) {
        FMoveButton->ShowAt(plat::Bounds(at.X, at.Y, FMoveButton->Width(), FMoveButton->Height()));
    }
}

void TExtStringGrid::PlaceMoveArrows(bool Columns) {
    if (!EnhRowColMove) return;
    if (Columns) {
        const int t = FMoveColInd;
        const bool shown = t >= FixedCols() && t < LeftCol() + VisibleColCount() && t < ColCount();
        if (!shown) {
            for (TArrowWindow* a : {ArwU, ArwD})
                if (a) a->SetVisible(false);
            return;
        }
        const plat::TRect top = CellRect(t, 0);
        const plat::TRect header = CellRect(t, std::max(FixedRows() - 1, 0));
        // Left of the target when the column goes left, right of it otherwise.
        const int x = (t < Movecell ? top.Left : top.Right) - 5;
        ShowDropArrow(ArwD, arrDown, ClientToScreen({x, top.Top - 8}));
        ShowDropArrow(ArwU, arrUp, ClientToScreen({x, header.Bottom}));
    } else {
        const int t = FMoveRowInd;
        bool shown = t >= FixedRows() && t < TopRow() + VisibleRowCount() && t < RowCount();
        if (shown && FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow &&
            t == RowCount() - 1)
            shown = false;
        if (!shown) {
            for (TArrowWindow* a : {ArwL, ArwR})
                if (a) a->SetVisible(false);
            return;
        }
        const plat::TRect first = CellRect(0, t);
        const int y = (t < Movecell ? first.Top : first.Bottom) - 5;
        ShowDropArrow(ArwL, arrLeft, ClientToScreen({first.Left - 10, y}));
        ShowDropArrow(ArwR, arrRight, ClientToScreen({first.Right, y}));
    }
}

void TExtStringGrid::AutoScrollWhileMoving(bool Columns, int X, int Y) {
    if (Columns) {
        if (VisibleColCount() + FixedCols() >= ColCount()) return;
        if (X < Layout().FixedWidth() && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Repaint();
        } else if (X > Width() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Repaint();
        }
    } else {
        if (VisibleRowCount() + FixedRows() >= RowCount()) return;
        if (Y < Layout().FixedHeight() && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            Repaint();
        } else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Repaint();
        }
    }
}

void TExtStringGrid::EndMoveFeedback(bool Cancel) {
    for (TArrowWindow* a : {ArwU, ArwD, ArwL, ArwR})
        if (a) a->SetVisible(false);
    if (FMoveButton) FMoveButton->HideButton();
    if (FMoveForm) {
        delete FMoveForm;
        FMoveForm = nullptr;
    }
    const bool wasShown = FMoveShown;
    FMoveShown = false;
    const plat::TGridState state = GridState();
    if (Cancel && (state == plat::gsColMoving || state == plat::gsRowMoving)) {
        // The view as it was at the press, so that the press point names the moved line again:
        // the framework's target goes back to it and nothing moves.
        if (state == plat::gsColMoving && LeftCol() != FOldKeepLeftCol && FOldKeepLeftCol >= FixedCols())
            SetLeftCol(FOldKeepLeftCol);
        if (state == plat::gsRowMoving && TopRow() != FPressTopRow && FPressTopRow >= FixedRows())
            SetTopRow(FPressTopRow);
        TBaseGrid::MouseMove(0, Clickposx, Clickposy);
    }
    if (state == plat::gsColMoving || state == plat::gsRowMoving) plat::SetCursor(Cursor());
    if (wasShown) EndBlockFocus();
}

void TExtStringGrid::StartBlockFocus() {
    if (OnStartBlockFocus) OnStartBlockFocus(this);
}

void TExtStringGrid::EndBlockFocus() {
    if (OnEndBlockFocus) OnEndBlockFocus(this);
}

// ---- hover balloon -------------------------------------------------------------------------

void TExtStringGrid::HoverBalloon(int ACol, int ARow) {
    const bool onCell = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    const TPoint cell = onCell ? BaseCell(RealColIndex(ACol), ARow) : TPoint{-1, -1};
    const bool showing = FLastBalloonPos.X >= 0;
    if (cell.X != FLastBalloonPos.X || cell.Y != FLastBalloonPos.Y) {
        if (showing) {
            if (FBalloonWindow) FBalloonWindow->Hide();
            FLastBalloonPos = {-1, -1};
            if (HandleAllocated()) plat::KillTimer(Handle(), kBalloonHideTimer);
        }
    }
    if (!FBalloon.Enable || !onCell || FMouseKeepDown) {
        if (FBalloonHover.X >= 0 && HandleAllocated()) plat::KillTimer(Handle(), kBalloonShowTimer);
        FBalloonHover = {-1, -1};
        return;
    }
    if (cell.X == FBalloonHover.X && cell.Y == FBalloonHover.Y) return;
    FBalloonHover = cell;
    if (cell.X == FLastBalloonPos.X && cell.Y == FLastBalloonPos.Y) return;
    const int delay = showing ? (FBalloon.ReshowDelay >= 0 ? FBalloon.ReshowDelay : kBalloonReshowDelay)
                              : (FBalloon.InitialDelay >= 0 ? FBalloon.InitialDelay : kBalloonInitialDelay);
    if (HandleAllocated()) plat::SetTimer(Handle(), kBalloonShowTimer, std::max(1, delay));
}

void TExtStringGrid::HideHoverBalloon() {
    if (HandleAllocated()) {
        plat::KillTimer(Handle(), kBalloonShowTimer);
        plat::KillTimer(Handle(), kBalloonHideTimer);
    }
    if (FLastBalloonPos.X >= 0 && FBalloonWindow) FBalloonWindow->Hide();
    FLastBalloonPos = FBalloonHover = {-1, -1};
}

bool TExtStringGrid::BalloonTimer(std::uintptr_t Id) {
    if (Id == kBalloonHideTimer) {
        HideHoverBalloon();
        return true;
    }
    if (Id != kBalloonShowTimer) return false;
    plat::KillTimer(Handle(), kBalloonShowTimer);
    const TPoint cell = FBalloonHover;
    if (cell.X < 0 || !FBalloon.Enable || FDestroying) return true;
    if (!ShowCellBalloon(cell.X, cell.Y)) return true;
    if (FBalloonWindow && FBalloonWindow->Text().empty() && FBalloonWindow->Title().find_first_not_of(u' ') == String::npos) {
        // Nothing to say about this cell.
        FBalloonWindow->Hide();
        return true;
    }
    FLastBalloonPos = cell;
    const int hide = FBalloon.AutoHideDelay > 0 ? FBalloon.AutoHideDelay : kBalloonAutoHide;
    plat::SetTimer(Handle(), kBalloonHideTimer, hide);
    return true;
}

} // namespace grid
