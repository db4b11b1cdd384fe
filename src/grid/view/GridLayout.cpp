// Layout of the string grid: one column stretched to fill the client width, the sizing veto
// events, the sizing edges, scroll hints while a thumb is dragged, and the window messages of
// painting, background and resizing.
#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "GridHint.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

int MulDiv(int a, int b, int c) { return c == 0 ? -1 : static_cast<int>((static_cast<long long>(a) * b) / c); }

} // namespace

void TExtStringGrid::StretchColumn(int ACol) {
    if (HasState(plat::csLoading) || Destroying()) return;
    // Any index outside -1 .. ColCount - 1 is refused alike (an index below -1 included).
    if (ACol < -1 || ACol >= ColCount()) throw plat::Exception(u"Stretch column index out of range");
    if (ACol == -1) ACol = ColCount() - 1;
    if (ColCount() == 0 || !ColumnSize()->Stretch() || FColChanging) return;
    FColChanging = true;
    FStretchAllowed = false;
    const int client = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(0, client);
    } else {
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != ACol) sum += ColWidths(c);
        if (sum < client)
            SetColWidths(ACol, client - sum - 1);
        else if (LeftCol() == FixedCols())
            SetColWidths(ACol, DefaultColWidth());
    }
    FStretchAllowed = true;
    FColChanging = false;
}

void TColumnSize::SetStretch(bool Value) {
    FStretch = Value;
    if (Value && FOwner && FOwner->Parent() && FOwner->ColCount() > 0)
        FOwner->StretchColumn(std::clamp(StretchColumn, -1, FOwner->ColCount() - 1));
}

void TExtStringGrid::NoteUserSizing(bool Columns, int Index, int StartSize) {
    if (Columns) {
        FSizedCol = Index;
        FSizedColStart = StartSize;
    } else {
        FSizedRow = Index;
        FSizedRowStart = StartSize;
    }
}

namespace {

// Every normal line but Sized scaled by Now / Start, rounded.
template <class Get, class Set>
void ScaleOthers(int First, int Count, int Sized, int Now, int Start, Get get, Set set) {
    for (int i = First; i < Count; ++i)
        if (i != Sized) set(i, static_cast<int>(std::lround(static_cast<double>(get(i)) * Now / Start)));
}

} // namespace

void TExtStringGrid::ColWidthsChanged() {
    if (FStretchAllowed && ColumnSize()->Stretch() && !FColChanging && ColCount() > 0 && Parent())
        StretchColumn(std::clamp(ColumnSize()->StretchColumn, -1, ColCount() - 1));
    TBaseGrid::ColWidthsChanged();
    // The sizing is forgotten first: the widths set below come back here as plain changes.
    const int sized = FSizedCol, start = FSizedColStart;
    FSizedCol = FSizedRow = -1;
    if (sized >= 0 && sized < ColCount()) {
        const int now = ColWidths(sized);
        if (FMouseActions->AllColumnSize && start > 0)
            ScaleOthers(FixedCols(), ColCount(), sized, now, start, [this](int i) { return ColWidths(i); },
                        [this](int i, int w) { SetColWidths(i, w); });
        if (OnEndColumnSize) OnEndColumnSize(this, sized);
        int w = ColWidths(sized);
        UpdateColumnSize(sized, w);
        if (w != ColWidths(sized)) SetColWidths(sized, w);
    }
    AfterSizesChanged();
    if (ColumnSize()->Stretch() && FScrollProportional) UpdateVScrollProportional();
}

void TExtStringGrid::RowHeightsChanged() {
    TBaseGrid::RowHeightsChanged();
    const int sized = FSizedRow, start = FSizedRowStart;
    FSizedCol = FSizedRow = -1;
    if (sized >= 0 && sized < RowCount()) {
        const int now = RowHeights(sized);
        if (FMouseActions->AllRowSize && start > 0)
            ScaleOthers(FixedRows(), RowCount(), sized, now, start, [this](int i) { return RowHeights(i); },
                        [this](int i, int h) { SetRowHeights(i, h); });
        if (OnEndRowSize) OnEndRowSize(this, sized);
    }
    AfterSizesChanged();
}

// The common end of a width or height change: an open editor follows its cell, a check-box
// cell's editor closes, the floating footer repaints, cell controls follow their cells.
void TExtStringGrid::AfterSizesChanged() {
    if (EditorMode() && InplaceEditor()) InplaceEditor()->Move(CellRect(Col(), Row()));
    if (HasCheckBox(RealColIndex(Col()), Row())) HideInplaceEdit();
    if (FFooterPanel && FFloatingFooter->Visible()) FFooterPanel->Invalidate();
    CellControlsUpdate(false);
}

void TExtStringGrid::CellControlsUpdate(bool RebuildList) {
    if (!HandleAllocated()) return;
    if (RebuildList) {
        while (FControlList->Count() > 0) FControlList->RemoveControl(FControlList->Count() - 1);
        const int cols = AllColCount();
        for (int r = 0; r < RowCount(); ++r)
            Store().ForEachInRow(r, [&](int c, plat::StringView, plat::TObject* obj) {
                if (!obj || c >= cols) return;
                if (TCellProperties* p = Map().Props(c, r); p && p->Control)
                    FControlList->AddControl(c, RealRowIndex(r), p->Control);
            });
        FNumCellControls = FControlList->Count();
    }
    if (FNumCellControls <= 0) return;
    const int lastCol = LeftCol() + VisibleColCount() - 1, lastRow = TopRow() + VisibleRowCount() - 1;
    for (int i = 0; i < FControlList->Count(); ++i) {
        const TControlItem* item = FControlList->GetControl(i);
        plat::TControl* ctrl = item->Control;
        if (!ctrl) continue;
        if (IsHiddenColumn(item->X) || IsHiddenRow(item->Y)) {
            ctrl->SetVisible(false);
            continue;
        }
        const int dc = DisplColIndex(item->X), dr = DisplRowIndex(item->Y);
        const bool normal = dc >= FixedCols() && dr >= FixedRows();
        // A cell is out of view when its scrolling column or row is; a fixed column's cell
        // scrolls with its row and a fixed row's cell with its column.
        const bool out = dc < 0 || dr < 0 || dc >= ColCount() || dr >= RowCount() ||
                         (dc >= FixedCols() && (dc < LeftCol() || dc > lastCol)) ||
                         (dr >= FixedRows() && (dr < TopRow() || dr > lastRow));
        const plat::TRect r = out ? plat::TRect{} : CellRect(dc, dr);
        if (out || r.Right <= r.Left || r.Bottom <= r.Top) {
            ctrl->SetVisible(false);
            continue;
        }
        ctrl->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
        ctrl->SetVisible(true);
        // The control repaints at its new place.
        if (normal) ctrl->Invalidate();
    }
}

void TExtStringGrid::CalcSizingState(int X, int Y, plat::TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs) {
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    if (State == plat::gsColSizing && OnColumnSize) {
        const plat::TGridCoord c = MouseCoord(X - 6, Y);
        if (c.Y >= 0 && c.Y < FixedRows()) {
            bool allow = true;
            OnColumnSize(this, Index, allow);
            if (!allow) State = plat::gsNormal;
        }
    }
    if (State == plat::gsRowSizing && OnRowSize) {
        const plat::TGridCoord c = MouseCoord(X, Y - 6);
        if (c.X >= 0 && c.X < FixedCols()) {
            bool allow = true;
            OnRowSize(this, Index, allow);
            if (!allow) State = plat::gsNormal;
        }
    }
}

bool TExtStringGrid::IsOnSizingEdge(int X, int Y) {
    const plat::TGridCoord c = MouseCoord(X, Y);
    if (c.X < 0 || c.Y < 0) return false;
    const plat::TRect r = CellRect(c.X, c.Y);
    if (c.Y <= FixedRows() && Options().Contains(plat::goColSizing) && (X - r.Left < 4 || r.Right - X < 4))
        return true;
    return c.X <= FixedCols() && Options().Contains(plat::goRowSizing) && (Y - r.Top < 3 || r.Bottom - Y < 3);
}

void TExtStringGrid::ScreenToCell(TPoint pt, int& ACol, int& ARow) {
    const TPoint p = ScreenToClient(pt);
    const plat::TGridCoord c = MouseCoord(p.X, p.Y);
    ACol = c.X;
    ARow = c.Y;
}

String TExtStringGrid::ScrollHintText(bool Horizontal, int ThumbPos) {
    String text;
    int index;
    if (Horizontal) {
        index = MulDiv(ThumbPos, ColCount() - VisibleColCount() - FixedCols(), 127) + FixedCols();
        text = u"Col : " + plat::IntToStr(index);
    } else {
        index = MulDiv(ThumbPos, RowCount() - VisibleRowCount() - FixedRows(), 127) + FixedRows();
        text = u"Row : " + plat::IntToStr(index);
    }
    if (OnScrollHint) OnScrollHint(this, index, text);
    return text;
}

void TExtStringGrid::ShowScrollHint(bool Horizontal, int Code, int ThumbPos) {
    const bool wanted = Horizontal ? (ScrollHints == shHorizontal || ScrollHints == shBoth)
                                   : (ScrollHints == shVertical || ScrollHints == shBoth);
    if (!wanted) return;
    if (Code == plat::SB_ENDSCROLL) {
        if (FScrollHintWindow) FScrollHintWindow->ReleaseHandle();
        return;
    }
    if (Code != plat::SB_THUMBTRACK) return;
    FScrollHint = ScrollHintText(Horizontal, ThumbPos);
    if (!FScrollHintWindow) FScrollHintWindow = std::make_unique<THTMLHintWindow>(nullptr);
    FScrollHintWindow->SetColor(HintColor);
    plat::TRect r = FScrollHintWindow->CalcHintRect(100, FScrollHint, nullptr);
    const TPoint cur = plat::GetCursorPos();
    r = {r.Left + cur.X + 10, r.Top + cur.Y, r.Right + cur.X + 10, r.Bottom + cur.Y};
    FScrollHintWindow->ActivateHint(r, FScrollHint);
}

void TExtStringGrid::ViewMessage(plat::TMessage& Message, bool& Handled) {
    Handled = true;
    switch (Message.Msg) {
    case plat::WM_PAINT:
        // Nothing is painted while an update is in progress; its end repaints the grid.
        if (FUpdateCount > 0) {
            Message.Result = 0;
            return;
        }
        // Proportional thumbs are recalculated before the first paint, and before every
        // paint of a grid that is a tab stop.
        if (FScrollProportional && FPaintCount == 0 && !IsDesigning()) {
            UpdateVScrollProportional();
            UpdateHScrollProportional();
        }
        if (!TabStop()) FPaintCount = 1;
        break;
    case plat::WM_ERASEBKGND:
        // The cell painting covers the client area: no erasing.
        Message.Result = 0;
        return;
    case plat::WM_HSCROLL:
    case plat::WM_VSCROLL:
        ShowScrollHint(Message.Msg == plat::WM_HSCROLL, plat::LoWord(Message.WParam), plat::HiWord(Message.WParam));
        if (!BeforeScroll(Message)) {
            AfterScroll(Message.Msg == plat::WM_HSCROLL);
            return;
        }
        break;
    case plat::WM_SIZE:
        // A stretched resize fires OnResize and skips the framework's size handling.
        if (FDisableSize) break;
        FDisableSize = true;
        if (SizeMessage(Message)) {
            FDisableSize = false;
            return;
        }
        FDisableSize = false;
        break;
    default: break;
    }
    Handled = false;
}

} // namespace grid
