#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace snapshot {

// Writes an RGBA image, top row first, as a PNG file; false with a reason on failure.
bool write_png(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
               std::string& error);

}  // namespace snapshot
