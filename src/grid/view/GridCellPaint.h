#pragma once
// The state the steps of one cell's painting share (GridPaint.cpp, GridText.cpp,
// GridGraphics.cpp).
#include "ExtGrid.h"

namespace grid {

struct TExtStringGrid::TCellPaint {
    plat::TCanvas* C;
    int ACol, ARow, RCol;
    plat::TRect Rect;
    plat::TGridDrawState State;
    TCellVisual V;
    TColor SavedBrush = plat::clNone, SavedFont = plat::clNone;
    bool Fixed = false;
    // The cell graphic and its placement (GetCellGraphicPlacement).
    TCellGraphic* G = nullptr;
    TCellVAlign GVA = vaTop;
    TCellHAlign GHA = haLeft;
    bool TextToo = true;
    int GW = 0, GH = 0;
    // Width of the drawn text + 2, for graphics placed before or after the text.
    int TextWidth = 0;
    // The cell scroll bar's position (text moves up by it), the row indicator's width, and
    // whether the filter glyph takes the cell's right 16 pixels.
    int ScrollOffset = 0, IndicatorWidth = 0;
    bool FilterGlyph = false;
};

} // namespace grid
