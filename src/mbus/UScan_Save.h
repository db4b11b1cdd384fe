#pragma once
// Files made from a scan's results: the network file M_Bus.xml from the ticked wired slaves
// or wireless meters (Save_XML_Conf_Wired / _Wireless), and the scan result files with the
// roots "SCAN_M-Bus_Wired" and "SCAN_M-Bus_Wireless" (Save_XML_File_DLL /
// Save_Wireless_XML_File_DLL). The scan thread's methods of the same names call these.
//
// - The writers read the lists under a TScanResultsGuard and never change them.
// - Tick states: a result whose Node link is set is asked through the TTickReader (the scan
//   window's tree answers after initialising the node); without a link, without a reader, or
//   when the tree cannot tell, the object's own Enable flag (which the tree's check event keeps
//   in step) decides. Only a normal checked state counts as ticked.
// - The network writers return false and touch no file for an empty list. A file that cannot
//   be loaded (append) or written raises the XML layer's EXMLDocError.
// - Appending keeps the file's nodes and writes the "SW_VERSION = 1.022" comment again after
//   the root (loading drops comments).
#include <cstdint>
#include <functional>
#include <vector>

#include "plat/Classes.h"
#include "plat/String.h"

struct TSaveConfXML {
    std::int32_t Append = 0;        // 1: add to File_Name's root
    std::int32_t XML_Code_Dev = 0;  // device code of the converter model
    std::int32_t Mod_Start = 1;     // first Modbus register
    std::int32_t Index_Baud = 0;    // written in a "Group" (codes 4 and 7)
    std::int32_t Index_Par = 0;
    std::int32_t Node_ID_Type = 0;  // 0 primary, 1 secondary
    std::int32_t SND_NKE = 0;
    std::int32_t Reset_App = 0;
    std::int32_t Cut_After = 0;
    std::int32_t StartModnode = 0;  // 1: each node's registers start at its SMN_Array entry
    std::vector<std::int32_t> SMN_Array;
    bool En_NodeState = false;
    bool En_IdeNum = false;
    plat::String File_Name;
};

enum class TTickState { Checked, NotChecked, Unknown };
using TTickReader = std::function<TTickState(void* Node)>;

// Registers taken by a record of this data-field code and length, and its "Dim" index.
struct TRegisterUse {
    int Dim = 255;
    int Registers = 0;
};
TRegisterUse Register_Use(int Dimension, int NByte);

bool Save_XML_Conf_Wired(const TSaveConfXML& DataIn, bool Check_BCD, const plat::TList& Slaves,
                         const TTickReader& Tick = {});
bool Save_XML_Conf_Wireless(const TSaveConfXML& DataIn, bool Check_BCD, const plat::TList& Meters,
                            const TTickReader& Tick = {});
void Save_XML_File_DLL(const plat::String& SaveXMLFile, const plat::TList& Slaves);
void Save_Wireless_XML_File_DLL(const plat::String& SaveXMLFile, const plat::TList& Meters);
