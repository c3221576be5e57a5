// The X11 display driver: the connection, the event loop, focus, pointer
// grabs and the pointer position, and EGL on X11.
#include "platform/x11/x11_driver.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <poll.h>

#include <cerrno>

#include "platform/core/input.h"
#include "platform/core/keyboard.h"
#include "platform/core/message_queue.h"
#include "platform/x11/x11_keys.h"
#include "platform/x11/x11_monitors.h"

namespace orvex_x11 {

namespace {
X11Driver* g_driver = nullptr;

// Requests that race with windows going away (a focus change for a window
// just unmapped, a grab of one no longer viewable) fail harmlessly; the
// default handler would end the program for them.
int tolerate_error(Display*, XErrorEvent*) { return 0; }
}  // namespace

X11Driver& the_driver() { return *g_driver; }

X11Driver::X11Driver(Display* dpy)
    : dpy_(dpy), screen_(DefaultScreen(dpy)), root_(RootWindow(dpy, DefaultScreen(dpy))),
      painter_(std::make_unique<Painter>(dpy, DefaultScreen(dpy))) {
    g_driver = this;
    XSetErrorHandler(tolerate_error);
    // Held keys repeat as presses alone, as on Windows, where the server can;
    // where it cannot, on_key takes its release and press pairs for repeats.
    XkbSetDetectableAutoRepeat(dpy_, True, nullptr);
    numlock_mask_ = find_numlock_mask(dpy_);
    // The monitors as they are now: a later change of the layout is not followed.
    primary_ = primary_monitor(query_monitors(dpy_, root_, screen_));
    origin_ = POINT{primary_.left, primary_.top};
}

X11Driver::~X11Driver() {
    // The driver goes at the end of the process, after EGL has let go of
    // the display (it registered its own clean-up later than the driver).
    painter_.reset();
    if (g_driver == this) g_driver = nullptr;
    XCloseDisplay(dpy_);
}

Atom X11Driver::atom(const char* name) {
    auto it = atoms_.find(name);
    if (it != atoms_.end()) return it->second;
    Atom a = XInternAtom(dpy_, name, False);
    atoms_.emplace(name, a);
    return a;
}

XWindow* X11Driver::find(HWND wnd) {
    auto it = windows_.find(wnd);
    return it == windows_.end() ? nullptr : it->second.get();
}

XWindow* X11Driver::find(::Window id) {
    auto it = ids_.find(id);
    return it == ids_.end() ? nullptr : find(it->second);
}

HWND X11Driver::hwnd_of(::Window id) {
    auto it = ids_.find(id);
    return it == ids_.end() ? nullptr : it->second;
}

SIZE X11Driver::screen_size() { return SIZE{primary_.right - primary_.left, primary_.bottom - primary_.top}; }

RECT X11Driver::virtual_screen() {
    // The root window: every monitor lies on it.
    return RECT{-origin_.x, -origin_.y, DisplayWidth(dpy_, screen_) - origin_.x,
                DisplayHeight(dpy_, screen_) - origin_.y};
}

bool X11Driver::wait_for_events(int ms) {
    XFlush(dpy_);
    if (XEventsQueued(dpy_, QueuedAlready) > 0) return true;
    pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
    int r;
    do {
        r = poll(&p, 1, ms);
    } while (r < 0 && errno == EINTR);
    return r > 0;
}

bool X11Driver::pump(bool wait) {
    if (wait && XPending(dpy_) == 0) wait_for_events(-1);
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        handle_event(ev);
    }
    XFlush(dpy_);
    // A display connection can always deliver more.
    return true;
}

void X11Driver::handle_event(XEvent& ev) {
    if (ev.type == MappingNotify) {
        XRefreshKeyboardMapping(&ev.xmapping);
        numlock_mask_ = find_numlock_mask(dpy_);
        return;
    }
    XWindow* xw = find(ev.xany.window);
    if (!xw) return;
    orvex_platform::Window* w = find_window(xw->hwnd);
    if (!w) return;
    switch (ev.type) {
        case Expose: on_expose(*xw, ev.xexpose); break;
        case ConfigureNotify: on_configure(*xw, ev.xconfigure); break;
        case MapNotify:
            xw->viewable = true;
            if (xw->top_level && xw->iconified) {
                // Restored by the window manager.
                xw->iconified = false;
                w->minimized = false;
                InvalidateRect(xw->hwnd, nullptr, TRUE);
            }
            if (xw->focus_when_mapped) {
                xw->focus_when_mapped = false;
                if (foreground_ == xw->hwnd) request_focus(*xw);
            }
            if (capture_ == xw->hwnd) capture_changed(capture_);
            break;
        case UnmapNotify:
            xw->viewable = false;
            if (xw->top_level && xw->mapped && !xw->iconified) {
                // Minimised by the window manager.
                xw->iconified = true;
                w->minimized = true;
            }
            break;
        case FocusIn:
            if (xw->top_level && ev.xfocus.mode != NotifyGrab && ev.xfocus.mode != NotifyUngrab &&
                ev.xfocus.detail != NotifyPointer)
                foreground_ = xw->hwnd;
            break;
        case FocusOut:
            if (xw->top_level && ev.xfocus.mode != NotifyGrab && ev.xfocus.mode != NotifyUngrab &&
                ev.xfocus.detail != NotifyInferior && ev.xfocus.detail != NotifyPointer) {
                if (foreground_ == xw->hwnd) foreground_ = nullptr;
                release_held_keys();
            }
            break;
        case KeyPress:
        case KeyRelease: on_key(*xw, ev.xkey); break;
        case ButtonPress:
        case ButtonRelease: on_button(*xw, ev.xbutton); break;
        case MotionNotify: on_motion(*xw, ev.xmotion); break;
        case ClientMessage: on_client_message(*xw, ev.xclient); break;
        default: break;
    }
}

void X11Driver::on_client_message(XWindow& xw, const XClientMessageEvent& ev) {
    if (ev.message_type != atom("WM_PROTOCOLS") || ev.format != 32) return;
    Atom protocol = static_cast<Atom>(ev.data.l[0]);
    if (protocol == atom("WM_DELETE_WINDOW")) {
        // The close button: what the system menu's Close command does.
        if (disabled_ && top_level_of(xw.hwnd) == disabled_) return;
        post_input_message(xw.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (protocol == atom("_NET_WM_PING")) {
        XClientMessageEvent reply = ev;
        reply.window = root_;
        XSendEvent(dpy_, root_, False, SubstructureNotifyMask | SubstructureRedirectMask,
                   reinterpret_cast<XEvent*>(&reply));
    }
}

bool X11Driver::has_window_manager() {
    Atom check = atom("_NET_SUPPORTING_WM_CHECK");
    auto child_of = [&](::Window on) -> ::Window {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        ::Window result = 0;
        if (XGetWindowProperty(dpy_, on, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
                Success &&
            data && type == XA_WINDOW && format == 32 && count == 1)
            result = static_cast<::Window>(*reinterpret_cast<unsigned long*>(data));
        if (data) XFree(data);
        return result;
    };
    ::Window wm = child_of(root_);
    // A stale property (the manager has gone) names a window that no longer names itself.
    return wm != 0 && child_of(wm) == wm;
}

void X11Driver::request_focus(XWindow& xw) {
    if (!xw.viewable) {
        xw.focus_when_mapped = true;
        return;
    }
    focus_x_window(xw.id);
}

void X11Driver::focus_x_window(::Window id) {
    if (has_window_manager()) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = id;
        e.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1;  // from an application
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy_, root_, False, SubstructureNotifyMask | SubstructureRedirectMask, &e);
    } else {
        XRaiseWindow(dpy_, id);
        XSetInputFocus(dpy_, id, RevertToPointerRoot, CurrentTime);
    }
    XFlush(dpy_);
}

void X11Driver::set_foreground(HWND wnd) {
    foreground_ = wnd;
    XWindow* xw = find(wnd);
    // A window not yet on the screen gets the focus once the server has mapped it.
    if (xw && xw->top_level) request_focus(*xw);
}

void X11Driver::capture_changed(HWND capture) {
    capture_ = capture;
    XWindow* xw = find(capture);
    if (xw && xw->viewable) {
        // Every pointer event goes to the capturing window, in its
        // co-ordinates, wherever the pointer is.
        XGrabPointer(dpy_, xw->id, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime);
    } else {
        XUngrabPointer(dpy_, CurrentTime);
    }
    XFlush(dpy_);
}

POINT X11Driver::cursor_pos() {
    ::Window r = 0, c = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy_, root_, &r, &c, &rx, &ry, &wx, &wy, &mask);
    return screen_point(rx, ry);
}

void X11Driver::set_cursor_pos(POINT screen) {
    const POINT p = root_point(screen);
    XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, p.x, p.y);
    // Waits until the server has moved the pointer: as on Windows, every
    // program that asks afterwards sees the new position.
    XSync(dpy_, False);
}

unsigned X11Driver::egl_platform() const { return EGL_PLATFORM_X11_KHR; }

bool X11Driver::egl_config_fits(int native_visual_id) const {
    // Windows use the screen's default visual: a config of another visual
    // (one with an alpha channel the compositor would blend) does not fit.
    return static_cast<VisualID>(native_visual_id) == XVisualIDFromVisual(DefaultVisual(dpy_, screen_));
}

void* X11Driver::egl_native_window(orvex_platform::Window& w) {
    XWindow* xw = find(w.handle);
    return xw ? &xw->id : nullptr;
}

}  // namespace orvex_x11
