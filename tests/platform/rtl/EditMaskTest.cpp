// The edit-mask language: parsing of the three fields, the edit text shown for a value, the
// text reported for an edit text, and typing, deleting and pasting under a mask.
#include <gtest/gtest.h>

#include "plat/EditMask.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace {

class EditMaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = FormatSettings;
        FormatSettings.TimeSeparator = u':';
        FormatSettings.DateSeparator = u'.';
    }
    void TearDown() override { FormatSettings = saved; }
    TFormatSettings saved;
};

TEST_F(EditMaskTest, FieldsAndBlankText)
{
    struct Case {
        const char16_t* mask;
        const char16_t* blank;
        bool saveLiterals;
        char16_t blankChar;
    };
    const Case cases[] = {
        {u"000-0000", u"___-____", true, u'_'},
        {u"000-0000;0;*", u"***-****", false, u'*'},
        {u"!90:00:00;1; ", u"  :  :  ", true, u' '},
        // The separators are the locale's, escaped characters and '_' are literals, the
        // directives take no position, an escaped ';' does not end the picture.
        {u"99/99/9999;1;_", u"__.__.____", true, u'_'},
        {u">LL<ll\\0\\;_0", u"____0; _", true, u'_'},
        {u"<>cc;1;", u"__", true, u'_'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.mask));
        const TEditMask m(c.mask);
        EXPECT_FALSE(m.Empty());
        EXPECT_EQ(m.BlankText(), String(c.blank));
        EXPECT_EQ(m.SaveLiterals(), c.saveLiterals);
        EXPECT_EQ(m.Blank(), c.blankChar);
    }
    // A picture without any entry position is no mask.
    EXPECT_TRUE(TEditMask(u"").Empty());
    EXPECT_TRUE(TEditMask(u"!><;0;_").Empty());
    EXPECT_TRUE(TEditMask(u"x-y").Empty());
}

TEST_F(EditMaskTest, ValueToEditTextAndBack)
{
    struct Case {
        const char16_t* mask;
        const char16_t* value;
        const char16_t* edit;
        const char16_t* text;  // the text the edit text reports
    };
    const Case cases[] = {
        // The time picker's mask: a short hour is shown with a leading blank, and the text
        // drops it again.
        {u"!90:00:00;1; ", u"7:05:09", u" 7:05:09", u"7:05:09"},
        {u"!90:00:00;1; ", u"17:05:09", u"17:05:09", u"17:05:09"},
        {u"!90:00;1; ", u"7:5", u" 7: 5", u"7: 5"},
        // Without save-literals the text holds only the entered characters, and such a text
        // fills the positions in order (from the right with '!').
        {u"!90:00:00;0; ", u"70509", u" 7:05:09", u"70509"},
        {u"000-0000;0;_", u"5551234", u"555-1234", u"5551234"},
        {u"000-0000;0;_", u"555", u"555-____", u"555"},
        {u"000-0000;1;_", u"555-12", u"555-12__", u"555-12"},
        // Characters a position does not take leave it empty; letters take the case rule.
        {u">LL<ll", u"abCD", u"ABcd", u"ABcd"},
        {u"00.00.0000;1;_", u"1x.02.2024", u"1_.02.2024", u"1 .02.2024"},
        // A value longer than a group keeps the group's first characters.
        {u"00:00;1;_", u"123:45", u"12:45", u"12:45"},
        // An empty value is a blank edit text, and a blank edit text reports no text even
        // though literals are kept.
        {u"00:00;1;_", u"", u"__:__", u""},
        {u"(000) 000;1;_", u"(012) 345", u"(012) 345", u"(012) 345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(String(c.mask) + u" <- " + c.value));
        const TEditMask m(c.mask);
        const String edit = m.ToEditText(c.value);
        EXPECT_EQ(edit, String(c.edit));
        EXPECT_EQ(m.ToText(edit), String(c.text));
        // The reported text shows the same edit text again.
        EXPECT_EQ(m.ToEditText(m.ToText(edit)), edit);
    }
}

TEST_F(EditMaskTest, CompleteAndFull)
{
    const TEditMask m(u"!90:00;1; ");
    EXPECT_TRUE(m.IsComplete(u" 7:05"));
    EXPECT_FALSE(m.IsFull(u" 7:05"));
    EXPECT_TRUE(m.IsFull(u"17:05"));
    EXPECT_FALSE(m.IsComplete(u" 7: 5"));
    EXPECT_FALSE(m.IsComplete(m.BlankText()));
    const TEditMask opt(u"99-aa;1;_");
    EXPECT_TRUE(opt.IsComplete(opt.BlankText()));
}

TEST_F(EditMaskTest, EditingKeys)
{
    enum Op { TypeKey, BackspaceKey, DeleteKey, PasteText };
    struct Case {
        const char* name;
        const char16_t* mask;
        const char16_t* edit;
        int selStart, selLength;
        Op op;
        const char16_t* input;
        const char16_t* result;
        int caret;
        bool accepted;
    };
    const Case cases[] = {
        {"digit goes to the caret and the caret skips the literal", u"00:00", u"1_:__", 1, 0, TypeKey, u"2",
         u"12:__", 3, true},
        {"typing at a literal writes the next entry position", u"00:00", u"12:__", 2, 0, TypeKey, u"3", u"12:3_",
         4, true},
        {"the literal typed at it steps over it", u"00:00", u"1_:__", 2, 0, TypeKey, u":", u"1_:__", 3, true},
        {"the literal typed right after it is no refusal", u"00:00", u"12:__", 3, 0, TypeKey, u":", u"12:__", 3,
         true},
        {"a letter in a digit position is refused", u"00:00", u"1_:__", 1, 0, TypeKey, u"x", u"1_:__", 1, false},
        {"a refused key keeps the selection's text", u"00:00", u"12:34", 0, 5, TypeKey, u"x", u"12:34", 0, false},
        {"typing over a selection empties it first", u"00:00", u"12:34", 1, 3, TypeKey, u"9", u"19:_4", 3, true},
        {"nothing past the last position", u"00", u"12", 2, 0, TypeKey, u"3", u"12", 2, false},
        {"upper-case directive", u">LL", u"__", 0, 0, TypeKey, u"q", u"Q_", 1, true},
        {"sign position", u"#00", u"___", 0, 0, TypeKey, u"-", u"-__", 1, true},
        {"a space empties an optional position", u"!90:00;1; ", u"17:05", 0, 0, TypeKey, u" ", u" 7:05", 1, true},
        {"a space is refused by a required digit", u"00", u"__", 0, 0, TypeKey, u" ", u"__", 0, false},
        {"backspace empties the position before the caret, over literals", u"00:00", u"12:34", 3, 0,
         BackspaceKey, u"", u"1_:34", 1, true},
        {"backspace at the start", u"00:00", u"12:34", 0, 0, BackspaceKey, u"", u"12:34", 0, false},
        {"backspace empties a selection and keeps literals", u"00:00", u"12:34", 0, 5, BackspaceKey, u"",
         u"__:__", 0, true},
        {"delete empties the position at the caret, the caret stays", u"00:00", u"12:34", 2, 0, DeleteKey, u"",
         u"12:_4", 2, true},
        {"delete at the end", u"00:00", u"12:34", 5, 0, DeleteKey, u"", u"12:34", 5, false},
        {"paste places what fits and steps over literals", u"00:00", u"__:__", 0, 0, PasteText, u"12:34",
         u"12:34", 5, true},
        {"paste skips what no position takes", u"00:00", u"__:__", 0, 0, PasteText, u"1a2\r\n3", u"12:3_", 4,
         true},
        {"paste of nothing usable", u"00:00", u"12:34", 0, 0, PasteText, u"abc", u"12:34", 0, false},
        {"paste stops at the end", u"00", u"__", 0, 0, PasteText, u"12345", u"12", 2, true},
        // Edit texts of the wrong length or with foreign characters are conformed first.
        {"an edit text of the wrong length is conformed", u"00:00", u"1", 1, 0, TypeKey, u"2", u"12:__", 3,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TEditMask m(c.mask);
        TEditMask::TEdit r;
        switch (c.op) {
        case TypeKey: r = m.Type(c.edit, c.selStart, c.selLength, c.input[0]); break;
        case BackspaceKey: r = m.Backspace(c.edit, c.selStart, c.selLength); break;
        case DeleteKey: r = m.Delete(c.edit, c.selStart, c.selLength); break;
        case PasteText: r = m.Paste(c.edit, c.selStart, c.selLength, c.input); break;
        }
        EXPECT_EQ(r.Text, String(c.result));
        EXPECT_EQ(r.Caret, c.caret);
        EXPECT_EQ(r.Accepted, c.accepted);
    }
}

// Masks and values are often typed by users (grid columns, markup controls): nothing a mask
// or an edit text holds may run past a buffer, and every operation keeps the edit text at
// the mask's length with its literals in place.
TEST_F(EditMaskTest, AnyMaskAndTextKeepTheEditTextsShape)
{
    const String alphabet = u"09#LlAaCc<>!\\:/_;x- 1aZ\r";
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    for (int round = 0; round < 2000; ++round) {
        String mask, text;
        for (unsigned k = next() % 12; k > 0; --k)
            mask += alphabet[next() % alphabet.size()];
        for (unsigned k = next() % 14; k > 0; --k)
            text += alphabet[next() % alphabet.size()];
        const TEditMask m(mask);
        if (m.Empty())
            continue;
        const String blank = m.BlankText();
        auto shapeOk = [&](const String& e) {
            if (static_cast<int>(e.size()) != m.Length())
                return false;
            for (int i = 0; i < m.Length(); ++i)
                if (m.IsLiteral(i) && e[static_cast<size_t>(i)] != blank[static_cast<size_t>(i)])
                    return false;
            return true;
        };
        const String edit = m.ToEditText(text);
        ASSERT_TRUE(shapeOk(edit)) << StringToUtf8(mask);
        m.ToText(text);
        const int s = static_cast<int>(next() % 16) - 2;
        const int l = static_cast<int>(next() % 16) - 2;
        for (const TEditMask::TEdit& r :
             {m.Type(text, s, l, text.empty() ? u'1' : text[0]), m.Backspace(text, s, l), m.Delete(text, s, l),
              m.Paste(text, s, l, text)}) {
            ASSERT_TRUE(shapeOk(r.Text)) << StringToUtf8(mask);
            ASSERT_GE(r.Caret, 0);
            ASSERT_LE(r.Caret, m.Length());
        }
    }
}

} // namespace
