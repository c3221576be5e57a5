#include "fuzz/support/region_oracle.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvex_fuzz {

void fail(const char* what) {
    std::fprintf(stderr, "region fuzz: %s\n", what);
    std::abort();
}

std::vector<bool> opaque_pixels(HBITMAP bitmap, HPALETTE palette, int width, int height, std::uint32_t colour,
                                std::uint8_t tolerance) {
    std::vector<bool> opaque(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFOHEADER t{sizeof t, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* shown_bits = nullptr;
    HBITMAP shown = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&t), DIB_RGB_COLORS, &shown_bits, nullptr, 0);
    if (!shown) fail("no 32-bit copy of the picture");
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ old_src = SelectObject(src, bitmap), old_dst = SelectObject(dst, shown);
    HPALETTE old_pal = SelectPalette(src, palette, TRUE);
    if (!BitBlt(dst, 0, 0, width, height, src, 0, 0, SRCCOPY)) fail("BitBlt failed");
    SelectPalette(src, old_pal, FALSE);
    SelectObject(src, old_src);
    SelectObject(dst, old_dst);
    DeleteDC(src);
    DeleteDC(dst);
    const unsigned lo[3] = {colour & 255, (colour >> 8) & 255, (colour >> 16) & 255};  // red, green, blue
    for (std::size_t i = 0; i < opaque.size(); ++i) {
        std::uint32_t v;
        std::memcpy(&v, static_cast<std::uint8_t*>(shown_bits) + 4 * i, 4);
        const unsigned c[3] = {(v >> 16) & 255, (v >> 8) & 255, v & 255};
        bool transparent = true;
        for (int k = 0; k < 3; ++k) transparent = transparent && c[k] >= lo[k] && c[k] <= lo[k] + tolerance;
        opaque[i] = !transparent;
    }
    DeleteObject(shown);
    return opaque;
}

bool region_covers_exactly(HRGN region, const std::vector<bool>& opaque, int width, int height) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    if (bytes < sizeof(RGNDATAHEADER)) return false;
    std::vector<unsigned char> data(bytes);
    if (GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data())) != bytes) return false;
    RGNDATAHEADER h;
    std::memcpy(&h, data.data(), sizeof h);
    if (sizeof h + static_cast<std::size_t>(h.nCount) * sizeof(RECT) > bytes) return false;
    std::vector<unsigned char> covered(opaque.size(), 0);
    for (DWORD k = 0; k < h.nCount; ++k) {
        RECT r;
        std::memcpy(&r, data.data() + sizeof h + k * sizeof(RECT), sizeof r);
        if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height || r.left >= r.right || r.top >= r.bottom)
            return false;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                if (covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]++)
                    return false;
    }
    for (std::size_t i = 0; i < opaque.size(); ++i)
        if ((covered[i] != 0) != opaque[i]) return false;
    return true;
}

}  // namespace orvex_fuzz
