#include "UParGen.h"

#include <initializer_list>
#include <type_traits>
#include <utility>

#include "UAddressEntry.h"
#include "UParGenFields.h"
#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TFParGen* FParGen = nullptr;

namespace {

constexpr const char16_t* Version_Stamp = u"SW_VERSION = 1.114";
// No text of the language table says this; the picker must not leave the user believing a
// certificate is in the configuration when it is not.
constexpr const char16_t* Copy_Failed_Text = u"Error! The file could not be copied into the Certificates folder";
constexpr const char16_t* Overwrite_Text =
    u"This file is already present in Certificates folder. Do you want to overwrite?";

constexpr int Label_Left = 14;
constexpr int Field_Left = 191;
constexpr int Field_Width = 238;
constexpr int Edit_Height = 21;
constexpr int Combo_Height = 22;
constexpr int Rich_Height = 23;
constexpr int Check_Height = 17;
constexpr int Row_Step = 28;
constexpr int Check_Width = 415;
constexpr int Gateway_Check_Width = 175;
constexpr int Byte_Lefts[4] = {191, 252, 313, 374};
constexpr int Dot_Lefts[3] = {247, 308, 369};

// Builds the controls of one panel: every control is named, placed on the panel's surface,
// owned by that surface and wired to the window's change, click and key handlers. Owned by
// its surface, a new control is announced to the few components of its panel and its name
// checked among them, not among the hundreds of controls of all panels.
class TBuilder {
public:
    TBuilder(TFParGen* form, TCategoryPanel* panel) : form_(form), parent_(panel->Surface()) {}

    TLabel* Label(const String& name, int top)
    {
        auto* l = new TLabel(parent_);
        l->SetName(name);
        l->SetParent(parent_);
        l->SetLeft(Label_Left);
        l->SetTop(top);
        return l;
    }
    TEdit* Edit(const String& name, int label_top, int width = Field_Width)
    {
        auto* e = new TEdit(parent_);
        Setup_Edit(e, name, Field_Left, label_top - 3, width, Edit_Height);
        return e;
    }
    TRichEdit* Rich(const String& name, int top, int width)
    {
        auto* e = new TRichEdit(parent_);
        e->SetWordWrap(false);
        e->SetWantReturns(false);
        Setup_Edit(e, name, Field_Left, top, width, Rich_Height);
        return e;
    }
    TComboBox* Combo(const String& name, int label_top, const std::vector<const char16_t*>& items = {})
    {
        auto* c = new TComboBox(parent_);
        c->SetName(name);
        c->SetStyle(csDropDownList);  // before it stands on its parent: no edit is built
        c->SetParent(parent_);
        c->SetBounds(Field_Left, label_top - 3, Field_Width, Combo_Height);
        for (const char16_t* item : items) c->Items()->Add(item);
        if (c->Items()->Count() > 0) c->SetItemIndex(0);
        TFParGen* form = form_;
        c->OnChange = [form](TObject* s) { form->On_Change(s); };
        return c;
    }
    TCheckBox* Check(const String& name, int top, int width = Check_Width, int left = Label_Left)
    {
        auto* c = new TCheckBox(parent_);
        c->SetName(name);
        c->SetParent(parent_);
        c->SetBounds(left, top, width, Check_Height);
        TFParGen* form = form_;
        c->OnClick = [form](TObject* s) { form->On_Click(s); };
        return c;
    }
    // Four byte edits named prefix + 1..4 with their dots; edits at edit_top, dots at dot_top.
    TAddress_Row Address(const String& prefix, int edit_top, int dot_top)
    {
        TAddress_Row row;
        for (int i = 0; i < 4; ++i) {
            auto* e = new TEdit(parent_);
            Setup_Edit(e, prefix + IntToStr(i + 1), Byte_Lefts[i], edit_top, 55, Edit_Height);
            TFParGen* form = form_;
            Attach_Address_Field(e, [form](TObject* s, char16_t& k) { form->KeyPress(s, k); });
            row.E[static_cast<size_t>(i)] = e;
        }
        for (int i = 0; i < 3; ++i) {
            auto* d = new TLabel(parent_);
            d->SetName(prefix + u"_Dot" + IntToStr(i + 1));
            d->SetParent(parent_);
            d->SetAutoSize(false);
            d->SetBounds(Dot_Lefts[i], dot_top, 4, 13);
            d->SetCaption(u".");
            row.Dot[static_cast<size_t>(i)] = d;
        }
        return row;
    }
    controls::TFadeButton* Browse(const String& name, int top)
    {
        controls::TFadeButton* b = New_Button(parent_, parent_, 406, top, 23, 23);
        b->SetName(name);
        b->SetCaption(u"...");
        TFParGen* form = form_;
        b->OnClick = [form](TObject* s) { form->Btn_OnCertificate(s); };
        return b;
    }

private:
    void Setup_Edit(TCustomEdit* e, const String& name, int left, int top, int width, int height)
    {
        e->SetName(name);
        e->SetParent(parent_);
        e->SetBounds(left, top, width, height);
        TFParGen* form = form_;
        e->OnChange = [form](TObject* s) { form->On_Change(s); };
    }

    TFParGen* form_;
    TWinControl* parent_;
};

// Mobile PIN fields take digits only (control keys such as Backspace pass).
void Digits_Only(TObject*, char16_t& key)
{
    if (key >= u' ' && (key < u'0' || key > u'9')) key = 0;
}

bool Read_Int(const TXMLValue& value, int& number)
{
    return !value.IsNull() && TryStrToInt(value.AsString(), number);
}

} // namespace

// ---- address rows ---------------------------------------------------------------------

void TAddress_Row::Place(int edit_top, int dot_top) const
{
    for (TEdit* e : E) e->SetTop(edit_top);
    for (TLabel* d : Dot) d->SetTop(dot_top);
}

void TAddress_Row::Set_Visible(bool visible) const
{
    for (TEdit* e : E) e->SetVisible(visible);
    for (TLabel* d : Dot) d->SetVisible(visible);
}

void TAddress_Row::Set_Enabled(bool enabled) const
{
    for (TEdit* e : E) e->SetEnabled(enabled);
}

void TWiFi_Block::Place(int r) const
{
    L_IP->SetTop(r);
    IP.Place(r - 3, r);
    L_SM->SetTop(r + 28);
    SM.Place(r + 25, r + 28);
    CB_GAT->SetTop(r + 56);
    GAT.Place(r + 54, r + 56);
}

void TWiFi_Block::Set_Visible(bool visible) const
{
    L_IP->SetVisible(visible);
    IP.Set_Visible(visible);
    L_SM->SetVisible(visible);
    SM.Set_Visible(visible);
    CB_GAT->SetVisible(visible);
    GAT.Set_Visible(visible);
}

void TWiFi_Block::Set_Enabled(bool enabled) const
{
    IP.Set_Enabled(enabled);
    SM.Set_Enabled(enabled);
    CB_GAT->SetEnabled(enabled);
    GAT.Set_Enabled(enabled);
}

// ---- creation ----------------------------------------------------------------------------

TFParGen::TFParGen(TComponent* owner, TParGen_Panels panels)
    : TDialogForm(owner, u"Set Communication", {400, 401, 402, 403, 404, 405}, 460, 700),
      other_panels_(panels == TParGen_Panels::All)
{
    FParGen = this;
    SetBorderIcons(biSystemMenu);
    SetBorderStyle(bsSizeable);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Code->SetTop(8);
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Desc->SetTop(42);
    L_SW_Desc->Font()->SetHeight(-11);
    // OK validates before anything closes the window.
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
    Btn_OK->SetLeft(215);
    Btn_OK->SetAnchors(akTop | akRight);
    Btn_Cancel->SetLeft(333);
    Btn_Cancel->SetAnchors(akTop | akRight);

    Create_Controls();
    Create_Bindings();

    SetClientWidth(460);
    SetClientHeight(700);
    for (int i = 0; i < CPG->PanelCount(); ++i) CPG->Panels(i)->SetVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();

    OD_Certificate = new TOpenDialog(this);
    OD_Certificate->SetFilter(u"Any Files (*.*)|*.*");
    // Taken once, from the configuration open at start-up.
    OD_Certificate->SetInitialDir(Project_Dir + u"/Certificates");

    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnMouseWheel = [this](TObject* s, TShiftState sh, int d, TPoint p, bool& h) { FormMouseWheel(s, sh, d, p, h); };
}

TFParGen::~TFParGen()
{
    if (FParGen == this) FParGen = nullptr;
}

void TFParGen::Create_Controls()
{
    CPG = new TCategoryPanelGroup(this);
    CPG->SetName(u"CPG");
    CPG->SetParent(this);
    CPG->SetAlign(alClient);
    CPG->SetColor(Program_Color);
    CPG->SetGradientBaseColor(RGB(231, 216, 216));
    CPG->SetGradientColor(RGB(231, 216, 216));
    CPG->SetChevronHotColor(clRed);
    CPG->HeaderFont()->SetName(u"Verdana");
    CPG->HeaderFont()->SetHeight(-15);
    CPG->HeaderFont()->SetStyle(TFontStyles{fsBold});
    CPG->HeaderFont()->SetColor(clGray);

    // Header pictures: 0 while a panel is open, 1 while it is closed.
    auto* images = new TImageList(this);
    images->SetName(u"ImageList1");
    for (bool open : {true, false}) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(RGB(255, 128, 0));
        b.Canvas()->Pen()->SetColor(RGB(255, 128, 0));
        if (open) b.Canvas()->Polygon({TPoint{3, 5}, TPoint{12, 5}, TPoint{7, 11}});
        else b.Canvas()->Polygon({TPoint{5, 3}, TPoint{11, 8}, TPoint{5, 13}});
        images->AddMasked(&b, clWhite);
    }
    CPG->SetImages(images);

    auto panel = [this](const char16_t* name) {
        TCategoryPanel* p = CPG->CreatePanel(this);
        p->SetName(name);
        p->SetColor(Program_Color);
        p->SetExpandedImageIndex(0);
        p->SetCollapsedImageIndex(1);
        return p;
    };
    // The panels in the window's design order; the model's routine orders what it shows.
    CP_Working_Mode = panel(u"CP_Working_Mode");
    CP_MBus = panel(u"CP_MBus");
    CP_wMBus = panel(u"CP_wMBus");
    CP_MQTT = panel(u"CP_MQTT");
    CP_Ethernet = panel(u"CP_Ethernet");
    CP_WiFi = panel(u"CP_WiFi");
    CP_TLS = panel(u"CP_TLS");
    CP_NTP = panel(u"CP_NTP");
    CP_Modbus_Master = panel(u"CP_Modbus_Master");
    CP_Modbus_TCP_Master = panel(u"CP_Modbus_TCP_Master");
    CP_Modbus_Slave = panel(u"CP_Modbus_Slave");
    CP_Modbus_TCP_Slave = panel(u"CP_Modbus_TCP_Slave");
    CP_CAN = panel(u"CP_CAN");
    CP_CANopen = panel(u"CP_CANopen");
    CP_J1939 = panel(u"CP_J1939");
    CP_DeviceNet_Master = panel(u"CP_DeviceNet_Master");
    CP_DeviceNet_Slave = panel(u"CP_DeviceNet_Slave");
    CP_EtherNetIP = panel(u"CP_EtherNetIP");
    CP_PROFINET = panel(u"CP_PROFINET");
    CP_PROFIBUS = panel(u"CP_PROFIBUS");
    CP_NMEA2000 = panel(u"CP_NMEA2000");
    CP_DMX = panel(u"CP_DMX");
    CP_KNX = panel(u"CP_KNX");
    CP_SNMP_Agent = panel(u"CP_SNMP_Agent");
    CP_SNMP_Manager = panel(u"CP_SNMP_Manager");
    CP_BACnet_Slave = panel(u"CP_BACnet_Slave");
    CP_Serial = panel(u"CP_Serial");
    CP_DALI = panel(u"CP_DALI");
    CP_GSM_GPRS = panel(u"CP_GSM_GPRS");
    CP_BACnet_Master = panel(u"CP_BACnet_Master");
    CP_Select_Device = panel(u"CP_Select_Device");
    CP_Ethernet_Connection = panel(u"CP_Ethernet_Connection");
    CP_WiFi2 = panel(u"CP_WiFi2");
    CP_MQTT->OnExpand = [this](TObject* s) { CP_Expand(s); };

    Create_Fields();
    // The gateway check box stands before its address on the row: it comes first in the tab
    // order although ParGen.xml keeps it after the address.
    CB_Ethernet_En_GAT->SetTabOrder(E_Ethernet_GAT1->TabOrder());
    for (TEdit* e : {E_GSM_GPRS_PIN, E_GSM_GPRS_PIN2}) e->OnKeyPress = Digits_Only;
    WiFi2_Block1.L_IP = L_WiFi2_IP1_IP;
    WiFi2_Block1.L_SM = L_WiFi2_IP1_SM;
    WiFi2_Block1.CB_GAT = CB_WiFi2_IP1_En_GAT;
    WiFi2_Block2.L_IP = L_WiFi2_IP2_IP;
    WiFi2_Block2.L_SM = L_WiFi2_IP2_SM;
    WiFi2_Block2.CB_GAT = CB_WiFi2_IP2_En_GAT;

    // The other panels' address rows were chained as they were created.
    dot_chains_.insert(dot_chains_.end(), {
        {E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, E_Ethernet_SM1, E_Ethernet_SM2,
         E_Ethernet_SM3, E_Ethernet_SM4, E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3, E_Ethernet_GAT4},
        {E_EthConn_Pri_DNS_IP1, E_EthConn_Pri_DNS_IP2, E_EthConn_Pri_DNS_IP3, E_EthConn_Pri_DNS_IP4,
         E_EthConn_Sec_DNS_IP1, E_EthConn_Sec_DNS_IP2, E_EthConn_Sec_DNS_IP3, E_EthConn_Sec_DNS_IP4},
        {E_WiFi2_IP1_IP1, E_WiFi2_IP1_IP2, E_WiFi2_IP1_IP3, E_WiFi2_IP1_IP4, E_WiFi2_IP1_SM1, E_WiFi2_IP1_SM2,
         E_WiFi2_IP1_SM3, E_WiFi2_IP1_SM4, E_WiFi2_IP1_GAT1, E_WiFi2_IP1_GAT2, E_WiFi2_IP1_GAT3, E_WiFi2_IP1_GAT4},
        {E_WiFi2_IP2_IP1, E_WiFi2_IP2_IP2, E_WiFi2_IP2_IP3, E_WiFi2_IP2_IP4, E_WiFi2_IP2_SM1, E_WiFi2_IP2_SM2,
         E_WiFi2_IP2_SM3, E_WiFi2_IP2_SM4, E_WiFi2_IP2_GAT1, E_WiFi2_IP2_GAT2, E_WiFi2_IP2_GAT3, E_WiFi2_IP2_GAT4},
        {E_WiFi2_DHCP_First_IP1, E_WiFi2_DHCP_First_IP2, E_WiFi2_DHCP_First_IP3, E_WiFi2_DHCP_First_IP4,
         E_WiFi2_DHCP_SM1, E_WiFi2_DHCP_SM2, E_WiFi2_DHCP_SM3, E_WiFi2_DHCP_SM4},
    });
    Collect_Triggers();
}

void TFParGen::Create_Fields()
{
    Create_Rows(ParGen_Fields());
    if (!other_panels_)
        return;
    Create_Rows(ParGen_Other_Fields());
    // A field's caption on the other panels that is longer than the room before its field
    // (the M-Bus node state, the CANopen SDO timeout) wraps onto a second line inside that
    // room, which the 28-pixel step to the next row holds; shorter captions keep one line.
    for (const TParGen_Field& f : ParGen_Other_Fields()) {
        if (!f.Named() || !f.Caption || (f.Control != TParGen_Control::Edit && f.Control != TParGen_Control::Combo))
            continue;
        auto* label = static_cast<TLabel*>(Label_Of(f));
        label->SetWordWrap(true);
        label->SetWidth(Field_Left - Label_Left - 6);
    }
    // The CANopen start-up check box stands on a gateway row, 175 wide, before its delay edit,
    // and its caption is longer than that: it wraps onto two lines in a box one row step
    // high, its top on the grid, ending where the next row starts.
    auto* net_ope = static_cast<TCheckBox*>(Named(u"CB_CANopen_NetOpe"));
    net_ope->SetWordWrap(true);
    net_ope->SetHeight(Row_Step);
}

void TFParGen::Create_Rows(const std::vector<TParGen_Field>& rows)
{
    for (const TParGen_Field& f : rows) {
        TBuilder b(this, this->*f.Panel);
        const String name = f.Name;
        const String suffix = name.substr(name.find(u'_'));
        const bool named = f.Named();
        auto keep = [&](TControl* c) {
            if (named) named_[c->Name()] = c;
            return c;
        };
        if (f.Label.Set) f.Label.Set(*this, b.Label(u"L" + suffix, f.Row));
        // A named field has a label when its label has a text (the data-bits list has none).
        if (named && (f.Control == TParGen_Control::Edit || f.Control == TParGen_Control::Combo) && f.Caption)
            keep(b.Label(u"L" + suffix, f.Row));
        switch (f.Control) {
        case TParGen_Control::Label:
            if (named) keep(b.Label(name, f.Row));
            break;
        case TParGen_Control::Edit: {
            TEdit* e = b.Edit(name, f.Row + f.Edit_Dy + 3);
            if (f.Max_Length > 0) e->SetMaxLength(f.Max_Length);
            if (named) keep(e);
            else f.Field.Set(*this, e);
            break;
        }
        case TParGen_Control::Rich:
            f.Field.Set(*this, b.Rich(name, f.Row + f.Edit_Dy, Field_Width));
            break;
        case TParGen_Control::Certificate:
            f.Field.Set(*this, b.Rich(name, f.Row + f.Edit_Dy, 211));
            f.Button.Set(*this, b.Browse(u"Btn" + suffix, f.Row + f.Edit_Dy));
            break;
        case TParGen_Control::Combo: {
            TComboBox* c = b.Combo(name, f.Row, f.Items);
            if (named) keep(c);
            else f.Field.Set(*this, c);
            break;
        }
        case TParGen_Control::Check: {
            TCheckBox* c = b.Check(name, f.Row, f.Width > 0 ? f.Width : Check_Width, f.Left > 0 ? f.Left : Label_Left);
            if (f.Text) c->SetCaption(f.Text);
            if (named) keep(c);
            else f.Field.Set(*this, c);
            break;
        }
        case TParGen_Control::Address: {
            TAddress_Row& row = named ? named_rows_[name] : f.Row_Of(*this);
            row = b.Address(name, f.Row + f.Edit_Dy, f.Row);
            for (size_t i = 0; i < 4; ++i) {
                if (named) keep(row.E[i]);
                else f.Bytes[i].Set(*this, row.E[i]);
            }
            if (named)
                for (TLabel* d : row.Dot) keep(d);
            if (named) dot_chains_.push_back({row.E.begin(), row.E.end()});
            break;
        }
        }
    }
}

TControl* TFParGen::Named(const String& name) const
{
    const auto it = named_.find(name);
    if (it == named_.end()) throw Exception(u"TFParGen has no control " + name);
    return it->second;
}

const TAddress_Row& TFParGen::Named_Row(const String& prefix) const
{
    const auto it = named_rows_.find(prefix);
    if (it == named_rows_.end()) throw Exception(u"TFParGen has no address row " + prefix);
    return it->second;
}

TControl* TFParGen::Field_Of(const TParGen_Field& f) const
{
    return f.Named() ? Named(f.Name) : f.Field.Get(*this);
}

TControl* TFParGen::Label_Of(const TParGen_Field& f) const
{
    if (!f.Named()) return f.Label.Get(*this);
    const String name = f.Name;
    return f.Control == TParGen_Control::Label ? Named(name) : Named(u"L" + name.substr(name.find(u'_')));
}

TControl* TFParGen::Byte_Of(const TParGen_Field& f, size_t i) const
{
    return f.Named() ? Named_Row(f.Name).E[i] : f.Bytes[i].Get(*this);
}

void TFParGen::Create_Bindings()
{
    for (const TParGen_Field& f : ParGen_Fields()) {
        if (!f.Element) continue;
        if (f.Control == TParGen_Control::Address) {
            for (size_t i = 0; i < 4; ++i)
                bindings_.push_back({String(f.Element) + IntToStr(static_cast<int>(i + 1)), TParGen_Kind::Text,
                                     f.Bytes[i].Get(*this), f.Defaults[i]});
        } else {
            bindings_.push_back({f.Element, f.Kind, f.Field.Get(*this), f.Default});
        }
    }
}

// ---- loading and saving ----------------------------------------------------------------

namespace {

// Puts one stored value (null: missing or unreadable) into its field.
void Apply_Value(const TParGen_Binding& b, const TXMLValue& value)
{
    int number = 0;
    switch (b.Kind) {
    case TParGen_Kind::Text:
        static_cast<TCustomEdit*>(b.Field)->SetText(value.IsNull() ? String(b.Default) : value.AsString());
        break;
    case TParGen_Kind::Index: {
        auto* c = static_cast<TComboBox*>(b.Field);
        if (!Read_Int(value, number)) number = StrToIntDef(b.Default, 0);
        c->SetItemIndex(number >= 0 && number < c->Items()->Count() ? number : -1);
        break;
    }
    case TParGen_Kind::Item_Text: {
        auto* c = static_cast<TComboBox*>(b.Field);
        const String wanted = value.IsNull() ? String(b.Default) : value.AsString();
        int found = -1;
        for (int i = 0; i < c->Items()->Count() && found < 0; ++i)
            if (AnsiSameText(c->Items()->Strings(i), wanted)) found = i;
        c->SetItemIndex(found < 0 ? 0 : found);
        break;
    }
    case TParGen_Kind::Check:
        static_cast<TCheckBox*>(b.Field)->SetChecked(value.IsNull() ? b.Default == String(u"1")
                                                                     : value.AsString() == u"1");
        break;
    case TParGen_Kind::Check_Num:
        if (!Read_Int(value, number)) number = StrToIntDef(b.Default, 0);
        static_cast<TCheckBox*>(b.Field)->SetChecked(number == 1);
        break;
    }
}

String Stored_Form(const TParGen_Binding& b)
{
    switch (b.Kind) {
    case TParGen_Kind::Text:
        return static_cast<TCustomEdit*>(b.Field)->Text();
    case TParGen_Kind::Index:
        return IntToStr(static_cast<TComboBox*>(b.Field)->ItemIndex());
    case TParGen_Kind::Item_Text: {
        auto* c = static_cast<TComboBox*>(b.Field);
        return c->ItemIndex() >= 0 ? c->Items()->Strings(c->ItemIndex()) : String();
    }
    case TParGen_Kind::Check:
    case TParGen_Kind::Check_Num:
        return static_cast<TCheckBox*>(b.Field)->Checked() ? u"1" : u"0";
    }
    return String();
}

// Text of an element; null when the element is missing or holds other elements.
TXMLValue Element_Value(const IXMLNode& root, const String& name)
{
    if (root.IsNull()) return TXMLValue();
    const IXMLNode node = root.ChildNodes().FindNode(name);
    if (node.IsNull()) return TXMLValue();
    try {
        return TXMLValue(node.Text());
    } catch (const EXMLDocError&) {
        return TXMLValue();
    }
}

} // namespace

void TFParGen::Load_Defaults()
{
    const bool was = relayout_;
    relayout_ = true;  // one pass after all fields are in place
    for (const TParGen_Binding& b : bindings_) Apply_Value(b, TXMLValue());
    // A new configuration starts with the asynchronous send time the converter expects.
    E_MQTT_ASync_Send_Time->SetText(u"10");
    relayout_ = was;
}

void TFParGen::Load_File(const String& file_name)
{
    if (!FileExists(file_name)) {
        Load_Defaults();
        return;
    }
    TXMLDocument doc(nullptr);
    IXMLNode root;
    try {
        doc.LoadFromFile(file_name);
        root = doc.DocumentElement();
    } catch (const EXMLDocError&) {
        // A file that is not XML shows every default, as one whose elements are all unreadable.
        root = IXMLNode();
    }
    const bool was = relayout_;
    relayout_ = true;
    for (const TParGen_Binding& b : bindings_) Apply_Value(b, Element_Value(root, b.Element));
    relayout_ = was;
}

void TFParGen::Save_File(const String& file_name) const
{
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(u"Par_Gen");
    for (const TParGen_Binding& b : bindings_) root.AddChild(b.Element).SetText(Stored_Form(b));
    doc.AddComment(Version_Stamp);
    doc.SaveToFile(file_name);
}

void TFParGen::FormShow(TObject*)
{
    Load_File(File_ParGen);
    Move_GroupBoxs();
}

void TFParGen::Btn_OKClick(TObject*)
{
    if (!Controllo_Dati()) return;
    try {
        Save_File(File_ParGen);
    } catch (const Exception& e) {
        // Nothing was replaced: the window stays open with the user's values.
        MessageDlg(e.Message(), mtError, {mbOK});
        return;
    }
    SetModalResult(mrOk);
}

// ---- certificate picker ------------------------------------------------------------------

void TFParGen::Btn_OnCertificate(TObject* Sender)
{
    TRichEdit* field = nullptr;
    if (Sender == Btn_TLS_Server_Cert) field = E_TLS_Server_Cert;
    else if (Sender == Btn_TLS_CA_Cert) field = E_TLS_CA_Cert;
    else if (Sender == Btn_TLS_Client_Cert) field = E_TLS_Client_Cert;
    else if (Sender == Btn_TLS_Client_Cert_Key) field = E_TLS_Client_Cert_Key;
    if (!field) return;

    const String folder = Project_Dir + u"/Certificates";
    if (!DirectoryExists(folder)) ForceDirectories(folder);
    if (!OD_Certificate->Execute()) return;
    const String chosen = OD_Certificate->FileName();
    if (!FileExists(chosen)) return;
    const String name = ExtractFileName(chosen);
    const String target = folder + u"/" + name;
    if (AnsiLowerCase(chosen) != AnsiLowerCase(target)) {
        if (FileExists(target) && MessageDlg(Overwrite_Text, mtConfirmation, mbYesNoCancel) != mrYes) return;
        if (!CopyFile(chosen, target, false)) {
            MessageDlg(Copy_Failed_Text, mtError, {mbOK});
            return;
        }
    }
    field->Clear();
    field->SetText(name);
}

// ---- dot in an address byte -----------------------------------------------------------------

TEdit* TFParGen::Next_Address_Field(TObject* Sender) const
{
    for (const std::vector<TEdit*>& chain : dot_chains_)
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            if (chain[i] == Sender) return chain[i + 1];
    return nullptr;
}

void TFParGen::KeyPress(TObject* Sender, char16_t& Key)
{
    Address_Dot_Key(Key, Next_Address_Field(Sender));
}

// ---- frame events -----------------------------------------------------------------------------

void TFParGen::FormResize(TObject*)
{
    if (ClientWidth() != 460) SetClientWidth(460);
}

void TFParGen::FormMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint MousePos, bool& Handled)
{
    const TPoint p = CPG->ScreenToClient(MousePos);
    if (p.X < 0 || p.Y < 0 || p.X >= CPG->ClientWidth() || p.Y >= CPG->ClientHeight()) return;
    Handled = true;
    constexpr int Wheel_Lines = 3;
    for (int i = 0; i < Wheel_Lines; ++i) {
        CPG->Perform(WM_VSCROLL, WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
        CPG->Perform(WM_VSCROLL, SB_ENDSCROLL);
    }
}

int TFParGen::Check_Device_IP_Address_WiFi(String& name1, String& name2)
{
    return Product_Variant(name1, name2);
}

bool TFParGen::Check_Device_Name(StringView name)
{
    for (char16_t c : name)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))) return true;
    return false;
}

// ---- the rows ----------------------------------------------------------------------------

namespace {

template <auto Member>
TParGen_Slot Slot()
{
    using P = std::remove_cvref_t<decltype(std::declval<TFParGen&>().*Member)>;
    return {[](TFParGen& f, TControl* c) { f.*Member = static_cast<P>(c); },
            [](const TFParGen& f) -> TControl* { return f.*Member; }};
}

} // namespace

// The leading fields of a row: its control, name and the members it lands in.
#define PG_LABEL(n) .Control = TParGen_Control::Label, .Name = u"L_" #n, .Field = {}, .Label = Slot<&TFParGen::L_##n>()
#define PG_EDIT(n) .Control = TParGen_Control::Edit, .Name = u"E_" #n, .Field = Slot<&TFParGen::E_##n>(), .Label = Slot<&TFParGen::L_##n>()
#define PG_RICH(n) .Control = TParGen_Control::Rich, .Name = u"E_" #n, .Field = Slot<&TFParGen::E_##n>(), .Label = Slot<&TFParGen::L_##n>()
#define PG_CERT(n) .Control = TParGen_Control::Certificate, .Name = u"E_" #n, .Field = Slot<&TFParGen::E_##n>(), .Label = Slot<&TFParGen::L_##n>()
#define PG_COMBO(n) .Control = TParGen_Control::Combo, .Name = u"CB_" #n, .Field = Slot<&TFParGen::CB_##n>(), .Label = Slot<&TFParGen::L_##n>()
#define PG_CHECK(n) .Control = TParGen_Control::Check, .Name = u"CB_" #n, .Field = Slot<&TFParGen::CB_##n>(), .Label = {}
#define PG_ADDRESS(n) .Control = TParGen_Control::Address, .Name = u"E_" #n, .Field = {}, .Label = {}
#define PG_BYTES(n) .Bytes = {Slot<&TFParGen::E_##n##1>(), Slot<&TFParGen::E_##n##2>(), Slot<&TFParGen::E_##n##3>(), Slot<&TFParGen::E_##n##4>()}
#define PG_ROW(r) .Row_Of = [](TFParGen& f) -> TAddress_Row& { return f.r; }
#define PG_BUTTON(n) .Button = Slot<&TFParGen::Btn_##n>()

const std::vector<TParGen_Field>& ParGen_Fields()
{
    using K = TParGen_Kind;
    using P = TFParGen;
    const std::array<const char16_t*, 4> dns = {u"8", u"8", u"8", u"8"};
    const std::array<const char16_t*, 4> mask = {u"255", u"255", u"255", u"0"};
    const std::array<const char16_t*, 4> gate = {u"192", u"168", u"0", u"1"};
    const std::vector<const char16_t*> auth = {u"None", u"PAP", u"CHAP", u"PAP or CHAP"};
    static const std::vector<TParGen_Field> fields = {
        // Select Device
        {PG_COMBO(Select_Device_Device), .Panel = &P::CP_Select_Device, .Row = 12, .Caption = 4248, .Hint = 4249, .Element = u"Select_Device", .Kind = K::Index, .Default = u"0",
         .Items = {u"Only Ethernet Cable ", u"Ethernet Cable + Wi-Fi", u"Ethernet Cable + Mobile Connection"}},
        // Ethernet Connection
        {PG_EDIT(EthConn_Device_Name), .Panel = &P::CP_Ethernet_Connection, .Row = 12, .Caption = 4251, .Hint = 4252, .Element = u"Eth_Conn_Device_Name", .Max_Length = 31},
        {PG_CHECK(EthConn_En_DHCP_Cable), .Panel = &P::CP_Ethernet_Connection, .Row = 40, .Caption = 4253, .Hint = 4254, .Element = u"Eth_Conn_DHCP_Cable", .Kind = K::Check, .Default = u"0"},
        {PG_CHECK(EthConn_En_DHCP_WiFi), .Panel = &P::CP_Ethernet_Connection, .Row = 68, .Caption = 4255, .Hint = 4256, .Element = u"Eth_Conn_DHCP_WiFi", .Kind = K::Check, .Default = u"0"},
        {PG_CHECK(EthConn_Enable_DNS), .Panel = &P::CP_Ethernet_Connection, .Row = 96, .Caption = 4257, .Hint = 4258, .Element = u"Eth_Conn_Enable_DNS", .Kind = K::Check, .Default = u"0"},
        {PG_LABEL(EthConn_Primary_DNS), .Panel = &P::CP_Ethernet_Connection, .Row = 124, .Caption = 4263},
        {PG_ADDRESS(EthConn_Pri_DNS_IP), .Panel = &P::CP_Ethernet_Connection, .Row = 124, .Hint = 4259, .Element = u"Eth_Conn_Primary_DNS", PG_BYTES(EthConn_Pri_DNS_IP), PG_ROW(Row_EthConn_Pri_DNS), .Defaults = dns},
        {PG_LABEL(EthConn_Secondary_DNS), .Panel = &P::CP_Ethernet_Connection, .Row = 152, .Caption = 4264},
        {PG_ADDRESS(EthConn_Sec_DNS_IP), .Panel = &P::CP_Ethernet_Connection, .Row = 152, .Hint = 4265, .Element = u"Eth_Conn_Secondary_DNS", PG_BYTES(EthConn_Sec_DNS_IP), PG_ROW(Row_EthConn_Sec_DNS), .Defaults = dns},
        // Working Mode
        {PG_COMBO(WorkMode_WorkMode), .Panel = &P::CP_Working_Mode, .Row = 12, .Caption = 620, .Hint = 623, .Element = u"Working_Mode", .Kind = K::Index, .Default = u"0", .Lang_Items_First = 637, .Lang_Items_Last = 638},
        // MQTT
        {PG_EDIT(MQTT_Server), .Panel = &P::CP_MQTT, .Row = 12, .Caption = 429, .Hint = 430, .Element = u"MQTT_Server_URL"},
        {PG_EDIT(MQTT_Server_Port), .Panel = &P::CP_MQTT, .Row = 40, .Caption = 431, .Hint = 432, .Element = u"MQTT_Server_Port", .Default = u"1883"},
        {PG_EDIT(MQTT_Client_ID), .Panel = &P::CP_MQTT, .Row = 68, .Caption = 433, .Hint = 434, .Element = u"MQTT_Client_ID"},
        {PG_EDIT(MQTT_Keep_Alive), .Panel = &P::CP_MQTT, .Row = 96, .Caption = 435, .Hint = 436, .Element = u"MQTT_Keep_Alive"},
        {PG_CHECK(MQTT_Clean_Session), .Panel = &P::CP_MQTT, .Row = 124, .Caption = 437, .Hint = 438, .Element = u"MQTT_Clean_Session", .Kind = K::Check, .Default = u"0"},
        {PG_CHECK(MQTT_WillFlag), .Panel = &P::CP_MQTT, .Row = 152, .Caption = 439, .Hint = 440, .Element = u"MQTT_WillFlag", .Kind = K::Check, .Default = u"0"},
        {PG_EDIT(MQTT_Will_TopicName), .Panel = &P::CP_MQTT, .Row = 180, .Caption = 441, .Hint = 442, .Element = u"MQTT_Will_Topic_Name"},
        {PG_EDIT(MQTT_Will_Message), .Panel = &P::CP_MQTT, .Row = 208, .Caption = 443, .Hint = 444, .Element = u"MQTT_Will_Message"},
        {PG_CHECK(MQTT_Will_Retained), .Panel = &P::CP_MQTT, .Row = 236, .Caption = 445, .Hint = 446, .Element = u"MQTT_Will_Retained", .Kind = K::Check, .Default = u"0"},
        {PG_COMBO(MQTT_Will_QoS), .Panel = &P::CP_MQTT, .Row = 264, .Caption = 447, .Hint = 448, .Element = u"MQTT_Will_QoS", .Kind = K::Index, .Default = u"0", .Items = {u"0", u"1", u"2"}},
        {PG_CHECK(MQTT_PublishTopicConnection), .Panel = &P::CP_MQTT, .Row = 292, .Caption = 4226, .Hint = 4227, .Element = u"MQTT_PublishTopicConnection", .Kind = K::Check, .Default = u"0"},
        {PG_EDIT(MQTT_Connection_TopicName), .Panel = &P::CP_MQTT, .Row = 320, .Caption = 4228, .Hint = 4229, .Element = u"MQTT_Connection_Topic_Name"},
        {PG_EDIT(MQTT_Connection_Message), .Panel = &P::CP_MQTT, .Row = 348, .Caption = 4230, .Hint = 4231, .Element = u"MQTT_Connection_Message"},
        {PG_CHECK(MQTT_Connection_Retained), .Panel = &P::CP_MQTT, .Row = 376, .Caption = 4232, .Hint = 4233, .Element = u"MQTT_Connection_Retained", .Kind = K::Check, .Default = u"0"},
        {PG_EDIT(MQTT_Username), .Panel = &P::CP_MQTT, .Row = 404, .Caption = 449, .Hint = 450, .Element = u"MQTT_Username"},
        {PG_RICH(MQTT_Password), .Panel = &P::CP_MQTT, .Row = 432, .Caption = 451, .Hint = 452, .Element = u"MQTT_Password"},
        {PG_CHECK(MQTT_Single_Subsribe_for_Topics), .Panel = &P::CP_MQTT, .Row = 460, .Caption = 4269, .Hint = 4270, .Element = u"MQTT_Enable_Single_Subscribe", .Kind = K::Check, .Default = u"0"},
        // Settings of the family's other models: kept and stored, never shown here.
        {PG_EDIT(MQTT_ASync_Send_Time), .Panel = &P::CP_MQTT, .Row = 488, .Caption = 453, .Hint = 454, .Element = u"MQTT_ASync_Send_Time"},
        {PG_EDIT(MQTT_TopicDALIAns), .Panel = &P::CP_MQTT, .Row = 516, .Caption = 4234, .Hint = 4235, .Element = u"MQTT_Topic_DALI_Answer"},
        {PG_CHECK(MQTT_Enable_ReProgram), .Panel = &P::CP_MQTT, .Row = 544, .Caption = 4236, .Hint = 4237, .Element = u"MQTT_Enable_Reprogram", .Kind = K::Check, .Default = u"0"},
        {PG_EDIT(MQTT_Reprogram_Topic), .Panel = &P::CP_MQTT, .Row = 572, .Caption = 4238, .Hint = 4239, .Element = u"MQTT_Reprogram_Topic"},
        {PG_EDIT(MQTT_Reproram_Value), .Panel = &P::CP_MQTT, .Row = 600, .Caption = 4240, .Hint = 4241, .Element = u"MQTT_Reprogram_Value"},
        // Ethernet
        {PG_LABEL(Ethernet_IP), .Panel = &P::CP_Ethernet, .Row = 12, .Caption = 456},
        {PG_ADDRESS(Ethernet_IP), .Panel = &P::CP_Ethernet, .Row = 12, .Hint = 457, .Element = u"Ethernet_IP", PG_BYTES(Ethernet_IP), PG_ROW(Row_Ethernet_IP), .Defaults = {u"192", u"168", u"0", u"10"}},
        {PG_LABEL(Ethernet_SM), .Panel = &P::CP_Ethernet, .Row = 40, .Caption = 461},
        {PG_ADDRESS(Ethernet_SM), .Panel = &P::CP_Ethernet, .Row = 40, .Hint = 462, .Element = u"Ethernet_SM", PG_BYTES(Ethernet_SM), PG_ROW(Row_Ethernet_SM), .Defaults = mask},
        {PG_ADDRESS(Ethernet_GAT), .Panel = &P::CP_Ethernet, .Row = 68, .Hint = 468, .Element = u"Ethernet_GAT", PG_BYTES(Ethernet_GAT), PG_ROW(Row_Ethernet_GAT), .Edit_Dy = -2, .Defaults = gate},
        {PG_CHECK(Ethernet_En_GAT), .Panel = &P::CP_Ethernet, .Row = 68, .Caption = 466, .Hint = 467, .Element = u"Ethernet_EN_GAT", .Kind = K::Check, .Default = u"0", .Width = Gateway_Check_Width},
        {PG_CHECK(Ethernet_En_DNS), .Panel = &P::CP_Ethernet, .Row = 96, .Width = Gateway_Check_Width},
        {PG_ADDRESS(Ethernet_DNS), .Panel = &P::CP_Ethernet, .Row = 96, PG_BYTES(Ethernet_DNS), PG_ROW(Row_Ethernet_DNS), .Edit_Dy = -2},
        {PG_EDIT(Ethernet_TCP_Port), .Panel = &P::CP_Ethernet, .Row = 124},
        {PG_EDIT(Ethernet_UDP_Port), .Panel = &P::CP_Ethernet, .Row = 152},
        {PG_CHECK(Ethernet_Reset_24h), .Panel = &P::CP_Ethernet, .Row = 180, .Caption = 4243, .Hint = 4244},
        // Wi-Fi
        {PG_COMBO(WiFi2_Type), .Panel = &P::CP_WiFi2, .Row = 12, .Caption = 5101, .Hint = 5102, .Element = u"WiFi_Type", .Kind = K::Index, .Default = u"0", .Lang_Items_First = 5103, .Lang_Items_Last = 5104},
        {PG_LABEL(WiFi2_IP1), .Panel = &P::CP_WiFi2, .Row = 40, .Caption = 5105},
        {PG_LABEL(WiFi2_IP1_IP), .Panel = &P::CP_WiFi2, .Row = 68, .Caption = 5106},
        {PG_ADDRESS(WiFi2_IP1_IP), .Panel = &P::CP_WiFi2, .Row = 68, .Hint = 5107, .Element = u"WiFi_IP", PG_BYTES(WiFi2_IP1_IP), PG_ROW(WiFi2_Block1.IP), .Defaults = {u"192", u"168", u"0", u"100"}},
        {PG_LABEL(WiFi2_IP1_SM), .Panel = &P::CP_WiFi2, .Row = 96, .Caption = 5111},
        {PG_ADDRESS(WiFi2_IP1_SM), .Panel = &P::CP_WiFi2, .Row = 96, .Hint = 5112, .Element = u"WiFi_SM", PG_BYTES(WiFi2_IP1_SM), PG_ROW(WiFi2_Block1.SM), .Defaults = mask},
        {PG_CHECK(WiFi2_IP1_En_GAT), .Panel = &P::CP_WiFi2, .Row = 124, .Caption = 5116, .Hint = 5117, .Element = u"WiFi_EN_Gateway", .Kind = K::Check_Num, .Default = u"0", .Width = Gateway_Check_Width},
        {PG_ADDRESS(WiFi2_IP1_GAT), .Panel = &P::CP_WiFi2, .Row = 124, .Hint = 5118, .Element = u"WiFi_GAT", PG_BYTES(WiFi2_IP1_GAT), PG_ROW(WiFi2_Block1.GAT), .Edit_Dy = -2, .Defaults = gate},
        {PG_LABEL(WiFi2_IP2), .Panel = &P::CP_WiFi2, .Row = 152, .Caption = 5122},
        {PG_LABEL(WiFi2_IP2_IP), .Panel = &P::CP_WiFi2, .Row = 180, .Caption = 5123},
        {PG_ADDRESS(WiFi2_IP2_IP), .Panel = &P::CP_WiFi2, .Row = 180, .Hint = 5124, .Element = u"WiFi_IP2_IP", PG_BYTES(WiFi2_IP2_IP), PG_ROW(WiFi2_Block2.IP), .Defaults = {u"192", u"168", u"0", u"110"}},
        {PG_LABEL(WiFi2_IP2_SM), .Panel = &P::CP_WiFi2, .Row = 208, .Caption = 5128},
        {PG_ADDRESS(WiFi2_IP2_SM), .Panel = &P::CP_WiFi2, .Row = 208, .Hint = 5129, .Element = u"WiFi_IP2_SM", PG_BYTES(WiFi2_IP2_SM), PG_ROW(WiFi2_Block2.SM), .Defaults = mask},
        {PG_CHECK(WiFi2_IP2_En_GAT), .Panel = &P::CP_WiFi2, .Row = 236, .Caption = 5133, .Hint = 5134, .Element = u"WiFi_IP2_EN_Gateway", .Kind = K::Check_Num, .Default = u"0", .Width = Gateway_Check_Width},
        {PG_ADDRESS(WiFi2_IP2_GAT), .Panel = &P::CP_WiFi2, .Row = 236, .Hint = 5135, .Element = u"WiFi_IP2_GAT", PG_BYTES(WiFi2_IP2_GAT), PG_ROW(WiFi2_Block2.GAT), .Edit_Dy = -2, .Defaults = gate},
        {PG_EDIT(WiFi2_SSID), .Panel = &P::CP_WiFi2, .Row = 264, .Caption = 5139, .Hint = 5140, .Element = u"WiFi_SSID"},
        {PG_EDIT(WiFi2_Password), .Panel = &P::CP_WiFi2, .Row = 292, .Caption = 5141, .Hint = 5142, .Element = u"WiFi_PWD"},
        {PG_COMBO(WiFi2_Secure_Type), .Panel = &P::CP_WiFi2, .Row = 320, .Caption = 5143, .Hint = 5144, .Element = u"WiFi_Secure_Type", .Kind = K::Index, .Default = u"0", .Lang_Items_First = 5145, .Lang_Items_Last = 5148},
        {PG_CHECK(WiFi2_En_DHCP), .Panel = &P::CP_WiFi2, .Row = 348, .Caption = 5149, .Hint = 5150, .Element = u"WiFi_EN_DHCP", .Kind = K::Check_Num, .Default = u"0"},
        {PG_LABEL(WiFi2_DHCP_First_IP), .Panel = &P::CP_WiFi2, .Row = 376, .Caption = 5151},
        {PG_ADDRESS(WiFi2_DHCP_First_IP), .Panel = &P::CP_WiFi2, .Row = 376, .Hint = 5152, .Element = u"WiFi_DHCP_First_IP", PG_BYTES(WiFi2_DHCP_First_IP), PG_ROW(Row_WiFi2_DHCP_First_IP), .Defaults = {u"192", u"168", u"0", u"200"}},
        {PG_LABEL(WiFi2_DHCP_SM), .Panel = &P::CP_WiFi2, .Row = 404, .Caption = 5156},
        {PG_ADDRESS(WiFi2_DHCP_SM), .Panel = &P::CP_WiFi2, .Row = 404, .Hint = 5157, .Element = u"WiFi_DHCP_SM", PG_BYTES(WiFi2_DHCP_SM), PG_ROW(Row_WiFi2_DHCP_SM), .Defaults = mask},
        {PG_EDIT(WiFi2_Lease_Time), .Panel = &P::CP_WiFi2, .Row = 432, .Caption = 5161, .Hint = 5162, .Element = u"WiFi_Lease_Time", .Default = u"86400"},
        {PG_COMBO(WiFi2_Max_Client), .Panel = &P::CP_WiFi2, .Row = 460, .Caption = 5163, .Hint = 5164, .Element = u"WiFi_Max_Client", .Kind = K::Index, .Default = u"0",
         .Items = {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}},
        {PG_COMBO(WiFi2_Channel), .Panel = &P::CP_WiFi2, .Row = 488, .Caption = 5165, .Hint = 5166, .Element = u"WiFi_Channel", .Kind = K::Index, .Default = u"1", .Lang_Items_First = 5167, .Lang_Items_Last = 5178},
        // TLS
        {PG_CHECK(TLS_Enable), .Panel = &P::CP_TLS, .Row = 12, .Caption = 555, .Hint = 556, .Element = u"TLS_Enable", .Kind = K::Check_Num, .Default = u"0"},
        {PG_CHECK(TLS_En_Server_Auth), .Panel = &P::CP_TLS, .Row = 40, .Caption = 557, .Hint = 558, .Element = u"TLS_En_Server_Auth", .Kind = K::Check_Num, .Default = u"0"},
        {PG_CERT(TLS_Server_Cert), .Panel = &P::CP_TLS, .Row = 68, .Caption = 559, .Hint = 560, .Element = u"TLS_Server_Auth_Certificate", .Edit_Dy = -5, PG_BUTTON(TLS_Server_Cert)},
        {PG_CHECK(TLS_En_Client_Auth), .Panel = &P::CP_TLS, .Row = 96, .Caption = 561, .Hint = 562, .Element = u"TLS_En_Client_Auth", .Kind = K::Check_Num, .Default = u"0"},
        {PG_CERT(TLS_CA_Cert), .Panel = &P::CP_TLS, .Row = 124, .Caption = 5246, .Hint = 5247, .Element = u"TLS_Client_CA_Certificate", PG_BUTTON(TLS_CA_Cert)},
        {PG_CERT(TLS_Client_Cert), .Panel = &P::CP_TLS, .Row = 152, .Caption = 563, .Hint = 564, .Element = u"TLS_Client_Auth_Certificate", PG_BUTTON(TLS_Client_Cert)},
        {PG_CERT(TLS_Client_Cert_Key), .Panel = &P::CP_TLS, .Row = 180, .Caption = 565, .Hint = 566, .Element = u"TLS_Client_Auth_Key", PG_BUTTON(TLS_Client_Cert_Key)},
        {PG_EDIT(TLS_Client_Cert_Key_Pass), .Panel = &P::CP_TLS, .Row = 208, .Caption = 567, .Hint = 568, .Element = u"TLS_Client_Auth_Key_Password"},
        // NTP
        {PG_EDIT(NTP_Server_URL), .Panel = &P::CP_NTP, .Row = 12, .Caption = 570, .Hint = 571, .Element = u"NTP_Server_URL"},
        {PG_EDIT(NTP_Poll_Time), .Panel = &P::CP_NTP, .Row = 40, .Caption = 572, .Hint = 573, .Element = u"NTP_Poll_Time"},
        // Modbus Master
        {PG_COMBO(ModbusMaster_Serial), .Panel = &P::CP_Modbus_Master, .Row = 12, .Caption = 625, .Hint = 626, .Element = u"ModbusM_SERIAL", .Kind = K::Index, .Default = u"0", .Items = {u"RS232", u"RS485"}},
        {PG_COMBO(ModbusMaster_Baudrate), .Panel = &P::CP_Modbus_Master, .Row = 40, .Caption = 627, .Hint = 628, .Element = u"ModbusM_BAUDRATE", .Kind = K::Index, .Default = u"7",
         .Items = {u"1200", u"2400", u"4800", u"9600", u"19200", u"38400", u"57600", u"115200"}},
        {PG_COMBO(ModbusMaster_Parity), .Panel = &P::CP_Modbus_Master, .Row = 68, .Caption = 629, .Hint = 630, .Element = u"ModbusM_PARITY", .Kind = K::Index, .Default = u"0", .Items = {u"NONE", u"ODD", u"EVEN"}},
        {PG_COMBO(ModbusMaster_StopBits), .Panel = &P::CP_Modbus_Master, .Row = 96, .Caption = 631, .Hint = 632, .Element = u"ModbusM_STOPBITS", .Kind = K::Index, .Default = u"0", .Items = {u"1 Stop Bits", u"2 Stop Bits"}},
        {PG_EDIT(ModbusMaster_TimeOut), .Panel = &P::CP_Modbus_Master, .Row = 124, .Caption = 633, .Hint = 634, .Element = u"ModbusM_TIMEOUT", .Default = u"1000"},
        {PG_EDIT(ModbusMaster_CyclicDelay), .Panel = &P::CP_Modbus_Master, .Row = 152, .Caption = 635, .Hint = 636, .Element = u"ModbusM_CYCLIC", .Default = u"100"},
        // GSM / GPRS / LTE
        {PG_EDIT(GSM_GPRS_PIN), .Panel = &P::CP_GSM_GPRS, .Row = 12, .Caption = 4151, .Hint = 4152, .Element = u"GSM_GPRS_PIN", .Max_Length = 8},
        {PG_EDIT(GSM_GPRS_APN), .Panel = &P::CP_GSM_GPRS, .Row = 40, .Caption = 4153, .Hint = 4154, .Element = u"GSM_GPRS_APN"},
        {PG_COMBO(GSM_GPRS_AuthType), .Panel = &P::CP_GSM_GPRS, .Row = 68, .Caption = 4220, .Hint = 4221, .Element = u"GSM_GPRS_AUTHTYPE", .Kind = K::Item_Text, .Default = u"None", .Items = auth},
        {PG_EDIT(GSM_GPRS_UserName), .Panel = &P::CP_GSM_GPRS, .Row = 96, .Caption = 4222, .Hint = 4223, .Element = u"GSM_GPRS_USERNAME", .Max_Length = 32},
        {PG_EDIT(GSM_GPRS_Password), .Panel = &P::CP_GSM_GPRS, .Row = 124, .Caption = 4224, .Hint = 4225, .Element = u"GSM_GPRS_PASSWORD", .Max_Length = 32},
        {PG_CHECK(GSM_GPRS_En_Second_SIM), .Panel = &P::CP_GSM_GPRS, .Row = 152, .Caption = 5232, .Hint = 5233, .Element = u"GSM_GPRS_ENABLE_SECOND_SIM", .Kind = K::Check, .Default = u"0", .Width = 413, .Left = 16},
        {PG_EDIT(GSM_GPRS_PIN2), .Panel = &P::CP_GSM_GPRS, .Row = 180, .Caption = 5234, .Hint = 5235, .Element = u"GSM_GPRS_PIN_2", .Max_Length = 8},
        {PG_EDIT(GSM_GPRS_APN2), .Panel = &P::CP_GSM_GPRS, .Row = 208, .Caption = 5236, .Hint = 5237, .Element = u"GSM_GPRS_APN_2"},
        {PG_COMBO(GSM_GPRS_AuthType2), .Panel = &P::CP_GSM_GPRS, .Row = 236, .Caption = 5238, .Hint = 5239, .Element = u"GSM_GPRS_AUTHTYPE_2", .Kind = K::Item_Text, .Default = u"None", .Items = auth},
        {PG_EDIT(GSM_GPRS_UserName2), .Panel = &P::CP_GSM_GPRS, .Row = 264, .Caption = 5240, .Hint = 5241, .Element = u"GSM_GPRS_USERNAME_2", .Max_Length = 32},
        {PG_EDIT(GSM_GPRS_Password2), .Panel = &P::CP_GSM_GPRS, .Row = 292, .Caption = 5242, .Hint = 5243, .Element = u"GSM_GPRS_PASSWORD_2", .Max_Length = 32},
        {PG_COMBO(GSM_GPRS_Main_SIM), .Panel = &P::CP_GSM_GPRS, .Row = 320, .Caption = 5244, .Hint = 5245, .Element = u"GSM_GPRS_MAIN_SIM", .Kind = K::Item_Text, .Default = u"SIM 1", .Items = {u"SIM 1", u"SIM 2"}},
    };
    return fields;
}

#undef PG_LABEL
#undef PG_EDIT
#undef PG_RICH
#undef PG_CERT
#undef PG_COMBO
#undef PG_CHECK
#undef PG_ADDRESS
#undef PG_BYTES
#undef PG_ROW
#undef PG_BUTTON
