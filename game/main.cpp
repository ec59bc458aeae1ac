// Entry point: the options, the data folder, one copy only, the window, the audio
// output, the callbacks, the loading step and then the GLUT main loop for good.
#include "engine/sound.h"
#include "engine/startup_order.h"
#include "game/frame.h"
#include "game/input.h"
#include "game/launch.h"
#include "game/state.h"
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {
// The asset store opens its files before main() runs, so the move into the
// folder that holds Data/ happens first of all the start-up work; every path of
// the game is relative to it.
GamePlaces EnterDataFolder()
{
    GamePlaces places = FindGamePlaces(Sys::ExecutableFolder());
    if (!places.data_folder.empty() && chdir(places.data_folder.c_str()) != 0)
        places.data_folder.clear();
    return places;
}

GamePlaces places BM_INIT_ORDER(BM_ORDER_WORKDIR) = EnterDataFolder();
} // namespace

int main(int argc, char** argv)
{
    // Options come before the display and the single-instance lock, so --help
    // and --version answer anywhere, even beside a running game.
    LaunchOptions options = ParseCommandLine(argc, argv);
    switch (options.action) {
    case LaunchAction::Help:
        fputs(Usage().c_str(), stdout);
        return 0;
    case LaunchAction::Version:
        printf("burrowmere %s\n", game_version);
        return 0;
    case LaunchAction::BadOption:
        fprintf(stderr, "burrowmere: unknown option '%s'\n%s", options.bad_option.c_str(), Usage().c_str());
        return 2;
    case LaunchAction::Play:
        break;
    }
    if (places.data_folder.empty()) {
        fprintf(stderr, "burrowmere: game data not found: looked for %sData/ and %sData/\n", places.beside.c_str(),
                places.installed.c_str());
        return 1;
    }
    record_path = places.record.c_str();

    if (!Sys::AcquireInstanceLock("burrowmere")) {
        Sys::ShowStartupFail("Startup Fail", "Burrowmere è già in esecuzione!");
        return 0;
    }
    if (options.windowed) {
        // Set before glutInit, so that a -geometry for GLUT still wins.
        fullscreen = false;
        glutInitWindowSize(640, 480);
        glutInitWindowPosition(200, 200);
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
    Sys::SetFullScreenHint(fullscreen);
    init();
    glutMainLoop();
    return 0;
}
