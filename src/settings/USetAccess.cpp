#include "USetAccess.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "URuleGrid.h"
#include "USetAccessRules.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;
using namespace grid;

TFSetAccess* FSetAccess = nullptr;

namespace {

TRule_Table Read_Table()
{
    TRule_Table t;
    t.Columns = {
        {1316, u"N", edNormal, 40, -1},
        {1317, u"Enable", edDataCheckBox, 50, 1343},
        {1318, u"Slave ID", edNormal, 60, 1344},
        {1319, u"Type", edComboList, 115, 1345},
        {1320, u"Address", edNormal, 60, 1346},
        {1321, u"NPoint", edNormal, 64, 1347},
        {1322, u"Poll Time", edNormal, 64, 1348},
        {1323, u"Max Error", edNormal, 64, 1349},
        {1324, u"Position", edComboList, 61, 1350},
        {1325, u"Start Bit", edComboList, 64, 1351},
        {1326, u"Swap", edDataCheckBox, 40, 1352},
        {1390, u"SwapWord", edDataCheckBox, 80, 1392},
        {1342, u"Topic", edComboList, 120, 1353},
        {1327, u"Mnemonic", edNormal, 120, 1354},
    };
    t.Page_Text = 1314;
    t.Page_Design = u"Modbus Read";
    t.Delete_Question = 1388;
    t.Insert_Y = true;
    t.Select_Row_From_Number = true;
    return t;
}

TRule_Table Write_Table()
{
    TRule_Table t;
    t.Columns = {
        {1328, u"N", edNormal, 40, -1},
        {1329, u"Enable", edDataCheckBox, 50, 1355},
        {1330, u"Slave ID", edNormal, 60, 1356},
        {1331, u"Type", edComboList, 115, 1357},
        {1332, u"Address", edNormal, 60, 1358},
        {1333, u"NPoint", edNormal, 64, 1359},
        {1334, u"Poll Time", edNormal, 64, 1360},
        {1335, u"On Change", edDataCheckBox, 68, 1361},
        {1336, u"On CMD", edDataCheckBox, 56, 1362},
        {1337, u"Max Error", edNormal, 64, 1363},
        {1338, u"Position", edComboList, 64, 1364},
        {1339, u"Start Bit", edComboList, 64, 1365},
        {1340, u"Swap", edDataCheckBox, 40, 1366},
        {1391, u"SwapWord", edDataCheckBox, 80, 1393},
        {1341, u"Mnemonic", edNormal, 113, 1367},
    };
    t.Page_Text = 1315;
    t.Page_Design = u"Modbus Write";
    t.Delete_Question = 1388;
    t.Insert_Y = true;
    t.Select_Row_From_Number = true;
    return t;
}

} // namespace

TFSetAccess::TFSetAccess(TComponent* owner)
    : TRuleEditorForm(owner, u"Set Modbus Access", {1300, 1301, 1302, 1303, 1308, 1309},
                      {1304, 1305, 1306, 1307, 1310, 1311, 1312, 1313}, 956, 337)
{
    FSetAccess = this;
    XML1 = new TXMLDocument(this);
    TRule_Table& read = Add_Table(u"TS_Modbus_Read", u"ACG_Modbus_Read", Read_Table(), setaccess::Rows);
    TRule_Table& write = Add_Table(u"TS_Modbus_Write", u"ACG_Modbus_Write", Write_Table(), setaccess::Rows);
    TS_Modbus_Read = read.Page;
    TS_Modbus_Write = write.Page;
    ACG_Modbus_Read = read.Grid;
    ACG_Modbus_Write = write.Grid;
    Set_Combo_Items(ACG_Modbus_Read, 3, {u"Coil Status", u"Input Status", u"Holding Register", u"Input Register"});
    Set_Combo_Items(ACG_Modbus_Write, 3, {u"Coil Status", u"Holding Register"});
    ACG_Modbus_Read->OnComboChange = [this](TObject*, int ACol, int ARow, int AItemIndex, const String&) {
        ComboChange(ACol, ARow, AItemIndex);
    };
    ComboItem_Topic.assign(setaccess::Rows, -1);
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject*) { bitbtn1Click(); };
    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFSetAccess::~TFSetAccess()
{
    if (FSetAccess == this) FSetAccess = nullptr;
}

void TFSetAccess::FormShow()
{
    Working_Mode = Read_Working_Mode(*XML1, File_ParGen);

    // Layout by mode. The topic list follows the current topic file in both modes.
    const bool sync = Working_Mode == 0;
    TS_Modbus_Write->SetTabVisible(!sync);
    ACG_Modbus_Read->UnHideColumnsAll();
    if (sync)
        ACG_Modbus_Read->HideColumns(8, 9);
    else
        ACG_Modbus_Read->HideColumn(setaccess::Col_Topic);
    TRead_Result topics;
    List_Publish_Topic = setaccess::Topic_Items(Read_Topics(File_MQTT_Set_Topic, u"MQTT_Publish", topics));
    if (sync) Report_Read(topics, File_MQTT_Set_Topic);
    Set_Combo_Items(ACG_Modbus_Read, setaccess::Col_Topic, List_Publish_Topic);

    ComboItem_Topic.assign(setaccess::Rows, -1);
    PageControl1->SetActivePage(TS_Modbus_Read);
    NByte_IN = setaccess::NByte;
    NByte_OUT = setaccess::NByte;
    Set_Number_Items(ACG_Modbus_Read, 8, NByte_IN);
    Set_Number_Items(ACG_Modbus_Write, 10, NByte_OUT);
    Set_Number_Items(ACG_Modbus_Read, 9, 8);
    Set_Number_Items(ACG_Modbus_Write, 11, 8);

    // The tables start cleared, so a file that cannot be read leaves nothing of the last show.
    TCellRows read = Cleared_Rows(setaccess::Rows, setaccess::Read_Cols);
    TCellRows write = Cleared_Rows(setaccess::Rows, setaccess::Write_Cols);
    const TTable_Layout layouts[] = {setaccess::Read_Layout, setaccess::Write_Layout};
    TCellRows* tables[] = {&read, &write};
    const TRead_Result result = Read_Rule_File(File_ModbusM_SetAccess, layouts, tables);
    for (int r = 0; r < setaccess::Rows; ++r) {
        String& topic = read[static_cast<std::size_t>(r)][setaccess::Col_Topic];
        if (topic.empty()) continue;
        const int index = Cell_Int(topic);
        ComboItem_Topic[static_cast<std::size_t>(r)] = index;
        topic = Get_Topic_From_Index(index);
    }
    Put_Rows(ACG_Modbus_Read, read);
    Put_Rows(ACG_Modbus_Write, write);
    File_Read = result.Whole() ? TFile_Read::Whole : result.Unreadable ? TFile_Read::Unreadable : TFile_Read::Partial;
    Report_Read(result, File_ModbusM_SetAccess);
    Clear_Copy_Flags();
}

void TFSetAccess::Report_Read(const TRead_Result& r, const String& file)
{
    if (r.Whole()) return;
    if (r.Row > 0)
        Report_Row_Error(file, r.Row, r.Error);
    else
        Report_File_Error(file, r.Error);
}

bool TFSetAccess::Controllo_dati()
{
    const String error = setaccess::Check_Rules(Grid_Rows(ACG_Modbus_Read, setaccess::Read_Cols),
                                                Grid_Rows(ACG_Modbus_Write, setaccess::Write_Cols), Working_Mode,
                                                TS_Modbus_Write->TabVisible());
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TFSetAccess::bitbtn1Click()
{
    if (!Controllo_dati()) return;
    if (!Confirm_Overwrite_Unread()) return;
    if (!Confirm_Rows_Below_Empty_Key(Table(0), 2) || !Confirm_Rows_Below_Empty_Key(Table(1), 2)) return;
    const TCellRows read = Grid_Rows(ACG_Modbus_Read, setaccess::Read_Cols);
    const TCellRows write = Grid_Rows(ACG_Modbus_Write, setaccess::Write_Cols);
    const TTable_Layout layouts[] = {setaccess::Read_Layout, setaccess::Write_Layout};
    const TCellRows* tables[] = {&read, &write};
    const int counts[] = {Saved_Row_Count(read, 2), Saved_Row_Count(write, 2)};
    const bool topic_shown = !ACG_Modbus_Read->IsHiddenColumn(setaccess::Col_Topic);
    Fill_Rule_Document(*XML1, u"EtherNetIP_to_Modbus", layouts, tables, counts,
                       [this, topic_shown](int, int row, const std::vector<String>& cells) {
                           if (!topic_shown) return String();
                           return IntToStr(Get_Index_From_Topic(cells[setaccess::Col_Topic],
                                                                ComboItem_Topic[static_cast<std::size_t>(row)]));
                       });
    if (!Save_Table_File(*XML1, File_ModbusM_SetAccess)) return;
    SetModalResult(mrOk);
}

int TFSetAccess::Get_Index_From_Topic(const String& text, int picked) const
{
    return setaccess::Get_Index_From_Topic(List_Publish_Topic, text, picked);
}

String TFSetAccess::Get_Topic_From_Index(int index) const
{
    return ::Get_Topic_From_Index(List_Publish_Topic, index);
}

void TFSetAccess::ComboChange(int ACol, int ARow, int AItemIndex)
{
    if (ACol == setaccess::Col_Topic && ARow >= 1 && ARow <= setaccess::Rows)
        ComboItem_Topic[static_cast<std::size_t>(ARow - 1)] = AItemIndex;
}
