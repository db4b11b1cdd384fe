#include "FadeButtonGlyphs.h"

#include "plat/Graphics.h"

namespace controls {

bool LoadFadeGlyph(plat::TBitmap& bitmap, std::string_view name)
{
    const TGlyphPixels art = FadeGlyphPixels(name);
    if (art.Width == 0)
        return false;
    bitmap.SetSize(art.Width, art.Height);
    for (int y = 0; y < art.Height; ++y) {
        auto* row = static_cast<unsigned char*>(bitmap.ScanLine(y));
        for (int x = 0; x < art.Width; ++x) {
            const plat::TColor c = art.At(x, y);
            row[4 * x + 0] = static_cast<unsigned char>(plat::GetBValue(c));
            row[4 * x + 1] = static_cast<unsigned char>(plat::GetGValue(c));
            row[4 * x + 2] = static_cast<unsigned char>(plat::GetRValue(c));
            row[4 * x + 3] = 0xFF;
        }
    }
    return true;
}

} // namespace controls
