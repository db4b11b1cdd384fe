#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "BlockAES.h"
#include "MBusFrames.h"
#include "UDecode_Frame.h"
#include "UScan_Results.h"
#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace {

using mbus_test::Bytes;
using mbus_test::Hex;
using mbus_test::Telegram;

// C 0x44, manufacturer 0x0443 ("ABC"), identification 12345678, version 1, water.
const Bytes Link = {0x44, 0x43, 0x04, 0x78, 0x56, 0x34, 0x12, 0x01, 0x07};
const Bytes Other_Link = {0x44, 0x43, 0x04, 0x11, 0x11, 0x11, 0x11, 0x01, 0x07};
// Two records: a volume of 10 m3 and an error flag of 3.
const Bytes Records = {0x04, 0x13, 0x10, 0x27, 0x00, 0x00, 0x01, 0xFD, 0x17, 0x03};

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes b;
    for (const auto& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

// Short transport header: access number, status, configuration word (N blocks, mode).
Bytes Short_Header(std::uint8_t Mode, int Blocks = 0) { return {0x7A, 0x33, 0x00, std::uint8_t(Blocks << 4), Mode}; }

class DecodeWireless : public ::testing::Test {
protected:
    DecodeWireless() { plat::FormatSettings = plat::TFormatSettings{}; }
    ~DecodeWireless() override
    {
        Clear_List_Slave_MBus(wired);
        Clear_List_Slave_wMBus(wireless);
        plat::FormatSettings = saved;
    }

    // Decodes an exact-size heap copy; returns the bytes as the decoder left them.
    Bytes Hear(const Bytes& Telegram, TRadioModule Module = rmTelit)
    {
        Bytes copy(Telegram);
        calls.clear();
        dec.Decode_Wireless_Frame(Module, copy.data(), std::int32_t(copy.size()),
                                  [this](std::int32_t Index, TSlave_wMBus* Slave) { calls.push_back({Index, Slave}); });
        return copy;
    }

    TSlave_wMBus& Meter(int i) { return *static_cast<TSlave_wMBus*>(wireless.Items(i)); }

    void Give_Key(int i, const Bytes& Key)
    {
        Meter(i).Enable_Key = true;
        std::memcpy(Meter(i).Key, Key.data(), 16);
    }

    // The values of the records that carry data, in order.
    static std::vector<std::u16string> Values(const TSlave_wMBus& m)
    {
        std::vector<std::u16string> v;
        for (int i = 0; i < m.List_Var.Count(); ++i)
            if (m.Var(i)->Real_Wireless_Var) v.push_back(m.Var(i)->ValueStr);
        return v;
    }

    struct Call {
        std::int32_t Index;
        TSlave_wMBus* Slave;
    };
    std::vector<Call> calls;
    plat::TFormatSettings saved = plat::FormatSettings;
    plat::FakeClock clock{0, 46000.25};
    plat::ScopedClock scoped{clock};
    plat::TList wired, wireless;
    TMBusFrameDecoder dec{wired, wireless};
    const std::map<std::string, Bytes> fixtures = mbus_test::Wireless_Fixtures();
    const std::vector<std::u16string> fixture_values = {u"10", u"3"};
};

TEST_F(DecodeWireless, FirstTelegramAddsTheMeterAndParsesIt)
{
    Hear(Telegram(Link, Cat({Short_Header(0x00), Records}), 0x50));
    ASSERT_EQ(wireless.Count(), 1);
    const TSlave_wMBus& m = Meter(0);
    EXPECT_EQ(m.Message_Type, 0x44);
    EXPECT_EQ(m.LLA_Manufacturer, 0x0443);
    EXPECT_EQ(m.LLA_Manu_str, u"ABC");
    EXPECT_EQ(m.LLA_Address, 0x12345678);
    EXPECT_EQ(m.LLA_Version, 1);
    EXPECT_EQ(m.LLA_DeviceType, 7);
    EXPECT_EQ(m.ALA_Manufacturer, 0x0443);
    EXPECT_EQ(m.ALA_Manu_str, u"ABC");
    EXPECT_EQ(m.ALA_Address, 0x12345678);
    EXPECT_EQ(m.ALA_Version, 1);
    EXPECT_EQ(m.ALA_DeviceType, 7);
    EXPECT_EQ(m.RSSI, -82);
    EXPECT_EQ(m.RadioCrafts_Ind_Tab_Decript, -1);
    EXPECT_DOUBLE_EQ(m.DateTime, 46000.25);
    EXPECT_FALSE(m.Cripted);
    EXPECT_EQ(Values(m), fixture_values);
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Readable);
    EXPECT_TRUE(dec.New_Frame_Wireless);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Index, 0);
    EXPECT_EQ(calls[0].Slave, &Meter(0));
}

TEST_F(DecodeWireless, AMeterHeardAgainKeepsItsPlaceAndFirstFields)
{
    Hear(Telegram(Link, Cat({Short_Header(0x00), Records}), 0x50));
    Hear(Telegram(Other_Link, Cat({Short_Header(0x00), Records})));
    clock.SetNow(46001.5);
    Bytes link = Link;
    link[0] = 0x46;
    Hear(Telegram(link, Cat({Short_Header(0x05, 1), Bytes(16, 0xA7)}), 0x60));
    ASSERT_EQ(wireless.Count(), 2);
    const TSlave_wMBus& m = Meter(0);
    EXPECT_EQ(m.Message_Type, 0x44);
    EXPECT_EQ(m.LLA_Address, 0x12345678);
    EXPECT_EQ(m.RSSI, -98);
    EXPECT_DOUBLE_EQ(m.DateTime, 46001.5);
    EXPECT_TRUE(m.Cripted);
    EXPECT_EQ(m.List_Var.Count(), 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Index, 0);
}

TEST_F(DecodeWireless, LongHeaderAddressUnderTwoLinkLayersIsOneMeter)
{
    // Long transport header: identification 44332211, manufacturer "ABC", version 2, water.
    const Bytes header = {0x72, 0x11, 0x22, 0x33, 0x44, 0x43, 0x04, 0x02, 0x07, 0x33, 0x00, 0x00, 0x00};
    Hear(Telegram(Link, Cat({header, {0x2F, 0x2F}, Records})));
    Hear(Telegram(Other_Link, Cat({header, {0x2F, 0x2F}, Records})));
    ASSERT_EQ(wireless.Count(), 1);
    const TSlave_wMBus& m = Meter(0);
    EXPECT_EQ(m.ALA_Address, 0x44332211);
    EXPECT_EQ(m.ALA_Version, 2);
    EXPECT_EQ(m.LLA_Address, 0x12345678);
    EXPECT_FALSE(m.Cripted);
    EXPECT_EQ(Values(m), fixture_values);
    EXPECT_EQ(dec.Find_Wireless_Slave(0x0443, 0x44332211, 2, 7), 0);
    EXPECT_EQ(dec.Find_Wireless_Slave(0x0443, 0x12345678, 1, 7), -1);
}

TEST_F(DecodeWireless, SecurityModeFive)
{
    const Bytes plainPayload = Cat({{0x2F, 0x2F}, Records, Bytes(4, 0x2F)});
    const struct {
        const char* Name;
        Bytes Telegram;
        const char* Key;  // fixture name, or nullptr for no key
        bool Cripted;
    } cases[] = {
        {"7A without key", Telegram(Link, Cat({Short_Header(0x05, 1), Bytes(16, 0xA7)})), nullptr, true},
        {"7A already plain", Telegram(Link, Cat({Short_Header(0x05, 1), plainPayload})), nullptr, false},
        {"7A already plain, key given", Telegram(Link, Cat({Short_Header(0x05, 1), plainPayload})), "key", false},
        {"8C 7A right key", fixtures.at("mode5"), "key", false},
        {"8C 7A wrong key", fixtures.at("mode5"), "wrong_key", true},
        {"8C 7A without key", fixtures.at("mode5"), nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear_List_Slave_wMBus(wireless);
        Hear(c.Telegram);  // the first telegram only adds the meter
        if (c.Key) Give_Key(0, fixtures.at(c.Key));
        const Bytes after = Hear(c.Telegram);
        ASSERT_EQ(wireless.Count(), 1);
        EXPECT_EQ(Meter(0).Cripted, c.Cripted);
        if (c.Cripted) {
            EXPECT_EQ(Meter(0).List_Var.Count(), 0);
            EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Encrypted);
        } else {
            EXPECT_EQ(Values(Meter(0)), fixture_values);
        }
        EXPECT_EQ(calls.size(), 1u);
    }
    // The right key leaves the independently encrypted telegram's plaintext in place.
    Clear_List_Slave_wMBus(wireless);
    Hear(fixtures.at("mode5"));
    Give_Key(0, fixtures.at("key"));
    EXPECT_EQ(Hear(fixtures.at("mode5")), fixtures.at("mode5_plain"));
}

TEST_F(DecodeWireless, SecurityModeSeven)
{
    const Bytes& mode7 = fixtures.at("mode7");
    Hear(mode7);
    ASSERT_EQ(wireless.Count(), 1);
    EXPECT_TRUE(Meter(0).Cripted);

    Give_Key(0, fixtures.at("key"));
    EXPECT_EQ(Hear(mode7), fixtures.at("mode7_plain"));
    EXPECT_FALSE(Meter(0).Cripted);
    EXPECT_EQ(Values(Meter(0)), fixture_values);
    // The payload starts at offset 36: its idle filler 2F 2F comes first.
    ASSERT_GE(Meter(0).List_Var.Count(), 3);
    EXPECT_FALSE(Meter(0).Var(0)->Real_Wireless_Var);
    EXPECT_EQ(Meter(0).Var(2)->DIF, u"$04");

    // A wrong key drops the telegram: records, time, signal strength and flag stay.
    const int records = Meter(0).List_Var.Count();
    clock.SetNow(46002.0);
    Bytes weaker = mode7;
    weaker.back() = 0x70;
    Give_Key(0, fixtures.at("wrong_key"));
    EXPECT_EQ(Hear(weaker), weaker);
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Dropped);
    EXPECT_EQ(Meter(0).List_Var.Count(), records);
    EXPECT_FALSE(Meter(0).Cripted);
    EXPECT_EQ(Meter(0).RSSI, -82);
    EXPECT_DOUBLE_EQ(Meter(0).DateTime, 46000.25);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Slave, &Meter(0));

    // Without a message counter in the AFL the session key cannot be derived: dropped too.
    Bytes noCounter = mode7;
    noCounter[16] = 0x24;  // FCL without bit 11
    noCounter[14] = 11;    // AFL: FCL, MCL and the 8-byte MAC
    noCounter.erase(noCounter.begin() + 18, noCounter.begin() + 22);
    noCounter[0] = std::uint8_t(noCounter.size() - 3);
    Give_Key(0, fixtures.at("key"));
    Hear(noCounter);
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Dropped);
    EXPECT_EQ(Meter(0).List_Var.Count(), records);
}

TEST_F(DecodeWireless, SessionKeyAndCiphertextAgreeWithTheIndependentEncryptor)
{
    const Bytes& input = fixtures.at("mode7_session_input");
    TAesKey key;
    std::memcpy(key.data(), fixtures.at("key").data(), 16);
    TAesMemoryStream source(input);
    TAesBlock tag;
    Aes_Cmac_Stream(source, 16, key, tag);
    EXPECT_EQ(Bytes(tag.begin(), tag.end()), fixtures.at("mode7_session_key"));
}

TEST_F(DecodeWireless, SignalStrengthByRadioModule)
{
    const struct {
        TRadioModule Module;
        std::uint8_t Byte;
        std::int8_t Rssi;
    } cases[] = {
        {rmTelit, 0x50, -82}, {rmTelit, 0x00, -2}, {rmTelit, 0xFF, -1}, {rmTelit, 0x7E, -128}, {rmTelit, 0xFE, 0},
        {rmRadioCrafts, 0xA0, -47}, {rmRadioCrafts, 0xA1, -46}, {rmRadioCrafts, 0x00, 1}, {rmRadioCrafts, 0x7F, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Byte));
        EXPECT_EQ(TMBusFrameDecoder::RSSI_Of(c.Module, c.Byte), c.Rssi);
    }
    // RadioCrafts datagrams end with one trailer byte: the data end right before it.
    Hear(Telegram(Link, Cat({Short_Header(0x00), Records}), 0xA1, false), rmRadioCrafts);
    ASSERT_EQ(wireless.Count(), 1);
    EXPECT_EQ(Meter(0).RSSI, -46);
    EXPECT_EQ(Values(Meter(0)), fixture_values);
}

TEST_F(DecodeWireless, ShortOrOverrunningTelegramsHaveAnOutcome)
{
    const Bytes tooShort = Telegram(Bytes(Link.begin(), Link.begin() + 8), {});
    const Bytes longHeaderCut = Telegram(Link, {0x72, 0x11, 0x22, 0x33, 0x44, 0x43, 0x04, 0x02});
    Hear(tooShort);
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Ignored);
    Hear(longHeaderCut);
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Ignored);
    Hear({0x01});
    EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::Ignored);
    EXPECT_EQ(wireless.Count(), 0);
    EXPECT_TRUE(calls.empty());

    const struct {
        const char* Name;
        Bytes Body;
        TWirelessOutcome Outcome;
        int Records;
    } cases[] = {
        {"7A header cut", {0x7A, 0x33}, TWirelessOutcome::LayerPastData, 0},
        {"8C header cut", {0x8C, 0x20}, TWirelessOutcome::LayerPastData, 0},
        {"AFL longer than the telegram", Cat({{0x8C, 0x20, 0x33, 0x90, 0xC8, 0x00, 0x2C}, Bytes(20, 0)}),
         TWirelessOutcome::LayerPastData, 0},
        {"8C 78", Cat({{0x8C, 0x20, 0x33, 0x78}, Records}), TWirelessOutcome::Readable, 2},
        {"8D 78", Cat({{0x8D, 0x20, 0x33, 1, 2, 3, 4, 0, 0, 0x78}, Records}), TWirelessOutcome::Readable, 2},
        {"8D 7A mode 0", Cat({{0x8D, 0x20, 0x33, 1, 2, 3, 4, 0, 0}, Short_Header(0), Records}),
         TWirelessOutcome::Readable, 2},
        {"8D 72 mode 0",
         Cat({{0x8D, 0x20, 0x33, 1, 2, 3, 4, 0, 0, 0x72, 1, 2, 3, 4, 0x43, 0x04, 1, 7, 0x33, 0, 0, 0}, Records}),
         TWirelessOutcome::Readable, 2},
        {"78 after the link layer", Cat({{0x78}, Records}), TWirelessOutcome::Encrypted, 0},
        {"8E", Cat({{0x8E, 0x20, 0x33, 0x43, 0x04, 1, 2, 3, 4, 5, 6, 0x78}, Records}), TWirelessOutcome::Encrypted, 0},
        {"8D 90", Cat({{0x8D, 0x20, 0x33, 1, 2, 3, 4, 0, 0, 0x90, 0x02, 0x00, 0x00, 0x7A}, Records}),
         TWirelessOutcome::Encrypted, 0},
        {"7A mode 0 without records", Short_Header(0), TWirelessOutcome::Readable, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Clear_List_Slave_wMBus(wireless);
        Hear(Telegram(Link, c.Body));
        EXPECT_EQ(dec.Wireless_End.Outcome, c.Outcome);
        ASSERT_EQ(wireless.Count(), 1);
        EXPECT_EQ(Meter(0).Cripted, c.Outcome != TWirelessOutcome::Readable);
        EXPECT_EQ(Values(Meter(0)).size(), std::size_t(c.Records));
        EXPECT_EQ(calls.size(), 1u);
    }
}

TEST_F(DecodeWireless, EncryptedPayloadLongerThanTheTelegramIsNotDecrypted)
{
    // Mode 5 announcing 15 blocks where 2 arrived; mode 7 announcing 4 where 2 arrived.
    Bytes mode5 = fixtures.at("mode5");
    mode5[16] = 0xF0;
    Bytes mode7 = fixtures.at("mode7");
    mode7[33] = 0x40;
    for (const Bytes& t : {mode5, mode7}) {
        Clear_List_Slave_wMBus(wireless);
        Hear(t);
        Give_Key(0, fixtures.at("key"));
        EXPECT_EQ(Hear(t), t);
        EXPECT_EQ(dec.Wireless_End.Outcome, TWirelessOutcome::LayerPastData);
        EXPECT_TRUE(Meter(0).Cripted);
        EXPECT_EQ(Meter(0).List_Var.Count(), 0);
    }
}

TEST_F(DecodeWireless, ReadersHoldingTheResultsGuardSeeWholeMeters)
{
    // The listener thread adds and rewrites meters while the window's thread walks them under
    // the guard: every meter it sees is complete and every record readable.
    std::atomic<bool> done{false};
    std::thread listener([&] {
        for (int round = 0; round < 400; ++round) {
            Bytes link = Link;
            link[3] = std::uint8_t(round % 40);
            Bytes copy = Telegram(link, Cat({Short_Header(0x00), Records, {0x2F, 0x2F}}));
            dec.Decode_Wireless_Frame(rmTelit, copy.data(), std::int32_t(copy.size()), nullptr);
        }
        done = true;
    });
    while (!done) {
        TScanResultsGuard guard;
        for (int i = 0; i < wireless.Count(); ++i) {
            const TSlave_wMBus& m = Meter(i);
            ASSERT_EQ(m.ALA_Manu_str, u"ABC");
            ASSERT_EQ(m.List_Var.Count(), 4);
            ASSERT_EQ(m.Var(0)->DIF, u"$04");
            ASSERT_EQ(m.Var(3)->DIF, u"$2F");
        }
    }
    listener.join();
    EXPECT_EQ(wireless.Count(), 40);
}

TEST(DecodeFrameTexts, HexTextToBytes)
{
    const struct {
        std::u16string Text;
        Bytes Bytes_;
    } cases[] = {
        {u"", {}}, {u"0A1b", {0x0A, 0x1B}}, {u"FF00F", {0xFF, 0x00}}, {u"12G4", {0x12}}, {u"2F2F", {0x2F, 0x2F}},
    };
    for (const auto& c : cases) EXPECT_EQ(TMBusFrameDecoder::Hex_Text_To_Bytes(c.Text), c.Bytes_);
}

} // namespace
