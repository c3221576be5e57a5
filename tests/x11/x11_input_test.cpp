// Input from the X server as the messages a Windows program receives.
#include "tests/x11/x11_fixture.h"
#include "tests/support/keyboard_cases.h"
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <set>
#include <thread>


namespace orvex_test {
namespace {

class X11Input : public X11Test {
protected:
    HWND open() { return open_window(100, 100, 200, 150); }

    // The key messages since the last clear, as (message, virtual key) pairs.
    std::vector<std::pair<UINT, WPARAM>> keys() {
        std::vector<std::pair<UINT, WPARAM>> out;
        for (const auto& r : received())
            if (r.msg >= WM_KEYDOWN && r.msg <= WM_SYSKEYUP) out.emplace_back(r.msg, r.wparam);
        return out;
    }

    std::size_t count_of(UINT msg) { return received(msg).size(); }

    // A key event as a client (or an old server's auto-repeat) sends it.
    void send_key_event(HWND w, KeyCode code, int type, Time t) {
        XEvent e{};
        e.xkey.type = type;
        e.xkey.display = dpy;
        e.xkey.window = xid(w);
        e.xkey.root = DefaultRootWindow(dpy);
        e.xkey.time = t;
        e.xkey.keycode = code;
        e.xkey.same_screen = True;
        XSendEvent(dpy, xid(w), False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
    }

    void set_numlock(bool on) {
        unsigned mask = XkbKeysymToModifiers(dpy, XK_Num_Lock);
        ASSERT_NE(mask, 0u);
        XkbLockModifiers(dpy, XkbUseCoreKbd, mask, on ? mask : 0);
        sync();
    }
};

struct KeyCase {
    KeySym sym;
    unsigned vk;
    bool extended;
};

TEST_F(X11Input, KeysArriveWithTheirVirtualKeyCodes) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    const KeyCase cases[] = {
        {XK_a, 'A', false},         {XK_z, 'Z', false},          {XK_m, 'M', false},
        {XK_1, '1', false},         {XK_5, '5', false},          {XK_0, '0', false},
        {XK_Escape, VK_ESCAPE, false}, {XK_Return, VK_RETURN, false}, {XK_space, VK_SPACE, false},
        {XK_Left, VK_LEFT, true},   {XK_Up, VK_UP, true},        {XK_Right, VK_RIGHT, true},
        {XK_Down, VK_DOWN, true},   {XK_F1, VK_F1, false},       {XK_F12, VK_F12, false},
        {XK_Shift_L, VK_SHIFT, false}, {XK_Control_L, VK_CONTROL, false}, {XK_Control_R, VK_CONTROL, true},
        {XK_Home, VK_HOME, true},   {XK_Delete, VK_DELETE, true}, {XK_Tab, VK_TAB, false},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(XKeysymToString(c.sym));
        received().clear();
        tap(c.sym);
        ASSERT_TRUE(pump_until([&] { return count_of(WM_KEYUP) == 1; }));
        auto down = received(WM_KEYDOWN);
        auto up = received(WM_KEYUP);
        ASSERT_EQ(down.size(), 1u);
        EXPECT_EQ(down[0].wnd, w);
        EXPECT_EQ(down[0].wparam, c.vk);
        EXPECT_EQ(up[0].wparam, c.vk);
        // Repeat count 1; bit 24 the extended key; bit 30 the previous
        // state; bit 31 the transition.
        EXPECT_EQ(down[0].lparam & 0xFFFF, 1);
        EXPECT_EQ((down[0].lparam >> 24) & 1, c.extended ? 1 : 0);
        EXPECT_EQ((down[0].lparam >> 30) & 3, 0);
        EXPECT_EQ((up[0].lparam >> 30) & 3, 3);
        EXPECT_NE((down[0].lparam >> 16) & 0xFF, 0) << "scan code";
    }
}

// The key strokes every driver answers alike (tests/support/keyboard_cases.h),
// given as X key symbols.
TEST_F(X11Input, KeyStrokesGiveTheMessagesOfEveryDriver) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    for (const KeyboardCase& c : keyboard_cases()) {
        SCOPED_TRACE(c.name);
        pump_for(20);
        received().clear();
        std::set<KeyCode> down;
        for (const KeyStroke& k : c.strokes) {
            KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(k.x_key));
            ASSERT_NE(code, 0) << k.x_key;
            if (k.down && down.count(code)) {
                // The server does not press a key that is down again; its
                // auto-repeat does, with presses alone, as this one.
                send_key_event(w, code, KeyPress, CurrentTime);
                continue;
            }
            XTestFakeKeyEvent(dpy, code, k.down ? True : False, CurrentTime);
            if (k.down)
                down.insert(code);
            else
                down.erase(code);
        }
        sync();
        ASSERT_TRUE(pump_until([&] { return keys().size() >= c.messages.size(); }));
        pump_for(20);
        std::vector<KeyMessageSeen> seen;
        for (const auto& r : received())
            if (is_key_message(r.msg)) seen.push_back({r.msg, r.wparam, r.lparam});
        EXPECT_EQ(seen, c.messages);
    }
}

TEST_F(X11Input, KeypadDigitsAreDistinctFromTheMainDigits) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    set_numlock(true);
    struct Case {
        KeySym sym;
        unsigned vk;
    };
    // With Num Lock on the keypad gives its own digits.
    for (Case c : {Case{XK_KP_0, VK_NUMPAD0}, Case{XK_KP_5, VK_NUMPAD5}, Case{XK_KP_8, VK_NUMPAD8},
                   Case{XK_KP_9, VK_NUMPAD9}, Case{XK_8, '8'}, Case{XK_KP_Add, VK_ADD}}) {
        SCOPED_TRACE(XKeysymToString(c.sym));
        received().clear();
        tap(c.sym);
        ASSERT_TRUE(pump_until([&] { return count_of(WM_KEYUP) == 1; }));
        ASSERT_EQ(count_of(WM_KEYDOWN), 1u);
        EXPECT_EQ(received(WM_KEYDOWN)[0].wparam, c.vk);
    }
    // With Num Lock off the same key moves the caret, like the arrow key
    // but without the extended-key flag.
    set_numlock(false);
    received().clear();
    KeyCode kp8 = XKeysymToKeycode(dpy, XK_KP_8);
    XTestFakeKeyEvent(dpy, kp8, True, CurrentTime);
    XTestFakeKeyEvent(dpy, kp8, False, CurrentTime);
    sync();
    ASSERT_TRUE(pump_until([&] { return count_of(WM_KEYUP) == 1; }));
    auto down = received(WM_KEYDOWN);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].wparam, static_cast<WPARAM>(VK_UP));
    EXPECT_EQ((down[0].lparam >> 24) & 1, 0);
}

TEST_F(X11Input, AltAndF10MakeSystemKeys) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    key(XK_Alt_L, true);
    tap(XK_x);
    key(XK_Alt_L, false);
    tap(XK_F10);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_SYSKEYUP) == 3; }));
    std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'},    {WM_SYSKEYUP, 'X'},
        {WM_SYSKEYUP, VK_MENU},   {WM_SYSKEYDOWN, VK_F1 + 9}, {WM_SYSKEYUP, VK_F1 + 9}};
    EXPECT_EQ(keys(), expected);
    auto x_down = received(WM_SYSKEYDOWN)[1];
    EXPECT_EQ((x_down.lparam >> 29) & 1, 1) << "context code: Alt is down";
}

TEST_F(X11Input, HeldKeyRepeatsKeyDownWithoutKeyUp) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    // A short delay and a fast rate, so that the test need not wait long.
    ASSERT_TRUE(XkbSetAutoRepeatRate(dpy, XkbUseCoreKbd, 100, 20));
    XAutoRepeatOn(dpy);
    sync();
    key(XK_d, true);
    pump_for(450);
    key(XK_d, false);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_KEYUP) == 1; }));
    auto k = keys();
    ASSERT_GE(k.size(), 4u) << "the server repeated the key fewer than two times";
    for (std::size_t i = 0; i + 1 < k.size(); ++i) EXPECT_EQ(k[i], std::make_pair(UINT{WM_KEYDOWN}, WPARAM{'D'}));
    EXPECT_EQ(k.back(), std::make_pair(UINT{WM_KEYUP}, WPARAM{'D'}));
    auto downs = received(WM_KEYDOWN);
    EXPECT_EQ((downs[0].lparam >> 30) & 1, 0);
    for (std::size_t i = 1; i < downs.size(); ++i) EXPECT_EQ((downs[i].lparam >> 30) & 1, 1) << "repeat " << i;
}

TEST_F(X11Input, ReleasePressPairsOfOldStyleAutoRepeatAreRepeats) {
    // A server without detectable auto-repeat sends a release and a press
    // with the same time stamp for each repetition.
    HWND w = open();
    ASSERT_NE(w, nullptr);
    KeyCode code = XKeysymToKeycode(dpy, XK_g);
    auto send = [&](int type, Time t) { send_key_event(w, code, type, t); };
    send(KeyPress, 1000);
    send(KeyRelease, 1500);
    send(KeyPress, 1500);
    send(KeyRelease, 1540);
    send(KeyPress, 1540);
    send(KeyRelease, 1700);  // the real release
    sync();
    ASSERT_TRUE(pump_until([&] { return count_of(WM_KEYUP) == 1; }));
    pump_for(50);
    std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 'G'}, {WM_KEYDOWN, 'G'}, {WM_KEYDOWN, 'G'}, {WM_KEYUP, 'G'}};
    EXPECT_EQ(keys(), expected);
}

TEST_F(X11Input, MouseButtonsAndMotionCarryKeysAndClientCoordinates) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    move_pointer(150, 130);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_MOUSEMOVE) >= 1; }));
    auto moves = received(WM_MOUSEMOVE);
    EXPECT_EQ(moves.back().lparam, MAKELPARAM(50, 30));
    EXPECT_EQ(moves.back().wparam, 0u);

    received().clear();
    button(1, true);
    move_pointer(160, 140);
    key(XK_Shift_L, true);
    move_pointer(161, 141);
    key(XK_Shift_L, false);
    button(1, false);
    button(3, true);
    button(3, false);
    button(2, true);
    button(2, false);
    button(4, true);
    button(4, false);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_MOUSEWHEEL) == 1; }));
    auto ldown = received(WM_LBUTTONDOWN), lup = received(WM_LBUTTONUP);
    ASSERT_EQ(ldown.size(), 1u);
    ASSERT_EQ(lup.size(), 1u);
    EXPECT_EQ(ldown[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(ldown[0].lparam, MAKELPARAM(50, 30));
    EXPECT_EQ(lup[0].wparam, 0u);
    EXPECT_EQ(lup[0].lparam, MAKELPARAM(61, 41));
    moves = received(WM_MOUSEMOVE);
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ(moves[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(moves[0].lparam, MAKELPARAM(60, 40));
    EXPECT_EQ(moves[1].wparam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));
    EXPECT_EQ(moves[1].lparam, MAKELPARAM(61, 41));
    ASSERT_EQ(count_of(WM_RBUTTONDOWN), 1u);
    EXPECT_EQ(received(WM_RBUTTONDOWN)[0].wparam, static_cast<WPARAM>(MK_RBUTTON));
    EXPECT_EQ(received(WM_RBUTTONUP)[0].wparam, 0u);
    ASSERT_EQ(count_of(WM_MBUTTONDOWN), 1u);
    EXPECT_EQ(received(WM_MBUTTONDOWN)[0].wparam, static_cast<WPARAM>(MK_MBUTTON));
    auto wheel = received(WM_MOUSEWHEEL)[0];
    EXPECT_EQ(static_cast<short>(HIWORD(wheel.wparam)), 120);
    EXPECT_EQ(wheel.lparam, MAKELPARAM(161, 141)) << "the wheel reports the pointer on the screen";
}

TEST_F(X11Input, CapturedPointerOutsideTheClientAreaWrapsToSixteenBits) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    move_pointer(110, 110);
    button(1, true);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_LBUTTONDOWN) == 1; }));
    SetCapture(w);
    EXPECT_EQ(GetCapture(), w);
    received().clear();
    move_pointer(90, 95);  // left of and above the client area
    ASSERT_TRUE(pump_until([&] { return count_of(WM_MOUSEMOVE) >= 1; }));
    auto m = received(WM_MOUSEMOVE).back();
    EXPECT_EQ(m.wnd, w);
    EXPECT_EQ(LOWORD(m.lparam), 65536 - 10);
    EXPECT_EQ(HIWORD(m.lparam), 65536 - 5);
    button(1, false);
    ASSERT_TRUE(pump_until([&] { return count_of(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(received(WM_LBUTTONUP)[0].lparam, MAKELPARAM(static_cast<WORD>(-10), static_cast<WORD>(-5)));

    // Without capture the window hears nothing of the pointer outside it.
    ReleaseCapture();
    pump_for(20);
    received().clear();
    move_pointer(80, 85);
    move_pointer(500, 500);
    pump_for(100);
    EXPECT_EQ(count_of(WM_MOUSEMOVE), 0u);
}

TEST_F(X11Input, CursorPositionIsInScreenCoordinates) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(SetCursorPos(300, 200));
    ::Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    EXPECT_EQ(rx, 300);
    EXPECT_EQ(ry, 200);
    move_pointer(17, 23);
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 17);
    EXPECT_EQ(p.y, 23);
}

TEST_F(X11Input, ForegroundWindowFollowsTheFocus) {
    HWND first = open_window(50, 50, 100, 100);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetForegroundWindow(), first);
    HWND second = open_window(300, 50, 100, 100);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetForegroundWindow(), second);
    // Another client moves the focus.
    XSetInputFocus(dpy, xid(first), RevertToPointerRoot, CurrentTime);
    sync();
    EXPECT_TRUE(pump_until([&] { return GetForegroundWindow() == first; }));
    // ... and away from the program: no window of it is in the foreground.
    ::Window other = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 600, 400, 50, 50, 0, 0, 0);
    XMapWindow(dpy, other);
    sync();
    pump_for(50);
    XSetInputFocus(dpy, other, RevertToPointerRoot, CurrentTime);
    sync();
    EXPECT_TRUE(pump_until([&] { return GetForegroundWindow() == nullptr; }));
    XDestroyWindow(dpy, other);
    sync();
    // SetForegroundWindow gives the focus back.
    SetForegroundWindow(second);
    EXPECT_TRUE(pump_until([&] {
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(dpy, &focus, &revert);
        return focus == xid(second);
    }));
}

TEST_F(X11Input, GetMessageWaitsForInput) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    pump_for(50);
    // A key pressed a little later, by another client, ends the wait.
    std::thread user([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Display* d = XOpenDisplay(nullptr);
        if (!d) return;
        KeyCode code = XKeysymToKeycode(d, XK_q);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XSync(d, False);
        XCloseDisplay(d);
    });
    MSG m{};
    auto start = std::chrono::steady_clock::now();
    BOOL got = GetMessageA(&m, nullptr, 0, 0);
    auto waited = std::chrono::steady_clock::now() - start;
    user.join();
    EXPECT_EQ(got, TRUE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(m.wParam, static_cast<WPARAM>('Q'));
    EXPECT_GE(waited, std::chrono::milliseconds(150));
}

TEST_F(X11Input, CloseButtonAsksTheWindowToClose) {
    HWND w = open();
    ASSERT_NE(w, nullptr);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xid(w);
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, xid(w), False, NoEventMask, &e);
    sync();
    // SC_CLOSE, then WM_CLOSE from its default handling, then the window goes.
    ASSERT_TRUE(pump_until([&] { return !IsWindow(w); }));
    auto sys = received(WM_SYSCOMMAND);
    ASSERT_EQ(sys.size(), 1u);
    EXPECT_EQ(sys[0].wparam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(count_of(WM_CLOSE), 1u);
}

}  // namespace
}  // namespace orvex_test
