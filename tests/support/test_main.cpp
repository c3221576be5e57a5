// The tests' main: the headless display, and death tests that start the test
// program afresh (the platform layer and OpenGL run threads of their own).
#include <gtest/gtest.h>

#include "platform/headless/headless.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    orvex_headless::activate();
    return RUN_ALL_TESTS();
}
