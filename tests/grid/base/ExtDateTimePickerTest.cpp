// The combined date-and-time picker through the real key path: the embedded time picker, the
// value joining date and time, and the field advance while digits are typed.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ExtDateTimePicker.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class ExtDateTimePickerTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings.DateSeparator = u'.';
        plat::FormatSettings.TimeSeparator = u':';
        plat::FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
        plat::FormatSettings.LongTimeFormat = u"hh:nn:ss";
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetClientSize(420, 200);
        picker = new TExtDateTimePicker(form.get());
        picker->SetParent(form.get());
        picker->SetBounds(10, 10, 240, 22);
        picker->OnChange = [this](plat::TObject*) { ++changes; };
        picker->OnTimeChange = [this](plat::TObject*) { ++timeChanges; };
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        form.reset();
        plat::FormatSettings = saved;
        pt::UiTest::TearDown();
    }
    plat::TControl* Focus() { return plat::FindControl(plat::GetFocus()); }

    std::unique_ptr<plat::TForm> form;
    TExtDateTimePicker* picker = nullptr;
    plat::TFormatSettings saved;
    int changes = 0, timeChanges = 0;
};

TEST_F(ExtDateTimePickerTest, DefaultsShowTheDateWithTheTimePickerAtItsRight) {
    EXPECT_EQ(picker->ExtKind(), dkDateTime);
    EXPECT_EQ(picker->Kind(), plat::dtkDate);
    EXPECT_EQ(picker->Version(), u"1.2.0.0");
    EXPECT_FALSE(picker->AutoTab());
    TCustomDateTimePicker* t = picker->TimePicker();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->Visible());
    EXPECT_EQ(t->Kind(), plat::dtkTime);
    EXPECT_GT(t->Left(), picker->Width() / 3);
    EXPECT_LE(t->Left() + t->Width(), picker->Width());

    // The value: the date of the control and the time of the embedded picker, seconds whole.
    picker->SetDateTime(plat::EncodeDate(2024, 2, 29) + plat::EncodeTime(13, 45, 10, 600));
    EXPECT_EQ(picker->DateTime(), plat::EncodeDate(2024, 2, 29) + plat::EncodeTime(13, 45, 10, 0));
    EXPECT_EQ(t->Text(), u"13:45:10");
    // A date set keeps the time of day.
    picker->SetDatePart(plat::EncodeDate(2025, 1, 2) + 0.9);
    EXPECT_EQ(picker->DateTime(), plat::EncodeDate(2025, 1, 2) + plat::EncodeTime(13, 45, 10, 0));

    // A time typed into the embedded picker becomes the control's time and fires both events.
    changes = timeChanges = 0;
    t->SetFocus();
    pt::Key(plat::VK_UP);
    EXPECT_EQ(picker->DateTime(), plat::EncodeDate(2025, 1, 2) + plat::EncodeTime(14, 45, 10, 0));
    EXPECT_NEAR(picker->GetTime(), plat::EncodeTime(14, 45, 10, 0), 1e-9);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(timeChanges, 1);

    picker->SetExtKind(dkDate);
    EXPECT_FALSE(t->Visible());
    picker->SetExtKind(dkTime);
    EXPECT_EQ(picker->Kind(), plat::dtkTime);
}

// AutoTab: digits completing a field move on; the format's last field (the year here) moves
// the focus into the time picker, whose fields advance the same way.
TEST_F(ExtDateTimePickerTest, AutoTabMovesFromTheYearIntoTheTimePicker) {
    picker->SetAutoTab(true);
    picker->SetFormat(u"dd.mm.yyyy");
    picker->SetDateTime(plat::EncodeDate(2024, 2, 10) + plat::EncodeTime(8, 0, 0, 0));
    picker->SetFocus();
    picker->SetCurrentField(0);
    pt::Type(u"1");
    pt::ProcessEvents();
    EXPECT_EQ(picker->CurrentField(), 0);  // a second digit may follow
    pt::Type(u"2");
    pt::ProcessEvents();
    EXPECT_EQ(picker->CurrentField(), 1);
    pt::Type(u"0");
    pt::Type(u"3");
    pt::ProcessEvents();
    EXPECT_EQ(picker->CurrentField(), 2);
    pt::Type(u"20");
    pt::ProcessEvents();
    EXPECT_EQ(Focus(), picker);  // the year is not complete yet
    pt::Type(u"26");
    pt::ProcessEvents();
    EXPECT_EQ(picker->GetDate(), plat::EncodeDate(2026, 3, 12));
    ASSERT_EQ(Focus(), picker->TimePicker());
    pt::Type(u"1");
    pt::ProcessEvents();
    EXPECT_EQ(picker->TimePicker()->CurrentField(), 0);
    pt::Type(u"7");
    pt::ProcessEvents();
    EXPECT_EQ(picker->TimePicker()->CurrentField(), 1);
    EXPECT_EQ(picker->DateTime(), plat::EncodeDate(2026, 3, 12) + plat::EncodeTime(17, 0, 0, 0));

    // Without AutoTab the field stays.
    picker->SetAutoTab(false);
    picker->SetFocus();
    picker->SetCurrentField(0);
    pt::Type(u"05");
    pt::ProcessEvents();
    EXPECT_EQ(picker->CurrentField(), 0);
}

// The check box: cleared, the time cannot be edited.
TEST_F(ExtDateTimePickerTest, UncheckedBoxDisablesTheTime) {
    picker->SetShowCheckbox(true);
    picker->SetFocus();
    pt::Type(u" ");
    pt::ProcessEvents();
    EXPECT_FALSE(picker->Checked());
    EXPECT_FALSE(picker->TimePicker()->Enabled());
    pt::Type(u" ");
    EXPECT_TRUE(picker->TimePicker()->Enabled());
}

// The caption label: made by the first caption, placed by its position and margin, moved
// with the picker, following its visibility and enabled state; a click reaches OnLabelClick.
TEST_F(ExtDateTimePickerTest, CaptionLabelFollowsThePicker) {
    EXPECT_EQ(picker->PickerLabel(), nullptr);
    EXPECT_EQ(picker->LabelMargin(), 4);
    picker->SetBounds(150, 60, 240, 22);
    picker->SetLabelCaption(u"Start");
    plat::TLabel* l = picker->PickerLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), form.get());
    plat::TBitmap measure(1, 1);
    measure.Canvas()->SetFont(l->Font());
    const int w = measure.Canvas()->TextWidth(u"Start");
    struct Case {
        TLabelPosition pos;
        int left, top;
    };
    const Case cases[] = {
        {lpLeftTop, 150 - w - 6, 60},
        {lpTopLeft, 150, 60 - l->Height() - 6},
        {lpRightTop, 150 + 240 + 6, 60},
        {lpBottomLeft, 150, 60 + 22 + 6},
    };
    picker->SetLabelMargin(6);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.pos));
        picker->SetLabelPosition(c.pos);
        EXPECT_EQ(l->Left(), c.left);
        EXPECT_EQ(l->Top(), c.top);
    }
    picker->SetLabelPosition(lpLeftTop);
    picker->SetBounds(170, 80, 240, 22);
    EXPECT_EQ(l->Left(), 170 - w - 6);
    EXPECT_EQ(l->Top(), 80);

    picker->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    picker->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(l->Enabled());
    picker->SetEnabled(true);
    picker->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    picker->SetVisible(true);
    EXPECT_TRUE(l->Visible());

    int clicks = 0;
    picker->OnLabelClick = [&](plat::TObject* Sender) {
        ++clicks;
        EXPECT_EQ(Sender, picker);
    };
    pt::ProcessEvents();
    pt::Click(form.get(), l->Left() + 3, l->Top() + 3);
    pt::ProcessEvents();
    EXPECT_EQ(clicks, 1);
}

} // namespace
