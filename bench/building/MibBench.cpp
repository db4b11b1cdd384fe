// The MIB module of 256 read and 256 write variables: the writer's line builder (names
// checked, every line built) beside a peer that appends the same lines to one std::string
// with no checks. Goal: the builder within 2 ms, and within 2x of the peer.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "USNMP_MIB.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace {

struct Variables {
    std::vector<String> read, write;
    std::uint8_t flags[2 * kMIB_Max_Variables] = {};
    Variables()
    {
        for (int i = 0; i < kMIB_Max_Variables; ++i) {
            read.push_back(u"in" + IntToStr(i));
            write.push_back(u"out" + IntToStr(i));
            flags[i] = static_cast<std::uint8_t>(i & 1);
            flags[kMIB_Max_Variables + i] = static_cast<std::uint8_t>(i & 1);
        }
    }
};

void BM_Build_SNMP_MIB_Lines(benchmark::State& state)
{
    const Variables v;
    String error;
    for (auto _ : state) {
        std::vector<String> lines = Build_SNMP_MIB_Lines(v.read, v.write, v.flags, error);
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_Build_SNMP_MIB_Lines)->Unit(benchmark::kMicrosecond);

// Peer: the variable lines of the module (the bulk of its bytes) appended to one string.
void BM_Peer_One_String(benchmark::State& state)
{
    const Variables v;
    for (auto _ : state) {
        std::string s;
        for (int pass = 0; pass < 3; ++pass)
            for (int k = 1; k <= kMIB_Max_Variables; ++k) {
                const String& d = pass == 1 ? v.write[k - 1] : v.read[k - 1];
                const std::string name = StringToUtf8(d);
                const std::string num = std::to_string(k);
                if (pass == 2)
                    s += "trapval" + num + " NOTIFICATION-TYPE OBJECTS { " + name +
                         " } STATUS current DESCRIPTION \"" + name + "\" ::= { trapsval " + num + " }\r\n";
                else
                    s += name + " OBJECT-TYPE SYNTAX " + (v.flags[k - 1] ? "INTEGER" : "OCTET STRING") +
                         (pass == 0 ? " MAX-ACCESS read-only" : " MAX-ACCESS read-write") +
                         " STATUS current DESCRIPTION \"" + name + "\" ::= { bufferinval " + num + " }\r\n";
            }
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Peer_One_String)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
