// The edit life cycle of the string grid: choosing the editor of a cell, opening, committing
// and closing it, validation, cell selection with editing switched per cell, and the
// automatic advance to the next cell.
#include <algorithm>

#include "EsgHTMLE.h"
#include "ExtUtil.h"
#include "BaseGridUndo.h"
#include "esgcheck.h"
#include "GridDatePicker.h"
#include "GridEditors.h"
#include "plat/Controls.h"
#include "plat/Messages.h"

namespace grid {

namespace {

bool IsTextKind(TEditorType e) {
    switch (e) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

bool IsComboKind(TEditorType e) { return e == edComboEdit || e == edComboList; }
bool IsSpinKind(TEditorType e) {
    return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
}

bool IsDateKind(TEditorType e) {
    return e == edDateEdit || e == edDateEditUpDown || e == edTimeEdit || e == edDateTimeEdit;
}

// Restores a flag when the scope ends, exceptions included.
struct FlagScope {
    bool& Flag;
    bool Saved;
    FlagScope(bool& f, bool value) : Flag(f), Saved(f) { f = value; }
    ~FlagScope() { Flag = Saved; }
};

} // namespace

// ---- editors ----------------------------------------------------------------------------------

plat::TInplaceEdit* TExtStringGrid::CreateEditor() {
    FNormalEdit = new TExtInplaceEdit(this);
    return FNormalEdit;
}

TExtInplaceEdit* TExtStringGrid::NormalEdit() {
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetParent(this);
    }
    return FNormalEdit;
}

TGridCombo* TExtStringGrid::Combobox() {
    if (!FCombo) {
        FCombo = new TGridCombo(this);
        FCombo->SetParent(this);
    }
    return FCombo;
}

void TExtStringGrid::ClearComboString() { Combobox()->Items()->Clear(); }
void TExtStringGrid::AddComboString(const String& S) { Combobox()->Items()->Add(S); }
void TExtStringGrid::AddComboStringObject(const String& S, plat::TObject* AObject) {
    Combobox()->Items()->AddObject(S, AObject);
}
bool TExtStringGrid::SetComboSelectionString(const String& S) {
    const int i = Combobox()->Items()->IndexOf(S);
    if (i < 0) return false;
    FComboIdx = i;
    return true;
}
int TExtStringGrid::GetComboCount() { return Combobox()->Items()->Count(); }
void TExtStringGrid::AssignComboItems(const plat::TStrings* Items) { Combobox()->Items()->Assign(Items); }

void TExtStringGrid::GetEditorProp(int ACol, int ARow, plat::TObject* AEditLink) {
    if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
}

// ---- choosing the editor ---------------------------------------------------------------------

bool TExtStringGrid::CanEditShow() {
    if (FValidating || FDestroying) return false;
    bool answer = TBaseGrid::CanEditShow();
    if (IsDesigning()) return answer;
    const int realCol = RealColIndex(Col());
    const TPoint b = BaseCell(realCol, Row());
    // An open special editor covers the cell: the framework shows nothing of its own.
    if (EditMode && FSpecialEditor) return false;
    if (answer && !EditMode && IsControlCell(b.X, b.Y)) return false;
    if (answer && !EditMode) {
        if (!IsEditable(Col(), Row())) return false;
        FNoEditChange = true;
        FCellCache = GetCurrentCell();
        EditControl = DefaultEditor;
        GetCellEditorType(b.X, b.Y, EditControl);
        FSpinLimits.Set = false;
        EditorSettings(b.X, b.Y, EditControl);
        FNoEditChange = false;
        if (EditControl == edNone) return false;
        const bool custom = EditControl == edCustom && FEditLink;
        if (!IsTextKind(EditControl) && !IsComboKind(EditControl) && !IsSpinKind(EditControl) &&
            !IsDateKind(EditControl) && !IsEditor2Kind(EditControl) && !custom) {
            // Kinds without an editor of their own here (check boxes are operated by click and
            // Space) open nothing.
            return false;
        }
        if (!FEditing) StoreOldCell(Col(), Row());
        EditMode = true;
        // The text editor's typing is written into the cell at once.
        FShowEditProcess = true;
        if (IsComboKind(EditControl) || IsSpinKind(EditControl) || IsDateKind(EditControl) ||
            IsEditor2Kind(EditControl) || custom) {
            if (custom) PrepareLinkEditor(Col(), Row());
            else if (IsSpinKind(EditControl)) PrepareSpinEditor(Col(), Row());
            else if (IsDateKind(EditControl)) PrepareDateEditor(Col(), Row());
            else if (IsEditor2Kind(EditControl)) PrepareEditor2(Col(), Row());
            else PrepareCellEditor(Col(), Row());
            FEntered = true;
            return false;
        }
        TExtInplaceEdit* e = NormalEdit();
        e->SetEditorType(EditControl);
        e->SetLengthLimit(GetEditLimit());
    }
    if (answer) {
        FEntered = true;
        FEditing = true;
    }
    return answer;
}

String TExtStringGrid::GetEditText(int ACol, int ARow) {
    const int realCol = RealColIndex(ACol);
    const TPoint b = BaseCell(realCol, ARow);
    const String stored = GetGridCell(b.X, b.Y);
    const String text = EditTextOf(stored);
    FOpenedCellText = stored;
    FOpenedEditText = text;
    return text;
}

void TExtStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    // The editor shows markup as plain text: an unchanged edit keeps the stored text.
    const String v = Value == FOpenedEditText ? FOpenedCellText : Value;
    FlagScope own(FSyncingEditor, true);
    SetCellEx(b.X, b.Y, v);
}

void TExtStringGrid::SetEditCellText(int ACol, int ARow, const String& Value) {
    const TPoint b = BaseCell(ACol, ARow);
    FlagScope own(FSyncingEditor, true);
    SetCellEx(b.X, b.Y, Value);
}

void TExtStringGrid::RestoreCellCache() {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    // An edit that never reached the cell leaves it untouched: no write, no repaint beyond the
    // cell under the closed editor.
    FlagScope own(FSyncingEditor, true);
    if (GetCellEx(b.X, b.Y) != FCellCache) SetCellEx(b.X, b.Y, FCellCache);
    RepaintCell(Col(), Row());
}

void TExtStringGrid::EditorChanged(const String& Value) {
    if (FNoEditChange) return;
    if (OnEditChange) OnEditChange(this, Col(), Row(), Value);
}

bool TExtStringGrid::IsEditable(int ACol, int ARow) {
    if (!(Options().Contains(plat::goEditing) || FMouseActions->RangeSelectAndEdit || FEditDisable)) return false;
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    bool can = true;
    CheckCanEdit(b.X, b.Y, can);
    if (!can) return false;
    bool fixed = false;
    IsFixedCell(b.X, b.Y, fixed);
    return !fixed;
}

bool TExtStringGrid::EditorWantsTab() const {
    return Options().Contains(plat::goTabs) || static_cast<bool>(OnCellValidate) || static_cast<bool>(OnCellValidateWide);
}

// ---- the factory and the commit -------------------------------------------------------------

void TExtStringGrid::PrepareCellEditor(int ACol, int ARow) {
    FEditing = FSpecialEditor = FEditActive = true;
    const plat::TRect r = CellRect(ACol, ARow);
    const int w = r.Right - r.Left - 1, h = r.Bottom - r.Top - 1;
    const int realCol = RealColIndex(ACol);
    FLastValidation = true;
    const String editText = GetEditText(ACol, ARow);
    TGridCombo* c = Combobox();
    {
        // The editor is filled by the grid: no change notification reaches the events.
        FlagScope quiet(FNoEditChange, true);
        c->SetDropDownCount(FControlLook->DropDownCount);
        GetEditorProp(realCol, ARow, nullptr);
        c->SetEnabled(true);
        c->SetDroppedDown(false);
        c->SetStyle(EditControl == edComboEdit ? plat::csDropDown : plat::csDropDownList);
        c->SetMaxLength(EditControl == edComboEdit ? MaxComboLength : 0);
        c->SetBounds(r.Left, r.Top, w, h);
        if (EditControl == edComboEdit) {
            c->SetText(editText);
            if (FComboIdx != -1 && c->ItemIndex() < 0 && FComboIdx < c->Items()->Count()) c->SetItemIndex(FComboIdx);
        } else {
            c->SetItemIndex(c->Items()->IndexOf(GetGridCell(BaseCell(realCol, ARow).X, ARow)));
        }
    }
    bool announceFirst = false;
    if (EditControl == edComboList && c->ItemIndex() < 0) {
        if (FComboIdx == -1) {
            const int i = c->Items()->IndexOf(editText);
            if (i >= 0) {
                c->SetItemIndex(i);
            } else if (c->Items()->Count() > 0) {
                c->SetItemIndex(0);
                announceFirst = true;
            }
        } else if (FComboIdx < c->Items()->Count()) {
            c->SetItemIndex(FComboIdx);
        }
    }
    c->SetColor(Color());
    // The list is as wide as its widest item unless the combo has a width of its own.
    if (c->DropWidth() > 0) c->SetDroppedWidth(c->DropWidth());
    else c->SizeDropDownWidth();
    c->SetVisible(true);
    const TGridLook look = Look();
    const bool flat = !(look == glStandard || look == glClassic || look == glCustom);
    c->SetFlat(flat);
    c->SetEtched(flat);
    if (c->CanFocus()) c->SetFocus();
    if (FMouseActions->DirectComboDrop || FControlLook->DropDownAlwaysVisible) c->SetDroppedDown(true);
    if (announceFirst) {
        // The list holds no item for the cell: the first one stands selected and is announced.
        if (OnComboChange) OnComboChange(this, realCol, ARow, 0, c->Items()->At(0));
        if (OnComboObjectChange) OnComboObjectChange(this, realCol, ARow, 0, c->Items()->At(0), c->Items()->Objects(0));
    }
    if (FStartEditChar != 0) {
        char16_t ch = FStartEditChar;
        FStartEditChar = 0;
        if (plat::TCustomEdit* ed = c->EditControl()) {
            ed->SelectAll();
            ed->SetSelText(String(1, ch));
        } else {
            c->Perform(plat::WM_CHAR, ch, 0);
        }
    }
    FStartEditChar = 0;
}

void TExtStringGrid::ComboChanged() {
    if (FNoEditChange || !FCombo || !FCombo->Visible()) return;
    const int realCol = RealColIndex(Col());
    const int i = FCombo->ItemIndex();
    const String text = i >= 0 ? FCombo->Items()->At(i) : FCombo->Text();
    if (OnComboChange) OnComboChange(this, realCol, Row(), i, text);
    if (OnComboObjectChange) OnComboObjectChange(this, realCol, Row(), i, text, i >= 0 ? FCombo->Items()->Objects(i) : nullptr);
}

void TExtStringGrid::CommitInplaceEditor(int ACol, int ARow) {
    if (FDestroying) return;
    FSpecialEditor = false;
    FlagScope block(FBlockKill, true);
    // The commit writes the editor's value: the open editor does not follow its own write.
    FlagScope own(FSyncingEditor, true);
    const int realCol = RealColIndex(ACol);
    FStartEditChar = 0;
    if (IsSpinKind(EditControl) && EditMode) {
        CommitSpinEditor(realCol, ARow);
    } else if (FSpin && FSpin->Visible()) {
        FSpin->SetEnabled(false);
        FSpin->SetVisible(false);
    }
    if (IsDateKind(EditControl) && EditMode) {
        CommitDateEditor(realCol, ARow);
    } else {
        if (FDatePicker && FDatePicker->Visible()) {
            FDatePicker->SetEnabled(false);
            FDatePicker->SetVisible(false);
        }
        if (FDateAndTimePicker && FDateAndTimePicker->Visible()) {
            FDateAndTimePicker->SetEnabled(false);
            FDateAndTimePicker->SetVisible(false);
        }
    }
    if (IsComboKind(EditControl) && EditMode && FCombo) {
        SetEditCellText(realCol, ARow, FCombo->Text());
        FCombo->SetDroppedDown(false);
        FCombo->SetEnabled(false);
        FCombo->SetVisible(false);
        EditMode = false;
    } else if (FCombo && FCombo->Visible()) {
        FCombo->SetEnabled(false);
        FCombo->SetVisible(false);
    }
    if (EditControl == edCustom && EditMode) CommitLinkEditor(realCol, ARow);
    CommitEditor2(realCol, ARow);
    if (EditControl != edNormal && FEditActive) SignalEditDone(realCol, ARow);
    FEditActive = false;
}

void TExtStringGrid::ShowInplaceEdit() {
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (IsControlCell(b.X, b.Y)) return;
    if (Row() < TopRow()) SetTopRow(Row());
    if (Col() < LeftCol()) SetLeftCol(Col());
    FEditText = GetGridCell(b.X, b.Y);
    ShowEditor();
    if (FNormalEdit && FNormalEdit->Visible() && !FSpecialEditor) {
        // The focus may have moved the caret: the text stands selected (EditSelectAll) or the
        // caret at its end.
        if (FNavigation->EditSelectAll) {
            FNormalEdit->SelectAll();
        } else {
            FNormalEdit->SetSelStart(static_cast<int>(FNormalEdit->Text().size()));
            FNormalEdit->SetSelLength(0);
        }
    }
}

void TExtStringGrid::HideInplaceEdit() {
    if (!EditMode) return;
    HideEditor();
    CommitInplaceEditor(Col(), Row());
    EditMode = false;
    FEditing = false;
    (void)SelectCell(Col(), Row());
}

void TExtStringGrid::DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift) {
    FlagScope blockFocus(FBlockFocus, true);
    const bool wasSpecial = FSpecialEditor;
    if (wasSpecial && Key != plat::VK_ESCAPE) {
        // A special editor validates its value before it closes.
        FEditing = true;
        const String value = SpecialEditorValue();
        if (!ValidateCell(value)) return;
    }
    FEditing = false;
    HideInplaceEdit();
    if (Key == plat::VK_ESCAPE) EditControl = edNormal;
    if (CanFocus()) SetFocus();
    if (Key == plat::VK_TAB) {
        if (Options().Contains(plat::goTabs)) EditorKeyNavigation((Shift & plat::ssShift) != 0);
    } else if (Key >= plat::VK_LEFT && Key <= plat::VK_DOWN) {
        std::uint16_t k = Key;
        KeyDown(k, Shift);
    } else if (Key == plat::VK_RETURN) {
        AdvanceCell(Col(), Row(), false, false, true, true, false);
    }
}

void TExtStringGrid::SignalEditDone(int ACol, int ARow) {
    if (OnEditingDone) OnEditingDone(this);
    EditMode = false;
    if (HandleAllocated())
        plat::PostMessage(Handle(), GridRegistrations().GridEditDone, static_cast<plat::WPARAM>(ACol),
                          static_cast<plat::LPARAM>(ARow));
}

bool TExtStringGrid::EditMessage(plat::TMessage& Message) {
    if (GridMessage(Message)) return true;
    if (Message.Msg != GridRegistrations().GridEditDone || Message.Msg == 0) return false;
    if (OnEditCellDone) OnEditCellDone(this, static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
    if (FMouseActions->EditOnDblClickOnly()) {
        HideEditor();
        EditMode = false;
        plat::TGridOptions o = Options();
        o.Exclude(plat::goEditing);
        SetOptions(o);
    }
    Message.Result = 0;
    return true;
}

// ---- the normal editor's keys and focus -------------------------------------------------------

bool TExtStringGrid::EditorKey(std::uint16_t Key, plat::TShiftState Shift) {
    const bool shift = (Shift & plat::ssShift) != 0;
    switch (Key) {
    case plat::VK_ESCAPE: {
        // No validation: the cell gets back exactly the text it had when the edit started.
        FEditing = false;
        const String cache = FCellCache;
        HideInplaceEdit();
        FCellCache = cache;
        RestoreCellCache();
        if (CanFocus()) SetFocus();
        char16_t k = 27;
        plat::TWinControl::KeyPress(k);
        return true;
    }
    case plat::VK_RETURN: {
        if (FNavigation->LineFeedOnEnter) return false;
        if (!ValidateCell(FNormalEdit->Text())) return true;
        char16_t k = u'\r';
        plat::TWinControl::KeyPress(k);
        const int c = Col(), r = Row();
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        if (k != 0 && FNavigation->AdvanceOnEnter) AdvanceCell(c, r, true, false, true, true, false);
        return true;
    }
    case plat::VK_TAB:
        if (!EditorWantsTab()) return false;
        if (!ValidateCell(FNormalEdit->Text())) return true;
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        if (Options().Contains(plat::goTabs)) EditorKeyNavigation(shift);
        return true;
    case plat::VK_UP:
    case plat::VK_DOWN: {
        if (!ValidateCell(FNormalEdit->Text())) return true;
        HideInplaceEdit();
        if (CanFocus()) SetFocus();
        std::uint16_t k = Key;
        KeyDown(k, Shift);
        return true;
    }
    default:
        return false;
    }
}

void TExtStringGrid::EditorExit() {
    if (FBlockKill || FDestroying || FSpecialEditor) return;
    const int c = RealColIndex(Col()), r = Row();
    // The focus went to another window than the grid with a value pending: it is validated
    // and the edit ends.
    if (EditMode && FEditing && FNormalEdit && plat::FindControl(plat::GetFocus()) != this) {
        if (!ValidateCell(FNormalEdit->Text())) return;
        HideInplaceEdit();
    }
    SignalEditDone(c, r);
}

void TExtStringGrid::ComboEditorExit() {
    if (FBlockKill || FDestroying || !FSpecialEditor || !EditMode || !IsComboKind(EditControl)) return;
    if (!FCombo || !FCombo->Visible()) return;
    const plat::TWinControl* focus = plat::FindControl(plat::GetFocus());
    if (focus == this || (focus && FCombo->ContainsControl(focus))) return;
    // A list still open is closed first; its closing may already have ended the edit
    // (DirectComboClose).
    if (FCombo->DroppedDown()) {
        FCombo->SetDroppedDown(false);
        if (!EditMode || !FSpecialEditor || !FCombo->Visible()) return;
    }
    // A refused value takes the focus back into the editor: entering the grid on the way
    // selects nothing again (which would validate a second time).
    FlagScope blockFocus(FBlockFocus, true);
    FEditing = true;
    if (!ValidateCell(SpecialEditorValue())) return;
    FEditing = false;
    HideInplaceEdit();
}

// ---- validation -------------------------------------------------------------------------------

bool TExtStringGrid::ValidateCell(const String& NewValue) {
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int aCol = RealColIndex(FOldCol), aRow = FOldRow;
    FNewCellText = NewValue;
    try {
        // The editor shows markup as plain text: an unchanged plain text is the stored text.
        String value = NewValue;
        if (FOldCol == Col() && FOldRow == Row() && NewValue == FOpenedEditText) value = FOpenedCellText;
        if (value != FOldCellText || AlwaysValidate) {
            const bool changed = value != FOldCellText;
            const bool advance = FNavigation->AdvanceOnEnter;
            FNavigation->AdvanceOnEnter = false;
            const String proposed = value;
            if (FCellChecker && FCellChecker->AutoCorrect) value = FCellChecker->Correct(aCol, aRow, value);
            if (OnCellValidate) OnCellValidate(this, aCol, aRow, value, valid);
            if (valid) {
                // The cell holds the value before anyone hears of the change.
                const TPoint b = BaseCell(aCol, aRow);
                SetCellEx(b.X, b.Y, value);
                if (value != FOldCellText) {
                    FGridModified = true;
                    if (FixedCols() > 0) {
                        SetRowModified(RealRowIndex(aRow), true);
                        if (FShowModified->Enabled()) RepaintCell(0, aRow);
                    }
                }
                UpdateFooterColumn(aCol);
                if (FCellChecker && FCellChecker->AutoMarkError) {
                    value = FCellChecker->MarkError(aCol, aRow, value);
                    SetCellEx(b.X, b.Y, value);
                }
                if (TExtGridUndoRedo* undo = UndoRedo()) undo->RegisterChange(aCol, aRow, value, FOldCellText);
                if (changed || value != FOldCellText) CellsChanged(plat::TRect{aCol, aRow, aCol, aRow});
            }
            FNavigation->AdvanceOnEnter = advance;
            FNewCellText = value;
            if (!valid) {
                FLastValidation = false;
                const TPoint b = BaseCell(aCol, aRow);
                HideEditor();
                EditMode = false;
                SetCellEx(b.X, b.Y, value != proposed ? value : FOldCellText);
                MoveColRow(FOldCol, FOldRow, true, true);
                FValidating = false;
                FEditing = true;
                const int oldCol = FOldCol, oldRow = FOldRow;
                ShowInplaceEdit();
                FEditing = true;
                if (FNormalEdit && FNormalEdit->Visible()) FNormalEdit->SelectAll();
                FOldCol = oldCol;
                FOldRow = oldRow;
                FOldCellText = GetGridCell(aCol, aRow);
                FValidating = false;
                ShowInvalidEntryBalloon();
                return false;
            }
            FOldCellText = GetGridCell(aCol, aRow);
        }
    } catch (...) {
        StoreOldCell(Col(), Row());
        FValidating = false;
        throw;
    }
    StoreOldCell(Col(), Row());
    FValidating = false;
    return valid;
}

// ---- cell selection ---------------------------------------------------------------------------

void TExtStringGrid::CellChanging(int NewCol, int NewRow, bool& Allow) {
    if (NewRow != Row() && OnRowChanging) OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging) OnColChanging(this, Col(), NewCol, Allow);
    if (!(NewCol == Col() && NewRow == Row()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

bool TExtStringGrid::SelectCell(int ACol, int ARow) {
    if (!Parent()) return TBaseGrid::SelectCell(ACol, ARow);
    if (ACol < 0 || ARow < 0) return false;
    FEditText = GetGridCell(RealColIndex(ACol), ARow);
    const int realCol = RealColIndex(ACol);
    const TPoint b = BaseCell(realCol, ARow);
    if (UseEnabledRows() && FNavigation->SkipDisabledRows && !RowEnabled(ARow)) return false;
    plat::TGridOptions o = Options();
    if (IsControlCell(b.X, b.Y)) {
        bool can = true;
        CheckCanEdit(b.X, b.Y, can);
        if (!FEditDisable) FEditDisable = !can && (o.Contains(plat::goEditing) || FMouseActions->RangeSelectAndEdit);
    } else {
        bool can = o.Contains(plat::goEditing) || FEditDisable;
        CheckCanEdit(b.X, b.Y, can);
        if (FMouseActions->EditOnDblClickOnly()) can = false;
        if (can) {
            FEditDisable = false;
            if (!o.Contains(plat::goEditing)) {
                FEditChange = true;
                if (!FEditing) StoreOldCell(ACol, ARow);
                if (FMouseActions->RangeSelectAndEdit) o.Exclude(plat::goRowSelect);
                o.Include(plat::goEditing);
                SetOptions(o);
            }
        } else {
            if (EditMode && !FEditing) HideInplaceEdit();
            if (o.Contains(plat::goEditing)) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                o.Exclude(plat::goEditing);
                SetOptions(o);
            }
        }
    }
    bool answer;
    if (!FEditing || !FSpecialEditor) {
        bool allow = true;
        CellChanging(ACol, ARow, allow);
        if (IsFixed(realCol, ARow) || !allow)
            answer = allow && o.Contains(plat::goRowSelect);
        else
            answer = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const bool valid = IsWideCell(b.X, b.Y) ? ValidateCellWide(DecodeEscapedUnicode(SpecialEditorValue()))
                                                : ValidateCell(SpecialEditorValue());
        bool allow = true;
        CellChanging(ACol, ARow, allow);
        answer = valid && allow && TBaseGrid::SelectCell(ACol, ARow);
        if (!answer) return false;
    }
    if (answer) FCellCache = GetGridCell(b.X, b.Y);
    return answer;
}

// ---- advance to the next cell -----------------------------------------------------------------

bool TExtStringGrid::AdvanceTarget(int ACol, int ARow, bool Forward, int& NewCol, int& NewRow) {
    const int firstCol = FixedCols() > 0 ? FixedCols() : (HasNodes() ? 1 : 0);
    const int lastCol = ColCount() - FixedRightCols - 1;
    const int firstRow = FixedRows(), lastRow = RowCount() - FixedFooters - 1;
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();
    NewCol = ACol;
    NewRow = ARow;
    if (Forward) {
        if (dir == adLeftRight || dir == adLeftRightInRow) {
            if (ACol < lastCol) {
                NewCol = ACol + 1;
            } else if (dir == adLeftRightInRow) {
                if (FNavigation->AdvanceOnEnterLoop) NewCol = firstCol;
            } else if (ARow >= lastRow) {
                if (FNavigation->AdvanceInsert()) {
                    bool allow = true;
                    if (OnCanAddRow) OnCanAddRow(this, allow);
                    NewCol = firstCol;
                    if (allow) {
                        AddRow();
                        NewRow = ARow + 1;
                        if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters - 1);
                    }
                } else if (FNavigation->AdvanceOnEnterLoop) {
                    NewCol = firstCol;
                    NewRow = firstRow;
                }
            } else {
                NewCol = firstCol;
                NewRow = ARow + 1;
            }
        } else {
            if (ARow < lastRow) {
                NewRow = ARow + 1;
            } else if (dir == adTopBottomInCol) {
                NewRow = firstRow;
            } else if (ACol < lastCol) {
                NewCol = ACol + 1;
                NewRow = firstRow;
            } else {
                NewCol = firstCol;
                NewRow = firstRow;
            }
        }
    } else if (dir == adLeftRight) {
        if (ACol > firstCol) {
            NewCol = ACol - 1;
        } else {
            NewCol = lastCol;
            NewRow = ARow > firstRow ? ARow - 1 : lastRow;
        }
    } else if (dir == adTopBottom) {
        if (ARow > firstRow) {
            NewRow = ARow - 1;
        } else {
            NewRow = lastRow;
            NewCol = ACol > firstCol ? ACol - 1 : lastCol;
        }
    }
    return NewCol != ACol || NewRow != ARow;
}

void TExtStringGrid::AdvanceCell(int ACol, int ARow, bool OpenEditor, bool Recursed, bool Forward, bool AutoEdit,
                                 bool Force) {
    if (!FNavigation->AdvanceOnEnter && !Force) return;
    (void)Recursed;
    FAECol = ACol;
    FAERow = ARow;
    FStartEditChar = 0;
    // Steps over read-only cells one at a time; one full pass back to the start cell ends
    // the search (no cell is editable).
    int c = ACol, r = ARow, nc = ACol, nr = ARow;
    const int cells = std::max(1, ColCount() * RowCount());
    bool found = false;
    for (int step = 0; step <= cells; ++step) {
        if (!AdvanceTarget(c, r, Forward, nc, nr)) break;
        c = nc;
        r = nr;
        if (c == ACol && r == ARow) break;
        bool can = true;
        const TPoint b = BaseCell(RealColIndex(c), r);
        CheckCanEdit(b.X, b.Y, can);
        if (can || !FNavigation->AdvanceSkipReadOnlyCells) {
            found = true;
            break;
        }
    }
    if (!found) return;
    bool allow = true;
    if (OnAutoAdvance) OnAutoAdvance(this, FAERow, FAECol, nr, nc, allow);
    if (allow && OnCellChanging) OnCellChanging(this, FAERow, FAECol, nr, nc, allow);
    {
        FlagScope noChange(FDisableChange, true);
        if (allow) {
            SetRow(nr);
            SetCol(nc);
        } else {
            (void)SelectCell(ACol, ARow);
        }
    }
    if (OpenEditor && AutoEdit && FNavigation->AdvanceAutoEdit && IsEditable(Col(), Row())) ShowInplaceEdit();
}

bool TExtStringGrid::EditorKeyNavigation(bool Backward) {
    // Tab visits the next editable normal cell left to right, wrapping at the grid's end;
    // one full pass without an editable cell leaves the current cell where it is.
    const int firstCol = FixedCols(), lastCol = ColCount() - FixedRightCols - 1;
    const int firstRow = FixedRows(), lastRow = RowCount() - FixedFooters - 1;
    if (lastCol < firstCol || lastRow < firstRow) return false;
    int c = Col(), r = Row();
    const int total = (lastCol - firstCol + 1) * (lastRow - firstRow + 1);
    for (int step = 0; step < total; ++step) {
        if (!Backward) {
            if (++c > lastCol) {
                c = firstCol;
                if (++r > lastRow) r = firstRow;
            }
        } else if (--c < firstCol) {
            c = lastCol;
            if (--r < firstRow) r = lastRow;
        }
        if (c == Col() && r == Row()) return false;
        bool can = true;
        const TPoint b = BaseCell(RealColIndex(c), r);
        CheckCanEdit(b.X, b.Y, can);
        if (can) {
            FlagScope noChange(FDisableChange, true);
            // Scrolls only when the cell is out of view (a scroll repaints the whole grid).
            const bool inView = c >= LeftCol() && c < LeftCol() + VisibleColCount() && r >= TopRow() &&
                                r < TopRow() + VisibleRowCount();
            MoveColRow(c, r, true, !inView);
            return Col() == c && Row() == r;
        }
    }
    return false;
}

} // namespace grid
