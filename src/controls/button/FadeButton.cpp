#include "FadeButton.h"

#include <algorithm>

#include "FadeButtonGlyphs.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Menus.h"

namespace controls {

using namespace plat;

namespace {

// Window timer of the fade.
constexpr std::uintptr_t FadeTimerId = 1;

String UpperAscii(String s)
{
    for (char16_t& ch : s)
        if (ch >= u'a' && ch <= u'z')
            ch = static_cast<char16_t>(ch - u'a' + u'A');
    return s;
}

} // namespace

TFadeButton::TFadeButton(TComponent* AOwner)
    : TCustomControl(AOwner), glyph_(std::make_unique<TBitmap>()), htFont_(std::make_unique<TFont>())
{
    // The button fires its own clicks, so the framework must not; double clicks come as presses.
    SetControlStyle(csCaptureMouse | csSetCaption);
    SetBounds(Left(), Top(), 100, 23);
    TControl::SetColor(clBtnFace);
    SetTabStop(true);
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner))
        htFont_->Assign(*form->Font());
}

TFadeButton::~TFadeButton()
{
    StopFade();
}

// ---- properties ------------------------------------------------------------------------

void TFadeButton::SetAlignment(TFadeAlignment Value)
{
    alignment_ = Value;
    Paint();
}

void TFadeButton::SetLightColor(TColor Value)
{
    lightColor_ = Value;
    Paint();
}

void TFadeButton::SetShadowColor(TColor Value)
{
    shadowColor_ = Value;
    Paint();
}

void TFadeButton::SetHotTrackFont(const TFont* Value)
{
    if (Value)
        htFont_->Assign(*Value);
}

void TFadeButton::SetStyle(TFadeButtonStyle Value)
{
    style_ = Value;
    const bool seeThrough = Value == TFadeButtonStyle::bsModern || Value == TFadeButtonStyle::bsShape ||
                            Value == TFadeButtonStyle::bsQuicken;
    SetWindowExStyle(seeThrough ? WS_EX_TRANSPARENT : 0);
    Invalidate();
}

void TFadeButton::SetColorStyle(TFadeColorStyle Value)
{
    if (Value == TFadeColorStyle::lcsCustom)
        return;
    const TColorStyleValues v = GetColorStyleValues(Value);
    TControl::SetColor(v.Face);
    Font()->SetColor(v.Font);
    lightColor_ = v.Light;
    shadowColor_ = v.Shadow;
    colorWhenDown_ = v.WhenDown;
    hotTrackColor_ = v.HotTrack;
    flat_ = v.Flat;
    // The field only: the window keeps its extended style.
    style_ = v.Modern ? TFadeButtonStyle::bsModern
             : v.Quicken ? TFadeButtonStyle::bsQuicken
                         : TFadeButtonStyle::bsNormal;
    Paint();
}

void TFadeButton::SetKind(TFadeButtonKind Value)
{
    if (Value != TFadeButtonKind::bkCustom) {
        const TKindPreset preset = KindPreset(Value);
        numGlyphs_ = 2;
        SetModalResult(preset.ModalResult);
        LoadFadeGlyph(*glyph_, preset.Resource);
        SetCaption(preset.Caption);
    }
    kind_ = Value;
    Invalidate();
}

void TFadeButton::SetLayout(TFadeButtonLayout Value)
{
    layout_ = Value;
    Paint();
}

void TFadeButton::SetWordWrap(bool Value)
{
    wordWrap_ = Value;
    Paint();
}

void TFadeButton::SetFlat(bool Value)
{
    flat_ = Value;
    Paint();
}

void TFadeButton::SetGlyph(const TBitmap* Value)
{
    if (!Value || Value->Empty()) {
        glyph_ = std::make_unique<TBitmap>();
        numGlyphs_ = 0;
    } else {
        glyph_->Assign(*Value);
        numGlyphs_ = Value->Height() == 0 ? 0 : Value->Width() / Value->Height();
    }
    kind_ = TFadeButtonKind::bkCustom;
    Invalidate();
}

void TFadeButton::SetNumGlyphs(int Value)
{
    numGlyphs_ = Value;
    Invalidate();
}

void TFadeButton::SetModalResult(TModalResult Value)
{
    modalResult_ = Value;
    kind_ = TFadeButtonKind::bkCustom;
}

void TFadeButton::SetSlowDecease(bool Value)
{
    slowDecease_ = Value;
    if (!Value) {
        hotTrackStep_ = 0;
        StopFade();
    }
    Invalidate();
}

void TFadeButton::SetEnabled(bool Value)
{
    TCustomControl::SetEnabled(Value);
    bDown_ = false;
    keyDown_ = 0;
    Paint();
}

// ---- painting --------------------------------------------------------------------------

bool TFadeButton::HotNow() const
{
    return bCursorOnButton_ || Focused();
}

void TFadeButton::Paint()
{
    if (!Visible() || HasState(csLoading) || HasState(csDestroying))
        return;
    const int W = Width();
    const int H = Height();
    if (W <= 0 || H <= 0)
        return;
    const bool hot = HotNow();
    const bool focused = Focused();

    TBitmap face(W, H);
    TCanvas* fc = face.Canvas();
    const bool seeThrough = style_ == TFadeButtonStyle::bsModern || style_ == TFadeButtonStyle::bsShape ||
                            style_ == TFadeButtonStyle::bsQuicken;
    if (seeThrough) {
        fc->Brush()->SetColor(FadeTransparentKey);
        fc->FillRect({0, 0, W, H});
        face.SetTransparentColor(FadeTransparentKey);
        face.SetTransparent(true);
    }

    TFadePaintInput in;
    in.Width = W;
    in.Height = H;
    in.Alignment = alignment_;
    in.Caption = Caption();
    in.Layout = layout_;
    in.Font = hot && useHTFont_ ? htFont_.get() : Font();
    in.ShadowColor = shadowColor_;
    in.LightColor = lightColor_;
    in.HotTrackColor = hotTrackColor_;
    in.ColorWhenDown = colorWhenDown_;
    in.Color = Color();
    in.Style = style_;
    in.HasPopup = false;
    in.WordWrap = wordWrap_;
    in.Flat = flat_;
    in.Enabled = Enabled();
    in.NoFill = false;
    in.Hot = hot;
    in.Down = bDown_;
    in.Glyph = glyph_.get();
    in.NumGlyphs = numGlyphs_;
    in.HotTrackStep = hotTrackStep_;

    if (style_ == TFadeButtonStyle::bsOld && focused) {
        // A focused classic button is one pixel smaller inside a black frame.
        in.Width = W - 2;
        in.Height = H - 2;
        if (bDown_)
            in.LightColor = shadowColor_;
        fc->SetWindowOrg(-1, -1);
        PaintFadeButton(*fc, in);
        fc->SetWindowOrg(0, 0);
        fc->Pen()->SetStyle(psSolid);
        fc->Pen()->SetColor(clBlack);
        fc->Brush()->SetStyle(bsClear);
        fc->Rectangle(0, 0, W, H);
    } else {
        PaintFadeButton(*fc, in);
    }

    TCanvas* c = Canvas();
    c->Draw(0, 0, &face);
    if (focused && Enabled() && style_ != TFadeButtonStyle::bsShape)
        c->DrawFocusRect({4, 4, W - 4, H - 4});
}

// ---- clicking ---------------------------------------------------------------------------

void TFadeButton::Click()
{
    bDown_ = true;
    FireClick();
    // A refused click (hidden or disabled button) must not leave the button looking pressed.
    bDown_ = false;
}

void TFadeButton::FireClick()
{
    if (!Visible() || !Enabled() || !bDown_)
        return;
    bDown_ = false;
    if (OnClick)
        OnClick(this);
    if (modalResult_ != 0)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(modalResult_);
    if (TPopupMenu* menu = PopupMenu()) {
        const TPoint at = ClientToScreen({0, Height()});
        menu->Popup(at.X, at.Y);
    }
}

void TFadeButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        bDown_ = true;
        if (CanFocus())
            SetFocus();
        Paint();
    }
}

void TFadeButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    // The release position does not matter: the button holds the capture while pressed.
    if (bDown_)
        Click();
    bDown_ = false;
    Paint();
}

// ---- hot tracking and fade --------------------------------------------------------------

bool TFadeButton::ParentShowing() const
{
    return Parent() && Parent()->Showing();
}

void TFadeButton::StartFade()
{
    if (fadeRunning_ || !HandleAllocated())
        return;
    fadeRunning_ = SetTimer(Handle(), FadeTimerId, FadeInterval) != 0;
}

void TFadeButton::StopFade()
{
    if (!fadeRunning_)
        return;
    fadeRunning_ = false;
    if (HandleAllocated())
        KillTimer(Handle(), FadeTimerId);
}

void TFadeButton::FadeStep()
{
    if (HasState(csDestroying))
        return;
    --hotTrackStep_;
    if (hotTrackStep_ <= 0) {
        StopFade();
        hotTrackStep_ = 0;
    }
    Paint();
}

// ---- dialog keys ------------------------------------------------------------------------

bool TFadeButton::FocusedControlIsButton() const
{
    // The owning form is the first form up the chain of owners.
    const TCustomForm* form = nullptr;
    for (TComponent* o = Owner(); o && !form; o = o->Owner())
        form = dynamic_cast<const TCustomForm*>(o);
    // No form or no focused control: nothing would take the key, so this button does.
    if (!form || !form->ActiveControl())
        return false;
    const String name = UpperAscii(form->ActiveControl()->ClassName());
    return name.find(u"BUTTON") != String::npos && name.find(u"RADIOBUTTON") == String::npos;
}

void TFadeButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        if (Enabled() && Visible() && ParentShowing()) {
            bCursorOnButton_ = true;
            hotTrackStep_ = FadeHotSteps;
            Paint();
            if (OnMouseEnter)
                OnMouseEnter(this);
        }
        return;
    case CM_MOUSELEAVE:
        bCursorOnButton_ = false;
        if (slowDecease_) {
            StartFade();
        } else {
            hotTrackStep_ = 0;
            Paint();
        }
        if (Enabled() && Visible() && ParentShowing() && OnMouseExit)
            OnMouseExit(this);
        return;
    case WM_TIMER:
        if (Message.WParam == FadeTimerId) {
            FadeStep();
            return;
        }
        break;
    case CM_FOCUSCHANGED:
        TCustomControl::WndProc(Message);
        if (!Focused())
            keyDown_ = 0;
        Paint();
        return;
    case CM_TEXTCHANGED:
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    case CN_KEYDOWN:
        if (Enabled() && (Message.WParam == VK_RETURN || Message.WParam == VK_SPACE)) {
            bDown_ = true;
            keyDown_ = static_cast<int>(Message.WParam);
            Paint();
        }
        break;
    case CN_KEYUP:
        // Only the release of a key this button saw go down clicks it: the Enter that
        // closed a dialog is released over whichever button has the focus afterwards.
        if ((Message.WParam == VK_RETURN || Message.WParam == VK_SPACE) &&
            keyDown_ == static_cast<int>(Message.WParam)) {
            keyDown_ = 0;
            Click();
        }
        Paint();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(Message.WParam, Caption()) && Visible() && Enabled() && ParentShowing()) {
            bDown_ = true;
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGKEY: {
        TShiftState shift = KeyboardStateToShiftState() & (ssShift | ssAlt | ssCtrl);
        if (Message.LParam & KF_ALTDOWN_LPARAM)
            shift |= ssAlt;
        const bool enter = Message.WParam == VK_RETURN && default_;
        const bool escape = Message.WParam == VK_ESCAPE && cancel_ && shift == 0 && Visible() && Enabled();
        if (enter || escape) {
            if (FocusedControlIsButton())
                break;
            bDown_ = true;
            Click();
            Message.Result = 1;
            return;
        }
        break;
    }
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace controls
