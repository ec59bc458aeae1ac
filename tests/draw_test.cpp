// The drawing kit read back from a real framebuffer: text, full-screen pictures,
// quads clipped to a picture's visible part, the bounds record and the bind cache.
#include "engine/draw.h"
#include "engine/texture.h"
#include "engine/texture_bounds.h"
#include "gl_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Span = std::pair<int, int>;
using Pixels = std::vector<unsigned char>;

Pixels Read(int y, int rows)
{
    Pixels px(512 * 4 * static_cast<size_t>(rows));
    glReadPixels(0, y, 512, rows, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// First and last x of row y whose channel c (0 red, 1 green) is lit, or -1.
Span Find(int y, int c)
{
    Pixels px = Read(y, 1);
    Span s{-1, -1};
    for (int x = 0; x < 512; ++x)
        if (px[x * 4 + c] > 200)
            s = {s.first < 0 ? x : s.first, x};
    return s;
}

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        glViewport(0, 0, 512, 512); // the kit sets its own matrices
        glClear(GL_COLOR_BUFFER_BIT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // A 16 x 16 font, one texel per cell: 'A' (cell 33) red, 'B' green, the rest clear.
        Pixels px(16 * 16 * 4, 0);
        px[(13 * 16 + 1) * 4] = px[(13 * 16 + 1) * 4 + 3] = px[(13 * 16 + 2) * 4 + 1] = px[(13 * 16 + 2) * 4 + 3] = 255;
        font = marker = CreatePictureTexture(16, 16, px.data());
        solid = CreatePictureTexture(2, 2, Pixels(16, 255).data());
    }
    void TearDown() override
    {
        glDeleteTextures(1, &marker);
        glDeleteTextures(1, &solid);
    }
    GLuint marker = 0, solid = 0;
};

TEST_F(DrawTest, TextSitsAtItsAdvanceIsOneRunAndIsCutSafely)
{
    glPrintText(100, 200, 10, true, "AB"); // squares of 20 from y = 200 up, B 10.25 after A; 10.25 to the left
    EXPECT_EQ(std::make_pair(Find(219, 0), Find(220, 0)), std::make_pair(Span(90, 99), Span(-1, -1)));
    const Pixels before = Read(0, 512);
    glPrintText(100, 100, 10, false, "%s", "");
    glPrintTextBox(100, 100, 10, 3, nullptr);
    EXPECT_EQ(Read(0, 512), before); // nothing, not even a glyph left from the last text
    glPrintText(0, 10, 1, false, "%s", std::string(1000, 'A').c_str()); // 255 kept, the last ending at 254 * 1.025 + 2
    EXPECT_EQ(Find(11, 0), Span(0, 261));
    glPrintTextBox(0, 400, 1, 100, "%s", std::string(2000, 'B').c_str()); // 511 kept: 5 lines of 100 and 11
    EXPECT_EQ(Find(static_cast<int>(400 - 5 * 2.05f) + 1, 1), Span(0, 11));
    EXPECT_EQ(Find(static_cast<int>(400 - 6 * 2.05f) + 1, 1).first, -1);
}

TEST_F(DrawTest, QuadsRasteriseOnlyAPicturesVisiblePartWhereThatKeepsThePicture)
{
    // Half-size 100 x 50 around (256, 256): x 156..355, y 206..305. Visible: the left half, t 0.25..0.75
    // (y 231..280); its box is a pixel wider, so rows 230 and 281 are drawn and rows 229 and 282 not.
    const OpaqueBounds left_mid{0.0f, 0.25f, 0.5f, 0.75f}, none{0.5f, 0.0f, 0.5f, 1.0f};
    const Span left(156, 256), all(156, 355), no(-1, -1);
    enum { kPlain, kMirrored, kUnit, kViewport, kNoBlend, kUnknownBinding, kTheirScissor, kNoTexture, kNothing };
    const struct {
        int setting;
        Span in, out;
    } cases[] = {{kPlain, left, no},       {kMirrored, {255, 355}, no}, {kUnit, left, no},
                 {kNoBlend, all, all},     {kUnknownBinding, all, all}, {kTheirScissor, all, all},
                 {kNoTexture, all, all},   {kNothing, no, no},          {kViewport, {28, 156}, {28, 156}}};
    auto rows = [] { return std::make_tuple(Find(230, 0), Find(281, 0), Find(229, 0), Find(282, 0)); };
    for (const auto& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        SetOpaqueBounds(solid, c.setting == kNothing ? &none : &left_mid);
        BindTexture(solid);
        if (c.setting == kUnknownBinding)
            ForgetBoundTexture();
        (c.setting == kNoBlend ? glDisable : glEnable)(GL_BLEND);
        (c.setting == kNoTexture ? glDisable : glEnable)(GL_TEXTURE_2D);
        (c.setting == kTheirScissor ? glEnable : glDisable)(GL_SCISSOR_TEST);
        glScissor(0, 0, 512, 512);
        PushVirtualScreen();
        glTranslatef(256, 256, 0);
        if (c.setting == kMirrored)
            DrawMirroredQuad(100, 50);
        else if (c.setting == kUnit)
            glScalef(100, 50, 1), DrawUnitQuad();
        else if (c.setting == kViewport) // the middle quarter, 100 to the left: x 28..283, y 128..383
            RenderOnViewport(0.5f, vector3f(-100, 0, 0));
        else
            DrawQuad(100, 50);
        PopVirtualScreen();
        EXPECT_EQ(rows(), std::make_tuple(c.in, c.in, c.out, c.out)) << c.setting;
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST), c.setting == kTheirScissor) << c.setting;
    }
}

TEST_F(DrawTest, StoreSpritesBringTheirBoundsDrawTheSamePixelsClippedAndRefuseBadOnes)
{
    GLuint eagle = 0;
    ASSERT_TRUE(LoadTexture(&eagle, "Data/animation/eagle/1.png"));
    glEnable(GL_BLEND);
    auto draw = [&] { // an eagle the game's way: blended, mirrored, magnified
        glClear(GL_COLOR_BUFFER_BIT);
        PushVirtualScreen();
        BindTexture(eagle);
        glTranslatef(200.3f, 300.7f, 0);
        glScalef(-7.3f, 7.3f, 1);
        DrawMirroredQuad(10, 15);
        PopVirtualScreen();
        return std::make_pair(BoundOpaqueBounds() != nullptr, Read(0, 512));
    };
    auto clipped = draw();
    EXPECT_TRUE(clipped.first);
    EXPECT_FALSE(LoadTextureBounds(eagle, "Data/no/such.png"));
    EXPECT_EQ(draw(), std::make_pair(false, clipped.second));
    glDeleteTextures(1, &eagle);
    // A record reaching outside its 70000 x 5 picture, or turned inside out, is refused.
    const TextureBounds::Rect cases[] = {{300, 0, 70000, 5}, {2, 0, 1, 5}, {0, 3, 1, 2},
                                         {0, 0, 70001, 5}, {0, 0, 1, 6}};
    for (const TextureBounds::Rect& r : cases) {
        unsigned char raw[TextureBounds::kBytes];
        TextureBounds::Encode(r, raw);
        TextureBounds::Rect back;
        EXPECT_EQ(TextureBounds::Decode(raw, 70000, 5, &back) && back.x1 == r.x1, &r == cases) << r.x0 << r.x1;
    }
}

TEST_F(DrawTest, BindCacheSkipsRepeatsAndHearsOfTexturesMadeBehindItsBack)
{
    auto bound = [] { GLint t = 0; glGetIntegerv(GL_TEXTURE_BINDING_2D, &t); return static_cast<GLuint>(t); };
    BindTexture(solid);
    glBindTexture(GL_TEXTURE_2D, marker); // untold, so the cache still believes in solid
    BindTexture(solid);
    EXPECT_EQ(bound(), marker);
    GLuint made = CreatePictureTexture(1, 1, Pixels(4, 0).data()); // each leaves its new texture bound
    BindTexture(solid);
    EXPECT_EQ(bound(), solid);
    ASSERT_TRUE(LoadFont("Data/font"));
    BindTexture(solid);
    EXPECT_EQ(bound(), solid);
    glDeleteTextures(1, &made);
    glDeleteTextures(1, &font);
}

} // namespace

// The batch: sprites of one texture share a draw, a change of texture or
// scissor draws what is held first, so painter's order holds across them, and
// nothing shows until the batch is flushed.
TEST_F(DrawTest, TheBatchKeepsPaintersOrderJoinsRunsAndRespectsTheScissor)
{
    const unsigned char r[4] = {255, 0, 0, 255}, g[4] = {0, 255, 0, 255};
    Pixels red, green;
    for (int i = 0; i < 4; ++i)
        red.insert(red.end(), r, r + 4), green.insert(green.end(), g, g + 4);
    GLuint tex[2] = {CreatePictureTexture(2, 2, red.data()), CreatePictureTexture(2, 2, green.data())};
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    DrawColor(1, 1, 1, 1);
    auto sprite = [&](int which, float x, float y) {
        BindTexture(tex[which]);
        SpriteBatch::Sprite(Transform2D().Translated(x, y), 50, 10, which == 1);
    };
    PushVirtualScreen();
    const unsigned long draws = SpriteBatch::Draws();
    sprite(0, 100, 100); // red 50..149, then green 100..199, then red again 150..249
    sprite(1, 150, 100);
    sprite(0, 200, 100);
    sprite(0, 400, 100); // joins the last red
    EXPECT_EQ(Find(100, 0), Span(50, 99)) << "the last reds held, not drawn yet";
    SpriteBatch::Flush();
    EXPECT_EQ(SpriteBatch::Draws() - draws, 3u);
    EXPECT_EQ(Find(100, 1), Span(100, 149));
    EXPECT_EQ(Find(100, 0), Span(50, 449));
    // A scissor set between two sprites cuts only the second.
    glClear(GL_COLOR_BUFFER_BIT);
    sprite(0, 100, 300);
    SpriteBatch::SetScissor(true, 0, 0, 120, 512);
    sprite(0, 100, 200);
    SpriteBatch::SetScissor(false);
    EXPECT_EQ(std::make_pair(Find(300, 0), Find(200, 0)), std::make_pair(Span(50, 149), Span(50, 119)));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    // A picture with a visible polygon draws only that: here the lower-left half
    // of its square, x 206..305 at the bottom row 246 down to none at the top, 265.
    glClear(GL_COLOR_BUFFER_BIT);
    const VisibleHull triangle{3, {0, 1, 0}, {0, 0, 1}};
    SetVisibleHull(tex[0], &triangle);
    BindTexture(tex[1]);
    sprite(0, 256, 256);
    SpriteBatch::Flush();
    EXPECT_EQ(std::make_pair(Find(247, 0), Find(264, 0)), std::make_pair(Span(206, 297), Span(206, 212)));
    PopVirtualScreen();
    ForgetPictureShape(tex[0]);
    glDeleteTextures(2, tex);
}

// Priming at loading draws one live texture of each kind (size, format and
// sampling) once per way of blending, changes no pixel and leaves the state the
// next frame relies on.
TEST_F(DrawTest, PrimingDrawsEachKindOfTextureEachWayAndChangesNothing)
{
    GLuint gone = CreatePictureTexture(1, 1, Pixels(4, 255).data());
    GLuint forgotten = CreatePictureTexture(3, 3, Pixels(36, 255).data());
    glDeleteTextures(1, &gone); // behind the kit's back: binding the name again would make a new texture
    ForgetPictureShape(forgotten);
    const std::vector<GLuint>& kept = RememberedTextures();
    ASSERT_NE(std::find(kept.begin(), kept.end(), solid), kept.end());
    EXPECT_EQ(std::find(kept.begin(), kept.end(), forgotten), kept.end());
    auto primed_draws = [] {
        const unsigned long draws = SpriteBatch::Draws();
        PrimeDrawingStates();
        return SpriteBatch::Draws() - draws;
    };

    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    SpriteBatch::SetBlendFunc(GL_ONE, GL_ZERO);
    BindTexture(marker);
    GLfloat mv[16], mv_after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    const Pixels before = Read(0, 512);
    const unsigned long draws = primed_draws();
    EXPECT_FALSE(glIsTexture(gone));
    EXPECT_TRUE(Read(0, 512) == before);
    GLint src = 0, dst = 0, bound = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetFloatv(GL_MODELVIEW_MATRIX, mv_after);
    EXPECT_EQ(std::make_tuple(src, dst, bound, BoundTexture()),
              std::make_tuple(GL_ONE, GL_ZERO, static_cast<GLint>(marker), marker));
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && !glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_TRUE(std::equal(mv, mv + 16, mv_after));

    // A twin of a kind already there adds nothing; a new size, or a new filter, is a kind of its own.
    GLuint twin = CreatePictureTexture(2, 2, Pixels(16, 0).data());
    EXPECT_EQ(primed_draws(), draws);
    GLuint wide = CreatePictureTexture(4, 2, Pixels(32, 0).data());
    EXPECT_EQ(primed_draws(), draws + 3);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR); // on `wide`, still bound
    GLuint wide_nearest = CreatePictureTexture(4, 2, Pixels(32, 0).data());
    EXPECT_EQ(primed_draws(), draws + 6);
    SpriteBatch::SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const GLuint made[4] = {forgotten, twin, wide, wide_nearest};
    glDeleteTextures(4, made);
}
