// Showing the Modbus master rules window with a full file (512 read and 512 write rules, the
// two 1500-item Position lists refilled): goal 20 ms or less. Beside it, the floor: the same
// file parsed with pugixml into a plain std::vector of rows of strings. Offscreen, window
// shown once.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "USetAccess.h"
#include "plat/Forms.h"

namespace {

struct Files {
    testsupport::TempDir dir;
    Files()
    {
        Load_Default_Language();
        Init_Product_Identity();
        const std::string d = dir.native();
        std::ofstream(d + "/ParGen.xml") << "<Par_Gen><Working_Mode>1</Working_Mode></Par_Gen>";
        std::string xml = "<EtherNetIP_to_Modbus>\n  <Modbus_Read>\n";
        for (int i = 0; i < 512; ++i)
            xml += "    <row Enable=\"Y\" Slave_ID=\"" + std::to_string(i % 247 + 1) +
                   "\" Type=\"Holding Register\" Address=\"" + std::to_string(i) +
                   "\" NPoint=\"1\" PollTime=\"1000\" MaxError=\"0\" Position=\"" + std::to_string(i * 2) +
                   "\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"\" Mnemonic=\"rule " + std::to_string(i) + "\" />\n";
        xml += "  </Modbus_Read>\n  <Modbus_Write>\n";
        for (int i = 0; i < 512; ++i)
            xml += "    <row Enable=\"Y\" Slave_ID=\"1\" Type=\"Holding Register\" Address=\"" + std::to_string(i) +
                   "\" NPoint=\"1\" PollTime=\"1000\" OnChange=\"Y\" OnCMD=\"N\" MaxError=\"0\" Position=\"" +
                   std::to_string(i * 2) + "\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Mnemonic=\"w\" />\n";
        xml += "  </Modbus_Write>\n</EtherNetIP_to_Modbus>\n<!--SW_VERSION = 1.114-->\n";
        std::ofstream(d + "/ModbusM_SetAccess.xml") << xml;
        Project_Dir = dir.path();
        File_ParGen = Project_Dir + u"/ParGen.xml";
        File_MQTT_Set_Topic = Project_Dir + u"/MQTT_Set_Topic.xml";
        File_ModbusM_SetAccess = Project_Dir + u"/ModbusM_SetAccess.xml";
    }
};

Files& Setup()
{
    static Files files;
    return files;
}

void BM_SetAccess_Show(benchmark::State& state)
{
    Setup();
    TFSetAccess w(nullptr);
    w.Show();
    for (auto _ : state) w.FormShow();
    if (w.ACG_Modbus_Write->Cells(14, 512) != u"w") state.SkipWithError("the file was not read");
    w.Hide();
}
BENCHMARK(BM_SetAccess_Show)->Unit(benchmark::kMillisecond);

// The floor: the same file into rows of strings, and the two lists of 1500 numbers.
void BM_SetAccess_Show_Floor_Pugixml(benchmark::State& state)
{
    Files& f = Setup();
    const std::string path = f.dir.native() + "/ModbusM_SetAccess.xml";
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_file(path.c_str());
        std::vector<std::vector<std::string>> read, write;
        auto table = [&](const char* name, std::vector<std::vector<std::string>>& rows) {
            for (pugi::xml_node row : doc.first_child().child(name).children()) {
                std::vector<std::string> cells;
                for (pugi::xml_attribute a : row.attributes()) cells.emplace_back(a.value());
                rows.push_back(std::move(cells));
            }
        };
        table("Modbus_Read", read);
        table("Modbus_Write", write);
        std::vector<std::string> positions_in, positions_out;
        for (int i = 0; i < 1500; ++i) positions_in.push_back(std::to_string(i)), positions_out.push_back(std::to_string(i));
        benchmark::DoNotOptimize(read.data());
        benchmark::DoNotOptimize(positions_out.data());
    }
}
BENCHMARK(BM_SetAccess_Show_Floor_Pugixml)->Unit(benchmark::kMillisecond);

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
