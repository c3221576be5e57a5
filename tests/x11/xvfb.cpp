#include "tests/x11/xvfb.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace orvex_test {

namespace {
pid_t g_pid = -1;
bool g_tried = false;
bool g_running = false;
std::string g_why_not;
constexpr int kWidth = 1024, kHeight = 768;
}  // namespace

int screen_width() { return kWidth; }
int screen_height() { return kHeight; }

bool start_xvfb(std::string& why_not) {
    if (g_tried) {
        why_not = g_why_not;
        return g_running;
    }
    g_tried = true;
    int fds[2];
    if (pipe(fds) != 0) {
        why_not = g_why_not = "no pipe for Xvfb's display number";
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        why_not = g_why_not = "cannot fork for Xvfb";
        return false;
    }
    if (pid == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
        // Xvfb picks a free display number and writes it to the pipe.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    for (;;) {
        int r = poll(&p, 1, 15000);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        char c;
        ssize_t n = read(fds[0], &c, 1);
        if (n <= 0 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        why_not = g_why_not = WIFEXITED(status) && WEXITSTATUS(status) == 127
                                  ? "Xvfb is not installed (tools/bootstrap.sh tests installs it)"
                                  : "Xvfb did not start";
        return false;
    }
    g_pid = pid;
    g_running = true;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    std::atexit(stop_xvfb);
    return true;
}

void stop_xvfb() {
    if (g_pid <= 0) return;
    kill(g_pid, SIGTERM);
    int status = 0;
    waitpid(g_pid, &status, 0);
    g_pid = -1;
}

}  // namespace orvex_test
