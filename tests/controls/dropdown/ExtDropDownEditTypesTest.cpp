// Edit types of the drop-down edits: typing and paste filters, value formatting, money
// grouping, under a point-decimal and a comma-decimal locale. The rules work on a line edit
// that behaves as the platform's does (a typed character replaces the selection, Backspace
// deletes the selection or the character before the caret, writing the text puts the caret at
// the end and notifies a change when the text changed).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ExtDropDownEditTypes.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace dd = dropdown;
using plat::String;
using plat::StringView;

namespace {

String U(std::string_view s) { return plat::Utf8ToString(s); }
std::string S(StringView s) { return plat::StringToUtf8(s); }

struct FakeEdit : dd::IEditTypeHost {
    String text;
    int selStart = 0, selLength = 0;
    bool modified = false, enabled = true, readOnly = false;
    int maxLength = 0, changes = 0;
    char16_t passwordChar = 0;
    dd::TDropDownEditTypes rules{*this};

    void Written(const String& old) {
        if (old != text && rules.EditChanged()) ++changes;
    }
    String EditText() const override { return text; }
    void SetEditText(StringView t) override {
        const String old = text;
        text = String(t);
        selStart = static_cast<int>(text.size());
        selLength = 0;
        Written(old);
    }
    int SelStart() const override { return selStart; }
    int SelLength() const override { return selLength; }
    void SetSel(int start, int length) override {
        const int n = static_cast<int>(text.size());
        selStart = std::clamp(start, 0, n);
        selLength = std::clamp(length, 0, n - selStart);
    }
    bool EditModified() const override { return modified; }
    void SetEditModified(bool v) override { modified = v; }
    void DefaultChar(char16_t k) override {
        const String old = text;
        if (k == 8) {
            if (selLength > 0)
                text.erase(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength));
            else if (selStart > 0)
                text.erase(static_cast<std::size_t>(--selStart), 1);
        } else if (k >= 32) {
            text.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength), 1, k);
            ++selStart;
        }
        selLength = 0;
        if (old != text) modified = true;
        Written(old);
    }
    bool EnterOrEscape(char16_t) override { return false; }
    void RaiseChange() override { ++changes; }
    bool EditorEnabled() const override { return enabled; }
    bool ReadOnly() const override { return readOnly; }
    bool Loading() const override { return false; }
    int MaxLength() const override { return maxLength; }
    void SetPasswordChar(char16_t c) override { passwordChar = c; }
    void DefaultCopy() override {}
    void DefaultCut() override {}

    void Start(StringView native, int caret, int length = 0) {
        text = String(native);
        SetSel(caret, length);
        modified = false;
    }
    void Type(StringView keys, dd::TCharState st = {}) {
        for (char16_t k : keys) rules.KeyPress(k, st);
    }
};

// Runs a test body under "." decimal with "," thousands and under the reverse; Loc() turns
// a text written for the first into the current one.
class Locales : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        saved_ = plat::FormatSettings;
        plat::FormatSettings.DecimalSeparator = GetParam() ? u',' : u'.';
        plat::FormatSettings.ThousandSeparator = GetParam() ? u'.' : u',';
    }
    void TearDown() override { plat::FormatSettings = saved_; }
    String Loc(StringView s) const {
        String out(s);
        if (GetParam())
            for (char16_t& c : out) c = c == u'.' ? u',' : c == u',' ? u'.' : c;
        return out;
    }

private:
    plat::TFormatSettings saved_;
};

struct TypingCase {
    const char* name;
    dd::TDropDownEditType type;
    int precision;
    bool isSigned;
    const char* start;  // native text; '.' and ',' are D and T when `localeText`
    int caret, selection;
    const char* keys;
    const char* text;
    int caretAfter;
    bool modified;
    bool localeText = true;
    int lengthLimit = 0;
    bool excelKeypad = false;
    const char* prefix = "";
    const char* suffix = "";
};

const TypingCase typingCases[] = {
    {"minus ignored unsigned", dd::etNumeric, 0, false, "25", 2, 0, "-", "25", 2, false},
    {"minus signs", dd::etNumeric, 0, true, "25", 2, 0, "-", "-25", 3, true},
    {"minus unsigns", dd::etNumeric, 0, true, "-25", 3, 0, "-", "25", 2, false},
    {"minus over all", dd::etNumeric, 0, true, "25", 0, 2, "-", "-", 1, false},
    {"letters refused", dd::etNumeric, 0, false, "1", 1, 0, "a2.", "12", 2, true},
    {"decimals full", dd::etFloat, 2, false, "3.14", 4, 0, "5", "3.14", 4, false},
    {"decimal overwritten", dd::etFloat, 2, false, "3.14", 3, 0, "5", "3.15", 4, true},
    {"no D at precision 0", dd::etFloat, 0, false, "3", 1, 0, ".", "3", 1, false},
    {"D jumps past D", dd::etFloat, 2, false, "3.14", 0, 0, ".", "3.14", 2, false},
    {"D into empty float", dd::etFloat, 2, false, "", 0, 0, ".", "0.", 2, true},
    {"signed float", dd::etFloat, 2, true, "3.5", 3, 0, "-", "-3.5", 4, true},
    {"length limit", dd::etFloat, 2, false, "123", 3, 0, "4.45", "123.45", 6, true, true, 3},
    {"length limit keeps decimals", dd::etFloat, 2, false, "123.4", 5, 0, "5", "123.45", 6, true, true, 3},
    {"excel keypad", dd::etFloat, 2, false, "", 0, 0, "1,5", "1.5", 3, true, true, 0, true},
    {"money groups", dd::etMoney, 2, false, "", 0, 0, "1234", "1,234", 5, true},
    {"money millions", dd::etMoney, 2, false, "", 0, 0, "1234567", "1,234,567", 9, true},
    {"D into empty money", dd::etMoney, 2, false, "", 0, 0, ".", "0.", 2, true},
    {"money D jumps", dd::etMoney, 2, false, "1,234.5", 0, 0, ".", "1,234.5", 6, false},
    {"money decimals", dd::etMoney, 2, false, "1,234", 5, 0, ".56", "1,234.56", 8, true},
    {"money no D at 0", dd::etMoney, 0, false, "12", 2, 0, ".", "12", 2, false},
    {"money D too close to T", dd::etMoney, 2, false, "1,234", 4, 0, ".", "1,234", 4, false},
    {"money signed", dd::etMoney, 2, true, "1,234", 5, 0, "-", "-1,234", 6, true},
    {"range", dd::etRange, 0, false, "", 0, 0, "1-5,8", "1-5,8", 5, true, false},
    {"range double separator", dd::etRange, 0, false, "1-", 2, 0, ",;", "1-", 2, true, false},
    {"range separator first", dd::etRange, 0, false, "", 0, 0, "-5", "5", 1, true, false},
    {"hex", dd::etHex, 0, false, "", 0, 0, "fFg1-", "fF1-", 4, true, false},
    {"upper", dd::etUppercase, 0, false, "", 0, 0, "ab\xC3\xA4", "AB\xC3\x84", 3, true, false},
    {"lower", dd::etLowerCase, 0, false, "", 0, 0, "AB", "ab", 2, true, false},
    {"mixed", dd::etMixedCase, 0, false, "", 0, 0, "hELLO wORLD", "Hello World", 11, true, false},
    {"alpha numeric", dd::etAlphaNumeric, 0, false, "", 0, 0, "a-1_Z", "a1Z", 3, true, false},
    {"string", dd::etString, 0, false, "", 0, 0, "a-1_", "a-1_", 4, true, false},
    {"backspace at prefix", dd::etString, 0, false, "$12", 1, 0, "\b", "$12", 1, false, false, 0, false, "$"},
    {"mixed keeps affixes", dd::etMixedCase, 0, false, "<ab>", 3, 0, " c", "<Ab C>", 5, true, false, 0, false,
     "<", ">"},
    {"sign keeps affixes", dd::etFloat, 2, true, "$3.5%", 4, 0, "-", "$-3.5%", 5, true, true, 0, false, "$", "%"},
    {"money D into empty keeps affixes", dd::etMoney, 2, false, "$", 1, 0, ".", "$0.", 3, true, true, 0, false,
     "$"},
};

TEST_P(Locales, TypingTable) {
    for (const TypingCase& c : typingCases) {
        SCOPED_TRACE(c.name);
        FakeEdit e;
        e.rules.SetEditType(c.type);
        e.rules.SetPrecision(static_cast<std::int16_t>(c.precision));
        e.rules.Signed = c.isSigned;
        e.rules.LengthLimit = static_cast<std::int16_t>(c.lengthLimit);
        e.rules.ExcelStyleDecimalSeparator = c.excelKeypad;
        e.rules.Prefix = U(c.prefix);
        e.rules.Suffix = U(c.suffix);
        auto loc = [&](const char* s) { return c.localeText ? Loc(U(s)) : U(s); };
        e.Start(loc(c.start), c.caret, c.selection);
        e.rules.SetModified(false);
        String keys = c.excelKeypad ? U(c.keys) : loc(c.keys);  // keypad keys are typed as they are
        e.Type(keys, {false, c.excelKeypad});
        EXPECT_EQ(S(e.text), S(loc(c.text)));
        EXPECT_EQ(e.selStart, c.caretAfter);
        EXPECT_EQ(e.rules.Modified(), c.modified);
    }
}

TEST_P(Locales, MoneyTakesItsDecimalsOnFocusLoss) {
    FakeEdit e;
    e.rules.SetEditType(dd::etMoney);
    e.rules.SetPrecision(2);
    e.Start(u"", 0);
    e.Type(u"1234");
    EXPECT_EQ(S(e.text), S(Loc(u"1,234")));
    e.rules.FocusLost();
    EXPECT_EQ(S(e.text), S(Loc(u"1,234.00")));
    EXPECT_TRUE(e.rules.Modified()) << "focus loss keeps the modified flag";
    EXPECT_EQ(e.rules.GetFloatValue(), 1234.0);
}

TEST_P(Locales, SetTextNormalises) {
    struct Case {
        dd::TDropDownEditType type;
        int precision;
        const char* value;
        const char* text;
    } cases[] = {
        {dd::etNumeric, 0, "", "0"},        {dd::etFloat, 0, "", "0"},
        {dd::etMoney, 2, "", "0.00"},       {dd::etHex, 0, "", "0"},
        {dd::etString, 2, "", ""},          {dd::etHex, 0, "ff", "FF"},
        {dd::etFloat, 2, "3.14159", "3.14"}, {dd::etMoney, 2, "1234567.891", "1,234,567.89"},
        {dd::etFloat, 2, "Error", "Error"}, {dd::etMoney, 2, "1,234", "1,234.00"},
        {dd::etFloat, 2, "abc", "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        FakeEdit e;
        e.rules.SetEditType(c.type);
        e.rules.SetPrecision(static_cast<std::int16_t>(c.precision));
        e.rules.SetText(Loc(U(c.value)));
        EXPECT_EQ(S(e.text), S(Loc(U(c.text))));
        EXPECT_FALSE(e.rules.Modified());
    }
}

TEST_P(Locales, FloatValues) {
    struct Case {
        dd::TDropDownEditType type;
        const char* text;
        double value;
    } cases[] = {
        {dd::etHex, "FF", 255},        {dd::etHex, "", 0},           {dd::etNumeric, "-", 0},
        {dd::etNumeric, "Error", 0},   {dd::etMoney, "1,234.", 1234}, {dd::etMoney, "-", 0},
        {dd::etFloat, "-2.5", -2.5},   {dd::etFloat, "x", 0},        {dd::etRange, "1-5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FakeEdit e;
        e.rules.SetEditType(c.type);
        e.text = Loc(U(c.text));
        EXPECT_EQ(e.rules.GetFloatValue(), c.value);
    }
    // etString reads a point as the decimal separator whatever the locale.
    FakeEdit e;
    e.text = u"2.5";
    EXPECT_EQ(e.rules.GetFloatValue(), 2.5);
}

TEST(EditTypes, HexToIntWrapsLikeA32BitInteger) {
    EXPECT_EQ(dd::TDropDownEditTypes::HexToInt(u"ff"), 255);
    EXPECT_EQ(dd::TDropDownEditTypes::HexToInt(u"7FFFFFFF"), 0x7FFFFFFF);
    EXPECT_EQ(dd::TDropDownEditTypes::HexToInt(u"FFFFFFFF"), -1);
    EXPECT_EQ(dd::TDropDownEditTypes::HexToInt(u"123456789ABCDEF0123"), static_cast<int>(0xCDEF0123u)) << "low 32 bits of a long text";
    EXPECT_EQ(dd::TDropDownEditTypes::HexToInt(u"1x2"), 0x102) << "other characters count 0";
}

TEST_P(Locales, WholeTextTypedOverRaisesNoSecondChange) {
    FakeEdit e;
    e.Start(u"abc", 0, 3);
    e.Type(u"x");
    EXPECT_EQ(S(e.text), "x");
    EXPECT_EQ(e.changes, 0) << "the rewrite over the whole selection is not notified";
    e.Start(u"abc", 0, 3);
    e.Type(u"\b");
    EXPECT_EQ(S(e.text), "");
    EXPECT_EQ(e.changes, 1) << "emptying the value raises the change once";
    e.Type(u"y");
    EXPECT_EQ(e.changes, 2) << "the next change is notified again";
    // A refused key over the whole value holds nothing back for later changes.
    FakeEdit n;
    n.rules.SetEditType(dd::etNumeric);
    n.Start(u"12", 0, 2);
    n.changes = 0;
    n.Type(u"a");
    EXPECT_EQ(S(n.text), "12");
    n.SetSel(2, 0);
    n.Type(u"3");
    EXPECT_EQ(S(n.text), "123");
    EXPECT_EQ(n.changes, 1);
}

TEST_P(Locales, MoneyRegroupingIsNotASecondChange) {
    FakeEdit e;
    e.rules.SetEditType(dd::etMoney);
    e.rules.SetPrecision(2);
    e.Start(u"", 0);
    e.changes = 0;
    e.Type(u"1234");
    EXPECT_EQ(e.changes, 4) << "one change per key, the regrouping silent";
    e.Type(u"5");
    EXPECT_EQ(e.changes, 5);
}

TEST_P(Locales, PasteTable) {
    struct Case {
        const char* name;
        dd::TDropDownEditType type;
        int precision;
        const char* start;
        int caret, selection;
        const char* clip;
        const char* text;
        int maxLength = 0;
        bool veto = false;
    } cases[] = {
        {"numeric refuses letters", dd::etNumeric, 0, "1", 1, 0, "2a", "1"},
        {"numeric takes digits", dd::etNumeric, 0, "1", 1, 0, "23", "123"},
        {"numeric refuses unsigned minus", dd::etNumeric, 0, "1", 0, 0, "-", "1"},
        {"alpha numeric takes 12a", dd::etAlphaNumeric, 0, "", 0, 0, "12a", "12a"},
        {"hex pastes nothing", dd::etHex, 0, "1", 1, 0, "12a", "1"},
        {"range pastes nothing", dd::etRange, 0, "1", 1, 0, "-5", "1"},
        {"D refused at precision 0", dd::etFloat, 0, "1", 1, 0, ".5", "1"},
        {"float formats", dd::etFloat, 2, "", 0, 0, "1.5", "1.50"},
        {"float replaces selection", dd::etFloat, 2, "9.99", 0, 1, "12", "12.99"},
        {"money groups", dd::etMoney, 2, "", 0, 0, "1234.5", "1,234.50"},
        {"max length", dd::etString, 0, "ab", 2, 0, "cd", "ab", 3},
        {"max length fits", dd::etString, 0, "ab", 2, 0, "c", "abc", 3},
        {"veto", dd::etString, 0, "ab", 2, 0, "cd", "ab", 0, true},
        {"upper", dd::etUppercase, 0, "a", 1, 0, "bc", "ABC"},
        {"valid chars", dd::etValidChars, 0, "a", 1, 0, "ab", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEdit e;
        e.rules.SetEditType(c.type);
        e.rules.SetPrecision(static_cast<std::int16_t>(c.precision));
        e.rules.ValidChars = u"ac";
        e.maxLength = c.maxLength;
        String offered;
        e.rules.OnClipboardPaste = [&](plat::TObject*, const String& v, bool& allow) {
            offered = String(v);
            allow = !c.veto;
        };
        e.Start(Loc(U(c.start)), c.caret, c.selection);
        e.rules.Paste(Loc(U(c.clip)));
        EXPECT_EQ(S(e.text), S(Loc(U(c.text))));
        EXPECT_FALSE(offered.empty()) << "the event sees the new value";
    }
}

TEST(EditTypes, PastePlacesTheCaret) {
    FakeEdit e;
    e.Start(u"abef", 2);
    e.rules.Paste(u"cd");
    EXPECT_EQ(S(e.text), "abcdef");
    EXPECT_EQ(e.selStart, 4);
    EXPECT_EQ(e.selLength, 0);
    e.Start(u"abXf", 2, 1);
    e.rules.Paste(u"cde");
    EXPECT_EQ(S(e.text), "abcdef");
    EXPECT_EQ(e.selStart, 2);
    EXPECT_EQ(e.selLength, 3) << "a replaced selection selects the pasted text";
    EXPECT_TRUE(e.rules.Modified());
}

TEST_P(Locales, IsTypeTable) {
    struct Case {
        const char* text;
        int type;
    } cases[] = {
        {"", 2},       {"123", 0},     {"-12", 0},    {"1-2", 0},       {"1.5", 1},      {"1,234.5", 1},
        {",123", 2},   {"1,2,34", 2},  {"1.2.3", 2},  {"--1", 2},       {"ff", 5},       {"-fF", 5},
        {"1g", 2},     {"1 2", 2},     {"12,345", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(dd::TDropDownEditTypes::IsType(Loc(U(c.text))), c.type) << c.text;
}

TEST_P(Locales, SeparatorTooCloseTable) {
    struct Case {
        const char* value;
        int caret;
        bool tooClose;
    } cases[] = {
        {"1234", 2, false}, {"1,234", 5, false}, {"1,234", 4, true}, {"1,234", 3, true},
        {"1,2345", 6, true}, {"1,234,567", 9, false}, {"1,234,567", 7, true},
    };
    FakeEdit e;
    for (const Case& c : cases)
        EXPECT_EQ(e.rules.SeparatorTooClose(Loc(U(c.value)), c.caret), c.tooClose) << c.value << " at " << c.caret;
}

TEST_P(Locales, DecimalsFullTable) {
    struct Case {
        int precision;
        const char* value;
        int caret;
        bool full;
    } cases[] = {
        {2, "3.14", 4, true}, {2, "3.14", 3, true}, {2, "3.14", 2, true}, {2, "3.14", 1, false},
        {2, "3.1", 3, false}, {2, "314", 3, false}, {0, "3.14", 4, false}, {3, "3.14", 4, false},
    };
    for (const Case& c : cases) {
        FakeEdit e;
        e.rules.SetEditType(dd::etFloat);
        e.rules.SetPrecision(static_cast<std::int16_t>(c.precision));
        EXPECT_EQ(e.rules.DecimalsFull(Loc(U(c.value)), c.caret), c.full) << c.value << " at " << c.caret;
    }
}

TEST_P(Locales, AffixesAroundTheValue) {
    FakeEdit e;
    e.rules.SetEditType(dd::etFloat);
    e.rules.SetPrecision(2);
    e.rules.Prefix = u"$ ";
    e.rules.Suffix = u" kg";
    e.rules.SetText(Loc(u"1.5"));
    EXPECT_EQ(S(e.text), S(Loc(u"$ 1.50 kg")));
    EXPECT_EQ(S(e.rules.GetText()), S(Loc(u"1.50")));
    EXPECT_EQ(e.rules.GetFloatValue(), 1.5);
    e.rules.SelectAll();
    EXPECT_EQ(e.selStart, 2);
    EXPECT_EQ(e.selLength, 4);
    e.rules.SelectAfterDecimal();
    EXPECT_EQ(e.selStart, 4);
    e.rules.SelectBeforeDecimal();
    EXPECT_EQ(e.selStart, 3);
    EXPECT_TRUE(e.rules.KeyDown(plat::VK_END, false));
    EXPECT_EQ(e.selStart, 6) << "End stops before the suffix";
    EXPECT_TRUE(e.rules.KeyDown(plat::VK_RIGHT, false)) << "Right at the value's end is held";
    EXPECT_TRUE(e.rules.KeyDown(plat::VK_HOME, false));
    EXPECT_EQ(e.selStart, 2) << "Home stops after the prefix";
    EXPECT_TRUE(e.rules.KeyDown(plat::VK_LEFT, false));
    e.SetSel(0, 0);
    e.rules.MouseUp();
    EXPECT_EQ(e.selStart, 2);
    EXPECT_EQ(e.selLength, 4) << "a click in the prefix selects the value";
}

TEST_P(Locales, EditTypeSetterResetsForeignValues) {
    struct Case {
        const char* text;
        dd::TDropDownEditType type;
        const char* after;
    } cases[] = {
        {"abc", dd::etNumeric, "0"},  {"12", dd::etNumeric, "12"}, {"1.5", dd::etNumeric, "0"},
        {"abc", dd::etFloat, "0"},    {"1.5", dd::etFloat, "1.5"}, {"xyz", dd::etHex, "0"},
        {"fe", dd::etHex, "fe"},
    };
    for (const Case& c : cases) {
        FakeEdit e;
        e.text = Loc(U(c.text));
        e.rules.SetEditType(c.type);
        EXPECT_EQ(S(e.text), S(Loc(U(c.after)))) << c.text;
    }
    FakeEdit e;
    e.rules.SetEditType(dd::etPassword);
    EXPECT_EQ(e.passwordChar, u'*');
    EXPECT_FALSE(e.rules.CanUndo);
}

// The fixed and grouped texts of generated values against Python's '%.*f' % and
// format(x, ',.*f') (tests/controls/dropdown/data/make_fixed_texts.py).
TEST_P(Locales, FixedTextsMatchTheOracle) {
    std::ifstream in(TEST_SOURCE_DIR "/data/fixed_texts.txt");
    ASSERT_TRUE(in) << "fixture missing";
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string repr, fixed, grouped;
        int precision = 0;
        fields >> repr >> precision >> fixed >> grouped;
        const double x = std::strtod(repr.c_str(), nullptr);
        SCOPED_TRACE(line);
        ++lines;
        EXPECT_EQ(S(dd::FormatFixed(x, precision, false)), S(Loc(U(fixed))));
        EXPECT_EQ(S(dd::FormatFixed(x, precision, true)), S(Loc(U(grouped))));
        FakeEdit f;
        f.rules.SetEditType(dd::etFloat);
        f.rules.SetPrecision(static_cast<std::int16_t>(precision));
        f.rules.SetFloatValue(x);
        EXPECT_EQ(S(f.text), S(Loc(U(fixed))));
        FakeEdit m;
        m.rules.SetEditType(dd::etMoney);
        m.rules.SetPrecision(static_cast<std::int16_t>(precision));
        m.rules.SetFloatValue(x);
        EXPECT_EQ(S(m.text), S(Loc(U(grouped))));
        if (precision > 0) {
            m.rules.SetText(Loc(U(repr)));
            EXPECT_EQ(S(m.text), S(Loc(U(grouped))));
            f.rules.SetText(Loc(U(repr)));
            EXPECT_EQ(S(f.text), S(Loc(U(fixed))));
        }
    }
    EXPECT_GT(lines, 0);
}

INSTANTIATE_TEST_SUITE_P(DecimalPointAndComma, Locales, ::testing::Values(false, true));

} // namespace
