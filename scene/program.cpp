#include "scene/program.h"

#include "framework/core/floating_point.h"
#include "framework/orvex.h"
#include "scene/grass_scene.h"

namespace grass {

using namespace orvex;

int run_program() {
    mask_floating_point_exceptions();

    // Any answer but No, even none at all, selects full-screen.
    FULLSCREEN = MessageBoxA(nullptr, "Settare lo schermo intero?  ", "Video!", MB_YESNO | MB_ICONQUESTION) != IDNO;
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("Effetto per creare erba sulle superfici - 1/5 selezione", 800, 600, 32, FULLSCREEN);
    OPENGL_INIT(100, 0, 0, 0, 0);
    SETGLREFRACTIVE();
    // With the identity modelview matrix the light sits at the eye for the whole run.
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    OPENGL_CREATELIST();

    // The test comes after the body: the frame in which the window went away
    // is still drawn and swapped.
    do {
        glClear(GL_COLOR_BUFFER_BIT);
        SETGLMSG();
        OPENGL_DRAW();
        SwapBuffers(DCWINDOW);
    } while (ACTIVE);

    DELETEOGLWINDOW();
    return 0;
}

}  // namespace grass
