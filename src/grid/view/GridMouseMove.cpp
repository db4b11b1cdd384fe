// Mouse movement over the grid: the hover row, hovered fixed cells and cell buttons, the
// header selection modes a press will use and their cursors, header-drag selection of rows
// and columns, the sizing events and "cw=" / "rh=" hint of a column or row sized by the
// framework, the veto and target events of a row or column move and the bookkeeping after a
// move (sort mark and current column follow the moved column), links under the pointer, and
// leaving the grid.
#include <algorithm>
#include <cstdlib>

#include "ExtGrid.h"
#include "EsgHTMLE.h"
#include "GridHint.h"
#include "ExtUtil.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

constexpr plat::TCursor kRowSelectCursor = 8010;
constexpr plat::TCursor kColSelectCursor = 8011;
constexpr plat::TCursor kAllSelectCursor = 8012;
constexpr plat::TCursor kCellSelectorCursor = 8014;

void InstallSelectCursors() {
    static const bool installed = [] {
        for (int id : {8010, 8011, 8012, 8014})
            if (!plat::Screen->Cursors(id)) plat::Screen->SetCursors(id, plat::LoadCursorResource(id));
        return true;
    }();
    (void)installed;
}

bool InRect(const plat::TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

bool SameRect(const plat::TGridRect& a, const plat::TGridRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

} // namespace

bool TExtStringGrid::IsHoverFixedCell(int ACol, int ARow) const {
    switch (FHoverFixedCells) {
    case hfAll: return ACol < FixedCols() || ARow < FixedRows();
    case hfFixedColumns: return ACol < FixedCols();
    case hfFixedRows: return ARow < FixedRows();
    default: return false;
    }
}

void TExtStringGrid::MouseMove(plat::TShiftState Shift, int X, int Y) {
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool onCell = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();

    // A fixed line's border under the pointer, or the sizing of one under way.
    MoveFixedSizing(ACol, ARow, X, Y);
    if (FSizingFixed || FSizingFixedR) return;
    HoverBalloon(ACol, ARow);
    const plat::TRect grip = SelectionResizerGrip();
    const bool onGrip = X >= grip.Left && X < grip.Right && Y >= grip.Top && Y < grip.Bottom;

    // A drag prepared by the press starts once the pointer has left a 3-pixel square.
    if (FSelectionClick && onCell && FMouseKeepDown && (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3) &&
        DragDropSettings()->OleDropSource && GridState() != plat::gsColSizing && !onGrip) {
        FSelectionClick = false;
        const TPoint from = FDragFrom;
        // The drag takes the release: the press is over when it returns.
        FMouseKeepDown = FMouseDownMove = false;
        plat::ReleaseCapture();
        OleDragFromCell(from.X, from.Y);
        return;
    }

    // A drag that began with a press selects instead of editing.
    if (FMouseKeepDown && FMouseActions->RangeSelectAndEdit && Options().Contains(plat::goEditing) && !EditorMode()) {
        plat::TGridOptions o = Options();
        o.Exclude(plat::goEditing);
        SetOptions(o);
    }
    const plat::TGridRect oldSel = Selection();

    if (onCell && HoverRow && ARow != HoverRowIdx()) {
        const int old = HoverRowIdx();
        SetHoverRowIdx(ARow);
        if (old >= 0 && old < RowCount()) RepaintRow(old);
        RepaintRow(ARow);
    }
    if (FHoverFixedCells != hfNone && !FNoMouseLeave) {
        const bool hovered = onCell && IsHoverFixedCell(ACol, ARow);
        SetHoverFixedCell(hovered ? ACol : -1, hovered ? ARow : -1);
    }
    // The button under the pointer is drawn hot.
    TPoint hoverButton{-1, -1};
    if (onCell) {
        const int real = RealColIndex(ACol);
        if ((HasButton(real, ARow) && InRect(GetGraphicRect(ACol, ARow), X, Y)) ||
            (HasExpand(real, ARow) && InRect(GetExpandRect(ACol, ARow), X, Y)))
            hoverButton = {ACol, ARow};
    }
    if (hoverButton.X != FHoverButton.X || hoverButton.Y != FHoverButton.Y) {
        if (FHoverButton.X >= 0 && FHoverButton.X < ColCount() && FHoverButton.Y < RowCount())
            RepaintCell(FHoverButton.X, FHoverButton.Y);
        FHoverButton = hoverButton;
        if (hoverButton.X >= 0) RepaintCell(hoverButton.X, hoverButton.Y);
    }

    // Header-drag selection of whole rows or columns.
    if (FMouseSelectStart >= 0 && FMouseKeepDown) {
        if (FMouseSelectMode == msRow && FMouseActions->RowSelect) {
            // Past the top or bottom edge the view scrolls a row and the selection follows.
            int to = -1;
            if (Y > Height() - 4 && TopRow() + VisibleRowCount() < RowCount()) {
                SetTopRow(TopRow() + 1);
                to = std::min(TopRow() + VisibleRowCount() - 1, RowCount() - FixedFooters - 1);
            } else if (ARow == 0 && TopRow() > FixedRows()) {
                SetTopRow(TopRow() - 1);
                to = TopRow();
            } else if (ARow >= FixedRows() && ARow <= RowCount() - FixedFooters - 1) {
                to = ARow;
            }
            if (to >= 0) {
                to = std::max(FixedRows(), to);
                plat::TGridRect s;
                s.Left = FixedCols();
                s.Right = ColCount() - 1;
                s.Top = std::min(FMouseSelectStart, to);
                s.Bottom = std::max(FMouseSelectStart, to);
                if (!SameRect(s, Selection())) SetSelection(s);
            }
        } else if (FMouseSelectMode == msColumn && FMouseActions->ColSelect && ACol >= FixedCols()) {
            const int to = std::max(FixedCols(), ACol);
            plat::TGridRect s;
            s.Top = FixedRows();
            s.Bottom = RowCount() - 1;
            s.Left = std::min(FMouseSelectStart, to);
            s.Right = std::max(FMouseSelectStart, to);
            if (!SameRect(s, Selection())) SetSelection(s);
        }
    }

    // Row and column moves by the framework: the move may be refused when it starts, and
    // each new target is asked.
    const plat::TGridState state = GridState();
    if (state == plat::gsColMoving || state == plat::gsRowMoving) {
        const bool cols = state == plat::gsColMoving;
        if (!FMoveAsked) {
            FMoveAsked = true;
            bool allow = true;
            if (cols && OnColumnMove) OnColumnMove(this, Movecell, allow);
            if (!cols && OnRowMove) OnRowMove(this, Movecell, allow);
            if (!allow) {
                // Cancelled where the press was: the framework moves nothing.
                Perform(plat::WM_CANCELMODE, 0, 0);
                FMoveColInd = FMoveRowInd = -1;
                plat::SetCursor(Cursor());
                TBaseGrid::MouseMove(Shift, X, Y);
                return;
            }
        }
        ShowMoveFeedback(cols, X, Y);
        const int target = cols ? ACol : ARow;
        if (target >= 0 && target != (cols ? FMoveColInd : FMoveRowInd)) {
            bool allow = true;
            if (cols) {
                FMoveColInd = ACol;
                FMoveRowInd = 0;
                if (OnColumnMoving) OnColumnMoving(this, ACol, allow);
            } else {
                FMoveColInd = 0;
                FMoveRowInd = ARow;
                if (OnRowMoving) OnRowMoving(this, ARow, allow);
            }
            FMoveRefused = !allow;
        }
        AutoScrollWhileMoving(cols, X, Y);
        PlaceMoveArrows(cols);
        plat::SetCursor(FMoveRefused ? plat::crNoDrop : plat::crDrag);
    }

    // The mode the next press uses, shown by its cursor.
    const TMouseSelectMode before = FMouseSelectMode;
    if (!FMouseKeepDown) {
        FMouseSelectMode = msNormal;
        if (onGrip) {
            FMouseSelectMode = msResize;
        } else if (onCell && !IsOnSizingEdge(X, Y)) {
            if (ACol < FixedCols() && ARow < FixedRows()) {
                if (FMouseActions->AllSelect) FMouseSelectMode = msAll;
            } else if (ARow < FixedRows() && ACol >= FixedCols()) {
                if (FMouseActions->ColSelect) FMouseSelectMode = msColumn;
            } else if (ACol < FixedCols() && ARow >= FixedRows() && ARow <= RowCount() - 1) {
                const bool nodeGlyph = ACol == 0 && IsNode(ARow) && IsNodeButtonHit(ARow, X - CellRect(ACol, ARow).Left);
                if (FMouseActions->RowSelect && !nodeGlyph) FMouseSelectMode = msRow;
            }
        }
    }
    const bool specialCursor = FMouseSelectMode != msNormal;
    if (specialCursor) {
        InstallSelectCursors();
        plat::SetCursor(SelectModeCursor());
    } else if (before != msNormal) {
        plat::SetCursor(Cursor());
    }

    if (onCell && !specialCursor && state == plat::gsNormal) HoverLinks(ACol, ARow, X, Y);

    TBaseGrid::MouseMove(Shift, X, Y);
    if (FSizeFixed) plat::SetCursor(plat::crHSplit);
    else if (FSizeFixedR) plat::SetCursor(plat::crVSplit);

    // Sizing: the size the column or row would have, and its hint.
    const plat::TGridState now = GridState();
    if (now == plat::gsColSizing || now == plat::gsRowSizing) {
        const bool cols = now == plat::gsColSizing;
        int index = cols ? Colclicked : Rowclicked;
        if (index < 0) index = cols ? ColCount() - 1 : RowCount() - 1;
        int size = 0;
        if (cols) {
            const plat::TRect r = CellRect(index, std::max(Rowclicked, 0));
            size = X - r.Left - FClickposdx;
            if (OnColumnSizing) OnColumnSizing(this, index, size);
        } else {
            const plat::TRect r = CellRect(std::max(Colclicked, 0), index);
            size = Y - r.Top - FClickposdy;
            if (OnRowSizing) OnRowSizing(this, index, size);
        }
        if (HintShowSizing) ShowSizingHint(cols, index, size);
    }
    if (FMouseKeepDown && Navigation()->KeepHorizScroll && now != plat::gsColMoving && LeftCol() != FOldKeepLeftCol &&
        FOldKeepLeftCol >= FixedCols())
        SetLeftCol(FOldKeepLeftCol);
    const plat::TGridRect sel = Selection();
    if (!SameRect(sel, oldSel) && (state == plat::gsColMoving || state == plat::gsRowMoving)) Invalidate();
}

void TExtStringGrid::HoverLinks(int ACol, int ARow, int X, int Y) {
    const int real = RealColIndex(ACol);
    const String text = GetCellEx(real, ARow);
    const bool markup = EnableHTML && DetectCellTextKind(text, true) == 1;
    String anchor;
    if (!markup) {
        if (URLShow() && IsHyperlink(text)) {
            plat::SetCursor(plat::crHandPoint);
            return;
        }
    } else {
        const plat::TRect cell = CellRect(ACol, ARow);
        plat::TBitmap scratch(std::max(1, cell.Width()), std::max(1, cell.Height()));
        scratch.Canvas()->Font()->Assign(*Font());
        TMarkupDrawInput in;
        in.Canvas = scratch.Canvas();
        in.Text = text;
        int left = FXYOffset.X + 1;
        if (HasCheckBox(real, ARow)) left += FControlLook->CheckSize;
        in.Rect = plat::Rect(left, FXYOffset.Y + 1, cell.Width() - FXYOffset.X, cell.Height());
        in.XPos = X - cell.Left;
        in.YPos = Y - cell.Top;
        TMarkupDrawResult out;
        if (DrawMarkupText(in, out) && !out.AnchorVal.empty()) anchor = out.AnchorVal;
    }
    if (!anchor.empty()) {
        plat::SetCursor(plat::crHandPoint);
        if (anchor != FAnchor) {
            FAnchor = anchor;
            if (OnAnchorEnter) OnAnchorEnter(this, ARow, ACol, anchor);
        }
    } else if (!FAnchor.empty()) {
        FAnchor.clear();
        if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, String());
        plat::SetCursor(Cursor());
    }
}

void TExtStringGrid::ShowSizingHint(bool Columns, int Index, int Size) {
    FScrollHint = (Columns ? u"cw=<b>" : u"rh=<b>") + plat::IntToStr(Size) + u"</b>";
    if (!HandleAllocated()) return;
    if (!FScrollHintWindow) FScrollHintWindow = std::make_unique<THTMLHintWindow>(nullptr);
    FScrollHintWindow->SetColor(HintColor);
    plat::TRect r = FScrollHintWindow->CalcHintRect(200, FScrollHint, nullptr);
    const plat::TRect cell = Columns ? CellRect(Index, 0) : CellRect(0, Index);
    const TPoint at = ClientToScreen({cell.Left, cell.Top});
    r = plat::Bounds(at.X, at.Y, r.Width(), r.Height());
    FScrollHintWindow->ActivateHint(r, FScrollHint);
    FScrollHintShow = true;
}

void TExtStringGrid::HideSizingHint() {
    if (!FScrollHintShow) return;
    FScrollHintShow = false;
    if (FScrollHintWindow) FScrollHintWindow->ReleaseHandle();
}

plat::TCursor TExtStringGrid::SelectModeCursor() const {
    switch (FMouseSelectMode) {
    case msColumn: return kColSelectCursor;
    case msRow: return kRowSelectCursor;
    case msAll:
    case msResize: return kAllSelectCursor;
    default: return plat::crDefault;
    }
}

bool TExtStringGrid::SetCursorMessage(plat::TMessage& Message) {
    const plat::TGridState state = GridState();
    const bool sizing = state == plat::gsColSizing || state == plat::gsRowSizing;
    if (!sizing && FMouseSelectMode != msNormal && FMouseSelectMode != msURL) {
        InstallSelectCursors();
        plat::SetCursor(SelectModeCursor());
        Message.Result = 1;
        return true;
    }
    if (!sizing && FCellSelectorMode) {
        InstallSelectCursors();
        plat::SetCursor(kCellSelectorCursor);
        Message.Result = 1;
        return true;
    }
    if (state == plat::gsColMoving || state == plat::gsRowMoving) {
        plat::SetCursor(FMoveRefused ? plat::crNoDrop : plat::crDrag);
        Message.Result = 1;
        return true;
    }
    if (FSizeFixed || FSizingFixed || FSizeFixedR || FSizingFixedR) {
        plat::SetCursor(FSizeFixed || FSizingFixed ? plat::crHSplit : plat::crVSplit);
        Message.Result = 1;
        return true;
    }
    return false;
}

void TExtStringGrid::MouseLeft() {
    FMouseSelectMode = msNormal;
    if (!FSizingFixed && !FSizingFixedR) FSizeFixed = FSizeFixedR = false;
    HideHoverBalloon();
    if (!FNoMouseLeave) SetHoverFixedCell(-1, -1);
    if (HoverRow && HoverRowIdx() >= 0) {
        const int old = HoverRowIdx();
        SetHoverRowIdx(-1);
        if (old < RowCount()) RepaintRow(old);
    }
    if (FHoverButton.X >= 0) {
        if (FHoverButton.X < ColCount() && FHoverButton.Y < RowCount()) RepaintCell(FHoverButton.X, FHoverButton.Y);
        FHoverButton = {-1, -1};
    }
}

void TExtStringGrid::ResetFixedCellHighlight() {
    FNoMouseLeave = false;
    if (FHoverFixedCells != hfNone) SetHoverFixedCell(-1, -1);
}

// ---- press and release steps of header selection, moving, sizing and drag start -------------

bool TExtStringGrid::DragStartPress(int ACol, int ARow, TPoint P, plat::TShiftState Shift) {
    FSelectionClick = false;
    if (!DragDropSettings()->OleDropSource || Options().Contains(plat::goEditing) || ACol < FixedCols()) return false;
    const int real = RealColIndex(ACol);
    if (HasButton(real, ARow) || HasCheckBox(real, ARow)) return false;
    const plat::TGridRect s = Selection();
    const bool selected =
        ARow >= FixedRows() && ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
    const bool header = ARow < FixedRows() && !EnhRowColMove && !FMouseActions->ColSelect && !FMouseActions->AllSelect;
    if (!selected && !header) return false;
    const plat::TRect r = CellRect(ACol, ARow);
    if (Options().Contains(plat::goColSizing) && !(P.X - r.Left > 3 && r.Right - P.X > 3)) return false;
    if (CanFocus() && !Focused()) SetFocus();
    if (OnMouseDown) OnMouseDown(this, plat::mbLeft, Shift, P.X, P.Y);
    FSelectionClick = true;
    FDragFrom = {ACol, ARow};
    if (OnClickCell) OnClickCell(this, ARow, ACol);
    return true;
}

void TExtStringGrid::PressHeaderSelect(int ACol, int ARow, plat::TShiftState Shift) {
    const int right = Clickposx - (Colclicked >= 0 ? CellRect(Colclicked, std::max(Rowclicked, 0)).Right : 0);
    const int bottom = Clickposy - (Rowclicked >= 0 ? CellRect(std::max(Colclicked, 0), Rowclicked).Bottom : 0);
    FClickposdx = Colclicked >= 0 ? right : 0;
    FClickposdy = Rowclicked >= 0 ? bottom : 0;
    FOldKeepLeftCol = LeftCol();
    FMoveAsked = false;
    FMoveRefused = false;
    FMoveColInd = FMoveRowInd = -1;
    Movecell = -1;
    if (ARow < FixedRows() && ACol >= FixedCols())
        Movecell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        Movecell = ARow;
    // Where the press lies in its cell: the move's caption or picture keeps that offset.
    const plat::TRect pressed = CellRect(ACol, ARow);
    MoveOfsX = Clickposx - pressed.Left;
    MoveOfsY = Clickposy - pressed.Top;
    FPressTopRow = TopRow();
    const plat::TGridRect old = Selection();
    plat::TGridRect s = old;
    switch (FMouseSelectMode) {
    case msAll:
        if (!(ACol < FixedCols() && ARow < FixedRows()) || !FMouseActions->AllSelect ||
            !Options().Contains(plat::goRangeSelect))
            return;
        if (CanFocus() && !Focused()) SetFocus();
        s = {FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        break;
    case msRow:
        if (!(ACol < FixedCols() && ARow >= FixedRows()) || !FMouseActions->RowSelect) return;
        if (EditorMode() && CanFocus()) SetFocus();
        s.Left = FixedCols();
        s.Right = ColCount() - 1;
        s.Top = (Shift & plat::ssShift) ? std::min(ARow, old.Top) : ARow;
        s.Bottom = (Shift & plat::ssShift) ? std::max(ARow, old.Top) : ARow;
        FMouseSelectStart = ARow;
        break;
    case msColumn:
        if (!(ARow < FixedRows() && ACol >= FixedCols()) || !FMouseActions->ColSelect ||
            !Options().Contains(plat::goRangeSelect))
            return;
        if (CanFocus() && !Focused()) SetFocus();
        s.Top = FixedRows();
        s.Bottom = RowCount() - 1;
        if (Shift & plat::ssShift) {
            const int edge = ACol < old.Left ? old.Right : old.Left;
            s.Left = std::min(ACol, edge);
            s.Right = std::max(ACol, edge);
        } else {
            s.Left = s.Right = ACol;
        }
        FMouseSelectStart = ACol;
        break;
    default: return;
    }
    HideEditor();
    SetSelection(s);
    Invalidate();
}

void TExtStringGrid::ReleaseMoveAndSize(int X, int Y) {
    HideSizingHint();
    if (FSelectionClick) {
        // The prepared drag never started: the release selects its cell.
        FSelectionClick = false;
        int ACol = -1, ARow = -1;
        MouseToCell(X, Y, ACol, ARow);
        if (ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() && ARow < RowCount()) {
            if (Options().Contains(plat::goRowSelect))
                SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
            FocusCell(ACol, ARow);
        }
    }
    const plat::TGridState state = GridState();
    // Released on a refused target: the framework's target goes back to the pressed one.
    if (state == plat::gsColMoving || state == plat::gsRowMoving) EndMoveFeedback(FMoveRefused);
    FMouseSelectMode = msNormal;
    FMouseSelectStart = -1;
    FMoveColInd = FMoveRowInd = -1;
    FMoveAsked = FMoveRefused = false;
}

void TExtStringGrid::ColumnMovedFollow(int FromReal, int ToReal, int FromIndex, int ToIndex) {
    auto follow = [](int c, int from, int to) {
        if (c == from) return to;
        if (from < to && c > from && c <= to) return c - 1;
        if (to < from && c >= to && c < from) return c + 1;
        return c;
    };
    TSortSettings& s = *SortSettings();
    if (s.Column >= 0) s.Column = follow(s.Column, FromReal, ToReal);
    if (s.IndexShow) {
        TSortIndexList& list = *SortIndexes();
        for (int i = 0; i < list.Count(); ++i) list.SetSortColumns(i, follow(list.SortColumns(i), FromReal, ToReal));
    }
    const int col = follow(Col(), FromIndex, ToIndex);
    if (col != Col() && col >= FixedCols() && col < ColCount()) FocusCell(col, Row());
    if (EnhRowColMove) ColMoveFlg = true;
}

} // namespace grid
