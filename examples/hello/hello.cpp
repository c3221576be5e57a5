// hello: the smallest complete Orvex program, a starting point for your own.
//
// A window with a lit, textured sphere in it:
//   left drag    turns it            right drag   moves it nearer or farther
//   S            sphere or box       Escape       ends the program (so does closing the window)
//
// Every Orvex name lives in the namespace orvex; the Win32 names (SwapBuffers,
// HWND, ...), OpenGL and GLU come with framework/orvex.h as well.
#include "framework/orvex.h"

using namespace orvex;

namespace {

// A texture made in code: a 64 by 64 checkerboard of two warm colours, in
// squares of 8 texels. (To use a picture file instead, load it into one of
// Orvex's numbered slots once, TEXTURELOADID("stone.bmp", 1), and select the
// slot before drawing, TEXTURESELECTID(1); TGA files go through
// TEXTURELOADTGAID and TEXTURETGASELECTID the same way.)
void make_checker_texture() {
    static GLubyte texels[64][64][3];
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool light = (x / 8 + y / 8) % 2 == 0;
            texels[y][x][0] = light ? 250 : 200;
            texels[y][x][1] = light ? 220 : 60;
            texels[y][x][2] = light ? 120 : 40;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);  // it stays bound: the only texture of the program
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

int main() {
    // 1. The window: class settings (arrow cursor, the generic icon), then an
    //    800 by 600 window, not full-screen, with a 32-bit OpenGL context that
    //    is current from here on. A failure shows a message box and ends the
    //    program.
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("Hello, Orvex", 800, 600, 32, false);

    // 2. Render state: a perspective projection reaching 100 units, a dark
    //    blue clear colour (alpha, red, green, blue), back faces culled, and
    //    light 0 up, right and in front of the eye.
    OPENGL_INIT(100, 1, 0.08, 0.10, 0.18);
    SETGLREFRACTIVE();
    SETGLLIGHT(GL_LIGHT0, 6, 8, 10, 1);
    make_checker_texture();

    bool show_box = false;
    bool s_was_down = false;

    // 3. The frame loop. SETGLMSG handles one window message per frame: keys
    //    go into a table that SETGLKEY reads, drags into the camera angles.
    //    ACTIVE turns false when the window goes away (Escape, or closing it).
    do {
        SETGLMSG();

        // S switches the shape, once per press (the key table says only
        // whether the key is down now).
        const bool s_down = SETGLKEY('S');
        if (s_down && !s_was_down) show_box = !show_box;
        s_was_down = s_down;

        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -12.0f);  // 12 units in front of the eye
        SETGLMOUSEMOVE(GL_M0, 1);          // the mouse camera, at speed 1
        if (show_box) {
            // Corners (-2.5, -2.5, -2.5) and (2.5, 2.5, 2.5); each face shows the texture once.
            CUBO(0, 0, 0, -2.5f, -2.5f, -2.5f, 2.5f, 2.5f, 2.5f, 1);
        } else {
            // SFERA's poles lie on the z axis: turn them up and down.
            glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
            // Radius 3.5, 32 segments around, 16 bands; texture co-ordinates
            // divided by 0.25, so the checkerboard repeats 4 times over each.
            SFERA(0, 0, 0, 3.5f, 32, 16, 0.25f);
        }

        SwapBuffers(DCWINDOW);
    } while (ACTIVE);

    // 4. Release the context and the window.
    DELETEOGLWINDOW();
    return 0;
}
