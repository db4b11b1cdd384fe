#pragma once
// Window helpers of the focus frame.
#include "ExtObjWindows.h"
#include "plat/Controls.h"

namespace grid {

// Shows the mask's picture in the window with per-pixel alpha and the mask's opacity; the
// window becomes layered and takes the mask's size. Nothing for a mask of height 0.
void ApplyAlphaMaskToWindow(plat::TWinControl* Window, TGridAlphaMask* Mask);
// Adds WS_EX_TRANSPARENT to the window's extended style.
void SetWindowTransparentStyle(plat::TWinControl* Window);
// The program's call-window-procedure hook: a window move of the UI thread moves the frame
// of the grid showing it. Installed once, the first time a frame is shown.
void FocusHelperWndHook(plat::HWND Handle, const plat::TMessage& Message);

} // namespace grid
