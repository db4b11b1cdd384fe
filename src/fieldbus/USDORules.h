#pragma once
// The CANopen SDO client and SDO server rules without a window: the read and write tables'
// columns, their files (both table elements always written), the checks with their exact
// messages. TFSet_SDO_Client_Access and TFSet_SDO_Server_Access show them; the EDS writer
// reads the server file.
#include "URuleRows.h"
#include "plat/String.h"

namespace plat {
class TXMLDocument;
}

namespace sdorules {

constexpr int NByte = 1440;  // size of the data array the addresses point into
constexpr const char16_t* Version = u"SW_VERSION = 1.001";

// SDO client: 256 requests per page; a table ends at the first empty ID Device.
constexpr int Client_Rows = 256;
constexpr int CR_Device = 1, CR_Index = 2, CR_Sub = 3, CR_NByte = 4, CR_Poll = 5, CR_Add1 = 6, CR_Mnemonic = 10,
              CR_Cols = 11;
constexpr int CW_Device = 1, CW_Index = 2, CW_Sub = 3, CW_NByte = 4, CW_Poll = 5, CW_OnChange = 6, CW_Add1 = 7,
              CW_Mnemonic = 11, CW_Cols = 12;

// SDO server: 500 entries per page, both pages alike; a table ends at the first empty Index.
constexpr int Server_Rows = 500;
constexpr int S_Index = 1, S_Sub = 2, S_NByte = 3, S_Add1 = 4, S_Mnemonic = 8, S_Cols = 9;

// Reads a file's SDO_Read and SDO_Write tables (sized and emptied first). Every attribute is
// one the editor always writes: a row lacking one gets that cell empty and the lack is
// recorded in `load`; a missing table element is recorded and its table stays empty.
void Read_Client(const plat::String& file, TRule_Rows& read, TRule_Rows& write, TRule_Load& load);
void Read_Server(const plat::String& file, TRule_Rows& read, TRule_Rows& write, TRule_Load& load);

// The message of the first fault, read rows first; empty when both tables pass.
plat::String Check_Client(const TRule_Rows& read, const TRule_Rows& write, int nbyte_in, int nbyte_out);
plat::String Check_Server(const TRule_Rows& read, const TRule_Rows& write, int nbyte_in, int nbyte_out);

// Empties `doc` and fills it as OK saves it.
void Fill_Client(plat::TXMLDocument& doc, const TRule_Rows& read, const TRule_Rows& write);
void Fill_Server(plat::TXMLDocument& doc, const TRule_Rows& read, const TRule_Rows& write);

} // namespace sdorules
