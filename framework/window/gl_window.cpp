// The OpenGL window: creation with its optional menu bar and status bar, the
// pixel format and rendering context, and the teardown.
#include <cstring>

#include "framework/window/window.h"

namespace orvex {

HWND HWINDOW = nullptr;
HDC DCWINDOW = nullptr;
HGLRC RCWINDOW = nullptr;
std::int32_t WIDTH = 0;
std::int32_t HEIGHT = 0;
std::int32_t BITS = 0;
bool FULLSCREEN = false;
std::int32_t PIXEL_FORMAT_FLAGS = 0;
bool SHOWMENUBAR = false;
void (*CREATEMENUBAR)() = nullptr;
bool SHOWSTATUSBAR = false;
HWND HSTATUS = nullptr;
HWND AWND = nullptr;
char FILENAME[261] = {};
CheckedArray<std::int32_t, 1, 20> STATUSITEM;
CheckedArray<std::int32_t, 1, 20> EDGES;
std::int32_t MAXSTATUSITEM = 0;

namespace {
constexpr DWORD kWindowedStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_SYSMENU;
static_assert(kWindowedStyle == 0x96CA0000u && kFullScreenStyle == 0x96880000u);

// The flags every pixel format request carries, besides PIXEL_FORMAT_FLAGS.
constexpr DWORD kPixelFormatFlags = PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                                    PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED;
static_assert(kPixelFormatFlags == 4199);
}  // namespace

bool CREATEOGLWINDOW(const char* APPNAME, std::int32_t APPWIDTH, std::int32_t APPHEIGHT, std::int32_t APPBITS,
                     bool APPFULLSCREEN) {
    WIDTH = APPWIDTH;
    HEIGHT = APPHEIGHT;
    BITS = APPBITS;
    FULLSCREEN = APPFULLSCREEN;
    if (!WINDOWREGISTER()) THROWERROR("Errore di registro per la rispettiva applicazione!");
    HWINDOW = WINDOWCREATE(APPNAME);
    if (SHOWMENUBAR && CREATEMENUBAR) CREATEMENUBAR();
    if (SHOWSTATUSBAR) HSTATUS = CREATESTATUSBAR(HWINDOW);
    if (!HWINDOW) THROWERROR("Impossibile creare la finestra per la rispettiva applicazione!");
    // "è" is the single Windows-1252 byte E8.
    if (!WINDOWINIT(HWINDOW)) THROWERROR("la rispettiva applicazione non \xE8 stata inizilizata!");
    return true;
}

HWND WINDOWCREATE(const char* PCAPPLICATIONNAME) {
    DWORD style = kWindowedStyle;
    if (FULLSCREEN) {
        WIDTH = GetSystemMetrics(SM_CXSCREEN);
        HEIGHT = GetSystemMetrics(SM_CYSCREEN);
        style = kFullScreenStyle;
    }
    HWND handle = CreateWindowExA(0, "GLWindow", PCAPPLICATIONNAME, style, CW_USEDEFAULT, CW_USEDEFAULT, WIDTH,
                                  HEIGHT, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (handle) {
        // The show command the process was started with.
        ShowWindow(handle, SW_SHOWDEFAULT);
        UpdateWindow(handle);
    }
    return handle;
}

bool WINDOWINIT(HWND HPARENT) {
    int FUNCTIONERROR = 0;
    DCWINDOW = GetDC(HPARENT);

    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof pfd);
    const BYTE bits = static_cast<BYTE>(check_index(BITS, 0, 255, "WINDOWINIT: BITS"));
    const std::int32_t flags = PIXEL_FORMAT_FLAGS | static_cast<std::int32_t>(kPixelFormatFlags);
    check_index(flags, 0, 0x7FFFFFFF, "WINDOWINIT: PIXEL_FORMAT_FLAGS");
    pfd.nSize = 40;
    pfd.nVersion = 1;
    pfd.dwFlags = static_cast<DWORD>(flags);
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = bits;
    pfd.cAlphaBits = bits;
    pfd.cAccumBits = bits;
    pfd.cDepthBits = bits;
    pfd.cStencilBits = bits;
    pfd.cAuxBuffers = bits;
    pfd.iLayerType = 1;

    int IFORMAT = ChoosePixelFormat(DCWINDOW, &pfd);
    if (IFORMAT == 0) FUNCTIONERROR = 1;
    SetPixelFormat(DCWINDOW, IFORMAT, &pfd);
    RCWINDOW = wglCreateContext(DCWINDOW);
    if (!RCWINDOW) FUNCTIONERROR = 2;
    wglMakeCurrent(DCWINDOW, RCWINDOW);
    return FUNCTIONERROR == 0;
}

HWND CREATESTATUSBAR(HWND PARENT) {
    std::memset(FILENAME, 0, sizeof FILENAME);
    std::memcpy(FILENAME, "Percorso file", sizeof "Percorso file");
    AWND = CreateStatusWindowA(static_cast<LONG>(WS_CHILD | WS_VISIBLE), FILENAME, PARENT, 30482);
    if (AWND) {
        for (std::int32_t I = 1; I <= MAXSTATUSITEM; ++I) EDGES.at(I, "EDGES") = STATUSITEM.at(I, "STATUSITEM");
        SendMessageA(AWND, SB_SETPARTS, static_cast<WPARAM>(MAXSTATUSITEM), reinterpret_cast<LPARAM>(EDGES.data()));
    }
    return AWND;
}

void DELETEOGLWINDOW() {
    wglMakeCurrent(DCWINDOW, nullptr);
    wglDeleteContext(RCWINDOW);
    ReleaseDC(HWINDOW, DCWINDOW);
    DestroyWindow(HWINDOW);
}

}  // namespace orvex
