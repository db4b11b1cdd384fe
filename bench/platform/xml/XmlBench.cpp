// Load and save of a rule table the size the topic editor writes: two tables of 1024 rows,
// 12 attributes each. Goal: each under 5 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

namespace {

using namespace plat;

const char16_t* const kAttributes[12] = {u"Topic",    u"Mnemonic", u"Data_Type", u"Dimension",
                                         u"Position", u"IP",       u"Port",      u"Input_Template",
                                         u"Template", u"Retain",   u"QoS",       u"Time_ms"};

// The cell texts exist before saving (they come from the grid), so they are made once.
const std::vector<String>& Values()
{
    static const std::vector<String> values = [] {
        std::vector<String> v;
        for (int r = 1; r <= 1024; ++r)
            for (int a = 0; a < 12; ++a)
                v.push_back(u"plant/line" + IntToStr(r) + u"/value" + IntToStr(a));
        return v;
    }();
    return values;
}

void Build(TXMLDocument& xml)
{
    const std::vector<String>& values = Values();
    xml.Clear();
    IXMLNode root = xml.AddChild(u"MQTT_Set_Topic");
    xml.AddComment(u"SW_VERSION = 1.114");
    for (const char16_t* table : {u"MQTT_Publish", u"MQTT_Subscribe"}) {
        IXMLNode t = root.AddChild(table);
        for (int r = 1; r <= 1024; ++r) {
            IXMLNode row = t.AddChild(u"row");
            for (int a = 0; a < 12; ++a)
                row.SetAttributes(kAttributes[a], values[static_cast<std::size_t>((r - 1) * 12 + a)]);
        }
    }
}

String TempFile()
{
    static const String path = Utf8ToString(std::string(P_tmpdir) + "/bench_xml_" + std::to_string(::getpid()) + ".xml");
    return path;
}

void BM_BuildAndSave(benchmark::State& state)
{
    TXMLDocument xml;
    for (auto _ : state) {
        Build(xml);
        xml.SaveToFile(TempFile());
    }
}
BENCHMARK(BM_BuildAndSave)->Unit(benchmark::kMillisecond);

void BM_LoadAndRead(benchmark::State& state)
{
    {
        TXMLDocument xml;
        Build(xml);
        xml.SaveToFile(TempFile());
    }
    TXMLDocument xml;
    std::size_t total = 0;
    for (auto _ : state) {
        xml.LoadFromFile(TempFile());
        IXMLNode root = xml.DocumentElement();
        for (const char16_t* table : {u"MQTT_Publish", u"MQTT_Subscribe"}) {
            IXMLNodeList rows = root.ChildNodes().FindNode(table).ChildNodes();
            for (int i = 0; i < rows.Count(); ++i) {
                IXMLNode row = rows[i];
                for (const char16_t* a : kAttributes)
                    total += row.Attributes(a).AsString().size();
            }
        }
    }
    benchmark::DoNotOptimize(total);
    DeleteFile(TempFile());
}
BENCHMARK(BM_LoadAndRead)->Unit(benchmark::kMillisecond);

} // namespace


// Where the time of a save goes.
namespace {

void BM_BuildOnly(benchmark::State& state)
{
    TXMLDocument xml;
    for (auto _ : state)
        Build(xml);
}
BENCHMARK(BM_BuildOnly)->Unit(benchmark::kMillisecond);

void BM_SerializeOnly(benchmark::State& state)
{
    TXMLDocument xml;
    Build(xml);
    for (auto _ : state)
        benchmark::DoNotOptimize(xml.SaveToBytes());
}
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond);

// Temporary file, write, fsync and rename: the wall time is mostly the disk's flush.
void BM_AtomicWriteOnly(benchmark::State& state)
{
    TXMLDocument xml;
    Build(xml);
    const std::string bytes = xml.SaveToBytes();
    for (auto _ : state)
        WriteFileAtomic(TempFile(), bytes);
    DeleteFile(TempFile());
}
BENCHMARK(BM_AtomicWriteOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
