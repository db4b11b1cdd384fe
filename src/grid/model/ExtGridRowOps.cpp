// Structural row and column operations of TExtStringGrid.
#include <algorithm>

#include "ExtGrid.h"
#include "plat/SysUtils.h"

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
    if (N <= kLineMoves) {
        // A few lines: the framework moves each height as one block move.
        FLayoutOnlyMove = true;
        for (int i = 0; i < N; ++i) TCustomGrid::MoveRow(oldCount + N - 1, At);
        FLayoutOnlyMove = false;
    } else {
        for (int r = oldCount + N - 1; r >= At + N; --r) {
            const int h = RowHeights(r - N);
            if (RowHeights(r) != h) SetRowHeights(r, h);
        }
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
    if (N <= kLineMoves) {
        FLayoutOnlyMove = true;
        for (int i = 0; i < N; ++i) TCustomGrid::MoveRow(At, oldCount - 1);
        FLayoutOnlyMove = false;
    } else {
        for (int r = At; r < oldCount - N; ++r) {
            const int h = RowHeights(r + N);
            if (RowHeights(r) != h) SetRowHeights(r, h);
        }
    }
    Store().RemoveRows(At, N);
    DeleteFlags(*ModifiedRows(), At, N);
    DeleteFlags(*FEnabledRows, At, N);
    TCustomGrid::SetRowCount(oldCount - N);
}

void TExtStringGrid::RestoreHiddenRows(std::vector<TGridItem>& Items) {
    if (Items.empty()) return;
    const int k0 = static_cast<int>(Items.size());
    // Final display row of each item: its real row less the rows still hidden before it.
    std::vector<int> target(static_cast<std::size_t>(k0));
    const std::vector<TGridItem>& store = FGridItems.Items();
    if (static_cast<std::size_t>(k0) * 16 >= store.size()) {
        // Many rows against the store: one walk along both (the items ascend).
        std::size_t j = 0;
        for (int i = 0; i < k0; ++i) {
            const int idx = Items[static_cast<std::size_t>(i)].Idx;
            while (j < store.size() && store[j].Idx < idx) ++j;
            target[static_cast<std::size_t>(i)] = idx - static_cast<int>(j);
        }
    } else {
        for (int i = 0; i < k0; ++i)
            target[static_cast<std::size_t>(i)] = DisplRowIndex(Items[static_cast<std::size_t>(i)].Idx);
    }
    if (k0 <= kLineMoves) {
        // A few rows: one block insertion each, in ascending order of their final rows.
        for (int i = 0; i < k0; ++i) {
            const int t = target[static_cast<std::size_t>(i)];
            InsertDisplayRows(t, 1);
            PutRowCells(Items[static_cast<std::size_t>(i)], t);
            SetRowHeights(t, Items[static_cast<std::size_t>(i)].Height);
        }
        RestoreRowFlags(Items, target);
        return;
    }
    const int newCount = RowCount() + k0;
    TCustomGrid::SetRowCount(newCount);
    // Bottom up: every final position below the rows handled so far is empty when it is
    // filled, so each shown row moves once and each item is written once.
    int k = k0;  // items still to place: Items[0 .. k-1]
    for (int j = newCount - 1; j >= 0 && k > 0; --j) {
        TGridItem& item = Items[static_cast<std::size_t>(k - 1)];
        if (target[static_cast<std::size_t>(k - 1)] == j) {
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
    // The targets ascend: one pass per list inserts all the rows' flags.
    ModifiedRows()->InsertEach(target, 0);
    FEnabledRows->InsertEach(target, 0);
    RestoreRowFlags(Items, target);
}

void TExtStringGrid::RestoreRowFlags(const std::vector<TGridItem>& Items, const std::vector<int>& Rows) {
    // The lists hold a row's flag only up to the last row ever set: a set flag beyond them
    // extends the list as setting it did.
    const auto put = [](TIntList& l, int row, int value) {
        while (l.Count() <= row) l.Add(0);
        l.SetInteger(row, value);
    };
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (Items[i].Modified) put(*ModifiedRows(), Rows[i], 1);
        if (Items[i].Disabled) {
            FEnabledRowsUsed = true;
            put(*FEnabledRows, Rows[i], 1);
        }
    }
}

// ---- hidden rows around structural changes ------------------------------------------------------

void TExtStringGrid::FreeItemObject(plat::TObject* Obj) { delete static_cast<TCellProperties*>(Obj); }

template <class F>
void TExtStringGrid::RemapHiddenRowColumns(F&& Map) {
    for (TGridItem& item : FGridItems.Items()) item.RemapColumns(Map, [](plat::TObject* o) { FreeItemObject(o); });
}

void TExtStringGrid::HiddenRowsAfterRemoval(int RowIndex, int RCount) {
    if (FGridItems.Empty() || RCount <= 0) return;
    const int first = RealRowIndex(RowIndex);
    const int last = RealRowIndex(RowIndex + RCount - 1);
    // A hidden row between removed rows loses the removed rows before it; one after the
    // block loses them all.
    for (int i = FGridItems.CountBelow(first); i < FGridItems.Count(); ++i) {
        TGridItem& item = FGridItems.Item(i);
        item.Idx -= item.Idx > last ? RCount : DisplRowIndex(item.Idx) - RowIndex;
    }
}

// ---- rows --------------------------------------------------------------------------------------------

void TExtStringGrid::CellsChanged(const plat::TRect& R) {
    if (OnCellsChanged) OnCellsChanged(this, R);
    // A notifier may unregister itself: walk a copy.
    const std::vector<TGridChangeNotifier*> notifiers = FNotifierList;
    for (TGridChangeNotifier* n : notifiers) n->CellsChanged(this, R);
    CalcFooter(-1);
}

void TExtStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
    if (RCount <= 0 || RowIndex < 0 || RowIndex > RowCount()) return;
    const int real = RealRowIndex(RowIndex);
    BeginUpdate();
    NodesRowsInserting(RowIndex, RCount);
    FGridItems.Shift(real, RCount);
    InsertDisplayRows(RowIndex, RCount);
    SortXRefRowsInserted(RowIndex, RCount);
    NodesRowsInserted(RowIndex, RCount);
    EndUpdate();
    if (UpdateCellControls && FNumCellControls > 0) {
        // The controls of the rows that moved down go with them.
        for (int i = 0; i < FControlList->Count(); ++i)
            if (TControlItem* item = FControlList->GetControl(i); item->Y >= real) item->Y += RCount;
        CellControlsUpdate(false);
    }
    if (!Destroying()) CellsChanged(plat::TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TExtStringGrid::RemoveRows(int RowIndex, int RCount) {
    if (RCount <= 0 || RowIndex < 0 || RowIndex >= RowCount()) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    // Node books first: the node records go with the properties freed here.
    NodesRowsRemoving(RowIndex, RCount);
    FNodesRemovingDone = true;
    ClearCellPropertiesRange(0, RowIndex, AllColCount() - 1, RowIndex + RCount - 1);
    RemoveRowsEx(RowIndex, RCount);
    if (FMaxRowCount > RowCount()) FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
}

void TExtStringGrid::RemoveRowsEx(int RowIndex, int RCount) {
    if (RCount <= 0 || RowIndex < 0 || RowIndex >= RowCount()) return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const int top = TopRow();
    BeginUpdate();
    if (!FNodesRemovingDone) NodesRowsRemoving(RowIndex, RCount);
    FNodesRemovingDone = false;
    HiddenRowsAfterRemoval(RowIndex, RCount);
    SortXRefRowsRemoved(RowIndex, RCount);
    if (RCount >= RowCount()) {
        // The framework keeps one row: the last one stays as an empty row.
        Store().RemoveRows(RowIndex, RCount);
        RemoveDisplayRows(RowIndex + 1, RCount - 1);
        SetRowHeights(0, DefaultRowHeight());
    } else {
        RemoveDisplayRows(RowIndex, RCount);
    }
    if (top < RowCount()) SetTopRow(top);
    NodesRowsRemoved();
    EndUpdate();
    CellsChanged(plat::TRect{0, RowIndex, ColCount() - 1, RowIndex + RCount});
}

void TExtStringGrid::RemoveDuplicates(int ACol, bool DoCase) {
    const int col = RealColIndex(ACol);
    std::vector<String> seen;
    BeginUpdate();
    for (int r = FixedRows(); r < RowCount() - FixedFooters;) {
        String v = GetCellEx(col, r);
        if (!DoCase) v = plat::AnsiUpperCase(v);
        if (std::find(seen.begin(), seen.end(), v) != seen.end()) {
            RemoveRowRange(r, 1);
            continue;
        }
        seen.push_back(std::move(v));
        ++r;
    }
    EndUpdate();
}

void TExtStringGrid::MoveRow(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
        return;
    const auto opened = NodesRowsMoving(std::min(FromIndex, ToIndex), std::max(FromIndex, ToIndex));
    TCustomGrid::MoveRow(FromIndex, ToIndex);
    NodesRowsMoved(opened);
}

void TExtStringGrid::RowMoved(int FromIndex, int ToIndex) {
    if (FLayoutOnlyMove) return;
    TBaseGrid::RowMoved(FromIndex, ToIndex);
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) {
        if (FromIndex >= l->Count() || ToIndex >= l->Count()) continue;
        const int v = l->GetInteger(FromIndex);
        l->Delete(FromIndex);
        l->Insert(ToIndex, v);
    }
    NodesRowsMoved();
}

void TExtStringGrid::MoveRows(int FromIndex, int ToIndex, int Count) {
    if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || ToIndex < 0) return;
    if (FromIndex + Count < ToIndex) ToIndex -= Count;
    Count = std::min(Count, RowCount() - FromIndex);
    ToIndex = std::min(ToIndex, RowCount() - Count);
    if (Count <= 0 || ToIndex == FromIndex) return;
    BeginUpdate();
    const int lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex) + Count;
    const auto opened = NodesRowsMoving(lo, hi - 1);
    Store().MoveRows(FromIndex, ToIndex, Count);
    // Heights and flags follow the same permutation.
    std::vector<int> heights;
    for (int r = lo; r < hi; ++r) heights.push_back(RowHeights(r));
    auto rotated = [&](std::vector<int> v) {
        if (FromIndex < ToIndex)
            std::rotate(v.begin(), v.begin() + Count, v.end());
        else
            std::rotate(v.begin(), v.end() - Count, v.end());
        return v;
    };
    heights = rotated(heights);
    for (int r = lo; r < hi; ++r) SetRowHeights(r, heights[static_cast<std::size_t>(r - lo)]);
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) {
        if (hi > l->Count()) continue;
        std::vector<int> v;
        for (int r = lo; r < hi; ++r) v.push_back(l->GetInteger(r));
        v = rotated(v);
        for (int r = lo; r < hi; ++r) l->SetInteger(r, v[static_cast<std::size_t>(r - lo)]);
    }
    NodesRowsMoved(opened);
    EndUpdate();
    CellsChanged(plat::TRect{0, lo, ColCount() - 1, hi - 1});
}

void TExtStringGrid::SwapRows(int Index, int Index2) {
    if (Index == Index2 || Index < 0 || Index2 < 0 || Index >= RowCount() || Index2 >= RowCount()) return;
    auto opened = NodesRowsMoving(Index, Index);
    for (const auto& range : NodesRowsMoving(Index2, Index2)) opened.push_back(range);
    Store().SwapRows(Index, Index2);
    const int h = RowHeights(Index);
    SetRowHeights(Index, RowHeights(Index2));
    SetRowHeights(Index2, h);
    for (TIntList* l : {ModifiedRows(), FEnabledRows.get()}) {
        if (std::max(Index, Index2) >= l->Count()) continue;
        const int v = l->GetInteger(Index);
        l->SetInteger(Index, l->GetInteger(Index2));
        l->SetInteger(Index2, v);
    }
    NodesRowsMoved(opened);
    InvalidateRow(Index);
    InvalidateRow(Index2);
}

// ---- columns ------------------------------------------------------------------------------------------

std::vector<TExtStringGrid::TColSlot> TExtStringGrid::ColumnLayout() const {
    std::vector<TColSlot> cols(static_cast<std::size_t>(AllColCount()));
    for (int c = 0; c < AllColCount(); ++c) cols[static_cast<std::size_t>(c)] = {IsHiddenColumn(c), AllColWidths(c)};
    return cols;
}

void TExtStringGrid::ApplyColumnLayout(const std::vector<TColSlot>& Cols) {
    // Columns from kMaxHideCol on cannot be hidden: one pushed there is shown.
    int hidden = 0;
    for (int c = 0; c <= kMaxHideCol; ++c) {
        const bool h = c < kMaxHideCol && c < static_cast<int>(Cols.size()) && Cols[static_cast<std::size_t>(c)].Hidden;
        FHiddenCol[c] = h;
        if (h) {
            FAllColWidths[c] = static_cast<std::int16_t>(std::clamp(Cols[static_cast<std::size_t>(c)].Width, -32768, 32767));
            ++hidden;
        }
    }
    FNumHidden = hidden;
    RebuildColMaps();
    TCustomGrid::SetColCount(std::max(static_cast<int>(Cols.size()) - hidden, 1));
    int d = 0;
    for (int c = 0; c < static_cast<int>(Cols.size()); ++c)
        if (!IsHiddenColumn(c)) SetColWidths(d++, Cols[static_cast<std::size_t>(c)].Width);
}

void TExtStringGrid::InsertCols(int ColIndex, int CCount) {
    if (CCount <= 0 || ColIndex < 0 || ColIndex > AllColCount()) return;
    BeginUpdate();
    ColumnsInserting(ColIndex, CCount);
    std::vector<TColSlot> cols = ColumnLayout();
    cols.insert(cols.begin() + ColIndex, static_cast<std::size_t>(CCount), TColSlot{false, DefaultColWidth()});
    if (ColIndex < AllColCount())
        for (int i = 0; i < CCount; ++i) Store().MoveColumn(AllColCount() + i, ColIndex);
    RemapHiddenRowColumns([&](int c) { return c >= ColIndex ? c + CCount : c; });
    ApplyColumnLayout(cols);
    EndUpdate();
    CellsChanged(plat::TRect{ColIndex, 0, ColIndex + CCount, RowCount() - 1});
}

void TExtStringGrid::RemoveCols(int ColIndex, int CCount) {
    if (ColIndex < 0 || ColIndex >= AllColCount()) return;
    CCount = std::min(CCount, AllColCount() - ColIndex);
    if (CCount <= 0) return;
    // The grid keeps one shown column.
    int shownLeft = 0;
    for (int c = 0; c < AllColCount(); ++c)
        if ((c < ColIndex || c >= ColIndex + CCount) && !IsHiddenColumn(c)) ++shownLeft;
    if (shownLeft == 0) return;
    BeginUpdate();
    ColumnsRemoving(ColIndex, CCount);
    ClearCellPropertiesRange(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
    std::vector<TColSlot> cols = ColumnLayout();
    cols.erase(cols.begin() + ColIndex, cols.begin() + ColIndex + CCount);
    for (int i = 0; i < CCount; ++i) Store().DeleteColumn(ColIndex);
    RemapHiddenRowColumns([&](int c) { return c < ColIndex ? c : c >= ColIndex + CCount ? c - CCount : -1; });
    ApplyColumnLayout(cols);
    EndUpdate();
    CellsChanged(plat::TRect{ColIndex, 0, ColIndex + CCount, RowCount() - 1});
}

void TExtStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    // The framework moved the display widths; the cells live at real indexes.
    const int rf = RealColIndex(FromIndex), rt = RealColIndex(ToIndex);
    const int total = AllColCount();
    Store().MoveColumn(rf, rt);
    auto moved = [rf, rt](int c) {
        if (c == rf) return rt;
        if (rf < rt && c > rf && c <= rt) return c - 1;
        if (rt < rf && c >= rt && c < rf) return c + 1;
        return c;
    };
    if (FNumHidden > 0) {
        bool hidden[kMaxHideCol + 1] = {};
        std::int16_t widths[kMaxHideCol + 1] = {};
        for (int c = 0; c < kMaxHideCol; ++c) {
            if (!FHiddenCol[c]) continue;
            const int to = moved(c);
            if (to >= kMaxHideCol) continue;  // shown from there on
            hidden[to] = true;
            widths[to] = FAllColWidths[c];
        }
        std::copy(std::begin(hidden), std::end(hidden), FHiddenCol);
        std::copy(std::begin(widths), std::end(widths), FAllColWidths);
        FNumHidden = static_cast<int>(std::count(std::begin(hidden), std::end(hidden), true));
        RebuildColMaps();
        if (total - FNumHidden != ColCount()) TCustomGrid::SetColCount(total - FNumHidden);
    }
    RemapHiddenRowColumns(moved);
    // The column order follows: its entry moves with the column.
    if (FromIndex < FColumnOrder->Count() && ToIndex < FColumnOrder->Count()) {
        const int e = FColumnOrder->GetInteger(FromIndex);
        FColumnOrder->Delete(FromIndex);
        FColumnOrder->Insert(ToIndex, e);
    }
    TCustomDrawGrid::ColumnMoved(FromIndex, ToIndex);
    ColumnMovedFollow(rf, rt, FromIndex, ToIndex);
}

void TExtStringGrid::SwapColumns(int Index, int Index2) {
    if (Index == Index2 || Index < 0 || Index2 < 0 || Index >= AllColCount() || Index2 >= AllColCount()) return;
    const int a = std::min(Index, Index2), b = std::max(Index, Index2);
    BeginUpdate();
    std::vector<TColSlot> cols = ColumnLayout();
    std::swap(cols[static_cast<std::size_t>(a)], cols[static_cast<std::size_t>(b)]);
    Store().MoveColumn(a, b);
    Store().MoveColumn(b - 1, a);
    RemapHiddenRowColumns([&](int c) { return c == a ? b : c == b ? a : c; });
    ApplyColumnLayout(cols);
    ColumnsSwapped(Index, Index2);
    EndUpdate();
    CellsChanged(plat::TRect{a, 0, b, RowCount() - 1});
}

} // namespace grid
