#pragma once
// Options of the combo box beyond the platform's own set.
//
// Right-aligned drop-down: the opened list lines its right edge up with the box's right
// edge, so a list wider than the box (DroppedWidth) opens towards the left; it still stays
// on the form. Off for every box until set; user-interface thread only.
namespace plat {

class TCustomComboBox;

void SetDropDownRightAligned(TCustomComboBox* Box, bool Value);
bool DropDownRightAligned(const TCustomComboBox* Box);

} // namespace plat
