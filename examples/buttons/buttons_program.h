// The image-buttons example's program: its window with three image buttons
// and the frame loop, for the example's main routine and for tools that run
// it with input of their own.
#pragma once

#include "platform/win32.h"

namespace example {

inline constexpr int kButtonCount = 3;

// Opens the OpenGL window with its status bar and creates the three buttons
// (a null handle for one that cannot be created, with a message on stderr).
void open_window(HWND (&buttons)[kButtonCount]);

// Draws frames, one window message each, until the window is closed; then
// tears the window down.
void run_frames();

}  // namespace example
