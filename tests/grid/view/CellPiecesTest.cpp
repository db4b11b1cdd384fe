// Small pieces of the cell text layer, probed on a rendered grid: the selection rectangle and
// its resizer grip, the error marker's underline.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class CellPiecesTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 420, 220);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 400, 200);
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetSelection({1, 1, 2, 2});
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
    // Whether colour c is at (x, y) or one pixel beside it across the line's width
    // (horizontal: dx = 1; vertical: dy = 1): a 2-pixel pen covers one of the neighbours.
    bool Near(const plat::TBitmap& bmp, int x, int y, TColor c, bool acrossX) const {
        for (int d = -1; d <= 1; ++d)
            if (At(bmp, acrossX ? x + d : x, acrossX ? y : y + d) == c) return true;
        return false;
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

TEST_F(CellPiecesTest, SelectionRectangleEdgesAndResizer) {
    const TColor red = plat::clRed;
    grid->SetSelectionRectangleColor(red);
    const plat::TRect a = grid->CellRect(1, 1), b = grid->CellRect(2, 2);
    const int midX1 = (a.Left + a.Right) / 2, midY1 = (a.Top + a.Bottom) / 2;
    const int midX2 = (b.Left + b.Right) / 2, midY2 = (b.Top + b.Bottom) / 2;
    struct Probe {
        const char* name;
        int x, y;
        bool acrossX;
        bool red;
    };
    const Probe edges[] = {
        {"left edge", a.Left, midY1, true, true},
        {"top edge", midX1, a.Top, false, true},
        {"right edge", b.Right - 1, midY2, true, true},
        {"bottom edge", midX2, b.Bottom, false, true},
        {"no line between columns", a.Right, midY1, true, false},
        {"no line between rows", midX1, a.Bottom, false, false},
        {"outside the selection", grid->CellRect(3, 3).Left + 10, grid->CellRect(3, 3).Top + 10, true, false},
    };
    struct Case {
        bool rectangle, resizer;
    };
    for (const Case& c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(std::string(c.rectangle ? "rectangle" : "none") + (c.resizer ? " + resizer" : ""));
        grid->SetSelectionRectangle(c.rectangle);
        grid->SetSelectionResizer(c.resizer);
        const auto bmp = Render("selection_rectangle");
        for (const Probe& p : edges) {
            SCOPED_TRACE(p.name);
            EXPECT_EQ(Near(*bmp, p.x, p.y, red, p.acrossX), c.rectangle && p.red);
        }
        // The grip: 4 x 4 at the painted cell's corner (one grid line inside CellRect), clear
        // of the 2-pixel edges.
        EXPECT_EQ(At(*bmp, b.Right - 5, b.Bottom - 5) == red, c.resizer);
        EXPECT_NE(At(*bmp, b.Right - 7, b.Bottom - 7), red);
    }
}

TEST_F(CellPiecesTest, SelectionRectangleSkipsFixedCells) {
    grid->SetSelectionRectangleColor(plat::clRed);
    grid->SetSelectionRectangle(true);
    grid->SetSelection({1, 1, 1, 1});
    const auto bmp = Render("selection_rectangle_fixed");
    const plat::TRect f = grid->CellRect(0, 1);
    for (int x = f.Left; x < f.Right - 2; ++x) EXPECT_NE(At(*bmp, x, (f.Top + f.Bottom) / 2), plat::clRed) << x;
}

TEST_F(CellPiecesTest, ErrorMarkerUnderlinesItsCharacters) {
    grid->SetColWidths(3, 140);
    grid->SetCells(3, 3, u"abcdefgh");
    const plat::TRect r = grid->CellRect(3, 3);
    plat::TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(*grid->Font());
    const int x0 = r.Left + grid->XYOffset().X;
    struct Case {
        const char* name;
        int pos, len;
        int from, to;  // expected extent of the red pixels, client x
    };
    const Case cases[] = {
        {"no marker", 0, 0, 0, 0},
        {"characters 3 and 4",
         3, 2, x0 + 1 + probe.Canvas()->TextWidth(u"ab"), x0 + 1 + probe.Canvas()->TextWidth(u"abcd") + 6},
        {"past the end", 8, 4, x0 + 1 + probe.Canvas()->TextWidth(u"abcdefg") + 4,
         x0 + 1 + probe.Canvas()->TextWidth(u"abcdefg") + 4 + 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->RemoveMarker(3, 3);
        if (c.len > 0) grid->AddMarker(3, 3, c.pos, c.len);
        const auto bmp = Render("error_marker");
        int lo = r.Right, hi = r.Left - 1, n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (At(*bmp, x, y) == plat::clRed) {
                    ++n;
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        if (c.len == 0) {
            EXPECT_EQ(n, 0);
            continue;
        }
        ASSERT_GT(n, 0);
        // The 2-pixel pen's ends reach up to 3 pixels before the first point.
        EXPECT_GE(lo, c.from - 3);
        EXPECT_LE(lo, c.from + 1);
        EXPECT_LE(hi, c.to + 2);
    }
}

} // namespace
