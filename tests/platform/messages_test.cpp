// The message queue: posting, peeking, getting, WM_PAINT and WM_QUIT, and
// input delivered by the display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "tests/support/message_pump.h"

namespace {

struct Seen {
    UINT msg;
    WPARAM wparam;
    LPARAM lparam;
    HWND wnd;
};
std::vector<Seen> g_seen;
bool g_validate = true;

LRESULT CALLBACK seen_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_PAINT) {
        g_seen.push_back({msg, wparam, lparam, wnd});
        if (g_validate) {
            PAINTSTRUCT ps;
            BeginPaint(wnd, &ps);
            EndPaint(wnd, &ps);
        }
        return 0;
    }
    if (msg >= WM_KEYDOWN && msg <= WM_MBUTTONUP) g_seen.push_back({msg, wparam, lparam, wnd});
    if (msg == WM_USER + 1) g_seen.push_back({msg, wparam, lparam, wnd});
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

class Queue : public testing::Test {
protected:
    void SetUp() override {
        static bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = seen_proc;
            wc.lpszClassName = "QueueClass";
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        wnd = CreateWindowExA(0, "QueueClass", "queue", WS_POPUP | WS_VISIBLE | WS_CAPTION, 100, 100, 406, 322,
                              nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(wnd, nullptr);
        g_validate = true;
        orvex_test::pump_messages();
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        g_seen.clear();
    }
    void TearDown() override {
        DestroyWindow(wnd);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // A second window, right of wnd: (600, 100) to (700, 200) on the screen.
    HWND open_other() {
        HWND other = CreateWindowExA(0, "QueueClass", "other", WS_POPUP | WS_VISIBLE, 600, 100, 100, 100, nullptr,
                                     nullptr, nullptr, nullptr);
        orvex_test::pump_messages();  // its first WM_PAINT
        g_seen.clear();
        return other;
    }
    HWND wnd{};
};

TEST_F(Queue, PeekWithoutRemoveLeavesTheMessage) {
    PostMessageA(wnd, WM_USER + 1, 5, 6);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 5u);
    ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.lParam, 6);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, QuitComesAfterEverythingElseAndMakesGetMessageAnswerZero) {
    PostQuitMessage(3);
    PostMessageA(wnd, WM_USER + 1, 0, 0);
    MSG m{};
    EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Queue, PaintIsMadeOnlyWhenNothingElseWaitsAndUntilValidated) {
    InvalidateRect(wnd, nullptr, FALSE);
    PostMessageA(wnd, WM_USER + 1, 0, 0);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
    // Without validation the paint message comes again and again.
    g_validate = false;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
        DispatchMessageA(&m);
    }
    g_validate = true;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&m);
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, PostToAStaleWindowFailsAndSendReturnsZero) {
    HWND other = CreateWindowExA(0, "QueueClass", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(other, WM_USER + 1, 0, 0);
    DestroyWindow(other);
    EXPECT_FALSE(PostMessageA(other, WM_USER + 1, 0, 0));
    EXPECT_EQ(SendMessageA(other, WM_USER + 1, 0, 0), 0);
    MSG m{};
    EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) << "messages of a destroyed window are dropped";
}

TEST_F(Queue, KeysArriveWithRepeatFlagsAndCharacters) {
    orvex_headless::key_down('A');
    orvex_headless::key_down('A');  // held: auto-repeat
    orvex_headless::key_up('A');
    orvex_test::pump_messages();
    ASSERT_GE(g_seen.size(), 3u);
    std::vector<Seen> keys;
    for (auto& s : g_seen)
        if (s.msg == WM_KEYDOWN || s.msg == WM_KEYUP) keys.push_back(s);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].msg, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].wparam, static_cast<WPARAM>('A'));
    EXPECT_EQ((keys[0].lparam >> 30) & 1, 0);
    EXPECT_EQ(keys[1].msg, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ((keys[1].lparam >> 30) & 1, 1) << "a repeated key-down has the previous-state bit";
    EXPECT_EQ(keys[2].msg, static_cast<UINT>(WM_KEYUP));
    bool got_char = false;
    for (auto& s : g_seen) got_char |= s.msg == WM_CHAR && s.wparam == 'a';
    EXPECT_TRUE(got_char) << "TranslateMessage makes WM_CHAR";
}

TEST_F(Queue, MouseMovesAreCoalescedAndCarryClientCoordinates) {
    orvex_headless::pointer_to(wnd, 10, 20);
    orvex_headless::pointer_to(wnd, 11, 21);
    orvex_headless::pointer_to(wnd, 12, 22);
    orvex_test::pump_messages();
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].msg, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(LOWORD(g_seen[0].lparam), 12);
    EXPECT_EQ(HIWORD(g_seen[0].lparam), 22);
}

TEST_F(Queue, CapturedPointerOutsideTheClientAreaWrapsToSixteenBits) {
    orvex_headless::pointer_to(wnd, 5, 5);
    orvex_test::pump_messages();
    g_seen.clear();
    orvex_headless::button_down(orvex_headless::Button::left);
    orvex_test::pump_messages();
    SetCapture(wnd);
    orvex_headless::pointer_to(wnd, -3, -2);
    orvex_headless::button_up(orvex_headless::Button::left);
    orvex_test::pump_messages();
    ReleaseCapture();
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[0].msg, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(g_seen[0].wparam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(g_seen[1].msg, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(LOWORD(g_seen[1].lparam), 65533);
    EXPECT_EQ(HIWORD(g_seen[1].lparam), 65534);
    EXPECT_EQ(g_seen[2].msg, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(g_seen[2].wparam, 0u);
}

// Moves the display's input into the queue without reading any of it.
void queue_input() {
    MSG m;
    PeekMessageA(&m, nullptr, WM_USER + 100, WM_USER + 100, PM_NOREMOVE);
}

TEST_F(Queue, MouseInputGoesToTheWindowThatTakesItWhenItIsRead) {
    // The press is over `other`, at its client (10, 20).
    HWND other = open_other();
    ASSERT_NE(other, nullptr);
    POINT wnd_origin{0, 0};
    ClientToScreen(wnd, &wnd_origin);
    const LPARAM over_other = MAKELPARAM(10, 20);
    const LPARAM from_wnd = MAKELPARAM(610 - wnd_origin.x, 120 - wnd_origin.y);
    struct Case {
        const char* name;
        HWND capture_when_queued;
        HWND capture_when_read;
        HWND expected;
        LPARAM lparam;
    };
    const Case cases[] = {
        {"no capture", nullptr, nullptr, other, over_other},
        {"capture given up before it is read", wnd, nullptr, other, over_other},
        {"capture taken before it is read", nullptr, wnd, wnd, from_wnd},
        {"capture moved before it is read", wnd, other, other, over_other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.capture_when_queued) SetCapture(c.capture_when_queued);
        orvex_headless::pointer_to_screen(610, 120);
        orvex_headless::button_down(orvex_headless::Button::left);
        queue_input();
        if (c.capture_when_read)
            SetCapture(c.capture_when_read);
        else
            ReleaseCapture();
        g_seen.clear();
        orvex_test::pump_messages();
        ReleaseCapture();
        orvex_headless::button_up(orvex_headless::Button::left);
        orvex_test::pump_messages();
        ASSERT_GE(g_seen.size(), 2u);
        EXPECT_EQ(g_seen[0].msg, static_cast<UINT>(WM_MOUSEMOVE));
        EXPECT_EQ(g_seen[0].wnd, c.expected);
        EXPECT_EQ(g_seen[1].msg, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(g_seen[1].wnd, c.expected);
        EXPECT_EQ(g_seen[1].lparam, c.lparam);
    }
    DestroyWindow(other);
}

TEST_F(Queue, MovesCoalesceAcrossWindowsButNotAcrossAPress) {
    HWND other = open_other();
    ASSERT_NE(other, nullptr);
    // Over wnd, then over other: one move, where the pointer came to rest.
    orvex_headless::pointer_to(wnd, 10, 10);
    orvex_headless::pointer_to(other, 5, 6);
    orvex_test::pump_messages();
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].wnd, other);
    EXPECT_EQ(g_seen[0].lparam, MAKELPARAM(5, 6));

    // A press between two moves keeps each of them.
    g_seen.clear();
    orvex_headless::pointer_to(other, 7, 7);
    orvex_headless::button_down(orvex_headless::Button::right);
    orvex_headless::pointer_to(other, 8, 8);
    orvex_headless::button_up(orvex_headless::Button::right);
    orvex_test::pump_messages();
    std::vector<UINT> order;
    for (const Seen& s : g_seen) order.push_back(s.msg);
    EXPECT_EQ(order, (std::vector<UINT>{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_MOUSEMOVE, WM_RBUTTONUP}));
    DestroyWindow(other);
}

TEST(MessageBox, ScriptedAnswersAndNoneWhenItCannotBeShown) {
    orvex_headless::clear_message_boxes();
    orvex_headless::answer_next_message_box(IDYES);
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "question", "caption", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "an answered box says nothing more";
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "no answer", nullptr, MB_OK), 0);
    EXPECT_EQ(MessageBoxA(nullptr, "two\nlines", "Refused", MB_OK), 0);
    // A box nobody can see is not lost: its caption and text go to stderr.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "orvex: message box \"Error\": no answer\n"
              "orvex: message box \"Refused\": two\nlines\n");
    const auto& boxes = orvex_headless::message_boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "question");
    EXPECT_EQ(boxes[0].caption, "caption");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(0x24));
    EXPECT_EQ(boxes[1].caption, "Error") << "a missing caption reads Error";
}

}  // namespace
