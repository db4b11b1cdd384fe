#pragma once
// The CAN frame rules without a window: the two tables' columns, their files' layout, the
// reading with its defaults for older files, the validation with its exact messages, and
// the document OK writes. TFReceiveCAN and TFTransmitCAN show them.
//
// Rows are cell texts by real column (URuleRows.h); a table ends at the first row whose
// CobID cell, trimmed, is empty: later rows are neither checked nor saved.
#include "URuleRows.h"
#include "plat/String.h"

namespace plat {
class TXMLDocument;
}

namespace canrules {

constexpr int Rows = 512;       // rule rows of each table
constexpr int Max_Byte = 1440;  // size of the internal data array the byte columns point into

// Real columns of the receive table.
constexpr int R_Enable = 1, R_CobID = 2, R_Type = 3, R_Dim = 4, R_TimeOut = 5, R_Byte1 = 6, R_Mnemonic = 14,
              R_Cols = 15;
// Real columns of the transmit table.
constexpr int T_Enable = 1, T_CobID = 2, T_Type = 3, T_Dim = 4, T_OnChange = 5, T_OnCMD = 6, T_OnTimer = 7,
              T_Time = 8, T_Byte1 = 9, T_Mnemonic = 17, T_Cols = 18;

constexpr const char16_t* Type_A = u"2.0A (11 bits)";
constexpr const char16_t* Type_B = u"2.0B (29 bits)";
constexpr const char16_t* Version = u"SW_VERSION = 1.002";

// The defaults that rows of older transmit files take; the editor starts them at 0.
struct TTransmit_Defaults {
    int CAN_Type = 0;   // <> 0: a missing CAN_Type reads "2.0B (29 bits)"
    int Send_Type = 0;  // <> 0: a missing OnChange reads "N"; 1: a missing OnTimer reads "Y"
    int Send_Time = 0;  // a missing Time of a row whose OnTimer is "Y"
};

// Rows as every show starts them: Enable "Y", every other cell empty.
TRule_Rows Cleared(int cols);

// Reads the file into `rows` (Cleared first): the root's element children in order, one per
// row, each attribute by itself with the defaults of older files; rows beyond Rows are
// counted in `load`. Nothing is read from a file that is missing or cannot be parsed.
void Read_Receive(const plat::String& file, TRule_Rows& rows, TRule_Load& load);
void Read_Transmit(const plat::String& file, const TTransmit_Defaults& defaults, TRule_Rows& rows, TRule_Load& load);

// The message of the first fault of the enabled rows, empty when they all pass.
plat::String Check_Receive(const TRule_Rows& rows, int max_byte);
plat::String Check_Transmit(const TRule_Rows& rows, int max_byte);

// Empties `doc` and fills it as OK saves it: root, version comment, one `row` per rule.
void Fill_Receive(plat::TXMLDocument& doc, const TRule_Rows& rows);
void Fill_Transmit(plat::TXMLDocument& doc, const TRule_Rows& rows);

} // namespace canrules
