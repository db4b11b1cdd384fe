#include "ExtUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plat/Classes.h"
#include "plat/Exception.h"
#include "plat/Graphics.h"

namespace grid {

using plat::FormatSettings;

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';

int Find(StringView sub, StringView text, std::size_t from = 0) {
    if (sub.empty()) return 0;
    const auto p = text.find(sub, from);
    return p == StringView::npos ? 0 : static_cast<int>(p) + 1;
}

String ReplaceAll(StringView text, StringView what, StringView with) {
    String out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (true) {
        const auto p = text.find(what, i);
        if (p == StringView::npos) break;
        out.append(text.substr(i, p - i));
        out.append(with);
        i = p + what.size();
    }
    out.append(text.substr(i));
    return out;
}

// Decimal digits only (an optional leading minus), as the platform's decimal reader takes
// them; no blanks, no hexadecimal.
bool ReadDecimal(StringView s, int& value) {
    if (s.empty()) return false;
    std::size_t i = 0;
    bool neg = false;
    if (s[0] == u'-' || s[0] == u'+') {
        neg = s[0] == u'-';
        i = 1;
    }
    if (i >= s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') return false;
        v = v * 10 + (s[i] - u'0');
        if (v > 0x7FFFFFFFLL) return false;
    }
    value = static_cast<int>(neg ? -v : v);
    return true;
}

char16_t UpperChar(char16_t c) {
    const char16_t one[1] = {c};
    const String u = plat::AnsiUpperCase(StringView(one, 1));
    return u.size() == 1 ? u[0] : c;
}

char16_t LowerChar(char16_t c) {
    const char16_t one[1] = {c};
    const String l = plat::AnsiLowerCase(StringView(one, 1));
    return l.size() == 1 ? l[0] : c;
}

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

// ---- character classes ----------------------------------------------------------------

bool IsDigitChar(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsDigitOrMinus(char16_t c) { return IsDigitChar(c) || c == u'-'; }
bool IsNumberChar(char16_t c) {
    return IsDigitChar(c) || c == FormatSettings.ThousandSeparator || c == FormatSettings.DecimalSeparator ||
           c == u'e' || c == u'E';
}
bool IsFloatChar(char16_t c) {
    return IsDigitChar(c) || c == u',' || c == u'-' || c == u'.' || c == u'e' || c == u'E' || c == u'+';
}
bool IsSignedNumberChar(char16_t c) { return IsNumberChar(c) || c == u'+' || c == u'-'; }
bool IsWordSeparator(char16_t c) { return c == u' ' || c == u'\'' || c == u',' || c == u'-' || c == u'.'; }

// ---- small text operations ------------------------------------------------------------

int PosInUpperText(StringView pattern, StringView text) { return Find(pattern, plat::AnsiUpperCase(text)); }

int FindPos(StringView sub, StringView text, int& position) {
    position = Find(sub, text);
    return position;
}

int FindCharPos(char16_t ch, StringView text, int& position) {
    const int p = CharPos(ch, text);
    if (p > 0) position = p;
    return p;
}

int CharPos(char16_t ch, StringView text) {
    const auto p = text.find(ch);
    return p == StringView::npos ? 0 : static_cast<int>(p) + 1;
}

int WidePos(StringView sub, StringView text) { return Find(sub, text); }

int CountChar(char16_t ch, StringView text) { return static_cast<int>(std::count(text.begin(), text.end(), ch)); }

int FindSingleCharPos(char16_t ch, StringView text, int& position) {
    position = 0;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (text[i] != ch) { ++i; continue; }
        std::size_t j = i;
        while (j < n && text[j] == ch) ++j;
        if (j == n || (j - i) % 2 == 1) {
            position = static_cast<int>(j);  // 1-based position of the run's last character
            return position;
        }
        i = j;
    }
    return 0;
}

int CountSingleChar(char16_t ch, StringView text) {
    int count = 0;
    StringView rest = text;
    int p = 0;
    while (FindSingleCharPos(ch, rest, p) > 0) {
        ++count;
        rest = rest.substr(static_cast<std::size_t>(p));
    }
    return count;
}

String ExtractToken(String& text, StringView delimiter) {
    const int p = Find(delimiter, text);
    if (p == 0) return String();
    String token = text.substr(0, static_cast<std::size_t>(p - 1));
    text.erase(0, static_cast<std::size_t>(p));
    return token;
}

String ConcatListItems(const plat::TStrings& strings) {
    String out;
    for (int i = 0; i < strings.Count(); ++i) out += strings[i];
    return out;
}

int MaxOf(int a, int b) { return a > b ? a : b; }
int MinOf(int a, int b) { return a < b ? a : b; }

int ClampToLimits(int value, int minimum, int maximum) {
    if (minimum == maximum) return value;
    int r = value;
    if (value < minimum && minimum > 0) r = minimum;
    if (value > maximum && maximum > 0) r = maximum;
    return r;
}

bool CellInGridRect(const plat::TGridRect& rect, int col, int row) {
    return col >= rect.Left && col <= rect.Right && row >= rect.Top && row <= rect.Bottom;
}

void FillWithChar(String& text, char16_t ch) { std::fill(text.begin(), text.end(), ch); }

String RemoveCRs(StringView text) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text)
        if (c != CR) out += c;
    return out;
}

String CRToLF(StringView text) {
    String out(text);
    std::replace(out.begin(), out.end(), CR, LF);
    return out;
}

int LineCount(StringView text, bool multiLine) { return multiLine ? 1 + CountChar(CR, text) : 1; }

void ExtractFirstLine(String& text, bool keepRest, String& first) {
    const auto p = text.find(CR);
    if (p == String::npos) {
        first = text;
        text.clear();
        return;
    }
    first = text.substr(0, p);
    std::size_t restFrom = p + 1;
    if (restFrom < text.size() && text[restFrom] == LF) ++restFrom;
    if (keepRest) text.erase(0, restFrom);
    else text.clear();
}

String LineBreaksToMarkup(StringView text) {
    if (text.find(CR) == StringView::npos) return String(text);
    return ReplaceAll(text, u"\r", u"<br>");
}

namespace {

// The OEM code page of this build (437): characters of bytes 0x80..0xFF.
constexpr char16_t kOemHigh[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

} // namespace

void TextToOem(String& text) {
    for (char16_t& c : text) {
        if (c < 0x80) continue;
        const auto* at = std::find(std::begin(kOemHigh), std::end(kOemHigh), c);
        c = at == std::end(kOemHigh) ? u'?' : static_cast<char16_t>(0x80 + (at - std::begin(kOemHigh)));
    }
}

void OemToText(String& text) {
    for (char16_t& c : text)
        if (c >= 0x80 && c <= 0xFF) c = kOemHigh[c - 0x80];
}

String CapitalizeWords(StringView text) {
    String copy(text);
    const int n = static_cast<int>(copy.size());
    bool capNext = true;
    for (int i = 1; i <= n; ++i) {
        const char16_t c = text[static_cast<std::size_t>(i - 1)];
        if (IsWordSeparator(c)) {
            capNext = true;
        } else if (capNext) {
            copy[static_cast<std::size_t>(i - 1)] = UpperChar(c);
            capNext = false;
        } else {
            copy[static_cast<std::size_t>(i - 1)] = LowerChar(c);
        }
        // Name prefixes and roman numerals at the end keep their capitals: McDonald, Henry III.
        const StringView cv(copy);
        if (i == 2 && cv.substr(0, 2) == u"Mc") capNext = true;
        const auto mc = cv.find(u" Mc");
        if (mc != StringView::npos && static_cast<int>(mc) + 1 == i - 2 && i > 2) capNext = true;
        if (i >= n - 2) {
            if (i >= 2 && cv.substr(static_cast<std::size_t>(i - 2), 2) == u" I") capNext = true;
            if (i >= 3 && cv.substr(static_cast<std::size_t>(i - 3), 3) == u" II") capNext = true;
        }
    }
    return copy;
}

String FormatHexRGB(TColor color) {
    const TColor c = plat::ColorToRGB(color);
    static const char16_t* hex = u"0123456789ABCDEF";
    String out;
    for (int v : {plat::GetRValue(c), plat::GetGValue(c), plat::GetBValue(c)}) {
        out += hex[(v >> 4) & 0xF];
        out += hex[v & 0xF];
    }
    return out;
}

bool IsHyperlink(StringView text) {
    return text.find(u"://") != StringView::npos || text.find(u"mailto:") != StringView::npos;
}

void StripUrlScheme(String& text) {
    auto p = text.find(u"://");
    if (p != String::npos) {
        text.erase(0, p + 3);
        return;
    }
    p = text.find(u"mailto:");
    if (p != String::npos) text.erase(0, p + 7);
}

bool ParseCellReference(StringView text, plat::TPoint& cell) {
    const String u = plat::AnsiUpperCase(text);
    if (u.size() <= 3 || u[0] != u'R') return false;
    const auto c = u.find(u'C', 1);
    if (c == String::npos) return false;
    int row = 0, col = 0;
    if (!ReadDecimal(StringView(u).substr(1, c - 1), row)) return false;
    if (!ReadDecimal(StringView(u).substr(c + 1), col)) return false;
    cell = {col, row};
    return true;
}

bool HasTwoDateSeparators(StringView text) {
    const char16_t sep = FormatSettings.DateSeparator;
    const int p = CharPos(sep, text);
    if (p < 2) return false;
    return CharPos(sep, text.substr(static_cast<std::size_t>(p))) >= 2;
}

// ---- CSV, clipboard and cell-file conversions -------------------------------------------

String DoubleQuoteChars(StringView text) { return ReplaceAll(text, u"\"", u"\"\""); }

String UndoubleChar(char16_t ch, StringView text) {
    if (text.find(ch) == StringView::npos) return String(text);
    String out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == ch && i + 1 < text.size() && text[i + 1] == ch) ++i;
    }
    return out;
}

void QuoteMultilineField(String& text) {
    text = u"\"" + ReplaceAll(text, u"\r\n", String(1, char16_t(11))) + u"\"";
}

void VerticalTabToLineBreak(String& text) {
    if (text.find(char16_t(11)) != String::npos) text = ReplaceAll(text, String(1, char16_t(11)), u"\r\n");
}

void RemoveCRFromCRLF(String& text) { text = ReplaceAll(text, u"\r\n", u"\n"); }

void LineBreakToTilde(String& text) {
    String out;
    for (char16_t c : text) {
        if (c == CR) out += u'~';
        else if (c != LF) out += c;
    }
    text = out;
}

void TildeToLineBreak(String& text) {
    text = ReplaceAll(text, u"~", u"\r\n");
    if (text == u"^") text.clear();
}

String LineBreakToEscapedNewline(StringView text) {
    String out;
    for (char16_t c : text) {
        if (c == CR) out += u"\\n";
        else if (c != LF) out += c;
    }
    return out;
}

String EscapedNewlineToLineBreak(StringView text) { return ReplaceAll(text, u"\\n", u"\r"); }

String EncodeControlChars(StringView text) {
    String out(text);
    if (out.find(CR) == String::npos) return out;
    for (char16_t& c : out) {
        if (c == CR) c = 9;
        else if (c == LF) c = 8;
        else if (c == 0) c = 1;
    }
    return out;
}

String DecodeControlChars(StringView text, bool allLines) {
    String out(text);
    if (out.find(char16_t(8)) == String::npos) return out;
    for (char16_t& c : out) {
        if (c == 9) c = CR;
        else if (c == 8) c = LF;
        else if (c == 1) c = 0;
    }
    if (allLines) return out;
    String first;
    ExtractFirstLine(out, false, first);
    return first;
}

String EncodeEscapedUnicode(StringView wide) {
    String out = u"|\\";
    out.reserve(2 + wide.size() * 2);
    for (char16_t c : wide) {
        out += static_cast<char16_t>(c >> 8);
        out += static_cast<char16_t>(c & 0xFF);
    }
    return out;
}

String DecodeEscapedUnicode(StringView text) {
    if (text.substr(0, 2) != u"|\\") return String(text);
    String out;
    for (std::size_t i = 2; i + 1 < text.size(); i += 2)
        out += static_cast<char16_t>(((text[i] & 0xFF) << 8) | (text[i + 1] & 0xFF));
    return out;
}

std::string WrapHtmlClipboardFormat(StringView fragment) {
    static const std::string kDocStart = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    static const std::string kBodyStart =
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
        "<body><!--StartFragment-->";
    static const std::string kEnd = "<!--EndFragment--></body></html>";
    const std::string frag = plat::StringToUtf8(fragment);
    auto line = [](const char* key, std::size_t v) {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%s%08zu\r\n", key, v);
        return std::string(buf);
    };
    // Every header line has a fixed length, so the header's size is known before its values.
    const std::size_t headerLen = line("Version:1.0", 0).size() - 8 + line("StartHTML:", 0).size() +
                                  line("EndHTML:", 0).size() + line("StartFragment:", 0).size() +
                                  line("EndFragment:", 0).size();
    const std::size_t startHtml = headerLen;
    const std::size_t startFrag = startHtml + kDocStart.size() + kBodyStart.size();
    const std::size_t endFrag = startFrag + frag.size();
    const std::size_t endHtml = endFrag + kEnd.size();
    std::string out = "Version:1.0\r\n";
    out += line("StartHTML:", startHtml);
    out += line("EndHTML:", endHtml);
    out += line("StartFragment:", startFrag);
    out += line("EndFragment:", endFrag);
    out += kDocStart;
    out += kBodyStart;
    out += frag;
    out += kEnd;
    return out;
}

// ---- numbers and dates ----------------------------------------------------------------

String NormalizeFloatText(StringView text) {
    String out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == FormatSettings.DecimalSeparator) out += u'.';
        else if (c != FormatSettings.ThousandSeparator) out += c;
    }
    return out;
}

String ExtractNumericText(StringView text) {
    if (text.empty()) return String();
    bool negative = text.front() == u'(' && text.back() == u')';
    StringView t = text;
    while (t.size() >= 2 && !IsNumberChar(t.front())) {
        if (t.front() == u'-') negative = true;
        t.remove_prefix(1);
    }
    String out;
    for (char16_t c : t) {
        if (!IsFloatChar(c)) break;
        if (c == FormatSettings.ThousandSeparator) continue;
        out += c == FormatSettings.DecimalSeparator ? u'.' : c;
    }
    if (negative) out.insert(out.begin(), u'-');
    return out;
}

int ClassifyNumberText(StringView text) {
    if (text.empty()) return nkNotANumber;
    const char16_t ts = FormatSettings.ThousandSeparator, ds = FormatSettings.DecimalSeparator;
    const int n = static_cast<int>(text.size());
    bool allDigits = true, expForm = true, realForm = true;
    int expCount = 0, minusCount = 0, decCount = 0, lastThousand = 0;
    for (int i = 1; i <= n; ++i) {
        const char16_t c = text[static_cast<std::size_t>(i - 1)];
        if (!(IsDigitChar(c) || (c == u'-' && i == 1))) allDigits = false;
        if (c == u'e' || c == u'E') {
            ++expCount;
            if (expCount > 1 || i == 1) expForm = false;
        }
        if (i == n && (c == u'+' || c == u'-' || c == u'e' || c == u'E')) expForm = false;
        if (!IsSignedNumberChar(c) || c == ts) expForm = false;
        if (!IsDigitChar(c) && c != u'-' && c != ts && c != ds) realForm = false;
        if (c == u'-' && i != 1) realForm = false;
        if (c == ts) {
            if (lastThousand > 0 && i - lastThousand < 4) realForm = false;
            lastThousand = i;
        }
        if (c == u'-') ++minusCount;
        if (c == ds) ++decCount;
    }
    const bool exponent = expForm && expCount > 0;
    int kind;
    if (allDigits) kind = nkInteger;
    else if (exponent) kind = nkExponent;
    else if (realForm && expCount == 0) kind = nkReal;
    else kind = nkNotANumber;
    if (minusCount > (exponent ? 2 : 1) || decCount > 1) kind = nkNotANumber;
    return kind;
}

bool TextToDateByFormat(StringView text, TDateTime& dateTime) {
    const String fmt = plat::UpperCase(FormatSettings.ShortDateFormat);
    const char16_t sep = FormatSettings.DateSeparator;
    // Field order: 0 day, 1 month, 2 year, ordered by their place in the format.
    struct Field { std::size_t at; int kind; };
    Field order[3] = {{fmt.find(u'D'), 0}, {fmt.find(u'M'), 1}, {fmt.find(u'Y'), 2}};
    std::stable_sort(std::begin(order), std::end(order), [](const Field& a, const Field& b) { return a.at < b.at; });

    const auto s1 = text.find(sep);
    if (s1 == StringView::npos) return false;
    const auto s2 = text.find(sep, s1 + 1);
    if (s2 == StringView::npos) return false;
    int values[3] = {};
    if (!ReadDecimal(text.substr(0, s1), values[0])) return false;
    if (!ReadDecimal(text.substr(s1 + 1, s2 - s1 - 1), values[1])) return false;
    String rest = plat::Trim(text.substr(s2 + 1));
    String timePart;
    const auto blank = rest.find(u' ');
    if (blank != String::npos) {
        timePart = plat::Trim(StringView(rest).substr(blank));
        rest.erase(blank);
    }
    if (!ReadDecimal(rest, values[2])) return false;
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        if (order[i].kind == 0) day = values[i];
        else if (order[i].kind == 1) month = values[i];
        else year = values[i];
    }
    if (day > 31 || month > 12) return false;
    TDateTime date = 0;
    if (!plat::TryEncodeDate(year, month, day, date)) return false;
    TDateTime time = 0;
    if (!timePart.empty()) {
        const char16_t ts = FormatSettings.TimeSeparator;
        const auto t1 = timePart.find(ts);
        if (t1 == String::npos) {
            dateTime = date;
            return false;
        }
        int hour = 0, minute = 0, second = 0;
        if (!ReadDecimal(StringView(timePart).substr(0, t1), hour) || hour > 23) return false;
        const auto t2 = timePart.find(ts, t1 + 1);
        if (t2 != String::npos) {
            if (!ReadDecimal(StringView(timePart).substr(t1 + 1, t2 - t1 - 1), minute)) return false;
            if (!ReadDecimal(StringView(timePart).substr(t2 + 1), second) || second > 60) return false;
        } else if (!ReadDecimal(StringView(timePart).substr(t1 + 1), minute)) {
            return false;
        }
        if (minute > 59) return false;
        if (!plat::TryEncodeTime(hour, minute, second, 0, time)) return false;
    }
    dateTime = date + time;
    return true;
}

namespace {

TDateTime ParseThreeParts(StringView text, bool monthFirst) {
    char16_t sep = 0;
    for (char16_t c : {u'/', u'.', u'-'})
        if (text.find(c) != StringView::npos) { sep = c; break; }
    if (sep == 0) return 0;
    const auto s1 = text.find(sep);
    const auto s2 = text.find(sep, s1 + 1);
    if (s2 == StringView::npos) return 0;
    int a = 0, b = 0, year = 0;
    if (!ReadDecimal(text.substr(0, s1), a) || !ReadDecimal(text.substr(s1 + 1, s2 - s1 - 1), b) ||
        !ReadDecimal(text.substr(s2 + 1), year))
        return 0;
    // Only two-digit years get a century; a written century stays as it is.
    if (year >= 0 && year <= 25) year += 2000;
    else if (year > 25 && year < 100) year += 1900;
    return monthFirst ? plat::EncodeDate(year, a, b) : plat::EncodeDate(year, b, a);
}

} // namespace

TDateTime ParseMonthDayYear(StringView text) { return ParseThreeParts(text, true); }
TDateTime ParseDayMonthYear(StringView text) { return ParseThreeParts(text, false); }

TDateTime IncDatePart(int yearDiff, int monthDiff, int dayDiff, TDateTime dateDiff, TDateTime date) {
    const bool y = yearDiff != 0, m = monthDiff != 0, d = dayDiff != 0;
    if (d && !y && !m) return date + dayDiff;
    const TDateTime timeOfDay = date - std::floor(date);
    if (y && !m && !d) {
        int yy, mm, dd;
        plat::DecodeDate(date, yy, mm, dd);
        return plat::EncodeDate(yy + yearDiff, mm, dd) + timeOfDay;
    }
    if (m && !y && !d) {
        int yy, mm, dd;
        plat::DecodeDate(date, yy, mm, dd);
        int total = yy * 12 + (mm - 1) + monthDiff;
        yy = total / 12;
        mm = total % 12 + 1;
        if (mm <= 0) { mm += 12; --yy; }
        return plat::EncodeDate(yy, mm, dd) + timeOfDay;
    }
    return date + dateDiff;
}

// ---- cell texts ---------------------------------------------------------------------------

int DetectCellTextKind(StringView text, bool markupEnabled) {
    const String t = String(text) + u" ";
    if (t.size() < 2) return ctPlain;
    if (t[0] == u'=') return ctFormula;
    if (t[0] == u'|' && t[1] == u'\\') {
        if (t.size() >= 5 && t[3] == u'=' && t[4] == 0) return ctFormula;
        return ctEscapedUnicode;
    }
    if (t[0] == u'{' && t[1] == u'\\') return ctRtf;
    if (!markupEnabled) return ctPlain;
    for (const char16_t* tag : {u"</", u"<B", u"<I", u"<C"})
        if (t.find(tag) != String::npos) return ctMarkup;
    return ctPlain;
}

bool LinkifyText(StringView text, StringView prefix, String& result) {
    if (PosInUpperText(prefix, text) == 0) return false;
    const String escaped = ReplaceAll(ReplaceAll(text, u"<", u"&lt;"), u">", u"&gt;");
    const int start = PosInUpperText(prefix, escaped);
    if (start == 0) return false;
    auto inLink = [](char16_t c) {
        if (c > 255) return false;
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
               String(u"%()-./:@\\_{}").find(c) != String::npos;
    };
    std::size_t end = static_cast<std::size_t>(start - 1);
    while (end < escaped.size() && inLink(escaped[end])) ++end;
    const String link = escaped.substr(static_cast<std::size_t>(start - 1), end - static_cast<std::size_t>(start - 1));
    result = escaped.substr(0, static_cast<std::size_t>(start - 1)) + u"<a href=\"" + link + u"\">" + link +
             u"</a>" + escaped.substr(end);
    return true;
}

// ---- filter expressions -----------------------------------------------------------------

namespace {

// Whole-text number in the form the real-number reader takes after normalising:
// blanks, sign, digits with at most one ".", optional exponent, nothing after.
bool ReadFilterNumber(StringView raw, double& value) {
    const String s = NormalizeFloatText(raw);
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    std::string ascii;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
    int digits = 0, dots = 0;
    while (i < s.size() && (IsDigitChar(s[i]) || s[i] == u'.')) {
        if (s[i] == u'.' && ++dots > 1) return false;
        if (s[i] != u'.') ++digits;
        ascii += static_cast<char>(s[i++]);
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii += static_cast<char>(s[i++]);
        int expDigits = 0;
        while (i < s.size() && IsDigitChar(s[i])) {
            ascii += static_cast<char>(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    value = std::strtod(ascii.c_str(), nullptr);
    return true;
}

// <0, 0, >0 comparing value against operand as numbers, dates or texts.
int CompareFilterValues(StringView value, StringView operand) {
    double a = 0, b = 0;
    TDateTime da = 0, db = 0;
    const bool dateA = TextToDateByFormat(value, da), dateB = TextToDateByFormat(operand, db);
    if (!dateA && !dateB && ReadFilterNumber(value, a) && ReadFilterNumber(operand, b))
        return a < b ? -1 : (a > b ? 1 : 0);
    if (dateA && dateB) return da < db ? -1 : (da > db ? 1 : 0);
    const StringView x = value.substr(0, 255), y = operand.substr(0, 255);
    const int c = x.compare(y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Operand of the first `op` of the pattern; npos when the pattern has none.
bool ReadOperand(StringView pattern, char16_t op, String& operand, bool& inclusive) {
    const auto p = pattern.find(op);
    if (p == StringView::npos) return false;
    std::size_t i = p + 1;
    inclusive = false;
    if (i < pattern.size() && pattern[i] == u'=') {
        inclusive = true;
        ++i;
    }
    while (i < pattern.size() && pattern[i] == u' ') ++i;
    operand.clear();
    bool quoted = false;
    for (; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'"') quoted = !quoted;
        if (!quoted && (c == u' ' || c == u'&' || c == u'|')) break;
        operand += c;
    }
    if (!operand.empty() && operand.front() == u'"') operand.erase(0, 1);
    if (!operand.empty() && operand.back() == u'"') operand.pop_back();
    return true;
}

bool WildcardMatch(StringView pattern, StringView value) {
    std::size_t i = 0, j = 0;
    bool negate = false, match = true;
    const std::size_t pn = pattern.size(), vn = value.size();
    while (!(i == pn && j == vn) && match) {
        if (i == pn) { match = false; break; }
        const char16_t c = pattern[i];
        if (c == u'!') { negate = true; ++i; continue; }
        if (c == u'"') { ++i; continue; }
        if (c == u'*') {
            while (i < pn && pattern[i] == u'*') ++i;
            const StringView rest = pattern.substr(i);
            match = false;
            for (std::size_t k = vn + 1; k-- > j;) {
                if (MatchFilterCondition(rest, value.substr(k))) { match = true; break; }
            }
            break;
        }
        if (c == u'?') {
            if (j >= vn) { match = false; break; }
            ++i; ++j;
            continue;
        }
        if (j < vn && value[j] == c) { ++i; ++j; }
        else match = false;
    }
    return negate ? !match : match;
}

} // namespace

bool MatchFilterCondition(StringView pattern, StringView value) {
    bool gtResult = true, ltResult = true, gtSeen = false, ltSeen = false;
    String operand;
    bool inclusive = false;
    if (ReadOperand(pattern, u'>', operand, inclusive)) {
        const int c = CompareFilterValues(value, operand);
        gtResult = inclusive ? c >= 0 : c > 0;
        gtSeen = true;
    }
    if (ReadOperand(pattern, u'<', operand, inclusive)) {
        const int c = CompareFilterValues(value, operand);
        ltResult = inclusive ? c <= 0 : c < 0;
        ltSeen = true;
    }
    const bool hasGt = pattern.find(u'>') != StringView::npos, hasLt = pattern.find(u'<') != StringView::npos;
    if (pattern.find(u'!') != StringView::npos) {
        if (!hasGt) gtSeen = true;
        if (!hasLt) ltSeen = true;
    }
    if (pattern.find(u'^') != StringView::npos && (gtSeen || ltSeen)) return ltResult || gtResult;
    if (pattern.find(u'&') != StringView::npos && gtSeen && ltSeen) return gtResult && ltResult;
    if (hasGt && gtResult) return true;
    if (hasLt && ltResult) return true;
    return WildcardMatch(pattern, value);
}

bool MatchFilterTerm(StringView term, StringView text, bool caseSensitive) {
    if (caseSensitive) return MatchFilterCondition(term, text);
    return MatchFilterCondition(plat::AnsiUpperCase(term), plat::AnsiUpperCase(text));
}

bool MatchFilterExpression(StringView expression, StringView text, bool caseSensitive) {
    // Blanks count only inside double quotes; a leading "=" is the filter's own prefix.
    String e;
    {
        const String t = plat::Trim(expression);
        int quotes = 0;
        for (char16_t c : t) {
            if (c == u'"') ++quotes;
            if (c == u' ' && quotes % 2 == 0) continue;
            e += c;
        }
    }
    if (!e.empty() && e[0] == u'=') e.erase(0, 1);

    auto findOperator = [](StringView s, std::size_t& at) {
        int quotes = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const char16_t c = s[i];
            if (c == u'"') ++quotes;
            else if (quotes % 2 == 0 && (c == u'(' || c == u';' || c == u'^' || c == u'&' || c == u'|')) {
                at = i;
                return c;
            }
        }
        return char16_t(0);
    };
    bool result = true;
    char16_t prev = 0;
    auto combine = [&](bool value) {
        switch (prev) {
        case 0: result = value; break;
        case u'&': result = result && value; break;
        case u';': case u'^': case u'|': result = result || value; break;
        default: break;  // "(" in the middle of a term: the value after it is not used
        }
    };
    std::size_t at = 0;
    while (char16_t op = findOperator(e, at)) {
        bool value;
        if (e[0] == u'(') {
            int open = 0, close = 0;
            std::size_t end = String::npos;
            for (std::size_t i = 0; i < e.size(); ++i) {
                if (e[i] == u'(') ++open;
                else if (e[i] == u')' && ++close == open) { end = i; break; }
            }
            if (end == String::npos) {
                // An unclosed group takes the rest of the expression.
                value = MatchFilterExpression(StringView(e).substr(1), text, caseSensitive);
                e.clear();
            } else {
                value = MatchFilterExpression(StringView(e).substr(1, end - 1), text, caseSensitive);
                e.erase(0, end + 1);
            }
        } else {
            value = MatchFilterTerm(StringView(e).substr(0, at), text, caseSensitive);
            e.erase(0, at + 1);
        }
        combine(value);
        prev = op;
    }
    const bool last = MatchFilterTerm(e, text, caseSensitive);
    if (prev == 0) return last;
    combine(last);
    return result;
}

// ---- colours and gradients ------------------------------------------------------------

TColor HalfToneColor(TColor color) {
    const TColor c = plat::ColorToRGB(color);
    return plat::RGB(plat::GetRValue(c) >> 1, plat::GetGValue(c) >> 1, plat::GetBValue(c) >> 1);
}

TColor BrightenColorPercent(TColor color, int percent) {
    const TColor c = plat::ColorToRGB(color);
    auto scale = [percent](int v) { return std::clamp(RoundHalfEven(v + percent * v / 100.0), 0, 255); };
    return plat::RGB(scale(plat::GetRValue(c)), scale(plat::GetGValue(c)), scale(plat::GetBValue(c)));
}

TColor InterpolateColor(TColor fromColor, TColor toColor, int first, int step, int last) {
    if (toColor == plat::clNone || last == first) return fromColor;
    const TColor f = plat::ColorToRGB(fromColor), t = plat::ColorToRGB(toColor);
    auto mix = [&](int a, int b) {
        return std::clamp(a + RoundHalfEven(static_cast<double>(b - a) / (last - first) * step), 0, 255);
    };
    return plat::RGB(mix(plat::GetRValue(f), plat::GetRValue(t)), mix(plat::GetGValue(f), plat::GetGValue(t)),
                     mix(plat::GetBValue(f), plat::GetBValue(t)));
}

std::vector<TGradientBand> GradientBands(TColor fromColor, TColor toColor, bool horizontal, plat::TRect r,
                                         int steps) {
    std::vector<TGradientBand> bands;
    if (r.Top == r.Bottom) return bands;
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    if (fromColor == plat::clNone || toColor == plat::clNone) {
        bands.push_back({r, fromColor == plat::clNone ? toColor : fromColor});
        return bands;
    }
    // One colour at both ends: the bands would all carry it, so one band covers the same pixels.
    if (plat::ColorToRGB(fromColor) == plat::ColorToRGB(toColor)) {
        bands.push_back({r, fromColor});
        return bands;
    }
    const int size = horizontal ? r.Width() : r.Height();
    if (size <= 0) return bands;
    const int extent = size - 1;
    steps = std::max(std::min(steps, extent), 1);
    const double band = static_cast<double>(extent) / steps;
    const TColor f = plat::ColorToRGB(fromColor), t = plat::ColorToRGB(toColor);
    auto comp = [&](int a, int b, int i) { return a + RoundHalfEven(static_cast<double>(i) * (b - a) / steps); };
    const int far = horizontal ? r.Right : r.Bottom;
    const int origin = horizontal ? r.Left : r.Top;
    bands.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const TColor c = plat::RGB(comp(plat::GetRValue(f), plat::GetRValue(t), i),
                                   comp(plat::GetGValue(f), plat::GetGValue(t), i),
                                   comp(plat::GetBValue(f), plat::GetBValue(t), i));
        const int offset = static_cast<int>(i * band);
        const int from = origin + offset;
        const int to = std::min(far, origin + offset + static_cast<int>(band + 1));
        if (from >= to) continue;
        bands.push_back({horizontal ? plat::Rect(from, r.Top, to, r.Bottom) : plat::Rect(r.Left, from, r.Right, to), c});
    }
    return bands;
}

String EscapeCellText(StringView s) {
    String r;
    r.reserve(s.size());
    for (char16_t ch : s) {
        if (ch == u'#') r += u"#35";
        else if (ch == u'\r') r += u"#13";
        else if (ch == u'\n') r += u"#10";
        else r += ch;
    }
    return r;
}

String UnescapeCellText(StringView s) {
    String r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'#' && i + 2 < s.size()) {
            const StringView code = s.substr(i + 1, 2);
            if (code == u"35") { r += u'#'; i += 2; continue; }
            if (code == u"13") { r += u'\r'; i += 2; continue; }
            if (code == u"10") { r += u'\n'; i += 2; continue; }
        }
        r += s[i];
    }
    return r;
}

} // namespace grid
