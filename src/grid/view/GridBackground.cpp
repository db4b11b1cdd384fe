// The picture or gradient under the cells: the background settings, each cell's share of it
// (fixed place, tiles or a slice of the control-wide gradient), the area outside the cells,
// and the repaints a fixed picture needs when the grid scrolls.
#include <algorithm>

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "GridCellPaint.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

// ---- settings --------------------------------------------------------------------------------

TBackGround::TBackGround(TExtStringGrid* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<plat::TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Changed() {
    if (FGrid) FGrid->Invalidate();
}

void TBackGround::Assign(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TBackGround*>(Source);
    if (!s || s == this) return;
    FTop = s->FTop;
    FLeft = s->FLeft;
    FDisplay = s->FDisplay;
    FCells = s->FCells;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FBitmap->Assign(*s->FBitmap);
    Changed();
}

void TBackGround::SetTop(int Value) {
    FTop = Value;
    Changed();
}

void TBackGround::SetLeft(int Value) {
    FLeft = Value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value) {
    FDisplay = Value;
    Changed();
}

void TBackGround::SetCells(TBackGroundCells Value) {
    FCells = Value;
    Changed();
}

void TBackGround::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TBackGround::SetColorTo(TColor Value) {
    FColorTo = Value;
    Changed();
}

void TBackGround::SetBitmap(const plat::TBitmap* Value) {
    if (Value)
        FBitmap->Assign(*Value);
    else
        FBitmap = std::make_unique<plat::TBitmap>();
    Changed();
}

void TExtStringGrid::SetBackGround(const TBackGround* Value) { FBackGround->Assign(Value); }

// ---- drawing helpers -------------------------------------------------------------------------

namespace {

bool IsGradient(TBackGroundDisplay d) { return d == bdGradientHorz || d == bdGradientVert; }

bool CoversCell(TBackGroundCells cells, bool fixed) {
    return cells == bcAll || (cells == bcFixed) == fixed;
}

// Copies the part of Bmp placed with its top-left at Origin that falls inside Clip.
void DrawClipped(TCanvas* c, const plat::TBitmap& bmp, TPoint origin, const TRect& clip) {
    const TRect placed{origin.X, origin.Y, origin.X + bmp.Width(), origin.Y + bmp.Height()};
    const TRect part{std::max(placed.Left, clip.Left), std::max(placed.Top, clip.Top),
                     std::min(placed.Right, clip.Right), std::min(placed.Bottom, clip.Bottom)};
    if (part.Right <= part.Left || part.Bottom <= part.Top) return;
    plat::TBitmap& b = const_cast<plat::TBitmap&>(bmp);
    c->CopyRect(part, b.Canvas(),
                {part.Left - origin.X, part.Top - origin.Y, part.Right - origin.X, part.Bottom - origin.Y});
}

// Tiles of Bmp over R, row by row from one pixel above and left of R, the first with its
// pixel (PhaseX, PhaseY) there; the tiles are cut at R's edges.
void DrawTiles(TCanvas* c, const plat::TBitmap& bmp, const TRect& R, int PhaseX, int PhaseY) {
    const int w = bmp.Width(), h = bmp.Height();
    if (w <= 0 || h <= 0) return;
    for (int y = R.Top - 1 - PhaseY; y < R.Bottom; y += h)
        for (int x = R.Left - 1 - PhaseX; x < R.Right; x += w) DrawClipped(c, bmp, {x, y}, R);
}

} // namespace

// Steps 7 and 8 of the text layer: the background picture or the slice of the gradient that
// falls into this cell.
void TExtStringGrid::PaintCellBackGround(TCellPaint& P, bool Selected) {
    const TBackGround* bg = FBackGround.get();
    const bool covered = CoversCell(bg->Cells(), P.Fixed);
    if (!covered) return;
    const bool ownColor = Colors(P.RCol, P.ARow) != plat::clNone;
    const int g = GridLineWidth();
    TCanvas* c = P.C;
    const plat::TBitmap* bmp = bg->Bitmap();
    if (!bmp->Empty() && !ownColor && (!Selected || !ShowSelection())) {
        const TRect r{P.Rect.Left - (g - 1), P.Rect.Top - (g - 1), P.Rect.Right, P.Rect.Bottom};
        if (bg->Display() == bdTile) {
            // The tiles belong to the content: their phase is the distance from the first
            // tiled column and row, so they scroll with the cells.
            const int firstCol = bg->Cells() == bcNormal ? FixedCols() : 0;
            const int firstRow = bg->Cells() == bcNormal ? FixedRows() : 0;
            long long dx = 0, dy = 0;
            for (int i = firstCol; i < P.ACol; ++i) dx += ColWidths(i);
            for (int i = firstRow; i < P.ARow; ++i) dy += RowHeights(i);
            DrawTiles(c, *bmp, r, static_cast<int>(dx % bmp->Width()), static_cast<int>(dy % bmp->Height()));
        } else {
            DrawClipped(c, *bmp, {bg->Left(), bg->Top()}, r);
        }
    }
    if (!IsGradient(bg->Display())) return;
    const TCellGraphic* cg = GetCellGraphic(P.RCol, P.ARow);
    const bool control = cg && (cg->CellType == ctCheckBox || cg->CellType == ctDataCheckBox ||
                                cg->CellType == ctRadio || cg->CellType == ctButton || cg->CellType == ctRadioButton);
    const bool focused = P.State.Contains(plat::gdFocused);
    const bool selectionShows =
        ShowSelection() && !((!Selected || focused) && (!focused || !Options().Contains(plat::goDrawFocusSelected)));
    if ((ownColor && !control) || selectionShows) return;
    const TRect r{P.Rect.Left - 1, P.Rect.Top - g, P.Rect.Right, P.Rect.Bottom + g - 1};
    const bool horz = bg->Display() == bdGradientHorz;
    const int extent = horz ? Width() : Height();
    const int from = horz ? r.Left : r.Top, to = horz ? r.Right : r.Bottom;
    const TColor c1 = InterpolateColor(bg->Color(), bg->ColorTo(), 0, std::clamp(from, 0, extent), extent);
    const TColor c2 = InterpolateColor(bg->Color(), bg->ColorTo(), 0, std::clamp(to, 0, extent), extent);
    const TColor saved = c->Brush()->Color();
    DrawGradientRect(c, c1, c2, horz, r, 128);
    c->Brush()->SetColor(saved);
}

void TExtStringGrid::DrawBackgroundBitmapRect(TRect R) {
    const plat::TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    const TRect client = ClientRect();
    const TRect clip{std::max(R.Left, client.Left), std::max(R.Top, client.Top), std::min(R.Right, client.Right),
                     std::min(R.Bottom, client.Bottom)};
    DrawClipped(Canvas(), *bmp, {FBackGround->Left(), FBackGround->Top()}, clip);
}

void TExtStringGrid::DrawBackgroundTiledRect(TRect R) {
    const plat::TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty()) return;
    DrawTiles(Canvas(), *bmp, R, 0, 0);
}

// The area right of the last column and below the last row, when the background has a
// picture or a gradient.
void TExtStringGrid::PaintBackgroundOutsideCells() {
    const TBackGround* bg = FBackGround.get();
    const plat::TBitmap* bmp = bg->Bitmap();
    if (RowsHiddenBelow() && ColsHiddenRight()) return;
    if (IsGradient(bg->Display()) && bg->ColorTo() == plat::clNone) return;
    if (bmp->Empty() && !IsGradient(bg->Display())) return;
    TRect client = ClientRect();
    if (FSearchFooter->Visible()) client.Bottom -= 32;
    if (FFooterPanel && FFooterPanel->Visible()) client.Bottom -= FFooterPanel->Height();
    const int g = GridLineWidth();
    TRect areas[2];
    int n = 0;
    // Only a last column (row) in view gives an area: CellRect of a cell out of view says
    // nothing about where the cells end.
    if (ColCount() - 1 < LeftCol() + VisibleColCount()) {
        const TRect lastCol = CellRect(ColCount() - 1, TopRow());
        if (lastCol.Right > lastCol.Left && lastCol.Right < client.Right)
            areas[n++] = {lastCol.Right + g, client.Top, client.Right, client.Bottom};
    }
    if (RowCount() - 1 < TopRow() + VisibleRowCount()) {
        const TRect lastRow = CellRect(LeftCol(), RowCount() - 1);
        if (lastRow.Bottom > lastRow.Top && lastRow.Bottom < client.Bottom)
            areas[n++] = {client.Left, lastRow.Bottom + g, client.Right, client.Bottom};
    }
    TCanvas* c = Canvas();
    const TColor saved = c->Brush()->Color();
    for (int i = 0; i < n; ++i) {
        const int dc = c->SaveDC();
        c->IntersectClipRect(areas[i].Left, areas[i].Top, areas[i].Right, areas[i].Bottom);
        if (bmp->Empty()) {
            DrawGradientRect(c, bg->Color(), bg->ColorTo(), bg->Display() == bdGradientHorz, client, 128);
        } else if (bg->Display() != bdTile) {
            DrawBackgroundBitmapRect(client);
        } else if (bg->Cells() != bcFixed) {
            TPoint origin{0, 0};
            if (bg->Cells() == bcNormal) {
                const TRect first = CellRect(LeftCol(), TopRow());
                origin = {first.Left, first.Top};
            }
            origin.X += XYOffset().X;
            origin.Y += XYOffset().Y;
            auto phase = [](int d, int n) { return (d % n + n) % n; };
            DrawTiles(c, *bmp, client, phase(client.Left - 1 - origin.X, bmp->Width()),
                      phase(client.Top - 1 - origin.Y, bmp->Height()));
        }
        c->RestoreDC(dc);
    }
    c->Brush()->SetColor(saved);
}

// ---- scrolling -------------------------------------------------------------------------------

plat::TGridRect TExtStringGrid::BackGroundCoveredCells() {
    const plat::TBitmap* bmp = FBackGround->Bitmap();
    if (bmp->Empty() || FBackGround->Display() != bdFixed) return {-1, -1, -1, -1};
    const int l = FBackGround->Left(), t = FBackGround->Top();
    const plat::TGridCoord a = MouseCoord(std::max(0, l), std::max(0, t));
    const plat::TGridCoord b = MouseCoord(std::min(ClientWidth() - 1, l + bmp->Width() - 1),
                                          std::min(ClientHeight() - 1, t + bmp->Height() - 1));
    return {a.X, a.Y, b.X < 0 ? ColCount() - 1 : b.X, b.Y < 0 ? RowCount() - 1 : b.Y};
}

// After a scroll: a fixed picture stays where it is, so the cells it covered before and
// those it covers now are repainted; tiles and gradients repaint the grid.
void TExtStringGrid::BackGroundScrolled() {
    const TBackGround* bg = FBackGround.get();
    const bool picture = !bg->Bitmap()->Empty();
    if (picture && bg->Display() == bdFixed) {
        const plat::TGridRect before = FBackGroundCovered;
        const plat::TGridRect now = BackGroundCoveredCells();
        if (before.Left < 0 || before.Top < 0)
            Invalidate();
        else if (!(before == now))
            RepaintRect({before.Left, before.Top, before.Right, before.Bottom});
        if (now.Left >= 0 && now.Top >= 0) RepaintRect({now.Left, now.Top, now.Right, now.Bottom});
        FBackGroundCovered = now;
    } else if ((picture && bg->Display() == bdTile) || (IsGradient(bg->Display()) && bg->ColorTo() != plat::clNone)) {
        Invalidate();
    }
}

} // namespace grid
