// The TGA image reader: uncompressed (image type 2) and run-length encoded
// (image type 10) true-colour files of 24 or 32 bits per pixel, decoded into
// red, green, blue (, alpha) pixels. Every failure is shown in a message box
// and answered with false; nothing stays open or allocated after it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvex {

// A decoded TGA image.
struct TGATEXTURE {
    std::uint8_t* IMAGEDATA;  // WIDTH * HEIGHT pixels of BPP / 8 bytes, rows in file order; free with std::free
    std::uint32_t BPP;        // 24 or 32
    std::uint32_t WIDTH;      // 1 to 65535
    std::uint32_t HEIGHT;     // 1 to 65535
    std::uint32_t TEXID;      // OpenGL texture name, filled by the texture loader
    std::uint32_t TYP;        // GL_RGB (24 bits) or GL_RGBA (32 bits)
};

struct TTGAHEADER {
    std::uint8_t HEADER[12];
};

struct TTGA {
    std::uint8_t HEADER[6];  // file bytes 12 to 17
    std::uint32_t BYTESPERPIXEL;
    std::uint32_t IMAGESIZE;  // byte size of the pixel block (0 when it was refused as too large)
    std::uint32_t TYP;
    std::uint32_t HEIGH;
    std::uint32_t WIDTH;
    std::uint32_t BPP;
};

// Reader state: the file being read (open only inside LOADTGA) and the
// headers of the file read last.
extern std::FILE* FTGA;
extern TTGAHEADER TGAHEADER;
extern TTGA TGA;
// The 12 header bytes of an accepted uncompressed and run-length file.
extern const std::uint8_t UTGACOMPARE[12];
extern const std::uint8_t CTGACOMPARE[12];

// Decodes the file into TEXTURE; TEXID is never touched. The file is opened
// read-only under at most the first 255 characters of its name.
bool LOADTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);
// The body readers, called by LOADTGA with FTGA open at byte 12. On success
// they close FTGA; on failure they leave it to LOADTGA.
bool LOADUNCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);
bool LOADCOMPRESSEDTGA(TGATEXTURE& TEXTURE, const std::string& FILENAME);

}  // namespace orvex
