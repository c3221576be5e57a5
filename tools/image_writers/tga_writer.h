// TGA files, uncompressed or run-length encoded, for the tools that
// generate pictures, the tests and the benchmarks.
#pragma once

#include <cstdint>
#include <vector>

namespace orvex_image_writers {

// The 18-byte header: no identification field and no colour map.
std::vector<std::uint8_t> tga_header(std::uint8_t image_type, unsigned width, unsigned height, std::uint8_t bits,
                                     std::uint8_t descriptor);

// A true-colour file (image type 2, or 10 with `run_length`): `pixels` holds
// bits / 8 bytes a pixel, blue first, in the file's row order. Runs of two or
// more equal pixels become run packets, the rest raw packets, at most 128
// pixels a packet.
std::vector<std::uint8_t> tga_bytes(unsigned width, unsigned height, std::uint8_t bits, std::uint8_t descriptor,
                                    const std::vector<std::uint8_t>& pixels, bool run_length);

}  // namespace orvex_image_writers
