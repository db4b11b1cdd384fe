#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CellPaint.h"
#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

constexpr TColor kColumnColor = 0x00C0FF;  // orange-ish column
constexpr TColor kHover = 0xE0FFE0;
constexpr TColor kActiveHead = 0x40C040;
// The default header gradient (white to the button face) five pixels below the top.
constexpr TColor kGradientAt5 = 0xFBFBFB;

// Five columns (one fixed), seven rows (one fixed header row); column 3 has its own colour,
// rows 2..3 of columns 1..2 are selected, the current cell is (2, 3), row 6 is hovered and
// (3, 4)..(4, 5) is merged with a cell colour.
class CellPaintTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 400);
        grid = new TExtColumnGrid(form.get());
        grid->SetParent(form.get());
        grid->SetColCount(5);
        grid->SetRowCount(7);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetBounds(0, 0, 460, 200);
        painter = InstallCellPainter(*grid);
        const char16_t* heads[] = {u"", u"Topic", u"QoS", u"Colour", u"Position"};
        for (int i = 1; i < 5; ++i) grid->Columns()->Items(i)->SetHeader(heads[i]);
        grid->Columns()->Items(3)->SetColor(kColumnColor);
        for (int r = 1; r < 7; ++r) {
            grid->SetCells(0, r, plat::IntToStr(r));
            grid->SetCells(1, r, u"plant/line" + plat::IntToStr(r));
        }
        grid->SetSelection({1, 2, 2, 3});
        grid->SetCol(2);
        grid->SetRow(3);
        grid->SetSelection({1, 2, 2, 3});
        grid->HoverRow = true;
        grid->HoverRowColor = kHover;
        grid->SetHoverRowIdx(6);
        grid->MergeCells(3, 4, 2, 2);
        grid->GetCellProperties(3, 4)->SetBrushColor(plat::clAqua);
        grid->SetCells(3, 4, u"merged");
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TBitmap> Render(const char* png) {
        form->Show();
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        pt::SaveGrab(grid, plat::Utf8ToString(std::string(TEST_BINARY_DIR) + "/" + png));
        return pt::Grab(grid);
    }
    // The grab holds the grid's window frame around its client area.
    int Frame() const { return (grid->Width() - grid->ClientWidth()) / 2; }
    // A pixel of the grab at client coordinates.
    TColor At(const plat::TBitmap& bmp, int x, int y) const { return pt::PixelOf(bmp, x + Frame(), y + Frame()); }
    // A pixel near the cell's top-right corner, away from left-aligned text and the lines.
    TColor Probe(const plat::TBitmap& bmp, int ACol, int ARow, int dx = 8, int dy = 5) {
        const plat::TRect r = grid->CellRect(ACol, ARow);
        return At(bmp, r.Right - dx, r.Top + dy);
    }
    std::unique_ptr<plat::TForm> form;
    TExtColumnGrid* grid = nullptr;
    TGridPainter* painter = nullptr;
};

TEST_F(CellPaintTest, BackgroundsOfTheCellKinds) {
    grid->ActiveCellShow = true;
    grid->ActiveCellColor = kActiveHead;
    const TColor selMix = SelectionMixColor(true, 50, grid->SelectionColor, kColumnColor);
    painter->SelectionColorMixer = true;
    grid->SetSelection({1, 2, 3, 3});
    auto bmp = Render("cell_paint.png");
    struct Case {
        const char* what;
        int col, row;
        TColor expected;
    } cases[] = {
        {"plain normal cell takes the grid colour", 1, 1, plat::ColorToRGB(grid->Color())},
        {"column colour", 3, 1, kColumnColor},
        {"selected plain cell takes the selection colour", 1, 2, grid->SelectionColor},
        {"selected coloured cell mixes selection and column colour", 3, 2, selMix},
        {"hovered row", 1, 6, kHover},
        {"hovered row over a column colour", 3, 6, kHover},
        {"merged area takes its base cell's colour, also in its other cells", 4, 5, plat::clAqua},
        {"row header of the current cell", 0, grid->Row(), kActiveHead},
        {"column header of the current cell", grid->Col(), 0, kActiveHead},
        {"top-left corner is no header of the current cell", 0, 0, kGradientAt5},
        {"other column header is the fixed gradient", 1, 0, kGradientAt5},
        {"other row header is the fixed gradient", 0, 1, kGradientAt5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Probe(*bmp, c.col, c.row), c.expected) << c.what;
    }
    // The fixed gradient ends near the button face at the cell's bottom.
    const plat::TRect head = grid->CellRect(1, 0);
    EXPECT_EQ(At(*bmp, head.Right - 8, head.Top), plat::clWhite) << "the header gradient starts in white";
    EXPECT_EQ(At(*bmp, head.Right - 8, head.Bottom - 3), plat::ColorToRGB(plat::clBtnFace))
        << "and ends in the button face";
}

TEST_F(CellPaintTest, GridLinesAndFixedEdges) {
    plat::TGridOptions o = grid->Options();
    o.Include(plat::goFixedHorzLine).Include(plat::goFixedVertLine).Include(plat::goHorzLine).Include(plat::goVertLine);
    grid->SetOptions(o);
    auto bmp = Render("cell_paint_lines.png");
    const plat::TRect normal = grid->CellRect(1, 1);
    EXPECT_EQ(At(*bmp, normal.Right - 1, normal.Top + 5), plat::ColorToRGB(grid->GridLineColor()))
        << "right grid line of a normal cell";
    EXPECT_EQ(At(*bmp, normal.Left + 5, normal.Bottom - 1), plat::ColorToRGB(grid->GridLineColor()))
        << "bottom grid line of a normal cell";
    const plat::TRect head = grid->CellRect(2, 0);
    // XP look: a white edge along the top inside the header and a half-tone line above the
    // fixed grid line at the bottom.
    EXPECT_EQ(At(*bmp, head.Left + 6, head.Top + 1), plat::clWhite) << "light top edge of a header";
    const TColor ft = plat::ColorToRGB(grid->FixedColor());
    const TColor half = plat::RGB(plat::GetRValue(ft) / 2, plat::GetGValue(ft) / 2, plat::GetBValue(ft) / 2);
    EXPECT_EQ(At(*bmp, head.Left + 6, head.Bottom - 2), half) << "half-tone bottom edge of a header";
}

TEST_F(CellPaintTest, HoveredFixedCellTakesHoverSetThenPressedSet) {
    painter->HoverFixedCells = hfAll;
    painter->HoverFixedX = 1;
    painter->HoverFixedY = 0;
    painter->ZODGradientHoverFrom = painter->ZODGradientHoverTo = plat::clYellow;
    painter->ZODGradientDownFrom = painter->ZODGradientDownTo = plat::clFuchsia;
    auto up = Render("cell_paint_hover.png");
    EXPECT_EQ(Probe(*up, 1, 0), plat::clYellow) << "hover set with the mouse up";
    EXPECT_EQ(Probe(*up, 2, 0), kGradientAt5) << "a header not under the mouse";
    painter->MouseDownMove = true;
    auto down = Render("cell_paint_pressed.png");
    EXPECT_EQ(Probe(*down, 1, 0), plat::clFuchsia) << "pressed set while the mouse is held";
    painter->HoverFixedCells = hfFixedColumns;
    auto notAllowed = Render("cell_paint_hover_cols.png");
    EXPECT_EQ(Probe(*notAllowed, 1, 0), kGradientAt5) << "row headers do not hover when only fixed columns do";
}

TEST_F(CellPaintTest, SortedColumnHeaderTakesTheSortColours) {
    grid->SortSettings()->Column = 2;
    grid->SortSettings()->SetHeaderColor(plat::clLime);
    grid->SortSettings()->SetHeaderColorTo(plat::clLime);
    auto bmp = Render("cell_paint_sorted.png");
    EXPECT_EQ(Probe(*bmp, 2, 0), plat::clLime) << "header of the sort column";
    EXPECT_EQ(Probe(*bmp, 1, 0), kGradientAt5) << "other headers";
    EXPECT_NE(Probe(*bmp, 2, 1), plat::clLime) << "cells of the sort column";
    // A hovered header shows the hover look even when it is the sort column.
    painter->HoverFixedCells = hfAll;
    painter->HoverFixedX = 2;
    painter->HoverFixedY = 0;
    painter->ZODGradientHoverFrom = painter->ZODGradientHoverTo = plat::clYellow;
    auto hovered = Render("cell_paint_sorted_hover.png");
    EXPECT_EQ(Probe(*hovered, 2, 0), plat::clYellow);
}

TEST_F(CellPaintTest, HoverRowCoversFixedCellOnlyWithFixedInHoverCells) {
    grid->HoverRowCells = THoverRowCells{hcNormal};
    auto without = Render("cell_paint_hover_row.png");
    EXPECT_EQ(Probe(*without, 0, 6), kGradientAt5) << "fixed cell of the hovered row keeps its look";
    grid->HoverRowCells = THoverRowCells{hcNormal, hcFixed};
    auto with = Render("cell_paint_hover_row_fixed.png");
    EXPECT_EQ(Probe(*with, 0, 6), kHover) << "fixed cell painted like the row's normal cells";
}

TEST_F(CellPaintTest, ClassicLookPaintsFixedCellsFlatInTheirColour) {
    grid->SetLook(glClassic);
    grid->SetFixedColor(plat::clSilver);
    auto bmp = Render("cell_paint_classic.png");
    EXPECT_EQ(Probe(*bmp, 1, 0, 6, 6), plat::clSilver);
    EXPECT_EQ(Probe(*bmp, 0, 2, 6, 6), plat::clSilver);
}

TEST_F(CellPaintTest, ModifiedRowMarker) {
    painter->ShowModified.Enabled = true;
    painter->ShowModified.Color = plat::clRed;
    grid->ModifiedRows()->Add(4);
    auto bmp = Render("cell_paint_modified.png");
    const plat::TRect r = grid->CellRect(0, 4);
    EXPECT_EQ(At(*bmp, r.Right - 4, r.Top + 6), plat::clRed) << "marker at the right of column 0";
    const plat::TRect other = grid->CellRect(0, 2);
    EXPECT_NE(At(*bmp, other.Right - 4, other.Top + 6), plat::clRed) << "unmodified row";
}

TEST_F(CellPaintTest, CellBordersDrawInsideTheGridLines) {
    grid->OnGetCellBorder = [](plat::TObject*, int ARow, int ACol, plat::TPen* APen, TCellBorders& Borders) {
        if (ARow == 4 && ACol == 2) {
            APen->SetColor(plat::clBlue);
            APen->SetWidth(1);
            Borders = TCellBorders{cbTop, cbLeft, cbRight, cbBottom};
        }
    };
    auto bmp = Render("cell_paint_borders.png");
    const plat::TRect r = grid->CellRect(2, 4);
    const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    struct Case {
        const char* side;
        int x, y;
    } cases[] = {
        {"left", r.Left + 1, midY},
        {"right", r.Right - 3, midY},
        {"top", midX, r.Top},
        {"bottom", midX, r.Bottom - 3},
    };
    for (const Case& c : cases) {
        bool found = false;
        for (int d = -1; d <= 1 && !found; ++d)
            for (int e = -1; e <= 1 && !found; ++e) found = At(*bmp, c.x + d, c.y + e) == plat::clBlue;
        EXPECT_TRUE(found) << c.side;
    }
    EXPECT_NE(Probe(*bmp, 2, 4, 8, 8), plat::clBlue) << "inside stays free";
}

struct MixCase {
    bool mixer;
    int factor;
    TColor sel, cell, expected;
};

TEST(SelectionMixColorTest, Table) {
    const MixCase cases[] = {
        {false, 50, 0x0000FF, 0xFF0000, 0x0000FF},
        {true, 100, 0x0000FF, 0xFF0000, 0x0000FF},
        {true, 0, 0x0000FF, 0xFF0000, 0xFF0000},
        {true, 50, plat::clNone, 0xFF0000, 0xFF0000},
        {true, 50, 0x0000FF, plat::clNone, 0x0000FF},
        // 127.5 rounds to the even 128; 0.5 rounds to 0.
        {true, 50, 0x0000FF, 0xFF0000, 0x800080},
        {true, 50, 0x000001, 0x000000, 0x000000},
        {true, 50, 0x000003, 0x000000, 0x000002},
        {true, 25, 0x000064, 0x0000C8, 0x0000AF},
    };
    for (const MixCase& c : cases)
        EXPECT_EQ(SelectionMixColor(c.mixer, c.factor, c.sel, c.cell), c.expected)
            << "mixer " << c.mixer << " factor " << c.factor << " sel " << std::hex << c.sel;
}

// Dotted pixels along the inner left edge of the current cell: the focus rectangle.
TEST_F(CellPaintTest, FocusRectangleOnlyOnAFocusedNormalCurrentCell) {
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 300, 100, 24);
    struct Case {
        const char* what;
        bool focus, hide, rowSelect;
        int col, row;
        bool drawn;
    } cases[] = {
        {"focused grid, normal current cell", true, false, false, 2, 3, true},
        {"grid without the input focus", false, false, false, 2, 3, false},
        {"focus rectangle hidden", true, true, false, 2, 3, false},
        {"row selection", true, false, true, 2, 3, false},
        {"merged current cell frames the whole area", true, false, false, 3, 4, true},
    };
    form->Show();
    for (const Case& c : cases) {
        painter->HideFocusRect = c.hide;
        plat::TGridOptions o = grid->Options();
        c.rowSelect ? o.Include(plat::goRowSelect) : o.Exclude(plat::goRowSelect);
        grid->SetOptions(o);
        grid->SetCol(c.col);
        grid->SetRow(c.row);
        c.focus ? grid->SetFocus() : other->SetFocus();
        pt::ProcessEvents();
        ASSERT_EQ(grid->Focused(), c.focus) << c.what;
        auto bmp = Render("cell_paint_focus.png");
        const plat::TRect r = grid->CellRect(c.col, c.row);
        const TColor bg = At(*bmp, r.Left + 6, r.Bottom - 4);
        int marks = 0;
        for (int y = r.Top + 3; y < r.Bottom - 3; ++y) marks += At(*bmp, r.Left + 1, y) != bg;
        EXPECT_EQ(marks > 0, c.drawn) << c.what;
        if (c.drawn) {
            // The frame reaches the far edge of a merged area.
            int far = 0;
            for (int y = r.Top + 3; y < r.Bottom - 3; ++y) far += At(*bmp, r.Right - 3, y) != bg;
            EXPECT_GT(far, 0) << c.what;
        }
    }
}

// On the string grid itself: the column grid's columns decide their cells' alignment.
class AutoNumAlignTest : public pt::UiTest {};

TEST_F(AutoNumAlignTest, NumbersRightAlign) {
    auto owned = std::make_unique<TExtStringGrid>(nullptr);
    TExtStringGrid* grid = owned.get();
    grid->SetColCount(4);
    grid->SetRowCount(3);
    TGridPainter* painter = InstallCellPainter(*grid);
    painter->AutoNumAlign = true;
    struct Case {
        const char16_t* text;
        bool ownAlignment;
        plat::TAlignment expected;
    } cases[] = {
        {u"  42  ", false, plat::taRightJustify},
        {u"3.25", false, plat::taRightJustify},
        {u"1.5E3", false, plat::taRightJustify},
        {u"-7", false, plat::taRightJustify},
        {u"12a", false, plat::taLeftJustify},
        {u"", false, plat::taLeftJustify},
        {u"plant", false, plat::taLeftJustify},
        {u"42", true, plat::taCenter},
    };
    for (const Case& c : cases) {
        grid->SetCells(2, 1, c.text);
        if (c.ownAlignment) grid->GetCellProperties(2, 1)->Alignment = plat::taCenter;
        plat::TAlignment ha;
        TVAlignment va;
        painter->GetCellHVAlignment(*grid, 2, 1, ha, va);
        EXPECT_EQ(ha, c.expected) << plat::StringToUtf8(c.text);
    }
    painter->AutoNumAlign = false;
    grid->ClearAllCellProperties();
    grid->SetCells(2, 1, u"42");
    plat::TAlignment ha;
    TVAlignment va;
    painter->GetCellHVAlignment(*grid, 2, 1, ha, va);
    EXPECT_EQ(ha, plat::taLeftJustify) << "numbers keep the default alignment without AutoNumAlign";
}

TEST_F(CellPaintTest, DrawCellEventGetsTheRealCellAndTheInnerRectangle) {
    struct Call {
        int col, row;
        plat::TRect rect;
        plat::TGridDrawState state;
    };
    std::vector<Call> calls;
    grid->OnDrawCell = [&](plat::TObject*, int ACol, int ARow, plat::TRect R, plat::TGridDrawState S) {
        calls.push_back({ACol, ARow, R, S});
    };
    Render("cell_paint_event.png");
    auto find = [&](int c, int r) -> const Call* {
        for (const Call& x : calls)
            if (x.col == c && x.row == r) return &x;
        return nullptr;
    };
    const Call* normal = find(1, 1);
    ASSERT_NE(normal, nullptr);
    const plat::TRect cr = grid->CellRect(1, 1);
    EXPECT_EQ(normal->rect, (plat::TRect{cr.Left + 2, cr.Top + 2, cr.Right - 2, cr.Bottom - 2}));
    const Call* head = find(1, 0);
    ASSERT_NE(head, nullptr);
    EXPECT_TRUE(head->state.Contains(plat::gdFixed));
    EXPECT_EQ(find(4, 5), nullptr) << "a merged area is handed over once, from its base cell";
    EXPECT_NE(find(3, 4), nullptr);
}

} // namespace
