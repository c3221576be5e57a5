// Fuzzes the region builder over arbitrary bitmaps: the input chooses a DIB
// section's format, size, colour table or masks, pixels, transparent colour
// and tolerance. The region must hold exactly the pixels that the picture,
// copied to 32 bits, shows outside the transparent range, and the builder
// must leave no GDI object behind.
//
// Input: format, width, height (1 to 256 each), tolerance, colour (3 bytes,
// red first), flags, then masks (bit-field formats: 3 x 4 bytes) or a colour
// count and table (1 to 8 bits), then pixel bytes. Pictures of up to 256 by
// 256 pixels hold up to 32768 runs, so that the builder merges many batches
// of rectangles.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/buttons/region_builder.h"
#include "fuzz/support/region_oracle.h"
#include "platform/headless/headless.h"
#include "platform/win32.h"

namespace {

struct Reader {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t byte() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
    std::uint32_t u32() {
        std::uint32_t v = byte();
        v |= std::uint32_t{byte()} << 8;
        v |= std::uint32_t{byte()} << 16;
        v |= std::uint32_t{byte()} << 24;
        return v;
    }
};

struct Format {
    WORD bits;
    DWORD compression;
};
const Format kFormats[] = {{1, BI_RGB},  {4, BI_RGB},  {8, BI_RGB},  {16, BI_RGB},
                           {16, BI_BITFIELDS}, {24, BI_RGB}, {32, BI_RGB}, {32, BI_BITFIELDS}};

using orvex_fuzz::fail;

bool started = [] {
    orvex_headless::activate();
    return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)started;
    Reader in{data, size};
    const Format f = kFormats[in.byte() % 8];
    const int width = 1 + in.byte();
    const int height = 1 + in.byte();
    const std::uint8_t tolerance = in.byte();
    std::uint32_t colour = in.byte();
    colour |= std::uint32_t{in.byte()} << 8;
    colour |= std::uint32_t{in.byte()} << 16;
    const std::uint8_t flags = in.byte();

    const std::size_t before = orvex_headless::gdi_object_count();

    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * 256, 0);
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = (flags & 1) ? -height : height;
    h.biPlanes = 1;
    h.biBitCount = f.bits;
    h.biCompression = f.compression;
    std::vector<PALETTEENTRY> table;
    if (f.compression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i) {
            std::uint32_t m = in.u32();
            if (f.bits == 16) m &= 0xFFFF;
            std::memcpy(info.data() + sizeof h + 4 * i, &m, 4);
        }
    } else if (f.bits <= 8) {
        const unsigned full = 1u << f.bits;
        unsigned count = in.byte() % (full + 1);
        h.biClrUsed = count;
        if (count == 0) count = full;
        for (unsigned i = 0; i < count; ++i) {
            RGBQUAD q{in.byte(), in.byte(), in.byte(), in.byte()};
            std::memcpy(info.data() + sizeof h + 4 * i, &q, 4);
            table.push_back(PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
        }
    }
    std::memcpy(info.data(), &h, sizeof h);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    if (!bitmap) {
        if (orvex_headless::gdi_object_count() != before) fail("a failed section left an object");
        return 0;
    }
    DIBSECTION ds{};
    GetObjectA(bitmap, sizeof ds, &ds);
    const std::size_t bytes = static_cast<std::size_t>(ds.dsBm.bmWidthBytes) * static_cast<std::size_t>(height);
    std::memcpy(bits, in.p, in.n < bytes ? in.n : bytes);

    // The palette the builder is given: the halftone palette, or one made
    // from the colour table (which then also answers indices beyond it).
    HPALETTE palette;
    if ((flags & 2) || table.empty()) {
        HDC screen = GetDC(nullptr);
        palette = CreateHalftonePalette(screen);
        ReleaseDC(nullptr, screen);
    } else {
        std::vector<std::uint8_t> lp(4 + 4 * table.size());
        const WORD version = 0x300, n = static_cast<WORD>(table.size());
        std::memcpy(lp.data(), &version, 2);
        std::memcpy(lp.data() + 2, &n, 2);
        std::memcpy(lp.data() + 4, table.data(), 4 * table.size());
        palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(lp.data()));
    }

    // What the picture shows, through the same palette, at 32 bits.
    const std::vector<bool> opaque = orvex_fuzz::opaque_pixels(bitmap, palette, width, height, colour, tolerance);

    HRGN region = orvex::buttons_detail::region_from_bitmap(bitmap, palette, colour, tolerance);
    if (!region) fail("no region for a valid bitmap");
    if (!orvex_fuzz::region_covers_exactly(region, opaque, width, height)) fail("region and picture differ");
    DeleteObject(region);
    if (orvex_headless::gdi_object_count() != before) fail("GDI objects leaked");
    return 0;
}
