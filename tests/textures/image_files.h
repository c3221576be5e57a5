// Small hand-made image files for the texture tests: BMP and TGA files built
// byte by byte, and a scratch directory to write them to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/little_endian.h"

namespace orvex_test {

using Bytes = std::vector<std::uint8_t>;
using orvex_platform::append_le16;
using orvex_platform::append_le32;

// A BMP file: file header, info header of `header_size` bytes (12, 40, 52,
// 56, 108 or 124), masks, colour table and the pixel bytes exactly as given
// (rows as stored, padding included).
struct BmpLayout {
    std::uint32_t header_size = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t colors_used = 0;
    std::uint32_t size_image = 0;
    std::vector<std::uint32_t> masks;         // with BI_BITFIELDS: red, green, blue
    std::vector<std::uint32_t> palette;       // 0x00RRGGBB entries
    Bytes pixels;
    std::int64_t off_bits = -1;               // -1: right after the colour table
};
Bytes make_bmp(const BmpLayout& layout);

// A 24- or 32-bit bottom-up BI_RGB BMP from pixels given top row first as
// 0xAARRGGBB (alpha is the fourth byte at 32 bits), rows padded to 4 bytes.
Bytes make_truecolor_bmp(int width, int height, int bpp, const std::vector<std::uint32_t>& argb_top_down);

// A TGA file: the 12-byte header (image type `type`), width, height, depth,
// descriptor and the body bytes as given.
Bytes make_tga(std::uint8_t type, unsigned width, unsigned height, std::uint8_t bpp, const Bytes& body,
               std::uint8_t descriptor = 0);

// A scratch directory, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // Writes `bytes` to `name` inside the directory and answers the full path.
    std::string write(const std::string& name, const Bytes& bytes) const;
    std::string path(const std::string& name) const;
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

Bytes read_file(const std::string& path);

}  // namespace orvex_test
