// BMP files as DIB sections, with a palette to show them.
#include <cstring>
#include <memory>

#include "framework/buttons/buttons.h"
#include "framework/core/checked.h"

namespace orvex {

namespace {
constexpr WORD kPaletteEntries = 256;
// The LOGPALETTE record: its 8 bytes (header and one entry) and 256 entries
// more, one spare.
constexpr std::size_t kLogPaletteBytes = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * kPaletteEntries;
static_assert(kLogPaletteBytes == 1032);
}  // namespace

HBITMAP LOADBMPFROMFILE(const std::string& FILENAME, HPALETTE& PAL) {
    // std::string keeps its text zero-terminated.
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), FILENAME.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return nullptr;

    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    const unsigned bits = checked_mul<unsigned>(bm.bmPlanes, bm.bmBitsPixel, "LOADBMPFROMFILE: bits per pixel");

    if (bits <= 8) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ replaced = SelectObject(dc, bitmap);
        // Entries beyond a short colour table stay black.
        RGBQUAD table[kPaletteEntries];
        std::memset(table, 0, sizeof table);
        GetDIBColorTable(dc, 0, kPaletteEntries, table);

        auto record = std::make_unique<unsigned char[]>(kLogPaletteBytes);
        std::memset(record.get(), 0, kLogPaletteBytes);
        // Filled byte by byte: the record is longer than the one entry its type declares.
        const WORD version = 0x300;
        const WORD count = kPaletteEntries;
        std::memcpy(record.get(), &version, 2);
        std::memcpy(record.get() + 2, &count, 2);
        for (std::size_t i = 0; i < kPaletteEntries; ++i) {
            const PALETTEENTRY e{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
            std::memcpy(record.get() + 4 + 4 * i, &e, sizeof e);
        }
        const auto* log = reinterpret_cast<const LOGPALETTE*>(record.get());
        PAL = CreatePalette(log);
        record.reset();

        SelectObject(dc, replaced);
        DeleteDC(dc);
    } else {
        HDC screen = GetDC(nullptr);
        PAL = CreateHalftonePalette(screen);
        ReleaseDC(nullptr, screen);
    }
    return bitmap;
}

}  // namespace orvex
