// Capture, cursor position, foreground window, system metrics, and the
// routing of display input to windows.
#include "platform/core/input.h"

#include <algorithm>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"

namespace orvex_platform {

namespace {
HWND g_capture = nullptr;

void lose_capture(HWND old, HWND next) {
    if (old && old != next) send_message(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(next));
}
}  // namespace

void release_capture_of(HWND wnd) {
    if (g_capture != wnd) return;
    g_capture = nullptr;
    driver().capture_changed(nullptr);
}

HWND mouse_target(POINT screen, HWND top) {
    if (find_window(g_capture)) return g_capture;
    if (HWND within = window_within(top, screen)) return within;
    return window_from_screen_point(screen);
}

void route_key(UINT msg, WPARAM vk, LPARAM lparam) {
    HWND target = driver().foreground();
    if (!find_window(target)) return;
    post_input_message(target, msg, vk, lparam);
}

}  // namespace orvex_platform

using namespace orvex_platform;

HWND WINAPI SetCapture(HWND wnd) {
    ORVEX_API(wnd);
    if (!find_window(wnd)) return nullptr;
    HWND old = find_window(g_capture) ? g_capture : nullptr;
    g_capture = wnd;
    driver().capture_changed(wnd);
    lose_capture(old, wnd);
    return old;
}

BOOL WINAPI ReleaseCapture() {
    ORVEX_API();
    HWND old = g_capture;
    if (old) {
        g_capture = nullptr;
        driver().capture_changed(nullptr);
        if (find_window(old)) send_message(old, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND WINAPI GetCapture() {
    ORVEX_API();
    return find_window(g_capture) ? g_capture : nullptr;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    ORVEX_API(x, y);
    const RECT s = driver().virtual_screen();
    // The cursor stays on the monitors.
    POINT p{std::max<LONG>(s.left, std::min<LONG>(x, s.right - 1)),
            std::max<LONG>(s.top, std::min<LONG>(y, s.bottom - 1))};
    driver().set_cursor_pos(p);
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    ORVEX_API(point);
    if (!point) return FALSE;
    *point = driver().cursor_pos();
    return TRUE;
}

HWND WINAPI GetForegroundWindow() {
    ORVEX_API();
    HWND fg = driver().foreground();
    return find_window(fg) ? fg : nullptr;
}

BOOL WINAPI SetForegroundWindow(HWND wnd) {
    ORVEX_API(wnd);
    HWND top = top_level_of(wnd);
    if (!top) return FALSE;
    driver().set_foreground(top);
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    ORVEX_API(index);
    switch (index) {
        case SM_CXSCREEN: return driver().screen_size().cx;
        case SM_CYSCREEN: return driver().screen_size().cy;
        case SM_CXBORDER:
        case SM_CYBORDER: return frame_insets(WS_BORDER, false).left;
        case SM_CXFIXEDFRAME:
        case SM_CYFIXEDFRAME: return frame_insets(WS_DLGFRAME, false).left;
        case SM_CYCAPTION: {
            RECT r = frame_insets(WS_CAPTION, false);
            return r.top - r.left;
        }
        default: return 0;
    }
}
