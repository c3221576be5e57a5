// PNG files of pictures read back from a display, for the snapshot tool and
// the examples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvex_image_writers {

// Writes an opaque picture, top row first, 3 bytes a pixel (red, green,
// blue); false with a reason on failure.
bool write_png(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               std::string& error);

}  // namespace orvex_image_writers
