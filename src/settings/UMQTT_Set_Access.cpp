#include "UMQTT_Set_Access.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "UMQTT_Set_Access_Rules.h"
#include "URuleGrid.h"
#include "UTopicTemplate.h"
#include "plat/ComCtrls.h"
#include "plat/StdCtrls.h"
#include "plat/Dialogs.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;
using namespace grid;

TFMQTT_Set_Access* FMQTT_Set_Access = nullptr;

namespace {

constexpr int kTemplate_Col = 6;

// Headers and hints from `first` (headers first .. first + 7; hints as listed).
TRule_Table Make_Table(int first_header, std::initializer_list<int> hints, int page_text, const char16_t* page_design)
{
    static const char16_t* const kDesign[] = {u"N",         u"Enable",   u"Topic",    u"Data Type",
                                              u"Dimension", u"Position", u"Template", u"Mnemonic"};
    static const int kEditor[] = {edNormal, edDataCheckBox, edComboList, edComboList,
                                  edNormal, edNormal,       edComboEdit, edNormal};
    static const int kWidth[] = {40, 50, 150, 80, 70, 60, 150, 110};
    TRule_Table t;
    auto hint = hints.begin();
    for (int c = 0; c < mqttaccess::Cols; ++c)
        t.Columns.push_back({first_header + c, kDesign[c], kEditor[c], kWidth[c], c == 0 ? -1 : *hint++});
    t.Page_Text = page_text;
    t.Page_Design = page_design;
    t.Delete_Question = 723;
    t.Insert_Y = false;
    return t;
}

} // namespace

TFMQTT_Set_Access::TFMQTT_Set_Access(TComponent* owner)
    : TRuleEditorForm(owner, u"MQTT Set Access", {1400, 1401, 1402, 1403, 1408, 1409},
                      {1404, 1405, 1406, 1407, 1410, 1411, 1412, 1413}, 760, 337)
{
    FMQTT_Set_Access = this;
    XML1 = new TXMLDocument(this);
    TRule_Table& pub = Add_Table(u"TS_MQTT_Publish", u"ACG_Pub",
                                 Make_Table(1416, {1424, 1425, 1426, 1427, 1428, 1429, 1444}, 1414, u"MQTT Publish"),
                                 mqttaccess::Rows);
    TRule_Table& sub = Add_Table(u"TS_MQTT_Subscribe", u"ACG_Sub",
                                 Make_Table(1430, {1438, 1439, 1440, 1441, 1442, 1443, 1445}, 1415, u"MQTT Subscribe"),
                                 mqttaccess::Rows);
    TS_MQTT_Publish = pub.Page;
    TS_MQTT_Subscribe = sub.Page;
    ACG_Pub = pub.Grid;
    ACG_Sub = sub.Grid;
    for (TExtColumnGrid* g : {ACG_Pub, ACG_Sub}) {
        Set_Combo_Items(g, 3, {u"Int", u"Float", u"String"});
        Set_Combo_Items(g, kTemplate_Col, {u"$VALUE$"});
    }
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFMQTT_Set_Access::~TFMQTT_Set_Access()
{
    if (FMQTT_Set_Access == this) FMQTT_Set_Access = nullptr;
}

void TFMQTT_Set_Access::Report_Read(const TRead_Result& r, const String& file)
{
    if (r.Whole()) return;
    if (r.Row > 0)
        Report_Row_Error(file, r.Row, r.Error);
    else
        Report_File_Error(file, r.Error);
}

void TFMQTT_Set_Access::FormShow()
{
    TRead_Result topics;
    Topic_Pub = Read_Topics(File_MQTT_Set_Topic, u"MQTT_Publish", topics);
    Report_Read(topics, File_MQTT_Set_Topic);
    if (topics.Whole()) {
        Topic_Sub = Read_Topics(File_MQTT_Set_Topic, u"MQTT_Subscribe", topics);
        Report_Read(topics, File_MQTT_Set_Topic);
    } else {
        Topic_Sub.clear();
    }
    Set_Combo_Items(ACG_Pub, mqttaccess::Col_Topic, Topic_Pub);
    Set_Combo_Items(ACG_Sub, mqttaccess::Col_Topic, Topic_Sub);
    PageControl1->SetActivePage(TS_MQTT_Publish);

    TCellRows pub = Cleared_Rows(mqttaccess::Rows, mqttaccess::Cols);
    TCellRows sub = Cleared_Rows(mqttaccess::Rows, mqttaccess::Cols);
    const TTable_Layout layouts[] = {mqttaccess::Pub_Layout, mqttaccess::Sub_Layout};
    TCellRows* tables[] = {&pub, &sub};
    const TRead_Result result = Read_Rule_File(File_MQTT_Set_Access, layouts, tables);
    // Index_Topic is guarded: a rule without it (or with a value that is no index) has no topic.
    for (auto& row : pub) row[mqttaccess::Col_Topic] = Topic_Pub_from_Index_to_String(Cell_Int(row[mqttaccess::Col_Topic]));
    for (auto& row : sub) row[mqttaccess::Col_Topic] = Topic_Sub_from_Index_to_String(Cell_Int(row[mqttaccess::Col_Topic]));
    Put_Rows(ACG_Pub, pub);
    Put_Rows(ACG_Sub, sub);
    File_Read = result.Whole() ? TFile_Read::Whole : result.Unreadable ? TFile_Read::Unreadable : TFile_Read::Partial;
    Report_Read(result, File_MQTT_Set_Access);
    Clear_Copy_Flags();
}

bool TFMQTT_Set_Access::Controllo_dati()
{
    const String error = mqttaccess::Check_Rules(Grid_Rows(ACG_Pub, mqttaccess::Cols), Grid_Rows(ACG_Sub, mqttaccess::Cols));
    if (error.empty()) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TFMQTT_Set_Access::Btn_OKClick()
{
    if (!Controllo_dati()) return;
    if (!Confirm_Overwrite_Unread()) return;
    if (!Confirm_Rows_Below_Empty_Key(Table(0), mqttaccess::Col_Topic) ||
        !Confirm_Rows_Below_Empty_Key(Table(1), mqttaccess::Col_Topic))
        return;
    const TCellRows pub = Grid_Rows(ACG_Pub, mqttaccess::Cols);
    const TCellRows sub = Grid_Rows(ACG_Sub, mqttaccess::Cols);
    const TTable_Layout layouts[] = {mqttaccess::Pub_Layout, mqttaccess::Sub_Layout};
    const TCellRows* tables[] = {&pub, &sub};
    const int counts[] = {Saved_Row_Count(pub, mqttaccess::Col_Topic), Saved_Row_Count(sub, mqttaccess::Col_Topic)};
    Fill_Rule_Document(*XML1, u"MQTT_Set_Access", layouts, tables, counts,
                       [this](int table, int, const std::vector<String>& cells) {
                           const String& topic = cells[mqttaccess::Col_Topic];
                           return IntToStr(table == 0 ? Topic_Pub_from_String_to_Index(topic)
                                                      : Topic_Sub_from_String_to_Index(topic));
                       });
    if (!Save_Table_File(*XML1, File_MQTT_Set_Access)) return;
    SetModalResult(mrOk);
}

void TFMQTT_Set_Access::Table_DblClick(TRule_Table& table, int row, int col)
{
    if (row > 0 && table.Grid->RealColIndex(col) == kTemplate_Col) Show_Form_Topic(table.Grid, row, kTemplate_Col);
}

void TFMQTT_Set_Access::Show_Form_Topic(TExtColumnGrid* g, int ARow, int ACol)
{
    if (!FTopicTemplate) return;
    FTopicTemplate->TopicTemplate = 1;
    FTopicTemplate->RE_TopicTemplate->Clear();
    FTopicTemplate->RE_TopicTemplate->SetText(g->Cells(ACol, ARow));
    if (FTopicTemplate->ShowModal() == mrOk) {
        // The double click also opened the cell's own editor (the template list), which still
        // holds the old text: it closes first, so that leaving the cell cannot write it back.
        g->HideInplaceEdit();
        g->SetCells(ACol, ARow, FTopicTemplate->RE_TopicTemplate->Text());
    }
}

String TFMQTT_Set_Access::Topic_Pub_from_Index_to_String(int index) const
{
    return mqttaccess::Topic_from_Index_to_String(Topic_Pub, index);
}

String TFMQTT_Set_Access::Topic_Sub_from_Index_to_String(int index) const
{
    return mqttaccess::Topic_from_Index_to_String(Topic_Sub, index);
}

int TFMQTT_Set_Access::Topic_Pub_from_String_to_Index(const String& text) const
{
    return mqttaccess::Topic_from_String_to_Index(Topic_Pub, text);
}

int TFMQTT_Set_Access::Topic_Sub_from_String_to_Index(const String& text) const
{
    return mqttaccess::Topic_from_String_to_Index(Topic_Sub, text);
}
