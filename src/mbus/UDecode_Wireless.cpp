// Wireless M-Bus telegrams: link layer, application-layer address, signal strength, the
// extended link layers and the authentication and fragmentation layer, security modes 5
// and 7, and which payloads are readable.
#include <cstring>

#include "BlockAES.h"
#include "UDecode_Frame.h"
#include "UScan_Results.h"
#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace {

// Offsets counted from the L field.
constexpr int Off_C = 1;
constexpr int Off_Manufacturer = 2;
constexpr int Off_Id = 4;
constexpr int Off_Version = 8;
constexpr int Off_DeviceType = 9;
constexpr int Off_CI = 10;
// The long transport header's address runs to offset 18.
constexpr int Long_Address_End = 19;

constexpr std::uint8_t Idle_Filler = 0x2F;

// A view of the telegram's data bytes (L field up to the byte before the radio trailer) in
// which every read is checked; a read beyond the data marks the view as run past.
class TTelegram {
public:
    TTelegram(const std::uint8_t* b, std::int32_t end) : b_(b), end_(end) {}
    std::uint8_t At(std::int32_t i)
    {
        if (i < 0 || i >= end_) {
            past_ = true;
            return 0;
        }
        return b_[i];
    }
    bool Has(std::int32_t i) const { return i >= 0 && i < end_; }
    // The two bytes at i are the idle filler 2F 2F (a plain or decrypted payload).
    bool Starts_Plain(std::int32_t i) const { return Has(i + 1) && b_[i] == Idle_Filler && b_[i + 1] == Idle_Filler; }
    bool Past() const { return past_; }
    std::int32_t End() const { return end_; }

private:
    const std::uint8_t* b_;
    std::int32_t end_;
    bool past_ = false;
};

// MAC length of the authentication and fragmentation layer by authentication type.
int Mac_Length(int At)
{
    switch (At) {
    case 3: return 2;
    case 4: return 4;
    case 5: return 8;
    case 6: return 12;
    case 7: return 16;
    case 8: return 12;
    default: return 0;
    }
}

// CBC decryption of Blocks x 16 bytes at Payload, written back only when Accept allows it.
// False when the cipher refused (it cannot for whole blocks, but nothing may escape).
template <class TAccept>
bool Decrypt_In_Place(std::uint8_t* Payload, int Blocks, const TAesKey& Key, const TAesBlock& Iv, TAccept Accept)
{
    const std::size_t n = std::size_t(Blocks) * 16;
    try {
        TAesMemoryStream source(std::vector<std::uint8_t>(Payload, Payload + n));
        TAesMemoryStream plain;
        Aes_Cbc_Decrypt_Stream(source, std::int64_t(n), Key, Iv, plain);
        if (plain.Bytes().size() != n || !Accept(plain.Bytes().data())) return false;
        std::memcpy(Payload, plain.Bytes().data(), n);
        return true;
    } catch (const plat::Exception&) {
        return false;
    }
}

enum class TKeyResult { NotDecrypted, Decrypted, PayloadPast, Dropped };

// Mode 5 behind the extended link layer I (8C cc acc 7A acc st cfg cfg payload): N blocks
// from offset 18 under the meter's key, IV = link-layer bytes 2..9 and the access number eight
// times; written back whatever they give, the readability test judges them.
TKeyResult Try_Mode5(std::uint8_t* b, const TTelegram& t, const TAesKey& Key, bool& Tried)
{
    Tried = false;
    if (b[Off_CI] != 0x8C || !t.Has(17) || b[13] != 0x7A || (b[17] & 0x1F) != 5 || t.Starts_Plain(18))
        return TKeyResult::NotDecrypted;
    Tried = true;
    const int blocks = b[16] >> 4;
    if (18 + blocks * 16 > t.End()) return TKeyResult::PayloadPast;
    if (blocks == 0) return TKeyResult::NotDecrypted;
    TAesBlock iv;
    std::memcpy(iv.data(), b + 2, 8);
    std::memset(iv.data() + 8, b[14], 8);
    return Decrypt_In_Place(b + 18, blocks, Key, iv, [](const std::uint8_t*) { return true; })
               ? TKeyResult::Decrypted
               : TKeyResult::NotDecrypted;
}

// Mode 7 behind 8C and the authentication and fragmentation layer 90: the session key is the
// CMAC of 00, the message counter, the link-layer identification number and 07 x 7; the
// payload after the configuration extension is decrypted with a zero IV and kept only when it
// starts 2F 2F. A failed decryption, or a layer without message counter, drops the telegram.
TKeyResult Try_Mode7(std::uint8_t* b, const TTelegram& t, const TAesKey& Key)
{
    if (b[Off_CI] != 0x8C || !t.Has(14) || b[13] != 0x90) return TKeyResult::NotDecrypted;
    const int afl = b[14];
    const int transport = 15 + afl;
    int hi = -1, payload = -1;
    if (t.Has(transport) && b[transport] == 0x7A) {
        hi = afl + 19;
        payload = afl + 21;
    } else if (t.Has(transport) && b[transport] == 0x72) {
        hi = afl + 27;
        payload = afl + 29;
    }
    if (hi < 0 || !t.Has(hi) || (b[hi] & 0x1F) != 7 || t.Starts_Plain(payload)) return TKeyResult::NotDecrypted;

    // The AFL fields, each present by its FCL bit, in their fixed order; they must fill the
    // layer exactly up to the transport CI.
    if (!t.Has(16)) return TKeyResult::NotDecrypted;
    const int fcl = b[15] | b[16] << 8;
    int p = 17;
    int at = 0;
    bool counter = false;
    std::uint8_t mc[4] = {};
    if (fcl & (1 << 13)) {
        if (!t.Has(p)) return TKeyResult::NotDecrypted;
        at = b[p] & 0x0F;
        p += 1;
    }
    if (fcl & (1 << 9)) p += 2;
    if (fcl & (1 << 11)) {
        if (!t.Has(p + 3)) return TKeyResult::NotDecrypted;
        std::memcpy(mc, b + p, 4);
        counter = true;
        p += 4;
    }
    if (fcl & (1 << 10)) p += Mac_Length(at);
    if (fcl & (1 << 12)) p += 2;
    if (p != transport) return TKeyResult::NotDecrypted;
    if (!counter) return TKeyResult::Dropped;

    const int blocks = b[hi - 1] >> 4;
    if (payload + blocks * 16 > t.End()) return TKeyResult::PayloadPast;
    if (blocks == 0) return TKeyResult::Dropped;
    std::uint8_t input[16] = {0x00};
    std::memcpy(input + 1, mc, 4);
    std::memcpy(input + 5, b + Off_Id, 4);
    std::memset(input + 9, 0x07, 7);
    TAesBlock session{};
    try {
        TAesMemoryStream source(std::vector<std::uint8_t>(input, input + 16));
        Aes_Cmac_Stream(source, 16, Key, session);
    } catch (const plat::Exception&) {
        return TKeyResult::Dropped;
    }
    const TAesBlock zero{};
    return Decrypt_In_Place(b + payload, blocks, session, zero,
                            [](const std::uint8_t* plain) {
                                return plain[0] == Idle_Filler && plain[1] == Idle_Filler;
                            })
               ? TKeyResult::Decrypted
               : TKeyResult::Dropped;
}

TKeyResult Decrypt_With_Key(std::uint8_t* b, const TTelegram& t, const TAesKey& Key)
{
    bool tried = false;
    const TKeyResult r = Try_Mode5(b, t, Key, tried);
    return tried ? r : Try_Mode7(b, t, Key);
}

} // namespace

std::int8_t TMBusFrameDecoder::RSSI_Of(TRadioModule RadioModule, std::uint8_t Last)
{
    if (RadioModule == rmTelit) return static_cast<std::int8_t>(std::uint8_t(-int(Last) - 2));
    return static_cast<std::int8_t>(int(static_cast<std::int8_t>(Last)) / 2 + 1);
}

std::int32_t TMBusFrameDecoder::Find_Wireless_Slave(std::uint16_t Manufacturer, std::int32_t Address,
                                                   std::uint8_t Version, std::uint8_t DeviceType) const
{
    TScanResultsGuard guard;
    const TSlave_wMBus* found = Find_Slave_wMBus(Slaves_wMBus_, Manufacturer, Address, Version, DeviceType);
    return found ? Slaves_wMBus_.IndexOf(found) : -1;
}

std::vector<std::uint8_t> TMBusFrameDecoder::Hex_Text_To_Bytes(plat::StringView Text)
{
    auto digit = [](char16_t c) -> int {
        if (c >= u'0' && c <= u'9') return c - u'0';
        if (c >= u'A' && c <= u'F') return c - u'A' + 10;
        if (c >= u'a' && c <= u'f') return c - u'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes;
    bytes.reserve(Text.size() / 2);
    for (std::size_t i = 0; i + 1 < Text.size(); i += 2) {
        const int hi = digit(Text[i]), lo = digit(Text[i + 1]);
        if (hi < 0 || lo < 0) break;
        bytes.push_back(std::uint8_t(hi << 4 | lo));
    }
    return bytes;
}

void TMBusFrameDecoder::Decode_Wireless_Frame(TRadioModule RadioModule, std::uint8_t* b, std::int32_t len,
                                              const TWirelessSlaveCallback& Callback)
{
    New_Frame_Wireless = true;
    Wireless_End = {TWirelessOutcome::Ignored, -1};
    Records_End = {TRecordsOutcome::EndOfData, 0};
    const std::int32_t dataEnd = len - (RadioModule == rmTelit ? 2 : 1);
    if (b == nullptr || dataEnd <= Off_CI) return;
    const std::uint8_t ci = b[Off_CI];
    const bool alaIsLla = ci == 0x7A || ci == 0x8C || ci == 0x8D;
    if (!alaIsLla && dataEnd < Long_Address_End) return;

    const double now = plat::Now();
    const std::uint16_t llaManufacturer = std::uint16_t(b[Off_Manufacturer] | b[Off_Manufacturer + 1] << 8);
    const std::int32_t llaId = std::int32_t(std::uint32_t(b[Off_Id]) | std::uint32_t(b[Off_Id + 1]) << 8 |
                                            std::uint32_t(b[Off_Id + 2]) << 16 | std::uint32_t(b[Off_Id + 3]) << 24);
    std::uint16_t alaManufacturer = llaManufacturer;
    std::int32_t alaId = llaId;
    std::uint8_t alaVersion = b[Off_Version], alaType = b[Off_DeviceType];
    if (!alaIsLla) {
        alaId = std::int32_t(std::uint32_t(b[11]) | std::uint32_t(b[12]) << 8 | std::uint32_t(b[13]) << 16 |
                             std::uint32_t(b[14]) << 24);
        alaManufacturer = std::uint16_t(b[15] | b[16] << 8);
        alaVersion = b[17];
        alaType = b[18];
    }
    const std::int8_t rssi = RSSI_Of(RadioModule, b[len - 1]);

    TSlave_wMBus* slave = nullptr;
    std::int32_t index = -1;
    {
        TScanResultsGuard guard;
        index = Find_Wireless_Slave(alaManufacturer, alaId, alaVersion, alaType);
        TTelegram t(b, dataEnd);
        bool payloadPast = false;
        bool dropped = false;
        if (index < 0) {
            slave = new TSlave_wMBus;
            slave->Message_Type = b[Off_C];
            slave->ALA_Manufacturer = alaManufacturer;
            slave->ALA_Manu_str = Trova_Man(alaManufacturer);
            slave->ALA_Address = alaId;
            slave->ALA_Version = alaVersion;
            slave->ALA_DeviceType = alaType;
            slave->LLA_Manufacturer = llaManufacturer;
            slave->LLA_Manu_str = Trova_Man(llaManufacturer);
            slave->LLA_Address = llaId;
            slave->LLA_Version = b[Off_Version];
            slave->LLA_DeviceType = b[Off_DeviceType];
            slave->RSSI = rssi;
            slave->RadioCrafts_Ind_Tab_Decript = -1;
            index = Slaves_wMBus_.Add(slave);
        } else {
            slave = static_cast<TSlave_wMBus*>(Slaves_wMBus_.Items(index));
            if (slave->Enable_Key) {
                TAesKey key;
                std::memcpy(key.data(), slave->Key, key.size());
                const TKeyResult r = Decrypt_With_Key(b, t, key);
                if (r == TKeyResult::Dropped) {
                    Wireless_End = {TWirelessOutcome::Dropped, index};
                    dropped = true;
                }
                payloadPast = r == TKeyResult::PayloadPast;
            }
        }
        if (!dropped) Replace_Records(*slave, index, b, dataEnd, payloadPast, rssi, now);
    }
    if (Callback) Callback(index, slave);
}

void TMBusFrameDecoder::Replace_Records(TSlave_wMBus& Slave, std::int32_t Index, const std::uint8_t* b,
                                        std::int32_t DataEnd, bool PayloadPast, std::int8_t Rssi, double Now)
{
    Slave.Cancel_Var();
    Slave.DateTime = Now;
    Slave.RSSI = Rssi;

    // Readability by CI (and next CI) with the payload offset; the mode here is the low four
    // bits of the configuration word's high byte.
    TTelegram t(b, DataEnd);
    int offset = -1;
    bool readable = false;
    auto by_mode = [&](int hi, int off) {
        const int mode = t.At(hi) & 0x0F;
        t.At(off - 1);
        offset = off;
        readable = mode == 0 || (mode == 5 && t.Starts_Plain(off));
    };
    switch (b[Off_CI]) {
    case 0x7A: by_mode(14, 15); break;
    case 0x72:
        t.At(22);
        offset = 23;
        readable = t.Starts_Plain(23);
        break;
    case 0x8C:
        switch (t.At(13)) {
        case 0x78:
            offset = 14;
            readable = true;
            break;
        case 0x7A: by_mode(17, 18); break;
        case 0x72: by_mode(25, 26); break;
        case 0x90: {
            const int afl = t.At(14);
            const std::uint8_t transport = t.At(15 + afl);
            if (transport == 0x7A || transport == 0x72) {
                offset = afl + (transport == 0x7A ? 21 : 29);
                t.At(offset - 1);
                readable = t.Starts_Plain(offset);
            }
            break;
        }
        default: break;
        }
        break;
    case 0x8D:
        switch (t.At(19)) {
        case 0x78:
            offset = 20;
            readable = true;
            break;
        case 0x7A: by_mode(23, 24); break;
        case 0x72: by_mode(31, 32); break;
        default: break;
        }
        break;
    default: break;
    }

    if (t.Past() || PayloadPast) {
        Slave.Cripted = true;
        Wireless_End = {TWirelessOutcome::LayerPastData, Index};
    } else if (!readable) {
        Slave.Cripted = true;
        Wireless_End = {TWirelessOutcome::Encrypted, Index};
    } else {
        Slave.Cripted = false;
        Wireless_End = {TWirelessOutcome::Readable, Index};
        const TMBusType kept = MBusType;
        MBusType = mtWireless;
        Decode_Records_At(Slave.List_Var, b + offset, DataEnd - offset, Now);
        MBusType = kept;
    }
}
