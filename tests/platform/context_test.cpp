// Pixel formats, rendering contexts and presented frames.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"

namespace {

HWND make_window(const char* title, int w, int h) {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "ContextClass";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "ContextClass", title, WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, nullptr,
                           nullptr);
}

PIXELFORMATDESCRIPTOR request(BYTE bits) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = 0x1067;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = pfd.cAlphaBits = pfd.cAccumBits = pfd.cDepthBits = pfd.cStencilBits = pfd.cAuxBuffers = bits;
    pfd.iLayerType = 1;
    return pfd;
}

// A rendering context of a 32-bit pixel format for the device context, made
// current.
HGLRC current_context(HDC dc) {
    PIXELFORMATDESCRIPTOR want = request(32);
    EXPECT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &want), &want));
    HGLRC rc = wglCreateContext(dc);
    EXPECT_TRUE(rc && wglMakeCurrent(dc, rc));
    return rc;
}

TEST(PixelFormat, ClosestFormatToAnOversizedRequestHasColourAlphaDepthAndStencil) {
    HWND w = make_window("pf", 64, 64);
    HDC dc = GetDC(w);
    struct Case {
        BYTE bits;
    } cases[] = {{32}, {24}, {16}};
    for (auto c : cases) {
        PIXELFORMATDESCRIPTOR want = request(c.bits);
        int f = ChoosePixelFormat(dc, &want);
        ASSERT_GT(f, 0) << int(c.bits);
        PIXELFORMATDESCRIPTOR got{};
        ASSERT_GT(DescribePixelFormat(dc, f, sizeof got, &got), 0);
        EXPECT_EQ(got.iPixelType, PFD_TYPE_RGBA);
        EXPECT_EQ(got.cRedBits, 8) << int(c.bits);
        EXPECT_EQ(got.cColorBits, 32) << int(c.bits);
        EXPECT_GE(got.cAlphaBits, 8) << int(c.bits);
        EXPECT_GE(got.cDepthBits, 16) << int(c.bits);
        EXPECT_GE(got.cStencilBits, 8) << int(c.bits);
        EXPECT_TRUE(got.dwFlags & PFD_SUPPORT_OPENGL);
    }
    PIXELFORMATDESCRIPTOR index_request = request(8);
    index_request.iPixelType = PFD_TYPE_COLORINDEX;
    EXPECT_EQ(ChoosePixelFormat(dc, &index_request), 0);
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

TEST(PixelFormat, IsSetOnceAndAContextNeedsIt) {
    HWND w = make_window("once", 32, 32);
    HDC dc = GetDC(w);
    EXPECT_EQ(wglCreateContext(dc), nullptr) << "no pixel format yet";
    PIXELFORMATDESCRIPTOR want = request(32);
    int f = ChoosePixelFormat(dc, &want);
    EXPECT_FALSE(SetPixelFormat(dc, 0, &want));
    EXPECT_TRUE(SetPixelFormat(dc, f, &want));
    EXPECT_EQ(GetPixelFormat(dc), f);
    int other = f == 1 ? 2 : 1;
    EXPECT_FALSE(SetPixelFormat(dc, other, &want));
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

TEST(Context, DrawsAndPresentsTheFrameSwapped) {
    HWND w = make_window("frame", 40, 30);
    HDC dc = GetDC(w);
    HGLRC rc = current_context(dc);
    ASSERT_NE(rc, nullptr);
    ASSERT_EQ(wglGetCurrentContext(), rc);
    // Legacy immediate mode works: a compatibility context.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0);
    glVertex2f(-1, 0);
    glVertex2f(1, 0);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    int before = orvex_headless::frames_presented();
    ASSERT_TRUE(SwapBuffers(dc));
    EXPECT_EQ(orvex_headless::frames_presented(), before + 1);
    const auto& f = orvex_headless::last_frame();
    EXPECT_EQ(f.width, 40);
    EXPECT_EQ(f.height, 30);
    EXPECT_EQ(f.pixel(5, 2), 0xFF0000FFu) << "top half red";
    EXPECT_EQ(f.pixel(5, 28), 0x0000FFFFu) << "bottom half blue";
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(SwapBuffers(dc)) << "nothing to present without the context";
    EXPECT_TRUE(wglDeleteContext(rc));
    EXPECT_FALSE(wglDeleteContext(rc));
    ReleaseDC(w, dc);
    DestroyWindow(w);
    EXPECT_FALSE(SwapBuffers(dc)) << "the window's contexts went with it";
}

TEST(Context, ReadsBackOnlyTheFramesAskedFor) {
    HWND w = make_window("read back", 8, 6);
    HDC dc = GetDC(w);
    HGLRC rc = current_context(dc);
    ASSERT_EQ(wglGetCurrentContext(), rc);
    const int base = orvex_headless::frames_presented();
    std::vector<int> hooked;
    orvex_headless::on_present([&hooked](int n) { hooked.push_back(n); });
    auto present = [&](float r, float g, float b) {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(SwapBuffers(dc));
    };

    orvex_headless::read_back_frames([base](int n) { return n == base + 2; });
    present(1, 0, 0);
    present(0, 1, 0);
    present(0, 0, 1);
    EXPECT_EQ(orvex_headless::frames_presented(), base + 3);
    EXPECT_EQ(hooked, (std::vector<int>{base + 1, base + 2, base + 3})) << "every frame reaches the hook";
    EXPECT_EQ(orvex_headless::last_frame().number, base + 2);
    EXPECT_EQ(orvex_headless::last_frame().pixel(3, 3), 0x00FF00FFu) << "the second frame, green";

    orvex_headless::read_back_frames(nullptr);
    present(1, 1, 0);
    EXPECT_EQ(orvex_headless::last_frame().number, base + 4) << "every frame again";
    EXPECT_EQ(orvex_headless::last_frame().pixel(3, 3), 0xFFFF00FFu);

    orvex_headless::on_present(nullptr);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(rc);
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

}  // namespace
