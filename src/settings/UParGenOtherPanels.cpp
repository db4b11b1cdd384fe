// Rows of the 23 panels that only the family's other models show: the field-side panels and
// the older Wi-Fi panel. They stand on the window's row grid (rows 28 apart from 12, fields
// 3 above their label, gateway-style edits 2 above their check box) and carry their texts;
// none of them is kept in ParGen.xml. Fixed lists are the same in every language.
#include "UParGenFields.h"

namespace {

constexpr int Gateway_Width = 175;

} // namespace

// The leading fields of a row kept by name in the window.
#define PO_LABEL(n) .Control = TParGen_Control::Label, .Name = u"L_" #n
#define PO_EDIT(n) .Control = TParGen_Control::Edit, .Name = u"E_" #n
#define PO_COMBO(n) .Control = TParGen_Control::Combo, .Name = u"CB_" #n
#define PO_CHECK(n) .Control = TParGen_Control::Check, .Name = u"CB_" #n
#define PO_ADDRESS(n) .Control = TParGen_Control::Address, .Name = u"E_" #n

const std::vector<TParGen_Field>& ParGen_Other_Fields()
{
    using P = TFParGen;
    const std::vector<const char16_t*> serial = {u"RS232", u"RS485"};
    const std::vector<const char16_t*> baud = {u"1200", u"2400", u"4800", u"9600", u"19200", u"38400", u"57600", u"115200"};
    const std::vector<const char16_t*> parity = {u"NONE", u"ODD", u"EVEN"};
    const std::vector<const char16_t*> stop = {u"1 Stop Bits", u"2 Stop Bits"};
    const std::vector<const char16_t*> can = {u"10 kbps", u"20 kbps", u"50 kbps", u"125 kbps", u"250 kbps", u"500 kbps", u"800 kbps", u"1000 kbps"};
    const std::vector<const char16_t*> devicenet = {u"125 kbps", u"250 kbps", u"500 kbps"};
    const std::vector<const char16_t*> mstp_baud = {u"9600", u"19200", u"38400", u"57600", u"76800", u"115200"};
    const std::vector<const char16_t*> bacnet_type = {u"BACnet/IP", u"BACnet MS/TP"};
    // An address row's caption, its four bytes, and a gateway-style row (check box and bytes).
    static const std::vector<TParGen_Field> fields = {
        // M-Bus
        {PO_COMBO(MBus_OnWire_Present), .Panel = &P::CP_MBus, .Row = 12, .Caption = 407, .Hint = 410, .Lang_Items_First = 408, .Lang_Items_Last = 409},
        {PO_COMBO(MBus_Baud), .Panel = &P::CP_MBus, .Row = 40, .Caption = 411, .Hint = 412, .Items = {u"300", u"600", u"1200", u"2400", u"4800", u"9600", u"19200", u"38400"}},
        {PO_COMBO(MBus_Parity), .Panel = &P::CP_MBus, .Row = 68, .Caption = 413, .Hint = 414, .Items = {u"NONE", u"EVEN", u"ODD"}},
        {PO_EDIT(MBus_Cyclic_Delay), .Panel = &P::CP_MBus, .Row = 96, .Caption = 415, .Hint = 416},
        {PO_EDIT(MBus_NodeState), .Panel = &P::CP_MBus, .Row = 124, .Caption = 417, .Hint = 418},
        {PO_CHECK(MBus_Request_on_MQTT), .Panel = &P::CP_MBus, .Row = 152, .Caption = 4245, .Hint = 4246},
        {PO_LABEL(MBus_Extention_TO), .Panel = &P::CP_MBus, .Row = 180, .Caption = 4271},
        {PO_EDIT(MBus_Ext_TimeOut), .Panel = &P::CP_MBus, .Row = 180, .Hint = 4272},
        // M-Bus Wireless
        {PO_COMBO(wMBus_Wireless_Present), .Panel = &P::CP_wMBus, .Row = 12, .Caption = 420, .Hint = 423, .Lang_Items_First = 421, .Lang_Items_Last = 422},
        {PO_COMBO(wMBus_Mode), .Panel = &P::CP_wMBus, .Row = 40, .Caption = 424, .Hint = 425, .Items = {u"S", u"T", u"N1", u"N2", u"C"}},
        {PO_COMBO(wMBus_Radio_Channel), .Panel = &P::CP_wMBus, .Row = 68, .Caption = 426, .Hint = 427,
         .Items = {u"1a @ 4800 bps", u"1b @ 4800 bps", u"2a @ 2400 bps", u"2b @ 2400 bps", u"3a @ 4800 bps", u"3b @ 4800 bps", u"0 @ 19200 bps", u"2a @ 4800 bps", u"2b @ 4800 bps"}},
        // Wi-Fi, older panel: design rows; its layout places them for the type chosen.
        {PO_COMBO(WiFi_Type), .Panel = &P::CP_WiFi, .Row = 12, .Caption = 479, .Hint = 480, .Lang_Items_First = 481, .Lang_Items_Last = 483},
        {PO_CHECK(WiFi_IP_Auto), .Panel = &P::CP_WiFi, .Row = 40, .Caption = 484, .Hint = 485},
        {PO_LABEL(WiFi_IP), .Panel = &P::CP_WiFi, .Row = 68, .Caption = 486},
        {PO_ADDRESS(WiFi_IP), .Panel = &P::CP_WiFi, .Row = 68, .Hint = 487},
        {PO_LABEL(WiFi_SM), .Panel = &P::CP_WiFi, .Row = 96, .Caption = 491},
        {PO_ADDRESS(WiFi_SM), .Panel = &P::CP_WiFi, .Row = 96, .Hint = 492},
        {PO_CHECK(WiFi_En_Gat), .Panel = &P::CP_WiFi, .Row = 124, .Caption = 496, .Hint = 497, .Width = Gateway_Width},
        {PO_ADDRESS(WiFi_GAT), .Panel = &P::CP_WiFi, .Row = 125, .Hint = 498, .Edit_Dy = -4},
        {PO_CHECK(WiFi_En_DNS), .Panel = &P::CP_WiFi, .Row = 152, .Caption = 502, .Hint = 503, .Width = Gateway_Width},
        {PO_ADDRESS(WiFi_DNS), .Panel = &P::CP_WiFi, .Row = 153, .Hint = 504, .Edit_Dy = -4},
        {PO_EDIT(WiFi_Port), .Panel = &P::CP_WiFi, .Row = 180, .Caption = 508, .Hint = 509},
        {PO_CHECK(WiFi_En_WPS), .Panel = &P::CP_WiFi, .Row = 208, .Caption = 510, .Hint = 511},
        {PO_EDIT(WiFi_SSID), .Panel = &P::CP_WiFi, .Row = 236, .Caption = 512, .Hint = 513},
        {PO_EDIT(WiFi_Password), .Panel = &P::CP_WiFi, .Row = 264, .Caption = 514, .Hint = 515},
        {PO_COMBO(WiFi_Secure_Type), .Panel = &P::CP_WiFi, .Row = 292, .Caption = 516, .Hint = 517, .Lang_Items_First = 518, .Lang_Items_Last = 521},
        {PO_CHECK(WiFi_En_DHCP), .Panel = &P::CP_WiFi, .Row = 320, .Caption = 522, .Hint = 523},
        {PO_LABEL(WiFi_DHCP_First_IP), .Panel = &P::CP_WiFi, .Row = 348, .Caption = 524},
        {PO_ADDRESS(WiFi_DHCP_First_IP), .Panel = &P::CP_WiFi, .Row = 348, .Hint = 525},
        {PO_LABEL(WiFi_DHCP_SM), .Panel = &P::CP_WiFi, .Row = 376, .Caption = 529},
        {PO_ADDRESS(WiFi_DHCP_SM), .Panel = &P::CP_WiFi, .Row = 376, .Hint = 530},
        {PO_EDIT(WiFi_Lease_Time), .Panel = &P::CP_WiFi, .Row = 404, .Caption = 534, .Hint = 535},
        {PO_EDIT(WiFi_Name), .Panel = &P::CP_WiFi, .Row = 432, .Caption = 536, .Hint = 537},
        {PO_COMBO(WiFi_Max_Client), .Panel = &P::CP_WiFi, .Row = 460, .Caption = 538, .Hint = 539,
         .Items = {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"}},
        {PO_COMBO(WiFi_Channel), .Panel = &P::CP_WiFi, .Row = 488, .Caption = 540, .Hint = 541, .Lang_Items_First = 542, .Lang_Items_Last = 553},
        // Modbus TCP Master
        {PO_LABEL(ModbusTCPMaster_IP), .Panel = &P::CP_Modbus_TCP_Master, .Row = 12, .Caption = 645},
        {PO_ADDRESS(ModbusTCPMaster_IP), .Panel = &P::CP_Modbus_TCP_Master, .Row = 12, .Hint = 646},
        {PO_LABEL(ModbusTCPMaster_SM), .Panel = &P::CP_Modbus_TCP_Master, .Row = 40, .Caption = 650},
        {PO_ADDRESS(ModbusTCPMaster_SM), .Panel = &P::CP_Modbus_TCP_Master, .Row = 40, .Hint = 651},
        {PO_CHECK(ModbusTCPMaster_En_GAT), .Panel = &P::CP_Modbus_TCP_Master, .Row = 68, .Caption = 655, .Hint = 656, .Width = Gateway_Width},
        {PO_ADDRESS(ModbusTCPMaster_GAT), .Panel = &P::CP_Modbus_TCP_Master, .Row = 68, .Hint = 657, .Edit_Dy = -2},
        {PO_EDIT(ModbusTCPMaster_TimeOut), .Panel = &P::CP_Modbus_TCP_Master, .Row = 96, .Caption = 661, .Hint = 662},
        {PO_EDIT(ModbusTCPMaster_CyclicDelay), .Panel = &P::CP_Modbus_TCP_Master, .Row = 124, .Caption = 663, .Hint = 664},
        // Modbus Slave
        {PO_COMBO(ModbusSlave_Serial), .Panel = &P::CP_Modbus_Slave, .Row = 12, .Caption = 680, .Hint = 681, .Items = serial},
        {PO_COMBO(ModbusSlave_Baudrate), .Panel = &P::CP_Modbus_Slave, .Row = 40, .Caption = 682, .Hint = 683, .Items = baud},
        {PO_COMBO(ModbusSlave_Parity), .Panel = &P::CP_Modbus_Slave, .Row = 68, .Caption = 684, .Hint = 685, .Items = parity},
        {PO_COMBO(ModbusSlave_StopBits), .Panel = &P::CP_Modbus_Slave, .Row = 96, .Caption = 686, .Hint = 687, .Items = stop},
        {PO_EDIT(ModbusSlave_IDDevice), .Panel = &P::CP_Modbus_Slave, .Row = 124, .Caption = 688, .Hint = 689},
        {PO_CHECK(ModbusSlave_ReadInput), .Panel = &P::CP_Modbus_Slave, .Row = 152, .Caption = 1970, .Hint = 1971},
        // Modbus TCP Slave: the mask hints run on past 699 at 1800.
        {PO_LABEL(ModbusTCPSlave_IP), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 12, .Caption = 691},
        {PO_ADDRESS(ModbusTCPSlave_IP), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 12, .Hint = 692},
        {PO_LABEL(ModbusTCPSlave_SM), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 40, .Caption = 696},
        {PO_ADDRESS(ModbusTCPSlave_SM), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 40, .Hint = 697, .Byte_Hints = {697, 698, 699, 1800}},
        {PO_CHECK(ModbusTCPSlave_En_GAT), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 68, .Caption = 1801, .Hint = 1802, .Width = Gateway_Width},
        {PO_ADDRESS(ModbusTCPSlave_GAT), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 68, .Hint = 1803, .Edit_Dy = -2},
        {PO_EDIT(ModbusTCPSlave_Port), .Panel = &P::CP_Modbus_TCP_Slave, .Row = 96, .Caption = 1807, .Hint = 1808},
        // CAN
        {PO_COMBO(CAN_Baudrate), .Panel = &P::CP_CAN, .Row = 12, .Caption = 1825, .Hint = 1826, .Items = can},
        // CANopen
        {PO_EDIT(CANopen_IDDevice), .Panel = &P::CP_CANopen, .Row = 12, .Caption = 1828, .Hint = 1829},
        {PO_COMBO(CANopen_Baudrate), .Panel = &P::CP_CANopen, .Row = 40, .Caption = 1830, .Hint = 1831, .Items = can},
        {PO_CHECK(CANopen_SetOpe), .Panel = &P::CP_CANopen, .Row = 68, .Caption = 1832, .Hint = 1833},
        {PO_CHECK(CANopen_NetOpe), .Panel = &P::CP_CANopen, .Row = 96, .Caption = 1834, .Hint = 1835, .Width = Gateway_Width},
        {PO_EDIT(CANopen_NetOpe_Delay), .Panel = &P::CP_CANopen, .Row = 96, .Hint = 1836, .Edit_Dy = -2},
        {PO_EDIT(CANopen_SDO_Timeout), .Panel = &P::CP_CANopen, .Row = 124, .Caption = 1837, .Hint = 1838},
        // J1939
        {PO_COMBO(J1939_Baudrate), .Panel = &P::CP_J1939, .Row = 12, .Caption = 1843, .Hint = 1844, .Items = {u"250 kbps", u"500 kbps"}},
        {PO_EDIT(J1939_TimeOut), .Panel = &P::CP_J1939, .Row = 40, .Caption = 1845, .Hint = 1846},
        {PO_CHECK(J1939_Enable_Peer_To_Peer), .Panel = &P::CP_J1939, .Row = 68, .Caption = 1847, .Hint = 1848},
        {PO_EDIT(J1939_ID_Device), .Panel = &P::CP_J1939, .Row = 96, .Caption = 1849, .Hint = 1850},
        // DeviceNet Master
        {PO_EDIT(DeviceNet_Master_IDDevice), .Panel = &P::CP_DeviceNet_Master, .Row = 12, .Caption = 1854, .Hint = 1855},
        {PO_COMBO(DeviceNet_Master_Baudrate), .Panel = &P::CP_DeviceNet_Master, .Row = 40, .Caption = 1856, .Hint = 1857, .Items = devicenet},
        // DeviceNet Slave
        {PO_EDIT(DeviceNet_Slave_IDDevice), .Panel = &P::CP_DeviceNet_Slave, .Row = 12, .Caption = 1860, .Hint = 1861},
        {PO_COMBO(DeviceNet_Slave_Baudrate), .Panel = &P::CP_DeviceNet_Slave, .Row = 40, .Caption = 1862, .Hint = 1863, .Items = devicenet},
        {PO_EDIT(DeviceNet_Slave_NumByteIn), .Panel = &P::CP_DeviceNet_Slave, .Row = 68, .Caption = 1864, .Hint = 1865},
        {PO_EDIT(DeviceNet_Slave_NumByteOut), .Panel = &P::CP_DeviceNet_Slave, .Row = 96, .Caption = 1866, .Hint = 1867},
        // EtherNet/IP
        {PO_LABEL(EtherNetIP_IP), .Panel = &P::CP_EtherNetIP, .Row = 12, .Caption = 1872},
        {PO_ADDRESS(EtherNetIP_IP), .Panel = &P::CP_EtherNetIP, .Row = 12, .Hint = 1873},
        {PO_LABEL(EtherNetIP_SM), .Panel = &P::CP_EtherNetIP, .Row = 40, .Caption = 1877},
        {PO_ADDRESS(EtherNetIP_SM), .Panel = &P::CP_EtherNetIP, .Row = 40, .Hint = 1878},
        {PO_CHECK(EtherNetIP_GAT), .Panel = &P::CP_EtherNetIP, .Row = 68, .Caption = 1882, .Hint = 1883, .Width = Gateway_Width},
        {PO_ADDRESS(EtherNetIP_GAT), .Panel = &P::CP_EtherNetIP, .Row = 68, .Hint = 1884, .Edit_Dy = -2},
        {PO_EDIT(EtherNetIP_TunnelPort), .Panel = &P::CP_EtherNetIP, .Row = 96, .Caption = 1888, .Hint = 1889},
        {PO_EDIT(EtherNetIP_NByte_In), .Panel = &P::CP_EtherNetIP, .Row = 124, .Caption = 1890, .Hint = 1891},
        {PO_EDIT(EtherNetIP_NByte_Out), .Panel = &P::CP_EtherNetIP, .Row = 152, .Caption = 1892, .Hint = 1893},
        // PROFINET
        {PO_LABEL(PROFINET_IP), .Panel = &P::CP_PROFINET, .Row = 12, .Caption = 1915},
        {PO_ADDRESS(PROFINET_IP), .Panel = &P::CP_PROFINET, .Row = 12, .Hint = 1916},
        {PO_LABEL(PROFINET_SM), .Panel = &P::CP_PROFINET, .Row = 40, .Caption = 1920},
        {PO_ADDRESS(PROFINET_SM), .Panel = &P::CP_PROFINET, .Row = 40, .Hint = 1921},
        {PO_CHECK(PROFINET_GAT), .Panel = &P::CP_PROFINET, .Row = 68, .Caption = 1925, .Hint = 1926, .Width = Gateway_Width},
        {PO_ADDRESS(PROFINET_GAT), .Panel = &P::CP_PROFINET, .Row = 68, .Hint = 1927, .Edit_Dy = -2},
        {PO_EDIT(PROFINET_TunnelPort), .Panel = &P::CP_PROFINET, .Row = 96, .Caption = 1931, .Hint = 1932},
        {PO_EDIT(PROFINET_NameStation), .Panel = &P::CP_PROFINET, .Row = 124, .Caption = 1933, .Hint = 1934},
        {PO_EDIT(PROFINET_NByte_In), .Panel = &P::CP_PROFINET, .Row = 152, .Caption = 1935, .Hint = 1936},
        {PO_EDIT(PROFINET_NByte_Out), .Panel = &P::CP_PROFINET, .Row = 180, .Caption = 1937, .Hint = 1938},
        {PO_CHECK(PROFINET_Diagnostic), .Panel = &P::CP_PROFINET, .Row = 208, .Caption = 1939, .Hint = 1940, .Width = Gateway_Width},
        {PO_EDIT(PROFINET_Diagnostic), .Panel = &P::CP_PROFINET, .Row = 208, .Hint = 1941, .Edit_Dy = -2},
        // PROFIBUS
        {PO_EDIT(PROFIBUS_IDDevice), .Panel = &P::CP_PROFIBUS, .Row = 12, .Caption = 1959, .Hint = 1960},
        {PO_COMBO(PROFIBUS_Baudrate), .Panel = &P::CP_PROFIBUS, .Row = 40, .Caption = 1961, .Hint = 1962,
         .Items = {u"9.6 kbps", u"19.2 kbps", u"45.45 kbps", u"93.75 kbps", u"187.5 kbps", u"500 kbps", u"1.5 Mbps", u"3 Mbps", u"6 Mbps", u"12 Mbps"}},
        {PO_EDIT(PROFIBUS_NByte_In), .Panel = &P::CP_PROFIBUS, .Row = 68, .Caption = 1963, .Hint = 1964},
        {PO_EDIT(PROFIBUS_NByte_Out), .Panel = &P::CP_PROFIBUS, .Row = 96, .Caption = 1965, .Hint = 1966},
        // NMEA 2000
        {PO_COMBO(NMEA2000_Baudrate), .Panel = &P::CP_NMEA2000, .Row = 12, .Caption = 1973, .Hint = 1974, .Items = {u"250 kbps"}},
        {PO_EDIT(NMEA2000_TimeOut), .Panel = &P::CP_NMEA2000, .Row = 40, .Caption = 1975, .Hint = 1976},
        {PO_CHECK(NMEA2000_Peer_To_Peer), .Panel = &P::CP_NMEA2000, .Row = 68, .Caption = 1977, .Hint = 1978},
        // DMX
        {PO_COMBO(DMX_DMX), .Panel = &P::CP_DMX, .Row = 12, .Caption = 1981, .Hint = 1982, .Items = {u"Master", u"Slave"}},
        {PO_EDIT(DMX_ChannelNum), .Panel = &P::CP_DMX, .Row = 40, .Caption = 1983, .Hint = 1984},
        // KNX
        {PO_COMBO(KNX_Type), .Panel = &P::CP_KNX, .Row = 12, .Caption = 1987, .Hint = 1988, .Items = {u"KNX TP", u"KNX IP"}},
        {PO_EDIT(KNX_IDDevice), .Panel = &P::CP_KNX, .Row = 40, .Caption = 1989, .Hint = 1990},
        // SNMP Agent: the three version boxes stand one above the row, as a check box does.
        {PO_LABEL(SNMP_Agent_IP), .Panel = &P::CP_SNMP_Agent, .Row = 12, .Caption = 1993},
        {PO_ADDRESS(SNMP_Agent_IP), .Panel = &P::CP_SNMP_Agent, .Row = 12, .Hint = 1994},
        {PO_LABEL(SNMP_Agent_SM), .Panel = &P::CP_SNMP_Agent, .Row = 40, .Caption = 1998},
        {PO_ADDRESS(SNMP_Agent_SM), .Panel = &P::CP_SNMP_Agent, .Row = 40, .Hint = 1999},
        {PO_CHECK(SNMP_Agent_GAT), .Panel = &P::CP_SNMP_Agent, .Row = 68, .Caption = 2003, .Hint = 2004, .Width = Gateway_Width},
        {PO_ADDRESS(SNMP_Agent_GAT), .Panel = &P::CP_SNMP_Agent, .Row = 68, .Hint = 2005, .Edit_Dy = -2},
        {PO_EDIT(SNMP_Agent_NameStation), .Panel = &P::CP_SNMP_Agent, .Row = 96, .Caption = 2009, .Hint = 2010},
        {PO_EDIT(SNMP_Agent_Contact), .Panel = &P::CP_SNMP_Agent, .Row = 124, .Caption = 2011, .Hint = 2012},
        {PO_EDIT(SNMP_Agent_Location), .Panel = &P::CP_SNMP_Agent, .Row = 152, .Caption = 2013, .Hint = 2014},
        {PO_LABEL(SNMP_Agent_Version), .Panel = &P::CP_SNMP_Agent, .Row = 180, .Caption = 2015},
        {PO_CHECK(SNMP_Agent_Version1), .Panel = &P::CP_SNMP_Agent, .Row = 179, .Hint = 2016, .Width = 50, .Left = 191, .Text = u"1"},
        {PO_CHECK(SNMP_Agent_Version2), .Panel = &P::CP_SNMP_Agent, .Row = 179, .Hint = 2017, .Width = 50, .Left = 252, .Text = u"2"},
        {PO_CHECK(SNMP_Agent_Version3), .Panel = &P::CP_SNMP_Agent, .Row = 179, .Hint = 2018, .Width = 50, .Left = 313, .Text = u"3"},
        {PO_EDIT(SNMP_Agent_User), .Panel = &P::CP_SNMP_Agent, .Row = 208, .Caption = 2019, .Hint = 2020},
        {PO_COMBO(SNMP_Agent_SecurityLevel), .Panel = &P::CP_SNMP_Agent, .Row = 236, .Caption = 2021, .Hint = 2022,
         .Items = {u"NoAuthority NoPrivacy", u"Authority NoPrivacy", u"Authority Privacy"}},
        {PO_EDIT(SNMP_Agent_Authority), .Panel = &P::CP_SNMP_Agent, .Row = 264, .Caption = 2023, .Hint = 2024},
        {PO_COMBO(SNMP_Agent_AuthorityMode), .Panel = &P::CP_SNMP_Agent, .Row = 292, .Caption = 2025, .Hint = 2026, .Items = {u"MD5", u"SHA"}},
        {PO_EDIT(SNMP_Agent_Privacy), .Panel = &P::CP_SNMP_Agent, .Row = 320, .Caption = 2027, .Hint = 2028},
        {PO_COMBO(SNMP_Agent_PrivacyMode), .Panel = &P::CP_SNMP_Agent, .Row = 348, .Caption = 2029, .Hint = 2030, .Items = {u"DES", u"AES"}},
        // SNMP Manager
        {PO_LABEL(SNMP_Manager_IP), .Panel = &P::CP_SNMP_Manager, .Row = 12, .Caption = 2044},
        {PO_ADDRESS(SNMP_Manager_IP), .Panel = &P::CP_SNMP_Manager, .Row = 12, .Hint = 2045},
        {PO_LABEL(SNMP_Manager_SM), .Panel = &P::CP_SNMP_Manager, .Row = 40, .Caption = 2049},
        {PO_ADDRESS(SNMP_Manager_SM), .Panel = &P::CP_SNMP_Manager, .Row = 40, .Hint = 2050},
        {PO_CHECK(SNMP_Manager_GAT), .Panel = &P::CP_SNMP_Manager, .Row = 68, .Caption = 2054, .Hint = 2055, .Width = Gateway_Width},
        {PO_ADDRESS(SNMP_Manager_GAT), .Panel = &P::CP_SNMP_Manager, .Row = 68, .Hint = 2056, .Edit_Dy = -2},
        {PO_EDIT(SNMP_Manager_NameStation), .Panel = &P::CP_SNMP_Manager, .Row = 96, .Caption = 2060},
        // BACnet Slave: the IP rows at their design places, the MS/TP rows where their layout
        // stacks them (both kinds never show together).
        {PO_COMBO(BACnet_Slave_Type), .Panel = &P::CP_BACnet_Slave, .Row = 12, .Caption = 2074, .Hint = 2075, .Items = bacnet_type},
        {PO_LABEL(BACnet_IP_Slave_IP), .Panel = &P::CP_BACnet_Slave, .Row = 40, .Caption = 2076},
        {PO_ADDRESS(BACnet_IP_Slave_IP), .Panel = &P::CP_BACnet_Slave, .Row = 40, .Hint = 2077},
        {PO_LABEL(BACnet_IP_Slave_SM), .Panel = &P::CP_BACnet_Slave, .Row = 68, .Caption = 2081},
        {PO_ADDRESS(BACnet_IP_Slave_SM), .Panel = &P::CP_BACnet_Slave, .Row = 68, .Hint = 2082},
        {PO_CHECK(BACnet_IP_Slave_GAT), .Panel = &P::CP_BACnet_Slave, .Row = 96, .Caption = 2086, .Hint = 2087, .Width = Gateway_Width},
        {PO_ADDRESS(BACnet_IP_Slave_GAT), .Panel = &P::CP_BACnet_Slave, .Row = 96, .Hint = 2088, .Edit_Dy = -2},
        {PO_EDIT(BACnet_IP_Slave_Port), .Panel = &P::CP_BACnet_Slave, .Row = 124, .Caption = 2092, .Hint = 2093},
        {PO_EDIT(BACnet_IP_Slave_Device_Name), .Panel = &P::CP_BACnet_Slave, .Row = 152, .Caption = 2094, .Hint = 2095},
        {PO_EDIT(BACnet_IP_Slave_Device_Identifier), .Panel = &P::CP_BACnet_Slave, .Row = 180, .Caption = 2096, .Hint = 2097},
        {PO_COMBO(BACnet_MSTP_Slave_Baudrate), .Panel = &P::CP_BACnet_Slave, .Row = 40, .Caption = 2098, .Hint = 2099, .Items = mstp_baud},
        {PO_COMBO(BACnet_MSTP_Slave_Parity), .Panel = &P::CP_BACnet_Slave, .Row = 68, .Caption = 4100, .Hint = 4101, .Items = parity},
        {PO_EDIT(BACnet_MSTP_Slave_Device_Name), .Panel = &P::CP_BACnet_Slave, .Row = 96, .Caption = 4102, .Hint = 4103},
        {PO_EDIT(BACnet_MSTP_Slave_MAC_Address), .Panel = &P::CP_BACnet_Slave, .Row = 124, .Caption = 4104, .Hint = 4105},
        {PO_EDIT(BACnet_MSTP_Slave_Max_Master), .Panel = &P::CP_BACnet_Slave, .Row = 152, .Caption = 4106, .Hint = 4107},
        {PO_EDIT(BACnet_MSTP_Slave_Max_Info_Frame), .Panel = &P::CP_BACnet_Slave, .Row = 180, .Caption = 4108, .Hint = 4109},
        {PO_EDIT(BACnet_MSTP_Slave_Device_Instance), .Panel = &P::CP_BACnet_Slave, .Row = 208, .Caption = 4110, .Hint = 4111},
        {PO_EDIT(BACnet_MSTP_Slave_Network), .Panel = &P::CP_BACnet_Slave, .Row = 236, .Caption = 4112, .Hint = 4113},
        {PO_CHECK(BACnet_Slave_Desc_32_Chars), .Panel = &P::CP_BACnet_Slave, .Row = 208, .Caption = 4114, .Hint = 4115},
        // Serial; the data-bits list carries no text of its own.
        {PO_COMBO(Serial_Serial), .Panel = &P::CP_Serial, .Row = 12, .Caption = 4137, .Hint = 4138, .Items = serial},
        {PO_COMBO(Serial_Baudrate), .Panel = &P::CP_Serial, .Row = 40, .Caption = 4139, .Hint = 4140, .Items = baud},
        {.Control = TParGen_Control::Combo, .Name = u"Cb_Serial_Parity", .Panel = &P::CP_Serial, .Row = 68, .Caption = 4141, .Hint = 4142, .Items = parity},
        {PO_COMBO(Serial_StopBits), .Panel = &P::CP_Serial, .Row = 96, .Caption = 4143, .Hint = 4144, .Items = stop},
        {PO_COMBO(Serial_DataBits), .Panel = &P::CP_Serial, .Row = 124, .Items = {u"7", u"8"}},
        // DALI
        {PO_EDIT(DALI_Console_Port), .Panel = &P::CP_DALI, .Row = 12, .Caption = 4147, .Hint = 4148},
        {PO_CHECK(DALI_Disable_Scan), .Panel = &P::CP_DALI, .Row = 40, .Caption = 4216, .Hint = 4217},
        {PO_CHECK(DALI_En_DALI2), .Panel = &P::CP_DALI, .Row = 68, .Caption = 4218, .Hint = 4219},
        // BACnet Master
        {PO_COMBO(BACnet_Master_Type), .Panel = &P::CP_BACnet_Master, .Row = 12, .Caption = 4157, .Hint = 4158, .Items = bacnet_type},
        {PO_LABEL(BACnet_IP_Master_IP), .Panel = &P::CP_BACnet_Master, .Row = 40, .Caption = 4159},
        {PO_ADDRESS(BACnet_IP_Master_IP), .Panel = &P::CP_BACnet_Master, .Row = 40, .Hint = 4160},
        {PO_LABEL(BACnet_IP_Master_SM), .Panel = &P::CP_BACnet_Master, .Row = 68, .Caption = 4164},
        {PO_ADDRESS(BACnet_IP_Master_SM), .Panel = &P::CP_BACnet_Master, .Row = 68, .Hint = 4165},
        {PO_CHECK(BACnet_IP_Master_GAT), .Panel = &P::CP_BACnet_Master, .Row = 96, .Caption = 4169, .Hint = 4170, .Width = Gateway_Width},
        {PO_ADDRESS(BACnet_IP_Master_GAT), .Panel = &P::CP_BACnet_Master, .Row = 96, .Hint = 4171, .Edit_Dy = -2},
        {PO_EDIT(BACnet_IP_Master_Port), .Panel = &P::CP_BACnet_Master, .Row = 124, .Caption = 4175, .Hint = 4176},
        {PO_EDIT(BACnet_IP_Master_Device_Name), .Panel = &P::CP_BACnet_Master, .Row = 152, .Caption = 4177, .Hint = 4178},
        {PO_EDIT(BACnet_IP_Master_Device_Identifier), .Panel = &P::CP_BACnet_Master, .Row = 180, .Caption = 4179, .Hint = 4180},
        {PO_EDIT(BACnet_IP_Master_TimeOut_Polling), .Panel = &P::CP_BACnet_Master, .Row = 208, .Caption = 4181, .Hint = 4182},
        {PO_COMBO(BACnet_MSTP_Master_Baudrate), .Panel = &P::CP_BACnet_Master, .Row = 40, .Caption = 4183, .Hint = 4184, .Items = mstp_baud},
        {PO_COMBO(BACnet_MSTP_Master_Parity), .Panel = &P::CP_BACnet_Master, .Row = 68, .Caption = 4185, .Hint = 4186, .Items = parity},
        {PO_EDIT(BACnet_MSTP_Master_Device_Name), .Panel = &P::CP_BACnet_Master, .Row = 96, .Caption = 4187, .Hint = 4188},
        {PO_EDIT(BACnet_MSTP_Master_MAC_Address), .Panel = &P::CP_BACnet_Master, .Row = 124, .Caption = 4189, .Hint = 4190},
        {PO_EDIT(BACnet_MSTP_Master_Max_Master), .Panel = &P::CP_BACnet_Master, .Row = 152, .Caption = 4191, .Hint = 4192},
        {PO_EDIT(BACnet_MSTP_Master_Max_Info_Frame), .Panel = &P::CP_BACnet_Master, .Row = 180, .Caption = 4193, .Hint = 4194},
        {PO_EDIT(BACnet_MSTP_Master_Device_Instance), .Panel = &P::CP_BACnet_Master, .Row = 208, .Caption = 4195, .Hint = 4196},
    };
    return fields;
}
