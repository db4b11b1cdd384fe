#pragma once
// The program's resource table: named bitmaps and raw data (RCDATA) compiled into the
// program, looked up by type and name as the platform's resource loader does (names compare
// case-insensitively). Registration copies the bytes; registering a name again replaces it.
// Safe to use from any thread.
#include <cstddef>
#include <cstdint>
#include <span>

#include "plat/Graphics.h"
#include "plat/String.h"

namespace plat {

enum TResourceType { RT_BITMAP = 2, RT_RCDATA = 10 };

void RegisterResource(TResourceType Type, StringView Name, const void* Data, std::size_t Size);
// The bytes stay valid until the same name is registered again.
bool FindResource(TResourceType Type, StringView Name, std::span<const std::uint8_t>& Bytes);
// A named bitmap resource (BMP or PNG bytes) decoded into Bitmap; false when there is none
// or it cannot be decoded, Bitmap then untouched.
bool LoadBitmapResource(StringView Name, TBitmap& Bitmap);

// Registers one resource when a static object of the program is created, so that a unit
// keeps its pictures beside its code.
struct TResourceRegistration {
    TResourceRegistration(TResourceType Type, StringView Name, const void* Data, std::size_t Size) {
        RegisterResource(Type, Name, Data, Size);
    }
};

} // namespace plat
