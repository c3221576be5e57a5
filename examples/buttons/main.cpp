// Image buttons over an OpenGL window (see buttons_program.cpp).
//
//   buttons_example                  runs the window until it is closed
//   buttons_example --snapshot F.png runs without a display: it moves the
//                                    pointer and clicks by itself, then
//                                    writes a picture of the window to F.png
#include <cstdio>
#include <cstring>

#include "examples/buttons/buttons_program.h"
#include "examples/buttons/snapshot.h"

int main(int argc, char** argv) {
    const bool snapshot = argc == 3 && std::strcmp(argv[1], "--snapshot") == 0;
    if (argc != 1 && !snapshot) {
        std::fprintf(stderr, "usage: %s [--snapshot FILE.png]\n", argv[0]);
        return 2;
    }
    if (snapshot) example::start_headless();

    HWND buttons[example::kButtonCount] = {};
    example::open_window(buttons);
    if (snapshot) example::script_snapshot(argv[2], buttons, example::kButtonCount);
    example::run_frames();
    return example::snapshot_ok() ? 0 : 1;
}
