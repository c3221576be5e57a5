// Three IMAGEBUTTON controls sit on an OpenGL window: a round play button, a
// star and a rounded stop button, each drawn from its normal, hover and
// pressed BMP files (play*.BMP, star*.BMP, stop*.BMP in the working
// directory). A click reaches the program as WM_COMMAND through the
// GETINPUTCOMMAND hook, and the status bar shows the last one.
#include "examples/buttons/buttons_program.h"

#include <cstdio>

#include "framework/core/floating_point.h"
#include "framework/orvex.h"

using namespace orvex;

namespace example {

namespace {

struct ButtonInfo {
    const char* prefix;  // file names: prefix + "N.BMP", "H.BMP", "P.BMP"
    const char* label;
    int id;
    int x, y;  // in the window's client area
};

const ButtonInfo kButtons[kButtonCount] = {
    {"play", "Play", 101, 40, 60},
    {"star", "Star", 102, 130, 60},
    {"stop", "Stop", 103, 220, 72},
};

char g_status[64] = "Click a button";

LRESULT CALLBACK on_command(HWND, UINT msg, WPARAM wparam, LPARAM) {
    if (msg != WM_COMMAND) return 0;
    for (const ButtonInfo& b : kButtons)
        if (LOWORD(wparam) == b.id) {
            std::snprintf(g_status, sizeof g_status, "Clicked: %s", b.label);
            SendMessageA(HSTATUS, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(g_status));
        }
    return 0;
}

// Right clicks ask for a context menu; this program has none.
void no_context_menu() {}

}  // namespace

void open_window(HWND (&buttons)[kButtonCount]) {
    mask_floating_point_exceptions();
    SHOWMENUBAR = true;  // lets WM_COMMAND reach GETINPUTCOMMAND
    SHOWSTATUSBAR = true;
    GETINPUTCOMMAND = on_command;
    CREATEMOUSEMENU = no_context_menu;
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("Orvex image buttons", 380, 200, 32, false);
    SendMessageA(HSTATUS, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(g_status));

    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonInfo& b = kButtons[i];
        BMPTYPE = b.prefix;
        // The size is the picture's: the button takes it on creation.
        buttons[i] = CreateWindowExA(0, SZHOVERCLASS, b.label, WS_CHILD | WS_VISIBLE, b.x, b.y, 0, 0, HWINDOW,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)), GetModuleHandleA(nullptr),
                                     nullptr);
        if (!buttons[i]) std::fprintf(stderr, "cannot create the %s button\n", b.label);
    }
}

void run_frames() {
    glClearColor(0.13f, 0.17f, 0.24f, 1.0f);
    do {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SETGLMSG();
        SwapBuffers(DCWINDOW);
    } while (ACTIVE);
    DELETEOGLWINDOW();
}

}  // namespace example
