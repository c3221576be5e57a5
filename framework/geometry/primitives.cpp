// Textured primitives.
//
// Values are formed in 80-bit extended precision (long double on x86) and
// rounded to single where they are stored or passed on; each rounding point
// is an explicit conversion to float below.
#include "framework/geometry/primitives.h"

#include <GL/gl.h>

#include <cmath>

#include "framework/core/checked.h"
#include "framework/geometry/vectors.h"
#include "framework/geometry/vertex_recorder.h"

namespace orvex {

namespace {
using ext = long double;

inline float single(ext v) { return static_cast<float>(v); }

// pi to the precision of the extended format.
constexpr ext kPi = 3.14159265358979323846264338327950288L;

// Sine and cosine of an angle in extended precision. On x86 the processor's
// own extended-precision instruction does it, about ten times faster than the
// C library's long double functions; over every single-precision angle the
// sphere uses, the two agree once rounded to single. Beyond the instruction's
// range (|a| >= 2^63, where it leaves the operand unchanged) and elsewhere the
// library computes it.
struct SinCos {
    ext sin, cos;
};
inline SinCos sin_cos(ext a) {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    if (std::fabs(a) < 0x1p63L || std::isnan(a)) {
        ext s, c;
        __asm__("fsincos" : "=t"(c), "=u"(s) : "0"(a));
        return {s, c};
    }
#endif
    return {std::sin(a), std::cos(a)};
}

// One face of a box: its corners in the order they are sent, and the
// texture co-ordinate of each corner as a multiple of TSIZE (0 or 1).
struct Face {
    int corner[4][3];  // per corner: 0 selects the first coordinate of the axis, 1 the second
    int tex[4][2];
};

// Faces in drawing order: z = Z2, z = Z1, y = Y2, y = Y1, x = X2, x = X1.
// Each is counter-clockwise seen from outside when the corners ascend.
constexpr Face kFaces[6] = {
    {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}},
    {{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{1, 1}, {0, 1}, {0, 0}, {1, 0}}},
    {{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
};
}  // namespace

void LINEFREE(float TX1, float TY1, float TX2, float TY2, float X1, float Y1, float Z1, float X2, float Y2, float Z2,
              bool TEXTURE) {
    if (TEXTURE) glTexCoord2f(TX1, TY1);
    GLVERTEX3F(X1, Y1, Z1);
    if (TEXTURE) glTexCoord2f(TX2, TY2);
    GLVERTEX3F(X2, Y2, Z2);
}

void CUBO(float X, float Y, float Z, float X1, float Y1, float Z1, float X2, float Y2, float Z2, float TSIZE) {
    const float xs[2] = {X1, X2}, ys[2] = {Y1, Y2}, zs[2] = {Z1, Z2};
    const float ts[2] = {0.0f, TSIZE};
    glPushMatrix();
    glTranslatef(X, Y, Z);
    GLBEGIN(GL_QUADS);
    for (const Face& f : kFaces) {
        float p[4][3];
        float t[4][2];
        for (int c = 0; c < 4; ++c) {
            p[c][0] = xs[f.corner[c][0]];
            p[c][1] = ys[f.corner[c][1]];
            p[c][2] = zs[f.corner[c][2]];
            t[c][0] = ts[f.tex[c][0]];
            t[c][1] = ts[f.tex[c][1]];
        }
        FINDNORMAL(p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], p[2][0], p[2][1], p[2][2]);
        glNormal3f(static_cast<float>(FNORMAL[1]), static_cast<float>(FNORMAL[2]), static_cast<float>(FNORMAL[3]));
        LINEFREE(t[0][0], t[0][1], t[1][0], t[1][1], p[0][0], p[0][1], p[0][2], p[1][0], p[1][1], p[1][2], true);
        LINEFREE(t[2][0], t[2][1], t[3][0], t[3][1], p[2][0], p[2][1], p[2][2], p[3][0], p[3][1], p[3][2], true);
    }
    GLEND();
    glPopMatrix();
}

void SFERA(float PX, float PY, float PZ, float RADIUS, std::int32_t NUMCIRCLE, std::int32_t NUMLINE, float TSIZE) {
    const float MAJORSTEP = single(kPi / static_cast<ext>(NUMLINE));
    const float MINORSTEP = single((2.0L * kPi) / static_cast<ext>(NUMCIRCLE));
    const std::int32_t last_band = checked_sub(NUMLINE, std::int32_t{1}, "SFERA: NUMLINE - 1");
    const ext radius = RADIUS, px = PX, py = PY, pz = PZ, tsize = TSIZE;
    const ext numline = NUMLINE, numcircle = NUMCIRCLE;
    // 64-bit loop counters: the inclusive bound NUMCIRCLE may be the highest
    // 32-bit value.
    for (std::int64_t I = 0; I <= last_band; ++I) {
        const float A = single(static_cast<ext>(I) * MAJORSTEP);
        const float B = single(static_cast<ext>(A) + static_cast<ext>(MAJORSTEP));
        const SinCos a = sin_cos(A), b = sin_cos(B);
        const float R0 = single(a.sin * radius);
        const float R1 = single(b.sin * radius);
        const float Z0 = single(a.cos * radius);
        const float Z1 = single(b.cos * radius);
        const float t0 = single((static_cast<ext>(I) / numline) / tsize);
        const float t1 = single((static_cast<ext>(I + 1) / numline) / tsize);
        GLBEGIN(GL_TRIANGLE_STRIP);
        for (std::int64_t J = 0; J <= NUMCIRCLE; ++J) {
            const float C = single(static_cast<ext>(J) * MINORSTEP);
            const SinCos c = sin_cos(C);
            const float X = single(c.cos);
            const float Y = single(c.sin);
            // The segment's s is the negated quotient (so s is -0 at J = 0).
            const float s = single(-(static_cast<ext>(J) / numcircle) / tsize);
            glNormal3f(single(R0 * static_cast<ext>(X) / radius), single(R0 * static_cast<ext>(Y) / radius),
                       single(Z0 / radius));
            glTexCoord2f(s, t0);
            GLVERTEX3F(single(R0 * static_cast<ext>(X) + px), single(R0 * static_cast<ext>(Y) + py),
                       single(Z0 + pz));
            glNormal3f(single(R1 * static_cast<ext>(X) / radius), single(R1 * static_cast<ext>(Y) / radius),
                       single(Z1 / radius));
            glTexCoord2f(s, t1);
            GLVERTEX3F(single(R1 * static_cast<ext>(X) + px), single(R1 * static_cast<ext>(Y) + py),
                       single(Z1 + pz));
        }
        GLEND();
    }
}

}  // namespace orvex
