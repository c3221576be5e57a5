// Which display driver runs: X11 where a display can be opened, the headless
// one otherwise, or the one a test or tool chose.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/core/driver.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#ifdef ORVEX_HAVE_X11
#include "platform/x11/x11.h"
#endif

namespace orvex_platform {

namespace {
DriverChoice g_choice = DriverChoice::automatic;
std::unique_ptr<Driver>& instance() {
    static std::unique_ptr<Driver> d;
    return d;
}

DriverChoice from_environment() {
    const char* v = std::getenv("ORVEX_DRIVER");
    if (v && std::strcmp(v, "headless") == 0) return DriverChoice::headless;
    if (v && std::strcmp(v, "x11") == 0) return DriverChoice::x11;
    return DriverChoice::automatic;
}
}  // namespace

void choose_driver(DriverChoice choice) { g_choice = choice; }

Driver& driver() {
    auto& d = instance();
    if (d) return *d;
    DriverChoice choice = g_choice == DriverChoice::automatic ? from_environment() : g_choice;
#ifdef ORVEX_HAVE_X11
    if (choice != DriverChoice::headless) d = orvex_x11::make_driver();
#else
    (void)choice;
#endif
    if (!d) d = orvex_headless::make_driver();
    return *d;
}

const char* driver_name() { return driver().name(); }

}  // namespace orvex_platform
