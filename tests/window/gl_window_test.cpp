// Opening and closing the OpenGL window, each case in a process of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "tests/support/scenario.h"

namespace {

using namespace orvex;
using orvex_platform::Failure;

constexpr const char* kRegistration = "Errore di registro per la rispettiva applicazione!";
constexpr const char* kCreation = "Impossibile creare la finestra per la rispettiva applicazione!";
constexpr const char* kInit = "la rispettiva applicazione non \xE8 stata inizilizata!";

void open_window(bool full_screen = false) {
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("test", 800, 600, 32, full_screen);
}

TEST(GlWindowFailure, EachFailureShowsItsMessageAndEndsWithStatusZero) {
    struct Case {
        const char* name;
        void (*provoke)();
        const char* text;
    } cases[] = {
        {"class taken", [] {
             WNDCLASSA wc{};
             wc.lpfnWndProc = DefWindowProcA;
             wc.lpszClassName = "GLWindow";
             RegisterClassA(&wc);
         }, kRegistration},
        {"no window", [] { orvex_platform::inject_failure(Failure::create_window, true); }, kCreation},
        {"no pixel format", [] { orvex_platform::inject_failure(Failure::pixel_formats, true); }, kInit},
        {"no context", [] { orvex_platform::inject_failure(Failure::create_context, true); }, kInit},
        {"second window", [] { open_window(); }, kRegistration},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                c.provoke();
                orvex_test::expect_last_box_at_exit("Error", c.text);
                open_window();
                std::fprintf(stderr, "returned\n");
                std::_Exit(1);
            },
            testing::ExitedWithCode(0), "box ok")
            << c.name;
    }
}

TEST(GlWindowFailure, StatusBarIsAttemptedBeforeTheCreationMessage) {
    EXPECT_EXIT(
        {
            orvex_platform::inject_failure(Failure::create_window, true);
            SHOWSTATUSBAR = true;
            orvex_platform::clear_call_log();  // the log outlives the exit handler registered next
            orvex_platform::enable_call_log(true);
            std::atexit([] {
                bool status_first = false;
                for (const auto& e : orvex_platform::call_log()) {
                    if (e.find("CreateStatusWindowA(1342177280, \"Percorso file\", 0x0, 30482)") == 0)
                        status_first = true;
                    if (e.find("MessageBoxA(") == 0) break;
                }
                std::fprintf(stderr, status_first ? "status bar first\n" : "no status bar attempt\n");
            });
            open_window();
        },
        testing::ExitedWithCode(0), "status bar first");
}

TEST(GlWindowFailure, OutOfRangeSettingsEndTheProgram) {
    EXPECT_EXIT(
        {
            OGLWINDOWSETTING(ARROW, "", GENERIC, "");
            CREATEOGLWINDOW("bits", 800, 600, 256, false);
        },
        testing::ExitedWithCode(EXIT_RANGE_ERROR), "BITS");
    EXPECT_EXIT(
        {
            PIXEL_FORMAT_FLAGS = static_cast<std::int32_t>(0x80000000u);
            open_window();
        },
        testing::ExitedWithCode(EXIT_RANGE_ERROR), "PIXEL_FORMAT_FLAGS");
    EXPECT_EXIT(
        {
            SHOWSTATUSBAR = true;
            MAXSTATUSITEM = 21;
            open_window();
        },
        testing::ExitedWithCode(EXIT_RANGE_ERROR), "21");
}

TEST(GlWindow, StatusBarKeepsItsTextAndParts) {
    EXPECT_SCENARIO({
        SHOWSTATUSBAR = true;
        MAXSTATUSITEM = 3;
        STATUSITEM[1] = 120;
        STATUSITEM[2] = 240;
        STATUSITEM[3] = -1;
        open_window();
        SCENARIO_CHECK(HSTATUS != nullptr && HSTATUS == AWND);
        SCENARIO_CHECK(GetParent(HSTATUS) == HWINDOW);
        int edges[8] = {};
        SCENARIO_CHECK(SendMessageA(HSTATUS, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)) == 3);
        SCENARIO_CHECK(edges[0] == 120 && edges[1] == 240 && edges[2] == -1);
        char text[300] = {};
        SendMessageA(HSTATUS, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        SCENARIO_CHECK(std::string(text) == "Percorso file");
        SCENARIO_CHECK(std::string(FILENAME) == "Percorso file" && FILENAME[260] == 0);
        // The status bar lies along the bottom of the client area.
        RECT bar, client;
        GetWindowRect(HSTATUS, &bar);
        GetClientRect(HWINDOW, &client);
        POINT bottom{0, client.bottom};
        ClientToScreen(HWINDOW, &bottom);
        SCENARIO_CHECK(bar.bottom == bottom.y);
    });
    EXPECT_SCENARIO({
        SHOWSTATUSBAR = true;
        open_window();
        int edges[4] = {};
        SCENARIO_CHECK(SendMessageA(HSTATUS, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)) == 0);
        char text[300] = {};
        SendMessageA(HSTATUS, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        SCENARIO_CHECK(std::string(text) == "Percorso file");
    });
}

TEST(GlWindow, WindowedKeepsTheRequestedSizeAndFullScreenTakesTheScreens) {
    EXPECT_SCENARIO({
        open_window(false);
        SCENARIO_CHECK(WIDTH == 800 && HEIGHT == 600);
        RECT r, c;
        GetWindowRect(HWINDOW, &r);
        GetClientRect(HWINDOW, &c);
        SCENARIO_CHECK(r.left == 0 && r.top == 0 && r.right == 800 && r.bottom == 600);
        SCENARIO_CHECK(c.right < 800 && c.bottom < 600);  // caption and frame take their share
        SCENARIO_CHECK(GetWindowLongPtrA(HWINDOW, GWL_STYLE) == static_cast<LONG>(0x96CA0000u));
    });
    EXPECT_SCENARIO({
        orvex_headless::set_screen_size(1280, 720);
        open_window(true);
        SCENARIO_CHECK(WIDTH == 1280 && HEIGHT == 720);
        RECT r, c;
        GetWindowRect(HWINDOW, &r);
        GetClientRect(HWINDOW, &c);
        SCENARIO_CHECK(r.left == 0 && r.top == 0 && r.right == 1280 && r.bottom == 720);
        SCENARIO_CHECK(c.right == 1278 && c.bottom == 718);  // the 1-pixel border belongs to the window
        SCENARIO_CHECK(GetWindowLongPtrA(HWINDOW, GWL_STYLE) == static_cast<LONG>(0x96880000u));
    });
}

std::string handle_text(const void* h) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%jx", static_cast<std::uintmax_t>(reinterpret_cast<std::uintptr_t>(h)));
    return buf;
}

TEST(GlWindow, TeardownLetsGoOfTheContextThenTheDeviceContextThenTheWindow) {
    EXPECT_SCENARIO({
        open_window();
        const std::string wnd = handle_text(HWINDOW), dc = handle_text(DCWINDOW), rc = handle_text(RCWINDOW);
        orvex_platform::clear_call_log();
        orvex_platform::enable_call_log(true);
        DELETEOGLWINDOW();
        orvex_platform::enable_call_log(false);
        const auto log = orvex_platform::call_log();
        // What follows the four is the window procedure's own, during the destruction.
        const std::vector<std::string> expected = {"wglMakeCurrent(" + dc + ", 0x0)", "wglDeleteContext(" + rc + ")",
                                                   "ReleaseDC(" + wnd + ", " + dc + ")", "DestroyWindow(" + wnd + ")"};
        SCENARIO_CHECK(log.size() >= expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            if (log[k] != expected[k])
                std::fprintf(stderr, "call %zu: %s, not %s\n", k, log[k].c_str(), expected[k].c_str());
            SCENARIO_CHECK(log[k] == expected[k]);
        }
        SCENARIO_CHECK(!IsWindow(HWINDOW) && wglGetCurrentContext() == nullptr);
    });
}

TEST(GlWindow, DeleteAfterThePlatformDestroyedTheWindowFailsQuietly) {
    EXPECT_SCENARIO({
        open_window();
        SendMessageA(HWINDOW, WM_CLOSE, 0, 0);
        SCENARIO_CHECK(!IsWindow(HWINDOW));
        SCENARIO_CHECK(!ACTIVE);
        DELETEOGLWINDOW();
        SCENARIO_CHECK(wglGetCurrentContext() == nullptr);
    });
}

TEST(GlWindowSettings, FreeMouseBeforeTheWindowPutsTheCursorAtTheOrigin) {
    EXPECT_SCENARIO({
        SetCursorPos(300, 200);
        OGLWINDOWSETTING(ARROW, "", GENERIC, "");
        SCENARIO_CHECK(START == 0 && FOGONOFF);
        POINT p;
        GetCursorPos(&p);
        SCENARIO_CHECK(p.x == 300 && p.y == 200);
        MOUSEFREE = true;
        OGLWINDOWSETTING(ARROW, "", GENERIC, "");
        GetCursorPos(&p);
        SCENARIO_CHECK(p.x == 0 && p.y == 0);
        SCENARIO_CHECK(START != 0 || GetTickCount() == 0);
    });
}

TEST(GlWindowSettings, CursorAndIconCodesChooseTheClassCursorAndIcon) {
    struct Case {
        std::int32_t cursor, icon;
        bool has_cursor, has_icon;
    } cases[] = {{ARROW, GENERIC, true, true},  {HELP, GENERIC, true, true},    {FILECURSOR, FILEICON, false, false},
                 {0, 0, false, false},          {17, 3, false, false},          {NOCURSOR, GENERIC, true, true}};
    for (const Case& c : cases) {
        EXPECT_SCENARIO({
            OGLWINDOWSETTING(c.cursor, "", c.icon, "");
            SCENARIO_CHECK(WINDOWREGISTER());
            WNDCLASSEXA wc{};
            SCENARIO_CHECK(GetClassInfoExA(GetModuleHandleA(nullptr), "GLWindow", &wc));
            SCENARIO_CHECK((wc.hCursor != nullptr) == c.has_cursor);
            SCENARIO_CHECK((wc.hIcon != nullptr) == c.has_icon);
            SCENARIO_CHECK(wc.style == (CS_VREDRAW | CS_HREDRAW));
            SCENARIO_CHECK(std::string(WINDOWCLASSEX.lpszClassName) == "IMAGEBUTTON");
            SCENARIO_CHECK(!WINDOWREGISTER());  // once per process
        });
    }
}

TEST(GlWindowSettings, ClassCursorsAndIconsAreTheSystemsOwn) {
    EXPECT_SCENARIO({
        const struct {
            std::int32_t code;
            LPCSTR cursor;
        } cursors[] = {
            {ARROW, IDC_ARROW},     {IBEAM, IDC_IBEAM},     {WAIT, IDC_WAIT},
            {CROSS, IDC_CROSS},     {UPARROW, IDC_UPARROW}, {orvex::SIZE, IDC_SIZE},
            {SIZENWSE, IDC_SIZENWSE}, {SIZENESW, IDC_SIZENESW}, {SIZEWE, IDC_SIZEWE},
            {SIZENS, IDC_SIZENS},   {SIZEALL, IDC_SIZEALL}, {NOCURSOR, IDC_NO},
            {HAND, IDC_HAND},       {APPSTARTING, IDC_APPSTARTING}, {HELP, IDC_HELP},
        };
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        const HICON application = LoadIconA(nullptr, IDI_APPLICATION);
        for (const auto& c : cursors) {
            OGLWINDOWSETTING(c.code, "", GENERIC, "");
            SCENARIO_CHECK(WINDOWREGISTER());
            WNDCLASSEXA wc{};
            SCENARIO_CHECK(GetClassInfoExA(instance, "GLWindow", &wc));
            if (wc.hCursor != LoadCursorA(nullptr, c.cursor) || wc.hIcon != application)
                std::fprintf(stderr, "cursor code %d\n", c.code);
            SCENARIO_CHECK(wc.hCursor == LoadCursorA(nullptr, c.cursor));
            SCENARIO_CHECK(wc.hIcon == application);
            SCENARIO_CHECK(UnregisterClassA("GLWindow", instance));
        }
        // The image-button class: the application icon, large and small, and the arrow.
        WNDCLASSEXA button{};
        SCENARIO_CHECK(GetClassInfoExA(nullptr, "IMAGEBUTTON", &button));
        SCENARIO_CHECK(button.hIcon == application && button.hIconSm == application);
        SCENARIO_CHECK(button.hCursor == LoadCursorA(nullptr, IDC_ARROW));
    });
}

}  // namespace
