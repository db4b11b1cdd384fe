#include "FadeButtons.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

constexpr TColor BtnFace = plat::clBtnFace;

int Red(TColor c) { return c & 0xFF; }
int Green(TColor c) { return (c >> 8) & 0xFF; }
int Blue(TColor c) { return (c >> 16) & 0xFF; }
TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

} // namespace

TColorStyleValues GetColorStyleValues(TFadeColorStyle style)
{
    using S = TFadeColorStyle;
    constexpr TColor none = plat::clNone;
    TColorStyleValues v;
    auto set = [&v](TColor face, TColor light, TColor shadow, TColor down, TColor hot) {
        v.Face = face;
        v.Light = light;
        v.Shadow = shadow;
        v.WhenDown = down;
        v.HotTrack = hot;
    };
    switch (style) {
    case S::lcsCustom: break;
    case S::lcsGold: set(0x00C0C0, 0x00FFFF, 0x008080, none, 0x00DFDF); v.Modern = true; break;
    case S::lcsChrome: set(0xC0C0C0, 0xFFFFFF, 0x808080, none, none); v.Modern = true; break;
    case S::lcsBlue: set(0xFF8000, 0xFFFF00, 0xFF0000, none, none); v.Modern = true; break;
    case S::lcsRed: set(0x0000FF, 0xC0C0FF, 0x0000C0, none, none); v.Modern = true; break;
    case S::lcsUltraFlat1: set(BtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6); v.Flat = true; break;
    case S::lcsUltraFlat2: set(BtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4); v.Flat = true; break;
    case S::lcsUltraFlatXP: set(0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6); v.Flat = true; break;
    case S::lcsAqua: set(0xECCE94, 0xFCE6D4, 0x000000, none, none); v.Modern = true; break;
    case S::lcsDefault: set(BtnFace, 0xFFFFFF, 0x808080, none, none); break;
    case S::lcsQuicken:
        set(0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C);
        v.Font = 0xFFFFFF;
        v.Quicken = true;
        break;
    }
    return v;
}

TKindPreset KindPreset(TFadeButtonKind kind)
{
    using K = TFadeButtonKind;
    switch (kind) {
    case K::bkCustom: return {};
    case K::bkOK: return {1, "LBOK", u"OK"};
    case K::bkCancel: return {2, "LBCANCEL", u"Abbrechen"};
    case K::bkHelp: return {0, "LBHELP", u"Hilfe"};
    case K::bkYes: return {6, "LBYES", u"Ja"};
    case K::bkNo: return {7, "LBNO", u"Nein"};
    case K::bkClose: return {0, "LBCLOSE", u"Schlie\u00DFen"};
    case K::bkAbort: return {3, "LBABORT", u"Abbrechen"};
    case K::bkRetry: return {4, "LBRETRY", u"Wiederholen"};
    case K::bkIgnore: return {5, "LBIGNORE", u"Ignorieren"};
    case K::bkAll: return {12, "LBALL", u"Alle"};
    }
    return {};
}

TColor BlendHotColor(TColor faceRgb, TColor hotRgb, int step)
{
    // Floating point as the face has always been computed: multiples of 1/8 are exact, so
    // truncation (not rounding) is what decides the odd half-values.
    const double k = step / 8.0;
    auto mix = [k](int c, int h) { return static_cast<int>(std::trunc(c * (1.0 - k) + h * k)); };
    return Rgb(mix(Red(faceRgb), Red(hotRgb)), mix(Green(faceRgb), Green(hotRgb)),
               mix(Blue(faceRgb), Blue(hotRgb)));
}

std::array<TGradientBand, GradientBandCount> VerticalGradientBands(int top, int bottom, TColor a, TColor b)
{
    std::array<TGradientBand, GradientBandCount> bands{};
    const int span = bottom - top;
    constexpr int last = GradientBandCount - 1;
    auto channel = [](int from, int to, int i) {
        return static_cast<int>(std::trunc(from + (i * (to - from)) / static_cast<double>(last)));
    };
    for (int i = 0; i < GradientBandCount; ++i) {
        const int rowTop = top + (i * span) / last;
        bands[i].Top = rowTop;
        bands[i].Bottom = std::min(bottom, rowTop + span / last + 1);
        bands[i].Color = Rgb(channel(Red(a), Red(b), i), channel(Green(a), Green(b), i),
                             channel(Blue(a), Blue(b), i));
    }
    return bands;
}

int FadeGlyphIndex(int numGlyphs, bool enabled, bool hot, bool down)
{
    if (!enabled)
        return numGlyphs > 1 ? 1 : 0;
    int index = 0;
    if (hot && numGlyphs > 3)
        index = 3;
    if (down && numGlyphs > 2)
        index = 2;
    return index;
}

int FadeDownShift(TFadeButtonStyle style, bool down)
{
    return down && style != TFadeButtonStyle::bsEncarta ? 1 : 0;
}

int FadeCaptionAvail(TFadeButtonStyle style, TFadeButtonLayout layout, int width, int glyphWidth)
{
    const bool sideBySide = layout == TFadeButtonLayout::blGlyphLeft || layout == TFadeButtonLayout::blGlyphRight;
    if (style == TFadeButtonStyle::bsShape || !sideBySide)
        return std::max(0, width - 8);
    return std::max(0, width - 8 - (glyphWidth > 0 ? glyphWidth + 4 : 0));
}

String ShortenCaption(String caption, int avail, const std::function<int(StringView)>& textWidth)
{
    while (!caption.empty() && textWidth(caption) > avail) {
        caption.pop_back();
        if (!caption.empty() && caption.back() >= 0xD800 && caption.back() <= 0xDBFF)
            caption.pop_back();
    }
    return caption;
}

TFadeContentPlace PlaceFadeContent(const TFadeContentInput& in)
{
    using L = TFadeButtonLayout;
    using A = TFadeAlignment;
    const int W = in.Width;
    const int H = in.Height;
    const int gw = in.GlyphWidth;
    const int gh = in.GlyphHeight;
    const int s = FadeDownShift(in.Style, in.Down);
    const int avail = FadeCaptionAvail(in.Style, in.Layout, W, gw);
    TFadeContentPlace p;

    if (in.Style == TFadeButtonStyle::bsShape) {
        p.Glyph = {(W - gw) / 2, (H - gh) / 2};
        p.Text = {s, (H - in.TextHeight) / 2 + s, W, H};
        return p;
    }

    int tx = s + 4;
    int ty = 0;
    int gx = 0;
    int gy = 0;
    if (in.Layout == L::blGlyphLeft || in.Layout == L::blGlyphRight) {
        ty = (H - in.TextHeight) / 2 + s;
        gy = (H - gh) / 2 + s;
        // The caption block counts the 4-pixel gap that separates it from the glyph.
        const int tb = in.CaptionEmpty ? 0 : in.TextWidth + 4;
        if (in.Layout == L::blGlyphLeft) {
            if (gw > 0)
                tx += gw + 4;
            gx = s + 4;
            if (!in.WordWrap) {
                if (in.Alignment == A::taRightJustify)
                    gx = W - 4 - gw - tb + s;
                else if (in.Alignment == A::taCenter)
                    gx = (W - gw) / 2 + s - tb / 2;
            }
        } else {
            gx = tx + tb;
            if (!in.WordWrap) {
                if (in.Alignment == A::taRightJustify)
                    gx = W - 4 - gw + s;
                else if (in.Alignment == A::taCenter)
                    gx = (W - gw) / 2 + s + tb / 2;
            }
        }
    } else {
        const int bh = in.TextHeight + (gh > 0 ? gh + 4 : 0);
        if (in.Layout == L::blGlyphTop) {
            gy = (H - bh) / 2 + s;
            ty = gy + gh;
        } else {
            ty = (H - bh) / 2 + s;
            gy = ty + in.TextHeight;
        }
        switch (in.Alignment) {
        case A::taLeftJustify: gx = s + 4; break;
        case A::taRightJustify: gx = W - gw - 4 + s; break;
        case A::taCenter: gx = (W - gw) / 2 + s; break;
        }
    }
    p.Glyph = {gx, gy};
    p.Text = {tx, ty, tx + avail, ty + in.TextHeight};
    return p;
}

} // namespace controls
