// TFadeButton on a shown offscreen form: pixels of the program's Encarta look, input, dialog
// keys, modal results, presets and the fade on the fake clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "FadeButton.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Menus.h"
#include "plat/Testing.h"

using namespace controls;
using namespace plat;
namespace pt = plat::testing;

namespace {

// The look every window of the program gives its buttons.
constexpr TColor Cream = 0xEDF7F8;
constexpr TColor Grey = 0x808080;
constexpr TColor Yellow = 0x00FFFF;
constexpr TColor Orange = 0x0080FF;
constexpr int W = 110;
constexpr int H = 28;

void ApplyProgramLook(TFadeButton& b)
{
    b.SetStyle(TFadeButtonStyle::bsEncarta);
    b.SetColor(Cream);
    b.SetLightColor(Grey);
    b.SetShadowColor(Grey);
    b.SetHotTrackColor(Yellow);
    b.SetColorWhenDown(Orange);
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    b.SetFont(&f);
}

// A focusable control that is not a button.
class TPlainField : public TCustomControl {
public:
    explicit TPlainField(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    String ClassName() const override { return u"TEdit"; }
};

// Only its class name matters to the dialog-key rule.
class TRadioLike : public TCustomControl {
public:
    explicit TRadioLike(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    String ClassName() const override { return u"TRadioButton"; }
};

class FadeButtonTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 200);
        form->SetColor(Cream);
        field = new TPlainField(form.get());
        field->SetParent(form.get());
        field->SetBounds(10, 150, 80, 20);
        button = MakeButton(10, 10, u"Cancel");
        form->Show();
        form->SetActiveControl(field);
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }

    TFadeButton* MakeButton(int left, int top, const String& caption)
    {
        auto* b = new TFadeButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(left, top, W, H);
        ApplyProgramLook(*b);
        b->SetCaption(caption);
        b->OnClick = [this](TObject* sender) { clicks.push_back(static_cast<TFadeButton*>(sender)); };
        return b;
    }

    TColor Pixel(TControl* c, int x, int y)
    {
        pt::ProcessEvents();
        const std::unique_ptr<TBitmap> grab = pt::Grab(c);
        return pt::PixelOf(*grab, x, y);
    }

    int ClicksOf(const TFadeButton* b) const
    {
        int n = 0;
        for (const TFadeButton* c : clicks)
            n += c == b;
        return n;
    }

    std::unique_ptr<TForm> form;
    TPlainField* field = nullptr;
    TFadeButton* button = nullptr;
    std::vector<TFadeButton*> clicks;
};

// A one-image glyph: an 18 × 18 blue square whose bottom-left pixel is the transparent key.
std::unique_ptr<TBitmap> BlueSquare()
{
    auto g = std::make_unique<TBitmap>(18, 18);
    g->Canvas()->Brush()->SetColor(0xFF0000);
    g->Canvas()->FillRect({0, 0, 18, 18});
    g->Canvas()->SetPixels(0, 17, 0x00FF00);
    return g;
}

// First column from `from` on of row y whose pixel has colour c, -1 when none.
int FirstColumnOf(TControl* c, int y, TColor colour, int from = 0)
{
    pt::ProcessEvents();
    const std::unique_ptr<TBitmap> grab = pt::Grab(c);
    for (int x = from; x < grab->Width(); ++x)
        if (pt::PixelOf(*grab, x, y) == colour)
            return x;
    return -1;
}

TEST_F(FadeButtonTest, EncartaFaceEdgeHotAndPressedColours)
{
    struct Probe {
        const char* what;
        int x, y;
        TColor expected;
    };
    const Probe idle[] = {
        {"face", 2, 2, Cream},          {"face low right", W - 3, H - 3, Cream},
        {"top edge", 50, 0, Grey},      {"left edge", 0, 14, Grey},
        {"right edge", W - 1, 14, Grey}, {"bottom edge", 50, H - 1, Grey},
        {"corner", 0, 0, Grey},         {"far corner", W - 1, H - 1, Grey},
    };
    for (const Probe& p : idle)
        EXPECT_EQ(Pixel(button, p.x, p.y), p.expected) << "idle " << p.what;

    pt::Move(button, 50, 14);
    EXPECT_EQ(button->HotTrackStep(), 8);
    EXPECT_EQ(Pixel(button, 2, 2), Yellow) << "hot face";
    EXPECT_EQ(Pixel(button, 50, 0), Grey) << "hot edge";

    pt::Press(button, 50, 14);
    EXPECT_TRUE(button->IsDown());
    EXPECT_EQ(Pixel(button, 2, 2), Orange) << "pressed face";
    EXPECT_EQ(Pixel(button, 0, 0), Grey) << "pressed edge keeps its colour";
    pt::Release(button, 50, 14);

    pt::MoveAway();
    EXPECT_EQ(button->HotTrackStep(), 0);
    EXPECT_EQ(Pixel(button, 2, 2), Cream) << "back at once after leaving";
}

TEST_F(FadeButtonTest, FocusRectangleLiesFourPixelsInside)
{
    button->SetFocus();
    pt::ProcessEvents();
    ASSERT_TRUE(button->Focused());
    const std::unique_ptr<TBitmap> grab = pt::Grab(button);
    auto changed = [&](int x, int y) { return pt::PixelOf(*grab, x, y) != Cream; };
    int top = 0, bottom = 0, left = 0, right = 0;
    for (int x = 4; x < W - 4; ++x) {
        top += changed(x, 4);
        bottom += changed(x, H - 5);
        EXPECT_FALSE(changed(x, 3)) << "row 3, x " << x;
        EXPECT_FALSE(changed(x, H - 4)) << "row " << H - 4 << ", x " << x;
    }
    for (int y = 6; y < H - 6; ++y) {
        left += changed(4, y);
        right += changed(W - 5, y);
        EXPECT_FALSE(changed(3, y)) << "column 3, y " << y;
        EXPECT_FALSE(changed(W - 4, y)) << "column " << W - 4 << ", y " << y;
    }
    // Dotted: about every other pixel of each side.
    EXPECT_NEAR(top, (W - 8) / 2, 2);
    EXPECT_NEAR(bottom, (W - 8) / 2, 2);
    EXPECT_NEAR(left, (H - 12) / 2, 2);
    EXPECT_NEAR(right, (H - 12) / 2, 2);

    // Focus elsewhere: the rectangle goes.
    form->SetActiveControl(field);
    EXPECT_EQ(Pixel(button, 20, 4), Cream);
    EXPECT_EQ(Pixel(button, 21, 4), Cream);
}

TEST_F(FadeButtonTest, PressedEncartaKeepsItsContentWhileNormalMovesIt)
{
    // Glyph alone: a caption would move it anyway, as the bold pressed caption is wider.
    const auto glyph = BlueSquare();
    button->SetCaption(u"");
    button->SetGlyph(glyph.get());
    struct Case {
        TFadeButtonStyle style;
        int shift;
    };
    for (const Case c : {Case{TFadeButtonStyle::bsEncarta, 0}, Case{TFadeButtonStyle::bsNormal, 1}}) {
        pt::MoveAway();
        form->SetActiveControl(field);
        button->SetStyle(c.style);
        const int idleX = FirstColumnOf(button, 14, 0xFF0000);
        EXPECT_EQ(idleX, (W - 18) / 2);
        EXPECT_EQ(FirstColumnOf(button, 14, 0x00FF00), -1) << "glyph key colour is transparent";
        pt::Press(button, 50, 14);
        // Columns 4 and 5 carry the focus rectangle, which can XOR any face into blue.
        EXPECT_EQ(FirstColumnOf(button, 14, 0xFF0000, 6), idleX + c.shift) << static_cast<int>(c.style);
        pt::Release(button, 50, 14);
    }
}

TEST_F(FadeButtonTest, PressedEncartaCaptionTurnsBold)
{
    button->SetCaption(u"WWWWWW");
    auto inkColumns = [&] {
        pt::ProcessEvents();
        const std::unique_ptr<TBitmap> grab = pt::Grab(button);
        int first = -1, last = -1;
        for (int x = 2; x < W - 2; ++x)
            for (int y = 6; y < H - 6; ++y)
                if (pt::PixelOf(*grab, x, y) == 0x000000) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        return last - first;
    };
    const int normal = inkColumns();
    pt::Press(button, 50, 14);
    EXPECT_GT(inkColumns(), normal);
    pt::Release(button, 50, 14);
}

TEST_F(FadeButtonTest, SeeThroughStylesShowTheFormOutsideTheirFace)
{
    button->SetColor(0xFFFFFF);
    button->SetCaption(u"");
    struct Case {
        TFadeButtonStyle style;
        int x, y;
        TColor expected;
    };
    const Case cases[] = {
        {TFadeButtonStyle::bsModern, 0, 0, Cream},   // outside the rounded corner
        {TFadeButtonStyle::bsQuicken, 2, 0, Cream},  // left of the top line
        {TFadeButtonStyle::bsQuicken, 50, 14, 0xFFFFFF},
        {TFadeButtonStyle::bsShape, 50, 14, Cream},  // no face at all
        {TFadeButtonStyle::bsShape, 0, 0, Cream},
        {TFadeButtonStyle::bsEncarta, 50, 14, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        button->SetStyle(c.style);
        pt::ProcessEvents();
        const std::unique_ptr<TBitmap> grab = pt::Grab(form.get());
        EXPECT_EQ(pt::PixelOf(*grab, button->Left() + c.x, button->Top() + c.y), c.expected)
            << static_cast<int>(c.style) << " at " << c.x << "," << c.y;
    }
}

TEST_F(FadeButtonTest, SettersThatRepaintAtOnceWorkBeforeTheButtonHasAParent)
{
    auto* b = new TFadeButton(form.get());
    b->SetBounds(150, 60, W, H);
    ApplyProgramLook(*b);
    b->SetAlignment(TFadeAlignment::taLeftJustify);
    b->SetLayout(TFadeButtonLayout::blGlyphRight);
    b->SetWordWrap(true);
    b->SetFlat(true);
    b->SetFlat(false);
    b->SetEnabled(false);
    b->SetEnabled(true);
    b->SetColorStyle(TFadeColorStyle::lcsChrome);
    ApplyProgramLook(*b);
    b->SetParent(form.get());
    EXPECT_EQ(Pixel(b, 2, 2), Cream);
    EXPECT_EQ(Pixel(b, 0, 0), Grey);
}

// ---- input ----------------------------------------------------------------------------

TEST_F(FadeButtonTest, MouseAndKeyboardClicks)
{
    struct Case {
        const char* what;
        bool enabled;
        std::function<void(TFadeButton*)> act;
        int clicks;
    };
    const Case cases[] = {
        {"press and release", true, [](TFadeButton* b) { pt::Click(b, 50, 14); }, 1},
        {"release off the button", true,
         [](TFadeButton* b) {
             pt::Press(b, 50, 14);
             pt::Move(b, 300, 150);
             pt::Release(b, 300, 150);
         },
         1},
        {"double click counts as two presses", true, [](TFadeButton* b) { pt::DoubleClick(b, 50, 14); }, 2},
        {"right button", true, [](TFadeButton* b) { pt::Click(b, 50, 14, mbRight); }, 0},
        {"space on the focused button", true,
         [](TFadeButton* b) {
             b->SetFocus();
             pt::Key(static_cast<std::uint16_t>(VK_SPACE));
         },
         1},
        {"enter on the focused button", true,
         [](TFadeButton* b) {
             b->SetFocus();
             pt::Key(static_cast<std::uint16_t>(VK_RETURN));
         },
         1},
        {"enter released after it was pressed elsewhere (the key that closed a dialog)", true,
         [](TFadeButton* b) {
             b->SetFocus();
             b->Perform(CN_KEYUP, VK_RETURN, 0);
             b->Perform(CN_KEYUP, VK_SPACE, 0);
         },
         0},
        {"accelerator", true, [](TFadeButton*) { pt::Key('S', ssAlt); }, 1},
        {"disabled: press and release", false, [](TFadeButton* b) { pt::Click(b, 50, 14); }, 0},
        {"disabled: accelerator", false, [](TFadeButton*) { pt::Key('S', ssAlt); }, 0},
        {"disabled: enter as default button", false,
         [](TFadeButton* b) {
             b->SetDefault(true);
             pt::Key(static_cast<std::uint16_t>(VK_RETURN));
         },
         0},
        {"disabled: enter and space sent to it", false,
         [](TFadeButton* b) {
             b->Perform(CN_KEYDOWN, VK_SPACE, 0);
             EXPECT_FALSE(b->IsDown());
             b->Perform(CN_KEYUP, VK_SPACE, 0);
             b->Perform(CN_KEYDOWN, VK_RETURN, 0);
             b->Perform(CN_KEYUP, VK_RETURN, 0);
         },
         0},
    };
    for (const Case& c : cases) {
        clicks.clear();
        TFadeButton* b = MakeButton(150, 10, u"&Save");
        b->SetEnabled(c.enabled);
        form->SetActiveControl(field);
        pt::ProcessEvents();
        c.act(b);
        pt::ProcessEvents();
        EXPECT_EQ(ClicksOf(b), c.clicks) << c.what;
        EXPECT_FALSE(b->IsDown()) << c.what << ": left pressed";
        delete b;
    }
}

TEST_F(FadeButtonTest, SpaceHeldShowsThePressedFace)
{
    button->SetFocus();
    pt::KeyDown(static_cast<std::uint16_t>(VK_SPACE));
    EXPECT_TRUE(button->IsDown());
    EXPECT_EQ(Pixel(button, 2, 2), Orange);
    EXPECT_EQ(ClicksOf(button), 0);
    pt::KeyUp(static_cast<std::uint16_t>(VK_SPACE));
    EXPECT_EQ(ClicksOf(button), 1);
}

TEST_F(FadeButtonTest, DefaultAndCancelFollowTheFocusedControl)
{
    TFadeButton* ok = MakeButton(150, 10, u"OK");
    ok->SetDefault(true);
    TFadeButton* cancel = MakeButton(150, 50, u"Cancel");
    cancel->SetCancel(true);
    auto* radio = new TRadioLike(form.get());
    radio->SetParent(form.get());
    radio->SetBounds(100, 150, 20, 20);

    struct Case {
        const char* what;
        TWinControl* focus;
        std::uint16_t key;
        TShiftState shift;
        int okClicks, cancelClicks, focusedButtonClicks;
    };
    const Case cases[] = {
        {"enter in a field clicks the default button", field, VK_RETURN, 0, 1, 0, 0},
        {"enter on a radio button clicks the default button", radio, VK_RETURN, 0, 1, 0, 0},
        {"enter on another button clicks that one", button, VK_RETURN, 0, 0, 0, 1},
        {"enter on the default button itself clicks it once", ok, VK_RETURN, 0, 1, 0, 0},
        {"escape clicks the cancel button", field, VK_ESCAPE, 0, 0, 1, 0},
        {"escape with shift does nothing", field, VK_ESCAPE, ssShift, 0, 0, 0},
        {"escape on another button leaves the cancel button alone", button, VK_ESCAPE, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        clicks.clear();
        c.focus->SetFocus();
        pt::ProcessEvents();
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        EXPECT_EQ(ClicksOf(ok), c.okClicks) << c.what;
        EXPECT_EQ(ClicksOf(cancel), c.cancelClicks) << c.what;
        EXPECT_EQ(ClicksOf(button), c.focusedButtonClicks) << c.what;
    }
}

TEST_F(FadeButtonTest, DialogKeyWithoutAFocusedControlOrFormClicks)
{
    enum Where { OwnedByForm, OwnedByNobody, NoParentAtAll };
    struct Case {
        const char* what;
        Where where;
    };
    const Case cases[] = {
        {"form without an active control", OwnedByForm},
        {"button owned by no form", OwnedByNobody},
        {"button with neither owner nor parent (its modal result has no form to go to)", NoParentAtAll},
    };
    for (const Case& c : cases) {
        clicks.clear();
        TForm bare(nullptr);
        auto* b = new TFadeButton(c.where == OwnedByForm ? static_cast<TComponent*>(&bare) : nullptr);
        std::unique_ptr<TFadeButton> ownedHere(c.where == OwnedByForm ? nullptr : b);
        if (c.where != NoParentAtAll)
            b->SetParent(&bare);
        b->SetDefault(true);
        b->SetCancel(true);
        b->SetModalResult(mrOk);
        b->OnClick = [this](TObject* s) { clicks.push_back(static_cast<TFadeButton*>(s)); };
        ASSERT_EQ(bare.ActiveControl(), nullptr);
        EXPECT_EQ(b->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1) << c.what;
        EXPECT_EQ(b->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1) << c.what;
        EXPECT_EQ(ClicksOf(b), 2) << c.what;
        EXPECT_EQ(bare.ModalResult(), c.where == NoParentAtAll ? mrNone : mrOk) << c.what;
        if (ownedHere)
            b->SetParent(nullptr);
    }
}

TEST_F(FadeButtonTest, ModalResultClosesTheModalFormAfterOnClick)
{
    TForm dialog(nullptr);
    auto* close = new TFadeButton(&dialog);
    close->SetParent(&dialog);
    close->SetBounds(10, 10, W, H);
    close->SetModalResult(mrCancel);
    TModalResult seenInOnClick = -1;
    close->OnClick = [&](TObject*) { seenInOnClick = dialog.ModalResult(); };
    responder().ScriptModal([&](TCustomForm&) { pt::Click(close, 20, 10); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    EXPECT_EQ(seenInOnClick, mrNone);
}

TEST_F(FadeButtonTest, PopupMenuDropsBelowTheButtonAfterOnClick)
{
    TPopupMenu menu(form.get());
    std::vector<std::string> order;
    for (const char16_t* caption : {u"First", u"Second"}) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(caption);
        item->OnClick = [&order, caption](TObject*) { order.push_back(caption == String(u"First") ? "first" : "second"); };
        menu.Items()->Add(item);
    }
    button->SetPopupMenu(&menu);
    button->OnClick = [&order](TObject*) { order.push_back("click"); };
    responder().AnswerPopup(1);
    pt::Click(button, 50, 14);
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_EQ(responder().Popups()[0].Request.ScreenPos, button->ClientToScreen({0, H}));
    EXPECT_EQ(order, (std::vector<std::string>{"click", "second"}));
    button->SetPopupMenu(nullptr);
}

TEST_F(FadeButtonTest, PresetsAndWhatTurnKindBackToCustom)
{
    button->SetKind(TFadeButtonKind::bkOK);
    EXPECT_EQ(button->Kind(), TFadeButtonKind::bkOK);
    EXPECT_EQ(button->Caption(), u"OK");
    EXPECT_EQ(button->ModalResult(), mrOk);
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->Glyph()->Width(), 36);
    button->SetModalResult(mrNone);
    EXPECT_EQ(button->Kind(), TFadeButtonKind::bkCustom);

    button->SetKind(TFadeButtonKind::bkClose);
    EXPECT_EQ(button->Caption(), u"Schlie\u00DFen");
    button->SetGlyph(BlueSquare().get());
    EXPECT_EQ(button->Kind(), TFadeButtonKind::bkCustom);
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetGlyph(nullptr);
    EXPECT_EQ(button->NumGlyphs(), 0);
    EXPECT_TRUE(button->Glyph()->Empty());

    button->SetColorStyle(TFadeColorStyle::lcsQuicken);
    EXPECT_EQ(button->ColorStyle(), TFadeColorStyle::lcsCustom);
    EXPECT_EQ(button->Style(), TFadeButtonStyle::bsQuicken);
    EXPECT_EQ(button->Color(), 0x603000);
    EXPECT_EQ(button->Font()->Color(), 0xFFFFFF);
    button->SetColorStyle(TFadeColorStyle::lcsCustom);
    EXPECT_EQ(button->Color(), 0x603000) << "lcsCustom applies nothing";
}

TEST_F(FadeButtonTest, DisabledButtonIgnoresHoverAndShowsItsDisabledImage)
{
    button->SetKind(TFadeButtonKind::bkCancel);
    button->SetEnabled(false);
    pt::Move(button, 50, 14);
    EXPECT_FALSE(button->CursorOnButton());
    EXPECT_EQ(Pixel(button, 2, 2), Cream);
    // The disabled image of a kind strip is grey and white only: no red left on the face.
    pt::ProcessEvents();
    const std::unique_ptr<TBitmap> grab = pt::Grab(button);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const TColor c = pt::PixelOf(*grab, x, y);
            EXPECT_FALSE(c == 0x0000FF || c == 0x000080) << "red at " << x << "," << y;
        }
}

// ---- fade -------------------------------------------------------------------------------

TEST_F(FadeButtonTest, SlowFadeTakesEightStepsOfThirtyMilliseconds)
{
    button->SetSlowDecease(true);
    pt::Move(button, 50, 14);
    pt::MoveAway();
    EXPECT_EQ(button->HotTrackStep(), 8);
    EXPECT_TRUE(button->FadeRunning());
    for (int step = 7; step >= 0; --step) {
        pt::AdvanceClock(29);
        EXPECT_EQ(button->HotTrackStep(), step + 1) << "early at step " << step;
        pt::AdvanceClock(1);
        EXPECT_EQ(button->HotTrackStep(), step);
        EXPECT_EQ(Pixel(button, 2, 2), BlendHotColor(Cream, Yellow, step)) << "face at step " << step;
    }
    EXPECT_FALSE(button->FadeRunning());
    pt::AdvanceClock(300);
    EXPECT_EQ(button->HotTrackStep(), 0);
    EXPECT_EQ(Pixel(button, 2, 2), Cream);

    // Entering again during a fade restarts from the full hot colour, and the running fade
    // goes on counting while the mouse stays.
    pt::Move(button, 50, 14);
    pt::MoveAway();
    pt::AdvanceClock(90);
    EXPECT_EQ(button->HotTrackStep(), 5);
    pt::Move(button, 50, 14);
    EXPECT_EQ(button->HotTrackStep(), 8);
    pt::AdvanceClock(30);
    EXPECT_EQ(button->HotTrackStep(), 7);

    // Switching the fade off stops it at the normal face.
    button->SetSlowDecease(false);
    EXPECT_FALSE(button->FadeRunning());
    EXPECT_EQ(button->HotTrackStep(), 0);
    pt::AdvanceClock(300);
    EXPECT_EQ(button->HotTrackStep(), 0);
}

TEST_F(FadeButtonTest, ButtonFreedDuringAFadeLeavesNoTimerBehind)
{
    TFadeButton* b = MakeButton(150, 10, u"Gone");
    b->SetSlowDecease(true);
    pt::Move(b, 50, 14);
    pt::MoveAway();
    ASSERT_TRUE(b->FadeRunning());
    pt::AdvanceClock(60);
    delete b;
    pt::AdvanceClock(300);
    pt::ProcessEvents();
    SUCCEED();
}

// ---- every style, for looking at ---------------------------------------------------------

// A sheet of every style in every state, written to the folder TEST_PICTURES names.
TEST_F(FadeButtonTest, RendersEveryStyleAndState)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir)
        GTEST_SKIP() << "TEST_PICTURES not set";
    const TFadeButtonStyle styles[] = {TFadeButtonStyle::bsNormal, TFadeButtonStyle::bsEncarta,
                                       TFadeButtonStyle::bsModern, TFadeButtonStyle::bsOld,
                                       TFadeButtonStyle::bsShape,  TFadeButtonStyle::bsQuicken};
    enum State { Idle, Hot, Down, Focused, Disabled, StateCount };
    constexpr int Gap = 6;
    TBitmap sheet(StateCount * (W + Gap) + Gap, 6 * (H + Gap) + Gap);
    sheet.Canvas()->Brush()->SetColor(Cream);
    sheet.Canvas()->FillRect({0, 0, sheet.Width(), sheet.Height()});
    for (int row = 0; row < 6; ++row) {
        for (int state = 0; state < StateCount; ++state) {
            TFadeButton* b = MakeButton(150, 10, u"Cancel");
            b->SetKind(TFadeButtonKind::bkCancel);
            b->SetCaption(u"Cancel");
            b->SetStyle(styles[row]);
            if (styles[row] == TFadeButtonStyle::bsModern)
                b->SetLightColor(0xFFFFFF);
            if (state == Hot)
                pt::Move(b, 50, 14);
            if (state == Down)
                pt::Press(b, 50, 14);
            if (state == Focused)
                b->SetFocus();
            if (state == Disabled)
                b->SetEnabled(false);
            // Grabbed with its form, so that the see-through styles show what lies below.
            pt::ProcessEvents();
            const std::unique_ptr<TBitmap> grab = pt::Grab(form.get());
            const int x = Gap + state * (W + Gap);
            const int y = Gap + row * (H + Gap);
            sheet.Canvas()->CopyRect({x, y, x + W, y + H}, grab->Canvas(), b->BoundsRect());
            if (state == Down)
                pt::Release(b, 50, 14);
            pt::MoveAway();
            delete b;
        }
    }
    sheet.SaveToFile(Utf8ToString(std::string(dir) + "/fadebutton-styles.png"));
}

} // namespace
