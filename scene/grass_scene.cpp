// The grass scene: a fixed sequence of calls into the framework.
#include "scene/grass_scene.h"

#include "framework/orvex.h"
#include "scene/image_files.h"

namespace grass {

using namespace orvex;

std::int32_t SELTEX = 0;
float GRASSQUALITY = 5.0f;

namespace {

// The loaders pass over a missing file without a word: the program names
// each one on stderr first.
void OPENGL_TEXTURE() {
    report_missing_image_files();
    TEXTURELOADID(IMAGE_FILES[0], 0);
    TEXTURELOADID(IMAGE_FILES[1], 1);
    for (std::int32_t slot = 0; slot < 5; ++slot) TEXTURELOADTGAID(IMAGE_FILES[2 + slot], slot);
}

// The orthographic set-up is replaced at once by the perspective one: what
// remains of it is that frame's OFFX and OFFY.
void OPENGL_DRAW2D() {
    OPENGL_I2D(0, 0, 0, 0);
    OPENGL_INIT(100, 0, 0, 0, 0);
}

void OPENGL_MOUSE2D() {}

// The keys 1 to 5 of the main keyboard, tested in this order: with several
// held, the highest wins.
void OPENGL_KEYBOARD() {
    const char keys[5] = {'1', '2', '3', '4', '5'};
    for (std::int32_t i = 0; i < 5; ++i)
        if (SETGLKEY(keys[i])) SELTEX = i;
}

}  // namespace

void OPENGL_CREATELIST() { OPENGL_TEXTURE(); }

void OPENGL_DRAW() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    OPENGL_DRAW2D();
    OPENGL_MOUSE2D();
    OPENGL_KEYBOARD();
    glTranslatef(0.0f, 0.0f, -30.0f);
    glRotatef(45.0f, 1.0f, 0.0f, 0.0f);
    SETGLMOUSEMOVE(GL_M0, 2);
    TEXTURETGASELECTID(SELTEX);
    // The grass layers come before the solid objects they cover.
    FX_GENGRASS(0, 0, 0, 1, 0, 0, GRASSQUALITY, TERRENOMDL, true);
    FX_GENGRASS(4, 3, 0, 0.5f, 1, 1, GRASSQUALITY, SFERAMDL, false);
    TEXTURESELECTID(0);
    TERRENOMDL();
    TEXTURESELECTID(1);
    glPushMatrix();
    glTranslatef(4.0f, 3.0f, 0.0f);
    SFERAMDL();
    glPopMatrix();
    // The wall keeps texture slot 1, still bound.
    glPushMatrix();
    glTranslatef(-4.0f, 0.0f, -1.0f);
    MUROMDL();
    glPopMatrix();
}

void QUAD(float X1, float Y1, float Z1, float X2, float Y2, float Z2, float X3, float Y3, float Z3, float X4, float Y4,
          float Z4) {
    TWOSIDEON();
    glDisable(GL_CULL_FACE);
    GLBEGIN(GL_QUADS);
    FINDNORMAL(X2, Y2, Z2, X1, Y1, Z1, X3, Y3, Z3);
    glNormal3f(static_cast<float>(FNORMAL[1]), static_cast<float>(FNORMAL[2]), static_cast<float>(FNORMAL[3]));
    // P2, P1, P3, P4: the texture repeats three times along each edge.
    LINEFREE(3, 3, 0, 3, X2, Y2, Z2, X1, Y1, Z1, true);
    LINEFREE(0, 0, 3, 0, X3, Y3, Z3, X4, Y4, Z4, true);
    GLEND();
    glEnable(GL_CULL_FACE);
    TWOSIDEOFF();
}

void TERRENOMDL() { QUAD(-10, 0, -10, 10, 0, -10, -10, 0, 10, 10, 0, 10); }

void SFERAMDL() {
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    SFERA(0, 0, 0, 4, 20, 20, 1.0f / 3.0f);
    glPopMatrix();
}

void MUROMDL() { CUBO(0, 0, 0, -3, 0, -0.25f, 3, 6, 0.25f, 1); }

}  // namespace grass
