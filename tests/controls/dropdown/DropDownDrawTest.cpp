// The gradient bands of the drop-down editors.
#include <gtest/gtest.h>

#include "DropDownDraw.h"
#include "plat/Testing.h"

namespace pt = plat::testing;

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

} // namespace
