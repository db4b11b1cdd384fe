#pragma once
// The program's own settings file, Program_Dir + "/Tralvex.xml": read once at start-up into
// the UComon values, written whole by Save_Setting. A missing or malformed file, or a
// missing element, gives the defaults (192.168.2.205, "English", options off).
#include "plat/String.h"

// The settings file's path.
plat::String Setting_File_Name();

// Reads the file into Project_Name, Last_IP_Address, Language_Name and the four options.
// Project_Dir is cleared; the main window restores the configuration afterwards.
// A file that is there but cannot be read (not well-formed, not a regular file, too large)
// gives the defaults too, but is first kept beside as Damaged_Setting_File_Name() (replacing
// an older one), so that the next save does not destroy the user's settings; *Note then gets
// the message for the user, once. Without damage *Note is left empty.
void Read_Setting(plat::String* Note = nullptr);

// Where a damaged settings file is kept: Setting_File_Name() + ".damaged".
plat::String Damaged_Setting_File_Name();

// Writes the file atomically from the current values. Returns false when it could not be
// written, with the reason in *error; the caller shows it (this unit shows nothing).
bool Save_Setting(plat::String* error = nullptr);
