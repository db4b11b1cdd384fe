// Random-mutation run of the fuzz entry over the fixture frames and telegrams: every prefix and
// every single-byte change of each fixture, then a bounded number of seeded mutations (bit
// flips, inserted and deleted bytes, truncation, and the length fields set to extremes).
#include <gtest/gtest.h>

#include <random>

#include "MBusFrames.h"
#include "fuzz/MBusDecodeFuzz.h"

namespace {

using mbus_test::Bytes;
using mbus_test::Hex;

struct Fixture {
    std::string Name;
    Bytes Bytes_;
    std::vector<std::size_t> Length_Fields;  // offsets of L, LVAR, plain-text length, AFL length, N
};

std::vector<Fixture> Fixtures()
{
    auto w = mbus_test::Wireless_Fixtures();
    std::vector<Fixture> f = {
        {"RSP_UD more records",
         Hex("68 1B 1B 68 08 05 72 78 56 34 12 43 04 01 16 2A 00 00 00 04 13 10 27 00 00 02 FD 17 03 00 1F A1 16"),
         {1, 2}},
        {"RSP_UD date and BCD",
         Hex("68 1E 1E 68 08 05 72 78 56 34 12 43 04 01 16 2A 00 00 00 04 6D 1E 0C 2F 25 0C 06 78 56 34 12 0F 01 02 42 16"),
         {1, 2}},
        {"RSP_UD text, unit and chains",
         mbus_test::Wired_Frame({0x0D, 0x13, 0x03, 'c', 'b', 'a', 0x04, 0x7C, 0x03, 'h', 'W', 'k', 0x10, 0x27, 0x00,
                                 0x00, 0xC1, 0x81, 0x01, 0x93, 0xFC, 0x01, 0x05, 0x0D, 0x13, 0xF0,
                                 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x2F}),
         {1, 2, 21, 27, 44}},
        {"mode 5", w.at("mode5"), {0, 16}},
        {"mode 7", w.at("mode7"), {0, 14, 33}},
        {"7A plain", mbus_test::Telegram({0x44, 0x43, 0x04, 0x78, 0x56, 0x34, 0x12, 0x01, 0x07},
                                         {0x7A, 0x33, 0x00, 0x00, 0x00, 0x0D, 0x13, 0x02, 'a', 'b', 0x2F, 0x2F}),
         {0, 13, 17}},
        {"8D 72", mbus_test::Telegram({0x44, 0x43, 0x04, 0x78, 0x56, 0x34, 0x12, 0x01, 0x07},
                                      {0x8D, 0x20, 0x33, 1, 2, 3, 4, 0, 0, 0x72, 1, 2, 3, 4, 0x43, 0x04, 1, 7, 0x33, 0,
                                       0x10, 0x05, 0x04, 0x13, 0x10, 0x27, 0x00, 0x00}),
         {0, 30}},
    };
    return f;
}

void Expect_Sound(const Bytes& input, const std::string& what)
{
    const std::string fault = Fuzz_MBus_Decoders(input.data(), input.size());
    if (!fault.empty()) FAIL() << what << ": " << fault << " on " << mbus_test::ToHex(input.data(), input.size());
}

TEST(DecodeMutation, EveryPrefixAndSingleByteChangeOfTheFixtures)
{
    const std::uint8_t values[] = {0x00, 0x01, 0x0F, 0x1F, 0x2F, 0x7C, 0x7F, 0x80, 0xBF, 0xC9,
                                   0xEF, 0xF0, 0xF6, 0xF7, 0xFD, 0xFE, 0xFF};
    for (const auto& f : Fixtures()) {
        SCOPED_TRACE(f.Name);
        for (std::size_t n = 0; n <= f.Bytes_.size(); ++n)
            Expect_Sound(Bytes(f.Bytes_.begin(), f.Bytes_.begin() + std::ptrdiff_t(n)), "prefix");
        for (std::size_t i = 0; i < f.Bytes_.size(); ++i) {
            Bytes changed = f.Bytes_;
            for (std::uint8_t v : values) {
                changed[i] = v;
                Expect_Sound(changed, "byte " + std::to_string(i));
            }
            for (int bit = 0; bit < 8; ++bit) {
                changed = f.Bytes_;
                changed[i] ^= std::uint8_t(1 << bit);
                Expect_Sound(changed, "bit flip");
            }
        }
        if (HasFailure()) return;
    }
}

TEST(DecodeMutation, SeededRandomMutations)
{
    std::mt19937 rng(19121026);
    const auto fixtures = Fixtures();
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const std::uint8_t extremes[] = {0x00, 0x01, 0x7F, 0x80, 0xBF, 0xC0, 0xEF, 0xF0, 0xF6, 0xFF};
    for (int round = 0; round < 30000; ++round) {
        const Fixture& f = fixtures[pick(fixtures.size())];
        Bytes b = f.Bytes_;
        const int steps = 1 + int(pick(4));
        for (int s = 0; s < steps && !b.empty(); ++s) {
            switch (pick(6)) {
            case 0: b[pick(b.size())] ^= std::uint8_t(1 << pick(8)); break;
            case 1: b.insert(b.begin() + std::ptrdiff_t(pick(b.size() + 1)), std::uint8_t(pick(256))); break;
            case 2: b.erase(b.begin() + std::ptrdiff_t(pick(b.size()))); break;
            case 3: b.resize(pick(b.size() + 1)); break;
            case 4: b[pick(b.size())] = std::uint8_t(pick(256)); break;
            default: {
                const std::size_t at = f.Length_Fields[pick(f.Length_Fields.size())];
                if (at < b.size()) b[at] = extremes[pick(sizeof extremes)];
                break;
            }
            }
        }
        const std::string fault = Fuzz_MBus_Decoders(b.data(), b.size());
        ASSERT_TRUE(fault.empty()) << f.Name << " round " << round << ": " << fault << " on "
                                   << mbus_test::ToHex(b.data(), b.size());
    }
}

} // namespace
