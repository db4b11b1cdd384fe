#pragma once
// The visual-style functions the grid's drawing calls through. This platform has no visual
// styles: the library is never found, so every reference stays unbound, nothing reports a
// theme and the callers keep to their classic look.
#include <cstdint>

#include "plat/Messages.h"
#include "plat/String.h"

namespace grid::ATXPVS {

using HTHEME = std::uintptr_t;  // 0 = no theme data

// Whether the visual-style library was loaded at start-up.
bool ThemeLibraryLoaded();
bool IsThemeActive();
bool IsAppThemed();
HTHEME OpenThemeData(plat::HWND Wnd, plat::StringView ClassList);
void CloseThemeData(HTHEME Theme);
// The colour-scheme name of the active visual style; empty without one.
plat::String GetCurrentThemeColorName();

}  // namespace grid::ATXPVS
