// Fuzzes the way from a BMP file to a region, as an image button takes it:
// the bytes are written to a file, which BITMAPTOREGION loads (through
// LOADBMPFROMFILE and LoadImageA) and scans. When the file loads, the region
// must hold exactly the pixels that the loaded picture, shown through the
// loader's palette at 32 bits, shows outside the transparent range; when it
// does not, there is no region. Nothing may leave a GDI object behind.
//
// Input: the transparent colour (3 bytes, red first), the tolerance, then
// the file. Files whose header promises more than 512 by 512 pixels are
// passed over, so that each run stays quick; such pictures still hold
// enough runs of opaque pixels for many batches of rectangles.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/buttons/buttons.h"
#include "fuzz/support/region_oracle.h"
#include "platform/headless/headless.h"

namespace {

using orvex_fuzz::fail;

constexpr std::int64_t kMaxPixels = 512 * 512;

std::string g_path;

bool started = [] {
    orvex_headless::activate();
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/orvex-bitmap-region.XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) fail("cannot make a temporary file");
    close(fd);
    g_path = name.data();
    std::atexit([] { std::remove(g_path.c_str()); });
    return true;
}();

std::int64_t le(const std::uint8_t* p, int bytes) {
    std::uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) v |= std::uint32_t{p[k]} << (8 * k);
    return bytes == 4 ? static_cast<std::int32_t>(v) : static_cast<std::int64_t>(v);
}

// The picture size the file's header claims, as far as it can be read.
std::int64_t claimed_pixels(const std::uint8_t* file, std::size_t size) {
    if (size < 26) return 0;
    const bool core = le(file + 14, 4) == 12;
    const std::int64_t width = core ? le(file + 18, 2) : le(file + 18, 4);
    const std::int64_t height = core ? le(file + 20, 2) : le(file + 22, 4);
    return (width < 0 ? -width : width) * (height < 0 ? -height : height);
}

void write_file(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(g_path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) fail("cannot write the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)started;
    if (size < 4) return 0;
    const std::uint32_t colour = data[0] | (std::uint32_t{data[1]} << 8) | (std::uint32_t{data[2]} << 16);
    const std::uint8_t tolerance = data[3];
    const std::uint8_t* file = data + 4;
    const std::size_t file_size = size - 4;
    if (claimed_pixels(file, file_size) > kMaxPixels) return 0;
    write_file(file, file_size);

    const std::size_t before = orvex_headless::gdi_object_count();
    HRGN region = orvex::BITMAPTOREGION(g_path, colour, tolerance);

    HPALETTE palette = nullptr;
    HBITMAP bitmap = orvex::LOADBMPFROMFILE(g_path, palette);
    if (!bitmap) {
        if (region) fail("a region from a file that does not load");
        if (palette) fail("a palette without a bitmap");
    } else {
        if (!region) fail("no region for a file that loads");
        if (!palette) fail("a bitmap without a palette");
        BITMAP bm{};
        GetObjectA(bitmap, sizeof bm, &bm);
        const int width = bm.bmWidth, height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
        const std::vector<bool> opaque = orvex_fuzz::opaque_pixels(bitmap, palette, width, height, colour, tolerance);
        if (!orvex_fuzz::region_covers_exactly(region, opaque, width, height)) fail("region and picture differ");
        DeleteObject(region);
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
    if (orvex_headless::gdi_object_count() != before) fail("GDI objects leaked");
    return 0;
}
