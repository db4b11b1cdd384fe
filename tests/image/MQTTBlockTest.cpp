// The MQTT block of bank2.bin: the fixed part, the string pool, the arrays and the
// reading of the topic file into them.
#include <cstring>

#include "ImageTestKit.h"
#include "TestSupport.h"

using namespace image_test;

namespace {

Bytes Block_Of(const Bytes& bank2) { return Bytes(bank2.begin() + Block, bank2.end()); }

// The fixed part of a block with every text empty and no arrays.
Bytes Empty_Fixed_Part(std::uint32_t mode, std::uint32_t time_poll, std::uint16_t port, std::uint32_t ntp_poll) {
    Bytes b(221, 0);
    auto u32 = [&](std::size_t pos, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[pos + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    u32(0, mode);
    u32(4, time_poll);
    u32(8, B + 220);
    b[12] = static_cast<std::uint8_t>(port);
    b[13] = static_cast<std::uint8_t>(port >> 8);
    std::memcpy(b.data() + 14, "MQTC", 4);
    b[22] = 4;
    std::memcpy(b.data() + 39, "MQTW", 4);
    for (std::size_t pos : {101, 105, 109, 117})
        u32(pos, B);
    for (std::size_t pos : {129, 141, 149, 161, 165, 212})
        u32(pos, B + 220);
    u32(169, ntp_poll);
    return b;
}

} // namespace

TEST(MQTTBlock, SmallestImage) {
    struct TCase {
        const char* What;
        bool ParGen;
        Bytes Expected;
    };
    const TCase cases[] = {
        {"no ParGen.xml: reset values", false, Empty_Fixed_Part(0, 0, 0, 0)},
        {"empty Par_Gen: absent values", true, Empty_Fixed_Part(0, 10, 1883, 1000)},
    };
    for (const TCase& c : cases) {
        TConfig config;
        if (c.ParGen)
            config.Write("ParGen.xml", "<Par_Gen/>");
        image::Build_Bin_Config(config.Dir());
        Bytes bank2 = Bank2();
        ASSERT_EQ(bank2.size(), 32989u) << c.What;
        EXPECT_EQ(Block_Of(bank2), c.Expected) << c.What;
        for (std::size_t i = 0; i < Block; ++i)
            ASSERT_EQ(bank2[i], 0) << c.What;
    }
}

TEST(MQTTBlock, ServerUrlAndClientIdExamples) {
    TConfig config;
    config.ParGen({{"MQTT_Server_URL", "abc"}});
    image::Build_Bin_Config(config.Dir());
    Bytes bank2 = Bank2();
    Bytes block = Block_Of(bank2);
    EXPECT_EQ(bank2.size(), 32993u);
    EXPECT_EQ(block.size(), 225u);
    EXPECT_EQ(Bytes(block.begin() + 8, block.begin() + 12), Bytes({0xDD, 0x80, 0x08, 0x00}));
    EXPECT_EQ(Bytes(block.begin() + 221, block.end()), Bytes({'a', 'b', 'c', 0}));
    EXPECT_EQ(Bytes(block.begin() + 23, block.begin() + 35), Bytes(12, 0));
    for (std::size_t pos : {101, 105, 109, 117})
        EXPECT_EQ(Bytes(block.begin() + pos, block.begin() + pos + 4), Bytes({0x00, 0x80, 0x08, 0x00})) << pos;
    EXPECT_EQ(U32(block, 97), 0u);
    EXPECT_EQ(U32(block, 113), 0u);
    EXPECT_EQ(Bytes(block.begin() + 129, block.begin() + 133), Bytes({0xDC, 0x80, 0x08, 0x00}));
    EXPECT_EQ(U32(Bank1(), 0x590), 0x88000u);

    config.ParGen({{"MQTT_Server_URL", "abc"}, {"MQTT_Client_ID", "client"}});
    image::Build_Bin_Config(config.Dir());
    block = Block_Of(Bank2());
    EXPECT_EQ(block.size(), 232u);
    EXPECT_EQ(U32(block, 23), B + 225);
    EXPECT_EQ(U32(block, 27), 6u);
    EXPECT_EQ(U32(block, 31), B + 225);
    EXPECT_EQ(std::string(block.begin() + 225, block.begin() + 232), std::string("client") + '\0');
}

TEST(MQTTBlock, FixedPartFieldsFromParGen) {
    TConfig config;
    config.ParGen({{"Working_Mode", "1"}, {"MQTT_Enable_Single_Subscribe", "1"}, {"MQTT_ASync_Send_Time", "5"},
                   {"MQTT_Server_Port", "8883"}, {"MQTT_Keep_Alive", "60"}, {"MQTT_Clean_Session", "1"},
                   {"MQTT_WillFlag", "1"}, {"MQTT_Will_Topic_Name", "will"}, {"MQTT_Will_Message", "bye"},
                   {"MQTT_Will_Retained", "1"}, {"MQTT_Will_QoS", "2"}, {"MQTT_Username", "user"},
                   {"MQTT_Password", "pass"}, {"TLS_Enable", "1"}, {"TLS_En_Server_Auth", "1"},
                   {"TLS_En_Client_Auth", "1"}, {"TLS_Client_Auth_Key_Password", "kp"},
                   {"NTP_Server_URL", "ntp"}, {"NTP_Poll_Time", "x"}, {"MQTT_PublishTopicConnection", "1"},
                   {"MQTT_Connection_Topic_Name", "hello"}, {"MQTT_Connection_Message", "on"},
                   {"MQTT_Connection_Retained", "1"}});
    image::Build_Bin_Config(config.Dir());
    Bytes bank2 = Bank2();
    Bytes block = Block_Of(bank2);
    EXPECT_EQ(U32(block, 0), 0x102u);
    EXPECT_EQ(U32(block, 4), 5u);
    EXPECT_EQ(U16(block, 12), 8883u);
    EXPECT_EQ(U16(block, 35), 60u);
    EXPECT_EQ(block[37], 1);
    EXPECT_EQ(block[38], 1);
    EXPECT_EQ(String_At(bank2, U32(block, 47)), "will");
    EXPECT_EQ(U32(block, 51), 4u);
    EXPECT_EQ(String_At(bank2, U32(block, 59)), "bye");
    EXPECT_EQ(block[71], 1);
    EXPECT_EQ(block[72], 2);
    EXPECT_EQ(String_At(bank2, U32(block, 73)), "user");
    EXPECT_EQ(String_At(bank2, U32(block, 85)), "pass");
    EXPECT_EQ(U32(block, 121), 1u);
    EXPECT_EQ(U32(block, 125), 1u);
    EXPECT_EQ(U32(block, 137), 1u);
    EXPECT_EQ(U32(block, 157), 0u);
    EXPECT_EQ(String_At(bank2, U32(block, 161)), "kp");
    EXPECT_EQ(String_At(bank2, U32(block, 165)), "ntp");
    EXPECT_EQ(U32(block, 169), 1000u);
    EXPECT_EQ(block[173], 1);
    EXPECT_EQ(String_At(bank2, U32(block, 174)), "hello");
    EXPECT_EQ(String_At(bank2, U32(block, 186)), "on");
    EXPECT_EQ(block[198], 1);
    EXPECT_EQ(block[199], 0);
    EXPECT_EQ(Bytes(block.begin() + 200, block.begin() + 212), Bytes(12, 0));
    // The strings follow the fixed part in their fixed order.
    EXPECT_EQ(U32(block, 47), B + 221);
    EXPECT_EQ(std::string(block.begin() + 221, block.begin() + 226), std::string("will") + '\0');
}

TEST(MQTTBlock, KeyCasesOfTheFixedPart) {
    struct TCase {
        const char* What;
        Attrs Keys;
        std::size_t Offset;
        int Width;
        std::uint64_t Expected;
    };
    const TCase cases[] = {
        {"send time absent", {}, 4, 4, 10},
        {"send time not a number", {{"MQTT_ASync_Send_Time", "x"}}, 4, 4, 10},
        {"send time", {{"MQTT_ASync_Send_Time", "30"}}, 4, 4, 30},
        {"port not a number", {{"MQTT_Server_Port", "mqtt"}}, 12, 2, 1883},
        {"port keeps 16 bits", {{"MQTT_Server_Port", "65537"}}, 12, 2, 1},
        {"keep-alive empty", {{"MQTT_Keep_Alive", ""}}, 35, 2, 0},
        {"clean session is a number", {{"MQTT_Clean_Session", "01"}}, 37, 1, 1},
        {"will QoS", {{"MQTT_Will_QoS", "2"}}, 72, 1, 2},
        {"TLS flag not a number", {{"TLS_Enable", "yes"}}, 121, 4, 0},
        {"client authentication", {{"TLS_En_Client_Auth", "1"}}, 137, 4, 1},
        {"NTP poll absent", {}, 169, 4, 1000},
        {"NTP poll", {{"NTP_Poll_Time", "3600"}}, 169, 4, 3600},
        {"connection message flag", {{"MQTT_PublishTopicConnection", "1"}}, 173, 1, 1},
        {"connection retained", {{"MQTT_Connection_Retained", "1"}}, 198, 2, 1},
        {"no certificate: empty text", {{"TLS_Server_Auth_Certificate", ""}}, 129, 8, (std::uint64_t{0} << 32) | (B + 220)},
        {"missing certificate file: its name", {{"TLS_Server_Auth_Certificate", "nope.pem"}}, 133, 4, 8},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(c.Keys);
        image::Build_Bin_Config(config.Dir());
        EXPECT_EQ(Field(Block_Of(Bank2()), c.Offset, c.Width), c.Expected) << c.What;
    }
}

TEST(MQTTBlock, WorkingModeCodes) {
    struct TCase {
        Attrs Keys;
        std::uint32_t Mode;
    };
    const TCase cases[] = {{{{"Working_Mode", "1"}, {"MQTT_Enable_Single_Subscribe", "1"}}, 0x102},
                           {{{"Working_Mode", "0"}, {"MQTT_Enable_Single_Subscribe", "1"}}, 0x100},
                           {{{"Working_Mode", "abc"}}, 0},
                           {{{"Working_Mode", "3"}}, 3},
                           {{{"Working_Mode", "1"}, {"MQTT_Enable_Single_Subscribe", "01"}}, 2}};
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(c.Keys);
        image::Build_Bin_Config(config.Dir());
        EXPECT_EQ(U32(Block_Of(Bank2()), 0), c.Mode) << c.Keys[0].second;
    }
}

TEST(MQTTBlock, ArraysFollowTheFixedStringsInOrder) {
    TConfig config;
    config.ParGen({{"Working_Mode", "1"}, {"MQTT_Server_URL", "srv"}});
    config.Topics({Publish_Row("pub/1", {{"Mnemonic", "desc"}, {"Template", "T"}, {"QoS", "1"}, {"Retained", "Y"},
                                         {"Position", "7"}, {"Dimension", "4"}, {"DataType", "Float"},
                                         {"OnTimer", "Y"}, {"Time", "500"}})},
                  {Subscribe_Row("s1", {{"QoS", "2"}, {"Template", "in1"}}), Subscribe_Row("s22", {{"Template", ""}})});
    image::Build_Bin_Config(config.Dir());
    Bytes bank2 = Bank2();
    Bytes block = Block_Of(bank2);
    std::uint32_t p = 221 + 4; // "srv" and its zero
    EXPECT_EQ(U32(block, 97), 2u);
    EXPECT_EQ(U32(block, 101), B + p);
    // Filter references, then the filter strings.
    EXPECT_EQ(U32(block, p), B + p + 24);
    EXPECT_EQ(U32(block, p + 4), 2u);
    EXPECT_EQ(U32(block, p + 8), B + p + 24);
    EXPECT_EQ(U32(block, p + 12), B + p + 27);
    EXPECT_EQ(U32(block, p + 16), 3u);
    p += 24;
    EXPECT_EQ(std::string(block.begin() + p, block.begin() + p + 7), std::string("s1\0s22\0", 7));
    p += 7;
    EXPECT_EQ(U32(block, 105), B + p);
    EXPECT_EQ(U32(block, p), 2u);
    EXPECT_EQ(U32(block, p + 4), 0u);
    p += 8;
    EXPECT_EQ(U32(block, 109), B + p);
    const std::uint32_t records = p;
    p += 54;
    // Subscribe templates: the first one, then the empty second one points at the shared zero.
    EXPECT_EQ(U32(block, records + 12), B + p);
    EXPECT_EQ(U32(block, records + 16), B + 220);
    EXPECT_EQ(U32(block, records + 27 + 12), B + 220);
    EXPECT_EQ(std::string(block.begin() + p, block.begin() + p + 4), std::string("in1\0", 4));
    p += 4;
    // The publish record and its strings.
    EXPECT_EQ(U32(block, 113), 1u);
    EXPECT_EQ(U32(block, 117), B + p);
    const std::uint32_t pub = p;
    p += 49;
    EXPECT_EQ(U32(block, pub + 0), B + p);      // description
    EXPECT_EQ(U32(block, pub + 4), B + p + 5);  // topic
    EXPECT_EQ(U32(block, pub + 8), 5u);
    EXPECT_EQ(block[pub + 16], 1);              // retained
    EXPECT_EQ(U32(block, pub + 17), 1u);        // QoS
    EXPECT_EQ(U32(block, pub + 21), B + 220);   // no input template
    EXPECT_EQ(U32(block, pub + 25), B + p + 11); // output template
    EXPECT_EQ(U32(block, pub + 29), 0u);
    EXPECT_EQ(U32(block, pub + 33), 7u);
    EXPECT_EQ(U16(block, pub + 37), 4u);
    EXPECT_EQ(U16(block, pub + 39), 2u);        // Float
    EXPECT_EQ(U32(block, pub + 41), 500u);
    EXPECT_EQ(U32(block, pub + 45), 4u);
    EXPECT_EQ(std::string(block.begin() + p, block.end()), std::string("desc\0pub/1\0T\0", 13));
}

TEST(MQTTBlock, EmptyPublishStringsWriteNothing) {
    TConfig config;
    config.ParGen({{"Working_Mode", "1"}});
    config.Topics({Publish_Row("", {{"Mnemonic", ""}, {"Template", ""}})}, {});
    image::Build_Bin_Config(config.Dir());
    Bytes block = Block_Of(Bank2());
    ASSERT_EQ(block.size(), 221u + 49u);
    EXPECT_EQ(U32(block, 221), B + 220);
    EXPECT_EQ(Bytes(block.begin() + 225, block.begin() + 237), Bytes(12, 0));
    EXPECT_EQ(U32(block, 221 + 25), B + 220);
}

TEST(MQTTBlock, Utf8LengthsCountBytes) {
    TConfig config;
    config.ParGen({{"Working_Mode", "1"}});
    // "ab" and U+00FC: three characters, four bytes; U+1F600 is one character of four bytes.
    config.Topics({}, {Subscribe_Row("ab\xC3\xBC"), Subscribe_Row("\xF0\x9F\x98\x80")});
    image::Build_Bin_Config(config.Dir());
    Bytes bank2 = Bank2();
    Bytes block = Block_Of(bank2);
    EXPECT_EQ(U32(block, 221 + 4), 4u);
    EXPECT_EQ(U32(block, 221 + 16), 4u);
    EXPECT_EQ(U32(block, 221), B + 221 + 24);
    EXPECT_EQ(U32(block, 221 + 12), B + 221 + 24 + 5);
    EXPECT_EQ(String_At(bank2, U32(block, 221)), "ab\xC3\xBC");
    EXPECT_EQ(String_At(bank2, U32(block, 221 + 12)), "\xF0\x9F\x98\x80");
}

TEST(MQTTTopics, PublishRows) {
    struct TCase {
        const char* What;
        std::string Mode;
        Attrs Row;
        std::string Allow;
        std::string Topic, Output;
        std::uint32_t Options, Timer, Position, Length, Type_Data;
        std::int32_t QoS;
        std::uint8_t Retained;
    };
    const TCase cases[] = {
        {"synchronous", "0", Publish_Row("t", {{"Position", "9"}, {"Dimension", "8"}}), "N", "t", "$VALUE$", 0, 0, 0, 0, 0, 0, 0},
        {"code 3 like synchronous", "3", Publish_Row("t", {{"Position", "9"}}), "N", "t", "$VALUE$", 0, 0, 0, 0, 0, 0, 0},
        {"asynchronous", "1", Publish_Row("t", {{"Position", "9"}, {"Dimension", "8"}, {"DataType", " sint "}}), "N", "t", "$VALUE$", 0, 0, 9, 8, 4, 0, 0},
        {"asynchronous, old row", "1", Without(Without(Without(Publish_Row("t"), "DataType"), "Dimension"), "Position"), "N", "t", "$VALUE$", 0, 0, 0, 4, 0, 0, 0},
        {"dimension not a number", "1", Publish_Row("t", {{"Dimension", "x"}}), "N", "t", "$VALUE$", 0, 0, 0, 4, 1, 0, 0},
        {"template missing", "1", Without(Publish_Row("t"), "Template"), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 0, 0},
        {"line breaks removed", "0", Publish_Row("a\r\nb", {{"Template", "x\r\ny"}}), "N", "ab", "xy", 0, 0, 0, 0, 0, 0, 0},
        {"line breaks allowed in template", "0", Publish_Row("a\r\nb", {{"Template", "x\r\ny"}}), "Y", "ab", "x\r\ny", 0, 0, 0, 0, 0, 0, 0},
        {"allow option compared exactly", "0", Publish_Row("t", {{"Template", "x\ny"}}), "y", "t", "xy", 0, 0, 0, 0, 0, 0, 0},
        {"timer off ignores time", "1", Publish_Row("t", {{"OnTimer", "N"}, {"Time", "500"}}), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 0, 0},
        {"timer on, time padded", "1", Publish_Row("t", {{"OnTimer", "y"}, {"Time", " 500 "}}), "N", "t", "$VALUE$", 4, 500, 0, 2, 1, 0, 0},
        {"timer on, time not a number", "1", Publish_Row("t", {{"OnTimer", "Y"}, {"Time", "soon"}}), "N", "t", "$VALUE$", 4, 0, 0, 2, 1, 0, 0},
        {"all send options", "1", Publish_Row("t", {{"OnChange", "Y"}, {"OnCMD", "y"}, {"OnTimer", "Y"}, {"Time", "1"}}), "N", "t", "$VALUE$", 7, 1, 0, 2, 1, 0, 0},
        {"options missing", "1", Without(Without(Publish_Row("t"), "OnChange"), "OnCMD"), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 0, 0},
        {"retained and QoS", "1", Publish_Row("t", {{"Retained", "y"}, {"QoS", "2"}}), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 2, 1},
        {"empty QoS", "1", Publish_Row("t", {{"QoS", ""}}), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 0, 0},
        {"QoS missing", "1", Without(Publish_Row("t"), "QoS"), "N", "t", "$VALUE$", 0, 0, 0, 2, 1, 0, 0},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen({{"Working_Mode", c.Mode}});
        config.Topics({c.Row}, {}, c.Allow);
        image::Build_Bin_Config(config.Dir());
        ASSERT_EQ(image::MQTT_Config.Publish_Data.size(), 1u) << c.What;
        const image::TMQTT_Publish_Data& p = image::MQTT_Config.Publish_Data[0];
        EXPECT_EQ(plat::StringToUtf8(p.Publish_Topic.CString), c.Topic) << c.What;
        EXPECT_EQ(plat::StringToUtf8(p.Output_Template), c.Output) << c.What;
        EXPECT_TRUE(p.Input_Template.empty()) << c.What;
        EXPECT_EQ(p.Options, c.Options) << c.What;
        EXPECT_EQ(p.Timer, c.Timer) << c.What;
        EXPECT_EQ(p.Position, c.Position) << c.What;
        EXPECT_EQ(p.Length, c.Length) << c.What;
        EXPECT_EQ(p.Type_Data, c.Type_Data) << c.What;
        EXPECT_EQ(p.QoS, c.QoS) << c.What;
        EXPECT_EQ(p.Retained, c.Retained) << c.What;
    }
}

TEST(MQTTTopics, SubscribeRows) {
    struct TCase {
        const char* What;
        std::string Mode;
        std::vector<Attrs> Rows;
        std::size_t Count;
        std::string Input;
        std::uint32_t Position, Length, Type;
        std::int32_t QoS;
    };
    const TCase cases[] = {
        {"synchronous keeps the first row", "0",
         {Subscribe_Row("a", {{"QoS", "1"}, {"Position", "5"}}), Subscribe_Row("b"), Subscribe_Row("c")}, 1, "$VALUE$", 0, 0, 0, 1},
        {"asynchronous keeps every row", "1", {Subscribe_Row("a", {{"Position", "5"}}), Subscribe_Row("b"), Subscribe_Row("c")}, 3, "$VALUE$", 5, 2, 1, 0},
        {"template keeps line breaks", "1", {Subscribe_Row("a", {{"Template", "x\r\ny"}})}, 1, "x\r\ny", 0, 2, 1, 0},
        {"template missing", "0", {Without(Subscribe_Row("a"), "Template")}, 1, "$VALUE$", 0, 0, 0, 0},
        {"markers give the byte range", "1", {Subscribe_Row("a", {{"Template", "{\"v\":@B8.8@,\"w\":@B24.8@}"}, {"Position", "99"}})}, 1, "{\"v\":@B8.8@,\"w\":@B24.8@}", 1, 4, 1, 0},
        {"markers ignored when synchronous", "0", {Subscribe_Row("a", {{"Template", "@B8.8@"}})}, 1, "@B8.8@", 0, 0, 0, 0},
        {"empty QoS", "1", {Subscribe_Row("a", {{"QoS", ""}})}, 1, "$VALUE$", 0, 2, 1, 0},
        {"old row", "1", {{{"Topic", "a"}, {"Retained", "N"}, {"QoS", "2"}, {"Mnemonic", "m"}}}, 1, "$VALUE$", 0, 4, 0, 2},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen({{"Working_Mode", c.Mode}});
        config.Topics({}, c.Rows);
        image::Build_Bin_Config(config.Dir());
        const image::TMQTT& m = image::MQTT_Config;
        ASSERT_EQ(m.Subscribe_Data.size(), c.Count) << c.What;
        EXPECT_EQ(m.Topic_Filters.size(), c.Count) << c.What;
        EXPECT_EQ(m.Topic_Filter_QoS.size(), c.Count) << c.What;
        EXPECT_EQ(m.Topic_Filter_Count, static_cast<std::int32_t>(c.Count)) << c.What;
        EXPECT_EQ(plat::StringToUtf8(m.Topic_Filters[0].CString), "a") << c.What;
        const image::TMQTT_Subscribe_Data& s = m.Subscribe_Data[0];
        EXPECT_EQ(plat::StringToUtf8(s.Input_Template), c.Input) << c.What;
        EXPECT_TRUE(s.Output_Template.empty()) << c.What;
        EXPECT_EQ(s.Position, c.Position) << c.What;
        EXPECT_EQ(s.Length, c.Length) << c.What;
        EXPECT_EQ(s.Type_SubData, c.Type) << c.What;
        EXPECT_EQ(m.Topic_Filter_QoS[0], c.QoS) << c.What;
    }
}

TEST(MQTTTopics, RequiredAttributesAndTablesStopTheBuild) {
    struct TCase {
        const char* What;
        std::string Xml;
        const char16_t* Error;
    };
    const char16_t* const missing = u"Could not convert variant of type (Null) into type (String)";
    const TCase cases[] = {
        {"publish row without Topic", Topics_Xml({Without(Publish_Row("t"), "Topic")}, {}), missing},
        {"publish row without Retained", Topics_Xml({Without(Publish_Row("t"), "Retained")}, {}), missing},
        {"publish row without Mnemonic", Topics_Xml({Without(Publish_Row("t"), "Mnemonic")}, {}), missing},
        {"subscribe row without Topic", Topics_Xml({}, {Without(Subscribe_Row("t"), "Topic")}), missing},
        {"no subscribe table", "<MQTT_Set_Topic>" + Table_Xml("MQTT_Publish", {}) + "</MQTT_Set_Topic>",
         u"Node \"MQTT_Subscribe\" not found"},
        {"no publish table", "<MQTT_Set_Topic>" + Table_Xml("MQTT_Subscribe", {}) + "</MQTT_Set_Topic>",
         u"Node \"MQTT_Publish\" not found"},
        {"not XML at all", "<MQTT_Set_Topic><MQTT_Publish>", u"Start-end tags mismatch (at byte 29)"},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen({{"Working_Mode", "1"}});
        config.Write("MQTT_Set_Topic.xml", c.Xml);
        EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { image::Build_Bin_Config(config.Dir()); }, c.Error))
            << c.What;
    }
    // A subscribe row without Mnemonic is fine: the image does not carry it.
    TConfig config;
    config.Topics({}, {Without(Subscribe_Row("t"), "Mnemonic")});
    EXPECT_NO_THROW(image::Build_Bin_Config(config.Dir()));
}

TEST(MQTTTopics, TemplateByteRange) {
    struct TCase {
        const char* Template;
        bool Ok;
        std::uint32_t Position, Count;
    };
    const TCase cases[] = {
        {"@B0.16@", true, 0, 3},
        {"x=@B8.8@ y=@B24.8@", true, 1, 4},
        {"@B0.12@", true, 0, 2},
        {"$VALUE$", false, 0, 0},
        {"one @ only", false, 0, 0},
        {"@B8.0@", false, 0, 0},
        {"@B 16 . 8 @", true, 2, 2},
        {"@B16@", true, 0, 3},          // no dot: start 0, the whole body is the count
        {"@Bx.8@", true, 0, 2},         // a start that is not a number is 0
        {"@B0.32@ @B8.8@", true, 0, 5}, // overlapping markers: the widest end counts
        {"@B8.8@ tail @B", true, 1, 2}, // an unclosed marker is no marker
        {"@@8.8@", false, 0, 0},
    };
    for (const TCase& c : cases) {
        image::TByte_Range range = image::Template_Byte_Range(U(c.Template));
        EXPECT_EQ(range.Ok, c.Ok) << c.Template;
        if (c.Ok) {
            EXPECT_EQ(range.Position, c.Position) << c.Template;
            EXPECT_EQ(range.Count, c.Count) << c.Template;
        }
    }
}

TEST(MQTTTopics, TemplateWithTooManyMarkersIsRefused) {
    std::string markers;
    for (int i = 0; i < 101; ++i)
        markers += "@B" + std::to_string(8 * i) + ".8@,";
    EXPECT_TRUE(image::Template_Byte_Range(U(markers)).Ok);
    // Markers with no bits do not count towards the limit.
    EXPECT_TRUE(image::Template_Byte_Range(U(markers + "@B0.0@")).Ok);
    EXPECT_TRUE(testsupport::ThrowsWith<image::EImage_Limit>(
        [&] { image::Template_Byte_Range(U(markers + "@B0.8@")); },
        u"A template holds more than 101 \"@\" markers: the converter cannot take it."));

    TConfig config;
    config.ParGen({{"Working_Mode", "1"}});
    config.Topics({}, {Subscribe_Row("a"), Subscribe_Row("b", {{"Template", markers + "@B0.8@"}})});
    try {
        image::Build_Bin_Config(config.Dir());
        ADD_FAILURE() << "no error";
    } catch (const image::EImage_Limit& e) {
        EXPECT_NE(plat::StringToUtf8(e.Message()).find("row 2"), std::string::npos) << e.what();
    }
}

TEST(MQTTTopics, SmallRoutines) {
    EXPECT_EQ(image::Clean_CR_LF(u"a\r\nb\rc\n", false), u"abc");
    EXPECT_EQ(image::Clean_CR_LF(u"a\r\nb", true), u"a\r\nb");
    const std::pair<const char16_t*, std::uint32_t> codes[] = {
        {u"STRING", 0}, {u"INT", 1}, {u"FLOAT", 2}, {u"BASE64", 3}, {u"SINT", 4}, {u"int", 0}, {u"", 0}};
    for (const auto& [text, code] : codes)
        EXPECT_EQ(image::Data_Type_Code(text), code);
}
