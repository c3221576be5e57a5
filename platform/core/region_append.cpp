// The union of a region with one that lies below it, in place.
//
// A region is built top to bottom by merging batch after batch into it. The
// general union walks both regions and writes a new one, so that merging k
// batches costs time in proportion to k squared. When every band of the added
// region lies at or below the first region's last band, only that last band
// can change: it is merged with the added region, and the result replaces it
// at the end of the first region's rectangles, whose storage grows by
// doubling. The result is the same region the general union makes, with the
// same rectangles: y-x banded, vertically coalesced.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/core/regions.h"

namespace orvex_platform {

namespace {
pixman_box32_t* boxes_of(pixman_region32_t* r) { return reinterpret_cast<pixman_box32_t*>(r->data + 1); }

// Rectangles [begin, end) of one band.
bool same_spans(const pixman_box32_t* a, const pixman_box32_t* b, long count) {
    for (long i = 0; i < count; ++i)
        if (a[i].x1 != b[i].x1 || a[i].x2 != b[i].x2) return false;
    return true;
}
}  // namespace

bool append_union(pixman_region32_t* a, const pixman_region32_t* b) {
    int na = 0;
    int nb = 0;
    const pixman_box32_t* ab = pixman_region32_rectangles(a, &na);
    pixman_region32_rectangles(const_cast<pixman_region32_t*>(b), &nb);
    // Small regions, and regions without storage of their own, take the general way.
    if (na < 2 || nb == 0 || !a->data || a->data->size < na) return false;
    const pixman_box32_t last = ab[na - 1];
    if (b->extents.y1 < last.y1) return false;

    // The first region's last band.
    long band_start = na - 1;
    while (band_start > 0 && ab[band_start - 1].y1 == last.y1) --band_start;

    // Its union with the added region.
    pixman_region32_t tail, merged;
    if (!pixman_region32_init_rects(&tail, ab + band_start, static_cast<int>(na - band_start))) return false;
    pixman_region32_init(&merged);
    bool ok = pixman_region32_union(&merged, &tail, b);
    pixman_region32_fini(&tail);
    int nm = 0;
    const pixman_box32_t* mb = ok ? pixman_region32_rectangles(&merged, &nm) : nullptr;
    if (!ok || nm == 0) {
        pixman_region32_fini(&merged);
        return false;
    }

    // The band before the last one may now have the same spans as the merged
    // region's first band, touching it: then it grows down instead.
    const long keep = band_start;
    long prev_start = keep;
    long skip = 0;
    if (keep > 0) {
        prev_start = keep - 1;
        while (prev_start > 0 && ab[prev_start - 1].y1 == ab[keep - 1].y1) --prev_start;
        long first_band = 1;
        while (first_band < nm && mb[first_band].y1 == mb[0].y1) ++first_band;
        if (ab[keep - 1].y2 == mb[0].y1 && keep - prev_start == first_band && same_spans(ab + prev_start, mb, first_band))
            skip = first_band;
    }

    const long total = keep + (nm - skip);
    if (total < 2) {  // a single rectangle is kept without storage: the general way
        pixman_region32_fini(&merged);
        return false;
    }
    if (total > a->data->size) {
        long capacity = a->data->size;
        while (capacity < total) capacity *= 2;
        void* grown = std::realloc(a->data, sizeof(pixman_region32_data_t) +
                                                static_cast<std::size_t>(capacity) * sizeof(pixman_box32_t));
        if (!grown) {
            pixman_region32_fini(&merged);
            return false;  // unchanged: the general union tries
        }
        a->data = static_cast<pixman_region32_data_t*>(grown);
        a->data->size = capacity;
    }
    if (skip > 0) {
        pixman_box32_t* kept = boxes_of(a);
        for (long i = prev_start; i < keep; ++i) kept[i].y2 = mb[0].y2;
    }
    std::memcpy(boxes_of(a) + keep, mb + skip, static_cast<std::size_t>(nm - skip) * sizeof(pixman_box32_t));
    a->data->numRects = total;
    a->extents.x1 = std::min(a->extents.x1, merged.extents.x1);
    a->extents.x2 = std::max(a->extents.x2, merged.extents.x2);
    a->extents.y2 = std::max(a->extents.y2, merged.extents.y2);
    pixman_region32_fini(&merged);
    return true;
}

}  // namespace orvex_platform
