// The region builder's work after the file has been loaded, on its own so that
// it can be given any bitmap.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace orvex::buttons_detail {

// Rectangles per growth of the buffer, and per region made at once.
inline constexpr std::uint32_t ALLOC_UNIT = 100;
inline constexpr std::uint32_t BATCH_RECTS = 2000;

// Scans `bitmap` (shown through `palette`) and returns the region of its
// opaque pixels, as BITMAPTOREGION does; deletes the bitmap and the palette.
HRGN region_from_bitmap(HBITMAP bitmap, HPALETTE palette, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE);

}  // namespace orvex::buttons_detail
