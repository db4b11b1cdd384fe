// Delimited text (CSV and its variants) of TExtStringGrid: export, delimiter detection and
// import from files and streams.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "GridTextIO.h"
#include "plat/Files.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kVT = 0x0B;

bool Contains(const String& s, char16_t c) { return s.find(c) != String::npos; }

// Every CR LF pair of `s` becomes `with` (one character or none).
void ReplaceCrLf(String& s, StringView with) {
    std::size_t at = s.find(u"\r\n");
    if (at == String::npos) return;
    String out;
    out.reserve(s.size());
    std::size_t from = 0;
    for (; at != String::npos; at = s.find(u"\r\n", from)) {
        out.append(s, from, at - from);
        out += with;
        from = at + 2;
    }
    out.append(s, from, String::npos);
    s.swap(out);
}

// The field text of the export (quotes doubled, OEM, quoting, empty and multi-line forms).
void CsvField(TExtStringGrid& g, char16_t D, String& T) {
    if (Contains(T, kQuote)) T = DoubleQuoteChars(T);
    if (g.OemConvert) TextToOem(T);
    bool quoted = false;
    if (g.AlwaysQuotes || (!Contains(T, D) && Contains(T, kQuote))) {
        T.insert(T.begin(), kQuote);
        T += kQuote;
        quoted = true;
    }
    if (T.empty()) {
        if (g.JavaCSV) T = u"^";
        else if (g.QuoteEmptyCells) T = u"\"\"";
    }
    if (Contains(T, D) || Contains(T, u'\r')) {
        if (g.JavaCSV) {
            String out;
            for (char16_t c : T)
                if (c == u'\r') out += u'~';
                else if (c != u'\n') out += c;
            T.swap(out);
        } else if (!quoted) {
            ReplaceCrLf(T, StringView(&kVT, 1));
            T.insert(T.begin(), kQuote);
            T += kQuote;
        } else {
            ReplaceCrLf(T, u"\n");
        }
    }
}

// Existing: the old text of the file for an append; the whole file is written again in the
// encoding asked for.
void WriteCsv(TExtStringGrid& g, const String& FileName, bool Unicode, const String* Existing) {
    const char16_t D = g.Delimiter ? g.Delimiter : u',';
    const bool hidden = g.SaveHiddenCells && g.NumHiddenColumns() > 0;
    const std::vector<int> cols = io::SavedRealColumns(g, hidden);
    io::TTextFileWriter file(FileName, Unicode ? io::TTextFileWriter::Utf8Bom : io::TTextFileWriter::Ansi);
    if (Existing) {
        file.Add(*Existing);
        if (!Existing->empty() && Existing->back() != u'\n' && Existing->back() != u'\r') file.Add(u"\r\n");
    }
    String& out = file.Buffer();
    g.ExportNotification(esExportStart, g.SaveStartRow());
    io::TRowProgress progress(g, g.SaveStartRow(), g.SaveRowCount());
    String T;
    const bool plainless = g.AlwaysQuotes || g.OemConvert;
    for (int r = g.SaveStartRow(); r <= g.SaveEndRow(); ++r) {
        g.ExportNotification(esExportNextRow, r);
        for (std::size_t i = 0; i < cols.size(); ++i) {
            if (i) out += D;
            g.SaveCell(cols[i], r, T);
            // Most fields need no quoting: one scan decides, and they are appended as they are.
            bool plain = !plainless && !T.empty();
            for (std::size_t k = 0; plain && k < T.size(); ++k) {
                const char16_t ch = T[k];
                plain = ch != kQuote && ch != D && ch != u'\r';
            }
            if (!plain) CsvField(g, D, T);
            out.append(T);
        }
        out += u"\r\n";
        if (out.size() >= (1u << 16)) file.Flush();
        progress.Row(r);
    }
    g.ExportNotification(esExportDone, -1);
    file.Commit();
}

// Occurrences of c in a line: every one (Plain), or each maximal run once when its length is
// odd or it ends the line.
int CountDelimiter(StringView line, char16_t c, bool Plain) {
    int n = 0;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] != c) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] == c) ++j;
        if (Plain) n += static_cast<int>(j - i);
        else if ((j - i) % 2 == 1 || j == line.size()) ++n;
        i = j;
    }
    return n;
}

} // namespace

namespace io {

// 0 when no candidate fits (each line is then one field).
char16_t DetectDelimiter(StringView L1, StringView L2) {
    static constexpr std::array<char16_t, 10> kCandidates = {u',', u';', u'#', u'\t', u'|',
                                                             u'@', u'*', u'-', u'+', u'&'};
    for (bool plain : {false, true}) {
        int best = 0;
        char16_t chosen = 0;
        for (char16_t c : kCandidates) {
            const int a = CountDelimiter(L1, c, plain), b = CountDelimiter(L2, c, plain);
            if (a == b && a > best) {
                best = a;
                chosen = c;
            }
        }
        if (chosen) return chosen;
    }
    int best = 0;
    char16_t chosen = 0;
    for (char16_t c : kCandidates) {
        const int a = CountDelimiter(L1, c, true), b = CountDelimiter(L2, c, true);
        if (a > best || b > best) {
            best = std::max(a, b);
            chosen = c;
        }
    }
    return chosen;
}

// Records of delimited text held as bytes in UTF-8 or ANSI (ASCII delimiters, quotes and
// line ends are single bytes in both). A record ends at a line end outside quotes; a quoted
// field starts at a field's start after blanks and ends at a lone quote ("" stays inside).
// Line breaks inside quotes become CR LF. When a quote is still open at the end of the
// bytes, that record and every later one end at line ends.
class TCsvRecords {
public:
    // Past one CR LF, CR or LF at p.
    static std::size_t SkipLineEnd(std::string_view b, std::size_t p) {
        if (p < b.size() && b[p] == '\r') {
            ++p;
            if (p < b.size() && b[p] == '\n') ++p;
        } else if (p < b.size() && b[p] == '\n') {
            ++p;
        }
        return p;
    }
    TCsvRecords(std::string_view Bytes, std::size_t Start, bool Utf8, std::string Delim)
        : b_(Bytes), pos_(Start), utf8_(Utf8), delim_(std::move(Delim)) {}
    bool AtEnd() const { return pos_ >= b_.size(); }
    // The first physical lines as text (for the delimiter detection).
    static std::vector<String> FirstLines(std::string_view Bytes, std::size_t Start, bool Utf8, int Count) {
        std::vector<String> lines;
        std::size_t p = Start;
        while (static_cast<int>(lines.size()) < Count && p < Bytes.size()) {
            std::size_t e = p;
            while (e < Bytes.size() && Bytes[e] != '\r' && Bytes[e] != '\n') ++e;
            const std::string_view raw(Bytes.data() + p, e - p);
            lines.push_back(Utf8 ? plat::Utf8ToString(raw) : plat::AnsiToString(raw));
            p = SkipLineEnd(Bytes, e);
        }
        return lines;
    }
    bool Next(String& Record) {
        if (AtEnd()) return false;
        raw_.clear();
        const std::size_t n = b_.size();
        std::size_t p = pos_;
        bool copied = false;  // raw_ holds the record (a line break inside quotes was rewritten)
        if (!plainLines_) {
            bool fieldStart = true, inQuotes = false;
            std::size_t runStart = p;
            while (p < n) {
                const char c = b_[p];
                if (inQuotes) {
                    if (c == '"') {
                        if (p + 1 < n && b_[p + 1] == '"') {
                            p += 2;
                            continue;
                        }
                        inQuotes = false;
                        ++p;
                        continue;
                    }
                    if (c == '\r' || c == '\n') {
                        raw_.append(b_, runStart, p - runStart);
                        raw_ += "\r\n";
                        copied = true;
                        p += (c == '\r' && p + 1 < n && b_[p + 1] == '\n') ? 2 : 1;
                        runStart = p;
                        continue;
                    }
                    ++p;
                    continue;
                }
                if (c == '\r' || c == '\n') break;
                if (fieldStart) {
                    if (c == ' ') {
                        ++p;
                        continue;
                    }
                    fieldStart = false;
                    if (c == '"') {
                        inQuotes = true;
                        ++p;
                        continue;
                    }
                }
                if (!delim_.empty() && c == delim_[0] && b_.compare(p, delim_.size(), delim_) == 0) {
                    p += delim_.size();
                    fieldStart = true;
                    continue;
                }
                ++p;
            }
            if (inQuotes) {
                plainLines_ = true;  // the quote never closes: back to line ends
                copied = false;
                p = pos_;
            } else if (copied) {
                raw_.append(b_, runStart, p - runStart);
            }
        }
        if (plainLines_)
            while (p < n && b_[p] != '\r' && b_[p] != '\n') ++p;
        const std::string_view text = copied ? std::string_view(raw_) : std::string_view(b_).substr(pos_, p - pos_);
        pos_ = SkipLineEnd(b_, p);
        Record = utf8_ ? plat::Utf8ToString(text) : plat::AnsiToString(text);
        return true;
    }

private:
    std::string_view b_;
    std::size_t pos_;
    bool utf8_;
    std::string delim_;
    std::string raw_;
    bool plainLines_ = false;
};

} // namespace io

void TExtStringGrid::SaveToCSV(const String& FileName, bool Unicode) { WriteCsv(*this, FileName, Unicode, nullptr); }

void TExtStringGrid::AppendToCSV(const String& FileName, bool Unicode) {
    std::string existing;
    if (!io::ReadGridFile(FileName, existing)) throw plat::EFileError(u"Cannot open file \"" + FileName + u"\".");
    const String old = plat::DecodeText(existing);
    WriteCsv(*this, FileName, Unicode, &old);
}

namespace {

// Bytes that the record scanner reads: UTF-8 (with or without mark) and ANSI as they are,
// UTF-16 converted to UTF-8. Start skips a UTF-8 mark. Without a mark, bytes that are valid
// UTF-8 are read as UTF-8 (as the platform reads text files), others as ANSI.
struct TCsvSource {
    plat::TFileBytes file;  // a file's bytes, in pages of their own
    std::string owned;      // bytes read from a stream, or converted from UTF-16
    std::string_view bytes;
    std::size_t start = 0;
    bool utf8 = false;
};

void PrepareSource(TCsvSource& s) {
    const std::string_view b = s.bytes;
    if (b.size() >= 3 && b.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        s.start = 3;
        s.utf8 = true;
    } else if (b.size() >= 2 && (b.compare(0, 2, "\xFF\xFE") == 0 || b.compare(0, 2, "\xFE\xFF") == 0)) {
        s.owned = plat::StringToUtf8(plat::DecodeText(b));
        s.bytes = s.owned;
        s.start = 0;
        s.utf8 = true;
    } else {
        s.utf8 = plat::IsValidUtf8(b);
    }
}

// One field of the import: JavaCSV forms or 0x0B as line breaks.
void ConvertField(const TExtStringGrid& g, String& f) {
    if (g.JavaCSV) {
        if (Contains(f, u'~')) {
            String out;
            for (char16_t c : f)
                if (c == u'~') out += u"\r\n";
                else out += c;
            f.swap(out);
        }
        if (f == u"^") f.clear();
    } else if (Contains(f, kVT)) {
        String out;
        for (char16_t c : f)
            if (c == kVT) out += u"\r\n";
            else out += c;
        f.swap(out);
    }
}

// Index just past the closing quote of a quoted field whose text starts at `from` (after
// the opening quote): the last quote of the first run of odd length, or of a run that ends
// the line; npos when there is none.
std::size_t ClosingQuote(StringView line, std::size_t from) {
    for (std::size_t i = from; i < line.size();) {
        if (line[i] != kQuote) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] == kQuote) ++j;
        if ((j - i) % 2 == 1 || j == line.size()) return j - 1;
        i = j;
    }
    return StringView::npos;
}

void CsvImport(TExtStringGrid& g, TCsvSource& src, int MaxRows, bool Insert) {
    PrepareSource(src);
    const bool hidden = g.SaveHiddenCells;
    const int G = hidden ? g.NumHiddenColumns() : 0;
    int R = Insert ? g.RowCount() : g.SaveStartRow();
    const bool detect = g.Delimiter == 0;
    char16_t D = g.Delimiter;
    if (detect) {
        const std::vector<String> first = io::TCsvRecords::FirstLines(src.bytes, src.start, src.utf8, 2);
        D = io::DetectDelimiter(first.empty() ? StringView() : StringView(first[0]),
                                first.size() < 2 ? StringView() : StringView(first[1]));
    }
    std::string delimBytes;
    if (D) delimBytes = src.utf8 ? plat::StringToUtf8(StringView(&D, 1)) : plat::StringToAnsi(StringView(&D, 1));
    io::TCsvRecords records(src.bytes, src.start, src.utf8, delimBytes);

    g.ImportNotification(isImportStart, R);
    int total = 0;
    if (g.OnFileProgress) {
        io::TCsvRecords count(src.bytes, src.start, src.utf8, delimBytes);
        String rec;
        while (count.Next(rec)) ++total;
        const int lines = total;
        if (!g.LoadFirstRow && total > 0) --total;
        g.SetRowCount(Insert ? g.RowCount() + lines : R + lines + g.FixedFooters);
    }
    String line, field;
    if (!g.LoadFirstRow) records.Next(line);
    int read = 0, lastPct = -1;
    const int c0 = g.SaveStartCol();
    auto store = [&](int C) {
        // The grid grows to hold every field.
        if (C >= g.ColCount() + G) g.SetColCount(C + 1 - G);
        ConvertField(g, field);
        g.LoadCell(hidden ? C : g.RealColIndex(C), R, field);
    };
    while ((MaxRows <= 0 || read < MaxRows) && records.Next(line)) {
        if (g.OemConvert) OemToText(line);
        // Rows are added in growing steps (a constant step makes a large import quadratic);
        // the final count is set at the end.
        if (R >= g.RowCount() - g.FixedFooters) g.SetRowCount(R + std::max(64, R / 2) + g.FixedFooters);
        g.ImportNotification(isImportNewRow, R);
        int C = c0;
        const StringView L(line);
        std::size_t pos = 0;
        for (;;) {
            std::size_t d = D ? L.find(D, pos) : StringView::npos;
            if (d == StringView::npos) break;
            while (L.size() - pos >= 2 && L[pos] == u' ' && pos < d) ++pos;
            if (L[pos] == kQuote) {
                const std::size_t close = ClosingQuote(L, pos + 1);
                if (close != StringView::npos) {
                    field = UndoubleChar(kQuote, L.substr(pos + 1, close - pos - 1));
                    pos = close + 1;
                } else {
                    field.clear();
                }
                d = L.find(D, pos);
                if (d == StringView::npos) {
                    // No delimiter after the closing quote: what follows it is the last field.
                    store(C);
                    ++C;
                    break;
                }
            } else {
                field.assign(L.substr(pos, d - pos));
            }
            store(C);
            ++C;
            pos = d + 1;
        }
        if (pos < L.size()) {
            while (L.size() - pos >= 2 && L[pos] == u' ') ++pos;
            StringView rest = L.substr(pos);
            if (!rest.empty() && rest.front() == kQuote) {
                rest.remove_prefix(1);
                if (!rest.empty() && rest.back() == kQuote) rest.remove_suffix(1);
                field = UndoubleChar(kQuote, rest);
            } else {
                field.assign(rest);
            }
            store(C);
        }
        ++R;
        ++read;
        if (g.OnFileProgress) {
            const int pct = total == 0 ? 100 : static_cast<int>(std::nearbyint(read * 100.0 / total));
            if (pct != lastPct) {
                lastPct = pct;
                g.OnFileProgress(&g, static_cast<short>(std::min(pct, 100)));
            }
        }
    }
    g.SetRowCount(R + g.FixedFooters);
    if (detect) g.Delimiter = 0;
    g.ImportNotification(isImportDone, -1);
    g.CellsChanged(plat::TRect{0, 0, g.ColCount(), g.RowCount()});
}

} // namespace

void TExtStringGrid::LoadFromCSV(const String& FileName, int MaxRows) {
    TCsvSource src;
    if (!io::ReadGridFile(FileName, src.file)) throw plat::EFileError(u"Cannot open file \"" + FileName + u"\".");
    src.bytes = src.file.view();
    if (src.bytes.empty()) return;
    CsvImport(*this, src, MaxRows, false);
    FMaxRowCount = RowCount();
}

void TExtStringGrid::InsertFromCSV(const String& FileName, int MaxRows) {
    TCsvSource src;
    if (!io::ReadGridFile(FileName, src.file)) throw plat::EFileError(u"Cannot open file \"" + FileName + u"\".");
    src.bytes = src.file.view();
    if (src.bytes.empty()) return;
    CsvImport(*this, src, MaxRows, true);
    FMaxRowCount = RowCount();
}

void TExtStringGrid::LoadFromCSVStream(plat::TStream& AStream, int MaxRows) {
    TCsvSource src;
    const std::int64_t left = AStream.Size() - AStream.Position();
    if (left <= 0) throw EExtGridError(u"File is empty");
    src.owned.resize(static_cast<std::size_t>(left));
    AStream.ReadBuffer(src.owned.data(), src.owned.size());
    src.bytes = src.owned;
    CsvImport(*this, src, MaxRows, false);
    FMaxRowCount = RowCount();
}

} // namespace grid
