#include "platform/x11/x11.h"

#include <cstring>

#include "platform/platform_control.h"
#include "platform/x11/x11_driver.h"

namespace orvex_x11 {

namespace {
X11Driver* running() {
    if (std::strcmp(orvex_platform::driver_name(), "x11") != 0) return nullptr;
    return &the_driver();
}
}  // namespace

std::unique_ptr<Driver> make_driver() {
    XInitThreads();
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return nullptr;
    return std::make_unique<X11Driver>(dpy);
}

void* display() {
    auto* d = running();
    return d ? d->display() : nullptr;
}

unsigned long window_id(HWND wnd) {
    auto* d = running();
    if (!d) return 0;
    auto* xw = d->find(wnd);
    return xw ? xw->id : 0;
}

}  // namespace orvex_x11
