#include "ExtDraw.h"

#include <algorithm>
#include <cmath>

#include "plat/Graphics.h"
#include "plat/SysUtils.h"

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

void DrawCellBackground(TCanvas* Canvas, TRect R, const TCellBackground& B) {
    const TColor Color = B.Color, ColorTo = B.ColorTo, MirrorColor = B.MirrorColor, MirrorColorTo = B.MirrorColorTo;
    const TColor BorderColor = B.BorderColor;
    const bool Fill = B.Fill, SideLinesOnly = B.SideLinesOnly, Vertical = B.Vertical;
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

// ---- shapes, progress displays and the rest -------------------------------------------------
namespace grid {

using plat::TPoint;

std::vector<TPoint> CellShapePolygon(TCellShape Shape, int x, int y, int height, int width) {
    const int w2 = width / 2, h2 = height / 2;
    const int ew = width - width % 2, eh = height - height % 2;
    const int q = ew / 4, p = eh / 4;
    auto star = [&](int k) {
        const double a = k * 36.0 * 3.14159265358979323846 / 180.0;
        const double rx = k % 2 == 0 ? w2 : w2 / 3.0, ry = k % 2 == 0 ? h2 : h2 / 3.0;
        return TPoint{x + w2 + static_cast<int>(std::nearbyint(std::sin(a) * rx)),
                      y + h2 - static_cast<int>(std::nearbyint(std::cos(a) * ry))};
    };
    switch (Shape) {
    case csTriangleLeft: return {{x + width, y}, {x + width, y + height}, {x, y + h2}};
    case csTriangleRight: return {{x, y}, {x, y + height}, {x + width, y + h2}};
    case csTriangleUp: return {{x, y + height}, {x + width, y + height}, {x + w2, y}};
    case csTriangleDown: return {{x, y}, {x + width, y}, {x + w2, y + height}};
    case csDiamond: return {{x, y + h2}, {x + w2, y}, {x + 2 * w2, y + h2}, {x + w2, y + 2 * h2}};
    case csStar: {
        std::vector<TPoint> pts;
        for (int k = 0; k < 10; ++k) pts.push_back(star(k));
        return pts;
    }
    case csHalfStar: return {star(0), star(5), star(6), star(7), star(8), star(9)};
    case csArrowUp:
        return {{x, y + h2}, {x + ew / 2, y}, {x + ew, y + h2}, {x + 3 * q, y + h2}, {x + 3 * q, y + height},
                {x + q, y + height}, {x + q, y + h2}};
    case csArrowDown:
        return {{x, y + h2}, {x + ew / 2, y + height}, {x + ew, y + h2}, {x + 3 * q, y + h2}, {x + 3 * q, y},
                {x + q, y}, {x + q, y + h2}};
    case csArrowLeft:
        return {{x, y + eh / 2}, {x + w2, y}, {x + w2, y + p}, {x + width, y + p}, {x + width, y + 3 * p},
                {x + w2, y + 3 * p}, {x + w2, y + eh}};
    case csArrowRight:
        return {{x + width, y + eh / 2}, {x + w2, y}, {x + w2, y + p}, {x, y + p}, {x, y + 3 * p},
                {x + w2, y + 3 * p}, {x + w2, y + eh}};
    default: return {};
    }
}

void DrawCellShape(TCanvas* Canvas, int X, int Y, TColor PenColor, TColor BrushColor, TCellShape Shape, int Height,
                   int Width) {
    Canvas->Pen()->SetColor(PenColor);
    Canvas->Brush()->SetColor(BrushColor);
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare) Width = Height = std::min(Width, Height);
    switch (Shape) {
    case csRectangle:
    case csSquare: Canvas->Rectangle(X + 1, Y + 1, X + Width - 1, Y + Height - 1); return;
    case csCircle:
    case csEllips: Canvas->Ellipse(X, Y, X + Width, Y + Height); return;
    case csLineVert: Canvas->Rectangle(X + Width / 2, Y, X + Width / 2 + 1, Y + Height); return;
    case csLineHorz: Canvas->Rectangle(X, Y + Height / 2, X + Width, Y + Height / 2 + 1); return;
    case csRoundRect:
    case csRoundSquare: Canvas->RoundRect(X, Y, X + Width, Y + Height, 10, 10); return;
    default: {
        const auto pts = CellShapePolygon(Shape, X, Y, Height, Width);
        Canvas->Polygon(std::span<const TPoint>(pts.data(), pts.size()));
    }
    }
}

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// One bar piece: plain, or two gradients across the bar meeting in its middle.
void FillBarPiece(TCanvas* c, TRect r, TColor color, TColor colorTo, const TProgressLook& look) {
    if (r.IsEmpty()) return;
    if (!look.ShowGradient || colorTo == plat::clNone) {
        c->Brush()->SetColor(color);
        c->FillRect(r);
        return;
    }
    if (look.Vertical) {
        const int mid = r.Left + r.Width() / 2;
        DrawGradientRect(c, colorTo, color, true, {r.Left, r.Top, mid, r.Bottom}, look.Steps);
        DrawGradientRect(c, color, colorTo, true, {mid, r.Top, r.Right, r.Bottom}, look.Steps);
    } else {
        const int mid = r.Top + r.Height() / 2;
        DrawGradientRect(c, colorTo, color, false, {r.Left, r.Top, r.Right, mid}, look.Steps);
        DrawGradientRect(c, color, colorTo, false, {r.Left, mid, r.Right, r.Bottom}, look.Steps);
    }
}

// The piece from `start` to `start + length` along the bar, `inset` pixels inside the frame.
TRect BarPiece(const TRect& r, bool vertical, int start, int length, int inset) {
    if (vertical) return {r.Left + inset, r.Bottom - inset - start - length, r.Right - inset, r.Bottom - inset - start};
    return {r.Left + inset + start, r.Top + inset, r.Left + inset + start + length, r.Bottom - inset};
}

} // namespace

void DrawProgressBar(TCanvas* Canvas, TRect R, int Percent, const TProgressLook& Look) {
    const int len = (Look.Vertical ? R.Height() : R.Width()) - 2;
    const TColor pen = Look.ShowBorder ? Look.BorderColor : Look.BackgroundColor;
    Canvas->Brush()->SetColor(Look.BackgroundColor);
    Canvas->Pen()->SetColor(pen);
    Canvas->Rectangle(R);
    if (Percent > 0) {
        if (Look.Stacked) {
            const int s0 = RoundEven(std::min(Percent, Look.Level1Perc) / 100.0 * len);
            FillBarPiece(Canvas, BarPiece(R, Look.Vertical, 0, s0, 1), Look.Level0Color, Look.Level0ColorTo, Look);
            int at = s0;
            if (Percent >= Look.Level1Perc) {
                const int s1 = RoundEven(len * (std::min(Percent, Look.Level2Perc) - Look.Level1Perc) / 100.0);
                FillBarPiece(Canvas, BarPiece(R, Look.Vertical, at, s1, 1), Look.Level1Color, Look.Level1ColorTo, Look);
                at += s1;
            }
            if (Percent >= Look.Level2Perc) {
                const int s2 = Percent == 100 ? len - at : RoundEven(len * (Percent - Look.Level2Perc) / 100.0);
                FillBarPiece(Canvas, BarPiece(R, Look.Vertical, at, std::max(s2, 0), 1), Look.Level3Color,
                             Look.Level3ColorTo, Look);
            }
        } else {
            TColor color = Look.Level2Color, colorTo = Look.Level2ColorTo;
            if (Percent < Look.Level1Perc) color = Look.Level0Color, colorTo = Look.Level0ColorTo;
            else if (Percent < Look.Level2Perc) color = Look.Level1Color, colorTo = Look.Level1ColorTo;
            else if (Percent > 99) color = Look.Level3Color, colorTo = Look.Level3ColorTo;
            if (Look.CompletionSmooth) {
                FillBarPiece(Canvas, BarPiece(R, Look.Vertical, 0, RoundEven(Percent / 100.0 * len), 1), color, colorTo,
                             Look);
            } else {
                const int t = RoundEven(Percent * len / 100.0);
                if (t > 9) {
                    int at = 0;
                    for (int b = 0; b < t / 9; ++b, at += 9)
                        FillBarPiece(Canvas, BarPiece(R, Look.Vertical, at, 7, 2), color, colorTo, Look);
                    if (t % 9 > 2) FillBarPiece(Canvas, BarPiece(R, Look.Vertical, at, t % 9 - 1, 2), color, colorTo, Look);
                } else if (t > 1) {
                    FillBarPiece(Canvas, BarPiece(R, Look.Vertical, 0, t, 2), color, colorTo, Look);
                }
            }
        }
    }
    if (Look.ShowPercentage) {
        if (Look.Font) Canvas->Font()->Assign(Look.Font);
        Canvas->Font()->SetColor(Look.CompleteFontColor);
        Canvas->Brush()->SetStyle(plat::bsClear);
        const String text = plat::IntToStr(Percent) + u"%";
        if (Look.Vertical) {
            // Measured upright, then drawn turned by 90 degrees, reading upwards.
            const int tw = Canvas->TextWidth(text), th = Canvas->TextHeight(text);
            const int oldOrientation = Canvas->Font()->Orientation();
            Canvas->Font()->SetOrientation(900);
            Canvas->TextOut(R.Left + R.Width() / 2 - th / 2, R.Top + R.Height() / 2 + tw / 2, text);
            Canvas->Font()->SetOrientation(oldOrientation);
        } else {
            TRect tr = R;
            Canvas->DrawText(text, tr, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        }
    }
    Canvas->Brush()->SetStyle(plat::bsClear);
    Canvas->Pen()->SetColor(pen);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(plat::bsSolid);
}

void DrawProgressFormatted(TCanvas* Canvas, TRect R, TColor FillColor, bool ForPrint, TColor BorderColor,
                           StringView Format, double Maximum, double Minimum, int MarginY, int MarginX, double Value,
                           TColor RemainTextColor, TColor RemainColor, TColor FillTextColor) {
    const TColor remembered = Canvas->Brush()->Color();
    Canvas->Brush()->SetColor(FillColor);
    Canvas->Pen()->SetColor(FillColor);
    Canvas->Font()->SetColor(FillTextColor);
    String text;
    int percent;
    if (!Format.empty()) {
        const bool integer = Format.find(u'd') != StringView::npos || Format.find(u'u') != StringView::npos;
        text = integer ? plat::Format(Format, {RoundEven(Value)}) : plat::Format(Format, {Value});
        // An empty range has no fraction to show.
        percent = Maximum == Minimum ? 0 : RoundEven((Value - Minimum) * 100 / (Maximum - Minimum));
    } else {
        text = plat::IntToStr(RoundEven(Value)) + u"%";
        percent = RoundEven(Value);
    }
    percent = std::clamp(percent, 0, 100);
    R = {R.Left + MarginX, R.Top + MarginY, R.Right - MarginX, R.Bottom - MarginY};
    const int tw = Canvas->TextWidth(text);
    int th = Canvas->TextHeight(text);
    if (ForPrint) th = -th;
    const int x = R.Left + (R.Width() - tw) / 2, y = R.Top + (R.Height() - th) / 2;
    const int split = R.Left + RoundEven(percent * R.Width() / 100.0);
    Canvas->SetBkMode(2);  // opaque
    Canvas->Brush()->SetColor(FillColor);
    Canvas->Font()->SetColor(FillTextColor);
    Canvas->TextRect({R.Left, R.Top, split, R.Bottom}, x, y, text);
    Canvas->Brush()->SetColor(RemainColor);
    Canvas->Font()->SetColor(RemainTextColor);
    Canvas->TextRect({split, R.Top, R.Right, R.Bottom}, x, y, text);
    R = {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    if (BorderColor != plat::clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
    R = {R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    Canvas->Brush()->SetColor(remembered);
    Canvas->FrameRect(R);
}

void DrawProgressPie(TCanvas* Canvas, TRect R, TColor FillColor, bool ForPrint, int Percent) {
    Canvas->Pen()->SetColor(plat::clGray);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(plat::bsClear);
    Canvas->Ellipse(R);
    const int w = R.Right - R.Left, h = R.Bottom - R.Top;
    const int cx = R.Left + w / 2, cy = R.Top + h / 2;
    Canvas->MoveTo(cx, R.Top);
    Canvas->LineTo(cx, cy);
    const double a = Percent / 100.0 * 2 * 3.14159265358979323846;
    Canvas->LineTo(cx + RoundEven((w + 1) / 2.0 * std::sin(a)), cy - RoundEven((h + 1) / 2.0 * std::cos(a)));
    Canvas->Brush()->SetStyle(plat::bsSolid);
    if (Percent != 0) {
        Canvas->Brush()->SetColor(FillColor);
        Canvas->FloodFill(cx + 1, ForPrint ? R.Top - 2 : R.Top + 2, plat::clGray, plat::fsBorder);
    }
}

void DrawValueBar(TCanvas* Canvas, TRect R, int Value, TColor PositiveColor, TColor NegativeColor, bool ShowValue,
                  int Maximum) {
    R = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    const int centre = R.Left + R.Width() / 2;
    if (Maximum <= 0) Maximum = 1;  // a bar without a range shows nothing sensible otherwise
    Value = std::clamp(Value, -Maximum, Maximum);
    const double x = (R.Width() / 2) * static_cast<double>(Value) / Maximum;
    const TColor c = Value < 0 ? NegativeColor : PositiveColor;
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    if (Value < 0) Canvas->Rectangle(centre + RoundEven(x), R.Top, centre, R.Bottom);
    else if (Value > 0) Canvas->Rectangle(centre, R.Top, centre + RoundEven(x), R.Bottom);
    if (ShowValue) {
        // The number stands centred in the half the bar leaves empty (the left half for a
        // positive value, the right half for a negative one), so it never overlaps the bar.
        Canvas->Brush()->SetStyle(plat::bsClear);
        TRect tr = R;
        if (Value > 0) tr.Right = centre;
        else if (Value < 0) tr.Left = centre;
        Canvas->DrawText(plat::IntToStr(Value), tr, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        Canvas->Brush()->SetStyle(plat::bsSolid);
    }
}

void DrawErrorUnderline(plat::TWinControl*, TCanvas* Canvas, StringView Text, int Length, int Start, int YOffset,
                        TRect R) {
    // Character positions as a single-line edit places them: one pixel of margin, then the
    // advance of the text before the character.
    const int n = static_cast<int>(Text.size());
    auto posOf = [&](int i) { return 1 + Canvas->TextWidth(Text.substr(0, static_cast<std::size_t>(i))); };
    const int x1 = Start < n ? posOf(Start) : posOf(std::max(n - 1, 0)) + 4;
    const int x2 = Start + Length < n ? posOf(Start + Length - 1) : posOf(std::max(n - 1, 0)) + 4;
    const int y = 0;
    Canvas->Pen()->SetColor(plat::clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->MoveTo(R.Left + x1, R.Top + y + YOffset + 3);
    int offset = 0;
    int x = x1;
    for (; x <= x2; x += 3) {
        Canvas->LineTo(R.Left + x + 3, R.Top + y + YOffset + offset);
        offset = offset == 0 ? 3 : 0;
    }
    Canvas->LineTo(R.Left + x + 3, R.Top + y + YOffset + offset);
    Canvas->Pen()->SetWidth(1);
}

void DrawBitmapTransparent(TCanvas* Canvas, const plat::TBitmap* Bitmap, TColor BackColor, TRect R) {
    if (!Bitmap || Bitmap->Width() == 0 || Bitmap->Height() == 0) return;
    plat::TBitmap copy;
    copy.Assign(Bitmap);
    const TColor key = copy.Canvas()->Pixels(0, 0);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x)
            if (copy.Canvas()->Pixels(x, y) == key) copy.Canvas()->SetPixels(x, y, BackColor);
    Canvas->Draw(R.Left, R.Top, &copy);
}

bool CallSetLayeredWindowAttributes(std::uintptr_t, TColor, std::uint8_t, unsigned) { return true; }
bool CallUpdateLayeredWindow(std::uintptr_t) { return true; }

} // namespace grid

// ---- buttons ------------------------------------------------------------------------------
namespace grid {

namespace {

const TColorTone& ToneOf(const TColorTones& t, int state) {
    switch (state) {
    case 1: return t.Hover;
    case 2: return t.Selected;
    case 3: return t.Disabled;
    default: return t.Background;
    }
}

} // namespace

void DrawComboButton(TCanvas* Canvas, plat::TWinControl*, TRect R, const TColorTones& Tones, int State, int Kind) {
    TRect r{R.Right - 17 - 2, R.Top + 1, R.Right - 2, R.Bottom - 1};
    if (Kind == 3) {
        r.Left += 3;
        const TColor fill = ToneOf(Tones, State).BrushColor;
        Canvas->Brush()->SetColor(fill);
        Canvas->Pen()->SetColor(fill);
        Canvas->Rectangle(r);
        Canvas->Pen()->SetColor(Tones.Background.BorderColor);
        Canvas->MoveTo(r.Left + 1, r.Top);
        Canvas->LineTo(r.Left + 1, r.Bottom);
        Canvas->Pen()->SetColor(Tones.Background.TextColor);
        Canvas->Brush()->SetColor(Tones.Background.TextColor);
        Canvas->Polygon({{r.Left + 5, r.Top + 8}, {r.Left + 11, r.Top + 8}, {r.Left + 8, r.Top + 11}});
        return;
    }
    unsigned flags = plat::DFCS_SCROLLCOMBOBOX;
    if (State == 3) flags |= plat::DFCS_INACTIVE;
    if (Kind == 2) flags |= plat::DFCS_FLAT;
    plat::DrawFrameControl(Canvas, r, plat::DFC_SCROLL, flags);
}

void DrawPushButton(TCanvas* Canvas, plat::TWinControl*, TRect R, const TColorTones& Tones, int State, int Kind) {
    if (Kind == 3) {
        const TColorTone& t = ToneOf(Tones, State);
        Canvas->Brush()->SetColor(t.BrushColor);
        Canvas->Pen()->SetColor(t.BorderColor);
        Canvas->Rectangle(R);
        return;
    }
    unsigned flags = plat::DFCS_BUTTONPUSH;
    if (State == 1) flags |= plat::DFCS_HOT;
    if (State == 2) flags |= plat::DFCS_PUSHED;
    if (State == 3) flags |= plat::DFCS_INACTIVE;
    if (Kind == 2) flags |= plat::DFCS_FLAT;
    plat::DrawFrameControl(Canvas, R, plat::DFC_BUTTON, flags);
}

void DrawSpinButtons(TCanvas* Canvas, plat::TWinControl*, TRect R, const TColorTones& Tones, int State, int Kind) {
    const TRect r{R.Right - 15 - 1, R.Top - 1, R.Right - 1, R.Bottom - 1};
    const int mid = r.Top + r.Height() / 2;
    const TRect up{r.Left, r.Top, r.Right, mid};
    const TRect down{r.Left, Kind == 0 ? mid : mid + 1, r.Right, r.Bottom};
    if (Kind == 3) {
        const TColor fill = ToneOf(Tones, State).BrushColor;
        Canvas->Brush()->SetColor(fill);
        Canvas->Pen()->SetColor(fill);
        Canvas->Rectangle(up);
        Canvas->Rectangle(down);
        Canvas->Brush()->SetColor(plat::clBlack);
        Canvas->Pen()->SetColor(plat::clBlack);
        Canvas->Polygon({{up.Left + 5, up.Top + 5}, {up.Left + 9, up.Top + 5}, {up.Left + 7, up.Top + 3}});
        Canvas->Polygon({{down.Left + 5, down.Top + 1}, {down.Left + 9, down.Top + 1}, {down.Left + 7, down.Top + 3}});
        return;
    }
    unsigned flags = State == 3 ? plat::DFCS_INACTIVE : 0;
    if (Kind == 2) flags |= plat::DFCS_FLAT;
    plat::DrawFrameControl(Canvas, up, plat::DFC_SCROLL, plat::DFCS_SCROLLUP | flags);
    plat::DrawFrameControl(Canvas, down, plat::DFC_SCROLL, plat::DFCS_SCROLLDOWN | flags);
}

} // namespace grid
