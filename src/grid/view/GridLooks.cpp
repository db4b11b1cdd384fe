// The grid's looks and the operations that set many appearance settings at once: the Look
// presets, the colour styles, the XP colour schemes, the flat colour tones, and the shared
// highlight colours of markup text.
#include <algorithm>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "plat/Resources.h"

namespace grid {

namespace {

constexpr TColor kNone = plat::clNone;

// Each RGB component scaled by Factor percent.
TColor Scaled(TColor c, int Factor) {
    const TColor rgb = plat::ColorToRGB(c);
    auto f = [Factor](int v) { return std::min(255, v * Factor / 100); };
    return plat::RGB(f(plat::GetRValue(rgb)), f(plat::GetGValue(rgb)), f(plat::GetBValue(rgb)));
}

struct TFixedColours {
    TColor From, To, MirrorFrom, MirrorTo;
};

} // namespace

String LookToText(TGridLook Look, const String& Current) {
    static const char16_t* const kNames[] = {u"glStandard", u"glSoft", u"glClassic",   u"glZOD",       u"glXP",
                                             u"glListView", u"glVista", u"glWin7",    u"glOffice2007"};
    return Look == glCustom ? Current : String(kNames[Look]);
}

String LookToDisplayName(TGridLook Look) {
    static const char16_t* const kNames[] = {u"Standard", u"Soft",          u"Classic",   u"ZOD",       u"Windows XP",
                                             u"ListView", u"Windows Vista", u"Windows 7", u"Office2007"};
    return Look == glCustom ? String() : String(kNames[Look]);
}

void TExtStringGrid::SetLook(TGridLook Value) {
    if (FLook == Value) return;
    FLook = Value;
    TControlLook* cl = FControlLook.get();
    const bool loading = HasState(plat::csLoading);
    if (Value != glCustom) {
        cl->SetFixedGradientMirrorFrom(kNone);
        cl->SetFixedGradientMirrorTo(kNone);
        cl->SetFixedGradientFrom(kNone);
        cl->SetFixedGradientTo(kNone);
        SetZODGradientFrom(kNone);
        SetZODGradientTo(kNone);
        SetZODGradientMirrorFrom(kNone);
        SetZODGradientMirrorTo(kNone);
        SortSettings()->SetHeaderColor(kNone);
    }
    switch (Value) {
    case glVista:
        SetStyle(gsWindowsVista);
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(gsWindows7);
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(gsOffice2007Luna);
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom: break;
    default: {
        SetSelectionStyle(ssDefault);
        if (loading) break;
        const bool plain = Value == glStandard || Value == glSoft || Value == glClassic;
        if (plain) {
            SetFixedColor(plat::clBtnFace);
            cl->SetFixedGradientFrom(plat::clBtnFace);
            cl->SetFixedGradientTo(kNone);
        } else {
            cl->SetFixedGradientFrom(plat::clWhite);
            cl->SetFixedGradientTo(plat::clBtnFace);
        }
        SetGridFixedLineColor(0x808080);
        SetZODGradientMirrorFrom(kNone);
        SetZODGradientMirrorTo(kNone);
        SetGridLineColor(0xC0C0C0);
        if (plain || Value == glListView) {
            SetActiveCellColor(0x808080);
            SetActiveCellColorTo(kNone);
            SetSelectionColor(plat::clHighlight);
            SetSelectionTextColor(plat::clHighlightText);
            FSearchFooter->SetColor(plat::clBtnFace);
            FSearchFooter->SetColorTo(plat::clBtnFace);
        } else {
            SetActiveCellColor(0xEACAB6);
            SetActiveCellColorTo(kNone);
            SetSelectionColor(0xEACAB6);
            SetSelectionColorTo(kNone);
            SetSelectionTextColor(plat::clBlack);
            FSearchFooter->SetColor(ZODGradientFrom);
            FSearchFooter->SetColorTo(ZODGradientTo);
            cl->SetFixedGradientFrom(plat::clWhite);
            cl->SetFixedGradientTo(Value == glXP ? plat::clBtnFace : 0xC0C0C0);
            cl->SetFixedGradientHoverFrom(0xCFD0D1);
            cl->SetFixedGradientHoverTo(0xBEC6C8);
            cl->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
            cl->SetFixedGradientHoverMirrorTo(0xABBCBF);
            cl->SetFixedGradientDownFrom(0x868788);
            cl->SetFixedGradientDownTo(0x737C7E);
            cl->SetFixedGradientDownMirrorFrom(0x737C7E);
            cl->SetFixedGradientDownMirrorTo(0x627376);
        }
        break;
    }
    }
    FScrollType = ssNormal;
    SetBorderStyle(plat::bsSingle);
    SetBorderColor(0xB99D7F);
    Repaint();
}

void TExtStringGrid::SetStyle(TExtGridStyle AStyle) {
    TControlLook* cl = FControlLook.get();
    TSortSettings* ss = SortSettings();
    auto fixed = [this](const TFixedColours& f) {
        SetZODGradientFrom(f.From);
        SetZODGradientTo(f.To);
        SetZODGradientMirrorFrom(f.MirrorFrom);
        SetZODGradientMirrorTo(f.MirrorTo);
    };
    auto clFromTo = [&](TColor From, TColor To) {
        cl->SetFixedGradientFrom(From);
        cl->SetFixedGradientTo(To);
    };
    auto clFromGrid = [&](bool Mirrors) {
        clFromTo(ZODGradientFrom, ZODGradientTo);
        if (Mirrors) {
            cl->SetFixedGradientMirrorFrom(ZODGradientMirrorFrom);
            cl->SetFixedGradientMirrorTo(ZODGradientMirrorTo);
        }
    };
    auto lines = [this](TColor Line, TColor FixedLine) {
        SetGridLineColor(Line);
        SetGridFixedLineColor(FixedLine);
    };
    auto active = [this](TColor From, TColor To) {
        SetActiveCellColor(From);
        SetActiveCellColorTo(To);
    };
    auto sel = [this](TColor C) {
        SetSelectionColor(C);
        SetSelectionTextColor(plat::clBlack);
    };
    auto hover = [&](TColor From, TColor To, TColor MFrom, TColor MTo) {
        cl->SetFixedGradientHoverFrom(From);
        cl->SetFixedGradientHoverTo(To);
        cl->SetFixedGradientHoverMirrorFrom(MFrom);
        cl->SetFixedGradientHoverMirrorTo(MTo);
    };
    auto down = [&](TColor From, TColor To, TColor MFrom, TColor MTo, TColor Border) {
        cl->SetFixedGradientDownFrom(From);
        cl->SetFixedGradientDownTo(To);
        cl->SetFixedGradientDownMirrorFrom(MFrom);
        cl->SetFixedGradientDownMirrorTo(MTo);
        cl->SetFixedGradientDownBorder(Border);
    };
    auto sortHeader = [ss](TColor From, TColor To, TColor MFrom, TColor MTo) {
        ss->SetHeaderColor(From);
        ss->SetHeaderColorTo(To);
        ss->SetHeaderMirrorColor(MFrom);
        ss->SetHeaderMirrorColorTo(MTo);
    };

    // Common first steps.
    SetSelectionColor(plat::clHighlight);
    SetSelectionColorTo(kNone);
    SetSelectionTextColor(plat::clHighlightText);
    SetSelectionStyle(ssDefault);
    sortHeader(kNone, kNone, kNone, kNone);
    cl->Init();

    switch (AStyle) {
    case gsOffice2003Blue:
    case gsOffice2003Silver:
    case gsOffice2003Olive: {
        static constexpr TFixedColours kFixed[] = {
            {0xFCE1CB, 0xE0A57D, kNone, kNone}, {0xECE2E1, 0xB39698, kNone, kNone}, {0xCFF0EA, 0x8CC0B1, kNone, kNone}};
        SetLook(glXP);
        active(0x94E6FB, 0x1595EE);
        fixed(kFixed[AStyle - gsOffice2003Blue]);
        clFromGrid(false);
        lines(0xC0C0C0, 0x808080);
        sel(0x94E6FB);
        SetSelectionColorTo(0x1595EE);
        break;
    }
    case gsOffice2003Classic:
        SetLook(glXP);
        active(0xD8D5D4, 0xD8D5D4);
        fixed({0xFFFFFF, 0xCCD4D8, kNone, kNone});
        clFromTo(kNone, kNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case gsWhidbey:
        active(0x94E6FB, 0x1595EE);
        fixed({0xFFFFFF, plat::clBtnFace, kNone, kNone});
        clFromTo(kNone, kNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case gsWindowsXP:
        SetLook(glXP);
        active(plat::clBtnFace, plat::clBtnFace);
        fixed({plat::clBtnFace, plat::clBtnFace, kNone, kNone});
        clFromTo(kNone, kNone);
        lines(0xC0C0C0, 0x808080);
        break;
    case gsOffice2007Luna:
        SetLook(glOffice2007);
        active(0x9DD8F9, 0x5EC1F1);
        fixed({0xFBF9F6, 0xE8DBD2, kNone, kNone});
        clFromGrid(false);
        lines(0xF1EDEB, 0xD1BBA4);
        sel(0x5EC1F1);
        hover(0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC);
        cl->SetFixedGradientHoverBorder(0xB79F87);
        down(0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D);
        if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
        break;
    case gsOffice2007Obsidian:
        SetLook(glOffice2007);
        active(0x9DD8F9, 0x5EC1F1);
        fixed({0xF7F7F7, 0xDEDEDE, kNone, kNone});
        clFromGrid(false);
        lines(0xE5D7D0, 0x808080);
        sel(0x5EC1F1);
        break;
    case gsOffice2007Silver:
        SetLook(glOffice2007);
        active(0x99CCFF, 0x699CFF);
        fixed({0xF3F3F1, 0xCAC9C8, ZODGradientMirrorFrom, ZODGradientMirrorTo});
        clFromGrid(false);
        lines(0xE5D7D0, 0x808080);
        sel(0x95C7F5);
        break;
    case gsWindowsVista:
        SetLook(glVista);
        active(0xFDF8F1, 0xFCEFD5);
        fixed({0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1});
        ZODGradientHoverFrom = ZODGradientHoverTo = 0xFFF7E3;
        ZODGradientHoverMirrorFrom = 0xFFEDBD;
        ZODGradientHoverMirrorTo = 0xFBE7B7;
        ZODGradientHoverBorder = 0xE3C993;
        clFromGrid(true);
        hover(ZODGradientHoverFrom, ZODGradientHoverTo, ZODGradientHoverMirrorFrom, ZODGradientHoverMirrorTo);
        down(0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F);
        sortHeader(0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        clFromTo(kNone, kNone);
        sel(0xEACAB6);
        SetSelectionStyle(ssVista);
        lines(0xECECF0, 0xD4D2D1);
        break;
    case gsWindows7:
        SetLook(glWin7);
        active(0xFCEBDC, 0xFCDBC1);
        fixed({0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD});
        ZODGradientHoverFrom = 0xFDF8F3;
        ZODGradientHoverTo = 0xF9F3EF;
        ZODGradientHoverMirrorFrom = ZODGradientHoverMirrorTo = kNone;
        ZODGradientHoverBorder = 0xEEE8E3;
        clFromGrid(true);
        hover(0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1);
        down(0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA);
        sortHeader(0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8);
        clFromTo(kNone, kNone);
        sel(0xEACAB6);
        SetSelectionStyle(ssWin7);
        lines(0xECECF0, 0xD4D2D1);
        break;
    case gsTerminal:
        SetLook(glStandard);
        break;
    case gsOffice2010Blue:
    case gsOffice2010Silver:
    case gsOffice2010Black: {
        static constexpr TColor kFixed[] = {0xF5E7DA, 0xE8E3DF, 0x6A6A6A};
        static constexpr TColor kSort[] = {0xD6CEC7, 0xAAAAAA, 0xBABABA};
        static constexpr TColor kFixedLine[] = {0xC7B0A0, 0xBAB5B1, 0x444444};
        const int i = AStyle - gsOffice2010Blue;
        SetLook(glOffice2007);
        active(0x5BD5FF, 0x71EFFF);
        fixed({kFixed[i], kFixed[i], kFixed[i], kFixed[i]});
        ZODGradientHoverFrom = ZODGradientHoverTo = kNone;
        ZODGradientHoverMirrorFrom = ZODGradientHoverMirrorTo = kNone;
        ZODGradientHoverBorder = kNone;
        clFromGrid(true);
        hover(0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF);
        cl->SetFixedGradientHoverBorder(0x3ABFE8);
        down(0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2);
        sortHeader(kSort[i], kSort[i], kSort[i], kSort[i]);
        clFromTo(kNone, kNone);
        sel(0xFFDBB7);
        SetSelectionStyle(ssDefault);
        lines(0xC0C0C0, kFixedLine[i]);
        break;
    }
    case gsCustom: break;
    }
    if (AStyle != gsTerminal && AStyle != gsCustom) {
        FSearchFooter->SetColor(ZODGradientFrom);
        FSearchFooter->SetColorTo(ZODGradientMirrorTo);
    }
    Invalidate();
}

void TExtStringGrid::SetComponentStyle(TExtStyle AStyle) {
    FStyle = AStyle;
    SetStyle(static_cast<TExtGridStyle>(AStyle));
    if (AStyle != tsCustom && FScrollType == ssMetro) SetScrollType(ssNormal);
}

void TExtStringGrid::SetTheme(TXPColorScheme Scheme) {
    struct Row {
        TFixedColours fixed;
        TColor footerFrom, footerTo;
    };
    static constexpr Row kRows[] = {
        {{plat::clWhite, plat::clBtnFace, kNone, kNone}, plat::clWhite, 0xFFD9B3},  // xpNone
        {{0xFCE1CB, 0xE0A57D, kNone, kNone}, 0xFCE1CB, 0xE0A57D},                    // xpBlue
        {{0xCFF0EA, 0x8CC0B1, kNone, kNone}, 0xCFF0EA, 0x8CC0B1},                    // xpGreen
        {{0xECE2E1, 0xB39698, kNone, kNone}, 0xECE2E1, 0xB39698},                    // xpGray
        {{plat::clWhite, plat::clWhite, 0xFAF8F7, 0xF4F2F1}, 0xECE2E1, 0xB39698},    // vistaAero
    };
    const Row& r = kRows[Scheme];
    ZODGradientFrom = plat::ColorToRGB(r.fixed.From);
    ZODGradientTo = plat::ColorToRGB(r.fixed.To);
    ZODGradientMirrorFrom = r.fixed.MirrorFrom;
    ZODGradientMirrorTo = r.fixed.MirrorTo;
    if (Scheme == xpNone) {
        SetActiveCellColor(plat::clWhite);
        SetActiveCellColorTo(0xFFD9B3);
        FControlLook->SetFixedGradientFrom(kNone);
        FControlLook->SetFixedGradientTo(kNone);
    } else {
        SetActiveCellColor(0x94E6FB);
        SetActiveCellColorTo(0x1595EE);
        FControlLook->SetFixedGradientFrom(r.fixed.From);
        FControlLook->SetFixedGradientTo(r.fixed.To);
    }
    FSearchFooter->SetColor(r.footerFrom);
    FSearchFooter->SetColorTo(r.footerTo);
}

void TExtStringGrid::SetColorTones(const TColorTones& ATones) {
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);
    SetFixedColor(ATones.Foreground.BrushColor);
    FixedFont()->SetColor(ATones.Foreground.TextColor);
    FixedFont()->SetName(GetDefaultUIFontName());
    SetColor(ATones.Background.BrushColor);
    Font()->SetName(GetDefaultUIFontName());
    Font()->SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(kNone);
    SetGridLineColor(0xE6E6E6);
    SetGridFixedLineColor(Scaled(ATones.Foreground.BrushColor, 80));
    SetBorderStyle(plat::bsNone);
    FControlLook->ControlStyle = csGlyph;
    plat::LoadBitmapResource(u"metrocheckon", *FControlLook->CheckedGlyph());
    plat::LoadBitmapResource(u"metrocheckoff", *FControlLook->UnCheckedGlyph());
    plat::LoadBitmapResource(u"metroradiooff", *FControlLook->RadioOffGlyph());
    plat::LoadBitmapResource(u"metroradioon", *FControlLook->RadioOnGlyph());
    FControlLook->FlatButton = true;
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    CellNode()->SetNodeType(cnFlat);
    Invalidate();
}

void TExtStringGrid::SetScrollType(TScrollType Value) {
    if (FScrollType == Value) return;
    FScrollType = Value;
    ApplyScrollType();
}

void TExtStringGrid::SetHighlightColor(TColor Value) {
    if (FHighlightColor == Value) return;
    FHighlightColor = Value;
    SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TExtStringGrid::SetHighlightTextColor(TColor Value) {
    if (FHighlightTextColor == Value) return;
    FHighlightTextColor = Value;
    SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

// ---- appearance setters ----

namespace {

// Stores Value when it differs and tells whether it did.
template <typename T>
bool Change(T& Field, T Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}

} // namespace

void TExtStringGrid::SetSelectionColor(TColor Value) {
    if (Change(FSelectionColor, Value)) Invalidate();
}

void TExtStringGrid::SetSelectionColorTo(TColor Value) {
    if (Change(FSelectionColorTo, Value)) Invalidate();
}

void TExtStringGrid::SetSelectionMirrorColor(TColor Value) {
    if (Change(FSelectionMirrorColor, Value)) Invalidate();
}

void TExtStringGrid::SetSelectionMirrorColorTo(TColor Value) {
    if (Change(FSelectionMirrorColorTo, Value)) Invalidate();
}

void TExtStringGrid::SetSelectionColorMixerFactor(int Value) {
    if (Change(FSelectionColorMixerFactor, std::clamp(Value, 0, 100))) Invalidate();
}


void TExtStringGrid::SetActiveCellShow(bool Value) {
    FActiveCellShow = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColor(TColor Value) {
    FActiveCellColor = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColorTo(TColor Value) {
    FActiveCellColorTo = Value;
    Invalidate();
}

void TExtStringGrid::SetURLColor(TColor Value) {
    if (Change(FURLColor, Value) && FURLShow) Invalidate();
}

void TExtStringGrid::SetShowDesignHelper(bool Value) {
    if (Change(FShowDesignHelper, Value)) Invalidate();
}

void TExtStringGrid::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    if (FUpdateCount == 0) Invalidate();
}

void TExtStringGrid::SetXYOffset(TPoint Value) {
    FXYOffset = Value;
    Invalidate();
}

} // namespace grid
