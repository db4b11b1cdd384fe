// The date editors of the string grid (edDateEdit, edTimeEdit) through the real event path,
// each case also with a hidden column before them (the editor follows the real column).
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridDatePicker.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

enum Real { kNum, kSpare, kDate, kTime, kText, kDateTime, kColCount };

// A grid whose cell writes can be made to fail.
class FailingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    bool failWrites = false;
    void SetEditCellText(int ACol, int ARow, const String& Value) override {
        if (failWrites) throw std::runtime_error("write refused");
        TExtColumnGrid::SetEditCellText(ACol, ARow, Value);
    }
};

class GridDatePickerTest : public grid::testing::GridFixture<FailingGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings.DateSeparator = u'.';
        plat::FormatSettings.TimeSeparator = u':';
        plat::FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
        plat::FormatSettings.LongTimeFormat = u"hh:nn:ss";
        plat::FormatSettings.ShortTimeFormat = u"hh:nn";
        grid->SetBounds(4, 4, 760, 300);
        grid->SetColCount(kColCount);
        grid->SetRowCount(4);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        const TEditorType editors[kColCount] = {edNormal, edNormal, edDateEdit, edTimeEdit, edNormal, edDateTimeEdit};
        for (int c = 0; c < kColCount; ++c) {
            grid->Columns()->Items(c)->SetEditor(editors[c]);
            grid->Columns()->Items(c)->SetWidth(c == kDateTime ? 200 : 90);
        }
        for (int r = 1; r < 4; ++r) {
            grid->SetCells(kDate, r, u"29.02.2024");
            grid->SetCells(kTime, r, u"07:05:09");
            grid->SetCells(kDateTime, r, u"29.02.2024 07:05");
        }
        if (GetParam()) grid->HideColumn(kSpare);
        grid->OnEditingDone = [this](plat::TObject*) { ++editingDone; };
        grid->OnCellValidate = [this](plat::TObject*, int c, int, String& v, bool& valid) {
            ++validations;
            validatedCol = c;
            if (refuse) valid = false;
            (void)v;
        };
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        plat::FormatSettings = saved;
        GridFixture::TearDown();
    }
    void Click(int real, int row) {
        const plat::TRect r = grid->CellRect(grid->DisplColIndex(real), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    // Selects the cell coming from another one (selecting a cell switches editing on for it)
    // and opens its editor with F2.
    void Open(int real, int row) {
        Click(kText, row);
        Click(real, row);
        pt::Key(plat::VK_F2);
    }
    TGridDatePicker* Picker() { return grid->DateTimePicker(); }
    bool PickerOpen() { return Picker()->Visible() && grid->EditMode; }

    plat::TFormatSettings saved;
    int editingDone = 0, validations = 0, validatedCol = -1;
    bool refuse = false;
};

TEST_P(GridDatePickerTest, DateCellIsEditedByFieldsAndCommittedInTheCellsFormat) {
    Open(kDate, 1);
    ASSERT_TRUE(PickerOpen());
    EXPECT_EQ(Picker()->Kind(), plat::dtkDate);
    EXPECT_EQ(Picker()->Text(), u"29.02.2024");
    const plat::TRect cell = grid->CellRect(grid->DisplColIndex(kDate), 1);
    EXPECT_EQ(Picker()->BoundsRect(), plat::TRect(cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1));
    pt::Key(plat::VK_UP);  // the day wraps in February
    pt::Key(plat::VK_RIGHT);
    pt::Type(u"12");
    EXPECT_EQ(Picker()->Text(), u"01.12.2024");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(grid->Cells(kDate, 1), u"01.12.2024");
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(validatedCol, kDate);
    EXPECT_EQ(editingDone, 1);
}

TEST_P(GridDatePickerTest, EscapeKeepsTheCellAndARefusedValueKeepsThePickerOpen) {
    Open(kDate, 2);
    ASSERT_TRUE(PickerOpen());
    pt::Key(plat::VK_UP);
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(grid->Cells(kDate, 2), u"29.02.2024");
    EXPECT_EQ(validations, 0);

    refuse = true;
    Open(kDate, 2);
    pt::Key(plat::VK_UP);
    pt::Key(plat::VK_RETURN);
    EXPECT_TRUE(PickerOpen());
    EXPECT_EQ(grid->Cells(kDate, 2), u"29.02.2024");
}

// The bounds' edge cases: a cell date after MaxDate opens one day before it, one on or before
// MinDate one day after it; a text that is no date opens on today.
TEST_P(GridDatePickerTest, OpeningValueFollowsTheBoundsAndFallsBackToNow) {
    Picker()->SetMaxDate(plat::EncodeDate(2024, 1, 31));
    Open(kDate, 1);
    EXPECT_EQ(Picker()->DateTime(), plat::EncodeDate(2024, 1, 30));
    pt::Key(plat::VK_ESCAPE);
    Picker()->SetMaxDate(0);
    Picker()->SetMinDate(plat::EncodeDate(2024, 2, 29));
    Open(kDate, 1);
    EXPECT_EQ(Picker()->DateTime(), plat::EncodeDate(2024, 3, 1));
    pt::Key(plat::VK_ESCAPE);
    Picker()->SetMinDate(0);
    grid->SetCells(kDate, 3, u"soon");
    Open(kDate, 3);
    EXPECT_EQ(std::floor(Picker()->DateTime()), std::floor(plat::Now()));
    pt::Key(plat::VK_ESCAPE);
    EXPECT_EQ(grid->Cells(kDate, 3), u"soon");
}

TEST_P(GridDatePickerTest, TimeCellTakesThePickersFormatAndTheLocaleStays) {
    Picker()->SetFormat(u"hh:nn");
    Open(kTime, 1);
    ASSERT_TRUE(PickerOpen());
    EXPECT_EQ(Picker()->Kind(), plat::dtkTime);
    EXPECT_EQ(Picker()->Text(), u"07:05");
    pt::Key(plat::VK_UP);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kTime, 1), u"08:05");
    EXPECT_EQ(plat::FormatSettings.LongTimeFormat, u"hh:nn:ss");
}

// The long time format is process-wide: a commit that fails still leaves it as it was.
TEST_P(GridDatePickerTest, FailingTimeCommitLeavesTheLongTimeFormat) {
    Picker()->SetFormat(u"hh:nn");
    Open(kTime, 2);
    ASSERT_TRUE(PickerOpen());
    grid->failWrites = true;
    EXPECT_THROW(grid->HideInplaceEdit(), std::runtime_error);
    EXPECT_EQ(plat::FormatSettings.LongTimeFormat, u"hh:nn:ss");
    grid->failWrites = false;
}

// Digits complete a field and move on to the next; the format's last field keeps the caret.
TEST_P(GridDatePickerTest, TypedDigitsMoveOnExceptInTheLastField) {
    Picker()->SetFormat(u"dd.mm.yyyy");
    Open(kDate, 1);
    ASSERT_TRUE(PickerOpen());
    pt::Type(u"1");
    pt::ProcessEvents();
    EXPECT_EQ(Picker()->CurrentField(), 0);
    pt::Type(u"5");
    pt::ProcessEvents();
    EXPECT_EQ(Picker()->CurrentField(), 1);
    pt::Type(u"4");  // no month starts with 4: the field is complete
    pt::ProcessEvents();
    EXPECT_EQ(Picker()->CurrentField(), 2);
    pt::Type(u"2031");
    pt::ProcessEvents();
    EXPECT_EQ(Picker()->CurrentField(), 2);
    EXPECT_EQ(Picker()->Text(), u"15.04.2031");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kDate, 1), u"15.04.2031");
}

// The calendar drop-down of a date cell: Alt+Down opens it, Enter picks the day without
// ending the edit, a second Enter commits; Escape in the calendar closes only the calendar.
TEST_P(GridDatePickerTest, CalendarPicksTheDayOfTheCell) {
    Open(kDate, 2);
    ASSERT_TRUE(PickerOpen());
    pt::Key(plat::VK_DOWN, plat::ssAlt);
    ASSERT_TRUE(Picker()->DroppedDown());
    pt::Key(plat::VK_ESCAPE);
    EXPECT_FALSE(Picker()->DroppedDown());
    EXPECT_TRUE(PickerOpen());
    pt::Key(plat::VK_F4);
    ASSERT_TRUE(Picker()->DroppedDown());
    pt::Key(plat::VK_LEFT);
    pt::Key(plat::VK_RETURN);
    EXPECT_FALSE(Picker()->DroppedDown());
    EXPECT_TRUE(PickerOpen());
    EXPECT_EQ(grid->Cells(kDate, 2), u"29.02.2024");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(PickerOpen());
    EXPECT_EQ(grid->Cells(kDate, 2), u"28.02.2024");
    EXPECT_EQ(editingDone, 1);

    // A click on a day picks it; the editor stays open with the focus.
    Open(kDate, 3);
    pt::Key(plat::VK_F4);
    plat::TCalendarPopup* cal = Picker()->Calendar();
    ASSERT_TRUE(cal->IsOpen());
    const plat::TRect day = cal->DayRect(plat::EncodeDate(2024, 2, 14));
    pt::Click(cal, (day.Left + day.Right) / 2, (day.Top + day.Bottom) / 2);
    pt::ProcessEvents();
    EXPECT_FALSE(cal->IsOpen());
    ASSERT_TRUE(PickerOpen());
    EXPECT_TRUE(Picker()->Focused());
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kDate, 3), u"14.02.2024");
}

// edDateTimeEdit: the date with its time picker; Escape brings the date back and keeps the
// time shown; Enter commits date and time; moving from the date into the time keeps it open.
TEST_P(GridDatePickerTest, DateTimeCellKeepsTheTimeOnEscape) {
    TGridDateTimePicker* p = grid->DateAndTimePicker();
    Open(kDateTime, 1);
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(p->DateTime(), plat::EncodeDate(2024, 2, 29) + plat::EncodeTime(7, 5, 0, 0));
    EXPECT_EQ(grid->OriginalDateTime(), p->DateTime());
    pt::Key(plat::VK_UP);  // the day
    ASSERT_NE(p->TimePicker(), nullptr);
    p->TimePicker()->SetFocus();
    pt::ProcessEvents();
    EXPECT_TRUE(p->Visible());
    EXPECT_TRUE(grid->EditMode);
    pt::Key(plat::VK_UP);  // the hour
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(grid->Cells(kDateTime, 1), u"29.02.2024 08:05");
    EXPECT_EQ(editingDone, 1);

    Open(kDateTime, 2);
    ASSERT_TRUE(p->Visible());
    pt::Key(plat::VK_DOWN);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(grid->Cells(kDateTime, 2), u"28.02.2024 07:05");
    EXPECT_EQ(editingDone, 2);

    // A text that is no date-time opens on now; a click elsewhere ends the edit.
    grid->SetCells(kDateTime, 3, u"later");
    Open(kDateTime, 3);
    ASSERT_TRUE(p->Visible());
    EXPECT_NEAR(p->DateTime(), plat::Now(), 1.0 / 24 / 60);
    Click(kText, 1);
    EXPECT_FALSE(p->Visible());
    EXPECT_FALSE(grid->EditMode);
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridDatePickerTest, ::testing::Bool());

} // namespace
