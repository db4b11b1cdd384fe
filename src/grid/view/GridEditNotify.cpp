// Notifications of the grid's own editors that reach the grid as window messages (the text
// editor's changes, the combo editor's list opening and closing), the date
// editors' changes, and small hooks: the stored texts of a hidden row and a cell's calculated
// value.
#include "ExtGrid.h"
#include "GridDatePicker.h"
#include "GridEditors.h"
#include "plat/Messages.h"

namespace grid {

namespace {

bool IsLiveTextKind(TEditorType e) {
    switch (e) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edPositiveFloat:
        return true;
    default:
        return false;
    }
}
bool IsSource(const plat::TWinControl* Control, plat::LPARAM Source) {
    return Control && Control->HandleAllocated() && static_cast<plat::LPARAM>(Control->Handle()) == Source;
}

} // namespace

bool TExtStringGrid::EditorCommand(plat::TMessage& Message) {
    const int code = plat::HiWord(Message.WParam);
    if (code == plat::EN_CHANGE) {
        LiveEditChange(Message.LParam);
        return false;
    }
    if (IsSource(FCombo, Message.LParam)) {
        if (code == plat::CBN_CLOSEUP) ComboListClosed();
        else if (code == plat::CBN_DROPDOWN) ComboDropDown(Row(), RealColIndex(Col()));
    }
    return false;
}

void TExtStringGrid::LiveEditChange(plat::LPARAM Source) {
    // Filling an editor while it opens is no change of the cell. The text editor's typing
    // stands in the cell at once, also when a program has taken over the editor's OnChange;
    // the spin and button editors write only a validated value, so that a refused value never
    // reaches the cell.
    if (!FShowEditProcess || !EditMode || FNoEditChange || FValidating || FDestroying || FSpecialEditor) return;
    if (!IsLiveTextKind(EditControl) || !IsSource(FNormalEdit, Source) || !FNormalEdit->Visible()) return;
    const String text = FNormalEdit->Text();
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (EditTextOf(GetGridCell(b.X, b.Y)) == text) return;
    SetEditText(Col(), Row(), text);
}

void TExtStringGrid::ComboListClosed() {
    const int realCol = RealColIndex(Col());
    if (FMouseActions->DirectComboClose && EditMode && FCombo && FCombo->Visible() &&
        (EditControl == edComboEdit || EditControl == edComboList)) {
        const int i = FCombo->ItemIndex();
        if (i >= 0 && FCombo->Text() != FCombo->Items()->At(i)) {
            // The chosen item becomes the text; the change is announced once.
            {
                const bool saved = FNoEditChange;
                FNoEditChange = true;
                FCombo->SetText(FCombo->Items()->At(i));
                FNoEditChange = saved;
            }
            ComboChanged();
        }
        // The pick ends the edit as Enter does: validated, written, the grid focused; the
        // grid's focus does not open the editor again at once.
        FEditing = true;
        if (ValidateCell(FCombo->Text())) {
            const bool direct = FMouseActions->DirectEdit;
            FMouseActions->DirectEdit = false;
            HideInplaceEdit();
            if (CanFocus()) SetFocus();
            FMouseActions->DirectEdit = direct;
        }
    }
    ComboCloseUp(Row(), realCol);
}

void TExtStringGrid::DateEditorChanged(plat::TDateTime Value) {
    if (FNoEditChange || !OnDateTimeChange) return;
    OnDateTimeChange(this, Col(), Row(), Value);
}

std::unique_ptr<plat::TStringList> TExtStringGrid::GetHiddenRowStrings(int ARow) const {
    const int i = FGridItems.Find(ARow);
    if (i < 0) return nullptr;
    auto list = std::make_unique<plat::TStringList>();
    const TGridItem& item = FGridItems.Item(i);
    for (int c = 0; c < TotalColCount(); ++c) list->AddObject(String(item.Text(c)), item.Object(c));
    return list;
}

void TExtStringGrid::GetCalculatedCell(int ACol, int ARow, String& Value) { Value = GetGridCell(ACol, ARow); }

} // namespace grid
