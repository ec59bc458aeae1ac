// art_gen: writes every SVG source of the game's pictures under the given assets/art folder.
#include <cstdio>
#include <cstring>

#include "pictures.h"
#include "svg.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: art_gen <assets/art folder>\n");
        return 2;
    }
    Art::Pictures pictures;
    Art::MakeSprites(pictures);
    Art::MakeIcons(pictures);
    Art::MakeScreens(pictures);
    Art::MakeAppIcon(pictures);
    std::string root = argv[1];
    int failed = 0;
    for (const Art::Picture& p : pictures) {
        if (!Art::WriteFile(root + "/" + p.path, p.doc)) {
            std::fprintf(stderr, "art_gen: cannot write %s/%s\n", root.c_str(), p.path.c_str());
            ++failed;
        }
    }
    std::printf("art_gen: %zu pictures written\n", pictures.size() - failed);
    return failed ? 1 : 0;
}
