#include "DropDownDraw.h"

#include <algorithm>
#include <cmath>

#include "EsgHTMLE.h"
#include "plat/SysUtils.h"

namespace dropdown {

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

int Channel(TColor c, int i) { return static_cast<int>((c >> (8 * i)) & 0xFF); }

TColor FromChannels(const int (&ch)[3]) {
    return plat::RGB(static_cast<std::uint8_t>(ch[0]), static_cast<std::uint8_t>(ch[1]),
                     static_cast<std::uint8_t>(ch[2]));
}


} // namespace

void DrawGradientSteps(plat::TCanvas* Canvas, plat::TColor FromColor, plat::TColor ToColor, bool Horizontal,
                       plat::TRect R, int Steps) {
    if (!Canvas) return;
    if (Steps <= 0) Steps = 1;
    const plat::TColor from = plat::ColorToRGB(FromColor), to = plat::ColorToRGB(ToColor);
    const int r0 = plat::GetRValue(from), g0 = plat::GetGValue(from), b0 = plat::GetBValue(from);
    const double dr = (plat::GetRValue(to) - r0) / static_cast<double>(Steps);
    const double dg = (plat::GetGValue(to) - g0) / static_cast<double>(Steps);
    const double db = (plat::GetBValue(to) - b0) / static_cast<double>(Steps);
    double w;
    if (Horizontal) {
        R.Right -= 1;
        w = (R.Right - R.Left) / static_cast<double>(Steps);
    } else {
        R.Bottom -= 1;
        w = (R.Bottom - R.Top) / static_cast<double>(Steps);
    }
    for (int i = 0; i < Steps; ++i) {
        const plat::TColor c = plat::RGB(r0 + RoundEven(i * dr), g0 + RoundEven(i * dg), b0 + RoundEven(i * db));
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        if (Horizontal) {
            const int x = R.Left + RoundEven(i * w);
            Canvas->Rectangle(x, R.Top, x + RoundEven(w) + 1, R.Bottom);
        } else {
            const int y = R.Top + RoundEven(i * w);
            Canvas->Rectangle(R.Left, y, R.Right, y + RoundEven(w) + 1);
        }
    }
}

TColor MixColors(TColor First, TColor Second, int Percent) {
    if (Percent >= 100) return First;
    if (Percent <= 0) return Second;
    const TColor a = plat::ColorToRGB(First), b = plat::ColorToRGB(Second);
    const double p = Percent / 100.0;
    int ch[3];
    for (int i = 0; i < 3; ++i) ch[i] = RoundEven(p * Channel(a, i) + (1.0 - p) * Channel(b, i));
    return FromChannels(ch);
}

TColor AdjustColorPercent(TColor Color, int RedPercent, int GreenPercent, int BluePercent) {
    const TColor c = plat::ColorToRGB(Color);
    const int d[3] = {RedPercent, GreenPercent, BluePercent};
    int ch[3];
    for (int i = 0; i < 3; ++i) {
        const int v = Channel(c, i);
        // Below -100 the factor would turn negative: the channel stops at 0. A zero channel
        // takes a positive percentage as its value, which cannot exceed a channel's range.
        if (v != 0)
            ch[i] = std::clamp(RoundEven(std::min(100, 100 + d[i]) / 100.0 * v), 0, 255);
        else
            ch[i] = std::clamp(d[i], 0, 255);
    }
    return FromChannels(ch);
}

void DrawButtonBackground(plat::TCanvas* Canvas, plat::TRect R, TColor Color, TGradientDirection Direction,
                          int BorderWidth, TColor BorderColor, TColor ColorTo) {
    if (!Canvas) return;
    if (ColorTo != plat::clNone) {
        DrawGradientSteps(Canvas, Color, ColorTo, Direction == gdHorizontal, R, 80);
    } else if (Color != plat::clNone) {
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(R);
    }
    if (BorderColor != plat::clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(plat::bsClear);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(R);
    }
}

void DrawButtonContent(plat::TCanvas* Canvas, plat::TRect R, StringView Caption, int ImageIndex,
                       const plat::TCustomImageList* Images) {
    if (!Canvas) return;
    bool imageDrawn = false;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex, true);
        R.Left = R.Left + Images->Width() + 8;
        imageDrawn = true;
    }
    if (!Caption.empty()) {
        unsigned flags = plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_END_ELLIPSIS;
        flags |= imageDrawn ? plat::DT_LEFT : plat::DT_CENTER;
        Canvas->DrawText(Caption, R, flags);
    }
}

void DrawGlyphTransparent(plat::TCanvas* Canvas, plat::TBitmap* Glyph, TColor Background, plat::TRect D) {
    if (!Canvas || !Glyph || Glyph->Empty()) return;
    const int w = Glyph->Width(), h = Glyph->Height();
    plat::TBitmap temp(w, h);
    temp.Canvas()->Brush()->SetColor(Background);
    temp.Canvas()->FillRect({0, 0, w, h});
    const TColor transparent = Glyph->Canvas()->Pixels(0, 0);
    const int cw = std::min(w, D.Width()), chh = std::min(h, D.Height());
    for (int y = 0; y < chh; ++y)
        for (int x = 0; x < cw; ++x) {
            const TColor p = Glyph->Canvas()->Pixels(x, y);
            if (p != transparent) temp.Canvas()->SetPixels(x, y, p);
        }
    Canvas->CopyRect(D, temp.Canvas(), {0, 0, D.Width(), D.Height()});
}

plat::TSize MeasureText(plat::TCanvas* Canvas, StringView Text) {
    if (!Canvas || Text.empty()) return {0, 0};
    plat::TRect r{0, 0, 1000, 500};
    Canvas->DrawText(Text, r, plat::DT_CALCRECT | plat::DT_SINGLELINE);
    return {r.Right, r.Bottom};
}

String TruncateTextToWidth(plat::TCanvas* Canvas, StringView Text, int MaxWidth, bool Ellipsis) {
    String result(Text);
    if (MeasureText(Canvas, Text).cx <= MaxWidth) return result;
    for (std::size_t k = 1; k <= Text.size(); ++k) {
        String candidate(Text.substr(0, Text.size() - k));
        if (Ellipsis) candidate += u"...";
        if (MeasureText(Canvas, candidate).cx < MaxWidth) return candidate;
    }
    return result;
}

plat::TSize DrawItemMarkup(plat::TCanvas* Canvas, StringView Text, plat::TRect R, bool Draw,
                           plat::TCustomImageList* Images) {
    if (!Canvas || Text.empty()) return {0, 0};
    grid::TMarkupDrawInput in;
    in.Canvas = Canvas;
    in.Text = Text;
    in.Rect = R;
    in.Images = Images;
    in.MeasureOnly = !Draw;
    grid::TMarkupDrawResult out;
    grid::DrawMarkupText(in, out);
    return {out.XSize, out.YSize};
}

String TextForCompare(StringView Text, bool KeepCase) {
    if (KeepCase) return String(Text);
    return plat::AnsiUpperCase(Text);
}

} // namespace dropdown
