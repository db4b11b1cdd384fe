#include "plat/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "plat/Files.h"

namespace plat {

void TStream::ReadBuffer(void* Buffer, std::size_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(u"Stream write error");
}

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count)
{
    if (Count == 0) {
        Source.Seek(0, soBeginning);
        Count = Source.Size();
    }
    char buf[65536];
    std::int64_t left = Count;
    while (left > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(left, sizeof buf));
        Source.ReadBuffer(buf, n);
        WriteBuffer(buf, n);
        left -= static_cast<std::int64_t>(n);
    }
    return Count;
}

// ---- memory --------------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(const void* Memory, std::size_t Size)
{
    data_ = static_cast<const std::uint8_t*>(Memory);
    size_ = Size;
}

std::size_t TCustomMemoryStream::Read(void* Buffer, std::size_t Count)
{
    if (pos_ >= size_) return 0;
    const std::size_t n = std::min(Count, size_ - pos_);
    std::memcpy(Buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

std::size_t TCustomMemoryStream::Write(const void*, std::size_t)
{
    return 0;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t base = 0;
    if (Origin == soCurrent) base = static_cast<std::int64_t>(pos_);
    else if (Origin == soEnd) base = static_cast<std::int64_t>(size_);
    std::int64_t p = base + Offset;
    if (p < 0) p = 0;
    pos_ = static_cast<std::size_t>(p);
    return p;
}

void TCustomMemoryStream::SetSize(std::int64_t)
{
    throw EWriteError(u"Stream write error");
}

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count)
{
    if (Count == 0) return 0;
    if (pos_ == buffer_.size()) {
        // Appending: no zero fill of the new room before the copy.
        buffer_.append(static_cast<const char*>(Buffer), Count);
        pos_ += Count;
        Sync();
        return Count;
    }
    if (pos_ + Count > buffer_.size()) buffer_.resize(pos_ + Count);
    std::memcpy(buffer_.data() + pos_, Buffer, Count);
    pos_ += Count;
    Sync();
    return Count;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    buffer_.resize(static_cast<std::size_t>(std::max<std::int64_t>(NewSize, 0)));
    if (pos_ > buffer_.size()) pos_ = buffer_.size();
    Sync();
}

void TMemoryStream::Clear()
{
    buffer_.clear();
    pos_ = 0;
    Sync();
}

void TMemoryStream::LoadFromBytes(std::string Bytes)
{
    buffer_ = std::move(Bytes);
    pos_ = 0;
    Sync();
}

// ---- files ---------------------------------------------------------------------------

TFileStream::TFileStream(const String& FileName, unsigned Mode)
{
    const std::string path = NativePath(FileName);
    if (Mode == fmCreate) {
        file_ = std::fopen(path.c_str(), "w+b");
        if (!file_) throw EFOpenError(u"Cannot create file \"" + FileName + u"\".");
        return;
    }
    // As ReadRegularFile does: opened non-blocking, so that a named pipe with no writer
    // cannot hold the program, and the type checked on the opened descriptor, so that
    // nothing swapped in after a check by name is read.
    const unsigned access = Mode & 3;
    const int fd = ::open(path.c_str(), (access == fmOpenRead ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw EFOpenError(u"Cannot open file \"" + FileName + u"\".");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        throw EFOpenError(u"Cannot open file \"" + FileName + u"\".");
    }
    file_ = ::fdopen(fd, access == fmOpenRead ? "rb" : "r+b");
    if (!file_) {
        ::close(fd);
        throw EFOpenError(u"Cannot open file \"" + FileName + u"\".");
    }
}

TFileStream::~TFileStream()
{
    if (file_) std::fclose(file_);
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count)
{
    return std::fread(Buffer, 1, Count, file_);
}

std::size_t TFileStream::Write(const void* Buffer, std::size_t Count)
{
    return std::fwrite(Buffer, 1, Count, file_);
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (fseeko(file_, static_cast<off_t>(Offset), whence) != 0) return ftello(file_);
    return ftello(file_);
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    std::fflush(file_);
    if (::ftruncate(fileno(file_), static_cast<off_t>(NewSize)) != 0)
        throw EWriteError(u"Stream write error");
    if (ftello(file_) > NewSize) fseeko(file_, static_cast<off_t>(NewSize), SEEK_SET);
}

void TAtomicFileStream::Commit()
{
    if (!WriteFileAtomic(fileName_, Bytes()))
        throw EWriteError(u"Cannot write file \"" + fileName_ + u"\".");
}

} // namespace plat
