// The open editor and its cell through the real event path: a cell written by the program
// while its editor is open, typing written into the cell as it happens, the combo editor's
// list notifications with DirectComboClose, the date editors' changes, an empty date cell
// left unchanged, the keypad's decimal point. Every case runs once with real column 1 hidden,
// so that shown and real column indexes differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridDatePicker.h"
#include "GridEditors.h"
#include "GridEditors2.h"
#include "plat/ImgList.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

enum Real { kNum, kSpare, kText, kList, kEditCombo, kSpin, kDate, kTime, kDateTime, kFloat, kBtn, kColCount };

class GridEditNotifyTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings.DateSeparator = u'.';
        plat::FormatSettings.TimeSeparator = u':';
        plat::FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
        plat::FormatSettings.LongTimeFormat = u"hh:nn:ss";
        plat::FormatSettings.ShortTimeFormat = u"hh:nn";
        plat::FormatSettings.DecimalSeparator = u',';
        grid->SetBounds(4, 4, 590, 300);
        grid->SetColCount(kColCount);
        grid->SetRowCount(6);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        const TEditorType editors[kColCount] = {edNormal,   edNormal, edNormal,       edComboList, edComboEdit, edSpinEdit,
                                                edDateEdit, edTimeEdit, edDateTimeEdit, edFloat,     edEditBtn};
        for (int c = 0; c < kColCount; ++c) {
            grid->Columns()->Items(c)->SetEditor(editors[c]);
            grid->Columns()->Items(c)->SetWidth(c == kDateTime ? 120 : 42);
        }
        for (int c : {kList, kEditCombo})
            for (const char16_t* s : {u"Coil", u"Discrete", u"Holding"}) grid->Columns()->Items(c)->ComboItems()->Add(s);
        grid->Columns()->Items(kSpin)->SpinMax = 1000;
        for (int r = 1; r < 6; ++r) {
            grid->SetCells(kText, r, u"t" + plat::IntToStr(r));
            grid->SetCells(kList, r, u"Coil");
            grid->SetCells(kEditCombo, r, u"Coil");
            grid->SetCells(kSpin, r, u"5");
            grid->SetCells(kDate, r, u"29.02.2024");
            grid->SetCells(kTime, r, u"07:05:09");
            grid->SetCells(kDateTime, r, u"29.02.2024 07:05");
            grid->SetCells(kBtn, r, u"b");
        }
        grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing));
        if (GetParam()) grid->HideColumn(kSpare);
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        plat::FormatSettings = saved;
        GridFixture::TearDown();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    void ClickCell(int real, int row) {
        const plat::TRect r = grid->CellRect(D(real), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    void Open(int real, int row) {
        ClickCell(real, row);
        grid->SetFocus();
        pt::Key(plat::VK_F2);
        pt::ProcessEvents();
    }
    plat::TFormatSettings saved;
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridEditNotifyTest, ::testing::Bool());

// A text the program writes into the cell under the open editor shows in the editor and
// becomes the edit's start: leaving unchanged keeps it, Escape brings it back, typing goes on
// from it. A list that has no item for the text closes and leaves the cell as written.
TEST_P(GridEditNotifyTest, ACellWrittenUnderTheOpenEditorShowsInItAndIsNotOverwritten) {
    struct Case {
        const char* name;
        int col;
        String written;
        std::uint16_t endKey;  // VK_RETURN, VK_ESCAPE or 0: a click on another cell
        bool stillOpen;        // the editor is open after the write
    };
    const Case cases[] = {
        {"text, Enter", kText, u"new", plat::VK_RETURN, true},
        {"text, Escape", kText, u"new", plat::VK_ESCAPE, true},
        {"text, click elsewhere", kText, u"new", 0, true},
        {"edit combo, Enter", kEditCombo, u"Other", plat::VK_RETURN, true},
        {"list combo, an item", kList, u"Holding", plat::VK_RETURN, true},
        {"list combo, no item", kList, u"Other", 0, false},
        {"spin, Enter", kSpin, u"42", plat::VK_RETURN, true},
        {"date, Enter", kDate, u"01.03.2025", plat::VK_RETURN, true},
        {"date, click elsewhere", kDate, u"01.03.2025", 0, true},
        {"button edit, Escape", kBtn, u"w", plat::VK_ESCAPE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const String before = grid->Cells(c.col, 2);
        Open(c.col, 2);
        ASSERT_TRUE(grid->EditMode);
        grid->SetCells(c.col, 2, c.written);
        pt::ProcessEvents();
        EXPECT_EQ(grid->EditMode, c.stillOpen);
        if (c.stillOpen) {
            const String shown = c.col == kText ? grid->NormalEdit()->Text() : grid->SpecialEditorValue();
            EXPECT_EQ(shown, c.written);
        }
        if (c.endKey != 0) pt::Key(c.endKey);
        else ClickCell(kText, 4);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->EditMode);
        EXPECT_EQ(grid->Cells(c.col, 2), c.written);
        grid->SetCells(c.col, 2, before);
    }
}

// Typing continues from the written text, and the rule windows' way (closing the editor
// before writing) stays harmless.
TEST_P(GridEditNotifyTest, TypingAfterAWriteStartsFromTheWrittenText) {
    Open(kText, 3);
    ASSERT_TRUE(grid->NormalEdit()->Visible());
    grid->SetCells(kText, 3, u"abc");
    pt::Key(plat::VK_END);
    pt::Type(u"d");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kText, 3), u"abcd");

    Open(kList, 3);
    ASSERT_TRUE(grid->Combobox()->Visible());
    grid->HideInplaceEdit();
    grid->SetCells(kList, 3, u"Discrete");
    ClickCell(kText, 5);
    EXPECT_EQ(grid->Cells(kList, 3), u"Discrete");
}

// A write of another cell leaves the open text editor alone: its caret and typed text stay,
// also when that cell's real column equals the editor's shown column. A write of a hidden
// column repaints nothing shown, and a write of a shown one repaints that cell.
TEST_P(GridEditNotifyTest, AWriteOfAnotherCellLeavesTheOpenTextEditorAlone) {
    for (int other : {kSpare, kNum, kList}) {
        SCOPED_TRACE(other);
        Open(kText, 2);
        ASSERT_TRUE(grid->NormalEdit()->Visible());
        pt::Key(plat::VK_END);
        pt::Type(u"xy");
        pt::ProcessEvents();
        ASSERT_EQ(grid->NormalEdit()->SelStart(), 4);
        std::vector<int> painted;  // real columns of row 2 painted after the write
        grid->OnGetCellColor = [&](plat::TObject*, int row, int col, plat::TGridDrawState, plat::TBrush*,
                                   plat::TFont*) {
            if (row == 2) painted.push_back(col);
        };
        grid->SetCells(other, 2, u"w");
        pt::ProcessEvents();
        grid->OnGetCellColor = nullptr;
        if (other == kList) {
            EXPECT_NE(std::find(painted.begin(), painted.end(), kList), painted.end());
            EXPECT_EQ(std::find(painted.begin(), painted.end(), kEditCombo), painted.end());
        }
        EXPECT_EQ(grid->NormalEdit()->Text(), u"t2xy");
        EXPECT_EQ(grid->NormalEdit()->SelStart(), 4);
        EXPECT_EQ(grid->NormalEdit()->SelLength(), 0);
        pt::Type(u"z");
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(kText, 2), u"t2xyz");
        EXPECT_EQ(grid->Cells(other, 2), u"w");
        grid->SetCells(kText, 2, u"t2");
    }
}

// The wheel over an open list combo steps through its items, one change event per step with
// the real column, and stops at either end without an event.
TEST_P(GridEditNotifyTest, TheWheelStepsThroughTheItemsOfAnOpenCombo) {
    Open(kList, 2);
    TGridCombo* combo = grid->Combobox();
    ASSERT_TRUE(combo && combo->Visible());
    std::vector<std::string> log;
    grid->OnComboChange = [&](plat::TObject*, int col, int row, int i, const String& t) {
        log.push_back("change " + std::to_string(col) + "," + std::to_string(row) + "," + std::to_string(i) + " " +
                      plat::StringToUtf8(t));
    };
    grid->OnComboObjectChange = [&](plat::TObject*, int col, int, int i, const String&, plat::TObject*) {
        log.push_back("object " + std::to_string(col) + "," + std::to_string(i));
    };
    const int topRow = grid->TopRow();
    struct Step {
        int delta;
        String shown;
        std::vector<std::string> events;
    };
    const std::string c = std::to_string(kList);
    const Step steps[] = {
        {-120, u"Discrete", {"change " + c + ",2,1 Discrete", "object " + c + ",1"}},
        {-120, u"Holding", {"change " + c + ",2,2 Holding", "object " + c + ",2"}},
        {-120, u"Holding", {}},
        {120, u"Discrete", {"change " + c + ",2,1 Discrete", "object " + c + ",1"}},
    };
    for (const Step& s : steps) {
        log.clear();
        pt::Wheel(combo, s.delta, 5, 5);
        pt::ProcessEvents();
        EXPECT_EQ(combo->Text(), s.shown);
        EXPECT_EQ(log, s.events);
    }
    EXPECT_EQ(grid->TopRow(), topRow);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kList, 2), u"Discrete");
    grid->OnComboChange = nullptr;
    grid->OnComboObjectChange = nullptr;
}

// The text editor's typing stands in the cell at once; the spin and button editors write
// only a validated value, so that a refused one never reaches the cell. Escape brings the
// start text back.
TEST_P(GridEditNotifyTest, OnlyTheTextEditorsTypingStandsInTheCellAtOnce) {
    struct Case {
        const char* name;
        int col;
        String typed, whileOpen, start;
    };
    const Case cases[] = {
        {"text", kText, u"x", u"x", u"t1"},
        {"spin", kSpin, u"7", u"5", u"5"},
        {"button edit", kBtn, u"q", u"b", u"b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(c.col, 1);
        ASSERT_TRUE(grid->EditMode);
        plat::TWinControl* ed = grid->OpenEditorControl();
        ASSERT_NE(ed, nullptr);
        ASSERT_TRUE(ed->Focused());
        pt::Key('A', plat::ssCtrl);
        pt::Type(c.typed);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(c.col, 1), c.whileOpen);
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->EditMode);
        EXPECT_EQ(grid->Cells(c.col, 1), c.start);
    }
    // A program that takes over the text editor's OnChange still finds the typing in the cell.
    Open(kText, 2);
    ASSERT_TRUE(grid->NormalEdit()->Visible());
    grid->NormalEdit()->OnChange = nullptr;
    pt::Key(plat::VK_END);
    pt::Type(u"z");
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kText, 2), u"t2z");
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kText, 2), u"t2");
}

// DirectComboClose: picking an item from the open list writes it, ends the edit (validated)
// and fires OnComboCloseUp after the one OnComboChange; the list opening fires
// OnComboDropDown. Both carry the real column.
TEST_P(GridEditNotifyTest, DirectComboCloseEndsTheEditWithThePickedItem) {
    struct Case {
        const char* name;
        bool direct, refuse;
        String expected;
        bool open;
    };
    const Case cases[] = {
        {"DirectComboClose", true, false, u"Discrete", false},
        {"DirectComboClose refused", true, true, u"Coil", true},
        {"without it", false, false, u"Coil", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->MouseActions()->DirectComboClose = c.direct;
        std::vector<std::string> log;
        grid->OnComboChange = [&](plat::TObject*, int col, int row, int i, const String& t) {
            log.push_back("change " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(i) + " " +
                          plat::StringToUtf8(t));
        };
        grid->OnComboDropDown = [&](plat::TObject*, int row, int col) {
            log.push_back("drop " + std::to_string(col) + "," + std::to_string(row));
        };
        grid->OnComboCloseUp = [&](plat::TObject*, int row, int col) {
            log.push_back("close " + std::to_string(col) + "," + std::to_string(row));
        };
        grid->OnCellValidate = [&](plat::TObject*, int, int, String&, bool& valid) { valid = !c.refuse; };
        Open(kList, 4);
        ASSERT_TRUE(grid->Combobox()->Visible());
        pt::Key(plat::VK_DOWN, plat::ssAlt);
        ASSERT_TRUE(grid->Combobox()->DroppedDown());
        pt::Key(plat::VK_DOWN);
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        const std::string at = std::to_string(kList) + ",4";
        EXPECT_EQ(log, (std::vector<std::string>{"drop " + at, "change " + at + " 1 Discrete", "close " + at}));
        EXPECT_EQ(grid->EditMode, c.open);
        if (!c.open) {
            EXPECT_TRUE(grid->Focused());
            EXPECT_EQ(grid->Cells(kList, 4), c.expected);
        }
        if (grid->EditMode) pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(kList, 4), c.expected);
        grid->OnCellValidate = nullptr;
        grid->SetCells(kList, 4, u"Coil");
    }
    grid->MouseActions()->DirectComboClose = false;
}

// An empty or unparsable date cell opens the editor on today; left unchanged (Enter, Tab, a
// click elsewhere) it keeps its text. A changed value is written.
TEST_P(GridEditNotifyTest, ADateCellLeftUnchangedKeepsItsText) {
    struct Case {
        const char* name;
        int col;
        String text;
        std::uint16_t key;  // 0: a click on another cell
        bool change;
    };
    const Case cases[] = {
        {"empty date, click elsewhere", kDate, String(), 0, false},
        {"empty date, Enter", kDate, String(), plat::VK_RETURN, false},
        {"no date, Enter", kDate, u"soon", plat::VK_RETURN, false},
        {"empty time, click elsewhere", kTime, String(), 0, false},
        {"empty date and time, Enter", kDateTime, String(), plat::VK_RETURN, false},
        {"empty date, changed", kDate, String(), plat::VK_RETURN, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(c.col, 3, c.text);
        Open(c.col, 3);
        ASSERT_TRUE(grid->EditMode);
        if (c.change) pt::Key(plat::VK_UP);
        if (c.key != 0) pt::Key(c.key);
        else ClickCell(kText, 5);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->EditMode);
        if (c.change) EXPECT_FALSE(grid->Cells(c.col, 3).empty());
        else EXPECT_EQ(grid->Cells(c.col, 3), c.text);
    }
}

// Alt+Down and F4 in an open date editor drop its calendar down; Escape closes only the
// calendar.
TEST_P(GridEditNotifyTest, AltDownInAnOpenDateEditorDropsTheCalendar) {
    for (std::uint16_t key : {plat::VK_DOWN, plat::VK_F4}) {
        SCOPED_TRACE(key);
        Open(kDate, 2);
        TGridDatePicker* p = grid->DateTimePicker();
        ASSERT_TRUE(p->Visible());
        pt::Key(key, key == plat::VK_DOWN ? plat::ssAlt : 0);
        pt::ProcessEvents();
        EXPECT_TRUE(p->DroppedDown());
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_FALSE(p->DroppedDown());
        EXPECT_TRUE(grid->EditMode);
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->EditMode);
    }
}

// A change in a date editor reports the new date for the current cell; filling the editor
// when it opens reports nothing.
TEST_P(GridEditNotifyTest, DateEditorChangesReachOnDateTimeChange) {
    std::vector<plat::TDateTime> seen;
    std::vector<int> cols;
    grid->OnDateTimeChange = [&](plat::TObject*, int ACol, int ARow, plat::TDateTime d) {
        seen.push_back(d);
        cols.push_back(ACol);
        EXPECT_EQ(ARow, 2);
    };
    Open(kDate, 2);
    EXPECT_TRUE(seen.empty());
    pt::Key(plat::VK_UP);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(std::floor(seen[0]), plat::EncodeDate(2024, 2, 1));  // the day wraps in February
    EXPECT_EQ(cols[0], D(kDate));
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();

    // The date-and-time editor reports its date part and its time part.
    seen.clear();
    cols.clear();
    Open(kDateTime, 2);
    EXPECT_TRUE(seen.empty());
    pt::Key(plat::VK_UP);  // the day
    grid->DateAndTimePicker()->TimePicker()->SetFocus();
    pt::ProcessEvents();
    pt::Key(plat::VK_UP);  // the hour
    ASSERT_GE(seen.size(), 2u);
    EXPECT_NEAR(seen.front(), plat::EncodeDate(2024, 2, 1) + plat::EncodeTime(7, 5, 0, 0), 1e-6);
    EXPECT_NEAR(seen.back(), plat::EncodeDate(2024, 2, 1) + plat::EncodeTime(8, 5, 0, 0), 1e-6);
    for (int c : cols) EXPECT_EQ(c, D(kDateTime));
    pt::Key(plat::VK_ESCAPE);
}

// Only the keypad's "." stands for the locale's decimal separator in a float cell's editor;
// the main keyboard's "." is a "." and a float cell refuses it.
TEST_P(GridEditNotifyTest, OnlyTheKeypadPointTypesTheDecimalSeparator) {
    struct Case {
        const char* name;
        bool excel;
        std::uint16_t key;
        String text;
    };
    const Case cases[] = {
        {"keypad point, ExcelStyle", true, plat::VK_DECIMAL, u"1,"},
        {"main point, ExcelStyle", true, 0xBE, u"1"},
        {"keypad point without ExcelStyle", false, plat::VK_DECIMAL, u"1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->ExcelStyleDecimalSeparator = c.excel;
        grid->SetCells(kFloat, 2, String());
        ClickCell(kFloat, 2);
        pt::Type(u"1");
        ASSERT_TRUE(grid->NormalEdit()->Visible());
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(grid->NormalEdit()->Text(), c.text);
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
    }
    grid->ExcelStyleDecimalSeparator = false;
}

// The list of a combo cell is as wide as its widest item (more room when it scrolls), never
// narrower than the cell; a combo width of its own wins.
TEST_P(GridEditNotifyTest, TheComboListIsAsWideAsItsWidestItem) {
    const String longItem = u"A long item text for the list";
    grid->Canvas()->Font()->Assign(*grid->Font());
    const int tw = grid->Canvas()->TextWidth(longItem);
    struct Case {
        const char* name;
        int extraItems, dropWidth, expected;
    };
    const Case cases[] = {
        {"list fits", 0, 0, tw + 8},
        {"list scrolls", 8, 0, tw + 25},
        {"own width", 0, 300, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::TStringList* items = grid->Columns()->Items(kList)->ComboItems();
        items->Clear();
        items->Add(u"Coil");
        items->Add(longItem);
        for (int i = 0; i < c.extraItems; ++i) items->Add(u"x" + plat::IntToStr(i));
        grid->Combobox()->SetDropWidth(c.dropWidth);
        Open(kList, 2);
        ASSERT_TRUE(grid->Combobox()->Visible());
        EXPECT_EQ(grid->Combobox()->DroppedWidth(), c.expected);
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
    }
    grid->Combobox()->SetDropWidth(0);
    grid->Columns()->Items(kList)->ComboItems()->Clear();
    Open(kList, 2);
    EXPECT_EQ(grid->Combobox()->DroppedWidth(), grid->Combobox()->Width());
    pt::Key(plat::VK_ESCAPE);
}

// The stored texts of a hidden row, one per real column; a shown row has none.
TEST_P(GridEditNotifyTest, HiddenRowStringsAreTheRowsStoredTexts) {
    const int real = grid->RealRowIndex(3);
    grid->HideRow(3);
    auto list = grid->GetHiddenRowStrings(real);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), kColCount);
    EXPECT_EQ(list->Strings(kText), u"t3");
    EXPECT_EQ(list->Strings(kSpin), u"5");
    EXPECT_EQ(grid->GetHiddenRowStrings(grid->RealRowIndex(2)), nullptr);
}

// A freed image list or synchronised grid is forgotten, not left dangling.
TEST_P(GridEditNotifyTest, FreedReferencesAreCleared) {
    auto* images = new plat::TImageList(form.get());
    grid->GridImages = images;
    auto* other = new TExtStringGrid(form.get());
    grid->SyncGrid()->SetGrid(other);
    delete images;
    EXPECT_EQ(grid->GridImages, nullptr);
    delete other;
    EXPECT_EQ(grid->SyncGrid()->Grid(), nullptr);
}

} // namespace
