// Wired RSP_UD frames and the data-record walk (DIF, DIFE, VIF, VIFE, data) shared with the
// wireless decoder.
#include <cmath>
#include <cstring>

#include "UDecode_Frame.h"
#include "UScan_Results.h"
#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace {

// DIFE and VIFE bytes kept per record; longer chains are consumed but not kept.
constexpr int Max_Extensions = 10;
// Characters kept of a plain-text unit.
constexpr int Max_Unit_Text = 192;
// Offset of the first data record in a wired long frame, and the bytes around the records
// (header before, checksum and stop after).
constexpr int Wired_Records_Start = 19;
constexpr int Wired_Min_Length = 22;

struct TCodingText {
    std::int32_t Bytes;
    const char16_t* DataFieldStr;
    const char16_t* descdim;
    bool Is_BCD;
};

// Data-field coding (DIF bits 0..3); codings 8, 13 and 15 are handled by the walk.
const TCodingText Coding_Text[16] = {
    {0, u"", u"No data", false},
    {1, u"8 Bit Integer", u"8 Bit Integer", false},
    {2, u"16 Bit Integer", u"16 Bit Integer", false},
    {3, u"24 Bit Integer", u"24 Bit Integer", false},
    {4, u"32 Bit Integer", u"32 Bit Integer", false},
    {4, u"32 Bit Real", u"32 Bit real", false},
    {6, u"48 Bit Integer", u"48 Bit Integer", false},
    {8, u"64 Bit Integer", u"64 Bit Integer", false},
    {0, u"", u"", false},
    {1, u"2 Digit BCD", u"2 digit BCD", true},
    {2, u"4 Digit BCD", u"4 digit BCD", true},
    {3, u"6 Digit BCD", u"6 digit BCD", true},
    {4, u"8 Digit BCD", u"8 digit BCD", true},
    {0, u"", u"", false},
    {6, u"12 Digit BCD", u"12 digit BCD", true},
    {0, u"Special Function", u"", false},
};

const char16_t* const Function_Text[4] = {
    u"Istantaneous value", u"Maximum value", u"Minimum value", u"Value during error state"};

const char16_t* const Medium_Text[26] = {
    u"Other", u"Oil", u"Electricity", u"Gas", u"Heat (outlet)", u"Steam", u"Hot Water", u"Water",
    u"Heat Cost Allocator.", u"Compressed Air", u"Cooling load meter (outlet)", u"Cooling load meter (inlet)",
    u"Heat (inlet) ", u"Heat/Cooling load meter", u"Bus/System", u"Unknown Medium", u"Other", u"Other",
    u"Other", u"Other", u"Other", u"Other", u"Cold Water", u"Dual Water", u"Pressure", u"A/D Converter"};

const char16_t Hex_Digit[] = u"0123456789ABCDEF";

void Append_Hex(plat::String& s, std::uint8_t b)
{
    s += Hex_Digit[b >> 4];
    s += Hex_Digit[b & 0x0F];
}

// "$hh" as the record's DIF text, "$hh " per extension byte.
plat::String Dollar_Hex(std::uint8_t b)
{
    plat::String s(u"$");
    Append_Hex(s, b);
    return s;
}

plat::String Dollar_Hex_List(const std::uint8_t* b, int n)
{
    plat::String s;
    s.reserve(std::size_t(n) * 4);
    for (int i = 0; i < n; ++i) {
        s += u'$';
        Append_Hex(s, b[i]);
        s += u' ';
    }
    return s;
}

std::int32_t Le32(const std::uint8_t* b)
{
    return std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                        std::uint32_t(b[3]) << 24);
}

// Length and texts of a variable-length record by its LVAR byte; Bytes < 0 for the reserved
// values, whose length is unknown.
struct TLvarText {
    std::int32_t Bytes;
    plat::String DataFieldStr;
    plat::String descdim;
};

TLvarText Lvar_Text(std::uint8_t Lvar)
{
    using plat::IntToStr;
    if (Lvar <= 0xBF) {
        const int n = Lvar;
        return {n, u"Variable Length - ASCII String with " + IntToStr(n) + u"characters",
                u"Variable length: ASCII string with " + IntToStr(n) + u" characters"};
    }
    if (Lvar <= 0xCF) {
        const int n = Lvar - 0xC0;
        return {n, u"Variable Length - Positive BCD Number with " + IntToStr(2 * n) + u" digits",
                u"Variable length: Positive BCD number with " + IntToStr(n) + u" *2 digits"};
    }
    if (Lvar <= 0xDF) {
        const int n = Lvar - 0xD0;
        return {n, u"Variable Length - Negative BCD Number with " + IntToStr(2 * n) + u" digits",
                u"Variable length: Negative BCD number with " + IntToStr(n) + u" *2 digits"};
    }
    // Binary numbers: 0xE0..0xEF of 0..15 bytes, 0xF0..0xF4 of 16..32 bytes in steps of 4,
    // 0xF5 of 48 and 0xF6 of 64 bytes. 0xF7 and above are reserved.
    int n = -1;
    if (Lvar <= 0xEF)
        n = Lvar - 0xE0;
    else if (Lvar <= 0xF4)
        n = 4 * (Lvar - 0xEC);
    else if (Lvar == 0xF5)
        n = 48;
    else if (Lvar == 0xF6)
        n = 64;
    if (n >= 0)
        return {n, u"Variable Length - Binary Number with " + IntToStr(n) + u" Bytes",
                u"Variable length: Binary number with " + IntToStr(n) + u" bytes"};
    return {-1, u"Variable Length - Reserved", u"Variable length: Reserved"};
}

// Reads an extension chain (DIFE or VIFE) from Data[pos]: bytes are taken while the byte
// just read has bit 7 set, the first Max_Extensions are kept. False when the data end before
// the chain does.
bool Read_Chain(const std::uint8_t* Data, std::int32_t Length, std::int32_t& pos, std::uint8_t* Kept, int& NKept)
{
    NKept = 0;
    for (;;) {
        if (pos >= Length) return false;
        const std::uint8_t b = Data[pos++];
        if (NKept < Max_Extensions) Kept[NKept++] = b;
        if (!(b & 0x80)) return true;
    }
}

} // namespace

TMBusFrameDecoder::TMBusFrameDecoder(plat::TList& Slaves_MBus, plat::TList& Slaves_wMBus)
    : Slaves_MBus_(Slaves_MBus), Slaves_wMBus_(Slaves_wMBus)
{
}

plat::String TMBusFrameDecoder::Medium_Description(std::int32_t Code)
{
    return Code >= 0 && Code < 26 ? plat::String(Medium_Text[Code]) : plat::String(u"Other");
}

plat::String TMBusFrameDecoder::Trova_Man(std::uint16_t Id)
{
    plat::String s;
    for (int shift : {10, 5, 0}) {
        const int c = ((Id >> shift) & 0x1F) + 64;
        s += c <= 64 || c > 90 ? u'?' : char16_t(c);
    }
    return s;
}

void TMBusFrameDecoder::Stamp(double Now)
{
    const auto& fs = plat::FormatSettings;
    const auto second = static_cast<std::int64_t>(std::floor(Now * 86400.0));
    if (second == Stamp_Second_ && fs.ShortDateFormat == Stamp_Settings_.ShortDateFormat &&
        fs.LongTimeFormat == Stamp_Settings_.LongTimeFormat && fs.DateSeparator == Stamp_Settings_.DateSeparator &&
        fs.TimeSeparator == Stamp_Settings_.TimeSeparator)
        return;
    Stamp_Second_ = second;
    Stamp_Settings_ = fs;
    Date_Text_ = plat::DateToStr(Now);
    Time_Text_ = plat::TimeToStr(Now);
}

bool TMBusFrameDecoder::Check_Wired_Frame(const std::uint8_t* b, std::int32_t len)
{
    if (b == nullptr || len < Wired_Min_Length) return false;
    if (b[0] != 0x68 || b[3] != 0x68 || b[1] != b[2] || b[len - 1] != 0x16) return false;
    std::uint8_t sum = 0;
    for (std::int32_t i = 4; i <= len - 3; ++i) sum = std::uint8_t(sum + b[i]);
    return sum == b[len - 2];
}

std::int32_t TMBusFrameDecoder::Decode_Wired_Frame(const std::uint8_t* b, std::int32_t len, std::int32_t Index,
                                                  bool& Complete)
{
    Complete = true;
    Records_End = {TRecordsOutcome::FrameInvalid, 0};
    if (!Check_Wired_Frame(b, len)) return -1;
    const double now = plat::Now();

    TScanResultsGuard guard;
    TSlave_MBus* slave = nullptr;
    if (Index < 0) {
        slave = new TSlave_MBus;
        slave->Primary_Addresss = b[5];
        slave->Secondary_Addresss = plat::UIntToHex(std::uint32_t(Le32(b + 7)), 2);
        slave->Manufacture = b[11] | b[12] << 8;
        slave->Version = b[13];
        slave->Medium = b[14];
        slave->Status = b[16];
        slave->descmedium = Medium_Description(slave->Medium);
        slave->descManufacture = Trova_Man(std::uint16_t(slave->Manufacture));
        Index = Slaves_MBus_.Add(slave);
    } else if (Index < Slaves_MBus_.Count()) {
        slave = static_cast<TSlave_MBus*>(Slaves_MBus_.Items(Index));
    } else {
        return -1;
    }

    // CI 0x73 and 0x77 answer with a fixed data structure, which is no sequence of records.
    if (b[6] == 0x73 || b[6] == 0x77) {
        Records_End = {TRecordsOutcome::FixedStructure, 0};
        return Index;
    }
    Complete = Decode_Records_At(slave->List_Var, b + Wired_Records_Start, len - (Wired_Min_Length - 1), now);
    return Index;
}

bool TMBusFrameDecoder::Decode_Data_Records(plat::TList& List, std::int32_t LastIndex, const std::uint8_t* Data)
{
    const std::int32_t length = Data == nullptr || LastIndex < 0 ? 0 : LastIndex + 1;
    TScanResultsGuard guard;
    return Decode_Records_At(List, Data, length, plat::Now());
}

bool TMBusFrameDecoder::Decode_Records_At(plat::TList& List, const std::uint8_t* d, std::int32_t length, double Now)
{
    Stamp(Now);
    std::int32_t pos = 0;
    auto finish = [&](TRecordsOutcome outcome, std::int32_t at) {
        Records_End = {outcome, at};
        return outcome != TRecordsOutcome::MoreRecords;
    };

    while (pos < length) {
        const std::int32_t start = pos;
        const std::uint8_t dif = d[pos++];

        if ((dif & 0x0F) == 0x0F) {
            switch (dif) {
            case 0x0F: return finish(TRecordsOutcome::ManufacturerData, start);
            case 0x1F: return finish(TRecordsOutcome::MoreRecords, start);
            case 0x2F:
                if (MBusType == mtWireless) {
                    auto* rec = new TVariable_MBus;
                    rec->Real_Wireless_Var = false;
                    rec->DIF = Dollar_Hex(dif);
                    rec->DataFieldStr = u"Special Function";
                    rec->datagiorno = Date_Text_;
                    rec->tempo = Time_Text_;
                    List.Add(rec);
                }
                continue;
            default:
                if (dif <= 0x7F) return finish(TRecordsOutcome::ReservedDIF, start);
                continue;  // 0x8F..0xFF: skipped, the walk goes on at the next byte
            }
        }

        std::uint8_t dife[Max_Extensions];
        int ndife = 0;
        if ((dif & 0x80) && !Read_Chain(d, length, pos, dife, ndife))
            return finish(TRecordsOutcome::Truncated, start);

        if (pos >= length) return finish(TRecordsOutcome::Truncated, start);
        const std::uint8_t vif = d[pos++];
        const std::uint8_t* unit = nullptr;
        int unitLength = 0;
        if ((vif & 0x7F) == 0x7C) {
            if (pos >= length) return finish(TRecordsOutcome::Truncated, start);
            unitLength = d[pos++];
            if (unitLength > length - pos) return finish(TRecordsOutcome::Truncated, start);
            unit = d + pos;
            pos += unitLength;
        }
        std::uint8_t vife[Max_Extensions];
        int nvife = 0;
        if ((vif & 0x80) && !Read_Chain(d, length, pos, vife, nvife))
            return finish(TRecordsOutcome::Truncated, start);

        const std::uint8_t coding = dif & 0x0F;
        if (coding == 8) return finish(TRecordsOutcome::Selection, start);
        if ((vif & 0x7F) == 0x7E) return finish(TRecordsOutcome::AnyVIF, start);

        std::uint8_t lvar = 0;
        std::int32_t n = Coding_Text[coding].Bytes;
        TLvarText lvarText;
        if (coding == 13) {
            if (pos >= length) return finish(TRecordsOutcome::Truncated, start);
            lvar = d[pos++];
            lvarText = Lvar_Text(lvar);
            n = lvarText.Bytes < 0 ? 0 : lvarText.Bytes;
        }
        if (n > length - pos) return finish(TRecordsOutcome::Truncated, start);
        const std::uint8_t* data = d + pos;
        pos += n;

        auto* rec = new TVariable_MBus;
        rec->Is_BCD = Coding_Text[coding].Is_BCD;
        if (coding == 13) {
            rec->DataFieldStr = std::move(lvarText.DataFieldStr);
            rec->descdim = std::move(lvarText.descdim);
            if (lvarText.Bytes < 0) {
                rec->errata = true;
                rec->sterror = u"Non analizabile";
            }
        } else {
            rec->DataFieldStr = Coding_Text[coding].DataFieldStr;
            rec->descdim = Coding_Text[coding].descdim;
        }
        rec->datagiorno = Date_Text_;
        rec->tempo = Time_Text_;
        rec->Real_Wireless_Var = true;
        rec->DIF = Dollar_Hex(dif);
        rec->dimension = coding;
        rec->nbyte = n;
        rec->function_fild = (dif >> 4) & 0x03;

        std::int64_t storage = 0;
        std::uint32_t tariff = 0, subunit = 0;
        for (int k = ndife - 1; k >= 0; --k) {
            storage = storage * 16 + (dife[k] & 0x0F);
            tariff = tariff * 4 + ((dife[k] >> 4) & 0x03);
            subunit = subunit * 2 + ((dife[k] >> 6) & 0x01);
        }
        rec->storage_number = ((dif >> 6) & 1) + 2 * storage;
        rec->tarif = std::uint16_t(tariff);
        rec->device = std::uint16_t(subunit);
        rec->DIFE = Dollar_Hex_List(dife, ndife);
        rec->numdife = ndife;

        rec->VIF = vif;
        const std::uint8_t firstVife = nvife > 0 ? vife[0] : 0;
        if (vif == 0xFD || vif == 0xFB) {
            rec->casovif = vif == 0xFD ? 1 : 2;
            rec->vifvalue = firstVife;
        } else if (vif == 0x7F || vif == 0xFF) {
            rec->casovif = 100;
        } else if (vif == 0x7C || vif == 0xFC) {
            rec->casovif = 101;
            // The unit travels last character first.
            const int keep = unitLength < Max_Unit_Text ? unitLength : Max_Unit_Text;
            rec->VIF_ASCII.resize(std::size_t(keep));
            for (int i = 0; i < keep; ++i) rec->VIF_ASCII[std::size_t(i)] = char16_t(unit[unitLength - 1 - i]);
        } else if (vif != 0x7B && vif != 0x7D) {
            rec->vifvalue = vif;
        }
        rec->VIFE = Dollar_Hex_List(vife, nvife);
        rec->PrinVIFE = firstVife;

        rec->totdati.reserve(std::size_t(n) * 2);
        for (std::int32_t i = 0; i < n; ++i) Append_Hex(rec->totdati, data[i]);
        std::uint8_t first8[8] = {};
        std::memcpy(first8, data, std::size_t(n < 8 ? n : 8));
        rec->dato_A = Le32(first8);
        rec->dato_B = Le32(first8 + 4);

        List.Add(rec);
        std::memcpy(App_Data_Val, data, std::size_t(n));
        std::memset(App_Data_Val + n, 0, sizeof App_Data_Val - std::size_t(n));
        std::memcpy(App_Vife_Val, vife, std::size_t(nvife));
        std::memset(App_Vife_Val + nvife, 0, sizeof App_Vife_Val - std::size_t(nvife));
        Decode_VIF(vif, firstVife, *rec, n, lvar, coding);
        rec->FunctionFieldStr = Function_Text[rec->function_fild];

        if (coding == 13 && lvarText.Bytes < 0) return finish(TRecordsOutcome::ReservedLength, pos);
    }
    return finish(TRecordsOutcome::EndOfData, pos);
}
