// Cell text drawing and cell graphics of the string grid, probed on a rendered grid.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// A column grid with one fixed row and column, column 1 a data check-box column; rows 28
// pixels high so that graphics have room.
class CellTextGraphicsTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 640, 400);
        grid = new TExtColumnGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 360);
        grid->SetColCount(5);
        grid->SetRowCount(8);
        grid->SetDefaultRowHeight(28);
        for (int c = 0; c < 5; ++c) grid->Columns()->Items(c)->SetWidth(110);
        grid->Columns()->Items(1)->SetEditor(edDataCheckBox);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goEditing);
        grid->SetOptions(o);
        grid->SetSelection({4, 7, 4, 7});
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
        return pt::PixelOf(bmp, x + a.Left, y + a.Top);
    }
    // Pixels of colour c in the rectangle (client coordinates).
    int Count(const plat::TBitmap& bmp, plat::TRect r, TColor c) const {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += At(bmp, x, y) == c;
        return n;
    }
    // Whether the named bitmap's opaque pixels appear at (x, y).
    bool ShowsResource(const plat::TBitmap& bmp, const char16_t* name, int x, int y) const {
        plat::TBitmap b;
        if (!plat::LoadBitmapResource(name, b)) return false;
        const TColor transparent = pt::PixelOf(b, 0, b.Height() - 1);
        for (int j = 0; j < b.Height(); ++j)
            for (int i = 0; i < b.Width(); ++i) {
                const TColor p = pt::PixelOf(b, i, j);
                if (p != transparent && At(bmp, x + i, y + j) != p) return false;
            }
        return true;
    }
    std::unique_ptr<plat::TForm> form;
    TExtColumnGrid* grid = nullptr;
};

TEST_F(CellTextGraphicsTest, DataCheckBoxesInEveryStyle) {
    grid->SetCells(1, 1, u"Y");
    grid->SetCells(1, 2, u"N");
    grid->SetCells(1, 3, u"Y");
    grid->GetCellProperties(1, 3)->ReadOnly = true;
    grid->SetCells(1, 4, u"");
    struct Case {
        TControlStyle style;
        const char16_t *checked, *unchecked, *readOnly;  // resource bitmaps, null for drawn styles
    } cases[] = {
        {csWinXP, u"ESGCHK05", u"ESGCHK06", u"ESGCHK07"},
        {csZOD, u"ESGCHK01", u"ESGCHK02", u"ESGCHK03"},
        {csClassic, nullptr, nullptr, nullptr},
        {csFlat, nullptr, nullptr, nullptr},
        {csTheme, nullptr, nullptr, nullptr},
        {csBorland, nullptr, nullptr, nullptr},
        {csGlyph, nullptr, nullptr, nullptr},
    };
    plat::LoadBitmapResource(u"metrocheckon", *grid->ControlLook()->CheckedGlyph());
    plat::LoadBitmapResource(u"metrocheckoff", *grid->ControlLook()->UnCheckedGlyph());
    std::unique_ptr<plat::TBitmap> classic;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        grid->ControlLook()->ControlStyle = c.style;
        auto bmp = Render("check_style_" + std::to_string(c.style));
        // The computed place: the cell inset by the grid line and XYOffset() - 1, plus one.
        auto place = [&](int row) {
            const plat::TRect r = grid->CellRect(1, row);
            return plat::TPoint{r.Left + 3, r.Top + 3};
        };
        const TColor bg = plat::ColorToRGB(grid->Color());
        for (int row = 1; row <= 4; ++row) {
            const plat::TRect r = grid->CellRect(1, row);
            const int ink = r.Width() * r.Height() - Count(*bmp, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, bg);
            EXPECT_GT(ink, 20) << "row " << row << ": a box is drawn, never an empty cell";
            EXPECT_EQ(Count(*bmp, r, plat::clFuchsia), 0) << "row " << row << ": the transparent colour stays out";
        }
        if (c.checked) {
            EXPECT_TRUE(ShowsResource(*bmp, c.checked, place(1).X, place(1).Y)) << "\"Y\" checked";
            EXPECT_TRUE(ShowsResource(*bmp, c.unchecked, place(2).X, place(2).Y)) << "\"N\" unchecked";
            EXPECT_TRUE(ShowsResource(*bmp, c.readOnly, place(3).X, place(3).Y)) << "read-only checked";
            EXPECT_TRUE(ShowsResource(*bmp, c.unchecked, place(4).X, place(4).Y)) << "empty text unchecked";
        }
        // Checked and unchecked look different; the read-only box differs from the editable one
        // wherever the style has a disabled look.
        auto cellPixels = [&](int row) {
            const plat::TRect r = grid->CellRect(1, row);
            std::vector<TColor> v;
            for (int y = r.Top + 1; y < r.Top + 24; ++y)
                for (int x = r.Left + 1; x < r.Left + 24; ++x) v.push_back(At(*bmp, x, y));
            return v;
        };
        EXPECT_NE(cellPixels(1), cellPixels(2)) << "checked and unchecked";
        if (c.style != csGlyph) EXPECT_NE(cellPixels(1), cellPixels(3)) << "editable and read-only";
        if (c.style == csClassic) classic = std::move(bmp);
        if (c.style == csTheme) {
            ASSERT_TRUE(classic);
            const plat::TRect r = grid->CellRect(1, 1);
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    ASSERT_EQ(At(*bmp, x, y), At(*classic, x, y)) << "csTheme draws the classic box";
        }
    }
    // With NoDisabledCheckRadioLook a read-only box looks like an editable one.
    grid->ControlLook()->ControlStyle = csWinXP;
    grid->ControlLook()->NoDisabledCheckRadioLook = true;
    auto bmp = Render("check_no_disabled_look");
    const plat::TRect r = grid->CellRect(1, 3);
    EXPECT_TRUE(ShowsResource(*bmp, u"ESGCHK05", r.Left + 3, r.Top + 3));
}

TEST_F(CellTextGraphicsTest, LinkShowsWithoutSchemeUnderlined) {
    grid->SetURLShow(true);
    grid->SetCells(2, 1, u"https://example.org");
    grid->SetCells(3, 1, u"example.org");
    auto bmp = Render("link");
    const plat::TRect r = grid->CellRect(2, 1);
    const int blue = Count(*bmp, r, grid->URLColor());
    EXPECT_GT(blue, 20) << "the link in URLColor()";
    // An underline: a row of the cell with a long run of link-coloured pixels.
    int longest = 0;
    for (int y = r.Top; y < r.Bottom; ++y) longest = std::max(longest, Count(*bmp, {r.Left, y, r.Right, y + 1}, grid->URLColor()));
    plat::TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(*grid->Font());
    const int w = probe.Canvas()->TextWidth(u"example.org");
    EXPECT_GE(longest, w - 2) << "underlined over the shortened text";
    EXPECT_LE(longest, w + 2) << "the scheme is cut off";
    // Without URLFull the plain text of the same words takes the same room.
    EXPECT_EQ(Count(*bmp, grid->CellRect(3, 1), grid->URLColor()), 0) << "a plain cell shows no link";
}

TEST_F(CellTextGraphicsTest, PasswordCellShowsPasswordChars) {
    grid->OnIsPasswordCell = [](plat::TObject*, int ARow, int ACol, bool& IsPassword) {
        IsPassword = ACol == 2 && ARow == 2;
    };
    grid->SetCells(2, 2, u"abc");
    grid->SetCells(3, 2, u"***");
    auto bmp = Render("password");
    const plat::TRect a = grid->CellRect(2, 2), b = grid->CellRect(3, 2);
    for (int y = 2; y < a.Height() - 2; ++y)
        for (int x = 2; x < 40; ++x)
            ASSERT_EQ(At(*bmp, a.Left + x, a.Top + y), At(*bmp, b.Left + x, b.Top + y)) << x << "," << y;
}

TEST_F(CellTextGraphicsTest, EllipsisWithEnhTextSize) {
    grid->Columns()->Items(2)->SetWidth(60);
    grid->SetWordWrap(false);  // a one-line text
    grid->SetCells(2, 3, u"WWWWWWWWWWWWWWWWWWWW");
    auto ink = [&](const plat::TBitmap& bmp) {
        // Dark pixels in the last 8 pixels of the text area.
        const plat::TRect r = grid->CellRect(2, 3);
        const plat::TRect tail{r.Right - 3 - 8, r.Top + 2, r.Right - 3, r.Bottom - 2};
        return tail.Width() * tail.Height() - Count(bmp, tail, plat::ColorToRGB(grid->Color()));
    };
    auto cut = Render("no_ellipsis");
    grid->SetEnhTextSize(true);
    auto ellipsis = Render("ellipsis");
    EXPECT_GT(ink(*cut), 2 * ink(*ellipsis)) << "the cut W strokes against the three dots";
    EXPECT_GT(ink(*ellipsis), 0) << "the dots are drawn";
}

TEST_F(CellTextGraphicsTest, SortIndicatorPlaces) {
    grid->SetLook(glStandard);
    grid->SetFixedColor(plat::clSilver);
    grid->SortSettings()->SetShow(true);
    grid->SortSettings()->Column = 2;
    grid->Columns()->Items(2)->SetHeader(u"Topic");
    struct Case {
        plat::TAlignment ha;
        TSortDirection dir;
    } cases[] = {{plat::taLeftJustify, sdAscending}, {plat::taRightJustify, sdAscending},
                 {plat::taCenter, sdAscending},      {plat::taLeftJustify, sdDescending}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ha) * 10 + c.dir);
        grid->Columns()->Items(2)->SetHeaderAlignment(c.ha);
        grid->SortSettings()->Direction = c.dir;
        auto bmp = Render("sort_" + std::to_string(c.ha) + std::to_string(c.dir));
        const plat::TRect cell = grid->CellRect(2, 0);
        // The text rectangle: the fixed cell inside its lines, moved by the grid line, inset by XYOffset().
        const plat::TRect r{cell.Left + 1 + 2, cell.Top + 1 + 2, cell.Right - 1 - 2, cell.Bottom - 2};
        plat::TBitmap probe(10, 10);
        probe.Canvas()->Font()->Assign(*grid->Columns()->Items(2)->HeaderFont());
        const int w = std::max(0, std::min(r.Width() - 16, probe.Canvas()->TextWidth(u"Topic")));
        const int x = c.ha == plat::taLeftJustify ? r.Left + w + 10 : c.ha == plat::taRightJustify ? r.Right - w - 10 : r.Left + 10 + 8;  // a centred sorted header's text moves 10 right
        const int y = r.Top + 8;
        if (c.dir == sdAscending) {
            EXPECT_EQ(At(*bmp, x, y + 4), plat::clWhite) << "white base line";
            EXPECT_EQ(At(*bmp, x - 2, y), plat::clGray) << "gray left edge";
        } else {
            EXPECT_EQ(At(*bmp, x + 2, y), plat::clWhite) << "white right edge";
            EXPECT_EQ(At(*bmp, x, y - 4), plat::clGray) << "gray top line";
        }
    }
}

TEST_F(CellTextGraphicsTest, CellTextSizeOfTwoLines) {
    grid->SetCells(2, 3, u"ab\r\nabcd");
    const TPoint s = grid->GetCellTextSize(2, 3, false, false);
    plat::TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(*grid->Font());
    EXPECT_EQ(s.X, probe.Canvas()->TextWidth(u"abcd"));
    EXPECT_EQ(s.Y, 2 * probe.Canvas()->TextHeight(u"gh"));
}

TEST_F(CellTextGraphicsTest, RatingOfFiveAtTwoAndAHalf) {
    const TColor full = plat::clRed, empty = plat::clSilver;
    grid->AddRating(3, 4, 5, full, empty);
    grid->SetCells(3, 4, u"2.5");
    grid->Columns()->Items(3)->SetWidth(110);
    auto bmp = Render("rating");
    const plat::TRect cell = grid->CellRect(3, 4);
    const int x0 = cell.Left + 1 + 1, y0 = cell.Top + 1 + 1 + 1;  // inner rect, XYOffset() - 1, top + 1
    auto colourAt = [&](int star, int dx) { return At(*bmp, x0 + star * 18 + dx, y0 + 10); };
    EXPECT_EQ(colourAt(0, 8), full);
    EXPECT_EQ(colourAt(1, 8), full);
    EXPECT_EQ(colourAt(2, 5), full) << "left half of the third star";
    EXPECT_EQ(colourAt(2, 11), empty) << "right half of the third star";
    EXPECT_EQ(colourAt(3, 8), empty);
    EXPECT_EQ(colourAt(4, 8), empty);
}

// The formatted display text: a number through the float format, the raw text for anything
// else and for a format that does not fit the value (it fails inside Format, never reaching
// undefined behaviour).
TEST_F(CellTextGraphicsTest, FloatFormatOrTheRawText) {
    String format = u"%.2f";
    grid->OnGetFloatFormat = [&](plat::TObject*, int, int, bool&, String& Fmt) { Fmt = format; };
    struct Case {
        const char16_t* text;
        const char16_t* format;
        const char16_t* shown;
    } cases[] = {
        {u"3.14159", u"%.2f", u"3.14"},
        {u"plant", u"%.2f", u"plant"},
        {u"3.14159", u"%s", u"3.14159"},
        {u"3.14159", u"%d%d", u"3.14159"},
        {u"3.14159", u"%", u"3.14159"},
        {u"7", u"%d", u"7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(String(c.text) + u" " + c.format));
        format = c.format;
        grid->SetCells(2, 1, c.text);
        EXPECT_EQ(grid->GetFormattedCell(2, 1), c.shown);
    }
    format = u"%.2f";
    grid->SetCells(2, 1, u"3.14159");
    grid->SetCells(3, 1, u"3.14");
    grid->OnGetFloatFormat = [&](plat::TObject*, int ACol, int, bool& IsFloat, String& Fmt) {
        IsFloat = ACol == 2;
        Fmt = format;
    };
    auto bmp = Render("float_format");
    const plat::TRect a = grid->CellRect(2, 1), b = grid->CellRect(3, 1);
    for (int y = 2; y < a.Height() - 2; ++y)
        for (int x = 2; x < 60; ++x)
            ASSERT_EQ(At(*bmp, a.Left + x, a.Top + y), At(*bmp, b.Left + x, b.Top + y)) << "drawn as 3.14";
}

TEST(XPProgressPercent, RangeAndEmptyRange) {
    EXPECT_EQ(XPProgressPercent(50, 0, 200), 25);
    EXPECT_EQ(XPProgressPercent(200, 0, 200), 100);
    EXPECT_EQ(XPProgressPercent(5, 3, 3), 0) << "an empty range draws 0 %";
    EXPECT_EQ(XPProgressPercent(1, 0, 8), 12) << "12.5 rounds to even";
}

TEST_F(CellTextGraphicsTest, GalleryOfGraphicKinds) {
    // Every kind drawn once (an empty XP progress range and a negative image index among them);
    // the picture only on request.
    grid->SetRowCount(12);
    grid->AddCheckBox(2, 1, true, false);
    grid->AddCheckBox(3, 1, plat::cbGrayed);
    grid->AddRadioButton(4, 1, true);
    auto items = std::make_unique<plat::TStringList>();  // the caller's list, outliving the grid
    items->Add(u"A");
    items->Add(u"B");
    grid->AddRadio(2, 2, 1, 1, items.get());
    grid->AddExtProgress(3, 2, 0, 200);
    grid->SetCells(3, 2, u"50");
    grid->AddExtProgress(4, 2, 7, 7);
    grid->SetCells(4, 2, u"7");
    grid->AddProgress(2, 3, plat::clBlue, plat::clWhite);
    grid->SetCells(2, 3, u"40");
    grid->AddProgressPie(3, 3, plat::clGreen, 70);
    grid->AddComment(4, 3, u"note");
    grid->AddShape(2, 4, csCircle, plat::clYellow, plat::clBlack, haCenter, vaCenter);
    grid->AddButton(4, 4, 80, 22, u"Press", haCenter, vaCenter);
    grid->AddImageIdx(2, 5, -1, haLeft, vaTop);
    grid->AddRangeIndicator(3, 5, 100, plat::clRed, plat::clGreen, true);
    grid->SetCells(3, 5, u"-30");
    grid->AddNode(6, 3);
    auto bmp = Render("graphics_gallery");
    const plat::TRect xp = grid->CellRect(3, 2);
    EXPECT_GT(xp.Width() * xp.Height() - Count(*bmp, xp, plat::ColorToRGB(grid->Color())), 50) << "XP progress drawn";
    form.reset();
}

} // namespace
