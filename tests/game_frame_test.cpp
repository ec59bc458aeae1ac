// The game frame driven through the real frame callback with the real data.
#include "engine/guilab.h"
#include "engine/panel_format.h"
#include "engine/sound.h"
#include "game/frame.h"
#include "game/fx_instances.h"
#include "game/input.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "gl_context.h"
#include "math/global_time.h"
#include "platform/platform_fake.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using bm::UseOffscreenCanvas;

std::string record_file;
uint32_t clock_ms = 1000;

// One frame of the running program, 0.1 s after the previous one.
void Frames(int n = 1)
{
    for (int i = 0; i < n; ++i) {
        clock_ms += 100;
        Sys::Fake::SetMilliseconds(clock_ms);
        display();
    }
}

// The test window is 512 x 512, so a virtual point maps onto one pixel exactly.
void PointAt(int vx, int vy) { mouse(vx, 512 - vy); }
void PointAtButton(int id)
{
    GUILab::Button* b = gui.GetButton(id);
    ASSERT_NE(b, nullptr) << "tray button " << id;
    PointAt(static_cast<int>(std::lround(b->position.x)), static_cast<int>(std::lround(b->position.y)));
}
void Press(bool down = true) { Sys::Fake::SetKey(Sys::Key::LeftButton, down); }
void Click()
{
    Press();
    Frames();
    Press(false);
    Frames();
}
void HoldKeyOneFrame(Sys::Key key)
{
    Sys::Fake::SetKey(key, true);
    Frames();
    Sys::Fake::SetKey(key, false);
}

// Pixels of the last frame in a rectangle of the virtual screen that are red.
int CountRed(int x0, int y0, int w, int h)
{
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        n += px[i] > 180 && px[i + 1] < 60 && px[i + 2] < 60;
    return n;
}

std::vector<int> ShownPixel(int vx, int vy)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(vx, vy, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Runs frames until the condition holds; false if it never does within the limit.
template <typename Cond>
bool RunUntil(Cond cond, int max_frames)
{
    for (int i = 0; i < max_frames && !cond(); ++i)
        Frames();
    return cond();
}

} // namespace

class GameFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext(512, 512);
        UseOffscreenCanvas();
        static bool loaded = false;
        if (!loaded) {
            char dir[] = "/tmp/bm_frame_XXXXXX";
            ASSERT_NE(mkdtemp(dir), nullptr);
            record_file = std::string(dir) + "/dat.bin";
            record_path = record_file.c_str();
            StartAudioOutput();
            init();
            loaded = true;
        }
        ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), 512);
        ASSERT_NE(gui.GetButton(121), nullptr) << "the tray file holds all its buttons";
        Sys::Fake::ReleaseAllKeys();
        Sys::Fake::SetFocus(true);
        show_menu = show_skills = show_credits = show_helps = developer_mode = false;
        mode = 0;
        NewGame();
        user_record = 0;
        remove(record_path);
        // Carrots far apart at known places: 30, 78, ..., 462.
        for (size_t i = 0; i < carrots.size(); ++i)
            carrots[i].position.x = 30.0f + 48.0f * static_cast<float>(i);
        PointAt(256, 400);
        Frames();
        for (bool& shown : show_hints) // hints would only draw over the field here
            shown = true;
        show_hint = false;
    }
};

TEST_F(GameFrame, CarrotFetchFromClickToPurse)
{
    int x = static_cast<int>(carrots[0].position.x);
    PointAt(x, 210);
    Press();
    Frames();
    ASSERT_EQ(rabbits.size(), 1u) << "a click on a carrot sends a rabbit";
    Rabbit& r = rabbits.front();
    ASSERT_NE(r.carrot, nullptr);
    EXPECT_LT(std::fabs(r.carrot->position.x - x), 7.0f) << "the rabbit goes for the carrot under the pointer";
    EXPECT_EQ(holes[3].rabbits, 1) << "the rabbit leaves its hole";
    Press(false);
    Carrot* fetched = r.carrot;

    ASSERT_TRUE(RunUntil([&] { return fetched->taken; }, 400)) << "the rabbit reaches its carrot";
    EXPECT_EQ(user_score, 1);
    Frames();
    user_record = 0;
    ReadRecord();
    EXPECT_EQ(user_record, 1) << "beating the record rewrites the record file at once";

    ASSERT_TRUE(RunUntil([] { return rabbits.empty(); }, 400)) << "the rabbit walks home";
    EXPECT_EQ(holes[3].rabbits, 2) << "the hole regains its rabbit";
    EXPECT_EQ(n_carrots, 0) << "the carrots arrive with the burst, not with the rabbit";
    ASSERT_TRUE(RunUntil([] { return __spawn_carrots_fx.empty(); }, 100));
    Frames(10);
    EXPECT_EQ(carrots_eval, 2);
    EXPECT_EQ(n_carrots, carrots_eval) << "the burst credits its carrots once";
    EXPECT_EQ(user_score, 1);
}

TEST_F(GameFrame, OneRabbitPerPressHoweverLongHeld)
{
    PointAt(static_cast<int>(carrots[0].position.x), 210);
    Press();
    Frames(20);
    Press(false);
    Frames();
    EXPECT_EQ(rabbits.size(), 1u) << "holding the button repeats nothing";
    Click();
    EXPECT_EQ(rabbits.size(), 1u) << "a carrot already being fetched sends nobody";
    PointAt(static_cast<int>(carrots[9].position.x), 210);
    Click();
    EXPECT_EQ(rabbits.size(), 2u) << "a new press sends the next rabbit";
    PointAt(static_cast<int>(carrots[5].position.x), 210);
    Click();
    EXPECT_EQ(rabbits.size(), 2u) << "an empty hole sends nobody";
}

TEST_F(GameFrame, FieldAndSacrificeBandEdgesAndBaitPlacement)
{
    int x = static_cast<int>(carrots[0].position.x);
    PointAt(x, 240);
    Click();
    EXPECT_TRUE(rabbits.empty()) << "240 lies above the field";
    PointAt(x, 239);
    Click();
    EXPECT_EQ(rabbits.size(), 1u) << "239 is the top of the field";

    HoldKeyOneFrame(Sys::Key::B);
    ASSERT_EQ(mode, 2);
    PointAt(300, 230);
    Click();
    EXPECT_EQ(rabbits.size(), 1u) << "230 lies above the sacrifice band";
    PointAt(300, 229);
    Click();
    ASSERT_EQ(rabbits.size(), 2u) << "229 is the top of the sacrifice band";
    EXPECT_TRUE(rabbits.back().bait);
    EXPECT_EQ(rabbits.back().target.x, 300.0f) << "the bait runs to the pointer";
    EXPECT_EQ(EstimateHoleRabbits(3), 1) << "the fetcher counts for its hole, the bait no longer";
    EXPECT_EQ(mode, 0) << "a placed bait ends sacrifice mode";
}

TEST_F(GameFrame, BuyingRabbitsUpToHoleCapacity)
{
    n_carrots = 10;
    PointAtButton(holes[3].id + 10);
    Click();
    Click();
    EXPECT_EQ(holes[3].rabbits, 3) << "a hole of three is full at progeny level 0";
    EXPECT_EQ(n_carrots, 8);
    Skill::progeny = 1;
    for (int i = 0; i < 6; ++i)
        Click();
    EXPECT_EQ(holes[3].rabbits, 6) << "progeny level 1 raises the capacity to six";
    EXPECT_EQ(n_carrots, 2);
}

TEST_F(GameFrame, BuildFromClickToReadyHoleWithBuilderInside)
{
    n_carrots = 11;
    HoldKeyOneFrame(Sys::Key::G);
    EXPECT_EQ(mode, 0) << "11 carrots cannot pay for a hole";
    n_carrots = 20;
    HoldKeyOneFrame(Sys::Key::G);
    Frames();
    ASSERT_EQ(mode, 1) << "build mode holds while it can be used";
    PointAtButton(holes[3].id);
    Click();
    EXPECT_EQ(mode, 1) << "a ready hole is no building site";
    EXPECT_TRUE(rabbits.empty());

    PointAtButton(holes[0].id);
    Click();
    ASSERT_EQ(rabbits.size(), 1u);
    EXPECT_EQ(rabbits.front().hole, &holes[0]);
    EXPECT_EQ(holes[0].status, 1);
    EXPECT_EQ(n_carrots, 8);
    EXPECT_EQ(n_lairs, 2);
    EXPECT_EQ(mode, 0);
    ASSERT_TRUE(RunUntil([] { return holes[0].status == 2 && rabbits.empty(); }, 1200))
        << "the builder finishes the hole and walks in";
    EXPECT_EQ(holes[0].rabbits, 1);
    EXPECT_EQ(EstimateTotalRabbits(), 2);
}

TEST_F(GameFrame, BuildPricesRiseToTheCeilingAndTheLimitBlocksBuildMode)
{
    holes[3].rabbits = 9;
    Skill::progeny = 2;
    Sys::Fake::SetKey(Sys::Key::G, true);
    std::vector<int> paid;
    for (int site : {0, 1, 2, 4, 5, 6}) {
        n_carrots = 99;
        Frames();
        paid.push_back(develop_cost);
        PointAtButton(holes[site].id);
        Click();
        EXPECT_EQ(n_carrots, 99 - paid.back()) << "site " << site;
    }
    EXPECT_EQ(paid, (std::vector<int>{12, 16, 21, 28, 37, 49}));
    EXPECT_EQ(develop_cost, 49) << "the price stays at its ceiling";
    EXPECT_EQ(n_lairs, 7);
    Sys::Fake::SetKey(Sys::Key::G, false);
    PointAt(256, 400);
    Frames();
    EXPECT_EQ(CountRed(255, 0, 60, 24), 0) << "an affordable price is not red";

    n_lairs = lairs_limit;
    Sys::Fake::SetKey(Sys::Key::G, true);
    Frames();
    EXPECT_EQ(mode, 0) << "at the limit build mode cannot be entered";
    EXPECT_EQ(gui.GetButton(110)->pattern, GUI::build[2]);
    EXPECT_GT(CountRed(255, 0, 60, 24), 10) << "the price reads (max) in red";
}

TEST_F(GameFrame, EachCarrotWaveAddsOneEagleAndReArmsTheFirstHint)
{
    Frames(12); // past the first second, when hints may start
    for (Carrot& c : carrots) {
        c.taken = true;
        c.enable_respawn = false;
    }
    Frames();
    EXPECT_EQ(n_predator, 1);
    EXPECT_EQ(eagles.size(), 1u) << "the new eagle joins in the same frame";
    EXPECT_TRUE(show_hint && hint_id == 0) << "the first hint shows again";
    Frames(5);
    EXPECT_EQ(n_predator, 1) << "armed carrots start no second wave";
}

TEST_F(GameFrame, LossInTheFrameTheLastRabbitLeavesAndThePictureTwoSecondsLater)
{
    GLuint magenta = 0, saved = GUI::game_over;
    const unsigned char px[4] = {255, 0, 255, 255};
    glGenTextures(1, &magenta);
    glBindTexture(GL_TEXTURE_2D, magenta);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    GUI::game_over = magenta;

    holes[3].rabbits = 1;
    HoldKeyOneFrame(Sys::Key::B);
    PointAt(100, 210);
    Press();
    Frames();
    Press(false);
    EXPECT_TRUE(game_over) << "the last rabbit sacrificed ends the game in the same frame";
    PointAt(30, 30);
    Frames(17);
    EXPECT_NE(ShownPixel(256, 380), (std::vector<int>{255, 0, 255})) << "no picture before 2 s";
    Frames(52);
    EXPECT_EQ(ShownPixel(256, 380), (std::vector<int>{255, 0, 255})) << "the picture is opaque after 6 s";

    n_carrots = 10;
    PointAt(static_cast<int>(carrots[0].position.x), 210);
    Click();
    EXPECT_EQ(rabbits.size(), 1u) << "clicks in the field are ignored after the loss";
    GUI::game_over = saved;
    glDeleteTextures(1, &magenta);
}

TEST_F(GameFrame, HintsComeInTheirOrderOfPreferenceAndFadeAfterSixSeconds)
{
    Frames(12); // hints wait for the first second of the run
    for (bool& shown : show_hints)
        shown = false;
    n_carrots = 20;
    eagles.emplace_back();
    eagles.back().delay = 100.0f;
    n_predator = 1;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        show_hint = false;
        AudioEngine.s[1].Destroy();
        Frames();
        ASSERT_TRUE(show_hint);
        EXPECT_NE(AudioEngine.s[1].alSource, 0u) << "each hint starts with the power-up sound";
        order.push_back(hint_id);
        if (i == 0) {
            EXPECT_TRUE(RunUntil([] { return !show_hint; }, 70)) << "a hint frees the screen by 6 s";
            EXPECT_GT(hint_tl, 5.9f);
        }
    }
    EXPECT_EQ(order, (std::vector<int>{4, 0, 1, 2, 3}));
    show_hint = false;
    Frames();
    EXPECT_FALSE(show_hint) << "each hint shows once a game";
}

TEST_F(GameFrame, EaglesHuntFasterWithTheScore)
{
    const std::pair<int, float> cases[] = {{0, 30.0f}, {50, 60.0f}, {150, 90.0f}};
    for (auto [score, speed] : cases) {
        user_score = score;
        Frames();
        EXPECT_FLOAT_EQ(predator_speed, speed) << "score " << score;
    }
}

TEST_F(GameFrame, DeveloperModeFillsThePurseAndKeepsNoRecord)
{
    developer_mode = true;
    user_score = 5;
    Frames(2);
    EXPECT_EQ(n_carrots, 99) << "the purse never shows more than 99";
    EXPECT_EQ(rabbits_speed, 90.0f) << "the skills take effect the next frame";
    EXPECT_EQ(user_record, 5) << "the record follows the score in memory";
    ReadRecord();
    EXPECT_EQ(user_record, 0) << "but is not stored";
    developer_mode = false;
}

TEST_F(GameFrame, WithoutFocusNothingIsDrawnAndNothingMoves)
{
    PointAt(static_cast<int>(carrots[0].position.x), 210);
    Click();
    ASSERT_EQ(rabbits.size(), 1u);
    float x = rabbits.front().position.x;

    Sys::Fake::SetFocus(false);
    Press();
    for (int i = 0; i < 3; ++i) {
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Frames();
        EXPECT_EQ(ShownPixel(256, 400), (std::vector<int>{0, 255, 0})) << "a frame without focus draws nothing";
    }
    EXPECT_EQ(rabbits.front().position.x, x) << "the game pauses";
    EXPECT_EQ(rabbits.size(), 1u) << "no click is taken";
    Press(false);
    Sys::Fake::SetFocus(true);
    Frames();
    EXPECT_NE(rabbits.front().position.x, x);
    EXPECT_LE(global_time, 0.1f);
}

TEST_F(GameFrame, PointerMappingSurvivesAZeroWindow)
{
    int x = VirtualX(300.0f, 0);
    EXPECT_TRUE(x < 0 || x > 512);
    EXPECT_GT(VirtualY(300.0f, 0), 239) << "a pointer in no window lies in no band of the field";
    EXPECT_GT(VirtualY(-1.0e30f, 1), 0) << "huge coordinates stay defined";
}

// Last in this file: it reloads everything afterwards.
TEST_F(GameFrame, ShortOrMissingTrayFileRunsWithoutTheTray)
{
    PanelFile::Panel short_tray;
    for (int i = 0; i < 20; ++i) {
        PanelFile::ButtonRecord b;
        b.x = 20.0f + 24.0f * i;
        b.y = 60.0f;
        b.w = b.h = 10.0f;
        short_tray.buttons.push_back(b);
    }
    std::vector<unsigned char> bytes = PanelFile::Encode(short_tray);
    std::string path = record_file + ".gui";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    for (const char* file : {path.c_str(), "/nonexistent/interface.gui"}) {
        gui.Load(file);
        NewGame();
        n_carrots = 50;
        for (Sys::Key key : {Sys::Key::R, Sys::Key::G, Sys::Key::B}) {
            Sys::Fake::SetKey(key, true);
            for (int vy : {30, 60, 210})
                for (int vx = 10; vx < 512; vx += 25) {
                    PointAt(vx, vy);
                    Click();
                }
            Sys::Fake::SetKey(key, false);
        }
        EXPECT_TRUE(rabbits.empty()) << file << ": without its tray button no rabbit can leave a hole";
        EXPECT_FALSE(game_over);
        EXPECT_EQ(holes[3].rabbits, 2);
    }
    remove(path.c_str());
    init();
    EXPECT_NE(gui.GetButton(121), nullptr);
}
