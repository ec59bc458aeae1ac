// Picture loading and writing for the asset tools: SVG and PNG sources become
// upright RGBA images, ready to be stored the way the game draws them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ImageIO {

// An RGBA picture, 4 bytes per pixel, rows packed without padding. Rows are
// stored upright as the game draws them: the first stored row is the bottom
// row of the picture (texture coordinate t = 0).
struct Image {
    int w = 0;
    int h = 0;
    std::vector<unsigned char> rgba;

    unsigned char* Pixel(int x, int y) { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
    const unsigned char* Pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * w + x) * 4]; }
};

// Largest side a source picture may have; anything bigger is refused as absurd.
constexpr int kMaxSide = 8192;

// Reads a PNG (decoded in-process) or an SVG (rasterised at its own size by
// rsvg-convert). The kind is taken from the extension (.png / .svg, any case).
// On failure returns false, leaves `out` empty and puts the reason in `error`
// when it is not null.
bool LoadImageRGBA(const std::string& path, Image& out, std::string* error = nullptr);

// A clearly marked stand-in picture of w x h: a checker inside a dark border
// with a diagonal cross, its colour taken from `seed` (e.g. a hash of the key).
Image MakePlaceholder(int w, int h, uint32_t seed);

// A stable 32-bit hash of a text, for placeholder colours.
uint32_t HashText(const std::string& text);

// Writes the picture as a PNG (top row of the file = last stored row, so the
// PNG looks the way the game shows the picture). Returns false on failure.
bool WritePNG(const std::string& path, const Image& img);

} // namespace ImageIO

// The names the other tools use.
using ImageIO::Image;
using ImageIO::LoadImageRGBA;
using ImageIO::MakePlaceholder;
using ImageIO::WritePNG;
