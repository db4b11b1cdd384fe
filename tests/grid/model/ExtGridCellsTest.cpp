#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "../../platform/rtl/TestUtil.h"

using namespace grid;
namespace pt = plat::testing;
using plat::test::ThrowsWith;

namespace {

class ExtGridCellsTest : public grid::testing::GridFixture<> {};

TEST_F(ExtGridCellsTest, TypedReadsAndTheirErrors) {
    struct Case {
        const char* what;
        String text;
        std::function<void(TExtStringGrid&)> read;
        String error;  // empty: no error
    };
    const String noInt = u"Cell does not contain integer value";
    const String noFloat = u"Cell does not contain a float value";
    const Case cases[] = {
        {"Ints of empty", u"", [](TExtStringGrid& g) { EXPECT_EQ(g.Ints(1, 1), 0); }, u""},
        {"Ints of -", u"-", [](TExtStringGrid& g) { EXPECT_EQ(g.Ints(1, 1), 0); }, u""},
        {"Ints of 12abc", u"12abc", [](TExtStringGrid& g) { (void)g.Ints(1, 1); }, noInt},
        {"Ints of markup 42", u"<b> 42</b>", [](TExtStringGrid& g) { EXPECT_EQ(g.Ints(1, 1), 42); }, u""},
        {"AllInts keeps markup", u"<b>42</b>", [](TExtStringGrid& g) { (void)g.AllInts(1, 1); }, noInt},
        {"Floats of 2.5", u"2.5", [](TExtStringGrid& g) { EXPECT_DOUBLE_EQ(g.Floats(1, 1), 2.5); }, u""},
        {"Floats of -", u"-", [](TExtStringGrid& g) { EXPECT_DOUBLE_EQ(g.Floats(1, 1), 0); }, u""},
        {"Floats of abc", u"abc", [](TExtStringGrid& g) { EXPECT_DOUBLE_EQ(g.Floats(1, 1), 0); }, u""},
        {"Floats of 1.2.3", u"1.2.3", [](TExtStringGrid& g) { (void)g.Floats(1, 1); }, noFloat},
        {"PrintColWidth[512]", u"", [](TExtStringGrid& g) { (void)g.PrintColWidth(512); },
         u"Columns is not in valid range"},
        {"PrintColOffset[-1]", u"", [](TExtStringGrid& g) { (void)g.PrintColOffset(-1); },
         u"Columns is not in valid range"},
        {"GetRowSelect(-1)", u"", [](TExtStringGrid& g) { (void)g.GetRowSelect(-1); }, u"Invalid row -1 accessed"},
        {"GetRowSelect(10)", u"", [](TExtStringGrid& g) { (void)g.GetRowSelect(10); }, u"Invalid row 10 accessed"},
        {"SetRowSelect(-1)", u"", [](TExtStringGrid& g) { g.SetRowSelect(-1, true); }, u"Invalid row accessed"},
        {"SetColSelect(5)", u"", [](TExtStringGrid& g) { g.SetColSelect(5, true); }, u"Invalid column accessed"},
        {"GetColSelect(-1)", u"", [](TExtStringGrid& g) { (void)g.GetColSelect(-1); }, u"Invalid column accessed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(1, 1, c.text);
        if (c.error.empty()) {
            c.read(*grid);
        } else {
            const String before = grid->Cells(1, 1);
            EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { c.read(*grid); }, c.error));
            EXPECT_EQ(grid->Cells(1, 1), before);
        }
    }
}

TEST_F(ExtGridCellsTest, TypedWrites) {
    grid->SetInts(1, 1, -7);
    EXPECT_EQ(grid->Cells(1, 1), u"-7");
    grid->SetFloats(1, 2, 3.14159);
    EXPECT_EQ(grid->Cells(1, 2), u"3.14");
    grid->FloatFormat = u"%.1f";
    grid->SetAllFloats(1, 3, 2.24);
    EXPECT_EQ(grid->Cells(1, 3), u"2.2");
    grid->ShowNullDates = false;
    grid->SetCells(2, 1, u"x");
    grid->SetDates(2, 1, 0);
    EXPECT_EQ(grid->Cells(2, 1), u"");
    grid->ShowNullDates = true;
    grid->SetDates(2, 1, plat::EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(grid->Dates(2, 1), plat::EncodeDate(2024, 2, 29));
    grid->SetTimes(2, 2, plat::EncodeTime(13, 5, 9, 0));
    EXPECT_NEAR(grid->Times(2, 2), plat::EncodeTime(13, 5, 9, 0), 1e-9);
    grid->SetCells(2, 3, u"no date");
    EXPECT_TRUE(ThrowsWith<plat::EConvertError>([&] { (void)grid->Dates(2, 3); }, u"'no date' is not a valid date"));
}

TEST_F(ExtGridCellsTest, StrippedCellsAndControlValues) {
    grid->SetCells(1, 1, u"<b>bold</b><br>next");
    EXPECT_EQ(grid->GetStrippedCell(1, 1), u"bold\r\nnext");
    grid->SetCells(2, 1, u"<CONTROL ID=\"e\" TYPE=\"EDIT\" VALUE=\"a\" WIDTH=\"50\" HEIGHT=\"30\">");
    EXPECT_EQ(grid->GetCtrlVal(2, 1, u"e"), u"a");
    EXPECT_EQ(grid->GetCtrlVal(2, 1, u"x"), u"");
    grid->SetCtrlVal(2, 1, u"e", u"b&c");
    EXPECT_EQ(grid->Cells(2, 1), u"<CONTROL ID=\"e\" TYPE=\"EDIT\" VALUE=\"b&amp;c\" WIDTH=\"50\" HEIGHT=\"30\">");
    EXPECT_EQ(grid->GetCtrlVal(2, 1, u"e"), u"b&c");
}

TEST_F(ExtGridCellsTest, HighlightAndMarkRanges) {
    grid->SetCells(1, 1, u"a<b");
    grid->SetCells(2, 1, u"ab");
    grid->SetCells(1, 0, u"ab");
    grid->HilightInRow(false, false, 1, u"b");
    EXPECT_EQ(grid->Cells(1, 1), u"a&lt;<hi>b</hi>");
    EXPECT_EQ(grid->Cells(2, 1), u"a<hi>b</hi>");
    grid->UnHilightInRow(false, 1);
    EXPECT_EQ(grid->Cells(1, 1), u"a<b");
    EXPECT_EQ(grid->Cells(2, 1), u"ab");
    grid->MarkInCol(false, true, 1, u"B");
    EXPECT_EQ(grid->Cells(1, 0), u"ab");  // fixed row left out
    EXPECT_EQ(grid->Cells(1, 1), u"a&lt;b");
    grid->MarkInCol(true, false, 1, u"B");
    EXPECT_EQ(grid->Cells(1, 0), u"a<e>b</e>");
    grid->UnMarkInGrid(true);
    EXPECT_EQ(grid->Cells(1, 0), u"ab");
    EXPECT_EQ(grid->HilightText(true, u"xXx", u"x"), u"<hi>x</hi>X<hi>x</hi>");
}

TEST_F(ExtGridCellsTest, RowColorNoneResetsOnlyTheColour) {
    grid->SetReadOnly(2, 3, true);
    grid->SetColors(3, 3, 0x00FF00);
    grid->MergeCells(1, 3, 1, 2);
    grid->SetRowColor(3, 0x0000FF);
    EXPECT_EQ(grid->Colors(2, 3), 0x0000FFu);
    grid->SetRowColor(3, plat::clNone);
    grid->SetRowColorTo(3, plat::clNone);
    grid->SetRowFontColor(3, plat::clNone);
    EXPECT_TRUE(grid->ReadOnly(2, 3));
    EXPECT_EQ(grid->Colors(2, 3), plat::clNone);
    EXPECT_EQ(grid->Colors(3, 3), plat::clNone);
    EXPECT_TRUE(grid->IsMergedCell(1, 4));
    EXPECT_FALSE(grid->HasCellProperties(1, 5));
    EXPECT_EQ(grid->Map().CheckMerges(), u"");
}

TEST_F(ExtGridCellsTest, PropertyReadsCreateNothing) {
    EXPECT_EQ(grid->Colors(1, 1), plat::clNone);
    EXPECT_FALSE(grid->ReadOnly(1, 1));
    EXPECT_EQ(grid->FontSizes(1, 1), 0);
    EXPECT_EQ(grid->Alignments(1, 1), plat::taLeftJustify);
    EXPECT_FALSE(grid->HasCellProperties(1, 1));
    (void)grid->WordWraps(1, 1);
    EXPECT_TRUE(grid->HasCellProperties(1, 1));
}

TEST_F(ExtGridCellsTest, RowEnabledMovesTheCurrentRowOnlyWhenDisablingIt) {
    grid->SetRow(3);
    grid->SetRowEnabled(3, true);
    EXPECT_EQ(grid->Row(), 3);
    grid->SetRowEnabled(1, false);
    grid->SetRowEnabled(3, false);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->RowEnabled(3));
    EXPECT_TRUE(grid->RowEnabled(9));
    grid->SetRowModified(4, true);
    grid->SetRowModified(6, true);
    grid->SetRowModified(4, false);
    EXPECT_EQ(grid->ModifiedRowCount(), 1);
    EXPECT_TRUE(grid->RowModified(6));
    EXPECT_FALSE(grid->RowModified(20));
}

TEST_F(ExtGridCellsTest, RowSelection) {
    grid->SelectRows(8, 5);  // 10 rows: rows 8 and 9
    EXPECT_EQ(grid->Selection().Top, 8);
    EXPECT_EQ(grid->Selection().Bottom, 9);
    EXPECT_EQ(grid->RowSelectCount(), 2);
    EXPECT_TRUE(grid->GetRowSelect(9));
    EXPECT_FALSE(grid->GetRowSelect(7));

    grid->MouseActions()->SetDisjunctRowSelect(true);
    int asked = 0, told = 0;
    grid->OnRowDisjunctSelect = [&](plat::TObject*, int ARow, bool, bool& Allow) {
        ++asked;
        Allow = ARow != 5;
    };
    grid->OnRowDisjunctSelected = [&](plat::TObject*, int) { ++told; };
    grid->SelectRows(8, 5);
    grid->SetRowSelect(5, true);  // refused
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(told, 2);
    EXPECT_EQ(grid->RowSelectCount(), 2);
    EXPECT_EQ(grid->SelectedRows()->StrValue(), u"8,9");
    grid->SetRowSelect(8, true);  // unchanged: not asked again
    EXPECT_EQ(asked, 3);
    grid->UnSelectRows(8, 1);
    EXPECT_EQ(grid->SelectedRows()->StrValue(), u"9");
    grid->ClearRowSelect();
    EXPECT_EQ(grid->RowSelectCount(), 0);
}

TEST_F(ExtGridCellsTest, HeadersFillsAndSwap) {
    plat::TStringList h;
    h.Add(u"A");
    h.Add(u"B\\nC");
    grid->SetColumnHeaders(h);
    EXPECT_EQ(grid->Cells(1, 0), EscapedNewlineToLineBreak(u"B\\nC"));
    EXPECT_EQ(grid->ColumnByHeader(u"A"), 0);
    EXPECT_EQ(grid->ColumnByHeader(u"Z"), -1);
    grid->LinearFill(false);
    EXPECT_EQ(grid->Cells(2, 3), u"2:3");
    EXPECT_EQ(grid->Cells(0, 3), u"");
    grid->FormatFill(false, u"%d/%d");
    EXPECT_EQ(grid->Cells(4, 9), u"4/9");
    grid->SetColors(1, 1, 0x123456);
    grid->SwapCells({1, 1}, {2, 2});
    EXPECT_EQ(grid->Cells(1, 1), u"2/2");
    EXPECT_EQ(grid->Colors(2, 2), 0x123456u);
    EXPECT_EQ(grid->Colors(1, 1), plat::clNone);
    EXPECT_EQ(grid->ColumnPosition(3), 3);
    grid->SetColumnOrder();
    EXPECT_EQ(grid->ColumnAtPosition(2), 2);
}

TEST_F(ExtGridCellsTest, CellControlsCountAndPlacement) {
    auto* edit = new plat::TEdit(form.get());
    grid->SetCellControls(2, 2, edit);
    EXPECT_EQ(grid->NumCellControls(), 1);
    EXPECT_EQ(grid->GetCellControls(2, 2), edit);
    const plat::TRect r = grid->CellRect(2, 2);
    EXPECT_EQ(edit->Left(), r.Left - 1);
    EXPECT_EQ(edit->Width(), r.Right - r.Left + 1);
    grid->SetCellControls(2, 2, edit);  // replacing counts the cell once
    EXPECT_EQ(grid->NumCellControls(), 1);
    grid->SetCellControls(2, 2, nullptr);
    EXPECT_EQ(grid->NumCellControls(), 0);
    EXPECT_EQ(grid->ControlList()->Count(), 0);
}

} // namespace
