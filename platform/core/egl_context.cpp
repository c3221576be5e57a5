#include "platform/core/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstring>

#include "platform/core/driver.h"
#include "platform/core/window.h"

namespace orvex_platform {

namespace {
struct EglState {
    bool tried = false;
    EGLDisplay display = EGL_NO_DISPLAY;
    std::vector<PixelFormatEntry> formats;
    EGLContext current_context = EGL_NO_CONTEXT;
    EGLSurface current_surface = EGL_NO_SURFACE;
};
EglState& state() {
    static EglState s;
    return s;
}

EGLint attrib(EGLDisplay d, EGLConfig c, EGLint name) {
    EGLint v = 0;
    eglGetConfigAttrib(d, c, name, &v);
    return v;
}

BYTE clamp_byte(EGLint v) { return static_cast<BYTE>(std::clamp<EGLint>(v, 0, 255)); }

void collect_formats(EglState& s) {
    EGLint count = 0;
    if (!eglGetConfigs(s.display, nullptr, 0, &count) || count <= 0) return;
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    eglGetConfigs(s.display, configs.data(), count, &count);
    const EGLint surface_bit = driver().egl_window_surfaces() ? EGL_WINDOW_BIT : EGL_PBUFFER_BIT;
    for (EGLConfig c : configs) {
        if (!(attrib(s.display, c, EGL_RENDERABLE_TYPE) & EGL_OPENGL_BIT)) continue;
        if (!(attrib(s.display, c, EGL_SURFACE_TYPE) & surface_bit)) continue;
        if (attrib(s.display, c, EGL_COLOR_BUFFER_TYPE) != EGL_RGB_BUFFER) continue;
        if (attrib(s.display, c, EGL_SAMPLES) > 0) continue;
        if (!driver().egl_config_fits(attrib(s.display, c, EGL_NATIVE_VISUAL_ID))) continue;
        EGLint r = attrib(s.display, c, EGL_RED_SIZE), g = attrib(s.display, c, EGL_GREEN_SIZE),
               b = attrib(s.display, c, EGL_BLUE_SIZE), a = attrib(s.display, c, EGL_ALPHA_SIZE);
        if (r < 4 || g < 4 || b < 4) continue;
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        // Colour bits count every channel, alpha included, as display drivers report them.
        pfd.cColorBits = clamp_byte(r + g + b + a);
        pfd.cRedBits = clamp_byte(r);
        pfd.cGreenBits = clamp_byte(g);
        pfd.cBlueBits = clamp_byte(b);
        pfd.cAlphaBits = clamp_byte(a);
        pfd.cBlueShift = 0;
        pfd.cGreenShift = clamp_byte(b);
        pfd.cRedShift = clamp_byte(b + g);
        pfd.cAlphaShift = clamp_byte(a ? r + g + b : 0);
        pfd.cDepthBits = clamp_byte(attrib(s.display, c, EGL_DEPTH_SIZE));
        pfd.cStencilBits = clamp_byte(attrib(s.display, c, EGL_STENCIL_SIZE));
        pfd.iLayerType = PFD_MAIN_PLANE;
        s.formats.push_back(PixelFormatEntry{pfd, c});
    }
    // The common formats, 8 bits a channel, come first: among equally good
    // formats the first is chosen.
    std::stable_sort(s.formats.begin(), s.formats.end(), [](const PixelFormatEntry& x, const PixelFormatEntry& y) {
        auto eight = [](const PIXELFORMATDESCRIPTOR& p) { return p.cRedBits == 8 && p.cGreenBits == 8 && p.cBlueBits == 8; };
        return eight(x.pfd) && !eight(y.pfd);
    });
}

EglState& ready() {
    EglState& s = state();
    if (s.tried) return s;
    s.tried = true;
    auto get_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!get_display) return s;
    s.display = get_display(static_cast<EGLenum>(driver().egl_platform()), driver().egl_native_display(), nullptr);
    if (s.display == EGL_NO_DISPLAY) return s;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(s.display, &major, &minor)) {
        s.display = EGL_NO_DISPLAY;
        return s;
    }
    eglBindAPI(EGL_OPENGL_API);
    collect_formats(s);
    return s;
}

EGLConfig config_of(int format) {
    const auto& f = ready().formats;
    if (format < 1 || static_cast<std::size_t>(format) > f.size()) return nullptr;
    return f[static_cast<std::size_t>(format) - 1].config;
}

// The window's surface, made when first needed; a pbuffer follows the
// client area's size.
EGLSurface surface_of(Window& w) {
    EglState& s = ready();
    EGLConfig config = config_of(w.pixel_format);
    if (!config) return EGL_NO_SURFACE;
    SIZE size = client_size(w);
    int width = std::max<LONG>(size.cx, 1), height = std::max<LONG>(size.cy, 1);
    if (w.surface && (driver().egl_window_surfaces() || (w.surface_width == width && w.surface_height == height)))
        return static_cast<EGLSurface>(w.surface);
    if (w.surface && static_cast<EGLSurface>(w.surface) != s.current_surface) {
        eglDestroySurface(s.display, static_cast<EGLSurface>(w.surface));
        w.surface = nullptr;
    } else if (w.surface) {
        return static_cast<EGLSurface>(w.surface);  // resized while current: kept until released
    }
    EGLSurface surface = EGL_NO_SURFACE;
    if (driver().egl_window_surfaces()) {
        auto create = reinterpret_cast<PFNEGLCREATEPLATFORMWINDOWSURFACEEXTPROC>(
            eglGetProcAddress("eglCreatePlatformWindowSurfaceEXT"));
        void* native = driver().egl_native_window(w);
        if (create && native) surface = create(s.display, config, native, nullptr);
    } else {
        const EGLint attrs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface = eglCreatePbufferSurface(s.display, config, attrs);
    }
    if (surface == EGL_NO_SURFACE) return surface;
    w.surface = surface;
    w.surface_width = width;
    w.surface_height = height;
    return surface;
}
}  // namespace

const std::vector<PixelFormatEntry>& pixel_formats() { return ready().formats; }

void* egl_create_context(int format) {
    EglState& s = ready();
    EGLConfig config = config_of(format);
    if (!config) return nullptr;
    eglBindAPI(EGL_OPENGL_API);
    EGLContext c = eglCreateContext(s.display, config, EGL_NO_CONTEXT, nullptr);
    return c == EGL_NO_CONTEXT ? nullptr : c;
}

void egl_destroy_context(void* context) {
    EglState& s = ready();
    if (!context) return;
    if (context == s.current_context) egl_make_current(nullptr, nullptr);
    eglDestroyContext(s.display, static_cast<EGLContext>(context));
}

bool egl_make_current(Window* w, void* context) {
    EglState& s = ready();
    if (s.display == EGL_NO_DISPLAY) return false;
    if (!w || !context) {
        eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        s.current_context = EGL_NO_CONTEXT;
        s.current_surface = EGL_NO_SURFACE;
        return true;
    }
    EGLSurface surface = surface_of(*w);
    if (surface == EGL_NO_SURFACE) return false;
    if (!eglMakeCurrent(s.display, surface, surface, static_cast<EGLContext>(context))) return false;
    s.current_context = static_cast<EGLContext>(context);
    s.current_surface = surface;
    return true;
}

bool egl_swap(Window& w) {
    EglState& s = ready();
    if (!w.surface || static_cast<EGLSurface>(w.surface) != s.current_surface) return false;
    driver().before_swap(w);
    return eglSwapBuffers(s.display, static_cast<EGLSurface>(w.surface)) == EGL_TRUE;
}

void egl_release_window(Window& w) {
    if (!w.surface) return;
    EglState& s = ready();
    // A surface still current stays alive inside EGL until it is released.
    eglDestroySurface(s.display, static_cast<EGLSurface>(w.surface));
    w.surface = nullptr;
}

}  // namespace orvex_platform
