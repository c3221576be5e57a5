// Little-endian numbers in bytes: file headers (BMP, icons, TGA) and DIB
// pixels are stored this way, whatever the host's order. Plain C++, for the
// platform layer and the framework on every system.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orvex_platform {

// On a little-endian host a value is its bytes: one load or store (pixel
// loops read and write millions of them); elsewhere byte by byte.
inline std::uint16_t read_le16(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t read_le32(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t read_le32_signed(const std::uint8_t* p) { return static_cast<std::int32_t>(read_le32(p)); }

inline void write_le16(std::uint8_t* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint16_t w = static_cast<std::uint16_t>(v);
        std::memcpy(p, &w, sizeof w);
        return;
    }
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void write_le32(std::uint8_t* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, sizeof v);
        return;
    }
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
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
