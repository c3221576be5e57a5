// The X11 tests' main: the X11 display driver on a private Xvfb, instead
// of the headless driver the other tests use.
// GoogleTest before Xlib, whose macros clash with its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

int main(int argc, char** argv) {
    // The tests talk to the server from a second thread while the program's
    // thread waits in a message box.
    XInitThreads();
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
