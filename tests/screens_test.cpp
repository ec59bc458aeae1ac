// The screens through the real frame callback and the real panels: menu, skills,
// credits and help, the developer mode, and the pointer with its click feedback.
#include "engine/guilab.h"
#include "engine/sound.h"
#include "game/frame.h"
#include "game/input.h"
#include "game/state.h"
#include "gl_context.h"
#include "platform/platform_fake.h"

#include <GL/freeglut.h>
#include <GL/glext.h>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Frames draw into an off-screen target the size of the window, so what a frame
// drew can be read back whatever the window system does with the test window.
void UseOffscreenCanvas()
{
    static GLuint fbo = 0;
    if (fbo == 0) {
        auto gen_fb = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(glutGetProcAddress("glGenFramebuffersEXT"));
        auto bind_fb = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(glutGetProcAddress("glBindFramebufferEXT"));
        auto gen_rb = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(glutGetProcAddress("glGenRenderbuffersEXT"));
        auto bind_rb = reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(glutGetProcAddress("glBindRenderbufferEXT"));
        auto storage =
            reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(glutGetProcAddress("glRenderbufferStorageEXT"));
        auto attach = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(
            glutGetProcAddress("glFramebufferRenderbufferEXT"));
        ASSERT_TRUE(gen_fb && bind_fb && gen_rb && bind_rb && storage && attach);
        GLuint color = 0, depth = 0;
        gen_fb(1, &fbo);
        bind_fb(GL_FRAMEBUFFER_EXT, fbo);
        gen_rb(1, &color);
        bind_rb(GL_RENDERBUFFER_EXT, color);
        storage(GL_RENDERBUFFER_EXT, GL_RGBA8, 512, 512);
        attach(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, color);
        gen_rb(1, &depth);
        bind_rb(GL_RENDERBUFFER_EXT, depth);
        storage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, 512, 512);
        attach(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth);
        glViewport(0, 0, 512, 512);
    }
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

uint32_t clock_ms = 1000;

void Frame()
{
    clock_ms += 50;
    Sys::Fake::SetMilliseconds(clock_ms);
    display();
}

void Frames(int n)
{
    for (int i = 0; i < n; ++i)
        Frame();
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
    Frame();
    Sys::Fake::SetKey(Sys::Key::LeftButton, false);
    Frame();
}

void ClickButton(GUILab& panel, int id)
{
    PointAtButton(panel, id);
    Click();
}

// A sound slot is cleared before an action and has a source again once it played.
void ClearSlot(int slot) { AudioEngine.s[slot].Destroy(); }
bool SlotFired(int slot) { return AudioEngine.s[slot].alSource != 0; }

bool Inside(const GUILab::Button& b, int x, int y)
{
    return b.position.x - b.w < x && x < b.position.x + b.w && b.position.y - b.h < y && y < b.position.y + b.h;
}

// A point of the panel over none of its buttons.
void PointAtNothing(GUILab& panel)
{
    for (int y = 505; y > 0; y -= 7) {
        for (int x = 5; x < 512; x += 7) {
            bool free = true;
            for (const GUILab::Button& b : panel.buttons)
                free = free && !Inside(b, x, y);
            if (free) {
                PointAt(x, y);
                return;
            }
        }
    }
    FAIL() << "the panel covers every point";
}

GLuint SolidTexture(unsigned char r, unsigned char g, unsigned char b)
{
    GLuint t = 0;
    unsigned char px[4] = {r, g, b, 255};
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return t;
}

bool ShownPixelIs(int vx, int vy, int r, int g, int b)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(vx, vy, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] == r && p[1] == g && p[2] == b;
}

int CountShown(int x0, int y0, int w, int h, bool (*match)(const unsigned char*))
{
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        n += match(&px[i]) ? 1 : 0;
    return n;
}

// Text colours over a picture: the price pulses translucent, so only the balance counts.
bool IsRed(const unsigned char* p) { return p[0] > p[1] + 80 && p[0] > p[2] + 80; }
bool IsGreen(const unsigned char* p) { return p[1] > p[0] + 60 && p[1] > p[2] + 60; }

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
        show_skills = show_credits = show_helps = false;
        developer_mode = false;
        mode = 0;
        NewGame();
        for (bool& shown : show_hints)
            shown = true;
        PointAt(256, 256);
        Frame();
    }

    void TearDown() override { remove(record_path); }
};

TEST_F(Screens, ProgramStartsOnTheMenuAndTheGamePausesBehindIt)
{
    PointAtNothing(menu);
    Frames(3);
    EXPECT_TRUE(show_menu);
    rabbits.emplace_back();
    rabbits.back().position.x = 100.0f;
    rabbits.back().target.x = 400.0f;
    rabbits.back().hole = selection;
    Frames(10);
    EXPECT_EQ(rabbits.back().position.x, 100.0f) << "nothing moves while a screen is up";
    show_skills = true;
    Frames(2);
    EXPECT_EQ(rabbits.back().position.x, 100.0f) << "the menu wins over the skills screen";
}

TEST_F(Screens, PlayResumesARunningGameAndStartsANewOneAfterALoss)
{
    user_score = 3;
    n_carrots = 7;
    ClearSlot(1);
    ClickButton(menu, 2);
    EXPECT_FALSE(show_menu);
    EXPECT_TRUE(SlotFired(1)) << "the power-up sound";
    EXPECT_EQ(user_score, 3) << "a running game resumes unchanged";

    show_menu = true;
    game_over = true;
    ClickButton(menu, 2);
    EXPECT_FALSE(show_menu);
    EXPECT_FALSE(game_over) << "after a loss play starts a new game";
    EXPECT_EQ(user_score, 0);
    EXPECT_EQ(n_carrots, 0);
    EXPECT_EQ(selection, &holes[3]);
}

TEST_F(Screens, ThePressThatLeavesAScreenIsNoClickInTheField)
{
    // A carrot under each button that leads back to the game.
    for (GUILab::Button* b : {menu.GetButton(2), skills.GetButton(16), helps.GetButton(1)}) {
        ASSERT_NE(b, nullptr);
        carrots[0].position.x = b->position.x;
        carrots[0].taken = false;
        show_menu = b == menu.GetButton(2);
        show_skills = b == skills.GetButton(16);
        show_helps = b == helps.GetButton(1);
        PointAt(static_cast<int>(std::lround(b->position.x)), static_cast<int>(std::lround(b->position.y)));
        Sys::Fake::SetKey(Sys::Key::LeftButton, true);
        Frames(5);
        Sys::Fake::SetKey(Sys::Key::LeftButton, false);
        Frame();
        EXPECT_FALSE(show_menu || show_skills || show_helps) << "the button returns to the game";
        EXPECT_TRUE(rabbits.empty() && !carrots[0].taken && user_score == 0)
            << "and sends no rabbit for the carrot under it";
    }
}

TEST_F(Screens, CreditsOpenFromTheMenuAndCloseBackToIt)
{
    PointAtButton(menu, 3);
    Frame();
    EXPECT_EQ(cursor, Cursor::skill) << "the credits button shows the hand";
    ClearSlot(1);
    Click();
    EXPECT_TRUE(show_credits);
    EXPECT_FALSE(show_menu);
    EXPECT_TRUE(SlotFired(1));

    PointAtButton(credits, 2);
    Frame();
    EXPECT_EQ(cursor, Cursor::skill) << "the hidden web link still answers the pointer";

    ClearSlot(1);
    ClickButton(credits, 1);
    EXPECT_FALSE(show_credits);
    EXPECT_TRUE(show_menu);
    EXPECT_FALSE(SlotFired(1)) << "closing makes no sound";
}

TEST_F(Screens, HelpClosesBackToTheGame)
{
    show_menu = false;
    PointAtButton(gui, 107);
    Click();
    ASSERT_TRUE(show_helps) << "the tray's help button opens the help page";
    ClickButton(helps, 1);
    EXPECT_FALSE(show_helps);
    EXPECT_FALSE(show_menu);
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
        Frame();
        open += rabbit->pattern == rabbit_run[6];
        closed += rabbit->pattern == rabbit_run[7];
    }
    EXPECT_EQ(open + closed, 120);
    EXPECT_GE(closed, 2);
    EXPECT_LE(closed, 6) << "the blink lasts a tenth of a second";
    EXPECT_TRUE(rabbit->flip_x);
}

class Skills : public Screens {
protected:
    void SetUp() override
    {
        Screens::SetUp();
        show_menu = false;
        show_skills = true;
        PointAtNothing(skills);
        Frame();
    }
};

TEST_F(Skills, LevelTwoPriceIsRedUntilAffordableThenBought)
{
    ASSERT_EQ(Skill::eval, 1);
    GUILab::Button* label = skills.GetButton(41);
    ASSERT_NE(label, nullptr);
    int lx = static_cast<int>(label->position.x), ly = static_cast<int>(label->position.y) - 15;

    n_carrots = 34;
    Frame();
    EXPECT_FALSE(label->hide) << "the level-2 price shows at level 1";
    int red_when_short = CountShown(lx, ly, 40, 12, IsRed);
    int green_when_short = CountShown(lx, ly, 40, 12, IsGreen);
    EXPECT_GT(red_when_short, 5) << "35 is out of reach with 34";
    ClearSlot(1);
    ClickButton(skills, 13);
    EXPECT_EQ(Skill::eval, 1);
    EXPECT_EQ(n_carrots, 34);
    EXPECT_FALSE(SlotFired(1)) << "a failed purchase is silent";

    n_carrots = 35;
    PointAtButton(skills, 13);
    Frame();
    EXPECT_EQ(cursor, Cursor::skill) << "an affordable purchase shows the hand";
    EXPECT_GT(CountShown(lx, ly, 40, 12, IsGreen), green_when_short + 5) << "an affordable price is green";
    EXPECT_LT(CountShown(lx, ly, 40, 12, IsRed), red_when_short);
    Click();
    EXPECT_EQ(Skill::eval, 2);
    EXPECT_EQ(n_carrots, 0);
    EXPECT_TRUE(SlotFired(1));
    Frame();
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
    Frame();
    EXPECT_EQ(skills.GetButton(6)->pattern, GUI::pu_speed[1]);
    EXPECT_EQ(skills.GetButton(4)->pattern, GUI::pu_speed[0]);
    EXPECT_TRUE(skills.GetButton(37)->hide) << "the level-1 price goes";
    EXPECT_FALSE(skills.GetButton(38)->hide) << "the level-2 price comes";
    EXPECT_FALSE(skills.GetButton(27)->hide) << "the arrow shows from level 1";
    EXPECT_TRUE(skills.GetButton(28)->hide) << "build is still at level 0";

    n_carrots = 50;
    ClearSlot(1);
    ClickButton(skills, 6);
    EXPECT_EQ(n_carrots, 50) << "a level already bought is not sold again";
    EXPECT_FALSE(SlotFired(1));
    ClickButton(skills, 7);
    EXPECT_EQ(Skill::build, 2);
    EXPECT_EQ(n_carrots, 35);
    ClickButton(skills, 16);
    EXPECT_FALSE(show_skills) << "the close button returns to the game";
}

TEST_F(Skills, TraySkillButtonOpensTheScreenOnlyWhileTheGameRuns)
{
    show_skills = false;
    game_over = true;
    ClickButton(gui, 111);
    EXPECT_FALSE(show_skills);
    game_over = false;
    holes[3].rabbits = 2;
    ClickButton(gui, 111);
    EXPECT_TRUE(show_skills);
}

TEST_F(Screens, ClickSoundOncePerPressOnEveryScreen)
{
    struct Case {
        bool* flag;
        GUILab* panel;
    } cases[] = {{&show_menu, &menu}, {&show_skills, &skills}, {&show_credits, &credits},
                 {&show_helps, &helps}, {nullptr, &gui}};
    for (const Case& c : cases) {
        show_menu = show_skills = show_credits = show_helps = false;
        if (c.flag)
            *c.flag = true;
        PointAtNothing(*c.panel);
        Frame();
        ClearSlot(7);
        Sys::Fake::SetKey(Sys::Key::LeftButton, true);
        Frame();
        EXPECT_TRUE(SlotFired(7)) << "a new press clicks";
        ClearSlot(7);
        Frames(10);
        EXPECT_FALSE(SlotFired(7)) << "holding the button clicks once";
        Sys::Fake::SetKey(Sys::Key::LeftButton, false);
        Frame();
        EXPECT_FALSE(SlotFired(7));
    }
}

TEST_F(Screens, ArrowIsDrawnLargerAndTheTakeHandReachesDown)
{
    GLuint arrow = SolidTexture(255, 0, 255), take = SolidTexture(0, 255, 255);
    GLuint saved_arrow = Cursor::arrow, saved_take = Cursor::take;
    Cursor::arrow = arrow;
    Cursor::take = take;

    PointAtNothing(menu);
    PointAt(256, 300);
    Frame();
    EXPECT_TRUE(ShownPixelIs(256 + 12, 300 + 26, 255, 0, 255)) << "the arrow at scale 2 reaches 14 x 30";
    EXPECT_FALSE(ShownPixelIs(256 + 16, 300, 255, 0, 255));

    show_menu = false;
    int x = static_cast<int>(carrots[0].position.x);
    PointAt(x, 212);
    Frame();
    ASSERT_EQ(cursor, take) << "over a carrot the pointer is the taking hand";
    EXPECT_TRUE(ShownPixelIs(x, 212 - 15 - 16, 0, 255, 255)) << "the hand sits 15 units lower";
    EXPECT_FALSE(ShownPixelIs(x, 212 + 12, 0, 255, 255));
    EXPECT_FALSE(ShownPixelIs(x + 10, 212 - 15, 0, 255, 255)) << "scale 1.2 spans 8.4 units each side";

    Cursor::arrow = saved_arrow;
    Cursor::take = saved_take;
    glDeleteTextures(1, &arrow);
    glDeleteTextures(1, &take);
}

// Last: the link leaves the test window at another size.
TEST_F(Screens, WebLinkWindowsTheGameAndOpensTheAboutPage)
{
    show_menu = false;
    show_credits = true;
    fullscreen = false;
    int opened = Sys::Fake::OpenedDocuments();
    ClearSlot(1);
    ClickButton(credits, 2);
    EXPECT_TRUE(SlotFired(1));
    EXPECT_FALSE(fullscreen) << "the game always ends up windowed";
    EXPECT_EQ(Sys::Fake::OpenedDocuments(), opened + 1);
    const std::string& page = Sys::Fake::LastOpenedDocument();
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page.front(), '/') << "an absolute path, whatever folder the browser starts in";
    EXPECT_EQ(page.substr(page.size() - 16), "/Data/about.html");
    struct stat st;
    EXPECT_EQ(stat(page.c_str(), &st), 0) << "the page ships with the game";
    EXPECT_TRUE(show_credits) << "the credits stay up";
    glutReshapeWindow(512, 512);
}
