// One frame of the grass scene as OpenGL sees it: every call of the frame,
// in order, recorded from the real program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "scene/grass_scene.h"
#include "scene/program.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/scenario.h"
#include "frame_recording.h"

namespace {

using orvex_test::E;
using orvex_test::gl_call_text;
namespace rec = orvex_test::gl_recorder;

// The expected stream: an entry ending in "(" matches any call of that name,
// any other entry the call's exact text.
struct Stream {
    std::vector<std::string> calls;
    void any(const char* name) { calls.push_back(std::string(name) + "("); }
    template <class... T>
    void exact(const char* name, T... args) {
        calls.push_back(gl_call_text(name, args...));
    }
};

void clear_colour(Stream& s) { s.exact("glClearColor", 0.0f, 0.0f, 0.0f, 0.0f); }

void orthographic(Stream& s) {
    clear_colour(s);
    s.exact("glViewport", GLint{0}, GLint{0}, GLsizei{800}, GLsizei{600});
    s.exact("glMatrixMode", E(GL_PROJECTION));
    s.exact("glLoadIdentity");
    s.exact("glOrtho", -2.0, 2.0, -1200.0 / 800.0, 1200.0 / 800.0, -2.0, 2.0);
    s.exact("glMatrixMode", E(GL_MODELVIEW));
    s.exact("glLoadIdentity");
    s.exact("glEnable", E(GL_DEPTH_TEST));
    s.exact("glDepthFunc", E(GL_LEQUAL));
    s.exact("glEnable", E(GL_NORMALIZE));
}

void perspective(Stream& s) {
    clear_colour(s);
    s.exact("glViewport", GLint{0}, GLint{0}, GLsizei{800}, GLsizei{600});
    s.exact("glMatrixMode", E(GL_PROJECTION));
    s.exact("glLoadIdentity");
    s.exact("gluPerspective", 45.0, 800.0 / 600.0, 0.1, 100.0);
    s.exact("glMatrixMode", E(GL_MODELVIEW));
    s.exact("glLoadIdentity");
    s.exact("glClearDepth", 100.0);
    s.exact("glEnable", E(GL_DEPTH_TEST));
    s.exact("glDepthFunc", E(GL_LEQUAL));
    s.exact("glColor4f", 1.0f, 1.0f, 1.0f, 0.5f);
    s.exact("glBlendFunc", E(GL_SRC_ALPHA), E(GL_ONE));
    s.exact("glLightModeli", E(GL_LIGHT_MODEL_LOCAL_VIEWER), GLint{1});
    s.exact("glHint", E(GL_LINE_SMOOTH_HINT), E(GL_NICEST));
    s.exact("glHint", E(GL_POLYGON_SMOOTH_HINT), E(GL_NICEST));
    s.exact("glHint", E(GL_PERSPECTIVE_CORRECTION_HINT), E(GL_NICEST));
    s.exact("glEnable", E(GL_AUTO_NORMAL));
    s.exact("glEnable", E(GL_NORMALIZE));
}

// The ground square: two-sided, unculled, one normal for the four corners
// P2, P1, P3, P4 with the texture repeated three times.
void ground(Stream& s) {
    s.exact("glLightModeli", E(GL_LIGHT_MODEL_TWO_SIDE), GLint{1});
    s.exact("glDisable", E(GL_CULL_FACE));
    s.exact("glBegin", E(GL_QUADS));
    s.exact("glNormal3f", -0.0f, 1.0f, 0.0f);  // the cross product's x is 0 * -20 - 0 * 0
    s.exact("glTexCoord2f", 3.0f, 3.0f);
    s.exact("glVertex3f", 10.0f, 0.0f, -10.0f);
    s.exact("glTexCoord2f", 0.0f, 3.0f);
    s.exact("glVertex3f", -10.0f, 0.0f, -10.0f);
    s.exact("glTexCoord2f", 0.0f, 0.0f);
    s.exact("glVertex3f", -10.0f, 0.0f, 10.0f);
    s.exact("glTexCoord2f", 3.0f, 0.0f);
    s.exact("glVertex3f", 10.0f, 0.0f, 10.0f);
    s.exact("glEnd");
    s.exact("glEnable", E(GL_CULL_FACE));
    s.exact("glLightModeli", E(GL_LIGHT_MODEL_TWO_SIDE), GLint{0});
}

// The sphere: turned onto the y axis, 20 strips of 42 vertices.
void sphere(Stream& s) {
    s.exact("glPushMatrix");
    s.exact("glRotatef", 90.0f, 1.0f, 0.0f, 0.0f);
    for (int band = 0; band < 20; ++band) {
        s.exact("glBegin", E(GL_TRIANGLE_STRIP));
        for (int v = 0; v < 42; ++v) {
            s.any("glNormal3f");
            s.any("glTexCoord2f");
            s.any("glVertex3f");
        }
        s.exact("glEnd");
    }
    s.exact("glPopMatrix");
}

void wall(Stream& s) {
    s.exact("glPushMatrix");
    s.exact("glTranslatef", 0.0f, 0.0f, 0.0f);
    s.exact("glBegin", E(GL_QUADS));
    for (int face = 0; face < 6; ++face) {
        s.any("glNormal3f");
        for (int corner = 0; corner < 4; ++corner) {
            s.any("glTexCoord2f");
            s.any("glVertex3f");
        }
    }
    s.exact("glEnd");
    s.exact("glPopMatrix");
}

// 50 alpha-tested shells of a model.
void grass(Stream& s, float x, float y, float z, bool linear, void (*model)(Stream&)) {
    s.exact("glEnable", E(GL_ALPHA_TEST));
    s.exact("glPushMatrix");
    s.exact("glTranslatef", x, y, z);
    for (int i = 0; i < 50; ++i) {
        s.any("glAlphaFunc");
        s.exact("glPushMatrix");
        s.any("glTranslatef");
        if (!linear) s.any("glScalef");
        model(s);
        s.exact("glPopMatrix");
    }
    s.exact("glPopMatrix");
    s.exact("glDisable", E(GL_ALPHA_TEST));
}

Stream expected_frame() {
    Stream s;
    s.exact("glClear", GLbitfield{GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT});
    s.exact("glLoadIdentity");
    orthographic(s);
    perspective(s);
    s.exact("glTranslatef", 0.0f, 0.0f, -30.0f);
    s.exact("glRotatef", 45.0f, 1.0f, 0.0f, 0.0f);
    s.exact("glTranslatef", 0.0f, 0.0f, -orvex::DEPTH);
    s.exact("glRotatef", orvex::XROT, 1.0f, 0.0f, 0.0f);
    s.exact("glRotatef", orvex::YROT, 0.0f, 1.0f, 0.0f);
    s.exact("glBindTexture", E(GL_TEXTURE_2D), GLuint{orvex::TEXTURETGA2[grass::SELTEX].TEXID});
    grass(s, 0, 0, 0, true, ground);
    grass(s, 4, 3, 0, false, sphere);
    s.exact("glBindTexture", E(GL_TEXTURE_2D), GLuint{orvex::TEXTUREID2[0]});
    ground(s);
    s.exact("glBindTexture", E(GL_TEXTURE_2D), GLuint{orvex::TEXTUREID2[1]});
    s.exact("glPushMatrix");
    s.exact("glTranslatef", 4.0f, 3.0f, 0.0f);
    sphere(s);
    s.exact("glPopMatrix");
    s.exact("glPushMatrix");
    s.exact("glTranslatef", -4.0f, 0.0f, -1.0f);
    wall(s);
    s.exact("glPopMatrix");
    return s;
}

TEST(SceneFrame, FollowsTheFourteenStepsInOrder) {
    EXPECT_SCENARIO({
        SCENARIO_CHECK(orvex_test::run_recording_third_frame() == 0);
        SCENARIO_CHECK(orvex::TEXTURETGA2[0].TEXID != 0 && orvex::TEXTUREID2[0] != 0 && orvex::TEXTUREID2[1] != 0);

        // The frame loop clears the colour buffer, then OPENGL_DRAW runs; the
        // headless display reads the frame back at the swap.
        std::vector<orvex_test::GlCall> draw = orvex_test::recorded_drawing();
        SCENARIO_CHECK(!draw.empty());

        Stream want = expected_frame();
        if (draw.size() != want.calls.size())
            std::fprintf(stderr, "recorded %zu calls, expected %zu\n", draw.size(), want.calls.size());
        std::size_t n = std::min(draw.size(), want.calls.size());
        for (std::size_t i = 0; i < n; ++i) {
            const std::string& w = want.calls[i];
            bool ok = w.back() == '(' ? draw[i].name + "(" == w : draw[i].text() == w;
            if (!ok) {
                std::fprintf(stderr, "call %zu: got %s, expected %s\n", i, draw[i].text().c_str(), w.c_str());
                SCENARIO_CHECK(ok);
            }
        }
        SCENARIO_CHECK(draw.size() == want.calls.size());
    });
}

}  // namespace
