// The window laid out as each model of the family: which panels show, in which order and
// under which numbers, how tall the other models' panels are for their options, the address
// enabling, the device-type step and the texts of the other panels' controls.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "ParGenTestKit.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

using namespace pargen_test;
using plat::TCategoryPanel;
using M = TParGen_Model;

namespace {

void Pick(plat::TComboBox* c, int index)
{
    c->SetItemIndex(index);
    if (c->OnChange) c->OnChange(c);
}

void Tick(plat::TCheckBox* c, bool checked)
{
    c->SetChecked(checked);
    if (c->OnClick) c->OnClick(c);
}

class ParGenModelsTest : public ParGenTest {
protected:
    plat::TComboBox* Combo(const char16_t* name) { return W().Named_As<plat::TComboBox>(name); }
    plat::TCheckBox* Check(const char16_t* name) { return W().Named_As<plat::TCheckBox>(name); }
    // The visible panels from top to bottom.
    std::vector<TCategoryPanel*> Shown()
    {
        std::vector<TCategoryPanel*> out;
        for (int i = 0; i < W().CPG->PanelCount(); ++i)
            if (W().CPG->Panels(i)->Visible()) out.push_back(W().CPG->Panels(i));
        std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
        return out;
    }
};

using P = TCategoryPanel* TFParGen::*;
struct TModel_Case {
    const char* name;
    M model;
    std::vector<std::pair<P, int>> panels;  // panel and caption text, in order
};

std::vector<TModel_Case> Model_Cases()
{
    using F = TFParGen;
    auto as512 = [](const char* name, M m, P field, int text) {
        return TModel_Case{name, m,
                           {{&F::CP_Select_Device, 4247}, {&F::CP_Ethernet_Connection, 4250}, {field, text},
                            {&F::CP_MQTT, 428}, {&F::CP_Ethernet, 455}, {&F::CP_TLS, 554}, {&F::CP_NTP, 569},
                            {&F::CP_WiFi2, 478}, {&F::CP_GSM_GPRS, 4150}}};
    };
    auto as518 = [](const char* name, M m, P field, int text) {
        return TModel_Case{name, m,
                           {{&F::CP_Select_Device, 4247}, {&F::CP_Ethernet_Connection, 4250},
                            {&F::CP_Working_Mode, 619}, {field, text}, {&F::CP_MQTT, 428}, {&F::CP_Ethernet, 455},
                            {&F::CP_TLS, 554}, {&F::CP_NTP, 569}, {&F::CP_WiFi2, 478}, {&F::CP_GSM_GPRS, 4150}}};
    };
    auto as318 = [](const char* name, M m, P field, int text) {
        return TModel_Case{name, m,
                           {{&F::CP_Ethernet_Connection, 4250}, {field, text}, {&F::CP_MQTT, 428},
                            {&F::CP_Ethernet, 455}, {&F::CP_TLS, 554}, {&F::CP_NTP, 569}}};
    };
    return {
        {"501", M::M501,
         {{&F::CP_Select_Device, 4247}, {&F::CP_Ethernet_Connection, 4250}, {&F::CP_MQTT, 428},
          {&F::CP_Ethernet, 455}, {&F::CP_TLS, 554}, {&F::CP_NTP, 569}, {&F::CP_WiFi2, 478},
          {&F::CP_GSM_GPRS, 4150}}},
        {"507", M::M507,
         {{&F::CP_Select_Device, 4247}, {&F::CP_Working_Mode, 619}, {&F::CP_MBus, 406}, {&F::CP_wMBus, 419},
          {&F::CP_MQTT, 428}, {&F::CP_Ethernet, 455}, {&F::CP_WiFi, 478}, {&F::CP_TLS, 554}, {&F::CP_NTP, 569},
          {&F::CP_GSM_GPRS, 4150}}},
        as512("512", M::M512, &F::CP_Serial, 4136),
        as518("518", M::M518, &F::CP_Modbus_Master, 624),
        as518("520", M::M520, &F::CP_Modbus_Slave, 679),
        as518("521", M::M521, &F::CP_Modbus_TCP_Master, 644),
        as512("522", M::M522, &F::CP_Modbus_TCP_Slave, 690),
        as512("523", M::M523, &F::CP_BACnet_Master, 4156),
        as512("524", M::M524, &F::CP_BACnet_Slave, 2073),
        as512("525", M::M525, &F::CP_CAN, 1824),
        as512("526", M::M526, &F::CP_CANopen, 1827),
        as512("527", M::M527, &F::CP_DALI, 4146),
        as512("528", M::M528, &F::CP_DeviceNet_Master, 1853),
        as512("529", M::M529, &F::CP_DeviceNet_Slave, 1859),
        as512("530", M::M530, &F::CP_DMX, 1980),
        as512("531", M::M531, &F::CP_EtherNetIP, 1871),
        as512("532", M::M532, &F::CP_J1939, 1842),
        as512("533", M::M533, &F::CP_KNX, 1986),
        as512("535", M::M535, &F::CP_NMEA2000, 1972),
        as512("539", M::M539, &F::CP_PROFIBUS, 1958),
        as512("541", M::M541, &F::CP_PROFINET, 1914),
        as512("543", M::M543, &F::CP_SNMP_Manager, 2043),
        as512("544", M::M544, &F::CP_SNMP_Agent, 1992),
        {"318_C061", M::M318_C061,
         {{&F::CP_Ethernet_Connection, 4250}, {&F::CP_Working_Mode, 619}, {&F::CP_Modbus_Master, 624},
          {&F::CP_MQTT, 428}, {&F::CP_Ethernet, 455}, {&F::CP_TLS, 554}, {&F::CP_NTP, 569}}},
        as318("318_C063", M::M318_C063, &F::CP_CAN, 1824),
        as318("318_C069", M::M318_C069, &F::CP_J1939, 1842),
    };
}

TEST_F(ParGenModelsTest, EachModelShowsItsPanelsInOrderNumberedFromOne)
{
    for (const TModel_Case& c : Model_Cases()) {
        SCOPED_TRACE(c.name);
        TFParGen w(nullptr);
        w.Lay_Out_As(c.model);
        std::vector<TCategoryPanel*> shown;
        for (int i = 0; i < w.CPG->PanelCount(); ++i)
            if (w.CPG->Panels(i)->Visible()) shown.push_back(w.CPG->Panels(i));
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
        ASSERT_EQ(shown.size(), c.panels.size());
        int top = 0;
        for (size_t i = 0; i < c.panels.size(); ++i) {
            TCategoryPanel* p = w.*(c.panels[i].first);
            SCOPED_TRACE(N(p->Name()));
            EXPECT_EQ(shown[i], p);
            EXPECT_EQ(p->Caption(), plat::IntToStr(static_cast<int>(i + 1)) + u". " + Lang(c.panels[i].second));
            EXPECT_EQ(p->TabOrder(), static_cast<int>(i));
            EXPECT_EQ(p->Top(), top);  // stacked with no gap
            top += p->Height();
        }
    }
}

TEST_F(ParGenModelsTest, TheBuildIsModel518AndItsWindowIsUnchanged)
{
    EXPECT_EQ(W().Model(), M::M518);
    const std::vector<TCategoryPanel*> shown = Shown();
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[3], W().CP_Modbus_Master);
    EXPECT_EQ(shown[3]->Caption(), u"4. Modbus Master");
    EXPECT_FALSE(W().CP_CAN->Visible());
}

// The window with only the build's panels filled (the creation benchmark's peer): model 518's
// panels stand as in the full window, the other panels are empty, and no other model's layout
// can be asked of it.
TEST_F(ParGenModelsTest, TheWindowWithOnlyTheBuildsPanelsLaysOutAs518Only)
{
    TFParGen w(nullptr, TParGen_Panels::Build_Model);
    std::vector<int> heights, full;
    for (int i = 0; i < w.CPG->PanelCount(); ++i) {
        heights.push_back(w.CPG->Panels(i)->Visible() ? w.CPG->Panels(i)->Height() : -1);
        full.push_back(W().CPG->Panels(i)->Visible() ? W().CPG->Panels(i)->Height() : -1);
    }
    EXPECT_EQ(heights, full);
    EXPECT_EQ(w.CP_CAN->Surface()->ControlCount(), 0);
    EXPECT_GT(W().CP_CAN->Surface()->ControlCount(), 0);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { w.Named(u"CB_CAN_Baudrate"); }, u"TFParGen has no control CB_CAN_Baudrate"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { w.Lay_Out_As(M::M526); },
                                            u"TFParGen has only the panels of the build's model"));
    w.Lay_Out_As(M::M518);
    EXPECT_EQ(w.CP_Modbus_Master->Caption(), u"4. Modbus Master");
}

TEST_F(ParGenModelsTest, Model525ShowsCanThirdAt67)
{
    W().Lay_Out_As(M::M525);
    const std::vector<TCategoryPanel*> shown = Shown();
    ASSERT_EQ(shown.size(), 9u);
    EXPECT_EQ(shown[2], W().CP_CAN);
    EXPECT_EQ(W().CP_CAN->Caption(), u"3. CAN");
    EXPECT_EQ(W().CP_CAN->Height(), 67);
    EXPECT_EQ(shown[3]->Top(), shown[2]->Top() + 67);
}

// ---- heights ---------------------------------------------------------------------------------

struct THeight_Case {
    const char* name;
    M model;
    std::function<void(TFParGen&)> set;
    P panel;
    int height;
};

TEST_F(ParGenModelsTest, PanelHeightsOfTheOtherModelsFollowTheirOptions)
{
    using F = TFParGen;
    auto pick = [](const char16_t* name, int i) {
        return [name, i](TFParGen& w) { Pick(w.Named_As<plat::TComboBox>(name), i); };
    };
    auto tick = [](std::initializer_list<const char16_t*> names) {
        std::vector<const char16_t*> v(names);
        return [v](TFParGen& w) {
            for (const char16_t* n : v) Tick(w.Named_As<plat::TCheckBox>(n), true);
        };
    };
    auto none = [](TFParGen&) {};
    const THeight_Case cases[] = {
        {"can", M::M525, none, &F::CP_CAN, 67},
        {"canopen", M::M526, none, &F::CP_CANopen, 178},
        {"j1939", M::M532, none, &F::CP_J1939, 150},
        {"devicenet master", M::M528, none, &F::CP_DeviceNet_Master, 95},
        {"devicenet slave", M::M529, none, &F::CP_DeviceNet_Slave, 150},
        {"profibus", M::M539, none, &F::CP_PROFIBUS, 150},
        {"nmea 2000", M::M535, none, &F::CP_NMEA2000, 121},
        {"dmx", M::M530, none, &F::CP_DMX, 94},
        {"knx", M::M533, none, &F::CP_KNX, 94},
        {"serial", M::M512, none, &F::CP_Serial, 179},
        {"dali", M::M527, none, &F::CP_DALI, 121},
        {"m-bus not present", M::M507, none, &F::CP_MBus, 67},
        {"m-bus present", M::M507, pick(u"CB_MBus_OnWire_Present", 1), &F::CP_MBus, 234},
        {"wireless not present", M::M507, none, &F::CP_wMBus, 67},
        {"wireless present", M::M507, pick(u"CB_wMBus_Wireless_Present", 1), &F::CP_wMBus, 123},
        {"modbus slave synchronous", M::M520, none, &F::CP_Modbus_Slave, 151},
        {"modbus slave asynchronous", M::M520, [](TFParGen& w) { Pick(w.CB_WorkMode_WorkMode, 1); },
         &F::CP_Modbus_Slave, 205},
        {"modbus tcp master", M::M521, none, &F::CP_Modbus_TCP_Master, 178},
        {"modbus tcp slave", M::M522, none, &F::CP_Modbus_TCP_Slave, 150},
        {"ethernet/ip", M::M531, none, &F::CP_EtherNetIP, 206},
        {"profinet", M::M541, none, &F::CP_PROFINET, 263},
        {"snmp manager", M::M543, none, &F::CP_SNMP_Manager, 150},
        {"snmp agent v1/v2", M::M544, none, &F::CP_SNMP_Agent, 232},
        {"snmp agent v3 no authority", M::M544, tick({u"CB_SNMP_Agent_Version3"}), &F::CP_SNMP_Agent, 291},
        {"snmp agent v3 authority", M::M544,
         [&](TFParGen& w) {
             tick({u"CB_SNMP_Agent_Version3"})(w);
             pick(u"CB_SNMP_Agent_SecurityLevel", 1)(w);
         },
         &F::CP_SNMP_Agent, 347},
        {"snmp agent v3 authority and privacy", M::M544,
         [&](TFParGen& w) {
             tick({u"CB_SNMP_Agent_Version3"})(w);
             pick(u"CB_SNMP_Agent_SecurityLevel", 2)(w);
         },
         &F::CP_SNMP_Agent, 403},
        {"bacnet slave ip", M::M524, none, &F::CP_BACnet_Slave, 261},
        {"bacnet slave ms/tp", M::M524, pick(u"CB_BACnet_Slave_Type", 1), &F::CP_BACnet_Slave, 317},
        {"bacnet master ip", M::M523, none, &F::CP_BACnet_Master, 262},
        {"bacnet master ms/tp", M::M523, pick(u"CB_BACnet_Master_Type", 1), &F::CP_BACnet_Master, 262},
        {"old wi-fi access point", M::M507, none, &F::CP_WiFi, 347},
        {"old wi-fi secured with dhcp", M::M507,
         [&](TFParGen& w) {
             pick(u"CB_WiFi_Secure_Type", 2)(w);
             tick({u"CB_WiFi_En_DHCP"})(w);
         },
         &F::CP_WiFi, 459},
    };
    // Each case on a fresh window laid out as its model.
    for (const THeight_Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFParGen w(nullptr);
        w.Lay_Out_As(c.model);
        c.set(w);
        EXPECT_EQ((w.*(c.panel))->Height(), c.height);
    }
}

TEST_F(ParGenModelsTest, BacnetMstpRowsTakeTheAddressRowsPlace)
{
    W().Lay_Out_As(M::M524);
    EXPECT_EQ(W().Named(u"CB_BACnet_Slave_Desc_32_Chars")->Top(), 208);
    Pick(Combo(u"CB_BACnet_Slave_Type"), 1);
    EXPECT_FALSE(W().Named(u"L_BACnet_IP_Slave_IP")->Visible());
    EXPECT_FALSE(W().Named(u"E_BACnet_IP_Slave_GAT4")->Visible());
    EXPECT_FALSE(W().Named(u"E_BACnet_IP_Slave_IP_Dot1")->Visible());
    EXPECT_TRUE(W().Named(u"L_BACnet_MSTP_Slave_Baudrate")->Visible());
    EXPECT_EQ(W().Named(u"L_BACnet_MSTP_Slave_Baudrate")->Top(), 40);
    EXPECT_EQ(W().Named(u"CB_BACnet_MSTP_Slave_Baudrate")->Top(), 37);
    EXPECT_EQ(W().Named(u"L_BACnet_MSTP_Slave_Network")->Top(), 236);
    EXPECT_EQ(W().Named(u"E_BACnet_MSTP_Slave_Network")->Top(), 233);
    EXPECT_EQ(W().Named(u"CB_BACnet_Slave_Desc_32_Chars")->Top(), 264);
    // And back: the address rows at their design places, the MS/TP rows hidden.
    Pick(Combo(u"CB_BACnet_Slave_Type"), 0);
    EXPECT_TRUE(W().Named(u"E_BACnet_IP_Slave_IP_Dot1")->Visible());
    EXPECT_FALSE(W().Named(u"L_BACnet_MSTP_Slave_Baudrate")->Visible());
    EXPECT_EQ(W().CP_BACnet_Slave->Height(), 261);
}

TEST_F(ParGenModelsTest, OldWiFiClientModeWithAutomaticAddressShowsTheNameRowAt68)
{
    W().Lay_Out_As(M::M507);
    Pick(Combo(u"CB_WiFi_Type"), 1);
    EXPECT_TRUE(W().Named(u"E_WiFi_IP1")->Visible());
    EXPECT_FALSE(W().Named(u"L_WiFi_Name")->Visible());
    Tick(Check(u"CB_WiFi_IP_Auto"), true);
    EXPECT_FALSE(W().Named(u"E_WiFi_IP1")->Visible());
    EXPECT_FALSE(W().Named(u"CB_WiFi_En_DNS")->Visible());
    EXPECT_TRUE(W().Named(u"L_WiFi_Name")->Visible());
    EXPECT_EQ(W().Named(u"L_WiFi_Name")->Top(), 68);
    EXPECT_EQ(W().Named(u"E_WiFi_Name")->Top(), 65);
    EXPECT_EQ(W().Named(u"E_WiFi_Password")->Top(), 149);
    EXPECT_FALSE(W().Named(u"CB_WiFi_Channel")->Visible());
    EXPECT_EQ(W().CP_WiFi->Height(), 149 + 21 + 24 + 12);
}

TEST_F(ParGenModelsTest, OldWiFiDirectKeepsThePreviousLayoutAndAFirstPassStillSizesThePanel)
{
    {
        W().Lay_Out_As(M::M507);
        Pick(Combo(u"CB_WiFi_Type"), 1);
        const int client = W().CP_WiFi->Height();
        Pick(Combo(u"CB_WiFi_Type"), 2);
        EXPECT_EQ(W().CP_WiFi->Height(), client);
        EXPECT_TRUE(W().Named(u"CB_WiFi_IP_Auto")->Visible());
    }
    // A window whose first pass as model 507 meets "WiFi Direct": the panel gets a full height.
    TFParGen w(nullptr);
    Pick(w.Named_As<plat::TComboBox>(u"CB_WiFi_Type"), 2);
    w.Lay_Out_As(M::M507);
    EXPECT_EQ(w.CP_WiFi->Height(), 347);
}

TEST_F(ParGenModelsTest, MBusNotPresentLeavesTheExtensionRowShownBelowTheEdge)
{
    W().Lay_Out_As(M::M507);
    EXPECT_FALSE(W().Named(u"CB_MBus_Baud")->Visible());
    EXPECT_FALSE(W().Named(u"CB_MBus_Request_on_MQTT")->Visible());
    EXPECT_TRUE(W().Named(u"E_MBus_Ext_TimeOut")->Visible());
    EXPECT_GT(W().Named(u"E_MBus_Ext_TimeOut")->Top(), W().CP_MBus->Height());
}

// ---- address enabling ------------------------------------------------------------------------

TEST_F(ParGenModelsTest, CableDhcpGreysTheThirteenAddressControlsAndMovesNothing)
{
    const struct {
        M model;
        const char16_t* infix;
        const char16_t* gateway;
    } cases[] = {
        {M::M521, u"ModbusTCPMaster", u"CB_ModbusTCPMaster_En_GAT"},
        {M::M522, u"ModbusTCPSlave", u"CB_ModbusTCPSlave_En_GAT"},
        {M::M531, u"EtherNetIP", u"CB_EtherNetIP_GAT"},
        {M::M541, u"PROFINET", u"CB_PROFINET_GAT"},
        {M::M543, u"SNMP_Manager", u"CB_SNMP_Manager_GAT"},
        {M::M544, u"SNMP_Agent", u"CB_SNMP_Agent_GAT"},
        {M::M524, u"BACnet_IP_Slave", u"CB_BACnet_IP_Slave_GAT"},
        {M::M523, u"BACnet_IP_Master", u"CB_BACnet_IP_Master_GAT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(N(c.infix));
        TFParGen w(nullptr);
        w.Lay_Out_As(c.model);
        std::vector<plat::TControl*> thirteen = {w.Named(c.gateway)};
        for (const char16_t* part : {u"_IP", u"_SM", u"_GAT"})
            for (int i = 1; i <= 4; ++i)
                thirteen.push_back(w.Named(plat::String(u"E_") + c.infix + part + plat::IntToStr(i)));
        std::vector<int> tops;
        for (plat::TControl* t : thirteen) {
            EXPECT_TRUE(t->Enabled());
            tops.push_back(t->Top());
        }
        Tick(w.CB_EthConn_En_DHCP_Cable, true);
        for (size_t i = 0; i < thirteen.size(); ++i) {
            EXPECT_FALSE(thirteen[i]->Enabled()) << N(thirteen[i]->Name());
            EXPECT_EQ(thirteen[i]->Top(), tops[i]);
        }
        Tick(w.CB_EthConn_En_DHCP_Cable, false);
        for (plat::TControl* t : thirteen) EXPECT_TRUE(t->Enabled());
    }
}

// ---- device type -----------------------------------------------------------------------------

TEST_F(ParGenModelsTest, Model507MobileConnectionOpensTheMobilePanelAndLeavesTheOldWiFiAlone)
{
    W().Lay_Out_As(M::M507);
    EXPECT_FALSE(W().CP_WiFi->Collapsed());
    Pick(W().CB_Select_Device_Device, 2);
    EXPECT_TRUE(W().CP_GSM_GPRS->Enabled());
    EXPECT_FALSE(W().CP_GSM_GPRS->Collapsed());
    EXPECT_TRUE(W().CP_WiFi->Enabled());
    EXPECT_FALSE(W().CP_WiFi->Collapsed());
    EXPECT_FALSE(W().CP_WiFi2->Visible());
    EXPECT_FALSE(W().CP_WiFi2->Enabled());
    // A panel collapsed by hand stays so through later passes.
    W().CP_WiFi->Collapse();
    Pick(W().CB_Select_Device_Device, 0);
    EXPECT_TRUE(W().CP_WiFi->Collapsed());
    EXPECT_TRUE(W().CP_WiFi->Enabled());
    EXPECT_TRUE(W().CP_GSM_GPRS->Collapsed());
    EXPECT_FALSE(W().CP_GSM_GPRS->Enabled());
}

TEST_F(ParGenModelsTest, Models318C063AndC069SaveCableOnlyAndC061KeepsTheLoadedType)
{
    const struct {
        const char* name;
        M model;
        const char* saved;
        bool wifi_dhcp_enabled;
    } cases[] = {
        {"318_C063", M::M318_C063, "0", false},
        {"318_C069", M::M318_C069, "0", false},
        {"318_C061", M::M318_C061, "1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write_ParGen({{"Select_Device", "1"}});
        TFParGen w(nullptr);
        w.Lay_Out_As(c.model);
        w.Load_File(File_ParGen);
        w.Move_GroupBoxs();
        EXPECT_EQ(w.CB_EthConn_En_DHCP_WiFi->Enabled(), c.wifi_dhcp_enabled);
        w.Save_File(File_ParGen);
        EXPECT_EQ(Saved_Map(File())["Select_Device"], c.saved);
    }
}

// ---- re-entry ----------------------------------------------------------------------------------

TEST_F(ParGenModelsTest, TheOtherModelsTriggersRunThePassOnlyForTheirControls)
{
    W().Lay_Out_As(M::M544);
    // The version-3 box is a trigger; the version-1 box and the Modbus slave's choices are not.
    Tick(Check(u"CB_SNMP_Agent_Version1"), true);
    EXPECT_EQ(W().CP_SNMP_Agent->Height(), 232);
    Tick(Check(u"CB_SNMP_Agent_Version3"), true);
    EXPECT_EQ(W().CP_SNMP_Agent->Height(), 291);
    Pick(Combo(u"CB_SNMP_Agent_SecurityLevel"), 2);
    EXPECT_EQ(W().CP_SNMP_Agent->Height(), 403);
}

// ---- texts -------------------------------------------------------------------------------------

enum TText_Kind { Caption, Hint, Items };
struct TText_Case {
    const char16_t* control;
    TText_Kind kind;
    std::vector<int> texts;
};

const std::vector<TText_Case>& Other_Panel_Texts()
{
    static const std::vector<TText_Case> cases = {
        {u"L_MBus_OnWire_Present", Caption, {407}},
        {u"CB_MBus_OnWire_Present", Items, {408, 409}},
        {u"CB_MBus_OnWire_Present", Hint, {410}},
        {u"L_MBus_Baud", Caption, {411}},
        {u"CB_MBus_Baud", Hint, {412}},
        {u"L_MBus_Parity", Caption, {413}},
        {u"CB_MBus_Parity", Hint, {414}},
        {u"L_MBus_Cyclic_Delay", Caption, {415}},
        {u"E_MBus_Cyclic_Delay", Hint, {416}},
        {u"L_MBus_NodeState", Caption, {417}},
        {u"E_MBus_NodeState", Hint, {418}},
        {u"CB_MBus_Request_on_MQTT", Hint, {4246}},
        {u"CB_MBus_Request_on_MQTT", Caption, {4245}},
        {u"L_MBus_Extention_TO", Caption, {4271}},
        {u"E_MBus_Ext_TimeOut", Hint, {4272}},
        {u"L_wMBus_Wireless_Present", Caption, {420}},
        {u"CB_wMBus_Wireless_Present", Items, {421, 422}},
        {u"CB_wMBus_Wireless_Present", Hint, {423}},
        {u"L_wMBus_Mode", Caption, {424}},
        {u"CB_wMBus_Mode", Hint, {425}},
        {u"L_wMBus_Radio_Channel", Caption, {426}},
        {u"CB_wMBus_Radio_Channel", Hint, {427}},
        {u"L_WiFi_Type", Caption, {479}},
        {u"CB_WiFi_Type", Items, {481, 482, 483}},
        {u"CB_WiFi_Type", Hint, {480}},
        {u"CB_WiFi_IP_Auto", Hint, {485}},
        {u"CB_WiFi_IP_Auto", Caption, {484}},
        {u"L_WiFi_IP", Caption, {486}},
        {u"E_WiFi_IP1", Hint, {487}},
        {u"E_WiFi_IP2", Hint, {488}},
        {u"E_WiFi_IP3", Hint, {489}},
        {u"E_WiFi_IP4", Hint, {490}},
        {u"L_WiFi_SM", Caption, {491}},
        {u"E_WiFi_SM1", Hint, {492}},
        {u"E_WiFi_SM2", Hint, {493}},
        {u"E_WiFi_SM3", Hint, {494}},
        {u"E_WiFi_SM4", Hint, {495}},
        {u"CB_WiFi_En_Gat", Hint, {497}},
        {u"CB_WiFi_En_Gat", Caption, {496}},
        {u"E_WiFi_GAT1", Hint, {498}},
        {u"E_WiFi_GAT2", Hint, {499}},
        {u"E_WiFi_GAT3", Hint, {500}},
        {u"E_WiFi_GAT4", Hint, {501}},
        {u"CB_WiFi_En_DNS", Hint, {503}},
        {u"CB_WiFi_En_DNS", Caption, {502}},
        {u"E_WiFi_DNS1", Hint, {504}},
        {u"E_WiFi_DNS2", Hint, {505}},
        {u"E_WiFi_DNS3", Hint, {506}},
        {u"E_WiFi_DNS4", Hint, {507}},
        {u"L_WiFi_Port", Caption, {508}},
        {u"E_WiFi_Port", Hint, {509}},
        {u"CB_WiFi_En_WPS", Hint, {511}},
        {u"CB_WiFi_En_WPS", Caption, {510}},
        {u"L_WiFi_SSID", Caption, {512}},
        {u"E_WiFi_SSID", Hint, {513}},
        {u"L_WiFi_Password", Caption, {514}},
        {u"E_WiFi_Password", Hint, {515}},
        {u"L_WiFi_Secure_Type", Caption, {516}},
        {u"CB_WiFi_Secure_Type", Items, {518, 519, 520, 521}},
        {u"CB_WiFi_Secure_Type", Hint, {517}},
        {u"CB_WiFi_En_DHCP", Hint, {523}},
        {u"CB_WiFi_En_DHCP", Caption, {522}},
        {u"L_WiFi_DHCP_First_IP", Caption, {524}},
        {u"E_WiFi_DHCP_First_IP1", Hint, {525}},
        {u"E_WiFi_DHCP_First_IP2", Hint, {526}},
        {u"E_WiFi_DHCP_First_IP3", Hint, {527}},
        {u"E_WiFi_DHCP_First_IP4", Hint, {528}},
        {u"L_WiFi_DHCP_SM", Caption, {529}},
        {u"E_WiFi_DHCP_SM1", Hint, {530}},
        {u"E_WiFi_DHCP_SM2", Hint, {531}},
        {u"E_WiFi_DHCP_SM3", Hint, {532}},
        {u"E_WiFi_DHCP_SM4", Hint, {533}},
        {u"L_WiFi_Lease_Time", Caption, {534}},
        {u"E_WiFi_Lease_Time", Hint, {535}},
        {u"L_WiFi_Name", Caption, {536}},
        {u"E_WiFi_Name", Hint, {537}},
        {u"L_WiFi_Max_Client", Caption, {538}},
        {u"CB_WiFi_Max_Client", Hint, {539}},
        {u"L_WiFi_Channel", Caption, {540}},
        {u"CB_WiFi_Channel", Items, {542, 543, 544, 545, 546, 547, 548, 549, 550, 551, 552, 553}},
        {u"CB_WiFi_Channel", Hint, {541}},
        {u"L_ModbusTCPMaster_IP", Caption, {645}},
        {u"E_ModbusTCPMaster_IP1", Hint, {646}},
        {u"E_ModbusTCPMaster_IP2", Hint, {647}},
        {u"E_ModbusTCPMaster_IP3", Hint, {648}},
        {u"E_ModbusTCPMaster_IP4", Hint, {649}},
        {u"L_ModbusTCPMaster_SM", Caption, {650}},
        {u"E_ModbusTCPMaster_SM1", Hint, {651}},
        {u"E_ModbusTCPMaster_SM2", Hint, {652}},
        {u"E_ModbusTCPMaster_SM3", Hint, {653}},
        {u"E_ModbusTCPMaster_SM4", Hint, {654}},
        {u"CB_ModbusTCPMaster_En_GAT", Hint, {656}},
        {u"CB_ModbusTCPMaster_En_GAT", Caption, {655}},
        {u"E_ModbusTCPMaster_GAT1", Hint, {657}},
        {u"E_ModbusTCPMaster_GAT2", Hint, {658}},
        {u"E_ModbusTCPMaster_GAT3", Hint, {659}},
        {u"E_ModbusTCPMaster_GAT4", Hint, {660}},
        {u"L_ModbusTCPMaster_TimeOut", Caption, {661}},
        {u"E_ModbusTCPMaster_TimeOut", Hint, {662}},
        {u"L_ModbusTCPMaster_CyclicDelay", Caption, {663}},
        {u"E_ModbusTCPMaster_CyclicDelay", Hint, {664}},
        {u"L_ModbusSlave_Serial", Caption, {680}},
        {u"CB_ModbusSlave_Serial", Hint, {681}},
        {u"L_ModbusSlave_Baudrate", Caption, {682}},
        {u"CB_ModbusSlave_Baudrate", Hint, {683}},
        {u"L_ModbusSlave_Parity", Caption, {684}},
        {u"CB_ModbusSlave_Parity", Hint, {685}},
        {u"L_ModbusSlave_StopBits", Caption, {686}},
        {u"CB_ModbusSlave_StopBits", Hint, {687}},
        {u"L_ModbusSlave_IDDevice", Caption, {688}},
        {u"E_ModbusSlave_IDDevice", Hint, {689}},
        {u"CB_ModbusSlave_ReadInput", Hint, {1971}},
        {u"CB_ModbusSlave_ReadInput", Caption, {1970}},
        {u"L_ModbusTCPSlave_IP", Caption, {691}},
        {u"E_ModbusTCPSlave_IP1", Hint, {692}},
        {u"E_ModbusTCPSlave_IP2", Hint, {693}},
        {u"E_ModbusTCPSlave_IP3", Hint, {694}},
        {u"E_ModbusTCPSlave_IP4", Hint, {695}},
        {u"L_ModbusTCPSlave_SM", Caption, {696}},
        {u"E_ModbusTCPSlave_SM1", Hint, {697}},
        {u"E_ModbusTCPSlave_SM2", Hint, {698}},
        {u"E_ModbusTCPSlave_SM3", Hint, {699}},
        {u"E_ModbusTCPSlave_SM4", Hint, {1800}},
        {u"CB_ModbusTCPSlave_En_GAT", Hint, {1802}},
        {u"CB_ModbusTCPSlave_En_GAT", Caption, {1801}},
        {u"E_ModbusTCPSlave_GAT1", Hint, {1803}},
        {u"E_ModbusTCPSlave_GAT2", Hint, {1804}},
        {u"E_ModbusTCPSlave_GAT3", Hint, {1805}},
        {u"E_ModbusTCPSlave_GAT4", Hint, {1806}},
        {u"L_ModbusTCPSlave_Port", Caption, {1807}},
        {u"E_ModbusTCPSlave_Port", Hint, {1808}},
        {u"L_CAN_Baudrate", Caption, {1825}},
        {u"CB_CAN_Baudrate", Hint, {1826}},
        {u"L_CANopen_IDDevice", Caption, {1828}},
        {u"E_CANopen_IDDevice", Hint, {1829}},
        {u"L_CANopen_Baudrate", Caption, {1830}},
        {u"CB_CANopen_Baudrate", Hint, {1831}},
        {u"CB_CANopen_SetOpe", Hint, {1833}},
        {u"CB_CANopen_SetOpe", Caption, {1832}},
        {u"CB_CANopen_NetOpe", Hint, {1835}},
        {u"CB_CANopen_NetOpe", Caption, {1834}},
        {u"E_CANopen_NetOpe_Delay", Hint, {1836}},
        {u"L_CANopen_SDO_Timeout", Caption, {1837}},
        {u"E_CANopen_SDO_Timeout", Hint, {1838}},
        {u"L_J1939_Baudrate", Caption, {1843}},
        {u"CB_J1939_Baudrate", Hint, {1844}},
        {u"L_J1939_TimeOut", Caption, {1845}},
        {u"E_J1939_TimeOut", Hint, {1846}},
        {u"CB_J1939_Enable_Peer_To_Peer", Hint, {1848}},
        {u"CB_J1939_Enable_Peer_To_Peer", Caption, {1847}},
        {u"L_J1939_ID_Device", Caption, {1849}},
        {u"E_J1939_ID_Device", Hint, {1850}},
        {u"L_DeviceNet_Master_IDDevice", Caption, {1854}},
        {u"E_DeviceNet_Master_IDDevice", Hint, {1855}},
        {u"L_DeviceNet_Master_Baudrate", Caption, {1856}},
        {u"CB_DeviceNet_Master_Baudrate", Hint, {1857}},
        {u"L_DeviceNet_Slave_IDDevice", Caption, {1860}},
        {u"E_DeviceNet_Slave_IDDevice", Hint, {1861}},
        {u"L_DeviceNet_Slave_Baudrate", Caption, {1862}},
        {u"CB_DeviceNet_Slave_Baudrate", Hint, {1863}},
        {u"L_DeviceNet_Slave_NumByteIn", Caption, {1864}},
        {u"E_DeviceNet_Slave_NumByteIn", Hint, {1865}},
        {u"L_DeviceNet_Slave_NumByteOut", Caption, {1866}},
        {u"E_DeviceNet_Slave_NumByteOut", Hint, {1867}},
        {u"L_EtherNetIP_IP", Caption, {1872}},
        {u"E_EtherNetIP_IP1", Hint, {1873}},
        {u"E_EtherNetIP_IP2", Hint, {1874}},
        {u"E_EtherNetIP_IP3", Hint, {1875}},
        {u"E_EtherNetIP_IP4", Hint, {1876}},
        {u"L_EtherNetIP_SM", Caption, {1877}},
        {u"E_EtherNetIP_SM1", Hint, {1878}},
        {u"E_EtherNetIP_SM2", Hint, {1879}},
        {u"E_EtherNetIP_SM3", Hint, {1880}},
        {u"E_EtherNetIP_SM4", Hint, {1881}},
        {u"CB_EtherNetIP_GAT", Hint, {1883}},
        {u"CB_EtherNetIP_GAT", Caption, {1882}},
        {u"E_EtherNetIP_GAT1", Hint, {1884}},
        {u"E_EtherNetIP_GAT2", Hint, {1885}},
        {u"E_EtherNetIP_GAT3", Hint, {1886}},
        {u"E_EtherNetIP_GAT4", Hint, {1887}},
        {u"L_EtherNetIP_TunnelPort", Caption, {1888}},
        {u"E_EtherNetIP_TunnelPort", Hint, {1889}},
        {u"L_EtherNetIP_NByte_In", Caption, {1890}},
        {u"E_EtherNetIP_NByte_In", Hint, {1891}},
        {u"L_EtherNetIP_NByte_Out", Caption, {1892}},
        {u"E_EtherNetIP_NByte_Out", Hint, {1893}},
        {u"L_PROFINET_IP", Caption, {1915}},
        {u"E_PROFINET_IP1", Hint, {1916}},
        {u"E_PROFINET_IP2", Hint, {1917}},
        {u"E_PROFINET_IP3", Hint, {1918}},
        {u"E_PROFINET_IP4", Hint, {1919}},
        {u"L_PROFINET_SM", Caption, {1920}},
        {u"E_PROFINET_SM1", Hint, {1921}},
        {u"E_PROFINET_SM2", Hint, {1922}},
        {u"E_PROFINET_SM3", Hint, {1923}},
        {u"E_PROFINET_SM4", Hint, {1924}},
        {u"CB_PROFINET_GAT", Hint, {1926}},
        {u"CB_PROFINET_GAT", Caption, {1925}},
        {u"E_PROFINET_GAT1", Hint, {1927}},
        {u"E_PROFINET_GAT2", Hint, {1928}},
        {u"E_PROFINET_GAT3", Hint, {1929}},
        {u"E_PROFINET_GAT4", Hint, {1930}},
        {u"L_PROFINET_TunnelPort", Caption, {1931}},
        {u"E_PROFINET_TunnelPort", Hint, {1932}},
        {u"L_PROFINET_NameStation", Caption, {1933}},
        {u"E_PROFINET_NameStation", Hint, {1934}},
        {u"L_PROFINET_NByte_In", Caption, {1935}},
        {u"E_PROFINET_NByte_In", Hint, {1936}},
        {u"L_PROFINET_NByte_Out", Caption, {1937}},
        {u"E_PROFINET_NByte_Out", Hint, {1938}},
        {u"CB_PROFINET_Diagnostic", Hint, {1940}},
        {u"CB_PROFINET_Diagnostic", Caption, {1939}},
        {u"E_PROFINET_Diagnostic", Hint, {1941}},
        {u"L_PROFIBUS_IDDevice", Caption, {1959}},
        {u"E_PROFIBUS_IDDevice", Hint, {1960}},
        {u"L_PROFIBUS_Baudrate", Caption, {1961}},
        {u"CB_PROFIBUS_Baudrate", Hint, {1962}},
        {u"L_PROFIBUS_NByte_In", Caption, {1963}},
        {u"E_PROFIBUS_NByte_In", Hint, {1964}},
        {u"L_PROFIBUS_NByte_Out", Caption, {1965}},
        {u"E_PROFIBUS_NByte_Out", Hint, {1966}},
        {u"L_NMEA2000_Baudrate", Caption, {1973}},
        {u"CB_NMEA2000_Baudrate", Hint, {1974}},
        {u"L_NMEA2000_TimeOut", Caption, {1975}},
        {u"E_NMEA2000_TimeOut", Hint, {1976}},
        {u"CB_NMEA2000_Peer_To_Peer", Hint, {1978}},
        {u"CB_NMEA2000_Peer_To_Peer", Caption, {1977}},
        {u"L_DMX_DMX", Caption, {1981}},
        {u"CB_DMX_DMX", Hint, {1982}},
        {u"L_DMX_ChannelNum", Caption, {1983}},
        {u"E_DMX_ChannelNum", Hint, {1984}},
        {u"L_KNX_Type", Caption, {1987}},
        {u"CB_KNX_Type", Hint, {1988}},
        {u"L_KNX_IDDevice", Caption, {1989}},
        {u"E_KNX_IDDevice", Hint, {1990}},
        {u"L_SNMP_Agent_IP", Caption, {1993}},
        {u"E_SNMP_Agent_IP1", Hint, {1994}},
        {u"E_SNMP_Agent_IP2", Hint, {1995}},
        {u"E_SNMP_Agent_IP3", Hint, {1996}},
        {u"E_SNMP_Agent_IP4", Hint, {1997}},
        {u"L_SNMP_Agent_SM", Caption, {1998}},
        {u"E_SNMP_Agent_SM1", Hint, {1999}},
        {u"E_SNMP_Agent_SM2", Hint, {2000}},
        {u"E_SNMP_Agent_SM3", Hint, {2001}},
        {u"E_SNMP_Agent_SM4", Hint, {2002}},
        {u"CB_SNMP_Agent_GAT", Hint, {2004}},
        {u"CB_SNMP_Agent_GAT", Caption, {2003}},
        {u"E_SNMP_Agent_GAT1", Hint, {2005}},
        {u"E_SNMP_Agent_GAT2", Hint, {2006}},
        {u"E_SNMP_Agent_GAT3", Hint, {2007}},
        {u"E_SNMP_Agent_GAT4", Hint, {2008}},
        {u"L_SNMP_Agent_NameStation", Caption, {2009}},
        {u"E_SNMP_Agent_NameStation", Hint, {2010}},
        {u"L_SNMP_Agent_Contact", Caption, {2011}},
        {u"E_SNMP_Agent_Contact", Hint, {2012}},
        {u"L_SNMP_Agent_Location", Caption, {2013}},
        {u"E_SNMP_Agent_Location", Hint, {2014}},
        {u"L_SNMP_Agent_Version", Caption, {2015}},
        {u"CB_SNMP_Agent_Version1", Hint, {2016}},
        {u"CB_SNMP_Agent_Version2", Hint, {2017}},
        {u"CB_SNMP_Agent_Version3", Hint, {2018}},
        {u"L_SNMP_Agent_User", Caption, {2019}},
        {u"E_SNMP_Agent_User", Hint, {2020}},
        {u"L_SNMP_Agent_SecurityLevel", Caption, {2021}},
        {u"CB_SNMP_Agent_SecurityLevel", Hint, {2022}},
        {u"L_SNMP_Agent_Authority", Caption, {2023}},
        {u"E_SNMP_Agent_Authority", Hint, {2024}},
        {u"L_SNMP_Agent_AuthorityMode", Caption, {2025}},
        {u"CB_SNMP_Agent_AuthorityMode", Hint, {2026}},
        {u"L_SNMP_Agent_Privacy", Caption, {2027}},
        {u"E_SNMP_Agent_Privacy", Hint, {2028}},
        {u"L_SNMP_Agent_PrivacyMode", Caption, {2029}},
        {u"CB_SNMP_Agent_PrivacyMode", Hint, {2030}},
        {u"L_SNMP_Manager_IP", Caption, {2044}},
        {u"E_SNMP_Manager_IP1", Hint, {2045}},
        {u"E_SNMP_Manager_IP2", Hint, {2046}},
        {u"E_SNMP_Manager_IP3", Hint, {2047}},
        {u"E_SNMP_Manager_IP4", Hint, {2048}},
        {u"L_SNMP_Manager_SM", Caption, {2049}},
        {u"E_SNMP_Manager_SM1", Hint, {2050}},
        {u"E_SNMP_Manager_SM2", Hint, {2051}},
        {u"E_SNMP_Manager_SM3", Hint, {2052}},
        {u"E_SNMP_Manager_SM4", Hint, {2053}},
        {u"CB_SNMP_Manager_GAT", Hint, {2055}},
        {u"CB_SNMP_Manager_GAT", Caption, {2054}},
        {u"E_SNMP_Manager_GAT1", Hint, {2056}},
        {u"E_SNMP_Manager_GAT2", Hint, {2057}},
        {u"E_SNMP_Manager_GAT3", Hint, {2058}},
        {u"E_SNMP_Manager_GAT4", Hint, {2059}},
        {u"L_SNMP_Manager_NameStation", Caption, {2060}},
        {u"L_BACnet_Slave_Type", Caption, {2074}},
        {u"CB_BACnet_Slave_Type", Hint, {2075}},
        {u"L_BACnet_IP_Slave_IP", Caption, {2076}},
        {u"E_BACnet_IP_Slave_IP1", Hint, {2077}},
        {u"E_BACnet_IP_Slave_IP2", Hint, {2078}},
        {u"E_BACnet_IP_Slave_IP3", Hint, {2079}},
        {u"E_BACnet_IP_Slave_IP4", Hint, {2080}},
        {u"L_BACnet_IP_Slave_SM", Caption, {2081}},
        {u"E_BACnet_IP_Slave_SM1", Hint, {2082}},
        {u"E_BACnet_IP_Slave_SM2", Hint, {2083}},
        {u"E_BACnet_IP_Slave_SM3", Hint, {2084}},
        {u"E_BACnet_IP_Slave_SM4", Hint, {2085}},
        {u"CB_BACnet_IP_Slave_GAT", Hint, {2087}},
        {u"CB_BACnet_IP_Slave_GAT", Caption, {2086}},
        {u"E_BACnet_IP_Slave_GAT1", Hint, {2088}},
        {u"E_BACnet_IP_Slave_GAT2", Hint, {2089}},
        {u"E_BACnet_IP_Slave_GAT3", Hint, {2090}},
        {u"E_BACnet_IP_Slave_GAT4", Hint, {2091}},
        {u"L_BACnet_IP_Slave_Port", Caption, {2092}},
        {u"E_BACnet_IP_Slave_Port", Hint, {2093}},
        {u"L_BACnet_IP_Slave_Device_Name", Caption, {2094}},
        {u"E_BACnet_IP_Slave_Device_Name", Hint, {2095}},
        {u"L_BACnet_IP_Slave_Device_Identifier", Caption, {2096}},
        {u"E_BACnet_IP_Slave_Device_Identifier", Hint, {2097}},
        {u"L_BACnet_MSTP_Slave_Baudrate", Caption, {2098}},
        {u"CB_BACnet_MSTP_Slave_Baudrate", Hint, {2099}},
        {u"L_BACnet_MSTP_Slave_Parity", Caption, {4100}},
        {u"CB_BACnet_MSTP_Slave_Parity", Hint, {4101}},
        {u"L_BACnet_MSTP_Slave_Device_Name", Caption, {4102}},
        {u"E_BACnet_MSTP_Slave_Device_Name", Hint, {4103}},
        {u"L_BACnet_MSTP_Slave_MAC_Address", Caption, {4104}},
        {u"E_BACnet_MSTP_Slave_MAC_Address", Hint, {4105}},
        {u"L_BACnet_MSTP_Slave_Max_Master", Caption, {4106}},
        {u"E_BACnet_MSTP_Slave_Max_Master", Hint, {4107}},
        {u"L_BACnet_MSTP_Slave_Max_Info_Frame", Caption, {4108}},
        {u"E_BACnet_MSTP_Slave_Max_Info_Frame", Hint, {4109}},
        {u"L_BACnet_MSTP_Slave_Device_Instance", Caption, {4110}},
        {u"E_BACnet_MSTP_Slave_Device_Instance", Hint, {4111}},
        {u"L_BACnet_MSTP_Slave_Network", Caption, {4112}},
        {u"E_BACnet_MSTP_Slave_Network", Hint, {4113}},
        {u"CB_BACnet_Slave_Desc_32_Chars", Hint, {4115}},
        {u"CB_BACnet_Slave_Desc_32_Chars", Caption, {4114}},
        {u"L_Serial_Serial", Caption, {4137}},
        {u"CB_Serial_Serial", Hint, {4138}},
        {u"L_Serial_Baudrate", Caption, {4139}},
        {u"CB_Serial_Baudrate", Hint, {4140}},
        {u"L_Serial_Parity", Caption, {4141}},
        {u"Cb_Serial_Parity", Hint, {4142}},
        {u"L_Serial_StopBits", Caption, {4143}},
        {u"CB_Serial_StopBits", Hint, {4144}},
        {u"L_DALI_Console_Port", Caption, {4147}},
        {u"E_DALI_Console_Port", Hint, {4148}},
        {u"CB_DALI_Disable_Scan", Hint, {4217}},
        {u"CB_DALI_Disable_Scan", Caption, {4216}},
        {u"CB_DALI_En_DALI2", Hint, {4219}},
        {u"CB_DALI_En_DALI2", Caption, {4218}},
        {u"L_BACnet_Master_Type", Caption, {4157}},
        {u"CB_BACnet_Master_Type", Hint, {4158}},
        {u"L_BACnet_IP_Master_IP", Caption, {4159}},
        {u"E_BACnet_IP_Master_IP1", Hint, {4160}},
        {u"E_BACnet_IP_Master_IP2", Hint, {4161}},
        {u"E_BACnet_IP_Master_IP3", Hint, {4162}},
        {u"E_BACnet_IP_Master_IP4", Hint, {4163}},
        {u"L_BACnet_IP_Master_SM", Caption, {4164}},
        {u"E_BACnet_IP_Master_SM1", Hint, {4165}},
        {u"E_BACnet_IP_Master_SM2", Hint, {4166}},
        {u"E_BACnet_IP_Master_SM3", Hint, {4167}},
        {u"E_BACnet_IP_Master_SM4", Hint, {4168}},
        {u"CB_BACnet_IP_Master_GAT", Hint, {4170}},
        {u"CB_BACnet_IP_Master_GAT", Caption, {4169}},
        {u"E_BACnet_IP_Master_GAT1", Hint, {4171}},
        {u"E_BACnet_IP_Master_GAT2", Hint, {4172}},
        {u"E_BACnet_IP_Master_GAT3", Hint, {4173}},
        {u"E_BACnet_IP_Master_GAT4", Hint, {4174}},
        {u"L_BACnet_IP_Master_Port", Caption, {4175}},
        {u"E_BACnet_IP_Master_Port", Hint, {4176}},
        {u"L_BACnet_IP_Master_Device_Name", Caption, {4177}},
        {u"E_BACnet_IP_Master_Device_Name", Hint, {4178}},
        {u"L_BACnet_IP_Master_Device_Identifier", Caption, {4179}},
        {u"E_BACnet_IP_Master_Device_Identifier", Hint, {4180}},
        {u"L_BACnet_IP_Master_TimeOut_Polling", Caption, {4181}},
        {u"E_BACnet_IP_Master_TimeOut_Polling", Hint, {4182}},
        {u"L_BACnet_MSTP_Master_Baudrate", Caption, {4183}},
        {u"CB_BACnet_MSTP_Master_Baudrate", Hint, {4184}},
        {u"L_BACnet_MSTP_Master_Parity", Caption, {4185}},
        {u"CB_BACnet_MSTP_Master_Parity", Hint, {4186}},
        {u"L_BACnet_MSTP_Master_Device_Name", Caption, {4187}},
        {u"E_BACnet_MSTP_Master_Device_Name", Hint, {4188}},
        {u"L_BACnet_MSTP_Master_MAC_Address", Caption, {4189}},
        {u"E_BACnet_MSTP_Master_MAC_Address", Hint, {4190}},
        {u"L_BACnet_MSTP_Master_Max_Master", Caption, {4191}},
        {u"E_BACnet_MSTP_Master_Max_Master", Hint, {4192}},
        {u"L_BACnet_MSTP_Master_Max_Info_Frame", Caption, {4193}},
        {u"E_BACnet_MSTP_Master_Max_Info_Frame", Hint, {4194}},
        {u"L_BACnet_MSTP_Master_Device_Instance", Caption, {4195}},
        {u"E_BACnet_MSTP_Master_Device_Instance", Hint, {4196}},
    };
    return cases;
}

TEST_F(ParGenModelsTest, EveryControlOfTheOtherPanelsTakesItsTextsByIndex)
{
    // Every text replaced by one that names its index, so a wrong index shows.
    for (const TText_Case& c : Other_Panel_Texts())
        for (int t : c.texts) Apply_Language_Line(u"STR" + plat::IntToStr(t) + u" = #" + plat::IntToStr(t));
    W().Set_Lang();
    for (const TText_Case& c : Other_Panel_Texts()) {
        SCOPED_TRACE(N(c.control));
        plat::TControl* control = W().Named(c.control);
        switch (c.kind) {
        case Caption:
            EXPECT_EQ(control->Caption(), u"#" + plat::IntToStr(c.texts[0]));
            break;
        case Hint:
            EXPECT_EQ(control->Hint(), u"#" + plat::IntToStr(c.texts[0]));
            break;
        case Items: {
            auto* combo = static_cast<plat::TComboBox*>(control);
            ASSERT_EQ(combo->Items()->Count(), static_cast<int>(c.texts.size()));
            for (size_t i = 0; i < c.texts.size(); ++i)
                EXPECT_EQ(combo->Items()->Strings(static_cast<int>(i)), u"#" + plat::IntToStr(c.texts[i]));
            EXPECT_EQ(combo->ItemIndex(), 0);
            break;
        }
        }
    }
    Load_Default_Language();
}

TEST_F(ParGenModelsTest, ALanguageChangeReTextsTheCanLabelAndTheMBusList)
{
    W().Lay_Out_As(M::M507);
    Pick(Combo(u"CB_MBus_OnWire_Present"), 1);
    Apply_Language_Line(u"STR1825 = Baudios");
    Apply_Language_Line(u"STR408 = Ausente");
    W().Set_Lang();
    EXPECT_EQ(W().Named(u"L_CAN_Baudrate")->Caption(), u"Baudios");
    auto* present = Combo(u"CB_MBus_OnWire_Present");
    EXPECT_EQ(present->Items()->Strings(0), u"Ausente");
    EXPECT_EQ(present->Items()->Strings(1), u"Present");
    EXPECT_EQ(present->ItemIndex(), 0);
    Load_Default_Language();
}

TEST_F(ParGenModelsTest, LongCaptionsWrapBesideTheirFields)
{
    struct Case {
        M model;
        const char16_t* label;
        const char16_t* field;
        const char16_t* below;  // the next row's control, or null for a panel's last row
    };
    const Case cases[] = {
        {M::M507, u"L_MBus_NodeState", u"E_MBus_NodeState", u"CB_MBus_Request_on_MQTT"},
        {M::M526, u"L_CANopen_SDO_Timeout", u"E_CANopen_SDO_Timeout", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(N(c.label));
        W().Lay_Out_As(c.model);
        if (c.model == M::M507) Pick(Combo(u"CB_MBus_OnWire_Present"), 1);
        plat::TControl* label = W().Named(c.label);
        plat::TControl* field = W().Named(c.field);
        ASSERT_TRUE(label->Visible());
        EXPECT_LE(label->Left() + label->Width(), field->Left()) << "the caption ends before its field";
        EXPECT_GT(label->Height(), 20) << "on two lines";
        const int bottom = label->Top() + label->Height();
        if (c.below) EXPECT_LE(bottom, W().Named(c.below)->Top()) << "above the next row";
        else EXPECT_LE(bottom, label->Parent()->ClientHeight()) << "inside its panel";
    }
    // A short caption keeps its one line.
    EXPECT_LT(W().Named(u"L_CANopen_IDDevice")->Height(), 20);
}

// The CANopen start-up check box's caption is longer than its 175 pixels: it wraps into a box
// one row step high, whole, beside its delay edit and above the next row.
TEST_F(ParGenModelsTest, TheCanopenStartUpCheckBoxShowsItsWholeCaption)
{
    W().Lay_Out_As(M::M526);
    auto* check = W().Named_As<plat::TCheckBox>(u"CB_CANopen_NetOpe");
    ASSERT_TRUE(check->Visible());
    EXPECT_TRUE(check->WordWrap());
    EXPECT_EQ(check->Top(), 96);
    EXPECT_LE(check->Left() + check->Width(), W().Named(u"E_CANopen_NetOpe_Delay")->Left());
    EXPECT_LE(check->Top() + check->Height(), W().Named(u"L_CANopen_SDO_Timeout")->Top());
    // The caption, broken at blanks in the room right of the box (17 pixels in), fits the box.
    plat::TBitmap measure(4, 4);
    measure.Canvas()->SetFont(check->Font());
    plat::TRect room{17, 0, check->Width(), 0};
    measure.Canvas()->DrawText(check->Caption(), room, plat::DT_CALCRECT | plat::DT_WORDBREAK);
    EXPECT_LE(room.Right, check->Width());
    EXPECT_GT(room.Height(), 20) << "two lines";
    EXPECT_LE(room.Height(), check->Height());
}

TEST_F(ParGenModelsTest, TheOtherPanelsRowsStandOnTheGrid)
{
    W().Lay_Out_As(M::M526);
    EXPECT_EQ(W().Named(u"L_CANopen_IDDevice")->Left(), 14);
    EXPECT_EQ(W().Named(u"E_CANopen_IDDevice")->Left(), 191);
    EXPECT_EQ(W().Named(u"E_CANopen_IDDevice")->Width(), 238);
    EXPECT_EQ(W().Named(u"E_CANopen_IDDevice")->Top(), 9);
    EXPECT_EQ(W().Named(u"CB_CANopen_NetOpe")->Width(), 175);
    EXPECT_EQ(W().Named(u"CB_CANopen_NetOpe")->Top(), 96);
    EXPECT_EQ(W().Named(u"E_CANopen_NetOpe_Delay")->Top(), 94);
    // Address rows: four 55-wide edits 3 above their label, the dots at the label's top.
    EXPECT_EQ(W().Named(u"E_PROFINET_IP3")->Width(), 55);
    EXPECT_EQ(W().Named(u"E_PROFINET_SM1")->Top(), 37);
    EXPECT_EQ(W().Named(u"E_PROFINET_SM_Dot2")->Top(), 40);
    EXPECT_EQ(W().Named(u"E_PROFINET_GAT1")->Top(), 66);
    for (const char16_t* n : {u"CB_SNMP_Agent_Version1", u"CB_SNMP_Agent_Version2", u"CB_SNMP_Agent_Version3"})
        EXPECT_EQ(W().Named(n)->Top(), 179);
    EXPECT_EQ(W().Named(u"CB_SNMP_Agent_Version2")->Caption(), u"2");
    EXPECT_EQ(W().Named(u"Cb_Serial_Parity")->Top(), 65);
    EXPECT_EQ(W().Named(u"CB_Serial_DataBits")->Top(), 121);
    EXPECT_THROW(W().Named(u"CB_No_Such"), plat::Exception);
}

// Pictures of every model's window with all its panels open, and of the alternative states,
// for a look by eye; written only when TEST_PICTURES names a folder.
TEST_F(ParGenModelsTest, Pictures)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "TEST_PICTURES not set";
    auto grab = [&](TFParGen& w, const std::string& name) {
        for (int i = 0; i < w.CPG->PanelCount(); ++i)
            if (w.CPG->Panels(i)->Visible()) {
                w.CPG->Panels(i)->SetEnabled(true);
                w.CPG->Panels(i)->Expand();
            }
        w.CPG->SetScrollPos(0);
        plat::testing::SaveGrab(&w, U(std::string(dir) + "/pargen-" + name + ".png"));
    };
    for (const TModel_Case& c : Model_Cases()) {
        TFParGen w(nullptr);
        w.Show();
        w.SetClientHeight(2300);
        w.Lay_Out_As(c.model);
        grab(w, std::string("model-") + c.name);
        w.Hide();
    }
    const THeight_Case states[] = {
        {"m-bus-present", M::M507, [](TFParGen& w) {
             Pick(w.Named_As<plat::TComboBox>(u"CB_MBus_OnWire_Present"), 1);
             Pick(w.Named_As<plat::TComboBox>(u"CB_wMBus_Wireless_Present"), 1);
             Pick(w.Named_As<plat::TComboBox>(u"CB_WiFi_Secure_Type"), 2);
             Tick(w.Named_As<plat::TCheckBox>(u"CB_WiFi_En_DHCP"), true);
         }, nullptr, 0},
        {"old-wifi-client", M::M507, [](TFParGen& w) {
             Pick(w.Named_As<plat::TComboBox>(u"CB_WiFi_Type"), 1);
         }, nullptr, 0},
        {"old-wifi-client-auto", M::M507, [](TFParGen& w) {
             Pick(w.Named_As<plat::TComboBox>(u"CB_WiFi_Type"), 1);
             Tick(w.Named_As<plat::TCheckBox>(u"CB_WiFi_IP_Auto"), true);
         }, nullptr, 0},
        {"modbus-slave-async", M::M520, [](TFParGen& w) { Pick(w.CB_WorkMode_WorkMode, 1); }, nullptr, 0},
        {"snmp-agent-v3", M::M544, [](TFParGen& w) {
             Tick(w.Named_As<plat::TCheckBox>(u"CB_SNMP_Agent_Version3"), true);
             Pick(w.Named_As<plat::TComboBox>(u"CB_SNMP_Agent_SecurityLevel"), 2);
             Tick(w.CB_EthConn_En_DHCP_Cable, true);
         }, nullptr, 0},
        {"bacnet-slave-mstp", M::M524, [](TFParGen& w) {
             Pick(w.Named_As<plat::TComboBox>(u"CB_BACnet_Slave_Type"), 1);
         }, nullptr, 0},
        {"bacnet-master-mstp", M::M523, [](TFParGen& w) {
             Pick(w.Named_As<plat::TComboBox>(u"CB_BACnet_Master_Type"), 1);
         }, nullptr, 0},
    };
    for (const THeight_Case& c : states) {
        TFParGen w(nullptr);
        w.Show();
        w.SetClientHeight(2300);
        w.Lay_Out_As(c.model);
        c.set(w);
        grab(w, c.name);
        w.Hide();
    }
}

} // namespace
