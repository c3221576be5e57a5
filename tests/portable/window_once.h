// The program's one OpenGL window, opened by the first test suite that
// needs it: a process registers the window class once.
#pragma once

#include "framework/orvex.h"

namespace orvex_test {

inline void open_window_once() {
    if (orvex::HWINDOW) return;
    orvex::OGLWINDOWSETTING(orvex::ARROW, "", orvex::GENERIC, "");
    orvex::CREATEOGLWINDOW("portable tests", 320, 240, 32, false);
}

}  // namespace orvex_test
