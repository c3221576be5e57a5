// BMP and TGA textures on a headless OpenGL context: what OpenGL really holds
// after a load (texels, internal format, mipmap levels, parameters), the slot
// tables, and the loads that give no image.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/textures/textures.h"
#include "platform/headless/headless.h"
#include "tests/textures/gl_context.h"
#include "tests/textures/image_files.h"

using namespace orvex;
using namespace orvex_test;

namespace {

GLint level_param(GLint level, GLenum pname) {
    GLint v = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, pname, &v);
    return v;
}

GLint tex_param(GLenum pname) {
    GLint v = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, pname, &v);
    return v;
}

GLint integer(GLenum pname) {
    GLint v = -1;
    glGetIntegerv(pname, &v);
    return v;
}

// The texels of a level of the bound texture, rows bottom first, tightly packed.
Bytes texels(GLint level, GLenum format) {
    const int w = level_param(level, GL_TEXTURE_WIDTH), h = level_param(level, GL_TEXTURE_HEIGHT);
    const int n = format == GL_RGB ? 3 : 4;
    Bytes out(static_cast<std::size_t>(w) * h * n);
    GLint saved = integer(GL_PACK_ALIGNMENT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, saved);
    return out;
}

// An image given top row first as 0xAARRGGBB, as the texels OpenGL should hold
// (bottom row first) in RGB or RGBA.
Bytes expected_texels(const std::vector<std::uint32_t>& argb, int w, int h, bool alpha) {
    Bytes out;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = argb[static_cast<std::size_t>(y) * w + x];
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c));
            if (alpha) out.push_back(static_cast<std::uint8_t>(c >> 24));
        }
    }
    return out;
}

std::vector<std::uint32_t> pattern(int w, int h, bool alpha) {
    std::vector<std::uint32_t> v;
    for (int i = 0; i < w * h; ++i) {
        std::uint32_t c = (static_cast<std::uint32_t>(i * 37 + 11) & 0xFF) << 16 |
                          (static_cast<std::uint32_t>(i * 53 + 101) & 0xFF) << 8 |
                          (static_cast<std::uint32_t>(i * 91 + 7) & 0xFF);
        v.push_back(c | (alpha ? (static_cast<std::uint32_t>(255 - i * 13) & 0xFF) << 24 : 0));
    }
    return v;
}

// A TGA file of the same image, stored bottom row first like OpenGL's rows:
// uncompressed, or as run-length packets of one raw pixel each.
Bytes tga_of(const std::vector<std::uint32_t>& argb, int w, int h, int bpp, bool rle) {
    Bytes body;
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = argb[static_cast<std::size_t>(y) * w + x];
            if (rle) body.push_back(0x00);
            body.push_back(static_cast<std::uint8_t>(c));
            body.push_back(static_cast<std::uint8_t>(c >> 8));
            body.push_back(static_cast<std::uint8_t>(c >> 16));
            if (bpp == 32) body.push_back(static_cast<std::uint8_t>(c >> 24));
        }
    }
    return make_tga(rle ? 10 : 2, static_cast<unsigned>(w), static_cast<unsigned>(h), static_cast<std::uint8_t>(bpp),
                    body);
}

class Textures : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(make_gl_current());
        GL_MIN_FILTER = GL_LINEAR;
        GL_MAG_FILTER = GL_LINEAR;
        orvex_headless::clear_message_boxes();
    }
    void TearDown() override {
        GL_MIN_FILTER = GL_LINEAR;
        GL_MAG_FILTER = GL_LINEAR;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    ScratchDir dir;
};

// ---- bitmap textures --------------------------------------------------------------

TEST_F(Textures, Bmp24FirstTexelIsRedGreenBlueWithThreeComponents) {
    std::vector<std::uint32_t> img(128 * 128, 0x00808080);
    img[127 * 128] = 0x001E140A;  // bottom-left: stored blue 10, green 20, red 30
    TEXTURELOADID(dir.write("first.bmp", make_truecolor_bmp(128, 128, 24, img)).c_str(), 0);
    GLint bound = integer(GL_TEXTURE_BINDING_2D);
    EXPECT_EQ(static_cast<GLuint>(bound), TEXTUREID2[0]);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(level_param(0, GL_TEXTURE_COMPONENTS), 3);
    Bytes t = texels(0, GL_RGB);
    ASSERT_EQ(t.size(), 128u * 128u * 3u);
    EXPECT_EQ(t[0], 30);
    EXPECT_EQ(t[1], 20);
    EXPECT_EQ(t[2], 10);
    EXPECT_EQ(t, expected_texels(img, 128, 128, false));
    EXPECT_EQ(tex_param(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(tex_param(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(tex_param(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(tex_param(GL_TEXTURE_WRAP_T), GL_REPEAT);
}

TEST_F(Textures, Bmp24OfAnyWidthIsConvertedRowByRow) {
    for (int w : {1, 2, 3, 5, 6, 7, 9}) {
        std::vector<std::uint32_t> img = pattern(w, 3, false);
        TEXTURELOADID(dir.write("w.bmp", make_truecolor_bmp(w, 3, 24, img)).c_str(), 1);
        EXPECT_EQ(texels(0, GL_RGB), expected_texels(img, w, 3, false)) << "width " << w;
    }
}

TEST_F(Textures, Bmp32IsUploadedBlueFirstIntoRgba) {
    std::vector<std::uint32_t> img = pattern(3, 2, true);
    TEXTURELOADID(dir.write("rgba.bmp", make_truecolor_bmp(3, 2, 32, img)).c_str(), 2);
    EXPECT_EQ(level_param(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(texels(0, GL_RGBA), expected_texels(img, 3, 2, true));
}

TEST_F(Textures, FiltersComeFromTheTwoSettings) {
    GL_MIN_FILTER = GL_NEAREST;
    GL_MAG_FILTER = GL_NEAREST;
    TEXTURELOADID(dir.write("f.bmp", make_truecolor_bmp(2, 2, 24, pattern(2, 2, false))).c_str(), 3);
    EXPECT_EQ(tex_param(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(tex_param(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
}

TEST_F(Textures, BitmapLoadSetsTheUnpackStateForLaterUploads) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 3);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
    TEXTURELOADID(dir.write("u.bmp", make_truecolor_bmp(2, 2, 24, pattern(2, 2, false))).c_str(), 4);
    EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), 4);
    EXPECT_EQ(integer(GL_UNPACK_ROW_LENGTH), 0);
    EXPECT_EQ(integer(GL_UNPACK_SKIP_ROWS), 0);
    EXPECT_EQ(integer(GL_UNPACK_SKIP_PIXELS), 0);
}

TEST_F(Textures, LoadsThatGiveNoImageLeaveAFreshImagelessTexture) {
    BmpLayout eight;
    eight.width = 2, eight.height = 2, eight.bpp = 8, eight.colors_used = 2, eight.palette = {0, 0xFFFFFF};
    eight.pixels = Bytes(8, 1);
    BmpLayout sixteen;
    sixteen.width = 2, sixteen.height = 1, sixteen.bpp = 16, sixteen.pixels = Bytes(4, 0xFF);
    BmpLayout core;
    core.header_size = 12, core.width = 1, core.height = 1, core.bpp = 24, core.pixels = {1, 2, 3, 0};
    Bytes damaged = make_truecolor_bmp(4, 4, 24, pattern(4, 4, false));
    damaged.resize(damaged.size() - 5);  // headers intact, pixels cut short
    Bytes short_bm = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0};
    struct Case {
        const char* name;
        std::string file;
    } cases[] = {
        {"8-bit bitmap", dir.write("eight.bmp", make_bmp(eight))},
        {"16-bit bitmap", dir.write("sixteen.bmp", make_bmp(sixteen))},
        {"core header", dir.write("core.bmp", make_bmp(core))},
        {"missing file", dir.path("missing.bmp")},
        {"text of 14 bytes and more", dir.write("text.bmp", Bytes{'j', 'u', 's', 't', ' ', 's', 'o', 'm', 'e', ' ',
                                                                 't', 'e', 'x', 't', '.', '\n'})},
        {"text shorter than 14 bytes", dir.write("short.bmp", Bytes{'h', 'i', '\n'})},
        {"BM file shorter than 54 bytes", dir.write("shortbm.bmp", short_bm)},
        {"empty file", dir.write("empty.bmp", Bytes{})},
        {"24-bit file the platform cannot load", dir.write("damaged.bmp", damaged)},
        {"directory", [&] {
             std::filesystem::create_directories(dir.path("folder.bmp"));
             return dir.path("folder.bmp");
         }()},
    };
    const std::size_t gdi = orvex_headless::gdi_object_count();
    for (const Case& c : cases) {
        const GLuint before = TEXTUREID2[10];
        TEXTURELOADID(c.file.c_str(), 10);
        const GLuint name = TEXTUREID2[10];
        EXPECT_NE(name, 0u) << c.name;
        EXPECT_NE(name, before) << c.name;
        EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), name) << c.name;
        EXPECT_EQ(level_param(0, GL_TEXTURE_WIDTH), 0) << c.name;
        EXPECT_EQ(tex_param(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << c.name;
        EXPECT_EQ(tex_param(GL_TEXTURE_WRAP_T), GL_REPEAT) << c.name;
    }
    EXPECT_TRUE(orvex_headless::message_boxes().empty());
    EXPECT_EQ(orvex_headless::gdi_object_count(), gdi);
}

TEST_F(Textures, BitmapObjectIsReleasedAfterTheUpload) {
    const std::size_t gdi = orvex_headless::gdi_object_count();
    TEXTURELOADID(dir.write("r.bmp", make_truecolor_bmp(4, 4, 32, pattern(4, 4, true))).c_str(), 11);
    EXPECT_EQ(level_param(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(orvex_headless::gdi_object_count(), gdi);
}

TEST_F(Textures, MipmapsAreBuiltOnlyWithAMipmapFilter) {
    const std::uint32_t colour = 0xC0FF8020;  // alpha C0, red FF, green 80, blue 20
    std::vector<std::uint32_t> img(8 * 8, colour);
    for (int bpp : {24, 32}) {
        std::string file = dir.write("m.bmp", make_truecolor_bmp(8, 8, bpp, img));
        GL_MIN_FILTER = GL_LINEAR;
        TEXTURELOADID(file.c_str(), 12);
        EXPECT_EQ(level_param(1, GL_TEXTURE_WIDTH), 0) << bpp;
        for (GLint filter : {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR,
                             GL_LINEAR_MIPMAP_LINEAR}) {
            GL_MIN_FILTER = filter;
            TEXTURELOADID(file.c_str(), 12);
            EXPECT_EQ(tex_param(GL_TEXTURE_MIN_FILTER), filter);
            EXPECT_EQ(level_param(1, GL_TEXTURE_WIDTH), 4) << bpp << " " << filter;
            EXPECT_EQ(level_param(3, GL_TEXTURE_WIDTH), 1) << bpp << " " << filter;
            Bytes level2 = texels(2, GL_RGBA);
            ASSERT_EQ(level2.size(), 2u * 2u * 4u);
            EXPECT_EQ(level2[0], 0xFF);
            EXPECT_EQ(level2[1], 0x80);
            EXPECT_EQ(level2[2], 0x20);
            EXPECT_EQ(level2[3], bpp == 32 ? 0xC0 : 0xFF);
        }
    }
}

TEST_F(Textures, ReloadingASlotDeletesItsOldTexture) {
    std::string file = dir.write("re.bmp", make_truecolor_bmp(2, 2, 24, pattern(2, 2, false)));
    TEXTURELOADID(file.c_str(), 13);
    const GLuint first = TEXTUREID2[13];
    EXPECT_TRUE(glIsTexture(first));
    TEXTURELOADID(file.c_str(), 13);
    EXPECT_NE(TEXTUREID2[13], first);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_TRUE(glIsTexture(TEXTUREID2[13]));
}

TEST_F(Textures, SelectBindsTheSlotsTexture) {
    TEXTURELOADID(dir.write("s.bmp", make_truecolor_bmp(2, 2, 24, pattern(2, 2, false))).c_str(), 14);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    TEXTURESELECTID(14);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), TEXTUREID2[14]);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    TEXTURESELECTID(500);  // never loaded
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(Textures, ProbeAnswersTheHeadersColourDepth) {
    BmpLayout v4;
    v4.header_size = 108, v4.width = 1, v4.height = 1, v4.bpp = 32, v4.pixels = Bytes(4, 0);
    BmpLayout v5 = v4;
    v5.header_size = 124, v5.bpp = 16, v5.pixels = Bytes(4, 0);
    BmpLayout core;
    core.header_size = 12, core.width = 4, core.height = 4, core.bpp = 24, core.pixels = Bytes(48, 0);
    BmpLayout eight;
    eight.width = 1, eight.height = 1, eight.bpp = 8, eight.palette = std::vector<std::uint32_t>(256, 0);
    eight.pixels = Bytes(4, 0);
    Bytes rle = make_bmp(eight);
    rle[30] = BI_RLE8;  // compression is not looked at
    Bytes only_54 = make_truecolor_bmp(1, 1, 24, {0});
    only_54.resize(54);
    ASSERT_EQ(mkfifo(dir.path("pipe.bmp").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::string file;
        std::int32_t depth;
    } cases[] = {
        {"24-bit", dir.write("a.bmp", make_truecolor_bmp(1, 1, 24, {0})), 24},
        {"32-bit", dir.write("b.bmp", make_truecolor_bmp(1, 1, 32, {0})), 32},
        {"8-bit", dir.write("c.bmp", make_bmp(eight)), 8},
        {"108-byte header", dir.write("d.bmp", make_bmp(v4)), 32},
        {"124-byte header", dir.write("e.bmp", make_bmp(v5)), 16},
        {"run-length", dir.write("f.bmp", rle), 8},
        {"headers only, no pixels", dir.write("g.bmp", only_54), 24},
        {"core header", dir.write("h.bmp", make_bmp(core)), 0},
        {"no BM signature", dir.write("i.bmp", Bytes(60, 'x')), 0},
        {"text shorter than 14 bytes", dir.write("j.bmp", Bytes{'a', 'b'}), 0},
        {"BM, shorter than 54 bytes", dir.write("k.bmp", Bytes(only_54.begin(), only_54.begin() + 53)), 0},
        {"empty", dir.write("l.bmp", Bytes{}), 0},
        {"missing", dir.path("missing.bmp"), 0},
        {"directory", dir.root().string(), 0},
        {"pipe", dir.path("pipe.bmp"), 0},
        {"device", "/dev/zero", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(GETBMPDEPTH(c.file.c_str()), c.depth) << c.name;
    EXPECT_EQ(GETBMPDEPTH(nullptr), 0);
}

TEST(SwapRgb, ExchangesFirstAndThirdByteOfEachGroup) {
    Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    SWAPRGB(data.data(), 3);
    EXPECT_EQ(data, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 10}));
    SWAPRGB(data.data(), 0);  // nothing to swap
    SWAPRGB(data.data(), -5);
    EXPECT_EQ(data, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 10}));
}

TEST_F(Textures, AddMipmapsIgnoresOtherDepths) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const Bytes pixels(4 * 4 * 4, 0x55);
    for (int depth : {0, 8, 16, 23, 33}) ADDMIPMAPSTEXTURE(depth, 4, 4, pixels.data());
    EXPECT_EQ(level_param(0, GL_TEXTURE_WIDTH), 0);
    ADDMIPMAPSTEXTURE(32, 4, 4, pixels.data());
    EXPECT_EQ(level_param(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(level_param(2, GL_TEXTURE_WIDTH), 1);
    glDeleteTextures(1, &name);
}

using TexturesDeathTest = Textures;

TEST_F(TexturesDeathTest, BitmapSlotOutside0To500EndsTheProgram) {
    std::string file = dir.write("d.bmp", make_truecolor_bmp(1, 1, 24, {0}));
    EXPECT_EXIT(TEXTURELOADID(file.c_str(), 501), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTUREID2");
    EXPECT_EXIT(TEXTURELOADID(file.c_str(), -1), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTUREID2");
    EXPECT_EXIT(TEXTURELOADID("missing.bmp", 501), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTUREID2");
    EXPECT_EXIT(TEXTURESELECTID(501), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTUREID2");
    EXPECT_EXIT(TEXTURESELECTID(-1), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTUREID2");
}

// ---- TGA textures -------------------------------------------------------------------

TEST_F(Textures, Tga24And32KeepComponentCountsAndTexels) {
    for (int bpp : {24, 32}) {
        for (bool rle : {false, true}) {
            std::vector<std::uint32_t> img = pattern(64, 64, bpp == 32);
            TEXTURELOADTGAID(dir.write("t.tga", tga_of(img, 64, 64, bpp, rle)), 0);
            const TGATEXTURE& slot = TEXTURETGA2[0];
            EXPECT_NE(slot.TEXID, 0u);
            EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), slot.TEXID);
            EXPECT_EQ(slot.IMAGEDATA, nullptr);  // the pixels live in OpenGL only
            EXPECT_EQ(slot.WIDTH, 64u);
            EXPECT_EQ(slot.BPP, static_cast<std::uint32_t>(bpp));
            EXPECT_EQ(level_param(0, GL_TEXTURE_COMPONENTS), bpp / 8);
            const GLenum format = bpp == 24 ? GL_RGB : GL_RGBA;
            EXPECT_EQ(texels(0, format), expected_texels(img, 64, 64, bpp == 32)) << bpp << (rle ? " rle" : " raw");
            EXPECT_EQ(tex_param(GL_TEXTURE_WRAP_S), GL_REPEAT);
            EXPECT_EQ(level_param(1, GL_TEXTURE_WIDTH), 0);
        }
    }
    EXPECT_TRUE(orvex_headless::message_boxes().empty());
}

TEST_F(Textures, Tga24OfAnyWidthIsUploadedWhole) {
    for (GLint alignment : {4, 2, 8}) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        for (int w : {1, 2, 3, 5, 6, 7, 9, 13}) {
            std::vector<std::uint32_t> img = pattern(w, 3, false);
            TEXTURELOADTGAID(dir.write("odd.tga", tga_of(img, w, 3, 24, w % 2 == 1)), 1);
            EXPECT_EQ(texels(0, GL_RGB), expected_texels(img, w, 3, false)) << "width " << w;
            EXPECT_EQ(integer(GL_UNPACK_ALIGNMENT), alignment);
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(Textures, TgaMipmapsAreBuiltRedFirst) {
    const std::uint32_t colour = 0x80FF4010;
    std::vector<std::uint32_t> img(16 * 16, colour);
    for (int bpp : {24, 32}) {
        std::string file = dir.write("mip.tga", tga_of(img, 16, 16, bpp, false));
        GL_MIN_FILTER = GL_LINEAR_MIPMAP_NEAREST;
        TEXTURELOADTGAID(file, 2);
        EXPECT_EQ(tex_param(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
        ASSERT_EQ(level_param(4, GL_TEXTURE_WIDTH), 1) << bpp;
        Bytes top = texels(4, GL_RGBA);
        EXPECT_EQ(top, (Bytes{0xFF, 0x40, 0x10, static_cast<std::uint8_t>(bpp == 32 ? 0x80 : 0xFF)})) << bpp;
        Bytes base = texels(0, GL_RGBA);
        EXPECT_EQ(Bytes(base.begin(), base.begin() + 4), top) << bpp;
    }
}

TEST_F(Textures, TgaMipmapsOfOddWidthsReadWholeRows) {
    // GLU rescales these sizes to powers of two (7 x 3 to 8 x 4, 5 x 5 to
    // 4 x 4) from rows of 21 and 15 bytes; a uniform image stays uniform on
    // every level only if the rows were read at their true length.
    GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
    for (auto [w, h] : {std::pair{7, 3}, std::pair{5, 5}}) {
        std::vector<std::uint32_t> img(static_cast<std::size_t>(w * h), 0x00336699);
        TEXTURELOADTGAID(dir.write("oddmip.tga", tga_of(img, w, h, 24, false)), 3);
        ASSERT_GT(level_param(1, GL_TEXTURE_WIDTH), 0);
        for (GLint level = 0; level_param(level, GL_TEXTURE_WIDTH) > 0; ++level) {
            Bytes t = texels(level, GL_RGB);
            for (std::size_t k = 0; k + 2 < t.size(); k += 3) {
                ASSERT_EQ(t[k], 0x33) << w << "x" << h << " level " << level;
                ASSERT_EQ(t[k + 1], 0x66) << w << "x" << h << " level " << level;
                ASSERT_EQ(t[k + 2], 0x99) << w << "x" << h << " level " << level;
            }
        }
    }
}

TEST_F(Textures, RefusedTgaShowsTheReadersMessageAndKeepsTheSlot) {
    std::vector<std::uint32_t> img = pattern(2, 2, true);
    TEXTURELOADTGAID(dir.write("good.tga", tga_of(img, 2, 2, 32, false)), 4);
    const GLuint good = TEXTURETGA2[4].TEXID;
    ASSERT_NE(good, 0u);
    Bytes type3 = tga_of(img, 2, 2, 32, false);
    type3[2] = 3;
    TEXTURELOADTGAID(dir.write("gray.tga", type3), 4);
    ASSERT_EQ(orvex_headless::message_boxes().size(), 1u);
    EXPECT_EQ(orvex_headless::message_boxes()[0].text, "TGA file be type 2 or type 10");
    EXPECT_EQ(orvex_headless::message_boxes()[0].caption, "Invalid Image");
    EXPECT_EQ(TEXTURETGA2[4].TEXID, good);
    EXPECT_TRUE(glIsTexture(good));
    TEXTURETGASELECTID(4);
    EXPECT_EQ(texels(0, GL_RGBA), expected_texels(img, 2, 2, true));

    orvex_headless::clear_message_boxes();
    TEXTURELOADTGAID(dir.write("fresh.tga", type3), 5);  // a slot never loaded stays empty
    EXPECT_EQ(orvex_headless::message_boxes().size(), 1u);
    EXPECT_EQ(TEXTURETGA2[5].TEXID, 0u);
}

TEST_F(Textures, ReloadingATgaSlotDeletesItsOldTexture) {
    std::string file = dir.write("re.tga", tga_of(pattern(2, 2, false), 2, 2, 24, false));
    TEXTURELOADTGAID(file, 6);
    const GLuint first = TEXTURETGA2[6].TEXID;
    TEXTURELOADTGAID(file, 6);
    EXPECT_NE(TEXTURETGA2[6].TEXID, first);
    EXPECT_FALSE(glIsTexture(first));
}

TEST_F(Textures, MissingTgaFileIsIgnoredQuietlyWhateverTheSlot) {
    TEXTURELOADTGAID(dir.path("missing.tga"), 999);
    TEXTURELOADTGAID(dir.path("missing.tga"), -1);
    TEXTURELOADTGAID(dir.path("missing.tga"), 7);
    EXPECT_EQ(TEXTURETGA2[7].TEXID, 0u);
    EXPECT_TRUE(orvex_headless::message_boxes().empty());
}

TEST_F(Textures, TgaSelectBindsTheSlotsTexture) {
    TEXTURELOADTGAID(dir.write("sel.tga", tga_of(pattern(2, 2, true), 2, 2, 32, false)), 8);
    glBindTexture(GL_TEXTURE_2D, 0);
    TEXTURETGASELECTID(8);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), TEXTURETGA2[8].TEXID);
    TEXTURETGASELECTID(200);  // never loaded
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
}

TEST_F(TexturesDeathTest, TgaSlotOutside0To200EndsTheProgramWhenTheFileExists) {
    std::string file = dir.write("d.tga", tga_of(pattern(1, 1, false), 1, 1, 24, false));
    EXPECT_EXIT(TEXTURELOADTGAID(file, 201), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTURETGA2");
    EXPECT_EXIT(TEXTURELOADTGAID(file, 999), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTURETGA2");
    EXPECT_EXIT(TEXTURELOADTGAID(file, -1), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTURETGA2");
    EXPECT_EXIT(TEXTURETGASELECTID(201), testing::ExitedWithCode(EXIT_RANGE_ERROR), "TEXTURETGA2");
}

}  // namespace
