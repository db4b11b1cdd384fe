// Program start: the 40 windows created in their order and the main window shown, in an
// empty program folder, offscreen. Goal: 300 ms or less.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ProgramWindows.h"
#include "TestSupport.h"
#include "UTralvexeFirmWare.h"
#include "plat/Files.h"
#include "plat/Forms.h"

namespace {

void BM_ProgramStartToMainWindowShown(benchmark::State& state)
{
    const testsupport::TempDir dir;
    plat::SetProgramDirOverride(dir.path());
    for (auto _ : state) {
        Create_Program_Windows();
        ZEVorezudaReruDure->Show();
        plat::Application->ProcessMessages();
        state.PauseTiming();
        Free_Program_Windows();
        state.ResumeTiming();
    }
    plat::SetProgramDirOverride(plat::String());
}
BENCHMARK(BM_ProgramStartToMainWindowShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    testsupport::Use_Offscreen_Platform();
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
