// M_Bus.xml: round trips, the written layout (also seen by xmllint), defaults of every
// guarded attribute, the required attributes that stop loading, and broken files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "UMBus_Network.h"
#include "plat/Exception.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using plat::String;

namespace {

using testsupport::TempDir;

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string U8(const String& s) { return plat::StringToUtf8(s); }

// A network that uses every field with values away from the defaults.
TNodi_List SampleNetwork()
{
    TNodi_List list;
    auto wired = std::make_unique<TNodo>();
    wired->Enable = true;
    wired->Description = u"Heat meter \"A\" & <B> m³";
    wired->Node_ID_Primary = 250;
    wired->Node_ID_Secondary = 99999999;
    wired->Send_SNK = 1;
    wired->Reset_App = 1;
    wired->Node_State = 200;
    wired->Ident_Num = 3;
    wired->BCDtoINT_IN = 1;
    wired->Swap_Ident = -7;
    wired->Access_Number = 9;
    wired->Node_ID_Type = 1;
    wired->Var_List_Type = 1;
    wired->Cut_After = 249;
    wired->NS_Topic = 11;
    wired->IN_Topic = -1;
    wired->AN_Topic = 12;
    wired->MBus_Type = 1;
    wired->wMBus_RSSI = 255;
    wired->wMBus_RSSI_Topic = 13;
    auto v1 = std::make_unique<TVariabile>();
    v1->Enable = true;
    v1->Description = u"Energy";
    v1->Type_Of_Data = 25;
    v1->Function_Field = 3;
    v1->Dimension = 7;
    v1->Unita = 10;
    v1->Storage_Number = 4294967295u;
    v1->Tariff = 0xFFFFF;
    v1->VIFE = 151;
    v1->BCDtoINT = true;
    v1->Length = 191;
    v1->VIF_ASCII = u"kWh\u00b7x";
    v1->Position = 100;
    v1->Topic = -1;
    v1->Post_Operation = 12;
    wired->Var_List.push_back(std::move(v1));
    auto v2 = std::make_unique<TVariabile>();
    v2->Description = u"Second";
    v2->Position = 2;
    wired->Var_List.push_back(std::move(v2));
    list.push_back(std::move(wired));

    auto wireless = std::make_unique<TNodo>();
    wireless->Description = u"Water";
    wireless->MBus_Type = 0;
    wireless->wMBus_ManID = u"0x2C2D";
    wireless->wMBus_Add = u"$12345678";
    wireless->wMBus_Ver = u"27";
    wireless->wMBus_DevType = u"7";
    wireless->wMBus_En_Key = 1;
    for (int i = 0; i < 16; ++i)
        wireless->wMBus_Key[i] = i % 2 ? u"$" + plat::IntToStr(i) : u"0x" + plat::IntToStr(i);
    list.push_back(std::move(wireless));
    list.push_back(std::make_unique<TNodo>());  // a node without variables and with empty texts
    return list;
}

TNodi_List LoadOk(const String& file)
{
    TNodi_List list;
    String error;
    EXPECT_TRUE(Load_MBus_Network(file, list, error)) << U8(error);
    EXPECT_EQ(error, u"");
    return list;
}

TNodi_List LoadXml(const TempDir& dir, const std::string& xml, bool& ok, String& error)
{
    WriteBytes(dir / "M_Bus.xml", xml);
    TNodi_List list;
    ok = Load_MBus_Network(dir / u"M_Bus.xml", list, error);
    return list;
}

bool HaveXmllint() { return std::system("xmllint --version >/dev/null 2>&1") == 0; }

bool RunCommand(const std::string& cmd, std::string& out)
{
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return false;
    out.clear();
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    return ::pclose(p) == 0;
}

} // namespace

TEST(MBusNetworkFile, RoundTripKeepsEveryFieldAndRewritesTheSameBytes)
{
    TempDir dir;
    const String file = dir / u"M_Bus.xml";
    Save_MBus_Network(file, SampleNetwork());
    const std::string first = ReadBytes(dir / "M_Bus.xml");

    TNodi_List back = LoadOk(file);
    ASSERT_EQ(back.size(), 3u);
    const TNodo& w = *back[0];
    EXPECT_TRUE(w.Enable);
    EXPECT_EQ(w.Description, u"Heat meter \"A\" & <B> m³");
    EXPECT_EQ(w.Node_ID_Primary, 250);
    EXPECT_EQ(w.Node_ID_Secondary, 99999999);
    EXPECT_EQ(w.Swap_Ident, -7);
    EXPECT_EQ(w.IN_Topic, -1);
    EXPECT_EQ(w.Cut_After, 249);
    EXPECT_EQ(w.wMBus_RSSI, 255);
    ASSERT_EQ(w.Var_List.size(), 2u);
    const TVariabile& v = *w.Var_List[0];
    EXPECT_TRUE(v.Enable);
    EXPECT_EQ(v.Storage_Number, 4294967295u);
    EXPECT_EQ(v.Tariff, 0xFFFFF);
    EXPECT_EQ(v.VIFE, 151);
    EXPECT_EQ(v.Topic, -1);
    EXPECT_EQ(v.Position, 100);
    EXPECT_EQ(v.VIF_ASCII, u"kWh\u00b7x");
    EXPECT_FALSE(w.Var_List[1]->Enable);
    EXPECT_EQ(w.Var_List[1]->Position, 2);

    const TNodo& wl = *back[1];
    EXPECT_EQ(wl.MBus_Type, 0);
    EXPECT_EQ(wl.wMBus_ManID, u"0x2C2D");
    EXPECT_EQ(wl.wMBus_Add, u"$12345678");
    EXPECT_EQ(wl.wMBus_Key[0], u"0x0");
    EXPECT_EQ(wl.wMBus_Key[15], u"$15");
    EXPECT_FALSE(back[2]->Enable);  // "0" was written, so it must not come back enabled
    EXPECT_TRUE(back[2]->Var_List.empty());

    // Every field is written, so any field lost on the way shows up as a changed file.
    Save_MBus_Network(file, back);
    EXPECT_EQ(ReadBytes(dir / "M_Bus.xml"), first);
}

TEST(MBusNetworkFile, WrittenLayout)
{
    TempDir dir;
    const String file = dir / u"M_Bus.xml";
    Save_MBus_Network(file, SampleNetwork());
    const std::string bytes = ReadBytes(dir / "M_Bus.xml");
    EXPECT_EQ(bytes.rfind("<M-Bus_Network", 0), 0u) << "root first, no declaration";
    const auto end = bytes.find("</M-Bus_Network>");
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(bytes.find("<!--SW_VERSION = 1.022-->", end), std::string::npos) << "comment after the root";

    std::vector<String> node_attrs = {u"Enable_Node", u"ID_Primary", u"ID_Secondary", u"Descrizione",
        u"Send_SND_NKE", u"Reset_App", u"Node_State", u"Ident_Num", u"BCDtoINT_IN", u"Swap_IN",
        u"Node_ID_Type", u"Var_List_Type", u"Cut_After", u"NS_Topic", u"IN_Topic", u"Access_Number",
        u"AN_Topic", u"IN_VarType", u"MBus_Type", u"wMBus_ManID", u"wMBus_Add", u"wMBus_Ver",
        u"wMBus_DevType", u"wMBus_En_Key"};
    for (int i = 1; i <= 16; ++i)
        node_attrs.push_back(u"wMBus_Key_" + plat::IntToStr(i));
    node_attrs.push_back(u"wMBus_RSSI");
    node_attrs.push_back(u"wMBus_RSSI_Topic");
    const std::vector<String> var_attrs = {u"Enable", u"Desc", u"Type", u"Fun_Field", u"Dim", u"Unit",
        u"StoNumber", u"Tariff", u"VIFE", u"BCDtoINT", u"VIF_ASCII", u"Length", u"Position", u"Topic",
        u"Post_Operation"};

    plat::TXMLDocument doc;
    doc.LoadFromFile(file);
    const plat::IXMLNode root = doc.DocumentElement();
    ASSERT_EQ(root.NodeName(), u"M-Bus_Network");
    ASSERT_EQ(root.ChildNodes().Count(), 3);
    for (int n = 0; n < 3; ++n) {
        const plat::IXMLNode node = root.ChildNodes()[n];
        EXPECT_EQ(node.NodeName(), u"Nodo");
        std::vector<String> names;
        for (int i = 0; i < node.AttributeCount(); ++i)
            names.push_back(node.AttributeName(i));
        EXPECT_EQ(names, node_attrs) << "node " << n;
        EXPECT_EQ(node.Attributes(u"IN_VarType").AsString(), u"0");
    }
    const plat::IXMLNode var = root.ChildNodes()[0].ChildNodes()[0];
    EXPECT_EQ(var.NodeName(), u"Variabile");
    std::vector<String> names;
    for (int i = 0; i < var.AttributeCount(); ++i)
        names.push_back(var.AttributeName(i));
    EXPECT_EQ(names, var_attrs);
    EXPECT_EQ(var.Attributes(u"StoNumber").AsString(), u"4294967295");
    EXPECT_EQ(var.Attributes(u"Topic").AsString(), u"-1");
    EXPECT_EQ(var.Attributes(u"BCDtoINT").AsString(), u"1");
    EXPECT_EQ(root.ChildNodes()[0].Attributes(u"Enable_Node").AsString(), u"1");
}

TEST(MBusNetworkFile, SavedFileSeenByXmllint)
{
    if (!HaveXmllint())
        GTEST_SKIP() << "xmllint not installed";
    TempDir dir;
    Save_MBus_Network(dir / u"M_Bus.xml", SampleNetwork());
    const std::string f = "'" + (dir / "M_Bus.xml") + "'";
    std::string out;
    ASSERT_TRUE(RunCommand("xmllint --noout " + f + " 2>&1", out)) << out;
    struct Case {
        const char* xpath;
        const char* expected;
    } cases[] = {
        {"count(/M-Bus_Network/Nodo)", "3"},
        {"count(/M-Bus_Network/Nodo[1]/Variabile)", "2"},
        {"count(//Variabile/text()) + count(//Nodo/text()[normalize-space()])", "0"},
        {"string(/M-Bus_Network/Nodo[1]/@Descrizione)", "Heat meter \"A\" & <B> m³"},
        {"string(/M-Bus_Network/Nodo[2]/@wMBus_Key_16)", "$15"},
        {"string(/comment())", "SW_VERSION = 1.022"},
        {"count(/node())", "2"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RunCommand(std::string("xmllint --xpath '") + c.xpath + "' " + f + " 2>/dev/null", out)) << c.xpath;
        if (!out.empty() && out.back() == '\n')
            out.pop_back();
        EXPECT_EQ(out, c.expected) << c.xpath;
    }
}

TEST(MBusNetworkFile, GuardedNodeAttributes)
{
    struct Case {
        const char* attrs;  // of the node element, beside the required "Descrizione"
        std::function<long long(const TNodo&)> field;
        long long expected;
    };
    using N = const TNodo&;
    const Case cases[] = {
        {"", [](N n) { return n.Enable; }, 1},
        {"Enable_Node='0'", [](N n) { return n.Enable; }, 0},
        {"Enable_Node='1'", [](N n) { return n.Enable; }, 1},
        {"Enable_Node='no'", [](N n) { return n.Enable; }, 1},
        {"", [](N n) { return n.Node_ID_Primary; }, 1},
        {"", [](N n) { return n.Node_ID_Secondary; }, 1},
        {"ID_Primary='x'", [](N n) { return n.Node_ID_Primary; }, 1},
        {"ID_Primary='0x10'", [](N n) { return n.Node_ID_Primary; }, 16},
        {"ID_Secondary='12345678'", [](N n) { return n.Node_ID_Secondary; }, 12345678},
        {"ID='7' Node_ID_Type='1' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Secondary; }, 7},
        {"ID='7' Node_ID_Type='1' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Primary; }, 1},
        {"ID='7' Node_ID_Type='0' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Primary; }, 7},
        {"ID='7' Node_ID_Type='0' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Secondary; }, 1},
        {"ID='7' Node_ID_Type='2'", [](N n) { return n.Node_ID_Secondary; }, 7},
        {"ID='seven' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Primary; }, 3},
        {"ID='seven' ID_Primary='3' ID_Secondary='4'", [](N n) { return n.Node_ID_Secondary; }, 4},
        {"", [](N n) { return n.MBus_Type; }, 1},
        {"MBus_Type='wireless'", [](N n) { return n.MBus_Type; }, 1},
        {"MBus_Type='0'", [](N n) { return n.MBus_Type; }, 0},
        {"Cut_After='300'", [](N n) { return n.Cut_After; }, 300 & 0xFF},
        {"Cut_After='1.5'", [](N n) { return n.Cut_After; }, 0},
        {"Send_SND_NKE='$1'", [](N n) { return n.Send_SNK; }, 1},
        {"Reset_App='1'", [](N n) { return n.Reset_App; }, 1},
        {"Swap_IN='-5'", [](N n) { return n.Swap_Ident; }, -5},
        {"Swap_IN=''", [](N n) { return n.Swap_Ident; }, 0},
        {"Node_State='256'", [](N n) { return n.Node_State; }, 0},
        {"Access_Number='-1'", [](N n) { return n.Access_Number; }, 255},
        {"Var_List_Type='1'", [](N n) { return n.Var_List_Type; }, 1},
        {"NS_Topic='99999999999'", [](N n) { return n.NS_Topic; }, 0},
        {"wMBus_En_Key='1'", [](N n) { return n.wMBus_En_Key; }, 1},
        {"wMBus_RSSI_Topic='-1'", [](N n) { return n.wMBus_RSSI_Topic; }, -1},
        {"", [](N n) { return n.wMBus_Add.size(); }, 0},
        {"", [](N n) { return n.wMBus_Key[15].size(); }, 0},
        {"wMBus_Key_16='0xFF'", [](N n) { return n.wMBus_Key[15] == u"0xFF"; }, 1},
        {"", [](N n) { return n.Var_List.size(); }, 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        bool ok = false;
        String error;
        const TNodi_List list = LoadXml(
            dir, std::string("<M-Bus_Network><Nodo Descrizione='d' ") + c.attrs + "/></M-Bus_Network>", ok, error);
        ASSERT_TRUE(ok) << c.attrs << ": " << U8(error);
        ASSERT_EQ(list.size(), 1u) << c.attrs;
        EXPECT_EQ(c.field(*list[0]), c.expected) << c.attrs;
    }
}

TEST(MBusNetworkFile, GuardedVariableAttributes)
{
    struct Case {
        const char* attrs;  // beside the required Desc, Type, Fun_Field and Dim
        std::function<long long(const TVariabile&)> field;
        long long expected;
    };
    using V = const TVariabile&;
    const Case cases[] = {
        {"", [](V v) { return v.Enable; }, 0},
        {"Enable='1'", [](V v) { return v.Enable; }, 1},
        {"Enable='true'", [](V v) { return v.Enable; }, 0},
        {"", [](V v) { return v.Position; }, 1},
        {"Position='abc'", [](V v) { return v.Position; }, 1},
        {"Position='100'", [](V v) { return v.Position; }, 100},
        {"", [](V v) { return v.Topic; }, 0},
        {"Topic='-1'", [](V v) { return v.Topic; }, -1},
        {"StoNumber='4294967295'", [](V v) { return v.Storage_Number; }, 4294967295LL},
        {"StoNumber='$FFFFFFFF'", [](V v) { return v.Storage_Number; }, 4294967295LL},
        {"StoNumber='many'", [](V v) { return v.Storage_Number; }, 0},
        {"", [](V v) { return v.Storage_Number; }, 0},
        {"BCDtoINT='1'", [](V v) { return v.BCDtoINT; }, 1},
        {"BCDtoINT='2'", [](V v) { return v.BCDtoINT; }, 0},
        {"VIFE='300'", [](V v) { return v.VIFE; }, 300 & 0xFF},
        {"Unit='x'", [](V v) { return v.Unita; }, 0},
        {"Tariff='0xFFFFF'", [](V v) { return v.Tariff; }, 0xFFFFF},
        {"Length='191'", [](V v) { return v.Length; }, 191},
        {"Post_Operation='12'", [](V v) { return v.Post_Operation; }, 12},
        {"VIF_ASCII='&lt;h&gt;'", [](V v) { return v.VIF_ASCII == u"<h>"; }, 1},
        {"", [](V v) { return v.VIF_ASCII.size(); }, 0},
        {"ModReg='5' BACnet_EngUnits='95'", [](V v) { return v.Type_Of_Data; }, 2},
    };
    TempDir dir;
    for (const Case& c : cases) {
        bool ok = false;
        String error;
        const TNodi_List list = LoadXml(dir,
            std::string("<M-Bus_Network><Nodo Descrizione='n'><Variabile Desc='v' Type='2' Fun_Field='1' Dim='3' ") +
                c.attrs + "/></Nodo></M-Bus_Network>",
            ok, error);
        ASSERT_TRUE(ok) << c.attrs << ": " << U8(error);
        ASSERT_EQ(list.size(), 1u);
        ASSERT_EQ(list[0]->Var_List.size(), 1u) << c.attrs;
        const TVariabile& v = *list[0]->Var_List[0];
        EXPECT_EQ(v.Function_Field, 1);
        EXPECT_EQ(v.Dimension, 3);
        EXPECT_EQ(c.field(v), c.expected) << c.attrs;
    }
}

TEST(MBusNetworkFile, MissingRequiredAttributeStopsLoadingThere)
{
    const std::string null_text = "Could not convert variant of type (Null) into type (String)";
    struct Case {
        const char* name;
        std::string bad;       // the element that stops loading, between good ones
        bool in_node;          // the bad element is a variable of the first node
        std::string message;
    };
    const Case cases[] = {
        {"node without Descrizione", "<Nodo ID_Primary='9'/>", false, null_text},
        {"variable without Desc", "<Variabile Type='1' Fun_Field='0' Dim='2'/>", true, null_text},
        {"variable without Type", "<Variabile Desc='x' Fun_Field='0' Dim='2'/>", true, null_text},
        {"variable without Fun_Field", "<Variabile Desc='x' Type='1' Dim='2'/>", true, null_text},
        {"variable without Dim", "<Variabile Desc='x' Type='1' Fun_Field='0'/>", true, null_text},
        {"Type not an integer", "<Variabile Desc='x' Type='abc' Fun_Field='0' Dim='2'/>", true,
         "'abc' is not a valid integer value"},
        {"Dim empty", "<Variabile Desc='x' Type='1' Fun_Field='0' Dim=''/>", true,
         "'' is not a valid integer value"},
    };
    const std::string good_var = "<Variabile Desc='ok' Type='1' Fun_Field='0' Dim='2'/>";
    TempDir dir;
    for (const Case& c : cases) {
        std::string xml = "<M-Bus_Network><Nodo Descrizione='first'>" + good_var;
        if (c.in_node)
            xml += c.bad + good_var + "</Nodo>";
        else
            xml += "</Nodo>" + c.bad;
        xml += "<Nodo Descrizione='after'>" + good_var + "</Nodo></M-Bus_Network>";
        bool ok = true;
        String error;
        const TNodi_List list = LoadXml(dir, xml, ok, error);
        EXPECT_FALSE(ok) << c.name;
        EXPECT_EQ(U8(error), c.message) << c.name;
        ASSERT_EQ(list.size(), 1u) << c.name << ": rows after the bad one are not read";
        EXPECT_EQ(list[0]->Description, u"first") << c.name;
        ASSERT_EQ(list[0]->Var_List.size(), 1u) << c.name << ": the bad variable is dropped";
        EXPECT_EQ(list[0]->Var_List[0]->Description, u"ok") << c.name;
    }
}

TEST(MBusNetworkFile, WholeFileCases)
{
    struct Case {
        const char* name;
        const char* xml;  // nullptr: no file at all
        bool ok;
        std::vector<String> nodes;  // descriptions of the nodes read
    };
    const Case cases[] = {
        {"no file", nullptr, true, {}},
        {"empty root", "<M-Bus_Network/>", true, {}},
        {"declaration and comment before the root",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- exported -->\n"
         "<M-Bus_Network><Nodo Descrizione='a'/></M-Bus_Network>\n<!--SW_VERSION = 1.022-->",
         true, {u"a"}},
        {"children read whatever their name", "<M-Bus_Network><Meter Descrizione='a'/><Nodo Descrizione='b'/></M-Bus_Network>",
         true, {u"a", u"b"}},
        {"other root name", "<Network><Nodo Descrizione='a'/></Network>", true, {u"a"}},
        {"not well-formed", "<M-Bus_Network><Nodo Descrizione='a'></M-Bus_Network>", false, {}},
        {"empty file", "", false, {}},
        {"two roots", "<M-Bus_Network/><M-Bus_Network/>", false, {}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::filesystem::remove(dir / "M_Bus.xml");
        if (c.xml)
            WriteBytes(dir / "M_Bus.xml", c.xml);
        // A list left from an earlier show never survives a load.
        TNodi_List list = SampleNetwork();
        String error = u"stale";
        const bool ok = Load_MBus_Network(dir / u"M_Bus.xml", list, error);
        EXPECT_EQ(ok, c.ok) << c.name << ": " << U8(error);
        EXPECT_EQ(error.empty(), c.ok) << c.name;
        std::vector<String> names;
        for (const auto& n : list)
            names.push_back(n->Description);
        EXPECT_EQ(names, c.nodes) << c.name;
    }
}

TEST(MBusNetworkFile, SaveFailureIsRaisedAndOldFileKept)
{
    TempDir dir;
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EXMLDocError>(
        [&] { Save_MBus_Network(dir / u"missing/M_Bus.xml", SampleNetwork()); },
        u"Cannot save file \"" + (dir / u"missing/M_Bus.xml") + u"\""));

    // A folder in place of the file cannot be replaced; nothing beside it is left behind.
    std::filesystem::create_directory(dir / "M_Bus.xml");
    EXPECT_TRUE(
        testsupport::ThrowsWith<plat::EXMLDocError>([&] { Save_MBus_Network(dir / u"M_Bus.xml", SampleNetwork()); },
                                                    u"Cannot save file \"" + (dir / u"M_Bus.xml") + u"\""));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.native()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(MBusNetworkFile, TreeCaptions)
{
    struct Case {
        std::uint8_t mbus_type;
        std::uint8_t id_type;
        const char16_t* expected;
    } cases[] = {
        {1, 0, u"ID 5 - Boiler"},
        {1, 1, u"ID 12345678 - Boiler"},
        {2, 1, u"ID 12345678 - Boiler"},
        {0, 0, u"wM-Bus Node - Address 0x1234 - Boiler"},
    };
    for (const Case& c : cases) {
        TNodo n;
        n.MBus_Type = c.mbus_type;
        n.Node_ID_Type = c.id_type;
        n.Node_ID_Primary = 5;
        n.Node_ID_Secondary = 12345678;
        n.wMBus_Add = u"0x1234";
        n.Description = u"Boiler";
        EXPECT_EQ(Node_Caption(n), c.expected) << int(c.mbus_type) << "/" << int(c.id_type);
    }
    TVariabile v;
    v.Description = u"Flow";
    EXPECT_EQ(Variable_Caption(v), u"VAR - Flow");
}

TEST(MBusNetworkFile, BACnetEngineeringUnits)
{
    struct Case {
        int type, vife, unit;
    } cases[] = {
        {0, 0, 18},   {1, 0, 16},   {2, 0, 80},   {3, 0, 39},   {4, 0, 95},   {6, 0, 47},  {8, 0, 135},
        {9, 0, 165},  {10, 0, 85},  {11, 0, 44},  {12, 0, 62},  {13, 0, 62},  {14, 0, 63}, {15, 0, 62},
        {16, 0, 55},  {17, 0, 95},  {25, 38, 95}, {19, 0, 95},  {19, 38, 5},  {19, 39, 3}, {19, 51, 146},
        {19, 57, 83}, {19, 59, 89}, {19, 60, 192}, {19, 61, 49}, {19, 62, 95}, {19, 63, 64}, {19, 67, 64},
        {19, 68, 62}, {19, 69, 47}, {19, 70, 101}, {19, 71, 100}, {19, 72, 95}, {-1, 0, 95},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Found_BACnet_EngUnits(c.type, c.vife), c.unit) << c.type << "/" << c.vife;
}
