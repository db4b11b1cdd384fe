// Editing a column grid through the real event path (clicks and keys on a shown form), laid
// out like the configurator's read tables: a fixed number column, a check-box column, text
// columns and drop-down list and drop-down edit columns, without goEditing (editing is
// switched on per cell). Every case runs once with real column 1 hidden, so that shown and
// real column indexes differ; events must carry real columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridEditors.h"
#include "plat/Clipbrd.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

enum Real { kNum, kSpare, kEnable, kSlave, kType, kAddress, kTopic, kMnemonic, kColCount };

struct ColumnSpec {
    const char16_t* header;
    TEditorType editor;
};

const ColumnSpec kColumns[kColCount] = {
    {u"N", edNormal},        {u"Spare", edNormal},     {u"Enable", edDataCheckBox}, {u"Slave ID", edNormal},
    {u"Type", edComboList},  {u"Address", edNormal},   {u"Topic", edComboEdit},     {u"Mnemonic", edNormal},
};

struct ComboEvent {
    int col, row, index;
    String text;
};

class GridEditTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(4, 440, 100, 24);
        grid->SetBounds(4, 4, 580, 420);
        grid->SetColCount(kColCount);
        grid->SetRowCount(6);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < kColCount; ++c) {
            TGridColumnItem* item = grid->Columns()->Items(c);
            item->SetHeader(kColumns[c].header);
            item->SetEditor(kColumns[c].editor);
            item->SetWidth(64);
        }
        for (const char16_t* s : {u"Coil", u"Discrete", u"Holding", u"Input"})
            grid->Columns()->Items(kType)->ComboItems()->Add(s);
        for (const char16_t* s : {u"Abc", u"abd", u"Temp"}) grid->Columns()->Items(kTopic)->ComboItems()->Add(s);
        for (int r = 1; r < 6; ++r) {
            grid->SetCells(kNum, r, plat::IntToStr(r));
            grid->SetCells(kEnable, r, u"N");
            grid->SetCells(kSlave, r, plat::IntToStr(r));
            grid->SetCells(kType, r, u"Coil");
        }
        if (GetParam()) grid->HideColumn(kSpare);
        grid->OnEditingDone = [this](plat::TObject*) { ++editingDone; };
        grid->OnEditCellDone = [this](plat::TObject*, int c, int r) { cellDone.push_back({c, r}); };
        grid->OnComboChange = [this](plat::TObject*, int c, int r, int i, const String& t) {
            combo.push_back({c, r, i, t});
        };
        form->Show();
        pt::ProcessEvents();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    void ClickCell(int real, int row) {
        const plat::TRect r = grid->CellRect(D(real), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    bool NormalEditorOpen() { return grid->NormalEdit()->Visible(); }
    bool ComboOpen() { return grid->Combobox()->Visible(); }

    plat::TEdit* other = nullptr;
    int editingDone = 0;
    std::vector<TPoint> cellDone;
    std::vector<ComboEvent> combo;
};

TEST_P(GridEditTest, TypeAndEnterCommitAndSignalTheEndAfterTheLoopTurns) {
    ClickCell(kSlave, 1);
    pt::Type(u"abc");
    EXPECT_TRUE(NormalEditorOpen());
    pt::KeyDown(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kSlave, 1), u"abc");
    EXPECT_FALSE(NormalEditorOpen());
    EXPECT_EQ(editingDone, 1);
    EXPECT_TRUE(cellDone.empty()) << "OnEditCellDone ran inside the ending call";
    pt::KeyUp(plat::VK_RETURN);
    pt::ProcessEvents();
    ASSERT_EQ(cellDone.size(), 1u);
    EXPECT_EQ(cellDone[0].X, kSlave);
    EXPECT_EQ(cellDone[0].Y, 1);
    EXPECT_EQ(editingDone, 1);
}

TEST_P(GridEditTest, EscapeRestoresTheExactOldTextWithoutValidation) {
    grid->SetCells(kSlave, 2, u"x<B>y");
    int validations = 0;
    grid->OnCellValidate = [&](plat::TObject*, int, int, String&, bool&) { ++validations; };
    ClickCell(kSlave, 2);
    pt::Type(u"99");
    EXPECT_EQ(grid->Cells(kSlave, 2), u"99");  // the editor writes while typing
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kSlave, 2), u"x<B>y");
    EXPECT_EQ(validations, 0);
    EXPECT_FALSE(NormalEditorOpen());
}

TEST_P(GridEditTest, MarkupOpenedAndConfirmedUnchangedKeepsItsTags) {
    grid->SetCells(kSlave, 2, u"x<B>y");
    ClickCell(kSlave, 2);
    pt::Key(plat::VK_F2);
    ASSERT_TRUE(NormalEditorOpen());
    EXPECT_EQ(grid->NormalEdit()->Text(), u"xy");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kSlave, 2), u"x<B>y");
    // A real change is written as typed.
    pt::Key(plat::VK_F2);
    pt::Type(u"z");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kSlave, 2), u"z");
}

struct ValidateCase {
    const char* name;
    bool valid;
    const char16_t* replace;   // the handler's value, null = unchanged
    const char16_t* expected;  // the cell afterwards
    bool editorOpen;
};

TEST_P(GridEditTest, ValidationDecidesWhatTheCellHolds) {
    const ValidateCase cases[] = {
        {"accepted", true, nullptr, u"abc", false},
        {"accepted and corrected", true, u"ABC", u"ABC", false},
        {"refused", false, nullptr, u"old", true},
        {"refused with a new value", false, u"fixed", u"fixed", true},
    };
    for (const ValidateCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kAddress, 3, u"old");
        grid->SetRowModified(3, false);
        ClickCell(kSlave, 1);
        std::vector<String> seenInCell;
        std::vector<int> validatedCols;
        grid->OnCellValidate = [&](plat::TObject*, int col, int, String& v, bool& ok) {
            validatedCols.push_back(col);
            if (c.replace) v = c.replace;
            ok = c.valid;
        };
        grid->OnCellsChanged = [&](plat::TObject*, const plat::TRect& r) {
            seenInCell.push_back(grid->Cells(r.Left, r.Top));
        };
        ClickCell(kAddress, 3);
        pt::Type(u"abc");
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(kAddress, 3), c.expected);
        ASSERT_EQ(validatedCols.size(), 1u);
        EXPECT_EQ(validatedCols[0], kAddress);
        EXPECT_EQ(NormalEditorOpen(), c.editorOpen);
        EXPECT_EQ(grid->Col(), D(kAddress));
        EXPECT_EQ(grid->Row(), 3);
        if (c.editorOpen) EXPECT_EQ(grid->NormalEdit()->Text(), c.expected);
        if (c.valid) {
            // Listeners read the new value, and the row is marked.
            ASSERT_EQ(seenInCell.size(), 1u);
            EXPECT_EQ(seenInCell[0], c.expected);
            EXPECT_TRUE(grid->RowModified(3));
        } else {
            EXPECT_TRUE(seenInCell.empty());
            EXPECT_FALSE(grid->RowModified(3));
            pt::Key(plat::VK_ESCAPE);
        }
        grid->OnCellValidate = nullptr;
        grid->OnCellsChanged = nullptr;
    }
}

struct NoEditorCase {
    const char* name;
    std::function<void(TExtColumnGrid&)> arm;
};

TEST_P(GridEditTest, CellsThatMayNotBeEditedOpenNothing) {
    const NoEditorCase cases[] = {
        {"read-only column", [](TExtColumnGrid& g) { g.Columns()->Items(kAddress)->ReadOnly = true; }},
        {"read-only cell", [](TExtColumnGrid& g) { g.SetReadOnly(kAddress, 2, true); }},
        {"OnCanEditCell", [](TExtColumnGrid& g) {
             g.OnCanEditCell = [](plat::TObject*, int, int c, bool& can) { if (c == kAddress) can = false; };
         }},
        {"edNone", [](TExtColumnGrid& g) {
             g.OnGetEditorType = [](plat::TObject*, int c, int, TEditorType& e) { if (c == kAddress) e = edNone; };
         }},
    };
    for (const NoEditorCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kAddress, 2, u"keep");
        c.arm(*grid);
        ClickCell(kAddress, 2);
        pt::Type(u"x");
        pt::Key(plat::VK_F2);
        pt::Key(plat::VK_RETURN);
        EXPECT_FALSE(NormalEditorOpen());
        EXPECT_FALSE(ComboOpen());
        EXPECT_EQ(grid->Cells(kAddress, 2), u"keep");
        grid->Columns()->Items(kAddress)->ReadOnly = false;
        grid->SetReadOnly(kAddress, 2, false);
        grid->OnCanEditCell = nullptr;
        grid->OnGetEditorType = nullptr;
    }
}

TEST_P(GridEditTest, GridOnKeyPressSeesTypedKeysAndEnterAndKeyZeroStartsNothing) {
    std::vector<char16_t> keys;
    grid->OnKeyPress = [&](plat::TObject*, char16_t& k) {
        keys.push_back(k);
        if (k == u'q') k = 0;
    };
    ClickCell(kSlave, 2);
    pt::Type(u"q");
    EXPECT_FALSE(NormalEditorOpen());
    EXPECT_EQ(grid->Cells(kSlave, 2), u"2");
    pt::Type(u"w");
    EXPECT_TRUE(NormalEditorOpen());
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kSlave, 2), u"w");
    EXPECT_EQ(keys, (std::vector<char16_t>{u'q', u'w', u'\r'}));
}

TEST_P(GridEditTest, ComboListOnATextThatIsNoItemAnnouncesItemZeroOnce) {
    grid->SetCells(kType, 2, u"zzz");
    std::vector<ComboEvent> objects;
    grid->OnComboObjectChange = [&](plat::TObject*, int c, int r, int i, const String& t, plat::TObject*) {
        objects.push_back({c, r, i, t});
    };
    ClickCell(kType, 2);
    pt::Key(plat::VK_F2);
    ASSERT_TRUE(ComboOpen());
    ASSERT_EQ(combo.size(), 1u);
    EXPECT_EQ(combo[0].col, kType);
    EXPECT_EQ(combo[0].row, 2);
    EXPECT_EQ(combo[0].index, 0);
    EXPECT_EQ(combo[0].text, u"Coil");
    EXPECT_EQ(objects.size(), 1u);
    // Down changes the choice: one event per change, real column.
    pt::Key(plat::VK_DOWN);
    ASSERT_EQ(combo.size(), 2u);
    EXPECT_EQ(combo[1].col, kType);
    EXPECT_EQ(combo[1].text, u"Discrete");
    pt::Key(plat::VK_RETURN);
    EXPECT_FALSE(ComboOpen());
    EXPECT_EQ(grid->Cells(kType, 2), u"Discrete");
}

TEST_P(GridEditTest, ComboListOnAStoredItemOrAnEmptyListAnnouncesNothing) {
    ClickCell(kType, 3);  // holds "Coil"
    pt::Key(plat::VK_F2);
    ASSERT_TRUE(ComboOpen());
    EXPECT_EQ(grid->Combobox()->ItemIndex(), 0);
    EXPECT_TRUE(combo.empty());
    pt::Key(plat::VK_ESCAPE);
    EXPECT_FALSE(ComboOpen());
    EXPECT_EQ(grid->Cells(kType, 3), u"Coil");

    grid->Columns()->Items(kType)->ComboItems()->Clear();
    grid->SetCells(kType, 4, u"zzz");
    ClickCell(kType, 4);
    pt::Key(plat::VK_F2);
    EXPECT_TRUE(combo.empty());
    EXPECT_EQ(grid->Combobox()->ItemIndex(), -1);
}

TEST_P(GridEditTest, TypingIntoAComboListSelectsTheFirstItemStartingWithTheLetter) {
    ClickCell(kType, 2);
    pt::Type(u"h");
    ASSERT_TRUE(ComboOpen());
    EXPECT_EQ(grid->Combobox()->Text(), u"Holding");
    ASSERT_FALSE(combo.empty());
    EXPECT_EQ(combo.back().col, kType);
    EXPECT_EQ(combo.back().text, u"Holding");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kType, 2), u"Holding");
}

TEST_P(GridEditTest, ComboEditKeepsTypedTextUpToMaxComboLength) {
    grid->MaxComboLength = 4;
    ClickCell(kTopic, 2);
    pt::Type(u"Tempera");
    ASSERT_TRUE(ComboOpen());
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 2), u"Temp");
    grid->MaxComboLength = 0;
    ClickCell(kTopic, 3);
    pt::Type(u"free text");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 3), u"free text");
}

TEST_P(GridEditTest, SpaceTogglesTheCheckBoxAndReportsTheRealColumn) {
    std::vector<ComboEvent> clicks;
    grid->OnCheckBoxClick = [&](plat::TObject*, int c, int r, bool s) { clicks.push_back({c, r, s ? 1 : 0, {}}); };
    ClickCell(kEnable, 2);
    clicks.clear();  // the click on the glyph belongs to the mouse handling
    grid->SetCells(kEnable, 2, u"N");
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(grid->Cells(kEnable, 2), u"Y");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].col, kEnable);
    EXPECT_EQ(clicks[0].index, 1);
    EXPECT_FALSE(NormalEditorOpen());
    // A read-only column toggles only with CheckAlwaysActive.
    grid->Columns()->Items(kEnable)->ReadOnly = true;
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(grid->Cells(kEnable, 2), u"Y");
    grid->ControlLook()->CheckAlwaysActive = true;
    pt::Key(plat::VK_SPACE);
    EXPECT_EQ(grid->Cells(kEnable, 2), u"N");
}

TEST_P(GridEditTest, TabAdvancesOverReadOnlyColumnsAndWraps) {
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goTabs));
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Columns()->Items(kType)->ReadOnly = true;
    grid->Columns()->Items(kAddress)->ReadOnly = true;
    grid->Columns()->Items(kEnable)->ReadOnly = true;
    ClickCell(kSlave, 1);
    pt::Key(plat::VK_TAB);
    EXPECT_EQ(grid->Col(), D(kTopic));
    EXPECT_EQ(grid->Row(), 1);
    // Enter after typing commits and advances to the next editable cell.
    pt::Type(u"t1");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 1), u"t1");
    EXPECT_EQ(grid->Col(), D(kMnemonic));
    // Shift+Tab from the first editable cell of the first row wraps to the last row.
    ClickCell(GetParam() ? kSlave : kSpare, 1);
    pt::Key(plat::VK_TAB, plat::ssShift);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Col(), D(kMnemonic));
}

// Opening or closing the editor and a Tab step repaint only the cells they change: never the
// fixed cells or the rest of the grid.
struct RepaintCase {
    const char* name;
    std::vector<std::uint16_t> keys;
    std::vector<int> allowedReal;  // real columns of row 2 that may be painted
};

TEST_P(GridEditTest, EditorAndCellStepsRepaintOnlyTheChangedCells) {
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goTabs));
    const std::vector<RepaintCase> cases = {
        {"F2 opens the editor", {plat::VK_F2}, {kSlave}},
        {"Escape closes it", {plat::VK_F2, plat::VK_ESCAPE}, {kSlave}},
        {"Tab moves to the next cell", {plat::VK_TAB}, {kSlave, kType}},
    };
    for (const RepaintCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClickCell(kSlave, 2);
        if (NormalEditorOpen()) pt::Key(plat::VK_ESCAPE);
        grid->Update();
        std::vector<TPoint> drawn;
        grid->OnDrawCell = [&](plat::TObject*, int ACol, int ARow, plat::TRect, plat::TGridDrawState) {
            drawn.push_back({ACol, ARow});
        };
        for (std::size_t k = 0; k < c.keys.size(); ++k) {
            if (k + 1 == c.keys.size()) drawn.clear();
            pt::Key(c.keys[k]);
            pt::ProcessEvents();
            grid->Update();
        }
        grid->OnDrawCell = nullptr;
        EXPECT_FALSE(drawn.empty()) << "the changed cell was not repainted";
        for (const TPoint& p : drawn) {
            SCOPED_TRACE(::testing::Message() << "painted " << p.X << "," << p.Y);
            EXPECT_EQ(p.Y, 2);
            EXPECT_NE(std::find(c.allowedReal.begin(), c.allowedReal.end(), p.X), c.allowedReal.end());
        }
    }
}

TEST_P(GridEditTest, TabWithoutAnyEditableCellEndsAfterOnePass) {
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goTabs));
    grid->Navigation()->AdvanceOnEnter = true;
    ClickCell(kSlave, 2);
    for (int c = 1; c < kColCount; ++c) grid->Columns()->Items(c)->ReadOnly = true;
    pt::Key(plat::VK_TAB);
    EXPECT_EQ(grid->Col(), D(kSlave));
    EXPECT_EQ(grid->Row(), 2);
    grid->AdvanceCell(grid->Col(), grid->Row(), true, false, true, true, true);
    EXPECT_EQ(grid->Col(), D(kSlave));
    EXPECT_EQ(grid->Row(), 2);
}

TEST_P(GridEditTest, TabWithoutGoTabsLeavesTheGrid) {
    ClickCell(kSlave, 2);
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(grid->Col(), D(kSlave));
}

// Without goTabs the focus leaves an open combo for the next control of the form (Tab) or by
// a click elsewhere: the chosen value is validated and written and the editor closes; a
// refused value keeps the editor open on the cell with the value validation settled on.
TEST_P(GridEditTest, FocusLeavingAnOpenComboCommitsItsValue) {
    struct Case {
        const char* name;
        bool tab;  // Tab, else a click on the other control
        bool valid;
        const char16_t* replace;  // the handler's value, null = unchanged
        const char16_t* cell;     // the cell afterwards
        bool open;
    };
    const Case cases[] = {
        {"Tab to the next control", true, true, nullptr, u"Discrete", false},
        {"click on another control", false, true, nullptr, u"Discrete", false},
        {"refused", false, false, nullptr, u"Coil", true},
        {"refused with a new value", false, false, u"Input", u"Input", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kType, 2, u"Coil");
        editingDone = 0;
        cellDone.clear();
        int validations = 0;
        // A validation handler makes the combo keep Tab itself, so only the click runs with one.
        if (!c.tab) {
            grid->OnCellValidate = [&](plat::TObject*, int col, int, String& v, bool& ok) {
                ++validations;
                EXPECT_EQ(col, kType);
                if (c.replace) v = c.replace;
                ok = c.valid;
            };
        }
        ClickCell(kType, 2);
        pt::Key(plat::VK_F2);
        ASSERT_TRUE(ComboOpen());
        pt::Key(plat::VK_DOWN);  // "Discrete"
        if (c.tab) {
            pt::Key(plat::VK_TAB);
        } else {
            pt::Click(other, 5, 5);
        }
        pt::ProcessEvents();
        EXPECT_EQ(grid->Cells(kType, 2), c.cell);
        EXPECT_EQ(ComboOpen(), c.open);
        EXPECT_EQ(validations, c.tab ? 0 : 1);
        if (c.open) {
            EXPECT_EQ(grid->Combobox()->Text(), c.cell);
            EXPECT_TRUE(grid->Combobox()->Focused());
            EXPECT_EQ(editingDone, 0);
            grid->OnCellValidate = nullptr;
            pt::Key(plat::VK_ESCAPE);
            pt::ProcessEvents();
        } else {
            EXPECT_TRUE(other->Focused());
            EXPECT_EQ(editingDone, 1);
            ASSERT_EQ(cellDone.size(), 1u);
            EXPECT_EQ(cellDone[0], (TPoint{kType, 2}));
        }
        EXPECT_FALSE(ComboOpen());
        grid->OnCellValidate = nullptr;
    }
}

struct FilterCase {
    const char* name;
    TEditorType kind;
    int limit;
    String typed;
    const char16_t* paste;  // pasted by Ctrl+V after typing, null = none
    String expected;
};

TEST_P(GridEditTest, CharacterFiltersOfTheTextKinds) {
    const String dec(1, GetDecimalSeparator());
    const FilterCase cases[] = {
        {"numeric leading minus", edNumeric, 0, u"-12", nullptr, u"-12"},
        {"numeric minus inside", edNumeric, 0, u"1-2a", nullptr, u"12"},
        {"positive numeric", edPositiveNumeric, 0, u"-3x4", nullptr, u"34"},
        {"float second separator", edFloat, 0, u"1" + dec + u"5" + dec + u"2", nullptr, u"1" + dec + u"52"},
        {"upper case", edUpperCase, 0, u"abC", nullptr, u"ABC"},
        {"length limit 5", edNormal, 5, u"abcdefg", nullptr, u"abcde"},
        {"paste drops line ends", edNormal, 0, u"x", u"abc\r\n", u"xabc"},
        {"numeric paste of a number", edNumeric, 0, u"", u"12", u"12"},
        {"numeric paste of text refused", edNumeric, 0, u"7", u"1a", u"7"},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->Columns()->Items(kMnemonic)->SetEditor(c.kind);
        grid->Columns()->Items(kMnemonic)->EditLength = c.limit;
        grid->SetCells(kMnemonic, 2, u"");
        ClickCell(kMnemonic, 2);
        pt::Key(plat::VK_F2);
        ASSERT_TRUE(NormalEditorOpen());
        pt::Type(c.typed);
        if (c.paste) {
            plat::Clipboard().SetAsText(c.paste);
            pt::Key('V', plat::ssCtrl);
        }
        pt::Key(plat::VK_RETURN);
        EXPECT_EQ(grid->Cells(kMnemonic, 2), c.expected);
    }
}

TEST_P(GridEditTest, EnterOnACellThatMayNotBeEditedOnlyReachesOnKeyPress) {
    grid->Columns()->Items(kAddress)->ReadOnly = true;
    grid->SetCells(kAddress, 2, u"keep");
    std::vector<char16_t> keys;
    grid->OnKeyPress = [&](plat::TObject*, char16_t& k) { keys.push_back(k); };
    ClickCell(kAddress, 2);
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(keys, (std::vector<char16_t>{u'\r'}));
    EXPECT_FALSE(NormalEditorOpen());
    EXPECT_EQ(grid->Col(), D(kAddress));
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(kAddress, 2), u"keep");
}

struct ComboKeyCase {
    const char* name;
    std::uint16_t key;
    plat::TShiftState shift;
    bool open;         // the combo is still open
    int col;           // real column of the current cell afterwards
    const char16_t* cell;
};

TEST_P(GridEditTest, KeysOfTheListCombo) {
    const ComboKeyCase cases[] = {
        {"Down changes the choice", plat::VK_DOWN, 0, true, kType, u"Coil"},
        {"Left leaves to the left", plat::VK_LEFT, 0, false, kSlave, u"Discrete"},
        {"Right leaves to the right", plat::VK_RIGHT, 0, false, kAddress, u"Discrete"},
        {"Escape restores", plat::VK_ESCAPE, 0, false, kType, u"Coil"},
        {"Alt+Down opens the list", plat::VK_DOWN, plat::ssAlt, true, kType, u"Coil"},
    };
    for (const ComboKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kType, 2, u"Coil");
        ClickCell(kType, 2);
        pt::Key(plat::VK_F2);
        ASSERT_TRUE(ComboOpen());
        if (c.key != plat::VK_DOWN) pt::Key(plat::VK_DOWN);  // choose "Discrete" first
        pt::Key(c.key, c.shift);
        EXPECT_EQ(ComboOpen(), c.open);
        EXPECT_EQ(grid->Col(), D(c.col));
        if (c.shift & plat::ssAlt) EXPECT_TRUE(grid->Combobox()->DroppedDown());
        if (c.open) {
            pt::Key(plat::VK_ESCAPE);
            if (grid->Combobox()->Visible()) pt::Key(plat::VK_ESCAPE);
        }
        EXPECT_EQ(grid->Cells(kType, 2), c.cell);
    }
}

// A closed edit-style combo keeps Left, Right and End for its caret and leaves with Up and
// Down; Escape restores a text that is no item.
TEST_P(GridEditTest, KeysOfTheEditCombo) {
    const ComboKeyCase cases[] = {
        {"Down commits and moves down", plat::VK_DOWN, 0, false, kTopic, u"new"},
        {"Up commits and moves up", plat::VK_UP, 0, false, kTopic, u"new"},
        {"End stays in the text", plat::VK_END, 0, true, kTopic, u"new"},
        {"Left stays in the text", plat::VK_LEFT, 0, true, kTopic, u"new"},
        {"Escape restores", plat::VK_ESCAPE, 0, false, kTopic, u"zz"},
        {"Alt+Down opens the list", plat::VK_DOWN, plat::ssAlt, true, kTopic, u"new"},
    };
    for (const ComboKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kTopic, 2, u"zz");
        ClickCell(kSlave, 2);
        ClickCell(kTopic, 2);
        pt::Type(u"new");
        ASSERT_TRUE(ComboOpen());
        pt::Key(c.key, c.shift);
        EXPECT_EQ(ComboOpen(), c.open);
        EXPECT_EQ(grid->Col(), D(c.col));
        const int row = c.key == plat::VK_DOWN && !c.shift ? 3 : c.key == plat::VK_UP ? 1 : 2;
        EXPECT_EQ(grid->Row(), row);
        if (c.shift & plat::ssAlt) {
            EXPECT_TRUE(grid->Combobox()->DroppedDown());
            pt::Key(plat::VK_DOWN, plat::ssAlt);
        }
        if (c.open) pt::Key(plat::VK_RETURN);
        EXPECT_FALSE(ComboOpen());
        EXPECT_EQ(grid->Cells(kTopic, 2), c.cell);
    }
}

// Look-up: "ab" over "Abc" and "abd" (case-insensitive) selects the first item and shows it
// with the completed letter selected; Backspace removes the selection without completing
// again; LookupItems complete a text that no item starts with.
TEST_P(GridEditTest, ComboLookUpCompletesFromItemsThenLookupItems) {
    grid->Lookup = true;
    ClickCell(kTopic, 2);
    pt::Type(u"ab");
    ASSERT_TRUE(ComboOpen());
    TGridCombo* c = grid->Combobox();
    EXPECT_EQ(c->Text(), u"Abc");
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(c->EditControl()->SelStart(), 2);
    EXPECT_EQ(c->EditControl()->SelLength(), 1);
    ASSERT_FALSE(combo.empty());
    EXPECT_EQ(combo.back().col, kTopic);
    EXPECT_EQ(combo.back().index, 0);
    pt::Key(plat::VK_BACK);
    EXPECT_EQ(c->Text(), u"Ab");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 2), u"Ab");

    // Case-sensitive, "ab" finds "abd".
    grid->LookupCaseSensitive = true;
    ClickCell(kTopic, 3);
    pt::Type(u"ab");
    EXPECT_EQ(c->Text(), u"abd");
    EXPECT_EQ(c->ItemIndex(), 1);
    pt::Key(plat::VK_ESCAPE);

    grid->LookupCaseSensitive = false;
    grid->LookupItems()->Add(u"Zeta");
    ClickCell(kTopic, 4);
    pt::Type(u"z");
    const int selected = c->ItemIndex();
    pt::Type(u"e");
    EXPECT_EQ(c->Text(), u"zeta");
    EXPECT_EQ(c->ItemIndex(), selected);  // the items' choice stays
    EXPECT_EQ(c->EditControl()->SelStart(), 2);
    EXPECT_EQ(c->EditControl()->SelLength(), 2);
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 4), u"zeta");

    // Without Lookup nothing is completed.
    grid->Lookup = false;
    ClickCell(kTopic, 5);
    pt::Type(u"ab");
    EXPECT_EQ(c->Text(), u"ab");
    pt::Key(plat::VK_RETURN);
}

// LookupHistory: a new text of an edit-style combo joins its items once.
TEST_P(GridEditTest, ComboLookupHistoryKeepsANewText) {
    grid->LookupHistory = true;
    ClickCell(kTopic, 2);
    pt::Type(u"fresh");
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(grid->Cells(kTopic, 2), u"fresh");
    auto* items = grid->Combobox()->Items();
    EXPECT_EQ(items->IndexOf(u"fresh"), 3);
    EXPECT_EQ(items->Count(), 4);
    ClickCell(kTopic, 3);
    pt::Type(u"fresh");
    pt::Key(plat::VK_RETURN);
    int n = 0;
    for (int i = 0; i < items->Count(); ++i) n += items->At(i) == u"fresh";
    EXPECT_EQ(n, 1);
    EXPECT_EQ(items->IndexOf(u"Abc"), 0);
}

TEST_P(GridEditTest, FocusLeavingTheGridValidatesAndEndsTheEdit) {
    struct Case {
        const char* name;
        bool valid;
        const char16_t* expected;
    };
    for (const Case& c : {Case{"accepted", true, u"abc"}, Case{"refused", false, u"3"}}) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kSlave, 3, u"3");
        editingDone = 0;
        int validations = 0;
        grid->OnCellValidate = [&](plat::TObject*, int, int, String&, bool& ok) {
            ++validations;
            ok = c.valid;
        };
        ClickCell(kSlave, 3);
        pt::Type(u"abc");
        pt::Click(other, 5, 5);
        pt::ProcessEvents();
        EXPECT_EQ(validations, 1);
        EXPECT_EQ(grid->Cells(kSlave, 3), c.expected);
        if (c.valid) {
            EXPECT_FALSE(NormalEditorOpen());
            EXPECT_EQ(editingDone, 1);
        } else {
            // A refused value keeps the editor on the cell with the old text.
            EXPECT_TRUE(NormalEditorOpen());
            EXPECT_EQ(grid->NormalEdit()->Text(), u"3");
            grid->OnCellValidate = nullptr;
            pt::Key(plat::VK_ESCAPE);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, GridEditTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "Hidden" : "Shown"; });

} // namespace

namespace {

// The automatic advance on a 4 x 4 string grid (one fixed row and column) with goEditing.
class AdvanceCellTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Fill(4, 4);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        grid->SetOptions(o.Include(plat::goEditing));
        grid->Navigation()->AdvanceOnEnter = true;
        form->Show();
        pt::ProcessEvents();
    }
};

struct AdvanceCase {
    const char* name;
    TAdvanceDirection dir;
    bool insert, loop, forward;
    TPoint start;
    TPoint expected;
    int rows;  // RowCount afterwards
};

TEST_F(AdvanceCellTest, OneStepFollowsTheDirectionAndTheEndRules) {
    const AdvanceCase cases[] = {
        {"next column", adLeftRight, false, true, true, {1, 1}, {2, 1}, 4},
        {"row end to the next row", adLeftRight, false, true, true, {3, 1}, {1, 2}, 4},
        {"grid end wraps with the loop", adLeftRight, false, true, true, {3, 3}, {1, 1}, 4},
        {"grid end stays without the loop", adLeftRight, false, false, true, {3, 3}, {3, 3}, 4},
        {"grid end adds a row", adLeftRight, true, false, true, {3, 3}, {1, 4}, 5},
        {"in row, end without the loop stays", adLeftRightInRow, false, false, true, {3, 2}, {3, 2}, 4},
        {"in row, end wraps in the row", adLeftRightInRow, false, true, true, {3, 2}, {1, 2}, 4},
        {"top to bottom", adTopBottom, false, true, true, {2, 1}, {2, 2}, 4},
        {"column end to the next column", adTopBottom, false, true, true, {2, 3}, {3, 1}, 4},
        {"in column wraps", adTopBottomInCol, false, true, true, {2, 3}, {2, 1}, 4},
        {"backward to the previous row's end", adLeftRight, false, true, false, {1, 2}, {3, 1}, 4},
        {"backward from the first cell to the last row", adLeftRight, false, true, false, {1, 1}, {3, 3}, 4},
    };
    for (const AdvanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetRowCount(4);
        grid->Navigation()->SetAdvanceDirection(c.dir);
        grid->Navigation()->SetAdvanceInsert(c.insert);
        grid->Navigation()->AdvanceOnEnterLoop = c.loop;
        int added = -1;
        grid->OnAutoAddRow = [&](plat::TObject*, int r) { added = r; };
        grid->MoveColRow(c.start.X, c.start.Y, true, true);
        grid->AdvanceCell(c.start.X, c.start.Y, false, false, c.forward, false, false);
        EXPECT_EQ(grid->Col(), c.expected.X);
        EXPECT_EQ(grid->Row(), c.expected.Y);
        EXPECT_EQ(grid->RowCount(), c.rows);
        EXPECT_EQ(added, c.rows == 5 ? 4 : -1);
    }
}

TEST_F(AdvanceCellTest, RefusalsKeepOrRedirectTheCell) {
    grid->Navigation()->SetAdvanceInsert(true);
    grid->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
    grid->MoveColRow(3, 3, true, true);
    grid->AdvanceCell(3, 3, false, false, true, false, false);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 3);

    grid->OnAutoAdvance = [](plat::TObject*, int, int, int&, int&, bool& allow) { allow = false; };
    grid->MoveColRow(1, 2, true, true);
    grid->AdvanceCell(1, 2, false, false, true, false, false);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);

    grid->OnAutoAdvance = [](plat::TObject*, int, int, int& r, int& c, bool&) { r = 3, c = 3; };
    grid->AdvanceCell(1, 2, false, false, true, false, false);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(AdvanceCellTest, ReadOnlyCellsArePassedAndAGridWithoutAnyEndsTheSearch) {
    grid->SetReadOnly(2, 1, true);
    grid->SetReadOnly(3, 1, true);
    grid->MoveColRow(1, 1, true, true);
    grid->AdvanceCell(1, 1, false, false, true, false, false);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
    // Nothing editable: one pass, and the cell stays.
    grid->OnCanEditCell = [](plat::TObject*, int, int, bool& can) { can = false; };
    grid->AdvanceCell(1, 2, false, false, true, false, false);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
    // Without AdvanceOnEnter (and without Force) nothing moves.
    grid->OnCanEditCell = nullptr;
    grid->Navigation()->AdvanceOnEnter = false;
    grid->AdvanceCell(1, 2, false, false, true, false, false);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
}

} // namespace

namespace {

class IncrementalSearchTest : public grid::testing::GridFixture<TExtStringGrid> {};

TEST_F(IncrementalSearchTest, TypedKeysGoToTheFirstRowStartingWithTheSearchText) {
    Fill(3, 6);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    const char16_t* names[] = {u"alpha", u"Beta", u"bravo", u"Abel", u"charlie"};
    for (int r = 1; r < 6; ++r) grid->SetCells(1, r, names[r - 1]);
    grid->Navigation()->AutoGotoWhenSorted = true;
    grid->Navigation()->AutoGotoIncremental = true;
    form->Show();
    pt::ProcessEvents();
    grid->SetFocus();
    pt::Type(u"b");
    EXPECT_EQ(grid->Row(), 2);
    pt::Type(u"r");
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->SearchInc, u"br");
    pt::Key(plat::VK_BACK);
    EXPECT_EQ(grid->SearchInc, u"b");
    // No match clears the search text and leaves the row.
    pt::Type(u"x");
    EXPECT_EQ(grid->SearchInc, u"");
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(grid->NormalEdit()->Visible());
    // Without AutoGotoIncremental the search text is the last key alone.
    grid->Navigation()->AutoGotoIncremental = false;
    pt::Type(u"c");
    EXPECT_EQ(grid->Row(), 5);
    pt::Type(u"a");
    EXPECT_EQ(grid->Row(), 1);
}

} // namespace

// The spin kinds through the key path on the read table: F2 opens the spin editor with the
// cell's value, keys act on it, Enter commits through the kind's setter.
struct SpinCase {
    const char* name;
    TEditorType editor;
    const char16_t* start;
    std::vector<std::uint16_t> keys;
    const char16_t* expected;
    int spinClicks;  // OnSpinClick events expected
};

TEST_P(GridEditTest, SpinEditorKeysAndCommit) {
    grid->Columns()->Items(kAddress)->SpinMin = 0;
    grid->Columns()->Items(kAddress)->SpinMax = 40;
    const std::vector<SpinCase> cases = {
        {"Enter keeps the value", edSpinEdit, u"7", {plat::VK_RETURN}, u"7", 0},
        {"Up steps by one", edSpinEdit, u"7", {plat::VK_UP, plat::VK_RETURN}, u"8", 0},
        {"Home jumps to the column's maximum", edSpinEdit, u"7", {plat::VK_HOME, plat::VK_RETURN}, u"40", 1},
        {"End jumps to the minimum", edSpinEdit, u"7", {plat::VK_END, plat::VK_RETURN}, u"0", 1},
        {"Escape keeps the old text", edSpinEdit, u"7", {plat::VK_UP, plat::VK_ESCAPE}, u"7", 0},
        {"a text that is no number opens as 0", edSpinEdit, u"abc", {plat::VK_RETURN}, u"0", 0},
    };
    for (const SpinCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->Columns()->Items(kAddress)->SetEditor(c.editor);
        grid->SetCells(kAddress, 2, c.start);
        ClickCell(kAddress, 2);
        std::vector<std::pair<int, bool>> clicks;
        grid->OnSpinClick = [&](plat::TObject*, int col, int, int, bool up) { clicks.push_back({col, up}); };
        pt::Key(plat::VK_F2);
        pt::ProcessEvents();
        ASSERT_TRUE(grid->SpinEdit()->Visible());
        EXPECT_TRUE(grid->SpinEdit()->Focused());
        for (std::uint16_t k : c.keys) pt::Key(k);
        pt::ProcessEvents();
        EXPECT_FALSE(grid->SpinEdit()->Visible());
        EXPECT_EQ(grid->Cells(kAddress, 2), c.expected);
        ASSERT_EQ(static_cast<int>(clicks.size()), c.spinClicks);
        for (const auto& [col, up] : clicks) EXPECT_EQ(col, kAddress);
        grid->OnSpinClick = nullptr;
    }
}

TEST_P(GridEditTest, RefusedSpinValueKeepsTheEditorOpen) {
    grid->Columns()->Items(kAddress)->SetEditor(edSpinEdit);
    grid->Columns()->Items(kAddress)->SpinMax = 40;
    grid->SetCells(kAddress, 3, u"5");
    grid->OnCellValidate = [](plat::TObject*, int, int, String& value, bool& valid) { valid = value != u"6"; };
    ClickCell(kAddress, 3);
    pt::Key(plat::VK_F2);
    pt::Key(plat::VK_UP);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_TRUE(grid->SpinEdit()->Visible()) << "a refused value closed the editor";
    EXPECT_EQ(grid->Cells(kAddress, 3), u"5");
    pt::Key(plat::VK_UP);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->SpinEdit()->Visible());
    EXPECT_EQ(grid->Cells(kAddress, 3), u"7");
}
