// The grass scene: ground, sphere and wall with grass over ground and sphere.
#pragma once

#include <cstdint>

namespace grass {

// Loads the scene's textures; called once after the render state is set up.
void OPENGL_CREATELIST();
// Draws one frame, with the frame's input handling.
void OPENGL_DRAW();

}  // namespace grass
