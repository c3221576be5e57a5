// The platform core's windows and window classes.
//
// Lifetimes. A window's record lives in the window store from CreateWindowExA
// until its destruction ends (WM_NCDESTROY has been sent); its handle is not
// given to another window (a slot is reused only under a new generation, see
// handle_table.h), so a stale handle finds nothing. Every
// message the core sends goes through send_message, which runs the window's
// procedure: program code, which may destroy any window, this one included,
// its children and its parent. Across a send therefore
//   - handles (HWND, and handles of GDI objects) stay safe to use: look the
//     window up again with find_window, and expect null;
//   - a Window* or Window&, a reference into a window's members (its
//     children, props, pixels) and a driver's record of the window are not:
//     take what is needed (a copy of the children, the handle) before the
//     send, and look the window up again after it;
//   - all_windows() returns a copy, safe to walk while windows go.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/text.h"
#include "platform/win32.h"

namespace orvex_platform {

struct WindowClass {
    std::string name;
    ATOM atom{};
    UINT style{};
    WNDPROC proc{};
    int class_extra{};
    int window_extra{};
    HINSTANCE instance{};
    HICON icon{};
    HCURSOR cursor{};
    HBRUSH background{};
    std::string menu_name;
    HICON small_icon{};
    bool system{};  // registered by the platform itself (the status bar's class)
};

struct Window {
    HWND handle{};
    std::string class_name;
    WNDPROC proc{};
    UINT class_style{};
    HBRUSH background{};
    HCURSOR cursor{};
    DWORD style{};
    DWORD ex_style{};
    std::string title;
    HWND parent{};
    std::vector<HWND> children;
    UINT_PTR id{};
    HINSTANCE instance{};
    // Outer rectangle: screen co-ordinates for a top-level window, the
    // parent's client co-ordinates for a child.
    RECT rect{};
    bool visible{};
    bool minimized{};
    bool created{};
    bool destroying{};
    std::optional<RECT> update;  // invalid part of the client area
    bool erase_pending{};
    std::map<std::string, HANDLE, NoCaseLess> props;
    HRGN region{};  // window region, owned by the window once set
    int pixel_format{};
    void* surface{};  // rendering surface of the context backend
    int surface_width{};
    int surface_height{};
    // What GDI painted into the client area: 0x00RRGGBB pixels, top row first.
    std::vector<std::uint32_t> pixels;
    void* driver_data{};
};

Window* find_window(HWND wnd);
// Calls a window's procedure directly, as SendMessageA does: the one way the
// core runs a window procedure (CallWindowProcA alone calls the procedure it
// is given). Marks the call as program code for the call log. After it, any
// Window* may be gone (see above).
LRESULT send_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
std::vector<HWND> all_windows();  // in creation order
bool is_child(const Window& w);
// Visible on the screen: the window and every ancestor visible, none minimised.
bool shown_on_screen(const Window& w);
RECT frame_insets(DWORD style, bool child);
RECT window_rect_on_screen(const Window& w);
POINT client_origin_on_screen(const Window& w);
SIZE client_size(const Window& w);
HWND top_level_of(HWND wnd);
// The visible window under a screen point, descending into children; window
// regions cut windows to their shape.
HWND window_from_screen_point(POINT screen);
// The same within one shown top-level window: it or the child under the
// point, null when the point is not on it.
HWND window_within(HWND top, POINT screen);
void ensure_pixels(Window& w);

}  // namespace orvex_platform
