#pragma once
// File bytes of the layer's pictures, the forms DecodePicture reads back:
// - BitmapToBmp: a BMP file ("BM"), 24 bits per pixel, or 32 bits with an alpha mask
//   (BITMAPV5HEADER) for a pf32bit bitmap; rows bottom up as the format stores them.
// - IconToIco: an ICO file of one 32-bit image (BGRA rows and an AND mask); a pixel is
//   transparent when its alpha is 0 (pf32bit) or, for a Transparent icon of another
//   format, when it has the icon's transparent colour.
// - BitmapToJpeg: a JPEG file of the colours.
// An empty picture gives an empty text; icons are limited to 256 x 256 pixels by the
// format and larger ones give an empty text too.
#include <string>

#include "plat/Graphics.h"

namespace plat {

std::string BitmapToBmp(const TBitmap& Bitmap);
std::string IconToIco(const TIcon& Icon);
// A baseline JPEG file (libjpeg, API 62) of the bitmap's colours at Quality 1..100; alpha is
// dropped. An empty bitmap gives an empty text.
std::string BitmapToJpeg(const TBitmap& Bitmap, int Quality = 90);

} // namespace plat
