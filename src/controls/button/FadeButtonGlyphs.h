#pragma once
// The button family's own pictures: the glyph strips of the kind presets ("LBOK", "LBCANCEL",
// "LBHELP", "LBYES", "LBNO", "LBCLOSE", "LBABORT", "LBRETRY", "LBIGNORE", "LBALL") and the
// popup arrow "LBARROW". A kind strip holds two images side by side, normal and disabled
// (36 × 18, "LBALL" 36 × 19); the arrow is one 5 × 3 image. Every image has the
// background colour in its bottom-left pixel, which is what makes it transparent.
#include <string_view>
#include <vector>

#include "plat/Types.h"

namespace plat {
class TBitmap;
}

namespace controls {

// Background (transparent) colour of the pictures.
constexpr plat::TColor GlyphBackground = 0x008080;

struct TGlyphPixels {
    int Width = 0;
    int Height = 0;
    std::vector<plat::TColor> Pixels;  // row by row, 0x00BBGGRR
    plat::TColor At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// Empty (0 × 0) for an unknown name.
TGlyphPixels FadeGlyphPixels(std::string_view name);

// Loads the named picture into `bitmap`; false (bitmap untouched) for an unknown name.
bool LoadFadeGlyph(plat::TBitmap& bitmap, std::string_view name);

} // namespace controls
