// The mouse camera: the angles and depth kept by the window procedure become
// one translation and two rotations of the current matrix.
#include <GL/gl.h>

#include "framework/input/input.h"
#include "framework/window/window.h"

namespace orvex {

TGLVERTEX MY{};

void SETGLMOUSEMOVE(std::int32_t XYZ, std::int32_t SPEED) {
    MSPEED = SPEED;
    const float d = -DEPTH;  // the exact negation of the stored single
    switch (XYZ) {
        case GL_M0:
            MY = TGLVERTEX{0.0f, 0.0f, d};
            glTranslatef(0.0f, 0.0f, d);
            glRotatef(XROT, 1.0f, 0.0f, 0.0f);
            glRotatef(YROT, 0.0f, 1.0f, 0.0f);
            break;
        case GL_MX:
            MY = TGLVERTEX{0.0f, d, 0.0f};
            glTranslatef(0.0f, d, 0.0f);
            glRotatef(XROT, 1.0f, 0.0f, 0.0f);
            glRotatef(YROT, 0.0f, 0.0f, 1.0f);
            break;
        case GL_MY:
            MY = TGLVERTEX{d, 0.0f, 0.0f};
            glTranslatef(d, 0.0f, 0.0f);
            glRotatef(XROT, 0.0f, 0.0f, -1.0f);
            glRotatef(YROT, 0.0f, 1.0f, 0.0f);
            break;
        case GL_MZ:
            MY = TGLVERTEX{0.0f, 0.0f, d};
            glTranslatef(0.0f, 0.0f, d);
            glRotatef(XROT, 0.0f, 1.0f, 0.0f);
            glRotatef(YROT, 1.0f, 0.0f, 0.0f);
            break;
        default: break;  // any other mode only sets the speed
    }
}

}  // namespace orvex
