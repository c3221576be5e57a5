#include "examples/buttons/snapshot.h"

#include <cstdio>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "tools/image_writers/png_writer.h"

#if defined(EXAMPLE_HAVE_FREETYPE)
#include <ft2build.h>
#include FT_FREETYPE_H
#endif

namespace example {

namespace {

std::string g_path;
std::vector<HWND> g_buttons;
bool g_ok = true;

void draw_text(std::vector<std::uint32_t>& out, int width, int height, int left, int baseline, const char* text);

// The window's client area as the screen would show it: the OpenGL frame,
// and over it each child window's GDI pixels inside the child's region.
std::vector<std::uint32_t> compose(int& width, int& height) {
    const orvex_headless::Frame& frame = orvex_headless::last_frame();
    width = frame.width;
    height = frame.height;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out[static_cast<std::size_t>(y) * width + x] = frame.pixel(x, y) >> 8;

    POINT origin{0, 0};
    ClientToScreen(orvex::HWINDOW, &origin);
    std::vector<HWND> children = g_buttons;
    children.insert(children.begin(), orvex::HSTATUS);
    for (HWND child : children) {
        if (!child || !IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        int cw = 0, ch = 0;
        std::vector<std::uint32_t> pixels = orvex_headless::window_pixels(child, &cw, &ch);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const bool shaped = GetWindowRgn(child, region) != ERROR;
        const bool status_bar = child == orvex::HSTATUS;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const int sx = r.left - origin.x + x, sy = r.top - origin.y + y;
                if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
                if (shaped && !PtInRegion(region, x, y)) continue;
                std::uint32_t c;
                if (status_bar)  // drawn by the display itself: a light bar with a line above
                    c = y == 0 ? 0xA0A0A0 : 0xF0F0F0;
                else if (pixels.empty())
                    continue;
                else
                    c = pixels[static_cast<std::size_t>(y) * cw + x];
                out[static_cast<std::size_t>(sy) * width + sx] = c;
            }
        DeleteObject(region);
        if (status_bar) {
            char text[256] = {};
            SendMessageA(child, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
            draw_text(out, width, height, r.left - origin.x + 6, r.top - origin.y + 15, text);
        }
    }
    return out;
}

// The status bar's text, as the display would draw it: dark text on the
// bar, from the left edge. Without FreeType or a font the bar stays plain.
void draw_text(std::vector<std::uint32_t>& out, int width, int height, int left, int baseline, const char* text) {
#if defined(EXAMPLE_HAVE_FREETYPE)
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) return;
    FT_Face face;
    if (FT_New_Face(library, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, &face) == 0) {
        FT_Set_Pixel_Sizes(face, 0, 12);
        int pen = left;
        for (const char* c = text; *c; ++c) {
            if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER) != 0) continue;
            const FT_GlyphSlot g = face->glyph;
            for (unsigned row = 0; row < g->bitmap.rows; ++row)
                for (unsigned col = 0; col < g->bitmap.width; ++col) {
                    const int x = pen + g->bitmap_left + static_cast<int>(col);
                    const int y = baseline - g->bitmap_top + static_cast<int>(row);
                    if (x < 0 || y < 0 || x >= width || y >= height) continue;
                    const unsigned a = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
                    std::uint32_t& p = out[static_cast<std::size_t>(y) * width + x];
                    auto blend = [a](std::uint32_t bg, unsigned ink) { return (bg * (255 - a) + ink * a) / 255; };
                    p = (blend((p >> 16) & 255, 20) << 16) | (blend((p >> 8) & 255, 20) << 8) | blend(p & 255, 20);
                }
            pen += static_cast<int>(g->advance.x >> 6);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
#else
    (void)out, (void)width, (void)height, (void)left, (void)baseline, (void)text;
#endif
}

bool write_png(const std::string& path, int width, int height, const std::vector<std::uint32_t>& rgb) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        bytes[i * 3] = static_cast<std::uint8_t>(rgb[i] >> 16);
        bytes[i * 3 + 1] = static_cast<std::uint8_t>(rgb[i] >> 8);
        bytes[i * 3 + 2] = static_cast<std::uint8_t>(rgb[i]);
    }
    std::string error;  // the caller says what could not be written
    return orvex_image_writers::write_png(path, width, height, bytes, error);
}

void finish() {
    int w = 0, h = 0;
    const std::vector<std::uint32_t> picture = compose(w, h);
    g_ok = w > 0 && h > 0 && write_png(g_path, w, h, picture);
    if (!g_ok) std::fprintf(stderr, "cannot write %s\n", g_path.c_str());
    char text[256] = {};
    SendMessageA(orvex::HSTATUS, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    std::printf("status bar: %s\n", text);
    PostMessageA(orvex::HWINDOW, WM_CLOSE, 0, 0);
}

}  // namespace

void start_headless() { orvex_headless::activate(); }

void script_snapshot(const char* png_path, const HWND* buttons, int count) {
    g_path = png_path;
    g_buttons.assign(buttons, buttons + count);
    // One message is handled per frame: each step leaves the program frames
    // enough to handle what it caused. The picture is of frame 70, the one
    // frame read back.
    constexpr int kPictureFrame = 70;
    orvex_headless::read_back_frames([](int frame) { return frame == kPictureFrame; });
    orvex_headless::on_present([](int frame) {
        using orvex_headless::Button;
        if (g_buttons.size() < 2) return;
        switch (frame) {
            case 20: orvex_headless::pointer_to(g_buttons[0], 32, 32); break;
            case 30: orvex_headless::button_down(Button::left); break;
            case 40: orvex_headless::button_up(Button::left); break;
            case 50: orvex_headless::pointer_to(g_buttons[1], 32, 34); break;
            case kPictureFrame: finish(); break;
            default: break;
        }
    });
}

bool snapshot_ok() { return g_ok; }

}  // namespace example
