#pragma once
// What the screen shows with one of the program's own windows left out: the window that
// shows a picture following the pointer reads the screen below itself, and must never read
// itself back, even while the display is still moving or hiding it.

#include "plat/Messages.h"
#include "plat/Types.h"

namespace plat {

class TBitmap;

// What the screen shows in R (screen coordinates), copied into Target (resized to R), as if
// the window Exclude were not there. The program's shown windows come from their own
// surfaces in their stacking order; only what lies outside all of them comes from the
// display on a desktop, or is the desktop colour where there is none. With Exclude 0 it is
// CaptureScreen of R.
void CaptureScreen(const TRect& R, TBitmap& Target, HWND Exclude);

} // namespace plat
