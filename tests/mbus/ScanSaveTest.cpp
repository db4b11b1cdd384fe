// Files made from scan results: the network file from wired and wireless results (register
// counter, start-address mode, device codes, ticks, appending), and the two scan result files.
// Every file written is read back and, where installed, checked with xmllint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "UMBus_Network.h"
#include "UScan_Results.h"
#include "UScan_Save.h"
#include "plat/Xml.h"

using plat::IXMLNode;
using plat::String;
using plat::TXMLDocument;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }
String U16(const std::string& s) { return plat::Utf8ToString(s); }

// Records by data-field code (and length for code 13).
struct Rec {
    int dimension;
    int nbyte = 0;
    int function = 0;
};

// Owns the slaves of one test; the lists hold them as the program's lists do.
class Results {
public:
    ~Results()
    {
        Clear_List_Slave_MBus(wired);
        Clear_List_Slave_wMBus(wireless);
    }
    TSlave_MBus* Slave(int primary, const char* secondary, std::vector<Rec> recs)
    {
        auto* s = new TSlave_MBus;
        s->Primary_Addresss = static_cast<std::uint16_t>(primary);
        s->Secondary_Addresss = U16(secondary);
        s->descManufacture = u"ACW";
        s->Manufacture = 1143;
        s->Version = 2;
        s->Medium = 7;
        for (const Rec& r : recs) s->List_Var.Add(Record(r));
        wired.Add(s);
        return s;
    }
    TSlave_wMBus* Meter(std::int32_t address, std::vector<Rec> recs)
    {
        auto* m = new TSlave_wMBus;
        m->ALA_Manu_str = u"KAM";
        m->ALA_Manufacturer = 0x2C2D;
        m->ALA_Address = address;
        m->ALA_Version = 1;
        m->ALA_DeviceType = 7;
        for (const Rec& r : recs) {
            TVariable_MBus* v = Record(r);
            v->Real_Wireless_Var = true;
            m->List_Var.Add(v);
        }
        wireless.Add(m);
        return m;
    }
    static TVariable_MBus* Record(const Rec& r)
    {
        auto* v = new TVariable_MBus;
        v->dimension = static_cast<std::uint8_t>(r.dimension);
        v->nbyte = r.nbyte;
        v->function_fild = static_cast<std::uint16_t>(r.function);
        v->Desc_Type_Data = u"Volume";
        v->device = 1;
        v->storage_number = 2;
        v->tarif = 3;
        v->type_data = 2;
        v->VIF = 0x13;
        v->DIF = u"$0C";
        v->ValueStr = u"12.345";
        v->totdati = u"45230100";
        return v;
    }
    plat::TList wired, wireless;
};

TXMLDocument* Load(TXMLDocument& doc, const std::string& path)
{
    doc.LoadFromFile(U16(path));
    return &doc;
}

std::vector<IXMLNode> Elements(IXMLNode parent, const char16_t* name)
{
    std::vector<IXMLNode> out;
    auto list = parent.ChildNodes();
    for (int i = 0; i < list.Count(); ++i)
        if (list[i].NodeName() == name) out.push_back(list[i]);
    return out;
}

std::string Attr(IXMLNode n, const char16_t* name) { return U8(n.Attributes(name).AsStringDef(u"<none>")); }

std::string AttributeNames(IXMLNode n)
{
    std::string s;
    for (int i = 0; i < n.AttributeCount(); ++i) s += (i ? " " : "") + U8(n.AttributeName(i));
    return s;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void ExpectWellFormed(const std::string& path)
{
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return;
    EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << path;
}

class ScanSave : public ::testing::Test {
protected:
    TSaveConfXML Conf(int code)
    {
        TSaveConfXML c;
        c.XML_Code_Dev = code;
        c.Mod_Start = 1;
        c.Cut_After = 3;
        c.File_Name = U16(file);
        return c;
    }
    testsupport::TempDir dir;
    std::string file = dir.native() + "/M_Bus.xml";
    Results r;
};

TEST(RegisterUse, DataFieldCodes)
{
    const struct {
        int dimension, nbyte, dim, registers;
    } cases[] = {
        {1, 0, 0, 1},  {9, 0, 0, 1},   {2, 0, 1, 1},   {10, 0, 1, 1},  {3, 0, 4, 2},  {11, 0, 4, 2},
        {4, 0, 2, 2},  {12, 0, 2, 2},  {5, 0, 6, 2},   {6, 0, 5, 3},   {14, 0, 5, 3}, {7, 0, 3, 4},
        {0, 0, 255, 0}, {8, 0, 255, 0}, {15, 0, 255, 0},
        // variable length: (n + 1) / 2, halves to the even neighbour
        {13, 0, 7, 0}, {13, 1, 7, 1},   {13, 2, 7, 2},  {13, 3, 7, 2},  {13, 4, 7, 2}, {13, 5, 7, 3},
        {13, 6, 7, 4}, {13, 7, 7, 4},   {13, 8, 7, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.dimension) + " bytes " + std::to_string(c.nbyte));
        const TRegisterUse u = Register_Use(c.dimension, c.nbyte);
        EXPECT_EQ(u.Dim, c.dim);
        EXPECT_EQ(u.Registers, c.registers);
    }
}

TEST_F(ScanSave, WiredRegistersRunAcrossNodesAndNoExtrasForCode18)
{
    r.Slave(5, "12345678", {{4}, {2}, {13, 5}});
    r.Slave(6, "87654321", {{7}, {3}});
    ASSERT_TRUE(Save_XML_Conf_Wired(Conf(18), false, r.wired));
    ExpectWellFormed(file);
    TXMLDocument doc;
    IXMLNode root = Load(doc, file)->DocumentElement();
    EXPECT_EQ(U8(root.NodeName()), "M-Bus_Network");
    const auto nodes = Elements(root, u"Nodo");
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(AttributeNames(nodes[0]),
              "Enable_Node ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After");
    std::vector<std::string> modRegs, dims;
    for (IXMLNode n : nodes)
        for (IXMLNode v : Elements(n, u"Variabile")) {
            modRegs.push_back(Attr(v, u"ModReg"));
            dims.push_back(Attr(v, u"Dim"));
        }
    EXPECT_EQ(modRegs, (std::vector<std::string>{"1", "3", "4", "7", "11"}));
    EXPECT_EQ(dims, (std::vector<std::string>{"2", "1", "7", "3", "4"}));
    const IXMLNode var = Elements(nodes[0], u"Variabile")[2];
    EXPECT_EQ(AttributeNames(var), "Enable Position Desc Type VIF_ASCII Fun_Field Length ModReg Dim Unit StoNumber "
                                   "Tariff VIFE ModScale BCDtoINT SWAP");
    EXPECT_EQ(Attr(var, u"Length"), "5");
    EXPECT_EQ(Attr(var, u"Position"), "3");
    EXPECT_EQ(Attr(var, u"Desc"), "Volume (U1S2T3)");
    EXPECT_EQ(Attr(nodes[1], u"ID_Secondary"), "87654321");
    EXPECT_EQ(Attr(nodes[1], u"Cut_After"), "3");
    EXPECT_TRUE(Elements(root, u"Group").empty());

    // The editor reads the file as two wired "By Type" nodes with their variables.
    TNodi_List nodi;
    String error;
    ASSERT_TRUE(Load_MBus_Network(U16(file), nodi, error)) << U8(error);
    ASSERT_EQ(nodi.size(), 2u);
    EXPECT_EQ(nodi[0]->MBus_Type, 1);
    EXPECT_EQ(nodi[0]->Var_List_Type, 0);
    EXPECT_EQ(nodi[0]->Node_ID_Primary, 5);
    EXPECT_EQ(nodi[1]->Var_List.size(), 2u);
}

TEST_F(ScanSave, StartAddressModeRestartsEachNodeAndGivesNodeRegisters)
{
    r.Slave(1, "1", {{2}, {4}});
    r.Slave(2, "2", {{2}});
    TSaveConfXML c = Conf(0);
    c.StartModnode = 1;
    c.SMN_Array = {100, 200};
    c.En_NodeState = true;
    c.En_IdeNum = true;
    ASSERT_TRUE(Save_XML_Conf_Wired(c, false, r.wired));
    TXMLDocument doc;
    const auto nodes = Elements(Load(doc, file)->DocumentElement(), u"Nodo");
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(Attr(nodes[0], u"Node_State"), "100");
    EXPECT_EQ(Attr(nodes[0], u"Ident_Num"), "101");
    EXPECT_EQ(Attr(Elements(nodes[0], u"Variabile")[0], u"ModReg"), "103");
    EXPECT_EQ(Attr(Elements(nodes[0], u"Variabile")[1], u"ModReg"), "104");
    EXPECT_EQ(Attr(nodes[1], u"Node_State"), "200");
    EXPECT_EQ(Attr(Elements(nodes[1], u"Variabile")[0], u"ModReg"), "203");

    // Without the two options both are "0" and take no register.
    c.En_NodeState = c.En_IdeNum = false;
    ASSERT_TRUE(Save_XML_Conf_Wired(c, false, r.wired));
    const auto again = Elements(Load(doc, file)->DocumentElement(), u"Nodo");
    EXPECT_EQ(Attr(again[0], u"Node_State"), "0");
    EXPECT_EQ(Attr(again[0], u"Ident_Num"), "0");
    EXPECT_EQ(Attr(Elements(again[0], u"Variabile")[0], u"ModReg"), "100");
}

TEST_F(ScanSave, DeviceCodesChooseTheExtraAttributes)
{
    const struct {
        int code;
        const char* nodeAttributes;
        bool group, modReg;
    } cases[] = {
        {2, "Enable_Node ID ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After", false,
         true},
        {4, "Enable_Node ID Secondary_address ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App "
            "Cut_After",
         true, true},
        {12, "Enable_Node ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After MBus_Type "
             "Node_State Ident_Num BCDtoINT_IN Swap_IN Var_List_Type NS_VarType IN_VarType",
         false, false},
        {13, "Enable_Node ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After MBus_Type",
         false, true},
        {10, "Enable_Node ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After", false,
         true},
    };
    r.Slave(9, "9", {{2}});
    for (const auto& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        TSaveConfXML conf = Conf(c.code);
        conf.Index_Baud = 3;
        conf.Index_Par = 1;
        ASSERT_TRUE(Save_XML_Conf_Wired(conf, true, r.wired));
        TXMLDocument doc;
        IXMLNode root = Load(doc, file)->DocumentElement();
        const auto groups = Elements(root, u"Group");
        ASSERT_EQ(groups.size(), c.group ? 1u : 0u);
        IXMLNode parent = c.group ? groups[0] : root;
        if (c.group) EXPECT_EQ(AttributeNames(groups[0]), "Baudrate Parity");
        if (c.group) EXPECT_EQ(Attr(groups[0], u"Baudrate"), "3");
        const auto nodes = Elements(parent, u"Nodo");
        ASSERT_EQ(nodes.size(), 1u);
        EXPECT_EQ(AttributeNames(nodes[0]), c.nodeAttributes);
        const IXMLNode var = Elements(nodes[0], u"Variabile")[0];
        EXPECT_EQ(var.HasAttribute(u"ModReg"), c.modReg);
        EXPECT_EQ(var.HasAttribute(u"ModScale"), c.code != 12);
        EXPECT_EQ(Attr(var, u"BACnet_EngUnits"), c.code == 12 ? "95" : "<none>");
    }
}

TEST_F(ScanSave, TicksComeFromTheTreeOrTheObjectAndDecideRegistersInStartMode)
{
    // Slave nodes: 1 unticked in the tree; records: ticked, unticked, unreadable (object
    // says no), no link (object says yes), mixed (not the normal checked state).
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    TSlave_MBus* s = r.Slave(1, "1", {{2, 0, 1}, {2, 0, 2}, {2, 0, 0}, {2, 0, 3}, {2}});
    s->Node = &a;
    s->Var(0)->Node = &b;
    s->Var(1)->Node = &c;
    s->Var(2)->Node = &d;
    s->Var(2)->Enable = false;
    s->Var(4)->Node = &e;
    const TTickReader tick = [&](void* n) {
        if (n == &a || n == &c || n == &e) return TTickState::NotChecked;
        if (n == &d) return TTickState::Unknown;
        return TTickState::Checked;
    };
    TSaveConfXML conf = Conf(0);
    conf.StartModnode = 1;
    conf.SMN_Array = {10};
    ASSERT_TRUE(Save_XML_Conf_Wired(conf, false, r.wired, tick));
    TXMLDocument doc;
    const IXMLNode nodo = Elements(Load(doc, file)->DocumentElement(), u"Nodo")[0];
    EXPECT_EQ(Attr(nodo, u"Enable_Node"), "0");
    std::vector<std::string> enable, modReg, fun;
    for (IXMLNode v : Elements(nodo, u"Variabile")) {
        enable.push_back(Attr(v, u"Enable"));
        modReg.push_back(Attr(v, u"ModReg"));
        fun.push_back(Attr(v, u"Fun_Field"));
    }
    EXPECT_EQ(enable, (std::vector<std::string>{"1", "0", "0", "1", "0"}));
    EXPECT_EQ(modReg, (std::vector<std::string>{"10", "11", "11", "11", "12"}));
    EXPECT_EQ(fun, (std::vector<std::string>{"2", "1", "0", "3", "0"}));
}

TEST_F(ScanSave, AppendingKeepsTheEditorsNodesAndComment)
{
    TNodi_List nodi;
    auto n = std::make_unique<TNodo>();
    n->Enable = true;
    n->Description = u"Kept";
    n->MBus_Type = 1;
    nodi.push_back(std::move(n));
    Save_MBus_Network(U16(file), nodi);
    r.Slave(3, "3", {{2}});
    TSaveConfXML c = Conf(18);
    c.Append = 1;
    ASSERT_TRUE(Save_XML_Conf_Wired(c, false, r.wired));
    ExpectWellFormed(file);
    const std::string text = ReadAll(file);
    EXPECT_NE(text.find("<!--SW_VERSION = 1.022-->"), std::string::npos) << text;
    TNodi_List back;
    String error;
    ASSERT_TRUE(Load_MBus_Network(U16(file), back, error)) << U8(error);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(U8(back[0]->Description), "Kept");
    EXPECT_EQ(U8(back[1]->Description), "ACW");

    // A missing file to append to is the XML layer's error; nothing is written.
    c.File_Name = U16(dir.native() + "/none.xml");
    EXPECT_THROW(Save_XML_Conf_Wired(c, false, r.wired), plat::EXMLDocError);
    EXPECT_FALSE(std::filesystem::exists(dir.native() + "/none.xml"));
}

TEST_F(ScanSave, EmptyListsWriteNothing)
{
    { std::ofstream(file) << "keep"; }
    EXPECT_FALSE(Save_XML_Conf_Wired(Conf(18), false, r.wired));
    EXPECT_FALSE(Save_XML_Conf_Wireless(Conf(18), false, r.wireless));
    EXPECT_EQ(ReadAll(file), "keep");
}

TEST_F(ScanSave, WirelessNodesCarryTheMeterAndOnlyRealRecords)
{
    TSlave_wMBus* m = r.Meter(static_cast<std::int32_t>(0x87654321u), {{4}, {2}, {13, 6}});
    m->Enable = false;
    m->Enable_Key = true;
    for (int k = 0; k < 16; ++k) m->Key[k] = static_cast<std::uint8_t>(k * 17);
    m->Var(1)->Real_Wireless_Var = false;
    m->Var(2)->Enable = false;
    TSaveConfXML c = Conf(0);
    c.StartModnode = 1;
    c.SMN_Array = {50};
    c.En_NodeState = true;
    ASSERT_TRUE(Save_XML_Conf_Wireless(c, true, r.wireless));
    ExpectWellFormed(file);
    TXMLDocument doc;
    const IXMLNode nodo = Elements(Load(doc, file)->DocumentElement(), u"Nodo")[0];
    EXPECT_EQ(AttributeNames(nodo),
              "Enable_Node ID_Primary ID_Secondary Node_ID_Type Descrizione Send_SND_NKE Reset_App Cut_After "
              "Node_State Ident_Num MBus_Type wMBus_ManID wMBus_Add wMBus_Ver wMBus_DevType wMBus_En_Key wMBus_Key_1 "
              "wMBus_Key_2 wMBus_Key_3 wMBus_Key_4 wMBus_Key_5 wMBus_Key_6 wMBus_Key_7 wMBus_Key_8 wMBus_Key_9 "
              "wMBus_Key_10 wMBus_Key_11 wMBus_Key_12 wMBus_Key_13 wMBus_Key_14 wMBus_Key_15 wMBus_Key_16");
    EXPECT_EQ(Attr(nodo, u"Enable_Node"), "0");
    EXPECT_EQ(Attr(nodo, u"Descrizione"), "KAM");
    EXPECT_EQ(Attr(nodo, u"Cut_After"), "3");
    EXPECT_EQ(Attr(nodo, u"Node_State"), "50");
    EXPECT_EQ(Attr(nodo, u"MBus_Type"), "0");
    EXPECT_EQ(Attr(nodo, u"wMBus_ManID"), "11309");
    EXPECT_EQ(Attr(nodo, u"wMBus_Add"), "2271560481");
    EXPECT_EQ(Attr(nodo, u"wMBus_Key_16"), "255");
    const auto vars = Elements(nodo, u"Variabile");
    ASSERT_EQ(vars.size(), 2u);
    EXPECT_EQ(Attr(vars[0], u"ModReg"), "51");
    EXPECT_EQ(Attr(vars[1], u"Position"), "3");
    EXPECT_EQ(Attr(vars[1], u"Enable"), "0");
    EXPECT_EQ(Attr(vars[1], u"ModReg"), "53");  // unticked in start mode: no registers
    EXPECT_EQ(Attr(vars[1], u"Length"), "6");

    // The editor reads it as a disabled wireless node with its key.
    TNodi_List nodi;
    String error;
    ASSERT_TRUE(Load_MBus_Network(U16(file), nodi, error)) << U8(error);
    EXPECT_EQ(nodi[0]->MBus_Type, 0);
    EXPECT_FALSE(nodi[0]->Enable);
    EXPECT_EQ(U8(nodi[0]->wMBus_Key[1]), "17");
}

TEST_F(ScanSave, ResultFilesListEveryRecordWithItsTwelveDetails)
{
    TSlave_MBus* s = r.Slave(5, "12345678", {{4}, {2}});
    s->Var(1)->VIF = 0xAB;
    TSlave_wMBus* m = r.Meter(0x00A1B2C3, {{4}});
    m->Cripted = true;
    m->Var(0)->Real_Wireless_Var = false;  // the result file lists every record

    const std::string wired = dir.native() + "/wired.xml", wireless = dir.native() + "/wireless.xml";
    Save_XML_File_DLL(U16(wired), r.wired);
    Save_Wireless_XML_File_DLL(U16(wireless), r.wireless);
    ExpectWellFormed(wired);
    ExpectWellFormed(wireless);

    TXMLDocument doc;
    IXMLNode root = Load(doc, wired)->DocumentElement();
    EXPECT_EQ(U8(root.NodeName()), "SCAN_M-Bus_Wired");
    const IXMLNode node = Elements(root, u"Node")[0];
    EXPECT_EQ(AttributeNames(node), "Primary_Address Secondary_Address Manufacturer Version Type");
    EXPECT_EQ(Attr(node, u"Manufacturer"), "ACW (1143)");
    const auto vars = Elements(node, u"Variable");
    ASSERT_EQ(vars.size(), 2u);
    EXPECT_EQ(AttributeNames(vars[1]), "Value Type UST");
    EXPECT_EQ(Attr(vars[1], u"UST"), "(U1S2T3)");
    std::string children;
    auto list = vars[1].ChildNodes();
    for (int i = 0; i < list.Count(); ++i) children += U8(list[i].NodeName()) + "=" + U8(list[i].Text()) + " ";
    EXPECT_EQ(children, "Storage_Number=2 Tariff=3 Unit=1 Data_Field= Function_Field= Type=Volume Value=12.345 "
                        "DIF=$0C VIF=$AB DIFE= VIFE= DATA=$45230100 ");

    TXMLDocument wdoc;
    IXMLNode wroot = Load(wdoc, wireless)->DocumentElement();
    EXPECT_EQ(U8(wroot.NodeName()), "SCAN_M-Bus_Wireless");
    const IXMLNode meter = Elements(wroot, u"Node")[0];
    EXPECT_EQ(AttributeNames(meter), "Manufacturer Address Version Device_Type Cripted");
    EXPECT_EQ(Attr(meter, u"Address"), "00A1B2C3");
    EXPECT_EQ(Attr(meter, u"Cripted"), "True");
    EXPECT_EQ(Elements(meter, u"Variable").size(), 1u);
}

} // namespace
