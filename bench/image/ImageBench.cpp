// Build and save of the largest configuration the editors can produce: 1024 publish and
// 1024 subscribe topics, 512 read and 512 write rules, four TLS files. Goal: 20 ms.
#include <benchmark/benchmark.h>

#include "ImageTestKit.h"

using namespace image_test;

namespace {

std::string Pem(int lines) {
    std::string text = "-----BEGIN CERTIFICATE-----\n";
    for (int i = 0; i < lines; ++i)
        text += std::string(64, static_cast<char>('A' + i % 26)) + "\n";
    return text + "-----END CERTIFICATE-----\n";
}

void Write_Maximal(const TConfig& config) {
    config.ParGen({{"Working_Mode", "1"}, {"MQTT_Server_URL", "broker.example.net"}, {"MQTT_Client_ID", "converter"},
                   {"TLS_Enable", "1"}, {"TLS_Server_Auth_Certificate", "server.pem"},
                   {"TLS_Client_CA_Certificate", "ca.pem"}, {"TLS_Client_Auth_Certificate", "client.pem"},
                   {"TLS_Client_Auth_Key", "client.key"}, {"NTP_Server_URL", "pool.ntp.org"}});
    for (const char* name : {"server.pem", "ca.pem", "client.pem", "client.key"})
        config.Write(std::string("Certificates/") + name, Pem(25));
    std::vector<Attrs> publish, subscribe, read, write;
    for (int i = 0; i < 1024; ++i) {
        std::string n = std::to_string(i);
        publish.push_back(Publish_Row("plant/line/" + n + "/value",
                                      {{"Mnemonic", "publish " + n}, {"Template", "{\"v\":$VALUE$}"},
                                       {"OnTimer", "Y"}, {"Time", "1000"}}));
        subscribe.push_back(Subscribe_Row("plant/cmd/" + n, {{"Template", "{\"set\":@B8.16@}"}}));
    }
    for (int i = 0; i < 512; ++i) {
        read.push_back(Read_Rule({{"Address", std::to_string(i)}, {"Position", std::to_string(2 * i)}}));
        write.push_back(Write_Rule({{"Address", std::to_string(i)}, {"Position", std::to_string(2 * i)}}));
    }
    config.Topics(publish, subscribe);
    config.Rules(read, write);
}

void BM_BuildAndSaveMaximal(benchmark::State& state) {
    TConfig config;
    Write_Maximal(config);
    const plat::String out = config.Dir() + u"/bin";
    for (auto _ : state) {
        image::Build_Bin_Config(config.Dir());
        if (!image::Save_Bin_Files(out).Ok)
            state.SkipWithError("the image files could not be written");
        benchmark::DoNotOptimize(image::Bank2_Len);
    }
    state.counters["bank2_bytes"] = image::Bank2_Len;
}
BENCHMARK(BM_BuildAndSaveMaximal)->Unit(benchmark::kMillisecond);

// The build alone, to tell reading and compiling from writing the files.
void BM_BuildMaximal(benchmark::State& state) {
    TConfig config;
    Write_Maximal(config);
    for (auto _ : state) {
        image::Build_Bin_Config(config.Dir());
        benchmark::DoNotOptimize(image::Bank2_Len);
    }
}
BENCHMARK(BM_BuildMaximal)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
