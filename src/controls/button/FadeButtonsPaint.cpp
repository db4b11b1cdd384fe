// PaintFadeButton: one whole button face, every style and state, on any canvas.
#include <algorithm>
#include <cstring>

#include "FadeButtonGlyphs.h"
#include "FadeButtons.h"
#include "plat/Graphics.h"

namespace controls {

namespace {

using plat::TCanvas;
using S = TFadeButtonStyle;

void Line(TCanvas& c, TColor color, std::initializer_list<plat::TPoint> points)
{
    c.Pen()->SetColor(color);
    auto it = points.begin();
    c.MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it)
        c.LineTo(it->X, it->Y);
}

// Continues the current line from the pen position.
void LineOn(TCanvas& c, TColor color, std::initializer_list<plat::TPoint> points)
{
    c.Pen()->SetColor(color);
    for (const plat::TPoint& p : points)
        c.LineTo(p.X, p.Y);
}

void FillVerticalGradient(TCanvas& c, int left, int right, int top, int bottom, TColor a, TColor b)
{
    c.Brush()->SetStyle(plat::bsSolid);
    for (const TGradientBand& band : VerticalGradientBands(top, bottom, a, b)) {
        if (band.Bottom <= band.Top)
            continue;
        c.Brush()->SetColor(band.Color);
        c.FillRect({left, band.Top, right, band.Bottom});
    }
}

// Draws the gw × gh image `index` of the strip transparently, keyed on its bottom-left pixel.
void DrawGlyphImage(TCanvas& c, const plat::TBitmap& strip, int index, int gw, int gh, int x, int y)
{
    plat::TBitmap image(gw, gh);
    const int left = index * gw;
    const int copyW = std::min(gw, strip.Width() - left);
    for (int row = 0; row < gh && row < strip.Height(); ++row) {
        const auto* from = static_cast<const unsigned char*>(strip.ScanLine(row)) + 4 * left;
        std::memcpy(image.ScanLine(row), from, 4 * static_cast<size_t>(std::max(0, copyW)));
    }
    image.SetTransparent(true);
    c.Draw(x, y, &image);
}

const plat::TBitmap& PopupArrow()
{
    // Built once and kept for the life of the program.
    static const plat::TBitmap* arrow = [] {
        auto* b = new plat::TBitmap;
        LoadFadeGlyph(*b, "LBARROW");
        b->SetTransparent(true);
        return b;
    }();
    return *arrow;
}

unsigned AlignmentFormat(TFadeAlignment a)
{
    switch (a) {
    case TFadeAlignment::taLeftJustify: return plat::DT_LEFT;
    case TFadeAlignment::taRightJustify: return plat::DT_RIGHT;
    case TFadeAlignment::taCenter: return plat::DT_CENTER;
    }
    return plat::DT_CENTER;
}

} // namespace

void PaintFadeButton(TCanvas& c, const TFadePaintInput& in)
{
    const int W = in.Width;
    const int H = in.Height;
    const bool enabled = in.Enabled;
    const bool down = in.Down && enabled;
    const int s = FadeDownShift(in.Style, down);
    const TColor light = plat::ColorToRGB(in.LightColor);
    const TColor shadow = plat::ColorToRGB(in.ShadowColor);

    TColor face = plat::ColorToRGB(in.Color);
    if (enabled && in.HotTrackColor != plat::clNone)
        face = BlendHotColor(face, plat::ColorToRGB(in.HotTrackColor),
                             std::clamp(in.HotTrackStep, 0, FadeHotSteps));
    if (down && in.ColorWhenDown != plat::clNone)
        face = plat::ColorToRGB(in.ColorWhenDown);

    // Background.
    c.Pen()->SetStyle(plat::psSolid);
    c.Brush()->SetStyle(plat::bsSolid);
    if (in.Style == S::bsShape) {
        c.Brush()->SetColor(FadeTransparentKey);
        c.FillRect({-1, -1, W + 1, H + 1});
    } else if (!in.NoFill) {
        switch (in.Style) {
        case S::bsNormal:
        case S::bsEncarta:
        case S::bsOld:
            c.Brush()->SetColor(face);
            c.FillRect({0, 0, W, H});
            break;
        case S::bsModern: {
            const int middle = H / 4 + s;
            FillVerticalGradient(c, 2, W - 2, 2, middle, light, face);
            FillVerticalGradient(c, 2, W - 2, middle, H - 1, face, light);
            break;
        }
        case S::bsQuicken:
        case S::bsShape:
            break;
        }
    }

    // Edges.
    const bool edges = !in.Flat || (enabled && (in.Hot || down));
    switch (in.Style) {
    case S::bsNormal:
    case S::bsEncarta:
        if (edges) {
            Line(c, down ? shadow : light, {{0, H - 1}, {0, 0}, {W - 1, 0}});
            LineOn(c, down ? light : shadow, {{W - 1, H - 1}, {0, H - 1}});
        }
        break;
    case S::bsOld:
        if (edges) {
            const TColor dark = plat::ColorToRGB(plat::cl3DDkShadow);
            if (down)
                Line(c, shadow, {{1, H - 3}, {1, 1}, {W - 2, 1}});
            else
                Line(c, shadow, {{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
            Line(c, down ? dark : light, {{0, H - 1}, {0, 0}, {W - 1, 0}});
            LineOn(c, down ? light : dark, {{W - 1, H - 1}, {-1, H - 1}});
        }
        break;
    case S::bsModern:
        c.Brush()->SetStyle(plat::bsClear);
        c.Pen()->SetColor(down ? shadow : face);
        c.Rectangle(1, 1, W - 1, H - 1);
        c.Pen()->SetColor(shadow);
        c.RoundRect(0, 0, W, H, 6, 6);
        break;
    case S::bsQuicken:
        c.Brush()->SetStyle(plat::bsSolid);
        c.Brush()->SetColor(face);
        c.Pen()->SetStyle(plat::psClear);
        c.RoundRect(0, 1, W, H, 4, 4);
        c.Pen()->SetStyle(plat::psSolid);
        Line(c, shadow, {{4, 0}, {W - 5, 0}});
        Line(c, shadow, {{4, H - 1}, {W - 5, H - 1}});
        break;
    case S::bsShape:
        break;
    }

    // Caption font.
    plat::TFont font;
    if (in.Font)
        font.Assign(*in.Font);
    if (in.Style == S::bsEncarta && down)
        font.SetStyle(font.Style() + plat::fsBold);
    if (!enabled && in.Style != S::bsShape)
        font.SetColor(FadeDisabledTextColor);
    c.SetFont(&font);

    // Glyph image.
    const plat::TBitmap* glyph = in.Glyph && !in.Glyph->Empty() ? in.Glyph : nullptr;
    const int gh = glyph ? glyph->Height() : 0;
    const int gw = glyph && in.NumGlyphs > 0 ? glyph->Width() / in.NumGlyphs : 0;
    const int index = FadeGlyphIndex(in.NumGlyphs, enabled, in.Hot, down);

    // Caption fitting.
    const unsigned format = plat::DT_WORDBREAK | AlignmentFormat(in.Alignment);
    const int avail = FadeCaptionAvail(in.Style, in.Layout, W, gw);
    String caption = in.WordWrap ? in.Caption
                                 : ShortenCaption(in.Caption, avail, [&c](StringView t) { return c.TextWidth(t); });
    plat::TRect measured{0, 0, avail, 0};
    c.DrawText(caption, measured, format | plat::DT_CALCRECT);

    TFadeContentInput place;
    place.Width = W;
    place.Height = H;
    place.Style = in.Style;
    place.Layout = in.Layout;
    place.Alignment = in.Alignment;
    place.WordWrap = in.WordWrap;
    place.Down = down;
    place.GlyphWidth = gw;
    place.GlyphHeight = gh;
    place.TextWidth = measured.Width();
    place.TextHeight = measured.Height();
    place.CaptionEmpty = caption.empty();
    const TFadeContentPlace at = PlaceFadeContent(place);

    c.Brush()->SetStyle(plat::bsClear);
    plat::TRect textRect = at.Text;
    if (!caption.empty())
        c.DrawText(caption, textRect,
                   in.Style == S::bsShape ? (plat::DT_CENTER | plat::DT_WORDBREAK) : format);
    if (glyph && gw > 0 && gh > 0)
        DrawGlyphImage(c, *glyph, index, gw, gh, at.Glyph.X, at.Glyph.Y);

    if (in.HasPopup)
        c.Draw(W - 11, H / 2 - 1, &PopupArrow());
}

} // namespace controls
