// Grouping of TExtStringGrid: group header (node) and summary rows built from the runs of
// equal values of a column, ungrouping, and the group figures.
#include <algorithm>

#include "ExtGrid.h"
#include "plat/SysUtils.h"

namespace grid {

void TExtStringGrid::ApplyGroupLook(int ARow, bool Header) {
    const TGrouping& g = *FGrouping;
    const TColor color = Header ? g.HeaderColor : g.SummaryColor;
    const TColor colorTo = Header ? g.HeaderColorTo : g.SummaryColorTo;
    const TColor text = Header ? g.HeaderTextColor : g.SummaryTextColor;
    if (color != TGrouping::kColorNotSet) SetRowColor(ARow, color);
    if (colorTo != TGrouping::kColorNotSet) SetRowColorTo(ARow, colorTo);
    if (text != TGrouping::kColorNotSet) SetRowFontColor(ARow, text);
}

void TExtStringGrid::Group(int ColIndex) {
    if (ColIndex < FixedCols() || ColIndex >= AllColCount()) return;
    if (FGroupColumn >= 0) UnGroup();
    const int first = FixedRows();
    if (RowCount() - FixedFooters <= first) return;
    BeginUpdate();
    FIsGrouping = true;
    FGroupColumn = ColIndex;
    FGroupWidth = AllColWidths(ColIndex);
    FGroupCaption = FixedRows() > 0 ? Store().Cell(ColIndex, 0) : String();
    FGroupFooter = FixedFooters > 0 ? Store().Cell(ColIndex, RowCount() - 1) : String();
    if (FSortSettings->AutoSortForGrouping) {
        FSortSettings->Column = ColIndex;
        QSort();
    }
    // Runs of equal stored texts, then built from the last one up so earlier rows keep
    // their indexes.
    struct TRun {
        int From, To;
    };
    std::vector<TRun> runs;
    const int last = RowCount() - FixedFooters - 1;
    for (int r = first; r <= last; ++r) {
        if (runs.empty() || Store().CellView(ColIndex, r) != Store().CellView(ColIndex, runs.back().From))
            runs.push_back({r, r});
        else
            runs.back().To = r;
    }
    const int valueCol = ColIndex == 1 ? 2 : 1;
    const bool summary = FGrouping->Summary;
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        const String value = Store().Cell(ColIndex, it->From);
        if (summary) InsertRows(it->To + 1, 1);
        InsertRows(it->From, 1);
        SetCells(valueCol, it->From, value);
    }
    // Final places of the header and summary rows.
    std::vector<TRun> groups;
    std::vector<int> sums;
    int offset = 0;
    for (const TRun& run : runs) {
        const int header = run.From + offset++;
        groups.push_back({header, run.To + offset});
        if (summary) sums.push_back(run.To + offset++ + 1);
    }
    // The node and summary records live in column 0: they are made once the grouped
    // column (column 0 too) is gone.
    RemoveCols(ColIndex, 1);
    for (const TRun& g : groups) {
        AddNode(RealRowIndex(g.From), g.To - g.From + 1);
        if (!FGrouping->MergeHeader) ApplyGroupLook(g.From, true);
    }
    for (int r : sums) {
        AddSummary(RealRowIndex(r));
        if (!FGrouping->MergeSummary) ApplyGroupLook(r, false);
    }
    if (FGrouping->MergeHeader || (FGrouping->MergeSummary && summary)) {
        const int span = AllColCount() - 1;
        for (int r = first; r < RowCount() - FixedFooters && span > 0; ++r) {
            if (FGrouping->MergeHeader && IsNode(r)) {
                MergeCells(1, r, span, 1);
                ApplyGroupLook(r, true);
            } else if (FGrouping->MergeSummary && summary && IsSummary(r)) {
                MergeCells(1, r, span, 1);
                ApplyGroupLook(r, false);
            }
        }
    }
    if (Col() >= ColCount()) SetCol(FixedCols());
    if (FixedRows() < RowCount()) SetRowEx(FixedRows());
    FIsGrouping = false;
    EndUpdate();
    Invalidate();
}

void TExtStringGrid::UnGroup() {
    // Column 0 is a grouped column too (a grid without fixed columns).
    if (FGroupColumn < 0) return;
    const int g = FGroupColumn;
    BeginUpdate();
    FIsGrouping = true;
    ExpandAll();
    // Header and summary rows are read before the column comes back: their records live in
    // column 0, which a grid grouped on column 0 gets back at column 1.
    const int v = g == 1 ? 2 : 1;
    const int valueCol = v > g ? v - 1 : v;
    const int first = FixedRows(), last = RowCount() - FixedFooters - 1;
    std::vector<int> kind(static_cast<std::size_t>(std::max(last - first + 1, 0)), 0);  // 1 header, 2 summary
    std::vector<String> values(kind.size());
    for (int r = first; r <= last; ++r) {
        const auto i = static_cast<std::size_t>(r - first);
        if (IsNode(r)) {
            kind[i] = 1;
            values[i] = Store().Cell(valueCol, r);
        } else if (IsSummary(r)) {
            kind[i] = 2;
        }
    }
    RemoveAllNodes();
    InsertCols(g, 1);
    SetAllColWidths(g, FGroupWidth);
    if (FixedRows() > 0) SetCells(g, 0, FGroupCaption);
    if (FixedFooters > 0) SetCells(g, RowCount() - 1, FGroupFooter);
    String value;
    for (int r = first; r <= last; ++r) {
        const auto i = static_cast<std::size_t>(r - first);
        if (kind[i] == 1) value = values[i];
        else if (kind[i] == 0) SetCells(g, r, value);
    }
    for (int r = last; r >= first; --r) {
        const auto i = static_cast<std::size_t>(r - first);
        if (kind[i] == 0) continue;
        if ((kind[i] == 1 && FGrouping->MergeHeader) || (kind[i] == 2 && FGrouping->MergeSummary)) SplitCells(1, r);
        RemoveRows(r, 1);
    }
    FGroupColumn = -1;
    FIsGrouping = false;
    EndUpdate();
    Invalidate();
}

void TExtStringGrid::SetGroupColumn(int Value) {
    if (Value == -1) UnGroup();
    else if (Value > 0) Group(Value);
}

void TExtStringGrid::GroupCalc(int ACol, int Method) {
    const bool summary = FGrouping->Summary;
    for (int r = FixedRows(); r < RowCount() - FixedFooters;) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const int span = GetNodeSpan(r);
        const int from = r + 1, to = r + span - 1;
        const int target = summary ? r + span : r;
        const int real = RealColIndex(ACol);
        if (span >= 2 && target < RowCount()) {
            double v = 0;
            switch (Method) {
            case 1: v = ColumnSum(ACol, from, to); break;
            case 2: v = ColumnAvg(ACol, from, to); break;
            case 3: v = ColumnMin(ACol, from, to); break;
            case 4: v = ColumnMax(ACol, from, to); break;
            case 5: break;
            case 6:
                if (OnGroupCalc) OnGroupCalc(this, ACol, from, to, v);
                break;
            case 7: v = ColumnDistinct(ACol, from, to); break;
            case 8: v = ColumnStdDev(ACol, from, to); break;
            default: return;
            }
            if (Method == 5)
                SetInts(real, target, span - 1);
            else
                SetFloats(real, target, v);
        }
        r = std::max(r + 1, summary ? r + span + 1 : r + span);
    }
    CellsChanged(plat::TRect{ACol, FixedRows(), ACol, RowCount() - 1});
}

} // namespace grid
