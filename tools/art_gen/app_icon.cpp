// The game's icon for the desktop's menus: a rabbit by its burrow with a carrot,
// on a round patch of sky and meadow, bold enough to read at 16 pixels.
#include "creatures.h"
#include "pictures.h"
#include "svg.h"

namespace Art {

void MakeAppIcon(Pictures& out) {
    // Drawn in a 64-unit box; the desktop rasterises it at every size it needs.
    Svg svg(256, 256, 64, 64);
    std::string s;
    s += Ellipse(32, 32, 30, 30, Ink::sky_mid, Ink::outline, 2.5);
    s += Ellipse(40, 14, 9, 3.5, Ink::cloud);
    s += Path("M 3.1 40 Q 32 27 60.9 40 A 30 30 0 0 1 3.1 40 Z", Ink::grass);
    s += Path("M 6 47 Q 32 37 58 47 A 30 30 0 0 1 6 47 Z", Ink::grass_dark);
    s += Ellipse(42, 47, 11, 6, Ink::soil_deep, Ink::outline, 1.6);
    s += Ellipse(42, 48, 7.5, 3.6, Ink::outline);
    s += Group("transform=\"translate(46 19) rotate(14 5.9 12.6) scale(0.42)\"", Carrot());
    RabbitPose pose;
    pose.kind = RabbitKind::Sit;
    s += Group("transform=\"translate(6 7.5) scale(0.8)\"", Rabbit(pose));
    s += Ellipse(32, 32, 30, 30, "none", Ink::outline, 2.5);
    svg.Add(s);
    out.push_back({"icon/burrowmere.svg", svg.Document()});
}

} // namespace Art
