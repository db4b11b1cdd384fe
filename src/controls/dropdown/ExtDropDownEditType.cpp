// Edit types of the drop-down edit: what typed and pasted text is taken, and how values are
// written and read.
#include "ExtDropDown.h"

#include "plat/SysUtils.h"

namespace dropdown {

void TExtCustomDropDown::SetEditType(TDropDownEditType Value) { editType_ = Value; }

void TExtCustomDropDown::SetPrecision(int Value) { precision_ = static_cast<std::int16_t>(Value); }

void TExtCustomDropDown::SetPrefix(const String& Value)
{
    const String v = GetText();
    prefix_ = Value;
    SetEditText(prefix_ + v + suffix_);
}

void TExtCustomDropDown::SetSuffix(const String& Value)
{
    const String v = GetText();
    suffix_ = Value;
    SetEditText(prefix_ + v + suffix_);
}

void TExtCustomDropDown::SetAutoThousandSeparator(bool Value) { autoThousandSeparator_ = Value; }

String TExtCustomDropDown::GetText() const
{
    String s = plat::TCustomMaskEdit::GetText();
    if (!prefix_.empty() && s.starts_with(prefix_)) s.erase(0, prefix_.size());
    if (!suffix_.empty()) s.resize(s.size() > suffix_.size() ? s.size() - suffix_.size() : 0);
    return s;
}

void TExtCustomDropDown::SetText(const String& Value)
{
    oldText_ = Value;
    SetEditText(prefix_ + Value + suffix_);
}

void TExtCustomDropDown::SetEditText(const String& Value)
{
    blockChange_ = false;
    plat::TControl::SetText(Value);
}

double TExtCustomDropDown::FloatValue() const { return 0; }

void TExtCustomDropDown::SetFloatValue(double) {}

void TExtCustomDropDown::SetIntValue(int Value) { SetText(plat::IntToStr(Value)); }

void TExtCustomDropDown::SetModified(bool Value)
{
    isModified_ = Value;
    plat::TCustomMaskEdit::SetModified(Value);
}

void TExtCustomDropDown::SelectAll() { plat::TCustomEdit::SelectAll(); }

void TExtCustomDropDown::SelectBeforeDecimal() {}

void TExtCustomDropDown::SelectAfterDecimal() {}

bool TExtCustomDropDown::EditTypeChar(plat::TMessage&) { return false; }

bool TExtCustomDropDown::EditTypeKeyDown(std::uint16_t&, plat::TShiftState) { return false; }

void TExtCustomDropDown::EditTypeAfterKeyDown(std::uint16_t, plat::TShiftState) {}

bool TExtCustomDropDown::EditTypeClipboard(plat::TMessage&) { return false; }

void TExtCustomDropDown::EditTypeFocusLost() {}

void TExtCustomDropDown::EditTypeClampCaret() {}

bool TExtCustomDropDown::EditTypeChange() { return true; }

} // namespace dropdown
