// Panels against a real GL context: loading panel files (good, truncated and
// hostile), button lookup, the pointer hit tests and events, and what is drawn.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "gl_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr GLuint kAllOnes = static_cast<GLuint>(-1);

using PanelFile::ButtonRecord;
using PanelFile::Picture;

Picture SolidPicture(int w, int h, unsigned char r, unsigned char g, unsigned char b)
{
    Picture p;
    p.width = w;
    p.height = h;
    p.name = "solid";
    for (int i = 0; i < w * h; ++i) {
        p.rgba.push_back(r);
        p.rgba.push_back(g);
        p.rgba.push_back(b);
        p.rgba.push_back(255);
    }
    return p;
}

ButtonRecord Rec(int32_t picture, float x, float y, float w, float h, bool hide = false)
{
    ButtonRecord b;
    b.picture = picture;
    b.x = x;
    b.y = y;
    b.w = w;
    b.h = h;
    b.hide = hide;
    return b;
}

void AppendRaw(std::vector<unsigned char>& out, int32_t v) { PanelFile::AppendInt32(out, v); }

class PanelsTest : public ::testing::Test {
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
        GUILab::inputPortrait(true);
        GUILab::inputCaption(1024, 768);
        GUILab::inputCursor(0, 0);
        GUILab::inputTouch(false);
        char tmpl[] = "/tmp/panels_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override
    {
        for (const std::string& f : written)
            std::remove(f.c_str());
        rmdir(dir.c_str());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    std::string WriteBytes(const std::vector<unsigned char>& bytes)
    {
        std::string path = dir + "/p" + std::to_string(written.size()) + ".gui";
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty())
                std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        written.push_back(path);
        return path;
    }

    std::string WritePanel(const PanelFile::Panel& p) { return WriteBytes(PanelFile::Encode(p)); }

    // The pointer at a virtual point, for a 1024 x 768 window.
    static void PointAt(int vx, int vy) { GUILab::inputCursor(vx * 2, (512 - vy) * 3 / 2); }

    static std::vector<unsigned char> Pixel(int x, int y)
    {
        std::vector<unsigned char> px(4);
        glFinish();
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    std::string dir;
    std::vector<std::string> written;
};

TEST_F(PanelsTest, TwelveByteFileIsAnEmptyPanelWithTheAllOnesBackground)
{
    std::vector<unsigned char> bytes;
    AppendRaw(bytes, 0);
    AppendRaw(bytes, 0);
    AppendRaw(bytes, 0);
    ASSERT_EQ(bytes.size(), PanelFile::kMinimumFileBytes);
    GUILab panel;
    EXPECT_EQ(panel.background, 0u);
    EXPECT_TRUE(panel.Load(WriteBytes(bytes).c_str()));
    EXPECT_TRUE(panel.textures.empty());
    EXPECT_TRUE(panel.buttons.empty());
    EXPECT_EQ(panel.background, kAllOnes);
    GUILab::inputTouch(true);
    for (int kind = 0; kind <= 4; ++kind)
        EXPECT_EQ(panel.Event(kind), 0) << kind;
}

TEST_F(PanelsTest, OnePictureOneButtonGivesItsTextureMadeLikeTheStores)
{
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(1, 1, 10, 20, 30));
    p.background = 0;
    p.buttons.push_back(Rec(0, 256, 256, 32, 32));
    GUILab panel(WritePanel(p).c_str());

    ASSERT_EQ(panel.textures.size(), 1u);
    GLuint tex = panel.textures.front();
    EXPECT_TRUE(glIsTexture(tex));
    EXPECT_EQ(panel.background, tex);
    ASSERT_EQ(panel.buttons.size(), 1u);
    const GUILab::Button& b = panel.buttons.front();
    EXPECT_EQ(b.pattern, tex);
    EXPECT_FLOAT_EQ(b.position.x, 256);
    EXPECT_FLOAT_EQ(b.position.y, 256);
    EXPECT_FLOAT_EQ(b.w * 2, 64);
    EXPECT_FLOAT_EQ(b.h * 2, 64);
    EXPECT_FALSE(b.flip_x || b.flip_y || b.hide);

    glBindTexture(GL_TEXTURE_2D, tex);
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &v);
    EXPECT_EQ(v, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
    EXPECT_EQ(v, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_NEAREST);
    unsigned char px[4] = {0, 0, 0, 0};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 10);
    EXPECT_EQ(px[1], 20);
    EXPECT_EQ(px[2], 30);
}

TEST_F(PanelsTest, ButtonsAndPicturesAreLookedUpWithinBounds)
{
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(1, 1, 1, 1, 1));
    p.pictures.push_back(SolidPicture(1, 1, 2, 2, 2));
    p.background = 7;
    for (int i = 1; i <= 3; ++i)
        p.buttons.push_back(Rec(i - 2, 10.0f * i, 0, 1, 1));
    GUILab panel(WritePanel(p).c_str());
    ASSERT_EQ(panel.buttons.size(), 3u);
    EXPECT_EQ(panel.background, kAllOnes);

    EXPECT_EQ(panel.GetButton(0), nullptr);
    EXPECT_EQ(panel.GetButton(-1), nullptr);
    EXPECT_EQ(panel.GetButton(4), nullptr);
    ASSERT_NE(panel.GetButton(1), nullptr);
    EXPECT_FLOAT_EQ(panel.GetButton(1)->position.x, 10);
    EXPECT_FLOAT_EQ(panel.GetButton(3)->position.x, 30);

    EXPECT_EQ(panel.GetTextureByIndex(-1), kAllOnes);
    EXPECT_EQ(panel.GetTextureByIndex(2), kAllOnes);
    EXPECT_EQ(panel.GetTextureByIndex(1), panel.textures.back());
    EXPECT_EQ(panel.GetButton(1)->pattern, kAllOnes);
    EXPECT_EQ(panel.GetButton(2)->pattern, panel.textures.front());
    EXPECT_EQ(panel.GetButton(3)->pattern, panel.textures.back());
}

TEST_F(PanelsTest, LoadingAgainDeletesTheFirstLoadsTextures)
{
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(2, 2, 1, 2, 3));
    p.pictures.push_back(SolidPicture(1, 1, 4, 5, 6));
    p.buttons.push_back(Rec(0, 1, 1, 1, 1));
    const std::string path = WritePanel(p);
    GUILab panel(path.c_str());
    std::vector<GLuint> first(panel.textures.begin(), panel.textures.end());
    ASSERT_EQ(first.size(), 2u);

    EXPECT_TRUE(panel.Load(path.c_str()));
    ASSERT_EQ(panel.textures.size(), 2u);
    EXPECT_EQ(panel.buttons.size(), 1u);
    for (GLuint old : first) {
        EXPECT_FALSE(glIsTexture(old)) << old;
        for (GLuint now : panel.textures)
            EXPECT_NE(old, now);
    }

    std::vector<GLuint> second(panel.textures.begin(), panel.textures.end());
    EXPECT_FALSE(panel.Load((dir + "/missing.gui").c_str()));
    EXPECT_TRUE(panel.textures.empty());
    EXPECT_TRUE(panel.buttons.empty());
    for (GLuint old : second)
        EXPECT_FALSE(glIsTexture(old));
}

TEST_F(PanelsTest, FailedLoadKeepsAForeignBackgroundButDropsItsOwn)
{
    GUILab panel;
    panel.SetBackground(4242);
    EXPECT_FALSE(panel.Load((dir + "/missing.gui").c_str()));
    EXPECT_EQ(panel.background, 4242u);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(1), 0);
    EXPECT_EQ(panel.Event(3), 0);

    // A background that was one of the panel's own pictures must not outlive it.
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(1, 1, 9, 9, 9));
    p.background = 0;
    ASSERT_TRUE(panel.Load(WritePanel(p).c_str()));
    ASSERT_EQ(panel.background, panel.textures.front());
    EXPECT_FALSE(panel.Load((dir + "/missing.gui").c_str()));
    EXPECT_EQ(panel.background, 0u);
}

TEST_F(PanelsTest, PointerMapsToTheVirtualScreenWithStrictBounds)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 1, 1));
    panel.buttons.push_back(GUILab::Button(0, 257, 256, 1, 1));
    panel.buttons.push_back(GUILab::Button(0, 0, 512, 1, 1));
    GUILab::inputCaption(1024, 768);
    GUILab::inputCursor(512, 384);
    EXPECT_TRUE(panel.GetButton(1)->isSelected());
    EXPECT_FALSE(panel.GetButton(2)->isSelected());
    EXPECT_EQ(panel.Event(1), 1);

    // The window's top-left corner is the virtual (0, 512).
    GUILab::inputCursor(0, 0);
    EXPECT_EQ(panel.Event(1), 3);

    // Truncation toward zero: 1023 px is 511.5 -> 511, not inside a button whose
    // left edge is 511.
    panel.buttons.push_back(GUILab::Button(0, 512, 256, 1, 1));
    GUILab::inputCursor(1023, 384);
    EXPECT_EQ(panel.Event(1), 0);

    GUILab::inputPortrait(false);
    // Landscape: tx = 512 - y * 512 / h, ty = 512 - x * 512 / w.
    GUILab::inputCursor(512, 384);
    EXPECT_EQ(panel.Event(1), 1);
    GUILab::inputCursor(1024, 768);
    EXPECT_FALSE(panel.GetButton(3)->isSelected());
    panel.buttons.push_back(GUILab::Button(0, 0, 0, 1, 1));
    EXPECT_EQ(panel.Event(1), 5);
}

TEST_F(PanelsTest, AWindowWithoutSizeHasThePointerOverNothing)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 600, 600));
    GUILab::inputTouch(true);
    GUILab::inputCursor(10, 10);
    for (int landscape = 0; landscape < 2; ++landscape) {
        GUILab::inputPortrait(landscape == 0);
        GUILab::inputCaption(0, 768);
        EXPECT_EQ(panel.Event(1), 0);
        EXPECT_FALSE(panel.GetButton(1)->isPressed());
        GUILab::inputCaption(1024, 0);
        EXPECT_EQ(panel.Event(3), 0);
        EXPECT_FALSE(panel.GetButton(1)->isSelected());
        GUILab::inputCaption(1024, 768);
        EXPECT_EQ(panel.Event(2), 1);
    }
}

TEST_F(PanelsTest, OverlappingButtonsAnswerWithTheLaterOne)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 100, 100, 10, 10));
    panel.buttons.push_back(GUILab::Button(0, 200, 200, 30, 30));
    panel.buttons.push_back(GUILab::Button(0, 300, 300, 10, 10));
    panel.buttons.push_back(GUILab::Button(0, 400, 400, 10, 10));
    panel.buttons.push_back(GUILab::Button(0, 210, 210, 30, 30));
    PointAt(205, 205);
    EXPECT_EQ(panel.Event(1), 5);
    PointAt(175, 175);
    EXPECT_EQ(panel.Event(1), 2);
    // Hiding does not take a button out of the queries.
    panel.GetButton(5)->hide = true;
    PointAt(205, 205);
    EXPECT_EQ(panel.Event(1), 5);
}

TEST_F(PanelsTest, APressIsAClickForOneFrameAndHeldAfterwards)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 20, 20));
    PointAt(256, 256);
    GUILab::inputTouch(false);
    EXPECT_EQ(panel.Event(2), 0);
    EXPECT_EQ(panel.Event(3), 0);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3), 1);
    EXPECT_EQ(panel.Event(2), 1);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3), 0);
    EXPECT_EQ(panel.Event(2), 1);
    EXPECT_EQ(panel.Event(1), 1);
    EXPECT_EQ(panel.Event(0), 0);
    EXPECT_EQ(panel.Event(4), 0);
    EXPECT_EQ(panel.Event(-1), 0);
    // A press that begins away from the button is no click on it.
    GUILab::inputTouch(false);
    PointAt(10, 10);
    GUILab::inputTouch(true);
    PointAt(256, 256);
    EXPECT_EQ(panel.Event(3), 1);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3), 0);
}

TEST_F(PanelsTest, ARegionIsTheWindowForEventsAndTheInputIsRestoredExactly)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 2, 2));
    // Window 800 x 600; region 400 x 300 whose lower-left corner is at (100, 50):
    // its centre is the window pixel (300, 400) counted from the top.
    GUILab::inputCaption(800, 600);
    GUILab_inf::cursor = vector2f(300.25f, 400.25f);
    EXPECT_EQ(panel.Event(1), 0);

    panel.SetRegion(100, 50, 400, 300);
    EXPECT_FLOAT_EQ(panel.x + panel.y + panel.w + panel.h, 850);
    for (int kind = 1; kind <= 3; ++kind)
        panel.Event(kind);
    EXPECT_EQ(panel.Event(1), 1);
    EXPECT_EQ(GUILab_inf::cursor.x, 300.25f);
    EXPECT_EQ(GUILab_inf::cursor.y, 400.25f);
    EXPECT_EQ(GUILab_inf::device_w, 800);
    EXPECT_EQ(GUILab_inf::device_h, 600);

    panel.SetRegionFullScreen();
    EXPECT_EQ(panel.x, 0.0f);
    EXPECT_EQ(panel.y, 0.0f);
    EXPECT_EQ(panel.w, 0.0f);
    EXPECT_EQ(panel.h, 0.0f);
    EXPECT_EQ(panel.Event(1), 0);
}

TEST_F(PanelsTest, AButtonCoversExactlyItsRectangleAndHiddenOnesAreNotDrawn)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 128, 128, 32, 16));
    panel.buttons.push_back(GUILab::Button(0, 384, 384, 32, 32));
    panel.GetButton(2)->hide = true;
    GLint depth_before[2];
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth_before[1]);
    panel.Display();

    // In a 512-pixel window one virtual unit is one pixel: x 96..159, y 112..143.
    EXPECT_EQ(Pixel(96, 112)[0], 255);
    EXPECT_EQ(Pixel(159, 143)[0], 255);
    EXPECT_EQ(Pixel(95, 128)[0], 0);
    EXPECT_EQ(Pixel(160, 128)[0], 0);
    EXPECT_EQ(Pixel(128, 111)[0], 0);
    EXPECT_EQ(Pixel(128, 144)[0], 0);
    EXPECT_EQ(Pixel(384, 384)[0], 0);

    // Still there for the pointer, though not drawn.
    PointAt(384, 384);
    EXPECT_EQ(panel.Event(1), 2);

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depth_after[2];
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after[0]);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth_after[1]);
    EXPECT_EQ(depth_after[0], depth_before[0]);
    EXPECT_EQ(depth_after[1], depth_before[1]);
}

TEST_F(PanelsTest, PicturesAreDrawnUprightMirroredOnRequestAndTheBackgroundFillsTheWindow)
{
    // Left texel red, right texel green; the background a blue picture.
    PanelFile::Panel p;
    Picture two = SolidPicture(2, 1, 255, 0, 0);
    two.rgba[4] = 0;
    two.rgba[5] = 255;
    p.pictures.push_back(two);
    p.pictures.push_back(SolidPicture(1, 1, 0, 0, 255));
    p.background = 1;
    p.buttons.push_back(Rec(0, 128, 256, 64, 32));
    p.buttons.push_back(Rec(0, 384, 256, 64, 32));
    GUILab panel(WritePanel(p).c_str());
    ASSERT_EQ(panel.buttons.size(), 2u);
    panel.GetButton(2)->flip_x = true;
    panel.Display();

    EXPECT_EQ(Pixel(2, 2), (std::vector<unsigned char>{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(509, 509), (std::vector<unsigned char>{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(100, 256)[0], 255);
    EXPECT_EQ(Pixel(160, 256)[1], 255);
    EXPECT_EQ(Pixel(356, 256)[1], 255);
    EXPECT_EQ(Pixel(416, 256)[0], 255);
}

// A panel file of one 2 x 2 picture, its background and three buttons; every
// prefix of it must load exactly the parts that are whole.
TEST_F(PanelsTest, EveryTruncationKeepsWhatIsWholeAndReportsFailure)
{
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(2, 2, 50, 60, 70));
    p.background = 0;
    for (int i = 0; i < 3; ++i)
        p.buttons.push_back(Rec(0, 10.0f + i, 20, 5, 5, i == 1));
    const std::vector<unsigned char> full = PanelFile::Encode(p);
    const size_t picture_end = 4 + 8 + 16 + PanelFile::kNameBytes;
    const size_t buttons_start = picture_end + 8;
    ASSERT_EQ(full.size(), buttons_start + 3 * PanelFile::kButtonRecordBytes);

    GUILab panel;
    for (size_t len = 0; len <= full.size(); ++len) {
        std::vector<unsigned char> cut(full.begin(), full.begin() + static_cast<long>(len));
        const std::string path = WriteBytes(cut);
        bool ok = panel.Load(path.c_str());
        std::remove(path.c_str());
        written.pop_back();
        EXPECT_EQ(ok, len == full.size()) << len;
        EXPECT_EQ(panel.textures.size(), len >= picture_end ? 1u : 0u) << len;
        size_t whole = len >= buttons_start ? (len - buttons_start) / PanelFile::kButtonRecordBytes : 0;
        ASSERT_EQ(panel.buttons.size(), whole) << len;
        if (whole >= 2) {
            EXPECT_TRUE(panel.GetButton(2)->hide);
        }
        if (len >= picture_end + 4) {
            EXPECT_EQ(panel.background, panel.textures.front());
        }
    }
}

TEST_F(PanelsTest, HostileCountsAndSizesStopTheLoadWithoutReadingOrAllocatingPastTheFile)
{
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    struct Case {
        const char* what;
        std::vector<int32_t> ints;
        size_t pictures;
        size_t buttons;
    };
    const std::vector<Case> cases = {
        {"negative picture count", {-1, 0, 0}, 0, 0},
        {"huge picture count", {0x7fffffff, 1, 1}, 0, 0},
        {"negative width", {1, -4, 4}, 0, 0},
        {"pixel size overflows 32 bits", {1, 65536, 65536}, 0, 0},
        {"pixel size overflows 64 bits", {1, 0x7fffffff, 0x7fffffff}, 0, 0},
        {"wider than a texture may be", {1, max_size + 1, 0}, 0, 0},
        {"taller than a texture may be", {1, 0, max_size + 1}, 0, 0},
        {"picture larger than the file", {1, 16, 16, 0, 0}, 0, 0},
        {"negative button count", {0, 0, -5}, 0, 0},
        {"huge button count", {0, 0, 0x7fffffff}, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes;
        for (int32_t v : c.ints)
            AppendRaw(bytes, v);
        GUILab panel;
        EXPECT_FALSE(panel.Load(WriteBytes(bytes).c_str())) << c.what;
        EXPECT_EQ(panel.textures.size(), c.pictures) << c.what;
        EXPECT_EQ(panel.buttons.size(), c.buttons) << c.what;
    }

    // A good picture before a bad one stays; so do buttons before a short count.
    PanelFile::Panel good;
    good.pictures.push_back(SolidPicture(1, 1, 1, 1, 1));
    std::vector<unsigned char> bytes = PanelFile::Encode(good);
    bytes.resize(4 + 8 + 4 + PanelFile::kNameBytes);
    bytes[0] = 2;
    AppendRaw(bytes, 100000);
    AppendRaw(bytes, 100000);
    GUILab panel;
    EXPECT_FALSE(panel.Load(WriteBytes(bytes).c_str()));
    EXPECT_EQ(panel.textures.size(), 1u);

    GUILab dir_panel;
    EXPECT_FALSE(dir_panel.Load(dir.c_str()));
    EXPECT_TRUE(dir_panel.buttons.empty());
}

TEST_F(PanelsTest, RandomlyDamagedFilesNeverBreakTheLoader)
{
    PanelFile::Panel p;
    p.pictures.push_back(SolidPicture(3, 2, 1, 2, 3));
    p.pictures.push_back(SolidPicture(1, 4, 4, 5, 6));
    p.background = 1;
    for (int i = 0; i < 6; ++i)
        p.buttons.push_back(Rec(i % 3 - 1, 40.0f * i, 100, 8, 8, i % 2 == 0));
    const std::vector<unsigned char> full = PanelFile::Encode(p);
    std::mt19937 rng(1234);
    GUILab panel;
    for (int round = 0; round < 200; ++round) {
        std::vector<unsigned char> bytes = full;
        int flips = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[rng() % bytes.size()] = static_cast<unsigned char>(rng());
        if (rng() % 2)
            bytes.resize(rng() % bytes.size());
        const std::string path = WriteBytes(bytes);
        panel.Load(path.c_str());
        std::remove(path.c_str());
        written.pop_back();
        EXPECT_LE(panel.textures.size(), bytes.size() / (8 + PanelFile::kNameBytes));
        EXPECT_LE(panel.buttons.size(), bytes.size() / PanelFile::kButtonRecordBytes);
    }
}

} // namespace
