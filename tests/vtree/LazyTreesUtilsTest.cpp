#include <array>
#include <cstring>

#include <gtest/gtest.h>

#include "LazyTrees.Assert.h"
#include "LazyTrees.Utils.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"

using namespace vtree;
using plat::String;

namespace {

// A canvas with a fixed-pitch font; every expected width is measured with the same canvas,
// so the tests hold whatever the glyphs measure.
struct TextCanvas {
    plat::TBitmap bitmap{200, 50};
    plat::TCanvas* canvas;
    TextCanvas() : canvas(bitmap.Canvas())
    {
        canvas->Font()->SetName(u"DejaVu Sans Mono");
        canvas->Font()->SetSize(10);
    }
    int W(const String& s) { return canvas->TextWidth(s); }
};

} // namespace

TEST(ShortenTextWithEllipsis, CutsToTheLongestFittingPrefix)
{
    TextCanvas tc;
    // The longest prefix no wider than Width, found by plain counting.
    auto S = [&tc](const String& s, int width) {
        String best;
        for (std::size_t n = 0; n <= s.size(); ++n)
            if (tc.W(s.substr(0, n)) <= width)
                best = s.substr(0, n);
        return best;
    };
    const String text = u"Hello";
    const int dots = tc.W(u"...");
    struct Case {
        const char* name;
        int width;
        int ellipsisWidth;
        String expected;
    };
    const Case cases[] = {
        {"width holding two characters plus dots", tc.W(u"He") + dots, 0, u"He..."},
        {"one pixel short of two characters", tc.W(u"He") + dots - 1, 0, u"H..."},
        {"whole text plus dots fits: unchanged", tc.W(text) + dots, 0, text},
        // A text that fits only without the ellipsis is still shortened.
        {"whole text without dots", tc.W(text), 0, S(text, tc.W(text) - dots) + u"..."},
        {"one pixel short of text plus dots", tc.W(text) + dots - 1, 0, u"Hell..."},
        {"width below the dots", dots - 1, 0, u""},
        {"width equal to the dots", dots, 0, u""},
        {"just room for the dots alone", dots + 1, 0, u"..."},
        {"caller's ellipsis width is used", tc.W(u"Hel") + 10, 10, u"Hel..."},
        {"zero width", 0, 0, u""},
        {"negative width", -5, 0, u""},
    };
    for (const Case& c : cases) {
        // Guard against a font where the dots alone are so wide the case means nothing.
        ASSERT_GT(tc.W(u"H"), 0);
        EXPECT_EQ(ShortenTextWithEllipsis(tc.canvas, text, c.width, c.ellipsisWidth), c.expected) << c.name;
    }
    EXPECT_EQ(ShortenTextWithEllipsis(tc.canvas, u"", 500), u"");
}

namespace {

// Splits a wrap result into its lines.
std::vector<String> Lines(const String& s)
{
    std::vector<String> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == u'\n') {
            out.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return out;
}

} // namespace

TEST(WrapTextIntoLines, BreaksAtBlanksSoEachLineFits)
{
    TextCanvas tc;
    const unsigned fmt = plat::DT_SINGLELINE | plat::DT_NOPREFIX;
    auto bounds = [](int w) { return plat::TRect{0, 0, w, 100}; };
    struct Case {
        const char* name;
        String text;
        int width;
        bool rtl;
        String expected;
    };
    const Case cases[] = {
        {"everything fits on one line", u"ab cd", tc.W(u"ab cd"), false, u"ab cd"},
        {"second word moves down", u"ab cd", tc.W(u"ab cd") - 1, false, u"ab\ncd"},
        {"outer blanks and controls trimmed", u" \t ab cd\r\n ", tc.W(u"ab cd"), false, u"ab cd"},
        {"inner double blank keeps its empty word", u"ab  cd", tc.W(u"ab  cd"), false, u"ab  cd"},
        {"only blanks", u"   ", 100, false, u""},
        {"empty", u"", 100, false, u""},
        {"three words, two per line", u"ab cd ef", tc.W(u"ab cd"), false, u"ab cd\nef"},
        {"right to left fills from the last word", u"ab cd ef", tc.W(u"cd ef"), true, u"cd ef\nab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapTextIntoLines(tc.canvas, c.text, bounds(c.width), fmt, c.rtl), c.expected) << c.name;
}

TEST(WrapTextIntoLines, OverlongWordIsSplitWithAtLeastOneCharacterPerLine)
{
    TextCanvas tc;
    const unsigned fmt = plat::DT_SINGLELINE | plat::DT_NOPREFIX;
    struct Case {
        const char* name;
        String text;
        int width;
        bool rtl;
    };
    const Case cases[] = {
        {"narrower than any character", u"abcdef", 1, false},
        {"two characters wide", u"abcdefg", tc.W(u"ab"), false},
        {"word then long word", u"x abcdefghij", tc.W(u"abc"), false},
        {"right to left", u"abcdefg", tc.W(u"ab"), true},
        {"two-character word in one-pixel bounds", u"ab", 1, false},
    };
    for (const Case& c : cases) {
        const String wrapped = WrapTextIntoLines(tc.canvas, c.text, {0, 0, c.width, 100}, fmt, c.rtl);
        String joined;
        for (const String& line : Lines(wrapped)) {
            EXPECT_FALSE(line.empty()) << c.name;
            // A line of more than one character fits; a single character may not.
            if (line.size() > 1) {
                EXPECT_LE(tc.W(line), c.width) << c.name << ": " << std::string(line.begin(), line.end());
            }
            joined += c.rtl ? u"" : line;
            if (c.rtl)
                joined = line + joined;
        }
        // Removing the line breaks gives back the text without its blanks, in order.
        String expected;
        for (char16_t ch : c.text)
            if (ch != u' ')
                expected += ch;
        String got;
        for (char16_t ch : joined)
            if (ch != u' ')
                got += ch;
        EXPECT_EQ(got, expected) << c.name;
    }
    // The exact split of a word two characters wide.
    EXPECT_EQ(WrapTextIntoLines(tc.canvas, u"abcde", {0, 0, tc.W(u"ab"), 100}, fmt, false), u"ab\ncd\ne");
    // Right to left gives up the last characters first.
    EXPECT_EQ(WrapTextIntoLines(tc.canvas, u"abcde", {0, 0, tc.W(u"de"), 100}, fmt, true), u"de\nbc\na");
}

TEST(CalculateTextRect, MeasuresFromTheTopLeftCorner)
{
    TextCanvas tc;
    plat::TRect r{10, 20, 11, 21};
    CalculateTextRect(tc.canvas, u"Hello", r, plat::DT_SINGLELINE);
    EXPECT_EQ(r.Left, 10);
    EXPECT_EQ(r.Top, 20);
    EXPECT_EQ(r.Right - r.Left, tc.W(u"Hello"));
    EXPECT_EQ(r.Bottom - r.Top, tc.canvas->TextHeight(u"Hello"));
}

// ---------------------------------------------------------------- blending

namespace {

using Pixel = std::array<std::uint8_t, 4>;  // B, G, R, A

struct Bitmap32 {
    plat::TBitmap bmp;
    Bitmap32(int w, int h, Pixel fill) : bmp(w, h)
    {
        bmp.SetPixelFormat(plat::pf32bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, fill);
    }
    std::uint8_t* At(int x, int y) { return static_cast<std::uint8_t*>(bmp.ScanLine(y)) + x * 4; }
    void Set(int x, int y, Pixel p) { std::memcpy(At(x, y), p.data(), 4); }
    Pixel Get(int x, int y)
    {
        Pixel p;
        std::memcpy(p.data(), At(x, y), 4);
        return p;
    }
};

// The blend of one channel as the 16-bit arithmetic defines it, written out independently.
int Expected(int s, int d, int alpha, int bias)
{
    int t = (((s - d) * alpha + d * 256) & 0xFFFF) >> 8;
    t = t - 128 + bias + 128;
    return t < 0 ? 0 : (t > 255 ? 255 : t);
}

} // namespace

TEST(AlphaBlendArea, BlendsEachChannelPerMode)
{
    const Pixel src{200, 100, 50, 128};
    const Pixel dst{10, 20, 30, 255};
    struct Case {
        const char* name;
        TAlphaAreaMode mode;
        int constantAlpha;
        int bias;
        int alphaUsed;  // the effective alpha of the channel formula
    };
    const Case cases[] = {
        {"constant half", amConstant, 128, 0, 128},
        {"constant zero keeps destination", amConstant, 0, 0, 0},
        {"constant full", amConstant, 255, 0, 255},
        {"constant with positive bias", amConstant, 64, 40, 64},
        {"constant with bias saturating high", amConstant, 200, 300, 200},
        {"constant with bias saturating low", amConstant, 200, -300, 200},
        {"per pixel takes source alpha", amPerPixel, 7, 0, 128},
        {"per pixel with bias", amPerPixel, 0, -20, 128},
        {"master scales source alpha", amMaster, 128, 0, (128 * 128) >> 8},
        {"master full", amMaster, 255, 5, (128 * 255) >> 8},
    };
    for (const Case& c : cases) {
        Bitmap32 s(2, 2, src), d(2, 2, dst);
        AlphaBlendArea(&s.bmp, &d.bmp, {0, 0, 2, 2}, {0, 0}, c.mode, c.constantAlpha, c.bias);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const Pixel p = d.Get(x, y);
                for (int ch = 0; ch < 4; ++ch)
                    EXPECT_EQ(p[ch], Expected(src[ch], dst[ch], c.alphaUsed, c.bias))
                        << c.name << " pixel " << x << "," << y << " channel " << ch;
            }
        EXPECT_EQ(s.Get(0, 0), src) << c.name << ": source untouched";
    }
}

TEST(AlphaBlendArea, PerPixelAlphaVariesAcrossTheRow)
{
    Bitmap32 s(3, 1, {0, 0, 0, 0}), d(3, 1, {100, 100, 100, 100});
    s.Set(0, 0, {255, 255, 255, 0});
    s.Set(1, 0, {255, 255, 255, 128});
    s.Set(2, 0, {255, 255, 255, 255});
    AlphaBlendArea(&s.bmp, &d.bmp, {0, 0, 3, 1}, {0, 0}, amPerPixel, 0, 0);
    EXPECT_EQ(d.Get(0, 0)[0], 100);
    EXPECT_EQ(d.Get(1, 0)[0], Expected(255, 100, 128, 0));
    EXPECT_EQ(d.Get(2, 0)[0], Expected(255, 100, 255, 0));
    EXPECT_EQ(d.Get(1, 0)[3], Expected(128, 100, 128, 0));
}

TEST(AlphaBlendArea, MasterColorBlendsTheColourInPixelByteOrder)
{
    // Red in the low byte of the colour lands in the third byte of the pixel.
    const plat::TColor color = plat::RGB(255, 0, 0);
    struct Case {
        int alpha;
        Pixel before;
    };
    const Case cases[] = {{128, {0, 0, 0, 0}}, {0, {10, 20, 30, 40}}, {255, {200, 200, 200, 200}}};
    for (const Case& c : cases) {
        Bitmap32 d(2, 1, c.before);
        AlphaBlendArea(nullptr, &d.bmp, {0, 0, 2, 1}, {99, 99}, amMasterColor, c.alpha, color);
        const int channels[4] = {0, 0, 255, 0};
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_EQ(d.Get(1, 0)[ch], (c.before[ch] * (256 - c.alpha) + channels[ch] * c.alpha) >> 8)
                << "alpha " << c.alpha << " channel " << ch;
    }
}

TEST(AlphaBlendArea, TouchesOnlyTheRectangleMovedToTheTarget)
{
    Bitmap32 s(4, 4, {0, 0, 0, 255}), d(4, 4, {255, 255, 255, 255});
    s.Set(1, 2, {50, 60, 70, 255});
    // Source rectangle (1,2)-(3,3) onto destination (0,1).
    AlphaBlendArea(&s.bmp, &d.bmp, {1, 2, 3, 3}, {0, 1}, amConstant, 255, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = y == 1 && x < 2;
            if (!inside) {
                EXPECT_EQ(d.Get(x, y), (Pixel{255, 255, 255, 255})) << x << "," << y;
            }
        }
    EXPECT_EQ(d.Get(0, 1)[0], Expected(50, 255, 255, 0));
    EXPECT_EQ(d.Get(1, 1)[0], Expected(0, 255, 255, 0));
}

TEST(AlphaBlendArea, RectanglesReachingOutsideAreClipped)
{
    struct Case {
        const char* name;
        TAlphaAreaMode mode;
        plat::TRect r;
        plat::TPoint target;
        int changed;  // destination pixels expected to change
    };
    const Case cases[] = {
        {"empty rectangle", amConstant, {1, 1, 1, 3}, {0, 0}, 0},
        {"inverted rectangle", amConstant, {3, 3, 1, 1}, {0, 0}, 0},
        {"source past the right and bottom", amConstant, {2, 2, 10, 10}, {0, 0}, 4},
        {"target past the right and bottom", amConstant, {0, 0, 4, 4}, {3, 3}, 1},
        {"negative target", amConstant, {0, 0, 4, 4}, {-3, -2}, 2},
        {"negative source corner", amPerPixel, {-2, -2, 2, 2}, {0, 0}, 4},
        {"target wholly outside", amMaster, {0, 0, 4, 4}, {10, 0}, 0},
        {"colour fill past every edge", amMasterColor, {-5, -5, 50, 50}, {0, 0}, 16},
        {"colour fill at the corner", amMasterColor, {3, 3, 9, 9}, {0, 0}, 1},
    };
    for (const Case& c : cases) {
        Bitmap32 s(4, 4, {0, 0, 0, 255}), d(4, 4, {255, 255, 255, 255});
        AlphaBlendArea(&s.bmp, &d.bmp, c.r, c.target, c.mode, 255, 0);
        int changed = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                changed += d.Get(x, y) != Pixel{255, 255, 255, 255};
        EXPECT_EQ(changed, c.changed) << c.name;
    }
}

TEST(AlphaBlendArea, RejectsBitmapsWithoutThirtyTwoBits)
{
    Bitmap32 good(2, 2, {0, 0, 0, 0});
    plat::TBitmap wrong(2, 2);
    wrong.SetPixelFormat(plat::pf24bit);
    plat::TBitmap none;
    struct Case {
        const char* name;
        plat::TBitmap* source;
        plat::TBitmap* dest;
        TAlphaAreaMode mode;
        const char16_t* message;
    };
    const Case cases[] = {
        {"24-bit destination", &good.bmp, &wrong, amConstant, u"Alpha blending error: bitmap must use 32 bpp."},
        {"24-bit source", &wrong, &good.bmp, amPerPixel, u"Alpha blending error: bitmap must use 32 bpp."},
        {"no source", nullptr, &good.bmp, amMaster, u"Alpha blending DC error: no bitmap available."},
        {"empty destination", &good.bmp, &none, amConstant, u"Alpha blending DC error: no bitmap available."},
        {"colour fill on 24 bits", nullptr, &wrong, amMasterColor, u"Alpha blending error: bitmap must use 32 bpp."},
    };
    for (const Case& c : cases) {
        try {
            AlphaBlendArea(c.source, c.dest, {0, 0, 2, 2}, {0, 0}, c.mode, 128, 0);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(e.Message(), c.message) << c.name;
        }
    }
}

TEST(ScanlineAddress, FollowsTheSignOfTheHeight)
{
    std::uint8_t bits[4 * 3 * 4] = {};
    EXPECT_EQ(ScanlineAddress(bits, 3, 4, 0), bits + 3 * 4 * 3);
    EXPECT_EQ(ScanlineAddress(bits, 3, 4, 3), bits);
    EXPECT_EQ(ScanlineAddress(bits, 3, -4, 0), bits);
    EXPECT_EQ(ScanlineAddress(bits, 3, -4, 2), bits + 3 * 4 * 2);

    Bitmap32 b(3, 4, {0, 0, 0, 0});
    int w = 0, h = 0;
    std::uint8_t* p = DibBitsOfDC(&b.bmp, w, h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, -4);
    EXPECT_EQ(ScanlineAddress(p, w, h, 2), b.At(0, 2));
}

TEST(DrawingHelpers, ColoursAndRectangles)
{
    EXPECT_EQ(static_cast<std::uint32_t>(ResolveColorValue(plat::clNone)), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<std::uint32_t>(ResolveColorValue(plat::clDefault)), 0xFF000000u);
    EXPECT_EQ(ResolveColorValue(plat::RGB(1, 2, 3)), plat::RGB(1, 2, 3));
    EXPECT_EQ(ResolveColorValue(plat::clBtnFace), plat::ColorToRGB(plat::clBtnFace));

    EXPECT_EQ(NormalizeRectCorners({5, 6, 1, 2}), (plat::TRect{1, 2, 5, 6}));
    EXPECT_EQ(NormalizeRectCorners({1, 6, 5, 2}), (plat::TRect{1, 2, 5, 6}));
    EXPECT_TRUE(CpuSupportsMmx());
}

TEST(CalculateDragImageMoveRects, StripsPerDirection)
{
    const int W = 20, H = 10;
    const plat::TRect U{-7, -7, -7, -7};  // marks a strip that is not written
    struct Case {
        int dx, dy;
        plat::TRect scroll, capA, capB, resA, resB;
    };
    const Case cases[] = {
        {3, 0, {0, 0, 17, 10}, {0, 0, 3, 10}, U, {17, 0, 3, 10}, U},
        {3, 2, {0, 0, 17, 8}, {0, 0, 3, 10}, {3, 0, 17, 2}, {0, 8, 17, 2}, {17, 0, 3, 10}},
        {3, -2, {0, 2, 17, 10}, {0, 0, 3, 10}, {3, 8, 17, 2}, {0, 0, 17, 2}, {17, 0, 3, 10}},
        {-3, 0, {3, 0, 20, 10}, {17, 0, 3, 10}, U, {0, 0, 3, 10}, U},
        {-3, 2, {3, 0, 20, 10}, {0, 0, 17, 2}, {17, 0, 3, 10}, {0, 0, 3, 10}, {3, 8, 17, 2}},
        {-3, -2, {3, 2, 20, 10}, {0, 8, 17, 2}, {17, 0, 3, 10}, {0, 0, 3, 10}, {3, 0, 17, 2}},
        {0, 2, {0, 0, 20, 8}, U, {0, 0, 20, 2}, U, {0, 8, 20, 2}},
        {0, -2, {0, 2, 20, 10}, U, {0, 8, 20, 2}, U, {0, 0, 20, 2}},
        {0, 0, {0, 0, 20, 10}, U, {0, 0, 20, 0}, U, {0, 10, 20, 0}},
    };
    for (const Case& c : cases) {
        plat::TRect clip = U, scroll = U, capA = U, capB = U, resA = U, resB = U;
        CalculateDragImageMoveRects(W, H, c.dx, c.dy, clip, scroll, capA, capB, resA, resB);
        const std::string at = "dx " + std::to_string(c.dx) + " dy " + std::to_string(c.dy);
        EXPECT_EQ(clip, (plat::TRect{0, 0, W, H})) << at;
        EXPECT_EQ(scroll, c.scroll) << at;
        EXPECT_EQ(capA, c.capA) << at;
        EXPECT_EQ(capB, c.capB) << at;
        EXPECT_EQ(resA, c.resA) << at;
        EXPECT_EQ(resB, c.resB) << at;
    }
}

TEST(ClipCanvasToRect, LimitsDrawingToTheRectangleAndTheVisibleRegion)
{
    plat::TBitmap bmp(10, 10);
    plat::TCanvas* canvas = bmp.Canvas();
    canvas->SetWindowOrg(2, 0);  // logical x 2 is device x 0
    const plat::TRegion visible(plat::TRect{0, 0, 10, 3});
    ClipCanvasToRect(canvas, {2, 1, 6, 9}, &visible);
    canvas->Brush()->SetColor(plat::RGB(0, 0, 0));
    canvas->FillRect({-10, -10, 30, 30});
    canvas->SelectClipRgn(nullptr);
    canvas->SetWindowOrg(0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(canvas->Pixels(x, y), inside ? plat::RGB(0, 0, 0) : plat::RGB(255, 255, 255)) << x << "," << y;
        }
}

TEST(DrawListImage, DisabledImagesAreGreyAndKeepTheirTransparency)
{
    plat::TImageList list(nullptr);
    list.SetSize(2, 1);
    plat::TBitmap image(2, 1);
    image.Canvas()->SetPixels(0, 0, plat::RGB(255, 0, 0));
    image.Canvas()->SetPixels(1, 0, plat::RGB(255, 0, 255));
    ASSERT_EQ(list.AddMasked(&image, plat::RGB(255, 0, 255)), 0);

    struct Case {
        const char* name;
        bool enabled;
        plat::TColor first;
    };
    const int grey = (255 * 30) / 100;
    const Case cases[] = {
        {"enabled draws the image", true, plat::RGB(255, 0, 0)},
        {"disabled draws the brightness in grey", false, plat::RGB(grey, grey, grey)},
    };
    for (const Case& c : cases) {
        plat::TBitmap target(4, 2);
        target.Canvas()->Brush()->SetColor(plat::RGB(0, 128, 0));
        target.Canvas()->FillRect({0, 0, 4, 2});
        DrawListImage(&list, 0, target.Canvas(), 1, 1, ILD_NORMAL, c.enabled);
        EXPECT_EQ(target.Canvas()->Pixels(1, 1), c.first) << c.name;
        EXPECT_EQ(target.Canvas()->Pixels(2, 1), plat::RGB(0, 128, 0)) << c.name << ": masked pixel left out";
        EXPECT_EQ(target.Canvas()->Pixels(0, 1), plat::RGB(0, 128, 0)) << c.name;
    }
}

TEST(DrawListImage, StyleFlagsReachTheListEnabledButNotDisabled)
{
    plat::TImageList list(nullptr);
    list.SetSize(2, 1);
    plat::TBitmap strip(4, 1);
    strip.Canvas()->SetPixels(0, 0, plat::RGB(255, 0, 0));
    strip.Canvas()->SetPixels(1, 0, plat::RGB(255, 0, 255));
    strip.Canvas()->SetPixels(2, 0, plat::RGB(255, 0, 255));
    strip.Canvas()->SetPixels(3, 0, plat::RGB(0, 0, 255));
    ASSERT_EQ(list.AddMasked(&strip, plat::RGB(255, 0, 255)), 0);
    ASSERT_TRUE(list.Overlay(1, 0));
    list.SetBlendColor(plat::RGB(255, 255, 255));

    struct Case {
        const char* name;
        unsigned style;
        bool enabled;
        plat::TColor first, second;
    };
    const int grey = (255 * 30) / 100;
    const Case cases[] = {
        {"overlay 1 drawn over the image", ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1), true, plat::RGB(255, 0, 0),
         plat::RGB(0, 0, 255)},
        {"blend 50 % with the list's blend colour", ILD_TRANSPARENT | ILD_BLEND50, true, plat::RGB(255, 127, 127),
         plat::RGB(0, 128, 0)},
        {"mask list", ILD_TRANSPARENT | ILD_MASK, true, plat::RGB(0, 0, 0), plat::RGB(0, 128, 0)},
        {"disabled: grey, no overlay, no blend", ILD_TRANSPARENT | ILD_BLEND50 | INDEXTOOVERLAYMASK(1), false,
         plat::RGB(grey, grey, grey), plat::RGB(0, 128, 0)},
    };
    for (const Case& c : cases) {
        plat::TBitmap target(2, 1);
        target.Canvas()->Brush()->SetColor(plat::RGB(0, 128, 0));
        target.Canvas()->FillRect({0, 0, 2, 1});
        DrawListImage(&list, 0, target.Canvas(), 0, 0, c.style, c.enabled);
        EXPECT_EQ(target.Canvas()->Pixels(0, 0), c.first) << c.name;
        EXPECT_EQ(target.Canvas()->Pixels(1, 0), c.second) << c.name;
    }
}
