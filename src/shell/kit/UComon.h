#pragma once
// Program-wide values shared by every window, and the small validators and helpers the
// editors call. The routines keep no state, show no message and raise nothing for bad
// input: each returns a result code or flag and the calling editor picks the message.
//
// Paths are native ('/'-joined). With no active configuration Project_Name and
// Project_Dir are both empty and every File_* value is "/" plus the bare file name.
#include <cstdint>
#include <vector>

#include "plat/String.h"

namespace plat {
class TStringList;
class TList;
} // namespace plat

namespace grid {
class TExtStringGrid;
class TExtColumnGrid;
} // namespace grid

// --- Folders and the active configuration ---------------------------------------------
extern plat::String Program_Dir;   // folder of the program file, no trailing separator
extern plat::String Master_Dir;    // Program_Dir + "/MASTER" (firmware images)
extern plat::String Projects_Dir;  // Program_Dir + "/PROJECTS"
extern plat::String Language_Dir;  // Program_Dir + "/LANGUAGE"
extern plat::String Project_Name;  // empty when no configuration is active
extern plat::String Project_Dir;   // Projects_Dir + "/" + Project_Name, or empty

// --- Table files of the active configuration (set together by Set_Files) --------------
extern plat::String File_ParGen;
extern plat::String File_MQTT_Set_Topic;
extern plat::String File_M_Bus;
extern plat::String File_ModbusM_SetAccess;
extern plat::String File_ModbusTCPM_SetAccess;
extern plat::String File_MQTT_Set_Access;
extern plat::String File_CAN_Rec_Frames;
extern plat::String File_CAN_Send_Frames;
extern plat::String File_SDO_Server_CANopen;
extern plat::String File_SDO_Client_CANopen;
extern plat::String File_PDO_CANopen;
extern plat::String File_DNETM_Net;
extern plat::String File_DNETM_DefOff;
extern plat::String File_J1939_Rec_Frames;
extern plat::String File_J1939_Send_Frames;
extern plat::String File_NMEA_Rec_Frames;
extern plat::String File_NMEA_Send_Frames;
extern plat::String File_DMX_Default_Values;
extern plat::String File_KNX_SetAccess;
extern plat::String File_SNMP_Trap;
extern plat::String File_SNMP_Manager;
extern plat::String File_BACnet_Slave_SetAccess;
extern plat::String File_DALI_Access;
extern plat::String File_DALI2_Access;
extern plat::String File_BACnet_Master_Access;

// --- Product identity ------------------------------------------------------------------
extern plat::String Program_Title;
extern plat::String SW_Code;
extern plat::String SW_Desc;
extern const char16_t* const SW_Code_Const;        // "QR40518", copied into SW_Code at start-up
extern const char16_t* const SW_Desc_Const;        // product description, copied into SW_Desc
extern const char16_t* const SW_Code_Update_Const; // the name sent to the version service
// Start-up: Program_Title, SW_Code and SW_Desc from the built-in constants.
void Init_Product_Identity();

// --- Settings (kept in Tralvex.xml) and update-window choices ---------------------------
extern plat::String Last_IP_Address;
extern plat::String Language_Name;
extern bool Enable_Internet;
extern bool Enable_Update;
extern bool Enable_Jump_Field_Tables;
extern bool Double_Click_Auto_Size;
extern int Update_Option;      // 0 "Firmware + Configuration"; not saved
extern bool Update_Read_Back;  // start-up sets true; not saved

// --- Lists created by the main window, living until the process ends --------------------
extern plat::TStringList* Row_Copy;      // the row clipboard of all table editors
extern std::vector<bool> Row_Copy_Check; // per copied column: was it a check-box cell
extern plat::TList* List_Slave_MBus;
extern plat::TList* List_Slave_wMBus;
extern plat::TStringList* SNMP_MIB_Read_List;
extern plat::TStringList* SNMP_MIB_Write_List;

// --- Validators and decoders ----------------------------------------------------------------
// True when the text is a dotted IPv4 address whose four trimmed parts are 0..255.
// The outputs are written as far as the split gets, also when the result is false.
bool Split_IP_Address(plat::StringView text, plat::String& p1, plat::String& p2, plat::String& p3,
                      plat::String& p4);
// Error flag: true when the text is empty (outputs untouched) or a part is not 0..255
// (that part's output becomes 0).
bool Decode_IP_Address(plat::StringView text, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                       std::uint8_t& b4);
// True for "a.b.c.d:port" with valid parts; on any failure every output stays 0.
bool Decode_IP_Port(plat::StringView text, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                    std::uint8_t& b4, std::uint16_t& port);
// 0 valid, 1 invalid. group selects "main/middle/sub" over "area.line.device".
int Check_KNX_Address(plat::StringView text, bool group, bool allow_zero);
bool No_Dot_In_Text(plat::StringView text);
// 0 valid; 1 too long, 2 bad character, 3 leading dot, 4 trailing dot, 5 two dots in a
// row, 6 an arc above 4294967295. An empty text gives 2 (no digits to make an OID of).
int Check_OID(plat::StringView text);
// 0 valid; 1 longer than 15, 2 shorter than 1 (user) or 8 (password), 3 not A-Z a-z 0-9.
int Check_SNMP_Text(plat::StringView text, bool user);
// -1 empty, 1 "AUTH NOPRIV", 3 "AUTH PRIV", 0 anything else (trimmed, case-blind).
int SNMP_Security_Level(plat::StringView text);
// code := "0" NONE, "1" PAP, "2" CHAP, "3" PAP OR CHAP, else "0" (upper-cased, not trimmed).
void APN_Auth_Type_Code(plat::StringView text, plat::String& code);
// name1 := "MQTT", name2 := empty; returns 1.
int Product_Variant(plat::String& name1, plat::String& name2);

// --- Numbers ------------------------------------------------------------------------------
// The user's profile decimal separator when it is ',' or '.', else ','.
char16_t Get_Decimal_Separator();
// Swaps ',' and '.' towards the separator, then converts under the program's format
// settings. On failure value := 1.0 and the result is false.
bool Text_To_Float(plat::StringView text, char16_t separator, float& value);

// --- Serial ports -----------------------------------------------------------------------------
// Port numbers ("1", "2", ...) of the serial devices that have hardware behind them,
// numbered in a stable (sorted) order; callers prefix "COM". Never opens a device.
std::vector<plat::String> List_COM_Ports();
// Device path behind a port number of List_COM_Ports ("/dev/ttyUSB0"), empty when unknown.
plat::String COM_Port_Device(int number);
// Tests point the scan at a fake sysfs tree and device folder; empty texts restore
// "/sys/class/tty" and "/dev".
void Set_COM_Port_Roots(plat::StringView sys_class_tty, plat::StringView dev_dir);

// --- Cell numbers ------------------------------------------------------------------------------
// The integer a table cell holds: an optional sign and decimal digits, or "$"/"0x" and hex
// digits, as typed (no blanks). -1 for any other text and for a value outside the 32-bit
// signed range: the reading never wraps, so "4294967297" or "$FFFFFFFF" is not a position.
int Cell_Int(plat::StringView text);

// The number a cell of the fieldbus and building editors holds: optional leading blanks and
// an optional sign, then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or
// "0X" ("2047", "0x7FF", "$7FF" and "x7FF" read the same). Any other character (trailing
// blanks included), no digit at all, or a value outside the 64-bit signed range makes the
// reading fail: false, and `value` is left as it was. The reading never wraps.
bool Read_Cell_Number(plat::StringView text, std::int64_t& value);
// The reading's value, or `fail` (-1 unless the reading Part names another default) when
// the reading fails; -1 fails every range check of the editors.
std::int64_t Cell_Number(plat::StringView text, std::int64_t fail = -1);

// --- Row-editing helpers of the table editors (built with the window kit, shell_forms) ------
// Tables have a fixed number of rows: row 0 is the header, column 0 the row number. The
// covered columns are the real columns 1 .. ColCount + NumHiddenColumns - 1, hidden ones
// included; column 0 and row 0 are never written while a data row is given.
//
// A row is used when a covered cell holds text other than blanks, check-box columns
// (edDataCheckBox) aside.
bool Grid_Row_Used(grid::TExtColumnGrid* grid, int row);
// Moves the rows below `row` up one; the last row becomes empty.
void Grid_Delete_Row(int row, grid::TExtColumnGrid* grid);
// Moves `row` and the rows below it down one and empties `row` ("Y" in column 1 with put_y).
// When the last row is used it would be pushed out of the table: the user is asked first
// (text 1106, Yes and No) and nothing changes on any answer but Yes.
void Grid_Insert_Row(int row, grid::TExtColumnGrid* grid, bool put_y);
// Row_Copy := the row's covered texts, column 1 first; Row_Copy_Check := all false, one
// entry per copied column, so that a later check-box paste takes these as texts.
void Grid_Copy_Row(grid::TExtColumnGrid* grid, int row);
// Row_Copy into the row, after the checks in this order: `copied` (else error 1102), the
// covered column count equal to Row_Copy's (else error 1101), a used row only on Yes to
// question 1100.
void Grid_Paste_Row(grid::TExtColumnGrid* grid, int row, bool copied);
// The same for grids with cell check boxes (GetCheckBoxState/SetCheckBoxState) and per-cell
// read-only flags, which move with the cells. Delete leaves the last row read-only, insert
// leaves the new row editable; check_first ticks the check box of column 1 there.
void Grid_Delete_Row_Check(int row, grid::TExtStringGrid* grid, bool check_first);
void Grid_Insert_Row_Check(int row, grid::TExtStringGrid* grid, bool check_first);
// Row_Copy with "Y"/"N" for check-box cells, which Row_Copy_Check flags.
void Grid_Copy_Row_Check(grid::TExtStringGrid* grid, int row);
// As Grid_Paste_Row; a row is used by any non-empty (untrimmed) cell without a check box,
// and flagged entries set check boxes.
void Grid_Paste_Row_Check(grid::TExtStringGrid* grid, int row, bool copied);
// With Double_Click_Auto_Size on and row 0 (the header): AutoSizeCol(col, 0).
void Grid_DblClick_Auto_Size(grid::TExtStringGrid* grid, int row, int col);
// With Enable_Jump_Field_Tables on and key Enter (13): the next cell, wrapping to column 1
// of the next row and from the last row to row 1, when a data cell is current; the key
// becomes 0 in every such case. Any other key, or the option off, passes unchanged.
void Grid_Enter_Next_Cell(grid::TExtStringGrid* grid, char16_t& key);

// --- Constant functions -------------------------------------------------------------------------
constexpr int Default_BACnet_Eng_Unit() { return 95; }
constexpr int ScanDecode_XML_Code_Dev() { return 18; }
constexpr int ScanDecode_Form_Type() { return 0; }
