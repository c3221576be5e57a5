// The OpenGL call recorder: records in order, bit for bit, and forwards.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;

class GlRecorder : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(open_gl_window()); }
};

TEST_F(GlRecorder, RecordsFloatsBitForBitAndStillForwardsTheCall) {
    const float tiny = std::numeric_limits<float>::denorm_min();
    gl_recorder::Scope rec;
    glNormal3f(-0.0f, tiny, 0.1f);
    gl_recorder::set_enabled(false);
    GLfloat current[3] = {};
    glGetFloatv(GL_CURRENT_NORMAL, current);

    ASSERT_EQ(gl_recorder::calls().size(), 1u);
    const GlCall& c = gl_recorder::calls()[0];
    EXPECT_EQ(c.name, "glNormal3f");
    EXPECT_EQ(float_bits(c.f(0)), 0x80000000u);
    EXPECT_EQ(float_bits(c.f(1)), 1u);
    EXPECT_EQ(float_bits(c.f(2)), float_bits(0.1f));
    // The library received the same values.
    EXPECT_EQ(float_bits(current[2]), float_bits(0.1f));
    EXPECT_TRUE(std::signbit(current[0]));
}

TEST_F(GlRecorder, KeepsOrderTypesAndPointedValues) {
    const GLfloat position[4] = {1.0f, 2.0f, 3.0f, 0.25f};
    gl_recorder::Scope rec;
    glMatrixMode(GL_MODELVIEW);
    glLightfv(GL_LIGHT3, GL_POSITION, position);
    glOrtho(-2.0, 2.0, -1.5, 1.5, -2.0, 2.0);
    glViewport(0, 0, 16, 8);
    const GLuint list = glGenLists(1);
    glDeleteLists(list, 1);

    EXPECT_NE(list, 0u) << "the result of the library comes back through the recorder";
    EXPECT_EQ(gl_recorder::texts(),
              (std::vector<std::string>{
                  gl_call_text("glMatrixMode", E(GL_MODELVIEW)),
                  gl_call_text("glLightfv", E(GL_LIGHT3), E(GL_POSITION), static_cast<const GLfloat*>(position)) +
                      " {1f, 2f, 3f, 0.25f}",
                  "glOrtho(-2.0, 2.0, -1.5, 1.5, -2.0, 2.0)",
                  "glViewport(0, 0, 16, 8)",
                  "glGenLists(1)",
                  gl_call_text("glDeleteLists", list, GLsizei{1}),
              }));
    const GlCall& light = gl_recorder::calls()[1];
    EXPECT_EQ(light.u(0), unsigned{GL_LIGHT3});
    EXPECT_EQ(light.p(2), position);
    EXPECT_THROW(light.f(0), std::logic_error) << "an enumerant is not a float";
    EXPECT_THROW(light.u(3), std::logic_error) << "there is no fourth argument";
}

TEST_F(GlRecorder, RecordsNothingWhileOffAndClearsOnANewScope) {
    gl_recorder::set_enabled(false);
    gl_recorder::clear();
    glEnable(GL_NORMALIZE);
    EXPECT_TRUE(gl_recorder::calls().empty());
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE)) << "forwarded while off";
    {
        gl_recorder::Scope rec;
        glDisable(GL_NORMALIZE);
        EXPECT_EQ(gl_recorder::count("glDisable"), 1u);
    }
    EXPECT_FALSE(gl_recorder::enabled());
    {
        gl_recorder::Scope rec;
        EXPECT_TRUE(gl_recorder::calls().empty());
    }
}

}  // namespace
