// The paint pass of TExtPageControl: strip background, page band and frame, rounded corners,
// the join between tabs and page, then the tabs with their close boxes, images, captions,
// focus frames and the hover outline; and the drawing routines the pass shares.
#include <algorithm>
#include <cmath>
#include <cstdint>

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

void TExtPageControl::DrawTabs(TCanvas* c)
{
    SetDoubleBuffered(true);
    const TTabPosition pos = TabPosition();
    const int W = Width(), H = Height();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    c->SetFont(Font());

    // Erase around the tabs and measure the strip.
    maxB_ = 0;
    minT_ = PageTabRect(0).Top;
    minL_ = W;
    maxR_ = 0;
    bool anyTab = false;
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!pages_[static_cast<std::size_t>(i)]->tabVisible_) continue;
        anyTab = true;
        TRect r = PageTabRect(i);
        maxB_ = std::max(maxB_, r.Bottom);
        minT_ = std::min(minT_, r.Top);
        minL_ = std::min(minL_, r.Left);
        maxR_ = std::max(maxR_, r.Right);
        r.Right += 2;
        switch (pos) {
        case tpTop: r.Left -= 2; r.Top -= 2; break;
        case tpBottom: r.Left -= 2; r.Bottom += 2; break;
        case tpLeft: r.Left -= 2; r.Right -= 2; r.Top -= 2; r.Bottom += 2; break;
        case tpRight: r.Top -= 2; r.Bottom += 2; break;
        }
        c->FillRect(r);
    }
    if (!anyTab) {
        switch (pos) {
        case tpTop: maxB_ = 2; break;
        case tpBottom: minT_ = H - 2; break;
        case tpLeft: maxR_ = 2; break;
        case tpRight: minL_ = W - 2; break;
        }
    }

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

    // Strip background.
    c->Brush()->SetColor(tabBackGroundColor_);
    switch (pos) {
    case tpLeft: c->FillRect(Rect(0, 0, maxR_, H - 1)); break;
    case tpRight: c->FillRect(Rect(minL_, 0, W, H - 1)); break;
    case tpTop: c->FillRect(Rect(0, 0, W, maxB_)); break;
    case tpBottom: c->FillRect(Rect(0, minT_, W, H)); break;
    }

    // The active page's colours along the inner edges of the frame.
    const int s3d = tabSheet3D_ ? 1 : 0;
    TExtTabSheet* ap = activePage_;
    const bool sheetPainted = ap && (ap->colorTo_ != clNone || ap->Color() != Color());
    if (sheetPainted) {
        TRect bands[4];
        TRect cover;
        switch (pos) {
        case tpTop:
            bands[0] = Rect(1, maxB_ + s3d, 4, H - 1);
            bands[1] = Rect(1, maxB_ + s3d, W - 1, maxB_ + 4);
            bands[2] = Rect(W - 4, maxB_ + s3d, W - 1, H - 1);
            bands[3] = Rect(1, H - 4, W - 1, H - 1);
            cover = Rect(1, maxB_ + 1, W - 1, maxB_ + 4);
            break;
        case tpBottom:
            bands[0] = Rect(1, 1, 4, minT_ - s3d);
            bands[1] = Rect(1, 1, W - 1, 4);
            bands[2] = Rect(W - 4, 1, W - 1, minT_ - s3d);
            bands[3] = Rect(1, minT_ - 4, W - 1, minT_ - s3d);
            cover = Rect(1, 1, W - 1, 4);
            break;
        case tpLeft:
            bands[0] = Rect(maxR_ + s3d, 1, maxR_ + 4, H - 1);
            bands[1] = Rect(maxR_ + s3d, 1, W - 1, 4);
            bands[2] = Rect(W - 4, 1, W - 1, H - 1);
            bands[3] = Rect(maxR_ + s3d, H - 4, W - 1, H - 1);
            cover = Rect(maxR_ + s3d, 1, W - 1, 4);
            break;
        case tpRight:
            bands[0] = Rect(1, 1, 4, H - 2);
            bands[1] = Rect(1, 1, minL_ - s3d, 4);
            bands[2] = Rect(minL_ - 4, 1, minL_ - s3d, H - 2);
            bands[3] = Rect(1, H - 4, minL_ - s3d, H - 2);
            cover = Rect(1, 1, minL_ - s3d, 4);
            break;
        }
        TRegion clip(bands[0]);
        for (int i = 1; i < 4; ++i) clip.Combine(clip, TRegion(bands[i]), RGN_OR);
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
            c->Rectangle(cover);
        }
        c->RestoreDC(saved);
    }

    const TColor border = tabSheetBorderColor_, base = Color();
    if (!tabSheet3D_) {
        // Page frame.
        switch (pos) {
        case tpTop:
            c->Pen()->SetColor(border);
            Seg(c, 0, maxB_, 0, H);
            Seg(c, 0, H - 1, W, H - 1);
            Seg(c, W - 1, H - 2, W - 1, maxB_);
            Seg(c, 0, maxB_, W, maxB_);
            if (!sheetPainted) {
                c->Pen()->SetColor(base);
                Seg(c, 1, H - 2, W - 1, H - 2);
                Seg(c, W - 2, H - 2, W - 2, maxB_);
            }
            break;
        case tpBottom:
            c->Pen()->SetColor(border);
            Seg(c, 0, 0, 0, minT_);
            Seg(c, 0, minT_ - 1, W, minT_ - 1);
            Seg(c, W - 1, minT_ - 1, W - 1, 0);
            Seg(c, 0, 0, W, 0);
            if (!sheetPainted) {
                c->Pen()->SetColor(base);
                Seg(c, 1, minT_ - 2, W - 1, minT_ - 2);
                Seg(c, W - 2, minT_ - 2, W - 2, 0);
            }
            break;
        case tpLeft:
            c->Pen()->SetColor(border);
            Seg(c, maxR_, 0, maxR_, H);
            Seg(c, maxR_, H - 2, W - 2, H - 2);
            Seg(c, W - 2, H, W - 2, 0);
            Seg(c, W - 2, 0, maxR_, 0);
            c->Pen()->SetColor(base);
            Seg(c, maxR_, H - 1, W - 1, H - 1);
            Seg(c, W - 1, H - 1, W - 1, -1);
            break;
        case tpRight:
            c->Pen()->SetColor(border);
            Seg(c, 0, 0, 0, H);
            Seg(c, 0, H, minL_, H);
            Seg(c, minL_ - 1, H, minL_ - 1, 0);
            Seg(c, minL_ - 1, 0, 0, 0);
            c->Pen()->SetColor(base);
            Seg(c, 0, H - 1, minL_, H - 1);
            if (!sheetPainted) Seg(c, minL_ - 2, H - 3, minL_ - 2, 0);
            break;
        }

        // Rounded corners away from the tabs: clear the square corner, then step in a pixel.
        if (roundEdges_) {
            switch (pos) {
            case tpTop:
                c->Pen()->SetColor(base);
                Path(c, {{0, H - 4}, {0, H - 1}, {4, H - 1}});
                Path(c, {{W - 4, H - 1}, {W - 1, H - 1}, {W - 1, H - 5}});
                c->Pen()->SetColor(border);
                Seg(c, 1, H - 4, 1, H - 2);
                Seg(c, 2, H - 2, 4, H - 2);
                Seg(c, W - 4, H - 2, W - 2, H - 2);
                Seg(c, W - 2, H - 3, W - 2, H - 5);
                break;
            case tpBottom:
                c->Pen()->SetColor(base);
                Path(c, {{0, 3}, {0, 0}, {5, 0}});
                Path(c, {{W - 1, 3}, {W - 1, 0}, {W - 5, 0}});
                c->Pen()->SetColor(border);
                Seg(c, 1, 3, 1, 1);
                Seg(c, 2, 1, 5, 0);
                Seg(c, W - 2, 3, W - 2, 1);
                Seg(c, W - 3, 1, W - 5, 1);
                break;
            case tpLeft:
                c->Pen()->SetColor(base);
                Path(c, {{W - 5, H - 2}, {W - 2, H - 2}, {W - 2, H - 6}});
                Path(c, {{W - 2, 3}, {W - 2, 0}, {W - 6, 0}});
                c->Pen()->SetColor(border);
                Seg(c, W - 5, H - 3, W - 3, H - 3);
                Seg(c, W - 3, H - 4, W - 3, H - 6);
                Seg(c, W - 3, 3, W - 3, 1);
                Seg(c, W - 4, 1, W - 6, 1);
                break;
            case tpRight:
                c->Pen()->SetColor(base);
                Path(c, {{0, 3}, {0, 0}, {5, 0}});
                Path(c, {{0, H - 5}, {0, H - 2}, {4, H - 2}});
                c->Pen()->SetColor(border);
                Seg(c, 1, 3, 1, 1);
                Seg(c, 2, 1, 5, 0);
                Seg(c, 1, H - 5, 1, H - 3);
                Seg(c, 2, H - 3, 4, H - 3);
                break;
            }
        }
    }

    // Join the tabs to the page: the frame line along the tab row goes.
    joinFlag_ = 0;
    if (!tabSheet3D_ && !tabSplitLine_ && PageCount() > 0) {
        joinFlag_ = 1;
        TColor pen = base;
        if (sheetPainted) {
            pen = pos == tpBottom ? ap->colorTo_ : ap->Color();
            // A page without a gradient end shows its own colour next to the tabs.
            if (pen == clNone) pen = ap->Color();
        }
        c->Pen()->SetColor(pen);
        switch (pos) {
        case tpTop: Seg(c, 2, maxB_, maxR_ + tabOverlap_, maxB_); break;
        case tpBottom: Seg(c, 2, minT_ - 1, maxR_ + tabOverlap_, minT_ - 1); break;
        case tpLeft: {
            const int extra = (tabStyle_ == tsClassic && !tabBackGround_->Empty()) ? 2 : 0;
            Seg(c, maxR_, 2, maxR_, maxB_ + tabOverlap_ + extra);
            break;
        }
        case tpRight: Seg(c, minL_ - 1, maxB_ - 1 + tabOverlap_, minL_ - 1, 2); break;
        }
    }

    // ---- the tabs ----
    TBitmap work;
    const bool picture = !tabBackGround_->Empty();
    const bool pictureActive = !tabBackGroundActive_->Empty();
    const int LA = lowerActive_;
    const int LM = tabMargin_->LeftMargin(), TM = tabMargin_->TopMargin();
    const bool sideways = pos == tpLeft || pos == tpRight;
    const int activeIndex = ActivePageIndex();
    int deferred = -1;
    TRect deferredR;
    int deferredX = -10, deferredY = -10;
    bool deferredOrigin = false;

    auto drawImage = [&](TExtTabSheet* page, int& x, int& y) {
        if (!images_ || page->imageIndex_ < 0) return;
        switch (pos) {
        case tpLeft: images_->Draw(c, x, y - 14, page->imageIndex_, true); y -= images_->Height(); break;
        case tpRight: images_->Draw(c, x - 14, y, page->imageIndex_, true); y += images_->Height(); break;
        default: images_->Draw(c, x - 2, y, page->imageIndex_, true); x += images_->Width(); break;
        }
    };

    for (int i = PageCount() - 1; i >= 0; --i) {
        TExtTabSheet* page = pages_[static_cast<std::size_t>(i)];
        if (!page->tabVisible_) continue;
        TRect R = PageTabRect(i);
        const TRect R0 = R;
        if (picture) work.SetSize(tabBackGround_->Width(), tabBackGround_->Height());
        const bool active = i == activeIndex;

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
        const bool gradient = fillTo != clNone;

        if (pos == tpBottom) R.Bottom += 1;
        const int sc = page->showClose_ ? 1 : 0;
        int x = 0, y = 0;
        switch (pos) {
        case tpTop: x = R.Left + 4 + 14 * sc; y = R.Top + 1 + (active ? LA : 0); break;
        case tpBottom: x = R.Left + 4 + 14 * sc; y = active ? R.Top + LA + 1 : R.Top; break;
        case tpLeft: x = R.Left + 1 + (active ? LA : 0); y = R.Bottom - 4 - 13 * sc; break;
        case tpRight: x = R.Right - 1 - (active ? LA : 0); y = R.Top + 4 + 13 * sc; break;
        }

        bool isDeferred = false;
        if (picture) {
            switch (pos) {
            case tpLeft: x -= 2; y -= 3; break;
            case tpRight: x -= TabHeight() / 3; y -= 3; break;
            case tpBottom: y += 3; break;
            case tpTop: break;
            }
            if (active && pictureActive) {
                work.Assign(*tabBackGroundActive_);
                deferred = i;
                deferredR = R;
                isDeferred = true;
            } else {
                work.Assign(*tabBackGround_);
                const int vlen = R.Bottom - R.Top + 3 + tabOverlap_;
                const int hlen = (R.Right - R.Left) + 2 + tabOverlap_;
                switch (pos) {
                case tpLeft: StretchBitmapVertically(&work, c, R.Left, R.Top, vlen); break;
                case tpRight: StretchBitmapVertically(&work, c, R.Left - 1, R.Top - 2, vlen); break;
                case tpTop: StretchBitmapHorizontally(&work, c, R.Left - 1, R.Top - 2, hlen); break;
                case tpBottom: StretchBitmapHorizontally(&work, c, R.Left - 2, R.Top - 1, hlen); break;
                }
            }
        } else {
            // Fill; the gradient leaves the outline's pixels alone.
            switch (pos) {
            case tpTop: R.Top -= 1; break;
            case tpLeft: R.Left -= 1; break;
            default: break;
            }
            if (gradient) {
                TRect g = R;
                switch (pos) {
                case tpTop: g.Bottom -= 1; if (horizontal) g.Right -= 1; break;
                case tpBottom: if (horizontal) g.Right -= 1; else g.Bottom -= 1; break;
                case tpLeft: g.Right -= 1; if (!horizontal) g.Bottom -= 1; break;
                case tpRight: if (!horizontal && !active) g.Bottom -= 1; break;
                }
                DrawTabGradient(c, fill, fillTo, 16, g, horizontal);
            } else {
                c->FillRect(R);
            }
            if (pos == tpRight) R.Right += 1;

            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(tabBorderColor_);
            const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
            if (active) {
                const bool classic = tabStyle_ == tsClassic;
                switch (pos) {
                case tpTop:
                    if (classic) Path(c, {{L, B - 1}, {L, T}, {Rt, T}, {Rt, B}});
                    else Path(c, {{L, B}, {L, T}, {Rt, T}, {Rt, B}});
                    break;
                case tpBottom:
                    if (classic) Path(c, {{L, T}, {L, B}, {Rt, B}, {Rt, T - 1}});
                    else Path(c, {{L, T - 1}, {L, B}, {Rt, B}, {Rt, T - 1}});
                    break;
                case tpLeft:
                    if (classic) Path(c, {{Rt - 1, T}, {L, T}, {L, B}, {Rt, B}});
                    else Path(c, {{Rt, T}, {L, T}, {L, B}, {Rt, B}});
                    break;
                case tpRight:
                    if (classic) Path(c, {{L, T}, {Rt - 1, T}, {Rt - 1, B}, {L - 1, B}});
                    else Path(c, {{L - 1, T}, {Rt - 1, T}, {Rt - 1, B}, {L - 1, B}});
                    break;
                }
            } else if (tabStyle_ == tsClassic) {
                if (joinFlag_ > 0) {
                    const bool short_ = (pos == tpTop && B < maxB_) || (pos == tpBottom && T > minT_) ||
                                        (pos == tpLeft && Rt < maxR_) || (pos == tpRight && L > minL_);
                    if (short_) joinFlag_ = 0;
                }
                const int jf = joinFlag_;
                const int farTB = Rt > W - 5 ? 0 : 1;
                const int farLR = B > H - 5 ? 0 : 1;
                switch (pos) {
                case tpTop: c->Rectangle(L, T, Rt + farTB, B + jf); break;
                case tpBottom: c->Rectangle(L, T - jf, Rt + farTB, B); y += 2; break;
                case tpLeft: c->Rectangle(L, T, Rt + jf, B + farLR); break;
                case tpRight: c->Rectangle(L - jf, T, Rt, B + farLR); break;
                }
                if (!tabSheet3D_ && !tabSplitLine_) joinFlag_ = 1;
            } else {
                switch (pos) {
                case tpTop: Seg(c, L, B, Rt, B); break;
                case tpBottom: Seg(c, L, T - 1, Rt, T - 1); break;
                case tpLeft: Seg(c, Rt, T, Rt, B); break;
                case tpRight: Seg(c, L - 1, T, L - 1, B); break;
                }
                TExtTabSheet* next = FindNextPage(page, true, true);
                const bool lastOfRow = sideways ? B > maxB_ - 3 : Rt > maxR_ - 3;
                if (!(next && next == activePage_ && !lastOfRow)) {
                    c->Pen()->SetColor(activeColor_);
                    if (sideways) {
                        Seg(c, L + 2, B - 2, Rt - 2, B - 2);
                        Seg(c, L + 2, B - 3, Rt - 2, B - 3);
                    } else {
                        Seg(c, Rt - 2, B - 3, Rt - 2, T + 2);
                        Seg(c, Rt - 3, B - 3, Rt - 3, T + 2);
                    }
                }
            }
        }

        // Rotated text on the sides.
        if (sideways) {
            TFont f(active ? *activeFont_ : *c->Font());
            f.SetOrientation(pos == tpLeft ? -2700 : -900);
            c->SetFont(&f);
        }
        if (pos == tpLeft) {
            x += LM;
            y -= TM;
            if (pictureActive) y += tabOverlap_ + 3;
        } else {
            x += LM;
            y += TM;
        }

        if (isDeferred) {
            if (!deferredOrigin) {
                deferredX = x;
                deferredY = y;
                deferredOrigin = true;
            }
            continue;
        }
        if (page->showClose_) DrawCloseButton(c, R0, active);
        drawImage(page, x, y);
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
    }

    if (deferred >= 0) {
        TExtTabSheet* page = pages_[static_cast<std::size_t>(deferred)];
        const TRect& R = deferredR;
        work.Assign(*tabBackGroundActive_);
        const int vlen = R.Bottom - R.Top + 3 + tabOverlap_;
        const int hlen = (R.Right - R.Left) + 2 + tabOverlap_;
        const bool lowered = LA > 0;
        switch (pos) {
        case tpTop: StretchBitmapHorizontally(&work, c, R.Left - 2, lowered ? R.Top - 1 : R.Top - 2, hlen); break;
        case tpBottom: StretchBitmapHorizontally(&work, c, R.Left - 2, lowered ? R.Top - 3 : R.Top - 1, hlen); break;
        case tpLeft: StretchBitmapVertically(&work, c, lowered ? R.Left + 1 : R.Left, R.Top, vlen); break;
        case tpRight: StretchBitmapVertically(&work, c, lowered ? R.Left - 3 : R.Left - 1, R.Top - 2, vlen); break;
        }
        if (page->showClose_) DrawCloseButton(c, R, true);
        int x = deferredX, y = deferredY;
        drawImage(page, x, y);
        c->Font()->SetColor(page->textColor_);
        c->Brush()->SetStyle(bsClear);
        if (sideways) {
            c->TextOut(x, y, page->Caption());
        } else {
            TRect tr = Rect(x, pos == tpBottom ? y - 2 : y, R.Right, R.Bottom);
            c->DrawText(page->Caption(), tr, DT_SINGLELINE | DT_NOCLIP);
        }
        DrawFocusFrame(c, R, true, tabOverlap_);
    }

    // Outline of the tab under the mouse.
    if (hoverTab_ >= 0 && hoverTab_ < PageCount() && tabHoverBorder_ != clNone && hoverTab_ != activeIndex) {
        c->Pen()->SetColor(tabHoverBorder_);
        TRect r = PageTabRect(hoverTab_);
        int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom;
        switch (pos) {
        case tpLeft:
            L -= 1; T -= 2;
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
    c->Brush()->SetStyle(bsSolid);
    c->SetFont(Font());
}

} // namespace controls
