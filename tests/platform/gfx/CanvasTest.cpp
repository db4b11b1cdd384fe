// The platform's pixel rules for lines, rectangles, pens, colours, clipping and state.
#include "GfxTestUtil.h"
#include "plat/Exception.h"
#include "TestSupport.h"

using namespace gfxtest;

namespace {

class Canvas : public GfxTest {};

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
};

TEST_F(Canvas, LineIncludesStartExcludesEndWithoutGaps) {
    const LineCase cases[] = {
        {"horizontal", 1, 2, 6, 2}, {"vertical", 3, 0, 3, 7},   {"diagonal", 0, 0, 7, 7},
        {"steep", 2, 0, 4, 7},      {"right to left", 6, 5, 1, 5}, {"up and left", 7, 7, 1, 3},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(8, 8);
        b->Canvas()->MoveTo(c.x0, c.y0);
        b->Canvas()->LineTo(c.x1, c.y1);
        EXPECT_EQ(b->Canvas()->Pixels(c.x0, c.y0), clBlack);
        EXPECT_EQ(b->Canvas()->Pixels(c.x1, c.y1), clWhite);
        const int steps = std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0));
        EXPECT_EQ(CountInk(*b, clWhite), steps);
        // Every inked pixel but the start has an inked 8-neighbour (no gaps).
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                if (b->Canvas()->Pixels(x, y) != clBlack || (x == c.x0 && y == c.y0)) continue;
                bool linked = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && b->Canvas()->Pixels(x + dx, y + dy) == clBlack) linked = true;
                EXPECT_TRUE(linked) << x << "," << y;
            }
        EXPECT_EQ(b->Canvas()->PenPos(), Point(c.x1, c.y1));
    }
}

TEST_F(Canvas, DottedPenAlternatesAcrossSegments) {
    struct Case {
        const char* name;
        TBrushStyle brush;
        TColor gap;
    };
    // With a solid brush the gaps take the background colour (the brush colour).
    const Case cases[] = {{"clear brush", bsClear, clWhite}, {"solid red brush", bsSolid, clRed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(12, 1);
        TCanvas* cv = b->Canvas();
        cv->Brush()->SetColor(clRed);
        cv->Brush()->SetStyle(c.brush);
        cv->Pen()->SetStyle(psDot);
        cv->MoveTo(0, 0);
        cv->LineTo(5, 0);
        cv->LineTo(12, 0);
        for (int x = 0; x < 12; ++x) EXPECT_EQ(cv->Pixels(x, 0), x % 2 == 0 ? clBlack : c.gap) << x;
    }
}

TEST_F(Canvas, RectangleOutlineInsideInteriorFilled) {
    struct Case {
        const char* name;
        std::function<void(TCanvas*)> draw;
        std::string expected;   // '#' black, 'r' red, '.' white
    };
    const Case cases[] = {
        {"pen and brush", [](TCanvas* c) { c->Rectangle(1, 1, 6, 5); },
         Rows({"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........", "........"})},
        {"clear pen fills the whole rectangle",
         [](TCanvas* c) { c->Pen()->SetStyle(psClear); c->Rectangle(1, 1, 6, 5); },
         Rows({"........", ".rrrrr..", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........", "........"})},
        {"clear brush leaves the interior", [](TCanvas* c) { c->Brush()->SetStyle(bsClear); c->Rectangle(1, 1, 6, 5); },
         Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........", "........"})},
        {"swapped corners", [](TCanvas* c) { c->Rectangle(6, 5, 1, 1); },
         Rows({"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........", "........"})},
        {"FillRect uses the brush", [](TCanvas* c) { c->FillRect(Rect(1, 1, 6, 5)); },
         Rows({"........", ".rrrrr..", ".rrrrr..", ".rrrrr..", ".rrrrr..", "........", "........"})},
        {"FrameRect uses the brush", [](TCanvas* c) { c->FrameRect(Rect(1, 1, 6, 5)); },
         Rows({"........", ".rrrrr..", ".r...r..", ".r...r..", ".rrrrr..", "........", "........"})},
        {"a solid outline keeps to one clip rectangle",
         [](TCanvas* c) { c->IntersectClipRect(0, 2, 4, 7); c->Rectangle(1, 1, 6, 5); c->SelectClipRgn(nullptr); },
         Rows({"........", "........", ".#rr....", ".#rr....", ".###....", "........", "........"})},
        {"a solid outline keeps to a clip of two rectangles",
         [](TCanvas* c) { c->ExcludeClipRect(3, 0, 5, 7); c->Rectangle(1, 1, 6, 5); c->SelectClipRgn(nullptr); },
         Rows({"........", ".##..#..", ".#r..#..", ".#r..#..", ".##..#..", "........", "........"})},
        {"an outline in xor mode", [](TCanvas* c) { c->Pen()->SetMode(pmXor); c->Pen()->SetColor(clWhite); c->Brush()->SetStyle(bsClear); c->Rectangle(1, 1, 6, 5); },
         Rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........", "........"})},
        {"empty FillRect draws nothing", [](TCanvas* c) { c->FillRect(Rect(3, 3, 3, 6)); },
         Rows({"........", "........", "........", "........", "........", "........", "........"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(8, 7);
        b->Canvas()->Brush()->SetColor(clRed);
        c.draw(b->Canvas());
        std::string got;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 8; ++x) {
                const TColor p = b->Canvas()->Pixels(x, y);
                got += p == clBlack ? '#' : p == clRed ? 'r' : p == clWhite ? '.' : '?';
            }
            got += '\n';
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(Canvas, PenModesFollowTheirTruthTables) {
    const TColor dst = 0x00F0C30F, pen = 0x00AA55CC;
    struct Case {
        TPenMode mode;
        TColor expected;
    };
    const Case cases[] = {
        {pmBlack, 0},
        {pmWhite, 0xFFFFFF},
        {pmNop, dst},
        {pmNot, ~dst & 0xFFFFFF},
        {pmCopy, pen},
        {pmNotCopy, ~pen & 0xFFFFFF},
        {pmMergePenNot, (pen | ~dst) & 0xFFFFFF},
        {pmMaskPenNot, pen & ~dst & 0xFFFFFF},
        {pmMergeNotPen, (~pen | dst) & 0xFFFFFF},
        {pmMaskNotPen, ~pen & dst & 0xFFFFFF},
        {pmMerge, pen | dst},
        {pmNotMerge, ~(pen | dst) & 0xFFFFFF},
        {pmMask, pen & dst},
        {pmNotMask, ~(pen & dst) & 0xFFFFFF},
        {pmXor, pen ^ dst},
        {pmNotXor, ~(pen ^ dst) & 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        auto b = MakeBitmap(3, 1, dst);
        b->Canvas()->Pen()->SetColor(pen);
        b->Canvas()->Pen()->SetMode(c.mode);
        b->Canvas()->MoveTo(0, 0);
        b->Canvas()->LineTo(2, 0);
        EXPECT_EQ(b->Canvas()->Pixels(0, 0), c.expected);
        EXPECT_EQ(b->Canvas()->Pixels(2, 0), dst);
    }
}

TEST_F(Canvas, XorDrawnTwiceRestores) {
    struct Case {
        const char* name;
        std::function<void(TCanvas*)> draw;
    };
    const Case cases[] = {
        {"line", [](TCanvas* c) { c->MoveTo(1, 2); c->LineTo(14, 11); }},
        {"rectangle", [](TCanvas* c) { c->Rectangle(2, 2, 13, 9); }},
        {"ellipse", [](TCanvas* c) { c->Ellipse(1, 1, 15, 12); }},
        {"polygon", [](TCanvas* c) { c->Polygon({Point(1, 1), Point(14, 3), Point(6, 14)}); }},
        {"round rect", [](TCanvas* c) { c->RoundRect(0, 0, 16, 16, 6, 6); }},
        {"wide line", [](TCanvas* c) { c->Pen()->SetWidth(3); c->MoveTo(2, 2); c->LineTo(12, 9); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(16, 16);
        FillRandom(*b, 7);
        const auto before = Snapshot(*b);
        TCanvas* cv = b->Canvas();
        cv->Pen()->SetMode(pmXor);
        cv->Pen()->SetColor(0x00FFFFFF);
        cv->Brush()->SetColor(0x00123456);
        c.draw(cv);
        EXPECT_NE(Snapshot(*b), before);
        c.draw(cv);
        EXPECT_EQ(Snapshot(*b), before);
    }
}

TEST_F(Canvas, FocusRectAlternatesAndRestores) {
    struct Case {
        const char* name;
        TPoint origin;   // window origin; the dot pattern stays on the device grid
    };
    const Case cases[] = {{"no origin", {0, 0}}, {"odd origin", {-1, 0}}, {"even origin", {2, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(16, 16);
        FillRandom(*b, 3);
        const auto before = Snapshot(*b);
        TCanvas* cv = b->Canvas();
        cv->SetWindowOrg(c.origin.X, c.origin.Y);
        const TRect r = Rect(2 + c.origin.X, 3 + c.origin.Y, 13 + c.origin.X, 12 + c.origin.Y);
        cv->DrawFocusRect(r);
        cv->SetWindowOrg(0, 0);
        // Device rectangle (2,3)-(13,12): border pixels with even x + y are inverted.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool border = x >= 2 && x <= 12 && y >= 3 && y <= 11 && (x == 2 || x == 12 || y == 3 || y == 11);
                const TColor was = before[static_cast<std::size_t>(y * 16 + x)];
                const TColor expect = border && (x + y) % 2 == 0 ? (~was & 0xFFFFFF) : was;
                EXPECT_EQ(cv->Pixels(x, y), expect) << x << "," << y;
            }
        cv->SetWindowOrg(c.origin.X, c.origin.Y);
        cv->DrawFocusRect(r);
        cv->SetWindowOrg(0, 0);
        EXPECT_EQ(Snapshot(*b), before);
    }
}

TEST_F(Canvas, ColoursResolveAndNotSetDrawsNothing) {
    struct Case {
        const char* name;
        std::function<void(TCanvas*)> draw;
        TColor expected;   // at (1, 1), drawn on white
    };
    const Case cases[] = {
        {"button face from the table", [](TCanvas* c) { c->Brush()->SetColor(clBtnFace); c->FillRect(Rect(0, 0, 4, 4)); }, 0xF0F0F0},
        {"red is the low byte", [](TCanvas* c) { c->SetPixels(1, 1, 0x0000FF); }, clRed},
        {"clNone brush", [](TCanvas* c) { c->Brush()->SetColor(clNone); c->FillRect(Rect(0, 0, 4, 4)); }, clWhite},
        {"clNone pen", [](TCanvas* c) { c->Pen()->SetColor(clNone); c->MoveTo(0, 1); c->LineTo(4, 1); }, clWhite},
        {"clNone pen and brush rectangle",
         [](TCanvas* c) { c->Pen()->SetColor(clNone); c->Brush()->SetColor(clNone); c->Rectangle(0, 0, 4, 4); }, clWhite},
        {"clNone pixel", [](TCanvas* c) { c->SetPixels(1, 1, clNone); }, clWhite},
        {"clNone font colour",
         [](TCanvas* c) { c->Brush()->SetStyle(bsClear); c->Font()->SetColor(clNone); c->TextOut(0, 0, u"MMMM"); }, clWhite},
        {"system pen colour", [](TCanvas* c) { c->Pen()->SetColor(cl3DDkShadow); c->MoveTo(0, 1); c->LineTo(4, 1); }, 0x696969},
        {"clDefault brush is white", [](TCanvas* c) { c->Brush()->SetColor(clRed); c->FillRect(Rect(0, 0, 4, 4));
                                                      c->Brush()->SetColor(clDefault); c->FillRect(Rect(0, 0, 4, 4)); }, clWhite},
        {"clDefault pen is black", [](TCanvas* c) { c->Pen()->SetColor(clDefault); c->MoveTo(0, 1); c->LineTo(4, 1); }, clBlack},
        {"index outside the table is black",
         [](TCanvas* c) { c->Brush()->SetColor(static_cast<TColor>(0xFF000063)); c->FillRect(Rect(0, 0, 4, 4)); }, clBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(4, 4);
        c.draw(b->Canvas());
        EXPECT_EQ(b->Canvas()->Pixels(1, 1), c.expected);
    }
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF00000F)), 0xF0F0F0);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
}

TEST_F(Canvas, ChangedSystemColourTableIsUsedUntilRestored) {
    SetSysColor(15, 0x00336699);
    auto b = MakeBitmap(2, 2);
    b->Canvas()->Brush()->SetColor(clBtnFace);
    b->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), 0x336699);
    RestoreSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
}

TEST_F(Canvas, ClipRegionUnionLimitsFill) {
    auto b = MakeBitmap(10, 10);
    TCanvas* cv = b->Canvas();
    TRegion u;
    u.Combine(TRegion(Rect(1, 1, 4, 4)), TRegion(Rect(3, 3, 8, 6)), RGN_OR);
    cv->SelectClipRgn(&u);
    cv->Brush()->SetColor(clRed);
    cv->FillRect(Rect(0, 0, 10, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(cv->Pixels(x, y) == CLR_INVALID, !u.Contains(Point(x, y))) << x << "," << y;
    cv->SelectClipRgn(nullptr);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(cv->Pixels(x, y), u.Contains(Point(x, y)) ? clRed : clWhite) << x << "," << y;
}

TEST_F(Canvas, ClipRectangleOperations) {
    struct Case {
        const char* name;
        std::function<void(TCanvas*)> clip;
        std::string expected;
    };
    const Case cases[] = {
        {"intersect", [](TCanvas* c) { c->IntersectClipRect(1, 1, 4, 3); },
         Rows({"......", ".###..", ".###..", "......"})},
        {"exclude", [](TCanvas* c) { c->ExcludeClipRect(1, 1, 5, 3); },
         Rows({"######", "#....#", "#....#", "######"})},
        {"intersect twice", [](TCanvas* c) { c->IntersectClipRect(0, 0, 4, 4); c->IntersectClipRect(2, 1, 6, 4); },
         Rows({"......", "..##..", "..##..", "..##.."})},
        {"intersect in logical coordinates", [](TCanvas* c) { c->SetWindowOrg(-2, 0); c->IntersectClipRect(0, 0, 2, 2); c->SetWindowOrg(0, 0); },
         Rows({"..##..", "..##..", "......", "......"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(6, 4);
        TCanvas* cv = b->Canvas();
        c.clip(cv);
        cv->Brush()->SetColor(clBlack);
        cv->FillRect(Rect(0, 0, 6, 4));
        cv->SelectClipRgn(nullptr);
        EXPECT_EQ(Mask(*b, clBlack), c.expected);
    }
}

TEST_F(Canvas, RegionOperations) {
    // a = (0,0)-(6,6), b = (4,4)-(10,10); probes in a only, b only, both, neither.
    const TRegion a(Rect(0, 0, 6, 6)), b(Rect(4, 4, 10, 10));
    struct Case {
        int mode;
        bool aOnly, bOnly, both, none;
    };
    const Case cases[] = {
        {RGN_OR, true, true, true, false},
        {RGN_AND, false, false, true, false},
        {RGN_XOR, true, true, false, false},
        {RGN_DIFF, true, false, false, false},
        {RGN_COPY, true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TRegion r;
        EXPECT_NE(CombineRgn(r, a, b, c.mode), ERROR);
        EXPECT_EQ(PtInRegion(r, 1, 1), c.aOnly);
        EXPECT_EQ(PtInRegion(r, 8, 8), c.bOnly);
        EXPECT_EQ(PtInRegion(r, 5, 5), c.both);
        EXPECT_EQ(PtInRegion(r, 1, 8), c.none);
    }
    TRegion empty;
    EXPECT_EQ(empty.Combine(a, TRegion(Rect(7, 7, 9, 9)), RGN_AND), NULLREGION);
    EXPECT_EQ(TRegion(Rect(0, 0, 3, 3)).Kind(), SIMPLEREGION);
    EXPECT_EQ(TRegion::FromEllipse(Rect(0, 0, 10, 10)).BoundsRect(), Rect(0, 0, 10, 10));
    EXPECT_FALSE(TRegion::FromEllipse(Rect(0, 0, 10, 10)).Contains(Point(0, 0)));
    EXPECT_FALSE(TRegion::FromRoundRect(Rect(0, 0, 10, 10), 6, 6).Contains(Point(0, 0)));
    EXPECT_TRUE(TRegion::FromRoundRect(Rect(0, 0, 10, 10), 6, 6).Contains(Point(5, 0)));
    const TPoint tri[] = {Point(0, 0), Point(10, 0), Point(0, 10)};
    EXPECT_TRUE(TRegion::FromPolygon(tri).Contains(Point(2, 2)));
    EXPECT_FALSE(TRegion::FromPolygon(tri).Contains(Point(8, 8)));
}

TEST_F(Canvas, SaveAndRestoreState) {
    auto b = MakeBitmap(8, 4);
    TCanvas* cv = b->Canvas();
    const int saved = cv->SaveDC();
    cv->IntersectClipRect(0, 0, 2, 2);
    cv->Pen()->SetColor(clRed);
    cv->Brush()->SetColor(clBlue);
    cv->SetWindowOrg(-4, 0);
    EXPECT_TRUE(cv->RestoreDC(saved));
    // Saved state: no clip, black pen, white brush, no origin.
    cv->MoveTo(0, 3);
    cv->LineTo(8, 3);
    EXPECT_EQ(cv->Pixels(7, 3), clBlack);
    EXPECT_EQ(cv->Brush()->Color(), clWhite);
    EXPECT_EQ(cv->WindowOrg(), Point(0, 0));
    EXPECT_FALSE(cv->RestoreDC(saved));
    // Nested levels and the relative form.
    cv->SaveDC();
    cv->Pen()->SetColor(clRed);
    cv->SaveDC();
    cv->Pen()->SetColor(clBlue);
    EXPECT_TRUE(cv->RestoreDC(-1));
    EXPECT_EQ(cv->Pen()->Color(), clRed);
    EXPECT_TRUE(cv->RestoreDC(-1));
    EXPECT_EQ(cv->Pen()->Color(), clBlack);
}

TEST_F(Canvas, WindowOriginMovesDrawing) {
    auto b = MakeBitmap(6, 6);
    TCanvas* cv = b->Canvas();
    cv->MoveWindowOrg(2, 3);
    cv->SetPixels(0, 0, clRed);
    EXPECT_EQ(cv->Pixels(0, 0), clRed);
    cv->SetWindowOrg(0, 0);
    EXPECT_EQ(cv->Pixels(2, 3), clRed);
    EXPECT_EQ(cv->Pixels(0, 0), clWhite);
}

TEST_F(Canvas, ShapesStayInsideTheirRectangle) {
    struct Case {
        const char* name;
        std::function<void(TCanvas*)> draw;
        TRect box;
    };
    const Case cases[] = {
        {"ellipse", [](TCanvas* c) { c->Ellipse(2, 3, 12, 10); }, Rect(2, 3, 12, 10)},
        {"round rect", [](TCanvas* c) { c->RoundRect(1, 1, 13, 9, 4, 4); }, Rect(1, 1, 13, 9)},
        {"polygon includes its vertices", [](TCanvas* c) { c->Polygon({Point(1, 1), Point(10, 1), Point(10, 8)}); }, Rect(1, 1, 11, 9)},
        {"polyline leaves out the last point", [](TCanvas* c) { c->Polyline({Point(1, 1), Point(10, 1), Point(10, 8)}); }, Rect(1, 1, 11, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(14, 12);
        b->Canvas()->Brush()->SetColor(clRed);
        c.draw(b->Canvas());
        EXPECT_EQ(InkBox(*b, clWhite), c.box);
    }
}

TEST_F(Canvas, HugeCoordinatesDrawOnlyTheVisiblePart) {
    auto b = MakeBitmap(8, 8);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetColor(clRed);
    cv->Ellipse(-1000000, -1000000, 1000000, 1000000);
    EXPECT_EQ(cv->Pixels(4, 4), clRed);
    cv->Polygon({Point(-1000000, -1000000), Point(1000000, -1000000), Point(0, 1000000)});
    cv->Pen()->SetWidth(3);
    cv->MoveTo(-1000000, 4);
    cv->LineTo(1000000, 4);
    EXPECT_EQ(cv->Pixels(4, 4), clBlack);
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetStyle(psDot);
    // A segment wholly outside keeps the dot pattern going: 5 pixels off screen, then the
    // visible segment starts at x = -2 with pixel 5 of the pattern.
    cv->Brush()->SetStyle(bsClear);
    cv->Pen()->SetColor(clBlue);
    cv->MoveTo(-7, 0);
    cv->LineTo(-2, 0);
    cv->LineTo(8, 0);
    EXPECT_EQ(cv->Pixels(0, 0), clRed);   // pixel 7: a gap
    EXPECT_EQ(cv->Pixels(1, 0), clBlue);
}

TEST_F(Canvas, PolygonAndEllipseFillInterior) {
    auto b = MakeBitmap(12, 12);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetColor(clRed);
    cv->Ellipse(0, 0, 12, 12);
    EXPECT_EQ(cv->Pixels(6, 6), clRed);
    EXPECT_EQ(cv->Pixels(0, 0), clWhite);
    EXPECT_EQ(cv->Pixels(6, 0), clBlack);
    cv->Brush()->SetColor(clBlue);
    cv->Pen()->SetStyle(psClear);
    cv->Polygon({Point(2, 2), Point(9, 2), Point(9, 9), Point(2, 9)});
    EXPECT_EQ(cv->Pixels(5, 5), clBlue);
}

TEST_F(Canvas, WidePenCoversItsWidthAndLeavesTheEndOut) {
    auto b = MakeBitmap(12, 9);
    TCanvas* cv = b->Canvas();
    cv->Pen()->SetWidth(3);
    cv->MoveTo(2, 4);
    cv->LineTo(10, 4);
    EXPECT_EQ(Mask(*b, clBlack), Rows({"............", "............", "............", "..########..", "..########..",
                                       "..########..", "............", "............", "............"}));
}

TEST_F(Canvas, ObjectsNotifyAndAssign) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetName(u"Arial");
    f.SetSize(10);
    f.SetStyle({fsBold, fsUnderline});
    f.SetColor(clRed);
    f.SetColor(clRed);   // unchanged: no event
    EXPECT_EQ(changes, 4);
    TFont g;
    g.Assign(&f);
    EXPECT_TRUE(g.Equals(f));
    EXPECT_TRUE(g.Style().Contains(fsUnderline));
    EXPECT_FALSE(g.Style().Contains(fsItalic));

    TBrush br;
    br.SetStyle(bsClear);
    br.SetColor(clRed);
    EXPECT_EQ(br.Style(), bsSolid);   // a colour makes a clear brush solid
    TPen pen;
    pen.SetWidth(-3);
    EXPECT_EQ(pen.Width(), 0);
    EXPECT_EQ(PenModeToRop2(pmXor), R2_XORPEN);

    // Assigning something of another kind raises the conversion error.
    EXPECT_TRUE(testsupport::ThrowsWith<EConvertError>([&] { pen.Assign(&f); }, u"Cannot assign a TFont to a TPen"));
}

TEST_F(Canvas, PatternOperationsAndInvert) {
    auto b = MakeBitmap(4, 2, clRed);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetColor(clLime);
    PatBlt(cv, 0, 0, 2, 1, PATCOPY);
    PatBlt(cv, 2, 0, 2, 1, PATINVERT);
    cv->InvertRect(Rect(0, 1, 2, 2));
    EXPECT_EQ(cv->Pixels(0, 0), clLime);
    EXPECT_EQ(cv->Pixels(2, 0), clRed ^ clLime);
    EXPECT_EQ(cv->Pixels(0, 1), clAqua);
    EXPECT_EQ(cv->Pixels(3, 1), clRed);
    cv->SetROP2(R2_NOT);   // holds until the pen changes
    cv->MoveTo(2, 1);
    cv->LineTo(4, 1);
    EXPECT_EQ(cv->Pixels(3, 1), clAqua);
    cv->Pen()->SetMode(pmCopy);
    cv->Pen()->SetMode(pmMask);
    cv->Pen()->SetColor(clYellow);
    cv->MoveTo(2, 1);
    cv->LineTo(3, 1);
    EXPECT_EQ(cv->Pixels(2, 1), clAqua & clYellow);
}

TEST_F(Canvas, FloodFill) {
    auto b = MakeBitmap(8, 8);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetStyle(bsClear);
    cv->Rectangle(1, 1, 7, 7);
    cv->Brush()->SetColor(clRed);
    cv->FloodFill(3, 3, clWhite, fsSurface);
    EXPECT_EQ(cv->Pixels(3, 3), clRed);
    EXPECT_EQ(cv->Pixels(5, 5), clRed);
    EXPECT_EQ(cv->Pixels(0, 0), clWhite);
    EXPECT_EQ(cv->Pixels(1, 1), clBlack);
    cv->Brush()->SetColor(clLime);
    cv->FloodFill(0, 0, clBlack, fsBorder);
    EXPECT_EQ(cv->Pixels(7, 7), clLime);
    EXPECT_EQ(cv->Pixels(3, 3), clRed);
}

TEST_F(Canvas, HatchedBrushLeavesGapsAlone) {
    auto b = MakeBitmap(8, 8);
    TCanvas* cv = b->Canvas();
    cv->Brush()->SetColor(clBlack);
    cv->Brush()->SetStyle(bsCross);
    cv->FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(cv->Pixels(7, 3), clBlack);
    EXPECT_EQ(cv->Pixels(3, 7), clBlack);
    EXPECT_EQ(cv->Pixels(3, 3), clWhite);
}

TEST_F(Canvas, DrawEdgeColoursAndAdjust) {
    struct Case {
        const char* name;
        unsigned edge;
        TColor topLeft, inner, bottomRight, topRight;
    };
    const Case cases[] = {
        {"raised", EDGE_RAISED, 0xE3E3E3, 0xFFFFFF, 0x696969, 0x696969},
        {"sunken", EDGE_SUNKEN, 0xA0A0A0, 0x696969, 0xFFFFFF, 0xFFFFFF},
        {"etched", EDGE_ETCHED, 0xA0A0A0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(8, 8, clRed);
        TRect r = Rect(0, 0, 8, 8);
        EXPECT_TRUE(DrawEdge(b->Canvas(), r, c.edge, BF_RECT | BF_ADJUST));
        EXPECT_EQ(r, Rect(2, 2, 6, 6));
        TCanvas* cv = b->Canvas();
        EXPECT_EQ(cv->Pixels(0, 0), c.topLeft);
        EXPECT_EQ(cv->Pixels(1, 1), c.inner);
        EXPECT_EQ(cv->Pixels(7, 7), c.bottomRight);
        EXPECT_EQ(cv->Pixels(7, 0), c.topRight);
        EXPECT_EQ(cv->Pixels(3, 3), clRed);
    }
    auto b = MakeBitmap(6, 6, clRed);
    TRect r = Rect(0, 0, 6, 6);
    DrawEdge(b->Canvas(), r, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(r, Rect(0, 0, 6, 6));
    EXPECT_EQ(b->Canvas()->Pixels(3, 3), 0xF0F0F0);
}

TEST_F(Canvas, FrameControlsShowTheirState) {
    struct Case {
        const char* name;
        unsigned type, state;
        TColor centre;       // the pixel in the middle of the 13 x 13 glyph
    };
    const Case cases[] = {
        {"check box", DFC_BUTTON, DFCS_BUTTONCHECK, 0xFFFFFF},
        {"checked", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 0x000000},
        {"checked inactive", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, 0x6D6D6D},
        {"pushed check box", DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED, 0xF0F0F0},
        {"radio", DFC_BUTTON, DFCS_BUTTONRADIO, 0xFFFFFF},
        {"radio checked", DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, 0x000000},
        {"push button", DFC_BUTTON, DFCS_BUTTONPUSH, 0xF0F0F0},
        {"scroll down arrow", DFC_SCROLL, DFCS_SCROLLDOWN, 0x000000},
        {"inactive arrow", DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE, 0x6D6D6D},
    };
    auto sheet = MakeBitmap(16 * 9, 16, clRed);
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = MakeBitmap(13, 13, clRed);
        EXPECT_TRUE(DrawFrameControl(b->Canvas(), Rect(0, 0, 13, 13), c.type, c.state));
        EXPECT_EQ(b->Canvas()->Pixels(6, 6), c.centre);
        DrawFrameControl(sheet->Canvas(), Bounds(16 * i + 1, 1, 13, 13), c.type, c.state);
        ++i;
    }
    SavePng(*sheet, "frame_controls.png");
}

TEST_F(Canvas, RenderShapesForReview) {
    auto b = MakeBitmap(200, 90, clBtnFace);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clWindow);
    c->Rectangle(4, 4, 40, 30);
    c->RoundRect(44, 4, 80, 30, 6, 6);
    c->Ellipse(84, 4, 120, 30);
    c->Polygon({Point(124, 29), Point(142, 4), Point(160, 29)});
    c->Brush()->SetStyle(bsDiagCross);
    c->Brush()->SetColor(clNavy);
    c->Rectangle(164, 4, 196, 30);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetStyle(psDot);
    c->Rectangle(4, 34, 40, 60);
    c->Pen()->SetStyle(psDash);
    c->MoveTo(44, 36);
    c->LineTo(120, 36);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(2);
    c->Pen()->SetColor(clRed);
    c->MoveTo(44, 42);
    c->LineTo(80, 58);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBlack);
    const unsigned edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP, BDR_RAISEDINNER, BDR_SUNKENOUTER};
    int x = 4;
    for (unsigned e : edges) {
        TRect r = Rect(x, 64, x + 28, 86);
        DrawEdge(c, r, e, BF_RECT);
        x += 32;
    }
    c->DrawFocusRect(Rect(124, 34, 196, 60));
    SavePng(*b, "shapes.png");
    EXPECT_GT(CountInk(*b, 0xF0F0F0), 0);
}

} // namespace

namespace {

// A canvas bound into a larger picture, as a control's canvas is bound to its window.
TEST_F(Canvas, BoundCanvasDrawsAtItsOriginInsideItsClip) {
    auto surface = MakeBitmap(12, 10);
    TCanvas cv;
    const TRegion clip(Rect(3, 2, 9, 8));   // surface coordinates
    gfx::BindCanvasToBitmap(&cv, surface.get(), Point(3, 2), &clip);
    EXPECT_TRUE(cv.HandleAllocated());
    EXPECT_EQ(cv.ClipRect(), Rect(0, 0, 6, 6));
    cv.Brush()->SetColor(clBlack);
    cv.FillRect(Rect(-5, -5, 20, 20));
    EXPECT_EQ(Mask(*surface, clBlack), Rows({"............", "............", "...######...", "...######...",
                                             "...######...", "...######...", "...######...", "...######...",
                                             "............", "............"}));
    EXPECT_EQ(cv.Pixels(0, 0), clBlack);
    EXPECT_EQ(cv.Pixels(-1, 0), CLR_INVALID);

    // A selected region (device coordinates) narrows the binding's clip, never widens it.
    const TRegion sel(Rect(4, -2, 10, 2));
    cv.SelectClipRgn(&sel);
    cv.Brush()->SetColor(clRed);
    cv.FillRect(Rect(-5, -5, 20, 20));
    cv.SelectClipRgn(nullptr);
    EXPECT_EQ(surface->Canvas()->Pixels(7, 2), clRed);
    EXPECT_EQ(surface->Canvas()->Pixels(8, 3), clRed);
    EXPECT_EQ(surface->Canvas()->Pixels(9, 2), clWhite);
    EXPECT_EQ(surface->Canvas()->Pixels(7, 4), clBlack);

    // The focus pattern follows the device origin, not the surface's.
    cv.Brush()->SetColor(clWhite);
    cv.FillRect(Rect(0, 0, 6, 6));
    cv.DrawFocusRect(Rect(0, 0, 4, 1));
    EXPECT_EQ(cv.Pixels(0, 0), clBlack);
    EXPECT_EQ(cv.Pixels(1, 0), clWhite);
    gfx::UnbindBitmapCanvas(&cv);
    EXPECT_FALSE(cv.HandleAllocated());
    cv.FillRect(Rect(0, 0, 6, 6));   // unbound: nothing happens
    EXPECT_EQ(surface->Canvas()->Pixels(3, 2), clBlack);
}

} // namespace
