// The optional "<path>_hull" record of the texture store, shared by the game's
// reader and the texture packer: a small convex polygon around a picture's
// visible texels, so that a sprite can be drawn as that polygon rather than as
// its whole quad or its visible-bounds box, which for a round or slanted
// picture is still mostly transparent.
#pragma once

#include "engine/texture_bounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace TextureHull {

// A 32-bit little-endian vertex count n, 3 to 8, then 8 pairs of 32-bit
// little-endian IEEE floats x, y, of which the first n are the vertices and the
// rest are 0. Coordinates are texels, rows counted as the "_data" record stores
// them (row 0 at t = 0), each within the picture, 0 <= x <= w and 0 <= y <= h;
// the polygon is convex and counter-clockwise with x to the right and rows
// going up. Texel (x, y) covers the square [x, x + 1] x [y, y + 1]; the polygon
// holds the whole square of every texel whose alpha is above 0. The packer
// writes the record only where the polygon is clearly smaller than the bounds box.
constexpr const char* kSuffix = "_hull";
constexpr unsigned kMaxVertices = 8;
constexpr unsigned kBytes = 4 + kMaxVertices * 8;
// The polygon is kept only below this share of the bounds box's area: a few
// more triangles must buy a real cut in filled pixels.
constexpr double kMostOfBox = 0.85;

struct Polygon {
    uint32_t count = 0;
    float x[kMaxVertices] = {}, y[kMaxVertices] = {};
};

namespace detail {

struct Point {
    double x, y;
};

inline double Cross(Point o, Point a, Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

inline double Area(const std::vector<Point>& p)
{
    double twice = 0;
    for (size_t i = 0; i < p.size(); ++i)
        twice += p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y;
    return twice / 2;
}

// Counter-clockwise convex hull without collinear vertices (Andrew's monotone chain).
inline std::vector<Point> Hull(std::vector<Point> pts)
{
    std::sort(pts.begin(), pts.end(), [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<Point> h(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && Cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Cross(h[k - 2], h[k - 1], pts[i]) <= 0)
            --k;
        h[k++] = pts[i];
    }
    h.resize(k > 1 ? k - 1 : k);
    return h;
}

// Cuts vertices away until at most `most` are left: each step removes the edge
// whose neighbours, extended to where they meet, add the least area. Edges whose
// neighbours diverge are never removed, nor (when `w` > 0) those whose
// neighbours meet outside [0, w] x [0, h]. False when no edge may go.
inline bool Reduce(std::vector<Point>& p, size_t most, double w, double h)
{
    while (p.size() > most) {
        const size_t n = p.size();
        size_t best = n;
        double best_area = 0;
        Point best_meet{0, 0};
        for (size_t i = 0; i < n; ++i) {
            const Point a = p[(i + n - 1) % n], b = p[i], c = p[(i + 1) % n], d = p[(i + 2) % n];
            const double d1x = b.x - a.x, d1y = b.y - a.y, d2x = d.x - c.x, d2y = d.y - c.y;
            const double denom = d1x * d2y - d1y * d2x;
            if (!(denom > 0))
                continue;
            const double s = ((c.x - b.x) * d2y - (c.y - b.y) * d2x) / denom;
            const Point meet{b.x + d1x * s, b.y + d1y * s};
            if (w > 0 && (meet.x < -1e-9 || meet.y < -1e-9 || meet.x > w + 1e-9 || meet.y > h + 1e-9))
                continue;
            const double added = std::fabs(Cross(b, c, meet)) / 2;
            if (best == n || added < best_area)
                best = i, best_area = added, best_meet = meet;
        }
        if (best == n)
            return false;
        p[best] = best_meet;
        p.erase(p.begin() + static_cast<std::ptrdiff_t>((best + 1) % n));
    }
    return true;
}

// The polygon cut by the picture's rectangle, without repeated or collinear vertices.
inline std::vector<Point> ClipToPicture(const std::vector<Point>& poly, double w, double h)
{
    std::vector<Point> p = poly;
    // Each side of the rectangle as "inside when nx * x + ny * y <= c".
    const double sides[4][3] = {{-1, 0, 0}, {1, 0, w}, {0, -1, 0}, {0, 1, h}};
    for (const auto& s : sides) {
        std::vector<Point> out;
        for (size_t i = 0; i < p.size(); ++i) {
            const Point a = p[i], b = p[(i + 1) % p.size()];
            const double da = s[0] * a.x + s[1] * a.y - s[2], db = s[0] * b.x + s[1] * b.y - s[2];
            if (da <= 0)
                out.push_back(a);
            if ((da < 0 && db > 0) || (da > 0 && db < 0)) {
                const double f = da / (da - db);
                Point m{a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
                // On the side exactly, so the cut edge lies on the rectangle.
                (s[0] != 0 ? m.x : m.y) = s[2];
                out.push_back(m);
            }
        }
        p.swap(out);
    }
    for (size_t i = 0; i < p.size() && p.size() >= 3;) {
        const Point a = p[(i + p.size() - 1) % p.size()], b = p[i], c = p[(i + 1) % p.size()];
        if (std::fabs(Cross(a, b, c)) <= 1e-9 * (1 + std::hypot(c.x - a.x, c.y - a.y)))
            p.erase(p.begin() + static_cast<std::ptrdiff_t>(i)), i = 0;
        else
            ++i;
    }
    return p;
}

// The polygon with every edge moved out by `margin`, except those lying on the
// picture's rectangle, which can go no further.
inline std::vector<Point> Grow(const std::vector<Point>& p, double margin, double w, double h)
{
    if (margin == 0)
        return p;
    const size_t n = p.size();
    auto on_side = [&](Point a, Point b) {
        return (a.x == b.x && (a.x == 0 || a.x == w)) || (a.y == b.y && (a.y == 0 || a.y == h));
    };
    // Each edge as a point and a direction, the point moved along its outer normal.
    std::vector<Point> at(n), dir(n);
    for (size_t i = 0; i < n; ++i) {
        const Point a = p[i], b = p[(i + 1) % n];
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        const double m = on_side(a, b) || len == 0 ? 0 : margin / len;
        at[i] = {a.x + dy * m, a.y - dx * m};
        dir[i] = {dx, dy};
    }
    std::vector<Point> out(n);
    for (size_t i = 0; i < n; ++i) { // vertex i + 1, where edges i and i + 1 meet
        const size_t j = (i + 1) % n;
        const double denom = dir[i].x * dir[j].y - dir[i].y * dir[j].x;
        if (denom == 0)
            return {};
        const double s = ((at[j].x - at[i].x) * dir[j].y - (at[j].y - at[i].y) * dir[j].x) / denom;
        out[j] = {at[i].x + dir[i].x * s, at[i].y + dir[i].y * s};
    }
    return out;
}

} // namespace detail

inline void Encode(const Polygon& p, unsigned char* out)
{
    std::memset(out, 0, kBytes);
    uint32_t v[1 + 2 * kMaxVertices] = {p.count};
    for (uint32_t i = 0; i < p.count && i < kMaxVertices; ++i) {
        std::memcpy(&v[1 + 2 * i], &p.x[i], 4);
        std::memcpy(&v[2 + 2 * i], &p.y[i], 4);
    }
    for (unsigned i = 0; i < 1 + 2 * kMaxVertices; ++i)
        for (int b = 0; b < 4; ++b)
            out[i * 4 + b] = static_cast<unsigned char>(v[i] >> (8 * b));
}

// False when the record is no convex polygon within a picture of w x h texels.
inline bool Decode(const unsigned char* in, uint32_t w, uint32_t h, Polygon* out)
{
    uint32_t v[1 + 2 * kMaxVertices];
    for (unsigned i = 0; i < 1 + 2 * kMaxVertices; ++i)
        v[i] = static_cast<uint32_t>(in[i * 4]) | (static_cast<uint32_t>(in[i * 4 + 1]) << 8) |
               (static_cast<uint32_t>(in[i * 4 + 2]) << 16) | (static_cast<uint32_t>(in[i * 4 + 3]) << 24);
    if (v[0] < 3 || v[0] > kMaxVertices)
        return false;
    // Never more than the record holds, whatever its count says.
    Polygon p;
    p.count = std::min(v[0], kMaxVertices);
    for (uint32_t i = 0; i < p.count; ++i) {
        std::memcpy(&p.x[i], &v[1 + 2 * i], 4);
        std::memcpy(&p.y[i], &v[2 + 2 * i], 4);
        // Written this way round, NaN fails too.
        if (!(p.x[i] >= 0 && p.x[i] <= static_cast<float>(w) && p.y[i] >= 0 && p.y[i] <= static_cast<float>(h)))
            return false;
    }
    // Every turn to the left, and the turns adding up to one round: convex,
    // counter-clockwise and wound once (a star also turns left everywhere).
    double turned = 0;
    for (uint32_t i = 0; i < p.count; ++i) {
        const uint32_t j = (i + 1) % p.count, k = (i + 2) % p.count;
        const double ax = p.x[j] - p.x[i], ay = p.y[j] - p.y[i], bx = p.x[k] - p.x[j], by = p.y[k] - p.y[j];
        const double cross = ax * by - ay * bx;
        if (!(cross > 0))
            return false;
        turned += std::atan2(cross, ax * bx + ay * by);
    }
    if (std::fabs(turned - 6.283185307179586) > 1.0)
        return false;
    *out = p;
    return true;
}

// The polygon for a picture of w x h RGBA texels, or false where it should have
// none: no visible texel, or no polygon of at most 8 vertices clearly smaller
// than the bounds box (a fully opaque picture keeps its quad).
inline bool OfPixels(const unsigned char* rgba, uint32_t w, uint32_t h, Polygon* out)
{
    using detail::Point;
    const TextureBounds::Rect box = TextureBounds::OfPixels(rgba, w, h);
    if (box.x1 == 0)
        return false;
    // A convex polygon holding a row's leftmost and rightmost texel squares holds
    // the whole row, so those corners are all it needs to hold.
    std::vector<Point> corners;
    for (uint32_t y = box.y0; y < box.y1; ++y) {
        const unsigned char* row = rgba + static_cast<uint64_t>(y) * w * 4;
        uint32_t left = box.x1, right = box.x0;
        for (uint32_t x = box.x0; x < box.x1; ++x)
            if (row[x * 4 + 3] != 0)
                left = std::min(left, x), right = x + 1;
        if (right <= left)
            continue;
        for (double cx : {static_cast<double>(left), static_cast<double>(right)})
            for (double cy : {static_cast<double>(y), y + 1.0})
                corners.push_back({cx, cy});
    }
    std::vector<Point> poly = detail::Hull(corners);
    const double fw = w, fh = h;
    if (!detail::Reduce(poly, kMaxVertices, 0, 0))
        return false;
    poly = detail::ClipToPicture(poly, fw, fh);
    if (!detail::Reduce(poly, kMaxVertices, fw, fh) || poly.size() < 3)
        return false;
    // Float vertices may round inwards by a hair, and the picture must lose no
    // texel for it: where the written polygon misses a corner, it is grown by a
    // small margin and written again.
    const double boxed = static_cast<double>(box.x1 - box.x0) * (box.y1 - box.y0);
    for (double margin : {0.0, 1e-5, 1e-4, 1e-3}) {
        const std::vector<Point> grown = detail::ClipToPicture(detail::Grow(poly, margin, fw, fh), fw, fh);
        if (grown.size() < 3 || grown.size() > kMaxVertices)
            continue;
        Polygon p;
        p.count = static_cast<uint32_t>(grown.size());
        for (uint32_t i = 0; i < p.count; ++i)
            p.x[i] = static_cast<float>(grown[i].x), p.y[i] = static_cast<float>(grown[i].y);
        // Checked as read back from the record's bytes, exactly what the game gets.
        unsigned char raw[kBytes];
        Encode(p, raw);
        if (!Decode(raw, w, h, &p))
            continue;
        std::vector<Point> written;
        for (uint32_t i = 0; i < p.count; ++i)
            written.push_back({p.x[i], p.y[i]});
        bool holds = true;
        for (const Point& c : corners)
            for (size_t i = 0; i < written.size() && holds; ++i)
                holds = detail::Cross(written[i], written[(i + 1) % written.size()], c) >= 0;
        if (!holds)
            continue;
        if (!(detail::Area(written) < kMostOfBox * boxed))
            return false;
        *out = p;
        return true;
    }
    return false;
}

} // namespace TextureHull
