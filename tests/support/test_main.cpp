// The tests' main: the headless display, and death tests that start the test
// program afresh (the platform layer and OpenGL run threads of their own).
// Built for Windows, the portable tests run on the system's own windows.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include "platform/headless/headless.h"
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#if !defined(_WIN32)
    orvex_headless::activate();
#endif
    return RUN_ALL_TESTS();
}
