// Window settings, class registration, the fatal-error box.
#include <GL/gl.h>

#include <cstdlib>

#include "framework/buttons/button_class.h"
#include "framework/geometry/vertex_recorder.h"
#include "framework/window/window.h"

namespace orvex {

std::int32_t SETTYPECURSOR = 0;
const char* CURSORFILE = nullptr;
std::int32_t SETTYPEICON = 0;
const char* ICONFILE = nullptr;
bool FOGONOFF = false;
std::uint32_t START = 0;
std::uint32_t OBJNULL = 0;
WNDCLASSEXA WINDOWCLASSEX{};
std::string ORVEXVERSION = "1.0";

void OGLWINDOWSETTING(std::int32_t TYPECURSOR, const char* CURFILE, std::int32_t TYPEICON, const char* ICOFILE) {
    if (MOUSEFREE) {
        START = GetTickCount();
        SetCursorPos(checked_div(WIDTH, 2, "OGLWINDOWSETTING: WIDTH / 2"),
                     checked_div(HEIGHT, 2, "OGLWINDOWSETTING: HEIGHT / 2"));
    }
    FOGONOFF = true;
    SETTYPECURSOR = TYPECURSOR;
    CURSORFILE = CURFILE;
    SETTYPEICON = TYPEICON;
    ICONFILE = ICOFILE;
    // An empty display list; with no current context OpenGL answers 0.
    OBJNULL = glGenLists(1);
    glNewList(OBJNULL, GL_COMPILE);
    glEndList();
    GLVERT3FREMOVE = false;
    GLVERT3FENABLEEDIT = false;
}

namespace {
// The class cursor for a cursor code; codes outside the table give no class
// cursor (a null handle).
HCURSOR class_cursor(std::int32_t code) {
    switch (code) {
        case ARROW: return LoadCursorA(nullptr, IDC_ARROW);
        case IBEAM: return LoadCursorA(nullptr, IDC_IBEAM);
        case WAIT: return LoadCursorA(nullptr, IDC_WAIT);
        case CROSS: return LoadCursorA(nullptr, IDC_CROSS);
        case UPARROW: return LoadCursorA(nullptr, IDC_UPARROW);
        case SIZE: return LoadCursorA(nullptr, IDC_SIZE);
        case FILECURSOR: return LoadCursorFromFileA(CURSORFILE);
        case SIZENWSE: return LoadCursorA(nullptr, IDC_SIZENWSE);
        case SIZENESW: return LoadCursorA(nullptr, IDC_SIZENESW);
        case SIZEWE: return LoadCursorA(nullptr, IDC_SIZEWE);
        case SIZENS: return LoadCursorA(nullptr, IDC_SIZENS);
        case SIZEALL: return LoadCursorA(nullptr, IDC_SIZEALL);
        case NOCURSOR: return LoadCursorA(nullptr, IDC_NO);
        case HAND: return LoadCursorA(nullptr, IDC_HAND);
        case APPSTARTING: return LoadCursorA(nullptr, IDC_APPSTARTING);
        case HELP: return LoadCursorA(nullptr, IDC_HELP);
        default: return nullptr;
    }
}

// The class icon for an icon code; other codes give no class icon.
HICON class_icon(std::int32_t code) {
    switch (code) {
        case GENERIC: return LoadIconA(nullptr, IDI_APPLICATION);
        // The cursor-file loader also reads icon files; its handle serves as the icon.
        case FILEICON: return static_cast<HICON>(LoadCursorFromFileA(ICONFILE));
        default: return nullptr;
    }
}
}  // namespace

bool WINDOWREGISTER() {
    // The module instance handle is kept as the platform's handle type: on a
    // 64-bit system it does not fit 32 bits, and nothing here needs it to.
    HINSTANCE instance = GetModuleHandleA(nullptr);

    WNDCLASSA wc{};
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = GLWNDPROC;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = class_icon(SETTYPEICON);
    wc.hCursor = class_cursor(SETTYPECURSOR);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = "GLWindow";
    bool registered = (RegisterClassA(&wc) & 0xFFFF) != 0;

    if (!GetClassInfoExA(nullptr, SZHOVERCLASS, &WINDOWCLASSEX)) {
        WINDOWCLASSEX = WNDCLASSEXA{};
        WINDOWCLASSEX.cbSize = sizeof(WNDCLASSEXA);
        WINDOWCLASSEX.style = 0;
        WINDOWCLASSEX.lpfnWndProc = HOVERBUTTONHANDLER;
        WINDOWCLASSEX.cbClsExtra = 0;
        WINDOWCLASSEX.cbWndExtra = 0;
        WINDOWCLASSEX.hInstance = instance;
        WINDOWCLASSEX.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        WINDOWCLASSEX.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        WINDOWCLASSEX.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        WINDOWCLASSEX.lpszMenuName = nullptr;
        WINDOWCLASSEX.lpszClassName = SZHOVERCLASS;
        WINDOWCLASSEX.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
        RegisterClassExA(&WINDOWCLASSEX);
    }
    return registered;
}

void THROWERROR(const char* PCERRORMESSAGE) {
    MessageBoxA(nullptr, PCERRORMESSAGE, "Error", MB_OK);
    // A normal end: the modules' shutdown runs.
    std::exit(0);
}

}  // namespace orvex
