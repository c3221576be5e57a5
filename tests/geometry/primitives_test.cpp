// Textured primitives: the exact streams of LINEFREE, CUBO and SFERA, the
// winding and normals of boxes, and the degenerate spheres.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;
using Vec = std::array<double, 3>;

class Primitives : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(open_gl_window());
        orvex::GLVERT3FREMOVE = false;
        orvex::GLVERT3FENABLEEDIT = false;
    }
};

Vec sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec vertex_of(const GlCall& c) { return {c.f(0), c.f(1), c.f(2)}; }

TEST_F(Primitives, VertexPairWithAndWithoutTextureCoordinates) {
    gl_recorder::Scope rec;
    orvex::LINEFREE(0.5f, 1, 2, 3, 1, 2, 3, 4, 5, 6, true);
    orvex::LINEFREE(9, 9, 9, 9, -1, -2, -3, -4, -5, -6, false);
    EXPECT_EQ(gl_recorder::texts(), (std::vector<std::string>{
                                        gl_call_text("glTexCoord2f", 0.5f, 1.0f),
                                        gl_call_text("glVertex3f", 1.0f, 2.0f, 3.0f),
                                        gl_call_text("glTexCoord2f", 2.0f, 3.0f),
                                        gl_call_text("glVertex3f", 4.0f, 5.0f, 6.0f),
                                        gl_call_text("glVertex3f", -1.0f, -2.0f, -3.0f),
                                        gl_call_text("glVertex3f", -4.0f, -5.0f, -6.0f),
                                    }));
}

// A box's stream split into faces: per face the normal and four (texture
// co-ordinate, vertex) pairs.
struct BoxFace {
    Vec normal;
    std::array<Vec, 4> corner;
    std::array<std::array<float, 2>, 4> tex;
};

std::vector<BoxFace> box_faces(const std::vector<GlCall>& calls) {
    // glPushMatrix, glTranslatef, glBegin, 6 x (normal + 4 x (tex, vertex)), glEnd, glPopMatrix
    std::vector<BoxFace> faces;
    if (calls.size() != 3 + 6 * 9 + 2) {
        ADD_FAILURE() << "a box takes 59 calls, got " << calls.size();
        return faces;
    }
    for (std::size_t f = 0; f < 6; ++f) {
        const std::size_t at = 3 + f * 9;
        BoxFace face;
        EXPECT_EQ(calls[at].name, "glNormal3f");
        face.normal = vertex_of(calls[at]);
        for (std::size_t k = 0; k < 4; ++k) {
            const GlCall& t = calls[at + 1 + 2 * k];
            const GlCall& v = calls[at + 2 + 2 * k];
            EXPECT_EQ(t.name, "glTexCoord2f");
            EXPECT_EQ(v.name, "glVertex3f");
            face.tex[k] = {t.f(0), t.f(1)};
            face.corner[k] = vertex_of(v);
        }
        faces.push_back(face);
    }
    return faces;
}

TEST_F(Primitives, BoxIsOneQuadBlockOfSixOutwardFaces) {
    gl_recorder::Scope rec;
    orvex::CUBO(0, 0, 0, -3, 0, -0.25f, 3, 6, 0.25f, 1);
    const auto& calls = gl_recorder::calls();
    ASSERT_EQ(calls.size(), 59u);
    EXPECT_EQ(calls[0].text(), gl_call_text("glPushMatrix"));
    EXPECT_EQ(calls[1].text(), gl_call_text("glTranslatef", 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(calls[2].text(), gl_call_text("glBegin", E(GL_QUADS)));
    EXPECT_EQ(calls[57].text(), gl_call_text("glEnd"));
    EXPECT_EQ(calls[58].text(), gl_call_text("glPopMatrix"));
    EXPECT_EQ(gl_recorder::count("glNormal3f"), 6u);
    EXPECT_EQ(gl_recorder::count("glVertex3f"), 24u);
    EXPECT_EQ(gl_recorder::count("glBegin"), 1u);

    // The first face lies in z = 0.25, normal (0, 0, 1), texture (0,0) (1,0) (1,1) (0,1).
    const std::vector<std::string> texts = gl_recorder::texts();
    const std::vector<std::string> first_face(texts.begin() + 3, texts.begin() + 12);
    EXPECT_EQ(first_face, (std::vector<std::string>{
                              gl_call_text("glNormal3f", 0.0f, 0.0f, 1.0f),
                              gl_call_text("glTexCoord2f", 0.0f, 0.0f),
                              gl_call_text("glVertex3f", -3.0f, 0.0f, 0.25f),
                              gl_call_text("glTexCoord2f", 1.0f, 0.0f),
                              gl_call_text("glVertex3f", 3.0f, 0.0f, 0.25f),
                              gl_call_text("glTexCoord2f", 1.0f, 1.0f),
                              gl_call_text("glVertex3f", 3.0f, 6.0f, 0.25f),
                              gl_call_text("glTexCoord2f", 0.0f, 1.0f),
                              gl_call_text("glVertex3f", -3.0f, 6.0f, 0.25f),
                          }));

    const std::vector<Vec> normals = {{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
    const Vec centre = {0, 3, 0};
    const auto faces = box_faces(calls);
    ASSERT_EQ(faces.size(), 6u);
    for (std::size_t f = 0; f < 6; ++f) {
        SCOPED_TRACE("face " + std::to_string(f + 1));
        EXPECT_EQ(faces[f].normal, normals[f]);
        // Every corner lies on the face's plane, which is on the outer side.
        for (const Vec& c : faces[f].corner) EXPECT_GT(dot(sub(c, centre), faces[f].normal), 0.0);
        // Counter-clockwise seen from outside: the winding agrees with the normal.
        const Vec turn = cross(sub(faces[f].corner[1], faces[f].corner[0]), sub(faces[f].corner[2], faces[f].corner[1]));
        EXPECT_GT(dot(turn, faces[f].normal), 0.0);
        // Each face shows the texture from 0 to TSIZE along both edges.
        std::array<int, 4> seen{};
        for (const auto& t : faces[f].tex) {
            ASSERT_TRUE((t[0] == 0 || t[0] == 1) && (t[1] == 0 || t[1] == 1));
            seen[static_cast<std::size_t>(t[0] * 2 + t[1])]++;
        }
        EXPECT_EQ(seen, (std::array<int, 4>{1, 1, 1, 1}));
    }
}

TEST_F(Primitives, DescendingCornerPairsTurnTheFacesInsideOutInPairs) {
    // Which corner pairs are given in descending order; an odd number turns
    // every face clockwise from outside with its normal inward.
    const struct {
        bool x, y, z;
    } cases[] = {{false, false, false}, {true, false, false}, {false, true, false}, {false, false, true},
                 {true, true, false},   {true, false, true},  {true, true, true}};
    for (const auto& c : cases) {
        const int swapped = int{c.x} + int{c.y} + int{c.z};
        SCOPED_TRACE("descending pairs: " + std::to_string(swapped));
        const float x1 = c.x ? 1.0f : -1.0f, y1 = c.y ? 2.0f : -2.0f, z1 = c.z ? 0.5f : -0.5f;
        gl_recorder::Scope rec;
        orvex::CUBO(10, 20, 30, x1, y1, z1, -x1, -y1, -z1, 2);
        const auto faces = box_faces(gl_recorder::calls());
        ASSERT_EQ(faces.size(), 6u);
        const double outward = swapped % 2 == 0 ? 1.0 : -1.0;
        for (const BoxFace& f : faces) {
            EXPECT_EQ(dot(f.normal, f.normal), 1.0);
            EXPECT_EQ(dot(f.corner[0], f.normal) > 0 ? 1.0 : -1.0, outward);
            const Vec turn = cross(sub(f.corner[1], f.corner[0]), sub(f.corner[2], f.corner[1]));
            EXPECT_GT(dot(turn, f.normal), 0.0) << "normal and front face agree";
        }
        EXPECT_EQ(gl_recorder::calls()[1].text(), gl_call_text("glTranslatef", 10.0f, 20.0f, 30.0f));
    }
}

TEST_F(Primitives, FlatBoxHasFourZeroNormalsAndTwoOppositeFaces) {
    gl_recorder::Scope rec;
    orvex::CUBO(0, 0, 0, 1, -1, -1, 1, 1, 1, 1);
    const auto faces = box_faces(gl_recorder::calls());
    ASSERT_EQ(faces.size(), 6u);
    for (std::size_t f = 0; f < 4; ++f) EXPECT_EQ(faces[f].normal, (Vec{0, 0, 0})) << "face " << f + 1;
    EXPECT_EQ(faces[4].normal, (Vec{1, 0, 0}));
    EXPECT_EQ(faces[5].normal, (Vec{-1, 0, 0}));
}

// ---- spheres ----------------------------------------------------------------------

struct Strip {
    std::vector<Vec> normal, vertex;
    std::vector<std::array<float, 2>> tex;
};

// The strips of a sphere's stream; every vertex must come as normal, texture
// co-ordinate, vertex.
std::vector<Strip> strips(const std::vector<GlCall>& calls) {
    std::vector<Strip> out;
    bool open = false;
    for (std::size_t k = 0; k < calls.size(); ++k) {
        const GlCall& c = calls[k];
        if (c.name == "glBegin") {
            EXPECT_FALSE(open);
            EXPECT_EQ(c.u(0), unsigned{GL_TRIANGLE_STRIP});
            out.emplace_back();
            open = true;
        } else if (c.name == "glEnd") {
            EXPECT_TRUE(open);
            open = false;
        } else if (c.name == "glNormal3f") {
            if (k + 2 >= calls.size() || calls[k + 1].name != "glTexCoord2f" || calls[k + 2].name != "glVertex3f") {
                ADD_FAILURE() << "normal " << k << " not followed by a texture co-ordinate and a vertex";
                return out;
            }
            Strip& s = out.back();
            s.normal.push_back(vertex_of(c));
            s.tex.push_back({calls[k + 1].f(0), calls[k + 1].f(1)});
            s.vertex.push_back(vertex_of(calls[k + 2]));
            k += 2;
        } else {
            ADD_FAILURE() << "unexpected " << c.text();
        }
    }
    EXPECT_FALSE(open);
    return out;
}

TEST_F(Primitives, SceneSphereIsTwentyStripsOfFortyTwoVertices) {
    gl_recorder::Scope rec;
    orvex::SFERA(0, 0, 0, 4, 20, 20, 1.0f / 3.0f);
    const auto bands = strips(gl_recorder::calls());
    ASSERT_EQ(bands.size(), 20u);
    for (const Strip& s : bands) ASSERT_EQ(s.vertex.size(), 42u);

    // First vertex: the upper pole, normal (0, 0, 1), texture co-ordinate (-0, 0).
    const GlCall& first_normal = gl_recorder::calls()[1];
    const GlCall& first_tex = gl_recorder::calls()[2];
    const GlCall& first_vertex = gl_recorder::calls()[3];
    EXPECT_EQ(first_normal.text(), gl_call_text("glNormal3f", 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(float_bits(first_tex.f(0)), 0x80000000u) << "s is a negative zero";
    EXPECT_EQ(float_bits(first_tex.f(1)), 0u);
    EXPECT_EQ(first_vertex.text(), gl_call_text("glVertex3f", 0.0f, 0.0f, 4.0f));

    const double pi = 3.14159265358979323846;
    for (std::size_t i = 0; i < 20; ++i) {
        for (std::size_t v = 0; v < 42; ++v) {
            SCOPED_TRACE("band " + std::to_string(i) + " vertex " + std::to_string(v));
            // Upper ring first, then lower; segment angle from +x towards +y.
            const double band_angle = pi * static_cast<double>(i + v % 2) / 20;
            const double segment = 2 * pi * static_cast<double>(v / 2) / 20;
            const Vec expected = {4 * std::sin(band_angle) * std::cos(segment),
                                  4 * std::sin(band_angle) * std::sin(segment), 4 * std::cos(band_angle)};
            const Vec& p = bands[i].vertex[v];
            const Vec& n = bands[i].normal[v];
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(p[static_cast<std::size_t>(k)], expected[static_cast<std::size_t>(k)], 4e-6);
                EXPECT_NEAR(n[static_cast<std::size_t>(k)], expected[static_cast<std::size_t>(k)] / 4, 1e-6);
            }
            // s from 0 down to -3 around the axis, t from 0 to 3 pole to pole.
            EXPECT_NEAR(bands[i].tex[v][0], -3.0 * static_cast<double>(v / 2) / 20, 1e-6);
            EXPECT_NEAR(bands[i].tex[v][1], 3.0 * static_cast<double>(i + v % 2) / 20, 1e-6);
        }
        // The last pair closes the ring on the first.
        EXPECT_NEAR(bands[i].vertex[40][0], bands[i].vertex[0][0], 4e-6);
        EXPECT_NEAR(bands[i].vertex[40][1], bands[i].vertex[0][1], 4e-6);
        // Counter-clockwise seen from outside: the first triangle's normal points outward.
        const Vec& a = bands[i].vertex[0];
        const Vec& b = bands[i].vertex[1];
        const Vec& c = bands[i].vertex[2];
        const Vec mid = {(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3, (a[2] + b[2] + c[2]) / 3};
        if (i != 0) {
            EXPECT_GT(dot(cross(sub(b, a), sub(c, b)), mid), 0.0) << "band " << i;
        }
    }
    EXPECT_NEAR(bands[19].vertex[41][2], -4.0, 1e-6) << "the last band ends at the lower pole";
}

TEST_F(Primitives, DegenerateSpheres) {
    {
        SCOPED_TRACE("no bands");
        gl_recorder::Scope rec;
        orvex::SFERA(0, 0, 0, 1, 8, 0, 1);
        orvex::SFERA(0, 0, 0, 1, 8, -3, 1);
        orvex::SFERA(0, 0, 0, 1, 8, std::numeric_limits<std::int32_t>::min() + 1, 1);
        EXPECT_TRUE(gl_recorder::calls().empty());
    }
    {
        SCOPED_TRACE("negative segment count: an empty block per band");
        gl_recorder::Scope rec;
        orvex::SFERA(0, 0, 0, 1, -1, 3, 1);
        EXPECT_EQ(gl_recorder::names(),
                  (std::vector<std::string>{"glBegin", "glEnd", "glBegin", "glEnd", "glBegin", "glEnd"}));
    }
    {
        SCOPED_TRACE("zero segments: two vertices per band, not numbers across the axis");
        gl_recorder::Scope rec;
        orvex::SFERA(0, 0, 1, 1, 0, 2, 1);
        const auto bands = strips(gl_recorder::calls());
        ASSERT_EQ(bands.size(), 2u);
        for (const Strip& s : bands) {
            ASSERT_EQ(s.vertex.size(), 2u);
            for (const Vec& p : s.vertex) {
                EXPECT_TRUE(std::isnan(p[0]) && std::isnan(p[1]));
                EXPECT_FALSE(std::isnan(p[2]));
            }
        }
    }
    {
        SCOPED_TRACE("radius 0: every vertex at the centre, normals not numbers");
        gl_recorder::Scope rec;
        orvex::SFERA(1, 2, 3, 0, 4, 2, 1);
        const auto bands = strips(gl_recorder::calls());
        ASSERT_EQ(bands.size(), 2u);
        for (const Strip& s : bands) {
            ASSERT_EQ(s.vertex.size(), 10u);
            for (std::size_t k = 0; k < s.vertex.size(); ++k) {
                EXPECT_EQ(s.vertex[k], (Vec{1, 2, 3}));
                EXPECT_TRUE(std::isnan(s.normal[k][0]) && std::isnan(s.normal[k][2]));
            }
        }
    }
}

TEST_F(Primitives, SphereWithTheLowestBandCountEndsTheProgram) {
    EXPECT_EXIT(orvex::SFERA(0, 0, 0, 1, 8, std::numeric_limits<std::int32_t>::min(), 1),
                testing::ExitedWithCode(orvex::EXIT_OVERFLOW_ERROR), "overflow error: SFERA");
}

// The bits of one vertex: normal, texture co-ordinate and position.
std::array<std::uint64_t, 8> vertex_bits(const Strip& s, std::size_t v) {
    return {double_bits(s.normal[v][0]), double_bits(s.normal[v][1]), double_bits(s.normal[v][2]),
            float_bits(s.tex[v][0]),     float_bits(s.tex[v][1]),     double_bits(s.vertex[v][0]),
            double_bits(s.vertex[v][1]), double_bits(s.vertex[v][2])};
}

TEST_F(Primitives, EachBandsLowerRingComesFromItsUpperAngleAndOneStep) {
    // Band I's lower ring is at A + MAJORSTEP, the sum of two singles; band
    // I + 1's upper ring at (I + 1) x MAJORSTEP. In the scene's sphere the two
    // angles round apart in three places, and there the rings differ in their
    // last bits; everywhere else they are the same ring.
    gl_recorder::Scope rec;
    orvex::SFERA(0, 0, 0, 4, 20, 20, 1.0f / 3.0f);
    const auto bands = strips(gl_recorder::calls());
    ASSERT_EQ(bands.size(), 20u);
    std::vector<int> apart;
    for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
        bool differ = false;
        for (std::size_t v = 0; v < 42; v += 2) {
            const Strip &lower = bands[i], &upper = bands[i + 1];
            // t is (I + 1) / NUMLINE in both; the positions may differ by rounding only.
            EXPECT_EQ(float_bits(lower.tex[v + 1][1]), float_bits(upper.tex[v][1]));
            for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(lower.vertex[v + 1][k], upper.vertex[v][k], 1e-6);
            differ = differ || vertex_bits(lower, v + 1) != vertex_bits(upper, v);
        }
        if (differ) apart.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(apart, (std::vector<int>{9, 13, 18})) << "bands I whose lower ring is not band I + 1's upper ring";
}

TEST_F(Primitives, BoxFaceTableEveryCornerAndTextureCoordinate) {
    // Distinct coordinates, so that each corner shows which of X1/X2, Y1/Y2,
    // Z1/Z2 it took; TSIZE 2.
    const float X1 = -1, Y1 = -2, Z1 = -3, X2 = 4, Y2 = 5, Z2 = 6, T = 2;
    struct Corner {
        Vec p;
        std::array<float, 2> st;
    };
    const struct {
        Vec normal;
        Corner corner[4];
    } table[6] = {
        {{0, 0, 1}, {{{X1, Y1, Z2}, {0, 0}}, {{X2, Y1, Z2}, {T, 0}}, {{X2, Y2, Z2}, {T, T}}, {{X1, Y2, Z2}, {0, T}}}},
        {{0, 0, -1}, {{{X1, Y1, Z1}, {T, 0}}, {{X1, Y2, Z1}, {T, T}}, {{X2, Y2, Z1}, {0, T}}, {{X2, Y1, Z1}, {0, 0}}}},
        {{0, 1, 0}, {{{X1, Y2, Z1}, {0, T}}, {{X1, Y2, Z2}, {0, 0}}, {{X2, Y2, Z2}, {T, 0}}, {{X2, Y2, Z1}, {T, T}}}},
        {{0, -1, 0}, {{{X1, Y1, Z1}, {T, T}}, {{X2, Y1, Z1}, {0, T}}, {{X2, Y1, Z2}, {0, 0}}, {{X1, Y1, Z2}, {T, 0}}}},
        {{1, 0, 0}, {{{X2, Y1, Z1}, {T, 0}}, {{X2, Y2, Z1}, {T, T}}, {{X2, Y2, Z2}, {0, T}}, {{X2, Y1, Z2}, {0, 0}}}},
        {{-1, 0, 0}, {{{X1, Y1, Z1}, {0, 0}}, {{X1, Y1, Z2}, {T, 0}}, {{X1, Y2, Z2}, {T, T}}, {{X1, Y2, Z1}, {0, T}}}},
    };
    gl_recorder::Scope rec;
    orvex::CUBO(0.5f, 0, 0, X1, Y1, Z1, X2, Y2, Z2, T);
    EXPECT_EQ(gl_recorder::calls()[1].text(), gl_call_text("glTranslatef", 0.5f, 0.0f, 0.0f));
    const auto faces = box_faces(gl_recorder::calls());
    ASSERT_EQ(faces.size(), 6u);
    for (std::size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(faces[f].normal, table[f].normal) << "face " << f + 1;
        for (std::size_t c = 0; c < 4; ++c) {
            EXPECT_EQ(faces[f].corner[c], table[f].corner[c].p) << "face " << f + 1 << " corner " << c + 1;
            EXPECT_EQ(faces[f].tex[c], table[f].corner[c].st) << "face " << f + 1 << " corner " << c + 1;
        }
    }
}

}  // namespace
