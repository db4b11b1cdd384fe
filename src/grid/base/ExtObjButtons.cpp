#include "ExtObjButtons.h"

#include <algorithm>
#include <cmath>

#include "plat/Menus.h"

namespace grid {

using plat::TBitmap;
using plat::TCanvas;
using plat::TRect;

// ---------------------------------------------------------------- helpers

TButtonContentPlaces CalcButtonContent(const TButtonContentInput& In) {
    TButtonContentPlaces p;
    TButtonLayout layout = In.Layout;
    if (In.RightToLeft) {
        if (layout == blGlyphLeft) layout = blGlyphRight;
        else if (layout == blGlyphRight) layout = blGlyphLeft;
    }
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    if (across) {
        p.Glyph.Y = (In.Height - In.GlyphHeight + 1) / 2;
        p.Text.Y = (In.Height - In.TextHeight + 1) / 2;
    } else {
        p.Glyph.X = (In.Width - In.GlyphWidth + 1) / 2;
        p.Text.X = (In.Width - In.TextWidth + 1) / 2;
    }
    const int S = across ? In.Width : In.Height;
    const int g = across ? In.GlyphWidth : In.GlyphHeight;
    const int t = across ? In.TextWidth : In.TextHeight;
    int margin = In.Margin;
    int spacing = In.Spacing;
    if (t == 0 || g == 0) spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (S - (g + t)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (S - (g + spacing + t) + 1) / 2;
    } else if (spacing == -1) {
        spacing = ((S - (margin + g)) - t) / 2;
    }
    int glyphAt = 0, textAt = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphAt = margin;
        textAt = margin + g + spacing;
    } else {
        glyphAt = S - margin - g;
        textAt = glyphAt - spacing - t;
    }
    if (across) {
        p.Glyph.X = glyphAt;
        p.Text.X = textAt;
    } else {
        p.Glyph.Y = glyphAt;
        p.Text.Y = textAt;
    }
    if (In.TextWidth == 0 || In.TextHeight == 0) p.Glyph = plat::TPoint{0, 0};
    return p;
}

int GreyGlyphValue(TColor Colour) {
    const int sum = plat::GetRValue(Colour) + plat::GetGValue(Colour) + plat::GetBValue(Colour);
    // Sums divided by 3 never end in one half, so plain rounding is the even rounding.
    const int mean = (sum + 1) / 3;
    return mean / 2 + 96;
}

void MakeGreyGlyph(const TBitmap& Source, TBitmap& Grey) {
    Grey.SetSize(Source.Width(), Source.Height());
    for (int y = 0; y < Source.Height(); ++y) {
        const auto* in = static_cast<const std::uint8_t*>(Source.ScanLine(y));
        auto* out = static_cast<std::uint8_t*>(Grey.ScanLine(y));
        for (int x = 0; x < Source.Width(); ++x) {
            const TColor c = plat::RGB(in[4 * x + 2], in[4 * x + 1], in[4 * x]);
            const auto v = static_cast<std::uint8_t>(GreyGlyphValue(c));
            out[4 * x] = out[4 * x + 1] = out[4 * x + 2] = v;
            out[4 * x + 3] = 0xFF;
        }
    }
    Grey.SetTransparent(Source.Transparent());
}

void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Steps,
                        TColor FrameColor) {
    if (Steps <= 0) Steps = 1;
    const TColor from = plat::ColorToRGB(FromColor), to = plat::ColorToRGB(ToColor);
    const int size = Horizontal ? R.Width() : R.Height();
    auto part = [&](int a, int b, int i) {
        return a + static_cast<int>(std::nearbyint(static_cast<double>(i) * (b - a) / Steps));
    };
    const int band = static_cast<int>(std::nearbyint(static_cast<double>(size) / Steps)) + 1;
    for (int i = 0; i < Steps; ++i) {
        const TColor c = plat::RGB(part(plat::GetRValue(from), plat::GetRValue(to), i),
                                   part(plat::GetGValue(from), plat::GetGValue(to), i),
                                   part(plat::GetBValue(from), plat::GetBValue(to), i));
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        const int start = static_cast<int>(std::nearbyint(static_cast<double>(i) * size / Steps));
        if (Horizontal)
            Canvas->FillRect(TRect(R.Left + start, R.Top, std::min(R.Right, R.Left + start + band), R.Bottom));
        else
            Canvas->FillRect(TRect(R.Left, R.Top + start, R.Right, std::min(R.Bottom, R.Top + start + band)));
    }
    if (FrameColor != plat::clNone) {
        Canvas->Pen()->SetColor(FrameColor);
        Canvas->Brush()->SetStyle(plat::bsClear);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(plat::bsSolid);
    }
}

// ---------------------------------------------------------------- TExtGridButton

TExtGridButton::TExtGridButton(plat::TComponent* AOwner)
    : plat::TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, 23, 22);
    SetControlStyle(plat::csCaptureMouse | plat::csDoubleClicks);
    SetCaption(String());
}

TExtGridButton::~TExtGridButton() = default;

void TExtGridButton::SetGlyph(const TBitmap* Value) {
    if (Value) FGlyph->Assign(*Value);
    else FGlyph->SetSize(0, 0);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        MakeGreyGlyph(*FGlyph, *FGlyphDisabled);
        if (FGlyph->Transparent()) FGlyphDisabled->SetTransparentColor(plat::RGB(GreyGlyphValue(FGlyph->TransparentColor()),
                                                                                 GreyGlyphValue(FGlyph->TransparentColor()),
                                                                                 GreyGlyphValue(FGlyph->TransparentColor())));
    }
    if (FShaded && !HasState(plat::csLoading)) BuildShade();
    Invalidate();
}

void TExtGridButton::BuildShade() {
    if (FGlyph->Empty()) {
        FGlyphShade->SetSize(0, 0);
        return;
    }
    const int w = FGlyph->Width(), h = FGlyph->Height();
    const TColor key = FGlyph->Canvas()->Pixels(0, h - 1);
    FGlyphShade->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            FGlyphShade->Canvas()->SetPixels(x, y, FGlyph->Canvas()->Pixels(x, y) == key ? key : 0x808080);
    FGlyphShade->SetTransparentColor(key);
    FGlyphShade->SetTransparent(true);
}

void TExtGridButton::SetDown(bool Value) {
    if (FGroupIndex == 0 && FStyle != tasCheck) Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Invalidate();
        return;
    }
    if (Value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp) Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TExtGridButton::SetAllowAllUp(bool Value) {
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TExtGridButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    UpdateExclusive();
}

void TExtGridButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent()) return;
    plat::TWinControl* p = Parent();
    for (int i = 0; i < p->ControlCount(); ++i)
        p->Controls(i)->Perform(plat::CM_BUTTONPRESSED, static_cast<plat::WPARAM>(FGroupIndex), reinterpret_cast<plat::LPARAM>(this));
}

void TExtGridButton::ButtonPressed(int Group, TExtGridButton* Sender) {
    if (Group != FGroupIndex || Sender == this || !Sender) return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TExtGridButton::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TExtGridButton::SetMargin(int Value) {
    if (Value < -1) return;
    FMargin = Value;
    Invalidate();
}

void TExtGridButton::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TExtGridButton::SetFlat(bool Value) {
    FFlat = Value;
    Invalidate();
}

void TExtGridButton::SetShaded(bool Value) {
    FShaded = Value;
    if (Value && !HasState(plat::csLoading)) BuildShade();
    Invalidate();
}

void TExtGridButton::SetShowCaption(bool Value) {
    FShowCaption = Value;
    Invalidate();
}

void TExtGridButton::SetStyle(TExtGridButtonStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TExtGridButton::SetLook(int Value) {
    struct Preset {
        TColor color, colorTo, hot, hotTo, down, downTo, checked, checkedTo, borderDown, borderHot;
        bool rounded;
    };
    constexpr TColor N = plat::clNone;
    constexpr TColor F = plat::clBtnFace;
    static constexpr Preset kLooks[7] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, N, 0xAF987A, 0xC3CECE, true},
        {F, N, 0xEED2C1, N, 0xE2B598, N, 0xE8E6E1, N, 0xC56A31, 0xC56A31, false},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 5615103, 0, 0, false},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 5615103, 0, 0, false},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 5615103, 0, 0, false},
        {F, N, F, N, 0xD8D3D2, N, 0xCAC7C7, N, N, N, false},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080, false},
    };
    if (Value < 0 || Value > 6) return;
    FLook = Value;
    const Preset& p = kLooks[Value];
    ButtonColor = p.color;
    ColorTo = p.colorTo;
    ColorHot = p.hot;
    ColorHotTo = p.hotTo;
    ColorDown = p.down;
    ColorDownTo = p.downTo;
    ColorChecked = p.checked;
    ColorCheckedTo = p.checkedTo;
    BorderDownColor = p.borderDown;
    BorderHotColor = p.borderHot;
    BorderColor = plat::clNone;
    Rounded = p.rounded;
    FFlat = true;
    Invalidate();
}

void TExtGridButton::WndProc(plat::TMessage& Message) {
    switch (Message.Msg) {
    case plat::CM_BUTTONPRESSED:
        ButtonPressed(static_cast<int>(Message.WParam), reinterpret_cast<TExtGridButton*>(Message.LParam));
        return;
    case plat::CM_MOUSEENTER:
        if (!FMouseInControl && Enabled() && !MouseCapture()) {
            FMouseInControl = true;
            Repaint();
        }
        break;
    case plat::CM_MOUSELEAVE:
        if (FMouseInControl && Enabled() && !FDragging) {
            FMouseInControl = false;
            Repaint();
        }
        break;
    default: break;
    }
    plat::TGraphicControl::WndProc(Message);
}

void TExtGridButton::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != plat::mbLeft || !Enabled()) return;
    if (DropDownButton && X >= ClientWidth() - 12) {
        FState = bsUp;
        if (OnDropDown) OnDropDown(this);
        if (DropDownMenu) {
            const plat::TPoint pt = ClientToScreen(plat::TPoint{0, Height()});
            DropDownMenu->Popup(pt.X, pt.Y);
        }
        return;
    }
    if (!FDown || FStyle == tasCheck) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TExtGridButton::MouseMove(plat::TShiftState Shift, int X, int Y) {
    plat::TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    TButtonState s = inside ? bsDown : bsUp;
    if (FDown) s = bsExclusive;
    if (FStyle == tasCheck && FDown) s = bsDown;
    if (s != FState) {
        FState = s;
        Invalidate();
    }
}

void TExtGridButton::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging) return;
    FDragging = false;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (FStyle == tasCheck) SetDown(!FDown);
        Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown) FState = bsExclusive;
        Invalidate();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Invalidate();
    }
    if (inside) Click();
    FMouseInControl = inside;
}

void TExtGridButton::Click() { plat::TGraphicControl::Click(); }

void TExtGridButton::PaintFace(TRect& R) {
    TCanvas* c = Canvas();
    const bool hot = FMouseInControl && Enabled() && !HasState(plat::csDesigning);
    auto fill = [&](TColor from, TColor to, TColor pen, const TRect& r) {
        if (to == plat::clNone) {
            c->Brush()->SetColor(from);
            c->Pen()->SetColor(pen == plat::clNone ? from : pen);
            c->Rectangle(r);
        } else {
            DrawButtonGradient(c, from, to, false, r, 16, pen);
        }
    };
    if (!hot) {
        c->Pen()->SetWidth(1);
        if (FStyle == tasCheck && FDown) {
            fill(ColorChecked, ColorCheckedTo, BorderDownColor, R);
        } else if (ColorTo == plat::clNone) {
            c->Brush()->SetColor(ButtonColor);
            c->FillRect(R);
        } else {
            const TColor pen = Rounded ? plat::clNone : (FDown ? BorderDownColor : BorderColor);
            DrawButtonGradient(c, ButtonColor, ColorTo, false, R, 16, pen);
        }
        if (BorderColor != plat::clNone) {
            c->Pen()->SetColor(BorderColor);
            c->Brush()->SetStyle(plat::bsClear);
            if (Rounded) c->RoundRect(TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1), 8, 8);
            else c->Rectangle(R);
            c->Brush()->SetStyle(plat::bsSolid);
        }
    } else {
        TColor from = ColorHot, to = ColorHotTo, pen = BorderHotColor;
        if (FState == bsDown) {
            from = ColorDown;
            to = ColorDownTo;
            pen = BorderDownColor;
        } else if (FStyle == tasCheck && FDown) {
            from = ColorChecked;
            to = ColorCheckedTo;
            pen = BorderDownColor;
        }
        const TColor border = pen;
        if (Rounded) pen = plat::clNone;
        fill(from, to, pen, R);
        if (Rounded && border != plat::clNone) {
            c->Pen()->SetColor(border);
            c->Brush()->SetStyle(plat::bsClear);
            c->RoundRect(TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1), 8, 8);
            c->Brush()->SetStyle(plat::bsSolid);
        }
        if (DropDownButton && border != plat::clNone) {
            c->Pen()->SetColor(border);
            c->MoveTo(R.Right - 12, R.Top);
            c->LineTo(R.Right - 12, R.Bottom);
        }
    }
}

void TExtGridButton::Paint() {
    TCanvas* c = Canvas();
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown) FState = bsDown;
    TRect r = ClientRect();
    plat::TPoint offset{0, 0};
    const bool hot = FMouseInControl && Enabled() && !HasState(plat::csDesigning);
    if (FFlat) {
        if (BorderDownColor == plat::clNone || Rounded) r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        PaintFace(r);
        r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    } else {
        const bool pushed = FState == bsDown || FState == bsExclusive;
        plat::DrawFrameControl(c, r, plat::DFC_BUTTON, plat::DFCS_BUTTONPUSH | (pushed ? plat::DFCS_PUSHED : 0u));
    }
    if (FState == bsExclusive && (!FFlat || !hot)) {
        const TRect er(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
        if (ColorCheckedTo == plat::clNone) {
            c->Brush()->SetColor(ColorChecked);
            c->FillRect(er);
        } else {
            DrawButtonGradient(c, ColorChecked, ColorCheckedTo, false, er, 16, plat::clNone);
        }
        const TColor frame = FDown ? BorderDownColor : BorderColor;
        if (frame != plat::clNone) {
            c->Brush()->SetColor(frame);
            c->FrameRect(er);
        }
        if (!FFlat && !HasState(plat::csDesigning)) offset = {1, 1};
    } else if (FFlat && Enabled() && FShaded && hot && FState != bsDown) {
        offset = {-1, -1};
    }
    if (!FFlat && FState == bsDown && !HasState(plat::csDesigning)) offset = {1, 1};
    if (DropDownButton) {
        const int m = (r.Top + r.Bottom) / 2;
        c->Brush()->SetColor(Font()->Color());
        c->Pen()->SetColor(Font()->Color());
        c->Polygon({plat::TPoint{r.Right - 8, m - 1}, plat::TPoint{r.Right - 4, m - 1}, plat::TPoint{r.Right - 6, m + 1}});
        r.Right -= 12;
    }
    // Glyph of the state.
    const TBitmap* glyph = FGlyph.get();
    if (hot && FState != bsDown && !FGlyphHot->Empty()) glyph = FGlyphHot.get();
    if ((FState == bsDown || FState == bsExclusive) && !FGlyphDown->Empty()) glyph = FGlyphDown.get();
    if (FState == bsDisabled && !FGlyphDisabled->Empty()) glyph = FGlyphDisabled.get();
    c->Font()->Assign(*Font());
    const String caption = FShowCaption ? Caption() : String();
    int tw = 0, th = 0;
    if (!caption.empty()) {
        TRect tr(0, 0, r.Width(), 0);
        c->DrawText(caption, tr, plat::DT_CALCRECT | plat::DT_SINGLELINE);
        tw = tr.Width();
        th = tr.Height();
    }
    TButtonContentInput in;
    in.Width = r.Width();
    in.Height = r.Height();
    in.GlyphWidth = glyph->Empty() ? 0 : glyph->Width();
    in.GlyphHeight = glyph->Empty() ? 0 : glyph->Height();
    in.TextWidth = tw;
    in.TextHeight = th;
    in.Layout = FLayout;
    in.Margin = FMargin;
    in.Spacing = FSpacing;
    const TButtonContentPlaces places = CalcButtonContent(in);
    const int gx = r.Left + places.Glyph.X + offset.X, gy = r.Top + places.Glyph.Y + offset.Y;
    if (!glyph->Empty()) {
        if (FShaded && hot && Enabled() && FState != bsDown && !FGlyphShade->Empty())
            c->Draw(caption.empty() ? gx : gx + 2, caption.empty() ? gy : gy + 2, FGlyphShade.get());
        const_cast<TBitmap*>(glyph)->SetTransparent(true);
        c->Draw(gx, gy, glyph);
    }
    if (!caption.empty()) {
        const int shade = (FShaded && hot && FState != bsDown) ? 1 : 0;
        TRect tr(r.Left + places.Text.X + offset.X + shade, r.Top + places.Text.Y + offset.Y + shade, 0, 0);
        tr.Right = tr.Left + tw;
        tr.Bottom = tr.Top + th;
        c->Brush()->SetStyle(plat::bsClear);
        const unsigned flags = plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE;
        if (FState == bsDisabled) {
            TRect hl(tr.Left + 1, tr.Top + 1, tr.Right + 1, tr.Bottom + 1);
            c->Font()->SetColor(plat::clBtnHighlight);
            c->DrawText(caption, hl, flags);
            c->Font()->SetColor(plat::clBtnShadow);
        }
        c->DrawText(caption, tr, flags);
        c->Brush()->SetStyle(plat::bsSolid);
    }
}

// ---------------------------------------------------------------- TExtCheckBox

TExtCheckBox::TExtCheckBox(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
    SetBounds(0, 0, 98, 20);
    SetControlStyle(ControlStyle() & ~plat::csClickEvents);
    SetCaption(u"TExtCheckBox");
    SetTabStop(true);
}

void TExtCheckBox::SetAlignment(TLeftRight Value) {
    FAlignment = Value;
    Invalidate();
}

void TExtCheckBox::SetButtonVertAlign(plat::TTextLayout Value) {
    FButtonVertAlign = Value;
    Invalidate();
}

void TExtCheckBox::SetChecked(bool Value) {
    SetState(Value ? plat::cbChecked : plat::cbUnchecked);
    Invalidate();
}

void TExtCheckBox::SetState(plat::TCheckBoxState Value) {
    if (Value == FState) return;
    FState = Value;
    InvalidateBox();
}

void TExtCheckBox::InvalidateBox() {
    const TRect r = FAlignment == taRightJustifyBox ? TRect(std::max(0, ClientWidth() - 20), 0, ClientWidth(), ClientHeight())
                                                      : TRect(0, 0, std::min(20, ClientWidth()), ClientHeight());
    InvalidateRect(&r, true);
}

void TExtCheckBox::SetTransparent(bool Value) {
    if (Value != FTransparent) FBackgroundCached = false;
    FTransparent = Value;
    Invalidate();
}

void TExtCheckBox::SetDown(bool Value) {
    FDown = Value;
    InvalidateBox();
}

void TExtCheckBox::Toggle() {
    if (!ReadOnly) SetChecked(!Checked());
}

TRect TExtCheckBox::BoxRect() const {
    const int x = FAlignment == taRightJustifyBox ? ClientWidth() - 13 : 0;
    int y = 4;
    if (FButtonVertAlign == plat::tlCenter) y = ClientHeight() / 2 - 6;
    else if (FButtonVertAlign == plat::tlBottom) y = ClientHeight() - 17;
    return TRect(x, y, x + 13, y + 13);
}

TRect TExtCheckBox::CaptionRect() const {
    TRect r = ClientRect();
    if (FAlignment == taRightJustifyBox) {
        r.Left = 6;
        r.Right = Width() - 9;
    } else {
        r.Left = 15;
    }
    r.Top = 4;
    return r;
}

void TExtCheckBox::Paint() {
    TCanvas* c = Canvas();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
    }
    unsigned state = plat::DFCS_BUTTONCHECK;
    if (FState == plat::cbGrayed || !Enabled()) state |= plat::DFCS_INACTIVE;
    if (FState == plat::cbChecked) state |= plat::DFCS_CHECKED;
    if (FDown) state |= plat::DFCS_PUSHED;
    plat::DrawFrameControl(c, BoxRect(), plat::DFC_BUTTON, state);

    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(plat::bsClear);
    TRect r = CaptionRect();
    const unsigned flags = plat::DT_LEFT | plat::DT_SINGLELINE | (Ellipsis ? plat::DT_END_ELLIPSIS : 0u);
    const String caption = Caption();
    if (Enabled()) {
        c->DrawText(caption, r, flags);
    } else {
        TRect w(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        c->Font()->SetColor(plat::clWhite);
        c->DrawText(caption, w, flags);
        c->Font()->SetColor(0x808080);
        c->DrawText(caption, r, flags);
    }
    c->Brush()->SetStyle(plat::bsSolid);
    if (Focused()) {
        TRect m(0, 0, 0x3FFF, 0);
        c->DrawText(caption, m, plat::DT_CALCRECT | plat::DT_SINGLELINE);
        c->DrawFocusRect(TRect(r.Left - 2, r.Top, r.Left + m.Width() + 1, r.Top + m.Height() + 1));
    }
}

void TExtCheckBox::WndProc(plat::TMessage& Message) {
    switch (Message.Msg) {
    case plat::CM_MOUSEENTER:
        FHot = true;
        InvalidateBox();
        break;
    case plat::CM_MOUSELEAVE:
        FHot = false;
        InvalidateBox();
        break;
    case plat::WM_ERASEBKGND:
        if (FTransparent) {
            Message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    plat::TCustomControl::WndProc(Message);
}

void TExtCheckBox::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != plat::mbLeft) return;
    if (!Focused() && CanFocus()) SetFocus();
    SetMouseCapture(true);
    FMouseDown = true;
    SetDown(true);
}

void TExtCheckBox::MouseMove(plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseMove(Shift, X, Y);
    if (!FMouseDown) return;
    const bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (inside != FDown) SetDown(inside);
}

void TExtCheckBox::MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != plat::mbLeft) return;
    SetMouseCapture(false);
    const bool began = FMouseDown;
    FMouseDown = false;
    SetDown(false);
    // Bounds included, as the platform's hit test of a released capture.
    const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
    if (inside && began && Focused()) {
        Toggle();
        Click();
    }
}

void TExtCheckBox::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (Key == plat::VK_RETURN && ReturnIsTab) {
        Key = 0;
        plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_TAB, 0);
        return;
    }
    if (Key == plat::VK_SPACE) SetDown(true);
    plat::TCustomControl::KeyDown(Key, Shift);
}

void TExtCheckBox::KeyUp(std::uint16_t& Key, plat::TShiftState Shift) {
    if (Key == plat::VK_SPACE && FDown) {
        SetDown(false);
        Toggle();
        Click();
    }
    plat::TCustomControl::KeyUp(Key, Shift);
}

} // namespace grid
