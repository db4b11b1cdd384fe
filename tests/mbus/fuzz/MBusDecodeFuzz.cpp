#include "MBusDecodeFuzz.h"

#include <cstring>
#include <vector>

#include "UDecode_Frame.h"
#include "UScan_Results.h"

namespace {

// The key of the committed wireless fixtures, so that mutated mode 5 and 7 telegrams still
// reach the decryption and the records behind it.
const std::uint8_t Fixture_Key[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                                      0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F};

std::string Hex(const std::uint8_t* b, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[b[i] >> 4];
        s += digits[b[i] & 0x0F];
    }
    return s;
}

struct TChecker {
    std::string Fault;

    void Fail(const char* Where, const std::string& What)
    {
        if (Fault.empty()) Fault = std::string(Where) + ": " + What;
    }

    // Every stored record's data bytes appear in the buffer; lengths stay within their limits.
    void Records(const char* Where, const plat::TList& List, const std::vector<std::uint8_t>& Buffer)
    {
        const std::string all = Hex(Buffer.data(), Buffer.size());
        for (int i = 0; i < List.Count(); ++i) {
            const auto& r = *static_cast<const TVariable_MBus*>(List.Items(i));
            if (r.nbyte < 0 || std::size_t(r.nbyte) > Buffer.size()) return Fail(Where, "record length outside the input");
            if (r.totdati.size() != std::size_t(r.nbyte) * 2) return Fail(Where, "data text does not match its length");
            std::string data(r.totdati.begin(), r.totdati.end());
            bool found = data.empty();
            for (auto at = all.find(data); !found && at != std::string::npos; at = all.find(data, at + 1))
                found = at % 2 == 0;
            if (!found) return Fail(Where, "record made of bytes outside the input");
            if (r.VIF_ASCII.size() > 192) return Fail(Where, "plain-text unit longer than 192");
            if (r.DIFE.size() > 40 || r.VIFE.size() > 40) return Fail(Where, "more than 10 extensions kept");
            if (std::size_t(r.numdife) * 4 != r.DIFE.size()) return Fail(Where, "DIFE count and text differ");
        }
    }

    void Outcome(const char* Where, const TRecordsEnd& End, std::size_t Size)
    {
        if (int(End.Outcome) < int(TRecordsOutcome::EndOfData) || int(End.Outcome) > int(TRecordsOutcome::FrameInvalid))
            Fail(Where, "records outcome out of range");
        if (End.Offset < 0 || std::size_t(End.Offset) > Size) Fail(Where, "records stop outside the data");
    }
};

} // namespace

std::string Fuzz_MBus_Decoders(const std::uint8_t* Data, std::size_t Size)
{
    TChecker check;
    plat::TList wired, wireless;
    TMBusFrameDecoder dec(wired, wireless);
    const auto length = static_cast<std::int32_t>(Size);

    // Wired frame as received, then sealed so that the header checks pass.
    {
        std::vector<std::uint8_t> frame(Data, Data + Size);
        bool complete = false;
        std::int32_t index = dec.Decode_Wired_Frame(frame.data(), length, -1, complete);
        check.Outcome("wired", dec.Records_End, Size);
        if (index >= 0) check.Records("wired", static_cast<TSlave_MBus*>(wired.Items(index))->List_Var, frame);
        if (Size >= 22) {
            std::vector<std::uint8_t> sealed(Data, Data + Size);
            sealed[0] = sealed[3] = 0x68;
            sealed[1] = sealed[2] = std::uint8_t(Size - 6);
            std::uint8_t sum = 0;
            for (std::size_t i = 4; i + 2 < Size; ++i) sum = std::uint8_t(sum + sealed[i]);
            sealed[Size - 2] = sum;
            sealed[Size - 1] = 0x16;
            index = dec.Decode_Wired_Frame(sealed.data(), length, index, complete);
            if (index < 0) check.Fail("wired sealed", "a frame passing the checks was refused");
            check.Outcome("wired sealed", dec.Records_End, Size);
            if (index >= 0) check.Records("wired sealed", static_cast<TSlave_MBus*>(wired.Items(index))->List_Var, sealed);
        }
    }

    // The record walk over the whole input, in both idle-filler modes.
    for (TMBusType type : {mtWired, mtWireless}) {
        std::vector<std::uint8_t> records(Data, Data + Size);
        TSlave_MBus holder;
        dec.MBusType = type;
        dec.Decode_Data_Records(holder.List_Var, length - 1, records.data());
        check.Outcome("records", dec.Records_End, Size);
        check.Records("records", holder.List_Var, records);
    }
    dec.MBusType = mtWired;

    // Wireless: a new meter, then the same telegram for the meter with a key.
    for (TRadioModule module : {rmTelit, rmRadioCrafts}) {
        Clear_List_Slave_wMBus(wireless);
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<std::uint8_t> telegram(Data, Data + Size);
            int calls = 0;
            dec.New_Frame_Wireless = false;
            dec.Decode_Wireless_Frame(module, telegram.data(), length,
                                      [&](std::int32_t Index, TSlave_wMBus* Slave) {
                                          ++calls;
                                          if (Index < 0 || Index >= wireless.Count() || wireless.Items(Index) != Slave)
                                              check.Fail("wireless", "callback with a meter not in the list");
                                      });
            const TWirelessEnd end = dec.Wireless_End;
            if (!dec.New_Frame_Wireless) check.Fail("wireless", "New_Frame_Wireless not set");
            if (end.Outcome == TWirelessOutcome::Ignored) {
                if (calls != 0 || end.Index != -1) check.Fail("wireless", "an ignored telegram reached a meter");
                break;
            }
            if (calls != 1 || end.Index < 0 || end.Index >= wireless.Count())
                check.Fail("wireless", "no callback or index for a handled telegram");
            if (end.Index < 0 || end.Index >= wireless.Count()) break;
            auto* meter = static_cast<TSlave_wMBus*>(wireless.Items(end.Index));
            if (end.Outcome == TWirelessOutcome::Readable) {
                check.Outcome("wireless", dec.Records_End, Size);
                if (meter->Cripted) check.Fail("wireless", "readable but marked encrypted");
            } else if (end.Outcome != TWirelessOutcome::Dropped) {
                if (!meter->Cripted || meter->List_Var.Count() != 0)
                    check.Fail("wireless", "unreadable telegram left records");
            }
            if (end.Outcome != TWirelessOutcome::Dropped) check.Records("wireless", meter->List_Var, telegram);
            meter->Enable_Key = true;
            std::memcpy(meter->Key, Fixture_Key, sizeof Fixture_Key);
        }
    }
    Clear_List_Slave_MBus(wired);
    Clear_List_Slave_wMBus(wireless);
    return check.Fault;
}

#ifdef MBUS_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (!Fuzz_MBus_Decoders(Data, Size).empty()) __builtin_trap();
    return 0;
}
#endif
