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

// Sub-groups: column 0 labels, 1 the group value, 2 the sub-group value, 3 a number, 4 hidden.
class SubGroupTest : public GroupTest {
protected:
    void Load5(const std::vector<Texts>& rows) {
        const int n = static_cast<int>(rows.size());
        grid->SetColCount(5);
        grid->SetRowCount(n + 1);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int r = 1; r <= n; ++r) {
            grid->SetCells(0, r, u"r" + plat::IntToStr(r));
            for (std::size_t c = 0; c < 3; ++c)
                grid->SetCells(static_cast<int>(c) + 1, r, rows[static_cast<std::size_t>(r - 1)][c]);
            grid->SetCells(4, r, u"h" + plat::IntToStr(r));
        }
        grid->HideColumn(4);
    }
    std::vector<int> Levels() {
        std::vector<int> l;
        for (int r = 1; r < grid->RowCount(); ++r) l.push_back(grid->RealRowLevel(grid->RealRowIndex(r)));
        return l;
    }
};

TEST_F(SubGroupTest, SubGroupsInsideGroupsAndBackToTheFlatTable) {
    Load5({{u"B", u"x", u"1"}, {u"A", u"y", u"2"}, {u"B", u"x", u"3"}, {u"B", u"z", u"4"}, {u"A", u"y", u"5"}});
    grid->Group(1);
    // Now column 1 holds the sub-group values and column 2 the numbers.
    const Texts grouped1{u"[A]", u"y", u"y", u"[B]", u"x", u"x", u"z"};
    const Texts grouped2{u"[]", u"2", u"5", u"[]", u"1", u"3", u"4"};
    ASSERT_EQ(Column(1), grouped1);
    grid->SubGroup(1);
    Check();
    EXPECT_EQ(grid->GroupColumn(), 1) << "the group's own column stays the one UnGroup restores";
    EXPECT_EQ(Column(1), (Texts{u"[A]", u"[]", u"", u"", u"[B]", u"[]", u"", u"", u"[]", u""}));
    EXPECT_EQ(Column(2), (Texts{u"[]", u"[y]", u"2", u"5", u"[]", u"[x]", u"1", u"3", u"[z]", u"4"}));
    EXPECT_EQ(Levels(), (std::vector<int>{1, 2, 2, 2, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    EXPECT_EQ(grid->GetNodeSpan(2), 3);
    EXPECT_EQ(grid->GetNodeSpan(5), 6);
    EXPECT_EQ(grid->GetNodeSpan(9), 2);
    // The group figures still cover each whole group, sub-group rows left out.
    grid->GroupSum(2);
    EXPECT_EQ(grid->Cells(2, 1), u"7.00");
    EXPECT_EQ(grid->Cells(2, 5), u"8.00");
    grid->SetCells(2, 1, u"");
    grid->SetCells(2, 5, u"");
    // A collapsed group is opened first; the values come back into every row of each sub-group.
    grid->ContractNode(grid->RealRowIndex(5));
    grid->SubUnGroup(2);
    EXPECT_EQ(grid->NumNodes(), 5) << "nodes of another column stay";
    grid->SubUnGroup(1);
    Check();
    EXPECT_EQ(Column(1), grouped1);
    EXPECT_EQ(Column(2), grouped2);
    EXPECT_EQ(Levels(), (std::vector<int>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
    EXPECT_EQ(grid->GetNodeSpan(4), 4);
    grid->UnGroup();
    Check();
    EXPECT_EQ(Column(1), (Texts{u"A", u"A", u"B", u"B", u"B"}));
    EXPECT_EQ(Column(2), (Texts{u"y", u"y", u"x", u"x", u"z"}));
    EXPECT_EQ(Column(3), (Texts{u"2", u"5", u"1", u"3", u"4"}));
    EXPECT_EQ(grid->GetGridCellsEx(4, 1), u"h2") << "the hidden column moved with its row";
    EXPECT_EQ(grid->NumNodes(), 0);
}

TEST_F(SubGroupTest, FlatTableWithMergedHeadersAndAHiddenRow) {
    Load5({{u"x", u"a", u"1"}, {u"x", u"b", u"2"}, {u"x", u"c", u"3"}, {u"y", u"d", u"4"}});
    grid->HideRow(2);  // the row of "b"; its texts must survive
    grid->Grouping()->MergeHeader = true;
    grid->SubGroup(1);
    Check();
    EXPECT_EQ(Column(2), (Texts{u"[x]", u"a", u"c", u"[y]", u"d"}));
    EXPECT_EQ(Column(1), (Texts{u"[]", u"", u"", u"[]", u""}));
    EXPECT_TRUE(grid->IsMergedCell(2, 1) && grid->IsMergedCell(3, 1))
        << "the header merges from the value column to the last";
    EXPECT_EQ(grid->NumNodes(), 2);
    grid->SubUnGroup(1);
    Check();
    EXPECT_EQ(grid->NumNodes(), 0);
    EXPECT_FALSE(grid->IsMergedCell(2, 1));
    EXPECT_EQ(Column(1), (Texts{u"x", u"x", u"y"}));
    EXPECT_EQ(Column(2), (Texts{u"a", u"c", u"d"}));
    grid->UnHideRow(2);
    EXPECT_EQ(Column(1), (Texts{u"x", u"x", u"x", u"y"}));
    EXPECT_EQ(Column(2), (Texts{u"a", u"b", u"c", u"d"}));
    Check();

    // Nothing for a column below FixedCols or without a column after it.
    grid->SubGroup(0);
    grid->SubGroup(grid->ColCount() - 1);
    EXPECT_EQ(grid->NumNodes(), 0);
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
