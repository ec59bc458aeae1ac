// A tiny SVG writer and the shared palette and shape rules of Burrowmere's art.
#pragma once

#include <string>
#include <vector>

namespace Art {

// The fixed palette: every picture picks from these.
namespace Ink {
extern const char* const outline;
extern const char* const sky_top;
extern const char* const sky_high;
extern const char* const sky_mid;
extern const char* const sky_low;
extern const char* const cloud;
extern const char* const cloud_shade;
extern const char* const hill_far;
extern const char* const hill_near;
extern const char* const grass;
extern const char* const grass_light;
extern const char* const grass_dark;
extern const char* const soil;
extern const char* const soil_light;
extern const char* const soil_dark;
extern const char* const soil_deep;
extern const char* const fur;
extern const char* const fur_light;
extern const char* const fur_shade;
extern const char* const pink;
extern const char* const carrot;
extern const char* const carrot_light;
extern const char* const carrot_shade;
extern const char* const leaf;
extern const char* const leaf_light;
extern const char* const feather;
extern const char* const feather_light;
extern const char* const feather_shade;
extern const char* const white;
extern const char* const gold;
extern const char* const gold_light;
extern const char* const gold_shade;
extern const char* const wood;
extern const char* const wood_light;
extern const char* const wood_shade;
extern const char* const cream;
extern const char* const parchment;
extern const char* const red;
extern const char* const red_light;
extern const char* const blue;
extern const char* const blue_light;
extern const char* const green;
extern const char* const green_light;
extern const char* const grey;
extern const char* const grey_light;
extern const char* const grey_dark;
extern const char* const stone;
} // namespace Ink

// printf-style formatting into a std::string, always bounded.
std::string Fmt(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

struct Pt {
    double x, y;
};

// One picture. `w` x `h` is the pixel size the packer rasterises; the drawing
// space may be scaled with `view_w` x `view_h` (defaults to the pixel size).
struct Svg {
    int w = 0, h = 0;
    double view_w = 0, view_h = 0;
    bool crisp = false;
    std::string defs;
    std::string body;

    Svg(int width, int height);
    Svg(int width, int height, double vw, double vh);
    void Add(const std::string& element);
    std::string Document() const;
};

// Shapes. `stroke` may be null for none; widths are in drawing units.
std::string Ellipse(double cx, double cy, double rx, double ry, const char* fill,
                    const char* stroke = nullptr, double sw = 0);
std::string Rect(double x, double y, double w, double h, const char* fill,
                 const char* stroke = nullptr, double sw = 0, double r = 0);
std::string Poly(const std::vector<Pt>& pts, const char* fill,
                 const char* stroke = nullptr, double sw = 0);
std::string Path(const std::string& d, const char* fill, const char* stroke = nullptr,
                 double sw = 0, const char* extra = "");
std::string Line(double x1, double y1, double x2, double y2, const char* stroke, double sw);
std::string Group(const std::string& attrs, const std::string& content);
std::string Rotated(double deg, double cx, double cy, const std::string& content);

// Text in DejaVu Sans; `anchor` is start, middle or end. With `halo` the
// letters get a dark rim so they read over any background.
std::string Text(double x, double y, double size, const char* anchor, const char* fill,
                 const std::string& text, bool bold = true, const char* halo = nullptr,
                 double halo_w = 0);

// The light falls from the upper left: a blob is its shade colour with the
// outline, the base colour set up and left of centre, and a small highlight.
std::string ShadedEllipse(double cx, double cy, double rx, double ry, const char* base,
                          const char* shade, const char* light, double sw);

// Rounded tile used by every button, with the same outline rule.
std::string Tile(double x, double y, double w, double h, double r, const char* base,
                 const char* shade, const char* light, double sw);

// Escapes &, < and > for text content.
std::string Escape(const std::string& s);

// Writes `doc` to `path`, creating folders; false on failure.
bool WriteFile(const std::string& path, const std::string& doc);

} // namespace Art
