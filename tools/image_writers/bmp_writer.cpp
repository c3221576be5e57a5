#include "tools/image_writers/bmp_writer.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "platform/little_endian.h"

namespace orvex_image_writers {

namespace {
using orvex_platform::append_le16;
using orvex_platform::append_le32;

constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// A colour channel of 8 bits placed under a mask: its top bits, as many as
// the mask has.
std::uint32_t under_mask(std::uint32_t c8, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0, width = 0;
    while (!((mask >> shift) & 1u)) ++shift;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1u)) ++width;
    const std::uint32_t c = width <= 8 ? c8 >> (8 - width) : c8 << (width - 8);
    return (c << shift) & mask;
}
}  // namespace

std::vector<std::uint8_t> bmp_bytes(const BmpPicture& s) {
    if (s.bits != 1 && s.bits != 4 && s.bits != 8 && s.bits != 16 && s.bits != 24 && s.bits != 32)
        throw std::invalid_argument("BMP depth");
    const std::size_t stride = (static_cast<std::size_t>(s.width) * s.bits + 31) / 32 * 4;
    const bool masked = (s.bits == 16 || s.bits == 32) && (s.masks[0] | s.masks[1] | s.masks[2]) != 0;
    const std::size_t table = s.bits <= 8 ? s.colors.size() : 0;
    const std::size_t offset = 14 + 40 + (masked ? 12 : 0) + table * 4;
    const std::size_t size = offset + stride * static_cast<std::size_t>(s.height);

    std::vector<std::uint8_t> out;
    out.reserve(size);
    out.push_back('B');
    out.push_back('M');
    append_le32(out, static_cast<std::uint32_t>(size));
    append_le32(out, 0);
    append_le32(out, static_cast<std::uint32_t>(offset));
    append_le32(out, 40);
    append_le32(out, static_cast<std::uint32_t>(s.width));
    append_le32(out, static_cast<std::uint32_t>(s.top_down ? -s.height : s.height));
    append_le16(out, 1);
    append_le16(out, static_cast<std::uint32_t>(s.bits));
    append_le32(out, masked ? kBiBitfields : kBiRgb);
    append_le32(out, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(s.height)));
    append_le32(out, kPixelsPerMetre);
    append_le32(out, kPixelsPerMetre);
    append_le32(out, static_cast<std::uint32_t>(table));
    append_le32(out, 0);
    if (masked)
        for (std::uint32_t m : s.masks) append_le32(out, m);
    for (std::size_t k = 0; k < table; ++k) append_le32(out, s.colors[k] & 0xFFFFFF);

    const std::array<std::uint32_t, 3> masks =
        masked ? s.masks : (s.bits == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F} : s.masks);
    std::vector<std::uint8_t> row(stride);
    for (int r = 0; r < s.height; ++r) {
        const int y = s.top_down ? r : s.height - 1 - r;
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.pixel(x, y);
            const std::uint32_t red = (v >> 16) & 0xFF, green = (v >> 8) & 0xFF, blue = v & 0xFF;
            std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * s.bits / 8;
            switch (s.bits) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: *p = static_cast<std::uint8_t>(v); break;
                case 16:
                    orvex_platform::write_le16(
                        p, under_mask(red, masks[0]) | under_mask(green, masks[1]) | under_mask(blue, masks[2]));
                    break;
                case 24:
                    p[0] = static_cast<std::uint8_t>(blue);
                    p[1] = static_cast<std::uint8_t>(green);
                    p[2] = static_cast<std::uint8_t>(red);
                    break;
                default:  // 32
                    orvex_platform::write_le32(p, masked ? under_mask(red, masks[0]) | under_mask(green, masks[1]) |
                                                               under_mask(blue, masks[2])
                                                         : v);
                    break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace orvex_image_writers
