// Window classes and windows of the platform layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"

namespace {

std::vector<std::string> g_events;

LRESULT CALLBACK recording_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    char name[64] = "";
    if (msg == WM_CREATE || msg == WM_DESTROY || msg == WM_NCDESTROY) GetWindowTextA(wnd, name, sizeof name);
    if (msg == WM_CREATE) g_events.push_back(std::string("create ") + name);
    if (msg == WM_DESTROY) g_events.push_back(std::string("destroy ") + name);
    if (msg == WM_NCDESTROY) g_events.push_back(std::string("ncdestroy ") + name);
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

ATOM register_class(const char* name, WNDPROC proc = recording_proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

TEST(WindowClass, RegisteringANameTwiceFailsAndLookupFindsIt) {
    EXPECT_NE(register_class("TwiceClass"), 0);
    EXPECT_EQ(register_class("TwiceClass"), 0);
    EXPECT_EQ(register_class("twiceclass"), 0) << "class names ignore case";

    WNDCLASSEXA wc{};
    EXPECT_TRUE(GetClassInfoExA(nullptr, "TwiceClass", &wc));
    EXPECT_EQ(wc.lpfnWndProc, recording_proc);
    EXPECT_STREQ(wc.lpszClassName, "TwiceClass");
    EXPECT_FALSE(GetClassInfoExA(nullptr, "NoSuchClass", &wc));
}

TEST(WindowClass, ExtendedRegistrationChecksTheRecordSize) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc - 1;
    wc.lpfnWndProc = recording_proc;
    wc.lpszClassName = "BadSizeClass";
    EXPECT_EQ(RegisterClassExA(&wc), 0);
    wc.cbSize = sizeof wc;
    EXPECT_NE(RegisterClassExA(&wc), 0);
}

TEST(Window, CreationSendsCreateSynchronouslyAndPlacesPopupsAtOrigin) {
    register_class("CreateClass");
    g_events.clear();
    HWND w = CreateWindowExA(0, "CreateClass", "main", WS_POPUP | WS_VISIBLE | WS_CAPTION, CW_USEDEFAULT,
                             CW_USEDEFAULT, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0], "create main");
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 200);
    // The client area is the outer size less frame and caption.
    RECT c;
    GetClientRect(w, &c);
    EXPECT_LT(c.right, 300);
    EXPECT_LT(c.bottom, 200);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetForegroundWindow(), w);
    DestroyWindow(w);
}

TEST(Window, DestroyingAParentDestroysItsChildren) {
    register_class("TreeClass");
    HWND parent = CreateWindowExA(0, "TreeClass", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND child = CreateWindowExA(0, "TreeClass", "child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent,
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    g_events.clear();
    EXPECT_TRUE(DestroyWindow(parent));
    const std::vector<std::string> expected = {"destroy parent", "destroy child", "ncdestroy child",
                                               "ncdestroy parent"};
    EXPECT_EQ(g_events, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(DestroyWindow(parent)) << "a stale handle finds nothing";
}

TEST(Window, AChildNeedsAParent) {
    register_class("OrphanClass");
    EXPECT_EQ(CreateWindowExA(0, "OrphanClass", "x", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(Window, PropertiesAreKeptPerWindowByName) {
    register_class("PropClass");
    HWND a = CreateWindowExA(0, "PropClass", "a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, "PropClass", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HANDLE one = reinterpret_cast<HANDLE>(1), two = reinterpret_cast<HANDLE>(2);
    EXPECT_TRUE(SetPropA(a, "STATE", one));
    EXPECT_TRUE(SetPropA(b, "STATE", two));
    EXPECT_EQ(GetPropA(a, "state"), one);
    EXPECT_EQ(GetPropA(b, "STATE"), two);
    EXPECT_EQ(RemovePropA(a, "STATE"), one);
    EXPECT_EQ(GetPropA(a, "STATE"), nullptr);
    EXPECT_EQ(RemovePropA(a, "STATE"), nullptr);
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST(Window, DefaultHandlingClosesOnCloseAndOnSystemClose) {
    register_class("CloseClass");
    for (UINT how : {static_cast<UINT>(WM_CLOSE), static_cast<UINT>(WM_SYSCOMMAND)}) {
        HWND w = CreateWindowExA(0, "CloseClass", "closing", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
        g_events.clear();
        SendMessageA(w, how, how == WM_SYSCOMMAND ? SC_CLOSE : 0, 0);
        EXPECT_FALSE(IsWindow(w)) << "message " << how;
        ASSERT_FALSE(g_events.empty());
        EXPECT_EQ(g_events[0], "destroy closing");
    }
}

LRESULT CALLBACK context_menu_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_CONTEXTMENU) {
        g_events.push_back("contextmenu " + std::to_string(static_cast<short>(LOWORD(lparam))) + "," +
                           std::to_string(static_cast<short>(HIWORD(lparam))));
        return 0;
    }
    return DefWindowProcA(wnd, msg, wparam, lparam);
}

TEST(Window, RightButtonReleaseAsksForAContextMenuAtTheScreenPoint) {
    register_class("MenuClass", context_menu_proc);
    HWND w = CreateWindowExA(0, "MenuClass", "menu", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 50, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
    g_events.clear();
    SendMessageA(w, WM_RBUTTONUP, 0, MAKELPARAM(10, 20));
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0], "contextmenu 111,71");  // client (10, 20) inside a 1-pixel border at (100, 50)
    DestroyWindow(w);
}

TEST(Window, FullScreenPopupTakesTheScreenSize) {
    orvex_headless::set_screen_size(1280, 720);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 720);
    orvex_headless::set_screen_size(1920, 1080);
}

}  // namespace
