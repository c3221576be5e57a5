// Window device contexts, painting and update regions.
#include "platform/core/device_context.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/window.h"

namespace orvex_platform {

namespace {
std::vector<HDC>& window_dcs() {
    static std::vector<HDC> list;
    return list;
}

RECT united(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
}  // namespace

HDC new_window_dc(HWND wnd) {
    auto dc = std::make_unique<DeviceContext>();
    dc->window = wnd;
    dc->screen = wnd == nullptr;
    HDC h = static_cast<HDC>(add_gdi_object(std::move(dc)));
    if (h) window_dcs().push_back(h);
    return h;
}

Window* window_of_dc(HDC dc) {
    auto* d = find_gdi<DeviceContext>(dc, GdiKind::device_context);
    return d ? find_window(d->window) : nullptr;
}

void release_window_dcs(HWND wnd) {
    auto& list = window_dcs();
    for (auto it = list.begin(); it != list.end();) {
        auto* d = find_gdi<DeviceContext>(*it, GdiKind::device_context);
        if (!d || d->window == wnd) {
            remove_gdi_object(*it);
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

namespace {
bool release_dc(HWND wnd, HDC dc) {
    auto* d = find_gdi<DeviceContext>(dc, GdiKind::device_context);
    if (!d || d->memory || d->window != wnd) return false;
    if (wnd && !find_window(wnd)) return false;
    auto& list = window_dcs();
    list.erase(std::remove(list.begin(), list.end(), dc), list.end());
    remove_gdi_object(dc);
    return true;
}
}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

HDC WINAPI GetDC(HWND wnd) {
    ORVEX_API(wnd);
    if (wnd && !find_window(wnd)) return nullptr;
    return new_window_dc(wnd);
}

int WINAPI ReleaseDC(HWND wnd, HDC dc) {
    ORVEX_API(wnd, dc);
    return release_dc(wnd, dc) ? 1 : 0;
}

HWND WINAPI WindowFromDC(HDC dc) {
    ORVEX_API(dc);
    auto* d = find_gdi<DeviceContext>(dc, GdiKind::device_context);
    return d ? d->window : nullptr;
}

BOOL WINAPI InvalidateRect(HWND wnd, const RECT* rect, BOOL erase) {
    ORVEX_API(wnd, rect, erase);
    if (!wnd) {
        for (HWND h : all_windows()) InvalidateRect(h, nullptr, erase);
        return TRUE;
    }
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    SIZE s = client_size(*w);
    RECT r = rect ? *rect : RECT{0, 0, s.cx, s.cy};
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, s.cx);
    r.bottom = std::min<LONG>(r.bottom, s.cy);
    if (empty(r)) return TRUE;
    w->update = w->update ? united(*w->update, r) : r;
    if (erase) w->erase_pending = true;
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND wnd, const RECT* rect) {
    ORVEX_API(wnd, rect);
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    if (!w->update) return TRUE;
    const RECT& u = *w->update;
    // The update region is kept as one rectangle: it goes when the validated
    // part covers it.
    if (!rect || (rect->left <= u.left && rect->top <= u.top && rect->right >= u.right && rect->bottom >= u.bottom)) {
        w->update.reset();
        w->erase_pending = false;
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND wnd, LPRECT rect, BOOL erase) {
    ORVEX_API(wnd, rect, erase);
    Window* w = find_window(wnd);
    if (!w) return FALSE;
    if (rect) *rect = w->update ? *w->update : RECT{0, 0, 0, 0};
    return w->update ? TRUE : FALSE;
}

HDC WINAPI BeginPaint(HWND wnd, PAINTSTRUCT* ps) {
    ORVEX_API(wnd, ps);
    Window* w = find_window(wnd);
    if (!w || !ps) return nullptr;
    std::memset(ps, 0, sizeof *ps);
    HDC dc = new_window_dc(wnd);
    if (!dc) return nullptr;  // the update region stays for the next paint
    ps->hdc = dc;
    ps->rcPaint = w->update ? *w->update : RECT{0, 0, 0, 0};
    bool erase = w->erase_pending;
    w->update.reset();
    w->erase_pending = false;
    if (erase) ps->fErase = send_message(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL WINAPI EndPaint(HWND wnd, const PAINTSTRUCT* ps) {
    ORVEX_API(wnd, ps);
    if (!ps) return FALSE;
    Window* w = find_window(wnd);
    release_dc(wnd, ps->hdc);
    if (w && !w->pixels.empty()) driver().window_painted(*w);
    return TRUE;
}
