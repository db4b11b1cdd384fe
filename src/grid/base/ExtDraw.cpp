#include "ExtDraw.h"

#include "plat/Graphics.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

namespace {

void Line(TCanvas* c, TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

} // namespace

void DrawGradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int Steps) {
    for (const TGradientBand& b : GradientBands(FromColor, ToColor, Horizontal, R, Steps)) {
        Canvas->Pen()->SetColor(b.Color);
        Canvas->Brush()->SetColor(b.Color);
        Canvas->Rectangle(b.Rect);
    }
}

void DrawCellBackground(TCanvas* Canvas, TRect R, TColor Color, bool Fill, bool SideLinesOnly, TColor BorderColor,
                        bool Vertical, TColor MirrorColorTo, TColor MirrorColor, TColor ColorTo) {
    if (Fill && Color != plat::clNone) {
        if (MirrorColor == plat::clNone) {
            if (ColorTo == plat::clNone) {
                Canvas->Pen()->SetStyle(plat::psSolid);
                Canvas->Pen()->SetWidth(1);
                Canvas->Pen()->SetColor(Color);
                Canvas->Brush()->SetStyle(plat::bsSolid);
                Canvas->Brush()->SetColor(Color);
                Canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom + 1);
            } else {
                DrawGradientRect(Canvas, Color, ColorTo, !Vertical, R, 128);
            }
        } else {
            TRect first = R, second = R;
            if (Vertical) {
                const int mid = R.Top + R.Height() / 2;
                first.Bottom = mid;
                second.Top = mid;
            } else {
                const int mid = R.Left + R.Width() / 2;
                first.Right = mid;
                second.Left = mid;
            }
            DrawGradientRect(Canvas, Color, ColorTo, !Vertical, first, 128);
            DrawGradientRect(Canvas, MirrorColor, MirrorColorTo, !Vertical, second, 128);
        }
    }
    if (BorderColor != plat::clNone) {
        if (SideLinesOnly) {
            Line(Canvas, BorderColor, R.Left, R.Top, R.Left, R.Bottom);
            Line(Canvas, BorderColor, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        } else {
            Canvas->Brush()->SetColor(BorderColor);
            Canvas->FrameRect(R);
        }
    }
}

void DrawBevelFrame(TCanvas* Canvas, TColor Color, TColor ColorTo, int Kind, TRect R, TColor CornerColor,
                    TColor CornerInnerColor, TColor BorderColor, TColor LowerLineColor, TColor UpperLineColor,
                    TColor MirrorColorTo, TColor MirrorColor) {
    const int L = R.Left, T = R.Top, Rr = R.Right - 1, B = R.Bottom - 2;
    const int mid = T + (B - T) / 2;
    const bool leftClosed = Kind == 0 || Kind == 1;
    const bool rightClosed = Kind == 0 || Kind == 2;
    // Inner highlight lines.
    Line(Canvas, UpperLineColor, L, T + 1, Rr, T + 1);
    if (leftClosed) Line(Canvas, UpperLineColor, L + 1, T + 1, L + 1, mid);
    if (rightClosed) Line(Canvas, UpperLineColor, Rr - 2, T + 1, Rr - 2, mid);
    Line(Canvas, LowerLineColor, L, B - 1, Rr, B - 1);
    if (leftClosed) Line(Canvas, LowerLineColor, L + 1, mid, L + 1, B - 1);
    if (rightClosed) Line(Canvas, LowerLineColor, Rr - 2, mid, Rr - 2, B - 1);
    int leftInset = 2, rightInset = 2;
    if (Kind == 1 || Kind == 3) rightInset = 0;
    if (Kind == 2 || Kind == 3) leftInset = 0;
    // Border.
    Line(Canvas, BorderColor, L + leftInset, T, Rr - rightInset, T);
    Line(Canvas, BorderColor, L + leftInset, B, Rr - rightInset, B);
    if (rightClosed) Line(Canvas, BorderColor, Rr - 1, T + 2, Rr - 1, B - 1);
    if (leftClosed) Line(Canvas, BorderColor, L, T + 2, L, B - 1);
    // Rounded corners.
    auto corners = [&](int inner, int outer) {
        for (auto [x, y] : {std::pair{inner, T}, {inner, T + 1}, {outer, T + 1}, {inner, B}, {inner, B - 1}, {outer, B - 1}})
            Canvas->SetPixels(x, y, CornerInnerColor);
        Canvas->SetPixels(outer, T, CornerColor);
        Canvas->SetPixels(outer, B, CornerColor);
    };
    if (leftClosed) corners(L + 1, L);
    if (rightClosed) corners(Rr - 2, Rr - 1);
    // Face.
    const TRect face{L + leftInset, T + 2, Rr - rightInset, B - 1};
    if (ColorTo == plat::clNone) {
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(face);
    } else if (MirrorColor == plat::clNone) {
        DrawGradientRect(Canvas, Color, ColorTo, false, face, 16);
    } else {
        DrawGradientRect(Canvas, Color, ColorTo, false, {face.Left, face.Top, face.Right, mid}, 16);
        DrawGradientRect(Canvas, MirrorColor, MirrorColorTo, false, {face.Left, mid, face.Right, face.Bottom}, 16);
    }
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color) {
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

void DrawDownTriangle(TCanvas* Canvas, int X, int Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Polygon({{X - 3, Y}, {X + 3, Y}, {X, Y + 3}});
}

} // namespace grid
