// contact_sheet: lays out every picture of the built asset store with its key under it.
//   contact_sheet <manifest> <store base path> <font file> <output.png>
// Pictures are read back from the store (not from their sources), so the sheet
// shows exactly what the game will draw; labels use the game's own font file.
#include "engine/database.h"
#include "engine/font_format.h"
#include "tools/image_io/image_io.h"
#include "tools/pack_textures/manifest.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kColumns = 6;
constexpr int kThumb = 160;      // largest side of a thumbnail
constexpr int kTileW = 300;
constexpr int kGlyphCell = 24;   // font cells drawn at this size
constexpr int kGlyphAdvance = 12;// about 1.025 / 2 of a cell, as the game spaces text
constexpr int kLineHeight = 22;
constexpr int kLabelLines = 2;
constexpr int kTileH = kThumb + 12 + kLabelLines * kLineHeight + 28;

uint32_t GetLE32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool ReadPicture(Database& db, const std::string& key, Image& img)
{
    unsigned char info[8];
    if (!db.Read((key + "_info").c_str(), sizeof(info), info))
        return false;
    uint32_t w = GetLE32(info), h = GetLE32(info + 4);
    if (w == 0 || h == 0 || w > static_cast<uint32_t>(ImageIO::kMaxSide) || h > static_cast<uint32_t>(ImageIO::kMaxSide))
        return false;
    img.w = static_cast<int>(w);
    img.h = static_cast<int>(h);
    img.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    return db.Read((key + "_data").c_str(), static_cast<unsigned>(img.rgba.size()), img.rgba.data());
}

// The font file as an upright image, or an empty one when it cannot be read.
Image ReadFont(const char* path)
{
    Image font;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return font;
    unsigned char head[FontFormat::kHeaderSize];
    if (std::fread(head, 1, sizeof(head), f) == sizeof(head)) {
        int32_t w = FontFormat::GetInt32(head), h = FontFormat::GetInt32(head + 4);
        if (w >= FontFormat::kGridCells && h >= FontFormat::kGridCells && w <= 4096 && h <= 4096) {
            font.rgba.resize(static_cast<size_t>(FontFormat::PixelBytes(w, h)));
            if (std::fread(font.rgba.data(), 1, font.rgba.size(), f) == font.rgba.size()) {
                font.w = w;
                font.h = h;
            } else {
                font.rgba.clear();
            }
        }
    }
    std::fclose(f);
    return font;
}

void Blend(unsigned char* dst, const unsigned char* rgb, int alpha)
{
    for (int c = 0; c < 3; ++c)
        dst[c] = static_cast<unsigned char>((rgb[c] * alpha + dst[c] * (255 - alpha)) / 255);
}

// Draws one character with its lower-left corner at (x, y) (y upward), sampling the font cell.
void DrawChar(Image& sheet, const Image& font, char ch, int x, int y)
{
    int n = static_cast<unsigned char>(ch) - FontFormat::kFirstChar;
    if (font.w == 0 || n <= 0 || n > FontFormat::kLastChar - FontFormat::kFirstChar)
        return;
    int cw = font.w / FontFormat::kGridCells, chh = font.h / FontFormat::kGridCells;
    int col = n % FontFormat::kGridCells, row = n / FontFormat::kGridCells;
    // Cell rows count from the top of the grid; stored rows from the bottom.
    int base_y = font.h - (row + 1) * chh;
    const unsigned char ink[3] = {235, 235, 235};
    for (int gy = 0; gy < kGlyphCell; ++gy) {
        for (int gx = 0; gx < kGlyphCell; ++gx) {
            int sx = col * cw + gx * cw / kGlyphCell, sy = base_y + gy * chh / kGlyphCell;
            int a = font.Pixel(sx, sy)[3];
            int dx = x + gx - kGlyphCell / 4, dy = y + gy - kGlyphCell / 4;
            if (a && dx >= 0 && dy >= 0 && dx < sheet.w && dy < sheet.h)
                Blend(sheet.Pixel(dx, dy), ink, a);
        }
    }
}

void DrawLabel(Image& sheet, const Image& font, const std::string& text, int x, int top_y)
{
    const size_t per_line = (kTileW - 16) / kGlyphAdvance;
    for (int line = 0; line < kLabelLines; ++line) {
        size_t start = line * per_line;
        if (start >= text.size())
            break;
        std::string part = text.substr(start, per_line);
        int y = top_y - (line + 1) * kLineHeight;
        for (size_t i = 0; i < part.size(); ++i)
            DrawChar(sheet, font, part[i], x + static_cast<int>(i) * kGlyphAdvance, y);
    }
}

// A thumbnail with nearest sampling over a checker, so transparency shows;
// small sprites are enlarged (up to 3x) so their pixels can be judged.
void DrawThumb(Image& sheet, const Image& pic, int x, int y)
{
    float k = std::min(3.0f, static_cast<float>(kThumb) / std::max(pic.w, pic.h));
    int tw = std::max(1, static_cast<int>(pic.w * k)), th = std::max(1, static_cast<int>(pic.h * k));
    int ox = x + (kTileW - tw) / 2, oy = y + (kThumb - th) / 2;
    for (int ty = 0; ty < th; ++ty) {
        for (int tx = 0; tx < tw; ++tx) {
            int dx = ox + tx, dy = oy + ty;
            if (dx < 0 || dy < 0 || dx >= sheet.w || dy >= sheet.h)
                continue;
            unsigned char* d = sheet.Pixel(dx, dy);
            unsigned char bg = ((tx / 8 + ty / 8) % 2) ? 120 : 90;
            d[0] = d[1] = d[2] = bg;
            const unsigned char* s = pic.Pixel(std::min(pic.w - 1, static_cast<int>(tx / k)),
                                               std::min(pic.h - 1, static_cast<int>(ty / k)));
            Blend(d, s, s[3]);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: contact_sheet <manifest> <store base path> <font file> <output.png>\n");
        return 2;
    }
    std::vector<Manifest::Entry> entries;
    std::string error;
    if (!Manifest::Read(argv[1], entries, error)) {
        std::fprintf(stderr, "contact_sheet: %s\n", error.c_str());
        return 1;
    }
    if (!Database::FileExist((std::string(argv[2]) + ".db").c_str())) {
        std::fprintf(stderr, "contact_sheet: no store at %s\n", argv[2]);
        return 1;
    }
    Database db(argv[2]);
    Image font = ReadFont(argv[3]);
    if (font.w == 0)
        std::fprintf(stderr, "contact_sheet: no usable font in %s, keys left out\n", argv[3]);

    int rows = (static_cast<int>(entries.size()) + kColumns - 1) / kColumns;
    Image sheet;
    sheet.w = kColumns * kTileW;
    sheet.h = std::max(1, rows) * kTileH;
    sheet.rgba.assign(static_cast<size_t>(sheet.w) * sheet.h * 4, 0);
    for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
        sheet.rgba[i] = sheet.rgba[i + 1] = 40;
        sheet.rgba[i + 2] = 48;
        sheet.rgba[i + 3] = 255;
    }
    int missing = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        int col = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
        int x = col * kTileW;
        int top = sheet.h - row * kTileH; // sheet rows count upward
        Image pic;
        if (ReadPicture(db, entries[i].key, pic)) {
            DrawThumb(sheet, pic, x, top - 6 - kThumb);
        } else {
            ++missing;
            std::fprintf(stderr, "contact_sheet: %s is not in the store\n", entries[i].key.c_str());
        }
        DrawLabel(sheet, font, entries[i].key, x + 6, top - 12 - kThumb);
    }
    if (!WritePNG(argv[4], sheet)) {
        std::fprintf(stderr, "contact_sheet: cannot write %s\n", argv[4]);
        return 1;
    }
    return missing == 0 ? 0 : 1;
}
