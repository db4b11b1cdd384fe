// The custom editor link of edCustom cells through the real event path: an application's
// edit plugged in over the cell or in a popup form, the keys that end it, validation and the
// column's link. Every case runs once with real column 1 hidden (events carry real columns).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridEditLink.h"
#include "GridEditors.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

enum Real { kNum, kSpare, kCustom, kText, kColCount };

// A link whose control is a plain edit; its keys go to EditKeyDown.
class EditBoxLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    void CreateEditor(plat::TWinControl* AParent) override {
        if (!edit) {
            edit = new plat::TEdit(this);
            edit->OnKeyDown = [this](plat::TObject* s, std::uint16_t& k, plat::TShiftState sh) { EditKeyDown(s, k, sh); };
            edit->OnExit = [this](plat::TObject* s) { EditExit(s); };
        }
        edit->SetParent(AParent);
        ++created;
    }
    plat::TWinControl* GetEditControl() override { return edit; }
    String GetEditorValue() override { return edit ? edit->Text() : String(); }
    void SetEditorValue(const String& S) override {
        if (edit) edit->SetText(S);
    }
    // The text stands selected once the edit has the focus.
    void SetFocus(bool Value) override {
        TEditLink::SetFocus(Value);
        if (Value && edit) edit->SelectAll();
    }
    plat::TEdit* edit = nullptr;
    int created = 0;
};

class GridEditLinkTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 500, 300);
        grid->SetColCount(kColCount);
        grid->SetRowCount(5);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goEditing);
        grid->SetOptions(o);
        for (int c = 0; c < kColCount; ++c) {
            grid->Columns()->Items(c)->SetEditor(c == kCustom ? edCustom : edNormal);
            grid->Columns()->Items(c)->SetWidth(90);
        }
        for (int r = 1; r < 5; ++r) grid->SetCells(kCustom, r, u"old" + plat::IntToStr(r));
        link = new EditBoxLink(form.get());
        grid->Columns()->Items(kCustom)->EditLink = link;
        if (GetParam()) grid->HideColumn(kSpare);
        grid->OnEditingDone = [this](plat::TObject*) { ++editingDone; };
        form->Show();
        pt::ProcessEvents();
    }
    // Goes to the cell from its right neighbour (a click on the current cell would open the
    // editor under the mouse) and opens the editor with F2.
    void Open(int row) {
        const plat::TRect r = grid->CellRect(grid->DisplColIndex(kText), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
        pt::Key(plat::VK_LEFT);
        pt::Key(plat::VK_F2);
        pt::ProcessEvents();
    }
    bool LinkOpen() { return link->edit && link->edit->Visible() && grid->EditMode; }

    EditBoxLink* link = nullptr;
    int editingDone = 0;
};

TEST_P(GridEditLinkTest, InplaceLinkOpensOverTheCellAndEnterCommits) {
    Open(1);
    ASSERT_TRUE(LinkOpen());
    EXPECT_EQ(link->Grid(), grid);
    EXPECT_EQ(link->EditCell(), plat::TPoint(kCustom, 1));
    EXPECT_EQ(link->edit->Text(), u"old1");
    EXPECT_EQ(link->edit->Parent(), grid);
    const plat::TRect cell = grid->CellRect(grid->DisplColIndex(kCustom), 1);
    EXPECT_EQ(link->edit->BoundsRect(), plat::TRect(cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1));
    pt::Type(u"new");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(LinkOpen());
    EXPECT_FALSE(link->edit->Visible());
    EXPECT_EQ(grid->Cells(kCustom, 1), u"new");
    EXPECT_EQ(editingDone, 1);
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(grid->Row(), 1);

    // With AdvanceOnEnter the edit moves on (backwards with Shift).
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->SetAdvanceDirection(adTopBottom);
    Open(2);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Cells(kCustom, 2), u"old2");
    Open(3);
    pt::Key(plat::VK_RETURN, plat::ssShift);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Row(), 2);
}

struct KeyCase {
    const char* name;
    std::uint16_t key;
    bool want;       // the link keeps the key (its Want setting)
    bool stillOpen;  // the control still edits afterwards
    const char16_t* cell;
    int row;         // the current row afterwards
};

TEST_P(GridEditLinkTest, KeysEndTheEditUnlessTheLinkWantsThem) {
    const KeyCase cases[] = {
        {"Escape restores", plat::VK_ESCAPE, false, false, u"old2", 2},
        {"Home stays in the control", plat::VK_HOME, false, true, u"typed", 2},
        {"End ends the edit", plat::VK_END, false, false, u"typed", 2},
        {"Down ends and moves", plat::VK_DOWN, false, false, u"typed", 3},
        {"WantKeyUpDown keeps Down", plat::VK_DOWN, true, true, u"typed", 2},
        {"WantKeyReturn keeps Enter", plat::VK_RETURN, true, true, u"typed", 2},
        {"WantKeyEscape keeps Escape", plat::VK_ESCAPE, true, true, u"typed", 2},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(kCustom, 2, u"old2");
        link->WantKeyUpDown = c.want && c.key == plat::VK_DOWN;
        link->WantKeyReturn = c.want && c.key == plat::VK_RETURN;
        link->WantKeyEscape = c.want && c.key == plat::VK_ESCAPE;
        Open(2);
        ASSERT_TRUE(LinkOpen());
        pt::Type(u"typed");
        pt::Key(c.key);
        pt::ProcessEvents();
        EXPECT_EQ(LinkOpen(), c.stillOpen);
        if (c.stillOpen) {
            link->WantKeyReturn = false;
            pt::Key(plat::VK_RETURN);
            pt::ProcessEvents();
            ASSERT_FALSE(LinkOpen());
        }
        EXPECT_EQ(grid->Cells(kCustom, 2), c.cell);
        EXPECT_EQ(grid->Row(), c.row);
        grid->SetRow(2);
    }
}

// With goTabs the grid's window procedure stands in front of an inplace link's control while
// it edits: the control asks for Tab, so Tab reaches the link (the value is committed and the
// next editable cell's editor opens) instead of moving the focus on. The control's own
// procedure is back when the edit ends.
TEST_P(GridEditLinkTest, WithGoTabsTabInTheLinkMovesToTheNextCell) {
    Open(1);
    ASSERT_TRUE(LinkOpen());
    auto wantsTab = [&] { return (link->edit->Perform(plat::WM_GETDLGCODE) & plat::DLGC_WANTTAB) != 0; };
    EXPECT_FALSE(wantsTab()) << "without goTabs";
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    ASSERT_FALSE(LinkOpen());
    EXPECT_FALSE(link->edit->WindowProc());

    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goTabs));
    Open(1);
    ASSERT_TRUE(LinkOpen());
    EXPECT_TRUE(wantsTab());
    pt::Type(u"new");
    pt::Key(plat::VK_TAB);
    pt::ProcessEvents();
    EXPECT_FALSE(LinkOpen());
    EXPECT_EQ(grid->Cells(kCustom, 1), u"new");
    EXPECT_EQ(grid->Col(), grid->DisplColIndex(kText));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(grid->NormalEdit()->Visible()) << "the next cell's editor opens";
    EXPECT_FALSE(link->edit->WindowProc());
    EXPECT_FALSE(wantsTab());
}

// Validation: a refusal keeps the editor open on the cell with the old text (or the value
// the handler set); the link's value reaches OnCellValidate with the real column.
TEST_P(GridEditLinkTest, RefusedValueKeepsTheLinkOpen) {
    int validations = 0, validatedCol = -1;
    String replacement;
    grid->OnCellValidate = [&](plat::TObject*, int c, int, String& v, bool& valid) {
        ++validations;
        validatedCol = c;
        valid = false;
        if (!replacement.empty()) v = replacement;
    };
    Open(1);
    pt::Type(u"bad");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(validations, 1);
    EXPECT_EQ(validatedCol, kCustom);
    EXPECT_TRUE(LinkOpen());
    EXPECT_EQ(link->edit->Text(), u"old1");
    EXPECT_EQ(grid->Cells(kCustom, 1), u"old1");
    EXPECT_EQ(grid->Row(), 1);

    replacement = u"fixed";
    pt::Type(u"bad");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_TRUE(LinkOpen());
    EXPECT_EQ(link->edit->Text(), u"fixed");

    grid->OnCellValidate = nullptr;
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(LinkOpen());
    EXPECT_EQ(grid->Cells(kCustom, 1), u"fixed");
}

// A popup link with PopupLeft -1 opens its form at the cell's top-left corner on the screen,
// sized PopupWidth x PopupHeight (the cell's width with AutoPopupWidth); Enter commits and
// hides the form.
TEST_P(GridEditLinkTest, PopupLinkOpensAtTheCellInABorderlessForm) {
    link->EditStyle = esPopup;
    link->PopupWidth = 160;
    link->PopupHeight = 60;
    Open(2);
    plat::TForm* popup = link->PopupForm();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Name(), u"gridform");
    EXPECT_TRUE(popup->Visible());
    EXPECT_EQ(popup->FormStyle(), plat::fsStayOnTop);
    const plat::TRect cell = grid->CellRect(grid->DisplColIndex(kCustom), 2);
    const plat::TPoint corner = grid->ClientToScreen({cell.Left, cell.Top});
    EXPECT_EQ(popup->ClientToScreen({0, 0}), corner);
    EXPECT_EQ(popup->ClientWidth(), 160);
    EXPECT_EQ(popup->ClientHeight(), 60);
    EXPECT_EQ(link->edit->Parent(), popup);
    EXPECT_EQ(link->edit->Width(), 160 - grid->GridLineWidth());
    EXPECT_EQ(link->edit->Text(), u"old2");
    pt::Type(u"popped");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(popup->Visible());
    EXPECT_EQ(grid->Cells(kCustom, 2), u"popped");
    EXPECT_EQ(editingDone, 1);

    // One form of that name: a second link frees the first one's form.
    auto* other = new EditBoxLink(form.get());
    other->EditStyle = esPopup;
    other->AutoPopupWidth = true;
    grid->Columns()->Items(kCustom)->EditLink = other;
    Open(3);
    ASSERT_NE(other->PopupForm(), nullptr);
    EXPECT_EQ(link->PopupForm(), nullptr);
    EXPECT_EQ(other->PopupWidth, cell.Right - cell.Left);
    pt::Key(plat::VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(kCustom, 3), u"old3");
}

TEST_P(GridEditLinkTest, WithoutALinkACustomCellOpensNothing) {
    grid->Columns()->Items(kCustom)->EditLink = nullptr;
    grid->SetEditLink(nullptr);
    Open(1);
    EXPECT_FALSE(grid->EditMode);
    EXPECT_FALSE(grid->NormalEdit()->Visible());

    // A freed link is forgotten by the grid and its column.
    grid->Columns()->Items(kCustom)->EditLink = link;
    Open(2);
    pt::Key(plat::VK_ESCAPE);
    EXPECT_EQ(grid->EditLink(), link);
    delete link;
    link = nullptr;
    EXPECT_EQ(grid->EditLink(), nullptr);
    EXPECT_EQ(grid->Columns()->Items(kCustom)->EditLink, nullptr);
    const plat::TRect r = grid->CellRect(grid->DisplColIndex(kCustom), 3);
    pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::Key(plat::VK_F2);
    EXPECT_FALSE(grid->EditMode);
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridEditLinkTest, ::testing::Bool());

} // namespace

namespace {

// The fixed-cell editors: the value goes through OnCellValidate when the focus leaves; a
// refusal keeps the editor and its focus, and blocks a new fixed-cell edit.
TEST_P(GridEditLinkTest, FixedCellEditorValidatesWhenTheFocusLeaves) {
    grid->SetCells(kCustom, 0, u"Head");
    int validations = 0;
    bool refuse = true;
    grid->OnCellValidate = [&](plat::TObject*, int c, int r, String& v, bool& valid) {
        ++validations;
        EXPECT_EQ(c, kCustom);
        EXPECT_EQ(r, 0);
        EXPECT_EQ(v, u"Title");
        valid = !refuse;
    };
    grid->FixedCellEdit(kCustom, 0);
    TGridTransEdit* e = grid->EditTrans();
    ASSERT_TRUE(e->Visible());
    EXPECT_EQ(e->Text(), u"Head");
    EXPECT_EQ(e->Col(), kCustom);
    const plat::TRect cell = grid->CellRect(grid->DisplColIndex(kCustom), 0);
    EXPECT_EQ(e->BoundsRect(), plat::TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1));
    e->SelectAll();
    pt::Type(u"Title\r");  // Enter is dropped
    EXPECT_TRUE(e->Visible());
    EXPECT_EQ(e->Text(), u"Title");
    grid->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(validations, 1);
    EXPECT_TRUE(e->Visible());
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(grid->Cells(kCustom, 0), u"Head");
    grid->FixedCellEdit(kText, 0);  // blocked by the refusing editor
    EXPECT_EQ(e->Col(), kCustom);

    refuse = false;
    grid->SetFocus();
    pt::ProcessEvents();
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(grid->Cells(kCustom, 0), u"Title");
    EXPECT_EQ(editingDone, 1);
}

TEST_P(GridEditLinkTest, FixedCellComboTakesItsItemsFromTheGridAndOnFixedEdit) {
    grid->MouseActions()->FixedRowsEditor = fceComboList;
    grid->FixedComboValues()->Add(u"A");
    grid->FixedComboValues()->Add(u"B");
    grid->OnFixedEdit = [](plat::TObject*, int, int, TGridFixedCellEditor& k, plat::TStrings* v) {
        EXPECT_EQ(k, fceComboList);
        v->Add(u"C");
    };
    grid->SetCells(kText, 0, u"B");
    grid->FixedCellEdit(kText, 0);
    TGridTransCombo* c = grid->ComboTrans();
    ASSERT_TRUE(c->Visible());
    EXPECT_EQ(c->Items()->Count(), 3);
    EXPECT_EQ(c->ItemIndex(), 1);
    pt::Key(plat::VK_DOWN);
    grid->SetFocus();
    pt::ProcessEvents();
    EXPECT_FALSE(c->Visible());
    EXPECT_EQ(grid->Cells(kText, 0), u"C");
    // OnCanEditCell refusing opens nothing.
    grid->OnCanEditCell = [](plat::TObject*, int, int, bool& can) { can = false; };
    grid->FixedCellEdit(kText, 0);
    EXPECT_FALSE(c->Visible());
}

} // namespace
