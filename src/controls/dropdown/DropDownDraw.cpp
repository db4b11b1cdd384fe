#include "DropDownDraw.h"

#include <cmath>

namespace dropdown {

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

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

plat::TColor MixColors(plat::TColor First, plat::TColor Second, int P)
{
    if (P >= 100) return First;
    if (P <= 0) return Second;
    const plat::TColor a = plat::ColorToRGB(First), b = plat::ColorToRGB(Second);
    const double f = P / 100.0;
    auto mix = [f](int x, int y) { return RoundEven(f * x + (1 - f) * y); };
    return plat::RGB(mix(plat::GetRValue(a), plat::GetRValue(b)), mix(plat::GetGValue(a), plat::GetGValue(b)),
                     mix(plat::GetBValue(a), plat::GetBValue(b)));
}

void DrawButtonBackground(plat::TCanvas* Canvas, plat::TRect R, plat::TColor Color, TGradientDirection Direction,
                          int BorderWidth, plat::TColor BorderColor, plat::TColor ColorTo)
{
    if (!Canvas) return;
    if (ColorTo != plat::clNone) {
        DrawGradientSteps(Canvas, Color, ColorTo, Direction == gdHorizontal, R, 80);
    } else if (Color != plat::clNone) {
        Canvas->Brush()->SetStyle(plat::bsSolid);
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

void DrawButtonContent(plat::TCanvas* Canvas, plat::TRect R, plat::StringView Caption, int ImageIndex,
                       const plat::TCustomImageList* Images)
{
    if (!Canvas) return;
    bool image = false;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex, true);
        R.Left = R.Left + Images->Width() + 8;
        image = true;
    }
    if (!Caption.empty()) {
        unsigned flags = plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_END_ELLIPSIS;
        if (!image) flags |= plat::DT_CENTER;
        Canvas->DrawText(Caption, R, flags);
    }
}

plat::TSize MeasureText(plat::TCanvas* Canvas, plat::StringView Text)
{
    if (!Canvas || Text.empty()) return {};
    plat::TRect r = plat::Rect(0, 0, 1000, 500);
    Canvas->DrawText(Text, r, plat::DT_CALCRECT | plat::DT_SINGLELINE);
    return {r.Right, r.Bottom};
}

} // namespace dropdown
