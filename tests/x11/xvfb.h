// Private X servers for the tests: Xvfb on a display number it picks
// itself, started once per test program and stopped at its end, and other
// servers a test starts for itself.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvex_test {

// The size of the Xvfb's screen, before it is started (default 1024 by 768).
void set_xvfb_screen(int width, int height);
// Starts the server (once) and points DISPLAY at it. False, with the
// reason, when it cannot be started here.
bool start_xvfb(std::string& why_not);
void stop_xvfb();
int screen_width();
int screen_height();

// A server of a test's own, stopped when the object goes: `command` with
// its arguments, after which -displayfd is added (the server picks a free
// display number). A nested server (Xephyr) shows itself on DISPLAY.
class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { stop(); }

    // False, with the reason, when it does not start.
    bool start(const std::vector<std::string>& command, std::string& why_not);
    void stop();
    const std::string& display() const { return display_; }  // ":N"

private:
    pid_t pid_ = -1;
    pid_t owner_ = -1;  // the process that started it
    std::string display_;
};

}  // namespace orvex_test
