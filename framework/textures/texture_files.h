// What the BMP and TGA texture loaders share (not part of the public header).
#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace orvex {

// True when a regular file of that name exists. A directory, a pipe or a
// device is no texture file: a pipe would wait for a writer and a device read
// without end, so the loaders take such a name as one that cannot be opened.
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
