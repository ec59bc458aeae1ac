// Rabbits, eagles and carrots: one pose model each, so every frame shares a look.
#include "creatures.h"

#include <cmath>
#include <vector>

#include "svg.h"

namespace Art {

namespace {

const double kPi = 3.14159265358979323846;
const double kLine = 1.3;  // outline width of the 40 x 60 sprites

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

// A limb: an outlined capsule from (x1, y1) to (x2, y2) with a paw at the end.
std::string Limb(double x1, double y1, double x2, double y2, double width, const char* fill,
                 const char* paw) {
    std::string s = Line(x1, y1, x2, y2, Ink::outline, width + kLine * 2);
    s += Line(x1, y1, x2, y2, fill, width);
    s += Ellipse(x2, y2, width * 0.62, width * 0.5, paw, Ink::outline, kLine * 0.8);
    return s;
}

std::string Ear(double cx, double cy, double len, double deg, bool far) {
    std::string s = Ellipse(cx, cy, 2.9, len, far ? Ink::fur_shade : Ink::fur, Ink::outline, kLine);
    if (!far) s += Ellipse(cx - 0.2, cy + 0.8, 1.3, len * 0.72, Ink::pink);
    return Rotated(deg, cx, cy + len, s);
}

// Head with its face; (hx, hy) is the centre, the muzzle points left.
std::string Head(double hx, double hy, bool eyes_closed, bool worried) {
    std::string s = ShadedEllipse(hx, hy, 7.0, 6.0, Ink::fur, Ink::fur_shade, Ink::fur_light, kLine);
    s += Ellipse(hx - 4.2, hy + 2.2, 3.2, 2.4, Ink::fur_light);
    s += Ellipse(hx - 6.6, hy + 0.6, 1.3, 1.0, Ink::pink, Ink::outline, 0.6);
    if (eyes_closed) {
        s += Path(Fmt("M %.2f %.2f q 1.6 1.2 3.2 0", hx - 3.4, hy - 0.8), "none", Ink::outline, 1.0);
    } else if (worried) {
        s += Ellipse(hx - 1.8, hy - 1.0, 2.0, 2.3, Ink::white, Ink::outline, 0.7);
        s += Ellipse(hx - 2.4, hy - 0.6, 1.0, 1.3, Ink::outline);
    } else {
        s += Ellipse(hx - 1.8, hy - 0.9, 1.4, 1.8, Ink::outline);
        s += Ellipse(hx - 2.3, hy - 1.6, 0.5, 0.55, Ink::white);
    }
    return s;
}

// A carrot held in the mouth, tip forward and down, leaves behind the cheek. Drawn
// thicker and a little longer about the mouth, so that at game size it still reads as a
// carrot and not as a stick; outlines are thinned to match after the scaling.
std::string MouthCarrot(double mx, double my) {
    const double kx = 1.15, ky = 1.5, cx = mx + 4.6, cy = my + 1.6;
    std::string s;
    s += Rotated(35, mx + 5.0, my + 2.0, Ellipse(mx + 5.0, my + 4.5, 1.1, 2.8, Ink::leaf, Ink::outline, 0.5));
    s += Rotated(70, mx + 5.0, my + 2.0, Ellipse(mx + 5.0, my + 4.5, 1.1, 2.6, Ink::leaf_light, Ink::outline, 0.5));
    std::vector<Pt> root = {{mx + 4.6, my - 0.2}, {mx + 5.0, my + 3.2}, {mx - 4.5, my + 4.4}};
    s += Poly(root, Ink::carrot, Ink::outline, kLine * 0.65);
    s += Line(mx + 1.0, my + 0.2, mx + 1.6, my + 2.2, Ink::carrot_shade, 0.6);
    s += Line(mx - 2.2, my + 1.0, mx - 1.8, my + 2.7, Ink::carrot_shade, 0.6);
    return Group(Fmt("transform=\"translate(%.2f %.2f) scale(%.2f %.2f) translate(%.2f %.2f)\"", cx, cy, kx, ky, -cx, -cy), s);
}

std::string RunningRabbit(const RabbitPose& pose) {
    double a = 2 * kPi * pose.phase;
    double s = std::cos(a);            // 1 stretched, -1 gathered
    double t = (s + 1) * 0.5;
    double bob = 2.2 * std::sin(a);
    double bx = 23, by = 42.0 - bob;
    double rx = Lerp(9.0, 12.0, t), ry = Lerp(8.8, 7.2, t);
    double tilt = Lerp(-12, 4, t);

    std::string out;
    // Far legs first, a step behind the near ones.
    double s2 = std::cos(a + 0.6), t2 = (s2 + 1) * 0.5;
    {
        double fa = (-48 * s2 + 10) * kPi / 180;
        double sx = bx - rx * 0.5 + 1.5, sy = by + ry * 0.35;
        out += Limb(sx, sy, sx + 9.5 * std::sin(fa), sy + 9.5 * std::cos(fa), 2.4, Ink::fur_shade, Ink::fur_shade);
        double ha = Lerp(168, 30, t2) * kPi / 180;
        double hx = bx + rx * 0.5 + 1.5, hy = by + ry * 0.55;
        out += Rotated(ha * 180 / kPi, hx + 5 * std::cos(ha), hy + 5 * std::sin(ha) + 2,
                       Ellipse(hx + 5 * std::cos(ha), hy + 5 * std::sin(ha) + 2, 5.5, 2.0,
                               Ink::fur_shade, Ink::outline, kLine));
    }
    // Ears, far then near, swept back further when the body stretches.
    double hx = bx - rx * 0.82, hy = by - ry * 0.72;
    double ear_deg = Lerp(14, 38, t);
    out += Ear(hx + 5.0, hy - 10.0, 9.0, ear_deg + 10, true);
    // Body, tail and thigh.
    std::string body;
    body += Ellipse(bx + rx * 0.92, by - ry * 0.35, 3.4, 3.2, Ink::white, Ink::outline, kLine);
    body += ShadedEllipse(bx, by, rx, ry, Ink::fur, Ink::fur_shade, Ink::fur_light, kLine);
    body += Ellipse(bx - rx * 0.2, by + ry * 0.45, rx * 0.55, ry * 0.32, Ink::fur_light);
    out += Rotated(tilt, bx, by, body);
    double thx = bx + rx * 0.45, thy = by + ry * 0.2;
    out += ShadedEllipse(thx, thy, 6.0, 5.6, Ink::fur, Ink::fur_shade, nullptr, kLine);
    // Near hind foot: forward under the body when gathered, pushed back when stretched.
    double ha = Lerp(172, 28, t) * kPi / 180;
    double heel_x = thx + 1.0, heel_y = thy + 4.0;
    double fx = heel_x + 5.2 * std::cos(ha), fy = heel_y + 5.2 * std::sin(ha);
    out += Rotated(ha * 180 / kPi, fx, fy,
                   Ellipse(fx, fy, 6.2, 2.2, Ink::fur, Ink::outline, kLine) +
                       Ellipse(fx, fy + 0.8, 4.6, 0.8, Ink::fur_light));
    // Near front leg: reaching forward when stretched, tucked back when gathered.
    double fa = (-50 * s + 8) * kPi / 180;
    double sx = bx - rx * 0.5, sy = by + ry * 0.35;
    out += Limb(sx, sy, sx + 10 * std::sin(fa), sy + 10 * std::cos(fa), 2.8, Ink::fur, Ink::fur_light);
    // Head and near ear last, so the face stays on top.
    out += Ear(hx + 2.8, hy - 10.5, 9.0, ear_deg, false);
    out += Head(hx, hy, pose.eyes_closed, false);
    if (pose.carrot) out += MouthCarrot(hx - 5.5, hy + 3.2);
    return out;
}

std::string SittingRabbit(const RabbitPose& pose) {
    std::string out;
    double hx = 15.5, hy = 29.0;
    out += Ear(21.0, 13.0, 9.5, 16, true);
    out += Ellipse(33.0, 51.0, 3.4, 3.2, Ink::white, Ink::outline, kLine);
    out += ShadedEllipse(24.0, 44.0, 9.6, 11.5, Ink::fur, Ink::fur_shade, Ink::fur_light, kLine);
    out += Ellipse(19.5, 47.0, 4.5, 7.0, Ink::fur_light);
    out += ShadedEllipse(27.5, 50.0, 7.8, 7.2, Ink::fur, Ink::fur_shade, nullptr, kLine);
    out += Ellipse(22.0, 56.8, 8.5, 2.6, Ink::fur, Ink::outline, kLine);
    out += Ellipse(21.0, 57.6, 6.0, 0.9, Ink::fur_light);
    out += Ellipse(15.5, 53.5, 2.6, 3.4, Ink::fur_light, Ink::outline, kLine);
    out += Ellipse(12.0, 54.0, 2.4, 3.2, Ink::fur_light, Ink::outline, kLine);
    out += Ear(17.5, 12.5, 9.5, 6, false);
    out += Head(hx, hy, pose.eyes_closed, false);
    if (pose.carrot) out += MouthCarrot(hx - 5.5, hy + 3.2);
    return out;
}

// Caught: hanging by the scruff; `kick` spreads the legs and flares the ears.
std::string HangingRabbit(bool kick) {
    std::string out;
    double hx = 15.0, hy = 22.0;
    double ear = kick ? -28 : 62;
    out += Ear(20.0, 8.0, 8.5, ear + 12, true);
    out += Ellipse(30.5, 44.0, 3.2, 3.0, Ink::white, Ink::outline, kLine);
    // Far legs.
    if (kick) {
        out += Limb(24, 48, 34, 56, 2.4, Ink::fur_shade, Ink::fur_shade);
        out += Limb(17, 40, 8, 46, 2.2, Ink::fur_shade, Ink::fur_shade);
    } else {
        out += Limb(25, 48, 27, 57, 2.4, Ink::fur_shade, Ink::fur_shade);
        out += Limb(17, 41, 16, 50, 2.2, Ink::fur_shade, Ink::fur_shade);
    }
    out += ShadedEllipse(23.0, 37.0, 8.0, 12.5, Ink::fur, Ink::fur_shade, Ink::fur_light, kLine);
    out += Ellipse(19.5, 39.0, 3.5, 7.5, Ink::fur_light);
    if (kick) {
        out += Rotated(-35, 30, 52, Ellipse(30, 52, 2.6, 6.5, Ink::fur, Ink::outline, kLine));
        out += Limb(18, 40, 7, 37, 2.8, Ink::fur, Ink::fur_light);
    } else {
        out += Ellipse(23.5, 53.0, 2.8, 6.5, Ink::fur, Ink::outline, kLine);
        out += Limb(17.5, 41, 15.5, 51, 2.8, Ink::fur, Ink::fur_light);
    }
    out += Ear(17.0, 8.5, 8.5, ear, false);
    out += Head(hx, hy, false, true);
    if (kick) {
        out += Path("M 3 30 q -2 3 0 6 M 36 28 q 2 3 0 6", "none", Ink::outline, 0.9);
    }
    return out;
}

} // namespace

std::string Rabbit(const RabbitPose& pose) {
    switch (pose.kind) {
    case RabbitKind::Run: return RunningRabbit(pose);
    case RabbitKind::Sit: return SittingRabbit(pose);
    case RabbitKind::Dangle: return HangingRabbit(false);
    case RabbitKind::Kick: return HangingRabbit(true);
    }
    return std::string();
}

namespace {

// One wing seen from slightly above: `up` is the beat angle in degrees
// (positive raised), `near` the wing toward the viewer.
std::string Wing(double sx, double sy, double up, bool near) {
    const double span = 88.0;
    double th = up * kPi / 180;
    double depth = near ? 1.0 : -1.0;
    auto at = [&](double u, double v) {
        double z = depth * u * span * std::cos(th);
        double x = sx + v + u * 16.0;
        double y = sy - u * span * std::sin(th) + 0.38 * z;
        return Pt{x, y};
    };
    // Leading edge out to the tip, the primary fingers, then the scalloped trailing edge.
    std::vector<Pt> shape;
    for (int i = 0; i <= 6; ++i) {
        double u = i / 6.0;
        shape.push_back(at(u * 0.82, -10.0 + 10.0 * u - 4.0 * u * u));
    }
    const int fingers = 5;
    for (int f = 0; f < fingers; ++f) {
        double k = f / double(fingers - 1);
        double v = -2.0 + k * 24.0;
        shape.push_back(at(1.0 - 0.14 * k * k, v));
        shape.push_back(at(0.8 - 0.05 * k, v + 3.5));
    }
    for (int i = 0; i <= 5; ++i) {
        double u = 0.72 * (1.0 - i / 5.0);
        double v = 32.0 + 10.0 * (1.0 - u) + ((i % 2) ? 3.0 : 0.0);
        shape.push_back(at(u, v));
    }
    const char* base = near ? Ink::feather : Ink::feather_shade;
    std::string s = Poly(shape, base, Ink::outline, 2.4);
    std::vector<Pt> coverts;
    for (int i = 0; i <= 5; ++i) coverts.push_back(at(0.7 * i / 5.0, -4.0 + 6.0 * i / 5.0));
    for (int i = 5; i >= 0; --i) coverts.push_back(at(0.7 * i / 5.0, 12.0 + 6.0 * (1.0 - i / 5.0)));
    s += Poly(coverts, near ? Ink::feather_light : Ink::feather, nullptr, 0);
    for (int f = 0; f < fingers; ++f) {
        double k = f / double(fingers - 1);
        Pt a = at(0.84 - 0.05 * k, -2.0 + k * 24.0 + 1.0);
        Pt b = at(1.0 - 0.14 * k * k, -2.0 + k * 24.0);
        s += Line(a.x, a.y, b.x, b.y, Ink::outline, 1.6);
    }
    return s;
}

} // namespace

std::string Eagle(double phase) {
    // A quick downstroke and a slower recovery; phase 0 and 1 are the same pose.
    double q = phase + 0.1 * std::sin(2 * kPi * phase);
    double up = 6.0 + 52.0 * std::cos(2 * kPi * q);
    double bob = 3.0 * std::sin(2 * kPi * q);
    double sx = 88, sy = 98 + bob;
    std::string out;
    out += Wing(sx + 6, sy - 4, up, false);
    // Tail fan behind the body.
    out += Poly({{118, sy + 4}, {160, sy - 4}, {166, sy + 8}, {162, sy + 20}, {118, sy + 16}},
                Ink::white, Ink::outline, 2.4);
    out += Line(130, sy + 10, 160, sy + 8, Ink::cloud_shade, 1.4);
    // Legs reach down, talons open, ready to grip a rabbit's scruff.
    for (int leg = 0; leg < 2; ++leg) {
        double lx = 98 + leg * 8.0, ly = sy + 16;
        const char* fill = leg ? Ink::gold : Ink::gold_shade;
        out += Line(lx, ly, lx + 4, ly + 14, Ink::outline, 7.0);
        out += Line(lx, ly, lx + 4, ly + 14, fill, 4.2);
        out += Path(Fmt("M %.1f %.1f q -5 2 -6 8 M %.1f %.1f q 1 5 -1 9 M %.1f %.1f q 5 2 5 8",
                        lx + 4, ly + 14, lx + 4, ly + 14, lx + 4, ly + 14),
                    "none", Ink::outline, 2.2);
        out += Ellipse(lx, ly - 2, 6, 7, Ink::feather_shade, Ink::outline, 2.0);
    }
    // Body, then head and hooked beak, facing left.
    std::string body = ShadedEllipse(sx + 10, sy + 6, 36, 16, Ink::feather, Ink::feather_shade,
                                     Ink::feather_light, 2.4);
    out += Rotated(-6, sx + 10, sy + 6, body);
    out += Ellipse(sx - 22, sy - 6, 12, 11, Ink::white, Ink::outline, 2.4);
    out += ShadedEllipse(sx - 30, sy - 12, 13, 11, Ink::white, Ink::cloud_shade, nullptr, 2.4);
    out += Path(Fmt("M %.1f %.1f L %.1f %.1f Q %.1f %.1f %.1f %.1f L %.1f %.1f Z", sx - 40, sy - 16,
                    sx - 54, sy - 14, sx - 60, sy - 10, sx - 54, sy - 3, sx - 40, sy - 7),
                Ink::gold, Ink::outline, 2.2);
    out += Line(sx - 50, sy - 10, sx - 42, sy - 10, Ink::gold_shade, 1.4);
    out += Ellipse(sx - 35, sy - 15, 3.0, 3.2, Ink::outline);
    out += Ellipse(sx - 36, sy - 16.2, 1.0, 1.0, Ink::white);
    out += Path(Fmt("M %.1f %.1f l 9 2", sx - 40, sy - 20), "none", Ink::outline, 2.0);
    out += Wing(sx, sy, up, true);
    return out;
}

std::string Carrot() {
    std::string s;
    s += Rotated(-22, 12, 16, Ellipse(12, 10, 2.6, 7.5, Ink::leaf, Ink::outline, kLine));
    s += Rotated(20, 16, 16, Ellipse(16, 9, 2.6, 7.5, Ink::leaf, Ink::outline, kLine));
    s += Ellipse(14, 8, 2.6, 8.0, Ink::leaf_light, Ink::outline, kLine);
    s += Path("M 5 19 Q 14 14 23 19 Q 24 26 17 46 Q 15 57 13.5 58 Q 12 57 11 46 Q 4 26 5 19 Z",
              Ink::carrot_shade, Ink::outline, kLine * 1.2);
    s += Path("M 6.5 20 Q 12 17 18 19.5 Q 18 28 14 46 Q 13.5 52 13 53 Q 12 47 10 40 Q 5.5 26 6.5 20 Z",
              Ink::carrot);
    s += Path("M 8.5 21.5 Q 9 30 11 37", "none", Ink::carrot_light, 1.8);
    s += Line(15, 27, 20, 26.5, Ink::carrot_shade, 1.0);
    s += Line(9, 33, 13, 33.5, Ink::carrot_shade, 1.0);
    s += Line(14, 40, 17, 39.5, Ink::carrot_shade, 1.0);
    return s;
}

} // namespace Art
