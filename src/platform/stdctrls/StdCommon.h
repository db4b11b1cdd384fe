#pragma once
// Helpers the standard controls share (no toolkit types).
#include "plat/Controls.h"
#include "plat/Graphics.h"

namespace plat::std_detail {

// A canvas with no window behind it, for measuring text in a font (AutoSize, item
// heights) before or without a parent.
TCanvas* MeasureCanvas(const TFont* Font);
// Character height in pixels of a font (a positive Height is a cell height and counts as is).
int FontPixels(const TFont* Font);
// Text extent of a caption with DrawText's rules.
TSize MeasureText(const TFont* Font, StringView Text, unsigned Flags, int WrapWidth);
// Sends WM_COMMAND (code in the high word, handle in LParam) to the parent window, for
// parents that watch their children (the grid and its editors). The control runs its own
// events directly, so a reflected CN_COMMAND is not needed. False when there is no parent.
bool NotifyParent(TWinControl* Control, int Code);
// The resolved colour a control paints its background with.
TColor BackgroundColor(const TControl* Control);
// Three-dimensional sunken client edge of 2 pixels inside r, r shrunk by it.
void DrawClientEdge(TCanvas* Canvas, TRect& R);

// Look changes after which a control paints itself again as a whole.
enum TRepaintOn : unsigned {
    roText = 1,     // CM_TEXTCHANGED
    roFont = 2,     // CM_FONTCHANGED
    roColor = 4,    // CM_COLORCHANGED
    roEnabled = 8,  // CM_ENABLEDCHANGED
    roFocus = 16,   // WM_SETFOCUS and WM_KILLFOCUS
};
// A message of the kinds in `On` goes through the windowed control's own handling and the
// control is invalidated: true. Any other message is left untouched: false.
bool RepaintOnChange(TCustomControl* Control, TMessage& Message, unsigned On);

} // namespace plat::std_detail
