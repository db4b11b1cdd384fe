// Fixed-width text and the aligned text listing of TExtStringGrid.
#include <algorithm>
#include <vector>

#include "ExtGrid.h"
#include "GridTextIO.h"
#include "plat/Controls.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// The part before the first CR LF (or CR).
StringView FirstLine(StringView s) { return s.substr(0, s.find(u'\r')); }

// Lines of a cell text split at CR (an LF after it skipped).
std::vector<String> TextLines(StringView s) {
    std::vector<String> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t cr = s.find(u'\r', from);
        lines.emplace_back(s.substr(from, cr == StringView::npos ? StringView::npos : cr - from));
        if (cr == StringView::npos) break;
        from = cr + 1;
        if (from < s.size() && s[from] == u'\n') ++from;
    }
    return lines;
}

} // namespace

void TExtStringGrid::SaveToFixed(const String& FileName, TIntList* Positions) {
    const bool hidden = SaveHiddenCells && NumHiddenColumns() > 0;
    const std::vector<int> cols = io::SavedRealColumns(*this, hidden);
    std::vector<int> widths;
    for (std::size_t k = 0; k < cols.size(); ++k) {
        const bool given = Positions && static_cast<int>(k) < Positions->Count();
        widths.push_back(given ? Positions->GetInteger(static_cast<int>(k)) : MaxColumnTextLength(cols[k]) + 1);
        if (!given && Positions) Positions->Add(widths.back());
    }
    io::TTextFileWriter file(FileName, io::TTextFileWriter::Ansi);
    String& out = file.Buffer();
    String text;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (std::size_t k = 0; k < cols.size(); ++k) {
            SaveCell(cols[k], r, text);
            // A record is one line: only the first line of a multi-line text fits in it.
            const std::size_t cr = text.find(u'\r');
            if (cr != String::npos) text.resize(cr);
            const std::size_t w = static_cast<std::size_t>(std::max(0, widths[k]));
            if (text.size() >= w) {
                out.append(text, 0, w);
            } else {
                out += text;
                out.append(w - text.size(), u' ');
            }
        }
        out += u"\r\n";
        if (out.size() >= (1u << 16)) file.Flush();
    }
    ExportNotification(esExportDone, -1);
    try {
        file.Commit();
    } catch (const plat::Exception&) {
        throw EExtGridError(u"Cannot Create file " + FileName);
    }
}

void TExtStringGrid::LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim, int MaxRows) {
    std::string bytes;
    if (!io::ReadGridFile(FileName, bytes)) throw EExtGridError(u"File " + FileName + u" not found");
    std::vector<int> p;
    for (int i = 0; Positions && i < Positions->Count(); ++i) p.push_back(Positions->GetInteger(i));
    std::sort(p.begin(), p.end());
    for (std::size_t i = 0; i < p.size(); ++i) Positions->SetInteger(static_cast<int>(i), p[i]);
    const int fields = std::max<int>(0, static_cast<int>(p.size()) - 1);
    SetColCount(FixedCols() + fields);
    io::TLineReader lines(bytes);
    String line, field;
    int R = SaveStartRow(), read = 0;
    ImportNotification(isImportStart, R);
    while (lines.Next(line)) {
        if (R >= RowCount()) SetRowCount(R + 1);
        ImportNotification(isImportNewRow, R);
        for (int k = 0; k < fields; ++k) {
            // 1-based start; positions before the line's start or beyond its end give a
            // shorter or empty field.
            const long long from = std::max(1, p[k]) - 1;
            const long long len = static_cast<long long>(p[k + 1]) - std::max(1, p[k]);
            field.clear();
            if (from < static_cast<long long>(line.size()) && len > 0)
                field.assign(line, static_cast<std::size_t>(from),
                             static_cast<std::size_t>(std::min<long long>(len, static_cast<long long>(line.size()) - from)));
            if (DoTrim) field = plat::Trim(field);
            const int c = SaveStartCol() + k;
            if (c < ColCount()) LoadCell(RealColIndex(c), R, field);
        }
        ++read;
        if (MaxRows != -1 && read + 1 > MaxRows) break;
        if (R + 1 >= RowCount() && !lines.AtEnd()) SetRowCount(R + 2);
        ++R;
    }
    ImportNotification(isImportDone, -1);
    CellsChanged(plat::TRect{0, 0, ColCount(), RowCount()});
}

namespace {

void WriteListing(TExtStringGrid& g, const String& FileName, bool Unicode, bool Append) {
    const plat::TCursor oldCursor = plat::Screen ? plat::Screen->Cursor() : plat::crDefault;
    if (plat::Screen) plat::Screen->SetCursor(plat::crHourGlass);
    struct RestoreCursor {
        plat::TCursor c;
        ~RestoreCursor() {
            if (plat::Screen) plat::Screen->SetCursor(c);
        }
    } restore{oldCursor};

    std::string existing;
    const bool append = Append && io::ReadGridFile(FileName, existing);
    const int A = (g.SaveFixedCells || g.SaveFixedCols) ? 0 : g.FixedCols();
    const int B = (g.SaveFixedCells || g.SaveFixedRows) ? 0 : g.FixedRows();
    // Real columns of display columns A.. (every real column from A on with the hidden ones).
    std::vector<int> cols;
    if (g.SaveHiddenCells && g.NumHiddenColumns() > 0) {
        for (int c = A; c < g.AllColCount(); ++c) cols.push_back(c);
    } else {
        for (int c = A; c < g.ColCount(); ++c) cols.push_back(g.RealColIndex(c));
    }
    std::vector<std::size_t> width, start;
    std::size_t at = 0;
    for (int c : cols) {
        width.push_back(static_cast<std::size_t>(g.MaxColumnTextLength(c)));
        start.push_back(at);
        at += width.back() + 1;
    }
    // The whole file is written again in the encoding asked for, the old lines first.
    io::TTextFileWriter file(FileName, Unicode ? io::TTextFileWriter::Utf16LeBom : io::TTextFileWriter::Ansi);
    if (append) {
        const String old = plat::DecodeText(existing);
        file.Add(old);
        if (!old.empty() && old.back() != u'\n' && old.back() != u'\r') file.Add(u"\r\n");
    }
    String& out = file.Buffer();
    String text;
    std::vector<String> cont;
    auto align = [&](StringView part, std::size_t w, plat::TAlignment h) {
        String s(part);
        if (h == plat::taRightJustify) {
            if (s.size() < w) s.insert(0, w - s.size(), u' ');
        } else if (h == plat::taCenter) {
            while (s.size() < w) {
                s.insert(s.begin(), u' ');
                s += u' ';
            }
        }
        return s;
    };
    g.ExportNotification(esExportStart, B);
    for (int r = B; r < g.RowCount(); ++r) {
        g.ExportNotification(esExportNextRow, r);
        cont.clear();
        for (std::size_t k = 0; k < cols.size(); ++k) {
            g.SaveCell(cols[k], r, text);
            plat::TAlignment h = plat::taLeftJustify;
            TVAlignment v = vtaTop;
            g.GetCellAlignment(cols[k], r, h, v);
            std::vector<String> parts;
            if (g.MultilineCells) parts = TextLines(text);
            else parts.emplace_back(FirstLine(text));
            String main = align(parts[0], width[k], h);
            if (main.size() < width[k] + 1) main.append(width[k] + 1 - main.size(), u' ');
            out += main;
            for (std::size_t i = 1; i < parts.size(); ++i) {
                if (cont.size() < i) cont.emplace_back();
                String& c = cont[i - 1];
                if (c.size() < start[k]) c.append(start[k] - c.size(), u' ');
                c += align(parts[i], width[k], h);
            }
        }
        out += u"\r\n";
        for (const String& c : cont) {
            out += c;
            out += u"\r\n";
        }
        if (out.size() >= (1u << 16)) file.Flush();
    }
    g.ExportNotification(esExportDone, -1);
    file.Commit();
}

} // namespace

void TExtStringGrid::SaveToASCII(const String& FileName, bool Unicode) { WriteListing(*this, FileName, Unicode, false); }

void TExtStringGrid::AppendToASCII(const String& FileName, bool Unicode) { WriteListing(*this, FileName, Unicode, true); }

} // namespace grid
