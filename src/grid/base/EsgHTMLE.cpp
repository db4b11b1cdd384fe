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

// The escape and unescape helpers use these 51 entities.
constexpr std::array<TEntity, 51> kEntities{{
    {u"&eacute;", u'\u00E9'}, {u"&egrave;", u'\u00E8'}, {u"&euml;", u'\u00EB'}, {u"&ecirc;", u'\u00EA'},
    {u"&oacute;", u'\u00F3'}, {u"&ograve;", u'\u00F2'}, {u"&ouml;", u'\u00F6'}, {u"&ocirc;", u'\u00F4'},
    {u"&iacute;", u'\u00ED'}, {u"&igrave;", u'\u00EC'}, {u"&iuml;", u'\u00EF'}, {u"&icirc;", u'\u00EE'},
    {u"&uacute;", u'\u00FA'}, {u"&ugrave;", u'\u00F9'}, {u"&uuml;", u'\u00FC'}, {u"&ucirc;", u'\u00FB'},
    {u"&aacute;", u'\u00E1'}, {u"&agrave;", u'\u00E0'}, {u"&auml;", u'\u00E4'}, {u"&acirc;", u'\u00E2'},
    {u"&Eacute;", u'\u00C9'}, {u"&Egrave;", u'\u00C8'}, {u"&Euml;", u'\u00CB'}, {u"&Ecirc;", u'\u00CA'},
    {u"&Oacute;", u'\u00D3'}, {u"&Ograve;", u'\u00D2'}, {u"&Ouml;", u'\u00D6'}, {u"&Ocirc;", u'\u00D4'},
    {u"&Iacute;", u'\u00CD'}, {u"&Igrave;", u'\u00CC'}, {u"&Iuml;", u'\u00CF'}, {u"&Icirc;", u'\u00CE'},
    {u"&Uacute;", u'\u00DA'}, {u"&Ugrave;", u'\u00D9'}, {u"&Uuml;", u'\u00DC'}, {u"&Ucirc;", u'\u00DB'},
    {u"&Aacute;", u'\u00C1'}, {u"&Agrave;", u'\u00C0'}, {u"&Auml;", u'\u00C4'}, {u"&Acirc;", u'\u00C2'},
    {u"&ccedil;", u'\u00E7'}, {u"&Ccedil;", u'\u00C7'}, {u"&oslash;", u'\u00F8'}, {u"&Oslash;", u'\u00D8'},
    {u"&aring;", u'\u00E5'}, {u"&Aring;", u'\u00C5'}, {u"&copy;", u'\u00A9'}, {u"&reg;", u'\u00AE'},
    {u"&euro;", u'\u20AC'}, {u"&laquo;", u'\u00AB'}, {u"&raquo;", u'\u00BB'},
}};

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
            for (const TEntity& e : kEntities)
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
                for (const TEntity& e : kEntities)
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
