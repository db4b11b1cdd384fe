#include "UConfiguration.h"

#include "UComon.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"

using plat::String;
using plat::StringView;

void Init_Program_Dirs(StringView program_dir)
{
    Program_Dir = plat::ExcludeTrailingPathDelimiter(program_dir);
    Master_Dir = Program_Dir + u"/MASTER";
    Projects_Dir = Program_Dir + u"/PROJECTS";
    Language_Dir = Program_Dir + u"/LANGUAGE";
    for (const String* dir : {&Master_Dir, &Projects_Dir, &Language_Dir})
        if (!plat::DirectoryExists(*dir))
            plat::CreateDir(*dir);
}

void Set_Files()
{
    const String base = Project_Dir + u"/";
    File_ParGen = base + u"ParGen.xml";
    File_MQTT_Set_Topic = base + u"MQTT_Set_Topic.xml";
    File_M_Bus = base + u"M_Bus.xml";
    File_ModbusM_SetAccess = base + u"ModbusM_SetAccess.xml";
    File_ModbusTCPM_SetAccess = base + u"ModbusTCPM_SetAccess.xml";
    File_MQTT_Set_Access = base + u"MQTT_Set_Access.xml";
    File_CAN_Rec_Frames = base + u"CAN_Rec_Frames.xml";
    File_CAN_Send_Frames = base + u"CAN_Send_Frames.xml";
    File_SDO_Server_CANopen = base + u"SDO_Server_CANopen.xml";
    File_SDO_Client_CANopen = base + u"SDO_Client_CANopen.xml";
    File_PDO_CANopen = base + u"PDO_CANopen.xml";
    File_DNETM_Net = base + u"DNETM_Net.xml";
    File_DNETM_DefOff = base + u"DNETM_DefOff.xml";
    File_J1939_Rec_Frames = base + u"J1939_Rec_Frames.xml";
    File_J1939_Send_Frames = base + u"J1939_Send_Frames.xml";
    File_NMEA_Rec_Frames = base + u"NMEA_Rec_Frames.xml";
    File_NMEA_Send_Frames = base + u"NMEA_Send_Frames.xml";
    File_DMX_Default_Values = base + u"DMX_Default_Values.xml";
    File_KNX_SetAccess = base + u"KNX_SetAccess.xml";
    File_SNMP_Trap = base + u"SNMP_Trap.xml";
    File_SNMP_Manager = base + u"SNMP_Manager.xml";
    File_BACnet_Slave_SetAccess = base + u"BACnet_Slave_SetAccess.xml";
    File_DALI_Access = base + u"DALI_Access.xml";
    File_DALI2_Access = base + u"DALI2_Access.xml";
    File_BACnet_Master_Access = base + u"BACnet_Master_Access.xml";
}

bool Is_Valid_Configuration_Name(StringView name)
{
    if (name.empty() || name == u"." || name == u"..")
        return false;
    // A leading dot makes a hidden folder here, which the Open listing would never show.
    if (name.front() == u'.')
        return false;
    for (char16_t c : name)
        if (c == u'/' || c == u'\\' || c < 0x20 || c == 0x7F)
            return false;
    return true;
}

int Create_Configuration(StringView name)
{
    if (name.empty())
        return 107;
    if (!Is_Valid_Configuration_Name(name))
        return 105;
    const String dir = Projects_Dir + u"/" + String(name);
    // Folder names that differ only in letter case would be one folder on the systems the
    // configurations are shared with, and Open matches names that way too.
    if (plat::DirectoryExists(dir) || Search_Open_Conf(plat::ListSubfolders(Projects_Dir, true), name) >= 0)
        return 106;
    if (!plat::CreateDir(dir))
        return 105;
    if (!plat::ForceDirectories(dir + u"/bin")) {
        plat::RemoveDir(dir);
        return 105;
    }
    Project_Name = String(name);
    Project_Dir = dir;
    Set_Files();
    return 0;
}

std::vector<String> Load_Existing_Configuration()
{
    return plat::ListSubfolders(Projects_Dir, false);
}

int Search_Open_Conf(const std::vector<String>& list, StringView name)
{
    const String wanted = plat::UpperCase(name);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (plat::UpperCase(list[i]) == wanted)
            return static_cast<int>(i);
    return -1;
}

String Active_Configuration_Name()
{
    const String prefix = Projects_Dir + u"/";
    if (Project_Dir.size() <= prefix.size() || Project_Dir.compare(0, prefix.size(), prefix) != 0)
        return {};
    return Project_Dir.substr(prefix.size());
}

int Preselect_Configuration(const std::vector<String>& list)
{
    const int found = Search_Open_Conf(list, Active_Configuration_Name());
    if (found >= 0)
        return found;
    return list.empty() ? -1 : 0;
}

bool Open_Configuration(StringView name)
{
    if (Is_Valid_Configuration_Name(name)) {
        Project_Name = String(name);
        Project_Dir = Projects_Dir + u"/" + Project_Name;
    } else {
        Project_Name.clear();
        Project_Dir.clear();
    }
    Set_Files();
    return !Project_Dir.empty();
}

bool Restore_Last_Configuration()
{
    if (Is_Valid_Configuration_Name(Project_Name) && plat::DirectoryExists(Projects_Dir + u"/" + Project_Name)) {
        Project_Dir = Projects_Dir + u"/" + Project_Name;
    } else {
        Project_Name.clear();
        Project_Dir.clear();
    }
    Set_Files();
    return !Project_Dir.empty();
}
