#pragma once
// Byte-level writers of the configuration image. Every field is written on its own,
// little-endian, at an explicit position; nothing relies on a compiler's struct layout.
// UTF-8 here is this unit's own encoder so that the length measured when offsets are
// assigned is always the length written (an unpaired surrogate is U+FFFD, 3 bytes).
#include <cstddef>
#include <cstdint>

#include "plat/String.h"

namespace image {

inline void Put_U8(std::uint8_t* buffer, std::size_t pos, std::uint32_t value) {
    buffer[pos] = static_cast<std::uint8_t>(value);
}

inline void Put_U16(std::uint8_t* buffer, std::size_t pos, std::uint32_t value) {
    buffer[pos] = static_cast<std::uint8_t>(value);
    buffer[pos + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void Put_U32(std::uint8_t* buffer, std::size_t pos, std::uint32_t value) {
    buffer[pos] = static_cast<std::uint8_t>(value);
    buffer[pos + 1] = static_cast<std::uint8_t>(value >> 8);
    buffer[pos + 2] = static_cast<std::uint8_t>(value >> 16);
    buffer[pos + 3] = static_cast<std::uint8_t>(value >> 24);
}

inline std::uint32_t Get_U32(const std::uint8_t* buffer, std::size_t pos) {
    return static_cast<std::uint32_t>(buffer[pos]) | static_cast<std::uint32_t>(buffer[pos + 1]) << 8 |
           static_cast<std::uint32_t>(buffer[pos + 2]) << 16 | static_cast<std::uint32_t>(buffer[pos + 3]) << 24;
}

// Number of UTF-8 bytes of the text, without a closing zero.
std::uint32_t Utf8_Length(plat::StringView text);

// Writes the UTF-8 bytes of the text (no closing zero) and returns the position after them.
std::size_t Put_Utf8(std::uint8_t* buffer, std::size_t pos, plat::StringView text);

} // namespace image
