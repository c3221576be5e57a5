// The vertex recorder that stands in front of glBegin, glVertex3f and glEnd.
//
// With both switches false GLBEGIN, GLVERTEX3F and GLEND forward to OpenGL and
// nothing else happens (apart from GLBEGIN copying GLVERT3FSETNUM into
// GLVERT3FMAX). GLVERT3FREMOVE suppresses the three OpenGL calls;
// GLVERT3FENABLEEDIT records every vertex in GLBASEVERTEX3F, displaced by the
// offset client code may have put in its slot.
#pragma once

#include <cstdint>

#include "framework/core/checked.h"
#include "framework/geometry/vectors.h"

namespace orvex {

inline constexpr std::int32_t GLVERT3F_SLOTS = 10000;

struct TGLVERTEX3F {
    // Per slot, the position last sent to OpenGL: as given plus the slot's offset.
    CheckedArray<TGLVECTOR, 1, GLVERT3F_SLOTS> GLVERT3F;
    // Per slot, the edit offset added to every vertex recorded there (written
    // by client code only).
    CheckedArray<TGLVECTOR, 1, GLVERT3F_SLOTS> GLVERT3FTMP;
    // Per slot, the position last recorded there exactly as the caller gave it.
    CheckedArray<TGLVECTOR, 1, GLVERT3F_SLOTS> GLVERT3FOFFSET;
    // The slot of the most recent recorded vertex, 0 before the first; only
    // client code sets it back to start a new pass.
    std::int32_t GLVERT3FCOUNT;
    // The highest slot the current GLBEGIN block may advance to.
    std::int32_t GLVERT3FMAX;
    // The number of slots client code asks to be recorded; copied into
    // GLVERT3FMAX by every GLBEGIN.
    std::int32_t GLVERT3FSETNUM;
};

// The one recorder (fixed static storage, zero at start).
extern TGLVERTEX3F GLBASEVERTEX3F;

// True: GLBEGIN, GLVERTEX3F and GLEND send nothing to OpenGL.
extern bool GLVERT3FREMOVE;
// True: GLVERTEX3F records every vertex in GLBASEVERTEX3F and sends the
// displaced position.
extern bool GLVERT3FENABLEEDIT;

void GLBEGIN(std::uint32_t MODE);
// Recording into a slot outside 1..10000 is a fatal range error.
void GLVERTEX3F(float X, float Y, float Z);
void GLEND();

}  // namespace orvex
