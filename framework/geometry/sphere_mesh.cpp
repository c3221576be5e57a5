// A sphere's vertex values.
//
// Values are formed in 80-bit extended precision (long double on x86) and
// rounded to single where they are stored or passed on; each rounding point
// is an explicit conversion to float below. Every value depends only on the
// arguments and on the floating-point unit's precision and rounding, so a
// value computed once and used again is the value computing it again gives.
#include "framework/geometry/sphere_mesh.h"

#include <cmath>
#include <cstring>

namespace orvex::sphere {

namespace {
using ext = long double;

inline float single(ext v) { return static_cast<float>(v); }

// pi to the precision of the extended format.
constexpr ext kPi = 3.14159265358979323846264338327950288L;

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// What a segment J contributes to both of its vertices: the cosine X and
// sine Y of its angle, and its texture co-ordinate s.
struct Segment {
    float X, Y, s;
};

// The segments of a ring: computed once per call for rings of up to
// kRingCapacity segments, on demand for larger ones.
class Ring {
public:
    Ring(std::int32_t numcircle, float tsize)
        : minorstep_(single((2.0L * kPi) / static_cast<ext>(numcircle))),
          numcircle_(numcircle),
          tsize_(tsize),
          stored_(numcircle >= 0 && numcircle < kRingCapacity) {
        if (stored_)
            for (std::int32_t J = 0; J <= numcircle; ++J) segments_[J] = compute(J);
    }
    Segment operator[](std::int64_t J) const { return stored_ ? segments_[J] : compute(J); }

private:
    static constexpr std::int32_t kRingCapacity = 1024;

    Segment compute(std::int64_t J) const {
        const float C = single(static_cast<ext>(J) * minorstep_);
        const SinCos c = sin_cos(C);
        // The segment's s is the negated quotient (so s is -0 at J = 0).
        return {single(c.cos), single(c.sin),
                single(-(static_cast<ext>(J) / static_cast<ext>(numcircle_)) / static_cast<ext>(tsize_))};
    }

    float minorstep_;
    std::int32_t numcircle_;
    float tsize_;
    bool stored_;
    Segment segments_[kRingCapacity];
};

// One ring of latitude: its angle, and the angle's sine and cosine times the
// radius.
struct Latitude {
    float angle;
    float R, Z;
};
}  // namespace

std::int64_t band_count(const SphereArgs& args) { return args.numline > 0 ? args.numline : 0; }

std::int64_t vertices_per_band(const SphereArgs& args) {
    return args.numcircle >= 0 ? 2 * (std::int64_t{args.numcircle} + 1) : 0;
}

void compute_sphere(const SphereArgs& args, SphereSink& sink) {
    const std::int64_t bands = band_count(args);
    if (bands == 0) return;
    if (args.numcircle < 0) {
        // No segment: each band is an empty block.
        for (std::int64_t I = 0; I < bands; ++I) {
            sink.begin_band();
            sink.end_band();
        }
        return;
    }
    const float MAJORSTEP = single(kPi / static_cast<ext>(args.numline));
    const ext radius = args.radius, px = args.px, py = args.py, pz = args.pz, tsize = args.tsize;
    const ext numline = args.numline;
    const Ring ring(args.numcircle, args.tsize);
    auto latitude = [&](float angle) {
        const SinCos v = sin_cos(angle);
        return Latitude{angle, single(v.sin * radius), single(v.cos * radius)};
    };

    Latitude lower{};
    for (std::int64_t I = 0; I < bands; ++I) {
        const float A = single(static_cast<ext>(I) * MAJORSTEP);
        const float B = single(static_cast<ext>(A) + static_cast<ext>(MAJORSTEP));
        // The previous band's lower ring is this band's upper one where the
        // angles agree to the bit.
        const Latitude upper = I > 0 && same_bits(lower.angle, A) ? lower : latitude(A);
        lower = latitude(B);
        const float R0 = upper.R, Z0 = upper.Z, R1 = lower.R, Z1 = lower.Z;
        const float t0 = single((static_cast<ext>(I) / numline) / tsize);
        const float t1 = single((static_cast<ext>(I + 1) / numline) / tsize);
        // What is the same for every segment of the band.
        const float n0z = single(Z0 / radius), n1z = single(Z1 / radius);
        const float p0z = single(Z0 + pz), p1z = single(Z1 + pz);
        sink.begin_band();
        for (std::int64_t J = 0; J <= args.numcircle; ++J) {
            const Segment seg = ring[J];
            const ext X = seg.X, Y = seg.Y;
            sink.vertex(SphereVertex{{single(R0 * X / radius), single(R0 * Y / radius), n0z},
                                     {seg.s, t0},
                                     {single(R0 * X + px), single(R0 * Y + py), p0z}});
            sink.vertex(SphereVertex{{single(R1 * X / radius), single(R1 * Y / radius), n1z},
                                     {seg.s, t1},
                                     {single(R1 * X + px), single(R1 * Y + py), p1z}});
        }
        sink.end_band();
    }
}

}  // namespace orvex::sphere
