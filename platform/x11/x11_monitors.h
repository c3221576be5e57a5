// The monitors of an X screen, and which of them is the primary monitor:
// the one a Windows program sees as the screen (its size is the screen's
// size, its top-left corner the origin of screen co-ordinates).
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "platform/win32.h"

namespace orvex_x11 {

// What a server tells of its monitors; rectangles on the root window.
struct MonitorReport {
    struct Monitor {
        RECT area{};
        bool primary = false;
    };
    // RandR 1.5's monitors: one for each active output, unless a monitor the
    // user defined (xrandr --setmonitor) covers it, and those the user defined.
    std::optional<std::vector<Monitor>> randr_monitors;
    // The primary output's CRTC, from a server with RandR 1.3 or 1.4.
    std::optional<RECT> primary_output;
    std::vector<RECT> xinerama_heads;
    RECT screen{};  // the whole root window
};

// The primary monitor: the monitor RandR marks primary (the primary
// output's, or one the user defined and marked), else the primary output's
// CRTC where the server has no monitors, else the first Xinerama head, else
// the whole screen. A candidate is cut to the screen; one that lies off it
// or has no area is passed over.
RECT primary_monitor(const MonitorReport& report);

// Asks the server (a few round trips: once, when the display is opened).
MonitorReport query_monitors(Display* dpy, ::Window root, int screen);

}  // namespace orvex_x11
