// The custom editor link: opening an edCustom cell's editor through the grid's EditLink,
// the keys that end it, and the commit of its value.
#include "GridEditLink.h"

#include "plat/Messages.h"

namespace grid {

bool IsEditLinkOf(const TEditLink* Link, const plat::TComponent* AComponent) {
    return Link && static_cast<const plat::TComponent*>(Link) == AComponent;
}

// ---- TEditLink --------------------------------------------------------------------------------

TEditLink::TEditLink(plat::TComponent* AOwner) : plat::TComponent(AOwner) {}

TEditLink::~TEditLink() {
    // The control no longer calls into the link.
    if (FSubClassed && FSubClassedControl) {
        FSubClassedControl->SetWindowProc(FOldWinProc);
        FSubClassedControl->RemoveFreeNotification(this);
    }
    if (FPopupForm) {
        FPopupForm->RemoveFreeNotification(this);
        FPopupForm->OnDeactivate = nullptr;
    }
}

void TEditLink::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    plat::TComponent::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent == FPopupForm) FPopupForm = nullptr;
    if (Operation == plat::opRemove && AComponent == FSubClassedControl) {
        // The control went with its window procedure.
        FSubClassedControl = nullptr;
        FOldWinProc = nullptr;
        FSubClassed = false;
    }
}

void TEditLink::SubClass(plat::TWinControl* Control) {
    if (FSubClassed || EditStyle != esInplace || !Control) return;
    FSubClassedControl = Control;
    FOldWinProc = Control->WindowProc();
    Control->FreeNotification(this);
    FSubClassed = true;
    Control->SetWindowProc([this, Control](plat::TMessage& Message) {
        const plat::TControl::TWndMethod previous = FOldWinProc;
        if (previous)
            previous(Message);
        else
            Control->WndProc(Message);
        if (Message.Msg == plat::WM_GETDLGCODE && FOwner && FOwner->Options().Contains(plat::goTabs))
            Message.Result |= plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTALLKEYS;
    });
}

plat::TWinControl* TEditLink::GetParent() {
    if (EditStyle == esPopup && FPopupForm) return FPopupForm;
    return FOwner;
}

void TEditLink::SetFocus(bool Value) {
    plat::TWinControl* c = GetEditControl();
    if (Value) {
        if (!c) return;
        c->SetVisible(true);
        c->SetEnabled(true);
        SubClass(c);
        if (c->CanFocus()) c->SetFocus();
    } else if (FOwner && FOwner->CanFocus()) {
        FOwner->SetFocus();
    }
}

void TEditLink::SetRect(plat::TRect R) {
    plat::TWinControl* c = GetEditControl();
    if (!c) return;
    const int line = FOwner ? FOwner->GridLineWidth() : 0;
    c->SetBounds(R.Left, R.Top, R.Right - R.Left - line, R.Bottom - R.Top - line);
}

void TEditLink::SetVisible(bool Value) {
    if (plat::TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

String TEditLink::GetCellValue() {
    if (!FOwner) return {};
    return FOwner->GetGridCell(FOwner->RealColIndex(FOwner->Col()), FOwner->Row());
}

void TEditLink::SetCellValue(const String& S) {
    if (!FOwner) return;
    FOwner->SetEditCellText(FOwner->RealColIndex(FOwner->Col()), FOwner->Row(), S);
}

void TEditLink::RestoreWinProc() {
    if (FSubClassed && FSubClassedControl) {
        FSubClassedControl->SetWindowProc(FOldWinProc);
        FSubClassedControl->RemoveFreeNotification(this);
    }
    FSubClassed = false;
    FSubClassedControl = nullptr;
    FOldWinProc = nullptr;
    if (EditStyle != esInplace) return;
    if (plat::TWinControl* c = GetEditControl()) c->SetVisible(false);
}

void TEditLink::HideEditor() {
    if (!FOwner) return;
    FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(plat::TObject*) {
    if (!FOwner || FForcedExit) return;
    HideEditor();
    if (EditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::FormExit(plat::TObject* Sender) {
    if (!FOwner || FOwner->FActiveLink != this) return;
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit(Sender);
}

void TEditLink::EditKeyDown(plat::TObject*, std::uint16_t& Key, plat::TShiftState Shift) {
    TExtStringGrid* g = FOwner;
    if (!g || g->FActiveLink != this || !g->EditMode) return;
    const bool alt = (Shift & plat::ssAlt) != 0;
    bool ends;
    switch (Key) {
    case plat::VK_TAB: ends = !WantTabs; break;
    case plat::VK_RETURN: ends = !WantKeyReturn; break;
    case plat::VK_ESCAPE: ends = !WantKeyEscape; break;
    case plat::VK_PRIOR: case plat::VK_NEXT: ends = !WantKeyPriorNext; break;
    case plat::VK_END: ends = !WantKeyHomeEnd; break;
    case plat::VK_HOME: ends = false; break;
    case plat::VK_LEFT: case plat::VK_RIGHT: ends = !WantKeyLeftRight; break;
    case plat::VK_UP: case plat::VK_DOWN: ends = !WantKeyUpDown; break;
    default: ends = alt; break;
    }
    if (!ends) return;
    const std::uint16_t key = Key;
    Key = 0;
    const bool shift = (Shift & plat::ssShift) != 0;
    if (key == plat::VK_ESCAPE) {
        // The value of the edit's start comes back; nothing is validated.
        SetEditorValue(g->CellCache());
    } else {
        g->FEditing = true;
        if (!g->ValidateCell(GetEditorValue())) {
            // Refused: the editor has been opened again on the cell with the value validation
            // settled on.
            return;
        }
    }
    FForcedExit = true;
    {
        struct Reset {
            bool& f;
            ~Reset() { f = false; }
        } reset{FForcedExit};
        g->CommitInplaceEditor(g->Col(), g->Row());
        if (EditStyle == esPopup) {
            DestroyEditor();
            if (FPopupForm) FPopupForm->Hide();
        }
        g->FEditing = false;
        g->EditMode = false;
        if (g->CanFocus()) g->SetFocus();
    }
    (void)g->SelectCell(g->Col(), g->Row());
    switch (key) {
    case plat::VK_RETURN:
        if (g->Navigation()->AdvanceOnEnter) g->AdvanceCell(g->Col(), g->Row(), true, false, !shift, true, false);
        break;
    case plat::VK_TAB:
        if (g->Options().Contains(plat::goTabs) || g->Navigation()->TabToNextAtEnd) {
            if (g->EditorKeyNavigation(shift)) {
                const TPoint b = g->BaseCell(g->RealColIndex(g->Col()), g->Row());
                // The next cell's editor opens when the loop turns.
                if (!g->IsControlCell(b.X, b.Y) && g->HandleAllocated())
                    plat::PostMessage(g->Handle(), plat::WM_KEYDOWN, plat::VK_F2, 0);
            }
        }
        break;
    case plat::VK_ESCAPE:
        break;
    default: {
        std::uint16_t k = key;
        g->Perform(plat::WM_KEYDOWN, k, 0);
        break;
    }
    }
}

// ---- fixed-cell editors -----------------------------------------------------------------------

namespace {

// The validation of a fixed-cell editor's text; true when the editor may close.
bool StopFixedEdit(TExtStringGrid* Grid, plat::TWinControl* Editor, int ACol, int ARow, const String& Text) {
    if (!Grid) {
        Editor->SetVisible(false);
        return true;
    }
    String value = Text;
    bool valid = true;
    if (Grid->OnCellValidate) Grid->OnCellValidate(Grid, ACol, ARow, value, valid);
    if (!valid) {
        if (Editor->Visible() && Editor->CanFocus()) Editor->SetFocus();
        return false;
    }
    if (Grid->OnEditingDone) Grid->OnEditingDone(Grid);
    Grid->SetCells(ACol, ARow, value);
    Editor->SetVisible(false);
    return true;
}

} // namespace

TGridTransEdit::TGridTransEdit(TExtStringGrid* AOwner) : plat::TEdit(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetBorderStyle(plat::bsNone);
}

bool TGridTransEdit::StopEdit() { return StopFixedEdit(FGrid, this, FCol, FRow, Text()); }

void TGridTransEdit::DoExit() {
    plat::TEdit::DoExit();
    if (Visible()) (void)StopEdit();
}

void TGridTransEdit::KeyPress(char16_t& Key) {
    if (Key == u'\r') {
        Key = 0;
        return;
    }
    plat::TEdit::KeyPress(Key);
}

TGridTransCombo::TGridTransCombo(TExtStringGrid* AOwner) : plat::TComboBox(AOwner), FGrid(AOwner) {
    SetVisible(false);
}

bool TGridTransCombo::StopEdit() { return StopFixedEdit(FGrid, this, FCol, FRow, Text()); }

void TGridTransCombo::DoExit() {
    plat::TComboBox::DoExit();
    if (Visible()) (void)StopEdit();
}

void TGridTransCombo::KeyPress(char16_t& Key) {
    if (Key == u'\r') {
        Key = 0;
        return;
    }
    plat::TComboBox::KeyPress(Key);
}

TGridTransEdit* TExtStringGrid::EditTrans() {
    if (!FEditTrans) {
        FEditTrans = new TGridTransEdit(this);
        FEditTrans->SetParent(this);
    }
    return FEditTrans;
}

TGridTransCombo* TExtStringGrid::ComboTrans() {
    if (!FComboTrans) {
        FComboTrans = new TGridTransCombo(this);
        FComboTrans->SetParent(this);
    }
    return FComboTrans;
}

void TExtStringGrid::FixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values) {
    if (OnFixedEdit) OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TExtStringGrid::FixedCellEdit(int ACol, int ARow) {
    // An open editor that refuses to stop blocks the new one.
    if (FEditTrans && FEditTrans->Visible() && !FEditTrans->StopEdit()) return;
    if (FComboTrans && FComboTrans->Visible() && !FComboTrans->StopEdit()) return;
    bool can = true;
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, can);
    if (!can) return;
    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    TGridFixedCellEditor kind = ACol == 0 ? FMouseActions->FixedColsEditor : FMouseActions->FixedRowsEditor;
    TGridTransCombo* combo = ComboTrans();
    combo->Items()->Assign(&FFixedComboValues);
    FixedEdit(ACol, ARow, kind, combo->Items());
    plat::TRect r = CellRect(DisplColIndex(ACol), ARow);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    const String text = Cells(ACol, ARow);
    plat::TWinControl* editor;
    if (kind == fceComboEdit || kind == fceComboList) {
        combo->SetStyle(kind == fceComboEdit ? plat::csDropDown : plat::csDropDownList);
        combo->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
        if (kind == fceComboEdit) combo->SetText(text);
        else combo->SetItemIndex(combo->Items()->IndexOf(text));
        combo->FCol = ACol;
        combo->FRow = ARow;
        editor = combo;
    } else {
        TGridTransEdit* edit = EditTrans();
        edit->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        edit->SetText(text);
        edit->FCol = ACol;
        edit->FRow = ARow;
        editor = edit;
    }
    editor->SetVisible(true);
    editor->BringToFront();
    if (editor->CanFocus()) editor->SetFocus();
}

// ---- the grid's side --------------------------------------------------------------------------

void TExtStringGrid::SetEditLink(TEditLink* Value) {
    if (FEditLink == Value) return;
    if (FEditLink) FEditLink->RemoveFreeNotification(this);
    FEditLink = Value;
    if (FEditLink) FEditLink->FreeNotification(this);
}

bool TExtStringGrid::IsEditLinkComponent(const plat::TComponent* AComponent) const {
    return IsEditLinkOf(FEditLink, AComponent) || IsEditLinkOf(FActiveLink, AComponent);
}

void TExtStringGrid::PrepareLinkEditor(int ACol, int ARow) {
    TEditLink* link = FEditLink;
    const plat::TRect r = CellRect(ACol, ARow);
    const int realCol = RealColIndex(ACol);
    FEditing = FSpecialEditor = true;
    EditMode = true;
    FActiveLink = link;
    link->FOwner = this;
    link->FEditCell = {realCol, ARow};
    const String editText = GetEditText(ACol, ARow);
    {
        struct Quiet {
            bool& f;
            bool saved;
            ~Quiet() { f = saved; }
        } quiet{FNoEditChange, FNoEditChange};
        FNoEditChange = true;
        if (link->EditStyle == esPopup) {
            if (link->AutoPopupWidth) link->PopupWidth = r.Right - r.Left;
            if (!link->FPopupForm) {
                // One form of that name belongs to the application.
                if (plat::TComponent* old = plat::Application->FindComponent(u"gridform")) delete old;
                auto* form = new plat::TForm(plat::Application);
                form->SetName(u"gridform");
                form->SetBorderStyle(plat::bsNone);
                form->SetFormStyle(plat::fsStayOnTop);
                form->FreeNotification(link);
                link->FPopupForm = form;
            }
            plat::TForm* form = link->FPopupForm;
            plat::TPoint at{link->PopupLeft, link->PopupTop};
            if (at.X == -1 || at.Y == -1) at = ClientToScreen({r.Left, r.Top});
            form->OnDeactivate = [link](plat::TObject* Sender) { link->FormExit(Sender); };
            form->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
            form->Show();
            form->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
            link->CreateEditor(form);
            link->SetRect({0, 0, link->PopupWidth, link->PopupHeight});
        } else {
            link->CreateEditor(this);
            link->SetRect(r);
        }
        link->SetVisible(true);
        link->SetCellProps(Color(), Font());
        link->SetProperties();
        GetEditorProp(realCol, ARow, link);
        link->SetEditorValue(editText);
    }
    link->SetFocus(true);
    FEditActive = true;
    if (FStartEditChar != 0) {
        const char16_t ch = FStartEditChar;
        if (plat::TWinControl* c = link->GetEditControl(); c && c->HandleAllocated())
            plat::PostMessage(c->Handle(), plat::WM_CHAR, ch, 0);
    }
    FStartEditChar = 0;
}

void TExtStringGrid::CommitLinkEditor(int RealCol, int ARow) {
    TEditLink* link = FActiveLink;
    if (!link || !EditMode) return;
    const TPoint b = BaseCell(RealCol, ARow);
    String value = link->GetEditorValue();
    // The editor shows markup as plain text: an unchanged edit keeps the stored text.
    if (value == FOpenedEditText) value = FOpenedCellText;
    if (link->EditStyle != esPopup) link->SetVisible(false);
    link->RestoreWinProc();
    EditMode = false;
    SetEditCellText(b.X, b.Y, value);
}

} // namespace grid
