// make_font: renders printable ASCII from a monospaced face into the 16 x 16 glyph grid the text routine reads.
//   make_font <font.ttf> <output> [side]
// Text is drawn with glyph squares a whole cell wide but a pen that moves only
// about half a cell, so every glyph, its dark rim included, is fitted into the
// middle half of its cell; a monospaced face fills that slot evenly, letter
// after letter. The rim is baked into colour and alpha so that white or tinted
// text reads on sky, grass and wood alike.
#include "engine/font_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace {

// Sizes as shares of a cell, so any grid side gives the same look.
// The pen advance, 1.025 times half a glyph square.
constexpr float kPenShare = 0.5125f;
// The rim around the ink. On a wide screen a cell shows nearly twice as wide as
// it is tall, so the rim is thicker across the rows to look even there.
constexpr float kRimX = 1.5f / 32.0f;
constexpr float kRimY = 2.25f / 32.0f;
// How dark the rim is: nearly opaque, so that black text (the rabbit price)
// stays a clean shape rather than a blot.
constexpr float kRimOpacity = 0.85f;
// Clear room between the rim and the cell's top and bottom, so linear filtering
// never pulls a neighbour's ink into a glyph.
constexpr float kClear = 1.0f / 32.0f;
// Each texel is worked out from a grid of this many samples a side.
constexpr int kSupersample = 4;

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

// Squared distance transform along one line (Felzenszwalb and Huttenlocher):
// d[p] = min over q of f[q] + (w * (p - q))^2, with samples `stride` apart.
void DistanceLine(float* line, int n, int stride, float w, std::vector<float>& f, std::vector<int>& v,
                  std::vector<float>& z)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (int i = 0; i < n; ++i)
        f[i] = line[i * stride];
    const float w2 = w * w;
    auto meet = [&](int q, int p) { // where the parabolas rooted at q and p cross
        return ((f[q] + w2 * q * q) - (f[p] + w2 * p * p)) / (2.0f * w2 * (q - p));
    };
    int k = -1;
    for (int q = 0; q < n; ++q) {
        if (f[q] == inf)
            continue;
        float s = -inf;
        while (k >= 0 && (s = meet(q, v[k])) <= z[k])
            --k;
        ++k;
        v[k] = q;
        z[k] = k == 0 ? -inf : s;
        z[k + 1] = inf;
    }
    for (int p = 0, j = 0; p < n; ++p) {
        if (k < 0) {
            line[p * stride] = inf;
            continue;
        }
        while (z[j + 1] < p)
            ++j;
        float d = w * static_cast<float>(p - v[j]);
        line[p * stride] = d * d + f[v[j]];
    }
}

// Squared distance from every sample to the nearest inked one, the axes weighted
// so that the rim's edge lies at distance 1.
std::vector<float> RimDistance(const std::vector<unsigned char>& coverage, int side, float wx, float wy)
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> d(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i)
        d[i] = coverage[i] >= 128 ? 0.0f : inf;
    std::vector<float> f(side), z(side + 1);
    std::vector<int> v(side);
    for (int x = 0; x < side; ++x)
        DistanceLine(&d[x], side, side, wy, f, v, z);
    for (int y = 0; y < side; ++y)
        DistanceLine(&d[static_cast<size_t>(y) * side], side, 1, wx, f, v, z);
    return d;
}

struct Face {
    stbtt_fontinfo info;
    float scale_x = 0, scale_y = 0;
    int baseline = 0; // supersampled rows from the top of a cell
};

// One scale for every glyph, so the set stays even: the widest glyph just fills
// the pen's slot, the tallest and the deepest just fit the cell's height.
bool Measure(Face& face, int cell)
{
    int widest = 0, top = 0, bottom = 0;
    for (int c = FontFormat::kFirstChar + 1; c <= FontFormat::kLastChar; ++c) {
        int x0, y0, x1, y1;
        if (stbtt_GetCodepointBox(&face.info, c, &x0, &y0, &x1, &y1) == 0)
            continue;
        widest = std::max(widest, x1 - x0);
        top = std::max(top, y1);
        bottom = std::min(bottom, y0);
    }
    if (widest <= 0 || top <= bottom)
        return false;
    // A texel to spare between neighbouring rims.
    const float room_w = cell * (kPenShare - 2.0f * kRimX) - 1.0f;
    const float room_h = cell * (1.0f - 2.0f * (kRimY + kClear));
    face.scale_x = room_w / static_cast<float>(widest) * kSupersample;
    face.scale_y = room_h / static_cast<float>(top - bottom) * kSupersample;
    face.baseline = static_cast<int>(std::lround((cell * (kRimY + kClear) * kSupersample) + top * face.scale_y));
    return true;
}

// Renders character c into one cell of `rgba` (cells numbered from the top-left).
void DrawGlyph(const Face& face, int c, int cell, int side, std::vector<unsigned char>& rgba)
{
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBox(&face.info, c, face.scale_x, face.scale_y, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0, gh = y1 - y0;
    const int big = cell * kSupersample;
    if (gw <= 0 || gh <= 0 || gw > big || gh > big)
        return;
    std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh, 0);
    stbtt_MakeCodepointBitmap(&face.info, glyph.data(), gw, gh, gw, face.scale_x, face.scale_y, c);
    // Ink centred across the cell, standing on the shared baseline.
    std::vector<unsigned char> ink(static_cast<size_t>(big) * big, 0);
    const int left = (big - gw) / 2, top = face.baseline + y0;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x)
            if (top + y >= 0 && top + y < big)
                ink[static_cast<size_t>(top + y) * big + left + x] = glyph[static_cast<size_t>(y) * gw + x];

    const float rim_x = kRimX * big, rim_y = kRimY * big;
    const std::vector<float> dist = RimDistance(ink, big, 1.0f / rim_x, 1.0f / rim_y);
    // The rim fades out over about one sample inside its edge.
    const float soft = std::sqrt(rim_x * rim_y);
    const int n = c - FontFormat::kFirstChar;
    const int cell_x = (n % FontFormat::kGridCells) * cell, cell_y = (n / FontFormat::kGridCells) * cell;
    for (int ty = 0; ty < cell; ++ty) {
        for (int tx = 0; tx < cell; ++tx) {
            // Body over rim, averaged over the texel's samples with premultiplied alpha.
            float white = 0, alpha = 0;
            for (int sy = 0; sy < kSupersample; ++sy) {
                for (int sx = 0; sx < kSupersample; ++sx) {
                    size_t i = static_cast<size_t>(ty * kSupersample + sy) * big + tx * kSupersample + sx;
                    float body = ink[i] / 255.0f;
                    float rim = std::clamp((1.0f - std::sqrt(dist[i])) * soft, 0.0f, 1.0f) * kRimOpacity;
                    white += body;
                    alpha += body + (1.0f - body) * rim;
                }
            }
            white /= kSupersample * kSupersample;
            alpha /= kSupersample * kSupersample;
            unsigned char* px = &rgba[(static_cast<size_t>(cell_y + ty) * side + cell_x + tx) * 4];
            const unsigned char grey = alpha > 0 ? static_cast<unsigned char>(std::lround(255.0f * white / alpha)) : 0;
            px[0] = px[1] = px[2] = grey;
            px[3] = static_cast<unsigned char>(std::lround(255.0f * alpha));
        }
    }
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
    Face face;
    const int cell = side / FontFormat::kGridCells;
    if (!ReadFile(argv[1], ttf) || !stbtt_InitFont(&face.info, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0)) ||
        !Measure(face, cell)) {
        std::fprintf(stderr, "make_font: cannot read the font %s\n", argv[1]);
        return 1;
    }

    // The grid is composed top row first, as cells are numbered, then stored
    // bottom row first. Clear texels are black, so filtering darkens toward the rim.
    std::vector<unsigned char> grid(static_cast<size_t>(side) * side * 4, 0);
    for (int c = FontFormat::kFirstChar + 1; c <= FontFormat::kLastChar; ++c)
        DrawGlyph(face, c, cell, side, grid);

    std::vector<unsigned char> out(FontFormat::kHeaderSize + static_cast<size_t>(FontFormat::PixelBytes(side, side)));
    FontFormat::PutInt32(out.data(), side);
    FontFormat::PutInt32(out.data() + 4, side);
    const size_t row_bytes = static_cast<size_t>(side) * 4;
    for (int row = 0; row < side; ++row)
        std::copy_n(&grid[static_cast<size_t>(side - 1 - row) * row_bytes], row_bytes,
                    out.data() + FontFormat::kHeaderSize + row * row_bytes);
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
