// The IMAGEBUTTON window class: a push button drawn from three bitmaps.
#pragma once

#include "platform/win32.h"

namespace orvex {

inline constexpr const char* SZHOVERCLASS = "IMAGEBUTTON";

LRESULT CALLBACK HOVERBUTTONHANDLER(HWND WND, UINT IMSG, WPARAM wparam, LPARAM lparam);

}  // namespace orvex
