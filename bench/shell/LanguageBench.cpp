// Loading a language: the built-in texts plus a full 5100-line .lng file (goal: <= 5 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "UComon.h"
#include "UConfiguration.h"
#include "ULanguage.h"

namespace {

class ProgramFolder {
public:
    ProgramFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "shellbench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        Init_Program_Dirs(plat::Utf8ToString(path_));
        std::ofstream out(path_ + "/LANGUAGE/Italiano.lng", std::ios::binary);
        out << "\xEF\xBB\xBF[Italiano]\r\n";
        for (int i = 0; i < 5100; ++i)
            out << "STR" << i << " = Testo tradotto numero " << i << " con qualche parola in pi\xC3\xB9 /#/ nota\r\n";
    }
    ~ProgramFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

private:
    std::string path_;
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
