// Selected text and selection queries of the string grid.
#include <gtest/gtest.h>

#include <memory>

#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class SelectTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(6);
        grid->SetRowCount(8);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

TEST_F(SelectTest, SelectedTextJoinsCellsByTabAndRowsByCrLf) {
    grid->SetCells(1, 1, u"a");
    grid->SetCells(2, 1, u"b");
    grid->SetCells(1, 2, u"c");
    grid->SetCells(2, 2, u"d");
    grid->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(grid->SelectedText(), u"a\tb\r\nc\td");
    // Hidden column 2: display column 2 shows real column 3.
    grid->SetCells(3, 1, u"e");
    grid->HideColumn(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->SelectedText(), u"a\te\r\nc\t");
    grid->UnHideColumn(2);
    // A multi-line cell is quoted for spreadsheets, its line breaks as vertical tabs.
    grid->SetCells(2, 2, u"x\r\ny");
    grid->ExcelClipboardFormat = true;
    EXPECT_EQ(grid->SelectedText(), u"a\tb\r\nc\t\"x\vy\"");
    grid->ExcelClipboardFormat = false;
    // Disjunct rows: only the selected rows of the rectangle.
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SelectCells(1, 1, 2, 3);
    grid->SetCells(1, 3, u"f");
    grid->SetRowSelect(1, true);
    grid->SetRowSelect(3, true);
    EXPECT_EQ(grid->SelectedText(), u"a\tb\r\nf\t");
}

TEST_F(SelectTest, DisjunctCellsArePackedRowHighColumnLow) {
    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->SetSelectedCells(3, 2, true);
    ASSERT_EQ(grid->SelectedCellList()->Count(), 1);
    EXPECT_EQ(grid->SelectedCellList()->GetInteger(0), 2 * 65536 + 3);
    EXPECT_TRUE(grid->SelectedCells(3, 2));
    EXPECT_TRUE(grid->IsSelected(3, 2));
    EXPECT_FALSE(grid->IsSelected(2, 3));
    grid->SetSelectedCells(5, 7, true);
    EXPECT_EQ(grid->SelectedCellsCount(), 2);
    EXPECT_EQ(grid->SelectedCell(1), (plat::TPoint{5, 7}));
    EXPECT_EQ(grid->SelectedCell(2), (plat::TPoint{-1, -1}));
    grid->SetSelectedCells(3, 2, false);
    EXPECT_EQ(grid->SelectedCellsCount(), 1);
    // Fixed cells are never selected in disjunct mode.
    grid->SetSelectedCells(0, 2, true);
    EXPECT_FALSE(grid->IsSelected(0, 2));
    grid->ClearSelectedCells();
    EXPECT_EQ(grid->SelectedCellsCount(), 0);
    EXPECT_EQ(grid->Selection(), (plat::TGridRect{1, 1, 1, 1}));
}

TEST_F(SelectTest, RectangleQueries) {
    grid->SelectCells(2, 3, 4, 5);
    struct Case {
        int col, row;
        bool selected;
    };
    for (const Case k : {Case{2, 3, true}, Case{4, 5, true}, Case{3, 4, true}, Case{1, 3, false}, Case{4, 6, false}}) {
        SCOPED_TRACE(::testing::Message() << k.col << "," << k.row);
        EXPECT_EQ(grid->IsSelected(k.col, k.row), k.selected);
        EXPECT_EQ(grid->SelectedCells(k.col, k.row), k.selected);
    }
    EXPECT_EQ(grid->SelectedCellsCount(), 9);
    EXPECT_EQ(grid->SelectedCell(0), (plat::TPoint{2, 3}));
    EXPECT_EQ(grid->SelectedCell(8), (plat::TPoint{4, 5}));
    EXPECT_EQ(grid->SelectedColCount(), 3);
    EXPECT_EQ(grid->SelectedRowCount(), 3);
    EXPECT_EQ(grid->SelectedRow(0), 3);
    EXPECT_EQ(grid->SelectedRow(2), 5);
    EXPECT_EQ(grid->SelectedRow(3), -1);
    // The footer row does not count; a merged cell at the top-left widens the counts.
    grid->FixedFooters = 1;
    grid->SelectCells(2, 5, 2, 7);
    EXPECT_EQ(grid->SelectedRowCount(), 2);
    grid->FixedFooters = 0;
    grid->MergeCells(2, 3, 3, 3);
    grid->SelectCells(2, 3, 3, 3);
    EXPECT_EQ(grid->SelectedColCount(), 3);
    EXPECT_EQ(grid->SelectedRowCount(), 3);
    EXPECT_GRID_OK(*grid);
}

TEST_F(SelectTest, DisjunctRowsAndColumns) {
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetRowSelect(2, true);
    grid->SetRowSelect(5, true);
    EXPECT_EQ(grid->SelectedRowCount(), 2);
    EXPECT_EQ(grid->SelectedRow(1), 5);
    EXPECT_EQ(grid->SelectedRow(2), -1);
    EXPECT_TRUE(grid->IsSelected(3, 5));
    EXPECT_FALSE(grid->IsSelected(3, 4));
    grid->MouseActions()->SetDisjunctRowSelect(false);
    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->SetColSelect(1, true);
    grid->SetColSelect(4, true);
    EXPECT_EQ(grid->SelectedColCount(), 2);
    EXPECT_TRUE(grid->IsSelected(4, 6));
    EXPECT_FALSE(grid->IsSelected(4, 0));
}

TEST_F(SelectTest, ClearModifiedRows) {
    grid->SetRowModified(2, true);
    grid->SetRowModified(4, true);
    EXPECT_EQ(grid->ModifiedRowCount(), 2);
    grid->ClearModifiedRows();
    EXPECT_EQ(grid->ModifiedRowCount(), 0);
    EXPECT_FALSE(grid->RowModified(2));
    EXPECT_GRID_OK(*grid);
}

} // namespace
