#pragma once
// The MIB module of a converter acting as an SNMP agent: one object per enabled variable of
// SNMP_Trap.xml and one notification per enabled read variable, under the maker's private
// enterprise arc 57021.
//
// The module is valid SMIv2: the notifications name their read variable in OBJECTS (and
// NOTIFICATION-TYPE is imported), and every object name is a descriptor that no other
// definition of the module uses. A variable whose name breaks either rule stops the writing
// with one error box naming it; nothing is written then.
#include <cstdint>
#include <vector>

#include "plat/String.h"

namespace plat {
class TSaveDialog;
}

// Entry k (0..255): the k-th enabled read variable is an Int; entry 256 + k: the same for
// the k-th enabled write variable.
constexpr int kMIB_Max_Variables = 256;
extern std::uint8_t MIB_Int_Flags[2 * kMIB_Max_Variables];

// Fills SNMP_MIB_Read_List, SNMP_MIB_Write_List (created when missing) and MIB_Int_Flags
// from File_SNMP_Trap: the descriptions of the enabled rows in table order, at most 256 per
// table. A missing file or table gives no variables. False, with the reason in `error`, when
// the file cannot be read or parsed (the lists are then empty).
bool Load_MIB_Variables(plat::String* error = nullptr);

// The module's text for the given descriptions (read, then write variables) and flags,
// every line followed by CR LF. Empty, with the reason in `error`, when a variable's name
// cannot stand in the module.
plat::String Build_SNMP_MIB_Text(const std::vector<plat::String>& read, const std::vector<plat::String>& write,
                                 const std::uint8_t (&int_flags)[2 * kMIB_Max_Variables], plat::String& error);

// Writes the module of the loaded lists to `path` (replaced atomically, Windows-1252, CR LF
// after every line). A name that cannot stand in the module or a failed write shows one
// error box and answers false; the file is then left as it was.
bool Write_SNMP_MIB(const plat::String& path);

// The main window's action: `dialog` (the main window's SaveMIB) opens in Project_Dir; an
// existing file is replaced only when the user agrees; then the variables are loaded and the
// module written. A cancelled dialog or a No writes nothing and says nothing.
void Create_SNMP_MIB(plat::TSaveDialog& dialog);
