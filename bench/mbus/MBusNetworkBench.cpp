// Load and save of a large M_Bus.xml (nodes x variables per node), the editor's show and OK.
#include "UMBus_Network.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "plat/SysUtils.h"

namespace {

TNodi_List Network(int nodes, int vars)
{
    TNodi_List list;
    for (int n = 0; n < nodes; ++n) {
        auto node = std::make_unique<TNodo>();
        node->Enable = true;
        node->Description = u"Meter " + plat::IntToStr(n);
        node->Node_ID_Primary = n % 250;
        node->MBus_Type = n % 2;
        node->wMBus_Add = u"0x" + plat::IntToStr(10000000 + n);
        for (auto& k : node->wMBus_Key)
            k = u"0xAB";
        for (int v = 0; v < vars; ++v) {
            auto var = std::make_unique<TVariabile>();
            var->Enable = true;
            var->Description = u"Value " + plat::IntToStr(v);
            var->Type_Of_Data = v % 26;
            var->Storage_Number = 4294967295u;
            var->Topic = v;
            var->Position = static_cast<std::uint8_t>(v % 100 + 1);
            node->Var_List.push_back(std::move(var));
        }
        list.push_back(std::move(node));
    }
    return list;
}

// In the shared temporary folder, with the process id in the name, so that two runs side
// by side never read each other's file.
plat::String BenchFile(const char* name)
{
    const std::string unique = std::to_string(::getpid()) + "_" + name;
    return plat::Utf8ToString((std::filesystem::temp_directory_path() / unique).string());
}

void BM_SaveNetwork(benchmark::State& state)
{
    const TNodi_List list = Network(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const plat::String file = BenchFile("bench_mbus_net_save.xml");
    for (auto _ : state)
        Save_MBus_Network(file, list);
    std::filesystem::remove(plat::StringToUtf8(file));
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_SaveNetwork)->Args({250, 50})->Args({20, 10})->Unit(benchmark::kMillisecond);

void BM_LoadNetwork(benchmark::State& state)
{
    const plat::String file = BenchFile("bench_mbus_net_load.xml");
    Save_MBus_Network(file, Network(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    for (auto _ : state) {
        TNodi_List list;
        plat::String error;
        if (!Load_MBus_Network(file, list, error))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(list.data());
    }
    std::filesystem::remove(plat::StringToUtf8(file));
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_LoadNetwork)->Args({250, 50})->Args({20, 10})->Unit(benchmark::kMillisecond);

// Reading must stay linear in the number of nodes: the time per node at 1,000, 10,000 and
// 100,000 nodes of four variables each should agree within 25 % (100,000 nodes under 1 s).
void BM_LoadNetworkScaling(benchmark::State& state)
{
    const plat::String file = BenchFile("bench_mbus_net_scaling.xml");
    Save_MBus_Network(file, Network(static_cast<int>(state.range(0)), 4));
    for (auto _ : state) {
        TNodi_List list;
        plat::String error;
        if (!Load_MBus_Network(file, list, error))
            state.SkipWithError(plat::StringToUtf8(error).c_str());
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["us_per_node"] = benchmark::Counter(
        static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
    state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(plat::StringToUtf8(file))) / (1 << 20);
    std::filesystem::remove(plat::StringToUtf8(file));
}
BENCHMARK(BM_LoadNetworkScaling)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
