// Cursors and icons for X (x11_cursor.cpp).
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/win32.h"

namespace orvex_x11 {

// The X cursor for a cursor handle; `owned` tells whether the caller must
// free it (an image cursor), 0 for no class cursor.
Cursor make_cursor(Display* dpy, ::Window root, HCURSOR handle, bool& owned);
// _NET_WM_ICON data for an icon handle (width, height, ARGB pixels); empty
// for none.
std::vector<unsigned long> icon_property(HICON icon);

}  // namespace orvex_x11
