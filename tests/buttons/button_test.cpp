// The IMAGEBUTTON control, driven by the headless display's pointer through
// the message queue, as a user's mouse would.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/buttons/buttons.h"
#include "framework/window/window.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "tests/buttons/bmp_writer.h"

namespace {

using orvex_headless::Button;

constexpr std::uint32_t kNormal = 0x0000C0;
constexpr std::uint32_t kHover = 0x00C000;
constexpr std::uint32_t kPressed = 0xC00000;
constexpr int kSize = 16;

struct Command {
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<Command> g_commands;
int g_context_menus = 0;

LRESULT CALLBACK parent_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_COMMAND) {
        g_commands.push_back(Command{wparam, lparam});
        return 0;
    }
    if (msg == WM_CONTEXTMENU) ++g_context_menus;
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

// A disc on magenta, 16 by 16, in one colour.
orvex_test::BmpSpec disc(std::uint32_t colour) {
    orvex_test::BmpSpec s;
    s.width = kSize;
    s.height = kSize;
    s.bits = 24;
    s.pixel = [colour](int x, int y) -> std::uint32_t {
        const double dx = x + 0.5 - kSize / 2.0, dy = y + 0.5 - kSize / 2.0;
        return std::sqrt(dx * dx + dy * dy) <= kSize / 2.0 - 0.5 ? colour : 0xFF00FF;
    };
    return s;
}

class ImageButton : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Registers the image-button class as a program's window setup does.
        orvex::WINDOWREGISTER();
        WNDCLASSA wc{};
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ButtonTestParent";
        RegisterClassA(&wc);
    }

    void SetUp() override {
        objects_before_ = orvex_headless::gdi_object_count();
        g_commands.clear();
        g_context_menus = 0;
        write_set("disc", kNormal, kHover, kPressed, "NHP");
        parent_ = CreateWindowExA(0, "ButtonTestParent", "parent", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(parent_);
        pump();
    }

    void TearDown() override {
        DestroyWindow(parent_);
        pump();
        orvex::BMPTYPE.clear();
        EXPECT_EQ(orvex_headless::gdi_object_count(), objects_before_) << "GDI objects leaked";
    }

    void write_set(const std::string& prefix, std::uint32_t n, std::uint32_t h, std::uint32_t p, const std::string& which) {
        if (which.find('N') != std::string::npos) orvex_test::write_bmp(dir_.path(prefix + "N.BMP"), disc(n));
        if (which.find('H') != std::string::npos) orvex_test::write_bmp(dir_.path(prefix + "H.BMP"), disc(h));
        if (which.find('P') != std::string::npos) orvex_test::write_bmp(dir_.path(prefix + "P.BMP"), disc(p));
    }

    HWND make_button(const std::string& prefix, int id, int x, int y) {
        orvex::BMPTYPE = dir_.path(prefix);
        return CreateWindowExA(0, orvex::SZHOVERCLASS, "", WS_CHILD | WS_VISIBLE, x, y, 5, 5, parent_,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }

    // Dispatches what is queued, as a message loop would; the count of messages.
    static int pump() {
        MSG msg;
        int n = 0;
        while (n < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            ++n;
        }
        return n;
    }

    static std::uint32_t pixel(HWND wnd, int x, int y) {
        int w = 0, h = 0;
        std::vector<std::uint32_t> p = orvex_headless::window_pixels(wnd, &w, &h);
        if (p.empty() || x >= w || y >= h) return 0xDEADBEEF;
        return p[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
    }

    static std::intptr_t state(HWND wnd) { return reinterpret_cast<std::intptr_t>(GetPropA(wnd, orvex::HOVERMODE)); }

    void move(HWND wnd, int x, int y) {
        orvex_headless::pointer_to(wnd, x, y);
        pump();
    }
    void press(Button b = Button::left) {
        orvex_headless::button_down(b);
        pump();
    }
    void release(Button b = Button::left) {
        orvex_headless::button_up(b);
        pump();
    }

    orvex_test::TempDir dir_;
    HWND parent_ = nullptr;
    std::size_t objects_before_ = 0;
};

const char* const kProperties[] = {orvex::NORMALBMP, orvex::HOVERBMP, orvex::PRESSBMP, orvex::HOVERMODE, orvex::BUTTONRGN};

TEST_F(ImageButton, CreationTakesThePicturesSizeKeepsItsPlaceAndCutsItToShape) {
    HWND b = make_button("disc", 7, 40, 30);
    ASSERT_TRUE(b);
    RECT client, br, pr;
    GetClientRect(b, &client);
    EXPECT_EQ(client.right, kSize);
    EXPECT_EQ(client.bottom, kSize);
    GetWindowRect(b, &br);
    GetWindowRect(parent_, &pr);
    EXPECT_EQ(br.left - pr.left, 3 + 40);
    EXPECT_EQ(br.top - pr.top, 19 + 30);
    for (const char* name : kProperties) EXPECT_NE(GetPropA(b, name), nullptr) << name;
    EXPECT_EQ(state(b), 1);

    HRGN window_rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b, window_rgn), ERROR);
    EXPECT_TRUE(PtInRegion(window_rgn, 8, 8));
    EXPECT_FALSE(PtInRegion(window_rgn, 0, 0));
    DeleteObject(window_rgn);

    pump();
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    EXPECT_EQ(pixel(b, 0, 0), 0u) << "the magenta corner is cut away, not painted";
}

TEST_F(ImageButton, PlacementAssumesTheUsualParentFrameWhateverTheParentHas) {
    // The button is moved by the offset of a client area that begins 3
    // pixels right of and 19 below the parent's outer corner; a parent with
    // other frame sizes sees it shift by the difference.
    const struct {
        const char* what;
        DWORD style;
        LONG left, top;  // where its client area begins
    } parents[] = {
        {"fixed frame and caption (the usual)", WS_POPUP | WS_CAPTION, 3, 19},
        {"no frame", WS_POPUP, 0, 0},
        {"thin border", WS_POPUP | WS_BORDER, 1, 1},
        {"sizing frame and caption", WS_POPUP | WS_THICKFRAME | WS_CAPTION, 4, 20},
    };
    for (const auto& p : parents) {
        SCOPED_TRACE(p.what);
        HWND parent = CreateWindowExA(0, "ButtonTestParent", "parent", p.style | WS_VISIBLE, 100, 100, 300, 200,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(parent);
        RECT pr;
        GetWindowRect(parent, &pr);
        POINT client{0, 0};
        ClientToScreen(parent, &client);
        const LONG left = client.x - pr.left, top = client.y - pr.top;
        ASSERT_EQ(left, p.left);
        ASSERT_EQ(top, p.top);

        orvex::BMPTYPE = dir_.path("disc");
        HWND b = CreateWindowExA(0, orvex::SZHOVERCLASS, "", WS_CHILD | WS_VISIBLE, 40, 30, 5, 5, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(9)), GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(b);
        RECT br;
        GetWindowRect(b, &br);
        EXPECT_EQ(br.left - client.x, left + 40 - 3);
        EXPECT_EQ(br.top - client.y, top + 30 - 19);
        EXPECT_EQ(br.right - br.left, kSize);
        EXPECT_EQ(br.bottom - br.top, kSize);
        DestroyWindow(parent);
        pump();
    }
}

TEST_F(ImageButton, WithoutAParentItStaysWhereItWasCreated) {
    orvex::BMPTYPE = dir_.path("disc");
    HWND b = CreateWindowExA(0, orvex::SZHOVERCLASS, "", WS_POPUP | WS_VISIBLE, 250, 140, 5, 5, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(b);
    RECT br;
    GetWindowRect(b, &br);
    EXPECT_EQ(br.left, 250);
    EXPECT_EQ(br.top, 140);
    EXPECT_EQ(br.right - br.left, kSize);
    EXPECT_EQ(br.bottom - br.top, kSize);
    DestroyWindow(b);
    pump();
}

TEST_F(ImageButton, HoverShowsTheHoverPictureAndLeavingTheNormalOne) {
    HWND b = make_button("disc", 7, 40, 30);
    pump();
    move(b, 8, 8);
    EXPECT_EQ(state(b), 2);
    EXPECT_EQ(GetCapture(), b);
    EXPECT_EQ(pixel(b, 8, 8), kHover);
    move(b, 9, 7);
    EXPECT_EQ(state(b), 2) << "moving within the picture changes nothing";
    move(parent_, 5, 5);
    EXPECT_EQ(state(b), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(ImageButton, ClickPostsExactlyOneCommandWithTheControlIdentifier) {
    HWND b = make_button("disc", 1234, 40, 30);
    pump();
    move(b, 8, 8);
    press();
    EXPECT_EQ(state(b), 3);
    EXPECT_EQ(pixel(b, 8, 8), kPressed);
    release();
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].wparam, WPARAM{1234}) << "identifier in the low half, notification 0 in the high";
    EXPECT_EQ(g_commands[0].lparam, 0);
    EXPECT_EQ(state(b), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
}

TEST_F(ImageButton, PressDraggedOutOfThePicturePostsNothing) {
    HWND b = make_button("disc", 7, 40, 30);
    pump();
    move(b, 8, 8);
    press();
    move(b, 8, 40);  // below the button: the capture still brings the move to it
    EXPECT_EQ(state(b), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    release();
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(state(b), 1);
}

TEST_F(ImageButton, EnteringWithAButtonHeldShowsThePressedPicture) {
    struct Case {
        Button held;
        std::size_t commands;  // after the release inside
    } cases[] = {{Button::left, 1}, {Button::right, 0}};
    for (const Case& c : cases) {
        g_commands.clear();
        HWND b = make_button("disc", 7, 40, 30);
        pump();
        move(parent_, 5, 5);
        press(c.held);
        move(b, 8, 8);
        EXPECT_EQ(state(b), 3);
        EXPECT_EQ(pixel(b, 8, 8), kPressed);
        release(c.held);
        EXPECT_EQ(g_commands.size(), c.commands) << "only a left release posts the command";
        DestroyWindow(b);
        move(parent_, 5, 5);
    }
    EXPECT_GE(g_context_menus, 1) << "the right release goes on to the default context-menu request";
}

TEST_F(ImageButton, MagentaPartsNeitherHighlightNorClick) {
    HWND b = make_button("disc", 7, 40, 30);
    pump();
    move(b, 1, 1);  // inside the button's rectangle, on magenta
    EXPECT_EQ(state(b), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    press();
    release();
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(state(b), 1);
}

TEST_F(ImageButton, TwoButtonsKeepTheirOwnPictures) {
    write_set("other", 0x404000, 0x004040, 0x400040, "NHP");
    HWND a = make_button("disc", 1, 10, 10);
    HWND b = make_button("other", 2, 60, 10);
    orvex::BMPTYPE = dir_.path("nothing-here");
    InvalidateRect(a, nullptr, FALSE);
    InvalidateRect(b, nullptr, FALSE);
    pump();
    EXPECT_EQ(pixel(a, 8, 8), kNormal);
    EXPECT_EQ(pixel(b, 8, 8), 0x404000u);
    move(b, 8, 8);
    EXPECT_EQ(pixel(b, 8, 8), 0x004040u);
    EXPECT_EQ(pixel(a, 8, 8), kNormal);
    move(a, 8, 8);  // b holds the capture: this move tells b the pointer left it
    EXPECT_EQ(pixel(b, 8, 8), 0x404000u);
    move(a, 7, 8);
    EXPECT_EQ(pixel(a, 8, 8), kHover);
    EXPECT_EQ(pixel(b, 8, 8), 0x404000u);
    press();
    release();
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].wparam, WPARAM{1});
}

TEST_F(ImageButton, ABurstOutOfOneButtonIntoAnotherClicksTheSecond) {
    HWND a = make_button("disc", 1, 10, 10);
    HWND b = make_button("disc", 2, 60, 10);
    move(b, 8, 8);
    ASSERT_EQ(GetCapture(), b) << "hovering takes the capture";
    // One burst, read only afterwards: the move tells b the pointer left it,
    // and b gives up the capture before the press is read, so the press
    // goes to the button under the pointer.
    orvex_headless::pointer_to(a, 8, 8);
    orvex_headless::button_down(Button::left);
    orvex_headless::button_up(Button::left);
    pump();
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].wparam, WPARAM{1});
    EXPECT_EQ(state(b), 1) << "b is back to its normal picture";
}

TEST_F(ImageButton, DestructionRemovesEveryPropertyAndLeavesNoObject) {
    const std::size_t before = orvex_headless::gdi_object_count();
    HWND b = make_button("disc", 7, 40, 30);
    pump();
    EXPECT_GT(orvex_headless::gdi_object_count(), before);
    // The handler's own work on WM_DESTROY, seen on the window still alive.
    orvex::HOVERBUTTONHANDLER(b, WM_DESTROY, 0, 0);
    for (const char* name : kProperties) EXPECT_EQ(GetPropA(b, name), nullptr) << name;
    DestroyWindow(b);
    EXPECT_EQ(orvex_headless::gdi_object_count(), before);

    // Buttons go with their parent too.
    make_button("disc", 8, 10, 10);
    make_button("disc", 9, 60, 10);
    DestroyWindow(parent_);
    parent_ = nullptr;
    EXPECT_EQ(orvex_headless::gdi_object_count(), before);
}

TEST_F(ImageButton, MissingPicturesGiveAnEmptyButtonAndNoRepeatedPainting) {
    // No files at all: nothing to show, nothing to click.
    HWND none = make_button("absent", 3, 10, 10);
    ASSERT_TRUE(none);
    RECT r;
    GetClientRect(none, &r);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(GetPropA(none, orvex::NORMALBMP), nullptr);
    EXPECT_EQ(GetPropA(none, orvex::BUTTONRGN), nullptr);
    EXPECT_LT(pump(), 100);
    DestroyWindow(none);

    // No hover picture: hovering keeps the picture shown, and the paint request is answered.
    write_set("nohover", kNormal, 0, kPressed, "NP");
    HWND b = make_button("nohover", 4, 40, 30);
    EXPECT_LT(pump(), 100);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    orvex_headless::pointer_to(b, 8, 8);
    EXPECT_LT(pump(), 100);
    EXPECT_EQ(state(b), 2);
    EXPECT_EQ(pixel(b, 8, 8), kNormal);
    press();
    EXPECT_EQ(pixel(b, 8, 8), kPressed);
    release();
    EXPECT_EQ(g_commands.size(), 1u);
}

TEST_F(ImageButton, WithoutARegionTheButtonIsRectangularClicksAndKeepsItsPress) {
    // The region cannot be built (no scan image can be made): the button has
    // no shape and no hit-test region.
    orvex_platform::inject_failure(orvex_platform::Failure::create_dib_section, true);
    HWND b = make_button("disc", 6, 40, 30);
    orvex_platform::inject_failure(orvex_platform::Failure::create_dib_section, false);
    ASSERT_TRUE(b);
    EXPECT_EQ(GetPropA(b, orvex::BUTTONRGN), nullptr);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(b, probe), ERROR);
    DeleteObject(probe);
    pump();
    EXPECT_EQ(pixel(b, 0, 0), 0xFF00FFu) << "the whole rectangle shows, magenta corners too";

    move(b, 8, 8);
    EXPECT_EQ(state(b), 1) << "no hover without a region";
    move(b, 0, 0);
    press();
    EXPECT_EQ(state(b), 3);
    release();
    ASSERT_EQ(g_commands.size(), 1u) << "a click on the magenta corner counts: the button is rectangular";

    // A press dragged out is not cancelled: the capture brings the release back.
    move(b, 8, 8);
    press();
    move(parent_, 5, 5);
    EXPECT_EQ(state(b), 3);
    release();
    EXPECT_EQ(g_commands.size(), 2u);
    EXPECT_EQ(state(b), 1);
}

TEST_F(ImageButton, WithoutMemoryContextsThePicturesAreDeletedAtOnce) {
    // No memory context can be made for the pictures: the bitmap and the
    // palette loaded for each are deleted then, not left behind.
    const std::size_t before = orvex_headless::gdi_object_count();
    orvex_platform::inject_failure(orvex_platform::Failure::create_dc, true);
    HWND b = make_button("disc", 6, 40, 30);
    orvex_platform::inject_failure(orvex_platform::Failure::create_dc, false);
    ASSERT_TRUE(b);
    for (const char* name : {orvex::NORMALBMP, orvex::HOVERBMP, orvex::PRESSBMP})
        EXPECT_EQ(GetPropA(b, name), nullptr) << name;
    EXPECT_LT(pump(), 100) << "painting without a picture is answered";
    DestroyWindow(b);
    EXPECT_EQ(orvex_headless::gdi_object_count(), before);
}

TEST_F(ImageButton, AnAllMagentaPictureGivesAButtonThatCannotBeHit) {
    orvex_test::write_bmp(dir_.path("blankN.BMP"), disc(0xFF00FF));
    HWND b = make_button("blank", 5, 40, 30);
    EXPECT_NE(GetPropA(b, orvex::BUTTONRGN), nullptr) << "an empty region is still a region";
    move(b, 8, 8);
    press();
    release();
    EXPECT_EQ(state(b), 1);
    EXPECT_TRUE(g_commands.empty());
    DestroyWindow(b);
}

}  // namespace
