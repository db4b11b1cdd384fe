#include "ExtDropDownEditTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "ExtUtil.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace dropdown {

namespace {

char16_t D() { return plat::FormatSettings.DecimalSeparator; }
char16_t T() { return plat::FormatSettings.ThousandSeparator; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexLetter(char16_t c) { return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsEditKey(char16_t c) { return c == 8 || c == 9 || c == 13; }
bool Contains(StringView s, char16_t c) { return s.find(c) != StringView::npos; }

// 1-based position of the first c in s, 0 when absent.
int Pos(StringView s, char16_t c) {
    const auto p = s.find(c);
    return p == StringView::npos ? 0 : static_cast<int>(p) + 1;
}

int Len(StringView s) { return static_cast<int>(s.size()); }

// General number format with the locale's decimal separator.
String GeneralFormat(double v) { return plat::FloatToStr(v); }

} // namespace

String FormatFixed(double Value, int Precision, bool Thousands) {
    if (Precision < 0) Precision = 0;
    const int n = std::snprintf(nullptr, 0, "%.*f", Precision, Value);
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::snprintf(buf.data(), buf.size(), "%.*f", Precision, Value);
    const std::string s(buf.data(), static_cast<std::size_t>(n));
    const std::size_t point = s.find('.');
    const std::size_t intEnd = point == std::string::npos ? s.size() : point;
    const std::size_t digitsStart = (!s.empty() && s[0] == '-') ? 1 : 0;
    String out;
    out.reserve(s.size() + s.size() / 3);
    for (std::size_t i = 0; i < intEnd; ++i) {
        out += static_cast<char16_t>(s[i]);
        const std::size_t left = intEnd - i - 1;
        if (Thousands && i >= digitsStart && left > 0 && left % 3 == 0 && IsDigit(static_cast<char16_t>(s[i])))
            out += T();
    }
    if (point != std::string::npos) {
        out += D();
        for (std::size_t i = point + 1; i < s.size(); ++i) out += static_cast<char16_t>(s[i]);
    }
    return out;
}

TDropDownEditTypes::TDropDownEditTypes(IEditTypeHost& Host) : host_(Host) {}

// ---- classification and helpers ---------------------------------------------------------

int TDropDownEditTypes::IsType(StringView Text) {
    bool isInt = true, isFloat = true, isHex = true;
    if (Text.empty()) isInt = isFloat = isHex = false;
    const char16_t d = D(), t = T();
    int prevT = -1, dCount = 0, minusCount = 0;
    for (int i = 1; i <= Len(Text); ++i) {
        const char16_t c = Text[static_cast<std::size_t>(i - 1)];
        if (c != u'-' && !IsDigit(c)) isInt = false;
        if (c != u',' && c != u'-' && c != u'.' && !IsDigit(c)) isFloat = false;
        if (c != u'-' && !IsDigit(c) && !IsHexLetter(c)) isHex = false;
        if (c == t) {
            if (i - prevT < 3) isFloat = false;
            prevT = i;
        }
        if (c == d) ++dCount;
        if (c == u'-') ++minusCount;
    }
    int result = 2;
    if (isHex && !isInt)
        result = 5;
    else if (isInt)
        result = 0;
    else if (isFloat)
        result = 1;
    if (minusCount > 1 || dCount > 1) result = 2;
    return result;
}

String TDropDownEditTypes::StripThousandSeparators(StringView Text) {
    String out;
    const char16_t t = T();
    for (char16_t c : Text)
        if (c != t) out += c;
    return out;
}

int TDropDownEditTypes::HexToInt(StringView Text) {
    std::uint32_t value = 0, weight = 1;
    for (auto it = Text.rbegin(); it != Text.rend(); ++it) {
        const char16_t c = *it;
        std::uint32_t digit = 0;
        if (IsDigit(c))
            digit = c - u'0';
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        value += digit * weight;
        weight *= 16;
    }
    return static_cast<int>(value);
}

double TDropDownEditTypes::ValueToFloat(StringView Text) {
    double v = 0;
    if (!plat::TryStrToFloat(StripThousandSeparators(Text), v, plat::FormatSettings)) return 0;
    return v;
}

int TDropDownEditTypes::LengthBeforeDecimal(StringView Text) const {
    const String s = StripThousandSeparators(Text);
    int p = Pos(s, D());
    if (p == 0) p = Len(s) + 1;
    if (Signed && IsNumericKind() && Contains(Text, u'-')) --p;
    return p;
}

int TDropDownEditTypes::DecimalPosition() const {
    const String v = GetText();
    const int p = Pos(v, D());
    if (p > 0) return p + PrefixLength();
    return PrefixLength() + Len(v) + Len(Suffix) + 1;
}

bool TDropDownEditTypes::IsSignKey(char16_t C) const { return Signed && IsNumericKind() && C == u'-'; }

bool TDropDownEditTypes::DecimalsFull(StringView Value, int SelStart) const {
    if (precision_ <= 0) return false;
    const int c = SelStart - PrefixLength();
    if (Len(Value) - c > precision_) return false;
    const int p = Pos(Value, D());
    if (p == 0) return false;
    return c >= p && Len(Value) - p >= precision_;
}

bool TDropDownEditTypes::SeparatorTooClose(StringView Value, int SelStart) const {
    const char16_t t = T();
    if (!Contains(Value, t)) return false;
    String v(Value);
    int a = Len(v), b = SelStart - PrefixLength();
    while (Contains(v, t)) {
        const int p = Pos(v, t);
        const int dist = std::abs(p - b);
        if (dist < a) a = dist;
        if (dist < 3) return true;
        if (p < b) b -= p;
        v.erase(0, static_cast<std::size_t>(p));
    }
    return a > 3;
}

// ---- text and values --------------------------------------------------------------------

String TDropDownEditTypes::GetText() const {
    String s = host_.EditText();
    if (!Prefix.empty() && StringView(s).starts_with(Prefix)) s.erase(0, Prefix.size());
    if (!Suffix.empty()) s.erase(s.size() - std::min(s.size(), Suffix.size()));
    return s;
}

void TDropDownEditTypes::SetText(StringView Value) {
    String v(Value);
    if (v.empty() && (IsNumericKind() || editType_ == etHex)) v = u"0";
    if (precision_ > 0 && !v.empty() && v != u"Error") {
        if (editType_ == etMoney)
            v = FormatFixed(ValueToFloat(v), precision_, true);
        else if (editType_ == etFloat)
            v = FormatFixed(ValueToFloat(v), precision_, false);
    }
    if (editType_ == etHex) v = plat::AnsiUpperCase(v);
    host_.SetEditText(Prefix + v + Suffix);
    oldText_ = v;
    SetModified(false);
}

double TDropDownEditTypes::GetFloatValue() const {
    const String v = GetText();
    switch (editType_) {
    case etString: {
        plat::TFormatSettings fs = plat::FormatSettings;
        fs.DecimalSeparator = u'.';
        double x = 0;
        return plat::TryStrToFloat(v, x, fs) ? x : 0;
    }
    case etNumeric:
    case etFloat:
        if (v.empty() || v == u"Error" || v == u"-") return 0;
        return ValueToFloat(v);
    case etMoney: {
        if (v.empty()) return 0;
        String s = StripThousandSeparators(v);
        if (!s.empty() && s.back() == D()) s.pop_back();
        if (s.empty() || s == u"-") return 0;
        return ValueToFloat(s);
    }
    case etHex: return v.empty() ? 0 : HexToInt(v);
    default: return 0;
    }
}

void TDropDownEditTypes::SetFloatValue(double Value) {
    switch (editType_) {
    case etString:
    case etFloat: SetText(precision_ < 0 ? GeneralFormat(Value) : FormatFixed(Value, precision_, false)); break;
    case etNumeric: SetText(precision_ < 0 ? GeneralFormat(Value) : FormatFixed(Value, precision_, true)); break;
    case etMoney:
        SetText(precision_ < 0 ? GeneralFormat(Value) : FormatFixed(Value, precision_, false));
        AutoSeparators();
        break;
    case etHex: {
        // Cut to a whole number; values beyond the integer range stop at its ends.
        double whole = std::trunc(Value);
        if (std::isnan(whole)) whole = 0;
        whole = std::clamp(whole, static_cast<double>(std::numeric_limits<int>::min()),
                           static_cast<double>(std::numeric_limits<int>::max()));
        SetText(plat::IntToHex(static_cast<int>(whole), 1));
        break;
    }
    default: return;
    }
    SetModified(true);
}

void TDropDownEditTypes::SetIntValue(int Value) {
    switch (editType_) {
    case etNumeric:
    case etFloat: SetText(plat::IntToStr(Value)); break;
    case etMoney:
        SetText(plat::IntToStr(Value));
        AutoSeparators();
        break;
    case etHex: SetText(plat::IntToHex(Value, 1)); break;
    default: return;
    }
    SetModified(true);
}

void TDropDownEditTypes::SetModified(bool Value) {
    if (host_.Loading() || !host_.EditorEnabled() || host_.ReadOnly()) return;
    host_.SetEditModified(Value);
    isModified_ = Value;
}

void TDropDownEditTypes::SetEditType(TDropDownEditType Value) {
    if (Value == editType_) return;
    editType_ = Value;
    if (Value == etPassword) {
        host_.SetPasswordChar(u'*');
        CanUndo = false;
    } else {
        host_.SetPasswordChar(0);
    }
    const int kind = IsType(GetText());
    switch (Value) {
    case etNumeric:
        if (kind != 0) SetIntValue(0);
        break;
    case etFloat:
    case etMoney:
        if (kind != 0 && kind != 1) SetFloatValue(0);
        break;
    case etHex:
        if (kind != 0 && kind != 5) SetIntValue(0);
        break;
    default: break;
    }
}

void TDropDownEditTypes::SetPrecision(std::int16_t Value) {
    if (Value == precision_) return;
    if (editType_ != etString && editType_ != etFloat && editType_ != etMoney) return;
    precision_ = Value;
    if (IsType(GetText()) > 1)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

void TDropDownEditTypes::AutoSeparators() {
    const String v = GetText();
    if (v.empty()) return;
    const int oldLength = Len(v);
    const int s = host_.SelStart();
    String sign, rest = v;
    if (rest.front() == u'-') {
        sign = u"-";
        rest.erase(0, 1);
    }
    String fraction;
    if (const auto p = rest.find(D()); p != String::npos) fraction = rest.substr(p, 255);
    const double whole = std::trunc(std::fabs(ValueToFloat(v)));
    String integer = FormatFixed(whole, 2, AutoThousandSeparator);
    if (const auto p = integer.find(D()); p != String::npos) integer.erase(p);
    const String value = sign + integer + fraction;
    const String native = Prefix + value + Suffix;
    // The rewrite raises no change of its own when it changes the text.
    blockChange_ = host_.EditText() != native;
    host_.SetEditText(native);
    host_.SetSel(std::max(0, s + Len(value) - oldLength), 0);
}

// ---- selection --------------------------------------------------------------------------

void TDropDownEditTypes::SelectAll() {
    const int length = Len(GetText());
    host_.SetSel(0, length);
    if ((!Prefix.empty() && host_.SelStart() < PrefixLength()) || !Suffix.empty())
        host_.SetSel(PrefixLength(), length);
}

void TDropDownEditTypes::SelectBeforeDecimal() {
    const int p = Pos(GetText(), D());
    host_.SetSel(p > 0 ? PrefixLength() + p - 1 : PrefixLength(), 0);
}

void TDropDownEditTypes::SelectAfterDecimal() {
    const int p = Pos(GetText(), D());
    host_.SetSel(p > 0 ? PrefixLength() + p : PrefixLength(), 0);
}

String TDropDownEditTypes::SelectedValueText() const {
    const String v = GetText();
    const int start = std::clamp(host_.SelStart() - PrefixLength(), 0, Len(v));
    const int end = std::clamp(host_.SelStart() + host_.SelLength() - PrefixLength(), start, Len(v));
    return v.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

// ---- typing -----------------------------------------------------------------------------

void TDropDownEditTypes::WriteValue(StringView Value, int Caret) {
    host_.SetEditText(Prefix + String(Value) + Suffix);
    host_.SetSel(Caret, 0);
}

void TDropDownEditTypes::SignToggle() {
    const int s = host_.SelStart();
    String v = GetText();
    if (editType_ == etNumeric && host_.SelLength() == Len(v)) {
        WriteValue(u"-", PrefixLength() + 1);
        return;
    }
    if (const auto minus = v.find(u'-'); minus != String::npos) {
        // The minus goes, wherever a paste put it, never a digit.
        v.erase(minus, 1);
        WriteValue(v, (s > 0 && s > PrefixLength()) ? s - 1 : PrefixLength());
        if (editType_ != etNumeric) SetModified(true);
    } else {
        WriteValue(u"-" + v, s + 1);
        SetModified(true);
    }
}

void TDropDownEditTypes::FinalStep() {
    if (host_.EditModified()) SetModified(true);
}

bool TDropDownEditTypes::DecimalsFullRule(char16_t Key, StringView Value) {
    const int s = host_.SelStart();
    if (!DecimalsFull(Value, s) || !(IsDigit(Key) || Key == D()) || host_.SelLength() != 0) return true;
    const int c = s - PrefixLength();
    const int p = Pos(Value, D());
    if (IsDigit(Key) && precision_ > 0 && p > 0 && c >= p && c < Len(Value)) {
        host_.SetSel(s, 1);  // the digit overwrites the next decimal
        return true;
    }
    return false;
}

void TDropDownEditTypes::FloatRules(char16_t Key) {
    const char16_t d = D(), t = T();
    if ((Key == u',' && d != u',' && t != u',') || (Key == u'.' && d != u'.' && t != u'.')) return;
    if (!IsEditKey(Key) && Key != u',' && Key != u'-' && Key != u'.' && !IsDigit(Key)) return;
    const String v = GetText();
    const String native = host_.EditText();
    const String sel = native.substr(std::min<std::size_t>(native.size(), static_cast<std::size_t>(host_.SelStart())),
                                     static_cast<std::size_t>(host_.SelLength()));
    if (Key == d && !Contains(sel, d) && (Contains(v, d) || precision_ == 0)) {
        if (precision_ > 0) SelectAfterDecimal();
        return;
    }
    if (Key == u',' && Contains(v, u',') && !Contains(sel, u',') && t != u',') return;
    if (NumberKeyConsumed(Key, v)) return;
    host_.DefaultChar(Key);
    FinalStep();
}

bool TDropDownEditTypes::NumberKeyConsumed(char16_t Key, const String& v) {
    const char16_t d = D(), t = T();
    if ((Key == t || Key == d) && SeparatorTooClose(v, host_.SelStart())) return true;
    if (!DecimalsFullRule(Key, v)) return true;
    if (Key == d && host_.SelStart() - PrefixLength() == 0 && v.empty()) {
        WriteValue(String(u"0") + d, PrefixLength() + 2);
        SetModified(true);
        return true;
    }
    if (Key == u'-' && host_.SelLength() == 0) {
        SignToggle();
        return true;
    }
    return false;
}

void TDropDownEditTypes::MoneyRules(char16_t Key) {
    const char16_t d = D();
    String v = GetText();
    if (Key == d && (Contains(v, d) || precision_ == 0)) {
        if (precision_ <= 0) return;
        if (host_.SelLength() >= Len(v)) SetText(u"0,0");
        SelectAfterDecimal();
        return;
    }
    if (!IsEditKey(Key) && Key != u'-' && !IsDigit(Key) && Key != d) return;
    if (NumberKeyConsumed(Key, v)) return;
    host_.DefaultChar(Key);
    v = GetText();
    if (!v.empty() && v != u"-" && Key != d) {
        if (host_.EditModified()) SetModified(true);
        AutoSeparators();
    }
    FinalStep();
}

void TDropDownEditTypes::KeyPress(char16_t Key, TCharState State) {
    if (!host_.EditorEnabled()) return;
    const String value = GetText();
    const bool wholeSelected = !value.empty() && host_.SelLength() >= Len(value);
    // A key that leaves the text as it was (refused, or only moving the caret) must not
    // leave the hold behind for an unrelated later change.
    struct HoldGuard {
        TDropDownEditTypes& rules;
        const String before;
        bool set;
        ~HoldGuard() {
            if (set && rules.host_.EditText() == before) rules.blockChange_ = false;
        }
    } hold{*this, host_.EditText(), wholeSelected};
    if (wholeSelected) blockChange_ = true;
    if (Key == 13 || Key == 27) {
        if (Key == 13 && State.Control) return;
        if (host_.EnterOrEscape(Key)) return;
        if (Key == 27 && !CanUndo) {
            host_.DefaultChar(Key);
            return;
        }
    }
    if (State.Control && (Key == 3 || Key == 22 || Key == 24)) {
        host_.DefaultChar(Key);
        return;
    }
    const char16_t d = D();
    if (ExcelStyleDecimalSeparator && State.Keypad && (Key == u'.' || Key == u',')) Key = d;
    if (Key == 8 && !Prefix.empty() && host_.SelLength() == 0 && host_.SelStart() <= PrefixLength()) return;
    if (LengthLimit > 0 && LengthBeforeDecimal(value) > LengthLimit && host_.SelLength() == 0 &&
        host_.SelStart() < DecimalPosition() && Key != 8 && Key != d && !IsSignKey(Key))
        return;
    if (Key == 8) {
        host_.DefaultChar(Key);
        // The whole value went: the native notification is held back (above), so the
        // control raises its change itself.
        if (wholeSelected && GetText().empty()) {
            blockChange_ = false;
            host_.RaiseChange();
        }
        return;
    }
    if (Key == 10) return;
    if (Key == u'-' && IsNumericKind() && !Signed) return;

    switch (editType_) {
    case etString:
    case etPassword:
        SetModified(true);
        host_.DefaultChar(Key);
        break;
    case etNumeric:
        if (Key == u'-')
            SignToggle();
        else if (IsEditKey(Key) || IsDigit(Key) || State.Control)
            host_.DefaultChar(Key);
        break;
    case etFloat: FloatRules(Key); return;
    case etMoney: MoneyRules(Key); return;
    case etUppercase: host_.DefaultChar(plat::AnsiUpperCase(StringView(&Key, 1))[0]); break;
    case etLowerCase: host_.DefaultChar(plat::AnsiLowerCase(StringView(&Key, 1))[0]); break;
    case etMixedCase: {
        const int s = host_.SelStart();
        host_.DefaultChar(Key);
        WriteValue(grid::CapitalizeWords(GetText()), s + 1);
        break;
    }
    case etRange:
        if (IsEditKey(Key) || IsDigit(Key) || IsRangeSeparator(Key)) {
            SetModified(true);
            if (IsRangeSeparator(Key)) {
                const String native = host_.EditText();
                const int s = host_.SelStart();
                if (s <= PrefixLength()) break;
                if (s - 1 < Len(native) && IsRangeSeparator(native[static_cast<std::size_t>(s - 1)])) break;
                if (s < Len(native) && IsRangeSeparator(native[static_cast<std::size_t>(s)])) break;
            }
            host_.DefaultChar(Key);
        }
        break;
    case etHex:
        if (IsEditKey(Key) || Key == u'-' || IsDigit(Key) || IsHexLetter(Key)) {
            SetModified(true);
            host_.DefaultChar(Key);
        }
        break;
    case etAlphaNumeric:
        if (IsEditKey(Key) || IsDigit(Key) || IsLetter(Key)) {
            SetModified(true);
            host_.DefaultChar(Key);
        }
        break;
    case etValidChars:
        if (Contains(ValidChars, Key) || Key == 8) {
            SetModified(true);
            host_.DefaultChar(Key);
        }
        break;
    }
    FinalStep();
}

bool TDropDownEditTypes::EditChanged() {
    if (blockChange_) {
        blockChange_ = false;
        return false;
    }
    return true;
}

bool TDropDownEditTypes::KeyDown(unsigned Key, bool Shift) {
    const int s = host_.SelStart(), l = host_.SelLength();
    const int valueEnd = PrefixLength() + Len(GetText());
    switch (Key) {
    case plat::VK_RIGHT:
        return !Suffix.empty() && s + l >= valueEnd;
    case plat::VK_LEFT:
        return !Prefix.empty() && s + l <= PrefixLength();
    case plat::VK_END:
        if (Suffix.empty()) return false;
        if (Shift)
            host_.SetSel(s, valueEnd - s);
        else
            host_.SetSel(valueEnd, 0);
        return true;
    case plat::VK_HOME:
        if (Prefix.empty()) return false;
        if (Shift)
            host_.SetSel(PrefixLength(), std::max(0, s + l - PrefixLength()));
        else
            host_.SetSel(PrefixLength(), 0);
        return true;
    case plat::VK_BACK:
        // Only a caret at the prefix's end is held: the first character of the value stays
        // deletable (the character rule holds the same place).
        if (!Prefix.empty() && l == 0 && s <= PrefixLength()) return true;
        SetModified(true);
        return false;
    case plat::VK_DELETE: {
        if (!Suffix.empty() && s + l >= valueEnd && l == 0) return true;
        if (s >= PrefixLength()) {
            String v = GetText();
            const int c = s - PrefixLength();
            if (c < Len(v)) v.erase(static_cast<std::size_t>(c), static_cast<std::size_t>(std::max(1, l)));
            if (LengthLimit > 0 && LengthBeforeDecimal(v) - 1 > LengthLimit) return true;
        }
        SetModified(true);
        return false;
    }
    default: return false;
    }
}

void TDropDownEditTypes::AfterKeyDown(unsigned Key) {
    if (Key == plat::VK_DELETE && editType_ == etMoney) AutoSeparators();
    if (!Prefix.empty() && host_.SelStart() < PrefixLength()) host_.SetSel(PrefixLength(), 0);
}

void TDropDownEditTypes::MouseUp() {
    const int s = host_.SelStart(), l = host_.SelLength();
    const int valueLength = Len(GetText());
    const int valueEnd = PrefixLength() + valueLength;
    if (!Prefix.empty() && s < PrefixLength()) {
        host_.SetSel(PrefixLength(), valueLength);
        return;
    }
    if (!Suffix.empty()) {
        if (s > valueEnd)
            host_.SetSel(valueEnd, 0);
        else if (s + l > valueEnd)
            host_.SetSel(s, valueEnd - s);
    }
}

void TDropDownEditTypes::FocusLost() {
    if (host_.Loading()) return;
    String v = GetText();
    if (precision_ > 0 && (editType_ == etFloat || editType_ == etMoney) && (!v.empty() || !AllowNumericNullValue)) {
        const bool m = isModified_;
        SetFloatValue(GetFloatValue());
        SetModified(m);
    }
    v = GetText();
    if (editType_ == etNumeric && v.empty() && !AllowNumericNullValue) SetText(u"0");
    if ((editType_ == etFloat || editType_ == etMoney) && v.empty() && !AllowNumericNullValue) SetFloatValue(0);
}

// ---- clipboard --------------------------------------------------------------------------

void TDropDownEditTypes::Copy() {
    bool allow = true;
    if (!blockCopy_ && OnClipboardCopy) OnClipboardCopy(Sender, SelectedValueText(), allow);
    if (allow) host_.DefaultCopy();
    blockCopy_ = false;
}

void TDropDownEditTypes::Cut() {
    if (!host_.EditorEnabled() || host_.ReadOnly()) return;
    blockCopy_ = true;
    bool allow = true;
    if (OnClipboardCut) OnClipboardCut(Sender, SelectedValueText(), allow);
    if (allow) host_.DefaultCut();
    blockCopy_ = false;
}

void TDropDownEditTypes::Paste(StringView ClipboardText) {
    if (host_.ReadOnly() || ClipboardText.empty()) return;
    const String v = GetText();
    const int c = std::clamp(host_.SelStart() - PrefixLength(), 0, Len(v));
    const int l = std::clamp(host_.SelLength(), 0, Len(v) - c);
    const String n = v.substr(0, static_cast<std::size_t>(c)) + String(ClipboardText) +
                     v.substr(static_cast<std::size_t>(c + l));
    bool allow = true;
    if (OnClipboardPaste) OnClipboardPaste(Sender, n, allow);
    if (!allow) return;
    const int maxLength = host_.MaxLength();
    if (maxLength > 0 && maxLength < Len(ClipboardText) + Len(v) - l) return;
    auto all = [&n](auto pred) { return std::all_of(n.begin(), n.end(), pred); };
    switch (editType_) {
    case etString:
    case etPassword: SetText(n); break;
    case etNumeric:
        if (IsType(n) == 0 && (Signed || !Contains(n, u'-'))) {
            SetText(n);
            SetModified(true);
        }
        break;
    case etFloat:
    case etMoney:
        if (IsType(n) > 1 || (precision_ == 0 && Contains(ClipboardText, D()))) break;
        if (Signed || !Contains(n, u'-')) {
            SetText(n);
            SetFloatValue(GetFloatValue());
            SetModified(true);
        }
        break;
    case etUppercase: SetText(plat::AnsiUpperCase(n)); break;
    case etLowerCase: SetText(plat::AnsiLowerCase(n)); break;
    case etMixedCase: SetText(grid::CapitalizeWords(n)); break;
    case etAlphaNumeric:
        if (all([](char16_t ch) { return IsDigit(ch) || IsLetter(ch); })) {
            SetText(n);
            SetModified(true);
        }
        break;
    case etValidChars:
        if (all([this](char16_t ch) { return Contains(ValidChars, ch); })) {
            SetText(n);
            SetModified(true);
        }
        break;
    case etRange:
    case etHex: break;
    }
    if (editType_ == etMoney && Len(GetText()) > 3)
        SelectAll();
    else if (l == 0)
        host_.SetSel(PrefixLength() + c + Len(ClipboardText), 0);
    else
        host_.SetSel(PrefixLength() + c, Len(ClipboardText));
    if (editType_ == etString || (editType_ >= etUppercase && editType_ <= etPassword)) SetModified(true);
}

} // namespace dropdown
