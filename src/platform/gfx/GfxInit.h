#pragma once
// Start-up of the graphics target, free of Qt types so that test and tool mains can call it.
#include "plat/Graphics.h"

namespace plat::gfx {

// Creates an offscreen QGuiApplication when no application object exists yet (tests,
// tools), then registers the fonts. Harmless when called again.
void EnsureGuiApplication();
// Registers the stand-in font files (Wine's Tahoma, MS Sans Serif, Symbol) with Qt's font
// database once; every font use does this on its own too.
void RegisterFonts();

// Binds a canvas to a bitmap's pixels the way a window canvas is bound to its surface:
// device (0, 0) at `origin`, drawing limited to `clip` (bitmap coordinates; nullptr = all).
// The bitmap must outlive the binding; UnbindBitmapCanvas ends it.
void BindCanvasToBitmap(TCanvas* canvas, TBitmap* target, TPoint origin, const TRegion* clip);
void UnbindBitmapCanvas(TCanvas* canvas);

// What the font machinery actually picked for a font: the installed family and the pixel
// size of the em square.
String ActualFontFamily(const TFont& font);
int ActualPixelSize(const TFont& font);

} // namespace plat::gfx
