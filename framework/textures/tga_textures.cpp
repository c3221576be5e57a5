// TGA textures: files decoded by the TGA reader, uploaded from its buffer,
// and the buffer released again.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "framework/textures/texture_files.h"
#include "framework/textures/textures.h"

namespace orvex {

CheckedArray<TGATEXTURE, 0, 200> TEXTURETGA2;

// A slot owns its texture (bind_new_texture); a failed load leaves the
// slot's texture as it was.
void TEXTURELOADTGAID(const std::string& TGAFILE, std::int32_t NUM) {
    if (!texture_file_exists(TGAFILE.c_str())) return;
    TGATEXTURE& slot = TEXTURETGA2.at(NUM, "TEXTURETGA2 slot");
    if (!LOADTGA(slot, TGAFILE)) return;
    bind_new_texture(slot.TEXID);
    // The reader packs rows tightly. A row whose length is not a multiple of
    // the unpack alignment in force (a 24-bit image of a width that is not a
    // multiple of 4, under the usual alignment of 4) is uploaded with an
    // alignment of 1, which is restored afterwards.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    const std::uint64_t row_bytes = std::uint64_t{slot.WIDTH} * (slot.BPP / 8);
    const bool realign = alignment > 1 && row_bytes % static_cast<std::uint64_t>(alignment) != 0;
    if (realign) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLsizei width = static_cast<GLsizei>(slot.WIDTH);
    const GLsizei height = static_cast<GLsizei>(slot.HEIGHT);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(slot.BPP / 8), width, height, 0, slot.TYP, GL_UNSIGNED_BYTE,
                 slot.IMAGEDATA);
    set_texture_parameters();
    if (is_mipmap_filter(GL_MIN_FILTER)) {
        // Decoded pixels are red-first: 32-bit images are built as GL_RGBA,
        // not through the bitmap path, which takes blue-first data.
        if (slot.BPP == 24) {
            ADDMIPMAPSTEXTURE(24, width, height, slot.IMAGEDATA);
        } else {
            gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, slot.IMAGEDATA);
        }
    }
    if (realign) glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    std::free(slot.IMAGEDATA);
    slot.IMAGEDATA = nullptr;
}

void TEXTURETGASELECTID(std::int32_t NUM) {
    glBindTexture(GL_TEXTURE_2D, TEXTURETGA2.at(NUM, "TEXTURETGA2 slot").TEXID);
}

}  // namespace orvex
