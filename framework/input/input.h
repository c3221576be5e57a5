// Key queries and the mouse camera: what client code polls each frame.
#pragma once

#include <cstdint>

#include "framework/geometry/vectors.h"

namespace orvex {

// Camera modes of SETGLMOUSEMOVE.
inline constexpr std::int32_t GL_M0 = 0;
inline constexpr std::int32_t GL_MX = 1;
inline constexpr std::int32_t GL_MY = 2;
inline constexpr std::int32_t GL_MZ = 3;

// The translation SETGLMOUSEMOVE issued last.
extern TGLVERTEX MY;

// True while the key whose virtual-key code is the character's code is down.
bool SETGLKEY(char KEY);
// Sets the mouse speed and applies the mouse camera to the current matrix.
void SETGLMOUSEMOVE(std::int32_t XYZ, std::int32_t SPEED);

}  // namespace orvex
