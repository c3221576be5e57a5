// Cursors and icons for X: the system cursors as the fitting cursors of
// X's cursor font, cursors from files as image cursors, class icons as
// _NET_WM_ICON data.
#include "platform/x11/x11_cursor.h"

#include <X11/cursorfont.h>
#include <X11/extensions/Xrender.h>

#include <map>

#include "platform/core/cursors_icons.h"
#include "platform/x11/x11_driver.h"

namespace orvex_x11 {

namespace {

unsigned font_shape(int id) {
    switch (id) {
        case 32512: return XC_left_ptr;            // IDC_ARROW
        case 32513: return XC_xterm;               // IDC_IBEAM
        case 32514: return XC_watch;               // IDC_WAIT
        case 32515: return XC_crosshair;           // IDC_CROSS
        case 32516: return XC_sb_up_arrow;         // IDC_UPARROW
        case 32640: return XC_fleur;               // IDC_SIZE
        case 32642: return XC_bottom_right_corner; // IDC_SIZENWSE
        case 32643: return XC_bottom_left_corner;  // IDC_SIZENESW
        case 32644: return XC_sb_h_double_arrow;   // IDC_SIZEWE
        case 32645: return XC_sb_v_double_arrow;   // IDC_SIZENS
        case 32646: return XC_fleur;               // IDC_SIZEALL
        case 32648: return XC_X_cursor;            // IDC_NO
        case 32649: return XC_hand2;               // IDC_HAND
        case 32650: return XC_watch;               // IDC_APPSTARTING
        case 32651: return XC_question_arrow;      // IDC_HELP
        default: return XC_left_ptr;
    }
}

Cursor font_cursor(Display* dpy, unsigned shape) {
    static std::map<unsigned, Cursor> made;  // one display per process; kept for its life
    auto it = made.find(shape);
    if (it != made.end()) return it->second;
    Cursor c = XCreateFontCursor(dpy, shape);
    made.emplace(shape, c);
    return c;
}

// A full-colour cursor through the Render extension.
Cursor render_cursor(Display* dpy, ::Window root, const CursorImage& c) {
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (!XRenderQueryExtension(dpy, &event_base, &error_base) || !XRenderQueryVersion(dpy, &major, &minor) ||
        (major == 0 && minor < 5))
        return 0;
    XRenderPictFormat* format = XRenderFindStandardFormat(dpy, PictStandardARGB32);
    if (!format) return 0;
    std::vector<std::uint32_t> premultiplied(c.argb.size());
    for (std::size_t i = 0; i < c.argb.size(); ++i) {
        std::uint32_t p = c.argb[i], a = p >> 24;
        auto ch = [&](int shift) { return (((p >> shift) & 0xFF) * a / 255) << shift; };
        premultiplied[i] = (a << 24) | ch(16) | ch(8) | ch(0);
    }
    XImage* img = XCreateImage(dpy, nullptr, 32, ZPixmap, 0, reinterpret_cast<char*>(premultiplied.data()),
                               static_cast<unsigned>(c.width), static_cast<unsigned>(c.height), 32, c.width * 4);
    if (!img) return 0;
    img->byte_order = host_byte_order();  // the pixels are 32-bit values in the host's order
    Pixmap pm = XCreatePixmap(dpy, root, static_cast<unsigned>(c.width), static_cast<unsigned>(c.height), 32);
    GC gc = XCreateGC(dpy, pm, 0, nullptr);
    XPutImage(dpy, pm, gc, img, 0, 0, 0, 0, static_cast<unsigned>(c.width), static_cast<unsigned>(c.height));
    XFreeGC(dpy, gc);
    img->data = nullptr;
    XDestroyImage(img);
    Picture pict = XRenderCreatePicture(dpy, pm, format, 0, nullptr);
    Cursor cursor = XRenderCreateCursor(dpy, pict, static_cast<unsigned>(c.hotspot_x), static_cast<unsigned>(c.hotspot_y));
    XRenderFreePicture(dpy, pict);
    XFreePixmap(dpy, pm);
    return cursor;
}

// A two-colour cursor where the server has no Render: dark pixels black,
// light ones white, transparent ones (alpha below half) left out.
Cursor bitmap_cursor(Display* dpy, ::Window root, const CursorImage& c) {
    const int stride = (c.width + 7) / 8;
    std::vector<char> source(static_cast<std::size_t>(stride) * c.height, 0);
    std::vector<char> mask(source.size(), 0);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            std::uint32_t p = c.argb[static_cast<std::size_t>(y) * c.width + x];
            if ((p >> 24) < 128) continue;
            unsigned lum = ((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF);
            std::size_t i = static_cast<std::size_t>(y) * stride + x / 8;
            mask[i] = static_cast<char>(mask[i] | (1 << (x % 8)));
            if (lum < 128 * 10) source[i] = static_cast<char>(source[i] | (1 << (x % 8)));
        }
    Pixmap src = XCreateBitmapFromData(dpy, root, source.data(), static_cast<unsigned>(c.width),
                                       static_cast<unsigned>(c.height));
    Pixmap msk = XCreateBitmapFromData(dpy, root, mask.data(), static_cast<unsigned>(c.width),
                                       static_cast<unsigned>(c.height));
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    Cursor cursor = XCreatePixmapCursor(dpy, src, msk, &black, &white, static_cast<unsigned>(c.hotspot_x),
                                        static_cast<unsigned>(c.hotspot_y));
    XFreePixmap(dpy, src);
    XFreePixmap(dpy, msk);
    return cursor;
}

// The system's application icon: a small window with a title bar.
std::vector<std::uint32_t> application_icon(int size) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(size) * size, 0);
    const int m = size / 8;
    for (int y = m; y < size - m; ++y)
        for (int x = m; x < size - m; ++x) {
            const bool edge = x == m || y == m || x == size - m - 1 || y == size - m - 1;
            const bool title = y < m + size / 5;
            px[static_cast<std::size_t>(y) * size + x] = edge ? 0xFF202020u : (title ? 0xFF2060C0u : 0xFFFFFFFFu);
        }
    return px;
}

}  // namespace

Cursor make_cursor(Display* dpy, ::Window root, HCURSOR handle, bool& owned) {
    owned = false;
    const CursorImage* c = find_cursor(handle);
    if (!c) return 0;
    if (c->system || c->argb.empty() || c->width <= 0 || c->height <= 0 ||
        c->argb.size() != static_cast<std::size_t>(c->width) * c->height)
        return font_cursor(dpy, font_shape(c->system ? c->system_id : 32512));
    Cursor cursor = render_cursor(dpy, root, *c);
    if (!cursor) cursor = bitmap_cursor(dpy, root, *c);
    owned = cursor != 0;
    return cursor ? cursor : font_cursor(dpy, XC_left_ptr);
}

std::vector<unsigned long> icon_property(HICON icon) {
    const CursorImage* c = find_cursor(icon);
    if (!c) return {};
    std::vector<std::uint32_t> px;
    int w = c->width, h = c->height;
    if (!c->system && !c->argb.empty() && c->argb.size() == static_cast<std::size_t>(w) * h) {
        px = c->argb;
    } else {
        w = h = 32;
        px = application_icon(32);
    }
    // _NET_WM_ICON: width, height, then ARGB pixels, each in a long.
    std::vector<unsigned long> data;
    data.reserve(2 + px.size());
    data.push_back(static_cast<unsigned long>(w));
    data.push_back(static_cast<unsigned long>(h));
    for (std::uint32_t p : px) data.push_back(p);
    return data;
}

}  // namespace orvex_x11
