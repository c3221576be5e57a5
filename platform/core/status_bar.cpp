// The status bar control of the common controls: a child window along the
// bottom of its parent that keeps the right edges of its parts and a text
// for each part.
#include "platform/core/status_bar.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/window.h"

namespace orvex_platform {

namespace {
constexpr int kHeight = 22;
constexpr int kMaxParts = 256;

std::map<HWND, StatusBarState>& bars() {
    static std::map<HWND, StatusBarState> m;
    return m;
}

void place_at_bottom(HWND wnd) {
    Window* w = find_window(wnd);
    Window* p = w ? find_window(w->parent) : nullptr;
    if (!p) return;
    SIZE s = client_size(*p);
    w->rect = RECT{0, s.cy - kHeight, s.cx, s.cy};
    driver().window_changed(*w);
}

LRESULT copy_text(const std::string& text, char* out) {
    if (out) std::memcpy(out, text.c_str(), text.size() + 1);
    return MAKELONG(static_cast<WORD>(text.size()), 0);
}
}  // namespace

const StatusBarState* status_bar_state(HWND wnd) {
    auto it = bars().find(wnd);
    return it == bars().end() ? nullptr : &it->second;
}

LRESULT CALLBACK status_bar_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case WM_CREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
            StatusBarState& s = bars()[wnd];
            s.edges = {-1};
            s.texts = {cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : ""};
            place_at_bottom(wnd);
            return 0;
        }
        case WM_NCDESTROY: bars().erase(wnd); return 0;
        case WM_SIZE: return 0;
        case SB_SETPARTS: {
            auto it = bars().find(wnd);
            if (it == bars().end()) return FALSE;
            int count = static_cast<int>(wparam);
            if (count < 0 || count > kMaxParts || (count > 0 && !lparam)) return FALSE;
            const int* edges = reinterpret_cast<const int*>(lparam);
            it->second.edges.assign(edges, edges + count);
            it->second.texts.resize(static_cast<std::size_t>(std::max(count, 1)));
            InvalidateRect(wnd, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETPARTS: {
            auto it = bars().find(wnd);
            if (it == bars().end()) return 0;
            const auto& e = it->second.edges;
            if (lparam) {
                std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(wparam), e.size());
                std::copy_n(e.begin(), n, reinterpret_cast<int*>(lparam));
            }
            return static_cast<LRESULT>(e.size());
        }
        case SB_SETTEXTA: {
            auto it = bars().find(wnd);
            std::size_t part = wparam & 0xFF;
            if (it == bars().end() || part >= it->second.texts.size()) return FALSE;
            const char* text = reinterpret_cast<const char*>(lparam);
            it->second.texts[part] = (text && !IS_INTRESOURCE(text)) ? text : "";
            InvalidateRect(wnd, nullptr, TRUE);
            return TRUE;
        }
        case SB_GETTEXTA:
        case SB_GETTEXTLENGTHA: {
            auto it = bars().find(wnd);
            std::size_t part = wparam & 0xFF;
            if (it == bars().end() || part >= it->second.texts.size()) return 0;
            const std::string& t = it->second.texts[part];
            return copy_text(t, msg == SB_GETTEXTA ? reinterpret_cast<char*>(lparam) : nullptr);
        }
        case WM_SETTEXT:
            DefWindowProcA(wnd, msg, wparam, lparam);
            return status_bar_proc(wnd, SB_SETTEXTA, 0, lparam);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            EndPaint(wnd, &ps);
            return 0;
        }
        default: return DefWindowProcA(wnd, msg, wparam, lparam);
    }
}

}  // namespace orvex_platform

using namespace orvex_platform;

HWND WINAPI CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id) {
    ORVEX_API(style, text, parent, id);
    return CreateWindowExA(0, STATUSCLASSNAMEA, text, static_cast<DWORD>(style), 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}
