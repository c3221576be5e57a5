// LoadImageA: bitmaps from BMP files (and cursor or icon files), as the
// program has no resources of its own.
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/core/bmp_decoder.h"
#include "platform/core/call_log.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/regular_file.h"

namespace orvex_platform {

namespace {

// A BMP file is read whole; anything larger than the decoder's cap plus room
// for headers and a colour table is not a bitmap the decoder would accept.
constexpr std::size_t max_file_bytes = max_dib_bytes + (std::size_t{1} << 16);

bool read_file(const char* name, std::vector<std::uint8_t>& bytes) {
    std::FILE* f = is_regular_file(name) ? std::fopen(name, "rb") : nullptr;
    if (!f) return false;
    bytes.clear();
    std::uint8_t buffer[1 << 16];
    bool ok = true;
    for (;;) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        if (got > max_file_bytes - bytes.size()) {
            ok = false;
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (got < sizeof buffer) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

HBITMAP make_bitmap(DibImage&& image) {
    auto b = std::make_unique<Bitmap>();
    static_cast<DibImage&>(*b) = std::move(image);
    return static_cast<HBITMAP>(add_gdi_object(std::move(b)));
}

}  // namespace

}  // namespace orvex_platform

using namespace orvex_platform;

// Only files are loaded (LR_LOADFROMFILE). A bitmap comes back at its own
// size: a requested size other than 0 or the image's own is refused, as the
// platform does not scale bitmaps. With LR_CREATEDIBSECTION the bitmap keeps
// the file's pixel format and colour table; without it the bitmap takes the
// screen's format, 32 bits per pixel. LR_LOADTRANSPARENT and the other flags
// change nothing here.
HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    ORVEX_API(instance, name, type, cx, cy, flags);
    if (!(flags & LR_LOADFROMFILE) || !name || IS_INTRESOURCE(name) || !*name) return nullptr;
    if (type == IMAGE_CURSOR || type == IMAGE_ICON) return LoadCursorFromFileA(name);
    if (type != IMAGE_BITMAP) return nullptr;

    std::vector<std::uint8_t> bytes;
    if (!read_file(name, bytes)) return nullptr;
    DibImage image;
    if (decode_bmp(bytes.data(), bytes.size(), image) != BmpResult::ok) return nullptr;
    if ((cx != 0 && cx != image.width) || (cy != 0 && cy != image.height)) return nullptr;
    if (!(flags & LR_CREATEDIBSECTION)) {
        DibImage screen;
        if (!dib_to_32bit(image, screen)) return nullptr;
        image = std::move(screen);
    }
    return make_bitmap(std::move(image));
}
