#pragma once
// The grid's key steps in front of the framework's navigation (WM_KEYDOWN on the grid).
#include "ExtGrid.h"

namespace grid {

// Runs the steps that depend on the navigation settings: MoveScrollOnly scrolls without
// moving the current cell; HomeEndKey heFirstLastCell and heFirstLastRow move Home and End
// to the first or last cell or row; CursorAdvance caSnake and caLoop wrap the arrows at the
// edges; AppendOnArrowDown appends a row below the last normal row before Down moves into
// it. True when the key was consumed (the framework then sees nothing of it).
bool NavigationKeyDown(TExtStringGrid& Grid, plat::TMessage& Message);

} // namespace grid
