#include <gtest/gtest.h>

#include <memory>

#include "MBusFrames.h"
#include "UDecode_Frame.h"
#include "UScan_Results.h"
#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace {

using mbus_test::Bytes;
using mbus_test::Hex;
using mbus_test::Wired_Frame;
using mbus_test::WiredHeader;

plat::TDateTime When() { return plat::EncodeDate(2026, 12, 10) + plat::EncodeTime(16, 30, 5, 0); }

class DecodeRecords : public ::testing::Test {
protected:
    DecodeRecords() { plat::FormatSettings = plat::TFormatSettings{}; }
    ~DecodeRecords() override
    {
        Clear_List_Slave_MBus(wired);
        Clear_List_Slave_wMBus(wireless);
        plat::FormatSettings = saved;
    }

    // The record walk over an exact-size heap copy of Records.
    TSlave_MBus& Walk(const Bytes& Records, TMBusType Type = mtWired)
    {
        holder = std::make_unique<TSlave_MBus>();
        const Bytes copy(Records);
        dec.MBusType = Type;
        complete = dec.Decode_Data_Records(holder->List_Var, std::int32_t(copy.size()) - 1, copy.data());
        return *holder;
    }

    std::int32_t Decode(const Bytes& Frame, std::int32_t Index = -1)
    {
        const Bytes copy(Frame);
        return dec.Decode_Wired_Frame(copy.data(), std::int32_t(copy.size()), Index, complete);
    }

    TSlave_MBus& Slave(int i) { return *static_cast<TSlave_MBus*>(wired.Items(i)); }

    plat::TFormatSettings saved = plat::FormatSettings;
    plat::FakeClock clock{0, When()};
    plat::ScopedClock scoped{clock};
    plat::TList wired, wireless;
    TMBusFrameDecoder dec{wired, wireless};
    std::unique_ptr<TSlave_MBus> holder;
    bool complete = false;
};

TEST_F(DecodeRecords, TwentyTwoByteFrameWithIdleFillerListsTheSlaveWithoutRecords)
{
    WiredHeader h;
    h.A = 7;
    h.Status = 0x04;
    h.Version = 0x21;
    const Bytes frame = Wired_Frame({0x2F}, h);
    ASSERT_EQ(frame.size(), 22u);
    EXPECT_EQ(Decode(frame), 0);
    EXPECT_TRUE(complete);
    ASSERT_EQ(wired.Count(), 1);
    const TSlave_MBus& s = Slave(0);
    EXPECT_EQ(s.Primary_Addresss, 7);
    EXPECT_EQ(s.Secondary_Addresss, u"12345678");
    EXPECT_EQ(s.Manufacture, 0x0443);
    EXPECT_EQ(s.descManufacture, u"ABC");
    EXPECT_EQ(s.Version, 0x21);
    EXPECT_EQ(s.Medium, 0x16);
    EXPECT_EQ(s.descmedium, u"Cold Water");
    EXPECT_EQ(s.Status, 0x04);
    EXPECT_EQ(s.List_Var.Count(), 0);
    EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::EndOfData);
}

TEST_F(DecodeRecords, SecondaryAddressIsTheIdFieldInHexWithAtLeastTwoDigits)
{
    const struct {
        Bytes Id;
        std::u16string Text;
    } cases[] = {
        {{0x78, 0x56, 0x34, 0x12}, u"12345678"},
        {{0x01, 0x00, 0x00, 0x00}, u"01"},
        {{0x00, 0x00, 0x00, 0x00}, u"00"},
        {{0x00, 0x00, 0x00, 0x01}, u"1000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(mbus_test::ToHex(c.Id.data(), c.Id.size()));
        WiredHeader h;
        h.Id = c.Id;
        const std::int32_t i = Decode(Wired_Frame({0x2F}, h));
        ASSERT_GE(i, 0);
        EXPECT_EQ(Slave(i).Secondary_Addresss, c.Text);
    }
}

TEST_F(DecodeRecords, FramesFailingTheChecksOrAnUnknownIndexChangeNothing)
{
    ASSERT_EQ(Decode(Wired_Frame({0x01, 0x13, 0x05})), 0);
    const Bytes good = Wired_Frame({0x01, 0x13, 0x06});
    struct Case {
        const char* Name;
        Bytes Frame;
        std::int32_t Index;
    };
    Bytes badSum = good, badStop = good, badL = good, badStart = good;
    badSum[badSum.size() - 2] ^= 1;
    badStop.back() = 0x17;
    badL[2] ^= 1;
    badStart[3] = 0x69;
    const Case cases[] = {
        {"21 bytes", Bytes(good.begin(), good.begin() + 21), -1},
        {"checksum", badSum, -1},
        {"stop byte", badStop, -1},
        {"L fields differ", badL, -1},
        {"second start byte", badStart, -1},
        {"index past the list", good, 1},
        {"index far past the list", good, 1000000},
        {"empty", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Decode(c.Frame, c.Index), -1);
        EXPECT_TRUE(complete);
        EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::FrameInvalid);
        ASSERT_EQ(wired.Count(), 1);
        EXPECT_EQ(Slave(0).List_Var.Count(), 1);
    }
    EXPECT_EQ(dec.Decode_Wired_Frame(nullptr, 40, -1, complete), -1);
}

TEST_F(DecodeRecords, AWholeAnswerInTwoTelegramsFillsOneSlave)
{
    const Bytes first = Hex("68 1B 1B 68 08 05 72 78 56 34 12 43 04 01 16 2A 00 00 00"
                            " 04 13 10 27 00 00  02 FD 17 03 00  1F  A1 16");
    const Bytes second = Hex("68 1E 1E 68 08 05 72 78 56 34 12 43 04 01 16 2A 00 00 00"
                             " 04 6D 1E 0C 2F 25  0C 06 78 56 34 12  0F 01 02  42 16");
    const std::int32_t index = Decode(first);
    ASSERT_EQ(index, 0);
    EXPECT_FALSE(complete);
    EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::MoreRecords);
    EXPECT_EQ(Decode(second, index), 0);
    EXPECT_TRUE(complete);
    EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::ManufacturerData);
    ASSERT_EQ(wired.Count(), 1);

    const struct {
        std::u16string Desc, Value, DataField;
        std::uint16_t Type;
        std::int32_t VifeType;
    } expected[] = {
        {u"Volume m3", u"10", u"32 Bit Integer", 2, 0},
        {u"Error Flag (Binary)", u"3", u"16 Bit Integer", 19, 18},
        {u"Time Point Date and Time (Type F)", u"15/05/17 12:30", u"32 Bit Integer", 20, 0},
        {u"Energy Wh", u"12345678000", u"8 Digit BCD", 0, 0},
    };
    const TSlave_MBus& s = Slave(0);
    ASSERT_EQ(s.List_Var.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TVariable_MBus& r = *s.Var(i);
        EXPECT_EQ(r.Desc_Type_Data, expected[i].Desc);
        EXPECT_EQ(r.ValueStr, expected[i].Value);
        EXPECT_EQ(r.DataFieldStr, expected[i].DataField);
        EXPECT_EQ(r.type_data, expected[i].Type);
        EXPECT_EQ(r.Type_Data_Vife, expected[i].VifeType);
        EXPECT_EQ(r.FunctionFieldStr, u"Istantaneous value");
        EXPECT_EQ(r.datagiorno, u"10/12/2026");
        EXPECT_EQ(r.tempo, u"16:30:05");
        EXPECT_TRUE(r.Real_Wireless_Var);
    }
    EXPECT_TRUE(s.Var(3)->Is_BCD);
}

struct CodingCase {
    const char* Name;
    Bytes Record;
    std::u16string DataFieldStr, descdim;
    std::int32_t nbyte;
    bool Is_BCD;
    std::u16string totdati, ValueStr;
};

TEST_F(DecodeRecords, EachDataFieldCodingReadsItsBytesAndTexts)
{
    // VIF 0x13: volume in litres (10^-3 m3).
    const CodingCase cases[] = {
        {"0 no data", {0x00, 0x13}, u"", u"No data", 0, false, u"", u"0"},
        {"1", {0x01, 0x13, 0x05}, u"8 Bit Integer", u"8 Bit Integer", 1, false, u"05", u"0.005"},
        {"2", {0x02, 0x13, 0x34, 0x12}, u"16 Bit Integer", u"16 Bit Integer", 2, false, u"3412", u"4.66"},
        {"3", {0x03, 0x13, 0x01, 0x00, 0x80}, u"24 Bit Integer", u"24 Bit Integer", 3, false, u"010080",
         u"-8388.607"},
        {"4", {0x04, 0x13, 0x10, 0x27, 0x00, 0x00}, u"32 Bit Integer", u"32 Bit Integer", 4, false, u"10270000",
         u"10"},
        {"5", {0x05, 0x13, 0x00, 0x00, 0x20, 0x41}, u"32 Bit Real", u"32 Bit real", 4, false, u"00002041", u"0.01"},
        {"6", {0x06, 0x13, 1, 0, 0, 0, 0, 0}, u"48 Bit Integer", u"48 Bit Integer", 6, false, u"010000000000",
         u"0.001"},
        {"7", {0x07, 0x13, 2, 0, 0, 0, 0, 0, 0, 0}, u"64 Bit Integer", u"64 Bit Integer", 8, false,
         u"0200000000000000", u"0.002"},
        {"9", {0x09, 0x13, 0x42}, u"2 Digit BCD", u"2 digit BCD", 1, true, u"42", u"0.042"},
        {"10", {0x0A, 0x13, 0x34, 0x12}, u"4 Digit BCD", u"4 digit BCD", 2, true, u"3412", u"1.234"},
        {"11", {0x0B, 0x13, 0x56, 0x34, 0x12}, u"6 Digit BCD", u"6 digit BCD", 3, true, u"563412", u"123.456"},
        {"12", {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12}, u"8 Digit BCD", u"8 digit BCD", 4, true, u"78563412",
         u"12345.678"},
        {"13", {0x0D, 0x13, 0x03, 'c', 'b', 'a'}, u"Variable Length - ASCII String with 3characters",
         u"Variable length: ASCII string with 3 characters", 3, false, u"636261", u"abc"},
        {"14", {0x0E, 0x13, 0x12, 0x90, 0x78, 0x56, 0x34, 0x12}, u"12 Digit BCD", u"12 digit BCD", 6, true,
         u"129078563412", u"123456789.012"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes records = c.Record;
        records.insert(records.end(), {0x01, 0x13, 0x07});  // the walk goes on right after
        const TSlave_MBus& s = Walk(records);
        EXPECT_TRUE(complete);
        ASSERT_EQ(s.List_Var.Count(), 2);
        const TVariable_MBus& r = *s.Var(0);
        EXPECT_EQ(r.DataFieldStr, c.DataFieldStr);
        EXPECT_EQ(r.descdim, c.descdim);
        EXPECT_EQ(r.nbyte, c.nbyte);
        EXPECT_EQ(r.Is_BCD, c.Is_BCD);
        EXPECT_EQ(r.totdati, c.totdati);
        EXPECT_EQ(r.ValueStr, c.ValueStr);
        EXPECT_EQ(r.dimension, c.Record[0] & 0x0F);
        EXPECT_FALSE(r.errata);
        EXPECT_EQ(s.Var(1)->ValueStr, u"0.007");
    }
}

TEST_F(DecodeRecords, ThirtyTwoBitIntegerKeepsItsBytesLittleEndian)
{
    const TSlave_MBus& s = Walk({0x04, 0x13, 0x78, 0x56, 0x34, 0x12, 0x07, 0x13, 1, 2, 3, 4, 5, 6, 7, 0x88});
    ASSERT_EQ(s.List_Var.Count(), 2);
    EXPECT_EQ(s.Var(0)->DIF, u"$04");
    EXPECT_EQ(s.Var(0)->dato_A, 0x12345678);
    EXPECT_EQ(s.Var(0)->dato_B, 0);
    EXPECT_EQ(s.Var(1)->dato_A, 0x04030201);
    EXPECT_EQ(s.Var(1)->dato_B, std::int32_t(0x88070605u));
}

struct LvarCase {
    std::uint8_t Lvar;
    std::int32_t Bytes;
    std::u16string DataFieldStr, descdim;
};

TEST_F(DecodeRecords, VariableLengthRangesReadTheirBytes)
{
    const LvarCase cases[] = {
        {0x02, 2, u"Variable Length - ASCII String with 2characters", u"Variable length: ASCII string with 2 characters"},
        {0xBF, 191, u"Variable Length - ASCII String with 191characters",
         u"Variable length: ASCII string with 191 characters"},
        {0xC2, 2, u"Variable Length - Positive BCD Number with 4 digits",
         u"Variable length: Positive BCD number with 2 *2 digits"},
        {0xD1, 1, u"Variable Length - Negative BCD Number with 2 digits",
         u"Variable length: Negative BCD number with 1 *2 digits"},
        {0xE3, 3, u"Variable Length - Binary Number with 3 Bytes", u"Variable length: Binary number with 3 bytes"},
        {0xF0, 16, u"Variable Length - Binary Number with 16 Bytes", u"Variable length: Binary number with 16 bytes"},
        {0xF4, 32, u"Variable Length - Binary Number with 32 Bytes", u"Variable length: Binary number with 32 bytes"},
        {0xF5, 48, u"Variable Length - Binary Number with 48 Bytes", u"Variable length: Binary number with 48 bytes"},
        {0xF6, 64, u"Variable Length - Binary Number with 64 Bytes", u"Variable length: Binary number with 64 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Lvar));
        Bytes records = {0x0D, 0x13, c.Lvar};
        records.insert(records.end(), std::size_t(c.Bytes), 0x21);
        records.insert(records.end(), {0x01, 0x13, 0x07});
        const TSlave_MBus& s = Walk(records);
        ASSERT_EQ(s.List_Var.Count(), 2);
        EXPECT_EQ(s.Var(0)->nbyte, c.Bytes);
        EXPECT_EQ(s.Var(0)->DataFieldStr, c.DataFieldStr);
        EXPECT_EQ(s.Var(0)->descdim, c.descdim);
        EXPECT_EQ(s.Var(1)->ValueStr, u"0.007");
        EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::EndOfData);
    }
}

TEST_F(DecodeRecords, ReservedVariableLengthIsStoredAsAnErrorAndEndsTheWalk)
{
    for (std::uint8_t lvar : {0xF7, 0xFA, 0xFB, 0xFF}) {
        SCOPED_TRACE(int(lvar));
        const TSlave_MBus& s = Walk({0x01, 0x13, 0x05, 0x0D, 0x13, lvar, 0x01, 0x13, 0x07});
        ASSERT_EQ(s.List_Var.Count(), 2);
        const TVariable_MBus& r = *s.Var(1);
        EXPECT_TRUE(r.errata);
        EXPECT_EQ(r.sterror, u"Non analizabile");
        EXPECT_EQ(r.DataFieldStr, u"Variable Length - Reserved");
        EXPECT_EQ(r.descdim, u"Variable length: Reserved");
        EXPECT_EQ(r.nbyte, 0);
        EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::ReservedLength);
        EXPECT_EQ(dec.Records_End.Offset, 6);
        EXPECT_TRUE(complete);
    }
}

struct WalkCase {
    const char* Name;
    Bytes Records;
    TMBusType Type;
    int Count;
    bool Complete;
    TRecordsOutcome Outcome;
    std::int32_t Offset;
};

TEST_F(DecodeRecords, SpecialDifsCodingEightAndAnyVifEndOrSkip)
{
    const Bytes r1 = {0x01, 0x13, 0x05};
    auto with = [&](Bytes middle) {
        Bytes b = r1;
        b.insert(b.end(), middle.begin(), middle.end());
        b.insert(b.end(), {0x01, 0x13, 0x06});
        return b;
    };
    const WalkCase cases[] = {
        {"0x0F manufacturer data", with({0x0F, 0xAA}), mtWired, 1, true, TRecordsOutcome::ManufacturerData, 3},
        {"0x1F more records", with({0x1F}), mtWired, 1, false, TRecordsOutcome::MoreRecords, 3},
        {"0x1F last", {0x01, 0x13, 0x05, 0x1F}, mtWired, 1, false, TRecordsOutcome::MoreRecords, 3},
        {"0x2F wired", with({0x2F, 0x2F}), mtWired, 2, true, TRecordsOutcome::EndOfData, 8},
        {"0x2F wireless", with({0x2F, 0x2F}), mtWireless, 4, true, TRecordsOutcome::EndOfData, 8},
        {"0x3F", with({0x3F}), mtWired, 1, true, TRecordsOutcome::ReservedDIF, 3},
        {"0x7F", with({0x7F}), mtWired, 1, true, TRecordsOutcome::ReservedDIF, 3},
        {"0x8F skipped", with({0x8F}), mtWired, 2, true, TRecordsOutcome::EndOfData, 7},
        {"0xFF skipped", with({0xFF}), mtWireless, 2, true, TRecordsOutcome::EndOfData, 7},
        {"coding 8", with({0x08, 0x13}), mtWired, 1, true, TRecordsOutcome::Selection, 3},
        {"VIF 0x7E", with({0x01, 0x7E, 0x05}), mtWired, 1, true, TRecordsOutcome::AnyVIF, 3},
        {"VIF 0xFE", with({0x01, 0xFE, 0x00, 0x05}), mtWired, 1, true, TRecordsOutcome::AnyVIF, 3},
        {"empty", {}, mtWired, 0, true, TRecordsOutcome::EndOfData, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSlave_MBus& s = Walk(c.Records, c.Type);
        EXPECT_EQ(s.List_Var.Count(), c.Count);
        EXPECT_EQ(complete, c.Complete);
        EXPECT_EQ(dec.Records_End.Outcome, c.Outcome);
        EXPECT_EQ(dec.Records_End.Offset, c.Offset);
    }
    const TSlave_MBus& s = Walk(with({0x2F, 0x2F}), mtWireless);
    ASSERT_EQ(s.List_Var.Count(), 4);
    for (int i : {1, 2}) {
        const TVariable_MBus& filler = *s.Var(i);
        EXPECT_FALSE(filler.Real_Wireless_Var);
        EXPECT_FALSE(filler.errata);
        EXPECT_EQ(filler.DIF, u"$2F");
        EXPECT_EQ(filler.DataFieldStr, u"Special Function");
        EXPECT_EQ(filler.datagiorno, u"10/12/2026");
        EXPECT_EQ(filler.tempo, u"16:30:05");
    }
    EXPECT_TRUE(s.Var(0)->Real_Wireless_Var);
}

TEST_F(DecodeRecords, RecordsRunningPastTheDataAreNotStored)
{
    // The answer buffer still holds two bytes of an earlier answer after the last index: the
    // 32-bit record must not be completed from them.
    const Bytes buffer = {0x01, 0x13, 0x05, 0x04, 0x13, 0x10, 0x27, 0x00, 0x00};
    auto list = std::make_unique<TSlave_MBus>();
    EXPECT_TRUE(dec.Decode_Data_Records(list->List_Var, 6, buffer.data()));
    EXPECT_EQ(list->List_Var.Count(), 1);
    EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::Truncated);
    EXPECT_EQ(dec.Records_End.Offset, 3);

    const WalkCase cases[] = {
        {"DIFE chain", {0x01, 0x13, 0x05, 0x84, 0x90}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"VIF missing", {0x01, 0x13, 0x05, 0x84, 0x10}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"VIFE missing", {0x01, 0x13, 0x05, 0x01, 0x93}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"VIFE chain open", {0x01, 0x13, 0x05, 0x01, 0x93, 0xBB}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"unit length missing", {0x01, 0x13, 0x05, 0x01, 0x7C}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"unit past data", {0x01, 0x13, 0x05, 0x01, 0x7C, 0x05, 'h', 'W'}, mtWired, 1, true,
         TRecordsOutcome::Truncated, 3},
        {"LVAR missing", {0x01, 0x13, 0x05, 0x0D, 0x13}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
        {"LVAR past data", {0x01, 0x13, 0x05, 0x0D, 0x13, 0x05, 'a'}, mtWired, 1, true, TRecordsOutcome::Truncated,
         3},
        {"binary past data", {0x01, 0x13, 0x05, 0x0D, 0x13, 0xF0, 1, 2, 3, 4}, mtWireless, 1, true,
         TRecordsOutcome::Truncated, 3},
        {"data past data", {0x01, 0x13, 0x05, 0x07, 0x13, 1, 2, 3}, mtWired, 1, true, TRecordsOutcome::Truncated, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSlave_MBus& s = Walk(c.Records, c.Type);
        EXPECT_EQ(s.List_Var.Count(), c.Count);
        EXPECT_EQ(complete, c.Complete);
        EXPECT_EQ(dec.Records_End.Outcome, c.Outcome);
        EXPECT_EQ(dec.Records_End.Offset, c.Offset);
    }
}

TEST_F(DecodeRecords, DifeChainsGiveStorageTariffAndSubunit)
{
    const struct {
        const char* Name;
        Bytes Records;
        std::int64_t Storage;
        std::uint16_t Tariff, Device;
        std::int32_t NumDife;
        std::u16string Dife;
    } cases[] = {
        {"84 10", {0x84, 0x10, 0x13, 1, 0, 0, 0}, 0, 1, 0, 1, u"$10 "},
        {"C4 01", {0xC4, 0x01, 0x13, 1, 0, 0, 0}, 3, 0, 0, 1, u"$01 "},
        {"44", {0x44, 0x13, 1, 0, 0, 0}, 1, 0, 0, 0, u""},
        {"84 C0 02", {0x84, 0xC0, 0x02, 0x13, 1, 0, 0, 0}, 64, 0, 1, 2, u"$C0 $02 "},
        {"84 B5 23", {0x84, 0xB5, 0x23, 0x13, 1, 0, 0, 0}, 2 * (5 + 3 * 16), 3 + 2 * 4, 0, 2, u"$B5 $23 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSlave_MBus& s = Walk(c.Records);
        ASSERT_EQ(s.List_Var.Count(), 1);
        const TVariable_MBus& r = *s.Var(0);
        EXPECT_EQ(r.storage_number, c.Storage);
        EXPECT_EQ(r.tarif, c.Tariff);
        EXPECT_EQ(r.device, c.Device);
        EXPECT_EQ(r.numdife, c.NumDife);
        EXPECT_EQ(r.DIFE, c.Dife);
        EXPECT_EQ(r.ValueStr, u"0.001");
    }
}

TEST_F(DecodeRecords, ExtensionChainsKeepTenBytesAndAreConsumedWhole)
{
    // Ten DIFEs of storage digit 1: storage = 2 * (16^0 + ... + 16^9).
    std::int64_t storage = 0;
    for (int k = 9; k >= 0; --k) storage = storage * 16 + 1;
    storage *= 2;
    for (int length : {10, 12}) {
        SCOPED_TRACE(length);
        Bytes records = {0x81};
        records.insert(records.end(), std::size_t(length - 1), 0x81);
        records.push_back(0x01);
        // VIF with as many VIFEs (reserved combinable code 0x10), then one data byte.
        records.push_back(0x93);
        records.insert(records.end(), std::size_t(length - 1), 0x90);
        records.push_back(0x10);
        records.insert(records.end(), {0x05, 0x01, 0x13, 0x07});
        const TSlave_MBus& s = Walk(records);
        ASSERT_EQ(s.List_Var.Count(), 2);
        const TVariable_MBus& r = *s.Var(0);
        EXPECT_EQ(r.numdife, 10);
        EXPECT_EQ(r.DIFE.size(), 40u);
        EXPECT_EQ(r.storage_number, storage);
        EXPECT_EQ(r.VIFE.size(), 40u);
        EXPECT_EQ(r.PrinVIFE, 0x90);
        EXPECT_EQ(r.totdati, u"05");
        EXPECT_EQ(s.Var(1)->ValueStr, u"0.007");
    }
}

TEST_F(DecodeRecords, VifKindAndLookupValue)
{
    const struct {
        const char* Name;
        Bytes Records;
        std::uint8_t casovif;
        std::int32_t vifvalue;
        std::u16string Desc;
    } cases[] = {
        {"primary", {0x01, 0x13, 0x05}, 0, 0x13, u"Volume m3"},
        {"primary with VIFE", {0x01, 0x93, 0x3B, 0x05}, 0, 0x93,
         u"Volume m3 - Accumulation Only if Positive Contributions (Forward Flow Contribution)"},
        {"0xFD", {0x01, 0xFD, 0x17, 0x05}, 1, 0x17, u"Error Flag (Binary)"},
        {"0xFB", {0x01, 0xFB, 0x00, 0x05}, 2, 0x00, u"Energy MWh"},
        {"0x7F", {0x01, 0x7F, 0x05}, 100, -1, u"Manufacturer Specific"},
        {"0xFF", {0x01, 0xFF, 0x01, 0x05}, 100, -1, u"Manufacturer Specific"},
        {"0x7B", {0x01, 0x7B, 0x05}, 0, -1, u"Energy MWh"},
        {"0x7D", {0x01, 0x7D, 0x05}, 0, -1, u"Credit of (currency units)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSlave_MBus& s = Walk(c.Records);
        ASSERT_EQ(s.List_Var.Count(), 1);
        EXPECT_EQ(s.Var(0)->casovif, c.casovif);
        EXPECT_EQ(s.Var(0)->vifvalue, c.vifvalue);
        EXPECT_EQ(s.Var(0)->VIF, c.Records[1]);
        EXPECT_EQ(s.Var(0)->Desc_Type_Data, c.Desc);
    }
}

TEST_F(DecodeRecords, PlainTextUnitIsReadBeforeTheVifesAndReversed)
{
    const TSlave_MBus& s = Walk({0x04, 0x7C, 0x03, 'h', 'W', 'k', 0x10, 0x27, 0x00, 0x00,
                                 0x01, 0xFC, 0x02, 'V', 'm', 0x74, 0x05});
    ASSERT_EQ(s.List_Var.Count(), 2);
    EXPECT_EQ(s.Var(0)->VIF_ASCII, u"kWh");
    EXPECT_EQ(s.Var(0)->casovif, 101);
    EXPECT_EQ(s.Var(0)->type_data, 21);
    // A numeric coding under a plain-text unit shows its number, not its bytes as characters.
    EXPECT_EQ(s.Var(0)->ValueStr, u"10000");
    EXPECT_EQ(s.Var(1)->VIF_ASCII, u"mV");
    EXPECT_EQ(s.Var(1)->VIFE, u"$74 ");
    EXPECT_EQ(s.Var(1)->ValueStr, u"0.05");

    // A unit longer than 192 characters keeps the first 192 in reading order.
    Bytes records = {0x01, 0x7C, 200};
    for (int i = 0; i < 200; ++i) records.push_back(std::uint8_t(i < 8 ? 'x' : 'a'));
    records.push_back(0x05);
    const TSlave_MBus& t = Walk(records);
    ASSERT_EQ(t.List_Var.Count(), 1);
    EXPECT_EQ(t.Var(0)->VIF_ASCII, std::u16string(192, u'a'));
}

TEST_F(DecodeRecords, ValueTextsForWhatMetersSend)
{
    const struct {
        const char* Name;
        Bytes Records;
        std::u16string ValueStr;
        bool errata;
    } cases[] = {
        {"characters after any VIF read last first", {0x0D, 0x13, 0x03, 'c', 'b', 'a'}, u"abc", false},
        {"control characters left out", {0x0D, 0x78, 0x04, 0x00, 'B', 0x01, 'A'}, u"AB", false},
        {"date and time with the invalid bit", {0x04, 0x6D, 0x9E, 0x0C, 0x2F, 0x25}, u"Invalid", false},
        {"date and time valid", {0x04, 0x6D, 0x1E, 0x0C, 0x2F, 0x25}, u"15/05/17 12:30", false},
        {"BCD with an error digit", {0x0A, 0x13, 0xE1, 0x12}, u"12E1", true},
        {"BCD with a leading F is negative", {0x0A, 0x13, 0x12, 0xF4}, u"-0.412", false},
        {"variable BCD with an error digit", {0x0D, 0x13, 0xC1, 0xA0}, u"A0", true},
        {"variable binary number", {0x0D, 0x13, 0xE2, 0x10, 0x27}, u"10", false},
        {"variable binary number of 16 bytes", {0x0D, 0x93, 0x7D, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0},
         u"1.84467440737096E19", false},
        {"negative binary number of 16 bytes",
         {0x0D, 0x93, 0x7D, 0xF0, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0xFF, 0xFF},
         u"-2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSlave_MBus& s = Walk(c.Records);
        ASSERT_EQ(s.List_Var.Count(), 1);
        EXPECT_EQ(s.Var(0)->ValueStr, c.ValueStr);
        EXPECT_EQ(s.Var(0)->errata, c.errata);
        EXPECT_EQ(s.Var(0)->sterror, c.errata ? u"BCD Error" : u"");
    }
}

TEST_F(DecodeRecords, FunctionFieldTexts)
{
    const std::u16string texts[] = {u"Istantaneous value", u"Maximum value", u"Minimum value",
                                    u"Value during error state"};
    for (int f = 0; f < 4; ++f) {
        const TSlave_MBus& s = Walk({std::uint8_t(0x01 | f << 4), 0x13, 0x05});
        ASSERT_EQ(s.List_Var.Count(), 1);
        EXPECT_EQ(s.Var(0)->function_fild, f);
        EXPECT_EQ(s.Var(0)->FunctionFieldStr, texts[f]);
    }
}

TEST_F(DecodeRecords, FixedDataStructureIsListedWithoutRecords)
{
    for (std::uint8_t ci : {0x73, 0x77}) {
        WiredHeader h;
        h.CI = ci;
        const std::int32_t i = Decode(Wired_Frame({0x01, 0x13, 0x05}, h));
        ASSERT_GE(i, 0);
        EXPECT_TRUE(complete);
        EXPECT_EQ(Slave(i).List_Var.Count(), 0);
        EXPECT_EQ(dec.Records_End.Outcome, TRecordsOutcome::FixedStructure);
    }
}

TEST(DecodeFrameTexts, ManufacturerLetters)
{
    const struct {
        std::uint16_t Id;
        std::u16string Text;
    } cases[] = {
        {0x0443, u"ABC"}, {0x0000, u"???"}, {0x0440, u"AB?"}, {0x6B5A, u"ZZZ"}, {0x7FFF, u"???"},
        {0x8443, u"ABC"}, {0x2C2D, u"KAM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id);
        EXPECT_EQ(TMBusFrameDecoder::Trova_Man(c.Id), c.Text);
    }
}

TEST(DecodeFrameTexts, MediumDescriptions)
{
    const struct {
        std::int32_t Code;
        std::u16string Text;
    } cases[] = {
        {0, u"Other"}, {2, u"Electricity"}, {7, u"Water"}, {8, u"Heat Cost Allocator."}, {12, u"Heat (inlet) "},
        {15, u"Unknown Medium"}, {16, u"Other"}, {21, u"Other"}, {22, u"Cold Water"}, {25, u"A/D Converter"},
        {26, u"Other"}, {255, u"Other"}, {-1, u"Other"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(TMBusFrameDecoder::Medium_Description(c.Code), c.Text);
    }
}

} // namespace
