#pragma once
// Byte streams: a position, a size, reads and writes at the position.
// - Read/Write move as many bytes as they can and answer the count; ReadBuffer/WriteBuffer
//   move all or raise EReadError "Stream read error" / EWriteError "Stream write error".
// - Sizes and positions are 64-bit; Seek past the end is allowed for memory streams (a
//   later write fills the gap with zeros) and clamped to 0 below the start.
// - TMemoryStream owns its bytes; TCustomMemoryStream reads memory it may not own.
// - TFileStream opens a regular file only. Share modes are accepted and advisory.
// - TAtomicFileStream collects the bytes in memory and replaces the file at Commit
//   (temporary file in the same folder, then rename); without Commit the old file stays.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

class EStreamError : public Exception { using Exception::Exception; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;
    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
    // Shrinking cuts the stream; the position is kept inside it.
    virtual void SetSize(std::int64_t NewSize) = 0;

    void ReadBuffer(void* Buffer, std::size_t Count);
    void WriteBuffer(const void* Buffer, std::size_t Count);
    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, soBeginning); }
    virtual std::int64_t Size();
    // Copies Count bytes from Source at its position (0 = all of Source from its start).
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

class TCustomMemoryStream : public TStream {
public:
    TCustomMemoryStream() = default;
    // Reads Size bytes at Memory, which the caller keeps alive; writing raises.
    TCustomMemoryStream(const void* Memory, std::size_t Size) { SetPointer(Memory, Size); }
    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(size_); }
    const std::uint8_t* Memory() const { return data_; }

protected:
    void SetPointer(const void* Memory, std::size_t Size);
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    void SetSize(std::int64_t NewSize) override;
    // Empties the stream; the memory already reserved stays for the next writes.
    void Clear();
    // Reserves room for Bytes without changing the size.
    void SetCapacity(std::size_t Bytes) { buffer_.reserve(Bytes); Sync(); }
    const std::string& Bytes() const { return buffer_; }
    void LoadFromBytes(std::string Bytes);

private:
    void Sync() { SetPointer(buffer_.data(), buffer_.size()); }
    std::string buffer_;
};

constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    // Raises EFOpenError with "Cannot open file "<name>"." or "Cannot create file "<name>".".
    TFileStream(const String& FileName, unsigned Mode);
    ~TFileStream() override;
    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;

private:
    std::FILE* file_ = nullptr;
};

class TAtomicFileStream : public TMemoryStream {
public:
    explicit TAtomicFileStream(String FileName) : fileName_(std::move(FileName)) {}
    // Raises EWriteError "Cannot write file "<name>"." when the file cannot be replaced.
    void Commit();

private:
    String fileName_;
};

} // namespace plat
