#pragma once
// System services of the input pipelines that controls call beside the window framework:
// the system beep, the application's help call, the key-to-character translation with Ctrl
// released and the wheel setting. Beep and help go to replaceable handlers, so that tests
// record them (SetBeepHandler, SetHelpHandler); by default the beep sounds through the
// window system and the help call has no help viewer to open.
#include <cstdint>
#include <functional>

#include "plat/Messages.h"

namespace plat {

void MessageBeep(UINT Type);
using TBeepHandler = std::function<void(UINT Type)>;
// Null restores the default.
void SetBeepHandler(TBeepHandler Handler);

// Opens the help topic of a context (the application's help call); false for context 0.
bool ApplicationHelpContext(int Context);
using THelpHandler = std::function<void(int Context)>;
void SetHelpHandler(THelpHandler Handler);

// The character a virtual key gives with the current keyboard state but Ctrl released
// (0 when it gives none): the key being processed answers with its own text, other keys
// with the US layout and the Shift state.
char16_t KeyCharWithoutCtrl(WPARAM VirtualKey);

// Lines per wheel notch (3; -1 asks for whole screens). Overridable.
int WheelScrollLines();
void SetWheelScrollLines(int Value);

// Tooltip effects of the system: whether tooltips animate at all, and whether an animated
// tooltip fades in (else it slides). Both off; overridable.
bool TooltipAnimation();
void SetTooltipAnimation(bool Value);
bool TooltipFade();
void SetTooltipFade(bool Value);

} // namespace plat
