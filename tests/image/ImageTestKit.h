#pragma once
// Small helpers of the image tests: a throw-away configuration folder, hand-written
// table files, and byte readers over the built image.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "USaveBincc.h"
#include "plat/String.h"

namespace image_test {

using Bytes = std::vector<std::uint8_t>;
using Attrs = std::vector<std::pair<std::string, std::string>>;

inline plat::String U(const std::string& utf8) { return plat::Utf8ToString(utf8); }

inline std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\r': out += "&#13;"; break;
        case '\n': out += "&#10;"; break;
        default: out += c;
        }
    }
    return out;
}

// <Par_Gen> with one element per key, as the general-parameters window writes it.
inline std::string ParGen_Xml(const Attrs& keys) {
    std::string xml = "<Par_Gen>\n";
    for (const auto& [name, value] : keys)
        xml += "  <" + name + ">" + Escape(value) + "</" + name + ">\n";
    return xml + "</Par_Gen>\n<!--SW_VERSION = 1.114-->\n";
}

inline std::string Row_Xml(const Attrs& attrs) {
    std::string xml = "    <row";
    for (const auto& [name, value] : attrs)
        xml += " " + name + "=\"" + Escape(value) + "\"";
    return xml + "/>\n";
}

inline std::string Table_Xml(const std::string& name, const std::vector<Attrs>& rows) {
    std::string xml = "  <" + name + ">\n";
    for (const Attrs& row : rows)
        xml += Row_Xml(row);
    return xml + "  </" + name + ">\n";
}

inline std::string Topics_Xml(const std::vector<Attrs>& publish, const std::vector<Attrs>& subscribe,
                              const std::string& allow_cr_lf = "N") {
    return "<MQTT_Set_Topic>\n" + Table_Xml("MQTT_Publish", publish) + Table_Xml("MQTT_Subscribe", subscribe) +
           "  <MQTT_Options><Option_Allow_CR_LF>" + allow_cr_lf + "</Option_Allow_CR_LF></MQTT_Options>\n" +
           "</MQTT_Set_Topic>\n<!--SW_VERSION = 1.114-->\n";
}

inline std::string Rules_Xml(const std::vector<Attrs>& read, const std::vector<Attrs>& write) {
    return "<EtherNetIP_to_Modbus>\n" + Table_Xml("Modbus_Read", read) + Table_Xml("Modbus_Write", write) +
           "</EtherNetIP_to_Modbus>\n<!--SW_VERSION = 1.114-->\n";
}

// A publish row as the topic window writes it.
inline Attrs Publish_Row(const std::string& topic, const Attrs& changes = {}) {
    Attrs row = {{"Topic", topic},      {"Retained", "N"},     {"QoS", "0"},       {"DataType", "Int"},
                 {"Dimension", "2"},    {"Position", "0"},     {"IPAddress", ""},  {"FormatHex", "N"},
                 {"InputTemplate", ""}, {"Template", "$VALUE$"}, {"OnChange", "N"}, {"OnCMD", "N"},
                 {"OnTimer", "N"},      {"Time", ""},          {"Mnemonic", "m"}};
    for (const auto& [name, value] : changes) {
        bool found = false;
        for (auto& attr : row)
            if (attr.first == name) {
                attr.second = value;
                found = true;
            }
        if (!found)
            row.emplace_back(name, value);
    }
    return row;
}

inline Attrs Subscribe_Row(const std::string& topic, const Attrs& changes = {}) {
    Attrs row = {{"Topic", topic},    {"Retained", "N"},  {"QoS", "0"},         {"DataType", "Int"},
                 {"Dimension", "2"},  {"Position", "0"},  {"IPAddress", ""},    {"Port", ""},
                 {"EthType", ""},     {"InputTemplate", ""}, {"FormatHex", "N"}, {"Template", "$VALUE$"},
                 {"Mnemonic", "s"}};
    for (const auto& [name, value] : changes) {
        bool found = false;
        for (auto& attr : row)
            if (attr.first == name) {
                attr.second = value;
                found = true;
            }
        if (!found)
            row.emplace_back(name, value);
    }
    return row;
}

inline Attrs Without(Attrs row, const std::string& name) {
    std::erase_if(row, [&](const auto& attr) { return attr.first == name; });
    return row;
}

inline Attrs With(Attrs row, const Attrs& changes) {
    for (const auto& [name, value] : changes) {
        bool found = false;
        for (auto& attr : row)
            if (attr.first == name) {
                attr.second = value;
                found = true;
            }
        if (!found)
            row.emplace_back(name, value);
    }
    return row;
}

inline Attrs Read_Rule(const Attrs& changes = {}) {
    return With({{"Enable", "Y"},   {"Slave_ID", "1"}, {"Type", "Holding Register"}, {"Address", "0"},
                 {"NPoint", "1"},   {"PollTime", "1000"}, {"MaxError", "0"}, {"Position", "0"},
                 {"Bit", ""},       {"Swap", "N"},     {"SwapWord", "N"}, {"Index_Topic", ""},
                 {"Mnemonic", "r"}},
                changes);
}

inline Attrs Write_Rule(const Attrs& changes = {}) {
    return With({{"Enable", "Y"},    {"Slave_ID", "1"},   {"Type", "Holding Register"}, {"Address", "0"},
                 {"NPoint", "1"},    {"PollTime", "0"},   {"OnChange", "N"}, {"OnCMD", "N"},
                 {"MaxError", "0"},  {"Position", "0"},   {"Bit", ""},       {"Swap", "N"},
                 {"SwapWord", "N"},  {"Mnemonic", "w"}},
                changes);
}

// A configuration folder that is removed again at the end of the test.
class TConfig {
public:
    TConfig() = default;
    TConfig(const TConfig&) = delete;
    TConfig& operator=(const TConfig&) = delete;

    const std::filesystem::path& Path() const { return dir_; }
    plat::String Dir() const { return U(dir_.string()); }

    void Write(const std::string& name, const std::string& content) const {
        std::filesystem::path path = dir_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void ParGen(const Attrs& keys) const { Write("ParGen.xml", ParGen_Xml(keys)); }
    void Topics(const std::vector<Attrs>& publish, const std::vector<Attrs>& subscribe,
                const std::string& allow_cr_lf = "N") const {
        Write("MQTT_Set_Topic.xml", Topics_Xml(publish, subscribe, allow_cr_lf));
    }
    void Rules(const std::vector<Attrs>& read, const std::vector<Attrs>& write) const {
        Write("ModbusM_SetAccess.xml", Rules_Xml(read, write));
    }

private:
    testsupport::TempDir temp_;
    std::filesystem::path dir_{temp_.native()};
};

inline Bytes Read_Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The image of the last build.
inline Bytes Bank1() { return Bytes(image::Bank1_Buffer.begin(), image::Bank1_Buffer.begin() + image::Bank1_Len); }
inline Bytes Bank2() { return Bytes(image::Bank2_Buffer.begin(), image::Bank2_Buffer.begin() + image::Bank2_Len); }

inline std::uint32_t U32(const Bytes& b, std::size_t pos) {
    return static_cast<std::uint32_t>(b.at(pos)) | static_cast<std::uint32_t>(b.at(pos + 1)) << 8 |
           static_cast<std::uint32_t>(b.at(pos + 2)) << 16 | static_cast<std::uint32_t>(b.at(pos + 3)) << 24;
}
inline std::uint32_t U16(const Bytes& b, std::size_t pos) {
    return static_cast<std::uint32_t>(b.at(pos)) | static_cast<std::uint32_t>(b.at(pos + 1)) << 8;
}
// Little-endian value of `width` bytes.
inline std::uint64_t Field(const Bytes& b, std::size_t pos, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | b.at(pos + static_cast<std::size_t>(i));
    return value;
}

// Offset of the MQTT block in bank2.bin and its device address.
constexpr std::size_t Block = 32768;
constexpr std::uint32_t B = 0x88000;

// The zero-terminated string at a device address of bank2.bin.
inline std::string String_At(const Bytes& bank2, std::uint32_t address) {
    std::size_t pos = address - 0x80000;
    std::string text;
    while (bank2.at(pos) != 0)
        text += static_cast<char>(bank2[pos++]);
    return text;
}

} // namespace image_test
