// The key strokes every driver answers alike (tests/support/keyboard_cases.h),
// given to the headless driver by virtual key.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "tests/support/keyboard_cases.h"
#include "tests/support/message_pump.h"

namespace {

using namespace orvex_test;

std::vector<KeyMessageSeen> g_keys;

LRESULT CALLBACK key_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (is_key_message(msg)) g_keys.push_back({msg, wparam, lparam});
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

TEST(HeadlessKeyboard, KeyStrokesGiveTheMessagesOfEveryDriver) {
    orvex_headless::activate();
    WNDCLASSA wc{};
    wc.lpfnWndProc = key_proc;
    wc.lpszClassName = "KeyboardTest";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND wnd = CreateWindowExA(0, "KeyboardTest", "keys", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    for (const KeyboardCase& c : keyboard_cases()) {
        SCOPED_TRACE(c.name);
        pump_messages();
        g_keys.clear();
        for (const KeyStroke& k : c.strokes) {
            if (k.down)
                orvex_headless::key_down(k.vk);
            else
                orvex_headless::key_up(k.vk);
        }
        pump_messages();
        EXPECT_EQ(g_keys, c.messages);
    }
    DestroyWindow(wnd);
}

}  // namespace
