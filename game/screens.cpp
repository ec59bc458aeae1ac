// The screen flow. Until the screens exist, a frame shows the empty field.
#include "game/screens.h"

#include "game/state.h"

void ResetPointerPicture() { cursor = Cursor::arrow; }

void ScreenFlow() {}

void PointerAndClickFeedback() {}
