#pragma once

#include "platform/win32.h"

namespace orvex_platform {

void release_capture_of(HWND wnd);

// Input as a display delivers it, routed as Windows routes it. A pointer event
// goes to the window holding the capture, else to the window under the
// pointer, in that window's client co-ordinates (each packed as 16 bits, so
// points left of or above the client area wrap); keys go to the foreground
// window.
void route_mouse(UINT msg, POINT screen, WPARAM keys);
void route_key(UINT msg, WPARAM vk, LPARAM lparam);

}  // namespace orvex_platform
