#pragma once
// Invariant checker of the string grid's model, run by the grid tests after every mutation:
//  - display and shown real columns are a bijection (RealColIndex ascending, never hidden,
//    DisplColIndex(RealColIndex(d)) = d), and the hidden flags count NumHiddenColumns;
//  - the hidden-row store is sorted by distinct in-range Idx values, every display row maps
//    to a shown real row and back (RealRowIndex(DisplRowIndex(r)) = r);
//  - the cell store holds no row beyond RowCount;
//  - a column grid has one item per real column;
//  - the per-row side lists are no longer than their rows;
//  - node spans stay inside the grid, the node count matches the node rows, node rows have a
//    level and every row of a contracted node's span is hidden;
//  - merged areas are consistent and inside the grid.
// Small grids only: the checks walk every row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "plat/SysUtils.h"

namespace grid::testing {

inline std::string Utf8(const plat::String& s) { return plat::StringToUtf8(s); }

inline plat::String CheckGridInvariants(TExtStringGrid& g) {
    using plat::IntToStr;
    const int cols = g.ColCount();
    const int all = g.AllColCount();
    int hidden = 0;
    for (int c = 0; c < all; ++c)
        if (g.IsHiddenColumn(c)) ++hidden;
    if (hidden != g.NumHiddenColumns())
        return u"hidden column flags count " + IntToStr(hidden) + u", NumHiddenColumns " +
               IntToStr(g.NumHiddenColumns());
    int prev = -1;
    for (int d = 0; d < cols; ++d) {
        const int r = g.RealColIndex(d);
        if (r <= prev || r >= all) return u"RealColIndex(" + IntToStr(d) + u") = " + IntToStr(r) + u" out of order";
        if (g.IsHiddenColumn(r)) return u"RealColIndex(" + IntToStr(d) + u") is a hidden column";
        if (g.DisplColIndex(r) != d) return u"DisplColIndex(RealColIndex(" + IntToStr(d) + u")) differs";
        prev = r;
    }
    if (plat::String e = g.GridItems().Check(); !e.empty()) return e;
    const int rows = g.RowCount();
    if (g.AllRowCount() != rows + g.NumHiddenRows()) return u"AllRowCount differs from RowCount + NumHiddenRows";
    for (const TGridItem& it : g.GridItems().Items())
        if (it.Idx >= g.AllRowCount())
            return u"hidden row Idx " + IntToStr(it.Idx) + u" beyond AllRowCount " + IntToStr(g.AllRowCount());
    for (int d = 0; d < rows; ++d) {
        const int r = g.RealRowIndex(d);
        if (g.IsHiddenRow(r)) return u"RealRowIndex(" + IntToStr(d) + u") is a hidden row";
        if (g.DisplRowIndex(r) != d) return u"DisplRowIndex(RealRowIndex(" + IntToStr(d) + u")) differs";
    }
    if (g.Store().RowExtent() > rows)
        return u"cell store holds row " + IntToStr(g.Store().RowExtent() - 1) + u" beyond RowCount " + IntToStr(rows);
    if (auto* cg = dynamic_cast<TExtColumnGrid*>(&g))
        if (plat::String e = cg->CheckColumns(); !e.empty()) return e;
    if (g.ModifiedRows()->Count() > rows) return u"modified-row flags longer than the rows";
    if (plat::String e = g.Map().CheckMerges(); !e.empty()) return e;
    const std::vector<int> nodes = g.NodeRealRows();
    if (static_cast<int>(nodes.size()) != g.NumNodes())
        return u"grid holds " + IntToStr(static_cast<int>(nodes.size())) + u" node rows, NumNodes " +
               IntToStr(g.NumNodes());
    for (int n : nodes) {
        const TCellGraphic* rec = g.NodeRecordReal(n);
        if (rec->CellIndex < 0 || n + rec->CellIndex > g.AllRowCount())
            return u"span " + IntToStr(rec->CellIndex) + u" of the node in real row " + IntToStr(n) +
                   u" reaches beyond the grid";
        if (g.RealRowLevel(n) < 1) return u"node in real row " + IntToStr(n) + u" has level 0";
        if (!rec->CellBoolean) continue;
        for (int r = n + 1; r <= g.NodeGroupEnd(n); ++r)
            if (!g.IsHiddenRow(r))
                return u"real row " + IntToStr(r) + u" of the contracted node in real row " + IntToStr(n) +
                       u" is shown";
    }
    return plat::String();
}

} // namespace grid::testing

#define EXPECT_GRID_OK(g) EXPECT_EQ(::grid::testing::Utf8(::grid::testing::CheckGridInvariants(g)), "")
