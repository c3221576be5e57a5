// Keyboard and pointer input from X, as the messages a Windows program
// receives: keys as the platform's key events (their messages are made by
// the platform's keyboard), mouse buttons and motion as mouse input at a
// screen point with the MK_ flags (the platform's queue gives it to a window).
#include "platform/core/input.h"
#include "platform/core/keyboard.h"
#include "platform/core/message_queue.h"
#include "platform/x11/x11_driver.h"
#include "platform/x11/x11_keys.h"

namespace orvex_x11 {

void X11Driver::on_key(XWindow& xw, XKeyEvent& ev) {
    HWND top = top_level_of(xw.hwnd);
    if (disabled_ && top == disabled_) return;
    if (ev.type == KeyRelease && XEventsQueued(dpy_, QueuedAfterReading) > 0) {
        // Without detectable auto-repeat the server repeats a held key as a
        // release and a press at the same moment; Windows sends presses alone.
        XEvent next;
        XPeekEvent(dpy_, &next);
        if (next.type == KeyPress && next.xkey.keycode == ev.keycode && next.xkey.window == ev.window &&
            next.xkey.time - ev.time < 2)
            return;
    }
    const KeyEvent k = translate_key(dpy_, ev.keycode, (ev.state & numlock_mask_) != 0, ev.type == KeyPress);
    if (k.vk == 0) return;
    // Keys reach the window that has the focus: that is the foreground window.
    if (foreground_ != top) foreground_ = top;
    deliver_key(k);
}

WPARAM X11Driver::mouse_keys(unsigned state) const {
    WPARAM k = 0;
    if (state & Button1Mask) k |= MK_LBUTTON;
    if (state & Button3Mask) k |= MK_RBUTTON;
    if (state & Button2Mask) k |= MK_MBUTTON;
    if (state & ShiftMask) k |= MK_SHIFT;
    if (state & ControlMask) k |= MK_CONTROL;
    return k;
}

void X11Driver::post_pointer(XWindow& xw, UINT msg, int x_root, int y_root, WPARAM keys) {
    // The owner of an open message box hears nothing: on Windows it is disabled.
    HWND holder = capture_ && find_window(capture_) ? capture_ : xw.hwnd;
    if (disabled_ && top_level_of(holder) == disabled_) return;
    // The window it goes to is decided as the program reads it, whatever
    // X reported it to: the capture may have changed by then. Where X
    // reports the window under the pointer (not while the capture grabs the
    // pointer), its top-level window tells how windows lie on each other.
    const HWND top = capture_ ? nullptr : top_level_of(xw.hwnd);
    post_mouse_input(msg, screen_point(x_root, y_root), keys, top);
}

void X11Driver::on_button(XWindow& xw, const XButtonEvent& ev) {
    const bool down = ev.type == ButtonPress;
    WPARAM keys = mouse_keys(ev.state);  // the state before this event
    UINT msg = 0;
    WPARAM flag = 0;
    switch (ev.button) {
        case Button1: msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; flag = MK_LBUTTON; break;
        case Button2: msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; flag = MK_MBUTTON; break;
        case Button3: msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; flag = MK_RBUTTON; break;
        case Button4:
        case Button5: {
            if (!down) return;
            // The wheel: to the focus window, with the pointer on the screen.
            HWND target = foreground_ ? foreground_ : top_level_of(xw.hwnd);
            if (disabled_ && target == disabled_) return;
            short delta = ev.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
            const POINT at = screen_point(ev.x_root, ev.y_root);
            post_input_message(target, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)),
                               MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
            return;
        }
        default: return;
    }
    keys = down ? (keys | flag) : (keys & ~flag);
    post_pointer(xw, msg, ev.x_root, ev.y_root, keys);
}

void X11Driver::on_motion(XWindow& xw, const XMotionEvent& ev) {
    post_pointer(xw, WM_MOUSEMOVE, ev.x_root, ev.y_root, mouse_keys(ev.state));
}

}  // namespace orvex_x11
