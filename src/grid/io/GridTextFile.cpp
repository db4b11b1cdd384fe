// The native cell file of TExtStringGrid.
#include <algorithm>
#include <cstdint>
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
std::int64_t LeadingInteger(StringView s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) neg = s[i++] == u'-';
    std::int64_t v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
        v = std::min<std::int64_t>(v * 10 + (s[i] - u'0'), std::int64_t(1) << 40);
    return neg ? -v : v;
}

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
    String value;
    // "col," per saved column and "row," per row are formed once, not once per cell.
    std::vector<String> colText(cols.size());
    for (std::size_t i = 0; i < cols.size(); ++i) colText[i] = plat::IntToStr(fileCol(i)) + u",";
    String rowText;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        rowText = plat::IntToStr(r);
        rowText += u',';
        for (std::size_t i = 0; i < cols.size(); ++i) {
            SaveCell(cols[i], r, value);
            if (value.empty()) continue;
            text += colText[i];
            text += rowText;
            if (value.find(u'\r') == String::npos) text += value;
            else text += EncodeControlChars(value);
            text += u"\r\n";
        }
        if (text.size() >= (1u << 16)) file.Flush();
        progress.Row(r);
    }
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
    unsigned sinceMessages = 0;
    while (lines.Next(line)) {
        int r = 0;
        if (line.size() >= 2 && line[0] == u'c' && line[1] == u'w') {
            const std::size_t comma = line.find(u',');
            const std::size_t from = std::min<std::size_t>(3, line.size());
            const std::int64_t c = LeadingInteger(
                StringView(line).substr(from, comma == String::npos ? String::npos : comma - std::min(comma, from)));
            const StringView w = comma == String::npos ? StringView() : StringView(line).substr(comma + 1, 255);
            const std::int64_t width = LeadingInteger(w);
            if (c >= 0 && c < ColCount() && width >= 0 && width <= std::numeric_limits<int>::max())
                SetColWidths(static_cast<int>(c), static_cast<int>(width));
        } else {
            const std::size_t a = line.find(u',');
            const std::size_t b = a == String::npos ? String::npos : line.find(u',', a + 1);
            const std::int64_t c = a == String::npos ? 0 : LeadingInteger(StringView(line).substr(0, a));
            const std::int64_t rr =
                a == String::npos
                    ? 0
                    : LeadingInteger(StringView(line).substr(a + 1, b == String::npos ? String::npos : b - a - 1));
            StringView rest;
            if (b != String::npos) rest = StringView(line).substr(b + 1);
            else if (a == String::npos) rest = line;  // no "," at all: the whole line
            // Cells outside the grid (negative or too large numbers) are skipped.
            if (c >= 0 && rr >= 0 && c < ColCount() && rr < RowCount()) {
                r = static_cast<int>(rr);
                if (rest.find(u'\x08') == StringView::npos && (MultilineCells || rest.find(u'\r') == StringView::npos))
                    LoadCell(RealColIndex(static_cast<int>(c)), r, String(rest));
                else
                    LoadCell(RealColIndex(static_cast<int>(c)), r, DecodeControlChars(rest, MultilineCells));
            }
        }
        progress.Row(r);
        if (++sinceMessages == 256) {
            sinceMessages = 0;
            if (plat::Application) plat::Application->ProcessMessages();
            if (alive.expired()) return;  // the grid was destroyed meanwhile
        }
    }
    CellsChanged(plat::TRect{0, 0, ColCount(), RowCount()});
}

} // namespace grid
