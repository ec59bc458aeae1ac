// The command line, and the rules for where the game's data and record are.
#include "game/launch.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Both come from the build: the version of the project, and the installed data
// folder relative to the program's, so an installed tree works under any prefix.
const char* const game_version = BM_VERSION;

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The player's home: $HOME, or the password database when HOME is unset or not
// an absolute path.
std::string HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir && pw->pw_dir[0] == '/' ? pw->pw_dir : "";
}

// The record of an installed game, in this player's data folder. The XDG rules
// ignore a relative XDG_DATA_HOME as much as an empty one.
std::string PlayerRecordFile()
{
    const char* xdg = getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return std::string(xdg) + "/burrowmere/dat.bin";
    std::string home = HomeFolder();
    return home.empty() ? "" : home + "/.local/share/burrowmere/dat.bin";
}

} // namespace

LaunchOptions ParseCommandLine(int& argc, char** argv)
{
    LaunchOptions options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!strcmp(arg, "--help") || !strcmp(arg, "--version")) {
            options.action = arg[2] == 'h' ? LaunchAction::Help : LaunchAction::Version;
            return options;
        }
        if (!strcmp(arg, "--windowed")) {
            options.windowed = true;
            continue;
        }
        bool glut_value = !strcmp(arg, "-display") || !strcmp(arg, "-geometry");
        bool glut_flag = !strcmp(arg, "-iconic") || !strcmp(arg, "-direct") || !strcmp(arg, "-indirect") ||
                         !strcmp(arg, "-gldebug") || !strcmp(arg, "-sync");
        if ((!glut_value && !glut_flag) || (glut_value && i + 1 >= argc)) {
            options.action = LaunchAction::BadOption;
            options.bad_option = arg;
            return options;
        }
        argv[kept++] = argv[i];
        if (glut_value)
            argv[kept++] = argv[++i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return options;
}

std::string Usage()
{
    return "Usage: burrowmere [--windowed] [-display NAME] [-geometry WxH+X+Y]\n"
           "       burrowmere --help | --version\n"
           "Keep a rabbit colony alive on a meadow full of carrots and eagles.\n"
           "\n"
           "  --windowed          start in a 640 x 480 window instead of full screen\n"
           "                      (F1 switches between the two while playing)\n"
           "  --help              show this help and exit\n"
           "  --version           show the version and exit\n"
           "  -display NAME       the X display to open\n"
           "  -geometry WxH+X+Y   size and place of the window when not full screen\n";
}

GamePlaces FindGamePlaces(const std::string& program_folder)
{
    GamePlaces places;
    places.beside = program_folder;
    places.installed = program_folder + BM_DATA_FROM_PROGRAM "/";
    char resolved[PATH_MAX];
    if (realpath(places.installed.c_str(), resolved))
        places.installed = std::string(resolved) + "/";
    if (IsFolder(places.beside + "Data")) {
        places.data_folder = places.beside;
        places.record = places.beside + "dat.bin";
    } else if (IsFolder(places.installed + "Data")) {
        places.data_folder = places.installed;
        places.record = PlayerRecordFile();
    }
    return places;
}
