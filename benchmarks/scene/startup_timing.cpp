// Start-up of the grass program, from process start to its first presented
// frame, split into its parts: the process up to main (loading and linking),
// the window (display, rendering context), the render set-up, the textures
// (file decoding, uploads, mipmaps when asked for) and the first frame.
//
//   startup_timing [--runs N] [--mipmaps]
//
// Run from the directory holding the seven image files. Each run is a new
// process of this program, started by it, that does what the program does up
// to its first SwapBuffers (without the full-screen question: windowed) and
// reports when each part ended; the display is the one the program would use
// (ORVEX_DRIVER=headless or x11 chooses). --mipmaps sets the minifying filter
// to GL_LINEAR_MIPMAP_LINEAR first, so that every texture builds its mipmaps.
// Prints each part's minimum, median and maximum over the runs, in ms, of
// wall time and of the process's CPU time (all its threads, the driver's
// rasterising threads too; up to main, that of loading and linking).
#include <GL/gl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "scene/grass_scene.h"

extern char** environ;

namespace {

constexpr const char* kStartVariable = "ORVEX_STARTUP_T0";

long long clock_ns(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}
long long now_ns() { return clock_ns(CLOCK_MONOTONIC); }
long long cpu_ns() { return clock_ns(CLOCK_PROCESS_CPUTIME_ID); }

constexpr std::size_t kSteps = 5;  // the parts up to the first frame
const char* const kParts[kSteps + 1] = {"process to main", "window", "render set-up", "textures", "first frame",
                                        "total"};

// When each part ended: wall time from the parent's spawn, and the process's
// CPU time, in ns.
struct Ends {
    long long wall[kSteps];
    long long cpu[kSteps];
};

// The child: the program's start-up, timed; prints its Ends.
int child(long long start, bool mipmaps) {
    Ends e{};
    std::size_t step = 0;
    auto mark = [&] {
        e.wall[step] = now_ns() - start;
        e.cpu[step] = cpu_ns();
        ++step;
    };
    mark();
    using namespace orvex;
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("Effetto per creare erba sulle superfici - 1/5 selezione", 800, 600, 32, false);
    mark();
    OPENGL_INIT(100, 0, 0, 0, 0);
    SETGLREFRACTIVE();
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    mark();
    if (mipmaps) GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
    grass::OPENGL_CREATELIST();
    mark();
    glClear(GL_COLOR_BUFFER_BIT);
    SETGLMSG();
    grass::OPENGL_DRAW();
    SwapBuffers(DCWINDOW);
    mark();
    if (TEXTURETGA2[0].TEXID == 0) {
        std::fprintf(stderr, "startup_timing: the grass textures are missing; run it where the image files are\n");
        return 1;
    }
    for (std::size_t p = 0; p < kSteps; ++p) std::printf("%lld %lld ", e.wall[p], e.cpu[p]);
    std::printf("\n");
    std::fflush(stdout);
    DELETEOGLWINDOW();
    return 0;
}

// Starts one child with the start time in its environment and reads its
// Ends; false when it failed.
bool run_child(bool mipmaps, Ends& e) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = "/proc/self/exe", child_flag = "--child", mip_flag = "--mipmaps";
    std::vector<char*> argv = {self.data(), child_flag.data()};
    if (mipmaps) argv.push_back(mip_flag.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text;
    for (char** v = environ; *v; ++v)
        if (std::strncmp(*v, kStartVariable, std::strlen(kStartVariable)) != 0) env_text.emplace_back(*v);
    env_text.push_back(std::string(kStartVariable) + "=" + std::to_string(now_ns()));
    std::vector<char*> env;
    for (auto& v : env_text) env.push_back(v.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    if (spawned != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    const char* at = text.c_str();
    for (std::size_t p = 0; p < kSteps; ++p) {
        int used = 0;
        if (std::sscanf(at, "%lld %lld %n", &e.wall[p], &e.cpu[p], &used) != 2) return false;
        at += used;
    }
    return true;
}

std::string spread(std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    char text[64];
    std::snprintf(text, sizeof text, "%8.2f %8.2f %8.2f", v.front(), v[v.size() / 2], v.back());
    return text;
}

void usage() {
    std::fprintf(stderr, "usage: startup_timing [--runs N] [--mipmaps]\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 11;
    bool mipmaps = false, is_child = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--child") == 0) {
            is_child = true;
        } else if (std::strcmp(argv[i], "--mipmaps") == 0) {
            mipmaps = true;
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1 || runs > 1000) usage();
        } else {
            usage();
        }
    }
    if (is_child) {
        const char* start = std::getenv(kStartVariable);
        return child(start ? std::atoll(start) : now_ns(), mipmaps);
    }

    // Per part, the wall and CPU times of the runs, in ms.
    std::vector<std::vector<double>> wall(kSteps + 1), cpu(kSteps + 1);
    for (int r = 0; r < runs; ++r) {
        Ends e{};
        if (!run_child(mipmaps, e)) {
            std::fprintf(stderr, "startup_timing: run %d failed\n", r + 1);
            return 1;
        }
        for (std::size_t p = 0; p < kSteps; ++p) {
            wall[p].push_back(static_cast<double>(e.wall[p] - (p ? e.wall[p - 1] : 0)) / 1e6);
            cpu[p].push_back(static_cast<double>(e.cpu[p] - (p ? e.cpu[p - 1] : 0)) / 1e6);
        }
        wall[kSteps].push_back(static_cast<double>(e.wall[kSteps - 1]) / 1e6);
        cpu[kSteps].push_back(static_cast<double>(e.cpu[kSteps - 1]) / 1e6);
    }
    std::printf("%-16s %26s   %26s   (ms, %d runs%s)\n", "part", "wall: min median max", "CPU: min median max", runs,
                mipmaps ? ", mipmaps" : "");
    for (std::size_t p = 0; p <= kSteps; ++p)
        std::printf("%-16s %26s   %26s\n", kParts[p], spread(wall[p]).c_str(), spread(cpu[p]).c_str());
    return 0;
}
