#pragma once
// The columns' and header's bookkeeping, checked after every column or header change in the
// column tests. Returns an empty text when everything holds, else the first broken rule.
// - The position array is a permutation of 0..Count-1 and every column's Position matches
//   its entry.
// - Left is the running sum of the widths of the visible columns before it; TotalWidth is
//   the right edge of the last visible column (0 without one).
// - Widths lie within MinWidth..MaxWidth (not checked while scaling, nor for the auto-size
//   column with hoAutoResize).
// - Main column is -1 without columns, else inside them; the sort column is -1..Count-1.
// - The header rectangle is Height high with hoVisible and empty without it.
#include <string>
#include <vector>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"

namespace vtree::testing {

inline std::string CheckColumnInvariants(const TLTHeader& H)
{
    const TLazyTreeColumns& cols = H.Columns();
    const int n = cols.Count();
    const auto& pos = cols.PositionToIndex();
    if (static_cast<int>(pos.size()) != n) return "position array length " + std::to_string(pos.size());
    std::vector<char> seen(static_cast<std::size_t>(n), 0);
    int sum = 0;
    int total = 0;
    for (int p = 0; p < n; ++p) {
        const int idx = pos[static_cast<std::size_t>(p)];
        if (idx < 0 || idx >= n || seen[static_cast<std::size_t>(idx)])
            return "position array not a permutation at " + std::to_string(p);
        seen[static_cast<std::size_t>(idx)] = 1;
        const TLazyTreeColumn* c = cols.Items(idx);
        if (c->Position() != static_cast<TColumnPosition>(p))
            return "column " + std::to_string(idx) + " has position " + std::to_string(c->Position()) + ", entry " +
                   std::to_string(p);
        int l, r;
        c->GetAbsoluteBounds(l, r);
        if (l != sum) return "column " + std::to_string(idx) + " left " + std::to_string(l) + ", sum " + std::to_string(sum);
        if (In(c->Options(), coVisible)) {
            sum += c->Width();
            total = sum;
        }
        const bool autoSized = In(H.Options(), hoAutoResize) &&
                               (idx == H.AutoSizeIndex() || (!cols.IsValidColumn(H.AutoSizeIndex()) && idx == n - 1));
        if (!H.HasState(hsScaling) && !autoSized && (c->Width() < c->MinWidth() || c->Width() > c->MaxWidth()))
            return "column " + std::to_string(idx) + " width " + std::to_string(c->Width()) + " outside its limits";
    }
    if (cols.TotalWidth() != total) return "TotalWidth " + std::to_string(cols.TotalWidth()) + ", sum " + std::to_string(total);
    if (n == 0 ? H.GetMainColumn() != NoColumn : (H.MainColumn < 0 || H.MainColumn >= n))
        return "main column " + std::to_string(H.MainColumn);
    if (H.SortColumn < NoColumn || H.SortColumn >= n) return "sort column " + std::to_string(H.SortColumn);
    const auto& hr = H.HeaderRect();
    const int height = hr.Bottom - hr.Top;
    if (In(H.Options(), hoVisible) ? (hr.Right > hr.Left && height != H.Height()) : height != 0)
        return "header rectangle height " + std::to_string(height);
    return {};
}

#define EXPECT_COLUMNS_OK(H) EXPECT_EQ(::vtree::testing::CheckColumnInvariants(H), "")
#define ASSERT_COLUMNS_OK(H) ASSERT_EQ(::vtree::testing::CheckColumnInvariants(H), "")

} // namespace vtree::testing
