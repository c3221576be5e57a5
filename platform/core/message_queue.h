#pragma once

#include "platform/win32.h"

namespace orvex_platform {

// Posts a message that came from the display for a window it names (keys,
// the wheel, close requests).
void post_input_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
// Queues mouse input as the display delivered it: a button message or
// WM_MOUSEMOVE, the point on the screen, the MK_ flags, and the top-level
// window the display found the pointer over (null where it cannot tell).
// As on Windows, the window it goes to is decided as the program reads it
// (mouse_target, input.h), with the point in that window's client
// co-ordinates; a move takes the place of a move queued just before it.
void post_mouse_input(UINT msg, POINT screen, WPARAM keys, HWND top = nullptr);
// Drops what is queued for a window that goes away.
void purge_messages_for(HWND wnd);
std::size_t queued_message_count();

}  // namespace orvex_platform
