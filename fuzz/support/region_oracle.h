// What a region built from a bitmap must be, worked out independently of the
// region builder: the pixels the bitmap shows through a palette, copied to
// 32 bits, that lie outside the transparent colour range; and whether a
// region covers exactly those pixels. Shared by the fuzz targets that reach
// the region builder.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace orvex_fuzz {

// Ends the run with a message; libFuzzer keeps the input.
[[noreturn]] void fail(const char* what);

// The opaque pixels of `bitmap` (width by height, top row first), shown
// through `palette`: a pixel is transparent when each channel lies from the
// colour's value (0x00BBGGRR) to that value plus `tolerance`.
std::vector<bool> opaque_pixels(HBITMAP bitmap, HPALETTE palette, int width, int height, std::uint32_t colour,
                                std::uint8_t tolerance);

// Whether `region` is made of rectangles inside the picture that cover
// exactly the opaque pixels, each once.
bool region_covers_exactly(HRGN region, const std::vector<bool>& opaque, int width, int height);

}  // namespace orvex_fuzz
