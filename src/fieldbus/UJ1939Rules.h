#pragma once
// The J1939 frame rules without a window: the receive and transmit tables' columns, their
// files (older transmit files with T_Type included), the checks with their exact messages and
// the running byte total. TFReceiveJ1939 and TFTransmitJ1939 show them.
//
// A table ends at the first row whose PGN cell, trimmed, is empty; every row before it is
// checked and saved (there is no Enable column).
#include "URuleRows.h"
#include "plat/String.h"

namespace plat {
class TXMLDocument;
}

namespace j1939rules {

constexpr int Rows = 512;
constexpr int Num_Byte = 1440;  // the data array's size; the byte counts together may not exceed it
constexpr const char16_t* Version = u"SW_VERSION = 1.104";

constexpr int R_DP = 1, R_PGN = 2, R_SA = 3, R_TP = 4, R_Start = 5, R_NByte = 6, R_Delete = 7, R_OnRequest = 8,
              R_Time = 9, R_Mnemonic = 10, R_Cols = 11;
constexpr int T_Priority = 1, T_DP = 2, T_PGN = 3, T_SA = 4, T_NByte = 5, T_Request = 6, T_Change = 7,
              T_Timer = 8, T_SendTimer = 9, T_Mnemonic = 10, T_Cols = 11;

// Reads the file into `rows` (sized and emptied first) with the readers' defaults.
void Read_Receive(const plat::String& file, TRule_Rows& rows, TRule_Load& load);
void Read_Transmit(const plat::String& file, TRule_Rows& rows, TRule_Load& load);

// The message of the first fault, empty when every rule passes.
plat::String Check_Receive(const TRule_Rows& rows, int num_byte_in);
plat::String Check_Transmit(const TRule_Rows& rows, int num_byte_out);

// Empties `doc` and fills it as OK saves it.
void Fill_Receive(plat::TXMLDocument& doc, const TRule_Rows& rows);
void Fill_Transmit(plat::TXMLDocument& doc, const TRule_Rows& rows);

} // namespace j1939rules
