// Validation of wide-text cells and the balloon tip that tells the user why a value was refused.
#include "ExtUtil.h"
#include "GridEditors.h"
#include "GridEditors2.h"
#include "plat/BalloonTip.h"

namespace grid {

plat::TWinControl* TExtStringGrid::OpenEditorControl() {
    if (!EditMode) return nullptr;
    if (!FSpecialEditor) return FNormalEdit && FNormalEdit->Visible() ? FNormalEdit : nullptr;
    plat::TWinControl* c = nullptr;
    switch (EditControl) {
    case edComboEdit:
    case edComboList:
        if (FCombo && FCombo->Visible()) {
            c = FCombo;
            if (FCombo->Style() != plat::csDropDownList && FCombo->EditControl()) c = FCombo->EditControl();
        }
        break;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: c = FSpin; break;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn: c = FBtnEdit; break;
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn: c = FBtnUnitEdit; break;
    case edCheckBox: c = FCheckBoxEd; break;
    case edButton: c = FButtonEd; break;
    case edRichEdit: c = FInplaceRichEdit; break;
    default: break;
    }
    return c && c->Visible() ? c : nullptr;
}

void TExtStringGrid::ShowInvalidEntryBalloon() {
    if (InvalidEntryTitle.empty() && InvalidEntryText.empty()) return;
    if (plat::TWinControl* c = OpenEditorControl())
        plat::ShowBalloonTip(c, InvalidEntryTitle, InvalidEntryText, static_cast<int>(InvalidEntryIcon));
}

bool TExtStringGrid::ValidateCellWide(const String& NewValue) {
    if (!FEditing || FValidating) return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    const int aCol = RealColIndex(FOldCol), aRow = FOldRow;
    try {
        if (NewValue != FOldWideCellText || AlwaysValidate) {
            const bool changed = NewValue != FOldWideCellText;
            String value = NewValue;
            if (OnCellValidateWide) OnCellValidateWide(this, aCol, aRow, value, valid);
            const TPoint b = BaseCell(aCol, aRow);
            if (valid) {
                // The cell holds the value before anyone hears of the change; only an accepted
                // change marks the row.
                SetCellEx(b.X, b.Y, EncodeEscapedUnicode(value));
                if (changed) {
                    FGridModified = true;
                    if (FixedCols() > 0) {
                        SetRowModified(RealRowIndex(aRow), true);
                        if (FShowModified->Enabled()) RepaintCell(0, aRow);
                    }
                }
                UpdateFooterColumn(aCol);
                if (changed) CellsChanged(plat::TRect{aCol, aRow, aCol, aRow});
            } else {
                FLastValidation = false;
                HideEditor();
                EditMode = false;
                SetCellEx(b.X, b.Y, value != NewValue ? EncodeEscapedUnicode(value) : FOldCellText);
                MoveColRow(FOldCol, FOldRow, true, true);
                FValidating = false;
                FEditing = true;
                const int oldCol = FOldCol, oldRow = FOldRow;
                ShowInplaceEdit();
                FEditing = true;
                FOldCol = oldCol;
                FOldRow = oldRow;
                FOldCellText = GetGridCell(aCol, aRow);
                FOldWideCellText = DecodeEscapedUnicode(FOldCellText);
                FValidating = false;
                return false;
            }
            FOldWideCellText = DecodeEscapedUnicode(GetGridCell(aCol, aRow));
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

} // namespace grid
