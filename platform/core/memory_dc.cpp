// Memory device contexts and the selection of objects into contexts.
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/memory_dc.h"
#include "platform/core/regions.h"
#include "platform/platform_control.h"

namespace orvex_platform {

DeviceContext* find_dc(HDC dc) { return find_gdi<DeviceContext>(dc, GdiKind::device_context); }

Palette* selected_palette(const DeviceContext& dc) {
    if (Palette* p = find_gdi<Palette>(dc.palette, GdiKind::palette)) return p;
    return find_gdi<Palette>(stock_palette(), GdiKind::palette);
}

namespace {
HGDIOBJ region_result(int complexity) { return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(complexity)); }

HGDIOBJ select_bitmap(HDC handle, DeviceContext& dc, HGDIOBJ object, Bitmap& b) {
    // Only a memory context holds a bitmap, and a bitmap is in one context
    // at a time (the stock bitmap excepted).
    if (!dc.memory) return nullptr;
    if (!b.stock && b.selected_into && b.selected_into != handle) return nullptr;
    HGDIOBJ previous = dc.bitmap ? dc.bitmap : stock_bitmap();
    if (previous == object) return previous;
    if (auto* old = find_gdi<Bitmap>(previous, GdiKind::bitmap); old && old->selected_into == handle)
        old->selected_into = nullptr;
    dc.bitmap = object;
    if (!b.stock) b.selected_into = handle;
    return previous;
}

HGDIOBJ select_region(DeviceContext& dc, Region& r) {
    // The context keeps a copy as its clipping region; the caller keeps the region.
    auto clip = std::make_unique<Region>();
    if (!clip->area.copy_from(r.area)) return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(-1));
    const int result = complexity(clip->area);
    dc.clip = std::move(clip);
    return region_result(result);
}
}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

HDC WINAPI CreateCompatibleDC(HDC dc) {
    ORVEX_API(dc);
    if ((dc && !find_dc(dc)) || failure_injected(Failure::create_dc)) return nullptr;
    auto m = std::make_unique<DeviceContext>();
    m->memory = true;
    m->bitmap = stock_bitmap();
    m->palette = stock_palette();
    m->brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    return static_cast<HDC>(add_gdi_object(std::move(m)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    ORVEX_API(dc);
    DeviceContext* d = find_dc(dc);
    // Window and screen contexts go back with ReleaseDC or EndPaint.
    if (!d || !d->memory) return FALSE;
    remove_gdi_object(dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    ORVEX_API(dc, object);
    DeviceContext* d = find_dc(dc);
    GdiObject* o = find_gdi_object(object);
    if (!d || !o) return nullptr;
    switch (o->kind) {
        case GdiKind::bitmap: return select_bitmap(dc, *d, object, *static_cast<Bitmap*>(o));
        case GdiKind::brush: {
            HGDIOBJ previous = d->brush ? static_cast<HGDIOBJ>(d->brush) : GetStockObject(WHITE_BRUSH);
            d->brush = static_cast<HBRUSH>(object);
            return previous;
        }
        case GdiKind::region: return select_region(*d, *static_cast<Region*>(o));
        // Palettes are selected with SelectPalette only.
        case GdiKind::palette:
        case GdiKind::device_context: return nullptr;
    }
    return nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type) {
    ORVEX_API(dc, type);
    DeviceContext* d = find_dc(dc);
    if (!d) return nullptr;
    switch (type) {
        case OBJ_BITMAP: return d->memory ? (d->bitmap ? d->bitmap : stock_bitmap()) : nullptr;
        case OBJ_PAL: return d->palette ? static_cast<HGDIOBJ>(d->palette) : static_cast<HGDIOBJ>(stock_palette());
        case OBJ_BRUSH: return d->brush ? static_cast<HGDIOBJ>(d->brush) : GetStockObject(WHITE_BRUSH);
        default: return nullptr;
    }
}
