// Projection, lighting and render modes: fixed sequences of OpenGL calls.
//
// Floating-point quotients are formed in extended precision (long double on
// x86) and rounded to double where they are passed to OpenGL; OFFX and OFFY
// are rounded to single.
//
// None of the set-ups requests more than the calls below. In particular
// OPENGL_INIT and OPENGL_I2D do not request enabling capability 0x1C00, and
// SETGLREFRACTIVE does not request shading model 106485: OpenGL would reject
// both as invalid enumerants and change nothing (smooth shading, the default,
// stays in force), so leaving them out gives the same rendering without
// raising an OpenGL error.
#include "framework/render/render_state.h"

#include <GL/glu.h>

#include "framework/core/checked.h"
#include "framework/window/window.h"

namespace orvex {

float AMBIENTLIGHT[4] = {0.5f, 0.5f, 0.5f, 1.0f};
float DIFFUSELIGHT[4] = {1.0f, 1.0f, 1.0f, 1.0f};
float SPECULARLIGHT[4] = {1.0f, 1.0f, 1.0f, 1.0f};
float LIGHTPOSITION[4] = {0.0f, 0.0f, 0.0f, 0.0f};
float OFFX = 0.0f;
float OFFY = 0.0f;

void OPENGL_INIT(double depth, double A, double R, double G, double B) {
    glClearColor(static_cast<float>(R), static_cast<float>(G), static_cast<float>(B), static_cast<float>(A));
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The aspect ratio is the floating-point quotient of the two integers; a
    // zero height gives an infinity, a zero size NaN (nothing traps).
    gluPerspective(45.0, static_cast<double>(static_cast<long double>(WIDTH) / static_cast<long double>(HEIGHT)), 0.1,
                   depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearDepth(depth);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
}

void OPENGL_I2D(double A, double R, double G, double B) {
    const std::int32_t Q = checked_div(HEIGHT, WIDTH, "OPENGL_I2D: HEIGHT / WIDTH");
    // Formed in extended precision, stored as single.
    OFFX = static_cast<float>(static_cast<long double>(Q) - 2.05L);
    OFFY = static_cast<float>(static_cast<long double>(Q) - 1.45L);
    glClearColor(static_cast<float>(R), static_cast<float>(G), static_cast<float>(B), static_cast<float>(A));
    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const std::int32_t low = checked_mul(-2, HEIGHT, "OPENGL_I2D: -2 * HEIGHT");
    const std::int32_t high = checked_mul(2, HEIGHT, "OPENGL_I2D: 2 * HEIGHT");
    glOrtho(-2.0, 2.0, static_cast<double>(static_cast<long double>(low) / static_cast<long double>(WIDTH)),
            static_cast<double>(static_cast<long double>(high) / static_cast<long double>(WIDTH)), -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_NORMALIZE);
}

void SETGLLIGHT(std::uint32_t NLIGHT, float L0, float L1, float L2, float L3) {
    glEnable(GL_LIGHTING);
    glLightfv(NLIGHT, GL_AMBIENT, AMBIENTLIGHT);
    glLightfv(NLIGHT, GL_DIFFUSE, DIFFUSELIGHT);
    glLightfv(NLIGHT, GL_SPECULAR, SPECULARLIGHT);
    glEnable(NLIGHT);
    LIGHTPOSITION[0] = L0;
    LIGHTPOSITION[1] = L1;
    LIGHTPOSITION[2] = L2;
    LIGHTPOSITION[3] = L3;
    glLightfv(NLIGHT, GL_POSITION, LIGHTPOSITION);
}

void SETGLREFRACTIVE() {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
}

void TWOSIDEON() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }
void TWOSIDEOFF() { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0); }

}  // namespace orvex
