#include "UBuildingFiles.h"

void Create_SNMP_MIB() {}

void Create_EDE_File(const plat::String&) {}
