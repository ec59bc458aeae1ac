// Input state, GLUT input callbacks, the frame's input sample, the full-screen
// switch and the panel feed.
#include "game/input.h"

#include "engine/guilab.h"
#include "game/screens_internal.h"
#include "platform/platform.h"

#include <GL/freeglut.h>

float touch_coord_x = 0.0f;
float touch_coord_y = 0.0f;
bool touch_event = false;
bool single_touch = false;
bool key_state[256];
bool fullscreen = true;
FrameInput frame_input;

namespace {
// freeglut applies a full-screen change later in its loop, and resizing while
// still full screen would restore the old size: the window is resized and
// moved one frame after it has left full screen.
bool window_change_pending = false;
// GLUT places a full-screen window wrongly without a window manager: the first
// frame of a game started full screen, and every frame after a return to full
// screen, put it over the screen.
bool cover_screen_pending = true;
int known_w = 0, known_h = 0;
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

void RememberWindowSize(int w, int h)
{
    known_w = w;
    known_h = h;
}

void SampleFrameInput()
{
    Sys::InputSample sample = Sys::SampleInput();
    frame_input.focused = sample.focused;
    frame_input.left_button = sample.Held(Sys::Key::LeftButton);
    frame_input.f1 = sample.Held(Sys::Key::F1);
    frame_input.r = sample.Held(Sys::Key::R);
    frame_input.b = sample.Held(Sys::Key::B);
    frame_input.g = sample.Held(Sys::Key::G);
    frame_input.pointer_x = touch_coord_x;
    frame_input.pointer_y = touch_coord_y;
    // Until GLUT has reported a size (a window without a reshape callback), ask it.
    frame_input.window_w = known_w > 0 ? known_w : glutGet(GLUT_WINDOW_WIDTH);
    frame_input.window_h = known_h > 0 ? known_h : glutGet(GLUT_WINDOW_HEIGHT);
    frame_input.virtual_x = VirtualX(frame_input.pointer_x, frame_input.window_w);
    frame_input.virtual_y = VirtualY(frame_input.pointer_y, frame_input.window_h);
}

void SwapFS()
{
    fullscreen = !fullscreen;
    if (fullscreen) {
        window_change_pending = false;
        cover_screen_pending = true;
        glutFullScreen();
    } else {
        glutLeaveFullScreen();
        window_change_pending = true;
    }
    Sys::SetFullScreenHint(fullscreen);
}

void ApplyPendingWindowChange()
{
    if (cover_screen_pending) {
        cover_screen_pending = false;
        if (fullscreen)
            Sys::CoverScreen();
    }
    if (!window_change_pending)
        return;
    window_change_pending = false;
    glutReshapeWindow(640, 480);
    glutPositionWindow(200, 200);
}

void FeedPanelInput()
{
    GUILab::inputPortrait(true);
    GUILab::inputCursor(static_cast<int>(frame_input.pointer_x), static_cast<int>(frame_input.pointer_y));
    GUILab::inputTouch(frame_input.left_button);
    GUILab::inputCaption(frame_input.window_w, frame_input.window_h);
}

void FullScreenKey()
{
    static bool f1_was_held = false;
    if (frame_input.f1 && !f1_was_held)
        SwapFS();
    f1_was_held = frame_input.f1;
}
