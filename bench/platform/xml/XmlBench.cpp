// Load and save of the rule table the topic editor writes (two tables, 12 attributes a row)
// at 100, 1,000 and 2,048 rows, each beside its peer in the same run:
// - load and read every attribute as UTF-16: plain pugixml producing the same UTF-16 values
//   (goal: the layer within 1.3 times);
// - build, serialise and save atomically: Qt's stream writer through its atomic save file
//   (goal: the layer at most as slow, and under 5 ms at 2,048 rows).
// Saves go to /dev/shm, where fsync costs nothing; BM_BuildAndSaveOnDisk shows the same save
// with the disk's flush, reported apart. Minor page faults per save are counted: a save that
// touched fresh memory every time would show it here (and in BM_HundredSaves).
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "XmlQtPeer.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

namespace {

using namespace plat;

const std::vector<const char16_t*> kAttributes = {u"Topic",    u"Mnemonic", u"Data_Type", u"Dimension",
                                                  u"Position", u"IP",       u"Port",      u"Input_Template",
                                                  u"Template", u"Retain",   u"QoS",       u"Time_ms"};
const char16_t* const kTables[2] = {u"MQTT_Publish", u"MQTT_Subscribe"};

// The cell texts exist before saving (they come from the grid), so they are made once.
const std::vector<String>& Values()
{
    static const std::vector<String> values = [] {
        std::vector<String> v;
        for (int r = 1; r <= 1024; ++r)
            for (std::size_t a = 0; a < kAttributes.size(); ++a)
                v.push_back(u"plant/line" + IntToStr(r) + u"/value" + IntToStr(static_cast<int>(a)));
        return v;
    }();
    return values;
}

int RowsPerTable(const benchmark::State& state) { return static_cast<int>(state.range(0)) / 2; }

void Build(TXMLDocument& xml, int rowsPerTable)
{
    const std::vector<String>& values = Values();
    xml.Clear();
    IXMLNode root = xml.AddChild(u"MQTT_Set_Topic");
    xml.AddComment(u"SW_VERSION = 1.114");
    std::size_t v = 0;
    for (const char16_t* table : kTables) {
        IXMLNode t = root.AddChild(table);
        for (int r = 0; r < rowsPerTable; ++r) {
            IXMLNode row = t.AddChild(u"row");
            for (const char16_t* a : kAttributes) {
                row.SetAttributes(a, values[v]);
                v = (v + 1) % values.size();
            }
        }
    }
}

String FileIn(const char* dir, const char* name)
{
    return Utf8ToString(std::string(dir) + "/bench_xml_" + std::to_string(::getpid()) + "_" + name + ".xml");
}
const char* FastDir() { return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : P_tmpdir; }

long MinorFaults()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

void SaveBench(benchmark::State& state, const char* dir)
{
    const String file = FileIn(dir, "save");
    TXMLDocument xml;
    const long before = MinorFaults();
    for (auto _ : state) {
        Build(xml, RowsPerTable(state));
        xml.SaveToFile(file);
    }
    state.counters["faults_per_save"] =
        benchmark::Counter(static_cast<double>(MinorFaults() - before), benchmark::Counter::kAvgIterations);
    DeleteFile(file);
}

void BM_BuildAndSave(benchmark::State& state) { SaveBench(state, FastDir()); }
BENCHMARK(BM_BuildAndSave)->Arg(100)->Arg(1000)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_QtStreamWriterSave(benchmark::State& state)
{
    const String file = FileIn(FastDir(), "qt");
    const std::vector<bench::TPeerTable> tables = {{kTables[0], RowsPerTable(state)}, {kTables[1], RowsPerTable(state)}};
    const long before = MinorFaults();
    for (auto _ : state)
        if (!bench::QtWriteRuleTable(file, u"MQTT_Set_Topic", u"SW_VERSION = 1.114", tables, kAttributes, Values()))
            state.SkipWithError("Qt save failed");
    state.counters["faults_per_save"] =
        benchmark::Counter(static_cast<double>(MinorFaults() - before), benchmark::Counter::kAvgIterations);
    DeleteFile(file);
}
BENCHMARK(BM_QtStreamWriterSave)->Arg(100)->Arg(1000)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_BuildAndSaveOnDisk(benchmark::State& state) { SaveBench(state, P_tmpdir); }
BENCHMARK(BM_BuildAndSaveOnDisk)->Arg(2048)->Unit(benchmark::kMillisecond);

// 100 saves of one document in a row: the faults of the last ten against the first ten.
void BM_HundredSaves(benchmark::State& state)
{
    const String file = FileIn(FastDir(), "hundred");
    for (auto _ : state) {
        TXMLDocument xml;
        long first = 0, last = 0;
        for (int i = 0; i < 100; ++i) {
            const long before = MinorFaults();
            Build(xml, 1024);
            xml.SaveToFile(file);
            const long faults = MinorFaults() - before;
            if (i < 10)
                first += faults;
            if (i >= 90)
                last += faults;
        }
        state.counters["faults_first_10"] = static_cast<double>(first);
        state.counters["faults_last_10"] = static_cast<double>(last);
    }
    DeleteFile(file);
}
BENCHMARK(BM_HundredSaves)->Iterations(1)->Unit(benchmark::kMillisecond);

String SavedTable(int rows)
{
    const String file = FileIn(FastDir(), ("load" + std::to_string(rows)).c_str());
    TXMLDocument xml;
    Build(xml, rows / 2);
    xml.SaveToFile(file);
    return file;
}

void BM_LoadAndRead(benchmark::State& state)
{
    const String file = SavedTable(static_cast<int>(state.range(0)));
    TXMLDocument xml;
    std::size_t total = 0;
    for (auto _ : state) {
        xml.LoadFromFile(file);
        IXMLNode root = xml.DocumentElement();
        for (const char16_t* table : kTables) {
            IXMLNodeList rows = root.ChildNodes().FindNode(table).ChildNodes();
            for (int i = 0; i < rows.Count(); ++i) {
                IXMLNode row = rows[i];
                for (const char16_t* a : kAttributes)
                    total += row.Attributes(a).AsString().size();
            }
        }
    }
    benchmark::DoNotOptimize(total);
    DeleteFile(file);
}
BENCHMARK(BM_LoadAndRead)->Arg(100)->Arg(1000)->Arg(2048)->Unit(benchmark::kMillisecond);

// The peer: plain pugixml loading the same file and producing the same UTF-16 values.
void BM_PugixmlLoadAndRead(benchmark::State& state)
{
    const String file = SavedTable(static_cast<int>(state.range(0)));
    const std::string path = StringToUtf8(file);
    std::vector<std::string> names;
    for (const char16_t* a : kAttributes)
        names.push_back(StringToUtf8(a));
    std::size_t total = 0;
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_file(path.c_str()))
            state.SkipWithError("pugixml load failed");
        const pugi::xml_node root = doc.document_element();
        for (const char16_t* table : kTables) {
            for (pugi::xml_node row = root.child(StringToUtf8(table).c_str()).first_child(); row;
                 row = row.next_sibling()) {
                for (const std::string& n : names) {
                    const String value = Utf8ToString(row.attribute(n.c_str()).value());
                    total += value.size();
                }
            }
        }
    }
    benchmark::DoNotOptimize(total);
    DeleteFile(file);
}
BENCHMARK(BM_PugixmlLoadAndRead)->Arg(100)->Arg(1000)->Arg(2048)->Unit(benchmark::kMillisecond);

// Where the time of a save goes.
void BM_BuildOnly(benchmark::State& state)
{
    TXMLDocument xml;
    for (auto _ : state)
        Build(xml, 1024);
}
BENCHMARK(BM_BuildOnly)->Unit(benchmark::kMillisecond);

void BM_SerializeOnly(benchmark::State& state)
{
    TXMLDocument xml;
    Build(xml, 1024);
    for (auto _ : state)
        benchmark::DoNotOptimize(xml.SaveToBytes());
}
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
