// The X11 display driver: what its parts share. Only the driver's own files
// include this header; X11 names stay out of everything else.
#pragma once

#include "platform/win32.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/driver.h"
#include "platform/core/window.h"
#include "platform/x11/x11_text.h"

namespace orvex_x11 {

// The driver works on the platform core's records and through its routines.
using namespace orvex_platform;

// LSBFirst or MSBFirst: the order of the host's 32-bit values.
inline int host_byte_order() {
    const std::uint32_t one = 1;
    return *reinterpret_cast<const unsigned char*>(&one) == 1 ? LSBFirst : MSBFirst;
}

// ---- per window --------------------------------------------------------------

struct XWindow {
    HWND hwnd{};
    ::Window id = 0;
    bool top_level = false;
    bool mapped = false;       // asked to be shown
    bool viewable = false;     // the server has mapped it
    bool focus_when_mapped = false;
    XRectangle placed{};       // client area as last sent to the server
    std::string title;         // as last sent (Windows-1252)
    HCURSOR cursor_handle{};
    bool cursor_defined = false;
    Cursor cursor = 0;         // made for this window (a file cursor), freed with it
    std::vector<XRectangle> shape;
    bool shaped = false;
    bool fullscreen = false;
    bool iconified = false;
};

// ---- the driver ----------------------------------------------------------------

class X11Driver final : public Driver {
public:
    explicit X11Driver(Display* dpy);
    ~X11Driver() override;

    const char* name() const override { return "x11"; }
    SIZE screen_size() override;
    RECT virtual_screen() override;

    void window_created(orvex_platform::Window& w) override;
    void window_destroyed(orvex_platform::Window& w) override;
    void window_changed(orvex_platform::Window& w) override;
    void window_painted(orvex_platform::Window& w) override;

    bool pump(bool wait) override;

    void capture_changed(HWND capture) override;
    POINT cursor_pos() override;
    void set_cursor_pos(POINT screen) override;
    HWND foreground() override { return foreground_; }
    void set_foreground(HWND wnd) override;

    int message_box(HWND owner, const std::string& text, const std::string& caption, UINT type) override;

    unsigned egl_platform() const override;
    void* egl_native_display() override { return dpy_; }
    bool egl_window_surfaces() const override { return true; }
    bool egl_config_fits(int native_visual_id) const override;
    void* egl_native_window(orvex_platform::Window& w) override;
    void before_swap(orvex_platform::Window&) override {}

    // ---- shared with the driver's other parts ----
    Display* display() const { return dpy_; }
    int screen() const { return screen_; }
    ::Window root() const { return root_; }
    Painter& painter() { return *painter_; }
    Atom atom(const char* name);
    XWindow* find(HWND wnd);
    XWindow* find(::Window id);
    HWND hwnd_of(::Window id);

    // Waits for the connection to have something to read, at most `ms`
    // milliseconds (-1: no limit). False on timeout.
    bool wait_for_events(int ms);
    // One event as the program's windows see it.
    void handle_event(XEvent& ev);
    // Asks the window manager (or the server, without one) for focus: at
    // once when the window is viewable, else when it has been mapped.
    void request_focus(XWindow& xw);
    void focus_x_window(::Window id);
    // The X window currently showing a message box (0 when none): for tests.
    ::Window message_box_window() const { return box_window_; }
    void set_message_box_window(::Window id) { box_window_ = id; }
    // Windows whose input a modal box holds back (the box's owner).
    void set_disabled(HWND top) { disabled_ = top; }
    HWND disabled_window() const { return disabled_; }
    // Puts the retained GDI content of a window on the screen again.
    void show_pixels(orvex_platform::Window& w, XWindow& xw);
    bool has_window_manager();
    // Screen co-ordinates have their origin at the primary monitor's
    // top-left corner, which need not be the root window's.
    POINT root_point(POINT screen) const { return POINT{screen.x + origin_.x, screen.y + origin_.y}; }
    POINT screen_point(int x_root, int y_root) const { return POINT{x_root - origin_.x, y_root - origin_.y}; }
    RECT primary_on_root() const { return primary_; }

private:
    void create_x_window(orvex_platform::Window& w, XWindow& xw);
    void set_top_level_properties(orvex_platform::Window& w, XWindow& xw);
    void set_title(XWindow& xw, const std::string& title);
    void set_size_hints(orvex_platform::Window& w, XWindow& xw);
    void update_shape(orvex_platform::Window& w, XWindow& xw);
    void update_cursor(orvex_platform::Window& w, XWindow& xw);
    void set_icon(orvex_platform::Window& w, XWindow& xw);
    XRectangle client_placement(orvex_platform::Window& w) const;
    void paint_status_bar(orvex_platform::Window& w, XWindow& xw, Drawable target);
    void on_configure(XWindow& xw, const XConfigureEvent& ev);
    void on_client_message(XWindow& xw, const XClientMessageEvent& ev);
    void on_expose(XWindow& xw, const XExposeEvent& ev);

    // Input (x11_input.cpp).
    void on_key(XWindow& xw, XKeyEvent& ev);
    void on_button(XWindow& xw, const XButtonEvent& ev);
    void on_motion(XWindow& xw, const XMotionEvent& ev);
    void post_pointer(XWindow& xw, UINT msg, int x_root, int y_root, WPARAM keys);
    WPARAM mouse_keys(unsigned state) const;

    Display* dpy_;
    int screen_;
    ::Window root_;
    RECT primary_{};   // on the root window, as the display was opened
    POINT origin_{};   // its top-left corner
    std::unique_ptr<Painter> painter_;
    std::map<std::string, Atom> atoms_;
    std::map<HWND, std::unique_ptr<XWindow>> windows_;
    std::map<::Window, HWND> ids_;
    HWND foreground_{};
    HWND capture_{};
    HWND disabled_{};
    ::Window box_window_ = 0;
    unsigned numlock_mask_ = 0;
};

X11Driver& the_driver();

}  // namespace orvex_x11
