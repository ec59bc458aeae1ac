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

// A 16 x 16 font, one texel per cell: 'A' red, 'B' green, every other cell
// transparent. Nearest filtering keeps each glyph square a solid colour, so
// the squares' edges can be found pixel by pixel.
GLuint MakeMarkerFont()
{
    std::vector<unsigned char> px(16 * 16 * 4, 0);
    auto cell = [&](int n, unsigned char r, unsigned char g) {
        int row_from_top = n / 16, col = n % 16;
        unsigned char* p = &px[((15 - row_from_top) * 16 + col) * 4];
        p[0] = r;
        p[1] = g;
        p[2] = 0;
        p[3] = 255;
    };
    cell('A' - 32, 255, 0);
    cell('B' - 32, 0, 255);
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return tex;
}

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        glViewport(0, 0, 512, 512);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
        glReadBuffer(GL_BACK);
        marker = MakeMarkerFont();
        font = marker;
    }
    void TearDown() override
    {
        glDeleteTextures(1, &marker);
        font = 0;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    static std::vector<Rgb> Row(int y)
    {
        std::vector<unsigned char> px(512 * 4);
        glFinish();
        glReadPixels(0, y, 512, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        std::vector<Rgb> row(512);
        for (int x = 0; x < 512; ++x)
            row[x] = {px[x * 4], px[x * 4 + 1], px[x * 4 + 2]};
        return row;
    }
    static std::vector<unsigned char> Screen()
    {
        std::vector<unsigned char> px(512 * 512 * 4);
        glFinish();
        glReadPixels(0, 0, 512, 512, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // First and last x of a row whose pixel satisfies the test, or -1.
    template <class F> static std::pair<int, int> Span(const std::vector<Rgb>& row, F is)
    {
        int first = -1, last = -1;
        for (int x = 0; x < 512; ++x)
            if (is(row[x])) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return {first, last};
    }
    static bool Red(const Rgb& c) { return c.r > 200 && c.g < 50; }
    static bool Green(const Rgb& c) { return c.g > 200 && c.r < 50; }

    GLuint marker = 0;
};

TEST_F(DrawTest, TwoGlyphsSitAtTheirAdvance)
{
    // Size 10: squares of 20, the second starting 10.25 after the first, so
    // the centres are at raster_x + 10 and raster_x + 20.25.
    glPrintText(100, 200, 10, false, "AB");
    auto row = Row(210);
    // A pixel is covered when its centre lies inside: 100 .. 110.25 shows A
    // (B is drawn over the rest of it), 110.25 .. 130.25 shows B.
    EXPECT_EQ(Span(row, Red), std::make_pair(100, 109));
    EXPECT_EQ(Span(row, Green), std::make_pair(110, 129));
    // Vertically the square spans raster_y .. raster_y + 20.
    EXPECT_TRUE(Red(Row(200)[105]));
    EXPECT_TRUE(Red(Row(219)[105]));
    EXPECT_FALSE(Red(Row(220)[105]));
    EXPECT_FALSE(Red(Row(199)[105]));
}

TEST_F(DrawTest, CentredTextMovesHalfItsAdvanceLeft)
{
    glPrintText(100, 200, 10, true, "AB");
    auto row = Row(210);
    EXPECT_EQ(Span(row, Red), std::make_pair(90, 99));     // 89.75 .. 100
    EXPECT_EQ(Span(row, Green), std::make_pair(100, 119)); // 100 .. 120
}

TEST_F(DrawTest, ControlCharactersAreBlankButAdvance)
{
    glPrintText(100, 200, 10, false, "A\nB");
    auto row = Row(210);
    // B starts two advances on, at 120.5, on the same line.
    EXPECT_EQ(Span(row, Green), std::make_pair(120, 139));
    EXPECT_EQ(Span(row, Red), std::make_pair(100, 119));
    EXPECT_EQ(Span(Row(190), Green).first, -1);
}

TEST_F(DrawTest, EmptyTextChangesNothing)
{
    GLint mv_depth = 0, pr_depth = 0, mode = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &mv_depth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &pr_depth);
    auto before = Screen();
    glPrintText(100, 100, 10, false, "%s", "");
    glPrintText(100, 100, 10, true, nullptr);
    glPrintTextBox(100, 100, 10, 3, "%s", "");
    EXPECT_EQ(Screen(), before);
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, mv_depth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after);
    EXPECT_EQ(after, pr_depth);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_EQ(depth_writes, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(DrawTest, OverlongTextIsCutAt255Characters)
{
    std::string a(1000, 'A');
    // Size 1: squares of 2, advance 1.025; the 255th glyph ends at 254 * 1.025 + 2 = 262.35.
    glPrintText(0, 10, 1, false, "%s", a.c_str());
    EXPECT_EQ(Span(Row(11), Red), std::make_pair(0, 261));

    glClear(GL_COLOR_BUFFER_BIT);
    std::string b(2000, 'B');
    // The box keeps 511: at mc 100 that is five full lines and 11 on the sixth.
    glPrintTextBox(0, 400, 1, 100, "%s", b.c_str());
    float line = 2.05f;
    int sixth_y = static_cast<int>(400 - 5 * line) + 1;
    auto span = Span(Row(sixth_y), Green);
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.second, 11); // ends at 10 * 1.025 + 2 = 12.25
    EXPECT_EQ(Span(Row(static_cast<int>(400 - 6 * line) + 1), Green).first, -1);
}

TEST_F(DrawTest, TextBoxBreaksLinesEveryMcCharacters)
{
    glPrintTextBox(100, 300, 10, 3, "AAAB");
    // Line two starts back at x = 100, 20.5 lower: 279.5 .. 299.5.
    EXPECT_EQ(Span(Row(290), Green), std::make_pair(100, 119));
    EXPECT_EQ(Span(Row(290), Red).first, -1);
    EXPECT_EQ(Span(Row(310), Red), std::make_pair(100, 139));
    EXPECT_EQ(Span(Row(310), Green).first, -1);
}

TEST_F(DrawTest, MissingFontDrawsUntexturedSquares)
{
    font = 0;
    glColor4f(0, 0, 1, 1);
    glPrintText(50, 50, 10, false, "x");
    auto row = Row(60);
    EXPECT_EQ(Span(row, [](const Rgb& c) { return c.b > 200; }), std::make_pair(50, 69));
}

TEST_F(DrawTest, RenderOnViewportCoversTheScreenOrTheMiddleQuarter)
{
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    auto white = [](const Rgb& c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    RenderOnViewport(0.5f, vector3f(0, 0, 0));
    EXPECT_EQ(Span(Row(200), white), std::make_pair(128, 383));
    EXPECT_EQ(Span(Row(127), white).first, -1);
    EXPECT_EQ(Span(Row(128), white), std::make_pair(128, 383));
    EXPECT_EQ(Span(Row(383), white), std::make_pair(128, 383));
    EXPECT_EQ(Span(Row(384), white).first, -1);

    RenderOnViewport(1.0f, vector3f(0, 0, 0));
    EXPECT_EQ(Span(Row(0), white), std::make_pair(0, 511));
    EXPECT_EQ(Span(Row(511), white), std::make_pair(0, 511));

    glClear(GL_COLOR_BUFFER_BIT);
    RenderOnViewport(0.5f, vector3f(-100, 0, 0));
    EXPECT_EQ(Span(Row(200), white), std::make_pair(28, 283));
}

TEST_F(DrawTest, UnitQuadHelperLeavesOnlyTheVertexArrayOn)
{
    PushVirtualScreen();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(256, 256, 0);
    glScalef(10, 10, 1);
    DrawUnitQuad();
    PopVirtualScreen();
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(Span(Row(256), [](const Rgb& c) { return c.r > 200; }), std::make_pair(246, 265));
}

TEST_F(DrawTest, GetOGLPosOverEmptyDepthIsTheFarPlane)
{
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    vector3f p = GetOGLPos(256, 256);
    EXPECT_NEAR(p.x, 0.0f, 0.01f);
    EXPECT_NEAR(p.y, 0.0f, 0.01f);
    EXPECT_NEAR(p.z, 1.0f, 0.001f);
    // Window rows count downward: the top-left pixel maps to (-1, +1).
    p = GetOGLPos(0, 0);
    EXPECT_NEAR(p.x, -1.0f, 0.01f);
    EXPECT_NEAR(p.y, 1.0f, 0.01f);
}

TEST_F(DrawTest, ExtensionNamesMustMatchWhole)
{
    std::string list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    std::string first = list.substr(0, list.find(' '));
    ASSERT_GT(first.size(), 3u);
    EXPECT_TRUE(checkOGLExtension(first.c_str()));
    EXPECT_FALSE(checkOGLExtension(first.substr(0, first.size() - 1).c_str()));
    EXPECT_FALSE(checkOGLExtension((first + "X").c_str()));
    EXPECT_FALSE(checkOGLExtension(""));
    EXPECT_FALSE(checkOGLExtension(nullptr));
    EXPECT_FALSE(checkOGLExtension("WGL_EXT_swap_control"));
}

TEST_F(DrawTest, SpeedUpAsksThePlatformForSwapIntervalZero)
{
    int before = Sys::Fake::SwapIntervalRequests();
    SpeedUp();
    EXPECT_EQ(Sys::Fake::SwapIntervalRequests(), before + 1);
}

class FontFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        char templ[] = "/tmp/bm_font_XXXXXX";
        int fd = mkstemp(templ);
        ASSERT_GE(fd, 0);
        close(fd);
        path = templ;
    }
    void TearDown() override
    {
        std::remove(path.c_str());
        if (font)
            glDeleteTextures(1, &font);
        font = 0;
    }
    void Write(int32_t w, int32_t h, size_t pixel_bytes, unsigned char fill = 0x7f)
    {
        std::vector<unsigned char> bytes(FontFormat::kHeaderSize + pixel_bytes, fill);
        FontFormat::PutInt32(bytes.data(), w);
        FontFormat::PutInt32(bytes.data() + 4, h);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::string path;
};

TEST_F(FontFileTest, AGoodFileBecomesALinearClampedTexture)
{
    Write(2, 2, 16, 0x33);
    ASSERT_TRUE(LoadFont(path.c_str()));
    ASSERT_NE(font, 0u);
    glBindTexture(GL_TEXTURE_2D, font);
    GLint param = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &param);
    EXPECT_EQ(param, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &param);
    EXPECT_EQ(param, GL_CLAMP);
    std::vector<unsigned char> px(16, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    EXPECT_EQ(px, std::vector<unsigned char>(16, 0x33));
}

TEST_F(FontFileTest, BadFilesLeaveTheTextUntextured)
{
    struct Case {
        const char* what;
        int32_t w, h;
        size_t bytes;
    };
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    const Case cases[] = {
        {"fewer bytes than promised", 4, 4, 63},
        {"negative width", -4, 4, 64},
        {"zero height", 4, 0, 64},
        {"huge promise", 0x7fffffff, 0x7fffffff, 64},
        {"wider than the driver allows", max_side + 1, 1, 64},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(LoadFont(nullptr) == false);
        Write(2, 2, 16);
        ASSERT_TRUE(LoadFont(path.c_str())) << c.what;
        Write(c.w, c.h, c.bytes);
        EXPECT_FALSE(LoadFont(path.c_str())) << c.what;
        EXPECT_EQ(font, 0u) << c.what;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc).write("\x02\0\0", 3);
    EXPECT_FALSE(LoadFont(path.c_str()));
    EXPECT_FALSE(LoadFont("/nonexistent/font"));
    EXPECT_EQ(font, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
