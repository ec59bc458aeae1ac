// The screens through the real frame callback and the real panels: menu, skills,
// credits and help, the developer mode, and the pointer with its click feedback.
#include "engine/guilab.h"
#include "engine/sound.h"
#include "game/frame.h"
#include "game/input.h"
#include "game/state.h"
#include "gl_context.h"
#include "platform/platform_fake.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using bm::UseOffscreenCanvas;

uint32_t clock_ms = 1000;

void Frames(int n = 1)
{
    for (int i = 0; i < n; ++i) {
        clock_ms += 50;
        Sys::Fake::SetMilliseconds(clock_ms);
        display();
    }
}

// The test window is 512 x 512: a virtual point is one pixel.
void PointAt(int vx, int vy) { mouse(vx, 512 - vy); }
void PointAtButton(GUILab& panel, int id)
{
    GUILab::Button* b = panel.GetButton(id);
    ASSERT_NE(b, nullptr) << "button " << id;
    PointAt(static_cast<int>(std::lround(b->position.x)), static_cast<int>(std::lround(b->position.y)));
}
void Click()
{
    Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    Frames();
    Sys::Fake::SetKey(Sys::Key::LeftButton, false);
    Frames();
}
void ClickButton(GUILab& panel, int id)
{
    PointAtButton(panel, id);
    Click();
}

// A sound slot is cleared before an action and has a source again once it played.
void ClearSlot(int slot) { AudioEngine.s[slot].Destroy(); }
bool SlotFired(int slot) { return AudioEngine.s[slot].alSource != 0; }

// A point of the panel over none of its buttons.
void PointAtNothing(GUILab& panel)
{
    for (int y = 505; y > 0; y -= 7)
        for (int x = 5; x < 512; x += 7) {
            bool free = true;
            for (const GUILab::Button& b : panel.buttons)
                free = free && !(std::fabs(b.position.x - x) < b.w && std::fabs(b.position.y - y) < b.h);
            if (free)
                return PointAt(x, y);
        }
    FAIL() << "the panel covers every point";
}

bool ShownPixelIs(int vx, int vy, int r, int g, int b)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(vx, vy, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] == r && p[1] == g && p[2] == b;
}

// Pixels in a rectangle whose channel `c` outweighs the other two (the price
// pulses translucent over a picture, so only the balance counts).
int CountDominant(int x0, int y0, int w, int h, int c, int margin)
{
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        n += px[i + c] > px[i + (c + 1) % 3] + margin && px[i + c] > px[i + (c + 2) % 3] + margin;
    return n;
}

} // namespace

class Screens : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext(512, 512);
        UseOffscreenCanvas();
        static bool loaded = false;
        if (!loaded) {
            static std::string record = "/tmp/bm_screens_" + std::to_string(getpid()) + ".bin";
            record_path = record.c_str();
            StartAudioOutput();
            init();
            loaded = true;
        }
        ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 512);
        ASSERT_GE(menu.buttons.size(), 4u) << "the real menu panel is loaded";
        Sys::Fake::ReleaseAllKeys();
        Sys::Fake::SetFocus(true);
        show_menu = true;
        show_skills = show_credits = show_helps = developer_mode = false;
        mode = 0;
        NewGame();
        for (bool& shown : show_hints)
            shown = true;
        PointAt(256, 256);
        Frames();
    }

    void TearDown() override { remove(record_path); }
};

TEST_F(Screens, GamePausesBehindTheMenuAndPlayResumesItOrStartsAfterALoss)
{
    PointAtNothing(menu);
    rabbits.emplace_back();
    rabbits.back().position.x = 100.0f;
    rabbits.back().target.x = 400.0f;
    rabbits.back().hole = selection;
    Frames(10);
    EXPECT_TRUE(show_menu);
    EXPECT_EQ(rabbits.back().position.x, 100.0f) << "nothing moves while a screen is up";

    user_score = 3;
    ClearSlot(1);
    ClickButton(menu, 2);
    EXPECT_FALSE(show_menu);
    EXPECT_TRUE(SlotFired(1)) << "the power-up sound";
    EXPECT_EQ(user_score, 3) << "a running game resumes unchanged";

    show_menu = game_over = true;
    n_carrots = 7;
    ClickButton(menu, 2);
    EXPECT_FALSE(show_menu || game_over) << "after a loss play starts a new game";
    EXPECT_EQ(user_score + n_carrots, 0);
}

TEST_F(Screens, ThePressThatLeavesAScreenIsNoClickInTheField)
{
    // A carrot under each button that leads back to the game.
    for (GUILab* panel : {&menu, &skills, &helps}) {
        GUILab::Button* b = panel->GetButton(panel == &skills ? 16 : panel == &menu ? 2 : 1);
        ASSERT_NE(b, nullptr);
        carrots[0].position.x = b->position.x;
        show_menu = panel == &menu;
        show_skills = panel == &skills;
        show_helps = panel == &helps;
        PointAt(static_cast<int>(std::lround(b->position.x)), static_cast<int>(std::lround(b->position.y)));
        Sys::Fake::SetKey(Sys::Key::LeftButton, true);
        Frames(5);
        Sys::Fake::SetKey(Sys::Key::LeftButton, false);
        Frames();
        EXPECT_FALSE(show_menu || show_skills || show_helps) << "the button returns to the game";
        EXPECT_TRUE(rabbits.empty() && !carrots[0].taken) << "and sends no rabbit for the carrot under it";
    }
}

TEST_F(Screens, CreditsOpenFromTheMenuAndCloseBackToIt)
{
    ClearSlot(1);
    ClickButton(menu, 3);
    EXPECT_TRUE(show_credits && !show_menu);
    EXPECT_TRUE(SlotFired(1));
    ClearSlot(1);
    ClickButton(credits, 1);
    EXPECT_TRUE(show_menu && !show_credits);
    EXPECT_FALSE(SlotFired(1)) << "closing makes no sound";
}

TEST_F(Screens, TrayOpensHelpAlwaysAndSkillsOnlyWhileTheGameRuns)
{
    show_menu = false;
    ClickButton(gui, 107);
    ASSERT_TRUE(show_helps) << "the tray's help button opens the help page";
    ClickButton(helps, 1);
    EXPECT_FALSE(show_helps || show_menu);
    game_over = true;
    ClickButton(gui, 111);
    EXPECT_FALSE(show_skills);
    game_over = false;
    ClickButton(gui, 111);
    EXPECT_TRUE(show_skills);
}

TEST_F(Screens, DeveloperModeOnTheFiftyThirdClickOnTheRabbit)
{
    PointAtButton(menu, 4);
    for (int i = 1; i <= 52; ++i)
        Click();
    EXPECT_FALSE(developer_mode);
    ClearSlot(1);
    Click();
    EXPECT_TRUE(developer_mode);
    EXPECT_TRUE(SlotFired(1)) << "the fifty-third click plays the power-up";
    ClearSlot(1);
    for (int i = 0; i < 60; ++i)
        Click();
    EXPECT_FALSE(SlotFired(1)) << "once on, further clicks count nothing";
    developer_mode = false;
}

TEST_F(Screens, MenuRabbitBlinks)
{
    PointAtNothing(menu);
    GUILab::Button* rabbit = menu.GetButton(4);
    int open = 0, closed = 0;
    for (int i = 0; i < 120; ++i) { // 6 s
        Frames();
        open += rabbit->pattern == rabbit_run[6];
        closed += rabbit->pattern == rabbit_run[7];
    }
    EXPECT_EQ(open + closed, 120);
    EXPECT_GE(closed, 2);
    EXPECT_LE(closed, 6) << "the blink lasts a tenth of a second";
}

class Skills : public Screens {
protected:
    void SetUp() override
    {
        Screens::SetUp();
        show_menu = false;
        show_skills = true;
        PointAtNothing(skills);
        Frames();
    }
};

TEST_F(Skills, LevelTwoPriceIsRedUntilAffordableThenBought)
{
    ASSERT_EQ(Skill::eval, 1);
    GUILab::Button* label = skills.GetButton(41);
    ASSERT_NE(label, nullptr);
    int lx = static_cast<int>(label->position.x), ly = static_cast<int>(label->position.y) - 15;

    n_carrots = 34;
    Frames();
    EXPECT_FALSE(label->hide) << "the level-2 price shows at level 1";
    int red_when_short = CountDominant(lx, ly, 40, 12, 0, 80);
    int green_when_short = CountDominant(lx, ly, 40, 12, 1, 60);
    EXPECT_GT(red_when_short, 5) << "35 is out of reach with 34";
    ClearSlot(1);
    ClickButton(skills, 13);
    EXPECT_EQ(Skill::eval, 1);
    EXPECT_EQ(n_carrots, 34);
    EXPECT_FALSE(SlotFired(1)) << "a failed purchase is silent";

    n_carrots = 35;
    PointAtButton(skills, 13);
    Frames();
    EXPECT_EQ(cursor, Cursor::skill) << "an affordable purchase shows the hand";
    EXPECT_GT(CountDominant(lx, ly, 40, 12, 1, 60), green_when_short + 5) << "an affordable price is green";
    EXPECT_LT(CountDominant(lx, ly, 40, 12, 0, 80), red_when_short);
    Click();
    EXPECT_EQ(Skill::eval, 2);
    EXPECT_EQ(n_carrots, 0);
    EXPECT_TRUE(SlotFired(1));
    Frames();
    EXPECT_EQ(skills.GetButton(13)->pattern, GUI::pu_eval[1]) << "the level-2 picture lights";
    EXPECT_TRUE(label->hide);
}

TEST_F(Skills, PurchasesFromLevelZero)
{
    n_carrots = 20;
    ClickButton(skills, 1);
    EXPECT_EQ(Skill::progeny, 2) << "level 2 straight from level 0, for its own price";
    EXPECT_EQ(n_carrots, 0);

    n_carrots = 11;
    ClickButton(skills, 6);
    EXPECT_EQ(Skill::speed, 0) << "12 carrots buy speed level 1, 11 do not";
    n_carrots = 12;
    ClearSlot(1);
    ClickButton(skills, 6);
    EXPECT_EQ(Skill::speed, 1);
    EXPECT_EQ(n_carrots, 0);
    EXPECT_TRUE(SlotFired(1));
    Frames();
    EXPECT_EQ(skills.GetButton(6)->pattern, GUI::pu_speed[1]);
    EXPECT_TRUE(skills.GetButton(37)->hide) << "the level-1 price goes";
    EXPECT_FALSE(skills.GetButton(38)->hide) << "the level-2 price comes";

    n_carrots = 50;
    ClearSlot(1);
    ClickButton(skills, 6);
    EXPECT_EQ(n_carrots, 50) << "a level already bought is not sold again";
    EXPECT_FALSE(SlotFired(1));
    ClickButton(skills, 7);
    EXPECT_EQ(Skill::build, 2);
    EXPECT_EQ(n_carrots, 35);
}

TEST_F(Screens, ClickSoundOncePerPressOnEveryScreen)
{
    bool none = false;
    const std::pair<bool*, GUILab*> cases[] = {
        {&show_menu, &menu}, {&show_skills, &skills}, {&show_credits, &credits}, {&show_helps, &helps}, {&none, &gui}};
    for (auto [flag, panel] : cases) {
        show_menu = show_skills = show_credits = show_helps = false;
        *flag = true;
        PointAtNothing(*panel);
        Frames();
        ClearSlot(7);
        Sys::Fake::SetKey(Sys::Key::LeftButton, true);
        Frames();
        EXPECT_TRUE(SlotFired(7)) << "a new press clicks";
        ClearSlot(7);
        Frames(10);
        Sys::Fake::SetKey(Sys::Key::LeftButton, false);
        Frames();
        EXPECT_FALSE(SlotFired(7)) << "holding the button clicks once";
    }
}

TEST_F(Screens, ArrowIsDrawnLargerAndTheTakeHandReachesDown)
{
    GLuint tex[2], saved_arrow = Cursor::arrow, saved_take = Cursor::take;
    const unsigned char px[2][4] = {{255, 0, 255, 255}, {0, 255, 255, 255}};
    glGenTextures(2, tex);
    for (int i = 0; i < 2; ++i) {
        glBindTexture(GL_TEXTURE_2D, tex[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px[i]);
    }
    Cursor::arrow = tex[0];
    Cursor::take = tex[1];

    PointAt(256, 300);
    Frames();
    EXPECT_TRUE(ShownPixelIs(256 + 12, 300 + 26, 255, 0, 255)) << "the arrow at scale 2 reaches 14 x 30";
    EXPECT_FALSE(ShownPixelIs(256 + 16, 300, 255, 0, 255));

    show_menu = false;
    int x = static_cast<int>(carrots[0].position.x);
    PointAt(x, 212);
    Frames();
    ASSERT_EQ(cursor, tex[1]) << "over a carrot the pointer is the taking hand";
    EXPECT_TRUE(ShownPixelIs(x, 212 - 15 - 16, 0, 255, 255)) << "the hand sits 15 units lower";
    EXPECT_FALSE(ShownPixelIs(x, 212 + 12, 0, 255, 255));
    EXPECT_FALSE(ShownPixelIs(x + 10, 212 - 15, 0, 255, 255)) << "scale 1.2 spans 8.4 units each side";
    Cursor::arrow = saved_arrow;
    Cursor::take = saved_take;
    glDeleteTextures(2, tex);
}
