#include "plat/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <utility>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "plat/SysUtils.h"

namespace plat {

namespace {

std::mutex g_programDirMutex;
String g_programDirOverride;

bool StatPath(const String& path, struct stat& st)
{
    if (path.empty())
        return false;
    return ::stat(NativePath(path).c_str(), &st) == 0;
}

// The process umask, read without changing it (umask() itself would briefly alter it for
// every thread).
mode_t CurrentUmask()
{
    static const mode_t mask = [] {
        std::ifstream in("/proc/self/status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("Umask:", 0) == 0)
                return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
        return static_cast<mode_t>(022);
    }();
    return mask;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Temporary file in the target's folder, flushed and renamed over the target. The new file
// takes the old file's permission bits (Mode when given, else the usual default).
bool WriteAtomic(const String& fileName, const void* data, std::size_t size, int mode = -1);

} // namespace

TAtomicFileWriter::TAtomicFileWriter(const String& FileName)
{
    if (FileName.empty())
        return;
    target_ = NativePath(FileName);
    const auto slash = target_.rfind('/');
    const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    if (base.empty())
        return;
    temp_ = (slash == std::string::npos ? std::string() : target_.substr(0, slash + 1)) + "." + base + ".tmp-XXXXXX";
    fd_ = ::mkstemp(temp_.data());
    ok_ = fd_ >= 0;
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool TAtomicFileWriter::Write(const void* Data, std::size_t Size)
{
    ok_ = ok_ && WriteAll(fd_, static_cast<const char*>(Data), Size);
    return ok_;
}

namespace {

bool CommitAtomic(int& fd, const std::string& temp, const std::string& target, int mode, bool ok)
{
    struct stat old {};
    mode_t newMode;
    if (mode >= 0)
        newMode = static_cast<mode_t>(mode) & 07777;
    else if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        newMode = old.st_mode & 07777;
    else
        newMode = 0666 & ~CurrentUmask();
    ok = ok && ::fchmod(fd, newMode) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    fd = -1;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here does not undo the write.
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace

bool TAtomicFileWriter::Commit(int Mode)
{
    if (fd_ < 0)
        return false;
    return CommitAtomic(fd_, temp_, target_, Mode, ok_);
}

namespace {

bool WriteAtomic(const String& fileName, const void* data, std::size_t size, int mode)
{
    TAtomicFileWriter w(fileName);
    return w.Write(data, size) && w.Commit(mode);
}

char16_t FoldForMask(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    const String s = AnsiUpperCase(StringView(&c, 1));
    return s.empty() ? c : s[0];
}

bool MatchFrom(StringView name, std::size_t ni, StringView mask, std::size_t mi)
{
    // Iterative glob with backtracking to the last "*".
    std::size_t starM = StringView::npos, starN = 0;
    while (ni < name.size()) {
        if (mi < mask.size() && mask[mi] == u'*') {
            starM = mi++;
            starN = ni;
        } else if (mi < mask.size() && (mask[mi] == u'?' || FoldForMask(mask[mi]) == FoldForMask(name[ni]))) {
            ++mi;
            ++ni;
        } else if (starM != StringView::npos) {
            mi = starM + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (mi < mask.size() && mask[mi] == u'*')
        ++mi;
    return mi == mask.size();
}

TDateTime ToDateTime(const timespec& ts)
{
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    TDateTime d = 0, t = 0;
    if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, d))
        return 0;
    TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ts.tv_nsec / 1000000), t);
    return d + t;
}

} // namespace

std::string NativePath(StringView Path) { return StringToUtf8(Path); }

String ProgramDir()
{
    {
        std::lock_guard lock(g_programDirMutex);
        if (!g_programDirOverride.empty())
            return IncludeTrailingPathDelimiter(g_programDirOverride);
    }
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return u"./";
    return ExtractFilePath(Utf8ToString(std::string_view(buf, static_cast<std::size_t>(n))));
}

void SetProgramDirOverride(const String& Dir)
{
    std::lock_guard lock(g_programDirMutex);
    g_programDirOverride = Dir;
}

bool FileExists(const String& FileName)
{
    struct stat st {};
    return StatPath(FileName, st) && !S_ISDIR(st.st_mode);
}

bool PathEntryExists(const String& Path)
{
    struct stat st {};
    return !Path.empty() && ::lstat(NativePath(Path).c_str(), &st) == 0;
}

bool DirectoryExists(const String& Dir)
{
    struct stat st {};
    return StatPath(Dir, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& Dir)
{
    if (Dir.empty())
        return false;
    return ::mkdir(NativePath(Dir).c_str(), 0777) == 0;
}

bool ForceDirectories(const String& Dir)
{
    String d = ExcludeTrailingPathDelimiter(Dir);
    if (d.empty())
        return false;
    if (DirectoryExists(d))
        return true;
    const String parent = ExtractFileDir(d);
    if (!parent.empty() && parent != d && !ForceDirectories(parent))
        return false;
    // Another process may have created it meanwhile: what counts is that it exists.
    return CreateDir(d) || DirectoryExists(d);
}

bool CopyFile(const String& From, const String& To, bool FailIfExists)
{
    struct stat src {};
    if (!StatPath(From, src) || !S_ISREG(src.st_mode))
        return false;
    struct stat dst {};
    if (FailIfExists && ::lstat(NativePath(To).c_str(), &dst) == 0)
        return false;
    std::string bytes;
    if (!ReadFileBytes(From, bytes))
        return false;
    return WriteAtomic(To, bytes.data(), bytes.size(), static_cast<int>(src.st_mode & 07777));
}

bool DeleteFile(const String& FileName)
{
    struct stat st {};
    const std::string p = NativePath(FileName);
    if (FileName.empty() || ::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::unlink(p.c_str()) == 0;
}

bool RemoveDir(const String& Dir)
{
    return !Dir.empty() && ::rmdir(NativePath(Dir).c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName)
{
    struct stat st {};
    if (OldName.empty() || NewName.empty() || ::lstat(NativePath(NewName).c_str(), &st) == 0)
        return false;
    return ::rename(NativePath(OldName).c_str(), NativePath(NewName).c_str()) == 0;
}

std::vector<String> ListSubfolders(const String& Dir, bool IncludeHidden)
{
    std::vector<String> out;
    for (const TSearchRec& r : FindFiles(Dir, u"*", faDirectory | faHidden | faSysFile)) {
        if (!(r.Attr & faDirectory))
            continue;
        if ((r.Attr & faHidden) && !IncludeHidden)
            continue;
        out.push_back(r.Name);
    }
    return out;
}

bool MatchesMask(StringView Name, StringView Mask)
{
    // "*.*" means every name on the original platform, also names without a dot.
    if (Mask == u"*.*")
        return true;
    return MatchFrom(Name, 0, Mask, 0);
}

std::vector<TSearchRec> FindFiles(const String& Dir, const String& Mask, int Attr, bool DotEntries)
{
    std::vector<TSearchRec> out;
    const String base = IncludeTrailingPathDelimiter(Dir.empty() ? String(u".") : Dir);
    DIR* d = ::opendir(NativePath(base).c_str());
    if (!d)
        return out;
    const int exclude = ~Attr & (faHidden | faSysFile | faDirectory);
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) {
            const String dots = Utf8ToString(e->d_name);
            if (!DotEntries || !(Attr & faDirectory) || !MatchesMask(dots, Mask)) continue;
            const std::string full = NativePath(base) + e->d_name;
            struct stat st {};
            TSearchRec r;
            r.Name = dots;
            r.Attr = faDirectory;
            if (::stat(full.c_str(), &st) == 0) r.Time = ToDateTime(st.st_mtim);
            out.push_back(std::move(r));
            continue;
        }
        const String name = Utf8ToString(e->d_name);
        if (!MatchesMask(name, Mask))
            continue;
        const std::string full = NativePath(base) + e->d_name;
        struct stat st {};
        if (::stat(full.c_str(), &st) != 0 && ::lstat(full.c_str(), &st) != 0)
            continue;
        TSearchRec r;
        r.Name = name;
        if (S_ISDIR(st.st_mode))
            r.Attr |= faDirectory;
        else if (S_ISREG(st.st_mode))
            r.Attr |= faArchive;
        else
            r.Attr |= faSysFile;
        if (name[0] == u'.')
            r.Attr |= faHidden;
        // The read-only attribute is a property of the file, not of who asks: a file
        // without any write permission bit. Whether this user may write it is another
        // question, so a program installed by another user still lists its files.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            r.Attr |= faReadOnly;
        if (r.Attr & exclude)
            continue;
        r.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
        r.Time = ToDateTime(st.st_mtim);
        out.push_back(std::move(r));
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(), [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
    return out;
}

String ExtractFilePath(StringView FileName)
{
    const auto p = FileName.rfind(PathDelim);
    return p == StringView::npos ? String() : String(FileName.substr(0, p + 1));
}

String ExtractFileDir(StringView FileName)
{
    const auto p = FileName.rfind(PathDelim);
    if (p == StringView::npos)
        return String();
    if (p == 0)
        return u"/";
    return String(FileName.substr(0, p));
}

String ExtractFileName(StringView FileName)
{
    const auto p = FileName.rfind(PathDelim);
    return String(p == StringView::npos ? FileName : FileName.substr(p + 1));
}

namespace {
std::size_t ExtPos(StringView FileName)
{
    const auto p = FileName.find_last_of(u"./");
    if (p == StringView::npos || FileName[p] != u'.')
        return StringView::npos;
    return p;
}
} // namespace

String ExtractFileExt(StringView FileName)
{
    const auto p = ExtPos(FileName);
    return p == StringView::npos ? String() : String(FileName.substr(p));
}

String ChangeFileExt(StringView FileName, StringView Extension)
{
    const auto p = ExtPos(FileName);
    String r(p == StringView::npos ? FileName : FileName.substr(0, p));
    r += Extension;
    return r;
}

String IncludeTrailingPathDelimiter(StringView Path)
{
    String r(Path);
    if (r.empty() || r.back() != PathDelim)
        r += PathDelim;
    return r;
}

String ExcludeTrailingPathDelimiter(StringView Path)
{
    String r(Path);
    if (r.size() > 1 && r.back() == PathDelim)
        r.pop_back();
    return r;
}

String PathJoin(StringView A, StringView B)
{
    if (A.empty())
        return String(B);
    if (B.empty())
        return String(A);
    while (A.size() > 1 && A.back() == PathDelim)
        A.remove_suffix(1);
    while (!B.empty() && B.front() == PathDelim)
        B.remove_prefix(1);
    String r(A);
    if (r.back() != PathDelim)
        r += PathDelim;
    r += B;
    return r;
}

namespace {

String CapText(std::int64_t cap)
{
    if (cap % kMiB == 0)
        return Int64ToStr(cap / kMiB) + u" MiB";
    return Int64ToStr(cap) + u" bytes";
}

} // namespace

namespace {

// Growth of the two kinds of buffer ReadWhole fills.
struct StringTarget {
    std::string out;
    char* Data() { return out.data(); }
    std::size_t Capacity() const { return out.size(); }
    bool Grow(std::size_t capacity, std::size_t /*used*/)
    {
        out.resize(capacity);
        return true;
    }
    void Finish(std::size_t size) { out.resize(size); }
};

struct PagesTarget {
    TFileBytes out;
    char* Data() { return out.data(); }
    std::size_t Capacity() const { return out.capacity(); }
    bool Grow(std::size_t capacity, std::size_t used)
    {
        out.SetSize(used);
        return out.Reserve(capacity);
    }
    void Finish(std::size_t size) { out.SetSize(size); }
};

template <class Target>
bool ReadWhole(const String& FileName, Target& target, std::int64_t Cap, String* Error)
{
    auto fail = [&](const String& reason) {
        if (Error) {
            *Error = u"Cannot open file \"" + FileName + u"\"";
            if (!reason.empty())
                *Error += u": " + reason;
        }
        return false;
    };
    if (FileName.empty())
        return fail(String());
    // Non-blocking, so that opening a named pipe with no writer returns at once; the type is
    // then checked on what was opened, so a file swapped in meanwhile cannot slip through.
    const int fd = ::open(NativePath(FileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int e = errno;
        return fail(e == ENOENT ? String() : Utf8ToString(std::strerror(e)));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(Utf8ToString(std::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return fail(u"not a regular file");
    if (st.st_size > Cap)
        return fail(u"larger than " + CapText(Cap));
    // One byte more than the size says, to see the end in one read. Files whose size the
    // system does not know in advance (kernel files report 0 or a page) grow in pieces; the
    // cap holds for them as well.
    if (!target.Grow(static_cast<std::size_t>(st.st_size) + 1, 0))
        return fail(Utf8ToString(std::strerror(ENOMEM)));
    std::size_t size = 0;
    while (true) {
        if (size == target.Capacity()) {
            const std::size_t grown = std::min<std::size_t>(std::max<std::size_t>(size * 2, 65536),
                                                            static_cast<std::size_t>(Cap) + 1);
            if (!target.Grow(grown, size))
                return fail(Utf8ToString(std::strerror(ENOMEM)));
        }
        const ssize_t n = ::read(fd, target.Data() + size, target.Capacity() - size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(Utf8ToString(std::strerror(errno)));
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
        if (static_cast<std::int64_t>(size) > Cap)
            return fail(u"larger than " + CapText(Cap));
    }
    target.Finish(size);
    return true;
}

} // namespace

bool ReadRegularFile(const String& FileName, std::string& Bytes, std::int64_t Cap, String* Error)
{
    StringTarget target;
    if (!ReadWhole(FileName, target, Cap, Error))
        return false;
    Bytes.swap(target.out);
    return true;
}

bool ReadRegularFile(const String& FileName, TFileBytes& Bytes, std::int64_t Cap, String* Error)
{
    PagesTarget target;
    if (!ReadWhole(FileName, target, Cap, Error))
        return false;
    Bytes = std::move(target.out);
    return true;
}

// ---- memory in whole pages --------------------------------------------------------------

namespace {

std::size_t MappedSize(std::size_t size) { return (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize; }

} // namespace

void* AllocatePages(std::size_t Size)
{
    // Smaller blocks come from the C allocator, which keeps and reuses blocks of the sizes a
    // program frees repeatedly instead of mapping them anew each time.
    if (Size < kHugePageSize)
        return std::malloc(std::max<std::size_t>(Size, 1));
    const std::size_t mapped = MappedSize(Size);
    // One huge page more than needed, then the ends cut off, so the block starts on a
    // boundary where the system can back it with huge pages.
    void* raw = ::mmap(nullptr, mapped + kHugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto base = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = (base + kHugePageSize - 1) & ~(std::uintptr_t{kHugePageSize} - 1);
    const std::size_t head = start - base;
    if (head != 0)
        ::munmap(raw, head);
    if (kHugePageSize - head != 0)
        ::munmap(reinterpret_cast<void*>(start + mapped), kHugePageSize - head);
    ::madvise(reinterpret_cast<void*>(start), mapped, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

void AdviseHugePages(void* Block, std::size_t Size)
{
    if (!Block || Size < kHugePageSize)
        return;
    const auto base = reinterpret_cast<std::uintptr_t>(Block);
    const std::uintptr_t start = (base + kHugePageSize - 1) & ~(std::uintptr_t{kHugePageSize} - 1);
    const std::uintptr_t end = (base + Size) & ~(std::uintptr_t{kHugePageSize} - 1);
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void FreePages(void* Block, std::size_t Size)
{
    if (!Block)
        return;
    if (Size < kHugePageSize)
        std::free(Block);
    else
        ::munmap(Block, MappedSize(Size));
}

TFileBytes::TFileBytes(TFileBytes&& Other) noexcept
    : data_(std::exchange(Other.data_, nullptr)),
      size_(std::exchange(Other.size_, 0)),
      capacity_(std::exchange(Other.capacity_, 0))
{
}

TFileBytes& TFileBytes::operator=(TFileBytes&& Other) noexcept
{
    if (this != &Other) {
        Clear();
        data_ = std::exchange(Other.data_, nullptr);
        size_ = std::exchange(Other.size_, 0);
        capacity_ = std::exchange(Other.capacity_, 0);
    }
    return *this;
}

TFileBytes::~TFileBytes() { Clear(); }

bool TFileBytes::Reserve(std::size_t Capacity)
{
    if (Capacity <= capacity_)
        return true;
    char* grown = static_cast<char*>(AllocatePages(Capacity));
    if (!grown)
        return false;
    if (size_ != 0)
        std::memcpy(grown, data_, size_);
    FreePages(data_, capacity_);
    data_ = grown;
    capacity_ = Capacity;
    return true;
}

void TFileBytes::Clear()
{
    FreePages(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

bool ReadFileBytes(const String& FileName, std::string& Bytes)
{
    return ReadRegularFile(FileName, Bytes, kDefaultFileCap);
}

bool WriteFileAtomic(const String& FileName, std::string_view Bytes)
{
    return WriteAtomic(FileName, Bytes.data(), Bytes.size());
}

bool WriteFileBytes(const String& FileName, const void* Data, std::size_t Size)
{
    return WriteAtomic(FileName, Data, Size);
}

std::string EncodeText(StringView Text, TTextEncoding Encoding)
{
    switch (Encoding) {
    case TTextEncoding::Ansi:
        return StringToAnsi(Text);
    case TTextEncoding::Utf8:
        return StringToUtf8(Text);
    case TTextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF" + StringToUtf8(Text);
    case TTextEncoding::Utf16LeBom:
    case TTextEncoding::Utf16BeBom: {
        const bool le = Encoding == TTextEncoding::Utf16LeBom;
        std::string out;
        out.reserve(2 + Text.size() * 2);
        out += le ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t c : Text) {
            const char lo = static_cast<char>(c & 0xFF);
            const char hi = static_cast<char>(c >> 8);
            out += le ? lo : hi;
            out += le ? hi : lo;
        }
        return out;
    }
    case TTextEncoding::Latin1: {
        std::string out;
        out.reserve(Text.size());
        for (std::size_t i = 0; i < Text.size(); ++i) {
            const char16_t c = Text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF)
                ++i;
            out += c <= 0xFF ? static_cast<char>(c) : '?';
        }
        return out;
    }
    }
    return StringToUtf8(Text);
}

String DecodeText(std::string_view Bytes, TTextEncoding* Detected)
{
    auto set = [&](TTextEncoding e) {
        if (Detected)
            *Detected = e;
    };
    if (Bytes.size() >= 3 && Bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        set(TTextEncoding::Utf8Bom);
        return Utf8ToString(Bytes.substr(3));
    }
    if (Bytes.size() >= 2 && (Bytes.substr(0, 2) == "\xFF\xFE" || Bytes.substr(0, 2) == "\xFE\xFF")) {
        const bool le = Bytes[0] == '\xFF';
        set(le ? TTextEncoding::Utf16LeBom : TTextEncoding::Utf16BeBom);
        String out;
        out.reserve(Bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < Bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(Bytes[i]);
            const auto b = static_cast<unsigned char>(Bytes[i + 1]);
            out += static_cast<char16_t>(le ? (a | (b << 8)) : ((a << 8) | b));
        }
        if (Bytes.size() % 2 != 0)
            out += static_cast<char16_t>(0xFFFD);  // a truncated last unit
        return out;
    }
    if (IsValidUtf8(Bytes)) {
        set(TTextEncoding::Utf8);
        return Utf8ToString(Bytes);
    }
    set(TTextEncoding::Ansi);
    return AnsiToString(Bytes);
}

bool ReadTextFile(const String& FileName, String& Text, TTextEncoding* Detected)
{
    std::string bytes;
    if (!ReadFileBytes(FileName, bytes))
        return false;
    Text = DecodeText(bytes, Detected);
    return true;
}

bool ReadTextLines(const String& FileName, std::vector<String>& Lines, TTextEncoding* Detected)
{
    String text;
    if (!ReadTextFile(FileName, text, Detected))
        return false;
    Lines = SplitLines(text);
    return true;
}

std::vector<String> SplitLines(StringView Text)
{
    std::vector<String> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < Text.size()) {
        const char16_t c = Text[i];
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(Text.substr(start, i - start));
            if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < Text.size())
        lines.emplace_back(Text.substr(start));
    return lines;
}

bool WriteTextFile(const String& FileName, StringView Text, TTextEncoding Encoding)
{
    return WriteFileAtomic(FileName, EncodeText(Text, Encoding));
}

bool WriteTextFile(const String& FileName, const std::vector<String>& Lines, TTextEncoding Encoding)
{
    String text;
    for (const String& l : Lines) {
        text += l;
        text += u"\r\n";
    }
    return WriteTextFile(FileName, text, Encoding);
}

} // namespace plat
