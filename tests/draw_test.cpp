// The drawing kit read back from a real framebuffer: text placement, full-screen
// pictures, extension matching, the vsync switch and the font loader.
#include "engine/draw.h"
#include "engine/font_format.h"
#include "gl_context.h"
#include "platform/platform_fake.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};
using Span = std::pair<int, int>;

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        glViewport(0, 0, 512, 512); // the kit sets its own matrices
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
        // A 16 x 16 font, one texel per cell: 'A' red, 'B' green, the rest clear;
        // nearest filtering keeps each glyph a solid square.
        std::vector<unsigned char> px(16 * 16 * 4, 0);
        for (int n : {'A' - 32, 'B' - 32}) {
            unsigned char* p = &px[((15 - n / 16) * 16 + n % 16) * 4];
            p[n == 'A' - 32 ? 0 : 1] = 255;
            p[3] = 255;
        }
        glGenTextures(1, &marker);
        glBindTexture(GL_TEXTURE_2D, marker);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        font = marker;
    }
    void TearDown() override
    {
        glDeleteTextures(1, &marker);
        font = 0;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    // First and last x of row y whose pixel passes the test, or -1.
    template <class F> static Span Find(int y, F is)
    {
        std::vector<unsigned char> px(512 * 4);
        glFinish();
        glReadPixels(0, y, 512, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        Span s{-1, -1};
        for (int x = 0; x < 512; ++x)
            if (is(Rgb{px[x * 4], px[x * 4 + 1], px[x * 4 + 2]})) {
                if (s.first < 0)
                    s.first = x;
                s.second = x;
            }
        return s;
    }
    static bool Red(const Rgb& c) { return c.r > 200 && c.g < 50; }
    static bool Green(const Rgb& c) { return c.g > 200 && c.r < 50; }
    static bool White(const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; }

    GLuint marker = 0;
};

TEST_F(DrawTest, TwoGlyphsSitAtTheirAdvanceAndCentringMovesThemLeft)
{
    // Size 10: squares of 20, the second 10.25 after the first, centres at x+10 and x+20.25.
    glPrintText(100, 200, 10, false, "AB");
    EXPECT_EQ(Find(210, Red), Span(100, 109)); // B covers A from 110.25 on
    EXPECT_EQ(Find(210, Green), Span(110, 129));
    EXPECT_EQ(Find(200, Red).first, 100); // vertically raster_y .. raster_y + 20
    EXPECT_EQ(Find(219, Red).first, 100);
    EXPECT_EQ(Find(220, Red).first, -1);
    EXPECT_EQ(Find(199, Red).first, -1);

    glClear(GL_COLOR_BUFFER_BIT);
    glPrintText(100, 200, 10, true, "AB"); // 10.25 further left
    EXPECT_EQ(Find(210, Red), Span(90, 99));
    EXPECT_EQ(Find(210, Green), Span(100, 119));

    glClear(GL_COLOR_BUFFER_BIT);
    glPrintText(100, 200, 10, false, "A\nB"); // control characters are blank but advance
    EXPECT_EQ(Find(210, Red), Span(100, 119));
    EXPECT_EQ(Find(210, Green), Span(120, 139));
}

TEST_F(DrawTest, EmptyTextDrawsNothingAndTextBoxesBreakEveryMcCharacters)
{
    GLint depth = 0, after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glPrintText(100, 100, 10, false, "%s", "");
    glPrintText(100, 100, 10, true, nullptr);
    glPrintTextBox(100, 100, 10, 3, "%s", "");
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
    EXPECT_EQ(Find(110, [](const Rgb& c) { return c.r || c.g || c.b; }).first, -1);

    glPrintTextBox(100, 300, 10, 3, "AAAB"); // line two starts back at x = 100, 20.5 lower
    EXPECT_EQ(Find(310, Red), Span(100, 139));
    EXPECT_EQ(Find(290, Green), Span(100, 119));
    EXPECT_EQ(Find(290, Red).first, -1);
}

TEST_F(DrawTest, OverlongTextIsCutSafely)
{
    // Size 1: squares of 2, advance 1.025; the 255th glyph ends at 254 * 1.025 + 2.
    glPrintText(0, 10, 1, false, "%s", std::string(1000, 'A').c_str());
    EXPECT_EQ(Find(11, Red), Span(0, 261));
    // The box keeps 511: at mc 100, five full lines and 11 on the sixth.
    glPrintTextBox(0, 400, 1, 100, "%s", std::string(2000, 'B').c_str());
    EXPECT_EQ(Find(static_cast<int>(400 - 5 * 2.05f) + 1, Green), Span(0, 11));
    EXPECT_EQ(Find(static_cast<int>(400 - 6 * 2.05f) + 1, Green).first, -1);
}

TEST_F(DrawTest, MissingFontDrawsUntexturedSquares)
{
    font = 0;
    glColor4f(0, 0, 1, 1);
    glPrintText(50, 50, 10, false, "x");
    EXPECT_EQ(Find(60, [](const Rgb& c) { return c.b > 200; }), Span(50, 69));
}

TEST_F(DrawTest, RenderOnViewportCoversTheScreenOrTheMiddleQuarter)
{
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    RenderOnViewport(0.5f, vector3f(0, 0, 0));
    EXPECT_EQ(Find(127, White).first, -1);
    EXPECT_EQ(Find(128, White), Span(128, 383));
    EXPECT_EQ(Find(383, White), Span(128, 383));
    EXPECT_EQ(Find(384, White).first, -1);
    RenderOnViewport(1.0f, vector3f(0, 0, 0));
    EXPECT_EQ(Find(0, White), Span(0, 511));
    glClear(GL_COLOR_BUFFER_BIT);
    RenderOnViewport(0.5f, vector3f(-100, 0, 0));
    EXPECT_EQ(Find(200, White), Span(28, 283));
}

TEST_F(DrawTest, ExtensionNamesMustMatchWholeAndSpeedUpDropsVsync)
{
    std::string list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    std::string first = list.substr(0, list.find(' '));
    ASSERT_GT(first.size(), 3u);
    EXPECT_TRUE(checkOGLExtension(first.c_str()));
    EXPECT_FALSE(checkOGLExtension(first.substr(0, first.size() - 1).c_str()));
    EXPECT_FALSE(checkOGLExtension((first + "X").c_str()));
    EXPECT_FALSE(checkOGLExtension(""));
    EXPECT_FALSE(checkOGLExtension(nullptr));

    int before = Sys::Fake::SwapIntervalRequests();
    SpeedUp();
    EXPECT_EQ(Sys::Fake::SwapIntervalRequests(), before + 1);
}

TEST(FontFile, GoodFilesLoadAndMissingShortOrAbsurdOnesLeaveNoFont)
{
    bm::EnsureGlContext();
    char templ[] = "/tmp/bm_font_XXXXXX";
    int fd = mkstemp(templ);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::string path = templ;
    auto write = [&](int32_t w, int32_t h, size_t pixel_bytes) {
        std::vector<unsigned char> bytes(FontFormat::kHeaderSize + pixel_bytes, 0x33);
        FontFormat::PutInt32(bytes.data(), w);
        FontFormat::PutInt32(bytes.data() + 4, h);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write(2, 2, 16);
    ASSERT_TRUE(LoadFont(path.c_str()));
    std::vector<unsigned char> px(16, 0);
    glBindTexture(GL_TEXTURE_2D, font);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    EXPECT_EQ(px, std::vector<unsigned char>(16, 0x33));

    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    const struct {
        int32_t w, h;
        size_t bytes;
    } bad[] = {{4, 4, 63}, {-4, 4, 64}, {4, 0, 64}, {0x7fffffff, 0x7fffffff, 64}, {max_side + 1, 1, 64}};
    for (const auto& c : bad) {
        write(2, 2, 16);
        ASSERT_TRUE(LoadFont(path.c_str()));
        write(c.w, c.h, c.bytes);
        EXPECT_FALSE(LoadFont(path.c_str())) << c.w << "x" << c.h << " in " << c.bytes;
        EXPECT_EQ(font, 0u);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc).write("\x02\0\0", 3);
    EXPECT_FALSE(LoadFont(path.c_str()));
    EXPECT_FALSE(LoadFont("/nonexistent/font"));
    EXPECT_FALSE(LoadFont(nullptr));
    EXPECT_EQ(font, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::remove(path.c_str());
}

} // namespace
