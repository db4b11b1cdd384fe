// Automatic sizing of TExtStringGrid: columns and rows to their content, fitting the columns
// to the grid's width, and the grid to its cells.
#include <algorithm>
#include <cmath>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"

namespace grid {

namespace {

// Round half to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

// ACol is a display column: the fixed-cell question takes it as it is, the cell's colour hook
// (and with it the column grid's item and OnGetCellColor) takes its real column, as painting does.
void TExtStringGrid::PrepareMeasureFont(int ACol, int ARow) {
    const bool fixed = IsFixed(ACol, ARow);
    const int real = RealColIndex(ACol);
    FMeasureFont->Assign(fixed ? *FFixedFont : *GetCellFont(real, ARow));
    plat::TGridDrawState state;
    if (fixed) state.Include(plat::gdFixed);
    GetCellColor(real, ARow, state, Canvas()->Brush(), FMeasureFont.get());
    if (!Canvas()->Font()->Equals(*FMeasureFont)) Canvas()->Font()->Assign(*FMeasureFont);
}

TPoint TExtStringGrid::MeasureCellContent(int ACol, int ARow, int WrapWidth) {
    plat::TCanvas* cv = Canvas();
    PrepareMeasureFont(ACol, ARow);
    TPoint size{0, 0};
    const String t = GetCellEx(RealColIndex(ACol), ARow);
    if (DetectCellTextKind(t, EnableHTML) == ctMarkup) {
        // Markup measures as the markup renderer lays it out (tags take no room).
        TMarkupDrawInput in;
        in.Canvas = cv;
        in.Text = t;
        in.Rect = {0, 0, WrapWidth > 0 ? WrapWidth : 65535, 65535};
        in.MeasureOnly = true;
        in.WordWrap = WrapWidth > 0;
        in.Images = GridImages;
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        return {out.XSize, out.YSize};
    }
    const int lineHeight = cv->TextHeight(u"gh");
    int lines = 0;
    ForEachLine(t, [&](StringView line) {
        const int w = cv->TextWidth(line);
        if (WrapWidth <= 0 || w <= WrapWidth) {
            size.X = std::max(size.X, w);
            ++lines;
            return;
        }
        // Greedy word wrap at blanks; a word wider than the width takes a line of its own.
        const int space = cv->TextWidth(u" ");
        int lineW = -1;
        std::size_t i = 0;
        while (i < line.size()) {
            std::size_t j = line.find(u' ', i);
            if (j == StringView::npos) j = line.size();
            const int ww = cv->TextWidth(line.substr(i, j - i));
            if (lineW >= 0 && lineW + space + ww <= WrapWidth) {
                lineW += space + ww;
            } else {
                if (lineW >= 0) size.X = std::max(size.X, lineW);
                lineW = ww;
                ++lines;
            }
            i = j + 1;
        }
        size.X = std::max(size.X, std::max(lineW, 0));
    });
    size.Y = std::max(lines, 1) * lineHeight;
    return size;
}

// ---- columns ---------------------------------------------------------------------------------

void TExtStringGrid::SizeColToContent(int ACol, bool GrowOnly) {
    if (ACol < 0 || ACol >= ColCount()) return;
    int r0 = 0, r1 = RowCount() - 1;
    if (FColumnSize->Rows == arNormal) {
        r0 = FixedRows();
        r1 = RowCount() - FixedFooters - 1;
    } else if (FColumnSize->Rows == arFixed) {
        r1 = FixedRows() - 1;
    }
    const int c = RealColIndex(ACol);
    int widest = 0;
    for (int r = r0; r <= r1; ++r) {
        if (IsXMergedCell(c, r)) continue;
        const TPoint g = GetCellGraphicSize(c, r);
        const TCellGraphic* gr = g.X > 0 ? GetCellGraphic(c, r) : nullptr;
        int w = gr && gr->CellHAlign == haFull ? g.X - 2 * GridLineWidth() - XYOffset().X - 2
                                                : g.X + MeasureCellContent(ACol, r).X;
        if (FControlLook->DropDownAlwaysVisible && HasComboBox(c, r)) w += 16;
        widest = std::max(widest, w);
    }
    int width = widest + TotalXOffset() + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(ACol) >= width) return;
    UpdateAutoColumnSize(ACol, width);
    SetColWidths(ACol, ClampToLimits(width, MinColWidth, MaxColWidth));
}

void TExtStringGrid::AutoSizeCol(int ACol, int Padding) {
    if (ACol < 0 || ACol >= ColCount()) return;
    SizeColToContent(ACol, SizeGrowOnly);
    if (Padding != 0) SetColWidths(ACol, ClampToLimits(ColWidths(ACol) + Padding, MinColWidth, MaxColWidth));
}

void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding) {
    const int c0 = DoFixedCols ? 0 : FixedCols();
    const int c1 = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
    for (int c = c0; c <= c1; ++c) AutoSizeCol(c, Padding);
}

// ---- rows ------------------------------------------------------------------------------------

void TExtStringGrid::SizeRowToContent(int ARow, bool GrowOnly) {
    if (ARow < 0 || ARow >= RowCount()) return;
    int tallest = 0;
    for (int d = 0; d < ColCount(); ++d) {
        const int c = RealColIndex(d);
        if (IsYMergedCell(c, ARow) && !IsBaseCell(c, ARow)) continue;
        if (FIgnoreColumns->HasValue(c)) continue;
        const TCellGraphic* gr = GetCellGraphic(c, ARow);
        const TCellType kind = gr ? gr->CellType : ctEmpty;
        if (kind == ctCheckBox || kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRadioButton) {
            tallest = std::max(tallest, DefaultRowHeight());
            continue;
        }
        const bool hasText = !Store().CellView(c, ARow).empty();
        int textH = MeasureCellContent(d, ARow, WordWrap() ? ColWidths(d) - TotalXOffset() : 0).Y;
        int graphicH = gr ? GetCellGraphicSize(c, ARow).Y : 0;
        if (gr && gr->CellVAlign == vaFull) graphicH = hasText ? 0 : DefaultRowHeight();
        int h;
        if (gr && (gr->CellVAlign == vaUnderText || gr->CellVAlign == vaAboveText))
            h = textH + graphicH;
        else
            h = std::max(textH, graphicH);
        tallest = std::max(tallest, h);
    }
    int height = tallest + TotalYOffset() + 2 * GridLineWidth() + (XYOffsetTopLeftOnly ? 2 : 0);
    height = ClampToLimits(height, MinRowHeight, MaxRowHeight);
    if (GrowOnly && RowHeights(ARow) >= height) return;
    SetRowHeights(ARow, height);
}

void TExtStringGrid::AutoSizeRow(int ARow, int Padding) {
    if (ARow < 0 || ARow >= RowCount()) return;
    SizeRowToContent(ARow, SizeGrowOnly);
    if (Padding != 0) SetRowHeights(ARow, ClampToLimits(RowHeights(ARow) + Padding, MinRowHeight, MaxRowHeight));
}

void TExtStringGrid::AutoSizeRows(bool DoFixedRows, int Padding) {
    if (RowCount() == 0) return;
    const int r0 = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, r0);
    for (int r = r0; r < RowCount(); ++r) {
        ExportNotification(esExportNewRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, Padding);
            continue;
        }
        int lines = 1;
        if (MultilineCells)
            for (int d = 0; d < ColCount(); ++d) lines = std::max(lines, LinesInCell(RealColIndex(d), r));
        PrepareMeasureFont(std::min(FixedCols(), ColCount() - 1), r);
        const int h = Canvas()->TextHeight(u"gh");
        SetRowHeights(r, ClampToLimits(Padding + lines * (h + h / 8), MinRowHeight, MaxRowHeight));
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
    BeginUpdate();
    const int c0 = DoFixedCells ? 0 : FixedCols();
    const int r0 = DoFixedCells ? 0 : FixedRows();
    for (int d = c0; d < ColCount(); ++d) {
        const int c = RealColIndex(d);
        int widest = SizeGrowOnly ? ColWidths(d) : 0;
        bool any = false;
        for (int r = r0; r < RowCount(); ++r) {
            const TPoint text = MeasureCellContent(d, r);
            const TPoint g = GetCellGraphicSize(c, r);
            const int w = text.X + g.X + PaddingX + XYOffset().X;
            const int h = text.Y + g.Y + PaddingY + XYOffset().Y;
            if (!IsXMergedCell(c, r) && w > widest) {
                widest = w;
                any = true;
            }
            if (!IsYMergedCell(c, r) && h > RowHeights(r))
                SetRowHeights(r, ClampToLimits(h, MinRowHeight, MaxRowHeight));
        }
        if (any) SetColWidths(d, ClampToLimits(widest, MinColWidth, MaxColWidth));
    }
    EndUpdate();
}

void TExtStringGrid::AutoFitColumns(bool DoFixedCells) {
    const int cols = ColCount();
    if (cols == 0) return;
    int rowsHeight = 0;
    for (int r = 0; r < RowCount(); ++r) rowsHeight += RowHeights(r);
    const bool vertBar = ScrollBars == plat::ssBoth || ScrollBars == plat::ssVertical;
    const int scroll = vertBar && rowsHeight > ClientHeight() ? plat::GetSystemMetrics(plat::SM_CXVSCROLL) : 0;
    const int border = BorderStyle() == plat::bsSingle ? (Ctl3D() ? 4 : 2) : 0;
    if (cols < 2) {
        SetColWidths(0, Width() - scroll - 5);
        return;
    }
    int c0 = 0, c1 = cols - 1, available = Width();
    if (!DoFixedCells) {
        c0 = FixedCols();
        c1 = cols - FixedRightCols - 1;
        for (int c = 0; c < cols; ++c)
            if (c < c0 || c > c1) available -= ColWidths(c);
    }
    if (c1 < c0) return;
    int lines = 0;
    if (Options().Contains(plat::goVertLine)) lines = GridLineWidth() * (cols - FixedCols() - FixedRightCols);
    if (Options().Contains(plat::goFixedVertLine) && DoFixedCells) lines += FixedCols() + FixedRightCols;
    int sum = 0;
    for (int c = c0; c <= c1; ++c) sum += ColWidths(c);
    const int target = available - scroll - border;
    if (sum == target || sum <= 0) return;
    const double f = static_cast<double>(target - lines) / sum;
    int t = 0;
    for (int c = c0; c <= c1; ++c) t += RoundEven(f * ColWidths(c));
    int newSum = 0;
    std::vector<int> widths;
    for (int c = c0; c <= c1; ++c) {
        widths.push_back(RoundEven(static_cast<double>(ColWidths(c)) * t / sum));
        newSum += widths.back();
    }
    int left = target - newSum;
    const int n = c1 - c0 + 1;
    if (left > n && n >= 2) {
        const int share = left / n;
        for (int& w : widths) w += share;
        left -= share * n;
    }
    if (left > 0) {
        const auto widest = std::max_element(widths.begin(), widths.end());
        *widest += left;
    }
    for (int c = c0; c <= c1; ++c) SetColWidths(c, widths[static_cast<std::size_t>(c - c0)]);
}

void TExtStringGrid::SizeToCols() {
    int w = 0;
    for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
    SetClientWidth(w);
}

void TExtStringGrid::SizeToRows() {
    int h = 0;
    for (int r = 0; r < RowCount(); ++r) h += RowHeights(r);
    SetClientHeight(h);
}

void TExtStringGrid::SizeToCells() {
    const plat::TScrollStyle bars = ScrollBars;
    ScrollBars = plat::ssNone;
    SizeToCols();
    SizeToRows();
    ScrollBars = bars;
}

} // namespace grid
