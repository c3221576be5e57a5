// How GDI widens the 5- and 6-bit channels of a 16-bit DIB when it copies it
// into a 32-bit one: every value of each channel width, on this platform and,
// through the mingw build, on Windows' own GDI.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace {

struct Section {
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
};

// A one-row DIB section of `width` pixels, top-down.
Section section(int width, WORD bits, DWORD compression, const DWORD* masks) {
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 12, 0);
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = -1;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = compression;
    std::memcpy(info.data(), &h, sizeof h);
    if (masks) std::memcpy(info.data() + sizeof h, masks, 12);
    Section s;
    s.bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &s.bits, nullptr, 0);
    return s;
}

// The 16-bit pixels copied into a 32-bit section: 0x00RRGGBB each.
std::vector<std::uint32_t> widened(const std::vector<std::uint16_t>& pixels, DWORD compression, const DWORD* masks) {
    const int n = static_cast<int>(pixels.size());
    Section src = section(n, 16, compression, masks), dst = section(n, 32, BI_RGB, nullptr);
    EXPECT_NE(src.bitmap, nullptr);
    EXPECT_NE(dst.bitmap, nullptr);
    if (!src.bitmap || !dst.bitmap) return {};
    std::memcpy(src.bits, pixels.data(), pixels.size() * 2);
    HDC s = CreateCompatibleDC(nullptr), d = CreateCompatibleDC(nullptr);
    HGDIOBJ old_s = SelectObject(s, src.bitmap), old_d = SelectObject(d, dst.bitmap);
    EXPECT_TRUE(BitBlt(d, 0, 0, n, 1, s, 0, 0, SRCCOPY));
    std::vector<std::uint32_t> out(pixels.size());
    std::memcpy(out.data(), dst.bits, out.size() * 4);
    SelectObject(s, old_s);
    SelectObject(d, old_d);
    DeleteDC(s);
    DeleteDC(d);
    DeleteObject(src.bitmap);
    DeleteObject(dst.bitmap);
    for (std::uint32_t& p : out) p &= 0xFFFFFF;
    return out;
}

// A channel of `width` bits widened to 8 by repeating its bits.
std::uint32_t repeated(std::uint32_t v, int width) { return (v << (8 - width)) | (v >> (2 * width - 8)); }

TEST(DibChannels, FiveBitChannelsRepeatTheirBits) {
    std::vector<std::uint16_t> pixels;
    for (std::uint16_t v = 0; v < 32; ++v) pixels.push_back(static_cast<std::uint16_t>((v << 10) | (v << 5) | v));
    const std::vector<std::uint32_t> out = widened(pixels, BI_RGB, nullptr);
    ASSERT_EQ(out.size(), 32u);
    for (std::uint32_t v = 0; v < 32; ++v) {
        const std::uint32_t c = repeated(v, 5);
        EXPECT_EQ(out[v], (c << 16) | (c << 8) | c) << "5-bit value " << v;
        EXPECT_EQ(c >> 3, v) << "narrowed back";
    }
    EXPECT_EQ(out[0], 0u);
    EXPECT_EQ(out[3] & 0xFF, 24u);
    EXPECT_EQ(out[31], 0xFFFFFFu);
}

TEST(DibChannels, SixBitChannelsRepeatTheirBits) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::vector<std::uint16_t> pixels;
    for (std::uint16_t v = 0; v < 64; ++v) pixels.push_back(static_cast<std::uint16_t>(((v >> 1) << 11) | (v << 5)));
    const std::vector<std::uint32_t> out = widened(pixels, BI_BITFIELDS, masks);
    ASSERT_EQ(out.size(), 64u);
    for (std::uint32_t v = 0; v < 64; ++v) {
        EXPECT_EQ((out[v] >> 8) & 0xFF, repeated(v, 6)) << "6-bit green " << v;
        EXPECT_EQ(out[v] >> 16, repeated(v >> 1, 5)) << "5-bit red " << (v >> 1);
        EXPECT_EQ(repeated(v, 6) >> 2, v) << "narrowed back";
    }
    EXPECT_EQ(out[63], 0xFFFF00u);
}

}  // namespace
