// Textures: BMP and TGA files turned into OpenGL 2D textures, each kept in a
// numbered slot and selected by slot number. The loaders and selectors need
// a current rendering context.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/checked.h"
#include "framework/textures/tga_reader.h"

namespace orvex {

// ---- bitmap textures -------------------------------------------------------

// OpenGL texture names of the bitmap textures, slots 0 to 500 (0: none).
extern CheckedArray<std::uint32_t, 0, 500> TEXTUREID2;
// Minification and magnification filters of every texture the loaders make
// (initially GL_LINEAR). A mipmap filter as GL_MIN_FILTER makes each load
// build a mipmap chain as well.
extern std::int32_t GL_MIN_FILTER;
extern std::int32_t GL_MAG_FILTER;

// The colour depth (biBitCount) of a BMP file from its headers, or 0 for a
// file that is missing, unreadable, shorter than its headers, not a BMP
// file, or one with the old 12-byte core header.
std::int32_t GETBMPDEPTH(const char* BMPFILE);
// Exchanges the first and third byte of each of SIZE consecutive 3-byte groups.
void SWAPRGB(std::uint8_t* DATA, std::int32_t SIZE);
// Builds the mipmap chain of the bound texture from 24-bit red-first or
// 32-bit blue-first pixels; other depths do nothing.
void ADDMIPMAPSTEXTURE(std::int32_t FORMAT, std::int32_t WIDTH, std::int32_t HEIGHT, const void* BITS);
// Loads a BMP file into slot NUM (0 to 500; outside it the program ends).
// Only 24- and 32-bit bitmaps give the texture an image; a file that is
// missing or not such a bitmap leaves the slot with an image-less texture.
void TEXTURELOADID(const char* BMPFILE, std::int32_t NUM);
void TEXTURESELECTID(std::int32_t NUM);

// ---- TGA textures ------------------------------------------------------------

// Decoded-image records of the TGA textures, slots 0 to 200; after a load
// only TEXID, WIDTH, HEIGHT, BPP and TYP mean anything (the pixels are
// released).
extern CheckedArray<TGATEXTURE, 0, 200> TEXTURETGA2;

// Loads a TGA file into slot NUM (0 to 200). A missing file is ignored
// quietly; a file the reader refuses shows the reader's message and leaves
// the slot's texture as it was.
void TEXTURELOADTGAID(const std::string& TGAFILE, std::int32_t NUM);
void TEXTURETGASELECTID(std::int32_t NUM);

}  // namespace orvex
