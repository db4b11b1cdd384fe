// Edit types of the drop-down edit: the settings are handed to the rules of
// TDropDownEditTypes, which see the hosted line edit through TEditHost. A character the rules
// accept is applied to the edit at once (so the rules can look at the result), a character
// they leave to the edit goes on to its own handling, and every other one is dropped.
#include "ExtDropDown.h"

#include "plat/Clipbrd.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace dropdown {

using namespace plat;

// ---- the edit as the rules see it --------------------------------------------------------

String TExtCustomDropDown::TEditHost::EditText() const { return edit_.TCustomMaskEdit::GetText(); }

void TExtCustomDropDown::TEditHost::SetEditText(StringView Text) { edit_.TControl::SetText(String(Text)); }

int TExtCustomDropDown::TEditHost::SelStart() const { return edit_.TCustomEdit::SelStart(); }

int TExtCustomDropDown::TEditHost::SelLength() const { return edit_.TCustomEdit::SelLength(); }

void TExtCustomDropDown::TEditHost::SetSel(int Start, int Length) {
    edit_.TCustomEdit::SetSelStart(Start);
    edit_.TCustomEdit::SetSelLength(Length);
}

bool TExtCustomDropDown::TEditHost::EditModified() const { return edit_.TCustomMaskEdit::Modified(); }

void TExtCustomDropDown::TEditHost::SetEditModified(bool Value) { edit_.TCustomMaskEdit::SetModified(Value); }

void TExtCustomDropDown::TEditHost::DefaultChar(char16_t Key) {
    if (Key != 8 && Key < 32) {
        passChar = true;  // control characters keep the edit's own meaning
        return;
    }
    const String before = EditText();
    if (Key == 8) {
        if (SelLength() == 0) {
            const int s = SelStart();
            if (s == 0) return;
            SetSel(s - 1, 1);
        }
        edit_.TCustomEdit::SetSelText(String());
    } else {
        edit_.TCustomEdit::SetSelText(String(1, Key));
    }
    if (EditText() != before) SetEditModified(true);
}

bool TExtCustomDropDown::TEditHost::EnterOrEscape(char16_t Key) {
    TWinControl* parent = edit_.Parent();
    TCustomForm* form = GetParentForm(&edit_);
    const bool preview = form && form->KeyPreview();
    if (Key == 13) {
        // The character goes on to the key-press handling, which raises OnKeyPress and drops it.
        if (!edit_.DefaultHandling() && parent) {
            PostMessage(parent->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            if (!preview) PostMessage(parent->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        passChar = true;
        return true;
    }
    if (!edit_.DefaultHandling() && parent) {
        if (preview) {
            passChar = true;
            return true;
        }
        PostMessage(parent->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(parent->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    return false;
}

void TExtCustomDropDown::TEditHost::RaiseChange() { edit_.TCustomMaskEdit::Change(); }

bool TExtCustomDropDown::TEditHost::EditorEnabled() const { return edit_.editorEnabled_; }

bool TExtCustomDropDown::TEditHost::ReadOnly() const { return edit_.TCustomEdit::ReadOnly(); }

bool TExtCustomDropDown::TEditHost::Loading() const { return (edit_.ComponentState() & csLoading) != 0; }

int TExtCustomDropDown::TEditHost::MaxLength() const { return edit_.TCustomEdit::MaxLength(); }

void TExtCustomDropDown::TEditHost::SetPasswordChar(char16_t Value) { edit_.TCustomEdit::SetPasswordChar(Value); }

void TExtCustomDropDown::TEditHost::DefaultCopy() { edit_.TCustomEdit::CopyToClipboard(); }

void TExtCustomDropDown::TEditHost::DefaultCut() { edit_.TCustomEdit::CutToClipboard(); }

// ---- settings ----------------------------------------------------------------------------

TDropDownEditTypes& TExtCustomDropDown::Rules() const {
    TDropDownEditTypes& r = editTypes_;
    r.Sender = const_cast<TExtCustomDropDown*>(this);
    r.LengthLimit = lengthLimit_;
    r.Signed = signed_;
    r.Prefix = prefix_;
    r.Suffix = suffix_;
    r.ValidChars = validChars_;
    r.AutoThousandSeparator = autoThousandSeparator_;
    r.ExcelStyleDecimalSeparator = excelStyleDecimalSeparator_;
    r.AllowNumericNullValue = allowNumericNullValue_;
    r.CanUndo = canUndo_;
    r.OnClipboardCopy = OnClipboardCopy;
    r.OnClipboardCut = OnClipboardCut;
    r.OnClipboardPaste = OnClipboardPaste;
    return r;
}

void TExtCustomDropDown::SetEditType(TDropDownEditType Value) {
    TDropDownEditTypes& r = Rules();
    r.SetEditType(Value);
    editType_ = r.EditType();
    canUndo_ = r.CanUndo;
    oldText_ = r.OldText();
}

void TExtCustomDropDown::SetPrecision(int Value) {
    TDropDownEditTypes& r = Rules();
    r.SetPrecision(static_cast<std::int16_t>(Value));
    precision_ = r.Precision();
    oldText_ = r.OldText();
}

void TExtCustomDropDown::SetPrefix(const String& Value) {
    const String v = GetText();
    prefix_ = Value;
    SetEditText(prefix_ + v + suffix_);
}

void TExtCustomDropDown::SetSuffix(const String& Value) {
    const String v = GetText();
    suffix_ = Value;
    SetEditText(prefix_ + v + suffix_);
}

void TExtCustomDropDown::SetAutoThousandSeparator(bool Value) { autoThousandSeparator_ = Value; }

// ---- text and values ---------------------------------------------------------------------

String TExtCustomDropDown::GetText() const { return Rules().GetText(); }

void TExtCustomDropDown::SetText(const String& Value) {
    Rules().SetText(Value);
    oldText_ = editTypes_.OldText();
}

void TExtCustomDropDown::SetEditText(const String& Value) { plat::TControl::SetText(Value); }

double TExtCustomDropDown::FloatValue() const { return Rules().GetFloatValue(); }

void TExtCustomDropDown::SetFloatValue(double Value) {
    Rules().SetFloatValue(Value);
    oldText_ = editTypes_.OldText();
}

void TExtCustomDropDown::SetIntValue(int Value) {
    Rules().SetIntValue(Value);
    oldText_ = editTypes_.OldText();
}

bool TExtCustomDropDown::Modified() const { return editTypes_.Modified(); }

void TExtCustomDropDown::SetModified(bool Value) { Rules().SetModified(Value); }

void TExtCustomDropDown::SelectAll() { Rules().SelectAll(); }

void TExtCustomDropDown::SelectBeforeDecimal() { Rules().SelectBeforeDecimal(); }

void TExtCustomDropDown::SelectAfterDecimal() { Rules().SelectAfterDecimal(); }

// ---- input -------------------------------------------------------------------------------

bool TExtCustomDropDown::EditTypeChar(TMessage& Message) {
    const auto key = static_cast<char16_t>(Message.WParam);
    TCharState state;
    state.Control = GetKeyState(VK_CONTROL) < 0;
    state.Keypad = (Message.LParam & KF_KEYPAD_LPARAM) != 0;
    editHost_.passChar = false;
    Rules().KeyPress(key, state);
    oldText_ = editTypes_.OldText();
    if (editHost_.passChar) {
        editHost_.passChar = false;
        return false;
    }
    return true;
}

bool TExtCustomDropDown::EditTypeKeyDown(std::uint16_t& Key, TShiftState Shift) {
    return Rules().KeyDown(Key, (Shift & ssShift) != 0);
}

void TExtCustomDropDown::EditTypeAfterKeyDown(std::uint16_t Key, TShiftState) { Rules().AfterKeyDown(Key); }

bool TExtCustomDropDown::EditTypeClipboard(TMessage& Message) {
    TDropDownEditTypes& r = Rules();
    switch (Message.Msg) {
    case WM_COPY: r.Copy(); return true;
    case WM_CUT: r.Cut(); return true;
    case WM_PASTE:
        if (!TCustomEdit::ReadOnly() && Clipboard().HasFormat(CF_UNICODETEXT)) r.Paste(Clipboard().AsText());
        oldText_ = r.OldText();
        return true;
    default: return false;
    }
}

void TExtCustomDropDown::EditTypeFocusLost() {
    Rules().FocusLost();
    oldText_ = editTypes_.OldText();
}

void TExtCustomDropDown::EditTypeClampCaret() { Rules().MouseUp(); }

bool TExtCustomDropDown::EditTypeChange() { return editTypes_.EditChanged(); }

} // namespace dropdown
