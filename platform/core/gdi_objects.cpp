#include "platform/core/gdi_objects.h"

#include <cstring>

#include "platform/core/call_log.h"
#include "platform/core/handle_table.h"

namespace orvex_platform {

namespace {
HandleTable<GdiObject>& table() {
    static HandleTable<GdiObject> t;
    return t;
}

// Each kind of GDI object has handles of its own kind, so a handle of one
// kind never names an object of another.
HandleKind handle_kind(GdiKind kind) {
    switch (kind) {
        case GdiKind::device_context: return HandleKind::device_context;
        case GdiKind::brush: return HandleKind::brush;
        case GdiKind::bitmap: return HandleKind::bitmap;
        case GdiKind::palette: return HandleKind::palette;
        case GdiKind::region: return HandleKind::region;
    }
    return HandleKind::region;
}

HGDIOBJ make_stock(std::unique_ptr<GdiObject> o) {
    o->stock = true;
    return add_gdi_object(std::move(o));
}

HGDIOBJ stock_brush(COLORREF color, bool hollow) {
    auto b = std::make_unique<Brush>();
    b->color = color;
    b->hollow = hollow;
    return make_stock(std::move(b));
}

struct StockObjects {
    HGDIOBJ white = stock_brush(RGB(255, 255, 255), false);
    HGDIOBJ black = stock_brush(RGB(0, 0, 0), false);
    HGDIOBJ null_brush = stock_brush(0, true);
    HGDIOBJ btnface = stock_brush(RGB(240, 240, 240), false);
    HGDIOBJ window = stock_brush(RGB(255, 255, 255), false);
    HGDIOBJ mono_bitmap = [] {
        auto b = std::make_unique<Bitmap>();
        b->width = 1;
        b->height = 1;
        b->bits_per_pixel = 1;
        b->stride = 4;
        b->bits.assign(4, 0);
        b->colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        return make_stock(std::move(b));
    }();
    HGDIOBJ default_palette = [] {
        auto p = std::make_unique<Palette>();
        // The 20 static colours of the system palette.
        const BYTE c[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
                               {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
                               {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
                               {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        for (auto& e : c) p->entries.push_back(PALETTEENTRY{e[0], e[1], e[2], 0});
        return make_stock(std::move(p));
    }();
};

StockObjects& stock() {
    static StockObjects s;
    return s;
}
}  // namespace

HGDIOBJ add_gdi_object(std::unique_ptr<GdiObject> object) {
    // The stock objects come first: a table filled before they are made
    // would leave them without handles.
    if (!object->stock) stock();
    const HandleKind kind = handle_kind(object->kind);
    return table().add<HGDIOBJ>(kind, std::move(object));
}

GdiObject* find_gdi_object(HGDIOBJ handle) { return handle ? table().find(handle) : nullptr; }

void remove_gdi_object(HGDIOBJ handle) {
    std::unique_ptr<GdiObject> object = table().take(handle);
    // A context that goes lets go of the bitmap and palette selected into it,
    // so that they can be deleted.
    if (object && object->kind == GdiKind::device_context) {
        auto* dc = static_cast<DeviceContext*>(object.get());
        if (auto* b = find_gdi<Bitmap>(dc->bitmap, GdiKind::bitmap); b && b->selected_into == handle)
            b->selected_into = nullptr;
        if (auto* p = find_gdi<Palette>(dc->palette, GdiKind::palette); p && p->select_count > 0) {
            if (--p->select_count == 0) p->selected_into = nullptr;
        }
    }
}

std::size_t gdi_object_count() {
    stock();
    std::size_t n = 0;
    table().for_each([&](std::uintptr_t, const GdiObject& o) { n += o.stock ? 0 : 1; });
    return n;
}

std::size_t gdi_handle_slots() { return table().slots(); }

HBITMAP stock_bitmap() { return static_cast<HBITMAP>(stock().mono_bitmap); }
HPALETTE stock_palette() { return static_cast<HPALETTE>(stock().default_palette); }

}  // namespace orvex_platform

using namespace orvex_platform;

HGDIOBJ WINAPI GetStockObject(int index) {
    ORVEX_API(index);
    switch (index) {
        case WHITE_BRUSH: return stock().white;
        case BLACK_BRUSH: return stock().black;
        case NULL_BRUSH: return stock().null_brush;
        case DEFAULT_PALETTE: return stock().default_palette;
        default: return nullptr;
    }
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    ORVEX_API(index);
    switch (index) {
        case COLOR_BTNFACE: return static_cast<HBRUSH>(stock().btnface);
        case COLOR_WINDOW: return static_cast<HBRUSH>(stock().window);
        default: return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    ORVEX_API(object);
    GdiObject* o = find_gdi_object(object);
    if (!o || o->kind == GdiKind::device_context) return FALSE;
    if (o->stock) return TRUE;
    if (o->owned_by_window) return FALSE;
    // An object selected into a context stays until it is selected out.
    if (o->kind == GdiKind::bitmap && static_cast<Bitmap*>(o)->selected_into) return FALSE;
    if (o->kind == GdiKind::palette && static_cast<Palette*>(o)->selected_into) return FALSE;
    remove_gdi_object(object);
    return TRUE;
}

int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer) {
    ORVEX_API(object, size, buffer);
    GdiObject* o = find_gdi_object(object);
    if (!o) return 0;
    switch (o->kind) {
        case GdiKind::bitmap: {
            auto* b = static_cast<Bitmap*>(o);
            BITMAP bm{};
            bm.bmType = 0;
            bm.bmWidth = b->width;
            bm.bmHeight = b->height;
            bm.bmWidthBytes = b->stride;
            bm.bmPlanes = 1;
            bm.bmBitsPixel = b->bits_per_pixel;
            bm.bmBits = b->stock || b->bits.empty() ? nullptr : b->bits.data();
            if (!buffer) return static_cast<int>(sizeof(BITMAP));
            if (size >= static_cast<int>(sizeof(DIBSECTION))) {
                DIBSECTION ds{};
                ds.dsBm = bm;
                ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
                ds.dsBmih.biWidth = b->width;
                ds.dsBmih.biHeight = b->top_down ? -b->height : b->height;
                ds.dsBmih.biPlanes = 1;
                ds.dsBmih.biBitCount = b->bits_per_pixel;
                ds.dsBmih.biCompression = b->compression;
                ds.dsBmih.biSizeImage = static_cast<DWORD>(b->bits.size());
                ds.dsBmih.biClrUsed = static_cast<DWORD>(b->colors.size());
                std::memcpy(ds.dsBitfields, b->masks, sizeof ds.dsBitfields);
                std::memcpy(buffer, &ds, sizeof ds);
                return static_cast<int>(sizeof ds);
            }
            if (size < static_cast<int>(sizeof(BITMAP))) return 0;
            std::memcpy(buffer, &bm, sizeof bm);
            return static_cast<int>(sizeof bm);
        }
        case GdiKind::palette: {
            auto* p = static_cast<Palette*>(o);
            if (!buffer) return 2;
            if (size < 2) return 0;
            WORD n = static_cast<WORD>(p->entries.size());
            std::memcpy(buffer, &n, 2);
            return 2;
        }
        default: return 0;
    }
}
