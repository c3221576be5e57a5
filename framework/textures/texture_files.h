// What the BMP and TGA texture loaders share (not part of the public header).
#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace orvex {

// True when a file (not a directory) of that name exists.
bool texture_file_exists(const char* name);
// True for the four minification filters that use mipmaps.
bool is_mipmap_filter(std::int32_t filter);

// Enables texturing and binds a new texture object to the slot; the slot's
// previous texture, if it had one, is deleted once the new name is made, so
// that reloading a slot leaks nothing.
void bind_new_texture(GLuint& slot);
// The bound texture's filters (GL_MIN_FILTER, GL_MAG_FILTER) and repeating
// wrap in both directions.
void set_texture_parameters();

}  // namespace orvex
