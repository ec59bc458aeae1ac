// make_icon: turns one rasterised size of the game's icon into the window icon file the game reads.
//   make_icon <icon.png> <side> <output>
// The picture must be side x side pixels; its rows are written top first, as the
// window system wants them, whatever order the asset tools keep them in.
#include "platform/window_icon.h"
#include "tools/image_io/image_io.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: make_icon <icon.png> <side> <output>\n");
        return 2;
    }
    const int side = atoi(argv[2]);
    Image img;
    std::string error;
    if (!LoadImageRGBA(argv[1], img, &error)) {
        fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    if (side < 1 || side > WindowIcon::kMaxSide || img.w != side || img.h != side) {
        fprintf(stderr, "make_icon: %s is %dx%d, not %s px square\n", argv[1], img.w, img.h, argv[2]);
        return 1;
    }
    std::vector<uint32_t> argb;
    argb.reserve(static_cast<size_t>(side) * side);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) {
            const unsigned char* p = img.Pixel(x, y);
            argb.push_back(static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                           static_cast<uint32_t>(p[1]) << 8 | p[2]);
        }
    const std::vector<unsigned char> bytes = WindowIcon::Encode(side, argb);
    FILE* f = fopen(argv[3], "wb");
    bool ok = f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && fclose(f) != 0)
        ok = false;
    if (!ok) {
        fprintf(stderr, "make_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
