// Geometry on the window's real rendering context: what the primitives
// draw, read back from the frame buffer.
#include <gtest/gtest.h>

#include "framework/orvex.h"
#include "tests/portable/window_once.h"
#include "framework/geometry/primitives.h"
#include "framework/geometry/vectors.h"

namespace {

using namespace orvex;

class RealContext : public testing::Test {
protected:
    static void SetUpTestSuite() { orvex_test::open_window_once(); }

    void SetUp() override {
        ASSERT_EQ(wglGetCurrentContext(), RCWINDOW);
        glViewport(0, 0, 64, 64);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -2, 2);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 1, 1);
    }

    static unsigned red_at(int x, int y) {
        glFinish();
        unsigned char p[4] = {};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return p[0];
    }
};

TEST_F(RealContext, SphereCoversItsDiscAndNothingElse) {
    SFERA(0, 0, 0, 0.5f, 24, 12, 1);
    EXPECT_EQ(red_at(32, 32), 255u);  // the centre
    EXPECT_EQ(red_at(32, 44), 255u);  // inside the radius of 16 pixels
    EXPECT_EQ(red_at(32, 52), 0u);    // outside it
    EXPECT_EQ(red_at(2, 2), 0u);
}

TEST_F(RealContext, BoxCoversItsSquare) {
    CUBO(0.25f, 0, 0, -0.25f, -0.25f, -0.25f, 0.25f, 0.25f, 0.25f, 1);
    EXPECT_EQ(red_at(40, 32), 255u);  // the box's centre, moved right by 0.25
    EXPECT_EQ(red_at(45, 36), 255u);
    EXPECT_EQ(red_at(30, 32), 0u);    // left of it
    EXPECT_EQ(red_at(40, 45), 0u);    // above it
}

TEST_F(RealContext, FaceNormalPointsTowardsTheViewer) {
    FINDNORMAL(0, 0, 0, 1, 0, 0, 0, 1, 0);
    EXPECT_DOUBLE_EQ(FNORMAL[1], 0);
    EXPECT_DOUBLE_EQ(FNORMAL[2], 0);
    EXPECT_DOUBLE_EQ(FNORMAL[3], 1);
}

}  // namespace
