// Rendering contexts on EGL window surfaces: what SwapBuffers presented is
// what the window shows on the X server.
#include "tests/x11/x11_fixture.h"
#include <GL/gl.h>

#include "platform/x11/x11.h"

namespace orvex_test {
namespace {

class X11Rendering : public X11Test {};

TEST_F(X11Rendering, SwapBuffersPresentsWhatWasRendered) {
    constexpr int kW = 64, kH = 48;
    HWND w = open_window(200, 200, kW, kH);
    ASSERT_NE(w, nullptr);
    HDC dc = GetDC(w);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    HGLRC rc = wglCreateContext(dc);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, rc));

    for (int frame = 0; frame < 2; ++frame) {
        SCOPED_TRACE(frame);
        glViewport(0, 0, kW, kH);
        glClearColor(frame ? 0.0f : 0.2f, 0.4f, frame ? 0.8f : 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kW, 0, kH, -1, 1);
        glBegin(GL_QUADS);
        glColor3f(1, 0, 0);
        glVertex2i(4, 4), glVertex2i(30, 4), glVertex2i(30, 20), glVertex2i(4, 20);
        glColor3f(0, 1, frame ? 1.0f : 0.0f);
        glVertex2i(34 - frame * 10, 24), glVertex2i(60, 24), glVertex2i(60, 44), glVertex2i(34 - frame * 10, 44);
        glEnd();
        glFinish();
        std::vector<unsigned char> rendered(kW * kH * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, rendered.data());
        ASSERT_TRUE(SwapBuffers(dc));
        XSync(static_cast<Display*>(orvex_x11::display()), False);

        XImage* img = XGetImage(dpy, xid(w), 0, 0, kW, kH, AllPlanes, ZPixmap);
        ASSERT_NE(img, nullptr);
        int differing = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                unsigned long p = XGetPixel(img, x, y);
                const unsigned char* gl = &rendered[(static_cast<std::size_t>(kH - 1 - y) * kW + x) * 4];
                if (((p >> 16) & 0xFF) != gl[0] || ((p >> 8) & 0xFF) != gl[1] || (p & 0xFF) != gl[2]) ++differing;
            }
        // The red quad, seen from the top-left, lies in the bottom rows.
        unsigned long red = XGetPixel(img, 10, kH - 10);
        XDestroyImage(img);
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(red & 0xFFFFFF, 0xFF0000u);
    }
    wglMakeCurrent(dc, nullptr);
    wglDeleteContext(rc);
    ReleaseDC(w, dc);
}

}  // namespace
}  // namespace orvex_test
