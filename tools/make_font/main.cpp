// make_font: renders printable ASCII into the 16 x 16 glyph grid the text routines read.
//   make_font <font.ttf> <output> [side]
// Text is drawn with glyph squares twice the size wide but a pen that moves only
// about half a square, so each glyph is fitted into the middle half of its cell.
#include "engine/font_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace {

bool ReadFile(const char* path, std::vector<unsigned char>& out)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size > 0 && size < (64L << 20) && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<size_t>(size));
        ok = std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_font <font.ttf> <output> [side]\n");
        return 2;
    }
    int side = argc == 4 ? std::atoi(argv[3]) : FontFormat::kDefaultSide;
    if (side < 64 || side > 4096 || side % FontFormat::kGridCells != 0) {
        std::fprintf(stderr, "make_font: side must be a multiple of 16 between 64 and 4096\n");
        return 2;
    }
    std::vector<unsigned char> ttf;
    stbtt_fontinfo info;
    if (!ReadFile(argv[1], ttf) || !stbtt_InitFont(&info, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0))) {
        std::fprintf(stderr, "make_font: cannot read the font %s\n", argv[1]);
        return 1;
    }
    const int cell = side / FontFormat::kGridCells;
    // Horizontal room: the pen advance, a little over half a cell, less a hair
    // so neighbours never touch. Vertical room: the cell less a margin.
    const float room_w = cell * 0.5f - 1.0f;
    const float room_h = cell * 0.86f;

    // The scale is set by an ordinary capital so that text reads at a good
    // size; the few glyphs wider than their room (W, M, @...) are narrowed
    // rather than shrinking the whole font for them.
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
    float scale = room_h / static_cast<float>(ascent - descent);
    int hx0, hy0, hx1, hy1;
    if (stbtt_GetCodepointBox(&info, 'H', &hx0, &hy0, &hx1, &hy1) && hx1 > hx0)
        scale = std::min(scale, room_w * 0.85f / static_cast<float>(hx1 - hx0));
    // One baseline for all, centring the font's ascent-to-descent band in the cell.
    const float band = (ascent - descent) * scale;
    const int baseline = static_cast<int>(std::lround((cell - band) * 0.5f + ascent * scale));

    // The grid is composed top row first, as cells are numbered, then stored bottom row first.
    std::vector<unsigned char> alpha(static_cast<size_t>(side) * side, 0);
    for (int c = FontFormat::kFirstChar; c <= FontFormat::kLastChar; ++c) {
        int n = c - FontFormat::kFirstChar;
        int cell_x = (n % FontFormat::kGridCells) * cell, cell_y = (n / FontFormat::kGridCells) * cell;
        float scale_x = scale;
        int x0, y0, x1, y1;
        if (stbtt_GetCodepointBox(&info, c, &x0, &y0, &x1, &y1) && x1 > x0)
            scale_x = std::min(scale, room_w / static_cast<float>(x1 - x0));
        stbtt_GetCodepointBitmapBox(&info, c, scale_x, scale, &x0, &y0, &x1, &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw <= 0 || gh <= 0)
            continue;
        std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh, 0);
        stbtt_MakeCodepointBitmap(&info, glyph.data(), gw, gh, gw, scale_x, scale, c);
        // Ink centred horizontally, sitting on the shared baseline.
        int left = cell_x + (cell - gw) / 2;
        int top = cell_y + baseline + y0;
        for (int y = 0; y < gh; ++y) {
            int py = top + y;
            if (py < cell_y || py >= cell_y + cell)
                continue;
            for (int x = 0; x < gw; ++x) {
                int px = left + x;
                if (px < cell_x || px >= cell_x + cell)
                    continue;
                alpha[static_cast<size_t>(py) * side + px] = glyph[static_cast<size_t>(y) * gw + x];
            }
        }
    }

    std::vector<unsigned char> out(FontFormat::kHeaderSize + static_cast<size_t>(FontFormat::PixelBytes(side, side)));
    FontFormat::PutInt32(out.data(), side);
    FontFormat::PutInt32(out.data() + 4, side);
    unsigned char* px = out.data() + FontFormat::kHeaderSize;
    for (int row = 0; row < side; ++row) {
        const unsigned char* src = &alpha[static_cast<size_t>(side - 1 - row) * side];
        for (int x = 0; x < side; ++x, px += 4) {
            // White everywhere keeps linear filtering from darkening glyph edges.
            px[0] = px[1] = px[2] = 255;
            px[3] = src[x];
        }
    }
    std::string tmp = std::string(argv[2]) + ".partial";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    bool ok = f && std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (f && std::fclose(f) != 0)
        ok = false;
    if (!ok || std::rename(tmp.c_str(), argv[2]) != 0) {
        std::remove(tmp.c_str());
        std::fprintf(stderr, "make_font: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
