// A set of pixels as y-x banded rectangles: bands of rows from the top
// down, each band's rectangles from the left, no two rectangles of a band
// touching, and touching bands with the same spans merged into one. This is
// the form pixman gives every region, so a region has one list of
// rectangles whichever way it was made.
//
// Pixman's algebra (union, intersection, ...) writes a new region each time.
// A region built from the top down by adding batch after batch below it
// would then be copied whole for every batch, which costs time in proportion
// to the square of the batches. Such additions go instead to a rectangle list
// of our own, which grows by doubling (with realloc, which can move a large
// block without copying it); the list is handed to pixman (through its
// public interface only) when the region next takes part in pixman's
// algebra. Queries (rectangles, extents, points) read whichever form is
// current.
#pragma once

#include <pixman.h>

#include <cstddef>
#include <span>

namespace orvex_platform {

class BandedRegion {
public:
    BandedRegion();
    ~BandedRegion();
    BandedRegion(const BandedRegion&) = delete;
    BandedRegion& operator=(const BandedRegion&) = delete;

    // ---- what the region holds ----
    std::span<const pixman_box32_t> rectangles() const;
    bool empty() const { return rectangles().empty(); }
    // The smallest rectangle holding every pixel (all zero when empty).
    pixman_box32_t extents() const;
    bool contains(int x, int y) const;

    // ---- making it ----
    void set_empty();
    // The rectangle [x1, x2) x [y1, y2); empty unless x1 < x2 and y1 < y2.
    void set_rectangle(int x1, int y1, int x2, int y2);
    // The union of any rectangles; false (region unchanged) when pixman
    // cannot allocate.
    bool set_rectangles(const pixman_box32_t* boxes, int count);
    bool copy_from(const BandedRegion& other);

    // Pixman's form of the region, for its algebra; null when the list
    // cannot be handed over for want of memory.
    const pixman_region32_t* pixman() const;
    // Takes over a result of pixman's algebra; `result` is left empty.
    void assign(pixman_region32_t& result);

    // Unites `below` into this region in place when every band of `below`
    // lies at or below this region's last band (the case of a region built
    // from the top down), in time proportional to `below` and that band. The
    // result is the region, and the list of rectangles, that the general
    // union gives. False, with the region unchanged, in every other case:
    // the caller then takes the general way.
    bool append_below(const BandedRegion& below);

private:
    // Rectangles in a block of our own that grows by doubling.
    class BoxList {
    public:
        BoxList() = default;
        ~BoxList();
        BoxList(const BoxList&) = delete;
        BoxList& operator=(const BoxList&) = delete;
        std::span<const pixman_box32_t> view() const { return {data_, size_}; }
        pixman_box32_t* data() { return data_; }
        std::size_t size() const { return size_; }
        // False, the list unchanged, when memory runs out.
        bool assign(std::span<const pixman_box32_t> boxes);
        bool append(const pixman_box32_t* boxes, std::size_t count);
        bool reserve(std::size_t count);
        void truncate(std::size_t count) { size_ = count < size_ ? count : size_; }
        void release();

    private:
        pixman_box32_t* data_ = nullptr;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    bool take_list_form();

    // Pixman's form: the region itself while `listed_` is false; while it is
    // true, a copy of the list made when `area_current_`.
    mutable pixman_region32_t area_;
    mutable bool area_current_ = true;
    bool listed_ = false;
    BoxList boxes_;
    pixman_box32_t list_extents_{};
};

}  // namespace orvex_platform
