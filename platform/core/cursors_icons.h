// Cursors and icons: the system's, and those read from .cur and .ico files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace orvex_platform {

struct CursorImage {
    bool system{};
    int system_id{};  // IDC_ or IDI_ number of a system cursor or icon
    bool icon{};      // an icon rather than a cursor
    int width{};
    int height{};
    int hotspot_x{};
    int hotspot_y{};
    std::vector<std::uint32_t> argb;  // the image, top row first, when read from a file
};

const CursorImage* find_cursor(HCURSOR cursor);

// Reads the first image of a .cur or .ico file held in `bytes`; false when
// the bytes are not such a file.
bool decode_cursor_file(const std::vector<unsigned char>& bytes, CursorImage& out);

}  // namespace orvex_platform
