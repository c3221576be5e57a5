// An OpenGL context for tests that record or draw: the framework's own
// window, opened once per test process, and the pixels drawn into it.
#pragma once

#include <cstdint>
#include <vector>

namespace orvex_test {

// Opens the framework's OpenGL window (800 by 600, windowed, 32 bits) through
// OGLWINDOWSETTING and CREATEOGLWINDOW the first time it is called and leaves
// its rendering context current; later calls only answer whether it is open.
// Should the window layer end the program on the way (its fatal-error box
// exits with status 0), the process ends with status 3 instead, so that the
// test is not taken for passed. WIDTH and HEIGHT are reset to 800 by 600 on
// every call, since tests change them.
bool open_gl_window();

// The pixels of the window's drawable after glFinish, bottom row first as
// OpenGL reads them.
struct GlPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    // 0xRRGGBBAA of pixel (x, y), (0, 0) at the bottom left.
    std::uint32_t at(int x, int y) const;
    std::uint8_t red(int x, int y) const { return static_cast<std::uint8_t>(at(x, y) >> 24); }
};
GlPixels read_gl_pixels();
// The drawable's size (the window's client area).
int drawable_width();
int drawable_height();

}  // namespace orvex_test
