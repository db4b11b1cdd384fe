#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "UDecode_VIF.h"
#include "UScan_Results.h"

namespace {

// Decodes one record the way the parser hands it over: data bytes, zero beyond, and VIFEs.
double Decode(std::uint8_t Vif, const std::vector<std::uint8_t>& Vifes, std::uint8_t Coding,
              const std::vector<std::uint8_t>& Data, TVariable_MBus& Record, std::uint8_t Lvar = 0)
{
    TVifDecoder dec;
    std::copy(Data.begin(), Data.end(), dec.App_Data_Val);
    std::copy(Vifes.begin(), Vifes.end(), dec.App_Vife_Val);
    return dec.Decode_VIF(Vif, dec.App_Vife_Val[0], Record, std::int32_t(Data.size()), Lvar, Coding);
}

struct ChainCase {
    const char* Name;
    std::uint8_t Vif;
    std::vector<std::uint8_t> Vifes;
    std::uint8_t Coding;
    std::vector<std::uint8_t> Data;
    std::uint16_t Type;
    std::int32_t VifeType;
    std::u16string Desc;
    double Value;
    std::u16string Text;
};

TEST(DecodeVIF, ChainsGiveTypeTextAndScaledValue)
{
    const ChainCase cases[] = {
        {"volume 32-bit", 0x13, {}, 4, {0x10, 0x27, 0, 0}, 2, 0, u"Volume m3", 10, u"10"},
        {"energy BCD", 0x06, {}, 12, {0x78, 0x56, 0x34, 0x12}, 0, 0, u"Energy Wh", 12345678000.0, u"12345678000"},
        {"flow temperature 4 codes", 0x59, {}, 2, {0xE8, 0x03}, 12, 0, u"Flow Temperature °C", 10, u"10"},
        {"on time days unscaled", 0x23, {}, 1, {5}, 4, 0, u"On Time Days", 5, u"5"},
        {"extension FD error flag", 0xFD, {0x17}, 1, {3}, 19, 18, u"Error Flag (Binary)", 3, u"3"},
        {"extension FD volts", 0xFD, {0x4A}, 2, {0x10, 0x27}, 19, 38, u"Electric Units Volts", 100000, u"100000"},
        {"extension FD reserved", 0xFD, {0x23}, 1, {1}, 19, 0, u"Reserved", 1, u"1"},
        {"extension FB MWh", 0xFB, {0x00}, 1, {25}, 19, 51, u"Energy MWh", 2.5, u"2.5"},
        {"extension FB reserved", 0xFB, {0x06}, 1, {1}, 19, 0, u"Reserved", 1, u"1"},
        {"combinable forward flow", 0x93, {0x3B}, 1, {7}, 2, 95,
         u"Volume m3 - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 0.007, u"0.007"},
        {"FD chain keeps first number", 0xFD, {0x97, 0x3B}, 1, {1}, 19, 18,
         u"Error Flag (Binary) - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 1, u"1"},
        {"FD without chain bit ignores the next VIFE", 0xFD, {0x17, 0x3B}, 1, {1}, 19, 18, u"Error Flag (Binary)", 1,
         u"1"},
        {"reserved combinable", 0x93, {0x10}, 1, {1}, 2, 0, u"Volume m3 - Reserved", 0.001, u"0.001"},
        {"phase extension", 0x93, {0xFC, 0x01}, 1, {1}, 2, 0, u"Volume m3 - At Phase L1", 0.001, u"0.001"},
        {"phase then more", 0x93, {0xFC, 0x81, 0x3B}, 1, {1}, 2, 95,
         u"Volume m3 - At Phase L1 - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 0.001,
         u"0.001"},
        {"unknown phase appends nothing", 0x93, {0xFC, 0x09}, 1, {1}, 2, 0, u"Volume m3", 0.001, u"0.001"},
        {"multiplicative correction", 0x84, {0x74}, 1, {100}, 0, 103,
         u"Energy Wh - Moltiplicative Correction Factor: 10^(-2)", 10, u"10"},
        {"factor 1000", 0x80, {0x7D}, 1, {2}, 0, 105, u"Energy Wh - Multiplicative Cerrection Factor: 10^(3)", 2,
         u"2"},
        {"first of two combinable numbers wins", 0x93, {0xA2, 0x3B}, 1, {1}, 2, 72,
         u"Volume m3 - Per Hour - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 0.001,
         u"0.001"},
        {"no chain without bit 7", 0x13, {0x3B}, 1, {1}, 2, 0, u"Volume m3", 0.001, u"0.001"},
        {"manufacturer VIF has no chain", 0xFF, {0x3B}, 1, {1}, 65535, 0, u"Manufacturer Specific", 1, u"1"},
        {"any VIF", 0x7E, {}, 1, {1}, 65535, 0, u"Any VIF", 1, u"1"},
        {"VIF 0x6F", 0x6F, {}, 1, {4}, 65535, 0, u"", 4, u"4"},
        // Characters travel last first and are shown in reading order.
        {"plain text VIF", 0x7C, {}, 13, {'A', 'b', 'c'}, 21, 0, u"Vif in following String", 0, u"cbA"},
        {"time point F", 0x6D, {}, 4, {0x1E, 0x0C, 0x2F, 0x25}, 20, 0, u"Time Point Date and Time (Type F)",
         623840286, u"15/05/17 12:30"},
        {"time point G", 0x6C, {}, 2, {0x2F, 0x25}, 20, 0, u"Time Point Date (Type G)", 9519, u"15/05/17"},
        {"time point J", 0x6D, {}, 3, {0x05, 0x2A, 0x09}, 20, 0, u"Time Point Extended Time Point (Type J)", 600581,
         u"09:42:05"},
        {"time point I", 0x6D, {}, 6, {0x05, 0x2A, 0x49, 0x2F, 0x25, 0}, 20, 0,
         u"Time Point Extended Date and Time Point (Type I)", 159707113989.0, u"Tuesday 15/05/17 09:42:05"},
        {"time point other coding", 0x6D, {}, 1, {7}, 20, 0, u"", 7, u"7"},
        {"date VIFE as type G", 0x93, {0x6A}, 2, {0x2F, 0x25}, 2, 102, u"Volume m3 - Date(/Time) of Begin of First", 9519 / 1000.0,
         u"15/05/17"},
        {"date VIFE upper limit", 0x93, {0x4E}, 4, {0x1E, 0x0C, 0x2F, 0x25}, 2, 99,
         u"Volume m3 - Date(/Time) of Begin of Last Upper Limit Exceed", 623840286 / 1000.0, u"15/05/17 12:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TVariable_MBus rec;
        const double value = Decode(c.Vif, c.Vifes, c.Coding, c.Data, rec);
        EXPECT_EQ(rec.type_data, c.Type);
        EXPECT_EQ(rec.Type_Data_Vife, c.VifeType);
        EXPECT_EQ(rec.Desc_Type_Data, c.Desc);
        EXPECT_DOUBLE_EQ(value, c.Value);
        EXPECT_EQ(rec.ValueStr, c.Text);
    }
}

struct ValueCase {
    const char* Name;
    std::uint8_t Coding;
    std::vector<std::uint8_t> Data;
    std::uint8_t Lvar;
    double Value;
};

TEST(DecodeVIF, ValueByDataFieldCoding)
{
    const ValueCase cases[] = {
        {"int8 negative", 1, {0xFF}, 0, -1},
        {"int16", 2, {0x34, 0x12}, 0, 0x1234},
        {"int16 negative", 2, {0x00, 0x80}, 0, -32768},
        {"int24 sign-extended", 3, {0xFE, 0xFF, 0xFF}, 0, -2},
        {"int24 positive top", 3, {0xFF, 0xFF, 0x7F}, 0, 8388607},
        {"int32 negative", 4, {0xFF, 0xFF, 0xFF, 0xFF}, 0, -1},
        {"int48 sign-extended", 6, {0, 0, 0, 0, 0, 0x80}, 0, -140737488355328.0},
        {"int48 ignores byte 7", 6, {1, 0, 0, 0, 0, 0, 0xFF}, 0, 1},
        {"int64", 7, {0, 0, 0, 0, 0, 0, 0, 0x01}, 0, 72057594037927936.0},
        {"real", 5, {0x00, 0x00, 0x20, 0xC1}, 0, -10},
        {"no data", 0, {1, 2}, 0, 0},
        {"selection for readout", 8, {1, 2}, 0, 0},
        {"special functions", 15, {1, 2}, 0, 0},
        {"bcd 2", 9, {0x42}, 0, 42},
        {"bcd 4 digits", 10, {0x34, 0x12}, 0, 1234},
        {"bcd negative", 10, {0x12, 0xF4}, 0, -412},
        {"bcd F only counts in last byte", 10, {0xF2, 0x01}, 0, 0xF * 10 + 2 + 100},
        {"bcd invalid nibble counts as its value", 9, {0xA1}, 0, 101},
        {"bcd 6", 11, {0x56, 0x34, 0x12}, 0, 123456},
        {"bcd 12", 14, {0x12, 0x90, 0x78, 0x56, 0x34, 0x12}, 0, 123456789012.0},
        {"variable positive", 13, {0x21, 0x43}, 0xC2, 4321},
        {"variable negative", 13, {0x21, 0x43}, 0xD2, -4321},
        {"variable 9 bytes", 13, {0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99}, 0xC9, 999999999999999999.0},
        {"variable out of range", 13, {0x21}, 0xCA, 0},
        {"variable text lvar", 13, {0x21}, 0x05, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        // VIF 0x7E ("Any VIF") has no scale, so the value comes out as decoded.
        TVariable_MBus rec;
        EXPECT_DOUBLE_EQ(Decode(0x7E, {}, c.Coding, c.Data, rec, c.Lvar), c.Value);
    }
}

TEST(DecodeVIF, RealsThatAreNoNumberStillGiveAText)
{
    // +infinity, -infinity, NaN
    const std::vector<std::uint8_t> reals[] = {
        {0x00, 0x00, 0x80, 0x7F}, {0x00, 0x00, 0x80, 0xFF}, {0x01, 0x00, 0xC0, 0x7F}};
    for (const auto& data : reals) {
        TVariable_MBus rec;
        Decode(0x13, {0xFD}, 5, data, rec);
        EXPECT_FALSE(rec.ValueStr.empty());
    }
}

TEST(DecodeVIF, HelpersForDigitsAndPowers)
{
    EXPECT_EQ(TVifDecoder::Two_Digits(7), u"07");
    EXPECT_EQ(TVifDecoder::Two_Digits(0), u"00");
    EXPECT_EQ(TVifDecoder::Two_Digits(12), u"12");
    EXPECT_EQ(TVifDecoder::Two_Digits(123), u"123");
    EXPECT_EQ(TVifDecoder::Pow10(0), 1);
    EXPECT_EQ(TVifDecoder::Pow10(18), 1000000000000000000LL);
    EXPECT_EQ(TVifDecoder::Pow10(19), 0);
    EXPECT_EQ(TVifDecoder::Pow10(-1), 0);

    TVifDecoder dec;
    std::memset(dec.App_Data_Val, 0x99, sizeof dec.App_Data_Val);
    // More bytes than an int64 holds stop at 18 digits instead of overflowing.
    EXPECT_EQ(dec.BCD_To_Int(40), 999999999999999999LL);
    EXPECT_EQ(dec.BCD_To_Int(0), 0);
    EXPECT_EQ(dec.BCD_To_Int(-3), 0);
}

TEST(DecodeVIF, RandomChainsAndDataNeverReadOutside)
{
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> nbyte(-10, 300);
    for (int round = 0; round < 20000; ++round) {
        TVifDecoder dec;
        for (auto& b : dec.App_Data_Val) b = std::uint8_t(byte(rng));
        // Chains of all-extension bytes run to the end of the VIFE buffer.
        const bool longChain = round % 4 == 0;
        for (auto& b : dec.App_Vife_Val) b = std::uint8_t(longChain ? (byte(rng) | 0x80) : byte(rng));
        TVariable_MBus rec;
        const std::uint8_t vif = std::uint8_t(byte(rng));
        const double v = dec.Decode_VIF(vif, dec.App_Vife_Val[0], rec, nbyte(rng), std::uint8_t(byte(rng)),
                                        std::uint8_t(byte(rng)));
        (void)v;
        ASSERT_LE(rec.ValueStr.size(), 256u);
    }
}

}  // namespace
