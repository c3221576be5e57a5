// Fuzz target: the platform's BMP decoder on arbitrary bytes. A decoded
// image must be laid out as promised (rows of a multiple of 4 bytes, bottom
// up, as many bytes as rows need), and every pixel of it must be readable.
#include <cstdint>
#include <cstdlib>

#include "platform/core/bmp_decoder.h"

using namespace orvex_platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DibImage image;
    // A lower cap than the platform's keeps each run fast; the checks are the same.
    const BmpResult result = decode_bmp(data, size, image, std::size_t{1} << 20);
    if (result != BmpResult::ok) {
        if (!image.bits.empty() || image.width != 0) std::abort();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0 || image.stride % 4 != 0) std::abort();
    const std::uint64_t row_bits = static_cast<std::uint64_t>(image.width) * image.bits_per_pixel;
    if (static_cast<std::uint64_t>(image.stride) * 8 < row_bits) std::abort();
    if (image.bits.size() != static_cast<std::size_t>(image.stride) * static_cast<std::size_t>(image.height)) std::abort();
    if (image.bits_per_pixel <= 8 ? image.colors.size() > (1u << image.bits_per_pixel) : !image.colors.empty()) {
        std::abort();
    }
    std::uint32_t sum = 0;
    const std::int64_t pixels = static_cast<std::int64_t>(image.width) * image.height;
    const std::int64_t step = pixels > (1 << 16) ? pixels / (1 << 16) : 1;
    for (std::int64_t i = 0; i < pixels; i += step) {
        sum += dib_pixel_rgb(image, static_cast<LONG>(i % image.width), static_cast<LONG>(i / image.width));
    }
    volatile std::uint32_t sink = sum;
    (void)sink;
    if (pixels <= (1 << 16)) {
        DibImage wide;
        if (!dib_to_32bit(image, wide)) std::abort();
        if (wide.bits.size() != static_cast<std::size_t>(pixels) * 4) std::abort();
    }
    return 0;
}
