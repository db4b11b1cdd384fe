// Hidden columns and rows, the index mappings and the current row of the string grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using grid::testing::Tag;

namespace {

class IndexTest : public grid::testing::GridFixture<> {};

TEST_F(IndexTest, HidingAColumnShiftsTheDisplayButNotTheCells) {
    Fill(6, 4);
    grid->SetColWidths(2, 33);
    grid->SetColWidths(3, 44);
    grid->SetColWidths(4, 55);
    grid->HideColumn(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
    EXPECT_EQ(grid->AllColCount(), 6);
    EXPECT_TRUE(grid->IsHiddenColumn(2));
    EXPECT_EQ(grid->RealColIndex(2), 3);
    EXPECT_EQ(grid->DisplToRealCol(2), 3);
    EXPECT_EQ(grid->DisplColIndex(3), 2);
    EXPECT_EQ(grid->Cells(2, 1), u"2:1");  // the hidden column's text stays readable
    EXPECT_EQ(grid->ColWidths(2), 44);     // display column 2 shows real column 3
    EXPECT_EQ(grid->ColWidths(3), 55);
    EXPECT_EQ(grid->AllColWidths(2), 33);

    grid->UnHideColumn(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_EQ(grid->ColWidths(2), 33);
    EXPECT_EQ(grid->ColWidths(3), 44);
    EXPECT_EQ(grid->ColWidths(4), 55);
}

TEST_F(IndexTest, ColumnMappingsAgreeWithAWalkOverTheFlags) {
    Fill(12, 2);
    const std::vector<int> hide{0, 3, 4, 9, 11};
    for (int c : hide) grid->HideColumn(c);
    EXPECT_GRID_OK(*grid);
    std::vector<int> shown;
    for (int c = 0; c < 12; ++c)
        if (std::find(hide.begin(), hide.end(), c) == hide.end()) shown.push_back(c);
    ASSERT_EQ(grid->ColCount(), static_cast<int>(shown.size()));
    for (int d = 0; d < grid->ColCount(); ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(grid->RealColIndex(d), shown[static_cast<std::size_t>(d)]);
    }
    // A hidden column maps to the display column of the next shown one.
    EXPECT_EQ(grid->DisplColIndex(3), 2);
    EXPECT_EQ(grid->DisplColIndex(4), 2);
    grid->UnHideColumnsAll();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColCount(), 12);
}

TEST_F(IndexTest, ColumnsFrom512OnAreNeverHiddenAndMapExactly) {
    Fill(520, 1);
    grid->HideColumn(600);
    grid->HideColumn(515);
    grid->HideColumn(512);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    EXPECT_FALSE(grid->IsHiddenColumn(600));
    EXPECT_FALSE(grid->IsHiddenColumn(515));
    grid->HideColumn(3);
    grid->HideColumn(511);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColCount(), 518);
    // Inside the grid the mapping stays exact beyond 511 ...
    EXPECT_EQ(grid->RealColIndex(510), 512);
    EXPECT_EQ(grid->DisplColIndex(515), 513);
    EXPECT_EQ(grid->RealColIndex(517), 519);
    // ... and an index beyond the grid maps to itself from 512 on.
    EXPECT_EQ(grid->RealColIndex(600), 600);
    EXPECT_EQ(grid->DisplColIndex(600), 600);
}

TEST_F(IndexTest, TheLastShownColumnIsNeverHidden) {
    Fill(2, 2);
    grid->HideColumns(0, 1);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColCount(), 1);
    EXPECT_EQ(grid->NumHiddenColumns(), 1);
    EXPECT_TRUE(grid->IsHiddenColumn(0));
    EXPECT_FALSE(grid->IsHiddenColumn(1));
}

TEST_F(IndexTest, HiddenRowsTakeTheirCellsAndHeightsAndComeBackInPlace) {
    Fill(4, 10);
    grid->HideColumn(1);
    grid->HideRows(3, 4);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->NumHiddenRows(), 2);
    EXPECT_EQ(grid->AllRowCount(), 10);
    EXPECT_EQ(grid->RealRowIndex(3), 5);
    EXPECT_EQ(grid->DisplToRealRow(3), 5);
    EXPECT_EQ(grid->DisplRowIndex(5), 3);
    EXPECT_EQ(grid->Cells(0, 3), u"0:5");
    EXPECT_EQ(grid->RowHeights(3), 25);
    const TGridItem& item = grid->GridItems().Item(0);
    EXPECT_EQ(item.Idx, 3);
    EXPECT_EQ(item.Height, 23);
    EXPECT_EQ(item.Text(1), u"1:3");  // hidden columns travel with the row

    grid->UnHideRows(3, 4);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 10);
    for (int r = 0; r < 10; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid->RowHeights(r), 20 + r);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(grid->Cells(c, r), Tag(c, r));
    }
}

TEST_F(IndexTest, LongBlocksOfRowsHideAndComeBackWithTheirHeights) {
    Fill(3, 60);
    grid->HideRow(25);
    grid->HideRows(10, 40);  // more rows than the line-by-line path takes
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowCount(), 29);
    EXPECT_EQ(grid->Cells(2, 10), u"2:41");
    EXPECT_EQ(grid->RowHeights(10), 61);
    EXPECT_EQ(grid->RowHeights(28), 79);
    grid->UnHideRows(10, 40);
    EXPECT_GRID_OK(*grid);
    ASSERT_EQ(grid->RowCount(), 60);
    for (int r = 0; r < 60; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid->RowHeights(r), 20 + r);
        EXPECT_EQ(grid->Cells(1, r), Tag(1, r));
    }
}

TEST_F(IndexTest, HidingARangeKeepsRowsHiddenBeforeAndShowingNeedsTheFirstRowHidden) {
    Fill(2, 10);
    grid->HideRow(4);
    grid->HideRows(3, 5);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumHiddenRows(), 3);
    for (int r = 3; r <= 5; ++r) {
        SCOPED_TRACE(r);
        const int i = grid->GridItems().Find(r);
        ASSERT_GE(i, 0);
        EXPECT_EQ(grid->GridItems().Item(i).Text(0), Tag(0, r));
    }
    grid->UnHideRow(4);
    grid->UnHideRows(4, 5);  // row 4 is shown: nothing happens
    EXPECT_EQ(grid->NumHiddenRows(), 2);
    EXPECT_EQ(grid->Cells(0, 3), u"0:4");
}

TEST_F(IndexTest, UnHidingAlternatingRowsRestoresEachAtItsRealPosition) {
    Fill(2, 12);
    for (int r : {2, 4, 6, 7, 9}) grid->HideRow(r);
    EXPECT_GRID_OK(*grid);
    grid->UnHideRows(2, 9);
    EXPECT_GRID_OK(*grid);
    ASSERT_EQ(grid->RowCount(), 12);
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(grid->Cells(1, r), Tag(1, r));
        EXPECT_EQ(grid->RowHeights(r), 20 + r);
    }
}

TEST_F(IndexTest, UnHideRowsAllRestoresEveryRowInOnePass) {
    Fill(3, 15);
    grid->HideColumn(2);
    for (int r : {0, 1, 5, 9, 10, 14}) grid->HideRow(r);
    EXPECT_GRID_OK(*grid);
    grid->UnHideRowsAll();
    EXPECT_GRID_OK(*grid);
    ASSERT_EQ(grid->RowCount(), 15);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    for (int r = 0; r < 15; ++r) {
        SCOPED_TRACE(r);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(grid->Cells(c, r), Tag(c, r));
        EXPECT_EQ(grid->RowHeights(r), 20 + r);
    }
}

TEST_F(IndexTest, HideRowsExRecordsTheHeight) {
    Fill(2, 6);
    grid->HideRowsEx(2, 3);
    EXPECT_GRID_OK(*grid);
    grid->UnHideRow(2);
    grid->UnHideRow(3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RowHeights(2), 22);
    EXPECT_EQ(grid->RowHeights(3), 23);
    EXPECT_EQ(grid->Cells(1, 3), u"1:3");
}

TEST_F(IndexTest, HidingAndShowingMoveTextsWithoutCopyingThem) {
    Fill(3, 40);
    const plat::String longText = u"a text longer than any inline cell";
    struct Where {
        int col, row;
    };
    // A single row (block insertion) and a long block (one pass over the rows).
    for (const Where w : {Where{1, 5}, Where{2, 30}}) {
        SCOPED_TRACE(w.row);
        grid->SetCells(w.col, w.row, longText);
        const char16_t* before = grid->Store().CellView(w.col, w.row).data();
        if (w.row == 5) grid->HideRow(5); else grid->HideRows(10, 35);
        EXPECT_GRID_OK(*grid);
        const int i = grid->GridItems().Find(w.row);
        ASSERT_GE(i, 0);
        EXPECT_EQ(grid->GridItems().Item(i).Text(w.col).data(), before) << "hiding copied the text";
        if (w.row == 5) grid->UnHideRow(5); else grid->UnHideRows(10, 35);
        EXPECT_GRID_OK(*grid);
        EXPECT_EQ(grid->Store().CellView(w.col, w.row).data(), before) << "showing copied the text";
        EXPECT_EQ(grid->Cells(w.col, w.row), longText);
    }
}

TEST_F(IndexTest, CellsOfAHiddenRowAreReadAndWrittenInPlace) {
    Fill(4, 8);
    grid->HideColumn(2);
    grid->HideRows(2, 3);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->AllCells(2, 3), u"2:3");
    grid->SetAllCells(2, 3, u"changed while hidden");
    grid->SetAllCells(1, 2, u"");
    grid->SetObjectsEx(3, 2, grid);  // the hidden cell gets properties to hold the object
    EXPECT_EQ(grid->GetObjectsEx(3, 2), grid);
    EXPECT_GRID_OK(*grid);
    grid->ClearAll();  // clears also the texts of hidden rows, keeping their objects
    EXPECT_EQ(grid->AllCells(0, 3), u"");
    EXPECT_EQ(grid->GetObjectsEx(3, 2), grid);
    grid->SetAllCells(2, 3, u"again");
    grid->UnHideRowsAll();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->Cells(2, 3), u"again");
    EXPECT_EQ(grid->GetObjectsEx(3, 2), grid);
    EXPECT_EQ(grid->Cells(1, 2), u"");
}

TEST_F(IndexTest, CellPropertiesTravelWithAHiddenRow) {
    Fill(3, 6);
    grid->GetCellProperties(1, 3)->ReadOnly = true;
    grid->HideRow(3);
    EXPECT_FALSE(grid->HasCellProperties(1, 3));
    grid->UnHideRow(3);
    EXPECT_GRID_OK(*grid);
    ASSERT_TRUE(grid->HasCellProperties(1, 3));
    EXPECT_TRUE(grid->GetCellProperties(1, 3)->ReadOnly);
}

TEST_F(IndexTest, RowSetterReportsEachNewRowOnce) {
    Fill(4, 10);
    std::vector<std::pair<int, int>> seen;
    grid->OnRowChanged = [&](plat::TObject*, int o, int n) { seen.emplace_back(o, n); };
    grid->SetRow(5);
    grid->SetRow(5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].second, 5);
    grid->SetRow(7);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(5, 7));
    EXPECT_EQ(grid->GetRowEx(), 7);
}

TEST_F(IndexTest, SyncedGridFollowsRowAndColumn) {
    Fill(4, 10);
    auto* other = new TExtStringGrid(form.get());
    other->SetParent(form.get());
    other->SetColCount(4);
    grid->SyncGrid()->SetGrid(other);
    grid->SyncGrid()->SelectionRow = true;
    grid->SyncGrid()->SelectionColumn = true;
    grid->SetRow(6);
    grid->SetCol(3);
    EXPECT_EQ(other->Row(), 6);
    EXPECT_EQ(other->Col(), 3);
}

TEST_F(IndexTest, TopRowOutsideTheScrollableRowsIsIgnored) {
    Fill(3, 60);
    grid->SetTopRow(20);
    const int top = grid->TopRow();
    grid->SetTopRow(0);
    grid->SetTopRow(60);
    EXPECT_EQ(grid->TopRow(), top);
}

TEST_F(IndexTest, SaveRangeFollowsTheFixedCellsFlags) {
    Fill(6, 10);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->FixedFooters = 1;
    grid->FixedRightCols = 1;
    grid->SaveFixedCells = false;
    EXPECT_EQ(grid->SaveStartCol(), 1);
    EXPECT_EQ(grid->SaveStartRow(), 1);
    EXPECT_EQ(grid->SaveEndCol(), 4);
    EXPECT_EQ(grid->SaveEndRow(), 8);
    EXPECT_EQ(grid->SaveColCount(), 4);
    EXPECT_EQ(grid->SaveRowCount(), 8);
    grid->SaveFixedRows = true;
    EXPECT_EQ(grid->SaveStartRow(), 0);
    EXPECT_EQ(grid->SaveEndRow(), 9);
    EXPECT_EQ(grid->SaveRowCount(), 10);
    EXPECT_EQ(grid->SaveStartCol(), 1);
}

TEST_F(IndexTest, ParkedSelectionComesBack) {
    Fill(5, 10);
    grid->SetSelection(plat::TGridRect{1, 2, 3, 4});
    grid->HideSelection();
    grid->HideSelection();
    EXPECT_TRUE(grid->SelHidden());
    EXPECT_EQ(grid->Selection().Left, 5);
    grid->UnHideSelection();
    EXPECT_FALSE(grid->SelHidden());
    EXPECT_EQ(grid->Selection(), (plat::TGridRect{1, 2, 3, 4}));
}

TEST_F(IndexTest, UsedCellsSpansTheNonEmptyShownCells) {
    grid->SetColCount(6);
    grid->SetRowCount(8);
    EXPECT_EQ(grid->UsedCells(), (plat::TRect{0, 0, 0, 0}));
    grid->SetCells(2, 3, u"a");
    grid->SetCells(4, 6, u"b");
    grid->SetCells(5, 1, u"hidden soon");
    grid->HideColumn(0);  // the column count drops: framework column 5 is outside
    EXPECT_EQ(grid->UsedCells(), (plat::TRect{2, 3, 4, 6}));
}

TEST_F(IndexTest, ScrollInViewBringsAFarRowIntoView) {
    Fill(3, 200);
    grid->ScrollInView(1, 150);
    EXPECT_EQ(grid->Row(), 150);
    EXPECT_LE(grid->TopRow(), 150);
    EXPECT_GT(grid->TopRow() + grid->VisibleRowCount(), 150);
    grid->ScrollInView(1, 500);  // outside the grid: nothing happens
    EXPECT_EQ(grid->Row(), 150);
}

// Merging items of newly hidden rows into the store: every item keeps its own fields and the
// store ends ascending, wherever the new rows fall against the rows hidden before.
TEST(HiddenRowStore, InsertSortedMergesByRealIndex) {
    struct Case {
        const char* name;
        std::vector<int> before, added;
    };
    const Case cases[] = {
        {"into an empty store", {}, {1, 4, 6}},
        {"all above", {1, 2, 3}, {7, 9}},
        {"all below", {10, 12}, {0, 3, 5}},
        {"interleaved", {2, 5, 9, 14}, {0, 3, 4, 10, 20}},
        {"one into many", {1, 3, 5, 7, 9}, {6}},
        {"nothing added", {1, 3}, {}},
    };
    const auto items = [](const std::vector<int>& idx) {
        std::vector<TGridItem> v;
        for (int i : idx) {
            TGridItem item;
            item.Idx = i;
            item.Height = 100 + i;
            item.Level = i % 3;
            item.Modified = i % 2 == 0;
            v.push_back(std::move(item));
        }
        return v;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THiddenRows store;
        store.InsertSorted(items(c.before));
        store.InsertSorted(items(c.added));
        std::vector<int> want = c.before;
        want.insert(want.end(), c.added.begin(), c.added.end());
        std::sort(want.begin(), want.end());
        ASSERT_EQ(store.Count(), static_cast<int>(want.size()));
        EXPECT_EQ(grid::testing::Utf8(store.Check()), "");
        for (int i = 0; i < store.Count(); ++i) {
            const TGridItem& item = store.Item(i);
            EXPECT_EQ(item.Idx, want[static_cast<std::size_t>(i)]);
            EXPECT_EQ(item.Height, 100 + item.Idx);
            EXPECT_EQ(item.Level, item.Idx % 3);
            EXPECT_EQ(item.Modified, item.Idx % 2 == 0);
        }
    }
}

} // namespace
