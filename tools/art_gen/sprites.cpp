// Animation frames and world sprites: run and wing cycles come from the pose models.
#include "creatures.h"
#include "pictures.h"
#include "svg.h"

namespace Art {

void MakeSprites(Pictures& out) {
    // Files 1..6 run, 7 sits with open eyes, 8 blinks; the same eight carry a carrot.
    for (int carry = 0; carry < 2; ++carry) {
        for (int i = 0; i < 8; ++i) {
            RabbitPose pose;
            pose.carrot = carry != 0;
            if (i < 6) {
                pose.kind = RabbitKind::Run;
                pose.phase = i / 6.0;
            } else {
                pose.kind = RabbitKind::Sit;
                pose.eyes_closed = (i == 7);
            }
            Svg svg(40, 60);
            svg.Add(Rabbit(pose));
            out.push_back({Fmt("animation/%s/%d.svg", carry ? "rabbit_carrot" : "rabbit", i + 1),
                           svg.Document()});
        }
    }
    for (int i = 0; i < 2; ++i) {
        RabbitPose pose;
        pose.kind = i == 0 ? RabbitKind::Dangle : RabbitKind::Kick;
        Svg svg(40, 60);
        svg.Add(Rabbit(pose));
        out.push_back({Fmt("animation/rabbit_taken/%d.svg", i + 1), svg.Document()});
    }
    // The game steps through 29 frames per beat, files 1..29; it shows file 30
    // only when its count lands exactly on the end of a beat, so file 30 is the
    // half step between file 29 and the next beat's file 1.
    for (int i = 0; i < 30; ++i) {
        Svg svg(180, 270);
        svg.Add(Eagle((i < 29 ? i : 28.5) / 29.0));
        out.push_back({Fmt("animation/eagle/%d.svg", i + 1), svg.Document()});
    }
    {
        Svg svg(28, 60);
        svg.Add(Carrot());
        out.push_back({"carrot.svg", svg.Document()});
    }
    {
        // A warm ring on the ground round a bait. The game stretches the picture
        // to 1.15 times the distance the bait shields, so the ring itself marks
        // that distance; a faint light fills it and a thin halo spills past it.
        // The dark orange edge keeps the ring clear on the palest grass.
        const double cx = 232, cy = 20, rx = cx / 1.15, ry = 12;
        Svg svg(464, 40);
        svg.Add(Group("opacity=\"0.3\"", Ellipse(cx, cy, rx, ry, Ink::gold_light)));
        svg.Add(Group("opacity=\"0.45\"", Ellipse(cx, cy, rx + 6, ry + 3, "none", Ink::gold_light, 8)));
        svg.Add(Ellipse(cx, cy, rx, ry, "none", Ink::carrot_shade, 9));
        svg.Add(Ellipse(cx, cy, rx, ry, "none", Ink::gold, 4));
        out.push_back({"glow_area.svg", svg.Document()});
    }
}

} // namespace Art
