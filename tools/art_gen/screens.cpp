// Full-screen pictures (meadow, menu, help, credits, skills, game over), hints and the tray bar.
#include <cmath>
#include <string>
#include <vector>

#include "creatures.h"
#include "pictures.h"
#include "svg.h"

namespace Art {

namespace {

// Full screens are drawn in the game's 512-unit space; SVG y runs down, the game's up.
double Up(double y) { return 512.0 - y; }

std::string Place(double x, double y, double s, const std::string& content) {
    return Group(Fmt("transform=\"translate(%.2f %.2f) scale(%.3f)\"", x, y, s), content);
}

std::string Cloud(double x, double y, double s) {
    std::string c;
    c += Ellipse(x, y + 4 * s, 26 * s, 9 * s, Ink::cloud_shade);
    c += Ellipse(x - 12 * s, y, 12 * s, 9 * s, Ink::cloud);
    c += Ellipse(x + 4 * s, y - 5 * s, 15 * s, 12 * s, Ink::cloud);
    c += Ellipse(x + 18 * s, y + 1 * s, 11 * s, 8 * s, Ink::cloud);
    return c;
}

// A wavy ridge from x 0 to 512 at game height `base`, filled down to `bottom`.
std::string Ridge(double base, double amp, double freq, double phase, double bottom, const char* fill) {
    std::string d = Fmt("M 0 %.2f", Up(bottom));
    for (int x = 0; x <= 512; x += 8) {
        double y = base + amp * std::sin(x * freq + phase) + amp * 0.4 * std::sin(x * freq * 2.7 + 1.3);
        d += Fmt(" L %d %.2f", x, Up(y));
    }
    d += Fmt(" L 512 %.2f Z", Up(bottom));
    return Path(d, fill);
}

std::string Tree(double x, double ground, double s) {
    std::string t = Rect(x - 1.5 * s, Up(ground + 10 * s), 3 * s, 10 * s, Ink::wood_shade);
    t += Ellipse(x, Up(ground + 16 * s), 8 * s, 9 * s, Ink::grass_dark);
    t += Ellipse(x - 2 * s, Up(ground + 18 * s), 5 * s, 5 * s, Ink::hill_near);
    return t;
}

// Sky, sun, clouds and hills down to game height `horizon`, calm in the top-right
// corner where the score is printed.
std::string Sky(double horizon) {
    std::string s;
    s += Rect(0, 0, 512, Up(horizon), Ink::sky_low);
    s += Rect(0, 0, 512, Up(330), Ink::sky_mid);
    s += Rect(0, 0, 512, Up(420), Ink::sky_high);
    // A deeper zenith so the score and record (white, or flickering red to yellow)
    // read against the sky.
    s += Rect(0, 0, 512, Up(448), Ink::sky_top);
    s += Ellipse(64, Up(452), 34, 34, "#fff3b0");
    s += Ellipse(64, Up(452), 24, 24, Ink::gold_light);
    s += Ellipse(60, Up(456), 10, 8, Ink::white);
    s += Cloud(170, Up(405), 1.2);
    s += Cloud(320, Up(440), 0.9);
    s += Cloud(420, Up(350), 1.0);
    s += Cloud(230, Up(320), 0.7);
    s += Ridge(horizon + 58, 14, 0.017, 0.5, horizon - 5, Ink::hill_far);
    for (double x : {70.0, 92.0, 300.0, 318.0, 452.0}) {
        double g = horizon + 58 + 14 * std::sin(x * 0.017 + 0.5) + 5.6 * std::sin(x * 0.017 * 2.7 + 1.3) - 4;
        s += Tree(x, g, 0.8);
    }
    s += Ridge(horizon + 26, 9, 0.023, 2.0, horizon - 5, Ink::hill_near);
    return s;
}

// Grass from game height `bottom` up to `top`, with tufts and a few flowers.
std::string Meadow(double bottom, double top) {
    std::string s = Rect(0, Up(top), 512, top - bottom, Ink::grass);
    s += Rect(0, Up(top), 512, 4, Ink::grass_light);
    for (int x = 3; x < 512; x += 11) {
        double h = 4 + (x * 7 % 5);
        s += Path(Fmt("M %d %.2f l 3 %.2f l 3 %.2f", x, Up(top - 2), -h, h), Ink::grass_light);
    }
    for (int i = 0; i < 26; ++i) {
        double x = std::fmod(i * 97.3 + 13, 512.0);
        double y = bottom + 6 + std::fmod(i * 31.7, top - bottom - 14);
        s += Path(Fmt("M %.2f %.2f l 2 -5 l 2 5", x, Up(y)), "none", Ink::grass_dark, 1.0);
    }
    const char* petals[3] = {Ink::white, Ink::gold_light, Ink::pink};
    for (int i = 0; i < 12; ++i) {
        double x = std::fmod(i * 43.7 + 20, 500.0) + 6;
        double y = bottom + 8 + std::fmod(i * 17.3, top - bottom - 16);
        s += Ellipse(x, Up(y), 2.0, 1.6, petals[i % 3]);
        s += Ellipse(x, Up(y), 0.7, 0.7, Ink::gold_shade);
    }
    return s;
}

// Layered soil from 0 up to `top`, quiet so the tray's icons read on it.
std::string Soil(double top) {
    std::string s = Rect(0, Up(top), 512, top, Ink::soil);
    s += Ridge(top - 30, 3, 0.05, 0.2, 0, Ink::soil_dark);
    s += Ridge(top - 75, 4, 0.04, 1.7, 0, Ink::soil);
    s += Ridge(top - 118, 3, 0.06, 2.9, 0, Ink::soil_dark);
    s += Rect(0, Up(top), 512, 3, Ink::grass_dark);
    // Stones and roots keep to the gaps between the seven hole groups (centres
    // 37 + 73 k, each with its slots, target and add button within 27 units), so
    // nothing of the ground reads as part of a hole or an empty building site.
    for (int k = 0; k < 6; ++k) {
        double gap = 37 + 73 * k + 36.5;
        s += Path(Fmt("M %.2f %.2f q 4 10 -2 18 q -5 6 0 12", gap - 1, Up(top)), "none", Ink::soil_light, 1.2);
        for (int j = 0; j < 2; ++j) {
            double y = 44 + std::fmod(k * 37.1 + j * 53.0, top - 90);
            double x = gap + (j ? 3 : -3) + (k % 2 ? 1 : -1);
            s += Ellipse(x, Up(y), 4 + (k + j) % 2, 2.5 + j % 2, Ink::stone, Ink::soil_deep, 0.8);
        }
    }
    return s;
}

std::string Card(double x, double y, double w, double h, double r) {
    std::string s = Rect(x, y, w, h, Ink::wood_shade, Ink::outline, 3, r);
    s += Rect(x + 6, y + 6, w - 12, h - 12, Ink::parchment, Ink::wood, 2, r * 0.7);
    s += Rect(x + 12, y + 10, w * 0.4, 4, Ink::cream, nullptr, 0, 2);
    return s;
}

// A full-screen parchment page with a wooden frame and a title in the top-left.
std::string Page(const char* title) {
    std::string s = Rect(0, 0, 512, 512, Ink::wood);
    s += Rect(4, 4, 504, 504, Ink::wood_shade, Ink::outline, 2, 10);
    s += Rect(12, 12, 488, 488, Ink::parchment, Ink::outline, 2, 8);
    s += Rect(20, 20, 472, 472, "none", Ink::wood_light, 1.2, 6);
    s += Text(34, Up(470) + 10, 30, "start", Ink::gold, title, true, Ink::outline, 5);
    return s;
}

void Emit(Pictures& out, const std::string& path, Svg& svg) { out.push_back({path, svg.Document()}); }

void Background(Pictures& out) {
    Svg svg(1024, 1024, 512, 512);
    std::string s = Sky(200);
    s += Meadow(160, 202);
    s += Soil(160);
    svg.Add(s);
    Emit(out, "GUI/background.svg", svg);
}

void TrayBar(Pictures& out) {
    // A wooden beam: horizontal bands only, so it stretches to any height.
    Svg svg(1024, 64);
    std::string s = Rect(0, 0, 1024, 64, Ink::outline);
    s += Rect(0, 4, 1024, 54, Ink::wood);
    s += Rect(0, 8, 1024, 6, Ink::wood_light);
    s += Rect(0, 44, 1024, 10, Ink::wood_shade);
    // Joints only between the groups of buttons (after the purse, after the build
    // price, before help), never under a button or a printed text.
    for (int unit : {130, 340, 450}) s += Rect(unit * 2, 4, 4, 54, Ink::wood_shade);
    for (int x : {680, 760}) s += Line(x, 28, x + 70, 28, Ink::wood_shade, 2);
    // Dark plates under the purse (printed at 60, 4) and the build price (260, 4):
    // their text is white, or red when short of carrots, and needs a dark ground.
    // 2 pixels a unit across; 2 pixels a unit up from the bottom edge.
    // "x 99" ends near x 76 and "(max)" near x 280.
    s += Rect(2 * 57, 64 - 2 * 14, 2 * 25, 2 * 12, Ink::soil_deep, Ink::outline, 2, 6);
    s += Rect(2 * 258, 64 - 2 * 14, 2 * 26, 2 * 12, Ink::soil_deep, Ink::outline, 2, 6);
    svg.Add(s);
    Emit(out, "GUI/tray_bar.svg", svg);
}

void Menu(Pictures& out) {
    Svg svg(1024, 1024, 512, 512);
    std::string s = Sky(280);
    s += Meadow(26, 282);
    s += Rect(0, Up(26), 512, 26, Ink::grass_dark);
    s += Rect(0, Up(26), 512, 2, Ink::outline);
    // The menu rabbit stands on a little mound at (256, 320).
    s += Ellipse(256, Up(290), 40, 8, Ink::grass_dark);
    s += Ellipse(256, Up(292), 34, 6, Ink::grass_light);
    // Carrots and burrows on both sides, clear of the buttons in the middle.
    for (int i = 0; i < 3; ++i) {
        s += Place(40 + i * 22, Up(248) - 22, 0.75, Carrot());
        s += Place(420 + i * 20, Up(232) - 22, 0.75, Carrot());
    }
    s += Path(Fmt("M 40 %.1f Q 70 %.1f 100 %.1f Z", Up(120), Up(165), Up(120)), Ink::soil, Ink::outline, 1.5);
    s += Path(Fmt("M 58 %.1f Q 70 %.1f 82 %.1f Z", Up(120), Up(145), Up(120)), Ink::outline);
    s += Path(Fmt("M 410 %.1f Q 445 %.1f 480 %.1f Z", Up(90), Up(140), Up(90)), Ink::soil, Ink::outline, 1.5);
    s += Path(Fmt("M 432 %.1f Q 445 %.1f 458 %.1f Z", Up(90), Up(118), Up(90)), Ink::outline);
    RabbitPose pose;
    pose.kind = RabbitKind::Run;
    pose.phase = 0.2;
    pose.carrot = true;
    s += Place(30, Up(80) - 30, 0.9, Rabbit(pose));
    s += Place(380, Up(330) - 40, 0.35, Eagle(0.1));
    // Title.
    s += Text(256, Up(420), 64, "middle", Ink::gold, "Burrowmere", true, Ink::outline, 10);
    s += Text(256, Up(420) - 3, 64, "middle", Ink::gold_light, "Burrowmere", true);
    s += Text(256, Up(392), 16, "middle", Ink::white, "keep the colony alive", true, Ink::outline, 4);
    svg.Add(s);
    Emit(out, "GUI/menu.svg", svg);
}

void SkillsPage(Pictures& out) {
    Svg svg(1024, 1024, 512, 512);
    std::string s = Page("Skills");
    struct Row { double y; const char* name; const char* line1; const char* line2; };
    const Row rows[5] = {
        {400, "Speed", "Rabbits run", "faster"},
        {330, "Build", "Holes are", "built faster"},
        {260, "Evasion", "Rabbits may", "dodge eagles"},
        {190, "Harvest", "More carrots", "per carrot home"},
        {120, "Progeny", "More rabbits", "in each hole"},
    };
    for (const Row& r : rows) {
        s += Rect(24, Up(r.y + 32), 220, 64, Ink::cream, Ink::wood_light, 1.2, 8);
        s += Text(97, Up(r.y) - 8, 16, "start", Ink::wood_shade, r.name);
        s += Text(97, Up(r.y) + 8, 11, "start", Ink::outline, r.line1, false);
        s += Text(97, Up(r.y) + 21, 11, "start", Ink::outline, r.line2, false);
    }
    s += Text(256, Up(52), 11, "middle", Ink::wood_shade, "Spend carrots on a level; level 2 is the stronger one.", false);
    svg.Add(s);
    Emit(out, "GUI/skills.svg", svg);
}

void CreditsPage(Pictures& out) {
    Svg svg(1024, 1024, 512, 512);
    std::string s = Page("Credits");
    s += Text(256, Up(400), 34, "middle", Ink::gold, "Burrowmere", true, Ink::outline, 6);
    s += Text(256, Up(370), 14, "middle", Ink::outline, "made by The Burrowmere team", false);
    s += Text(256, Up(325), 13, "middle", Ink::wood_shade, "Built with free software");
    const char* lines[4] = {"freeglut  \xC2\xB7  OpenGL / Mesa", "OpenAL Soft  \xC2\xB7  freealut",
                            "librsvg  \xC2\xB7  stb", "Text set in the DejaVu fonts"};
    for (int i = 0; i < 4; ++i) s += Text(256, Up(300 - i * 22), 12, "middle", Ink::outline, lines[i], false);
    s += Text(256, Up(200), 11, "middle", Ink::wood_shade,
              "Every picture and sound was made for this game.", false);
    RabbitPose pose;
    pose.kind = RabbitKind::Sit;
    s += Place(40, Up(150) - 36, 1.2, Rabbit(pose));
    s += Place(440, Up(150) - 36, 1.2, Carrot());
    // The visible link, where the invisible web-link button lies.
    s += Rect(146, Up(74), 220, 28, Ink::cream, Ink::blue, 2, 8);
    s += Text(256, Up(60) + 4.5, 12, "middle", Ink::blue, "burrowmere \xE2\x80\x94 about this game");
    s += Line(168, Up(60) + 7, 344, Up(60) + 7, Ink::blue, 1);
    svg.Add(s);
    Emit(out, "GUI/credits.svg", svg);
}

void HelpPage(Pictures& out) {
    Svg svg(1024, 1024, 512, 512);
    std::string s = Page("How to play");
    struct Line { const char* key; const char* text; };
    const Line lines[] = {
        {"", "Rabbits fetch carrots; carrots feed the colony."},
        {"Click", "a carrot to send a rabbit from your hole."},
        {"Click +", "on a hole to buy a rabbit (costs carrots)."},
        {"Click", "the round button under a hole to send from it."},
        {"R", "move: click another hole to move a rabbit there."},
        {"G", "build: click an empty site to dig a new hole."},
        {"B", "bait: place a rabbit as a sacrifice; eagles"},
        {"", "spare the rabbits near it."},
        {"Star", "buy skills with carrots."},
        {"", "More eagles come with every new crop."},
        {"F1", "full screen on or off."},
        {"", "The game ends when no rabbit is left."},
    };
    double y = 112;
    for (const Line& l : lines) {
        if (l.key[0]) {
            s += Rect(30, y - 12, 58, 16, Ink::wood, Ink::outline, 1.2, 4);
            s += Text(59, y, 11, "middle", Ink::cream, l.key);
        }
        s += Text(96, y, 12.5, "start", Ink::outline, l.text, false);
        y += 28;
    }
    s += Place(420, 60, 1.0, Carrot());
    svg.Add(s);
    Emit(out, "GUI/help_0.svg", svg);
}

void GameOver(Pictures& out) {
    // Mostly clear: the game still shows around the message while it fades in.
    Svg svg(1024, 1024, 512, 512);
    std::string s = Rect(0, Up(330), 512, 140, "#2b1d14", nullptr, 0, 0);
    s = Group("opacity=\"0.55\"", s);
    s += Rect(96, Up(318), 320, 116, Ink::parchment, Ink::outline, 3, 14);
    s += Rect(104, Up(310), 304, 100, "none", Ink::wood, 2, 10);
    s += Text(256, Up(262), 44, "middle", Ink::red, "Game over", true, Ink::outline, 7);
    s += Text(256, Up(232), 15, "middle", Ink::outline, "Back to the menu to play again", false);
    svg.Add(s);
    Emit(out, "GUI/game_over.svg", svg);
}

// Hint cards: a picture on top, a short line or two below.
void Hint(Pictures& out, int n, const std::string& picture, const char* line1, const char* line2) {
    Svg svg(512, 512);
    std::string s = Card(4, 4, 504, 504, 36);
    s += Ellipse(256, 190, 200, 150, Ink::sky_low);
    s += Path("M 56 250 Q 256 220 456 250 L 456 300 Q 256 330 56 300 Z", Ink::grass);
    s += picture;
    s += Text(256, 400, 44, "middle", Ink::outline, line1);
    s += Text(256, 458, 40, "middle", Ink::wood_shade, line2, false);
    svg.Add(s);
    Emit(out, Fmt("GUI/hints/%d.svg", n), svg);
}

std::string PointerAt(double x, double y, double s) {
    return Place(x, y, s, Path("M 0 0 L 0 32 L 7 25.5 L 12.5 37 L 18 34.5 L 12.5 23.5 L 22 22.5 Z",
                               Ink::white, Ink::outline, 2.2));
}

std::string MiniHole(double x, double y, double s, bool plus) {
    std::string h = Path("M 0 40 Q 3 6 32 4 Q 61 6 64 40 Z", Ink::soil, Ink::outline, 2.4);
    h += Path("M 18 40 Q 18 20 32 20 Q 46 20 46 40 Z", Ink::outline);
    if (plus) {
        h += Ellipse(60, 8, 12, 12, Ink::green, Ink::outline, 2.4);
        h += Path("M 60 1 L 60 15 M 53 8 L 67 8", "none", Ink::white, 4);
    }
    return Place(x, y, s, h);
}

void Hints(Pictures& out) {
    RabbitPose run;
    run.kind = RabbitKind::Run;
    run.phase = 0.0;
    RabbitPose sit;
    sit.kind = RabbitKind::Sit;

    Hint(out, 1, Place(110, 110, 2.6, Rabbit(run)) + Place(300, 90, 3.0, Carrot()) + PointerAt(330, 150, 2.4),
         "Click a carrot", "to send a rabbit for it");
    Hint(out, 2, MiniHole(120, 130, 3.2, true) + PointerAt(345, 175, 2.2),
         "Click + on a hole", "to buy a rabbit");
    std::string star = Ellipse(340, 190, 56, 56, Ink::gold, Ink::outline, 5) +
                       Path("M 340 148 l 12 26 l 28 3 l -21 19 l 6 28 l -25 -14 l -25 14 l 6 -28 "
                            "l -21 -19 l 28 -3 Z", Ink::white, Ink::outline, 4);
    Hint(out, 3, Place(90, 90, 2.6, Carrot()) + Place(150, 110, 2.3, Carrot()) +
                     Path("M 225 190 L 265 190 M 252 176 L 268 190 L 252 204", "none", Ink::outline, 7) + star,
         "Carrots buy skills", "press the star button");
    std::string site = Path("M 250 280 Q 270 220 340 218 Q 410 220 430 280 Z", Ink::soil_light, Ink::outline, 4);
    std::string key = Rect(90, 110, 110, 110, Ink::wood, Ink::outline, 5, 18) +
                      Text(145, 196, 80, "middle", Ink::cream, "G");
    Hint(out, 4, key + site + Place(300, 100, 2.0, Rabbit(sit)) +
                     PointerAt(380, 200, 2.0),
         "Press G, click", "an empty site to dig");
    std::string glow = Ellipse(300, 290, 150, 18, "#ffe27a", Ink::gold_shade, 3);
    Hint(out, 5, glow + Place(250, 120, 2.8, Rabbit(sit)) + Place(40, 20, 0.95, Eagle(0.05)),
         "Eagles! Press B", "bait shields the rest");
}

} // namespace

void MakeScreens(Pictures& out) {
    Background(out);
    TrayBar(out);
    Menu(out);
    SkillsPage(out);
    CreditsPage(out);
    HelpPage(out);
    GameOver(out);
    Hints(out);
}

} // namespace Art
