#pragma once
// Configurations on disk: the program's folders, the New-name checks and folder creation,
// the Open listing with its preselection, and the table-file paths of the active
// configuration. A configuration is a folder directly under Projects_Dir; no name that
// could reach outside it (separators, ".", "..", control characters) is ever used.
#include <vector>

#include "plat/String.h"

// Sets Program_Dir and the MASTER, PROJECTS and LANGUAGE folders beside it, creating each
// one level deep when missing (a failure is not reported: later file operations meet it).
void Init_Program_Dirs(plat::StringView program_dir);

// Sets the 25 File_* values from Project_Dir (each Project_Dir + "/" + file name).
void Set_Files();

// True when the name can only ever be one visible folder directly under Projects_Dir: not
// empty, no leading "." (a hidden folder the Open listing would never show, "." and ".."
// included), no "/" or "\", no control character.
bool Is_Valid_Configuration_Name(plat::StringView name);

// What the New dialog's OK does: checks the typed name (taken exactly as typed), creates
// Projects_Dir/<name> and its "bin" subfolder, makes it active and calls Set_Files.
// Returns 0 on success, else the Lang_Table index of the error to show:
// 107 empty name, 106 folder already exists (in any letter case), 105 any other refusal
// or a folder that cannot be created. Nothing is created on a refusal.
int Create_Configuration(plat::StringView name);

// The Open listing: names of the visible subfolders of Projects_Dir, sorted by name.
std::vector<plat::String> Load_Existing_Configuration();
// Index of the first entry equal to name with a-z upper-cased on both sides, else -1.
int Search_Open_Conf(const std::vector<plat::String>& list, plat::StringView name);
// The entry to preselect: the active configuration's entry, else the first one; -1 for
// an empty list.
int Preselect_Configuration(const std::vector<plat::String>& list);
// The name of the active configuration as it stands in Project_Dir (empty when none).
plat::String Active_Configuration_Name();

// The Open action after OK: makes name the active configuration (an empty or refused
// name leaves none active) and calls Set_Files. Returns true when one is active.
bool Open_Configuration(plat::StringView name);

// Start-up: keeps Project_Name (as read from the settings file) active when it is a valid
// name whose folder still exists, otherwise clears it; then calls Set_Files.
// Returns true when a configuration is active.
bool Restore_Last_Configuration();
