// The layer's date-time picker through the real key and mouse path: fields from the format,
// stepping and typing, the bounds, the check box, and the change and drop-down events.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "plat/DateTimePicker.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

class DateTimePickerTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        saved = FormatSettings;
        FormatSettings.DateSeparator = u'.';
        FormatSettings.TimeSeparator = u':';
        FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
        FormatSettings.LongTimeFormat = u"hh:nn:ss";
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 200);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        FormatSettings = saved;
        pt::UiTest::TearDown();
    }
    TDateTimePicker* Make()
    {
        auto* p = new TDateTimePicker(form.get());
        p->SetParent(form.get());
        p->SetBounds(10, 10, 160, 22);
        p->OnChange = [this](TObject*) { ++changes; };
        return p;
    }
    std::unique_ptr<TForm> form;
    TFormatSettings saved;
    int changes = 0;
};

TEST_F(DateTimePickerTest, KeysEditTheFieldsOfTheFormat)
{
    struct Case {
        const char* name;
        TDateTimeKind kind;
        const char16_t* format;
        TDateTime start;
        std::function<void()> keys;
        const char16_t* text;
        int changes;
    };
    const TDateTime leap = EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 30, 0);
    const Case cases[] = {
        {"the locale's short date format", dtkDate, u"", leap, [] {}, u"29.02.2024", 0},
        {"Up steps the day and wraps in its month", dtkDate, u"", leap, [] { pt::Key(VK_UP); }, u"01.02.2024", 1},
        {"Right then Up steps the month; the day keeps within it", dtkDate, u"", EncodeDate(2024, 1, 31),
         [] {
             pt::Key(VK_RIGHT);
             pt::Key(VK_UP);
         },
         u"29.02.2024", 1},
        {"Down wraps the month", dtkDate, u"", leap,
         [] {
             pt::Key(VK_RIGHT);
             pt::Key(VK_DOWN);
             pt::Key(VK_DOWN);
         },
         u"29.12.2024", 2},
        {"digits type a field, the third starts over", dtkDate, u"", leap, [] { pt::Type(u"071"); }, u"01.02.2024",
         3},
        {"a four-digit year", dtkDate, u"yyyy-mm-dd", EncodeDate(2024, 2, 29),
         [] { pt::Type(u"1999"); },
         u"1999-02-28", 4},
        {"time fields, 'm' after the hour is minutes", dtkTime, u"hh:mm", leap,
         [] {
             pt::Key(VK_RIGHT);
             pt::Key(VK_UP);
         },
         u"23:00", 1},
        {"the locale's long time format, End takes the largest", dtkTime, u"", leap,
         [] {
             pt::Key(VK_HOME);
             pt::Key(VK_RIGHT);
             pt::Key(VK_RIGHT);
             pt::Key(VK_END);
         },
         u"00:59:59", 2},
        {"Left stops at the first field", dtkTime, u"", leap,
         [] {
             pt::Key(VK_LEFT);
             pt::Type(u"7");
         },
         u"07:59:30", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDateTimePicker* p = Make();
        p->SetKind(c.kind);
        p->SetFormat(c.format);
        p->SetDateTime(c.start);
        p->SetFocus();
        changes = 0;
        c.keys();
        EXPECT_EQ(p->Text(), String(c.text));
        EXPECT_EQ(changes, c.changes);
        delete p;
    }
}

TEST_F(DateTimePickerTest, BoundsCheckBoxAndDropDown)
{
    TDateTimePicker* p = Make();
    p->SetDateTime(EncodeDate(2024, 5, 10));
    p->SetMaxDate(EncodeDate(2024, 5, 1));
    EXPECT_EQ(p->DateTime(), EncodeDate(2024, 5, 1));
    p->SetMinDate(EncodeDate(2024, 4, 1));
    p->SetDateTime(EncodeDate(2020, 1, 1));
    EXPECT_EQ(p->DateTime(), EncodeDate(2024, 4, 1));
    // A key cannot leave the bounds either.
    p->SetFocus();
    pt::Key(VK_RIGHT);
    pt::Key(VK_RIGHT);
    pt::Key(VK_DOWN);
    EXPECT_EQ(p->DateTime(), EncodeDate(2024, 4, 1));

    p->SetShowCheckbox(true);
    changes = 0;
    pt::Type(u" ");
    EXPECT_FALSE(p->Checked());
    EXPECT_EQ(changes, 1);
    // Editing a field checks the box again.
    pt::Key(VK_UP);
    EXPECT_TRUE(p->Checked());

    int drops = 0, closes = 0;
    p->OnDropDown = [&](TObject*) { ++drops; };
    p->OnCloseUp = [&](TObject*) { EXPECT_EQ(drops, closes + 1); ++closes; };
    // Each way of opening the calendar, each closed again by its own way.
    const TDateTime before = p->DateTime();
    pt::Key(VK_F4);
    EXPECT_TRUE(p->DroppedDown());
    pt::Key(VK_ESCAPE);
    EXPECT_FALSE(p->DroppedDown());
    pt::Key(VK_DOWN, ssAlt);
    EXPECT_TRUE(p->DroppedDown());
    pt::Key(VK_DOWN, ssAlt);
    EXPECT_FALSE(p->DroppedDown());
    pt::Click(p, p->Width() - 5, p->Height() / 2);
    EXPECT_TRUE(p->DroppedDown());
    pt::Click(p, p->Width() - 5, p->Height() / 2);  // outside the calendar
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(drops, 3);
    EXPECT_EQ(closes, 3);
    EXPECT_EQ(p->DateTime(), before);  // nothing picked
    // A click on a field makes it current.
    p->SetCurrentField(2);
    pt::Click(p, 20, p->Height() / 2);  // right of the check box
    EXPECT_EQ(p->CurrentField(), 0);
}

// The calendar drop-down: keys move the marked day within the bounds, Enter or a click picks
// it and the time of day stays; Escape and a press outside pick nothing.
TEST_F(DateTimePickerTest, CalendarPicksADayAndKeepsTheTime)
{
    TDateTimePicker* p = Make();
    p->SetDateTime(EncodeDate(2024, 2, 27) + EncodeTime(7, 30, 0, 0));
    p->SetMaxDate(EncodeDate(2024, 3, 1) + 0.5);
    p->SetFocus();
    int closes = 0;
    p->OnCloseUp = [&](TObject*) { ++closes; };

    struct Case {
        const char* name;
        std::function<void()> act;
        TDateTime date;
        int closes;
    };
    const Case cases[] = {
        {"right, right, enter", [] { pt::Key(VK_RIGHT); pt::Key(VK_RIGHT); pt::Key(VK_RETURN); }, EncodeDate(2024, 2, 29), 1},
        // Past MaxDate the keys stop at the last day allowed.
        {"down past the bound", [] { pt::Key(VK_DOWN); pt::Key(VK_RIGHT); pt::Key(VK_RIGHT); pt::Key(VK_RETURN); },
         EncodeDate(2024, 3, 1), 1},
        {"escape", [] { pt::Key(VK_LEFT); pt::Key(VK_ESCAPE); }, EncodeDate(2024, 3, 1), 1},
        {"page up, home, enter", [] { pt::Key(VK_PRIOR); pt::Key(VK_HOME); pt::Key(VK_RETURN); }, EncodeDate(2024, 2, 1), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        closes = 0;
        pt::Key(VK_F4);
        ASSERT_TRUE(p->DroppedDown());
        c.act();
        EXPECT_FALSE(p->DroppedDown());
        EXPECT_EQ(std::floor(p->DateTime()), c.date);
        EXPECT_NEAR(p->DateTime() - std::floor(p->DateTime()), EncodeTime(7, 30, 0, 0), 1e-9);
        EXPECT_EQ(closes, c.closes);
    }

    // A click on a day picks it; a day past MaxDate is refused and the calendar stays open.
    pt::Key(VK_F4);
    TCalendarPopup* cal = p->Calendar();
    ASSERT_TRUE(cal->IsOpen());
    EXPECT_GE(cal->Top(), p->Top() + p->Height());
    const TRect late = cal->DayRect(EncodeDate(2024, 2, 28) + 7);
    pt::Click(cal, late.Left + 3, late.Top + 3);
    EXPECT_TRUE(p->DroppedDown());
    const TRect day = cal->DayRect(EncodeDate(2024, 2, 14));
    pt::Click(cal, (day.Left + day.Right) / 2, (day.Top + day.Bottom) / 2);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(std::floor(p->DateTime()), EncodeDate(2024, 2, 14));

    // The time kind has no calendar; losing the focus closes an open one.
    pt::Key(VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    auto* other = new TDateTimePicker(form.get());
    other->SetParent(form.get());
    other->SetBounds(200, 10, 120, 22);
    other->SetKind(dtkTime);
    other->SetFocus();
    EXPECT_FALSE(p->DroppedDown());
    pt::Key(VK_F4);
    EXPECT_FALSE(other->DroppedDown());
}

} // namespace
