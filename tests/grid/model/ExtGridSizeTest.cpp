// Automatic sizing of the string grid's columns and rows.
#include <gtest/gtest.h>

#include <memory>

#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class SizeTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        Setup(*grid);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    static void Setup(TExtStringGrid& g) {
        g.SetColCount(4);
        g.SetRowCount(5);
        g.SetFixedRows(1);
        g.SetCells(1, 0, u"Id");
        g.SetCells(1, 1, u"a");
        g.SetCells(1, 2, u"a somewhat wider text");
        g.SetCells(1, 3, u"mid text");
    }
    // Width of a text in the grid's font.
    int TextW(TExtStringGrid& g, const plat::String& s, bool fixed = false) {
        g.Canvas()->Font()->Assign(fixed ? *g.FixedFont() : *g.Font());
        return g.Canvas()->TextWidth(s);
    }
    int Sized(TExtStringGrid& g, int content) {
        return content + g.TotalXOffset() + 2 * g.GridLineWidth() + 2;
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

TEST_F(SizeTest, AutoSizeColFitsTheWidestCellWithinTheLimits) {
    const int wide = Sized(*grid, TextW(*grid, u"a somewhat wider text"));
    struct Case {
        const char* what;
        int start, minW, maxW, padding;
        bool growOnly;
        int expected;
    };
    const Case cases[] = {
        {"shrinks to the widest cell", 400, 0, 0, 0, false, wide},
        {"grows to the widest cell", 10, 0, 0, 0, false, wide},
        {"grow only keeps a wider column", 400, 0, 0, 0, true, 400},
        {"grow only still grows", 10, 0, 0, 0, true, wide},
        {"equal limits leave the measured width", 10, 50, 50, 0, false, wide},
        {"minimum", 10, 300, 0, 0, false, 300},
        {"maximum", 10, 0, 20, 0, false, 20},
        {"padding", 10, 0, 0, 7, false, wide + 7},
        {"padding within the maximum", 10, 0, wide + 3, 7, false, wide + 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        grid->SetColWidths(1, k.start);
        grid->MinColWidth = k.minW;
        grid->MaxColWidth = k.maxW;
        grid->SizeGrowOnly = k.growOnly;
        grid->AutoSizeCol(1, k.padding);
        EXPECT_EQ(grid->ColWidths(1), k.expected);
    }
}

TEST_F(SizeTest, RowsMeasuredGraphicsMergesAndHiddenColumns) {
    grid->ColumnSize()->Rows = arFixed;
    grid->AutoSizeCol(1);
    EXPECT_EQ(grid->ColWidths(1), Sized(*grid, TextW(*grid, u"Id", true)));
    grid->ColumnSize()->Rows = arAll;
    // A check box adds its width to its cell's text.
    grid->SetCells(2, 1, u"a somewhat wider text");
    grid->SetCells(2, 2, u"a somewhat wider text");
    grid->AddCheckBox(2, 2, false, false);
    const int box = grid->GetCellGraphicSize(2, 2).X;
    ASSERT_GT(box, 0);
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(2), Sized(*grid, TextW(*grid, u"a somewhat wider text") + box));
    // A cell merged across columns is not measured.
    grid->MergeCells(1, 2, 2, 1);
    grid->AutoSizeCol(1);
    EXPECT_EQ(grid->ColWidths(1), Sized(*grid, TextW(*grid, u"mid text")));
    grid->SplitCells(1, 2);
    // Display column 1 is real column 2 once column 1 is hidden.
    grid->HideColumn(1);
    EXPECT_GRID_OK(*grid);
    grid->AutoSizeCol(1);
    EXPECT_EQ(grid->ColWidths(1), Sized(*grid, TextW(*grid, u"a somewhat wider text") + box));
    // Multi-line cells: the widest line.
    grid->UnHideColumn(1);
    grid->SetCells(3, 1, u"short\r\na much longer line");
    grid->AutoSizeCol(3);
    EXPECT_EQ(grid->ColWidths(3), Sized(*grid, TextW(*grid, u"a much longer line")));
}

TEST_F(SizeTest, ColumnGridKeepsItsAutoLimits) {
    auto* cg = new TExtColumnGrid(form.get());
    cg->SetParent(form.get());
    Setup(*cg);
    EXPECT_GRID_OK(*cg);
    cg->Columns()->Items(1)->AutoMinSize = 250;
    cg->AutoSizeCol(1);
    EXPECT_EQ(cg->ColWidths(1), 250);
    cg->Columns()->Items(1)->AutoMinSize = 0;
    cg->Columns()->Items(1)->AutoMaxSize = 30;
    cg->AutoSizeCol(1);
    EXPECT_EQ(cg->ColWidths(1), 30);
}

TEST_F(SizeTest, RowsAndCells) {
    grid->Canvas()->Font()->Assign(*grid->Font());
    const int lineH = grid->Canvas()->TextHeight(u"gh");
    grid->SetCells(2, 2, u"one\r\ntwo\r\nthree");
    grid->AutoSizeRow(2);
    EXPECT_EQ(grid->RowHeights(2), 3 * lineH + grid->TotalYOffset() + 2 * grid->GridLineWidth());
    grid->MaxRowHeight = 20;
    grid->AutoSizeRow(2);
    EXPECT_EQ(grid->RowHeights(2), 20);
    grid->MaxRowHeight = 0;
    grid->SetWordWrap(false);
    grid->MultilineCells = true;
    grid->AutoSizeRows(false, 2);
    EXPECT_EQ(grid->RowHeights(2), 2 + 3 * (lineH + lineH / 8));
    EXPECT_EQ(grid->RowHeights(1), 2 + (lineH + lineH / 8));
    grid->SetColWidths(1, 5);
    grid->AutoSizeCells(false, 3, 0);
    EXPECT_EQ(grid->ColWidths(1), TextW(*grid, u"a somewhat wider text") + 3 + grid->XYOffset().X);
}

TEST_F(SizeTest, AutoFitColumnsFillsTheWidth) {
    grid->SetBounds(0, 0, 400, 300);
    grid->SetBorderStyle(plat::bsNone);
    grid->SetFixedCols(0);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Exclude(plat::goVertLine).Exclude(plat::goFixedVertLine));
    for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 50 + 10 * c);
    grid->AutoFitColumns(true);
    int sum = 0;
    for (int c = 0; c < 4; ++c) sum += grid->ColWidths(c);
    EXPECT_EQ(sum, 400);
    EXPECT_LT(grid->ColWidths(0), grid->ColWidths(3));
    // Already filling: nothing changes.
    const int w0 = grid->ColWidths(0);
    grid->AutoFitColumns(true);
    EXPECT_EQ(grid->ColWidths(0), w0);
}

} // namespace
