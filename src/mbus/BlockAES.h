#pragma once
// AES-128 for the wireless telegram decoder: the block cipher with its encryption and
// decryption key schedules, CBC decryption of a byte stream and AES-CMAC over the start of
// a stream (the mode 7 session key). Only AES-128; streams are never encrypted.
//
// Expanded keys hold 44 words; word i carries the four bytes of w[i] with the first byte in
// the least significant position, so a round key is XORed onto a block word by word as the
// block's bytes are loaded little-endian. The decryption schedule is the encryption schedule
// with InvMixColumns applied to round keys 1..9 (the equivalent inverse cipher).
//
// Every operation may run on any thread. The stream operations keep the schedules of the
// last key each thread used (decoders call again and again with one meter key); nothing else
// outlives a call.
//
// Two paths compute the same blocks: the processor's AES instructions, chosen at start when
// the processor has them, and the table code everywhere else. Aes_Set_Path chooses one for
// the whole process (tests and benchmarks run both on the same data).
#include <array>
#include <cstdint>
#include <vector>

#include "plat/Exception.h"

using TAesKey = std::array<std::uint8_t, 16>;
using TAesBlock = std::array<std::uint8_t, 16>;
using TAesExpandedKey = std::array<std::uint32_t, 44>;

// A buffer size the cipher cannot take: "Invalid buffer size for decryption", and for the
// CMAC "Invalid message length for CMAC".
// Short reads and writes of a stream raise plat::EFileError ("Stream read error",
// "Stream write error").
class EAESError : public plat::Exception { using plat::Exception::Exception; };

// The byte stream the stream operations work on: a position, a size, and reads and writes
// at the position that move it and answer how many bytes they moved.
class TAesStream {
public:
    virtual ~TAesStream() = default;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
};

// In-memory stream; writing past the end grows it, a position past the end reads nothing.
class TAesMemoryStream : public TAesStream {
public:
    TAesMemoryStream() = default;
    explicit TAesMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override { position_ = position < 0 ? 0 : position; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

enum class TAesPath { Tables, Instructions };
bool Aes_Instructions_Available();
// Instructions where available, else Tables.
void Aes_Set_Path(TAesPath path);
TAesPath Aes_Active_Path();

void Aes_Expand_Key(const TAesKey& key, TAesExpandedKey& expanded);
void Aes_Expand_Key_Decrypt(const TAesKey& key, TAesExpandedKey& expanded);
void Aes_Encrypt_Block(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output);
// key: the decryption schedule of Aes_Expand_Key_Decrypt.
void Aes_Decrypt_Block(const TAesBlock& input, const TAesExpandedKey& key, TAesBlock& output);

// count 0: the whole source from position 0 (the source is rewound); otherwise at most count
// bytes from the source's position. The length must be a multiple of 16 (EAESError before
// anything is read or written). Plaintext goes to the destination at its position; neither
// stream is rewound afterwards.
void Aes_Cbc_Decrypt_Stream(TAesStream& source, std::int64_t count, const TAesKey& key,
                            const TAesBlock& iv, TAesStream& destination);

// AES-CMAC of the first count bytes of the source, always read from position 0; of its n
// blocks (at least one) the last is read first, then the stream is rewound and read up to
// (n - 1) * 16, where it stays. A negative count, or one beyond the source's size, raises
// EAESError before anything is read.
void Aes_Cmac_Stream(TAesStream& source, std::int64_t count, const TAesKey& key, TAesBlock& tag);
