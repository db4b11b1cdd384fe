// The row-editing helpers on small tables: moves with hidden columns, the insert question,
// the paste checks and their messages, the check-box family, Enter and the header sizing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "UComon.h"
#include "ULanguage.h"
#include "plat/Classes.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using plat::String;
namespace pt = plat::testing;

namespace {

// Row r of the fixture as "Y|a<r>|h<r>|b<r>": column 1 a check-box column, 3 hidden.
std::string Row_Text(grid::TExtStringGrid* g, int r)
{
    std::string s;
    for (int c = 1; c <= 4; ++c) {
        if (c > 1) s += "|";
        s += plat::StringToUtf8(g->Cells(c, r));
    }
    return s;
}

class RowHelpersTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 400);
        grid = new grid::TExtColumnGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(5);
        grid->SetRowCount(6);  // five data rows
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SyncColumnCount();
        grid->Columns()->GetItem(1)->SetEditor(grid::edDataCheckBox);
        Fill(5);
        grid->HideColumn(3);
        saved_jump = Enable_Jump_Field_Tables;
        saved_auto = Double_Click_Auto_Size;
    }
    void TearDown() override
    {
        Enable_Jump_Field_Tables = saved_jump;
        Double_Click_Auto_Size = saved_auto;
        form.reset();
        pt::UiTest::TearDown();
    }
    // Rows 1..used hold "Y|a<r>|h<r>|b<r>", the others are empty.
    void Fill(int used)
    {
        for (int r = 1; r <= 5; ++r) {
            const String n = plat::IntToStr(r);
            const bool u = r <= used;
            grid->SetCells(0, r, n);
            grid->SetCells(1, r, u ? u"Y" : u"");
            grid->SetCells(2, r, u ? u"a" + n : u"");
            grid->SetCells(3, r, u ? u"h" + n : u"");
            grid->SetCells(4, r, u ? u"b" + n : u"");
        }
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> v;
        for (int r = 1; r <= 5; ++r) v.push_back(Row_Text(grid, r));
        return v;
    }
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
    bool saved_jump = false, saved_auto = false;
};

TEST_F(RowHelpersTest, DeleteAndInsertMoveEveryCoveredColumn)
{
    struct Case {
        const char* what;
        int used;
        bool insert;
        int row;
        bool put_y;
        std::vector<int> answers;  // message boxes expected, answered in order
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"delete first", 5, false, 1, false, {},
         {"Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4", "Y|a5|h5|b5", "|||"}},
        {"delete middle", 5, false, 3, false, {},
         {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a4|h4|b4", "Y|a5|h5|b5", "|||"}},
        {"delete last only empties it", 5, false, 5, false, {},
         {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4", "|||"}},
        {"insert without Y", 3, true, 2, false, {},
         {"Y|a1|h1|b1", "|||", "Y|a2|h2|b2", "Y|a3|h3|b3", "|||"}},
        {"insert with Y", 3, true, 1, true, {},
         {"Y|||", "Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "|||"}},
        {"insert at the last row", 3, true, 5, true, {},
         {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "|||", "Y|||"}},
        {"insert into a full table, Yes", 5, true, 2, false, {plat::mrYes},
         {"Y|a1|h1|b1", "|||", "Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4"}},
        {"insert into a full table, No", 5, true, 2, false, {plat::mrNo},
         {"Y|a1|h1|b1", "Y|a2|h2|b2", "Y|a3|h3|b3", "Y|a4|h4|b4", "Y|a5|h5|b5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fill(c.used);
        const std::size_t before = responder().MessageBoxes().size();
        for (int a : c.answers) responder().AnswerMessageBox(a);
        if (c.insert)
            Grid_Insert_Row(c.row, grid, c.put_y);
        else
            Grid_Delete_Row(c.row, grid);
        EXPECT_EQ(Rows(), c.rows);
        ASSERT_EQ(responder().MessageBoxes().size(), before + c.answers.size());
        if (!c.answers.empty())
            EXPECT_EQ(responder().MessageTexts().back(),
                      u"The last row of the table is used and will be lost. Do you want to insert the row?");
        for (int r = 1; r <= 5; ++r) EXPECT_EQ(grid->Cells(0, r), plat::IntToStr(r)) << "column 0 untouched";
        EXPECT_EQ(grid->Cells(2, 0), u"") << "header untouched";
    }
}

TEST_F(RowHelpersTest, PasteChecksInOrderAndAsksForAUsedRow)
{
    const String e1102 = u"Error!!! Copy a valid row before Paste it";
    const String e1101 = u"Error in the Copy values!!! Copy a valid row before Paste it";
    const String q1100 = u"Row Already used. Do you want to overwrite the values?";
    struct Case {
        const char* what;
        bool copied;
        int clip_count;       // entries put into Row_Copy ("c1".."cN")
        const char16_t* target[4];  // cells 1..4 of row 5 before the paste
        int answer;           // 0: no question expected
        String message;       // empty: none
        bool pasted;
    };
    const Case cases[] = {
        {"flag false", false, 4, {u"", u"", u"", u""}, 0, e1102, false},
        {"flag false beats the count", false, 3, {u"", u"", u"", u""}, 0, e1102, false},
        {"column count differs", true, 3, {u"", u"", u"", u""}, 0, e1101, false},
        {"empty row", true, 4, {u"", u"", u"", u""}, 0, u"", true},
        {"only check-box cells used", true, 4, {u"Y", u" ", u"", u""}, 0, u"", true},
        {"used hidden cell, Yes", true, 4, {u"", u"", u"x", u""}, plat::mrYes, q1100, true},
        {"used row, No", true, 4, {u"N", u"z", u"", u""}, plat::mrNo, q1100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Row_Copy->Clear();
        for (int k = 1; k <= c.clip_count; ++k) Row_Copy->Add(u"c" + plat::IntToStr(k));
        for (int col = 1; col <= 4; ++col) grid->SetCells(col, 5, c.target[col - 1]);
        const std::string before = Row_Text(grid, 5);
        const std::size_t boxes = responder().MessageBoxes().size();
        if (c.answer) responder().AnswerMessageBox(c.answer);
        else if (!c.message.empty()) responder().AnswerMessageBox(plat::mrOk);
        Grid_Paste_Row(grid, 5, c.copied);
        if (c.message.empty()) {
            EXPECT_EQ(responder().MessageBoxes().size(), boxes);
        } else {
            ASSERT_EQ(responder().MessageBoxes().size(), boxes + 1);
            EXPECT_EQ(responder().MessageTexts().back(), c.message);
        }
        EXPECT_EQ(Row_Text(grid, 5), c.pasted ? "c1|c2|c3|c4" : before);
    }
}

TEST_F(RowHelpersTest, RowCopiedInOneWindowPastesInAnotherOfTheSameWidth)
{
    grid::TExtColumnGrid* other = new grid::TExtColumnGrid(form.get());
    other->SetParent(form.get());
    other->SetColCount(5);
    other->SetRowCount(3);
    other->SyncColumnCount();
    Grid_Copy_Row(grid, 2);
    EXPECT_EQ(Row_Copy->Count(), 4) << "hidden column copied";
    Grid_Paste_Row(other, 1, true);
    EXPECT_EQ(Row_Text(other, 1), "Y|a2|h2|b2");
    // A narrower table refuses the row.
    other->SetColCount(4);
    responder().AnswerMessageBox(plat::mrOk);
    Grid_Paste_Row(other, 2, true);
    EXPECT_EQ(responder().MessageTexts().back(), u"Error in the Copy values!!! Copy a valid row before Paste it");
}

TEST_F(RowHelpersTest, CopyResetsTheCheckFlagsOfAnEarlierCheckBoxCopy)
{
    // A check-box grid copy flags column 1; a later plain copy must not keep that flag.
    grid::TExtStringGrid* checks = new grid::TExtStringGrid(form.get());
    checks->SetParent(form.get());
    checks->SetColCount(5);
    checks->SetRowCount(3);
    checks->SetFixedCols(1);
    checks->AddCheckBox(1, 1, true, false);
    Grid_Copy_Row_Check(checks, 1);
    ASSERT_EQ(Row_Copy_Check, (std::vector<bool>{true, false, false, false}));
    Grid_Copy_Row(grid, 3);
    EXPECT_EQ(Row_Copy_Check, (std::vector<bool>{false, false, false, false}));
    // Pasted into a check-box grid, the texts stay texts: the check box keeps its state.
    checks->AddCheckBox(1, 2, false, false);
    Grid_Paste_Row_Check(checks, 2, true);
    bool state = true;
    ASSERT_TRUE(checks->GetCheckBoxState(1, 2, state));
    EXPECT_FALSE(state);
    EXPECT_EQ(checks->Cells(2, 2), u"a3");
}

class CheckRowsTest : public RowHelpersTest {
protected:
    void SetUp() override
    {
        RowHelpersTest::SetUp();
        Reset();
    }
    void Reset()
    {
        if (g) delete g;
        g = new grid::TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetColCount(4);
        g->SetRowCount(5);  // four data rows
        g->SetFixedCols(1);
        for (int r = 1; r <= 4; ++r) {
            g->AddCheckBox(1, r, r % 2 == 1, false);
            g->SetCells(2, r, u"t" + plat::IntToStr(r));
            g->SetCells(3, r, u"u" + plat::IntToStr(r));
            g->GetCellProperties(2, r)->ReadOnly = r == 2;
            g->GetCellProperties(3, r)->ReadOnly = false;
        }
    }
    // "x|t1|u1" with "x" checked, "-" unchecked, and "*" after a read-only text cell.
    std::string Row(int r)
    {
        bool s = false;
        g->GetCheckBoxState(1, r, s);
        std::string out = s ? "x" : "-";
        for (int c = 2; c <= 3; ++c) {
            out += "|" + plat::StringToUtf8(g->Cells(c, r));
            if (g->GetCellProperties(c, r)->ReadOnly) out += "*";
        }
        return out;
    }
    std::vector<std::string> All()
    {
        std::vector<std::string> v;
        for (int r = 1; r <= 4; ++r) v.push_back(Row(r));
        return v;
    }
    grid::TExtStringGrid* g = nullptr;
};

TEST_F(CheckRowsTest, StatesAndReadOnlyFlagsMoveWithTheCells)
{
    struct Case {
        const char* what;
        bool insert;
        int row;
        bool check_first;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"delete row 1", false, 1, false, {"-|t2*|u2", "x|t3|u3", "-|t4|u4", "-|*|*"}},
        {"delete row 2, check_first", false, 2, true, {"x|t1|u1", "x|t3|u3", "-|t4|u4", "x|*|*"}},
        {"insert row 1", true, 1, false, {"-||", "x|t1|u1", "-|t2*|u2", "x|t3|u3"}},
        {"insert row 2, check_first", true, 2, true, {"x|t1|u1", "x||", "-|t2*|u2", "x|t3|u3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        if (c.insert)
            Grid_Insert_Row_Check(c.row, g, c.check_first);
        else
            Grid_Delete_Row_Check(c.row, g, c.check_first);
        EXPECT_EQ(All(), c.rows);
    }
}

TEST_F(CheckRowsTest, CheckBoxCopyAndPaste)
{
    Grid_Copy_Row_Check(g, 1);
    EXPECT_EQ(Row_Copy->Text(), u"Y\r\nt1\r\nu1\r\n");
    // Row 4's only text cells are used: the question comes; a row holding only a check box
    // would not ask.
    responder().AnswerMessageBox(plat::mrYes);
    Grid_Paste_Row_Check(g, 4, true);
    EXPECT_EQ(Row(4), "x|t1|u1");
    g->SetCells(2, 4, u"");
    g->SetCells(3, 4, u"");
    g->SetCheckBoxState(1, 4, false);
    Grid_Paste_Row_Check(g, 4, true);
    EXPECT_EQ(Row(4), "x|t1|u1");
    EXPECT_EQ(responder().MessageBoxes().size(), 1u);
}

TEST_F(RowHelpersTest, EnterMovesToTheNextCellAndWraps)
{
    form->Show();
    struct Case {
        const char* what;
        bool option;
        int col, row;
        char16_t key;
        int to_col, to_row;
        char16_t key_after;
    };
    // Shown columns: 0, 1, 2, 4 (3 hidden) -> ColCount 4.
    const Case cases[] = {
        {"next column", true, 1, 2, 13, 2, 2, 0},
        {"last column to the next row", true, 3, 2, 13, 1, 3, 0},
        {"last cell to column 1, row 1", true, 3, 5, 13, 1, 1, 0},
        {"fixed column: key swallowed only", true, 0, 2, 13, 0, 2, 0},
        {"option off: key passes", false, 1, 2, 13, 1, 2, 13},
        {"other key passes", true, 1, 2, u'a', 1, 2, u'a'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Enable_Jump_Field_Tables = c.option;
        grid->SetFixedCols(c.col == 0 ? 0 : 1);
        grid->SetRow(c.row);
        grid->SetCol(c.col);
        grid->SetFixedCols(1);
        if (c.col == 0) {
            // The fixed column cannot be current by input; ask the routine directly.
            grid->SetFixedCols(0);
            grid->SetCol(0);
        }
        char16_t key = c.key;
        Grid_Enter_Next_Cell(grid, key);
        EXPECT_EQ(key, c.key_after);
        EXPECT_EQ(grid->Col(), c.to_col);
        EXPECT_EQ(grid->Row(), c.to_row);
        grid->SetFixedCols(1);
    }
}

TEST_F(RowHelpersTest, CellIntNeverWraps)
{
    struct Case {
        const char16_t* text;
        int value;
    };
    const Case cases[] = {
        {u"0", 0}, {u"1439", 1439}, {u"-1", -1}, {u"+7", 7}, {u"$10", 16}, {u"0x1F", 31},
        {u"2147483647", 2147483647}, {u"-2147483648", -2147483647 - 1}, {u"2147483648", -1},
        {u"4294967297", -1}, {u"$FFFFFFFF", -1}, {u"$7FFFFFFF", 2147483647}, {u"abc", -1},
        {u"", -1}, {u" 5", -1}, {u"5 ", -1}, {u"1e3", -1}, {u"-", -1}, {u"99999999999999999999999", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.text));
        EXPECT_EQ(Cell_Int(c.text), c.value);
    }
}

} // namespace
