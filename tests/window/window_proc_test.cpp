// The main window procedure: messages become global state.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "tests/support/message_pump.h"

namespace {

using namespace orvex;

std::vector<std::string> g_creation_log;
std::vector<std::string> g_hook_calls;

LRESULT CALLBACK command_hook(HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
    g_hook_calls.push_back("command " + std::to_string(msg) + " " + std::to_string(wparam) + " " +
                           std::to_string(lparam));
    return 42;
}
void menu_hook() { g_hook_calls.push_back("mouse menu"); }

bool logged(const std::vector<std::string>& log, const std::string& prefix) {
    return std::any_of(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
}

class WindowProc : public testing::Test {
protected:
    static void SetUpTestSuite() {
        orvex_platform::clear_call_log();
        orvex_platform::enable_call_log(true);
        OGLWINDOWSETTING(ARROW, "", GENERIC, "");
        CREATEOGLWINDOW("window procedure", 800, 600, 32, false);
        orvex_platform::enable_call_log(false);
        g_creation_log = orvex_platform::call_log();
    }

    void SetUp() override {
        orvex_test::pump_messages();
        ACTIVE = true;
        std::fill(SETKEY.data(), SETKEY.data() + SETKEY.size(), 0);
        LEFTMOUSEDOWN = LEFTMOUSEDOWN2 = RIGHTMOUSEDOWN = RIGHTMOUSEDOWN2 = false;
        XCOORD = YCOORD = ZCOORD = SETMX = SETMY = SETOMX = SETOMY = 0;
        XROT = YROT = DEPTH = XROT2 = YROT2 = DEPTH2 = 0;
        MSPEED = 2;
        MOUSEFREE = false;
        SHOWMENUBAR = false;
        GETINPUTCOMMAND = nullptr;
        CREATEMOUSEMENU = nullptr;
        g_hook_calls.clear();
        ReleaseCapture();
    }

    void TearDown() override {
        // Escape and destruction post the quit message; take it off.
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        orvex_platform::enable_call_log(false);
    }

    static LRESULT send(UINT msg, WPARAM w, LPARAM l) { return SendMessageA(HWINDOW, msg, w, l); }
};

TEST_F(WindowProc, CreationSetsActiveAndTheWindowIsThere) {
    EXPECT_NE(HWINDOW, nullptr);
    EXPECT_NE(DCWINDOW, nullptr);
    EXPECT_NE(RCWINDOW, nullptr);
    EXPECT_TRUE(ACTIVE);
    EXPECT_TRUE(logged(g_creation_log, "CreateWindowExA("));
}

TEST_F(WindowProc, WindowCreationCallsThePlatformInOrder) {
    // The operations of registration, creation and context set-up, in the
    // order they must come; other calls (the window procedure's own) may lie
    // between them.
    const std::vector<std::string> expected = {
        "RegisterClassA(\"GLWindow\")",
        "GetClassInfoExA(0x0, \"IMAGEBUTTON\"",
        "RegisterClassExA(\"IMAGEBUTTON\")",
        "CreateWindowExA(0, \"GLWindow\", \"window procedure\", 2529820672, -2147483648, -2147483648, 800, 600, "
        "0x0, 0x0, 0x400000, 0x0)",
        "ShowWindow(",
        "UpdateWindow(",
        "GetDC(",
        "ChoosePixelFormat(",
        "SetPixelFormat(",
        "wglCreateContext(",
        "wglMakeCurrent(",
    };
    std::size_t at = 0;
    for (const auto& entry : g_creation_log)
        if (at < expected.size() && entry.rfind(expected[at], 0) == 0) ++at;
    ASSERT_EQ(at, expected.size()) << "missing or out of order: " << (at < expected.size() ? expected[at] : "");

    // The pixel-format request, every field.
    std::string request;
    for (const auto& entry : g_creation_log)
        if (entry.rfind("ChoosePixelFormat(", 0) == 0) request = entry;
    EXPECT_NE(request.find("{nSize=40 nVersion=1 dwFlags=0x1067 iPixelType=0 cColorBits=32 cRedBits=0 cRedShift=0 "
                           "cGreenBits=0 cGreenShift=0 cBlueBits=0 cBlueShift=0 cAlphaBits=32 cAlphaShift=0 "
                           "cAccumBits=32 cAccumRedBits=0 cAccumGreenBits=0 cAccumBlueBits=0 cAccumAlphaBits=0 "
                           "cDepthBits=32 cStencilBits=32 cAuxBuffers=32 iLayerType=1 bReserved=0 dwLayerMask=0 "
                           "dwVisibleMask=0 dwDamageMask=0}"),
              std::string::npos)
        << request;
}

TEST_F(WindowProc, SetGlMsgHandlesExactlyOneMessage) {
    PostMessageA(HWINDOW, WM_KEYDOWN, 'A', 1);
    PostMessageA(HWINDOW, WM_KEYDOWN, 'B', 1);
    PostMessageA(HWINDOW, WM_KEYUP, 'A', 0xC0000001);
    SETGLMSG();
    EXPECT_EQ(SETKEY['A'], -1);
    EXPECT_EQ(SETKEY['B'], 0);
    SETGLMSG();
    EXPECT_EQ(SETKEY['B'], -1);
    SETGLMSG();
    EXPECT_EQ(SETKEY['A'], 0);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    SETGLMSG();  // nothing waiting: returns at once
}

TEST_F(WindowProc, SetGlMsgOnAnEmptyQueueDispatchesNothing) {
    PostMessageA(HWINDOW, WM_KEYDOWN, 'C', 1);
    SETGLMSG();
    ASSERT_EQ(SETKEY['C'], -1);
    orvex_test::pump_messages();  // the WM_CHAR it added
    // The pump's record still holds the key press; nothing may deliver it again.
    SETKEY['C'] = 0;
    orvex_platform::clear_call_log();
    orvex_platform::enable_call_log(true);
    for (int frame = 0; frame < 3; ++frame) SETGLMSG();
    orvex_platform::enable_call_log(false);
    EXPECT_EQ(SETKEY['C'], 0);
    const auto log = orvex_platform::call_log();
    EXPECT_EQ(log.size(), 3u);
    for (const auto& e : log) EXPECT_EQ(e.rfind("PeekMessageA(", 0), 0u) << e;
}

TEST_F(WindowProc, KeyReleaseClearsTheKeyAndFreeMouse) {
    MOUSEFREE = true;
    send(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(SETKEY[65], -1);
    send(WM_KEYUP, 'A', 0);
    EXPECT_EQ(SETKEY[65], 0);
    EXPECT_FALSE(MOUSEFREE);
}

TEST_F(WindowProc, EscapeEndsTheRunWithoutKeyEntryOrDefaultHandling) {
    orvex_platform::clear_call_log();
    orvex_platform::enable_call_log(true);
    EXPECT_EQ(send(WM_KEYDOWN, VK_ESCAPE, 0), 0);
    orvex_platform::enable_call_log(false);
    EXPECT_FALSE(ACTIVE);
    EXPECT_EQ(SETKEY[27], 0);
    EXPECT_TRUE(IsWindow(HWINDOW)) << "Escape does not destroy the window";
    auto log = orvex_platform::call_log();
    EXPECT_FALSE(logged(log, "DefWindowProcA("));
    EXPECT_TRUE(logged(log, "PostQuitMessage(0)"));
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(WindowProc, LeftDragTurnsOneDegreePerPixelAtSpeedTwo) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_TRUE(LEFTMOUSEDOWN && LEFTMOUSEDOWN2);
    EXPECT_EQ(XCOORD, 100);
    EXPECT_EQ(SETMX, 100);
    EXPECT_EQ(YCOORD, 50);
    EXPECT_EQ(SETMY, 50);
    EXPECT_EQ(GetCapture(), HWINDOW);
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 40));
    EXPECT_EQ(XROT, -10.0f);
    EXPECT_EQ(XROT2, -10.0f);
    EXPECT_EQ(YROT, 10.0f);
    EXPECT_EQ(YROT2, 10.0f);
    EXPECT_EQ(SETOMX, 110);
    EXPECT_EQ(SETOMY, 40);
    send(WM_LBUTTONUP, 0, MAKELPARAM(110, 40));
    EXPECT_FALSE(LEFTMOUSEDOWN || LEFTMOUSEDOWN2);
    EXPECT_EQ(XCOORD + YCOORD + SETMX + SETMY, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowProc, OddDifferencesAreHalvedExactly) {
    struct Case {
        int dx, dy, speed;
        float xrot, yrot;
    } cases[] = {{3, -5, 2, -5.0f, 3.0f}, {1, 1, 1, 0.5f, 0.5f}, {7, 3, 3, 4.5f, 10.5f}};
    for (const Case& c : cases) {
        XROT = YROT = 0;
        MSPEED = c.speed;
        send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
        send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200 + c.dx, 200 + c.dy));
        send(WM_LBUTTONUP, 0, 0);
        EXPECT_EQ(XROT, c.xrot) << c.dx << "," << c.dy;
        EXPECT_EQ(YROT, c.yrot) << c.dx << "," << c.dy;
    }
}

TEST_F(WindowProc, RightDragZoomsAndFreeMouseStopsIt) {
    send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 200));
    EXPECT_EQ(ZCOORD, 200);
    send(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(10, 230));
    EXPECT_EQ(DEPTH, -6.0f);
    EXPECT_EQ(DEPTH2, -6.0f);
    EXPECT_EQ(ZCOORD, 230);
    send(WM_RBUTTONUP, 0, MAKELPARAM(10, 230));
    EXPECT_EQ(ZCOORD, 230) << "not reset on release";

    DEPTH = DEPTH2 = 0;
    MOUSEFREE = true;
    send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 200));
    send(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(10, 230));
    EXPECT_EQ(DEPTH, 0.0f);
    EXPECT_EQ(DEPTH2, 0.0f);
    send(WM_RBUTTONUP, 0, 0);
}

TEST_F(WindowProc, DraggingPastTheLeftEdgeJumpsBySixteenBitWrap) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 5));
    EXPECT_EQ(SETOMX, 65533);
    EXPECT_EQ(YROT, 65528.0f);
    send(WM_LBUTTONUP, 0, 0);
}

TEST_F(WindowProc, NoSpeedBeforeTheFirstFrameMovesNothingButCoordinates) {
    MSPEED = 0;
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 130));
    EXPECT_EQ(XROT, 0.0f);
    EXPECT_EQ(YROT, 0.0f);
    EXPECT_EQ(XCOORD, 150);
    EXPECT_EQ(YCOORD, 130);
    send(WM_LBUTTONUP, 0, 0);
}

TEST_F(WindowProc, FreeMouseTurnsHoldsTheCursorAndClampsYrot) {
    MOUSEFREE = true;
    SetCursorPos(500, 300);  // centre is (400, 300)
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(XROT, 2.0f);
    EXPECT_EQ(XROT2, 2.0f);
    EXPECT_EQ(YROT, 0.0f);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);

    YROT = YROT2 = 59.0f;
    SetCursorPos(400, 1079);  // far below the centre
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(YROT, 60.0f);
    EXPECT_EQ(YROT2, 60.0f);
    YROT = YROT2 = -59.0f;
    SetCursorPos(400, 0);  // above the centre
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(YROT, -60.0f);
    EXPECT_EQ(YROT2, -60.0f);
    // XROT is not clamped.
    XROT = 1000.0f;
    SetCursorPos(1900, 300);
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(XROT, 1030.0f);
}

TEST_F(WindowProc, LeftDragTurnsInFreeMouseModeTooBeforeTheFreeMouseStep) {
    // The drag's increments come first, then the free-mouse step adds its
    // own and clamps YROT: the clamp also catches what the drag added.
    const struct {
        const char* what;
        int to_x, to_y;          // the move, from a press at (100, 50)
        int cursor_x, cursor_y;  // the cursor on screen at the move; the centre is (400, 300)
        float xrot, yrot;
    } cases[] = {
        {"cursor at the centre", 110, 40, 400, 300, -10.0f, 10.0f},
        {"cursor right of the centre", 110, 40, 500, 300, -8.0f, 10.0f},
        {"drag beyond the clamp", 300, 50, 400, 300, 0.0f, 60.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        XROT = YROT = XROT2 = YROT2 = 0;
        MOUSEFREE = true;
        send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
        SetCursorPos(c.cursor_x, c.cursor_y);
        send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.to_x, c.to_y));
        EXPECT_EQ(XROT, c.xrot);
        EXPECT_EQ(YROT, c.yrot);
        EXPECT_EQ(XROT2, c.xrot);
        EXPECT_EQ(YROT2, c.yrot);
        EXPECT_EQ(XCOORD, c.to_x);
        EXPECT_EQ(YCOORD, c.to_y);
        send(WM_LBUTTONUP, 0, 0);
    }
}

TEST_F(WindowProc, FreeMouseDoesNothingWhileAnotherWindowIsInFront) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "FrontClass";
    RegisterClassA(&wc);
    HWND front = CreateWindowExA(0, "FrontClass", "front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_EQ(GetForegroundWindow(), front);
    MOUSEFREE = true;
    SetCursorPos(700, 700);
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(XROT, 0.0f);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 700) << "the cursor is not held";
    DestroyWindow(front);
    SetForegroundWindow(HWINDOW);
}

TEST_F(WindowProc, MenuHooksOnlyWithTheMenuBarOn) {
    orvex_platform::clear_call_log();
    orvex_platform::enable_call_log(true);
    GETINPUTCOMMAND = command_hook;
    EXPECT_EQ(send(WM_COMMAND, 7, 0), 0);
    orvex_platform::enable_call_log(false);
    EXPECT_TRUE(g_hook_calls.empty());
    EXPECT_FALSE(logged(orvex_platform::call_log(), "DefWindowProcA(")) << "a command never reaches the default";

    SHOWMENUBAR = true;
    EXPECT_EQ(send(WM_COMMAND, 7, 0), 0) << "the hook's result is dropped";
    ASSERT_EQ(g_hook_calls.size(), 1u);
    EXPECT_EQ(g_hook_calls[0], "command 273 7 0");

    // A right click reaches the mouse-menu hook through the default handling.
    CREATEMOUSEMENU = menu_hook;
    send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    send(WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    ASSERT_EQ(g_hook_calls.size(), 2u);
    EXPECT_EQ(g_hook_calls[1], "mouse menu");

    // Without a builder the request is skipped.
    CREATEMOUSEMENU = nullptr;
    send(WM_CONTEXTMENU, 0, 0);
    EXPECT_EQ(g_hook_calls.size(), 2u);
}

TEST_F(WindowProc, ZeroWparamRepaintsTheStatusBarBeforeTheDefault) {
    orvex_platform::clear_call_log();
    orvex_platform::enable_call_log(true);
    send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    send(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(3, 4));
    orvex_platform::enable_call_log(false);
    std::vector<std::string> relevant;
    for (const auto& e : orvex_platform::call_log())
        for (const char* name : {"UpdateWindow(", "DefWindowProcA("})
            if (e.rfind(name, 0) == 0) relevant.push_back(name);
    const std::vector<std::string> expected = {"UpdateWindow(", "DefWindowProcA(", "DefWindowProcA("};
    EXPECT_EQ(relevant, expected);
}

TEST_F(WindowProc, KeyCodesOutsideTheTableEndTheProgram) {
    EXPECT_EXIT(send(WM_KEYDOWN, 501, 0), testing::ExitedWithCode(EXIT_RANGE_ERROR), "SETKEY");
    EXPECT_EXIT(send(WM_KEYUP, 0x10000, 0), testing::ExitedWithCode(EXIT_RANGE_ERROR), "SETKEY");
    send(WM_KEYDOWN, 500, 0);
    EXPECT_EQ(SETKEY[500], -1);
}

}  // namespace
