#include "ExtDropDownStyles.h"

#include "ExtDraw.h"
#include "ExtDropDown.h"

namespace dropdown {

namespace {

constexpr TColor none = plat::clNone;
constexpr TColor face = plat::clBtnFace;
constexpr TColor highlight = plat::clHighlight;
constexpr TColor highlightText = plat::clHighlightText;
constexpr TColor inactiveCaption = plat::clInactiveCaption;

TFormStyleColors FormRow(TStyleColor form, TStyleColor formTo, TStyleColor formBorder, TColor header,
                         TColor headerTo, TColor font, TColor border) {
    TFormStyleColors s;
    s.FormColor = form;
    s.FormColorTo = formTo;
    s.FormBorderColor = formBorder;
    s.HeaderColor = s.FooterColor = header;
    s.HeaderColorTo = s.FooterColorTo = headerTo;
    s.HeaderFontColor = s.FooterFontColor = font;
    s.HeaderBorderColor = s.FooterBorderColor = border;
    return s;
}

constexpr TStyleColor unchanged = std::nullopt;

// The set shared by the office-like styles, which differ only in the face colours.
TButtonStyleColors OfficeButtons(TColor color, TColor colorTo) {
    TButtonStyleColors b;
    b.Color = color;
    b.ColorTo = colorTo;
    b.BorderColor = none;
    b.ColorHot = 0xEBFDFF;
    b.ColorHotTo = 0xACECFF;
    b.BorderColorHot = 0x99CEDB;
    b.ColorDown = 0xAAD9FF;
    b.ColorDownTo = 0x6EBBFF;
    b.BorderColorDown = 0x42AEFE;
    b.ColorDisabled = 0xF2F2F2;
    b.ColorDisabledTo = 0xB6B6B6;
    b.ColorChecked = 0x76AFF1;
    b.ColorCheckedTo = 0x4190F3;
    b.BorderColorChecked = 0x45667B;
    return b;
}

TButtonStyleColors Buttons(TColor color, TColor colorTo, TColor border, TColor hot, TColor hotTo, TColor hotBorder,
                           TColor down, TColor downTo, TColor downBorder, TColor disabled, TColor disabledTo,
                           TColor checked, TColor checkedTo, TColor checkedBorder) {
    return {color, colorTo, border, hot, hotTo, hotBorder, down, downTo, downBorder, disabled, disabledTo,
            checked, checkedTo, checkedBorder};
}

TButtonStyleColors Office2010Buttons(TColor color, TColor colorTo, TColor border) {
    return Buttons(color, colorTo, border, 0x8AE3FD, none, 0x58CAF1, 0x6CD0FF, none, 0x308AC2, 0xF2F2F2, 0xB6B6B6,
                   0x45E1FE, none, 0x4FA0CE);
}

} // namespace

TFormStyleColors FormStyleColors(int Style) {
    using namespace grid;
    switch (Style) {
    case tsOffice2003Blue: {
        TFormStyleColors s = FormRow(0xFFFFFF, none, unchanged, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000);
        s.FooterBorderColor = 0x962D00;
        return s;
    }
    case tsOffice2003Silver: return FormRow(0xFFFFFF, none, unchanged, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C);
    case tsOffice2003Olive: return FormRow(0xFFFFFF, none, none, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060);
    case tsOffice2003Classic: return FormRow(0xF2F2F2, 0xF2F2F2, none, 0x808080, 0x808080, 0xFFFFFF, 0x808080);
    case tsOffice2007Luna: return FormRow(0xF3E5DA, 0xF0DED0, none, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF);
    case tsOffice2007Obsidian: return FormRow(0xFFFFFF, none, none, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C);
    case tsWindowsXP: return FormRow(0xFFFFFF, none, unchanged, 0xFFFFFF, face, 0x000000, 0x808080);
    case tsWhidbey: return FormRow(0xF5F9FA, 0xF5F9FA, none, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00);
    case tsOffice2007Silver: return FormRow(0xF8F4F1, 0xF0E8E3, none, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F);
    case tsWindowsVista: {
        TFormStyleColors s = FormRow(0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0x000000, 0xFCF2DA);
        s.FooterColor = 0xFFFAF0;
        s.FooterColorTo = 0xFFFDF9;
        return s;
    }
    case tsWindows7: return FormRow(0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8);
    case tsTerminal: return FormRow(0xFFFFFF, 0xFFFFFF, 0x808080, face, face, 0x000000, none);
    case tsOffice2010Blue: return FormRow(0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F);
    case tsOffice2010Silver: return FormRow(0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8);
    case tsOffice2010Black: return FormRow(0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D);
    default: return {};
    }
}

TButtonStyleColors ButtonStyleColors(int Style) {
    using namespace grid;
    switch (Style) {
    case tsOffice2003Blue: return OfficeButtons(0xFCE1CB, 0xE0A57D);
    case tsOffice2003Silver: return OfficeButtons(0xECE2E1, 0xB39698);
    case tsOffice2003Olive: return OfficeButtons(0xCFF0EA, 0x8CC0B1);
    case tsOffice2007Luna: return OfficeButtons(0xFFEFE3, 0xFFDDC4);
    case tsOffice2007Obsidian: return OfficeButtons(0xF2F1F0, 0xC9C2BD);
    case tsWhidbey: return OfficeButtons(0xFFFFFF, 0xDFEDF0);
    case tsOffice2007Silver: return OfficeButtons(0xF9F8F8, 0xE4E2DF);
    case tsOffice2003Classic:
        return Buttons(0xFFFFFF, 0xC9D1D5, none, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4,
                       0xD8D5D4, 0xD8D5D4, 0xD8D5D4, 0x808080);
    case tsWindowsXP:
        return Buttons(0xFFFFFF, face, none, 0xEFD3C6, 0xEFD3C6, highlight, inactiveCaption, inactiveCaption, highlight,
                       0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC);
    case tsWindowsVista:
        // The checked border sits with the down border: a colour value, unlike a number
        // outside the colour range that no face could show.
        return Buttons(0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A,
                       0xFFFFFF, 0xFFFFFF, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A);
    case tsWindows7:
        return Buttons(0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D,
                       0xFFFFFF, 0xFFFFFF, 0xFEF9F0, 0xFCDBC1, 0xCEA27D);
    case tsTerminal:
        return Buttons(face, face, none, 0xC0C0C0, 0xC0C0C0, 0x808080, highlight, highlight, 0x808080, face, face, face,
                       face, highlight);
    case tsOffice2010Blue: return Office2010Buttons(0xFDF6EF, 0xF0DAC7, 0xC7B29F);
    case tsOffice2010Silver: return Office2010Buttons(0xFFFFFF, 0xEDE5E0, 0xD2CDC8);
    case tsOffice2010Black: return Office2010Buttons(0xBFBFBF, 0x919191, 0xD7D7D6);
    default: return {};
    }
}

TSelectionStyleColors SelectionStyleColors(int Style) {
    switch (Style) {
    case scOffice2007: return {0xD7FFFD, 0x58D4FC};
    case scWindowsVista: return {0xFDF8F1, 0xFCEFD5};
    case scWindows7: return {0xFCEBDC, 0xFCDBC1};
    default: return {};
    }
}

void DrawSelectionBackground(plat::TCanvas* Canvas, plat::TRect R, int Sides, TColor Background, int Style,
                             TColor SelectionColor, TColor SelectionColorTo) {
    if (!Canvas) return;
    const int kind = (Sides == 0 || Sides == 1 || Sides == 2) ? Sides : 3;
    switch (Style) {
    case scCustom:
        Canvas->Brush()->SetColor(SelectionColor);
        Canvas->Pen()->SetColor(SelectionColor);
        Canvas->FillRect(R);
        break;
    case scOffice2007:
        grid::DrawBevelFrame(Canvas, SelectionColor, SelectionColorTo, kind, R, Background, 0xC3D9DF, 0x8DD7D3,
                             0xCAF8FF, 0xF4FEFF, 0xB3F1FC, 0x58D4FC);
        break;
    case scWindowsVista:
        grid::DrawBevelFrame(Canvas, SelectionColor, SelectionColorTo, kind, R, Background, 0xFCEDCB, 0xFDDE99,
                             0xFDF5E7, 0xFDFBF6, none, none);
        break;
    case scWindows7:
        grid::DrawBevelFrame(Canvas, SelectionColor, SelectionColorTo, kind, R, Background, 0xE0C5AE, 0xCEA27D,
                             0xFDEADB, 0xFDF4EB, none, none);
        break;
    default: break;
    }
}

TItemAppearance::TItemAppearance() {
    font_.SetName(u"Tahoma");
    SetColorStyle(scOffice2007);
    BorderColorHot = none;
    BorderColorSelected = none;
    ColorHotText = 0;
    ColorSelectedText = 0;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
    if (Value == colorStyle_) return;
    colorStyle_ = Value;
    struct Preset {
        TColor hot, hotTo, mirrorHot, mirrorHotTo, top, bottom, border, edge, sel, selTo, mirrorSel, mirrorSelTo;
    };
    Preset p;
    switch (Value) {
    case scOffice2007:
        p = {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4,
             0x15C1FB, 0x68E3F9};
        break;
    case scWindowsVista:
        p = {0xFDF8F1, 0xFCEFD5, none, none, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, none, none};
        break;
    case scWindows7:
        p = {0xFCEBDC, 0xFCDBC1, none, none, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, none, none};
        break;
    default: return;
    }
    ColorHot = p.hot;
    ColorHotTo = p.hotTo;
    ColorMirrorHot = p.mirrorHot;
    ColorMirrorHotTo = p.mirrorHotTo;
    BorderColorTop = p.top;
    BorderColorBottom = p.bottom;
    BorderColor = p.border;
    EdgeColor = p.edge;
    ColorSelected = p.sel;
    ColorSelectedTo = p.selTo;
    ColorMirrorSelected = p.mirrorSel;
    ColorMirrorSelectedTo = p.mirrorSelTo;
}

void TItemAppearance::Assign(const TItemAppearance& Source) {
    if (&Source == this) return;
    ColorHot = Source.ColorHot;
    ColorHotTo = Source.ColorHotTo;
    ColorMirrorHot = Source.ColorMirrorHot;
    ColorMirrorHotTo = Source.ColorMirrorHotTo;
    BorderColorTop = Source.BorderColorTop;
    BorderColorBottom = Source.BorderColorBottom;
    BorderColor = Source.BorderColor;
    EdgeColor = Source.EdgeColor;
    ColorSelected = Source.ColorSelected;
    ColorSelectedTo = Source.ColorSelectedTo;
    ColorMirrorSelected = Source.ColorMirrorSelected;
    ColorMirrorSelectedTo = Source.ColorMirrorSelectedTo;
    font_.Assign(&Source.font_);
    SetColorStyle(Source.colorStyle_);
    ColorSelectedText = Source.ColorSelectedText;
    ColorHotText = Source.ColorHotText;
    BorderColorHot = Source.BorderColorHot;
    BorderColorSelected = Source.BorderColorSelected;
}

void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TExtStyle Style) {
    using namespace grid;
    if (!Appearance || Style == tsCustom) return;
    TItemAppearance& a = *Appearance;
    a.BorderColorHot = none;
    a.BorderColorSelected = none;
    a.ColorSelectedText = 0;
    a.ColorHotText = 0;
    auto set = [&a](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                    TColor mSelTo, TColor border, TColor top, TColor bottom, TColor edge) {
        a.ColorHot = hot;
        a.ColorHotTo = hotTo;
        a.ColorMirrorHot = mHot;
        a.ColorMirrorHotTo = mHotTo;
        a.ColorSelected = sel;
        a.ColorSelectedTo = selTo;
        a.ColorMirrorSelected = mSel;
        a.ColorMirrorSelectedTo = mSelTo;
        a.BorderColor = border;
        a.BorderColorTop = top;
        a.BorderColorBottom = bottom;
        a.EdgeColor = edge;
    };
    switch (Style) {
    case tsOffice2003Blue:
    case tsOffice2003Silver:
    case tsOffice2003Olive:
    case tsWhidbey:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, none, none, none);
        break;
    case tsOffice2007Luna:
    case tsOffice2007Obsidian:
    case tsOffice2007Silver:
        set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF,
            0xCAF8FF, 0xC3D9DF);
        break;
    case tsOffice2003Classic:
        set(0xD2BDB6, 0xD2BDB6, none, none, 0xB59285, 0xB59285, none, none, 0x808080, none, none, none);
        break;
    case tsWindowsXP:
        set(0xEFD3C6, 0xEFD3C6, none, none, highlight, none, none, none, highlight, none, none, none);
        a.ColorSelectedText = highlightText;
        break;
    case tsWindowsVista:
        set(0xFFFDF9, 0xFFFAF0, none, none, 0xFEF9F0, 0xFDF0D7, none, none, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB);
        break;
    case tsWindows7:
        set(0xFDFBFA, 0xFDF3EB, none, none, 0xFCEBDC, 0xFCDBC1, none, none, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE);
        break;
    case tsTerminal:
        set(0xC0C0C0, 0xC0C0C0, none, none, highlight, none, none, none, 0x808080, none, none, none);
        a.ColorSelectedText = highlightText;
        break;
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black:
        set(0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, none, none, none);
        a.ColorSelectedText = 0;
        break;
    default: break;
    }
}

} // namespace dropdown

// ---- the drop-down's colour styles -------------------------------------------------------

namespace dropdown {

namespace {

void Apply(const TStyleColor& c, TColor& field) {
    if (c) field = *c;
}

template <class Setter>
void Apply(const TStyleColor& c, Setter set) {
    if (c) set(*c);
}

} // namespace

void TExtCustomDropDown::SetComponentStyle(grid::TExtStyle AStyle) {
    extStyle_ = AStyle;
    const TFormStyleColors f = FormStyleColors(AStyle);
    // Stored without a change notification: an open form shows them at its next opening.
    Apply(f.FormColor, dropDownColor_);
    Apply(f.FormColorTo, dropDownColorTo_);
    Apply(f.FormBorderColor, dropDownBorderColor_);
    THeaderAppearance* h = dropDownHeader_.get();
    Apply(f.HeaderColor, [h](TColor c) { h->SetColor(c); });
    Apply(f.HeaderColorTo, [h](TColor c) { h->SetColorTo(c); });
    Apply(f.HeaderFontColor, [h](TColor c) { h->Font()->SetColor(c); });
    Apply(f.HeaderBorderColor, [h](TColor c) { h->SetBorderColor(c); });
    TFooterAppearance* ft = dropDownFooter_.get();
    Apply(f.FooterColor, [ft](TColor c) { ft->SetColor(c); });
    Apply(f.FooterColorTo, [ft](TColor c) { ft->SetColorTo(c); });
    Apply(f.FooterFontColor, [ft](TColor c) { ft->Font()->SetColor(c); });
    Apply(f.FooterBorderColor, [ft](TColor c) { ft->SetBorderColor(c); });

    const TButtonStyleColors b = ButtonStyleColors(AStyle);
    TExtButtonAppearance* a = buttonAppearance_.get();
    Apply(b.Color, [a](TColor c) { a->SetColor(c); });
    Apply(b.ColorTo, [a](TColor c) { a->SetColorTo(c); });
    Apply(b.BorderColor, [a](TColor c) { a->SetBorderColor(c); });
    Apply(b.ColorHot, [a](TColor c) { a->SetColorHot(c); });
    Apply(b.ColorHotTo, [a](TColor c) { a->SetColorHotTo(c); });
    Apply(b.BorderColorHot, [a](TColor c) { a->SetBorderColorHot(c); });
    Apply(b.ColorDown, [a](TColor c) { a->SetColorDown(c); });
    Apply(b.ColorDownTo, [a](TColor c) { a->SetColorDownTo(c); });
    Apply(b.BorderColorDown, [a](TColor c) { a->SetBorderColorDown(c); });
    Apply(b.ColorDisabled, [a](TColor c) { a->SetColorDisabled(c); });
    Apply(b.ColorDisabledTo, [a](TColor c) { a->SetColorDisabledTo(c); });
    Apply(b.ColorChecked, [a](TColor c) { a->SetColorChecked(c); });
    Apply(b.ColorCheckedTo, [a](TColor c) { a->SetColorCheckedTo(c); });
    Apply(b.BorderColorChecked, [a](TColor c) { a->SetBorderColorChecked(c); });
}

void TExtCustomDropDown::SetColorTones(const grid::TColorTones& ATones) {
    if (button_) {
        button_->ButtonColor = ATones.Background.BrushColor;
        button_->ButtonColorHot = ATones.Hover.BrushColor;
        button_->ButtonColorDown = ATones.Selected.BrushColor;
        button_->ButtonBorderColor = ATones.Background.BorderColor;
    }
    const bool changed = BorderColor() != ATones.Background.BorderColor;
    SetBorderColor(ATones.Background.BorderColor);
    if (changed && button_) button_->SpeedButton()->Invalidate();
}

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
    selectionColorStyle_ = Value;
    const TSelectionStyleColors s = SelectionStyleColors(Value);
    Apply(s.Color, selectionColor_);
    Apply(s.ColorTo, selectionColorTo_);
}

void TExtCustomDropDown::DrawSelectionBackground(plat::TCanvas* Canvas, TRect Rect, int Sides, TColor Background) {
    dropdown::DrawSelectionBackground(Canvas, Rect, Sides, Background, selectionColorStyle_, selectionColor_,
                                      selectionColorTo_);
}

} // namespace dropdown
