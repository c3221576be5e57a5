// The main window procedure reached through real messages, sent and posted
// to a real window and pumped by SETGLMSG.
#include <gtest/gtest.h>

#include "framework/orvex.h"
#include "tests/portable/window_once.h"

namespace {

using namespace orvex;

class RealMessages : public testing::Test {
protected:
    static void SetUpTestSuite() { orvex_test::open_window_once(); }

    void SetUp() override {
        ASSERT_TRUE(IsWindow(HWINDOW));
        drain();
        ACTIVE = true;
        LEFTMOUSEDOWN = LEFTMOUSEDOWN2 = RIGHTMOUSEDOWN = RIGHTMOUSEDOWN2 = false;
        XCOORD = YCOORD = ZCOORD = SETMX = SETMY = 0;
        XROT = YROT = DEPTH = XROT2 = YROT2 = DEPTH2 = 0;
        MSPEED = 2;
        MOUSEFREE = false;
    }

    // Whatever the system queued for the window (painting, activation) is
    // handled before a case posts its own messages.
    static void drain() {
        MSG m;
        for (int i = 0; i < 1000 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }

    // Posts a message and lets SETGLMSG handle it: posted messages come
    // before any input or painting the system may have waiting.
    static void post_and_pump(UINT msg, WPARAM wparam, LPARAM lparam) {
        ASSERT_TRUE(PostMessageA(HWINDOW, msg, wparam, lparam));
        SETGLMSG();
    }
};

TEST_F(RealMessages, KeyPressAndReleaseFillTheKeyTable) {
    SendMessageA(HWINDOW, WM_KEYDOWN, 'A', 0x001E0001);
    EXPECT_EQ(SETKEY[65], -1);
    MOUSEFREE = true;
    SendMessageA(HWINDOW, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u));
    EXPECT_EQ(SETKEY[65], 0);
    EXPECT_FALSE(MOUSEFREE);
}

TEST_F(RealMessages, EscapeEndsTheFrameLoopButLeavesTheWindow) {
    SETKEY[27] = 0;
    SendMessageA(HWINDOW, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_FALSE(ACTIVE);
    EXPECT_EQ(SETKEY[27], 0);
    EXPECT_TRUE(IsWindow(HWINDOW));
    // WM_DESTROY posted the quit message.
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(RealMessages, EachPumpHandlesOneMessage) {
    for (UINT i = 1; i <= 3; ++i) ASSERT_TRUE(PostMessageA(HWINDOW, WM_USER + i, i, 0));
    SETGLMSG();
    std::vector<UINT> left;
    MSG m;
    while (PeekMessageA(&m, HWINDOW, WM_USER + 1, WM_USER + 3, PM_REMOVE)) left.push_back(m.message);
    EXPECT_EQ(left, (std::vector<UINT>{WM_USER + 2, WM_USER + 3}));
}

TEST_F(RealMessages, LeftDragTurnsTheCameraAndCapturesTheMouse) {
    post_and_pump(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    EXPECT_TRUE(LEFTMOUSEDOWN);
    EXPECT_EQ(XCOORD, 100);
    EXPECT_EQ(SETMX, 100);
    EXPECT_EQ(YCOORD, 50);
    EXPECT_EQ(GetCapture(), HWINDOW);
    post_and_pump(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(110, 40));
    EXPECT_FLOAT_EQ(XROT, -10.0f);
    EXPECT_FLOAT_EQ(YROT, 10.0f);
    EXPECT_FLOAT_EQ(XROT2, -10.0f);
    post_and_pump(WM_LBUTTONUP, 0, MAKELPARAM(110, 40));
    EXPECT_FALSE(LEFTMOUSEDOWN);
    EXPECT_EQ(XCOORD, 0);
    EXPECT_EQ(SETMY, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(RealMessages, RightDragZooms) {
    post_and_pump(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(0, 200));
    EXPECT_EQ(ZCOORD, 200);
    post_and_pump(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(0, 230));
    EXPECT_FLOAT_EQ(DEPTH, -6.0f);
    EXPECT_FLOAT_EQ(DEPTH2, -6.0f);
    EXPECT_EQ(ZCOORD, 230);
    post_and_pump(WM_RBUTTONUP, 0, MAKELPARAM(0, 230));
    EXPECT_FALSE(RIGHTMOUSEDOWN);
}

TEST_F(RealMessages, DraggingPastTheLeftEdgeWrapsTheCoordinate) {
    post_and_pump(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 5));
    post_and_pump(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-10), 5));
    EXPECT_EQ(XCOORD, 65526);
    EXPECT_FLOAT_EQ(YROT, 65526.0f);
    post_and_pump(WM_LBUTTONUP, 0, MAKELPARAM(0, 5));
}

TEST_F(RealMessages, MenuCommandWithoutMenuBarAnswersZero) {
    EXPECT_EQ(SendMessageA(HWINDOW, WM_COMMAND, 7, 0), 0);
}

}  // namespace
