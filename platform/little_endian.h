// Little-endian numbers in bytes: file headers (BMP, icons, TGA) and DIB
// pixels are stored this way, whatever the host's order. Plain C++, for the
// platform layer and the framework on every system.
#pragma once

#include <cstdint>
#include <vector>

namespace orvex_platform {

inline std::uint16_t read_le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t read_le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t read_le32_signed(const std::uint8_t* p) { return static_cast<std::int32_t>(read_le32(p)); }

inline void write_le16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void write_le32(std::uint8_t* p, std::uint32_t v) {
    write_le16(p, v & 0xFFFF);
    write_le16(p + 2, v >> 16);
}

inline void append_le16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void append_le32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    append_le16(out, v & 0xFFFF);
    append_le16(out, v >> 16);
}

}  // namespace orvex_platform
