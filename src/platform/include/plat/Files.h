#pragma once
// Files and folders. Paths are native ("/" separated) UTF-16 texts; join them with PathJoin.
// Whole-file writers are atomic (temporary file in the same folder, flushed, renamed over the
// target) and report failure; on failure the old file is left as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plat/String.h"

namespace plat {

constexpr char16_t PathDelim = u'/';

// Folder of the running executable, with a trailing "/". Tests may override it; an empty
// override goes back to the real folder.
String ProgramDir();
void SetProgramDirOverride(const String& Dir);

bool FileExists(const String& FileName);  // false for a folder
bool PathEntryExists(const String& Path);  // anything there, a dangling link included
bool DirectoryExists(const String& Dir);
bool CreateDir(const String& Dir);         // one level; false when it exists or fails
bool ForceDirectories(const String& Dir);  // with missing parents; true when it exists after
// Copies contents (and permission bits). With FailIfExists an existing target is kept and
// false returned; otherwise it is replaced atomically.
bool CopyFile(const String& From, const String& To, bool FailIfExists);
bool DeleteFile(const String& FileName);  // files only
bool RemoveDir(const String& Dir);        // empty folders only
bool RenameFile(const String& OldName, const String& NewName);

// Names of the subfolders, sorted by name (ordinal). Hidden = name starting with ".";
// "." and ".." never appear.
std::vector<String> ListSubfolders(const String& Dir, bool IncludeHidden);

enum TFileAttr : int {
    faReadOnly = 0x01,   // no write permission bit set at all
    faHidden = 0x02,     // name starts with "."
    faSysFile = 0x04,    // device, socket, fifo
    faDirectory = 0x10,
    faArchive = 0x20,    // every regular file
    faNormal = 0x80,
    faAnyFile = 0xFF,
};

struct TSearchRec {
    String Name;
    int Attr = 0;
    std::int64_t Size = 0;
    double Time = 0;  // TDateTime of the last modification, local time
};

// Entries of Dir whose name matches Mask ("*", "?", case-insensitive like the original
// platform). As with the framework's search: regular files are always taken; entries that are
// hidden, system or folders only when Attr names that kind. Sorted by name (ordinal).
// With DotEntries, a search that names folders also lists "." and ".." (folders, not hidden)
// when they match Mask, as the framework's search does.
std::vector<TSearchRec> FindFiles(const String& Dir, const String& Mask, int Attr, bool DotEntries = false);
bool MatchesMask(StringView Name, StringView Mask);

String ExtractFilePath(StringView FileName);  // up to and including the last "/"
String ExtractFileDir(StringView FileName);   // without the trailing "/"
String ExtractFileName(StringView FileName);
String ExtractFileExt(StringView FileName);   // with the dot; "" when none
String ChangeFileExt(StringView FileName, StringView Extension);
String IncludeTrailingPathDelimiter(StringView Path);
String ExcludeTrailingPathDelimiter(StringView Path);
String PathJoin(StringView A, StringView B);  // exactly one "/" between the parts

// Native (UTF-8) form of a path for system calls.
std::string NativePath(StringView Path);

// ---- whole files ------------------------------------------------------------------------
// Every reader of the program takes its files through ReadRegularFile. Links are followed;
// anything that is not a regular file (a folder, a named pipe, a device such as a link to
// /dev/zero) is refused without blocking on it: the file is opened non-blocking and checked
// on the opened descriptor, never by name first. A file larger than the cap of its kind is
// refused before anything is read, and so is one that grows past the cap while it is read.
// Caps in bytes, generous for what each kind holds:
constexpr std::int64_t kMiB = std::int64_t{1} << 20;
constexpr std::int64_t kXmlFileCap = 16 * kMiB;       // settings, parameters, rule tables
constexpr std::int64_t kLanguageFileCap = 4 * kMiB;   // a language file (some 5,300 texts)
constexpr std::int64_t kNetworkFileCap = 256 * kMiB;  // an M-Bus network of 100,000+ meters
constexpr std::int64_t kPictureFileCap = 16 * kMiB;   // a picture shown in a window
constexpr std::int64_t kDefaultFileCap = 64 * kMiB;   // any other whole-file read

// Reads the whole file into Bytes. On failure Bytes is left as it was, and *Error gets
// "Cannot open file "<name>"" for a missing file, followed by ": <reason>" otherwise
// ("not a regular file", "larger than 16 MiB", or the system's reason).
bool ReadRegularFile(const String& FileName, std::string& Bytes, std::int64_t Cap,
                     String* Error = nullptr);
// The same into pages of the file's own (see AllocatePages) that are not zero-filled first:
// a file of many MiB costs one page fault per 2 MiB and goes back to the system whole.
class TFileBytes;
bool ReadRegularFile(const String& FileName, TFileBytes& Bytes, std::int64_t Cap,
                     String* Error = nullptr);
// ReadRegularFile with kDefaultFileCap.
bool ReadFileBytes(const String& FileName, std::string& Bytes);
bool WriteFileAtomic(const String& FileName, std::string_view Bytes);

// ---- memory in whole pages ---------------------------------------------------------------
// For buffers that are filled once and given back whole (a file's bytes, a document's node
// pages). A block of 2 MiB or more is mapped on its own, starts on a 2 MiB boundary and is
// advised as huge pages, so filling it costs one page fault per 2 MiB instead of one per
// 4 KiB, and freeing gives it back to the system at once; a smaller block comes from the C
// allocator. FreePages takes the size that was asked for. nullptr when the system refuses.
constexpr std::size_t kHugePageSize = std::size_t{2} << 20;
void* AllocatePages(std::size_t Size);
void FreePages(void* Block, std::size_t Size);
// For a large block from elsewhere (a long string's storage) that is about to be filled:
// the whole huge pages inside it are advised as such, so filling it costs one page fault per
// 2 MiB there. Blocks under 2 MiB, and systems without the advice, are left as they are.
void AdviseHugePages(void* Block, std::size_t Size);

// Bytes held in pages of their own; move-only. The bytes are writable so that a parser may
// work on them in place.
class TFileBytes {
public:
    TFileBytes() = default;
    TFileBytes(TFileBytes&& Other) noexcept;
    TFileBytes& operator=(TFileBytes&& Other) noexcept;
    ~TFileBytes();

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view view() const { return {data_, size_}; }

    // Room for Capacity bytes, keeping the first size() (false when the system refuses).
    bool Reserve(std::size_t Capacity);
    std::size_t capacity() const { return capacity_; }
    void SetSize(std::size_t Size) { size_ = Size; }  // at most capacity()
    void Clear();  // gives the pages back

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The streaming form of WriteFileAtomic, for writers that produce their bytes piece by
// piece: Write appends to a temporary file beside the target; Commit syncs it and renames it
// over the target, answering whether all of it worked. Without a successful Commit the
// temporary file is removed and the target stays as it was.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(const String& FileName);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
    bool Write(const void* Data, std::size_t Size);  // false once any write failed
    // Mode: permission bits of the new file; -1 keeps the old file's (else the usual default).
    bool Commit(int Mode = -1);

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool ok_ = false;
};
bool WriteFileBytes(const String& FileName, const void* Data, std::size_t Size);

enum class TTextEncoding {
    Ansi,        // Windows-1252
    Utf8,        // without byte-order mark
    Utf8Bom,
    Utf16LeBom,
    Utf16BeBom,
    Latin1,      // ISO-8859-1; characters above U+00FF become '?'
};

// Text as given (no line-end conversion) in the encoding, atomically.
bool WriteTextFile(const String& FileName, StringView Text, TTextEncoding Encoding);
// Every line followed by CR LF.
bool WriteTextFile(const String& FileName, const std::vector<String>& Lines, TTextEncoding Encoding);
std::string EncodeText(StringView Text, TTextEncoding Encoding);

// Decoding: a byte-order mark (UTF-8, UTF-16 LE/BE) wins; without one, UTF-8 when the bytes
// are valid UTF-8, else Windows-1252. The mark is not part of the text.
String DecodeText(std::string_view Bytes, TTextEncoding* Detected = nullptr);
bool ReadTextFile(const String& FileName, String& Text, TTextEncoding* Detected = nullptr);
bool ReadTextLines(const String& FileName, std::vector<String>& Lines,
                   TTextEncoding* Detected = nullptr);
// Lines split at CR LF, LF or CR; a final line end does not start another line.
std::vector<String> SplitLines(StringView Text);

} // namespace plat
