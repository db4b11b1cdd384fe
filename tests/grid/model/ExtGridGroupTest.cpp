// Grouping of the string grid: group header and summary rows, ungrouping, group figures and
// the column grid's kept column.
#include <gtest/gtest.h>

#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"

using namespace grid;
using grid::testing::GridFixture;
using plat::String;
using Texts = std::vector<String>;

namespace {

// One fixed row and column: column 0 labels, 1 the group value, 2 a number, 3 hidden.
class GroupTest : public GridFixture<> {
protected:
    void Load(const std::vector<Texts>& rows) {
        const int n = static_cast<int>(rows.size());
        grid->SetColCount(4);
        grid->SetRowCount(n + 1);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        grid->SetCells(1, 0, u"Kind");
        grid->SetCells(2, 0, u"Qty");
        grid->SetColWidths(1, 77);
        for (int r = 1; r <= n; ++r) {
            grid->SetCells(0, r, u"r" + plat::IntToStr(r));
            for (std::size_t c = 0; c < rows[static_cast<std::size_t>(r - 1)].size(); ++c)
                grid->SetCells(static_cast<int>(c) + 1, r, rows[static_cast<std::size_t>(r - 1)][c]);
            grid->SetCells(3, r, u"h" + plat::IntToStr(r));
        }
        grid->HideColumn(3);
    }
    // Column c from row 1 on; node rows show as "[value]", summary rows as "=value".
    Texts Column(int c) {
        Texts t;
        for (int r = 1; r < grid->RowCount(); ++r) {
            const String v = grid->Cells(c, r);
            t.push_back(grid->IsNode(r) ? u"[" + v + u"]" : grid->IsSummary(r) ? u"=" + v : v);
        }
        return t;
    }
    void Check() { EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), ""); }
};

TEST_F(GroupTest, GroupsRunsOfEqualValuesAndRemovesTheColumn) {
    Load({{u"B", u"1"}, {u"A", u"2"}, {u"B", u"3"}});
    grid->Group(1);
    EXPECT_EQ(grid->GroupColumn(), 1);
    EXPECT_EQ(grid->AllColCount(), 3);
    // Column 1 now holds the former column 2: the quantities, with the group values in the
    // header rows.
    EXPECT_EQ(Column(1), (Texts{u"[A]", u"2", u"[B]", u"1", u"3"}));
    EXPECT_EQ(Column(0), (Texts{u"[]", u"r2", u"[]", u"r1", u"r3"}));
    EXPECT_EQ(grid->GetNodeSpan(1), 2);
    EXPECT_EQ(grid->GetNodeSpan(3), 3);
    Check();
}

TEST_F(GroupTest, SummaryRowsFollowEveryGroup) {
    Load({{u"B", u"1"}, {u"A", u"2"}, {u"B", u"3"}});
    grid->Grouping()->Summary = true;
    grid->Group(1);
    EXPECT_EQ(Column(1), (Texts{u"[A]", u"2", u"=", u"[B]", u"1", u"3", u"="}));
    Check();
    grid->GroupCount(1);
    EXPECT_EQ(Column(1), (Texts{u"[A]", u"2", u"=1", u"[B]", u"1", u"3", u"=2"}));
    grid->GroupSum(1);
    EXPECT_EQ(grid->Cells(1, 7), u"4.00");
    grid->UnGroup();
    EXPECT_EQ(Column(1), (Texts{u"A", u"B", u"B"}));
    Check();
}

TEST_F(GroupTest, UnGroupRestoresColumnWidthHeaderAndValues) {
    Load({{u"B", u"1"}, {u"A", u"2"}, {u"B", u"3"}});
    grid->Group(1);
    grid->UnGroup();
    EXPECT_EQ(grid->GroupColumn(), -1);
    EXPECT_EQ(grid->AllColCount(), 4);
    EXPECT_EQ(grid->ColWidths(1), 77);
    EXPECT_EQ(grid->Cells(1, 0), u"Kind");
    EXPECT_EQ(Column(1), (Texts{u"A", u"B", u"B"}));
    EXPECT_EQ(Column(2), (Texts{u"2", u"1", u"3"}));
    EXPECT_EQ(Column(0), (Texts{u"r2", u"r1", u"r3"}));
    EXPECT_EQ(grid->GetGridCellsEx(3, 1), u"h2") << "the hidden column moved with its row";
    EXPECT_EQ(grid->NumNodes(), 0);
    Check();
}

TEST_F(GroupTest, ColumnZeroAndBelowFixedColsAndTheSetter) {
    Load({{u"B", u"1"}, {u"A", u"2"}});
    grid->SetGroupColumn(0);
    EXPECT_EQ(grid->GroupColumn(), -1) << "GroupColumn 0 does nothing";
    grid->Group(0);
    EXPECT_EQ(grid->GroupColumn(), -1) << "a column below FixedCols is not grouped";
    grid->SetGroupColumn(1);
    EXPECT_EQ(grid->GroupColumn(), 1);
    grid->SetGroupColumn(-1);
    EXPECT_EQ(grid->GroupColumn(), -1);
    EXPECT_EQ(Column(1), (Texts{u"A", u"B"}));

    // Without fixed columns column 0 groups, and ungroups again.
    grid->SetFixedCols(0);
    grid->Group(0);
    EXPECT_EQ(grid->GroupColumn(), 0);
    EXPECT_EQ(grid->AllColCount(), 3);
    Check();
    grid->UnGroup();
    EXPECT_EQ(grid->GroupColumn(), -1);
    EXPECT_EQ(grid->AllColCount(), 4);
    EXPECT_EQ(Column(0), (Texts{u"r1", u"r2"}));
    EXPECT_EQ(grid->NumNodes(), 0);
    Check();
}

TEST_F(GroupTest, GroupFiguresSkipCollapsedGroups) {
    Load({{u"A", u"1"}, {u"A", u"4"}, {u"A", u"7"}, {u"B", u"2"}, {u"B", u"2"}});
    grid->Group(1);
    // Rows: [A] 1 4 7 [B] 2 2
    grid->ContractNode(grid->RealRowIndex(5));
    struct Case {
        const char* name;
        void (*calc)(TExtStringGrid&, int);
        String a;
    };
    const Case cases[] = {
        {"count", [](TExtStringGrid& g, int c) { g.GroupCount(c); }, u"3"},
        {"sum", [](TExtStringGrid& g, int c) { g.GroupSum(c); }, u"12.00"},
        {"avg", [](TExtStringGrid& g, int c) { g.GroupAvg(c); }, u"4.00"},
        {"min", [](TExtStringGrid& g, int c) { g.GroupMin(c); }, u"1.00"},
        {"max", [](TExtStringGrid& g, int c) { g.GroupMax(c); }, u"7.00"},
        {"stddev", [](TExtStringGrid& g, int c) { g.GroupStdDev(c); }, u"2.45"},
        {"distinct", [](TExtStringGrid& g, int c) { g.GroupDistinct(c); }, u"3.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(1, 1, u"A");
        c.calc(*grid, 1);
        EXPECT_EQ(grid->Cells(1, 1), c.a);
        EXPECT_EQ(grid->Cells(1, 5), u"B") << "a collapsed group gets no value";
    }
    grid->OnGroupCalc = [](plat::TObject*, int, int from, int to, double& res) { res = to - from; };
    grid->GroupCustomCalc(1);
    EXPECT_EQ(grid->Cells(1, 1), u"2.00");
    Check();
}

class ColumnGridGroupTest : public GridFixture<TExtColumnGrid> {};

TEST_F(ColumnGridGroupTest, TheGroupedColumnsItemComesBack) {
    Fill(3, 4);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->Columns()->Items(1)->SetHeader(u"Grouped");
    grid->Columns()->Items(1)->SortPrefix = u"#";
    grid->Group(1);
    EXPECT_EQ(grid->Columns()->Count(), 2);
    grid->UnGroup();
    ASSERT_EQ(grid->Columns()->Count(), 3);
    EXPECT_EQ(grid->Columns()->Items(1)->Header(), u"Grouped");
    EXPECT_EQ(grid->Columns()->Items(1)->SortPrefix, u"#");
    EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
}

} // namespace
