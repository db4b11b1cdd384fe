// Costs of the M-Bus decoders: short wired answers per second beside a loop that only checks
// and copies the same frame (the floor), long frames in records per second with the cost per
// record across frame lengths, wireless telegrams in modes 0, 5 and 7 with the CBC decryption
// beside OpenSSL's on the same payload, and the heap a stored record takes.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstring>
#include <vector>

#include "BlockAES.h"
#include "UDecode_Frame.h"
#include "UScan_Results.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::uint8_t Key[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                              0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F};

Bytes Wired(const Bytes& records)
{
    Bytes f = {0x68, 0, 0, 0x68, 0x08, 0x05, 0x72, 0x78, 0x56, 0x34, 0x12, 0x43, 0x04, 0x01, 0x16, 0x2A, 0, 0, 0};
    f.insert(f.end(), records.begin(), records.end());
    f[1] = f[2] = std::uint8_t(f.size() - 4);
    std::uint8_t sum = 0;
    for (std::size_t i = 4; i < f.size(); ++i) sum = std::uint8_t(sum + f[i]);
    f.push_back(sum);
    f.push_back(0x16);
    return f;
}

// Records of the kinds meters send most, repeated: 32-bit volume, 16-bit error flag,
// BCD energy, a stored value with one DIFE, a date and time.
Bytes Records(int count)
{
    const Bytes kinds[] = {{0x04, 0x13, 0x10, 0x27, 0x00, 0x00},
                           {0x02, 0xFD, 0x17, 0x03, 0x00},
                           {0x0C, 0x06, 0x78, 0x56, 0x34, 0x12},
                           {0x84, 0x10, 0x13, 0x01, 0x02, 0x03, 0x04},
                           {0x04, 0x6D, 0x1E, 0x0C, 0x2F, 0x25}};
    Bytes r;
    for (int i = 0; i < count; ++i) r.insert(r.end(), kinds[i % 5].begin(), kinds[i % 5].end());
    return r;
}

// A stored record's memory: the object, its list slot and the heap of its texts beyond the
// strings' inline buffer.
std::size_t Record_Bytes(const TVariable_MBus& r)
{
    std::size_t n = sizeof r + sizeof(void*);
    for (const plat::String* s : {&r.sterror, &r.descdim, &r.VIFE, &r.DIF, &r.DIFE, &r.totdati, &r.VIF_ASCII,
                                  &r.Description, &r.datagiorno, &r.tempo, &r.icon, &r.Desc_Type_Data, &r.ValueStr,
                                  &r.FunctionFieldStr, &r.DataFieldStr})
        if (s->capacity() > plat::String().capacity()) n += (s->capacity() + 1) * sizeof(char16_t);
    return n;
}

void Free_Records(plat::TList& list)
{
    // What Cancel_Var does for a wireless meter: every record freed, last first.
    for (int i = list.Count() - 1; i >= 0; --i) {
        delete static_cast<TVariable_MBus*>(list.Items(i));
        list.Delete(i);
    }
}

struct Lists {
    plat::TList wired, wireless;
    ~Lists()
    {
        Clear_List_Slave_MBus(wired);
        Clear_List_Slave_wMBus(wireless);
    }
};

void BM_WiredShortFrame(benchmark::State& state)
{
    const Bytes frame = Wired(Records(2));
    Lists lists;
    TMBusFrameDecoder dec(lists.wired, lists.wireless);
    bool complete;
    dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), -1, complete);
    auto* slave = static_cast<TSlave_MBus*>(lists.wired.Items(0));
    Free_Records(slave->List_Var);
    for (auto _ : state) {
        dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), 0, complete);
        Free_Records(slave->List_Var);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()));
    state.SetLabel(std::to_string(frame.size()) + " bytes, 2 records");
}
BENCHMARK(BM_WiredShortFrame);

// The floor: the checks of the wired scan and the copy into a 2048-byte answer buffer.
void BM_WiredCheckAndCopy(benchmark::State& state)
{
    const Bytes frame = Wired(Records(2));
    std::uint8_t answer[2048];
    for (auto _ : state) {
        std::memcpy(answer, frame.data(), frame.size());
        benchmark::DoNotOptimize(TMBusFrameDecoder::Check_Wired_Frame(answer, std::int32_t(frame.size())));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()));
}
BENCHMARK(BM_WiredCheckAndCopy);

// Frames of 1 to 38 records (248 bytes): time per record stays flat.
void BM_WiredRecords(benchmark::State& state)
{
    const int count = int(state.range(0));
    const Bytes frame = Wired(Records(count));
    Lists lists;
    TMBusFrameDecoder dec(lists.wired, lists.wireless);
    bool complete;
    dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), -1, complete);
    auto* slave = static_cast<TSlave_MBus*>(lists.wired.Items(0));
    Free_Records(slave->List_Var);
    dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), 0, complete);
    std::size_t bytes = 0;
    for (int i = 0; i < slave->List_Var.Count(); ++i) bytes += Record_Bytes(*slave->Var(i));
    const std::size_t perRecord = bytes / std::size_t(count);
    Free_Records(slave->List_Var);
    for (auto _ : state) {
        dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), 0, complete);
        Free_Records(slave->List_Var);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * count);
    state.SetComplexityN(count);
    state.counters["bytes_per_record"] = double(perRecord);
    state.counters["frame_bytes"] = double(frame.size());
}
BENCHMARK(BM_WiredRecords)->Arg(1)->Arg(4)->Arg(16)->Arg(30)->Arg(38)->Complexity(benchmark::oN);

// The longest answer: 255 bytes holding 30 records and manufacturer data after DIF 0x0F.
void BM_WiredFullFrame(benchmark::State& state)
{
    Bytes records = Records(30);
    records.push_back(0x0F);
    records.resize(255 - 21, 0x5A);
    const Bytes frame = Wired(records);
    Lists lists;
    TMBusFrameDecoder dec(lists.wired, lists.wireless);
    bool complete;
    dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), -1, complete);
    auto* slave = static_cast<TSlave_MBus*>(lists.wired.Items(0));
    if (slave->List_Var.Count() != 30) state.SkipWithError("not 30 records");
    Free_Records(slave->List_Var);
    for (auto _ : state) {
        dec.Decode_Wired_Frame(frame.data(), std::int32_t(frame.size()), 0, complete);
        Free_Records(slave->List_Var);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 30);
    state.SetLabel(std::to_string(frame.size()) + " bytes, 30 records");
}
BENCHMARK(BM_WiredFullFrame);

Bytes Telegram(const Bytes& body)
{
    Bytes t = {0, 0x44, 0x43, 0x04, 0x78, 0x56, 0x34, 0x12, 0x01, 0x07};
    t.insert(t.end(), body.begin(), body.end());
    t[0] = std::uint8_t(t.size() - 1);
    t.push_back(0x00);
    t.push_back(0x50);
    return t;
}

Bytes Payload()
{
    Bytes p = {0x2F, 0x2F};
    const Bytes r = Records(2);
    p.insert(p.end(), r.begin(), r.end());
    p.resize(32, 0x2F);
    return p;
}

Bytes Encrypt(const std::uint8_t* key, const std::uint8_t* iv, const Bytes& plain)
{
    Bytes out(plain.size() + 16);
    int n = 0, m = 0;
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, key, iv);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    EVP_EncryptUpdate(ctx, out.data(), &n, plain.data(), int(plain.size()));
    EVP_EncryptFinal_ex(ctx, out.data() + n, &m);
    EVP_CIPHER_CTX_free(ctx);
    out.resize(std::size_t(n + m));
    return out;
}

Bytes Mode_Telegram(int mode)
{
    const Bytes plain = Payload();
    if (mode == 0) {
        Bytes body = {0x7A, 0x5A, 0x00, 0x00, 0x00};
        body.insert(body.end(), plain.begin() + 2, plain.end());
        return Telegram(body);
    }
    if (mode == 5) {
        std::uint8_t iv[16] = {0x43, 0x04, 0x78, 0x56, 0x34, 0x12, 0x01, 0x07};
        std::memset(iv + 8, 0x5A, 8);
        Bytes body = {0x8C, 0x20, 0x5A, 0x7A, 0x5A, 0x00, 0x20, 0x05};
        const Bytes c = Encrypt(Key, iv, plain);
        body.insert(body.end(), c.begin(), c.end());
        return Telegram(body);
    }
    // Mode 7: session key by CMAC over 00, counter, identification, 07 x 7.
    const std::uint8_t input[16] = {0x00, 0x01, 0x00, 0x00, 0x00, 0x78, 0x56, 0x34,
                                    0x12, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07};
    TAesKey key;
    std::memcpy(key.data(), Key, 16);
    TAesMemoryStream source(Bytes(input, input + 16));
    TAesBlock session;
    Aes_Cmac_Stream(source, 16, key, session);
    const std::uint8_t zero[16] = {};
    Bytes body = {0x8C, 0x20, 0x5A, 0x90, 0x0F, 0x00, 0x2C, 0x05, 0x01, 0x00, 0x00, 0x00};
    body.insert(body.end(), 8, 0xA5);
    body.insert(body.end(), {0x7A, 0x5A, 0x00, 0x20, 0x07, 0x00});
    const Bytes c = Encrypt(session.data(), zero, plain);
    body.insert(body.end(), c.begin(), c.end());
    return Telegram(body);
}

void BM_WirelessTelegram(benchmark::State& state)
{
    const int mode = int(state.range(0));
    const Bytes telegram = Mode_Telegram(mode);
    Lists lists;
    TMBusFrameDecoder dec(lists.wired, lists.wireless);
    Bytes work = telegram;
    dec.Decode_Wireless_Frame(rmTelit, work.data(), std::int32_t(work.size()), nullptr);
    auto* meter = static_cast<TSlave_wMBus*>(lists.wireless.Items(0));
    meter->Enable_Key = true;
    std::memcpy(meter->Key, Key, 16);
    int calls = 0;
    const TWirelessSlaveCallback callback = [&](std::int32_t, TSlave_wMBus*) { ++calls; };
    for (auto _ : state) {
        std::memcpy(work.data(), telegram.data(), telegram.size());
        dec.Decode_Wireless_Frame(rmTelit, work.data(), std::int32_t(work.size()), callback);
    }
    if (meter->Cripted || dec.Wireless_End.Outcome != TWirelessOutcome::Readable) state.SkipWithError("not decoded");
    state.SetItemsProcessed(std::int64_t(state.iterations()));
    state.SetLabel("mode " + std::to_string(mode) + ", " + std::to_string(telegram.size()) + " bytes");
}
BENCHMARK(BM_WirelessTelegram)->Arg(0)->Arg(5)->Arg(7);

// The 32-byte payload decrypted by the decoder's routine and by OpenSSL.
void BM_PayloadDecrypt(benchmark::State& state)
{
    const Bytes cipher = Encrypt(Key, Key, Payload());
    TAesKey key;
    std::memcpy(key.data(), Key, 16);
    TAesBlock iv;
    std::memcpy(iv.data(), Key, 16);
    for (auto _ : state) {
        TAesMemoryStream source(cipher);
        TAesMemoryStream plain;
        Aes_Cbc_Decrypt_Stream(source, std::int64_t(cipher.size()), key, iv, plain);
        benchmark::DoNotOptimize(plain.Bytes().data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(cipher.size()));
}
BENCHMARK(BM_PayloadDecrypt);

void BM_PayloadDecryptOpenSSL(benchmark::State& state)
{
    const Bytes cipher = Encrypt(Key, Key, Payload());
    Bytes plain(cipher.size() + 16);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    for (auto _ : state) {
        int n = 0, m = 0;
        EVP_DecryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, Key, Key);
        EVP_CIPHER_CTX_set_padding(ctx, 0);
        EVP_DecryptUpdate(ctx, plain.data(), &n, cipher.data(), int(cipher.size()));
        EVP_DecryptFinal_ex(ctx, plain.data() + n, &m);
        benchmark::DoNotOptimize(plain.data());
    }
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(cipher.size()));
}
BENCHMARK(BM_PayloadDecryptOpenSSL);

} // namespace

BENCHMARK_MAIN();
