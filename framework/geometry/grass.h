// The grass effect: a model drawn as a stack of alpha-tested shells.
#pragma once

namespace orvex {

// A model callback: draws its geometry with texture co-ordinates in the
// current modelview frame and leaves the matrix stack as it found it.
using ORVEXPROCEDURE = void (*)();

// Draws MDL once per shell, 10 x QUALITY shells (rounded to the nearest
// integer, ties to even), translated by (X, Y, Z). Shell I is lifted by
// I x H / (10 x QUALITY) and drawn with alpha test GL_GREATER against
// I / (10 x QUALITY); unless LINEAR, it is also widened in x and z by
// 1 + 0.002 x I x SX and 1 + 0.002 x I x SZ. Alpha testing is off afterwards.
// A shell count whose last index does not fit 32 bits, a QUALITY x 10 that
// is not a number or beyond the 64-bit range, and a null MDL when there is a
// shell to draw are fatal errors; without shells MDL is never called.
void FX_GENGRASS(float X, float Y, float Z, float H, float SX, float SZ, float QUALITY, ORVEXPROCEDURE MDL,
                 bool LINEAR);

}  // namespace orvex
