// Text for X: Windows-1252 to UTF-8, and drawing with Xft (or the server's
// "fixed" font where no Xft font can be opened).
#include "platform/x11/x11_text.h"

#include <X11/Xft/Xft.h>

#include <cstring>

namespace orvex_x11 {

namespace {
// Windows-1252 0x80..0x9F; the five unassigned bytes keep their own values,
// as the system's own conversion does.
constexpr std::uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::uint16_t rgb16(std::uint32_t rgb, int shift) { return static_cast<std::uint16_t>(((rgb >> shift) & 0xFF) * 257); }
}  // namespace

std::string cp1252_to_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (unsigned char c : text) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0xA0)
            append_utf8(out, kHigh[c - 0x80]);
        else
            append_utf8(out, c);
    }
    return out;
}

class TextFont {
public:
    TextFont(Display* dpy, int screen) : dpy_(dpy), screen_(screen) {
        xft_ = XftFontOpenName(dpy, screen, "sans-serif:pixelsize=13");
        if (!xft_) core_ = XLoadQueryFont(dpy, "fixed");
    }
    ~TextFont() {
        if (xft_) XftFontClose(dpy_, xft_);
        if (core_) XFreeFont(dpy_, core_);
    }
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    TextMetrics metrics() const {
        if (xft_) return TextMetrics{xft_->ascent, xft_->descent};
        if (core_) return TextMetrics{core_->ascent, core_->descent};
        return TextMetrics{10, 3};
    }

    int width(const std::string& utf8) const {
        if (xft_) {
            XGlyphInfo g{};
            XftTextExtentsUtf8(dpy_, xft_, reinterpret_cast<const FcChar8*>(utf8.data()), static_cast<int>(utf8.size()),
                               &g);
            return g.xOff;
        }
        if (core_) {
            std::string latin = latin1(utf8);
            return XTextWidth(core_, latin.data(), static_cast<int>(latin.size()));
        }
        return static_cast<int>(utf8.size()) * 7;
    }

    void draw(Drawable d, GC gc, int x, int y, const std::string& utf8, std::uint32_t rgb) {
        if (xft_) {
            XftDraw* draw = XftDrawCreate(dpy_, d, DefaultVisual(dpy_, screen_), DefaultColormap(dpy_, screen_));
            if (!draw) return;
            XRenderColor rc{rgb16(rgb, 16), rgb16(rgb, 8), rgb16(rgb, 0), 0xFFFF};
            XftColor color;
            if (XftColorAllocValue(dpy_, DefaultVisual(dpy_, screen_), DefaultColormap(dpy_, screen_), &rc, &color)) {
                XftDrawStringUtf8(draw, &color, xft_, x, y, reinterpret_cast<const FcChar8*>(utf8.data()),
                                  static_cast<int>(utf8.size()));
                XftColorFree(dpy_, DefaultVisual(dpy_, screen_), DefaultColormap(dpy_, screen_), &color);
            }
            XftDrawDestroy(draw);
        } else if (core_) {
            std::string latin = latin1(utf8);
            XSetFont(dpy_, gc, core_->fid);
            XDrawString(dpy_, d, gc, x, y, latin.data(), static_cast<int>(latin.size()));
        }
    }

private:
    // The core font speaks ISO 8859-1: what lies beyond shows as '?'.
    static std::string latin1(const std::string& utf8) {
        std::string out;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
                unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
                out += cp < 0x100 ? static_cast<char>(cp) : '?';
                ++i;
            } else if (c >= 0xC0) {
                out += '?';
                while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
            }
        }
        return out;
    }

    Display* dpy_;
    int screen_;
    XftFont* xft_ = nullptr;
    XFontStruct* core_ = nullptr;
};

Painter::Painter(Display* dpy, int screen)
    : dpy_(dpy), screen_(screen), gc_(XCreateGC(dpy, RootWindow(dpy, screen), 0, nullptr)),
      font_(std::make_unique<TextFont>(dpy, screen)) {}

Painter::~Painter() {
    font_.reset();
    XFreeGC(dpy_, gc_);
}

TextMetrics Painter::metrics() const { return font_->metrics(); }
int Painter::text_width(const std::string& utf8) const { return font_->width(utf8); }

unsigned long Painter::pixel(std::uint32_t rgb) const {
    Visual* v = DefaultVisual(dpy_, screen_);
    if (v->c_class == TrueColor || v->c_class == DirectColor) {
        auto channel = [](std::uint32_t value, unsigned long mask) {
            if (!mask) return 0ul;
            int shift = 0;
            while (!((mask >> shift) & 1)) ++shift;
            int bits = 0;
            while ((mask >> (shift + bits)) & 1) ++bits;
            unsigned long scaled = bits >= 8 ? (value << (bits - 8)) : (value >> (8 - bits));
            return (scaled << shift) & mask;
        };
        return channel((rgb >> 16) & 0xFF, v->red_mask) | channel((rgb >> 8) & 0xFF, v->green_mask) |
               channel(rgb & 0xFF, v->blue_mask);
    }
    XColor c{};
    c.red = rgb16(rgb, 16);
    c.green = rgb16(rgb, 8);
    c.blue = rgb16(rgb, 0);
    c.flags = DoRed | DoGreen | DoBlue;
    if (XAllocColor(dpy_, DefaultColormap(dpy_, screen_), &c)) return c.pixel;
    return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) > 384 ? WhitePixel(dpy_, screen_)
                                                                           : BlackPixel(dpy_, screen_);
}

void Painter::text(Drawable d, int x, int y, const std::string& utf8, std::uint32_t rgb) {
    XSetForeground(dpy_, gc_, pixel(rgb));
    font_->draw(d, gc_, x, y, utf8, rgb);
}

void Painter::fill(Drawable d, int x, int y, int w, int h, std::uint32_t rgb) {
    if (w <= 0 || h <= 0) return;
    XSetForeground(dpy_, gc_, pixel(rgb));
    XFillRectangle(dpy_, d, gc_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

void Painter::line(Drawable d, int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    XSetForeground(dpy_, gc_, pixel(rgb));
    XDrawLine(dpy_, d, gc_, x0, y0, x1, y1);
}

void Painter::ellipse(Drawable d, int x, int y, int w, int h, std::uint32_t rgb) {
    if (w <= 0 || h <= 0) return;
    XSetForeground(dpy_, gc_, pixel(rgb));
    XFillArc(dpy_, d, gc_, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), 0, 360 * 64);
}

}  // namespace orvex_x11
