#include "UDescriptionFiles.h"

void Write_EDS_File(const plat::String&) {}

void Save_GSDML_File(const plat::String&) {}

void Create_GSD_File() {}
