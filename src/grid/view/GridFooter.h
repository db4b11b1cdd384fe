#pragma once
// The panel of the floating footer, docked at the grid's bottom.
#include "ExtGrid.h"
#include "plat/ExtCtrls.h"

namespace grid {

class TFooterPanel : public plat::TCustomPanel {
public:
    explicit TFooterPanel(TExtStringGrid* AGrid);
    String ClassName() const override { return u"TFooterPanel"; }
    // The column under x in the panel (fixed columns, then from the grid's left column); -1
    // beyond the last column.
    int ColumnAt(int X) const;

protected:
    void Paint() override;

private:
    // The width of the column area: the fixed columns and the columns from the left column on.
    int ColumnAreaWidth() const;
    int PaintFixedLastRow(plat::TCanvas* c);
    int PaintPreview(plat::TCanvas* c, bool Template);
    TExtStringGrid* FGrid;
};

} // namespace grid
