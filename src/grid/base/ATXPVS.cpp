#include "ATXPVS.h"

namespace grid::ATXPVS {

bool ThemeLibraryLoaded() { return false; }
bool IsThemeActive() { return false; }
bool IsAppThemed() { return false; }
HTHEME OpenThemeData(plat::HWND, plat::StringView) { return 0; }
void CloseThemeData(HTHEME) {}
plat::String GetCurrentThemeColorName() { return plat::String(); }

}  // namespace grid::ATXPVS
