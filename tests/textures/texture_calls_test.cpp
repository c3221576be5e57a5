// The OpenGL calls of the texture loaders, in order, as the call recorder
// sees them: unpack state, parameters, image and mipmaps.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/textures/textures.h"
#include "tests/support/gl_recorder.h"
#include "tests/textures/gl_context.h"
#include "tests/textures/image_files.h"

using namespace orvex;
using namespace orvex_test;

namespace {

// Each recorded call as "name(args)": signed values in decimal, enumerants in
// hexadecimal, pointers as "p" (their values differ from run to run).
std::vector<std::string> recorded() {
    std::vector<std::string> out;
    for (const GlCall& c : gl_recorder::calls()) {
        std::string s = c.name + "(";
        for (std::size_t k = 0; k < c.args.size(); ++k) {
            const GlArg& a = c.args[k];
            char buf[32];
            switch (a.kind) {
                case GlArg::Kind::integer: std::snprintf(buf, sizeof buf, "%lld", a.i); break;
                case GlArg::Kind::unsigned_integer: std::snprintf(buf, sizeof buf, "0x%llx", a.u); break;
                case GlArg::Kind::pointer: std::snprintf(buf, sizeof buf, "p"); break;
                default: std::snprintf(buf, sizeof buf, "%g", a.kind == GlArg::Kind::single ? a.f : a.d); break;
            }
            s += (k ? ", " : "") + std::string(buf);
        }
        out.push_back(s + ")");
    }
    return out;
}

const std::vector<std::string> bitmap_setup = {
    "glEnable(0xde1)",         "glGenTextures(1, p)",      "glBindTexture(0xde1, 0x?)",
    "glPixelStorei(0xcf5, 4)", "glPixelStorei(0xcf2, 0)",  "glPixelStorei(0xcf3, 0)",
    "glPixelStorei(0xcf4, 0)",
};

// The texture name of glBindTexture differs from run to run: compare it as "0x?".
std::vector<std::string> masked(std::vector<std::string> calls) {
    for (std::string& c : calls) {
        if (c.rfind("glBindTexture(0xde1, ", 0) == 0) c = "glBindTexture(0xde1, 0x?)";
    }
    return calls;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> parameters(int min_filter, int mag_filter) {
    return {"glTexParameteri(0xde1, 0x2801, " + std::to_string(min_filter) + ")",
            "glTexParameteri(0xde1, 0x2800, " + std::to_string(mag_filter) + ")",
            "glTexParameteri(0xde1, 0x2802, 10497)", "glTexParameteri(0xde1, 0x2803, 10497)"};
}

class TextureCalls : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(make_gl_current());
        GL_MIN_FILTER = GL_LINEAR;
        GL_MAG_FILTER = GL_LINEAR;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    void TearDown() override {
        GL_MIN_FILTER = GL_LINEAR;
        GL_MAG_FILTER = GL_LINEAR;
    }
    ScratchDir dir;
};

TEST_F(TextureCalls, Bitmap24WithAMipmapFilter) {
    std::string file = dir.write("a.bmp", make_truecolor_bmp(4, 2, 24, std::vector<std::uint32_t>(8, 0x123456)));
    GL_MIN_FILTER = GL_LINEAR_MIPMAP_LINEAR;
    gl_recorder::Scope scope;
    TEXTURELOADID(file.c_str(), 20);
    EXPECT_EQ(masked(recorded()),
              join(join(bitmap_setup, parameters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR)),
                   {"glTexImage2D(0xde1, 0, 3, 4, 2, 0, 0x1907, 0x1401, p)",
                    "gluBuild2DMipmaps(0xde1, 3, 4, 2, 0x1907, 0x1401, p)"}));
}

TEST_F(TextureCalls, Bitmap32WithLinearFiltersIntoAnOccupiedSlot) {
    std::string file = dir.write("b.bmp", make_truecolor_bmp(2, 2, 32, std::vector<std::uint32_t>(4, 0x80123456)));
    TEXTURELOADID(file.c_str(), 21);
    gl_recorder::Scope scope;
    TEXTURELOADID(file.c_str(), 21);
    std::vector<std::string> expected = bitmap_setup;
    expected.insert(expected.begin() + 2, "glDeleteTextures(1, p)");  // the slot's old texture
    EXPECT_EQ(masked(recorded()), join(join(expected, parameters(GL_LINEAR, GL_LINEAR)),
                                       {"glTexImage2D(0xde1, 0, 6408, 2, 2, 0, 0x80e1, 0x1401, p)"}));
}

TEST_F(TextureCalls, BitmapThatGivesNoImage) {
    gl_recorder::Scope scope;
    TEXTURELOADID(dir.path("missing.bmp").c_str(), 22);
    EXPECT_EQ(masked(recorded()), join(bitmap_setup, parameters(GL_LINEAR, GL_LINEAR)));
}

TEST_F(TextureCalls, Tga24OfWidth5WithMipmapsRealignsAroundTheUpload) {
    Bytes body(5 * 2 * 3, 0x40);
    std::string file = dir.write("c.tga", make_tga(2, 5, 2, 24, body));
    GL_MIN_FILTER = GL_NEAREST_MIPMAP_NEAREST;
    GL_MAG_FILTER = GL_NEAREST;
    gl_recorder::Scope scope;
    TEXTURELOADTGAID(file, 20);
    EXPECT_EQ(masked(recorded()),
              join(join({"glEnable(0xde1)", "glGenTextures(1, p)", "glBindTexture(0xde1, 0x?)",
                         "glGetIntegerv(0xcf5, p)", "glPixelStorei(0xcf5, 1)",
                         "glTexImage2D(0xde1, 0, 3, 5, 2, 0, 0x1907, 0x1401, p)"},
                        parameters(GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST)),
                   {"gluBuild2DMipmaps(0xde1, 3, 5, 2, 0x1907, 0x1401, p)", "glPixelStorei(0xcf5, 4)"}));
}

TEST_F(TextureCalls, Tga32WithMipmapsTakesRedFirstPixels) {
    std::string file = dir.write("d.tga", make_tga(10, 3, 1, 32, {0x82, 1, 2, 3, 4}));
    GL_MIN_FILTER = GL_LINEAR_MIPMAP_NEAREST;
    gl_recorder::Scope scope;
    TEXTURELOADTGAID(file, 21);
    EXPECT_EQ(masked(recorded()),
              join(join({"glEnable(0xde1)", "glGenTextures(1, p)", "glBindTexture(0xde1, 0x?)",
                         "glGetIntegerv(0xcf5, p)", "glTexImage2D(0xde1, 0, 4, 3, 1, 0, 0x1908, 0x1401, p)"},
                        parameters(GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR)),
                   {"gluBuild2DMipmaps(0xde1, 4, 3, 1, 0x1908, 0x1401, p)"}));
}

TEST_F(TextureCalls, RefusedOrMissingTgaMakesNoCall) {
    std::string file = dir.write("e.tga", make_tga(3, 1, 1, 8, {1}));
    gl_recorder::Scope scope;
    TEXTURELOADTGAID(file, 22);
    TEXTURELOADTGAID(dir.path("missing.tga"), 22);
    EXPECT_TRUE(recorded().empty());
}

TEST_F(TextureCalls, SelectorsOnlyBind) {
    gl_recorder::Scope scope;
    TEXTURESELECTID(499);
    TEXTURETGASELECTID(199);
    EXPECT_EQ(recorded(), (std::vector<std::string>{"glBindTexture(0xde1, 0x0)", "glBindTexture(0xde1, 0x0)"}));
}

}  // namespace
