// The string grid's keyboard on the grid itself (the editors handle their own keys): F2 and
// Enter open the editor, typed characters start an edit, Space operates check boxes, Tab
// advances with goTabs, and the key-press stage restores, advances and searches.
#include <algorithm>

#include "GridEditors.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

void TExtStringGrid::ToggleCurrentCheckBox() {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (!ToggleCheckBoxCell(b.X, b.Y, true)) return;
    bool state = false;
    GetCheckBoxState(b.X, b.Y, state);
    CheckBoxClick(b.X, b.Y, state);
}

void TExtStringGrid::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    const bool shift = (Shift & plat::ssShift) != 0;
    if (!EditMode) {
        switch (Key) {
        case plat::VK_F2:
            if (IsEditable(Col(), Row())) ShowInplaceEdit();
            Key = 0;
            return;
        case plat::VK_TAB:
            if (Options().Contains(plat::goTabs)) {
                EditorKeyNavigation(shift);
                Key = 0;
                return;
            }
            break;
        default:
            break;
        }
    }
    FLastKeyCell = TPoint{Col(), Row()};
    const std::uint16_t key = Key;
    const int rowBefore = Row();
    const plat::TGridRect sel = Selection();
    TBaseGrid::KeyDown(Key, Shift);
    const bool ctrl = (Shift & plat::ssCtrl) != 0;
    // CursorMoveRows: Ctrl+Up and Ctrl+Down move the selected rows by one; the current row and
    // the selection follow them.
    if (ctrl && FNavigation->CursorMoveRows && (key == plat::VK_DOWN || key == plat::VK_UP)) {
        const int top = std::min(sel.Top, sel.Bottom), bottom = std::max(sel.Top, sel.Bottom);
        const int count = bottom - top + 1;
        const int dir = key == plat::VK_DOWN ? 1 : -1;
        const bool can = dir > 0 ? bottom < RowCount() - 1 : top > FixedRows();
        if (can) {
            if (count == 1) {
                MoveRow(top, top + dir);
                MoveColRow(Col(), top + dir, true, true);
            } else {
                MoveRows(top, top + dir, count);
                SetSelection({FixedCols(), top + dir, ColCount() - 1, bottom + dir});
            }
        }
        Key = 0;
    }
    // SkipDisabledRows: when the framework could not enter a disabled row, the next enabled
    // one in the key's direction becomes current.
    if (UseEnabledRows() && FNavigation->SkipDisabledRows && Row() == rowBefore) {
        if (key == plat::VK_UP) {
            for (int r = Row() - 1; r >= FixedRows(); --r)
                if (RowEnabled(r)) {
                    MoveColRow(Col(), r, true, true);
                    break;
                }
        } else if (key == plat::VK_DOWN && Row() < RowCount() - 1) {
            for (int r = Row() + 1; r < RowCount(); ++r)
                if (RowEnabled(r)) {
                    MoveColRow(Col(), r, true, true);
                    break;
                }
        }
    }
    if (TSyncGrid* sync = SyncGrid(); sync && sync->Grid()) {
        if (sync->SelectionColumn) sync->Grid()->SetCol(Col());
        if (sync->SelectionRow) sync->Grid()->SetRow(Row());
    }
}

void TExtStringGrid::KeyPress(char16_t& Key) {
    const bool editing = Options().Contains(plat::goEditing);
    if (Key == 27) {
        if (editing && FEditing) RestoreCellCache();
        plat::TWinControl::KeyPress(Key);
        return;
    }
    // The grid's OnKeyPress sees the key first; a key set to 0 starts nothing.
    plat::TWinControl::KeyPress(Key);
    if (Key == 0) return;
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    // Space on a control cell acted at its key-down; as a character it starts nothing.
    if (Key == u' ' && !EditMode && IsControlCell(b.X, b.Y)) {
        Key = 0;
        return;
    }
    if (Key == u'\r') {
        Key = 0;
        if (IsControlCell(b.X, b.Y)) {
            AdvanceCell(Col(), Row(), EditMode, false, true, false, false);
            return;
        }
        if (!EditMode && IsEditable(Col(), Row())) ShowInplaceEdit();
        else if (FNavigation->AdvanceOnEnter) AdvanceCell(Col(), Row(), false, false, true, false, false);
        return;
    }
    if (!editing && FNavigation->AutoGotoWhenSorted) {
        if (FNavigation->AutoGotoIncremental) {
            if (Key == 8) {
                if (!SearchInc.empty()) SearchInc.pop_back();
            } else {
                SearchInc += Key;
            }
            SearchTics = 0;
        } else {
            SearchInc = String(1, Key);
        }
        const int r = Search(plat::AnsiUpperCase(SearchInc));
        if (r == -1) SearchInc.clear();
        else SetRow(r);
        Key = 0;
        return;
    }
    if (Key < 32 || EditMode || IsControlCell(b.X, b.Y) || !IsEditable(Col(), Row())) return;
    FStartEditChar = Key;
    ShowEditor();
    if (FNormalEdit && FNormalEdit->Visible() && EditMode && !FSpecialEditor) {
        // The typed character replaces the text (EditSelectAll) or is appended to it.
        FStartEditChar = 0;
        char16_t k = Key;
        if (FNormalEdit->IsMasked()) {
            // Under an edit mask the character is typed into the mask's positions: over the
            // whole text (EditSelectAll) or at the first empty position.
            if (FNavigation->EditSelectAll) {
                FNormalEdit->SelectAll();
            } else {
                const String shown = FNormalEdit->EditText();
                const size_t blank = shown.find(FNormalEdit->Mask().Blank());
                FNormalEdit->SetSelStart(static_cast<int>(blank == String::npos ? shown.size() : blank));
            }
            FNormalEdit->Perform(plat::WM_CHAR, k, 0);
            FStartEditChar = 0;
            Key = 0;
            return;
        }
        if (FNormalEdit->AcceptChar(k)) {
            FNormalEdit->SetText(FNavigation->EditSelectAll ? String(1, k) : FNormalEdit->Text() + k);
        } else if (FNavigation->EditSelectAll) {
            FNormalEdit->SetText(String());
        }
        FNormalEdit->SetSelStart(static_cast<int>(FNormalEdit->Text().size()));
    }
    FStartEditChar = 0;
    Key = 0;
}

} // namespace grid
