// bank1.bin: the general-parameter record, its defaults, byte layout and checksum.
#include <algorithm>
#include <cstring>

#include "ImageBytes.h"
#include "USaveBincc.h"

namespace image {

void Init_General_Parameters() {
    TGeneral_Parameters& g = General_Parameters;
    g = TGeneral_Parameters{};
    g.Fixed_Rate_A = 250000;
    g.Fixed_Rate_B = 250000;
    g.Fixed_Baud = 9600;
    g.Eth_IP = {192, 168, 2, 205};
    g.Eth_Mask = {255, 255, 255, 0};
    g.Eth_Gateway = {255, 255, 255, 255};
    g.Fixed_Port_A = 10000;
    g.Fixed_Port_B = 10001;
    g.Fixed_Port_C = 10001;
    g.Serial_Data_Bits.fill(8);
}

namespace {

template <std::size_t N>
void Put_Bytes(std::uint8_t* out, std::size_t pos, const std::array<std::uint8_t, N>& bytes) {
    std::memcpy(out + pos, bytes.data(), N);
}

} // namespace

void Serialize_General_Parameters(const TGeneral_Parameters& g, std::uint8_t* out) {
    std::memset(out, 0, General_Parameters_Size);
    Put_U32(out, 0x000, g.Fixed_Rate_A);
    Put_U32(out, 0x004, g.Fixed_Rate_B);
    Put_U32(out, 0x00C, g.Fixed_Baud);
    Put_U32(out, 0x020, g.Modbus_TimeOut);
    Put_U32(out, 0x024, g.Modbus_Cycle);
    Put_Bytes(out, 0x028, g.Eth_IP);
    Put_Bytes(out, 0x02C, g.Eth_Mask);
    Put_Bytes(out, 0x030, g.Eth_Gateway);
    Put_U16(out, 0x034, g.Fixed_Port_A);
    Put_U16(out, 0x036, g.Fixed_Port_B);
    Put_U16(out, 0x038, g.Fixed_Port_C);
    Put_U32(out, 0x048, g.Modbus_Entries);
    Put_U8(out, 0x061, g.Serial_RS232);
    Put_U32(out, 0x0C4, g.Modbus_Table_Add);
    for (std::size_t i = 0; i < g.Serial_Baud.size(); ++i)
        Put_U32(out, 0x190 + 4 * i, g.Serial_Baud[i]);
    Put_Bytes(out, 0x1A8, g.Serial_Parity);
    Put_Bytes(out, 0x1AE, g.Serial_Stop_Bits);
    Put_Bytes(out, 0x1B4, g.Serial_Data_Bits);
    Put_Bytes(out, 0x214, g.Mobile_Config);
    Put_Bytes(out, 0x47C, g.WiFi_SSID_Field);
    Put_Bytes(out, 0x49C, g.WiFi_PWD_Field);
    Put_U16(out, 0x4E8, g.DHCP_Flags);
    Put_U8(out, 0x4EA, g.WiFi_DHCP_Server);
    Put_U8(out, 0x4EB, g.WiFi_Security);
    Put_U32(out, 0x4EC, g.WiFi_DHCP_First);
    Put_U32(out, 0x4F0, g.WiFi_DHCP_Mask);
    Put_U32(out, 0x4F4, g.WiFi_Lease);
    Put_U8(out, 0x4F8, g.WiFi_Clients);
    Put_U8(out, 0x4F9, g.WiFi_Mode);
    Put_U8(out, 0x4FA, g.WiFi_Chan);
    Put_U8(out, 0x4FB, g.WiFi_Auto_Chan);
    Put_Bytes(out, 0x4FC, g.WiFi_IP_Field);
    Put_Bytes(out, 0x500, g.WiFi_Mask_Field);
    Put_Bytes(out, 0x504, g.WiFi_Gateway_Field);
    Put_Bytes(out, 0x508, g.WiFi2_IP_Field);
    Put_Bytes(out, 0x50C, g.WiFi2_Mask_Field);
    Put_Bytes(out, 0x510, g.WiFi2_Gateway_Field);
    Put_Bytes(out, 0x514, g.Device_Name);
    Put_Bytes(out, 0x53C, g.DNS_Secondary);
    Put_Bytes(out, 0x58C, g.DNS_Primary);
    Put_U32(out, 0x590, g.MQTT_Config_Add);
    Put_U32(out, Checksum_Offset, g.Checksum);
}

std::uint32_t General_Parameters_Sum(const std::uint8_t* record) {
    std::uint32_t sum = 0;
    for (std::uint32_t i = 0; i < Checksum_Offset; ++i)
        sum += record[i];
    return sum;
}

std::uint32_t Checksum_General_Parameters(std::uint32_t pos, std::uint8_t* buffer) {
    std::array<std::uint8_t, General_Parameters_Size> bytes;
    Serialize_General_Parameters(General_Parameters, bytes.data());
    General_Parameters.Checksum = General_Parameters_Sum(bytes.data());
    Put_U32(bytes.data(), Checksum_Offset, General_Parameters.Checksum);
    std::memcpy(buffer + pos, bytes.data(), bytes.size());
    return pos + General_Parameters_Size;
}

} // namespace image
