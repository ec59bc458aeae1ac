// The help page: one picture and a close button back to the game.
#include "game/screens_internal.h"
#include "game/state.h"

void HelpScreen()
{
    helps.Display();
    if (helps.Event(3) == 1)
        show_helps = false;
}
