#pragma once
// The string grid's cell painter: decides a cell's colours, gradients, font and alignment
// and paints fixed and normal cells in the grid's look. InstallCellPainter gives a grid its
// painter; the painter also carries the look settings and the mouse state (hovered and
// pressed fixed cell) it paints from, which the mouse handling keeps up to date.
#include "ExtGrid.h"

namespace grid {

enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };

struct TShowModified {
    bool Enabled = false;
    TColor Color = plat::clRed;
};

class TGridPainter : public TCellPainter {
public:
    // ---- looks ----
    bool Flat = false;
    bool HideFocusRect = false;
    int ZoomFactor = 0;
    plat::TAlignment DefaultAlignment = plat::taLeftJustify;
    bool AutoNumAlign = false;  // numbers right-align
    bool NoDefaultDraw = false;  // with OnDrawCell assigned, leave the text to the handler
    THoverFixedCells HoverFixedCells = hfNone;
    TColor ZODGradientHoverFrom = 0xF2E4D7, ZODGradientHoverTo = 0xE5C9B2;
    TColor ZODGradientHoverMirrorFrom = plat::clNone, ZODGradientHoverMirrorTo = plat::clNone;
    TColor ZODGradientHoverBorder = 0xC0A080;
    TColor ZODGradientDownFrom = 0xE5C9B2, ZODGradientDownTo = 0xD8AE8A;
    TColor ZODGradientDownMirrorFrom = plat::clNone, ZODGradientDownMirrorTo = plat::clNone;
    TColor ZODGradientDownBorder = 0xA07850;
    TColor SelectionTextColor = plat::clNone;
    bool SelectionColorMixer = false;
    TShowModified ShowModified;

    // ---- mouse state ----
    int HoverFixedX = -1, HoverFixedY = -1;
    bool MouseDownMove = false;  // a mouse button is held down on a fixed cell
    bool MouseDown = false;      // a mouse button is held down in the grid

    // ---- painting ----
    void GetVisualProperties(TExtStringGrid& Grid, int ACol, int ARow, plat::TGridDrawState& AState,
                             plat::TBrush* ABrush, plat::TFont* AFont, TColor& ColorTo, TColor& MirrorColor,
                             TColor& MirrorColorTo, TCellGradientDirection& GradientDirection) override;
    // The full form: Print takes the print fonts and colour hook, Select applies the
    // selection colours, Remap maps a display column to its real column.
    void GetVisualProperties(TExtStringGrid& Grid, int ACol, int ARow, plat::TGridDrawState& AState, bool Print,
                             bool Select, bool Remap, plat::TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                             TColor& AMirrorColorTo, plat::TFont* AFont, plat::TAlignment& HA, TVAlignment& VA,
                             bool& WW, TCellGradientDirection& GD);
    void GetCellHVAlignment(TExtStringGrid& Grid, int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA);
    void DrawGridCell(TExtStringGrid& Grid, plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect,
                      plat::TGridDrawState AState) override;
    void DrawCellBorders(TExtStringGrid& Grid, plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect R);
};

// Gives the grid a painter of its own and returns it.
TGridPainter* InstallCellPainter(TExtStringGrid& Grid);
// The grid's painter, null when it has none of this kind.
TGridPainter* GridPainter(const TExtStringGrid& Grid);

// The selection colour over a cell colour: with the mixer on, each RGB component is
// Factor percent of the selection and the rest of the cell colour.
TColor SelectionMixColor(bool Mixer, int Factor, TColor Selection, TColor Cell);

} // namespace grid
