// The shared validators and decoders: results and outputs for the inputs editors pass.
#include <gtest/gtest.h>

#include <cstdint>

#include "UComon.h"
#include "plat/SysUtils.h"

using plat::String;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }

struct SplitCase {
    const char16_t* text;
    bool ok;
    const char16_t* p[4];  // expected outputs; nullptr = not written
};

TEST(SplitIPAddress, PartsAndResult)
{
    const SplitCase cases[] = {
        {u"192.168.1.10", true, {u"192", u"168", u"1", u"10"}},
        {u" 192 . 168 . 1 . 10 ", true, {u"192", u"168", u"1", u"10"}},
        {u"010.001.000.255", true, {u"010", u"001", u"000", u"255"}},
        {u"0.0.0.0", true, {u"0", u"0", u"0", u"0"}},
        {u"192.168.1", false, {u"192", u"168", nullptr, nullptr}},
        {u"192.168.1.10.5", false, {u"192", u"168", u"1", u"10.5"}},
        {u"192.168.1.256", false, {u"192", u"168", u"1", u"256"}},
        {u"192.168..10", false, {u"192", u"168", u"", u"10"}},
        {u"-1.2.3.4", false, {u"-1", u"2", u"3", u"4"}},
        {u"0x1.2.3.4", false, {u"0x1", u"2", u"3", u"4"}},
        {u"$A.2.3.4", false, {u"$A", u"2", u"3", u"4"}},
        {u"a.b.c.d", false, {u"a", u"b", u"c", u"d"}},
        {u"", false, {nullptr, nullptr, nullptr, nullptr}},
        {u"192", false, {nullptr, nullptr, nullptr, nullptr}},
    };
    for (const SplitCase& c : cases) {
        String p[4] = {u"?", u"?", u"?", u"?"};
        EXPECT_EQ(Split_IP_Address(c.text, p[0], p[1], p[2], p[3]), c.ok) << U8(c.text);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(U8(p[i]), U8(c.p[i] ? String(c.p[i]) : String(u"?"))) << U8(c.text) << " part " << i + 1;
    }
}

struct DecodeCase {
    const char16_t* text;
    bool error;
    int b[4];  // -1 = untouched
};

TEST(DecodeIPAddress, BytesAndErrorFlag)
{
    const DecodeCase cases[] = {
        {u"192.168.1.10", false, {192, 168, 1, 10}},
        {u"10.0.7", true, {10, 0, 0, 7}},  // the third part finds no dot, the fourth takes the rest
        {u"", true, {-1, -1, -1, -1}},
        {u"1.2.3.4.5", true, {1, 2, 3, 0}},
        {u"256.1.1.1", true, {0, 1, 1, 1}},
        {u"1.2.3.", true, {1, 2, 3, 0}},
        {u"001.002.003.004", false, {1, 2, 3, 4}},
        {u"a.b.c.d", true, {0, 0, 0, 0}},
    };
    for (const DecodeCase& c : cases) {
        std::uint8_t b[4] = {77, 77, 77, 77};
        EXPECT_EQ(Decode_IP_Address(c.text, b[0], b[1], b[2], b[3]), c.error) << U8(c.text);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(int(b[i]), c.b[i] < 0 ? 77 : c.b[i]) << U8(c.text) << " byte " << i + 1;
    }
}

struct PortCase {
    const char16_t* text;
    bool ok;
    int b[4];
    int port;
};

TEST(DecodeIPPort, AddressAndPort)
{
    const PortCase cases[] = {
        {u"192.168.1.10:0", true, {192, 168, 1, 10}, 0},
        {u"192.168.1.10:65535", true, {192, 168, 1, 10}, 65535},
        {u" 10 . 0 . 0 . 1 : 502 ", true, {10, 0, 0, 1}, 502},
        {u"192.168.1.10", false, {0, 0, 0, 0}, 0},
        {u"192.168.1.10:65536", false, {0, 0, 0, 0}, 0},
        {u"192.168.1.10:", false, {0, 0, 0, 0}, 0},
        {u"192.168.1.256:80", false, {0, 0, 0, 0}, 0},
        {u"1.2.3:80", false, {0, 0, 0, 0}, 0},
        {u"1.2.3.4:5:6", false, {0, 0, 0, 0}, 0},
        {u"", false, {0, 0, 0, 0}, 0},
        {u"300.1.1.1:80", false, {0, 0, 0, 0}, 0},
    };
    for (const PortCase& c : cases) {
        std::uint8_t b[4] = {9, 9, 9, 9};
        std::uint16_t port = 9;
        EXPECT_EQ(Decode_IP_Port(c.text, b[0], b[1], b[2], b[3], port), c.ok) << U8(c.text);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(int(b[i]), c.b[i]) << U8(c.text) << " byte " << i + 1;
        EXPECT_EQ(int(port), c.port) << U8(c.text);
    }
}

struct KnxCase {
    const char16_t* text;
    bool group;
    bool allow_zero;
    int result;
};

TEST(CheckKNXAddress, PhysicalAndGroupForms)
{
    const KnxCase cases[] = {
        {u"1.1.20", false, false, 0},
        {u"15.15.255", false, false, 0},
        {u" 1 . 1 . 20 ", false, false, 0},
        {u"16.1.1", false, false, 1},
        {u"1.16.1", false, false, 1},
        {u"1.1.256", false, false, 1},
        {u"0.0.0", false, false, 1},
        {u"0.0.0", false, true, 0},
        {u"230.240", false, false, 0},  // two dotted parts pass unchecked
        {u"1.1.1.1", false, true, 1},
        {u"1/1/1", false, true, 1},
        {u"1.a.1", false, true, 1},
        {u"65535", false, false, 0},
        {u"0", false, true, 1},
        {u"65536", false, false, 1},
        {u"31/7/255", true, false, 0},
        {u"31/2047", true, false, 0},
        {u"0/0/1", true, false, 0},
        {u"0/0/0", true, true, 1},
        {u"0/0", true, true, 1},
        {u"32/1", true, false, 1},
        {u"1/8/1", true, false, 1},
        {u"1/2048", true, false, 1},
        {u"1/2/3/4", true, false, 1},
        {u"1.2/3", true, false, 1},
        {u"65535", true, false, 0},
        {u"0", true, true, 1},
        {u"65536", true, false, 1},
        {u"", true, false, 1},
        {u"", false, false, 1},
    };
    for (const KnxCase& c : cases)
        EXPECT_EQ(Check_KNX_Address(c.text, c.group, c.allow_zero), c.result)
            << U8(c.text) << (c.group ? " group" : " physical") << (c.allow_zero ? " zero allowed" : "");
}

TEST(NoDotInText, DotAnywhere)
{
    EXPECT_TRUE(No_Dot_In_Text(u"1/2/3"));
    EXPECT_TRUE(No_Dot_In_Text(u""));
    EXPECT_FALSE(No_Dot_In_Text(u"1.1.1"));
    EXPECT_FALSE(No_Dot_In_Text(u"abc."));
}

TEST(CheckOID, KindOfFault)
{
    String digits62 = u"12";
    while (digits62.size() < 62)
        digits62 += u".1";
    ASSERT_EQ(digits62.size(), 62u);
    const String digits61 = digits62.substr(1);
    const struct {
        String text;
        int kind;
    } cases[] = {
        {u"1.3.6.1.4.1", 0},
        {u"1", 0},
        {digits61, 0},
        {digits62, 1},
        {u"1.3.a", 2},
        {u"1.3. 6", 2},
        {u"", 2},
        {u".1.3", 3},
        {u"1.3.", 4},
        {u".", 3},
        {u"1..3", 5},
        {u"1.4294967295", 0},
        {u"1.4294967296", 6},
        {u"4294967296.1", 6},
        {u"1.99999999999999999999999", 6},  // too long for 64 bits
        {u"1.3..a", 2},                     // kinds are checked in order
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check_OID(c.text), c.kind) << U8(c.text);
}

TEST(CheckSNMPText, UserNamesAndPasswords)
{
    const struct {
        const char16_t* text;
        bool user;
        int result;
    } cases[] = {
        {u"", true, 2},
        {u"a", true, 0},
        {u"abcdefghijklmnop", true, 1},  // 16 characters
        {u"abcdefghijklmno", true, 0},   // 15
        {u"user_1", true, 3},
        {u"Pass1234", false, 0},
        {u"Pass123", false, 2},  // 7 characters
        {u"", false, 2},
        {u"pass word", false, 3},
        {u"pässword", false, 3},
        {u"abcdefghijklmnop", false, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check_SNMP_Text(c.text, c.user), c.result) << U8(c.text) << (c.user ? " user" : " password");
}

TEST(SNMPSecurityLevel, Codes)
{
    const struct {
        const char16_t* text;
        int level;
    } cases[] = {
        {u"AUTH NOPRIV", 1}, {u" auth nopriv ", 1}, {u"Auth Priv", 3}, {u"AUTH PRIV", 3},
        {u"", -1},           {u"   ", -1},          {u"NoAuth NoPriv", 0}, {u"AUTH  PRIV", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SNMP_Security_Level(c.text), c.level) << U8(c.text);
}

TEST(APNAuthTypeCode, Codes)
{
    const struct {
        const char16_t* text;
        const char16_t* code;
    } cases[] = {
        {u"NONE", u"0"}, {u"none", u"0"},        {u"PAP", u"1"}, {u"pap", u"1"},
        {u"Chap", u"2"}, {u"PAP or CHAP", u"3"}, {u" PAP", u"0"}, {u"", u"0"},
        {u"PAP/CHAP", u"0"},
    };
    for (const auto& c : cases) {
        String code = u"x";
        APN_Auth_Type_Code(c.text, code);
        EXPECT_EQ(U8(code), U8(c.code)) << U8(c.text);
    }
}

TEST(ProductVariant, NamesAndNumber)
{
    String a = u"old", b = u"old";
    EXPECT_EQ(Product_Variant(a, b), 1);
    EXPECT_EQ(U8(a), "MQTT");
    EXPECT_EQ(U8(b), "");
}

class DecimalSeparatorTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = plat::FormatSettings; }
    void TearDown() override
    {
        plat::FormatSettings = saved_;
        plat::SetProfileDecimalSeparator(0);
    }
    plat::TFormatSettings saved_;
};

TEST_F(DecimalSeparatorTest, ProfileEntryOrComma)
{
    const struct {
        char16_t profile;
        char16_t expected;
    } cases[] = {{u',', u','}, {u'.', u'.'}, {u';', u','}, {u' ', u','}};
    for (const auto& c : cases) {
        plat::SetProfileDecimalSeparator(c.profile);
        EXPECT_EQ(Get_Decimal_Separator(), c.expected) << char(c.profile);
    }
}

TEST_F(DecimalSeparatorTest, TextToFloatFollowsSeparatorAndFormatSettings)
{
    const struct {
        const char16_t* text;
        char16_t separator;
        char16_t locale;
        bool ok;
        float value;
    } cases[] = {
        {u"1.5", u',', u',', true, 1.5f},   // the dot becomes the comma
        {u"1,5", u'.', u'.', true, 1.5f},
        {u"-2,25", u',', u',', true, -2.25f},
        {u"1.5", u',', u'.', false, 1.0f},  // separator and locale disagree
        {u"1,5", u'.', u',', false, 1.0f},
        {u"abc", u'.', u'.', false, 1.0f},
        {u"", u'.', u'.', false, 1.0f},
        {u"3", u',', u',', true, 3.0f},
    };
    for (const auto& c : cases) {
        plat::FormatSettings.DecimalSeparator = c.locale;
        float value = 42.0f;
        EXPECT_EQ(Text_To_Float(c.text, c.separator, value), c.ok) << U8(c.text);
        EXPECT_FLOAT_EQ(value, c.value) << U8(c.text);
    }
}

TEST(CellNumber, OneReadingForEveryEditor)
{
    constexpr std::int64_t kMax = 0x7FFFFFFFFFFFFFFFll;
    const struct {
        const char16_t* text;
        bool ok;
        std::int64_t value;
    } cases[] = {
        {u"2047", true, 2047},
        {u" 12", true, 12},
        {u"   -3", true, -3},
        {u"+7", true, 7},
        {u"-5", true, -5},
        {u"0x7FF", true, 0x7FF},
        {u"0X7ff", true, 0x7FF},
        {u"$7FF", true, 0x7FF},
        {u"x7FF", true, 0x7FF},
        {u"X7FF", true, 0x7FF},
        {u"-$10", true, -16},
        {u"0", true, 0},
        {u"007", true, 7},
        {u"9223372036854775807", true, kMax},
        {u"-9223372036854775808", true, -kMax - 1},
        {u"$7FFFFFFFFFFFFFFF", true, kMax},
        {u"2047 ", false, 0},
        {u"", false, 0},
        {u"   ", false, 0},
        {u"1.5", false, 0},
        {u"0x", false, 0},
        {u"$", false, 0},
        {u"-", false, 0},
        {u"abc", false, 0},
        {u"12a", false, 0},
        {u"0x7FG", false, 0},
        {u"\t5", false, 0},
        {u"- 5", false, 0},
        {u"9223372036854775808", false, 0},
        {u"-9223372036854775809", false, 0},
        {u"$8000000000000000", false, 0},
        {u"18446744073709551617", false, 0},  // 2^64 + 1 must not wrap to 1
        {u"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.text));
        std::int64_t value = 42;
        EXPECT_EQ(Read_Cell_Number(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 42) << "a failed reading leaves the value";
        EXPECT_EQ(Cell_Number(c.text), c.ok ? c.value : -1);
    }
    EXPECT_EQ(Cell_Number(u"abc", 8), 8);
}

TEST(ProductIdentity, BuiltInConstants)
{
    Init_Product_Identity();
    EXPECT_EQ(U8(SW_Code), "QR40518");
    EXPECT_EQ(U8(SW_Desc), "Ruvere Zadude / ZOVE - Dudererud");
    EXPECT_EQ(U8(SW_Code_Update_Const), "QR40518");
    // The title keeps its trailing blank.
    EXPECT_EQ(U8(Program_Title), "Varnok - Configurator QR40518 - Modbus Master / MQTT ");
}

} // namespace
