// The grass program's seven image files, as the build generates them into
// the program's directory: each one loads through the loader the program
// uses, at a power-of-two size, and the grass textures carry blade heights.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/textures/textures.h"
#include "platform/headless/headless.h"
#include "tests/textures/image_files.h"

using namespace orvex;
using namespace orvex_test;

namespace {

bool power_of_two(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

TEST(ProgramImageFiles, GrassTexturesAreBladeHeightMaps) {
    struct File {
        const char* name;
        std::uint8_t type;
    } files[] = {{"grassb00.tga", 2}, {"grassb01.tga", 10}, {"grassb02.tga", 2}, {"grassc00.tga", 10},
                 {"grassc01.tga", 10}};
    std::vector<Bytes> colours;
    for (const File& f : files) {
        Bytes raw = read_file(f.name);
        ASSERT_GT(raw.size(), 18u) << f.name << " (run in the build's bin directory)";
        EXPECT_EQ(raw[2], f.type) << f.name;
        TGATEXTURE t{};
        orvex_headless::clear_message_boxes();
        ASSERT_TRUE(LOADTGA(t, f.name)) << f.name;
        EXPECT_EQ(t.BPP, 32u) << f.name;
        EXPECT_TRUE(power_of_two(t.WIDTH) && power_of_two(t.HEIGHT)) << f.name;
        const std::size_t n = std::size_t{t.WIDTH} * t.HEIGHT;
        std::size_t covered = 0, tall = 0;
        double r = 0, g = 0, b = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* p = t.IMAGEDATA + i * 4;
            covered += p[3] > 0;
            tall += p[3] > 200;
            if (p[3] > 0) r += p[0], g += p[1], b += p[2];
        }
        // Blades over most of the ground, bare texels between them, and
        // blade tips that reach the upper shells.
        EXPECT_GT(covered, n * 35 / 100) << f.name;
        EXPECT_LT(covered, n * 97 / 100) << f.name;
        EXPECT_GT(tall, n / 200) << f.name;
        colours.push_back({static_cast<std::uint8_t>(r / covered), static_cast<std::uint8_t>(g / covered),
                           static_cast<std::uint8_t>(b / covered)});
        std::free(t.IMAGEDATA);
    }
    // Five different grasses: no two of them share their mean blade colour.
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            int d = 0;
            for (int k = 0; k < 3; ++k) d += std::abs(colours[i][k] - colours[j][k]);
            EXPECT_GT(d, 12) << files[i].name << " and " << files[j].name;
        }
    }
}

TEST(ProgramImageFiles, FloorAndWallAre24BitBitmaps) {
    for (const char* name : {"Floor04.bmp", "wall.bmp"}) {
        EXPECT_EQ(GETBMPDEPTH(name), 24) << name;
        HANDLE h = LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        ASSERT_NE(h, nullptr) << name;
        BITMAP bm{};
        GetObjectA(h, sizeof bm, &bm);
        EXPECT_TRUE(power_of_two(static_cast<std::uint32_t>(bm.bmWidth)) &&
                    power_of_two(static_cast<std::uint32_t>(bm.bmHeight)))
            << name;
        DeleteObject(h);
    }
}

}  // namespace
