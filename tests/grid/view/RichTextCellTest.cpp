// Rich-text cells of the string grid: placement inside the cell, non-Latin text, selection
// colours and measuring.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ExtGrid.h"
#include "plat/ComCtrls.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// Red text in the rich text's colour table, so its pixels are told from the grid's own.
const String kRed = u"{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 ";

class RichTextCellTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 480, 280);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetColWidths(1, 120);
        grid->SetRowHeights(1, 60);
        grid->SetSelection({3, 3, 3, 3});
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
    // Bounding box (client coordinates) of the pixels of colour c inside r; empty when none.
    plat::TRect InkOf(const plat::TBitmap& bmp, plat::TRect r, TColor c) const {
        const plat::TRect a = grid->ClientAreaInWindow();
        plat::TRect box{r.Right, r.Bottom, r.Left, r.Top};
        bool any = false;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pt::PixelOf(bmp, x + a.Left, y + a.Top) == c) {
                    any = true;
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return any ? box : plat::TRect{};
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

TEST_F(RichTextCellTest, InsetByXYOffsetOnEverySide) {
    // Enough text to overflow the cell both ways: the clip shows the inset at the right and
    // the bottom, the first glyph at the left and top.
    // A first word wider than the cell runs into the right edge.
    String long_ = u"WWWWWWWWWWWWWWWWWWWWWWWW ";
    for (int i = 0; i < 30; ++i) long_ += u"WWWW ";
    grid->SetCells(1, 1, u"{\\rtf1" + kRed + u"\\fs24 " + long_ + u"}");
    const plat::TRect cell = grid->CellRect(1, 1);
    struct Case {
        TPoint offset;
    };
    plat::TRect at0;
    for (const Case& c : {Case{{0, 0}}, Case{{2, 5}}}) {
        SCOPED_TRACE(std::to_string(c.offset.X) + "," + std::to_string(c.offset.Y));
        grid->SetXYOffset(c.offset);
        const auto bmp = Render("rich_xyoffset_" + std::to_string(c.offset.Y));
        const plat::TRect ink = InkOf(*bmp, cell, plat::clRed);
        ASSERT_FALSE(ink.Right == 0) << "no rich text drawn";
        EXPECT_LE(ink.Right, cell.Right - c.offset.X);
        EXPECT_LE(ink.Bottom, cell.Bottom - c.offset.Y);
        // The clip is reached: a line runs into the right edge and lines fill the bottom.
        EXPECT_GE(ink.Right, cell.Right - c.offset.X - 2);
        EXPECT_GE(ink.Bottom, cell.Bottom - c.offset.Y - 6);
        if (c.offset.X == 0) {
            at0 = ink;
        } else {
            EXPECT_EQ(ink.Left - at0.Left, 2);
            EXPECT_EQ(ink.Top - at0.Top, 5);
        }
    }
}

TEST_F(RichTextCellTest, NonLatinTextStaysIntact) {
    struct Case {
        const char* name;
        String cell;
    };
    const String privet = u"\u041F\u0440\u0438\u0432\u0435\u0442";
    const Case cases[] = {
        {"UTF-16 in the cell", u"{\\rtf1" + kRed + privet + u"}"},
        {"Unicode escapes", u"{\\rtf1" + kRed + u"\\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?}"},
        {"Windows-1251 bytes", u"{\\rtf1\\ansi\\ansicpg1251" + kRed + u"\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(1, 1, c.cell);
        plat::TRichEdit re(nullptr);
        grid->CellToRich(1, 1, &re);
        EXPECT_EQ(plat::StringToUtf8(re.Text()), plat::StringToUtf8(privet));
        const auto bmp = Render("rich_cyrillic");
        const plat::TRect ink = InkOf(*bmp, grid->CellRect(1, 1), plat::clRed);
        // The drawn word is as wide as the word in the rich text's font (10 points, Arial).
        plat::TBitmap probe(10, 10);
        probe.Canvas()->Font()->SetName(u"Arial");
        probe.Canvas()->Font()->SetSize(12);
        EXPECT_NEAR(ink.Width(), probe.Canvas()->TextWidth(privet), 3);
    }
    // An empty cell clears the rich edit.
    plat::TRichEdit re(nullptr);
    re.SetText(u"old");
    grid->SetCells(2, 2, u"");
    grid->CellToRich(2, 2, &re);
    EXPECT_TRUE(re.Text().empty());
}

TEST_F(RichTextCellTest, SelectedCellTakesTheSelectionTextColour) {
    grid->SetCells(1, 1, u"{\\rtf1" + kRed + u"\\fs28 WWW}");
    grid->SetSelection({1, 1, 2, 1});
    grid->SetSelectionTextColor(plat::RGB(0, 160, 0));
    struct Case {
        bool keep;
        TColor ink;
    };
    for (const Case& c : {Case{false, plat::RGB(0, 160, 0)}, Case{true, plat::clRed}}) {
        SCOPED_TRACE(c.keep ? "SelectionRTFKeep" : "recoloured");
        grid->SelectionRTFKeep = c.keep;
        const auto bmp = Render("rich_selected");
        EXPECT_FALSE(InkOf(*bmp, grid->CellRect(1, 1), c.ink).Right == 0);
        EXPECT_TRUE(InkOf(*bmp, grid->CellRect(1, 1), c.keep ? plat::RGB(0, 160, 0) : plat::clRed).Right == 0);
    }
}

TEST_F(RichTextCellTest, CellTextSizeIsWhatTheRichTextRequests) {
    grid->SetCells(1, 1, u"{\\rtf1\\fs20 {\\b Bo} x\\par second line}");
    plat::TBitmap probe(10, 10);
    plat::TCanvas* pc = probe.Canvas();
    pc->Font()->SetName(u"Arial");
    pc->Font()->SetSize(10);
    const int plainW = pc->TextWidth(u"second line");
    const int lineH = pc->TextHeight(u"g");
    struct Case {
        bool wrapEx;
        int width, height;
    };
    // Without WordWrapEx the widest line; with it the cell's width less the offsets.
    const Case cases[] = {{false, plainW, 2 * lineH + 4}, {true, 120 - 4, 2 * lineH + 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wrapEx ? "WordWrapEx" : "no wrap");
        grid->WordWrapEx = c.wrapEx;
        const TPoint s = grid->GetCellTextSize(1, 1, false, false);
        EXPECT_EQ(s.X, c.width);
        EXPECT_EQ(s.Y, c.height);
    }
}

} // namespace
