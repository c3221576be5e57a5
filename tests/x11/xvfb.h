// A private X server for the tests: Xvfb on a display number it picks
// itself, started once per test program and stopped at its end.
#pragma once

#include <string>

namespace orvex_test {

// Starts the server (once) and points DISPLAY at it. False, with the
// reason, when it cannot be started here.
bool start_xvfb(std::string& why_not);
void stop_xvfb();
int screen_width();
int screen_height();

}  // namespace orvex_test
