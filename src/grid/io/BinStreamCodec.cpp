#include "BinStreamCodec.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

#include "plat/Streams.h"

namespace grid::io::bin {

namespace {

[[noreturn]] void BadValue() { throw plat::EReadError(u"Invalid property value"); }
[[noreturn]] void BadFormat() { throw plat::EReadError(u"Invalid stream format"); }

struct TColorName {
    const char* name;
    std::uint32_t value;
};

constexpr TColorName kColors[] = {
    {"clBlack", 0x00000000}, {"clMaroon", 0x00000080}, {"clGreen", 0x00008000}, {"clOlive", 0x00008080},
    {"clNavy", 0x00800000}, {"clPurple", 0x00800080}, {"clTeal", 0x00808000}, {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0}, {"clRed", 0x000000FF}, {"clLime", 0x0000FF00}, {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000}, {"clFuchsia", 0x00FF00FF}, {"clAqua", 0x00FFFF00}, {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0}, {"clSkyBlue", 0x00F0CAA6}, {"clCream", 0x00F0FBFF}, {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", 0xFF00000A}, {"clActiveCaption", 0xFF000002}, {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001}, {"clBtnFace", 0xFF00000F}, {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010}, {"clBtnText", 0xFF000012}, {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000}, {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C}, {"clGrayText", 0xFF000011}, {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E}, {"clHotLight", 0xFF00001A}, {"clInactiveBorder", 0xFF00000B},
    {"clInactiveCaption", 0xFF000003}, {"clInactiveCaptionText", 0xFF000013}, {"clInfoBk", 0xFF000018},
    {"clInfoText", 0xFF000017}, {"clMenu", 0xFF000004}, {"clMenuBar", 0xFF00001E},
    {"clMenuHighlight", 0xFF00001D}, {"clMenuText", 0xFF000007}, {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0xFF000000}, {"cl3DDkShadow", 0xFF000015}, {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005}, {"clWindowFrame", 0xFF000006}, {"clWindowText", 0xFF000008}};

bool HasLoneSurrogate(StringView s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                ++i;
                continue;
            }
            return true;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) return true;
    }
    return false;
}

} // namespace

void DoubleToExtended(double Value, std::uint8_t Out[10]) {
    const auto bits = std::bit_cast<std::uint64_t>(Value);
    const unsigned sign = static_cast<unsigned>(bits >> 63);
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);
    std::uint64_t mant = 0;
    unsigned biased = 0;
    if (exp == 0x7FF) {
        biased = 0x7FFF;
        mant = frac == 0 ? std::uint64_t{1} << 63 : (std::uint64_t{3} << 62) | (frac << 11);
    } else if (exp == 0) {
        if (frac != 0) {
            int e = 1 - 1023;
            while (!(frac & (std::uint64_t{1} << 52))) {
                frac <<= 1;
                --e;
            }
            mant = frac << 11;
            biased = static_cast<unsigned>(e + 16383);
        }
    } else {
        mant = (std::uint64_t{1} << 63) | (frac << 11);
        biased = static_cast<unsigned>(exp - 1023 + 16383);
    }
    for (int i = 0; i < 8; ++i) Out[i] = static_cast<std::uint8_t>(mant >> (8 * i));
    const unsigned se = biased | (sign << 15);
    Out[8] = static_cast<std::uint8_t>(se & 0xFF);
    Out[9] = static_cast<std::uint8_t>(se >> 8);
}

double ExtendedToDouble(const std::uint8_t In[10]) {
    std::uint64_t mant = 0;
    for (int i = 7; i >= 0; --i) mant = (mant << 8) | In[i];
    const unsigned se = In[8] | (static_cast<unsigned>(In[9]) << 8);
    const bool neg = (se & 0x8000) != 0;
    const int e = static_cast<int>(se & 0x7FFF);
    double v;
    if (e == 0x7FFF)
        v = (mant << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    else if (mant == 0)
        v = 0.0;
    else
        v = std::ldexp(static_cast<double>(mant), (e == 0 ? 1 : e) - 16383 - 63);
    return neg ? -v : v;
}

const char* ColorIdent(plat::TColor Color) {
    const auto v = static_cast<std::uint32_t>(Color);
    for (const TColorName& c : kColors)
        if (c.value == v) return c.name;
    return nullptr;
}

bool IdentToColor(std::string_view Name, plat::TColor& Color, bool IgnoreCase) {
    auto same = [&](std::string_view n) {
        if (!IgnoreCase) return Name == n;
        return Name.size() == n.size() && std::equal(n.begin(), n.end(), Name.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    };
    for (const TColorName& c : kColors)
        if (same(c.name)) {
            Color = static_cast<plat::TColor>(c.value);
            return true;
        }
    return false;
}

int TIdents::Find(std::string_view Name) const {
    for (std::size_t i = 0; i < count; ++i)
        if (Name == names[i]) return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------- writing

void TWriter::PutShortName(std::string& s, std::string_view Name) {
    const std::size_t n = std::min<std::size_t>(Name.size(), 255);
    s += static_cast<char>(n);
    s.append(Name.substr(0, n));
}

void TWriter::PutInt(std::string& s, std::int64_t Value) {
    if (Value >= -128 && Value <= 127) {
        s += static_cast<char>(vaInt8);
        s += static_cast<char>(static_cast<std::int8_t>(Value));
    } else if (Value >= -32768 && Value <= 32767) {
        s += static_cast<char>(vaInt16);
        const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(Value));
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>(v >> 8);
    } else {
        s += static_cast<char>(vaInt32);
        PutU32(s, static_cast<std::uint32_t>(static_cast<std::int32_t>(Value)));
    }
}

void TWriter::PutText(std::string& s, StringView Value) {
    const std::string u = plat::StringToUtf8(Value);
    const std::size_t n = Value.size();
    // A lone surrogate has no UTF-8 form: the UTF-16 form keeps it.
    if (u.size() >= 2 * n || HasLoneSurrogate(Value)) {
        s += static_cast<char>(vaWString);
        PutU32(s, static_cast<std::uint32_t>(n));
        for (char16_t c : Value) {
            s += static_cast<char>(c & 0xFF);
            s += static_cast<char>(c >> 8);
        }
        return;
    }
    bool ascii = true;
    for (unsigned char c : u)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (!ascii) {
        s += static_cast<char>(vaUTF8String);
        PutU32(s, static_cast<std::uint32_t>(u.size()));
    } else if (u.size() >= 256) {
        s += static_cast<char>(vaLString);
        PutU32(s, static_cast<std::uint32_t>(u.size()));
    } else {
        s += static_cast<char>(vaString);
        s += static_cast<char>(u.size());
    }
    s += u;
}

void TWriter::Begin(std::string_view ClassName) {
    buf_.assign("TPF0");
    PutShortName(buf_, ClassName);
    buf_ += '\0';
}

void TWriter::End() {
    buf_ += '\0';
    buf_ += '\0';
    stream_.WriteBuffer(buf_.data(), buf_.size());
    buf_.clear();
}

void TWriter::Int(std::string_view Name, std::int64_t Value) {
    PutShortName(buf_, Name);
    PutInt(buf_, Value);
}

void TWriter::Bool(std::string_view Name, bool Value) {
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(Value ? vaTrue : vaFalse);
}

void TWriter::Text(std::string_view Name, StringView Value) {
    if (Value.empty()) return;
    PutShortName(buf_, Name);
    PutText(buf_, Value);
}

void TWriter::Ident(std::string_view Name, std::string_view Value) {
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(vaIdent);
    PutShortName(buf_, Value);
}

void TWriter::Color(std::string_view Name, plat::TColor Value) {
    if (const char* id = ColorIdent(Value))
        Ident(Name, id);
    else
        Int(Name, Value);
}

void TWriter::Float(std::string_view Name, double Value) {
    if (Value == 0) return;
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(vaExtended);
    std::uint8_t x[10];
    DoubleToExtended(Value, x);
    buf_.append(reinterpret_cast<const char*>(x), 10);
}

void TWriter::Binary(std::string_view Name, const std::string& Bytes) {
    if (Bytes.empty()) return;
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(vaBinary);
    PutU32(buf_, static_cast<std::uint32_t>(Bytes.size()));
    buf_ += Bytes;
}

void TWriter::Set(std::string_view Name, const TIdents& Members, unsigned Bits) {
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(vaSet);
    for (std::size_t i = 0; i < Members.count; ++i)
        if (Bits & (1u << i)) PutShortName(buf_, Members.names[i]);
    buf_ += '\0';
}

void TWriter::List(std::string_view Name, const std::vector<String>& Items) {
    if (Items.empty()) return;
    PutShortName(buf_, Name);
    buf_ += static_cast<char>(vaList);
    for (const String& s : Items) PutText(buf_, s);
    buf_ += '\0';
}

// ---------------------------------------------------------------- reading

void TReader::Need(std::size_t n) const {
    if (n > Left()) throw plat::EReadError(u"Stream read error");
}

std::uint8_t TReader::Byte() {
    Need(1);
    return static_cast<std::uint8_t>(d_[pos_++]);
}

std::string TReader::ShortName() {
    const std::size_t n = Byte();
    Need(n);
    std::string s(d_.substr(pos_, n));
    pos_ += n;
    return s;
}

String TReader::ReadText(std::uint8_t tag) {
    std::size_t n;
    if (tag == vaString) {
        n = Byte();
    } else {
        Need(4);
        n = GetU32(d_.data() + pos_);
        pos_ += 4;
    }
    if (tag == vaWString) {
        if (n > Left() / 2) throw plat::EReadError(u"Stream read error");
        String s(n, u'\0');
        for (std::size_t i = 0; i < n; ++i)
            s[i] = static_cast<char16_t>(static_cast<unsigned char>(d_[pos_ + 2 * i]) |
                                         (static_cast<unsigned char>(d_[pos_ + 2 * i + 1]) << 8));
        pos_ += 2 * n;
        return s;
    }
    Need(n);
    const std::string_view b = d_.substr(pos_, n);
    pos_ += n;
    return tag == vaUTF8String ? plat::Utf8ToString(b) : plat::AnsiToString(b);
}

void TReader::ReadValue(TValue& v, int depth) {
    v.Tag = static_cast<TValueTag>(Byte());
    switch (v.Tag) {
    case vaInt8:
        v.Int = static_cast<std::int8_t>(Byte());
        break;
    case vaInt16: {
        Need(2);
        const auto u = static_cast<std::uint16_t>(static_cast<unsigned char>(d_[pos_]) |
                                                  (static_cast<unsigned char>(d_[pos_ + 1]) << 8));
        pos_ += 2;
        v.Int = static_cast<std::int16_t>(u);
        break;
    }
    case vaInt32:
        Need(4);
        v.Int = static_cast<std::int32_t>(GetU32(d_.data() + pos_));
        pos_ += 4;
        break;
    case vaExtended: {
        Need(10);
        std::uint8_t x[10];
        std::memcpy(x, d_.data() + pos_, 10);
        pos_ += 10;
        v.Float = ExtendedToDouble(x);
        break;
    }
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        v.Text = ReadText(v.Tag);
        break;
    case vaIdent:
        v.Ident = ShortName();
        break;
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaBinary: {
        Need(4);
        const std::size_t n = GetU32(d_.data() + pos_);
        pos_ += 4;
        Need(n);
        v.Bytes.assign(d_.substr(pos_, n));
        pos_ += n;
        break;
    }
    case vaSet:
        while (true) {
            std::string m = ShortName();
            if (m.empty()) break;
            v.Members.push_back(std::move(m));
        }
        break;
    case vaList:
        if (depth > 0) BadValue();
        while (true) {
            Need(1);
            if (d_[pos_] == 0) {
                ++pos_;
                break;
            }
            TValue item;
            ReadValue(item, depth + 1);
            if (item.Tag != vaString && item.Tag != vaLString && item.Tag != vaWString && item.Tag != vaUTF8String)
                BadValue();
            v.Items.push_back(std::move(item.Text));
        }
        break;
    default:
        BadFormat();
    }
}

TRecord TReader::ReadRecord(std::string_view ClassName, const TFieldNames& Fields) {
    const std::size_t have = std::min<std::size_t>(Left(), 4);
    if (d_.substr(pos_, have) != std::string_view("TPF0", have)) BadFormat();
    Need(4);
    pos_ += 4;
    if (ShortName() != ClassName) BadFormat();
    ShortName();  // the object name
    TRecord rec;
    while (true) {
        std::string name = ShortName();
        if (name.empty()) break;
        bool known = false;
        for (std::string_view f : Fields)
            if (f == name) {
                known = true;
                break;
            }
        if (!known) throw plat::EReadError(u"Property " + plat::Utf8ToString(name) + u" does not exist");
        // A field written again replaces its value; a record is never longer than a few
        // copies of its fields, which bounds the memory a hostile stream can ask for.
        if (rec.Fields.size() >= 4 * Fields.size()) BadFormat();
        TValue v;
        ReadValue(v, 0);
        rec.Fields.emplace_back(std::move(name), std::move(v));
    }
    if (Byte() != 0) BadFormat();  // child objects are never written
    return rec;
}

const TValue* TRecord::Find(std::string_view Name) const {
    for (auto it = Fields.rbegin(); it != Fields.rend(); ++it)
        if (it->first == Name) return &it->second;
    return nullptr;
}

int TRecord::Int(std::string_view Name, int Default) const {
    const TValue* v = Find(Name);
    if (!v) return Default;
    if (v->Tag != vaInt8 && v->Tag != vaInt16 && v->Tag != vaInt32) BadValue();
    return static_cast<int>(v->Int);
}

bool TRecord::Bool(std::string_view Name, bool Default) const {
    const TValue* v = Find(Name);
    if (!v) return Default;
    if (v->Tag != vaFalse && v->Tag != vaTrue) BadValue();
    return v->Tag == vaTrue;
}

String TRecord::Text(std::string_view Name) const {
    const TValue* v = Find(Name);
    if (!v) return String();
    if (v->Tag != vaString && v->Tag != vaLString && v->Tag != vaWString && v->Tag != vaUTF8String) BadValue();
    return v->Text;
}

double TRecord::Float(std::string_view Name, double Default) const {
    const TValue* v = Find(Name);
    if (!v) return Default;
    if (v->Tag == vaExtended) return v->Float;
    if (v->Tag == vaInt8 || v->Tag == vaInt16 || v->Tag == vaInt32) return static_cast<double>(v->Int);
    BadValue();
}

int TRecord::Enum(std::string_view Name, const TIdents& Idents, int Default) const {
    const TValue* v = Find(Name);
    if (!v) return Default;
    if (v->Tag != vaIdent) BadValue();
    const int i = Idents.Find(v->Ident);
    if (i < 0) BadValue();
    return i;
}

plat::TColor TRecord::Color(std::string_view Name, plat::TColor Default) const {
    const TValue* v = Find(Name);
    if (!v) return Default;
    if (v->Tag == vaInt8 || v->Tag == vaInt16 || v->Tag == vaInt32) return static_cast<plat::TColor>(v->Int);
    plat::TColor c = 0;
    if (v->Tag != vaIdent || !IdentToColor(v->Ident, c)) BadValue();
    return c;
}

unsigned TRecord::Set(std::string_view Name, const TIdents& Members) const {
    const TValue* v = Find(Name);
    if (!v) return 0;
    if (v->Tag != vaSet) BadValue();
    unsigned bits = 0;
    for (const std::string& m : v->Members) {
        const int i = Members.Find(m);
        if (i < 0) BadValue();
        bits |= 1u << i;
    }
    return bits;
}

std::string_view TRecord::Binary(std::string_view Name) const {
    const TValue* v = Find(Name);
    if (!v) return std::string_view();
    if (v->Tag != vaBinary) BadValue();
    return v->Bytes;
}

std::vector<String> TRecord::List(std::string_view Name) const {
    const TValue* v = Find(Name);
    if (!v) return {};
    if (v->Tag != vaList) BadValue();
    return v->Items;
}

} // namespace grid::io::bin
