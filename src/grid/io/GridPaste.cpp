// Pasting from the clipboard: the grid's own cell format, rich text into one cell or
// tab-separated text, written cell by cell through PasteCellText; the "smart" fill of a larger
// selection after a paste.
#include <algorithm>
#include <cmath>
#include <string>

#include "BinStreamCodec.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/Clipbrd.h"
#include "plat/Controls.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

const char16_t* const kCellFormat = u"TExtStringGrid Cells";
const char16_t* const kRichFormat = u"Rich Text Format";

bool IsWide(StringView s) { return s.size() >= 2 && s[0] == u'|' && s[1] == u'\\'; }

// A pasted field that holds a line break comes quoted, one LF per break (0x0B from
// spreadsheets): the quotes go and every break becomes CR LF again.
String UnquoteField(StringView f) {
    if (f.find(u'\n') == StringView::npos) return String(f);
    if (!f.empty() && f.front() == u'"') f.remove_prefix(1);
    if (!f.empty() && f.back() == u'"') f.remove_suffix(1);
    String out;
    out.reserve(f.size() + 8);
    for (char16_t ch : f) {
        if (ch == u'\n' || ch == u'\x0B') out += u"\r\n";
        else out += ch;
    }
    return out;
}

// Lines split at CR (an LF right after it belongs to the line end); the empty remainder after
// a final line break is a line of its own.
std::vector<StringView> SplitLines(StringView t) {
    std::vector<StringView> lines;
    std::size_t i = 0;
    while (true) {
        const std::size_t cr = t.find(u'\r', i);
        if (cr == StringView::npos) {
            lines.push_back(t.substr(i));
            return lines;
        }
        lines.push_back(t.substr(i, cr - i));
        i = cr + 1;
        if (i < t.size() && t[i] == u'\n') ++i;
    }
}

std::vector<StringView> SplitFields(StringView line) {
    std::vector<StringView> fields;
    std::size_t i = 0;
    while (true) {
        const std::size_t tab = line.find(u'\t', i);
        if (tab == StringView::npos) {
            fields.push_back(line.substr(i));
            return fields;
        }
        fields.push_back(line.substr(i, tab - i));
        i = tab + 1;
    }
}

// ---- dates and times of the smart fill --------------------------------------------------

struct TStamp {
    bool date = false;
    int y = 0, m = 0, d = 0;
    double time = 0;  // fraction of a day
};

bool ReadNumbers(StringView s, char16_t sep, std::vector<int>& out) {
    out.clear();
    int v = 0, digits = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == sep) {
            if (digits == 0 || digits > 4) return false;
            out.push_back(v);
            v = digits = 0;
        } else if (s[i] >= u'0' && s[i] <= u'9') {
            v = v * 10 + (s[i] - u'0');
            ++digits;
        } else {
            return false;
        }
    }
    return true;
}

// A date in the order of the short date format (two-digit years in 2000..2099), optionally
// followed by a blank and a time, or a time alone ("h:n" or "h:n:s").
bool ReadStamp(StringView text, TStamp& st) {
    const plat::TFormatSettings& fs = plat::FormatSettings;
    StringView s = text;
    while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
    st = TStamp{};
    std::vector<int> n;
    StringView timePart;
    if (s.find(fs.DateSeparator) != StringView::npos) {
        const std::size_t blank = s.find(u' ');
        const StringView datePart = s.substr(0, blank);
        if (blank != StringView::npos) timePart = s.substr(blank + 1);
        if (!ReadNumbers(datePart, fs.DateSeparator, n) || n.size() != 3) return false;
        // The order of day, month and year in the short date format.
        String order;
        for (char16_t ch : fs.ShortDateFormat) {
            const char16_t l = ch | 0x20;
            if ((l == u'd' || l == u'm' || l == u'y') && order.find(l) == String::npos) order += l;
        }
        if (order.size() != 3) order = u"dmy";
        for (int i = 0; i < 3; ++i) {
            if (order[i] == u'd') st.d = n[i];
            else if (order[i] == u'm') st.m = n[i];
            else st.y = n[i] < 100 ? 2000 + n[i] : n[i];
        }
        plat::TDateTime check;
        if (!plat::TryEncodeDate(st.y, st.m, st.d, check)) return false;
        st.date = true;
    } else {
        timePart = s;
    }
    if (!timePart.empty()) {
        if (!ReadNumbers(timePart, fs.TimeSeparator, n) || n.size() < 2 || n.size() > 3) return false;
        plat::TDateTime t;
        if (!plat::TryEncodeTime(n[0], n[1], n.size() == 3 ? n[2] : 0, 0, t)) return false;
        st.time = t;
    }
    return true;
}

double StampValue(const TStamp& s) { return (s.date ? plat::EncodeDate(s.y, s.m, s.d) : 0.0) + s.time; }

int Count(StringView s, char16_t ch) { return static_cast<int>(std::count(s.begin(), s.end(), ch)); }

} // namespace

// ---- sizes ---------------------------------------------------------------------------------

void TExtStringGrid::GetTextTableSize(const String& Text, int& ACols, int& ARows) {
    ACols = 0;
    int nonEmpty = 0;
    for (StringView line : SplitLines(Text)) {
        ACols = std::max(ACols, static_cast<int>(SplitFields(line).size()));
        if (!line.empty()) ++nonEmpty;
    }
    ARows = std::max(0, nonEmpty - 1);
}

// ---- text ---------------------------------------------------------------------------------

int TExtStringGrid::PasteTextAt(int ACol, int ARow, const String& Text, int& ARows, int& ACols) {
    ARows = ACols = 0;
    TNavigation* nav = Navigation();
    if (ACol < 0 || ARow < 0) return 0;
    if (!Options().Contains(plat::goEditing) && !nav->AllowClipboardAlways && !MouseActions()->RangeSelectAndEdit)
        return 0;
    TExtGridUndoRedo* undo = UndoRedo();
    if (undo) undo->StartSequence();
    const bool footer = FloatingFooter() && FloatingFooter()->Visible();
    const std::vector<StringView> lines = SplitLines(Text);
    int r = ARow, total = 0, maxC = -1, maxR = -1, lastFields = 0;
    try {
        for (std::size_t li = 0; li < lines.size(); ++li) {
            const StringView line = lines[li];
            const bool remainder = li + 1 == lines.size() && li > 0 && line.empty();
            ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, r);
            if (!line.empty() && nav->ClipboardPasteAction == paInsert) InsertRows(r, 1);
            const std::vector<StringView> fields = SplitFields(line);
            int c = ACol;
            for (StringView raw : fields) {
                String field = UnquoteField(raw);
                if (c >= ColCount() && nav->AllowClipboardColGrow) SetColCount(c + 1);
                const bool inside = c < ColCount() && r < RowCount();
                if (inside && !remainder && (nav->AllowClipboardAlways || IsEditable(c, r))) {
                    bool allow = true;
                    const bool wide = IsWide(field);
                    if (wide) {
                        String decoded = DecodeEscapedUnicode(field);
                        if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, c, r, decoded, allow);
                        field = EncodeEscapedUnicode(decoded);
                    } else if (OnClipboardBeforePasteCell) {
                        OnClipboardBeforePasteCell(this, c, r, field, allow);
                    }
                    if (allow) {
                        PasteCellText(c, r, field);
                        maxC = std::max(maxC, c);
                        maxR = std::max(maxR, r);
                        if (wide && OnClipboardAfterPasteWideCell)
                            OnClipboardAfterPasteWideCell(this, c, r, DecodeEscapedUnicode(field));
                        else if (!wide && OnClipboardAfterPasteCell)
                            OnClipboardAfterPasteCell(this, c, r, field);
                    }
                }
                ++c;
                ++total;
            }
            lastFields = static_cast<int>(fields.size());
            // More text follows this line: the next line goes one row down.
            if (li + 1 < lines.size() && !(li + 2 == lines.size() && lines[li + 1].empty())) {
                ++r;
                if (r == RowCount() - (footer ? 1 : 0) && nav->AllowClipboardRowGrow) SetRowCount(RowCount() + 1);
            }
        }
    } catch (...) {
        if (undo) undo->StopSequence();
        throw;
    }
    if (undo) undo->StopSequence();
    if (maxC >= 0) {
        PasteDone(ClipTopLeft, plat::TRect{ACol, ARow, maxC, maxR}, ClipLastOp);
        CellsChanged(plat::TRect{RealColIndex(ACol), ARow, RealColIndex(maxC), maxR});
    }
    ARows = static_cast<int>(lines.size());
    ACols = lastFields;
    FPastedRows = static_cast<int>(lines.size()) - (lines.size() > 1 && lines.back().empty() ? 1 : 0);
    FPastedCols = 0;
    for (StringView line : lines) FPastedCols = std::max(FPastedCols, static_cast<int>(SplitFields(line).size()));
    return total;
}

// ---- one clipboard content --------------------------------------------------------------

int TExtStringGrid::PasteClipboardAt(int ACol, int ARow, int& ARows, int& ACols) {
    ARows = ACols = 0;
    FPastedRows = FPastedCols = 0;
    plat::TClipboard& cb = plat::Clipboard();
    TNavigation* nav = Navigation();
    const plat::UINT cellFormat = plat::RegisterClipboardFormat(kCellFormat);
    const plat::UINT richFormat = plat::RegisterClipboardFormat(kRichFormat);
    if (AllowFmtClipboard() && cb.HasFormat(cellFormat)) {
        cb.Open();
        BeginPaste();
        int result = 0;
        try {
            const std::string bytes = cb.GetAsHandle(cellFormat);
            const bool rowGrow = nav->AllowClipboardRowGrow, colGrow = nav->AllowClipboardColGrow;
            const bool insert = nav->ClipboardPasteAction == paInsert;
            if (rowGrow || colGrow || insert) {
                // Checked against the block's size before the grid grows.
                const io::bin::TBinHeader h = io::bin::ReadBinHeader(bytes);
                if (colGrow && ACol + h.ColCount >= ColCount()) SetColCount(ACol + h.ColCount);
                if (rowGrow && ARow + h.RowCount >= RowCount()) SetRowCount(ARow + h.RowCount);
                ARows = RowCount();
                ACols = ColCount();
                if (insert && h.RowCount > 0) InsertRows(ARow, h.RowCount);
            }
            plat::TMemoryStream m;
            m.LoadFromBytes(bytes);
            LoadAtPointFromBinStream(plat::TPoint{RealColIndex(ACol), ARow}, m);
            const io::bin::TBinHeader h = io::bin::ReadBinHeader(bytes);
            const plat::TPoint source = h.ID == GridStreamID() ? ClipTopLeft : plat::TPoint{-1, -1};
            PasteDone(source, plat::TRect{ACol, ARow, ACol + h.ColCount - 1, ARow + h.RowCount - 1}, ClipLastOp);
            result = h.ColCount * h.RowCount;
            FPastedRows = h.RowCount;
            FPastedCols = h.ColCount;
        } catch (...) {
            cb.Close();
            EndPaste();
            throw;
        }
        cb.Close();
        EndPaste();
        return result;
    }
    if (nav->AllowRTFClipboard && cb.HasFormat(richFormat)) {
        cb.Open();
        std::string bytes = cb.GetAsHandle(richFormat);
        cb.Close();
        const std::size_t zero = bytes.find('\0');
        if (zero != std::string::npos) bytes.resize(zero);
        if (IsEditable(ACol, ARow)) PasteCellText(ACol, ARow, plat::Utf8ToString(bytes));
        ARows = ACols = 1;
        FPastedRows = FPastedCols = 1;
        return 0;
    }
    cb.Open();
    const String text = cb.AsText();
    cb.Close();
    if (text.empty()) return 0;
    return PasteTextAt(ACol, ARow, text, ARows, ACols);
}

// ---- the public pastes ----------------------------------------------------------------------

void TExtStringGrid::PasteFromClipboard() {
    ImportNotification(isImportStart, -1);
    FPasteAll = true;
    int rows = 0, cols = 0;
    try {
        PasteClipboardAt(SaveStartCol(), SaveStartRow(), rows, cols);
    } catch (...) {
        FPasteAll = false;
        throw;
    }
    FPasteAll = false;
    ImportNotification(isImportDone, -1);
    CellsChangedFooter();
}

void TExtStringGrid::PasteSelectionFromClipboard() {
    ImportNotification(isImportStart, -1);
    FPasteAll = false;
    // Widened over merged areas at its corners, as a copy does.
    plat::TGridRect s = Selection();
    const int lr = RealColIndex(s.Left), rr = RealColIndex(s.Right);
    if (Map().IsMergedCell(lr, s.Top)) {
        const TPoint b = Map().BaseCell(lr, s.Top);
        s.Left = std::min(s.Left, DisplColIndex(b.X));
        s.Top = std::min(s.Top, b.Y);
    }
    if (Map().IsMergedCell(rr, s.Bottom)) {
        const plat::TRect full = Map().FullCell(rr, s.Bottom);
        s.Right = std::max(s.Right, DisplColIndex(full.Right));
        s.Bottom = std::max(s.Bottom, full.Bottom);
    }
    if (!(s == Selection())) SetSelection(s);
    const int L = s.Left, T = s.Top, R = s.Right, B = s.Bottom;
    const long long S = static_cast<long long>(B - T + 1) * (R - L + 1);
    int PR = 0, PC = 0;
    const int n = PasteClipboardAt(Options().Contains(plat::goRowSelect) ? FixedCols() : L, T, PR, PC);
    TNavigation* nav = Navigation();
    if (!nav->AllowSmartClipboard || n == S + 1) return;

    const plat::TRect selReal{RealColIndex(L), T, RealColIndex(R), B};
    auto before = [&](int c, int r, String& v) {
        bool allow = true;
        if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
        return allow;
    };
    auto after = [&](int c, int r, const String& v) {
        PasteDone(ClipTopLeft, plat::TRect{c, r, c, r}, coCopy);
        if (OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
    };
    BeginPaste();
    if (n == 1 && S > 1) {
        // One value repeats over the selection.
        const int lreal = RealColIndex(L);
        String v = Cells(lreal, T);
        bool state = false;
        if (GetCheckBoxState(lreal, T, state)) v = state ? CheckTrue : CheckFalse;
        for (int c = L; c <= R; ++c)
            for (int r = T; r <= B; ++r) {
                if (!(nav->AllowClipboardAlways || IsEditable(c, r))) continue;
                const bool origin = c == L && r == T;
                if (!origin && !before(c, r, v)) continue;
                PasteCellText(c, r, v);
                PasteDone(ClipTopLeft, plat::TRect{c, r, c, r}, coCopy);
                if (!origin && OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
            }
    } else if (n > 1 && (L == R || T == B)) {
        const bool column = L == R;
        const String v1 = Cells(RealColIndex(L), T);
        const String v2 = column ? Cells(RealColIndex(L), T + 1) : Cells(RealColIndex(L + 1), T);
        const plat::TFormatSettings& fs = plat::FormatSettings;
        auto dateLike = [&](const String& v) {
            return Count(v, fs.DateSeparator) == 2 || v.find(fs.TimeSeparator) != String::npos;
        };
        // Each editable cell after (L, T) takes the next value; Next ends the fill with false.
        auto series = [&](auto&& Next, bool doneEveryCell) {
            for (int c = L; c <= R; ++c)
                for (int r = T; r <= B; ++r) {
                    if (c == L && r == T) continue;
                    if (!IsEditable(c, r)) continue;
                    String v;
                    if (!Next(v)) return;
                    const bool stored = before(c, r, v);
                    if (stored) PasteCellText(c, r, v);
                    if (stored || doneEveryCell) after(c, r, v);
                }
        };
        double f1 = 0, f2 = 0;
        int i1 = 0, i2 = 0;
        if (dateLike(v1) && dateLike(v2)) {
            TStamp d1, d2;
            if (ReadStamp(v1, d1) && ReadStamp(v2, d2)) {
                const bool asDate = v1.find(fs.DateSeparator) != String::npos;
                const int dy = d2.y - d1.y, dm = d2.m - d1.m, dd = d2.d - d1.d;
                const double delta = StampValue(d2) - StampValue(d1);
                TStamp cur = d1;
                double value = StampValue(d1);
                series(
                    [&](String& out) {
                        if (d1.date && dm == 0 && dy == 0 && dd != 0) {
                            value += dd;
                        } else if (d1.date && dd == 0 && dm == 0 && dy != 0) {
                            plat::TDateTime t;
                            if (!plat::TryEncodeDate(cur.y + dy, cur.m, cur.d, t)) return false;
                            cur.y += dy;
                            value = t + cur.time;
                        } else if (d1.date && dd == 0 && dy == 0 && dm != 0) {
                            int m = cur.m + dm, y = cur.y;
                            if (m > 12) m -= 12, ++y;
                            if (m < 1) m += 12, --y;
                            plat::TDateTime t;
                            if (!plat::TryEncodeDate(y, m, cur.d, t)) return false;
                            cur.y = y;
                            cur.m = m;
                            value = t + cur.time;
                        } else {
                            value += delta;
                        }
                        if (!std::isfinite(value) || value < -693593 || value > 2958465) return false;
                        plat::DecodeDate(value, cur.y, cur.m, cur.d);
                        out = asDate ? plat::DateToStr(value) : plat::TimeToStr(value);
                        return true;
                    },
                    true);
            }
        } else if (v1.find(fs.DecimalSeparator) != String::npos || v2.find(fs.DecimalSeparator) != String::npos) {
            if (plat::TryStrToFloat(v1, f1) && plat::TryStrToFloat(v2, f2)) {
                const double delta = f2 - f1;
                double value = f1;
                series(
                    [&](String& out) {
                        value += delta;
                        try {
                            out = plat::Format(FloatFormat, {value});
                        } catch (const plat::Exception&) {
                            return false;
                        }
                        return true;
                    },
                    false);
            }
        } else if (plat::TryStrToInt(v1, i1) && plat::TryStrToInt(v2, i2)) {
            const long long delta = static_cast<long long>(i2) - i1;
            long long value = i1;
            series(
                [&](String& out) {
                    value += delta;
                    out = plat::IntToStr(value);
                    return true;
                },
                false);
        } else {
            // The pasted texts repeat with the period of the values pasted along the selection.
            const int period = column ? FPastedRows : FPastedCols;
            if (period >= 1) {
                const int from = column ? T + period : L + period, to = column ? B : R;
                for (int i = from; i <= to; ++i) {
                    const int c = column ? L : i, r = column ? i : T;
                    if (!IsEditable(c, r)) continue;
                    String v = column ? Cells(RealColIndex(L), r - period) : Cells(RealColIndex(c - period), T);
                    if (!before(c, r, v)) continue;
                    PasteCellText(c, r, v);
                    if (OnClipboardAfterPasteCell) OnClipboardAfterPasteCell(this, c, r, v);
                }
                if (from <= to)
                    PasteDone(ClipTopLeft, column ? plat::TRect{L, from, L, to} : plat::TRect{from, T, to, T}, coCopy);
            }
        }
    } else if (n > 1 && (PR == 1 || PC == 1)) {
        // A single pasted row (or column) repeats down (or across) the selection.
        int rows = 0, cols = 0;
        if (PR == 1)
            for (int r = T + 1; r <= B; ++r) {
                SetRow(r);
                PasteClipboardAt(L, r, rows, cols);
            }
        else
            for (int c = L + 1; c <= R; ++c) {
                SetCol(c);
                PasteClipboardAt(c, T, rows, cols);
            }
        SetSelection(s);
    }
    EndPaste();
    ImportNotification(isImportDone, -1);
    CellsChanged(selReal);
    CellsChangedFooter();
}

} // namespace grid
