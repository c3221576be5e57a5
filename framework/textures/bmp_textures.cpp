// Bitmap textures: BMP files loaded by the platform as DIB sections and
// handed to OpenGL straight from the section's own memory.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "framework/textures/textures.h"
#include "framework/textures/texture_files.h"
#include "platform/little_endian.h"
#include "platform/win32.h"

#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

namespace orvex {

CheckedArray<std::uint32_t, 0, 500> TEXTUREID2;
std::int32_t GL_MIN_FILTER = GL_LINEAR;
std::int32_t GL_MAG_FILTER = GL_LINEAR;

std::int32_t GETBMPDEPTH(const char* BMPFILE) {
    if (!texture_file_exists(BMPFILE)) return 0;
    // A file that cannot be opened or ends inside the two headers is not a
    // usable bitmap: the answer is 0, as for any other such file.
    std::FILE* f = std::fopen(BMPFILE, "rb");
    if (!f) return 0;
    std::uint8_t file_header[14];
    std::uint8_t info_header[40];
    std::int32_t depth = 0;
    if (std::fread(file_header, 1, sizeof file_header, f) == sizeof file_header &&
        orvex_platform::read_le16(file_header) == 0x4D42 &&
        std::fread(info_header, 1, sizeof info_header, f) == sizeof info_header) {
        if (orvex_platform::read_le32(info_header) != 12) depth = orvex_platform::read_le16(info_header + 14);
    }
    std::fclose(f);
    return depth;
}

void SWAPRGB(std::uint8_t* DATA, std::int32_t SIZE) {
    // A count below 1 swaps nothing.
    for (std::int32_t i = 0; i < SIZE; ++i, DATA += 3) {
        std::uint8_t t = DATA[0];
        DATA[0] = DATA[2];
        DATA[2] = t;
    }
}

void ADDMIPMAPSTEXTURE(std::int32_t FORMAT, std::int32_t WIDTH, std::int32_t HEIGHT, const void* BITS) {
    if (FORMAT == 24) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, BITS);
    } else if (FORMAT == 32) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, WIDTH, HEIGHT, GL_BGRA_EXT, GL_UNSIGNED_BYTE, BITS);
    }
}

// A slot owns its texture (bind_new_texture).
void TEXTURELOADID(const char* BMPFILE, std::int32_t NUM) {
    std::uint32_t& slot = TEXTUREID2.at(NUM, "TEXTUREID2 slot");
    const std::int32_t FORMAT = GETBMPDEPTH(BMPFILE);
    HBITMAP BMP = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), BMPFILE, IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_LOADTRANSPARENT | LR_CREATEDIBSECTION));
    BITMAP SBITMAP{};
    // Only a bitmap the platform really loaded, of the depth the probe found,
    // gives an image: never width, height or pixels that were not filled in.
    const bool loaded = BMP && GetObjectA(BMP, sizeof SBITMAP, &SBITMAP) == static_cast<int>(sizeof SBITMAP) &&
                        SBITMAP.bmBits && SBITMAP.bmWidth > 0 && SBITMAP.bmHeight > 0;
    const bool upload = loaded && (FORMAT == 24 || FORMAT == 32) && SBITMAP.bmBitsPixel == FORMAT &&
                        SBITMAP.bmWidthBytes >= checked_mul<std::int64_t>(SBITMAP.bmWidth, FORMAT / 8, "bitmap row");
    if (upload && FORMAT == 24) {
        checked_mul(SBITMAP.bmWidth, SBITMAP.bmHeight, "bitmap pixel count");
        // Row by row: each DIB row ends in fill bytes up to a multiple of 4,
        // which the swap must skip, or every row after the first would shift.
        auto* rows = static_cast<std::uint8_t*>(SBITMAP.bmBits);
        for (LONG y = 0; y < SBITMAP.bmHeight; ++y) {
            SWAPRGB(rows + static_cast<std::size_t>(y) * static_cast<std::size_t>(SBITMAP.bmWidthBytes),
                    SBITMAP.bmWidth);
        }
    }
    bind_new_texture(slot);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    set_texture_parameters();
    if (upload) {
        if (FORMAT == 24) {
            glTexImage2D(GL_TEXTURE_2D, 0, 3, SBITMAP.bmWidth, SBITMAP.bmHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                         SBITMAP.bmBits);
        } else {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, SBITMAP.bmWidth, SBITMAP.bmHeight, 0, GL_BGRA_EXT,
                         GL_UNSIGNED_BYTE, SBITMAP.bmBits);
        }
        if (is_mipmap_filter(GL_MIN_FILTER)) {
            ADDMIPMAPSTEXTURE(FORMAT, SBITMAP.bmWidth, SBITMAP.bmHeight, SBITMAP.bmBits);
        }
    }
    // OpenGL holds its own copy of the pixels now; the bitmap is not used again.
    if (BMP) DeleteObject(BMP);
}

void TEXTURESELECTID(std::int32_t NUM) { glBindTexture(GL_TEXTURE_2D, TEXTUREID2.at(NUM, "TEXTUREID2 slot")); }

}  // namespace orvex
