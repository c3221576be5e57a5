// The BMP file decoder behind LoadImageA: plain code over a byte buffer, no
// GDI state, so that other loaders can use it too.
//
// It reads bitmaps of 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed
// (BI_RGB), with colour masks (BI_BITFIELDS, 16 and 32 bits) and run-length
// encoded (BI_RLE8, BI_RLE4), with 12-byte core headers and 40-, 52-, 56-,
// 108- and 124-byte info headers, stored bottom-up or top-down. The result is
// laid out like a DIB section: rows bottom row first, each row padded to a
// multiple of 4 bytes, the file's pixel format and colour table kept.
// Run-length files come out as uncompressed 8- or 4-bit images; pixels the
// encoding skips keep colour index 0.
//
// Any malformed file gives a failure result, never a read outside the bytes
// passed in; images larger than a cap are refused before anything is
// allocated. The pixels of a decoded image are read with dib_image.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/dib_image.h"

namespace orvex_platform {

enum class BmpResult {
    ok,
    not_a_bitmap,  // no "BM" signature
    truncated,     // the file ends before the headers, masks, colour table or pixels it declares
    bad_header,    // unknown header size, zero planes, zero or negative width, zero height, ...
    unsupported,   // a depth/compression pair that no DIB has (RLE8 at 24 bits, JPEG, PNG, ...)
    too_large,     // the pixel memory would exceed the cap
    bad_rle,       // a run-length packet cut short
};
const char* bmp_result_name(BmpResult result);

// Decodes a whole BMP file held in `data`. On failure `out` is left empty.
BmpResult decode_bmp(const std::uint8_t* data, std::size_t size, DibImage& out,
                     std::size_t max_bytes = max_dib_bytes);

}  // namespace orvex_platform
