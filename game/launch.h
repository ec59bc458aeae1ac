// How the game is started: its own command-line options, where it finds Data/
// and where it keeps the player's record.
#pragma once

#include <string>

// The version of this build of the game.
extern const char* const game_version;

enum class LaunchAction { Play, Help, Version, BadOption };

struct LaunchOptions {
    LaunchAction action = LaunchAction::Play;
    bool windowed = false;   // start in the 640 x 480 window instead of full screen
    std::string bad_option;  // the argument that was not understood
};

// Reads the game's own options and takes them out of argv; what GLUT reads for
// itself (-display NAME, -geometry WxH+X+Y and its flags) stays for glutInit.
// The first --help or --version decides; anything else unknown is a bad option.
LaunchOptions ParseCommandLine(int& argc, char** argv);

// The usage text: the options, one a line.
std::string Usage();

struct GamePlaces {
    std::string beside;      // Data/ beside the program: the build tree, or a portable folder
    std::string installed;   // the installed data folder, found from the program's own folder
    std::string data_folder; // whichever of the two holds Data/; empty when neither does
    std::string record;      // the record file; empty when the player has no home to keep it in
};

// Looks for Data/ first beside the program in `program_folder` (ending in '/'),
// then in the installed data folder. A game found beside its program keeps its
// record there, as it always has; an installed game keeps it in the player's
// data folder ($XDG_DATA_HOME, or ~/.local/share), since its own belongs to root.
GamePlaces FindGamePlaces(const std::string& program_folder);
