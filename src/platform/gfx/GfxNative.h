#pragma once
// Bridge between the graphics classes and Qt, for the platform's own targets only (never
// included from a public header). A canvas can draw into an image owned by someone else,
// such as a window's surface, at an offset and under a clip.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include "GfxInit.h"
#include "plat/Graphics.h"

namespace plat::gfx {

// Binds `canvas` to `surface`: device (0, 0) is surface pixel `offset`; drawing stays inside
// `clip` (surface coordinates; nullptr = the whole surface). The image must outlive the
// binding. Binding resets the selected clip region and the window origin. A surface that is
// not 32 bits deep is converted to premultiplied ARGB in place.
void BindCanvas(TCanvas* canvas, QImage* surface, QPoint offset, const QRegion* clip);
void UnbindCanvas(TCanvas* canvas);
QImage* BoundSurface(const TCanvas* canvas);

// The bitmap's pixels (Format_ARGB32_Premultiplied, alpha 255 where the canvas drew).
QImage& BitmapImage(TBitmap* bitmap);
const QImage& BitmapImage(const TBitmap* bitmap);

// The QFont the canvas draws with: mapped family, pixel size, no antialiasing, no kerning.
QFont ToQFont(const TFont& font);
// System colours resolved; clNone gives an invalid QColor.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

const QRegion& NativeRegion(const TRegion& region);
TRegion FromNativeRegion(const QRegion& region);

} // namespace plat::gfx
