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
// allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace orvex_platform {

struct DibImage {
    LONG width = 0;
    LONG height = 0;             // always positive; `bits` holds the bottom row first
    WORD bits_per_pixel = 0;     // 1, 4, 8, 16, 24 or 32
    LONG stride = 0;             // bytes per row, a multiple of 4
    DWORD compression = BI_RGB;  // BI_RGB or BI_BITFIELDS
    DWORD masks[3]{};            // red, green, blue masks with BI_BITFIELDS
    std::vector<RGBQUAD> colors; // colour table of 1-, 4- and 8-bit images
    std::vector<BYTE> bits;      // stride * height bytes
};

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

// The default cap on the decoded pixel memory: 256 MiB.
inline constexpr std::size_t max_dib_bytes = std::size_t{1} << 28;

// Decodes a whole BMP file held in `data`. On failure `out` is left empty.
BmpResult decode_bmp(const std::uint8_t* data, std::size_t size, DibImage& out,
                     std::size_t max_bytes = max_dib_bytes);

// The colour of pixel (x, y) of a decoded image, (0, 0) being the top-left
// pixel, as 0x00RRGGBB. Colour indices beyond the table give black; x and y
// outside the image give 0.
std::uint32_t dib_pixel_rgb(const DibImage& image, LONG x, LONG y);

// The same image as 32 bits per pixel, blue, green, red, 0 (the screen's own
// format), rows bottom-up; false when that would exceed the cap.
bool dib_to_32bit(const DibImage& image, DibImage& out, std::size_t max_bytes = max_dib_bytes);

}  // namespace orvex_platform
