// Memory device contexts, DIB sections, palettes and block transfers: what
// these operations share.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/core/gdi_objects.h"

namespace orvex_platform {

DeviceContext* find_dc(HDC dc);
// The palette selected into a context; the default palette when none was.
Palette* selected_palette(const DeviceContext& dc);

// The 256 colours of the halftone palette: the 20 static colours at both
// ends, a 6 x 6 x 6 colour cube and 20 greys between them.
std::vector<PALETTEENTRY> halftone_entries();

// Pixel access to a bitmap, (0, 0) being its top-left pixel whatever the
// order of its rows. Colours are 0x00RRGGBB.
//
// Reads `count` pixels of row `y` from column `x` on. Colour indices of 1-,
// 4- and 8-bit bitmaps go through the bitmap's colour table; an index beyond
// it takes the colour of `palette` (the source context's palette), if that
// has the entry, and black otherwise.
void read_pixels(const Bitmap& b, const Palette* palette, LONG x, LONG y, LONG count, std::uint32_t* out);

// Writes pixels, converting them to the bitmap's format; 1-, 4- and 8-bit
// bitmaps take the nearest colour of their colour table.
class PixelWriter {
public:
    explicit PixelWriter(Bitmap& b) : b_(b) {}
    void write(LONG x, LONG y, LONG count, const std::uint32_t* rgb, const std::uint8_t* mask = nullptr);

private:
    std::uint8_t nearest(std::uint32_t rgb);
    Bitmap& b_;
    std::unordered_map<std::uint32_t, std::uint8_t> cache_;
};

}  // namespace orvex_platform
