#include <gtest/gtest.h>

#include "TestUtil.h"
#include "plat/String.h"

namespace plat {
namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    String text;
    bool valid;
};

TEST(Utf8, DecodesAndValidates)
{
    const Utf8Case cases[] = {
        {"ascii", "abc", u"abc", true},
        {"two-byte", "\xC3\xA8", u"\u00E8", true},
        {"three-byte", "\xE2\x82\xAC", u"\u20AC", true},
        {"four-byte becomes a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600", true},
        {"lone continuation byte", "a\x80z", u"a\uFFFDz", false},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD", false},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
        {"truncated at the end is one replacement", "ab\xE2\x82", u"ab\uFFFD", false},
        {"Windows-1252 e grave is not UTF-8", "caf\xE8", u"caf\uFFFD", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToString(c.bytes), c.text);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
        if (c.valid) {
            EXPECT_EQ(StringToUtf8(c.text), c.bytes);
        }
    }
}

TEST(Utf8, UnpairedSurrogateIsWrittenAsReplacement)
{
    const String lone = {u'a', static_cast<char16_t>(0xD800), u'b'};
    EXPECT_EQ(StringToUtf8(lone), "a\xEF\xBF\xBD" "b");
}

TEST(Ansi, Windows1252BothWays)
{
    struct Case {
        std::string bytes;
        String text;
    };
    const Case cases[] = {
        {"\x80", u"\u20AC"},
        {"\x8A\x9F", u"\u0160\u0178"},
        {"\xE8\xFF", u"\u00E8\u00FF"},
        {"\x81", u"\u0081"},  // undefined byte keeps its C1 value
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiToString(c.bytes), c.text);
        EXPECT_EQ(StringToAnsi(c.text), c.bytes);
    }
    EXPECT_EQ(StringToAnsi(u"\u4E2D\U0001F600x"), "??x");
}

} // namespace
} // namespace plat

namespace plat {
namespace {

// Arbitrary bytes decode without failing, and valid UTF-8 survives the round trip.
TEST(Utf8, ArbitraryBytesRoundTripWhenValid)
{
    std::uint32_t seed = 7;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 5000; ++round) {
        std::string bytes(next() % 12, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(next() & 0xFF);
        const String text = Utf8ToString(bytes);
        EXPECT_LE(text.size(), bytes.size());
        const std::string back = StringToUtf8(text);
        EXPECT_TRUE(IsValidUtf8(back));
        if (IsValidUtf8(bytes)) {
            EXPECT_EQ(back, bytes);
        } else {
            EXPECT_NE(text.find(u'\uFFFD'), String::npos);
        }
    }
}

} // namespace
} // namespace plat
