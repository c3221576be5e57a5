// The vertex recorder that stands in front of glBegin, glVertex3f and glEnd.
#pragma once

namespace orvex {

// True: GLBEGIN, GLVERTEX3F and GLEND send nothing to OpenGL.
extern bool GLVERT3FREMOVE;
// True: GLVERTEX3F records every vertex in GLBASEVERTEX3F and sends the
// displaced position.
extern bool GLVERT3FENABLEEDIT;

}  // namespace orvex
