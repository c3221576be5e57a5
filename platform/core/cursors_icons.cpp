// System cursors and icons, and cursor or icon files.
#include "platform/core/cursors_icons.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/dib_image.h"
#include "platform/core/handle_counts.h"
#include "platform/core/handle_table.h"
#include "platform/core/regular_file.h"
#include "platform/little_endian.h"

namespace orvex_platform {

namespace {
HandleTable<CursorImage>& cursors() {
    static HandleTable<CursorImage> t;
    return t;
}

HCURSOR system_object(int id, bool icon) {
    static std::map<int, HCURSOR> cursor_handles, icon_handles;
    auto& handles = icon ? icon_handles : cursor_handles;
    auto it = handles.find(id);
    if (it != handles.end()) return it->second;
    auto c = std::make_unique<CursorImage>();
    c->system = true;
    c->system_id = id;
    c->icon = icon;
    c->width = c->height = 32;
    HCURSOR h = cursors().add<HCURSOR>(HandleKind::cursor, std::move(c));
    if (h) handles.emplace(id, h);
    return h;
}

bool known_cursor(int id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32646) || (id >= 32648 && id <= 32651);
}

// Decodes an image entry that holds a bitmap: BITMAPINFOHEADER, colour table,
// XOR image (1, 4, 8, 24 or 32 bits), AND mask; the height counts both.
bool decode_dib_entry(const unsigned char* p, std::size_t size, CursorImage& out) {
    if (size < 40 || read_le32(p) != 40) return false;
    std::int32_t w = static_cast<std::int32_t>(read_le32(p + 4));
    std::int32_t h2 = static_cast<std::int32_t>(read_le32(p + 8));
    unsigned bpp = read_le16(p + 14);
    std::uint32_t compression = read_le32(p + 16);
    std::uint32_t used = read_le32(p + 32);
    if (w <= 0 || w > 256 || h2 <= 0 || h2 > 512 || (h2 % 2) != 0 || compression != BI_RGB) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    int h = h2 / 2;
    std::size_t colors = bpp <= 8 ? (used ? used : (1u << bpp)) : 0;
    if (colors > 256) return false;
    std::size_t table = 40 + colors * 4;
    std::size_t xor_stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    std::size_t and_stride = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    std::size_t need = table + xor_stride * h + and_stride * h;
    if (need > size) return false;
    const unsigned char* xor_bits = p + table;
    const unsigned char* and_bits = xor_bits + xor_stride * h;
    DibImage image;
    image.width = w;
    image.height = h;
    image.bits_per_pixel = static_cast<WORD>(bpp);
    image.stride = static_cast<LONG>(xor_stride);
    for (std::size_t k = 0; k < colors; ++k) {
        const unsigned char* c = p + 40 + k * 4;
        image.colors.push_back(RGBQUAD{c[0], c[1], c[2], 0});
    }
    image.bits.assign(xor_bits, and_bits);
    out.width = w;
    out.height = h;
    out.argb.assign(static_cast<std::size_t>(w) * h, 0);
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        bool unknown_index = false;
        read_dib_row(image, 0, y, w, rgb.data(), {}, &unknown_index);
        if (unknown_index) return false;  // a colour the table does not have
        const unsigned char* row = xor_bits + xor_stride * (h - 1 - y);
        const unsigned char* mask = and_bits + and_stride * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            // 32-bit images carry their own alpha; the others are opaque
            // where the AND mask does not make them transparent.
            const std::uint32_t alpha = bpp == 32 ? row[x * 4 + 3] : 0xFF;
            const bool transparent = bpp != 32 && ((mask[x / 8] >> (7 - x % 8)) & 1);
            out.argb[static_cast<std::size_t>(y) * w + x] = transparent ? 0 : (alpha << 24) | rgb[static_cast<std::size_t>(x)];
        }
    }
    return true;
}
}  // namespace

const CursorImage* find_cursor(HCURSOR cursor) { return cursor ? cursors().find(cursor) : nullptr; }

std::size_t cursor_count() { return cursors().size(); }

bool decode_cursor_file(const std::vector<unsigned char>& bytes, CursorImage& out) {
    // ICONDIR: reserved 0, type 1 (icon) or 2 (cursor), count; then 16-byte entries.
    if (bytes.size() < 6 + 16) return false;
    const unsigned char* d = bytes.data();
    unsigned type = read_le16(d + 2);
    unsigned count = read_le16(d + 4);
    if (read_le16(d) != 0 || (type != 1 && type != 2) || count == 0) return false;
    if (bytes.size() < 6 + 16 * static_cast<std::size_t>(count)) return false;
    const unsigned char* e = d + 6;
    std::uint32_t size = read_le32(e + 8);
    std::uint32_t offset = read_le32(e + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size == 0) return false;
    out.icon = type == 1;
    out.hotspot_x = type == 2 ? read_le16(e + 4) : 0;
    out.hotspot_y = type == 2 ? read_le16(e + 6) : 0;
    const unsigned char* img = d + offset;
    static const unsigned char png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::memcmp(img, png, 8) == 0) {
        // A PNG entry: its size is in the directory; the image itself is
        // left to the display, which shows the default cursor for it.
        out.width = e[0] ? e[0] : 256;
        out.height = e[1] ? e[1] : 256;
        return true;
    }
    return decode_dib_entry(img, size, out);
}

}  // namespace orvex_platform

using namespace orvex_platform;

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    ORVEX_API(instance, name);
    // Only the system cursors: the program has no cursor resources.
    if (instance || !IS_INTRESOURCE(name)) return nullptr;
    int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    return known_cursor(id) ? system_object(id, false) : nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    ORVEX_API(instance, name);
    if (instance || !IS_INTRESOURCE(name)) return nullptr;
    int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    return (id >= 32512 && id <= 32518) ? system_object(id, true) : nullptr;
}

HCURSOR WINAPI LoadCursorFromFileA(LPCSTR file_name) {
    ORVEX_API(file_name);
    if (!is_regular_file(file_name)) return nullptr;
    std::ifstream in(file_name, std::ios::binary);
    if (!in) return nullptr;
    // Cursor files are small; anything larger is not one.
    std::vector<unsigned char> bytes;
    bytes.reserve(4096);
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buf, buf + in.gcount());
        if (bytes.size() > (1u << 22)) return nullptr;
    }
    auto c = std::make_unique<CursorImage>();
    if (!decode_cursor_file(bytes, *c)) return nullptr;
    return cursors().add<HCURSOR>(HandleKind::cursor, std::move(c));
}

BOOL WINAPI DestroyCursor(HCURSOR cursor) {
    ORVEX_API(cursor);
    const CursorImage* c = find_cursor(cursor);
    if (!c) return FALSE;
    if (!c->system) cursors().take(cursor);
    return TRUE;
}

BOOL WINAPI DestroyIcon(HICON icon) {
    ORVEX_API(icon);
    return DestroyCursor(icon);
}
