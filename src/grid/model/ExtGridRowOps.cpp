// Structural row and column operations of TExtStringGrid.
#include <algorithm>

#include "ExtGrid.h"

namespace grid {

namespace {

// Keeps a per-display-row flag list in step: N False flags at At while At lies inside it.
void InsertFlags(TIntList& L, int At, int N) {
    if (At < 0 || At >= L.Count()) return;
    for (int i = 0; i < N; ++i) L.Insert(At, 0);
}

void DeleteFlags(TIntList& L, int At, int N) {
    for (int i = 0; i < N && At >= 0 && At < L.Count(); ++i) L.Delete(At);
}

} // namespace

// ---- display-row primitives ------------------------------------------------------------------------

void TExtStringGrid::InsertDisplayRows(int At, int N) {
    if (N <= 0) return;
    At = std::clamp(At, 0, RowCount());
    const int oldCount = RowCount();
    TCustomGrid::SetRowCount(oldCount + N);
    Store().InsertRows(At, N);
    for (int r = oldCount + N - 1; r >= At + N; --r) {
        const int h = RowHeights(r - N);
        if (RowHeights(r) != h) SetRowHeights(r, h);
    }
    for (int r = At; r < At + N; ++r) SetRowHeights(r, DefaultRowHeight());
    InsertFlags(*ModifiedRows(), At, N);
    InsertFlags(*FEnabledRows, At, N);
}

void TExtStringGrid::RemoveDisplayRows(int At, int N) {
    if (At < 0 || At >= RowCount()) return;
    N = std::min(N, RowCount() - At);
    if (N <= 0) return;
    const int oldCount = RowCount();
    for (int r = At; r < oldCount - N; ++r) {
        const int h = RowHeights(r + N);
        if (RowHeights(r) != h) SetRowHeights(r, h);
    }
    Store().RemoveRows(At, N);
    DeleteFlags(*ModifiedRows(), At, N);
    DeleteFlags(*FEnabledRows, At, N);
    TCustomGrid::SetRowCount(oldCount - N);
}

void TExtStringGrid::RestoreHiddenRows(std::vector<TGridItem>& Items) {
    if (Items.empty()) return;
    const int oldCount = RowCount();
    const int newCount = oldCount + static_cast<int>(Items.size());
    TCustomGrid::SetRowCount(newCount);
    // Bottom up: every final position above the rows handled so far is empty when it is
    // filled, so each shown row moves once and each item is written once.
    int k = static_cast<int>(Items.size());  // items still to place: Items[0 .. k-1]
    for (int j = newCount - 1; j >= 0 && k > 0; --j) {
        const TGridItem& item = Items[static_cast<std::size_t>(k - 1)];
        if (item.Idx == j) {
            PutRowCells(item, j);
            SetRowHeights(j, item.Height);
            --k;
            continue;
        }
        const int from = j - k;
        Store().SwapRows(from, j);
        const int h = RowHeights(from);
        if (RowHeights(j) != h) SetRowHeights(j, h);
    }
    for (const TGridItem& item : Items) {
        InsertFlags(*ModifiedRows(), item.Idx, 1);
        InsertFlags(*FEnabledRows, item.Idx, 1);
    }
}

} // namespace grid
