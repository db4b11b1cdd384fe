// Colour styles of the drop-down edit: component styles, tones, selection colour styles and
// the painting of a selected item.
#include "ExtDropDown.h"

namespace dropdown {

void TExtCustomDropDown::SetComponentStyle(grid::TExtStyle AStyle) { extStyle_ = AStyle; }

void TExtCustomDropDown::SetColorTones(const grid::TColorTones&) {}

void TExtCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) { selectionColorStyle_ = Value; }

void TExtCustomDropDown::DrawSelectionBackground(plat::TCanvas* Canvas, TRect Rect, int, TColor)
{
    if (!Canvas) return;
    Canvas->Brush()->SetColor(selectionColor_);
    Canvas->FillRect(Rect);
}

} // namespace dropdown
