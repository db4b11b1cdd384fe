#pragma once
// The M-Bus frame decoders of the scan: a wired RSP_UD long frame becomes a TSlave_MBus with
// its data records, a wireless telegram finds or adds its TSlave_wMBus (decrypting security
// modes 5 and 7 with the meter's key) and replaces its records.
//
// Contract:
// - The bytes are untrusted. Nothing is read outside [bytes, bytes + length) or written
//   outside it (decryption writes in place only inside it); nothing raises. Every call ends
//   with an outcome (Records_End, Wireless_End) naming why and where decoding stopped.
// - A record is stored only when all its bytes lie inside the data; one that runs past them
//   ends the parse as truncated.
// - The result lists and their objects are changed only while a TScanResultsGuard is held;
//   the wireless callback runs after the guard has been released.
// - One decoder belongs to one thread at a time (the scan thread owns one): the working
//   buffers App_Data_Val and App_Vife_Val are per decoder, not per call.
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "UDecode_VIF.h"
#include "plat/Classes.h"
#include "plat/String.h"
#include "plat/SysUtils.h"

class TSlave_wMBus;

enum TMBusType { mtWired, mtWireless };
enum TRadioModule { rmTelit, rmRadioCrafts };

// Why the record walk stopped; Offset is the index in the record data where it stopped.
enum class TRecordsOutcome {
    EndOfData,         // every byte up to LastIndex was consumed
    MoreRecords,       // DIF 0x1F: the next telegram carries further records
    ManufacturerData,  // DIF 0x0F: manufacturer-specific data to the end
    ReservedDIF,       // DIF 0x3F..0x7F
    Truncated,         // a record (DIFE, VIF, VIFE, plain-text unit, LVAR or data) runs past the data
    Selection,         // data-field coding 8 (selection for read-out)
    AnyVIF,            // VIF 0x7E/0xFE
    ReservedLength,    // LVAR 0xF7..0xFF: stored with errata, its length is unknown
    FixedStructure,    // wired CI 0x73/0x77: a fixed data structure, not variable records
    FrameInvalid,      // wired frame too short, malformed, or Index outside the list
};

struct TRecordsEnd {
    TRecordsOutcome Outcome = TRecordsOutcome::EndOfData;
    std::int32_t Offset = 0;
};

// What became of a wireless telegram.
enum class TWirelessOutcome {
    Ignored,       // too short for its link layer, CI field and application address: list unchanged
    Readable,      // records parsed (Records_End tells how the walk ended)
    Encrypted,     // not readable: Cripted, no records
    LayerPastData, // a layer or the encrypted payload runs past the data: Cripted, no records
    Dropped,       // mode 7 decryption did not give 2F 2F (or no message counter): meter unchanged
};

struct TWirelessEnd {
    TWirelessOutcome Outcome = TWirelessOutcome::Ignored;
    std::int32_t Index = -1;  // the meter's index in the list, -1 when ignored
};

// Called with the meter's index and the meter after every telegram that reached a meter.
using TWirelessSlaveCallback = std::function<void(std::int32_t Index, TSlave_wMBus* Slave)>;

class TMBusFrameDecoder : public TVifDecoder {
public:
    // The lists the decoders fill (List_Slave_MBus and List_Slave_wMBus of the program).
    TMBusFrameDecoder(plat::TList& Slaves_MBus, plat::TList& Slaves_wMBus);

    TMBusType MBusType = mtWired;
    // Set by every call of Decode_Wireless_Frame (on the listener thread); the scan thread
    // clears it when a wireless scan starts and reads it while listening.
    std::atomic<bool> New_Frame_Wireless{false};
    TRecordsEnd Records_End;
    TWirelessEnd Wireless_End;

    // The checks the wired scan makes on an answer: 0x68 L L 0x68 ... checksum 0x16, longer
    // than 21 bytes. The L field is not compared with the length.
    static bool Check_Wired_Frame(const std::uint8_t* Ans_Array, std::int32_t Ans_Len);

    // Index < 0: a new TSlave_MBus from the frame's header is appended; otherwise the records
    // are added to slave Index. Returns the slave's index, or -1 when the frame fails the
    // checks or Index is outside the list (nothing changes then). Complete is false when the
    // records ended with DIF 0x1F.
    std::int32_t Decode_Wired_Frame(const std::uint8_t* Ans_Array, std::int32_t Ans_Len, std::int32_t Index,
                                    bool& Complete);

    // Appends one TVariable_MBus per record of Data[0..LastIndex] (LastIndex is the index of
    // the last byte; Data holds at least LastIndex + 1 bytes). False when DIF 0x1F ended them.
    bool Decode_Data_Records(plat::TList& List, std::int32_t LastIndex, const std::uint8_t* Data);

    // Handles one telegram (L field first, radio trailer last), decrypting in place.
    // Callback runs in every case that reached a meter, dropped telegrams included.
    void Decode_Wireless_Frame(TRadioModule RadioModule, std::uint8_t* Ans_Array, std::int32_t Ans_Len,
                               const TWirelessSlaveCallback& Callback);

    // Index in the wireless list of the meter with this application-layer address, or -1.
    std::int32_t Find_Wireless_Slave(std::uint16_t Manufacturer, std::int32_t Address, std::uint8_t Version,
                                     std::uint8_t DeviceType) const;

    static plat::String Medium_Description(std::int32_t Code);
    // Three letters of a 15-bit manufacturer code; a letter outside A..Z shows as "?".
    static plat::String Trova_Man(std::uint16_t Id);
    // "0A1B" -> 0A 1B. Reading stops at the first pair that is not two hexadecimal digits; a
    // trailing single digit is ignored.
    static std::vector<std::uint8_t> Hex_Text_To_Bytes(plat::StringView Text);

    // Signal strength of a telegram from the last byte of its datagram.
    static std::int8_t RSSI_Of(TRadioModule RadioModule, std::uint8_t Last);

private:
    bool Decode_Records_At(plat::TList& List, const std::uint8_t* Data, std::int32_t Length, double Now);
    void Stamp(double Now);
    void Replace_Records(TSlave_wMBus& Slave, std::int32_t Index, const std::uint8_t* Bytes, std::int32_t DataEnd,
                         bool PayloadPast, std::int8_t Rssi, double Now);

    plat::TList& Slaves_MBus_;
    plat::TList& Slaves_wMBus_;
    // Date and time texts of the records of one frame, formatted once per second of the clock.
    std::int64_t Stamp_Second_ = -1;
    plat::TFormatSettings Stamp_Settings_;
    plat::String Date_Text_;
    plat::String Time_Text_;
};
