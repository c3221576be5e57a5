// Bitmaps with palettes, and regions from the opaque pixels of bitmaps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/buttons/buttons.h"
#include "framework/core/checked.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"
#include "tests/buttons/bmp_writer.h"
#include "tests/buttons/region_rects.h"

namespace {

using orvex_test::BmpSpec;

class Files : public ::testing::Test {
protected:
    void SetUp() override { objects_before_ = orvex_headless::gdi_object_count(); }
    void TearDown() override {
        orvex_platform::enable_call_log(false);
        EXPECT_EQ(orvex_headless::gdi_object_count(), objects_before_) << "GDI objects leaked";
    }
    std::string write(const std::string& name, const BmpSpec& spec) {
        const std::string path = dir_.path(name);
        orvex_test::write_bmp(path, spec);
        return path;
    }
    orvex_test::TempDir dir_;
    std::size_t objects_before_ = 0;
};

std::vector<PALETTEENTRY> entries_of(HPALETTE p) {
    std::vector<PALETTEENTRY> e(GetPaletteEntries(p, 0, 0, nullptr));
    GetPaletteEntries(p, 0, static_cast<UINT>(e.size()), e.data());
    return e;
}

// ---- LOADBMPFROMFILE --------------------------------------------------------------

TEST_F(Files, PaletteOfAnIndexedFileIsItsColourTableFilledTo256) {
    struct Case {
        int bits;
        int table;  // colours in the file's table
    } cases[] = {{8, 256}, {8, 10}, {4, 16}, {1, 2}};
    for (const Case& c : cases) {
        BmpSpec s;
        s.width = 3;
        s.height = 2;
        s.bits = c.bits;
        for (int i = 0; i < c.table; ++i)
            s.colors.push_back((static_cast<std::uint32_t>((i * 7 + 1) & 255) << 16) |
                               (static_cast<std::uint32_t>(255 - i) << 8) | static_cast<std::uint32_t>(i));
        s.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + y) & 1); };
        const std::string file = write("indexed.bmp", s);

        HPALETTE pal = nullptr;
        HBITMAP bmp = orvex::LOADBMPFROMFILE(file, pal);
        ASSERT_TRUE(bmp) << c.bits;
        ASSERT_TRUE(pal) << c.bits;
        const std::vector<PALETTEENTRY> e = entries_of(pal);
        ASSERT_EQ(e.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            const bool in_table = i < c.table;
            EXPECT_EQ(e[i].peRed, in_table ? (i * 7 + 1) & 255 : 0) << c.bits << " bits, entry " << i;
            EXPECT_EQ(e[i].peGreen, in_table ? 255 - i : 0) << c.bits << " bits, entry " << i;
            EXPECT_EQ(e[i].peBlue, in_table ? i : 0) << c.bits << " bits, entry " << i;
            EXPECT_EQ(e[i].peFlags, 0);
        }
        BITMAP bm{};
        GetObjectA(bmp, sizeof bm, &bm);
        EXPECT_EQ(bm.bmBitsPixel, c.bits) << "the section keeps the file's format";
        EXPECT_TRUE(DeleteObject(bmp));
        EXPECT_TRUE(DeleteObject(pal));
    }
}

TEST_F(Files, DeepFilesGetTheHalftonePalette) {
    HDC screen = GetDC(nullptr);
    HPALETTE reference = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    const std::vector<PALETTEENTRY> halftone = entries_of(reference);
    DeleteObject(reference);
    for (int bits : {16, 24, 32}) {
        BmpSpec s;
        s.width = 2;
        s.height = 2;
        s.bits = bits;
        s.pixel = [](int x, int) { return x ? 0xFF0000u : 0x00FF00u; };
        HPALETTE pal = nullptr;
        HBITMAP bmp = orvex::LOADBMPFROMFILE(write("deep.bmp", s), pal);
        ASSERT_TRUE(bmp && pal) << bits;
        const std::vector<PALETTEENTRY> e = entries_of(pal);
        ASSERT_EQ(e.size(), halftone.size());
        EXPECT_EQ(std::memcmp(e.data(), halftone.data(), e.size() * sizeof(PALETTEENTRY)), 0) << bits;
        DeleteObject(bmp);
        DeleteObject(pal);
    }
}

TEST_F(Files, MissingFileGivesNothingAndLeavesThePaletteVariable) {
    HPALETTE pal = reinterpret_cast<HPALETTE>(0x1234);
    EXPECT_EQ(orvex::LOADBMPFROMFILE(dir_.path("absent.bmp"), pal), nullptr);
    EXPECT_EQ(pal, reinterpret_cast<HPALETTE>(0x1234));
    std::FILE* f = std::fopen(dir_.path("garbage.bmp").c_str(), "wb");
    std::fputs("not a bitmap at all", f);
    std::fclose(f);
    EXPECT_EQ(orvex::LOADBMPFROMFILE(dir_.path("garbage.bmp"), pal), nullptr);
    EXPECT_EQ(pal, reinterpret_cast<HPALETTE>(0x1234));
}

TEST_F(Files, LoadingTwiceGivesIndependentObjects) {
    BmpSpec s = orvex_test::picture({"X."}, [](char) { return 0x102030u; });
    const std::string file = write("twice.bmp", s);
    HPALETTE p1 = nullptr, p2 = nullptr;
    HBITMAP b1 = orvex::LOADBMPFROMFILE(file, p1);
    HBITMAP b2 = orvex::LOADBMPFROMFILE(file, p2);
    ASSERT_TRUE(b1 && b2 && p1 && p2);
    EXPECT_NE(b1, b2);
    EXPECT_NE(p1, p2);
    EXPECT_TRUE(DeleteObject(b1));
    EXPECT_TRUE(DeleteObject(p1));
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(b2, sizeof bm, &bm), static_cast<int>(sizeof bm)) << "the second survives the first";
    EXPECT_EQ(GetPaletteEntries(p2, 0, 0, nullptr), 256u);
    DeleteObject(b2);
    DeleteObject(p2);
}

// ---- BITMAPTOREGION ----------------------------------------------------------------

using orvex_test::rects_of;

std::string describe(const std::vector<RECT>& rects) {
    std::string s;
    for (const RECT& r : rects)
        s += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
             std::to_string(r.bottom) + ")";
    return s;
}

std::uint32_t white(char) { return 0xFFFFFF; }

// The platform calls whose names start with `name`, with their arguments.
std::vector<std::vector<std::string>> calls(const std::string& name) {
    std::vector<std::vector<std::string>> out;
    for (const std::string& c : orvex_platform::call_log()) {
        if (c.compare(0, name.size() + 1, name + "(") != 0) continue;
        std::vector<std::string> args;
        std::string inner = c.substr(name.size() + 1, c.size() - name.size() - 2);
        std::size_t at = 0;
        while (at <= inner.size()) {
            std::size_t comma = inner.find(", ", at);
            args.push_back(inner.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
            if (comma == std::string::npos) break;
            at = comma + 2;
        }
        out.push_back(args);
    }
    return out;
}

TEST_F(Files, RegionCoversTheOpaqueRunsOfEachRow) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::string rects;
    } cases[] = {
        {"no transparent pixel", {"XXXX", "XXXX", "XXXX"}, "(0,0,4,3)"},
        {"a transparent pixel splits a row", {"XXX.XXX"}, "(0,0,3,1)(4,0,7,1)"},
        {"an outline", {"..X..", ".XXX.", "XX.XX", ".XXX.", "..X.."},
         "(2,0,3,1)(1,1,4,2)(0,2,2,3)(3,2,5,3)(1,3,4,4)(2,4,3,5)"},
        {"runs at both edges", {"X...X", "....."}, "(0,0,1,1)(4,0,5,1)"},
    };
    for (const Case& c : cases) {
        HRGN r = orvex::BITMAPTOREGION(write("shape.bmp", orvex_test::picture(c.rows, white)), 0xFF00FF, 1);
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(describe(rects_of(r)), c.rects) << c.what;
        EXPECT_TRUE(DeleteObject(r));
    }
}

TEST_F(Files, AllTransparentGivesAValidEmptyRegion) {
    HRGN r = orvex::BITMAPTOREGION(write("empty.bmp", orvex_test::picture({"...", "..."}, white)), 0xFF00FF, 1);
    ASSERT_NE(r, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
    EXPECT_TRUE(DeleteObject(r));
}

TEST_F(Files, ToleranceWidensTheTransparentColourUpwardsOnly) {
    struct Case {
        std::uint32_t transcolor;  // 0x00BBGGRR
        std::uint8_t tolerance;
        std::uint32_t pixel;       // 0x00RRGGBB
        bool transparent;
    } cases[] = {
        {0xFF00FF, 1, 0xFF00FF, true},  {0xFF00FF, 1, 0xFF01FF, true},  {0xFF00FF, 1, 0xFE00FF, false},
        {0xFF00FF, 1, 0xFF02FF, false}, {0xFF00FF, 0, 0xFF00FF, true},  {0xFF00FF, 0, 0xFF01FF, false},
        {0x0000FA, 10, 0xFA0000, true}, {0x0000FA, 10, 0xFF0A0A, true}, {0x0000FA, 10, 0xF90000, false},
        {0x0000FA, 10, 0xFF0B00, false}, {0x123456, 0, 0x563412, true}, {0x123456, 255, 0xFFFFFF, true},
        {0x123456, 255, 0x553412, false},
    };
    for (const Case& c : cases) {
        BmpSpec s;
        s.width = 1;
        s.height = 1;
        s.bits = 24;
        s.pixel = [&](int, int) { return c.pixel; };
        HRGN r = orvex::BITMAPTOREGION(write("one.bmp", s), c.transcolor, c.tolerance);
        ASSERT_TRUE(r);
        EXPECT_EQ(PtInRegion(r, 0, 0) == FALSE, c.transparent)
            << std::hex << "colour " << c.transcolor << " tolerance " << std::dec << int(c.tolerance) << " pixel "
            << std::hex << c.pixel;
        DeleteObject(r);
    }
}

TEST_F(Files, IndexedPicturesAreScannedThroughTheirColours) {
    BmpSpec s;
    s.width = 4;
    s.height = 1;
    s.bits = 8;
    s.colors = {0xFF00FF, 0xC80000};
    s.pixel = [](int x, int) { return x == 1 ? 0u : 1u; };
    HRGN r = orvex::BITMAPTOREGION(write("indexed.bmp", s), 0xFF00FF, 1);
    ASSERT_TRUE(r);
    EXPECT_EQ(describe(rects_of(r)), "(0,0,1,1)(2,0,4,1)");
    DeleteObject(r);
}

// Rows of `runs` one-pixel runs: the region builder makes one rectangle of each.
BmpSpec runs_picture(int runs_per_row, int rows, int extra) {
    BmpSpec s;
    s.width = runs_per_row * 2;
    s.height = rows + (extra > 0 ? 1 : 0);
    s.bits = 24;
    s.pixel = [=](int x, int y) -> std::uint32_t {
        if (x % 2) return 0xFF00FF;
        if (y == rows) return x / 2 < extra ? 0x000000 : 0xFF00FF;
        return 0x000000;
    };
    return s;
}

TEST_F(Files, BufferGrowsBy100AndBatchesOf2000AreMerged) {
    struct Case {
        const char* what;
        int runs, rows, extra;
        int reallocs;              // GlobalReAlloc calls
        std::string last_realloc;  // its size argument
        std::vector<std::string> region_sizes;  // the size argument of each ExtCreateRegion
        int combines;
    } cases[] = {
        {"100 rectangles fit the first block", 50, 2, 0, 0, "", {"1632"}, 0},
        {"the 101st grows it to 200", 50, 2, 1, 1, "3232", {"3232"}, 0},
        {"2000 make a batch, the last flush is empty", 50, 40, 0, 19, "32032", {"32032", "32032"}, 1},
        {"2001 leave one for the last flush", 50, 40, 1, 19, "32032", {"32032", "32032"}, 1},
        {"4500 make two batches and a rest", 90, 50, 0, 19, "32032", {"32032", "32032", "32032"}, 2},
    };
    for (const Case& c : cases) {
        const std::string file = write("runs.bmp", runs_picture(c.runs, c.rows, c.extra));
        orvex_platform::clear_call_log();
        orvex_platform::enable_call_log(true);
        HRGN r = orvex::BITMAPTOREGION(file, 0xFF00FF, 1);
        orvex_platform::enable_call_log(false);
        ASSERT_TRUE(r) << c.what;

        const auto reallocs = calls("GlobalReAlloc");
        EXPECT_EQ(static_cast<int>(reallocs.size()), c.reallocs) << c.what;
        if (!reallocs.empty()) {
            EXPECT_EQ(reallocs.front()[1], "3232") << c.what;
            EXPECT_EQ(reallocs.back()[1], c.last_realloc) << c.what;
        }
        const auto allocs = calls("GlobalAlloc");
        ASSERT_EQ(allocs.size(), 1u) << c.what;
        EXPECT_EQ(allocs[0][1], "1632") << c.what;
        EXPECT_EQ(calls("GlobalFree").size(), 1u) << c.what;
        std::vector<std::string> sizes;
        for (const auto& a : calls("ExtCreateRegion")) sizes.push_back(a[1]);
        EXPECT_EQ(sizes, c.region_sizes) << c.what;
        EXPECT_EQ(static_cast<int>(calls("CombineRgn").size()), c.combines) << c.what;
        EXPECT_EQ(calls("DeleteObject").size(), static_cast<std::size_t>(c.combines) + 3)
            << c.what << ": each merged batch, the scan image, the palette and the bitmap";

        // Whatever the batches, the region is the picture's opaque pixels.
        const BmpSpec s = runs_picture(c.runs, c.rows, c.extra);
        int wrong = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                wrong += (PtInRegion(r, x, y) != FALSE) != (s.pixel(x, y) != 0xFF00FF);
        EXPECT_EQ(wrong, 0) << c.what;
        DeleteObject(r);
    }
}

TEST_F(Files, MissingFileGivesNoRegionAndCreatesNothing) {
    orvex_platform::clear_call_log();
    orvex_platform::enable_call_log(true);
    EXPECT_EQ(orvex::BITMAPTOREGION(dir_.path("absent.bmp"), 0xFF00FF, 1), nullptr);
    orvex_platform::enable_call_log(false);
    EXPECT_TRUE(calls("GlobalAlloc").empty());
    EXPECT_TRUE(calls("CreateCompatibleDC").empty());
}

TEST_F(Files, FailuresOfTheSystemGiveNoRegionAndLeaveNothingBehind) {
    using orvex_platform::Failure;
    struct Case {
        const char* what;
        Failure failure;
        bool buffer_allocated;  // the failure comes after the rectangle buffer was made
    } cases[] = {
        {"no memory context", Failure::create_dc, false},
        {"no scan image", Failure::create_dib_section, false},
        {"no rectangle buffer", Failure::global_alloc, false},
        {"the buffer cannot grow at the 101st rectangle", Failure::global_realloc, true},
    };
    // 150 rectangles: the buffer must grow once.
    const std::string file = write("runs.bmp", runs_picture(50, 3, 0));
    for (const Case& c : cases) {
        orvex_platform::clear_call_log();
        orvex_platform::enable_call_log(true);
        orvex_platform::inject_failure(c.failure, true);
        HRGN r = orvex::BITMAPTOREGION(file, 0xFF00FF, 1);
        orvex_platform::inject_failure(c.failure, false);
        orvex_platform::enable_call_log(false);
        EXPECT_EQ(r, nullptr) << c.what;
        EXPECT_EQ(orvex_headless::gdi_object_count(), objects_before_) << c.what;
        EXPECT_EQ(calls("GlobalFree").size(), c.buffer_allocated ? 1u : 0u) << c.what;
        if (c.buffer_allocated) {
            EXPECT_EQ(calls("ExtCreateRegion").size(), 0u) << c.what << ": no batch was made before the failure";
            EXPECT_EQ(calls("GlobalLock").size(), calls("GlobalUnlock").size()) << c.what;
        }
    }
}

TEST_F(Files, TransparentColourWithTheTopBitSetIsARangeError) {
    const std::string file = write("x.bmp", orvex_test::picture({"X"}, white));
    EXPECT_EXIT(orvex::BITMAPTOREGION(file, 0x80FF00FFu, 1), ::testing::ExitedWithCode(orvex::EXIT_RANGE_ERROR),
                "TRANSCOLOR");
}

}  // namespace
