// Costs of the wireless decoder's AES work: CBC decryption of one 1 MiB buffer on both paths
// beside OpenSSL's EVP AES-128-CBC on the same buffer, 16-byte telegrams decrypted again and
// again with one meter key, and the CMAC of the 16-byte mode 7 key-derivation input.
// Goals: >= 2 GB/s with the instructions, >= 300 MB/s on the table path.
#include "BlockAES.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <numeric>

namespace {

TAesKey BenchKey()
{
    TAesKey key;
    std::iota(key.begin(), key.end(), std::uint8_t{0x10});
    return key;
}

constexpr std::size_t kBuffer = 1 << 20;

const std::vector<std::uint8_t>& Payload()
{
    static const std::vector<std::uint8_t> payload = [] {
        std::vector<std::uint8_t> p(kBuffer);
        std::iota(p.begin(), p.end(), std::uint8_t{0});
        return p;
    }();
    return payload;
}

// Chooses the path for one benchmark and restores the automatic choice after it.
class PathScope {
public:
    explicit PathScope(TAesPath path) : saved_(Aes_Active_Path()) { Aes_Set_Path(path); }
    ~PathScope() { Aes_Set_Path(saved_); }

private:
    TAesPath saved_;
};

void CbcDecryptStream(benchmark::State& state, TAesPath path)
{
    if (path == TAesPath::Instructions && !Aes_Instructions_Available()) {
        state.SkipWithError("no AES instructions");
        return;
    }
    PathScope scope(path);
    const auto length = static_cast<std::size_t>(state.range(0));
    const TAesKey key = BenchKey();
    const TAesBlock iv{};
    TAesMemoryStream source(std::vector<std::uint8_t>(Payload().begin(), Payload().begin() + length));
    TAesMemoryStream destination{std::vector<std::uint8_t>(length)};
    for (auto _ : state) {
        destination.SetPosition(0);
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        benchmark::DoNotOptimize(destination.Bytes().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(length));
}

void BM_CbcDecryptInstructions(benchmark::State& state) { CbcDecryptStream(state, TAesPath::Instructions); }
void BM_CbcDecryptTables(benchmark::State& state) { CbcDecryptStream(state, TAesPath::Tables); }
BENCHMARK(BM_CbcDecryptInstructions)->Arg(16)->Arg(256)->Arg(kBuffer);
BENCHMARK(BM_CbcDecryptTables)->Arg(16)->Arg(256)->Arg(kBuffer);

// The peer: one EVP context, key and IV set per call as the stream routine does.
void BM_OpenSslEvpCbcDecrypt(benchmark::State& state)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    const TAesKey key = BenchKey();
    const TAesBlock iv{};
    std::vector<std::uint8_t> out(length + 16);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    for (auto _ : state) {
        int n = 0, tail = 0;
        EVP_DecryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, key.data(), iv.data());
        EVP_CIPHER_CTX_set_padding(ctx, 0);
        EVP_DecryptUpdate(ctx, out.data(), &n, Payload().data(), static_cast<int>(length));
        EVP_DecryptFinal_ex(ctx, out.data() + n, &tail);
        benchmark::DoNotOptimize(out.data());
    }
    EVP_CIPHER_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(length));
}
BENCHMARK(BM_OpenSslEvpCbcDecrypt)->Arg(16)->Arg(256)->Arg(kBuffer);

void BM_CmacStream(benchmark::State& state)
{
    std::vector<std::uint8_t> message(static_cast<std::size_t>(state.range(0)), 0x07);
    TAesMemoryStream source(message);
    const TAesKey key = BenchKey();
    TAesBlock tag;
    for (auto _ : state) {
        Aes_Cmac_Stream(source, state.range(0), key, tag);
        benchmark::DoNotOptimize(tag.data());
    }
}
BENCHMARK(BM_CmacStream)->Arg(16)->Arg(256);

void BlockBench(benchmark::State& state, TAesPath path, bool decrypt)
{
    if (path == TAesPath::Instructions && !Aes_Instructions_Available()) {
        state.SkipWithError("no AES instructions");
        return;
    }
    PathScope scope(path);
    TAesExpandedKey schedule;
    if (decrypt)
        Aes_Expand_Key_Decrypt(BenchKey(), schedule);
    else
        Aes_Expand_Key(BenchKey(), schedule);
    TAesBlock block{};
    for (auto _ : state) {
        if (decrypt)
            Aes_Decrypt_Block(block, schedule, block);
        else
            Aes_Encrypt_Block(block, schedule, block);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 16);
}

void BM_EncryptBlockTables(benchmark::State& state) { BlockBench(state, TAesPath::Tables, false); }
void BM_DecryptBlockTables(benchmark::State& state) { BlockBench(state, TAesPath::Tables, true); }
void BM_EncryptBlockInstructions(benchmark::State& state) { BlockBench(state, TAesPath::Instructions, false); }
void BM_DecryptBlockInstructions(benchmark::State& state) { BlockBench(state, TAesPath::Instructions, true); }
BENCHMARK(BM_EncryptBlockTables);
BENCHMARK(BM_DecryptBlockTables);
BENCHMARK(BM_EncryptBlockInstructions);
BENCHMARK(BM_DecryptBlockInstructions);

} // namespace

BENCHMARK_MAIN();
