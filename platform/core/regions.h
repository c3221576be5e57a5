// GDI regions: a region object holds a set of pixels (banded_region.h).
#pragma once

#include "platform/core/banded_region.h"
#include "platform/core/gdi_objects.h"

namespace orvex_platform {

struct Region : GdiObject {
    Region() : GdiObject(GdiKind::region) {}
    BandedRegion area;
};

inline Region* find_region(HRGN rgn) { return find_gdi<Region>(rgn, GdiKind::region); }

// NULLREGION, SIMPLEREGION or COMPLEXREGION: what GDI answers about a region.
int complexity(const BandedRegion& area);

}  // namespace orvex_platform
