// grass-snapshot: runs the grass program on the headless display, with
// scripted input, and writes what it presented last as a PNG file.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "scene/image_files.h"
#include "scene/program.h"
#include "tools/image_writers/png_writer.h"

namespace {

namespace fs = std::filesystem;

struct Options {
    std::string out = "grass.png";
    std::string images;  // empty: the working directory, else beside the tool
    int frames = 10;
    bool answer_yes = false;
    int screen_width = 1920;
    int screen_height = 1080;
    std::vector<char> keys;
    bool drag_left = false;
    int left_dx = 0, left_dy = 0;
    bool drag_right = false;
    int right_dy = 0;
};

void usage(const char* why) {
    if (why) std::fprintf(stderr, "grass-snapshot: %s\n", why);
    std::fprintf(stderr,
                 "usage: grass-snapshot [--out FILE] [--images DIR] [--frames N] [--answer yes|no]\n"
                 "                      [--screen WxH] [--key C]... [--drag-left DX,DY] [--drag-right DY]\n"
                 "  --out FILE         the PNG to write (default grass.png)\n"
                 "  --images DIR       read the seven image files from DIR only; without it they are\n"
                 "                     read from the working directory, or from the directory of\n"
                 "                     grass-snapshot when that holds more of them. Each image\n"
                 "                     missing there is named on stderr\n"
                 "  --frames N         frames before the program is ended with Escape (default 10)\n"
                 "  --answer yes|no    the answer to the full-screen question (default no)\n"
                 "  --screen WxH       the headless screen's size (default 1920x1080)\n"
                 "  --key C            hold the main-keyboard key C (a digit or letter; repeatable)\n"
                 "  --drag-left DX,DY  drag with the left button by DX, DY pixels (turns the view)\n"
                 "  --drag-right DY    drag with the right button by DY pixels (moves nearer or farther)\n");
    std::exit(2);
}

bool parse_int(const char* text, int& out, int low, int high) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") usage(nullptr);
        if (i + 1 >= argc) usage(("missing value for " + a).c_str());
        const char* v = argv[++i];
        if (a == "--out") {
            if (!*v) usage("--out needs a file name");
            o.out = v;
        } else if (a == "--images") {
            std::error_code error;
            if (!fs::is_directory(v, error)) usage(("--images: " + std::string(v) + " is not a directory").c_str());
            o.images = v;
        } else if (a == "--frames") {
            if (!parse_int(v, o.frames, 1, 100000)) usage("--frames takes a number from 1 to 100000");
        } else if (a == "--answer") {
            if (std::strcmp(v, "yes") == 0)
                o.answer_yes = true;
            else if (std::strcmp(v, "no") == 0)
                o.answer_yes = false;
            else
                usage("--answer takes yes or no");
        } else if (a == "--screen") {
            std::string s = v;
            auto x = s.find('x');
            if (x == std::string::npos || !parse_int(s.substr(0, x).c_str(), o.screen_width, 16, 16384) ||
                !parse_int(s.substr(x + 1).c_str(), o.screen_height, 16, 16384))
                usage("--screen takes WxH, each from 16 to 16384");
        } else if (a == "--key") {
            if (std::strlen(v) != 1 || !std::isalnum(static_cast<unsigned char>(v[0])))
                usage("--key takes one digit or letter");
            o.keys.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(v[0]))));
        } else if (a == "--drag-left") {
            std::string s = v;
            auto comma = s.find(',');
            if (comma == std::string::npos || !parse_int(s.substr(0, comma).c_str(), o.left_dx, -10000, 10000) ||
                !parse_int(s.substr(comma + 1).c_str(), o.left_dy, -10000, 10000))
                usage("--drag-left takes DX,DY");
            o.drag_left = true;
        } else if (a == "--drag-right") {
            if (!parse_int(v, o.right_dy, -10000, 10000)) usage("--drag-right takes DY");
            o.drag_right = true;
        } else {
            usage(("unknown option " + a).c_str());
        }
    }
    return o;
}

Options g_options;

// The directory of this program's executable; empty when it cannot be told.
fs::path own_directory(const char* argv0) {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) exe = fs::canonical(argv0, error);
    return error ? fs::path() : exe.parent_path();
}

// Where the images are read from: DIR of --images; else the working
// directory, or the tool's own when that holds more of the seven files.
fs::path image_directory(const char* argv0) {
    if (!g_options.images.empty()) return g_options.images;
    const fs::path here = ".";
    const fs::path own = own_directory(argv0);
    const std::size_t missing_here = grass::missing_image_files(here).size();
    std::error_code error;
    if (missing_here == 0 || own.empty() || fs::equivalent(here, own, error)) return here;
    const std::size_t missing_own = grass::missing_image_files(own).size();
    if (missing_own > 0)
        std::fprintf(stderr, "grass-snapshot: neither the working directory nor %s holds all seven image files\n",
                     own.string().c_str());
    return missing_own < missing_here ? own : here;
}

void on_frame(int frame) {
    // The mouse speed is set by the first frame; drags start after it. Each
    // of a drag's four messages is handled in a frame of its own.
    if (frame == 1) {
        if (g_options.drag_left)
            orvex_headless::drag(orvex::HWINDOW, orvex_headless::Button::left, g_options.left_dx, g_options.left_dy);
        if (g_options.drag_right) orvex_headless::drag(orvex::HWINDOW, orvex_headless::Button::right, 0, g_options.right_dy);
    }
    if (frame == g_options.frames) orvex_headless::key_down(VK_ESCAPE);
}

}  // namespace

int main(int argc, char** argv) {
    g_options = parse(argc, argv);
    // The program reads its images from its working directory: the tool
    // moves there, with the picture's name made absolute first.
    std::error_code error;
    std::string out = g_options.out;
    if (fs::path absolute = fs::absolute(out, error); !error) out = absolute.string();
    const fs::path images = image_directory(argv[0]);
    fs::current_path(images, error);
    if (error) {
        std::fprintf(stderr, "grass-snapshot: cannot read the images from %s: %s\n", images.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    // Every input message takes a frame (a key press two, with its character).
    int needed = 1 + 2 * static_cast<int>(g_options.keys.size()) + 4 * (g_options.drag_left + g_options.drag_right);
    if (g_options.frames < needed) {
        std::fprintf(stderr, "grass-snapshot: %d frames are needed to deliver the input; drawing %d\n", needed, needed);
        g_options.frames = needed;
    }

    orvex_headless::activate();
    orvex_headless::set_screen_size(g_options.screen_width, g_options.screen_height);
    orvex_headless::answer_next_message_box(g_options.answer_yes ? IDYES : IDNO);
    for (char k : g_options.keys) orvex_headless::key_down(static_cast<unsigned char>(k));
    orvex_headless::on_present(on_frame);
    // Escape goes in after frame N: the program ends in a frame after it,
    // and only those frames are read back.
    orvex_headless::read_back_frames([](int frame) { return frame > g_options.frames; });

    int status = grass::run_program();

    const auto& frame = orvex_headless::last_frame();
    if (frame.number != orvex_headless::frames_presented()) {
        std::fprintf(stderr, "grass-snapshot: the program ended in frame %d, before the frames read back\n",
                     orvex_headless::frames_presented());
        return 1;
    }
    std::string write_error;
    // The frame's alpha is the clear colour's, not coverage: the picture is opaque.
    std::vector<std::uint8_t> rgb;
    rgb.reserve(frame.rgba.size() / 4 * 3);
    for (std::size_t i = 0; i + 3 < frame.rgba.size(); i += 4) rgb.insert(rgb.end(), &frame.rgba[i], &frame.rgba[i] + 3);
    if (!orvex_image_writers::write_png(out, frame.width, frame.height, rgb, write_error)) {
        std::fprintf(stderr, "grass-snapshot: %s\n", write_error.c_str());
        return 1;
    }
    std::printf("grass-snapshot: wrote %s (%dx%d, %d frames)\n", g_options.out.c_str(), frame.width, frame.height,
                orvex_headless::frames_presented());
    return status;
}
