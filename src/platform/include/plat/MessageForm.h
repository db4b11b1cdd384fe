#pragma once
// The layer's own message form: the kind's icon at the left, the text beside it (wrapped at
// a third of the screen width), one button per answer sized to its caption, centred below.
// The first button is the default (Enter); Escape answers Cancel, or No when there is no
// Cancel, or OK when OK is the only button. The caption is the kind's ("Error", "Warning",
// "Information", "Confirm").
//
// UseMessageForms() puts a responder in front of the current one that shows message boxes
// with this form (modally, so the current responder's modal handling applies) and passes
// file dialogs, menus and modal forms on unchanged; a program calls it once at start-up.
#include <memory>

#include "plat/Dialogs.h"
#include "plat/Forms.h"

namespace plat {

std::unique_ptr<TForm> CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// The same with an explicit caption (empty = the kind's).
std::unique_ptr<TForm> CreateMessageDialog(const String& Caption, const String& Msg, TMsgDlgType DlgType,
                                           TMsgDlgButtons Buttons);

void UseMessageForms();

} // namespace plat
