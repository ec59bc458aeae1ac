// The five built panel files against the roles the game gives their buttons, and
// the make_panel tool: round trip through GUILab::Load and malformed layouts.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "gl_context.h"
#include "tools/image_io/image_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr GLuint kAllOnes = static_cast<GLuint>(-1);

struct Rect {
    float l, b, r, t;
    bool Empty() const { return !(l < r && b < t); }
};

Rect Of(const GUILab::Button& btn)
{
    return {btn.position.x - btn.w, btn.position.y - btn.h, btn.position.x + btn.w, btn.position.y + btn.h};
}

// Open rectangles, like the hit test: touching edges do not overlap.
bool Overlap(const Rect& a, const Rect& c)
{
    return !a.Empty() && !c.Empty() && a.l < c.r && c.l < a.r && a.b < c.t && c.b < a.t;
}

// What glPrintText covers for n characters at (x, y) with a size, not centred.
Rect TextRect(float x, float y, float size, int n)
{
    return {x, y, x + size * 1.025f * static_cast<float>(n - 1) + 2.0f * size, y + 2.0f * size};
}

bool Inside(const Rect& in, const Rect& out) { return in.l >= out.l && in.r <= out.r && in.b >= out.b && in.t <= out.t; }

std::string Describe(int i, const Rect& r)
{
    return "button " + std::to_string(i) + " [" + std::to_string(r.l) + ".." + std::to_string(r.r) + "] x [" +
           std::to_string(r.b) + ".." + std::to_string(r.t) + "]";
}

// The interface panel: the base index of each hole group, holes 0..6.
const int kHoleIds[7] = {16, 31, 46, 61, 76, 91, 1};
int TargetOf(int hole) { return hole == 6 ? 113 : 114 + hole; }

// The clickable members of a hole group (hole, add, target, nine slots), then the building and its bar.
std::vector<int> HoleMembers(int hole)
{
    const int id = kHoleIds[hole];
    return {id, id + 10, TargetOf(hole), id + 1, id + 2, id + 3, id + 4, id + 5, id + 6, id + 7, id + 8, id + 9,
            id + 12, id + 13};
}

class PanelLayoutsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        GUILab::inputPortrait(true);
        GUILab::inputCaption(1024, 768);
        GUILab::inputTouch(false);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    static void PointAt(float vx, float vy)
    {
        GUILab::inputCursor(static_cast<int>(vx * 2.0f + 0.5f), static_cast<int>((512.0f - vy) * 1.5f + 0.5f));
    }

    static Rect R(GUILab& p, int i)
    {
        GUILab::Button* b = p.GetButton(i);
        EXPECT_NE(b, nullptr) << i;
        return b ? Of(*b) : Rect{0, 0, 0, 0};
    }

    // No button later in the list may lie over a button the game reads through
    // Event, or that button's clicks would be reported as the later one's.
    static void ExpectNotCoveredByLaterButtons(GUILab& p, const std::vector<int>& acting, const char* name)
    {
        const int count = static_cast<int>(p.buttons.size());
        for (int a : acting) {
            for (int later = a + 1; later <= count; ++later)
                EXPECT_FALSE(Overlap(R(p, a), R(p, later)))
                    << name << ": " << Describe(a, R(p, a)) << " under " << Describe(later, R(p, later));
            GUILab::Button* b = p.GetButton(a);
            PointAt(b->position.x, b->position.y);
            EXPECT_EQ(p.Event(1), a) << name << ": pointer at the centre of button " << a;
        }
    }
};

TEST_F(PanelLayoutsTest, EachBuiltPanelLoadsWithItsButtonsAndPictures)
{
    const struct {
        const char* file;
        size_t buttons, pictures;
    } panels[] = {{"Data/menu.gui", 4, 3},    {"Data/help_0.gui", 1, 0},       {"Data/credits.gui", 2, 0},
                  {"Data/skills.gui", 46, 0}, {"Data/interface.gui", 121, 0}};
    for (const auto& e : panels) {
        GUILab p;
        ASSERT_TRUE(p.Load(e.file)) << e.file;
        EXPECT_EQ(p.buttons.size(), e.buttons) << e.file;
        EXPECT_EQ(p.textures.size(), e.pictures) << e.file;
        EXPECT_EQ(p.background, kAllOnes) << e.file << ": the game sets the background";
    }
}

TEST_F(PanelLayoutsTest, MenuHelpAndCreditsButtonsAnswerWhereTheyAre)
{
    GUILab menu, help, credits;
    ASSERT_TRUE(menu.Load("Data/menu.gui") && help.Load("Data/help_0.gui") && credits.Load("Data/credits.gui"));
    std::set<GLuint> seen;
    for (int i = 1; i <= 3; ++i) {
        const GUILab::Button* b = menu.GetButton(i);
        EXPECT_TRUE(glIsTexture(b->pattern)) << i;
        seen.insert(b->pattern);
        GLint w = 0, h = 0;
        glBindTexture(GL_TEXTURE_2D, b->pattern);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w * 1000 + h, 320 * 1000 + 96) << i;
        EXPECT_NEAR(b->w / b->h, 320.0 / 96.0, 0.01) << "the picture is not stretched";
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(menu.GetButton(4)->pattern, kAllOnes);
    ExpectNotCoveredByLaterButtons(menu, {1, 2, 3, 4}, "menu");
    ExpectNotCoveredByLaterButtons(help, {1}, "help");
    ExpectNotCoveredByLaterButtons(credits, {1, 2}, "credits");
    EXPECT_TRUE(credits.GetButton(2)->hide);
    EXPECT_FALSE(credits.GetButton(1)->hide);
}

TEST_F(PanelLayoutsTest, SkillsRowsReadAsArrowLevelOneArrowLevelTwoWithTheirLabels)
{
    GUILab skills;
    ASSERT_TRUE(skills.Load("Data/skills.gui"));
    // Per row, top to bottom: level 1, level 2, the arrow between them, their price labels and markers.
    const int rows[5][7] = {{6, 4, 27, 37, 38, 18, 17}, {9, 7, 28, 46, 39, 19, 23}, {12, 10, 29, 45, 40, 20, 24},
                            {15, 13, 30, 44, 41, 21, 25}, {3, 1, 31, 43, 42, 22, 26}};
    std::vector<int> acting = {16};
    float previous_y = 1000;
    for (const auto& r : rows) {
        SCOPED_TRACE(r[0]);
        acting.insert(acting.end(), {r[0], r[1]});
        const float y = skills.GetButton(r[0])->position.y;
        EXPECT_LT(y, previous_y);
        previous_y = y;
        EXPECT_TRUE(skills.GetButton(r[1])->position.y == y && skills.GetButton(r[2])->position.y == y);
        EXPECT_TRUE(R(skills, r[2]).l >= R(skills, r[0]).r && R(skills, r[2]).r <= R(skills, r[1]).l);
        for (int k = 0; k < 2; ++k) {
            const GUILab::Button *level = skills.GetButton(r[k]), *label = skills.GetButton(r[3 + k]);
            EXPECT_EQ(skills.GetButton(r[5 + k])->position.x, level->position.x) << "marker on its level";
            EXPECT_GE(R(skills, r[5 + k]).b, Of(*level).t);
            EXPECT_LT(std::abs(label->position.y - level->position.y), 35.0f);
            EXPECT_LT(std::abs(label->position.x - level->position.x), 50.0f);
            // The label and the "(35)" printed under it touch no other button.
            const Rect price = TextRect(label->position.x, label->position.y - 15.0f, 5.0f, 4);
            EXPECT_GE(price.b, 0.0f);
            for (int i = 1; i <= 46; ++i)
                EXPECT_FALSE(i != r[3 + k] && (Overlap(Of(*label), R(skills, i)) || Overlap(price, R(skills, i))))
                    << "label " << r[3 + k] << " or its price on button " << i;
        }
    }
    ExpectNotCoveredByLaterButtons(skills, acting, "skills");
}

TEST_F(PanelLayoutsTest, InterfaceHoleGroupsLieInTheHoleBandSpreadAcrossAndNeverShareAClick)
{
    GUILab gui;
    ASSERT_TRUE(gui.Load("Data/interface.gui"));
    std::vector<std::pair<float, int>> xs;
    for (int hole = 0; hole < 7; ++hole) {
        SCOPED_TRACE(hole);
        const int id = kHoleIds[hole];
        xs.push_back({gui.GetButton(id)->position.x, hole});
        for (int i : HoleMembers(hole)) {
            const Rect r = R(gui, i);
            EXPECT_TRUE(!r.Empty() && r.b >= 0.0f && r.t <= 156.0f) << Describe(i, r);
        }
        for (int other = hole + 1; other < 7; ++other)
            for (int a : HoleMembers(hole))
                for (int c : HoleMembers(other))
                    EXPECT_FALSE(Overlap(R(gui, a), R(gui, c))) << Describe(a, R(gui, a)) << " / " << Describe(c, R(gui, c));
        // Within the group, hole, add, target and the slots never take each other's clicks.
        const std::vector<int> m = HoleMembers(hole), parts(m.begin(), m.begin() + 12);
        for (size_t a = 0; a < parts.size(); ++a)
            for (size_t c = a + 1; c < parts.size(); ++c)
                EXPECT_FALSE(Overlap(R(gui, parts[a]), R(gui, parts[c]))) << parts[a] << " / " << parts[c];
        // The building picture sits on its hole, its progress bar under it.
        const Rect building = R(gui, id + 12);
        EXPECT_TRUE(Overlap(building, R(gui, id)));
        EXPECT_LE(R(gui, id + 13).t, building.b);
        // The rabbit price, up to two digits, is printed on the add button.
        const GUILab::Button* add = gui.GetButton(id + 10);
        for (int n = 1; n <= 2; ++n)
            EXPECT_TRUE(Inside(TextRect(add->position.x - 2.0f - 2.05f * n, add->position.y - 4.75f, 4.0f, n), Of(*add)));
        // The unused members are hidden and empty.
        for (int i : {id + 11, id + 14})
            EXPECT_TRUE(gui.GetButton(i)->hide && R(gui, i).Empty()) << i;
    }
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs[3].second, 3) << "the starting hole is in the middle";
    EXPECT_LT(xs.front().first, 80.0f);
    EXPECT_GT(xs.back().first, 432.0f);
    for (size_t i = 1; i < xs.size(); ++i)
        EXPECT_GT(xs[i].first - xs[i - 1].first, 60.0f);
}

TEST_F(PanelLayoutsTest, InterfaceCommandsAreNeverCoveredAndKeepClearOfTheHolesTheFieldAndTheTexts)
{
    GUILab gui;
    ASSERT_TRUE(gui.Load("Data/interface.gui"));
    const std::vector<int> commands = {107, 108, 109, 110, 111, 121};
    std::vector<int> acting = commands;
    std::set<int> hole_parts;
    for (int hole = 0; hole < 7; ++hole) {
        acting.insert(acting.end(), {kHoleIds[hole] + 10, TargetOf(hole)});
        for (int i : HoleMembers(hole))
            hole_parts.insert(i);
    }
    ExpectNotCoveredByLaterButtons(gui, acting, "interface");
    for (int cmd : commands)
        for (int i : hole_parts)
            EXPECT_FALSE(Overlap(R(gui, cmd), R(gui, i))) << Describe(cmd, R(gui, cmd)) << " / " << Describe(i, R(gui, i));

    const Rect field = {0, 190, 512, 240}, hints = {256 - 102.5f, 346 - 102.5f, 256 + 102.5f, 346 + 102.5f};
    const Rect score = TextRect(445, 458, 4, 12), record = TextRect(445, 479, 4, 12);
    const Rect purse = TextRect(60, 4, 4, 4), price = TextRect(260, 4, 4, 5); // "x 99", "(max)"
    for (int i = 1; i <= 121; ++i) {
        const Rect r = R(gui, i);
        for (const Rect& keep_out : {field, hints, score, record})
            EXPECT_FALSE(Overlap(r, keep_out)) << Describe(i, r);
        EXPECT_TRUE(r.l >= 0.0f && r.r <= 512.0f) << Describe(i, r);
        EXPECT_FALSE(i >= 107 && (Overlap(purse, r) || Overlap(price, r))) << "purse or price under " << Describe(i, r);
    }
    // The purse and the build price sit just right of their pictures, on the same line.
    const Rect carrot = R(gui, 112), build = R(gui, 110);
    EXPECT_TRUE(carrot.r <= 60.0f && carrot.r >= 52.0f && carrot.b < purse.t && carrot.t > purse.b);
    EXPECT_TRUE(build.r <= 260.0f && build.r >= 250.0f && build.b < price.t && build.t > price.b);

    // The tray bar runs along the bottom edge, under the commands.
    const Rect bar = R(gui, 106);
    EXPECT_TRUE(bar.b == 0.0f && bar.l <= 0.0f && bar.r >= 512.0f);
    for (int cmd : {107, 108, 109, 110, 111, 112, 121})
        EXPECT_TRUE(Overlap(R(gui, cmd), bar)) << cmd;
    EXPECT_FALSE(gui.GetButton(120)->hide || gui.GetButton(121)->hide);
    for (int t = 113; t <= 119; ++t)
        EXPECT_TRUE(gui.GetButton(t)->hide) << t;
}

// make_panel, run as the build runs it, in a folder of its own.
struct MakePanel {
    std::string dir;
    MakePanel()
    {
        char tmpl[] = "/tmp/make_panel_test_XXXXXX";
        dir = mkdtemp(tmpl) ? tmpl : "/nonexistent";
        mkdir((dir + "/art").c_str(), 0755);
    }
    ~MakePanel() { EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0); }
    void Write(const std::string& rel, const std::string& text) { std::ofstream(dir + "/" + rel) << text; }
    bool Exists(const std::string& rel) const { return access((dir + "/" + rel).c_str(), F_OK) == 0; }
    // Runs the tool; returns its exit status and what it printed.
    int Run(const std::string& layout, const std::string& out, std::string* output) const
    {
        const std::string cmd = std::string(BM_MAKE_PANEL) + " '" + dir + "/" + layout + "' '" + dir + "' '" + dir +
                                "/" + out + "' 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p)
            return -1;
        char buf[512];
        output->clear();
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            output->append(buf, n);
        return pclose(p);
    }
};

TEST_F(PanelLayoutsTest, MakePanelOutputLoadsBackButtonForButtonAndPixelForPixel)
{
    MakePanel tool;
    Image png;
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        png.rgba.insert(png.rgba.end(), {static_cast<unsigned char>(40 * i), static_cast<unsigned char>(255 - 40 * i),
                                         static_cast<unsigned char>(i), static_cast<unsigned char>(200 + i)});
    ASSERT_TRUE(WritePNG(tool.dir + "/art/dots.png", png));
    tool.Write("art/square.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2'>"
                                 "<rect x='0' y='0' width='4' height='1' fill='#ff0000'/>"
                                 "<rect x='0' y='1' width='4' height='1' fill='#0000ff'/></svg>");
    tool.Write("test.layout", "# a test panel\n"
                              "picture dots art/dots.png\n"
                              "picture square art/square.svg   # two rows\n"
                              "background square\n"
                              "button 1 dots   10 20 30 40 shown   # first\n"
                              "button 2 none   -5 0.5 0 1e3 hidden # second\n"
                              "button 3 1      256 256 8 8 shown   # by index\n"
                              "button 4 -1     1.25 2.5 3.75 5 hidden # no picture\n");
    std::string out;
    ASSERT_EQ(tool.Run("test.layout", "test.gui", &out), 0) << out;

    GUILab panel;
    ASSERT_TRUE(panel.Load((tool.dir + "/test.gui").c_str()));
    ASSERT_EQ(panel.textures.size(), 2u);
    ASSERT_EQ(panel.buttons.size(), 4u);
    const GLuint dots = panel.GetTextureByIndex(0), square = panel.GetTextureByIndex(1);
    EXPECT_EQ(panel.background, square);
    const struct {
        GLuint pattern;
        float x, y, w, h;
        bool hide;
    } want[] = {{dots, 10, 20, 30, 40, false},
                {kAllOnes, -5, 0.5f, 0, 1000, true},
                {square, 256, 256, 8, 8, false},
                {kAllOnes, 1.25f, 2.5f, 3.75f, 5, true}};
    for (int i = 0; i < 4; ++i) {
        const GUILab::Button& b = *panel.GetButton(i + 1);
        const auto& w = want[i];
        EXPECT_TRUE(b.pattern == w.pattern && b.position.x == w.x && b.position.y == w.y && b.w == w.w &&
                    b.h == w.h && b.hide == w.hide)
            << "button " << i + 1;
    }
    std::vector<unsigned char> got(6 * 4), sq(4 * 2 * 4);
    glBindTexture(GL_TEXTURE_2D, dots);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
    EXPECT_EQ(got, png.rgba);
    // The SVG's top row is red: stored upright it is the last row, at the top of the texture.
    glBindTexture(GL_TEXTURE_2D, square);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, sq.data());
    EXPECT_EQ(std::vector<int>({sq[0], sq[2], sq[16], sq[18]}), std::vector<int>({0, 255, 255, 0}));
}

TEST_F(PanelLayoutsTest, MakePanelRefusesMalformedLayoutsWithTheirLineAndNoFile)
{
    MakePanel tool;
    tool.Write("art/one.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='2' height='2'/>");
    const std::pair<const char*, const char*> cases[] = {
        {"button 1 none 1 2 3 4 shown # a\n", "background"},
        {"background none\nbutton 2 none 1 2 3 4 shown # a\n", ":2: button number '2' out of order"},
        {"background none\nbutton 1 none 1 2 3 4 shown\n", "needs a comment naming its role"},
        {"background none\nbutton 1 none 1 2 x 4 shown # a\n", "finite numbers"},
        {"background none\nbutton 1 none 1 2 -3 4 shown # a\n", "cannot be negative"},
        {"background none\nbutton 1 ghost 1 2 3 4 shown # a\n", "unknown picture 'ghost'"},
        {"background none\nbutton 1 5 1 2 3 4 shown # a\n", "unknown picture '5'"},
        {"background none\nbackground none\n", "background given twice"},
        {"picture a art/one.svg\npicture a art/one.svg\nbackground none\n", "named twice"},
        {"background none\npicture a art/one.svg\n", "pictures come before"},
    };
    std::string out;
    for (const auto& [layout, message] : cases) {
        tool.Write("bad.layout", layout);
        EXPECT_NE(tool.Run("bad.layout", "bad.gui", &out), 0) << layout;
        EXPECT_NE(out.find(message), std::string::npos) << layout << "\nprinted: " << out;
        EXPECT_FALSE(tool.Exists("bad.gui") || tool.Exists("bad.gui.part")) << layout;
    }
    EXPECT_NE(tool.Run("no_such.layout", "bad.gui", &out), 0);
    EXPECT_NE(out.find("cannot read layout"), std::string::npos) << out;
}

} // namespace
