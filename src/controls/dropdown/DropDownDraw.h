#pragma once
// Drawing helpers of the drop-down editors: stepped gradients, colour arithmetic, the faces and
// contents of the small owner-drawn buttons, a transparent glyph copy, single-line text
// measuring and fitting, and the markup entry the item lists draw their captions with. None
// keeps state; each leaves the canvas's pen, brush and font as it set them.
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/String.h"

namespace dropdown {

using plat::String;
using plat::StringView;
using plat::TColor;

enum TGradientDirection { gdHorizontal, gdVertical };

// Paints R in Steps bands (0 counts as 1) from FromColor to ToColor, left to right when
// Horizontal, else top to bottom. Band i has each channel from + round(i x (to - from) /
// steps) (halves to even): the first band is the from colour and the last stops one step
// short of the to colour. The bands overlap by one pixel; R's last column (horizontal) or
// row (vertical) is left out.
void DrawGradientSteps(plat::TCanvas* Canvas, plat::TColor FromColor, plat::TColor ToColor, bool Horizontal,
                       plat::TRect R, int Steps);

// Percent of First mixed with the rest of Second, each channel rounded half to even. 100 or
// more gives First and 0 or less Second, both unchanged (system colours unresolved).
TColor MixColors(TColor First, TColor Second, int Percent);

// Scales each non-zero channel by min(100, 100 + d) percent (d below -100 gives 0); a zero
// channel becomes max(0, min(255, d)). Negative percentages darken, positive ones only lift
// channels that are 0.
TColor AdjustColorPercent(TColor Color, int RedPercent, int GreenPercent, int BluePercent);

// A face (an 80-step gradient from Color to ColorTo when ColorTo is set, an unset Color
// starting it at white; else a fill with Color when set) and an outline of BorderWidth in
// BorderColor when that is set and BorderWidth above 0.
void DrawButtonBackground(plat::TCanvas* Canvas, plat::TRect R, TColor Color, TGradientDirection Direction,
                          int BorderWidth, TColor BorderColor, TColor ColorTo);

// The image ImageIndex of Images 4 px from R's left, centred vertically, then the caption on
// one line with an end ellipsis: centred without an image, left-aligned 8 px right of it.
void DrawButtonContent(plat::TCanvas* Canvas, plat::TRect R, StringView Caption, int ImageIndex,
                       const plat::TCustomImageList* Images);

// Copies Glyph's top-left D-sized part onto Canvas at D, the glyph's pixel (0, 0) standing
// for the transparent colour, which is drawn as Background.
void DrawGlyphTransparent(plat::TCanvas* Canvas, plat::TBitmap* Glyph, TColor Background, plat::TRect D);

// Width and height of Text on one line in the canvas's font; (0, 0) for an empty text.
plat::TSize MeasureText(plat::TCanvas* Canvas, StringView Text);

// Text when it is at most MaxWidth wide; else the longest prefix (followed by "..." with
// Ellipsis) narrower than MaxWidth; the whole text when not even the empty candidate fits.
String TruncateTextToWidth(plat::TCanvas* Canvas, StringView Text, int MaxWidth, bool Ellipsis);

// Draws (Draw) or only measures markup Text in R; the size it takes, (0, 0) for an empty text.
plat::TSize DrawItemMarkup(plat::TCanvas* Canvas, StringView Text, plat::TRect R, bool Draw,
                           plat::TCustomImageList* Images);

// Text unchanged with KeepCase, else in upper case by the locale's rules.
String TextForCompare(StringView Text, bool KeepCase);

} // namespace dropdown
