// The program's one OpenGL window, opened by the first test suite that
// needs it: a process registers the window class once.
#pragma once

#include "framework/orvex.h"

namespace portable_tests {

inline void open_window_once() {
    if (orvex::HWINDOW) return;
    orvex::OGLWINDOWSETTING(orvex::ARROW, "", orvex::GENERIC, "");
    orvex::CREATEOGLWINDOW("portable tests", 320, 240, 32, false);
}

}  // namespace portable_tests
