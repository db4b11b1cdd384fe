// Program start: the 40 windows created in their order and the main window shown, in an
// empty program folder, offscreen. Goal: 300 ms or less.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ProgramWindows.h"
#include "UTralvexeFirmWare.h"
#include "plat/Files.h"
#include "plat/Forms.h"

namespace {

void BM_ProgramStartToMainWindowShown(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "startup-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    plat::SetProgramDirOverride(plat::Utf8ToString(pattern));
    for (auto _ : state) {
        Create_Program_Windows();
        ZEVorezudaReruDure->Show();
        plat::Application->ProcessMessages();
        state.PauseTiming();
        Free_Program_Windows();
        state.ResumeTiming();
    }
    plat::SetProgramDirOverride(plat::String());
    std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_ProgramStartToMainWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
