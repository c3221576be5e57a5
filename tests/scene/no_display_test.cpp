// The grass program started where no display can be opened, as a user might
// start it: it ends at once, saying on one line what failed and how to run
// without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/platform_control.h"

namespace {

struct Outcome {
    int status = -1;  // -1: ended by a signal; 124: still running after the time allowed
    std::string errors;
};

// Runs the program without DISPLAY and ORVEX_DRIVER, then with `environment`
// (VAR=value ...); what it wrote on stderr.
Outcome run_program(const std::string& environment) {
    const std::string command = "timeout 30 env -u DISPLAY -u ORVEX_DRIVER " + environment + " " + GRASS_PROGRAM +
                                " 2>&1 >/dev/null";
    Outcome r;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) r.errors += buf;
    const int status = pclose(p);
    if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
    return r;
}

// A display number that no local X server has taken.
std::string free_display() {
    for (int n = 500;; ++n) {
        const std::string number = std::to_string(n);
        if (access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) != 0 &&
            access(("/tmp/.X" + number + "-lock").c_str(), F_OK) != 0)
            return ":" + number;
    }
}

TEST(NoDisplay, TheProgramEndsAtOnceWithOneLineSayingWhyAndHowToRunWithoutOne) {
    const std::string nowhere = free_display();
    const struct {
        const char* what;
        std::string environment;
        std::string reason;
    } cases[] = {
#ifdef ORVEX_TEST_X11_DRIVER
        {"DISPLAY unset", "", "DISPLAY is not set"},
        {"DISPLAY naming no server", "DISPLAY=" + nowhere, "the display \"" + nowhere + "\" cannot be opened"},
        {"the X11 driver asked for, DISPLAY unset", "ORVEX_DRIVER=x11", "DISPLAY is not set"},
        {"ORVEX_DRIVER empty counts as unset", "ORVEX_DRIVER=", "DISPLAY is not set"},
#else
        {"no X11 driver in the build", "DISPLAY=" + nowhere, "this build has no X11 driver"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = run_program(c.environment);
        EXPECT_EQ(r.status, orvex_platform::EXIT_DISPLAY_UNAVAILABLE) << r.errors;
        EXPECT_EQ(r.errors,
                  "orvex: no display: " + c.reason +
                      ". To run without a display, set ORVEX_DRIVER=headless (grass-snapshot draws the grass scene "
                      "without one).\n");
    }
}

TEST(NoDisplay, AnUnknownDriverNameEndsTheProgram) {
    const Outcome r = run_program("ORVEX_DRIVER=Headless DISPLAY=:0");
    EXPECT_EQ(r.status, orvex_platform::EXIT_DISPLAY_UNAVAILABLE) << r.errors;
    EXPECT_EQ(r.errors, "orvex: ORVEX_DRIVER is \"Headless\"; it takes headless or x11.\n");
}

}  // namespace
