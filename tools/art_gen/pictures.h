// The list of pictures the generator produces, by the file each one becomes.
#pragma once

#include <string>
#include <vector>

namespace Art {

struct Picture {
    std::string path;  // relative to assets/art/, e.g. "GUI/move.svg"
    std::string doc;   // the SVG document
};

using Pictures = std::vector<Picture>;

void MakeSprites(Pictures& out);   // rabbits, eagles, carrot, glow
void MakeIcons(Pictures& out);     // tray, skill and screen buttons, pointers
void MakeScreens(Pictures& out);   // full-screen pictures, hints, tray bar
void MakeAppIcon(Pictures& out);   // the desktop icon

} // namespace Art
