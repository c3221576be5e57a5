// GDI regions and window regions.
#include "platform/core/regions.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/window.h"

namespace orvex_platform {

int complexity(const BandedRegion& area) {
    const std::size_t n = area.rectangles().size();
    return n == 0 ? NULLREGION : (n == 1 ? SIMPLEREGION : COMPLEXREGION);
}

}  // namespace orvex_platform

using namespace orvex_platform;

namespace {
HRGN add_region(std::unique_ptr<Region> region) { return static_cast<HRGN>(add_gdi_object(std::move(region))); }

// dest = a (mode) b through pixman's algebra; false, dest unchanged, when
// pixman cannot allocate.
bool combine(BandedRegion& dest, const BandedRegion* a, const BandedRegion* b, int mode) {
    if (mode == RGN_COPY) return dest.copy_from(*a);
    const pixman_region32_t* pa = a->pixman();
    const pixman_region32_t* pb = b->pixman();
    if (!pa || !pb) return false;
    pixman_region32_t result;
    pixman_region32_init(&result);
    bool ok = true;
    switch (mode) {
        case RGN_AND: ok = pixman_region32_intersect(&result, pa, pb); break;
        case RGN_OR: ok = pixman_region32_union(&result, pa, pb); break;
        case RGN_DIFF: ok = pixman_region32_subtract(&result, pa, pb); break;
        case RGN_XOR: {
            pixman_region32_t both, either;
            pixman_region32_init(&both);
            pixman_region32_init(&either);
            ok = pixman_region32_union(&either, pa, pb) && pixman_region32_intersect(&both, pa, pb) &&
                 pixman_region32_subtract(&result, &either, &both);
            pixman_region32_fini(&both);
            pixman_region32_fini(&either);
            break;
        }
        default: ok = false;
    }
    if (ok) dest.assign(result);
    pixman_region32_fini(&result);
    return ok;
}
}  // namespace

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    ORVEX_API(left, top, right, bottom);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    auto region = std::make_unique<Region>();
    region->area.set_rectangle(left, top, right, bottom);
    return add_region(std::move(region));
}

HRGN WINAPI ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
    ORVEX_API(xform, count, data);
    if (!data || count < sizeof(RGNDATAHEADER)) return nullptr;
    const RGNDATAHEADER& h = data->rdh;
    if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
    // The rectangles must lie within the bytes the caller says it handed over.
    if (h.nCount > (count - sizeof(RGNDATAHEADER)) / sizeof(RECT)) return nullptr;
    if (xform && (xform->eM11 != 1.0f || xform->eM22 != 1.0f || xform->eM12 != 0.0f || xform->eM21 != 0.0f ||
                  xform->eDx != 0.0f || xform->eDy != 0.0f))
        return nullptr;  // only the identity transform is supported
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(h.nCount);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data) + sizeof(RGNDATAHEADER);
    for (DWORD i = 0; i < h.nCount; ++i) {
        RECT r;
        std::memcpy(&r, p + i * sizeof(RECT), sizeof r);
        if (r.left < r.right && r.top < r.bottom) boxes.push_back(pixman_box32_t{r.left, r.top, r.right, r.bottom});
    }
    auto region = std::make_unique<Region>();
    if (!region->area.set_rectangles(boxes.data(), static_cast<int>(boxes.size()))) return nullptr;
    return add_region(std::move(region));
}

int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    ORVEX_API(dest, src1, src2, mode);
    Region* d = find_region(dest);
    Region* a = find_region(src1);
    Region* b = find_region(src2);
    if (!d || !a || (mode != RGN_COPY && !b)) return ERROR;
    // A region built from the top down grows in place (banded_region.h).
    if (mode == RGN_OR && d == a && b != a && d->area.append_below(b->area)) return complexity(d->area);
    if (!combine(d->area, &a->area, b ? &b->area : nullptr, mode)) return ERROR;
    return complexity(d->area);
}

BOOL WINAPI PtInRegion(HRGN rgn, int x, int y) {
    ORVEX_API(rgn, x, y);
    Region* r = find_region(rgn);
    if (!r) return FALSE;
    return r->area.contains(x, y) ? TRUE : FALSE;
}

int WINAPI GetRgnBox(HRGN rgn, LPRECT rect) {
    ORVEX_API(rgn, rect);
    Region* r = find_region(rgn);
    if (!r || !rect) return ERROR;
    const pixman_box32_t e = r->area.extents();
    *rect = r->area.empty() ? RECT{0, 0, 0, 0} : RECT{e.x1, e.y1, e.x2, e.y2};
    return complexity(r->area);
}

DWORD WINAPI GetRegionData(HRGN rgn, DWORD count, RGNDATA* data) {
    ORVEX_API(rgn, count, data);
    Region* r = find_region(rgn);
    if (!r) return 0;
    const std::span<const pixman_box32_t> boxes = r->area.rectangles();
    const std::size_t n = boxes.size();
    DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * n);
    if (!data) return needed;
    if (count < needed) return 0;
    RGNDATAHEADER h{};
    h.dwSize = sizeof(RGNDATAHEADER);
    h.iType = RDH_RECTANGLES;
    h.nCount = static_cast<DWORD>(n);
    h.nRgnSize = static_cast<DWORD>(sizeof(RECT) * n);
    GetRgnBox(rgn, &h.rcBound);
    std::memcpy(data, &h, sizeof h);
    unsigned char* p = reinterpret_cast<unsigned char*>(data) + sizeof h;
    for (std::size_t i = 0; i < n; ++i) {
        RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
        std::memcpy(p + i * sizeof(RECT), &rc, sizeof rc);
    }
    return needed;
}

int WINAPI SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw) {
    ORVEX_API(wnd, rgn, redraw);
    Window* w = find_window(wnd);
    if (!w || (rgn && !find_region(rgn))) return 0;
    // The system owns the region from now on and deletes the one it replaces.
    if (w->region && w->region != rgn) remove_gdi_object(w->region);
    w->region = rgn;
    if (rgn) find_region(rgn)->owned_by_window = true;
    driver().window_changed(*w);
    if (redraw) InvalidateRect(wnd, nullptr, TRUE);
    return 1;
}

int WINAPI GetWindowRgn(HWND wnd, HRGN rgn) {
    ORVEX_API(wnd, rgn);
    Window* w = find_window(wnd);
    Region* d = find_region(rgn);
    if (!w || !d || !w->region) return ERROR;
    return CombineRgn(rgn, w->region, nullptr, RGN_COPY);
}
