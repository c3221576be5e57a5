#pragma once

#include "platform/win32.h"

namespace orvex_platform {

void release_capture_of(HWND wnd);

// Where input goes, as Windows routes it. Mouse input goes to the window
// holding the capture, else to the visible window under the point (null:
// none of the program's); the queue asks as the program reads each mouse
// message (post_mouse_input, message_queue.h). `top` is the top-level
// window a display found the pointer over when the input came, null where
// it does not know: it knows how the program's windows lie on each other,
// which the core does not keep, and stands for the window under the point
// while the point is still on it. Keys go to the foreground window.
HWND mouse_target(POINT screen, HWND top);
void route_key(UINT msg, WPARAM vk, LPARAM lparam);

}  // namespace orvex_platform
