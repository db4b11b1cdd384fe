// Raster-op copies between canvases, bitmap drawing and transparency.
#include <cstring>
#include <algorithm>
#include <vector>

#include "CanvasImpl.h"
#include "GfxNative.h"

namespace plat {

namespace {

struct BltSource {
    TCanvas::Impl* d = nullptr;
    QImage copy;              // when source and destination share pixels
    const QImage* img = nullptr;
    bool mono = false;
    std::uint32_t bk = 0;     // source background colour (colour -> monochrome)
};

// Copies w x h (stretched from sw x sh when they differ) with the three-operand code.
// `key` >= 0 leaves out source pixels of that RGB value (transparent drawing).
bool Blt(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh,
         TCopyMode rop, std::int64_t key) {
    if (!dest || w <= 0 || h <= 0) return false;
    TCanvas::Impl& d = *CanvasAccess::Of(dest);
    const std::uint8_t op = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
    const bool usesSource = gfx::RopUsesSource(op);
    BltSource s;
    if (usesSource) {
        if (!src || sw <= 0 || sh <= 0) return false;
        s.d = CanvasAccess::Of(src);
        if (!s.d->Ready()) return false;
        s.img = s.d->image;
        s.mono = s.d->monochrome;
        s.bk = gfx::ToPixel(ColorToRGB(s.d->BkColorNow())) & 0xFFFFFF;
        sx += s.d->tx();
        sy += s.d->ty();
    }
    if (!d.Ready()) return false;
    if (usesSource && s.img == d.image && op == 0xCC && sw == w && sh == h && key < 0 && d.clipRects.size() == 1) {
        // An unscaled copy within one surface under one clip rectangle (a scroll): rows are
        // moved in the order that reads every source row before it is overwritten.
        CanvasAccess::BeginDraw(dest);
        const int dx0 = x + d.tx(), dy0 = y + d.ty();
        const QRect target = QRect(dx0, dy0, w, h) & d.clipRects.front() & d.image->rect();
        const int rows = target.isEmpty() ? 0 : target.height();
        const bool upward = sy >= dy0;
        for (int i = 0; i < rows; ++i) {
            const int ty = upward ? target.top() + i : target.bottom() - i;
            const int syy = sy + (ty - dy0);
            if (syy < 0 || syy >= d.image->height()) continue;
            // Source columns outside the surface are left out, as the pixel loop does.
            const int a = std::max(target.left(), dx0 - sx), b = std::min(target.right() + 1, dx0 - sx + d.image->width());
            if (a >= b) continue;
            std::uint32_t* row = d.Row(ty);
            const std::uint32_t* srow = reinterpret_cast<const std::uint32_t*>(d.image->constScanLine(syy));
            std::memmove(row + a, srow + (a - dx0 + sx), static_cast<std::size_t>(b - a) * sizeof(std::uint32_t));
            for (int tx = a; tx < b; ++tx) row[tx] |= 0xFF000000u;
        }
        CanvasAccess::EndDraw(dest);
        return true;
    }
    if (usesSource && s.img == d.image) {
        // Overlapping copies within one surface read from a snapshot of the source.
        s.copy = s.img->copy();
        s.img = &s.copy;
    }
    CanvasAccess::BeginDraw(dest);
    const int dx0 = x + d.tx(), dy0 = y + d.ty();
    const std::uint32_t text = d.Px(ColorToRGB(d.TextColorNow()));
    const std::uint32_t back = d.Px(ColorToRGB(d.BkColorNow()));
    const bool usesPattern = gfx::RopUsesPattern(op);
    const TBrushStyle brushStyle = d.brush.Style();
    const bool clearBrush = brushStyle == bsClear || d.brush.Color() == clNone;
    const std::uint32_t brush = clearBrush ? 0xFF000000u : d.Px(ColorToRGB(d.BrushColor()));
    const QRect target = QRect(dx0, dy0, w, h) & d.clipBounds;
    if (target.isEmpty()) {
        CanvasAccess::EndDraw(dest);
        return true;
    }
    // Source column of every target column (nearest neighbour), -1 outside the source.
    std::vector<int> xmap;
    if (usesSource) {
        xmap.resize(static_cast<std::size_t>(target.width()));
        for (int tx = target.left(); tx <= target.right(); ++tx) {
            const int sxx = sx + static_cast<int>((static_cast<long long>(tx - dx0) * sw) / w);
            xmap[static_cast<std::size_t>(tx - target.left())] = (sxx >= 0 && sxx < s.img->width()) ? sxx : -1;
        }
    }
    const bool convertMonoToColour = usesSource && s.mono && !d.monochrome;
    const bool convertColourToMono = usesSource && !s.mono && d.monochrome;
    const bool patterned = usesPattern && brushStyle != bsClear && d.brush.HasPattern();
    const bool hatched = usesPattern && !clearBrush && brushStyle != bsSolid && !patterned;
    const bool plainCopy = op == 0xCC && !convertMonoToColour && !convertColourToMono;
    const std::uint32_t keyValue = static_cast<std::uint32_t>(key);
    for (int ty = target.top(); ty <= target.bottom(); ++ty) {
        std::uint32_t* row = d.Row(ty);
        const std::uint32_t* srow = nullptr;
        if (usesSource) {
            const int syy = sy + static_cast<int>((static_cast<long long>(ty - dy0) * sh) / h);
            if (syy < 0 || syy >= s.img->height()) continue;
            srow = reinterpret_cast<const std::uint32_t*>(s.img->constScanLine(syy));
        }
        for (const QRect& cr : d.clipRects) {
            if (ty < cr.top() || ty > cr.bottom()) continue;
            const int a = std::max(target.left(), cr.left()), b = std::min(target.right(), cr.right()) + 1;
            const int* xm = usesSource ? xmap.data() - target.left() : nullptr;
            if (plainCopy) {
                for (int tx = a; tx < b; ++tx) {
                    const int sxx = xm[tx];
                    if (sxx < 0) continue;
                    const std::uint32_t sp = srow[sxx];
                    if (key >= 0 && (sp & 0xFFFFFF) == keyValue) continue;
                    row[tx] = sp | 0xFF000000u;
                }
                continue;
            }
            for (int tx = a; tx < b; ++tx) {
                std::uint32_t sp = 0;
                if (usesSource) {
                    const int sxx = xm[tx];
                    if (sxx < 0) continue;
                    sp = srow[sxx];
                    if (key >= 0 && (sp & 0xFFFFFF) == keyValue) continue;
                    if (convertMonoToColour) sp = (sp & 0xFFFFFF) ? back : text;
                    else if (convertColourToMono) sp = (sp & 0xFFFFFF) == s.bk ? 0xFFFFFFFFu : 0xFF000000u;
                }
                std::uint32_t pp = brush;
                if (patterned) pp = d.BrushBit(tx, ty) ? back : text;
                else if (hatched) pp = d.BrushBit(tx, ty) ? brush : back;
                row[tx] = gfx::ApplyRop3(op, pp, sp, row[tx]);
            }
        }
    }
    CanvasAccess::EndDraw(dest);
    return true;
}

} // namespace

bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, TCopyMode rop) {
    return Blt(dest, x, y, w, h, src, sx, sy, w, h, rop, -1);
}

namespace {
TRect Intersect(const TRect& A, const TRect& B)
{
    const TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}
} // namespace

bool ScrollDC(TCanvas* canvas, int Dx, int Dy, const TRect& Scroll, const TRect& Clip, TRect* Update) {
    if (!canvas) return false;
    const TRect source = Intersect(Scroll, Clip);
    const TRect moved = Intersect({Scroll.Left + Dx, Scroll.Top + Dy, Scroll.Right + Dx, Scroll.Bottom + Dy}, Clip);
    if (Update) {
        // What of the source the moved pixels do not cover: one strip for a move along an
        // axis, the whole source when the move leaves nothing of it covered, else its box.
        TRect u = source;
        if (!source.IsEmpty() && !moved.IsEmpty() && (Dx == 0 || Dy == 0)) {
            if (Dy > 0) u.Bottom = std::min(source.Bottom, moved.Top);
            if (Dy < 0) u.Top = std::max(source.Top, moved.Bottom);
            if (Dx > 0) u.Right = std::min(source.Right, moved.Left);
            if (Dx < 0) u.Left = std::max(source.Left, moved.Right);
        }
        if (Dx == 0 && Dy == 0) u = {};
        *Update = u.IsEmpty() ? TRect{} : u;
    }
    if ((Dx == 0 && Dy == 0) || moved.IsEmpty()) return true;
    const int saved = canvas->SaveDC();
    canvas->IntersectClipRect(Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
    // The copy reads a snapshot of the surface, so source and target may overlap.
    BitBlt(canvas, Scroll.Left + Dx, Scroll.Top + Dy, Scroll.Width(), Scroll.Height(), canvas, Scroll.Left, Scroll.Top, SRCCOPY);
    canvas->RestoreDC(saved);
    return true;
}

bool StretchBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, TCopyMode rop) {
    return Blt(dest, x, y, w, h, src, sx, sy, sw, sh, rop, -1);
}

bool PatBlt(TCanvas* dest, int x, int y, int w, int h, TCopyMode rop) {
    return Blt(dest, x, y, w, h, nullptr, 0, 0, 0, 0, rop, -1);
}

bool MaskedCopy(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, TCanvas* mask, int mx, int my) {
    if (!dest || !src || !mask || w <= 0 || h <= 0) return false;
    TCanvas::Impl& d = *CanvasAccess::Of(dest);
    TCanvas::Impl& s = *CanvasAccess::Of(src);
    TCanvas::Impl& m = *CanvasAccess::Of(mask);
    if (!s.Ready() || !m.Ready() || !d.Ready()) return false;
    // Reads come from snapshots, so a copy within one surface sees the original pixels.
    const QImage simg = s.image->copy();
    const QImage mimg = m.image->copy();
    CanvasAccess::BeginDraw(dest);
    const int dx0 = x + d.tx(), dy0 = y + d.ty();
    const int sx0 = sx + s.tx(), sy0 = sy + s.ty();
    const int mx0 = mx + m.tx(), my0 = my + m.ty();
    const QRect target = QRect(dx0, dy0, w, h) & d.clipBounds;
    for (int ty = target.top(); ty <= target.bottom() && !target.isEmpty(); ++ty) {
        const int syy = sy0 + ty - dy0, myy = my0 + ty - dy0;
        if (syy < 0 || syy >= simg.height() || myy < 0 || myy >= mimg.height()) continue;
        const auto* srow = reinterpret_cast<const std::uint32_t*>(simg.constScanLine(syy));
        const auto* mrow = reinterpret_cast<const std::uint32_t*>(mimg.constScanLine(myy));
        std::uint32_t* row = d.Row(ty);
        for (const QRect& cr : d.clipRects) {
            if (ty < cr.top() || ty > cr.bottom()) continue;
            const int a = std::max(target.left(), cr.left()), b = std::min(target.right(), cr.right()) + 1;
            for (int tx = a; tx < b; ++tx) {
                const int sxx = sx0 + tx - dx0, mxx = mx0 + tx - dx0;
                if (sxx < 0 || sxx >= simg.width() || mxx < 0 || mxx >= mimg.width()) continue;
                // Black mask pixels (by the monochrome brightness rule) select the source.
                if (gfx::Quantize(mrow[mxx]) != 0xFF000000u) continue;
                const std::uint32_t sp = srow[sxx] | 0xFF000000u;
                row[tx] = d.monochrome ? gfx::Quantize(sp) : sp;
            }
        }
    }
    CanvasAccess::EndDraw(dest);
    return true;
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
    Blt(this, dest.Left, dest.Top, dest.Width(), dest.Height(), source, src.Left, src.Top, src.Width(), src.Height(),
        impl_->copyMode, -1);
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    graphic->Draw(this, r);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& r) const {
    if (Empty() || !canvas) return;
    TCanvas* src = const_cast<TBitmap*>(this)->Canvas();
    const std::int64_t key = Transparent() ? static_cast<std::int64_t>(gfx::ToPixel(ColorToRGB(TransparentColor())) & 0xFFFFFF) : -1;
    const TCopyMode mode = Transparent() ? SRCCOPY : canvas->CopyMode();
    Blt(canvas, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, Width(), Height(), mode, key);
}

} // namespace plat
