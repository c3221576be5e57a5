// Helpers shared by the two texture loaders (not part of the public header).
#pragma once

#include <cstdint>

namespace orvex {

// True when a file (not a directory) of that name exists.
bool texture_file_exists(const char* name);
// True for the four minification filters that use mipmaps.
bool is_mipmap_filter(std::int32_t filter);

}  // namespace orvex
