#include "tests/x11/x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <thread>

#include "platform/platform_control.h"
#include "platform/x11/x11.h"
#include "tests/x11/xvfb.h"

namespace orvex_test {

namespace {
LRESULT CALLBACK recording_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (recorded_kind(msg)) received().push_back(Received{wnd, msg, wparam, lparam});
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

const char* recording_class() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = recording_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "X11TestWindow";
        registered = RegisterClassA(&wc) != 0;
    }
    return "X11TestWindow";
}
}  // namespace

std::vector<Received>& received() {
    static std::vector<Received> r;
    return r;
}

std::vector<Received> received(UINT msg) {
    std::vector<Received> out;
    for (const auto& r : received())
        if (r.msg == msg) out.push_back(r);
    return out;
}

bool recorded_kind(UINT msg) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_SYSCOMMAND:
        case WM_CLOSE:
        case WM_PAINT: return true;
        default: return false;
    }
}

void X11Test::SetUp() {
    std::string why_not;
    if (!start_xvfb(why_not)) {
        // Where the tests must run (CI), not running them is a failure.
        if (std::getenv("ORVEX_REQUIRE_X11")) FAIL() << "no X server for the X11 tests: " << why_not;
        GTEST_SKIP() << "no X server for the X11 tests: " << why_not;
    }
    orvex_platform::choose_driver(orvex_platform::DriverChoice::x11);
    ASSERT_STREQ(orvex_platform::driver_name(), "x11") << "the X11 driver did not open the display";
    dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    int event_base, error_base, major, minor;
    ASSERT_TRUE(XTestQueryExtension(dpy, &event_base, &error_base, &major, &minor));
    received().clear();
}

void X11Test::TearDown() {
    for (HWND w : windows)
        if (IsWindow(w)) DestroyWindow(w);
    windows.clear();
    if (dpy) {
        // Nothing stays pressed for the next test.
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XTestFakeButtonEvent(dpy, 3, False, CurrentTime);
        XSync(dpy, False);
        XCloseDisplay(dpy);
        dpy = nullptr;
    }
    pump_for(20);
    received().clear();
}

HWND X11Test::open_window(int x, int y, int width, int height, DWORD style) {
    HWND w = CreateWindowExA(0, recording_class(), "x11 test", style, x, y, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr);
    if (!w) return nullptr;
    windows.push_back(w);
    ShowWindow(w, SW_SHOWNORMAL);
    EXPECT_TRUE(wait_viewable(w));
    // The window asked for the focus when it was shown.
    EXPECT_TRUE(pump_until([&] {
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(dpy, &focus, &revert);
        return focus == xid(w);
    })) << "the window did not get the keyboard focus";
    pump_for(20);
    received().clear();
    return w;
}

bool X11Test::pump_until(const std::function<bool()>& done, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            if (done()) return true;
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void X11Test::pump_for(int ms) {
    pump_until([] { return false; }, ms);
}

::Window X11Test::xid(HWND wnd) { return static_cast<::Window>(orvex_x11::window_id(wnd)); }

bool X11Test::wait_viewable(HWND wnd, int ms) {
    ::Window id = xid(wnd);
    if (!id) return false;
    return pump_until(
        [&] {
            XWindowAttributes a{};
            return XGetWindowAttributes(dpy, id, &a) && a.map_state == IsViewable;
        },
        ms);
}

void X11Test::sync() {
    // What the program asked of the server has been done, and what the tests asked too.
    if (auto* program = static_cast<Display*>(orvex_x11::display())) XSync(program, False);
    XSync(dpy, False);
}

void X11Test::key(KeySym sym, bool down) {
    KeyCode code = XKeysymToKeycode(dpy, sym);
    ASSERT_NE(code, 0) << "no key for keysym " << sym;
    XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
    sync();
}

void X11Test::tap(KeySym sym) {
    key(sym, true);
    key(sym, false);
}

void X11Test::move_pointer(int x, int y) {
    XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, CurrentTime);
    sync();
}

void X11Test::button(unsigned b, bool down) {
    XTestFakeButtonEvent(dpy, b, down ? True : False, CurrentTime);
    sync();
}

std::string net_wm_name(Display* dpy, ::Window w) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(dpy, "UTF8_STRING", False), &type, &format, &count, &after, &data) == Success &&
        data && format == 8)
        name.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    return name;
}

std::vector<::Window> windows_named(Display* dpy, const std::string& name) {
    std::vector<::Window> out;
    ::Window root_return = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root_return, &parent, &children, &n)) return out;
    for (unsigned i = 0; i < n; ++i)
        if (net_wm_name(dpy, children[i]) == name) out.push_back(children[i]);
    if (children) XFree(children);
    return out;
}

}  // namespace orvex_test
