// The spheres drawn last, kept so that an identical sphere drawn again (the
// grass effect draws the same one fifty times a frame) is sent from the
// values computed before instead of being computed anew.
//
// Two calls are identical when every argument has the same bits and the
// floating-point unit's precision and rounding are the same: nothing else
// enters the values. The vertex recorder's switches and slots are not part
// of them; they act when the values are sent, cached or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/geometry/sphere_mesh.h"

namespace orvex::sphere {

// At most this many spheres are kept, each of at most this many vertices
// (512 KB); the sphere used longest ago makes room for a new one.
inline constexpr std::size_t kCachedSpheres = 4;
inline constexpr std::int64_t kMaxCachedVertices = 16384;

struct CachedSphere {
    std::int64_t bands = 0;
    std::int64_t vertices_per_band = 0;
    std::vector<SphereVertex> vertices;  // band after band
};

// The values of the sphere `args` under the current floating-point control,
// computed and kept first if they are not kept yet; null for a sphere of
// more than kMaxCachedVertices vertices, which is not kept.
const CachedSphere* cached_sphere(const SphereArgs& args);

}  // namespace orvex::sphere
