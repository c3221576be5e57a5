// Which display driver runs: the one a test or tool chose, else the one
// ORVEX_DRIVER names, else X11. A program that cannot have the display it
// asked for ends here, saying why.
#include <cstdio>
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

// Unset or empty: no choice.
DriverChoice from_environment() {
    const char* v = std::getenv("ORVEX_DRIVER");
    if (!v || !*v) return DriverChoice::automatic;
    if (std::strcmp(v, "headless") == 0) return DriverChoice::headless;
    if (std::strcmp(v, "x11") == 0) return DriverChoice::x11;
    fatal_display_error(std::string("ORVEX_DRIVER is \"") + v + "\"; it takes headless or x11.");
}

[[noreturn]] void no_display(const std::string& what_failed) {
    fatal_display_error("no display: " + what_failed +
                        ". To run without a display, set ORVEX_DRIVER=headless"
                        " (grass-snapshot draws the grass scene without one).");
}

std::unique_ptr<Driver> display_driver() {
#ifdef ORVEX_HAVE_X11
    if (auto d = orvex_x11::make_driver()) return d;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) no_display("DISPLAY is not set");
    no_display(std::string("the display \"") + name + "\" cannot be opened");
#else
    no_display("this build has no X11 driver");
#endif
}
}  // namespace

void fatal_display_error(const std::string& why) {
    std::fflush(stdout);
    std::fprintf(stderr, "orvex: %s\n", why.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_DISPLAY_UNAVAILABLE);
}

void choose_driver(DriverChoice choice) { g_choice = choice; }

Driver& driver() {
    auto& d = instance();
    if (d) return *d;
    const DriverChoice choice = g_choice == DriverChoice::automatic ? from_environment() : g_choice;
    d = choice == DriverChoice::headless ? orvex_headless::make_driver() : display_driver();
    return *d;
}

const char* driver_name() { return driver().name(); }

}  // namespace orvex_platform
