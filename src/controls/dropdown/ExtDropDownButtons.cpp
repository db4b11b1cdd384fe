// The drop-down button of the edit and the header and footer buttons.
#include <algorithm>

#include "ExtDropDown.h"

namespace dropdown {

using namespace plat;

namespace {

bool IsSet(TColor C) { return C != clNoColor; }

bool ClosesDropDown(TModalResult R, bool& Cancel)
{
    switch (R) {
    case mrOk:
    case mrYes:
    case mrAll:
    case mrYesToAll: Cancel = false; return true;
    case mrCancel:
    case mrAbort:
    case mrIgnore:
    case mrNo:
    case mrNoToAll: Cancel = true; return true;
    default: return false;
    }
}

} // namespace

// ---- TExtButtonAppearance ---------------------------------------------------------------

TExtButtonAppearance::TExtButtonAppearance() : font_(std::make_unique<TFont>())
{
    font_->SetName(u"Tahoma");
    colorChecked_ = 0xF5D8CA;
    colorCheckedTo_ = 0xF9BDA0;
}

TExtButtonAppearance::~TExtButtonAppearance() = default;

void TExtButtonAppearance::Changed()
{
    if (OnChange) OnChange(this);
}

void TExtButtonAppearance::SetColour(TColor& Field, TColor Value)
{
    if (Field == Value) return;
    Field = Value;
    Changed();
}

void TExtButtonAppearance::SetGradient(TGradientDirection Value)
{
    if (gradient_ == Value) return;
    gradient_ = Value;
    Changed();
}

void TExtButtonAppearance::SetFont(const TFont* Value) { font_->Assign(Value); }

void TExtButtonAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TExtButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(s->color_);
    SetColorTo(s->colorTo_);
    SetColorHot(s->colorHot_);
    SetColorHotTo(s->colorHotTo_);
    SetColorDown(s->colorDown_);
    SetColorDownTo(s->colorDownTo_);
    SetColorChecked(s->colorChecked_);
    SetColorCheckedTo(s->colorCheckedTo_);
    SetColorDisabled(s->colorDisabled_);
    SetColorDisabledTo(s->colorDisabledTo_);
    SetBorderColor(s->borderColor_);
    SetBorderColorHot(s->borderColorHot_);
    SetBorderColorDown(s->borderColorDown_);
    SetBorderColorChecked(s->borderColorChecked_);
    SetBorderColorDisabled(s->borderColorDisabled_);
    SetGradient(s->gradient_);
}

// ---- TExtButton ----------------------------------------------------------------------------

TExtButton::TExtButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    SetControlStyle(csCaptureMouse | csClickEvents | csDoubleClicks);
    SetParentFont(true);
    Font()->SetName(u"Tahoma");
    SetShowHint(false);
    SetDoubleBuffered(true);
    unHotTimer_ = new TTimer(this);
    unHotTimer_->SetInterval(1);
    unHotTimer_->SetEnabled(false);
    unHotTimer_->OnTimer = [this](TObject* s) { UnHotTimerTick(s); };
}

TExtButton::~TExtButton() = default;

void TExtButton::SetAppearance(TExtButtonAppearance* Value)
{
    appearance_ = Value;
    Invalidate();
}

void TExtButton::SetImages(TCustomImageList* Value)
{
    images_ = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TExtButton::SetImageIndex(int Value)
{
    imageIndex_ = Value;
    Invalidate();
}

void TExtButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
    if (Operation == opRemove && AComponent == extDropDown_) extDropDown_ = nullptr;
}

void TExtButton::AutoSize()
{
    if (!appearance_) return;
    Canvas()->Font()->Assign(appearance_->Font());
    TSize sz = MeasureText(Canvas(), Caption());
    if (images_ && imageIndex_ >= 0) {
        sz.cx = std::max(sz.cx, images_->Width());
        sz.cy = std::max(sz.cy, images_->Height());
    }
    SetBounds(Left(), Top(), sz.cx + 8, sz.cy + 4);
}

void TExtButton::Paint()
{
    if (!Enabled()) {
        state_ = absDisabled;
        dragging_ = false;
    } else if (state_ == absDisabled) {
        state_ = (down_ && groupIndex_ != 0) ? absExclusive : absUp;
    }
    if (style_ == tasCheck && down_) state_ = absDown;
    DrawParentBackground(this, Canvas());
    DrawButton(Canvas());
}

void TExtButton::DrawButton(TCanvas* Canvas)
{
    if (!appearance_) return;
    const TExtButtonAppearance* a = appearance_;
    const TRect r = ClientRect();
    TColor from, to, border;
    if (!Enabled()) {
        from = a->ColorDisabled();
        to = a->ColorDisabledTo();
        border = a->BorderColorDisabled();
    } else if (mouseDownInControl_ && mouseInControl_ && state_ == absDown) {
        from = a->ColorDown();
        to = clNoColor;
        border = a->BorderColorDown();
    } else if (down_) {
        from = a->ColorChecked();
        to = clNoColor;
        border = a->BorderColorChecked();
    } else if (mouseInControl_ || Focused()) {
        from = a->ColorHot();
        to = clNoColor;
        border = a->BorderColorHot();
    } else {
        from = a->Color();
        to = a->ColorTo();
        border = a->BorderColor();
    }
    DrawButtonBackground(Canvas, r, from, a->Gradient(), 1, border, to);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->Assign(a->Font());
    DrawButtonContent(Canvas, r, Caption(), imageIndex_, images_);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TExtButton::MouseEnterNow()
{
    mouseInControl_ = true;
    if (Enabled()) Invalidate();
    unHotTimer_->SetEnabled(true);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TExtButton::MouseLeaveNow()
{
    unHotTimer_->SetEnabled(false);
    mouseInControl_ = false;
    hot_ = false;
    if (Enabled()) Invalidate();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TExtButton::UnHotTimerTick(TObject*)
{
    const TPoint p = ScreenToClient(GetCursorPos());
    if (p.X < 0 || p.Y < 0 || p.X >= Width() || p.Y >= Height()) {
        unHotTimer_->SetEnabled(false);
        mouseInControl_ = false;
        hot_ = false;
        Invalidate();
    }
}

void TExtButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        MouseEnterNow();
        break;
    case CM_MOUSELEAVE:
        MouseLeaveNow();
        break;
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case CM_BUTTONPRESSED:
        if (static_cast<int>(Message.WParam) == groupIndex_ && groupIndex_ != 0) {
            auto* sender = reinterpret_cast<TExtButton*>(Message.LParam);
            if (sender && sender != this) {
                if (sender->down_ && down_) {
                    down_ = false;
                    state_ = absUp;
                    Invalidate();
                }
                allowAllUp_ = sender->allowAllUp_;
            }
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TExtButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    mouseDownInControl_ = true;
    mouseInControl_ = true;
    if (!down_ || style_ == tasCheck) {
        state_ = absDown;
        Invalidate();
    }
    dragging_ = true;
}

void TExtButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (dragging_) {
        TExtButtonState s = down_ ? absExclusive : absUp;
        if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight()) s = down_ ? absExclusive : absDown;
        if (style_ == tasCheck && down_) s = absDown;
        if (s != state_) {
            state_ = s;
            Invalidate();
        }
    } else if (!mouseInControl_) {
        if (X >= 0 && Y >= 0 && X < Width() && Y < Height()) MouseEnterNow();
    }
}

void TExtButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDownInControl_ = false;
    Invalidate();
    if (dragging_) {
        dragging_ = false;
        const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
        if (groupIndex_ != 0) {
            if (inside) {
                SetDown(!down_);
                if (down_) Invalidate();
            } else if (down_) {
                state_ = absExclusive;
                Invalidate();
            }
        } else {
            state_ = absUp;
            if (style_ == tasCheck) {
                SetDown(!down_);
                state_ = absUp;
            }
            if (inside && state_ != absDown && state_ != absExclusive) Invalidate();
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TExtButton::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        if (!down_) {
            state_ = absDown;
            Invalidate();
        }
        internalClick_ = true;
        Click();
        internalClick_ = false;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TExtButton::Loaded()
{
    TCustomControl::Loaded();
    if (initialDown_ != down_) SetDown(initialDown_);
}

void TExtButton::SetDown(bool Value)
{
    if (HasState(csLoading)) {
        initialDown_ = Value;
        return;
    }
    if (style_ == tasButton && groupIndex_ == 0) Value = false;
    if (style_ == tasCheck) {
        down_ = Value;
        state_ = Value ? absDown : absUp;
        Invalidate();
        return;
    }
    if (Value == down_ || (down_ && !allowAllUp_)) return;
    down_ = Value;
    if (Value) {
        if (state_ == absUp) Invalidate();
        state_ = absExclusive;
        if (Parent()) {
            TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
            Parent()->Broadcast(m);
        }
    } else {
        state_ = absUp;
        Invalidate();
    }
}

void TExtButton::Click()
{
    // The modal result belongs to the drop-down form the button sits on, never to the form
    // that owns the drop-down: a footer button must not close the dialog around it.
    if (TCustomForm* f = GetParentForm(this, false)) f->SetModalResult(modalResult_);
    bool cancel = false;
    if (extDropDown_ && ClosesDropDown(modalResult_, cancel)) extDropDown_->DoHideDropDown(cancel);
    if (!internalClick_) TCustomControl::Click();
}

// ---- TExtDropDownSpeedButton ---------------------------------------------------------------

TExtDropDownSpeedButton::TExtDropDownSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    glyph_ = std::make_unique<TBitmap>();
    SetControlStyle(csCaptureMouse | csDoubleClicks);
}

TDropDownEditButton* TExtDropDownSpeedButton::EditButton() const { return dynamic_cast<TDropDownEditButton*>(Owner()); }

TExtCustomDropDown* TExtDropDownSpeedButton::DropDown() const
{
    TDropDownEditButton* b = EditButton();
    return b ? dynamic_cast<TExtCustomDropDown*>(b->Owner()) : nullptr;
}

void TExtDropDownSpeedButton::SetUp() { up_ = true; }

void TExtDropDownSpeedButton::SetButtonStyle(TButtonStyle Value)
{
    buttonStyle_ = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetEtched(bool Value)
{
    if (etched_ == Value) return;
    etched_ = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetFocused(bool Value)
{
    if (focused_ == Value) return;
    focused_ = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetFlat(bool Value)
{
    if (flat_ == Value) return;
    flat_ = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetGlyph(const TBitmap* Value)
{
    if (Value)
        glyph_->Assign(Value);
    else
        glyph_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExtDropDownSpeedButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_MOUSEENTER) {
        hot_ = true;
        Invalidate();
    } else if (Message.Msg == CM_MOUSELEAVE) {
        hot_ = false;
        Invalidate();
    }
    TGraphicControl::WndProc(Message);
}

void TExtDropDownSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        pressed_ = true;
        Invalidate();
    }
}

void TExtDropDownSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed) Invalidate();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (TDropDownEditButton* b = EditButton()) b->SpeedButtonReleased(Button);
}

void TExtDropDownSpeedButton::PaintClassicFace(TCanvas* Canvas, bool Down)
{
    TRect r = ClientRect();
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(r);
    if (Down)
        DrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_RECT);
    else if (!flat_)
        DrawEdge(Canvas, r, EDGE_RAISED, BF_RECT);
}

void TExtDropDownSpeedButton::PaintArrow(TCanvas* Canvas)
{
    TDropDownEditButton* owner = EditButton();
    TExtCustomDropDown* dd = DropDown();
    const TRect r = ClientRect();
    if (owner && IsSet(owner->ButtonColor)) {
        TColor face = owner->ButtonColor, text = owner->ButtonTextColor;
        if (hot_) {
            face = owner->ButtonColorHot;
            text = owner->ButtonTextColorHot;
        }
        if (Pressed()) {
            face = owner->ButtonColorDown;
            text = owner->ButtonTextColorDown;
        }
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(face);
        Canvas->FillRect(r);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(dd ? dd->BorderColor() : clNoColor);
        Canvas->MoveTo(0, 0);
        Canvas->LineTo(0, Height());
        Canvas->Brush()->SetColor(text);
        Canvas->Pen()->SetColor(text);
        Canvas->Polygon({TPoint{5, 7}, TPoint{11, 7}, TPoint{8, 10}});
        return;
    }
    if (!glyph_->Empty()) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->Pen()->SetColor(0x808080);
        Canvas->Rectangle(r);
        glyph_->SetTransparent(true);
        Canvas->Draw(0, 0, glyph_.get());
        return;
    }
    SetEnabled(dd ? dd->Enabled() && !dd->ReadOnly() : true);
    PaintClassicFace(Canvas, Pressed());
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(clBtnFace);
    Canvas->MoveTo(Width() - 2, 0);
    Canvas->LineTo(0, 0);
    Canvas->LineTo(0, Height() - 1);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->MoveTo(Width() - 3, 1);
    Canvas->LineTo(1, 1);
    Canvas->LineTo(1, Height() - 2);
    const TColor arrow = Enabled() ? clBlack : clGrayText;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(arrow);
    Canvas->Pen()->SetColor(arrow);
    Canvas->Polygon({TPoint{5, 7}, TPoint{11, 7}, TPoint{8, 10}});
}

void TExtDropDownSpeedButton::PaintButton(TCanvas* Canvas)
{
    TExtCustomDropDown* dd = DropDown();
    if (dd) Canvas->Font()->Assign(dd->Font());
    const bool down = Pressed();
    TRect r = ClientRect();
    if (flat_) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(r);
        TRect e = Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
        if (!down) DrawEdge(Canvas, e, etched_ ? EDGE_ETCHED : BDR_RAISEDINNER, BF_RECT);
    } else {
        PaintClassicFace(Canvas, down);
    }
    TRect c = Rect(r.Left + 3, r.Top + 1, r.Right - 3, r.Bottom - 1);
    if (down) {
        c.Left += 1;
        c.Top += 1;
        c.Right += 1;
        c.Bottom += 1;
    }
    if (!glyph_->Empty()) {
        TRect g = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3);
        Canvas->Draw(g.Left + (down ? 1 : 0), g.Top + (down ? 1 : 0), glyph_.get());
    }
    const String cap = Caption();
    if (!cap.empty()) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->DrawText(cap, c, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void TExtDropDownSpeedButton::Paint()
{
    if (buttonStyle_ == bsDropDown)
        PaintArrow(Canvas());
    else
        PaintButton(Canvas());
}

// ---- TDropDownEditButton -----------------------------------------------------------------

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque);
    button_ = new TExtDropDownSpeedButton(this);
    button_->SetParent(this);
    button_->SetVisible(true);
    button_->SetEnabled(Enabled());
    button_->SetCaption(String());
    button_->SetButtonStyle(bsDropDown);
    SetBounds(0, 0, 16, 25);
}

void TDropDownEditButton::SetFocusControl(TWinControl* Value)
{
    focusControl_ = Value;
    if (Value && Value != Owner()) Value->FreeNotification(this);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int /*AWidth*/, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, fbWidth_, AHeight);
    if (button_) button_->SetBounds(0, 0, fbWidth_, Height());
}

void TDropDownEditButton::SetEnabled(bool Value)
{
    TWinControl::SetEnabled(Value);
    if (button_) button_->SetEnabled(Value);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TDropDownEditButton::Loaded()
{
    TWinControl::Loaded();
    SetBounds(Left(), Top(), fbWidth_, Height());
}

void TDropDownEditButton::SpeedButtonReleased(TMouseButton Button)
{
    if (Button == mbLeft && OnClick) OnClick(this);
}

} // namespace dropdown
