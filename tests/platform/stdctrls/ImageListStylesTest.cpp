// Image-list drawing styles: transparency and background colour, mask, blends with the
// foreground colour, and overlay images chosen by the overlay mask.
#include <gtest/gtest.h>

#include "plat/ImgList.h"

namespace plat {
namespace {

class ImageListStyles : public ::testing::Test {
protected:
    void SetUp() override
    {
        RestoreSysColors();
        list.SetSize(2, 1);
        // Image 0: red, then the mask colour. Image 1: the mask colour, then blue.
        TBitmap strip(4, 1);
        strip.Canvas()->SetPixels(0, 0, clRed);
        strip.Canvas()->SetPixels(1, 0, clFuchsia);
        strip.Canvas()->SetPixels(2, 0, clFuchsia);
        strip.Canvas()->SetPixels(3, 0, clBlue);
        ASSERT_EQ(list.AddMasked(&strip, clFuchsia), 0);
        ASSERT_EQ(list.Count(), 2);
    }
    // The two pixels drawn over a lime background.
    std::pair<TColor, TColor> DrawOnLime(int Index, TColor Bk, TColor Fg, unsigned Style)
    {
        TBitmap target(2, 1);
        target.Canvas()->Brush()->SetColor(clLime);
        target.Canvas()->FillRect({0, 0, 2, 1});
        list.DrawEx(target.Canvas(), 0, 0, Index, Bk, Fg, Style);
        return {target.Canvas()->Pixels(0, 0), target.Canvas()->Pixels(1, 0)};
    }
    TImageList list{nullptr};
};

TEST_F(ImageListStyles, StylesAndColours)
{
    SetSysColor(13, RGB(0, 0, 200));   // the highlight colour that clDefault stands for
    struct Case {
        const char* what;
        TColor bk, fg;
        unsigned style;
        TColor first, second;
    };
    const Case cases[] = {
        {"transparent style leaves out the mask", clWhite, clNone, ILD_TRANSPARENT, clRed, clLime},
        {"normal with a background colour fills it", clWhite, clNone, ILD_NORMAL, clRed, clWhite},
        {"normal with clNone is transparent", clNone, clNone, ILD_NORMAL, clRed, clLime},
        {"normal with the list's clNone background", clDefault, clNone, ILD_NORMAL, clRed, clLime},
        {"mask: shape black on white", clNone, clNone, ILD_MASK, clBlack, clWhite},
        {"mask, transparent: shape only", clNone, clNone, ILD_MASK | ILD_TRANSPARENT, clBlack, clLime},
        {"blend 50 % with white", clNone, clWhite, ILD_TRANSPARENT | ILD_BLEND50, RGB(255, 127, 127), clLime},
        {"blend 25 % with white", clNone, clWhite, ILD_TRANSPARENT | ILD_BLEND25, RGB(255, 63, 63), clLime},
        {"blend with clDefault takes the highlight", clNone, clDefault, ILD_TRANSPARENT | ILD_BLEND50,
         RGB(127, 0, 100), clLime},
        {"blend with clNone does not mix", clNone, clNone, ILD_TRANSPARENT | ILD_BLEND50, clRed, clLime},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto [a, b] = DrawOnLime(0, c.bk, c.fg, c.style);
        EXPECT_EQ(a, c.first);
        EXPECT_EQ(b, c.second);
    }
}

TEST_F(ImageListStyles, ListColoursServeTheShortDraw)
{
    list.SetBkColor(clYellow);
    list.SetBlendColor(clWhite);
    TBitmap target(2, 1);
    list.Draw(target.Canvas(), 0, 0, 0, ILD_NORMAL | ILD_BLEND50, true);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), RGB(255, 127, 127));
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clYellow);
}

TEST_F(ImageListStyles, OverlayMaskDrawsTheRegisteredImageOnTop)
{
    EXPECT_TRUE(list.Overlay(1, 2));   // image 1 is overlay mask 3
    EXPECT_EQ(list.OverlayImage(3), 1);
    EXPECT_EQ(list.OverlayImage(1), -1);
    EXPECT_FALSE(list.Overlay(5, 0));   // no such image
    EXPECT_FALSE(list.Overlay(0, 15));  // overlays are 0..14
    EXPECT_EQ(DrawOnLime(0, clNone, clNone, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(3)),
              std::make_pair(TColor(clRed), TColor(clBlue)));
    // An overlay mask without a registered image draws the image alone.
    EXPECT_EQ(DrawOnLime(0, clNone, clNone, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(4)),
              std::make_pair(TColor(clRed), TColor(clLime)));
    // The overlay takes the same blend.
    EXPECT_EQ(DrawOnLime(0, clNone, clWhite, ILD_TRANSPARENT | ILD_BLEND50 | INDEXTOOVERLAYMASK(3)),
              std::make_pair(RGB(255, 127, 127), RGB(127, 127, 255)));
    // Deleting an image before the overlay moves the overlay with its image.
    list.Delete(0);
    EXPECT_EQ(list.OverlayImage(3), 0);
    list.Delete(0);
    EXPECT_EQ(list.OverlayImage(3), -1);
}

TEST_F(ImageListStyles, DisabledIgnoresTheStyle)
{
    TBitmap target(2, 1);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect({0, 0, 2, 1});
    list.DrawEx(target.Canvas(), 0, 0, 0, clWhite, clWhite, ILD_NORMAL | ILD_BLEND50, false);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(target.Canvas()->Pixels(1, 0), clLime);
}

} // namespace
} // namespace plat
