#include "EsgHTMLE.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "plat/SysUtils.h"

namespace grid {

namespace {

struct TEntity {
    StringView name;
    char16_t ch;
};

// The first 51 entries are the entities of the escape and unescape helpers.
constexpr std::array<TMarkupEntity, 55> kEntityTable{{
    {u"&eacute;", 0xE9}, {u"&egrave;", 0xE8}, {u"&euml;", 0xEB}, {u"&ecirc;", 0xEA}, {u"&oacute;", 0xF3},
    {u"&ograve;", 0xF2}, {u"&ouml;", 0xF6}, {u"&ocirc;", 0xF4}, {u"&iacute;", 0xED}, {u"&igrave;", 0xEC},
    {u"&iuml;", 0xEF}, {u"&icirc;", 0xEE}, {u"&uacute;", 0xFA}, {u"&ugrave;", 0xF9}, {u"&uuml;", 0xFC},
    {u"&ucirc;", 0xFB}, {u"&aacute;", 0xE1}, {u"&agrave;", 0xE0}, {u"&auml;", 0xE4}, {u"&acirc;", 0xE2},
    {u"&Eacute;", 0xC9}, {u"&Egrave;", 0xC8}, {u"&Euml;", 0xCB}, {u"&Ecirc;", 0xCA}, {u"&Oacute;", 0xD3},
    {u"&Ograve;", 0xD2}, {u"&Ouml;", 0xD6}, {u"&Ocirc;", 0xD4}, {u"&Iacute;", 0xCD}, {u"&Igrave;", 0xCC},
    {u"&Iuml;", 0xCF}, {u"&Icirc;", 0xCE}, {u"&Uacute;", 0xDA}, {u"&Ugrave;", 0xD9}, {u"&Uuml;", 0xDC},
    {u"&Ucirc;", 0xDB}, {u"&Aacute;", 0xC1}, {u"&Agrave;", 0xC0}, {u"&Auml;", 0xC4}, {u"&Acirc;", 0xC2},
    {u"&ccedil;", 0xE7}, {u"&Ccedil;", 0xC7}, {u"&oslash;", 0xF8}, {u"&Oslash;", 0xD8}, {u"&aring;", 0xE5},
    {u"&Aring;", 0xC5}, {u"&copy;", 0xA9}, {u"&reg;", 0xAE}, {u"&euro;", 0x80}, {u"&laquo;", 0xAB},
    {u"&raquo;", 0xBB}, {u"&atilde;", 0xE3}, {u"&Atilde;", 0xC3}, {u"&otilde;", 0xF5}, {u"&Otilde", 0xD5},
}};

constexpr std::size_t kEscapedEntities = 51;

// The escape helpers' view of the table: names with their characters.
const std::array<TEntity, kEscapedEntities>& Entities() {
    static const auto table = [] {
        std::array<TEntity, kEscapedEntities> t{};
        for (std::size_t i = 0; i < kEscapedEntities; ++i)
            t[i] = {kEntityTable[i].Name, AnsiToMarkupChar(kEntityTable[i].Ansi)};
        return t;
    }();
    return table;
}

constexpr std::array<TEntity, 4> kBasic{{{u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}}};

char16_t Upper(char16_t c) {
    const String u = plat::AnsiUpperCase(StringView(&c, 1));
    return u.size() == 1 ? u[0] : c;
}

String UpperText(StringView s) {
    String r(s);
    for (char16_t& c : r) c = Upper(c);
    return r;
}

bool StartsWithNoCase(StringView s, std::size_t at, StringView what) {
    if (at + what.size() > s.size()) return false;
    for (std::size_t i = 0; i < what.size(); ++i)
        if (Upper(s[at + i]) != Upper(what[i])) return false;
    return true;
}

std::size_t FindNoCase(StringView s, StringView what, std::size_t from = 0) {
    if (what.empty()) return from <= s.size() ? from : StringView::npos;
    for (std::size_t i = from; i + what.size() <= s.size(); ++i)
        if (StartsWithNoCase(s, i, what)) return i;
    return StringView::npos;
}

// Marks the characters of s that lie inside a tag: a "<" with a ">" after it, up to that ">".
std::vector<bool> TagMask(StringView s) {
    std::vector<bool> inTag(s.size(), false);
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == u'<') {
            const std::size_t close = s.find(u'>', i + 1);
            if (close != StringView::npos) {
                for (std::size_t k = i; k <= close; ++k) inTag[k] = true;
                i = close + 1;
                continue;
            }
        }
        ++i;
    }
    return inTag;
}

String ReplaceAll(StringView s, StringView what, StringView with) {
    String r;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.substr(i, what.size()) == what) {
            r += with;
            i += what.size();
        } else {
            r += s[i++];
        }
    }
    return r;
}

// One control tag: where it starts and ends in the text and its attributes in order.
struct TControlTag {
    std::size_t begin = 0;  // "<"
    std::size_t end = 0;    // one past ">" (or the text's end when unclosed)
    struct Attr {
        String name;         // upper case
        std::size_t valueBegin = 0, valueEnd = 0;  // inside the text, between the quotes
        bool quoted = false;
        bool hasValue = false;  // NAME= was written
    };
    std::vector<Attr> attrs;
    const Attr* Find(StringView name) const {
        for (const Attr& a : attrs)
            if (a.name == name) return &a;
        return nullptr;
    }
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Attributes are NAME="value" pairs; a value runs to the next double quote, or NAME=value to
// the next blank. The tag ends at the first ">" outside a quoted value.
TControlTag ParseControlTag(StringView s, std::size_t begin) {
    TControlTag t;
    t.begin = begin;
    std::size_t i = begin + 8;  // past "<CONTROL"
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        if (i >= s.size()) break;
        if (s[i] == u'>') {
            ++i;
            break;
        }
        TControlTag::Attr a;
        const std::size_t nameBegin = i;
        while (i < s.size() && s[i] != u'=' && s[i] != u'>' && !IsBlank(s[i])) ++i;
        a.name = UpperText(s.substr(nameBegin, i - nameBegin));
        if (i < s.size() && s[i] == u'=') {
            a.hasValue = true;
            ++i;
            if (i < s.size() && s[i] == u'"') {
                a.quoted = true;
                a.valueBegin = ++i;
                while (i < s.size() && s[i] != u'"') ++i;
                a.valueEnd = i;
                if (i < s.size()) ++i;
            } else {
                a.valueBegin = i;
                while (i < s.size() && s[i] != u'>' && !IsBlank(s[i])) ++i;
                a.valueEnd = i;
            }
        } else {
            a.valueBegin = a.valueEnd = i;
        }
        if (i == nameBegin) ++i;  // a lone character that starts no attribute
        t.attrs.push_back(std::move(a));
    }
    t.end = i;
    return t;
}

std::optional<TControlTag> FindControl(StringView s, StringView ID) {
    std::size_t from = 0;
    while (true) {
        const std::size_t at = FindNoCase(s, u"<CONTROL ", from);
        if (at == StringView::npos) return std::nullopt;
        TControlTag t = ParseControlTag(s, at);
        if (const auto* id = t.Find(u"ID"); id && s.substr(id->valueBegin, id->valueEnd - id->valueBegin) == ID)
            return t;
        from = std::max(t.end, at + 1);
    }
}

} // namespace

std::span<const TMarkupEntity> MarkupEntityTable() { return kEntityTable; }

char16_t AnsiToMarkupChar(std::uint8_t Ansi) {
    // Windows-1252 differs from Latin-1 only in 0x80..0x9F; the table uses 0x80 of these.
    static constexpr char16_t k80[32] = {
        0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178};
    return Ansi >= 0x80 && Ansi < 0xA0 ? k80[Ansi - 0x80] : static_cast<char16_t>(Ansi);
}

String EscapeMarkupText(StringView Text, bool UseTable) {
    String r;
    r.reserve(Text.size());
    for (char16_t c : Text) {
        switch (c) {
        case u'&': r += u"&amp;"; continue;
        case u'"': r += u"&quot;"; continue;
        case u'<': r += u"&lt;"; continue;
        case u'>': r += u"&gt;"; continue;
        default: break;
        }
        bool done = false;
        if (UseTable)
            for (const TEntity& e : Entities())
                if (e.ch == c) {
                    r += e.name;
                    done = true;
                    break;
                }
        if (!done) r += c;
    }
    return r;
}

String UnescapeMarkupText(StringView Text, bool UseTable) {
    String r;
    r.reserve(Text.size());
    std::size_t i = 0;
    while (i < Text.size()) {
        bool done = false;
        if (Text[i] == u'&') {
            for (const TEntity& e : kBasic)
                if (Text.substr(i, e.name.size()) == e.name) {
                    r += e.ch;
                    i += e.name.size();
                    done = true;
                    break;
                }
            if (!done && UseTable)
                for (const TEntity& e : Entities())
                    if (Text.substr(i, e.name.size()) == e.name) {
                        r += e.ch;
                        i += e.name.size();
                        done = true;
                        break;
                    }
        }
        if (!done) r += Text[i++];
    }
    return r;
}

String StripMarkupTags(StringView Text) {
    const std::vector<bool> inTag = TagMask(Text);
    String r;
    for (std::size_t i = 0; i < Text.size(); ++i)
        if (!inTag[i]) r += Text[i];
    return r;
}

String MarkupToPlainText(StringView Text) {
    String s;
    for (std::size_t i = 0; i < Text.size();) {
        if (StartsWithNoCase(Text, i, u"<BR>") || StartsWithNoCase(Text, i, u"<HR>")) {
            s += u"\r\n";
            i += 4;
        } else {
            s += Text[i++];
        }
    }
    String r;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == u'<') {
            const std::size_t close = s.find(u'>', i + 1);
            if (close == String::npos) {
                r += StringView(s).substr(i);
                break;
            }
            i = close + 1;
        } else {
            r += s[i++];
        }
    }
    return r;
}

String HighlightMarkupText(StringView Text, StringView SearchText, StringView TagName, bool CaseSensitive) {
    if (SearchText.empty()) return String(Text);
    String markup(Text);
    String search(SearchText);
    String visible = StripMarkupTags(markup);
    if (markup.find(search) != String::npos &&
        (visible.find(u'<') != String::npos || visible.find(u'>') != String::npos)) {
        auto esc = [](const String& s) { return ReplaceAll(ReplaceAll(s, u"<", u"&lt;"), u">", u"&gt;"); };
        visible = esc(visible);
        search = esc(search);
        markup = visible;
    }
    const String hay = CaseSensitive ? visible : UpperText(visible);
    const String needle = CaseSensitive ? search : UpperText(search);
    // Visible character k lies at markup position pos[k].
    const std::vector<bool> inTag = TagMask(markup);
    std::vector<std::size_t> pos;
    for (std::size_t i = 0; i < markup.size(); ++i)
        if (!inTag[i]) pos.push_back(i);
    std::vector<std::pair<std::size_t, std::size_t>> matches;  // markup positions: first, last
    for (std::size_t at = hay.find(needle); at != String::npos; at = hay.find(needle, at + needle.size()))
        matches.emplace_back(pos[at], pos[at + needle.size() - 1]);
    if (matches.empty()) return markup;
    const String open = u"<" + String(TagName) + u">";
    const String close = u"</" + String(TagName) + u">";
    String r;
    std::size_t m = 0;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (m < matches.size() && matches[m].first == i) r += open;
        r += markup[i];
        if (m < matches.size() && matches[m].second == i) {
            r += close;
            ++m;
        }
    }
    return r;
}

String RemoveMarkupTag(StringView Text, StringView TagName) {
    const String open = u"<" + String(TagName) + u">";
    const String close = u"</" + String(TagName) + u">";
    String r;
    std::size_t i = 0;
    while (i < Text.size()) {
        if (StartsWithNoCase(Text, i, open)) {
            i += open.size();
        } else if (StartsWithNoCase(Text, i, close)) {
            i += close.size();
        } else {
            r += Text[i++];
        }
    }
    return ReplaceAll(ReplaceAll(r, u"&lt;", u"<"), u"&gt;", u">");
}

bool HasMarkupControls(StringView Text) { return FindNoCase(Text, u"<CONTROL") != StringView::npos; }

bool GetMarkupControlValue(StringView Text, StringView ID, String& Value) {
    const auto t = FindControl(Text, ID);
    if (!t) return false;
    const auto* v = t->Find(u"VALUE");
    Value = v ? UnescapeMarkupText(Text.substr(v->valueBegin, v->valueEnd - v->valueBegin), true) : String();
    return true;
}

bool SetMarkupControlValue(String& Text, StringView ID, StringView Value) {
    const auto t = FindControl(Text, ID);
    if (!t) return false;
    const String escaped = EscapeMarkupText(Value, true);
    if (const auto* v = t->Find(u"VALUE")) {
        if (v->quoted) {
            Text.replace(v->valueBegin, v->valueEnd - v->valueBegin, escaped);
        } else if (!v->hasValue) {
            Text.insert(v->valueBegin, u"=\"" + escaped + u"\"");
        } else {
            Text.replace(v->valueBegin, v->valueEnd - v->valueBegin, u"\"" + escaped + u"\"");
        }
    } else {
        // Behind the ID attribute.
        const auto* id = t->Find(u"ID");
        const std::size_t at = std::min(Text.size(), id->quoted ? id->valueEnd + 1 : id->valueEnd);
        Text.insert(at, u" VALUE=\"" + escaped + u"\"");
    }
    return true;
}

} // namespace grid

namespace grid {

namespace {

String AttrValue(StringView s, const TControlTag& t, StringView name) {
    const auto* a = t.Find(name);
    return a ? String(s.substr(a->valueBegin, a->valueEnd - a->valueBegin)) : String();
}

// Every control tag of the text, in order.
std::vector<TControlTag> AllControls(StringView s) {
    std::vector<TControlTag> tags;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = FindNoCase(s, u"<CONTROL ", from);
        if (at == StringView::npos) return tags;
        tags.push_back(ParseControlTag(s, at));
        from = std::max(tags.back().end, at + 1);
    }
}

} // namespace

String SpacesToNbsp(StringView Text) { return ReplaceAll(Text, u" ", u"&nbsp;"); }

String NextMarkupEditControlId(StringView Text, StringView ID) {
    bool passed = ID.empty();
    for (const TControlTag& t : AllControls(Text)) {
        const String id = AttrValue(Text, t, u"ID");
        if (!passed) {
            passed = id == ID;
            continue;
        }
        const String type = UpperText(AttrValue(Text, t, u"TYPE"));
        if (type != u"BUTTON" && type != u"CHECK" && type != u"RADIO") return id;
    }
    return String();
}

String ClearMarkupRadioButtons(StringView Text) {
    String r(Text);
    // Back to front, so that earlier positions stay valid while values change length.
    std::vector<TControlTag> tags = AllControls(Text);
    for (auto it = tags.rbegin(); it != tags.rend(); ++it) {
        if (UpperText(AttrValue(Text, *it, u"TYPE")) != u"RADIO") continue;
        const String id = AttrValue(Text, *it, u"ID");
        String tag = r.substr(it->begin, it->end - it->begin);
        if (SetMarkupControlValue(tag, id, u"FALSE")) r.replace(it->begin, it->end - it->begin, tag);
    }
    return r;
}

String GetMarkupControlProp(StringView Text, StringView ID) {
    const auto t = FindControl(Text, ID);
    return t ? UnescapeMarkupText(AttrValue(Text, *t, u"PROP"), true) : String();
}

int GetMarkupControlMaxLen(StringView Text, StringView ID) {
    const auto t = FindControl(Text, ID);
    if (!t) return 0;
    const String v = AttrValue(Text, *t, u"MAXLEN");
    int n = 0;
    return plat::TryStrToInt(v, n) ? n : 0;
}

} // namespace grid
