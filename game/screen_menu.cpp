// The main menu: play, credits and quit, the blinking rabbit, and the hidden
// way into the developer mode through that rabbit.
#include "engine/draw.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "math/global_time.h"

#include <cstdlib>

namespace {

constexpr int kQuitButton = 1;
constexpr int kPlayButton = 2;
constexpr int kCreditsButton = 3;
constexpr int kRabbitButton = 4;
// The fifty-third click on the rabbit opens the developer mode.
constexpr int kDeveloperClicks = 52;

} // namespace

void MenuScreen()
{
    static bool blink = false;
    static float next_blink = 2.5f;
    static int c_count = 0;

    // The rabbit rests its eyes open for 2.5 s and blinks for 0.1 s.
    next_blink -= global_time;
    if (next_blink < 0.0f) {
        blink = !blink;
        next_blink = blink ? 0.1f : 2.5f;
    }
    Panel::SetIcon(menu, kRabbitButton, blink ? rabbit_run[7] : rabbit_run[6]);

    menu.Display();

    if (developer_mode) {
        glPrintText(256, 15, 5, true, "- Developer Mode -");
        c_count = 0;
    } else {
        glPrintText(256, 15, 5, true, "Made by the Burrowmere team");
        glPrintText(256, 6, 3, true, "for everyone who ever kept rabbits");
    }

    switch (menu.Event(3)) {
    case kQuitButton:
        PlayPowerUp();
        exit(0);
    case kPlayButton:
        PlayPowerUp();
        show_menu = false;
        // A game still going on simply resumes.
        if (game_over)
            NewGame();
        break;
    case kCreditsButton:
        PlayPowerUp();
        show_menu = false;
        show_credits = true;
        break;
    case kRabbitButton:
        c_count += 1;
        if (c_count > kDeveloperClicks) {
            developer_mode = true;
            PlayPowerUp();
        }
        break;
    default:
        break;
    }

    if (menu.Event(1) == kCreditsButton)
        cursor = Cursor::skill;
}
