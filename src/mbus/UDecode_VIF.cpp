#include "UDecode_VIF.h"

#include <cmath>
#include <cstring>

#include "UDecode_VIF_Tables.h"
#include "UScan_Results.h"
#include "plat/SysUtils.h"

namespace {

using namespace vif_tables;

constexpr std::int16_t Type_Time_Point = 20;
constexpr std::int16_t Vife_Date_Limit = 99;
constexpr std::int16_t Vife_Date = 102;

const char16_t* const Phase_Text[17] = {
    nullptr,
    u" - At Phase L1",
    u" - At Phase L2",
    u" - At Phase L3",
    u" - At Neutral (N)",
    u" - Between Phase L1 and L2",
    u" - Between Phase L2 and L3",
    u" - Between Phase L3 and L1",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    u" - Accumulation of abs. Value for Both Positive and Negative Contribution (Absolute Count)",
};

const char16_t* const Weekday_Text[8] = {
    u"", u"Monday ", u"Tuesday ", u"Wednesday ", u"Thursday ", u"Friday ", u"Saturday ", u"Sunday ",
};

// Multiplying by 10^e for negative e divides by the exact power, so 10000 at 10^-3 is 10.
double Scale(double Value, int E)
{
    double p = 1;
    for (int i = 0; i < (E < 0 ? -E : E); ++i) p *= 10;
    return E < 0 ? Value / p : Value * p;
}

std::int64_t Little_Endian(const std::uint8_t* b, int Bytes)
{
    std::uint64_t u = 0;
    for (int i = Bytes - 1; i >= 0; --i) u = (u << 8) | b[i];
    const int bits = Bytes * 8;
    if (bits < 64 && (u >> (bits - 1)) & 1) u |= ~std::uint64_t{0} << bits;
    return static_cast<std::int64_t>(u);
}

// A signed little-endian number longer than 64 bits, to the precision of a double.
double Long_Binary(const std::uint8_t* b, int Bytes)
{
    if (Bytes > 256) Bytes = 256;
    // A negative number is read as the negated magnitude of its complement, which keeps small
    // negative values exact.
    const bool negative = b[Bytes - 1] & 0x80;
    const std::uint8_t flip = negative ? 0xFF : 0x00;
    double v = 0;
    for (int i = Bytes - 1; i >= 0; --i) v = v * 256 + (b[i] ^ flip);
    return negative ? -(v + 1) : v;
}

// The year's 7 bits sit in the top of the day byte (bits 0..2) and of the month byte (3..6).
int Year_Of(std::uint8_t DayByte, std::uint8_t MonthByte)
{
    return ((DayByte & 0xE0) >> 5) | ((MonthByte & 0xF0) >> 1);
}

plat::String Date_G(const std::uint8_t* b)
{
    return TVifDecoder::Two_Digits(b[0] & 0x1F) + u"/" + TVifDecoder::Two_Digits(b[1] & 0x0F) + u"/" +
           TVifDecoder::Two_Digits(Year_Of(b[0], b[1]));
}

// Bit 7 of the minute byte marks the time as invalid.
plat::String Date_Time_F(const std::uint8_t* b)
{
    if (b[0] & 0x80) return u"Invalid";
    return Date_G(b + 2) + u" " + TVifDecoder::Two_Digits(b[1] & 0x1F) + u":" +
           TVifDecoder::Two_Digits(b[0] & 0x3F);
}

plat::String Time_J(const std::uint8_t* b)
{
    return TVifDecoder::Two_Digits(b[2] & 0x1F) + u":" + TVifDecoder::Two_Digits(b[1] & 0x3F) + u":" +
           TVifDecoder::Two_Digits(b[0] & 0x3F);
}

plat::String Date_Time_I(const std::uint8_t* b)
{
    return plat::String(Weekday_Text[(b[2] >> 5) & 7]) + Date_G(b + 3) + u" " + Time_J(b);
}

const char16_t Hex_Digit[] = u"0123456789ABCDEF";

// The general floating-point text; whole numbers of up to 15 digits, the common case, are
// written directly (the same text, without the digit search).
plat::String Value_Text(double Value)
{
    if (Value == std::trunc(Value) && std::fabs(Value) < 1e15) {
        const auto whole = static_cast<std::int64_t>(Value);
        return plat::IntToStr(whole);
    }
    return plat::FloatToStr(Value);
}

// Bytes of BCD data by coding (and LVAR for variable-length BCD); 0 for other data.
int Bcd_Bytes(std::uint8_t Coding, std::uint8_t Lvar, std::int32_t NByte)
{
    switch (Coding & 0x0F) {
    case 9: return 1;
    case 10: return 2;
    case 11: return 3;
    case 12: return 4;
    case 14: return 6;
    case 13:
        if (Lvar >= 0xC0 && Lvar <= 0xDF) return NByte < 0 ? 0 : NByte > 16 ? 16 : NByte;
        return 0;
    default: return 0;
    }
}

bool Has_Error_Digit(const std::uint8_t* b, int Bytes)
{
    for (int i = 0; i < Bytes; ++i) {
        const int lo = b[i] & 0x0F, hi = b[i] >> 4;
        if ((lo >= 0xA && lo <= 0xE) || (hi >= 0xA && hi <= 0xE)) return true;
    }
    return false;
}

}  // namespace

std::int64_t TVifDecoder::Pow10(std::int32_t E)
{
    if (E < 0 || E > 18) return 0;
    std::int64_t p = 1;
    for (int i = 0; i < E; ++i) p *= 10;
    return p;
}

plat::String TVifDecoder::Two_Digits(std::int32_t Value)
{
    plat::String s = plat::IntToStr(Value);
    return Value >= 0 && Value < 10 ? u"0" + s : s;
}

std::int64_t TVifDecoder::BCD_To_Int(std::int32_t N) const
{
    if (N <= 0) return 0;
    if (N > 9) N = 9;
    std::int64_t v = 0;
    bool negative = false;
    for (int i = 0; i < N; ++i) {
        const std::uint8_t b = App_Data_Val[i];
        v += (b & 0x0F) * Pow10(2 * i);
        if (i == N - 1 && (b >> 4) == 0x0F)
            negative = true;
        else
            v += (b >> 4) * Pow10(2 * i + 1);
    }
    return negative ? -v : v;
}

double TVifDecoder::Decode_VIF(std::uint8_t VIF, std::uint8_t FirstVIFE, TVariable_MBus& Record, std::int32_t NByte,
                               std::uint8_t LVAR, std::uint8_t Coding)
{
    const std::uint8_t* d = App_Data_Val;
    double value = 0;
    switch (Coding & 0x0F) {
    case 1: value = double(Little_Endian(d, 1)); break;
    case 2: value = double(Little_Endian(d, 2)); break;
    case 3: value = double(Little_Endian(d, 3)); break;
    case 4: value = double(Little_Endian(d, 4)); break;
    case 6: value = double(Little_Endian(d, 6)); break;
    case 7: value = double(Little_Endian(d, 8)); break;
    case 5: {
        float f;
        const std::uint32_t u = std::uint32_t(d[0]) | std::uint32_t(d[1]) << 8 | std::uint32_t(d[2]) << 16 |
                                std::uint32_t(d[3]) << 24;
        std::memcpy(&f, &u, sizeof f);
        value = f;
        break;
    }
    case 9: value = double(BCD_To_Int(1)); break;
    case 10: value = double(BCD_To_Int(2)); break;
    case 11: value = double(BCD_To_Int(3)); break;
    case 12: value = double(BCD_To_Int(4)); break;
    case 14: value = double(BCD_To_Int(6)); break;
    case 13:
        if (LVAR >= 0xC0 && LVAR <= 0xC9)
            value = double(BCD_To_Int(LVAR - 0xC0));
        else if (LVAR >= 0xD0 && LVAR <= 0xD9)
            value = -double(BCD_To_Int(LVAR - 0xD0));
        else if (LVAR >= 0xE0 && LVAR <= 0xF6 && NByte >= 1)
            value = NByte <= 8 ? double(Little_Endian(d, NByte)) : Long_Binary(d, NByte);
        break;
    default: break;
    }

    const std::uint8_t code = VIF & 0x7F;
    const TVifCode& prim = Primary_VIF[code];
    Record.type_data = static_cast<std::uint16_t>(prim.Number);
    plat::String desc = prim.Text;
    plat::String valueText;
    bool haveText = false;
    if (prim.Scaled) value = Scale(value, (code & prim.ExpMask) + prim.ExpOffset);

    if (prim.Number == Type_Time_Point) {
        haveText = true;
        switch (Coding & 0x0F) {
        case 2: desc = u"Time Point Date (Type G)"; valueText = Date_G(d); break;
        case 4: desc = u"Time Point Date and Time (Type F)"; valueText = Date_Time_F(d); break;
        case 3: desc = u"Time Point Extended Time Point (Type J)"; valueText = Time_J(d); break;
        case 6: desc = u"Time Point Extended Date and Time Point (Type I)"; valueText = Date_Time_I(d); break;
        default: haveText = false; break;
        }
    }

    std::int32_t vifeNumber = 0;
    bool vifeSet = false;
    const bool extension = VIF == 0xFD || VIF == 0xFB || code == 0x7D || code == 0x7B;
    if (extension) {
        const std::uint8_t e = FirstVIFE & 0x7F;
        const TVifCode& x = (code == 0x7D ? Extension_FD : Extension_FB)[e];
        desc = x.Text;
        if (x.Number >= 0) {
            vifeNumber = x.Number;
            vifeSet = true;
        }
        if (x.Scaled) value = Scale(value, (e & x.ExpMask) + x.ExpOffset);
    }

    int q = -1;
    if ((VIF & 0x80) && VIF != 0xFE && VIF != 0xFF && !(VIF == 0xFD || VIF == 0xFB))
        q = 0;
    else if ((VIF == 0xFD || VIF == 0xFB) && (FirstVIFE & 0x80))
        q = 1;
    if (q >= 0) {
        for (;;) {
            std::uint8_t v = App_Vife_Val[q];
            const std::uint8_t c = v & 0x7F;
            const TVifCode& x = Combinable_VIFE[c];
            if (c == 0x7C) {
                if (q < 9) {
                    ++q;
                    v = App_Vife_Val[q];
                    const std::uint8_t phase = v & 0x7F;
                    if (phase < 17 && Phase_Text[phase]) desc += Phase_Text[phase];
                }
            } else {
                desc += x.Text;
                if (!vifeSet && x.Number >= 0) {
                    vifeNumber = x.Number;
                    vifeSet = true;
                }
                if (x.Scaled) value = Scale(value, (c & x.ExpMask) + x.ExpOffset);
                if (x.Number == Vife_Date_Limit || x.Number == Vife_Date) {
                    switch (Coding & 0x0F) {
                    case 2: valueText = Date_G(d); haveText = true; break;
                    case 4: valueText = Date_Time_F(d); haveText = true; break;
                    default: haveText = false; break;
                    }
                }
            }
            if (!(v & 0x80) || q >= 9) break;
            ++q;
        }
    }

    // Variable-length characters (LVAR 0x00..0xBF) are a text whatever the VIF; they travel
    // last character first and are shown in reading order, without control characters.
    if ((Coding & 0x0F) == 13 && LVAR <= 0xBF) {
        const int n = NByte < 0 ? 0 : NByte > 256 ? 256 : NByte;
        valueText.clear();
        for (int i = n - 1; i >= 0; --i)
            if (d[i] >= 0x20 && d[i] != 0x7F) valueText += char16_t(d[i]);
        haveText = true;
    }

    // A BCD digit A..E is the meter's error indication, not part of a number: the record is
    // marked and shows its digits as sent, most significant first.
    const int bcdBytes = Bcd_Bytes(Coding, LVAR, NByte);
    if (Has_Error_Digit(d, bcdBytes)) {
        Record.errata = true;
        Record.sterror = u"BCD Error";
        valueText.clear();
        for (int i = bcdBytes - 1; i >= 0; --i) {
            valueText += Hex_Digit[d[i] >> 4];
            valueText += Hex_Digit[d[i] & 0x0F];
        }
        haveText = true;
    }

    Record.Type_Data_Vife = vifeNumber;
    Record.Desc_Type_Data = std::move(desc);
    Record.ValueStr = haveText ? std::move(valueText) : Value_Text(value);
    return value;
}
