#pragma once
// File bytes of the layer's pictures, the forms DecodePicture reads back:
// - BitmapToBmp: a BMP file ("BM"), 24 bits per pixel, or 32 bits with an alpha mask
//   (BITMAPV5HEADER) for a pf32bit bitmap; rows bottom up as the format stores them.
// - IconToIco: an ICO file of one 32-bit image (BGRA rows and an AND mask); a pixel is
//   transparent when its alpha is 0 (pf32bit) or, for a Transparent icon of another
//   format, when it has the icon's transparent colour.
// An empty picture gives an empty text; icons are limited to 256 x 256 pixels by the
// format and larger ones give an empty text too.
#include <string>

#include "plat/Graphics.h"

namespace plat {

std::string BitmapToBmp(const TBitmap& Bitmap);
std::string IconToIco(const TIcon& Icon);

} // namespace plat
