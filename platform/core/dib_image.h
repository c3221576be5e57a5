// Device-independent bitmaps: the one record of an image's pixels, whoever
// made it (the BMP decoder, CreateDIBSection, the icon loader), and the one
// reader of its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/win32.h"

namespace orvex_platform {

// The largest pixel memory of one image: 256 MiB. Larger images are refused
// before anything is allocated, as on a machine without the memory.
inline constexpr std::size_t max_dib_bytes = std::size_t{1} << 28;

// The depths a device-independent bitmap has.
constexpr bool is_dib_depth(unsigned bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The bytes of a row of `width` pixels of `bits` each, padded to 4 bytes.
constexpr std::uint64_t dib_stride(std::uint64_t width, unsigned bits) { return (width * bits + 31) / 32 * 4; }

// Rows stored bottom row first (top row first when `top_down`), each padded
// to a multiple of 4 bytes, in the image's own pixel format.
struct DibImage {
    LONG width = 0;
    LONG height = 0;             // always positive
    WORD bits_per_pixel = 0;     // 1, 4, 8, 16, 24 or 32
    LONG stride = 0;             // bytes per row, a multiple of 4
    DWORD compression = BI_RGB;  // BI_RGB or BI_BITFIELDS
    DWORD masks[3]{};            // red, green, blue masks with BI_BITFIELDS
    std::vector<RGBQUAD> colors; // colour table of 1-, 4- and 8-bit images
    std::vector<BYTE> bits;      // stride * height bytes
    bool top_down = false;
};

// One colour channel of a 16- or 32-bit pixel: the lowest run of set bits of
// its mask.
//
// A channel narrower than 8 bits is widened by repeating its bits (5 bits
// abcde become abcdeabc, 6 bits abcdef become abcdefab). That is what GDI
// does when it copies a 16-bit DIB into a 32-bit one (the Windows build gives
// the same, tests/portable/dib_channels_test.cpp), it needs no division, 0
// stays 0 and the largest value becomes 255, and narrowing again (keeping
// the top bits, as `put` does) gives back the value exactly, so a 16-bit
// picture survives a trip through 8 bits a channel unchanged. A wider
// channel gives its top 8 bits.
struct DibChannel {
    int shift = 0;
    int width = 0;
    explicit DibChannel(DWORD mask);
    std::uint32_t get(std::uint32_t pixel) const;  // 0..255
    std::uint32_t put(std::uint32_t c8) const;     // the channel's bits, in place
};
struct DibChannels {
    DibChannel r, g, b;
};
// The masks of a 16- or 32-bit image: its own with BI_BITFIELDS, else 5-5-5
// at 16 bits and 8-8-8 at 32.
DibChannels dib_channels(const DibImage& image);

// Reads `count` pixels of row `y` from column `x` on, (0, 0) being the
// top-left pixel whatever the order of the rows, as 0x00RRGGBB; the caller
// keeps them inside the image. Colour indices of 1-, 4- and 8-bit images go
// through the colour table; an index beyond it takes the entry of `palette`
// (the palette of the context the image is read from) if that has one, and
// black otherwise, and sets `*unknown_index` when given.
void read_dib_row(const DibImage& image, LONG x, LONG y, LONG count, std::uint32_t* out,
                  std::span<const PALETTEENTRY> palette = {}, bool* unknown_index = nullptr);

// The colour of one pixel, 0 outside the image or its bytes.
std::uint32_t dib_pixel_rgb(const DibImage& image, LONG x, LONG y);

// The same image as 32 bits per pixel, blue, green, red, 0 (the screen's own
// format), rows bottom-up; false when that would exceed the cap.
bool dib_to_32bit(const DibImage& image, DibImage& out, std::size_t max_bytes = max_dib_bytes);

}  // namespace orvex_platform
