// The MIB module of 256 read and 256 write variables: the writer's text builder (names
// checked, every line built) beside a peer that appends the same module to one std::string
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

void BM_Build_SNMP_MIB_Text(benchmark::State& state)
{
    const Variables v;
    String error;
    for (auto _ : state) {
        String text = Build_SNMP_MIB_Text(v.read, v.write, v.flags, error);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_Build_SNMP_MIB_Text)->Unit(benchmark::kMicrosecond);

// Peer: the same module appended to one std::string (UTF-8, CR LF), without name checks.
void BM_Peer_One_String(benchmark::State& state)
{
    const Variables v;
    std::vector<std::string> read, write;
    for (const String& d : v.read) read.push_back(StringToUtf8(d));
    for (const String& d : v.write) write.push_back(StringToUtf8(d));
    const char* fixed_head[] = {
        "GATEWAY DEFINITIONS ::= BEGIN", "IMPORTS", "       MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE",
        "         FROM SNMPv2-SMI", "         DisplayString, TimeStamp", "         FROM SNMPv2-TC",
        "         enterprises", "         FROM RFC1155-SMI;", "", "identity MODULE-IDENTITY",
        "    LAST-UPDATED \"201701310000Z\"", "    ORGANIZATION \"Varnok\"", "    CONTACT-INFO",
        "\t \"Via dei Telai 12", "    36100 Borgo Varnok (BV)", "    Italy", "    email:    support@varnok.example\"",
        "    DESCRIPTION", "\t\"MIB objects for agent module \"", "    REVISION     \"201701310000Z\"",
        "    DESCRIPTION", "\t\"Corrected notification \"", "    REVISION     \"200202060000Z\"", "    DESCRIPTION",
        "\t\"First draft\"", "    ::= { varnok 2 }", "varnok          OBJECT IDENTIFIER ::= { enterprises 57021 }",
        "gateway OBJECT IDENTIFIER::= { varnok 1 }", "application OBJECT IDENTIFIER::= { gateway 1 }",
        "data OBJECT IDENTIFIER::= { application 1 }",
        "hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  DESCRIPTION \"\" ::= { data 1}",
        "countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS current  DESCRIPTION \"\" ::= { data 2}",
        "countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS current  DESCRIPTION \"\" ::= { data 3}"};
    for (auto _ : state) {
        std::string s;
        for (const char* l : fixed_head) s += std::string(l) + "\r\n";
        auto blocks = [&s](const char* parent, const char* access) {
            s += std::string(parent) + " OBJECT IDENTIFIER::= { data " + (parent[6] == 'i' ? "4" : "5") + " }\r\n";
            for (int b = 1; b <= 8; ++b)
                s += std::string(parent) + "blk" + std::to_string(b) + " OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS " +
                     access + " STATUS current DESCRIPTION \"data block n." + std::to_string(b) + "\" ::= { " + parent +
                     " " + std::to_string(b) + " }\r\n";
            s += std::string(" ") + parent + "val OBJECT IDENTIFIER::= { " + parent + " 9 }\r\n";
        };
        blocks("bufferin", "read-only");
        for (int k = 1; k <= kMIB_Max_Variables; ++k)
            s += read[k - 1] + " OBJECT-TYPE SYNTAX " + (v.flags[k - 1] ? "INTEGER" : "OCTET STRING") +
                 " MAX-ACCESS read-only STATUS current DESCRIPTION \"" + read[k - 1] + "\" ::= { bufferinval " +
                 std::to_string(k) + " }\r\n";
        blocks("bufferout", "read-write");
        for (int k = 1; k <= kMIB_Max_Variables; ++k)
            s += write[k - 1] + " OBJECT-TYPE SYNTAX " + (v.flags[256 + k - 1] ? "INTEGER" : "OCTET STRING") +
                 " MAX-ACCESS read-write STATUS current DESCRIPTION \"" + write[k - 1] + "\" ::= { bufferoutval " +
                 std::to_string(k) + " }\r\n";
        s += "traps OBJECT IDENTIFIER::= { application 2 }\r\n trapsval OBJECT IDENTIFIER::= { traps 1 }\r\n";
        for (int k = 1; k <= kMIB_Max_Variables; ++k)
            s += "trapval" + std::to_string(k) + " NOTIFICATION-TYPE OBJECTS { " + read[k - 1] +
                 " } STATUS current DESCRIPTION \"" + read[k - 1] + "\" ::= { trapsval " + std::to_string(k) + " }\r\n";
        s += "END\r\n";
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Peer_One_String)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
