#include "platform/x11/x11_testing.h"

#include <cstring>

#include "platform/platform_control.h"
#include "platform/x11/x11_driver.h"

namespace orvex_x11 {

namespace {
orvex_platform::x11::X11Driver* running() {
    if (std::strcmp(orvex_platform::driver_name(), "x11") != 0) return nullptr;
    return &orvex_platform::x11::the_driver();
}
}  // namespace

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
