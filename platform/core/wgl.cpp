// WGL over the EGL backend: rendering contexts and buffer swaps.
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/device_context.h"
#include "platform/core/egl_context.h"
#include "platform/core/handle_counts.h"
#include "platform/core/handle_table.h"
#include "platform/core/window.h"
#include "platform/platform_control.h"

using namespace orvex_platform;

namespace {
struct GlContext {
    void* egl = nullptr;
    int format = 0;
};
HandleTable<GlContext>& contexts() {
    static HandleTable<GlContext> t;
    return t;
}
HGLRC g_current = nullptr;
HDC g_current_dc = nullptr;
}  // namespace

std::size_t orvex_platform::gl_context_count() { return contexts().size(); }

HGLRC WINAPI wglCreateContext(HDC dc) {
    ORVEX_API(dc);
    Window* w = window_of_dc(dc);
    if (!w || w->pixel_format == 0 || failure_injected(Failure::create_context)) return nullptr;
    void* egl = egl_create_context(w->pixel_format);
    if (!egl) return nullptr;
    auto c = std::make_unique<GlContext>();
    c->egl = egl;
    c->format = w->pixel_format;
    HGLRC rc = contexts().add<HGLRC>(HandleKind::gl_context, std::move(c));
    if (!rc) egl_destroy_context(egl);
    return rc;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC rc) {
    ORVEX_API(dc, rc);
    if (!rc) {
        // Releasing needs no valid context: whatever is current goes.
        if (g_current) egl_make_current(nullptr, nullptr);
        g_current = nullptr;
        g_current_dc = nullptr;
        return TRUE;
    }
    GlContext* c = contexts().find(rc);
    Window* w = window_of_dc(dc);
    if (!c || !w || w->pixel_format != c->format) return FALSE;
    if (!egl_make_current(w, c->egl)) return FALSE;
    g_current = rc;
    g_current_dc = dc;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC rc) {
    ORVEX_API(rc);
    std::unique_ptr<GlContext> c = contexts().take(rc);
    if (!c) return FALSE;
    if (g_current == rc) {
        g_current = nullptr;
        g_current_dc = nullptr;
    }
    egl_destroy_context(c->egl);
    return TRUE;
}

HGLRC WINAPI wglGetCurrentContext() {
    ORVEX_API();
    return g_current;
}

HDC WINAPI wglGetCurrentDC() {
    ORVEX_API();
    return g_current ? g_current_dc : nullptr;
}

BOOL WINAPI SwapBuffers(HDC dc) {
    ORVEX_API(dc);
    Window* w = window_of_dc(dc);
    if (!w) return FALSE;
    return egl_swap(*w) ? TRUE : FALSE;
}
