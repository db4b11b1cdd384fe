#include "GridEditors.h"

#include <algorithm>

#include "plat/Clipbrd.h"
#include "plat/Messages.h"

namespace grid {

using plat::TShiftState;

namespace {

constexpr char16_t kCtrlV = 0x16;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t Upper(char16_t c) { return plat::AnsiUpperCase(String(1, c))[0]; }
char16_t Lower(char16_t c) { return plat::AnsiLowerCase(String(1, c))[0]; }

} // namespace

// ---- TExtInplaceEdit --------------------------------------------------------------------------

TExtInplaceEdit::TExtInplaceEdit(TExtStringGrid* AOwner) : plat::TInplaceEdit(AOwner), FGrid(AOwner) {
    // The framework's handler writes every change into the cell; the grid's also reports it.
    auto write = OnChange;
    OnChange = [this, write](plat::TObject* Sender) {
        if (write) write(Sender);
        if (FGrid) FGrid->EditorChanged(Text());
    };
}

void TExtInplaceEdit::UpdateContents() {
    plat::TInplaceEdit::UpdateContents();
    SetMaxLength(FLengthLimit > 0 ? FLengthLimit : 0);
    SetPasswordChar(FEditorType == edPassword ? FGrid->PasswordChar : char16_t(0));
    // With EditSelectAll a typed character replaces the text; otherwise it is appended.
    if (FGrid->Navigation()->EditSelectAll) {
        SelectAll();
    } else {
        SetSelStart(static_cast<int>(EditText().size()));
        SetSelLength(0);
    }
}

bool TExtInplaceEdit::AcceptChar(char16_t& Key) const {
    // Positions and the selection count in the text as shown (the edit text under a mask).
    return AcceptCharAt(EditText(), SelStart(), SelLength(), Key);
}

bool TExtInplaceEdit::AcceptCharAt(const String& text, int selStart, int selLen, char16_t& Key) const {
    // The text as it stands around the caret once the selection is replaced.
    String rest = text.substr(0, static_cast<size_t>(selStart)) + text.substr(static_cast<size_t>(selStart + selLen));
    const char16_t dec = GetDecimalSeparator();
    switch (FEditorType) {
    case edNumeric:
        if (IsDigit(Key)) return true;
        return Key == u'-' && selStart == 0 && rest.find(u'-') == String::npos;
    case edPositiveNumeric:
        return IsDigit(Key);
    case edFloat:
    case edPositiveFloat:
        if (IsDigit(Key)) return true;
        if (Key == u'-' && FEditorType == edFloat) return selStart == 0 && rest.find(u'-') == String::npos;
        if (Key == dec) return rest.find(dec) == String::npos;
        return false;
    case edCapital:
    case edUpperCase:
        Key = Upper(Key);
        return true;
    case edLowerCase:
        Key = Lower(Key);
        return true;
    case edMixedCase:
        Key = (selStart == 0 || rest[static_cast<size_t>(selStart - 1)] == u' ') ? Upper(Key) : Lower(Key);
        return true;
    case edValidChars:
        return FGrid->ValidChars.find(Key) != String::npos;
    default:
        return true;
    }
}

bool TExtInplaceEdit::PasteText(const String& Value) {
    if (IsMasked()) {
        // The mask takes what fits its positions.
        SetSelText(Value);
        return true;
    }
    String clean;
    for (char16_t c : Value)
        if (c != u'\r' && c != u'\n') clean += c;
    // Characters are checked as if typed one by one at the caret.
    const int selStart = SelStart();
    String text = Text();
    text.erase(static_cast<size_t>(selStart), static_cast<size_t>(SelLength()));
    String accepted;
    for (char16_t c : clean) {
        char16_t k = c;
        const int at = selStart + static_cast<int>(accepted.size());
        String probe = text;
        probe.insert(static_cast<size_t>(selStart), accepted);
        if (!AcceptCharAt(probe, at, 0, k)) return false;
        accepted += k;
    }
    if (FLengthLimit > 0 && static_cast<int>(text.size() + accepted.size()) > FLengthLimit) return false;
    SetSelText(accepted);
    return true;
}

void TExtInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (Key == 'V' && (Shift & plat::ssCtrl) && !(Shift & plat::ssAlt)) {
        // The paste goes through the character check; its control character that may follow
        // pastes nothing more.
        PasteText(plat::Clipboard().AsText());
        FPasteKeyDown = true;
        Key = 0;
        return;
    }
    FPasteKeyDown = false;
    if (FGrid && FGrid->EditorKey(Key, Shift)) {
        Key = 0;
        return;
    }
    plat::TInplaceEdit::KeyDown(Key, Shift);
}

void TExtInplaceEdit::KeyPress(char16_t& Key) {
    if (Key == kCtrlV) {
        // The paste shortcut arriving as its control character goes the paste path.
        if (!FPasteKeyDown) PasteText(plat::Clipboard().AsText());
        FPasteKeyDown = false;
        Key = 0;
        return;
    }
    if (Key == u'\r' || Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    if (Key >= 32 && !AcceptChar(Key)) {
        Key = 0;
        return;
    }
    plat::TInplaceEdit::KeyPress(Key);
}

void TExtInplaceEdit::DoExit() {
    plat::TInplaceEdit::DoExit();
    if (FGrid) FGrid->EditorExit();
}

void TExtInplaceEdit::WndProc(plat::TMessage& Message) {
    // Only the keypad's "." stands for the locale's decimal separator; the "." of the main
    // keyboard stays a "." and is judged as such.
    if (Message.Msg == plat::WM_CHAR && FGrid && FGrid->ExcelStyleDecimalSeparator && Message.WParam == u'.' &&
        (Message.LParam & plat::KF_KEYPAD_LPARAM))
        Message.WParam = GetDecimalSeparator();
    if (Message.Msg == plat::WM_PASTE) {
        PasteText(plat::Clipboard().AsText());
        Message.Result = 0;
        return;
    }
    plat::TInplaceEdit::WndProc(Message);
    if (Message.Msg == plat::WM_SETFOCUS && FGrid && FGrid->LButFlg && Visible()) {
        // Opened by a left click: the caret goes where the pointer is, nothing selected.
        const plat::TPoint at = ScreenToClient(plat::GetCursorPos());
        const plat::TRect r = ClientRect();
        if (at.X >= r.Left && at.X < r.Right && at.Y >= r.Top && at.Y < r.Bottom) {
            const auto pos = Perform(plat::EM_CHARFROMPOS, 0, plat::PointToLParam(at));
            SetSelStart(plat::LoWord(static_cast<std::uintptr_t>(pos)));
            SetSelLength(0);
            FGrid->LButFlg = false;
        }
    }
}

// ---- TGridCombo -------------------------------------------------------------------------------

namespace {

String LookupKey(const String& S, bool CaseSensitive) { return CaseSensitive ? S : plat::UpperCase(S); }

bool StartsWith(const String& S, const String& Prefix) {
    return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

// Posted to the combo by its exit; handled when the focus change has finished.
plat::UINT ComboExitMessage() {
    static const plat::UINT id = plat::RegisterWindowMessage(u"GridComboExit");
    return id;
}

} // namespace

TGridCombo::TGridCombo(TExtStringGrid* AOwner) : TEsgComboBox(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
}

void TGridCombo::SizeDropDownWidth() {
    int width = Width();
    if (FGrid) {
        plat::TCanvas* c = FGrid->Canvas();
        c->Font()->Assign(*FGrid->Font());
        const bool scrolls = Items()->Count() > DropDownCount();
        for (int i = 0; i < Items()->Count(); ++i) {
            const int tw = c->TextWidth(Items()->At(i));
            if (scrolls && tw > width - 25) width = tw + 25;
            else if (!scrolls && tw > width - 5) width = tw + 8;
        }
    }
    SetDroppedWidth(width);
}

void TGridCombo::Change() {
    TEsgComboBox::Change();
    if (FGrid) FGrid->ComboChanged();
}

void TGridCombo::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    Forced = false;
    WorkMode = Key != plat::VK_BACK && Key != plat::VK_DELETE;
    if (plat::TCustomEdit* e = EditControl()) {
        FCaretAtKeyDown = e->SelStart();
        FSelAtKeyDown = e->SelLength();
    } else {
        FCaretAtKeyDown = -1;
        FSelAtKeyDown = 0;
    }
    if (!FGrid) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    const bool list = Style() == plat::csDropDownList;
    const bool alt = (Shift & plat::ssAlt) != 0;
    // A list-style or open combo keeps Up, Down and the page keys for its items and leaves
    // with Left and Right; a closed edit-style combo keeps Left, Right and End for its caret
    // and leaves with Up, Down and the page keys. Alt+Down opens the list.
    bool special;
    switch (Key) {
    case plat::VK_TAB: case plat::VK_RETURN: case plat::VK_ESCAPE: special = true; break;
    case plat::VK_LEFT: case plat::VK_RIGHT: special = list || DroppedDown(); break;
    case plat::VK_PRIOR: case plat::VK_NEXT: case plat::VK_UP: case plat::VK_DOWN:
        special = !list && !DroppedDown() && !alt;
        break;
    default: special = false; break;
    }
    if (DroppedDown() && (Key == plat::VK_RETURN || Key == plat::VK_ESCAPE)) special = false;
    if (!special) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case plat::VK_ESCAPE:
        // The cell keeps the text it had when the edit started.
        FGrid->RestoreCellCache();
        FGrid->EditMode = true;
        FGrid->EditControl = edNone;  // nothing is written by the commit
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    case plat::VK_TAB:
    case plat::VK_RETURN:
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    case plat::VK_PRIOR:
    case plat::VK_NEXT: {
        // The value is committed and the grid pages.
        const std::uint16_t k = Key;
        FGrid->DoneInplaceEdit(Key, Shift);
        if (!FGrid->EditMode) FGrid->Perform(plat::WM_KEYDOWN, k, 0);
        Key = 0;
        return;
    }
    default:
        // Left and Right (list style), Up and Down (closed edit style): commit and move.
        FGrid->DoneInplaceEdit(Key, Shift);
        Key = 0;
        return;
    }
}

void TGridCombo::WndProc(plat::TMessage& Message) {
    if (Message.Msg == ComboExitMessage() && Message.Msg != 0) {
        if (FGrid) FGrid->ComboEditorExit();
        Message.Result = 0;
        return;
    }
    if (Message.Msg == plat::WM_MOUSEWHEEL && FGrid && Visible() && !DroppedDown()) {
        // A notch towards the user selects the next item, away from the user the previous
        // one; at either end nothing changes and nothing is announced.
        const int delta = static_cast<std::int16_t>(plat::HiWord(Message.WParam));
        const int i = ItemIndex(), next = delta < 0 ? i + 1 : i - 1;
        if (next >= 0 && next < Items()->Count() && next != i) {
            SetItemIndex(next);
            FGrid->EditorChanged(Text());
            FGrid->ComboChanged();
        }
        Message.Result = 0;
        return;
    }
    TEsgComboBox::WndProc(Message);
    if (Message.Msg == plat::WM_GETDLGCODE && FGrid && FGrid->EditorWantsTab()) Message.Result |= plat::DLGC_WANTTAB;
}

void TGridCombo::KeyPress(char16_t& Key) {
    if (FGrid && FGrid->OnKeyPress) FGrid->OnKeyPress(this, Key);
    if (Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    if (Key == u'\r') {
        if (OnReturnKey) OnReturnKey(this);
        Key = 0;
        return;
    }
    TEsgComboBox::KeyPress(Key);
}

bool TGridCombo::CursorWalk(bool Right) {
    // Judged by the caret before the key moved it: the key that reaches the edge stays in
    // the text, the next one leaves the cell.
    plat::TCustomEdit* e = EditControl();
    if (!e || FSelAtKeyDown != 0) return false;
    if (Right ? FCaretAtKeyDown != static_cast<int>(Text().size()) : FCaretAtKeyDown != 0) return false;
    const int c = FGrid->Col(), r = FGrid->Row();
    FGrid->DoneInplaceEdit(0, 0);
    if (FGrid->EditMode) return true;  // refused: the editor stays
    const TAdvanceDirection saved = FGrid->Navigation()->AdvanceDirection();
    FGrid->Navigation()->SetAdvanceDirection(adLeftRight);
    FGrid->AdvanceCell(c, r, false, false, Right, false, true);
    FGrid->Navigation()->SetAdvanceDirection(saved);
    if (FGrid->Navigation()->CursorWalkAlwaysEdit && FGrid->IsEditable(FGrid->Col(), FGrid->Row()))
        FGrid->ShowInplaceEdit();
    return true;
}

void TGridCombo::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (FGrid && Style() == plat::csDropDown && FGrid->Navigation()->CursorWalkEditor && !DroppedDown() &&
        (Shift & (plat::ssShift | plat::ssCtrl | plat::ssAlt)) == 0 &&
        (Key == plat::VK_LEFT || Key == plat::VK_RIGHT) && CursorWalk(Key == plat::VK_RIGHT)) {
        Key = 0;
        return;
    }
    if (Key != plat::VK_RETURN) TEsgComboBox::KeyUp(Key, Shift);
    DoChange();
}

void TGridCombo::DoChange() {
    if (!FGrid || !WorkMode || !FGrid->Lookup || !Visible()) return;
    plat::TCustomEdit* e = EditControl();
    if (!e) return;
    const int caret = std::clamp(e->SelStart(), 0, static_cast<int>(e->Text().size()));
    const String typed = e->Text().substr(0, static_cast<std::size_t>(caret));
    if (typed.empty()) return;
    const bool cs = FGrid->LookupCaseSensitive;
    const String prefix = LookupKey(typed, cs);
    auto complete = [&](const String& entry) {
        const String rest = entry.substr(typed.size(), 255);
        return typed + rest;
    };
    for (int i = 0; i < Items()->Count(); ++i) {
        const String& item = Items()->At(i);
        if (!StartsWith(LookupKey(item, cs), prefix)) continue;
        e->SetText(complete(item));
        // The item stands selected and shows its own text; the completed part is selected.
        if (ItemIndex() != i) SetItemIndex(i);
        const int len = static_cast<int>(e->Text().size());
        e->SetSelStart(static_cast<int>(typed.size()));
        e->SetSelLength(len - static_cast<int>(typed.size()));
        ItemIdx = i;
        ItemChange = true;
        return;
    }
    plat::TStringList* more = FGrid->LookupItems();
    for (int i = 0; more && i < more->Count(); ++i) {
        const String& entry = more->At(i);
        if (!StartsWith(LookupKey(entry, cs), prefix)) continue;
        e->SetText(complete(entry));
        const int len = static_cast<int>(e->Text().size());
        e->SetSelStart(static_cast<int>(typed.size()));
        e->SetSelLength(len - static_cast<int>(typed.size()));
        ItemIdx = i;
        ItemChange = true;
        return;
    }
}

void TGridCombo::DoEnter() {
    TEsgComboBox::DoEnter();
    plat::TCustomEdit* e = EditControl();
    if (!FGrid || !e || Style() != plat::csDropDown) return;
    if (!FGrid->Navigation()->EditSelectAll) {
        e->SetSelStart(static_cast<int>(e->Text().size()));
        e->SetSelLength(0);
    }
    if (!FGrid->LButFlg) return;
    // The pointer over the combo (its button included) places the caret in the edit part.
    const plat::TPoint screen = plat::GetCursorPos();
    const plat::TPoint inCombo = ScreenToClient(screen);
    const plat::TRect r = ClientRect();
    if (inCombo.X < r.Left || inCombo.X >= r.Right || inCombo.Y < r.Top || inCombo.Y >= r.Bottom) return;
    const plat::TPoint at = e->ScreenToClient(screen);
    const auto pos = e->Perform(plat::EM_CHARFROMPOS, 0, plat::PointToLParam(at));
    e->SetSelStart(plat::LoWord(static_cast<std::uintptr_t>(pos)));
    e->SetSelLength(0);
    FGrid->LButFlg = false;
}

void TGridCombo::DoExit() {
    // A new text is kept among the items for the next edits.
    if (FGrid && FGrid->LookupHistory && Style() == plat::csDropDown) {
        const String t = Text();
        if (!t.empty() && Items()->IndexOf(t) < 0) Items()->Add(t);
    }
    // Where the focus went is judged once its change has finished: a refused value takes the
    // focus back, which must not happen inside the change.
    if (FGrid && FGrid->EditMode && HandleAllocated()) plat::PostMessage(Handle(), ComboExitMessage(), 0, 0);
    TEsgComboBox::DoExit();
}

} // namespace grid
