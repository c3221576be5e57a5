// Memory contexts, DIB sections, palettes, BitBlt and region union: the
// platform operations the image buttons stand on.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "tests/buttons/region_rects.h"

namespace {

// ---- a DIB section and an independent codec of its pixels ---------------------

struct Format {
    const char* name;
    WORD bits;
    DWORD compression;
    DWORD masks[3];
};

const Format kFormats[] = {
    {"1-bit", 1, BI_RGB, {}},
    {"4-bit", 4, BI_RGB, {}},
    {"8-bit", 8, BI_RGB, {}},
    {"16-bit 555", 16, BI_RGB, {}},
    {"16-bit 565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
    {"24-bit", 24, BI_RGB, {}},
    {"32-bit", 32, BI_RGB, {}},
    {"32-bit masks", 32, BI_BITFIELDS, {0x000000FF, 0x0000FF00, 0x00FF0000}},  // red in the low byte
};

struct Dib {
    HBITMAP handle = nullptr;
    BYTE* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool top_down = false;
    Format format{};
    std::vector<RGBQUAD> colors;
};

Dib make_dib(const Format& f, int width, int height, std::vector<RGBQUAD> colors = {}, bool top_down = false) {
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 12 + 4 * 256, 0);
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = top_down ? -height : height;
    h.biPlanes = 1;
    h.biBitCount = f.bits;
    h.biCompression = f.compression;
    h.biClrUsed = static_cast<DWORD>(colors.size());
    std::memcpy(info.data(), &h, sizeof h);
    if (f.compression == BI_BITFIELDS) std::memcpy(info.data() + sizeof h, f.masks, 12);
    if (!colors.empty()) std::memcpy(info.data() + sizeof h, colors.data(), colors.size() * 4);
    Dib d;
    void* bits = nullptr;
    d.handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    d.bits = static_cast<BYTE*>(bits);
    d.width = width;
    d.height = height;
    d.stride = (width * f.bits + 31) / 32 * 4;
    d.top_down = top_down;
    d.format = f;
    d.colors = std::move(colors);
    return d;
}

BYTE* row_of(const Dib& d, int y) { return d.bits + static_cast<std::size_t>(d.top_down ? y : d.height - 1 - y) * d.stride; }

std::uint32_t rgb_of(const RGBQUAD& q) { return (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue; }

int nearest_index(const std::vector<RGBQUAD>& table, std::uint32_t c) {
    int best = 0;
    long best_d = -1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        long dr = long((c >> 16) & 255) - table[i].rgbRed, dg = long((c >> 8) & 255) - table[i].rgbGreen,
             db = long(c & 255) - table[i].rgbBlue;
        long dist = dr * dr + dg * dg + db * db;
        if (best_d < 0 || dist < best_d) best_d = dist, best = static_cast<int>(i);
    }
    return best;
}

// Stores colour c (colours must be exactly representable: channels 0 or 255).
void put(const Dib& d, int x, int y, std::uint32_t c) {
    BYTE* row = row_of(d, y);
    const std::uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    switch (d.format.bits) {
        case 1: row[x / 8] = static_cast<BYTE>((row[x / 8] & ~(1u << (7 - x % 8))) | (nearest_index(d.colors, c) << (7 - x % 8))); break;
        case 4: {
            unsigned shift = x % 2 ? 0 : 4;
            row[x / 2] = static_cast<BYTE>((row[x / 2] & ~(15u << shift)) | (nearest_index(d.colors, c) << shift));
            break;
        }
        case 8: row[x] = static_cast<BYTE>(nearest_index(d.colors, c)); break;
        case 16: {
            std::uint32_t w = d.format.compression == BI_BITFIELDS ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                                                 : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
            std::memcpy(row + x * 2, &w, 2);
            break;
        }
        case 24: row[x * 3] = BYTE(b), row[x * 3 + 1] = BYTE(g), row[x * 3 + 2] = BYTE(r); break;
        case 32: {
            std::uint32_t w = d.format.compression == BI_BITFIELDS ? (r | (g << 8) | (b << 16)) : c;
            std::memcpy(row + x * 4, &w, 4);
            break;
        }
    }
}

std::uint32_t expand5(std::uint32_t v) { return (v << 3) | (v >> 2); }
std::uint32_t expand6(std::uint32_t v) { return (v << 2) | (v >> 4); }

std::uint32_t get(const Dib& d, int x, int y) {
    const BYTE* row = row_of(d, y);
    switch (d.format.bits) {
        case 1: return rgb_of(d.colors[(row[x / 8] >> (7 - x % 8)) & 1]);
        case 4: return rgb_of(d.colors[(x % 2 ? row[x / 2] : row[x / 2] >> 4) & 15]);
        case 8: return rgb_of(d.colors[row[x]]);
        case 16: {
            std::uint32_t w = 0;
            std::memcpy(&w, row + x * 2, 2);
            if (d.format.compression == BI_BITFIELDS)
                return (expand5(w >> 11) << 16) | (expand6((w >> 5) & 63) << 8) | expand5(w & 31);
            return (expand5((w >> 10) & 31) << 16) | (expand5((w >> 5) & 31) << 8) | expand5(w & 31);
        }
        case 24: return (std::uint32_t{row[x * 3 + 2]} << 16) | (std::uint32_t{row[x * 3 + 1]} << 8) | row[x * 3];
        case 32: {
            std::uint32_t w;
            std::memcpy(&w, row + x * 4, 4);
            if (d.format.compression == BI_BITFIELDS) return ((w & 255) << 16) | (w & 0xFF00) | ((w >> 16) & 255);
            return w & 0xFFFFFF;
        }
    }
    return 0xDEADBEEF;
}

const std::vector<RGBQUAD> kEight = {{0, 0, 0, 0},     {255, 255, 255, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},
                                     {255, 0, 0, 0},   {0, 255, 255, 0},   {255, 255, 0, 0}, {255, 0, 255, 0}};
const std::vector<RGBQUAD> kTwo = {{0, 0, 0, 0}, {255, 255, 255, 0}};

std::vector<RGBQUAD> table_for(const Format& f) {
    if (f.bits == 1) return kTwo;
    if (f.bits <= 8) return kEight;
    return {};
}

// The colours the test picture uses: those the format can hold.
std::vector<std::uint32_t> palette_colours(const Format& f) {
    if (f.bits == 1) return {0x000000, 0xFFFFFF};
    return {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
}

class Gdi : public ::testing::Test {
protected:
    void SetUp() override { objects_before_ = orvex_headless::gdi_object_count(); }
    void TearDown() override { EXPECT_EQ(orvex_headless::gdi_object_count(), objects_before_) << "GDI objects leaked"; }
    std::size_t objects_before_ = 0;
};

TEST_F(Gdi, MemoryContextStartsWithTheStockBitmapAndSelectionReturnsThePreviousObject) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(a && b);
    HGDIOBJ stock = GetCurrentObject(a, OBJ_BITMAP);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(stock, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(GetCurrentObject(a, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));

    Dib d = make_dib(kFormats[5], 4, 4);
    ASSERT_TRUE(d.handle);
    EXPECT_EQ(SelectObject(a, d.handle), stock);
    EXPECT_EQ(GetCurrentObject(a, OBJ_BITMAP), static_cast<HGDIOBJ>(d.handle));
    EXPECT_EQ(SelectObject(b, d.handle), nullptr) << "a bitmap is in one context at a time";
    EXPECT_FALSE(DeleteObject(d.handle)) << "a selected bitmap cannot be deleted";
    EXPECT_EQ(SelectObject(a, stock), static_cast<HGDIOBJ>(d.handle));
    EXPECT_TRUE(SelectObject(b, d.handle));

    // Deleting the context lets go of its bitmap.
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_FALSE(DeleteDC(b));
    EXPECT_TRUE(DeleteObject(d.handle));

    // Palettes are selected with SelectPalette only; regions become the clipping region.
    HPALETTE halftone = CreateHalftonePalette(a);
    EXPECT_EQ(SelectObject(a, halftone), nullptr);
    EXPECT_EQ(SelectPalette(a, halftone, FALSE), GetStockObject(DEFAULT_PALETTE));
    EXPECT_FALSE(DeleteObject(halftone));
    EXPECT_EQ(SelectPalette(a, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE), halftone);
    EXPECT_TRUE(DeleteObject(halftone));
    HRGN rgn = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(SelectObject(a, rgn)), SIMPLEREGION);
    EXPECT_TRUE(DeleteObject(rgn)) << "the context keeps a copy";
    EXPECT_EQ(SelectObject(a, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteDC(a));

    // A window's context is not a memory context.
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(Gdi, DibSectionsAreValidatedAndDescribed) {
    struct Bad {
        const char* why;
        LONG width, height;
        WORD planes, bits;
        DWORD compression;
    } bad[] = {{"zero width", 0, 4, 1, 24, BI_RGB},      {"zero height", 4, 0, 1, 24, BI_RGB},
               {"two planes", 4, 4, 2, 24, BI_RGB},      {"7 bits", 4, 4, 1, 7, BI_RGB},
               {"run-length", 4, 4, 1, 8, BI_RLE8},      {"masks at 24 bits", 4, 4, 1, 24, BI_BITFIELDS},
               {"too large", 100000, 100000, 1, 32, BI_RGB}};
    for (const Bad& b : bad) {
        BITMAPINFOHEADER h{sizeof h, b.width, b.height, b.planes, b.bits, b.compression, 0, 0, 0, 0, 0};
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << b.why;
        EXPECT_EQ(bits, nullptr) << b.why;
    }

    Dib d = make_dib(kFormats[3], 3, 5, {}, /*top_down=*/true);
    ASSERT_TRUE(d.handle && d.bits);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(d.handle, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 3);
    EXPECT_EQ(ds.dsBm.bmHeight, 5);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 8);  // 6 bytes padded to 8
    EXPECT_EQ(ds.dsBm.bmBits, d.bits);
    EXPECT_EQ(ds.dsBmih.biHeight, -5);
    for (int i = 0; i < 8 * 5; ++i) EXPECT_EQ(d.bits[i], 0) << "new sections are zeroed";
    EXPECT_TRUE(DeleteObject(d.handle));
}

TEST_F(Gdi, ColourTableComesFromTheSelectedSection) {
    Dib d = make_dib(kFormats[1], 2, 2, {{1, 2, 3, 9}, {4, 5, 6, 9}, {7, 8, 9, 9}});
    HDC dc = CreateCompatibleDC(nullptr);
    RGBQUAD t[256]{};
    EXPECT_EQ(GetDIBColorTable(dc, 0, 256, t), 0u) << "the stock bitmap has no table to give";
    HGDIOBJ old = SelectObject(dc, d.handle);
    ASSERT_EQ(GetDIBColorTable(dc, 0, 256, t), 3u);
    EXPECT_EQ(t[2].rgbRed, 9);
    EXPECT_EQ(t[2].rgbBlue, 7);
    EXPECT_EQ(t[2].rgbReserved, 0);
    EXPECT_EQ(GetDIBColorTable(dc, 1, 1, t), 1u);
    EXPECT_EQ(t[0].rgbBlue, 4);
    EXPECT_EQ(GetDIBColorTable(dc, 3, 5, t), 0u);
    SelectObject(dc, old);
    DeleteObject(d.handle);

    Dib deep = make_dib(kFormats[5], 2, 2);
    SelectObject(dc, deep.handle);
    EXPECT_EQ(GetDIBColorTable(dc, 0, 256, t), 0u);
    DeleteDC(dc);
    DeleteObject(deep.handle);
}

TEST_F(Gdi, PalettesAndTheHalftonePalette) {
    HDC screen = GetDC(nullptr);
    HPALETTE h = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(h);
    WORD count = 0;
    EXPECT_EQ(GetObjectA(h, sizeof count, &count), 2);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(GetPaletteEntries(h, 0, 0, nullptr), 256u);
    std::vector<PALETTEENTRY> e(256);
    ASSERT_EQ(GetPaletteEntries(h, 0, 256, e.data()), 256u);
    auto has = [&](int r, int g, int b) {
        for (const auto& p : e)
            if (p.peRed == r && p.peGreen == g && p.peBlue == b && p.peFlags == 0) return true;
        return false;
    };
    int cube = 0;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) cube += has(r, g, b);
    EXPECT_EQ(cube, 216);
    EXPECT_TRUE(e.front().peRed == 0 && e.front().peGreen == 0 && e.front().peBlue == 0);
    EXPECT_TRUE(e.back().peRed == 255 && e.back().peGreen == 255 && e.back().peBlue == 255);
    EXPECT_EQ(GetPaletteEntries(h, 250, 100, e.data()), 6u);
    EXPECT_EQ(GetPaletteEntries(h, 256, 1, e.data()), 0u);
    DeleteObject(h);

    std::vector<unsigned char> lp(4 + 3 * 4, 0);
    const WORD version = 0x300, n = 3;
    std::memcpy(lp.data(), &version, 2);
    std::memcpy(lp.data() + 2, &n, 2);
    lp[4 + 4 * 2] = 200;  // red of entry 2
    HPALETTE p = CreatePalette(reinterpret_cast<LOGPALETTE*>(lp.data()));
    ASSERT_TRUE(p);
    ASSERT_EQ(GetPaletteEntries(p, 0, 3, e.data()), 3u);
    EXPECT_EQ(e[2].peRed, 200);
    DeleteObject(p);
    lp[1] = 0;  // wrong version
    EXPECT_EQ(CreatePalette(reinterpret_cast<LOGPALETTE*>(lp.data())), nullptr);
}

// Every source format into every destination format.
class Conversion : public Gdi, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(Conversion, BitBltConvertsPixelFormats) {
    const Format& sf = kFormats[std::get<0>(GetParam())];
    const Format& df = kFormats[std::get<1>(GetParam())];
    const int w = 5, h = 3;
    const std::vector<std::uint32_t> colours = palette_colours(sf);
    Dib src = make_dib(sf, w, h, table_for(sf));
    Dib dst = make_dib(df, w, h, table_for(df));
    ASSERT_TRUE(src.handle && dst.handle);
    std::vector<std::uint32_t> expect;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = colours[static_cast<std::size_t>(x + y * w) % colours.size()];
            put(src, x, y, c);
            // A destination with a colour table takes the nearest of its colours.
            expect.push_back(df.bits <= 8 ? rgb_of(dst.colors[static_cast<std::size_t>(nearest_index(dst.colors, c))]) : c);
        }
    HDC s = CreateCompatibleDC(nullptr), d = CreateCompatibleDC(nullptr);
    HGDIOBJ so = SelectObject(s, src.handle), dold = SelectObject(d, dst.handle);
    ASSERT_TRUE(BitBlt(d, 0, 0, w, h, s, 0, 0, SRCCOPY));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(get(dst, x, y), expect[static_cast<std::size_t>(x + y * w)]) << sf.name << " -> " << df.name << " at " << x << "," << y;
    SelectObject(s, so);
    SelectObject(d, dold);
    DeleteDC(s);
    DeleteDC(d);
    DeleteObject(src.handle);
    DeleteObject(dst.handle);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, Conversion,
                         ::testing::Combine(::testing::Range(0, 8), ::testing::Range(0, 8)),
                         [](const auto& p) {
                             std::string n = std::string(kFormats[std::get<0>(p.param)].name) + "_to_" +
                                             kFormats[std::get<1>(p.param)].name;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

TEST_F(Gdi, BitBltClipsToBothBitmapsAndCopiesOverlapsWithinOne) {
    const Format& f = kFormats[6];
    Dib a = make_dib(f, 4, 4), b = make_dib(f, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) put(a, x, y, static_cast<std::uint32_t>(0x100000 * (x + 1) + y + 1)), put(b, x, y, 0x123456);
    HDC s = CreateCompatibleDC(nullptr), d = CreateCompatibleDC(nullptr);
    HGDIOBJ so = SelectObject(s, a.handle), dold = SelectObject(d, b.handle);
    // Source (2, 1) onward to destination (-1, 2): only what lies inside both is copied.
    ASSERT_TRUE(BitBlt(d, -1, 2, 10, 10, s, 2, 1, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const int sx = x + 3, sy = y - 1;
            const bool copied = y >= 2 && sx < 4;
            EXPECT_EQ(get(b, x, y), copied ? static_cast<std::uint32_t>(0x100000 * (sx + 1) + sy + 1) : 0x123456u) << x << "," << y;
        }
    // Within one bitmap, one row down: every row takes the one above it.
    ASSERT_TRUE(BitBlt(s, 0, 1, 4, 3, s, 0, 0, SRCCOPY));
    for (int y = 1; y < 4; ++y) EXPECT_EQ(get(a, 2, y), static_cast<std::uint32_t>(0x300000 + y)) << y;
    EXPECT_FALSE(BitBlt(d, 0, 0, 1, 1, s, 0, 0, 0x00EE0086)) << "only SRCCOPY";
    SelectObject(s, so);
    SelectObject(d, dold);
    DeleteDC(s);
    DeleteDC(d);
    DeleteObject(a.handle);
    DeleteObject(b.handle);
}

TEST_F(Gdi, IndicesBeyondTheColourTableTakeTheSourceContextsPalette) {
    Dib src = make_dib(kFormats[2], 2, 1, {{0, 0, 0, 0}, {255, 255, 255, 0}});
    Dib dst = make_dib(kFormats[5], 2, 1);
    src.bits[0] = 1;
    src.bits[1] = 5;  // beyond the two-colour table
    std::vector<unsigned char> lp(4 + 8 * 4, 0);
    const WORD version = 0x300, n = 8;
    std::memcpy(lp.data(), &version, 2);
    std::memcpy(lp.data() + 2, &n, 2);
    lp[4 + 4 * 5] = 10, lp[4 + 4 * 5 + 1] = 20, lp[4 + 4 * 5 + 2] = 30;
    HPALETTE pal = CreatePalette(reinterpret_cast<LOGPALETTE*>(lp.data()));
    HDC s = CreateCompatibleDC(nullptr), d = CreateCompatibleDC(nullptr);
    HGDIOBJ so = SelectObject(s, src.handle), dold = SelectObject(d, dst.handle);
    HPALETTE po = SelectPalette(s, pal, TRUE);
    EXPECT_EQ(RealizePalette(s), 8u);
    ASSERT_TRUE(BitBlt(d, 0, 0, 2, 1, s, 0, 0, SRCCOPY));
    EXPECT_EQ(get(dst, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(get(dst, 1, 0), 0x0A141Eu);
    SelectPalette(s, po, FALSE);
    SelectObject(s, so);
    SelectObject(d, dold);
    DeleteDC(s);
    DeleteDC(d);
    DeleteObject(pal);
    DeleteObject(src.handle);
    DeleteObject(dst.handle);
}

// ---- regions merged from the top down ------------------------------------------

using orvex_test::rects_of;

HRGN region_of(const std::vector<RECT>& rects) {
    std::vector<unsigned char> buf(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER h{sizeof h, RDH_RECTANGLES, static_cast<DWORD>(rects.size()), 0, {0, 0, 0, 0}};
    std::memcpy(buf.data(), &h, sizeof h);
    if (!rects.empty()) std::memcpy(buf.data() + sizeof h, rects.data(), rects.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), reinterpret_cast<RGNDATA*>(buf.data()));
}

bool same(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(RECT)) == 0);
}

// Rows of runs, as a picture gives them.
std::vector<RECT> rows_of_runs(std::mt19937& rng) {
    const int rows = 1 + static_cast<int>(rng() % 12);
    std::vector<RECT> all;
    for (int y = 0; y < rows; ++y) {
        int x = static_cast<int>(rng() % 3);
        while (x < 24) {
            int len = 1 + static_cast<int>(rng() % 6);
            if (rng() % 3) all.push_back(RECT{x, y, x + len, y + 1});
            x += len + 1 + static_cast<int>(rng() % 2);
        }
    }
    return all;
}

// The region of `all`, merged batch by batch into the first batch, the
// batches cut anywhere, as the region builder merges them.
HRGN built_top_down(std::mt19937& rng, const std::vector<RECT>& all) {
    HRGN built = nullptr;
    std::size_t i = 0;
    while (i < all.size() || !built) {
        std::size_t take = std::min<std::size_t>(all.size() - i, 1 + rng() % 7);
        HRGN batch = region_of(std::vector<RECT>(all.begin() + static_cast<long>(i), all.begin() + static_cast<long>(i + take)));
        i += take;
        if (!built) {
            built = batch;
        } else {
            EXPECT_NE(CombineRgn(built, built, batch, RGN_OR), ERROR);
            DeleteObject(batch);
        }
    }
    return built;
}

// Calls check(built, expected, trial) for `trials` pictures of rows of runs:
// the region grown from the top down, and the same region made at once.
template <class Check>
void for_regions_built_top_down(std::mt19937& rng, int trials, Check check) {
    for (int trial = 0; trial < trials; ++trial) {
        const std::vector<RECT> all = rows_of_runs(rng);
        HRGN expected = region_of(all);
        HRGN built = built_top_down(rng, all);
        check(built, expected, trial);
        DeleteObject(built);
        DeleteObject(expected);
    }
}

TEST_F(Gdi, UnionIntoARegionBuiltTopDownEqualsTheGeneralUnion) {
    std::mt19937 rng(12345);
    for_regions_built_top_down(rng, 300, [](HRGN built, HRGN expected, int trial) {
        ASSERT_TRUE(same(rects_of(built), rects_of(expected))) << "trial " << trial;
        RECT eb, bb;
        EXPECT_EQ(GetRgnBox(built, &bb), GetRgnBox(expected, &eb));
        EXPECT_TRUE(eb.left == bb.left && eb.top == bb.top && eb.right == bb.right && eb.bottom == bb.bottom);
    });
    // Regions that are not below one another still unite correctly.
    for (int trial = 0; trial < 200; ++trial) {
        auto random_region = [&] {
            std::vector<RECT> r;
            for (int k = 0; k < 6; ++k) {
                int x = static_cast<int>(rng() % 20), y = static_cast<int>(rng() % 20);
                r.push_back(RECT{x, y, x + 1 + static_cast<int>(rng() % 8), y + 1 + static_cast<int>(rng() % 8)});
            }
            return region_of(r);
        };
        HRGN a = random_region(), b = random_region(), c = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(CombineRgn(c, a, b, RGN_OR), ERROR);
        ASSERT_NE(CombineRgn(a, a, b, RGN_OR), ERROR);
        EXPECT_TRUE(same(rects_of(a), rects_of(c))) << "trial " << trial;
        DeleteObject(a);
        DeleteObject(b);
        DeleteObject(c);
    }
}

// A region grown in place answers every question, and takes part in every
// operation, as the same region made at once.
TEST_F(Gdi, RegionBuiltTopDownAnswersAsTheRegionMadeAtOnce) {
    std::mt19937 rng(777);
    for_regions_built_top_down(rng, 60, [](HRGN built, HRGN expected, int trial) {
        for (int y = -1; y <= 13; ++y)
            for (int x = -1; x <= 26; ++x)
                ASSERT_EQ(PtInRegion(built, x, y), PtInRegion(expected, x, y)) << "trial " << trial << " at " << x << "," << y;
        HRGN other = CreateRectRgn(3, 2, 15, 9);
        for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
            HRGN from_built = CreateRectRgn(0, 0, 0, 0), from_expected = CreateRectRgn(0, 0, 0, 0);
            ASSERT_EQ(CombineRgn(from_built, built, other, mode), CombineRgn(from_expected, expected, other, mode));
            EXPECT_TRUE(same(rects_of(from_built), rects_of(from_expected))) << "trial " << trial << " mode " << mode;
            DeleteObject(from_built);
            DeleteObject(from_expected);
        }
        // Grown further after it was used whole.
        HRGN more = region_of({RECT{0, 20, 5, 21}, RECT{7, 20, 9, 21}});
        ASSERT_NE(CombineRgn(built, built, more, RGN_OR), ERROR);
        ASSERT_NE(CombineRgn(expected, expected, more, RGN_OR), ERROR);
        EXPECT_TRUE(same(rects_of(built), rects_of(expected))) << "trial " << trial;
        EXPECT_EQ(PtInRegion(built, 8, 20), TRUE);
        DeleteObject(more);
        DeleteObject(other);
    });
}

}  // namespace
