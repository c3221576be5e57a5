#include "platform/core/dib_image.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace orvex_platform {

DibChannel::DibChannel(DWORD mask) {
    if (mask == 0) return;
    while (!((mask >> shift) & 1u)) ++shift;
    const DWORD m = mask >> shift;
    while (width < 32 && ((m >> width) & 1u)) ++width;
}

std::uint32_t DibChannel::get(std::uint32_t pixel) const {
    if (width == 0) return 0;
    const std::uint64_t c = (pixel >> shift) & ((std::uint64_t{1} << width) - 1);
    if (width >= 8) return static_cast<std::uint32_t>(c >> (width - 8));
    std::uint64_t repeated = 0;
    int filled = 0;
    while (filled < 8) {
        repeated = (repeated << width) | c;
        filled += width;
    }
    return static_cast<std::uint32_t>(repeated >> (filled - 8));
}

std::uint32_t DibChannel::put(std::uint32_t c8) const {
    if (width == 0) return 0;
    std::uint64_t c;
    if (width <= 8)
        c = c8 >> (8 - width);
    else
        c = (std::uint64_t{c8} * ((std::uint64_t{1} << width) - 1) + 127) / 255;
    return static_cast<std::uint32_t>(c << shift);
}

DibChannels dib_channels(const DibImage& image) {
    if (image.compression == BI_BITFIELDS)
        return DibChannels{DibChannel(image.masks[0]), DibChannel(image.masks[1]), DibChannel(image.masks[2])};
    if (image.bits_per_pixel == 16) return DibChannels{DibChannel(0x7C00), DibChannel(0x03E0), DibChannel(0x001F)};
    return DibChannels{DibChannel(0xFF0000), DibChannel(0x00FF00), DibChannel(0x0000FF)};
}

namespace {
const BYTE* row_bytes(const DibImage& image, LONG y) {
    const LONG r = image.top_down ? y : image.height - 1 - y;
    return image.bits.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(image.stride);
}

std::uint32_t rgb_of(const RGBQUAD& q) {
    return (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}
}  // namespace

void read_dib_row(const DibImage& image, LONG x, LONG y, LONG count, std::uint32_t* out,
                  std::span<const PALETTEENTRY> palette, bool* unknown_index) {
    const BYTE* row = row_bytes(image, y);
    const std::size_t sx = static_cast<std::size_t>(x);
    const std::size_t n = static_cast<std::size_t>(count);
    auto indexed = [&](unsigned index) -> std::uint32_t {
        if (index < image.colors.size()) return rgb_of(image.colors[index]);
        if (unknown_index) *unknown_index = true;
        if (index < palette.size()) {
            const PALETTEENTRY& e = palette[index];
            return (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
        }
        return 0;
    };
    switch (image.bits_per_pixel) {
        case 1:
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t px = sx + i;
                out[i] = indexed((row[px / 8] >> (7 - px % 8)) & 1u);
            }
            return;
        case 4:
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t px = sx + i;
                out[i] = indexed((px % 2 == 0) ? (row[px / 2] >> 4) : (row[px / 2] & 0x0F));
            }
            return;
        case 8:
            for (std::size_t i = 0; i < n; ++i) out[i] = indexed(row[sx + i]);
            return;
        case 24:
            for (std::size_t i = 0; i < n; ++i) {
                const BYTE* p = row + (sx + i) * 3;
                out[i] = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
            }
            return;
        case 16:
        case 32: {
            if (image.bits_per_pixel == 32 && image.compression == BI_RGB) {
                for (std::size_t i = 0; i < n; ++i) out[i] = read_le32(row + (sx + i) * 4) & 0x00FFFFFFu;
                return;
            }
            const DibChannels c = dib_channels(image);
            const std::size_t bytes = image.bits_per_pixel / 8;
            for (std::size_t i = 0; i < n; ++i) {
                const BYTE* p = row + (sx + i) * bytes;
                const std::uint32_t v = bytes == 2 ? read_le16(p) : read_le32(p);
                out[i] = (c.r.get(v) << 16) | (c.g.get(v) << 8) | c.b.get(v);
            }
            return;
        }
        default: std::fill_n(out, n, 0u); return;
    }
}

namespace {
// Whether the image's bytes hold every pixel its size and depth promise.
bool holds_its_pixels(const DibImage& image) {
    return image.width > 0 && image.height > 0 && image.stride > 0 &&
           dib_stride(static_cast<std::uint64_t>(image.width), image.bits_per_pixel) <=
               static_cast<std::uint64_t>(image.stride) &&
           image.bits.size() / static_cast<std::size_t>(image.stride) >= static_cast<std::size_t>(image.height);
}
}  // namespace

std::uint32_t dib_pixel_rgb(const DibImage& image, LONG x, LONG y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height || !holds_its_pixels(image)) return 0;
    std::uint32_t c = 0;
    read_dib_row(image, x, y, 1, &c);
    return c;
}

bool dib_to_32bit(const DibImage& image, DibImage& out, std::size_t max_bytes) {
    out = DibImage{};
    const std::uint64_t stride = static_cast<std::uint64_t>(image.width) * 4;
    if (image.width <= 0 || image.height <= 0 || stride > max_bytes ||
        static_cast<std::uint64_t>(image.height) > max_bytes / stride) {
        return false;
    }
    out.width = image.width;
    out.height = image.height;
    out.bits_per_pixel = 32;
    out.stride = static_cast<LONG>(stride);
    out.bits.assign(static_cast<std::size_t>(out.stride) * static_cast<std::size_t>(out.height), 0);
    if (!holds_its_pixels(image)) return true;  // no pixel to read: black
    std::vector<std::uint32_t> line(static_cast<std::size_t>(image.width));
    for (LONG y = 0; y < image.height; ++y) {
        read_dib_row(image, 0, y, image.width, line.data());
        BYTE* row = out.bits.data() + static_cast<std::size_t>(image.height - 1 - y) * static_cast<std::size_t>(out.stride);
        for (std::size_t x = 0; x < line.size(); ++x) write_le32(row + 4 * x, line[x]);  // blue, green, red, 0
    }
    return true;
}

}  // namespace orvex_platform
