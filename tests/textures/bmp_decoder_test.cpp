// The platform's BMP decoder: every supported format decoded from small
// hand-made files, and malformed files each refused for their own reason.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/bmp_decoder.h"
#include "tests/textures/image_files.h"

using namespace orvex_platform;
using namespace orvex_test;

namespace {

struct FormatCase {
    std::string name;
    BmpLayout layout;
    int width, height, bpp;
    DWORD compression;
    std::size_t colors;
    std::vector<std::uint32_t> expected;  // 0xRRGGBB, top row first
};

Bytes le16s(std::initializer_list<unsigned> values) {
    Bytes b;
    for (unsigned v : values) append_le16(b, v);
    return b;
}

std::vector<std::uint32_t> gray_ramp_palette() {
    std::vector<std::uint32_t> p;
    for (std::uint32_t k = 0; k < 256; ++k) p.push_back((k << 16) | ((255 - k) << 8) | (k / 2));
    return p;
}
std::uint32_t ramp(std::uint32_t k) { return (k << 16) | ((255 - k) << 8) | (k / 2); }

std::vector<FormatCase> format_cases() {
    std::vector<FormatCase> cases;
    const std::uint32_t c0 = 0x102030, c1 = 0xA0B0C0;
    {
        BmpLayout s;
        s.width = 3, s.height = 2, s.bpp = 1, s.palette = {c0, c1};
        s.pixels = {0x60, 0, 0, 0, 0xA0, 0, 0, 0};  // bottom 0 1 1, top 1 0 1
        cases.push_back({"bpp1", s, 3, 2, 1, BI_RGB, 2, {c1, c0, c1, c0, c1, c1}});
    }
    {
        BmpLayout s;  // top-down, three colours used
        s.width = 3, s.height = -2, s.bpp = 4, s.colors_used = 3, s.palette = {0x000000, 0x112233, 0x445566};
        s.pixels = {0x21, 0x00, 0, 0, 0x02, 0x20, 0, 0};
        cases.push_back({"bpp4_top_down_short_table", s, 3, 2, 4, BI_RGB, 3,
                         {0x445566, 0x112233, 0x000000, 0x000000, 0x445566, 0x445566}});
    }
    {
        BmpLayout s;  // old core header: three-byte colour entries, always 2^bpp of them
        s.header_size = 12, s.width = 2, s.height = 2, s.bpp = 8, s.palette = gray_ramp_palette();
        s.pixels = {255, 0, 0, 0, 5, 200, 0, 0};
        cases.push_back({"bpp8_core_header", s, 2, 2, 8, BI_RGB, 256, {ramp(5), ramp(200), ramp(255), ramp(0)}});
    }
    {
        BmpLayout s;  // 5-5-5
        s.width = 3, s.height = 2, s.bpp = 16;
        s.pixels = le16s({0x7C00, 0x03E0, 0x001F, 0, 0x4210, 0x0000, 0x7FFF, 0});
        cases.push_back({"bpp16_555", s, 3, 2, 16, BI_RGB, 0,
                         {0x848484, 0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF}});
    }
    {
        BmpLayout s;  // 5-6-5 with the masks after a 40-byte header
        s.width = 2, s.height = 1, s.bpp = 16, s.compression = BI_BITFIELDS, s.masks = {0xF800, 0x07E0, 0x001F};
        s.pixels = le16s({0xF800, 0x0400});
        cases.push_back({"bpp16_565_bitfields", s, 2, 1, 16, BI_BITFIELDS, 0, {0xFF0000, 0x008200}});
    }
    {
        BmpLayout s;  // 5-6-5 with the masks inside a 56-byte header
        s.header_size = 56, s.width = 1, s.height = 1, s.bpp = 16, s.compression = BI_BITFIELDS;
        s.masks = {0xF800, 0x07E0, 0x001F};
        s.pixels = le16s({0x001F, 0});
        cases.push_back({"bpp16_565_header56", s, 1, 1, 16, BI_BITFIELDS, 0, {0x0000FF}});
    }
    {
        BmpLayout s;  // bottom-up, rows of 9 bytes padded to 12
        s.width = 3, s.height = 2, s.bpp = 24;
        s.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
        cases.push_back({"bpp24", s, 3, 2, 24, BI_RGB, 0,
                         {0x0C0B0A, 0x0F0E0D, 0x121110, 0x030201, 0x060504, 0x090807}});
    }
    {
        BmpLayout s;
        s.width = 3, s.height = -2, s.bpp = 24;
        s.pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
        cases.push_back({"bpp24_top_down", s, 3, 2, 24, BI_RGB, 0,
                         {0x030201, 0x060504, 0x090807, 0x0C0B0A, 0x0F0E0D, 0x121110}});
    }
    {
        BmpLayout s;
        s.header_size = 124, s.width = 1, s.height = 2, s.bpp = 24;
        s.pixels = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0};
        cases.push_back({"bpp24_header124", s, 1, 2, 24, BI_RGB, 0, {0x605040, 0x302010}});
    }
    {
        BmpLayout s;
        s.width = 2, s.height = 1, s.bpp = 32;
        s.pixels = {1, 2, 3, 0xFF, 4, 5, 6, 0};
        cases.push_back({"bpp32", s, 2, 1, 32, BI_RGB, 0, {0x030201, 0x060504}});
    }
    {
        BmpLayout s;  // red in the low byte: masks inside a 108-byte header
        s.header_size = 108, s.width = 1, s.height = 1, s.bpp = 32, s.compression = BI_BITFIELDS;
        s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        s.pixels = {0x11, 0x22, 0x33, 0x44};
        cases.push_back({"bpp32_bitfields_header108", s, 1, 1, 32, BI_BITFIELDS, 0, {0x112233}});
    }
    {
        BmpLayout s;  // runs, end of line, a literal group with its pad byte, a delta, end of bitmap
        s.width = 4, s.height = 3, s.bpp = 8, s.compression = BI_RLE8, s.colors_used = 4;
        s.palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
        s.pixels = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1};
        cases.push_back({"rle8", s, 4, 3, 8, BI_RGB, 4,
                         {0x000000, 0x000000, 0xFF0000, 0xFF0000,  // delta to x 2, run of 2
                          0x00FF00, 0xFF0000, 0x0000FF, 0x000000,  // literal 2 3 1
                          0x0000FF, 0x0000FF, 0x0000FF, 0x000000}});
    }
    {
        BmpLayout s;  // a run longer than the row is clipped; the stream ends without an end mark
        s.width = 2, s.height = 2, s.bpp = 8, s.compression = BI_RLE8, s.colors_used = 2;
        s.palette = {0x000000, 0xFFFFFF};
        s.pixels = {6, 1, 0, 0};
        cases.push_back({"rle8_clipped_run", s, 2, 2, 8, BI_RGB, 2, {0, 0, 0xFFFFFF, 0xFFFFFF}});
    }
    {
        BmpLayout s;  // nibble runs and a nibble literal group
        s.width = 5, s.height = 2, s.bpp = 4, s.compression = BI_RLE4, s.colors_used = 4;
        s.palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
        s.pixels = {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1};
        cases.push_back({"rle4", s, 5, 2, 4, BI_RGB, 4,
                         {0xFF0000, 0x0000FF, 0x00FF00, 0x000000, 0x000000,
                          0x0000FF, 0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF}});
    }
    return cases;
}

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class BmpFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(BmpFormats, DecodesToBottomUpDibKeepingFormatAndTable) {
    const FormatCase& c = GetParam();
    Bytes file = make_bmp(c.layout);
    DibImage img;
    ASSERT_EQ(decode_bmp(file.data(), file.size(), img), BmpResult::ok);
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_EQ(img.bits_per_pixel, c.bpp);
    EXPECT_EQ(img.compression, c.compression);
    EXPECT_EQ(img.colors.size(), c.colors);
    EXPECT_EQ(img.stride % 4, 0);
    EXPECT_EQ(img.stride, (c.width * c.bpp + 31) / 32 * 4);
    EXPECT_EQ(img.bits.size(), static_cast<std::size_t>(img.stride) * c.height);
    std::vector<std::uint32_t> got;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) got.push_back(dib_pixel_rgb(img, x, y));
    }
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, BmpFormats, testing::ValuesIn(format_cases()),
                         [](const auto& param_info) { return param_info.param.name; });

TEST(BmpDecoder, KeepsRowBytesOfPalettedImagesAsStored) {
    // A top-down 8-bit image comes out bottom-up, with the file's indices and table.
    BmpLayout s;
    s.width = 2, s.height = -2, s.bpp = 8, s.colors_used = 2, s.palette = {0x010203, 0x040506};
    s.pixels = {1, 0, 0, 0, 0, 1, 0, 0};
    Bytes file = make_bmp(s);
    DibImage img;
    ASSERT_EQ(decode_bmp(file.data(), file.size(), img), BmpResult::ok);
    EXPECT_EQ(img.bits, (Bytes{0, 1, 0, 0, 1, 0, 0, 0}));
    ASSERT_EQ(img.colors.size(), 2u);
    EXPECT_EQ(img.colors[1].rgbRed, 4);
    EXPECT_EQ(img.colors[1].rgbGreen, 5);
    EXPECT_EQ(img.colors[1].rgbBlue, 6);
}

TEST(BmpDecoder, ReadsPixelsAtTheFilesPixelOffset) {
    BmpLayout s;
    s.width = 1, s.height = 1, s.bpp = 24;
    s.pixels = {0xEE, 0xEE, 0xEE, 0xEE, 1, 2, 3, 0};  // four bytes of gap, then the pixel row
    s.off_bits = 14 + 40 + 4;
    Bytes file = make_bmp(s);
    DibImage img;
    ASSERT_EQ(decode_bmp(file.data(), file.size(), img), BmpResult::ok);
    EXPECT_EQ(dib_pixel_rgb(img, 0, 0), 0x030201u);
}

TEST(BmpDecoder, ConvertsAnyFormatTo32Bits) {
    for (const FormatCase& c : format_cases()) {
        Bytes file = make_bmp(c.layout);
        DibImage img, wide;
        ASSERT_EQ(decode_bmp(file.data(), file.size(), img), BmpResult::ok) << c.name;
        ASSERT_TRUE(dib_to_32bit(img, wide)) << c.name;
        EXPECT_EQ(wide.bits_per_pixel, 32);
        EXPECT_EQ(wide.stride, c.width * 4);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                EXPECT_EQ(dib_pixel_rgb(wide, x, y), c.expected[static_cast<std::size_t>(y) * c.width + x]) << c.name;
            }
        }
    }
}

// ---- malformed files ---------------------------------------------------------

struct BadCase {
    std::string name;
    Bytes file;
    BmpResult expected;
};

Bytes cut(Bytes b, std::size_t n) {
    b.resize(n);
    return b;
}

Bytes with32(Bytes b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
    return b;
}
Bytes with16(Bytes b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    return b;
}

std::vector<BadCase> bad_cases() {
    std::vector<BadCase> v;
    // A 2 x 2 8-bit file with a 4-entry table: header 14 + 40, table 16, pixels 8.
    BmpLayout s8;
    s8.width = 2, s8.height = 2, s8.bpp = 8, s8.colors_used = 4, s8.palette = {1, 2, 3, 4};
    s8.pixels = {0, 1, 0, 0, 2, 3, 0, 0};
    const Bytes p8 = make_bmp(s8);
    v.push_back({"empty", {}, BmpResult::truncated});
    v.push_back({"one_byte", cut(p8, 1), BmpResult::truncated});
    v.push_back({"signature_only", cut(p8, 2), BmpResult::truncated});
    v.push_back({"file_header_only", cut(p8, 14), BmpResult::truncated});
    v.push_back({"header_size_only", cut(p8, 18), BmpResult::truncated});
    v.push_back({"info_header_cut", cut(p8, 14 + 39), BmpResult::truncated});
    v.push_back({"table_cut", cut(p8, 14 + 40 + 15), BmpResult::truncated});
    v.push_back({"pixels_cut", cut(p8, p8.size() - 1), BmpResult::truncated});
    v.push_back({"not_bm", with16(p8, 0, 0x4142), BmpResult::not_a_bitmap});
    v.push_back({"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!'},
                 BmpResult::not_a_bitmap});
    v.push_back({"header_size_64", with32(p8, 14, 64), BmpResult::bad_header});
    v.push_back({"header_size_0", with32(p8, 14, 0), BmpResult::bad_header});
    v.push_back({"header_size_huge", with32(p8, 14, 0xFFFFFFF0u), BmpResult::bad_header});
    v.push_back({"planes_0", with16(p8, 26, 0), BmpResult::bad_header});
    v.push_back({"width_0", with32(p8, 18, 0), BmpResult::bad_header});
    v.push_back({"width_negative", with32(p8, 18, 0xFFFFFFFEu), BmpResult::bad_header});
    v.push_back({"height_0", with32(p8, 22, 0), BmpResult::bad_header});
    v.push_back({"depth_7", with16(p8, 28, 7), BmpResult::unsupported});
    v.push_back({"depth_0", with16(p8, 28, 0), BmpResult::unsupported});
    v.push_back({"jpeg", with32(p8, 30, 4), BmpResult::unsupported});
    v.push_back({"png", with32(p8, 30, 5), BmpResult::unsupported});
    v.push_back({"rle4_at_8_bits", with32(p8, 30, BI_RLE4), BmpResult::unsupported});
    v.push_back({"bitfields_at_8_bits", with32(p8, 30, BI_BITFIELDS), BmpResult::unsupported});
    v.push_back({"compression_huge", with32(p8, 30, 0x7FFFFFFF), BmpResult::unsupported});
    v.push_back({"offset_inside_header", with32(p8, 10, 20), BmpResult::bad_header});
    v.push_back({"offset_past_end", with32(p8, 10, 0xFFFFFFFFu), BmpResult::truncated});
    v.push_back({"offset_at_end", with32(p8, 10, static_cast<std::uint32_t>(p8.size())), BmpResult::truncated});
    v.push_back({"width_huge", with32(p8, 18, 0x7FFFFFFF), BmpResult::too_large});
    v.push_back({"height_huge", with32(p8, 22, 0x7FFFFFFF), BmpResult::too_large});
    v.push_back({"height_lowest", with32(p8, 22, 0x80000000u), BmpResult::too_large});
    v.push_back({"both_large", with32(with32(p8, 18, 30000), 22, 30000), BmpResult::too_large});
    v.push_back({"both_moderate_but_short", with32(with32(p8, 18, 1000), 22, 1000), BmpResult::truncated});

    BmpLayout sf;  // masks after a 40-byte header
    sf.width = 1, sf.height = 1, sf.bpp = 32, sf.compression = BI_BITFIELDS, sf.masks = {0xFF0000, 0xFF00, 0xFF};
    sf.pixels = {1, 2, 3, 4};
    const Bytes pf = make_bmp(sf);
    v.push_back({"masks_cut", cut(pf, 14 + 40 + 11), BmpResult::truncated});
    v.push_back({"bitfields_at_24_bits", with16(pf, 28, 24), BmpResult::unsupported});

    BmpLayout sc;  // core header with its three-byte table
    sc.header_size = 12, sc.width = 1, sc.height = 1, sc.bpp = 1, sc.palette = {0, 0xFFFFFF};
    sc.pixels = {0x80, 0, 0, 0};
    const Bytes pc = make_bmp(sc);
    v.push_back({"core_table_cut", cut(pc, 14 + 12 + 5), BmpResult::truncated});
    v.push_back({"core_depth_16", with16(pc, 24, 16), BmpResult::unsupported});
    v.push_back({"core_header_cut", cut(pc, 14 + 11), BmpResult::truncated});

    BmpLayout sr;  // run-length
    sr.width = 4, sr.height = 2, sr.bpp = 8, sr.compression = BI_RLE8, sr.colors_used = 2, sr.palette = {0, 0xFFFFFF};
    sr.pixels = {0, 4, 1, 1, 1, 1, 0, 0, 4, 1, 0, 1};
    const Bytes pr = make_bmp(sr);
    const std::size_t rle_start = 14 + 40 + 8;
    v.push_back({"rle_literal_cut", cut(pr, rle_start + 4), BmpResult::bad_rle});
    v.push_back({"rle_pair_cut", cut(pr, rle_start + 1), BmpResult::bad_rle});
    v.push_back({"rle_top_down", with32(pr, 22, static_cast<std::uint32_t>(-2)), BmpResult::bad_header});
    v.push_back({"rle_delta_cut", Bytes(make_bmp([&] {
                                       BmpLayout d = sr;
                                       d.pixels = {0, 2, 1};
                                       return d;
                                   }())),
                 BmpResult::bad_rle});
    v.push_back({"rle_huge_canvas", with32(with32(pr, 18, 40000), 22, 40000), BmpResult::too_large});
    return v;
}

TEST(BmpDecoder, RefusesEachMalformedFileForItsReason) {
    for (const BadCase& c : bad_cases()) {
        DibImage img;
        img.width = 99;
        BmpResult r = decode_bmp(c.file.data(), c.file.size(), img);
        EXPECT_EQ(bmp_result_name(r), std::string(bmp_result_name(c.expected))) << c.name;
        EXPECT_EQ(img.width, 0) << c.name;
        EXPECT_TRUE(img.bits.empty()) << c.name;
    }
}

TEST(BmpDecoder, EveryTruncationOfValidFilesFailsCleanly) {
    // Each prefix of each valid file is decoded from a buffer of exactly that
    // size (the sanitizers see any read past it); only the whole file of an
    // uncompressed image succeeds.
    for (const FormatCase& c : format_cases()) {
        Bytes file = make_bmp(c.layout);
        for (std::size_t n = 0; n < file.size(); ++n) {
            Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
            prefix.shrink_to_fit();
            DibImage img;
            BmpResult r = decode_bmp(prefix.data(), prefix.size(), img);
            bool rle = c.layout.compression == BI_RLE8 || c.layout.compression == BI_RLE4;
            if (!rle) {
                EXPECT_NE(r, BmpResult::ok) << c.name << " cut at " << n;
            }
            if (r != BmpResult::ok) {
                EXPECT_TRUE(img.bits.empty());
            }
        }
    }
}

TEST(BmpDecoder, CapsThePixelMemory) {
    BmpLayout s;
    s.width = 64, s.height = 64, s.bpp = 32;
    s.pixels.assign(64 * 64 * 4, 7);
    Bytes file = make_bmp(s);
    DibImage img;
    EXPECT_EQ(decode_bmp(file.data(), file.size(), img, 64 * 64 * 4 - 1), BmpResult::too_large);
    EXPECT_EQ(decode_bmp(file.data(), file.size(), img, 64 * 64 * 4), BmpResult::ok);
}

}  // namespace
