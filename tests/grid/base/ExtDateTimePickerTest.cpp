// The combined date-and-time picker through the real key path: the embedded time picker, the
// value joining date and time, and the field advance while digits are typed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "EsgDateTimePicker.h"
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

// With MetroStyle both pickers frame themselves in BorderColor (FocusBorderColor while they
// have the focus) and draw their drop-down button in the button colours; without MetroStyle,
// and in the plain time picker that allows no custom borders, the border colour shows nowhere.
TEST_F(ExtDateTimePickerTest, MetroStyleFramesThePickerAndColoursItsButton) {
    constexpr TColor kBorder = 0x000000FF, kFocus = 0x00FF0000, kFace = 0x00FF8000, kArrow = 0x00FFFFFF;
    auto* esg = new TEsgDateTimePicker(form.get());
    esg->SetParent(form.get());
    esg->SetBounds(10, 60, 160, 22);
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 150, 60, 22);
    other->SetFocus();
    pt::ProcessEvents();
    struct Case {
        const char* name;
        TBorderedDateTimePicker* p;
    };
    for (const Case& c : {Case{"TEsgDateTimePicker", esg}, Case{"TExtDateTimePicker", picker}}) {
        SCOPED_TRACE(c.name);
        TBorderedDateTimePicker* p = c.p;
        auto pixel = [&](int X, int Y) {
            pt::ProcessEvents();
            auto b = pt::Grab(p);
            return pt::PixelOf(*b, X, Y);
        };
        const int W = p->Width(), H = p->Height();
        const plat::TRect a = p->ClientAreaInWindow();
        p->SetBorderColor(kBorder);
        p->ButtonColor = kFace;
        p->ButtonTextColor = kArrow;
        p->Invalidate();
        EXPECT_NE(pixel(0, 0), kBorder) << "no frame without MetroStyle";
        EXPECT_NE(pixel(W - 8, H / 2), kFace);

        p->SetMetroStyle(true);
        EXPECT_EQ(pixel(0, 0), kBorder);
        EXPECT_EQ(pixel(W - 1, H / 2), kBorder);
        EXPECT_EQ(pixel(W / 2, H - 1), kBorder);
        // The face (inside the ring around the button) and the arrow's middle.
        const int cw = a.Right - a.Left, faceLeft = a.Left + cw - 18 + 6, faceTop = a.Top + 2;
        EXPECT_EQ(pixel(faceLeft + 1, H / 2 + 3), kFace);
        const int faceRight = a.Left + cw - 2;
        EXPECT_EQ(pixel((faceLeft + faceRight) / 2, faceTop + 8), kArrow);

        // The focus border colour wins while the picker has the focus.
        p->SetFocusBorderColor(kFocus);
        EXPECT_EQ(pixel(0, H / 2), kBorder);
        p->SetFocus();
        pt::ProcessEvents();
        EXPECT_TRUE(p->HasFocus());
        EXPECT_EQ(pixel(0, H / 2), kFocus);
        other->SetFocus();
        pt::ProcessEvents();
        EXPECT_FALSE(p->HasFocus());
        EXPECT_EQ(pixel(0, H / 2), kBorder);
        if (const char* dir = std::getenv("TEST_PICTURES")) {
            const std::string path = std::string(dir) + "/picker-metro-" + c.name + ".png";
            pt::SaveGrab(p, plat::String(path.begin(), path.end()));
        }
    }
    // The embedded time picker keeps the layer's look whatever its settings say.
    TCustomDateTimePicker* t = picker->TimePicker();
    ASSERT_NE(t, nullptr);
    t->SetMetroStyle(true);
    t->SetBorderColor(kBorder);
    pt::ProcessEvents();
    auto b = pt::Grab(t);
    EXPECT_NE(pt::PixelOf(*b, 0, 0), kBorder);
    EXPECT_NE(pt::PixelOf(*b, t->Width() / 2, 0), kBorder);
}

} // namespace
