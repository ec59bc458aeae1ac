// The screen flow inside each focused frame: which screen is up, and the
// game's own pointer with its click feedback.
#pragma once

// Starts every focused frame with the arrow pointer picture.
void ResetPointerPicture();
// Draws the menu, skills, credits or help screen, or else runs the game frame.
void ScreenFlow();
// Draws the pointer and the click burst; plays the click sound on a new press.
void PointerAndClickFeedback();
