// The one context backend: EGL, on the display the driver names.
#pragma once

#include <vector>

#include "platform/win32.h"

namespace orvex_platform {

struct Window;

struct PixelFormatEntry {
    PIXELFORMATDESCRIPTOR pfd;
    void* config;  // EGLConfig
};

// The pixel formats the display offers, numbered from 1 in this order.
const std::vector<PixelFormatEntry>& pixel_formats();

void* egl_create_context(int format);  // EGLContext, null on failure
void egl_destroy_context(void* context);
// Makes `context` current on the window's surface; a null window releases.
bool egl_make_current(Window* w, void* context);
bool egl_swap(Window& w);
// The window's surface goes with the window.
void egl_release_window(Window& w);

}  // namespace orvex_platform
