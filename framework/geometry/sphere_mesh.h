// The values a sphere sends to OpenGL, vertex by vertex: normal, texture
// co-ordinate and position, computed in 80-bit extended precision and
// rounded to single exactly as SFERA defines them.
#pragma once

#include <cmath>
#include <cstdint>

namespace orvex::sphere {

// Sine and cosine of an angle in extended precision. On x86 the processor's
// own extended-precision instruction does it, about ten times faster than the
// C library's long double functions; over every single-precision angle the
// sphere uses, the two agree once rounded to single. Beyond the instruction's
// range (|a| >= 2^63, where it leaves the operand unchanged) and elsewhere the
// library computes it.
struct SinCos {
    long double sin, cos;
};
inline SinCos sin_cos(long double a) {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    if (std::fabs(a) < 0x1p63L || std::isnan(a)) {
        long double s, c;
        __asm__("fsincos" : "=t"(c), "=u"(s) : "0"(a));
        return {s, c};
    }
#endif
    return {std::sin(a), std::cos(a)};
}

// SFERA's arguments.
struct SphereArgs {
    float px, py, pz, radius;
    std::int32_t numcircle, numline;
    float tsize;
};

// One vertex as it is sent: glNormal3f, glTexCoord2f, then GLVERTEX3F.
struct SphereVertex {
    float normal[3];
    float tex[2];
    float position[3];
};

// Receives a sphere band by band: begin_band, the band's vertices (upper ring
// first, then lower, per segment), end_band.
class SphereSink {
public:
    virtual void begin_band() = 0;
    virtual void vertex(const SphereVertex& v) = 0;
    virtual void end_band() = 0;

protected:
    ~SphereSink() = default;
};

// Bands of the sphere (numline, or 0 when it is 0 or negative) and vertices
// per band (2 x (numcircle + 1), or 0 when numcircle is negative).
std::int64_t band_count(const SphereArgs& args);
std::int64_t vertices_per_band(const SphereArgs& args);

// Computes the whole sphere into `sink`. The sine and cosine of each segment
// angle are taken once per call rather than once per band, and a band's
// lower angle serves as the next band's upper one where the two are equal;
// every value is the one the plain per-vertex computation gives.
// numline must be above the lowest 32-bit value (SFERA checks it first).
void compute_sphere(const SphereArgs& args, SphereSink& sink);

}  // namespace orvex::sphere
