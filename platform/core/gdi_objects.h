// GDI objects of the platform core: device contexts, brushes, bitmaps,
// palettes and regions share one handle table, as on Windows, so that
// DeleteObject and SelectObject can tell them apart by handle alone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/dib_image.h"
#include "platform/win32.h"

namespace orvex_platform {

enum class GdiKind { device_context, brush, bitmap, palette, region };

struct GdiObject {
    explicit GdiObject(GdiKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiKind kind;
    bool stock = false;            // never deleted
    bool owned_by_window = false;  // a window region: the system deletes it with the window
};

struct Brush : GdiObject {
    Brush() : GdiObject(GdiKind::brush) {}
    COLORREF color{};
    bool hollow{};
};

// A device-independent bitmap section: the image (its pixel format and
// colour table as made or loaded), and the context it is selected into.
struct Bitmap : GdiObject, DibImage {
    Bitmap() : GdiObject(GdiKind::bitmap) {}
    HDC selected_into{};
};

struct Palette : GdiObject {
    Palette() : GdiObject(GdiKind::palette) {}
    std::vector<PALETTEENTRY> entries;
    HDC selected_into{};  // a context it is selected into (the last), while select_count > 0
    int select_count{};
};

struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(GdiKind::device_context) {}
    HWND window{};      // a window's context (GetDC, BeginPaint)
    bool memory{};      // a memory context (CreateCompatibleDC)
    bool screen{};      // the screen's context (GetDC(0))
    HGDIOBJ bitmap{};   // selected bitmap (memory contexts)
    HPALETTE palette{}; // selected palette
    HBRUSH brush{};
    bool palette_background{};
    std::unique_ptr<GdiObject> clip;  // clipping region (a copy of the region selected)
};

HGDIOBJ add_gdi_object(std::unique_ptr<GdiObject> object);
GdiObject* find_gdi_object(HGDIOBJ handle);
template <class T>
T* find_gdi(HGDIOBJ handle, GdiKind kind) {
    GdiObject* o = find_gdi_object(handle);
    return (o && o->kind == kind) ? static_cast<T*>(o) : nullptr;
}
void remove_gdi_object(HGDIOBJ handle);
std::size_t gdi_object_count();  // objects that are not stock objects
std::size_t gdi_handle_slots();  // slots of the handle table, live and free: what its memory grows with

// The 1 by 1 monochrome bitmap every new memory context starts with.
HBITMAP stock_bitmap();
HPALETTE stock_palette();

}  // namespace orvex_platform
