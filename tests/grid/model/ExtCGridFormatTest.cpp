// Formatted cell texts of both grids, the column grid's size limits and typed item
// accessors, and bringing moved columns back into their original order.
#include <gtest/gtest.h>

#include <functional>

#include "../../platform/rtl/TestUtil.h"
#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"

using namespace grid;
using grid::testing::GridFixture;
using grid::testing::Tag;
using plat::test::ThrowsWith;

namespace {

class StringFormatTest : public GridFixture<> {};
class ColumnFormatTest : public GridFixture<TExtColumnGrid> {};

TEST_F(StringFormatTest, NumbersTakeTheFormatTheEventLeaves) {
    grid->SetColCount(3);
    // Without the event no text changes.
    grid->SetCells(1, 1, u"2.5");
    EXPECT_EQ(grid->GetFormattedCell(1, 1), u"2.5");
    struct Case {
        const char* what;
        String text;
        String format;  // what the event leaves
        bool isFloat;
        String shown;
    };
    const Case cases[] = {
        {"grid format", u"2.5", u"%.2f", true, u"2.50"},
        {"integer with a d format", u"42", u"%5d", true, u"   42"},
        {"exponent form is a number", u"1e2", u"%.1f", true, u"100.0"},
        {"event says not a number", u"2.5", u"%.2f", false, u"2.5"},
        {"event empties the format", u"2.5", u"", true, u"2.5"},
        {"no number: event not asked", u"12abc", u"%.2f", true, u"12abc"},
        {"a d format that the text does not take", u"2.5", u"%d", true, u"2.5"},
    };
    int asked = 0;
    const Case* current = nullptr;
    grid->OnGetFloatFormat = [&](plat::TObject*, int ACol, int ARow, bool& IsFloat, String& Fmt) {
        ++asked;
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 1);
        EXPECT_TRUE(IsFloat);
        EXPECT_EQ(Fmt, u"%.2f");  // the grid's FloatFormat
        IsFloat = current->isFloat;
        Fmt = current->format;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        current = &c;
        asked = 0;
        grid->SetCells(1, 1, c.text);
        EXPECT_EQ(grid->GetFormattedCell(1, 1), c.shown);
        EXPECT_EQ(asked, c.text == u"12abc" ? 0 : 1);
        EXPECT_EQ(grid->Cells(1, 1), c.text) << "formatting never writes the cell";
    }
}

TEST_F(ColumnFormatTest, ColumnFormatAppliesToNumbersOfItsColumn) {
    grid->SetColCount(5);
    grid->Columns()->Items(3)->SetFloatFormat(u"%.2f");
    grid->HideColumn(2);
    EXPECT_GRID_OK(*grid);
    struct Case {
        const char* what;
        int col;
        String text;
        String shown;
    };
    const Case cases[] = {
        {"real", 3, u"2.5", u"2.50"},
        {"integer", 3, u"7", u"7.00"},
        {"text", 3, u"abc", u"abc"},
        {"empty", 3, u"", u""},
        {"exponent form is not taken", 3, u"1e2", u"1e2"},
        {"column without a format", 1, u"2.5", u"2.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(c.col, 1, c.text);
        EXPECT_EQ(grid->GetFormattedCell(c.col, 1), c.shown);
    }
    // The event gets the real column and may change the format and the number test.
    std::vector<int> cols;
    grid->OnGetFloatFormat = [&](plat::TObject*, int ACol, int, bool& IsFloat, String& Fmt) {
        cols.push_back(ACol);
        if (ACol == 3) Fmt = u"%.3f";
        if (ACol == 1) IsFloat = false;
    };
    grid->SetCells(3, 1, u"2.5");
    EXPECT_EQ(grid->GetFormattedCell(3, 1), u"2.500");
    EXPECT_EQ(cols, std::vector<int>{3});
    // A format that cannot take a number leaves the text.
    grid->Columns()->Items(3)->SetFloatFormat(u"%s%s");
    grid->OnGetFloatFormat = nullptr;
    EXPECT_EQ(grid->GetFormattedCell(3, 1), u"2.5");
}

TEST_F(ColumnFormatTest, SizeLimitsOfTheColumnHoldTheNewWidth) {
    grid->SetColCount(4);
    TGridColumnItem* item = grid->Columns()->Items(3);
    item->MinSize = 30;
    item->MaxSize = 80;
    item->AutoMinSize = 40;
    item->AutoMaxSize = 0;  // no upper limit when sized automatically
    grid->HideColumn(1);
    // Display column 2 shows real column 3, display column 1 real column 2.
    std::vector<std::pair<int, int>> seen;
    grid->OnUpdateColumnSize = [&](plat::TObject*, int ACol, int& W) { seen.emplace_back(ACol, W); };
    struct Case {
        const char* what;
        bool automatic;
        int col, width, result;
    };
    const Case cases[] = {
        {"below the minimum", false, 2, 10, 30},     {"inside", false, 2, 50, 50},
        {"above the maximum", false, 2, 100, 80},    {"auto below its minimum", true, 2, 10, 40},
        {"auto without a maximum", true, 2, 500, 500}, {"column without limits", false, 1, 5, 5},
        {"auto, column without limits", true, 1, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seen.clear();
        int w = c.width;
        if (c.automatic) grid->UpdateAutoColumnSize(c.col, w); else grid->UpdateColumnSize(c.col, w);
        EXPECT_EQ(w, c.result);
        // The event runs after the limits.
        EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{c.col, c.result}}));
    }
}

TEST_F(ColumnFormatTest, TypedAccessorsOfAnItem) {
    grid->SetColCount(4);
    grid->HideColumn(1);
    TGridColumnItem* item = grid->Columns()->Items(2);
    item->SetInts(1, 42);
    EXPECT_EQ(grid->Cells(2, 1), u"42");
    EXPECT_EQ(item->Ints(1), 42);
    item->SetFloats(2, 2.5);
    EXPECT_DOUBLE_EQ(item->Floats(2), 2.5);
    EXPECT_EQ(item->Rows(2), grid->Cells(2, 2));
    item->SetDates(3, 45000);
    EXPECT_DOUBLE_EQ(item->Dates(3), 45000);
    item->SetTimes(4, 0.5);
    EXPECT_DOUBLE_EQ(item->Times(4), 0.5);
    item->SetRows(1, u"12abc");
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { (void)item->Ints(1); }, u"Cell does not contain integer value"));
    item->SetRows(1, u"1.2.3");
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { (void)item->Floats(1); }, u"Cell does not contain a float value"));
    TGridColumnItem loose(nullptr);
    EXPECT_EQ(loose.Ints(1), 0);
    loose.SetInts(1, 5);  // no grid: nothing happens
}

TEST_F(StringFormatTest, ResetColumnOrderBringsMovedAndHiddenColumnsBack) {
    Fill(5, 3);
    grid->SetColumnOrder();
    grid->MoveColumn(1, 3);
    grid->MoveColumn(4, 0);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->ColumnAtPosition(0), 4);
    EXPECT_EQ(grid->ColumnPosition(1), 4);  // order 4, 0, 2, 3, 1
    grid->HideColumn(2);
    grid->ResetColumnOrder();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->NumHiddenColumns(), 0);
    for (int c = 0; c < 5; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(grid->Cells(c, 1), Tag(c, 1));
        EXPECT_EQ(grid->ColumnAtPosition(c), c);
    }
    // Without an order it is taken as it stands.
    grid->ColumnOrder()->Clear();
    grid->MoveColumn(0, 1);
    grid->ResetColumnOrder();
    EXPECT_EQ(grid->ColumnOrder()->Count(), 5);
    EXPECT_EQ(grid->Cells(0, 1), Tag(1, 1));
}

} // namespace
