// The image-buttons example on the X server, given input in one burst as a
// quick hand (or xdotool) gives it: the buttons hear it as Windows routes
// it, each mouse message to the window that takes it when it is read.
#include "tests/x11/x11_fixture.h"
#include <X11/extensions/XTest.h>

#include <string>

#include "examples/buttons/buttons_program.h"
#include "framework/orvex.h"

namespace orvex_test {
namespace {

class X11Buttons : public X11Test {
protected:
    void TearDown() override {
        if (orvex::HWINDOW) orvex::DELETEOGLWINDOW();
        X11Test::TearDown();
    }

    static POINT centre_on_screen(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    static std::string status() {
        char text[64] = {};
        SendMessageA(orvex::HSTATUS, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

// One test only: the example's window classes are registered once per process.
TEST_F(X11Buttons, MovingFromTheStarOntoPlayAndClickingInOneBurstClicksPlay) {
    HWND buttons[example::kButtonCount] = {};
    example::open_window(buttons);
    const HWND play = buttons[0], star = buttons[1];
    ASSERT_TRUE(play && star);
    ASSERT_TRUE(wait_viewable(orvex::HWINDOW));
    ASSERT_EQ(status(), "Click a button");
    const POINT on_play = centre_on_screen(play), on_star = centre_on_screen(star);

    move_pointer(on_star.x, on_star.y);
    ASSERT_TRUE(pump_until([&] { return GetCapture() == star; })) << "hovering the star takes the capture";

    // All of it reaches the program before it reads any: the star still
    // holds the capture when the press arrives, and gives it up on reading
    // the move that comes first.
    XTestFakeMotionEvent(dpy, DefaultScreen(dpy), on_play.x, on_play.y, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    sync();
    pump_until([] { return status() != "Click a button"; });
    EXPECT_EQ(status(), "Clicked: Play");
}

}  // namespace
}  // namespace orvex_test
