// Build sequence of the configuration image and the writing of its two files.
#include "USaveBincc.h"

#include <string>
#include <string_view>

#include "UComon.h"
#include "plat/Files.h"

namespace image {

TGeneral_Parameters General_Parameters;
std::array<TModbus_Entry, Modbus_Table_Entries> Modbus_Table;
TMQTT MQTT_Config;
std::array<std::uint8_t, Bank1_Size> Bank1_Buffer;
std::array<std::uint8_t, Bank2_Size> Bank2_Buffer;
std::uint32_t Bank1_Len = 0;
std::uint32_t Bank2_Len = 0;

TImage_Sources TImage_Sources::Of_Folder(const plat::String& config_dir) {
    TImage_Sources sources;
    sources.File_ParGen = plat::PathJoin(config_dir, u"ParGen.xml");
    sources.File_MQTT_Set_Topic = plat::PathJoin(config_dir, u"MQTT_Set_Topic.xml");
    sources.File_ModbusM_SetAccess = plat::PathJoin(config_dir, u"ModbusM_SetAccess.xml");
    sources.Certificates_Dir = plat::PathJoin(config_dir, u"Certificates");
    return sources;
}

void Build_Bin_Config() {
    TImage_Sources sources;
    sources.File_ParGen = File_ParGen;
    sources.File_MQTT_Set_Topic = File_MQTT_Set_Topic;
    sources.File_ModbusM_SetAccess = File_ModbusM_SetAccess;
    sources.Certificates_Dir = plat::PathJoin(Project_Dir, u"Certificates");
    Build_Bin_Config(sources);
}

void Build_Bin_Config(const plat::String& config_dir) {
    Build_Bin_Config(TImage_Sources::Of_Folder(config_dir));
}

void Build_Bin_Config(const TImage_Sources& sources) {
    Init_General_Parameters();
    Init_MQTT_Config();
    Init_Modbus_Table();
    // Reading sets the working mode first; topics and rules depend on it.
    Read_General_Parameters(sources);
    Read_MQTT_Topics(sources);
    Read_Modbus_Rules(sources);

    // Every refusal happens before the buffers are touched, so the image of the last
    // good build stays whole for a save.
    const std::uint64_t bank2_length = static_cast<std::uint64_t>(Modbus_Table_Bytes) + Assign_MQTT_Offsets();
    if (bank2_length > Bank2_Size)
        throw EImage_Limit(u"The configuration image is too large: bank2.bin would take " +
                           plat::Utf8ToString(std::to_string(bank2_length)) + u" bytes, the converter holds " +
                           plat::Utf8ToString(std::to_string(Bank2_Size)) +
                           u". Shorten the certificates, templates or topic lists.");

    Bank1_Len = 0;
    Bank2_Len = 0;
    General_Parameters.Modbus_Table_Add = Device_Base;
    Bank2_Len = Write_Modbus_Table(0, Bank2_Buffer.data());
    General_Parameters.MQTT_Config_Add = Device_Base + Bank2_Len;
    Bank2_Len = Write_MQTT_Block(Device_Base + Bank2_Len, Bank2_Len, Bank2_Buffer.data(), Bank2_Size - 1);
    // Last: the checksum covers the table and block addresses set above.
    Bank1_Len = Checksum_General_Parameters(0, Bank1_Buffer.data());
}

TSave_Result Save_Bin_Config() {
    return Save_Bin_Files(plat::PathJoin(Project_Dir, u"bin"));
}

TSave_Result Save_Bin_Files(const plat::String& folder) {
    TSave_Result result;
    if (!plat::ForceDirectories(folder)) {
        result.Ok = false;
        result.File = folder;
        result.Reason = u"The folder cannot be created.";
        return result;
    }
    const struct {
        const char16_t* Name;
        const std::uint8_t* Data;
        std::uint32_t Length;
    } files[] = {{u"bank1.bin", Bank1_Buffer.data(), Bank1_Len}, {u"bank2.bin", Bank2_Buffer.data(), Bank2_Len}};
    for (const auto& file : files) {
        const plat::String path = plat::PathJoin(folder, file.Name);
        const std::string_view bytes(reinterpret_cast<const char*>(file.Data), file.Length);
        if (!plat::WriteFileAtomic(path, bytes)) {
            result.Ok = false;
            result.File = path;
            result.Reason = u"The file cannot be written.";
            return result;
        }
    }
    return result;
}

} // namespace image
