// The tests' OpenGL window.
#include "tests/support/gl_recorder_window.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "framework/orvex.h"

namespace orvex_test {

namespace {
bool g_opening = false;
int g_width = 0;
int g_height = 0;

void guard_exit() {
    if (g_opening) {
        std::fprintf(stderr, "the OpenGL window for the tests could not be opened\n");
        std::_Exit(3);
    }
}
}  // namespace

bool open_gl_window() {
    static const bool opened = [] {
        std::atexit(guard_exit);
        g_opening = true;
        orvex::OGLWINDOWSETTING(orvex::ARROW, nullptr, orvex::GENERIC, nullptr);
        const bool created = orvex::CREATEOGLWINDOW("Orvex tests", 800, 600, 32, false);
        g_opening = false;
        RECT client{};
        GetClientRect(orvex::HWINDOW, &client);
        g_width = client.right - client.left;
        g_height = client.bottom - client.top;
        return created && orvex::RCWINDOW != nullptr && g_width > 0 && g_height > 0;
    }();
    orvex::WIDTH = 800;
    orvex::HEIGHT = 600;
    return opened;
}

int drawable_width() { return g_width; }
int drawable_height() { return g_height; }

std::uint32_t GlPixels::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
    return (std::uint32_t{rgba.at(i)} << 24) | (std::uint32_t{rgba.at(i + 1)} << 16) |
           (std::uint32_t{rgba.at(i + 2)} << 8) | std::uint32_t{rgba.at(i + 3)};
}

GlPixels read_gl_pixels() {
    GlPixels p;
    p.width = g_width;
    p.height = g_height;
    p.rgba.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p.width, p.height, GL_RGBA, GL_UNSIGNED_BYTE, p.rgba.data());
    return p;
}

}  // namespace orvex_test
