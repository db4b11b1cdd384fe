#pragma once
// The Modbus TCP master rules of ModbusTCPM_SetAccess.xml apart from their window: the two
// tables' file columns, the address check and the validation.
//
// Tables are TCellRows by real column (URuleFiles.h): read 16 columns, write 17, 512 rows.
// The Topic items are the publish topics' texts themselves; Index_Topic is an index into them.
#include <vector>

#include "URuleFiles.h"

namespace tcpmaster {

constexpr int Rows = 512;
constexpr int Read_Cols = 16;
constexpr int Write_Cols = 17;
constexpr int NByte = 1500;
constexpr int Col_Topic = 14;  // read table, synchronous mode only

extern const TTable_Layout Read_Layout;   // Modbus_Read
extern const TTable_Layout Write_Layout;  // Modbus_Write
extern const std::vector<int> Read_Check_Cols;
extern const std::vector<int> Write_Check_Cols;

// True when the text is not a usable IPv4 address: empty, not four dot-separated parts, or a
// part that is not an integer 0 .. 255.
bool Check_IP_Address(const plat::String& text);

// Index of the first entry equal to the text (exact, case-sensitive), -1 when none.
int Get_Index_From_Topic(const std::vector<plat::String>& topics, const plat::String& text);

// Validation of the enabled rules ("Y" exactly after trimming), read table first; the write
// table only while its page is shown. Empty when every enabled rule passes, else the message
// of the first failing check.
plat::String Check_Rules(const TCellRows& read, const TCellRows& write, int working_mode, bool write_shown);

} // namespace tcpmaster
