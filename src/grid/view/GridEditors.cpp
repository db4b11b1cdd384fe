#include "GridEditors.h"

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
        if (Key == u'.' && FGrid->ExcelStyleDecimalSeparator) Key = dec;
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
    if (Message.Msg == plat::WM_PASTE) {
        PasteText(plat::Clipboard().AsText());
        Message.Result = 0;
        return;
    }
    plat::TInplaceEdit::WndProc(Message);
}

// ---- TGridCombo -------------------------------------------------------------------------------

TGridCombo::TGridCombo(TExtStringGrid* AOwner) : TEsgComboBox(AOwner), FGrid(AOwner) {
    SetVisible(false);
    SetEnabled(false);
}

void TGridCombo::Change() {
    TEsgComboBox::Change();
    if (FGrid) FGrid->ComboChanged();
}

void TGridCombo::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    const bool list = Style() == plat::csDropDownList;
    if (!DroppedDown() && FGrid) {
        switch (Key) {
        case plat::VK_RETURN:
        case plat::VK_TAB:
            FGrid->DoneInplaceEdit(Key, Shift);
            Key = 0;
            return;
        case plat::VK_ESCAPE:
            // The cell keeps the text it had when the edit started.
            FGrid->RestoreCellCache();
            FGrid->EditMode = true;
            FGrid->EditControl = edNone;  // nothing is written by the commit
            FGrid->DoneInplaceEdit(Key, Shift);
            Key = 0;
            return;
        case plat::VK_LEFT:
        case plat::VK_RIGHT:
            if (list) {
                FGrid->DoneInplaceEdit(Key, Shift);
                Key = 0;
                return;
            }
            break;
        default:
            break;
        }
    }
    TEsgComboBox::KeyDown(Key, Shift);
}

void TGridCombo::WndProc(plat::TMessage& Message) {
    TEsgComboBox::WndProc(Message);
    if (Message.Msg == plat::WM_GETDLGCODE && FGrid && FGrid->EditorWantsTab()) Message.Result |= plat::DLGC_WANTTAB;
}

void TGridCombo::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == 27 || Key == u'\t') {
        Key = 0;
        return;
    }
    TEsgComboBox::KeyPress(Key);
}

} // namespace grid
