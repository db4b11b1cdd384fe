// Face arithmetic of the button without a window: hot blend, gradient bands, glyph choice,
// caption shortening, glyph/caption placement, and the built-in pictures.
#include <gtest/gtest.h>

#include <set>

#include "FadeButtonGlyphs.h"
#include "FadeButtons.h"

using namespace controls;
using plat::TColor;

namespace {

TEST(FadeHotBlend, TruncatesEveryChannel)
{
    struct Case {
        TColor face, hot;
        int step;
        TColor expected;
    };
    const Case cases[] = {
        // The program's cream face towards its yellow hot colour.
        {0xEDF7F8, 0x00FFFF, 0, 0xEDF7F8},
        {0xEDF7F8, 0x00FFFF, 1, 0xCFF8F8},  // blue 207.375, red 248.875: both truncated
        {0xEDF7F8, 0x00FFFF, 4, 0x76FBFB},  // 118.5 and 251.5 go down, not to the nearest
        {0xEDF7F8, 0x00FFFF, 7, 0x1DFEFE},
        {0xEDF7F8, 0x00FFFF, 8, 0x00FFFF},
        {0x0000FF, 0x000000, 4, 0x00007F},  // 127.5 -> 127
        {0x000000, 0xFFFFFF, 3, 0x5F5F5F},  // 95.625 -> 95
        {0xFFFFFF, 0x000000, 5, 0x5F5F5F},  // 95.625 -> 95
        {0x123456, 0x123456, 6, 0x123456},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendHotColor(c.face, c.hot, c.step), c.expected)
            << std::hex << "face " << c.face << " hot " << c.hot << std::dec << " step " << c.step;
}

TEST(FadeGradient, BandsCoverTheSpanInOrderWithTruncatedColours)
{
    struct Case {
        int top, bottom;
    };
    const Case spans[] = {{2, 7}, {7, 27}, {2, 30}, {0, 100}, {5, 5}};
    for (const Case& c : spans) {
        const auto bands = VerticalGradientBands(c.top, c.bottom, 0x000000, 0x1F1F1F);
        std::set<int> covered;
        for (const auto& b : bands) {
            EXPECT_GE(b.Top, c.top);
            EXPECT_LE(b.Bottom, c.bottom);
            for (int y = b.Top; y < b.Bottom; ++y)
                covered.insert(y);
        }
        EXPECT_EQ(static_cast<int>(covered.size()), c.bottom - c.top) << c.top << ".." << c.bottom;
        EXPECT_EQ(bands.front().Top, c.top);
    }

    // 31 steps of one unit per channel: band i has value i.
    const auto up = VerticalGradientBands(2, 30, 0x000000, 0x1F1F1F);
    for (int i = 0; i < GradientBandCount; ++i)
        EXPECT_EQ(up[i].Color, static_cast<TColor>(0x010101 * i)) << i;

    // Falling channel: 255 - 255/31 = 246.77 is truncated to 246; the last band is b exactly.
    const auto down = VerticalGradientBands(0, 62, 0x0000FF, 0x000000);
    EXPECT_EQ(down[1].Color, 0x0000F6);
    EXPECT_EQ(down[31].Color, 0x000000);
    EXPECT_EQ(down[1].Top, 2);
    EXPECT_EQ(down[1].Bottom, 5);  // top + span div 31 + 1: neighbouring bands overlap by one row
}

TEST(FadeGlyphIndex, StateImagesFallBackToTheNormalOne)
{
    struct Case {
        int images;
        bool enabled, hot, down;
        int expected;
    };
    const Case cases[] = {
        {1, true, false, false, 0}, {1, false, false, false, 0}, {2, false, true, false, 1},
        {2, true, true, true, 0},   {3, true, false, true, 2},   {3, true, true, false, 0},
        {4, true, true, false, 3},  {4, true, true, true, 2},    {4, false, true, false, 1},
        {0, true, true, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FadeGlyphIndex(c.images, c.enabled, c.hot, c.down), c.expected)
            << c.images << " images, enabled " << c.enabled << " hot " << c.hot << " down " << c.down;
}

TEST(FadeCaption, ShortensFromTheEndWithoutEllipsis)
{
    const auto sixEach = [](plat::StringView s) { return static_cast<int>(s.size()) * 6; };
    struct Case {
        const char16_t* caption;
        int avail;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"Cancel", 36, u"Cancel"},
        {u"Cancel", 35, u"Cance"},
        {u"Cancel", 20, u"Can"},
        {u"Cancel", 0, u""},
        {u"", 10, u""},
        {u"ab\U0001F600", 14, u"ab"},  // the pair counts 12 px and goes as one character
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenCaption(c.caption, c.avail, sixEach), plat::String(c.expected))
            << "avail " << c.avail;
}

TEST(FadeCaption, AvailableWidthLeavesRoomForASideGlyph)
{
    using S = TFadeButtonStyle;
    using L = TFadeButtonLayout;
    struct Case {
        S style;
        L layout;
        int width, glyph, expected;
    };
    const Case cases[] = {
        {S::bsEncarta, L::blGlyphLeft, 110, 18, 80}, {S::bsEncarta, L::blGlyphRight, 110, 18, 80},
        {S::bsEncarta, L::blGlyphLeft, 110, 0, 102}, {S::bsNormal, L::blGlyphTop, 110, 18, 102},
        {S::bsShape, L::blGlyphLeft, 110, 18, 102},  {S::bsNormal, L::blGlyphLeft, 20, 18, 0},
        {S::bsShape, L::blGlyphLeft, 5, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FadeCaptionAvail(c.style, c.layout, c.width, c.glyph), c.expected)
            << "width " << c.width << " glyph " << c.glyph;
}

TEST(FadeLayout, PlacesGlyphAndCaption)
{
    using S = TFadeButtonStyle;
    using L = TFadeButtonLayout;
    using A = TFadeAlignment;
    struct Case {
        const char* what;
        S style;
        L layout;
        A align;
        bool wrap, down, empty;
        int height;       // width 110, glyph 18 x 18, caption 40 x 13 unless empty
        int glyphSize;
        plat::TPoint glyph;
        plat::TRect text;
    };
    const Case cases[] = {
        {"left centre", S::bsEncarta, L::blGlyphLeft, A::taCenter, false, false, false, 28, 18, {24, 5}, {26, 7, 106, 20}},
        {"left centre pressed, Encarta keeps place", S::bsEncarta, L::blGlyphLeft, A::taCenter, false, true, false, 28, 18, {24, 5}, {26, 7, 106, 20}},
        {"left centre pressed, Normal moves", S::bsNormal, L::blGlyphLeft, A::taCenter, false, true, false, 28, 18, {25, 6}, {27, 8, 107, 21}},
        {"left left", S::bsEncarta, L::blGlyphLeft, A::taLeftJustify, false, false, false, 28, 18, {4, 5}, {26, 7, 106, 20}},
        {"left right", S::bsEncarta, L::blGlyphLeft, A::taRightJustify, false, false, false, 28, 18, {44, 5}, {26, 7, 106, 20}},
        {"left centre wrapped", S::bsEncarta, L::blGlyphLeft, A::taCenter, true, false, false, 28, 18, {4, 5}, {26, 7, 106, 20}},
        {"left centre, empty caption centres the glyph", S::bsEncarta, L::blGlyphLeft, A::taCenter, false, false, true, 28, 18, {46, 5}, {26, 14, 106, 14}},
        {"left centre, no glyph", S::bsEncarta, L::blGlyphLeft, A::taCenter, false, false, false, 28, 0, {33, 14}, {4, 7, 106, 20}},
        {"right centre", S::bsEncarta, L::blGlyphRight, A::taCenter, false, false, false, 28, 18, {68, 5}, {4, 7, 84, 20}},
        {"right left", S::bsEncarta, L::blGlyphRight, A::taLeftJustify, false, false, false, 28, 18, {48, 5}, {4, 7, 84, 20}},
        {"right right", S::bsEncarta, L::blGlyphRight, A::taRightJustify, false, false, false, 28, 18, {88, 5}, {4, 7, 84, 20}},
        {"right centre wrapped", S::bsEncarta, L::blGlyphRight, A::taCenter, true, false, false, 28, 18, {48, 5}, {4, 7, 84, 20}},
        {"right right pressed", S::bsOld, L::blGlyphRight, A::taRightJustify, false, true, false, 28, 18, {89, 6}, {5, 8, 85, 21}},
        {"top centre", S::bsEncarta, L::blGlyphTop, A::taCenter, false, false, false, 60, 18, {46, 12}, {4, 30, 106, 43}},
        {"top left", S::bsEncarta, L::blGlyphTop, A::taLeftJustify, false, false, false, 60, 18, {4, 12}, {4, 30, 106, 43}},
        {"top right", S::bsEncarta, L::blGlyphTop, A::taRightJustify, false, false, false, 60, 18, {88, 12}, {4, 30, 106, 43}},
        {"top, block taller than the button truncates toward zero", S::bsEncarta, L::blGlyphTop, A::taCenter, false, false, false, 28, 18, {46, -3}, {4, 15, 106, 28}},
        {"top, no glyph", S::bsEncarta, L::blGlyphTop, A::taCenter, false, false, false, 60, 0, {55, 23}, {4, 23, 106, 36}},
        {"bottom centre", S::bsEncarta, L::blGlyphBottom, A::taCenter, false, false, false, 60, 18, {46, 25}, {4, 12, 106, 25}},
        {"bottom centre pressed", S::bsModern, L::blGlyphBottom, A::taCenter, false, true, false, 60, 18, {47, 26}, {5, 13, 107, 26}},
        {"shape", S::bsShape, L::blGlyphRight, A::taLeftJustify, false, false, false, 28, 18, {46, 5}, {0, 7, 110, 28}},
        {"shape pressed moves only the caption", S::bsShape, L::blGlyphLeft, A::taCenter, false, true, false, 28, 18, {46, 5}, {1, 8, 110, 28}},
    };
    for (const Case& c : cases) {
        TFadeContentInput in;
        in.Width = 110;
        in.Height = c.height;
        in.Style = c.style;
        in.Layout = c.layout;
        in.Alignment = c.align;
        in.WordWrap = c.wrap;
        in.Down = c.down;
        in.GlyphWidth = c.glyphSize;
        in.GlyphHeight = c.glyphSize;
        in.CaptionEmpty = c.empty;
        in.TextWidth = c.empty ? 0 : 40;
        in.TextHeight = c.empty ? 0 : 13;
        const TFadeContentPlace p = PlaceFadeContent(in);
        EXPECT_EQ(p.Glyph, c.glyph) << c.what << ": glyph at " << p.Glyph.X << "," << p.Glyph.Y;
        EXPECT_EQ(p.Text, c.text) << c.what << ": text " << p.Text.Left << "," << p.Text.Top << ","
                                  << p.Text.Right << "," << p.Text.Bottom;
    }
}

TEST(FadeGlyphs, EveryKindHasATwoImageStripWithTransparentCorners)
{
    using K = TFadeButtonKind;
    for (K kind : {K::bkOK, K::bkCancel, K::bkHelp, K::bkYes, K::bkNo, K::bkClose, K::bkAbort, K::bkRetry,
                   K::bkIgnore, K::bkAll}) {
        const TKindPreset preset = KindPreset(kind);
        ASSERT_NE(preset.Resource, nullptr);
        const TGlyphPixels strip = FadeGlyphPixels(preset.Resource);
        const int height = std::string_view(preset.Resource) == "LBALL" ? 19 : 18;
        ASSERT_EQ(strip.Width, 36) << preset.Resource;
        ASSERT_EQ(strip.Height, height) << preset.Resource;
        ASSERT_EQ(strip.Pixels.size(), static_cast<size_t>(36 * height));
        EXPECT_EQ(strip.At(0, height - 1), GlyphBackground) << preset.Resource;
        EXPECT_EQ(strip.At(18, height - 1), GlyphBackground) << preset.Resource;
        int drawn = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < 18; ++x) {
                drawn += strip.At(x, y) != GlyphBackground;
                const TColor d = strip.At(18 + x, y);
                EXPECT_TRUE(d == GlyphBackground || d == 0x808080 || d == 0xFFFFFF)
                    << preset.Resource << " disabled image has colour at " << x << "," << y;
            }
        }
        EXPECT_GT(drawn, 20) << preset.Resource;
    }
    const TGlyphPixels arrow = FadeGlyphPixels("LBARROW");
    EXPECT_EQ(arrow.Width, 5);
    EXPECT_EQ(arrow.Height, 3);
    EXPECT_EQ(arrow.At(0, 2), GlyphBackground);
    EXPECT_EQ(arrow.At(2, 2), 0x000000);
    EXPECT_EQ(FadeGlyphPixels("LBNOTHERE").Width, 0);
}

} // namespace
