// Panels against a real GL context: panel files (good, cut, hostile, oversized),
// the pointer's hit tests and events, what is drawn, the built panel files and
// the make_panel tool that writes them.
#include "alloc_probe.h"
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "gl_context.h"
#include "scratch_dir.h"
#include "tools/image_io/image_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr GLuint kAllOnes = static_cast<GLuint>(-1);
using bm::Bytes;
using PanelFile::Picture;

Picture Solid(int w, int h, unsigned char r, unsigned char g, unsigned char b)
{
    Picture p{w, h, {}, "solid"};
    for (int i = 0; i < w * h; ++i)
        p.rgba.insert(p.rgba.end(), {r, g, b, 255});
    return p;
}

Bytes Ints(std::initializer_list<int32_t> ints)
{
    Bytes out;
    for (int32_t v : ints)
        PanelFile::AppendInt32(out, v);
    return out;
}

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        bm::UseOffscreenCanvas();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GUILab::inputPortrait(true);
        GUILab::inputCaption(512, 512); // one window pixel per virtual unit
        GUILab::inputTouch(false);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    std::string Write(const Bytes& bytes) { return dir.Write("p.gui", bytes); }
    std::string Write(const PanelFile::Panel& p) { return Write(PanelFile::Encode(p)); }
    static void PointAt(int vx, int vy) { GUILab::inputCursor(vx, 512 - vy); }
    static Bytes Texels(GLuint tex, size_t n)
    {
        Bytes px(n * 4);
        glBindTexture(GL_TEXTURE_2D, tex);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    bm::ScratchDir dir;
};

TEST_F(PanelsTest, PicturesAndButtonsLoadInFileOrderAndALoadReplacesAllBefore)
{
    GUILab panel;
    EXPECT_TRUE(panel.Load(Write(Ints({0, 0, 0})).c_str()));
    EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty());
    EXPECT_EQ(panel.background, kAllOnes) << "index 0 names no picture of an empty panel";

    const std::string path = Write(PanelFile::Panel{{Solid(1, 1, 10, 20, 30), Solid(1, 1, 1, 2, 3)}, 1,
                                                    {{1, 256, 200, 32, 16, true}, {-1, 0, 0, 0, 0, false}}});
    ASSERT_TRUE(panel.Load(path.c_str()));
    ASSERT_EQ(panel.textures.size(), 2u);
    const std::vector<GLuint> first(panel.textures.begin(), panel.textures.end());
    EXPECT_EQ(Texels(first[0], 1), (Bytes{10, 20, 30, 255}));
    EXPECT_EQ(panel.background, first[1]);
    const GUILab::Button& b = *panel.GetButton(1);
    EXPECT_TRUE(b.pattern == first[1] && b.position.x == 256 && b.position.y == 200 && b.w == 32 && b.h == 16 &&
                b.hide && !b.flip_x && !b.flip_y);
    EXPECT_EQ(panel.GetButton(2)->pattern, kAllOnes);
    EXPECT_TRUE(panel.GetButton(0) == nullptr && panel.GetButton(3) == nullptr);

    ASSERT_TRUE(panel.Load(path.c_str()));
    for (GLuint old : first)
        EXPECT_TRUE(!glIsTexture(old) || std::count(panel.textures.begin(), panel.textures.end(), old)) << old;
    // A failed load drops everything, its own background too, but not one set from outside.
    EXPECT_FALSE(panel.Load((dir.path + "/missing.gui").c_str()));
    EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty() && panel.background == 0);
    panel.SetBackground(4242);
    EXPECT_FALSE(panel.Load(dir.path.c_str()));
    EXPECT_EQ(panel.background, 4242u);
}

TEST_F(PanelsTest, EveryCutKeepsWhatIsWhole)
{
    PanelFile::Panel p{{Solid(2, 2, 50, 60, 70)}, 0, {}};
    for (int i = 0; i < 3; ++i)
        p.buttons.push_back({0, 10.0f + i, 20, 5, 5, i == 1});
    const Bytes full = PanelFile::Encode(p);
    const size_t picture_end = 4 + 8 + 16 + PanelFile::kNameBytes, buttons_start = picture_end + 8;
    GUILab panel;
    for (size_t len = 0; len <= full.size(); ++len) {
        const bool ok = panel.Load(Write(Bytes(full.begin(), full.begin() + static_cast<long>(len))).c_str());
        EXPECT_EQ(ok, len == full.size()) << len;
        EXPECT_EQ(panel.textures.size(), len >= picture_end ? 1u : 0u) << len;
        const size_t whole = len >= buttons_start ? (len - buttons_start) / PanelFile::kButtonRecordBytes : 0;
        ASSERT_EQ(panel.buttons.size(), whole) << len;
        EXPECT_TRUE(whole < 2 || panel.GetButton(2)->hide) << len;
        EXPECT_TRUE(len < picture_end + 4 || panel.background == panel.textures.front()) << len;
    }
}

TEST_F(PanelsTest, HostileCountsAndSizesStopTheLoadBeforeAnythingIsSizedFromThem)
{
    const std::pair<const char*, Bytes> cases[] = {
        {"negative picture count", Ints({-1, 0, 0})},
        {"huge picture count", Ints({0x7fffffff, 1, 1})},
        {"negative width", Ints({1, -4, 4})},
        {"pixel size beyond 32 bits", Ints({1, 65536, 65536, 0})},
        {"pixel size beyond 64 bits", Ints({1, 0x7fffffff, 0x7fffffff})},
        {"picture larger than the file", Ints({1, 1000, 1000, 0, 0, 0})},
        {"negative button count", Ints({0, 0, -5})},
        {"huge button count", Ints({0, 0, 0x7fffffff})},
    };
    for (const auto& [name, bytes] : cases) {
        GUILab panel;
        const std::string path = Write(bytes);
        bm::LargestAllocation();
        EXPECT_FALSE(panel.Load(path.c_str())) << name;
        EXPECT_LT(bm::LargestAllocation(), 1024u) << name;
        EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty()) << name;
    }
}

TEST_F(PanelsTest, APictureTooLargeForTheDriverIsSkippedAndTheRestLoads)
{
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    GUILab panel(Write(PanelFile::Panel{{Solid(max + 1, 1, 9, 9, 9), Solid(1, 1, 200, 0, 0)}, 1,
                                        {{0, 100, 100, 5, 5, false}, {1, 200, 200, 5, 5, false}}})
                     .c_str());
    ASSERT_EQ(panel.textures.size(), 2u);
    ASSERT_EQ(panel.buttons.size(), 2u);
    EXPECT_EQ(panel.GetTextureByIndex(0), 0u) << "no texture in place of the oversized picture";
    EXPECT_EQ(panel.background, panel.GetTextureByIndex(1));
    EXPECT_EQ(panel.GetButton(2)->pattern, panel.GetTextureByIndex(1));
    EXPECT_EQ(Texels(panel.GetTextureByIndex(1), 1), (Bytes{200, 0, 0, 255}));
}

TEST_F(PanelsTest, ThePointerIsOverAButtonStrictlyInsideItsEdgesAndTheLaterButtonWins)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 10, 20));
    // Each edge approached from just below, at and just above it.
    for (int d = -1; d <= 1; ++d) {
        const std::pair<int, int> points[] = {{246 + d, 256}, {266 + d, 256}, {256, 236 + d}, {256, 276 + d}};
        for (int edge = 0; edge < 4; ++edge) {
            PointAt(points[edge].first, points[edge].second);
            const bool inside = edge % 2 == 0 ? d > 0 : d < 0;
            EXPECT_EQ(panel.Event(1), inside ? 1 : 0) << "edge " << edge << " offset " << d;
        }
    }
    panel.buttons.push_back(GUILab::Button(0, 260, 256, 10, 10));
    PointAt(258, 256);
    EXPECT_EQ(panel.Event(1), 2);
    // Landscape: tx = 512 - y * 512 / h, ty = 512 - x * 512 / w.
    GUILab::inputPortrait(false);
    GUILab::inputCursor(256, 256);
    EXPECT_EQ(panel.Event(1), 2);
    GUILab::inputCursor(256, 240);
    EXPECT_EQ(panel.Event(1), 0);
    // No window size: over nothing.
    GUILab::inputCaption(0, 512);
    EXPECT_EQ(panel.Event(1), 0);
}

TEST_F(PanelsTest, APressIsAClickForOneFrameAndARegionLeavesTheInputAsItWas)
{
    GUILab panel;
    panel.buttons.push_back(GUILab::Button(0, 256, 256, 20, 20));
    PointAt(256, 256);
    EXPECT_EQ(panel.Event(3), 0);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3) * 10 + panel.Event(2), 11);
    GUILab::inputTouch(true);
    EXPECT_EQ(panel.Event(3) * 10 + panel.Event(2), 1);
    for (int kind : {0, 4})
        EXPECT_EQ(panel.Event(kind), 0) << kind;

    GUILab::inputCaption(800, 600);
    GUILab_inf::cursor = vector2f(300.25f, 400.25f);
    panel.SetRegion(100, 50, 400, 300); // the button's centre is the window pixel (300, 400)
    EXPECT_EQ(panel.Event(1), 1);
    EXPECT_TRUE(GUILab_inf::cursor.x == 300.25f && GUILab_inf::cursor.y == 400.25f);
    EXPECT_TRUE(GUILab_inf::device_w == 800 && GUILab_inf::device_h == 600);
}

TEST_F(PanelsTest, PicturesCoverTheirRectangleUprightOrMirroredAndHiddenOnesAreNotDrawn)
{
    Picture two = Solid(2, 1, 255, 0, 0); // left texel red, right green
    two.rgba[4] = 0;
    two.rgba[5] = 255;
    GUILab panel(Write(PanelFile::Panel{{two, Solid(1, 1, 0, 0, 255)}, 1,
                                        {{0, 128, 256, 64, 32, false}, {0, 384, 256, 64, 32, false},
                                         {0, 256, 400, 20, 20, true}}})
                     .c_str());
    panel.GetButton(2)->flip_x = true;
    panel.Display();
    auto pixel = [](int x, int y) {
        Bytes px(4);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    };
    const Bytes blue = {0, 0, 255, 255}, red = {255, 0, 0, 255}, green = {0, 255, 0, 255};
    EXPECT_EQ(pixel(64, 224), red);
    EXPECT_EQ(pixel(191, 287), green);
    EXPECT_EQ(pixel(321, 256), green);
    EXPECT_EQ(pixel(446, 256), red);
    for (auto [x, y] : std::initializer_list<std::pair<int, int>>{{63, 256}, {192, 256}, {100, 223}, {100, 288}, {256, 400}})
        EXPECT_EQ(pixel(x, y), blue) << x << "," << y;
}

// Buttons the game acts on must not lie under a later button, or their clicks
// would be reported as the later one's.
TEST(BuiltPanels, LoadWithTheirButtonsAndNoActingButtonIsCovered)
{
    bm::EnsureGlContext();
    std::vector<int> interface = {107, 108, 109, 110, 111, 113, 114, 115, 116, 117, 118, 119, 121};
    for (int hole : {16, 31, 46, 61, 76, 91, 1})
        interface.push_back(hole + 10); // the hole's add button
    const struct {
        const char* file;
        size_t buttons;
        std::vector<int> acting;
    } panels[] = {{"Data/menu.gui", 4, {1, 2, 3, 4}},
                  {"Data/help_0.gui", 1, {1}},
                  {"Data/credits.gui", 2, {1, 2}},
                  {"Data/skills.gui", 46, {1, 3, 4, 6, 7, 9, 10, 12, 13, 15, 16}},
                  {"Data/interface.gui", 121, interface}};
    for (const auto& p : panels) {
        GUILab panel;
        ASSERT_TRUE(panel.Load(p.file)) << p.file;
        EXPECT_EQ(panel.buttons.size(), p.buttons) << p.file;
        for (int a : p.acting) {
            const GUILab::Button& b = *panel.GetButton(a);
            for (size_t later = a + 1; later <= p.buttons; ++later) {
                const GUILab::Button& c = *panel.GetButton(static_cast<int>(later));
                const bool overlap = c.w > 0 && c.h > 0 && std::abs(b.position.x - c.position.x) < b.w + c.w &&
                                     std::abs(b.position.y - c.position.y) < b.h + c.h;
                EXPECT_FALSE(overlap) << p.file << ": button " << a << " under " << later;
            }
        }
    }
}

TEST_F(PanelsTest, MakePanelOutputLoadsBackButtonForButtonAndPixelForPixel)
{
    Image png;
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        png.rgba.insert(png.rgba.end(), {static_cast<unsigned char>(40 * i), 7, static_cast<unsigned char>(i), 200});
    std::filesystem::create_directory(dir.path + "/art");
    ASSERT_TRUE(WritePNG(dir.path + "/art/dots.png", png));
    dir.Write("art/square.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2'>"
                                "<rect x='0' y='0' width='4' height='1' fill='#ff0000'/>"
                                "<rect x='0' y='1' width='4' height='1' fill='#0000ff'/></svg>");
    dir.Write("t.layout", "picture dots art/dots.png\npicture square art/square.svg\nbackground square\n"
                          "button 1 dots 10 20 30 40 shown # first\nbutton 2 none -5 0.5 0 1e3 hidden # second\n");
    ASSERT_EQ(std::system(("'" BM_MAKE_PANEL "' '" + dir.path + "/t.layout' '" + dir.path + "' '" + dir.path +
                           "/t.gui' >/dev/null 2>&1").c_str()),
              0);
    GUILab panel;
    ASSERT_TRUE(panel.Load((dir.path + "/t.gui").c_str()));
    ASSERT_EQ(panel.textures.size(), 2u);
    ASSERT_EQ(panel.buttons.size(), 2u);
    const GLuint dots = panel.GetTextureByIndex(0), square = panel.GetTextureByIndex(1);
    EXPECT_EQ(panel.background, square);
    const GUILab::Button &a = *panel.GetButton(1), &b = *panel.GetButton(2);
    EXPECT_TRUE(a.pattern == dots && a.position.x == 10 && a.position.y == 20 && a.w == 30 && a.h == 40 && !a.hide);
    EXPECT_TRUE(b.pattern == kAllOnes && b.position.x == -5 && b.position.y == 0.5f && b.w == 0 && b.h == 1000 && b.hide);
    EXPECT_EQ(Texels(dots, 6), png.rgba);
    // The SVG's top row is red: stored upright it is the last row, at the top of the texture.
    const Bytes sq = Texels(square, 8);
    EXPECT_EQ(std::vector<int>({sq[0], sq[2], sq[16], sq[18]}), std::vector<int>({0, 255, 255, 0}));
}

} // namespace
