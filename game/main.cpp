// Entry point: one copy only, the window, the audio output, the callbacks, the
// loading step and then the GLUT main loop for good.
#include "engine/sound.h"
#include "engine/startup_order.h"
#include "game/frame.h"
#include "game/input.h"
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <string>
#include <unistd.h>

namespace {
// "Data/" and "dat.bin" live beside the program. The asset store opens its
// files before main() runs, so the move to the program's folder happens first
// of all the start-up work.
struct MoveToExecutableFolder {
    MoveToExecutableFolder()
    {
        std::string folder = Sys::ExecutableFolder();
        if (!folder.empty() && chdir(folder.c_str()) != 0) {
            // Staying where we are is the only fallback; the game then runs without its data.
        }
    }
} move_to_executable_folder BM_INIT_ORDER(BM_ORDER_WORKDIR);
} // namespace

int main(int argc, char** argv)
{
    if (!Sys::AcquireInstanceLock("burrowmere")) {
        Sys::ShowStartupFail("Startup Fail", "Burrowmere è già in esecuzione!");
        return 0;
    }
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutCreateWindow("Burrowmere");
    glutSetCursor(GLUT_CURSOR_NONE);
    if (fullscreen)
        glutFullScreen();

    StartAudioOutput();

    RegisterCallbacks();

    Sys::RememberGameWindow();
    init();
    glutMainLoop();
    return 0;
}
