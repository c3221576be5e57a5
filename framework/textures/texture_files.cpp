#include "framework/textures/texture_files.h"

#include <sys/stat.h>

#include "framework/textures/textures.h"

namespace orvex {

bool texture_file_exists(const char* name) {
    struct stat st {};
    return name && *name && ::stat(name, &st) == 0 && S_ISREG(st.st_mode);
}

bool is_mipmap_filter(std::int32_t filter) {
    return filter == GL_NEAREST_MIPMAP_NEAREST || filter == GL_LINEAR_MIPMAP_NEAREST ||
           filter == GL_NEAREST_MIPMAP_LINEAR || filter == GL_LINEAR_MIPMAP_LINEAR;
}

void bind_new_texture(GLuint& slot) {
    glEnable(GL_TEXTURE_2D);
    const GLuint old = slot;
    glGenTextures(1, &slot);
    if (old != 0) glDeleteTextures(1, &old);
    glBindTexture(GL_TEXTURE_2D, slot);
}

void set_texture_parameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_MIN_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_MAG_FILTER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

}  // namespace orvex
