// Layout of the bitmap font file "Data/font", shared by the game's loader and the font maker.
#pragma once

#include <cstdint>

namespace FontFormat {

// int32 LE width, int32 LE height, then width * height RGBA pixels, the first
// stored row being texture row t = 0 (the bottom of the glyph grid).
constexpr int kHeaderSize = 8;
constexpr int kBytesPerPixel = 4;
// The grid: 16 x 16 cells, character code c in cell c - kFirstChar, cells
// numbered from the top-left, row by row.
constexpr int kGridCells = 16;
constexpr int kFirstChar = 32;
constexpr int kLastChar = 126;
// The size the font maker writes.
constexpr int kDefaultSide = 512;

inline void PutInt32(unsigned char* p, int32_t v)
{
    uint32_t u = static_cast<uint32_t>(v);
    p[0] = static_cast<unsigned char>(u);
    p[1] = static_cast<unsigned char>(u >> 8);
    p[2] = static_cast<unsigned char>(u >> 16);
    p[3] = static_cast<unsigned char>(u >> 24);
}

inline int32_t GetInt32(const unsigned char* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

// Bytes of pixel data a header promises, in 64 bits so no size can wrap.
inline int64_t PixelBytes(int32_t width, int32_t height)
{
    return static_cast<int64_t>(width) * height * kBytesPerPixel;
}

} // namespace FontFormat
