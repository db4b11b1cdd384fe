#include "plat/Forms.h"
#include "plat/StdCtrls.h"

#include "StdCommon.h"

namespace plat {

using namespace std_detail;

namespace {

bool NoShiftKeys()
{
    return (KeyboardStateToShiftState() & (ssShift | ssAlt | ssCtrl)) == 0;
}

} // namespace

// ---- TButton -----------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool Value)
{
    default_ = Value;
    TCustomForm* form = GetParentForm(this);
    auto* focusedButton = form ? dynamic_cast<TButton*>(form->ActiveControl()) : nullptr;
    active_ = focusedButton ? focusedButton == this : Value;
    Invalidate();
}

void TButton::Click()
{
    // The form's result is set first; the modal loop looks at it only after OnClick.
    if (TCustomForm* form = GetParentForm(this))
        if (modalResult_ != mrNone)
            form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

void TButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const bool active = active_ || Focused();
    if (active) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    if (down_) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(r);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
    } else {
        DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    TRect text = r;
    if (down_)
        text = {text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
    c->DrawText(Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused())
        c->DrawFocusRect({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3});
}

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (CanFocus() && !Focused())
            SetFocus();
        down_ = true;
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (down_) {
        down_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TButton::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !down_) {
        down_ = true;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TButton::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && down_) {
        down_ = false;
        Invalidate();
        Click();
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TButton::WndProc(TMessage& Message)
{
    if (RepaintOnChange(this, Message, roText | roFont | roEnabled | roFocus))
        return;
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    case CM_DIALOGKEY: {
        const bool enter = Message.WParam == VK_RETURN && active_;
        const bool escape = Message.WParam == VK_ESCAPE && cancel_;
        if ((enter || escape) && NoShiftKeys() && Enabled() && Showing()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        if (Enabled() && Showing() && IsAccel(Message.WParam, Caption())) {
            if (CanFocus())
                SetFocus();
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        // A focused button takes Enter from the default one until the focus leaves the buttons.
        auto* focused = reinterpret_cast<TControl*>(Message.LParam);
        active_ = dynamic_cast<TButton*>(focused) ? focused == this : default_;
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    }
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

// ---- TCustomCheckBox -----------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    // The box toggles on its own press and release; a synthesised click would fire OnClick
    // without a state change.
    SetControlStyle((ControlStyle() & ~csClickEvents & ~csDoubleClicks) | csCaptureMouse);
    SetTabStop(true);
    SetParentColor(true);
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (state_ == Value)
        return;
    state_ = Value;
    Invalidate();
    Perform(CM_CHANGED, 0, 0);
    Click();
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    if (alignment_ == Value)
        return;
    alignment_ = Value;
    Invalidate();
}

void TCustomCheckBox::SetWordWrap(bool Value)
{
    if (wordWrap_ == Value)
        return;
    wordWrap_ = Value;
    Invalidate();
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(allowGrayed_ ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
    }
}

TRect TCustomCheckBox::BoxRect() const
{
    const TRect c = ClientRect();
    const int top = (c.Height() - 13) / 2;
    if (alignment_ == taLeftJustify)
        return Bounds(c.Right - 13, top, 13, 13);
    return Bounds(0, top, 13, 13);
}

TRect TCustomCheckBox::CaptionRect() const
{
    const TRect c = ClientRect();
    if (alignment_ == taLeftJustify)
        return {0, 0, c.Right - 17, c.Bottom};
    return {17, 0, c.Right, c.Bottom};
}

unsigned TCustomCheckBox::GlyphState() const
{
    unsigned s = DFCS_BUTTONCHECK;
    if (state_ == cbChecked)
        s |= DFCS_CHECKED;
    else if (state_ == cbGrayed)
        s = DFCS_BUTTON3STATE | DFCS_CHECKED;
    return s;
}

void TCustomCheckBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);

    unsigned state = GlyphState();
    if (!Enabled())
        state |= DFCS_INACTIVE;
    if (pressed_)
        state |= DFCS_PUSHED;
    DrawFrameControl(c, BoxRect(), DFC_BUTTON, state);

    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    const unsigned flags = wordWrap_ ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    TRect text = CaptionRect();
    if (wordWrap_) {
        TRect calc = text;
        c->DrawText(Caption(), calc, flags | DT_CALCRECT);
        const int dy = std::max(0, (text.Height() - calc.Height()) / 2);
        text.Top += dy;
    }
    c->DrawText(Caption(), text, flags);
    if (Focused() && !Caption().empty()) {
        TRect calc = CaptionRect();
        c->DrawText(Caption(), calc, (flags & ~DT_VCENTER) | DT_CALCRECT);
        const int h = calc.Height();
        const int top = (client.Height() - h) / 2;
        const TRect focus{calc.Left - 1, top, std::min(calc.Right + 1, client.Right), std::min(top + h + 1, client.Bottom)};
        c->DrawFocusRect(focus);
    }
}

void TCustomCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (CanFocus() && !Focused())
            SetFocus();
        pressed_ = true;
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool was = pressed_;
    if (Button == mbLeft && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && was && ClientRect().Contains({X, Y}))
        Toggle();
}

void TCustomCheckBox::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && !pressed_) {
        pressed_ = true;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TCustomCheckBox::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_SPACE && pressed_) {
        pressed_ = false;
        Invalidate();
        Toggle();
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TCustomCheckBox::WndProc(TMessage& Message)
{
    if (RepaintOnChange(this, Message, roText | roFont | roEnabled | roColor | roFocus)) {
        // A press the focus leaves with is no press any more (the repaint comes later).
        if (Message.Msg == WM_KILLFOCUS)
            pressed_ = false;
        return;
    }
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_BUTTON;
        return;
    case CM_DIALOGCHAR:
        if (Enabled() && Showing() && IsAccel(Message.WParam, Caption())) {
            if (CanFocus()) {
                SetFocus();
                Toggle();
            }
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

// ---- TRadioButton ------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TCustomCheckBox(AOwner)
{
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool Value)
{
    const TCheckBoxState s = Value ? cbChecked : cbUnchecked;
    if (state_ == s)
        return;
    state_ = s;
    SetTabStop(Value);
    Invalidate();
    if (!Value)
        return;
    if (TWinControl* p = Parent()) {
        for (int i = 0; i < p->ControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(p->Controls(i));
            if (other && other != this && other->Checked())
                other->SetChecked(false);
        }
    }
    Perform(CM_CHANGED, 0, 0);
    Click();
}

void TRadioButton::Toggle()
{
    if (!Checked())
        SetChecked(true);
}

unsigned TRadioButton::GlyphState() const
{
    return DFCS_BUTTONRADIO | (Checked() ? DFCS_CHECKED : 0u);
}

} // namespace plat
