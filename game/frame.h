// The frame loop's skeleton: one frame per display callback, the reshape
// callback and the frame clock.
#pragma once

void display();
void reshape(int w, int h);
// Hands GLUT the frame's callbacks: display, reshape and the input callbacks.
void RegisterCallbacks();
void GetGlobalTime(float& global_time);
// The loading step, run once before the main loop.
void init();
