#include "EsgCombo.h"

#include <algorithm>

#include "plat/Forms.h"

namespace grid {

using namespace plat;

namespace {

// Disabled frame of a themed box.
constexpr TColor ThemedDisabledFrame = 0xB99D7F;

void FrameColor(TCanvas* Canvas, const TRect& R, TColor Color)
{
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
}

TRect Shrunk(TRect R, int D)
{
    return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D};
}

} // namespace

TEsgCustomCombo::TEsgCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), labelFont_(std::make_unique<TFont>())
{
    buttonWidth_ = GetSystemMetrics(SM_CXVSCROLL) + 2;
    normalColor_ = Color();
    labelFont_->OnChange = [this](TObject*) { LabelFontChanged(); };
}

TEsgCustomCombo::~TEsgCustomCombo()
{
    labelFont_->OnChange = nullptr;
    // The label is owned by the combo; the component tree frees it.
    label_ = nullptr;
}

bool TEsgCustomCombo::ThemesActive() const
{
    // The style interface reports no active theme on this platform, so the classic paths
    // are the ones that draw.
    return false;
}

void TEsgCustomCombo::SetFlat(bool Value)
{
    if (Value == flat_)
        return;
    flat_ = Value;
    SetCtl3D(!Value);
    if (flatParentColor_ && Value && Parent())
        TControl::SetColor(Parent()->Color());
    else
        TControl::SetColor(loadedColor_);
    Invalidate();
    InvalidateFrame();
}

void TEsgCustomCombo::SetEtched(bool Value)
{
    etched_ = Value;
    Invalidate();
}

void TEsgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32)
        return;
    buttonWidth_ = Value;
    Invalidate();
}

void TEsgCustomCombo::SetDropWidth(int Value)
{
    dropWidth_ = Value;
    if (Value > 0)
        Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value), 0);
}

void TEsgCustomCombo::SetFlatLineColor(TColor Value)
{
    flatLineColor_ = Value;
    Invalidate();
}

void TEsgCustomCombo::SetFlatParentColor(bool Value)
{
    flatParentColor_ = Value;
    Invalidate();
}

void TEsgCustomCombo::SetBorderColor(TColor Value)
{
    if (Value == borderColor_)
        return;
    borderColor_ = Value;
    if (HandleAllocated())
        InvalidateFrame();
}

void TEsgCustomCombo::SetColor(TColor Value)
{
    if (HasState(csLoading))
        loadedColor_ = Value;
    TControl::SetColor(Value);
}

void TEsgCustomCombo::SetEnabled(bool Value)
{
    const bool changed = Value != Enabled();
    TCustomComboBox::SetEnabled(Value);
    if (!changed || HasState(csLoading) || HasState(csDesigning))
        return;
    if (label_ && !labelAlwaysEnabled_)
        label_->SetEnabled(Value);
    UpdateLabel();
}

void TEsgCustomCombo::SetVisible(bool Value)
{
    TCustomComboBox::SetVisible(Value);
    if (label_)
        label_->SetVisible(Value);
}

void TEsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!HasState(csDestroying))
        UpdateLabel();
}

String TEsgCustomCombo::LabelCaption() const
{
    return label_ ? label_->Caption() : String();
}

void TEsgCustomCombo::SetLabelCaption(const String& Value)
{
    if (!label_) {
        label_ = new TLabel(this);
        label_->SetParent(Parent());
        label_->SetFocusControl(this);
        label_->SetFont(labelFont_.get());
        label_->SetParentFont(ParentFont());
    }
    label_->SetCaption(Value);
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelFont(const TFont* Value)
{
    if (!ParentFont() && Value)
        labelFont_->Assign(*Value);
    UpdateLabel();
}

void TEsgCustomCombo::LabelFontChanged()
{
    UpdateLabel();
    if (HasState(csDesigning) && !HasState(csLoading))
        SetParentFont(false);
}

void TEsgCustomCombo::SetLabelMargin(int Value)
{
    labelMargin_ = Value;
    if (label_)
        UpdateLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition Value)
{
    labelPosition_ = Value;
    if (label_)
        UpdateLabel();
}

void TEsgCustomCombo::SetLabelTransparent(bool Value)
{
    labelTransparent_ = Value;
    if (label_)
        UpdateLabel();
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    labelAlwaysEnabled_ = Value;
    if (label_)
        UpdateLabel();
}

void TEsgCustomCombo::UpdateLabel()
{
    if (!label_)
        return;
    label_->SetTransparent(labelTransparent_);
    if (!ParentFont())
        label_->SetFont(labelFont_.get());
    // Caption width as the system text routine measures it, prefixes hidden.
    TBitmap measure(1, 1);
    TCanvas* mc = measure.Canvas();
    mc->SetFont(label_->Font());
    TRect r{0, 0, 1000, 100};
    mc->DrawText(label_->Caption(), r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_HIDEPREFIX);
    const int w = r.Width();
    const int hc = Height(), wc = Width(), t = Top(), l = Left();
    const int hl = label_->Height(), wl = label_->Width();
    const int m = labelMargin_;
    const int midTop = t + (hc - hl) / 2;
    const int midLeft = l + (wc - wl) / 2;
    int top = t, left = l;
    switch (labelPosition_) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = midTop; left = l - w - m; break;
    case lpLeftBottom: top = t + hc - hl; left = l - w - m; break;
    case lpTopLeft: top = t - hl - m; left = l; break;
    case lpBottomLeft: top = t + hc + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = midTop; left = l - m; break;
    case lpLeftBottomLeft: top = t + hc - hl; left = l - m; break;
    case lpTopCenter: top = t - hl - m; left = midLeft; break;
    case lpBottomCenter: top = t + hc + m; left = midLeft; break;
    case lpRightTop: top = t; left = l + wc + m; break;
    case lpRightCenter: top = midTop; left = l + wc + m; break;
    case lpRighBottom: top = t + hc - hl; left = l + wc + m; break;
    }
    label_->SetBounds(left, top, label_->Width(), label_->Height());
    label_->SetVisible(Visible());
}

void TEsgCustomCombo::Init()
{
    normalColor_ = Color();
}

void TEsgCustomCombo::SelectItem(const String& Value)
{
    const int index = Items()->IndexOf(Value);
    if (index >= 0)
        SetItemIndex(index);
}

void TEsgCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (dropWidth_ > 0)
        Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(dropWidth_), 0);
    oldColor_ = loadedColor_;
    if (!(flatParentColor_ && !flat_))
        TControl::SetColor(loadedColor_);
    if (label_) {
        if (!labelAlwaysEnabled_)
            label_->SetEnabled(Enabled());
        if (ParentFont())
            label_->SetFont(Font());
    }
    UpdateLabel();
    Init();
}

void TEsgCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    const TRect c = ClientRect();
    const TRect strip{c.Right - buttonWidth_, c.Top, c.Right, c.Bottom};
    InvalidateRect(&strip);
}

void TEsgCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    const TRect c = ClientRect();
    const TRect strip{c.Right - buttonWidth_, c.Top, c.Right, c.Bottom};
    InvalidateRect(&strip);
    if (OnDropUp)
        OnDropUp(this);
}

void TEsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomComboBox::MouseMove(Shift, X, Y);
    // X counts from the client origin; the button test counts from the window's corner.
    const int x = X + ClientAreaInWindow().Left;
    const bool over = Width() - buttonWidth_ < x && x < Width();
    if (over != buttonHover_) {
        buttonHover_ = over;
        Invalidate();
    }
}

bool TEsgCustomCombo::PaintsItself() const
{
    if (isVista_ && !ButtonColorSet())
        return false;
    return flat_ || ButtonColorSet() || borderColor_ != clNone ||
           (focusBorderColor_ != clNone && hasFocus_) ||
           (!Enabled() && ThemesActive() && !disabledBorder_);
}

bool TEsgCustomCombo::Hot() const
{
    // Hot, or the control the user is typing into.
    return mouseInControl_ || Focused();
}

bool TEsgCustomCombo::MouseButtonHeld() const
{
    return GetKeyState(static_cast<int>(VK_LBUTTON)) < 0;
}

void TEsgCustomCombo::DrawButton(TCanvas* Canvas)
{
    const int w = Width();
    TRect r{w - buttonWidth_ + 2, 0, w, Height()};
    r = Shrunk(r, 1);
    if (!ButtonColorSet()) {
        if (ThemesActive())
            return;  // the theme engine draws nothing on this platform
        r.Left -= 4;
        r.Top += 1;
        r.Bottom -= 1;
        DrawFrameControl(Canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? 0u : DFCS_INACTIVE));
        return;
    }
    const bool held = MouseButtonHeld();
    TColor face = buttonColor_;
    if (held && buttonHover_ && buttonColorDown_ != clNone)
        face = buttonColorDown_;
    else if (buttonHover_ && !held && buttonColorHot_ != clNone)
        face = buttonColorHot_;
    r = Shrunk(r, 1);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(face);
    Canvas->FillRect(r);
    if (buttonBorderColor_ != clNone) {
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(buttonBorderColor_);
        Canvas->MoveTo(r.Left, r.Top);
        Canvas->LineTo(r.Left, r.Bottom);
    }
    TColor arrow = held && buttonTextColorDown_ != clNone ? buttonTextColorDown_ : buttonTextColor_;
    if (arrow == clNone)
        arrow = clBtnText;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(arrow);
    Canvas->Brush()->SetColor(arrow);
    Canvas->Polygon({TPoint{r.Left + 4, r.Top + 7}, TPoint{r.Left + 10, r.Top + 7}, TPoint{r.Left + 7, r.Top + 10}});
}

void TEsgCustomCombo::DrawFrame(TCanvas* Canvas)
{
    const TRect r{0, 0, Width(), Height()};
    if (!Enabled() && ThemesActive() && !disabledBorder_) {
        FrameColor(Canvas, r, ThemedDisabledFrame);
        return;
    }
    if (borderColor_ != clNone && !(hasFocus_ && focusBorderColor_ != clNone)) {
        FrameColor(Canvas, r, borderColor_);
        return;
    }
    if (focusBorderColor_ != clNone) {
        if (hasFocus_)
            FrameColor(Canvas, r, focusBorderColor_);
        return;
    }
    const bool focusBorderActive = !HasState(csDesigning) && Hot() && focusBorder_;
    const TColor outer = focusBorderActive ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
    const TColor inner = Color();
    if (focusBorderActive) {
        TRect e = r;
        DrawEdge(Canvas, e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameColor(Canvas, e, outer);
        FrameColor(Canvas, Shrunk(e, 1), inner);
        return;
    }
    FrameColor(Canvas, r, outer);
    TRect r1 = Shrunk(r, 1);
    r1.Right -= buttonWidth_;
    FrameColor(Canvas, r1, outer);
    FrameColor(Canvas, Shrunk(r, 2), inner);
    if (flat_ && flatLineColor_ != clNone) {
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(flatLineColor_);
        const int y = Height() - 1;
        Canvas->MoveTo(std::max(0, r.Left - 2), y);
        Canvas->LineTo(r.Right - buttonWidth_ - 1, y);
    }
}

void TEsgCustomCombo::DrawFlatButtonFace(TCanvas* Canvas)
{
    const int w = Width(), h = Height();
    Canvas->ExcludeClipRect(w - buttonWidth_ + 4, 4, w - 4, h - 4);
    TRect r{w - buttonWidth_ - 2, 0, w, h};
    r = Shrunk(r, 2);
    const bool showRaised = HasState(csDesigning) ? Enabled() : Hot();
    if (!showRaised) {
        r.Top += 1;
        r.Bottom -= 1;
        r.Right -= 1;
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(r);
    }
    Canvas->ExcludeClipRect(r.Left, r.Top, r.Right, r.Bottom);
}

void TEsgCustomCombo::DrawBorders()
{
    if (Enabled() && !flat_ && borderColor_ == clNone && focusBorderColor_ == clNone)
        return;
    if (isVista_ && borderColor_ == clNone)
        return;
    auto canvas = GetWindowCanvas(Handle());
    if (!canvas)
        return;
    DrawFrame(canvas.get());
    if (Style() != csSimple && !(isWinXP_ && ThemesActive()))
        DrawFlatButtonFace(canvas.get());
}

void TEsgCustomCombo::SetLabelBold(bool Bold)
{
    if (!label_)
        return;
    TFontStyles s = label_->Font()->Style();
    if (Bold)
        s += fsBold;
    else
        s -= fsBold;
    label_->Font()->SetStyle(s);
}

void TEsgCustomCombo::FocusEntered()
{
    if (HasState(csDesigning) || hasFocus_)
        return;
    hasFocus_ = true;
    if (focusColor_ != clNone)
        TControl::SetColor(focusColor_);
    if (focusLabel_)
        SetLabelBold(true);
    Invalidate();
    InvalidateFrame();
}

void TEsgCustomCombo::FocusLeft()
{
    if (!hasFocus_)
        return;
    hasFocus_ = false;
    if (focusColor_ != clNone && normalColor_ != clNone)
        TControl::SetColor(normalColor_);
    if (focusLabel_)
        SetLabelBold(false);
    Invalidate();
    InvalidateFrame();
}

void TEsgCustomCombo::MouseEntered()
{
    if (Enabled())
        mouseInControl_ = true;
    Invalidate();
    InvalidateFrame();
    if (autoFocus_ && !HasState(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if ((!form || form->Active()) && CanFocus() && !Focused())
            SetFocus();
    }
}

void TEsgCustomCombo::MouseLeft()
{
    if (Enabled())
        mouseInControl_ = false;
    buttonHover_ = false;
    Invalidate();
    InvalidateFrame();
}

void TEsgCustomCombo::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: {
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (!canvas || !PaintsItself())
            break;
        if (Style() != csSimple) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(ClientRect());
            if (auto wc = GetWindowCanvas(Handle()))
                DrawButton(wc.get());
            // The framework's content must not cover the button strip.
            const TRect a = ClientAreaInWindow();
            canvas->ExcludeClipRect(Width() - buttonWidth_ - 4 - a.Left, -a.Top, Width() + 2 - a.Left,
                                    Height() - a.Top);
        }
        TCustomComboBox::WndProc(Message);
        DrawBorders();
        return;
    }
    case WM_NCPAINT:
        TCustomComboBox::WndProc(Message);
        if (PaintsItself()) {
            // The frame ring belongs to the box's own look; the button reaches into it.
            if (Style() != csSimple)
                if (auto wc = GetWindowCanvas(Handle()))
                    DrawButton(wc.get());
            DrawBorders();
        }
        return;
    case CM_ENTER:
    case CM_EXIT:
    case CM_FOCUSCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The focus may sit on the hosted edit, which the box counts as its own.
        TCustomComboBox::WndProc(Message);
        if (Focused())
            FocusEntered();
        else
            FocusLeft();
        return;
    case CM_MOUSEENTER:
        TCustomComboBox::WndProc(Message);
        // Entering the hosted edit leaves the button strip.
        if (Message.LParam != 0)
            buttonHover_ = false;
        MouseEntered();
        return;
    case CM_MOUSELEAVE:
        TCustomComboBox::WndProc(Message);
        MouseLeft();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        // The custom button shows whether the mouse button is held.
        TCustomComboBox::WndProc(Message);
        if (ButtonColorSet())
            Invalidate();
        return;
    case CM_ENABLEDCHANGED:
        if (flat_ && !HasState(csLoading)) {
            if (!Enabled()) {
                oldParentColor_ = ParentColor();
                oldColor_ = Color();
                if (Parent())
                    SetParentColor(true);
            } else {
                TControl::SetColor(oldColor_);
                SetParentColor(oldParentColor_);
            }
        }
        TCustomComboBox::WndProc(Message);
        InvalidateFrame();
        return;
    case CM_FONTCHANGED:
        TCustomComboBox::WndProc(Message);
        if ((HasState(csDesigning) || HasState(csLoading)) && label_ && ParentFont())
            label_->SetFont(Font());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::WndProc(Message);
        if (label_ && ParentFont()) {
            label_->SetFont(Font());
            UpdateLabel();
        }
        return;
    default:
        break;
    }
    TCustomComboBox::WndProc(Message);
}

} // namespace grid
