// Input state, GLUT input callbacks, the full-screen switch and the panel feed.
#include "game/input.h"

#include "engine/guilab.h"
#include "platform/platform.h"

#include <GL/freeglut.h>

float touch_coord_x = 0.0f;
float touch_coord_y = 0.0f;
bool touch_event = false;
bool single_touch = false;
bool key_state[256];
bool fullscreen = true;

namespace {
// freeglut applies a full-screen change later in its loop, and resizing while
// still full screen would restore the old size: the window is resized and
// moved one frame after it has left full screen.
bool window_change_pending = false;
} // namespace

void skeyboard_down(unsigned char key, int, int) { key_state[key] = true; }

void skeyboard_up(unsigned char key, int, int) { key_state[key] = false; }

void mouse_event(int button, int state, int, int)
{
    if (button != GLUT_LEFT_BUTTON)
        return;
    touch_event = single_touch = (state == GLUT_DOWN);
}

void mouse(int x, int y)
{
    touch_coord_x = static_cast<float>(x);
    touch_coord_y = static_cast<float>(y);
}

void SwapFS()
{
    fullscreen = !fullscreen;
    if (fullscreen) {
        window_change_pending = false;
        glutFullScreen();
    } else {
        glutLeaveFullScreen();
        window_change_pending = true;
    }
}

void ApplyPendingWindowChange()
{
    if (!window_change_pending)
        return;
    window_change_pending = false;
    glutReshapeWindow(640, 480);
    glutPositionWindow(200, 200);
}

void FeedPanelInput()
{
    GUILab::inputPortrait(true);
    GUILab::inputCursor(static_cast<int>(touch_coord_x), static_cast<int>(touch_coord_y));
    GUILab::inputTouch(Sys::KeyHeld(Sys::Key::LeftButton));
    GUILab::inputCaption(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

void FullScreenKey()
{
    static bool f1_was_held = false;
    bool held = Sys::KeyHeld(Sys::Key::F1);
    if (held && !f1_was_held)
        SwapFS();
    f1_was_held = held;
}
