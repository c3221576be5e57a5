#pragma once

#include "platform/win32.h"

namespace orvex_platform {

struct Window;
HDC new_window_dc(HWND wnd);
Window* window_of_dc(HDC dc);
// A window's contexts go with the window.
void release_window_dcs(HWND wnd);

}  // namespace orvex_platform
