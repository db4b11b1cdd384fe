// The Modbus table of bank2.bin: which rows become entries and how each field is filled.
#include "ImageTestKit.h"
#include "TestSupport.h"

using namespace image_test;

namespace {

Bytes Entry(const Bytes& bank2, int index) {
    return Bytes(bank2.begin() + 32 * index, bank2.begin() + 32 * index + 32);
}

const Attrs Async = {{"Working_Mode", "1"}};
const Attrs Sync = {{"Working_Mode", "0"}};

} // namespace

TEST(ModbusTable, EnabledReadRowsThenWriteRowsWithoutGaps) {
    struct TCase {
        const char* What;
        Attrs Mode;
        std::vector<Attrs> Write;
        std::vector<std::uint8_t> Slaves; // Slave_ID of the filled entries, in order
    };
    const std::vector<Attrs> read = {Read_Rule({{"Slave_ID", "1"}}), Read_Rule({{"Enable", "N"}, {"Slave_ID", "2"}}),
                                     Without(Read_Rule({{"Slave_ID", "3"}}), "Position")};
    const TCase cases[] = {
        {"asynchronous", Async,
         {Write_Rule({{"Slave_ID", "4"}}), Write_Rule({{"Slave_ID", "5"}}), Without(Write_Rule({{"Enable", "N"}}), "Slave_ID")},
         {1, 3, 4, 5}},
        // The synchronous mode does not even look at the write table: a row that would
        // stop the asynchronous build is never read.
        {"synchronous", Sync, {Without(Write_Rule({{"Slave_ID", "4"}}), "Slave_ID")}, {1, 3}},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(c.Mode);
        config.Rules(read, c.Write);
        image::Build_Bin_Config(config.Dir());
        Bytes bank1 = Bank1(), bank2 = Bank2();
        EXPECT_EQ(U32(bank1, 0x048), c.Slaves.size()) << c.What;
        EXPECT_EQ(U32(bank1, 0x0C4), 0x80000u) << c.What;
        for (std::size_t i = 0; i < c.Slaves.size(); ++i)
            EXPECT_EQ(bank2[32 * i + 8], c.Slaves[i]) << c.What << " entry " << i;
        for (std::size_t i = 32 * c.Slaves.size(); i < 32768; ++i)
            ASSERT_EQ(bank2[i], 0) << c.What << " byte " << i;
    }
}

TEST(ModbusTable, FilesWithADeclarationOrCommentFirstAreRead) {
    TConfig config;
    config.Write("ParGen.xml", "<?xml version=\"1.0\"?>\n" + ParGen_Xml(Async));
    config.Write("ModbusM_SetAccess.xml", "<!-- exported -->\n" + Rules_Xml({Read_Rule()}, {Write_Rule()}));
    config.Write("MQTT_Set_Topic.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- exported -->\n" +
                                           Topics_Xml({Publish_Row("p")}, {Subscribe_Row("s")}));
    image::Build_Bin_Config(config.Dir());
    EXPECT_EQ(U32(Bank1(), 0x048), 2u);
    EXPECT_EQ(image::MQTT_Config.Publish_Data.size(), 1u);
    EXPECT_EQ(image::MQTT_Config.Subscribe_Data.size(), 1u);
}

TEST(ModbusTable, RowWithoutEnableIsNotEnabled) {
    TConfig config;
    config.ParGen(Async);
    config.Rules({Without(Read_Rule(), "Enable"), Read_Rule({{"Enable", "y"}})}, {});
    image::Build_Bin_Config(config.Dir());
    EXPECT_EQ(U32(Bank1(), 0x048), 0u);
}

namespace {

struct TEntryCase {
    const char* What;
    bool Write;
    Attrs Changes;
    std::size_t Offset;
    int Width;
    std::uint64_t Expected;
};

class ModbusEntry : public ::testing::TestWithParam<TEntryCase> {};

} // namespace

TEST_P(ModbusEntry, FieldAtItsOffset) {
    const TEntryCase& c = GetParam();
    TConfig config;
    config.ParGen(Async);
    if (c.Write)
        config.Rules({}, {Write_Rule(c.Changes)});
    else
        config.Rules({Read_Rule(c.Changes)}, {});
    image::Build_Bin_Config(config.Dir());
    ASSERT_EQ(U32(Bank1(), 0x048), 1u) << c.What;
    EXPECT_EQ(Field(Entry(Bank2(), 0), c.Offset, c.Width), c.Expected) << c.What;
}

INSTANTIATE_TEST_SUITE_P(Cases, ModbusEntry, ::testing::Values(
    TEntryCase{"read holding, function", false, {{"Type", "Holding Register"}, {"NPoint", "10"}}, 9, 1, 3},
    TEntryCase{"read holding, bytes", false, {{"Type", "Holding Register"}, {"NPoint", "10"}}, 30, 1, 20},
    TEntryCase{"read holding 200 points, bytes kept to 8 bits", false, {{"NPoint", "200"}}, 30, 1, 144},
    TEntryCase{"read coils, function", false, {{"Type", "Coil Status"}, {"NPoint", "10"}}, 9, 1, 1},
    TEntryCase{"read coils, bytes", false, {{"Type", "Coil Status"}, {"NPoint", "10"}}, 30, 1, 2},
    TEntryCase{"read input status 2000 points", false, {{"Type", "Input Status"}, {"NPoint", "2000"}}, 30, 1, 250},
    TEntryCase{"read input register", false, {{"Type", "Input Register"}}, 9, 1, 4},
    TEntryCase{"type in small letters", false, {{"Type", "holding register"}}, 9, 1, 3},
    TEntryCase{"type with a blank is unknown", false, {{"Type", "Holding Register "}}, 9, 1, 0},
    TEntryCase{"position and bit", false, {{"Position", "1499"}, {"Bit", "7"}}, 0, 4, 0x000705DB},
    TEntryCase{"read bit empty", false, {{"Bit", ""}}, 2, 2, 0},
    TEntryCase{"read position missing", false, {{"Position", "x"}}, 0, 2, 0},
    TEntryCase{"poll time", false, {{"PollTime", "100000000"}}, 4, 4, 100000000},
    TEntryCase{"slave and address", false, {{"Slave_ID", "247"}, {"Address", "65535"}}, 8, 4, 0xFFFF03F7},
    TEntryCase{"max error", false, {{"MaxError", "5"}}, 24, 4, 5},
    TEntryCase{"topic index", false, {{"Index_Topic", "12"}}, 20, 2, 12},
    TEntryCase{"topic index -1", false, {{"Index_Topic", "-1"}}, 20, 2, 0xFFFF},
    TEntryCase{"topic index empty", false, {{"Index_Topic", ""}}, 20, 2, 0},
    TEntryCase{"no conversion attributes", false, {}, 28, 2, 0},
    TEntryCase{"conversion, little-endian, signed", false, {{"Float_Conv", "Y"}, {"Operation", "x 256"}, {"Endian", "little"}, {"Signed", "Y"}}, 28, 2, 0x0A07},
    TEntryCase{"conversion without endian", false, {{"Float_Conv", "Y"}, {"Operation", "X 10"}}, 28, 2, 0x0500},
    TEntryCase{"conversion big-endian", false, {{"Float_Conv", "y"}, {"Operation", ": 0.008"}, {"Endian", "BIG"}}, 28, 2, 0x0D02},
    TEntryCase{"conversion, operation missing", false, {{"Float_Conv", "Y"}, {"Endian", "LITTLE"}}, 28, 2, 0x0003},
    TEntryCase{"no conversion: operation ignored", false, {{"Float_Conv", "N"}, {"Operation", "X 10"}}, 28, 2, 0},
    TEntryCase{"signed alone", false, {{"Signed", "y"}}, 28, 1, 4},
    TEntryCase{"swaps of a read rule", false, {{"Swap", "Y"}, {"SwapWord", "y"}}, 31, 1, 12},
    TEntryCase{"write holding 1 point", true, {{"NPoint", "1"}}, 9, 1, 6},
    TEntryCase{"write holding 2 points", true, {{"NPoint", "2"}}, 9, 1, 16},
    TEntryCase{"write coil 1 point", true, {{"Type", "Coil Status"}, {"NPoint", "1"}}, 9, 1, 5},
    TEntryCase{"write coils", true, {{"Type", "Coil Status"}, {"NPoint", "8"}}, 9, 1, 15},
    TEntryCase{"write input register", true, {{"Type", "Input Register"}}, 9, 1, 0},
    TEntryCase{"write has no byte count", true, {{"NPoint", "10"}}, 30, 1, 0},
    TEntryCase{"write flags", true, {{"OnChange", "Y"}, {"OnCMD", "Y"}, {"Swap", "Y"}}, 31, 1, 21},
    TEntryCase{"write on command only", true, {{"OnCMD", "y"}}, 31, 1, 16},
    TEntryCase{"write register rule with empty start bit", true, {{"Bit", ""}, {"Position", "10"}}, 0, 4, 10},
    TEntryCase{"write start bit", true, {{"Type", "Coil Status"}, {"Bit", "3"}}, 2, 2, 3},
    TEntryCase{"write conversion", true, {{"Float_Conv", "Y"}, {"Operation", "NONE"}, {"Endian", "LITTLE"}}, 28, 2, 0x0003}
));

// Byte 30 of a read rule at the extremes of NPoint: floor((NPoint + 7) / 8) mod 256 for bit
// types and 2 * NPoint mod 256 for registers, the expected bytes worked out in Python's
// unbounded integers. NPoint is stored in 16 bits.
TEST(ModbusTable, ByteCountAtTheExtremesOfNPoint) {
    struct TCase {
        const char* NPoint;
        std::uint8_t Coils, Registers;
        std::uint16_t Stored;
    };
    const TCase cases[] = {
        {"1", 1, 2, 1},
        {"8", 1, 16, 8},
        {"9", 2, 18, 9},
        {"2147483640", 255, 240, 0xFFF8},
        {"2147483647", 0, 254, 0xFFFF},
        {"-1", 0, 254, 0xFFFF},
        {"-9", 255, 238, 0xFFF7},
        {"-2147483648", 0, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.NPoint);
        for (const char* type : {"Coil Status", "Input Status", "Holding Register", "Input Register"}) {
            SCOPED_TRACE(type);
            TConfig config;
            config.ParGen(Async);
            config.Rules({Read_Rule({{"Type", type}, {"NPoint", c.NPoint}})}, {});
            image::Build_Bin_Config(config.Dir());
            const Bytes entry = Entry(Bank2(), 0);
            const bool bits = std::string(type).find("Status") != std::string::npos;
            EXPECT_EQ(entry[30], bits ? c.Coils : c.Registers);
            EXPECT_EQ(Field(entry, 12, 2), c.Stored);
        }
    }
}

TEST(ModbusTable, WriteRuleWithoutBitAttributeBuilds) {
    TConfig config;
    config.ParGen(Async);
    config.Rules({}, {Without(Write_Rule(), "Bit")});
    image::Build_Bin_Config(config.Dir());
    EXPECT_EQ(U32(Bank1(), 0x048), 1u);
}

TEST(ModbusTable, RequiredAttributeStopsTheBuild) {
    struct TCase {
        const char* What;
        std::vector<Attrs> Read;
        std::vector<Attrs> Write;
        std::string Message;
    };
    const TCase cases[] = {
        {"read row without Slave_ID", {Without(Read_Rule(), "Slave_ID")}, {}, ""},
        {"read row with a Slave_ID that is not a number", {Read_Rule({{"Slave_ID", "abc"}})}, {},
         "'abc' is not a valid integer value"},
        {"read row without Type", {Without(Read_Rule(), "Type")}, {}, ""},
        {"read row with empty NPoint", {Read_Rule({{"NPoint", ""}})}, {}, "'' is not a valid integer value"},
        {"read row without MaxError", {Without(Read_Rule(), "MaxError")}, {}, ""},
        {"write row without OnChange", {}, {Without(Write_Rule(), "OnChange")}, ""},
        {"write row with empty Position", {}, {Write_Rule({{"Position", ""}})}, "'' is not a valid integer value"},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(Async);
        config.Rules(c.Read, c.Write);
        try {
            image::Build_Bin_Config(config.Dir());
            ADD_FAILURE() << c.What << ": no error";
        } catch (const plat::EConvertError& e) {
            if (!c.Message.empty()) {
                EXPECT_EQ(plat::StringToUtf8(e.Message()), c.Message) << c.What;
            }
        }
    }
    // A disabled row is never read beyond its Enable.
    TConfig config;
    config.ParGen(Async);
    config.Rules({Without(Read_Rule({{"Enable", "N"}}), "Slave_ID")}, {});
    EXPECT_NO_THROW(image::Build_Bin_Config(config.Dir()));
}

TEST(ModbusTable, MissingTableElementStopsTheBuild) {
    TConfig config;
    config.ParGen(Async);
    config.Write("ModbusM_SetAccess.xml", "<EtherNetIP_to_Modbus>" + Table_Xml("Modbus_Read", {Read_Rule()}) +
                                              "</EtherNetIP_to_Modbus>");
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { image::Build_Bin_Config(config.Dir()); },
                                                         u"Node \"Modbus_Write\" not found"));
    // Synchronous: the write table is not needed.
    config.ParGen(Sync);
    EXPECT_NO_THROW(image::Build_Bin_Config(config.Dir()));
}

TEST(ModbusTable, MoreEntriesThanTheTableHoldsAreRefused) {
    TConfig config;
    config.ParGen(Async);
    std::vector<Attrs> read(600, Read_Rule()), write(424, Write_Rule());
    config.Rules(read, write);
    EXPECT_NO_THROW(image::Build_Bin_Config(config.Dir()));
    EXPECT_EQ(U32(Bank1(), 0x048), 1024u);
    write.push_back(Write_Rule());
    config.Rules(read, write);
    EXPECT_TRUE(testsupport::ThrowsWith<image::EImage_Limit>(
        [&] { image::Build_Bin_Config(config.Dir()); },
        u"Too many enabled Modbus rules: the converter's table holds 1024 entries."));
}
