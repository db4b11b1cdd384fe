// Editors of markup controls inside a cell: opening one over the control (ShowCellControlEditor,
// EditNextMarkupControl), their keys, and writing the value back into the cell's markup
// (ControlEditDone).
#include "GridControlEdit.h"

#include <algorithm>

#include "EsgHTMLE.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

namespace grid {

namespace {

bool IsEditType(const String& Type) { return Type == u"EDIT" || Type == u"PASSWORD" || Type == u"MASK"; }

// The keys that end a control edit; both editors claim them so that a form's default button
// or its focus moves never take them.
bool IsEndKey(std::uintptr_t Key) { return Key == plat::VK_TAB || Key == plat::VK_RETURN; }

// Enter gives the focus to the grid; Tab goes on to the next cell (Navigation.AdvanceAuto) or
// to the cell's next editable control. The value is written back first in both cases; the
// moves start from the control's cell.
void EndControlEdit(TExtStringGrid* Grid, plat::TPoint cell, std::uint16_t Key) {
    const String id = Grid->ControlEditID();
    Grid->ControlEditDone();
    if (Key == plat::VK_RETURN) {
        if (Grid->CanFocus()) Grid->SetFocus();
        return;
    }
    const int col = Grid->DisplColIndex(cell.X);
    if (Grid->Navigation()->AdvanceAuto()) {
        if (Grid->CanFocus()) Grid->SetFocus();
        if (Grid->Col() != col || Grid->Row() != cell.Y) Grid->FocusCell(col, cell.Y);
        Grid->AdvanceCell(col, cell.Y, true, false, true, false, true);
    } else {
        Grid->EditNextMarkupControl(col, cell.Y, id);
    }
}

} // namespace

// ---- TControlEdit ---------------------------------------------------------------------------

TControlEdit::TControlEdit(TExtStringGrid* AOwner) : plat::TCustomMaskEdit(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetBorderStyle(plat::bsNone);
}

void TControlEdit::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && IsEndKey(Message.WParam)) {
        Message.Result = 1;
        return;
    }
    plat::TCustomMaskEdit::WndProc(Message);
}

void TControlEdit::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (FGrid && IsEndKey(Key) && !(Shift & (plat::ssCtrl | plat::ssAlt))) {
        const std::uint16_t k = Key;
        Key = 0;
        EndControlEdit(FGrid, Cell, k);
        return;
    }
    plat::TCustomMaskEdit::KeyDown(Key, Shift);
}

void TControlEdit::KeyPress(char16_t& Key) {
    // The ending keys were handled at key-down; their characters neither beep nor type.
    if (Key == u'\r' || Key == u'\t') {
        Key = 0;
        return;
    }
    plat::TCustomMaskEdit::KeyPress(Key);
}

void TControlEdit::DoExit() {
    plat::TCustomMaskEdit::DoExit();
    if (FGrid) FGrid->ControlEditDone();
}

// ---- TControlCombo --------------------------------------------------------------------------

TControlCombo::TControlCombo(TExtStringGrid* AOwner) : TEsgComboBox(AOwner), FGrid(AOwner) { SetVisible(false); }

void TControlCombo::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && IsEndKey(Message.WParam) && !DroppedDown()) {
        Message.Result = 1;
        return;
    }
    TEsgComboBox::WndProc(Message);
    if (Message.Msg == plat::WM_GETDLGCODE) Message.Result |= plat::DLGC_WANTTAB;
}

void TControlCombo::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    // The open list has Enter (it picks); the closed combo ends the edit with it.
    if (FGrid && IsEndKey(Key) && !DroppedDown() && !(Shift & (plat::ssCtrl | plat::ssAlt))) {
        const std::uint16_t k = Key;
        Key = 0;
        EndControlEdit(FGrid, Cell, k);
        return;
    }
    TEsgComboBox::KeyDown(Key, Shift);
}

void TControlCombo::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == u'\t') {
        Key = 0;
        return;
    }
    TEsgComboBox::KeyPress(Key);
}

void TControlCombo::DoExit() {
    TEsgComboBox::DoExit();
    if (FGrid) FGrid->ControlEditDone();
}

void TControlCombo::Select() {
    TEsgComboBox::Select();
    if (FGrid) FGrid->ControlComboSelect(this);
}

// ---- the grid's side ------------------------------------------------------------------------

TControlEdit* TExtStringGrid::ControlEdit() {
    if (!FEditControl) {
        FEditControl = new TControlEdit(this);
        FEditControl->SetParent(this);
    }
    return FEditControl;
}

TControlCombo* TExtStringGrid::ControlCombo() {
    if (!FComboControl) {
        FComboControl = new TControlCombo(this);
        FComboControl->SetParent(this);
    }
    return FComboControl;
}

void TExtStringGrid::ShowCellControlEditor(const String& CellText, const String& CtrlType, int ARow, int ACol,
                                           int DisplCol, const plat::TRect& CtrlRect, const String& CtrlValue,
                                           const String& CtrlID) {
    (void)DisplCol;
    const String type = plat::AnsiUpperCase(CtrlType);
    if (!IsEditType(type) && type != u"COMBO") return;
    // One control edit at a time: a running one writes its value back first.
    ControlEditDone();
    FCtrlEditXY = {ACol, ARow};
    FCtrlEditID = CtrlID;
    FCtrlEditType = type;
    FCtrlEditing = true;
    const int maxLen = std::max(0, GetMarkupControlMaxLen(CellText, CtrlID));
    if (IsEditType(type)) {
        TControlEdit* e = ControlEdit();
        e->Cell = FCtrlEditXY;
        e->SetPasswordChar(type == u"PASSWORD" ? u'*' : char16_t(0));
        e->SetEditMask(type == u"MASK" ? GetMarkupControlProp(CellText, CtrlID) : String());
        e->SetMaxLength(maxLen);
        e->SetText(CtrlValue);
        e->SetBounds(CtrlRect.Left + 1, CtrlRect.Top + 8, std::max(1, CtrlRect.Width() - 4), 14);
        e->SetVisible(true);
        e->BringToFront();
        if (e->CanFocus()) e->SetFocus();
        e->SelectAll();
        return;
    }
    TControlCombo* c = ControlCombo();
    c->Cell = FCtrlEditXY;
    c->SetFlat(false);
    bool edit = true;
    int dropCount = 8;
    c->Items()->Clear();
    if (OnControlComboList) OnControlComboList(this, ARow, ACol, CtrlID, type, CtrlValue, c->Items(), edit, dropCount);
    c->SetStyle(edit ? plat::csDropDown : plat::csDropDownList);
    c->SetItemIndex(c->Items()->IndexOf(CtrlValue));
    if (edit) c->SetText(CtrlValue);
    c->SetDropDownCount(std::max(1, dropCount));
    c->SetMaxLength(edit ? maxLen : 0);
    c->SetBounds(CtrlRect.Left - 1, CtrlRect.Top + 4, std::max(1, CtrlRect.Width()), c->Height());
    c->SetEnabled(true);
    c->SetVisible(true);
    c->BringToFront();
    if (c->CanFocus()) c->SetFocus();
    c->SetDroppedDown(true);
}

void TExtStringGrid::ControlEditDone() {
    if (!FCtrlEditing) return;
    FCtrlEditing = false;
    const TPoint cell = FCtrlEditXY;
    const String id = FCtrlEditID, type = FCtrlEditType;
    String value;
    plat::TWinControl* editor = nullptr;
    if (IsEditType(type) && FEditControl) {
        value = FEditControl->Text();
        editor = FEditControl;
    } else if (type == u"COMBO" && FComboControl) {
        value = FComboControl->Text();
        FComboControl->SetDroppedDown(false);
        editor = FComboControl;
    }
    // The row may have gone while the editor was open: only a cell that still exists is
    // written.
    if (editor && cell.Y >= 0 && cell.Y < RowCount() && cell.X >= 0 && cell.X < TotalColCount()) {
        String text = GetCellEx(cell.X, cell.Y);
        if (SetMarkupControlValue(text, id, value)) SetCellEx(cell.X, cell.Y, text);
    }
    if (editor) {
        const bool hadFocus = editor->Focused() || (editor == FComboControl && FComboControl->EditControl() &&
                                                     FComboControl->EditControl()->Focused());
        editor->SetVisible(false);
        if (hadFocus && CanFocus()) SetFocus();
    }
    if (editor && OnControlEditDone) OnControlEditDone(this, cell.Y, cell.X, id, type, value);
    FCtrlEditType.clear();
}

void TExtStringGrid::ControlComboSelect(TControlCombo* Combo) {
    if (!OnControlComboSelect || !Combo) return;
    const int i = Combo->ItemIndex();
    OnControlComboSelect(this, FCtrlEditXY.Y, FCtrlEditXY.X, i, FCtrlEditID,
                         i >= 0 ? Combo->Items()->At(i) : Combo->Text());
}

bool TExtStringGrid::FindMarkupControl(int ACol, int ARow, const String& ID, String& Type, String& Value,
                                       plat::TRect& Rect) {
    const int real = RealColIndex(ACol);
    const String text = GetCellEx(real, ARow);
    const plat::TRect cell = CellRect(ACol, ARow);
    if (cell.Width() <= 0 || cell.Height() <= 0) return false;
    // Laid out as the cell paints it, on a scratch canvas of the cell's size.
    plat::TBitmap scratch(std::max(1, cell.Width()), std::max(1, cell.Height()));
    scratch.Canvas()->Font()->Assign(*Font());
    TMarkupDrawInput in;
    in.Canvas = scratch.Canvas();
    in.Text = text;
    int left = FXYOffset.X + 1;
    if (HasCheckBox(real, ARow)) left += FControlLook->CheckSize;
    in.Rect = plat::Rect(left, FXYOffset.Y + 1, cell.Width() - FXYOffset.X, cell.Height());
    in.FindControl = true;
    in.ControlID = ID;
    in.URLColor = FURLColor;
    in.Images = GridImages;
    TMarkupDrawResult out;
    DrawMarkupText(in, out);
    if (out.ControlID != ID || out.ControlType.empty()) return false;
    Type = out.ControlType;
    Value = out.ControlValue;
    const plat::TRect& c = out.ControlRect;
    Rect = plat::Rect(c.Left + cell.Left, c.Top + cell.Top, c.Right + cell.Left, c.Bottom + cell.Top);
    return true;
}

void TExtStringGrid::EditNextMarkupControl(int ACol, int ARow, const String& CurrentID) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
    const int real = RealColIndex(ACol);
    if (CurrentID.empty()) {
        // Opening the first control asks what a press on a control asks.
        bool canEdit = false;
        if (Options().Contains(plat::goEditing) || FEditDisable) canEdit = !ReadOnly(real, ARow);
        CanEditCell(real, ARow, canEdit);
        if (!canEdit) return;
    }
    const String text = GetCellEx(real, ARow);
    const String id = NextMarkupEditControlId(text, CurrentID);
    String type, value;
    plat::TRect r;
    if (id.empty() || !FindMarkupControl(ACol, ARow, id, type, value, r)) {
        if (CanFocus()) SetFocus();
        return;
    }
    ShowCellControlEditor(text, type, ARow, real, ACol, r, value, id);
}

} // namespace grid
