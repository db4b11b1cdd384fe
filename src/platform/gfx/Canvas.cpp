// The canvas: state, clipping, lines, shapes, pixels.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "CanvasImpl.h"
#include "GfxNative.h"

namespace plat {

using gfx::ApplyRop2;

namespace gfx {

bool HatchBit(TBrushStyle style, int x, int y) {
    const int mx = x & 7, my = y & 7;
    switch (style) {
    case bsHorizontal: return my == 7;
    case bsVertical: return mx == 7;
    case bsFDiagonal: return ((mx + my) & 7) == 7;   // "\" falling to the right
    case bsBDiagonal: return ((mx - my) & 7) == 0;   // "/"
    case bsCross: return mx == 7 || my == 7;
    case bsDiagCross: return ((mx + my) & 7) == 7 || ((mx - my) & 7) == 0;
    default: return true;
    }
}

} // namespace gfx

// ---------------------------------------------------------------- state

bool TCanvas::Impl::Ready() {
    if (!image) CanvasAccess::CallCreateHandle(owner);
    if (!image || image->isNull()) return false;
    SyncState();
    // The owner may have replaced the image behind the canvas (resized surface).
    if (clipDirty || image->size() != clipImageSize) UpdateClip();
    return true;
}

void TCanvas::Impl::SyncState() {
    if (pen.Mode() != appliedPenMode) {
        appliedPenMode = pen.Mode();
        rop2 = PenModeToRop2(appliedPenMode);
    }
    if (brush.Color() != appliedBrushColor || brush.Style() != appliedBrushStyle) {
        appliedBrushColor = brush.Color();
        appliedBrushStyle = brush.Style();
        if (appliedBrushStyle == bsSolid) {
            bkColor = appliedBrushColor;
            bkMode = OPAQUE;
        } else {
            bkMode = TRANSPARENT;
        }
    }
    if (font.Color() != appliedFontColor) {
        appliedFontColor = font.Color();
        textColor = appliedFontColor;
    }
}

void TCanvas::Impl::UpdateClip() {
    clipDirty = false;
    clipRects.clear();
    if (!image) return;
    const QRect imageRect = image->rect();
    clipImageSize = image->size();
    if (!baseClip && !userClip) {
        clipRects.push_back(imageRect);
        clipBounds = imageRect;
        clipIsImage = true;
        return;
    }
    QRegion r(imageRect);
    if (baseClip) r &= *baseClip;
    if (userClip) r &= userClip->translated(offset);
    for (const QRect& rc : r) clipRects.push_back(rc);
    clipBounds = r.boundingRect();
    clipIsImage = false;
}

bool TCanvas::Impl::Visible(int sx, int sy) const {
    if (!clipBounds.contains(sx, sy)) return false;
    if (clipRects.size() == 1) return true;
    for (const QRect& r : clipRects)
        if (r.contains(sx, sy)) return true;
    return false;
}

const QFont& TCanvas::Impl::CurrentFont() {
    const unsigned styleKey = font.Style().Bits() | (static_cast<unsigned>(font.Pitch()) << 8);
    if (!fontCacheValid || cachedName != font.Name() || cachedHeight != font.Height() || cachedStyle != styleKey) {
        qfont = gfx::ToQFont(font);
        metrics.emplace(qfont);
        fontKey = font.Name() + u'|';
        for (char ch : std::to_string(font.Height()) + "|" + std::to_string(styleKey)) fontKey += static_cast<char16_t>(ch);
        fontKey += u'|';
        cachedName = font.Name();
        cachedHeight = font.Height();
        cachedStyle = styleKey;
        fontCacheValid = true;
    }
    return qfont;
}

const QFontMetrics& TCanvas::Impl::Metrics() {
    CurrentFont();
    return *metrics;
}

bool TCanvas::Impl::PatternOn() {
    const TPenStyle style = pen.Style();
    if (style == psSolid || style == psInsideFrame || pen.Width() > 1) return true;
    const std::vector<int>& pat = PenPattern(style);
    int total = 0;
    for (int n : pat) total += n;
    int pos = patternPhase % total;
    ++patternPhase;
    for (std::size_t i = 0; i < pat.size(); ++i) {
        if (pos < pat[i]) return (i % 2) == 0;
        pos -= pat[i];
    }
    return true;
}

// ---------------------------------------------------------------- pixel engine

void TCanvas::Impl::SpanRop2(int sy, int x0, int x1, std::uint32_t color, int rop) {
    if (x0 >= x1 || rop == R2_NOP) return;
    if (sy < clipBounds.top() || sy > clipBounds.bottom()) return;
    std::uint32_t* row = Row(sy);
    for (const QRect& r : clipRects) {
        if (sy < r.top() || sy > r.bottom()) continue;
        const int a = std::max(x0, r.left()), b = std::min(x1, r.right() + 1);
        if (a >= b) continue;
        if (rop == R2_COPYPEN) {
            std::fill(row + a, row + b, color);
        } else {
            for (int x = a; x < b; ++x) row[x] = ApplyRop2(rop, color, row[x]);
            if (monochrome)
                for (int x = a; x < b; ++x) row[x] = gfx::Quantize(row[x]);
        }
    }
}

void TCanvas::Impl::PixelRop2(int sx, int sy, std::uint32_t color, int rop) {
    if (rop == R2_NOP || !Visible(sx, sy)) return;
    std::uint32_t& px = Row(sy)[sx];
    px = rop == R2_COPYPEN ? color : ApplyRop2(rop, color, px);
}

void TCanvas::Impl::SpanBrush(int sy, int x0, int x1, int rop) {
    const TBrushStyle style = brush.Style();
    if (style == bsClear) return;
    const int op = rop < 0 ? R2_COPYPEN : rop;
    if (brush.HasPattern()) {
        // 0 bits in the text colour, 1 bits in the background colour, always opaque.
        const std::uint32_t text = Px(ColorToRGB(TextColorNow()));
        const std::uint32_t bk = Px(ColorToRGB(BkColorNow()));
        for (int x = x0; x < x1; ++x) PixelRop2(x, sy, BrushBit(x, sy) ? bk : text, op);
        return;
    }
    if (brush.Color() == clNone) return;
    const std::uint32_t color = Px(ColorToRGB(BrushColor()));
    if (style == bsSolid) {
        SpanRop2(sy, x0, x1, color, op);
        return;
    }
    // Hatched: lines in the brush colour, the gaps in the background colour when opaque.
    const bool opaque = bkMode == OPAQUE;
    const std::uint32_t bk = Px(ColorToRGB(BkColorNow()));
    for (int x = x0; x < x1; ++x) {
        if (BrushBit(x, sy))
            PixelRop2(x, sy, color, op);
        else if (opaque)
            PixelRop2(x, sy, bk, op);
    }
}

void TCanvas::Impl::FillRectBrush(QRect r, int rop) {
    r &= clipBounds;
    if (r.isEmpty()) return;
    for (int y = r.top(); y <= r.bottom(); ++y) SpanBrush(y, r.left(), r.right() + 1, rop);
}

// Paints the pixels of `mask` (alpha != 0) placed at `at` in the colour, skipping those set
// in `exclude` (the same size), so an outline and a fill never touch a pixel twice.
void TCanvas::Impl::PaintMask(const QImage& mask, QPoint at, std::uint32_t color, int rop, const QImage* exclude) {
    for (int y = 0; y < mask.height(); ++y) {
        const auto* m = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        const auto* e = exclude ? reinterpret_cast<const std::uint32_t*>(exclude->constScanLine(y)) : nullptr;
        for (int x = 0; x < mask.width(); ++x) {
            if (!(m[x] >> 24)) continue;
            if (e && (e[x] >> 24)) continue;
            PixelRop2(at.x() + x, at.y() + y, color, rop);
        }
    }
}

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas() : impl_(std::make_unique<Impl>()) { impl_->owner = this; }

TCanvas::~TCanvas() = default;

TPen* TCanvas::Pen() const { return &impl_->pen; }
void TCanvas::SetPen(const TPen* pen) { if (pen) impl_->pen.Assign(*pen); }
TBrush* TCanvas::Brush() const { return &impl_->brush; }
void TCanvas::SetBrush(const TBrush* brush) { if (brush) impl_->brush.Assign(*brush); }
TFont* TCanvas::Font() const { return &impl_->font; }
void TCanvas::SetFont(const TFont* font) { if (font) impl_->font.Assign(*font); }
TCopyMode TCanvas::CopyMode() const { return impl_->copyMode; }
void TCanvas::SetCopyMode(TCopyMode mode) { impl_->copyMode = mode; }
TPoint TCanvas::PenPos() const { return impl_->penPos; }
void TCanvas::SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
bool TCanvas::HandleAllocated() const { return impl_->image != nullptr; }

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) {
    impl_->penPos = {x, y};
    impl_->patternPhase = 0;
}

namespace {

// Pens wider than one pixel: a flat-capped stroke centred on the one-pixel line, from the
// start pixel up to (not into) the end pixel.
void WideLine(TCanvas::Impl& d, int x0, int y0, int x1, int y1) {
    const int w = d.pen.Width();
    const double len = std::hypot(double(x1 - x0), double(y1 - y0));
    if (len < 0.5) return;
    const int pad = w + 2;
    const QRect box = QRect(QPoint(std::min(x0, x1) - pad, std::min(y0, y1) - pad),
                            QPoint(std::max(x0, x1) + pad, std::max(y0, y1) + pad)) &
                      d.clipBounds.adjusted(-pad, -pad, pad, pad);
    if (box.isEmpty()) return;
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        const double ux = (x1 - x0) / len, uy = (y1 - y0) / len;
        const QPointF a(x0 - box.left() + 0.5 - 0.5 * ux, y0 - box.top() + 0.5 - 0.5 * uy);
        const QPointF b(x1 - box.left() + 0.5 - 0.5 * ux, y1 - box.top() + 0.5 - 0.5 * uy);
        p.drawLine(a, b);
    }
    d.PaintMask(mask, box.topLeft(), d.Px(ColorToRGB(d.PenColor())), d.rop2, nullptr);
}

bool PenDraws(const TCanvas::Impl& d) { return d.pen.Style() != psClear && d.pen.Color() != clNone; }

} // namespace

void TCanvas::LineTo(int x, int y) {
    Impl& d = *impl_;
    const TPoint from = d.penPos;
    d.penPos = {x, y};
    if (!d.Ready() || !PenDraws(d)) return;
    Changing();
    const int x0 = from.X + d.tx(), y0 = from.Y + d.ty(), x1 = x + d.tx(), y1 = y + d.ty();
    const QRect& cb = d.clipBounds;
    if ((x0 < cb.left() && x1 < cb.left()) || (x0 > cb.right() && x1 > cb.right()) ||
        (y0 < cb.top() && y1 < cb.top()) || (y0 > cb.bottom() && y1 > cb.bottom())) {
        // Wholly outside: only the pen pattern moves on.
        if (d.pen.Width() <= 1) d.patternPhase += std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        Changed();
        return;
    }
    if (d.pen.Width() > 1) {
        WideLine(d, x0, y0, x1, y1);
    } else {
        const std::uint32_t color = d.Px(ColorToRGB(d.PenColor()));
        const bool opaqueGaps = d.bkMode == OPAQUE;
        const std::uint32_t bk = d.Px(ColorToRGB(d.BkColorNow()));
        const int rop = d.rop2;
        d.Line(x0, y0, x1, y1, [&](int px, int py, bool on) {
            if (on) d.PixelRop2(px, py, color, rop);
            else if (opaqueGaps) d.PixelRop2(px, py, bk, rop);
        });
    }
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    // The pen position is kept, as the platform's polyline leaves it alone.
    const TPoint saved = impl_->penPos;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
    impl_->penPos = saved;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Impl& d = *impl_;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (!d.Ready()) return;
    Changing();
    const bool pen = PenDraws(d);
    const int tx = d.tx(), ty = d.ty();
    if (!pen) {
        d.FillRectBrush(QRect(QPoint(x1 + tx, y1 + ty), QPoint(x2 - 1 + tx, y2 - 1 + ty)), d.rop2);
        Changed();
        return;
    }
    if (x2 - x1 > 2 && y2 - y1 > 2)
        d.FillRectBrush(QRect(QPoint(x1 + 1 + tx, y1 + 1 + ty), QPoint(x2 - 2 + tx, y2 - 2 + ty)), d.rop2);
    if (d.pen.Width() > 1) {
        const TPoint saved = d.penPos;
        const int w = d.pen.Width(), h = w / 2;
        // Wide outlines are centred on the one-pixel outline.
        for (int i = -h; i < w - h; ++i) {
            TPen keep = d.pen;
            d.pen.SetWidth(1);
            const int l = x1 + i, t = y1 + i, r = x2 - 1 - i, b = y2 - 1 - i;
            if (r >= l && b >= t) {
                MoveTo(l, t); LineTo(r, t); LineTo(r, b); LineTo(l, b); LineTo(l, t);
                if (r == l || b == t) d.PixelRop2(r + tx, b + ty, d.Px(ColorToRGB(d.PenColor())), d.rop2);
            }
            d.pen = keep;
        }
        d.penPos = saved;
        Changed();
        return;
    }
    const std::uint32_t color = d.Px(ColorToRGB(d.PenColor()));
    const bool opaqueGaps = d.bkMode == OPAQUE;
    const std::uint32_t bk = d.Px(ColorToRGB(d.BkColorNow()));
    const int rop = d.rop2;
    auto plot = [&](int px, int py, bool on) {
        if (on) d.PixelRop2(px, py, color, rop);
        else if (opaqueGaps) d.PixelRop2(px, py, bk, rop);
    };
    const int l = x1 + tx, t = y1 + ty, r = x2 - 1 + tx, b = y2 - 1 + ty;
    d.patternPhase = 0;
    const TPenStyle style = d.pen.Style();
    if (r == l || b == t) {
        // Degenerate: a single row or column, every pixel once.
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) plot(x, y, d.PatternOn());
    } else if (rop == R2_COPYPEN && (style == psSolid || style == psInsideFrame)) {
        // A solid outline copied over the pixels: the same pixels as the lines, set by spans.
        d.SpanRop2(t, l, r + 1, color, rop);
        d.SpanRop2(b, l, r + 1, color, rop);
        for (int y = t + 1; y < b; ++y) {
            d.SpanRop2(y, l, l + 1, color, rop);
            d.SpanRop2(y, r, r + 1, color, rop);
        }
    } else {
        d.Line(l, t, r, t, plot);
        d.Line(r, t, r, b, plot);
        d.Line(r, b, l, b, plot);
        d.Line(l, b, l, t, plot);
    }
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    Impl& d = *impl_;
    if (r.IsEmpty() || !d.Ready()) return;
    Changing();
    d.FillRectBrush(QRect(r.Left + d.tx(), r.Top + d.ty(), r.Width(), r.Height()), -1);
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Impl& d = *impl_;
    if (r.IsEmpty() || !d.Ready()) return;
    Changing();
    const int l = r.Left + d.tx(), t = r.Top + d.ty(), w = r.Width(), h = r.Height();
    d.FillRectBrush(QRect(l, t, w, 1), -1);
    if (h > 1) d.FillRectBrush(QRect(l, t + h - 1, w, 1), -1);
    if (h > 2) {
        d.FillRectBrush(QRect(l, t + 1, 1, h - 2), -1);
        if (w > 1) d.FillRectBrush(QRect(l + w - 1, t + 1, 1, h - 2), -1);
    }
    Changed();
}

void TCanvas::InvertRect(const TRect& r) {
    Impl& d = *impl_;
    if (r.IsEmpty() || !d.Ready()) return;
    Changing();
    const QRect s = QRect(r.Left + d.tx(), r.Top + d.ty(), r.Width(), r.Height()) & d.clipBounds;
    for (int y = s.top(); y <= s.bottom(); ++y) d.SpanRop2(y, s.left(), s.right() + 1, 0, R2_NOT);
    Changed();
}

namespace {

// Fills and outlines a curved shape through masks drawn by Qt (no antialiasing); the
// bounding rectangle loses its right and bottom pixel, as the platform's shapes do.
void CurvedShape(TCanvas::Impl& d, const QRect& box, const std::function<void(QPainter&, const QRectF&)>& draw) {
    // Masks cover only what can show, so huge shapes cost no more than the clip.
    const QRect area = box.adjusted(-2, -2, 2, 2) & d.clipBounds.adjusted(-2, -2, 2, 2);
    if (area.isEmpty()) return;
    const QRectF shape(box.left() - area.left(), box.top() - area.top(), box.width() - 1, box.height() - 1);
    QImage outline(area.size(), QImage::Format_ARGB32_Premultiplied);
    outline.fill(0);
    const bool pen = PenDraws(d);
    if (pen) {
        QPainter p(&outline);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, d.pen.Width() <= 1 ? 0 : d.pen.Width()));
        p.setBrush(Qt::NoBrush);
        draw(p, shape);
    }
    if (d.brush.Style() != bsClear && d.brush.Color() != clNone) {
        QImage fill(area.size(), QImage::Format_ARGB32_Premultiplied);
        fill.fill(0);
        {
            QPainter p(&fill);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            draw(p, shape);
        }
        const int rop = d.rop2;
        for (int y = 0; y < fill.height(); ++y) {
            const auto* m = reinterpret_cast<const std::uint32_t*>(fill.constScanLine(y));
            const auto* e = reinterpret_cast<const std::uint32_t*>(outline.constScanLine(y));
            int x = 0;
            while (x < fill.width()) {
                while (x < fill.width() && (!(m[x] >> 24) || (e[x] >> 24))) ++x;
                const int s = x;
                while (x < fill.width() && (m[x] >> 24) && !(e[x] >> 24)) ++x;
                if (x > s) d.SpanBrush(area.top() + y, area.left() + s, area.left() + x, rop);
            }
        }
    }
    if (pen) d.PaintMask(outline, area.topLeft(), d.Px(ColorToRGB(d.PenColor())), d.rop2, nullptr);
}

} // namespace

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch) {
    Impl& d = *impl_;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1 || !d.Ready()) return;
    Changing();
    const QRect box(x1 + d.tx(), y1 + d.ty(), x2 - x1, y2 - y1);
    CurvedShape(d, box, [cw, ch](QPainter& p, const QRectF& r) {
        p.drawRoundedRect(r, std::abs(cw) / 2.0, std::abs(ch) / 2.0);
    });
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Impl& d = *impl_;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1 || !d.Ready()) return;
    Changing();
    const QRect box(x1 + d.tx(), y1 + d.ty(), x2 - x1, y2 - y1);
    CurvedShape(d, box, [](QPainter& p, const QRectF& r) { p.drawEllipse(r); });
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    Impl& d = *impl_;
    if (points.size() < 2 || !d.Ready()) return;
    Changing();
    int minX = points[0].X, minY = points[0].Y, maxX = minX, maxY = minY;
    for (const TPoint& p : points) {
        minX = std::min(minX, p.X); maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y); maxY = std::max(maxY, p.Y);
    }
    const int tx = d.tx(), ty = d.ty();
    const QRect area = QRect(minX + tx - 2, minY + ty - 2, maxX - minX + 5, maxY - minY + 5) & d.clipBounds.adjusted(-2, -2, 2, 2);
    if (area.isEmpty()) {
        Changed();
        return;
    }
    // Outline: the platform's lines, closed, every vertex drawn once.
    QImage outline(area.size(), QImage::Format_ARGB32_Premultiplied);
    outline.fill(0);
    QImage gaps(area.size(), QImage::Format_ARGB32_Premultiplied);
    gaps.fill(0);
    const bool pen = PenDraws(d);
    if (pen) {
        d.patternPhase = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint a = points[i], b = points[(i + 1) % points.size()];
            d.Line(a.X + tx - area.left(), a.Y + ty - area.top(), b.X + tx - area.left(), b.Y + ty - area.top(),
                   [&](int px, int py, bool on) {
                       if (px < 0 || py < 0 || px >= area.width() || py >= area.height()) return;
                       if (on) outline.setPixel(px, py, 0xFF000000u);
                       else gaps.setPixel(px, py, 0xFF000000u);
                   });
        }
    }
    if (d.brush.Style() != bsClear && d.brush.Color() != clNone) {
        QImage fill(area.size(), QImage::Format_ARGB32_Premultiplied);
        fill.fill(0);
        {
            QPainter p(&fill);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            QPolygonF poly;
            for (const TPoint& pt : points) poly << QPointF(pt.X + tx - area.left() + 0.5, pt.Y + ty - area.top() + 0.5);
            p.drawPolygon(poly, Qt::OddEvenFill);
        }
        for (int y = 0; y < fill.height(); ++y) {
            const auto* m = reinterpret_cast<const std::uint32_t*>(fill.constScanLine(y));
            const auto* e = reinterpret_cast<const std::uint32_t*>(outline.constScanLine(y));
            const auto* g = reinterpret_cast<const std::uint32_t*>(gaps.constScanLine(y));
            for (int x = 0; x < fill.width(); ++x)
                if ((m[x] >> 24) && !(e[x] >> 24) && !(g[x] >> 24)) d.SpanBrush(area.top() + y, area.left() + x, area.left() + x + 1, d.rop2);
        }
    }
    if (pen) {
        d.PaintMask(outline, area.topLeft(), d.Px(ColorToRGB(d.PenColor())), d.rop2, nullptr);
        if (d.bkMode == OPAQUE) d.PaintMask(gaps, area.topLeft(), d.Px(ColorToRGB(d.BkColorNow())), d.rop2, nullptr);
    }
    Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    Impl& d = *impl_;
    if (!d.Ready()) return;
    const int sx0 = x + d.tx(), sy0 = y + d.ty();
    if (!d.Visible(sx0, sy0)) return;
    Changing();
    const std::uint32_t key = gfx::ToPixel(ColorToRGB(color)) & 0xFFFFFF;
    const QRect b = d.clipBounds;
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(b.width()) * b.height(), 0);
    auto inside = [&](int px, int py) {
        if (!d.Visible(px, py)) return false;
        std::uint8_t& s = seen[static_cast<std::size_t>(py - b.top()) * b.width() + (px - b.left())];
        if (s) return false;
        const std::uint32_t c = d.Row(py)[px] & 0xFFFFFF;
        const bool in = style == fsSurface ? c == key : c != key;
        if (in) s = 1;
        return in;
    };
    std::vector<QPoint> stack;
    if (inside(sx0, sy0)) stack.push_back({sx0, sy0});
    std::vector<QPoint> filled;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        filled.push_back(p);
        const QPoint n[4] = {{p.x() + 1, p.y()}, {p.x() - 1, p.y()}, {p.x(), p.y() + 1}, {p.x(), p.y() - 1}};
        for (const QPoint& q : n)
            if (inside(q.x(), q.y())) stack.push_back(q);
    }
    for (const QPoint& p : filled) d.SpanBrush(p.y(), p.x(), p.x() + 1, -1);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Impl& d = *impl_;
    if (r.IsEmpty() || !d.Ready()) return;
    Changing();
    const int l = r.Left + d.tx(), t = r.Top + d.ty(), rr = r.Right - 1 + d.tx(), b = r.Bottom - 1 + d.ty();
    auto dot = [&](int sx, int sy) {
        if (((d.devX(sx) + d.devY(sy)) & 1) == 0) d.PixelRop2(sx, sy, 0, R2_NOT);
    };
    for (int x = l; x <= rr; ++x) dot(x, t);
    if (b > t)
        for (int x = l; x <= rr; ++x) dot(x, b);
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (rr > l) dot(rr, y);
    }
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    Impl& d = *impl_;
    if (!d.Ready()) return CLR_INVALID;
    const int sx = x + d.tx(), sy = y + d.ty();
    if (!d.Visible(sx, sy)) return CLR_INVALID;
    return gfx::FromPixel(d.Row(sy)[sx]);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Impl& d = *impl_;
    if (color == clNone || !d.Ready()) return;
    Changing();
    d.PixelRop2(x + d.tx(), y + d.ty(), d.Px(ColorToRGB(color)), R2_COPYPEN);
    Changed();
}

// ---------------------------------------------------------------- DC state

TColor TCanvas::SetBkColor(TColor color) {
    impl_->SyncState();
    const TColor old = impl_->bkColor;
    impl_->bkColor = color;
    return old;
}

TColor TCanvas::BkColor() {
    impl_->SyncState();
    return impl_->bkColor;
}

int TCanvas::SetBkMode(int mode) {
    impl_->SyncState();
    const int old = impl_->bkMode;
    impl_->bkMode = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
    return old;
}

int TCanvas::BkMode() {
    impl_->SyncState();
    return impl_->bkMode;
}

TColor TCanvas::SetTextColor(TColor color) {
    impl_->SyncState();
    const TColor old = impl_->textColor;
    impl_->textColor = color;
    return old;
}

TColor TCanvas::TextColor() {
    impl_->SyncState();
    return impl_->textColor;
}

int TCanvas::SetROP2(int rop2) {
    impl_->SyncState();
    const int old = impl_->rop2;
    if (rop2 >= R2_BLACK && rop2 <= R2_WHITE) impl_->rop2 = rop2;
    return old;
}

// ---------------------------------------------------------------- clipping

namespace {

int RegionKind(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

int TCanvas::SelectClipRgn(const TRegion* rgn) {
    Impl& d = *impl_;
    if (rgn) d.userClip = gfx::NativeRegion(*rgn);
    else d.userClip.reset();
    d.clipDirty = true;
    if (!d.userClip) return SIMPLEREGION;
    return RegionKind(*d.userClip);
}

namespace {

QRegion CurrentDeviceClip(TCanvas::Impl& d) {
    if (d.userClip) return *d.userClip;
    if (d.image) {
        QRegion r(d.image->rect());
        if (d.baseClip) r &= *d.baseClip;
        return r.translated(-d.offset);
    }
    return QRegion(QRect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29));
}

} // namespace

int TCanvas::IntersectClipRect(int left, int top, int right, int bottom) {
    Impl& d = *impl_;
    if (!d.image) CanvasAccess::CallCreateHandle(this);
    const QRect r(QPoint(left - d.org.x(), top - d.org.y()), QPoint(right - 1 - d.org.x(), bottom - 1 - d.org.y()));
    d.userClip = CurrentDeviceClip(d) & QRegion(r.normalized());
    d.clipDirty = true;
    return RegionKind(*d.userClip);
}

int TCanvas::ExcludeClipRect(int left, int top, int right, int bottom) {
    Impl& d = *impl_;
    if (!d.image) CanvasAccess::CallCreateHandle(this);
    const QRect r(QPoint(left - d.org.x(), top - d.org.y()), QPoint(right - 1 - d.org.x(), bottom - 1 - d.org.y()));
    d.userClip = CurrentDeviceClip(d) - QRegion(r.normalized());
    d.clipDirty = true;
    return RegionKind(*d.userClip);
}

TRect TCanvas::ClipRect() {
    Impl& d = *impl_;
    if (!d.Ready()) return {};
    const QRect b = d.clipBounds;
    if (b.isEmpty()) return {};
    return {b.left() - d.tx(), b.top() - d.ty(), b.right() + 1 - d.tx(), b.bottom() + 1 - d.ty()};
}

bool TCanvas::GetClipRgn(TRegion& rgn) {
    if (!impl_->userClip) return false;
    rgn = gfx::FromNativeRegion(*impl_->userClip);
    return true;
}

bool TCanvas::PtVisible(int x, int y) {
    Impl& d = *impl_;
    if (!d.Ready()) return false;
    return d.Visible(x + d.tx(), y + d.ty());
}

TPoint TCanvas::SetWindowOrg(int x, int y) {
    const TPoint old{impl_->org.x(), impl_->org.y()};
    impl_->org = QPoint(x, y);
    return old;
}

TPoint TCanvas::WindowOrg() const { return {impl_->org.x(), impl_->org.y()}; }

void TCanvas::MoveWindowOrg(int dx, int dy) { impl_->org -= QPoint(dx, dy); }

// ---------------------------------------------------------------- state stack

int TCanvas::SaveDC() {
    Impl& d = *impl_;
    d.SyncState();
    d.stack.push_back(SavedCanvasState{d.pen, d.brush, d.font, d.bkColor, d.textColor, d.bkMode, d.rop2,
                                       d.appliedPenMode, d.appliedBrushColor, d.appliedBrushStyle,
                                       d.appliedFontColor, d.userClip, d.org, d.copyMode, d.brushOrg});
    return static_cast<int>(d.stack.size());
}

bool TCanvas::RestoreDC(int saved) {
    Impl& d = *impl_;
    const int n = static_cast<int>(d.stack.size());
    const int level = saved < 0 ? n + 1 + saved : saved;
    if (level < 1 || level > n) return false;
    SavedCanvasState s = std::move(d.stack[static_cast<std::size_t>(level - 1)]);
    d.stack.resize(static_cast<std::size_t>(level - 1));
    d.pen.Assign(s.pen);
    d.brush.Assign(s.brush);
    d.font.Assign(s.font);
    d.bkColor = s.bkColor;
    d.textColor = s.textColor;
    d.bkMode = s.bkMode;
    d.rop2 = s.rop2;
    d.appliedPenMode = s.appliedPenMode;
    d.appliedBrushColor = s.appliedBrushColor;
    d.appliedBrushStyle = s.appliedBrushStyle;
    d.appliedFontColor = s.appliedFontColor;
    d.userClip = std::move(s.userClip);
    d.org = s.org;
    d.copyMode = s.copyMode;
    d.brushOrg = s.brushOrg;
    d.clipDirty = true;
    return true;
}

TPoint TCanvas::SetBrushOrg(int x, int y) {
    const TPoint old{impl_->brushOrg.x(), impl_->brushOrg.y()};
    impl_->brushOrg = QPoint(x, y);
    return old;
}

TPoint TCanvas::BrushOrg() const { return {impl_->brushOrg.x(), impl_->brushOrg.y()}; }

void FillRect(TCanvas* canvas, const TRect& r, const TBrush& brush) {
    if (!canvas) return;
    TCanvas::Impl& d = *CanvasAccess::Of(canvas);
    d.SyncState();
    // Swap the brush in without letting it set the context's colours, then swap it back.
    const TBrush saved(d.brush);
    const TColor appliedColor = d.appliedBrushColor;
    const TBrushStyle appliedStyle = d.appliedBrushStyle;
    const TColor bk = d.bkColor;
    const int bkMode = d.bkMode;
    const TNotifyEvent onChange = d.brush.OnChange;
    d.brush.OnChange = nullptr;
    d.brush.Assign(brush);
    d.appliedBrushColor = d.brush.Color();
    d.appliedBrushStyle = d.brush.Style();
    try {
        canvas->FillRect(r);
    } catch (...) {
        d.brush.Assign(saved);
        d.brush.OnChange = onChange;
        throw;
    }
    d.brush.Assign(saved);
    d.brush.OnChange = onChange;
    d.appliedBrushColor = appliedColor;
    d.appliedBrushStyle = appliedStyle;
    d.bkColor = bk;
    d.bkMode = bkMode;
}

// ---------------------------------------------------------------- binding

namespace gfx {

void BindCanvas(TCanvas* canvas, QImage* surface, QPoint offset, const QRegion* clip) {
    TCanvas::Impl& d = *CanvasAccess::Of(canvas);
    // The engine writes 32-bit pixels straight into the rows.
    if (surface && !surface->isNull() && surface->depth() != 32)
        *surface = surface->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    d.image = surface;
    d.offset = offset;
    if (clip) d.baseClip = *clip;
    else d.baseClip.reset();
    d.userClip.reset();
    d.org = QPoint();
    d.monochrome = false;
    d.clipDirty = true;
}

void UnbindCanvas(TCanvas* canvas) {
    TCanvas::Impl& d = *CanvasAccess::Of(canvas);
    d.image = nullptr;
    d.baseClip.reset();
    d.userClip.reset();
    d.clipDirty = true;
}

QImage* BoundSurface(const TCanvas* canvas) { return canvas->impl()->image; }

void BindCanvasToBitmap(TCanvas* canvas, TBitmap* target, TPoint origin, const TRegion* clip) {
    BindCanvas(canvas, &BitmapImage(target), QPoint(origin.X, origin.Y), clip ? &NativeRegion(*clip) : nullptr);
    CanvasAccess::Of(canvas)->monochrome = target->Monochrome();
}

void UnbindBitmapCanvas(TCanvas* canvas) { UnbindCanvas(canvas); }

} // namespace gfx

} // namespace plat
