#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>

#include "ExtObjWindows.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "TestSupport.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

TEST(Blur, KernelIsNormalisedAndShrinksWithTheRadius) {
    struct Case { double radius; int maxSize; };
    for (const Case& c : {Case{3, 10}, Case{1, 5}, Case{0.5, 3}}) {
        int size = -1;
        const auto k = BlurKernel(c.radius, size);
        EXPECT_LE(size, c.maxSize) << c.radius;
        EXPECT_GE(size, 1);
        ASSERT_EQ(k.size(), static_cast<std::size_t>(2 * size + 1));
        EXPECT_NEAR(std::accumulate(k.begin(), k.end(), 0.0), 1.0, 1e-12);
        EXPECT_DOUBLE_EQ(k.front(), k.back());
        EXPECT_GT(k[static_cast<std::size_t>(size)], k.front());
    }
}

TEST(Blur, FullIntensityStaysFullAndAStepIsSmoothed) {
    int size = 0;
    const auto k = BlurKernel(3, size);
    std::vector<std::uint8_t> line(40 * 4, 255);
    BlurLine(line.data(), 40, 4, k, size);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(line[static_cast<std::size_t>(i) * 4 + 2], 255) << i;
    std::vector<std::uint8_t> step(40 * 4, 0);
    for (int i = 20; i < 40; ++i) step[static_cast<std::size_t>(i) * 4] = 255;
    BlurLine(step.data(), 40, 4, k, size);
    EXPECT_EQ(step[0], 0);
    EXPECT_EQ(step[39 * 4], 255);
    EXPECT_GT(step[19 * 4], 0);
    EXPECT_LT(step[20 * 4], 255);
    for (int i = 1; i < 40; ++i) EXPECT_GE(step[static_cast<std::size_t>(i) * 4], step[static_cast<std::size_t>(i - 1) * 4]);
}

TEST(Blur, OnlyTwentyFourBitBitmaps) {
    plat::TBitmap b;
    b.SetPixelFormat(plat::pf32bit);
    b.SetSize(4, 4);
    try {
        BlurBitmap(&b, 3);
        FAIL() << "no error";
    } catch (const plat::Exception& e) {
        EXPECT_EQ(e.Message(), u"Blur only works for 24-bit bitmaps");
    }
}

TEST(Blur, TwentyFourBitBitmapIsSmoothedInPlace) {
    // A white square in the middle of a black 24-bit bitmap: its edge softens both ways,
    // the far corners stay black and the centre stays white.
    plat::TBitmap b;
    b.SetPixelFormat(plat::pf24bit);
    b.SetSize(30, 30);
    b.Canvas()->Brush()->SetColor(plat::clBlack);
    b.Canvas()->FillRect({0, 0, 30, 30});
    b.Canvas()->Brush()->SetColor(plat::clWhite);
    b.Canvas()->FillRect({10, 10, 20, 20});
    BlurBitmap(&b, 1.5);
    EXPECT_EQ(b.PixelFormat(), plat::pf24bit);
    auto px = [&](int x, int y) { return b.Canvas()->Pixels(x, y); };
    EXPECT_EQ(px(0, 0), plat::clBlack);
    EXPECT_EQ(px(15, 15), plat::clWhite);
    for (const plat::TPoint p : {plat::TPoint{9, 15}, plat::TPoint{15, 9}, plat::TPoint{20, 15}}) {
        const int grey = static_cast<int>(px(p.X, p.Y) & 0xFF);
        EXPECT_GT(grey, 0) << p.X << "," << p.Y << " outside the edge gets light";
        EXPECT_LT(grey, 255) << p.X << "," << p.Y;
    }
    EXPECT_LT(px(10, 15) & 0xFF, 255u) << "inside the edge gets darker";
}

TEST(AlphaMask, MergePremultipliesByTheMasksRed) {
    plat::TBitmap mask, bmp;
    mask.SetPixelFormat(plat::pf24bit);
    bmp.SetPixelFormat(plat::pf24bit);
    mask.SetSize(2, 1);
    bmp.SetSize(2, 1);
    mask.Canvas()->SetPixels(0, 0, plat::RGB(255, 0, 0));
    mask.Canvas()->SetPixels(1, 0, plat::RGB(128, 0, 0));
    bmp.Canvas()->SetPixels(0, 0, 0xFDD397);
    bmp.Canvas()->SetPixels(1, 0, 0xFDD397);
    TGridAlphaMask a;
    a.MergeMask(&mask, &bmp, plat::clNone);
    const auto* px = static_cast<const std::uint8_t*>(a.ScanLine(0));
    EXPECT_EQ(px[3], 255);
    EXPECT_EQ(px[0], 0xFD);  // blue of 0xFDD397 at full alpha
    EXPECT_EQ(px[7], 128);
    EXPECT_EQ(px[4], std::lround(0xFD * 128 / 255.0));
    EXPECT_EQ(px[6], std::lround(0x97 * 128 / 255.0));
    TGridAlphaMask copy;
    a.Opacity = 230;
    copy.Assign(&a);
    EXPECT_EQ(copy.Opacity, 230);
    EXPECT_EQ(static_cast<const std::uint8_t*>(copy.ScanLine(0))[7], 128);
    // A 32-bit source bitmap is not merged.
    plat::TBitmap b32;
    b32.SetPixelFormat(plat::pf32bit);
    b32.SetSize(5, 5);
    TGridAlphaMask untouched;
    untouched.MergeMask(&mask, &b32, plat::clNone);
    EXPECT_EQ(untouched.Width(), 0);
}

TEST(AlphaMask, FocusGlowMaskIsARingThatFadesOut) {
    plat::TBitmap b;
    MakeAlphaMaskBitmap(&b, 60, 40, 3, 5, 4);
    auto red = [&](int x, int y) { return static_cast<const std::uint8_t*>(b.ScanLine(y))[x * 4 + 2]; };
    EXPECT_EQ(red(30, 20), 0) << "inside the ring";
    EXPECT_GT(red(4, 20), 100) << "on the ring";
    EXPECT_LT(red(0, 20), red(4, 20)) << "fading outwards";
}

TEST(Arrows, OutlinesPointAtTheTarget) {
    const auto up = ArrowOutline(arrUp);
    EXPECT_EQ(up[0], (plat::TPoint{5, 0}));
    const auto left = ArrowOutline(arrLeft);
    EXPECT_EQ(left[4], (plat::TPoint{8, 5})) << "the left arrow's tip is on its right";
    const auto right = ArrowOutline(arrRight);
    EXPECT_EQ(right[0], (plat::TPoint{0, 5})) << "the right arrow's tip is on its left";
}

TEST(FilePicture, MeasuresTheFileAndCopies) {
    const plat::String path = plat::Utf8ToString(std::string(TEST_BINARY_DIR) + "/file_picture.bmp");
    plat::TBitmap b;
    b.SetSize(7, 5);
    b.SaveToFile(path);
    TFilePicture p;
    p.SetFilename(path);
    EXPECT_EQ(p.Width(), 7);
    EXPECT_EQ(p.Height(), 5);
    TFilePicture q;
    q.Assign(&p);
    EXPECT_EQ(q.Filename(), path);
    EXPECT_EQ(q.Height(), 5);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EFileError>([&] { p.SetFilename(path + u".missing"); },
                                                          u"Cannot open file \"" + path + u".missing\""));
}

} // namespace
