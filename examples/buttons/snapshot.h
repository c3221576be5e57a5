// Running the example without a display: scripted input, and a picture of
// the window as it would be seen.
#pragma once

#include "platform/win32.h"

namespace example {

// Picks the headless display (before anything else of the platform runs).
void start_headless();

// From the next frames on: hovers and clicks the first button, hovers the
// second, then writes the window's picture to `png_path` as PNG, prints the
// status bar's text and closes the window.
void script_snapshot(const char* png_path, const HWND* buttons, int count);

// False when the picture could not be written.
bool snapshot_ok();

}  // namespace example
