// Panel routines and re-layout routines of the converter family, one pair per model: which
// panels a model shows, in which order and under which numbers, which section layouts its
// pass runs and how its Wi-Fi and mobile panels follow the device type. These pairs are the
// model table; the window is laid out as the model the program is built for.
#include "UParGen.h"

#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

// ---- dispatchers ---------------------------------------------------------------------------

void TFParGen::Order_TAB_Panels()
{
    using M = TParGen_Model;
    switch (model_) {
    case M::M501: Order_TAB_Panels_501(); break;
    case M::M507: Order_TAB_Panels_507(); break;
    case M::M512: Order_TAB_Panels_512(); break;
    case M::M518: Order_TAB_Panels_518(); break;
    case M::M520: Order_TAB_Panels_520(); break;
    case M::M521: Order_TAB_Panels_521(); break;
    case M::M522: Order_TAB_Panels_522(); break;
    case M::M523: Order_TAB_Panels_523(); break;
    case M::M524: Order_TAB_Panels_524(); break;
    case M::M525: Order_TAB_Panels_525(); break;
    case M::M526: Order_TAB_Panels_526(); break;
    case M::M527: Order_TAB_Panels_527(); break;
    case M::M528: Order_TAB_Panels_528(); break;
    case M::M529: Order_TAB_Panels_529(); break;
    case M::M530: Order_TAB_Panels_530(); break;
    case M::M531: Order_TAB_Panels_531(); break;
    case M::M532: Order_TAB_Panels_532(); break;
    case M::M533: Order_TAB_Panels_533(); break;
    case M::M535: Order_TAB_Panels_535(); break;
    case M::M539: Order_TAB_Panels_539(); break;
    case M::M541: Order_TAB_Panels_541(); break;
    case M::M543: Order_TAB_Panels_543(); break;
    case M::M544: Order_TAB_Panels_544(); break;
    case M::M318_C061: Order_TAB_Panels_318_C061(); break;
    case M::M318_C063: Order_TAB_Panels_318_C063(); break;
    case M::M318_C069: Order_TAB_Panels_318_C069(); break;
    }
}

void TFParGen::Move_GroupBoxs()
{
    if (relayout_) return;
    relayout_ = true;
    using M = TParGen_Model;
    switch (model_) {
    case M::M501: RePosition_Objects_501(); break;
    case M::M507: RePosition_Objects_507(); break;
    case M::M512: RePosition_Objects_512(); break;
    case M::M518: RePosition_Objects_518(); break;
    case M::M520: RePosition_Objects_520(); break;
    case M::M521: RePosition_Objects_521(); break;
    case M::M522: RePosition_Objects_522(); break;
    case M::M523: RePosition_Objects_523(); break;
    case M::M524: RePosition_Objects_524(); break;
    case M::M525: RePosition_Objects_525(); break;
    case M::M526: RePosition_Objects_526(); break;
    case M::M527: RePosition_Objects_527(); break;
    case M::M528: RePosition_Objects_528(); break;
    case M::M529: RePosition_Objects_529(); break;
    case M::M530: RePosition_Objects_530(); break;
    case M::M531: RePosition_Objects_531(); break;
    case M::M532: RePosition_Objects_532(); break;
    case M::M533: RePosition_Objects_533(); break;
    case M::M535: RePosition_Objects_535(); break;
    case M::M539: RePosition_Objects_539(); break;
    case M::M541: RePosition_Objects_541(); break;
    case M::M543: RePosition_Objects_543(); break;
    case M::M544: RePosition_Objects_544(); break;
    case M::M318_C061: RePosition_Objects_318_C061(); break;
    case M::M318_C063: RePosition_Objects_318_C063(); break;
    case M::M318_C069: RePosition_Objects_318_C069(); break;
    }
    relayout_ = false;
}

void TFParGen::Lay_Out_As(TParGen_Model model)
{
    if (!other_panels_ && model != ParGen_Build_Model)
        throw Exception(u"TFParGen has only the panels of the build's model");
    model_ = model;
    for (int i = 0; i < CPG->PanelCount(); ++i) CPG->Panels(i)->SetVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
}

// ---- panel routines ------------------------------------------------------------------------

void TFParGen::Order_Panels(std::initializer_list<TPanel_Place> order)
{
    for (const TPanel_Place& p : order) p.Panel->SetVisible(true);
    // The group stacks by top, a moved panel going before one already at its place; placing
    // the panels one after the other in the model's order therefore leaves them in that order.
    int top = 0;
    int number = 0;
    for (const TPanel_Place& p : order) {
        p.Panel->SetTop(top);
        top += p.Panel->Height();
        ++number;
        p.Panel->SetCaption(IntToStr(number) + u". " + Lang(p.Text));
        p.Panel->SetTabOrder(number - 1);
    }
}

namespace {

// Caption texts of the panels.
enum : int {
    T_Select_Device = 4247, T_Ethernet_Connection = 4250, T_Working_Mode = 619, T_Modbus_Master = 624,
    T_MQTT = 428, T_Ethernet = 455, T_TLS = 554, T_NTP = 569, T_WiFi = 478, T_GSM_GPRS = 4150,
    T_MBus = 406, T_wMBus = 419, T_Modbus_TCP_Master = 644, T_Modbus_Slave = 679, T_Modbus_TCP_Slave = 690,
    T_CAN = 1824, T_CANopen = 1827, T_J1939 = 1842, T_DeviceNet_Master = 1853, T_DeviceNet_Slave = 1859,
    T_EtherNetIP = 1871, T_PROFINET = 1914, T_PROFIBUS = 1958, T_NMEA2000 = 1972, T_DMX = 1980, T_KNX = 1986,
    T_SNMP_Agent = 1992, T_SNMP_Manager = 2043, T_BACnet_Slave = 2073, T_BACnet_Master = 4156, T_Serial = 4136,
    T_DALI = 4146,
};

} // namespace

// The list of model 512: Select Device, Ethernet Connection, the field panel, MQTT, Ethernet,
// TLS, NTP, Wi-Fi, GSM / GPRS / LTE.
#define AS_512(panel, text)                                                                                   \
    Order_Panels({{CP_Select_Device, T_Select_Device}, {CP_Ethernet_Connection, T_Ethernet_Connection},      \
                  {panel, text}, {CP_MQTT, T_MQTT}, {CP_Ethernet, T_Ethernet}, {CP_TLS, T_TLS}, {CP_NTP, T_NTP}, \
                  {CP_WiFi2, T_WiFi}, {CP_GSM_GPRS, T_GSM_GPRS}})
// The list of model 518: as 512 with Working Mode before the field panel.
#define AS_518(panel, text)                                                                                   \
    Order_Panels({{CP_Select_Device, T_Select_Device}, {CP_Ethernet_Connection, T_Ethernet_Connection},      \
                  {CP_Working_Mode, T_Working_Mode}, {panel, text}, {CP_MQTT, T_MQTT}, {CP_Ethernet, T_Ethernet}, \
                  {CP_TLS, T_TLS}, {CP_NTP, T_NTP}, {CP_WiFi2, T_WiFi}, {CP_GSM_GPRS, T_GSM_GPRS}})
// The 318 variants: Ethernet Connection, the field panel, MQTT, Ethernet, TLS, NTP.
#define AS_318(panel, text)                                                                                   \
    Order_Panels({{CP_Ethernet_Connection, T_Ethernet_Connection}, {panel, text}, {CP_MQTT, T_MQTT},          \
                  {CP_Ethernet, T_Ethernet}, {CP_TLS, T_TLS}, {CP_NTP, T_NTP}})

void TFParGen::Order_TAB_Panels_501()
{
    Order_Panels({{CP_Select_Device, T_Select_Device}, {CP_Ethernet_Connection, T_Ethernet_Connection},
                  {CP_MQTT, T_MQTT}, {CP_Ethernet, T_Ethernet}, {CP_TLS, T_TLS}, {CP_NTP, T_NTP},
                  {CP_WiFi2, T_WiFi}, {CP_GSM_GPRS, T_GSM_GPRS}});
}

void TFParGen::Order_TAB_Panels_507()
{
    Order_Panels({{CP_Select_Device, T_Select_Device}, {CP_Working_Mode, T_Working_Mode}, {CP_MBus, T_MBus},
                  {CP_wMBus, T_wMBus}, {CP_MQTT, T_MQTT}, {CP_Ethernet, T_Ethernet}, {CP_WiFi, T_WiFi},
                  {CP_TLS, T_TLS}, {CP_NTP, T_NTP}, {CP_GSM_GPRS, T_GSM_GPRS}});
}

void TFParGen::Order_TAB_Panels_512() { AS_512(CP_Serial, T_Serial); }
void TFParGen::Order_TAB_Panels_518() { AS_518(CP_Modbus_Master, T_Modbus_Master); }
void TFParGen::Order_TAB_Panels_520() { AS_518(CP_Modbus_Slave, T_Modbus_Slave); }
void TFParGen::Order_TAB_Panels_521() { AS_518(CP_Modbus_TCP_Master, T_Modbus_TCP_Master); }
void TFParGen::Order_TAB_Panels_522() { AS_512(CP_Modbus_TCP_Slave, T_Modbus_TCP_Slave); }
void TFParGen::Order_TAB_Panels_523() { AS_512(CP_BACnet_Master, T_BACnet_Master); }
void TFParGen::Order_TAB_Panels_524() { AS_512(CP_BACnet_Slave, T_BACnet_Slave); }
void TFParGen::Order_TAB_Panels_525() { AS_512(CP_CAN, T_CAN); }
void TFParGen::Order_TAB_Panels_526() { AS_512(CP_CANopen, T_CANopen); }
void TFParGen::Order_TAB_Panels_527() { AS_512(CP_DALI, T_DALI); }
void TFParGen::Order_TAB_Panels_528() { AS_512(CP_DeviceNet_Master, T_DeviceNet_Master); }
void TFParGen::Order_TAB_Panels_529() { AS_512(CP_DeviceNet_Slave, T_DeviceNet_Slave); }
void TFParGen::Order_TAB_Panels_530() { AS_512(CP_DMX, T_DMX); }
void TFParGen::Order_TAB_Panels_531() { AS_512(CP_EtherNetIP, T_EtherNetIP); }
void TFParGen::Order_TAB_Panels_532() { AS_512(CP_J1939, T_J1939); }
void TFParGen::Order_TAB_Panels_533() { AS_512(CP_KNX, T_KNX); }
void TFParGen::Order_TAB_Panels_535() { AS_512(CP_NMEA2000, T_NMEA2000); }
void TFParGen::Order_TAB_Panels_539() { AS_512(CP_PROFIBUS, T_PROFIBUS); }
void TFParGen::Order_TAB_Panels_541() { AS_512(CP_PROFINET, T_PROFINET); }
void TFParGen::Order_TAB_Panels_543() { AS_512(CP_SNMP_Manager, T_SNMP_Manager); }
void TFParGen::Order_TAB_Panels_544() { AS_512(CP_SNMP_Agent, T_SNMP_Agent); }
void TFParGen::Order_TAB_Panels_318_C061()
{
    Order_Panels({{CP_Ethernet_Connection, T_Ethernet_Connection}, {CP_Working_Mode, T_Working_Mode},
                  {CP_Modbus_Master, T_Modbus_Master}, {CP_MQTT, T_MQTT}, {CP_Ethernet, T_Ethernet},
                  {CP_TLS, T_TLS}, {CP_NTP, T_NTP}});
}
void TFParGen::Order_TAB_Panels_318_C063() { AS_318(CP_CAN, T_CAN); }
void TFParGen::Order_TAB_Panels_318_C069() { AS_318(CP_J1939, T_J1939); }

// ---- re-layout routines --------------------------------------------------------------------

void TFParGen::Device_Type_Step()
{
    // A panel is collapsed before it is disabled and enabled before it is expanded, so the
    // user never finds a greyed panel open or an open one that cannot be closed.
    auto off = [](TCategoryPanel* p) {
        p->Collapse();
        p->SetEnabled(false);
    };
    auto on = [](TCategoryPanel* p) {
        p->SetEnabled(true);
        p->Expand();
    };
    switch (CB_Select_Device_Device->ItemIndex()) {
    case 0:
        off(CP_WiFi2);
        off(CP_GSM_GPRS);
        break;
    case 1:
        on(CP_WiFi2);
        off(CP_GSM_GPRS);
        break;
    default:
        off(CP_WiFi2);
        on(CP_GSM_GPRS);
        break;
    }
}

void TFParGen::RePosition_Objects_As_512(void (TFParGen::*field)())
{
    RePosition_Object_Select_Device();
    RePosition_Object_Ethernet_Connection();
    (this->*field)();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
    RePosition_Object_WiFi2();
    RePosition_Object_GSM_GPRS();
    Device_Type_Step();
}

void TFParGen::RePosition_Objects_As_518(void (TFParGen::*field)())
{
    RePosition_Object_Select_Device();
    RePosition_Object_Ethernet_Connection();
    RePosition_Object_WorkMode();
    (this->*field)();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
    RePosition_Object_WiFi2();
    RePosition_Object_GSM_GPRS();
    Device_Type_Step();
}

void TFParGen::RePosition_Objects_As_318(void (TFParGen::*field)())
{
    RePosition_Object_Ethernet_Connection();
    (this->*field)();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
}

void TFParGen::RePosition_Objects_501()
{
    RePosition_Object_Select_Device();
    RePosition_Object_Ethernet_Connection();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
    RePosition_Object_WiFi2();
    RePosition_Object_GSM_GPRS();
    Device_Type_Step();
}

void TFParGen::RePosition_Objects_507()
{
    RePosition_Object_Select_Device();
    RePosition_Object_WorkMode();
    RePosition_Object_MBus();
    RePosition_Object_wMBus();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_WiFi();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
    RePosition_Object_GSM_GPRS();
    // The older Wi-Fi panel is not the step's: it stays enabled and as the user left it.
    Device_Type_Step();
}

void TFParGen::RePosition_Objects_512() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_Serial); }
void TFParGen::RePosition_Objects_518() { RePosition_Objects_As_518(&TFParGen::RePosition_Object_Modbus_Master); }
void TFParGen::RePosition_Objects_520() { RePosition_Objects_As_518(&TFParGen::RePosition_Object_Modbus_Slave); }
void TFParGen::RePosition_Objects_521() { RePosition_Objects_As_518(&TFParGen::RePosition_Object_Modbus_TCP_Master); }
void TFParGen::RePosition_Objects_522() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_Modbus_TCP_Slave); }
void TFParGen::RePosition_Objects_523() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_BACnet_Master); }
void TFParGen::RePosition_Objects_524() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_BACnet_Slave); }
void TFParGen::RePosition_Objects_525() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_CAN); }
void TFParGen::RePosition_Objects_526() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_CANopen); }
void TFParGen::RePosition_Objects_527() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_DALI); }
void TFParGen::RePosition_Objects_528() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_DeviceNet_Master); }
void TFParGen::RePosition_Objects_529() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_DeviceNet_Slave); }
void TFParGen::RePosition_Objects_530() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_DMX); }
void TFParGen::RePosition_Objects_531() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_EtherNetIP); }
void TFParGen::RePosition_Objects_532() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_J1939); }
void TFParGen::RePosition_Objects_533() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_KNX); }
void TFParGen::RePosition_Objects_535() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_NMEA2000); }
void TFParGen::RePosition_Objects_539() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_PROFIBUS); }
void TFParGen::RePosition_Objects_541() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_PROFINET); }
void TFParGen::RePosition_Objects_543() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_SNMP_Manager); }
void TFParGen::RePosition_Objects_544() { RePosition_Objects_As_512(&TFParGen::RePosition_Object_SNMP_Agent); }

void TFParGen::RePosition_Objects_318_C061()
{
    // The device type loaded from the file stays, and with it the Wi-Fi DHCP choice's state.
    RePosition_Object_Ethernet_Connection();
    RePosition_Object_WorkMode();
    RePosition_Object_Modbus_Master();
    RePosition_Object_MQTT();
    RePosition_Object_Ethernet();
    RePosition_Object_TLS();
    RePosition_Object_NTP();
}

void TFParGen::RePosition_Objects_318_C063()
{
    // These converters have the cable only: the device type is set to it (a value that is
    // saved), which also greys the Wi-Fi DHCP choice.
    CB_Select_Device_Device->SetItemIndex(0);
    RePosition_Objects_As_318(&TFParGen::RePosition_Object_CAN);
}

void TFParGen::RePosition_Objects_318_C069()
{
    CB_Select_Device_Device->SetItemIndex(0);
    RePosition_Objects_As_318(&TFParGen::RePosition_Object_J1939);
}
