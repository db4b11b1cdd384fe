#pragma once
// Drawing routines on a canvas shared by the grid's cell painter and its controls. Each
// sets the pen and brush it needs and leaves them changed. clNone means "no colour"
// wherever a colour is optional.
#include <cstdint>
#include <vector>

#include "ExtStyleIF.h"  // TColorTones
#include "ExtUtil.h"

namespace plat { class TCanvas; class TFont; class TBitmap; class TWinControl; }

namespace grid {

// Bands from GradientBands, each drawn as a rectangle with pen and brush in its colour.
void DrawGradientRect(plat::TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                      plat::TRect R, int Steps);
// How a cell background is filled: solid in Color, a gradient Color to ColorTo, or with
// MirrorColor set two gradients one after the other (Color to ColorTo in the first half,
// MirrorColor to MirrorColorTo in the second); and an optional border in BorderColor, a full
// frame or only the two side lines.
struct TCellBackground {
    TColor Color = plat::clNone;
    TColor ColorTo = plat::clNone;
    TColor MirrorColor = plat::clNone;
    TColor MirrorColorTo = plat::clNone;
    TColor BorderColor = plat::clNone;
    bool Fill = true;
    bool SideLinesOnly = false;
    bool Vertical = true;  // the colours run from top to bottom
};
void DrawCellBackground(plat::TCanvas* Canvas, plat::TRect R, const TCellBackground& B);
// A button face with rounded corners. Kind 0 closes both ends, 1 the left end only, 2 the
// right end only, 3 neither (a middle piece), 4 or more neither but with both insets.
void DrawBevelFrame(plat::TCanvas* Canvas, TColor Color, TColor ColorTo, int Kind, plat::TRect R,
                    TColor CornerColor, TColor CornerInnerColor, TColor BorderColor, TColor LowerLineColor,
                    TColor UpperLineColor, TColor MirrorColorTo, TColor MirrorColor);
void FillRectColor(plat::TCanvas* Canvas, const plat::TRect& R, TColor Color);
void DrawDownTriangle(plat::TCanvas* Canvas, int X, int Y, TColor Color);

// Buttons of the drop-down, push and spin kinds. Kind: 0 themed, 1 classic frame control,
// 2 flat frame control, 3 colour tones; state: 0 normal, 1 hot, 2 pressed, 3 disabled. The
// platform layer draws no themes, so the themed kind takes the classic look.
void DrawComboButton(plat::TCanvas* Canvas, plat::TWinControl* ThemeOwner, plat::TRect R, const TColorTones& Tones,
                     int State, int Kind);
void DrawPushButton(plat::TCanvas* Canvas, plat::TWinControl* ThemeOwner, plat::TRect R, const TColorTones& Tones,
                    int State, int Kind);
void DrawSpinButtons(plat::TCanvas* Canvas, plat::TWinControl* ThemeOwner, plat::TRect R, const TColorTones& Tones,
                     int State, int Kind);

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
    csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};
// The outline of the polygon shapes (triangles, diamond, stars, arrows); empty for the
// others.
std::vector<plat::TPoint> CellShapePolygon(TCellShape Shape, int X, int Y, int Height, int Width);
// Circles and squares take the smaller of width and height for both.
void DrawCellShape(plat::TCanvas* Canvas, int X, int Y, TColor PenColor, TColor BrushColor, TCellShape Shape,
                   int Height, int Width);

struct TProgressLook {
    TColor Level0Color = plat::clLime, Level0ColorTo = plat::clNone;
    TColor Level1Color = plat::clYellow, Level1ColorTo = plat::clNone;
    TColor Level2Color = 0x0080FF, Level2ColorTo = plat::clNone;
    TColor Level3Color = plat::clRed, Level3ColorTo = plat::clNone;
    int Level1Perc = 70;
    int Level2Perc = 90;
    TColor BorderColor = plat::clBlack;
    bool ShowBorder = true;
    bool Stacked = false;
    bool ShowPercentage = true;
    const plat::TFont* Font = nullptr;  // not owned; the canvas font when null
    TColor CompleteFontColor = plat::clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = false;
    int Steps = 8;
    int Reserved = 0;
    TColor BackgroundColor = plat::clWhite;
    bool Vertical = false;
};
// Frame, the level-coloured bar (stacked, smooth or in blocks) and the percentage.
void DrawProgressBar(plat::TCanvas* Canvas, plat::TRect R, int Percent, const TProgressLook& Look);
// A bar whose filled part and rest carry the value text in their own colours. Format is a
// Format pattern: with "d" or "u" it gets the rounded value, otherwise the value.
void DrawProgressFormatted(plat::TCanvas* Canvas, plat::TRect R, TColor FillColor, bool ForPrint, TColor BorderColor,
                           StringView Format, double Maximum, double Minimum, int MarginY, int MarginX, double Value,
                           TColor RemainTextColor, TColor RemainColor, TColor FillTextColor);
void DrawProgressPie(plat::TCanvas* Canvas, plat::TRect R, TColor FillColor, bool ForPrint, int Percent);
void DrawValueBar(plat::TCanvas* Canvas, plat::TRect R, int Value, TColor PositiveColor, TColor NegativeColor,
                  bool ShowValue, int Maximum);
// Red zig-zag under characters Start .. Start + Length - 1 (0-based) of a one-line text
// drawn at R.
void DrawErrorUnderline(plat::TWinControl* Owner, plat::TCanvas* Canvas, StringView Text, int Length, int Start,
                        int YOffset, plat::TRect R);
// The bitmap at its own size at R's top-left, its top-left pixel's colour replaced by
// BackColor.
void DrawBitmapTransparent(plat::TCanvas* Canvas, const plat::TBitmap* Bitmap, TColor BackColor, plat::TRect R);
// Layered windows are composed by the platform layer itself: nothing to call, success.
bool CallSetLayeredWindowAttributes(std::uintptr_t Window, TColor ColorKey, std::uint8_t Alpha, unsigned Flags);
bool CallUpdateLayeredWindow(std::uintptr_t Window);

} // namespace grid
