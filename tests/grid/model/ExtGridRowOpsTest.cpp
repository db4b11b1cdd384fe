// Row and column insertion, removal, moving and swapping of the string grid, with hidden
// rows and columns, checked against a plain model and by the invariant checker.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using grid::testing::Tag;

namespace {

class RowOpsTest : public grid::testing::GridFixture<> {
protected:
    std::vector<plat::String> Column(int c) {
        std::vector<plat::String> v;
        for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(c, r));
        return v;
    }
};

TEST_F(RowOpsTest, RemovingRowsLowersHiddenRowsBehindThemByTheRowsRemovedBeforeThem) {
    Fill(2, 12);
    grid->HideRows(5, 6);  // 10 display rows, hidden real rows 5 and 6
    ASSERT_EQ(grid->RowCount(), 10);
    grid->RemoveRows(2, 3);  // real rows 2, 3, 4
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GridItems().Item(0).Idx, 2);
    EXPECT_EQ(grid->GridItems().Item(1).Idx, 3);
    // A hidden row between removed rows loses only the removed rows before it.
    grid->UnHideRowsAll();
    Fill(2, 12);
    grid->HideRow(4);
    grid->RemoveRows(3, 3);  // display 3, 4, 5 = real 3, 5, 6
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->GridItems().Item(0).Idx, 3);
    grid->UnHideRow(3);
    EXPECT_EQ(grid->Cells(0, 3), u"0:4");
    EXPECT_EQ(grid->Cells(0, 4), u"0:7");
}

TEST_F(RowOpsTest, InsertingRowsShiftsHiddenRowsBehindAndKeepsHeights) {
    Fill(3, 10);
    grid->HideRow(6);
    grid->ModifiedRows()->Clear();
    for (int r = 0; r < grid->RowCount(); ++r) grid->ModifiedRows()->Add(r == 2 ? 1 : 0);
    grid->InsertRows(1, 2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->GridItems().Item(0).Idx, 8);
    EXPECT_EQ(grid->RowHeights(1), grid->DefaultRowHeight());
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight());
    EXPECT_EQ(grid->RowHeights(3), 21);
    EXPECT_EQ(grid->Cells(0, 1), u"");
    EXPECT_FALSE(grid->HasCellProperties(0, 1));
    EXPECT_EQ(grid->Cells(0, 3), u"0:1");
    EXPECT_EQ(grid->ModifiedRows()->GetInteger(4), 1);  // the flag of old row 2
}

TEST_F(RowOpsTest, RemovedRowsFreeTheirPropertiesAndInsertedRowsHaveNone) {
    Fill(3, 6);
    grid->GetCellProperties(1, 2)->ReadOnly = true;
    grid->GetCellProperties(1, 4)->ReadOnly = true;
    grid->RemoveRows(2, 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->HasCellProperties(1, 2));
    EXPECT_TRUE(grid->HasCellProperties(1, 3));
}

TEST_F(RowOpsTest, MoveRowsTakesTheBlockBehindTheTarget) {
    Fill(2, 10);
    grid->MoveRows(2, 8, 2);
    EXPECT_GRID_OK(*grid);
    const std::vector<int> order{0, 1, 4, 5, 6, 7, 2, 3, 8, 9};
    for (int r = 0; r < 10; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid->Cells(1, r), Tag(1, order[static_cast<std::size_t>(r)]));
        EXPECT_EQ(grid->RowHeights(r), 20 + order[static_cast<std::size_t>(r)]);
    }
}

TEST_F(RowOpsTest, SwapRowsTakesHiddenColumnsAlong) {
    Fill(4, 5);
    grid->HideColumn(2);
    grid->SwapRows(1, 3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->Cells(2, 1), u"2:3");
    EXPECT_EQ(grid->Cells(2, 3), u"2:1");
    EXPECT_EQ(grid->RowHeights(1), 23);
}

TEST_F(RowOpsTest, InsertedColumnsKeepAHiddenColumnHiddenAtItsNewIndex) {
    Fill(6, 3);
    grid->HideColumn(3);
    grid->HideRow(1);
    grid->InsertCols(1, 2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->AllColCount(), 8);
    EXPECT_TRUE(grid->IsHiddenColumn(5));
    EXPECT_FALSE(grid->IsHiddenColumn(3));
    EXPECT_EQ(grid->Cells(5, 0), u"3:0");
    EXPECT_EQ(grid->Cells(1, 0), u"");
    EXPECT_EQ(grid->GridItems().Item(0).Text(5), u"3:1");  // hidden rows follow too
    grid->RemoveCols(1, 2);
    EXPECT_GRID_OK(*grid);
    EXPECT_TRUE(grid->IsHiddenColumn(3));
    EXPECT_EQ(grid->Cells(3, 0), u"3:0");
    EXPECT_EQ(grid->GridItems().Item(0).Text(3), u"3:1");
}

TEST_F(RowOpsTest, RemoveDuplicatesHonoursCase) {
    struct Case {
        bool doCase;
        std::vector<plat::String> left;
    };
    const Case cases[] = {
        {false, {u"h", u"abc"}},
        {true, {u"h", u"abc", u"ABC", u"Abc"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.doCase);
        grid->SetColCount(2);
        grid->SetRowCount(5);
        const plat::String texts[] = {u"h", u"abc", u"ABC", u"Abc", u"abc"};
        for (int r = 0; r < 5; ++r) grid->SetCells(1, r, texts[r]);
        grid->RemoveDuplicates(1, k.doCase);
        EXPECT_GRID_OK(*grid);
        EXPECT_EQ(Column(1), k.left);
    }
}

TEST_F(RowOpsTest, OperationsReportTheirChangedCells) {
    Fill(3, 6);
    std::vector<plat::TRect> seen;
    grid->OnCellsChanged = [&](plat::TObject*, const plat::TRect& R) { seen.push_back(R); };
    grid->InsertRows(2, 1);
    grid->RemoveRows(1, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (plat::TRect{0, 2, 2, 3}));
    EXPECT_EQ(seen[1], (plat::TRect{0, 1, 2, 3}));
}

// ---- seeded random sequence against a plain model -----------------------------------------------

struct ModelRow {
    int id;
    bool hidden;
    int height;
};
struct ModelCol {
    int id;
    bool hidden;
    int width;
};

struct Model {
    int origRows, origCols, defHeight, defWidth;
    int nextRow, nextCol;
    std::vector<ModelRow> rows;
    std::vector<ModelCol> cols;

    std::vector<int> Shown() const {
        std::vector<int> v;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (!rows[static_cast<std::size_t>(i)].hidden) v.push_back(i);
        return v;
    }
    int ShownCols() const {
        return static_cast<int>(std::count_if(cols.begin(), cols.end(), [](const ModelCol& c) { return !c.hidden; }));
    }
    int RealCol(int d) const {
        for (int i = 0, n = 0; i < static_cast<int>(cols.size()); ++i)
            if (!cols[static_cast<std::size_t>(i)].hidden && n++ == d) return i;
        return -1;
    }
    plat::String Text(const ModelCol& c, const ModelRow& r) const {
        return (c.id < origCols && r.id < origRows) ? Tag(c.id, r.id) : plat::String();
    }
    ModelRow NewRow() { return ModelRow{nextRow++, false, defHeight}; }
};

plat::String Compare(TExtStringGrid& g, const Model& m) {
    using plat::IntToStr;
    const std::vector<int> shown = m.Shown();
    if (g.RowCount() != static_cast<int>(shown.size()))
        return u"RowCount " + IntToStr(g.RowCount()) + u", model " + IntToStr(static_cast<int>(shown.size()));
    if (g.AllColCount() != static_cast<int>(m.cols.size())) return u"AllColCount differs";
    if (g.ColCount() != m.ShownCols()) return u"ColCount differs";
    for (int c = 0; c < static_cast<int>(m.cols.size()); ++c) {
        const ModelCol& mc = m.cols[static_cast<std::size_t>(c)];
        if (g.IsHiddenColumn(c) != mc.hidden) return u"hidden state of column " + IntToStr(c);
        if (g.AllColWidths(c) != mc.width) return u"width of column " + IntToStr(c);
    }
    for (int d = 0; d < static_cast<int>(shown.size()); ++d) {
        const ModelRow& mr = m.rows[static_cast<std::size_t>(shown[static_cast<std::size_t>(d)])];
        if (g.RealRowIndex(d) != shown[static_cast<std::size_t>(d)]) return u"RealRowIndex(" + IntToStr(d) + u")";
        if (g.RowHeights(d) != mr.height) return u"height of display row " + IntToStr(d);
        for (int c = 0; c < static_cast<int>(m.cols.size()); ++c)
            if (plat::String(g.Store().CellView(c, d)) != m.Text(m.cols[static_cast<std::size_t>(c)], mr))
                return u"cell " + IntToStr(c) + u"," + IntToStr(d) + u" reads " + plat::String(g.Store().CellView(c, d));
    }
    int hidden = 0;
    for (int r = 0; r < static_cast<int>(m.rows.size()); ++r) {
        const ModelRow& mr = m.rows[static_cast<std::size_t>(r)];
        if (!mr.hidden) continue;
        const int i = g.GridItems().Find(r);
        if (i < 0) return u"real row " + IntToStr(r) + u" is not hidden";
        const TGridItem& it = g.GridItems().Item(i);
        if (it.Height != mr.height) return u"height of hidden row " + IntToStr(r);
        for (int c = 0; c < static_cast<int>(m.cols.size()); ++c)
            if (plat::String(it.Text(c)) != m.Text(m.cols[static_cast<std::size_t>(c)], mr))
                return u"hidden cell " + IntToStr(c) + u"," + IntToStr(r);
        ++hidden;
    }
    if (hidden != g.NumHiddenRows()) return u"NumHiddenRows differs";
    // A column grid's items follow their columns: item c carries the id of model column c.
    if (auto* cg = dynamic_cast<TExtColumnGrid*>(&g))
        for (int c = 0; c < static_cast<int>(m.cols.size()); ++c)
            if (cg->Columns()->Items(c)->Tag != m.cols[static_cast<std::size_t>(c)].id + 1)
                return u"item " + IntToStr(c) + u" belongs to another column";
    return plat::String();
}

// Marks the item of each real column with the model column's id + 1.
void TagItems(TExtStringGrid& g, const Model& m, int From, int Count) {
    if (auto* cg = dynamic_cast<TExtColumnGrid*>(&g))
        for (int c = From; c < From + Count; ++c)
            cg->Columns()->Items(c)->Tag = m.cols[static_cast<std::size_t>(c)].id + 1;
}

void RunRandomSequence(plat::TForm* form, unsigned seed, bool ColumnGrid) {
    TExtStringGrid* g = ColumnGrid ? new TExtColumnGrid(form) : new TExtStringGrid(form);
    g->SetParent(form);
    Model m{12, 6, g->DefaultRowHeight(), g->DefaultColWidth(), 12, 6, {}, {}};
    g->SetColCount(m.origCols);
    g->SetRowCount(m.origRows);
    for (int c = 0; c < m.origCols; ++c) {
        g->SetColWidths(c, 30 + c);
        m.cols.push_back({c, false, 30 + c});
    }
    for (int r = 0; r < m.origRows; ++r) {
        g->SetRowHeights(r, 20 + r);
        m.rows.push_back({r, false, 20 + r});
        for (int c = 0; c < m.origCols; ++c) g->SetCells(c, r, Tag(c, r));
    }
    TagItems(*g, m, 0, m.origCols);
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(rng); };
    for (int step = 0; step < 400; ++step) {
        const int op = pick(0, 13);
        const int all = static_cast<int>(m.rows.size());
        const int rows = g->RowCount();
        const int cols = static_cast<int>(m.cols.size());
        plat::String what;
        switch (op) {
        case 0: {  // HideRows
            const int a = pick(0, all - 1), b = std::min(all - 1, a + pick(0, 3));
            what = u"HideRows " + plat::IntToStr(a) + u"," + plat::IntToStr(b);
            g->HideRows(a, b);
            int taken = 0;
            const int shownNow = static_cast<int>(m.Shown().size());
            for (int r = a; r <= b; ++r) {
                if (m.rows[static_cast<std::size_t>(r)].hidden) continue;
                if (taken >= shownNow - 1) break;
                m.rows[static_cast<std::size_t>(r)].hidden = true;
                ++taken;
            }
            break;
        }
        case 1: {  // UnHideRows
            const int a = pick(0, all - 1), b = std::min(all - 1, a + pick(0, 5));
            what = u"UnHideRows " + plat::IntToStr(a) + u"," + plat::IntToStr(b);
            g->UnHideRows(a, b);
            if (m.rows[static_cast<std::size_t>(a)].hidden)
                for (int r = a; r <= b; ++r) m.rows[static_cast<std::size_t>(r)].hidden = false;
            break;
        }
        case 2:
            what = u"UnHideRowsAll";
            g->UnHideRowsAll();
            for (auto& r : m.rows) r.hidden = false;
            break;
        case 3: {  // InsertRows
            const int d = pick(0, rows), n = pick(1, 3);
            what = u"InsertRows " + plat::IntToStr(d) + u"," + plat::IntToStr(n);
            g->InsertRows(d, n);
            const std::vector<int> shown = m.Shown();
            const int at = d < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(d)] : all;
            for (int i = 0; i < n; ++i) m.rows.insert(m.rows.begin() + at, m.NewRow());
            break;
        }
        case 4: {  // RemoveRows
            const int d = pick(0, rows - 1), n = pick(1, 3);
            what = u"RemoveRows " + plat::IntToStr(d) + u"," + plat::IntToStr(n);
            g->RemoveRows(d, n);
            std::vector<int> shown = m.Shown();
            const int k = std::min(n, rows - d);
            for (int i = k - 1; i >= 0; --i) m.rows.erase(m.rows.begin() + shown[static_cast<std::size_t>(d + i)]);
            if (k >= rows) m.rows.push_back(m.NewRow());
            break;
        }
        case 5:
        case 6: {  // MoveRows / MoveRow
            const bool single = op == 6;
            int from = pick(0, rows - 1), to = pick(0, rows - 1), n = single ? 1 : pick(1, 3);
            what = (single ? u"MoveRow " : u"MoveRows ") + plat::IntToStr(from) + u"," + plat::IntToStr(to) + u"," +
                   plat::IntToStr(n);
            if (single)
                g->MoveRow(from, to);
            else
                g->MoveRows(from, to, n);
            if (!single && from + n < to) to -= n;
            n = std::min(n, rows - from);
            to = std::min(to, rows - n);
            if (from == to || n <= 0) break;
            const std::vector<int> shown = m.Shown();
            std::vector<ModelRow> seq;
            for (int i : shown) seq.push_back(m.rows[static_cast<std::size_t>(i)]);
            std::vector<ModelRow> block(seq.begin() + from, seq.begin() + from + n);
            seq.erase(seq.begin() + from, seq.begin() + from + n);
            seq.insert(seq.begin() + to, block.begin(), block.end());
            for (std::size_t i = 0; i < shown.size(); ++i) m.rows[static_cast<std::size_t>(shown[i])] = seq[i];
            break;
        }
        case 7: {  // SwapRows
            const int a = pick(0, rows - 1), b = pick(0, rows - 1);
            what = u"SwapRows " + plat::IntToStr(a) + u"," + plat::IntToStr(b);
            g->SwapRows(a, b);
            const std::vector<int> shown = m.Shown();
            std::swap(m.rows[static_cast<std::size_t>(shown[static_cast<std::size_t>(a)])],
                      m.rows[static_cast<std::size_t>(shown[static_cast<std::size_t>(b)])]);
            break;
        }
        case 8: {  // HideColumn
            const int c = pick(0, cols - 1);
            what = u"HideColumn " + plat::IntToStr(c);
            g->HideColumn(c);
            if (!m.cols[static_cast<std::size_t>(c)].hidden && m.ShownCols() >= 2) m.cols[static_cast<std::size_t>(c)].hidden = true;
            break;
        }
        case 9: {  // UnHideColumn
            const int c = pick(0, cols - 1);
            what = u"UnHideColumn " + plat::IntToStr(c);
            g->UnHideColumn(c);
            m.cols[static_cast<std::size_t>(c)].hidden = false;
            break;
        }
        case 10: {  // InsertCols
            const int c = pick(0, cols), n = pick(1, 2);
            what = u"InsertCols " + plat::IntToStr(c) + u"," + plat::IntToStr(n);
            g->InsertCols(c, n);
            for (int i = 0; i < n; ++i) m.cols.insert(m.cols.begin() + c, ModelCol{m.nextCol++, false, m.defWidth});
            TagItems(*g, m, c, n);
            break;
        }
        case 11: {  // RemoveCols
            const int c = pick(0, cols - 1), n = std::min(pick(1, 2), cols - c);
            what = u"RemoveCols " + plat::IntToStr(c) + u"," + plat::IntToStr(n);
            g->RemoveCols(c, n);
            int shownLeft = 0;
            for (int i = 0; i < cols; ++i)
                if ((i < c || i >= c + n) && !m.cols[static_cast<std::size_t>(i)].hidden) ++shownLeft;
            if (shownLeft > 0) m.cols.erase(m.cols.begin() + c, m.cols.begin() + c + n);
            break;
        }
        case 12: {  // SwapColumns
            const int a = pick(0, cols - 1), b = pick(0, cols - 1);
            what = u"SwapColumns " + plat::IntToStr(a) + u"," + plat::IntToStr(b);
            g->SwapColumns(a, b);
            if (a != b && (m.ShownCols() > 0)) std::swap(m.cols[static_cast<std::size_t>(a)], m.cols[static_cast<std::size_t>(b)]);
            break;
        }
        case 13: {  // the framework's column move, display indexes
            const int shownCols = m.ShownCols();
            const int a = pick(0, shownCols - 1), b = pick(0, shownCols - 1);
            what = u"MoveColumn " + plat::IntToStr(a) + u"," + plat::IntToStr(b);
            const int ra = m.RealCol(a), rb = m.RealCol(b);
            g->MoveColumn(a, b);
            if (a != b) {
                const ModelCol mc = m.cols[static_cast<std::size_t>(ra)];
                m.cols.erase(m.cols.begin() + ra);
                m.cols.insert(m.cols.begin() + rb, mc);
            }
            break;
        }
        }
        SCOPED_TRACE(::grid::testing::Utf8(u"step " + plat::IntToStr(step) + u": " + what));
        const plat::String inv = ::grid::testing::CheckGridInvariants(*g);
        ASSERT_EQ(::grid::testing::Utf8(inv), "");
        ASSERT_EQ(::grid::testing::Utf8(Compare(*g, m)), "");
    }
}

TEST_F(RowOpsTest, RandomSequenceOfStructuralOperationsMatchesAPlainModel) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        RunRandomSequence(form.get(), seed, false);
    }
}

TEST_F(RowOpsTest, RandomSequenceOnAColumnGridKeepsEachItemWithItsColumn) {
    for (unsigned seed : {5u, 6u, 7u}) {
        SCOPED_TRACE(seed);
        RunRandomSequence(form.get(), seed, true);
    }
}

} // namespace
