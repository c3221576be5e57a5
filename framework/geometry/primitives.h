// Textured primitives drawn in immediate mode through the vertex recorder:
// vertex pairs, boxes and spheres. None binds a texture or changes an OpenGL
// capability.
#pragma once

#include <cstdint>

namespace orvex {

// One pair of vertices, each preceded by its texture co-ordinate when TEXTURE
// is true. Opens no block: call it between GLBEGIN and GLEND (two calls in a
// GL_QUADS block make one quad).
void LINEFREE(float TX1, float TY1, float TX2, float TY2, float X1, float Y1, float Z1, float X2, float Y2, float Z2,
              bool TEXTURE);

// An axis-aligned box with opposite corners (X1, Y1, Z1) and (X2, Y2, Z2),
// translated by (X, Y, Z): six quads with face normals, each face textured
// from 0 to TSIZE along both edges. Restores the modelview matrix.
void CUBO(float X, float Y, float Z, float X1, float Y1, float Z1, float X2, float Y2, float Z2, float TSIZE);

// A sphere about the z axis through (PX, PY, PZ): NUMLINE bands from the +z
// pole to the -z pole, each a triangle strip of NUMCIRCLE segments, with
// radial normals and texture co-ordinates divided by TSIZE. NUMLINE equal to
// the lowest 32-bit value is a fatal overflow error.
void SFERA(float PX, float PY, float PZ, float RADIUS, std::int32_t NUMCIRCLE, std::int32_t NUMLINE, float TSIZE);

}  // namespace orvex
