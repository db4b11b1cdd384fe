#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "EsgCombo.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::TColor;

namespace {

constexpr TColor FormColor = 0x00C0E0C0;

// A shown form with one combo at (100, 50), 140 wide, holding three items.
struct ComboFixture : pt::UiTest {
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 400, 240);
        form->SetColor(FormColor);
        combo = new TEsgComboBox(form.get());
        combo->SetParent(form.get());
        combo->SetBounds(100, 50, 140, 0);
        combo->Items()->Add(u"Alpha");
        combo->Items()->Add(u"Beta");
        combo->Items()->Add(u"Gamma");
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(10, 200, 60, 22);
        form->Show();
        // The combo would otherwise take the first focus, which counts as hot.
        other->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        pt::MoveAway();
        form.reset();
        pt::UiTest::TearDown();
    }
    TColor Pixel(int X, int Y)
    {
        pt::ProcessEvents();
        auto b = pt::Grab(combo);
        return pt::PixelOf(*b, X, Y);
    }
    std::unique_ptr<plat::TForm> form;
    TEsgComboBox* combo = nullptr;
    plat::TEdit* other = nullptr;
};

TColor Rgb(TColor C) { return plat::ColorToRGB(C); }

TEST_F(ComboFixture, DefaultsAreTheDocumentedOnes)
{
    EXPECT_EQ(combo->ButtonWidth(), plat::GetSystemMetrics(plat::SM_CXVSCROLL) + 2);
    EXPECT_FALSE(combo->Flat());
    EXPECT_FALSE(combo->Etched());
    EXPECT_TRUE(combo->FlatParentColor());
    EXPECT_TRUE(combo->DisabledBorder());
    EXPECT_EQ(combo->LabelMargin(), 4);
    EXPECT_EQ(combo->LabelPosition(), lpLeftTop);
    EXPECT_EQ(combo->BorderColor(), plat::clNone);
    EXPECT_EQ(combo->ButtonColor(), plat::clNone);
    EXPECT_EQ(combo->DropWidth(), 0);
    EXPECT_EQ(combo->ComboLabel(), nullptr);
    EXPECT_EQ(combo->LabelCaption(), u"");
}

TEST_F(ComboFixture, ButtonWidthTakesOnlyFourteenToThirtyTwo)
{
    struct Case { int value; int expected; };
    for (const Case& c : {Case{13, 19}, Case{14, 14}, Case{32, 32}, Case{33, 32}, Case{0, 32}, Case{-20, 32}, Case{20, 20}}) {
        combo->SetButtonWidth(c.value);
        EXPECT_EQ(combo->ButtonWidth(), c.expected) << c.value;
    }
}

TEST_F(ComboFixture, LabelSitsWhereItsPositionSays)
{
    combo->SetLabelCaption(u"&Speed");
    plat::TLabel* l = combo->ComboLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), form.get());
    EXPECT_EQ(l->FocusControl(), combo);
    EXPECT_EQ(combo->LabelCaption(), u"&Speed");
    // First set: left of the combo by the margin, top aligned.
    EXPECT_EQ(l->Top(), 50);
    EXPECT_EQ(l->Left() + l->Width() + 4, 100);

    const int T = 50, L = 100, Hc = combo->Height(), Wc = 140, Hl = l->Height(), Wl = l->Width();
    const int M = 7;
    combo->SetLabelMargin(M);
    // The caption's width with its prefix hidden is the label's own width here.
    const int W = Wl;
    struct Case { TLabelPosition pos; int top; int left; };
    const Case cases[] = {
        {lpLeftTop, T, L - W - M},
        {lpLeftCenter, T + (Hc - Hl) / 2, L - W - M},
        {lpLeftBottom, T + Hc - Hl, L - W - M},
        {lpTopLeft, T - Hl - M, L},
        {lpBottomLeft, T + Hc + M, L},
        {lpLeftTopLeft, T, L - M},
        {lpLeftCenterLeft, T + (Hc - Hl) / 2, L - M},
        {lpLeftBottomLeft, T + Hc - Hl, L - M},
        {lpTopCenter, T - Hl - M, L + (Wc - Wl) / 2},
        {lpBottomCenter, T + Hc + M, L + (Wc - Wl) / 2},
        {lpRightTop, T, L + Wc + M},
        {lpRightCenter, T + (Hc - Hl) / 2, L + Wc + M},
        {lpRighBottom, T + Hc - Hl, L + Wc + M},
    };
    for (const Case& c : cases) {
        combo->SetLabelPosition(c.pos);
        EXPECT_EQ(l->Top(), c.top) << c.pos;
        EXPECT_EQ(l->Left(), c.left) << c.pos;
    }
    // Moving the combo carries the label along.
    combo->SetLabelPosition(lpTopLeft);
    combo->SetBounds(30, 120, 140, 0);
    EXPECT_EQ(l->Left(), 30);
    EXPECT_EQ(l->Top(), 120 - Hl - M);
}

TEST_F(ComboFixture, LabelFollowsVisibilityAndEnabledState)
{
    combo->SetLabelCaption(u"Mode");
    plat::TLabel* l = combo->ComboLabel();
    combo->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    combo->SetEnabled(true);
    EXPECT_TRUE(l->Enabled());
    combo->SetLabelAlwaysEnabled(true);
    combo->SetEnabled(false);
    EXPECT_TRUE(l->Enabled());
    combo->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    combo->SetVisible(true);
    EXPECT_TRUE(l->Visible());
}

TEST_F(ComboFixture, LabelTakesItsOwnFontUnlessTheComboFollowsItsParent)
{
    combo->SetLabelCaption(u"Baud rate");
    plat::TLabel* l = combo->ComboLabel();
    const int narrow = l->Width();
    EXPECT_EQ(l->Left(), 100 - narrow - 4);

    // Following the parent's font, the label font given is not taken.
    plat::TFont big;
    big.SetSize(16);
    combo->SetLabelFont(&big);
    EXPECT_NE(combo->LabelFont()->Size(), 16);

    combo->SetParentFont(false);
    combo->SetLabelFont(&big);
    EXPECT_EQ(combo->LabelFont()->Size(), 16);
    EXPECT_EQ(l->Font()->Size(), 16);
    EXPECT_GT(l->Width(), narrow);
    EXPECT_EQ(l->Left(), 100 - l->Width() - 4);
}

TEST_F(ComboFixture, LoadedAppliesStoredColourDropWidthAndNormalColour)
{
    combo->BeginLoading();
    combo->SetColor(0x00E0FFFF);
    combo->SetDropWidth(260);
    combo->SetFocusColor(0x00C0C0FF);
    combo->EndLoading();
    EXPECT_EQ(combo->Color(), TColor(0x00E0FFFF));
    EXPECT_EQ(combo->Perform(plat::CB_GETDROPPEDWIDTH), 260);
    combo->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(combo->Color(), TColor(0x00C0C0FF));
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(combo->Color(), TColor(0x00E0FFFF));
}

TEST_F(ComboFixture, SelectItemTakesOnlyAnExactListEntry)
{
    struct Case { const char16_t* text; int expected; };
    combo->SetItemIndex(1);
    for (const Case& c : {Case{u"Gamma", 2}, Case{u"Delta", 2}, Case{u"", 2}, Case{u"Alpha", 0}, Case{u"Alph", 0}}) {
        combo->SelectItem(c.text);
        EXPECT_EQ(combo->ItemIndex(), c.expected) << plat::String(c.text).size();
    }
}

TEST_F(ComboFixture, DisabledFlatComboShowsParentColourAndGetsItsOwnBack)
{
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    combo->SetColor(0x00F0D0A0);
    combo->SetEnabled(false);
    EXPECT_EQ(combo->Color(), FormColor);
    // The edit portion shows it too, not only the box's own pixels.
    EXPECT_EQ(Pixel(30, combo->Height() / 2), FormColor);
    combo->SetEnabled(true);
    EXPECT_EQ(combo->Color(), TColor(0x00F0D0A0));
    EXPECT_EQ(Pixel(30, combo->Height() / 2), TColor(0x00F0D0A0));
    EXPECT_FALSE(combo->ParentColor());
}

TEST_F(ComboFixture, FlatTakesParentColourUnlessTold)
{
    struct Case { bool parentColor; TColor expected; };
    for (const Case& c : {Case{true, FormColor}, Case{false, plat::clWindow}}) {
        combo->SetFlat(false);
        combo->SetFlatParentColor(c.parentColor);
        combo->SetFlat(true);
        EXPECT_EQ(combo->Color(), c.expected) << c.parentColor;
        EXPECT_FALSE(combo->Ctl3D());
    }
}

TEST_F(ComboFixture, EtchedChangesNothingVisible)
{
    combo->SetFlat(true);
    pt::ProcessEvents();
    auto before = pt::Grab(combo);
    combo->SetEtched(true);
    pt::ProcessEvents();
    auto after = pt::Grab(combo);
    for (int y = 0; y < combo->Height(); ++y)
        for (int x = 0; x < combo->Width(); ++x)
            ASSERT_EQ(pt::PixelOf(*before, x, y), pt::PixelOf(*after, x, y)) << x << "," << y;
}

TEST_F(ComboFixture, BorderColoursFrameTheBox)
{
    const int W = combo->Width(), H = combo->Height();
    combo->SetBorderColor(0x000000FF);
    EXPECT_EQ(Pixel(0, 0), TColor(0x000000FF));
    EXPECT_EQ(Pixel(W - 1, H / 2), TColor(0x000000FF));
    EXPECT_EQ(Pixel(W / 2, H - 1), TColor(0x000000FF));

    // A focus border colour wins over the border colour only while focused.
    combo->SetFocusBorderColor(0x00FF0000);
    combo->Invalidate();
    EXPECT_EQ(Pixel(0, 0), TColor(0x000000FF));
    combo->SetFocus();
    pt::ProcessEvents();
    EXPECT_TRUE(combo->HasFocus());
    EXPECT_EQ(Pixel(0, H / 2), TColor(0x00FF0000));
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_FALSE(combo->HasFocus());
    EXPECT_EQ(Pixel(0, H / 2), TColor(0x000000FF));
}

TEST_F(ComboFixture, FocusBorderColourAloneDrawsOnlyWhileFocused)
{
    const int H = combo->Height();
    const TColor framework = Pixel(0, H / 2);
    combo->SetFocusBorderColor(0x0000A0FF);
    combo->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(Pixel(0, H / 2), TColor(0x0000A0FF));
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(Pixel(0, H / 2), framework);
}

TEST_F(ComboFixture, FlatFrameUsesParentAndOwnColourAndHidesTheButtonUntilHot)
{
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    combo->SetFlatLineColor(0x000080FF);
    const int W = combo->Width(), H = combo->Height(), BW = combo->ButtonWidth();
    // Outer ring in the parent's colour, the second ring in the combo's own.
    EXPECT_EQ(Pixel(0, 0), FormColor);
    EXPECT_EQ(Pixel(2, H / 2), Rgb(plat::clWindow));
    EXPECT_EQ(Pixel(1, 1), FormColor);
    // The underline along the bottom stops short of the button.
    EXPECT_EQ(Pixel(3, H - 1), TColor(0x000080FF));
    EXPECT_EQ(Pixel(W - BW - 2, H - 1), TColor(0x000080FF));
    EXPECT_EQ(Pixel(W - BW, H - 1), FormColor);
    // Not hot: the button's raised edge is painted over with the face colour.
    const int bx = W - BW, by = 3;
    EXPECT_EQ(Pixel(bx, by), Rgb(plat::clBtnFace));
    EXPECT_EQ(Pixel(bx, H / 2), Rgb(plat::clBtnFace));
    // Hot: the raised button shows (a highlight line at its left edge).
    // Over the button strip: the hosted edit covers the rest of the box.
    const plat::TRect a = combo->ClientAreaInWindow();
    pt::Move(combo, W - 8 - a.Left, 5);
    EXPECT_TRUE(combo->MouseInControl());
    EXPECT_EQ(Pixel(W - BW, H / 2), Rgb(plat::clBtnHighlight));
    pt::MoveAway();
    EXPECT_FALSE(combo->MouseInControl());
    EXPECT_EQ(Pixel(W - BW, H / 2), Rgb(plat::clBtnFace));
}

TEST_F(ComboFixture, CustomButtonColoursFollowHoverAndPress)
{
    combo->SetButtonColor(0x00FF8000);
    combo->SetButtonColorHot(0x0000C000);
    combo->SetButtonColorDown(0x00000080);
    combo->SetButtonTextColor(0x00FFFFFF);
    combo->SetButtonTextColorDown(0x0000FFFF);
    combo->SetButtonBorderColor(0x00808000);
    const int W = combo->Width(), BW = combo->ButtonWidth();
    // The face rectangle starts at width - ButtonWidth + 4 and one pixel below the top.
    const int fl = W - BW + 4, ft = 2;
    EXPECT_EQ(Pixel(fl, ft + 1), TColor(0x00808000));  // separator line
    EXPECT_EQ(Pixel(fl + 2, ft + 1), TColor(0x00FF8000));
    EXPECT_EQ(Pixel(fl + 7, ft + 8), TColor(0x00FFFFFF));  // inside the arrow

    // Hover over the button strip (window x = client x + the frame width).
    const plat::TRect a = combo->ClientAreaInWindow();
    pt::Move(combo, W - BW / 2 - a.Left, 5);
    EXPECT_TRUE(combo->ButtonHover());
    EXPECT_EQ(Pixel(fl + 2, ft + 1), TColor(0x0000C000));
    pt::Move(combo, 10, 0);  // the box's own row above the edit
    EXPECT_FALSE(combo->ButtonHover());
    EXPECT_EQ(Pixel(fl + 2, ft + 1), TColor(0x00FF8000));

    // Held down over the button: the pressed face and arrow.
    pt::Move(combo, W - BW / 2 - a.Left, 5);
    pt::Press(combo, W - BW / 2 - a.Left, 5);
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(Pixel(fl + 2, ft + 1), TColor(0x00000080));
    EXPECT_EQ(Pixel(fl + 7, ft + 8), TColor(0x0000FFFF));
    pt::Release(combo, W - BW / 2 - a.Left, 5);
    EXPECT_EQ(Pixel(fl + 2, ft + 1), TColor(0x0000C000));
    combo->SetDroppedDown(false);
}

TEST_F(ComboFixture, AutoFocusTakesTheFocusOnMouseEntry)
{
    struct Case { bool autoFocus; bool focused; };
    const plat::TRect a = combo->ClientAreaInWindow();
    for (const Case& c : {Case{false, false}, Case{true, true}}) {
        other->SetFocus();
        pt::MoveAway();
        combo->SetAutoFocus(c.autoFocus);
        pt::Move(combo, combo->Width() - 8 - a.Left, 5);
        pt::ProcessEvents();
        EXPECT_EQ(combo->Focused(), c.focused) << c.autoFocus;
        EXPECT_EQ(combo->HasFocus(), c.focused) << c.autoFocus;
    }
}

TEST_F(ComboFixture, FocusColourAndBoldLabelFollowTheFocus)
{
    combo->SetColor(0x00FFFFFF);
    combo->Init();
    combo->SetFocusColor(0x0080FFFF);
    combo->SetFocusLabel(true);
    combo->SetLabelCaption(u"Type");
    combo->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(combo->Color(), TColor(0x0080FFFF));
    EXPECT_TRUE(combo->ComboLabel()->Font()->Style().Contains(plat::fsBold));
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(combo->Color(), TColor(0x00FFFFFF));
    EXPECT_FALSE(combo->ComboLabel()->Font()->Style().Contains(plat::fsBold));
}

TEST_F(ComboFixture, ListCloseFiresDropUpOnce)
{
    int dropUps = 0;
    combo->OnDropUp = [&](plat::TObject*) { ++dropUps; };
    combo->SetFocus();
    combo->SetDroppedDown(true);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(dropUps, 0);
    pt::Key(plat::VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(dropUps, 1);
    combo->SetDroppedDown(true);
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(dropUps, 2);
}

TEST_F(ComboFixture, DropWidthWidensTheListOnlyWhenPositive)
{
    struct Case { int value; int expected; };
    for (const Case& c : {Case{300, 300}, Case{0, 300}, Case{-5, 300}}) {
        combo->SetDropWidth(c.value);
        EXPECT_EQ(combo->DropWidth(), c.value);
        EXPECT_EQ(combo->Perform(plat::CB_GETDROPPEDWIDTH), c.expected) << c.value;
    }
}

// Pictures of the painted states for a look by eye; written only when TEST_PICTURES
// names a folder.
TEST_F(ComboFixture, RendersItsStatesForInspection)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir)
        GTEST_SKIP() << "TEST_PICTURES not set";
    const std::string base(dir);
    auto save = [&](const char* name) {
        pt::ProcessEvents();
        const std::string path = base + "/" + name;
        pt::SaveGrab(combo, plat::String(path.begin(), path.end()));
    };
    const plat::TRect a = combo->ClientAreaInWindow();
    save("combo-standard.png");
    combo->SetFlat(true);
    combo->SetFlatLineColor(0x000080FF);
    save("combo-flat.png");
    pt::Move(combo, combo->Width() - 8 - a.Left, 5);
    save("combo-flat-hot.png");
    pt::MoveAway();
    combo->SetEnabled(false);
    save("combo-flat-disabled.png");
    combo->SetEnabled(true);
    combo->SetFlat(false);
    combo->SetBorderColor(0x000000FF);
    combo->SetButtonColor(0x00FF8000);
    combo->SetButtonColorHot(0x0000C000);
    combo->SetButtonTextColor(0x00FFFFFF);
    combo->SetButtonBorderColor(0x00808000);
    save("combo-coloured.png");
    pt::Move(combo, combo->Width() - 8 - a.Left, 5);
    save("combo-coloured-hot.png");
}

} // namespace
