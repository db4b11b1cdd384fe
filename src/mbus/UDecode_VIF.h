#pragma once
// Completes one data record: the data bytes become a value by the data-field coding, the VIF
// and its VIFE chain give the quantity's type number, description and power of ten, and the
// value text is written (as a date and time for the time-point codings, "Invalid" when the
// time carries its invalid bit). Variable-length characters are a text in reading order; BCD
// data holding a digit A..E is marked as the meter's error (errata, "BCD Error") and shows its
// digits instead of a number.
#include <cstdint>

#include "plat/String.h"

class TVariable_MBus;

class TVifDecoder {
public:
    // Filled by the record parser just before Decode_VIF: the record's data bytes (zero
    // beyond its length) and its VIFE bytes.
    std::uint8_t App_Data_Val[256] = {};
    std::uint8_t App_Vife_Val[10] = {};

    // Fills type_data, Type_Data_Vife, Desc_Type_Data and ValueStr of Record; returns the
    // scaled value. Never throws, whatever the bytes.
    double Decode_VIF(std::uint8_t VIF, std::uint8_t FirstVIFE, TVariable_MBus& Record, std::int32_t NByte,
                      std::uint8_t LVAR, std::uint8_t Coding);

    // BCD of the first N bytes of App_Data_Val, least significant byte first; a high nibble
    // 0xF in the last byte makes the value negative. N is limited to the 9 bytes (18 digits)
    // an int64 holds.
    std::int64_t BCD_To_Int(std::int32_t N) const;

    // 10^E for E in 0..18, 0 otherwise.
    static std::int64_t Pow10(std::int32_t E);
    // "07" for 7, "12" for 12, "123" for 123.
    static plat::String Two_Digits(std::int32_t Value);
};
