#pragma once
// Frames and telegrams for the decoder tests: a wired RSP_UD long frame around given records,
// a wireless telegram around a given link layer and body, and the committed fixtures of
// make_wmbus_fixtures.py.
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace mbus_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(const std::string& text)
{
    Bytes b;
    int hi = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else
            continue;
        if (hi < 0) {
            hi = v;
        } else {
            b.push_back(std::uint8_t(hi << 4 | v));
            hi = -1;
        }
    }
    return b;
}

inline std::string ToHex(const std::uint8_t* b, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[b[i] >> 4];
        s += digits[b[i] & 0x0F];
    }
    return s;
}

struct WiredHeader {
    std::uint8_t C = 0x08;
    std::uint8_t A = 5;
    std::uint8_t CI = 0x72;
    Bytes Id = {0x78, 0x56, 0x34, 0x12};
    std::uint16_t Manufacturer = 0x0443;
    std::uint8_t Version = 0x01;
    std::uint8_t Medium = 0x16;
    std::uint8_t Access = 0x2A;
    std::uint8_t Status = 0x00;
};

// Fixes the L fields, checksum and stop byte of a long frame in place.
inline void Seal_Long_Frame(Bytes& f)
{
    if (f.size() < 6) return;
    f[1] = f[2] = std::uint8_t(f.size() - 6);
    std::uint8_t sum = 0;
    for (std::size_t i = 4; i + 2 < f.size(); ++i) sum = std::uint8_t(sum + f[i]);
    f[f.size() - 2] = sum;
    f[f.size() - 1] = 0x16;
}

// 68 L L 68 C A CI id(4) man(2) ver med acc st sig(2) records cs 16
inline Bytes Wired_Frame(const Bytes& Records, const WiredHeader& h = {})
{
    Bytes f = {0x68, 0, 0, 0x68, h.C, h.A, h.CI};
    f.insert(f.end(), h.Id.begin(), h.Id.end());
    f.push_back(std::uint8_t(h.Manufacturer));
    f.push_back(std::uint8_t(h.Manufacturer >> 8));
    f.insert(f.end(), {h.Version, h.Medium, h.Access, h.Status, 0x00, 0x00});
    f.insert(f.end(), Records.begin(), Records.end());
    f.insert(f.end(), {0x00, 0x16});
    Seal_Long_Frame(f);
    return f;
}

// L, the link layer (C, manufacturer, id, version, device type), body, radio trailer. With the
// Telit trailer (2 bytes, signal strength last) the datagram is L + 3 bytes, with the
// RadioCrafts one (1 byte) L + 1.
inline Bytes Telegram(const Bytes& Link, const Bytes& Body, std::uint8_t Rssi = 0x50, bool Telit = true)
{
    Bytes t = {std::uint8_t(Link.size() + Body.size())};
    t.insert(t.end(), Link.begin(), Link.end());
    t.insert(t.end(), Body.begin(), Body.end());
    if (Telit) t.push_back(0x00);
    t.push_back(Rssi);
    return t;
}

// The committed fixtures: "name hex" per line.
inline std::map<std::string, Bytes> Wireless_Fixtures()
{
    std::map<std::string, Bytes> items;
    std::ifstream in(std::string(TEST_SOURCE_DIR) + "/fixtures/wmbus_telegrams.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, hex;
        fields >> name >> hex;
        items[name] = Hex(hex);
    }
    return items;
}

} // namespace mbus_test
