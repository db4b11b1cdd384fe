#pragma once
// The BACnet EDE file of the converter acting as a BACnet server: a seven-line header, then
// one line per object of BACnet_Slave_SetAccess.xml (read table, then write table), with the
// device instance and the name length from ParGen.xml. Written in Windows-1252 with CR LF.
//
// The fields are separated by ";": a ";" inside a text is written as "," and a line break
// as a blank, so that every object line keeps its eight fields.
#include <vector>

#include "plat/String.h"
#include "plat/SysUtils.h"

struct TBACnet_EDE_Obj {
    plat::String Keyname;
    plat::String DevObjInstance;
    plat::String ObjectName;
    plat::String ObjectType;
    plat::String ObjectInstance;
    plat::String Description;
    plat::String UnitCode;
};

// What one build gathered: the objects in creation order and the device settings.
struct TEDE_Build {
    std::vector<TBACnet_EDE_Obj> Objects;
    plat::String Device_Instance;
    bool Long_Names = false;
};

// BACnetObjectType number of a Data Type text (trimmed, any case); 0 for any other text.
int EDE_Object_Type(plat::StringView data_type);

// "hh:nn:ss dd/mm/yyyy" of `time`.
plat::String Get_EDE_Timestamp(plat::TDateTime time);

// Reads File_ParGen and File_BACnet_Slave_SetAccess into a new build; the instance counters
// start at 0 per object type and are shared by both tables. Missing files, keys, tables and
// attributes give empty values. False, with file and reason in `error`, when a file exists
// but cannot be read or parsed.
bool Build_EDE_File(TEDE_Build& build, plat::String& error);

// The file's lines for a build, stamped with `time` and named after `project_name`.
std::vector<plat::String> EDE_File_Lines(const TEDE_Build& build, plat::TDateTime time,
                                         plat::StringView project_name);

// Builds and writes the file at `path` (replaced atomically), stamped with the current
// time. A file that cannot be read or written shows one error box; nothing is written then.
bool Create_EDE_File(const plat::String& path);
