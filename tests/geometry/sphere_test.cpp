// The sphere's values, computed once per call and kept for identical calls,
// against the plain computation that takes every sine and cosine anew for
// each vertex: the same calls with the same bits, the first time and from
// the cache, under every floating-point control and recorder switch.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "framework/geometry/sphere_mesh.h"
#include "framework/orvex.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/gl_recorder_window.h"

namespace {

using namespace orvex_test;
using orvex::GLBASEVERTEX3F;

struct Sphere {
    const char* name;
    float px, py, pz, radius;
    std::int32_t numcircle, numline;
    float tsize;
};

void draw(const Sphere& s) { orvex::SFERA(s.px, s.py, s.pz, s.radius, s.numcircle, s.numline, s.tsize); }

// The sphere as its algorithm states it: every value of every vertex
// computed where it is used.
void draw_plainly(const Sphere& s) {
    using ext = long double;
    auto single = [](ext v) { return static_cast<float>(v); };
    const ext pi = 3.14159265358979323846264338327950288L;
    const float MAJORSTEP = single(pi / static_cast<ext>(s.numline));
    const float MINORSTEP = single((2.0L * pi) / static_cast<ext>(s.numcircle));
    const ext radius = s.radius, numline = s.numline, numcircle = s.numcircle, tsize = s.tsize;
    for (std::int64_t I = 0; I < s.numline; ++I) {
        const float A = single(static_cast<ext>(I) * MAJORSTEP);
        const float B = single(static_cast<ext>(A) + static_cast<ext>(MAJORSTEP));
        const float R0 = single(orvex::sphere::sin_cos(A).sin * radius);
        const float R1 = single(orvex::sphere::sin_cos(B).sin * radius);
        const float Z0 = single(orvex::sphere::sin_cos(A).cos * radius);
        const float Z1 = single(orvex::sphere::sin_cos(B).cos * radius);
        orvex::GLBEGIN(GL_TRIANGLE_STRIP);
        for (std::int64_t J = 0; J <= s.numcircle; ++J) {
            const float C = single(static_cast<ext>(J) * MINORSTEP);
            const float X = single(orvex::sphere::sin_cos(C).cos);
            const float Y = single(orvex::sphere::sin_cos(C).sin);
            const float S = single(-(static_cast<ext>(J) / numcircle) / tsize);
            glNormal3f(single(R0 * ext{X} / radius), single(R0 * ext{Y} / radius), single(Z0 / radius));
            glTexCoord2f(S, single((static_cast<ext>(I) / numline) / tsize));
            orvex::GLVERTEX3F(single(R0 * ext{X} + s.px), single(R0 * ext{Y} + s.py), single(Z0 + s.pz));
            glNormal3f(single(R1 * ext{X} / radius), single(R1 * ext{Y} / radius), single(Z1 / radius));
            glTexCoord2f(S, single((static_cast<ext>(I + 1) / numline) / tsize));
            orvex::GLVERTEX3F(single(R1 * ext{X} + s.px), single(R1 * ext{Y} + s.py), single(Z1 + s.pz));
        }
        orvex::GLEND();
    }
}

template <class Draw>
std::vector<GlCall> record(Draw draw_it) {
    gl_recorder::Scope rec;
    draw_it();
    return gl_recorder::calls();
}

// Empty when the two streams agree call for call and bit for bit, else the
// first difference.
std::string difference(const std::vector<GlCall>& want, const std::vector<GlCall>& got) {
    for (std::size_t k = 0; k < want.size() && k < got.size(); ++k) {
        bool same = want[k].name == got[k].name && want[k].args.size() == got[k].args.size();
        for (std::size_t a = 0; same && a < want[k].args.size(); ++a) {
            const GlArg &w = want[k].args[a], &g = got[k].args[a];
            same = w.kind == g.kind && w.i == g.i && w.u == g.u && float_bits(w.f) == float_bits(g.f);
        }
        if (!same) return "call " + std::to_string(k) + ": expected " + want[k].text() + ", got " + got[k].text();
    }
    if (want.size() != got.size())
        return std::to_string(want.size()) + " calls expected, " + std::to_string(got.size()) + " sent";
    return {};
}

class SphereValues : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(open_gl_window());
        reset_recorder();
    }
    void TearDown() override { reset_recorder(); }
    static void reset_recorder() {
        std::memset(static_cast<void*>(&GLBASEVERTEX3F), 0, sizeof GLBASEVERTEX3F);
        orvex::GLVERT3FREMOVE = false;
        orvex::GLVERT3FENABLEEDIT = false;
    }
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// More spheres than the cache keeps, of every shape: the scene's, odd
// counts, a ring too long to be computed ahead, spheres too large to be kept,
// and degenerate ones.
const Sphere kSpheres[] = {
    {"scene", 0, 0, 0, 4, 20, 20, 1.0f / 3.0f},
    {"off centre, odd counts", 1.5f, -2.25f, 0.1f, 2.5f, 7, 5, 0.7f},
    {"negative zero centre", -0.0f, -0.0f, -0.0f, 1, 6, 4, 1},
    {"many bands", 0, 0, 0, 3, 8, 300, 1},
    {"long ring", 0.5f, 0, 0, 10, 1500, 3, 0.25f},
    {"too large to keep", 0, 1, 2, 7, 200, 100, 2},
    {"one segment", 0, 0, 0, 1, 1, 3, 1},
    {"no segment", 0, 0, 1, 1, 0, 2, 1},
    {"negative segment count", 0, 0, 0, 1, -4, 3, 1},
    {"radius 0", 1, 2, 3, 0, 4, 2, 1},
    {"negative radius", 0, 0, 0, -2, 5, 5, 1},
    {"texture size 0", 0, 0, 0, 1, 4, 4, 0},
    {"radius not a number", 0, 0, 0, kNaN, 3, 3, 1},
    {"huge radius", 0, 0, 0, 3e38f, 4, 4, 1},
};

TEST_F(SphereValues, EveryCallSendsThePlainComputationsBits) {
    // Each sphere three times in a row (the later calls from the cache), the
    // whole table twice, so that spheres come back after being pushed out.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Sphere& s : kSpheres) {
            SCOPED_TRACE(std::string(s.name) + ", pass " + std::to_string(pass + 1));
            const std::vector<GlCall> want = record([&] { draw_plainly(s); });
            for (int call = 0; call < 3; ++call)
                EXPECT_EQ(difference(want, record([&] { draw(s); })), "") << "call " << call + 1;
        }
    }
}

// The rounding mode changes the values, so a sphere kept from before a
// change is not sent after it.
TEST_F(SphereValues, AChangedRoundingModeIsNotServedFromTheCache) {
    const Sphere s = {"scene", 0, 0, 0, 4, 20, 20, 1.0f / 3.0f};
    draw(s);
    const std::vector<GlCall> to_nearest = record([&] { draw(s); });
    const struct {
        const char* name;
        int mode;
    } modes[] = {{"upward", FE_UPWARD}, {"downward", FE_DOWNWARD}, {"toward zero", FE_TOWARDZERO}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.name);
        std::fesetround(m.mode);
        const std::vector<GlCall> want = record([&] { draw_plainly(s); });
        const std::vector<GlCall> first = record([&] { draw(s); });
        const std::vector<GlCall> again = record([&] { draw(s); });
        std::fesetround(FE_TONEAREST);
        EXPECT_NE(difference(want, to_nearest), "") << "the mode changes the values";
        EXPECT_EQ(difference(want, first), "");
        EXPECT_EQ(difference(want, again), "");
    }
    EXPECT_EQ(difference(to_nearest, record([&] { draw(s); })), "") << "back to the start";
}

// The recorder's switches act on the kept values as on computed ones: a
// sphere kept while they were off is sent through them once they are on.
TEST_F(SphereValues, RecorderSwitchesApplyToAKeptSphere) {
    const Sphere s = {"recorded", 2, 0, -1, 1.5f, 6, 4, 0.5f};
    const struct {
        const char* name;
        bool remove, edit;
    } cases[] = {{"remove", true, false}, {"edit", false, true}, {"edit and remove", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto recorded = [&](auto draw_it, std::unique_ptr<orvex::TGLVERTEX3F>& state) {
            reset_recorder();
            draw(s);  // kept with both switches off
            GLBASEVERTEX3F.GLVERT3FSETNUM = 30;  // fewer than the 56 vertices: the last slot is reused
            GLBASEVERTEX3F.GLVERT3FTMP[3] = {0, 1, 0};
            GLBASEVERTEX3F.GLVERT3FTMP[30] = {-2, 0, 0.5f};
            orvex::GLVERT3FREMOVE = c.remove;
            orvex::GLVERT3FENABLEEDIT = c.edit;
            std::vector<GlCall> calls = record(draw_it);
            state = std::make_unique<orvex::TGLVERTEX3F>(GLBASEVERTEX3F);
            return calls;
        };
        std::unique_ptr<orvex::TGLVERTEX3F> want_state, got_state;
        const std::vector<GlCall> want = recorded([&] { draw_plainly(s); }, want_state);
        const std::vector<GlCall> got = recorded([&] { draw(s); }, got_state);
        EXPECT_EQ(difference(want, got), "");
        EXPECT_EQ(std::memcmp(want_state.get(), got_state.get(), sizeof(orvex::TGLVERTEX3F)), 0)
            << "the recorder holds the same slots";
        const auto vertices = std::count_if(got.begin(), got.end(), [](const GlCall& k) { return k.name == "glVertex3f"; });
        EXPECT_EQ(vertices, c.remove ? 0 : 56);
        EXPECT_EQ(got_state->GLVERT3FCOUNT, c.edit ? 30 : 0);
    }
}

}  // namespace
