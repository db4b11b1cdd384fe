#include "UScan_Save.h"

#include "UComon.h"
#include "UMBus_Network.h"
#include "UScan_Results.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using plat::IntToStr;
using plat::IXMLNode;
using plat::String;
using plat::TXMLDocument;

namespace {

const String One = u"1", Zero = u"0";

String Flag(bool Value) { return Value ? One : Zero; }

bool Ticked(void* Node, bool Enable, const TTickReader& Tick)
{
    if (Node && Tick) {
        switch (Tick(Node)) {
        case TTickState::Checked: return true;
        case TTickState::NotChecked: return false;
        case TTickState::Unknown: break;
        }
    }
    return Enable;
}

bool In(int Code, std::initializer_list<int> Codes)
{
    for (int c : Codes)
        if (c == Code) return true;
    return false;
}

// Root of the network document: the loaded file's root when appending, else a new one.
IXMLNode Network_Root(TXMLDocument& Doc, const TSaveConfXML& DataIn)
{
    if (DataIn.Append == 1) {
        Doc.LoadFromFile(DataIn.File_Name);
        IXMLNode root = Doc.DocumentElement();
        if (root.IsNull()) throw plat::EXMLDocError(u"No root element in " + DataIn.File_Name);
        Doc.AddComment(SW_Version_Comment);
        return root;
    }
    Doc.SetActive(true);
    return Doc.AddChild(MBus_Network_Root);
}

// "Node_State" and "Ident_Num" of start-address mode, taking 1 and 2 registers when enabled.
void Node_Registers(IXMLNode& Nodo, const TSaveConfXML& DataIn, std::int64_t& R)
{
    if (DataIn.En_NodeState) {
        Nodo.SetAttributes(u"Node_State", IntToStr(R));
        R += 1;
    } else {
        Nodo.SetAttributes(u"Node_State", Zero);
    }
    if (DataIn.En_IdeNum) {
        Nodo.SetAttributes(u"Ident_Num", IntToStr(R));
        R += 2;
    } else {
        Nodo.SetAttributes(u"Ident_Num", Zero);
    }
}

void Seven_Zero_Attributes(IXMLNode& Nodo)
{
    for (const char16_t* name :
         {u"Node_State", u"Ident_Num", u"BCDtoINT_IN", u"Swap_IN", u"Var_List_Type", u"NS_VarType", u"IN_VarType"})
        Nodo.SetAttributes(name, Zero);
}

// One "Variabile" of record V at list index Index; R advances when the record takes registers.
void Write_Variable(IXMLNode& Nodo, const TVariable_MBus& V, int Index, bool Enabled, bool TakesRegisters,
                    const TSaveConfXML& DataIn, bool Check_BCD, std::int64_t& R)
{
    const int code = DataIn.XML_Code_Dev;
    IXMLNode e = Nodo.AddChild(u"Variabile");
    e.SetAttributes(u"Enable", Flag(Enabled));
    e.SetAttributes(u"Position", IntToStr(Index + 1));
    e.SetAttributes(u"Desc", V.Desc_Type_Data + u" (U" + IntToStr(V.device) + u"S" + IntToStr(V.storage_number) +
                                 u"T" + IntToStr(V.tarif) + u")");
    e.SetAttributes(u"Type", IntToStr(V.type_data));
    e.SetAttributes(u"VIF_ASCII", V.type_data == 21 ? V.VIF_ASCII : String());
    // EN 13757-3 codes maximum 1 and minimum 2; the editor's list has them the other way round.
    const int fun = V.function_fild == 1 ? 2 : V.function_fild == 2 ? 1 : V.function_fild;
    e.SetAttributes(u"Fun_Field", IntToStr(fun));
    e.SetAttributes(u"Length", Zero);
    if (code != 12) e.SetAttributes(u"ModReg", IntToStr(R));
    const TRegisterUse use = Register_Use(V.dimension, V.nbyte);
    if (V.dimension == 13) e.SetAttributes(u"Length", IntToStr(V.nbyte));
    if (TakesRegisters) R += use.Registers;
    e.SetAttributes(u"Dim", IntToStr(use.Dim));
    e.SetAttributes(u"Unit", IntToStr(V.device));
    e.SetAttributes(u"StoNumber", IntToStr(V.storage_number));
    e.SetAttributes(u"Tariff", IntToStr(V.tarif));
    e.SetAttributes(u"VIFE", IntToStr(V.Type_Data_Vife));
    if (code == 12) {
        e.SetAttributes(u"BACnet_EngUnits", IntToStr(Default_BACnet_Eng_Unit()));
        e.SetAttributes(u"BACnet_DataType", Zero);
        e.SetAttributes(u"Post_Operation", Zero);
    } else {
        e.SetAttributes(u"ModScale", Zero);
    }
    e.SetAttributes(u"BCDtoINT", Flag(V.Is_BCD && Check_BCD));
    e.SetAttributes(u"SWAP", Zero);
}

// The "Variable" element of a result file with its twelve text children.
void Write_Result_Variable(IXMLNode& Node, const TVariable_MBus& V)
{
    IXMLNode e = Node.AddChild(u"Variable");
    e.SetAttributes(u"Value", V.ValueStr);
    e.SetAttributes(u"Type", V.Desc_Type_Data);
    e.SetAttributes(u"UST", u"(U" + IntToStr(V.device) + u"S" + IntToStr(V.storage_number) + u"T" +
                                IntToStr(V.tarif) + u")");
    const std::pair<const char16_t*, String> children[] = {
        {u"Storage_Number", IntToStr(V.storage_number)},
        {u"Tariff", IntToStr(V.tarif)},
        {u"Unit", IntToStr(V.device)},
        {u"Data_Field", V.DataFieldStr},
        {u"Function_Field", V.FunctionFieldStr},
        {u"Type", V.Desc_Type_Data},
        {u"Value", V.ValueStr},
        {u"DIF", V.DIF},
        {u"VIF", u"$" + plat::IntToHex(V.VIF, 2)},
        {u"DIFE", V.DIFE},
        {u"VIFE", V.VIFE},
        {u"DATA", u"$" + V.totdati},
    };
    for (const auto& [name, text] : children) e.AddChild(name).SetText(text);
}

} // namespace

TRegisterUse Register_Use(int Dimension, int NByte)
{
    switch (Dimension) {
    case 1:
    case 9: return {0, 1};
    case 2:
    case 10: return {1, 1};
    case 3:
    case 11: return {4, 2};
    case 4:
    case 12: return {2, 2};
    case 5: return {6, 2};
    case 6:
    case 14: return {5, 3};
    case 7: return {3, 4};
    case 13: {
        // (n + 1) / 2 to the nearest whole number, halves to the even neighbour: the
        // converter counts registers this way, so 4 bytes take 2 and 6 bytes take 4.
        const int n = NByte < 0 ? 0 : NByte;
        const int twice = n + 1;  // twice the quotient
        int k = twice / 2;
        if (twice % 2 != 0 && k % 2 != 0) ++k;
        return {7, k};
    }
    default: return {255, 0};
    }
}

bool Save_XML_Conf_Wired(const TSaveConfXML& DataIn, bool Check_BCD, const plat::TList& Slaves,
                         const TTickReader& Tick)
{
    TScanResultsGuard guard;
    if (Slaves.Count() == 0) return false;
    TXMLDocument doc;
    IXMLNode root = Network_Root(doc, DataIn);
    const int code = DataIn.XML_Code_Dev;
    const bool startMode = DataIn.StartModnode == 1;
    IXMLNode parent = root;
    if (In(code, {4, 7})) {
        parent = root.AddChild(u"Group");
        parent.SetAttributes(u"Baudrate", IntToStr(DataIn.Index_Baud));
        parent.SetAttributes(u"Parity", IntToStr(DataIn.Index_Par));
    }
    std::int64_t R = DataIn.Mod_Start;
    for (int p = 0; p < Slaves.Count(); ++p) {
        const auto& s = *static_cast<const TSlave_MBus*>(Slaves.Items(p));
        if (startMode && p < static_cast<int>(DataIn.SMN_Array.size())) R = DataIn.SMN_Array[static_cast<std::size_t>(p)];
        IXMLNode nodo = parent.AddChild(u"Nodo");
        nodo.SetAttributes(u"Enable_Node", Flag(Ticked(s.Node, true, Tick)));
        if (In(code, {2, 4, 5, 7, 8})) nodo.SetAttributes(u"ID", IntToStr(s.Primary_Addresss));
        if (In(code, {4, 7})) nodo.SetAttributes(u"Secondary_address", s.Secondary_Addresss);
        nodo.SetAttributes(u"ID_Primary", IntToStr(s.Primary_Addresss));
        nodo.SetAttributes(u"ID_Secondary", s.Secondary_Addresss);
        nodo.SetAttributes(u"Node_ID_Type", IntToStr(DataIn.Node_ID_Type));
        nodo.SetAttributes(u"Descrizione", s.descManufacture);
        nodo.SetAttributes(u"Send_SND_NKE", Flag(DataIn.SND_NKE == 1));
        nodo.SetAttributes(u"Reset_App", Flag(DataIn.Reset_App == 1));
        nodo.SetAttributes(u"Cut_After", IntToStr(DataIn.Cut_After));
        if (code == 12) {
            nodo.SetAttributes(u"MBus_Type", One);
            Seven_Zero_Attributes(nodo);
        } else if (In(code, {13, 14})) {
            nodo.SetAttributes(u"MBus_Type", One);
        }
        if (startMode && In(code, {0, 1, 9, 13, 14})) Node_Registers(nodo, DataIn, R);
        for (int v = 0; v < s.List_Var.Count(); ++v) {
            const TVariable_MBus& var = *s.Var(v);
            const bool ticked = Ticked(var.Node, var.Enable, Tick);
            Write_Variable(nodo, var, v, ticked, !startMode || ticked, DataIn, Check_BCD, R);
        }
    }
    doc.SaveToFile(DataIn.File_Name);
    return true;
}

bool Save_XML_Conf_Wireless(const TSaveConfXML& DataIn, bool Check_BCD, const plat::TList& Meters,
                            const TTickReader& Tick)
{
    TScanResultsGuard guard;
    if (Meters.Count() == 0) return false;
    TXMLDocument doc;
    IXMLNode root = Network_Root(doc, DataIn);
    const int code = DataIn.XML_Code_Dev;
    const bool startMode = DataIn.StartModnode == 1;
    std::int64_t R = DataIn.Mod_Start;
    for (int p = 0; p < Meters.Count(); ++p) {
        const auto& m = *static_cast<const TSlave_wMBus*>(Meters.Items(p));
        if (startMode && p < static_cast<int>(DataIn.SMN_Array.size())) R = DataIn.SMN_Array[static_cast<std::size_t>(p)];
        IXMLNode nodo = root.AddChild(u"Nodo");
        nodo.SetAttributes(u"Enable_Node", Flag(m.Enable));
        if (In(code, {2, 4, 5, 7, 8, 10})) nodo.SetAttributes(u"ID", One);
        if (In(code, {4, 7})) nodo.SetAttributes(u"Secondary_address", One);
        nodo.SetAttributes(u"ID_Primary", One);
        nodo.SetAttributes(u"ID_Secondary", One);
        nodo.SetAttributes(u"Node_ID_Type", Zero);
        nodo.SetAttributes(u"Descrizione", m.ALA_Manu_str);
        nodo.SetAttributes(u"Send_SND_NKE", Zero);
        nodo.SetAttributes(u"Reset_App", Zero);
        nodo.SetAttributes(u"Cut_After", u"3");
        if (code == 12)
            Seven_Zero_Attributes(nodo);
        else if (startMode && In(code, {0, 1, 9, 13, 14}))
            Node_Registers(nodo, DataIn, R);
        nodo.SetAttributes(u"MBus_Type", Zero);
        nodo.SetAttributes(u"wMBus_ManID", IntToStr(m.ALA_Manufacturer));
        // The address is the meter's 32-bit identification, written unsigned.
        nodo.SetAttributes(u"wMBus_Add", IntToStr(static_cast<std::uint32_t>(m.ALA_Address)));
        nodo.SetAttributes(u"wMBus_Ver", IntToStr(m.ALA_Version));
        nodo.SetAttributes(u"wMBus_DevType", IntToStr(m.ALA_DeviceType));
        nodo.SetAttributes(u"wMBus_En_Key", Flag(m.Enable_Key));
        for (int k = 0; k < 16; ++k) nodo.SetAttributes(u"wMBus_Key_" + IntToStr(k + 1), IntToStr(m.Key[k]));
        for (int v = 0; v < m.List_Var.Count(); ++v) {
            const TVariable_MBus& var = *m.Var(v);
            if (!var.Real_Wireless_Var) continue;
            const bool takes = !startMode || Ticked(var.Node, var.Enable, Tick);
            Write_Variable(nodo, var, v, var.Enable, takes, DataIn, Check_BCD, R);
        }
    }
    doc.SaveToFile(DataIn.File_Name);
    return true;
}

void Save_XML_File_DLL(const String& SaveXMLFile, const plat::TList& Slaves)
{
    TScanResultsGuard guard;
    TXMLDocument doc;
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(u"SCAN_M-Bus_Wired");
    for (int p = 0; p < Slaves.Count(); ++p) {
        const auto& s = *static_cast<const TSlave_MBus*>(Slaves.Items(p));
        IXMLNode node = root.AddChild(u"Node");
        node.SetAttributes(u"Primary_Address", IntToStr(s.Primary_Addresss));
        node.SetAttributes(u"Secondary_Address", s.Secondary_Addresss);
        node.SetAttributes(u"Manufacturer", s.descManufacture + u" (" + IntToStr(s.Manufacture) + u")");
        node.SetAttributes(u"Version", IntToStr(s.Version));
        node.SetAttributes(u"Type", IntToStr(s.Medium));
        for (int v = 0; v < s.List_Var.Count(); ++v) Write_Result_Variable(node, *s.Var(v));
    }
    doc.SaveToFile(SaveXMLFile);
}

void Save_Wireless_XML_File_DLL(const String& SaveXMLFile, const plat::TList& Meters)
{
    TScanResultsGuard guard;
    TXMLDocument doc;
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(u"SCAN_M-Bus_Wireless");
    for (int p = 0; p < Meters.Count(); ++p) {
        const auto& m = *static_cast<const TSlave_wMBus*>(Meters.Items(p));
        IXMLNode node = root.AddChild(u"Node");
        node.SetAttributes(u"Manufacturer", m.ALA_Manu_str);
        node.SetAttributes(u"Address", plat::IntToHex(static_cast<std::uint32_t>(m.ALA_Address), 8));
        node.SetAttributes(u"Version", IntToStr(m.ALA_Version));
        node.SetAttributes(u"Device_Type", IntToStr(m.ALA_DeviceType));
        node.SetAttributes(u"Cripted", m.Cripted ? u"True" : u"False");
        for (int v = 0; v < m.List_Var.Count(); ++v) Write_Result_Variable(node, *m.Var(v));
    }
    doc.SaveToFile(SaveXMLFile);
}
