// The grass effect.
//
// All shell values are formed in 80-bit extended precision (long double on
// x86) and rounded to single where they are passed to OpenGL; each rounding
// point is an explicit conversion to float below.
#include "framework/geometry/grass.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "framework/core/checked.h"

namespace orvex {

namespace {
using ext = long double;

inline float single(ext v) { return static_cast<float>(v); }

// The extended values nearest 0.1 and 0.002.
constexpr ext kAlphaStep = 0.1L;
constexpr ext kWidening = 0.002L;

// QUALITY x 10 rounded to the nearest integer, ties to even, as a signed
// 64-bit value. The product of a single and 10 is exact in extended
// precision. A product that is not a number or lies outside the 64-bit range
// gives the integer-indefinite value (the lowest 64-bit value), as the
// processor's conversion does.
std::int64_t shell_count(float QUALITY) {
    const ext product = static_cast<ext>(QUALITY) * static_cast<ext>(10.0f);
    // The default rounding mode is to nearest, ties to even.
    const ext rounded = std::nearbyint(product);
    constexpr ext two63 = 9223372036854775808.0L;
    if (std::isnan(rounded) || rounded >= two63 || rounded < -two63) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}
}  // namespace

void FX_GENGRASS(float X, float Y, float Z, float H, float SX, float SZ, float QUALITY, ORVEXPROCEDURE MDL,
                 bool LINEAR) {
    glEnable(GL_ALPHA_TEST);
    glPushMatrix();
    glTranslatef(X, Y, Z);

    const std::int64_t N = shell_count(QUALITY);
    const std::int64_t last = checked_sub(N, std::int64_t{1}, "FX_GENGRASS: shell count - 1");
    const std::int32_t last_shell = checked_narrow<std::int32_t>(last, "FX_GENGRASS: last shell index");
    // The model is called once per shell: a null one is an error only when
    // there is a shell to draw.
    if (last_shell >= 0 && !MDL) fatal_null_procedure("FX_GENGRASS: model");

    const ext quality = QUALITY;
    // The steps every shell multiplies by its index, formed once.
    const ext alpha_step = kAlphaStep / quality;
    const ext lift_step = (static_cast<ext>(H) / static_cast<ext>(10.0f)) / quality;
    for (std::int32_t I = 0; I <= last_shell; ++I) {
        const ext i = I;
        glAlphaFunc(GL_GREATER, single(i * alpha_step));
        glPushMatrix();
        glTranslatef(0.0f, single(i * lift_step), 0.0f);
        if (!LINEAR) {
            const float sx = single((i * kWidening) * static_cast<ext>(SX) + 1.0L);
            const float sz = single((i * kWidening) * static_cast<ext>(SZ) + 1.0L);
            // The y factor is ((I x 0.002) / I) x QUALITY + 1, the same for
            // every shell from I = 1 on. For shell 0 the quotient has no value
            // (0/0); shell 0 takes that same constant 1 + 0.002 x QUALITY, so
            // every shell of the stack has one y factor and the shells differ
            // only in lift and widening.
            const ext y_step = I == 0 ? kWidening : (i * kWidening) / i;
            const float sy = single(y_step * quality + 1.0L);
            glScalef(sx, sy, sz);
        }
        MDL();
        glPopMatrix();
    }

    glPopMatrix();
    glDisable(GL_ALPHA_TEST);
}

}  // namespace orvex
