#include <charconv>
#include <cmath>
#include <string>

#include "plat/SysUtils.h"

#include "Decimal.h"

namespace plat {

namespace {

[[noreturn]] void FormatError(StringView fmt)
{
    throw EConvertError(u"Format '" + String(fmt) + u"' invalid or incompatible with argument");
}

String Ascii(const std::string& s) { return String(s.begin(), s.end()); }

String Decimals(double v, int prec, bool thousands, const TFormatSettings& fs)
{
    const std::string s = FixedDecimal(v, prec);
    std::string ip = s;
    std::string dp;
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        ip = s.substr(0, dot);
        dp = s.substr(dot + 1);
    }
    String r;
    bool nonZero = false;
    for (char c : s)
        if (c >= '1' && c <= '9')
            nonZero = true;
    if (std::signbit(v) && nonZero)
        r += u'-';
    for (std::size_t k = 0; k < ip.size(); ++k) {
        if (thousands && k > 0 && (ip.size() - k) % 3 == 0)
            r += fs.ThousandSeparator;
        r += static_cast<char16_t>(ip[k]);
    }
    if (!dp.empty()) {
        r += fs.DecimalSeparator;
        r += Ascii(dp);
    }
    return r;
}

String Scientific(double v, int prec, const TFormatSettings& fs)
{
    // prec significant digits, exponent with sign and at least three digits: "1.50000000000000E+003"
    if (prec < 1 || prec > 18)
        prec = 15;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, prec - 1);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    int exp = std::stoi(s.substr(e + 1));
    String r;
    for (char c : mant)
        r += c == '.' ? fs.DecimalSeparator : static_cast<char16_t>(c);
    r += u'E';
    r += exp < 0 ? u'-' : u'+';
    String digits = Int64ToStr(exp < 0 ? -exp : exp);
    while (digits.size() < 3)
        digits.insert(digits.begin(), u'0');
    return r + digits;
}

// The text of one directive's argument; `numeric` tells whether it is a number (which a
// zero flag pads with zeros). Raises the format error when the argument does not fit.
String FormatOne(char16_t type, const FormatArg& a, int prec, bool& numeric, StringView fmt,
                 const TFormatSettings& fs)
{
    using K = FormatArg::Kind;
    switch (type) {
    case u'd': case u'D':
    case u'u': case u'U': {
        if (a.kind() != K::Int && a.kind() != K::UInt)
            FormatError(fmt);
        numeric = true;
        bool neg = false;
        String digits;
        if (a.kind() == K::UInt) {
            digits = UInt64ToStr(a.asUInt());
        } else if (type == u'u' || type == u'U') {
            const std::int64_t v = a.asInt();
            digits = (v >= INT32_MIN && v <= INT32_MAX)
                         ? UInt64ToStr(static_cast<std::uint32_t>(v))
                         : UInt64ToStr(static_cast<std::uint64_t>(v));
        } else {
            const std::int64_t v = a.asInt();
            neg = v < 0;
            digits = UInt64ToStr(neg ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v));
        }
        while (prec > 0 && static_cast<int>(digits.size()) < prec)
            digits.insert(digits.begin(), u'0');
        return (neg ? u"-" : u"") + digits;
    }
    case u'x': case u'X': {
        if (a.kind() != K::Int && a.kind() != K::UInt)
            FormatError(fmt);
        numeric = true;
        if (a.kind() == K::UInt)
            return UIntToHex(a.asUInt(), prec);
        const std::int64_t v = a.asInt();
        return (v >= INT32_MIN && v <= INT32_MAX) ? UIntToHex(static_cast<std::uint32_t>(v), prec)
                                                  : UIntToHex(static_cast<std::uint64_t>(v), prec);
    }
    case u'f': case u'F':
    case u'n': case u'N':
    case u'e': case u'E':
    case u'g': case u'G': {
        double v;
        if (a.kind() == K::Float)
            v = a.asFloat();
        else if (a.kind() == K::Int)
            v = static_cast<double>(a.asInt());
        else if (a.kind() == K::UInt)
            v = static_cast<double>(a.asUInt());
        else
            FormatError(fmt);
        numeric = true;
        if (std::isnan(v) || std::isinf(v))
            return FloatToStr(v, fs);
        if (type == u'f' || type == u'F')
            return Decimals(v, prec < 0 ? 2 : prec, false, fs);
        if (type == u'n' || type == u'N')
            return Decimals(v, prec < 0 ? 2 : prec, true, fs);
        if (type == u'e' || type == u'E')
            return Scientific(v, prec < 0 ? 15 : prec, fs);
        return FloatToStr(v, fs);
    }
    case u's': case u'S': {
        String text;
        if (a.kind() == K::Text)
            text = String(a.asText());
        else if (a.kind() == K::Char)
            text = String(1, a.asChar());
        else
            FormatError(fmt);
        if (prec >= 0 && static_cast<int>(text.size()) > prec)
            text.resize(static_cast<std::size_t>(prec));
        return text;
    }
    case u'c': case u'C':
        if (a.kind() == K::Char)
            return String(1, a.asChar());
        if (a.kind() == K::Int || a.kind() == K::UInt)
            return String(1, static_cast<char16_t>(a.asInt() | static_cast<std::int64_t>(a.asUInt())));
        break;
    }
    FormatError(fmt);
}

// Pads `text` to `width`: on the right when left-justified, else on the left with blanks or,
// for zero-padded numbers, with zeros after the sign.
void Pad(String& text, int width, bool left, bool zeros)
{
    if (width <= 0 || static_cast<int>(text.size()) >= width)
        return;
    const auto pad = static_cast<std::size_t>(width) - text.size();
    if (left) {
        text.append(pad, u' ');
    } else if (zeros) {
        const std::size_t at = (!text.empty() && text[0] == u'-') ? 1 : 0;
        text.insert(at, pad, u'0');
    } else {
        text.insert(0, pad, u' ');
    }
}

} // namespace

String Format(StringView fmt, std::initializer_list<FormatArg> args) { return Format(fmt, args, FormatSettings); }

String Format(StringView fmt, std::initializer_list<FormatArg> args, const TFormatSettings& fs)
{
    const FormatArg* argv = args.begin();
    const std::size_t argc = args.size();
    std::size_t next = 0;
    String out;
    std::size_t i = 0;
    auto readNumber = [&](int& v) {
        bool any = false;
        v = 0;
        while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
            v = v * 10 + (fmt[i] - u'0');
            if (v > 100000)
                FormatError(fmt);
            ++i;
            any = true;
        }
        return any;
    };
    auto takeArg = [&]() -> const FormatArg& {
        if (next >= argc)
            FormatError(fmt);
        return argv[next++];
    };
    auto takeInt = [&]() -> int {
        const FormatArg& a = takeArg();
        if (a.kind() == FormatArg::Kind::Int)
            return static_cast<int>(a.asInt());
        if (a.kind() == FormatArg::Kind::UInt)
            return static_cast<int>(a.asUInt());
        FormatError(fmt);
    };
    while (i < fmt.size()) {
        const char16_t c = fmt[i++];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i >= fmt.size())
            FormatError(fmt);
        if (fmt[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // [index:][-][0][width][.prec]type
        const std::size_t directiveStart = i;
        int n = 0;
        if (readNumber(n) && i < fmt.size() && fmt[i] == u':') {
            next = static_cast<std::size_t>(n);
            ++i;
        } else {
            i = directiveStart;
        }
        bool left = false;
        bool zero = false;
        if (i < fmt.size() && fmt[i] == u'-') {
            left = true;
            ++i;
        }
        if (i < fmt.size() && fmt[i] == u'0') {
            zero = true;
            ++i;
        }
        int width = -1;
        if (i < fmt.size() && fmt[i] == u'*') {
            width = takeInt();
            ++i;
        } else if (int w; readNumber(w)) {
            width = w;
        }
        int prec = -1;
        if (i < fmt.size() && fmt[i] == u'.') {
            ++i;
            if (i < fmt.size() && fmt[i] == u'*') {
                prec = takeInt();
                ++i;
            } else {
                readNumber(prec);
            }
        }
        if (i >= fmt.size())
            FormatError(fmt);
        const char16_t type = fmt[i++];
        const FormatArg& a = takeArg();
        bool numeric = false;
        String text = FormatOne(type, a, prec, numeric, fmt, fs);
        Pad(text, width, left, zero && numeric);
        out += text;
    }
    return out;
}

} // namespace plat
