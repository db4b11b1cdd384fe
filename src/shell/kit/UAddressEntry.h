#pragma once
// Dotted entry in the byte fields of an address row (every row of every window: the
// general parameters, the update window, and any row added later goes through here).
//
// - A typed "." never reaches a field: in a field with a next field that can take the focus,
//   the focus moves there and the next field's whole text is selected, so that typing
//   192.168.1.50 over 10.0.0.1 gives 192 | 168 | 1 | 50; elsewhere the dot is dropped and
//   the focus stays.
// - A dot that arrives another way (a paste) is taken out of the field's text at once.
#include "plat/StdCtrls.h"

// Makes Field a byte field of an address row: KeyPress (the window's key handler, which
// calls Address_Dot_Key for the dot) handles its keys, and pasted dots are taken out.
// A change handler set before stays in force.
void Attach_Address_Field(plat::TEdit* Field, plat::TKeyPressEvent KeyPress);

// The dot key of a byte field: moves on to Next (null for the last field) when it can take
// the focus, with its text selected, and clears Key. False, Key untouched, for other keys.
bool Address_Dot_Key(char16_t& Key, plat::TEdit* Next);
