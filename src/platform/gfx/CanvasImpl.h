#pragma once
// Internal state of a canvas and the pixel engine shared by the drawing units.
// Pixels are 0xAARRGGBB words; the engine writes alpha 255 and computes raster operations
// on the 24 colour bits.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRegion>

#include <memory>
#include <optional>
#include <vector>

#include "plat/Graphics.h"

namespace plat {

namespace gfx {

inline std::uint32_t ToPixel(TColor rgb) {
    const auto c = static_cast<std::uint32_t>(rgb);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline TColor FromPixel(std::uint32_t px) {
    return static_cast<TColor>(((px >> 16) & 0xFF) | (px & 0xFF00) | ((px & 0xFF) << 16));
}
// Nearest of black and white, for monochrome targets.
inline std::uint32_t Quantize(std::uint32_t px) {
    const unsigned r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    return (r * 30 + g * 59 + b * 11) >= 12800 ? 0xFFFFFFFFu : 0xFF000000u;
}

// Binary raster operation: code 1..16, truth table over (pen, destination).
inline std::uint32_t ApplyRop2(int code, std::uint32_t p, std::uint32_t d) {
    const unsigned t = static_cast<unsigned>(code - 1) & 0xF;
    std::uint32_t r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return (r & 0xFFFFFF) | 0xFF000000u;
}

// Ternary raster operation: the code's operation byte is the truth table over
// (pattern, source, destination), bit index pattern*4 + source*2 + destination.
inline std::uint32_t ApplyRop3(std::uint8_t op, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (op) {
    case 0xCC: return s | 0xFF000000u;
    case 0xF0: return p | 0xFF000000u;
    case 0x88: return (s & d) | 0xFF000000u;
    case 0xEE: return (s | d) | 0xFF000000u;
    case 0x66: return ((s ^ d) & 0xFFFFFF) | 0xFF000000u;
    default: break;
    }
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(op & (1u << i))) continue;
        const std::uint32_t pp = (i & 4) ? p : ~p;
        const std::uint32_t ss = (i & 2) ? s : ~s;
        const std::uint32_t dd = (i & 1) ? d : ~d;
        r |= pp & ss & dd;
    }
    return (r & 0xFFFFFF) | 0xFF000000u;
}

inline bool RopUsesSource(std::uint8_t op) { return (((op >> 2) ^ op) & 0x33) != 0; }
inline bool RopUsesPattern(std::uint8_t op) { return (((op >> 4) ^ op) & 0x0F) != 0; }

// Hatch pattern bit for brush style at device pixel (x, y): true = hatch line.
bool HatchBit(TBrushStyle style, int x, int y);

void EnsureFonts();

} // namespace gfx

struct TBitmap::Impl {
    QImage image;
    bool monochrome = false;
    // The format callers asked for; the surface stays 32-bit whatever it is.
    TPixelFormat format = pf32bit;
    std::unique_ptr<TCanvas> canvas;
};

struct SavedCanvasState {
    TPen pen;
    TBrush brush;
    TFont font;
    TColor bkColor;
    TColor textColor;
    int bkMode;
    int rop2;
    TPenMode appliedPenMode;
    TColor appliedBrushColor;
    TBrushStyle appliedBrushStyle;
    TColor appliedFontColor;
    std::optional<QRegion> userClip;
    QPoint org;
    TCopyMode copyMode;
    QPoint brushOrg;
};

struct TCanvas::Impl {
    TCanvas* owner = nullptr;
    TPen pen;
    TBrush brush;
    TFont font;
    TCopyMode copyMode = SRCCOPY;
    TPoint penPos;
    int patternPhase = 0;

    // Target.
    QImage* image = nullptr;
    QPoint offset;                       // device -> surface
    std::optional<QRegion> baseClip;     // surface coordinates
    std::optional<QRegion> userClip;     // device coordinates
    QPoint org;                          // window origin: device = logical - org
    QPoint brushOrg;                     // device pixel where patterns and hatches start
    bool monochrome = false;             // target is a monochrome bitmap
    TBitmap* ownerBitmap = nullptr;

    // Effective clip in surface coordinates.
    bool clipDirty = true;
    std::vector<QRect> clipRects;
    QRect clipBounds;
    bool clipIsImage = true;             // no clip beyond the image itself
    QSize clipImageSize;                 // image size the clip was computed for

    // Device context state, applied lazily from pen, brush and font.
    TColor bkColor = clWhite;
    TColor textColor = clBlack;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    TPenMode appliedPenMode = pmCopy;
    TColor appliedBrushColor = clWhite;
    TBrushStyle appliedBrushStyle = bsSolid;
    TColor appliedFontColor = clBlack;

    std::vector<SavedCanvasState> stack;

    // Font cache.
    bool fontCacheValid = false;
    String cachedName;
    int cachedHeight = 0;
    unsigned cachedStyle = 0;
    QFont qfont;
    std::optional<QFontMetrics> metrics;
    std::u16string fontKey;              // identifies the font in the shared text caches

    // --- helpers
    bool Ready();                        // binds through CreateHandle when needed
    void SyncState();                    // applies changed pen/brush/font to the DC state
    void UpdateClip();
    const QFont& CurrentFont();
    const QFontMetrics& Metrics();
    // Advance width of a text in the current font (cached).
    int Advance(const QString& text);
    int tx() const { return offset.x() - org.x(); }
    int ty() const { return offset.y() - org.y(); }
    // Device position of a surface pixel (for patterns aligned to the device origin).
    int devX(int sx) const { return sx - offset.x(); }
    int devY(int sy) const { return sy - offset.y(); }
    bool Visible(int sx, int sy) const;
    std::uint32_t* Row(int sy) { return reinterpret_cast<std::uint32_t*>(image->scanLine(sy)); }
    // clDefault stands for the context's default: black pen and text, white brush and
    // background.
    static TColor Or(TColor c, TColor def) { return c == clDefault ? def : c; }
    TColor PenColor() const { return Or(pen.Color(), clBlack); }
    TColor BrushColor() const { return Or(brush.Color(), clWhite); }
    TColor TextColorNow() const { return Or(textColor, clBlack); }
    TColor BkColorNow() const { return Or(bkColor, clWhite); }
    // Colour (RGB value, system colours resolved) as written into this target.
    std::uint32_t Px(TColor rgb) const {
        const std::uint32_t p = gfx::ToPixel(rgb);
        return monochrome ? gfx::Quantize(p) : p;
    }

    // Spans and pixels in surface coordinates, clipped.
    void SpanRop2(int sy, int x0, int x1, std::uint32_t color, int rop);
    void PixelRop2(int sx, int sy, std::uint32_t color, int rop);
    // Brush fill of a span: with `rop2` < 0 a plain pattern copy (FillRect), else the ROP2.
    void SpanBrush(int sy, int x0, int x1, int rop);
    void FillRectBrush(QRect r, int rop);   // surface rect
    // Pattern or hatch bit of the brush at a surface pixel, measured from the brush origin.
    bool BrushBit(int sx, int sy) const {
        const int x = devX(sx) - brushOrg.x(), y = devY(sy) - brushOrg.y();
        return brush.HasPattern() ? brush.PatternBit(x, y) : gfx::HatchBit(brush.Style(), x, y);
    }
    // Styled 1-px line; plot(sx, sy, on) gets each pixel with pattern state.
    template <class Plot>
    void Line(int x0, int y0, int x1, int y1, Plot&& plot);
    bool PatternOn();                    // advances the pen pattern
    void PaintMask(const QImage& mask, QPoint at, std::uint32_t color, int rop, const QImage* exclude);
};

// The pen pattern: on/off run lengths in pixels.
inline const std::vector<int>& PenPattern(TPenStyle style) {
    static const std::vector<int> solid{1};
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{1, 1};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return solid;
    }
}

template <class Plot>
void TCanvas::Impl::Line(int x0, int y0, int x1, int y1, Plot&& plot) {
    int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    int x = x0, y = y0;
    while (!(x == x1 && y == y1)) {
        plot(x, y, PatternOn());
        const int e2 = 2 * err;
        if (e2 > -dy) { err -= dy; x += sx; }
        if (e2 < dx) { err += dx; y += sy; }
    }
}

struct CanvasAccess {
    static TCanvas::Impl* Of(TCanvas* c) { return c->impl_.get(); }
    static void BeginDraw(TCanvas* c) { c->Changing(); }
    static void EndDraw(TCanvas* c) { c->Changed(); }
    static void CallCreateHandle(TCanvas* c) { c->CreateHandle(); }
};

} // namespace plat
