// A click on an image button reaches the program's menu-command hook of the
// Orvex window, like a menu command.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "tests/buttons/bmp_writer.h"

namespace {

std::vector<std::pair<UINT, WPARAM>> g_hook_calls;

LRESULT CALLBACK record_command(HWND, UINT msg, WPARAM wparam, LPARAM) {
    g_hook_calls.emplace_back(msg, wparam);
    return 0;
}

void run_frames(int n) {
    for (int i = 0; i < n; ++i) orvex::SETGLMSG();
}

// One test only: the main window's class is registered once per process.
TEST(ButtonCommand, ClickReachesGetInputCommandWhileTheMenuBarIsOn) {
    orvex_test::TempDir dir;
    orvex_test::BmpSpec s;
    s.width = s.height = 20;
    s.bits = 24;
    s.pixel = [](int x, int y) { return std::hypot(x - 9.5, y - 9.5) < 9 ? 0x3060A0u : 0xFF00FFu; };
    for (const char* state : {"N", "H", "P"}) orvex_test::write_bmp(dir.path(std::string("go") + state + ".BMP"), s);

    orvex::SHOWMENUBAR = true;
    orvex::GETINPUTCOMMAND = record_command;
    orvex::OGLWINDOWSETTING(orvex::ARROW, "", orvex::GENERIC, "");
    ASSERT_TRUE(orvex::CREATEOGLWINDOW("buttons", 320, 240, 32, false));
    orvex::BMPTYPE = dir.path("go");
    HWND b = CreateWindowExA(0, orvex::SZHOVERCLASS, "", WS_CHILD | WS_VISIBLE, 30, 40, 0, 0, orvex::HWINDOW,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(4711)), GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(b);
    run_frames(20);

    auto click = [&] {
        orvex_headless::pointer_to(b, 10, 10);
        run_frames(10);
        orvex_headless::button_down(orvex_headless::Button::left);
        run_frames(10);
        orvex_headless::button_up(orvex_headless::Button::left);
        run_frames(10);
    };
    click();
    ASSERT_EQ(g_hook_calls.size(), 1u);
    EXPECT_EQ(g_hook_calls[0].first, UINT{WM_COMMAND});
    EXPECT_EQ(g_hook_calls[0].second, WPARAM{4711});

    orvex::SHOWMENUBAR = false;
    click();
    EXPECT_EQ(g_hook_calls.size(), 1u) << "with the menu bar off the hook is not called";

    orvex::DELETEOGLWINDOW();
    EXPECT_FALSE(IsWindow(b));
}

}  // namespace
