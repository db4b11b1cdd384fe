// The paint pass of TExtPageControl: strip background, page band and frame, rounded corners,
// the join between tabs and page, then the tabs with their close boxes, images, captions,
// focus frames and the hover outline; and the drawing routines the pass shares.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ExtPageControl.h"
#include "plat/ImgList.h"

namespace controls {

using namespace plat;

namespace {

void Seg(TCanvas* c, int x1, int y1, int x2, int y2)
{
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

void Path(TCanvas* c, std::initializer_list<TPoint> pts)
{
    auto it = pts.begin();
    c->MoveTo(it->X, it->Y);
    for (++it; it != pts.end(); ++it) c->LineTo(it->X, it->Y);
}

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

// ---- shared drawing routines ---------------------------------------------------------------

void TExtPageControl::DrawTabGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal)
{
    if (Steps == 0) Steps = 1;
    const TColor a = ColorToRGB(FromColor), b = ColorToRGB(ToColor);
    const double dr = static_cast<double>(GetRValue(b) - GetRValue(a)) / Steps;
    const double dg = static_cast<double>(GetGValue(b) - GetGValue(a)) / Steps;
    const double db = static_cast<double>(GetBValue(b) - GetBValue(a)) / Steps;
    const double band = static_cast<double>(Horizontal ? R.Width() : R.Height()) / Steps;
    const int bandW = RoundEven(band);
    for (std::uint16_t i = 0; i < static_cast<std::uint16_t>(Steps); ++i) {
        const TColor col = RGB(GetRValue(a) + RoundEven(i * dr), GetGValue(a) + RoundEven(i * dg), GetBValue(a) + RoundEven(i * db));
        Canvas->Pen()->SetColor(col);
        Canvas->Brush()->SetColor(col);
        const int p = static_cast<std::uint16_t>(RoundEven(i * band));
        if (Horizontal)
            Canvas->Rectangle(R.Left + p, R.Top, R.Left + p + bandW + 1, R.Bottom);
        else
            Canvas->Rectangle(R.Left, R.Top + p, R.Right, R.Top + p + bandW + 1);
    }
}

// Mask composition: the destination keeps its pixels where the source has the transparent
// colour and takes the source everywhere else.
void TExtPageControl::DrawTransparentBitmap(TCanvas* Dest, TBitmap* Bitmap, int DestX, int DestY, int Width, int Height, int SrcX, int SrcY, TColor TransparentColor)
{
    if (Width <= 0 || Height <= 0 || !Bitmap || Bitmap->Empty()) return;
    TCanvas* src = Bitmap->Canvas();
    const TColor oldBk = src->SetBkColor(ColorToRGB(TransparentColor));

    TBitmap mask(Width, Height);
    mask.SetMonochrome(true);
    BitBlt(mask.Canvas(), 0, 0, Width, Height, src, SrcX, SrcY, SRCCOPY);  // transparent -> 1
    TBitmap inverse(Width, Height);
    inverse.SetMonochrome(true);
    BitBlt(inverse.Canvas(), 0, 0, Width, Height, mask.Canvas(), 0, 0, NOTSRCCOPY);
    src->SetBkColor(oldBk);

    // Monochrome into colour: 0 bits take the text colour, 1 bits the background colour.
    TBitmap back(Width, Height);
    TCanvas* bc = back.Canvas();
    BitBlt(bc, 0, 0, Width, Height, Dest, DestX, DestY, SRCCOPY);
    bc->SetTextColor(clBlack);
    bc->SetBkColor(clWhite);
    BitBlt(bc, 0, 0, Width, Height, mask.Canvas(), 0, 0, SRCAND);

    TBitmap part(Width, Height);
    TCanvas* pc = part.Canvas();
    BitBlt(pc, 0, 0, Width, Height, src, SrcX, SrcY, SRCCOPY);
    pc->SetTextColor(clBlack);
    pc->SetBkColor(clWhite);
    BitBlt(pc, 0, 0, Width, Height, inverse.Canvas(), 0, 0, SRCAND);

    BitBlt(bc, 0, 0, Width, Height, pc, 0, 0, SRCPAINT);
    BitBlt(Dest, DestX, DestY, Width, Height, bc, 0, 0, SRCCOPY);
}

void TExtPageControl::StretchTransparentBitmap(TCanvas* Dest, TBitmap* Bitmap, int DestX, int DestY, int DestWidth, int DestHeight, int SrcX, int SrcY, int SrcWidth, int SrcHeight, TColor TransparentColor)
{
    if (DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0 || !Bitmap || Bitmap->Empty()) return;
    TBitmap stretched(DestWidth, DestHeight);
    StretchBlt(stretched.Canvas(), 0, 0, DestWidth, DestHeight, Bitmap->Canvas(), SrcX, SrcY, SrcWidth, SrcHeight, SRCCOPY);
    DrawTransparentBitmap(Dest, &stretched, DestX, DestY, DestWidth, DestHeight, 0, 0, TransparentColor);
}

void TExtPageControl::StretchBitmapVertically(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, int Length)
{
    if (!Bitmap || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height(), half = h / 2;
    const TColor tc = Bitmap->Canvas()->Pixels(0, h - 1);
    DrawTransparentBitmap(Canvas, Bitmap, X, Y, w, half, 0, 0, tc);
    StretchTransparentBitmap(Canvas, Bitmap, X, Y + half, w, Length - h, 0, half - 1, w, 2, tc);
    DrawTransparentBitmap(Canvas, Bitmap, X, Y + half + Length - h, w, half, 0, half, tc);
}

void TExtPageControl::StretchBitmapHorizontally(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, int Length)
{
    if (!Bitmap || Bitmap->Empty()) return;
    const int w = Bitmap->Width(), h = Bitmap->Height(), half = w / 2;
    const TColor tc = Bitmap->Canvas()->Pixels(0, h - 1);
    DrawTransparentBitmap(Canvas, Bitmap, X, Y, half, h, 0, 0, tc);
    StretchTransparentBitmap(Canvas, Bitmap, X + half, Y, Length - w, h, half - 1, 0, 2, h, tc);
    DrawTransparentBitmap(Canvas, Bitmap, X + half + Length - w, Y, half, h, half, 0, tc);
}

// ---- close box and focus frame -------------------------------------------------------------

void TExtPageControl::DrawCloseGlyph(TCanvas* Canvas, int X, int Y)
{
    const int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(X, Y, X + 12, Y + 11);
    closeGlyph_->SetTransparent(true);
    closeGlyph_->SetTransparentMode(tmAuto);
    DrawTransparentBitmap(Canvas, closeGlyph_.get(), X, Y, closeGlyph_->Width(), closeGlyph_->Height(), 0, 0, closeGlyph_->TransparentColor());
    Canvas->RestoreDC(saved);
}

void TExtPageControl::DrawCloseBox(TCanvas* c, int x0, int y0, TColor Fill, TColor Outline, TColor Cross)
{
    const bool left = TabPosition() == tpLeft;
    if (!closeGlyph_->Empty()) {
        DrawCloseGlyph(c, x0 + 2, left ? y0 - 13 : y0 + 2);
        return;
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Fill);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(Outline);
    c->Pen()->SetWidth(1);
    if (left) {
        c->Rectangle(x0 + 2, y0 - 13, x0 + 14, y0 - 2);
        c->Pen()->SetColor(Cross);
        Seg(c, x0 + 5, y0 - 10, x0 + 11, y0 - 5);
        Seg(c, x0 + 6, y0 - 10, x0 + 10, y0 - 5);
        Seg(c, x0 + 5, y0 - 6, x0 + 11, y0 - 11);
        Seg(c, x0 + 6, y0 - 6, x0 + 10, y0 - 11);
    } else {
        c->Rectangle(x0 + 2, y0 + 2, x0 + 14, y0 + 13);
        c->Pen()->SetColor(Cross);
        Seg(c, x0 + 5, y0 + 9, x0 + 11, y0 + 4);
        Seg(c, x0 + 6, y0 + 9, x0 + 10, y0 + 4);
        Seg(c, x0 + 5, y0 + 5, x0 + 11, y0 + 10);
        Seg(c, x0 + 6, y0 + 5, x0 + 10, y0 + 10);
    }
}

void TExtPageControl::DrawCloseButton(TCanvas* c, const TRect& R, bool Active)
{
    const int LM = tabMargin_->LeftMargin(), TM = tabMargin_->TopMargin();
    const int la = Active ? lowerActive_ : 0;
    int x0 = R.Left + LM, y0 = R.Top + TM + la;
    if (TabPosition() == tpRight) {
        x0 = R.Left + LM - la + 2;
        y0 = R.Top + TM;
    } else if (TabPosition() == tpLeft) {
        x0 = R.Left + LM + la;
        y0 = R.Bottom - TM + (tabBackGroundActive_->Empty() ? 0 : tabOverlap_);
    }
    DrawCloseBox(c, x0, y0, clWhite, clGray, clBlack);
}

void TExtPageControl::DrawCloseButtonHot(TCanvas* c, const TRect& R)
{
    const int LM = tabMargin_->LeftMargin(), TM = tabMargin_->TopMargin();
    int x0 = R.Left + LM, y0 = R.Top + TM + lowerActive_;
    if (TabPosition() == tpRight) {
        y0 = R.Top + TM;
    } else if (TabPosition() == tpLeft) {
        x0 = R.Left + LM + lowerActive_;
        y0 = R.Bottom - TM + (tabBackGroundActive_->Empty() ? 0 : tabOverlap_);
    }
    DrawCloseBox(c, x0, y0, clWhite, clBlack, clGray);
}

void TExtPageControl::DrawCloseButtonDown(TCanvas* c, const TRect& R)
{
    const int LM = tabMargin_->LeftMargin(), TM = tabMargin_->TopMargin();
    int x0 = R.Left + LM, y0 = R.Top + TM + lowerActive_;
    if (TabPosition() == tpRight) {
        x0 = R.Left + LM - lowerActive_ + 2;
        y0 = R.Top + TM;
    } else if (TabPosition() == tpLeft) {
        x0 = R.Left + LM + lowerActive_;
        y0 = R.Bottom - TM + (tabBackGroundActive_->Empty() ? 0 : tabOverlap_);
    }
    DrawCloseBox(c, x0, y0, clSilver, clBlack, clBlack);
}

void TExtPageControl::DrawFocusFrame(TCanvas* c, const TRect& R, bool Active, int B)
{
    if (Designing() || !Active || !showFocus_ || !Focused()) return;
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(psDot);
    if (TabPosition() == tpTop || TabPosition() == tpBottom)
        c->Rectangle(R.Left + 5, R.Top + 3, R.Right - 5 - B, R.Bottom - 3);
    else
        c->Rectangle(R.Left + 5, R.Top + 3, R.Right - 5, R.Bottom - 3 - B);
    c->Pen()->SetStyle(psSolid);
}

// ---- the paint pass ------------------------------------------------------------------------

namespace {

struct TSeg {
    int X1, Y1, X2, Y2;
};

void Draw(TCanvas* c, const TSeg& s) { Seg(c, s.X1, s.Y1, s.X2, s.Y2); }

template <std::size_t N>
void Draw(TCanvas* c, const std::array<TPoint, N>& pts)
{
    c->MoveTo(pts[0].X, pts[0].Y);
    for (std::size_t i = 1; i < N; ++i) c->LineTo(pts[i].X, pts[i].Y);
}

TRect Grown(TRect r, const TRect& by)
{
    r.Left += by.Left;
    r.Top += by.Top;
    r.Right += by.Right;
    r.Bottom += by.Bottom;
    return r;
}

// Indexed by TTabPosition (top, bottom, left, right).
// What the erased area around a tab reaches past the tab (its right edge already 2 wider).
constexpr TRect Erase_Grow[4] = {{-2, -2, 0, 0}, {-2, 0, 0, 2}, {-2, -2, -2, 2}, {0, -2, 0, 2}};
// Where a tab image stands against the caption origin, and the axis the caption moves along
// by the image's extent.
struct TImagePlace {
    int Dx, Dy, AdvanceX, AdvanceY;
};
constexpr TImagePlace Image_Place[4] = {{-2, 0, 1, 0}, {-2, 0, 1, 0}, {0, -14, 0, -1}, {-14, 0, 0, 1}};

} // namespace

// The frame steps' coordinates for the strip extent of this paint.
struct TExtPageControl::TFrameGeometry {
    TRect Strip;                                // strip background
    std::array<TRect, 4> Bands;                 // page edges in the active page's colours
    TRect Cover;                                // the band next to the tabs, plain over a gradient
    std::array<TSeg, 4> Border;                 // page frame in the border colour
    std::vector<TSeg> Base;                     // frame lines in the control's colour
    std::vector<TSeg> Base_Plain;               // ... and those only over an unpainted page
    std::array<std::array<TPoint, 3>, 2> Corner_Clear;  // rounded corners: square corner cleared
    std::array<TSeg, 4> Corner_Edge;            // ... and the edge one pixel in
    TSeg Join;                                  // the frame line along the tab row
};

TExtPageControl::TFrameGeometry TExtPageControl::FrameGeometry() const
{
    const int W = Width(), H = Height();
    const int s3d = tabSheet3D_ ? 1 : 0;
    const int maxB = maxB_, minT = minT_, minL = minL_, maxR = maxR_;
    TFrameGeometry g;
    switch (TabPosition()) {
    case tpTop:
        g.Strip = Rect(0, 0, W, maxB);
        g.Bands = {Rect(1, maxB + s3d, 4, H - 1), Rect(1, maxB + s3d, W - 1, maxB + 4),
                   Rect(W - 4, maxB + s3d, W - 1, H - 1), Rect(1, H - 4, W - 1, H - 1)};
        g.Cover = Rect(1, maxB + 1, W - 1, maxB + 4);
        g.Border = {{{0, maxB, 0, H}, {0, H - 1, W, H - 1}, {W - 1, H - 2, W - 1, maxB}, {0, maxB, W, maxB}}};
        g.Base_Plain = {{1, H - 2, W - 1, H - 2}, {W - 2, H - 2, W - 2, maxB}};
        g.Corner_Clear = {{{{{0, H - 4}, {0, H - 1}, {4, H - 1}}}, {{{W - 4, H - 1}, {W - 1, H - 1}, {W - 1, H - 5}}}}};
        g.Corner_Edge = {{{1, H - 4, 1, H - 2}, {2, H - 2, 4, H - 2}, {W - 4, H - 2, W - 2, H - 2}, {W - 2, H - 3, W - 2, H - 5}}};
        g.Join = {2, maxB, maxR + tabOverlap_, maxB};
        break;
    case tpBottom:
        g.Strip = Rect(0, minT, W, H);
        g.Bands = {Rect(1, 1, 4, minT - s3d), Rect(1, 1, W - 1, 4), Rect(W - 4, 1, W - 1, minT - s3d),
                   Rect(1, minT - 4, W - 1, minT - s3d)};
        g.Cover = Rect(1, 1, W - 1, 4);
        g.Border = {{{0, 0, 0, minT}, {0, minT - 1, W, minT - 1}, {W - 1, minT - 1, W - 1, 0}, {0, 0, W, 0}}};
        g.Base_Plain = {{1, minT - 2, W - 1, minT - 2}, {W - 2, minT - 2, W - 2, 0}};
        g.Corner_Clear = {{{{{0, 3}, {0, 0}, {5, 0}}}, {{{W - 1, 3}, {W - 1, 0}, {W - 5, 0}}}}};
        g.Corner_Edge = {{{1, 3, 1, 1}, {2, 1, 5, 0}, {W - 2, 3, W - 2, 1}, {W - 3, 1, W - 5, 1}}};
        g.Join = {2, minT - 1, maxR + tabOverlap_, minT - 1};
        break;
    case tpLeft: {
        g.Strip = Rect(0, 0, maxR, H - 1);
        g.Bands = {Rect(maxR + s3d, 1, maxR + 4, H - 1), Rect(maxR + s3d, 1, W - 1, 4), Rect(W - 4, 1, W - 1, H - 1),
                   Rect(maxR + s3d, H - 4, W - 1, H - 1)};
        g.Cover = Rect(maxR + s3d, 1, W - 1, 4);
        g.Border = {{{maxR, 0, maxR, H}, {maxR, H - 2, W - 2, H - 2}, {W - 2, H, W - 2, 0}, {W - 2, 0, maxR, 0}}};
        g.Base = {{maxR, H - 1, W - 1, H - 1}, {W - 1, H - 1, W - 1, -1}};
        g.Corner_Clear = {{{{{W - 5, H - 2}, {W - 2, H - 2}, {W - 2, H - 6}}}, {{{W - 2, 3}, {W - 2, 0}, {W - 6, 0}}}}};
        g.Corner_Edge = {{{W - 5, H - 3, W - 3, H - 3}, {W - 3, H - 4, W - 3, H - 6}, {W - 3, 3, W - 3, 1}, {W - 4, 1, W - 6, 1}}};
        // Classic pictured tabs reach two pixels further down.
        const int extra = (tabStyle_ == tsClassic && !tabBackGround_->Empty()) ? 2 : 0;
        g.Join = {maxR, 2, maxR, maxB + tabOverlap_ + extra};
        break;
    }
    case tpRight:
        g.Strip = Rect(minL, 0, W, H - 1);
        g.Bands = {Rect(1, 1, 4, H - 2), Rect(1, 1, minL - s3d, 4), Rect(minL - 4, 1, minL - s3d, H - 2),
                   Rect(1, H - 4, minL - s3d, H - 2)};
        g.Cover = Rect(1, 1, minL - s3d, 4);
        g.Border = {{{0, 0, 0, H}, {0, H, minL, H}, {minL - 1, H, minL - 1, 0}, {minL - 1, 0, 0, 0}}};
        g.Base = {{0, H - 1, minL, H - 1}};
        g.Base_Plain = {{minL - 2, H - 3, minL - 2, 0}};
        g.Corner_Clear = {{{{{0, 3}, {0, 0}, {5, 0}}}, {{{0, H - 5}, {0, H - 2}, {4, H - 2}}}}};
        g.Corner_Edge = {{{1, 3, 1, 1}, {2, 1, 5, 0}, {1, H - 5, 1, H - 3}, {2, H - 3, 4, H - 3}}};
        g.Join = {minL - 1, maxB - 1 + tabOverlap_, minL - 1, 2};
        break;
    }
    return g;
}

void TExtPageControl::DrawTabs(TCanvas* c)
{
    SetDoubleBuffered(true);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    c->SetFont(Font());

    MeasureStrip(c);
    const TFrameGeometry g = FrameGeometry();
    DrawStripBackground(c, g);
    TExtTabSheet* ap = activePage_;
    const bool sheetPainted = ap && (ap->colorTo_ != clNone || ap->Color() != Color());
    if (sheetPainted) DrawSheetBands(c, g);
    if (!tabSheet3D_) DrawPageFrame(c, g, sheetPainted);
    JoinTabsToPage(c, g, sheetPainted);

    int deferred = -1;
    TPoint deferredOrigin{-10, -10};
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!pages_[static_cast<std::size_t>(i)]->tabVisible_) continue;
        TPoint origin;
        if (DrawTab(c, i, origin) && deferred < 0) {
            deferred = i;
            deferredOrigin = origin;
        }
    }
    if (deferred >= 0) DrawActivePictureTab(c, deferred, deferredOrigin);
    DrawHoverOutline(c);
    c->Brush()->SetStyle(bsSolid);
    c->SetFont(Font());
}

void TExtPageControl::MeasureStrip(TCanvas* c)
{
    const TTabPosition pos = TabPosition();
    maxB_ = 0;
    minT_ = PageTabRect(0).Top;
    minL_ = Width();
    maxR_ = 0;
    bool anyTab = false;
    // Erases around each tab on the way.
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!pages_[static_cast<std::size_t>(i)]->tabVisible_) continue;
        anyTab = true;
        TRect r = PageTabRect(i);
        maxB_ = std::max(maxB_, r.Bottom);
        minT_ = std::min(minT_, r.Top);
        minL_ = std::min(minL_, r.Left);
        maxR_ = std::max(maxR_, r.Right);
        r.Right += 2;
        c->FillRect(Grown(r, Erase_Grow[pos]));
    }
    if (anyTab) return;
    // Without a visible tab the strip is two pixels along the page.
    switch (pos) {
    case tpTop: maxB_ = 2; break;
    case tpBottom: minT_ = Height() - 2; break;
    case tpLeft: maxR_ = 2; break;
    case tpRight: minL_ = Width() - 2; break;
    }
}

void TExtPageControl::DrawStripBackground(TCanvas* c, const TFrameGeometry& g)
{
    const TTabPosition pos = TabPosition();
    const int W = Width(), H = Height();
    // Right end of a single row.
    if (!MultiLine() && (pos == tpTop || pos == tpBottom)) {
        c->Brush()->SetColor(Color());
        if (pos == tpTop) {
            c->FillRect(Rect(W - 35, 0, W, maxB_));
            c->Pen()->SetColor(clWhite);
            Seg(c, std::max(W - 35, maxR_), maxB_, W, maxB_);
        } else {
            c->FillRect(Rect(W - 35, minT_, W, H));
            c->Pen()->SetColor(cl3DDkShadow);
            Seg(c, std::max(W - 35, maxR_), minT_ - 1, W, minT_ - 1);
        }
    }
    c->Brush()->SetColor(tabBackGroundColor_);
    c->FillRect(g.Strip);
}

void TExtPageControl::DrawSheetBands(TCanvas* c, const TFrameGeometry& g)
{
    TExtTabSheet* ap = activePage_;
    TRegion clip(g.Bands[0]);
    for (int i = 1; i < 4; ++i) clip.Combine(clip, TRegion(g.Bands[static_cast<std::size_t>(i)]), RGN_OR);
    const int saved = c->SaveDC();
    const TPoint org = c->WindowOrg();
    clip.Offset(-org.X, -org.Y);
    c->SelectClipRgn(&clip);
    if (ap->colorTo_ == clNone) {
        c->Pen()->SetColor(ap->Color());
        c->Brush()->SetColor(ap->Color());
        c->Rectangle(ClientRect());
    } else {
        DrawTabGradient(c, ap->Color(), ap->colorTo_, 16, ClientRect(), false);
        c->Pen()->SetColor(ap->Color());
        c->Brush()->SetColor(ap->Color());
        c->Rectangle(g.Cover);
    }
    c->RestoreDC(saved);
}

void TExtPageControl::DrawPageFrame(TCanvas* c, const TFrameGeometry& g, bool sheetPainted)
{
    const TColor border = tabSheetBorderColor_, base = Color();
    c->Pen()->SetColor(border);
    for (const TSeg& s : g.Border) Draw(c, s);
    if (!g.Base.empty() || (!sheetPainted && !g.Base_Plain.empty())) {
        c->Pen()->SetColor(base);
        for (const TSeg& s : g.Base) Draw(c, s);
        if (!sheetPainted)
            for (const TSeg& s : g.Base_Plain) Draw(c, s);
    }
    // Rounded corners away from the tabs: clear the square corner, then step in a pixel.
    if (!roundEdges_) return;
    c->Pen()->SetColor(base);
    for (const auto& path : g.Corner_Clear) Draw(c, path);
    c->Pen()->SetColor(border);
    for (const TSeg& s : g.Corner_Edge) Draw(c, s);
}

void TExtPageControl::JoinTabsToPage(TCanvas* c, const TFrameGeometry& g, bool sheetPainted)
{
    // The frame line along the tab row goes.
    joinFlag_ = 0;
    if (tabSheet3D_ || tabSplitLine_ || PageCount() == 0) return;
    joinFlag_ = 1;
    TColor pen = Color();
    if (sheetPainted) {
        TExtTabSheet* ap = activePage_;
        pen = TabPosition() == tpBottom ? ap->colorTo_ : ap->Color();
        // A page without a gradient end shows its own colour next to the tabs.
        if (pen == clNone) pen = ap->Color();
    }
    c->Pen()->SetColor(pen);
    Draw(c, g.Join);
}

// One tab's coordinates: its fill, outline and picture, and where its caption starts.
struct TExtPageControl::TTabGeometry {
    TRect R;                            // the tab, bottom tabs one pixel taller
    TRect Fill;                         // plain fill: top tabs one pixel up, left ones out
    TRect Gradient;                     // gradient fill, clear of the outline's pixels
    TRect Outline;                      // what the outline follows: right tabs one wider
    std::array<TPoint, 4> Active_Path;  // the active tab's outline, open towards the page
    TRect Box;                          // an inactive classic tab's box ...
    TRect Box_Join;                     // ... and what it grows by when joined to the page
    bool Short_Of_Row = false;          // an inactive classic tab that stops short of the page
    TSeg Separator{};                   // dotnet: the page-side line of an inactive tab
    bool Last_Of_Row = false;           // dotnet: no tab follows in the row
    TPoint Picture;                     // origin of the stretched tab picture
    TPoint Active_Picture;              // ... and of the active tab's own picture
    int Picture_Length = 0;
    TPoint Text;                        // caption origin without picture or margins
    TPoint Picture_Text_Shift;          // caption shift over a picture
};

TExtPageControl::TTabGeometry TExtPageControl::TabGeometry(const TRect& tab, bool active, bool showClose, bool horizontal) const
{
    const TTabPosition pos = TabPosition();
    const int W = Width(), H = Height();
    const int la = active ? lowerActive_ : 0;
    const bool lowered = lowerActive_ > 0;
    const int sc = showClose ? 1 : 0;
    const bool classic = tabStyle_ == tsClassic;
    TTabGeometry g;
    TRect& R = g.R;
    R = tab;
    if (pos == tpBottom) R.Bottom += 1;
    g.Fill = g.Gradient = g.Outline = R;
    TRect& f = g.Fill;
    TRect& gr = g.Gradient;
    TRect& o = g.Outline;
    const int vlen = R.Bottom - R.Top + 3 + tabOverlap_;
    const int hlen = (R.Right - R.Left) + 2 + tabOverlap_;
    switch (pos) {
    case tpTop:
        g.Text = {R.Left + 4 + 14 * sc, R.Top + 1 + la};
        g.Picture = {R.Left - 1, R.Top - 2};
        g.Active_Picture = {R.Left - 2, lowered ? R.Top - 1 : R.Top - 2};
        f.Top -= 1;
        gr = f;
        gr.Bottom -= 1;
        if (horizontal) gr.Right -= 1;
        o = f;
        break;
    case tpBottom:
        g.Text = {R.Left + 4 + 14 * sc, active ? R.Top + lowerActive_ + 1 : R.Top};
        g.Picture = {R.Left - 2, R.Top - 1};
        g.Active_Picture = {R.Left - 2, lowered ? R.Top - 3 : R.Top - 1};
        g.Picture_Text_Shift = {0, 3};
        if (horizontal) gr.Right -= 1;
        else gr.Bottom -= 1;
        break;
    case tpLeft:
        g.Text = {R.Left + 1 + la, R.Bottom - 4 - 13 * sc};
        g.Picture = {R.Left, R.Top};
        g.Active_Picture = {lowered ? R.Left + 1 : R.Left, R.Top};
        g.Picture_Text_Shift = {-2, -3};
        f.Left -= 1;
        gr = f;
        gr.Right -= 1;
        if (!horizontal) gr.Bottom -= 1;
        o = f;
        break;
    case tpRight:
        g.Text = {R.Right - 1 - la, R.Top + 4 + 13 * sc};
        g.Picture = {R.Left - 1, R.Top - 2};
        g.Active_Picture = {lowered ? R.Left - 3 : R.Left - 1, R.Top - 2};
        g.Picture_Text_Shift = {-TabHeight() / 3, -3};
        if (!horizontal && !active) gr.Bottom -= 1;
        o.Right += 1;
        break;
    }
    g.Picture_Length = (pos == tpLeft || pos == tpRight) ? vlen : hlen;

    const int L = o.Left, T = o.Top, Rt = o.Right, B = o.Bottom;
    const int farTB = Rt > W - 5 ? 0 : 1;
    const int farLR = B > H - 5 ? 0 : 1;
    switch (pos) {
    case tpTop:
        g.Active_Path = {TPoint{L, classic ? B - 1 : B}, {L, T}, {Rt, T}, {Rt, B}};
        g.Box = Rect(L, T, Rt + farTB, B);
        g.Box_Join = {0, 0, 0, 1};
        g.Short_Of_Row = B < maxB_;
        g.Separator = {L, B, Rt, B};
        break;
    case tpBottom:
        g.Active_Path = {TPoint{L, classic ? T : T - 1}, {L, B}, {Rt, B}, {Rt, T - 1}};
        g.Box = Rect(L, T, Rt + farTB, B);
        g.Box_Join = {0, -1, 0, 0};
        g.Short_Of_Row = T > minT_;
        g.Separator = {L, T - 1, Rt, T - 1};
        break;
    case tpLeft:
        g.Active_Path = {TPoint{classic ? Rt - 1 : Rt, T}, {L, T}, {L, B}, {Rt, B}};
        g.Box = Rect(L, T, Rt, B + farLR);
        g.Box_Join = {0, 0, 1, 0};
        g.Short_Of_Row = Rt < maxR_;
        g.Separator = {Rt, T, Rt, B};
        break;
    case tpRight:
        g.Active_Path = {TPoint{classic ? L : L - 1, T}, {Rt - 1, T}, {Rt - 1, B}, {L - 1, B}};
        g.Box = Rect(L, T, Rt, B + farLR);
        g.Box_Join = {-1, 0, 0, 0};
        g.Short_Of_Row = L > minL_;
        g.Separator = {L - 1, T, L - 1, B};
        break;
    }
    g.Last_Of_Row = (pos == tpLeft || pos == tpRight) ? B > maxB_ - 3 : Rt > maxR_ - 3;
    return g;
}

bool TExtPageControl::DrawTab(TCanvas* c, int i, TPoint& textOrigin)
{
    const TTabPosition pos = TabPosition();
    TExtTabSheet* page = pages_[static_cast<std::size_t>(i)];
    const TRect R0 = PageTabRect(i);
    const bool picture = !tabBackGround_->Empty();
    const bool pictureActive = !tabBackGroundActive_->Empty();
    const bool sideways = pos == tpLeft || pos == tpRight;
    const bool active = i == ActivePageIndex();

    TColor fill, fillTo;
    bool horizontal;
    if (active && activeColor_ != clNone) {
        fill = activeColor_;
        fillTo = activeColorTo_;
        horizontal = page->tabGradientDirection_ == gdHorizontal;
    } else if (i == hoverTab_ && (tabHoverColor_ != clNone || tabHoverColorTo_ != clNone)) {
        fill = tabHoverColor_;
        fillTo = tabHoverColorTo_;
        horizontal = page->hoverGradientDirection_ == gdHorizontal;
    } else {
        fill = page->tabColor_;
        fillTo = page->tabColorTo_;
        horizontal = page->tabGradientDirection_ == gdHorizontal;
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(fill);

    const TTabGeometry g = TabGeometry(R0, active, page->showClose_, horizontal);
    int x = g.Text.X, y = g.Text.Y;
    bool isDeferred = false;
    TRect R = g.R;
    if (picture) {
        x += g.Picture_Text_Shift.X;
        y += g.Picture_Text_Shift.Y;
        if (active && pictureActive) {
            isDeferred = true;
        } else {
            TBitmap work;
            work.Assign(*tabBackGround_);
            if (sideways) StretchBitmapVertically(&work, c, g.Picture.X, g.Picture.Y, g.Picture_Length);
            else StretchBitmapHorizontally(&work, c, g.Picture.X, g.Picture.Y, g.Picture_Length);
        }
    } else {
        if (fillTo != clNone) DrawTabGradient(c, fill, fillTo, 16, g.Gradient, horizontal);
        else c->FillRect(g.Fill);
        R = g.Outline;
        DrawTabOutline(c, g, page, active);
        // Classic bottom tabs that are not active keep their caption two pixels lower.
        if (!active && tabStyle_ == tsClassic && pos == tpBottom) y += 2;
    }

    // Rotated text on the sides.
    if (sideways) {
        TFont f(active ? *activeFont_ : *c->Font());
        f.SetOrientation(pos == tpLeft ? -2700 : -900);
        c->SetFont(&f);
    }
    x += tabMargin_->LeftMargin();
    if (pos == tpLeft) {
        y -= tabMargin_->TopMargin();
        if (pictureActive) y += tabOverlap_ + 3;
    } else {
        y += tabMargin_->TopMargin();
    }
    if (isDeferred) {
        textOrigin = {x, y};
        return true;
    }

    if (page->showClose_) DrawCloseButton(c, R0, active);
    DrawTabImage(c, page, x, y);
    if (active && !sideways) {
        c->SetFont(activeFont_.get());
    } else {
        c->Font()->SetColor(page->textColor_);
    }
    if (!page->tabEnable_) c->Font()->SetColor(0x808080);
    c->Brush()->SetStyle(bsClear);
    const String caption = page->Caption();
    if (sideways) {
        c->TextOut(x, y, caption);
    } else {
        TRect tr = Rect(x, y, R0.Right, R0.Bottom);
        c->DrawText(caption, tr, DT_SINGLELINE | DT_NOCLIP);
    }
    if (active) c->SetFont(Font());
    DrawFocusFrame(c, R, active, 0);
    return false;
}

void TExtPageControl::DrawTabOutline(TCanvas* c, const TTabGeometry& g, TExtTabSheet* page, bool active)
{
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(tabBorderColor_);
    if (active) {
        Draw(c, g.Active_Path);
        return;
    }
    if (tabStyle_ == tsClassic) {
        // A tab short of the row next to the page ends the join for the tabs after it.
        if (joinFlag_ > 0 && g.Short_Of_Row) joinFlag_ = 0;
        TRect box = g.Box;
        if (joinFlag_) box = Grown(box, g.Box_Join);
        c->Rectangle(box.Left, box.Top, box.Right, box.Bottom);
        if (!tabSheet3D_ && !tabSplitLine_) joinFlag_ = 1;
        return;
    }
    Draw(c, g.Separator);
    // The line between two inactive tabs; none before the active one inside a row.
    TExtTabSheet* next = FindNextPage(page, true, true);
    if (next && next == activePage_ && !g.Last_Of_Row) return;
    const int L = g.Outline.Left, T = g.Outline.Top, Rt = g.Outline.Right, B = g.Outline.Bottom;
    c->Pen()->SetColor(activeColor_);
    if (TabPosition() == tpLeft || TabPosition() == tpRight) {
        Seg(c, L + 2, B - 2, Rt - 2, B - 2);
        Seg(c, L + 2, B - 3, Rt - 2, B - 3);
    } else {
        Seg(c, Rt - 2, B - 3, Rt - 2, T + 2);
        Seg(c, Rt - 3, B - 3, Rt - 3, T + 2);
    }
}

void TExtPageControl::DrawTabImage(TCanvas* c, TExtTabSheet* page, int& x, int& y)
{
    if (!images_ || page->imageIndex_ < 0) return;
    const TImagePlace& p = Image_Place[TabPosition()];
    images_->Draw(c, x + p.Dx, y + p.Dy, page->imageIndex_, true);
    x += p.AdvanceX * images_->Width();
    y += p.AdvanceY * images_->Height();
}

void TExtPageControl::DrawActivePictureTab(TCanvas* c, int index, TPoint origin)
{
    const TTabPosition pos = TabPosition();
    TExtTabSheet* page = pages_[static_cast<std::size_t>(index)];
    const TTabGeometry g = TabGeometry(PageTabRect(index), true, page->showClose_, false);
    const TRect& R = g.R;
    TBitmap work;
    work.Assign(*tabBackGroundActive_);
    if (pos == tpLeft || pos == tpRight) StretchBitmapVertically(&work, c, g.Active_Picture.X, g.Active_Picture.Y, g.Picture_Length);
    else StretchBitmapHorizontally(&work, c, g.Active_Picture.X, g.Active_Picture.Y, g.Picture_Length);
    if (page->showClose_) DrawCloseButton(c, R, true);
    int x = origin.X, y = origin.Y;
    DrawTabImage(c, page, x, y);
    c->Font()->SetColor(page->textColor_);
    c->Brush()->SetStyle(bsClear);
    if (pos == tpLeft || pos == tpRight) {
        c->TextOut(x, y, page->Caption());
    } else {
        TRect tr = Rect(x, pos == tpBottom ? y - 2 : y, R.Right, R.Bottom);
        c->DrawText(page->Caption(), tr, DT_SINGLELINE | DT_NOCLIP);
    }
    DrawFocusFrame(c, R, true, tabOverlap_);
}

void TExtPageControl::DrawHoverOutline(TCanvas* c)
{
    // Outline of the tab under the mouse.
    if (hoverTab_ < 0 || hoverTab_ >= PageCount() || tabHoverBorder_ == clNone || hoverTab_ == ActivePageIndex()) return;
    const int W = Width(), H = Height();
    c->Pen()->SetColor(tabHoverBorder_);
    const TRect r = PageTabRect(hoverTab_);
    int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom;
    switch (TabPosition()) {
    case tpLeft:
        L -= 1;
        T -= 2;
        if (B > H - 5) B -= 1;
        Path(c, {{Rt - 1, T + 2}, {L, T + 2}, {L, B}, {Rt, B}});
        break;
    case tpRight:
        L += 1;
        if (B > H - 5) B -= 1;
        Path(c, {{L, T}, {Rt, T}, {Rt, B}, {L - 1, B}});
        break;
    case tpTop:
        T -= 1;
        if (Rt > W - 5) Rt -= 1;
        Path(c, {{L, B - 2}, {L, T}, {Rt, T}, {Rt, B - 1}});
        break;
    case tpBottom:
        if (Rt > W - 5) Rt -= 1;
        Path(c, {{L, T + 1}, {L, B}, {Rt, B}, {Rt, T}});
        break;
    }
}

} // namespace controls
