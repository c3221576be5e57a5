// Windows: creation and destruction, geometry, visibility and text.
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/egl_context.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/handle_table.h"
#include "platform/core/device_context.h"
#include "platform/core/input.h"
#include "platform/core/message_queue.h"
#include "platform/core/window_class.h"
#include "platform/core/window.h"
#include "platform/frame_metrics.h"
#include "platform/platform_control.h"

namespace orvex_platform {

namespace {
HandleTable<Window>& windows() {
    static HandleTable<Window> t;
    return t;
}
std::vector<HWND>& creation_order() {
    static std::vector<HWND> order;
    return order;
}
}  // namespace

Window* find_window(HWND wnd) { return wnd ? windows().find(wnd) : nullptr; }

std::vector<HWND> all_windows() { return creation_order(); }

bool is_child(const Window& w) { return (w.style & WS_CHILD) != 0; }

RECT frame_insets(DWORD style, bool child) {
    LONG frame = 0;
    if (style & WS_THICKFRAME)
        frame = frame_metrics::thick_frame;
    else if (style & WS_DLGFRAME)
        frame = frame_metrics::fixed_frame;
    else if (style & WS_BORDER)
        frame = frame_metrics::border;
    LONG caption = ((style & WS_CAPTION) == WS_CAPTION) ? frame_metrics::caption : 0;
    (void)child;
    return RECT{frame, frame + caption, frame, frame};
}

POINT client_origin_on_screen(const Window& w) {
    RECT r = window_rect_on_screen(w);
    RECT in = frame_insets(w.style, is_child(w));
    return POINT{r.left + in.left, r.top + in.top};
}

RECT window_rect_on_screen(const Window& w) {
    RECT r = w.rect;
    if (is_child(w)) {
        if (const Window* p = find_window(w.parent)) {
            POINT o = client_origin_on_screen(*p);
            r.left += o.x;
            r.right += o.x;
            r.top += o.y;
            r.bottom += o.y;
        }
    }
    return r;
}

SIZE client_size(const Window& w) {
    RECT in = frame_insets(w.style, is_child(w));
    LONG cw = (w.rect.right - w.rect.left) - in.left - in.right;
    LONG ch = (w.rect.bottom - w.rect.top) - in.top - in.bottom;
    return SIZE{std::max<LONG>(cw, 0), std::max<LONG>(ch, 0)};
}

HWND top_level_of(HWND wnd) {
    Window* w = find_window(wnd);
    while (w && is_child(*w)) {
        Window* p = find_window(w->parent);
        if (!p) break;
        w = p;
    }
    return w ? w->handle : nullptr;
}

void ensure_pixels(Window& w) {
    SIZE s = client_size(w);
    std::size_t n = static_cast<std::size_t>(s.cx) * static_cast<std::size_t>(s.cy);
    if (w.pixels.size() != n) w.pixels.assign(n, 0);
}

bool shown_on_screen(const Window& w) {
    const Window* x = &w;
    while (x) {
        if (!x->visible || x->minimized) return false;
        if (!is_child(*x)) return true;
        x = find_window(x->parent);
    }
    return false;
}

namespace {
bool contains(const Window& w, POINT screen) {
    RECT r = window_rect_on_screen(w);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) return false;
    if (w.region) return PtInRegion(w.region, screen.x - r.left, screen.y - r.top) != FALSE;
    return true;
}

HWND child_at(const Window& parent, POINT screen) {
    for (auto it = parent.children.rbegin(); it != parent.children.rend(); ++it) {
        Window* c = find_window(*it);
        if (c && c->visible && contains(*c, screen)) return child_at(*c, screen);
    }
    return parent.handle;
}
}  // namespace

HWND window_from_screen_point(POINT screen) {
    HWND fg = driver().foreground();
    std::vector<HWND> order = creation_order();
    // The foreground window lies above the others; later windows above earlier ones.
    std::stable_partition(order.begin(), order.end(), [&](HWND h) { return h != fg; });
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (HWND found = window_within(*it, screen)) return found;
    return nullptr;
}

HWND window_within(HWND top, POINT screen) {
    const Window* w = find_window(top);
    if (!w || is_child(*w) || !shown_on_screen(*w) || !contains(*w, screen)) return nullptr;
    return child_at(*w, screen);
}

LRESULT send_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(wnd);
    if (!w || !w->proc) return 0;
    ProgramCodeScope program;
    return w->proc(wnd, msg, wparam, lparam);
}

namespace {
void notify_size_and_move(HWND wnd) {
    Window* w = find_window(wnd);
    if (!w) return;
    SIZE s = client_size(*w);
    send_message(wnd, WM_SIZE, 0, MAKELPARAM(s.cx, s.cy));
    w = find_window(wnd);
    if (!w) return;
    RECT in = frame_insets(w->style, is_child(*w));
    send_message(wnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + in.left, w->rect.top + in.top));
}

void release_window_resources(Window& w) {
    purge_messages_for(w.handle);
    release_capture_of(w.handle);
    release_window_dcs(w.handle);
    egl_release_window(w);
    if (w.region) {
        remove_gdi_object(w.region);
        w.region = nullptr;
    }
}

void destroy_tree_send(HWND wnd) {
    // WM_DESTROY goes to the window first, then to its children.
    send_message(wnd, WM_DESTROY, 0, 0);
    Window* w = find_window(wnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) {
        if (Window* c = find_window(k)) {
            c->destroying = true;
            c->visible = false;
            destroy_tree_send(k);
        }
    }
}

void destroy_tree_free(HWND wnd) {
    Window* w = find_window(wnd);
    if (!w) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) destroy_tree_free(k);
    // WM_NCDESTROY: children first, then the window itself.
    send_message(wnd, WM_NCDESTROY, 0, 0);
    w = find_window(wnd);
    if (!w) return;
    release_window_resources(*w);
    if (Window* p = find_window(w->parent)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), wnd), c.end());
    }
    driver().window_destroyed(*w);
    auto& order = creation_order();
    order.erase(std::remove(order.begin(), order.end(), wnd), order.end());
    windows().take(wnd);
    if (driver().foreground() == wnd) {
        HWND next = nullptr;
        for (HWND h : order) {
            Window* x = find_window(h);
            if (x && !is_child(*x) && x->visible) next = h;
        }
        driver().set_foreground(next);
    }
}

void set_visible(Window& w, bool visible, bool activate) {
    HWND wnd = w.handle;
    if (w.visible == visible) return;
    send_message(wnd, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    Window* x = find_window(wnd);
    if (!x) return;
    x->visible = visible;
    if (visible) {
        InvalidateRect(wnd, nullptr, TRUE);
        if (activate && !is_child(*x)) driver().set_foreground(wnd);
    }
    driver().window_changed(*x);
}
}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    ORVEX_API(ex_style, class_name, window_name, style, x, y, width, height, parent, menu, instance,
              param);
    const WindowClass* cls = find_class(class_name, instance);
    if (!cls || failure_injected(Failure::create_window)) return nullptr;
    if (parent && !find_window(parent)) return nullptr;
    if ((style & WS_CHILD) && !parent) return nullptr;  // a child needs its parent

    auto win = std::make_unique<Window>();
    win->class_name = cls->name;
    win->proc = cls->proc;
    win->class_style = cls->style;
    win->background = cls->background;
    win->cursor = cls->cursor;
    win->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    win->ex_style = ex_style;
    win->title = (window_name && !IS_INTRESOURCE(window_name)) ? window_name : "";
    win->parent = parent;
    win->instance = instance;
    if (style & WS_CHILD) win->id = reinterpret_cast<UINT_PTR>(menu);

    // CW_USEDEFAULT puts a pop-up or a child at (0, 0) with no size; an
    // overlapped window gets a cascaded place and three quarters of the screen.
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    SIZE screen = driver().screen_size();
    if (x == CW_USEDEFAULT) {
        x = overlapped ? 26 : 0;
        y = overlapped ? 26 : 0;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? screen.cx * 3 / 4 : 0;
        height = overlapped ? screen.cy * 3 / 4 : 0;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    win->rect = RECT{x, y, static_cast<LONG>(static_cast<long long>(x) + width),
                     static_cast<LONG>(static_cast<long long>(y) + height)};

    HWND wnd = windows().add<HWND>(HandleKind::window, std::move(win));
    if (!wnd) return nullptr;
    Window* w = find_window(wnd);
    w->handle = wnd;
    creation_order().push_back(wnd);
    if (Window* p = find_window(parent); p && (style & WS_CHILD)) p->children.push_back(wnd);
    driver().window_created(*w);

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = window_name;
    cs.lpszClass = class_name;
    cs.dwExStyle = ex_style;

    if (!send_message(wnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        destroy_tree_free(wnd);
        return nullptr;
    }
    if (!find_window(wnd)) return nullptr;
    if (send_message(wnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(wnd);
        return nullptr;
    }
    w = find_window(wnd);
    if (!w) return nullptr;
    w->created = true;
    notify_size_and_move(wnd);
    w = find_window(wnd);
    if (!w) return nullptr;
    if (style & WS_VISIBLE) {
        w->style |= WS_VISIBLE;
        set_visible(*w, true, true);
    }
    return find_window(wnd) ? wnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND wnd) {
    ORVEX_API(wnd);
    Window* w = find_window(wnd);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    if (w->visible) {
        w->visible = false;
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        driver().window_changed(*w);
    }
    destroy_tree_send(wnd);
    destroy_tree_free(wnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND wnd) {
    ORVEX_API(wnd);
    return find_window(wnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND wnd) {
    ORVEX_API(wnd);
    Window* w = find_window(wnd);
    return (w && shown_on_screen(*w)) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND wnd, int cmd) {
    ORVEX_API(wnd, cmd);
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    BOOL was_visible = w->visible ? TRUE : FALSE;
    switch (cmd) {
        case SW_HIDE:
            w->style &= ~static_cast<DWORD>(WS_VISIBLE);
            set_visible(*w, false, false);
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            w->minimized = true;
            w->style |= WS_VISIBLE;
            set_visible(*w, true, false);
            if (Window* x = find_window(wnd)) driver().window_changed(*x);
            break;
        default: {
            bool activate = cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWNA;
            bool restore = w->minimized;
            w->minimized = false;
            w->style |= WS_VISIBLE;
            set_visible(*w, true, activate);
            if (restore) {
                if (Window* x = find_window(wnd)) {
                    InvalidateRect(wnd, nullptr, TRUE);
                    driver().window_changed(*x);
                    if (activate && !is_child(*x)) driver().set_foreground(wnd);
                }
            }
            break;
        }
    }
    return was_visible;
}

BOOL WINAPI UpdateWindow(HWND wnd) {
    ORVEX_API(wnd);
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    if (w->update && shown_on_screen(*w)) send_message(wnd, WM_PAINT, 0, 0);
    return TRUE;
}

HWND WINAPI GetParent(HWND wnd) {
    ORVEX_API(wnd);
    Window* w = find_window(wnd);
    return (w && is_child(*w)) ? w->parent : nullptr;
}

int WINAPI GetDlgCtrlID(HWND wnd) {
    ORVEX_API(wnd);
    Window* w = find_window(wnd);
    return (w && is_child(*w)) ? static_cast<int>(w->id) : 0;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND wnd, int index) {
    ORVEX_API(wnd, index);
    Window* w = find_window(wnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_ID: return static_cast<LONG_PTR>(w->id);
        case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        default: return 0;
    }
}

BOOL WINAPI GetWindowRect(HWND wnd, LPRECT rect) {
    ORVEX_API(wnd, rect);
    Window* w = find_window(wnd);
    if (!w || !rect) return FALSE;
    *rect = window_rect_on_screen(*w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND wnd, LPRECT rect) {
    ORVEX_API(wnd, rect);
    Window* w = find_window(wnd);
    if (!w || !rect) return FALSE;
    SIZE s = client_size(*w);
    *rect = RECT{0, 0, s.cx, s.cy};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND wnd, LPPOINT point) {
    ORVEX_API(wnd, point);
    Window* w = find_window(wnd);
    if (!w || !point) return FALSE;
    POINT o = client_origin_on_screen(*w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND wnd, LPPOINT point) {
    ORVEX_API(wnd, point);
    Window* w = find_window(wnd);
    if (!w || !point) return FALSE;
    POINT o = client_origin_on_screen(*w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND wnd, HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
    ORVEX_API(wnd, insert_after, x, y, cx, cy, flags);
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    RECT old = w->rect;
    RECT r = old;
    if (!(flags & SWP_NOMOVE)) {
        r.right = x + (r.right - r.left);
        r.bottom = y + (r.bottom - r.top);
        r.left = x;
        r.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    w->rect = r;
    bool moved = r.left != old.left || r.top != old.top;
    bool sized = (r.right - r.left) != (old.right - old.left) || (r.bottom - r.top) != (old.bottom - old.top);
    driver().window_changed(*w);
    if (sized) {
        SIZE s = client_size(*w);
        send_message(wnd, WM_SIZE, 0, MAKELPARAM(s.cx, s.cy));
    }
    if (moved && find_window(wnd)) {
        RECT in = frame_insets(w->style, is_child(*w));
        send_message(wnd, WM_MOVE, 0, MAKELPARAM(r.left + in.left, r.top + in.top));
    }
    if ((sized || moved) && !(flags & SWP_NOREDRAW) && find_window(wnd)) InvalidateRect(wnd, nullptr, TRUE);
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint) {
    ORVEX_API(wnd, x, y, width, height, repaint);
    return SetWindowPos(wnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI SetWindowTextA(HWND wnd, LPCSTR text) {
    ORVEX_API(wnd, text);
    if (!find_window(wnd)) return FALSE;
    return send_message(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND wnd, LPSTR buffer, int max_count) {
    ORVEX_API(wnd, buffer, max_count);
    if (!find_window(wnd) || !buffer || max_count <= 0) return 0;
    return static_cast<int>(send_message(wnd, WM_GETTEXT, static_cast<WPARAM>(max_count), reinterpret_cast<LPARAM>(buffer)));
}
