// The default behaviour of windows.
#include <algorithm>
#include <cstring>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/window.h"

using namespace orvex_platform;

namespace {
LRESULT copy_title(const Window& w, WPARAM max_count, LPARAM buffer) {
    if (!buffer || max_count == 0) return 0;
    std::size_t n = std::min<std::size_t>(w.title.size(), static_cast<std::size_t>(max_count) - 1);
    std::memcpy(reinterpret_cast<char*>(buffer), w.title.data(), n);
    reinterpret_cast<char*>(buffer)[n] = '\0';
    return static_cast<LRESULT>(n);
}

void erase_background(Window& w) {
    auto* brush = find_gdi<Brush>(w.background, GdiKind::brush);
    if (!brush || brush->hollow) return;
    ensure_pixels(w);
    std::uint32_t c = (GetRValue(brush->color) << 16) | (GetGValue(brush->color) << 8) | GetBValue(brush->color);
    std::fill(w.pixels.begin(), w.pixels.end(), c);
}
}  // namespace

LRESULT WINAPI DefWindowProcA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ORVEX_API(wnd, msg, wparam, lparam);
    Window* w = find_window(wnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE: return TRUE;
        case WM_CLOSE: DestroyWindow(wnd); return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            EndPaint(wnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: erase_background(*w); return 1;
        case WM_SETTEXT:
            w->title = (lparam && !IS_INTRESOURCE(reinterpret_cast<LPCSTR>(lparam)))
                           ? reinterpret_cast<const char*>(lparam)
                           : "";
            driver().window_changed(*w);
            return TRUE;
        case WM_GETTEXT: return copy_title(*w, wparam, lparam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->title.size());
        case WM_RBUTTONUP: {
            // A right click asks for a context menu, at the screen point.
            POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
            ClientToScreen(wnd, &p);
            send_message(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd),
                         MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
            return 0;
        }
        case WM_CONTEXTMENU:
            // A child passes the request on to its parent.
            if (is_child(*w) && w->parent) return send_message(w->parent, WM_CONTEXTMENU, wparam, lparam);
            return 0;
        case WM_SYSKEYDOWN:
            if (wparam == VK_F4)  // Alt+F4
                PostMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        case WM_SYSCOMMAND:
            switch (wparam & 0xFFF0) {
                case SC_CLOSE: send_message(wnd, WM_CLOSE, 0, 0); return 0;
                case SC_MINIMIZE: ShowWindow(wnd, SW_MINIMIZE); return 0;
                case SC_RESTORE: ShowWindow(wnd, SW_SHOWNORMAL); return 0;
                default: return 0;  // screen saver, monitor power and the rest: allowed, nothing to do here
            }
        default: return 0;
    }
}
