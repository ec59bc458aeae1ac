// The polygon around a picture's visible texels: it holds every one of them,
// has at most 8 vertices and is convex, is written only where it clearly beats
// the bounds box, and a hostile record is refused.
#include "engine/database.h"
#include "engine/texture_hull.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Pixels = std::vector<unsigned char>;

Pixels Paint(uint32_t w, uint32_t h, const std::function<bool(int, int)>& visible)
{
    Pixels px(static_cast<size_t>(w) * h * 4, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if (visible(static_cast<int>(x), static_cast<int>(y)))
                px[(y * w + x) * 4 + 3] = static_cast<unsigned char>(1 + (x * 7 + y) % 255);
    return px;
}

// Corners of visible texel squares left outside the polygon, counted without
// any tolerance.
int CornersOutside(const TextureHull::Polygon& p, const Pixels& px, uint32_t w, uint32_t h)
{
    int outside = 0;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            for (int c = 0; c < 4 && px[(y * w + x) * 4 + 3] != 0; ++c) {
                const double cx = x + c % 2, cy = y + c / 2;
                bool in = true;
                for (uint32_t i = 0; i < p.count; ++i) {
                    const uint32_t j = (i + 1) % p.count;
                    in = in && (double(p.x[j]) - p.x[i]) * (cy - p.y[i]) - (double(p.y[j]) - p.y[i]) * (cx - p.x[i]) >= 0;
                }
                outside += in ? 0 : 1;
            }
    return outside;
}

double Area(const TextureHull::Polygon& p)
{
    double twice = 0;
    for (uint32_t i = 0; i < p.count; ++i)
        twice += double(p.x[i]) * p.y[(i + 1) % p.count] - double(p.x[(i + 1) % p.count]) * p.y[i];
    return twice / 2;
}

// A record that reads back as itself, with every visible texel inside and no
// more than 8 vertices; the polygon's share of the bounds box, or -1 with none.
double CheckedShareOfBox(const Pixels& px, uint32_t w, uint32_t h, const std::string& what)
{
    TextureHull::Polygon p, back;
    if (!TextureHull::OfPixels(px.data(), w, h, &p))
        return -1;
    unsigned char raw[TextureHull::kBytes];
    TextureHull::Encode(p, raw);
    EXPECT_TRUE(TextureHull::Decode(raw, w, h, &back) && back.count == p.count) << what;
    EXPECT_TRUE(p.count >= 3 && p.count <= 8) << what << " " << p.count;
    EXPECT_EQ(CornersOutside(p, px, w, h), 0) << what;
    const TextureBounds::Rect b = TextureBounds::OfPixels(px.data(), w, h);
    return Area(p) / (double(b.x1 - b.x0) * (b.y1 - b.y0));
}

TEST(TextureHull, HoldsEveryVisibleTexelAndIsWrittenOnlyWhereItClearlyBeatsTheBox)
{
    unsigned seed = 12345;
    std::vector<std::pair<int, int>> scattered; // 40 points below the diagonal of a 64 x 48 picture
    while (scattered.size() < 40) {
        seed = seed * 1103515245u + 12345u;
        const int x = static_cast<int>(seed >> 16) % 64, y = static_cast<int>(seed >> 8) % 48;
        if (x + y < 48)
            scattered.emplace_back(x, y);
    }
    const struct {
        const char* name;
        uint32_t w, h;
        std::function<bool(int, int)> visible;
        double most; // the largest share of the box allowed; 0: no polygon at all
    } cases[] = {
        {"disc", 32, 32, [](int x, int y) { return std::hypot(x - 15.5, y - 15.5) < 14; }, 0.85},
        {"big disc", 300, 200, [](int x, int y) { return std::hypot(x - 150.5, y - 90.5) < 80; }, 0.85},
        {"diagonal", 40, 40, [](int x, int y) { return x == y; }, 0.15},
        {"steep line", 10, 90, [](int x, int y) { return x == y / 9; }, 0.3},
        {"L", 20, 30, [](int x, int y) { return x < 4 || y < 4; }, 0.7},
        {"diamond touching every side", 24, 16,
         [](int x, int y) { return std::fabs(x - 11.5) / 12 + std::fabs(y - 7.5) / 8 <= 1; }, 0.7},
        {"triangle in a corner", 16, 16, [](int x, int y) { return x + y < 16; }, 0.6},
        {"scattered points", 64, 48,
         [&](int x, int y) {
             for (const auto& s : scattered)
                 if (s.first == x && s.second == y)
                     return true;
             return false;
         },
         0.7},
        {"single texel", 10, 10, [](int x, int y) { return x == 5 && y == 7; }, 0},
        {"fully opaque", 8, 8, [](int, int) { return true; }, 0},
        {"nothing visible", 8, 8, [](int, int) { return false; }, 0},
        {"opaque but a corner", 16, 16, [](int x, int y) { return x + y > 0; }, 0},
    };
    for (const auto& c : cases) {
        const double share = CheckedShareOfBox(Paint(c.w, c.h, c.visible), c.w, c.h, c.name);
        if (c.most == 0)
            EXPECT_EQ(share, -1) << c.name;
        else
            EXPECT_TRUE(share > 0 && share < c.most) << c.name << " " << share;
    }
}

TEST(TextureHull, TheBuiltStoresPolygonsHoldEveryVisibleTexelAndHugTheEagles)
{
    Database db("Data/textures_pack");
    int hulls = 0;
    for (const Database::Key& k : db.records) {
        const std::string label = k.label;
        if (label.size() < 5 || label.compare(label.size() - 5, 5, "_info") != 0)
            continue;
        const std::string key = label.substr(0, label.size() - 5);
        unsigned char info[8];
        ASSERT_TRUE(db.Read(label.c_str(), 8, info));
        const uint32_t w = info[0] | info[1] << 8 | info[2] << 16, h = info[4] | info[5] << 8 | info[6] << 16;
        Pixels px(static_cast<size_t>(w) * h * 4);
        ASSERT_TRUE(db.Read((key + "_data").c_str(), static_cast<unsigned>(px.size()), px.data()));
        unsigned char raw[TextureHull::kBytes];
        TextureHull::Polygon stored, made;
        const bool has = db.Read((key + TextureHull::kSuffix).c_str(), sizeof raw, raw);
        // Written where the maker makes one, as the maker makes it.
        ASSERT_EQ(has, TextureHull::OfPixels(px.data(), w, h, &made)) << key;
        if (!has)
            continue;
        ++hulls;
        ASSERT_TRUE(TextureHull::Decode(raw, w, h, &stored)) << key;
        EXPECT_TRUE(stored.count == made.count && std::equal(made.x, made.x + 8, stored.x) &&
                    std::equal(made.y, made.y + 8, stored.y)) << key;
        EXPECT_EQ(CornersOutside(stored, px, w, h), 0) << key;
        // An eagle's visible texels are 11 to 16 % of its picture and its box 22 to 40 %.
        const TextureBounds::Rect b = TextureBounds::OfPixels(px.data(), w, h);
        if (key.find("animation/eagle/") != std::string::npos) {
            EXPECT_TRUE(Area(stored) < 0.7 * (b.x1 - b.x0) * (b.y1 - b.y0) && Area(stored) < 0.25 * w * h) << key;
        }
    }
    EXPECT_GT(hulls, 30);
}

TEST(TextureHull, HostileRecordsAreRefused)
{
    // A valid octagon in a 16 x 16 picture, then one fault at a time.
    const TextureHull::Polygon good{8, {4, 12, 15, 15, 12, 4, 1, 1}, {1, 1, 4, 12, 15, 15, 12, 4}};
    const float nan = std::nanf(""), inf = INFINITY;
    const struct {
        const char* name;
        std::function<void(TextureHull::Polygon&)> spoil;
        uint32_t count; // written over the count when not 0
    } cases[] = {
        {"none", [](TextureHull::Polygon&) {}, 0},
        {"count 0", [](TextureHull::Polygon& p) { p.count = 0; }, 0},
        {"count 2", [](TextureHull::Polygon& p) { p.count = 2; }, 0},
        {"count 9", [](TextureHull::Polygon&) {}, 9},
        {"count huge", [](TextureHull::Polygon&) {}, 0xfffffff0u},
        {"right of the picture", [](TextureHull::Polygon& p) { p.x[2] = 16.01f; }, 0},
        {"above the picture", [](TextureHull::Polygon& p) { p.y[3] = 16.5f; }, 0},
        {"below row 0", [](TextureHull::Polygon& p) { p.y[0] = -0.25f; }, 0},
        {"not a number", [&](TextureHull::Polygon& p) { p.x[1] = nan; }, 0},
        {"infinite", [&](TextureHull::Polygon& p) { p.y[2] = inf; }, 0},
        {"dented", [](TextureHull::Polygon& p) { p.x[2] = 11, p.y[2] = 5; }, 0},
        {"clockwise", [](TextureHull::Polygon& p) { std::reverse(p.x, p.x + 8), std::reverse(p.y, p.y + 8); }, 0},
        {"three in a line", [](TextureHull::Polygon& p) { p.x[2] = 13.5f, p.y[2] = 6.5f; }, 0},
        {"a vertex twice", [](TextureHull::Polygon& p) { p.x[1] = 4, p.y[1] = 1; }, 0},
        {"a star", [](TextureHull::Polygon& p) { // a pentagon's every second vertex: all left turns, twice round
             p = TextureHull::Polygon{};
             p.count = 5;
             for (int i = 0; i < 5; ++i)
                 p.x[i] = 8 + 6 * std::cos(i * 2 * 1.2566370614359172), p.y[i] = 8 + 6 * std::sin(i * 2 * 1.2566370614359172);
         }, 0},
    };
    for (const auto& c : cases) {
        TextureHull::Polygon p = good, back;
        c.spoil(p);
        unsigned char raw[TextureHull::kBytes];
        TextureHull::Encode(p, raw);
        for (int b = 0; b < 4 && c.count != 0; ++b)
            raw[b] = static_cast<unsigned char>(c.count >> (8 * b));
        EXPECT_EQ(TextureHull::Decode(raw, 16, 16, &back), &c == cases) << c.name;
    }
}

} // namespace
