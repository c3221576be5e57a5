// Logical palettes: creation, the halftone palette, selection into contexts.
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/memory_dc.h"

namespace orvex_platform {

namespace {
// The 256 colours of the halftone palette: the 20 static colours at both
// ends, a 6 x 6 x 6 colour cube and 20 greys between them.
std::vector<PALETTEENTRY> halftone_entries() {
    const Palette* statics = find_gdi<Palette>(stock_palette(), GdiKind::palette);
    std::vector<PALETTEENTRY> e;
    e.reserve(256);
    for (int i = 0; i < 10; ++i) e.push_back(statics->entries[static_cast<std::size_t>(i)]);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                e.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51), 0});
    // Greys between the cube's six levels of grey.
    for (int i = 1; i <= 20; ++i) {
        BYTE v = static_cast<BYTE>(i * 255 / 21);
        e.push_back(PALETTEENTRY{v, v, v, 0});
    }
    for (int i = 10; i < 20; ++i) e.push_back(statics->entries[static_cast<std::size_t>(i)]);
    return e;
}
}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette) {
    ORVEX_API(palette);
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) return nullptr;
    auto p = std::make_unique<Palette>();
    p->entries.resize(palette->palNumEntries);
    std::memcpy(p->entries.data(), palette->palPalEntry, p->entries.size() * sizeof(PALETTEENTRY));
    return static_cast<HPALETTE>(add_gdi_object(std::move(p)));
}

HPALETTE WINAPI CreateHalftonePalette(HDC dc) {
    ORVEX_API(dc);
    if (!find_dc(dc)) return nullptr;
    auto p = std::make_unique<Palette>();
    p->entries = halftone_entries();
    return static_cast<HPALETTE>(add_gdi_object(std::move(p)));
}

HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL force_background) {
    ORVEX_API(dc, palette, force_background);
    DeviceContext* d = find_dc(dc);
    Palette* next = find_gdi<Palette>(palette, GdiKind::palette);
    if (!d || !next) return nullptr;
    HPALETTE previous = d->palette ? d->palette : stock_palette();
    if (Palette* old = find_gdi<Palette>(previous, GdiKind::palette); old && !old->stock && old->select_count > 0) {
        if (--old->select_count == 0) old->selected_into = nullptr;
    }
    d->palette = palette;
    d->palette_background = force_background != FALSE;
    if (!next->stock) {
        ++next->select_count;
        next->selected_into = dc;
    }
    return previous;
}

UINT WINAPI RealizePalette(HDC dc) {
    ORVEX_API(dc);
    DeviceContext* d = find_dc(dc);
    if (!d) return GDI_ERROR;
    // The display has true colour: every entry of a program's palette is
    // shown as it is, and the default palette needs no mapping at all.
    const Palette* p = find_gdi<Palette>(d->palette, GdiKind::palette);
    return (p && !p->stock) ? static_cast<UINT>(p->entries.size()) : 0;
}

UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    ORVEX_API(palette, start, count, entries);
    const Palette* p = find_gdi<Palette>(palette, GdiKind::palette);
    if (!p) return 0;
    if (!entries) return static_cast<UINT>(p->entries.size());
    if (start >= p->entries.size()) return 0;
    const std::size_t n = std::min<std::size_t>(count, p->entries.size() - start);
    std::memcpy(entries, p->entries.data() + start, n * sizeof(PALETTEENTRY));
    return static_cast<UINT>(n);
}
