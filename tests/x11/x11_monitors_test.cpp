// Several monitors: a Windows program sees the primary monitor as its
// screen, with the origin of screen co-ordinates at its top-left corner;
// full-screen windows cover it and message boxes are centred on it.
//
// This program's Xvfb is 2048 by 768, split by RandR into two monitors side
// by side, the right one primary: screen co-ordinates and the root
// window's differ by 1024. The grass program also runs on Xephyr with two
// Xinerama heads (Xephyr shows itself on that Xvfb).
#include "tests/x11/x11_fixture.h"
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "platform/x11/x11_monitors.h"
#include "tests/x11/xvfb.h"

namespace orvex_test {
namespace {

constexpr RECT kLeft{0, 0, 1024, 768};
constexpr RECT kRight{1024, 0, 2048, 768};  // the primary monitor
constexpr RECT kScreen{0, 0, 2048, 768};

// ---- the rule, from what a server reports --------------------------------

TEST(PrimaryMonitor, RandrsPrimaryThenThePrimaryOutputThenTheFirstXineramaHeadThenTheScreen) {
    using Monitors = std::vector<orvex_x11::MonitorReport::Monitor>;
    struct Case {
        const char* name;
        orvex_x11::MonitorReport report;
        RECT expected;
    };
    const Case cases[] = {
        {"RandR's primary monitor, wherever it is in the list",
         {Monitors{{kLeft, false}, {kRight, true}}, std::nullopt, {kLeft, kRight}, kScreen}, kRight},
        {"RandR monitors without a primary one: the first Xinerama head",
         {Monitors{{kLeft, false}, {kRight, false}}, std::nullopt, {kRight, kLeft}, kScreen}, kRight},
        {"an older RandR: the primary output's CRTC",
         {std::nullopt, RECT{1024, 0, 2048, 768}, {kLeft, kRight}, kScreen}, kRight},
        {"a disabled primary output has no area",
         {std::nullopt, RECT{0, 0, 0, 0}, {kLeft, kRight}, kScreen}, kLeft},
        {"a primary monitor partly off the screen is cut to it",
         {Monitors{{RECT{1500, 0, 2548, 768}, true}}, std::nullopt, {}, kScreen}, RECT{1500, 0, 2048, 768}},
        {"a primary monitor wholly off the screen is passed over",
         {Monitors{{RECT{3000, 0, 4024, 768}, true}}, std::nullopt, {kRight}, kScreen}, kRight},
        {"nothing but the screen", {std::nullopt, std::nullopt, {}, kScreen}, kScreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT r = orvex_x11::primary_monitor(c.report);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

// ---- two RandR monitors on this program's Xvfb ---------------------------

bool g_monitors_set = false;

void add_monitor(Display* dpy, const char* name, const RECT& area, bool primary) {
    XRRMonitorInfo* m = XRRAllocateMonitor(dpy, 0);
    m->name = XInternAtom(dpy, name, False);
    m->primary = primary ? True : False;
    m->x = area.left;
    m->y = area.top;
    m->width = area.right - area.left;
    m->height = area.bottom - area.top;
    m->mwidth = 270;  // millimetres
    m->mheight = 203;
    XRRSetMonitor(dpy, DefaultRootWindow(dpy), m);
    XRRFreeMonitors(m);
}

class X11Monitors : public X11Test {
protected:
    // Before the program's driver opens the display: it reads the monitors then.
    static void SetUpTestSuite() {
        set_xvfb_screen(kScreen.right, kScreen.bottom);
        std::string why_not;
        if (!start_xvfb(why_not)) return;  // each test skips, saying why
        Display* d = XOpenDisplay(nullptr);
        if (!d) return;
        int event_base = 0, error_base = 0, major = 0, minor = 0;
        if (XRRQueryExtension(d, &event_base, &error_base) && XRRQueryVersion(d, &major, &minor) &&
            (major > 1 || minor >= 5)) {
            add_monitor(d, "ORVEX-LEFT", kLeft, false);
            add_monitor(d, "ORVEX-RIGHT", kRight, true);
            XSync(d, False);
            g_monitors_set = true;
        }
        XCloseDisplay(d);
    }

    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(g_monitors_set) << "Xvfb has no RandR 1.5 monitors";
    }

    // Where the pointer is on the root window.
    POINT pointer_on_root() {
        ::Window root = 0, child = 0;
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
        return POINT{rx, ry};
    }
};

TEST_F(X11Monitors, ScreenCoordinatesStartAtThePrimaryMonitorsCorner) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);

    HWND w = open_window(0, 0, 200, 100);
    ASSERT_NE(w, nullptr);
    ::Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(dpy, xid(w), DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
    EXPECT_EQ(x, 1024) << "(0, 0) is the primary monitor's corner";
    EXPECT_EQ(y, 0);

    move_pointer(1024 + 30, 40);
    ASSERT_TRUE(pump_until([] { return !received(WM_MOUSEMOVE).empty(); }));
    EXPECT_EQ(received(WM_MOUSEMOVE).back().lparam, MAKELPARAM(30, 40));
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 40);

    // The monitor on the left lies at negative co-ordinates; the cursor
    // stays on the monitors.
    struct Case {
        POINT asked, kept, on_root;
    };
    const Case cases[] = {
        {{-1000, 10}, {-1000, 10}, {24, 10}},
        {{5000, -50}, {1023, 0}, {2047, 0}},
        {{-2000, 900}, {-1024, 767}, {0, 767}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "SetCursorPos(" << c.asked.x << ", " << c.asked.y << ")");
        ASSERT_TRUE(SetCursorPos(c.asked.x, c.asked.y));
        ASSERT_TRUE(GetCursorPos(&p));
        EXPECT_EQ(p.x, c.kept.x);
        EXPECT_EQ(p.y, c.kept.y);
        const POINT r = pointer_on_root();
        EXPECT_EQ(r.x, c.on_root.x);
        EXPECT_EQ(r.y, c.on_root.y);
    }
}

// ---- the grass program, as a user starts it ------------------------------

// The program on a display; killed if it still runs at the end.
class GrassOn {
public:
    explicit GrassOn(const std::string& display) : pid_(fork()) {
        if (pid_ == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            execl(ORVEX_GRASS_PROGRAM, ORVEX_GRASS_PROGRAM, static_cast<char*>(nullptr));
            _exit(126);
        }
    }
    ~GrassOn() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    GrassOn(const GrassOn&) = delete;
    GrassOn& operator=(const GrassOn&) = delete;

private:
    pid_t pid_;
};

// A window of that name, shown and holding the focus; 0 after 30 seconds without.
::Window focused_window(Display* d, const std::string& name) {
    for (int i = 0; i < 1500; ++i) {
        for (::Window w : windows_named(d, name)) {
            XWindowAttributes a{};
            ::Window focus = 0;
            int revert = 0;
            XGetInputFocus(d, &focus, &revert);
            if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && focus == w) return w;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

// A window's outer rectangle (its border included) on the root.
RECT outer_on_root(Display* d, ::Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(d, w, &a);
    ::Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return RECT{x - a.border_width, y - a.border_width, x + a.width + a.border_width, y + a.height + a.border_width};
}

// The start-up question is centred on `monitor`, and the answer Yes gives
// a window covering it.
void expect_question_and_full_screen_on(const std::string& display, const RECT& monitor) {
    Display* d = XOpenDisplay(display.c_str());
    ASSERT_NE(d, nullptr) << "cannot open " << display;
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    ASSERT_TRUE(XTestQueryExtension(d, &event_base, &error_base, &major, &minor));
    GrassOn grass(display);

    const ::Window question = focused_window(d, "Video!");
    ASSERT_NE(question, 0u) << "no start-up question";
    const RECT box = outer_on_root(d, question);
    EXPECT_GE(box.left, monitor.left);
    EXPECT_LE(box.right, monitor.right);
    EXPECT_LE(std::abs((box.left + box.right) - (monitor.left + monitor.right)), 1) << "centred across";
    EXPECT_LE(std::abs((box.top + box.bottom) - (monitor.top + monitor.bottom)), 1) << "centred up and down";

    const KeyCode yes = XKeysymToKeycode(d, XK_y);
    XTestFakeKeyEvent(d, yes, True, CurrentTime);
    XTestFakeKeyEvent(d, yes, False, CurrentTime);
    XSync(d, False);
    const ::Window main = focused_window(d, "Effetto per creare erba sulle superfici - 1/5 selezione");
    ASSERT_NE(main, 0u) << "no program window";
    const RECT full = outer_on_root(d, main);
    EXPECT_EQ(full.left, monitor.left);
    EXPECT_EQ(full.top, monitor.top);
    EXPECT_EQ(full.right, monitor.right);
    EXPECT_EQ(full.bottom, monitor.bottom);
    XCloseDisplay(d);
}

TEST_F(X11Monitors, GrassAsksAndGoesFullScreenOnTheRandrPrimaryMonitor) {
    expect_question_and_full_screen_on(std::getenv("DISPLAY"), kRight);
}

TEST_F(X11Monitors, GrassAsksAndGoesFullScreenOnTheFirstXineramaHead) {
    XServer xephyr;
    std::string why_not;
    if (!xephyr.start({"Xephyr", "+xinerama", "-screen", "1024x768", "-screen", "1024x768", "-nolisten", "tcp",
                       "-noreset"},
                      why_not)) {
        if (std::getenv("ORVEX_REQUIRE_X11")) FAIL() << "no Xephyr for a display of two monitors: " << why_not;
        GTEST_SKIP() << "no Xephyr for a display of two monitors: " << why_not;
    }
    expect_question_and_full_screen_on(xephyr.display(), kLeft);
}

}  // namespace
}  // namespace orvex_test
