// Cursor and icon files (.cur, .ico) read into the image a display shows:
// each depth's colours, the AND mask's transparency, a 32-bit image's own
// alpha, the hot spot, and files that are refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/cursors_icons.h"
#include "platform/little_endian.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

using orvex_platform::append_le16;
using orvex_platform::append_le32;

// A file of one 2 by 2 image: `xor_rows` and `and_rows` bottom row first,
// each padded to 4 bytes; `colors` as 0x00RRGGBB.
Bytes cursor_file(unsigned type, unsigned bpp, const std::vector<std::uint32_t>& colors, const Bytes& xor_rows,
                  const Bytes& and_rows) {
    Bytes image;
    append_le32(image, 40);
    append_le32(image, 2);
    append_le32(image, 4);  // both halves: XOR image and AND mask
    append_le16(image, 1);
    append_le16(image, bpp);
    append_le32(image, 0);
    for (int k = 0; k < 3; ++k) append_le32(image, 0);
    append_le32(image, static_cast<std::uint32_t>(colors.size()));
    append_le32(image, 0);
    for (std::uint32_t c : colors) append_le32(image, c);
    image.insert(image.end(), xor_rows.begin(), xor_rows.end());
    image.insert(image.end(), and_rows.begin(), and_rows.end());
    Bytes file;
    append_le16(file, 0);
    append_le16(file, type);
    append_le16(file, 1);
    file.push_back(2);
    file.push_back(2);
    file.push_back(0);
    file.push_back(0);
    append_le16(file, 1);  // hot spot x (cursors) or planes (icons)
    append_le16(file, type == 2 ? 0 : bpp);
    append_le32(file, static_cast<std::uint32_t>(image.size()));
    append_le32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

const Bytes kMaskTopRightClear = {0, 0, 0, 0, 0x40, 0, 0, 0};  // bottom row opaque; top row: right pixel transparent
const Bytes kMaskNone = Bytes(8, 0);

struct Case {
    std::string name;
    Bytes file;
    bool ok;
    std::vector<std::uint32_t> argb;  // top row first
};

TEST(CursorFiles, ReadEachDepthWithItsMaskAndAlpha) {
    const std::vector<Case> cases = {
        {"1-bit icon with a transparent pixel",
         cursor_file(1, 1, {0x000000, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0}, kMaskTopRightClear), true,
         {0xFF000000, 0, 0xFFFFFFFF, 0xFF000000}},
        {"4-bit icon", cursor_file(1, 4, {0x102030, 0x405060, 0x708090}, {0x12, 0, 0, 0, 0x20, 0, 0, 0}, kMaskNone),
         true, {0xFF708090, 0xFF102030, 0xFF405060, 0xFF708090}},
        {"8-bit icon whose pixel has no colour in the table",
         cursor_file(1, 8, {0x102030, 0x405060}, {0, 1, 0, 0, 5, 0, 0, 0}, kMaskNone), false, {}},
        {"24-bit cursor",
         cursor_file(2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}, kMaskTopRightClear), true,
         {0xFF090807, 0, 0xFF030201, 0xFF060504}},
        {"32-bit icon: its own alpha, no mask",
         cursor_file(1, 32, {}, {1, 2, 3, 0x80, 4, 5, 6, 0xFF, 7, 8, 9, 0, 10, 11, 12, 0x10}, kMaskTopRightClear), true,
         {0x00090807, 0x100C0B0A, 0x80030201, 0xFF060504}},
    };
    for (const Case& c : cases) {
        orvex_platform::CursorImage image;
        ASSERT_EQ(orvex_platform::decode_cursor_file(c.file, image), c.ok) << c.name;
        if (!c.ok) continue;
        EXPECT_EQ(image.width, 2) << c.name;
        EXPECT_EQ(image.height, 2) << c.name;
        EXPECT_EQ(image.argb, c.argb) << c.name;
    }
}

TEST(CursorFiles, CursorsKeepTheirHotSpotAndCutFilesAreRefused) {
    const Bytes file = cursor_file(2, 24, {}, Bytes(16, 0), kMaskNone);
    orvex_platform::CursorImage image;
    ASSERT_TRUE(orvex_platform::decode_cursor_file(file, image));
    EXPECT_FALSE(image.icon);
    EXPECT_EQ(image.hotspot_x, 1);
    EXPECT_EQ(image.hotspot_y, 0);
    for (std::size_t n : {std::size_t{0}, std::size_t{21}, std::size_t{40}, file.size() - 1}) {
        const Bytes cut(file.begin(), file.begin() + static_cast<long>(n));
        EXPECT_FALSE(orvex_platform::decode_cursor_file(cut, image)) << n << " bytes";
    }
}

}  // namespace
