// Editors of the form controls inside cell markup (EDIT, PASSWORD, MASK, COMBO) through the
// real event path: a click on a control opens its editor over it, Enter and leaving write the
// value back into the control, Tab goes on to the cell's next control. Every test runs once
// with real column 1 hidden, so that shown and real indexes differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../GridFixture.h"
#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "GridControlEdit.h"
#include "GridEditors.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;
using plat::TPoint;

namespace {

constexpr int kCol = 3, kRow = 3;

String Ctrl(const char* type, const char* id, const char* value, int width, const char* extra = "") {
    return u"<CONTROL TYPE=\"" + plat::Utf8ToString(type) + u"\" ID=\"" + plat::Utf8ToString(id) + u"\" VALUE=\"" +
           plat::Utf8ToString(value) + u"\" WIDTH=\"" + plat::IntToStr(width) + u"\"" + plat::Utf8ToString(extra) + u">";
}

class GridControlEditTest : public grid::testing::GridFixture<TExtStringGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 580, 420);
        Fill(6, 8);
        for (int r = 0; r < 8; ++r) grid->SetRowHeights(r, 32);
        for (int c = 0; c < 6; ++c) grid->SetColWidths(c, 70);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goEditing);
        grid->SetOptions(o);
        if (GetParam()) grid->HideColumn(1);
        grid->SetColWidths(D(kCol), 260);
        grid->OnControlEditDone = [this](plat::TObject*, int ARow, int ACol, const String& ID, const String& Type,
                                         const String& Val) {
            done.push_back(std::to_string(ARow) + "," + std::to_string(ACol) + " " + plat::StringToUtf8(ID) + " " +
                           plat::StringToUtf8(Type) + " " + plat::StringToUtf8(Val));
        };
        form->Show();
        pt::ProcessEvents();
        grid->SetFocus();
    }
    int D(int real) { return grid->DisplColIndex(real); }
    // The control's rectangle in grid coordinates, found as the cell lays it out.
    plat::TRect ControlRect(const String& id) {
        const plat::TRect r = grid->CellRect(D(kCol), kRow);
        plat::TBitmap scratch(r.Width(), r.Height());
        scratch.Canvas()->Font()->Assign(*grid->Font());
        TMarkupDrawInput in;
        in.Canvas = scratch.Canvas();
        const String text = grid->Cells(kCol, kRow);
        in.Text = text;
        in.Rect = plat::Rect(grid->XYOffset().X + 1, grid->XYOffset().Y + 1, r.Width() - grid->XYOffset().X, r.Height());
        in.FindControl = true;
        in.ControlID = id;
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        EXPECT_EQ(out.ControlID, id);
        const plat::TRect& c = out.ControlRect;
        return plat::Rect(c.Left + r.Left, c.Top + r.Top, c.Right + r.Left, c.Bottom + r.Top);
    }
    void ClickControl(const String& id) {
        const plat::TRect c = ControlRect(id);
        pt::Click(grid, (c.Left + c.Right) / 2, c.Bottom - 6);
        pt::ProcessEvents();
    }
    String Value(const String& id) {
        String v;
        EXPECT_TRUE(GetMarkupControlValue(grid->Cells(kCol, kRow), id, v));
        return v;
    }
    std::string Done(const char* id, const char* type, const char* value) {
        return std::to_string(kRow) + "," + std::to_string(kCol) + " " + id + " " + type + " " + value;
    }
    std::vector<std::string> done;
};

INSTANTIATE_TEST_SUITE_P(ShownAndHidden, GridControlEditTest, ::testing::Bool());

// Each text-taking type opens the edit over the control with the control's value and
// settings; Enter writes the typed value into that control only and focuses the grid.
TEST_P(GridControlEditTest, AClickOpensTheEditOverTheControlAndEnterWritesItBack) {
    struct Case {
        const char* name;
        const char* type;
        const char* extra;
        char16_t password;
        String mask;
        int maxLen;
        String typed, expected;
    };
    const Case cases[] = {
        {"edit with MAXLEN", "EDIT", " MAXLEN=\"5\"", 0, String(), 5, u"defgh", u"abcde"},
        {"password", "PASSWORD", "", u'*', String(), 0, u"d", u"abcd"},
        {"mask from PROP", "MASK", " PROP=\"llllll;1;_\"", 0, u"llllll;1;_", 0, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        done.clear();
        const String text = u"x " + Ctrl(c.type, "e1", "abc", 90, c.extra) + u" " + Ctrl("EDIT", "e2", "q", 60);
        grid->SetCells(kCol, kRow, text);
        ClickControl(u"e1");
        TControlEdit* e = grid->ControlEdit();
        ASSERT_TRUE(e->Visible());
        EXPECT_TRUE(grid->ControlEditing());
        EXPECT_TRUE(e->Focused());
        EXPECT_EQ(e->PasswordChar(), c.password);
        EXPECT_EQ(e->EditMask(), c.mask);
        EXPECT_EQ(e->MaxLength(), c.maxLen);
        const plat::TRect r = ControlRect(u"e1");
        EXPECT_EQ(e->BoundsRect(), plat::Rect(r.Left + 1, r.Top + 8, r.Right - 3, r.Top + 22));
        EXPECT_EQ(e->Text().substr(0, 3), u"abc");
        if (c.mask.empty()) {
            pt::Key(plat::VK_END);
            pt::Type(c.typed);
        }
        const String shown = e->Text();
        if (c.mask.empty()) {
            EXPECT_EQ(shown, c.expected);
        }
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        EXPECT_FALSE(e->Visible());
        EXPECT_FALSE(grid->ControlEditing());
        EXPECT_TRUE(grid->Focused());
        EXPECT_EQ(Value(u"e1"), shown);
        EXPECT_EQ(Value(u"e2"), u"q");
        EXPECT_EQ(done, std::vector<std::string>{Done("e1", c.type, plat::StringToUtf8(shown).c_str())});
    }
}

// Tab writes the value and opens the next control that takes text (the CHECK between is
// passed); after the last one the grid has the focus. A click elsewhere writes the value too.
TEST_P(GridControlEditTest, TabGoesOnToTheNextTextControlAndLeavingWritesTheValue) {
    grid->SetCells(kCol, kRow,
                   Ctrl("EDIT", "a", "1", 50) + Ctrl("CHECK", "b", "FALSE", 20) + Ctrl("EDIT", "c", "2", 50));
    ClickControl(u"a");
    TControlEdit* e = grid->ControlEdit();
    ASSERT_TRUE(e->Visible());
    pt::Key(plat::VK_END);
    pt::Type(u"x");
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_EQ(Value(u"a"), u"1x");
    ASSERT_TRUE(e->Visible());
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->Text(), u"2");
    const plat::TRect r = ControlRect(u"c");
    EXPECT_EQ(e->Left(), r.Left + 1);
    pt::Key(plat::VK_END);
    pt::Type(u"y");
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_EQ(Value(u"c"), u"2y");
    EXPECT_FALSE(e->Visible());
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(done, (std::vector<std::string>{Done("a", "EDIT", "1x"), Done("c", "EDIT", "2y")}));

    // Leaving by a click on another cell writes the value as well.
    done.clear();
    ClickControl(u"a");
    ASSERT_TRUE(e->Visible());
    pt::Key(plat::VK_END);
    pt::Type(u"z");
    const plat::TRect other = grid->CellRect(D(2), 5);
    pt::Click(grid, other.Left + 5, other.Top + 5);
    pt::ProcessEvents();
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(Value(u"a"), u"1xz");
    EXPECT_EQ(done, std::vector<std::string>{Done("a", "EDIT", "1xz")});
}

// With Navigation.AdvanceAuto Tab goes on to the next cell instead of the next control.
TEST_P(GridControlEditTest, TabWithAdvanceAutoGoesToTheNextCell) {
    grid->Navigation()->SetAdvanceAuto(true);
    grid->SetCells(kCol, kRow, Ctrl("EDIT", "a", "1", 50) + Ctrl("EDIT", "c", "2", 50));
    ClickControl(u"a");
    ASSERT_TRUE(grid->ControlEdit()->Visible());
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->ControlEdit()->Visible());
    EXPECT_EQ(grid->Row(), kRow);
    EXPECT_EQ(grid->Col(), D(kCol) + 1);
}

// Enter or F2 on a cell with controls opens its first control that takes text; a cell that
// may not be edited opens nothing.
TEST_P(GridControlEditTest, EnterAndF2OpenTheFirstTextControlOfAnEditableCell) {
    struct Case {
        const char* name;
        std::uint16_t key;
        bool readOnly;
    };
    const Case cases[] = {{"Enter", plat::VK_RETURN, false}, {"F2", plat::VK_F2, false}, {"read-only", plat::VK_F2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetReadOnly(kCol, kRow, c.readOnly);
        grid->SetCells(kCol, kRow, Ctrl("CHECK", "b", "FALSE", 20) + Ctrl("EDIT", "a", "v", 60));
        grid->FocusCell(D(kCol), kRow);
        grid->SetFocus();
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(grid->ControlEdit()->Visible(), !c.readOnly);
        if (!c.readOnly) {
            EXPECT_EQ(grid->ControlEdit()->Text(), u"v");
            pt::Key(plat::VK_RETURN);
            pt::ProcessEvents();
        }
        EXPECT_FALSE(grid->ControlEditing());
        EXPECT_FALSE(grid->NormalEdit()->Visible());
    }
}

// A COMBO control takes its items, style and list length from OnControlComboList, opens
// dropped down on its value; a picked item fires OnControlComboSelect and Enter writes it.
TEST_P(GridControlEditTest, AComboControlTakesItsItemsFromTheEventAndWritesThePickedItem) {
    grid->SetCells(kCol, kRow, u"mode " + Ctrl("COMBO", "m", "two", 110));
    int listed = 0;
    grid->OnControlComboList = [&](plat::TObject*, int ARow, int ACol, const String& ID, const String& Type,
                                   const String& Val, plat::TStrings* Values, bool& Edit, int& DropCount) {
        ++listed;
        EXPECT_EQ(ARow, kRow);
        EXPECT_EQ(ACol, kCol);
        EXPECT_EQ(ID, u"m");
        EXPECT_EQ(Type, u"COMBO");
        EXPECT_EQ(Val, u"two");
        EXPECT_TRUE(Edit);
        EXPECT_EQ(DropCount, 8);
        Values->Add(u"one");
        Values->Add(u"two");
        Values->Add(u"three");
        Edit = false;
        DropCount = 3;
    };
    std::vector<std::string> selected;
    grid->OnControlComboSelect = [&](plat::TObject*, int ARow, int ACol, int ItemIndex, const String& ID,
                                     const String& Val) {
        selected.push_back(std::to_string(ARow) + "," + std::to_string(ACol) + " " + std::to_string(ItemIndex) + " " +
                           plat::StringToUtf8(ID) + " " + plat::StringToUtf8(Val));
    };
    ClickControl(u"m");
    TControlCombo* c = grid->ControlCombo();
    ASSERT_TRUE(c->Visible());
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(c->Style(), plat::csDropDownList);
    EXPECT_EQ(c->DropDownCount(), 3);
    EXPECT_TRUE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
    const plat::TRect r = ControlRect(u"m");
    EXPECT_EQ(c->Left(), r.Left - 1);
    EXPECT_EQ(c->Top(), r.Top + 4);
    EXPECT_EQ(c->Width(), r.Width());
    pt::Key(plat::VK_DOWN);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(selected, std::vector<std::string>{std::to_string(kRow) + "," + std::to_string(kCol) + " 2 m three"});
    ASSERT_TRUE(c->Visible());
    EXPECT_FALSE(c->DroppedDown());
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(c->Visible());
    EXPECT_EQ(Value(u"m"), u"three");
    EXPECT_EQ(done, std::vector<std::string>{Done("m", "COMBO", "three")});
    EXPECT_TRUE(grid->Focused());
}

} // namespace
