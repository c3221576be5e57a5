// hello_check: the starter program (examples/hello) run on the headless
// display, used as a user would use it, and checked from its frames.
//
// The build compiles hello.cpp with its main renamed to hello_main; this
// main picks the headless display, schedules input between frames and runs
// the program. It passes when the program draws a textured object, a left
// drag turns it, S changes it, and Escape ends the program with status 0.
//
//   hello_check [--snapshot FILE.ppm]   the turned sphere's frame as a PPM picture
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/orvex.h"
#include "platform/headless/headless.h"

int hello_main();

namespace {

using orvex_headless::Button;
using orvex_headless::Frame;

int g_passed = 0;
int g_failed = 0;
bool g_escaped = false;
const char* g_snapshot = nullptr;
Frame g_first, g_turned;

void expect(bool ok, const std::string& what) {
    std::printf("hello_check: %s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    ++(ok ? g_passed : g_failed);
}

int red(std::uint32_t p) { return static_cast<int>(p >> 24); }
int green(std::uint32_t p) { return static_cast<int>((p >> 16) & 255); }
int blue(std::uint32_t p) { return static_cast<int>((p >> 8) & 255); }

// The share of the frame's pixels that differ between two frames of one size.
double changed_share(const Frame& a, const Frame& b) {
    if (a.width != b.width || a.height != b.height || a.width == 0 || a.height == 0) return 0;
    long changed = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++changed;
    return static_cast<double>(changed) / (static_cast<double>(a.width) * a.height);
}

// The frame is the window's client area; the object covers its middle and
// is textured: inside it, neighbouring pixels often change sharply (the
// checkerboard's edges), which lighting alone never does.
void check_textured_object(const Frame& f) {
    RECT client{};
    GetClientRect(orvex::HWINDOW, &client);
    expect(f.width == client.right && f.height == client.bottom && f.width > 0,
           "the frame is the window's client area (" + std::to_string(f.width) + " by " + std::to_string(f.height) +
               ")");
    const std::uint32_t background = f.pixel(5, 5);
    const std::uint32_t middle = f.pixel(f.width / 2, f.height / 2);
    expect(middle != background, "the object is drawn in the middle of the window");
    int edges = 0;
    for (int y = f.height / 2 - 50; y < f.height / 2 + 50; ++y)
        for (int x = f.width / 2 - 50; x < f.width / 2 + 50; ++x)
            if (std::abs(green(f.pixel(x, y)) - green(f.pixel(x + 1, y))) > 40) ++edges;
    expect(edges >= 50, "the object is textured (" + std::to_string(edges) + " sharp edges in the middle)");
    expect(red(middle) > blue(middle), "the texture's warm colours are lit");
}

bool write_ppm(const char* path, const Frame& f) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", f.width, f.height);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const std::uint32_t p = f.pixel(x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(red(p)), static_cast<unsigned char>(green(p)),
                                          static_cast<unsigned char>(blue(p))};
            std::fwrite(rgb, 1, 3, out);
        }
    return std::fclose(out) == 0;
}

// Called after each presented frame. The program handles one message per
// frame, so the steps leave it a few frames each.
void step(int frame) {
    using namespace orvex_headless;
    switch (frame) {
        case 5:
            g_first = last_frame();
            check_textured_object(g_first);
            pointer_to(orvex::HWINDOW, 400, 300);
            break;
        case 7: button_down(Button::left); break;
        case 9: pointer_to(orvex::HWINDOW, 460, 340); break;
        case 11: button_up(Button::left); break;
        case 15:
            g_turned = last_frame();
            expect(changed_share(g_first, g_turned) > 0.05, "a left drag turns the sphere");
            if (g_snapshot) expect(write_ppm(g_snapshot, g_turned), std::string("the picture is written to ") + g_snapshot);
            key_down('S');
            break;
        case 17: key_up('S'); break;
        case 20:
            expect(changed_share(g_turned, last_frame()) > 0.05, "S changes the sphere into a box");
            key_down(VK_ESCAPE);
            g_escaped = true;
            break;
        case 60:
            expect(false, "Escape ends the program");
            std::fflush(stdout);
            std::_Exit(1);
        default: break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--snapshot") == 0) {
        g_snapshot = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--snapshot FILE.ppm]\n", argv[0]);
        return 2;
    }
    orvex_headless::activate();
    orvex_headless::on_present(step);
    const int status = hello_main();
    expect(g_escaped && status == 0, "Escape ends the program with status 0 (status " + std::to_string(status) + ")");
    if (g_failed == 0) {
        std::printf("hello_check: all %d checks passed\n", g_passed);
        return 0;
    }
    std::printf("hello_check: %d of %d checks failed\n", g_failed, g_passed + g_failed);
    return 1;
}
