// Key queries and the mouse camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex;
using orvex_test::gl_call_text;
namespace rec = orvex_test::gl_recorder;

TEST(KeyQuery, ReadsTheKeyTableByCharacterCodeWithoutConsumingIt) {
    std::fill(SETKEY.data(), SETKEY.data() + SETKEY.size(), 0);
    EXPECT_FALSE(SETGLKEY('1'));
    SETKEY['1'] = -1;  // the main-keyboard 1, as the window procedure stores a press
    for (int frame = 0; frame < 3; ++frame) EXPECT_TRUE(SETGLKEY('1')) << "frame " << frame;
    EXPECT_EQ(SETKEY['1'], -1);
    SETKEY['1'] = 0;
    EXPECT_FALSE(SETGLKEY('1'));
    // Lower-case letters name other keys: 'a' is code 97, the keypad 1.
    SETKEY[VK_NUMPAD1] = -1;
    EXPECT_TRUE(SETGLKEY('a'));
    EXPECT_FALSE(SETGLKEY('A'));
    SETKEY[VK_NUMPAD1] = 0;
    // Characters above 127 are codes up to 255, inside the table.
    SETKEY[0xE8] = -1;
    EXPECT_TRUE(SETGLKEY('\xE8'));
    SETKEY[0xE8] = 0;
    EXPECT_FALSE(SETGLKEY('\x1B')) << "Escape never has an entry";
}

struct CameraCase {
    std::int32_t mode;
    const char* translate;  // which component carries -DEPTH
    float first_axis[3];
    float second_axis[3];
};

TEST(MouseCamera, EachModeTranslatesThenTurnsAboutItsAxes) {
    ASSERT_TRUE(orvex_test::open_gl_window());
    const CameraCase cases[] = {
        {GL_M0, "z", {1, 0, 0}, {0, 1, 0}},
        {GL_MX, "y", {1, 0, 0}, {0, 0, 1}},
        {GL_MY, "x", {0, 0, -1}, {0, 1, 0}},
        {GL_MZ, "z", {0, 1, 0}, {1, 0, 0}},
    };
    for (const CameraCase& c : cases) {
        DEPTH = 12;
        XROT = 30;
        YROT = -15;
        MSPEED = 0;
        MY = TGLVERTEX{9, 9, 9};
        std::vector<std::string> calls;
        {
            rec::Scope scope;
            glPushMatrix();
            SETGLMOUSEMOVE(c.mode, 2);
            glPopMatrix();
            calls = rec::texts();
        }
        float t[3] = {0, 0, 0};
        t[std::string("xyz").find(c.translate)] = -12;
        const std::vector<std::string> expected = {
            gl_call_text("glPushMatrix"),
            gl_call_text("glTranslatef", t[0], t[1], t[2]),
            gl_call_text("glRotatef", 30.0f, c.first_axis[0], c.first_axis[1], c.first_axis[2]),
            gl_call_text("glRotatef", -15.0f, c.second_axis[0], c.second_axis[1], c.second_axis[2]),
            gl_call_text("glPopMatrix"),
        };
        EXPECT_EQ(calls, expected) << "mode " << c.mode;
        EXPECT_EQ(MSPEED, 2);
        EXPECT_EQ(MY.X, t[0]);
        EXPECT_EQ(MY.Y, t[1]);
        EXPECT_EQ(MY.Z, t[2]);
    }
}

TEST(MouseCamera, AnyOtherModeOnlySetsTheSpeed) {
    ASSERT_TRUE(orvex_test::open_gl_window());
    MY = TGLVERTEX{1, 2, 3};
    rec::Scope scope;
    for (std::int32_t mode : {4, 7, -1}) {
        SETGLMOUSEMOVE(mode, 4);
        EXPECT_EQ(MSPEED, 4);
    }
    EXPECT_TRUE(rec::calls().empty());
    EXPECT_EQ(MY.X, 1.0f);
    EXPECT_EQ(MY.Z, 3.0f);
}

TEST(MouseCamera, NegatesTheStoredDepthExactly) {
    ASSERT_TRUE(orvex_test::open_gl_window());
    DEPTH = 0.1f;
    rec::Scope scope;
    glPushMatrix();
    SETGLMOUSEMOVE(GL_M0, 2);
    glPopMatrix();
    auto translations = rec::calls_named("glTranslatef");
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(orvex_test::float_bits(translations[0].f(2)), orvex_test::float_bits(-0.1f));
    DEPTH = 0;
    rec::clear();
    SETGLMOUSEMOVE(GL_M0, 2);
    EXPECT_EQ(orvex_test::float_bits(rec::calls_named("glTranslatef")[0].f(2)), orvex_test::float_bits(-0.0f));
}

}  // namespace
