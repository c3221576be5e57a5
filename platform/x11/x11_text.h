// Text for X: Windows-1252 to UTF-8, and the drawing of text and simple
// shapes (x11_text.cpp).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>

namespace orvex_x11 {

// Windows-1252 bytes as UTF-8, for titles and everything drawn with Xft.
std::string cp1252_to_utf8(const std::string& text);

class TextFont;  // Xft, or the core "fixed" font where no Xft font opens

struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
};

// Fonts and drawing of text and simple shapes on a drawable. One per display.
class Painter {
public:
    Painter(Display* dpy, int screen);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    TextMetrics metrics() const;
    int text_width(const std::string& utf8) const;
    // Text with its baseline at y; colours are 0xRRGGBB.
    void text(Drawable d, int x, int y, const std::string& utf8, std::uint32_t rgb);
    void fill(Drawable d, int x, int y, int w, int h, std::uint32_t rgb);
    void line(Drawable d, int x0, int y0, int x1, int y1, std::uint32_t rgb);
    void ellipse(Drawable d, int x, int y, int w, int h, std::uint32_t rgb);
    unsigned long pixel(std::uint32_t rgb) const;

private:
    Display* dpy_;
    int screen_;
    GC gc_;
    std::unique_ptr<TextFont> font_;
};

}  // namespace orvex_x11
