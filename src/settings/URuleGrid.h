#pragma once
// Moving rule tables between the access editors' column grids and TCellRows, and filling
// their drop-down lists. Real column indexes throughout (hidden columns included).
#include <initializer_list>
#include <vector>

#include "URuleFiles.h"

namespace grid {
class TExtColumnGrid;
}

// The cells of every data row and real column 1 .. cols - 1 (column 0 left empty).
TCellRows Grid_Rows(grid::TExtColumnGrid* g, int cols);
// Every data row from `rows`: the row number in column 0, the cells in the others; one
// repaint at the end.
void Put_Rows(grid::TExtColumnGrid* g, const TCellRows& rows);
// Rows as a show clears them: Enable (column 1) "Y", every other cell empty.
TCellRows Cleared_Rows(int rows, int cols);
// The drop-down items of a real column.
void Set_Combo_Items(grid::TExtColumnGrid* g, int col, std::initializer_list<const char16_t*> items);
void Set_Combo_Items(grid::TExtColumnGrid* g, int col, const std::vector<plat::String>& items);
// "0" .. count - 1.
void Set_Number_Items(grid::TExtColumnGrid* g, int col, int count);
