// Presses on the grid's cell controls through the real event path: cell and expand buttons
// held from press to release, node glyphs, ratings, radio groups and radio buttons, Ctrl
// presses of disjunct row selection and markup CHECK, RADIO and BUTTON controls. Every test
// runs once with real column 1 hidden, so that shown and real indexes differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../GridFixture.h"
#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "plat/Classes.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;
using plat::TPoint;

namespace {

class GridMouseControlsTest : public grid::testing::GridFixture<TExtStringGrid>,
                              public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 560, 420);
        Fill(6, 10);
        for (int r = 0; r < 10; ++r) grid->SetRowHeights(r, 24);
        for (int c = 0; c < 6; ++c) grid->SetColWidths(c, 80);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goEditing).Include(plat::goRangeSelect);
        grid->SetOptions(o);
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    plat::TRect Cell(int real, int row) { return grid->CellRect(D(real), row); }
    void Click(TPoint p, plat::TShiftState shift = 0) { pt::Click(grid, p.X, p.Y, plat::mbLeft, shift); }
    void Paint() {
        grid->Repaint();
        pt::ProcessEvents();
    }
    std::vector<std::string> log;
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridMouseControlsTest, ::testing::Bool());

TEST_P(GridMouseControlsTest, ACellButtonClicksOnlyWhenPressedAndReleasedOnIt) {
    grid->AddButton(3, 4, 30, 18, u"Go", haBeforeText, vaCenter);
    Paint();
    grid->OnButtonClick = [&](plat::TObject*, int ACol, int ARow) {
        log.push_back("button " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    grid->OnClickCell = [&](plat::TObject*, int ARow, int ACol) {
        log.push_back("click " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    const plat::TRect b = grid->GetGraphicRect(D(3), 4);
    ASSERT_GT(b.Width(), 0);
    const TPoint on{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
    pt::Press(grid, on.X, on.Y);
    EXPECT_EQ(grid->PushedCellButton(), (TPoint{D(3), 4}));
    EXPECT_EQ(log, (std::vector<std::string>{"click " + std::to_string(D(3)) + ",4"})) << "the shown column";
    pt::Release(grid, on.X, on.Y);
    EXPECT_EQ(grid->PushedCellButton(), (TPoint{-1, -1}));
    EXPECT_EQ(log.back(), "button 3,4") << "the real column";
    // Pressed on the button, released off it: no click, the button is up again.
    log.clear();
    pt::Press(grid, on.X, on.Y);
    const plat::TRect c = Cell(5, 7);
    pt::Release(grid, c.Left + 10, c.Top + 10);
    EXPECT_EQ(log, (std::vector<std::string>{"click " + std::to_string(D(3)) + ",4"}));
    EXPECT_EQ(grid->PushedCellButton(), (TPoint{-1, -1}));
    EXPECT_EQ(grid->Cells(5, 7), u"5:7") << "no editing began";
}

TEST_P(GridMouseControlsTest, AnExpandButtonTogglesItsRowHeight) {
    grid->AddExpand(4, 3, 60);
    Paint();
    std::vector<bool> states;
    grid->OnExpandClick = [&](plat::TObject*, int, int, bool Expanded) { states.push_back(Expanded); };
    const plat::TRect e = grid->GetExpandRect(D(4), 3);
    Click({(e.Left + e.Right) / 2, (e.Top + e.Bottom) / 2});
    EXPECT_EQ(states, std::vector<bool>{true});
    EXPECT_EQ(grid->RowHeights(3), 60);
    const plat::TRect e2 = grid->GetExpandRect(D(4), 3);
    Click({(e2.Left + e2.Right) / 2, (e2.Top + e2.Bottom) / 2});
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    EXPECT_EQ(grid->RowHeights(3), 24);
}

TEST_P(GridMouseControlsTest, ARatingProposesHalfAUnitPerNinePixels) {
    grid->SetColWidths(D(3), 120);
    grid->AddRating(3, 2, 5, plat::clYellow, plat::clGray);
    Paint();
    struct Case {
        int dx;
        bool allow;
        double proposed;
        double stored;
    };
    grid->SetCells(3, 2, u"4");
    const Case cases[] = {{45, true, 2.5, 2.5}, {8, true, 0.0, 0.0}, {20, false, 1.0, 0.0}, {27, true, 1.5, 1.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        double seen = -1;
        int seenCol = -1;
        grid->OnRatingChange = [&](plat::TObject*, int ACol, int, double& NewRate, bool& Allow) {
            seen = NewRate;
            seenCol = ACol;
            Allow = c.allow;
        };
        const plat::TRect r = Cell(3, 2);
        Click({r.Left + c.dx, r.Top + 5});
        EXPECT_DOUBLE_EQ(seen, c.proposed);
        EXPECT_EQ(seenCol, 3);
        EXPECT_DOUBLE_EQ(grid->Floats(3, 2), c.stored);
    }
    // Not editable: nothing proposed.
    grid->SetReadOnly(3, 2, true);
    bool asked = false;
    grid->OnRatingChange = [&](plat::TObject*, int, int, double&, bool&) { asked = true; };
    const plat::TRect r = Cell(3, 2);
    Click({r.Left + 40, r.Top + 5});
    EXPECT_FALSE(asked);
}

TEST_P(GridMouseControlsTest, AClickOnARadioItemChoosesItByItsSpan) {
    grid->SetColWidths(D(3), 200);
    grid->SetRowHeights(5, 80);
    plat::TStrings* h = grid->CreateRadio(3, 2, 1, 0);
    h->Add(u"one");
    h->Add(u"two");
    h->Add(u"three");
    plat::TStrings* v = grid->CreateRadio(3, 5, 0, 0);
    v->Add(u"a");
    v->Add(u"b");
    v->Add(u"c");
    Paint();
    std::vector<std::string> clicks;
    grid->OnRadioClick = [&](plat::TObject*, int ACol, int ARow, int AIdx) {
        clicks.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + ":" + std::to_string(AIdx));
    };
    grid->Canvas()->Font()->Assign(*grid->Font());
    const int spacing = grid->ControlLook()->ControlStyle == csClassic || grid->ControlLook()->ControlStyle == csFlat
                            ? grid->ControlLook()->RadioSize
                            : 16;
    const int first = grid->Canvas()->TextWidth(u"one") + spacing;
    const int band = std::max(spacing, grid->Canvas()->TextHeight(u"gh"));
    struct Case {
        const char* name;
        int row, dx, dy, index;
    };
    const Case cases[] = {
        {"side by side, just past the first item", 2, first + 1, 5, 1},
        {"side by side, inside the first item", 2, first - 2, 5, 0},
        {"stacked, third band", 5, 5, 2 * band + 1, 2},
        {"stacked, second band", 5, 5, band + 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicks.clear();
        const plat::TRect r = Cell(3, c.row);
        Click({r.Left + c.dx, r.Top + c.dy});
        int index = -1;
        EXPECT_TRUE(grid->GetRadioIdx(3, c.row, index));
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(clicks, std::vector<std::string>{"3," + std::to_string(c.row) + ":" + std::to_string(c.index)});
        EXPECT_EQ(grid->Row(), c.row);
        EXPECT_EQ(grid->Col(), D(3));
    }
}

TEST_P(GridMouseControlsTest, ARadioButtonColumnKeepsOneSelectedRow) {
    grid->MouseActions()->PreciseCheckBoxCheck = false;
    grid->AddRadioButtonColumn(4);
    grid->SetRadioButtonState(4, 2, true);
    std::vector<std::string> clicks;
    grid->OnRadioButtonClick = [&](plat::TObject*, int ACol, int ARow) {
        clicks.push_back(std::to_string(ACol) + "," + std::to_string(ARow));
    };
    const plat::TRect r = Cell(4, 6);
    Click({r.Left + 6, r.Top + 6});
    EXPECT_TRUE(grid->IsRadioButtonChecked(4, 6));
    EXPECT_FALSE(grid->IsRadioButtonChecked(4, 2));
    EXPECT_EQ(clicks, std::vector<std::string>{"4,6"});
}

TEST_P(GridMouseControlsTest, ANodeGlyphContractsAndExpandsItsNodeUnlessRefused) {
    grid->AddNode(2, 4);
    Paint();
    std::vector<std::string> seen;
    bool allow = true;
    grid->OnBeforeContractNode = [&](plat::TObject*, int ARow, int ARowReal, bool& Allow) {
        seen.push_back("before contract " + std::to_string(ARow) + "/" + std::to_string(ARowReal));
        Allow = allow;
    };
    grid->OnContractNode = [&](plat::TObject*, int ARow, int) { seen.push_back("contract " + std::to_string(ARow)); };
    grid->OnExpandNode = [&](plat::TObject*, int ARow, int) { seen.push_back("expand " + std::to_string(ARow)); };
    grid->OnClickCell = [&](plat::TObject*, int ARow, int ACol) {
        seen.push_back("click " + std::to_string(ACol) + "," + std::to_string(ARow));
    };
    const int rows = grid->RowCount();
    // Find a point on the glyph: IsNodeButtonHit decides within the cell.
    const plat::TRect r = grid->CellRect(0, 2);
    int x = -1;
    for (int dx = 0; dx < r.Width() && x < 0; ++dx)
        if (grid->IsNodeButtonHit(2, dx) && grid->IsNodeButtonHit(2, dx + 2)) x = r.Left + dx + 1;
    ASSERT_GE(x, 0);
    allow = false;
    Click({x, r.Top + r.Height() / 2});
    EXPECT_EQ(seen, (std::vector<std::string>{"click 0,2", "before contract 2/2"}));
    EXPECT_FALSE(grid->GetNodeState(2));
    EXPECT_EQ(grid->RowCount(), rows);
    seen.clear();
    allow = true;
    Click({x, r.Top + r.Height() / 2});
    EXPECT_EQ(seen, (std::vector<std::string>{"click 0,2", "before contract 2/2", "contract 2"}));
    EXPECT_TRUE(grid->GetNodeState(2));
    EXPECT_EQ(grid->RowCount(), rows - 3);
    seen.clear();
    Click({x, r.Top + r.Height() / 2});
    EXPECT_EQ(seen, (std::vector<std::string>{"click 0,2", "expand 2"}));
    EXPECT_EQ(grid->RowCount(), rows);
}

TEST_P(GridMouseControlsTest, CtrlClicksMarkAndUnmarkDisjunctRows) {
    grid->MouseActions()->SetDisjunctRowSelect(true);
    plat::TGridOptions o = grid->Options();
    o.Exclude(plat::goEditing);
    grid->SetOptions(o);
    auto marked = [&] {
        std::vector<int> rows;
        for (int r = 1; r < grid->RowCount(); ++r)
            if (grid->GetRowSelect(r)) rows.push_back(r);
        return rows;
    };
    const plat::TRect a = Cell(2, 2), b = Cell(3, 5), c = Cell(4, 7);
    Click({a.Left + 10, a.Top + 10});
    EXPECT_EQ(marked(), std::vector<int>{2});
    Click({b.Left + 10, b.Top + 10}, plat::ssCtrl);
    EXPECT_EQ(marked(), (std::vector<int>{2, 5}));
    Click({c.Left + 10, c.Top + 10}, plat::ssCtrl);
    EXPECT_EQ(marked(), (std::vector<int>{2, 5, 7}));
    // Ctrl on a marked row unmarks it.
    Click({b.Left + 10, b.Top + 10}, plat::ssCtrl);
    EXPECT_EQ(marked(), (std::vector<int>{2, 7}));
    // A plain click starts over.
    Click({b.Left + 10, b.Top + 10});
    EXPECT_EQ(marked(), std::vector<int>{5});
}

TEST_P(GridMouseControlsTest, MarkupControlsToggleInTheCellText) {
    struct Case {
        const char* name;
        String text;
        String id;
        bool editable;
        String value;  // expected value of control id after the click, empty: unchanged text
        std::string clicked;
    };
    const String check = u"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"20\"> on";
    const String radios =
        u"<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\"> a <CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"20\"> b";
    const Case cases[] = {
        {"check", check, u"c1", true, u"TRUE", "c1 CHECK TRUE"},
        {"check read-only", check, u"c1", false, String(), ""},
        {"radio", radios, u"r2", true, u"TRUE", "r2 RADIO TRUE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetReadOnly(3, 3, !c.editable);
        grid->SetColWidths(D(3), 200);
        grid->SetCells(3, 3, c.text);
        Paint();
        std::vector<std::string> clicks;
        grid->OnControlClick = [&](plat::TObject*, int ARow, int ACol, const String& ID, const String& Type,
                                   const String& Val) {
            clicks.push_back(plat::StringToUtf8(ID) + " " + plat::StringToUtf8(Type) + " " + plat::StringToUtf8(Val));
            EXPECT_EQ(ARow, 3);
            EXPECT_EQ(ACol, D(3));
        };
        // Find the control by hit-testing across the cell's first line.
        const plat::TRect r = Cell(3, 3);
        bool hit = false;
        for (int x = r.Left + 2; x < r.Right - 2 && !hit; x += 2) {
            plat::TBitmap scratch(r.Width(), r.Height());
            scratch.Canvas()->Font()->Assign(*grid->Font());
            TMarkupDrawInput in;
            in.Canvas = scratch.Canvas();
            in.Text = c.text;
            in.Rect = plat::Rect(grid->XYOffset().X + 1, grid->XYOffset().Y + 1, r.Width() - grid->XYOffset().X, r.Height());
            in.XPos = x - r.Left;
            in.YPos = 9;
            TMarkupDrawResult out;
            if (DrawMarkupText(in, out) && out.AnchorVal == u"ctrl" && out.ControlID == c.id) {
                Click({x, r.Top + 9});
                hit = true;
            }
        }
        ASSERT_TRUE(hit);
        if (c.value.empty()) {
            EXPECT_EQ(grid->Cells(3, 3), c.text);
            EXPECT_TRUE(clicks.empty());
        } else {
            String value;
            ASSERT_TRUE(GetMarkupControlValue(grid->Cells(3, 3), c.id, value));
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(clicks, std::vector<std::string>{c.clicked});
        }
    }
    // The other radio of the cell was switched off.
    String first;
    ASSERT_TRUE(GetMarkupControlValue(grid->Cells(3, 3), u"r1", first));
    EXPECT_EQ(first, u"FALSE");
}

} // namespace
