// Clearing, trimming, colouring, merging runs, joining columns, automatic numbering and the
// cell tests of TExtStringGrid.
#include <algorithm>

#include "ExtGrid.h"
#include "plat/SysUtils.h"

namespace grid {

// ---- clearing ----------------------------------------------------------------------------------

void TExtStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    const bool mapped = SaveHiddenCells;
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r) {
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int cc = mapped ? RealColIndex(c) : c;
            if (!ClearTextOnly && GetGridObject(cc, r)) {
                if (FNilObjects)
                    SetGridObject(cc, r, nullptr);
                else
                    FreeCellObject(cc, r);
            }
            if (!Destroying() && !Store().CellView(cc, r).empty()) {
                SetGridCell(cc, r, String());
                if (mapped) RepaintCell(c, r);
            }
        }
    }
    // Properties freed here may have held node records.
    if (FNumNodes > 0) RecountNodes();
    if (Destroying() || FBlockCellChange) return;
    const int c1 = mapped ? RealColIndex(ACol1) : ACol1;
    const int c2 = mapped ? RealColIndex(ACol2) : ACol2;
    CellsChanged(plat::TRect{c1, ARow1, c2, ARow2});
}

void TExtStringGrid::ClearRows(int RowIndex, int RCount) {
    if (RowCount() > 0 && AllColCount() > 0 && RCount > 0)
        ClearRect(0, RowIndex, AllColCount() - 1, RowIndex + RCount - 1);
}

void TExtStringGrid::ClearCols(int ColIndex, int CCount) {
    if (RowCount() > 0 && AllColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TExtStringGrid::ClearNormalRows(int RowIndex, int RCount) {
    if (RowCount() > 0 && AllColCount() > 0 && RCount > 0)
        ClearRect(FixedCols(), RowIndex, AllColCount() - FixedRightCols - 1, RowIndex + RCount - 1);
}

void TExtStringGrid::ClearNormalCols(int ColIndex, int CCount) {
    if (RowCount() > 0 && AllColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FixedFooters - 1);
}

void TExtStringGrid::ClearNormalCells() {
    if (FixedCols() == 0) RemoveAllNodes();
    if (RowCount() > 0 && AllColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), AllColCount() - FixedRightCols - 1, RowCount() - FixedFooters - 1);
}

void TExtStringGrid::Clear() {
    if (!Destroying()) RemoveAllNodes();
    if (RowCount() > 0 && AllColCount() > 0) ClearRect(0, 0, AllColCount() - 1, RowCount() - 1);
    if (NumHiddenColumns() > 0) Invalidate();
}

void TExtStringGrid::ClearAll() {
    Clear();
    for (TGridItem& item : FGridItems.Items()) item.ClearTexts();
}

void TExtStringGrid::ClearSelection() {
    const plat::TGridRect s = Selection();
    ClearRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
              std::max(s.Top, s.Bottom));
}

// ---- trimming and colouring ----------------------------------------------------------------------

void TExtStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int cc = SaveHiddenCells ? RealColIndex(c) : c;
            const StringView t = Store().CellView(cc, r);
            if (t.empty()) continue;
            const String trimmed = plat::Trim(t);
            if (trimmed.size() != t.size()) SetCellEx(cc, r, trimmed);
        }
}

void TExtStringGrid::TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
void TExtStringGrid::TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
void TExtStringGrid::TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }

void TExtStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor) {
    for (int r = std::max(ARow1, 0); r <= ARow2 && r < RowCount(); ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2 && c < AllColCount(); ++c)
            GetCellProperties(c, r)->SetBrushColor(AColor);
}

// ---- merging runs ------------------------------------------------------------------------------------

void TExtStringGrid::MergeColumnCells(int ColIndex, bool MainMerge) {
    const int last = RowCount() - FixedFooters - 1;
    int start = FixedRows(), len = 1;
    for (int r = FixedRows() + 1; r <= last + 1; ++r) {
        const bool goesOn = r <= last && Store().CellView(ColIndex, r) == Store().CellView(ColIndex, r - 1) &&
                            (MainMerge || RowSpanIdentical(r, r - 1));
        if (goesOn) {
            ++len;
            continue;
        }
        if (len >= 2) MergeCells(ColIndex, start, 1, len);
        start = r;
        len = 1;
    }
}

void TExtStringGrid::MergeRowCells(int RowIndex, bool MainMerge) {
    const int last = ColCount() - FixedRightCols - 1;
    int start = FixedCols(), len = 1;
    for (int c = FixedCols() + 1; c <= last + 1; ++c) {
        bool found = false;
        const bool goesOn = c <= last && Store().CellView(c, RowIndex) == Store().CellView(c - 1, RowIndex) &&
                            (MainMerge || ColSpanIdentical(c, c - 1, found));
        if (goesOn) {
            ++len;
            continue;
        }
        // A run ended by a differing cell is merged even when it holds one cell; the last
        // run only when it holds two or more.
        if (c <= last || len >= 2) MergeCells(start, RowIndex, len, 1);
        start = c;
        len = 1;
    }
}

void TExtStringGrid::SplitColumnCells(int ColIndex) {
    for (int r = 0; r < RowCount() - FixedFooters - 1;) {
        const TPoint span = CellSpan(ColIndex, r);
        if (IsBaseCell(ColIndex, r) && span.Y > 0) {
            SplitCells(ColIndex, r);
            r += span.Y + 1;
        } else {
            ++r;
        }
    }
}

void TExtStringGrid::SplitRowCells(int RowIndex) {
    for (int c = 0; c < ColCount() - FixedRightCols - 1;) {
        const TPoint span = CellSpan(c, RowIndex);
        if (IsBaseCell(c, RowIndex) && IsMergedCell(c, RowIndex) && span.X >= 0) {
            SplitCells(c, RowIndex);
            c += span.X + 1;
        } else {
            ++c;
        }
    }
}

void TExtStringGrid::SplitAllCells() {
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < AllColCount(); ++c)
            if (IsMergedCell(c, r) && IsBaseCell(c, r)) SplitCells(c, r);
}

void TExtStringGrid::MergeCols(int ColIndex1, int ColIndex2, const String& Separator) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellEx(ColIndex1, r, plat::Trim(GetCellEx(ColIndex1, r)) + Separator + GetCellEx(ColIndex2, r));
    RemoveCols(ColIndex2, 1);
}

// ---- automatic numbering -----------------------------------------------------------------------------

void TExtStringGrid::AutoNumberCol(int ACol) {
    const int last = RowCount() - FixedFooters - 1;
    for (int a = FixedRows() + AutoNumberStart; a <= last; ++a) {
        const int row = AutoNumberDirection == sdAscending ? a : FixedRows() + last - a;
        SetCellEx(ACol, row, plat::IntToStr(a - FixedRows() + AutoNumberOffset + 1));
    }
}

void TExtStringGrid::AutoNumberRow(int ARow) {
    const int last = ColCount() - FixedRightCols - 1;
    for (int a = FixedCols() + AutoNumberStart; a <= last; ++a) {
        const int col = AutoNumberDirection == sdAscending ? a : FixedCols() + last - a;
        SetCellEx(col, ARow, plat::IntToStr(a - FixedCols() + AutoNumberOffset + 1));
    }
}

// ---- cell tests ----------------------------------------------------------------------------------------

bool TExtStringGrid::IsCell(const String& SubStr, int& ACol, int& ARow) {
    for (int r = 0; r < RowCount(); ++r)
        for (int d = 0; d < ColCount(); ++d) {
            const int c = RealColIndex(d);
            if (Store().CellView(c, r) == StringView(SubStr)) {
                ACol = c;
                ARow = r;
                return true;
            }
        }
    return false;
}

bool TExtStringGrid::IsWideCell(int ACol, int ARow) {
    const StringView t = Store().CellView(ACol, ARow);
    return t.size() >= 2 && t[0] == u'|' && t[1] == u'\\';
}

} // namespace grid
