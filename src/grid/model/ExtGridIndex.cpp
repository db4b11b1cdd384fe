// Hidden columns and rows, the mappings between real and display indexes, the current row
// and the save range of TExtStringGrid.
#include <algorithm>

#include "ExtGrid.h"

namespace grid {

// ---- columns ---------------------------------------------------------------------------------

void TExtStringGrid::RebuildColMaps() {
    FDisplToReal.clear();
    FHiddenBefore.clear();
    if (FNumHidden == 0) return;
    FHiddenBefore.resize(kMaxHideCol + 1);
    int hidden = 0;
    for (int c = 0; c <= kMaxHideCol; ++c) {
        FHiddenBefore[static_cast<std::size_t>(c)] = hidden;
        if (c == kMaxHideCol) break;
        if (FHiddenCol[c])
            ++hidden;
        else
            FDisplToReal.push_back(c);
    }
}

bool TExtStringGrid::IsHiddenColumn(int ColIndex) const {
    return ColIndex >= 0 && ColIndex < kMaxHideCol && FHiddenCol[ColIndex];
}

int TExtStringGrid::RealColIndex(int ACol) const {
    if (FNumHidden == 0 || ACol < 0) return ACol;
    if (ACol < static_cast<int>(FDisplToReal.size())) return FDisplToReal[static_cast<std::size_t>(ACol)];
    // Every column from kMaxHideCol on is shown.
    if (ACol >= ColCount() && ACol >= kMaxHideCol) return ACol;
    return ACol + FNumHidden;
}

int TExtStringGrid::DisplCol(int ACol) const {
    if (FNumHidden == 0 || ACol <= 0) return ACol;
    if (ACol <= kMaxHideCol) return ACol - FHiddenBefore[static_cast<std::size_t>(ACol)];
    if (ACol >= AllColCount()) return ACol;
    return ACol - FNumHidden;
}

void TExtStringGrid::HideColumns(int FromCol, int ToCol) {
    if (EditorMode()) HideEditor();
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, kMaxHideCol - 1);
    bool changed = false;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (FHiddenCol[c] || c >= AllColCount() || ColCount() < 2) continue;
        const int d = DisplCol(c);
        FAllColWidths[c] = static_cast<std::int16_t>(std::clamp(ColWidths(d), -32768, 32767));
        for (int i = d; i < ColCount() - 1; ++i) SetColWidths(i, ColWidths(i + 1));
        ++FNumHidden;
        FHiddenCol[c] = true;
        RebuildColMaps();
        if (Col() == ColCount() - 1 && Col() > FixedCols()) TCustomGrid::SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
        changed = true;
    }
    if (changed) Invalidate();
}

void TExtStringGrid::UnHideColumns(int FromCol, int ToCol) {
    if (EditorMode()) HideEditor();
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, kMaxHideCol - 1);
    bool changed = false;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!FHiddenCol[c]) continue;
        --FNumHidden;
        FHiddenCol[c] = false;
        RebuildColMaps();
        SetColCount(ColCount() + 1);
        const int d = DisplCol(c);
        for (int i = ColCount() - 1; i > d; --i) SetColWidths(i, ColWidths(i - 1));
        SetColWidths(d, FAllColWidths[c]);
        changed = true;
    }
    if (changed) Invalidate();
}

void TExtStringGrid::UnHideColumnsAll() { UnHideColumns(0, AllColCount()); }

int TExtStringGrid::AllColWidths(int ACol) const {
    if (IsHiddenColumn(ACol)) return FAllColWidths[ACol];
    const int d = DisplCol(ACol);
    if (ACol >= 0 && d < ColCount()) return ColWidths(d);
    return DefaultColWidth();
}

void TExtStringGrid::SetAllColWidths(int ACol, int Value) {
    if (IsHiddenColumn(ACol)) {
        FAllColWidths[ACol] = static_cast<std::int16_t>(std::clamp(Value, -32768, 32767));
        return;
    }
    const int d = DisplCol(ACol);
    if (ACol >= 0 && d < ColCount()) SetColWidths(d, Value);
}

// ---- rows ------------------------------------------------------------------------------------

void TExtStringGrid::TakeRowCells(int ARow, TGridItem& Item) {
    Item.Cells = Store().TakeRow(ARow);
    Item.Modified = RowModified(ARow);
    Item.Disabled = !RowEnabled(ARow);
}

void TExtStringGrid::PutRowCells(TGridItem& Item, int ARow) { Store().PutRow(ARow, std::move(Item.Cells)); }

void TExtStringGrid::HideRows(int FromRow, int ToRow) {
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, AllRowCount() - 1);
    if (FromRow > ToRow) return;
    // The shown rows of the range follow one another on the display from d0 on.
    const int d0 = DisplRowIndex(FromRow);
    std::vector<TGridItem> taken;
    int d = d0;
    for (int r = FromRow; r <= ToRow; ++r) {
        if (IsHiddenRow(r)) continue;
        // The framework keeps at least one row: the last shown row is never hidden.
        if (d >= RowCount() || static_cast<int>(taken.size()) >= RowCount() - 1) break;
        TGridItem item;
        item.Idx = r;
        item.Height = RowHeights(d);
        TakeRowCells(d, item);
        taken.push_back(std::move(item));
        ++d;
    }
    if (taken.empty()) return;
    BeginUpdate();
    RemoveDisplayRows(d0, static_cast<int>(taken.size()));
    FGridItems.InsertSorted(std::move(taken));
    EndUpdate();
}

void TExtStringGrid::HideRowsEx(int FromRow, int ToRow) {
    // The same hiding, heights recorded: a row hidden here comes back at its own height.
    if (IsHiddenRow(FromRow)) return;
    HideRows(FromRow, ToRow);
}

void TExtStringGrid::UnHideRow(int RowIndex) { UnHideRows(RowIndex, RowIndex); }

void TExtStringGrid::UnHideRows(int FromRow, int ToRow) {
    const int first = FGridItems.Find(FromRow);
    if (first < 0) return;
    const int last = FGridItems.CountBelow(ToRow + 1);  // one past the range's last item
    BeginUpdate();
    std::vector<TGridItem> items = FGridItems.TakeRange(first, last);
    RestoreHiddenRows(items);
    EndUpdate();
}

void TExtStringGrid::UnHideRowsAll() {
    if (FGridItems.Empty()) return;
    UnHideRows(FGridItems.Item(0).Idx, FGridItems.Item(FGridItems.Count() - 1).Idx);
}

// ---- dimensions ---------------------------------------------------------------------------------

void TExtStringGrid::SetRowCount(int Value) {
    if (RowCount() == FixedRows() && FixedRowAlways && FSelHidden) UnHideSelection();
    TCustomGrid::SetRowCount(Value);
    // Fixed rows lost to a small count come back.
    if (FixedRowAlways && Value > FFixedRowsMin && FixedRows() != FFixedRowsMin)
        TCustomGrid::SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
}

void TExtStringGrid::SetColCount(int Value) {
    TCustomGrid::SetColCount(Value);
    if (FixedColAlways && Value > FFixedColsMin && FixedCols() != FFixedColsMin)
        TCustomGrid::SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
}

void TExtStringGrid::SetFixedRows(int Value) {
    const int asked = Value;
    if (FixedRowAlways && Value >= RowCount()) Value = RowCount() - 1;
    TCustomGrid::SetFixedRows(Value);
    if (!HasState(plat::csLoading)) FFixedRowsMin = asked;
}

void TExtStringGrid::SetFixedCols(int Value) {
    const int asked = Value;
    if (FixedColAlways && Value >= ColCount()) Value = ColCount() - 1;
    TCustomGrid::SetFixedCols(Value);
    if (!HasState(plat::csLoading)) FFixedColsMin = asked;
}

void TExtStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    const bool live = Parent() && !HasState(plat::csLoading) && !HasState(plat::csReading);
    if (live && ColumnSize()->Stretch() && ColCount() > 0)
        StretchColumn(std::clamp(ColumnSize()->StretchColumn, -1, ColCount() - 1));
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    SetNormalRowCount(RowCount());
    // Flat bars show exactly when rows (columns) lie hidden below (to the right).
    if (live) ShowFlatBarsAsNeeded();
}

// ---- current cell ------------------------------------------------------------------------------

void TExtStringGrid::SetRowEx(int Value) {
    if (Col() < 0 || Col() >= ColCount()) MoveColRow(FixedCols(), Value, true, true);
    TCustomGrid::SetRow(Value);
    const int now = Row();
    if (now != FOldRowSel && OnRowChanged) {
        const int old = FOldRowSel;
        FOldRowSel = now;
        OnRowChanged(this, old, now);
    }
    if (FSyncGrid->SelectionRow && FSyncGrid->Grid()) {
        TExtStringGrid* other = FSyncGrid->Grid();
        if (other->Row() != now && now < other->RowCount()) other->SetRowEx(now);
    }
}

void TExtStringGrid::SetCol(int Value) {
    TCustomGrid::SetCol(Value);
    if (FSyncGrid->SelectionColumn && FSyncGrid->Grid()) {
        TExtStringGrid* other = FSyncGrid->Grid();
        if (other->Col() != Col() && Col() < other->ColCount()) other->SetCol(Col());
    }
}

void TExtStringGrid::SetTopRow(int Value) {
    if (Value < FixedRows() || Value > RowCount() - 1) return;
    TCustomGrid::SetTopRow(Value);
}

// ---- selection parking, scrolling and used cells --------------------------------------------------

void TExtStringGrid::HideSelection() {
    // A second call must not overwrite the parked selection with the parking cell.
    if (FSelHidden) return;
    FOldSelection = Selection();
    SetSelection(plat::TGridRect{ColCount(), RowCount(), ColCount(), RowCount()});
    FSelHidden = true;
}

void TExtStringGrid::UnHideSelection() {
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int c = (FixedColAlways && FixedCols() == ColCount()) ? 0 : FixedCols();
    const int r = (FixedRowAlways && FixedRows() == RowCount()) ? 0 : FixedRows();
    SetSelection(plat::TGridRect{c, r, c, r});
}

void TExtStringGrid::ScrollInView(int ColIndex, int RowIndex) {
    if (ColIndex >= ColCount() || RowIndex >= RowCount()) return;
    int newLeft = LeftCol(), newTop = TopRow();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + VisibleColCount()) {
        SetCol(ColIndex);
        newLeft = std::max(ColIndex - VisibleColCount() / 2, FixedCols());
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + VisibleRowCount()) {
        SetRowEx(RowIndex);
        newTop = std::max(RowIndex - VisibleRowCount() / 2, FixedRows());
    }
    newLeft = std::min(newLeft, ColCount() - VisibleColCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount()) SetLeftCol(newLeft);
    newTop = std::min(newTop, RowCount() - VisibleRowCount() + 1);
    if (FixedRows() + VisibleRowCount() >= RowCount()) return;
    SetTopRow(newTop);
}

plat::TRect TExtStringGrid::UsedCells() {
    int left = ColCount(), top = RowCount(), right = -1, bottom = -1;
    for (int r = 0; r < RowCount() && r < Store().RowExtent(); ++r)
        Store().ForEachInRow(r, [&](int c, StringView text, plat::TObject*) {
            if (c >= ColCount() || text.empty()) return;
            left = std::min(left, c);
            right = std::max(right, c);
            top = std::min(top, r);
            bottom = std::max(bottom, r);
        });
    if (right < 0) return plat::TRect{0, 0, 0, 0};
    return plat::TRect{left, top, right, bottom};
}

// ---- save range --------------------------------------------------------------------------------

int TExtStringGrid::SaveStartCol() const { return (SaveFixedCells || SaveFixedCols) ? 0 : FixedCols(); }
int TExtStringGrid::SaveStartRow() const { return (SaveFixedCells || SaveFixedRows) ? 0 : FixedRows(); }
int TExtStringGrid::SaveEndCol() const {
    return (SaveFixedCells || SaveFixedCols) ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
}
int TExtStringGrid::SaveEndRow() const {
    return (SaveFixedCells || SaveFixedRows) ? RowCount() - 1 : RowCount() - FixedFooters - 1;
}
int TExtStringGrid::SaveColCount() const {
    return (SaveFixedCells || SaveFixedCols) ? ColCount() : ColCount() - FixedCols() - FixedRightCols;
}
int TExtStringGrid::SaveRowCount() const {
    return (SaveFixedCells || SaveFixedRows) ? RowCount() : RowCount() - FixedRows() - FixedFooters;
}

} // namespace grid
