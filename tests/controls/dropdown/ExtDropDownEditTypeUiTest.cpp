// The edit types of a drop-down edit shown on a host form, driven through the real key,
// clipboard and focus path, under a point-decimal and a comma-decimal locale.
#include <gtest/gtest.h>

#include <memory>

#include "ExtDropDown.h"
#include "plat/Clipbrd.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

class EditTypeUiTest : public pt::UiTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        saved_ = FormatSettings;
        FormatSettings.DecimalSeparator = GetParam() ? u',' : u'.';
        FormatSettings.ThousandSeparator = GetParam() ? u'.' : u',';
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 400, 200);
        other = new TEdit(host.get());
        other->SetParent(host.get());
        other->SetBounds(10, 100, 100, 21);
        dd = new TExtCustomDropDown(host.get());
        dd->SetParent(host.get());
        dd->SetBounds(20, 30, 200, 21);
        dd->OnChange = [this](TObject*) { ++changes; };
        host->Show();
        dd->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override {
        host.reset();
        FormatSettings = saved_;
        pt::UiTest::TearDown();
    }
    String Loc(StringView s) const {
        String out(s);
        if (GetParam())
            for (char16_t& c : out) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
        return out;
    }
    std::string Native() const { return StringToUtf8(dd->TCustomMaskEdit::GetText()); }
    std::string L(StringView s) const { return StringToUtf8(Loc(s)); }
    void Caret(int Pos) {
        dd->TCustomEdit::SetSelStart(Pos);
        dd->TCustomEdit::SetSelLength(0);
    }

    std::unique_ptr<TForm> host;
    TEdit* other = nullptr;
    TExtCustomDropDown* dd = nullptr;
    int changes = 0;

private:
    TFormatSettings saved_;
};

TEST_P(EditTypeUiTest, MoneyGroupsWhileTypingAndTakesDecimalsOnFocusLoss) {
    dd->SetEditType(etMoney);
    dd->SetPrecision(2);
    dd->SetEditText(u"");
    pt::Type(u"1234");
    EXPECT_EQ(Native(), L(u"1,234"));
    EXPECT_EQ(dd->TCustomEdit::SelStart(), 5);
    EXPECT_TRUE(dd->Modified());
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_EQ(Native(), L(u"1,234.00"));
    EXPECT_TRUE(dd->Modified()) << "focus loss keeps the modified flag";
    EXPECT_EQ(dd->FloatValue(), 1234.0);
}

TEST_P(EditTypeUiTest, FloatDecimalsAndSign) {
    dd->SetEditType(etFloat);
    dd->SetPrecision(2);
    dd->SetSigned(true);
    dd->SetText(Loc(u"3.14"));
    EXPECT_EQ(Native(), L(u"3.14"));
    EXPECT_FALSE(dd->Modified());
    Caret(4);
    pt::Type(u"5");
    EXPECT_EQ(Native(), L(u"3.14")) << "decimals full at the end";
    Caret(3);
    pt::Type(u"5");
    EXPECT_EQ(Native(), L(u"3.15")) << "the digit overwrites the next decimal";
    pt::Type(u"-");
    EXPECT_EQ(Native(), L(u"-3.15"));
    EXPECT_EQ(dd->FloatValue(), -3.15);
    pt::Type(u"x");
    EXPECT_EQ(Native(), L(u"-3.15"));
    EXPECT_TRUE(dd->Modified());
}

TEST_P(EditTypeUiTest, NumericRefusesLettersAndUnsignedMinus) {
    dd->SetEditType(etNumeric);
    EXPECT_EQ(Native(), "0") << "a text that is no integer becomes 0";
    dd->SetText(u"");
    EXPECT_EQ(Native(), "0");
    dd->SetEditText(u"");
    pt::Type(u"1a-2");
    EXPECT_EQ(Native(), "12");
    pt::Key(VK_BACK);
    EXPECT_EQ(Native(), "1");
}

TEST_P(EditTypeUiTest, HexRangeAndCase) {
    struct Case {
        TDropDownEditType type;
        const char16_t* typed;
        const char* text;
    } cases[] = {
        {etHex, u"fFg1", "fF1"},
        {etRange, u"1-5,8", "1-5,8"},
        {etRange, u"1-,5", "1-5"},
        {etUppercase, u"ab", "AB"},
        {etMixedCase, u"hello world", "Hello World"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dd->SetEditType(c.type);
        dd->SetEditText(u"");
        pt::Type(c.typed);
        EXPECT_EQ(Native(), c.text);
    }
    dd->SetEditType(etHex);
    dd->SetText(u"ff");
    EXPECT_EQ(Native(), "FF");
    EXPECT_EQ(dd->FloatValue(), 255);
}

TEST_P(EditTypeUiTest, PasteFollowsTheType) {
    struct Case {
        TDropDownEditType type;
        int precision;
        const char16_t* clip;
        const char* text;
    } cases[] = {
        {etNumeric, 0, u"12a", "7"},
        {etAlphaNumeric, 0, u"12a", "712a"},
        {etHex, 0, u"12a", "7"},
        {etFloat, 0, u".5", "7"},
        {etString, 0, u"12a", "712a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.clip));
        dd->SetEditType(c.type);
        dd->SetPrecision(c.precision);
        dd->SetText(u"7");
        Caret(1);
        Clipboard().SetAsText(Loc(c.clip));
        pt::Key('V', ssCtrl);
        EXPECT_EQ(Native(), L(Utf8ToString(c.text)));
    }
    bool offered = false;
    dd->OnClipboardPaste = [&](TObject* sender, const String& value, bool& allow) {
        EXPECT_EQ(sender, dd);
        EXPECT_EQ(StringToUtf8(value), "7xy");
        offered = true;
        allow = false;
    };
    dd->SetEditType(etString);
    dd->SetText(u"7");
    Caret(1);
    Clipboard().SetAsText(u"xy");
    pt::Key('V', ssCtrl);
    EXPECT_TRUE(offered);
    EXPECT_EQ(Native(), "7") << "the event refused";
}

TEST_P(EditTypeUiTest, TypingOverTheWholeValueRaisesOneChange) {
    dd->SetText(u"abc");
    dd->TCustomEdit::SelectAll();
    changes = 0;
    pt::Type(u"x");
    EXPECT_EQ(Native(), "x");
    EXPECT_EQ(changes, 0) << "the replacement of the whole value is not notified";
    pt::Type(u"y");
    EXPECT_EQ(changes, 1);
}

TEST_P(EditTypeUiTest, AffixesStayAroundTheValue) {
    dd->SetEditType(etFloat);
    dd->SetPrecision(2);
    dd->SetPrefix(u"$");
    dd->SetSuffix(u" kg");
    dd->SetText(Loc(u"1.5"));
    EXPECT_EQ(Native(), L(u"$1.50 kg"));
    EXPECT_EQ(StringToUtf8(dd->GetText()), L(u"1.50"));
    pt::Key(VK_HOME);
    EXPECT_EQ(dd->TCustomEdit::SelStart(), 1) << "Home stops after the prefix";
    pt::Key(VK_END);
    EXPECT_EQ(dd->TCustomEdit::SelStart(), 5) << "End stops before the suffix";
    pt::Key(VK_BACK);
    EXPECT_EQ(Native(), L(u"$1.5 kg"));
}

INSTANTIATE_TEST_SUITE_P(DecimalPointAndComma, EditTypeUiTest, ::testing::Values(false, true));

} // namespace
