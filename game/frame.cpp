// One frame per display callback: focus test, the 512 x 512 drawing space,
// panel input, the screens, the pointer, F1, the swap and the frame clock.
#include "game/frame.h"

#include "engine/sprite_batch.h"
#include "game/input.h"
#include "game/screens.h"
#include "math/global_time.h"
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cstdint>

void GetGlobalTime(float& global_time)
{
    static uint32_t lastTickCount = 0;
    uint32_t now = Sys::Milliseconds();
    // Unsigned subtraction: a wrap of the counter still gives the true small step.
    global_time = static_cast<float>(static_cast<uint32_t>(now - lastTickCount) / 1000.0);
    lastTickCount = now;
}

namespace {
// How long a frame in the background waits for the window system: focus coming
// back wakes it at once, so this only bounds the wait when nothing happens.
constexpr int kRestMs = 50;
} // namespace

void display()
{
    ApplyPendingWindowChange();
    SampleFrameInput();
    if (frame_input.focused) {
        ResetPointerPicture();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        glLoadIdentity();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, 512, 0, 512, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glPushMatrix();
        glEnable(GL_TEXTURE_2D);

        FeedPanelInput();
        ScreenFlow();
        PointerAndClickFeedback();
        // Nothing appended to the batch is left undrawn at the swap.
        SpriteBatch::Flush();

        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();

        FullScreenKey();
        glFlush();
        glFinish();
        glutSwapBuffers();
    } else {
        // In the background the game pauses and rests: nothing is drawn, no input
        // is taken, and instead of finishing and swapping frames it waits for the
        // window system, so neither it nor the X server spins.
        Sys::WaitForEvents(kRestMs);
    }

    GetGlobalTime(global_time);
    if (global_time > 0.1f)
        global_time = 0.1f;
    glutPostRedisplay();
}

void RegisterCallbacks()
{
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardUpFunc(skeyboard_up);
    glutKeyboardFunc(skeyboard_down);
    glutMouseFunc(mouse_event);
    glutPassiveMotionFunc(mouse);
    glutMotionFunc(mouse);
}

void reshape(int w, int h)
{
    RememberWindowSize(w, h);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, h != 0 ? static_cast<double>(w) / h : 1.0, 1.0, 99.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
