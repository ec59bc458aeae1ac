// What the player does with the mouse and keyboard: GLUT callbacks store it,
// the frame samples it once, hands it to the panels and handles the F1 key.
#pragma once

extern float touch_coord_x;
extern float touch_coord_y;
extern bool touch_event;
extern bool single_touch;
extern bool key_state[256];
extern bool fullscreen;

// The input of the running frame, sampled once when it starts. The panels, the
// game frame, the pointer and F1 all read this one sample: a press that lands in
// mid-frame waits for the next frame instead of reaching only some of them.
struct FrameInput {
    bool focused = false;
    bool left_button = false, f1 = false, r = false, b = false, g = false;
    float pointer_x = 0.0f, pointer_y = 0.0f; // window pixels, top-left origin
    int window_w = 0, window_h = 0;
    int virtual_x = 0, virtual_y = 0; // the pointer on the 512 x 512 screen, y upward
};
extern FrameInput frame_input;

void skeyboard_down(unsigned char key, int x, int y);
void skeyboard_up(unsigned char key, int x, int y);
void mouse_event(int button, int state, int x, int y);
void mouse(int x, int y);

// The window size the reshape callback reported, so that no frame has to ask the
// window system for it.
void RememberWindowSize(int w, int h);
// Takes this frame's input sample.
void SampleFrameInput();

// Toggles between full screen and a 640 x 480 window at (200, 200).
void SwapFS();
// Applies the window size and position a previous SwapFS() left for this frame.
void ApplyPendingWindowChange();
// Panel input of the frame: portrait, pointer, left button, window size.
void FeedPanelInput();
// F1 toggles full screen once per press.
void FullScreenKey();
