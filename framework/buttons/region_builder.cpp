// Regions from the opaque pixels of a bitmap.
//
// The picture is copied into a 32-bit scan image and visited once, row by
// row from the top. Every maximal run of opaque pixels in a row becomes a
// rectangle one pixel high. The rectangles are collected in a movable global
// memory block laid out as RGNDATA, which grows by ALLOC_UNIT rectangles at a
// time; every BATCH_RECTS rectangles, and once more at the end, the block is
// made into a region that is merged into the result.
//
// When the block cannot be allocated, locked or grown, nothing is written
// through the failed allocation: the scan stops, everything made so far
// (the partial result included) is deleted, and the result is 0, as for a
// file that cannot be loaded. A region cut short would give the window a
// wrong outline.
#include "framework/buttons/region_builder.h"

#include <climits>
#include <cstring>

#include "framework/buttons/buttons.h"
#include "framework/core/checked.h"

namespace orvex {

namespace buttons_detail {

namespace {
constexpr RECT kEmptyBound{INT_MAX, INT_MAX, 0, 0};

DWORD buffer_bytes(DWORD max_rects) {
    return checked_add<DWORD>(sizeof(RGNDATAHEADER),
                              checked_mul<DWORD>(sizeof(RECT), max_rects, "BITMAPTOREGION: buffer size"),
                              "BITMAPTOREGION: buffer size");
}

// The rectangle buffer and the region it feeds.
class RectBuffer {
public:
    ~RectBuffer() {
        if (data_) GlobalUnlock(block_);
        if (block_) GlobalFree(block_);
        if (result_) DeleteObject(result_);
    }

    bool allocate() {
        block_ = GlobalAlloc(GMEM_MOVEABLE, buffer_bytes(max_rects_));
        if (!block_) return false;
        data_ = static_cast<unsigned char*>(GlobalLock(block_));
        if (!data_) return false;
        RGNDATAHEADER h{};
        h.dwSize = sizeof(RGNDATAHEADER);
        h.iType = RDH_RECTANGLES;
        h.nCount = 0;
        h.nRgnSize = 0;
        h.rcBound = kEmptyBound;
        std::memcpy(data_, &h, sizeof h);
        return true;
    }

    // Adds the run X0..X-1 of row Y; false when the buffer could not grow.
    bool add(LONG x0, LONG x, LONG y) {
        RGNDATAHEADER& h = header();
        if (h.nCount >= max_rects_) {
            GlobalUnlock(block_);
            data_ = nullptr;
            max_rects_ = checked_add<DWORD>(max_rects_, ALLOC_UNIT, "BITMAPTOREGION: buffer size");
            HGLOBAL grown = GlobalReAlloc(block_, buffer_bytes(max_rects_), GMEM_MOVEABLE);
            if (!grown) return false;  // the old block is still ours and freed with the buffer
            block_ = grown;
            data_ = static_cast<unsigned char*>(GlobalLock(block_));
            if (!data_) return false;
        }
        RGNDATAHEADER& g = header();
        const LONG bottom = checked_add<LONG>(y, 1, "BITMAPTOREGION: row");
        const RECT r{x0, y, x, bottom};
        std::memcpy(data_ + sizeof(RGNDATAHEADER) + sizeof(RECT) * static_cast<std::size_t>(g.nCount), &r, sizeof r);
        if (x0 < g.rcBound.left) g.rcBound.left = x0;
        if (y < g.rcBound.top) g.rcBound.top = y;
        if (x > g.rcBound.right) g.rcBound.right = x;
        if (bottom > g.rcBound.bottom) g.rcBound.bottom = bottom;
        g.nCount = g.nCount + 1;
        if (g.nCount == BATCH_RECTS) flush();
        return true;
    }

    // Makes a region of the buffer's rectangles and merges it into the result.
    void flush() {
        RGNDATAHEADER& h = header();
        HRGN batch = ExtCreateRegion(nullptr, buffer_bytes(max_rects_), reinterpret_cast<const RGNDATA*>(data_));
        if (!result_) {
            result_ = batch;
        } else {
            CombineRgn(result_, result_, batch, RGN_OR);
            DeleteObject(batch);
        }
        h.nCount = 0;
        h.rcBound = kEmptyBound;
    }

    // Frees the block now, keeping the result for the caller.
    HRGN finish() {
        GlobalUnlock(block_);
        data_ = nullptr;
        GlobalFree(block_);
        block_ = nullptr;
        HRGN r = result_;
        result_ = nullptr;
        return r;
    }

private:
    RGNDATAHEADER& header() { return *reinterpret_cast<RGNDATAHEADER*>(data_); }

    HGLOBAL block_ = nullptr;
    unsigned char* data_ = nullptr;
    DWORD max_rects_ = ALLOC_UNIT;
    HRGN result_ = nullptr;
};

std::uint32_t pixel_at(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
}  // namespace

HRGN region_from_bitmap(HBITMAP bitmap, HPALETTE palette, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE) {
    HDC scan_dc = CreateCompatibleDC(nullptr);
    if (!scan_dc) {
        DeleteObject(palette);
        DeleteObject(bitmap);
        return nullptr;
    }

    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = bm.bmWidth;
    bih.biHeight = bm.bmHeight;  // positive: rows stored bottom-up
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP scan = CreateDIBSection(scan_dc, reinterpret_cast<const BITMAPINFO*>(&bih), DIB_RGB_COLORS, &bits,
                                    nullptr, 0);
    if (!scan) {
        DeleteDC(scan_dc);
        DeleteObject(palette);
        DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ replaced_scan = SelectObject(scan_dc, scan);

    // The picture, through its palette, into the scan image.
    HDC picture_dc = CreateCompatibleDC(nullptr);
    HGDIOBJ replaced_picture = SelectObject(picture_dc, bitmap);
    HPALETTE replaced_palette = SelectPalette(picture_dc, palette, TRUE);
    RealizePalette(picture_dc);
    BitBlt(scan_dc, 0, 0, bm.bmWidth, bm.bmHeight, picture_dc, 0, 0, SRCCOPY);
    SelectPalette(picture_dc, replaced_palette, FALSE);
    SelectObject(picture_dc, replaced_picture);
    DeleteDC(picture_dc);

    BITMAP sbm{};
    GetObjectA(scan, sizeof sbm, &sbm);
    LONG stride = sbm.bmWidthBytes;
    if (stride % 4 != 0) stride = checked_add<LONG>(stride, 4 - stride % 4, "BITMAPTOREGION: row length");

    HRGN result = nullptr;
    {
        RectBuffer buffer;
        bool ok = buffer.allocate();
        if (ok) {
            // The colour range: each channel from its transparent value up to
            // at most TOLERANCE above it.
            const std::int32_t colour = checked_narrow<std::int32_t>(TRANSCOLOR, "BITMAPTOREGION: TRANSCOLOR");
            const std::uint32_t lr = static_cast<std::uint32_t>(colour) & 0xFF;
            const std::uint32_t lg = (static_cast<std::uint32_t>(colour) >> 8) & 0xFF;
            const std::uint32_t lb = (static_cast<std::uint32_t>(colour) >> 16) & 0xFF;
            const std::uint32_t hr = lr + TOLERANCE > 255 ? 255 : lr + TOLERANCE;
            const std::uint32_t hg = lg + TOLERANCE > 255 ? 255 : lg + TOLERANCE;
            const std::uint32_t hb = lb + TOLERANCE > 255 ? 255 : lb + TOLERANCE;
            auto transparent = [&](std::uint32_t v) {
                const std::uint32_t r = (v >> 16) & 0xFF;
                if (r < lr || r > hr) return false;
                const std::uint32_t g = (v >> 8) & 0xFF;
                if (g < lg || g > hg) return false;
                const std::uint32_t b = v & 0xFF;
                return b >= lb && b <= hb;
            };

            // The top row of the picture is the last one stored.
            const LONG width = bm.bmWidth;
            const LONG height = bm.bmHeight;
            const auto* pixels = static_cast<const unsigned char*>(bits);
            const std::ptrdiff_t top_offset =
                checked_mul<std::ptrdiff_t>(checked_sub<std::ptrdiff_t>(sbm.bmHeight, 1, "BITMAPTOREGION: row offset"),
                                            stride, "BITMAPTOREGION: row offset");
            const unsigned char* row = height > 0 ? pixels + top_offset : pixels;
            for (LONG y = 0; ok && y < height; ++y) {
                LONG x = 0;
                while (ok && x < width) {
                    const LONG x0 = x;
                    const unsigned char* p = row + static_cast<std::ptrdiff_t>(x) * 4;
                    while (x < width && !transparent(pixel_at(p))) {
                        ++x;
                        p += 4;
                    }
                    if (x > x0) ok = buffer.add(x0, x, y);
                    ++x;  // over the transparent pixel that ended the run
                }
                if (y + 1 < height) row -= stride;
            }
            if (ok) {
                buffer.flush();
                result = buffer.finish();
            }
        }
        // Without `finish` the buffer frees the block and deletes the partial result.
    }

    SelectObject(scan_dc, replaced_scan);
    DeleteObject(scan);
    DeleteDC(scan_dc);
    DeleteObject(palette);
    DeleteObject(bitmap);
    return result;
}

}  // namespace buttons_detail

HRGN BITMAPTOREGION(const std::string& BMPNAME, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE) {
    HPALETTE palette = nullptr;
    HBITMAP bitmap = LOADBMPFROMFILE(BMPNAME, palette);
    if (!bitmap) return nullptr;
    return buttons_detail::region_from_bitmap(bitmap, palette, TRANSCOLOR, TOLERANCE);
}

}  // namespace orvex
