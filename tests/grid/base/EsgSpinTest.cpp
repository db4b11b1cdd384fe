#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "esgspin.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Timers.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;

namespace {

// A shown form with a spin editor at (20, 20), 120 by 24, and a second edit to leave to.
struct SpinFixture : pt::UiTest {
    void SetUp() override
    {
        pt::UiTest::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings = plat::TFormatSettings{};
        SetBeepHandler([this] { ++beeps; });
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 300, 160);
        spin = new TEsgSpinEdit(form.get());
        spin->SetParent(form.get());
        spin->SetBounds(20, 20, 120, 24);
        spin->SetTabStop(true);
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(20, 100, 60, 22);
        other->SetTabStop(true);
        form->Show();
        spin->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        pt::MoveAway();
        form.reset();
        SetBeepHandler(nullptr);
        plat::FormatSettings = saved;
        pt::UiTest::TearDown();
    }
    // Puts the text and the caret, then types.
    void TypeAt(const String& Text, int Caret, const String& Typed)
    {
        spin->SetText(Text);
        spin->SetSelStart(Caret);
        spin->SetSelLength(0);
        pt::Type(Typed);
    }
    plat::TFormatSettings saved;
    std::unique_ptr<plat::TForm> form;
    TEsgSpinEdit* spin = nullptr;
    plat::TEdit* other = nullptr;
    int beeps = 0;
};

TEST(SpinTextParsing, DatesAndTimesFollowTheFormatSettings)
{
    const plat::TFormatSettings saved = plat::FormatSettings;
    plat::FormatSettings = plat::TFormatSettings{};
    struct Case {
        const char16_t* format;
        const char16_t* text;
        bool ok;
        int y, m, d;
    } dates[] = {
        {u"dd/mm/yyyy", u"03/04/2021", true, 2021, 4, 3},
        {u"mm/dd/yyyy", u"03/04/2021", true, 2021, 3, 4},
        {u"yyyy/mm/dd", u"2021/04/03", true, 2021, 4, 3},
        {u"dd/mm/yyyy", u"31/02/2021", false, 0, 0, 0},
        {u"dd/mm/yyyy", u"3/4", false, 0, 0, 0},
        {u"dd/mm/yyyy", u"a/b/c", false, 0, 0, 0},
        {u"dd/mm/yyyy", u"", false, 0, 0, 0},
    };
    for (const auto& c : dates) {
        plat::FormatSettings.ShortDateFormat = c.format;
        plat::TDateTime v = 0;
        ASSERT_EQ(TryTextToDate(c.text, v), c.ok) << plat::StringToUtf8(c.text);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, plat::EncodeDate(c.y, c.m, c.d)) << plat::StringToUtf8(c.text);
        }
    }
    struct TimeCase {
        const char16_t* text;
        bool ok;
        int h, n, sec;
    } times[] = {
        {u"10:20:30", true, 10, 20, 30}, {u"7:05", true, 7, 5, 0}, {u" 9 ", true, 9, 0, 0},
        {u"24:00:00", false, 0, 0, 0},   {u"10:61", false, 0, 0, 0}, {u"1:2:3:4", false, 0, 0, 0},
        {u"-1:00", false, 0, 0, 0},
    };
    for (const auto& c : times) {
        plat::TDateTime v = 0;
        ASSERT_EQ(TryTextToTime(c.text, v), c.ok) << plat::StringToUtf8(c.text);
        if (c.ok) {
            EXPECT_NEAR(v, plat::EncodeTime(c.h, c.n, c.sec, 0), 1e-9) << plat::StringToUtf8(c.text);
        }
    }
    plat::FormatSettings = saved;
}

TEST_F(SpinFixture, DefaultsAndInitialText)
{
    EXPECT_EQ(spin->Text(), u"0");
    EXPECT_EQ(spin->MinValue, 0);
    EXPECT_EQ(spin->MaxValue, 100);
    EXPECT_EQ(spin->Increment, 1);
    EXPECT_DOUBLE_EQ(spin->IncrementFloat, 0.1);
    EXPECT_EQ(spin->SpinType(), sptNormal);
    EXPECT_TRUE(spin->EditorEnabled());
    EXPECT_EQ(spin->Button()->UpButton()->ButtonDirection(), bdUp);
    EXPECT_EQ(spin->Button()->DownButton()->ButtonDirection(), bdDown);
    EXPECT_EQ(spin->Button()->ButtonColor, clNotSet);
}

TEST_F(SpinFixture, IntegerReadsAndClampedWrites)
{
    struct Case {
        const char16_t* text;
        int expected;
    } cases[] = {
        {u"", 0}, {u"  42 ", 42}, {u"abc", 0}, {u"-7", -7}, {u"12x", 0},
    };
    spin->MinValue = 0;
    for (const auto& c : cases) {
        spin->SetText(c.text);
        EXPECT_EQ(spin->Value(), c.expected) << plat::StringToUtf8(c.text);
    }
    // Unparseable text reads the minimum, not zero.
    spin->MinValue = 5;
    spin->SetText(u"letters");
    EXPECT_EQ(spin->Value(), 5);

    struct Clamp {
        int min, max, value;
        const char16_t* shown;
    } clamps[] = {
        {0, 100, 150, u"100"}, {0, 100, -3, u"0"}, {10, 20, 15, u"15"}, {0, 0, 12345, u"12345"}, {0, 0, -9, u"-9"},
    };
    for (const auto& c : clamps) {
        spin->MinValue = c.min;
        spin->MaxValue = c.max;
        spin->SetValue(c.value);
        EXPECT_EQ(spin->Text(), c.shown) << c.min << ".." << c.max << " " << c.value;
    }
}

TEST_F(SpinFixture, IntegerSteppingRespectsLimits)
{
    spin->SetValue(100);
    spin->StepUp(false);
    EXPECT_EQ(spin->Text(), u"100");  // the default maximum holds
    spin->SetValue(0);
    spin->StepDown(true);
    EXPECT_EQ(spin->Text(), u"0");
    spin->MaxValue = 0;  // equal limits: no clamp
    for (int i = 1; i <= 3; ++i) {
        spin->StepUp(false);
        EXPECT_EQ(spin->Value(), i);
    }
    spin->Increment = 5;
    spin->StepUp(true);  // paging changes nothing for integers
    EXPECT_EQ(spin->Value(), 8);
    // Unlimited stepping stops at the ends of the integer range instead of wrapping.
    spin->SetValue(2147483645);
    spin->StepUp(false);
    EXPECT_EQ(spin->Text(), u"2147483647");
    spin->SetValue(-2147483647 - 1 + 2);
    spin->StepDown(false);
    EXPECT_EQ(spin->Text(), u"-2147483648");
}

TEST_F(SpinFixture, KeysStepAndAreConsumed)
{
    int keyDowns = 0;
    spin->OnKeyDown = [&](plat::TObject*, std::uint16_t&, plat::TShiftState) { ++keyDowns; };
    spin->SetValue(50);
    struct Case {
        std::uint16_t key;
        int expected;
    } cases[] = {{plat::VK_UP, 51}, {plat::VK_DOWN, 50}, {plat::VK_PRIOR, 51}, {plat::VK_NEXT, 50}};
    for (const auto& c : cases) {
        pt::Key(c.key);
        EXPECT_EQ(spin->Value(), c.expected) << c.key;
    }
    EXPECT_EQ(keyDowns, 0);
}

TEST_F(SpinFixture, FloatFormattingAndPaging)
{
    spin->SetSpinType(sptFloat);
    spin->SetPrecision(2);
    spin->SetFloatValue(1.5);
    EXPECT_EQ(spin->Text(), u"1.50");
    spin->StepUp(false);
    EXPECT_EQ(spin->Text(), u"1.60");
    spin->StepUp(true);
    EXPECT_EQ(spin->Text(), u"2.60");
    spin->SetFloatValue(250);
    EXPECT_EQ(spin->Text(), u"100.00");
    spin->SetPrecision(0);
    spin->SetFloatValue(2.25);
    EXPECT_EQ(spin->Text(), u"2.25");
    // Unparseable float text reads the integer minimum.
    spin->MinValue = 3;
    spin->MinFloatValue = 1;
    spin->SetText(u"x");
    EXPECT_DOUBLE_EQ(spin->FloatValue(), 3.0);
}

struct TypedCase {
    TEsgSpinType type;
    int precision;
    const char16_t* text;
    int caret;
    const char16_t* typed;
    const char16_t* result;
    bool beeps;
};

TEST_F(SpinFixture, TypedCharacterFilter)
{
    const TypedCase cases[] = {
        {sptNormal, 0, u"12", 2, u"3", u"123", false},
        {sptNormal, 0, u"12", 2, u"a", u"12", true},
        {sptNormal, 0, u"12", 1, u"-", u"12", true},   // "-" in the middle
        {sptNormal, 0, u"12", 0, u"-", u"-12", false},
        {sptNormal, 0, u"-12", 0, u"-", u"-12", true}, // a second "-"
        {sptNormal, 0, u"12", 2, u".", u"12", true},
        {sptNormal, 0, u"12", 2, u":", u"12", true},
        {sptFloat, 0, u"1", 1, u".5", u"1.5", false},
        {sptFloat, 0, u"1.5", 3, u".", u"1.5", true},   // a second separator
        {sptFloat, 0, u"1", 1, u",", u"1", true},       // thousands separator
        {sptFloat, 2, u"1.50", 4, u"7", u"1.50", true}, // a third decimal
        {sptFloat, 2, u"1.5", 3, u"7", u"1.57", false},
        {sptFloat, 2, u"1.50", 0, u"2", u"21.50", false},
        {sptTime, 0, u"10:20", 5, u":30", u"10:20:30", false},
        {sptTime, 0, u"10:20:30", 8, u":", u"10:20:30", true},
        {sptDate, 0, u"01/02", 5, u"/2020", u"01/02/2020", false},
        {sptTime, 0, u"10", 2, u"/", u"10", true},       // date separator in a time editor
    };
    for (const auto& c : cases) {
        spin->SetSpinType(c.type);
        spin->SetPrecision(c.precision);
        beeps = 0;
        TypeAt(c.text, c.caret, c.typed);
        EXPECT_EQ(spin->Text(), c.result) << plat::StringToUtf8(c.text) << " + " << plat::StringToUtf8(c.typed);
        EXPECT_EQ(beeps > 0, c.beeps) << plat::StringToUtf8(c.text) << " + " << plat::StringToUtf8(c.typed);
    }
}

TEST_F(SpinFixture, TypingDisabledAcceptsNoCharacters)
{
    spin->SetEditorEnabled(false);
    beeps = 0;
    TypeAt(u"12", 2, u"3");
    EXPECT_EQ(spin->Text(), u"12");
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(spin->IsValidChar(u'\b'));
    // Control keys other than Backspace still pass where the editor kind allows them.
    spin->SetSpinType(sptFloat);
    EXPECT_TRUE(spin->IsValidChar(27));
    EXPECT_FALSE(spin->IsValidChar(u'5'));
}

TEST_F(SpinFixture, ReadOnlyBeepsInsteadOfStepping)
{
    spin->SetValue(5);
    spin->SetReadOnly(true);
    spin->StepUp(false);
    spin->StepDown(true);
    EXPECT_EQ(spin->Value(), 5);
    EXPECT_EQ(beeps, 2);
}

TEST_F(SpinFixture, TimeSteppingByCaretWrapsWithinADay)
{
    struct Case {
        const char16_t* text;
        int caret;
        bool up;
        const char16_t* result;
    } cases[] = {
        {u"23:30:00", 4, false, u"22:45:00"},
        {u"23:30:00", 4, true, u"00:15:00"},
        {u"23:30:00", 0, true, u"00:30:00"},
        {u"00:30:00", 1, false, u"23:30:00"},
        {u"10:00:00", 7, false, u"09:59:59"},
        {u"10:00:59", 7, true, u"10:01:00"},
    };
    spin->SetSpinType(sptTime);
    spin->IncrementMinutes = 45;
    for (const auto& c : cases) {
        spin->SetText(c.text);
        spin->SetSelStart(c.caret);
        spin->SetSelLength(0);
        if (c.up) spin->StepUp(false); else spin->StepDown(false);
        EXPECT_EQ(spin->Text(), c.result) << plat::StringToUtf8(c.text) << " caret " << c.caret << (c.up ? " up" : " down");
    }
}

TEST_F(SpinFixture, DateSteppingByCaretAndFormatOrder)
{
    struct Case {
        const char16_t* format;
        const char16_t* text;
        int caret;
        bool up;
        const char16_t* result;
        bool us;
    } cases[] = {
        {u"dd/mm/yyyy", u"31/01/2021", 0, true, u"01/02/2021", false},
        {u"dd/mm/yyyy", u"31/01/2021", 3, true, u"28/02/2021", false},  // month end clamps
        {u"dd/mm/yyyy", u"29/02/2024", 7, true, u"28/02/2025", false},  // no 29 February
        {u"dd/mm/yyyy", u"15/06/2021", 7, false, u"15/06/2020", false},
        {u"mm/dd/yyyy", u"01/31/2021", 0, true, u"02/28/2021", true},
        {u"mm/dd/yyyy", u"01/31/2021", 3, true, u"02/01/2021", true},
    };
    spin->SetSpinType(sptDate);
    for (const auto& c : cases) {
        plat::FormatSettings.ShortDateFormat = c.format;
        spin->SetText(c.text);
        spin->SetSelStart(c.caret);
        spin->SetSelLength(0);
        if (c.up) spin->StepUp(false); else spin->StepDown(false);
        EXPECT_EQ(spin->Text(), c.result) << plat::StringToUtf8(c.text) << " caret " << c.caret;
        EXPECT_EQ(spin->UsDates(), c.us);
    }
    // "0" or empty text means today.
    spin->SetText(u"0");
    EXPECT_DOUBLE_EQ(std::floor(spin->DateValue()), std::floor(plat::Now()));
}

TEST_F(SpinFixture, LeavingReappliesOutOfRangeValue)
{
    spin->SetText(u"500");
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(spin->Text(), u"100");
}

TEST_F(SpinFixture, ButtonClicksStepAndAutoRepeat)
{
    spin->SetValue(10);
    auto* up = spin->Button()->UpButton();
    auto* down = spin->Button()->DownButton();
    pt::Click(up, 3, 3);
    EXPECT_EQ(spin->Value(), 11);
    pt::Click(down, 3, 3);
    EXPECT_EQ(spin->Value(), 10);

    pt::Press(up, 3, 3);
    EXPECT_EQ(spin->Value(), 10);  // a press alone does not step
    struct Step {
        unsigned advance;
        int expected;
    } steps[] = {{399, 10}, {1, 11}, {99, 11}, {1, 12}, {100, 13}, {300, 16}};
    for (const auto& s : steps) {
        pt::AdvanceClock(s.advance);
        EXPECT_EQ(spin->Value(), s.expected) << "after " << pt::Now();
    }
    pt::Release(up, 3, 3);
    EXPECT_EQ(spin->Value(), 17);  // the release clicks once more
    pt::AdvanceClock(1000);
    EXPECT_EQ(spin->Value(), 17);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_FALSE(up->RepeatTimer()->Enabled());
}

TEST_F(SpinFixture, KeypadPointAndClipboardRules)
{
    plat::FormatSettings.DecimalSeparator = u',';
    plat::FormatSettings.ThousandSeparator = u'.';
    spin->SetSpinType(sptFloat);
    struct Case {
        bool excel;
        plat::LPARAM keyData;
        const char16_t* result;
    } cases[] = {
        {true, 1 << 22, u"1,"},   // keypad point types the decimal separator
        {true, 0, u"1"},          // main-keyboard point is the thousands separator: refused
        {false, 1 << 22, u"1"},
    };
    for (const auto& c : cases) {
        spin->ExcelStyleDecimalSeparator = c.excel;
        spin->SetText(u"1");
        spin->SetSelStart(1);
        spin->Perform(plat::WM_CHAR, u'.', c.keyData);
        EXPECT_EQ(spin->Text(), c.result) << c.excel << " " << c.keyData;
    }
    // Cut is refused while typing is disabled or read-only.
    spin->SetText(u"12,5");
    spin->SelectAll();
    spin->SetEditorEnabled(false);
    spin->Perform(plat::WM_CUT);
    EXPECT_EQ(spin->Text(), u"12,5");
    spin->SetEditorEnabled(true);
    spin->SetReadOnly(true);
    spin->Perform(plat::WM_CUT);
    EXPECT_EQ(spin->Text(), u"12,5");
}

TEST_F(SpinFixture, ReturnIsTabMovesOn)
{
    for (bool returnIsTab : {false, true}) {
        spin->SetFocus();
        spin->ReturnIsTab = returnIsTab;
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        EXPECT_EQ(other->Focused(), returnIsTab);
    }
}

TEST_F(SpinFixture, SpinButtonKeysAndFocusedHalf)
{
    auto* sb = new TEsgSpinButton(form.get());
    sb->SetParent(form.get());
    sb->SetBounds(200, 20, 15, 30);
    sb->SetTabStop(true);
    std::vector<char> clicks;
    sb->OnUpClick = [&](plat::TObject*) { clicks.push_back('u'); };
    sb->OnDownClick = [&](plat::TObject*) { clicks.push_back('d'); };
    sb->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(sb->FocusedButton(), sb->UpButton());
    EXPECT_TRUE(sb->UpButton()->TimeBtnState() & tbFocusRect);
    pt::Key(plat::VK_DOWN);
    pt::Key(plat::VK_SPACE);
    pt::Key(plat::VK_UP);
    EXPECT_EQ(clicks, (std::vector<char>{'d', 'd', 'u'}));
    EXPECT_EQ(sb->FocusedButton(), sb->UpButton());
    EXPECT_FALSE(sb->DownButton()->TimeBtnState() & tbFocusRect);
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_FALSE(sb->UpButton()->TimeBtnState() & tbFocusRect);

    // The focus control is forgotten when it goes.
    auto* target = new plat::TEdit(form.get());
    target->SetParent(form.get());
    sb->SetFocusControl(target);
    delete target;
    EXPECT_EQ(sb->FocusControl(), nullptr);
    pt::Click(sb->DownButton(), 3, 3);
    EXPECT_EQ(clicks.back(), 'd');
}

TEST_F(SpinFixture, ButtonLayoutFollowsDirection)
{
    auto* sb = spin->Button();
    sb->SetBounds(0, 0, 10, 21);
    EXPECT_EQ(sb->Width(), 15);  // vertical minimum
    EXPECT_EQ(sb->UpButton()->BoundsRect(), plat::Bounds(0, 0, 15, 10));
    EXPECT_EQ(sb->DownButton()->BoundsRect(), plat::Bounds(0, 9, 15, 12));
    sb->SetDirection(spHorizontal);
    EXPECT_EQ(sb->Width(), 20);
    EXPECT_EQ(sb->UpButton()->ButtonDirection(), bdRight);
    EXPECT_EQ(sb->DownButton()->ButtonDirection(), bdLeft);
    EXPECT_EQ(sb->DownButton()->BoundsRect(), plat::Bounds(0, 0, 10, 21));
    EXPECT_EQ(sb->UpButton()->BoundsRect(), plat::Bounds(11, 0, 10, 21));
}

TEST_F(SpinFixture, EditPlacesButtonAtRightEdge)
{
    // Framed 3-D edit: x = width - button width - 5, height - 5.
    spin->SetBorderStyle(plat::bsSingle);
    spin->SetBounds(20, 20, 120, 30);
    auto* sb = spin->Button();
    EXPECT_EQ(sb->Left(), 120 - sb->Width() - 5);
    EXPECT_EQ(sb->Top(), 0);
    EXPECT_EQ(sb->Height(), 25);
    spin->SetHeight(4);
    EXPECT_GE(spin->Height(), spin->MinHeight());
}

TEST_F(SpinFixture, PlainButtonsShowArrowsAndPressedState)
{
    auto* up = spin->Button()->UpButton();
    spin->SetBounds(20, 20, 120, 40);
    pt::ProcessEvents();
    pt::SaveGrab(spin, u"spin_plain.png");
    auto dark = [](const plat::TBitmap& G, int W, int H) {
        int n = 0;
        for (int x = 2; x < W - 2; ++x)
            for (int y = 2; y < H - 2; ++y)
                if (pt::PixelOf(G, x, y) == plat::ColorToRGB(plat::clBlack)) ++n;
        return n;
    };
    auto normal = pt::Grab(up);
    EXPECT_GT(dark(*normal, up->Width(), up->Height()), 0);  // the arrow
    pt::Press(up, 3, 3);
    pt::ProcessEvents();
    auto pressed = pt::Grab(up);
    // A pushed frame has no light top-left edge.
    EXPECT_NE(pt::PixelOf(*pressed, 1, 1), pt::PixelOf(*normal, 1, 1));
    pt::Release(up, 3, 3);
}

TEST_F(SpinFixture, GlyphsReplaceAndRestoreTheBuiltInArrow)
{
    auto* sb = spin->Button();
    auto* up = sb->UpButton();
    spin->SetBounds(20, 20, 120, 40);
    auto centre = [&] {
        pt::ProcessEvents();
        auto g = pt::Grab(up);
        return pt::PixelOf(*g, up->Width() / 2, up->Height() / 2);
    };
    EXPECT_EQ(centre(), plat::ColorToRGB(plat::clBlack));
    plat::TBitmap red;
    red.SetSize(5, 5);
    // The bottom-left pixel's colour is the glyph's see-through colour.
    red.Canvas()->Brush()->SetColor(plat::clFuchsia);
    red.Canvas()->FillRect(plat::TRect{0, 0, 5, 5});
    red.Canvas()->Brush()->SetColor(plat::clRed);
    red.Canvas()->FillRect(plat::TRect{1, 1, 4, 4});
    sb->SetUpGlyph(&red);
    EXPECT_EQ(centre(), plat::ColorToRGB(plat::clRed));
    sb->SetUpGlyph(nullptr);
    EXPECT_EQ(centre(), plat::ColorToRGB(plat::clBlack));
    EXPECT_EQ(sb->UpNumGlyphs(), 1);
}

TEST_F(SpinFixture, ColouredButtonsPaintTriangles)
{
    auto* sb = spin->Button();
    sb->ButtonColor = plat::clYellow;
    sb->ButtonColorHot = plat::clYellow;
    sb->ButtonColorDown = plat::clRed;
    spin->SetBounds(20, 20, 120, 40);
    pt::ProcessEvents();
    pt::SaveGrab(spin, u"spin_coloured.png");
    auto grab = pt::Grab(sb->UpButton());
    EXPECT_EQ(pt::PixelOf(*grab, 6, 3), plat::ColorToRGB(plat::clBlack));  // inside the up triangle
    EXPECT_EQ(pt::PixelOf(*grab, 10, 10), plat::ColorToRGB(plat::clYellow));
    pt::Press(sb->DownButton(), 1, 8);
    pt::ProcessEvents();
    auto pressed = pt::Grab(sb->DownButton());
    EXPECT_EQ(pt::PixelOf(*pressed, 10, 10), plat::ColorToRGB(plat::clRed));
    pt::Release(sb->DownButton(), 1, 8);
}

} // namespace
