// Sub-groups of TExtStringGrid: node rows for the runs of equal values of a further column
// inside the groups, and taking them back.
#include <algorithm>
#include <variant>
#include <vector>

#include "ExtGrid.h"

namespace grid {

namespace {

// The column a sub-group node row was made for, -1 for any other row.
int SubGroupColumnOf(const TCellGraphic* g) {
    if (!g) return -1;
    const int* c = std::get_if<int>(&g->CellVar);
    return c ? *c : -1;
}

} // namespace

void TExtStringGrid::SubGroup(int ColIndex) {
    // The value goes into the column after ColIndex, so that column must exist.
    if (ColIndex < FixedCols() || ColIndex + 1 >= ColCount()) return;
    const int first = FixedRows();
    if (RowCount() - FixedFooters <= first) return;
    BeginUpdate();
    ExpandAll();
    // Runs of equal values among the normal rows; node and summary rows end a run.
    struct TRun {
        int From, To;
    };
    std::vector<TRun> runs;
    bool open = false;
    const int last = RowCount() - FixedFooters - 1;
    for (int r = first; r <= last; ++r) {
        if (IsNode(r) || IsSummary(r)) {
            open = false;
            continue;
        }
        if (open && Cells(ColIndex, r) == Cells(ColIndex, runs.back().From))
            runs.back().To = r;
        else
            runs.push_back({r, r});
        open = true;
    }
    // Built from the last run up, so the runs above keep their display rows.
    const int span = ColCount() - 1 - ColIndex;
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        const String value = Cells(ColIndex, it->From);
        InsertChildRow(RealRowIndex(it->From), 0);
        const int header = it->From;
        const int to = it->To + 1;
        AddNode(RealRowIndex(header), RealRowIndex(to) - RealRowIndex(header) + 1);
        NodeRecordReal(RealRowIndex(header))->CellVar = ColIndex;
        SetCells(ColIndex + 1, header, value);
        for (int r = header + 1; r <= to; ++r) SetCells(ColIndex, r, String());
        if (FGrouping->MergeHeader && span > 1) MergeCells(ColIndex + 1, header, span, 1);
        ApplyGroupLook(header, true);
    }
    if (FixedRows() < RowCount()) SetRowEx(FixedRows());
    EndUpdate();
    Invalidate();
}

void TExtStringGrid::SubUnGroup(int ColIndex) {
    if (ColIndex < 0 || ColIndex + 1 >= ColCount()) return;
    BeginUpdate();
    ExpandAll();
    const int first = FixedRows();
    std::vector<int> headers;  // display rows of this column's sub-group nodes
    for (int r = first; r < RowCount() - FixedFooters; ++r)
        if (SubGroupColumnOf(NodeRecordReal(RealRowIndex(r))) == ColIndex) headers.push_back(r);
    // From the last one up, so the display rows above stay where they are.
    for (auto it = headers.rbegin(); it != headers.rend(); ++it) {
        const int header = *it;
        const int real = RealRowIndex(header);
        const String value = Cells(ColIndex + 1, header);
        const int end = NodeGroupEnd(real);
        for (int rr = real + 1; rr <= end; ++rr)
            if (!IsHiddenRow(rr)) SetCells(ColIndex, DisplRowIndex(rr), value);
        if (FGrouping->MergeHeader) SplitCells(ColIndex + 1, header);
        RemoveNode(real);
        RemoveChildRow(real);
    }
    if (FixedRows() < RowCount()) SetRowEx(FixedRows());
    EndUpdate();
    Invalidate();
}

} // namespace grid
