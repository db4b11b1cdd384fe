// The wired network writer for 250 slaves x 60 records (15,000 "Variabile" elements), beside
// pugixml building and saving a document of the same shape and attribute count directly.
// Goal: the writer <= 50 ms.
#include "UScan_Save.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "UComon.h"
#include "UScan_Results.h"
#include "plat/SysUtils.h"

namespace {

constexpr int kSlaves = 250, kRecords = 60;

const plat::TList& Slaves()
{
    // Built once and kept for the program's run.
    static plat::TList* list = [] {
        auto* l = new plat::TList;
        for (int s = 0; s < kSlaves; ++s) {
            auto* slave = new TSlave_MBus;
            slave->Primary_Addresss = static_cast<std::uint16_t>(s);
            slave->Secondary_Addresss = plat::IntToStr(12345600 + s);
            slave->descManufacture = u"ACW";
            for (int r = 0; r < kRecords; ++r) {
                auto* v = new TVariable_MBus;
                v->dimension = static_cast<std::uint8_t>(r % 14 + 1);
                v->nbyte = 5;
                v->Desc_Type_Data = u"Energy (Wh)";
                v->storage_number = r;
                slave->List_Var.Add(v);
            }
            l->Add(slave);
        }
        return l;
    }();
    return *list;
}

std::string Target()
{
    return (std::filesystem::temp_directory_path() / ("bench_scan_save_" + std::to_string(::getpid()) + ".xml")).string();
}

void BM_Save_XML_Conf_Wired(benchmark::State& state)
{
    TSaveConfXML conf;
    conf.XML_Code_Dev = 18;
    conf.File_Name = plat::Utf8ToString(Target());
    const plat::TList& slaves = Slaves();
    for (auto _ : state) benchmark::DoNotOptimize(Save_XML_Conf_Wired(conf, false, slaves));
    std::filesystem::remove(Target());
    state.SetItemsProcessed(state.iterations() * kSlaves * kRecords);
}
BENCHMARK(BM_Save_XML_Conf_Wired)->Unit(benchmark::kMillisecond);

// The same 8 node and 16 variable attributes, numbers formatted the same way.
void BM_Pugixml_Direct(benchmark::State& state)
{
    const std::string target = Target();
    auto num = [](long long v) { return std::to_string(v); };
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("M-Bus_Network");
        long long R = 1;
        for (int s = 0; s < kSlaves; ++s) {
            pugi::xml_node n = root.append_child("Nodo");
            n.append_attribute("Enable_Node") = "1";
            n.append_attribute("ID_Primary") = num(s).c_str();
            n.append_attribute("ID_Secondary") = num(12345600 + s).c_str();
            n.append_attribute("Node_ID_Type") = "0";
            n.append_attribute("Descrizione") = "ACW";
            n.append_attribute("Send_SND_NKE") = "0";
            n.append_attribute("Reset_App") = "0";
            n.append_attribute("Cut_After") = "0";
            for (int r = 0; r < kRecords; ++r) {
                pugi::xml_node v = n.append_child("Variabile");
                const TRegisterUse use = Register_Use(r % 14 + 1, 5);
                v.append_attribute("Enable") = "1";
                v.append_attribute("Position") = num(r + 1).c_str();
                v.append_attribute("Desc") = ("Energy (Wh) (U0S" + num(r) + "T0)").c_str();
                v.append_attribute("Type") = "0";
                v.append_attribute("VIF_ASCII") = "";
                v.append_attribute("Fun_Field") = "0";
                v.append_attribute("Length") = "0";
                v.append_attribute("ModReg") = num(R).c_str();
                R += use.Registers;
                v.append_attribute("Dim") = num(use.Dim).c_str();
                v.append_attribute("Unit") = "0";
                v.append_attribute("StoNumber") = num(r).c_str();
                v.append_attribute("Tariff") = "0";
                v.append_attribute("VIFE") = "0";
                v.append_attribute("ModScale") = "0";
                v.append_attribute("BCDtoINT") = "0";
                v.append_attribute("SWAP") = "0";
            }
        }
        benchmark::DoNotOptimize(doc.save_file(target.c_str(), "", pugi::format_raw | pugi::format_no_declaration));
    }
    std::filesystem::remove(target);
    state.SetItemsProcessed(state.iterations() * kSlaves * kRecords);
}
BENCHMARK(BM_Pugixml_Direct)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
