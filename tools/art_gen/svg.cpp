// SVG writing helpers and the palette shared by every generated picture.
#include "svg.h"

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace Art {

namespace Ink {
const char* const outline = "#2b1d14";
const char* const sky_top = "#3f8fd6";
const char* const sky_high = "#6fc3f0";
const char* const sky_mid = "#94d5f5";
const char* const sky_low = "#c4ebfa";
const char* const cloud = "#ffffff";
const char* const cloud_shade = "#dceff8";
const char* const hill_far = "#9fcf8a";
const char* const hill_near = "#74b35a";
const char* const grass = "#6cb33f";
const char* const grass_light = "#9bd65a";
const char* const grass_dark = "#3f7f2a";
const char* const soil = "#8b5a2b";
const char* const soil_light = "#a8703a";
const char* const soil_dark = "#6a4220";
const char* const soil_deep = "#4d2f17";
const char* const fur = "#c8ab88";
const char* const fur_light = "#efe0c8";
const char* const fur_shade = "#94775a";
const char* const pink = "#f29bb0";
const char* const carrot = "#f08a24";
const char* const carrot_light = "#ffb85a";
const char* const carrot_shade = "#c25f14";
const char* const leaf = "#4e9a2e";
const char* const leaf_light = "#8fd151";
const char* const feather = "#6e4526";
const char* const feather_light = "#9a6a40";
const char* const feather_shade = "#472a15";
const char* const white = "#fbf6ea";
const char* const gold = "#f2c12e";
const char* const gold_light = "#ffe27a";
const char* const gold_shade = "#c08a16";
const char* const wood = "#a8693a";
const char* const wood_light = "#cf8f55";
const char* const wood_shade = "#7a4824";
const char* const cream = "#fff1cf";
const char* const parchment = "#f6e3b4";
const char* const red = "#d8443a";
const char* const red_light = "#f27a66";
const char* const blue = "#3d84d6";
const char* const blue_light = "#7fb8f0";
const char* const green = "#48a83a";
const char* const green_light = "#8ad66a";
const char* const grey = "#8f8c86";
const char* const grey_light = "#c4c1ba";
const char* const grey_dark = "#5e5b56";
const char* const stone = "#a39e93";
} // namespace Ink

std::string Fmt(const char* fmt, ...) {
    char buffer[4096];
    va_list args;
    va_start(args, fmt);
    int n = vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    va_start(args, fmt);
    vsnprintf(&big[0], big.size(), fmt, args);
    va_end(args);
    big.resize(static_cast<size_t>(n));
    return big;
}

Svg::Svg(int width, int height) : w(width), h(height), view_w(width), view_h(height) {}

Svg::Svg(int width, int height, double vw, double vh)
    : w(width), h(height), view_w(vw), view_h(vh) {}

void Svg::Add(const std::string& element) {
    body += element;
    body += '\n';
}

std::string Svg::Document() const {
    std::string doc = Fmt(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
        "viewBox=\"0 0 %g %g\"%s>\n",
        w, h, view_w, view_h, crisp ? " shape-rendering=\"crispEdges\"" : "");
    if (!defs.empty()) doc += "<defs>\n" + defs + "</defs>\n";
    doc += body;
    doc += "</svg>\n";
    return doc;
}

static std::string StrokeAttrs(const char* stroke, double sw) {
    if (!stroke || sw <= 0) return std::string();
    return Fmt(" stroke=\"%s\" stroke-width=\"%g\" stroke-linejoin=\"round\" stroke-linecap=\"round\"",
               stroke, sw);
}

std::string Ellipse(double cx, double cy, double rx, double ry, const char* fill,
                    const char* stroke, double sw) {
    return Fmt("<ellipse cx=\"%.2f\" cy=\"%.2f\" rx=\"%.2f\" ry=\"%.2f\" fill=\"%s\"%s/>", cx, cy,
               rx, ry, fill, StrokeAttrs(stroke, sw).c_str());
}

std::string Rect(double x, double y, double w, double h, const char* fill, const char* stroke,
                 double sw, double r) {
    return Fmt("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" rx=\"%.2f\" fill=\"%s\"%s/>",
               x, y, w, h, r, fill, StrokeAttrs(stroke, sw).c_str());
}

std::string Poly(const std::vector<Pt>& pts, const char* fill, const char* stroke, double sw) {
    std::string p;
    for (const Pt& q : pts) p += Fmt("%.2f,%.2f ", q.x, q.y);
    return Fmt("<polygon points=\"%s\" fill=\"%s\"%s/>", p.c_str(), fill,
               StrokeAttrs(stroke, sw).c_str());
}

std::string Path(const std::string& d, const char* fill, const char* stroke, double sw,
                 const char* extra) {
    return Fmt("<path d=\"%s\" fill=\"%s\"%s %s/>", d.c_str(), fill,
               StrokeAttrs(stroke, sw).c_str(), extra);
}

std::string Line(double x1, double y1, double x2, double y2, const char* stroke, double sw) {
    return Fmt("<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\"%s/>", x1, y1, x2, y2,
               StrokeAttrs(stroke, sw).c_str());
}

std::string Group(const std::string& attrs, const std::string& content) {
    return "<g " + attrs + ">\n" + content + "</g>";
}

std::string Rotated(double deg, double cx, double cy, const std::string& content) {
    return Group(Fmt("transform=\"rotate(%.2f %.2f %.2f)\"", deg, cx, cy), content);
}

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

std::string Text(double x, double y, double size, const char* anchor, const char* fill,
                 const std::string& text, bool bold, const char* halo, double halo_w) {
    std::string attrs = Fmt(
        "x=\"%.2f\" y=\"%.2f\" font-family=\"DejaVu Sans\" font-size=\"%.2f\" "
        "font-weight=\"%s\" text-anchor=\"%s\"",
        x, y, size, bold ? "bold" : "normal", anchor);
    std::string out;
    if (halo && halo_w > 0) {
        out += Fmt("<text %s fill=\"%s\" stroke=\"%s\" stroke-width=\"%.2f\" "
                   "stroke-linejoin=\"round\">%s</text>",
                   attrs.c_str(), halo, halo, halo_w, Escape(text).c_str());
    }
    out += Fmt("<text %s fill=\"%s\">%s</text>", attrs.c_str(), fill, Escape(text).c_str());
    return out;
}

std::string ShadedEllipse(double cx, double cy, double rx, double ry, const char* base,
                          const char* shade, const char* light, double sw) {
    std::string s = Ellipse(cx, cy, rx, ry, shade, Ink::outline, sw);
    s += Ellipse(cx - rx * 0.12, cy - ry * 0.14, rx * 0.84, ry * 0.8, base);
    if (light) s += Ellipse(cx - rx * 0.38, cy - ry * 0.42, rx * 0.3, ry * 0.22, light);
    return s;
}

std::string Tile(double x, double y, double w, double h, double r, const char* base,
                 const char* shade, const char* light, double sw) {
    double in = sw * 1.2;
    std::string s = Rect(x, y, w, h, shade, Ink::outline, sw, r);
    s += Rect(x + in * 0.5, y + in * 0.5, w - in * 1.6, h - in * 2.2, base, nullptr, 0, r * 0.8);
    if (light) s += Rect(x + in * 1.5, y + in * 1.3, w * 0.45, in * 1.2, light, nullptr, 0, in * 0.6);
    return s;
}

bool WriteFile(const std::string& path, const std::string& doc) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << doc;
    return static_cast<bool>(out);
}

} // namespace Art
