#include "plat/SysUtils.h"

#include "Decimal.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cwctype>
#include <langinfo.h>
#include <locale.h>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

namespace {

// strftime picture to the framework's: "/" and ":" stand for the separators, which the
// locale's own separator characters become.
String ConvertPicture(StringView f, bool date, char16_t& separator, bool& twelveHour)
{
    String out;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char16_t c = f[i];
        if (c != u'%' || i + 1 >= f.size()) {
            const bool isSep = c < 0x80 && !(c >= u'0' && c <= u'9') && !(c >= u'a' && c <= u'z') && !(c >= u'A' && c <= u'Z') &&
                               c != u' ' && c != u'%';
            if (isSep && !out.empty() && i + 1 < f.size()) {
                if (!separator)
                    separator = c;
                if (c == separator) {
                    out += date ? u'/' : u':';
                    continue;
                }
            }
            if (c == u'/' || c == u':' || c == u'\'' || c == u'"' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
                out += u'"';
                out += c;
                out += u'"';
            } else {
                out += c;
            }
            continue;
        }
        char16_t k = f[++i];
        // Modifiers such as %-d, %Ey, %Od.
        while ((k == u'-' || k == u'_' || k == u'0' || k == u'E' || k == u'O' || k == u'^' || k == u'#') && i + 1 < f.size())
            k = f[++i];
        switch (k) {
        case u'd': out += u"dd"; break;
        case u'e': out += u"d"; break;
        case u'm': out += u"mm"; break;
        case u'b': case u'h': out += u"mmm"; break;
        case u'B': out += u"mmmm"; break;
        case u'a': out += u"ddd"; break;
        case u'A': out += u"dddd"; break;
        case u'y': out += u"yy"; break;
        case u'Y': out += u"yyyy"; break;
        case u'C': out += u"yy"; break;
        case u'H': case u'k': out += u"hh"; break;
        case u'I': case u'l': out += u"hh"; twelveHour = true; break;
        case u'M': out += u"nn"; break;
        case u'S': out += u"ss"; break;
        case u'p': case u'P': out += u"ampm"; twelveHour = true; break;
        case u'T': out += u"hh:nn:ss"; if (!separator) separator = u':'; break;
        case u'R': out += u"hh:nn"; if (!separator) separator = u':'; break;
        case u'r': out += u"hh:nn:ss ampm"; twelveHour = true; if (!separator) separator = u':'; break;
        case u'D': out += u"mm/dd/yy"; if (!separator) separator = u'/'; break;
        case u'F': out += u"yyyy/mm/dd"; if (!separator) separator = u'-'; break;
        case u'n': case u't': out += u' '; break;
        case u'%': out += u'%'; break;
        default: break;  // time zone and the like: not shown
        }
    }
    return out;
}

} // namespace

TFormatSettings FormatSettingsFromLocaleData(StringView Radix, StringView Thousands, StringView DateFormat,
                                             StringView TimeFormat)
{
    TFormatSettings fs;
    if (!Radix.empty())
        fs.DecimalSeparator = Radix[0];
    // A locale without grouping character: keep one that differs from the radix.
    if (!Thousands.empty() && Thousands[0] != fs.DecimalSeparator)
        fs.ThousandSeparator = Thousands[0];
    else if (fs.ThousandSeparator == fs.DecimalSeparator)
        fs.ThousandSeparator = fs.DecimalSeparator == u',' ? u'.' : u',';
    if (!DateFormat.empty()) {
        char16_t sep = 0;
        bool twelve = false;
        const String pic = ConvertPicture(DateFormat, true, sep, twelve);
        if (!pic.empty()) {
            fs.ShortDateFormat = pic;
            if (sep)
                fs.DateSeparator = sep;
        }
    }
    if (!TimeFormat.empty()) {
        char16_t sep = 0;
        bool twelve = false;
        String pic = ConvertPicture(TimeFormat, false, sep, twelve);
        if (!pic.empty()) {
            fs.LongTimeFormat = pic;
            if (sep)
                fs.TimeSeparator = sep;
            // Short form: the long one without its seconds.
            String shortPic = pic;
            const auto s = shortPic.find(u":ss");
            if (s != String::npos)
                shortPic.erase(s, 3);
            fs.ShortTimeFormat = shortPic;
        }
    }
    return fs;
}

TFormatSettings LocaleFormatSettings(const char* LocaleName)
{
    locale_t l = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, LocaleName ? LocaleName : "",
                           static_cast<locale_t>(nullptr));
    if (!l)
        return TFormatSettings{};
    const char* name = nl_langinfo_l(_NL_LOCALE_NAME(LC_NUMERIC), l);
    const std::string n = name ? name : "";
    TFormatSettings fs;
    if (!(n.empty() || n == "C" || n == "POSIX" || n.rfind("C.", 0) == 0)) {
        auto get = [&](nl_item item) {
            const char* v = nl_langinfo_l(item, l);
            return Utf8ToString(v ? v : "");
        };
        fs = FormatSettingsFromLocaleData(get(RADIXCHAR), get(THOUSEP), get(D_FMT), get(T_FMT));
    }
    freelocale(l);
    return fs;
}

TFormatSettings FormatSettings = LocaleFormatSettings("");

// ---- case and trimming -------------------------------------------------------------

String Trim(StringView s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return String(s.substr(b, e - b));
}

String TrimLeft(StringView s)
{
    std::size_t b = 0;
    while (b < s.size() && s[b] <= u' ')
        ++b;
    return String(s.substr(b));
}

String TrimRight(StringView s)
{
    std::size_t e = s.size();
    while (e > 0 && s[e - 1] <= u' ')
        --e;
    return String(s.substr(0, e));
}

String UpperCase(StringView s)
{
    String r(s);
    for (auto& c : r)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 32);
    return r;
}

String LowerCase(StringView s)
{
    String r(s);
    for (auto& c : r)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
    return r;
}

namespace {

// Unicode case mapping from the C library's UTF-8 locale, independent of the process locale.
locale_t CaseLocale()
{
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (!l)
            l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
        return l;
    }();
    return loc;
}

// Fallback when no UTF-8 locale is installed: Latin-1, Latin Extended-A, Greek and Cyrillic.
char16_t FallbackUpper(char16_t c)
{
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddLower ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<char16_t>(c - 1);
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
    return c;
}

char16_t FallbackLower(char16_t c)
{
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddLower ? (c % 2 == 1) : (c % 2 == 0)) return static_cast<char16_t>(c + 1);
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    return c;
}

char16_t UnicodeUpper(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    if (locale_t l = CaseLocale()) {
        const wint_t u = towupper_l(static_cast<wint_t>(c), l);
        return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
    }
    return FallbackUpper(c);
}

char16_t UnicodeLower(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    if (locale_t l = CaseLocale()) {
        const wint_t u = towlower_l(static_cast<wint_t>(c), l);
        return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
    }
    return FallbackLower(c);
}

int Sign(long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

template <class Fold>
int CompareFolded(StringView a, StringView b, Fold fold)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = fold(a[i]);
        const char16_t y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return Sign(static_cast<long>(a.size()) - static_cast<long>(b.size()));
}

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
char16_t Same(char16_t c) { return c; }

} // namespace

String AnsiUpperCase(StringView s)
{
    String r(s);
    for (auto& c : r)
        c = UnicodeUpper(c);
    return r;
}

String AnsiLowerCase(StringView s)
{
    String r(s);
    for (auto& c : r)
        c = UnicodeLower(c);
    return r;
}

int CompareStr(StringView a, StringView b) { return CompareFolded(a, b, Same); }
int CompareText(StringView a, StringView b) { return CompareFolded(a, b, AsciiUpper); }
bool SameText(StringView a, StringView b) { return a.size() == b.size() && CompareText(a, b) == 0; }
int AnsiCompareStr(StringView a, StringView b) { return CompareStr(a, b); }
int AnsiCompareText(StringView a, StringView b) { return CompareFolded(a, b, UnicodeUpper); }
bool AnsiSameText(StringView a, StringView b) { return a.size() == b.size() && AnsiCompareText(a, b) == 0; }

// ---- 1-based helpers -----------------------------------------------------------------

int Pos(StringView sub, StringView s) { return PosEx(sub, s, 1); }

int PosEx(StringView sub, StringView s, int offset)
{
    if (sub.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size())
        return 0;
    const auto p = s.find(sub, static_cast<std::size_t>(offset - 1));
    return p == StringView::npos ? 0 : static_cast<int>(p) + 1;
}

String Copy(StringView s, int index, int count)
{
    if (index < 1)
        index = 1;
    const auto len = static_cast<long>(s.size());
    if (count <= 0 || index > len)
        return String();
    const long avail = len - (index - 1);
    return String(s.substr(static_cast<std::size_t>(index - 1),
                           static_cast<std::size_t>(std::min<long>(count, avail))));
}

void Delete(String& s, int index, int count)
{
    const auto len = static_cast<long>(s.size());
    if (index < 1 || index > len || count <= 0)
        return;
    const long avail = len - (index - 1);
    s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(std::min<long>(count, avail)));
}

void Insert(StringView sub, String& s, int index)
{
    if (index < 1)
        index = 1;
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(index - 1), s.size());
    s.insert(at, sub);
}

String StringOfChar(char16_t c, int count) { return count > 0 ? String(static_cast<std::size_t>(count), c) : String(); }

String QuotedStr(StringView s)
{
    String r = u"'";
    for (char16_t c : s) {
        r += c;
        if (c == u'\'')
            r += c;
    }
    r += u'\'';
    return r;
}

String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags)
{
    if (oldPattern.empty())
        return String(s);
    const bool ignoreCase = (flags & rfIgnoreCase) != 0;
    const String hay = ignoreCase ? AnsiUpperCase(s) : String(s);
    const String needle = ignoreCase ? AnsiUpperCase(oldPattern) : String(oldPattern);
    String r;
    std::size_t from = 0;
    while (true) {
        const auto p = hay.find(needle, from);
        if (p == String::npos)
            break;
        r.append(s.substr(from, p - from));
        r.append(newPattern);
        from = p + needle.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    r.append(s.substr(from));
    return r;
}

// ---- profile decimal separator ------------------------------------------------------

namespace {
std::mutex g_profileMutex;
char16_t g_profileDecimalOverride = 0;

char16_t LocaleRadix()
{
    locale_t l = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!l)
        return u'.';
    const char* radix = nl_langinfo_l(RADIXCHAR, l);
    String r = radix ? Utf8ToString(radix) : String();
    freelocale(l);
    return r.empty() ? u'.' : r[0];
}
} // namespace

char16_t GetProfileDecimalSeparator()
{
    {
        std::lock_guard lock(g_profileMutex);
        if (g_profileDecimalOverride)
            return g_profileDecimalOverride;
    }
    return LocaleRadix();
}

void SetProfileDecimalSeparator(char16_t overrideValue)
{
    std::lock_guard lock(g_profileMutex);
    g_profileDecimalOverride = overrideValue;
}

// ---- integers -------------------------------------------------------------------------

String Int64ToStr(std::int64_t value)
{
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return String(buf, res.ptr);
}

String UInt64ToStr(std::uint64_t value)
{
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return String(buf, res.ptr);
}

String UIntToHex(std::uint64_t value, int digits)
{
    char buf[20];
    auto res = std::to_chars(buf, buf + sizeof buf, value, 16);
    String r;
    const int n = static_cast<int>(res.ptr - buf);
    if (digits > n)
        r.assign(static_cast<std::size_t>(digits - n), u'0');
    for (char* p = buf; p < res.ptr; ++p)
        r += static_cast<char16_t>((*p >= 'a' && *p <= 'f') ? *p - 32 : *p);
    return r;
}

namespace {

// The framework's integer text rule. Hex takes the full unsigned width of the target
// (maxHex); decimal stays within the signed range.
bool ParseInteger(StringView s, std::uint64_t maxHex, std::uint64_t maxPos, std::int64_t& out)
{
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        neg = s[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == u'$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size())
        return false;
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i];
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        const std::uint64_t base = hex ? 16 : 10;
        const std::uint64_t limit = hex ? maxHex : (neg ? maxPos + 1 : maxPos);
        if (v > (limit - d) / base)
            return false;
        v = v * base + d;
    }
    if (hex) {
        // Reinterpret in the target's width: "$FFFFFFFF" is -1 as a 32-bit value.
        std::int64_t sv;
        if (maxHex == 0xFFFFFFFFull)
            sv = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        else
            sv = static_cast<std::int64_t>(v);
        out = neg ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(sv)) : sv;
        if (maxHex == 0xFFFFFFFFull)
            out = static_cast<std::int32_t>(static_cast<std::uint32_t>(out));
        return true;
    }
    out = neg ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    return true;
}

[[noreturn]] void ThrowNotInteger(StringView s)
{
    throw EConvertError(u"'" + String(s) + u"' is not a valid integer value");
}

} // namespace

bool TryStrToInt(StringView s, int& value)
{
    std::int64_t v;
    if (!ParseInteger(s, 0xFFFFFFFFull, 0x7FFFFFFFull, v))
        return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(StringView s)
{
    int v;
    if (!TryStrToInt(s, v))
        ThrowNotInteger(s);
    return v;
}

int StrToIntDef(StringView s, int defaultValue)
{
    int v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

bool TryStrToInt64(StringView s, std::int64_t& value)
{
    return ParseInteger(s, 0xFFFFFFFFFFFFFFFFull, 0x7FFFFFFFFFFFFFFFull, value);
}

std::int64_t StrToInt64(StringView s)
{
    std::int64_t v;
    if (!TryStrToInt64(s, v))
        ThrowNotInteger(s);
    return v;
}

std::int64_t StrToInt64Def(StringView s, std::int64_t defaultValue)
{
    std::int64_t v;
    return TryStrToInt64(s, v) ? v : defaultValue;
}

// ---- floats ---------------------------------------------------------------------------

bool TryStrToFloat(StringView s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

bool TryStrToFloat(StringView s, double& value, const TFormatSettings& fs)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    std::string ascii;
    std::size_t i = b;
    if (i < e && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-')
            ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < e && s[i] >= u'0' && s[i] <= u'9') {
        ascii += static_cast<char>(s[i++]);
        ++mantissaDigits;
    }
    if (i < e && s[i] == fs.DecimalSeparator) {
        ascii += '.';
        ++i;
        while (i < e && s[i] >= u'0' && s[i] <= u'9') {
            ascii += static_cast<char>(s[i++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < e && (s[i] == u'e' || s[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < e && (s[i] == u'+' || s[i] == u'-'))
            ascii += static_cast<char>(s[i++]);
        int expDigits = 0;
        while (i < e && s[i] >= u'0' && s[i] <= u'9') {
            ascii += static_cast<char>(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != e)
        return false;
    double v = 0;
    const char* first = ascii.data();
    auto res = std::from_chars(first, ascii.data() + ascii.size(), v);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double StrToFloat(StringView s) { return StrToFloat(s, FormatSettings); }

double StrToFloat(StringView s, const TFormatSettings& fs)
{
    double v;
    if (!TryStrToFloat(s, v, fs))
        throw EConvertError(u"'" + String(s) + u"' is not a valid floating point value");
    return v;
}

double StrToFloatDef(StringView s, double defaultValue) { return StrToFloatDef(s, defaultValue, FormatSettings); }

double StrToFloatDef(StringView s, double defaultValue, const TFormatSettings& fs)
{
    double v;
    return TryStrToFloat(s, v, fs) ? v : defaultValue;
}

namespace {

// Significant digits (no trailing zeros) and the position of the decimal point relative to
// them, for `precision` significant digits.
struct Digits {
    std::string digits;  // "15" for 1.5, "" for zero
    int pointPos = 0;    // digits before the decimal point; 1 for 1.5, -3 for 0.00015
    bool negative = false;
};

Digits SignificantDigits(double value, int precision)
{
    Digits d;
    d.negative = std::signbit(value);
    const double a = std::fabs(value);
    if (a == 0)
        return d;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, precision - 1);
    std::string s(buf, res.ptr);
    const auto ePos = s.find('e');
    std::string mant = s.substr(0, ePos);
    const int exp = std::stoi(s.substr(ePos + 1));
    for (char c : mant)
        if (c != '.')
            d.digits += c;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    d.pointPos = exp + 1;
    return d;
}

} // namespace

std::string FixedDecimal(double a, int decimals)
{
    a = std::fabs(a);
    Digits d = SignificantDigits(a, 15);
    std::string digits = d.digits;
    int point = d.pointPos;
    const int keep = point + decimals;  // digits kept from the significant ones
    if (digits.empty() || keep < 0) {
        digits.clear();
    } else if (keep < static_cast<int>(digits.size())) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9')
                digits[static_cast<std::size_t>(k--)] = '0';
            if (k >= 0) {
                digits[static_cast<std::size_t>(k)]++;
            } else {
                digits.insert(digits.begin(), '1');
                ++point;
            }
        }
    }
    if (digits.empty())
        point = 0;
    std::string ip, fp;
    for (int i = 0; i < point; ++i)
        ip += i < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(i)] : '0';
    if (ip.empty())
        ip.push_back('0');
    for (int i = 0; i < decimals; ++i) {
        const int idx = point + i;
        fp += (idx >= 0 && idx < static_cast<int>(digits.size())) ? digits[static_cast<std::size_t>(idx)] : '0';
    }
    return decimals > 0 ? ip + "." + fp : ip;
}

String FloatToStr(double value) { return FloatToStr(value, FormatSettings); }

String FloatToStr(double value, const TFormatSettings& fs)
{
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value > 0 ? u"INF" : u"-INF";
    const Digits d = SignificantDigits(value, 15);
    if (d.digits.empty())
        return u"0";
    std::string out;
    if (d.negative)
        out += '-';
    const int n = static_cast<int>(d.digits.size());
    if (d.pointPos > 15 || d.pointPos < -3) {
        out += d.digits[0];
        if (n > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        out += 'E';
        out += std::to_string(d.pointPos - 1);
    } else if (d.pointPos <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.pointPos), '0');
        out += d.digits;
    } else {
        if (n <= d.pointPos) {
            out += d.digits;
            out.append(static_cast<std::size_t>(d.pointPos - n), '0');
        } else {
            out += d.digits.substr(0, static_cast<std::size_t>(d.pointPos));
            out += '.';
            out += d.digits.substr(static_cast<std::size_t>(d.pointPos));
        }
    }
    String r;
    for (char c : out)
        r += c == '.' ? fs.DecimalSeparator : static_cast<char16_t>(c);
    return r;
}

namespace {

// One section of a FormatFloat picture.
struct Picture {
    String prefix, suffix;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    bool thousands = false;
    bool hasExp = false;
    bool expPlus = false;
    char16_t expChar = u'E';
    int expDigits = 0;
    bool hasPoint = false;
};

// Splits at ';' outside quotes.
std::vector<String> SplitSections(StringView f)
{
    std::vector<String> out(1);
    char16_t quote = 0;
    for (char16_t c : f) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

Picture ParsePicture(StringView f)
{
    Picture p;
    bool seenDigit = false;
    bool afterNumber = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const char16_t c = f[i];
        String& lit = seenDigit ? p.suffix : p.prefix;
        if (c == u'\'' || c == u'"') {
            std::size_t j = i + 1;
            while (j < f.size() && f[j] != c)
                ++j;
            lit.append(f.substr(i + 1, j - i - 1));
            i = j;
            if (seenDigit)
                afterNumber = true;
            continue;
        }
        const bool placeholder = (c == u'0' || c == u'#');
        if (!afterNumber && placeholder) {
            seenDigit = true;
            if (p.hasPoint) {
                p.maxDec++;
                if (c == u'0')
                    p.minDec = p.maxDec;
            } else if (c == u'0') {
                p.minInt++;
            }
            continue;
        }
        if (!afterNumber && c == u'.' && !p.hasPoint) {
            p.hasPoint = true;
            seenDigit = true;
            continue;
        }
        if (!afterNumber && c == u',' && seenDigit) {
            if (!p.hasPoint)
                p.thousands = true;
            continue;
        }
        if (!afterNumber && seenDigit && (c == u'E' || c == u'e') && i + 1 < f.size() &&
            (f[i + 1] == u'+' || f[i + 1] == u'-')) {
            p.hasExp = true;
            p.expChar = c;
            p.expPlus = f[i + 1] == u'+';
            i += 2;
            while (i < f.size() && f[i] == u'0') {
                p.expDigits++;
                ++i;
            }
            --i;
            afterNumber = true;
            continue;
        }
        if (seenDigit)
            afterNumber = true;
        (seenDigit ? p.suffix : p.prefix) += c;
    }
    return p;
}

String FormatFixedPicture(double a, const Picture& p, const TFormatSettings& fs, int& exponentOut)
{
    exponentOut = 0;
    if (p.hasExp && a != 0) {
        const int intDigits = std::max(1, p.minInt);
        int exp = static_cast<int>(std::floor(std::log10(a))) - (intDigits - 1);
        double m = a / std::pow(10.0, exp);
        // Rounding may carry into another digit.
        const std::string ps = FixedDecimal(m, p.maxDec);
        const auto dot = ps.find('.');
        if (static_cast<int>(dot == std::string::npos ? ps.size() : dot) > intDigits) {
            ++exp;
            m = a / std::pow(10.0, exp);
        }
        a = m;
        exponentOut = exp;
    }
    const std::string s = FixedDecimal(a, p.maxDec);
    std::string ip = s;
    std::string dp;
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        ip = s.substr(0, dot);
        dp = s.substr(dot + 1);
    }
    while (static_cast<int>(dp.size()) > p.minDec && !dp.empty() && dp.back() == '0')
        dp.pop_back();
    // Leading zeros are dropped down to the picture's required integer digits.
    std::size_t lead = 0;
    while (lead < ip.size() && ip[lead] == '0')
        ++lead;
    ip = ip.substr(lead);
    while (static_cast<int>(ip.size()) < p.minInt)
        ip.insert(ip.begin(), '0');
    String r;
    for (std::size_t k = 0; k < ip.size(); ++k) {
        if (p.thousands && k > 0 && (ip.size() - k) % 3 == 0)
            r += fs.ThousandSeparator;
        r += static_cast<char16_t>(ip[k]);
    }
    if (!dp.empty()) {
        r += fs.DecimalSeparator;
        for (char c : dp)
            r += static_cast<char16_t>(c);
    }
    return r;
}

} // namespace

String FormatFloat(StringView format, double value) { return FormatFloat(format, value, FormatSettings); }

String FormatFloat(StringView format, double value, const TFormatSettings& fs)
{
    if (format.empty() || std::isnan(value) || std::isinf(value))
        return FloatToStr(value, fs);
    const auto sections = SplitSections(format);
    // Choose the section first on the rounded value, as the picture rounds.
    Picture first = ParsePicture(sections[0]);
    int exp0 = 0;
    const String zeroProbe = FormatFixedPicture(std::fabs(value), first, fs, exp0);
    bool roundsToZero = true;
    for (char16_t c : zeroProbe)
        if (c >= u'1' && c <= u'9')
            roundsToZero = false;
    const String* section = &sections[0];
    bool addMinus = value < 0 && !roundsToZero;
    if (roundsToZero && sections.size() >= 3 && !sections[2].empty()) {
        section = &sections[2];
        addMinus = false;
    } else if (value < 0 && !roundsToZero && sections.size() >= 2 && !sections[1].empty()) {
        section = &sections[1];
        addMinus = false;
    }
    const Picture p = ParsePicture(*section);
    int exp = 0;
    String body = FormatFixedPicture(std::fabs(value), p, fs, exp);
    if (p.hasExp) {
        body += p.expChar;
        if (exp < 0)
            body += u'-';
        else if (p.expPlus)
            body += u'+';
        String e = Int64ToStr(exp < 0 ? -exp : exp);
        while (static_cast<int>(e.size()) < p.expDigits)
            e.insert(e.begin(), u'0');
        body += e;
    }
    return (addMinus ? u"-" : u"") + p.prefix + body + p.suffix;
}

} // namespace plat
