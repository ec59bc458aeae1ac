// Panels against a real GL context: panel files written with the format's own
// encoder (good, cut, hostile, oversized), the pointer's hit tests, what is drawn.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "engine/texture_binding.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

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
    return std::for_each(ints.begin(), ints.end(), [&](int32_t v) { bm::Put32(out, static_cast<uint32_t>(v)); }), out;
}

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::Canvas();
        GUILab::inputPortrait(true);
        GUILab::inputCaption(512, 512); // one window pixel per virtual unit
        GUILab::inputTouch(false);
    }

    std::string Write(const Bytes& bytes) { return dir.Write("p.gui", bytes); }
    std::string Write(const PanelFile::Panel& p) { return Write(PanelFile::Encode(p)); }
    static void PointAt(int vx, int vy) { GUILab::inputCursor(vx, 512 - vy); }

    bm::ScratchDir dir;
};

TEST_F(PanelsTest, PicturesAndButtonsLoadInFileOrderAndALoadReplacesAllBefore)
{
    GUILab panel;
    EXPECT_TRUE(panel.Load(Write(Ints({0, 0, 0})).c_str()));
    EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty() && panel.background == kAllOnes);

    const std::string path = Write(PanelFile::Panel{{Solid(1, 1, 10, 20, 30), Solid(1, 1, 1, 2, 3)}, 1,
                                                    {{1, 256, 200, 32, 16, true}, {-1, 0, 0, 0, 0, false}}});
    ASSERT_TRUE(panel.Load(path.c_str()));
    const std::vector<GLuint> first(panel.textures.begin(), panel.textures.end());
    ASSERT_EQ(first.size(), 2u);
    EXPECT_TRUE(panel.background == first[1] && panel.GetButton(1)->pattern == first[1] && panel.GetButton(1)->hide);
    EXPECT_TRUE(panel.GetButton(0) == nullptr && panel.GetButton(3) == nullptr);

    ASSERT_TRUE(panel.Load(path.c_str()));
    for (GLuint old : first)
        EXPECT_TRUE(!glIsTexture(old) || std::count(panel.textures.begin(), panel.textures.end(), old)) << old;
    // A failed load drops everything, its own background too, but not one set from outside.
    EXPECT_FALSE(panel.Load((dir.path + "/missing.gui").c_str()));
    EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty() && panel.background == 0);
    panel.SetBackground(4242);
    EXPECT_TRUE(!panel.Load(dir.path.c_str()) && panel.background == 4242);
}

// A released picture's name may be handed out again: it must not find the bind
// cache thinking it bound, nor the old picture's visible part and polygon.
TEST_F(PanelsTest, ReleasedPicturesLeaveNeitherABoundNameNorTheirShapes)
{
    GUILab panel;
    ASSERT_TRUE(panel.Load(Write(PanelFile::Panel{{Solid(1, 1, 10, 20, 30)}, 0, {}}).c_str()));
    GLuint tex = panel.textures.front();
    const OpaqueBounds part{0.25f, 0.25f, 0.75f, 0.75f};
    const VisibleHull hull{3, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    SetOpaqueBounds(tex, &part);
    SetVisibleHull(tex, &hull);
    BindTexture(tex);
    ASSERT_TRUE(BoundTexture() == tex && BoundOpaqueBounds() && BoundVisibleHull());
    panel.ReleaseGDI();
    EXPECT_TRUE(!glIsTexture(tex) && BoundTexture() == 0u);
    BindTexture(tex);
    EXPECT_TRUE(BoundOpaqueBounds() == nullptr && BoundVisibleHull() == nullptr);
    glDeleteTextures(1, &tex);
    ForgetBoundTexture();
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
        EXPECT_EQ(panel.Load(Write(Bytes(full.begin(), full.begin() + static_cast<long>(len))).c_str()), len == full.size());
        EXPECT_EQ(panel.textures.size(), len >= picture_end ? 1u : 0u) << len;
        const size_t whole = len >= buttons_start ? (len - buttons_start) / PanelFile::kButtonRecordBytes : 0;
        ASSERT_EQ(panel.buttons.size(), whole) << len;
        EXPECT_TRUE(whole < 2 || panel.GetButton(2)->hide) << len;
        EXPECT_TRUE(len < picture_end + 4 || panel.background == panel.textures.front()) << len;
    }
}

TEST_F(PanelsTest, HostileSizesStopTheLoadBeforeAnythingIsSizedFromThemAndAnOversizedPictureIsSkipped)
{
    // Picture and button counts, sides, and sizes beyond 32 and 64 bits or beyond the file.
    for (const Bytes& bytes : {Ints({-1, 0, 0}), Ints({0x7fffffff, 1, 1}), Ints({1, -4, 4}), Ints({1, 65536, 65536, 0}),
                               Ints({1, 0x7fffffff, 0x7fffffff}), Ints({1, 1000, 1000, 0, 0, 0}), Ints({0, 0, -5}),
                               Ints({0, 0, 0x7fffffff})}) {
        GUILab panel;
        const std::string path = Write(bytes);
        bm::LargestAllocation();
        EXPECT_FALSE(panel.Load(path.c_str())) << ::testing::PrintToString(bytes);
        EXPECT_LT(bm::LargestAllocation(), 1024u) << ::testing::PrintToString(bytes);
        EXPECT_TRUE(panel.textures.empty() && panel.buttons.empty());
    }
    // A picture the driver cannot hold is skipped, and what follows it still loads.
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    GUILab panel(Write(PanelFile::Panel{{Solid(max + 1, 1, 9, 9, 9), Solid(1, 1, 200, 0, 0)}, 1,
                                        {{0, 100, 100, 5, 5, false}, {1, 200, 200, 5, 5, false}}})
                     .c_str());
    ASSERT_TRUE(panel.textures.size() == 2 && panel.buttons.size() == 2);
    const GLuint second = panel.GetTextureByIndex(1);
    EXPECT_EQ(panel.GetTextureByIndex(0), 0u) << "no texture in place of the oversized picture";
    EXPECT_TRUE(panel.background == second && panel.GetButton(2)->pattern == second);
    EXPECT_EQ(bm::Texels(second, 1), (Bytes{200, 0, 0, 255}));
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
    GUILab::inputCaption(0, 512); // no window size: over nothing
    EXPECT_EQ(panel.Event(1), 0);
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
    const Bytes blue = {0, 0, 255, 255}, red = {255, 0, 0, 255}, green = {0, 255, 0, 255};
    const std::tuple<int, int, Bytes> pixels[] = {{64, 224, red},   {191, 287, green}, {321, 256, green}, {446, 256, red},
                                                  {63, 256, blue},  {192, 256, blue},  {100, 223, blue},  {100, 288, blue},
                                                  {256, 400, blue}};
    for (const auto& [x, y, colour] : pixels)
        EXPECT_EQ(bm::Pixel(x, y), colour) << x << "," << y;
}

} // namespace
