// The native cell file of TExtStringGrid.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "GridTextIO.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// Decimal integer at the start of `s` with leading blanks skipped; the digits before the
// first other character count (0 when there are none). Saturates instead of overflowing.
template <class Ch>
std::int64_t LeadingInteger(std::basic_string_view<Ch> s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == Ch(' ')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == Ch('-') || s[i] == Ch('+'))) neg = s[i++] == Ch('-');
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= Ch('0') && s[i] <= Ch('9'); ++i)
        v = std::min<std::int64_t>(v * 10 + (s[i] - Ch('0')), std::int64_t(1) << 40);
    return neg ? -v : v;
}

// A column or row number of one to nine digits at `p`, nothing else before the next
// character; `p` moves past it.
bool ParseIndex(const char*& p, const char* end, int& Value) {
    const char* q = p;
    int v = 0;
    while (q != end && q - p < 9 && *q >= '0' && *q <= '9') v = v * 10 + (*q++ - '0');
    if (q == p || (q != end && *q >= '0' && *q <= '9')) return false;
    p = q;
    Value = v;
    return true;
}

// The part of `s` from `from` up to `at` (to the end when `at` is npos; empty when `at` comes first).
template <class Ch>
std::basic_string_view<Ch> Upto(std::basic_string_view<Ch> s, std::size_t from, std::size_t at) {
    if (from >= s.size() || at < from) return {};
    return s.substr(from, at == std::basic_string_view<Ch>::npos ? std::basic_string_view<Ch>::npos : at - from);
}

// Lines of an ANSI file formed as bytes in a buffer of its own and written in pieces of about
// 64 KiB: each line is copied in through a pointer (ASCII texts without line breaks unit by
// unit in one pass, others encoded and through the code page), with no growth check per piece
// of the line.
class TAnsiLines {
public:
    explicit TAnsiLines(io::TTextFileWriter& File) : file_(File), buf_(kPiece + kSlack, '\0') {}
    // A line of the three parts and CR LF.
    void Line(std::string_view Col, std::string_view Row, StringView Text) {
        // At most one byte per 16-bit unit of the text.
        const std::size_t need = Col.size() + Row.size() + Text.size() + 2;
        if (used_ + need > buf_.size()) {
            Flush();
            if (need > buf_.size()) buf_.resize(need);
        }
        char* p = buf_.data() + used_;
        std::memcpy(p, Col.data(), Col.size());
        p += Col.size();
        std::memcpy(p, Row.data(), Row.size());
        p += Row.size();
        char* text = p;
        for (char16_t c : Text) {
            if (c >= 0x80 || c == u'\r') {
                // A text with line breaks has its control characters encoded (the line stays
                // one line); the encoding keeps the length.
                const std::string ansi =
                    plat::StringToAnsi(c == u'\r' || Text.find(u'\r') != StringView::npos ? EncodeControlChars(Text) : String(Text));
                std::memcpy(text, ansi.data(), ansi.size());
                p = text + ansi.size();
                break;
            }
            *p++ = static_cast<char>(c);
        }
        *p++ = '\r';
        *p++ = '\n';
        used_ = static_cast<std::size_t>(p - buf_.data());
        if (used_ >= kPiece) Flush();
    }
    void Flush() {
        if (used_) file_.WriteBytes(std::string_view(buf_.data(), used_));
        used_ = 0;
    }

private:
    static constexpr std::size_t kPiece = std::size_t{1} << 16, kSlack = 4096;
    io::TTextFileWriter& file_;
    std::string buf_;
    std::size_t used_ = 0;
};

} // namespace

void TExtStringGrid::SaveToFile(const String& FileName, bool Unicode) {
    const int hidden = SaveHiddenCells ? NumHiddenColumns() : 0;
    const std::vector<int> cols = io::SavedRealColumns(*this, hidden != 0);
    io::TTextFileWriter file(FileName, Unicode ? io::TTextFileWriter::Utf16LeBom : io::TTextFileWriter::Ansi);
    String& text = file.Buffer();
    text += plat::IntToStr(SaveColCount() + hidden);
    text += u',';
    text += plat::IntToStr(SaveRowCount());
    text += u"\r\n";
    // Columns are numbered as a reader places them: shown columns by display index, or, when
    // the hidden columns are saved too, every column by its real index.
    auto fileCol = [&](std::size_t i) { return hidden ? cols[i] : SaveStartCol() + static_cast<int>(i); };
    for (std::size_t i = 0; i < cols.size(); ++i) {
        text += u"cw ";
        text += plat::IntToStr(fileCol(i));
        text += u',';
        text += plat::IntToStr(AllColWidths(cols[i]));
        text += u"\r\n";
    }
    ExportNotification(esExportStart, SaveStartRow());
    io::TRowProgress progress(*this, SaveStartRow(), SaveRowCount());
    String value, encoded;
    // "col," per saved column and "row," per row are formed once, not once per cell. An ANSI
    // file's lines are formed as bytes (no 16-bit text in between) and written in pieces.
    std::vector<String> colText(cols.size());
    std::vector<std::string> colBytes(cols.size());
    for (std::size_t i = 0; i < cols.size(); ++i) {
        colText[i] = plat::IntToStr(fileCol(i)) + u",";
        colBytes[i] = plat::StringToAnsi(colText[i]);
    }
    String rowText;
    std::string rowBytes;
    TAnsiLines ansi(file);
    constexpr std::size_t kPiece = std::size_t{1} << 16;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        rowText = plat::IntToStr(r);
        rowText += u',';
        if (!Unicode) rowBytes = plat::StringToAnsi(rowText);
        for (std::size_t i = 0; i < cols.size(); ++i) {
            SaveCell(cols[i], r, value);
            if (value.empty()) continue;
            if (!Unicode) {
                ansi.Line(colBytes[i], rowBytes, value);
                continue;
            }
            const String* v = &value;
            if (value.find(u'\r') != String::npos) {
                encoded = EncodeControlChars(value);
                v = &encoded;
            }
            text += colText[i];
            text += rowText;
            text += *v;
            text += u"\r\n";
        }
        if (text.size() >= kPiece) file.Flush();
        progress.Row(r);
    }
    ansi.Flush();
    ExportNotification(esExportDone, -1);
    file.Commit();
}

void TExtStringGrid::LoadFromFile(const String& FileName) {
    if (FFileLoad) return;  // a load runs already (it processes pending messages)
    plat::TFileBytes file;
    if (!io::ReadGridFile(FileName, file)) throw plat::EFileError(u"Cannot open file \"" + FileName + u"\".");
    const std::string_view bytes = file.view();
    io::TLineReader lines(bytes);

    const int A = (SaveFixedCells || SaveFixedCols) ? 0 : FixedCols();
    const int B = (SaveFixedCells || SaveFixedRows) ? 0 : FixedRows();
    String line;
    if (lines.Next(line) && !line.empty()) {
        const std::size_t comma = line.find(u',');
        const std::int64_t n = LeadingInteger(StringView(line).substr(0, comma));
        const std::int64_t m = comma == String::npos ? 0 : LeadingInteger(StringView(line).substr(comma + 1));
        // A grid with no column or no row holds no data; counts far beyond what a file of
        // this size could describe are refused before the grid grows (a few bytes make no
        // grid of billions of cells).
        const std::int64_t size = static_cast<std::int64_t>(bytes.size());
        if (n < 0 || m < 0 || n + A == 0 || m + B == 0 || n > size || m > size ||
            (n + A) * (m + B) > (std::int64_t{1} << 20) + 64 * size)
            throw EExtGridError(u"File contains no data or corrupt file " + FileName);
        SetColCount(A + static_cast<int>(n));
        SetRowCount(B + static_cast<int>(m));
    }
    if (ColCount() <= 0 || RowCount() <= 0) throw EExtGridError(u"File contains no data or corrupt file " + FileName);

    FFileLoad = std::make_shared<bool>(true);
    const std::weak_ptr<bool> alive = FFileLoad;
    struct Done {
        TExtStringGrid* grid;
        const std::weak_ptr<bool>& alive;
        ~Done() {
            if (!alive.expired()) grid->FFileLoad.reset();
        }
    } done{this, alive};

    io::TRowProgress progress(*this, 0, RowCount());
    // Pending messages are processed after the first 256 lines, then every 256 lines once at
    // least 10 ms have passed: the user interface stays live without a system call per line.
    unsigned sinceMessages = 0;
    bool messagesSeen = false;
    auto lastMessages = std::chrono::steady_clock::now();
    // Progress after a line of row R, and pending messages now and then; false once the grid
    // is destroyed.
    auto tick = [&](int R) {
        progress.Row(R);
        if (++sinceMessages < 256) return true;
        sinceMessages = 0;
        const auto now = std::chrono::steady_clock::now();
        if (messagesSeen && now - lastMessages < std::chrono::milliseconds(10)) return true;
        messagesSeen = true;
        lastMessages = now;
        if (plat::Application) plat::Application->ProcessMessages();
        return !alive.expired();  // false: the grid was destroyed meanwhile
    };
    // One line, as 16-bit text or as the bytes of an 8-bit file (Decode turns a part of it into
    // text); false once the grid is destroyed.
    auto loadLine = [&](auto line, auto decode) {
        using View = decltype(line);
        using Ch = typename View::value_type;
        constexpr std::size_t npos = View::npos;
        int r = 0;
        if (line.size() >= 2 && line[0] == Ch('c') && line[1] == Ch('w')) {
            const std::size_t comma = line.find(Ch(','));
            const std::int64_t c = LeadingInteger(Upto(line, 3, comma));
            const std::int64_t width = comma == npos ? 0 : LeadingInteger(line.substr(comma + 1, 255));
            if (c >= 0 && c < ColCount() && width >= 0 && width <= std::numeric_limits<int>::max())
                SetColWidths(static_cast<int>(c), static_cast<int>(width));
        } else {
            const std::size_t a = line.find(Ch(','));
            const std::size_t b = a == npos ? npos : line.find(Ch(','), a + 1);
            const std::int64_t c = a == npos ? 0 : LeadingInteger(line.substr(0, a));
            const std::int64_t rr = a == npos ? 0 : LeadingInteger(Upto(line, a + 1, b));
            View rest;
            if (b != npos) rest = line.substr(b + 1);
            else if (a == npos) rest = line;  // no "," at all: the whole line
            // Cells outside the grid (negative or too large numbers) are skipped.
            if (c >= 0 && rr >= 0 && c < ColCount() && rr < RowCount()) {
                r = static_cast<int>(rr);
                if (rest.find(Ch('\x08')) == npos && (MultilineCells || rest.find(Ch('\r')) == npos))
                    LoadCell(RealColIndex(static_cast<int>(c)), r, decode(rest));
                else
                    LoadCell(RealColIndex(static_cast<int>(c)), r, DecodeControlChars(decode(rest), MultilineCells));
            }
        }
        return tick(r);
    };
    if (lines.EightBit()) {
        auto decode = [&](std::string_view v) { return lines.Decode(v); };
        const int cols = ColCount(), rows = RowCount();
        String cell;
        for (;;) {
            const std::string_view rest = lines.Remaining();
            if (rest.empty()) break;
            const char* const begin = rest.data();
            const char* const end = begin + rest.size();
            // The usual line "c,r,text" with plain numbers is read in one pass over its bytes;
            // any other line (widths, signs, blanks, long numbers, no two commas) is read by
            // the general rule below.
            const char* p = begin;
            int c = 0, r = 0;
            if (!ParseIndex(p, end, c) || p == end || *p != ',' || !ParseIndex(++p, end, r) || p == end || *p != ',') {
                std::string_view raw;
                lines.NextBytes(raw);
                if (!loadLine(raw, decode)) return;
                continue;
            }
            const char* const text = ++p;
            // The text runs to the line end; a byte 8 marks encoded control characters.
            unsigned char high = 0;
            bool encoded = false;
            for (; p != end; ++p) {
                const auto b = static_cast<unsigned char>(*p);
                if (b < 0x20) {
                    if (b == '\r' || b == '\n') break;
                    if (b == 8) encoded = true;
                }
                high |= b;
            }
            const std::string_view value(text, static_cast<std::size_t>(p - text));
            if (p != end && *p++ == '\r' && p != end && *p == '\n') ++p;
            lines.Advance(static_cast<std::size_t>(p - begin));
            const bool inside = c < cols && r < rows;
            if (inside) {
                if (encoded) {
                    cell = DecodeControlChars(decode(value), MultilineCells);
                } else if (high < 0x80) {
                    cell.resize(value.size());
                    for (std::size_t i = 0; i < value.size(); ++i) cell[i] = static_cast<char16_t>(value[i]);
                } else {
                    cell = decode(value);
                }
                LoadCell(RealColIndex(c), r, cell);
            }
            if (!tick(inside ? r : 0)) return;
        }
    } else {
        auto decode = [](StringView v) { return String(v); };
        while (lines.Next(line))
            if (!loadLine(StringView(line), decode)) return;
    }
    CellsChanged(plat::TRect{0, 0, ColCount(), RowCount()});
}

} // namespace grid
