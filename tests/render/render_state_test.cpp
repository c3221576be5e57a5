// Projection, lighting and render modes: the exact OpenGL streams, the
// values OPENGL_I2D leaves in OFFX and OFFY, the fatal cases, and what
// culling and two-sided lighting do to the pixels.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;

std::string digits15(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", static_cast<double>(v));
    return buf;
}

class RenderState : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(open_gl_window()); }
};

TEST_F(RenderState, PerspectiveSetUpSendsItsFixedSequence) {
    gl_recorder::Scope rec;
    orvex::OPENGL_INIT(100.0, 0.5, 0.1, 0.2, 0.3);
    EXPECT_EQ(gl_recorder::texts(),
              (std::vector<std::string>{
                  gl_call_text("glClearColor", 0.1f, 0.2f, 0.3f, 0.5f),
                  gl_call_text("glViewport", 0, 0, 800, 600),
                  gl_call_text("glMatrixMode", E(GL_PROJECTION)),
                  gl_call_text("glLoadIdentity"),
                  gl_call_text("gluPerspective", 45.0, 800.0 / 600.0, 0.1, 100.0),
                  gl_call_text("glMatrixMode", E(GL_MODELVIEW)),
                  gl_call_text("glLoadIdentity"),
                  gl_call_text("glClearDepth", 100.0),
                  gl_call_text("glEnable", E(GL_DEPTH_TEST)),
                  gl_call_text("glDepthFunc", E(GL_LEQUAL)),
                  gl_call_text("glColor4f", 1.0f, 1.0f, 1.0f, 0.5f),
                  gl_call_text("glBlendFunc", E(GL_SRC_ALPHA), E(GL_ONE)),
                  gl_call_text("glLightModeli", E(GL_LIGHT_MODEL_LOCAL_VIEWER), 1),
                  gl_call_text("glHint", E(GL_LINE_SMOOTH_HINT), E(GL_NICEST)),
                  gl_call_text("glHint", E(GL_POLYGON_SMOOTH_HINT), E(GL_NICEST)),
                  gl_call_text("glHint", E(GL_PERSPECTIVE_CORRECTION_HINT), E(GL_NICEST)),
                  gl_call_text("glEnable", E(GL_AUTO_NORMAL)),
                  gl_call_text("glEnable", E(GL_NORMALIZE)),
              }));
    EXPECT_EQ(gl_recorder::calls()[4].d(1), 1.3333333333333333);
    gl_recorder::set_enabled(false);
    // OpenGL clamps the clear depth: every far plane of 1 or more clears to 1.
    GLdouble clear_depth = 0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clear_depth);
    EXPECT_EQ(clear_depth, 1.0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(RenderState, PerspectiveWithZeroHeightPassesAnInfiniteAspect) {
    orvex::HEIGHT = 0;
    gl_recorder::Scope rec;
    orvex::OPENGL_INIT(100.0, 1, 0, 0, 0);
    const auto persp = gl_recorder::calls_named("gluPerspective");
    ASSERT_EQ(persp.size(), 1u);
    EXPECT_EQ(persp[0].d(1), std::numeric_limits<double>::infinity());
}

struct OrthoCase {
    int width, height;
    const char* offx;
    const char* offy;
    double y_top;
};

TEST_F(RenderState, OrthographicSetUpKeepsTheAspectAndSetsTheOffsets) {
    const OrthoCase cases[] = {
        {800, 600, "-2.04999995231628", "-1.45000004768372", 1.5},
        {600, 600, "-1.04999995231628", "-0.449999988079071", 2.0},
        {1920, 1080, "-2.04999995231628", "-1.45000004768372", 1.125},  // any HEIGHT < WIDTH gives Q = 0
        {300, 900, "0.949999988079071", "1.54999995231628", 6.0},
    };
    for (const OrthoCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        orvex::WIDTH = c.width;
        orvex::HEIGHT = c.height;
        orvex::OFFX = orvex::OFFY = 0;
        gl_recorder::Scope rec;
        orvex::OPENGL_I2D(0.25, 1.0, 0.5, 0.0);
        EXPECT_EQ(digits15(orvex::OFFX), c.offx);
        EXPECT_EQ(digits15(orvex::OFFY), c.offy);
        EXPECT_EQ(gl_recorder::texts(),
                  (std::vector<std::string>{
                      gl_call_text("glClearColor", 1.0f, 0.5f, 0.0f, 0.25f),
                      gl_call_text("glViewport", 0, 0, c.width, c.height),
                      gl_call_text("glMatrixMode", E(GL_PROJECTION)),
                      gl_call_text("glLoadIdentity"),
                      gl_call_text("glOrtho", -2.0, 2.0, -c.y_top, c.y_top, -2.0, 2.0),
                      gl_call_text("glMatrixMode", E(GL_MODELVIEW)),
                      gl_call_text("glLoadIdentity"),
                      gl_call_text("glEnable", E(GL_DEPTH_TEST)),
                      gl_call_text("glDepthFunc", E(GL_LEQUAL)),
                      gl_call_text("glEnable", E(GL_NORMALIZE)),
                  }));
    }
}

TEST_F(RenderState, OrthographicSetUpEndsTheProgramOnAZeroWidthOrAnOverflowingHeight) {
    struct Case {
        int width, height, status;
        const char* message;
    } cases[] = {
        {0, 600, orvex::EXIT_DIVISION_BY_ZERO, "division by zero"},
        {800, 1073741824, orvex::EXIT_OVERFLOW_ERROR, "overflow"},
        {800, -1073741824, orvex::EXIT_OVERFLOW_ERROR, "overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        EXPECT_EXIT(
            {
                open_gl_window();
                orvex::WIDTH = c.width;
                orvex::HEIGHT = c.height;
                orvex::OPENGL_I2D(1, 0, 0, 0);
            },
            testing::ExitedWithCode(c.status), c.message);
    }
    // The largest height whose products still fit.
    orvex::HEIGHT = 1073741823;
    orvex::OPENGL_I2D(1, 0, 0, 0);
}

TEST_F(RenderState, LightSetUpPassesTheColourGlobalsAndThePosition) {
    const float saved_ambient[4] = {orvex::AMBIENTLIGHT[0], orvex::AMBIENTLIGHT[1], orvex::AMBIENTLIGHT[2],
                                    orvex::AMBIENTLIGHT[3]};
    EXPECT_EQ(saved_ambient[0], 0.5f);
    orvex::AMBIENTLIGHT[1] = 0.25f;  // a program may change the colours before the call
    gl_recorder::Scope rec;
    orvex::SETGLLIGHT(GL_LIGHT1, 0.0f, 0.0f, 0.0f, 0.1f);
    for (int k = 0; k < 4; ++k) orvex::AMBIENTLIGHT[k] = saved_ambient[k];

    const auto ptr = [](const float* p) { return p; };
    EXPECT_EQ(gl_recorder::texts(),
              (std::vector<std::string>{
                  gl_call_text("glEnable", E(GL_LIGHTING)),
                  gl_call_text("glLightfv", E(GL_LIGHT1), E(GL_AMBIENT), ptr(orvex::AMBIENTLIGHT)) +
                      " {0.5f, 0.25f, 0.5f, 1f}",
                  gl_call_text("glLightfv", E(GL_LIGHT1), E(GL_DIFFUSE), ptr(orvex::DIFFUSELIGHT)) +
                      " {1f, 1f, 1f, 1f}",
                  gl_call_text("glLightfv", E(GL_LIGHT1), E(GL_SPECULAR), ptr(orvex::SPECULARLIGHT)) +
                      " {1f, 1f, 1f, 1f}",
                  gl_call_text("glEnable", E(GL_LIGHT1)),
                  gl_call_text("glLightfv", E(GL_LIGHT1), E(GL_POSITION), ptr(orvex::LIGHTPOSITION)) +
                      " {0f, 0f, 0f, 0.100000001f}",
              }));
    EXPECT_EQ(orvex::LIGHTPOSITION[3], 0.1f);
    gl_recorder::set_enabled(false);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
}

TEST_F(RenderState, CullingAndTwoSidedLightingSwitches) {
    gl_recorder::Scope rec;
    orvex::SETGLREFRACTIVE();
    orvex::TWOSIDEON();
    orvex::TWOSIDEOFF();
    EXPECT_EQ(gl_recorder::texts(), (std::vector<std::string>{
                                        gl_call_text("glEnable", E(GL_CULL_FACE)),
                                        gl_call_text("glCullFace", E(GL_BACK)),
                                        gl_call_text("glFrontFace", E(GL_CCW)),
                                        gl_call_text("glLightModeli", E(GL_LIGHT_MODEL_TWO_SIDE), 1),
                                        gl_call_text("glLightModeli", E(GL_LIGHT_MODEL_TWO_SIDE), 0),
                                    }));
    gl_recorder::set_enabled(false);
    glDisable(GL_CULL_FACE);
}

// ---- rendered outcomes -------------------------------------------------------------

// A frame with an orthographic view of x, y in -1..1 over the whole drawable,
// nothing enabled.
void plain_frame() {
    glViewport(0, 0, drawable_width(), drawable_height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (GLenum cap : {GL_LIGHTING, GL_LIGHT0, GL_CULL_FACE, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_ALPHA_TEST,
                       GL_BLEND})
        glDisable(cap);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

// The red channel at a point of the -1..1 view.
int red_at(const GlPixels& p, float x, float y) {
    const int px = static_cast<int>((x + 1) / 2 * static_cast<float>(p.width));
    const int py = static_cast<int>((y + 1) / 2 * static_cast<float>(p.height));
    return p.red(px, py);
}

// A square of half-size 0.3 around (cx, 0) in the plane z = 0, drawn
// counter-clockwise or clockwise as the viewer sees it.
void square(float cx, bool counter_clockwise) {
    glBegin(GL_QUADS);
    if (counter_clockwise) {
        glVertex3f(cx - 0.3f, -0.3f, 0);
        glVertex3f(cx + 0.3f, -0.3f, 0);
        glVertex3f(cx + 0.3f, 0.3f, 0);
        glVertex3f(cx - 0.3f, 0.3f, 0);
    } else {
        glVertex3f(cx - 0.3f, -0.3f, 0);
        glVertex3f(cx - 0.3f, 0.3f, 0);
        glVertex3f(cx + 0.3f, 0.3f, 0);
        glVertex3f(cx + 0.3f, -0.3f, 0);
    }
    glEnd();
}

TEST_F(RenderState, CullingHidesFacesWoundClockwise) {
    plain_frame();
    orvex::SETGLREFRACTIVE();
    square(-0.5f, true);
    square(0.5f, false);
    const GlPixels p = read_gl_pixels();
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(red_at(p, -0.5f, 0.0f), 255) << "front face drawn";
    EXPECT_EQ(red_at(p, 0.5f, 0.0f), 0) << "back face culled";
}

TEST_F(RenderState, TwoSidedLightingLightsAGroundQuadSeenFromBelow) {
    // A ground quad in y = 0 whose front (normal +y) faces up, seen from
    // below by a camera looking up, lit by a light at the eye.
    const auto draw = [](bool two_sided) {
        plain_frame();
        orvex::SETGLLIGHT(GL_LIGHT0, 0.0f, 0.0f, 0.0f, 0.1f);
        if (two_sided) orvex::TWOSIDEON();
        glRotatef(-90, 1, 0, 0);  // the camera looks up at the quad's underside
        glTranslatef(0, 0.5f, 0);
        glBegin(GL_QUADS);
        glNormal3f(0, 1, 0);
        glVertex3f(-0.5f, 0, 0.5f);
        glVertex3f(0.5f, 0, 0.5f);
        glVertex3f(0.5f, 0, -0.5f);
        glVertex3f(-0.5f, 0, -0.5f);
        glEnd();
        orvex::TWOSIDEOFF();
        const GlPixels p = read_gl_pixels();
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        return red_at(p, 0.0f, 0.0f);
    };
    const int one_sided = draw(false);
    const int two_sided = draw(true);
    // One-sided: the underside keeps the upward normal, turned away from the
    // light, and gets ambient light only (about 0.14). Two-sided: its normal
    // is reversed and it is lit; lighting is computed at the corners, where
    // the light falls in at 55 degrees: 0.14 + 0.8 x 0.577 = 0.60.
    EXPECT_LT(one_sided, 50);
    EXPECT_GT(two_sided, 130);
}

}  // namespace
