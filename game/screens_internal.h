// What the screens, the game frame and the loading step share: the screen
// functions, the two sounds of the menus, and button access that tolerates a
// panel file with fewer buttons than the game expects.
#pragma once

#include "engine/guilab.h"

// One screen per call, chosen by ScreenFlow().
void MenuScreen();
void SkillsScreen();
void CreditsScreen();
void HelpScreen();

// The power-up jingle of the menus, purchases, the developer mode and the hints.
void PlayPowerUp();

// A panel loaded from a missing or short file lacks buttons; the game then runs
// without them rather than follow a null button.
namespace Panel {

inline void SetIcon(GUILab& panel, int id, GLuint icon)
{
    if (GUILab::Button* b = panel.GetButton(id))
        b->SetIcon(icon);
}

inline void SetHide(GUILab& panel, int id, bool hide)
{
    if (GUILab::Button* b = panel.GetButton(id))
        b->hide = hide;
}

inline bool IsSelected(GUILab& panel, int id)
{
    GUILab::Button* b = panel.GetButton(id);
    return b && b->isSelected();
}

} // namespace Panel

// The pointer in window pixels (y down) to the 512-unit virtual screen (y up),
// truncated toward zero. A window of size 0 puts the pointer outside the screen.
int VirtualX(float window_x, int window_w);
int VirtualY(float window_y, int window_h);
