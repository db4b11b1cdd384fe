// The drop-down edit: opening, placing, closing, the button, the label and the borders.
#include "ExtDropDown.h"

#include <algorithm>

#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace dropdown {

using namespace plat;

namespace {

bool IsSet(TColor C) { return C != clNoColor; }

} // namespace

TPoint LabelPlacement(TLabelPosition Position, int L, int T, int Wd, int H, int LW, int LH, int W, int Margin)
{
    switch (Position) {
    case lpLeftTop: return {L - W - Margin, T};
    case lpLeftCenter: return {L - W - Margin, T + (H - LH) / 2};
    case lpLeftBottom: return {L - W - Margin, T + H - LH};
    case lpTopLeft: return {L, T - LH - Margin};
    case lpBottomLeft: return {L, T + H + Margin};
    case lpLeftTopLeft: return {L - Margin, T};
    case lpLeftCenterLeft: return {L - Margin, T + (H - LH) / 2};
    case lpLeftBottomLeft: return {L - Margin, T + H - LH};
    case lpTopCenter: return {L + (Wd - LW) / 2, T - LH - Margin};
    case lpBottomCenter: return {L + (Wd - LW) / 2, T + H + Margin};
    case lpRightTop: return {L + Wd + Margin, T};
    case lpRightCenter: return {L + Wd + Margin, T + (H - LH) / 2};
    case lpRighBottom: return {L + Wd + Margin, T + H - LH};
    case lpTopRight: return {L + Wd - LW, T - LH - Margin};
    case lpBottomRight: return {L + Wd - LW, T + H + Margin};
    }
    return {L, T};
}

// ---- construction ----------------------------------------------------------------------

TExtCustomDropDown::TExtCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    dropDownHeader_ = std::make_unique<THeaderAppearance>(this);
    dropDownFooter_ = std::make_unique<TFooterAppearance>(this);
    buttonAppearance_ = std::make_unique<TExtButtonAppearance>();
    dropDownHeader_->OnChange = [this](TObject* s) { AppearanceChanged(s); };
    dropDownHeader_->OnButtonsChanged = [this](TObject* s) { AppearanceChanged(s); };
    dropDownFooter_->OnChange = [this](TObject* s) { AppearanceChanged(s); };
    dropDownFooter_->OnButtonsChanged = [this](TObject* s) { AppearanceChanged(s); };
    labelFont_ = std::make_unique<TFont>();
    labelFont_->OnChange = [this](TObject*) { UpdateLabel(); };

    SetBounds(Left(), Top(), 200, 21);
    SetReadOnly(false);
    SetControlStyle(ControlStyle() & ~csSetCaption);
    SetText(String());
    oldText_.clear();
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(grid::tsOffice2007Luna);
    CreateDropDownButton();
    CreateDropDownForm();
    ResizeButton();
}

TExtCustomDropDown::~TExtCustomDropDown()
{
    Destroying();
    if (form_) {
        form_->SetExtDropDown(nullptr);
        TDropDownForm* f = form_;
        form_ = nullptr;
        f->Free();
    }
    if (label_) {
        TLabel* l = label_;
        label_ = nullptr;
        l->Free();
    }
    if (button_) {
        TDropDownEditButton* b = button_;
        button_ = nullptr;
        b->Free();
    }
}

String TExtCustomDropDown::Version() const
{
    const std::uint32_t v = GetVersionNr();
    return IntToStr(v >> 24) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." +
           IntToStr(v & 0xFF);
}

// ---- properties ------------------------------------------------------------------------

void TExtCustomDropDown::SetDropDownWidth(int Value)
{
    if (Value == dropDownWidth_) return;
    dropDownWidth_ = Value;
    userDropDownWidth_ = -1;
}

void TExtCustomDropDown::SetDropDownHeight(int Value)
{
    if (Value == dropDownHeight_) return;
    dropDownHeight_ = Value;
    userDropDownHeight_ = -1;
}

void TExtCustomDropDown::SetDropDownSizeable(bool Value)
{
    dropDownSizeable_ = Value;
    if (form_) form_->SetSizeable(Value);
}

void TExtCustomDropDown::SetDropDownButtonWidth(int Value)
{
    if (Value == dropDownButtonWidth_) return;
    dropDownButtonWidth_ = Value;
    if (button_) {
        button_->SetFBWidth(Value);
        button_->SetWidth(Value);
        ResizeButton();
    }
}

void TExtCustomDropDown::SetDropDownButtonHint(const String& Value)
{
    if (Value == dropDownButtonHint_) return;
    dropDownButtonHint_ = Value;
    if (button_) {
        button_->SetHint(Value);
        button_->SetShowHint(!Value.empty());
    }
}

TBitmap* TExtCustomDropDown::DropDownButtonGlyph() const { return button_ ? button_->Glyph() : nullptr; }

void TExtCustomDropDown::SetDropDownButtonGlyph(const TBitmap* Value)
{
    if (button_) button_->SetGlyph(Value);
}

String TExtCustomDropDown::DropDownButtonCaption() const { return button_ ? button_->ButtonCaption() : String(); }

void TExtCustomDropDown::SetDropDownButtonCaption(const String& Value)
{
    if (button_) button_->SetButtonCaption(Value);
}

void TExtCustomDropDown::SetImages(TCustomImageList* Value)
{
    if (images_ == Value) return;
    images_ = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TExtCustomDropDown::SetEditorEnabled(bool Value)
{
    editorEnabled_ = Value;
    if (Value)
        SetControlStyle(ControlStyle() | csDoubleClicks);
    else
        SetControlStyle(ControlStyle() & ~csDoubleClicks);
    Invalidate();
}

void TExtCustomDropDown::SetFlat(bool Value)
{
    if (flat_ == Value) return;
    flat_ = Value;
    if (button_) button_->SpeedButton()->SetFlat(Value);
    ResizeButton();
    Invalidate();
}

void TExtCustomDropDown::SetBorderColor(TColor Value)
{
    if (borderColor_ == Value) return;
    borderColor_ = Value;
    Invalidate();
}

void TExtCustomDropDown::SetFocusBorderColor(TColor Value)
{
    if (focusBorderColor_ == Value) return;
    focusBorderColor_ = Value;
    Invalidate();
}

void TExtCustomDropDown::SetDisabledBorder(bool Value)
{
    if (disabledBorder_ == Value) return;
    disabledBorder_ = Value;
    Invalidate();
}

void TExtCustomDropDown::SetFocusControl(TWinControl* Value)
{
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

// ---- the label -------------------------------------------------------------------------

void TExtCustomDropDown::SetLabelCaption(const String& Value)
{
    if (!label_) {
        label_ = new TLabel(this);
        label_->SetParent(Parent());
        label_->SetFocusControl(this);
        label_->SetFont(labelFont_.get());
        label_->OnClick = [this](TObject* s) { LabelClick(s); };
        label_->OnDblClick = [this](TObject* s) { LabelDblClick(s); };
        label_->SetParentFont(ParentFont());
    }
    labelCaption_ = Value;
    label_->SetCaption(Value);
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelPosition(TLabelPosition Value)
{
    labelPosition_ = Value;
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelMargin(int Value)
{
    labelMargin_ = Value;
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelFont(const TFont* Value) { labelFont_->Assign(Value); }

void TExtCustomDropDown::SetLabelTransparent(bool Value)
{
    labelTransparent_ = Value;
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelAlwaysEnabled(bool Value)
{
    labelAlwaysEnabled_ = Value;
    if (label_ && Value) label_->SetEnabled(true);
}

void TExtCustomDropDown::UpdateLabel()
{
    if (!label_) return;
    label_->SetTransparent(labelTransparent_);
    label_->SetFont(parentFnt_ ? Font() : labelFont_.get());
    if (label_->Parent() != Parent()) label_->SetParent(Parent());
    int w = 0;
    if (label_->Canvas()) {
        label_->Canvas()->Font()->Assign(label_->Font());
        TRect r = Rect(0, 0, 1000, 255);
        label_->Canvas()->DrawText(labelCaption_, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        w = r.Right;
    }
    const TPoint p = LabelPlacement(labelPosition_, Left(), Top(), Width(), Height(), label_->Width(),
                                    label_->Height(), w, labelMargin_);
    label_->SetBounds(p.X, p.Y, label_->Width(), label_->Height());
    label_->SetVisible(Visible());
}

void TExtCustomDropDown::LabelClick(TObject*)
{
    if (OnLabelClick) OnLabelClick(this);
}

void TExtCustomDropDown::LabelDblClick(TObject*)
{
    if (OnLabelDblClick) OnLabelDblClick(this);
}

// ---- form and button -------------------------------------------------------------------

void TExtCustomDropDown::CreateDropDownForm()
{
    if (form_) return;
    form_ = new TDropDownForm(this);
    form_->SetExtDropDown(this);
    form_->SetBorderStyle(bsNone);
    form_->SetVisible(false);
    form_->SetBounds(form_->Left(), form_->Top(), std::max(dropDownWidth_, 0), std::max(dropDownHeight_, 0));
    form_->SetDoubleBuffered(true);
    form_->SetSizeable(dropDownSizeable_);
    form_->OnClose = [](TObject*, TCloseAction&) {};
    form_->OnHide = [this](TObject* s) { AfterDropUp(s); };
    form_->OnKeyPress = [this](TObject* s, char16_t& k) { ForwardChar(s, k); };
    form_->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ForwardKeyDown(s, k, sh); };
    form_->OnKeyUp = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ForwardKeyUp(s, k, sh); };
    form_->OnFormWheelDown = [this](TObject* s, TShiftState, TPoint, bool&) { FormMouseWheelDown(s); };
    form_->OnFormWheelUp = [this](TObject* s, TShiftState, TPoint, bool&) { FormMouseWheelUp(s); };
    form_->OnDestroy = [this](TObject* s) { DoFormDestroyHook(s); };
    form_->OnSizing = [this](TObject* s) { DoFormSizingHook(s); };
}

void TExtCustomDropDown::CreateDropDownButton()
{
    if (button_) return;
    button_ = new TDropDownEditButton(this);
    button_->SetParent(this);
    button_->OnClick = [this](TObject* s) { ButtonClick(s); };
    UpdateDropDownButton();
}

void TExtCustomDropDown::UpdateDropDownButton()
{
    if (!button_) return;
    button_->SetFBWidth(dropDownButtonWidth_);
    button_->SetBounds(button_->Left(), button_->Top(), dropDownButtonWidth_, 17);
    button_->SetVisible(true);
    button_->SetFocusControl(this);
}

void TExtCustomDropDown::DoBeforeDropDown()
{
    if (OnBeforeDropDown) OnBeforeDropDown(this);
}

void TExtCustomDropDown::FocusFocusControl()
{
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
}

void TExtCustomDropDown::SetControl(TControl* Value)
{
    if (Value == control_) return;
    control_ = Value;
    if (Value) Value->FreeNotification(this);
    AttachControl();
}

void TExtCustomDropDown::AttachControl()
{
    if (!form_ || !control_) return;
    control_->SetParent(form_);
    const bool header = form_->Header() && form_->Header()->Visible();
    control_->SetTop(header ? form_->Header()->Height() + 2 : dropDownBorderWidth_);
    control_->SetAlign(alClient);
}

void TExtCustomDropDown::SizeDropDownForm()
{
    if (!form_) return;
    int w;
    if (dropDownWidth_ > 0)
        w = dropDownWidth_;
    else if (control_ && control_->Visible())
        w = control_->Width();
    else
        w = Width();
    int h;
    if (dropDownHeight_ > 0) {
        h = dropDownHeight_;
    } else {
        h = 2 * dropDownBorderWidth_;
        if (form_->Header() && form_->Header()->Visible()) h += form_->Header()->Height();
        if (form_->Footer() && form_->Footer()->Visible()) h += form_->Footer()->Height();
        if (control_ && control_->Visible()) h += control_->Height();
    }
    form_->SetBounds(form_->Left(), form_->Top(), w, h);
}

void TExtCustomDropDown::DoShowDropDown()
{
    if (!form_ || form_->Visible() || !Enabled() || ReadOnly()) return;
    DoBeforeDropDown();
    form_->SetShadow(dropDownShadow_);
    form_->SetPopupParent(GetParentForm(this));
    form_->SetSizeable(dropDownSizeable_);
    form_->InitializeAndUpdate();
    form_->SetBounds(Left(), Top(), form_->Width(), form_->Height());
    SizeDropDownForm();
    AttachControl();
    form_->SetMinimumSize(80, 50);
    if (auto* wc = dynamic_cast<TWinControl*>(control_)) {
        wc->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ForwardListKeyDown(s, k, sh); };
        wc->OnKeyUp = [this](TObject* s, std::uint16_t& k, TShiftState sh) { ForwardListKeyUp(s, k, sh); };
        wc->OnKeyPress = [this](TObject* s, char16_t& k) { ForwardListChar(s, k); };
    }
    const TPoint p = Parent() ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : ClientToScreen(TPoint{0, 0});
    int x = p.X, y = p.Y;
    const int fw = std::max(form_->Width(), 80), fh = std::max(form_->Height(), 50);
    const bool below = dropPosition_ == dpDown || (dropPosition_ == dpAuto && p.Y + fh < GetSystemMetrics(SM_CYSCREEN));
    y = below ? p.Y + Height() - 1 : p.Y - fh;

    bool accept = true;
    if (OnDropDown) OnDropDown(this, accept);
    if (!accept) return;

    const TRect work = Screen->MonitorWorkAreaRect(p);
    if (work.Left >= 0 && x + fw > work.Right && x < work.Right) x = work.Right - fw;

    int w = userDropDownWidth_ != -1 ? userDropDownWidth_ : fw;
    int h = userDropDownHeight_ != -1 ? userDropDownHeight_ : fh;
    AdjustDropDownHeight(h);
    w = std::max(w, 80);
    h = std::max(h, 50);
    droppedDown_ = true;
    form_->SetBounds(x, y, w, h);
    form_->Show();
    FocusFocusControl();
}

void TExtCustomDropDown::DoHideDropDown(bool Cancel)
{
    if (!form_ || !form_->Visible()) return;
    if (OnBeforeDropUp) OnBeforeDropUp(this);
    userDropDownWidth_ = form_->Width();
    userDropDownHeight_ = form_->Height();
    form_->Hide();
    Application->CancelHint();
    if (Cancel) SetText(oldText_);
    if (OnDropUp) OnDropUp(this, Cancel);
}

void TExtCustomDropDown::AfterDropUp(TObject*)
{
    droppedDown_ = false;
    if (TabStop() && CanFocus() && !Focused() && !HasState(csDestroying)) SetFocus();
}

void TExtCustomDropDown::ButtonClick(TObject*)
{
    if (!form_ || form_->Visible()) return;
    if (form_->DeActivated() && TicksSince(form_->DeActivateTime()) <= 250) return;
    DoShowDropDown();
}

void TExtCustomDropDown::FormMouseWheelDown(TObject*) { DoWheelDownHook(); }

void TExtCustomDropDown::FormMouseWheelUp(TObject*) { DoWheelUpHook(); }

void TExtCustomDropDown::ForwardChar(TObject*, char16_t& Key) { Perform(WM_CHAR, Key, 0); }

void TExtCustomDropDown::ForwardKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift)
{
    Perform((Shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, (Shift & ssAlt) ? (LPARAM(1) << 29) : 0);
}

void TExtCustomDropDown::ForwardKeyUp(TObject*, std::uint16_t& Key, TShiftState) { Perform(WM_KEYUP, Key, 0); }

void TExtCustomDropDown::ForwardListKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift)
{
    Perform((Shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, Key, (Shift & ssAlt) ? (LPARAM(1) << 29) : 0);
}

void TExtCustomDropDown::ForwardListKeyUp(TObject*, std::uint16_t& Key, TShiftState) { Perform(WM_KEYUP, Key, 0); }

void TExtCustomDropDown::ForwardListChar(TObject*, char16_t& Key) { Perform(WM_CHAR, Key, 0); }

void TExtCustomDropDown::DrawDropDownGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Vertical,
                                              TRect R, int Steps)
{
    DrawGradientSteps(Canvas, FromColor, ToColor, !Vertical, R, Steps);
}

// ---- layout ----------------------------------------------------------------------------

void TExtCustomDropDown::ResizeButton()
{
    if (!button_) return;
    TCanvas c;
    c.Font()->Assign(Font());
    TTextMetric tm{};
    c.GetTextMetrics(tm);
    TCanvas sys;
    TTextMetric stm{};
    sys.GetTextMetrics(stm);
    const int m = tm.tmHeight + std::min(tm.tmHeight, stm.tmHeight) / 4;
    if (Height() < m) {
        SetBounds(Left(), Top(), Width(), m);
        Invalidate();
        return;
    }
    const int bw = button_->FBWidth();
    if (Ctl3D() && BorderStyle() == bsSingle) {
        const int a = flat_ ? 3 : 4;
        button_->SetBounds(Width() - bw - a, flat_ ? 2 : 0, bw, Height() - a);
    } else {
        button_->SetBounds(Width() - bw - (Ctl3D() ? 0 : 2), 1, bw, Height() - 2);
    }
    UpdateEditRect();
    Invalidate();
}

void TExtCustomDropDown::UpdateEditRect()
{
    TRect r{};
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - (button_ ? button_->Width() : 0) - 3;
    if (BorderStyle() == bsSingle) {
        r.Left = 1;
        r.Top = 1;
    } else {
        r.Left = 2;
        r.Top = 3;
    }
    editRect_ = r;
    if (!Ctl3D()) r.Left += 1;
    Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TExtCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const bool sized = AWidth != Width() || AHeight != Height();
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (sized && button_) ResizeButton();
    UpdateLabel();
}

void TExtCustomDropDown::SetParent(TWinControl* AParent)
{
    TCustomMaskEdit::SetParent(AParent);
    if (label_) {
        label_->SetParent(AParent);
        UpdateLabel();
    }
}

void TExtCustomDropDown::SetVisible(bool Value)
{
    TCustomMaskEdit::SetVisible(Value);
    if (label_ && !labelCaption_.empty()) label_->SetVisible(Value);
}

void TExtCustomDropDown::SetEnabled(bool Value)
{
    TCustomMaskEdit::SetEnabled(Value);
    if (button_) button_->SetEnabled(Value);
    if (label_ && !labelAlwaysEnabled_) label_->SetEnabled(Value);
    Invalidate();
}

void TExtCustomDropDown::Loaded()
{
    TCustomMaskEdit::Loaded();
    parentFnt_ = ParentFont();
    UpdateEditRect();
    ResizeButton();
    if (button_) button_->SetEnabled(Enabled());
    if (label_ && !labelAlwaysEnabled_) label_->SetEnabled(Enabled());
    UpdateLabel();
    if (ParentFont()) labelFont_->Assign(Font());
}

void TExtCustomDropDown::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

// ---- painting ----------------------------------------------------------------------------

void TExtCustomDropDown::PaintWindow(TCanvas* Canvas)
{
    TCustomMaskEdit::PaintWindow(Canvas);
    if (IsSet(borderColor_) || IsSet(focusBorderColor_) || flat_ || (!Enabled() && disabledBorder_)) DrawBorders();
    PaintReadOnlySelection();
}

void TExtCustomDropDown::DrawBorders()
{
    if (button_) button_->SpeedButton()->SetFocused(flat_ && (mouseInControl_ || Focused()));
    if (Enabled() && !flat_ && !IsSet(borderColor_) && !IsSet(focusBorderColor_) && !(!Enabled() && disabledBorder_))
        return;
    TCanvas* c = BeginOverlay();
    if (!c) return;
    const TRect r = Rect(0, 0, Width(), Height());
    c->Brush()->SetStyle(bsSolid);
    if (!Enabled() && isThemed_ && disabledBorder_) {
        c->Brush()->SetColor(0xC0C0C0);
        c->FrameRect(r);
    } else if (IsSet(borderColor_)) {
        c->Brush()->SetColor(Focused() && IsSet(focusBorderColor_) ? focusBorderColor_ : borderColor_);
        c->FrameRect(r);
    } else if (IsSet(focusBorderColor_)) {
        if (Focused()) {
            c->Brush()->SetColor(focusBorderColor_);
            c->FrameRect(r);
        }
    } else if (flat_) {
        const bool hot = mouseInControl_ || Focused();
        if (hot) {
            TRect e = r;
            DrawEdge(c, e, BDR_SUNKENOUTER, BF_RECT);
            c->Brush()->SetColor(clBtnFace);
            c->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
        } else {
            const TColor pc = Parent() ? Parent()->Color() : clBtnFace;
            c->Brush()->SetColor(pc);
            c->FrameRect(r);
            c->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
        }
    }
    EndOverlay();
}

void TExtCustomDropDown::PaintReadOnlySelection()
{
    if (editorEnabled_ || !Focused() || !focusDraw_) return;
    TCanvas* c = BeginOverlay();
    if (!c) return;
    TRect r = Rect(2, 2, Width() - (button_ ? button_->Width() : 0) - 1, Height() - 2);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Rectangle(r);
    r.Left += 2;
    r.Right -= 3;
    c->Font()->Assign(Font());
    c->Font()->SetColor(clHighlightText);
    c->Brush()->SetStyle(bsClear);
    const String t = GetText();
    c->DrawText(t, r, DT_SINGLELINE | DT_VCENTER);
    EndOverlay();
}

// ---- keys, mouse and focus -------------------------------------------------------------------

void TExtCustomDropDown::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    // Alt+Up and Alt+Down toggle: close keeping the text, or open.
    if ((Shift & ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (droppedDown_)
            DoHideDropDown(false);
        else
            DoShowDropDown();
        return;
    }
    if (!editorEnabled_ && Enabled()) {
        if (!ReadOnly()) {
            if (Key == VK_RETURN) DoHideDropDown(false);
            else if (Key == VK_ESCAPE) DoHideDropDown(true);
            else if (Key == VK_F4) {
                if (droppedDown_) DoHideDropDown(false);
                else DoShowDropDown();
            }
        }
        if (Key != VK_RETURN && Key != VK_ESCAPE) Key = 0;
        return;
    }
    if ((Shift & ssCtrl) && (Key == VK_TAB || Key == VK_RETURN)) return;
    if (Key == VK_RETURN && returnIsTab_) {
        Key = VK_TAB;
        if (Visible()) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (EditTypeKeyDown(Key, Shift)) {
        Key = 0;
        return;
    }
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key == VK_RETURN) {
        DoHideDropDown(false);
    } else if (Key == VK_ESCAPE) {
        DoHideDropDown(true);
    } else if (Key == VK_F4 && !(Shift & ssAlt)) {
        if (droppedDown_) DoHideDropDown(false);
        else DoShowDropDown();
    }
}

void TExtCustomDropDown::KeyPress(char16_t& Key)
{
    TCustomMaskEdit::KeyPress(Key);
    if (Key == u'\r') Key = 0;
}

void TExtCustomDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && !editorEnabled_) {
        TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
        ButtonClick(this);
        return;
    }
    TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
}

void TExtCustomDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomMaskEdit::MouseUp(Button, Shift, X, Y);
    if (!editorEnabled_ || ReadOnly()) PaintReadOnlySelection();
    EditTypeClampCaret();
}

void TExtCustomDropDown::DoEnter()
{
    TCustomMaskEdit::DoEnter();
    DrawBorders();
}

void TExtCustomDropDown::DoExit()
{
    EditTypeFocusLost();
    TCustomMaskEdit::DoExit();
    DrawBorders();
    if (!editorEnabled_) Invalidate();
}

void TExtCustomDropDown::Change()
{
    if (!EditTypeChange()) return;
    TCustomMaskEdit::Change();
}

void TExtCustomDropDown::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR:
        // A selection-only edit takes no typed character.
        if (!editorEnabled_) return;
        if (EditTypeChar(Message)) return;
        break;
    case WM_PASTE:
    case WM_COPY:
    case WM_CUT:
        if (EditTypeClipboard(Message)) return;
        break;
    case CM_MOUSEENTER:
        if (Enabled()) {
            mouseInControl_ = true;
            DrawBorders();
        }
        break;
    case CM_MOUSELEAVE:
        if (Enabled()) {
            mouseInControl_ = false;
            DrawBorders();
        }
        break;
    case WM_MOUSEWHEEL: {
        TCustomMaskEdit::WndProc(Message);
        const int delta = static_cast<short>(HiWord(static_cast<std::uintptr_t>(Message.WParam)));
        if (delta < 0) DoWheelDownHook();
        else if (delta > 0) DoWheelUpHook();
        return;
    }
    case CM_WANTSPECIALKEY:
        WantSpecialKey(Message);
        return;
    case EM_SETREADONLY:
        TCustomMaskEdit::WndProc(Message);
        if (button_) button_->SpeedButton()->Invalidate();
        return;
    case WM_SETFOCUS:
        TCustomMaskEdit::WndProc(Message);
        if (editorEnabled_) {
            if (AutoSelect()) SelectAll();
            else if (editType_ == etFloat || editType_ == etMoney) SelectBeforeDecimal();
        } else {
            HideCaret();
            Invalidate();
        }
        return;
    default:
        break;
    }
    TCustomMaskEdit::WndProc(Message);
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_DELETE) EditTypeAfterKeyDown(VK_DELETE, 0);
}

// ---- the special-key query -----------------------------------------------------------------

void TExtCustomDropDown::WantSpecialKey(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    const WPARAM key = Message.WParam;
    TWinControl* parent = Parent();
    // The framework asks again at the key's release: only the press undoes and posts, so the
    // parent hears one Esc or Enter per press.
    const bool release = (Message.LParam & KF_UP_LPARAM) != 0;
    if (release) {
        TCustomMaskEdit::WndProc(Message);
        if (key == VK_ESCAPE && droppedDown_) Message.Result = 1;
        return;
    }
    if (key == VK_ESCAPE && canUndo_ && !form->KeyPreview()) {
        SelectAll();
        SetModified(false);
        Message.WParam = 0;
        if (defaultHandling_ && parent) {
            PostMessage(parent->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(parent->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
    }
    if (key == VK_RETURN && defaultHandling_ && !form->KeyPreview() && parent && parent->Focused()) {
        PostMessage(parent->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(parent->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    TCustomMaskEdit::WndProc(Message);
    // An open drop-down keeps Esc from the dialog (its cancel button does not act), also
    // after the undo above took the key.
    if (key == VK_ESCAPE && droppedDown_) Message.Result = 1;
}

// ---- copying and notifications -----------------------------------------------------------

void TExtCustomDropDown::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TExtCustomDropDown*>(Source);
    if (!s) return;
    focusDraw_ = s->focusDraw_;
    forceShadow_ = s->forceShadow_;
    dropDownEnabled_ = s->dropDownEnabled_;
    dropDownColor_ = s->dropDownColor_;
    dropDownColorTo_ = s->dropDownColorTo_;
    dropDownGradient_ = s->dropDownGradient_;
    dropDownBorderColor_ = s->dropDownBorderColor_;
    dropDownBorderWidth_ = s->dropDownBorderWidth_;
    dropDownShadow_ = s->dropDownShadow_;
    SetDropDownWidth(s->dropDownWidth_);
    SetDropDownHeight(s->dropDownHeight_);
    SetDropDownSizeable(s->dropDownSizeable_);
    SetEditType(s->editType_);
    returnIsTab_ = s->returnIsTab_;
    SetLengthLimit(s->lengthLimit_);
    SetPrecision(s->precision_);
    SetPrefix(s->prefix_);
    SetSuffix(s->suffix_);
    defaultHandling_ = s->defaultHandling_;
    canUndo_ = s->canUndo_;
    excelStyleDecimalSeparator_ = s->excelStyleDecimalSeparator_;
    validChars_ = s->validChars_;
    signed_ = s->signed_;
    SetAutoThousandSeparator(s->autoThousandSeparator_);
    buttonAppearance_->Assign(s->buttonAppearance_.get());
    dropDownHeader_->Assign(s->dropDownHeader_.get());
    dropDownFooter_->Assign(s->dropDownFooter_.get());
    dropPosition_ = s->dropPosition_;
    SetFlat(s->flat_);
    SetDropDownButtonWidth(s->dropDownButtonWidth_);
    SetDropDownButtonHint(s->dropDownButtonHint_);
    SetEditorEnabled(s->editorEnabled_);
    SetDropDownButtonGlyph(s->DropDownButtonGlyph());
    SetDropDownButtonCaption(s->DropDownButtonCaption());
    etched_ = s->etched_;
    SetImages(s->images_);
    SetSelectionColorStyle(s->selectionColorStyle_);
    selectionColor_ = s->selectionColor_;
    selectionColorTo_ = s->selectionColorTo_;
}

void TExtCustomDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove || HasState(csDestroying)) return;
    if (AComponent == images_) {
        images_ = nullptr;
        Invalidate();
    }
    if (AComponent == control_) SetControl(nullptr);
    if (AComponent == focusControl_) focusControl_ = nullptr;
    if (AComponent == label_) label_ = nullptr;
    if (AComponent == form_) form_ = nullptr;
    if (AComponent == button_) button_ = nullptr;
}

void TExtCustomDropDown::AppearanceChanged(TObject*)
{
    if (droppedDown_ && form_) form_->InitializeAndUpdate();
}

} // namespace dropdown
