// The drawing helpers of the drop-down editors: gradient bands, colour arithmetic, button
// faces and contents, glyph copies, text measuring and fitting.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DropDownDraw.h"
#include "plat/Testing.h"

namespace pt = plat::testing;
namespace dd = dropdown;

namespace {

class GradientStepsTest : public pt::UiTest {};

TEST_F(GradientStepsTest, BandColours) {
    struct Case {
        int steps;
        std::vector<int> channels;  // one per band
    } cases[] = {
        {2, {0, 128}},               // 127.5 rounds to the even 128
        {4, {0, 64, 128, 191}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        plat::TBitmap b(101, 10);
        dropdown::DrawGradientSteps(b.Canvas(), plat::clBlack, plat::clWhite, true, {0, 0, 101, 10}, c.steps);
        const int bandWidth = 100 / c.steps;
        for (int i = 0; i < c.steps; ++i) {
            const int v = c.channels[static_cast<std::size_t>(i)];
            EXPECT_EQ(pt::PixelOf(b, i * bandWidth + bandWidth / 2, 5), plat::RGB(v, v, v)) << "band " << i;
        }
    }
}

TEST_F(GradientStepsTest, HorizontalBandEdgesOverlapByOnePixel) {
    // Four bands in left 0, right 101: 0-26, 25-51, 50-76, 75-101 (exclusive right edges).
    plat::TBitmap b(110, 10);
    b.Canvas()->Brush()->SetColor(plat::clRed);
    b.Canvas()->FillRect({0, 0, 110, 10});
    dropdown::DrawGradientSteps(b.Canvas(), plat::clBlack, plat::clWhite, true, {0, 0, 101, 10}, 4);
    struct Probe {
        int x, v;
    } probes[] = {{0, 0}, {24, 0}, {25, 64}, {49, 64}, {50, 128}, {74, 128}, {75, 191}, {100, 191}};
    for (const Probe& p : probes) EXPECT_EQ(pt::PixelOf(b, p.x, 5), plat::RGB(p.v, p.v, p.v)) << "x " << p.x;
    EXPECT_EQ(pt::PixelOf(b, 101, 5), plat::clRed) << "nothing right of the rectangle";
}

// Steps 0 counts as one band: the from colour over the rectangle (the band's one-pixel
// overlap reaches the last row, as the four-band case reaches the last column).
TEST_F(GradientStepsTest, ZeroStepsPaintTheFromColour) {
    plat::TBitmap b(20, 25);
    b.Canvas()->Brush()->SetColor(plat::clRed);
    b.Canvas()->FillRect({0, 0, 20, 25});
    dropdown::DrawGradientSteps(b.Canvas(), plat::clBlue, plat::clWhite, false, {0, 0, 20, 20}, 0);
    EXPECT_EQ(pt::PixelOf(b, 10, 0), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 10, 19), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 10, 20), plat::clRed) << "nothing below the rectangle";
}

TEST(ColourArithmetic, MixColorsCases) {
    struct Case {
        plat::TColor first, second;
        int percent;
        plat::TColor result;
    } cases[] = {
        {0x000000, 0xFFFFFF, 20, 0xCCCCCC},
        {0x800000, 0xFFFFFF, 20, 0xE6CCCC},                  // blue 25.6 + 204 rounds to 230
        {0x000000, 0xFFFFFF, 50, 0x808080},                  // 127.5 to the even 128
        {plat::clNone, 0x123456, 100, plat::clNone},         // first unchanged, not resolved
        {plat::clNone, 0x123456, 150, plat::clNone},
        {0x123456, plat::clNone, 0, plat::clNone},           // second unchanged
        {0x123456, plat::clBtnFace, -5, plat::clBtnFace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dd::MixColors(c.first, c.second, c.percent), c.result) << std::hex << c.first << " " << c.percent;
    // System colours are resolved before mixing.
    EXPECT_EQ(dd::MixColors(plat::clBtnFace, plat::clBtnFace, 40), plat::ColorToRGB(plat::clBtnFace));
}

TEST(ColourArithmetic, AdjustColorPercentCases) {
    struct Case {
        plat::TColor colour;
        int dr, dg, db;
        plat::TColor result;
    } cases[] = {
        {0xF5F0E1, -10, -10, 0, 0xF5D8CA},
        {0xF9D2B2, -10, -10, 0, 0xF9BDA0},
        {0x00FF00, 20, 20, 20, 0x14FF14},   // zero channels take the percentage, the full one stays
        {0x808080, -150, -100, -200, 0x800000 & 0},  // below -100 a channel stops at 0
        {0x000000, 300, -5, 0, 0x0000FF},   // a zero channel never exceeds a channel's range
        {plat::clNone, -50, 0, 0, 0xFFFF80},  // the unset value reads as white
    };
    for (const Case& c : cases)
        EXPECT_EQ(dd::AdjustColorPercent(c.colour, c.dr, c.dg, c.db), c.result) << std::hex << c.colour;
}

// Generated channels and percentages against Python's round() (half to even), from
// data/make_colour_mixes.py.
TEST(ColourArithmetic, MatchesTheOracle) {
    std::ifstream in(TEST_SOURCE_DIR "/data/colour_mixes.txt");
    ASSERT_TRUE(in) << "fixture missing";
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string kind;
        f >> kind;
        unsigned a = 0, b = 0, result = 0;
        if (kind == "mix") {
            int p = 0;
            f >> std::hex >> a >> b >> std::dec >> p >> std::hex >> result;
            EXPECT_EQ(dd::MixColors(a, b, p), result) << line;
        } else {
            int dr = 0, dg = 0, db = 0;
            f >> std::hex >> a >> std::dec >> dr >> dg >> db >> std::hex >> result;
            EXPECT_EQ(dd::AdjustColorPercent(a, dr, dg, db), result) << line;
        }
        ++lines;
    }
    EXPECT_EQ(lines, 600);
}

class ButtonPaintTest : public pt::UiTest {
protected:
    plat::TBitmap b{40, 30};
    void SetUp() override {
        pt::UiTest::SetUp();
        Clear();
    }
    void Clear() {
        b.Canvas()->Brush()->SetColor(plat::clRed);
        b.Canvas()->FillRect({0, 0, 40, 30});
    }
};

TEST_F(ButtonPaintTest, BackgroundFaces) {
    // An unset colour starts the gradient at white (80 bands of two pixels each, so the
    // first band is not painted over by the next).
    plat::TBitmap g(161, 161);
    dd::DrawButtonBackground(g.Canvas(), {0, 0, 161, 161}, plat::clNone, dd::gdVertical, 0, plat::clNone, 0x000000);
    EXPECT_EQ(pt::PixelOf(g, 20, 0), plat::clWhite);
    EXPECT_EQ(pt::PixelOf(g, 20, 159), plat::RGB(3, 3, 3)) << "the last band one step short of black";
    // No face without colours; the border is still drawn.
    Clear();
    dd::DrawButtonBackground(b.Canvas(), {0, 0, 40, 30}, plat::clNone, dd::gdVertical, 1, plat::clBlue, plat::clNone);
    EXPECT_EQ(pt::PixelOf(b, 0, 10), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 39, 10), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 20, 10), plat::clRed) << "no face";
    // A solid face, no border when its width is 0.
    Clear();
    dd::DrawButtonBackground(b.Canvas(), {0, 0, 40, 30}, plat::clLime, dd::gdHorizontal, 0, plat::clBlue, plat::clNone);
    EXPECT_EQ(pt::PixelOf(b, 0, 10), plat::clLime);
    EXPECT_EQ(pt::PixelOf(b, 20, 10), plat::clLime);
    // A horizontal gradient runs left to right.
    dd::DrawButtonBackground(g.Canvas(), {0, 0, 161, 161}, plat::clBlack, dd::gdHorizontal, 0, plat::clNone,
                             plat::clWhite);
    EXPECT_EQ(pt::PixelOf(g, 0, 15), plat::clBlack);
    EXPECT_EQ(pt::PixelOf(g, 159, 15), plat::RGB(252, 252, 252));
}

TEST_F(ButtonPaintTest, ContentImageAtTheLeftCaptionBesideIt) {
    plat::TCustomImageList images(nullptr);
    images.SetSize(8, 8);
    plat::TBitmap glyph(8, 8);
    glyph.Canvas()->Brush()->SetColor(plat::clBlue);
    glyph.Canvas()->FillRect({0, 0, 8, 8});
    images.Add(&glyph, nullptr);
    b.Canvas()->Brush()->SetColor(plat::clWhite);
    b.Canvas()->FillRect({0, 0, 40, 30});
    dd::DrawButtonContent(b.Canvas(), {2, 2, 40, 24}, u"", 0, &images);
    // x = left + 4, y = top + (22 - 8) / 2.
    EXPECT_EQ(pt::PixelOf(b, 6, 9), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 5, 9), plat::clWhite);
    EXPECT_EQ(pt::PixelOf(b, 13, 16), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 13, 17), plat::clWhite);
    // Nothing for a negative index or without a list.
    Clear();
    dd::DrawButtonContent(b.Canvas(), {2, 2, 40, 24}, u"", -1, &images);
    dd::DrawButtonContent(b.Canvas(), {2, 2, 40, 24}, u"", 0, nullptr);
    EXPECT_EQ(pt::PixelOf(b, 6, 9), plat::clRed);
}

TEST_F(ButtonPaintTest, GlyphTransparentColourTakesTheBackground) {
    plat::TBitmap glyph(6, 6);
    glyph.Canvas()->Brush()->SetColor(plat::clFuchsia);
    glyph.Canvas()->FillRect({0, 0, 6, 6});
    glyph.Canvas()->SetPixels(3, 3, plat::clBlue);
    dd::DrawGlyphTransparent(b.Canvas(), &glyph, plat::clLime, {10, 10, 16, 16});
    EXPECT_EQ(pt::PixelOf(b, 10, 10), plat::clLime);
    EXPECT_EQ(pt::PixelOf(b, 13, 13), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 16, 16), plat::clRed) << "nothing outside the rectangle";
}

class TextFitTest : public pt::UiTest {};

TEST_F(TextFitTest, MeasureAndTruncate) {
    plat::TBitmap b(10, 10);
    plat::TCanvas* c = b.Canvas();
    EXPECT_EQ(dd::MeasureText(c, u""), (plat::TSize{0, 0}));
    const plat::TSize size = dd::MeasureText(c, u"Hello world");
    EXPECT_EQ(size.cx, c->TextWidth(u"Hello world"));
    EXPECT_GT(size.cy, 0);
    const plat::String text = u"Hello world";
    EXPECT_EQ(dd::TruncateTextToWidth(c, text, size.cx, true), text) << "exactly as wide stays whole";
    const plat::String cut = dd::TruncateTextToWidth(c, text, size.cx - 1, true);
    EXPECT_TRUE(cut.ends_with(u"...")) << plat::StringToUtf8(cut);
    EXPECT_LT(dd::MeasureText(c, cut).cx, size.cx - 1);
    EXPECT_EQ(dd::TruncateTextToWidth(c, text, dd::MeasureText(c, u"Hello").cx + 1, false), u"Hello")
        << "the longest prefix narrower than the maximum";
    EXPECT_EQ(dd::TruncateTextToWidth(c, text, 1, true), text) << "not even \"...\" fits: the whole text";
    EXPECT_EQ(dd::TruncateTextToWidth(c, text, 0, false), text) << "not even the empty candidate fits";
}

TEST_F(TextFitTest, MarkupMeasuredWithoutPainting) {
    plat::TBitmap b(200, 40);
    b.Canvas()->Brush()->SetColor(plat::clWhite);
    b.Canvas()->FillRect({0, 0, 200, 40});
    EXPECT_EQ(dd::DrawItemMarkup(b.Canvas(), u"", {0, 0, 200, 40}, true, nullptr), (plat::TSize{0, 0}));
    const plat::TSize plain = dd::DrawItemMarkup(b.Canvas(), u"Item", {0, 0, 200, 40}, false, nullptr);
    const plat::TSize bold = dd::DrawItemMarkup(b.Canvas(), u"<B>Item</B> two", {0, 0, 200, 40}, false, nullptr);
    EXPECT_GT(plain.cx, 0);
    EXPECT_GT(bold.cx, plain.cx);
    auto anyDark = [&b] {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                if (pt::PixelOf(b, x, y) != plat::clWhite) return true;
        return false;
    };
    EXPECT_FALSE(anyDark()) << "measuring paints nothing";
    dd::DrawItemMarkup(b.Canvas(), u"Item", {0, 0, 200, 40}, true, nullptr);
    EXPECT_TRUE(anyDark());
}

TEST(TextCompare, FoldsCaseUnlessKept) {
    EXPECT_EQ(dd::TextForCompare(u"ab\u00e4C", false), u"AB\u00c4C");
    EXPECT_EQ(dd::TextForCompare(u"ab\u00e4C", true), u"ab\u00e4C");
}

} // namespace
