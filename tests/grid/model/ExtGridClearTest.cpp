// Clearing, trimming, merging runs and numbering of the string grid.
#include <gtest/gtest.h>

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

namespace {

class ClearTest : public grid::testing::GridFixture<> {
protected:
    void Fill(int cols, int rows) {
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) grid->SetCells(c, r, plat::IntToStr(c) + u":" + plat::IntToStr(r));
    }
    std::vector<plat::String> Column(int c) {
        std::vector<plat::String> v;
        for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(c, r));
        return v;
    }
};

TEST_F(ClearTest, AutoNumberColCountsFromTheStartInEitherDirection) {
    struct Case {
        const char* what;
        TSortDirection dir;
        int start, offset;
        std::vector<plat::String> expected;  // rows 0 .. 5; row 0 fixed, row 5 a footer
    };
    const Case cases[] = {
        {"ascending", sdAscending, 0, 0, {u"h", u"1", u"2", u"3", u"4", u"f"}},
        {"descending", sdDescending, 0, 0, {u"h", u"4", u"3", u"2", u"1", u"f"}},
        {"start 2", sdAscending, 2, 0, {u"h", u"x", u"x", u"3", u"4", u"f"}},
        {"offset 10", sdAscending, 0, 10, {u"h", u"11", u"12", u"13", u"14", u"f"}},
        // Numbering from the bottom skips the first AutoNumberStart rows of that order.
        {"descending from start 2", sdDescending, 2, 0, {u"h", u"4", u"3", u"x", u"x", u"f"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        grid->SetColCount(2);
        grid->SetRowCount(6);
        grid->SetFixedRows(1);
        grid->FixedFooters = 1;
        grid->SetCells(1, 0, u"h");
        for (int r = 1; r < 5; ++r) grid->SetCells(1, r, u"x");
        grid->SetCells(1, 5, u"f");
        grid->AutoNumberDirection = k.dir;
        grid->AutoNumberStart = k.start;
        grid->AutoNumberOffset = k.offset;
        grid->AutoNumberCol(1);
        EXPECT_GRID_OK(*grid);
        EXPECT_EQ(Column(1), k.expected);
    }
}

TEST_F(ClearTest, MergeRowCellsMergesRunsAndGivesASingleCellASpanRecord) {
    grid->SetColCount(6);
    grid->SetFixedCols(1);
    const plat::String texts[] = {u"", u"a", u"a", u"b", u"c", u"c"};
    for (int c = 0; c < 6; ++c) grid->SetCells(c, 1, texts[c]);
    grid->MergeRowCells(1, true);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->CellSpan(1, 1).X, 1);
    EXPECT_TRUE(grid->IsMergedNonBaseCell(2, 1));
    EXPECT_TRUE(grid->HasCellProperties(3, 1));
    EXPECT_EQ(grid->CellSpan(3, 1).X, 0);
    EXPECT_EQ(grid->CellSpan(4, 1).X, 1);
}

TEST_F(ClearTest, MergeColumnCellsMergesOnlyRunsOfTwoOrMore) {
    grid->SetColCount(2);
    grid->SetRowCount(7);
    grid->SetFixedRows(1);
    const plat::String texts[] = {u"h", u"a", u"b", u"b", u"c", u"d", u"d"};
    for (int r = 0; r < 7; ++r) grid->SetCells(1, r, texts[r]);
    grid->MergeColumnCells(1, true);
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->HasCellProperties(1, 1));
    EXPECT_EQ(grid->CellSpan(1, 2).Y, 1);
    EXPECT_FALSE(grid->HasCellProperties(1, 4));
    EXPECT_EQ(grid->CellSpan(1, 5).Y, 1);
    grid->SplitColumnCells(1);
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->IsMergedCell(1, 2));
}

TEST_F(ClearTest, ClearTextOnlyKeepsTheCellProperties) {
    Fill(3, 3);
    grid->ColorRect(1, 1, 2, 2, plat::clRed);
    grid->AddCheckBox(2, 2, true, false);
    grid->ClearTextOnly = true;
    grid->ClearRect(1, 1, 2, 2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->Cells(1, 1), u"");
    EXPECT_EQ(grid->Cells(2, 2), u"");
    ASSERT_TRUE(grid->HasCellProperties(1, 1));
    EXPECT_EQ(grid->GetCellProperties(1, 1)->BrushColor(), plat::clRed);
    EXPECT_EQ(grid->GetCellProperties(2, 2)->BrushColor(), plat::clRed);
    EXPECT_TRUE(grid->HasCheckBox(2, 2));
    grid->ClearTextOnly = false;
    grid->ClearRect(1, 1, 2, 2);
    EXPECT_GRID_OK(*grid);
    EXPECT_FALSE(grid->HasCellProperties(1, 1));
    EXPECT_FALSE(grid->HasCheckBox(2, 2));
    EXPECT_EQ(grid->Cells(0, 1), u"0:1");
}

TEST_F(ClearTest, ClearEmptiesHiddenColumnsAndClearAllHiddenRows) {
    Fill(4, 5);
    grid->HideColumn(2);
    grid->HideRow(3);
    std::vector<plat::TRect> seen;
    grid->OnCellsChanged = [&](plat::TObject*, const plat::TRect& R) { seen.push_back(R); };
    grid->Clear();
    EXPECT_EQ(grid->Cells(2, 0), u"");
    EXPECT_EQ(grid->GridItems().Item(0).Text(0), u"0:3");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (plat::TRect{0, 0, 3, 3}));
    grid->ClearAll();
    EXPECT_TRUE(grid->IsHiddenRow(3));
    grid->UnHideRow(3);
    EXPECT_GRID_OK(*grid);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(grid->Cells(c, 3), u"");
}

TEST_F(ClearTest, IsCellFindsTheFirstExactMatchInRowOrder) {
    grid->SetColCount(6);
    grid->SetRowCount(4);
    grid->SetCells(5, 1, u"Key");
    grid->SetCells(0, 2, u"Key");
    grid->SetCells(0, 0, u"key");
    int c = -1, r = -1;
    ASSERT_TRUE(grid->IsCell(u"Key", c, r));
    EXPECT_EQ(c, 5);
    EXPECT_EQ(r, 1);
    EXPECT_FALSE(grid->IsCell(u"Ke", c, r));
}

TEST_F(ClearTest, TrimAndJoinColumns) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedRows(1);
    grid->SetCells(1, 1, u"  a \t");
    grid->SetCells(2, 1, u"b");
    grid->TrimColumn(1);
    EXPECT_EQ(grid->Cells(1, 1), u"a");
    grid->MergeCols(1, 2, u"-");
    EXPECT_EQ(grid->Cells(1, 1), u"a-b");
    EXPECT_EQ(grid->AllColCount(), 2);
    EXPECT_TRUE(grid->IsWideCell(1, 1) == false);
    grid->SetCells(1, 2, u"|\\0041");
    EXPECT_TRUE(grid->IsWideCell(1, 2));
}

} // namespace
