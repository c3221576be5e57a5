// Windows as X windows: each window's client area is an X window (a child
// window a child of its parent's), decorated by the window manager after
// the window's style; window regions through the Shape extension; GDI
// content put on the screen with XPutImage; the status bar's parts and texts.
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/core/regions.h"
#include "platform/core/status_bar.h"
#include "platform/core/window_class.h"
#include "platform/x11/x11_cursor.h"
#include "platform/x11/x11_driver.h"

namespace orvex_x11 {

namespace {
constexpr long kEventMask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | FocusChangeMask | StructureNotifyMask;

bool captioned(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

// Frame drawn by X itself (its window border) for windows the window
// manager does not decorate: their frame is uniform.
int border_width(const orvex_platform::Window& w) {
    if (captioned(w.style) && !is_child(w)) return 0;
    RECT in = frame_insets(w.style, is_child(w));
    return static_cast<int>(std::clamp<LONG>(in.left, 0, 100));
}

short clamp_short(long v) { return static_cast<short>(std::clamp<long>(v, SHRT_MIN, SHRT_MAX)); }

// _MOTIF_WM_HINTS, which window managers read for the decorations and the
// functions (moving, closing, ...) a window offers, and its bits.
struct MotifHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long input_mode;
    unsigned long status;
};
constexpr unsigned long kMwmHintsFunctions = 1, kMwmHintsDecorations = 2;
constexpr unsigned long kMwmFuncResize = 2, kMwmFuncMove = 4, kMwmFuncMinimize = 8, kMwmFuncMaximize = 16,
                        kMwmFuncClose = 32;
constexpr unsigned long kMwmDecorBorder = 2, kMwmDecorResizeHandles = 4, kMwmDecorTitle = 8, kMwmDecorMenu = 16,
                        kMwmDecorMinimize = 32, kMwmDecorMaximize = 64;

// What each part of a captioned window's style brings: a decoration and the
// function it offers.
struct StyleDecoration {
    DWORD style;
    unsigned long decoration;
    unsigned long function;
};
constexpr StyleDecoration kStyleDecorations[] = {
    {WS_SYSMENU, kMwmDecorMenu, kMwmFuncClose},
    {WS_MINIMIZEBOX, kMwmDecorMinimize, kMwmFuncMinimize},
    {WS_MAXIMIZEBOX, kMwmDecorMaximize, kMwmFuncMaximize},
    {WS_THICKFRAME, kMwmDecorResizeHandles, kMwmFuncResize},
};

// The colour of the button face, as the status bar's background.
constexpr std::uint32_t kFace = 0xF0F0F0;
constexpr std::uint32_t kShadow = 0xA0A0A0;
constexpr std::uint32_t kHighlight = 0xFFFFFF;

// Puts 0x00RRGGBB pixels (top row first) on a drawable of the default visual.
void put_pixels(Display* dpy, int screen, Drawable d, const std::vector<std::uint32_t>& pixels, int width,
                int height) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) return;
    Visual* visual = DefaultVisual(dpy, screen);
    int depth = DefaultDepth(dpy, screen);
    XImage* img = XCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                               static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!img) return;
    std::vector<char> converted;
    const bool direct = img->bits_per_pixel == 32 && img->red_mask == 0xFF0000 && img->green_mask == 0xFF00 &&
                        img->blue_mask == 0xFF && img->bytes_per_line == width * 4;
    if (direct) {
        // The pixels are 32-bit values in the host's order; Xlib swaps them
        // for a server of the other order.
        img->byte_order = host_byte_order();
        img->data = const_cast<char*>(reinterpret_cast<const char*>(pixels.data()));
    } else {
        converted.resize(static_cast<std::size_t>(img->bytes_per_line) * height);
        img->data = converted.data();
        Painter& p = the_driver().painter();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                XPutPixel(img, x, y, p.pixel(pixels[static_cast<std::size_t>(y) * width + x]));
    }
    XPutImage(dpy, d, DefaultGC(dpy, screen), img, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    img->data = nullptr;
    XDestroyImage(img);
}
}  // namespace

XRectangle X11Driver::client_placement(orvex_platform::Window& w) const {
    SIZE s = client_size(w);
    int bw = border_width(w);
    RECT in = frame_insets(w.style, is_child(w));
    POINT origin =
        is_child(w) ? POINT{w.rect.left + in.left, w.rect.top + in.top} : root_point(client_origin_on_screen(w));
    // The X position is that of the window's border; the client area lies inside it.
    return XRectangle{clamp_short(origin.x - bw), clamp_short(origin.y - bw),
                      static_cast<unsigned short>(std::clamp<LONG>(s.cx, 1, SHRT_MAX)),
                      static_cast<unsigned short>(std::clamp<LONG>(s.cy, 1, SHRT_MAX))};
}

void X11Driver::window_created(orvex_platform::Window& w) {
    auto xw = std::make_unique<XWindow>();
    xw->hwnd = w.handle;
    xw->top_level = !is_child(w);
    XWindow& ref = *xw;
    windows_[w.handle] = std::move(xw);
    create_x_window(w, ref);
}

void X11Driver::create_x_window(orvex_platform::Window& w, XWindow& xw) {
    ::Window parent = root_;
    if (is_child(w)) {
        XWindow* p = find(w.parent);
        if (p) parent = p->id;
    }
    XRectangle r = client_placement(w);
    XSetWindowAttributes a{};
    a.background_pixmap = None;
    a.border_pixel = BlackPixel(dpy_, screen_);
    a.bit_gravity = NorthWestGravity;
    a.event_mask = kEventMask;
    a.colormap = DefaultColormap(dpy_, screen_);
    xw.id = XCreateWindow(dpy_, parent, r.x, r.y, r.width, r.height, static_cast<unsigned>(border_width(w)),
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask | CWColormap, &a);
    xw.placed = r;
    ids_[xw.id] = xw.hwnd;
    if (xw.top_level) set_top_level_properties(w, xw);
    update_cursor(w, xw);
    update_shape(w, xw);
    XFlush(dpy_);
}

void X11Driver::set_title(XWindow& xw, const std::string& title) {
    xw.title = title;
    std::string utf8 = cp1252_to_utf8(title);
    XChangeProperty(dpy_, xw.id, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    XChangeProperty(dpy_, xw.id, atom("_NET_WM_ICON_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    // The older WM_NAME, for managers that read only that: Latin-1 where
    // the text allows, compound text where it does not.
    char* list[1] = {utf8.data()};
    XTextProperty tp{};
    if (Xutf8TextListToTextProperty(dpy_, list, 1, XStdICCTextStyle, &tp) >= Success) {
        XSetWMName(dpy_, xw.id, &tp);
        XSetWMIconName(dpy_, xw.id, &tp);
        if (tp.value) XFree(tp.value);
    }
}

void X11Driver::set_size_hints(orvex_platform::Window& w, XWindow& xw) {
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) return;
    XRectangle r = client_placement(w);
    hints->flags = PPosition | USPosition | PWinGravity;
    hints->x = r.x;
    hints->y = r.y;
    // The client area stays where it was asked to be; the frame goes around it.
    hints->win_gravity = StaticGravity;
    if (!(w.style & WS_THICKFRAME)) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = r.width;
        hints->min_height = hints->max_height = r.height;
    }
    XSetWMNormalHints(dpy_, xw.id, hints);
    XFree(hints);
}

void X11Driver::set_top_level_properties(orvex_platform::Window& w, XWindow& xw) {
    Atom protocols[2] = {atom("WM_DELETE_WINDOW"), atom("_NET_WM_PING")};
    XSetWMProtocols(dpy_, xw.id, protocols, 2);

    XClassHint cls{};
    std::string res_name = "orvex";
    char comm[64] = {};
    if (FILE* f = std::fopen("/proc/self/comm", "r")) {
        if (std::fgets(comm, sizeof comm, f)) res_name.assign(comm, std::strcspn(comm, "\n"));
        std::fclose(f);
    }
    std::string res_class = w.class_name;
    cls.res_name = res_name.data();
    cls.res_class = res_class.data();
    XSetClassHint(dpy_, xw.id, &cls);

    long pid = static_cast<long>(getpid());
    XChangeProperty(dpy_, xw.id, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    XWMHints* wm = XAllocWMHints();
    if (wm) {
        wm->flags = InputHint | StateHint;
        wm->input = True;
        wm->initial_state = NormalState;
        XSetWMHints(dpy_, xw.id, wm);
        XFree(wm);
    }
    Atom type = atom("_NET_WM_WINDOW_TYPE_NORMAL");
    XChangeProperty(dpy_, xw.id, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);

    // Decorations and functions after the window's style: a caption brings
    // a title bar, WS_SYSMENU the close button, the minimise and maximise
    // boxes theirs; without a sizing frame the window cannot be resized.
    MotifHints mh{};
    mh.flags = kMwmHintsFunctions | kMwmHintsDecorations;
    if (captioned(w.style)) {
        mh.decorations = kMwmDecorBorder | kMwmDecorTitle;
        mh.functions = kMwmFuncMove;
        for (const StyleDecoration& d : kStyleDecorations) {
            if (!(w.style & d.style)) continue;
            mh.decorations |= d.decoration;
            mh.functions |= d.function;
        }
    } else {
        mh.decorations = 0;
        mh.functions = kMwmFuncMove | kMwmFuncMinimize | kMwmFuncClose;
    }
    XChangeProperty(dpy_, xw.id, atom("_MOTIF_WM_HINTS"), atom("_MOTIF_WM_HINTS"), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&mh), static_cast<int>(sizeof mh / sizeof(long)));
    set_size_hints(w, xw);
    set_title(xw, w.title);
    set_icon(w, xw);
}

void X11Driver::set_icon(orvex_platform::Window& w, XWindow& xw) {
    const WindowClass* cls = find_class(w.class_name.c_str(), w.instance);
    std::vector<unsigned long> data = icon_property(cls ? cls->icon : nullptr);
    if (data.empty()) {
        XDeleteProperty(dpy_, xw.id, atom("_NET_WM_ICON"));
        return;
    }
    XChangeProperty(dpy_, xw.id, atom("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void X11Driver::update_cursor(orvex_platform::Window& w, XWindow& xw) {
    if (xw.cursor_defined && xw.cursor_handle == w.cursor) return;
    xw.cursor_defined = true;
    if (xw.cursor) XFreeCursor(dpy_, xw.cursor);
    xw.cursor = 0;
    xw.cursor_handle = w.cursor;
    bool owned = false;
    Cursor c = make_cursor(dpy_, root_, w.cursor, owned);
    if (c) XDefineCursor(dpy_, xw.id, c);
    else XUndefineCursor(dpy_, xw.id);
    if (owned) xw.cursor = c;
}

void X11Driver::update_shape(orvex_platform::Window& w, XWindow& xw) {
    static int has_shape = -1;
    if (has_shape < 0) {
        int event_base = 0, error_base = 0;
        has_shape = XShapeQueryExtension(dpy_, &event_base, &error_base) ? 1 : 0;
    }
    if (!has_shape) return;
    orvex_platform::Region* region = w.region ? find_region(w.region) : nullptr;
    if (!region) {
        if (xw.shaped) XShapeCombineMask(dpy_, xw.id, ShapeBounding, 0, 0, None, ShapeSet);
        xw.shaped = false;
        xw.shape.clear();
        return;
    }
    // The region is in window co-ordinates; the X window is the client
    // area, its origin offset by the frame.
    const std::span<const pixman_box32_t> boxes = region->area.rectangles();
    RECT in = frame_insets(w.style, is_child(w));
    std::vector<XRectangle> rects;
    rects.reserve(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        long x1 = static_cast<long>(boxes[i].x1) - in.left, y1 = static_cast<long>(boxes[i].y1) - in.top;
        long x2 = static_cast<long>(boxes[i].x2) - in.left, y2 = static_cast<long>(boxes[i].y2) - in.top;
        x1 = std::clamp<long>(x1, SHRT_MIN, SHRT_MAX);
        y1 = std::clamp<long>(y1, SHRT_MIN, SHRT_MAX);
        x2 = std::clamp<long>(x2, SHRT_MIN, SHRT_MAX);
        y2 = std::clamp<long>(y2, SHRT_MIN, SHRT_MAX);
        if (x2 <= x1 || y2 <= y1) continue;
        rects.push_back(XRectangle{static_cast<short>(x1), static_cast<short>(y1), static_cast<unsigned short>(x2 - x1),
                                   static_cast<unsigned short>(y2 - y1)});
    }
    auto same = [](const XRectangle& a, const XRectangle& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    if (xw.shaped && rects.size() == xw.shape.size() && std::equal(rects.begin(), rects.end(), xw.shape.begin(), same))
        return;
    XShapeCombineRectangles(dpy_, xw.id, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet,
                            YXBanded);
    xw.shaped = true;
    xw.shape = std::move(rects);
}

void X11Driver::window_changed(orvex_platform::Window& w) {
    XWindow* xw = find(w.handle);
    if (!xw) return;
    XRectangle r = client_placement(w);
    if (r.x != xw->placed.x || r.y != xw->placed.y || r.width != xw->placed.width || r.height != xw->placed.height) {
        if (xw->top_level) set_size_hints(w, *xw);
        XMoveResizeWindow(dpy_, xw->id, r.x, r.y, r.width, r.height);
        xw->placed = r;
    }
    if (xw->top_level && w.title != xw->title) set_title(*xw, w.title);
    update_shape(w, *xw);
    update_cursor(w, *xw);

    SIZE s = client_size(w);
    const bool has_area = s.cx > 0 && s.cy > 0;
    if (xw->top_level) {
        if (w.visible && !xw->mapped) {
            // A window without a caption covering the whole screen is a
            // full-screen window: no decorations, above the panels. The
            // display mode stays as it is.
            SIZE screen = screen_size();
            RECT outer = w.rect;
            xw->fullscreen = !captioned(w.style) && outer.left <= 0 && outer.top <= 0 && outer.right >= screen.cx &&
                             outer.bottom >= screen.cy;
            if (xw->fullscreen) {
                Atom state = atom("_NET_WM_STATE_FULLSCREEN");
                XChangeProperty(dpy_, xw->id, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(&state), 1);
            } else {
                XDeleteProperty(dpy_, xw->id, atom("_NET_WM_STATE"));
            }
            XWMHints* wm = XAllocWMHints();
            if (wm) {
                wm->flags = InputHint | StateHint;
                wm->input = True;
                wm->initial_state = w.minimized ? IconicState : NormalState;
                XSetWMHints(dpy_, xw->id, wm);
                XFree(wm);
            }
            XMapRaised(dpy_, xw->id);
            xw->mapped = true;
            xw->iconified = w.minimized;
        } else if (w.visible && w.minimized && !xw->iconified) {
            xw->iconified = true;
            XIconifyWindow(dpy_, xw->id, screen_);
        } else if (w.visible && !w.minimized && xw->iconified) {
            xw->iconified = false;
            XMapRaised(dpy_, xw->id);
        } else if (!w.visible && xw->mapped) {
            xw->mapped = false;
            xw->iconified = false;
            XWithdrawWindow(dpy_, xw->id, screen_);
        }
    } else {
        const bool show = w.visible && has_area;
        if (show && !xw->mapped) {
            XMapWindow(dpy_, xw->id);
            xw->mapped = true;
        } else if (!show && xw->mapped) {
            XUnmapWindow(dpy_, xw->id);
            xw->mapped = false;
        }
    }
    XFlush(dpy_);
}

void X11Driver::window_destroyed(orvex_platform::Window& w) {
    auto it = windows_.find(w.handle);
    if (it == windows_.end()) return;
    XWindow& xw = *it->second;
    if (capture_ == w.handle) capture_changed(nullptr);
    XDestroyWindow(dpy_, xw.id);
    if (xw.cursor) XFreeCursor(dpy_, xw.cursor);
    ids_.erase(xw.id);
    windows_.erase(it);
    if (foreground_ == w.handle) foreground_ = nullptr;
    XFlush(dpy_);
}

void X11Driver::window_painted(orvex_platform::Window& w) {
    if (XWindow* xw = find(w.handle)) show_pixels(w, *xw);
}

void X11Driver::show_pixels(orvex_platform::Window& w, XWindow& xw) {
    // A window with a rendering context shows what was rendered.
    if (w.pixel_format != 0 || !xw.mapped) return;
    SIZE s = client_size(w);
    if (s.cx <= 0 || s.cy <= 0) return;
    if (status_bar_state(w.handle)) {
        Pixmap pm = XCreatePixmap(dpy_, xw.id, static_cast<unsigned>(s.cx), static_cast<unsigned>(s.cy),
                                  static_cast<unsigned>(DefaultDepth(dpy_, screen_)));
        paint_status_bar(w, xw, pm);
        XCopyArea(dpy_, pm, xw.id, DefaultGC(dpy_, screen_), 0, 0, static_cast<unsigned>(s.cx),
                  static_cast<unsigned>(s.cy), 0, 0);
        XFreePixmap(dpy_, pm);
    } else if (!w.pixels.empty()) {
        put_pixels(dpy_, screen_, xw.id, w.pixels, s.cx, s.cy);
    }
    XFlush(dpy_);
}

void X11Driver::paint_status_bar(orvex_platform::Window& w, XWindow&, Drawable target) {
    SIZE s = client_size(w);
    const StatusBarState* bar = status_bar_state(w.handle);
    if (w.pixels.size() == static_cast<std::size_t>(s.cx) * s.cy)
        put_pixels(dpy_, screen_, target, w.pixels, s.cx, s.cy);
    else
        painter_->fill(target, 0, 0, s.cx, s.cy, kFace);
    if (!bar) return;
    // Each part is a sunken box up to its right edge (-1: the bar's end),
    // its text inside, cut where it would leave the box.
    TextMetrics m = painter_->metrics();
    const int top = 2, bottom = s.cy - 1;
    const int baseline = top + ((bottom - top) - m.height()) / 2 + m.ascent;
    std::vector<int> edges = bar->edges.empty() ? std::vector<int>{-1} : bar->edges;
    int left = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        int right = edges[i] < 0 ? s.cx : std::min<int>(edges[i], s.cx);
        if (right - left > 4) {
            painter_->line(target, left, top, right - 1, top, kShadow);
            painter_->line(target, left, top, left, bottom - 1, kShadow);
            painter_->line(target, left, bottom, right - 1, bottom, kHighlight);
            painter_->line(target, right - 1, top, right - 1, bottom, kHighlight);
            std::string text = i < bar->texts.size() ? cp1252_to_utf8(bar->texts[i]) : std::string();
            const int room = right - left - 8;
            while (!text.empty() && painter_->text_width(text) > room) {
                // Drop whole UTF-8 sequences from the end.
                std::size_t cut = text.size() - 1;
                while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
                text.erase(cut);
            }
            if (!text.empty()) painter_->text(target, left + 4, baseline, text, 0x000000);
        }
        left = right + 2;
        if (left >= s.cx) break;
    }
}

void X11Driver::on_expose(XWindow& xw, const XExposeEvent& ev) {
    // Exposed parts become invalid, as on Windows; what GDI drew is put
    // back at once, so that the window never shows garbage while the
    // program gets round to its WM_PAINT.
    RECT r{ev.x, ev.y, ev.x + ev.width, ev.y + ev.height};
    InvalidateRect(xw.hwnd, &r, TRUE);
    if (ev.count == 0) {
        if (orvex_platform::Window* w = find_window(xw.hwnd)) show_pixels(*w, xw);
    }
}

void X11Driver::on_configure(XWindow& xw, const XConfigureEvent& ev) {
    if (!xw.top_level) return;
    orvex_platform::Window* w = find_window(xw.hwnd);
    if (!w) return;
    // Where the window manager really put the client area, on the root.
    int x = ev.x, y = ev.y;
    if (!ev.send_event) {
        ::Window child = 0;
        if (!XTranslateCoordinates(dpy_, xw.id, root_, 0, 0, &x, &y, &child)) return;
    } else {
        x += ev.border_width;
        y += ev.border_width;
    }
    const POINT client = screen_point(x, y);
    RECT in = frame_insets(w->style, false);
    RECT old = w->rect;
    LONG left = client.x - in.left, top = client.y - in.top;
    LONG width = ev.width + in.left + in.right, height = ev.height + in.top + in.bottom;
    w->rect = RECT{left, top, left + width, top + height};
    xw.placed = client_placement(*w);
    const bool moved = old.left != left || old.top != top;
    const bool sized = (old.right - old.left) != width || (old.bottom - old.top) != height;
    HWND wnd = xw.hwnd;
    if (sized) send_message(wnd, WM_SIZE, 0, MAKELPARAM(ev.width, ev.height));
    if (moved && find_window(wnd)) send_message(wnd, WM_MOVE, 0, MAKELPARAM(client.x, client.y));
}

}  // namespace orvex_x11
