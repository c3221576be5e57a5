// What tests may see of the X11 driver: its display connection and the X
// windows behind the program's windows. No X11 header is needed to use it.
#pragma once

#include "platform/win32.h"

namespace orvex_x11 {

// The driver's display connection (a Display*), null when the X11 driver
// does not run.
void* display();
// The X window showing a window's client area, 0 for none.
unsigned long window_id(HWND wnd);

}  // namespace orvex_x11
