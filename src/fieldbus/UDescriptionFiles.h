#pragma once
// Writers of the fieldbus description files that the main window's hidden actions call.
// Each one writes nothing and shows no message: the tables they describe are edited in
// the fieldbus editors.
#include "plat/String.h"

// CANopen EDS of the active configuration, written to `path`.
void Write_EDS_File(const plat::String& path);
// PROFINET GSDML file named `name` (no folder), saved where the user chooses.
void Save_GSDML_File(const plat::String& name);
// PROFIBUS GSD file, saved where the user chooses.
void Create_GSD_File();
