#pragma once
// Drawing helpers of the drop-down editors.
#include "plat/Graphics.h"

namespace dropdown {

// Paints R in Steps bands (0 counts as 1) from FromColor to ToColor, left to right when
// Horizontal, else top to bottom. Band i has each channel from + round(i x (to - from) /
// steps) (halves to even): the first band is the from colour and the last stops one step
// short of the to colour. The bands overlap by one pixel; R's last column (horizontal) or
// row (vertical) is left out.
void DrawGradientSteps(plat::TCanvas* Canvas, plat::TColor FromColor, plat::TColor ToColor, bool Horizontal,
                       plat::TRect R, int Steps);

} // namespace dropdown
