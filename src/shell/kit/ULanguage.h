#pragma once
// The language table: every text the program shows, by number. Slots 0..5299 hold the
// built-in English texts (a single blank where there is none); a language file
// LANGUAGE/<name>.lng may replace slots 0..Lang_Max_Index-1.
#include <vector>

#include "plat/String.h"

constexpr int Lang_Table_Size = 5300;

extern std::vector<plat::String> Lang_Table;
extern int Lang_Max_Index;  // 5100 once Load_Default_Language ran

// Empties the table and fills the 5300 built-in texts; Lang_Max_Index := 5100.
void Load_Default_Language();
// Overlays the table with the texts of a language file (BOM, else UTF-8 when valid, else
// Windows-1252). Lines that do not follow the format are skipped one by one. False, with the
// table untouched, when the file cannot be read (missing, not a regular file, larger than
// plat::kLanguageFileCap).
bool Load_Language_File(plat::StringView path);
// Built-in texts, then Language_Dir/<Language_Name>.lng; when that file is missing or cannot
// be read (or the name is empty or not a plain file name), Language_Name := "English" and
// English.lng is loaded if it can be read.
void Load_Language();

// One line of a language file applied to the table (what Load_Language_File does per line).
void Apply_Language_Line(plat::StringView line);
