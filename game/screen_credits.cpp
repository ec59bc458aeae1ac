// The credits: a picture of the people behind the game, a close button back to
// the menu, and an invisible link to the game's page.
#include "game/input.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "platform/platform.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int kCloseButton = 1;
constexpr int kLinkButton = 2;

// The page ships in Data/ beside the program, which is the working folder.
std::string AboutPagePath()
{
    char folder[4096];
    if (!getcwd(folder, sizeof folder))
        return "Data/about.html";
    return std::string(folder) + "/Data/about.html";
}

} // namespace

void CreditsScreen()
{
    credits.Display();

    switch (credits.Event(3)) {
    case kCloseButton:
        show_credits = false;
        show_menu = true;
        break;
    case kLinkButton:
        PlayPowerUp();
        // The page opens beside the game, so the game always steps back into a window.
        fullscreen = true;
        SwapFS();
        Sys::OpenDocument(AboutPagePath().c_str());
        break;
    default:
        break;
    }

    if (credits.Event(1) == kLinkButton)
        cursor = Cursor::skill;
}
