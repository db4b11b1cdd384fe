// The BACnet EDE file of 4000 objects (2000 read and 2000 write rows): reading the general
// parameters and the slave table, building the lines and writing the file atomically. Goal:
// 10 ms or less. Beside it, the floor: the same table parsed with pugixml and its object
// lines appended to one std::string, written with one ofstream.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <fstream>
#include <string>

#include "TestSupport.h"
#include "UBACnet_EDE_File.h"
#include "UComon.h"
#include "ULanguage.h"

namespace {

const char* const kTypes[] = {"Analog Input", "Analog Value", "Binary Input", "Multi State Value", "Octet String"};

struct Files {
    testsupport::TempDir dir;
    Files()
    {
        Load_Default_Language();
        const std::string d = dir.native();
        std::ofstream(d + "/ParGen.xml") << "<Par_Gen><BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>1001</BACnet_DEV_IDE>"
                                            "<BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></Par_Gen>";
        std::string xml = "<BACnet_to_Modbus>\n";
        for (const char* table : {"BACnet_in_Read", "BACnet_in_Write"}) {
            xml += std::string("  <") + table + ">\n";
            for (int i = 0; i < 2000; ++i)
                xml += std::string("    <row Data_Type=\"") + kTypes[i % 5] + "\" Eng_Unit=\"62\" Position=\"" +
                       std::to_string(i % 1440) + "\" Bit=\"0\" Length=\"4\" Swap=\"N\" Mnemonic=\"Boiler temperature " +
                       std::to_string(i) + "\" />\n";
            xml += std::string("  </") + table + ">\n";
        }
        xml += "</BACnet_to_Modbus>\n<!--SW_VERSION = 1.008-->\n";
        std::ofstream(d + "/BACnet_Slave_SetAccess.xml") << xml;
        File_ParGen = dir.path() + u"/ParGen.xml";
        File_BACnet_Slave_SetAccess = dir.path() + u"/BACnet_Slave_SetAccess.xml";
        Project_Name = u"Plant";
    }
};

Files& Setup()
{
    static Files files;
    return files;
}

void BM_Create_EDE_File(benchmark::State& state)
{
    Files& f = Setup();
    const plat::String out = f.dir.path() + u"/out.csv";
    for (auto _ : state) benchmark::DoNotOptimize(Create_EDE_File(out));
}
BENCHMARK(BM_Create_EDE_File)->Unit(benchmark::kMillisecond);

void BM_Peer_Pugixml_To_String(benchmark::State& state)
{
    Files& f = Setup();
    const std::string in = f.dir.native() + "/BACnet_Slave_SetAccess.xml";
    const std::string out = f.dir.native() + "/peer.csv";
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_file(in.c_str());
        std::string s = "PROJECT_NAME; header\r\n";
        int counter = 0;
        for (pugi::xml_node table : doc.first_child().children())
            for (pugi::xml_node row : table.children()) {
                const std::string m = row.attribute("Mnemonic").value();
                const std::string inst = std::to_string(counter++);
                s += "1001_" + m + "_" + inst + ";1001;" + m.substr(0, 16) + ";2;" + inst + ";" + m.substr(0, 16) + ";" +
                     row.attribute("Eng_Unit").value() + ";\r\n";
            }
        std::ofstream(out, std::ios::binary) << s;
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_Peer_Pugixml_To_String)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
