#pragma once
// The configuration image builder: compiles a configuration folder (ParGen.xml,
// MQTT_Set_Topic.xml, ModbusM_SetAccess.xml and the TLS files of Certificates) into
// bank1.bin (the 2048-byte general-parameter record) and bank2.bin (1024 Modbus entries
// of 32 bytes, then the MQTT block from offset 32768). The converter reads these bytes
// as they are: every field is little-endian, written field by field; every address in
// the image is a device address, 0x80000 + offset in bank2.bin.
//
// Contract of a build:
// - missing files and keys give defaults; they are never errors;
// - a row lacking an attribute that every row carries (or holding one that is not a
//   number) stops the build with plat::EConvertError; a missing table element or a file
//   that is not well-formed XML stops it with plat::EXMLDocError; a certificate file that
//   is there but cannot be read stops it with plat::EFileError; their text is for the
//   user;
// - an image that would not fit the converter (bank2.bin over 524288 bytes, more than
//   1024 Modbus entries, a template with more than 101 markers, an SSID over 32 or a
//   Wi-Fi password over 64 bytes) stops the build with EImage_Limit;
// - a stopped build leaves Bank1_Len/Bank2_Len and the buffers as the last good build
//   left them, so a following save cannot write a half-built image.
// No window, no message: callers turn exceptions and TSave_Result into messages.
#include <array>
#include <cstdint>
#include <vector>

#include "ImageRecords.h"
#include "plat/Exception.h"
#include "plat/String.h"

namespace image {

// The image would not fit the converter's memory or one of its fixed tables or fields.
class EImage_Limit : public plat::Exception { using plat::Exception::Exception; };

constexpr std::uint32_t Device_Base = 0x80000;
constexpr std::uint32_t Bank1_Size = 131072;
constexpr std::uint32_t Bank2_Size = 524288;
constexpr std::uint32_t Modbus_Table_Bytes = Modbus_Table_Entries * Modbus_Entry_Size; // 32768
constexpr std::uint32_t MQTT_Block_Base = Device_Base + Modbus_Table_Bytes;          // 0x88000

// Program-wide records and buffers of the builder.
extern TGeneral_Parameters General_Parameters;
extern std::array<TModbus_Entry, Modbus_Table_Entries> Modbus_Table;
extern TMQTT MQTT_Config;
extern std::array<std::uint8_t, Bank1_Size> Bank1_Buffer;
extern std::array<std::uint8_t, Bank2_Size> Bank2_Buffer;
extern std::uint32_t Bank1_Len;
extern std::uint32_t Bank2_Len;

// Where one build reads from: the three table files and the Certificates folder.
struct TImage_Sources {
    plat::String File_ParGen;
    plat::String File_MQTT_Set_Topic;
    plat::String File_ModbusM_SetAccess;
    plat::String Certificates_Dir;

    // The files of a configuration folder as the shell names them.
    static TImage_Sources Of_Folder(const plat::String& config_dir);
};

// Builds both buffers from the open configuration (the shell's Project_Dir and File_*).
void Build_Bin_Config();
// Builds both buffers from the given configuration folder.
void Build_Bin_Config(const plat::String& config_dir);
void Build_Bin_Config(const TImage_Sources& sources);

// Outcome of writing the image files; on failure File names the file not written and
// Reason says why. The files are written in order and writing stops at the first
// failure, so a failed bank1.bin leaves the old pair together.
struct TSave_Result {
    bool Ok = true;
    plat::String File;
    plat::String Reason;
};

// Writes Project_Dir/bin/bank1.bin and bank2.bin.
TSave_Result Save_Bin_Config();
// Writes <folder>/bank1.bin and <folder>/bank2.bin, creating the folder when missing;
// each file is replaced atomically.
TSave_Result Save_Bin_Files(const plat::String& folder);

// The steps of a build, in the order Build_Bin_Config runs them.
void Init_General_Parameters();
void Init_MQTT_Config();
void Init_Modbus_Table();
void Read_General_Parameters(const TImage_Sources& sources);
void Read_MQTT_Topics(const TImage_Sources& sources);
void Read_Modbus_Rules(const TImage_Sources& sources);
std::uint32_t Write_Modbus_Table(std::uint32_t pos, std::uint8_t* buffer);
std::uint32_t Write_MQTT_Block(std::uint32_t base, std::uint32_t pos, std::uint8_t* buffer, std::uint32_t last_index);
std::uint32_t Checksum_General_Parameters(std::uint32_t pos, std::uint8_t* buffer);

// Offsets of every string and array of MQTT_Config from the start of the MQTT block;
// returns the length of the block.
std::uint32_t Assign_MQTT_Offsets();
std::uint32_t Write_MQTT_String(const TMQTTString& text, std::uint32_t base, std::uint32_t pos, std::uint8_t* buffer);
std::uint32_t Write_UTF8_String(plat::StringView text, std::uint32_t pos, std::uint8_t* buffer);

// Serializes a record into its 2048 bytes (checksum field as stored in the record).
void Serialize_General_Parameters(const TGeneral_Parameters& record, std::uint8_t* out);
// Sum of bytes 0..2043 as unsigned bytes, 32-bit.
std::uint32_t General_Parameters_Sum(const std::uint8_t* record);
void Serialize_Modbus_Entry(const TModbus_Entry& entry, std::uint8_t* out);

// Text of Certificates/<name> with its lines joined by CR LF (each line ended by one);
// the name itself when there is no such file. Only bare file names are followed: a name
// with a path separator or "..", a link leading out of the folder, and anything but a
// regular file count as a missing file. A file that is there but cannot be read raises
// plat::EFileError, which stops the build.
plat::String Load_Certificate(const plat::String& certificates_dir, const plat::String& name);
plat::String Clean_CR_LF(const plat::String& text, bool allowed);
std::uint32_t Data_Type_Code(const plat::String& text);

// Bytes of the internal data array that the "@" markers of a template cover.
struct TByte_Range {
    bool Ok = false;
    std::uint32_t Position = 0;
    std::uint32_t Count = 0;
};
constexpr int Max_Template_Markers = 101;
// Raises EImage_Limit when more than Max_Template_Markers markers count.
TByte_Range Template_Byte_Range(const plat::String& text);

} // namespace image
