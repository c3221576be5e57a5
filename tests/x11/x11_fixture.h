// The tests' view of the X server: their own connection (to make input
// with XTest and to look at windows as any other client would), windows of
// a recording class, and waiting for what arrives asynchronously.
#pragma once

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "platform/win32.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace orvex_test {

struct Received {
    HWND wnd;
    UINT msg;
    WPARAM wparam;
    LPARAM lparam;
};

// Messages of the recording class, in the order its procedure saw them.
std::vector<Received>& received();
// Messages of one kind from the record.
std::vector<Received> received(UINT msg);
// Which input messages the recording procedure keeps.
bool recorded_kind(UINT msg);

class X11Test : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A top-level window of the recording class with its client area at
    // (x, y) on the screen, shown, mapped and holding the focus.
    HWND open_window(int x, int y, int width, int height, DWORD style = WS_POPUP);
    // Dispatches the program's messages until `done` holds or `ms` passed.
    bool pump_until(const std::function<bool()>& done, int ms = 5000);
    void pump_for(int ms);
    bool wait_viewable(HWND wnd, int ms = 5000);
    ::Window xid(HWND wnd);

    // Input through XTest, as a user would give it.
    void key(KeySym sym, bool down);
    void tap(KeySym sym);
    void move_pointer(int x, int y);
    void button(unsigned b, bool down);
    void sync();

    Display* dpy = nullptr;  // the tests' own connection
    std::vector<HWND> windows;
};

// The _NET_WM_NAME (UTF-8) of an X window, empty when it has none.
std::string net_wm_name(Display* dpy, ::Window w);
// The top-level X windows (children of the root) whose _NET_WM_NAME is `name`.
std::vector<::Window> windows_named(Display* dpy, const std::string& name);

}  // namespace orvex_test
