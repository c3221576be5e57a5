// The X11 display driver as the rest of the platform and the tests see it:
// the driver itself for the platform's choice of driver, and for tests its
// display connection and the X windows behind the program's windows. No X11
// header is needed to use it.
#pragma once

#include <memory>

#include "platform/win32.h"

namespace orvex_platform {
class Driver;
}

namespace orvex_x11 {

// The X11 driver on the display named by DISPLAY; null when none can be opened.
std::unique_ptr<orvex_platform::Driver> make_driver();

// The driver's display connection (a Display*), null when the X11 driver
// does not run.
void* display();
// The X window showing a window's client area, 0 for none.
unsigned long window_id(HWND wnd);

}  // namespace orvex_x11
