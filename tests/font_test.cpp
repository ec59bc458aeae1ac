// The built font loads, and every glyph sits rimmed in the pen's slot of its cell on one baseline;
// a font file is believed only as far as the file and the driver hold it.
#include "engine/draw.h"
#include "engine/font_format.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

TEST(BuiltFont, LoadsAndEveryGlyphSitsRimmedInThePensSlotOfItsCell)
{
    bm::EnsureGlContext();
    ASSERT_TRUE(LoadFont("Data/font"));
    std::ifstream in("Data/font", std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int side = 512, cell = side / 16;
    ASSERT_EQ(static_cast<int64_t>(bytes.size()), FontFormat::kHeaderSize + FontFormat::PixelBytes(side, side));
    const float slot = cell * 1.025f / 2; // how far the pen moves between glyphs
    int widest = 0, top = cell, deepest = 0, foot[256] = {};
    for (int n = 0; n < 256; ++n) {
        int x0 = cell, x1 = -1, y0 = cell, body = 0, rim = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) { // y from the cell's top; the file stores the bottom row first
                const unsigned char* p = &bytes[8 + ((side - 1 - n / 16 * cell - y) * side + n % 16 * cell + x) * 4];
                // Clear texels are black, so filtering darkens toward the rim.
                EXPECT_TRUE(p[3] > 0 || p[0] + p[1] + p[2] == 0) << n;
                if (p[3] > 0)
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), foot[n] = y;
                body += p[3] == 255 && p[0] == 255;
                rim += p[3] >= 200 && p[0] <= 64;
            }
        const bool printable = n > 0 && n <= FontFormat::kLastChar - FontFormat::kFirstChar;
        ASSERT_EQ(x1 >= 0, printable) << "cell " << n;
        if (!printable)
            continue;
        EXPECT_TRUE(body > 0 && rim > 0) << "a white glyph with a dark rim, cell " << n;
        EXPECT_LE(x1 + 1 - x0, slot) << "cell " << n;
        EXPECT_NEAR((x0 + x1 + 1) / 2.0, cell / 2.0, 1.0) << "centred, cell " << n;
        EXPECT_TRUE(y0 >= 1 && foot[n] <= cell - 2) << "the cell's edge rows stay clear, cell " << n;
        widest = std::max(widest, x1 + 1 - x0), top = std::min(top, y0), deepest = std::max(deepest, foot[n]);
    }
    EXPECT_GE(widest, slot - 2) << "the widest glyph fills the slot";
    EXPECT_TRUE(top <= 2 && deepest >= cell - 3) << "the tallest and deepest fill the height";
    for (char c : {'x', '1', 'z'})
        EXPECT_EQ(foot[c - 32], foot['H' - 32]) << c << " stands on the same baseline as H";
}

TEST(FontFile, AHeaderIsBelievedOnlyAsFarAsTheFileAndTheDriverHoldIt)
{
    bm::EnsureGlContext();
    bm::ScratchDir dir;
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    // Width, height, the pixel bytes after the header, whether it loads.
    const std::tuple<int32_t, int32_t, size_t, bool> cases[] = {
        {2, 1, 8, true}, {2, 1, 7, false}, {max, max, 8, false}, {max + 1, 1, 4 * (max + 1u), false}, {0, 1, 4, false}};
    for (const auto& [w, h, bytes, loads] : cases) {
        bm::Bytes file(FontFormat::kHeaderSize + bytes, 7);
        FontFormat::PutInt32(file.data(), w), FontFormat::PutInt32(file.data() + 4, h);
        const std::string path = dir.Write("font", file);
        bm::LargestAllocation();
        EXPECT_TRUE(LoadFont(path.c_str()) == loads && (font != 0) == loads) << w << " x " << h << ", " << bytes;
        EXPECT_LT(bm::LargestAllocation(), 65536u) << "nothing sized from a header the file does not back";
    }
}
