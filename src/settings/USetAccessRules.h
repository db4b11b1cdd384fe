#pragma once
// The Modbus master rules of ModbusM_SetAccess.xml apart from their window: the two
// tables' file columns, the validation and the links of read rules to publish topics.
//
// Tables are TCellRows by real column (URuleFiles.h): read 14 columns, write 15, 512 rows.
// Data array positions are bytes 0 .. 1499 for both directions.
#include <vector>

#include "URuleFiles.h"

namespace setaccess {

constexpr int Rows = 512;
constexpr int Read_Cols = 14;
constexpr int Write_Cols = 15;
constexpr int NByte = 1500;
constexpr int Col_Topic = 12;  // read table, synchronous mode only

extern const TTable_Layout Read_Layout;   // Modbus_Read
extern const TTable_Layout Write_Layout;  // Modbus_Write
// Check-box columns (never count as "used" cells).
extern const std::vector<int> Read_Check_Cols;
extern const std::vector<int> Write_Check_Cols;

// The Topic items: "n - topic" for the n-th publish topic, n from 1.
std::vector<plat::String> Topic_Items(const std::vector<plat::String>& topics);
// `picked` when that entry equals the text, else the first entry equal to the text
// (exact, case-sensitive), else -1.
int Get_Index_From_Topic(const std::vector<plat::String>& items, const plat::String& text, int picked);

// Validation of the enabled rules, read table first. working_mode 0 (synchronous) checks the
// Topic column and a Poll Time from 1000; any other mode the Position and Start Bit columns.
// The write table is checked only while its page is shown. Empty when every enabled rule
// passes, else the message of the first failing check ("Error row " ...).
plat::String Check_Rules(const TCellRows& read, const TCellRows& write, int working_mode, bool write_shown);

} // namespace setaccess
