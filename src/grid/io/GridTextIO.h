#pragma once
// Shared pieces of the grid's text files: the columns a save writes, bounded file reading,
// a line reader over file bytes that decodes one line at a time, and row progress.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plat/Files.h"
#include "plat/String.h"

namespace grid {
class TExtStringGrid;
}

namespace grid::io {

using plat::String;
using plat::StringView;

// The largest grid file read: 1 GiB (a file of some ten million cells).
constexpr std::int64_t kGridFileCap = std::int64_t{1} << 30;

// Real column indexes of the save range: the shown columns SaveStartCol..SaveEndCol in
// display order, or, with IncludeHidden, those and every hidden column, in real order.
std::vector<int> SavedRealColumns(const TExtStringGrid& Grid, bool IncludeHidden);

// The bytes of a regular file of at most kGridFileCap bytes; false when it cannot be read.
bool ReadGridFile(const String& FileName, std::string& Bytes);
// The same into pages of their own (no zero-filling, large files in huge pages).
bool ReadGridFile(const String& FileName, plat::TFileBytes& Bytes);

// Lines of file bytes: a byte-order mark (UTF-8, UTF-16LE, UTF-16BE) picks the encoding,
// else the ANSI code page. Lines end at CR LF, LF or CR; a final line end starts no line.
class TLineReader {
public:
    explicit TLineReader(std::string_view Bytes);
    bool Next(String& Line);
    bool AtEnd() const;
    // ANSI and UTF-8 text: each line's bytes can be taken as they are (NextBytes, the same
    // line ends as Next) and only the parts needed decoded (Decode).
    bool EightBit() const { return enc_ == Enc::Ansi || enc_ == Enc::Utf8; }
    bool NextBytes(std::string_view& Line);
    String Decode(std::string_view Bytes) const;
    // The bytes not read yet, and moving past the first Count of them (8-bit text), for a
    // reader that parses lines in place.
    std::string_view Remaining() const { return pos_ < bytes_.size() ? bytes_.substr(pos_) : std::string_view(); }
    void Advance(std::size_t Count) { pos_ += Count; }

private:
    enum class Enc { Ansi, Utf8, Utf16Le, Utf16Be };
    std::string_view bytes_;
    std::size_t pos_ = 0;
    Enc enc_ = Enc::Ansi;
};

// A text file written piece by piece into a temporary file and put in place by Commit:
// ANSI, UTF-8 with or without byte-order mark or UTF-16LE with byte-order mark. Callers hand whole
// lines, so no character is split between pieces.
class TTextFileWriter {
public:
    enum TEncoding { Ansi, Utf8, Utf8Bom, Utf16LeBom };
    TTextFileWriter(const String& FileName, TEncoding Encoding);
    ~TTextFileWriter();
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;
    // Text waiting to be written; Add writes it out once it is large.
    String& Buffer() { return text_; }
    void Add(StringView Text);
    // Bytes as they are (after the text added so far).
    void WriteBytes(std::string_view Bytes);
    void Flush();
    // Raises plat::EFOpenError "Cannot create file "<name>"." when any write failed.
    void Commit();

private:
    struct Impl;
    Impl* impl_;
    String text_;
};

// Percentages of rows First..First + Count - 1 (0 at the first, 100 at the last; a single
// row divides by 1), each reported once when it differs from the last one.
class TRowProgress {
public:
    TRowProgress(TExtStringGrid& Grid, int First, int Count);
    void Row(int R);

private:
    TExtStringGrid& grid_;
    int first_;
    int span_;
    int last_ = -1;
};

} // namespace grid::io
