#pragma once
// Decoding of encoded pictures held in memory: GIF, JPEG, BMP, ICO and PNG, recognised by
// their leading bytes, never by a name. A file of several images gives its first one.
// - Any bytes are accepted: damaged, truncated or hostile data gives false and leaves the
//   bitmap untouched; no read leaves the given bytes.
// - Pictures larger than kMaxPicturePixels are refused before any pixel is allocated.
// - Transparent pixels (GIF transparency, ICO masks, PNG alpha below one half) take a colour
//   that no opaque pixel of the picture has; the bitmap is then Transparent with that colour
//   as its fixed transparent colour, so Canvas->Draw leaves them out.
#include <cstddef>
#include <cstdint>

#include "plat/Graphics.h"

namespace plat {

enum TPictureKind { pkUnknown, pkGIF, pkJPEG, pkBMP, pkICO, pkPNG };

constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;

TPictureKind PictureKind(const void* Data, std::size_t Size);
bool DecodePicture(const void* Data, std::size_t Size, TBitmap& Bitmap);

} // namespace plat
