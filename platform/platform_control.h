// Control of the platform layer for tests and tools: which display driver
// runs, and the log of platform operations.
#pragma once

#include <string>
#include <vector>

namespace orvex_platform {

enum class DriverChoice { automatic, headless, x11 };

// Must be called before the first platform operation; `automatic` takes
// ORVEX_DRIVER=headless|x11 from the environment, and without it the X11
// driver. The headless driver runs only when chosen here or there: a program
// whose display cannot be opened ends at once, with a line on stderr that
// says why and the status below, rather than run where nobody sees it.
void choose_driver(DriverChoice choice);
const char* driver_name();

// The exit status of a program that cannot have the display it asked for:
// none can be opened, ORVEX_DRIVER names no driver, or the headless
// display's controls are used while another driver runs.
inline constexpr int EXIT_DISPLAY_UNAVAILABLE = 69;

// Every platform operation the framework calls can be logged, as
// "Name(arg, arg, ...)" with handles as numbers and texts in quotes.
void enable_call_log(bool on);
std::vector<std::string> call_log();
void clear_call_log();

// Failures that a real system can have and tests need to provoke: the next
// windows cannot be created, the display offers no pixel format, no
// rendering context can be made, no global memory block can be allocated or
// grown, no memory device context or DIB section can be made.
enum class Failure { create_window, pixel_formats, create_context, global_alloc, global_realloc, create_dc, create_dib_section };
void inject_failure(Failure what, bool on);
bool failure_injected(Failure what);

}  // namespace orvex_platform
