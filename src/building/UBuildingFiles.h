#pragma once
// Writers of the building-automation description files that the main window's hidden
// actions call. Each one writes nothing and shows no message: the tables they describe
// are edited in the SNMP and BACnet editors.
#include "plat/String.h"

// SNMP MIB module of the active configuration, saved where the user chooses; fills
// SNMP_MIB_Read_List and SNMP_MIB_Write_List on the way.
void Create_SNMP_MIB();
// BACnet EDE file of the active configuration, written to `path`.
void Create_EDE_File(const plat::String& path);
