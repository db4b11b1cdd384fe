// The search footer panel and the filter drop-down lists through the real event path: the
// panel's layout and its buttons enabled by the edit's text, typing that finds and Enter that
// finds the next match, highlighting and closing; a column's filter button opening and
// closing its plain list or check list, picking by Enter and by click, checking and a click
// outside. Every event test runs once with real column 1 hidden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "GridFilterList.h"
#include "GridScrollControl.h"
#include "GridSearchPanel.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;
using plat::TPoint;

namespace {

class GridSearchPanelTest : public grid::testing::GridFixture<TExtStringGrid>,
                            public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 580, 400);
        Fill(6, 30);
        for (int r = 0; r < 30; ++r) grid->SetRowHeights(r, 20);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        const char16_t* names[] = {u"alpha", u"beta", u"gamma", u"delta", u"alpha beta"};
        for (int r = 1; r < 30; ++r) grid->SetCells(3, r, names[r % 5]);
        grid->SetCells(4, 27, u"needle");
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    TSearchPanel* ShowFooter() {
        grid->SearchFooter()->SetVisible(true);
        pt::ProcessEvents();
        return grid->SearchPanel();
    }
    void ClickControl(plat::TControl* c) { pt::Click(c, c->Width() / 2, c->Height() / 2); }
    // The grid with its panel or list as a picture, on request only.
    void Picture(const std::string& name) {
        if (const char* dir = std::getenv("TEST_PICTURES")) {
            grid->Repaint();
            pt::ProcessEvents();
            pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + name + (GetParam() ? "-hidden" : "") + ".png"));
        }
    }
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridSearchPanelTest, ::testing::Bool());

// The buttons carry the program's own glyphs: arrows for find next and previous, a cross for
// close (with hot and down pictures), a marker for highlight, each with its disabled picture.
TEST_P(GridSearchPanelTest, ButtonsCarryTheirGlyphs) {
    TSearchPanel* p = ShowFooter();
    struct Case {
        const char* name;
        plat::TBitmap* glyph;
        int size;
    };
    const Case cases[] = {
        {"find next", p->ForwardButton()->Glyph(), 16},        {"find next, disabled", p->ForwardButton()->GlyphDisabled(), 16},
        {"find previous", p->BackwardButton()->Glyph(), 16},   {"find previous, disabled", p->BackwardButton()->GlyphDisabled(), 16},
        {"close", p->ExitButton()->Glyph(), 14},               {"close, hot", p->ExitButton()->GlyphHot(), 14},
        {"close, down", p->ExitButton()->GlyphDown(), 14},     {"highlight", p->HiliteButton()->Glyph(), 16},
        {"highlight, disabled", p->HiliteButton()->GlyphDisabled(), 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.glyph->Empty());
        EXPECT_EQ(c.glyph->Width(), c.size);
        EXPECT_EQ(c.glyph->Height(), c.size);
        // Transparent corner, ink in the middle.
        EXPECT_EQ(c.glyph->Canvas()->Pixels(0, c.size - 1) & 0xFFFFFF, 0xFF00FFu);
    }
    // The two arrows point opposite ways: the down arrow's ink is low, the up arrow's high.
    plat::TBitmap* down = p->ForwardButton()->Glyph();
    plat::TBitmap* upArrow = p->BackwardButton()->Glyph();
    EXPECT_NE(down->Canvas()->Pixels(3, 9) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(down->Canvas()->Pixels(3, 6) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_NE(upArrow->Canvas()->Pixels(3, 6) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(upArrow->Canvas()->Pixels(3, 9) & 0xFFFFFF, 0xFF00FFu);
    Picture("search-footer-glyphs");
}

TEST_P(GridSearchPanelTest, ThePanelLaysItsControlsOutAndEnablesSearchingOnlyWithText) {
    TSearchPanel* p = ShowFooter();
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Height(), 32);
    EXPECT_EQ(p->Top(), grid->ClientHeight() - 32);
    EXPECT_EQ(p->Edit()->Left(), 25);
    EXPECT_EQ(p->ForwardButton()->Left(), 140);
    EXPECT_EQ(p->BackwardButton()->Left(), 235);
    EXPECT_EQ(p->HiliteButton()->Left(), 330);
    EXPECT_EQ(p->MatchCase()->Left(), 425);
    for (TExtGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_FALSE(b->Enabled());
    EXPECT_TRUE(p->ExitButton()->Enabled());
    p->Edit()->SetFocus();
    pt::Type(u"gam");
    for (TExtGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_TRUE(b->Enabled());
    for (int i = 0; i < 3; ++i) pt::Key(plat::VK_BACK);
    for (TExtGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_FALSE(b->Enabled());
    // Without the highlight button the match-case box moves to its place.
    grid->SearchFooter()->SetShowHighLight(false);
    pt::ProcessEvents();
    EXPECT_FALSE(p->HiliteButton()->Visible());
    EXPECT_EQ(p->MatchCase()->Left(), 330);
    // Hiding the footer hides the panel.
    grid->SearchFooter()->SetVisible(false);
    EXPECT_FALSE(p->Visible());
}

TEST_P(GridSearchPanelTest, TypingFindsTheFirstMatchAndEnterTheNext) {
    TSearchPanel* p = ShowFooter();
    std::vector<int> actions;
    grid->OnSearchFooterAction = [&](plat::TObject*, const String&, int, int, int Action) { actions.push_back(Action); };
    p->Edit()->SetFocus();
    pt::Type(u"gamma");
    EXPECT_EQ(grid->Cells(grid->RealColIndex(grid->Col()), grid->Row()), u"gamma");
    const int first = grid->Row();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(p->Edit()->Color(), plat::clWindow);
    Picture("search-panel");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Row(), 7) << "the next gamma";
    pt::Key(plat::VK_RETURN, plat::ssCtrl);
    EXPECT_EQ(grid->Row(), 2) << "Ctrl+Enter finds the previous one";
    EXPECT_EQ(actions.back(), TExtStringGrid::saFindPrevious);
    // A text that is nowhere turns the edit red.
    pt::Type(u"x");
    EXPECT_EQ(p->Edit()->Color(), plat::TColor(0x000000FF));
    // A match below the visible rows is scrolled into view.
    for (int i = 0; i < 6; ++i) pt::Key(plat::VK_BACK);
    pt::Type(u"needle");
    EXPECT_EQ(grid->Row(), 27);
    EXPECT_EQ(grid->Col(), D(4));
    EXPECT_GE(27, grid->TopRow());
    EXPECT_LT(27, grid->TopRow() + grid->VisibleRowCount());
}

// The shown panel's 32 pixels come off the cells' area: every way down the grid (the last
// top row, line steps of the bar, the End key of the grid's own navigation) ends with the
// last row whole above the panel, a further line step is swallowed, and hiding the panel
// gives the rows the whole client area back.
TEST_P(GridSearchPanelTest, TheLastRowScrollsAboveTheShownPanel) {
    TSearchPanel* panel = ShowFooter();
    ASSERT_TRUE(panel->Visible());
    const int line = grid->ClientHeight() - 32;
    EXPECT_EQ(panel->Top(), line);
    EXPECT_EQ(panel->Height(), 32);
    auto lastRowAbove = [&] {
        const plat::TRect r = grid->CellRect(0, grid->RowCount() - 1);
        return r.Bottom > r.Top && r.Bottom <= line;
    };
    struct Way {
        const char* name;
        std::function<void()> go;
    };
    const Way ways[] = {
        {"top row set beyond the end", [&] { grid->SetTopRow(grid->RowCount() - 1); }},
        {"line steps of the bar",
         [&] {
             for (int i = 0; i < 40; ++i) grid->Perform(plat::WM_VSCROLL, plat::SB_LINEDOWN, 0);
         }},
        {"the end of a thumb drag",
         [&] { grid->Perform(plat::WM_VSCROLL, plat::MakeWParam(plat::SB_THUMBPOSITION, 1000), 0); }},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.name);
        grid->SetTopRow(1);
        w.go();
        pt::ProcessEvents();
        EXPECT_TRUE(lastRowAbove());
        const int top = grid->TopRow();
        grid->Perform(plat::WM_VSCROLL, plat::SB_LINEDOWN, 0);
        EXPECT_EQ(grid->TopRow(), top);
        EXPECT_TRUE(lastRowAbove());
    }
    // Moving to the last row with the keyboard shows it above the panel too.
    grid->SetTopRow(1);
    grid->SetRow(2);
    grid->SetFocus();
    pt::ProcessEvents();
    pt::Key(plat::VK_NEXT);
    pt::Key(plat::VK_NEXT);
    pt::Key(plat::VK_NEXT);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Row(), grid->RowCount() - 1);
    EXPECT_TRUE(lastRowAbove());
    Picture("search-panel-last-row");

    const int shownTop = grid->TopRow();
    grid->SearchFooter()->SetVisible(false);
    pt::ProcessEvents();
    EXPECT_LT(grid->TopRow(), shownTop) << "without the panel fewer rows need scrolling";
    const plat::TRect last = grid->CellRect(0, grid->RowCount() - 1);
    EXPECT_GT(last.Bottom, line);
    EXPECT_LE(last.Bottom, grid->ClientHeight());
}

// A resized grid keeps the panel at its new bottom, 32 high, and the slim bars of the metro
// type end at the panel.
TEST_P(GridSearchPanelTest, ThePanelStaysAtTheBottomAndTheSlimBarsEndAtIt) {
    grid->SetScrollType(ssMetro);
    TSearchPanel* panel = ShowFooter();
    for (int height : {300, 360}) {
        SCOPED_TRACE(height);
        grid->SetBounds(0, 0, 500, height);
        pt::ProcessEvents();
        const int line = grid->ClientHeight() - 32;
        EXPECT_EQ(panel->Top(), line);
        EXPECT_EQ(panel->Height(), 32);
        EXPECT_EQ(panel->Width(), grid->ClientWidth());
        ASSERT_NE(grid->VScrollControl(), nullptr);
        EXPECT_EQ(grid->VScrollControl()->BoundsRect().Bottom, line);
        EXPECT_EQ(grid->HScrollControl()->BoundsRect().Bottom, line);
    }
    grid->SearchFooter()->SetVisible(false);
    pt::ProcessEvents();
    EXPECT_EQ(grid->VScrollControl()->BoundsRect().Bottom, grid->ClientHeight());
    EXPECT_EQ(grid->HScrollControl()->BoundsRect().Bottom, grid->ClientHeight());
}

TEST_P(GridSearchPanelTest, TheCloseButtonHidesTheFooterAfterItsEvent) {
    TSearchPanel* p = ShowFooter();
    int closes = 0;
    grid->OnSearchFooterClose = [&](plat::TObject*) {
        ++closes;
        EXPECT_TRUE(grid->SearchFooter()->Visible());
    };
    ClickControl(p->ExitButton());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(grid->SearchFooter()->Visible());
    EXPECT_FALSE(p->Visible());
}

TEST_P(GridSearchPanelTest, TheHighlightButtonMarksAndUnmarksTheText) {
    TSearchPanel* p = ShowFooter();
    p->Edit()->SetFocus();
    pt::Type(u"delta");
    ClickControl(p->HiliteButton());
    EXPECT_TRUE(p->HiliteButton()->Down());
    EXPECT_NE(grid->Cells(3, 3), u"delta") << "the match carries highlight markup";
    EXPECT_EQ(grid->UnHilightText(grid->Cells(3, 3)), u"delta");
    ClickControl(p->HiliteButton());
    EXPECT_FALSE(p->HiliteButton()->Down());
    EXPECT_EQ(grid->Cells(3, 3), u"delta");
}

// ---- filter lists ---------------------------------------------------------------------------

class GridFilterListTest : public GridSearchPanelTest {
protected:
    void SetUp() override {
        GridSearchPanelTest::SetUp();
        grid->OnGetColumnFilter = [this](plat::TObject*, int Column, plat::TStrings* Filter) {
            if (Column != 3) return;
            Filter->Add(grid->FilterDropDownClear);
            Filter->Add(u"alpha");
            Filter->Add(u"Beta rows=beta");
            Filter->Add(u"gamma");
        };
    }
    TPoint FilterButton(int real) {
        const plat::TRect r = grid->CellRect(D(real), 0);
        return {r.Right - 8, r.Top + 8};
    }
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridFilterListTest, ::testing::Bool());

TEST_P(GridFilterListTest, TheFilterButtonOpensTheListAndASecondClickClosesIt) {
    const TPoint b = FilterButton(3);
    pt::Click(grid, b.X, b.Y);
    ASSERT_TRUE(grid->FilterListOpen());
    EXPECT_EQ(grid->FilterColumn(), 3);
    plat::TCustomListBox* list = grid->OpenFilterList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Items()->Strings(2), u"Beta rows") << "an entry is shown up to its '='";
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->Top(), grid->CellRect(D(3), 0).Top + 16);
    EXPECT_EQ(list->Left(), grid->CellRect(D(3), 0).Right - 16);
    EXPECT_EQ(list->Width(), 150);
    pt::Click(grid, b.X, b.Y);
    EXPECT_FALSE(grid->FilterListOpen());
    EXPECT_EQ(grid->FilterColumn(), -1);
    // A column without a filter has no button: the header click opens nothing.
    const TPoint none = FilterButton(4);
    pt::Click(grid, none.X, none.Y);
    EXPECT_FALSE(grid->FilterListOpen());
}

TEST_P(GridFilterListTest, APlainListFiltersByEnterOrByAClickOnAnItem) {
    struct Case {
        const char* name;
        bool byEnter;
        int item;
        String kept;
    };
    const Case cases[] = {{"Enter on the second item", true, 1, u"alpha"}, {"click on the third item", false, 2, u"beta"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->RemoveAllFilters();
        grid->SetFilterActive(false);
        const int rows = grid->RowCount();
        const TPoint b = FilterButton(3);
        pt::Click(grid, b.X, b.Y);
        plat::TCustomListBox* list = grid->OpenFilterList();
        ASSERT_NE(list, nullptr);
        if (c.byEnter) {
            for (int i = 0; i < c.item; ++i) pt::Key(plat::VK_DOWN);
            pt::Key(plat::VK_RETURN);
        } else {
            const plat::TRect r = list->ItemRect(c.item);
            pt::Click(list, 20, (r.Top + r.Bottom) / 2);
        }
        EXPECT_FALSE(grid->FilterListOpen());
        EXPECT_EQ(grid->FilterColumn(), -1);
        EXPECT_TRUE(grid->FilterActive());
        EXPECT_LT(grid->RowCount(), rows);
        for (int r = 1; r < grid->RowCount(); ++r) EXPECT_EQ(grid->Cells(3, r), c.kept) << r;
    }
}

TEST_P(GridFilterListTest, ACheckListReportsEachCheckAndStaysOpenUntilAClickOutside) {
    grid->FilterDropDownCheck = true;
    std::vector<String> checked;
    grid->OnFilterCheck = [&](plat::TObject*, int, int, const String& Shown, String&) { checked.push_back(Shown); };
    const TPoint b = FilterButton(3);
    pt::Click(grid, b.X, b.Y);
    auto* list = dynamic_cast<TDropCheckList*>(grid->OpenFilterList());
    ASSERT_NE(list, nullptr);
    int reported = 0;
    auto select = list->OnSelect;
    list->OnSelect = [&](plat::TObject* s, int Index) {
        EXPECT_EQ(Index, -1);
        ++reported;
        select(s, Index);
    };
    for (int item : {1, 3}) {
        const plat::TRect r = list->ItemRect(item);
        pt::Click(list, plat::TCheckListBox::CheckWidth / 2, (r.Top + r.Bottom) / 2);
    }
    EXPECT_EQ(reported, 2);
    EXPECT_TRUE(grid->FilterListOpen());
    EXPECT_EQ(checked, (std::vector<String>{u"alpha", u"alpha", u"gamma"}));
    for (int r = 1; r < grid->RowCount(); ++r) {
        const String v = grid->Cells(3, r);
        EXPECT_TRUE(v == u"alpha" || v == u"gamma") << plat::StringToUtf8(v);
    }
    // A click on a cell beside the list closes it; opened again, it shows the column's
    // conditions checked.
    const plat::TRect cell = grid->CellRect(2, 2);
    pt::Click(grid, cell.Left + 5, cell.Top + 5);
    EXPECT_FALSE(grid->FilterListOpen());
    EXPECT_EQ(grid->FilterColumn(), -1);
    pt::Click(grid, b.X, b.Y);
    list = dynamic_cast<TDropCheckList*>(grid->OpenFilterList());
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->Checked(0));
    EXPECT_TRUE(list->Checked(1));
    EXPECT_FALSE(list->Checked(2));
    EXPECT_TRUE(list->Checked(3));
    Picture("filter-check-list");
    // A click on another control of the form closes it.
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 440, 100, 24);
    pt::ProcessEvents();
    pt::Click(other, 5, 5);
    EXPECT_FALSE(grid->FilterListOpen());
    EXPECT_EQ(grid->FilterColumn(), -1);
}

TEST(FilterDropDownSettings, AssignCopiesAllButAutoSize) {
    TFilterDropDown a, b;
    a.AutoSize = true;
    a.Width = 220;
    a.Height = 90;
    a.Color = plat::clYellow;
    a.ColumnWidth = true;
    a.Font()->SetSize(14);
    a.Glyph()->SetSize(4, 4);
    int changes = 0;
    b.OnChange = [&](plat::TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_FALSE(b.AutoSize);
    EXPECT_EQ(b.Width, 220);
    EXPECT_EQ(b.Height, 90);
    EXPECT_EQ(b.Color, plat::clYellow);
    EXPECT_TRUE(b.ColumnWidth);
    EXPECT_EQ(b.Font()->Size(), 14);
    EXPECT_EQ(b.Glyph()->Width(), 4);
    EXPECT_GE(changes, 1) << "a glyph change fires OnChange";
}

} // namespace
