#include "tests/textures/gl_context.h"

#include "platform/win32.h"

namespace orvex_test {

namespace {
LRESULT CALLBACK plain_window_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

struct Context {
    HWND wnd = nullptr;
    HDC dc = nullptr;
    HGLRC rc = nullptr;
};

Context create() {
    Context c;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = plain_window_proc;
    wc.hInstance = instance;
    wc.lpszClassName = "TextureTestWindow";
    if (!RegisterClassA(&wc)) return c;
    c.wnd = CreateWindowExA(0, wc.lpszClassName, "textures", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                            instance, nullptr);
    if (!c.wnd) return c;
    c.dc = GetDC(c.wnd);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    int format = ChoosePixelFormat(c.dc, &pfd);
    if (format == 0 || !SetPixelFormat(c.dc, format, &pfd)) return c;
    c.rc = wglCreateContext(c.dc);
    return c;
}
}  // namespace

bool make_gl_current() {
    static Context c = create();
    return c.rc && wglMakeCurrent(c.dc, c.rc);
}

}  // namespace orvex_test
