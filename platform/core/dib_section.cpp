// DIB sections: bitmaps whose pixels the program reads and writes directly.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/core/call_log.h"
#include "platform/core/memory_dc.h"
#include "platform/little_endian.h"
#include "platform/platform_control.h"

namespace orvex_platform {

}  // namespace orvex_platform

using namespace orvex_platform;

HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                DWORD offset) {
    ORVEX_API(dc, info, usage, bits, section, offset);
    if (bits) *bits = nullptr;
    if (!info || failure_injected(Failure::create_dib_section)) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    // The 40-byte header and its longer successors; file mappings are not offered.
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 124 || section) return nullptr;
    if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return nullptr;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN || h.biPlanes != 1 || !is_dib_depth(h.biBitCount))
        return nullptr;
    const bool bitfields = h.biCompression == BI_BITFIELDS;
    if (h.biCompression != BI_RGB && !(bitfields && (h.biBitCount == 16 || h.biBitCount == 32))) return nullptr;

    const std::uint64_t width = static_cast<std::uint64_t>(h.biWidth);
    const std::uint64_t height = static_cast<std::uint64_t>(h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight)
                                                                           : h.biHeight);
    const std::uint64_t stride = dib_stride(width, h.biBitCount);  // no overflow: width < 2^31, depth <= 32
    if (stride > max_dib_bytes || stride * height > max_dib_bytes) return nullptr;

    auto b = std::make_unique<Bitmap>();
    b->width = h.biWidth;
    b->height = static_cast<LONG>(height);
    b->bits_per_pixel = h.biBitCount;
    b->stride = static_cast<LONG>(stride);
    b->top_down = h.biHeight < 0;
    b->compression = bitfields ? BI_BITFIELDS : BI_RGB;
    const auto* after_header = reinterpret_cast<const unsigned char*>(info) + h.biSize;
    if (bitfields) {
        // With the 40-byte header the three masks follow it; the longer
        // headers hold them at the same place, inside the header.
        const auto* m = reinterpret_cast<const unsigned char*>(info) + sizeof(BITMAPINFOHEADER);
        for (int i = 0; i < 3; ++i) b->masks[i] = read_le32(m + 4 * i);
        if (b->masks[0] == 0 && b->masks[1] == 0 && b->masks[2] == 0) return nullptr;
    }
    if (h.biBitCount <= 8) {
        const DWORD full = DWORD{1} << h.biBitCount;
        const DWORD n = (h.biClrUsed == 0 || h.biClrUsed > full) ? full : h.biClrUsed;
        b->colors.resize(n);
        if (usage == DIB_RGB_COLORS) {
            std::memcpy(b->colors.data(), after_header, n * sizeof(RGBQUAD));
            for (RGBQUAD& c : b->colors) c.rgbReserved = 0;
        } else {
            // Indices into the palette selected into the context.
            DeviceContext* d = find_dc(dc);
            if (!d) return nullptr;
            const Palette* pal = selected_palette(*d);
            for (DWORD i = 0; i < n; ++i) {
                const WORD index = read_le16(after_header + 2 * i);
                PALETTEENTRY e = (pal && index < pal->entries.size()) ? pal->entries[index] : PALETTEENTRY{};
                b->colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
            }
        }
    }
    b->bits.assign(static_cast<std::size_t>(stride * height), 0);
    BYTE* pixels = b->bits.data();
    HBITMAP handle = static_cast<HBITMAP>(add_gdi_object(std::move(b)));
    if (bits && handle) *bits = pixels;
    return handle;
}

UINT WINAPI GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
    ORVEX_API(dc, start, count, colors);
    DeviceContext* d = find_dc(dc);
    if (!d || !d->memory || !colors) return 0;
    const Bitmap* b = find_gdi<Bitmap>(d->bitmap, GdiKind::bitmap);
    if (!b || b->stock || b->bits_per_pixel > 8) return 0;
    if (start >= b->colors.size()) return 0;
    const std::size_t n = std::min<std::size_t>(count, b->colors.size() - start);
    std::memcpy(colors, b->colors.data() + start, n * sizeof(RGBQUAD));
    return static_cast<UINT>(n);
}
