#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ExtUtil.h"
#include "plat/Exception.h"
#include "plat/Graphics.h"
#include "TestSupport.h"

using namespace grid;
using plat::TDateTime;

namespace {

std::string U8(plat::StringView s) { return plat::StringToUtf8(s); }

// Pins the process-wide format settings for one test.
class PinnedFormat {
public:
    PinnedFormat(plat::String shortDate, char16_t dateSep, char16_t timeSep = u':', char16_t dec = u'.',
                 char16_t thousand = u',')
        : saved_(plat::FormatSettings) {
        plat::FormatSettings.ShortDateFormat = std::move(shortDate);
        plat::FormatSettings.DateSeparator = dateSep;
        plat::FormatSettings.TimeSeparator = timeSep;
        plat::FormatSettings.DecimalSeparator = dec;
        plat::FormatSettings.ThousandSeparator = thousand;
    }
    ~PinnedFormat() { plat::FormatSettings = saved_; }

private:
    plat::TFormatSettings saved_;
};

TEST(FilterExpression, Cases) {
    PinnedFormat pin(u"dd/mm/yyyy", u'/');
    struct Case { const char16_t* expr; const char16_t* text; bool caseSensitive; bool want; };
    const Case cases[] = {
        {u"a*|b*", u"Apple", false, true},
        {u"a*|b*", u"Apple", true, false},
        {u"a*|b*", u"banana", false, true},
        {u"a*|b*", u"banana", true, true},
        {u"(>1&<5)|x", u"3", false, true},
        {u"(>1&<5)|x", u"x", false, true},
        {u"(>1&<5)|x", u"7", false, false},
        {u"!a*", u"bcd", false, true},
        {u"!a*", u"abc", false, false},
        {u"=>=10", u"10", false, true},
        {u">=10", u"9.5", false, false},
        {u">10", u"10", false, false},
        {u"<=10", u"10", false, true},
        {u">5", u"abc", false, true},       // texts compared by character code
        {u">5", u">5", false, true},        // a failed comparison still matches literally
        {u">9", u"10", false, true},        // numbers compare as numbers, not texts
        {u"a b", u"ab", false, true},       // blanks outside quotes are dropped
        {u"\"a b\"", u"a b", false, true},  // and kept inside
        {u"", u"", false, true},
        {u"", u"x", false, false},
        {u"?b", u"ab", true, true},
        {u"?b", u"b", true, false},
        {u"a*c", u"abbbc", true, true},
        {u"a*c", u"abbbd", true, false},
        {u"a**", u"a", true, true},
        {u"x&y", u"x", false, false},
        {u"x;y", u"y", false, true},
        {u"x^y", u"y", false, true},
        {u">01/02/2012&<01/03/2012", u"15/02/2012", false, true},   // dates compare as dates
        {u">01/02/2012&<01/03/2012", u"15/03/2011", false, false},
        {u"(a*", u"abc", false, true},      // an unclosed group takes the rest
        {u"((a*)|x)&b*", u"abc", false, false},
        {u"((a*)|x)&*c", u"abc", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFilterExpression(c.expr, c.text, c.caseSensitive), c.want)
            << U8(c.expr) << " on " << U8(c.text) << (c.caseSensitive ? " (case)" : "");
}

// Plain wildcards ("*", "?", letters) must agree with Python's fnmatchcase.
TEST(FilterExpression, PlainWildcardsAgreeWithFnmatch) {
    if (std::system("python3 -c 'import fnmatch' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 missing";
    std::vector<std::string> patterns{""}, values{""};
    for (std::size_t len = 0, from = 0; len < 4; ++len) {
        const std::size_t to = patterns.size();
        for (std::size_t i = from; i < to; ++i)
            for (char c : std::string("ab*?")) patterns.push_back(patterns[i] + c);
        from = to;
    }
    for (std::size_t len = 0, from = 0; len < 5; ++len) {
        const std::size_t to = values.size();
        for (std::size_t i = from; i < to; ++i)
            for (char c : std::string("ab")) values.push_back(values[i] + c);
        from = to;
    }
    const std::string in = std::string(TEST_BINARY_DIR) + "/fnmatch_cases.txt";
    const std::string out = std::string(TEST_BINARY_DIR) + "/fnmatch_result.txt";
    {
        std::ofstream f(in);
        for (const auto& p : patterns)
            for (const auto& v : values) f << '[' << p << "]\t[" << v << "]\n";
    }
    const std::string script =
        "import fnmatch,sys\n"
        "out=open(sys.argv[2],'w')\n"
        "for line in open(sys.argv[1]):\n"
        "  p,v=line.rstrip('\\n').split('\\t')\n"
        "  out.write('1' if fnmatch.fnmatchcase(v[1:-1],p[1:-1]) else '0')\n";
    const std::string py = std::string(TEST_BINARY_DIR) + "/fnmatch_oracle.py";
    std::ofstream(py) << script;
    ASSERT_EQ(std::system(("python3 " + py + " " + in + " " + out).c_str()), 0);
    std::ifstream r(out);
    std::string answers((std::istreambuf_iterator<char>(r)), std::istreambuf_iterator<char>());
    ASSERT_EQ(answers.size(), patterns.size() * values.size());
    std::size_t k = 0, mismatches = 0;
    for (const auto& p : patterns)
        for (const auto& v : values) {
            const bool want = answers[k++] == '1';
            const bool got = MatchFilterCondition(plat::Utf8ToString(p), plat::Utf8ToString(v));
            if (got != want && ++mismatches <= 10) ADD_FAILURE() << "pattern '" << p << "' value '" << v << "'";
        }
    EXPECT_EQ(mismatches, 0u);
}

TEST(NumberText, Classify) {
    PinnedFormat pin(u"dd/mm/yyyy", u'/');
    struct Case { const char16_t* text; int want; };
    const Case cases[] = {
        {u"123", 0}, {u"-1.5", 1}, {u"1e5", 5}, {u"1-2", 2}, {u"", 2}, {u"-", 0},
        {u"1,234.5", 1}, {u"1,23,4", 2}, {u"1.2.3", 2}, {u"e5", 2}, {u"1e", 2},
        {u"-1e-5", 5}, {u"1e5e6", 2}, {u"abc", 2}, {u"--1", 2}, {u"1,000,000", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyNumberText(c.text), c.want) << U8(c.text);
}

TEST(NumberText, ExtractAndNormalize) {
    PinnedFormat pin(u"dd.mm.yyyy", u'.', u':', u',', u'.');
    struct Case { const char16_t* text; const char16_t* want; };
    const Case cases[] = {
        {u"", u""}, {u"1.234,5", u"1234.5"}, {u"(12,5)", u"-12.5"}, {u"USD 12", u"12"},
        {u"-x7", u"-7"}, {u"12 kg", u"12"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtractNumericText(c.text), c.want) << U8(c.text);
    EXPECT_EQ(NormalizeFloatText(u"1.234.567,25"), u"1234567.25");
}

TDateTime DT(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return plat::EncodeDate(y, m, d) + plat::EncodeTime(h, n, s, 0);
}

TEST(DateText, TextToDateByFormat) {
    struct Case { const char16_t* fmt; char16_t sep; const char16_t* text; bool ok; TDateTime want; };
    const Case cases[] = {
        {u"dd/mm/yyyy", u'/', u"31/12/2012 10:30", true, DT(2012, 12, 31, 10, 30)},
        {u"dd/mm/yyyy", u'/', u"31/12/2012 10:30:15", true, DT(2012, 12, 31, 10, 30, 15)},
        {u"dd/mm/yyyy", u'/', u"31/12/2012 10", false, 0},
        {u"dd/mm/yyyy", u'/', u"12/2012", false, 0},
        {u"dd/mm/yyyy", u'/', u"32/12/2012", false, 0},
        {u"dd/mm/yyyy", u'/', u"31/13/2012", false, 0},
        {u"dd/mm/yyyy", u'/', u"31/02/2012", false, 0},
        {u"dd/mm/yyyy", u'/', u"1/2/2012 24:00", false, 0},
        {u"dd/mm/yyyy", u'/', u"1/2/2012 10:60", false, 0},
        {u"dd/mm/yyyy", u'/', u"a/2/2012", false, 0},
        {u"mm/dd/yyyy", u'/', u"12/31/2012", true, DT(2012, 12, 31)},
        {u"yyyy-mm-dd", u'-', u"2012-12-31", true, DT(2012, 12, 31)},
        {u"dd.mm.yy", u'.', u"05.06.12", true, DT(12, 6, 5)},  // the year as written
    };
    for (const auto& c : cases) {
        PinnedFormat pin(c.fmt, c.sep);
        TDateTime got = -1;
        EXPECT_EQ(TextToDateByFormat(c.text, got), c.ok) << U8(c.text);
        if (c.ok) {
            EXPECT_NEAR(got, c.want, 1e-9) << U8(c.text);
        }
    }
}

TEST(DateText, ThreePartParsersKeepWrittenCenturies) {
    struct Case { const char16_t* text; bool dayFirst; TDateTime want; };
    const Case cases[] = {
        {u"1.2.24", true, DT(2024, 2, 1)},
        {u"1.2.1999", true, DT(1999, 2, 1)},
        {u"1/2/2012", true, DT(2012, 2, 1)},
        {u"1/2/2012", false, DT(2012, 1, 2)},
        {u"12-31-99", false, DT(1999, 12, 31)},
        {u"1-2-25", true, DT(2025, 2, 1)},
        {u"1-2-26", true, DT(1926, 2, 1)},
        {u"1/2", true, 0},
        {u"x/2/2012", true, 0},
        {u"12", false, 0},
    };
    for (const auto& c : cases) {
        const TDateTime got = c.dayFirst ? ParseDayMonthYear(c.text) : ParseMonthDayYear(c.text);
        EXPECT_NEAR(got, c.want, 1e-9) << U8(c.text);
    }
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { ParseDayMonthYear(u"31.2.2012"); },
                                                             u"Invalid argument to date encode"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { ParseMonthDayYear(u"13/1/2012"); },
                                                             u"Invalid argument to date encode"));
}

TEST(DateText, IncDatePart) {
    struct Case { int y, m, d; double dd; TDateTime from, want; };
    const Case cases[] = {
        {0, 0, 3, 0, DT(2012, 12, 30), DT(2013, 1, 2)},
        {1, 0, 0, 0, DT(2012, 3, 1, 6), DT(2013, 3, 1, 6)},
        {0, 1, 0, 0, DT(2012, 12, 15), DT(2013, 1, 15)},
        {0, -1, 0, 0, DT(2012, 1, 15), DT(2011, 12, 15)},
        {0, 14, 0, 0, DT(2012, 1, 15), DT(2013, 3, 15)},
        {1, 1, 0, 0.5, DT(2012, 1, 15), DT(2012, 1, 15, 12)},
    };
    for (const auto& c : cases) EXPECT_NEAR(IncDatePart(c.y, c.m, c.d, c.dd, c.from), c.want, 1e-9);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EConvertError>([&] { IncDatePart(1, 0, 0, 0, DT(2012, 2, 29)); },
                                                             u"Invalid argument to date encode"));
}

TEST(TextRoutines, Conversions) {
    using Fn = plat::String (*)(plat::StringView);
    struct Case { const char* name; Fn fn; const char16_t* in; plat::String want; };
    const Case cases[] = {
        {"tilde", [](plat::StringView s) { plat::String t(s); TildeToLineBreak(t); return t; }, u"a~b", u"a\r\nb"},
        {"caret", [](plat::StringView s) { plat::String t(s); TildeToLineBreak(t); return t; }, u"^", u""},
        {"to tilde", [](plat::StringView s) { plat::String t(s); LineBreakToTilde(t); return t; }, u"a\r\nb", u"a~b"},
        {"quote multiline", [](plat::StringView s) { plat::String t(s); QuoteMultilineField(t); return t; },
         u"a\r\nb", plat::String(u"\"a") + char16_t(11) + u"b\""},
        {"vt", [](plat::StringView s) { plat::String t(s); VerticalTabToLineBreak(t); return t; },
         u"a\vb", u"a\r\nb"},
        {"crlf", [](plat::StringView s) { plat::String t(s); RemoveCRFromCRLF(t); return t; }, u"a\r\nb\r", u"a\nb\r"},
        {"escaped nl", [](plat::StringView s) { return LineBreakToEscapedNewline(s); }, u"a\r\nb", u"a\\nb"},
        {"unescape nl", [](plat::StringView s) { return EscapedNewlineToLineBreak(s); }, u"a\\nb", u"a\rb"},
        {"double quotes", [](plat::StringView s) { return DoubleQuoteChars(s); }, u"a\"b", u"a\"\"b"},
        {"undouble", [](plat::StringView s) { return UndoubleChar(u'"', s); }, u"a\"\"b\"\"\"", u"a\"b\"\""},
        {"remove cr", [](plat::StringView s) { return RemoveCRs(s); }, u"a\r\nb", u"a\nb"},
        {"cr to lf", [](plat::StringView s) { return CRToLF(s); }, u"a\rb", u"a\nb"},
        {"markup br", [](plat::StringView s) { return LineBreaksToMarkup(s); }, u"a\r\nb", u"a<br>\nb"},
        {"control enc", [](plat::StringView s) { return EncodeControlChars(s); }, u"a\r\nb",
         plat::String(u"a") + char16_t(9) + char16_t(8) + u"b"},
        {"control enc no cr", [](plat::StringView s) { return EncodeControlChars(s); }, u"a\nb", u"a\nb"},
        {"control dec first line", [](plat::StringView s) { return DecodeControlChars(s, false); },
         u"a\x09\x08" u"b", u"a"},
        {"control dec all", [](plat::StringView s) { return DecodeControlChars(s, true); }, u"a\x09\x08" u"b",
         u"a\r\nb"},
        {"capitalize", [](plat::StringView s) { return CapitalizeWords(s); }, u"old mcdonald", u"Old McDonald"},
        {"capitalize roman", [](plat::StringView s) { return CapitalizeWords(s); }, u"henry iii", u"Henry III"},
        {"capitalize mixed", [](plat::StringView s) { return CapitalizeWords(s); }, u"jEAN-pAUL o'neil",
         u"Jean-Paul O'Neil"},
        {"strip url", [](plat::StringView s) { plat::String t(s); StripUrlScheme(t); return t; },
         u"http://x.org", u"x.org"},
        {"strip mailto", [](plat::StringView s) { plat::String t(s); StripUrlScheme(t); return t; },
         u"mailto:a@b", u"a@b"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.fn(c.in), c.want) << c.name;
}

TEST(TextRoutines, OemCodePage) {
    plat::String t = u"caf\u00e9 \u2500 \u20ac";
    TextToOem(t);
    EXPECT_EQ(t, (plat::String{u'c', u'a', u'f', 0x82, u' ', 0xC4, u' ', u'?'}));
    OemToText(t);
    EXPECT_EQ(t, u"caf\u00e9 \u2500 ?");
}

TEST(TextRoutines, EscapedUnicodeRoundTrip) {
    const plat::String wide = u"A\u00e9\u4e2d";
    const plat::String enc = EncodeEscapedUnicode(wide);
    EXPECT_EQ(enc, (plat::String{u'|', u'\\', 0, u'A', 0, 0xE9, 0x4E, 0x2D}));
    EXPECT_EQ(DecodeEscapedUnicode(enc), wide);
    EXPECT_EQ(DecodeEscapedUnicode(u"plain"), u"plain");
    EXPECT_EQ(DecodeEscapedUnicode(plat::String{u'|', u'\\', 0, u'A', 7}), u"A");  // odd tail dropped
}

TEST(TextRoutines, SingleCharacterSearch) {
    struct Case { const char16_t* text; int pos; int count; };
    const Case cases[] = {
        {u"a\"b", 2, 1}, {u"a\"\"b", 0, 0}, {u"a\"\"\"b", 4, 1}, {u"ab\"", 3, 1}, {u"ab\"\"", 4, 1},
        {u"\"a\"\"b\"", 1, 2}, {u"", 0, 0},
    };
    for (const auto& c : cases) {
        int p = -1;
        EXPECT_EQ(FindSingleCharPos(u'"', c.text, p), c.pos) << U8(c.text);
        EXPECT_EQ(p, c.pos);
        EXPECT_EQ(CountSingleChar(u'"', c.text), c.count) << U8(c.text);
    }
}

TEST(TextRoutines, SmallOperations) {
    plat::String t = u"key=value=x";
    EXPECT_EQ(ExtractToken(t, u"="), u"key");
    EXPECT_EQ(t, u"value=x");
    plat::String n = u"none";
    EXPECT_EQ(ExtractToken(n, u";"), u"");
    EXPECT_EQ(n, u"none");

    plat::String lines = u"one\r\ntwo\rthree", first;
    ExtractFirstLine(lines, true, first);
    EXPECT_EQ(first, u"one");
    EXPECT_EQ(lines, u"two\rthree");
    ExtractFirstLine(lines, false, first);
    EXPECT_EQ(first, u"two");
    EXPECT_EQ(lines, u"");

    struct Clamp { int v, lo, hi, want; };
    for (const Clamp& c : {Clamp{5, 10, 20, 10}, Clamp{25, 10, 20, 20}, Clamp{5, 0, 0, 5}, Clamp{-5, 0, 20, -5},
                           Clamp{50, 10, 0, 50}, Clamp{7, 7, 7, 7}})
        EXPECT_EQ(ClampToLimits(c.v, c.lo, c.hi), c.want) << c.v << " " << c.lo << " " << c.hi;

    plat::TPoint cell;
    EXPECT_TRUE(ParseCellReference(u"r12c3", cell));
    EXPECT_EQ(cell, (plat::TPoint{3, 12}));
    EXPECT_FALSE(ParseCellReference(u"R1C", cell));
    EXPECT_FALSE(ParseCellReference(u"RxC1", cell));
    EXPECT_FALSE(ParseCellReference(u"A1C2", cell));

    EXPECT_EQ(FormatHexRGB(0x00563412), u"123456");
    EXPECT_TRUE(IsHyperlink(u"see http://x"));
    EXPECT_FALSE(IsHyperlink(u"plain"));
    EXPECT_EQ(LineCount(u"a\rb\rc", true), 3);
    EXPECT_EQ(LineCount(u"a\rb\rc", false), 1);
    EXPECT_EQ(PosInUpperText(u"BC", u"abc"), 2);
    {
        PinnedFormat pin(u"dd/mm/yyyy", u'/');
        EXPECT_TRUE(HasTwoDateSeparators(u"1/2/3"));
        EXPECT_FALSE(HasTwoDateSeparators(u"/1/2"));
        EXPECT_FALSE(HasTwoDateSeparators(u"1//2"));
    }
}

TEST(CellText, DetectKind) {
    struct Case { plat::String text; bool markup; int want; };
    const Case cases[] = {
        {u"", true, 0}, {u"=A1", true, 3}, {u"<b>x</b>", true, 1}, {u"<b>x", true, 0}, {u"<B>x", true, 1},
        {u"<b>x</b>", false, 0}, {u"{\\rtf1}", true, 2}, {u"|\\ab", true, 5},
        {plat::String{u'|', u'\\', 0, u'=', 0}, true, 3}, {u"plain", true, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DetectCellTextKind(c.text, c.markup), c.want) << U8(c.text);
}

TEST(CellText, Linkify) {
    plat::String out;
    EXPECT_TRUE(LinkifyText(u"see http://x.org/a?b <now>", u"HTTP://", out));
    EXPECT_EQ(out, u"see <a href=\"http://x.org/a\">http://x.org/a</a>?b &lt;now&gt;");
    EXPECT_FALSE(LinkifyText(u"no link", u"HTTP://", out));
}

TEST(HtmlClipboard, OffsetsCountUtf8Bytes) {
    for (const plat::String& frag : {plat::String(u"<b>x</b>"), plat::String(u"caf\u00e9 \u4e2d")}) {
        const std::string s = WrapHtmlClipboardFormat(frag);
        auto field = [&](const std::string& key) {
            const auto p = s.find(key + ":");
            EXPECT_NE(p, std::string::npos) << key;
            return std::stoul(s.substr(p + key.size() + 1, 8));
        };
        const std::string utf8 = plat::StringToUtf8(frag);
        EXPECT_EQ(field("StartHTML"), 97u);
        EXPECT_EQ(s.substr(field("StartHTML"), 9), "<!DOCTYPE");
        EXPECT_EQ(s.substr(field("StartFragment"), utf8.size()), utf8);
        EXPECT_EQ(field("EndFragment") - field("StartFragment"), utf8.size());
        EXPECT_EQ(field("EndHTML"), s.size());
        EXPECT_NE(s.find("charset=utf-8"), std::string::npos);
        EXPECT_EQ(s.substr(field("EndFragment")), "<!--EndFragment--></body></html>");
    }
}

TEST(Colours, Arithmetic) {
    struct Case { const char* name; TColor got, want; };
    const Case cases[] = {
        {"halftone", HalfToneColor(plat::RGB(255, 128, 7)), plat::RGB(127, 64, 3)},
        {"brighten clamps at 255", BrightenColorPercent(plat::RGB(240, 240, 240), 7), plat::RGB(255, 255, 255)},
        {"brighten", BrightenColorPercent(plat::RGB(100, 50, 10), 7), plat::RGB(107, 54, 11)},
        {"darken", BrightenColorPercent(plat::RGB(100, 50, 10), -20), plat::RGB(80, 40, 8)},
        {"darken below 0 clamps", BrightenColorPercent(plat::RGB(100, 50, 10), -200), plat::RGB(0, 0, 0)},
        {"brighten system colour", BrightenColorPercent(plat::clWindow, 0), plat::ColorToRGB(plat::clWindow)},
        {"interpolate middle", InterpolateColor(plat::RGB(0, 0, 0), plat::RGB(200, 100, 50), 0, 5, 10),
         plat::RGB(100, 50, 25)},
        {"interpolate to none", InterpolateColor(plat::RGB(1, 2, 3), plat::clNone, 0, 5, 10), plat::RGB(1, 2, 3)},
        {"interpolate empty range", InterpolateColor(plat::RGB(1, 2, 3), plat::RGB(9, 9, 9), 4, 4, 4),
         plat::RGB(1, 2, 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(Colours, GradientBands) {
    using plat::Rect;
    const TColor black = plat::RGB(0, 0, 0), white = plat::RGB(255, 255, 255);
    // Vertical, 11 px high, 10 steps: bands of one pixel from black to white.
    auto bands = GradientBands(black, white, false, Rect(0, 0, 4, 11), 10);
    ASSERT_EQ(bands.size(), 11u);
    EXPECT_EQ(bands.front(), (TGradientBand{Rect(0, 0, 4, 2), black}));
    EXPECT_EQ(bands[5].Color, plat::RGB(128, 128, 128));  // 127.5 rounds to even
    EXPECT_EQ(bands.back(), (TGradientBand{Rect(0, 10, 4, 11), white}));
    struct Case { int steps; int size; std::size_t minBands, maxBands; };
    for (const Case& c : {Case{0, 10, 1, 2}, Case{100, 10, 2, 10}, Case{64, 2, 1, 2}, Case{3, 30, 4, 4}}) {
        const auto b = GradientBands(black, white, true, Rect(5, 0, 5 + c.size, 3), c.steps);
        EXPECT_GE(b.size(), c.minBands) << c.steps << " steps over " << c.size;
        EXPECT_LE(b.size(), c.maxBands) << c.steps << " steps over " << c.size;
        // Bands cover the rectangle without leaving it.
        EXPECT_EQ(b.front().Rect.Left, 5);
        EXPECT_EQ(b.back().Rect.Right, 5 + c.size);
        for (const auto& band : b) EXPECT_LE(band.Rect.Right, 5 + c.size);
    }
    // Either colour none: one band of the other colour; inverted rectangles are put right.
    EXPECT_EQ(GradientBands(plat::clNone, white, false, Rect(0, 9, 4, 1), 8),
              (std::vector<TGradientBand>{{Rect(0, 1, 4, 9), white}}));
    EXPECT_TRUE(GradientBands(black, white, false, Rect(0, 3, 4, 3), 8).empty());
    // The same colour at both ends (a system colour and its value alike): one band.
    EXPECT_EQ(GradientBands(white, white, true, Rect(0, 0, 64, 20), 64),
              (std::vector<TGradientBand>{{Rect(0, 0, 64, 20), white}}));
    EXPECT_EQ(GradientBands(plat::clWindow, plat::ColorToRGB(plat::clWindow), false, Rect(0, 0, 64, 20), 64).size(), 1u);
}

} // namespace
