// An open inplace editor and writes of its cell by the program: the editor shows what the cell
// holds, so that ending the edit never writes an older text over a newer one.
#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "GridDatePicker.h"
#include "GridEditors.h"

namespace grid {

namespace {

bool IsComboKind(TEditorType e) { return e == edComboEdit || e == edComboList; }
bool IsSpinKind(TEditorType e) {
    return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
}
bool IsDateKind(TEditorType e) {
    return e == edDateEdit || e == edDateEditUpDown || e == edTimeEdit || e == edDateTimeEdit;
}

struct FlagScope {
    bool& Flag;
    bool Saved;
    FlagScope(bool& f, bool value) : Flag(f), Saved(f) { f = value; }
    ~FlagScope() { Flag = Saved; }
};

} // namespace

String TExtStringGrid::EditTextOf(const String& Stored) const {
    if (!EditWithTags && EnableHTML && Stored.find(u'<') != String::npos) return MarkupToPlainText(Stored);
    return Stored;
}

void TExtStringGrid::GridCellWritten(int ACol, int ARow) {
    // The edit's own writes (live text, validation, commit, Escape) pass untouched.
    if (!EditMode || FSyncingEditor || FValidating || FDestroying) return;
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (ACol != b.X || ARow != b.Y) return;
    const String stored = GetGridCell(b.X, b.Y);
    const String shown = EditTextOf(stored);
    FlagScope guard(FSyncingEditor, true);
    FlagScope quiet(FNoEditChange, true);
    // From here on the edit starts from the written text: Escape brings it back and an
    // unchanged editor stands for it.
    auto rebase = [&] {
        FCellCache = stored;
        FOldCellText = stored;
        FOpenedCellText = stored;
        FOpenedEditText = shown;
    };
    if (!FSpecialEditor) {
        // The text editor's own writes all pass the guard: any other write is the program's,
        // even when the framework has already put its text into the editor.
        if (!FNormalEdit || !FNormalEdit->Visible()) return;
        rebase();
        if (FNormalEdit->Text() == shown) return;
        FNormalEdit->SetText(shown);
        if (FNavigation->EditSelectAll) {
            FNormalEdit->SelectAll();
        } else {
            FNormalEdit->SetSelStart(static_cast<int>(shown.size()));
            FNormalEdit->SetSelLength(0);
        }
        return;
    }
    if (IsComboKind(EditControl)) {
        if (!FCombo || !FCombo->Visible() || FCombo->Text() == shown) return;
        const int i = FCombo->Items()->IndexOf(shown);
        if (EditControl == edComboList && i < 0) {
            // A list offers no item for the text: the editor closes and leaves the cell as
            // written.
            const bool hadFocus = FCombo->Focused() || (FCombo->EditControl() && FCombo->EditControl()->Focused());
            FCombo->SetDroppedDown(false);
            FCombo->SetEnabled(false);
            FCombo->SetVisible(false);
            DropSpecialEditor();
            if (hadFocus && CanFocus()) SetFocus();
            RepaintCell(Col(), Row());
            return;
        }
        rebase();
        if (i >= 0) FCombo->SetItemIndex(i);
        FCombo->SetText(shown);
        return;
    }
    if (IsSpinKind(EditControl) || IsDateKind(EditControl) || IsEditor2Kind(EditControl)) {
        // Some of these editors put their own value into the cell before validating it: a
        // write of the value the editor holds is theirs.
        if (SpecialEditorValue() == shown) return;
        rebase();
        // The editor opens again on the written text, keeping the edit's start.
        if (IsSpinKind(EditControl)) PrepareSpinEditor(Col(), Row());
        else if (IsDateKind(EditControl)) PrepareDateEditor(Col(), Row());
        else PrepareEditor2(Col(), Row());
        rebase();
    }
}

} // namespace grid
