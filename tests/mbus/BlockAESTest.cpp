#include "BlockAES.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(const std::string& text)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return out;
}

std::string ToHex(const std::uint8_t* p, std::size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

std::string ToHex(const Bytes& b) { return ToHex(b.data(), b.size()); }
std::string ToHex(const TAesBlock& b) { return ToHex(b.data(), b.size()); }

TAesBlock Block(const std::string& hex)
{
    const Bytes b = Hex(hex);
    TAesBlock out{};
    std::copy(b.begin(), b.end(), out.begin());
    return out;
}

TAesKey Key(const std::string& hex) { return Block(hex); }

// Published example data: the key and the four-block message of the CBC and CMAC examples.
const std::string kExampleKey = "2b7e151628aed2a6abf7158809cf4f3c";
const std::string kExampleIv = "000102030405060708090a0b0c0d0e0f";
const std::string kExampleMessage =
    "6bc1bee22e409f96e93d7e117393172a"
    "ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef"
    "f69f2445df4f9b17ad2b417be66c3710";
const std::string kExampleCbcCipher =
    "7649abac8119b246cee98e9b12e9197d"
    "5086cb9b507219ee95db113a917678b2"
    "73bed6b8e3c1743b7116e69e22229516"
    "3ff1caa1681fac09120eca307586e1a7";

using testsupport::ThrowsWith;

// Every test runs on both paths: the processor's AES instructions and the table code.
class BlockAES : public ::testing::TestWithParam<TAesPath> {
protected:
    void SetUp() override
    {
        if (GetParam() == TAesPath::Instructions && !Aes_Instructions_Available())
            GTEST_SKIP() << "this processor has no AES instructions";
        saved_ = Aes_Active_Path();
        Aes_Set_Path(GetParam());
        ASSERT_EQ(Aes_Active_Path(), GetParam());
    }
    void TearDown() override { Aes_Set_Path(saved_); }

private:
    TAesPath saved_ = TAesPath::Tables;
};

INSTANTIATE_TEST_SUITE_P(Paths, BlockAES, ::testing::Values(TAesPath::Tables, TAesPath::Instructions),
                         [](const ::testing::TestParamInfo<TAesPath>& info) {
                             return info.param == TAesPath::Tables ? std::string("Tables")
                                                                   : std::string("Instructions");
                         });

// ---- Block cipher

TEST_P(BlockAES, BlockVectorsEncryptAndDecrypt)
{
    struct Case { const char* key; const char* plain; const char* cipher; };
    const Case cases[] = {
        {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
         "69c4e0d86a7b0430d8cdb78070b4c55a"},
        {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734",
         "3925841d02dc09fbdc118597196a0b32"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        TAesExpandedKey enc, dec;
        Aes_Expand_Key(Key(c.key), enc);
        Aes_Expand_Key_Decrypt(Key(c.key), dec);
        TAesBlock out;
        Aes_Encrypt_Block(Block(c.plain), enc, out);
        EXPECT_EQ(ToHex(out), c.cipher);
        Aes_Decrypt_Block(Block(c.cipher), dec, out);
        EXPECT_EQ(ToHex(out), c.plain);
    }
}

// The decoder XORs round keys straight onto little-endian loaded words, so the byte order
// inside a word is part of the contract.
TEST_P(BlockAES, KeyScheduleWordsHoldFirstByteLowest)
{
    struct Case { std::size_t index; std::uint32_t word; };
    const Case cases[] = {
        {0, 0x16157e2b},  {3, 0x3c4fcf09},  {4, 0x17fefaa0},  {7, 0x05766c2a},
        {40, 0xa8f914d0}, {41, 0x8925eec9}, {42, 0xc80c3fe1}, {43, 0xa60c63b6},
    };
    TAesExpandedKey enc, dec;
    Aes_Expand_Key(Key(kExampleKey), enc);
    Aes_Expand_Key_Decrypt(Key(kExampleKey), dec);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(enc[c.index], c.word);
    }
    // Round keys 0 and 10 are shared by both schedules; the inner ones are transformed.
    for (std::size_t i : {0u, 1u, 2u, 3u, 40u, 41u, 42u, 43u})
        EXPECT_EQ(dec[i], enc[i]) << i;
    for (std::size_t i = 4; i < 40; ++i)
        EXPECT_NE(dec[i], enc[i]) << i;
}

TEST_P(BlockAES, RandomBlocksRoundTrip)
{
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        TAesKey key;
        TAesBlock plain;
        for (auto& b : key) b = static_cast<std::uint8_t>(byte(rng));
        for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
        TAesExpandedKey enc, dec;
        Aes_Expand_Key(key, enc);
        Aes_Expand_Key_Decrypt(key, dec);
        TAesBlock cipher, back;
        Aes_Encrypt_Block(plain, enc, cipher);
        Aes_Decrypt_Block(cipher, dec, back);
        ASSERT_EQ(ToHex(back), ToHex(plain)) << "key " << ToHex(key);
        ASSERT_NE(ToHex(cipher), ToHex(plain));
    }
}

// ---- CBC decryption of streams

TEST_P(BlockAES, CbcDecryptStreamLengthsAndPositions)
{
    const Bytes cipher = Hex(kExampleCbcCipher);
    const Bytes plain = Hex(kExampleMessage);
    struct Case {
        const char* name;
        std::size_t sourceBytes;     // leading bytes of the example ciphertext in the source
        std::int64_t sourcePosition;
        std::int64_t count;
        std::size_t ivBlock;         // 0: the example IV; k: ciphertext block k - 1
        std::size_t plainFrom, plainTo;
        std::int64_t sourceAfter;
    };
    const Case cases[] = {
        {"whole stream, count 0", 64, 0, 0, 0, 0, 64, 64},
        {"count 0 rewinds a positioned source", 32, 16, 0, 0, 0, 32, 32},
        {"count beyond the source is cut to what is left", 32, 0, 48, 0, 0, 32, 32},
        {"count from the current position", 64, 16, 32, 1, 16, 48, 48},
        {"empty source", 0, 0, 0, 0, 0, 0, 0},
        {"source at its end", 64, 64, 16, 0, 0, 0, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAesMemoryStream source(Bytes(cipher.begin(), cipher.begin() + c.sourceBytes));
        source.SetPosition(c.sourcePosition);
        // The destination is written at its own position; what lies before stays.
        TAesMemoryStream destination(Bytes{0xAA, 0xBB, 0xCC});
        destination.SetPosition(2);
        const TAesBlock iv = c.ivBlock == 0 ? Block(kExampleIv)
                                            : Block(kExampleCbcCipher.substr(32 * (c.ivBlock - 1), 32));
        Aes_Cbc_Decrypt_Stream(source, c.count, Key(kExampleKey), iv, destination);

        Bytes expected{0xAA, 0xBB, 0xCC};
        if (c.plainTo > c.plainFrom) {
            expected.resize(2);
            expected.insert(expected.end(), plain.begin() + c.plainFrom, plain.begin() + c.plainTo);
        }
        EXPECT_EQ(ToHex(destination.Bytes()), ToHex(expected));
        EXPECT_EQ(source.Position(), c.sourceAfter);
        EXPECT_EQ(destination.Position(), c.plainTo > c.plainFrom
                                              ? 2 + static_cast<std::int64_t>(c.plainTo - c.plainFrom)
                                              : 2);
    }
}

TEST_P(BlockAES, CbcDecryptRejectsPartialBlocksBeforeTouchingStreams)
{
    struct Case { const char* name; std::size_t sourceBytes; std::int64_t position, count; };
    const Case cases[] = {
        {"20-byte source, count 0", 20, 0, 0},
        {"count not a multiple of 16", 64, 0, 20},
        {"rest of the source not a multiple of 16", 40, 0, 48},
        {"negative count", 64, 0, -16},
        {"source positioned past its end", 32, 48, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAesMemoryStream source(Bytes(c.sourceBytes, 0x5A));
        source.SetPosition(c.position);
        TAesMemoryStream destination;
        EXPECT_TRUE(ThrowsWith<EAESError>(
            [&] { Aes_Cbc_Decrypt_Stream(source, c.count, Key(kExampleKey), Block(kExampleIv), destination); },
            u"Invalid buffer size for decryption"));
        EXPECT_EQ(destination.Size(), 0);
        EXPECT_EQ(source.Position(), c.count == 0 ? 0 : c.position);
    }
}

// A stream that claims more bytes than it delivers, or takes fewer than it is given.
class TLimitedStream : public TAesMemoryStream {
public:
    TLimitedStream(std::vector<std::uint8_t> bytes, std::int64_t claimedSize, std::int64_t writeLimit)
        : TAesMemoryStream(std::move(bytes)), claimedSize_(claimedSize), writeLimit_(writeLimit) {}
    std::int64_t Size() const override { return claimedSize_; }
    std::int32_t Write(const void* buffer, std::int32_t count) override
    {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, writeLimit_ - Position()));
        return TAesMemoryStream::Write(buffer, n < 0 ? 0 : n);
    }

private:
    std::int64_t claimedSize_;
    std::int64_t writeLimit_;
};

TEST_P(BlockAES, CbcDecryptShortReadAndWriteKeepEarlierBlocks)
{
    const Bytes cipher = Hex(kExampleCbcCipher);
    const Bytes plain = Hex(kExampleMessage);
    {
        // 40 bytes delivered of 48 claimed: two blocks out, the third read fails.
        TLimitedStream source(Bytes(cipher.begin(), cipher.begin() + 40), 48, 0);
        TAesMemoryStream destination;
        EXPECT_TRUE(ThrowsWith<plat::EFileError>(
            [&] { Aes_Cbc_Decrypt_Stream(source, 0, Key(kExampleKey), Block(kExampleIv), destination); },
            u"Stream read error"));
        EXPECT_EQ(ToHex(destination.Bytes()), ToHex(Bytes(plain.begin(), plain.begin() + 32)));
    }
    {
        TAesMemoryStream source(cipher);
        TLimitedStream destination(Bytes{}, 0, 24);
        EXPECT_TRUE(ThrowsWith<plat::EFileError>(
            [&] { Aes_Cbc_Decrypt_Stream(source, 0, Key(kExampleKey), Block(kExampleIv), destination); },
            u"Stream write error"));
        EXPECT_EQ(ToHex(Bytes(destination.Bytes().begin(), destination.Bytes().begin() + 16)),
                  ToHex(Bytes(plain.begin(), plain.begin() + 16)));
    }
    {
        // A destination positioned where no byte more fits in 64 bits takes nothing.
        TAesMemoryStream source(cipher);
        TAesMemoryStream destination;
        destination.SetPosition(std::numeric_limits<std::int64_t>::max() - 20);
        EXPECT_TRUE(ThrowsWith<plat::EFileError>(
            [&] { Aes_Cbc_Decrypt_Stream(source, 0, Key(kExampleKey), Block(kExampleIv), destination); },
            u"Stream write error"));
        EXPECT_EQ(destination.Size(), 0);
    }
}

// Encrypts in CBC with the block function; the unit itself has no stream encryption.
Bytes CbcEncrypt(const Bytes& plain, const TAesKey& key, const TAesBlock& iv)
{
    TAesExpandedKey enc;
    Aes_Expand_Key(key, enc);
    Bytes out;
    TAesBlock chain = iv;
    for (std::size_t i = 0; i < plain.size(); i += 16) {
        TAesBlock in;
        for (std::size_t j = 0; j < 16; ++j)
            in[j] = static_cast<std::uint8_t>(plain[i + j] ^ chain[j]);
        Aes_Encrypt_Block(in, enc, chain);
        out.insert(out.end(), chain.begin(), chain.end());
    }
    return out;
}

TEST_P(BlockAES, CbcRandomRoundTrip)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> blocks(1, 20);
    for (int round = 0; round < 300; ++round) {
        TAesKey key;
        TAesBlock iv;
        for (auto& b : key) b = static_cast<std::uint8_t>(byte(rng));
        for (auto& b : iv) b = static_cast<std::uint8_t>(byte(rng));
        Bytes plain(static_cast<std::size_t>(16 * blocks(rng)));
        for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
        TAesMemoryStream source(CbcEncrypt(plain, key, iv));
        TAesMemoryStream destination;
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        ASSERT_EQ(ToHex(destination.Bytes()), ToHex(plain)) << "round " << round;
    }
}

// ---- CMAC

TEST_P(BlockAES, CmacVectorsOverTheStartOfTheStream)
{
    struct Case { std::int64_t count; const char* tag; std::int64_t positionAfter; };
    const Case cases[] = {
        {0, "bb1d6929e95937287fa37d129b756746", 0},
        {16, "070a16b46b4d4144f79bdd9dd04a287c", 0},
        {40, "dfa66747de9ae63030ca32611497c827", 32},
        {64, "51f0bebf7e3b9d92fc49741779363cfe", 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        // The whole four-block message is in the stream; only count bytes are covered, and
        // the stream's position before the call does not matter.
        TAesMemoryStream source(Hex(kExampleMessage));
        source.SetPosition(56);
        TAesBlock tag;
        Aes_Cmac_Stream(source, c.count, Key(kExampleKey), tag);
        EXPECT_EQ(ToHex(tag), c.tag);
        EXPECT_EQ(source.Position(), c.positionAfter);
    }
}

// The CMAC covers only bytes the stream holds; anything else is refused before a read.
TEST_P(BlockAES, CmacCountBounds)
{
    const Bytes message = Hex(kExampleMessage);
    struct Case {
        const char* name;
        std::size_t streamBytes;
        std::int64_t count;
        const char* tag;  // nullptr: refused
    };
    const Case cases[] = {
        {"count -1", 64, -1, nullptr},
        {"most negative count", 64, std::numeric_limits<std::int64_t>::min(), nullptr},
        {"count 0 of an empty stream", 0, 0, "bb1d6929e95937287fa37d129b756746"},
        {"one block", 16, 16, "070a16b46b4d4144f79bdd9dd04a287c"},
        {"the whole stream", 64, 64, "51f0bebf7e3b9d92fc49741779363cfe"},
        {"one byte beyond the stream", 40, 41, nullptr},
        {"a block beyond the stream", 20, 32, nullptr},
        {"largest count", 64, std::numeric_limits<std::int64_t>::max(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAesMemoryStream source(Bytes(message.begin(), message.begin() + c.streamBytes));
        source.SetPosition(8);
        TAesBlock tag{};
        if (c.tag) {
            Aes_Cmac_Stream(source, c.count, Key(kExampleKey), tag);
            EXPECT_EQ(ToHex(tag), c.tag);
        } else {
            EXPECT_TRUE(ThrowsWith<EAESError>([&] { Aes_Cmac_Stream(source, c.count, Key(kExampleKey), tag); },
                                              u"Invalid message length for CMAC"));
            EXPECT_EQ(source.Position(), 8);
        }
    }
}

// The schedule kept for the last key must never serve another key.
TEST_P(BlockAES, AlternatingKeysEachGetTheirOwnSchedule)
{
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(0, 255);
    TAesKey keys[2];
    for (auto& k : keys)
        for (auto& b : k) b = static_cast<std::uint8_t>(byte(rng));
    Bytes plain(64);
    for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
    const TAesBlock iv{};
    std::string firstTags[2];
    for (int round = 0; round < 6; ++round) {
        const TAesKey& key = keys[round % 2];
        TAesMemoryStream source(CbcEncrypt(plain, key, iv));
        TAesMemoryStream destination;
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        ASSERT_EQ(ToHex(destination.Bytes()), ToHex(plain)) << round;
        TAesMemoryStream message(plain);
        TAesBlock tag;
        Aes_Cmac_Stream(message, 64, key, tag);
        if (round < 2)
            firstTags[round] = ToHex(tag);
        else
            ASSERT_EQ(ToHex(tag), firstTags[round % 2]) << round;
    }
    EXPECT_NE(firstTags[0], firstTags[1]);
}

// Longer streams than one read piece of the decryption, with a short read in the middle.
TEST_P(BlockAES, CbcDecryptLongStreams)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> byte(0, 255);
    TAesKey key;
    TAesBlock iv;
    for (auto& b : key) b = static_cast<std::uint8_t>(byte(rng));
    for (auto& b : iv) b = static_cast<std::uint8_t>(byte(rng));
    for (std::size_t blocks : {1023u, 1024u, 1025u, 4099u}) {
        SCOPED_TRACE(blocks);
        Bytes plain(16 * blocks);
        for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
        TAesMemoryStream source(CbcEncrypt(plain, key, iv));
        TAesMemoryStream destination;
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        ASSERT_EQ(ToHex(destination.Bytes()), ToHex(plain));
    }
    // 2000 blocks claimed, 1500 and a half delivered: 1500 blocks out, then the read error.
    Bytes plain(16 * 2000);
    for (auto& b : plain) b = static_cast<std::uint8_t>(byte(rng));
    Bytes cipher = CbcEncrypt(plain, key, iv);
    cipher.resize(16 * 1500 + 8);
    TLimitedStream source(cipher, 16 * 2000, 0);
    TAesMemoryStream destination;
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination); },
                                             u"Stream read error"));
    EXPECT_EQ(ToHex(destination.Bytes()), ToHex(Bytes(plain.begin(), plain.begin() + 16 * 1500)));
}

// ---- openssl as an outside checker

class OpenSsl {
public:
    OpenSsl()
    {
        available_ = std::system("openssl version >/dev/null 2>&1") == 0;
    }
    bool Available() const { return available_; }

    Bytes CbcEncrypt(const Bytes& plain, const TAesKey& key, const TAesBlock& iv)
    {
        Write("plain.bin", plain);
        Run("openssl enc -aes-128-cbc -nopad -K " + ToHex(key) + " -iv " + ToHex(iv) + " -in " +
            Path("plain.bin") + " -out " + Path("cipher.bin"));
        return Read("cipher.bin");
    }

    std::string Cmac(const Bytes& message, const TAesKey& key)
    {
        Write("message.bin", message);
        Run("openssl mac -cipher AES-128-CBC -macopt hexkey:" + ToHex(key) + " -in " +
            Path("message.bin") + " -out " + Path("tag.txt") + " CMAC");
        std::ifstream in(Path("tag.txt"));
        std::string tag;
        in >> tag;
        for (char& ch : tag)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return tag;
    }

private:
    std::string Path(const char* name) const { return dir_ / name; }
    void Write(const char* name, const Bytes& bytes)
    {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Bytes Read(const char* name)
    {
        std::ifstream in(Path(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Run(const std::string& command)
    {
        ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
    }

    bool available_ = false;
    testsupport::TempDir dir_;
};

TEST_P(BlockAES, AgreesWithOpenSsl)
{
    OpenSsl openssl;
    if (!openssl.Available())
        GTEST_SKIP() << "openssl not installed";
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> byte(0, 255);
    auto randomBytes = [&](std::size_t n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<std::uint8_t>(byte(rng));
        return b;
    };
    // Lengths from one block up past the pieces the stream is read in (16 KiB), with the
    // instruction path's groups of eight blocks cut at every remainder.
    std::vector<std::size_t> cbcLengths = {16, 48, 128, 144, 16384, 16400};
    std::uniform_int_distribution<std::size_t> blocks(1, 2600);
    for (int i = 0; i < 6; ++i)
        cbcLengths.push_back(16 * blocks(rng));
    for (std::size_t length : cbcLengths) {
        SCOPED_TRACE(length);
        TAesKey key;
        TAesBlock iv;
        const Bytes k = randomBytes(16), v = randomBytes(16);
        std::copy(k.begin(), k.end(), key.begin());
        std::copy(v.begin(), v.end(), iv.begin());
        const Bytes plain = randomBytes(length);
        TAesMemoryStream source(openssl.CbcEncrypt(plain, key, iv));
        TAesMemoryStream destination;
        Aes_Cbc_Decrypt_Stream(source, 0, key, iv, destination);
        EXPECT_EQ(ToHex(destination.Bytes()), ToHex(plain));
    }
    std::vector<std::size_t> cmacLengths = {0, 1, 15, 16, 17, 31, 32, 33, 100, 255};
    std::uniform_int_distribution<std::size_t> bytes(1, 5000);
    for (int i = 0; i < 6; ++i)
        cmacLengths.push_back(bytes(rng));
    for (std::size_t length : cmacLengths) {
        SCOPED_TRACE(length);
        TAesKey key;
        const Bytes k = randomBytes(16);
        std::copy(k.begin(), k.end(), key.begin());
        const Bytes message = randomBytes(length);
        TAesMemoryStream source(message);
        TAesBlock tag;
        Aes_Cmac_Stream(source, static_cast<std::int64_t>(length), key, tag);
        EXPECT_EQ(ToHex(tag), openssl.Cmac(message, key));
    }
}

} // namespace
