// Automatic column sizing of TExtColumnGrid: the column's own limits.
#include "ExtCGrid.h"
#include "ExtUtil.h"

namespace grid {

void TExtColumnGrid::UpdateAutoColumnSize(int ACol, int& AWidth) {
    const int c = RealColIndex(ACol);
    if (c >= 0 && c < Columns()->Count()) {
        const TGridColumnItem* item = Columns()->Items(c);
        AWidth = ClampToLimits(AWidth, item->AutoMinSize, item->AutoMaxSize);
    }
    TExtStringGrid::UpdateAutoColumnSize(ACol, AWidth);
}

} // namespace grid
