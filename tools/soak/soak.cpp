// orvex-soak: runs the grass program or the image-buttons example for many
// frames on the headless display, with input injected between frames, and
// reports the process's memory and the platform objects it holds, from the
// end of the first round of input to the end of the run.
//
//   orvex-soak grass   [--frames N] [--samples K] [--screen WxH]
//   orvex-soak buttons [--frames N] [--samples K]
//
// The input goes round in a fixed cycle, one event every few frames, so that
// each is handled before the next arrives: for the grass program the keys 1
// to 5 and others, left drags (turning the view) and right drags (moving it
// nearer or farther), each drag followed by one back; for the buttons
// example, over each button, hovering, a click, a press dragged out and a
// right-button press carried in. The figures are taken at the ends of whole
// cycles, where the same input has just been handled. Run from the directory
// that holds the programs' image files (build/default/bin).
//
// Exit status 0 when the input reached the program (every grass texture
// shown, the view turned and moved; every click delivered) and, from the
// first sample to the last, no kind of platform object grew in number and the
// allocator's bytes in use grew by less than the allowance; 1 otherwise; 2
// for a usage error.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "examples/buttons/buttons_program.h"
#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "scene/grass_scene.h"
#include "scene/program.h"
#include "tools/soak/process_figures.h"

namespace {

using orvex_headless::Button;

// Growth of the allocator's bytes in use that is not taken for a leak: the
// allocator and the OpenGL driver keep caches whose size wanders a little.
constexpr std::size_t kHeapAllowance = 256 * 1024;

struct Options {
    std::string program;
    int frames = 20000;
    int samples = 10;
    int screen_width = 0, screen_height = 0;  // 0: the grass program's 800 by 600 window
};

[[noreturn]] void usage(const char* why) {
    if (why) std::fprintf(stderr, "orvex-soak: %s\n", why);
    std::fprintf(stderr,
                 "usage: orvex-soak grass|buttons [--frames N] [--samples K] [--screen WxH]\n"
                 "  --frames N    frames to run, rounded up to whole input cycles (default 20000)\n"
                 "  --samples K   figures taken at K cycle ends after the first (default 10)\n"
                 "  --screen WxH  grass only: run full-screen on a headless screen of this size\n");
    std::exit(2);
}

bool parse_int(const char* text, int& out, int low, int high) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

Options parse(int argc, char** argv) {
    if (argc < 2) usage(nullptr);
    Options o;
    o.program = argv[1];
    if (o.program != "grass" && o.program != "buttons") usage("the program is grass or buttons");
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) usage(("missing value for " + a).c_str());
        const char* v = argv[++i];
        if (a == "--frames") {
            if (!parse_int(v, o.frames, 1, 10000000)) usage("--frames takes a number from 1 to 10000000");
        } else if (a == "--samples") {
            if (!parse_int(v, o.samples, 1, 1000)) usage("--samples takes a number from 1 to 1000");
        } else if (a == "--screen" && o.program == "grass") {
            const std::string s = v;
            const auto x = s.find('x');
            if (x == std::string::npos || !parse_int(s.substr(0, x).c_str(), o.screen_width, 16, 16384) ||
                !parse_int(s.substr(x + 1).c_str(), o.screen_height, 16, 16384))
                usage("--screen takes WxH, each from 16 to 16384");
        } else {
            usage(("unknown option " + a).c_str());
        }
    }
    return o;
}

// One cycle of input: each action is one event, run at its own frame.
struct Cycle {
    int frames_per_action = 4;
    std::vector<std::function<void()>> actions;
    int frames() const { return frames_per_action * static_cast<int>(actions.size()); }
};

void add_drag(Cycle& c, HWND wnd, Button b, const std::vector<POINT>& path) {
    c.actions.push_back([=] { orvex_headless::pointer_to(wnd, path.front().x, path.front().y); });
    c.actions.push_back([=] { orvex_headless::button_down(b); });
    for (std::size_t k = 1; k < path.size(); ++k)
        c.actions.push_back([=] { orvex_headless::pointer_to(wnd, path[k].x, path[k].y); });
    c.actions.push_back([=] { orvex_headless::button_up(b); });
}

// Keys, then a left drag and one back, then a right drag and one back.
Cycle grass_cycle() {
    Cycle c;
    c.frames_per_action = 4;  // a key press is two messages (the key and its character)
    const unsigned keys[] = {'1', '2', '3', '4', '5', 'A', 'Q', '0', VK_SPACE, VK_F1, VK_SHIFT, VK_NUMPAD5};
    for (unsigned k : keys) {
        c.actions.push_back([k] { orvex_headless::key_down(k); });
        c.actions.push_back([k] { orvex_headless::key_up(k); });
    }
    RECT client;
    GetClientRect(orvex::HWINDOW, &client);
    const LONG x = client.right / 2, y = client.bottom / 2;
    const std::vector<POINT> turn = {{x, y}, {x + 40, y - 20}, {x + 90, y + 10}};
    const std::vector<POINT> zoom = {{x, y}, {x, y + 30}, {x, y + 60}};
    add_drag(c, orvex::HWINDOW, Button::left, turn);
    add_drag(c, orvex::HWINDOW, Button::left, {turn.rbegin(), turn.rend()});
    add_drag(c, orvex::HWINDOW, Button::right, zoom);
    add_drag(c, orvex::HWINDOW, Button::right, {zoom.rbegin(), zoom.rend()});
    return c;
}

// Over each button: hovering, a click, a press dragged out, a right-button
// press carried in.
Cycle buttons_cycle(const HWND (&buttons)[example::kButtonCount]) {
    Cycle c;
    c.frames_per_action = 6;  // a release posts the click and repaints the button
    const HWND window = orvex::HWINDOW;
    auto to = [&c](HWND w, LONG x, LONG y) { c.actions.push_back([=] { orvex_headless::pointer_to(w, x, y); }); };
    auto press = [&c](Button b) { c.actions.push_back([=] { orvex_headless::button_down(b); }); };
    auto release = [&c](Button b) { c.actions.push_back([=] { orvex_headless::button_up(b); }); };
    for (HWND b : buttons) {
        if (!b) continue;
        RECT r;
        GetClientRect(b, &r);
        const LONG x = r.right / 2, y = r.bottom / 2;
        // Hovering in and out.
        to(b, x, y);
        to(b, x + 1, y);
        to(window, 5, 5);
        // A click.
        to(b, x, y);
        press(Button::left);
        release(Button::left);
        to(window, 5, 5);
        // A press dragged out: no click.
        to(b, x, y);
        press(Button::left);
        to(window, 5, 5);
        release(Button::left);
        // A right-button press carried in.
        press(Button::right);
        to(b, x, y);
        release(Button::right);
        to(window, 5, 5);
    }
    return c;
}

Options g_options;
Cycle g_cycle;
int g_total_frames = 0;
std::vector<int> g_sample_frames;
std::vector<soak::Figures> g_samples;
std::function<void()> g_end;        // ends the program at the last frame
std::function<void()> g_each_frame;  // watches what the input did

void on_frame(int frame) {
    if (g_each_frame) g_each_frame();
    if (frame >= g_total_frames) {
        if (frame == g_total_frames) {
            g_samples.push_back(soak::take_figures(frame));
            g_end();
        }
        return;
    }
    for (int f : g_sample_frames)
        if (f == frame) g_samples.push_back(soak::take_figures(frame));
    // Action j of a cycle runs one frame after the cycle's start plus its slot.
    const int in_cycle = frame % g_cycle.frames();
    if (in_cycle % g_cycle.frames_per_action == 1) {
        g_cycle.actions[static_cast<std::size_t>(in_cycle / g_cycle.frames_per_action)]();
    }
}

// Frames, rounded up to whole cycles (at least two), and the cycle ends where
// figures are taken: the end of the first cycle and K more up to the end.
void plan(int cycle_frames) {
    int cycles = (g_options.frames + cycle_frames - 1) / cycle_frames;
    if (cycles < 2) cycles = 2;
    g_total_frames = cycles * cycle_frames;
    g_sample_frames.clear();
    // Room for every sample now: the samples' own storage must not grow between them.
    g_samples.reserve(static_cast<std::size_t>(g_options.samples) + 1);
    for (int k = 0; k < g_options.samples; ++k) {
        const int cycle = 1 + (cycles - 1) * k / g_options.samples;
        if (g_sample_frames.empty() || g_sample_frames.back() != cycle * cycle_frames)
            g_sample_frames.push_back(cycle * cycle_frames);
    }
}

LRESULT(CALLBACK* g_example_command)(HWND, UINT, WPARAM, LPARAM) = nullptr;
int g_clicks = 0;
LRESULT CALLBACK counting_command(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_COMMAND) ++g_clicks;
    return g_example_command(wnd, msg, wparam, lparam);
}

// What the input did, and whether it did what it should.
struct Outcome {
    std::string text;
    bool input_arrived = false;
};

// The grass program, with the input cycle; what the input did is watched.
Outcome run_grass() {
    if (g_options.screen_width) {
        orvex_headless::set_screen_size(g_options.screen_width, g_options.screen_height);
        orvex_headless::answer_next_message_box(IDYES);
    } else {
        orvex_headless::answer_next_message_box(IDNO);
    }
    std::set<int> textures;
    float most_turned = 0, nearest = 0, farthest = 0;
    g_each_frame = [&] {
        textures.insert(grass::SELTEX);
        if (orvex::YROT > most_turned) most_turned = orvex::YROT;
        if (orvex::DEPTH < nearest) nearest = orvex::DEPTH;
        if (orvex::DEPTH > farthest) farthest = orvex::DEPTH;
    };
    g_end = [] { orvex_headless::key_down(VK_ESCAPE); };
    orvex_headless::on_present([](int frame) {
        if (frame == 1) {  // the window exists from here on
            g_cycle = grass_cycle();
            plan(g_cycle.frames());
        }
        on_frame(frame);
    });
    const int status = grass::run_program();
    char what[200];
    std::snprintf(what, sizeof what, "exit status %d; grass textures shown: %zu of 5; turned up to %g degrees; "
                  "depth from %g to %g; ends at XROT %g, YROT %g, DEPTH %g",
                  status, textures.size(), static_cast<double>(most_turned), static_cast<double>(nearest),
                  static_cast<double>(farthest), static_cast<double>(orvex::XROT), static_cast<double>(orvex::YROT),
                  static_cast<double>(orvex::DEPTH));
    return {what, status == 0 && textures.size() == 5 && most_turned > 0 && nearest < 0};
}

// The buttons example, with the input cycle; clicks are counted.
Outcome run_buttons() {
    HWND buttons[example::kButtonCount] = {};
    example::open_window(buttons);
    g_example_command = orvex::GETINPUTCOMMAND;
    orvex::GETINPUTCOMMAND = counting_command;
    g_cycle = buttons_cycle(buttons);
    plan(g_cycle.frames());
    g_end = [] { orvex_headless::close_button(orvex::HWINDOW); };
    orvex_headless::on_present(on_frame);
    example::run_frames();
    const int cycles = g_total_frames / g_cycle.frames();
    const int expected = cycles * static_cast<int>(std::size(buttons));
    char what[160];
    std::snprintf(what, sizeof what, "clicks delivered: %d of %d (%d cycles of %d buttons, one click each)",
                  g_clicks, expected, cycles, static_cast<int>(std::size(buttons)));
    return {what, g_clicks == expected};
}

}  // namespace

int main(int argc, char** argv) {
    g_options = parse(argc, argv);
    orvex_headless::activate();
    const soak::Figures before = soak::take_figures(0);
    const Outcome outcome = g_options.program == "grass" ? run_grass() : run_buttons();
    const soak::Figures after = soak::take_figures(g_total_frames);

    std::printf("orvex-soak %s: %d frames, input cycle of %d frames (%zu events)\n", g_options.program.c_str(),
                g_total_frames, g_cycle.frames(), g_cycle.actions.size());
    std::printf("%s%s\n\n", outcome.text.c_str(), outcome.input_arrived ? "" : " (NOT ALL INPUT ARRIVED)");
    soak::print_table(stdout, g_samples);
    if (g_samples.size() < 2) {
        std::printf("too few samples\n");
        return 1;
    }
    const soak::Figures& first = g_samples.front();
    const soak::Figures& last = g_samples.back();
    const long long heap_growth = static_cast<long long>(last.heap_bytes) - static_cast<long long>(first.heap_bytes);
    const long long rss_growth = static_cast<long long>(last.rss_kib) - static_cast<long long>(first.rss_kib);
    const orvex_headless::LiveHandles& a = first.handles;
    const orvex_headless::LiveHandles& b = last.handles;
    const bool handles_flat = b.windows <= a.windows && b.gdi_objects <= a.gdi_objects &&
                              b.gl_contexts <= a.gl_contexts && b.memory_blocks <= a.memory_blocks &&
                              b.cursors <= a.cursors;
    const bool heap_flat = heap_growth < static_cast<long long>(kHeapAllowance);
    std::printf("\nfrom frame %d to frame %d: heap %+lld bytes, RSS %+lld KiB, handles %s\n", first.frame, last.frame,
                heap_growth, rss_growth, handles_flat ? "flat" : "GREW");
    std::printf("before the program: %zu windows, %zu GDI objects, %zu contexts; after it: %zu, %zu, %zu\n",
                before.handles.windows, before.handles.gdi_objects, before.handles.gl_contexts, after.handles.windows,
                after.handles.gdi_objects, after.handles.gl_contexts);
    const bool ok = outcome.input_arrived && handles_flat && heap_flat;
    std::printf("%s\n", ok ? "no growth" : "GROWTH");
    return ok ? 0 : 1;
}
