#include "framework/textures/tga_reader.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "framework/textures/texture_files.h"
#include "platform/win32.h"

namespace orvex {

std::FILE* FTGA = nullptr;
TTGAHEADER TGAHEADER{};
TTGA TGA{};
const std::uint8_t UTGACOMPARE[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const std::uint8_t CTGACOMPARE[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

namespace {

// The longest file name the reader opens; longer names are cut to it.
constexpr std::size_t max_name_length = 255;

// The pixel block is read in one read of at most 2^31 - 1 bytes; a larger
// block is refused as one that cannot be obtained.
constexpr std::uint64_t max_image_size = (std::uint64_t{1} << 31) - 1;

void show(const char* text, const char* caption = "ERROR") { MessageBoxA(nullptr, text, caption, MB_OK); }

// Reads up to `count` bytes and answers how many arrived. A read that the
// system reports as failed counts as a short read: the caller's failure path
// handles both alike. The stream is the reader's own while it reads, so where
// the C library offers it the read skips the stream's lock.
std::size_t read_some(void* buffer, std::size_t count) {
#if defined(__GLIBC__)
    return fread_unlocked(buffer, 1, count, FTGA);
#else
    return std::fread(buffer, 1, count, FTGA);
#endif
}

bool read_exactly(void* buffer, std::size_t count) { return read_some(buffer, count) == count; }

void close_file() {
    // The file was only read: a failure to close it loses nothing.
    if (FTGA) std::fclose(FTGA);
    FTGA = nullptr;
}

void release(std::uint8_t*& block) {
    std::free(block);
    block = nullptr;
}

// Blue, green, red becomes red, green, blue, for `pixels` pixels of `bpp`
// bytes; a fourth byte stays.
void swap_blue_and_red(std::uint8_t* p, std::size_t pixels, std::uint32_t bpp) {
    for (std::size_t i = 0; i < pixels; ++i, p += bpp) {
        const std::uint8_t t = p[0];
        p[0] = p[2];
        p[2] = t;
    }
}

// The image description both body readers start with: file bytes 12 to
// 17, the checks on them, and the zero-filled pixel block.
bool read_image_description(TGATEXTURE& TEXTURE) {
    if (!read_exactly(TGA.HEADER, sizeof TGA.HEADER)) {
        show("Could not read info header");
        return false;
    }
    TEXTURE.WIDTH = TGA.HEADER[1] * 256u + TGA.HEADER[0];
    TEXTURE.HEIGHT = TGA.HEADER[3] * 256u + TGA.HEADER[2];
    TEXTURE.BPP = TGA.HEADER[4];
    TGA.WIDTH = TEXTURE.WIDTH;
    TGA.HEIGH = TEXTURE.HEIGHT;
    TGA.BPP = TEXTURE.BPP;
    if (TEXTURE.WIDTH == 0 || TEXTURE.HEIGHT == 0 || (TEXTURE.BPP != 24 && TEXTURE.BPP != 32)) {
        show("Invalid texture information");
        return false;
    }
    TEXTURE.TYP = TEXTURE.BPP == 24 ? GL_RGB : GL_RGBA;
    TGA.BYTESPERPIXEL = TGA.BPP / 8;
    // At most 65535 x 65535 x 4 bytes: computed wide, then held to what one read can take.
    const std::uint64_t size = std::uint64_t{TGA.WIDTH} * TGA.BYTESPERPIXEL * TGA.HEIGH;
    TEXTURE.IMAGEDATA = nullptr;
    if (size > max_image_size) {
        TGA.IMAGESIZE = 0;
        show("Could not allocate memory for image");
        return false;
    }
    TGA.IMAGESIZE = static_cast<std::uint32_t>(size);
    TEXTURE.IMAGEDATA = static_cast<std::uint8_t*>(std::calloc(TGA.IMAGESIZE, 1));
    if (!TEXTURE.IMAGEDATA) {
        show("Could not allocate memory for image");
        return false;
    }
    return true;
}

}  // namespace

bool LOADTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME) {
    const std::string name = FILENAME.substr(0, max_name_length);
    // Only a regular file is opened (texture_file_exists).
    FTGA = texture_file_exists(name.c_str()) ? std::fopen(name.c_str(), "rb") : nullptr;
    if (!FTGA) {
        show("Could not open texture file");
        return false;
    }
    if (!read_exactly(TGAHEADER.HEADER, sizeof TGAHEADER.HEADER)) {
        show("Could not read file header");
        close_file();
        return false;
    }
    bool ok;
    if (std::memcmp(TGAHEADER.HEADER, UTGACOMPARE, sizeof UTGACOMPARE) == 0) {
        ok = LOADUNCOMPRESSEDTGA(TEXTURE, FILENAME);
    } else if (std::memcmp(TGAHEADER.HEADER, CTGACOMPARE, sizeof CTGACOMPARE) == 0) {
        ok = LOADCOMPRESSEDTGA(TEXTURE, FILENAME);
    } else {
        show("TGA file be type 2 or type 10", "Invalid Image");
        ok = false;
    }
    if (!ok) close_file();
    return ok;
}

bool LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& /*FILENAME*/) {
    if (!read_image_description(TEXTURE)) return false;
    if (!read_exactly(TEXTURE.IMAGEDATA, TGA.IMAGESIZE)) {
        show("Could not read image data");
        release(TEXTURE.IMAGEDATA);
        return false;
    }
    swap_blue_and_red(TEXTURE.IMAGEDATA, std::size_t{TGA.WIDTH} * TGA.HEIGH, TGA.BYTESPERPIXEL);
    close_file();
    return true;
}

bool LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& /*FILENAME*/) {
    if (!read_image_description(TEXTURE)) return false;
    const std::size_t PIXELCOUNT = std::size_t{TGA.HEIGH} * TGA.WIDTH;
    std::size_t CURRENTPIXEL = 0;
    const std::uint32_t bpp = TGA.BYTESPERPIXEL;
    std::uint8_t* COLORBUFFER = static_cast<std::uint8_t*>(std::calloc(bpp, 1));
    if (!COLORBUFFER) {
        show("Could not allocate memory for color buffer");
        release(TEXTURE.IMAGEDATA);
        return false;
    }
    auto fail = [&](const char* text) {
        show(text);
        release(TEXTURE.IMAGEDATA);
        release(COLORBUFFER);
        return false;
    };
    do {
        // A packet starts with its header and one pixel value: the run's
        // value, or the raw packet's first pixel, which always fits (a packet
        // starts only while pixels are missing). Both come in one read.
        std::uint8_t head[5];
        const std::size_t got = read_some(head, 1 + bpp);
        if (got == 0) return fail("Could not read RLE header");
        const std::uint8_t CHUNKHEADER = head[0];
        const std::uint8_t* value = head + 1;
        const bool value_read = got == 1 + bpp;
        std::uint8_t* out = TEXTURE.IMAGEDATA + CURRENTPIXEL * bpp;
        const std::size_t room = PIXELCOUNT - CURRENTPIXEL;
        if (CHUNKHEADER < 128) {
            if (!value_read) return fail("Could not read image data");
            out[0] = value[2];
            out[1] = value[1];
            out[2] = value[0];
            if (bpp == 4) out[3] = value[3];
            // The further pixels that fit are read in one call, straight into
            // the image, and turned red-first there. A packet that goes past
            // the image fails at its first surplus pixel, whose bytes are
            // read before the test: a file that ends inside that pixel
            // reports the short read.
            const std::size_t further = CHUNKHEADER;
            const std::size_t fitting = further <= room - 1 ? further : room - 1;
            if (fitting > 0) {
                if (!read_exactly(out + bpp, fitting * bpp)) return fail("Could not read image data");
                swap_blue_and_red(out + bpp, fitting, bpp);
            }
            CURRENTPIXEL += 1 + fitting;
            if (fitting < further) {
                if (!read_exactly(COLORBUFFER, bpp)) return fail("Could not read image data");
                return fail("Too many pixels read");
            }
        } else {
            if (!value_read) return fail("Could not read from file");
            const std::size_t count = static_cast<std::size_t>(CHUNKHEADER) - 127;
            // A run that goes past the image fails at its first surplus pixel.
            if (count > room) return fail("Too many pixels read");
            const std::uint8_t pixel[4] = {value[2], value[1], value[0], bpp == 4 ? value[3] : std::uint8_t{0}};
            if (bpp == 4) {
                for (std::size_t k = 0; k < count; ++k) std::memcpy(out + 4 * k, pixel, 4);
            } else {
                for (std::size_t k = 0; k < count; ++k) std::memcpy(out + 3 * k, pixel, 3);
            }
            CURRENTPIXEL += count;
        }
    } while (CURRENTPIXEL != PIXELCOUNT);
    release(COLORBUFFER);
    close_file();
    return true;
}

}  // namespace orvex
