#include "plat/String.h"

#include <cstdint>

namespace plat {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the five undefined ones keep their C1 value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one sequence at bytes[i]; returns the code point or -1 (and the length consumed,
// at least 1, so that a bad byte is replaced on its own).
long DecodeOne(std::string_view bytes, std::size_t i, std::size_t& len)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    len = 1;
    if (b0 < 0x80)
        return b0;
    int need;
    long cp;
    long min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1; cp = b0 & 0x1F; min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2; cp = b0 & 0x0F; min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3; cp = b0 & 0x07; min = 0x10000;
    } else {
        return -1;
    }
    for (int k = 1; k <= need; ++k) {
        if (i + k >= bytes.size())
            return -1;
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (b & 0x3F);
        // Reject overlong and surrogate forms as early as the second byte decides them,
        // so the following bytes are read again as their own sequences.
        if (k == 1) {
            if (b0 == 0xE0 && b < 0xA0) return -1;
            if (b0 == 0xED && b > 0x9F) return -1;
            if (b0 == 0xF0 && b < 0x90) return -1;
            if (b0 == 0xF4 && b > 0x8F) return -1;
        }
        len = k + 1;
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    return cp;
}

char* PutUtf8(char* p, std::uint32_t cp)
{
    if (cp < 0x80) {
        *p++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *p++ = static_cast<char>(0xC0 | (cp >> 6));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (cp >> 12));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (cp >> 18));
        *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return p;
}

} // namespace

String Utf8ToString(std::string_view bytes)
{
    // Never more UTF-16 units than bytes; written through a pointer, then trimmed.
    String out;
    out.resize(bytes.size());
    char16_t* p = out.data();
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *p++ = static_cast<char16_t>(b);
            ++i;
            continue;
        }
        std::size_t len = 1;
        const long cp = DecodeOne(bytes, i, len);
        i += len;
        if (cp < 0) {
            *p++ = kReplacement;
        } else if (cp >= 0x10000) {
            const long v = cp - 0x10000;
            *p++ = static_cast<char16_t>(0xD800 + (v >> 10));
            *p++ = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            *p++ = static_cast<char16_t>(cp);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

std::string StringToUtf8(StringView text)
{
    // At most three bytes per UTF-16 unit (a pair of units gives four).
    std::string out;
    out.resize(text.size() * 3);
    char* p = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint32_t c = text[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            p = PutUtf8(p, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            p = PutUtf8(p, kReplacement);
        } else {
            p = PutUtf8(p, c);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 1;
        if (DecodeOne(bytes, i, len) < 0)
            return false;
        i += len;
    }
    return true;
}

String AnsiToString(std::string_view bytes)
{
    String out;
    out.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

AnsiString StringToAnsi(StringView text)
{
    // At most one byte per UTF-16 unit, written through a pointer (no growth check per byte).
    AnsiString out;
    out.resize(text.size());
    char* p = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            *p++ = static_cast<char>(c);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kCp1252High[k] == c) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        // A surrogate pair is one character: one '?' for it.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        *p++ = mapped;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

} // namespace plat
