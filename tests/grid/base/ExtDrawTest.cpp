#include <gtest/gtest.h>

#include <memory>

#include "ExtDraw.h"
#include "plat/Graphics.h"

using namespace grid;
using plat::TPoint;
using plat::TRect;

namespace {

std::unique_ptr<plat::TBitmap> Canvas(int w, int h) {
    auto b = std::make_unique<plat::TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(plat::clWhite);
    b->Canvas()->FillRect({0, 0, w, h});
    return b;
}

bool SameBitmaps(plat::TBitmap& a, plat::TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) return false;
    return true;
}

TEST(DrawRoutines, GradientRectPaintsItsBands) {
    auto b = Canvas(10, 11);
    DrawGradientRect(b->Canvas(), plat::RGB(0, 0, 0), plat::RGB(250, 250, 250), false, {0, 0, 10, 11}, 10);
    EXPECT_EQ(b->Canvas()->Pixels(3, 0), plat::RGB(0, 0, 0));
    EXPECT_EQ(b->Canvas()->Pixels(3, 5), plat::RGB(125, 125, 125));
    EXPECT_EQ(b->Canvas()->Pixels(3, 10), plat::RGB(250, 250, 250));
}

TEST(DrawRoutines, CellShapes) {
    struct Case { TCellShape shape; std::vector<TPoint> points; };
    const Case cases[] = {
        {csTriangleUp, {{0, 10}, {20, 10}, {10, 0}}},
        {csDiamond, {{0, 5}, {10, 0}, {20, 5}, {10, 10}}},
        {csArrowRight, {{20, 5}, {10, 0}, {10, 2}, {0, 2}, {0, 6}, {10, 6}, {10, 10}}},
        {csCircle, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(CellShapePolygon(c.shape, 0, 0, 10, 20), c.points) << c.shape;
    const auto star = CellShapePolygon(csStar, 0, 0, 20, 20);
    ASSERT_EQ(star.size(), 10u);
    EXPECT_EQ(star[0], (TPoint{10, 0}));
    EXPECT_EQ(CellShapePolygon(csHalfStar, 0, 0, 20, 20).size(), 6u);
    // A circle in a 20 x 10 box is 10 x 10 at the box's origin.
    auto b = Canvas(30, 20);
    DrawCellShape(b->Canvas(), 2, 2, plat::clBlack, plat::clRed, csCircle, 10, 20);
    EXPECT_EQ(b->Canvas()->Pixels(7, 7), plat::clRed);
    EXPECT_EQ(b->Canvas()->Pixels(17, 7), plat::clWhite);
}

TEST(DrawRoutines, ProgressBarAtZeroShowsOnlyFrameAndText) {
    auto b = Canvas(104, 20);
    TProgressLook look;
    DrawProgressBar(b->Canvas(), {0, 0, 104, 20}, 0, look);
    EXPECT_EQ(b->Canvas()->Pixels(0, 5), plat::clBlack) << "frame";
    EXPECT_EQ(b->Canvas()->Pixels(3, 10), plat::clWhite) << "no bar";
    int textPixels = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 104; ++x) textPixels += b->Canvas()->Pixels(x, y) == plat::clBlue;
    EXPECT_GT(textPixels, 0) << "the 0% text";
}

TEST(DrawRoutines, ProgressBarLevelsAndBlocks) {
    TProgressLook look;
    look.ShowPercentage = false;
    struct Case { const char* name; int percent; bool smooth; bool stacked; int x; TColor want; };
    const Case cases[] = {
        {"smooth below level 1", 50, true, false, 10, look.Level0Color},
        {"smooth past the value", 50, true, false, 80, look.BackgroundColor},
        {"smooth level 2", 80, true, false, 10, look.Level1Color},
        {"full is level 3", 100, true, false, 10, look.Level3Color},
        {"blocks: first block", 50, false, false, 2 + 3, look.Level0Color},
        {"blocks: gap", 50, false, false, 2 + 7, look.BackgroundColor},
        {"blocks: last short block", 50, false, false, 2 + 45 + 2, look.Level0Color},
        {"blocks: after the last", 50, false, false, 2 + 45 + 4, look.BackgroundColor},
        {"stacked: level 0 part", 95, true, true, 60, look.Level0Color},
        {"stacked: level 1 part", 95, true, true, 80, look.Level1Color},
        {"stacked: top part", 95, true, true, 93, look.Level3Color},
    };
    for (const auto& c : cases) {
        look.CompletionSmooth = c.smooth;
        look.Stacked = c.stacked;
        auto b = Canvas(102, 12);
        DrawProgressBar(b->Canvas(), {0, 0, 102, 12}, c.percent, look);
        EXPECT_EQ(b->Canvas()->Pixels(c.x, 6), plat::ColorToRGB(c.want)) << c.name;
    }
}

TEST(DrawRoutines, FormattedProgressRoundsOnlyForIntegerFormats) {
    auto draw = [](const char16_t* fmt, double value) {
        auto b = Canvas(104, 24);
        DrawProgressFormatted(b->Canvas(), {0, 0, 104, 24}, plat::clNavy, false, plat::clBlack, fmt, 1000, 0, 2, 2,
                              value, plat::clBlack, plat::clWhite, plat::clWhite);
        return b;
    };
    auto i25 = draw(u"%d", 2.5), i24 = draw(u"%d", 2.4), f25 = draw(u"%.1f", 2.5), f24 = draw(u"%.1f", 2.4);
    EXPECT_TRUE(SameBitmaps(*i25, *i24)) << "both show 2";
    EXPECT_FALSE(SameBitmaps(*f25, *f24)) << "2.5 and 2.4 differ";
    // 2.5 of 0..10 fills a quarter of the inner bar (100 px from x = 2).
    auto q = Canvas(104, 24);
    DrawProgressFormatted(q->Canvas(), {0, 0, 104, 24}, plat::clNavy, false, plat::clBlack, u"%.1f", 10, 0, 2, 2, 2.5,
                          plat::clBlack, plat::clWhite, plat::clWhite);
    EXPECT_EQ(q->Canvas()->Pixels(4, 4), plat::clNavy);
    EXPECT_EQ(q->Canvas()->Pixels(26, 4), plat::clNavy);
    EXPECT_EQ(q->Canvas()->Pixels(28, 4), plat::clWhite);
    EXPECT_EQ(q->Canvas()->Pixels(1, 10), plat::clBlack) << "border";
}

TEST(DrawRoutines, ValueBarGrowsFromTheCentre) {
    auto b = Canvas(104, 10);
    DrawValueBar(b->Canvas(), {0, 0, 104, 10}, -50, plat::clGreen, plat::clRed, false, 100);
    EXPECT_EQ(b->Canvas()->Pixels(30, 5), plat::clRed);
    EXPECT_EQ(b->Canvas()->Pixels(20, 5), plat::clWhite);
    EXPECT_EQ(b->Canvas()->Pixels(60, 5), plat::clWhite);
    auto z = Canvas(104, 10);
    DrawValueBar(z->Canvas(), {0, 0, 104, 10}, 5, plat::clGreen, plat::clRed, false, 0);  // no range: no crash
}

// The shown number stands in the half the bar leaves empty: no text pixel inside the bar.
TEST(DrawRoutines, ValueBarNumberStandsBesideTheBar) {
    struct Case {
        int value;
        int bar_left, bar_right;    // the bar's columns
        int text_left, text_right;  // where the number must be
    };
    // Inner rectangle 2..122 (centre 62); 80 of 100 is 48 pixels from the centre.
    for (const Case c : {Case{80, 62, 110, 2, 62}, Case{-80, 14, 62, 62, 122}}) {
        SCOPED_TRACE(c.value);
        auto b = Canvas(124, 24);
        b->Canvas()->Font()->SetColor(plat::clBlack);
        DrawValueBar(b->Canvas(), {0, 0, 124, 24}, c.value, plat::clGreen, plat::clRed, true, 100);
        const plat::TColor bar = c.value > 0 ? plat::clGreen : plat::clRed;
        int inBar = 0, beside = 0;
        for (int y = 2; y < 22; ++y)
            for (int x = 2; x < 122; ++x) {
                const plat::TColor p = b->Canvas()->Pixels(x, y);
                if (p == bar || p == plat::clWhite) continue;
                if (x >= c.bar_left && x < c.bar_right) ++inBar;
                if (x >= c.text_left && x < c.text_right) ++beside;
            }
        EXPECT_EQ(inBar, 0) << "text over the bar";
        EXPECT_GT(beside, 10) << "the number is drawn";
    }
}

TEST(DrawRoutines, TransparentBitmapTakesTheBackColour) {
    plat::TBitmap bmp;
    bmp.SetSize(3, 2);
    bmp.Canvas()->Brush()->SetColor(plat::clRed);
    bmp.Canvas()->FillRect({0, 0, 3, 2});
    bmp.Canvas()->SetPixels(1, 1, plat::clBlue);
    auto b = Canvas(10, 10);
    DrawBitmapTransparent(b->Canvas(), &bmp, plat::clLime, {4, 4, 9, 9});
    EXPECT_EQ(b->Canvas()->Pixels(4, 4), plat::clLime);
    EXPECT_EQ(b->Canvas()->Pixels(5, 5), plat::clBlue);
    EXPECT_EQ(b->Canvas()->Pixels(7, 4), plat::clWhite) << "drawn at the bitmap's own size";
}

TEST(DrawRoutines, BevelFrameOfOneCell) {
    auto b = Canvas(40, 20);
    DrawBevelFrame(b->Canvas(), plat::clYellow, plat::clNone, 0, {0, 0, 40, 20}, plat::clWhite, plat::clGray,
                   plat::clBlack, plat::clSilver, plat::clSilver, plat::clNone, plat::clNone);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), plat::clWhite) << "outer corner";
    EXPECT_EQ(b->Canvas()->Pixels(1, 0), plat::clGray) << "inner corner";
    EXPECT_EQ(b->Canvas()->Pixels(10, 0), plat::clBlack) << "top border";
    EXPECT_EQ(b->Canvas()->Pixels(0, 8), plat::clBlack) << "left border";
    EXPECT_EQ(b->Canvas()->Pixels(10, 8), plat::clYellow) << "face";
    EXPECT_EQ(b->Canvas()->Pixels(10, 19), plat::clWhite) << "two rows left free at the bottom";
}

} // namespace

namespace {

TEST(DrawRoutines, ToneButtonsTakeTheStatesColours) {
    TColorTones tones;
    tones.Background = {plat::clWhite, plat::clNavy, plat::clBlack};
    tones.Hover = {plat::clYellow, plat::clNavy, plat::clBlack};
    tones.Selected = {plat::clAqua, plat::clNavy, plat::clBlack};
    tones.Disabled = {plat::clSilver, plat::clGray, plat::clGray};
    struct Case { int state; TColor fill; };
    for (const Case& c : {Case{0, plat::clWhite}, Case{1, plat::clYellow}, Case{2, plat::clAqua}, Case{3, plat::clSilver}}) {
        auto b = Canvas(60, 20);
        b->Canvas()->Brush()->SetColor(plat::clGreen);
        b->Canvas()->FillRect({0, 0, 60, 20});
        DrawComboButton(b->Canvas(), nullptr, {0, 0, 60, 20}, tones, c.state, 3);
        // The button spans x = 44 .. 57 (17 px from the right edge, 2 px in, 3 px of inset).
        EXPECT_EQ(b->Canvas()->Pixels(50, 3), c.fill) << "state " << c.state;
        EXPECT_EQ(b->Canvas()->Pixels(45, 3), plat::clNavy) << "separator line";
        EXPECT_EQ(b->Canvas()->Pixels(52, 9), plat::clBlack) << "arrow";
        EXPECT_EQ(b->Canvas()->Pixels(42, 3), plat::clGreen) << "left of the button";
        EXPECT_EQ(b->Canvas()->Pixels(50, 0), plat::clGreen) << "one pixel free at the top";
    }
    auto p = Canvas(30, 20);
    DrawPushButton(p->Canvas(), nullptr, {0, 0, 30, 20}, tones, 1, 3);
    EXPECT_EQ(p->Canvas()->Pixels(0, 0), plat::clNavy);
    EXPECT_EQ(p->Canvas()->Pixels(10, 10), plat::clYellow);
    // The classic kinds draw a frame control (not the tones).
    auto k = Canvas(30, 20);
    DrawPushButton(k->Canvas(), nullptr, {0, 0, 30, 20}, tones, 0, 1);
    EXPECT_NE(k->Canvas()->Pixels(10, 10), plat::clWhite);
}

} // namespace

namespace {

TEST(DrawRoutines, VerticalProgressFillsFromTheBottomWithTurnedText) {
    TProgressLook look;
    look.Vertical = true;
    auto b = Canvas(20, 102);
    DrawProgressBar(b->Canvas(), {0, 0, 20, 102}, 30, look);
    EXPECT_EQ(b->Canvas()->Pixels(3, 95), plat::ColorToRGB(look.Level0Color)) << "bar starts at the bottom";
    EXPECT_EQ(b->Canvas()->Pixels(3, 20), plat::clWhite);
    // The turned text is taller than wide.
    int minX = 99, maxX = -1, minY = 999, maxY = -1;
    for (int y = 0; y < 102; ++y)
        for (int x = 0; x < 20; ++x)
            if (b->Canvas()->Pixels(x, y) == plat::clBlue) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_GT(maxY - minY, maxX - minX);
}

} // namespace
