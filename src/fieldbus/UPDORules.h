#pragma once
// The CANopen PDO rules without a window: the receive and transmit tables' columns, the
// file PDO_CANopen.xml (both table elements always written), the checks with their exact
// messages. TFSet_PDO_Access shows them; the EDS writer reads the same file.
//
// Each table ends at the first row whose COB-ID cell, trimmed, is empty.
#include "URuleRows.h"
#include "plat/String.h"

namespace plat {
class TXMLDocument;
}

namespace pdorules {

constexpr int Rows = 30;         // PDOs per direction
constexpr int NByte = 1440;      // size of the data array the addresses point into
constexpr const char16_t* Version = u"SW_VERSION = 1.001";

// Real columns; receive and transmit share them up to Address_B8.
constexpr int C_CobID = 1, C_Dim = 2, C_Add1 = 3;
constexpr int R_TimeOut = 11, R_Mnemonic = 12, R_Cols = 13;
constexpr int T_SendTime = 11, T_OnChange = 12, T_Mnemonic = 13, T_Cols = 14;

// Reads the file's two tables (each Empty_Rule_Rows(Rows, ...) first). Every attribute is
// one this editor always writes: a row lacking one gets that cell empty and the lack is
// recorded in `load`; a missing table element is recorded and its table stays empty.
void Read_PDO(const plat::String& file, TRule_Rows& receive, TRule_Rows& transmit, TRule_Load& load);

// The message of the first fault, receive rows first; empty when both tables pass.
plat::String Check_PDO(const TRule_Rows& receive, const TRule_Rows& transmit, int nbyte_in, int nbyte_out);

// Empties `doc` and fills it as OK saves it.
void Fill_PDO(plat::TXMLDocument& doc, const TRule_Rows& receive, const TRule_Rows& transmit);

} // namespace pdorules
