#pragma once
// Free drawing and text routines of the tree control: rectangle and clip helpers, text
// shortening and wrapping, alpha blending of 32-bit bitmaps, and the rectangle arithmetic of
// a moving drag image. None of them keeps state.
//
// A "DC" of the blending routines is the bitmap that would be selected into it: 32-bit
// bitmaps expose their bits in B, G, R, A byte order with rows top down, which the bits
// address with a negative height.
#include <cstdint>

#include "plat/ImgList.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace vtree {

using plat::String;
using plat::TPoint;
using plat::TRect;

enum TAlphaAreaMode : std::uint8_t {
    amConstant = 0,
    amPerPixel = 1,
    amMaster = 2,
    amMasterColor = 3,
};

TRect NormalizeRectCorners(const TRect& R);

// Clips the canvas to R (logical units), intersected with VisibleRegion when one is given.
void ClipCanvasToRect(plat::TCanvas* Canvas, const TRect& R, const plat::TRegion* VisibleRegion = nullptr);

// R receives the extent of Text drawn with DrawFormat, measured from R's top-left corner.
void CalculateTextRect(plat::TCanvas* Canvas, plat::StringView Text, TRect& R, unsigned DrawFormat);

// The longest prefix of S that fits Width together with "..."; EllipsisWidth 0 measures
// the dots with the canvas's font.
String ShortenTextWithEllipsis(plat::TCanvas* Canvas, const String& S, int Width, int EllipsisWidth = 0);

// S broken into lines (separated by #10) that each fit Bounds' width.
String WrapTextIntoLines(plat::TCanvas* Canvas, const String& S, const TRect& Bounds, unsigned DrawFormat,
                         bool RightToLeft);

// The blending below is plain C++, available on every processor.
bool CpuSupportsMmx();

std::uint8_t* ScanlineAddress(std::uint8_t* Bits, int Width, int Height, int Row);

// The bits of a 32-bit bitmap; Height comes back negative (rows top down).
std::uint8_t* DibBitsOfDC(plat::TBitmap* DC, int& Width, int& Height);

// Blends R of Source onto Destination at Target (or, for amMasterColor, R of Destination
// with the colour passed in Bias). Rows and columns outside either bitmap are left out.
void AlphaBlendArea(plat::TBitmap* Source, plat::TBitmap* Destination, const TRect& R, TPoint Target,
                    TAlphaAreaMode Mode, int ConstantAlpha, int Bias);

void BlendRowConstant(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int ConstantAlpha, int Bias);
void BlendRowPerPixel(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int Bias);
void BlendRowMaster(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int ConstantAlpha, int Bias);
// Color is a TColor (red in the low byte).
void BlendRowMasterColor(std::uint8_t* Destination, int Count, int ConstantAlpha, plat::TColor Color);

void EndMmxBlock();

// The colour form that image-list drawing expects: clNone and clDefault become the
// list's "none" and "default" markers, system colours their RGB value.
std::int32_t ResolveColorValue(plat::TColor Color);

// Strips are (x, y, width, height) held in Left, Top, Right, Bottom; ScrollRect is a real
// rectangle. Deltas are old position minus new position. Strips the move does not need are
// left untouched.
void CalculateDragImageMoveRects(int Width, int Height, int DeltaX, int DeltaY, TRect& ClipRect, TRect& ScrollRect,
                                 TRect& CaptureA, TRect& CaptureB, TRect& RestoreA, TRect& RestoreB);

// Image-list drawing styles (overlay mask, blends, mask, transparency).
using plat::ILD_BLEND25;
using plat::ILD_BLEND50;
using plat::ILD_MASK;
using plat::ILD_NORMAL;
using plat::ILD_OVERLAYMASK;
using plat::ILD_TRANSPARENT;
using plat::INDEXTOOVERLAYMASK;

// Draws a bitmap stretched into R of the canvas (printing).
void StretchDrawBitmapDib(plat::TCanvas* Canvas, const TRect& R, const plat::TBitmap* Bitmap);

// Enabled: the list's own drawing with Style, in the list's background and blend colours;
// disabled: the saturated (grey) look, without overlay or blend.
void DrawListImage(const plat::TCustomImageList* ImageList, int Index, plat::TCanvas* Canvas, int X, int Y,
                   unsigned Style, bool Enabled);
// The image in grey tones of its own brightness, transparent parts left out.
void DrawListImageSaturated(const plat::TCustomImageList* ImageList, plat::TCanvas* Canvas, int X, int Index, int Y);

} // namespace vtree
