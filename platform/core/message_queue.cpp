// The thread's message queue: posting, peeking, getting, dispatching, and the
// WM_PAINT and WM_QUIT messages that are made up when nothing else waits.
#include "platform/core/message_queue.h"

#include <deque>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/input.h"
#include "platform/core/window.h"

namespace orvex_platform {

namespace {
struct Entry {
    MSG msg{};
    // Mouse input not yet given to a window: its window and its LPARAM (the
    // client co-ordinates) are decided from msg.pt when it is read; msg.hwnd
    // holds the top-level window the display found the pointer over.
    bool mouse = false;
};

struct Queue {
    std::deque<Entry> posted;
    bool quit = false;
    int quit_code = 0;
};
Queue& queue() {
    static Queue q;
    return q;
}

bool is_self_or_descendant(HWND ancestor, HWND wnd) {
    Window* w = find_window(wnd);
    while (w) {
        if (w->handle == ancestor) return true;
        if (!is_child(*w)) return false;
        w = find_window(w->parent);
    }
    return false;
}

bool window_matches(HWND filter, HWND wnd) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return wnd == nullptr;
    return is_self_or_descendant(filter, wnd);
}

bool range_matches(UINT lo, UINT hi, UINT msg) {
    if (lo == 0 && hi == 0) return true;
    return msg >= lo && msg <= hi;
}

// A message as it is queued: its time, and where the cursor was (for mouse
// input, where it was when the input came).
MSG stamp(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam, POINT pt) {
    MSG m{};
    m.hwnd = wnd;
    m.message = msg;
    m.wParam = wparam;
    m.lParam = lparam;
    m.time = GetTickCount();
    m.pt = pt;
    return m;
}

MSG stamp(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return stamp(wnd, msg, wparam, lparam, driver().cursor_pos());
}

// Mouse input as a message for the window that takes it now: the capture's
// holder, else the window under the point. False when no window takes it.
bool resolve_mouse(const MSG& input, MSG& out) {
    const HWND target = mouse_target(input.pt, input.hwnd);
    const Window* w = find_window(target);
    if (!w) return false;
    const POINT o = client_origin_on_screen(*w);
    out = input;
    out.hwnd = target;
    // Each co-ordinate is 16 bits: left of or above the client area they wrap.
    out.lParam = MAKELPARAM(static_cast<WORD>(input.pt.x - o.x), static_cast<WORD>(input.pt.y - o.y));
    return true;
}

bool take_message(LPMSG out, HWND wnd, UINT lo, UINT hi, bool remove) {
    auto& q = queue();
    for (auto it = q.posted.begin(); it != q.posted.end();) {
        MSG m = it->msg;
        if (it->mouse && !resolve_mouse(it->msg, m)) {
            // Over none of the program's windows: nobody will ever read it.
            it = q.posted.erase(it);
            continue;
        }
        if (!window_matches(wnd, m.hwnd) || !range_matches(lo, hi, m.message)) {
            ++it;
            continue;
        }
        *out = m;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quit && !wnd && range_matches(lo, hi, WM_QUIT)) {
        *out = stamp(nullptr, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0);
        if (remove) q.quit = false;
        return true;
    }
    // WM_PAINT is made up only when nothing else waits; it stays until the
    // window validates its update region.
    if (range_matches(lo, hi, WM_PAINT)) {
        for (HWND h : all_windows()) {
            Window* w = find_window(h);
            if (w && w->update && shown_on_screen(*w) && window_matches(wnd, h)) {
                *out = stamp(h, WM_PAINT, 0, 0);
                return true;
            }
        }
    }
    return false;
}
}  // namespace

void purge_messages_for(HWND wnd) {
    // Mouse input belongs to no window yet: it goes to another when read.
    auto& p = queue().posted;
    for (auto it = p.begin(); it != p.end();) it = (!it->mouse && it->msg.hwnd == wnd) ? p.erase(it) : it + 1;
}

std::size_t queued_message_count() { return queue().posted.size(); }

void post_input_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (wnd && !find_window(wnd)) return;
    queue().posted.push_back(Entry{stamp(wnd, msg, wparam, lparam)});
}

void post_mouse_input(UINT msg, POINT screen, WPARAM keys, HWND top) {
    const Entry e{stamp(top, msg, keys, 0, screen), true};
    auto& p = queue().posted;
    // Mouse moves are coalesced: a burst of motion leaves one move with the
    // newest position, so input never lags behind the pointer.
    if (msg == WM_MOUSEMOVE && !p.empty() && p.back().mouse && p.back().msg.message == WM_MOUSEMOVE) {
        p.back() = e;
        return;
    }
    p.push_back(e);
}

}  // namespace orvex_platform

using namespace orvex_platform;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND wnd, UINT filter_min, UINT filter_max, UINT remove) {
    ORVEX_API(msg, wnd, filter_min, filter_max, remove);
    if (!msg) return FALSE;
    driver().pump(false);
    return take_message(msg, wnd, filter_min, filter_max, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND wnd, UINT filter_min, UINT filter_max) {
    ORVEX_API(msg, wnd, filter_min, filter_max);
    if (!msg) return -1;
    for (;;) {
        driver().pump(false);
        if (take_message(msg, wnd, filter_min, filter_max, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
        if (!driver().pump(true)) return -1;  // nothing can ever arrive
    }
}

BOOL WINAPI PostMessageA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ORVEX_API(wnd, msg, wparam, lparam);
    if (wnd && !find_window(wnd)) return FALSE;
    queue().posted.push_back(Entry{stamp(wnd, msg, wparam, lparam)});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ORVEX_API(wnd, msg, wparam, lparam);
    return send_message(wnd, msg, wparam, lparam);
}

void WINAPI PostQuitMessage(int exit_code) {
    ORVEX_API(exit_code);
    queue().quit = true;
    queue().quit_code = exit_code;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    ORVEX_API(msg);
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    WPARAM vk = msg->wParam;
    int ch = -1;
    if (vk >= 'A' && vk <= 'Z')
        ch = static_cast<int>(vk - 'A' + 'a');
    else if (vk >= '0' && vk <= '9')
        ch = static_cast<int>(vk);
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        ch = static_cast<int>(vk - VK_NUMPAD0 + '0');
    else if (vk == VK_SPACE || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK || vk == VK_TAB)
        ch = static_cast<int>(vk);
    if (ch >= 0) {
        UINT char_msg = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        queue().posted.push_back(Entry{stamp(msg->hwnd, char_msg, static_cast<WPARAM>(ch), msg->lParam)});
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    ORVEX_API(msg);
    if (!msg || !msg->hwnd) return 0;
    return send_message(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    ORVEX_API(wnd, msg, wparam, lparam);
    if (!proc) return 0;
    ProgramCodeScope program;
    return proc(wnd, msg, wparam, lparam);
}
