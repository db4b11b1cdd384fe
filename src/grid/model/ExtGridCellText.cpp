// The cell texts as saved and loaded, the cell text stream that AssignCells copies through,
// the numeric reading of a cell and the scaling of the grid's own fonts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CellGraphic.h"
#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/Exception.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

[[noreturn]] void NotAnInteger(StringView s) {
    throw plat::EConvertError(u"'" + String(s) + u"' is not a valid integer value");
}

// A whole decimal integer of the cell text stream ("-" and digits only, in int range).
int StreamInteger(StringView s) {
    std::size_t i = s.size() > 1 && s[0] == u'-' ? 1 : 0;
    if (i == s.size()) NotAnInteger(s);
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9') NotAnInteger(s);
        v = v * 10 + (s[i] - u'0');
        if (v > 0x80000000LL) NotAnInteger(s);
    }
    if (s[0] == u'-') v = -v;
    if (v > 0x7FFFFFFFLL) NotAnInteger(s);
    return static_cast<int>(v);
}

// Lines of UTF-16LE code units up to the first CR (or the end); the unit after the CR is
// skipped. Reads in large pieces; Position() is where the next line starts.
class TUtf16LineReader {
public:
    explicit TUtf16LineReader(plat::TStream& Stream) : stream_(Stream), bufStart_(Stream.Position()) {}
    bool Next(String& Line) {
        Line.clear();
        bool any = false;
        for (;;) {
            if (buf_.size() - bufPos_ < 2 && !Fill()) return any;  // a lone byte is no unit
            any = true;
            const char* p = buf_.data() + bufPos_;
            const std::size_t units = (buf_.size() - bufPos_) / 2;
            std::size_t k = 0;
            while (k < units && !(p[2 * k] == '\r' && p[2 * k + 1] == 0)) ++k;
            const std::size_t old = Line.size();
            Line.resize(old + k);
            for (std::size_t j = 0; j < k; ++j)
                Line[old + j] = static_cast<char16_t>(static_cast<unsigned char>(p[2 * j]) |
                                                      (static_cast<unsigned char>(p[2 * j + 1]) << 8));
            bufPos_ += 2 * k;
            if (k < units) {
                bufPos_ += 2;  // the CR
                if (buf_.size() - bufPos_ < 2) Fill();
                if (buf_.size() - bufPos_ >= 2) bufPos_ += 2;  // the unit after it
                return true;
            }
        }
    }
    std::int64_t Position() const { return bufStart_ + static_cast<std::int64_t>(bufPos_); }

private:
    bool Fill() {
        if (eof_) return false;
        buf_.erase(0, bufPos_);
        bufStart_ += static_cast<std::int64_t>(bufPos_);
        bufPos_ = 0;
        const std::size_t old = buf_.size();
        buf_.resize(old + 65536);
        const std::size_t got = stream_.Read(buf_.data() + old, 65536);
        buf_.resize(old + got);
        if (got == 0) eof_ = true;
        return got != 0;
    }
    plat::TStream& stream_;
    std::string buf_;
    std::size_t bufPos_ = 0;
    std::int64_t bufStart_;
    bool eof_ = false;
};

// Lines as UTF-16LE code units followed by CR LF, written in large pieces.
class TUtf16LineWriter {
public:
    explicit TUtf16LineWriter(plat::TStream& Stream) : stream_(Stream) {}
    void Line(StringView Text) {
        const std::size_t old = buf_.size();
        buf_.resize(old + 2 * Text.size() + 4);
        char* p = buf_.data() + old;
        for (char16_t u : Text) {
            *p++ = static_cast<char>(u & 0xFF);
            *p++ = static_cast<char>(u >> 8);
        }
        std::memcpy(p, "\r\0\n\0", 4);
        if (buf_.size() >= 65536) Flush();
    }
    void Flush() {
        stream_.WriteBuffer(buf_.data(), buf_.size());
        buf_.clear();
    }

private:
    plat::TStream& stream_;
    std::string buf_;
};

// Reads [sign] digits [. digits] [(e|E) [sign] digits] from the start of Text; Pos is the
// index of the first character not taken. A text without any digit fails at its first
// character.
double ParseDotFloat(StringView Text, std::size_t& Pos) {
    std::string ascii;
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < Text.size() && Text[i] >= u'0' && Text[i] <= u'9') ascii += static_cast<char>(Text[i++]);
        return i - from;
    };
    if (i < Text.size() && (Text[i] == u'-' || Text[i] == u'+')) ascii += static_cast<char>(Text[i++]);
    std::size_t n = digits();
    if (i < Text.size() && Text[i] == u'.') {
        ascii += '.';
        ++i;
        n += digits();
    }
    if (n == 0) {
        Pos = 0;
        return 0;
    }
    if (i < Text.size() && (Text[i] == u'e' || Text[i] == u'E')) {
        const std::size_t keep = ascii.size();
        ascii += 'e';
        ++i;
        if (i < Text.size() && (Text[i] == u'-' || Text[i] == u'+')) ascii += static_cast<char>(Text[i++]);
        if (digits() == 0) {
            Pos = i;  // an exponent without digits is where the number fails
            ascii.resize(keep);
            return std::strtod(ascii.c_str(), nullptr);
        }
    }
    Pos = i;
    return std::strtod(ascii.c_str(), nullptr);
}

} // namespace

// ---- cell text hooks ---------------------------------------------------------------------

String TExtStringGrid::GetFormattedCell(int ACol, int ARow) {
    const String text = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat || ClassifyNumberText(text) == nkNotANumber) return text;
    bool isFloat = true;
    String format = GetFloatFormat(ACol);
    OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (!isFloat || format.empty()) return text;
    try {
        if (format.find(u'd') != String::npos) return plat::Format(format, {static_cast<long long>(Ints(ACol, ARow))});
        return plat::Format(format, {Floats(ACol, ARow)});
    } catch (const plat::Exception&) {
        return text;  // a format that does not fit the value leaves the text
    }
}

void TExtStringGrid::SaveCell(int ACol, int ARow, String& Value) {
    Value = SaveVirtCells ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
    if (Value.empty()) {
        const TCellType type = GetCellType(ACol, ARow);
        if (type == ctCheckBox || type == ctTriStateCheckBox) {
            plat::TCheckBoxState state = plat::cbUnchecked;
            GetCheckBoxState(ACol, ARow, state);
            Value = state == plat::cbChecked ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
        }
    }
    if (!SaveWithHTML && Value.find(u'<') != String::npos) Value = MarkupToPlainText(Value);
    if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}

void TExtStringGrid::LoadCell(int ACol, int ARow, const String& Value) {
    if (!OnLoadCell) {
        SetGridCell(ACol, ARow, Value);
        return;
    }
    String v = Value;
    OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

// ---- cell text stream --------------------------------------------------------------------

void TExtStringGrid::SaveToStream(plat::TStream& Stream) {
    TUtf16LineWriter out(Stream);
    out.Line(plat::IntToStr(SaveColCount()) + u"," + plat::IntToStr(SaveRowCount()));
    for (int c = 0; c < ColCount(); ++c) out.Line(u"cw " + plat::IntToStr(c) + u"," + plat::IntToStr(ColWidths(c)));
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    ExportNotification(esExportStart, r0);
    String value, line;
    for (int r = r0; r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = c0; c <= SaveEndCol(); ++c) {
            SaveCell(RealColIndex(c), r, value);
            if (value.empty()) continue;
            line = plat::IntToStr(c - c0);
            line += u',';
            line += plat::IntToStr(r - r0);
            line += u',';
            line += EncodeControlChars(value);
            out.Line(line);
        }
    }
    ExportNotification(esExportDone, -1);
    out.Flush();
}

void TExtStringGrid::LoadFromStream(plat::TStream& Stream) {
    TUtf16LineReader in(Stream);
    // Whatever happens, the stream is left where the next unread line starts.
    struct Restore {
        plat::TStream& s;
        TUtf16LineReader& in;
        std::int64_t at = -1;
        ~Restore() {
            try {
                s.SetPosition(at >= 0 ? at : in.Position());
            } catch (const plat::Exception&) {
                // A stream that cannot seek keeps the position of its last read.
            } catch (...) {
                plat::LogUnhandled("string grid: restoring the stream position");
            }
        }
    } restore{Stream, in};
    String line;
    if (!in.Next(line)) return;
    const int c0 = SaveStartCol(), r0 = SaveStartRow();
    if (!line.empty()) {
        const std::size_t comma = line.find(u',');
        const int n = StreamInteger(StringView(line).substr(0, comma));
        const int m = comma == String::npos ? 0 : StreamInteger(StringView(line).substr(comma + 1));
        // Counts beyond what the rest of the stream could fill (one "cw" line per column at
        // least; a stream holds no cells for rows it cannot describe) are refused before the
        // grid grows: a few hostile bytes make no grid of millions of cells.
        const std::int64_t left = Stream.Size() - in.Position();
        if (n < 0 || m < 0 || static_cast<std::int64_t>(n) * 10 > left + 1000 || m > left + 100000)
            NotAnInteger(line);
        SetColCount(n + c0);
        SetRowCount(m + r0);
    }
    for (;;) {
        const std::int64_t start = in.Position();
        if (!in.Next(line)) break;
        if (line.size() >= 2 && line[0] == u'c' && line[1] == u'w') {
            const StringView rest = StringView(line).substr(std::min<std::size_t>(3, line.size()));
            const std::size_t comma = rest.find(u',');
            const int c = StreamInteger(rest.substr(0, comma));
            const int w = comma == StringView::npos ? 0 : StreamInteger(rest.substr(comma + 1));
            if (c >= 0 && c < ColCount()) SetColWidths(c, w);
            continue;
        }
        const std::size_t a = line.find(u',');
        const std::size_t b = a == String::npos ? String::npos : line.find(u',', a + 1);
        if (b == String::npos) {
            restore.at = start;  // not a line of this stream: the caller's data begins here
            return;
        }
        const int c = StreamInteger(StringView(line).substr(0, a));
        const int r = StreamInteger(StringView(line).substr(a + 1, b - a - 1));
        // Cells outside the grid are skipped.
        if (c >= 0 && r >= 0 && c + c0 < ColCount() && r + r0 < RowCount())
            LoadCell(RealColIndex(c + c0), r + r0, DecodeControlChars(StringView(line).substr(b + 1), MultilineCells));
    }
}

void TExtStringGrid::AssignCells(const plat::TPersistent* Source) {
    auto* s = const_cast<TExtStringGrid*>(dynamic_cast<const TExtStringGrid*>(Source));
    if (!s) return;
    plat::TMemoryStream buffer;
    s->SaveToStream(buffer);
    buffer.SetPosition(0);
    LoadFromStream(buffer);
}

// ---- numbers and scaling -----------------------------------------------------------------

double TExtStringGrid::CellToReal(int ACol, int ARow) {
    const String text = GetCellEx(ACol, ARow);
    if (text.empty()) return 0;
    const String num = ExtractNumericText(text);
    std::size_t pos = 0;
    const double v = ParseDotFloat(num, pos);
    if (pos != num.size())
        throw EExtGridError(u"Error at position: " + plat::IntToStr(pos + 1) + u" in Cell [" +
                            plat::IntToStr(ACol) + u", " + plat::IntToStr(ARow) + u"].");
    return v;
}

int TExtStringGrid::MaxColumnTextLength(int ACol) {
    std::size_t best = 0;
    String text;
    for (int r = 0; r < RowCount(); ++r) {
        SaveCell(ACol, r, text);
        std::size_t from = 0;
        for (;;) {
            const std::size_t cr = text.find(u'\r', from);
            best = std::max(best, (cr == String::npos ? text.size() : cr) - from);
            if (cr == String::npos || !MultilineCells) break;
            from = cr + 1;
            if (from < text.size() && text[from] == u'\n') ++from;
        }
    }
    return static_cast<int>(best);
}

void TExtStringGrid::ChangeScale(int M, int D) {
    TBaseGrid::ChangeScale(M, D);
    if (IsDesigning() || M == D || D == 0) return;
    auto scaled = [&](int size) {
        return static_cast<int>(std::llround(static_cast<double>(static_cast<std::int64_t>(size) * M) / D));
    };
    FFixedFont->SetSize(scaled(FFixedFont->Size()));
    FActiveCellFont->SetSize(scaled(FActiveCellFont->Size()));
}

} // namespace grid
