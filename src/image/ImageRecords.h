#pragma once
// The records the configuration image is built from. They are plain values: the image
// bytes come from the Serialize/Write routines, never from the memory layout of these
// structs. Offsets in the comments are those of the written bytes.
#include <array>
#include <cstdint>
#include <vector>

#include "plat/String.h"

namespace image {

using TIPv4 = std::array<std::uint8_t, 4>; // first octet first (192.168.0.10 = C0 A8 00 0A)

// bank1.bin: 2048 bytes; reserved bytes are zero.
struct TGeneral_Parameters {
    std::uint32_t Fixed_Rate_A = 0;     // 000
    std::uint32_t Fixed_Rate_B = 0;     // 004
    std::uint32_t Fixed_Baud = 0;       // 00C
    std::uint32_t Modbus_TimeOut = 0;   // 020, ms
    std::uint32_t Modbus_Cycle = 0;     // 024, ms
    TIPv4 Eth_IP{};                     // 028
    TIPv4 Eth_Mask{};                   // 02C
    TIPv4 Eth_Gateway{};                // 030
    std::uint16_t Fixed_Port_A = 0;     // 034
    std::uint16_t Fixed_Port_B = 0;     // 036
    std::uint16_t Fixed_Port_C = 0;     // 038
    std::uint32_t Modbus_Entries = 0;   // 048
    std::uint8_t Serial_RS232 = 0;      // 061
    std::uint32_t Modbus_Table_Add = 0; // 0C4
    std::array<std::uint32_t, 6> Serial_Baud{};     // 190
    std::array<std::uint8_t, 6> Serial_Parity{};    // 1A8
    std::array<std::uint8_t, 6> Serial_Stop_Bits{}; // 1AE
    std::array<std::uint8_t, 8> Serial_Data_Bits{}; // 1B4
    std::array<std::uint8_t, 512> Mobile_Config{};  // 214
    std::array<std::uint8_t, 32> WiFi_SSID_Field{}; // 47C
    std::array<std::uint8_t, 64> WiFi_PWD_Field{};  // 49C
    std::uint16_t DHCP_Flags = 0;       // 4E8, bit 0 cable, bit 1 Wi-Fi
    std::uint8_t WiFi_DHCP_Server = 0;  // 4EA
    std::uint8_t WiFi_Security = 0;     // 4EB
    std::uint32_t WiFi_DHCP_First = 0;  // 4EC
    std::uint32_t WiFi_DHCP_Mask = 0;   // 4F0
    std::uint32_t WiFi_Lease = 0;       // 4F4, s
    std::uint8_t WiFi_Clients = 0;      // 4F8
    std::uint8_t WiFi_Mode = 0;         // 4F9, 0 access point, 1 station
    std::uint8_t WiFi_Chan = 0;         // 4FA
    std::uint8_t WiFi_Auto_Chan = 0;    // 4FB
    TIPv4 WiFi_IP_Field{};              // 4FC
    TIPv4 WiFi_Mask_Field{};            // 500
    TIPv4 WiFi_Gateway_Field{};         // 504
    TIPv4 WiFi2_IP_Field{};             // 508
    TIPv4 WiFi2_Mask_Field{};           // 50C
    TIPv4 WiFi2_Gateway_Field{};        // 510
    std::array<std::uint8_t, 32> Device_Name{};     // 514
    TIPv4 DNS_Secondary{};              // 53C
    TIPv4 DNS_Primary{};                // 58C
    std::uint32_t MQTT_Config_Add = 0;  // 590
    std::uint32_t Checksum = 0;         // 7FC
};
constexpr std::uint32_t General_Parameters_Size = 2048;
constexpr std::uint32_t Checksum_Offset = 0x7FC;

// One rule of the Modbus table, 32 bytes.
struct TModbus_Entry {
    std::uint16_t Position = 0;      // 0
    std::uint16_t Bit = 0;           // 2
    std::uint32_t Poll_Time = 0;     // 4
    std::uint8_t Slave_ID = 0;       // 8
    std::uint8_t Function_Code = 0;  // 9
    std::uint16_t Address = 0;       // 10
    std::uint16_t NPoint = 0;        // 12
    std::uint16_t Index_Topic = 0;   // 20
    std::uint32_t Max_Error = 0;     // 24
    std::uint8_t Conv_Flags = 0;     // 28: 2 conversion, 1 little-endian, 4 signed
    std::uint8_t Operation = 0;      // 29
    std::uint8_t Byte_Count = 0;     // 30
    std::uint8_t Rule_Flags = 0;     // 31: 1 on change, 4 swap bytes, 8 swap words, 16 on command
};
constexpr std::uint32_t Modbus_Table_Entries = 1024;
constexpr std::uint32_t Modbus_Entry_Size = 32;

// A string of the MQTT block referenced by address and length. Address is the offset in
// the block (0 for none) until it is written as a device address.
struct TMQTTString {
    plat::String CString;
    std::uint32_t Address = 0;
    std::int32_t Len = 0; // UTF-8 bytes
};

struct TMQTTPacket_WillOption {
    std::array<char, 4> Struct_ID{};
    std::int32_t Struct_Version = 0;
    TMQTTString TopicName;
    TMQTTString WillMessage;
    std::uint8_t Retained = 0;
    std::uint8_t QoS = 0;
};

struct TMQTTPacket_ConnectData {
    std::array<char, 4> Struct_ID{};
    std::int32_t Struct_Version = 0;
    std::uint8_t MQTTVersion = 0;
    TMQTTString ClientID;
    std::uint16_t KeepAliveInterval = 0; // s
    std::uint8_t CleanSession = 0;
    std::uint8_t WillFlag = 0;
    TMQTTPacket_WillOption Will;
    TMQTTString Username;
    TMQTTString Password;
};

struct TMQTTPacket_OnConnectOptions {
    TMQTTString topicName;
    TMQTTString conn_message;
    std::uint8_t reteined = 0;
    std::uint8_t qos = 0;
};

struct TMQTT_Subscribe_Data {
    std::uint32_t Position = 0;
    std::uint32_t Length = 0;
    std::uint32_t Type_SubData = 0;
    plat::String Input_Template;
    std::uint32_t Input_Template_Add = 0;
    plat::String Output_Template;
    std::uint32_t Output_Template_Add = 0;
    std::uint32_t IP_Address = 0;
    std::uint16_t Port = 0;
    std::uint8_t Proto = 0;
};
constexpr std::uint32_t Subscribe_Record_Size = 27;

struct TMQTT_Publish_Data {
    plat::String Description;
    std::uint32_t Desc_Add = 0;
    TMQTTString Publish_Topic;
    std::uint8_t Retained = 0;
    std::int32_t QoS = 0;
    plat::String Input_Template;
    std::uint32_t Input_Template_Add = 0;
    plat::String Output_Template;
    std::uint32_t Output_Template_Add = 0;
    std::uint32_t Source_IP_Address = 0;
    std::uint32_t Position = 0;
    std::uint16_t Length = 0;
    std::uint16_t Type_Data = 0;
    std::uint32_t Timer = 0;   // ms
    std::uint32_t Options = 0; // 1 on change, 2 on command, 4 on timer
};
constexpr std::uint32_t Publish_Record_Size = 49;

// The MQTT set-up. _Add fields are offsets from the start of the MQTT block.
struct TMQTT {
    std::uint32_t Mode = 0; // low byte: working mode code (0 synchronous, 2 asynchronous); 0x100 single subscription
    std::uint32_t Time_Poll = 0;
    plat::String Server_Address;
    std::uint32_t Server_Address_Add = 0;
    std::uint16_t Server_Port = 0;
    TMQTTPacket_ConnectData Connect_Data;
    std::int32_t Topic_Filter_Count = 0;
    std::vector<TMQTTString> Topic_Filters;
    std::uint32_t Topic_Filters_Add = 0;
    std::vector<std::int32_t> Topic_Filter_QoS;
    std::uint32_t Topic_Filter_QoS_Add = 0;
    std::vector<TMQTT_Subscribe_Data> Subscribe_Data;
    std::uint32_t Subscribe_Data_Add = 0;
    std::int32_t Publish_Topic_Count = 0;
    std::vector<TMQTT_Publish_Data> Publish_Data;
    std::uint32_t Publish_Data_Add = 0;
    std::uint32_t TLS_Flag = 0;
    std::uint32_t TLS_Server_Authentication = 0;
    plat::String TLS_Server_Cert;
    std::uint32_t TLS_Server_Cert_Len = 0;
    std::uint32_t TLS_Server_Cert_Add = 0;
    std::uint32_t TLS_Client_Authentication = 0;
    plat::String TLS_Client_Cert;
    std::uint32_t TLS_Client_Cert_Len = 0;
    std::uint32_t TLS_Client_Cert_Add = 0;
    plat::String TLS_Client_Key;
    std::uint32_t TLS_Client_Key_Len = 0;
    std::uint32_t TLS_Client_Key_Add = 0;
    std::uint32_t TLS_Client_Key_Password = 0;
    plat::String TLS_Client_Key_Pass;
    std::uint32_t TLS_Client_Key_Add_Pass = 0;
    plat::String NTP_Server_Address;
    std::uint32_t NTP_Server_Address_Add = 0;
    std::uint32_t NTP_Server_Poll = 0; // s
    std::uint8_t onconnectFlag = 0;
    TMQTTPacket_OnConnectOptions onconnect;
    TMQTTString topic_answer_dali;
    plat::String TLS_CA_Cert;
    std::uint32_t TLS_CA_Cert_Len = 0;
    std::uint32_t TLS_CA_Cert_Add = 0;
};
constexpr std::uint32_t MQTT_Fixed_Size = 221;
constexpr std::uint32_t MQTT_Empty_String = 220; // the shared zero byte of the block

} // namespace image
