// Layout, drawing and hit testing of cell markup on small bitmaps: pixel probes for colours,
// sizes compared with plain text measured on the same canvas, and random markup.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "EsgHTMLE.h"
#include "PictureContainer.h"
#include "plat/Files.h"
#include "plat/ImgList.h"

using namespace grid;
using plat::TBitmap;
using plat::TColor;
using plat::TRect;

namespace {

constexpr int W = 240, H = 80;

struct Canvas {
    TBitmap bmp{W, H};
    Canvas() {
        bmp.Canvas()->Font()->SetName(u"Arial");
        bmp.Canvas()->Font()->SetSize(10);
        bmp.Canvas()->Font()->SetColor(plat::clBlack);
        bmp.Canvas()->Brush()->SetColor(plat::clWhite);
        bmp.Canvas()->FillRect(TRect(0, 0, W, H));
    }
    plat::TCanvas* c() { return bmp.Canvas(); }
    int Count(TColor colour, TRect r = TRect(0, 0, W, H)) {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += bmp.Canvas()->Pixels(x, y) == colour;
        return n;
    }
    int NotWhite(TRect r = TRect(0, 0, W, H)) { return (r.Width() * r.Height()) - Count(plat::clWhite, r); }
    bool SameAs(Canvas& o) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (bmp.Canvas()->Pixels(x, y) != o.bmp.Canvas()->Pixels(x, y)) return false;
        return true;
    }
};

TMarkupDrawResult Draw(Canvas& cv, plat::StringView text, TMarkupDrawInput in = {}) {
    in.Canvas = cv.c();
    in.Text = text;
    if (in.Rect.Width() == 0) in.Rect = TRect(0, 0, W, H);
    TMarkupDrawResult out;
    DrawMarkupText(in, out);
    return out;
}

int GhHeight(int points = 10) {
    Canvas cv;
    cv.c()->Font()->SetSize(points);
    return cv.c()->TextHeight(u"gh");
}

int TextWidth(plat::StringView s, plat::TFontStyles style = {}) {
    Canvas cv;
    cv.c()->Font()->SetStyle(style);
    return cv.c()->TextWidth(s);
}

// Runs land where plain text drawing puts the visible text: from x 1, bottom on the line.
TEST(DrawMarkupText, RunsDrawLikePlainText) {
    struct Case {
        const char16_t* markup;
        const char16_t* visible;
    };
    const Case cases[] = {
        {u"a &amp; b", u"a & b"},
        {u"plain words", u"plain words"},
        {u"two<B></B> runs", u"two runs"},
        {u"&lt;tag&gt; &quot;q&quot;", u"<tag> \"q\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.markup));
        Canvas markup, plain;
        const auto out = Draw(markup, c.markup);
        const int w = plain.c()->TextWidth(c.visible);
        TRect r(1, -4, 1 + w, GhHeight());
        plain.c()->SetBkMode(plat::TRANSPARENT);
        plain.c()->DrawText(c.visible, r, plat::DT_SINGLELINE | plat::DT_BOTTOM | plat::DT_NOPREFIX);
        EXPECT_TRUE(markup.SameAs(plain));
        EXPECT_EQ(out.XSize, w);
    }
}

TEST(DrawMarkupText, LinesAndPlainText) {
    struct Case {
        const char16_t* text;
        int lines;
        const char16_t* strip;
    };
    const Case cases[] = {
        {u"Line1<BR>Line2", 2, u"Line1\rLine2"},
        {u"Line1\r\nLine2", 2, u"Line1\rLine2"},
        {u"one", 1, u"one"},
        {u"", 1, u""},
        {u"<B>bold</B> <I>it</I> <Z>hidden</Z>", 1, u"bold it hidden"},
        {u"a<HR>b", 2, u"ab"},
        {u"<UL><LI>x</LI><LI>y</LI></UL>", 4, u"xy"},  // the closing </UL> stands on a line of its own
        {u"<#tag> &lt;b&gt;", 1, u"#tag <b>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.text));
        Canvas cv;
        const auto out = Draw(cv, c.text, {.MeasureOnly = true});
        EXPECT_EQ(out.YSize, c.lines * GhHeight());
        EXPECT_EQ(out.StripVal, c.strip);
    }
}

TEST(DrawMarkupText, FontSizesAreHeldToTheirRange) {
    struct Case {
        const char16_t* size;
        int points;
    };
    const Case cases[] = {{u"3", 12}, {u"1", 8}, {u"5", 16}, {u"20", 20}, {u"100000", 400}, {u"0", 1},
                          {u"-7", 1}, {u"x", 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.size));
        Canvas cv;
        const plat::String text = u"<FONT SIZE=\"" + plat::String(c.size) + u"\">gh</FONT>";
        const auto out = Draw(cv, text, {.MeasureOnly = true});
        EXPECT_EQ(out.YSize, std::max(GhHeight(c.points), GhHeight()));
    }
    // Drawn harmlessly too: the giant text is clipped to the cell.
    Canvas cv;
    Draw(cv, u"<FONT SIZE=\"100000\">W</FONT>", {.Rect = TRect(10, 10, 60, 40)});
    EXPECT_EQ(cv.NotWhite(TRect(0, 0, W, 10)), 0);
    EXPECT_EQ(cv.NotWhite(TRect(60, 0, W, H)), 0);
}

TEST(DrawMarkupText, ColoursOfFontTags) {
    struct Case {
        const char16_t* text;
        TColor ink;
        TColor back;  // clNone: none expected
        bool selected;
    };
    const Case cases[] = {
        {u"<FONT COLOR=\"#FF0000\">MMM</FONT>", 0x0000FF, plat::clNone, false},
        {u"<FONT COLOR=\"clred\">MMM</FONT>", 0x0000FF, plat::clNone, false},
        {u"<font color=\"#ff0000\">MMM</font>", 0x0000FF, plat::clNone, false},
        {u"<FONT COLOR=\"clnone\">MMM</FONT>", 0x000000, plat::clNone, false},
        {u"<FONT COLOR=\"clhighlight\">MMM</FONT>", plat::ColorToRGB(plat::clHighlight), plat::clNone, false},
        // COLOR is not read out of BGCOLOR.
        {u"<FONT BGCOLOR=\"#00FF00\" COLOR=\"#0000FF\">MMM</FONT>", 0xFF0000, 0x00FF00, false},
        {u"<FONT COLOR=\"#FF0000\">MMM</FONT>", 0x000000, plat::clNone, true},
        {u"<A HREF=\"x\">MMM</A>", plat::clBlue, plat::clNone, false},
        {u"<A HREF=\"x\">MMM</A>", 0x000000, plat::clNone, true},
        {u"<HI>MMM</HI>", 0x00FFFF, 0x800000, false},
        {u"<P BGCOLOR=\"clyellow\">MMM</P>", 0x000000, 0x00FFFF, false},
    };
    SetMarkupHighlightColors(0x800000, 0x00FFFF);
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.text));
        Canvas cv;
        Draw(cv, c.text, {.Selected = c.selected});
        EXPECT_GT(cv.Count(c.ink), 10);
        if (c.back != plat::clNone) {
            EXPECT_GT(cv.Count(c.back), 10);
        }
    }
    SetMarkupHighlightColors(plat::clHighlight, plat::clHighlightText);
}

TEST(DrawMarkupText, CheckControlNeedsAWidth) {
    Canvas none, checked, unchecked;
    Draw(none, u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\">");
    EXPECT_EQ(none.NotWhite(), 0);
    Draw(checked, u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\" WIDTH=\"20\">");
    Draw(unchecked, u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"false\" WIDTH=\"20\">");
    EXPECT_GT(checked.NotWhite(TRect(0, 0, 20, 20)), 0);
    EXPECT_FALSE(checked.SameAs(unchecked));
    // The same glyph the layer draws for a checked flat box.
    Canvas glyph;
    plat::DrawFrameControl(glyph.c(), TRect(1, 1, 14, 14), plat::DFC_BUTTON,
                           plat::DFCS_BUTTONCHECK | plat::DFCS_FLAT | plat::DFCS_CHECKED);
    EXPECT_EQ(checked.NotWhite(TRect(0, 0, 20, 20)), glyph.NotWhite(TRect(0, 0, 20, 20)));
}

TEST(DrawMarkupText, WithoutWordWrapTheTextEndsInAnEllipsis) {
    const int wide = TextWidth(u"one ") + TextWidth(u"two", {plat::fsBold});
    Canvas cv;
    const TRect cell(0, 0, wide - 4, H);
    const auto out = Draw(cv, u"one <B>two</B><BR>three", {.Rect = cell});
    EXPECT_EQ(out.YSize, GhHeight());
    EXPECT_EQ(cv.NotWhite(TRect(0, GhHeight() + 1, W, H)), 0);  // nothing below the line
    EXPECT_EQ(cv.NotWhite(TRect(cell.Right, 0, W, H)), 0);
    EXPECT_EQ(out.StripVal.find(u"three"), plat::String::npos);

    // With WordWrap the same text takes three lines.
    Canvas wrapped;
    const auto out2 = Draw(wrapped, u"one <B>two</B><BR>three", {.Rect = TRect(0, 0, TextWidth(u"one ") + 2, H), .WordWrap = true});
    EXPECT_EQ(out2.YSize, 3 * GhHeight());
}

TEST(DrawMarkupText, LinksAreHitAndCounted) {
    const int lead = TextWidth(u"see ");
    const int linkW = TextWidth(u"link");
    struct Case {
        int x, y;
        bool measureOnly;
        bool result;
        const char16_t* anchor;
        int mouseLink;
    };
    const Case cases[] = {
        {1 + lead + 2, 5, false, true, u"x", 1},
        {1 + lead + linkW - 1, 5, false, true, u"x", 1},
        {1 + lead + 2, 5, true, false, u"x", 1},       // measuring never says true
        {1 + lead + linkW + 3, 5, false, false, u"", -1},  // on "after" only
        {2, 5, false, false, u"", -1},
        {1 + lead + 2, GhHeight() + 3, false, false, u"", -1},  // below the line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        Canvas cv;
        TMarkupDrawInput in{.Canvas = cv.c(), .Text = u"see <A HREF=\"x\" TITLE=\"tt\">link</A> after", .Rect = TRect(0, 0, W, H),
                            .XPos = c.x, .YPos = c.y, .MeasureOnly = c.measureOnly};
        TMarkupDrawResult out;
        EXPECT_EQ(DrawMarkupText(in, out), c.result);
        EXPECT_EQ(out.AnchorVal, c.anchor);
        EXPECT_EQ(out.MouseLink, c.mouseLink);
        EXPECT_EQ(out.HyperLinks, 1);
        if (c.mouseLink == 1) {
            EXPECT_EQ(out.AnchorTitle, u"tt");
            EXPECT_EQ(out.HoverRect.Left, 1 + lead);
            EXPECT_EQ(out.HoverRect.Right, 1 + lead + linkW);
        }
    }
}

TEST(DrawMarkupText, FocusLinkGetsItsAnchor) {
    Canvas cv;
    const auto out = Draw(cv, u"<A HREF=\"a\">one</A> <A HREF=\"b\">two</A>", {.FocusLink = 1});
    EXPECT_EQ(out.FocusAnchor, u"b");
    EXPECT_EQ(out.HyperLinks, 2);
}

TEST(DrawMarkupText, ImageIndexesOutsideTheListTakeNoRoom) {
    plat::TImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip(48, 16);
    strip.Canvas()->Brush()->SetColor(0x00FF00);
    strip.Canvas()->FillRect(TRect(0, 0, 48, 16));
    images.Add(&strip, nullptr);
    ASSERT_EQ(images.Count(), 3);
    const int ab = TextWidth(u"ab");
    struct Case {
        const char16_t* src;
        int extra;
    };
    const Case cases[] = {{u"IDX:5", 0}, {u"IDX:3", 0}, {u"IDX:-1", 0}, {u"IDX:x", 0}, {u"IDX:1", 16},
                          {u"SSYS:c:/", 0}, {u"LSYS:3", 0}, {u"nopicture", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.src));
        Canvas cv;
        const plat::String text = u"a<IMG SRC=\"" + plat::String(c.src) + u"\">b";
        const auto out = Draw(cv, text, {.Images = &images});
        EXPECT_EQ(out.XSize, ab + c.extra);
        EXPECT_EQ(cv.Count(0x00FF00) > 0, c.extra > 0);
    }
}

TEST(DrawMarkupText, PicturesByNameAndAddress) {
    std::string gif;
    ASSERT_TRUE(plat::ReadFileBytes(plat::Utf8ToString(std::string(TEST_SOURCE_DIR) + "/../../data/pictures/three.gif"), gif));
    TPictureContainer pictures(nullptr);
    auto* item = pictures.Items()->Add();
    item->Name = u"Logo";
    item->Picture()->LoadFromBytes(gif);
    THTMLPictureCache cache;
    struct Case {
        const char16_t* text;
        int w;
        TColor probe;
    };
    const Case cases[] = {
        {u"<IMG SRC=\"logo\">", 12, 0x0000FF},
        {u"<IMG SRC=\"logo\" WIDTH=\"24\">", 24, 0x0000FF},
        {u"<IMG SRC=\"logo\" WIDTH=\"24\" HEIGHT=\"4\">", 24, 0x0000FF},
        {u"<IMG SRC=\"http://127.0.0.1/a.gif\">", 0, plat::clWhite},
        {u"<IMG SRC=\"missing\">", 0, plat::clWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.text));
        Canvas cv;
        const auto out = Draw(cv, c.text, {.PictureCache = &cache, .Pictures = &pictures});
        EXPECT_EQ(out.XSize, c.w);
        if (c.w) {
            EXPECT_GT(cv.Count(c.probe), 0);
        }
    }
    // The address was tried once and is kept, empty, in the cache.
    EXPECT_EQ(cache.Count(), 1);
    Canvas again;
    Draw(again, u"<IMG SRC=\"http://127.0.0.1/a.gif\">", {.PictureCache = &cache});
    EXPECT_EQ(cache.Count(), 1);
}

TEST(DrawMarkupText, ControlsAreHitAndFoundById) {
    const plat::String text = u"x <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"v&amp;w\" WIDTH=\"60\"> "
                              u"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"40\">";
    const int x0 = 1 + TextWidth(u"x ");
    Canvas cv;
    TMarkupDrawInput in{.Canvas = cv.c(), .Text = text, .Rect = TRect(0, 0, W, H), .XPos = x0 + 10, .YPos = 15};
    TMarkupDrawResult out;
    EXPECT_TRUE(DrawMarkupText(in, out));
    EXPECT_EQ(out.AnchorVal, u"ctrl");
    EXPECT_EQ(out.ControlID, u"e1");
    EXPECT_EQ(out.ControlType, u"EDIT");
    EXPECT_EQ(out.ControlValue, u"v&w");
    EXPECT_EQ(out.ControlRect.Left, x0);
    EXPECT_EQ(out.ControlRect.Width(), 60);
    EXPECT_GT(cv.NotWhite(), 0);

    // Found by ID without the point and without drawing.
    Canvas quiet;
    TMarkupDrawInput find{.Canvas = quiet.c(), .Text = text, .Rect = TRect(0, 0, W, H), .FindControl = true, .ControlID = u"b1"};
    TMarkupDrawResult found;
    EXPECT_TRUE(DrawMarkupText(find, found));
    EXPECT_EQ(found.ControlType, u"BUTTON");
    EXPECT_EQ(found.ControlValue, u"Go");
    EXPECT_EQ(found.ControlRect.Width(), 40);
    EXPECT_EQ(quiet.NotWhite(), 0);
}

TEST(DrawMarkupText, CanvasStateIsRestored) {
    Canvas cv;
    cv.c()->Pen()->SetColor(0x123456);
    cv.c()->Brush()->SetColor(0x654321);
    Draw(cv, u"<B><I><FONT FACE=\"Courier New\" SIZE=\"20\" COLOR=\"clred\">x<E>err</E><SHAD>s</SHAD><HR>");
    EXPECT_EQ(cv.c()->Pen()->Color(), 0x123456);
    EXPECT_EQ(cv.c()->Brush()->Color(), 0x654321);
    EXPECT_EQ(cv.c()->Font()->Name(), u"Arial");
    EXPECT_EQ(cv.c()->Font()->Size(), 10);
    EXPECT_TRUE(cv.c()->Font()->Style().Empty());
    EXPECT_EQ(cv.c()->Font()->Color(), plat::clBlack);
}

TEST(DrawMarkupText, ErrorMarkerDrawsARedZigZag) {
    Canvas plain, marked;
    Draw(plain, u"word");
    Draw(marked, u"<E>word</E>");
    EXPECT_EQ(plain.Count(0x0000FF), 0);
    EXPECT_GT(marked.Count(0x0000FF), 4);
}

// The entity table: every name maps to the character Python's html.entities.html5 gives,
// and every stored byte is that character in Python's cp1252 codec (fixture generated with
// both, fixtures/markup-entities.tsv).
TEST(MarkupEntities, TableAgreesWithHtml5AndCp1252) {
    std::ifstream f(std::string(TEST_SOURCE_DIR) + "/fixtures/markup-entities.tsv");
    ASSERT_TRUE(f);
    const auto table = MarkupEntityTable();
    std::string line;
    std::size_t i = 0;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, cp, byte;
        fields >> name >> cp >> byte;
        SCOPED_TRACE(line);
        ASSERT_LT(i, table.size());
        EXPECT_EQ(plat::StringToUtf8(plat::String(table[i].Name)), name);
        EXPECT_EQ(table[i].Ansi, std::stoul(byte, nullptr, 16));
        EXPECT_EQ(static_cast<unsigned long>(AnsiToMarkupChar(table[i].Ansi)), std::stoul(cp.substr(2), nullptr, 16));
        ++i;
    }
    EXPECT_EQ(i, 55u);
    // The escape helpers use the first 51: "&euro;" is escaped, "&atilde;" is not.
    EXPECT_EQ(EscapeMarkupText(u"\u20AC\u00E3", true), u"&euro;\u00E3");
    EXPECT_EQ(UnescapeMarkupText(u"&euro;&atilde;", true), u"\u20AC&atilde;");
}

TEST(MarkupHelpers, ControlsAndSpaces) {
    const plat::String t = u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"5\">"
                           u"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"x\" WIDTH=\"5\" PROP=\"p&amp;q\" MAXLEN=\"12\">"
                           u"<CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"TRUE\" WIDTH=\"5\">"
                           u"<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"\" WIDTH=\"5\">";
    EXPECT_EQ(NextMarkupEditControlId(t, u""), u"e");
    EXPECT_EQ(NextMarkupEditControlId(t, u"e"), u"k");
    EXPECT_EQ(NextMarkupEditControlId(t, u"k"), u"");
    EXPECT_EQ(GetMarkupControlProp(t, u"e"), u"p&q");
    EXPECT_EQ(GetMarkupControlMaxLen(t, u"e"), 12);
    EXPECT_EQ(GetMarkupControlMaxLen(t, u"c"), 0);
    const plat::String cleared = ClearMarkupRadioButtons(t);
    plat::String v;
    ASSERT_TRUE(GetMarkupControlValue(cleared, u"r", v));
    EXPECT_EQ(v, u"FALSE");
    ASSERT_TRUE(GetMarkupControlValue(cleared, u"c", v));
    EXPECT_EQ(v, u"TRUE");
    EXPECT_EQ(SpacesToNbsp(u"a b  c"), u"a&nbsp;b&nbsp;&nbsp;c");
}

// Random markup from pieces of every tag, cut and spliced anywhere: each call ends, fills
// sizes that are not negative and leaves the canvas state as it found it.
TEST(DrawMarkupText, RandomMarkupNeverCrashesOrHangs) {
    const char16_t* pieces[] = {
        u"<B>", u"</B>", u"<I>", u"</I>", u"<U>", u"</U>", u"<S>", u"</S>", u"<BR>", u"<HR>", u"<A HREF=\"h\">",
        u"</A>", u"<FONT SIZE=\"", u"\" COLOR=\"#", u"<FONT FACE=\"Symbol\" SIZE=\"99999\" BGCOLOR=\"clred\">",
        u"</FONT>", u"<IMG SRC=\"IDX:", u"<IMG SRC=\"logo\" WIDTH=\"", u"<IMG SRC=\"http://x/", u"\">", u"<UL>", u"</UL>",
        u"<LI>", u"</LI>", u"<P ALIGN=\"right\" INDENT=\"", u"<P BGCOLOR=\"#00ff00\">", u"</P>", u"<SUB>", u"</SUB>",
        u"<SUP>", u"</SUP>", u"<SHAD>", u"</SHAD>", u"<Z>", u"</Z>", u"<E>", u"</E>", u"<HI>", u"</HI>", u"<BLINK>",
        u"</BLINK>", u"<IND x=\"", u"<R a=\"", u"</R>", u"<BODY BGCOLOR=\"clinfobk\" BACKGROUND=\"logo\">",
        u"<CONTROL TYPE=\"EDIT\" WIDTH=\"", u"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\" WIDTH=\"20\">",
        u"<CONTROL TYPE=\"BUTTON\" WIDTH=\"50\" HEIGHT=\"90\" VALUE=\"b\">", u"&amp;", u"&nbsp;", u"&lt;", u"&",
        u"<", u">", u"\"", u"<#x>", u"\r\n", u" ", u"word ", u"longerword", u"-5", u"0", u"2147483647", u"12",
    };
    std::string gif;
    ASSERT_TRUE(plat::ReadFileBytes(plat::Utf8ToString(std::string(TEST_SOURCE_DIR) + "/../../data/pictures/three.gif"), gif));
    TPictureContainer pictures(nullptr);
    auto* item = pictures.Items()->Add();
    item->Name = u"logo";
    item->Picture()->LoadFromBytes(gif);
    THTMLPictureCache cache;
    plat::TImageList images(nullptr);
    TBitmap strip(32, 16);
    images.Add(&strip, nullptr);
    std::mt19937 rng(120);
    const auto started = std::chrono::steady_clock::now();
    for (int round = 0; round < 600; ++round) {
        plat::String text;
        const int n = static_cast<int>(rng() % 24);
        for (int k = 0; k < n; ++k) text += pieces[rng() % std::size(pieces)];
        if (!text.empty() && rng() % 3 == 0) text.erase(rng() % text.size(), 1 + rng() % 4);
        SCOPED_TRACE(plat::StringToUtf8(text));
        Canvas cv;
        const int w = static_cast<int>(rng() % 200), h = static_cast<int>(rng() % 70);
        TMarkupDrawInput in{.Canvas = cv.c(), .Text = text, .Rect = TRect(2, 3, 2 + w, 3 + h),
                            .Images = &images, .XPos = static_cast<int>(rng() % W), .YPos = static_cast<int>(rng() % H),
                            .FocusLink = static_cast<int>(rng() % 3) - 1, .HoverLink = 1,
                            .FindControl = rng() % 7 == 0, .ControlID = u"c", .MeasureOnly = rng() % 4 == 0,
                            .Print = rng() % 5 == 0, .Selected = rng() % 5 == 0, .BlinkOn = rng() % 2 == 0,
                            .HoverStyle = rng() % 2 == 0, .WordWrap = rng() % 2 == 0, .Down = rng() % 2 == 0,
                            .ResFactor = 1.5, .HoverColor = 0x00FFFF, .PictureCache = &cache, .Pictures = &pictures,
                            .RightToLeft = rng() % 6 == 0};
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        EXPECT_GE(out.XSize, 0);
        EXPECT_GE(out.YSize, 0);
        EXPECT_EQ(cv.c()->Font()->Size(), 10);
    }
    // Not a speed goal: a generous bound that only a hang passes.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(120));
}

// Renders a gallery of markup cells to $TEST_PICTURES/markup.png to be looked at.
TEST(DrawMarkupText, RendersAGalleryOnRequest) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to a folder to render the gallery";
    const char16_t* cells[] = {
        u"a &amp; b &copy; &euro; <B>bold</B> <I>italic</I> <U>under</U> <S>strike</S>",
        u"<FONT COLOR=\"clred\" SIZE=\"4\">red 14 pt</FONT> <FONT BGCOLOR=\"#FFFF00\">on yellow</FONT> <HI>highlighted</HI>",
        u"see <A HREF=\"x\">this link</A> and x<SUP>2</SUP> H<SUB>2</SUB>O <SHAD>shadow</SHAD> <E>eror</E>",
        u"<P ALIGN=\"CENTER\" BGCOLOR=\"clinfobk\">centred paragraph</P>",
        u"<FONT SIZE=\"16\"><UL><LI>first</LI><UL><LI>second</UL></UL></FONT>",
        u"Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"text\" WIDTH=\"60\"> <CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"20\">"
        u"<CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"TRUE\" WIDTH=\"20\"><CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"one\" WIDTH=\"70\">"
        u"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\">",
        u"one <B>two</B> three four five six seven eight nine ten eleven twelve",
        u"<IMG SRC=\"logo\"> picture <IMG SRC=\"logo\" WIDTH=\"24\" HEIGHT=\"16\"> stretched",
    };
    std::string gif;
    ASSERT_TRUE(plat::ReadFileBytes(plat::Utf8ToString(std::string(TEST_SOURCE_DIR) + "/../../data/pictures/three.gif"), gif));
    TPictureContainer pictures(nullptr);
    auto* item = pictures.Items()->Add();
    item->Name = u"logo";
    item->Picture()->LoadFromBytes(gif);
    const int rowH = 64;
    TBitmap sheet(420, rowH * static_cast<int>(std::size(cells)));
    sheet.Canvas()->Font()->SetName(u"Arial");
    sheet.Canvas()->Font()->SetSize(10);
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        const TRect r(4, static_cast<int>(i) * rowH + 2, 416, static_cast<int>(i + 1) * rowH - 2);
        sheet.Canvas()->Brush()->SetColor(plat::clWhite);
        sheet.Canvas()->Pen()->SetColor(0xC0C0C0);
        sheet.Canvas()->Rectangle(TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1));
        TMarkupDrawInput in{.Canvas = sheet.Canvas(), .Text = cells[i], .Rect = r, .WordWrap = i == 6, .Pictures = &pictures};
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
    }
    sheet.SaveToFile(plat::Utf8ToString(std::string(dir) + "/markup.png"));
}

} // namespace
