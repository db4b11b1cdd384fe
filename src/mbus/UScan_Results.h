#pragma once
// What a scan finds: wired slaves (TSlave_MBus) and wireless meters (TSlave_wMBus), each
// owning its decoded data records (TVariable_MBus). The program-wide lists List_Slave_MBus
// and List_Slave_wMBus (UComon.h) hold them; only the Clear_* functions below free entries.
//
// Ownership: a slave owns every record in its List_Var. Freeing a slave, by delete or by
// Destry, frees the records still listed, so a record is handed back only by removing it
// from the list (Cancel_Var) and never freed while it is still listed.
//
// Threads: the scan thread fills the wired list, the UDP listener thread adds and rewrites
// wireless meters while the user's thread reads them. Every reader and writer of the two
// lists or of their objects, while a scan may be running, holds a TScanResultsGuard.
#include <cstdint>

#include "plat/Classes.h"
#include "plat/String.h"

class TVariable_MBus : public plat::TObject {
public:
    TVariable_MBus();
    plat::String ClassName() const override { return u"TVariable_MBus"; }

    std::int32_t dato_A = 0;         // data bytes 0..3, little-endian
    std::int32_t dato_B = 0;         // data bytes 4..7, little-endian
    std::uint8_t dimension = 0;      // DIF and 0x0F
    std::uint16_t function_fild = 0; // 0 instantaneous, 1 maximum, 2 minimum, 3 error state
    std::int64_t storage_number = 0;
    std::uint16_t tarif = 0;
    std::uint16_t device = 0;        // subunit, shown as "Unit"
    std::uint16_t type_data = 0;
    std::uint16_t scale = 0;         // never filled
    bool errata = false;
    plat::String sterror;
    std::int32_t nbyte = 0;
    plat::String descdim;
    std::int32_t numdife = 0;
    std::int32_t numvife = 0;        // never filled
    std::int32_t vifvalue = -1;      // VIF (or first VIFE after 0xFB/0xFD) of the look-up
    std::int32_t PrinVIFE = 0;
    std::uint8_t casovif = 0;        // 0 primary, 1 0xFD, 2 0xFB, 100 manufacturer, 101 text
    std::int32_t numdato = 0;        // never filled
    std::uint8_t VIF = 0;
    plat::String VIFE;               // "$hh " per byte
    plat::String DIF;                // "$hh"
    plat::String DIFE;               // "$hh " per byte
    plat::String totdati;
    plat::String VIF_ASCII;
    plat::String Description;        // never filled
    plat::String datagiorno;
    plat::String tempo;
    plat::String icon;               // never filled
    std::int32_t Type_Data_Vife = 0;
    plat::String Desc_Type_Data;
    plat::String ValueStr;
    plat::String FunctionFieldStr;
    plat::String DataFieldStr;
    bool Enable = true;              // selected for saving
    bool Real_Wireless_Var = false;  // false for a wireless idle filler
    bool Is_BCD = false;
    void* Node = nullptr;            // the record's node in the scan window's tree
};

class TSlave_MBus : public plat::TObject {
public:
    TSlave_MBus() = default;
    ~TSlave_MBus() override;
    plat::String ClassName() const override { return u"TSlave_MBus"; }
    // Frees the records and the slave.
    void Destry() { delete this; }
    TVariable_MBus* Var(int Index) const { return static_cast<TVariable_MBus*>(List_Var.Items(Index)); }

    std::uint16_t Primary_Addresss = 0;
    plat::String Secondary_Addresss;  // identification number as hexadecimal text
    std::int32_t Manufacture = 0;
    std::int32_t Version = 0;
    std::int32_t Medium = 0;
    std::int32_t Status = 0;
    plat::String descManufacture;
    plat::String descmedium;
    plat::String description;         // never filled
    plat::TList List_Var;             // TVariable_MBus, owned, in decoding order
    void* Node = nullptr;             // the slave's node in the wired result tree
};

class TSlave_wMBus : public plat::TObject {
public:
    TSlave_wMBus() = default;
    ~TSlave_wMBus() override;
    plat::String ClassName() const override { return u"TSlave_wMBus"; }
    // Frees every record, last first; the list stays, empty.
    void Cancel_Var();
    // Frees the records and the meter.
    void Destry() { delete this; }
    TVariable_MBus* Var(int Index) const { return static_cast<TVariable_MBus*>(List_Var.Items(Index)); }

    std::uint8_t Message_Type = 0;    // C field of the last telegram
    std::uint16_t LLA_Manufacturer = 0;
    plat::String LLA_Manu_str;
    std::int32_t LLA_Address = 0;
    std::uint8_t LLA_Version = 0;
    std::uint8_t LLA_DeviceType = 0;
    std::uint16_t ALA_Manufacturer = 0;
    plat::String ALA_Manu_str;
    std::int32_t ALA_Address = 0;
    std::uint8_t ALA_Version = 0;
    std::uint8_t ALA_DeviceType = 0;
    std::int8_t RSSI = 0;
    double DateTime = 0;              // days since 1899-12-30
    bool Cripted = false;             // encrypted and not decrypted
    bool Enable = true;               // selected for saving
    bool Enable_Key = false;
    std::uint8_t Key[16] = {};        // AES-128 key, valid when Enable_Key
    std::int32_t RadioCrafts_Ind_Tab_Decript = 0;  // slot 1..64 of the radio module; -1 none
    plat::TList List_Var;             // TVariable_MBus of the last telegram, owned
    void* Node = nullptr;             // the meter's node in the wireless result tree
};

// Empty a list of TSlave_MBus / TSlave_wMBus, freeing every entry with its records.
void Clear_List_Slave_MBus(plat::TList& List);
void Clear_List_Slave_wMBus(plat::TList& List);

// A wireless meter of the list with this application-layer address; nullptr when none.
TSlave_wMBus* Find_Slave_wMBus(const plat::TList& List, std::uint16_t Manufacturer, std::int32_t Address,
                               std::uint8_t Version, std::uint8_t DeviceType);

// Holds the one lock of the scan results while it lives; a thread may take it again while
// it holds it.
class TScanResultsGuard {
public:
    TScanResultsGuard();
    ~TScanResultsGuard();
    TScanResultsGuard(const TScanResultsGuard&) = delete;
    TScanResultsGuard& operator=(const TScanResultsGuard&) = delete;
};
