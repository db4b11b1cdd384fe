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

} // namespace dropdown
