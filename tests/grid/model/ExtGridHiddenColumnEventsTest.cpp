// Events that carry a column index, fired by the grid's own operations while a column left of
// the cell is hidden. Cell events name the real column (as the cell accessors take it);
// fixed-cell questions and column statistics take the display column their caller passes.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <type_traits>
#include <utility>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "plat/Menus.h"
#include "plat/Streams.h"
#include "plat/Testing.h"

using namespace grid;
using grid::testing::GridFixture;
using grid::testing::Tag;

namespace {

// Real column 1 is hidden, so real column 3 shows at display column 2.
constexpr int kReal = 3, kDispl = 2, kRow = 2;

using Seen = std::set<int>;

struct Case {
    const char* event;
    bool stringGridOnly;  // the column grid answers this path from its items without the event
    std::function<void(TExtStringGrid&, Seen&, int& wrongTexts)> arm;
    std::function<void(TExtStringGrid&)> act;
    Seen expected;
};

void SaveAndLoad(TExtStringGrid& g, bool load) {
    plat::TMemoryStream s;
    g.SaveToStream(s);
    if (!load) return;
    for (int c = 0; c < g.ColCount() + g.NumHiddenColumns(); ++c)
        for (int r = 0; r < g.RowCount(); ++r) g.SetCells(c, r, u"");
    s.SetPosition(0);
    g.LoadFromStream(s);
}

const Case kCases[] = {
    {"OnCanEditCell", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnCanEditCell = [&](plat::TObject*, int, int c, bool&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) {
         g.AddCheckBox(kReal, kRow, false, false);
         g.ToggleCheckBoxCell(kReal, kRow, true);
     },
     {kReal}},
    {"OnGetCheckTrue", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetCheckTrue = [&](plat::TObject*, int c, int, String&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) {
         g.AddCheckBox(kReal, kRow, false, true);
         g.ToggleCheckBox(kReal, kRow);
     },
     {kReal}},
    {"OnGetCheckFalse", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetCheckFalse = [&](plat::TObject*, int c, int, String&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) {
         g.AddCheckBox(kReal, kRow, false, true);
         g.ToggleCheckBox(kReal, kRow);
         g.ToggleCheckBox(kReal, kRow);
     },
     {kReal}},
    // Saving and loading visit the shown columns; each call must name the column whose text it carries.
    {"OnSaveCell", false,
     [](TExtStringGrid& g, Seen& seen, int& wrong) {
         g.OnSaveCell = [&](plat::TObject*, int c, int r, String& v) {
             seen.insert(c);
             if (v != Tag(c, r)) ++wrong;
         };
     },
     [](TExtStringGrid& g) { SaveAndLoad(g, false); }, {0, 2, 3, 4}},
    {"OnLoadCell", false,
     [](TExtStringGrid& g, Seen& seen, int& wrong) {
         g.OnLoadCell = [&](plat::TObject*, int c, int r, String& v) {
             seen.insert(c);
             if (v != Tag(c, r)) ++wrong;
         };
     },
     [](TExtStringGrid& g) { SaveAndLoad(g, true); }, {0, 2, 3, 4}},
    // Automatic sizing takes a display column and measures the cells of its real column.
    {"OnGetCellColor (automatic sizing)", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetCellColor = [&](plat::TObject*, int, int c, auto&&...) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.AutoSizeCol(kDispl); }, {kReal}},
    {"OnHasComboBox", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnHasComboBox = [&](plat::TObject*, int c, int, bool&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) {
         g.ControlLook()->DropDownAlwaysVisible = true;
         g.AutoSizeCol(kDispl);
     },
     {kReal}},
    {"OnGetEditorType", true,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetEditorType = [&](plat::TObject*, int c, int, TEditorType&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) {
         g.ControlLook()->DropDownAlwaysVisible = true;
         g.AutoSizeCol(kDispl);
     },
     {kReal}},
    // Fixed-cell questions are asked by display column (the framework knows no other).
    {"OnIsFixedCell", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnIsFixedCell = [&](plat::TObject*, int, int c, bool&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.AutoSizeCol(kDispl); }, {kDispl}},
    // New cell properties take their start values from the cell's own hooks.
    {"OnGetAlignment", true,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetAlignment = [&](plat::TObject*, int, int c, auto&&...) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.SetColors(kReal, kRow, plat::clRed); }, {kReal}},
    {"OnGetWordWrap", true,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetWordWrap = [&](plat::TObject*, int c, int, bool&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.SetColors(kReal, kRow, plat::clRed); }, {kReal}},
    {"OnGetCellColor (new cell properties)", true,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnGetCellColor = [&](plat::TObject*, int, int c, auto&&...) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.SetColors(kReal, kRow, plat::clRed); }, {kReal}},
    // Column statistics take display columns; the custom one hands its column on unchanged.
    {"OnColumnCalc", false,
     [](TExtStringGrid& g, Seen& seen, int&) {
         g.OnColumnCalc = [&](plat::TObject*, int c, int, int, double&) { seen.insert(c); };
     },
     [](TExtStringGrid& g) { g.ColumnCustomCalc(kDispl, -1, -1); }, {kDispl}},
};

class HiddenColumnEventsTest : public GridFixture<TExtStringGrid> {
protected:
    template <class G>
    void RunCases() {
        for (const Case& c : kCases) {
            if (c.stringGridOnly && !std::is_same_v<G, TExtStringGrid>) continue;
            SCOPED_TRACE(c.event);
            auto* g = new G(form.get());
            g->SetParent(form.get());
            g->SetColCount(5);
            g->SetRowCount(5);
            plat::TGridOptions o = g->Options();
            g->SetOptions(o.Include(plat::goEditing));
            for (int col = 0; col < 5; ++col)
                for (int r = 0; r < 5; ++r) g->SetCells(col, r, Tag(col, r));
            g->HideColumn(1);
            ASSERT_EQ(g->RealColIndex(kDispl), kReal);
            g->Update();  // the repaint the setup asked for runs now, not inside the operation
            Seen seen;
            int wrongTexts = 0;
            c.arm(*g, seen, wrongTexts);
            c.act(*g);
            EXPECT_EQ(seen, c.expected);
            EXPECT_EQ(wrongTexts, 0);
            EXPECT_GRID_OK(*g);
            delete g;
        }
    }
};

TEST_F(HiddenColumnEventsTest, StringGridEventsNameTheirColumnByConvention) { RunCases<TExtStringGrid>(); }

TEST_F(HiddenColumnEventsTest, ColumnGridEventsNameTheirColumnByConvention) { RunCases<TExtColumnGrid>(); }

// A click finds the column's pop-up menu in the item of the clicked display column's real column,
// and the event names that real column.
TEST_F(HiddenColumnEventsTest, ColumnPopupOfTheClickedRealColumn) {
    namespace pt = plat::testing;
    auto* g = new TExtColumnGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 160);
    g->SetColCount(5);
    g->SetRowCount(4);
    auto* menu = new plat::TPopupMenu(form.get());
    auto* entry = new plat::TMenuItem(menu);
    entry->SetCaption(u"Clear column");
    menu->Items()->Add(entry);
    g->Columns()->Items(kReal)->ColumnPopup = menu;
    g->Columns()->Items(kReal)->ColumnPopupType = cpNormalCellsRClick;
    g->HideColumn(1);
    EXPECT_GRID_OK(*g);
    std::vector<std::pair<int, int>> events;
    g->OnColumnPopup = [&](plat::TObject*, int ACol, int ARow, plat::TPopupMenu*) { events.push_back({ACol, ARow}); };
    form->Show();
    pt::ProcessEvents();
    struct ClickCase {
        int displayCol;
        std::vector<std::pair<int, int>> events;
        bool popup;
    };
    const ClickCase cases[] = {
        {kDispl, {{kReal, kRow}}, true},
        {1, {}, false},  // real column 2: no menu
        {3, {}, false},  // real column 4: no menu
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.displayCol);
        events.clear();
        const size_t popups = responder().Popups().size();
        if (c.popup) responder().AnswerPopup(-1);
        const plat::TRect r = g->CellRect(c.displayCol, kRow);
        pt::Click(g, r.Left + 5, r.Top + 5, plat::mbRight);
        pt::ProcessEvents();
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(responder().Popups().size(), popups + (c.popup ? 1 : 0));
    }
}

} // namespace
