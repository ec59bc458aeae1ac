// What the player does with the mouse and keyboard: GLUT callbacks store it,
// the frame hands it to the panels once per frame and handles the F1 key.
#pragma once

extern float touch_coord_x;
extern float touch_coord_y;
extern bool touch_event;
extern bool single_touch;
extern bool key_state[256];
extern bool fullscreen;

void skeyboard_down(unsigned char key, int x, int y);
void skeyboard_up(unsigned char key, int x, int y);
void mouse_event(int button, int state, int x, int y);
void mouse(int x, int y);

// Toggles between full screen and a 640 x 480 window at (200, 200).
void SwapFS();
// Applies the window size and position a previous SwapFS() left for this frame.
void ApplyPendingWindowChange();
// Panel input of the frame: portrait, pointer, polled left button, window size.
void FeedPanelInput();
// F1 toggles full screen once per press.
void FullScreenKey();
