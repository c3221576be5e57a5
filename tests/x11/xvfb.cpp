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
int g_width = 1024, g_height = 768;
XServer g_xvfb;
bool g_tried = false;
bool g_running = false;
std::string g_why_not;
}  // namespace

void set_xvfb_screen(int width, int height) {
    g_width = width;
    g_height = height;
}

int screen_width() { return g_width; }
int screen_height() { return g_height; }

bool XServer::start(const std::vector<std::string>& command, std::string& why_not) {
    stop();
    const std::string program = command.empty() ? std::string() : command.front();
    int fds[2];
    if (pipe(fds) != 0) {
        why_not = "no pipe for " + program + "'s display number";
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        why_not = "cannot fork for " + program;
        return false;
    }
    if (pid == 0) {
        close(fds[0]);
        std::vector<std::string> args = command;
        args.push_back("-displayfd");
        args.push_back(std::to_string(fds[1]));
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        // The server writes the free display number it picked to the pipe.
        execvp(argv[0], argv.data());
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
        why_not = WIFEXITED(status) && WEXITSTATUS(status) == 127
                      ? program + " is not installed (tools/bootstrap.sh tests installs it)"
                      : program + " did not start";
        return false;
    }
    pid_ = pid;
    owner_ = getpid();
    display_ = ":" + number;
    return true;
}

void XServer::stop() {
    // A child forked by a test (a program under test) leaves the server alone.
    if (pid_ <= 0 || getpid() != owner_) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    display_.clear();
}

bool start_xvfb(std::string& why_not) {
    if (g_tried) {
        why_not = g_why_not;
        return g_running;
    }
    g_tried = true;
    const std::string screen = std::to_string(g_width) + "x" + std::to_string(g_height) + "x24";
    if (!g_xvfb.start({"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"}, g_why_not)) {
        why_not = g_why_not;
        return false;
    }
    g_running = true;
    setenv("DISPLAY", g_xvfb.display().c_str(), 1);
    std::atexit(stop_xvfb);
    return true;
}

void stop_xvfb() { g_xvfb.stop(); }

}  // namespace orvex_test
