// panel_viewer: renders every panel of Data/ over its background picture, each
// button outlined with its number (hidden ones dashed), plus the texts the game
// prints near them, and writes one PNG per panel.
//   panel_viewer <output folder>
#include "platform/keep_libraries.h"
#include "engine/draw.h"
#include "engine/guilab.h"
#include "engine/texture.h"
#include "tools/image_io/image_io.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <string>
#include <vector>
#include <sys/stat.h>

namespace {

constexpr int kSide = 1024;

struct PanelView {
    const char* name;
    const char* file;
    const char* background;
};

const PanelView kPanels[] = {
    {"menu", "Data/menu.gui", "Data/GUI/menu.bmp"},
    {"help_0", "Data/help_0.gui", "Data/GUI/help_0.jpg"},
    {"credits", "Data/credits.gui", "Data/GUI/credits.png"},
    {"skills", "Data/skills.gui", "Data/GUI/skills.png"},
    {"interface", "Data/interface.gui", "Data/GUI/background.jpg"},
};

void Rectangle(GLenum mode, float l, float b, float r, float t)
{
    glBegin(mode);
    glVertex2f(l, b);
    glVertex2f(r, b);
    glVertex2f(r, t);
    glVertex2f(l, t);
    glEnd();
}

// Outlines a zone the game keeps for itself, in virtual units.
void Zone(float l, float b, float r, float t, float red, float green, float blue)
{
    PushVirtualScreen();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glColor4f(red, green, blue, 0.18f);
    Rectangle(GL_QUADS, l, b, r, t);
    glColor4f(red, green, blue, 0.9f);
    Rectangle(GL_LINE_LOOP, l, b, r, t);
    glDisable(GL_BLEND);
    PopVirtualScreen();
    glColor4f(1, 1, 1, 1);
}

void Outline(const GUILab::Button& b)
{
    PushVirtualScreen();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float l = b.position.x - b.w, r = b.position.x + b.w;
    const float bo = b.position.y - b.h, t = b.position.y + b.h;
    if (b.hide) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(2, 0x5555);
        glColor4f(1.0f, 0.2f, 1.0f, 1.0f);
    } else {
        glColor4f(0.1f, 0.9f, 0.2f, 0.25f);
        Rectangle(GL_QUADS, l, bo, r, t);
        glColor4f(0.1f, 1.0f, 0.2f, 1.0f);
    }
    Rectangle(GL_LINE_LOOP, l, bo, r, t);
    glDisable(GL_LINE_STIPPLE);
    glDisable(GL_BLEND);
    PopVirtualScreen();
    glColor4f(1, 1, 1, 1);
}

void Number(const GUILab::Button& b, int index)
{
    const float size = b.w < 7.0f ? 2.2f : 3.0f;
    glColor4f(0, 0, 0, 1);
    glPrintText(b.position.x - size + 0.6f, b.position.y - size - 0.6f, size, true, "%d", index);
    glColor4f(1.0f, 1.0f, 0.2f, 1.0f);
    glPrintText(b.position.x - size, b.position.y - size, size, true, "%d", index);
    glColor4f(1, 1, 1, 1);
}

// The texts the game writes on these screens, with typical values, where it writes them.
void GameTexts(const PanelView& view, GUILab& panel, bool zones)
{
    const std::string name = view.name;
    if (name == "interface") {
        if (zones) {
            Zone(0, 190, 512, 240, 1.0f, 0.6f, 0.0f);
            Zone(256 - 102.5f, 346 - 102.5f, 256 + 102.5f, 346 + 102.5f, 0.2f, 0.6f, 1.0f);
        }
        glPrintText(60, 4, 4, false, "x %d", 42);
        glPrintText(260, 4, 4, false, "(%d)", 21);
        glPrintText(445, 479, 4, false, "record: %d", 123);
        glPrintText(445, 458, 4, false, "score: %d", 45);
        glColor4f(0, 0, 0, 1);
        for (int id : {1, 16, 31, 46, 61, 76, 91}) {
            GUILab::Button* add = panel.GetButton(id + 10);
            if (add)
                glPrintText(add->position.x - 2.0f, add->position.y - 4.75f, 4, true, "%d", 2);
        }
    } else if (name == "skills") {
        glColor4f(0, 0.6f, 0, 1);
        for (int label = 37; label <= 46; ++label) {
            GUILab::Button* b = panel.GetButton(label);
            if (b)
                glPrintText(b->position.x, b->position.y - 15.0f, 5, false, "(%d)", 35);
        }
    } else if (name == "menu") {
        glPrintText(256, 15, 5, true, "%s", "a game by the burrowmere team");
        glPrintText(256, 6, 3, true, "%s", "for everyone who keeps rabbits");
    }
    glColor4f(1, 1, 1, 1);
}

// The store picture the game gives each interface button, or null.
const char* InterfaceIcon(int index)
{
    if (index <= 105) {
        const int member = (index - 1) % 15;
        if (member == 0)
            return "Data/GUI/hole.png";
        if (member <= 9)
            return "Data/animation/rabbit/7.png";
        if (member == 10)
            return "Data/GUI/add.png";
        if (member == 12)
            return "Data/GUI/building.png";
        if (member == 13)
            return "Data/GUI/building_pb.png";
        return nullptr;
    }
    static const char* const tray[] = {
        "Data/GUI/tray_bar.png",  "Data/GUI/help.png",    "Data/GUI/move_selected.png", "Data/GUI/sacrifice.png",
        "Data/GUI/build.png",     "Data/GUI/skill.png",   "Data/GUI/carrots.png",       "Data/GUI/target.png",
        "Data/GUI/target_base.png", "Data/GUI/target_base.png", "Data/GUI/target_base.png", "Data/GUI/target_base.png",
        "Data/GUI/target_base.png", "Data/GUI/target_base.png", "Data/GUI/sign.png",    "Data/GUI/back.png",
    };
    return index <= 121 ? tray[index - 106] : nullptr;
}

bool SavePicture(const std::string& path)
{
    glFinish();
    Image img;
    img.w = kSide;
    img.h = kSide;
    img.rgba.resize(static_cast<size_t>(kSide) * kSide * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kSide, kSide, GL_RGBA, GL_UNSIGNED_BYTE, img.rgba.data());
    for (size_t p = 3; p < img.rgba.size(); p += 4)
        img.rgba[p] = 255;
    if (!WritePNG(path, img)) {
        std::fprintf(stderr, "panel_viewer: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

// The interface as a player sees it with every hole built and its rabbits in,
// each button wearing the picture the game gives it, and the texts.
bool RenderInterfaceInPlay(const PanelView& view, const std::string& out_dir)
{
    GUILab panel;
    if (!panel.Load(view.file))
        return false;
    std::vector<GLuint> owned;
    GLuint background = 0;
    LoadTexture(&background, view.background);
    owned.push_back(background);
    panel.SetBackground(background);
    int index = 1;
    for (GUILab::Button& b : panel.buttons) {
        const char* icon = InterfaceIcon(index);
        GLuint tex = 0;
        if (icon && LoadTexture(&tex, icon))
            owned.push_back(tex);
        b.SetIcon(tex);
        b.hide = icon == nullptr;
        // One hole under construction, at two thirds, to show the bar.
        if (index <= 105 && (index - 1) % 15 == 13)
            b.w = index == 59 ? 8.5f : 0.0f;
        if (index <= 105 && (index - 1) % 15 == 12)
            b.hide = index != 58;
        ++index;
    }
    glViewport(0, 0, kSide, kSide);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    panel.Display();
    glDisable(GL_DEPTH_TEST);
    GameTexts(view, panel, false);
    for (GLuint t : owned)
        glDeleteTextures(1, &t);
    return SavePicture(out_dir + "/interface_in_play.png");
}

bool RenderPanel(const PanelView& view, const std::string& out_dir)
{
    GUILab panel;
    if (!panel.Load(view.file)) {
        std::fprintf(stderr, "panel_viewer: cannot load %s\n", view.file);
        return false;
    }
    GLuint background = 0;
    LoadTexture(&background, view.background);

    glViewport(0, 0, kSide, kSide);
    glClearColor(0.3f, 0.3f, 0.3f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(0.55f, 0.55f, 0.55f, 1.0f);
    panel.SetBackground(background);
    // Only the background and the panel's own pictures are drawn by the panel;
    // the rest are the game's to set, so they get outlines instead.
    std::vector<bool> hidden;
    for (GUILab::Button& b : panel.buttons) {
        hidden.push_back(b.hide);
        b.hide = b.hide || !glIsTexture(b.pattern);
    }
    panel.Display();
    glColor4f(1, 1, 1, 1);
    size_t i = 0;
    for (GUILab::Button& b : panel.buttons)
        b.hide = hidden[i++];
    glDisable(GL_DEPTH_TEST);

    GameTexts(view, panel, true);
    int index = 1;
    for (GUILab::Button& b : panel.buttons) {
        if (b.w > 0.0f && b.h > 0.0f)
            Outline(b);
        ++index;
    }
    index = 1;
    for (GUILab::Button& b : panel.buttons) {
        if (b.w > 0.0f && b.h > 0.0f)
            Number(b, index);
        ++index;
    }
    if (background != 0)
        glDeleteTextures(1, &background);
    return SavePicture(out_dir + "/" + view.name + ".png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: panel_viewer <output folder>\n");
        return 2;
    }
    const std::string out_dir = argv[1];
    mkdir(out_dir.c_str(), 0755);

    int glut_argc = 1;
    char name[] = "panel_viewer";
    char* glut_argv[] = {name, nullptr};
    glutInit(&glut_argc, glut_argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    glutInitWindowSize(kSide, kSide);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("panel_viewer");
    Sys::KeepLoadedLibraries();

    GUILab::inputPortrait(true);
    GUILab::inputCaption(kSide, kSide);
    glEnable(GL_TEXTURE_2D);
    LoadFont("Data/font");

    bool ok = true;
    for (const PanelView& view : kPanels)
        ok = RenderPanel(view, out_dir) && ok;
    ok = RenderInterfaceInPlay(kPanels[4], out_dir) && ok;
    return ok ? 0 : 1;
}
