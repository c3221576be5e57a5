#include "framework/textures/tga_reader.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

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

// Reads exactly `count` bytes. A read that the system reports as failed
// counts as a short read: the caller's failure path handles both alike.
bool read_exactly(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, FTGA) == count;
}

void close_file() {
    // The file was only read: a failure to close it loses nothing.
    if (FTGA) std::fclose(FTGA);
    FTGA = nullptr;
}

void release(std::uint8_t*& block) {
    std::free(block);
    block = nullptr;
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
    FTGA = std::fopen(name.c_str(), "rb");
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
    // Blue, green, red becomes red, green, blue; a fourth byte stays.
    const std::size_t pixels = std::size_t{TGA.WIDTH} * TGA.HEIGH;
    std::uint8_t* p = TEXTURE.IMAGEDATA;
    for (std::size_t i = 0; i < pixels; ++i, p += TGA.BYTESPERPIXEL) {
        std::uint8_t t = p[0];
        p[0] = p[2];
        p[2] = t;
    }
    close_file();
    return true;
}

bool LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& /*FILENAME*/) {
    if (!read_image_description(TEXTURE)) return false;
    const std::size_t PIXELCOUNT = std::size_t{TGA.HEIGH} * TGA.WIDTH;
    std::size_t CURRENTPIXEL = 0;
    std::size_t CURRENTBYTE = 0;
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
    auto store = [&] {
        std::uint8_t* out = TEXTURE.IMAGEDATA + CURRENTBYTE;
        out[0] = COLORBUFFER[2];
        out[1] = COLORBUFFER[1];
        out[2] = COLORBUFFER[0];
        if (bpp == 4) out[3] = COLORBUFFER[3];
        CURRENTBYTE += bpp;
        ++CURRENTPIXEL;
    };
    do {
        std::uint8_t CHUNKHEADER;
        if (!read_exactly(&CHUNKHEADER, 1)) return fail("Could not read RLE header");
        if (CHUNKHEADER < 128) {
            for (unsigned counter = 0; counter <= CHUNKHEADER; ++counter) {
                if (!read_exactly(COLORBUFFER, bpp)) return fail("Could not read image data");
                if (CURRENTPIXEL == PIXELCOUNT) return fail("Too many pixels read");
                store();
            }
        } else {
            if (!read_exactly(COLORBUFFER, bpp)) return fail("Could not read from file");
            for (unsigned counter = 0; counter < CHUNKHEADER - 127u; ++counter) {
                if (CURRENTPIXEL == PIXELCOUNT) return fail("Too many pixels read");
                store();
            }
        }
    } while (CURRENTPIXEL != PIXELCOUNT);
    release(COLORBUFFER);
    close_file();
    return true;
}

}  // namespace orvex
