#include "platform/core/banded_region.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace orvex_platform {

namespace {
bool same_spans(const pixman_box32_t* a, const pixman_box32_t* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (a[i].x1 != b[i].x1 || a[i].x2 != b[i].x2) return false;
    return true;
}

// The first rectangle of the band that holds rectangle `i`.
std::size_t band_start(const pixman_box32_t* boxes, std::size_t i) {
    while (i > 0 && boxes[i - 1].y1 == boxes[i].y1) --i;
    return i;
}
}  // namespace

BandedRegion::BoxList::~BoxList() { release(); }

void BandedRegion::BoxList::release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
}

bool BandedRegion::BoxList::reserve(std::size_t count) {
    if (count <= capacity_) return true;
    // The first block holds what is asked; each growth doubles it.
    std::size_t capacity = capacity_ == 0 ? count : capacity_;
    while (capacity < count) {
        if (capacity > SIZE_MAX / 2 / sizeof(pixman_box32_t)) return false;
        capacity *= 2;
    }
    void* grown = std::realloc(data_, capacity * sizeof(pixman_box32_t));
    if (!grown) return false;
    data_ = static_cast<pixman_box32_t*>(grown);
    capacity_ = capacity;
    return true;
}

bool BandedRegion::BoxList::assign(std::span<const pixman_box32_t> boxes) {
    if (!reserve(boxes.size())) return false;
    if (!boxes.empty()) std::memcpy(data_, boxes.data(), boxes.size() * sizeof(pixman_box32_t));
    size_ = boxes.size();
    return true;
}

bool BandedRegion::BoxList::append(const pixman_box32_t* boxes, std::size_t count) {
    if (count == 0) return true;
    if (count > SIZE_MAX - size_ || !reserve(size_ + count)) return false;
    std::memcpy(data_ + size_, boxes, count * sizeof(pixman_box32_t));
    size_ += count;
    return true;
}

BandedRegion::BandedRegion() { pixman_region32_init(&area_); }

BandedRegion::~BandedRegion() { pixman_region32_fini(&area_); }

std::span<const pixman_box32_t> BandedRegion::rectangles() const {
    if (listed_) return boxes_.view();
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area_, &n);
    return {boxes, static_cast<std::size_t>(n)};
}

pixman_box32_t BandedRegion::extents() const {
    if (!listed_) return *pixman_region32_extents(&area_);
    return boxes_.size() == 0 ? pixman_box32_t{0, 0, 0, 0} : list_extents_;
}

bool BandedRegion::contains(int x, int y) const {
    if (!listed_) return pixman_region32_contains_point(&area_, x, y, nullptr);
    // Bands lie one below the other, so the rectangles' bottom edges never
    // decrease: the first rectangle reaching below y begins the only band
    // that can hold the point.
    const std::span<const pixman_box32_t> boxes = boxes_.view();
    const auto band = std::upper_bound(boxes.begin(), boxes.end(), y,
                                       [](int v, const pixman_box32_t& b) { return v < b.y2; });
    if (band == boxes.end() || band->y1 > y) return false;
    const auto band_end =
        std::partition_point(band, boxes.end(), [top = band->y1](const pixman_box32_t& b) { return b.y1 == top; });
    const auto box =
        std::upper_bound(band, band_end, x, [](int v, const pixman_box32_t& b) { return v < b.x2; });
    return box != band_end && box->x1 <= x;
}

void BandedRegion::set_empty() {
    pixman_region32_t none;
    pixman_region32_init(&none);
    assign(none);
}

void BandedRegion::set_rectangle(int x1, int y1, int x2, int y2) {
    pixman_region32_t r;
    if (x1 < x2 && y1 < y2)
        pixman_region32_init_rect(&r, x1, y1, static_cast<unsigned>(x2 - x1), static_cast<unsigned>(y2 - y1));
    else
        pixman_region32_init(&r);
    assign(r);
}

bool BandedRegion::set_rectangles(const pixman_box32_t* boxes, int count) {
    pixman_region32_t r;
    if (!pixman_region32_init_rects(&r, boxes, count)) {
        pixman_region32_fini(&r);
        return false;
    }
    assign(r);
    return true;
}

bool BandedRegion::copy_from(const BandedRegion& other) {
    if (&other == this) return true;
    if (other.listed_) {
        if (!boxes_.assign(other.boxes_.view())) return false;
        list_extents_ = other.list_extents_;
        listed_ = true;
        pixman_region32_fini(&area_);
        pixman_region32_init(&area_);
        area_current_ = boxes_.size() == 0;
        return true;
    }
    pixman_region32_t r;
    pixman_region32_init(&r);
    if (!pixman_region32_copy(&r, &other.area_)) {
        pixman_region32_fini(&r);
        return false;
    }
    assign(r);
    return true;
}

const pixman_region32_t* BandedRegion::pixman() const {
    if (!listed_ || area_current_) return &area_;
    pixman_region32_t r;
    const std::span<const pixman_box32_t> boxes = boxes_.view();
    if (!pixman_region32_init_rects(&r, boxes.data(), static_cast<int>(boxes.size()))) {
        pixman_region32_fini(&r);
        return nullptr;
    }
    pixman_region32_fini(&area_);
    area_ = r;  // a pixman region is a value that owns its rectangle block
    area_current_ = true;
    return &area_;
}

void BandedRegion::assign(pixman_region32_t& result) {
    pixman_region32_fini(&area_);
    area_ = result;
    pixman_region32_init(&result);
    area_current_ = true;
    listed_ = false;
    boxes_.release();
}

bool BandedRegion::take_list_form() {
    if (listed_) return true;
    if (!boxes_.assign(rectangles())) return false;
    list_extents_ = *pixman_region32_extents(&area_);
    listed_ = true;
    area_current_ = true;
    return true;
}

// Only this region's last band can change: it is united with `below` by
// pixman, and the result replaces it at the end of the list. The band before
// it may then have the same spans as the result's first band and touch it:
// it grows down instead, as the general union merges such bands.
bool BandedRegion::append_below(const BandedRegion& below) {
    const std::span<const pixman_box32_t> mine = rectangles();
    const std::span<const pixman_box32_t> added = below.rectangles();
    // Small regions take the general way.
    if (mine.size() < 2 || added.empty()) return false;
    if (below.extents().y1 < mine.back().y1) return false;
    const pixman_region32_t* added_area = below.pixman();
    if (!added_area) return false;

    const std::size_t keep = band_start(mine.data(), mine.size() - 1);
    pixman_region32_t tail, merged;
    if (!pixman_region32_init_rects(&tail, mine.data() + keep, static_cast<int>(mine.size() - keep))) {
        pixman_region32_fini(&tail);
        return false;
    }
    pixman_region32_init(&merged);
    const bool ok = pixman_region32_union(&merged, &tail, added_area);
    pixman_region32_fini(&tail);
    int n = 0;
    const pixman_box32_t* m = ok ? pixman_region32_rectangles(&merged, &n) : nullptr;
    if (!ok || n == 0) {
        pixman_region32_fini(&merged);
        return false;
    }
    const std::size_t nm = static_cast<std::size_t>(n);

    std::size_t skip = 0;  // rectangles of the merged first band that the band before absorbs
    std::size_t before = keep;
    if (keep > 0) {
        before = band_start(mine.data(), keep - 1);
        std::size_t first_band = 1;
        while (first_band < nm && m[first_band].y1 == m[0].y1) ++first_band;
        if (mine[keep - 1].y2 == m[0].y1 && keep - before == first_band && same_spans(mine.data() + before, m, first_band))
            skip = first_band;
    }
    if (keep + (nm - skip) < 2) {  // a single rectangle: the general way
        pixman_region32_fini(&merged);
        return false;
    }

    // Room for the result first, so that nothing changes when memory runs out.
    if (!take_list_form() || !boxes_.reserve(keep + (nm - skip))) {
        pixman_region32_fini(&merged);
        return false;
    }
    if (area_current_) {
        pixman_region32_fini(&area_);
        pixman_region32_init(&area_);
        area_current_ = false;
    }
    if (skip > 0)
        for (std::size_t i = before; i < keep; ++i) boxes_.data()[i].y2 = m[0].y2;
    boxes_.truncate(keep);
    boxes_.append(m + skip, nm - skip);
    const pixman_box32_t e = *pixman_region32_extents(&merged);
    list_extents_.x1 = std::min(list_extents_.x1, e.x1);
    list_extents_.x2 = std::max(list_extents_.x2, e.x2);
    list_extents_.y2 = std::max(list_extents_.y2, e.y2);
    pixman_region32_fini(&merged);
    return true;
}

}  // namespace orvex_platform
