// The message pump and the main window procedure: window messages become
// plain global state that the frame reads.
#include "framework/window/window.h"

namespace orvex {

bool ACTIVE = false;
MSG MSG_{};
CheckedArray<std::int32_t, 0, 500> SETKEY;
bool LEFTMOUSEDOWN = false;
bool LEFTMOUSEDOWN2 = false;
bool RIGHTMOUSEDOWN = false;
bool RIGHTMOUSEDOWN2 = false;
std::int32_t XCOORD = 0;
std::int32_t YCOORD = 0;
std::int32_t ZCOORD = 0;
std::int32_t SETMX = 0;
std::int32_t SETMY = 0;
std::int32_t SETOMX = 0;
std::int32_t SETOMY = 0;
float XROT = 0;
float YROT = 0;
float DEPTH = 0;
float XROT2 = 0;
float YROT2 = 0;
float DEPTH2 = 0;
POINT MPOS{};
std::int32_t MSPEED = 0;
bool MOUSEFREE = false;
LRESULT(CALLBACK* GETINPUTCOMMAND)(HWND, UINT, WPARAM, LPARAM) = nullptr;
void (*CREATEMOUSEMENU)() = nullptr;

void SETGLMSG() {
    if (!PeekMessageA(&MSG_, nullptr, 0, 0, PM_NOREMOVE)) return;
    // Cannot block: a message is waiting. The end of the program is signalled
    // through ACTIVE, so WM_QUIT's zero result is not looked at.
    GetMessageA(&MSG_, nullptr, 0, 0);
    TranslateMessage(&MSG_);
    DispatchMessageA(&MSG_);
}

namespace {
// Client co-ordinates of a mouse message: the low and the high 16 bits of
// LPARAM, each unsigned, so points left of or above the client area (seen
// while the mouse is captured) come out near 65535.
std::int32_t low_word(LPARAM lparam) { return static_cast<std::int32_t>(lparam & 0xFFFF); }
std::int32_t high_word(LPARAM lparam) { return static_cast<std::int32_t>((lparam >> 16) & 0xFFFF); }

// One camera increment: the integer difference divided by the constant and
// multiplied by the speed, added to the current value, all in extended
// precision, rounded once to single when stored.
float step(float value, std::int32_t difference, long double divisor, bool subtract) {
    long double increment = (static_cast<long double>(difference) / divisor) * static_cast<long double>(MSPEED);
    return static_cast<float>(subtract ? static_cast<long double>(value) - increment
                                       : static_cast<long double>(value) + increment);
}

float clamp60(float value) {
    if (value > 60.0f) return 60.0f;
    if (value < -60.0f) return -60.0f;
    return value;
}

void camera_update(LPARAM lparam) {
    const std::int32_t x = low_word(lparam);
    const std::int32_t y = high_word(lparam);
    SETOMX = x;
    SETOMY = y;
    if (LEFTMOUSEDOWN) {
        std::int32_t dx = checked_sub(x, XCOORD, "GLWNDPROC: mouse x difference");
        std::int32_t dy = checked_sub(y, YCOORD, "GLWNDPROC: mouse y difference");
        XROT = step(XROT, dy, 2.0L, false);
        YROT = step(YROT, dx, 2.0L, false);
        XROT2 = step(XROT2, dy, 2.0L, false);
        YROT2 = step(YROT2, dx, 2.0L, false);
        XCOORD = x;
        YCOORD = y;
    }
    if (RIGHTMOUSEDOWN && !MOUSEFREE) {
        std::int32_t dz = checked_sub(y, ZCOORD, "GLWNDPROC: mouse zoom difference");
        DEPTH = step(DEPTH, dz, 10.0L, true);
        DEPTH2 = step(DEPTH2, dz, 10.0L, true);
        ZCOORD = y;
    }
    if (MOUSEFREE && GetForegroundWindow() == HWINDOW) {
        GetCursorPos(&MPOS);
        const std::int32_t cx = checked_div(WIDTH, 2, "GLWNDPROC: WIDTH / 2");
        const std::int32_t cy = checked_div(HEIGHT, 2, "GLWNDPROC: HEIGHT / 2");
        SetCursorPos(cx, cy);
        std::int32_t mx = checked_sub(static_cast<std::int32_t>(MPOS.x), cx, "GLWNDPROC: free mouse x");
        std::int32_t my = checked_sub(cy, static_cast<std::int32_t>(MPOS.y), "GLWNDPROC: free mouse y");
        XROT = step(XROT, mx, 100.0L, false);
        YROT = clamp60(step(YROT, my, 100.0L, true));
        XROT2 = step(XROT2, mx, 100.0L, false);
        YROT2 = clamp60(step(YROT2, my, 100.0L, true));
    }
}

std::int32_t key_index(WPARAM wparam) {
    // Virtual-key codes fit the table; anything else is a range error.
    if (wparam > 500) fatal_range_error("SETKEY index", static_cast<long long>(wparam), 0, 500);
    return static_cast<std::int32_t>(wparam);
}
}  // namespace

LRESULT CALLBACK GLWNDPROC(HWND WINDOW, UINT AMESSAGE, WPARAM wparam, LPARAM lparam) {
    switch (AMESSAGE) {
        case WM_CREATE: ACTIVE = true; return 0;
        case WM_DESTROY:
            ACTIVE = false;
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(WINDOW, &ps);
            UpdateWindow(HSTATUS);
            EndPaint(WINDOW, &ps);
            return 0;
        }
        case WM_CONTEXTMENU:
            // Without a menu builder there is nothing to call.
            if (SHOWMENUBAR && CREATEMOUSEMENU) CREATEMOUSEMENU();
            break;
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) {
                SendMessageA(HWINDOW, WM_DESTROY, 0, 0);
                return 0;
            }
            SETKEY.at(key_index(wparam), "SETKEY") = -1;
            break;
        case WM_KEYUP:
            SETKEY.at(key_index(wparam), "SETKEY") = 0;
            MOUSEFREE = false;
            break;
        case WM_COMMAND:
            if (SHOWMENUBAR && GETINPUTCOMMAND) GETINPUTCOMMAND(WINDOW, AMESSAGE, wparam, lparam);
            return 0;
        case WM_SYSCOMMAND:
            // Screen saver and monitor power-down are not held back: every
            // system command goes on to the default handling.
            break;
        case WM_MOUSEMOVE: camera_update(lparam); break;
        case WM_LBUTTONDOWN:
            ReleaseCapture();
            SetCapture(HWINDOW);
            LEFTMOUSEDOWN = LEFTMOUSEDOWN2 = true;
            XCOORD = SETMX = low_word(lparam);
            YCOORD = SETMY = high_word(lparam);
            break;
        case WM_LBUTTONUP:
            ReleaseCapture();
            LEFTMOUSEDOWN = LEFTMOUSEDOWN2 = false;
            XCOORD = YCOORD = SETMX = SETMY = 0;
            break;
        case WM_RBUTTONDOWN:
            ReleaseCapture();
            SetCapture(HWINDOW);
            RIGHTMOUSEDOWN = RIGHTMOUSEDOWN2 = true;
            ZCOORD = high_word(lparam);
            break;
        case WM_RBUTTONUP:
            ReleaseCapture();
            RIGHTMOUSEDOWN = RIGHTMOUSEDOWN2 = false;
            break;
        default: break;
    }
    // The common tail. Message numbers are handed on as unsigned 32-bit
    // values of which the top bit must be clear.
    if (wparam == 0) UpdateWindow(HSTATUS);
    check_index(AMESSAGE, 0, 0x7FFFFFFF, "GLWNDPROC: message number");
    return DefWindowProcA(WINDOW, AMESSAGE, wparam, lparam);
}

}  // namespace orvex
