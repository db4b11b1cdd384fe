#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "TestUtil.h"
#include "plat/SysUtils.h"

namespace plat {
namespace {

// Tests that use the process-wide settings start from the defaults, whatever the locale of
// the machine running them.
class DefaultFormatSettings : public ::testing::Environment {
public:
    void SetUp() override { FormatSettings = TFormatSettings{}; }
};
const auto* const kDefaultSettings = ::testing::AddGlobalTestEnvironment(new DefaultFormatSettings);

using test::ThrowsWith;
using test::U8;

TEST(Trim, BlanksAndControlCharacters)
{
    struct Case {
        String in, both, left, right;
    };
    const Case cases[] = {
        {u"  a b  ", u"a b", u"a b  ", u"  a b"},
        {u"\t\r\na\x01", u"a", u"a\x01", u"\t\r\na"},
        {u"   ", u"", u"", u""},
        {u"", u"", u"", u""},
        {u"\u00A0x\u00A0", u"\u00A0x\u00A0", u"\u00A0x\u00A0", u"\u00A0x\u00A0"},  // no-break space stays
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.in), c.both) << U8(c.in);
        EXPECT_EQ(TrimLeft(c.in), c.left) << U8(c.in);
        EXPECT_EQ(TrimRight(c.in), c.right) << U8(c.in);
    }
}

TEST(Case, PlainAndUnicode)
{
    EXPECT_EQ(UpperCase(u"abz\u00E8\u0451"), u"ABZ\u00E8\u0451");
    EXPECT_EQ(LowerCase(u"ABZ\u00C8"), u"abz\u00C8");
    EXPECT_EQ(AnsiUpperCase(u"abz\u00E8\u00FF\u0451\u03C9"), u"ABZ\u00C8\u0178\u0401\u03A9");
    EXPECT_EQ(AnsiLowerCase(u"ABZ\u00C8\u0401"), u"abz\u00E8\u0451");
    EXPECT_TRUE(SameText(u"Par_Gen", u"PAR_GEN"));
    EXPECT_FALSE(SameText(u"\u00E8", u"\u00C8"));
    EXPECT_TRUE(AnsiSameText(u"\u00E8", u"\u00C8"));
    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_GT(CompareStr(u"a", u"B"), 0);
    EXPECT_LT(CompareText(u"ab", u"abc"), 0);
}

TEST(OneBased, PosCopyDeleteInsert)
{
    EXPECT_EQ(Pos(u"b", u"abcb"), 2);
    EXPECT_EQ(Pos(u"x", u"abc"), 0);
    EXPECT_EQ(Pos(u"", u"abc"), 0);
    EXPECT_EQ(PosEx(u"b", u"abcb", 3), 4);
    EXPECT_EQ(PosEx(u"b", u"abcb", 9), 0);

    struct CopyCase {
        int index, count;
        String expected;
    };
    const CopyCase copies[] = {{1, 2, u"ab"}, {0, 2, u"ab"}, {3, 99, u"cd"}, {5, 1, u""}, {2, 0, u""}, {2, -1, u""}};
    for (const auto& c : copies)
        EXPECT_EQ(Copy(u"abcd", c.index, c.count), c.expected) << c.index << "," << c.count;

    String s = u"abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, u"adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, u"ad");
    Delete(s, 0, 1);  // out of range: nothing
    EXPECT_EQ(s, u"ad");
    Insert(u"XY", s, 2);
    EXPECT_EQ(s, u"aXYd");
    Insert(u"!", s, 99);
    EXPECT_EQ(s, u"aXYd!");
}

TEST(StringReplaceFlags, AllAndIgnoreCase)
{
    EXPECT_EQ(StringReplace(u"a.b.c", u".", u",", 0), u"a,b.c");
    EXPECT_EQ(StringReplace(u"a.b.c", u".", u",", rfReplaceAll), u"a,b,c");
    EXPECT_EQ(StringReplace(u"xAxa", u"a", u"-", rfReplaceAll), u"xAx-");
    EXPECT_EQ(StringReplace(u"xAxa", u"a", u"-", rfReplaceAll | rfIgnoreCase), u"x-x-");
    EXPECT_EQ(StringReplace(u"aaa", u"aa", u"a", rfReplaceAll), u"aa");  // no rescanning of output
    EXPECT_EQ(StringReplace(u"abc", u"", u"x", rfReplaceAll), u"abc");
}

TEST(IntToText, DecimalAndHex)
{
    EXPECT_EQ(IntToStr(0), u"0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), u"-2147483648");
    EXPECT_EQ(IntToStr(INT64_MIN), u"-9223372036854775808");
    EXPECT_EQ(IntToStr(4000000000u), u"4000000000");
    EXPECT_EQ(IntToHex(255, 4), u"00FF");
    EXPECT_EQ(IntToHex(0x1ABC, 2), u"1ABC");
    EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
    EXPECT_EQ(IntToHex(static_cast<std::int64_t>(-1), 2), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(static_cast<std::uint8_t>(0xAB), 1), u"AB");
}

// The integer rule is used everywhere a text field becomes a number.
TEST(TextToInt, FrameworkRule)
{
    struct Case {
        String text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"123", 123},
        {u"+123", 123},
        {u"-123", -123},
        {u"007", 7},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", std::nullopt},   // overflow
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"$FF", 255},
        {u"$ff", 255},
        {u"0x1F", 31},
        {u"0X1f", 31},
        {u"-$10", -16},
        {u"$7FFFFFFF", 2147483647},
        {u"$FFFFFFFF", -1},              // hex covers the unsigned width
        {u"$100000000", std::nullopt},
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u" 1", std::nullopt},           // blanks are not numbers
        {u"1 ", std::nullopt},
        {u"\t1", std::nullopt},
        {u"+", std::nullopt},
        {u"-", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"1.0", std::nullopt},
        {u"1e3", std::nullopt},
        {u"12a", std::nullopt},
        {u"x1F", std::nullopt},
        {u"--1", std::nullopt},
        {u"\uFF11", std::nullopt},       // full-width digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.text));
        int v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.value.has_value());
        EXPECT_EQ(StrToIntDef(c.text, -99), c.value.value_or(-99));
        if (c.value) {
            EXPECT_EQ(v, *c.value);
            EXPECT_EQ(StrToInt(c.text), *c.value);
        } else {
            EXPECT_EQ(v, 12345) << "failed parse must leave the value alone";
            EXPECT_TRUE(ThrowsWith<EConvertError>([&] { StrToInt(c.text); },
                                                  u"'" + c.text + u"' is not a valid integer value"));
        }
    }
}

TEST(TextToInt, Int64Limits)
{
    struct Case {
        String text;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {u"9223372036854775807", INT64_MAX},
        {u"-9223372036854775808", INT64_MIN},
        {u"9223372036854775808", std::nullopt},
        {u"$FFFFFFFFFFFFFFFF", -1},
        {u"$FFFFFFFF", 4294967295LL},
        {u"0x10000000000000000", std::nullopt},
        {u" 5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.text));
        std::int64_t v = 0;
        EXPECT_EQ(TryStrToInt64(c.text, v), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(v, *c.value);
        }
        EXPECT_EQ(StrToInt64Def(c.text, 7), c.value.value_or(7));
    }
    EXPECT_TRUE(ThrowsWith<EConvertError>([] { StrToInt64(u"z"); }, u"'z' is not a valid integer value"));
}

TEST(TextToFloat, FollowsTheDecimalSeparatorOfTheSettings)
{
    TFormatSettings dot;
    TFormatSettings comma;
    comma.DecimalSeparator = u',';
    comma.ThousandSeparator = u'.';
    struct Case {
        String text;
        const TFormatSettings* fs;
        std::optional<double> value;
    };
    const Case cases[] = {
        {u"1.5", &dot, 1.5},
        {u"1,5", &dot, std::nullopt},
        {u"1,5", &comma, 1.5},
        {u"1.5", &comma, std::nullopt},
        {u"1.000,5", &comma, std::nullopt},  // no thousands separators
        {u"-0.25", &dot, -0.25},
        {u"+3", &dot, 3.0},
        {u".5", &dot, 0.5},
        {u"5.", &dot, 5.0},
        {u"1E3", &dot, 1000.0},
        {u"1.5e-2", &dot, 0.015},
        {u" 2.5 ", &dot, 2.5},  // surrounding blanks allowed for floats
        {u"", &dot, std::nullopt},
        {u".", &dot, std::nullopt},
        {u"1e", &dot, std::nullopt},
        {u"e5", &dot, std::nullopt},
        {u"1e999", &dot, std::nullopt},
        {u"NAN", &dot, std::nullopt},
        {u"INF", &dot, std::nullopt},
        {u"0x10", &dot, std::nullopt},
        {u"1 5", &dot, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.text) + (c.fs == &comma ? " (comma)" : " (dot)"));
        double v = -1;
        EXPECT_EQ(TryStrToFloat(c.text, v, *c.fs), c.value.has_value());
        if (c.value) {
            EXPECT_DOUBLE_EQ(v, *c.value);
            EXPECT_DOUBLE_EQ(StrToFloat(c.text, *c.fs), *c.value);
        } else {
            EXPECT_DOUBLE_EQ(StrToFloatDef(c.text, 42, *c.fs), 42);
            EXPECT_TRUE(ThrowsWith<EConvertError>([&] { StrToFloat(c.text, *c.fs); },
                                                  u"'" + c.text + u"' is not a valid floating point value"));
        }
    }
}

TEST(TextToFloat, ProcessSettingsAreReplaceable)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    EXPECT_DOUBLE_EQ(StrToFloat(u"2,5"), 2.5);
    EXPECT_EQ(FloatToStr(2.5), u"2,5");
    FormatSettings = saved;
    EXPECT_EQ(FloatToStr(2.5), u"2.5");
}

TEST(FloatToText, GeneralFifteenDigits)
{
    struct Case {
        double value;
        String text;
    };
    const Case cases[] = {
        {0, u"0"},
        {1, u"1"},
        {-2.5, u"-2.5"},
        {0.1, u"0.1"},
        {1.0 / 3, u"0.333333333333333"},
        {2.0 / 3, u"0.666666666666667"},
        {123456789012345.0, u"123456789012345"},
        {1e15, u"1E15"},
        {1e20, u"1E20"},
        {0.0001, u"0.0001"},
        {0.00001, u"1E-5"},
        {1.5e-7, u"1.5E-7"},
        {100, u"100"},
        {1234.5678, u"1234.5678"},
        {0.1 + 0.2, u"0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
}

TEST(FloatToText, Pictures)
{
    TFormatSettings comma;
    comma.DecimalSeparator = u',';
    comma.ThousandSeparator = u'.';
    struct Case {
        String picture;
        double value;
        String dotText;
        String commaText;
    };
    const Case cases[] = {
        {u"0.00", 1.005, u"1.01", u"1,01"},  // rounds the 15-digit decimal value, not the binary one
        {u"0.00", 2.345, u"2.35", u"2,35"},
        {u"0.00", -0.001, u"0.00", u"0,00"},  // rounds to zero: no minus
        {u"0.###", 1.5, u"1.5", u"1,5"},
        {u"#.##", 0.5, u".5", u",5"},
        {u"#,##0.00", 1234567.891, u"1,234,567.89", u"1.234.567,89"},
        {u"000", 7, u"007", u"007"},
        {u"0", 2.5, u"3", u"3"},
        {u"0.0\"%\"", 12.34, u"12.3%", u"12,3%"},
        {u"0.00;(0.00)", -1.5, u"(1.50)", u"(1,50)"},
        {u"0.0;-0.0;\"zero\"", 0, u"zero", u"zero"},
        {u"0.00E+00", 12345, u"1.23E+04", u"1,23E+04"},
        {u"", 0.25, u"0.25", u"0,25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.picture));
        EXPECT_EQ(FormatFloat(c.picture, c.value, TFormatSettings{}), c.dotText);
        EXPECT_EQ(FormatFloat(c.picture, c.value, comma), c.commaText);
    }
}

TEST(LocaleSettings, TakenFromTheLocaleData)
{
    struct Case {
        const char* name;
        String radix, thousands, dateFmt, timeFmt;
        char16_t dec, thou, dateSep, timeSep;
        String shortDate, longTime, shortTime;
    };
    const Case cases[] = {
        {"de_DE", u",", u".", u"%d.%m.%Y", u"%T", u',', u'.', u'.', u':', u"dd/mm/yyyy", u"hh:nn:ss", u"hh:nn"},
        {"en_US", u".", u",", u"%m/%d/%Y", u"%r", u'.', u',', u'/', u':', u"mm/dd/yyyy", u"hh:nn:ss ampm",
         u"hh:nn ampm"},
        {"fr_FR", u",", u" ", u"%d/%m/%Y", u"%H:%M:%S", u',', u' ', u'/', u':', u"dd/mm/yyyy",
         u"hh:nn:ss", u"hh:nn"},
        {"it_IT", u",", u"", u"%d/%m/%Y", u"%H:%M:%S", u',', u'.', u'/', u':', u"dd/mm/yyyy", u"hh:nn:ss",
         u"hh:nn"},
        {"ja_JP", u".", u",", u"%Y年%m月%d日", u"%H時%M分%S秒", u'.', u',', u'/', u':',
         u"yyyy年mm月dd日", u"hh時nn分ss秒", u"hh時nn分ss秒"},
        {"ISO dates", u".", u",", u"%F", u"%R", u'.', u',', u'-', u':', u"yyyy/mm/dd", u"hh:nn", u"hh:nn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TFormatSettings fs = FormatSettingsFromLocaleData(c.radix, c.thousands, c.dateFmt, c.timeFmt);
        EXPECT_EQ(fs.DecimalSeparator, c.dec);
        EXPECT_EQ(fs.ThousandSeparator, c.thou);
        EXPECT_EQ(fs.DateSeparator, c.dateSep);
        EXPECT_EQ(fs.TimeSeparator, c.timeSep);
        EXPECT_EQ(U8(fs.ShortDateFormat), U8(c.shortDate));
        EXPECT_EQ(U8(fs.LongTimeFormat), U8(c.longTime));
        EXPECT_EQ(U8(fs.ShortTimeFormat), U8(c.shortTime));
    }
    // The C locale keeps the defaults.
    const TFormatSettings c = LocaleFormatSettings("C");
    EXPECT_EQ(c.DecimalSeparator, u'.');
    EXPECT_EQ(c.ShortDateFormat, u"dd/mm/yyyy");
}

TEST(ProfileDecimalSeparator, OverriddenSeparatelyFromTheFormatSettings)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u'.';
    SetProfileDecimalSeparator(u',');
    EXPECT_EQ(GetProfileDecimalSeparator(), u',');
    EXPECT_EQ(FormatSettings.DecimalSeparator, u'.');
    EXPECT_DOUBLE_EQ(StrToFloat(u"1.25"), 1.25);  // parsing follows the format settings
    SetProfileDecimalSeparator(0);
    const char16_t sep = GetProfileDecimalSeparator();
    EXPECT_TRUE(sep == u'.' || sep == u',') << static_cast<int>(sep);
    FormatSettings = saved;
}

} // namespace
} // namespace plat
