// Panels against a real GL context: loading panel files (good, truncated and
// hostile), button lookup, the pointer hit tests and events, and what is drawn.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "gl_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr GLuint kAllOnes = static_cast<GLuint>(-1);
using PanelFile::Picture;
using Px = std::vector<unsigned char>;

Picture Solid(int w, int h, unsigned char r, unsigned char g, unsigned char b)
{
    Picture p;
    p.width = w;
    p.height = h;
    p.name = "solid";
    for (int i = 0; i < w * h; ++i)
        p.rgba.insert(p.rgba.end(), {r, g, b, 255});
    return p;
}

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
        std::remove((dir + "/p.gui").c_str());
        rmdir(dir.c_str());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    std::string Write(const std::vector<unsigned char>& bytes)
    {
        const std::string path = dir + "/p.gui";
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty())
                std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }
    std::string Write(const PanelFile::Panel& p) { return Write(PanelFile::Encode(p)); }
    static std::vector<unsigned char> Ints(std::initializer_list<int32_t> ints)
    {
        std::vector<unsigned char> out;
        for (int32_t v : ints)
            PanelFile::AppendInt32(out, v);
        return out;
    }

    // The pointer at a virtual point, for a 1024 x 768 window.
    static void PointAt(int vx, int vy) { GUILab::inputCursor(vx * 2, (512 - vy) * 3 / 2); }
    static Px Pixel(int x, int y)
    {
        Px px(4);
        glFinish();
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    std::string dir;
};

TEST_F(PanelsTest, TwelveByteFileIsAnEmptyPanelWithTheAllOnesBackground)
{
    GUILab panel;
    EXPECT_TRUE(panel.Load(Write(Ints({0, 0, 0})).c_str()));
    EXPECT_TRUE(panel.textures.empty());
    EXPECT_TRUE(panel.buttons.empty());
    EXPECT_EQ(panel.background, kAllOnes);
    GUILab::inputTouch(true);
    for (int kind = 0; kind <= 4; ++kind)
        EXPECT_EQ(panel.Event(kind), 0) << kind;
}

TEST_F(PanelsTest, OnePictureOneButtonGivesItsTextureAndButtonsAreLookedUpWithinBounds)
{
    GUILab panel(Write(PanelFile::Panel{{Solid(1, 1, 10, 20, 30)}, 0, {{0, 256, 256, 32, 32, false}}}).c_str());
    ASSERT_EQ(panel.textures.size(), 1u);
    ASSERT_EQ(panel.buttons.size(), 1u);
    const GLuint tex = panel.textures.front();
    EXPECT_EQ(panel.background, tex);
    for (int i : {-1, 0, 2})
        EXPECT_EQ(panel.GetButton(i), nullptr) << i;
    const GUILab::Button& b = *panel.GetButton(1);
    EXPECT_EQ(b.pattern, tex);
    EXPECT_FLOAT_EQ(b.position.x + b.position.y + b.w + b.h, 256 + 256 + 32 + 32);
    EXPECT_FALSE(b.flip_x || b.flip_y || b.hide);
    unsigned char px[4] = {};
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(Px(px, px + 3), (Px{10, 20, 30}));
}

TEST_F(PanelsTest, LoadingAgainDeletesTheFirstLoadsTexturesAndOnlyThose)
{
    const std::string path = Write(PanelFile::Panel{{Solid(2, 2, 1, 2, 3), Solid(1, 1, 4, 5, 6)}, 0, {{0, 1, 1, 1, 1, false}}});
    const std::string missing = dir + "/missing.gui";
    GUILab panel(path.c_str());
    const std::vector<GLuint> first(panel.textures.begin(), panel.textures.end());
    ASSERT_EQ(first.size(), 2u);
    EXPECT_TRUE(panel.Load(path.c_str()));
    ASSERT_EQ(panel.textures.size(), 2u);
    EXPECT_EQ(panel.buttons.size(), 1u);
    for (GLuint old : first)
        EXPECT_FALSE(glIsTexture(old)) << old;
    const std::vector<GLuint> second(panel.textures.begin(), panel.textures.end());
    // A failed load drops everything, its own background too.
    EXPECT_FALSE(panel.Load(missing.c_str()));
    EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty());
    EXPECT_EQ(panel.background, 0u);
    for (GLuint old : second)
        EXPECT_FALSE(glIsTexture(old));
    // ...but keeps a background that was set from outside.
    panel.SetBackground(4242);
    EXPECT_FALSE(panel.Load(missing.c_str()));
    EXPECT_EQ(panel.background, 4242u);
}

TEST_F(PanelsTest, PointerMapsToTheVirtualScreenWithStrictBoundsAndTheLaterButtonWins)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 1, 1));
    panel.buttons.push_back(GUILab::Button(0, 257, 256, 1, 1));
    panel.buttons.push_back(GUILab::Button(0, 0, 512, 1, 1));
    panel.buttons.push_back(GUILab::Button(0, 512, 256, 1, 1));
    GUILab::inputCursor(512, 384);
    EXPECT_TRUE(panel.GetButton(1)->isSelected());
    EXPECT_FALSE(panel.GetButton(2)->isSelected());
    EXPECT_EQ(panel.Event(1), 1);
    GUILab::inputCursor(0, 0); // the window's top-left corner is the virtual (0, 512)
    EXPECT_EQ(panel.Event(1), 3);
    GUILab::inputCursor(1023, 384); // 511.5 truncates to 511: outside the edge at 511
    EXPECT_EQ(panel.Event(1), 0);

    // Landscape: tx = 512 - y * 512 / h, ty = 512 - x * 512 / w.
    GUILab::inputPortrait(false);
    GUILab::inputCursor(512, 384);
    EXPECT_EQ(panel.Event(1), 1);
    panel.buttons.push_back(GUILab::Button(0, 0, 0, 1, 1));
    GUILab::inputCursor(1024, 768);
    EXPECT_EQ(panel.Event(1), 5);

    // Overlapping buttons answer with the later one.
    GUILab::inputPortrait(true);
    panel.buttons.push_back(GUILab::Button(0, 200, 200, 30, 30));
    panel.buttons.push_back(GUILab::Button(0, 210, 210, 30, 30));
    PointAt(205, 205);
    EXPECT_EQ(panel.Event(1), 7);
    PointAt(175, 175);
    EXPECT_EQ(panel.Event(1), 6);
}

TEST_F(PanelsTest, AWindowWithoutSizeHasThePointerOverNothing)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 600, 600));
    GUILab::inputTouch(true);
    GUILab::inputCursor(10, 10);
    for (bool portrait : {true, false}) {
        GUILab::inputPortrait(portrait);
        GUILab::inputCaption(0, 768);
        EXPECT_EQ(panel.Event(1), 0);
        EXPECT_FALSE(panel.GetButton(1)->isPressed());
        GUILab::inputCaption(1024, 0);
        EXPECT_EQ(panel.Event(3), 0);
        GUILab::inputCaption(1024, 768);
        EXPECT_EQ(panel.Event(2), 1);
    }
}

TEST_F(PanelsTest, APressIsAClickForOneFrameAndHeldAfterwards)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 20, 20));
    PointAt(256, 256);
    EXPECT_EQ(panel.Event(2), 0);
    EXPECT_EQ(panel.Event(3), 0);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3), 1);
    EXPECT_EQ(panel.Event(2), 1);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3), 0);
    EXPECT_EQ(panel.Event(2), 1);
    for (int kind : {-1, 0, 4})
        EXPECT_EQ(panel.Event(kind), 0) << kind;
}

TEST_F(PanelsTest, ARegionIsTheWindowForEventsAndTheInputIsRestoredExactly)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 2, 2));
    // Window 800 x 600; the region's centre is the window pixel (300, 400) from the top.
    GUILab::inputCaption(800, 600);
    GUILab_inf::cursor = vector2f(300.25f, 400.25f);
    EXPECT_EQ(panel.Event(1), 0);
    panel.SetRegion(100, 50, 400, 300);
    for (int kind = 1; kind <= 3; ++kind)
        panel.Event(kind);
    EXPECT_EQ(panel.Event(1), 1);
    EXPECT_EQ(GUILab_inf::cursor.x, 300.25f);
    EXPECT_EQ(GUILab_inf::cursor.y, 400.25f);
    EXPECT_EQ(GUILab_inf::device_w, 800);
    EXPECT_EQ(GUILab_inf::device_h, 600);
    panel.SetRegionFullScreen();
    EXPECT_EQ(panel.Event(1), 0);
}

TEST_F(PanelsTest, PicturesCoverTheirRectangleUprightOrMirroredAndHiddenOnesAreNotDrawn)
{
    Picture two = Solid(2, 1, 255, 0, 0); // left texel red, right green
    two.rgba[4] = 0;
    two.rgba[5] = 255;
    GUILab panel(Write(PanelFile::Panel{{two, Solid(1, 1, 0, 0, 255)}, 1,
                                        {{0, 128, 256, 64, 32, false}, {0, 384, 256, 64, 32, false},
                                         {-1, 256, 400, 20, 20, true}}})
                     .c_str());
    ASSERT_EQ(panel.buttons.size(), 3u);
    panel.GetButton(2)->flip_x = true;
    panel.Display();
    const Px blue = {0, 0, 255, 255}, red = {255, 0, 0, 255}, green = {0, 255, 0, 255};
    // One virtual unit is one pixel here: the first button is x 64..191, y 224..287.
    EXPECT_EQ(Pixel(64, 224), red);
    EXPECT_EQ(Pixel(191, 287), green);
    EXPECT_EQ(Pixel(321, 256), green);
    EXPECT_EQ(Pixel(446, 256), red);
    for (auto xy : std::vector<std::pair<int, int>>{{2, 2}, {509, 509}, {63, 256}, {192, 256}, {100, 223}, {100, 288},
                                                    {256, 400}})
        EXPECT_EQ(Pixel(xy.first, xy.second), blue) << xy.first << "," << xy.second;
    PointAt(256, 400);
    EXPECT_EQ(panel.Event(1), 3) << "hidden, yet still there for the pointer";
}

TEST_F(PanelsTest, EveryTruncationKeepsWhatIsWholeAndRandomDamageBreaksNothing)
{
    PanelFile::Panel p;
    p.pictures.push_back(Solid(2, 2, 50, 60, 70));
    p.background = 0;
    for (int i = 0; i < 3; ++i)
        p.buttons.push_back({0, 10.0f + i, 20, 5, 5, i == 1});
    const std::vector<unsigned char> full = PanelFile::Encode(p);
    const size_t picture_end = 4 + 8 + 16 + PanelFile::kNameBytes, buttons_start = picture_end + 8;
    ASSERT_EQ(full.size(), buttons_start + 3 * PanelFile::kButtonRecordBytes);
    GUILab panel;
    for (size_t len = 0; len <= full.size(); ++len) {
        const bool ok = panel.Load(Write(std::vector<unsigned char>(full.begin(), full.begin() + static_cast<long>(len))).c_str());
        EXPECT_EQ(ok, len == full.size()) << len;
        EXPECT_EQ(panel.textures.size(), len >= picture_end ? 1u : 0u) << len;
        const size_t whole = len >= buttons_start ? (len - buttons_start) / PanelFile::kButtonRecordBytes : 0;
        ASSERT_EQ(panel.buttons.size(), whole) << len;
        EXPECT_TRUE(whole < 2 || panel.GetButton(2)->hide) << len;
        EXPECT_TRUE(len < picture_end + 4 || panel.background == panel.textures.front()) << len;
    }
    // Random damage never breaks the loader (run under the sanitizers too).
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes = full;
        for (int i = 0, flips = 1 + static_cast<int>(rng() % 6); i < flips; ++i)
            bytes[rng() % bytes.size()] = static_cast<unsigned char>(rng());
        bytes.resize(rng() % 2 ? rng() % bytes.size() : bytes.size());
        panel.Load(Write(bytes).c_str());
        EXPECT_LE(panel.textures.size(), bytes.size() / (8 + PanelFile::kNameBytes));
        EXPECT_LE(panel.buttons.size(), bytes.size() / PanelFile::kButtonRecordBytes);
    }
}

TEST_F(PanelsTest, HostileCountsAndSizesStopTheLoadWithoutReadingOrAllocatingPastTheFile)
{
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    const std::vector<std::pair<const char*, std::vector<unsigned char>>> cases = {
        {"negative picture count", Ints({-1, 0, 0})},
        {"huge picture count", Ints({0x7fffffff, 1, 1})},
        {"negative width", Ints({1, -4, 4})},
        {"pixel size overflows 32 bits", Ints({1, 65536, 65536})},
        {"pixel size overflows 64 bits", Ints({1, 0x7fffffff, 0x7fffffff})},
        {"wider than a texture may be", Ints({1, max + 1, 0})},
        {"taller than a texture may be", Ints({1, 0, max + 1})},
        {"picture larger than the file", Ints({1, 16, 16, 0, 0})},
        {"negative button count", Ints({0, 0, -5})},
        {"huge button count", Ints({0, 0, 0x7fffffff})},
    };
    for (const auto& c : cases) {
        GUILab panel;
        EXPECT_FALSE(panel.Load(Write(c.second).c_str())) << c.first;
        EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty()) << c.first;
    }
    // A good picture before a bad one stays.
    std::vector<unsigned char> bytes = PanelFile::Encode(PanelFile::Panel{{Solid(1, 1, 1, 1, 1)}, -1, {}});
    bytes.resize(4 + 8 + 4 + PanelFile::kNameBytes);
    bytes[0] = 2;
    const std::vector<unsigned char> huge = Ints({100000, 100000});
    bytes.insert(bytes.end(), huge.begin(), huge.end());
    GUILab panel;
    EXPECT_FALSE(panel.Load(Write(bytes).c_str()));
    EXPECT_EQ(panel.textures.size(), 1u);
    EXPECT_FALSE(panel.Load(dir.c_str()));
    EXPECT_TRUE(panel.buttons.empty());
}

} // namespace
