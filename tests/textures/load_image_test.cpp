// LoadImageA on BMP files: the DIB section it makes, what GetObjectA reports
// of it, its release, and the null handle for everything it cannot load.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "tests/textures/image_files.h"

using namespace orvex_test;

namespace {

constexpr UINT kDibFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;

BmpLayout eight_bit_2x2() {
    BmpLayout s;
    s.width = 2, s.height = -2, s.bpp = 8, s.colors_used = 3, s.palette = {0x112233, 0x445566, 0x778899};
    s.pixels = {2, 1, 0, 0, 0, 2, 0, 0};  // top row first in the file
    return s;
}

TEST(LoadImage, MakesADibSectionThatKeepsTheFilesFormat) {
    ScratchDir dir;
    std::string file = dir.write("eight.bmp", make_bmp(eight_bit_2x2()));
    std::size_t before = orvex_headless::gdi_object_count();
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, kDibFlags));
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(orvex_headless::gdi_object_count(), before + 1);

    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmWidthBytes, 4);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    ASSERT_NE(bm.bmBits, nullptr);
    const std::uint8_t bottom_up[8] = {0, 2, 0, 0, 2, 1, 0, 0};
    EXPECT_EQ(std::memcmp(bm.bmBits, bottom_up, 8), 0);

    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biClrUsed, 3u);
    EXPECT_EQ(ds.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(ds.dsBm.bmBits, bm.bmBits);

    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_EQ(orvex_headless::gdi_object_count(), before);
    EXPECT_EQ(GetObjectA(bmp, sizeof bm, &bm), 0);
}

TEST(LoadImage, TransparencyFlagChangesNothingForDibSections) {
    ScratchDir dir;
    std::string file = dir.write("eight.bmp", make_bmp(eight_bit_2x2()));
    HANDLE a = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, kDibFlags);
    HANDLE b = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, kDibFlags | LR_LOADTRANSPARENT);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    BITMAP ba{}, bb{};
    GetObjectA(a, sizeof ba, &ba);
    GetObjectA(b, sizeof bb, &bb);
    EXPECT_NE(ba.bmBits, bb.bmBits);  // two independent bitmaps
    EXPECT_EQ(std::memcmp(ba.bmBits, bb.bmBits, 8), 0);
    DeleteObject(a);
    DeleteObject(b);
}

TEST(LoadImage, WithoutDibSectionFlagTakesTheScreensFormat) {
    ScratchDir dir;
    std::string file = dir.write("eight.bmp", make_bmp(eight_bit_2x2()));
    HANDLE h = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr);
    BITMAP bm{};
    GetObjectA(h, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmWidthBytes, 8);
    const std::uint8_t* p = static_cast<const std::uint8_t*>(bm.bmBits);
    // Bottom row, left pixel: index 0 = 0x112233, stored blue, green, red, 0.
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    DeleteObject(h);
}

// A 16-bit file has the same colours whether it is loaded into the screen's
// format or kept as a DIB section and copied into a 32-bit one: every 5-bit
// value of each channel, and every 6-bit value of a 5-6-5 green.
TEST(LoadImage, SixteenBitColoursDoNotDependOnHowTheFileIsLoaded) {
    ScratchDir dir;
    BmpLayout s;
    s.width = 64, s.height = 1, s.bpp = 16, s.compression = BI_BITFIELDS, s.masks = {0xF800, 0x07E0, 0x001F};
    for (unsigned v = 0; v < 64; ++v) append_le16(s.pixels, ((v >> 1) << 11) | (v << 5) | (v >> 1));
    std::string file = dir.write("sixteen.bmp", make_bmp(s));

    HANDLE wide = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    HANDLE dib = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, kDibFlags);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(dib, nullptr);
    BITMAPINFOHEADER h{sizeof h, 64, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* copied_bits = nullptr;
    HBITMAP copied = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &copied_bits, nullptr, 0);
    HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
    HGDIOBJ old_from = SelectObject(from, dib), old_to = SelectObject(to, copied);
    ASSERT_TRUE(BitBlt(to, 0, 0, 64, 1, from, 0, 0, SRCCOPY));
    SelectObject(from, old_from);
    SelectObject(to, old_to);
    DeleteDC(from);
    DeleteDC(to);

    BITMAP bm{};
    GetObjectA(wide, sizeof bm, &bm);
    ASSERT_EQ(bm.bmBitsPixel, 32);
    const auto* loaded = static_cast<const std::uint8_t*>(bm.bmBits);
    const auto* blitted = static_cast<const std::uint8_t*>(copied_bits);
    for (unsigned v = 0; v < 64; ++v) {
        const std::uint8_t* p = loaded + 4 * v;
        EXPECT_EQ(std::memcmp(p, blitted + 4 * v, 3), 0) << "value " << v;
        // Narrowed back to 5 and 6 bits, each channel is the file's value.
        EXPECT_EQ(p[2] >> 3, v >> 1) << "red " << (v >> 1);
        EXPECT_EQ(p[1] >> 2, v) << "green " << v;
        EXPECT_EQ(p[0] >> 3, v >> 1) << "blue " << (v >> 1);
    }
    EXPECT_EQ(loaded[4 * 6 + 2], 24) << "the 5-bit 3 widens to 24";
    EXPECT_EQ(loaded[4 * 63 + 1], 255);
    EXPECT_EQ(loaded[0] | loaded[1] | loaded[2], 0);
    DeleteObject(wide);
    DeleteObject(dib);
    DeleteObject(copied);
}

TEST(LoadImage, RequestedSizeMustBeZeroOrTheImagesOwn) {
    ScratchDir dir;
    std::string file = dir.write("eight.bmp", make_bmp(eight_bit_2x2()));
    HANDLE own = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 2, 2, kDibFlags);
    EXPECT_NE(own, nullptr);
    DeleteObject(own);
    EXPECT_EQ(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 4, 4, kDibFlags), nullptr);
}

TEST(LoadImage, AnswersNullForWhatItCannotLoad) {
    ScratchDir dir;
    std::string good = dir.write("eight.bmp", make_bmp(eight_bit_2x2()));
    Bytes cut = make_bmp(eight_bit_2x2());
    cut.pop_back();
    std::string truncated = dir.write("cut.bmp", cut);
    std::string text = dir.write("text.bmp", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'b', 'i', 't', 'm', 'a', 'p', '.', '.'});
    std::string empty = dir.write("empty.bmp", Bytes{});
    const std::string folder = dir.path("folder.bmp");
    std::filesystem::create_directories(folder);
    const std::string pipe = dir.path("pipe.bmp");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::size_t before = orvex_headless::gdi_object_count();
    struct Case {
        const char* what;
        LPCSTR name;
        UINT type;
        UINT flags;
    } cases[] = {
        {"missing file", "no-such-file.bmp", IMAGE_BITMAP, kDibFlags},
        {"truncated pixels", truncated.c_str(), IMAGE_BITMAP, kDibFlags},
        {"text", text.c_str(), IMAGE_BITMAP, kDibFlags},
        {"empty", empty.c_str(), IMAGE_BITMAP, kDibFlags},
        {"directory", folder.c_str(), IMAGE_BITMAP, kDibFlags},
        {"pipe (would wait for a writer)", pipe.c_str(), IMAGE_BITMAP, kDibFlags},
        {"device (would be read without end)", "/dev/zero", IMAGE_BITMAP, kDibFlags},
        {"pipe as a cursor", pipe.c_str(), IMAGE_CURSOR, LR_LOADFROMFILE},
        {"no file flag (resource)", good.c_str(), IMAGE_BITMAP, LR_CREATEDIBSECTION},
        {"null name", nullptr, IMAGE_BITMAP, kDibFlags},
        {"empty name", "", IMAGE_BITMAP, kDibFlags},
        {"unknown type", good.c_str(), 7, kDibFlags},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadImageA(nullptr, c.name, c.type, 0, 0, c.flags), nullptr) << c.what;
    EXPECT_EQ(orvex_headless::gdi_object_count(), before);
}

}  // namespace
