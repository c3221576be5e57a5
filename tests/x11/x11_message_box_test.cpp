// MessageBoxA as a real dialog: answered from the keyboard and with the
// mouse, as Windows answers, while the program's windows keep painting.
#include "tests/x11/x11_fixture.h"
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <thread>


namespace orvex_test {
namespace {

// A user at a second connection: waits for the box (a window with the
// caption, shown and holding the focus), then acts on it.
class User {
public:
    User(std::string caption, std::function<void(Display*, ::Window)> act)
        : caption_(std::move(caption)), act_(std::move(act)), thread_([this] { run(); }) {}
    ~User() { thread_.join(); }
    bool saw_box() const { return saw_; }
    std::string title() const { return title_; }

private:
    void run() {
        Display* dpy = XOpenDisplay(nullptr);
        if (!dpy) return;
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            for (::Window w : windows_named(dpy, caption_)) {
                XWindowAttributes a{};
                ::Window focus = 0;
                int revert = 0;
                XGetInputFocus(dpy, &focus, &revert);
                if (XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable && focus == w) {
                    saw_ = true;
                    title_ = net_wm_name(dpy, w);
                    act_(dpy, w);
                    XSync(dpy, False);
                    XCloseDisplay(dpy);
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        XCloseDisplay(dpy);
    }

    std::string caption_;
    std::function<void(Display*, ::Window)> act_;
    std::atomic<bool> saw_{false};
    std::string title_;
    std::thread thread_;
};

void press(Display* dpy, KeySym sym) {
    KeyCode code = XKeysymToKeycode(dpy, sym);
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XSync(dpy, False);
}

class X11MessageBox : public X11Test {};

struct KeyAnswer {
    const char* name;
    UINT type;
    std::vector<KeySym> keys;
    int answer;
};

TEST_F(X11MessageBox, KeysAnswerAsOnWindows) {
    const KeyAnswer cases[] = {
        {"N answers No", MB_YESNO | MB_ICONQUESTION, {XK_n}, IDNO},
        {"Y answers Yes", MB_YESNO | MB_ICONQUESTION, {XK_y}, IDYES},
        {"Enter takes the first button", MB_YESNO, {XK_Return}, IDYES},
        {"Enter takes the default button", MB_YESNO | 0x100 /* MB_DEFBUTTON2 */, {XK_Return}, IDNO},
        {"Escape cannot answer Yes/No", MB_YESNO, {XK_Escape, XK_n}, IDNO},
        {"Tab moves to the next button", MB_YESNO, {XK_Tab, XK_space}, IDNO},
        {"Escape answers OK", MB_OK, {XK_Escape}, IDOK},
        {"Enter answers OK", MB_OK | MB_ICONEXCLAMATION, {XK_Return}, IDOK},
        {"Escape answers Cancel", MB_OKCANCEL, {XK_Escape}, IDCANCEL},
    };
    for (const KeyAnswer& c : cases) {
        SCOPED_TRACE(c.name);
        std::string caption = std::string("Video! ") + c.name;
        int answer = 0;
        {
            User user(caption, [&](Display* d, ::Window) {
                for (KeySym k : c.keys) press(d, k);
            });
            answer = MessageBoxA(nullptr, "Settare lo schermo intero?  ", caption.c_str(), c.type);
            EXPECT_TRUE(user.saw_box());
        }
        EXPECT_EQ(answer, c.answer);
    }
}

TEST_F(X11MessageBox, CaptionIsConvertedAndButtonsAnswerToTheMouse) {
    std::string title;
    int answer = 0;
    {
        User user("Errore \xC3\xA8", [&](Display* d, ::Window w) {
            ::Window root = 0;
            int x = 0, y = 0;
            unsigned width = 0, height = 0, border = 0, depth = 0;
            XGetGeometry(d, w, &root, &x, &y, &width, &height, &border, &depth);
            // The buttons sit at the right of the bottom strip; "No" is the last.
            int bx = x + static_cast<int>(width) - 12 - 37, by = y + static_cast<int>(height) - 22;
            XTestFakeMotionEvent(d, DefaultScreen(d), bx, by, CurrentTime);
            XTestFakeButtonEvent(d, 1, True, CurrentTime);
            XTestFakeButtonEvent(d, 1, False, CurrentTime);
            XSync(d, False);
        });
        answer = MessageBoxA(nullptr, "Una domanda\nsu due righe", "Errore \xE8", MB_YESNO);
        EXPECT_TRUE(user.saw_box());
        title = user.title();
    }
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(title, "Errore \xC3\xA8");
}

TEST_F(X11MessageBox, LongTextStaysOnTheScreen) {
    // Thousands of lines and a word far wider than any box.
    std::string text(5000, 'W');
    for (int i = 0; i < 3000; ++i) text += "\nriga " + std::to_string(i);
    int width = 0, height = 0;
    int answer = 0;
    {
        User user("Long", [&](Display* d, ::Window w) {
            ::Window root = 0;
            int x = 0, y = 0;
            unsigned bw = 0, bh = 0, border = 0, depth = 0;
            XGetGeometry(d, w, &root, &x, &y, &bw, &bh, &border, &depth);
            width = static_cast<int>(bw);
            height = static_cast<int>(bh);
            press(d, XK_Return);
        });
        answer = MessageBoxA(nullptr, text.c_str(), "Long", MB_OK);
        EXPECT_TRUE(user.saw_box());
    }
    EXPECT_EQ(answer, IDOK);
    EXPECT_GT(height, 100);
    EXPECT_LE(height, DisplayHeight(dpy, DefaultScreen(dpy)));
    EXPECT_LE(width, DisplayWidth(dpy, DefaultScreen(dpy)));
}

bool g_box_open = false;
int g_paints_while_open = 0;

LRESULT CALLBACK painting_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_PAINT) {
        if (g_box_open) ++g_paints_while_open;
        PAINTSTRUCT ps;
        BeginPaint(wnd, &ps);
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

TEST_F(X11MessageBox, OtherWindowsAreRepaintedWhileTheBoxIsOpen) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = painting_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "X11PaintingWindow";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "X11PaintingWindow", "", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    windows.push_back(w);
    ASSERT_TRUE(wait_viewable(w));
    pump_for(50);
    const ::Window id = xid(w);
    g_paints_while_open = 0;
    g_box_open = true;
    int answer = 0;
    {
        User user("Repaint", [&](Display* d, ::Window) {
            // Another client uncovers the window: the server asks for its repaint.
            XClearArea(d, id, 0, 0, 0, 0, True);
            XSync(d, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            press(d, XK_Return);
        });
        answer = MessageBoxA(w, "text", "Repaint", MB_OK);
    }
    g_box_open = false;
    EXPECT_EQ(answer, IDOK);
    EXPECT_GE(g_paints_while_open, 1);
}

}  // namespace
}  // namespace orvex_test
