// make_panel: writes a panel file from a layout and the pictures it names.
//   make_panel <layout> <assets dir> <output panel file>
#include "engine/panel_format.h"
#include "tools/image_io/image_io.h"
#include "tools/make_panel/layout.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: make_panel <layout> <assets dir> <output panel file>\n");
    return 2;
}

bool ReadText(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    *text = s.str();
    return !in.bad();
}

// Written beside the target and renamed over it, so a failed run never leaves a
// half-written panel that the build would take as up to date.
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    const std::string tmp = path + ".part";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (ok)
        ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(tmp.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    const std::string layout_path = argv[1];
    const std::string assets_dir = argv[2];
    const std::string output = argv[3];

    std::string text;
    if (!ReadText(layout_path, &text)) {
        std::fprintf(stderr, "make_panel: cannot read layout '%s'\n", layout_path.c_str());
        return 1;
    }
    PanelLayout::Layout layout;
    std::string error;
    if (!PanelLayout::Parse(text, layout_path, &layout, &error)) {
        std::fprintf(stderr, "make_panel: %s\n", error.c_str());
        return 1;
    }

    PanelFile::Panel panel;
    for (const PanelLayout::PictureSource& src : layout.pictures) {
        Image img;
        const std::string path = assets_dir + "/" + src.path;
        if (!LoadImageRGBA(path, img, &error)) {
            std::fprintf(stderr, "make_panel: %s: picture '%s' (%s): %s\n", layout_path.c_str(), src.name.c_str(),
                         path.c_str(), error.c_str());
            return 1;
        }
        PanelFile::Picture pic;
        pic.width = img.w;
        pic.height = img.h;
        pic.rgba = std::move(img.rgba);
        pic.name = src.path;
        panel.pictures.push_back(std::move(pic));
    }
    panel.background = layout.background;
    panel.buttons = layout.buttons;

    if (!WriteFile(output, PanelFile::Encode(panel))) {
        std::fprintf(stderr, "make_panel: cannot write '%s'\n", output.c_str());
        return 1;
    }
    return 0;
}
