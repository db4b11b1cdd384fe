#pragma once
// The program's resource table: named bitmaps and raw data (RCDATA) compiled into the
// program, looked up by type and name as the platform's resource loader does (names compare
// case-insensitively). Registration copies the bytes; registering a name again replaces it.
// Safe to use from any thread.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "plat/Graphics.h"
#include "plat/String.h"

namespace plat {

enum TResourceType { RT_CURSOR = 1, RT_BITMAP = 2, RT_RCDATA = 10 };

void RegisterResource(TResourceType Type, StringView Name, const void* Data, std::size_t Size);
// The bytes stay valid until the same name is registered again.
bool FindResource(TResourceType Type, StringView Name, std::span<const std::uint8_t>& Bytes);
// A named bitmap resource (BMP or PNG bytes) decoded into Bitmap; false when there is none
// or it cannot be decoded, Bitmap then untouched.
bool LoadBitmapResource(StringView Name, TBitmap& Bitmap);

// Cursor resources (RT_CURSOR): the hot spot as two little-endian 16-bit numbers (x, y)
// followed by the picture's BMP or PNG bytes; magenta (0xFF00FF) pixels of a picture without
// alpha are transparent. The program's cursors are named by their number ("8000").
struct TCursorImage {
    int Width = 0;
    int Height = 0;
    TPoint HotSpot;
    std::vector<std::uint32_t> Pixels;  // premultiplied 0xAARRGGBB, row by row from the top
};
// A loaded cursor. Handles stay valid for the whole run (one per resource name), so they can
// be kept in the screen's cursor table and compared.
using HCURSOR = const TCursorImage*;
// nullptr when there is no such cursor resource, its bytes cannot be decoded, or the hot spot
// lies outside the picture.
HCURSOR LoadCursorResource(StringView Name);
HCURSOR LoadCursorResource(int Id);
// The resource bytes of a cursor made from a picture's bytes and a hot spot.
std::vector<std::uint8_t> MakeCursorResource(TPoint HotSpot, const void* Picture, std::size_t Size);

// Registers one resource when a static object of the program is created, so that a unit
// keeps its pictures beside its code.
struct TResourceRegistration {
    TResourceRegistration(TResourceType Type, StringView Name, const void* Data, std::size_t Size) {
        RegisterResource(Type, Name, Data, Size);
    }
};

} // namespace plat
