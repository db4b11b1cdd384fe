#pragma once
// What a window's own scroll bar looks like right now: its rectangle on the screen, the
// thumb's extent along it and the states of the bar and its parts.
#include <cstdint>

#include "plat/Messages.h"
#include "plat/Types.h"

namespace plat {

// The bars of a window as objects of GetScrollBarInfo.
constexpr std::int32_t OBJID_VSCROLL = -5;
constexpr std::int32_t OBJID_HSCROLL = -6;

// State flags of the bar and its parts.
constexpr std::uint32_t STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr std::uint32_t STATE_SYSTEM_PRESSED = 0x00000008;
constexpr std::uint32_t STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr std::uint32_t STATE_SYSTEM_OFFSCREEN = 0x00010000;

struct TScrollBarInfo {
    std::uint32_t cbSize = sizeof(TScrollBarInfo);
    TRect rcScrollBar{};        // the whole bar, screen coordinates (empty when hidden)
    int dxyLineButton = 0;      // length of an arrow button
    int xyThumbTop = 0;         // thumb start, pixels from the bar's top (left) edge
    int xyThumbBottom = 0;      // thumb end, the same; equal to the start without a thumb
    int reserved = 0;
    // 0 the bar, 1 the up (left) arrow, 2 the page area before the thumb, 3 the thumb, 4 the
    // page area after it, 5 the down (right) arrow.
    std::uint32_t rgstate[6] = {};
};

// Fills Info for the window's vertical or horizontal bar. The bar is STATE_SYSTEM_INVISIBLE
// while hidden and STATE_SYSTEM_UNAVAILABLE while disabled or when its range does not
// scroll; a part pressed by the pointer carries STATE_SYSTEM_PRESSED. False for a handle that
// is no window or another object.
bool GetScrollBarInfo(HWND Handle, std::int32_t IdObject, TScrollBarInfo& Info);

} // namespace plat
