#include "BlockAES.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define BLOCKAES_HAS_AESNI 1
#endif

namespace {

// The program's resource strings of this unit.
constexpr char16_t kInvalidBufferSize[] = u"Invalid buffer size for decryption";
constexpr char16_t kStreamReadError[] = u"Stream read error";
constexpr char16_t kStreamWriteError[] = u"Stream write error";
constexpr char16_t kInvalidCmacLength[] = u"Invalid message length for CMAC";

// ---- Tables, built at compile time from the arithmetic of GF(2^8) modulo x^8+x^4+x^3+x+1.

constexpr std::uint8_t XTime(std::uint8_t a)
{
    return static_cast<std::uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0x00));
}

constexpr std::uint8_t GMul(std::uint8_t a, std::uint8_t b)
{
    std::uint8_t product = 0;
    while (b != 0) {
        if (b & 1)
            product ^= a;
        a = XTime(a);
        b >>= 1;
    }
    return product;
}

// Multiplicative inverse as a^254 (a^255 = 1 for every non-zero a); 0 maps to 0.
constexpr std::uint8_t GInverse(std::uint8_t a)
{
    std::uint8_t result = 1;
    std::uint8_t power = a;
    for (int e = 254; e != 0; e >>= 1) {
        if (e & 1)
            result = GMul(result, power);
        power = GMul(power, power);
    }
    return a == 0 ? 0 : result;
}

constexpr std::uint8_t RotL8(std::uint8_t v, int n)
{
    return static_cast<std::uint8_t>((v << n) | (v >> (8 - n)));
}

constexpr std::uint32_t RotL32(std::uint32_t v, int n)
{
    return (v << n) | (v >> (32 - n));
}

constexpr std::uint32_t Pack(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    return std::uint32_t(b0) | (std::uint32_t(b1) << 8) | (std::uint32_t(b2) << 16) |
           (std::uint32_t(b3) << 24);
}

struct TAesTables {
    std::uint32_t SBox[256];
    std::uint32_t InvSBox[256];
    // Column contribution of a byte in row 0: SubBytes then MixColumns (2, 1, 1, 3), and
    // InvSubBytes then InvMixColumns (14, 9, 13, 11), row 0 in the low byte. Rows 1..3 use the
    // same word rotated left by 8, 16 and 24 bits.
    std::uint32_t Enc[256];
    std::uint32_t Dec[256];
    // The same words rotated for rows 1..3, so the rounds look them up without rotating.
    std::uint32_t EncRot[3][256];
    std::uint32_t DecRot[3][256];
};

constexpr TAesTables BuildTables()
{
    TAesTables t{};
    for (int x = 0; x < 256; ++x) {
        const std::uint8_t inv = GInverse(static_cast<std::uint8_t>(x));
        const std::uint8_t s = static_cast<std::uint8_t>(inv ^ RotL8(inv, 1) ^ RotL8(inv, 2) ^
                                                         RotL8(inv, 3) ^ RotL8(inv, 4) ^ 0x63);
        t.SBox[x] = s;
        t.InvSBox[s] = static_cast<std::uint32_t>(x);
    }
    for (int x = 0; x < 256; ++x) {
        const auto s = static_cast<std::uint8_t>(t.SBox[x]);
        t.Enc[x] = Pack(GMul(s, 2), s, s, GMul(s, 3));
        const auto i = static_cast<std::uint8_t>(t.InvSBox[x]);
        t.Dec[x] = Pack(GMul(i, 14), GMul(i, 9), GMul(i, 13), GMul(i, 11));
        for (int r = 0; r < 3; ++r) {
            t.EncRot[r][x] = RotL32(t.Enc[x], 8 * (r + 1));
            t.DecRot[r][x] = RotL32(t.Dec[x], 8 * (r + 1));
        }
    }
    return t;
}

constexpr TAesTables kTables = BuildTables();
constexpr std::uint8_t kRcon[10] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80, 0x1B, 0x36};

static_assert(kTables.SBox[0x00] == 0x63 && kTables.SBox[0x53] == 0xED, "S-box");
static_assert(kTables.InvSBox[0x63] == 0x00, "inverse S-box");

inline std::uint8_t B(std::uint32_t w, int n) { return static_cast<std::uint8_t>(w >> (8 * n)); }

inline std::uint32_t Load(const std::uint8_t* p) { return Pack(p[0], p[1], p[2], p[3]); }

inline void Store(std::uint8_t* p, std::uint32_t w)
{
    p[0] = B(w, 0);
    p[1] = B(w, 1);
    p[2] = B(w, 2);
    p[3] = B(w, 3);
}

// ---- Rounds. State words are the four columns; byte r of a word is row r.

inline std::uint32_t EncColumn(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2,
                               std::uint32_t c3, std::uint32_t roundKey)
{
    // ShiftRows takes row r of this column from the column r places to the right.
    return kTables.Enc[B(c0, 0)] ^ kTables.EncRot[0][B(c1, 1)] ^ kTables.EncRot[1][B(c2, 2)] ^
           kTables.EncRot[2][B(c3, 3)] ^ roundKey;
}

// Forced inline so the unrolled rounds keep the state in registers.
[[gnu::always_inline]] inline void EncRound(std::uint32_t (&s)[4], const std::uint32_t* rk)
{
    const std::uint32_t t0 = EncColumn(s[0], s[1], s[2], s[3], rk[0]);
    const std::uint32_t t1 = EncColumn(s[1], s[2], s[3], s[0], rk[1]);
    const std::uint32_t t2 = EncColumn(s[2], s[3], s[0], s[1], rk[2]);
    const std::uint32_t t3 = EncColumn(s[3], s[0], s[1], s[2], rk[3]);
    s[0] = t0; s[1] = t1; s[2] = t2; s[3] = t3;
}

inline std::uint32_t EncLastColumn(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2,
                                   std::uint32_t c3, std::uint32_t roundKey)
{
    return Pack(static_cast<std::uint8_t>(kTables.SBox[B(c0, 0)]),
                static_cast<std::uint8_t>(kTables.SBox[B(c1, 1)]),
                static_cast<std::uint8_t>(kTables.SBox[B(c2, 2)]),
                static_cast<std::uint8_t>(kTables.SBox[B(c3, 3)])) ^ roundKey;
}

inline std::uint32_t DecColumn(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2,
                               std::uint32_t c3, std::uint32_t roundKey)
{
    // InvShiftRows takes row r of this column from the column r places to the left;
    // the caller passes c1..c3 as those columns.
    return kTables.Dec[B(c0, 0)] ^ kTables.DecRot[0][B(c1, 1)] ^ kTables.DecRot[1][B(c2, 2)] ^
           kTables.DecRot[2][B(c3, 3)] ^ roundKey;
}

[[gnu::always_inline]] inline void DecRound(std::uint32_t (&s)[4], const std::uint32_t* rk)
{
    const std::uint32_t t0 = DecColumn(s[0], s[3], s[2], s[1], rk[0]);
    const std::uint32_t t1 = DecColumn(s[1], s[0], s[3], s[2], rk[1]);
    const std::uint32_t t2 = DecColumn(s[2], s[1], s[0], s[3], rk[2]);
    const std::uint32_t t3 = DecColumn(s[3], s[2], s[1], s[0], rk[3]);
    s[0] = t0; s[1] = t1; s[2] = t2; s[3] = t3;
}

inline std::uint32_t DecLastColumn(std::uint32_t c0, std::uint32_t c1, std::uint32_t c2,
                                   std::uint32_t c3, std::uint32_t roundKey)
{
    return Pack(static_cast<std::uint8_t>(kTables.InvSBox[B(c0, 0)]),
                static_cast<std::uint8_t>(kTables.InvSBox[B(c1, 1)]),
                static_cast<std::uint8_t>(kTables.InvSBox[B(c2, 2)]),
                static_cast<std::uint8_t>(kTables.InvSBox[B(c3, 3)])) ^ roundKey;
}

// InvMixColumns of one word, through the decryption table: Dec[SBox[x]] is the
// InvMixColumns contribution of x alone.
inline std::uint32_t InvMixWord(std::uint32_t w)
{
    return kTables.Dec[kTables.SBox[B(w, 0)]] ^ RotL32(kTables.Dec[kTables.SBox[B(w, 1)]], 8) ^
           RotL32(kTables.Dec[kTables.SBox[B(w, 2)]], 16) ^
           RotL32(kTables.Dec[kTables.SBox[B(w, 3)]], 24);
}

// ---- Small block utilities of the CMAC.

// The first k bytes of the block, then 0x80, then zeros up to 16.
TAesBlock PadBlock(const TAesBlock& block, int k)
{
    TAesBlock padded{};
    std::copy_n(block.begin(), k, padded.begin());
    padded[static_cast<std::size_t>(k)] = 0x80;
    return padded;
}

TAesBlock XorBlock(const TAesBlock& a, const TAesBlock& b)
{
    TAesBlock r;
    for (std::size_t i = 0; i < 16; ++i)
        r[i] = static_cast<std::uint8_t>(a[i] ^ b[i]);
    return r;
}

// The block as a 128-bit big-endian number shifted left by one; answers the bit shifted out.
bool ShiftLeftBlock(const TAesBlock& in, TAesBlock& out)
{
    const bool carry = (in[0] & 0x80) != 0;
    for (std::size_t i = 0; i < 15; ++i)
        out[i] = static_cast<std::uint8_t>((in[i] << 1) | (in[i + 1] >> 7));
    out[15] = static_cast<std::uint8_t>(in[15] << 1);
    return carry;
}

TAesBlock CmacSubkey(const TAesBlock& from)
{
    TAesBlock k;
    if (ShiftLeftBlock(from, k))
        k[15] ^= 0x87;
    return k;
}

// Reads up to 16 bytes; what the stream lacks stays zero.
TAesBlock ReadPartialBlock(TAesStream& stream)
{
    TAesBlock block{};
    stream.Read(block.data(), 16);
    return block;
}

} // namespace

// ---- Memory stream

std::int32_t TAesMemoryStream::Read(void* buffer, std::int32_t count)
{
    const std::int64_t available = static_cast<std::int64_t>(bytes_.size()) - position_;
    if (count <= 0 || available <= 0)
        return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, available));
    std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int32_t TAesMemoryStream::Write(const void* buffer, std::int32_t count)
{
    // A position so far out that the end would not fit in 64 bits takes nothing (the caller
    // sees a short write) instead of wrapping round.
    if (count <= 0 || position_ > std::numeric_limits<std::int64_t>::max() - count)
        return 0;
    const auto end = static_cast<std::size_t>(position_ + count);
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

// ---- Block cipher

void Aes_Expand_Key(const TAesKey& key, TAesExpandedKey& expanded)
{
    for (int i = 0; i < 4; ++i)
        expanded[static_cast<std::size_t>(i)] = Load(key.data() + 4 * i);
    for (std::size_t i = 4; i < 44; ++i) {
        std::uint32_t temp = expanded[i - 1];
        if (i % 4 == 0) {
            // RotWord brings the second byte to the front: with the first byte in the low
            // position that is a rotation right by 8 bits.
            const std::uint32_t rotated = (temp >> 8) | (temp << 24);
            temp = Pack(static_cast<std::uint8_t>(kTables.SBox[B(rotated, 0)] ^ kRcon[i / 4 - 1]),
                        static_cast<std::uint8_t>(kTables.SBox[B(rotated, 1)]),
                        static_cast<std::uint8_t>(kTables.SBox[B(rotated, 2)]),
                        static_cast<std::uint8_t>(kTables.SBox[B(rotated, 3)]));
        }
        expanded[i] = expanded[i - 4] ^ temp;
    }
}

void Aes_Expand_Key_Decrypt(const TAesKey& key, TAesExpandedKey& expanded)
{
    Aes_Expand_Key(key, expanded);
    for (std::size_t i = 4; i < 40; ++i)
        expanded[i] = InvMixWord(expanded[i]);
}

namespace {

void Aes_Encrypt_Block_Tables(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output)
{
    const std::uint32_t* rk = key.data();
    std::uint32_t s[4] = {Load(&input[0]) ^ rk[0], Load(&input[4]) ^ rk[1],
                          Load(&input[8]) ^ rk[2], Load(&input[12]) ^ rk[3]};
    EncRound(s, rk + 4);
    EncRound(s, rk + 8);
    EncRound(s, rk + 12);
    EncRound(s, rk + 16);
    EncRound(s, rk + 20);
    EncRound(s, rk + 24);
    EncRound(s, rk + 28);
    EncRound(s, rk + 32);
    EncRound(s, rk + 36);
    Store(&output[0], EncLastColumn(s[0], s[1], s[2], s[3], rk[40]));
    Store(&output[4], EncLastColumn(s[1], s[2], s[3], s[0], rk[41]));
    Store(&output[8], EncLastColumn(s[2], s[3], s[0], s[1], rk[42]));
    Store(&output[12], EncLastColumn(s[3], s[0], s[1], s[2], rk[43]));
}

void Aes_Decrypt_Block_Tables(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output)
{
    const std::uint32_t* rk = key.data();
    std::uint32_t s[4] = {Load(&input[0]) ^ rk[40], Load(&input[4]) ^ rk[41],
                          Load(&input[8]) ^ rk[42], Load(&input[12]) ^ rk[43]};
    DecRound(s, rk + 36);
    DecRound(s, rk + 32);
    DecRound(s, rk + 28);
    DecRound(s, rk + 24);
    DecRound(s, rk + 20);
    DecRound(s, rk + 16);
    DecRound(s, rk + 12);
    DecRound(s, rk + 8);
    DecRound(s, rk + 4);
    Store(&output[0], DecLastColumn(s[0], s[3], s[2], s[1], rk[0]));
    Store(&output[4], DecLastColumn(s[1], s[0], s[3], s[2], rk[1]));
    Store(&output[8], DecLastColumn(s[2], s[1], s[0], s[3], rk[2]));
    Store(&output[12], DecLastColumn(s[3], s[2], s[1], s[0], rk[3]));
}

} // namespace

// ---- Instruction path

namespace {

#ifdef BLOCKAES_HAS_AESNI

// The schedules' words load straight into the instructions' registers: word i holds the
// bytes of w[i] first byte lowest, which is the byte order of a round key in memory.
#define BLOCKAES_TARGET __attribute__((target("aes,sse2")))

BLOCKAES_TARGET inline __m128i RoundKey(const TAesExpandedKey& key, int round)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(key.data() + 4 * round));
}

BLOCKAES_TARGET void NiEncryptBlock(const std::uint8_t* in, const TAesExpandedKey& key, std::uint8_t* out)
{
    __m128i s = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), RoundKey(key, 0));
    for (int r = 1; r < 10; ++r)
        s = _mm_aesenc_si128(s, RoundKey(key, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_aesenclast_si128(s, RoundKey(key, 10)));
}

// key: the decryption schedule (InvMixColumns already applied to round keys 1..9), which is
// what the equivalent inverse cipher of the instructions expects.
BLOCKAES_TARGET void NiDecryptBlock(const std::uint8_t* in, const TAesExpandedKey& key, std::uint8_t* out)
{
    __m128i s = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), RoundKey(key, 10));
    for (int r = 9; r > 0; --r)
        s = _mm_aesdec_si128(s, RoundKey(key, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_aesdeclast_si128(s, RoundKey(key, 0)));
}

// CBC decryption of whole blocks in place. Eight blocks go through the rounds together: the
// blocks of CBC decryption do not depend on each other, and the instructions' latency is
// hidden only when several are in flight.
BLOCKAES_TARGET void NiCbcDecrypt(std::uint8_t* data, std::size_t blocks, const TAesExpandedKey& key,
                                  std::uint8_t* chain)
{
    __m128i rk[11];
    for (int r = 0; r < 11; ++r)
        rk[r] = RoundKey(key, r);
    __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chain));
    auto* p = reinterpret_cast<__m128i*>(data);
    std::size_t i = 0;
    for (; i + 8 <= blocks; i += 8) {
        __m128i c[8], s[8];
        for (int j = 0; j < 8; ++j) {
            c[j] = _mm_loadu_si128(p + i + j);
            s[j] = _mm_xor_si128(c[j], rk[10]);
        }
        for (int r = 9; r > 0; --r)
            for (int j = 0; j < 8; ++j)
                s[j] = _mm_aesdec_si128(s[j], rk[r]);
        for (int j = 0; j < 8; ++j) {
            s[j] = _mm_aesdeclast_si128(s[j], rk[0]);
            _mm_storeu_si128(p + i + j, _mm_xor_si128(s[j], j == 0 ? prev : c[j - 1]));
        }
        prev = c[7];
    }
    for (; i < blocks; ++i) {
        const __m128i c = _mm_loadu_si128(p + i);
        __m128i s = _mm_xor_si128(c, rk[10]);
        for (int r = 9; r > 0; --r)
            s = _mm_aesdec_si128(s, rk[r]);
        _mm_storeu_si128(p + i, _mm_xor_si128(_mm_aesdeclast_si128(s, rk[0]), prev));
        prev = c;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(chain), prev);
}

bool CpuHasAes()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse2");
}

#else

bool CpuHasAes() { return false; }

#endif

std::atomic<bool> g_useInstructions{CpuHasAes()};

bool UseInstructions() { return g_useInstructions.load(std::memory_order_relaxed); }

void EncryptBlock(const std::uint8_t* in, const TAesExpandedKey& key, std::uint8_t* out)
{
#ifdef BLOCKAES_HAS_AESNI
    if (UseInstructions()) {
        NiEncryptBlock(in, key, out);
        return;
    }
#endif
    TAesBlock a, b;
    std::memcpy(a.data(), in, 16);
    Aes_Encrypt_Block_Tables(a, key, b);
    std::memcpy(out, b.data(), 16);
}

// CBC decryption of whole blocks in place; chain is the IV on entry and the last
// ciphertext block on return.
void CbcDecryptInPlace(std::uint8_t* data, std::size_t blocks, const TAesExpandedKey& key, TAesBlock& chain)
{
#ifdef BLOCKAES_HAS_AESNI
    if (UseInstructions()) {
        NiCbcDecrypt(data, blocks, key, chain.data());
        return;
    }
#endif
    TAesBlock cipher, plain;
    for (std::size_t i = 0; i < blocks; ++i) {
        std::uint8_t* block = data + 16 * i;
        std::memcpy(cipher.data(), block, 16);
        Aes_Decrypt_Block_Tables(cipher, key, plain);
        for (std::size_t j = 0; j < 16; ++j)
            block[j] = static_cast<std::uint8_t>(plain[j] ^ chain[j]);
        chain = cipher;
    }
}

// The schedules of the last key a thread used: decoders call again and again with the same
// meter key, and the schedule costs as much as several blocks.
struct TScheduleCache {
    bool encValid = false, decValid = false;
    TAesKey encKey{}, decKey{};
    TAesExpandedKey enc{}, dec{};
};
thread_local TScheduleCache t_schedules;

const TAesExpandedKey& EncryptionSchedule(const TAesKey& key)
{
    TScheduleCache& c = t_schedules;
    if (!c.encValid || c.encKey != key) {
        Aes_Expand_Key(key, c.enc);
        c.encKey = key;
        c.encValid = true;
    }
    return c.enc;
}

const TAesExpandedKey& DecryptionSchedule(const TAesKey& key)
{
    TScheduleCache& c = t_schedules;
    if (!c.decValid || c.decKey != key) {
        Aes_Expand_Key_Decrypt(key, c.dec);
        c.decKey = key;
        c.decValid = true;
    }
    return c.dec;
}

// Bytes of ciphertext taken from the source per read: whole blocks, decrypted in place.
constexpr std::int32_t kChunk = 16 * 1024;

} // namespace

bool Aes_Instructions_Available() { return CpuHasAes(); }

void Aes_Set_Path(TAesPath path)
{
    g_useInstructions.store(path == TAesPath::Tables ? false : CpuHasAes(), std::memory_order_relaxed);
}

TAesPath Aes_Active_Path() { return UseInstructions() ? TAesPath::Instructions : TAesPath::Tables; }

void Aes_Encrypt_Block(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output)
{
    EncryptBlock(input.data(), key, output.data());
}

void Aes_Decrypt_Block(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output)
{
#ifdef BLOCKAES_HAS_AESNI
    if (UseInstructions()) {
        NiDecryptBlock(input.data(), key, output.data());
        return;
    }
#endif
    Aes_Decrypt_Block_Tables(input, key, output);
}

// ---- Streams

void Aes_Cbc_Decrypt_Stream(TAesStream& source, std::int64_t count, const TAesKey& key,
                            const TAesBlock& iv, TAesStream& destination)
{
    std::int64_t length;
    if (count != 0) {
        // What is left of the source; a position outside 0..size leaves nothing usable.
        const std::int64_t size = source.Size();
        const std::int64_t position = source.Position();
        const std::int64_t left = position < 0 || position > size ? -1 : size - position;
        length = std::min(count, left);
    } else {
        source.SetPosition(0);
        length = source.Size();
    }
    if (length == 0)
        return;
    // A negative length (negative count, or a source positioned past its end) is as
    // unusable as a partial block.
    if (length < 0 || length % 16 != 0)
        throw EAESError(kInvalidBufferSize);

    const TAesExpandedKey& schedule = DecryptionSchedule(key);
    TAesBlock chain = iv;
    alignas(16) std::uint8_t buffer[kChunk];
    for (std::int64_t done = 0; done < length;) {
        const auto want = static_cast<std::int32_t>(std::min<std::int64_t>(kChunk, length - done));
        const std::int32_t got = std::max(source.Read(buffer, want), 0);
        // The whole blocks that did arrive are decrypted and written before a short read is
        // reported, as block-by-block reading would have left them.
        const std::int32_t whole = std::min(got, want) / 16 * 16;
        CbcDecryptInPlace(buffer, static_cast<std::size_t>(whole / 16), schedule, chain);
        if (whole > 0 && destination.Write(buffer, whole) < whole)
            throw plat::EFileError(kStreamWriteError);
        if (whole < want)
            throw plat::EFileError(kStreamReadError);
        done += want;
    }
}

void Aes_Cmac_Stream(TAesStream& source, std::int64_t count, const TAesKey& key, TAesBlock& tag)
{
    // Only bytes the stream holds: a count beyond them (or a negative one) would take bytes
    // that are not there and, when huge, run for ever.
    if (count < 0 || count > source.Size())
        throw EAESError(kInvalidCmacLength);
    const TAesExpandedKey& schedule = EncryptionSchedule(key);

    TAesBlock l;
    Aes_Encrypt_Block(TAesBlock{}, schedule, l);
    const TAesBlock k1 = CmacSubkey(l);
    const TAesBlock k2 = CmacSubkey(k1);

    std::int64_t n = count / 16 + (count % 16 != 0 ? 1 : 0);
    bool lastComplete;
    if (n == 0) {
        n = 1;
        lastComplete = false;
    } else {
        lastComplete = count % 16 == 0;
    }

    source.SetPosition((n - 1) * 16);
    TAesBlock last = ReadPartialBlock(source);
    if (lastComplete)
        last = XorBlock(last, k1);
    else
        last = XorBlock(PadBlock(last, static_cast<int>(count % 16)), k2);

    source.SetPosition(0);
    TAesBlock x{};
    for (std::int64_t i = 0; i < n - 1; ++i) {
        const TAesBlock block = ReadPartialBlock(source);
        Aes_Encrypt_Block(XorBlock(x, block), schedule, x);
    }
    Aes_Encrypt_Block(XorBlock(x, last), schedule, tag);
}
