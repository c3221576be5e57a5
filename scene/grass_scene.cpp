#include "scene/grass_scene.h"

namespace grass {

// TEMPORARY: the scene's content comes with the textures and geometry.
void OPENGL_CREATELIST() {}
void OPENGL_DRAW() {}

}  // namespace grass
