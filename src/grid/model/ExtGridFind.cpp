// Search and replace of TExtStringGrid, the sorted-column lookup, the search footer's find
// flags and the click and old-cell hooks of editing.
#include <algorithm>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {
constexpr TPoint kNone{-1, -1};
} // namespace

bool TExtStringGrid::FindCellMatches(int c, int r, TFindParameters P, bool Wide) {
    const int realCol = P.Contains(fnIncludeHiddenColumns) ? c : RealColIndex(c);
    String text = P.Contains(fnIncludeHiddenRows) ? GetCellsEx(realCol, r) : GetCellEx(realCol, r);
    if (Wide) text = DecodeEscapedUnicode(text);
    const bool matchCase = P.Contains(fnMatchCase);
    if (!matchCase) text = plat::AnsiUpperCase(text);
    if (P.Contains(fnIgnoreHTMLTags)) text = MarkupToPlainText(text);
    if (SearchCache == u"\"\"") return text.empty();
    if (P.Contains(fnMatchRegular)) {
        try {
            return MatchFilterExpression(SearchCache, text, matchCase);
        } catch (const std::exception&) {
            return false;
        }
    }
    const auto pos = text.find(SearchCache);
    if (pos == String::npos) return false;
    if (P.Contains(fnMatchStart) && pos != 0) return false;
    if (P.Contains(fnMatchFull) && text != SearchCache) return false;
    return true;
}

TPoint TExtStringGrid::FindCore(TPoint StartCell, const String& s, TFindParameters P, bool Wide) {
    FFindParams = P;
    FLastFindText = s;
    FLastFindWide = Wide;
    SearchCache = P.Contains(fnMatchCase) ? s : plat::AnsiUpperCase(s);
    FFindBusy = true;
    const auto fail = [this] {
        FFindBusy = false;
        return kNone;
    };
    if (ColCount() <= FixedCols() || RowCount() <= FixedRows()) return fail();
    int c0, c1, r0, r1;
    if (P.Contains(fnIncludeFixed)) {
        c0 = 0, c1 = ColCount() - 1, r0 = 0, r1 = RowCount() - 1;
    } else {
        c0 = FixedCols(), c1 = ColCount() - FixedRightCols - 1, r0 = FixedRows(), r1 = RowCount() - FixedFooters - 1;
    }
    if (P.Contains(fnSelectedCells)) {
        const plat::TGridRect sel = Selection();
        c0 = std::min(sel.Left, sel.Right), c1 = std::max(sel.Left, sel.Right);
        r0 = std::min(sel.Top, sel.Bottom), r1 = std::max(sel.Top, sel.Bottom);
    }
    if (P.Contains(fnIncludeHiddenColumns)) c1 += NumHiddenColumns();
    if (P.Contains(fnIncludeHiddenRows)) r1 += NumHiddenRows();
    // A current or preset row or column narrows the range to itself.
    if (P.Contains(fnFindInCurrentRow)) r0 = r1 = Row();
    else if (P.Contains(fnFindInPresetRow)) r0 = r1 = FindRow;
    if (P.Contains(fnFindInCurrentCol)) c0 = c1 = Col();
    else if (P.Contains(fnFindInPresetCol)) c0 = c1 = FindCol;
    if (c0 > c1 || r0 > r1) return fail();

    const bool back = P.Contains(fnBackward), byRow = P.Contains(fnDirectionLeftRight);
    const int step = back ? -1 : 1;
    const int firstC = back ? c1 : c0, firstR = back ? r1 : r0;
    const auto inC = [&](int c) { return c >= c0 && c <= c1; };
    const auto inR = [&](int r) { return r >= r0 && r <= r1; };
    int c = firstC, r = firstR;
    if (!(StartCell == kNone) && (inC(StartCell.X) || inR(StartCell.Y))) {
        c = std::clamp(StartCell.X, c0, c1);
        r = std::clamp(StartCell.Y, r0, r1);
        if (byRow) {
            if (inC(StartCell.X)) c += step;
            if (!inC(c)) {
                c = firstC;
                r += step;
            }
        } else {
            if (inR(StartCell.Y)) r += step;
            if (!inR(r)) {
                r = firstR;
                c += step;
            }
        }
    }
    TPoint found = kNone;
    if (byRow) {
        for (; inR(r) && found == kNone; r += step, c = firstC)
            for (; inC(c); c += step) {
                const int realCol = P.Contains(fnIncludeHiddenColumns) ? c : RealColIndex(c);
                if (IsIgnoredColumn(realCol)) continue;
                ExportNotification(esExportNewRow, r);
                if (FindCellMatches(c, r, P, Wide)) {
                    found = {c, r};
                    break;
                }
            }
    } else {
        for (; inC(c) && found == kNone; c += step, r = firstR)
            for (; inR(r); r += step) {
                ExportNotification(esExportNewRow, r);
                if (FindCellMatches(c, r, P, Wide)) {
                    found = {c, r};
                    break;
                }
            }
    }
    if (found == kNone) return fail();
    FSearchCell = found;
    if (P.Contains(fnAutoGoto)) GotoFound(found, P);
    return found;
}

void TExtStringGrid::GotoFound(TPoint Cell, TFindParameters P) {
    int row = Cell.Y;
    if (P.Contains(fnIncludeHiddenRows)) {
        if (IsHiddenRow(row) && HasNodes()) {
            // Open every contracted node whose span holds the row, outermost first.
            for (int n : NodeRealRows())
                if (n < row && row <= NodeGroupEnd(n) && !IsHiddenRow(n) && GetNodeState(DisplRowIndex(n)))
                    ExpandNode(n);
        }
        if (IsHiddenRow(row)) return;
        row = DisplRowIndex(row);
    }
    const int col = P.Contains(fnIncludeHiddenColumns) ? DisplColIndex(Cell.X) : Cell.X;
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount()) return;
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(row, true);
        SetRowEx(row);
    } else {
        SetRowEx(row);
        SetCol(col);
    }
}

TPoint TExtStringGrid::Find(TPoint StartCell, const String& s, TFindParameters FindParams) {
    ExportNotification(esExportStart, -1);
    const TPoint found = FindCore(StartCell, s, FindParams, false);
    ExportNotification(found == kNone ? esExportDone : esExportFail, found.Y);
    if (found == kNone || !FindParams.Contains(fnAutoGoto)) return found;
    if (Row() >= TopRow() + VisibleRowCount() - 1 && RowCount() > VisibleRowCount() + FixedRows() &&
        TopRow() + 1 < RowCount())
        SetTopRow(TopRow() + 1);
    return found;
}

TPoint TExtStringGrid::FindWide(TPoint StartCell, const String& s, TFindParameters FindParams) {
    ExportNotification(esExportStart, -1);
    const TPoint found = FindCore(StartCell, s, FindParams, true);
    ExportNotification(found == kNone ? esExportDone : esExportFail, found.Y);
    return found;
}

TPoint TExtStringGrid::FindFirst(const String& s, TFindParameters FindParams) {
    FSearchCell = Find(kNone, s, FindParams);
    return FSearchCell;
}

TPoint TExtStringGrid::FindNext() {
    const String s = FLastFindText;
    FSearchCell = FLastFindWide ? FindWide(FSearchCell, s, FFindParams) : Find(FSearchCell, s, FFindParams);
    return FSearchCell;
}

int TExtStringGrid::Replace(const String& OrigStr, const String& NewStr, TFindParameters FindParams) {
    if (OrigStr.empty()) return 0;
    const plat::TReplaceFlags flags = plat::rfReplaceAll | (FindParams.Contains(fnMatchCase) ? 0u : plat::rfIgnoreCase);
    int count = 0;
    TPoint at = kNone;
    for (;;) {
        at = Find(at, OrigStr, FindParams);
        if (at == kNone) break;
        const int realCol = FindParams.Contains(fnIncludeHiddenColumns) ? at.X : RealColIndex(at.X);
        const int realRow = FindParams.Contains(fnIncludeHiddenRows) ? at.Y : RealRowIndex(at.Y);
        const String old = GetGridCellsEx(realCol, realRow);
        const String now = plat::StringReplace(old, OrigStr, NewStr, flags);
        if (now == old) continue;
        if (IsHiddenRow(realRow)) {
            FGridItems.Item(FGridItems.Find(realRow)).SetText(realCol, now);
        } else {
            SetCellsEx(realCol, realRow, now);
            CellsChanged(plat::TRect{realCol, DisplRowIndex(realRow), realCol, DisplRowIndex(realRow)});
        }
        ++count;
    }
    return count;
}

int TExtStringGrid::Search(const String& s) {
    if (RowCount() < 2) return -1;
    int col = FixedCols();
    if (FSortSettings->Show()) {
        col = FSortSettings->Column;
        if (FSortSettings->IndexShow)
            col = FSortIndexes->Count() > 0 ? (FSortIndexes->GetInteger(0) & 0x7FFFFFFF) : FixedCols();
    }
    if (col < 0) return -1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const String t = MarkupToPlainText(GetCellEx(col, r));
        if (plat::AnsiUpperCase(StringView(t).substr(0, std::min(t.size(), s.size()))) == s) return r;
    }
    return -1;
}

TFindParameters TExtStringGrid::SearchFooterFindParams(TSearchFooterFind Action, bool HighlightDown,
                                                       bool MatchCaseChecked) {
    const TSearchFooter& f = *FSearchFooter;
    TFindParameters p{fnAutoGoto};
    if (HighlightDown) p.Include(fnIgnoreHTMLTags);
    if (MatchCaseChecked) p.Include(fnMatchCase);
    if (f.SearchActiveColumnOnly) p.Include(fnFindInCurrentCol);
    if (f.SearchMatchStart) p.Include(fnMatchStart);
    if (f.SearchColumn >= 0 && f.SearchColumn < ColCount()) {
        p.Include(fnFindInPresetCol);
        FindCol = f.SearchColumn;
    }
    if (Action == sfFindPrevious) {
        p.Include(fnBackward);
        return p;
    }
    if (f.SearchDirection == sdLeftRight) p.Include(fnDirectionLeftRight);
    if (Action == sfEditChange) {
        if (f.SearchFixedCells) p.Include(fnIncludeFixed);
        if (f.SearchHiddenRows) p.Include(fnIncludeHiddenRows);
    }
    return p;
}

void TExtStringGrid::Click() {
    TBaseGrid::Click();
    StoreOldCell(Col(), Row());
}

void TExtStringGrid::StoreOldCell(int ACol, int ARow) {
    FOldCol = ACol;
    FOldRow = ARow;
    const int realCol = RealColIndex(ACol);
    FOldCellText = GetGridCell(realCol, ARow);
    FOldWideCellText = DecodeEscapedUnicode(FOldCellText);
}

} // namespace grid
