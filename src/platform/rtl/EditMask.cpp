#include "plat/EditMask.h"

#include "plat/SysUtils.h"

#include <algorithm>

namespace plat {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters are the cased characters of the Basic Multilingual Plane.
bool IsLetter(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
        return true;
    if (c < 0x80)
        return false;
    const String s(1, c);
    return AnsiUpperCase(s) != AnsiLowerCase(s);
}

// Splits at ';' that no '\' escapes.
std::vector<String> Fields(StringView mask)
{
    std::vector<String> out(1);
    for (size_t i = 0; i < mask.size(); ++i) {
        const char16_t c = mask[i];
        if (c == u'\\' && i + 1 < mask.size()) {
            out.back() += c;
            out.back() += mask[++i];
        } else if (c == u';' && out.size() < 3) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

} // namespace

TEditMask::TEditMask(StringView Mask) : mask_(Mask)
{
    const std::vector<String> fields = Fields(Mask);
    if (fields.size() > 1 && !fields[1].empty() && fields[1][0] == u'0')
        saveLiterals_ = false;
    if (fields.size() > 2 && !fields[2].empty())
        blank_ = fields[2][0];

    const String& picture = fields[0];
    Case charCase = NoCase;
    auto literal = [&](char16_t c) { positions_.push_back({Literal, NoCase, c}); };
    auto entry = [&](Kind k) { positions_.push_back({k, charCase, 0}); };
    for (size_t i = 0; i < picture.size(); ++i) {
        const char16_t c = picture[i];
        switch (c) {
        case u'!': leadingBlanks_ = true; break;
        case u'>':
            charCase = Upper;
            break;
        case u'<':
            if (i + 1 < picture.size() && picture[i + 1] == u'>') {
                charCase = NoCase;
                ++i;
            } else {
                charCase = Lower;
            }
            break;
        case u'\\':
            if (i + 1 < picture.size())
                literal(picture[++i]);
            break;
        case u'0': entry(Digit); break;
        case u'9': entry(DigitOpt); break;
        case u'#': entry(DigitSign); break;
        case u'L': entry(Letter); break;
        case u'l': entry(LetterOpt); break;
        case u'A': entry(AlNum); break;
        case u'a': entry(AlNumOpt); break;
        case u'C': entry(Any); break;
        case u'c': entry(AnyOpt); break;
        case u':': literal(FormatSettings.TimeSeparator); break;
        case u'/': literal(FormatSettings.DateSeparator); break;
        case u'_': literal(u' '); break;
        default: literal(c); break;
        }
    }
    // A picture of directives only has no position to edit: no mask.
    bool anyEntry = false;
    for (const Position& p : positions_)
        anyEntry = anyEntry || p.kind != Literal;
    if (!anyEntry)
        positions_.clear();
}

bool TEditMask::IsLiteral(int Pos) const
{
    return Pos >= 0 && Pos < Length() && positions_[static_cast<size_t>(Pos)].kind == Literal;
}

bool TEditMask::Accepts(const Position& p, char16_t Ch, char16_t& Out) const
{
    Out = Ch;
    bool ok = false;
    switch (p.kind) {
    case Literal: return false;
    case Digit: case DigitOpt: ok = IsDigit(Ch); break;
    case DigitSign: ok = IsDigit(Ch) || Ch == u'+' || Ch == u'-'; break;
    case Letter: case LetterOpt: ok = IsLetter(Ch); break;
    case AlNum: case AlNumOpt: ok = IsDigit(Ch) || IsLetter(Ch); break;
    case Any: case AnyOpt: ok = Ch >= 32 && Ch != 127; break;
    }
    if (!ok)
        return false;
    if (p.charCase != NoCase && IsLetter(Ch)) {
        const String s(1, Ch);
        const String c = p.charCase == Upper ? AnsiUpperCase(s) : AnsiLowerCase(s);
        if (c.size() == 1)
            Out = c[0];
    }
    return true;
}

int TEditMask::NextEntry(int From) const
{
    int i = std::max(From, 0);
    while (i < Length() && positions_[static_cast<size_t>(i)].kind == Literal)
        ++i;
    return i;
}

String TEditMask::BlankText() const
{
    String t;
    t.reserve(positions_.size());
    for (const Position& p : positions_)
        t += p.kind == Literal ? p.literal : blank_;
    return t;
}

String TEditMask::Conform(StringView EditText) const
{
    String t = BlankText();
    for (size_t i = 0; i < t.size() && i < EditText.size(); ++i) {
        if (positions_[i].kind == Literal)
            continue;
        char16_t out = 0;
        if (EditText[i] != blank_ && Accepts(positions_[i], EditText[i], out))
            t[i] = out;
    }
    return t;
}

String TEditMask::EmptyRange(StringView EditText, int From, int To) const
{
    String t = Conform(EditText);
    for (int i = std::max(From, 0); i < To && i < Length(); ++i)
        if (positions_[static_cast<size_t>(i)].kind != Literal)
            t[static_cast<size_t>(i)] = blank_;
    return t;
}

String TEditMask::ToEditText(StringView Value) const
{
    String t = BlankText();
    const int n = Length();
    const size_t len = Value.size();
    // Places chunk into the entry positions [from, to), on the left or, with '!', on the right.
    auto place = [&](int from, int to, StringView chunk) {
        const int room = to - from;
        const int count = std::min<int>(room, static_cast<int>(chunk.size()));
        const int start = leadingBlanks_ ? to - count : from;
        int pos = start;
        for (int k = 0; k < count; ++k) {
            // Find the k-th entry position from `start` (literals inside [from, to) skipped).
            while (pos < to && positions_[static_cast<size_t>(pos)].kind == Literal)
                ++pos;
            if (pos >= to)
                break;
            char16_t out = 0;
            const char16_t c = chunk[static_cast<size_t>(k)];
            if (c != u' ' && c != blank_ && Accepts(positions_[static_cast<size_t>(pos)], c, out))
                t[static_cast<size_t>(pos)] = out;
            ++pos;
        }
    };

    bool hasLiteral = false;
    for (const Position& p : positions_)
        if (p.kind == Literal && Value.find(p.literal) != StringView::npos)
            hasLiteral = true;

    if (!hasLiteral) {
        // Entered characters only: they fill the entry positions in order.
        std::vector<int> entries;
        for (int i = 0; i < n; ++i)
            if (positions_[static_cast<size_t>(i)].kind != Literal)
                entries.push_back(i);
        const size_t count = std::min(entries.size(), len);
        const size_t first = leadingBlanks_ ? entries.size() - count : 0;
        for (size_t k = 0; k < count; ++k) {
            const size_t pos = static_cast<size_t>(entries[first + k]);
            char16_t out = 0;
            const char16_t c = Value[k];
            if (c != u' ' && c != blank_ && Accepts(positions_[pos], c, out))
                t[pos] = out;
        }
        return t;
    }

    // With literals: each group of entry positions takes the value up to the literal that
    // ends the group.
    size_t v = 0;
    int i = 0;
    while (i < n) {
        const Position& p = positions_[static_cast<size_t>(i)];
        if (p.kind == Literal) {
            if (v < len && Value[v] == p.literal)
                ++v;
            ++i;
            continue;
        }
        int j = i;
        while (j < n && positions_[static_cast<size_t>(j)].kind != Literal)
            ++j;
        size_t end = StringView::npos;
        if (j < n)
            end = Value.find(positions_[static_cast<size_t>(j)].literal, v);
        if (end == StringView::npos)
            end = std::min(len, v + static_cast<size_t>(j - i));
        place(i, j, Value.substr(v, end - v));
        v = end;
        i = j;
    }
    return t;
}

String TEditMask::ToText(StringView EditText) const
{
    const String t = Conform(EditText);
    String out;
    bool entered = false;
    for (size_t i = 0; i < positions_.size(); ++i) {
        if (positions_[i].kind == Literal) {
            if (saveLiterals_)
                out += positions_[i].literal;
        } else if (t[i] == blank_) {
            out += u' ';
        } else {
            out += t[i];
            entered = true;
        }
    }
    // An untouched field reports no text, not its literals.
    if (!entered)
        return String();
    if (leadingBlanks_) {
        size_t k = 0;
        while (k < out.size() && out[k] == u' ')
            ++k;
        out.erase(0, k);
    } else {
        while (!out.empty() && out.back() == u' ')
            out.pop_back();
    }
    return out;
}

bool TEditMask::IsComplete(StringView EditText) const
{
    const String t = Conform(EditText);
    for (size_t i = 0; i < positions_.size(); ++i) {
        const Kind k = positions_[i].kind;
        const bool required = k == Digit || k == Letter || k == AlNum || k == Any;
        if (required && t[i] == blank_)
            return false;
    }
    return true;
}

bool TEditMask::IsFull(StringView EditText) const
{
    const String t = Conform(EditText);
    for (size_t i = 0; i < positions_.size(); ++i)
        if (positions_[i].kind != Literal && t[i] == blank_)
            return false;
    return true;
}

TEditMask::TEdit TEditMask::Type(StringView EditText, int SelStart, int SelLength, char16_t Ch) const
{
    const int n = Length();
    const int s = std::clamp(SelStart, 0, n);
    const int l = std::clamp(SelLength, 0, n - s);
    const String t = l > 0 ? EmptyRange(EditText, s, s + l) : Conform(EditText);
    auto literalAt = [&](int i) { return IsLiteral(i) && positions_[static_cast<size_t>(i)].literal == Ch; };
    // A literal's own character typed at it steps over it.
    if (literalAt(s))
        return {t, NextEntry(s + 1), true};
    const int p = NextEntry(s);
    if (p < n) {
        const Kind k = positions_[static_cast<size_t>(p)].kind;
        const bool optional = k == DigitOpt || k == DigitSign || k == LetterOpt || k == AlNumOpt || k == AnyOpt;
        char16_t out = 0;
        if ((Ch == u' ' && optional) || Accepts(positions_[static_cast<size_t>(p)], Ch, out)) {
            String r = t;
            r[static_cast<size_t>(p)] = Ch == u' ' && optional ? blank_ : out;
            return {r, NextEntry(p + 1), true};
        }
    }
    // After a group typed in full the caret stands past its literal: that literal typed
    // once more confirms the group and changes nothing.
    if (l == 0 && s > 0 && literalAt(s - 1))
        return {t, s, true};
    return {Conform(EditText), s, false};
}

TEditMask::TEdit TEditMask::Backspace(StringView EditText, int SelStart, int SelLength) const
{
    const int n = Length();
    const int s = std::clamp(SelStart, 0, n);
    const int l = std::clamp(SelLength, 0, n - s);
    if (l > 0)
        return {EmptyRange(EditText, s, s + l), s, true};
    int q = s - 1;
    while (q >= 0 && IsLiteral(q))
        --q;
    if (q < 0)
        return {Conform(EditText), s, false};
    return {EmptyRange(EditText, q, q + 1), q, true};
}

TEditMask::TEdit TEditMask::Delete(StringView EditText, int SelStart, int SelLength) const
{
    const int n = Length();
    const int s = std::clamp(SelStart, 0, n);
    const int l = std::clamp(SelLength, 0, n - s);
    if (l > 0)
        return {EmptyRange(EditText, s, s + l), s, true};
    const int p = NextEntry(s);
    if (p >= n)
        return {Conform(EditText), s, false};
    return {EmptyRange(EditText, p, p + 1), s, true};
}

TEditMask::TEdit TEditMask::Paste(StringView EditText, int SelStart, int SelLength, StringView Value) const
{
    const int n = Length();
    const int s = std::clamp(SelStart, 0, n);
    const int l = std::clamp(SelLength, 0, n - s);
    TEdit r{l > 0 ? EmptyRange(EditText, s, s + l) : Conform(EditText), s, l > 0};
    for (char16_t c : Value) {
        if (c == u'\r' || c == u'\n')
            continue;
        if (r.Caret >= n)
            break;
        const TEdit step = Type(r.Text, r.Caret, 0, c);
        if (!step.Accepted)
            continue;
        if (step.Text != r.Text)
            r.Accepted = true;
        r.Text = step.Text;
        r.Caret = step.Caret;
    }
    return r;
}

} // namespace plat
