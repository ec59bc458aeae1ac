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
#include <map>
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

Rect CentredTextRect(float x, float y, float size, int n)
{
    return TextRect(x - size * 1.025f * static_cast<float>(n) * 0.5f, y, size, n);
}

bool Inside(const Rect& in, const Rect& out)
{
    return in.l >= out.l && in.r <= out.r && in.b >= out.b && in.t <= out.t;
}

std::string Describe(int index, const Rect& r)
{
    char s[128];
    std::snprintf(s, sizeof s, "button %d [%g..%g] x [%g..%g]", index, r.l, r.r, r.b, r.t);
    return s;
}

// The interface panel: the base index of each hole group, holes 0..6.
const int kHoleIds[7] = {16, 31, 46, 61, 76, 91, 1};
int TargetOf(int hole) { return hole == 6 ? 113 : 114 + hole; }

// Every member of a hole group the game shows, plus its target button.
std::vector<int> HoleMembers(int hole)
{
    const int id = kHoleIds[hole];
    std::vector<int> m = {id, id + 10, id + 12, id + 13, TargetOf(hole)};
    for (int k = 1; k <= 9; ++k)
        m.push_back(id + 10 - k);
    return m;
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
        size_t buttons;
        size_t pictures;
    } panels[] = {
        {"Data/menu.gui", 4, 3},      {"Data/help_0.gui", 1, 0},     {"Data/credits.gui", 2, 0},
        {"Data/skills.gui", 46, 0},   {"Data/interface.gui", 121, 0},
    };
    for (const auto& e : panels) {
        GUILab p;
        ASSERT_TRUE(p.Load(e.file)) << e.file;
        EXPECT_EQ(p.buttons.size(), e.buttons) << e.file;
        EXPECT_EQ(p.textures.size(), e.pictures) << e.file;
        EXPECT_EQ(p.background, kAllOnes) << e.file << ": the game sets the background";
    }
}

TEST_F(PanelLayoutsTest, MenuButtonsCarryTheirOwnUprightPictures)
{
    GUILab menu;
    ASSERT_TRUE(menu.Load("Data/menu.gui"));
    ASSERT_EQ(menu.textures.size(), 3u);
    std::set<GLuint> seen;
    for (int i = 1; i <= 3; ++i) {
        GLuint t = menu.GetButton(i)->pattern;
        EXPECT_TRUE(glIsTexture(t)) << i;
        seen.insert(t);
        glBindTexture(GL_TEXTURE_2D, t);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, 320);
        EXPECT_EQ(h, 96);
        // The picture has the proportions of its button, so it is not stretched.
        const GUILab::Button* b = menu.GetButton(i);
        EXPECT_NEAR(b->w / b->h, 320.0 / 96.0, 0.01);
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(menu.GetButton(4)->pattern, kAllOnes);
    ExpectNotCoveredByLaterButtons(menu, {1, 2, 3, 4}, "menu");
}

TEST_F(PanelLayoutsTest, CloseButtonsAndTheCreditsLinkAnswerWhereTheyAre)
{
    GUILab help, credits;
    ASSERT_TRUE(help.Load("Data/help_0.gui"));
    ASSERT_TRUE(credits.Load("Data/credits.gui"));
    ExpectNotCoveredByLaterButtons(help, {1}, "help");
    ExpectNotCoveredByLaterButtons(credits, {1, 2}, "credits");
    EXPECT_TRUE(credits.GetButton(2)->hide);
    EXPECT_FALSE(credits.GetButton(1)->hide);
}

TEST_F(PanelLayoutsTest, SkillsRowsReadAsDescriptionArrowLevelOneArrowLevelTwo)
{
    GUILab skills;
    ASSERT_TRUE(skills.Load("Data/skills.gui"));
    struct Row {
        const char* name;
        int level1, level2, decoration, arrow, label1, label2, x1, x2, lead;
    };
    const Row rows[] = {
        {"speed", 6, 4, 5, 27, 37, 38, 18, 17, 32},     {"build", 9, 7, 8, 28, 46, 39, 19, 23, 33},
        {"evasion", 12, 10, 11, 29, 45, 40, 20, 24, 34}, {"eval", 15, 13, 14, 30, 44, 41, 21, 25, 35},
        {"progeny", 3, 1, 2, 31, 43, 42, 22, 26, 36},
    };
    std::vector<int> acting = {16};
    float previous_y = 1000;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        acting.push_back(r.level1);
        acting.push_back(r.level2);
        const Rect l1 = R(skills, r.level1), l2 = R(skills, r.level2), dec = R(skills, r.decoration);
        const Rect arrow = R(skills, r.arrow), lead = R(skills, r.lead);
        float y = skills.GetButton(r.level1)->position.y;
        EXPECT_LT(y, previous_y) << "rows run from the top in the skills' order";
        previous_y = y;
        for (int i : {r.level2, r.decoration, r.arrow, r.lead})
            EXPECT_EQ(skills.GetButton(i)->position.y, y) << i;
        EXPECT_LE(dec.r, 100.0f) << "decoration left of the description";
        EXPECT_GE(lead.l, 230.0f) << "lead arrow right of the description";
        EXPECT_LE(lead.r, l1.l);
        EXPECT_GE(arrow.l, l1.r);
        EXPECT_LE(arrow.r, l2.l);
        // Markers sit on top of their level buttons.
        EXPECT_EQ(skills.GetButton(r.x1)->position.x, skills.GetButton(r.level1)->position.x);
        EXPECT_EQ(skills.GetButton(r.x2)->position.x, skills.GetButton(r.level2)->position.x);
        EXPECT_GE(R(skills, r.x1).b, l1.t);
        EXPECT_GE(R(skills, r.x2).b, l2.t);
        // Each price label belongs to its own row: it touches no other button, and
        // the price the game prints beside it, "(35)" at size 5, touches nothing
        // but its own carrot.
        for (int label : {r.label1, r.label2}) {
            const GUILab::Button* b = skills.GetButton(label);
            const int own = label == r.label1 ? r.level1 : r.level2;
            const GUILab::Button* level = skills.GetButton(own);
            EXPECT_LT(std::abs(b->position.y - level->position.y), 35.0f) << label;
            EXPECT_LT(std::abs(b->position.x - level->position.x), 50.0f) << label;
            const Rect price = TextRect(b->position.x, b->position.y - 15.0f, 5.0f, 4);
            EXPECT_GE(price.b, 0.0f);
            for (int i = 1; i <= 46; ++i) {
                if (i == label)
                    continue;
                EXPECT_FALSE(Overlap(R(skills, label), R(skills, i))) << "label " << label << " on button " << i;
                EXPECT_FALSE(Overlap(price, R(skills, i))) << "price of " << label << " over button " << i;
            }
        }
    }
    ExpectNotCoveredByLaterButtons(skills, acting, "skills");
}

class InterfaceTest : public PanelLayoutsTest {
protected:
    void SetUp() override
    {
        PanelLayoutsTest::SetUp();
        ASSERT_TRUE(gui.Load("Data/interface.gui"));
        ASSERT_EQ(gui.buttons.size(), 121u);
    }
    GUILab gui;
};

TEST_F(InterfaceTest, HoleGroupsLieInTheHoleBandAndNeverShareAClick)
{
    for (int hole = 0; hole < 7; ++hole) {
        for (int i : HoleMembers(hole)) {
            const Rect r = R(gui, i);
            EXPECT_FALSE(r.Empty()) << Describe(i, r);
            EXPECT_GE(r.b, 0.0f) << "hole " << hole << ": " << Describe(i, r);
            EXPECT_LE(r.t, 156.0f) << "hole " << hole << ": " << Describe(i, r);
        }
        for (int other = hole + 1; other < 7; ++other)
            for (int a : HoleMembers(hole))
                for (int c : HoleMembers(other))
                    EXPECT_FALSE(Overlap(R(gui, a), R(gui, c))) << Describe(a, R(gui, a)) << " / " << Describe(c, R(gui, c));
    }
}

TEST_F(InterfaceTest, TheStartingHoleIsInTheMiddleAndTheHolesSpreadAcrossTheWidth)
{
    std::vector<std::pair<float, int>> xs;
    for (int hole = 0; hole < 7; ++hole)
        xs.push_back({gui.GetButton(kHoleIds[hole])->position.x, hole});
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs[3].second, 3);
    EXPECT_LT(xs.front().first, 80.0f);
    EXPECT_GT(xs.back().first, 432.0f);
    for (size_t i = 1; i < xs.size(); ++i)
        EXPECT_GT(xs[i].first - xs[i - 1].first, 60.0f);
}

TEST_F(InterfaceTest, WithinAGroupTheClickableButtonsAreApart)
{
    for (int hole = 0; hole < 7; ++hole) {
        const int id = kHoleIds[hole];
        // Hole, add, target and the slots: a click on one never lands on another.
        std::vector<int> parts = {id, id + 10, TargetOf(hole)};
        for (int k = 1; k <= 9; ++k)
            parts.push_back(id + 10 - k);
        for (size_t a = 0; a < parts.size(); ++a)
            for (size_t c = a + 1; c < parts.size(); ++c)
                EXPECT_FALSE(Overlap(R(gui, parts[a]), R(gui, parts[c])))
                    << Describe(parts[a], R(gui, parts[a])) << " / " << Describe(parts[c], R(gui, parts[c]));
        // The building picture sits on its hole and the full progress bar under it.
        const Rect building = R(gui, id + 12), hole_pic = R(gui, id);
        GUILab::Button* bar = gui.GetButton(id + 13);
        EXPECT_TRUE(Overlap(building, hole_pic));
        EXPECT_EQ(bar->position.x, gui.GetButton(id + 12)->position.x);
        EXPECT_FLOAT_EQ(bar->w, 12.5f);
        EXPECT_LE(bar->position.y + bar->h, building.b);
        EXPECT_GE(bar->position.x - 12.5f, building.l - 1.0f);
        for (int k = 1; k <= 9; ++k)
            EXPECT_FALSE(Overlap(R(gui, id + 13), R(gui, id + 10 - k)));
        // The rabbit price, up to two digits, is printed on the add button.
        GUILab::Button* add = gui.GetButton(id + 10);
        for (int digits = 1; digits <= 2; ++digits)
            EXPECT_TRUE(Inside(CentredTextRect(add->position.x - 2.0f, add->position.y - 4.75f, 4.0f, digits), Of(*add)))
                << "hole " << hole;
    }
}

TEST_F(InterfaceTest, UnusedButtonsAreHiddenAndCanCatchNoClick)
{
    std::vector<int> unused;
    for (int hole = 0; hole < 7; ++hole) {
        unused.push_back(kHoleIds[hole] + 11);
        unused.push_back(kHoleIds[hole] + 14);
    }
    for (int i : {15, 30, 45, 60, 75, 90, 105})
        EXPECT_NE(std::find(unused.begin(), unused.end(), i), unused.end()) << i;
    for (int i : unused) {
        EXPECT_TRUE(gui.GetButton(i)->hide) << i;
        EXPECT_TRUE(R(gui, i).Empty()) << i;
    }
}

TEST_F(InterfaceTest, ButtonsTheGameReadsThroughEventsAreNeverCovered)
{
    std::vector<int> acting = {107, 108, 109, 110, 111, 121};
    for (int hole = 0; hole < 7; ++hole) {
        acting.push_back(kHoleIds[hole] + 10);
        acting.push_back(TargetOf(hole));
    }
    ExpectNotCoveredByLaterButtons(gui, acting, "interface");
}

TEST_F(InterfaceTest, CommandsKeepClearOfTheHolesTheFieldTheHintsAndTheScore)
{
    std::set<int> hole_parts;
    for (int hole = 0; hole < 7; ++hole)
        for (int i : HoleMembers(hole))
            hole_parts.insert(i);
    for (int cmd : {107, 108, 109, 110, 111, 121})
        for (int i : hole_parts)
            EXPECT_FALSE(Overlap(R(gui, cmd), R(gui, i))) << Describe(cmd, R(gui, cmd)) << " / " << Describe(i, R(gui, i));

    const Rect field = {0, 190, 512, 240};
    const Rect hints = {256 - 102.5f, 346 - 102.5f, 256 + 102.5f, 346 + 102.5f};
    const Rect score = TextRect(445, 458, 4, 12);
    const Rect record = TextRect(445, 479, 4, 12);
    for (int i = 1; i <= 121; ++i) {
        const Rect r = R(gui, i);
        for (const Rect& keep_out : {field, hints, score, record})
            EXPECT_FALSE(Overlap(r, keep_out)) << Describe(i, r);
        EXPECT_GE(r.l, 0.0f) << i;
        EXPECT_LE(r.r, 512.0f) << i;
    }

    // The tray bar runs along the bottom edge, under the commands.
    const Rect bar = R(gui, 106);
    EXPECT_EQ(bar.b, 0.0f);
    EXPECT_LE(bar.l, 0.0f);
    EXPECT_GE(bar.r, 512.0f);
    for (int cmd : {107, 108, 109, 110, 111, 112, 121})
        EXPECT_TRUE(Overlap(R(gui, cmd), bar)) << cmd;

    EXPECT_FALSE(gui.GetButton(120)->hide);
    EXPECT_FALSE(gui.GetButton(121)->hide);
    for (int t = 113; t <= 119; ++t)
        EXPECT_TRUE(gui.GetButton(t)->hide) << t;
}

TEST_F(InterfaceTest, ThePurseAndTheBuildPriceSitBesideTheirPictures)
{
    const Rect purse = TextRect(60, 4, 4, 4);       // "x 99"
    const Rect price = TextRect(260, 4, 4, 5);      // "(max)"
    const Rect carrot = R(gui, 112), build = R(gui, 110);
    EXPECT_LE(carrot.r, 60.0f);
    EXPECT_GE(carrot.r, 52.0f);
    EXPECT_LT(carrot.b, purse.t);
    EXPECT_GT(carrot.t, purse.b);
    EXPECT_LE(build.r, 260.0f);
    EXPECT_GE(build.r, 250.0f);
    EXPECT_LT(build.b, price.t);
    EXPECT_GT(build.t, price.b);
    for (int i = 107; i <= 121; ++i) {
        EXPECT_FALSE(Overlap(purse, R(gui, i))) << "purse under " << Describe(i, R(gui, i));
        EXPECT_FALSE(Overlap(price, R(gui, i))) << "build price under " << Describe(i, R(gui, i));
    }
}

// make_panel, run as the build runs it.
class MakePanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        char tmpl[] = "/tmp/make_panel_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        mkdir((dir + "/art").c_str(), 0755);
    }
    void TearDown() override
    {
        std::string cmd = "rm -rf '" + dir + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }

    void WriteText(const std::string& rel, const std::string& text)
    {
        std::ofstream(dir + "/" + rel, std::ios::binary) << text;
    }

    // Runs the tool; returns its exit status and what it printed.
    int Run(const std::string& layout, const std::string& out, std::string* output)
    {
        std::string cmd = std::string(BM_MAKE_PANEL) + " '" + dir + "/" + layout + "' '" + dir + "' '" + dir + "/" +
                          out + "' 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p)
            return -1;
        char buf[512];
        output->clear();
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            output->append(buf, n);
        return pclose(p);
    }

    bool Exists(const std::string& rel)
    {
        struct stat st;
        return stat((dir + "/" + rel).c_str(), &st) == 0;
    }

    std::string dir;
};

TEST_F(MakePanelTest, WhatItWritesLoadsBackButtonForButtonAndPixelForPixel)
{
    Image png;
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        for (unsigned char c : {static_cast<unsigned char>(40 * i), static_cast<unsigned char>(255 - 40 * i),
                                static_cast<unsigned char>(i), static_cast<unsigned char>(200 + i)})
            png.rgba.push_back(c);
    ASSERT_TRUE(WritePNG(dir + "/art/dots.png", png));
    WriteText("art/square.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2'>"
                                "<rect x='0' y='0' width='4' height='1' fill='#ff0000'/>"
                                "<rect x='0' y='1' width='4' height='1' fill='#0000ff'/></svg>");
    WriteText("test.layout", "# a test panel\n"
                             "picture dots art/dots.png\n"
                             "picture square art/square.svg   # two rows\n"
                             "background square\n"
                             "button 1 dots   10 20 30 40 shown   # first\n"
                             "button 2 none   -5 0.5 0 1e3 hidden # second\n"
                             "button 3 1      256 256 8 8 shown   # by index\n"
                             "button 4 -1     1.25 2.5 3.75 5 hidden # no picture\n");
    std::string out;
    ASSERT_EQ(Run("test.layout", "test.gui", &out), 0) << out;

    GUILab panel;
    ASSERT_TRUE(panel.Load((dir + "/test.gui").c_str()));
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
        const GUILab::Button* b = panel.GetButton(i + 1);
        EXPECT_EQ(b->pattern, want[i].pattern) << i;
        EXPECT_EQ(b->position.x, want[i].x) << i;
        EXPECT_EQ(b->position.y, want[i].y) << i;
        EXPECT_EQ(b->w, want[i].w) << i;
        EXPECT_EQ(b->h, want[i].h) << i;
        EXPECT_EQ(b->hide, want[i].hide) << i;
    }

    std::vector<unsigned char> got(6 * 4);
    glBindTexture(GL_TEXTURE_2D, dots);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
    EXPECT_EQ(got, png.rgba);
    // The SVG's top row is red: stored upright it is the last row, at the top of the texture.
    std::vector<unsigned char> sq(4 * 2 * 4);
    glBindTexture(GL_TEXTURE_2D, square);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, sq.data());
    EXPECT_EQ(sq[0], 0);
    EXPECT_EQ(sq[2], 255);
    EXPECT_EQ(sq[16], 255);
    EXPECT_EQ(sq[18], 0);
}

TEST_F(MakePanelTest, MalformedLayoutsAreRefusedWithTheirLineAndNoFile)
{
    WriteText("art/one.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='2' height='2'/>");
    const struct {
        const char* layout;
        const char* message;
    } cases[] = {
        {"button 1 none 1 2 3 4 shown # a\n", "background"},
        {"background none\nbutton 2 none 1 2 3 4 shown # a\n", ":2: button number '2' out of order"},
        {"background none\nbutton 1 none 1 2 3 4 shown\n", "needs a comment naming its role"},
        {"background none\nbutton 1 none 1 2 3 shown # a\n", ":2: expected 'button"},
        {"background none\nbutton 1 none 1 2 x 4 shown # a\n", "finite numbers"},
        {"background none\nbutton 1 none 1 2 -3 4 shown # a\n", "cannot be negative"},
        {"background none\nbutton 1 none 1 2 3 4 visible # a\n", "'shown' or 'hidden'"},
        {"background none\nbutton 1 ghost 1 2 3 4 shown # a\n", "unknown picture 'ghost'"},
        {"background none\nbutton 1 5 1 2 3 4 shown # a\n", "unknown picture '5'"},
        {"background ghost\n", ":1: unknown picture"},
        {"background none\nbackground none\n", "background given twice"},
        {"picture a art/one.svg\npicture a art/one.svg\nbackground none\n", "named twice"},
        {"background none\npicture a art/one.svg\n", "pictures come before"},
        {"picture a art/missing.svg\nbackground none\n", "missing.svg"},
        {"colour red\n", ":1: unknown statement 'colour'"},
        {"background none\nbutton 1 none nan 2 3 4 shown # a\n", "finite numbers"},
    };
    for (const auto& c : cases) {
        WriteText("bad.layout", c.layout);
        std::string out;
        EXPECT_NE(Run("bad.layout", "bad.gui", &out), 0) << c.layout;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.layout << "\nprinted: " << out;
        EXPECT_FALSE(Exists("bad.gui")) << c.layout;
        EXPECT_FALSE(Exists("bad.gui.part")) << c.layout;
    }
    std::string out;
    EXPECT_NE(Run("no_such.layout", "bad.gui", &out), 0);
    EXPECT_NE(out.find("cannot read layout"), std::string::npos) << out;
}

} // namespace
