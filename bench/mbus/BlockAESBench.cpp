// Costs of the wireless decoder's AES work per telegram: the CBC decryption of a payload
// (key schedule included, as it is rebuilt for every call) and the CMAC of the 16-byte mode 7
// key-derivation input.
#include "BlockAES.h"

#include <benchmark/benchmark.h>

#include <numeric>

namespace {

TAesKey BenchKey()
{
    TAesKey key;
    std::iota(key.begin(), key.end(), std::uint8_t{0x10});
    return key;
}

void BM_CbcDecryptStream(benchmark::State& state)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> payload(length);
    std::iota(payload.begin(), payload.end(), std::uint8_t{0});
    const TAesKey key = BenchKey();
    const TAesBlock iv{};
    TAesMemoryStream source(payload);
    TAesMemoryStream destination;
    for (auto _ : state) {
        destination.SetPosition(0);
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        benchmark::DoNotOptimize(destination.Bytes().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(length));
}
BENCHMARK(BM_CbcDecryptStream)->Arg(16)->Arg(256)->Arg(4096);

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

void BM_EncryptBlock(benchmark::State& state)
{
    TAesExpandedKey schedule;
    Aes_Expand_Key(BenchKey(), schedule);
    TAesBlock block{};
    for (auto _ : state) {
        Aes_Encrypt_Block(block, schedule, block);
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_EncryptBlock);

void BM_DecryptBlock(benchmark::State& state)
{
    TAesExpandedKey schedule;
    Aes_Expand_Key_Decrypt(BenchKey(), schedule);
    TAesBlock block{};
    for (auto _ : state) {
        Aes_Decrypt_Block(block, schedule, block);
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_DecryptBlock);

} // namespace

BENCHMARK_MAIN();
