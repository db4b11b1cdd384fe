// The rich-text reader and renderer. tests/data/rich/rules.rtf is a small hand-written
// document; rules.unrtf.txt is what `unrtf --text` makes of it (its header lines removed),
// kept so the comparison runs where the tool is absent.
#include <cstdio>
#include <random>
#include <string>

#include "GfxTestUtil.h"
#include "plat/Files.h"
#include "plat/RichText.h"

using namespace gfxtest;

namespace {

std::string Narrow(StringView s) { return StringToUtf8(s); }

std::string Fixture(const char* name) {
    std::string bytes;
    const std::string path = std::string(TEST_SOURCE_DIR) + "/../../data/rich/" + name;
    EXPECT_TRUE(ReadFileBytes(Utf8ToString(path), bytes)) << path;
    return bytes;
}

// unrtf's text: LF line ends, a final LF; ours: CR LF between lines.
String FromUnrtf(const std::string& bytes) {
    String t = AnsiToString(bytes);
    while (!t.empty() && t.back() == u'\n') t.pop_back();
    String out;
    for (char16_t c : t) {
        if (c == u'\n') out += u"\r\n";
        else out.push_back(c);
    }
    return out;
}

// Bounding box of the pixels that are not `paper`; empty when there are none.
TRect Ink(TBitmap& b, TColor paper = clWhite) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixels(x, y) != paper) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.Right == 0 ? TRect{} : r;
}

int CountColour(TBitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Canvas()->Pixels(x, y) == c;
    return n;
}

class RichText : public GfxTest {};

TEST_F(RichText, ReaderGivesThePlainText) {
    struct Case {
        const char* name;
        String rtf;
        String plain;
        bool ok;
    };
    const Case cases[] = {
        {"words and formats", u"{\\rtf1 Hello {\\b bold} \\i world\\i0}", u"Hello bold world", true},
        {"control symbols", u"{\\rtf1 a\\\\b\\{c\\}d\\~e}", u"a\\b{c}d\u00A0e", true},
        {"paragraphs and lines", u"{\\rtf1 one\\par two\\line three\\par}", u"one\r\ntwo\r\nthree", true},
        {"empty paragraph kept", u"{\\rtf1 a\\par\\par b}", u"a\r\n\r\nb", true},
        {"tab", u"{\\rtf1 a\\tab b}", u"a\tb", true},
        {"source line breaks are no text", u"{\\rtf1 a\r\nb}", u"ab", true},
        {"hex byte in Windows-1252", u"{\\rtf1\\ansi Caf\\'e9}", u"Caf\u00E9", true},
        {"hex bytes in Windows-1251", u"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"\u041F\u0440\u0438", true},
        {"Cyrillic font charset", u"{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'e4\\'e0}", u"\u0434\u0430", true},
        {"unicode escape drops its fallback", u"{\\rtf1 \\u1055?\\u1088?}", u"\u041F\u0440", true},
        {"negative unicode escape", u"{\\rtf1 \\u-3913?}", u"\uF0B7", true},
        {"uc2 drops two fallbacks", u"{\\rtf1\\uc2 \\u1055\\'3f\\'3fx}", u"\u041Fx", true},
        {"uc0 drops none", u"{\\rtf1\\uc0 \\u1055 x}", u"\u041Fx", true},
        {"text in UTF-16 unchanged", u"{\\rtf1 \u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D}", u"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D", true},
        {"skipped destinations", u"{\\rtf1{\\*\\generator G;}{\\info{\\title T}}{\\stylesheet{\\s0 N;}}{\\*\\unknown u}x}", u"x", true},
        {"field shows its result", u"{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}", u"shown", true},
        {"binary data skipped", u"{\\rtf1 a\\bin3 }}}b}", u"ab", true},
        {"plain text", u"line one\r\nline two", u"line one\r\nline two", true},
        {"truncated", u"{\\rtf1 abc{\\b de", u"abcde", false},
        {"truncated escape", u"{\\rtf1 ab\\'e", u"ab", false},
        {"trailing backslash", u"{\\rtf1 ab\\", u"ab", false},
        {"text after the document ignored", u"{\\rtf1 a}b", u"a", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRichDocument d;
        EXPECT_EQ(d.Load(c.rtf), c.ok);
        EXPECT_EQ(Narrow(d.PlainText()), Narrow(c.plain));
    }
}

TEST_F(RichText, ReaderKeepsFormatsAndBoundsThem) {
    TRichDocument d;
    ASSERT_TRUE(d.Load(u"{\\rtf1\\deff1{\\fonttbl{\\f0 Courier New;}{\\f1 Times New Roman;}}"
                       u"{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                       u"\\qc\\fs28 a{\\b\\i\\ul\\strike\\f0\\cf2 b}\\cf1 c\\cf9 d\\fs2000 e\\fs0 f\\f7 g\\plain h\\par"
                       u"\\pard\\qr\\li720 i}"));
    ASSERT_EQ(d.Paragraphs().size(), 2u);
    const auto& runs = d.Paragraphs()[0].Runs;
    ASSERT_EQ(runs.size(), 7u);
    EXPECT_EQ(d.Paragraphs()[0].Alignment, raCenter);
    // a: the default font, 14 points.
    EXPECT_EQ(Narrow(runs[0].Format.FontName), "Times New Roman");
    EXPECT_EQ(runs[0].Format.Size, 14);
    EXPECT_EQ(runs[0].Format.Color, clDefault);
    // b: every style, font 0, the third colour; the group's end restores them.
    EXPECT_TRUE(runs[1].Format.Bold && runs[1].Format.Italic && runs[1].Format.Underline && runs[1].Format.StrikeOut);
    EXPECT_EQ(Narrow(runs[1].Format.FontName), "Courier New");
    EXPECT_EQ(runs[1].Format.Color, RGB(0, 0, 255));
    EXPECT_FALSE(runs[2].Format.Bold);
    EXPECT_EQ(runs[2].Format.Color, RGB(255, 0, 0));
    // d: a colour the table lacks is automatic; e, f: sizes clamped to 1..400 points.
    EXPECT_EQ(runs[3].Format.Color, clDefault);
    EXPECT_EQ(runs[4].Format.Size, 400);
    EXPECT_EQ(runs[5].Format.Size, 1);
    // g: a font the table lacks is the default font, so f and g share a run; h: \plain
    // resets size and colour.
    EXPECT_EQ(Narrow(runs[5].Text), "fg");
    EXPECT_EQ(runs[6].Format.Size, 12);
    EXPECT_EQ(runs[6].Format.Color, clDefault);
    EXPECT_EQ(d.Paragraphs()[1].Alignment, raRight);
    EXPECT_EQ(d.Paragraphs()[1].LeftIndent, 720);
}

TEST_F(RichText, SetTextColorCountsParagraphBreaks) {
    TRichDocument d;
    d.Load(u"{\\rtf1 ab\\par cd}");
    d.SetTextColor(clRed, 4);  // "ab", the break, "c"
    const auto& p = d.Paragraphs();
    EXPECT_EQ(p[0].Runs[0].Format.Color, clRed);
    ASSERT_EQ(p[1].Runs.size(), 2u);
    EXPECT_EQ(Narrow(p[1].Runs[0].Text), "c");
    EXPECT_EQ(p[1].Runs[0].Format.Color, clRed);
    EXPECT_EQ(p[1].Runs[1].Format.Color, clDefault);
    EXPECT_EQ(Narrow(d.PlainText()), "ab\r\ncd");
}

TEST_F(RichText, FixtureAgreesWithTheCommittedUnrtfText) {
    TRichDocument d;
    ASSERT_TRUE(d.Load(AnsiToString(Fixture("rules.rtf"))));
    EXPECT_EQ(Narrow(d.PlainText()), Narrow(FromUnrtf(Fixture("rules.unrtf.txt"))));
}

TEST_F(RichText, FixtureAgreesWithUnrtfRunNow) {
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "unrtf is not installed; the committed rules.unrtf.txt is compared instead";
    const std::string path = std::string(TEST_SOURCE_DIR) + "/../../data/rich/rules.rtf";
    FILE* p = popen(("unrtf --text '" + path + "' 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    // The tool's header ends with a line of dashes.
    const auto cut = out.find("-----------------\n");
    ASSERT_NE(cut, std::string::npos) << out;
    out = out.substr(cut + 18);
    TRichDocument d;
    ASSERT_TRUE(d.Load(AnsiToString(Fixture("rules.rtf"))));
    EXPECT_EQ(Narrow(d.PlainText()), Narrow(FromUnrtf(out)));
}

TEST_F(RichText, RendersInsideTheRectangleAndReportsItsSize) {
    TRichDocument d;
    d.Load(u"{\\rtf1\\fs20 Modbus rules}");
    auto b = MakeBitmap(200, 60);
    TRichRenderOptions o;
    const TSize s = RenderRichText(b->Canvas(), d, {20, 10, 180, 50}, o);
    const TRect ink = Ink(*b);
    EXPECT_GE(ink.Left, 20);
    EXPECT_GE(ink.Top, 10);
    EXPECT_LE(ink.Right, 20 + s.cx + 1);
    EXPECT_LE(ink.Bottom, 10 + s.cy);
    EXPECT_GT(s.cx, 40);
    b->Canvas()->Font()->SetName(u"Arial");
    b->Canvas()->Font()->SetSize(10);
    EXPECT_EQ(s.cx, b->Canvas()->TextWidth(u"Modbus rules"));
    EXPECT_EQ(s.cy, b->Canvas()->TextHeight(u"Modbus rules"));
    // Measuring draws nothing and gives the same size.
    auto m = MakeBitmap(200, 60);
    o.MeasureOnly = true;
    EXPECT_EQ(RenderRichText(m->Canvas(), d, {20, 10, 180, 50}, o), s);
    EXPECT_EQ(Ink(*m), TRect{});
}

TEST_F(RichText, LayoutRules) {
    // Each case: the document, the rectangle's width, word wrap; expected line count (from
    // the height over one line's height) and where the ink starts.
    struct Case {
        const char* name;
        String rtf;
        int width;
        bool wrap;
        int lines;
        enum { Left, Centre, Right } place;
    };
    const Case cases[] = {
        {"one line", u"{\\rtf1\\fs20 aaa bbb ccc}", 300, true, 1, Case::Left},
        {"wraps at word ends", u"{\\rtf1\\fs20 aaa bbb ccc}", 40, true, 3, Case::Left},
        {"no wrap keeps one line", u"{\\rtf1\\fs20 aaa bbb ccc}", 40, false, 1, Case::Left},
        {"line and paragraph breaks", u"{\\rtf1\\fs20 a\\line b\\par c}", 300, true, 3, Case::Left},
        {"centred", u"{\\rtf1\\fs20\\qc aaa}", 300, true, 1, Case::Centre},
        {"right", u"{\\rtf1\\fs20\\qr aaa}", 300, true, 1, Case::Right},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRichDocument d;
        d.Load(c.rtf);
        auto b = MakeBitmap(320, 120);
        b->Canvas()->Font()->SetName(u"Arial");
        b->Canvas()->Font()->SetSize(10);
        const int lineH = b->Canvas()->TextHeight(u"a");
        TRichRenderOptions o;
        o.WordWrap = c.wrap;
        const TSize s = RenderRichText(b->Canvas(), d, {0, 0, c.width, 120}, o);
        EXPECT_EQ(s.cy, c.lines * lineH);
        const TRect ink = Ink(*b);
        const int aaa = b->Canvas()->TextWidth(u"aaa");
        const int expected = c.place == Case::Left ? 0 : c.place == Case::Centre ? (c.width - aaa) / 2 : c.width - aaa;
        EXPECT_NEAR(ink.Left, expected, 2);
    }
}

TEST_F(RichText, ColoursAndClip) {
    TRichDocument d;
    d.Load(u"{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\fs40 \\cf1 WWW\\cf0 WWW}");
    auto b = MakeBitmap(300, 60);
    TRichRenderOptions o;
    o.DefaultColor = RGB(0, 0, 255);
    RenderRichText(b->Canvas(), d, {0, 0, 300, 60}, o);
    EXPECT_GT(CountColour(*b, RGB(255, 0, 0)), 20);
    EXPECT_GT(CountColour(*b, RGB(0, 0, 255)), 20);
    // A rectangle smaller than the text: nothing outside it.
    auto c = MakeBitmap(300, 60);
    RenderRichText(c->Canvas(), d, {10, 5, 40, 20}, o);
    const TRect ink = Ink(*c);
    EXPECT_GE(ink.Left, 10);
    EXPECT_GE(ink.Top, 5);
    EXPECT_LE(ink.Right, 40);
    EXPECT_LE(ink.Bottom, 20);
}

// Random damage to rich texts: the reader always ends, keeps no more characters than the
// source has, and the renderer lays out whatever it read.
TEST_F(RichText, RandomMutationsAreHarmless) {
    const String seeds[] = {
        u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}{\\colortbl ;\\red1\\green2\\blue3;}"
        u"\\pard\\qc\\b a\\b0 \\'e0\\u1055?\\par\\cf1\\fs30 b\\line c\\tab d}",
        u"{\\rtf1{\\*\\x{y}}{\\field{\\*\\fldinst z}{\\fldrslt w}}\\uc2\\u-10\\'41\\'42 e\\bin2 ab f}",
        u"{\\rtf1 {{{{\\b\\i\\ul x}}}}\\\\\\{\\}\\~\\_\\- y}",
    };
    const char16_t alphabet[] = u"{}\\'0123456789abcdefuprlinqtx -;\u0416";
    std::mt19937 rng(77);
    auto canvas = MakeBitmap(60, 30);
    for (int round = 0; round < 3000; ++round) {
        String s = seeds[round % std::size(seeds)];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % (s.size() + 1);
            const char16_t ch = alphabet[rng() % (std::size(alphabet) - 1)];
            switch (rng() % 4) {
            case 0: s.insert(at, 1, ch); break;
            case 1: if (at < s.size()) s.erase(at, 1); break;
            case 2: if (at < s.size()) s[at] = ch; break;
            default: s.resize(at); break;
            }
        }
        SCOPED_TRACE(Narrow(s));
        TRichDocument d;
        d.Load(s);
        const String plain = d.PlainText();
        // CR LF per break: at most two characters for each source character.
        ASSERT_LE(plain.size(), 2 * s.size() + 2);
        for (const auto& p : d.Paragraphs())
            for (const auto& r : p.Runs) ASSERT_TRUE(r.Format.Size >= 1 && r.Format.Size <= 400);
        if (round % 10 == 0) {
            const TSize sz = RenderRichText(canvas->Canvas(), d, {2, 2, 58, 28}, {});
            ASSERT_GE(sz.cx, 0);
            ASSERT_GE(sz.cy, 0);
        }
    }
    // Deep nesting and huge numbers.
    TRichDocument deep;
    EXPECT_FALSE(deep.Load(u"{\\rtf1 " + String(100000, u'{') + u"x"));
    TRichDocument big;
    big.Load(u"{\\rtf1\\fs99999999999999999999 \\u99999999999999? \\uc99999999 x\\bin99999999999}");
    EXPECT_LE(big.PlainText().size(), 2u);
}

// Two documents hold the same paragraphs, runs and formats (runs of equal format merged,
// empty runs dropped, as the reader builds them).
void ExpectSameDocument(const TRichDocument& a, const TRichDocument& b) {
    ASSERT_EQ(a.Paragraphs().size(), b.Paragraphs().size());
    for (std::size_t i = 0; i < a.Paragraphs().size(); ++i) {
        SCOPED_TRACE("paragraph " + std::to_string(i));
        const TRichParagraph& p = a.Paragraphs()[i];
        const TRichParagraph& q = b.Paragraphs()[i];
        EXPECT_EQ(p.Alignment, q.Alignment);
        EXPECT_EQ(p.LeftIndent, q.LeftIndent);
        EXPECT_EQ(p.RightIndent, q.RightIndent);
        EXPECT_EQ(p.FirstIndent, q.FirstIndent);
        ASSERT_EQ(p.Runs.size(), q.Runs.size());
        for (std::size_t j = 0; j < p.Runs.size(); ++j) {
            EXPECT_EQ(Narrow(p.Runs[j].Text), Narrow(q.Runs[j].Text));
            EXPECT_TRUE(p.Runs[j].Format == q.Runs[j].Format) << "run " << j << " font "
                                                              << Narrow(q.Runs[j].Format.FontName);
        }
    }
}

TEST_F(RichText, WrittenRichTextReadsBackUnchanged) {
    const String sources[] = {
        u"{\\rtf1\\deff1{\\fonttbl{\\f0 Courier New;}{\\f1 Times New Roman;}}"
        u"{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}"
        u"\\qc\\fs28 a{\\b\\i\\ul\\strike\\f0\\cf2 b}\\cf1 c\\cf3 black\\par"
        u"\\pard\\qr\\li720\\ri-360\\fi240 i\\tab j\\line k\\par\\par\\pard\\qj last}",
        // Every character outside ASCII, the escapes' own characters and a non-BMP pair.
        u"{\\rtf1 \u041F\u0440\u0438\u0432\u0435\u0442 \u00E9 \u4E2D \uF0B7 \\\\ \\{ \\} \U0001F600 \u00A0}",
        u"{\\rtf1{\\fonttbl{\\f0\\fcharset204 \u0410\u0440\u0438\u0430\u043B;}{\\f1\\fcharset0 Sym{b}ol;}}"
        u"\\f0 \\'e4\\'e0 \\f1 x}",
        u"plain line one\r\n\r\nline three",
        u"",
    };
    for (const String& src : sources) {
        SCOPED_TRACE(Narrow(src));
        TRichDocument original;
        original.Load(src);
        const String written = original.SaveRichText();
        // The writer's own text is ASCII: nothing depends on a code page.
        for (char16_t c : written) ASSERT_LT(c, 0x80) << Narrow(written);
        TRichDocument back;
        EXPECT_TRUE(back.Load(written)) << Narrow(written);
        ExpectSameDocument(original, back);
        EXPECT_EQ(Narrow(back.PlainText()), Narrow(original.PlainText()));
        // Writing again gives the same text.
        EXPECT_EQ(Narrow(back.SaveRichText()), Narrow(written));
    }
}

TEST_F(RichText, WriterLeavesOutWhatNoReaderCanTakeBack) {
    TRichDocument d;
    TRichParagraph p;
    TRichCharFormat f;
    f.Size = 0;  // clamped to 1 point
    f.Color = clRed;
    p.Runs.push_back({String(u"a\x01" u"b\uFFFFc;") + u'\0' + u"d", f});
    f.FontName = u"Na;me";
    p.Runs.push_back({u"e", f});
    d.Paragraphs().push_back(p);
    TRichDocument back;
    ASSERT_TRUE(back.Load(d.SaveRichText()));
    EXPECT_EQ(Narrow(back.PlainText()), "abc;de");
    ASSERT_EQ(back.Paragraphs()[0].Runs.size(), 2u);
    EXPECT_EQ(back.Paragraphs()[0].Runs[0].Format.Size, 1);
    EXPECT_EQ(back.Paragraphs()[0].Runs[0].Format.Color, clRed);
    EXPECT_EQ(Narrow(back.Paragraphs()[0].Runs[1].Format.FontName), "Name");
}

} // namespace
