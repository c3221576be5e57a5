// BMP files of every depth a DIB has, for the tools that generate pictures,
// the tests, the benchmarks and the examples.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvex_image_writers {

struct BmpPicture {
    int width = 1;
    int height = 1;
    int bits = 24;          // 1, 4, 8, 16, 24 or 32
    bool top_down = false;  // rows stored top row first (a negative height)
    // The colour table of 1-, 4- and 8-bit pictures, 0x00RRGGBB.
    std::vector<std::uint32_t> colors;
    // Colour masks (BI_BITFIELDS) of a 16- or 32-bit picture: red, green,
    // blue; all zero for none (16 bits are then 5-5-5).
    std::array<std::uint32_t, 3> masks{};
    // (x, y) from the top-left: a colour index at 1 to 8 bits, else
    // 0xAARRGGBB (alpha is kept at 32 bits without masks).
    std::function<std::uint32_t(int x, int y)> pixel;
};

// The whole file: file header, 40-byte info header, masks, colour table and
// rows padded to 4 bytes. An unknown depth throws std::invalid_argument.
std::vector<std::uint8_t> bmp_bytes(const BmpPicture& picture);

// Writes bytes to a file; false when it cannot be written whole.
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace orvex_image_writers
