// The small pieces of a cell's painting, probed on a rendered grid: the row indicator, the
// filter glyph, the in-cell scroll bar, the always-visible editor buttons; the show-selection
// flag and following the office theme.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

constexpr TColor kGlyphInk = 0x282828;  // the filter glyph's funnel

class CellAdornmentsTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 440, 260);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 420, 240);
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->SetDefaultRowHeight(30);
        grid->SetDefaultColWidth(70);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TBitmap> Render(const std::string& name) {
        form->Show();
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        if (const char* dir = std::getenv("TEST_PICTURES"))
            pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + name + ".png"));
        return pt::Grab(grid);
    }
    TColor At(const plat::TBitmap& bmp, int x, int y) const {
        const plat::TRect a = grid->ClientAreaInWindow();
        return plat::ColorToRGB(pt::PixelOf(bmp, x + a.Left, y + a.Top));
    }
    static std::unique_ptr<plat::TBitmap> Solid(int w, int h, TColor c) {
        auto b = std::make_unique<plat::TBitmap>();
        b->SetSize(w, h);
        b->Canvas()->Brush()->SetColor(c);
        b->Canvas()->FillRect({0, 0, w, h});
        // The bottom-left pixel decides the transparent colour: keep one magenta pixel there.
        b->Canvas()->SetPixels(0, h - 1, 0xFF00FF);
        return b;
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

// The indicator sits 2 pixels in from the left of column 0 in the current row only, placed
// vertically by VAlignment; other rows and an empty indicator show nothing.
TEST_F(CellAdornmentsTest, RowIndicatorPlacedByVAlignmentInTheCurrentRowOnly) {
    const TColor red = plat::RGB(255, 0, 0);
    auto ind = Solid(8, 8, red);
    struct Case {
        const char* name;
        TVAlignment va;
        int row;       // row probed (current row is 2)
        bool setIt;    // an indicator is set
        int dy;        // probe offset from the cell's top; -1: from the bottom (8 up)
        bool red;
    };
    const Case cases[] = {
        {"top", vtaTop, 2, true, 3, true},
        {"top leaves the bottom", vtaTop, 2, true, -1, false},
        {"centre", vtaCenter, 2, true, 15, true},
        {"centre leaves the top", vtaCenter, 2, true, 2, false},
        {"bottom", vtaBottom, 2, true, -1, true},
        {"other row", vtaTop, 3, true, 3, false},
        {"empty indicator", vtaTop, 2, false, 3, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetVAlignment(k.va);
        grid->SetRowIndicator(k.setIt ? ind.get() : nullptr);
        grid->SetCol(2);
        grid->SetRow(2);
        auto bmp = Render(std::string("row_indicator_") + k.name);
        const plat::TRect r = grid->CellRect(0, k.row);
        const int y = k.dy >= 0 ? r.Top + k.dy : r.Bottom - 6;
        EXPECT_EQ(At(*bmp, r.Left + 6, y) == red, k.red);
    }
}

// The indicator moves the cell's text right by its width + 2.
TEST_F(CellAdornmentsTest, RowIndicatorMovesTheText) {
    grid->SetCells(0, 2, u"W");
    auto firstInk = [&](const plat::TBitmap& bmp) {
        const plat::TRect r = grid->CellRect(0, 2);
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y)
                if (At(bmp, x, y) == plat::RGB(0, 0, 0)) return x - r.Left;
        return -1;
    };
    grid->SetRow(2);
    const int plain = firstInk(*Render("indicator_text_plain"));
    auto ind = Solid(12, 8, plat::RGB(0, 200, 0));
    grid->SetRowIndicator(ind.get());
    const int moved = firstInk(*Render("indicator_text_moved"));
    ASSERT_GE(plain, 0);
    EXPECT_EQ(moved - plain, 12 + 2);
}

// The filter glyph shows in the filter row's cells of columns that have a filter, over the
// fixed colour in the 16 pixels at the right.
TEST_F(CellAdornmentsTest, FilterGlyphOnlyOnFilteredColumnsOfTheFilterRow) {
    grid->SetLook(glStandard);
    grid->SetFixedColor(plat::RGB(255, 255, 0));
    grid->SetFixedRows(2);
    grid->SetFilterDropDownRow(1);
    grid->OnGetColumnFilter = [](plat::TObject*, int Column, plat::TStrings* Filter) {
        if (Column == 2) Filter->Add(u"x");
    };
    auto bmp = Render("filter_glyph");
    struct Case {
        const char* name;
        int col, row;
        bool glyph;
    };
    const Case cases[] = {
        {"filtered column, filter row", 2, 1, true},
        {"unfiltered column", 3, 1, false},
        {"filtered column, other fixed row", 2, 0, false},
        {"filtered column, normal row", 2, 3, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const plat::TRect r = grid->CellRect(k.col, k.row);
        // Row 9, column 7 of the 16 x 16 glyph is ink; its corner is the fixed colour.
        EXPECT_EQ(At(*bmp, r.Right - 1 - 16 + 7, r.Top + 9) == kGlyphInk, k.glyph);
        if (k.glyph) {
            EXPECT_EQ(At(*bmp, r.Right - 1 - 16 + 1, r.Top + 1), plat::RGB(255, 255, 0));
        }
    }
}

TEST(CellScrollThumbTest, LengthAndOffsetFollowPageRangeAndPosition) {
    struct Case {
        const char* name;
        int track, page, range, pos;
        int offset, length;
    };
    const Case cases[] = {
        {"top", 100, 10, 99, 0, 0, 10},
        {"end", 100, 10, 99, 90, 90, 10},
        {"middle", 100, 50, 99, 25, 25, 50},
        {"beyond the end is clamped", 100, 10, 99, 500, 90, 10},
        {"negative position is clamped", 100, 10, 99, -5, 0, 10},
        {"thumb never under 8 pixels", 100, 1, 999, 0, 0, 8},
        {"page above the range fills the track", 100, 500, 99, 3, 0, 100},
        {"no track", 0, 10, 99, 0, 0, 0},
        {"no range", 100, 10, 0, 0, 0, 0},
        {"huge range does not overflow", 1000, 1, 2000000000, 1000000000, 496, 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const TCellScrollThumb t = CellScrollThumb(k.track, k.page, k.range, k.pos);
        EXPECT_EQ(t.Offset, k.offset);
        EXPECT_EQ(t.Length, k.length);
    }
}

// A scroll-bar cell whose range exceeds its page shows a bar at its right edge, and its text
// moves up by the position; with the range inside the page there is no bar.
TEST_F(CellAdornmentsTest, CellScrollBarShownOnlyWhenTheRangeExceedsThePage) {
    grid->SetRowHeights(2, 80);
    grid->SetCells(2, 2, u"W");
    grid->AddScrollBar(2, 2, false);
    const int w = plat::GetSystemMetrics(plat::SM_CXVSCROLL);
    const TColor track = plat::ColorToRGB(plat::clScrollBar);
    auto barAt = [&](const plat::TBitmap& bmp) {
        const plat::TRect r = grid->CellRect(2, 2);
        // The middle of the track, below the thumb at position 0.
        return At(bmp, r.Right - w / 2 - 1, (r.Top + r.Bottom) / 2) == track;
    };
    auto firstInkRow = [&](const plat::TBitmap& bmp) {
        const plat::TRect r = grid->CellRect(2, 2);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right - w - 1; ++x)
                if (At(bmp, x, y) == plat::RGB(0, 0, 0)) return y - r.Top;
        return -1;
    };
    grid->SetScrollProp(2, 2, {.PageSize = 100, .Range = 50});
    auto inside = Render("cell_scroll_inside_page");
    EXPECT_FALSE(barAt(*inside));
    const int top0 = firstInkRow(*inside);
    grid->SetScrollProp(2, 2, {.PageSize = 20, .Range = 100});
    auto shown = Render("cell_scroll_shown");
    EXPECT_TRUE(barAt(*shown));
    EXPECT_EQ(firstInkRow(*shown), top0);
    ASSERT_GE(top0, 3);
    grid->SetScrollPosition(2, 2, 2);
    auto scrolled = Render("cell_scroll_scrolled");
    EXPECT_EQ(firstInkRow(*scrolled), top0 - 2);
}

// Always-visible buttons: a combo-box cell shows its drop-down button in the tone of its
// state, disabled when the cell cannot be edited; other cells and fixed cells show none.
TEST_F(CellAdornmentsTest, AlwaysVisibleDropDownButtonInTheToneOfItsState) {
    TColorTones tones{};
    tones.Background = {plat::RGB(250, 250, 250), plat::RGB(90, 90, 90), plat::RGB(0, 0, 0)};
    tones.Foreground = {plat::RGB(220, 220, 220), plat::RGB(90, 90, 90), plat::RGB(0, 0, 0)};
    tones.Selected = {plat::RGB(0, 120, 215), plat::RGB(90, 90, 90), plat::RGB(255, 255, 255)};
    tones.Hover = {plat::RGB(200, 220, 240), plat::RGB(90, 90, 90), plat::RGB(0, 0, 0)};
    tones.Disabled = {plat::RGB(180, 40, 40), plat::RGB(90, 90, 90), plat::RGB(120, 120, 120)};
    grid->SetColorTones(tones);
    grid->SetColor(plat::clWhite);
    grid->ControlLook()->DropDownAlwaysVisible = true;
    grid->OnHasComboBox = [](plat::TObject*, int ACol, int, bool& Has) { Has = ACol == 2; };
    struct Case {
        const char* name;
        bool editing;
        int col, row;
        TColor expected;  // at the button; clNone: the cell's own colour
    };
    const Case cases[] = {
        {"editable", true, 2, 2, plat::RGB(250, 250, 250)},
        {"read-only grid", false, 2, 2, plat::RGB(180, 40, 40)},
        {"no combo box", true, 3, 2, plat::clNone},
        {"fixed row", true, 2, 0, plat::clNone},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        plat::TGridOptions o = grid->Options();
        grid->SetOptions(k.editing ? o.Include(plat::goEditing) : o.Exclude(plat::goEditing));
        grid->SetCol(1);
        grid->SetRow(1);
        auto bmp = Render(std::string("always_visible_") + k.name);
        const plat::TRect r = grid->CellRect(k.col, k.row);
        const TColor at = At(*bmp, r.Right - 12, r.Top + 4);
        if (k.expected != plat::clNone) {
            EXPECT_EQ(at, k.expected);
        } else {
            EXPECT_NE(at, plat::RGB(180, 40, 40));
            EXPECT_EQ(at, At(*bmp, r.Left + 12, r.Top + 4));
        }
    }
}

// ShowSelection off paints a selected cell in its own colour and tells the base grid too.
TEST_F(CellAdornmentsTest, ShowSelectionReachesTheBaseGrid) {
    grid->SetSelection({1, 1, 2, 2});
    const plat::TRect r = grid->CellRect(2, 2);
    auto on = Render("show_selection_on");
    EXPECT_EQ(At(*on, r.Left + 10, r.Top + 10), plat::ColorToRGB(grid->SelectionColor()));
    grid->SetShowSelection(false);
    EXPECT_FALSE(grid->ShowSel());
    auto off = Render("show_selection_off");
    EXPECT_EQ(At(*off, r.Left + 10, r.Top + 10), plat::ColorToRGB(grid->Color()));
}

// Following the office theme: each theme gives its component style once; the same theme
// again, or an unknown one, changes nothing.
TEST_F(CellAdornmentsTest, OfficeThemeGivesItsStyleOnce) {
    struct Case {
        TOfficeTheme theme;
        TExtStyle style;
    };
    const Case cases[] = {
        {ot2003Blue, tsOffice2003Blue},     {ot2003Silver, tsOffice2003Silver},
        {ot2003Olive, tsOffice2003Olive},   {ot2003Classic, tsOffice2003Classic},
        {ot2007Blue, tsOffice2007Luna},     {ot2007Silver, tsOffice2007Silver},
        {ot2007Black, tsOffice2007Obsidian}, {ot2010Blue, tsOffice2010Blue},
        {ot2010Silver, tsOffice2010Silver}, {ot2010Black, tsOffice2010Black},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.theme));
        grid->ApplyOfficeTheme(k.theme);
        EXPECT_EQ(grid->Style(), k.style);
        // The same theme again leaves a colour changed since.
        grid->SetSelectionColor(plat::RGB(1, 2, 3));
        grid->ApplyOfficeTheme(k.theme);
        EXPECT_EQ(grid->SelectionColor(), plat::RGB(1, 2, 3));
    }
    grid->ApplyOfficeTheme(otUnknown);
    EXPECT_EQ(grid->Style(), tsOffice2010Black);
    EXPECT_EQ(grid->SelectionColor(), plat::RGB(1, 2, 3));
}

TEST_F(CellAdornmentsTest, AutoThemeAdaptReachesTheSearchFooterAndIsCopied) {
    grid->SetAutoThemeAdapt(true);
    EXPECT_TRUE(grid->SearchFooter()->AutoThemeAdapt());
    TExtStringGrid copy(form.get());
    copy.Assign(grid);
    EXPECT_TRUE(copy.AutoThemeAdapt());
    grid->SetAutoThemeAdapt(false);
    EXPECT_FALSE(grid->SearchFooter()->AutoThemeAdapt());
}

} // namespace
