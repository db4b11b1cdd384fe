#include "ImageBytes.h"

namespace image {

namespace {

// Decodes one code point at i, advancing i; lone surrogates become U+FFFD.
char32_t Next_Code_Point(plat::StringView text, std::size_t& i) {
    char32_t unit = text[i++];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            char32_t low = text[i++];
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        return 0xFFFD;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return 0xFFFD;
    return unit;
}

std::uint32_t Utf8_Width(char32_t cp) {
    if (cp < 0x80)
        return 1;
    if (cp < 0x800)
        return 2;
    if (cp < 0x10000)
        return 3;
    return 4;
}

} // namespace

std::uint32_t Utf8_Length(plat::StringView text) {
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < text.size();) {
        // Plain ASCII runs are by far the common case.
        if (text[i] < 0x80) {
            ++length;
            ++i;
            continue;
        }
        length += Utf8_Width(Next_Code_Point(text, i));
    }
    return length;
}

std::size_t Put_Utf8(std::uint8_t* buffer, std::size_t pos, plat::StringView text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = Next_Code_Point(text, i);
        if (cp < 0x80) {
            buffer[pos++] = static_cast<std::uint8_t>(cp);
        } else if (cp < 0x800) {
            buffer[pos++] = static_cast<std::uint8_t>(0xC0 | (cp >> 6));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            buffer[pos++] = static_cast<std::uint8_t>(0xE0 | (cp >> 12));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
        } else {
            buffer[pos++] = static_cast<std::uint8_t>(0xF0 | (cp >> 18));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
            buffer[pos++] = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
        }
    }
    return pos;
}

} // namespace image
