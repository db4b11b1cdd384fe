// Text output and layout: relations computed with the same font, never glyph pixels.
#include "GfxTestUtil.h"

using namespace gfxtest;

namespace {

class Text : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        canvas_ = MakeBitmap(200, 80);
        c = canvas_->Canvas();
        c->Font()->SetName(u"Verdana");
        c->Font()->SetSize(8);
    }
    std::unique_ptr<TBitmap> canvas_;
    TCanvas* c = nullptr;
};

TEST_F(Text, WordBreakLinesAndCalcRect) {
    const int lh = c->TextHeight(u"Ag");
    struct Case {
        const char* name;
        const char16_t* text;
        const char16_t* widestLine;   // the line that sets the width
        int width;                    // rectangle width; 0 = the widest line's width
        int lines;
    };
    const Case cases[] = {
        {"two words per line", u"alpha beta gamma delta", u"gamma delta", 0, 2},
        {"everything fits", u"alpha beta", u"alpha beta", 400, 1},
        {"line breaks in the text", u"one\r\ntwo\nthree", u"three", 400, 3},
        {"one word per line", u"gamma beta gamma", u"gamma", 1, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        int width = k.width ? k.width : c->TextWidth(k.widestLine);
        if (k.width == 1) width = c->TextWidth(u"gamma");
        TRect r = Rect(5, 5, 5 + width, 6);
        const int h = c->DrawText(k.text, r, DT_WORDBREAK | DT_CALCRECT);
        EXPECT_EQ(h, k.lines * lh);
        EXPECT_EQ(r.Bottom, 5 + k.lines * lh);
        EXPECT_EQ(r.Right, 5 + c->TextWidth(k.widestLine));
    }
}

TEST_F(Text, LongWordBrokenOnlyForEditControls) {
    const int lh = c->TextHeight(u"Ag");
    const String word = u"Abcdefghijklmnop";
    const int half = c->TextWidth(word) / 2;
    TRect plain = Rect(0, 0, half, 1);
    EXPECT_EQ(c->DrawText(word, plain, DT_WORDBREAK | DT_CALCRECT), lh);
    EXPECT_EQ(plain.Right, c->TextWidth(word));
    TRect edit = Rect(0, 0, half, 1);
    EXPECT_GE(c->DrawText(word, edit, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT), 2 * lh);
    EXPECT_LE(edit.Right, half);
}

TEST_F(Text, PrefixProcessing) {
    struct Case {
        const char* name;
        const char16_t* text;
        unsigned flags;
        const char16_t* shown;
    };
    const Case cases[] = {
        {"double ampersand", u"Scan && Decode", 0, u"Scan & Decode"},
        {"no prefix keeps both", u"Scan && Decode", DT_NOPREFIX, u"Scan && Decode"},
        {"accelerator removed", u"&Open", 0, u"Open"},
        {"no prefix shows the ampersand", u"&Open", DT_NOPREFIX, u"&Open"},
        {"trailing ampersand dropped", u"Save&", 0, u"Save"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TRect r = Rect(0, 0, 500, 0);
        c->DrawText(k.text, r, DT_SINGLELINE | DT_CALCRECT | k.flags);
        EXPECT_EQ(r.Width(), c->TextWidth(k.shown));
    }
    // "&Open" underlines the O: the underline row below the baseline has ink under the O
    // only, and the same text without the prefix has none there.
    TTextMetric tm;
    c->GetTextMetrics(tm);
    const int wO = c->TextWidth(u"O");
    auto underlineInk = [&](const char16_t* text, unsigned flags) {
        auto b = MakeBitmap(100, 30);
        b->Canvas()->SetFont(c->Font());
        TRect r = Rect(0, 0, 100, 30);
        b->Canvas()->DrawText(text, r, DT_SINGLELINE | flags);
        int inkUnder = 0, inkBeyond = 0;
        for (int y = tm.tmAscent + 1; y < tm.tmHeight; ++y)
            for (int x = 0; x < 100; ++x) {
                if (b->Canvas()->Pixels(x, y) == clWhite) continue;
                (x < wO ? inkUnder : inkBeyond) += 1;
            }
        return std::pair(inkUnder, inkBeyond);
    };
    const auto withPrefix = underlineInk(u"&Open", 0);
    const auto without = underlineInk(u"Open", 0);
    EXPECT_GE(withPrefix.first, wO - 2);
    EXPECT_EQ(without.first, 0);
    const auto hidden = underlineInk(u"&Open", DT_HIDEPREFIX);
    EXPECT_EQ(hidden.first, 0);
}

TEST_F(Text, EditControlAndEllipsisLimitLinesToTheRectangle) {
    const int lh = c->TextHeight(u"Ag");
    const String text = u"alpha beta gamma delta epsilon";
    // Lines "alpha beta", "gamma delta", "epsilon".
    const int w = std::max(c->TextWidth(u"alpha beta"), c->TextWidth(u"gamma delta"));
    struct Case {
        const char* name;
        unsigned flags;
        int height;        // rectangle height
        int inkLines;      // lines with ink
        bool ellipsis;     // the last line ends in "..."
    };
    const Case cases[] = {
        {"plain word break shows the partial line", DT_WORDBREAK, lh * 2 + lh / 2, 3, false},
        {"edit control drops the partial line", DT_WORDBREAK | DT_EDITCONTROL, lh * 2 + lh / 2, 2, false},
        {"end ellipsis on the last visible line", DT_WORDBREAK | DT_END_ELLIPSIS, lh * 2, 2, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto b = MakeBitmap(w + 20, lh * 6);
        b->Canvas()->SetFont(c->Font());
        TRect r = Rect(0, 0, w, k.height);
        b->Canvas()->DrawText(text, r, k.flags);
        int lines = 0;
        for (int i = 0; i < 6; ++i) {
            bool ink = false;
            for (int y = i * lh; y < (i + 1) * lh; ++y)
                for (int x = 0; x < w + 20; ++x) ink = ink || b->Canvas()->Pixels(x, y) != clWhite;
            lines += ink;
        }
        EXPECT_EQ(lines, k.inkLines);
        if (k.ellipsis) {
            // Same pixels as the shortened second line drawn on its own.
            auto e = MakeBitmap(w + 20, lh * 6);
            e->Canvas()->SetFont(c->Font());
            String second = u"gamma delta";
            while (!second.empty() && c->TextWidth(second + u"...") > w) second.pop_back();
            e->Canvas()->TextOut(0, 0, u"alpha beta");
            e->Canvas()->TextOut(0, lh, second + u"...");
            EXPECT_EQ(Snapshot(*b), Snapshot(*e));
        }
    }
}

TEST_F(Text, TabsExpandToEightAverageCharacters) {
    TTextMetric tm;
    c->GetTextMetrics(tm);
    const int stop = tm.tmAveCharWidth * 8;
    TRect r = Rect(0, 0, 1000, 0);
    c->DrawText(u"ab\tc", r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(r.Width(), stop + c->TextWidth(u"c"));
    TRect two = Rect(0, 0, 1000, 0);
    c->DrawText(u"\t\tc", two, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(two.Width(), 2 * stop + c->TextWidth(u"c"));
}

TEST_F(Text, EndEllipsisKeepsInkInside) {
    const String longText = u"A rather long caption that cannot fit";
    const int w = c->TextWidth(u"A rather long");
    auto b = MakeBitmap(300, 20);
    b->Canvas()->SetFont(c->Font());
    TRect r = Rect(10, 2, 10 + w, 18);
    b->Canvas()->DrawText(longText, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    const TRect ink = InkBox(*b, clWhite);
    EXPECT_GE(ink.Left, r.Left);
    EXPECT_LE(ink.Right, r.Right);
    EXPECT_GT(ink.Right, r.Right - c->TextWidth(u"....."));
    // Without the flag the text runs past the rectangle.
    auto b2 = MakeBitmap(300, 20);
    b2->Canvas()->SetFont(c->Font());
    TRect r2 = r;
    b2->Canvas()->DrawText(longText, r2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(*b2, clWhite).Right, r.Right);
}

TEST_F(Text, AlignmentMatchesTextOutAtTheComputedPlace) {
    const String s = u"Centred";
    const int tw = c->TextWidth(s), th = c->TextHeight(s);
    const TRect r = Rect(10, 10, 150, 50);
    struct Case {
        const char* name;
        unsigned flags;
        int x, y;
    };
    const Case cases[] = {
        {"centre, vertical centre", DT_SINGLELINE | DT_CENTER | DT_VCENTER, r.Left + (r.Width() - tw) / 2, r.Top + (r.Height() - th) / 2},
        {"right, bottom", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, r.Right - tw, r.Bottom - th},
        {"left, top", DT_LEFT | DT_TOP, r.Left, r.Top},
        {"right-to-left reading puts left text at the right", DT_SINGLELINE | DT_LEFT | DT_RTLREADING, r.Right - tw, r.Top},
        {"vertical centre needs single line", DT_VCENTER, r.Left, r.Top},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto a = MakeBitmap(160, 60);
        a->Canvas()->SetFont(c->Font());
        TRect rr = r;
        a->Canvas()->DrawText(s, rr, k.flags);
        auto e = MakeBitmap(160, 60);
        e->Canvas()->SetFont(c->Font());
        e->Canvas()->TextOut(k.x, k.y, s);
        EXPECT_EQ(Snapshot(*a), Snapshot(*e));
        EXPECT_GT(CountInk(*a, clWhite), 0);
    }
}

TEST_F(Text, ClippedToTheRectangleUnlessNoClip) {
    auto a = MakeBitmap(100, 30);
    a->Canvas()->SetFont(c->Font());
    TRect r = Rect(0, 0, 12, 30);
    a->Canvas()->DrawText(u"WWWWWW", r, DT_SINGLELINE);
    EXPECT_LE(InkBox(*a, clWhite).Right, 12);
    auto b = MakeBitmap(100, 30);
    b->Canvas()->SetFont(c->Font());
    TRect r2 = Rect(0, 0, 12, 30);
    b->Canvas()->DrawText(u"WWWWWW", r2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(*b, clWhite).Right, 12);
}

TEST_F(Text, BackgroundModes) {
    struct Case {
        const char* name;
        TBrushStyle brush;
        bool cellFilled;
    };
    const Case cases[] = {{"opaque fills the cell", bsSolid, true}, {"transparent leaves it", bsClear, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto b = MakeBitmap(100, 30);
        TCanvas* cv = b->Canvas();
        cv->SetFont(c->Font());
        cv->Brush()->SetColor(clYellow);
        cv->Brush()->SetStyle(k.brush);
        cv->TextOut(5, 5, u"i i");
        // The blank between the two letters lies inside the text cell.
        const int x = 5 + cv->TextWidth(u"i") + 1;
        EXPECT_EQ(cv->Pixels(x, 5), k.cellFilled ? clYellow : clWhite);
        EXPECT_EQ(cv->Pixels(5 + cv->TextWidth(u"i i") + 1, 5), clWhite);
        EXPECT_EQ(cv->PenPos(), Point(5 + cv->TextWidth(u"i i"), 5));
    }
}

TEST_F(Text, TextRectClipsAndFills) {
    auto b = MakeBitmap(100, 30);
    TCanvas* cv = b->Canvas();
    cv->SetFont(c->Font());
    cv->Brush()->SetColor(clYellow);
    cv->TextRect(Rect(10, 5, 30, 25), 10, 5, u"WWWWWWWW");
    EXPECT_EQ(InkBox(*b, clWhite), Rect(10, 5, 30, 25));
    EXPECT_EQ(cv->Pixels(29, 24), clYellow);
}

TEST_F(Text, RotatedText) {
    struct Case {
        const char* name;
        int orientation;
        bool above;   // ink above (runs upwards) or below the reference point
    };
    const Case cases[] = {{"upwards", -2700, true}, {"downwards", -900, false}, {"upwards, positive", 900, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto b = MakeBitmap(60, 120);
        TCanvas* cv = b->Canvas();
        cv->SetFont(c->Font());
        cv->Font()->SetOrientation(k.orientation);
        cv->Brush()->SetStyle(bsClear);
        cv->TextOut(30, 60, u"Rotated text");
        const TRect ink = InkBox(*b, clWhite);
        EXPECT_GT(ink.Height(), ink.Width() * 2);
        if (k.above) EXPECT_LE(ink.Bottom, 61);
        else EXPECT_GE(ink.Top, 59);
    }
}

TEST_F(Text, FontMapAndSizes) {
    struct Case {
        const char16_t* name;
        const char16_t* family;
    };
    const Case cases[] = {
        {u"Verdana", u"DejaVu Sans"},      {u"Segoe UI", u"DejaVu Sans"},
        {u"Tahoma", u"Tahoma"},            {u"MS Sans Serif", u"MS Sans Serif"},
        {u"Arial", u"Liberation Sans"},    {u"Times New Roman", u"Liberation Serif"},
        {u"Courier New", u"Liberation Mono"}, {u"Symbol", u"Symbol"},
        {u"Unknown Font", u"DejaVu Sans"}, {u"verdana", u"DejaVu Sans"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.name, k.name + std::char_traits<char16_t>::length(k.name)));
        EXPECT_EQ(MapFontName(k.name), k.family);
        TFont f;
        f.SetName(k.name);
        EXPECT_EQ(plat::gfx::ActualFontFamily(f), k.family);
    }
    TFont f;
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(plat::gfx::ActualPixelSize(f), 11);
    f.SetSize(24);
    EXPECT_EQ(f.Height(), -32);
    // A bold font is wider than the regular one of the same size.
    TFont bold = f;
    bold.SetStyle({fsBold});
    auto b = MakeBitmap(4, 4);
    b->Canvas()->SetFont(&f);
    const int regular = b->Canvas()->TextWidth(u"Bold text");
    b->Canvas()->SetFont(&bold);
    EXPECT_GT(b->Canvas()->TextWidth(u"Bold text"), regular);
}

TEST_F(Text, MeasuresFollowFontChanges) {
    const int small = c->TextWidth(u"Width");
    const int smallHeight = c->TextHeight(u"Width");
    c->Font()->SetSize(12);
    EXPECT_GT(c->TextWidth(u"Width"), small);
    EXPECT_GT(c->TextHeight(u"Width"), smallHeight);
    c->Font()->SetName(u"Courier New");
    EXPECT_EQ(c->TextWidth(u"iiii"), c->TextWidth(u"MMMM"));   // fixed pitch
    // A positive height is the cell height.
    c->Font()->SetName(u"Arial");
    c->Font()->SetHeight(20);
    EXPECT_EQ(c->TextHeight(u"X"), 20);
}

TEST_F(Text, WidthIsAdditive) {
    // Callers shorten captions character by character, so a text is as wide as its parts.
    const String s = u"AVAWAYTo";
    for (std::size_t i = 1; i < s.size(); ++i)
        EXPECT_EQ(c->TextWidth(s), c->TextWidth(s.substr(0, i)) + c->TextWidth(s.substr(i))) << i;
}

TEST_F(Text, RenderSampleForReview) {
    auto b = MakeBitmap(240, 120, clBtnFace);
    TCanvas* cv = b->Canvas();
    cv->SetFont(c->Font());
    cv->Brush()->SetStyle(bsClear);
    TRect r = Rect(4, 4, 120, 60);
    cv->Brush()->SetColor(clWindow);
    cv->FillRect(r);
    cv->Brush()->SetStyle(bsClear);
    DrawText(cv, u"&Word break over a narrow rectangle with && prefix", r, DT_WORDBREAK | DT_CENTER);
    TRect e = Rect(4, 64, 120, 80);
    DrawEdge(cv, e, EDGE_SUNKEN, BF_RECT);
    DrawText(cv, u"Ellipsis cuts this text", e, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    cv->Font()->SetOrientation(-2700);
    cv->TextOut(130, 110, u"Upwards");
    cv->Font()->SetOrientation(-900);
    cv->TextOut(160, 4, u"Downwards");
    cv->Font()->SetOrientation(0);
    cv->Font()->SetName(u"Tahoma");
    cv->Font()->SetHeight(-11);
    cv->TextOut(170, 90, u"Tahoma");
    cv->DrawFocusRect(Rect(168, 88, 236, 106));
    SavePng(*b, "text_sample.png");
    EXPECT_GT(CountInk(*b, 0xF0F0F0), 0);
}

} // namespace

namespace {

// Captions are shortened and placed character by character, so a text must be drawn as its
// characters: no ligature ("fi" drawn as one glyph reads "Save the fle").
TEST_F(Text, NoLigaturesTextIsDrawnAsItsCharacters) {
    for (const char16_t* name : {u"Tahoma", u"Verdana", u"MS Sans Serif", u"Arial"}) {
        for (const char16_t* pair : {u"fi", u"fl", u"ff"}) {
            SCOPED_TRACE(std::string(pair, pair + 2) + " in " +
                         std::string(name, name + std::char_traits<char16_t>::length(name)));
            auto whole = MakeBitmap(40, 20);
            auto apart = MakeBitmap(40, 20);
            for (TBitmap* b : {whole.get(), apart.get()}) {
                b->Canvas()->Font()->SetName(name);
                b->Canvas()->Font()->SetSize(8);
                b->Canvas()->Brush()->SetStyle(bsClear);
            }
            const String a(1, pair[0]), b(1, pair[1]);
            whole->Canvas()->TextOut(2, 2, pair);
            apart->Canvas()->TextOut(2, 2, a);
            apart->Canvas()->TextOut(2 + apart->Canvas()->TextWidth(a), 2, b);
            EXPECT_EQ(whole->Canvas()->TextWidth(pair), apart->Canvas()->TextWidth(a) + apart->Canvas()->TextWidth(b));
            int differing = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 40; ++x)
                    differing += whole->Canvas()->Pixels(x, y) != apart->Canvas()->Pixels(x, y);
            EXPECT_EQ(differing, 0);
        }
    }
}

} // namespace
