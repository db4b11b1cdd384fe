// Pattern brushes with their brush origin, brushes filled without being selected, and the
// masked copy.
#include "GfxTestUtil.h"

using namespace gfxtest;

namespace {

class PatternBrush : public GfxTest {};

constexpr std::array<std::uint8_t, 8> kDotted{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};

// 0 bits paint the text colour ('#', red here), 1 bits the background colour ('.').
TEST_F(PatternBrush, BitsTakeTextAndBackgroundColoursFromTheBrushOrigin) {
    struct Case {
        const char* what;
        std::array<std::uint8_t, 8> rows;
        TPoint origin;
        std::string expected;
    };
    const Case cases[] = {
        {"dotted at origin 0", kDotted, {0, 0}, Rows({"#.#.#.#.#.", ".#.#.#.#.#", "#.#.#.#.#."})},
        {"dotted shifted one column", kDotted, {1, 0}, Rows({".#.#.#.#.#", "#.#.#.#.#.", ".#.#.#.#.#"})},
        {"dotted shifted one row", kDotted, {0, 1}, Rows({".#.#.#.#.#", "#.#.#.#.#.", ".#.#.#.#.#"})},
        {"dotted shifted two", kDotted, {2, 2}, Rows({"#.#.#.#.#.", ".#.#.#.#.#", "#.#.#.#.#."})},
        {"solid (all 0)", {}, {0, 0}, Rows({"##########", "##########", "##########"})},
        {"one column of 1s repeats every 8", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, {0, 0},
         Rows({".#######.#", ".#######.#", ".#######.#"})},
        {"negative origin", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, {-3, 0},
         Rows({"#####.####", "#####.####", "#####.####"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = MakeBitmap(10, 3, clBlue);
        TCanvas* cv = b->Canvas();
        cv->Brush()->SetPattern(c.rows);
        cv->Brush()->SetColor(clWhite);   // the background colour of the 1 bits
        cv->Font()->SetColor(clRed);      // the text colour of the 0 bits
        cv->SetBrushOrg(c.origin.X, c.origin.Y);
        cv->FillRect(Rect(0, 0, 10, 3));
        EXPECT_EQ(Mask(*b, clRed, clWhite), c.expected);
    }
}

TEST_F(PatternBrush, PhaseFollowsDevicePixelsNotTheWindowOrigin) {
    // Two rows painted through a moved window origin stay in one checkerboard when the brush
    // origin is kept at the device origin.
    auto b = MakeBitmap(6, 2, clBlue);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetPattern(kDotted);
    cv->Brush()->SetColor(clWhite);
    cv->Font()->SetColor(clBlack);
    cv->SetWindowOrg(3, 0);
    cv->FillRect(Rect(3, 0, 9, 1));
    cv->SetWindowOrg(0, -1);
    cv->FillRect(Rect(0, 0, 6, 1));
    cv->SetWindowOrg(0, 0);   // the probes read logical pixels
    EXPECT_EQ(Mask(*b, clBlack, clWhite), Rows({"#.#.#.", ".#.#.#"}));
}

TEST_F(PatternBrush, BitmapGivesThePatternAndAnEmptyOneRemovesIt) {
    auto pattern = MakeBitmap(8, 8, clWhite);
    pattern->Canvas()->SetPixels(0, 0, clBlack);
    pattern->Canvas()->SetPixels(7, 1, clNavy);   // dark: a 0 bit
    TBrush brush;
    brush.SetBitmap(pattern.get());
    ASSERT_TRUE(brush.HasPattern());
    EXPECT_EQ(brush.Pattern()[0], 0x7F);
    EXPECT_EQ(brush.Pattern()[1], 0xFE);
    EXPECT_EQ(brush.Pattern()[2], 0xFF);
    // Copies carry the pattern.
    TBrush copy(brush);
    EXPECT_TRUE(copy.HasPattern());
    EXPECT_EQ(copy.Pattern(), brush.Pattern());
    TBitmap empty;
    brush.SetBitmap(&empty);
    EXPECT_FALSE(brush.HasPattern());
}

TEST_F(PatternBrush, FillRectWithAnUnselectedBrushKeepsTheCanvasState) {
    auto b = MakeBitmap(4, 1, clBlue);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetColor(clYellow);
    cv->Font()->SetColor(clRed);
    TBrush dotted;
    dotted.SetPattern(kDotted);
    dotted.SetColor(clGreen);   // a pattern brush ignores its own colour
    FillRect(cv, Rect(0, 0, 4, 1), dotted);
    EXPECT_EQ(Mask(*b, clRed, clYellow), Rows({"#.#."}));
    EXPECT_EQ(cv->Brush()->Color(), clYellow);
    EXPECT_FALSE(cv->Brush()->HasPattern());
    EXPECT_EQ(cv->BkColor(), clYellow);
    // A solid unselected brush paints its own colour.
    TBrush solid;
    solid.SetColor(clGreen);
    FillRect(cv, Rect(0, 0, 1, 1), solid);
    EXPECT_EQ(cv->Pixels(0, 0), clGreen);
    EXPECT_EQ(cv->BkColor(), clYellow);
}

TEST_F(PatternBrush, PatBltUsesThePatternAndSaveDcKeepsTheOrigin) {
    auto b = MakeBitmap(4, 2, clBlue);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetPattern(kDotted);
    cv->Brush()->SetColor(clWhite);
    cv->Font()->SetColor(clBlack);
    const int saved = cv->SaveDC();
    cv->SetBrushOrg(1, 0);
    PatBlt(cv, 0, 0, 4, 1, PATCOPY);
    cv->RestoreDC(saved);
    EXPECT_EQ(cv->BrushOrg(), (TPoint{0, 0}));
    PatBlt(cv, 0, 1, 4, 1, PATCOPY);
    EXPECT_EQ(Mask(*b, clBlack, clWhite), Rows({".#.#", ".#.#"}));
}

TEST_F(PatternBrush, MaskedCopyTakesTheSourceWhereTheMaskIsBlack) {
    auto src = MakeBitmap(3, 2, clRed);
    auto mask = MakeBitmap(3, 2, clWhite);
    mask->Canvas()->SetPixels(0, 0, clBlack);
    mask->Canvas()->SetPixels(2, 1, clBlack);
    auto dst = MakeBitmap(4, 3, clBlue);
    dst->Canvas()->IntersectClipRect(0, 0, 4, 2);   // the clip holds
    ASSERT_TRUE(MaskedCopy(dst->Canvas(), 1, 0, 3, 3, src->Canvas(), 0, 0, mask->Canvas(), 0, 0));
    dst->Canvas()->SelectClipRgn(nullptr);
    EXPECT_EQ(Mask(*dst, clRed, clBlue), Rows({".#..", "...#", "...."}));
    EXPECT_FALSE(MaskedCopy(dst->Canvas(), 0, 0, 0, 1, src->Canvas(), 0, 0, mask->Canvas(), 0, 0));
}

} // namespace
