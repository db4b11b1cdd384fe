#include "UMBus_Network.h"

#include <filesystem>

#include "UComon.h"
#include "plat/Exception.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using plat::IXMLNode;
using plat::String;
using plat::TXMLDocument;
using plat::TXMLValue;

const char16_t* const Type_Of_Data_Items[] = {
    u"Energy (Wh)",
    u"Energy (J)",
    u"Volume (m³)",
    u"Mass (Kg)",
    u"On Time",
    u"Operating Time",
    u"Power (W)",
    u"Power (J/h)",
    u"Volume Flow (m³/h)",
    u"Volume Flow Ext. (m³/min)",
    u"Volume Flow Ext. (m³/s)",
    u"Mass Flow (Kg/h)",
    u"Flow Temperature (°C)",
    u"Return Temperature (°C)",
    u"Temperature Difference (K)",
    u"External Temperature (°C)",
    u"Pressure (bar)",
    u"Averaging Duration ",
    u"Actuality Duration",
    u"Type of  Data in VIFE",
    u"Time Point",
    u"VIF is in ASCII",
    u"Unit for H.C.A.",
    u"Fabrication No",
    u"(Enhanced) Identification",
    u"Bus Address",
};

const char16_t* const VIFE_Items[] = {
    u"Not Selected",
    u"Credit of the nominal local legal currency units",
    u"Debit of the nominal local legal currency units",
    u"Access Number (transmission count)",
    u"Medium (as in fixed header)",
    u"Manufacturer (as in fixed header)",
    u"Parameter set identification",
    u"Model/Version",
    u"Hardware Version #",
    u"Firmware Version #",
    u"Software Version #",
    u"Customer Location",
    u"Customer",
    u"Access Code User",
    u"Access Code Operator",
    u"Access Code System Operator",
    u"Access Code Developer",
    u"Password",
    u"Error flags (binary)",
    u"Error mask",
    u"Digital Output (binary)",
    u"Digital Input (binary)",
    u"Baudrate [Baud]",
    u"response delay time [bittimes]",
    u"Retry",
    u"First storage # for cyclic storage",
    u"Last storage # for cyclic storage",
    u"Size of storage block",
    u"Storage interval [sec(s)..day(s)]",
    u"Storage interval month(s)",
    u"Storage interval year(s)",
    u"Duration since last readout[sec(s)..day(s)]",
    u"Start (date/time) of tariff",
    u"Duration of tariff (nn=01..11:min to day)",
    u"Period of tariff [sec(s) to day(s)]",
    u"Period of tariff months(s)",
    u"Period of tariff year(s)",
    u"dimensionless/ no VIF",
    u"Volts ",
    u"Ampere",
    u"Reset counter",
    u"Comulation counter",
    u"Control signal",
    u"Day of week",
    u"Week number",
    u"Time point of day change",
    u"State of parameter activation",
    u"Special supplier information",
    u"Duration since last comulation [hour(s)..year(s)]",
    u"Operation time battery [hour(s)..year(s)]",
    u"Date and time of battery change",
    u"Energy MWh",
    u"Energy GJ",
    u"Volume ",
    u"Mass",
    u"Volume 0,1 feet^3",
    u"Volume 0,1 american gallon",
    u"Volume 1 american gallon",
    u"Volume flow 0,001 american gallon/min",
    u"Volume flow 1 american gallon/min",
    u"Volume flow 1 american gallon/h",
    u"Power MW",
    u"Power GJ/h",
    u"Flow Temperature",
    u"Return Temperature",
    u"Temperature Difference",
    u"External Temperature",
    u"Cold/Warm Temperature Limit °F",
    u"Cold/Worm Temperature Limit °C",
    u"Cumul. count max power",
    u"per second",
    u"per minute",
    u"per hour",
    u"per day",
    u"per week",
    u"per month",
    u"per year",
    u"per revolution/measurement",
    u"increment per input pulse on input channel",
    u"increment per output pulse on output channel",
    u"per liter",
    u"per m^3",
    u"per kg",
    u"per K (Kelvin)",
    u"per kWh",
    u"per GJ",
    u"per kW",
    u"per (K*l)(Kelvin*liter) ",
    u"per V (Volt)",
    u"per A (Ampere)",
    u"multiplied by sek",
    u"multiplied by sek/V",
    u"multiplied by sek/A",
    u"start date(/time) of",
    u"VIF contains uncorrected unit instead of corrected unit",
    u"Accumulation only if positive contributions",
    u"Accumulation of abs value only if negative contributions",
    u"upper/lower limit value",
    u"# of exceeds of lower/upper limit",
    u"Date(/time) of begin/end of first/last lower/upper limit exceed",
    u"Duration of limit exceed",
    u"Duration of first/last",
    u"Date(/time) of first/last begin/end",
    u"Multiplicative currection factor",
    u"Additive correction constant * unit of VIF (offset)",
    u"Moltiplicative correction factor: 10^3",
    u"future value",
    u"next VIFE's and data of this block are manufacturer specific",
    u"None",
    u"Too many DIFE's",
    u"Storage number not implemented",
    u"Unit number not implemented",
    u"Tariff number not implemented",
    u"Function not implemented",
    u"Data class not implemented",
    u"Data size not implemented",
    u"Too many VIFE's",
    u"Illegal VIF-Group",
    u"Illegal VIF-Exponent",
    u"VIF/DIF mismatch",
    u"Unimplemented action",
    u"No data available (undefined value)",
    u"Data overflow",
    u"Data underflow",
    u"Data error",
    u"Premature end of record ",
    u"Security Key",
    u"Remote control (devicespecific e.g. gas valve)",
    u"Operator specific data",
    u"Time point second (0 to 59)",
    u"Data container for wireless M-Bus protocol",
    u"Period of nominal data transmissions [sec(s) to day(s)]",
    u"RF level units: dBm",
    u"Daylight savings (beginning, ending, deviation) data type K",
    u"Listening window management data type L",
    u"Remaining battery life time (days)",
    u"Number times the meter was stopped",
    u"Reactive energy",
    u"Apparent energy",
    u"Energy",
    u"Reactive power",
    u"Relative humidity",
    u"Volume",
    u"Phase U-U (volt. to volt.)",
    u"Phase U-I (volt. to current)",
    u"Frequency",
    u"Apparent power",
    u"Reserved for alternate non-metric unit system",
    u"Value at base conditions",
    u"Value during lower (u= 0), upper (u = 1) limit exceed",
    u"Leakage values",
    u"Overflow values",
};

const char16_t* const Function_Field_Items[] = {
    u"Instantaneous Value",
    u"Minimun Value",
    u"Maximum Value",
    u"Value During Error State",
};

const char16_t* const Dimension_Items[] = {
    u"8", u"16", u"32", u"64", u"24", u"48", u"32 Real", u"Variable Length",
};

const char16_t* const Post_Operation_Items[] = {
    u"None",        u" : 10",     u" : 100",     u" : 1000",     u" : 10000",
    u" : 100000",   u" : 1000000", u" * 10",     u" * 100",      u" * 1000",
    u" * 10000",    u" * 100000", u" * 1000000",
};

const char16_t* const MBus_Network_Root = u"M-Bus_Network";
const char16_t* const MBus_Network_Tree_Root = u"M-Bus Network";
const char16_t* const SW_Version_Comment = u"SW_VERSION = 1.022";

namespace {

// Key attributes are "wMBus_Key_1" .. "wMBus_Key_16".
String Key_Attribute(int index) { return u"wMBus_Key_" + plat::IntToStr(index + 1); }

int Int_Def(const IXMLNode& e, plat::StringView name, int def) { return e.Attributes(name).AsIntegerDef(def); }

std::uint8_t Byte_Def(const IXMLNode& e, plat::StringView name, int def)
{
    return static_cast<std::uint8_t>(Int_Def(e, name, def) & 0xFF);
}

String Text_Def(const IXMLNode& e, plat::StringView name) { return e.Attributes(name).AsStringDef(String()); }

// The storage number is written unsigned, so values above the signed range must read back;
// like the other numbers it keeps the low bits of what was written.
std::uint32_t Unsigned_Def(const IXMLNode& e, plat::StringView name)
{
    const TXMLValue v = e.Attributes(name);
    std::int64_t n = 0;
    if (v.IsNull() || !plat::TryStrToInt64(v.AsString(), n))
        return 0;
    return static_cast<std::uint32_t>(n);
}

void Read_Node(const IXMLNode& e, TNodo& n)
{
    // Only an explicit "0" disables a node: files of older tools have no such attribute.
    n.Enable = Text_Def(e, u"Enable_Node") != u"0";
    n.Node_ID_Type = Byte_Def(e, u"Node_ID_Type", 0);
    int id = 0;
    const TXMLValue idv = e.Attributes(u"ID");
    if (!idv.IsNull() && plat::TryStrToInt(idv.AsString(), id)) {
        if (n.Node_ID_Type == 0) {
            n.Node_ID_Primary = id;
            n.Node_ID_Secondary = 1;
        } else {
            n.Node_ID_Primary = 1;
            n.Node_ID_Secondary = id;
        }
    } else {
        n.Node_ID_Primary = Int_Def(e, u"ID_Primary", 1);
        n.Node_ID_Secondary = Int_Def(e, u"ID_Secondary", 1);
    }
    n.Description = e.Attributes(u"Descrizione").AsString();  // required
    n.Send_SNK = Byte_Def(e, u"Send_SND_NKE", 0);
    n.Reset_App = Byte_Def(e, u"Reset_App", 0);
    n.Node_State = Byte_Def(e, u"Node_State", 0);
    n.Ident_Num = Byte_Def(e, u"Ident_Num", 0);
    n.BCDtoINT_IN = Byte_Def(e, u"BCDtoINT_IN", 0);
    n.Swap_Ident = Int_Def(e, u"Swap_IN", 0);
    n.Var_List_Type = Byte_Def(e, u"Var_List_Type", 0);
    n.Cut_After = Byte_Def(e, u"Cut_After", 0);
    n.NS_Topic = Int_Def(e, u"NS_Topic", 0);
    n.IN_Topic = Int_Def(e, u"IN_Topic", 0);
    n.Access_Number = Byte_Def(e, u"Access_Number", 0);
    n.AN_Topic = Int_Def(e, u"AN_Topic", 0);
    n.MBus_Type = Byte_Def(e, u"MBus_Type", 1);
    n.wMBus_ManID = Text_Def(e, u"wMBus_ManID");
    n.wMBus_Add = Text_Def(e, u"wMBus_Add");
    n.wMBus_Ver = Text_Def(e, u"wMBus_Ver");
    n.wMBus_DevType = Text_Def(e, u"wMBus_DevType");
    n.wMBus_En_Key = Byte_Def(e, u"wMBus_En_Key", 0);
    for (int i = 0; i < 16; ++i)
        n.wMBus_Key[i] = Text_Def(e, Key_Attribute(i));
    n.wMBus_RSSI = Byte_Def(e, u"wMBus_RSSI", 0);
    n.wMBus_RSSI_Topic = Int_Def(e, u"wMBus_RSSI_Topic", 0);
}

void Read_Variable(const IXMLNode& e, TVariabile& v)
{
    v.Enable = Text_Def(e, u"Enable") == u"1";
    v.Description = e.Attributes(u"Desc").AsString();         // required
    v.Type_Of_Data = e.Attributes(u"Type").AsInteger();       // required
    v.Function_Field = e.Attributes(u"Fun_Field").AsInteger(); // required
    v.Dimension = e.Attributes(u"Dim").AsInteger();           // required
    v.Unita = Int_Def(e, u"Unit", 0);
    v.Storage_Number = Unsigned_Def(e, u"StoNumber");
    v.Tariff = Int_Def(e, u"Tariff", 0);
    v.VIFE = Byte_Def(e, u"VIFE", 0);
    v.BCDtoINT = Text_Def(e, u"BCDtoINT") == u"1";
    v.VIF_ASCII = Text_Def(e, u"VIF_ASCII");
    v.Length = Int_Def(e, u"Length", 0);
    v.Position = Byte_Def(e, u"Position", 1);
    v.Topic = Int_Def(e, u"Topic", 0);
    v.Post_Operation = Byte_Def(e, u"Post_Operation", 0);
}

void Put(IXMLNode& e, plat::StringView name, std::int64_t value) { e.SetAttributes(name, plat::IntToStr(value)); }
void Put(IXMLNode& e, plat::StringView name, bool value) { e.SetAttributes(name, value ? u"1" : u"0"); }
void Put(IXMLNode& e, plat::StringView name, const String& value) { e.SetAttributes(name, value); }

void Write_Node(IXMLNode& e, const TNodo& n)
{
    Put(e, u"Enable_Node", n.Enable);
    Put(e, u"ID_Primary", std::int64_t{n.Node_ID_Primary});
    Put(e, u"ID_Secondary", std::int64_t{n.Node_ID_Secondary});
    Put(e, u"Descrizione", n.Description);
    Put(e, u"Send_SND_NKE", std::int64_t{n.Send_SNK});
    Put(e, u"Reset_App", std::int64_t{n.Reset_App});
    Put(e, u"Node_State", std::int64_t{n.Node_State});
    Put(e, u"Ident_Num", std::int64_t{n.Ident_Num});
    Put(e, u"BCDtoINT_IN", std::int64_t{n.BCDtoINT_IN});
    Put(e, u"Swap_IN", std::int64_t{n.Swap_Ident});
    Put(e, u"Node_ID_Type", std::int64_t{n.Node_ID_Type});
    Put(e, u"Var_List_Type", std::int64_t{n.Var_List_Type});
    Put(e, u"Cut_After", std::int64_t{n.Cut_After});
    Put(e, u"NS_Topic", std::int64_t{n.NS_Topic});
    Put(e, u"IN_Topic", std::int64_t{n.IN_Topic});
    Put(e, u"Access_Number", std::int64_t{n.Access_Number});
    Put(e, u"AN_Topic", std::int64_t{n.AN_Topic});
    Put(e, u"IN_VarType", std::int64_t{0});
    Put(e, u"MBus_Type", std::int64_t{n.MBus_Type});
    Put(e, u"wMBus_ManID", n.wMBus_ManID);
    Put(e, u"wMBus_Add", n.wMBus_Add);
    Put(e, u"wMBus_Ver", n.wMBus_Ver);
    Put(e, u"wMBus_DevType", n.wMBus_DevType);
    Put(e, u"wMBus_En_Key", std::int64_t{n.wMBus_En_Key});
    for (int i = 0; i < 16; ++i)
        Put(e, Key_Attribute(i), n.wMBus_Key[i]);
    Put(e, u"wMBus_RSSI", std::int64_t{n.wMBus_RSSI});
    Put(e, u"wMBus_RSSI_Topic", std::int64_t{n.wMBus_RSSI_Topic});
}

void Write_Variable(IXMLNode& e, const TVariabile& v)
{
    Put(e, u"Enable", v.Enable);
    Put(e, u"Desc", v.Description);
    Put(e, u"Type", std::int64_t{v.Type_Of_Data});
    Put(e, u"Fun_Field", std::int64_t{v.Function_Field});
    Put(e, u"Dim", std::int64_t{v.Dimension});
    Put(e, u"Unit", std::int64_t{v.Unita});
    Put(e, u"StoNumber", std::int64_t{v.Storage_Number});
    Put(e, u"Tariff", std::int64_t{v.Tariff});
    Put(e, u"VIFE", std::int64_t{v.VIFE});
    Put(e, u"BCDtoINT", v.BCDtoINT);
    Put(e, u"VIF_ASCII", v.VIF_ASCII);
    Put(e, u"Length", std::int64_t{v.Length});
    Put(e, u"Position", std::int64_t{v.Position});
    Put(e, u"Topic", std::int64_t{v.Topic});
    Put(e, u"Post_Operation", std::int64_t{v.Post_Operation});
}

} // namespace

String Node_Caption(const TNodo& Node)
{
    if (Node.MBus_Type != 0)
        return u"ID " + plat::IntToStr(Node.Node_ID()) + u" - " + Node.Description;
    return u"wM-Bus Node - Address " + Node.wMBus_Add + u" - " + Node.Description;
}

String Variable_Caption(const TVariabile& Var) { return u"VAR - " + Var.Description; }

bool Load_MBus_Network(const String& FileName, TNodi_List& Nodi_List, String& Error)
{
    Nodi_List.clear();
    Error.clear();
    // Nothing there is an empty network; anything else there must be a network file (a
    // folder, a pipe or a device is refused by the reader with its reason).
    if (!plat::PathEntryExists(FileName))
        return true;

    TXMLDocument doc;
    try {
        doc.LoadFromFile(FileName, plat::kNetworkFileCap);
    } catch (const plat::Exception& e) {
        Error = e.Message();
        return false;
    }
    // Comments and a declaration before the root are dropped by the document model, so a
    // file touched by another XML tool still loads instead of reading as an empty network.
    const IXMLNode root = doc.DocumentElement();
    if (!root)
        return true;
    try {
        const plat::IXMLNodeList nodes = root.ChildNodes();
        Nodi_List.reserve(static_cast<std::size_t>(nodes.Count()));
        for (int i = 0; i < nodes.Count(); ++i) {
            const IXMLNode ne = nodes[i];
            if (ne.NodeType() != plat::ntElement)
                continue;
            auto node = std::make_unique<TNodo>();
            Read_Node(ne, *node);
            TNodo& n = *Nodi_List.emplace_back(std::move(node));
            const plat::IXMLNodeList vars = ne.ChildNodes();
            n.Var_List.reserve(static_cast<std::size_t>(vars.Count()));
            for (int j = 0; j < vars.Count(); ++j) {
                const IXMLNode ve = vars[j];
                if (ve.NodeType() != plat::ntElement)
                    continue;
                auto var = std::make_unique<TVariabile>();
                Read_Variable(ve, *var);
                n.Var_List.push_back(std::move(var));
            }
        }
    } catch (const plat::Exception& e) {
        Error = e.Message();
        return false;
    }
    return true;
}

void Save_MBus_Network(const String& FileName, const TNodi_List& Nodi_List)
{
    TXMLDocument doc;
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(MBus_Network_Root);
    doc.AddComment(SW_Version_Comment);
    for (const auto& node : Nodi_List) {
        IXMLNode ne = root.AddChild(u"Nodo");
        Write_Node(ne, *node);
        for (const auto& var : node->Var_List) {
            IXMLNode ve = ne.AddChild(u"Variabile");
            Write_Variable(ve, *var);
        }
    }
    doc.SaveToFile(FileName);
}

int Found_BACnet_EngUnits(std::int32_t Type_Of_Data, std::int32_t VIFE)
{
    switch (Type_Of_Data) {
    case 0: return 18;
    case 1: return 16;
    case 2: return 80;
    case 3: return 39;
    case 6: return 47;
    case 8: return 135;
    case 9: return 165;
    case 10: return 85;
    case 11: return 44;
    case 12:
    case 13:
    case 15: return 62;
    case 14: return 63;
    case 16: return 55;
    case 19:
        switch (VIFE) {
        case 38: return 5;
        case 39: return 3;
        case 51: return 146;
        case 57: return 83;
        case 59: return 89;
        case 60: return 192;
        case 61: return 49;
        case 63:
        case 64:
        case 65:
        case 66:
        case 67: return 64;
        case 68: return 62;
        case 69: return 47;
        case 70: return 101;
        case 71: return 100;
        default: break;
        }
        break;
    default: break;
    }
    return Default_BACnet_Eng_Unit();
}
