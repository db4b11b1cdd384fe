// Loading a language: the built-in texts plus a full 5100-line .lng file (goal: <= 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TestSupport.h"
#include "UComon.h"
#include "UConfiguration.h"
#include "ULanguage.h"

namespace {

class ProgramFolder {
public:
    ProgramFolder()
    {
        Init_Program_Dirs(dir_.path());
        std::ofstream out(dir_ / "LANGUAGE/Italiano.lng", std::ios::binary);
        out << "\xEF\xBB\xBF[Italiano]\r\n";
        for (int i = 0; i < 5100; ++i)
            out << "STR" << i << " = Testo tradotto numero " << i << " con qualche parola in pi\xC3\xB9 /#/ nota\r\n";
    }

private:
    testsupport::TempDir dir_;
};

void BM_LoadDefaultLanguage(benchmark::State& state)
{
    for (auto _ : state) {
        Load_Default_Language();
        benchmark::DoNotOptimize(Lang_Table.data());
    }
}
BENCHMARK(BM_LoadDefaultLanguage)->Unit(benchmark::kMicrosecond);

void BM_LoadLanguageWithFullFile(benchmark::State& state)
{
    ProgramFolder folder;
    for (auto _ : state) {
        Language_Name = u"Italiano";
        Load_Language();
        benchmark::DoNotOptimize(Lang_Table.data());
    }
    if (Lang_Table[5099].find(u"5099") == plat::String::npos)
        state.SkipWithError("the language file was not applied");
}
BENCHMARK(BM_LoadLanguageWithFullFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
