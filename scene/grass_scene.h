// The grass scene: a textured ground square, a sphere sunk into it and a wall
// block, with grass grown over the ground and the sphere; the keys 1 to 5
// choose one of five grass textures.
#pragma once

#include <cstdint>

namespace grass {

// The TGA texture slot of the grass in use (0 to 4).
extern std::int32_t SELTEX;
// The grass effect's quality: 5, ten shells a unit; the benchmarks vary it.
extern float GRASSQUALITY;

// Loads the scene's textures; called once after the render state is set up.
void OPENGL_CREATELIST();
// Draws one frame, with the frame's key handling and mouse camera.
void OPENGL_DRAW();

// One textured, two-sided quad through the corners P1 to P4.
void QUAD(float X1, float Y1, float Z1, float X2, float Y2, float Z2, float X3, float Y3, float Z3, float X4, float Y4,
          float Z4);
// The models: ground square, sphere, wall block.
void TERRENOMDL();
void SFERAMDL();
void MUROMDL();

}  // namespace grass
