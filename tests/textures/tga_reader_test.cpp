// The TGA reader: decoded bytes of small files of both image types, the
// run-length packet boundaries, every failure with its message and caption,
// files cut at every offset, and what the reader leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/textures/tga_reader.h"
#include "platform/headless/headless.h"
#include "tests/textures/image_files.h"

using namespace orvex;
using namespace orvex_test;

namespace {

std::size_t open_descriptors() {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)e;
        ++n;
    }
    return n;
}

struct Outcome {
    bool ok = false;
    TGATEXTURE texture{};
    std::vector<orvex_headless::ShownMessageBox> boxes;
};

// Reads the file with LOADTGA and checks what every read must leave: no file
// open, no descriptor leaked, TEXID untouched, and on failure one box and no
// pixel block.
Outcome load(const std::string& path) {
    orvex_headless::clear_message_boxes();
    Outcome o;
    o.texture.TEXID = 4242;
    const std::size_t fds = open_descriptors();
    o.ok = LOADTGA(o.texture, path);
    o.boxes = orvex_headless::message_boxes();
    EXPECT_EQ(FTGA, nullptr) << path;
    EXPECT_EQ(open_descriptors(), fds) << path;
    EXPECT_EQ(o.texture.TEXID, 4242u) << path;
    if (o.ok) {
        EXPECT_TRUE(o.boxes.empty());
    } else {
        EXPECT_EQ(o.texture.IMAGEDATA, nullptr) << path;
    }
    return o;
}

Bytes pixels_of(const Outcome& o) {
    if (!o.ok) return {};
    std::size_t n = std::size_t{o.texture.WIDTH} * o.texture.HEIGHT * (o.texture.BPP / 8);
    return Bytes(o.texture.IMAGEDATA, o.texture.IMAGEDATA + n);
}

Bytes repeat(const Bytes& unit, std::size_t times) {
    Bytes out;
    for (std::size_t k = 0; k < times; ++k) out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// ---- decoding ------------------------------------------------------------------

struct DecodeCase {
    std::string name;
    Bytes file;
    unsigned width, height, bpp;
    Bytes expected;
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

std::vector<DecodeCase> decode_cases() {
    const Bytes bgr = {1, 2, 3}, rgb = {3, 2, 1};
    return {
        {"raw24_2x1", make_tga(2, 2, 1, 24, {1, 2, 3, 4, 5, 6}), 2, 1, 24, {3, 2, 1, 6, 5, 4}},
        {"raw32_1x1", make_tga(2, 1, 1, 32, {0x10, 0x20, 0x30, 0x40}), 1, 1, 32, {0x30, 0x20, 0x10, 0x40}},
        {"raw24_3x2_rows_in_file_order", make_tga(2, 3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
         3, 2, 24, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
        {"raw24_top_left_origin_not_flipped", make_tga(2, 1, 2, 24, {1, 2, 3, 4, 5, 6}, 0x20), 1, 2, 24,
         {3, 2, 1, 6, 5, 4}},
        {"raw24_trailing_bytes_ignored",
         concat({make_tga(2, 1, 1, 24, {1, 2, 3}), Bytes(26, 0xEE)}), 1, 1, 24, {3, 2, 1}},
        {"rle24_run_of_4", make_tga(10, 4, 1, 24, {0x83, 1, 2, 3}), 4, 1, 24, repeat(rgb, 4)},
        {"rle24_raw_then_run", make_tga(10, 4, 1, 24, {0x00, 1, 2, 3, 0x82, 4, 5, 6}), 4, 1, 24,
         {3, 2, 1, 6, 5, 4, 6, 5, 4, 6, 5, 4}},
        {"rle32_keeps_alpha", make_tga(10, 2, 1, 32, {0x01, 1, 2, 3, 4, 5, 6, 7, 8}), 2, 1, 32,
         {3, 2, 1, 4, 7, 6, 5, 8}},
        {"rle_header_00_one_raw_pixel", make_tga(10, 1, 1, 24, {0x00, 1, 2, 3}), 1, 1, 24, rgb},
        {"rle_header_80_run_of_one", make_tga(10, 1, 1, 24, {0x80, 1, 2, 3}), 1, 1, 24, rgb},
        {"rle_header_7F_128_raw_pixels", make_tga(10, 128, 1, 24, concat({{0x7F}, repeat(bgr, 128)})), 128, 1, 24,
         repeat(rgb, 128)},
        {"rle_header_FF_run_of_128", make_tga(10, 128, 1, 24, {0xFF, 1, 2, 3}), 128, 1, 24, repeat(rgb, 128)},
        {"rle_packets_run_across_rows", make_tga(10, 2, 3, 24, {0x82, 1, 2, 3, 0x02, 4, 5, 6, 4, 5, 6, 4, 5, 6}), 2, 3,
         24, concat({repeat(rgb, 3), repeat({6, 5, 4}, 3)})},
        {"rle_trailing_bytes_ignored", concat({make_tga(10, 1, 1, 24, {0x80, 1, 2, 3}), Bytes{0x80, 9, 9, 9}}), 1, 1,
         24, rgb},
    };
}

class TgaDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(TgaDecode, YieldsRedFirstPixelsAndImageFields) {
    const DecodeCase& c = GetParam();
    ScratchDir dir;
    Outcome o = load(dir.write("image.tga", c.file));
    ASSERT_TRUE(o.ok) << (o.boxes.empty() ? "" : o.boxes[0].text);
    EXPECT_EQ(o.texture.WIDTH, c.width);
    EXPECT_EQ(o.texture.HEIGHT, c.height);
    EXPECT_EQ(o.texture.BPP, c.bpp);
    EXPECT_EQ(o.texture.TYP, c.bpp == 24 ? 0x1907u : 0x1908u);
    EXPECT_EQ(pixels_of(o), c.expected);
    std::free(o.texture.IMAGEDATA);
}

INSTANTIATE_TEST_SUITE_P(Files, TgaDecode, testing::ValuesIn(decode_cases()),
                         [](const auto& param_info) { return param_info.param.name; });

TEST(TgaReader, RunLengthFileDecodesAsTheUncompressedFileOfItsPixels) {
    // Packets of every kind and length, across rows, drawn at random; the
    // uncompressed file holds the pixels they stand for.
    ScratchDir dir;
    std::uint32_t seed = 7;
    auto next = [&seed](std::uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    for (const unsigned bpp : {24u, 32u}) {
        SCOPED_TRACE(std::to_string(bpp) + " bits");
        const unsigned width = 97, height = 61, n = bpp / 8;
        Bytes packets, pixels;
        for (std::size_t left = std::size_t{width} * height; left > 0;) {
            const std::size_t length = 1 + next(static_cast<std::uint32_t>(std::min<std::size_t>(left, 128)));
            const bool run = next(2) == 0;
            packets.push_back(static_cast<std::uint8_t>((run ? 0x80 : 0) + length - 1));
            Bytes value(n);
            for (std::size_t p = 0; p < length; ++p) {
                if (p == 0 || !run)
                    for (auto& b : value) b = static_cast<std::uint8_t>(next(256));
                if (p == 0 || !run) packets.insert(packets.end(), value.begin(), value.end());
                pixels.insert(pixels.end(), value.begin(), value.end());
            }
            left -= length;
        }
        Outcome rle = load(dir.write("rle.tga", make_tga(10, width, height, static_cast<std::uint8_t>(bpp), packets)));
        Outcome raw = load(dir.write("raw.tga", make_tga(2, width, height, static_cast<std::uint8_t>(bpp), pixels)));
        ASSERT_TRUE(rle.ok && raw.ok);
        EXPECT_EQ(pixels_of(rle), pixels_of(raw));
        std::free(rle.texture.IMAGEDATA);
        std::free(raw.texture.IMAGEDATA);
    }
}

TEST(TgaReader, KeepsTheHeadersOfTheFileReadLast) {
    ScratchDir dir;
    Outcome o = load(dir.write("a.tga", make_tga(2, 3, 2, 32, Bytes(24, 7), 0x28)));
    ASSERT_TRUE(o.ok);
    std::free(o.texture.IMAGEDATA);
    const std::uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(TGAHEADER.HEADER, header, 12));
    const std::uint8_t description[6] = {3, 0, 2, 0, 32, 0x28};
    EXPECT_EQ(0, std::memcmp(TGA.HEADER, description, 6));
    EXPECT_EQ(TGA.WIDTH, 3u);
    EXPECT_EQ(TGA.HEIGH, 2u);
    EXPECT_EQ(TGA.BPP, 32u);
    EXPECT_EQ(TGA.BYTESPERPIXEL, 4u);
    EXPECT_EQ(TGA.IMAGESIZE, 24u);
    EXPECT_EQ(0, std::memcmp(UTGACOMPARE, header, 12));
    const std::uint8_t rle_header[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(CTGACOMPARE, rle_header, 12));
}

TEST(TgaReader, OpensReadOnlyFiles) {
    ScratchDir dir;
    std::string path = dir.write("readonly.tga", make_tga(2, 1, 1, 24, {1, 2, 3}));
    ::chmod(path.c_str(), 0444);
    Outcome o = load(path);
    EXPECT_TRUE(o.ok);
    std::free(o.texture.IMAGEDATA);
}

TEST(TgaReader, OpensALongNameUnderItsFirst255Characters) {
    ScratchDir dir;
    // A path of exactly 255 characters (nested directories, each name short
    // enough for the file system), then the same path with more characters.
    std::string base = dir.root().string() + "/";
    std::string path = base;
    while (path.size() + 101 < 255) path += std::string(100, 'd') + "/";
    path += std::string(255 - path.size(), 'f');
    ASSERT_EQ(path.size(), 255u);
    dir.write(path.substr(base.size()), make_tga(2, 1, 1, 24, {1, 2, 3}));
    Outcome o = load(path + "-and-more-characters.tga");
    EXPECT_TRUE(o.ok);
    std::free(o.texture.IMAGEDATA);
}

// ---- failures --------------------------------------------------------------------

struct FailureCase {
    std::string name;
    Bytes file;
    std::string text;
    std::string caption = "ERROR";
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

Bytes with_byte(Bytes b, std::size_t at, std::uint8_t v) {
    b[at] = v;
    return b;
}

std::vector<FailureCase> failure_cases() {
    const Bytes valid = make_tga(2, 1, 1, 24, {1, 2, 3});
    const std::string wrong_type = "TGA file be type 2 or type 10";
    std::vector<FailureCase> v = {
        {"empty_file", {}, "Could not read file header"},
        {"eleven_bytes", Bytes(valid.begin(), valid.begin() + 11), "Could not read file header"},
        {"header_only_type2", Bytes(valid.begin(), valid.begin() + 12), "Could not read info header"},
        {"header_only_type10", Bytes{0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Could not read info header"},
        {"description_cut", Bytes(valid.begin(), valid.begin() + 17), "Could not read info header"},
        {"id_length_1", with_byte(valid, 0, 1), wrong_type, "Invalid Image"},
        {"colour_map_type_1", with_byte(valid, 1, 1), wrong_type, "Invalid Image"},
        {"colour_map_length", with_byte(valid, 5, 1), wrong_type, "Invalid Image"},
        {"x_origin", with_byte(valid, 8, 1), wrong_type, "Invalid Image"},
        {"y_origin", with_byte(valid, 11, 1), wrong_type, "Invalid Image"},
        {"type_1", with_byte(valid, 2, 1), wrong_type, "Invalid Image"},
        {"type_3", with_byte(valid, 2, 3), wrong_type, "Invalid Image"},
        {"type_9", with_byte(valid, 2, 9), wrong_type, "Invalid Image"},
        {"type_11", with_byte(valid, 2, 11), wrong_type, "Invalid Image"},
        {"png_file", Bytes{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'}, wrong_type,
         "Invalid Image"},
        {"depth_16", make_tga(2, 1, 1, 16, {1, 2}), "Invalid texture information"},
        {"depth_8_rle", make_tga(10, 1, 1, 8, {0x80, 1}), "Invalid texture information"},
        {"depth_0", make_tga(2, 1, 1, 0, {}), "Invalid texture information"},
        {"width_0", make_tga(2, 0, 1, 24, {1, 2, 3}), "Invalid texture information"},
        {"height_0", make_tga(10, 1, 0, 32, {0x80, 1, 2, 3, 4}), "Invalid texture information"},
        {"raw_block_short", make_tga(2, 2, 1, 24, {1, 2, 3, 4, 5}), "Could not read image data"},
        {"raw_block_missing", make_tga(2, 2, 2, 32, {}), "Could not read image data"},
        {"rle_no_packet", make_tga(10, 2, 1, 24, {}), "Could not read RLE header"},
        {"rle_stream_ends_early", make_tga(10, 4, 1, 24, {0x81, 1, 2, 3}), "Could not read RLE header"},
        {"rle_raw_pixel_short", make_tga(10, 2, 1, 24, {0x01, 1, 2, 3, 4, 5}), "Could not read image data"},
        {"rle_run_value_short", make_tga(10, 2, 1, 32, {0x81, 1, 2, 3}), "Could not read from file"},
        {"rle_run_one_past", make_tga(10, 4, 1, 24, {0x84, 1, 2, 3}), "Too many pixels read"},
        {"rle_run_FF_past", make_tga(10, 4, 1, 24, {0x81, 1, 2, 3, 0xFF, 1, 2, 3}), "Too many pixels read"},
        {"rle_raw_one_past", make_tga(10, 1, 1, 24, {0x01, 1, 2, 3, 4, 5, 6}), "Too many pixels read"},
        // The surplus pixel of a raw packet is read before the count is tested.
        {"rle_raw_past_and_short", make_tga(10, 1, 1, 24, {0x01, 1, 2, 3, 4, 5}), "Could not read image data"},
        {"rle_7F_past", make_tga(10, 127, 1, 24, concat({{0x7F}, repeat({1, 2, 3}, 128)})), "Too many pixels read"},
        // Pixel blocks of 2^31 bytes or more are refused before any read.
        {"block_65535x65535x32", make_tga(2, 65535, 65535, 32, {}), "Could not allocate memory for image"},
        {"block_2_31_exactly", make_tga(10, 32768, 16384, 32, {0x80, 1, 2, 3, 4}), "Could not allocate memory for image"},
        {"block_just_above_2_31", make_tga(2, 65535, 8193, 32, {1, 2, 3, 4}), "Could not allocate memory for image"},
        {"block_65535x65535x24", make_tga(10, 65535, 65535, 24, {0xFF, 1, 2, 3}), "Could not allocate memory for image"},
    };
    return v;
}

class TgaFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(TgaFailure, ShowsItsMessageAndLeavesNothingBehind) {
    const FailureCase& c = GetParam();
    ScratchDir dir;
    Outcome o = load(dir.write("bad.tga", c.file));
    EXPECT_FALSE(o.ok);
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.boxes[0].text, c.text);
    EXPECT_EQ(o.boxes[0].caption, c.caption);
    EXPECT_EQ(o.boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(o.boxes[0].owner, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Files, TgaFailure, testing::ValuesIn(failure_cases()),
                         [](const auto& param_info) { return param_info.param.name; });

TEST(TgaReader, ANameThatIsNotARegularFileCannotBeOpened) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path("folder.tga"));
    ASSERT_EQ(mkfifo(dir.path("pipe.tga").c_str(), 0600), 0);
    // Missing, a directory, a pipe (which would wait for a writer), a device.
    for (const std::string& name : {std::string("no-such-texture.tga"), dir.path("folder.tga"), dir.path("pipe.tga"),
                                    std::string("/dev/null")}) {
        SCOPED_TRACE(name);
        Outcome o = load(name);
        EXPECT_FALSE(o.ok);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].text, "Could not open texture file");
        EXPECT_EQ(o.boxes[0].caption, "ERROR");
    }
}

TEST(TgaReader, ReadErrorOfTheSystemCountsAsAShortRead) {
    // A file whose every read from its start fails: the process's own memory
    // at address 0, which is never mapped.
    Outcome o = load("/proc/self/mem");
    EXPECT_FALSE(o.ok);
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.boxes[0].text, "Could not read file header");
}

TEST(TgaReader, LargestBlockBelow2To31IsAttempted) {
    // 65535 x 8192 x 4 bytes is one read's worth: the block is obtained (or
    // not) and the short file is then reported as such.
    ScratchDir dir;
    Outcome o = load(dir.write("big.tga", make_tga(2, 65535, 8192, 32, {1, 2, 3, 4})));
    EXPECT_FALSE(o.ok);
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_TRUE(o.boxes[0].text == "Could not read image data" ||
                o.boxes[0].text == "Could not allocate memory for image")
        << o.boxes[0].text;
    EXPECT_EQ(TGA.IMAGESIZE, 65535u * 8192u * 4u);
}

// ---- files cut at every offset ----------------------------------------------------

// The message expected for a file cut to `n` bytes, given where its parts start.
std::string expected_for_cut(std::size_t n, const std::vector<std::pair<std::size_t, std::string>>& parts) {
    std::string text = "Could not read file header";
    for (const auto& [start, message] : parts) {
        if (n >= start) text = message;
    }
    return text;
}

TEST(TgaReader, EveryTruncationGivesTheMessageOfThePartItEndsIn) {
    ScratchDir dir;
    // Uncompressed 2 x 2, 32 bits: header 0..11, image description 12..17, pixels 18..33.
    const Bytes raw = make_tga(2, 2, 2, 32, Bytes(16, 9));
    // Run-length 5 x 1, 24 bits: packets [raw of 2 at 18..24] [run of 3 at 25..28].
    const Bytes rle = make_tga(10, 5, 1, 24, {0x01, 1, 2, 3, 4, 5, 6, 0x82, 7, 8, 9});
    struct File {
        const char* name;
        Bytes bytes;
        std::vector<std::pair<std::size_t, std::string>> parts;
    } files[] = {
        {"raw", raw, {{12, "Could not read info header"}, {18, "Could not read image data"}}},
        {"rle",
         rle,
         {{12, "Could not read info header"},
          {18, "Could not read RLE header"},
          {19, "Could not read image data"},
          {25, "Could not read RLE header"},
          {26, "Could not read from file"}}},
    };
    for (const File& f : files) {
        for (std::size_t n = 0; n < f.bytes.size(); ++n) {
            Outcome o = load(dir.write("cut.tga", Bytes(f.bytes.begin(), f.bytes.begin() + static_cast<long>(n))));
            EXPECT_FALSE(o.ok) << f.name << " cut at " << n;
            ASSERT_EQ(o.boxes.size(), 1u) << f.name << " cut at " << n;
            EXPECT_EQ(o.boxes[0].text, expected_for_cut(n, f.parts)) << f.name << " cut at " << n;
        }
        Outcome whole = load(dir.write("whole.tga", f.bytes));
        EXPECT_TRUE(whole.ok) << f.name;
        std::free(whole.texture.IMAGEDATA);
    }
}

}  // namespace
