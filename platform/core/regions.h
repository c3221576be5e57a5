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

}  // namespace orvex_platform
