// The TGA reader on files in the working directory, as the program reads
// its grass textures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "framework/textures/tga_reader.h"

namespace {

using namespace orvex;

std::string write_file(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return {};
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return name;
}

std::vector<unsigned char> header(unsigned char type, int width, int height, int bpp) {
    return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<unsigned char>(width & 0xFF),
            static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(height & 0xFF),
            static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(bpp), 0};
}

TEST(TgaFiles, UncompressedTrueColourBecomesRgb) {
    auto bytes = header(2, 2, 1, 24);
    // Blue, green, red in the file: a red and a blue pixel.
    for (unsigned char b : {0, 0, 255, 255, 0, 0}) bytes.push_back(b);
    std::string name = write_file("portable_uncompressed.tga", bytes);
    ASSERT_FALSE(name.empty());
    TGATEXTURE t{};
    ASSERT_TRUE(LOADTGA(t, name));
    EXPECT_EQ(t.WIDTH, 2u);
    EXPECT_EQ(t.HEIGHT, 1u);
    EXPECT_EQ(t.BPP, 24u);
    EXPECT_EQ(t.TYP, static_cast<std::uint32_t>(GL_RGB));
    std::vector<unsigned char> pixels(t.IMAGEDATA, t.IMAGEDATA + 6);
    EXPECT_EQ(pixels, (std::vector<unsigned char>{255, 0, 0, 0, 0, 255}));
    std::free(t.IMAGEDATA);
    std::remove(name.c_str());
}

TEST(TgaFiles, RunLengthPacketsWithAlphaAreExpanded) {
    auto bytes = header(10, 2, 2, 32);
    // A run of three half-transparent green pixels, then one raw white pixel.
    for (unsigned char b : {0x82, 0, 255, 0, 128, 0x00, 255, 255, 255, 255}) bytes.push_back(b);
    std::string name = write_file("portable_rle.tga", bytes);
    ASSERT_FALSE(name.empty());
    TGATEXTURE t{};
    ASSERT_TRUE(LOADTGA(t, name));
    EXPECT_EQ(t.WIDTH, 2u);
    EXPECT_EQ(t.HEIGHT, 2u);
    EXPECT_EQ(t.BPP, 32u);
    EXPECT_EQ(t.TYP, static_cast<std::uint32_t>(GL_RGBA));
    std::vector<unsigned char> pixels(t.IMAGEDATA, t.IMAGEDATA + 16);
    EXPECT_EQ(pixels, (std::vector<unsigned char>{0, 255, 0, 128, 0, 255, 0, 128, 0, 255, 0, 128, 255, 255, 255,
                                                  255}));
    std::free(t.IMAGEDATA);
    std::remove(name.c_str());
}

}  // namespace
