#include "UMQTT_Set_Topic.h"

#include <cstdint>

#include "ExtCGrid.h"
#include "UComon.h"
#include "UTopicTemplate.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TFMQTT_Set_Topic* FMQTT_Set_Topic = nullptr;

namespace {

constexpr int Pub_Cols = 19;
constexpr int Sub_Cols = 16;
constexpr int Table_Rows = 1024;

// An attribute of a row: its real column, and for the attributes later file versions added,
// the default a row without it takes.
struct TAttr {
    const char16_t* Name;
    int Col;
    bool Required;
    const char16_t* Default;
};

// In the file's attribute order.
constexpr TAttr Pub_Attrs[] = {
    {u"Topic", 1, true, u""},          {u"Retained", 2, true, u""},    {u"QoS", 3, true, u""},
    {u"DataType", 4, false, u""},      {u"Dimension", 5, false, u""},  {u"Position", 6, false, u""},
    {u"IPAddress", 7, false, u""},     {u"FormatHex", 8, false, u"N"}, {u"InputTemplate", 9, false, u""},
    {u"Template", 10, false, u""},     {u"OnChange", 11, false, u"N"}, {u"OnCMD", 12, false, u"N"},
    {u"OnTimer", 13, false, u"N"},     {u"Time", 14, false, u""},      {u"Mnemonic", 18, true, u""},
};
constexpr TAttr Sub_Attrs[] = {
    {u"Topic", 1, true, u""},           {u"Retained", 2, true, u""},     {u"QoS", 3, true, u""},
    {u"DataType", 4, false, u""},       {u"Dimension", 5, false, u""},   {u"Position", 6, false, u""},
    {u"IPAddress", 7, false, u""},      {u"Port", 8, false, u""},        {u"EthType", 9, false, u""},
    {u"InputTemplate", 10, false, u""}, {u"FormatHex", 11, false, u"N"}, {u"Template", 12, false, u""},
    {u"Mnemonic", 15, true, u""},
};

// Columns kept in the tables but never stored: their values on load.
struct TFixed {
    int Col;
    const char16_t* Value;
};
constexpr TFixed Pub_Fixed[] = {{15, u""}, {16, u"N"}, {17, u"N"}};
constexpr TFixed Sub_Fixed[] = {{13, u"N"}, {14, u"N"}};

template <std::size_t N, std::size_t M>
std::vector<String> Read_Row(const IXMLNode& node, const TAttr (&attrs)[N], const TFixed (&fixed)[M], int cols)
{
    std::vector<String> cells(static_cast<std::size_t>(cols));
    for (const TAttr& a : attrs) {
        const TXMLValue v = node.Attributes(a.Name);
        cells[static_cast<std::size_t>(a.Col)] = a.Required ? v.AsString() : v.AsStringDef(a.Default);
    }
    for (const TFixed& f : fixed) cells[static_cast<std::size_t>(f.Col)] = f.Value;
    return cells;
}

template <std::size_t N>
void Write_Row(IXMLNode list, const TAttr (&attrs)[N], const std::function<String(int)>& cell)
{
    IXMLNode row = list.AddChild(u"row");
    for (const TAttr& a : attrs) row.SetAttributes(a.Name, cell(a.Col));
}

std::vector<TRule_Column> Pub_Columns()
{
    using namespace grid;
    return {
        {714, u"N", edNormal, 40, -1},
        {715, u"Topic", edNormal, 300, 719},
        {716, u"Retained", edDataCheckBox, 60, 720},
        {717, u"QoS", edComboList, 80, 721},
        {737, u"Data Type", edComboList, 80, 740},
        {738, u"Dimension", edNormal, 80, 741},
        {739, u"Position", edNormal, 80, 742},
        {762, u"IP Address", edNormal, 100, 764},
        {5000, u"Hex", edDataCheckBox, 40, 5002},
        {763, u"Input Template", edNormal, 120, 765},
        {735, u"Template", edComboEdit, 130, 736},
        {781, u"OnChange", edDataCheckBox, 75, 782},
        {783, u"OnCMD", edDataCheckBox, 55, 786},
        {784, u"OnTimer", edDataCheckBox, 64, 787},
        {785, u"Time(ms)", edNormal, 70, 788},
        {790, u"Channel", edComboList, 90, 791},
        {793, u"Swap", edDataCheckBox, 40, 795},
        {794, u"Swap Word", edDataCheckBox, 80, 796},
        {718, u"Mnemonic", edNormal, 170, 722},
    };
}

std::vector<TRule_Column> Sub_Columns()
{
    using namespace grid;
    return {
        {724, u"N", edNormal, 40, -1},
        {725, u"Topic", edNormal, 300, 729},
        {726, u"Retained", edDataCheckBox, 60, 730},
        {727, u"QoS", edComboList, 80, 731},
        {743, u"Data Type", edComboList, 80, 747},
        {744, u"Dimension", edNormal, 80, 748},
        {745, u"Position", edNormal, 80, 749},
        {766, u"IP Address", edNormal, 100, 770},
        {767, u"Port", edNormal, 50, 771},
        {768, u"Type", edComboList, 64, 772},
        {769, u"Input Template", edNormal, 130, 773},
        {5001, u"Hex", edDataCheckBox, 40, 5003},
        {746, u"Template", edComboEdit, 130, 750},
        {793, u"Swap", edDataCheckBox, 40, 797},
        {794, u"Swap Word", edDataCheckBox, 80, 798},
        {728, u"Mnemonic", edNormal, 220, 732},
    };
}

void Set_Items(grid::TExtColumnGrid* g, int col, std::initializer_list<const char16_t*> items)
{
    TStringList* list = g->Columns()->GetItem(col)->ComboItems();
    list->Clear();
    for (const char16_t* i : items) list->Add(i);
}

bool Blank(const String& s) { return Trim(s).empty(); }

// First data row whose Topic is blank; 0 when every row has one.
int First_Blank_Topic(grid::TExtColumnGrid* g)
{
    for (int r = 1; r < g->RowCount(); ++r)
        if (Blank(g->Cells(1, r))) return r;
    return 0;
}

} // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(TComponent* owner)
    : TRuleEditorForm(owner, u"Set MQTT Topics", {700, 701, 702, 703, 708, 709},
                      {704, 705, 706, 707, 710, 711, 712, 713}, 1100, 337)
{
    FMQTT_Set_Topic = this;
    XML1 = new TXMLDocument(this);

    TRule_Table pub;
    pub.Columns = Pub_Columns();
    pub.Page_Text = 733;
    pub.Page_Design = u"MQTT Publish";
    pub.Delete_Question = 723;
    TRule_Table& p = Add_Table(u"TS_MQTT_Publish", u"ACG_Pub", std::move(pub), Table_Rows);
    TRule_Table sub;
    sub.Columns = Sub_Columns();
    sub.Page_Text = 734;
    sub.Page_Design = u"MQTT Subscribe";
    sub.Delete_Question = 723;
    TRule_Table& s = Add_Table(u"TS_MQTT_Subscribe", u"ACG_Sub", std::move(sub), Table_Rows);
    ACG_Pub = p.Grid;
    ACG_Sub = s.Grid;
    TS_MQTT_Publish = p.Page;
    TS_MQTT_Subscribe = s.Page;

    for (grid::TExtColumnGrid* g : {ACG_Pub, ACG_Sub}) {
        Set_Items(g, 3, {u"0", u"1", u"2"});
        Set_Items(g, 4, {u"Int", u"SInt", u"Float", u"String", u"Base64"});
    }
    Set_Items(ACG_Pub, 10, {u"$VALUE$"});
    Set_Items(ACG_Sub, 12, {u"$VALUE$"});
    Set_Items(ACG_Sub, 9, {u"TCP", u"UDP"});
    TStringList* channels = ACG_Pub->Columns()->GetItem(15)->ComboItems();
    for (int i = 0; i <= 63; ++i) channels->Add(IntToStr(i));
    channels->Add(u"All");
    for (int i = 1; i <= 256; ++i) channels->Add(u"TAB" + Format(u"%.3d", {i}));

    CB_Allow_CR_LF = new TCheckBox(this);
    CB_Allow_CR_LF->SetName(u"CB_Allow_CR_LF");
    CB_Allow_CR_LF->SetParent(P_Button);
    CB_Allow_CR_LF->SetBounds(736, 12, 300, 17);
    CB_Allow_CR_LF->SetCaption(u"Allow CR and LF in Template");

    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };
    OnShow = [this](TObject*) { FormShow(); };
    Set_Lang();
}

TFMQTT_Set_Topic::~TFMQTT_Set_Topic()
{
    if (FMQTT_Set_Topic == this) FMQTT_Set_Topic = nullptr;
}

void TFMQTT_Set_Topic::Set_Lang()
{
    TRuleEditorForm::Set_Lang();
    Apply_Text(799, [this](const String& t) { CB_Allow_CR_LF->SetCaption(t); });
}

void TFMQTT_Set_Topic::Layout()
{
    ACG_Pub->BeginUpdate();
    ACG_Sub->BeginUpdate();
    for (int c : {4, 5, 6, 7, 8, 9, 10, 15, 16, 17}) ACG_Pub->HideColumn(c);
    for (int c : {11, 12, 13, 14}) ACG_Pub->UnHideColumn(c);
    ACG_Sub->HideColumn(2);
    ACG_Sub->HideColumns(4, 14);
    TS_MQTT_Subscribe->SetTabVisible(true);
    if (Working_Mode == 0) {
        Set_Data_Rows(Pub(), Table_Rows);
        Set_Data_Rows(Sub(), 1);
        ACG_Pub->UnHideColumn(10);
        ACG_Pub->HideColumns(11, 14);
    } else {
        Set_Data_Rows(Pub(), Table_Rows);
        Set_Data_Rows(Sub(), Table_Rows);
        for (int c : {4, 5, 6, 10}) ACG_Pub->UnHideColumn(c);
        for (int c : {4, 5, 6, 12}) ACG_Sub->UnHideColumn(c);
    }
    ACG_Sub->EndUpdate();
    ACG_Pub->EndUpdate();
    PageControl1->SetActivePage(TS_MQTT_Publish);
}

void TFMQTT_Set_Topic::FormShow()
{
    Working_Mode = Read_Working_Mode(*XML1, File_ParGen);
    Byte_IN = 1440;
    Byte_OUT = 1440;
    Layout();
    // The tables are cleared before the file is read, so that nothing of an earlier show
    // or configuration survives a file that cannot be read.
    Clear_Table(Pub());
    Clear_Table(Sub());
    Load_File();
    Clear_Copy_Flags();
}

void TFMQTT_Set_Topic::Load_File()
{
    File_Read = TFile_Read::Whole;
    extraPub_.clear();
    extraSub_.clear();
    const String file = File_MQTT_Set_Topic;
    if (!FileExists(file)) {
        // A configuration without the file has no option set either.
        CB_Allow_CR_LF->SetChecked(false);
        return;
    }
    try {
        XML1->LoadFromFile(file);
    } catch (const Exception& e) {
        File_Read = TFile_Read::Unreadable;
        CB_Allow_CR_LF->SetChecked(false);
        Report_File_Error(file, e.Message());
        return;
    }
    const IXMLNode root = XML1->DocumentElement();

    // One table: its rows into the grid, the rows beyond the grid aside. Stops at a faulty
    // row or a missing table element, keeping what was read before it.
    const auto load = [&](const char16_t* name, TRule_Table& t, auto& attrs, auto& fixed, int cols,
                          std::vector<std::vector<String>>& extra) -> bool {
        grid::TExtColumnGrid* g = t.Grid;
        const int rows = g->RowCount() - 1;
        int row = 1;
        g->BeginUpdate();
        try {
            const IXMLNodeList list = root.ChildNodes().Nodes(name).ChildNodes();
            const int n = list.Count();
            for (int i = 0; i < n; ++i) {
                const IXMLNode node = list[i];
                if (node.NodeType() != ntElement) continue;
                std::vector<String> cells = Read_Row(node, attrs, fixed, cols);
                if (row <= rows) {
                    for (int c = 1; c < cols; ++c) g->SetCells(c, row, cells[static_cast<std::size_t>(c)]);
                } else {
                    extra.push_back(std::move(cells));
                }
                ++row;
            }
        } catch (const Exception& e) {
            g->EndUpdate();
            File_Read = TFile_Read::Partial;
            Report_Row_Error(file, row, e.Message());
            return false;
        }
        g->EndUpdate();
        return true;
    };
    if (load(u"MQTT_Publish", Pub(), Pub_Attrs, Pub_Fixed, Pub_Cols, extraPub_))
        load(u"MQTT_Subscribe", Sub(), Sub_Attrs, Sub_Fixed, Sub_Cols, extraSub_);

    bool allow = false;
    try {
        const IXMLNode options = root.ChildNodes().FindNode(u"MQTT_Options");
        if (options) {
            const TXMLValue v = options.ChildValues(u"Option_Allow_CR_LF");
            allow = !v.IsNull() && v.AsString() == u"Y";
        }
    } catch (const Exception&) {
        allow = false;  // an option that does not read is an option not set
    }
    CB_Allow_CR_LF->SetChecked(allow);
}

bool TFMQTT_Set_Topic::Error_In_Topic_Template(StringView text)
{
    int count = 0;
    for (char16_t c : text)
        if (c == u'$') ++count;
    return count % 2 != 0;
}

bool TFMQTT_Set_Topic::Controllo_dati()
{
    const auto fail = [](int row, int text, const String& tail) {
        MessageDlg(Lang(751) + IntToStr(row) + Lang(text) + tail, mtError, {mbOK});
        return false;
    };
    struct TTexts {
        int Type, Dim_Int, Dim_Float, Dim_Other, Position, Position_End, IP, Port, Input_Template, Template;
    };
    // One direction's checks; the columns of its table, -1 where it has none.
    const auto check = [&](grid::TExtColumnGrid* g, const TTexts& t, int input_col, int template_col,
                           int port_col, int bytes, bool timer) -> bool {
        const auto shown = [g](int c) { return c >= 0 && !g->IsHiddenColumn(c); };
        const bool type_shown = shown(4), dim_shown = shown(5), pos_shown = shown(6), ip_shown = shown(7),
                   port_shown = shown(port_col), input_shown = shown(input_col),
                   template_shown = shown(template_col), timer_shown = timer && shown(13);
        const int rows = g->RowCount();
        for (int r = 1; r < rows; ++r) {
            if (Blank(g->Cells(1, r))) break;
            if (type_shown) {
                const String type = UpperCase(Trim(g->Cells(4, r)));
                if (type.empty()) return fail(r, t.Type, String());
                const int dim = Cell_Int(g->Cells(5, r));
                if (type == u"INT") {
                    if (dim != 1 && dim != 2 && dim != 4 && dim != 8) return fail(r, t.Dim_Int, String());
                } else if (type == u"FLOAT") {
                    if (dim != 4 && dim != 8) return fail(r, t.Dim_Float, String());
                } else if (dim < 1) {
                    return fail(r, t.Dim_Other, String());
                }
            }
            if (pos_shown) {
                const int pos = Cell_Int(g->Cells(6, r));
                if (pos < 0 || pos > bytes - 1) return fail(r, t.Position, IntToStr(bytes - 1));
                // The value's last byte must lie inside the data array as well.
                const int dim = dim_shown ? Cell_Int(g->Cells(5, r)) : 0;
                if (dim > 0 && static_cast<std::int64_t>(pos) + dim > bytes)
                    return fail(r, t.Position_End, IntToStr(bytes));
            }
            if (ip_shown) {
                String p1, p2, p3, p4;
                if (!Split_IP_Address(Trim(g->Cells(7, r)), p1, p2, p3, p4)) return fail(r, t.IP, String());
            }
            if (port_shown) {
                const int port = Cell_Int(g->Cells(port_col, r));
                if (port < 0 || port > 65535) return fail(r, t.Port, String());
            }
            if (input_shown && Error_In_Topic_Template(Trim(g->Cells(input_col, r))))
                return fail(r, t.Input_Template, String());
            if (template_shown && Error_In_Topic_Template(Trim(g->Cells(template_col, r))))
                return fail(r, t.Template, String());
            if (timer_shown && UpperCase(Trim(g->Cells(13, r))) == u"Y") {
                const int time = Cell_Int(g->Cells(14, r));
                if (time < 1 || time > 1000000000) return fail(r, 789, String());
            }
        }
        return true;
    };
    return check(ACG_Pub, {752, 753, 754, 755, 756, 1111, 774, -1, 777, 778}, 9, 10, -1, Byte_IN, true) &&
           check(ACG_Sub, {757, 758, 759, 760, 761, 1112, 775, 776, 779, 780}, 10, 12, 8, Byte_OUT, false);
}

void TFMQTT_Set_Topic::Btn_OKClick()
{
    if (!Controllo_dati()) return;
    // The table ends at its first blank Topic: filled rows after it, and the rows of the
    // file the layout does not show, would be dropped.
    for (auto [t, extra] : {std::pair{&Pub(), &extraPub_}, std::pair{&Sub(), &extraSub_}}) {
        const int end = First_Blank_Topic(t->Grid);
        const bool lose = Row_Ending_Table(*t, 1) != 0 || (end != 0 && !extra->empty());
        if (lose && MessageDlg(Lang(1110) + IntToStr(end), mtConfirmation, mbYesNo) != mrYes) return;
    }
    if (!Confirm_Overwrite_Unread()) return;
    Save_File();
}

void TFMQTT_Set_Topic::Save_File()
{
    XML1->Clear();
    XML1->SetActive(true);
    IXMLNode root = XML1->AddChild(u"MQTT_Set_Topic");
    XML1->AddComment(u"SW_VERSION = 1.114");

    const auto table = [&](const char16_t* name, TRule_Table& t, auto& attrs,
                           const std::vector<std::vector<String>>& extra) {
        IXMLNode list = root.AddChild(name);
        grid::TExtColumnGrid* g = t.Grid;
        const int rows = g->RowCount();
        for (int r = 1; r < rows; ++r) {
            if (Blank(g->Cells(1, r))) return;
            Write_Row(list, attrs, [g, r](int c) { return g->Cells(c, r); });
        }
        for (const std::vector<String>& cells : extra) {
            if (Blank(cells[1])) return;
            Write_Row(list, attrs, [&cells](int c) { return cells[static_cast<std::size_t>(c)]; });
        }
    };
    table(u"MQTT_Publish", Pub(), Pub_Attrs, extraPub_);
    table(u"MQTT_Subscribe", Sub(), Sub_Attrs, extraSub_);
    root.AddChild(u"MQTT_Options").AddChild(u"Option_Allow_CR_LF").SetText(CB_Allow_CR_LF->Checked() ? u"Y" : u"N");

    if (!Save_Table_File(*XML1, File_MQTT_Set_Topic)) return;
    File_Read = TFile_Read::Whole;
    SetModalResult(mrOk);
}

void TFMQTT_Set_Topic::Table_DblClick(TRule_Table& table, int, int)
{
    grid::TExtColumnGrid* g = table.Grid;
    const int col = g->GetRealCol();
    const int row = g->Row();
    const bool pub = &table == &Pub();
    const bool open = pub ? (Working_Mode == 0 || (Working_Mode == 1 && col == 10))
                          : (Working_Mode == 1 && col == 12);
    if (open) Show_Form_Topic(table, row, col);
}

void TFMQTT_Set_Topic::Show_Form_Topic(TRule_Table& table, int row, int col)
{
    if (!FTopicTemplate) return;
    const bool pub = &table == &Pub();
    FTopicTemplate->TopicTemplate = (pub && col == 10) || (!pub && col == 12) ? 1 : 0;
    FTopicTemplate->Working_Mode = Working_Mode;
    FTopicTemplate->Pub_Sub = pub ? 0 : 1;
    FTopicTemplate->RE_TopicTemplate->Clear();
    FTopicTemplate->RE_TopicTemplate->SetText(table.Grid->Cells(col, row));
    if (FTopicTemplate->ShowModal() == mrOk) {
        // The double click also opened the cell's own editor (the template list), which still
        // holds the old text: it closes first, so that leaving the cell cannot write it back.
        table.Grid->HideInplaceEdit();
        table.Grid->SetCells(col, row, FTopicTemplate->RE_TopicTemplate->Text());
    }
}
