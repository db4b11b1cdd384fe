#pragma once
// The grid's key steps in front of the framework's navigation (WM_KEYDOWN on the grid).
#include "ExtGrid.h"

namespace grid {

// The grid's WM_KEYDOWN and WM_CHAR. Before the framework's navigation: MoveScrollOnly scrolls
// without moving the current cell; Enter and F2 switch editing on (EditOnDblClickOnly,
// RangeSelectAndEdit) or stop at cells that cannot be edited; HomeEndKey heFirstLastCell and
// heFirstLastRow; CursorAdvance caSnake and caLoop wrap the arrows; AppendOnArrowDown appends
// a row below the last normal row. Then the framework (OnKeyDown, KeyDown), and after it the
// clipboard shortcuts (AllowClipboardShortCuts, each behind its OnClipboard event), Insert and
// Delete of rows (AllowInsertRow, AllowDeleteRow), Ctrl+A, the disjunct row and column marks
// and one SelectionChanged per changed selection. WM_CHAR: the clipboard control characters
// are dropped, and with ExcelStyleDecimalSeparator the keypad's "." becomes the locale's
// decimal separator. True when the message needs no further handling.
bool NavigationKeyDown(TExtStringGrid& Grid, plat::TMessage& Message);

} // namespace grid
