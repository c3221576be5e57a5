#include "framework/geometry/sphere_cache.h"

#include <array>
#include <cfenv>
#include <cstring>

namespace orvex::sphere {

namespace {

// The state of the floating-point unit that sphere values depend on: on x86
// the x87 control word (precision and rounding of the extended arithmetic)
// and the control bits of MXCSR (rounding of SSE arithmetic; its exception
// flags, which change with every computation, are left out); elsewhere the
// rounding mode.
std::uint64_t floating_point_control() {
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    std::uint16_t x87 = 0;
    __asm__ volatile("fnstcw %0" : "=m"(x87));
    std::uint32_t sse = 0;
#if defined(__SSE__)
    __asm__ volatile("stmxcsr %0" : "=m"(sse));
#endif
    return (std::uint64_t{sse & ~0x3Fu} << 16) | x87;
#else
    return static_cast<std::uint64_t>(static_cast<unsigned>(std::fegetround()));
#endif
}

struct Entry {
    bool used = false;
    SphereArgs args{};
    std::uint64_t control = 0;
    std::uint64_t last_use = 0;
    CachedSphere sphere;
};

struct Cache {
    std::array<Entry, kCachedSpheres> entries;
    std::uint64_t clock = 0;
};

Cache& cache() {
    static Cache c;
    return c;
}

bool same_args(const SphereArgs& a, const SphereArgs& b) {
    // Bits, not values: -0 and +0 give different texture co-ordinates, and a
    // not-a-number argument equals itself only this way.
    static_assert(sizeof(SphereArgs) == 7 * 4, "SphereArgs has no padding");
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class Collector final : public SphereSink {
public:
    explicit Collector(std::vector<SphereVertex>& out) : out_(out) {}
    void begin_band() override {}
    void vertex(const SphereVertex& v) override { out_.push_back(v); }
    void end_band() override {}

private:
    std::vector<SphereVertex>& out_;
};

}  // namespace

const CachedSphere* cached_sphere(const SphereArgs& args) {
    const std::int64_t bands = band_count(args), per_band = vertices_per_band(args);
    if (bands > kMaxCachedVertices || per_band > kMaxCachedVertices || bands * per_band > kMaxCachedVertices)
        return nullptr;
    Cache& c = cache();
    const std::uint64_t control = floating_point_control();
    ++c.clock;
    Entry* oldest = &c.entries[0];
    for (Entry& e : c.entries) {
        if (e.used && e.control == control && same_args(e.args, args)) {
            e.last_use = c.clock;
            return &e.sphere;
        }
        if (!e.used || (oldest->used && e.last_use < oldest->last_use)) oldest = &e;
    }
    Entry& e = *oldest;
    e.used = false;
    e.sphere.bands = bands;
    e.sphere.vertices_per_band = per_band;
    e.sphere.vertices.clear();
    e.sphere.vertices.reserve(static_cast<std::size_t>(bands * per_band));
    Collector collect(e.sphere.vertices);
    compute_sphere(args, collect);
    e.args = args;
    e.control = control;
    e.last_use = c.clock;
    e.used = true;
    return &e.sphere;
}

}  // namespace orvex::sphere
