#pragma once
// Drawing helpers of the drop-down editors.
#include "plat/Graphics.h"
#include "plat/ImgList.h"

namespace dropdown {

// The direction of the family's stepped gradients.
enum TGradientDirection { gdHorizontal, gdVertical };

// Paints R in Steps bands (0 counts as 1) from FromColor to ToColor, left to right when
// Horizontal, else top to bottom. Band i has each channel from + round(i x (to - from) /
// steps) (halves to even): the first band is the from colour and the last stops one step
// short of the to colour. The bands overlap by one pixel; R's last column (horizontal) or
// row (vertical) is left out.
void DrawGradientSteps(plat::TCanvas* Canvas, plat::TColor FromColor, plat::TColor ToColor, bool Horizontal,
                       plat::TRect R, int Steps);

// ---- colours and the faces of the small owner-drawn buttons ----------------------------

// P percent of First and the rest of Second per channel (halves to even); P >= 100 gives
// First and P <= 0 gives Second unchanged (not resolved).
plat::TColor MixColors(plat::TColor First, plat::TColor Second, int P);
// A face (a gradient in 80 steps when ColorTo is set, else a fill in Color when it is set)
// and, with a border colour and a width above 0, an outline over the whole rectangle.
void DrawButtonBackground(plat::TCanvas* Canvas, plat::TRect R, plat::TColor Color, TGradientDirection Direction,
                          int BorderWidth, plat::TColor BorderColor, plat::TColor ColorTo);
// An image 4 px from the left, vertically centred, then the caption single line, vertically
// centred, ended by an ellipsis when too long; centred horizontally when no image was drawn.
void DrawButtonContent(plat::TCanvas* Canvas, plat::TRect R, plat::StringView Caption, int ImageIndex,
                       const plat::TCustomImageList* Images);
// Width and height of a single-line text in the canvas's font; (0, 0) for an empty text.
plat::TSize MeasureText(plat::TCanvas* Canvas, plat::StringView Text);

} // namespace dropdown
