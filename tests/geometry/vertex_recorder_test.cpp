// The vertex recorder: its switches, slot assignment and range checks.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;
using orvex::GLBASEVERTEX3F;

class VertexRecorder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(open_gl_window());
        reset();
    }
    void TearDown() override { reset(); }
    static void reset() {
        std::memset(static_cast<void*>(&GLBASEVERTEX3F), 0, sizeof GLBASEVERTEX3F);
        orvex::GLVERT3FREMOVE = false;
        orvex::GLVERT3FENABLEEDIT = false;
    }
    static void expect_vector(const orvex::TGLVECTOR& v, float x, float y, float z, const std::string& what) {
        EXPECT_EQ(float_bits(v.X), float_bits(x)) << what;
        EXPECT_EQ(float_bits(v.Y), float_bits(y)) << what;
        EXPECT_EQ(float_bits(v.Z), float_bits(z)) << what;
    }
};

TEST_F(VertexRecorder, PassesThroughWithBothSwitchesOff) {
    GLBASEVERTEX3F.GLVERT3FSETNUM = 7;
    GLBASEVERTEX3F.GLVERT3FCOUNT = 2;
    GLBASEVERTEX3F.GLVERT3FTMP[1] = {5, 5, 5};
    const auto before = std::make_unique<orvex::TGLVERTEX3F>(GLBASEVERTEX3F);

    gl_recorder::Scope rec;
    orvex::GLBEGIN(GL_QUADS);
    orvex::GLVERTEX3F(0.1f, -0.0f, 3);
    orvex::GLVERTEX3F(1, 0, 0);
    orvex::GLVERTEX3F(1, 1, 0);
    orvex::GLVERTEX3F(0, 1, 1e-40f);
    orvex::GLEND();

    EXPECT_EQ(gl_recorder::texts(), (std::vector<std::string>{
                                        gl_call_text("glBegin", E(GL_QUADS)),
                                        gl_call_text("glVertex3f", 0.1f, -0.0f, 3.0f),
                                        gl_call_text("glVertex3f", 1.0f, 0.0f, 0.0f),
                                        gl_call_text("glVertex3f", 1.0f, 1.0f, 0.0f),
                                        gl_call_text("glVertex3f", 0.0f, 1.0f, 1e-40f),
                                        gl_call_text("glEnd"),
                                    }));
    // The only change to the record: GLVERT3FMAX := GLVERT3FSETNUM.
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FMAX, 7);
    before->GLVERT3FMAX = 7;
    EXPECT_EQ(std::memcmp(before.get(), &GLBASEVERTEX3F, sizeof GLBASEVERTEX3F), 0);
}

TEST_F(VertexRecorder, RemoveSuppressesTheThreeCallsButNotNormalsOrTextureCoordinates) {
    orvex::GLVERT3FREMOVE = true;
    gl_recorder::Scope rec;
    orvex::GLBEGIN(GL_QUADS);
    glNormal3f(0, 0, 1);
    orvex::LINEFREE(0, 0, 1, 0, 0, 0, 0, 1, 0, 0, true);
    orvex::GLEND();
    EXPECT_EQ(gl_recorder::names(), (std::vector<std::string>{"glNormal3f", "glTexCoord2f", "glTexCoord2f"}));
}

TEST_F(VertexRecorder, RecordsEverySlotAndDrawsNothingWhenBothAreOn) {
    orvex::GLVERT3FREMOVE = true;
    orvex::GLVERT3FENABLEEDIT = true;
    GLBASEVERTEX3F.GLVERT3FSETNUM = 10;
    gl_recorder::Scope rec;
    orvex::GLBEGIN(GL_TRIANGLE_STRIP);
    for (int k = 1; k <= 4; ++k) orvex::GLVERTEX3F(static_cast<float>(k), 0, 0);
    orvex::GLEND();
    EXPECT_TRUE(gl_recorder::calls().empty());
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 4);
    for (int k = 1; k <= 4; ++k) {
        expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[k], static_cast<float>(k), 0, 0, "offset slot " + std::to_string(k));
        expect_vector(GLBASEVERTEX3F.GLVERT3F[k], static_cast<float>(k), 0, 0, "sent slot " + std::to_string(k));
    }
}

TEST_F(VertexRecorder, SlotsStopAtTheRequestedNumberAndContinueAcrossBlocks) {
    orvex::GLVERT3FENABLEEDIT = true;
    GLBASEVERTEX3F.GLVERT3FSETNUM = 3;
    GLBASEVERTEX3F.GLVERT3FTMP[3] = {0, 0, 10};
    gl_recorder::Scope rec;
    orvex::GLBEGIN(GL_QUADS);
    orvex::GLVERTEX3F(1, 0, 0);
    orvex::GLVERTEX3F(2, 0, 0);
    orvex::GLEND();
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 2) << "GLEND does not reset the count";
    orvex::GLBEGIN(GL_QUADS);
    orvex::GLVERTEX3F(3, 0, 0);  // slot 3, the slot after the first block's last
    orvex::GLVERTEX3F(4, 0, 0);  // slot 3 again
    orvex::GLVERTEX3F(5, 0, 0);  // and again
    orvex::GLEND();

    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 3);
    expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[1], 1, 0, 0, "slot 1");
    expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[2], 2, 0, 0, "slot 2");
    expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[3], 5, 0, 0, "slot 3 holds the fifth vertex");
    expect_vector(GLBASEVERTEX3F.GLVERT3F[3], 5, 0, 10, "slot 3 as sent");
    expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[4], 0, 0, 0, "slot 4 untouched");
    // Each of the last three vertices took slot 3's offset.
    const auto vertices = gl_recorder::calls_named("glVertex3f");
    ASSERT_EQ(vertices.size(), 5u);
    const float expected_z[5] = {0, 0, 10, 10, 10};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(vertices[static_cast<std::size_t>(k)].f(0), static_cast<float>(k + 1));
        EXPECT_EQ(vertices[static_cast<std::size_t>(k)].f(2), expected_z[k]);
    }
}

TEST_F(VertexRecorder, ANewSlotCountTakesEffectAtTheNextBlock) {
    orvex::GLVERT3FENABLEEDIT = true;
    orvex::GLVERT3FREMOVE = true;
    GLBASEVERTEX3F.GLVERT3FSETNUM = 2;
    orvex::GLBEGIN(GL_QUADS);
    GLBASEVERTEX3F.GLVERT3FSETNUM = 5;  // inside the block: the block keeps 2
    const struct {
        float x;
        std::int32_t slot;  // the count after the vertex
        bool new_block;     // GLEND and GLBEGIN before it
    } steps[] = {
        {1, 1, false}, {2, 2, false}, {3, 2, false},  // stops at the first block's 2
        {4, 3, true},  {5, 4, false},                 // the next block may go on to 5
    };
    for (const auto& s : steps) {
        if (s.new_block) {
            orvex::GLEND();
            orvex::GLBEGIN(GL_QUADS);
        }
        orvex::GLVERTEX3F(s.x, 0, 0);
        EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, s.slot) << "vertex " << s.x;
        EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FOFFSET[s.slot].X, s.x) << "vertex " << s.x;
    }
    // Lowered below the count, the next block records into the slot the count stands at.
    GLBASEVERTEX3F.GLVERT3FSETNUM = 1;
    orvex::GLEND();
    orvex::GLBEGIN(GL_QUADS);
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FMAX, 1);
    orvex::GLVERTEX3F(6, 0, 0);
    orvex::GLEND();
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 4);
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FOFFSET[4].X, 6.0f);
}

TEST_F(VertexRecorder, AnOffsetDisplacesWhatOpenGlReceives) {
    orvex::GLVERT3FENABLEEDIT = true;
    GLBASEVERTEX3F.GLVERT3FSETNUM = 4;
    GLBASEVERTEX3F.GLVERT3FTMP[2] = {0, 1, 0};
    // A sum that is not exact in single precision is rounded to nearest:
    // 1 + 3/4 of a unit in the last place becomes the next single above 1.
    GLBASEVERTEX3F.GLVERT3FTMP[3] = {0x1.8p-24f, 0, 0};
    gl_recorder::Scope rec;
    orvex::GLBEGIN(GL_TRIANGLE_STRIP);
    orvex::GLVERTEX3F(0.5f, 0.25f, -1);
    orvex::GLVERTEX3F(0.5f, 0.25f, -1);
    orvex::GLVERTEX3F(1, 0.25f, -1);
    orvex::GLEND();
    EXPECT_EQ(gl_recorder::texts(), (std::vector<std::string>{
                                        gl_call_text("glBegin", E(GL_TRIANGLE_STRIP)),
                                        gl_call_text("glVertex3f", 0.5f, 0.25f, -1.0f),
                                        gl_call_text("glVertex3f", 0.5f, 1.25f, -1.0f),
                                        gl_call_text("glVertex3f", 0x1.000002p0f, 0.25f, -1.0f),
                                        gl_call_text("glEnd"),
                                    }));
    expect_vector(GLBASEVERTEX3F.GLVERT3FOFFSET[2], 0.5f, 0.25f, -1, "as given");
    expect_vector(GLBASEVERTEX3F.GLVERT3F[2], 0.5f, 1.25f, -1, "as sent");
}

TEST_F(VertexRecorder, RecordingOutsideTheSlotsEndsTheProgram) {
    struct Case {
        const char* what;
        std::int32_t setnum, count, vertices;
    } cases[] = {
        {"slot count never set", 0, 0, 1},
        {"negative slot count", -4, 0, 1},
        {"more than 10000 slots requested", 10001, 9999, 2},
        {"count put above the slots", 20000, 10000, 1},
        {"count put below zero", 3, -5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(
            {
                orvex::GLVERT3FENABLEEDIT = true;
                orvex::GLVERT3FREMOVE = true;
                GLBASEVERTEX3F.GLVERT3FSETNUM = c.setnum;
                GLBASEVERTEX3F.GLVERT3FCOUNT = c.count;
                orvex::GLBEGIN(GL_QUADS);
                for (std::int32_t k = 0; k < c.vertices; ++k) orvex::GLVERTEX3F(0, 0, 0);
            },
            testing::ExitedWithCode(orvex::EXIT_RANGE_ERROR), "range error: GLVERTEX3F");
    }
    // The edges that stay inside: the 10000th slot, and a count of 0 with one slot.
    orvex::GLVERT3FENABLEEDIT = true;
    orvex::GLVERT3FREMOVE = true;
    GLBASEVERTEX3F.GLVERT3FSETNUM = 10000;
    GLBASEVERTEX3F.GLVERT3FCOUNT = 9999;
    orvex::GLBEGIN(GL_QUADS);
    orvex::GLVERTEX3F(7, 0, 0);
    orvex::GLVERTEX3F(8, 0, 0);
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FCOUNT, 10000);
    EXPECT_EQ(GLBASEVERTEX3F.GLVERT3FOFFSET[10000].X, 8.0f);
}

}  // namespace
