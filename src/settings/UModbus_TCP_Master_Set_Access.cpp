#include "UModbus_TCP_Master_Set_Access.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "UModbus_TCP_Master_Rules.h"
#include "URuleGrid.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;
using namespace grid;

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access = nullptr;

namespace {

TRule_Table Read_Table()
{
    TRule_Table t;
    t.Columns = {
        {1508, u"N", edNormal, 40, -1},
        {1509, u"Enable", edDataCheckBox, 50, 1569},
        {1510, u"Slave IP Address", edNormal, 110, 1570},
        {1511, u"Port", edNormal, 50, 1571},
        {1512, u"Slave ID", edNormal, 60, 1572},
        {1513, u"Type", edComboList, 115, 1573},
        {1514, u"Address", edNormal, 60, 1574},
        {1515, u"NPoint", edNormal, 60, 1575},
        {1516, u"Poll Time", edNormal, 64, 1576},
        {1517, u"Max Error", edNormal, 64, 1577},
        {1518, u"Position", edComboList, 61, 1578},
        {1519, u"Start Bit", edComboList, 64, 1579},
        {1520, u"Swap", edDataCheckBox, 40, 1580},
        {1600, u"Swap Word", edDataCheckBox, 70, 1602},
        {1562, u"Topic", edComboList, 120, 1581},
        {1521, u"Mnemonic", edNormal, 120, 1582},
    };
    t.Page_Text = 1506;
    t.Page_Design = u"Modbus Read";
    t.Delete_Question = 1561;
    t.Insert_Y = true;
    t.Select_Row_From_Number = true;
    return t;
}

TRule_Table Write_Table()
{
    TRule_Table t;
    t.Columns = {
        {1522, u"N", edNormal, 40, -1},
        {1523, u"Enable", edDataCheckBox, 50, 1583},
        {1524, u"Slave IP Address", edNormal, 110, 1584},
        {1525, u"Port", edNormal, 50, 1585},
        {1526, u"Slave ID", edNormal, 60, 1586},
        {1527, u"Type", edComboList, 115, 1587},
        {1528, u"Address", edNormal, 60, 1588},
        {1529, u"NPoint", edNormal, 60, 1589},
        {1530, u"Poll Time", edNormal, 64, 1590},
        {1531, u"On Change", edDataCheckBox, 68, 1591},
        {1532, u"On CMD", edDataCheckBox, 56, 1592},
        {1533, u"Max Error", edNormal, 64, 1593},
        {1534, u"Position", edComboList, 61, 1594},
        {1535, u"Start Bit", edComboList, 64, 1595},
        {1536, u"Swap", edDataCheckBox, 40, 1596},
        {1601, u"Swap Word", edDataCheckBox, 70, 1603},
        {1537, u"Mnemonic", edNormal, 120, 1597},
    };
    t.Page_Text = 1507;
    t.Page_Design = u"Modbus Write";
    t.Delete_Question = 1561;
    t.Insert_Y = true;
    t.Select_Row_From_Number = true;
    return t;
}

// The read header hints without the Topic's (asynchronous mode) or with it.
std::vector<String> Read_Hints(bool with_topic)
{
    std::vector<String> hints;
    for (int i = 1569; i <= 1580; ++i) hints.push_back(Lang(i));
    hints.push_back(Lang(1602));
    if (with_topic) hints.push_back(Lang(1581));
    hints.push_back(Lang(1582));
    return hints;
}

} // namespace

TFModbus_TCP_Master_Set_Access::TFModbus_TCP_Master_Set_Access(TComponent* owner)
    : TRuleEditorForm(owner, u"Set Modbus TCP Master Access", {1500, 1501, 1502, 1503, 1563, 1564},
                      {1504, 1505, -1, -1, 1565, 1566, 1567, 1568}, 1150, 337)
{
    FModbus_TCP_Master_Set_Access = this;
    XML1 = new TXMLDocument(this);
    TRule_Table& read = Add_Table(u"TS_Modbus_Read", u"ACG_Modbus_Read", Read_Table(), tcpmaster::Rows);
    TRule_Table& write = Add_Table(u"TS_Modbus_Write", u"ACG_Modbus_Write", Write_Table(), tcpmaster::Rows);
    TS_Modbus_Read = read.Page;
    TS_Modbus_Write = write.Page;
    ACG_Modbus_Read = read.Grid;
    ACG_Modbus_Write = write.Grid;
    Set_Combo_Items(ACG_Modbus_Read, 5, {u"Coil Status", u"Input Status", u"Holding Register", u"Input Register"});
    Set_Combo_Items(ACG_Modbus_Write, 5, {u"Coil Status", u"Holding Register"});
    Set_Number_Items(ACG_Modbus_Read, 11, 8);
    Set_Number_Items(ACG_Modbus_Write, 13, 8);
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFModbus_TCP_Master_Set_Access::~TFModbus_TCP_Master_Set_Access()
{
    if (FModbus_TCP_Master_Set_Access == this) FModbus_TCP_Master_Set_Access = nullptr;
}

void TFModbus_TCP_Master_Set_Access::Report_Read(const TRead_Result& r, const String& file)
{
    if (r.Whole()) return;
    if (r.Row > 0)
        Report_Row_Error(file, r.Row, r.Error);
    else
        Report_File_Error(file, r.Error);
}

void TFModbus_TCP_Master_Set_Access::FormShow()
{
    Working_Mode = Read_Working_Mode(*XML1, File_ParGen);
    const bool sync = Working_Mode == 0;
    Table(0).Hints = Read_Hints(sync);
    TS_Modbus_Write->SetTabVisible(!sync);
    ACG_Modbus_Read->UnHideColumnsAll();
    if (sync)
        ACG_Modbus_Read->HideColumns(10, 11);
    else
        ACG_Modbus_Read->HideColumn(tcpmaster::Col_Topic);
    // Both modes: an asynchronous save resolves the hidden Topic cells against this list.
    TRead_Result topics;
    List_Publish_Topic = Read_Topics(File_MQTT_Set_Topic, u"MQTT_Publish", topics);
    Report_Read(topics, File_MQTT_Set_Topic);
    Set_Combo_Items(ACG_Modbus_Read, tcpmaster::Col_Topic, List_Publish_Topic);

    PageControl1->SetActivePage(TS_Modbus_Read);
    NByte_IN = tcpmaster::NByte;
    NByte_OUT = tcpmaster::NByte;
    Set_Number_Items(ACG_Modbus_Read, 10, NByte_IN);
    Set_Number_Items(ACG_Modbus_Write, 12, NByte_OUT);

    TCellRows read = Cleared_Rows(tcpmaster::Rows, tcpmaster::Read_Cols);
    TCellRows write = Cleared_Rows(tcpmaster::Rows, tcpmaster::Write_Cols);
    const TTable_Layout layouts[] = {tcpmaster::Read_Layout, tcpmaster::Write_Layout};
    TCellRows* tables[] = {&read, &write};
    const TRead_Result result = Read_Rule_File(File_ModbusTCPM_SetAccess, layouts, tables);
    for (auto& row : read) {
        String& topic = row[tcpmaster::Col_Topic];
        if (!topic.empty()) topic = Get_Topic_From_Index(Cell_Int(topic));
    }
    Put_Rows(ACG_Modbus_Read, read);
    Put_Rows(ACG_Modbus_Write, write);
    File_Read = result.Whole() ? TFile_Read::Whole : result.Unreadable ? TFile_Read::Unreadable : TFile_Read::Partial;
    Report_Read(result, File_ModbusTCPM_SetAccess);
    Clear_Copy_Flags();
}

bool TFModbus_TCP_Master_Set_Access::Controllo_dati()
{
    const String error = tcpmaster::Check_Rules(Grid_Rows(ACG_Modbus_Read, tcpmaster::Read_Cols),
                                                Grid_Rows(ACG_Modbus_Write, tcpmaster::Write_Cols), Working_Mode,
                                                TS_Modbus_Write->TabVisible());
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TFModbus_TCP_Master_Set_Access::Btn_OKClick()
{
    if (!Controllo_dati()) return;
    if (!Confirm_Overwrite_Unread()) return;
    if (!Confirm_Rows_Below_Empty_Key(Table(0), 2) || !Confirm_Rows_Below_Empty_Key(Table(1), 2)) return;
    const TCellRows read = Grid_Rows(ACG_Modbus_Read, tcpmaster::Read_Cols);
    const TCellRows write = Grid_Rows(ACG_Modbus_Write, tcpmaster::Write_Cols);
    const TTable_Layout layouts[] = {tcpmaster::Read_Layout, tcpmaster::Write_Layout};
    const TCellRows* tables[] = {&read, &write};
    const int counts[] = {Saved_Row_Count(read, 2), Saved_Row_Count(write, 2)};
    Fill_Rule_Document(*XML1, u"PROFINET_Master_to_Modbus_TCP_Master", layouts, tables, counts,
                       [this](int, int, const std::vector<String>& cells) {
                           return IntToStr(Get_Index_From_Topic(cells[tcpmaster::Col_Topic]));
                       });
    if (!Save_Table_File(*XML1, File_ModbusTCPM_SetAccess)) return;
    SetModalResult(mrOk);
}

bool TFModbus_TCP_Master_Set_Access::Check_IP_Address(const String& text)
{
    return tcpmaster::Check_IP_Address(text);
}

int TFModbus_TCP_Master_Set_Access::Get_Index_From_Topic(const String& text) const
{
    return tcpmaster::Get_Index_From_Topic(List_Publish_Topic, text);
}

String TFModbus_TCP_Master_Set_Access::Get_Topic_From_Index(int index) const
{
    return ::Get_Topic_From_Index(List_Publish_Topic, index);
}
