// The grass program on an X server, as a user runs it: the start-up
// question, the window in either mode, keys, and its end on Escape and on
// the close button with exit status 0.
#include "tests/x11/x11_fixture.h"
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "tests/x11/xvfb.h"

namespace orvex_test {
namespace {

const char* const kTitle = "Effetto per creare erba sulle superfici - 1/5 selezione";

class X11Program : public X11Test {
protected:
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        X11Test::TearDown();
    }

    // Starts the program in the tests' working directory, or in `dir` with
    // its stderr going to the file `errors`.
    void start(const std::string& dir = "", const std::string& errors = "") {
        pid_ = fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            unsetenv("ORVEX_DRIVER");  // the program picks the X11 driver itself
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(125);
            if (!errors.empty()) {
                const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                if (fd < 0 || dup2(fd, 2) < 0) _exit(125);
            }
            execl(ORVEX_GRASS_PROGRAM, ORVEX_GRASS_PROGRAM, static_cast<char*>(nullptr));
            _exit(126);
        }
    }

    // Waits for a shown window of that name holding the focus.
    ::Window wait_for(const std::string& name, int seconds = 30) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            for (::Window w : windows_named(dpy, name)) {
                XWindowAttributes a{};
                ::Window focus = 0;
                int revert = 0;
                XGetInputFocus(dpy, &focus, &revert);
                if (XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable && focus == w) return w;
            }
            if (exited()) return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return 0;
    }

    bool exited() {
        if (pid_ <= 0) return true;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            status_ = status;
            return true;
        }
        return false;
    }

    // The exit status, -1 when the program did not end in time.
    int wait_exit(int seconds = 30) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (exited()) return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    void press(KeySym sym) {
        KeyCode code = XKeysymToKeycode(dpy, sym);
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, False, CurrentTime);
        XSync(dpy, False);
    }

    struct Geometry {
        int x, y, width, height, border;
    };
    Geometry geometry(::Window w) {
        ::Window root = 0, child = 0;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth);
        XTranslateCoordinates(dpy, w, root, 0, 0, &x, &y, &child);
        return Geometry{x, y, static_cast<int>(width), static_cast<int>(height), static_cast<int>(border)};
    }

    pid_t pid_ = -1;
    int status_ = 0;
};

TEST_F(X11Program, AnsweringNoOpensTheWindowAndEscapeEndsTheProgram) {
    start();
    ASSERT_NE(wait_for("Video!"), 0u) << "no start-up question";
    press(XK_n);
    ::Window main = wait_for(kTitle);
    ASSERT_NE(main, 0u) << "no program window";
    // 800 by 600 with the frame and caption: the client area is a little smaller.
    Geometry g = geometry(main);
    EXPECT_GT(g.width, 780);
    EXPECT_LT(g.width, 800);
    EXPECT_GT(g.height, 560);
    EXPECT_LT(g.height, 600);
    press(XK_2);
    press(XK_Escape);
    EXPECT_EQ(wait_exit(), 0);
}

TEST_F(X11Program, AnsweringYesCoversTheScreen) {
    start();
    ASSERT_NE(wait_for("Video!"), 0u);
    press(XK_y);
    ::Window main = wait_for(kTitle);
    ASSERT_NE(main, 0u);
    Geometry g = geometry(main);
    EXPECT_EQ(g.x - g.border, 0);
    EXPECT_EQ(g.y - g.border, 0);
    EXPECT_EQ(g.width + 2 * g.border, screen_width());
    EXPECT_EQ(g.height + 2 * g.border, screen_height());
    press(XK_Escape);
    EXPECT_EQ(wait_exit(), 0);
}

TEST_F(X11Program, CloseButtonEndsTheProgram) {
    start();
    ASSERT_NE(wait_for("Video!"), 0u);
    press(XK_n);
    ::Window main = wait_for(kTitle);
    ASSERT_NE(main, 0u);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = main;
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, main, False, NoEventMask, &e);
    XSync(dpy, False);
    EXPECT_EQ(wait_exit(), 0);
}

TEST_F(X11Program, NamesEachMissingImageFileOnStderrAndRunsWithoutThem) {
    char dir_template[] = "/tmp/orvex-no-images.XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    const std::string dir = dir_template;
    struct Removed {
        std::string dir;
        ~Removed() { std::filesystem::remove_all(dir); }
    } removed{dir};
    const std::string errors = dir + "/stderr.txt";
    start(dir, errors);
    ASSERT_NE(wait_for("Video!"), 0u);
    press(XK_n);
    ASSERT_NE(wait_for(kTitle), 0u);
    press(XK_Escape);
    EXPECT_EQ(wait_exit(), 0);
    // The program's own lines (a sanitizer may add a report of its own).
    std::ifstream in(errors);
    std::string lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("grass:", 0) == 0) lines += line + "\n";
    std::string expected;
    for (const char* name : {"Floor04.bmp", "wall.bmp", "grassb00.tga", "grassb01.tga", "grassb02.tga",
                             "grassc00.tga", "grassc01.tga"})
        expected += std::string("grass: image file \"") + name + "\" not found in " + dir + "\n";
    EXPECT_EQ(lines, expected);
}

TEST_F(X11Program, TheHeadlessDisplaysControlsEndAProgramThatRunsOnX11) {
    // In a child of this process, where the X11 driver runs.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(fds[1], 2);
        orvex_headless::set_screen_size(640, 480);
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), orvex_platform::EXIT_DISPLAY_UNAVAILABLE);
    EXPECT_NE(text.find("orvex: the headless display's controls were used while the x11 driver runs"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace orvex_test
