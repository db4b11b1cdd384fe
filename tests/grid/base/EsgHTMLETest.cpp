#include <gtest/gtest.h>

#include <random>

#include "EsgHTMLE.h"

using namespace grid;
using plat::String;

namespace {

std::string Narrow(const String& s) {
    std::string r;
    for (char16_t c : s) r += c < 0x80 ? static_cast<char>(c) : '?';
    return r;
}

TEST(MarkupTextTest, EscapeAndUnescape) {
    struct Case {
        String plain;
        bool useTable;
        String escaped;
    };
    const Case cases[] = {
        {u"a<b", false, u"a&lt;b"},
        {u"<b>", false, u"&lt;b&gt;"},
        {u"say \"x\" & y", false, u"say &quot;x&quot; &amp; y"},
        // A text that already holds "*amp;" keeps it.
        {u"1 *amp; 2 & 3", false, u"1 *amp; 2 &amp; 3"},
        // Entities in the text are escaped themselves, so they come back as they were.
        {u"&amp; &lt;", false, u"&amp;amp; &amp;lt;"},
        {u"caf\u00E9 \u20AC", true, u"caf&eacute; &euro;"},
        {u"caf\u00E9", false, u"caf\u00E9"},
        // Unused table entries stay as characters.
        {u"\u00E3", true, u"\u00E3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.plain));
        EXPECT_EQ(EscapeMarkupText(c.plain, c.useTable), c.escaped);
        EXPECT_EQ(UnescapeMarkupText(c.escaped, c.useTable), c.plain);
    }
    EXPECT_EQ(UnescapeMarkupText(u"&lt;b&gt;", false), u"<b>");
    EXPECT_EQ(UnescapeMarkupText(u"&eacute;", false), u"&eacute;");
    EXPECT_EQ(UnescapeMarkupText(u"a & b &x;", true), u"a & b &x;");
}

TEST(MarkupTextTest, HighlightAndRemoveTag) {
    struct Case {
        String text, search;
        bool caseSensitive;
        String highlighted;
    };
    const Case cases[] = {
        {u"abcabc", u"bc", true, u"a<hi>bc</hi>a<hi>bc</hi>"},
        {u"aBc", u"bc", true, u"aBc"},
        {u"aBc", u"bc", false, u"a<hi>Bc</hi>"},
        // Tags do not count as visible text and are kept.
        {u"<b>ab</b>c", u"bc", true, u"<b>a<hi>b</b>c</hi>"},
        {u"x<i>y</i>", u"i", true, u"x<i>y</i>"},
        {u"aaa", u"aa", true, u"<hi>aa</hi>a"},
        {u"abc", u"", true, u"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text) + " / " + Narrow(c.search));
        EXPECT_EQ(HighlightMarkupText(c.text, c.search, u"hi", c.caseSensitive), c.highlighted);
    }
    EXPECT_EQ(RemoveMarkupTag(u"a<hi>bc</hi>a<HI>bc</Hi>", u"hi"), u"abcabc");
    EXPECT_EQ(RemoveMarkupTag(u"<hi x>a</hi> &lt;b&gt;", u"hi"), u"<hi x>a <b>");
    EXPECT_EQ(RemoveMarkupTag(HighlightMarkupText(u"<b>ab</b>c", u"b", u"e", true), u"e"), u"<b>ab</b>c");
}

TEST(MarkupTextTest, StripAndPlainText) {
    EXPECT_EQ(StripMarkupTags(u"<b>42</b>"), u"42");
    EXPECT_EQ(StripMarkupTags(u"1 < 2"), u"1 < 2");
    EXPECT_EQ(MarkupToPlainText(u"Line1<BR>Line2<hr>x"), u"Line1\r\nLine2\r\nx");
    EXPECT_EQ(MarkupToPlainText(u"a<b>c<d"), u"ac<d");
}

TEST(MarkupTextTest, ControlValues) {
    String t = u"Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"a&amp;b\" WIDTH=\"80\" HEIGHT=\"40\" "
               u"PROP=\"p\"> <control type=\"CHECK\" id=\"c\" width=\"20\">";
    String v;
    ASSERT_TRUE(GetMarkupControlValue(t, u"n", v));
    EXPECT_EQ(v, u"a&b");
    ASSERT_TRUE(GetMarkupControlValue(t, u"c", v));
    EXPECT_EQ(v, u"");
    EXPECT_FALSE(GetMarkupControlValue(t, u"x", v));
    EXPECT_TRUE(HasMarkupControls(t));

    // Only VALUE changes; HEIGHT, PROP and the attribute order stay.
    ASSERT_TRUE(SetMarkupControlValue(t, u"n", u"<\u00E9>"));
    EXPECT_EQ(t, u"Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"&lt;&eacute;&gt;\" WIDTH=\"80\" HEIGHT=\"40\" "
                 u"PROP=\"p\"> <control type=\"CHECK\" id=\"c\" width=\"20\">");
    ASSERT_TRUE(SetMarkupControlValue(t, u"c", u"TRUE"));
    EXPECT_EQ(StringView(t).substr(StringView(t).find(u"<control")),
              u"<control type=\"CHECK\" id=\"c\" VALUE=\"TRUE\" width=\"20\">");
    ASSERT_TRUE(GetMarkupControlValue(t, u"n", v));
    EXPECT_EQ(v, u"<\u00E9>");
    String unchanged = t;
    EXPECT_FALSE(SetMarkupControlValue(t, u"none", u"x"));
    EXPECT_EQ(t, unchanged);
}

// Random mutations of markup texts: every routine terminates, stays in bounds and keeps its
// guarantees (escaping round-trips, removing a tag after highlighting gives the text back
// when the text holds neither that tag nor escaped brackets).
TEST(MarkupTextTest, RandomMutationsKeepTheGuarantees) {
    const String seeds[] = {
        u"<b>bold</b> &amp; <CONTROL ID=\"a\" VALUE=\"1\" WIDTH=\"5\">",
        u"<control id=\"x\" value=x>", u"a<hi>b</hi>c", u"&lt;&gt;&quot;\u00E9", u"<CONTROL ID=\"",
    };
    const char16_t alphabet[] = u"<>&\"=/ ;aAbBhHiI\u00E9CONTRLIDVALUE";
    std::mt19937 rng(1234);
    for (int round = 0; round < 4000; ++round) {
        String s = seeds[round % std::size(seeds)];
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
            const char16_t ch = alphabet[rng() % (std::size(alphabet) - 1)];
            switch (rng() % 3) {
            case 0: s.insert(at, 1, ch); break;
            case 1: if (at < s.size()) s.erase(at, 1); break;
            default: if (at < s.size()) s[at] = ch; break;
            }
        }
        SCOPED_TRACE(Narrow(s));
        for (bool table : {false, true}) ASSERT_EQ(UnescapeMarkupText(EscapeMarkupText(s, table), table), s);
        (void)StripMarkupTags(s);
        (void)MarkupToPlainText(s);
        const String hi = HighlightMarkupText(s, u"a", u"q", rng() % 2 == 0);
        if (s.find(u"<q>") == String::npos && s.find(u"</q>") == String::npos && s.find(u"&lt;") == String::npos &&
            s.find(u"&gt;") == String::npos && s.find(u'<') == String::npos && s.find(u'>') == String::npos) {
            ASSERT_EQ(RemoveMarkupTag(hi, u"q"), s);
        }
        String v;
        String t = s;
        if (GetMarkupControlValue(s, u"a", v)) {
            ASSERT_TRUE(SetMarkupControlValue(t, u"a", u"x\"<"));
            ASSERT_TRUE(GetMarkupControlValue(t, u"a", v));
            ASSERT_EQ(v, u"x\"<");
        } else {
            ASSERT_FALSE(SetMarkupControlValue(t, u"a", u"x"));
        }
    }
}

} // namespace
