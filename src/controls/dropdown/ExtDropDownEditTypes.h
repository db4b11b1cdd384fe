#pragma once
// What a drop-down edit accepts and how it writes its values: the edit types with their
// character and paste rules, the fixed prefix and suffix around the value, the text setter's
// normalisation, the numeric value accessors and the money formatting with thousand
// separators. The locale's decimal separator D and thousand separator T are read from
// plat::FormatSettings at every use, so a changed locale takes effect at the next key.
//
// TDropDownEditTypes keeps the settings and the rules; the edit it works on is reached through
// IEditTypeHost, which the drop-down implements over its hosted line edit. Every whole-text
// rewrite made while typing (sign toggle, "0" + D, capitalising) writes prefix + value +
// suffix, and caret positions given to and taken from the host are native positions (the
// value starts after the prefix).
#include <cstdint>
#include <functional>

#include "plat/Classes.h"
#include "plat/String.h"

namespace dropdown {

using plat::String;
using plat::StringView;

enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};

// Sender, the part of the value concerned, and whether the operation may go ahead.
using TClipboardEvent = std::function<void(plat::TObject* Sender, const String& Value, bool& Allow)>;

// What the rules need of the single-line edit they filter.
class IEditTypeHost {
public:
    virtual String EditText() const = 0;
    // Writes the native text; the edit's change notification follows when the text changes
    // and is passed to TDropDownEditTypes::EditChanged.
    virtual void SetEditText(StringView Text) = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    virtual void SetSel(int Start, int Length) = 0;
    virtual bool EditModified() const = 0;
    virtual void SetEditModified(bool Value) = 0;
    // The edit's own handling of a typed character (insertion over the selection, Backspace).
    virtual void DefaultChar(char16_t Key) = 0;
    // Enter and Esc as the drop-down handles them before the type rules: true ends the
    // character's handling.
    virtual bool EnterOrEscape(char16_t Key) = 0;
    // The control's change event, raised by the rules when they ignore the native one.
    virtual void RaiseChange() = 0;
    virtual bool EditorEnabled() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual bool Loading() const = 0;
    virtual int MaxLength() const = 0;
    virtual void SetPasswordChar(char16_t Value) = 0;
    virtual void DefaultCopy() = 0;
    virtual void DefaultCut() = 0;

protected:
    ~IEditTypeHost() = default;
};

// Modifier and origin of a typed character.
struct TCharState {
    bool Control = false;  // either Control key held
    bool Keypad = false;   // typed on the numeric keypad
};

// Fixed text with Precision decimals (Precision below 0 counts as 0), rounded from the binary
// value as printf does (ties of exactly representable halves to even), with D as decimal
// separator and, with Thousands, T between the groups of three digits of the integer part.
String FormatFixed(double Value, int Precision, bool Thousands);

class TDropDownEditTypes {
public:
    explicit TDropDownEditTypes(IEditTypeHost& Host);
    TDropDownEditTypes(const TDropDownEditTypes&) = delete;
    TDropDownEditTypes& operator=(const TDropDownEditTypes&) = delete;

    // The Sender of the clipboard events.
    plat::TObject* Sender = nullptr;
    TClipboardEvent OnClipboardCopy, OnClipboardCut, OnClipboardPaste;

    // ---- settings
    TDropDownEditType EditType() const { return editType_; }
    void SetEditType(TDropDownEditType Value);
    std::int16_t Precision() const { return precision_; }
    void SetPrecision(std::int16_t Value);
    std::int16_t LengthLimit = 0;
    bool Signed = false;
    String Prefix, Suffix;
    String ValidChars;
    bool AutoThousandSeparator = true;
    bool ExcelStyleDecimalSeparator = false;
    bool AllowNumericNullValue = false;
    bool CanUndo = true;

    // ---- text and values
    // The native text less the prefix (when it starts with it) and as many characters as
    // the suffix has.
    String GetText() const;
    // Normalises Value and writes prefix + value + suffix; Modified becomes false.
    void SetText(StringView Value);
    const String& OldText() const { return oldText_; }
    double GetFloatValue() const;
    void SetFloatValue(double Value);
    void SetIntValue(int Value);
    bool Modified() const { return isModified_; }
    void SetModified(bool Value);

    // ---- selection
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();

    // ---- input
    // A typed character (the edit's character message).
    void KeyPress(char16_t Key, TCharState State);
    // A key-down of the keys around prefix and suffix (virtual key codes): true when the key
    // is consumed. AfterKeyDown runs after the edit's default key handling.
    bool KeyDown(unsigned Key, bool Shift);
    void AfterKeyDown(unsigned Key);
    void MouseUp();
    // The edit's change notification: false when it is the echo of a rewrite the rules made
    // themselves and must not reach the control's change event.
    bool EditChanged();
    // The focus leaves the edit.
    void FocusLost();
    // Clipboard operations of the edit (copy, cut, paste of a text).
    void Copy();
    void Cut();
    void Paste(StringView ClipboardText);

    // ---- classification and helpers
    // 0 integer, 1 float, 2 other, 5 hexadecimal.
    static int IsType(StringView Text);
    static bool IsRangeSeparator(char16_t C) { return C == u',' || C == u'-' || C == u';'; }
    static String StripThousandSeparators(StringView Text);
    // Hexadecimal digits read from the right (other characters count 0), kept in 32 bits as a
    // wrapping integer does.
    static int HexToInt(StringView Text);
    // T removed, converted with the locale's number format; 0 when that fails.
    static double ValueToFloat(StringView Text);
    int LengthBeforeDecimal(StringView Text) const;
    int DecimalPosition() const;
    bool IsSignKey(char16_t C) const;
    bool DecimalsFull(StringView Value, int SelStart) const;
    bool SeparatorTooClose(StringView Value, int SelStart) const;
    // Regroups the integer part of a money value with T, leaving sign and fraction as typed.
    void AutoSeparators();

private:
    bool IsNumericKind() const { return editType_ == etNumeric || editType_ == etFloat || editType_ == etMoney; }
    int PrefixLength() const { return static_cast<int>(Prefix.size()); }
    void WriteValue(StringView Value, int Caret);
    void SignToggle();
    void FinalStep();
    bool NumericRule(char16_t Key, TCharState State);
    void FloatRules(char16_t Key);
    void MoneyRules(char16_t Key);
    // The steps the float and money rules share: a separator too close, full decimals, a
    // leading decimal separator ("0" + D) and the sign toggle. True when the key was consumed.
    bool NumberKeyConsumed(char16_t Key, const String& v);
    // Float rule 6 (also money rule 4): false when the key is ignored.
    bool DecimalsFullRule(char16_t Key, StringView Value);
    String SelectedValueText() const;

    IEditTypeHost& host_;
    TDropDownEditType editType_ = etString;
    std::int16_t precision_ = 0;
    bool isModified_ = false;
    bool blockChange_ = false;
    bool blockCopy_ = false;
    String oldText_;
};

} // namespace dropdown
