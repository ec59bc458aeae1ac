// Buttons, tray icons, skill emblems and the seven pointers.
#include <string>

#include "creatures.h"
#include "pictures.h"
#include "svg.h"

namespace Art {

namespace {

const char* const kGreyFilter =
    "<filter id=\"grey\"><feColorMatrix type=\"saturate\" values=\"0.08\"/></filter>\n";

// Places `content` drawn in a box of `bw` x `bh` into a box at (x, y), scaled by `s`.
std::string Place(double x, double y, double s, const std::string& content) {
    return Group(Fmt("transform=\"translate(%.2f %.2f) scale(%.3f)\"", x, y, s), content);
}

std::string Greyed(const std::string& content) {
    return Group("filter=\"url(#grey)\" opacity=\"0.8\"", content);
}

enum class Look { Normal, Selected, Disabled };

// The square tile every tray and skill button stands on, with its look.
std::string ButtonTile(double size, Look look) {
    double sw = size / 24.0;
    double m = sw * 1.2;
    std::string s;
    if (look == Look::Selected) {
        s += Rect(0.5, 0.5, size - 1, size - 1, Ink::gold_light, nullptr, 0, size * 0.22);
        s += Tile(m, m, size - 2 * m, size - 2 * m, size * 0.18, Ink::gold, Ink::gold_shade,
                  Ink::gold_light, sw);
    } else if (look == Look::Disabled) {
        s += Tile(m, m, size - 2 * m, size - 2 * m, size * 0.18, Ink::grey_light, Ink::grey,
                  nullptr, sw);
    } else {
        s += Tile(m, m, size - 2 * m, size - 2 * m, size * 0.18, Ink::cream, Ink::parchment,
                  Ink::white, sw);
    }
    return s;
}

// A small round key badge in the lower-right corner of a 64 tile.
std::string KeyBadge(const char* key, bool off) {
    std::string s = Ellipse(51, 51, 9, 9, off ? Ink::grey_dark : Ink::wood, Ink::outline, 2);
    s += Text(51, 56.5, 14, "middle", Ink::white, key);
    return s;
}

// Emblems, drawn in a 64 x 64 box.
std::string ShovelEmblem() {
    std::string s;
    s += Ellipse(32, 52, 22, 7, Ink::soil, Ink::outline, 2.4);
    s += Ellipse(28, 50, 14, 3, Ink::soil_light);
    std::string shovel;
    shovel += Line(32, 6, 32, 34, Ink::outline, 7);
    shovel += Line(32, 6, 32, 34, Ink::wood_light, 3.6);
    shovel += Rect(24, 3, 16, 6, Ink::wood, Ink::outline, 2.2, 3);
    shovel += Path("M 23 33 L 41 33 L 40 46 Q 32 54 24 46 Z", Ink::grey_light, Ink::outline, 2.4);
    shovel += Path("M 27 36 L 28 45", "none", Ink::white, 2);
    s += Rotated(28, 32, 32, shovel);
    return s;
}

std::string RunEmblem() {
    RabbitPose pose;
    pose.kind = RabbitKind::Run;
    pose.phase = 0.0;
    std::string s = Place(10, 2, 1.0, Rabbit(pose));
    s += Path("M 52 22 L 60 22 M 50 30 L 61 30 M 53 38 L 60 38", "none", Ink::outline, 2.6);
    return s;
}

std::string BaitEmblem() {
    std::string s;
    s += Ellipse(32, 52, 27, 8, Ink::gold_light, Ink::gold_shade, 2);
    s += Ellipse(32, 52, 18, 4.5, "#fff6c0");
    RabbitPose pose;
    pose.kind = RabbitKind::Sit;
    s += Place(13, 3, 0.88, Rabbit(pose));
    s += Path("M 8 18 l 4 -4 M 10 28 l -5 0 M 56 16 l -4 -4 M 55 27 l 5 0", "none", Ink::gold_shade, 2.4);
    return s;
}

std::string BoltEmblem() {
    std::string s;
    s += Path("M 36 4 L 14 36 L 30 36 L 24 60 L 50 24 L 34 24 L 42 4 Z", Ink::gold, Ink::outline, 2.6);
    s += Path("M 35 8 L 21 31", "none", Ink::gold_light, 3);
    s += Path("M 4 20 L 14 20 M 2 30 L 10 30 M 46 44 L 60 44 M 50 52 L 62 52", "none", Ink::outline, 2.4);
    return s;
}

std::string ShieldEmblem() {
    std::string s;
    s += Path("M 32 4 Q 44 10 56 10 Q 56 42 32 60 Q 8 42 8 10 Q 20 10 32 4 Z", Ink::blue, Ink::outline, 2.6);
    s += Path("M 32 9 Q 42 14 51 14 Q 51 40 32 54 Z", Ink::blue_light);
    // A rabbit's ears peeking from behind the crest, the one it keeps safe.
    s += Ellipse(27, 30, 3.4, 10, Ink::white, Ink::outline, 2);
    s += Ellipse(37, 30, 3.4, 10, Ink::white, Ink::outline, 2);
    s += Ellipse(32, 42, 9, 7, Ink::white, Ink::outline, 2);
    s += Ellipse(29, 41, 1.4, 1.8, Ink::outline);
    s += Ellipse(35, 41, 1.4, 1.8, Ink::outline);
    return s;
}

std::string CarrotPlusEmblem() {
    std::string s = Place(6, 4, 0.95, Rotated(-20, 14, 30, Carrot()));
    s += Ellipse(45, 42, 14, 14, Ink::green, Ink::outline, 2.6);
    s += Path("M 45 34 L 45 50 M 37 42 L 53 42", "none", Ink::white, 4.5);
    return s;
}

std::string HeartEmblem() {
    std::string s;
    s += Path("M 32 58 Q 4 38 6 20 Q 10 6 22 8 Q 30 10 32 18 Q 34 10 42 8 Q 54 6 58 20 Q 60 38 32 58 Z",
              Ink::red, Ink::outline, 2.6);
    s += Ellipse(18, 20, 6, 4, Ink::red_light);
    // Two small rabbit heads: a family.
    for (int i = 0; i < 2; ++i) {
        double x = 24 + i * 16, y = 36 - i * 4;
        s += Ellipse(x - 3, y - 9, 2.2, 6, Ink::white, Ink::outline, 1.6);
        s += Ellipse(x + 3, y - 9, 2.2, 6, Ink::white, Ink::outline, 1.6);
        s += Ellipse(x, y, 7, 6, Ink::white, Ink::outline, 1.8);
        s += Ellipse(x - 2.4, y - 1, 1.1, 1.4, Ink::outline);
        s += Ellipse(x + 2.4, y - 1, 1.1, 1.4, Ink::outline);
        s += Ellipse(x, y + 2, 1.3, 1, Ink::pink);
    }
    return s;
}

std::string ArrowShape(double x0, double y0, double s, const char* fill, const char* light) {
    std::string d = Fmt("M %.1f %.1f l %.1f 0 l 0 %.1f l %.1f %.1f l %.1f %.1f l 0 %.1f l %.1f 0 Z",
                        x0, y0 - 4 * s, 10 * s, -6 * s, 12 * s, 10 * s, -12 * s, 10 * s, -6 * s,
                        -10 * s);
    std::string out = Path(d, fill, Ink::outline, 2.2 * s);
    if (light) out += Rect(x0 + 1 * s, y0 - 3 * s, 9 * s, 2 * s, light);
    return out;
}

std::string RoundButton(double size, const char* base, const char* shade, const char* light) {
    double c = size / 2, sw = size / 20.0;
    return ShadedEllipse(c, c, c - sw, c - sw, base, shade, light, sw);
}

void Emit(Pictures& out, const std::string& path, Svg& svg) { out.push_back({path, svg.Document()}); }

// One tray mode button in its three looks.
void TrayMode(Pictures& out, const char* name, const char* key, const std::string& emblem) {
    const char* suffix[3] = {"", "_selected", "_disabled"};
    for (int l = 0; l < 3; ++l) {
        Look look = static_cast<Look>(l);
        Svg svg(64, 64);
        svg.defs = kGreyFilter;
        std::string content = ButtonTile(64, look) + Place(6, 5, 0.8, emblem) +
                              KeyBadge(key, look == Look::Disabled);
        svg.Add(look == Look::Disabled ? Greyed(content) : content);
        Emit(out, Fmt("GUI/%s%s.svg", name, suffix[l]), svg);
    }
}

// One skill in its three pictures: not bought, bought, and the row decoration.
void Skill(Pictures& out, const char* name, const std::string& emblem, const char* ring) {
    {
        Svg svg(112, 112);
        svg.defs = kGreyFilter;
        svg.Add(Greyed(ButtonTile(112, Look::Disabled) + Place(16, 14, 1.25, emblem)));
        Emit(out, Fmt("GUI/pu_%s_disabled.svg", name), svg);
    }
    {
        Svg svg(112, 112);
        svg.Add(ButtonTile(112, Look::Selected) + Place(16, 14, 1.25, emblem));
        Emit(out, Fmt("GUI/pu_%s.svg", name), svg);
    }
    {
        Svg svg(112, 112);
        std::string s = Ellipse(56, 56, 53, 53, ring, Ink::outline, 3.5);
        s += Ellipse(56, 56, 44, 44, Ink::cream, Ink::outline, 2.5);
        s += Ellipse(48, 46, 26, 18, Ink::white);
        s += Place(20, 20, 1.12, emblem);
        svg.Add(s);
        Emit(out, Fmt("GUI/pu_%s_dcr.svg", name), svg);
    }
}

// The pointer box is 56 x 120 with the pointer position at its centre (28, 60).
std::string PawHand(double tip_x, double tip_y, const char* fill) {
    std::string s;
    s += Ellipse(tip_x + 5, tip_y + 24, 11, 10, fill, Ink::outline, 2.2);
    s += Line(tip_x, tip_y + 3, tip_x, tip_y + 18, Ink::outline, 8.4);
    s += Line(tip_x, tip_y + 3, tip_x, tip_y + 18, fill, 4.6);
    s += Ellipse(tip_x + 11, tip_y + 17, 3.2, 4, fill, Ink::outline, 1.8);
    s += Ellipse(tip_x + 5, tip_y + 29, 5, 2.5, Ink::pink);
    return s;
}

void Pointers(Pictures& out) {
    {
        Svg svg(56, 120);
        svg.Add(Path("M 28 60 L 28 92 L 35 85.5 L 40.5 97 L 46 94.5 L 40.5 83.5 L 50 82.5 Z",
                     Ink::white, Ink::outline, 2.2));
        svg.Add(Path("M 31 67 L 31 80", "none", Ink::cloud_shade, 2));
        Emit(out, "GUI/cursors/cursor.svg", svg);
    }
    {
        Svg svg(56, 120);
        std::string s = Ellipse(28, 60, 24, 24, "#fff6c0", Ink::gold_shade, 2);
        s += Ellipse(28, 60, 15, 15, "none", Ink::outline, 3);
        s += Ellipse(28, 60, 15, 15, "none", Ink::gold, 1.6);
        s += Path("M 28 36 L 28 50 M 28 70 L 28 84 M 4 60 L 18 60 M 38 60 L 52 60", "none", Ink::outline, 3);
        s += Ellipse(28, 60, 2.5, 2.5, Ink::red, Ink::outline, 1);
        svg.Add(s);
        Emit(out, "GUI/cursors/bait.svg", svg);
    }
    {
        Svg svg(56, 120);
        svg.Add(Place(0, 32, 0.875, ShovelEmblem()));
        Emit(out, "GUI/cursors/build.svg", svg);
    }
    {
        Svg svg(56, 120);
        std::string s = Ellipse(28, 74, 24, 12, Ink::soil, Ink::outline, 2.2);
        s += Ellipse(28, 76, 14, 7, Ink::soil_deep, Ink::outline, 1.6);
        s += Path("M 22 38 L 34 38 L 34 52 L 42 52 L 28 68 L 14 52 L 22 52 Z", Ink::green, Ink::outline, 2.2);
        s += Line(25, 42, 25, 53, Ink::green_light, 2);
        svg.Add(s);
        Emit(out, "GUI/cursors/hole.svg", svg);
    }
    {
        Svg svg(56, 120);
        std::string s = Path("M 40 36 l 3 7 l 7 1 l -5 5 l 1 7 l -6 -4 l -6 4 l 1 -7 l -5 -5 l 7 -1 Z",
                             Ink::gold, Ink::outline, 1.6);
        s += PawHand(28, 60, Ink::white);
        svg.Add(s);
        Emit(out, "GUI/cursors/skill.svg", svg);
    }
    {
        Svg svg(56, 120);
        std::string s = Ellipse(28, 60, 20, 20, Ink::green, Ink::outline, 2.4);
        s += Ellipse(24, 55, 11, 8, Ink::green_light);
        s += Path("M 28 49 L 28 71 M 17 60 L 39 60", "none", Ink::white, 6);
        svg.Add(s);
        Emit(out, "GUI/cursors/spawn.svg", svg);
    }
    {
        // Drawn 15 units below the pointer: the fingertip sits near the top.
        Svg svg(56, 120);
        std::string s = PawHand(24, 10, Ink::white);
        s += Place(26, 30, 0.55, Rotated(25, 14, 30, Carrot()));
        svg.Add(s);
        Emit(out, "GUI/cursors/take.svg", svg);
    }
}

// A wooden plank with a word: the menu's buttons.
std::string Plank(const char* word) {
    std::string s;
    s += Rect(4, 6, 312, 86, Ink::wood_shade, Ink::outline, 5, 18);
    s += Rect(9, 9, 302, 72, Ink::wood, nullptr, 0, 14);
    s += Rect(20, 14, 150, 7, Ink::wood_light, nullptr, 0, 3.5);
    s += Line(30, 62, 110, 62, Ink::wood_shade, 3);
    s += Line(200, 30, 290, 30, Ink::wood_shade, 3);
    s += Ellipse(22, 48, 5, 5, Ink::grey_light, Ink::outline, 2);
    s += Ellipse(298, 48, 5, 5, Ink::grey_light, Ink::outline, 2);
    s += Text(160, 64, 46, "middle", Ink::cream, word, true, Ink::outline, 8);
    return s;
}

} // namespace

void MakeIcons(Pictures& out) {
    TrayMode(out, "move", "R", RunEmblem());
    TrayMode(out, "sacrifice", "B", BaitEmblem());
    TrayMode(out, "build", "G", ShovelEmblem());

    Skill(out, "build", ShovelEmblem(), Ink::wood);
    Skill(out, "eval", CarrotPlusEmblem(), Ink::carrot);
    Skill(out, "evasion", ShieldEmblem(), Ink::blue);
    Skill(out, "progeny", HeartEmblem(), Ink::red);
    Skill(out, "speed", BoltEmblem(), Ink::gold);

    for (int selected = 0; selected < 2; ++selected) {
        // A burrow: a grassy mound with a dark entrance.
        Svg svg(64, 48);
        std::string s;
        if (selected) s += Ellipse(32, 30, 31, 17, Ink::gold_light, Ink::gold_shade, 2.5);
        s += Path("M 5 42 Q 8 12 32 10 Q 56 12 59 42 Z", Ink::soil, Ink::outline, 2.4);
        s += Path("M 7 30 Q 12 13 32 12 Q 50 13 56 26 Q 44 18 32 18 Q 16 18 7 30 Z", Ink::grass);
        s += Path("M 12 20 l 2 -6 l 2 6 M 46 18 l 2 -6 l 2 6", "none", Ink::grass_dark, 1.6);
        s += Path("M 19 42 Q 19 24 32 24 Q 45 24 45 42 Z", Ink::soil_deep, Ink::outline, 2.2);
        s += Path("M 23 42 Q 23 29 32 29 Q 41 29 41 42 Z", Ink::outline);
        s += Line(6, 43, 58, 43, Ink::outline, 2.4);
        if (selected) s += Path("M 54 6 l 2 4 l 4 1 l -4 2 l -2 4 l -2 -4 l -4 -2 l 4 -1 Z", Ink::white, Ink::gold_shade, 1);
        svg.Add(s);
        Emit(out, selected ? "GUI/hole_selected.svg" : "GUI/hole.svg", svg);
    }
    {
        Svg svg(32, 32);
        svg.Add(RoundButton(32, Ink::cream, Ink::parchment, Ink::white));
        svg.Add(Ellipse(16, 16, 6, 6, Ink::grey_light, Ink::outline, 1.6));
        Emit(out, "GUI/target_base.svg", svg);
    }
    {
        Svg svg(32, 32);
        svg.Add(RoundButton(32, Ink::gold, Ink::gold_shade, Ink::gold_light));
        svg.Add(Path("M 9 16 L 14 21 L 23 10", "none", Ink::outline, 5));
        svg.Add(Path("M 9 16 L 14 21 L 23 10", "none", Ink::white, 2.6));
        Emit(out, "GUI/target.svg", svg);
    }
    {
        // A staked-out site: fresh soil, two pegs and a little flag.
        Svg svg(48, 48);
        std::string s = Path("M 3 44 Q 8 26 24 25 Q 40 26 45 44 Z", Ink::soil_light, Ink::outline, 2.2);
        s += Ellipse(20, 33, 8, 3, Ink::soil);
        s += Line(11, 12, 11, 40, Ink::outline, 4.6);
        s += Line(11, 12, 11, 40, Ink::wood_light, 2.2);
        s += Line(37, 22, 37, 40, Ink::outline, 4.6);
        s += Line(37, 22, 37, 40, Ink::wood_light, 2.2);
        s += Path("M 12 12 L 26 16 L 12 21 Z", Ink::red, Ink::outline, 1.6);
        s += Path("M 11 28 Q 24 24 37 28", "none", Ink::gold, 1.6);
        svg.Add(s);
        Emit(out, "GUI/building.svg", svg);
    }
    {
        // Every column is the same, so the bar stretches to any width cleanly.
        Svg svg(32, 8);
        svg.Add(Rect(0, 0, 32, 8, Ink::outline));
        svg.Add(Rect(0, 1, 32, 6, Ink::green));
        svg.Add(Rect(0, 2, 32, 1, Ink::green_light));
        svg.Add(Rect(0, 6, 32, 1, Ink::grass_dark));
        svg.crisp = true;
        Emit(out, "GUI/building_pb.svg", svg);
    }
    {
        Svg svg(32, 32);
        // The game prints the rabbit's price in black on the middle of this button:
        // a cream centre for the number, the plus small on the green ring.
        svg.Add(RoundButton(32, Ink::green, Ink::grass_dark, Ink::green_light));
        svg.Add(Ellipse(16, 17, 8.5, 8.5, Ink::cream, Ink::grass_dark, 1.2));
        svg.Add(Path("M 26 2.5 L 26 9.5 M 22.5 6 L 29.5 6", "none", Ink::outline, 4));
        svg.Add(Path("M 26 3 L 26 9 M 23 6 L 29 6", "none", Ink::white, 2));
        Emit(out, "GUI/add.svg", svg);
    }
    {
        Svg svg(32, 32);
        svg.Add(Place(1, 1, 0.5, Rotated(-14, 14, 30, Carrot())));
        svg.Add(Place(16, 1, 0.5, Rotated(14, 14, 30, Carrot())));
        Emit(out, "GUI/carrots.svg", svg);
    }
    {
        Svg svg(48, 48);
        svg.Add(RoundButton(48, Ink::wood, Ink::wood_shade, Ink::wood_light));
        svg.Add(Group("transform=\"translate(48 0) scale(-1 1)\"", ArrowShape(11, 24, 1.1, Ink::cream, nullptr)));
        Emit(out, "GUI/back.svg", svg);
    }
    {
        Svg svg(48, 48);
        svg.Add(RoundButton(48, Ink::blue, "#2a5f9e", Ink::blue_light));
        svg.Add(Text(24, 35, 30, "middle", Ink::white, "?", true, Ink::outline, 4));
        Emit(out, "GUI/help.svg", svg);
    }
    {
        Svg svg(48, 48);
        svg.Add(RoundButton(48, Ink::gold, Ink::gold_shade, Ink::gold_light));
        svg.Add(Path("M 24 7 l 4.5 9.5 l 10.5 1.2 l -7.8 7.2 l 2.2 10.3 l -9.4 -5.3 l -9.4 5.3 l 2.2 -10.3 l -7.8 -7.2 l 10.5 -1.2 Z",
                     Ink::white, Ink::outline, 2));
        svg.Add(Path("M 24 18 L 24 30 M 19.5 22.5 L 24 18 L 28.5 22.5", "none", Ink::green, 3));
        Emit(out, "GUI/skill.svg", svg);
    }
    {
        Svg svg(32, 32);
        svg.Add(ArrowShape(3, 16, 1.15, Ink::gold, Ink::gold_light));
        Emit(out, "GUI/arrow.svg", svg);
    }
    for (int level = 1; level <= 2; ++level) {
        Svg svg(32, 32);
        svg.Add(Rect(1.5, 5, 29, 22, Ink::cream, Ink::outline, 2, 7));
        svg.Add(Text(16, 23, 16, "middle", level == 1 ? Ink::wood_shade : Ink::red, Fmt("%dx", level)));
        Emit(out, Fmt("GUI/%dx.svg", level), svg);
    }
    {
        Svg svg(72, 72);
        svg.Add(RoundButton(72, Ink::red, "#a52c24", Ink::red_light));
        svg.Add(Path("M 24 24 L 48 48 M 48 24 L 24 48", "none", Ink::outline, 11));
        svg.Add(Path("M 24 24 L 48 48 M 48 24 L 24 48", "none", Ink::white, 6.5));
        Emit(out, "GUI/close.svg", svg);
    }
    {
        // The colony's signpost, with a carrot painted on the board.
        Svg svg(64, 64);
        std::string s = Rect(28, 30, 8, 32, Ink::wood_shade, Ink::outline, 2.2);
        s += Rect(4, 6, 56, 30, Ink::wood, Ink::outline, 2.6, 4);
        s += Rect(8, 9, 30, 3, Ink::wood_light, nullptr, 0, 1.5);
        s += Line(8, 28, 56, 28, Ink::wood_shade, 1.6);
        s += Place(22, 7, 0.45, Rotated(90, 14, 30, Carrot()));
        s += Path("M 14 62 q 4 -8 8 0 M 40 62 q 4 -8 8 0", Ink::grass, Ink::grass_dark, 1.6);
        svg.Add(s);
        Emit(out, "GUI/sign.svg", svg);
    }
    for (const char* word : {"play", "credits", "quit"}) {
        Svg svg(320, 96);
        const char* label = word[0] == 'p' ? "Play" : word[0] == 'c' ? "Credits" : "Quit";
        svg.Add(Plank(label));
        out.push_back({Fmt("panels/menu_%s.svg", word), svg.Document()});
    }
    Pointers(out);
}

} // namespace Art
