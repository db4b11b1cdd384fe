// Keys of the grid that follow its navigation settings, through the real key path, as a
// table of cases; every case runs once with a hidden column (shown and real indexes differ).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "plat/Clipbrd.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "GridEditors.h"
#include "GridSearchPanel.h"
#include "plat/StdCtrls.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridKeysTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 420, 200);
        grid->SetColCount(6);
        grid->SetRowCount(20);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < 6; ++c) grid->Columns()->Items(c)->SetWidth(60);
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
        grid->SetFocus();
    }
};

struct KeyCase {
    const char* name;
    std::function<void(TExtColumnGrid*)> setup;
    int col, row;  // start: display column (-1 = the last), row
    std::uint16_t key;
    plat::TShiftState shift;
    int expectCol, expectRow, expectTop;  // -1: the last column / the last row; top -1: unchecked
    int addedRows;                        // rows the key appended
    int keyDowns;                         // OnKeyDown calls the key caused
};

TEST_P(GridKeysTest, NavigationSettingsDecideWhereTheKeysGo) {
    auto nav = [](std::function<void(TNavigation*)> f) { return [f](TExtColumnGrid* g) { f(g->Navigation()); }; };
    const KeyCase cases[] = {
        {"MoveScrollOnly: Down scrolls one row, the cell stays",
         nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 2, 1, plat::VK_DOWN, 0, 2, 1, 2, 0, 0},
        {"MoveScrollOnly: Page Down shows the next page, the cell stays",
         nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 2, 1, plat::VK_NEXT, 0, 2, 1, -2, 0, 0},
        {"MoveScrollOnly: Left still moves", nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 3, 1,
         plat::VK_LEFT, 0, 2, 1, 1, 0, 1},
        {"heFirstLastCell: End goes to the last cell",
         nav([](TNavigation* n) { n->HomeEndKey = heFirstLastCell; }), 2, 3, plat::VK_END, 0, -1, -1, -1, 0, 1},
        {"heFirstLastCell: Home goes to the first normal cell",
         nav([](TNavigation* n) { n->HomeEndKey = heFirstLastCell; }), 3, 7, plat::VK_HOME, 0, 1, 1, -1, 0, 1},
        {"heFirstLastRow: End keeps the column", nav([](TNavigation* n) { n->HomeEndKey = heFirstLastRow; }), 3,
         2, plat::VK_END, 0, 3, -1, -1, 0, 1},
        {"heFirstLastRow: End stops at the last normal row",
         [](TExtColumnGrid* g) {
             g->Navigation()->HomeEndKey = heFirstLastRow;
             g->FixedFooters = 1;
         },
         3, 2, plat::VK_END, 0, 3, 18, -1, 0, 1},
        {"caSnake: Right in the last column goes to the next row's first",
         nav([](TNavigation* n) { n->CursorAdvance = caSnake; }), -1, 4, plat::VK_RIGHT, 0, 1, 5, -1, 0, 1},
        {"caLoop: Right in the last column stays in the row",
         nav([](TNavigation* n) { n->CursorAdvance = caLoop; }), -1, 4, plat::VK_RIGHT, 0, 1, 4, -1, 0, 1},
        {"caSnake: Left in the first column goes to the row above's last",
         nav([](TNavigation* n) { n->CursorAdvance = caSnake; }), 1, 4, plat::VK_LEFT, 0, -1, 3, -1, 0, 1},
        {"caDefault: Right in the last column stays", [](TExtColumnGrid*) {}, -1, 4, plat::VK_RIGHT, 0, -1, 4, -1, 0,
         1},
        {"AppendOnArrowDown: Down on the last row appends one and moves into it",
         nav([](TNavigation* n) { n->AppendOnArrowDown = true; }), 2, 19, plat::VK_DOWN, 0, 2, 20, -1, 1, 1},
        {"AppendOnArrowDown refused by OnCanAddRow",
         [](TExtColumnGrid* g) {
             g->Navigation()->AppendOnArrowDown = true;
             g->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
         },
         2, 19, plat::VK_DOWN, 0, 2, 19, -1, 0, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh grid state per case.
        TNavigation* n = grid->Navigation();
        n->MoveScrollOnly = false;
        n->HomeEndKey = heFirstLastColumn;
        n->CursorAdvance = caDefault;
        n->AppendOnArrowDown = false;
        grid->FixedFooters = 0;
        grid->OnCanAddRow = nullptr;
        grid->SetRowCount(20);
        c.setup(grid);
        const int startCol = c.col == -1 ? grid->ColCount() - 1 : c.col;
        grid->MoveColRow(startCol, c.row, true, true);
        grid->SetTopRow(1);
        grid->SetFocus();
        int keyDowns = 0, autoAdded = -1;
        grid->OnKeyDown = [&](plat::TObject*, std::uint16_t&, plat::TShiftState) { ++keyDowns; };
        grid->OnAutoAddRow = [&](plat::TObject*, int r) { autoAdded = r; };
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        const int expectCol = c.expectCol == -1 ? grid->ColCount() - 1 : c.expectCol;
        const int expectRow = c.expectRow == -1 ? grid->RowCount() - 1 : c.expectRow;
        EXPECT_EQ(grid->Col(), expectCol);
        EXPECT_EQ(grid->Row(), expectRow);
        if (c.expectTop == -2) {
            EXPECT_EQ(grid->TopRow(), 1 + grid->VisibleRowCount());
        } else if (c.expectTop != -1) {
            EXPECT_EQ(grid->TopRow(), c.expectTop);
        }
        EXPECT_EQ(grid->RowCount(), 20 + c.addedRows);
        EXPECT_EQ(autoAdded, c.addedRows ? grid->RowCount() - 1 : -1);
        EXPECT_EQ(keyDowns, c.keyDowns);
        grid->OnKeyDown = nullptr;
    }
}

// Texts "real column:row" in every cell.
void FillTags(TExtColumnGrid* g) {
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c) g->SetCells(c, r, plat::IntToStr(c) + u":" + plat::IntToStr(r));
}

TEST_P(GridKeysTest, ClipboardShortcutsRunBehindTheirEventsAndOpenNoEditor) {
    enum Effect { kNothing, kCopied, kCut, kPasted };
    struct Case {
        const char* name;
        std::uint16_t key;
        plat::TShiftState shift;
        bool shortcuts, allow;
        Effect effect;
        int events;  // OnClipboard* calls
    };
    const Case cases[] = {
        {"Ctrl+C copies", 'C', plat::ssCtrl, true, true, kCopied, 1},
        {"Ctrl+Insert copies", plat::VK_INSERT, plat::ssCtrl, true, true, kCopied, 1},
        {"Ctrl+X cuts", 'X', plat::ssCtrl, true, true, kCut, 1},
        {"Shift+Delete cuts", plat::VK_DELETE, plat::ssShift, true, true, kCut, 1},
        {"Ctrl+V pastes", 'V', plat::ssCtrl, true, true, kPasted, 1},
        {"Shift+Insert pastes", plat::VK_INSERT, plat::ssShift, true, true, kPasted, 1},
        {"a refused copy copies nothing", 'C', plat::ssCtrl, true, false, kNothing, 1},
        {"a refused cut leaves the cells", 'X', plat::ssCtrl, true, false, kNothing, 1},
        {"a refused paste pastes nothing", 'V', plat::ssCtrl, true, false, kNothing, 1},
        {"without AllowClipboardShortCuts Ctrl+C does nothing", 'C', plat::ssCtrl, false, true, kNothing, 0},
    };
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing).Include(plat::goRangeSelect));
    grid->Navigation()->AllowClipboardAlways = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FillTags(grid);
        grid->Navigation()->AllowClipboardShortCuts = c.shortcuts;
        grid->MoveColRow(2, 2, true, true);
        grid->SetSelection({2, 2, 3, 3});
        const String selected = grid->GetSelectionAsText();
        const String a = grid->Cells(grid->RealColIndex(2), 2), b = grid->Cells(grid->RealColIndex(3), 2);
        plat::Clipboard().SetAsText(u"p\tq");
        int events = 0;
        auto count = [&](plat::TObject*, bool& allow) {
            ++events;
            allow = c.allow;
        };
        grid->OnClipboardCopy = grid->OnClipboardCut = grid->OnClipboardPaste = count;
        grid->SetFocus();
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        EXPECT_EQ(events, c.events);
        EXPECT_FALSE(grid->EditMode) << "a clipboard key opened the editor";
        EXPECT_FALSE(grid->NormalEdit() && grid->NormalEdit()->Visible());
        const String clip = plat::Clipboard().AsText();
        const String na = grid->Cells(grid->RealColIndex(2), 2), nb = grid->Cells(grid->RealColIndex(3), 2);
        switch (c.effect) {
        case kNothing:
            EXPECT_EQ(clip, u"p\tq");
            EXPECT_EQ(na, a);
            EXPECT_EQ(nb, b);
            break;
        case kCopied:
            EXPECT_EQ(clip, selected);
            EXPECT_EQ(na, a);
            break;
        case kCut:
            EXPECT_EQ(clip, selected);
            EXPECT_EQ(na, u"");
            EXPECT_EQ(grid->Cells(grid->RealColIndex(3), 3), u"");
            break;
        case kPasted:
            EXPECT_EQ(na, u"p");
            EXPECT_EQ(nb, u"q");
            break;
        }
    }
}

TEST_P(GridKeysTest, InsertAndDeleteKeysAddAndRemoveRows) {
    struct Case {
        const char* name;
        std::uint16_t key;
        TInsertPosition position;
        bool allow;
        int rowsAfter;       // RowCount after the key
        int eventRow;        // row reported by OnAutoInsertRow / OnAutoDeleteRow, -1 none
        int currentAfter;    // Row after the key
        String cellAtStart;  // text of (real column 2, row 5) after the key
    };
    const Case cases[] = {
        {"Insert puts an empty row before the current one", plat::VK_INSERT, pInsertBefore, true, 21, 5, 5, u""},
        {"Insert after puts it below and moves into it", plat::VK_INSERT, pInsertAfter, true, 21, 6, 6, u"2:5"},
        {"OnCanInsertRow refusing inserts nothing", plat::VK_INSERT, pInsertBefore, false, 20, -1, 5, u"2:5"},
        {"Delete removes the current row", plat::VK_DELETE, pInsertBefore, true, 19, 5, 5, u"2:6"},
        {"OnCanDeleteRow refusing deletes nothing", plat::VK_DELETE, pInsertBefore, false, 20, -1, 5, u"2:5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetRowCount(20);
        FillTags(grid);
        grid->SetGridModified(false);
        TNavigation* n = grid->Navigation();
        n->AllowInsertRow = n->AllowDeleteRow = true;
        n->InsertPosition = c.position;
        int inserted = -1, deleted = -1;
        grid->OnCanInsertRow = [&](plat::TObject*, int, bool& can) { can = c.allow; };
        grid->OnCanDeleteRow = [&](plat::TObject*, int, bool& can) { can = c.allow; };
        grid->OnAutoInsertRow = [&](plat::TObject*, int r) { inserted = r; };
        grid->OnAutoDeleteRow = [&](plat::TObject*, int r) { deleted = r; };
        grid->MoveColRow(2, 5, true, true);
        grid->SetFocus();
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(grid->RowCount(), c.rowsAfter);
        EXPECT_EQ(c.key == plat::VK_INSERT ? inserted : deleted, c.eventRow);
        EXPECT_EQ(grid->Row(), c.currentAfter);
        EXPECT_EQ(grid->Cells(2, 5), c.cellAtStart);
        EXPECT_EQ(grid->GridModified(), c.eventRow != -1);
        EXPECT_FALSE(grid->EditMode);
    }
}

TEST_P(GridKeysTest, DeleteRefusedKeepsFilteringOn) {
    FillTags(grid);
    grid->SetCells(2, 3, u"hide");
    TFilterData* f = grid->Filter()->Add();
    f->Column = 2;
    f->Condition = u"!hide";
    grid->SetFilterActive(true);
    ASSERT_EQ(grid->RowCount(), 19);
    grid->Navigation()->AllowDeleteRow = true;
    bool filterSeen = true;
    grid->OnCanDeleteRow = [&](plat::TObject*, int, bool& can) {
        filterSeen = grid->FilterActive();
        can = false;
    };
    grid->MoveColRow(2, 4, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_DELETE);
    EXPECT_FALSE(filterSeen) << "the row is asked for with filtering off";
    EXPECT_TRUE(grid->FilterActive());
    EXPECT_EQ(grid->RowCount(), 19);
}

TEST_P(GridKeysTest, DeleteOfTheOnlyNormalRowEmptiesIt) {
    grid->SetRowCount(2);
    FillTags(grid);
    grid->Navigation()->AllowDeleteRow = true;
    int deleted = -1;
    grid->OnAutoDeleteRow = [&](plat::TObject*, int r) { deleted = r; };
    grid->MoveColRow(2, 1, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_DELETE);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(2, 1), u"");
    EXPECT_EQ(deleted, 1);
}

TEST_P(GridKeysTest, CtrlASelectsEveryNormalCellAndReportsOnce) {
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goRangeSelect));
    grid->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<plat::TGridRect> changes;
    grid->OnSelectionChanged = [&](plat::TObject*, int l, int t, int r, int b) { changes.push_back({l, t, r, b}); };
    grid->MoveColRow(2, 3, true, true);
    grid->SetFocus();
    pt::Key('A', plat::ssCtrl);
    pt::ProcessEvents();
    const plat::TGridRect all{1, 1, grid->ColCount() - 1, 19};
    EXPECT_EQ(grid->Selection(), all);
    EXPECT_EQ(grid->Col(), grid->ColCount() - 1);
    EXPECT_EQ(grid->Row(), 19);
    for (int r = 1; r < 20; ++r) EXPECT_TRUE(grid->GetRowSelect(r)) << r;
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], all);
    EXPECT_FALSE(grid->EditMode);
}

TEST_P(GridKeysTest, DisjunctRowMarksFollowTheKeys) {
    // Read-only columns: Space marks rows and types nothing.
    for (int c = 0; c < grid->ColCount(); ++c) grid->Columns()->Items(c)->ReadOnly = true;
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goRangeSelect));
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->MoveColRow(2, 3, true, true);
    grid->SetFocus();
    auto marked = [&] {
        std::vector<int> rows;
        for (int r = 1; r < grid->RowCount(); ++r)
            if (grid->GetRowSelect(r)) rows.push_back(r);
        return rows;
    };
    pt::Key(plat::VK_DOWN);
    EXPECT_EQ(marked(), (std::vector<int>{4}));
    pt::Key(plat::VK_DOWN, plat::ssShift);
    EXPECT_EQ(marked(), (std::vector<int>{4, 5}));
    pt::Key(plat::VK_DOWN);
    EXPECT_EQ(marked(), (std::vector<int>{6}));
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(marked(), (std::vector<int>{}));
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(marked(), (std::vector<int>{6}));
}

TEST_P(GridKeysTest, CtrlUpAndDownMoveTheRowsWithCursorMoveRows) {
    FillTags(grid);
    grid->Navigation()->CursorMoveRows = true;
    grid->MoveColRow(2, 3, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_DOWN, plat::ssCtrl);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Cells(0, 4), u"0:3");
    EXPECT_EQ(grid->Cells(0, 3), u"0:4");
    pt::Key(plat::VK_UP, plat::ssCtrl);
    pt::Key(plat::VK_UP, plat::ssCtrl);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(0, 2), u"0:3");
    EXPECT_EQ(grid->Cells(0, 3), u"0:2");
    EXPECT_EQ(grid->Cells(0, 4), u"0:4");
}

TEST_P(GridKeysTest, KeypadPointTypesTheLocaleSeparatorWithExcelStyle) {
    struct Case {
        const char* name;
        bool excel;
        std::uint16_t key;
        String typed;
    };
    const Case cases[] = {
        {"keypad point with ExcelStyleDecimalSeparator", true, plat::VK_DECIMAL, u","},
        {"main point with ExcelStyleDecimalSeparator", true, 0xBE, u"."},
        {"keypad point without it", false, plat::VK_DECIMAL, u"."},
    };
    const char16_t saved = plat::FormatSettings.DecimalSeparator;
    plat::FormatSettings.DecimalSeparator = u',';
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->ExcelStyleDecimalSeparator = c.excel;
        String seen;
        grid->OnKeyPress = [&](plat::TObject*, char16_t& k) { seen += k; };
        grid->MoveColRow(2, 2, true, true);
        grid->SetFocus();
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(seen, c.typed);
        ASSERT_TRUE(grid->NormalEdit() && grid->NormalEdit()->Visible());
        EXPECT_EQ(grid->NormalEdit()->Text(), c.typed);
        pt::Key(plat::VK_ESCAPE);
        pt::ProcessEvents();
        grid->OnKeyPress = nullptr;
    }
    plat::FormatSettings.DecimalSeparator = saved;
}

TEST_P(GridKeysTest, EnterOnACellThatCannotBeEditedReachesOnlyOnKeyDown) {
    grid->Columns()->Items(3)->ReadOnly = true;
    const int col = grid->DisplColIndex(3);
    grid->MoveColRow(col, 2, true, true);
    int downs = 0, previewed = 0;
    grid->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, plat::TShiftState) { downs += k == plat::VK_RETURN; };
    form->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, plat::TShiftState) { previewed += k == plat::VK_RETURN; };
    grid->SetFocus();
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(previewed, 0);
    EXPECT_FALSE(grid->EditMode);
    form->SetKeyPreview(true);
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(previewed, 1) << "a previewing form sees the key";
    EXPECT_FALSE(grid->EditMode);
}

TEST_P(GridKeysTest, KeyReleaseEndsTheIncrementalSearchAndReachesOnKeyUp) {
    int ups = 0;
    grid->OnKeyUp = [&](plat::TObject*, std::uint16_t&, plat::TShiftState) { ++ups; };
    grid->SearchInc = u"ab";
    grid->MoveColRow(2, 2, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_DOWN);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(grid->SearchInc, u"");
}

TEST_P(GridKeysTest, AlwaysEditOpensTheEditorOfTheCellAnArrowReaches) {
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing));
    FillTags(grid);
    grid->Navigation()->AlwaysEdit = true;
    grid->MoveColRow(2, 2, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_DOWN);
    pt::ProcessEvents();
    ASSERT_TRUE(grid->NormalEdit() && grid->NormalEdit()->Visible());
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->NormalEdit()->Text(), grid->Cells(grid->RealColIndex(2), 3));
}

// A column grid without goEditing edits through SelectCell: a click on the cell that is
// current from the start makes it editable, so F2 opens its editor.
TEST_P(GridKeysTest, AClickOnTheStartCellLetsF2OpenTheEditor) {
    FillTags(grid);
    grid->MoveColRow(1, 1, true, true);
    ASSERT_FALSE(grid->Options().Contains(plat::goEditing));
    const plat::TRect r = grid->CellRect(1, 1);
    pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Col(), 1);
    pt::Key(plat::VK_F2);
    pt::ProcessEvents();
    ASSERT_TRUE(grid->NormalEdit() && grid->NormalEdit()->Visible());
    EXPECT_EQ(grid->NormalEdit()->Text(), grid->Cells(grid->RealColIndex(1), 1));
}

// A click on another cell ends an open drop-down list editor: the list does not stay behind
// on its old cell.
TEST_P(GridKeysTest, AClickElsewhereClosesAnOpenComboEditor) {
    TGridColumnItem* type = grid->Columns()->Items(3);
    type->SetEditor(edComboList);
    for (const char16_t* t : {u"Coil", u"Discrete", u"Holding", u"Input"}) type->ComboItems()->Add(t);
    for (int r = 1; r < 20; ++r) grid->SetCells(3, r, u"Coil");
    const int col = grid->DisplColIndex(3);
    auto click = [&](int row) {
        const plat::TRect r = grid->CellRect(col, row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    };
    click(1);
    pt::Type(u"h");
    pt::ProcessEvents();
    ASSERT_TRUE(grid->Combobox()->Visible());
    click(3);
    EXPECT_EQ(grid->Cells(3, 1), u"Holding") << "the list's value is committed to its own cell";
    EXPECT_EQ(grid->Row(), 3);
    const bool onNewCell = grid->Combobox()->Visible() && grid->Combobox()->Top() >= grid->CellRect(col, 3).Top - 2;
    EXPECT_TRUE(!grid->Combobox()->Visible() || onNewCell) << "the list editor stayed on row 1";
    pt::Type(u"d");
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(3, 1), u"Holding");
}

// Tab in an open list editor advances in the grid (goTabs) instead of leaving it.
TEST_P(GridKeysTest, TabInAnOpenComboEditorAdvancesInTheGrid) {
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(4, 220, 80, 24);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goTabs));
    TGridColumnItem* type = grid->Columns()->Items(3);
    type->SetEditor(edComboList);
    for (const char16_t* t : {u"Coil", u"Input"}) type->ComboItems()->Add(t);
    grid->SetCells(3, 1, u"Coil");
    const plat::TRect r = grid->CellRect(grid->DisplColIndex(3), 1);
    pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::Type(u"i");
    pt::ProcessEvents();
    ASSERT_TRUE(grid->Combobox()->Visible());
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->Combobox()->Visible());
    EXPECT_EQ(grid->Cells(3, 1), u"Input");
    EXPECT_EQ(grid->Col(), grid->DisplColIndex(4));
    EXPECT_FALSE(other->Focused()) << "Tab left the grid";
}

// Space and Enter on a cell holding a control act at the key-down, once, with the real column;
// a read-only column answers only with CheckAlwaysActive or RadioAlwaysActive.
TEST_P(GridKeysTest, SpaceAndEnterOperateTheControlOfTheCell) {
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing));
    const int real = 3, col = grid->DisplColIndex(3), row = 4;
    std::vector<std::string> events;
    auto at = [](int c, int r) { return std::to_string(c) + "," + std::to_string(r); };
    grid->OnRadioClick = [&](plat::TObject*, int c, int r, int i) { events.push_back("radio " + at(c, r) + "," + std::to_string(i)); };
    grid->OnRadioButtonClick = [&](plat::TObject*, int c, int r) { events.push_back("radio button " + at(c, r)); };
    grid->OnButtonClick = [&](plat::TObject*, int c, int r) { events.push_back("button " + at(c, r)); };
    grid->OnCheckBoxClick = [&](plat::TObject*, int c, int r, bool s) { events.push_back("check " + at(c, r) + (s ? ",1" : ",0")); };
    auto radioGroup = [&] {
        plat::TStrings* items = grid->CreateRadio(real, row, 0, 0);
        for (const char16_t* t : {u"A", u"B", u"C"}) items->Add(t);
    };
    auto button = [&] { grid->AddButton(real, row, 40, 16, u"Go", haCenter, vaCenter); };
    struct Case {
        const char* name;
        std::function<void()> setup;
        std::uint16_t key;
        bool readOnly, alwaysActive;
        std::vector<std::string> events;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"Space selects the next radio item", radioGroup, plat::VK_SPACE, false, false, {"radio 3,4,1"},
         [&] { EXPECT_EQ(grid->Cells(real, row), u"B"); }},
        {"a read-only radio group stays", radioGroup, plat::VK_SPACE, true, false, {}, [] {}},
        {"RadioAlwaysActive: a read-only radio group answers", radioGroup, plat::VK_SPACE, true, true, {"radio 3,4,1"},
         [&] { EXPECT_EQ(grid->Cells(real, row), u"B"); }},
        {"Space selects the column's radio button", [&] { grid->AddRadioButtonColumn(real); }, plat::VK_SPACE, false,
         false, {"radio button 3,4"}, [&] { EXPECT_EQ(grid->GetRadioButtonColumnIndex(real), row); }},
        {"Enter presses a button", button, plat::VK_RETURN, false, false, {"button 3,4"}, [] {}},
        {"Space presses a button", button, plat::VK_SPACE, false, false, {"button 3,4"}, [] {}},
        {"a read-only button stays up", button, plat::VK_SPACE, true, true, {}, [] {}},
        {"Space toggles a check box and marks the row modified", [&] { grid->AddCheckBox(real, row, false, false); },
         plat::VK_SPACE, false, false, {"check 3,4,1"}, [&] { EXPECT_TRUE(grid->RowModified(row)); }},
    };
    grid->ShowModified()->SetEnabled(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->RemoveRadioButtonColumn(real);
        grid->RemoveCellGraphic(real, row);
        grid->SetRowModified(row, false);
        grid->SetCells(real, row, u"A");
        grid->Columns()->Items(real)->ReadOnly = c.readOnly;
        grid->ControlLook()->RadioAlwaysActive = c.alwaysActive;
        grid->ControlLook()->CheckAlwaysActive = c.alwaysActive;
        c.setup();
        grid->MoveColRow(col, row, true, true);
        grid->SetFocus();
        events.clear();
        pt::KeyDown(c.key);
        pt::KeyUp(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(events, c.events);
        c.check();
        EXPECT_FALSE(grid->EditMode);
    }
}

// SkipFixedCells: the arrows jump over cells that OnIsFixedCell declares fixed, reaching the
// next cell that is not, and the framework does not move a second time.
TEST_P(GridKeysTest, SkipFixedCellsWalksOverDeclaredFixedCells) {
    grid->Navigation()->SkipFixedCells = true;
    // Real columns 3 and 4 and rows 5 and 6 are fixed; in row 10 every column from real 3 on.
    grid->OnIsFixedCell = [](plat::TObject*, int r, int c, bool& fixed) {
        fixed = c == 3 || c == 4 || r == 5 || r == 6 || (r == 10 && c >= 3);
    };
    const int before = grid->DisplColIndex(3) - 1, after = grid->DisplColIndex(4) + 1;
    struct Case {
        const char* name;
        int col, row;
        std::uint16_t key;
        bool rowSelect;
        int expectCol, expectRow;
    };
    const Case cases[] = {
        {"Right jumps over two fixed columns", before, 3, plat::VK_RIGHT, false, after, 3},
        {"Left jumps back", after, 3, plat::VK_LEFT, false, before, 3},
        {"Down jumps over two fixed rows", after, 4, plat::VK_DOWN, false, after, 7},
        {"Up jumps back", after, 7, plat::VK_UP, false, after, 4},
        {"no cell that is not fixed to the right: the cell stays", before, 10, plat::VK_RIGHT, false, before, 10},
        {"a plain neighbour moves as usual", before, 2, plat::VK_DOWN, false, before, 3},
        {"goRowSelect: Up takes the row above without a walk", 1, 7, plat::VK_UP, true, 1, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::TGridOptions o = grid->Options();
        if (c.rowSelect) o.Include(plat::goRowSelect);
        else o.Exclude(plat::goRowSelect);
        grid->SetOptions(o);
        grid->MoveColRow(c.col, c.row, true, true);
        ASSERT_EQ(grid->Col(), c.col);
        ASSERT_EQ(grid->Row(), c.row);
        grid->SetFocus();
        int downs = 0;
        grid->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, plat::TShiftState) { downs += k != 0; };
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Col(), c.expectCol);
        EXPECT_EQ(grid->Row(), c.expectRow);
        EXPECT_EQ(downs, 1);
        grid->OnKeyDown = nullptr;
    }
}

// Right and Left on a node row's merged cell expand and contract the node.
TEST_P(GridKeysTest, RightAndLeftExpandAndContractANodeOnAMergedCell) {
    FillTags(grid);
    grid->AddNode(3, 4);
    grid->MergeCells(grid->RealColIndex(2), 3, 2, 1);
    grid->ContractNode(3);
    ASSERT_TRUE(grid->GetNodeState(3));
    grid->SetFocus();
    grid->MoveColRow(2, 3, true, true);
    pt::Key(plat::VK_RIGHT);
    EXPECT_FALSE(grid->GetNodeState(3)) << "expanded";
    EXPECT_EQ(grid->Cells(0, 4), u"0:4");
    grid->MoveColRow(2, 3, true, true);
    pt::Key(plat::VK_LEFT);
    EXPECT_TRUE(grid->GetNodeState(3)) << "contracted";
    // A cell that is not merged leaves the node alone.
    grid->MoveColRow(1, 3, true, true);
    ASSERT_FALSE(grid->IsMergedCell(grid->RealColIndex(1), 3));
    pt::Key(plat::VK_RIGHT);
    EXPECT_TRUE(grid->GetNodeState(3));
}

// Home and End with heFirstLastRow start the disjunct row marks over from the new selection.
TEST_P(GridKeysTest, HomeAndEndRefillTheDisjunctRowMarks) {
    grid->Navigation()->HomeEndKey = heFirstLastRow;
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goRangeSelect));
    auto marked = [&] {
        std::vector<int> rows;
        for (int r = 1; r < grid->RowCount(); ++r)
            if (grid->GetRowSelect(r)) rows.push_back(r);
        return rows;
    };
    grid->MoveColRow(2, 8, true, true);
    grid->SetFocus();
    grid->SetRowSelect(3, true);
    pt::Key(plat::VK_END);
    EXPECT_EQ(grid->Row(), 19);
    EXPECT_EQ(marked(), (std::vector<int>{19}));
    pt::Key(plat::VK_HOME, plat::ssShift);
    EXPECT_EQ(grid->Row(), 1) << "the new row is current, the row the key was pressed on the anchor";
    EXPECT_EQ(grid->Selection(), (plat::TGridRect{0, 1, grid->ColCount() - 1, 19}));
    std::vector<int> all;
    for (int r = 1; r <= 19; ++r) all.push_back(r);
    EXPECT_EQ(marked(), all);
}

// DisjunctCellSelect: the listed cells follow a Shift selection on key release; Space lists
// the current cell alone, Ctrl+Space toggles it.
TEST_P(GridKeysTest, KeyReleaseKeepsTheDisjunctCellList) {
    // Read-only columns: the column grid keeps goEditing off.
    for (int c = 0; c < grid->ColCount(); ++c) grid->Columns()->Items(c)->ReadOnly = true;
    grid->MouseActions()->SetDisjunctCellSelect(true);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goRangeSelect));
    auto listed = [&] {
        std::vector<std::pair<int, int>> cells;
        for (int i = 0; i < grid->SelectedCellsCount(); ++i) cells.emplace_back(grid->SelectedCell(i).X, grid->SelectedCell(i).Y);
        std::sort(cells.begin(), cells.end());
        return cells;
    };
    using Cells = std::vector<std::pair<int, int>>;
    grid->MoveColRow(1, 3, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_RIGHT, plat::ssShift);
    pt::Key(plat::VK_RIGHT, plat::ssShift);
    ASSERT_EQ(grid->Selection(), (plat::TGridRect{1, 3, 3, 3}));
    const int cur = grid->Col();
    Cells expected;
    for (int c = 1; c <= 3; ++c)
        if (c != cur) expected.emplace_back(c, 3);
    EXPECT_EQ(listed(), expected);
    pt::Key(plat::VK_LEFT);
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(grid->Col(), 2) << "the current cell stays";
    EXPECT_EQ(listed(), (Cells{{grid->Col(), 3}}));
    pt::Key(plat::VK_DOWN);
    pt::Key(plat::VK_SPACE, plat::ssCtrl);
    EXPECT_EQ(listed(), (Cells{{grid->Col(), 3}, {grid->Col(), 4}}));
    pt::Key(plat::VK_SPACE, plat::ssCtrl);
    EXPECT_EQ(listed(), (Cells{{grid->Col(), 3}}));
}

// With the search footer shown and the view at the grid's end, Down on the last row and Left
// and Right at its ends stay where they are and reach only OnKeyDown; other keys move; a key
// that is no navigation key leaves the top row as it was. Ctrl+F puts the focus into the
// footer's edit.
TEST_P(GridKeysTest, KeysAtTheSearchFooterKeepTheLastRowAboveIt) {
    grid->SearchFooter()->SetVisible(true);
    pt::ProcessEvents();
    TSearchPanel* panel = grid->SearchPanel();
    ASSERT_TRUE(panel && panel->Visible());
    int downs = 0;
    grid->OnKeyDown = [&](plat::TObject*, std::uint16_t&, plat::TShiftState) { ++downs; };
    grid->MoveColRow(2, 19, true, true);
    grid->SetTopRow(grid->RowCount() - grid->VisibleRowCount());
    grid->SetFocus();
    pt::Key(plat::VK_DOWN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Row(), 19);
    EXPECT_EQ(downs, 1);
    struct Case {
        const char* name;
        int col;
        std::uint16_t key;
        int expectCol;
    };
    const Case cases[] = {
        {"Right in the last column stays", grid->ColCount() - 1, plat::VK_RIGHT, grid->ColCount() - 1},
        {"Left in the first column stays", 1, plat::VK_LEFT, 1},
        {"Right elsewhere moves", 2, plat::VK_RIGHT, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->MoveColRow(c.col, 19, true, true);
        downs = 0;
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Col(), c.expectCol);
        EXPECT_EQ(grid->Row(), 19);
        EXPECT_EQ(downs, 1);
    }
    const int top = grid->TopRow();
    grid->Columns()->Items(grid->RealColIndex(2))->ReadOnly = true;
    grid->MoveColRow(2, 19, true, true);
    pt::Key(plat::VK_F5);
    EXPECT_EQ(grid->TopRow(), top);
    grid->OnKeyDown = nullptr;
    pt::Key('F', plat::ssCtrl);
    pt::ProcessEvents();
    EXPECT_TRUE(panel->Edit()->Focused());
}

// An accelerator typed while another control has the focus runs the search footer's button
// whose caption carries it.
TEST_P(GridKeysTest, SearchFooterAcceleratorsRunTheirButtons) {
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(4, 220, 80, 24);
    FillTags(grid);
    grid->SearchFooter()->SetText(TSearchFooter::tFindNext, u"Find &next");
    grid->SearchFooter()->SetText(TSearchFooter::tFindPrev, u"Find &previous");
    grid->SearchFooter()->SetVisible(true);
    pt::ProcessEvents();
    TSearchPanel* panel = grid->SearchPanel();
    const int col = grid->DisplColIndex(3);
    grid->MoveColRow(col, 1, true, true);
    panel->Edit()->SetText(u"3:");
    pt::ProcessEvents();
    const int rowAfterTyping = grid->Row();
    other->SetFocus();
    pt::Key('N', plat::ssAlt);
    pt::ProcessEvents();
    EXPECT_GT(grid->Row(), rowAfterTyping) << "find next ran";
    const int afterNext = grid->Row();
    pt::Key('P', plat::ssAlt);
    pt::ProcessEvents();
    EXPECT_LT(grid->Row(), afterNext) << "find previous ran";
    // Hidden footer: the grid takes no accelerator.
    grid->SearchFooter()->SetVisible(false);
    const int before = grid->Row();
    pt::Key('N', plat::ssAlt);
    EXPECT_EQ(grid->Row(), before);
}

// Focus: entering the grid asks SelectCell for the current cell with goEditing, and with
// AlwaysEdit the text editor of an editable current cell opens again.
TEST_P(GridKeysTest, EnteringTheGridSelectsTheCellAndAlwaysEditReopensTheEditor) {
    auto* other = new plat::TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(4, 220, 80, 24);
    FillTags(grid);
    grid->SetOptions(plat::TGridOptions(grid->Options()).Include(plat::goEditing));
    grid->Navigation()->AlwaysEdit = true;
    grid->Columns()->Items(4)->ReadOnly = true;
    std::vector<std::pair<int, int>> asked;
    int entered = 0;
    grid->OnSelectCell = [&](plat::TObject*, int c, int r, bool&) { asked.emplace_back(c, r); };
    grid->OnEnter = [&](plat::TObject*) { ++entered; };
    // The text editor exists once it was open.
    grid->MoveColRow(grid->DisplColIndex(2), 2, true, true);
    grid->SetFocus();
    pt::Key(plat::VK_F2);
    pt::Key(plat::VK_ESCAPE);
    ASSERT_TRUE(grid->NormalEdit());
    struct Case {
        const char* name;
        int realCol, row;
        bool opens;
    };
    const Case cases[] = {
        {"an editable cell in view opens its editor", 2, 3, true},
        {"a read-only cell opens nothing", 4, 3, false},
        {"a cell below the view opens nothing", 2, 19, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        other->SetFocus();
        pt::ProcessEvents();
        grid->HideInplaceEdit();
        const int col = grid->DisplColIndex(c.realCol);
        grid->MoveColRow(col, c.row, true, false);
        if (c.row == 19) grid->SetTopRow(1);
        asked.clear();
        entered = 0;
        grid->SetFocus();
        pt::ProcessEvents();
        EXPECT_EQ(entered, 1);
        if (c.opens) {
            // goEditing is on for an editable cell: entering asks SelectCell for it.
            ASSERT_FALSE(asked.empty());
            EXPECT_EQ(asked.front(), std::make_pair(col, c.row));
        }
        const bool open = grid->NormalEdit() && grid->NormalEdit()->Visible();
        EXPECT_EQ(open, c.opens);
        if (c.opens) EXPECT_EQ(grid->NormalEdit()->Text(), grid->Cells(c.realCol, c.row));
    }
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridKeysTest, ::testing::Bool());

} // namespace
