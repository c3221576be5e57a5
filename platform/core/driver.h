// What the platform core asks of a display. The core keeps every window,
// message and object; a driver only shows them and turns a display's events
// into the messages a Windows program receives (through post_input_message
// and post_mouse_input, message_queue.h, and deliver_key, keyboard.h).
#pragma once

#include <string>

#include "platform/win32.h"

namespace orvex_platform {

struct Window;

class Driver {
public:
    virtual ~Driver() = default;
    virtual const char* name() const = 0;

    // The primary monitor's size. Screen co-ordinates have their origin at
    // its top-left corner, as on Windows; other monitors may lie at negative
    // co-ordinates.
    virtual SIZE screen_size() = 0;
    // Every monitor together, in screen co-ordinates: where the cursor can go.
    virtual RECT virtual_screen() {
        SIZE s = screen_size();
        return RECT{0, 0, s.cx, s.cy};
    }

    // Windows: called after the core has made or changed its record.
    virtual void window_created(Window& w) = 0;
    virtual void window_destroyed(Window& w) = 0;
    virtual void window_changed(Window& w) = 0;  // position, size, visibility, title or region
    // GDI content of a window's client area changed (w.pixels).
    virtual void window_painted(Window& w) = 0;

    // Moves what the display has delivered into the message queue. With
    // `wait`, blocks until something arrives; false when nothing ever will.
    virtual bool pump(bool wait) = 0;

    virtual void capture_changed(HWND capture) = 0;
    virtual POINT cursor_pos() = 0;
    virtual void set_cursor_pos(POINT screen) = 0;
    virtual HWND foreground() = 0;
    virtual void set_foreground(HWND wnd) = 0;

    // A modal box; the answer as MessageBoxA gives it, 0 when none can be shown.
    virtual int message_box(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;

    // Rendering contexts come from EGL.
    virtual unsigned egl_platform() const = 0;
    virtual void* egl_native_display() = 0;
    virtual bool egl_window_surfaces() const = 0;  // false: pbuffers of the client size
    // Whether the display can show a config of this native visual in its
    // windows; the others are not offered as pixel formats.
    virtual bool egl_config_fits(int native_visual_id) const {
        (void)native_visual_id;
        return true;
    }
    virtual void* egl_native_window(Window& w) = 0;
    // Called by SwapBuffers with the window's surface current, before the swap.
    virtual void before_swap(Window& w) = 0;
};

Driver& driver();

// Ends the program because the display it needs cannot be had: "orvex: "
// and `why` on stderr, exit status EXIT_DISPLAY_UNAVAILABLE.
[[noreturn]] void fatal_display_error(const std::string& why);

}  // namespace orvex_platform
