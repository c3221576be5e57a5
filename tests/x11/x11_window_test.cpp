// Windows on the X server: their size and place, decorations after their
// style, titles, full-screen windows, child windows, window regions as
// shapes, and GDI content on the screen.
#include "tests/x11/x11_fixture.h"
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <cstring>

#include "tests/x11/xvfb.h"

namespace orvex_test {
namespace {

constexpr DWORD kWindowed = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFullScreen = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CLIPCHILDREN;

struct Geometry {
    int x, y, width, height, border;
};

// Where a window's client area is on the root, and its X border.
Geometry geometry_on_root(Display* dpy, ::Window w) {
    ::Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth);
    int rx = 0, ry = 0;
    XTranslateCoordinates(dpy, w, root, 0, 0, &rx, &ry, &child);
    return Geometry{rx, ry, static_cast<int>(width), static_cast<int>(height), static_cast<int>(border)};
}

std::vector<unsigned long> long_property(Display* dpy, ::Window w, const char* name, Atom type) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(dpy, w, XInternAtom(dpy, name, False), 0, 4096, False, type, &actual, &format, &count,
                           &after, &data) == Success &&
        data && format == 32)
        out.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    if (data) XFree(data);
    return out;
}

class X11Windows : public X11Test {};

TEST_F(X11Windows, WindowedStyleOpensFixedSizeDecoratedWindowAtRequestedSize) {
    HWND w = open_window(50, 60, 400, 300, kWindowed);
    ASSERT_NE(w, nullptr);
    RECT outer{}, client{};
    GetWindowRect(w, &outer);
    GetClientRect(w, &client);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(outer.bottom - outer.top, 300);

    // The X window is the client area, where the platform says it is.
    Geometry g = geometry_on_root(dpy, xid(w));
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(g.width, client.right);
    EXPECT_EQ(g.height, client.bottom);
    EXPECT_EQ(g.x, origin.x);
    EXPECT_EQ(g.y, origin.y);
    EXPECT_LT(client.right, 400);  // the frame and the caption take their part

    // Not resizable: the window manager is told the one size it may have.
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(dpy, xid(w), &hints, &supplied));
    ASSERT_TRUE(hints.flags & PMinSize);
    ASSERT_TRUE(hints.flags & PMaxSize);
    EXPECT_EQ(hints.min_width, client.right);
    EXPECT_EQ(hints.max_width, client.right);
    EXPECT_EQ(hints.min_height, client.bottom);
    EXPECT_EQ(hints.max_height, client.bottom);

    // Title, close and minimise; no sizing frame, no maximise.
    auto motif = long_property(dpy, xid(w), "_MOTIF_WM_HINTS", XInternAtom(dpy, "_MOTIF_WM_HINTS", False));
    ASSERT_EQ(motif.size(), 5u);
    const unsigned long functions = motif[1], decorations = motif[2];
    EXPECT_TRUE(decorations & 8) << "title";
    EXPECT_TRUE(decorations & 32) << "minimise button";
    EXPECT_FALSE(decorations & 64) << "maximise button";
    EXPECT_FALSE(decorations & 4) << "sizing frame";
    EXPECT_TRUE(functions & 32) << "close";
    EXPECT_TRUE(functions & 8) << "minimise";
    EXPECT_FALSE(functions & 2) << "resize";

    // The close button is offered as the WM_DELETE_WINDOW protocol.
    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(dpy, xid(w), &protocols, &count));
    bool delete_window = false;
    for (int i = 0; i < count; ++i) delete_window |= protocols[i] == XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    XFree(protocols);
    EXPECT_TRUE(delete_window);
}

TEST_F(X11Windows, ClassIconBecomesTheWindowIcon) {
    // The recording class has the system's application icon.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.lpszClassName = "X11IconWindow";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND w = CreateWindowExA(0, "X11IconWindow", "icon", kWindowed | WS_VISIBLE, 20, 20, 120, 80, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    windows.push_back(w);
    sync();
    auto icon = long_property(dpy, xid(w), "_NET_WM_ICON", XA_CARDINAL);
    ASSERT_GE(icon.size(), 2u);
    EXPECT_EQ(icon.size(), 2 + icon[0] * icon[1]);
    EXPECT_GT(icon[0], 0u);
    // Not blank: an opaque picture on a transparent ground.
    std::size_t opaque = 0;
    for (std::size_t i = 2; i < icon.size(); ++i) opaque += ((icon[i] & 0xFFFFFFFFu) >> 24) == 0xFF;
    EXPECT_GT(opaque, 0u);
    EXPECT_LT(opaque, icon.size() - 2);

    // A class without an icon gives a window without one.
    HWND plain = open_window(200, 20, 120, 80);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(long_property(dpy, xid(plain), "_NET_WM_ICON", XA_CARDINAL).empty());
}

TEST_F(X11Windows, TitlesInWindows1252ReachXAsUtf8) {
    HWND w = open_window(10, 10, 200, 100, kWindowed);
    ASSERT_NE(w, nullptr);
    // "è" is the single byte E8, "€" the byte 80.
    SetWindowTextA(w, "la rispettiva applicazione non \xE8 stata \x80");
    pump_for(20);
    sync();
    EXPECT_EQ(net_wm_name(dpy, xid(w)), "la rispettiva applicazione non \xC3\xA8 stata \xE2\x82\xAC");
}

TEST_F(X11Windows, FullScreenWindowCoversTheScreenWithoutDecorations) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(sw, screen_width());
    EXPECT_EQ(sh, screen_height());
    HWND w = open_window(CW_USEDEFAULT, CW_USEDEFAULT, sw, sh, kFullScreen);
    ASSERT_NE(w, nullptr);
    RECT outer{};
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    Geometry g = geometry_on_root(dpy, xid(w));
    // The 1-pixel border belongs to the window: border and client area
    // together cover the screen from (0, 0).
    EXPECT_EQ(g.x - g.border, 0);
    EXPECT_EQ(g.y - g.border, 0);
    EXPECT_EQ(g.width + 2 * g.border, sw);
    EXPECT_EQ(g.height + 2 * g.border, sh);
    auto state = long_property(dpy, xid(w), "_NET_WM_STATE", XA_ATOM);
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state[0], XInternAtom(dpy, "_NET_WM_STATE_FULLSCREEN", False));
    auto motif = long_property(dpy, xid(w), "_MOTIF_WM_HINTS", XInternAtom(dpy, "_MOTIF_WM_HINTS", False));
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[2], 0u) << "no decorations";
    // The display mode did not change.
    EXPECT_EQ(DisplayWidth(dpy, DefaultScreen(dpy)), sw);
    EXPECT_EQ(DisplayHeight(dpy, DefaultScreen(dpy)), sh);
}

TEST_F(X11Windows, ChildWindowIsAChildXWindowOfItsParent) {
    HWND parent = open_window(100, 100, 300, 200);
    ASSERT_NE(parent, nullptr);
    HWND child = CreateWindowExA(0, "X11TestWindow", "", WS_CHILD | WS_VISIBLE, 10, 20, 50, 30, parent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(wait_viewable(child));
    ::Window root = 0, x_parent = 0, *kids = nullptr;
    unsigned n = 0;
    ASSERT_TRUE(XQueryTree(dpy, xid(child), &root, &x_parent, &kids, &n));
    if (kids) XFree(kids);
    EXPECT_EQ(x_parent, xid(parent));
    Geometry g = geometry_on_root(dpy, xid(child));
    EXPECT_EQ(g.x, 110);
    EXPECT_EQ(g.y, 120);
    EXPECT_EQ(g.width, 50);
    EXPECT_EQ(g.height, 30);

    // A click on the child goes to the child, in its co-ordinates.
    move_pointer(115, 125);
    button(1, true);
    button(1, false);
    ASSERT_TRUE(pump_until([] { return received(WM_LBUTTONUP).size() == 1; }));
    auto down = received(WM_LBUTTONDOWN);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].wnd, child);
    EXPECT_EQ(down[0].lparam, MAKELPARAM(5, 5));

    // Moving and hiding the child moves and unmaps its X window.
    MoveWindow(child, 30, 40, 60, 20, TRUE);
    sync();
    pump_for(20);
    g = geometry_on_root(dpy, xid(child));
    EXPECT_EQ(g.x, 130);
    EXPECT_EQ(g.y, 140);
    EXPECT_EQ(g.width, 60);
    ShowWindow(child, SW_HIDE);
    pump_for(20);
    XWindowAttributes a{};
    XGetWindowAttributes(dpy, xid(child), &a);
    EXPECT_EQ(a.map_state, IsUnmapped);
}

// The rectangles of a window's bounding shape, as the server keeps them.
std::vector<RECT> shape_of(Display* dpy, ::Window w) {
    int count = 0, ordering = 0;
    XRectangle* r = XShapeGetRectangles(dpy, w, ShapeBounding, &count, &ordering);
    std::vector<RECT> out;
    for (int i = 0; i < count; ++i) out.push_back(RECT{r[i].x, r[i].y, r[i].x + r[i].width, r[i].y + r[i].height});
    if (r) XFree(r);
    return out;
}

bool shaped(Display* dpy, ::Window w) {
    Bool bounding = False, clip = False;
    int bx, by, cx, cy;
    unsigned bw, bh, cw, ch;
    XShapeQueryExtents(dpy, w, &bounding, &bx, &by, &bw, &bh, &clip, &cx, &cy, &cw, &ch);
    return bounding == True;
}

bool same(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(RECT)) != 0) return false;
    return true;
}

TEST_F(X11Windows, WindowShapeFollowsItsRegion) {
    int event_base = 0, error_base = 0;
    ASSERT_TRUE(XShapeQueryExtension(dpy, &event_base, &error_base));
    HWND w = open_window(200, 150, 100, 80);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(shaped(dpy, xid(w)));

    // An L shape: a column and a bar to its right.
    HRGN rgn = CreateRectRgn(0, 0, 40, 80);
    HRGN bar = CreateRectRgn(40, 20, 100, 40);
    CombineRgn(rgn, rgn, bar, RGN_OR);
    DeleteObject(bar);
    ASSERT_NE(SetWindowRgn(w, rgn, TRUE), 0);
    sync();
    EXPECT_TRUE(shaped(dpy, xid(w)));
    EXPECT_TRUE(same(shape_of(dpy, xid(w)), {{0, 0, 40, 20}, {0, 20, 100, 40}, {0, 40, 40, 80}}));

    // A new region replaces the shape.
    ASSERT_NE(SetWindowRgn(w, CreateRectRgn(10, 10, 30, 30), TRUE), 0);
    sync();
    EXPECT_TRUE(same(shape_of(dpy, xid(w)), {{10, 10, 30, 30}}));

    // Where the shape cuts the window away, a click reaches whatever lies below.
    HWND below = open_window(150, 100, 300, 250);
    ASSERT_NE(below, nullptr);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    XRaiseWindow(dpy, xid(w));
    sync();
    received().clear();
    move_pointer(200 + 50, 150 + 50);  // outside the shape
    button(1, true);
    button(1, false);
    move_pointer(200 + 20, 150 + 20);  // inside it
    button(1, true);
    button(1, false);
    ASSERT_TRUE(pump_until([] { return received(WM_LBUTTONUP).size() == 2; }));
    auto downs = received(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].wnd, below);
    EXPECT_EQ(downs[1].wnd, w);
    EXPECT_EQ(downs[1].lparam, MAKELPARAM(20, 20));

    // No region: the whole window again.
    ASSERT_NE(SetWindowRgn(w, nullptr, TRUE), 0);
    sync();
    EXPECT_FALSE(shaped(dpy, xid(w)));
}

TEST_F(X11Windows, RegionOfAFramedWindowIsInWindowCoordinates) {
    // The region counts from the window's outer corner; the X window is the
    // client area inside the frame and the caption.
    HWND w = open_window(300, 200, 200, 150, kWindowed);
    ASSERT_NE(w, nullptr);
    RECT outer{};
    GetWindowRect(w, &outer);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    const LONG dx = origin.x - outer.left, dy = origin.y - outer.top;
    ASSERT_NE(SetWindowRgn(w, CreateRectRgn(0, 0, 100, 100), TRUE), 0);
    sync();
    EXPECT_TRUE(same(shape_of(dpy, xid(w)), {{-dx, -dy, 100 - dx, 100 - dy}}));
}

std::uint32_t pixel_at(Display* dpy, ::Window w, int x, int y) {
    XImage* img = XGetImage(dpy, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return 0xFFFFFFFF;
    std::uint32_t p = static_cast<std::uint32_t>(XGetPixel(img, 0, 0)) & 0xFFFFFF;
    XDestroyImage(img);
    return p;
}

// Pixels of a window area darker than the status bar's face: text and edges.
int dark_pixels(Display* dpy, ::Window w, int x0, int x1, int y0, int y1) {
    XImage* img = XGetImage(dpy, w, x0, y0, static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0), AllPlanes,
                            ZPixmap);
    if (!img) return -1;
    int n = 0;
    for (int y = 0; y < y1 - y0; ++y)
        for (int x = 0; x < x1 - x0; ++x) {
            unsigned long p = XGetPixel(img, x, y);
            unsigned sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
            if (sum < 3 * 0x60) ++n;
        }
    XDestroyImage(img);
    return n;
}

TEST_F(X11Windows, GdiContentAndStatusBarTextAppearOnTheScreen) {
    HWND w = open_window(100, 100, 320, 200);
    ASSERT_NE(w, nullptr);
    // The class brush painted the client area; that is what X shows.
    ASSERT_TRUE(pump_until([&] { return pixel_at(dpy, xid(w), 5, 5) != 0xFFFFFFFF && pixel_at(dpy, xid(w), 5, 5) != 0; }));
    const std::uint32_t face = pixel_at(dpy, xid(w), 5, 5);
    EXPECT_EQ(pixel_at(dpy, xid(w), 300, 150), face);

    HWND bar = CreateStatusWindowA(static_cast<LONG>(WS_CHILD | WS_VISIBLE), "Percorso file", w, 30482);
    ASSERT_NE(bar, nullptr);
    int edges[2] = {150, -1};
    SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageA(bar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Parte \xE8"));
    ASSERT_TRUE(wait_viewable(bar));
    RECT r{};
    GetClientRect(bar, &r);
    ASSERT_GT(r.bottom, 10);
    // Both parts show text; the bar's face lies between them.
    ASSERT_TRUE(pump_until([&] { return dark_pixels(dpy, xid(bar), 4, 140, 3, r.bottom - 3) > 20; }))
        << "no text in the first part";
    EXPECT_GT(dark_pixels(dpy, xid(bar), 156, 300, 3, r.bottom - 3), 20) << "no text in the second part";

    // An empty text leaves its part empty.
    SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    ASSERT_TRUE(pump_until([&] { return dark_pixels(dpy, xid(bar), 4, 140, 3, r.bottom - 3) == 0; }))
        << "the old text stayed";
    EXPECT_GT(dark_pixels(dpy, xid(bar), 156, 300, 3, r.bottom - 3), 20);
}

}  // namespace
}  // namespace orvex_test
