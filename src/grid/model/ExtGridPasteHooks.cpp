// The overridable steps of a clipboard paste: storing one value and what follows a paste.
#include <algorithm>

#include "BaseGridUndo.h"
#include "ExtGrid.h"

namespace grid {

void TExtStringGrid::PasteCellText(int ACol, int ARow, const String& Value) {
    const int real = RealColIndex(ACol);
    if (TExtGridUndoRedo* undo = UndoRedo()) undo->RegisterChange(real, ARow, Value, Cells(real, ARow));
    if (HasCheckBox(real, ARow))
        ChangeCheckBoxState(real, ARow, Value == CheckTrue);
    else
        SetCells(real, ARow, Value);
    if (real != ACol) RepaintCell(ACol, ARow);
}

void TExtStringGrid::PasteDone(const plat::TPoint& ClipSource, const plat::TRect& Target, TClipOperation LastOp) {
    (void)ClipSource;
    (void)LastOp;
    if (!ShowModified()->Enabled()) return;
    for (int r = std::max(0, Target.Top); r <= Target.Bottom && r < RowCount(); ++r) SetRowModified(r, true);
}

} // namespace grid
