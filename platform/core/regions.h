#pragma once

#include <pixman.h>

#include "platform/core/gdi_objects.h"

namespace orvex_platform {

struct Region : GdiObject {
    Region() : GdiObject(GdiKind::region) { pixman_region32_init(&area); }
    ~Region() override { pixman_region32_fini(&area); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    pixman_region32_t area;
};

inline Region* find_region(HRGN rgn) { return find_gdi<Region>(rgn, GdiKind::region); }

// Unites `b` into `a` in place when `b` lies at or below the last band of `a`
// (the case of a region built from the top down), in time proportional to
// `b` and that band; false, with `a` unchanged, in every other case.
bool append_union(pixman_region32_t* a, const pixman_region32_t* b);

}  // namespace orvex_platform
