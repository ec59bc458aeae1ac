// The loading step, run once after the window and the audio output exist.
#include "game/frame.h"

#include "game/state.h"

#include <GL/gl.h>
#include <cstdlib>
#include <ctime>

void init()
{
    glShadeModel(GL_FLAT);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    srand(static_cast<unsigned>(time(nullptr)));
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    ReadRecord();
}
