// The check-box, button, edit-with-button, unit and rich-text editors of the grid: their keys,
// how the factory opens them over a cell and how the commit writes their value back.
#include "GridEditors2.h"

#include <algorithm>

#include "GridDatePicker.h"
#include "GridEditLink.h"
#include "GridEditors.h"
#include "plat/Clipbrd.h"
#include "plat/Messages.h"
#include "plat/SystemInput.h"

namespace grid {

using plat::TShiftState;

namespace {

constexpr char16_t kCtrlV = 0x16;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsDateEditorKind(TEditorType e) {
    return e == edDateEdit || e == edDateEditUpDown || e == edTimeEdit || e == edDateTimeEdit;
}
bool IsEditBtnKind(TEditorType e) {
    return e == edEditBtn || e == edNumericEditBtn || e == edFloatEditBtn || e == edMaskEditBtn;
}
bool IsUnitKind(TEditorType e) {
    return e == edUnitEditBtn || e == edNumericUnitEditBtn || e == edFloatUnitEditBtn;
}

struct FlagScope {
    bool& Flag;
    bool Saved;
    FlagScope(bool& f, bool value) : Flag(f), Saved(f) { f = value; }
    ~FlagScope() { Flag = Saved; }
};

void Beep() { plat::MessageBeep(plat::MB_OK); }

// Gives the grid the focus and hands it a key as if pressed on it.
void GridKey(TExtStringGrid* g, std::uint16_t Key, TShiftState Shift) {
    if (g->CanFocus()) g->SetFocus();
    std::uint16_t k = Key;
    g->Perform(plat::WM_KEYDOWN, k, 0);
    (void)Shift;
}

} // namespace

bool EditBtnAcceptChar(int Kind, const String& Text, int SelStart, int SelLen, char16_t Key, bool Ctrl, bool& Beep) {
    Beep = false;
    if (Kind == 0) return true;
    if (Key == 8 || Key == 27 || IsDigit(Key)) return true;
    const auto s = static_cast<std::size_t>(std::clamp(SelStart, 0, static_cast<int>(Text.size())));
    const auto n = static_cast<std::size_t>(std::clamp(SelLen, 0, static_cast<int>(Text.size() - s)));
    const String selected = Text.substr(s, n);
    const String rest = Text.substr(0, s) + Text.substr(s + n);
    const bool minusOk = SelStart == 0 && (rest.find(u'-') == String::npos);
    if (Kind == 1) {
        if (Key == u'-' && minusOk) return true;
        Beep = true;
        return false;
    }
    const char16_t dec = GetDecimalSeparator();
    const char16_t thousand = plat::FormatSettings.ThousandSeparator;
    if (Key == dec) return rest.find(dec) == String::npos;
    if (Key == thousand) return false;
    if (Key == u'-') {
        if (minusOk || selected.find(u'-') != String::npos) return true;
        Beep = true;
        return false;
    }
    if (Key == u',' || Key == u'.') return true;
    return Ctrl;
}

// ---- TGridCheckBox ----------------------------------------------------------------------------

TGridCheckBox::TGridCheckBox(TExtStringGrid* AOwner) : plat::TCheckBox(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
}

void TGridCheckBox::WndProc(plat::TMessage& Message) {
    // The keys that end the edit reach the box instead of moving the form's focus.
    if (Message.Msg == plat::CM_WANTSPECIALKEY && FGrid && Visible()) {
        const auto k = Message.WParam;
        if (k == plat::VK_RETURN || k == plat::VK_LEFT || k == plat::VK_RIGHT || k == plat::VK_UP || k == plat::VK_DOWN) {
            Message.Result = 1;
            return;
        }
    }
    plat::TCheckBox::WndProc(Message);
}

void TGridCheckBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    switch (Key) {
    case plat::VK_RETURN:
    case plat::VK_PRIOR:
    case plat::VK_NEXT:
    case plat::VK_END:
    case plat::VK_LEFT:
    case plat::VK_RIGHT:
    case plat::VK_UP:
    case plat::VK_DOWN: {
        if (!FGrid) break;
        const std::uint16_t k = Key;
        Key = 0;
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        if (k == plat::VK_RETURN) {
            FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), true, false, true, true, false);
        } else if (k == plat::VK_UP || k == plat::VK_DOWN) {
            GridKey(FGrid, k, Shift);
        }
        return;
    }
    default:
        break;
    }
    plat::TCheckBox::KeyDown(Key, Shift);
}

void TGridCheckBox::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    plat::TCheckBox::DoExit();
}

// ---- TGridButton ------------------------------------------------------------------------------

TGridButton::TGridButton(TExtStringGrid* AOwner) : plat::TButton(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
}

void TGridButton::Close() {
    SetVisible(false);
    SetEnabled(false);
    FGrid->DropSpecialEditor();
    if (FGrid->CanFocus()) FGrid->SetFocus();
}

void TGridButton::Ellipsis() {
    String s = Caption();
    FGrid->EllipsClick(s);
    SetCaption(s);
    FGrid->SetCurrentCell(s);
}

void TGridButton::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && FGrid) {
        const auto k = Message.WParam;
        if (k == plat::VK_ESCAPE || k == plat::VK_LEFT || k == plat::VK_RIGHT || k == plat::VK_UP || k == plat::VK_DOWN) {
            Message.Result = 1;
            return;
        }
    }
    plat::TButton::WndProc(Message);
}

void TGridButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (!FGrid) {
        plat::TButton::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case plat::VK_LEFT:
    case plat::VK_UP:
    case plat::VK_RIGHT:
    case plat::VK_DOWN: {
        const std::uint16_t k = Key;
        Key = 0;
        Close();
        FGrid->Perform(plat::WM_KEYDOWN, k, 0);
        FGrid->Perform(plat::WM_KEYUP, k, 0);
        return;
    }
    case plat::VK_ESCAPE:
        Key = 0;
        Close();
        FGrid->RestoreCellCache();
        FGrid->Perform(plat::WM_KEYDOWN, plat::VK_ESCAPE, 0);
        return;
    default:
        break;
    }
    plat::TButton::KeyDown(Key, Shift);
}

void TGridButton::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (FGrid && Key == plat::VK_SPACE && Visible()) {
        Key = 0;
        Ellipsis();
        if (CanFocus()) SetFocus();
        Invalidate();
        return;
    }
    plat::TButton::KeyUp(Key, Shift);
}

void TGridButton::MouseUp(plat::TMouseButton Button, TShiftState Shift, int X, int Y) {
    plat::TButton::MouseUp(Button, Shift, X, Y);
    if (FGrid && Button == plat::mbLeft && Parent() == FGrid && Visible()) Ellipsis();
}

void TGridButton::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    plat::TButton::DoExit();
}

// ---- TGridEditBtn -----------------------------------------------------------------------------

TGridEditBtn::TGridEditBtn(TExtStringGrid* AOwner) : TEsgEditBtn(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
    OnClickBtn = [this](plat::TObject*) { EllipsisButtonClick(); };
    OnChange = [this](plat::TObject*) {
        if (FGrid && Visible()) FGrid->EditorChanged(Text());
    };
}

int TGridEditBtn::Kind() const {
    if (!FGrid) return 0;
    switch (FGrid->EditControl) {
    case edNumericEditBtn: return 1;
    case edFloatEditBtn: return 2;
    default: return 0;
    }
}

void TGridEditBtn::EllipsisButtonClick() {
    if (!FGrid) return;
    String s = Text();
    FGrid->EllipsClick(s);
    SetText(s);
    SelectAll();
    Invalidate();
    if (StopEditAfterClick) {
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
    }
}

bool TGridEditBtn::PasteText(String Value) {
    if (Value.size() >= 2 && Value.compare(Value.size() - 2, 2, u"\r\n") == 0 && Value.find(u"\r\n") == Value.size() - 2)
        Value.resize(Value.size() - 2);
    String text = Text();
    const int s = std::clamp(SelStart(), 0, static_cast<int>(text.size()));
    const int n = std::clamp(SelLength(), 0, static_cast<int>(text.size()) - s);
    const bool replaced = n > 0;
    text.replace(static_cast<std::size_t>(s), static_cast<std::size_t>(n), Value);
    // The kind's character rule decides over the whole resulting text, typed from empty.
    String probe;
    for (char16_t c : text) {
        bool beep = false;
        if (!EditBtnAcceptChar(Kind(), probe, static_cast<int>(probe.size()), 0, c, false, beep)) return false;
        probe.push_back(c);
    }
    if (MaxLength() > 0 && static_cast<int>(text.size()) > MaxLength()) return false;
    SetText(text);
    if (FGrid) FGrid->SetCurrentEditText(text);
    if (replaced) {
        SetSelStart(s);
        SetSelLength(static_cast<int>(Value.size()));
    } else {
        SetSelStart(s + static_cast<int>(Value.size()));
        SetSelLength(0);
    }
    return true;
}

void TGridEditBtn::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && FGrid) {
        const auto k = Message.WParam;
        if (k == plat::VK_RETURN || k == plat::VK_ESCAPE || (k == plat::VK_TAB && FGrid->EditorWantsTab())) {
            Message.Result = 1;
            return;
        }
    }
    if (Message.Msg == plat::WM_GETDLGCODE && FGrid) {
        TEsgEditBtn::WndProc(Message);
        if (FGrid->EditorWantsTab()) Message.Result |= plat::DLGC_WANTTAB;
        return;
    }
    if (Message.Msg == plat::WM_PASTE && FGrid) {
        if (plat::Clipboard().HasFormat(plat::CF_UNICODETEXT)) PasteText(plat::Clipboard().AsText());
        Message.Result = 0;
        return;
    }
    TEsgEditBtn::WndProc(Message);
}

void TGridEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (!FGrid) {
        TEsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    const bool special = Key == plat::VK_TAB || Key == plat::VK_RETURN || Key == plat::VK_ESCAPE ||
                         Key == plat::VK_PRIOR || Key == plat::VK_NEXT || Key == plat::VK_UP || Key == plat::VK_DOWN;
    if (!special && FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
    if (Key == 'V' && (Shift & plat::ssCtrl) && !(Shift & plat::ssAlt)) {
        // The paste shortcut goes the paste path, which checks the text by kind.
        Perform(plat::WM_PASTE, 0, 0);
        Key = 0;
        return;
    }
    if ((Shift & plat::ssCtrl) || !special) {
        TEsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    const TEditorType kind = FGrid->EditControl;
    if (Key == plat::VK_TAB || Key == plat::VK_RETURN || Key == plat::VK_UP || Key == plat::VK_DOWN) {
        const String t = Text();
        FGrid->SetCurrentCell(t);
        const bool valid = FGrid->ValidateCell(t);
        // A refused value leaves the editor on what the cell holds: the old text, or the one
        // the validation handler gave.
        SetText(valid ? FGrid->NewCellText() : FGrid->GetCurrentCell());
        if (!valid) {
            SelectAll();
            Invalidate();
            Key = 0;
            FGrid->EditControl = kind;
            return;
        }
    }
    if (Key == plat::VK_TAB && FGrid->EditorWantsTab()) {
        if (FGrid->Options().Contains(plat::goTabs)) {
            Key = 0;
            FGrid->HideInplaceEdit();
            if (FGrid->CanFocus()) FGrid->SetFocus();
            FGrid->EditorKeyNavigation((Shift & plat::ssShift) != 0);
            return;
        }
        if (FGrid->HandleAllocated()) plat::PostMessage(FGrid->Handle(), plat::WM_KEYDOWN, plat::VK_TAB, 0);
    }
    if (Key == plat::VK_ESCAPE) SetText(FGrid->CellCache());
    const std::uint16_t k = Key;
    Key = 0;
    FGrid->DoneInplaceEdit(k, Shift);
}

void TGridEditBtn::KeyPress(char16_t& Key) {
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(FGrid, Key);
    if (Key == u'\r' || Key == u'\t') {
        Key = 0;
        return;
    }
    if (Key == kCtrlV) {
        Key = 0;  // the key-down already pasted
        return;
    }
    const bool ctrl = (plat::GetKeyState(plat::VK_CONTROL) & 0x8000) != 0;
    bool beep = false;
    if (Key != 0 && !EditBtnAcceptChar(Kind(), Text(), SelStart(), SelLength(), Key, ctrl, beep)) {
        if (beep) Beep();
        Key = 0;
        return;
    }
    TEsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    TEsgEditBtn::DoExit();
}

// ---- TGridUnitEditBtn -------------------------------------------------------------------------

TGridUnitEditBtn::TGridUnitEditBtn(TExtStringGrid* AOwner) : TEsgUnitEditBtn(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
    OnUnitChanged = [this](plat::TObject*, const String& NewUnit) {
        if (FGrid && FGrid->OnUnitChanged)
            FGrid->OnUnitChanged(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), NewUnit);
    };
}

int TGridUnitEditBtn::Kind() const {
    if (!FGrid) return 0;
    switch (FGrid->EditControl) {
    case edNumericUnitEditBtn: return 1;
    case edFloatUnitEditBtn: return 2;
    default: return 0;
    }
}

void TGridUnitEditBtn::EllipsisButtonClick() {
    if (!FGrid) return;
    String s = Text();
    FGrid->EllipsClick(s);
    SetText(s);
    SelectAll();
    Invalidate();
    TEsgUnitEditBtn::ClickBtn();
}

void TGridUnitEditBtn::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && FGrid) {
        const auto k = Message.WParam;
        if (k == plat::VK_RETURN || k == plat::VK_ESCAPE || (k == plat::VK_TAB && FGrid->Options().Contains(plat::goTabs))) {
            Message.Result = 1;
            return;
        }
    }
    if (Message.Msg == plat::WM_GETDLGCODE && FGrid) {
        TEsgUnitEditBtn::WndProc(Message);
        if (FGrid->Options().Contains(plat::goTabs)) Message.Result |= plat::DLGC_WANTTAB;
        return;
    }
    TEsgUnitEditBtn::WndProc(Message);
}

void TGridUnitEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    const bool special = Key == plat::VK_TAB || Key == plat::VK_RETURN || Key == plat::VK_ESCAPE ||
                         Key == plat::VK_PRIOR || Key == plat::VK_NEXT || Key == plat::VK_UP || Key == plat::VK_DOWN;
    if (!FGrid || !special) {
        TEsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (Key == plat::VK_TAB || Key == plat::VK_RETURN || Key == plat::VK_UP || Key == plat::VK_DOWN) {
        const String t = TextAndUnit();
        FGrid->SetCurrentCell(t);
        if (!FGrid->ValidateCell(t)) {
            SetText(FGrid->GetCurrentCell());
            Key = 0;
            return;
        }
        const String cell = FGrid->GetCurrentCell();
        SetTextAndUnit(cell);
        if (TextAndUnit() != cell) {
            SetUnitID(String());
            SetText(cell);
        }
    }
    if (Key == plat::VK_RETURN && FGrid->Navigation()->AdvanceOnEnter) {
        Key = 0;
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), true, false, true, true, false);
        return;
    }
    if (Key == plat::VK_TAB && FGrid->Options().Contains(plat::goTabs)) {
        Key = 0;
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->EditorKeyNavigation((Shift & plat::ssShift) != 0);
        return;
    }
    if (Key == plat::VK_ESCAPE) {
        SetUnitID(String());
        SetText(FGrid->CellCache());
    }
    const std::uint16_t k = Key;
    Key = 0;
    FGrid->DoneInplaceEdit(k, Shift);
}

void TGridUnitEditBtn::KeyPress(char16_t& Key) {
    if (Key == u'\r') {
        Key = 0;
        return;
    }
    const bool ctrl = (plat::GetKeyState(plat::VK_CONTROL) & 0x8000) != 0;
    bool beep = false;
    if (Key != 0 && Key != u'\t' && !EditBtnAcceptChar(Kind(), Text(), SelStart(), SelLength(), Key, ctrl, beep)) {
        if (beep) Beep();
        Key = 0;
        return;
    }
    TEsgUnitEditBtn::KeyPress(Key);
}

void TGridUnitEditBtn::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    TEsgUnitEditBtn::DoExit();
}

// ---- TExtRichEdit -----------------------------------------------------------------------------

TExtRichEdit::TExtRichEdit(TExtStringGrid* AOwner) : plat::TRichEdit(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetWantTabs(true);
}

void TExtRichEdit::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_WANTSPECIALKEY && FGrid && Message.WParam == plat::VK_ESCAPE) {
        Message.Result = 1;
        return;
    }
    plat::TRichEdit::WndProc(Message);
}

void TExtRichEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (!FGrid || !Visible()) {
        plat::TRichEdit::KeyDown(Key, Shift);
        return;
    }
    const std::uint16_t k = Key;
    if (k == plat::VK_ESCAPE) {
        // The cell keeps the text it had when the edit began.
        Key = 0;
        FGrid->EditControl = edNone;
        FGrid->HideInplaceEdit();
        if (FGrid->CanFocus()) FGrid->SetFocus();
        return;
    }
    if (k == plat::VK_TAB && FGrid->Options().Contains(plat::goTabs)) {
        Key = 0;
        FGrid->HideInplaceEdit();
        GridKey(FGrid, k, Shift);
        FGrid->ShowInplaceEdit();
        return;
    }
    if ((k == plat::VK_UP || k == plat::VK_DOWN) && !FGrid->WordWrap() && !FGrid->MultilineCells) {
        Key = 0;
        FGrid->HideInplaceEdit();
        GridKey(FGrid, k, Shift);
        return;
    }
    plat::TRichEdit::KeyDown(Key, Shift);
}

void TExtRichEdit::DoExit() {
    if (FGrid && FGrid->EditMode && Visible()) FGrid->HideInplaceEdit();
    plat::TRichEdit::DoExit();
}

// ---- the grid's side --------------------------------------------------------------------------

TGridCheckBox* TExtStringGrid::CheckBoxEditor() {
    if (!FCheckBoxEd) {
        FCheckBoxEd = new TGridCheckBox(this);
        FCheckBoxEd->SetParent(this);
    }
    return FCheckBoxEd;
}

TGridButton* TExtStringGrid::ButtonEditor() {
    if (!FButtonEd) {
        FButtonEd = new TGridButton(this);
        FButtonEd->SetParent(this);
    }
    return FButtonEd;
}

TGridEditBtn* TExtStringGrid::BtnEdit() {
    if (!FBtnEdit) {
        FBtnEdit = new TGridEditBtn(this);
        FBtnEdit->SetParent(this);
    }
    return FBtnEdit;
}

TGridUnitEditBtn* TExtStringGrid::BtnUnitEdit() {
    if (!FBtnUnitEdit) {
        FBtnUnitEdit = new TGridUnitEditBtn(this);
        FBtnUnitEdit->SetParent(this);
    }
    return FBtnUnitEdit;
}

TExtRichEdit* TExtStringGrid::InplaceRichEdit() {
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TExtRichEdit(this);
        FInplaceRichEdit->SetParent(this);
        FInplaceRichEdit->SetBorderStyle(plat::bsNone);
    }
    return FInplaceRichEdit;
}

String TExtStringGrid::RichToString(plat::TCustomRichEdit* RichEditor) {
    if (FDestroying || !RichEditor) return String();
    return RichEditor->Document().SaveRichText();
}

void TExtStringGrid::RichToCell(int ACol, int ARow, plat::TCustomRichEdit* RichEditor) {
    SetCells(ACol, ARow, RichToString(RichEditor));
}

void TExtStringGrid::EllipsClick(String& S) {
    if (OnEllipsClick) OnEllipsClick(this, RealColIndex(Col()), Row(), S);
}

bool TExtStringGrid::IsEditor2Kind(TEditorType AEditor) {
    return IsEditBtnKind(AEditor) || IsUnitKind(AEditor) || AEditor == edCheckBox || AEditor == edButton ||
           AEditor == edRichEdit;
}

String TExtStringGrid::SpecialEditorValue() {
    if ((EditControl == edComboEdit || EditControl == edComboList) && FCombo) return FCombo->Text();
    if ((EditControl == edSpinEdit || EditControl == edFloatSpinEdit || EditControl == edTimeSpinEdit ||
         EditControl == edDateSpinEdit) && FSpin)
        return FSpin->Text();
    if (IsEditBtnKind(EditControl) && FBtnEdit) return FBtnEdit->Text();
    if (IsUnitKind(EditControl) && FBtnUnitEdit) return FBtnUnitEdit->TextAndUnit();
    // An unchanged date editor stands for the text the edit opened with.
    if (IsDateEditorKind(EditControl) && DateEditorUnchanged()) return FOpenedEditText;
    if ((EditControl == edDateEdit || EditControl == edDateEditUpDown || EditControl == edTimeEdit) && FDatePicker)
        return FDatePicker->Text();
    if (EditControl == edCustom && FActiveLink) return FActiveLink->GetEditorValue();
    if (EditControl == edDateTimeEdit && FDateAndTimePicker)
        return plat::FormatDateTime(plat::FormatSettings.ShortDateFormat + u" " + plat::FormatSettings.ShortTimeFormat,
                                    FDateAndTimePicker->DateTime());
    return GetCurrentCell();
}

void TExtStringGrid::DropSpecialEditor() {
    EditMode = false;
    FEditing = false;
    FSpecialEditor = false;
    FEditActive = false;
}

void TExtStringGrid::PrepareEditor2(int ACol, int ARow) {
    FEditing = FSpecialEditor = FEditActive = true;
    FLastValidation = true;
    const plat::TRect r = CellRect(ACol, ARow);
    const int w = r.Right - r.Left - 1, h = r.Bottom - r.Top - 1;
    const int realCol = RealColIndex(ACol);
    const String editText = GetEditText(ACol, ARow);
    plat::TWinControl* target = nullptr;
    {
        // The editor is filled by the grid: no change notification reaches the events.
        FlagScope quiet(FNoEditChange, true);
        if (IsEditBtnKind(EditControl)) {
            TGridEditBtn* e = BtnEdit();
            e->ReCreate();
            e->SetBounds(r.Left, r.Top, w, h);
            // edMaskEditBtn edits through the cell's edit mask; the other kinds through none.
            e->SetEditMask(EditControl == edMaskEditBtn ? GetEditMask(ACol, ARow) : String());
            e->SetText(editText);
            e->SetMaxLength(std::max(0, GetEditLimit()));
            e->SetVisible(true);
            e->SetEnabled(true);
            e->SetColor(Color());
            target = e;
        } else if (IsUnitKind(EditControl)) {
            TGridUnitEditBtn* e = BtnUnitEdit();
            e->ReCreate();
            e->SetBounds(r.Left, r.Top, w, h);
            e->SetMaxLength(std::max(0, GetEditLimit()));
            e->SetUnitID(String());
            e->SetText(String());
            e->SetTextAndUnit(editText);
            // A text without a known unit is all value: nothing of it is lost.
            if (e->TextAndUnit() != editText) {
                e->SetUnitID(String());
                e->SetText(editText);
            }
            GetEditorProp(realCol, ARow, nullptr);
            e->SetVisible(true);
            e->SetEnabled(true);
            e->SetColor(Color());
            target = e;
        } else if (EditControl == edCheckBox) {
            TGridCheckBox* e = CheckBoxEditor();
            e->ReCreate();
            e->SetBounds(r.Left, r.Top, w, h);
            e->SetCaption(editText);
            e->SetEnabled(true);
            e->SetChecked(false);
            e->SetVisible(true);
        } else if (EditControl == edButton) {
            TGridButton* e = ButtonEditor();
            e->ReCreate();
            e->SetBounds(r.Left - 1, r.Top - 1, w + 2, h + 2);
            e->SetCaption(editText);
            e->SetVisible(true);
            e->SetEnabled(true);
        } else if (EditControl == edRichEdit) {
            TExtRichEdit* e = InplaceRichEdit();
            e->SetBounds(r.Left, r.Top, w, h);
            GetEditorProp(realCol, ARow, nullptr);
            CellToRich(BaseCell(realCol, ARow).X, BaseCell(realCol, ARow).Y, e);
            FRichOpenedText = e->Text();
            if (FNavigation->EditSelectAll) e->SelectAll();
            e->SetVisible(true);
            e->SetEnabled(true);
            e->SetColor(Color());
            target = e;
        }
    }
    plat::TWinControl* focus = target;
    if (EditControl == edCheckBox) focus = FCheckBoxEd;
    if (EditControl == edButton) focus = FButtonEd;
    if (focus && focus->CanFocus()) focus->SetFocus();
    if (target && FStartEditChar != 0) {
        const char16_t ch = FStartEditChar;
        FStartEditChar = 0;
        if (auto* ed = dynamic_cast<plat::TCustomEdit*>(target)) ed->SelectAll();
        target->Perform(plat::WM_CHAR, ch, 0);
    }
    FStartEditChar = 0;
}

void TExtStringGrid::CommitEditor2(int RealCol, int ARow) {
    const TPoint b = BaseCell(RealCol, ARow);
    auto close = [](plat::TWinControl* c) {
        if (c && c->Visible()) {
            c->SetEnabled(false);
            c->SetVisible(false);
        }
    };
    if (EditMode) {
        if (IsEditBtnKind(EditControl) && FBtnEdit && FBtnEdit->Visible()) {
            SetEditCellText(b.X, b.Y, FBtnEdit->Text());
            EditMode = false;
        } else if (IsUnitKind(EditControl) && FBtnUnitEdit && FBtnUnitEdit->Visible()) {
            SetEditCellText(b.X, b.Y, FBtnUnitEdit->TextAndUnit());
            EditMode = false;
        } else if (EditControl == edRichEdit && FInplaceRichEdit && FInplaceRichEdit->Visible()) {
            // An edit the user did not change keeps the stored text as it was.
            if (FInplaceRichEdit->Text() != FRichOpenedText) RichToCell(b.X, b.Y, FInplaceRichEdit);
            EditMode = false;
        } else if ((EditControl == edCheckBox && FCheckBoxEd && FCheckBoxEd->Visible()) ||
                   (EditControl == edButton && FButtonEd && FButtonEd->Visible())) {
            EditMode = false;
        }
    }
    close(FBtnEdit);
    close(FBtnUnitEdit);
    close(FCheckBoxEd);
    close(FButtonEd);
    close(FInplaceRichEdit);
}

} // namespace grid
