// Copying cells to the clipboard as tab-separated text and, when the grid allows it, as the
// top-left cell's rich text and in its own cell format (the binary cell stream); cutting;
// filling cells from such a text.
#include <algorithm>
#include <string>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "plat/Clipbrd.h"
#include "plat/ComCtrls.h"
#include "plat/Controls.h"
#include "plat/Streams.h"

namespace grid {

namespace {

const char16_t* const kCellFormat = u"TExtStringGrid Cells";
const char16_t* const kRichFormat = u"Rich Text Format";

// Line breaks of a cell as the text form carries them: one LF per break.
String BreaksToLf(StringView s) {
    String out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r') {
            out += u'\n';
            if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

int LineCount(StringView s) { return 1 + static_cast<int>(std::count(s.begin(), s.end(), u'\n')); }

// The text form of a rectangle of display columns; Disjunct honours disjunct row and column
// selections.
String RectText(TExtStringGrid& g, const plat::TGridRect& R, bool Disjunct) {
    g.ClipTopLeft = plat::TPoint{R.Left, R.Top};
    g.ExportNotification(esExportStart, -1);
    TMouseActions* ma = g.MouseActions();
    String out;
    for (int r = R.Top; r <= R.Bottom; ++r) {
        g.ExportNotification(esExportNewRow, r);
        if (Disjunct && ma->DisjunctRowSelect() && !ma->DisjunctColSelect() &&
            !g.GetRowSelect(ma->RowSelectPersistent ? g.RealRowIndex(r) : r))
            continue;
        for (int c = R.Left; c <= R.Right; ++c) {
            if (!(Disjunct && ma->DisjunctColSelect() && !g.GetColSelect(c))) {
                const int real = g.RealColIndex(c);
                String t;
                g.SaveCell(real, r, t);
                if (t.size() >= 2 && t[0] == u'|' && t[1] == u'\\') t = DecodeEscapedUnicode(t);
                if (!g.Navigation()->CopyHTMLTagsToClipboard && t.find(u"</") != String::npos) {
                    t = g.GetStrippedCell(real, r);
                } else if (t.find(u"{\\") != String::npos) {
                    plat::TCustomRichEdit* rich = g.HiddenRichEdit();
                    g.CellToRich(real, r, rich);
                    t = rich->Text();
                }
                if (t.find(u'\r') != String::npos || t.find(u'\n') != String::npos) {
                    if (g.ExcelClipboardFormat && g.MultilineCells && LineCount(BreaksToLf(t)) > 1) {
                        String x;
                        for (char16_t ch : BreaksToLf(t)) x += ch == u'\n' ? u'\x0B' : ch;
                        t = u"\"" + x + u"\"";
                    } else {
                        t = u"\"" + BreaksToLf(t) + u"\"";
                    }
                }
                out += t;
            }
            if (c != R.Right) out += u'\t';
        }
        if (R.Bottom > R.Top) out += u"\r\n";
    }
    g.ExportNotification(esExportDone, -1);
    return out;
}

void CopyRect(TExtStringGrid& g, const plat::TGridRect& R, bool Disjunct) {
    const String text = RectText(g, R, Disjunct);
    plat::TClipboard& cb = plat::Clipboard();
    cb.Open();
    try {
        cb.Clear();
        cb.SetAsText(text);
        if (g.Navigation()->AllowRTFClipboard) {
            const String rich = g.Cells(g.RealColIndex(R.Left), R.Top);
            if (rich.find(u"{\\") != String::npos) {
                std::string bytes = plat::StringToUtf8(rich);
                bytes += '\0';
                cb.SetAsHandle(plat::RegisterClipboardFormat(kRichFormat), std::move(bytes));
            }
        }
        if (g.AllowFmtClipboard()) {
            plat::TMemoryStream m;
            g.SaveRectToBinStream(
                plat::TRect{g.RealColIndex(R.Left), R.Top, g.RealColIndex(R.Right), R.Bottom}, m);
            cb.SetAsHandle(plat::RegisterClipboardFormat(kCellFormat), m.Bytes());
        }
    } catch (...) {
        cb.Close();
        throw;
    }
    cb.Close();
}

plat::TGridRect SaveRange(TExtStringGrid& g) {
    return plat::TGridRect{g.SaveStartCol(), g.SaveStartRow(), g.SaveEndCol(), g.SaveEndRow()};
}

} // namespace

String TExtStringGrid::GetSelectionAsText() { return RectText(*this, Selection(), true); }

void TExtStringGrid::CopyToClipBoard() {
    CopyRect(*this, SaveRange(*this), false);
    ClipLastOp = coCopy;
}

void TExtStringGrid::CopySelectionToClipboard() {
    plat::TGridRect s = Selection();
    // Widened over merged areas at its corners.
    const int l = RealColIndex(s.Left), rr = RealColIndex(s.Right);
    if (Map().IsMergedCell(l, s.Top)) {
        const TPoint b = Map().BaseCell(l, s.Top);
        s.Left = std::min(s.Left, DisplColIndex(b.X));
        s.Top = std::min(s.Top, b.Y);
    }
    if (Map().IsMergedCell(rr, s.Bottom)) {
        const plat::TRect full = Map().FullCell(rr, s.Bottom);
        s.Right = std::max(s.Right, DisplColIndex(full.Right));
        s.Bottom = std::max(s.Bottom, full.Bottom);
    }
    if (!(s == Selection())) SetSelection(s);
    TMouseActions* ma = MouseActions();
    if (ma->DisjunctRowSelect() && !AllowFmtClipboard())
        CopyRect(*this, plat::TGridRect{FixedCols(), SaveStartRow(), ColCount() - FixedRightCols - 1, SaveEndRow()},
                 true);
    else if (!ma->DisjunctRowSelect() && ma->DisjunctColSelect() && !AllowFmtClipboard())
        CopyRect(*this, SaveRange(*this), true);
    else
        CopyRect(*this, s, false);
    ClipLastOp = coCopy;
}

void TExtStringGrid::CutToClipboard() {
    const plat::TGridRect R = SaveRange(*this);
    CopyRect(*this, R, false);
    const bool always = Navigation()->AllowClipboardAlways;
    TExtGridUndoRedo* undo = UndoRedo();
    if (undo) undo->StartSequence();
    for (int r = R.Top; r <= R.Bottom; ++r) {
        for (int c = R.Left; c <= R.Right; ++c) {
            if (!(always || IsEditable(c, r))) continue;
            const int real = RealColIndex(c);
            const String old = Cells(real, r);
            if (undo) undo->RegisterChange(real, r, String(), old);
            SetCells(real, r, String());
        }
        if (ShowModified()->Enabled()) SetRowModified(r, true);
    }
    if (undo) undo->StopSequence();
    ClipLastOp = coCut;
}

void TExtStringGrid::CutSelectionToClipboard() {
    CopySelectionToClipboard();
    const plat::TGridRect s = Selection();
    TMouseActions* ma = MouseActions();
    const bool modified = ShowModified()->Enabled();
    if (ma->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (!GetRowSelect(ma->RowSelectPersistent ? RealRowIndex(r) : r)) continue;
            ClearRows(r, 1);
            if (modified) SetRowModified(r, true);
        }
    } else if (ma->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (GetColSelect(c)) ClearCols(c, 1);
    } else {
        const bool always = Navigation()->AllowClipboardAlways;
        TExtGridUndoRedo* undo = UndoRedo();
        if (undo) undo->StartSequence();
        for (int c = s.Left; c <= s.Right; ++c) {
            const int real = RealColIndex(c);
            for (int r = s.Top; r <= s.Bottom; ++r) {
                if (!(always || IsEditable(c, r))) continue;
                if (undo) undo->RegisterChange(real, r, String(), Cells(real, r));
                SetCells(real, r, String());
            }
        }
        if (undo) undo->StopSequence();
        if (modified)
            for (int r = s.Top; r <= s.Bottom; ++r) SetRowModified(r, true);
        if (AllowFmtClipboard())
            for (int c = s.Left; c <= s.Right; ++c) {
                const int real = RealColIndex(c);
                ClearCellPropertiesRange(real, s.Top, real, s.Bottom);
            }
    }
    ClipLastOp = coCut;
    CellsChanged(plat::TRect{RealColIndex(s.Left), s.Top, RealColIndex(s.Right), s.Bottom});
    if (NumHiddenColumns() > 0) Invalidate();
}

void TExtStringGrid::SetSelectionAsText(const String& Value) {
    const plat::TGridRect s = Selection();
    int c = s.Left, r = s.Top, maxC = c, maxR = r;
    const bool footer = FloatingFooter() && FloatingFooter()->Visible();
    std::size_t i = 0;
    while (i < Value.size()) {
        std::size_t eol = Value.find(u'\r', i);
        const bool last = eol == String::npos;
        if (last) eol = Value.size();
        const StringView line = StringView(Value).substr(i, eol - i);
        std::size_t f = 0;
        while (true) {
            const std::size_t tab = line.find(u'\t', f);
            String field(line.substr(f, tab == StringView::npos ? StringView::npos : tab - f));
            if (field.find(u'\n') != String::npos) {
                if (!field.empty() && field.front() == u'"') field.erase(0, 1);
                if (!field.empty() && field.back() == u'"') field.pop_back();
                String x;
                for (char16_t ch : field) {
                    if (ch == u'\x0B') x += u"\r\n";
                    else if (ch == u'\n') x += u"\r\n";
                    else x += ch;
                }
                field = x;
            }
            if (field.size() >= 2 && field[0] == u'|' && field[1] == u'\\')
                field = EncodeEscapedUnicode(DecodeEscapedUnicode(field));
            if (r < RowCount()) {
                if (c >= ColCount()) SetColCount(c + 1);
                SetGridCell(RealColIndex(c), r, field);
                maxC = std::max(maxC, c);
                maxR = std::max(maxR, r);
            }
            ++c;
            if (tab == StringView::npos) break;
            f = tab + 1;
        }
        c = s.Left;
        i = eol + 1;
        if (!last && i < Value.size() && Value[i] == u'\n') ++i;
        if (!last && i < Value.size()) {
            ++r;
            if (r >= RowCount() - (footer ? 1 : 0)) SetRowCount(RowCount() + 1);
        }
        if (last) break;
    }
    CellsChanged(plat::TRect{RealColIndex(s.Left), s.Top, RealColIndex(maxC), maxR});
}

} // namespace grid
