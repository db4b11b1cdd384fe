#pragma once
// Canvas, pens, brushes, fonts, bitmaps and regions with the platform's pixel rules:
// - 1-px lines include the start point and leave out the end point; styled pens continue
//   their pattern from one LineTo to the next (MoveTo restarts it);
// - Rectangle draws its outline inside (L..R-1, T..B-1) and fills the interior; right and
//   bottom edges are outside; FillRect/FrameRect use the brush;
// - pen modes (Pen.Mode) apply to lines and shape interiors, never to FillRect or text;
// - clNone (0x1FFFFFFF) as a pen, brush or font colour draws nothing;
// - system colours resolve through a fixed table, so pixels are the same on every machine;
// - font sizes are pixels at 96 DPI (Size 8 = Height -11); antialiasing is always off.
// Coordinates: logical = what the caller passes; device = logical + the window origin
// (SetWindowOrg/MoveWindowOrg); clip regions (SelectClipRgn) are in device coordinates.
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>

#include "plat/Classes.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace plat {

// ---------------------------------------------------------------- colours

constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr int SysColorCount = 31;
// The fixed table; an index outside it answers black.
TColor GetSysColor(int index);
// Tests change the table to exercise colour-change paths; RestoreSysColors resets it.
void SetSysColor(int index, TColor rgb);
void RestoreSysColors();
// System colours become their table value; every other value comes back unchanged
// (clNone and clDefault included, so callers can still test for them).
TColor ColorToRGB(TColor color);

// ---------------------------------------------------------------- constants

// DrawText flags.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_TABSTOP = 0x80;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_INTERNAL = 0x1000;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_RTLREADING = 0x20000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;
constexpr unsigned DT_PREFIXONLY = 0x200000;

// DrawEdge.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned BDR_OUTER = 0x3;
constexpr unsigned BDR_INNER = 0xC;
constexpr unsigned BDR_RAISED = 0x5;
constexpr unsigned BDR_SUNKEN = 0xA;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_DIAGONAL = 0x10;
constexpr unsigned BF_MIDDLE = 0x800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// DrawFrameControl.
constexpr unsigned DFC_CAPTION = 1;
constexpr unsigned DFC_MENU = 2;
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;
constexpr unsigned DFCS_BUTTONCHECK = 0x0;
constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x1;
constexpr unsigned DFCS_BUTTONRADIOMASK = 0x2;
constexpr unsigned DFCS_BUTTONRADIO = 0x4;
constexpr unsigned DFCS_BUTTON3STATE = 0x8;
constexpr unsigned DFCS_BUTTONPUSH = 0x10;
constexpr unsigned DFCS_SCROLLUP = 0x0;
constexpr unsigned DFCS_SCROLLDOWN = 0x1;
constexpr unsigned DFCS_SCROLLLEFT = 0x2;
constexpr unsigned DFCS_SCROLLRIGHT = 0x3;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x5;
constexpr unsigned DFCS_INACTIVE = 0x100;
constexpr unsigned DFCS_PUSHED = 0x200;
constexpr unsigned DFCS_CHECKED = 0x400;
constexpr unsigned DFCS_TRANSPARENT = 0x800;
constexpr unsigned DFCS_HOT = 0x1000;
constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
constexpr unsigned DFCS_FLAT = 0x4000;
constexpr unsigned DFCS_MONO = 0x8000;

// Raster operations (three operands: pattern = brush, source, destination).
using TCopyMode = std::uint32_t;
constexpr TCopyMode SRCCOPY = 0x00CC0020;
constexpr TCopyMode SRCPAINT = 0x00EE0086;
constexpr TCopyMode SRCAND = 0x008800C6;
constexpr TCopyMode SRCINVERT = 0x00660046;
constexpr TCopyMode SRCERASE = 0x00440328;
constexpr TCopyMode NOTSRCCOPY = 0x00330008;
constexpr TCopyMode NOTSRCERASE = 0x001100A6;
constexpr TCopyMode MERGECOPY = 0x00C000CA;
constexpr TCopyMode MERGEPAINT = 0x00BB0226;
constexpr TCopyMode PATCOPY = 0x00F00021;
constexpr TCopyMode PATPAINT = 0x00FB0A09;
constexpr TCopyMode PATINVERT = 0x005A0049;
constexpr TCopyMode DSTINVERT = 0x00550009;
constexpr TCopyMode BLACKNESS = 0x00000042;
constexpr TCopyMode WHITENESS = 0x00FF0062;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Binary raster operations of pens (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Region combination and results.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Pixel read outside the surface or the clip.
constexpr TColor CLR_INVALID = static_cast<TColor>(0xFFFFFFFF);

// ---------------------------------------------------------------- enumerations

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFillStyle { fsSurface, fsBorder };
enum TTransparentMode { tmAuto, tmFixed };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// The R2_* code of a pen mode.
int PenModeToRop2(TPenMode mode);

class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle s : styles) bits_ |= Bit(s);
    }
    constexpr bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TFontStyles& operator+=(TFontStyle s) { bits_ |= Bit(s); return *this; }
    constexpr TFontStyles& operator-=(TFontStyle s) { bits_ &= ~Bit(s); return *this; }
    constexpr TFontStyles operator+(TFontStyle s) const { TFontStyles r = *this; return r += s; }
    constexpr TFontStyles operator-(TFontStyle s) const { TFontStyles r = *this; return r -= s; }
    constexpr unsigned Bits() const { return bits_; }
    friend constexpr bool operator==(TFontStyles a, TFontStyles b) { return a.bits_ == b.bits_; }

private:
    static constexpr unsigned Bit(TFontStyle s) { return 1u << static_cast<unsigned>(s); }
    unsigned bits_ = 0;
};

using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;

// ---------------------------------------------------------------- fonts

// The installed family that stands in for a font name of the system's windows
// ("Verdana" -> "DejaVu Sans", "Arial" -> "Liberation Sans", ...); unknown names map to
// "DejaVu Sans". Case-insensitive.
String MapFontName(StringView name);

constexpr int ScreenPixelsPerInch = 96;

class TGraphicsObject : public TPersistent {
public:
    String ClassName() const override { return u"TGraphicsObject"; }
    // Fired after every property change.
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TFont : public TGraphicsObject {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);
    String ClassName() const override { return u"TFont"; }
    void Assign(const TPersistent* Source) override;
    void Assign(const TFont& source);

    const String& Name() const { return name_; }
    void SetName(const String& name);
    // Negative: character height in pixels; positive: cell height (ascent + descent).
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points at 96 DPI: Height = -round(Size * 96 / 72).
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    // Direction of the text in tenths of a degree, counter-clockwise (-900 runs downwards,
    // -2700 upwards).
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenths);
    int PixelsPerInch() const { return ScreenPixelsPerInch; }
    bool Equals(const TFont& other) const;

private:
    String name_;
    int height_;
    TFontStyles style_;
    TColor color_;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int orientation_ = 0;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen& other) : TGraphicsObject() { Assign(other); }
    TPen& operator=(const TPen& other) { Assign(other); return *this; }
    String ClassName() const override { return u"TPen"; }
    void Assign(const TPersistent* Source) override;
    void Assign(const TPen& source);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBitmap;

// A brush is a colour with a style, or an 8 x 8 monochrome pattern. A pattern brush paints
// 0 bits in the canvas's text colour and 1 bits in its background colour (which the brush
// colour sets, as for any brush); the pattern repeats every 8 device pixels from the
// canvas's brush origin.
class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush& other) : TGraphicsObject() { Assign(other); }
    TBrush& operator=(const TBrush& other) { Assign(other); return *this; }
    String ClassName() const override { return u"TBrush"; }
    void Assign(const TPersistent* Source) override;
    void Assign(const TBrush& source);

    TColor Color() const { return color_; }
    // Setting a colour on a clear brush makes it solid, as the framework does.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // The top-left 8 x 8 pixels of the bitmap become the pattern: light pixels (white in a
    // monochrome bitmap) are 1 bits, dark ones 0 bits; a bitmap smaller than 8 x 8 repeats.
    // nullptr or an empty bitmap removes the pattern.
    void SetBitmap(const TBitmap* bitmap);
    // The same from eight rows, most significant bit leftmost.
    void SetPattern(const std::array<std::uint8_t, 8>& rows);
    void ClearPattern();
    bool HasPattern() const { return hasPattern_; }
    const std::array<std::uint8_t, 8>& Pattern() const { return pattern_; }
    // Pattern bit at a position relative to the brush origin (any integers).
    bool PatternBit(int x, int y) const { return (pattern_[static_cast<unsigned>(y) & 7] >> (7 - (static_cast<unsigned>(x) & 7))) & 1; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    bool hasPattern_ = false;
    std::array<std::uint8_t, 8> pattern_{};
};

struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmOverhang = 0;
};

// ---------------------------------------------------------------- regions

// A set of pixels; value semantics. Curved regions are rasterised to spans.
class TRegion {
public:
    TRegion();
    explicit TRegion(const TRect& rect);
    ~TRegion();
    TRegion(const TRegion& other);
    TRegion& operator=(const TRegion& other);
    TRegion(TRegion&& other) noexcept;
    TRegion& operator=(TRegion&& other) noexcept;

    static TRegion FromRect(const TRect& rect) { return TRegion(rect); }
    // Corner ellipse w by h, as RoundRect.
    static TRegion FromRoundRect(const TRect& rect, int w, int h);
    static TRegion FromEllipse(const TRect& rect);
    // Alternate (odd-even) fill.
    static TRegion FromPolygon(std::span<const TPoint> points);

    // Sets this region to a op b (RGN_AND/OR/XOR/DIFF; RGN_COPY takes a); returns the
    // NULLREGION/SIMPLEREGION/COMPLEXREGION kind.
    int Combine(const TRegion& a, const TRegion& b, int mode);
    bool Contains(TPoint p) const;
    bool IsEmpty() const;
    TRect BoundsRect() const;
    void Offset(int dx, int dy);
    int Kind() const;
    friend bool operator==(const TRegion& a, const TRegion& b);

    struct Impl;
    Impl* impl() const { return impl_.get(); }

private:
    std::unique_ptr<Impl> impl_;
};

inline int CombineRgn(TRegion& dest, const TRegion& a, const TRegion& b, int mode) { return dest.Combine(a, b, mode); }
inline bool PtInRegion(const TRegion& rgn, int x, int y) { return rgn.Contains({x, y}); }

// ---------------------------------------------------------------- canvas

class TGraphic;
class TBitmap;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    String ClassName() const override { return u"TCanvas"; }

    TPen* Pen() const;
    void SetPen(const TPen* pen);
    TBrush* Brush() const;
    void SetBrush(const TBrush* brush);
    TFont* Font() const;
    void SetFont(const TFont* font);
    TCopyMode CopyMode() const;
    void SetCopyMode(TCopyMode mode);
    TPoint PenPos() const;
    void SetPenPos(TPoint p);

    // True once the canvas has a surface to draw on.
    bool HandleAllocated() const;

    // Lines and shapes.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void InvertRect(const TRect& r);
    void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
    void RoundRect(const TRect& r, int cornerW, int cornerH) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, cornerW, cornerH); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polygon(std::initializer_list<TPoint> points) { Polygon(std::span<const TPoint>(points.begin(), points.size())); }
    void Polyline(std::span<const TPoint> points);
    void Polyline(std::initializer_list<TPoint> points) { Polyline(std::span<const TPoint>(points.begin(), points.size())); }
    // fsSurface fills the area of colour `color`, fsBorder the area bounded by it.
    void FloodFill(int x, int y, TColor color, TFillStyle style);
    // XOR with a one-on/one-off pattern aligned to the device origin: drawing it again
    // restores the pixels.
    void DrawFocusRect(const TRect& r);

    // Pixels; a read outside the surface or the clip answers CLR_INVALID.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Text. The reference point is the top-left corner of the text cell (rotated with a
    // rotated font). With an opaque background the cell is filled with the brush colour.
    void TextOut(int x, int y, StringView text);
    // Text clipped to r; an opaque background fills all of r.
    void TextRect(const TRect& r, int x, int y, StringView text);
    int TextWidth(StringView text);
    int TextHeight(StringView text);
    TSize TextExtent(StringView text);
    void GetTextMetrics(TTextMetric& tm);
    // Returns the text height; DT_CALCRECT only measures and sets r.Right/r.Bottom.
    int DrawText(StringView text, TRect& r, unsigned flags);

    // Bitmaps and copies (CopyRect and opaque Draw use CopyMode).
    void Draw(int x, int y, const TGraphic* graphic);
    void StretchDraw(const TRect& r, const TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);

    // Device context state, as the platform keeps it per context. The brush sets the
    // background colour and mode, the font the text colour, whenever they change; an
    // explicit call holds until the brush or the font next changes.
    TColor SetBkColor(TColor color);
    TColor BkColor();
    int SetBkMode(int mode);
    int BkMode();
    TColor SetTextColor(TColor color);
    TColor TextColor();
    int SetROP2(int rop2);

    // Clipping. Region in device coordinates; nullptr removes the clip.
    int SelectClipRgn(const TRegion* rgn);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    // The logical bounding box of the visible area.
    TRect ClipRect();
    // A copy of the current clip in device coordinates; false when there is none.
    bool GetClipRgn(TRegion& rgn);
    bool PtVisible(int x, int y);

    // Brush origin in device pixels: patterns and hatches repeat from it. Returns the old one.
    TPoint SetBrushOrg(int x, int y);
    TPoint BrushOrg() const;

    // Origin: device = logical - window origin.
    TPoint SetWindowOrg(int x, int y);
    TPoint WindowOrg() const;
    void MoveWindowOrg(int dx, int dy);

    // The state stack: pen, brush, font, colours, modes, clip, origin and brush origin.
    int SaveDC();
    bool RestoreDC(int saved);

    // Fired around each drawing operation.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    struct Impl;
    Impl* impl() const { return impl_.get(); }

protected:
    // Called before drawing when no surface is bound; a control canvas binds its window's
    // surface here.
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();

private:
    friend struct CanvasAccess;
    std::unique_ptr<Impl> impl_;
};

// Raster-op copies between canvases. A monochrome source drawn into colour: 0 bits take the
// destination's text colour, 1 bits its background colour; a colour source drawn into a
// monochrome bitmap: pixels equal to the source's background colour become 1, others 0.
bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, TCopyMode rop);
// Scrolls the pixels of Scroll by (Dx, Dy) on the canvas; only pixels inside Clip change
// (those moved out of it are cut, those outside it stay). Update, if given, receives the
// bounding rectangle of the part of Scroll within Clip that no moved pixel covers (empty when
// none is left uncovered). False for a null canvas.
bool ScrollDC(TCanvas* canvas, int Dx, int Dy, const TRect& Scroll, const TRect& Clip, TRect* Update = nullptr);
// Nearest-neighbour stretching.
bool StretchBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, int sw, int sh, TCopyMode rop);
// Pattern (brush) and destination only.
bool PatBlt(TCanvas* dest, int x, int y, int w, int h, TCopyMode rop);
// Fills r with `brush` as a brush not selected into the canvas would: the canvas keeps its
// own brush, background and text colours (a pattern brush paints in those colours).
void FillRect(TCanvas* canvas, const TRect& r, const TBrush& brush);
// Copies w x h of src to (x, y) of dest where the monochrome mask is black (0); white mask
// pixels leave dest untouched. The mask is read at (mx, my) of its canvas.
bool MaskedCopy(TCanvas* dest, int x, int y, int w, int h, TCanvas* src, int sx, int sy, TCanvas* mask, int mx, int my);
inline TPoint SetBrushOrgEx(TCanvas* canvas, int x, int y) { return canvas->SetBrushOrg(x, y); }

inline int DrawText(TCanvas* canvas, StringView text, TRect& r, unsigned flags) { return canvas->DrawText(text, r, flags); }
bool DrawEdge(TCanvas* canvas, TRect& r, unsigned edge, unsigned flags);
bool DrawFrameControl(TCanvas* canvas, const TRect& r, unsigned type, unsigned state);
inline void DrawFocusRect(TCanvas* canvas, const TRect& r) { canvas->DrawFocusRect(r); }
inline int SelectClipRgn(TCanvas* canvas, const TRegion* rgn) { return canvas->SelectClipRgn(rgn); }
inline int IntersectClipRect(TCanvas* canvas, int l, int t, int r, int b) { return canvas->IntersectClipRect(l, t, r, b); }
inline int ExcludeClipRect(TCanvas* canvas, int l, int t, int r, int b) { return canvas->ExcludeClipRect(l, t, r, b); }
inline int SaveDC(TCanvas* canvas) { return canvas->SaveDC(); }
inline bool RestoreDC(TCanvas* canvas, int saved) { return canvas->RestoreDC(saved); }
inline TColor SetBkColor(TCanvas* canvas, TColor c) { return canvas->SetBkColor(c); }
inline int SetBkMode(TCanvas* canvas, int mode) { return canvas->SetBkMode(mode); }
inline TColor SetTextColor(TCanvas* canvas, TColor c) { return canvas->SetTextColor(c); }

// ---------------------------------------------------------------- graphics

class TGraphic : public TPersistent {
public:
    String ClassName() const override { return u"TGraphic"; }
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value) { transparent_ = value; }
    virtual void LoadFromFile(const String& path) = 0;
    virtual void SaveToFile(const String& path) const = 0;
    // Draws into r of the canvas (stretched when the sizes differ).
    virtual void Draw(TCanvas* canvas, const TRect& r) const = 0;
    TNotifyEvent OnChange;

protected:
    void Changed();
    bool transparent_ = false;
};

// 32-bit bitmap, white when created or enlarged. ScanLine gives B, G, R, A bytes, rows top
// down, whatever PixelFormat says: the format is remembered for the callers that ask, and
// formats without alpha (pf24bit and below) ignore the alpha bytes. A monochrome bitmap
// (pf1bit) holds only black and white pixels. Loading gives pf32bit for pictures with alpha,
// pf24bit otherwise.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    String ClassName() const override { return u"TBitmap"; }
    void Assign(const TPersistent* Source) override;
    // Copies size, pixels and the transparency settings.
    void Assign(const TBitmap& source);

    int Width() const override;
    int Height() const override;
    bool Empty() const override;
    void SetWidth(int w);
    void SetHeight(int h);
    // Keeps the pixels that stay inside.
    void SetSize(int w, int h);
    TCanvas* Canvas();

    // Automatic mode: the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    // Switches to fixed mode.
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);
    bool Monochrome() const;
    // Turning it on keeps white pixels white and makes every other pixel black.
    void SetMonochrome(bool value);
    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat format);

    void* ScanLine(int y);
    const void* ScanLine(int y) const;

    // BMP or PNG (by content). Raises EFileError when the file cannot be read.
    void LoadFromFile(const String& path) override;
    // The same from bytes in memory (program resources).
    void LoadFromMemory(const void* data, std::size_t size);
    // PNG, written atomically. Raises EFileError on failure.
    void SaveToFile(const String& path) const override;
    void Draw(TCanvas* canvas, const TRect& r) const override;
    void Dormant() {}
    void FreeImage() {}

    struct Impl;
    Impl* impl() const { return impl_.get(); }

private:
    std::unique_ptr<Impl> impl_;
    TColor transparentColor_ = clNone;
    TTransparentMode transparentMode_ = tmAuto;
};

// An icon: a bitmap whose transparent pixels are drawn transparently (alpha or the
// transparent colour).
class TIcon : public TBitmap {
public:
    TIcon() { SetTransparent(true); }
    TIcon(int width, int height) : TBitmap(width, height) { SetTransparent(true); }
    String ClassName() const override { return u"TIcon"; }
};

// Holds one graphic; the only kind of graphic is a bitmap.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    String ClassName() const override { return u"TPicture"; }
    void Assign(const TPersistent* Source) override;
    TGraphic* Graphic() const { return bitmap_.get(); }
    // Creates an empty bitmap when there is none.
    TBitmap* Bitmap();
    void SetBitmap(const TBitmap* bitmap);
    int Width() const;
    int Height() const;
    bool HasGraphic() const { return bitmap_ && !bitmap_->Empty(); }
    // The kind by the file's extension (.bmp, .ico, .jpg/.jpeg/.jpe, .gif, .png), the content
    // through the layer's decoders; an unknown extension or undecodable content raises
    // EFileError and leaves the picture unchanged.
    void LoadFromFile(const String& path);
    void Clear() { bitmap_.reset(); }
    TNotifyEvent OnChange;

private:
    std::unique_ptr<TBitmap> bitmap_;
};

} // namespace plat
