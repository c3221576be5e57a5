// The IMAGEBUTTON control: a push button drawn from three BMP files, cut to
// the shape of its picture, that posts WM_COMMAND to its parent when clicked.
//
// Its state lives in window properties (see buttons.h), so any number of
// buttons can exist at once.
//
// Choices where the pictures are missing or broken:
// - A picture file that cannot be loaded gives no memory context and no
//   property for that state. Painting in that state then paints nothing and
//   validates the window, so that no WM_PAINT repeats for it; the window keeps
//   what it showed before.
// - Without the normal picture the button takes the size 0 by 0 (there is no
//   picture to take a size from) and no region: nothing shows and nothing can
//   be clicked.
// - A picture for which no memory context can be made is deleted, bitmap and
//   palette, at once: that state then paints as one without a picture.
// - Destruction deletes, besides the contexts and the region, the bitmap and
//   the palette that stay selected in each context, so that a button leaves no
//   GDI object behind.
#include <cstdint>
#include <string>

#include "framework/buttons/buttons.h"
#include "framework/core/checked.h"
#include "platform/frame_metrics.h"

namespace orvex {

std::string BMPTYPE;

namespace {

// The magenta of the pictures' background, with a tolerance of 1.
constexpr std::uint32_t kShapeColour = 0xFF00FF;
constexpr std::uint8_t kShapeTolerance = 1;

constexpr std::intptr_t STATE_NORMAL = 1;
constexpr std::intptr_t STATE_HOVER = 2;
constexpr std::intptr_t STATE_PRESSED = 3;

// Where a button's client area begins in a parent window made by Orvex: a
// fixed frame right of, and a fixed frame and a caption below, the parent's
// outer corner. For a parent with other frame sizes the button shifts by the
// difference.
constexpr LONG kParentClientLeft = orvex_platform::frame_metrics::fixed_frame;
constexpr LONG kParentClientTop = orvex_platform::frame_metrics::fixed_frame + orvex_platform::frame_metrics::caption;
static_assert(kParentClientLeft == 3 && kParentClientTop == 19);

std::int32_t state_of(HWND wnd) {
    const auto value = reinterpret_cast<std::uintptr_t>(GetPropA(wnd, HOVERMODE));
    return checked_narrow<std::int32_t>(value, "HOVERBUTTONHANDLER: button state");
}

void set_state(HWND wnd, std::intptr_t state) {
    SetPropA(wnd, HOVERMODE, reinterpret_cast<HANDLE>(state));
}

void repaint(HWND wnd) { InvalidateRect(wnd, nullptr, FALSE); }

// A picture with its palette selected and realised in a memory context of its
// own, stored under `name`. Without a context the picture is deleted at once:
// the button then has no picture for that state.
void store_picture(HWND wnd, const char* name, HBITMAP bitmap, HPALETTE palette) {
    if (!bitmap) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        if (palette) DeleteObject(palette);
        return;
    }
    SelectObject(dc, bitmap);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    SetPropA(wnd, name, dc);
}

void load_picture(HWND wnd, const char* name, const std::string& file) {
    HPALETTE palette = nullptr;
    HBITMAP bitmap = LOADBMPFROMFILE(file, palette);
    store_picture(wnd, name, bitmap, palette);
}

void release_picture(HWND wnd, const char* name) {
    if (HDC dc = static_cast<HDC>(GetPropA(wnd, name))) {
        HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
        HGDIOBJ palette = GetCurrentObject(dc, OBJ_PAL);
        DeleteDC(dc);
        // Stock objects (a context whose picture was never selected) survive this.
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
    RemovePropA(wnd, name);
}

void on_create(HWND wnd) {
    // The prefix is read once: changing BMPTYPE later leaves this button alone.
    const std::string prefix = BMPTYPE;
    const std::string normal_file = prefix + "N.BMP";

    HPALETTE palette = nullptr;
    HBITMAP normal = LOADBMPFROMFILE(normal_file, palette);
    BITMAP bm{};
    if (normal) GetObjectA(normal, sizeof bm, &bm);

    // A button without a parent is placed on the screen: it stays where it
    // was created.
    RECT r{};
    GetWindowRect(wnd, &r);
    LONG x = r.left, y = r.top;
    if (HWND parent = GetParent(wnd)) {
        RECT p{};
        GetWindowRect(parent, &p);
        x = checked_sub(checked_sub(r.left, p.left, "HOVERBUTTONHANDLER: position"), kParentClientLeft,
                        "HOVERBUTTONHANDLER: position");
        y = checked_sub(checked_sub(r.top, p.top, "HOVERBUTTONHANDLER: position"), kParentClientTop,
                        "HOVERBUTTONHANDLER: position");
    }
    MoveWindow(wnd, x, y, bm.bmWidth, bm.bmHeight, FALSE);

    store_picture(wnd, NORMALBMP, normal, palette);
    load_picture(wnd, HOVERBMP, prefix + "H.BMP");
    load_picture(wnd, PRESSBMP, prefix + "P.BMP");
    set_state(wnd, STATE_NORMAL);

    HRGN shape = BITMAPTOREGION(normal_file, kShapeColour, kShapeTolerance);
    if (!shape) return;
    SetWindowRgn(wnd, shape, FALSE);
    if (HRGN hit = BITMAPTOREGION(normal_file, kShapeColour, kShapeTolerance)) SetPropA(wnd, BUTTONRGN, hit);
}

void on_paint(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    const char* name = nullptr;
    switch (state_of(wnd)) {
        case STATE_NORMAL: name = NORMALBMP; break;
        case STATE_HOVER: name = HOVERBMP; break;
        case STATE_PRESSED: name = PRESSBMP; break;
        default: break;
    }
    HDC picture = name ? static_cast<HDC>(GetPropA(wnd, name)) : nullptr;
    if (!picture) {
        ValidateRect(wnd, nullptr);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    BitBlt(dc, 0, 0, checked_sub(r.right, r.left, "HOVERBUTTONHANDLER: width"),
           checked_sub(r.bottom, r.top, "HOVERBUTTONHANDLER: height"), picture, 0, 0, SRCCOPY);
    EndPaint(wnd, &ps);
}

void on_mouse_move(HWND wnd, WPARAM wparam, LPARAM lparam) {
    const std::int32_t state = state_of(wnd);
    HRGN region = static_cast<HRGN>(GetPropA(wnd, BUTTONRGN));
    if (state == 0 || !region) return;
    const int x = LOWORD(lparam);
    const int y = HIWORD(lparam);
    if (PtInRegion(region, x, y)) {
        if (state != STATE_NORMAL) return;
        set_state(wnd, (wparam & (MK_LBUTTON | MK_RBUTTON)) == 0 ? STATE_HOVER : STATE_PRESSED);
        SetCapture(wnd);
        repaint(wnd);
    } else {
        set_state(wnd, STATE_NORMAL);
        ReleaseCapture();
        repaint(wnd);
    }
}

void on_left_up(HWND wnd) {
    if (state_of(wnd) == STATE_PRESSED) {
        const auto id = static_cast<WORD>(GetWindowLongPtrA(wnd, GWLP_ID));
        PostMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    set_state(wnd, STATE_NORMAL);
    ReleaseCapture();
    repaint(wnd);
}

void on_destroy(HWND wnd) {
    RemovePropA(wnd, HOVERMODE);
    if (HRGN region = static_cast<HRGN>(GetPropA(wnd, BUTTONRGN))) DeleteObject(region);
    RemovePropA(wnd, BUTTONRGN);
    release_picture(wnd, PRESSBMP);
    release_picture(wnd, HOVERBMP);
    release_picture(wnd, NORMALBMP);
}

}  // namespace

LRESULT CALLBACK HOVERBUTTONHANDLER(HWND WND, UINT IMSG, WPARAM wparam, LPARAM lparam) {
    switch (IMSG) {
        case WM_CREATE: on_create(WND); return 0;
        case WM_PAINT: on_paint(WND); return 0;
        case WM_MOUSEMOVE: on_mouse_move(WND, wparam, lparam); return 0;
        case WM_LBUTTONDOWN:
            SetCapture(WND);
            set_state(WND, STATE_PRESSED);
            repaint(WND);
            return 0;
        case WM_LBUTTONUP: on_left_up(WND); return 0;
        case WM_DESTROY: on_destroy(WND); return 0;
        default: return DefWindowProcA(WND, IMSG, wparam, lparam);
    }
}

}  // namespace orvex
