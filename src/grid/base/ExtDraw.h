#pragma once
// Drawing routines on a canvas shared by the grid's cell painter and its controls. Each
// sets the pen and brush it needs and leaves them changed. clNone means "no colour"
// wherever a colour is optional.
#include "ExtUtil.h"

namespace plat { class TCanvas; }

namespace grid {

// Bands from GradientBands, each drawn as a rectangle with pen and brush in its colour.
void DrawGradientRect(plat::TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                      plat::TRect R, int Steps);
// A cell background: solid, a gradient, or two gradients one after the other (mirror), and
// an optional border (full frame or the two side lines).
void DrawCellBackground(plat::TCanvas* Canvas, plat::TRect R, TColor Color, bool Fill, bool SideLinesOnly,
                        TColor BorderColor, bool Vertical, TColor MirrorColorTo, TColor MirrorColor,
                        TColor ColorTo);
// A button face with rounded corners. Kind 0 closes both ends, 1 the left end only, 2 the
// right end only, 3 neither (a middle piece), 4 or more neither but with both insets.
void DrawBevelFrame(plat::TCanvas* Canvas, TColor Color, TColor ColorTo, int Kind, plat::TRect R,
                    TColor CornerColor, TColor CornerInnerColor, TColor BorderColor, TColor LowerLineColor,
                    TColor UpperLineColor, TColor MirrorColorTo, TColor MirrorColor);
void FillRectColor(plat::TCanvas* Canvas, const plat::TRect& R, TColor Color);
void DrawDownTriangle(plat::TCanvas* Canvas, int X, int Y, TColor Color);

} // namespace grid
