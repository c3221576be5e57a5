// The grass effect: shell counts, the exact per-shell stream for the ground
// and the sphere, the state left behind, the fatal shell counts, and what the
// shells look like.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;

// The two models of the scene: a textured ground square, and the sphere
// turned so that its poles point along y.
void ground() {
    orvex::GLBEGIN(GL_QUADS);
    glNormal3f(0, 1, 0);
    orvex::LINEFREE(0, 1, 1, 1, -1, 0, 1, 1, 0, 1, true);
    orvex::LINEFREE(1, 0, 0, 0, 1, 0, -1, -1, 0, -1, true);
    orvex::GLEND();
}

void sphere() {
    glPushMatrix();
    glRotatef(90, 1, 0, 0);
    orvex::SFERA(0, 0, 0, 4, 20, 20, 1.0f / 3.0f);
    glPopMatrix();
}

int g_model_calls = 0;
void counting_model() { ++g_model_calls; }

// The stream one model call produces on its own.
std::vector<std::string> model_stream(orvex::ORVEXPROCEDURE model) {
    gl_recorder::Scope rec;
    model();
    return gl_recorder::texts();
}

// The nearest single to a decimal number.
float nearest_single(const std::string& decimal) { return std::strtof(decimal.c_str(), nullptr); }
// "0.42" for hundredths = 42, "1.098" for thousandths = 1098.
std::string decimal(int whole, int fraction, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%0*d", whole, digits, fraction);
    return buf;
}

struct Shell {
    float ref = 0, lift = 0;
    bool scaled = false;
    float sx = 0, sy = 0, sz = 0;
};

// Checks the effect's stream around the shells and splits it into shells;
// every shell must contain exactly the model's own stream.
std::vector<Shell> shells_of(const std::vector<GlCall>& calls, const std::vector<std::string>& model,
                             const std::string& placement) {
    std::vector<Shell> out;
    if (calls.size() < 5) {
        ADD_FAILURE() << "too short a stream: " << calls.size();
        return out;
    }
    EXPECT_EQ(calls[0].text(), gl_call_text("glEnable", E(GL_ALPHA_TEST)));
    EXPECT_EQ(calls[1].text(), gl_call_text("glPushMatrix"));
    EXPECT_EQ(calls[2].text(), placement);
    EXPECT_EQ(calls[calls.size() - 2].text(), gl_call_text("glPopMatrix"));
    EXPECT_EQ(calls[calls.size() - 1].text(), gl_call_text("glDisable", E(GL_ALPHA_TEST)));
    std::size_t k = 3;
    const std::size_t end = calls.size() - 2;
    while (k < end) {
        Shell s;
        if (calls[k].name != "glAlphaFunc" || calls[k + 1].name != "glPushMatrix" ||
            calls[k + 2].name != "glTranslatef") {
            ADD_FAILURE() << "shell " << out.size() << " starts with " << calls[k].text();
            return out;
        }
        EXPECT_EQ(calls[k].u(0), unsigned{GL_GREATER});
        s.ref = calls[k].f(1);
        EXPECT_EQ(float_bits(calls[k + 2].f(0)), 0u);
        EXPECT_EQ(float_bits(calls[k + 2].f(2)), 0u);
        s.lift = calls[k + 2].f(1);
        k += 3;
        if (calls[k].name == "glScalef") {
            s.scaled = true;
            s.sx = calls[k].f(0);
            s.sy = calls[k].f(1);
            s.sz = calls[k].f(2);
            ++k;
        }
        for (const std::string& expected : model) {
            if (k >= end || calls[k].text() != expected) {
                ADD_FAILURE() << "shell " << out.size() << " does not draw the model at call " << k;
                return out;
            }
            ++k;
        }
        if (calls[k].text() != gl_call_text("glPopMatrix")) {
            ADD_FAILURE() << "shell " << out.size() << " does not end with glPopMatrix";
            return out;
        }
        ++k;
        out.push_back(s);
    }
    return out;
}

class Grass : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(open_gl_window());
        orvex::GLVERT3FREMOVE = false;
        orvex::GLVERT3FENABLEEDIT = false;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(Grass, ShellCountRoundsTenTimesQualityToEven) {
    const struct {
        float quality;
        int shells;
    } cases[] = {
        {0.25f, 2},  // 2.5 rounds to even
        {0.75f, 8},  // 7.5 rounds to even
        {0.35f, 3},  // the single nearest 0.35 lies just below it
        {0.15f, 2},  // ... and the one nearest 0.15 just above
        {0.05f, 1},  {0.04f, 0}, {5.0f, 50}, {0.0f, 0}, {-1.0f, 0}, {-0.04f, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("QUALITY " + std::to_string(c.quality));
        g_model_calls = 0;
        gl_recorder::Scope rec;
        orvex::FX_GENGRASS(0, 0, 0, 1, 1, 1, c.quality, counting_model, false);
        EXPECT_EQ(g_model_calls, c.shells);
        EXPECT_EQ(gl_recorder::count("glAlphaFunc"), static_cast<std::size_t>(c.shells));
        if (c.shells == 0) {
            EXPECT_EQ(gl_recorder::names(), (std::vector<std::string>{"glEnable", "glPushMatrix", "glTranslatef",
                                                                      "glPopMatrix", "glDisable"}));
        }
    }
}

TEST_F(Grass, StepsFollowTenTimesQualityNotTheShellCount) {
    // QUALITY 0.35: 3.5 is just below the tie (the single is below 0.35), so
    // 3 shells; their steps are 1 / 3.5 of the height and of full alpha, not 1 / 3.
    gl_recorder::Scope rec;
    orvex::FX_GENGRASS(0, 0, 0, 1, 0, 0, 0.35f, counting_model, true);
    const auto refs = gl_recorder::calls_named("glAlphaFunc");
    const auto lifts = gl_recorder::calls_named("glTranslatef");
    ASSERT_EQ(refs.size(), 3u);
    ASSERT_EQ(lifts.size(), 4u);  // the placement, then one per shell
    const char* const expected[] = {"0", "0.285714298", "0.571428597"};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("shell " + std::to_string(i));
        EXPECT_EQ(float_bits(refs[i].f(1)), float_bits(nearest_single(expected[i])));
        EXPECT_EQ(float_bits(lifts[i + 1].f(1)), float_bits(nearest_single(expected[i])));
    }
}

TEST_F(Grass, GroundShellsAreLiftedInStepWithTheirThreshold) {
    const auto model = model_stream(ground);
    ASSERT_EQ(model.size(), 11u);
    gl_recorder::Scope rec;
    orvex::FX_GENGRASS(0, 0, 0, 1, 0, 0, 5, ground, true);
    const auto shells = shells_of(gl_recorder::calls(), model, gl_call_text("glTranslatef", 0.0f, 0.0f, 0.0f));
    ASSERT_EQ(shells.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE("shell " + std::to_string(i));
        const Shell& s = shells[static_cast<std::size_t>(i)];
        // Reference and lift are both I x 0.02, each the nearest single.
        const float step = nearest_single(decimal(0, 2 * i, 2));
        EXPECT_EQ(float_bits(s.ref), float_bits(step));
        EXPECT_EQ(float_bits(s.lift), float_bits(step));
        EXPECT_FALSE(s.scaled);
    }
    // With LINEAR the widening factors change nothing.
    const auto first = gl_recorder::texts();
    gl_recorder::Scope again;
    orvex::FX_GENGRASS(0, 0, 0, 1, 7, -3, 5, ground, true);
    EXPECT_EQ(gl_recorder::texts(), first);
}

TEST_F(Grass, SphereShellsAreLiftedAndWidened) {
    const auto model = model_stream(sphere);
    ASSERT_EQ(model.size(), 3u + 20u * (2u + 42u * 3u));
    gl_recorder::Scope rec;
    orvex::FX_GENGRASS(4, 3, 0, 0.5f, 1, 1, 5, sphere, false);
    const auto shells = shells_of(gl_recorder::calls(), model, gl_call_text("glTranslatef", 4.0f, 3.0f, 0.0f));
    ASSERT_EQ(shells.size(), 50u);
    const float y_factor = nearest_single("1.01");
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE("shell " + std::to_string(i));
        const Shell& s = shells[static_cast<std::size_t>(i)];
        EXPECT_EQ(float_bits(s.ref), float_bits(nearest_single(decimal(0, 2 * i, 2))));
        EXPECT_EQ(float_bits(s.lift), float_bits(nearest_single(decimal(0, i, 2))));
        ASSERT_TRUE(s.scaled);
        const float widening = nearest_single(decimal(1, 2 * i, 3));
        EXPECT_EQ(float_bits(s.sx), float_bits(widening));
        EXPECT_EQ(float_bits(s.sz), float_bits(widening));
        // Every shell, shell 0 included, has the y factor 1 + 0.002 x QUALITY.
        EXPECT_EQ(float_bits(s.sy), float_bits(y_factor));
    }
    // Shell 49: lifted by 0.49, scaled by (1.098, 1.01, 1.098).
    EXPECT_EQ(shells[49].lift, 0.49f);
    EXPECT_EQ(shells[49].sx, 1.098f);
    EXPECT_EQ(shells[49].sy, 1.01f);
    EXPECT_EQ(shells[49].sz, 1.098f);
    EXPECT_EQ(shells[0].sx, 1.0f);
    EXPECT_EQ(shells[0].sz, 1.0f);
}

TEST_F(Grass, WithoutWideningOnlyTheYFactorDiffersFromOne) {
    gl_recorder::Scope rec;
    orvex::FX_GENGRASS(0, 0, 0, 0, 0, 0, 0.5f, counting_model, false);
    const auto scales = gl_recorder::calls_named("glScalef");
    ASSERT_EQ(scales.size(), 5u);
    for (const GlCall& s : scales) EXPECT_EQ(s.text(), gl_call_text("glScalef", 1.0f, 1.001f, 1.0f));
    // H = 0: every shell in one plane.
    for (const GlCall& t : gl_recorder::calls_named("glTranslatef")) EXPECT_EQ(t.f(1), 0.0f);
}

TEST_F(Grass, LeavesAlphaTestingOffAndTheMatrixAsItWas) {
    glEnable(GL_ALPHA_TEST);
    glTranslatef(1, 2, 3);
    glRotatef(30, 0, 1, 0);
    GLfloat before[16], after[16];
    GLint depth_before = 0, depth_after = 0;
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);

    orvex::FX_GENGRASS(1, 1, 1, 2, 1, 1, 5, sphere, false);

    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(depth_after, depth_before);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(after[k], before[k]) << k;
    // The last shell's reference stays set for whoever enables the test again.
    GLint func = 0;
    GLfloat ref = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
    glGetFloatv(GL_ALPHA_TEST_REF, &ref);
    EXPECT_EQ(func, GL_GREATER);
    EXPECT_NEAR(ref, 0.98f, 1.0 / 255);

    // Without shells the alpha function is not touched.
    glAlphaFunc(GL_LESS, 0.5f);
    orvex::FX_GENGRASS(0, 0, 0, 1, 1, 1, 0, sphere, false);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
    EXPECT_EQ(func, GL_LESS);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(Grass, ShellCountsThatDoNotFitEndTheProgram) {
    const struct {
        const char* what;
        float quality;
        int status;
        const char* message;
    } cases[] = {
        {"not a number", std::numeric_limits<float>::quiet_NaN(), orvex::EXIT_OVERFLOW_ERROR, "overflow error: FX_GENGRASS"},
        {"infinite", std::numeric_limits<float>::infinity(), orvex::EXIT_OVERFLOW_ERROR, "overflow error: FX_GENGRASS"},
        {"beyond 64 bits", 1e18f, orvex::EXIT_OVERFLOW_ERROR, "overflow error: FX_GENGRASS"},
        {"beyond 32 bits", 3e8f, orvex::EXIT_RANGE_ERROR, "range error: FX_GENGRASS"},
        {"below 32 bits", -3e8f, orvex::EXIT_RANGE_ERROR, "range error: FX_GENGRASS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(orvex::FX_GENGRASS(0, 0, 0, 1, 1, 1, c.quality, counting_model, false),
                    testing::ExitedWithCode(c.status), c.message);
    }
}

TEST_F(Grass, ANullModelEndsTheProgramOnceAShellWouldCallIt) {
    // Without shells the model is never called: a null one is no error.
    gl_recorder::Scope rec;
    orvex::FX_GENGRASS(0, 0, 0, 1, 1, 1, 0, nullptr, true);
    EXPECT_EQ(gl_recorder::calls_named("glAlphaFunc").size(), 0u);
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    for (bool linear : {true, false}) {
        SCOPED_TRACE(linear);
        EXPECT_EXIT(orvex::FX_GENGRASS(0, 0, 0, 1, 1, 1, 0.1f, nullptr, linear),
                    testing::ExitedWithCode(orvex::EXIT_NULL_PROCEDURE), "fatal call of a null procedure: FX_GENGRASS: model");
    }
}

// ---- what the shells look like ----------------------------------------------------

// Draws the ground with grass, seen from the side and a little above, with a
// texture whose alpha grows from left to right: the grass is as tall as its
// texels' alpha.
GlPixels draw_grass_from_the_side(float height) {
    glViewport(0, 0, drawable_width(), drawable_height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.5, 1.5, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(20, 1, 0, 0);
    for (GLenum cap : {GL_LIGHTING, GL_CULL_FACE, GL_DEPTH_TEST, GL_BLEND}) glDisable(cap);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);

    std::vector<GLubyte> texels(64 * 64 * 4);
    for (int t = 0; t < 64; ++t)
        for (int s = 0; s < 64; ++s) {
            GLubyte* p = &texels[static_cast<std::size_t>((t * 64 + s) * 4)];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<GLubyte>(s * 4 + 2);
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);

    orvex::FX_GENGRASS(0, 0, 0, height, 0, 0, 5, ground, true);

    GlPixels pixels = read_gl_pixels();
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    return pixels;
}

// Lit pixels in the row at view height y (-1.5..1.5).
int lit_in_row(const GlPixels& p, double y) {
    const int row = static_cast<int>((y + 1.5) / 3 * p.height);
    int n = 0;
    for (int x = 0; x < p.width; ++x) n += p.red(x, row) > 128;
    return n;
}

// The highest lit pixel of the column at view position x, in view units.
double top_of_column(const GlPixels& p, double x) {
    const int col = static_cast<int>((x + 1.5) / 3 * p.width);
    for (int y = p.height - 1; y >= 0; --y)
        if (p.red(col, y) > 128) return y * 3.0 / p.height - 1.5;
    return -10;
}

TEST_F(Grass, HigherShellsShowFewerTexels) {
    const GlPixels flat = draw_grass_from_the_side(0);
    const GlPixels grass = draw_grass_from_the_side(1);
    // The ground alone reaches view height sin 20° = 0.34 at its far edge.
    EXPECT_GT(lit_in_row(flat, 0.2), 0);
    EXPECT_EQ(lit_in_row(flat, 0.5), 0);
    // Rows higher up cross only the shells above them, whose stricter
    // threshold lets fewer texels through.
    const int low = lit_in_row(grass, 0.5), middle = lit_in_row(grass, 0.8), high = lit_in_row(grass, 1.1);
    EXPECT_GT(low, middle + 20);
    EXPECT_GT(middle, high + 20);
    EXPECT_GT(high, 0);
    // Each texel's blade is as tall as its alpha: the right (alpha 0.9) side
    // stands about 0.8 x cos 20° higher than the left (alpha 0.1) side.
    const double rise = top_of_column(grass, 0.8) - top_of_column(grass, -0.8);
    EXPECT_NEAR(rise, 0.8 * std::cos(20 * 3.14159265358979 / 180), 0.1);
}

}  // namespace
