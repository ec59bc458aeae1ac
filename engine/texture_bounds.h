// The optional "<path>_bounds" record of the texture store, shared by the game's
// reader and the texture packer: where a picture's visible texels lie, so that a
// sprite need not be rasterised over its transparent padding.
#pragma once

#include <cstdint>

namespace TextureBounds {

// Four 32-bit little-endian numbers x0, y0, x1, y1: the smallest rectangle of
// texels holding every texel whose alpha is above 0, x1 and y1 one past its
// last column and row, rows counted as the "_data" record stores them (row 0
// at t = 0). A picture with no visible texel has 0, 0, 0, 0.
constexpr const char* kSuffix = "_bounds";
constexpr unsigned kBytes = 16;

struct Rect {
    uint32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

inline Rect OfPixels(const unsigned char* rgba, uint32_t w, uint32_t h)
{
    Rect r{w, h, 0, 0};
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if (rgba[(static_cast<uint64_t>(y) * w + x) * 4 + 3] != 0) {
                r.x0 = x < r.x0 ? x : r.x0;
                r.y0 = y < r.y0 ? y : r.y0;
                r.x1 = x + 1 > r.x1 ? x + 1 : r.x1;
                r.y1 = y + 1 > r.y1 ? y + 1 : r.y1;
            }
    return r.x1 == 0 ? Rect{} : r;
}

inline void Encode(const Rect& r, unsigned char* out)
{
    const uint32_t v[4] = {r.x0, r.y0, r.x1, r.y1};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b)
            out[i * 4 + b] = static_cast<unsigned char>(v[i] >> (8 * b));
}

// False when the record cannot describe a picture of w x h texels.
inline bool Decode(const unsigned char* in, uint32_t w, uint32_t h, Rect* r)
{
    uint32_t v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = static_cast<uint32_t>(in[i * 4]) | (static_cast<uint32_t>(in[i * 4 + 1]) << 8) |
               (static_cast<uint32_t>(in[i * 4 + 2]) << 16) | (static_cast<uint32_t>(in[i * 4 + 3]) << 24);
    if (v[0] > v[2] || v[1] > v[3] || v[2] > w || v[3] > h)
        return false;
    *r = Rect{v[0], v[1], v[2], v[3]};
    return true;
}

} // namespace TextureBounds
