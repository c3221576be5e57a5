// Block transfers between device contexts, with the conversion of pixel
// formats that a copy between bitmaps of different depths needs.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/memory_dc.h"
#include "platform/core/regions.h"
#include "platform/core/window.h"
#include "platform/little_endian.h"

namespace orvex_platform {

namespace {

BYTE* row_of(Bitmap& b, LONG y) {
    LONG r = b.top_down ? y : b.height - 1 - y;
    return b.bits.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(b.stride);
}

// Writes pixels, converting them to the bitmap's format; 1-, 4- and 8-bit
// bitmaps take the nearest colour of their colour table.
class PixelWriter {
public:
    explicit PixelWriter(Bitmap& b) : b_(b) {}
    void write(LONG x, LONG y, LONG count, const std::uint32_t* rgb, const std::uint8_t* mask = nullptr);

private:
    std::uint8_t nearest(std::uint32_t rgb);
    Bitmap& b_;
    std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

std::uint8_t PixelWriter::nearest(std::uint32_t rgb) {
    auto it = cache_.find(rgb);
    if (it != cache_.end()) return it->second;
    const int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
              bl = static_cast<int>(rgb & 0xFF);
    std::uint8_t best = 0;
    long best_d = -1;
    const std::size_t limit = std::min<std::size_t>(b_.colors.size(), std::size_t{1} << b_.bits_per_pixel);
    for (std::size_t i = 0; i < limit; ++i) {
        const RGBQUAD& c = b_.colors[i];
        long dr = r - c.rgbRed, dg = g - c.rgbGreen, db = bl - c.rgbBlue;
        long d = dr * dr + dg * dg + db * db;
        if (best_d < 0 || d < best_d) {
            best_d = d;
            best = static_cast<std::uint8_t>(i);
        }
    }
    cache_.emplace(rgb, best);
    return best;
}

void PixelWriter::write(LONG x, LONG y, LONG count, const std::uint32_t* rgb, const std::uint8_t* mask) {
    BYTE* row = row_of(b_, y);
    const std::size_t sx = static_cast<std::size_t>(x);
    const std::size_t n = static_cast<std::size_t>(count);
    switch (b_.bits_per_pixel) {
        case 1:
        case 4:
        case 8: {
            const unsigned bpp = b_.bits_per_pixel;
            const unsigned per_byte = 8 / bpp;
            const unsigned field = (1u << bpp) - 1;
            for (std::size_t i = 0; i < n; ++i) {
                if (mask && !mask[i]) continue;
                std::size_t px = sx + i;
                unsigned shift = (per_byte - 1 - static_cast<unsigned>(px % per_byte)) * bpp;
                BYTE& byte = row[px / per_byte];
                byte = static_cast<BYTE>((byte & ~(field << shift)) | ((nearest(rgb[i]) & field) << shift));
            }
            return;
        }
        case 24:
            for (std::size_t i = 0; i < n; ++i) {
                if (mask && !mask[i]) continue;
                BYTE* p = row + (sx + i) * 3;
                p[0] = static_cast<BYTE>(rgb[i]);
                p[1] = static_cast<BYTE>(rgb[i] >> 8);
                p[2] = static_cast<BYTE>(rgb[i] >> 16);
            }
            return;
        case 16:
        case 32: {
            const std::size_t bytes = b_.bits_per_pixel / 8;
            if (bytes == 4 && b_.compression == BI_RGB) {
                BYTE* out = row + sx * 4;
                if (!mask) {  // the whole run: a loop the compiler can widen
                    for (std::size_t i = 0; i < n; ++i) write_le32(out + i * 4, rgb[i] & 0x00FFFFFFu);
                    return;
                }
                for (std::size_t i = 0; i < n; ++i)
                    if (mask[i]) write_le32(out + i * 4, rgb[i] & 0x00FFFFFFu);
                return;
            }
            const DibChannels m = dib_channels(b_);
            for (std::size_t i = 0; i < n; ++i) {
                if (mask && !mask[i]) continue;
                std::uint32_t c = rgb[i];
                std::uint32_t v = m.r.put((c >> 16) & 0xFF) | m.g.put((c >> 8) & 0xFF) | m.b.put(c & 0xFF);
                BYTE* p = row + (sx + i) * bytes;
                if (bytes == 2)
                    write_le16(p, v);
                else
                    write_le32(p, v);
            }
            return;
        }
        default: return;
    }
}

// Where a transfer reads or writes: a bitmap selected into a memory context,
// or the client area of a window.
struct Surface {
    DeviceContext* dc = nullptr;
    Bitmap* bitmap = nullptr;
    Window* window = nullptr;
    LONG width = 0;
    LONG height = 0;
};

bool surface_of(HDC handle, Surface& s) {
    s.dc = find_dc(handle);
    if (!s.dc) return false;
    if (s.dc->memory) {
        s.bitmap = find_gdi<Bitmap>(s.dc->bitmap ? s.dc->bitmap : stock_bitmap(), GdiKind::bitmap);
        if (!s.bitmap) return false;
        s.width = s.bitmap->width;
        s.height = s.bitmap->height;
        return true;
    }
    if (s.dc->window) {
        s.window = find_window(s.dc->window);
        if (!s.window) return false;
        SIZE c = client_size(*s.window);
        s.width = c.cx;
        s.height = c.cy;
        return true;
    }
    return false;  // the screen's context
}

// Whether the destination pixel (x, y) lies inside the context's clipping
// region and, for a window, inside the window's region.
bool clipped_in(const Surface& d, LONG x, LONG y) {
    if (d.dc->clip) {
        auto* clip = static_cast<Region*>(d.dc->clip.get());
        if (!clip->area.contains(x, y)) return false;
    }
    if (d.window && d.window->region) {
        if (Region* r = find_region(d.window->region)) {
            RECT in = frame_insets(d.window->style, is_child(*d.window));
            if (!r->area.contains(x + in.left, y + in.top)) return false;
        }
    }
    return true;
}

}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

BOOL WINAPI BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
    ORVEX_API(dest, x, y, cx, cy, src, x1, y1, rop);
    if (rop != SRCCOPY) return FALSE;
    DeviceContext* dd = find_dc(dest);
    if (!dd) return FALSE;
    if (!dd->memory && !dd->window) return find_dc(src) != nullptr;  // the screen shows nothing here
    Surface d, s;
    if (!surface_of(dest, d) || !surface_of(src, s)) return FALSE;
    if (cx <= 0 || cy <= 0) return TRUE;
    // The default 1 by 1 bitmap of memory contexts is shared: nothing is drawn into it.
    if (d.bitmap && d.bitmap->stock) return TRUE;

    // Clip the destination to both surfaces, in 64 bits so that no sum overflows.
    const long long dx0 = std::max<long long>({x, 0, static_cast<long long>(x) - x1});
    const long long dy0 = std::max<long long>({y, 0, static_cast<long long>(y) - y1});
    const long long dx1 = std::min<long long>({static_cast<long long>(x) + cx, d.width,
                                                static_cast<long long>(x) - x1 + s.width});
    const long long dy1 = std::min<long long>({static_cast<long long>(y) + cy, d.height,
                                                static_cast<long long>(y) - y1 + s.height});
    if (dx0 >= dx1 || dy0 >= dy1) return TRUE;
    const LONG n = static_cast<LONG>(dx1 - dx0);
    const LONG sx0 = static_cast<LONG>(dx0 - x + x1);

    if (d.window) ensure_pixels(*d.window);
    const Palette* src_palette = selected_palette(*s.dc);
    const bool masked = d.dc->clip || (d.window && d.window->region);
    std::vector<std::uint32_t> line(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> mask(masked ? static_cast<std::size_t>(n) : 0);
    PixelWriter writer(d.bitmap ? *d.bitmap : *find_gdi<Bitmap>(stock_bitmap(), GdiKind::bitmap));

    // A copy within one bitmap runs against the direction of the shift.
    const bool same = (s.bitmap && s.bitmap == d.bitmap) || (s.window && s.window == d.window);
    const bool upward = same && y > y1;
    for (long long i = 0; i < dy1 - dy0; ++i) {
        const LONG dy = static_cast<LONG>(upward ? dy1 - 1 - i : dy0 + i);
        const LONG sy = static_cast<LONG>(dy - y + y1);
        if (s.bitmap) {
            read_dib_row(*s.bitmap, sx0, sy, n, line.data(),
                         src_palette ? std::span<const PALETTEENTRY>(src_palette->entries) : std::span<const PALETTEENTRY>());
        } else {
            const SIZE c{s.width, s.height};
            const bool have = s.window->pixels.size() == static_cast<std::size_t>(c.cx) * static_cast<std::size_t>(c.cy);
            for (LONG k = 0; k < n; ++k)
                line[static_cast<std::size_t>(k)] =
                    have ? s.window->pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(c.cx) +
                                            static_cast<std::size_t>(sx0 + k)]
                         : 0;
        }
        if (masked)
            for (LONG k = 0; k < n; ++k)
                mask[static_cast<std::size_t>(k)] = clipped_in(d, static_cast<LONG>(dx0) + k, dy) ? 1 : 0;
        if (d.bitmap) {
            writer.write(static_cast<LONG>(dx0), dy, n, line.data(), masked ? mask.data() : nullptr);
        } else {
            std::uint32_t* out = d.window->pixels.data() + static_cast<std::size_t>(dy) * static_cast<std::size_t>(d.width) +
                                 static_cast<std::size_t>(dx0);
            for (LONG k = 0; k < n; ++k)
                if (!masked || mask[static_cast<std::size_t>(k)]) out[k] = line[static_cast<std::size_t>(k)];
        }
    }
    if (d.window) driver().window_painted(*d.window);
    return TRUE;
}
