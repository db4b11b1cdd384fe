#pragma once
// The M-Bus network of a configuration: meters (TNodo) with the values read from them
// (TVariabile), and the network file M_Bus.xml that holds them.
//
// Loading never throws: a missing file is an empty network; a node without "Descrizione" or a
// variable without "Desc", "Type", "Fun_Field" or "Dim" (or one of those three not an
// integer) stops loading at that element, keeping what was read before it; a file that does
// not parse gives an empty network. In both failures the message to show is returned.
// Every other attribute that is missing or does not convert takes its default silently.
// Saving writes the whole file atomically and raises plat::EXMLDocError when it cannot.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "plat/String.h"

class TVariabile {
public:
    bool Enable = false;
    plat::String Description;
    std::int32_t Type_Of_Data = 0;    // index in Type_Of_Data_Items; 19: quantity given by VIFE
    std::int32_t Function_Field = 0;  // index in Function_Field_Items
    std::int32_t Dimension = 0;       // index in Dimension_Items; 7 variable length
    std::int32_t Unita = 0;           // M-Bus unit number 0..10
    std::uint32_t Storage_Number = 0;
    std::int32_t Tariff = 0;
    std::uint8_t VIFE = 0;            // index in VIFE_Items; 0 "Not Selected"
    bool BCDtoINT = false;
    std::int32_t Length = 0;          // bytes of a variable-length value
    plat::String VIF_ASCII;           // matched when Type_Of_Data is 21
    std::uint8_t Position = 0;        // record position in the reply, from 1
    std::int32_t Topic = 0;           // row of the MQTT publish table; -1 none
    std::uint8_t Post_Operation = 0;  // index in Post_Operation_Items
};

class TNodo {
public:
    bool Enable = false;
    plat::String Description;
    std::int32_t Node_ID_Primary = 0;
    std::int32_t Node_ID_Secondary = 0;
    std::uint8_t Send_SNK = 0;
    std::uint8_t Reset_App = 0;
    std::vector<std::unique_ptr<TVariabile>> Var_List;  // owned, in file order
    std::uint8_t Node_State = 0;
    std::uint8_t Ident_Num = 0;
    std::uint8_t BCDtoINT_IN = 0;
    std::int32_t Swap_Ident = 0;
    std::uint8_t Access_Number = 0;
    std::uint8_t Node_ID_Type = 0;   // 0 primary, 1 secondary address identifies the node
    std::uint8_t Var_List_Type = 0;  // 0 "By Type", 1 "By Position"
    std::uint8_t Cut_After = 0;      // editor: frame count - 1; scan writers: frame count
    std::int32_t NS_Topic = 0;
    std::int32_t IN_Topic = 0;
    std::int32_t AN_Topic = 0;
    std::uint8_t MBus_Type = 0;      // 0 wireless, 1 wired
    // Wireless address parts and key bytes are held as the user typed them (decimal, "$"
    // or "0x" hexadecimal); wMBus_Key[0] is key byte 1.
    plat::String wMBus_ManID;
    plat::String wMBus_Add;
    plat::String wMBus_Ver;
    plat::String wMBus_DevType;
    std::uint8_t wMBus_En_Key = 0;
    std::array<plat::String, 16> wMBus_Key;
    std::uint8_t wMBus_RSSI = 0;
    std::int32_t wMBus_RSSI_Topic = 0;

    // The address named by Node_ID_Type.
    std::int32_t Node_ID() const { return Node_ID_Type == 0 ? Node_ID_Primary : Node_ID_Secondary; }
};

using TNodi_List = std::vector<std::unique_ptr<TNodo>>;

// Texts of the editor's lists; a field holds the index of its item.
extern const char16_t* const Type_Of_Data_Items[26];
extern const char16_t* const VIFE_Items[152];
extern const char16_t* const Function_Field_Items[4];
extern const char16_t* const Dimension_Items[8];
extern const char16_t* const Post_Operation_Items[13];

extern const char16_t* const MBus_Network_Root;     // "M-Bus_Network"
extern const char16_t* const SW_Version_Comment;    // "SW_VERSION = 1.022", after the root
extern const char16_t* const MBus_Network_Tree_Root; // caption of the tree's root item

// Tree captions: "ID <address> - <description>" for a wired node, "wM-Bus Node - Address
// <address> - <description>" for a wireless one; "VAR - <description>" for a variable.
plat::String Node_Caption(const TNodo& Node);
plat::String Variable_Caption(const TVariabile& Var);

// Replaces Nodi_List with the network of the file. True when the whole file was read or the
// file does not exist; false with the message to show otherwise (see the top of this file).
bool Load_MBus_Network(const plat::String& FileName, TNodi_List& Nodi_List, plat::String& Error);

// Rewrites the file from Nodi_List, every attribute of every node and variable written.
void Save_MBus_Network(const plat::String& FileName, const TNodi_List& Nodi_List);

// BACnet engineering unit that fits a variable of this type of data and VIFE index; 95
// ("no-units") when none does.
int Found_BACnet_EngUnits(std::int32_t Type_Of_Data, std::int32_t VIFE);
