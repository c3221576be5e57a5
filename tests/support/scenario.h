// Scenarios that must run in a process of their own (the window layer opens
// its window once per process, and its failures end the program): each runs
// inside a death test, checks with SCENARIO_CHECK, and ends with exit status 0
// after printing "scenario ok", or with status 1 and the failed check.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/headless/headless.h"

#define SCENARIO_CHECK(cond)                                                                \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "scenario check failed at line %d: %s\n", __LINE__, #cond); \
            std::fflush(stderr);                                                            \
            std::_Exit(1);                                                                  \
        }                                                                                   \
    } while (0)

#define SCENARIO_END()                      \
    do {                                    \
        std::fprintf(stderr, "scenario ok\n"); \
        std::fflush(stderr);                \
        std::_Exit(0);                      \
    } while (0)

#define EXPECT_SCENARIO(...) \
    EXPECT_EXIT(([&] { __VA_ARGS__; SCENARIO_END(); })(), testing::ExitedWithCode(0), "scenario ok")

namespace orvex_test {

// Arranges that, when the program ends through exit(), it reports whether the
// last message box shown had this caption and text ("box ok" on stderr).
inline std::string& expected_box() {
    static std::string s;
    return s;
}
inline void expect_last_box_at_exit(const std::string& caption, const std::string& text) {
    expected_box() = caption + "\n" + text;
    std::atexit([] {
        const auto& boxes = orvex_headless::message_boxes();
        if (!boxes.empty() && boxes.back().caption + "\n" + boxes.back().text == expected_box())
            std::fprintf(stderr, "box ok\n");
        else
            std::fprintf(stderr, "box mismatch (%zu boxes)\n", boxes.size());
        std::fflush(stderr);
    });
}

}  // namespace orvex_test
