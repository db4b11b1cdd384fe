// Selected cells of TExtStringGrid: the selected text, the selection queries and the
// disjunct cell list.
#include <algorithm>

#include "ExtGrid.h"
#include "ExtUtil.h"

namespace grid {

namespace {

int Pack(int ACol, int ARow) { return ARow * 65536 + (ACol & 65535); }

plat::TGridRect Normal(const plat::TGridRect& s) {
    return {std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
            std::max(s.Top, s.Bottom)};
}

} // namespace

void TExtStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    SetSelection(plat::TGridRect{FromCol, FromRow, ToCol, ToRow});
}

String TExtStringGrid::SelectedText() {
    const plat::TGridRect s = Normal(Selection());
    const bool disjunctRows = FMouseActions->DisjunctRowSelect();
    String out;
    bool firstRow = true;
    for (int r = s.Top; r <= s.Bottom && r < RowCount(); ++r) {
        if (disjunctRows && !GetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r)) continue;
        if (!firstRow) out += u"\r\n";
        firstRow = false;
        for (int c = s.Left; c <= s.Right && c < ColCount(); ++c) {
            if (c > s.Left) out += u'\t';
            String t = GetCellEx(RealColIndex(c), r);
            if (ExcelClipboardFormat && t.find_first_of(u"\r\n") != String::npos) QuoteMultilineField(t);
            out += t;
        }
    }
    return out;
}

bool TExtStringGrid::IsSelected(int ACol, int ARow) {
    const bool cells = FMouseActions->DisjunctCellSelect();
    const bool rows = FMouseActions->DisjunctRowSelect();
    const bool cols = FMouseActions->DisjunctColSelect();
    if (cells || rows || cols) {
        if (ACol < FixedCols() || ARow < FixedRows()) return false;
        if (cells) return FSelectedCells->HasValue(Pack(ACol, ARow));
        if (rows) return GetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow);
        return ACol < ColCount() && GetColSelect(ACol);
    }
    return CellInGridRect(Normal(Selection()), ACol, ARow);
}

bool TExtStringGrid::SelectedCells(int ACol, int ARow) {
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->HasValue(Pack(ACol, ARow));
    return CellInGridRect(Normal(Selection()), ACol, ARow);
}

void TExtStringGrid::SetSelectedCells(int ACol, int ARow, bool Value) {
    const int v = Pack(ACol, ARow);
    const bool has = FSelectedCells->HasValue(v);
    if (Value && !has)
        FSelectedCells->Add(v);
    else if (!Value && has)
        FSelectedCells->DeleteValue(v);
    else
        return;
    RepaintCell(ACol, ARow);
}

TPoint TExtStringGrid::SelectedCell(int Index) {
    if (Index < 0 || Index >= FSelectedCells->Count()) return TPoint{-1, -1};
    const int v = FSelectedCells->GetInteger(Index);
    return TPoint{v & 65535, v >> 16};
}

int TExtStringGrid::SelectedCellsCount() {
    if (FMouseActions->DisjunctCellSelect()) return FSelectedCells->Count();
    FSelectedCells->Clear();
    const plat::TGridRect s = Normal(Selection());
    for (int r = s.Top; r <= s.Bottom; ++r)
        for (int c = s.Left; c <= s.Right; ++c) FSelectedCells->Add(Pack(c, r));
    return FSelectedCells->Count();
}

int TExtStringGrid::SelectedColCount() {
    if (FMouseActions->DisjunctColSelect()) return ColSelectCount();
    const plat::TGridRect s = Normal(Selection());
    int n = s.Right - s.Left + 1;
    // A merged cell at the top-left corner that reaches past the selection counts whole.
    const int c = RealColIndex(s.Left);
    if (s.Top >= 0 && s.Top < RowCount() && IsBaseCell(c, s.Top)) {
        const int spanX = CellSpan(c, s.Top).X;
        if (spanX + 1 > n) n = spanX + 1;
    }
    return n;
}

int TExtStringGrid::SelectedRowCount() {
    if (FMouseActions->DisjunctRowSelect()) return FSelectedRows->Count();
    const plat::TGridRect s = Normal(Selection());
    int top = s.Top;
    int bottom = std::min(s.Bottom, RowCount() - FixedFooters - 1);
    const int c = RealColIndex(s.Left);
    // Merged cells at the top-left or bottom-left corner widen the count to their rows.
    if (top >= 0 && top < RowCount()) {
        const plat::TRect f = FullCell(c, top);
        top = std::min(top, f.Top);
        bottom = std::max(bottom, f.Bottom);
    }
    if (bottom >= 0 && bottom < RowCount()) {
        const plat::TRect f = FullCell(c, bottom);
        top = std::min(top, f.Top);
        bottom = std::max(bottom, f.Bottom);
    }
    return std::max(bottom - top + 1, 0);
}

int TExtStringGrid::SelectedRow(int Index) {
    if (FMouseActions->DisjunctRowSelect())
        return Index >= 0 && Index < FSelectedRows->Count() ? FSelectedRows->GetInteger(Index) : -1;
    const plat::TGridRect s = Normal(Selection());
    return Index >= 0 && s.Top + Index <= s.Bottom ? s.Top + Index : -1;
}

void TExtStringGrid::ClearSelectedCells() {
    SetSelection(plat::TGridRect{FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    FSelectedCells->Clear();
    Invalidate();
}

void TExtStringGrid::ClearModifiedRows() {
    FModifiedRows->Clear();
    Invalidate();
}

} // namespace grid
