// The game frame through the real frame callback: skills, clicks by mode, tray and keys, loss, record, hints.
#include "rules_support.h"

#include "game/fx_instances.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <tuple>

using GameFrame = rules::Game;
using Sys::Key;

static float CarrotX(int i) { return carrots[i].position.x; }
static GLuint Icon(int button) { return gui.GetButton(button)->pattern; }

TEST_F(GameFrame, SkillLevelsSetTheRulesEveryFrame)
{
    const float delay[3] = {15, 10, 5}, speed[3] = {30, 60, 90};
    const int evasion[3] = {0, 25, 50}, capacity[3] = {3, 6, 9}, eval[3] = {1, 2, 3};
    for (int r = 0; r < 3; ++r) { // every skill at another level in each row
        Skill::build = r, Skill::speed = (r + 1) % 3, Skill::evasion = (r + 2) % 3;
        Skill::progeny = 2 * r % 3, Skill::eval = (2 * r + 1) % 3;
        rules::Frames();
        EXPECT_TRUE(building_delay == delay[Skill::build] && rabbits_speed == speed[Skill::speed] &&
                    evasion_chance == evasion[Skill::evasion] && holes_capacity == capacity[Skill::progeny] &&
                    carrots_eval == eval[Skill::eval])
            << "row " << r;
    }
    Skill::build = Skill::evasion = Skill::eval = 3, Skill::speed = Skill::progeny = -1;
    rules::Frames();
    EXPECT_TRUE(building_delay == 5 && rabbits_speed == 30 && evasion_chance == 25 && holes_capacity == 6 &&
                carrots_eval == 3)
        << "a level outside 0..2 leaves its rule as the last row set it";
}

TEST_F(GameFrame, CarrotFetchFromClickToPurseAndRecord)
{
    rules::ClickAt(CarrotX(0), 210.0f);
    ASSERT_EQ(rabbits.size(), 1u);
    const Rabbit& r = rabbits.front();
    EXPECT_TRUE(r.carrot == &carrots[0] && r.hole == &holes[3] && r.target.x == CarrotX(0) && holes[3].rabbits == 1);
    ASSERT_TRUE(rules::FramesUntil([] { return carrots[0].taken; }));
    ASSERT_TRUE(rules::FramesUntil([] { return rabbits.empty(); }));
    EXPECT_TRUE(holes[3].rabbits == 2 && n_carrots == 0) << "the carrots come with the burst, not with the rabbit";
    ASSERT_TRUE(rules::FramesUntil([] { return __spawn_carrots_fx.empty(); }));
    EXPECT_EQ(n_carrots, 2) << "two carrots a carrot at eval level 1";
}

TEST_F(GameFrame, OnePressSendsOneRabbitFromTheFieldOrSacrificeBand)
{
    rules::PointAt(CarrotX(0), 210.0f);
    rules::ClearSlot(7);
    rules::Press(true);
    rules::Frames();
    ASSERT_TRUE(rules::SlotFired(7)) << "the click sounds as the button goes down";
    rules::ClearSlot(7);
    rules::Frames(9);
    rules::Press(false);
    rules::Frames();
    EXPECT_TRUE(!rules::SlotFired(7) && FX::cursor.FX.front().time_delay_elapsed > 0.5f) << "nor again while it is held";
    rules::ClickAt(CarrotX(0), 210.0f);
    EXPECT_TRUE(rabbits.size() == 1 && cursor == Cursor::take)
        << "holding repeats nothing, and a carrot already fetched sends nobody (the pointer still offers it)";
    const float field[][2] = {{192, 0}, {193, 1}, {239, 1}, {240, 0}}, bait[][2] = {{192, 0}, {193, 1}, {229, 1}, {230, 0}};
    for (int i = 0; i < 4; ++i) {
        rabbits.clear(), holes[3].rabbits = 2;
        rules::ClickAt(CarrotX(i + 1), field[i][0]);
        const bool sent = field[i][1] == 1;
        EXPECT_TRUE(rabbits.size() == (sent ? 1u : 0u) && (cursor == Cursor::take) == sent) << "carrot at y " << field[i][0];
        const LumenarParticlesFX& burst = FX::cursor.FX.front();
        EXPECT_TRUE(burst.source.x == CarrotX(i + 1) && burst.time_delay_elapsed == 0.1f) << "the click burst starts again";
        rabbits.clear(), holes[3].rabbits = 2;
        rules::PointAt(300.0f, bait[i][0]);
        rules::HoldKeys({Key::B});
        EXPECT_EQ(cursor == Cursor::bait, bait[i][1] == 1) << "the bait pointer at y " << bait[i][0];
        rules::ClickAt(300.0f, bait[i][0]);
        EXPECT_TRUE(rabbits.size() == bait[i][1] && mode == (bait[i][1] ? 0 : 2)) << "bait at y " << bait[i][0];
        EXPECT_TRUE(rabbits.empty() || (rabbits.front().bait && rabbits.front().target.x == 300.0f));
        mode = 0;
    }
    holes[3].rabbits = 0, holes[1].status = 2, holes[1].rabbits = 1;
    rules::ClickAt(CarrotX(9), 210.0f);
    EXPECT_TRUE(rabbits.empty()) << "an empty hole sends nobody";
}

TEST_F(GameFrame, MoveModeSendsARabbitIntoAnotherReadyHoleWithRoom)
{
    const int cases[][4] = {{1, 2, 2, 1}, {1, 2, 3, 0}, {6, 2, 0, 1}, {0, 0, 0, 0}, {5, 1, 0, 0}, {3, 2, 2, 0}};
    for (const auto& c : cases) { // hole, its status, rabbits inside, whether one is sent there
        rabbits.clear();
        holes[c[0]].status = c[1], holes[c[0]].rabbits = c[2], holes[3].rabbits = 2;
        rules::PointAtButton(gui, holes[c[0]].id);
        rules::Frames();
        EXPECT_EQ(cursor == Cursor::hole, c[3] == 1) << "hole " << c[0] << " holding " << c[2];
        rules::ClickButton(gui, holes[c[0]].id);
        ASSERT_EQ(rabbits.size(), c[3] ? 1u : 0u) << "hole " << c[0] << " holding " << c[2];
        EXPECT_TRUE(!c[3] || (rabbits.front().hole == &holes[c[0]] && holes[3].rabbits == 1 &&
                              rabbits.front().target.x == rules::ButtonX(holes[c[0]].id)));
    }
}

TEST_F(GameFrame, BuildPricesRiseToTheirCeilingAndABuilderMovesIntoItsHole)
{
    holes[3].rabbits = 9, n_carrots = 11;
    rules::HoldKeys({Key::G});
    EXPECT_EQ(mode, 0) << "11 carrots cannot pay for a hole";
    n_carrots = 12;
    rules::HoldKeys({Key::G});
    rules::ClickButton(gui, holes[3].id);
    EXPECT_TRUE(mode == 1 && n_carrots == 12 && cursor == Cursor::build) << "the price pays, but a ready hole is no site";
    std::vector<int> prices;
    for (int site : {0, 1, 2, 4, 5, 6}) {
        prices.push_back(develop_cost);
        n_carrots = 99;
        rules::HoldKeys({Key::G});
        rules::ClickButton(gui, holes[site].id);
        EXPECT_TRUE(n_carrots == 99 - prices.back() && mode == 0 && holes[site].status == 1) << "site " << site;
    }
    prices.push_back(develop_cost);
    EXPECT_EQ(prices, (std::vector<int>{12, 16, 21, 28, 37, 49, 49}));
    EXPECT_TRUE(rabbits.front().hole == &holes[0] && n_lairs == 7);
    n_lairs = lairs_limit;
    rules::HoldKeys({Key::G});
    EXPECT_TRUE(mode == 0 && Icon(110) == GUI::build[2]) << "no building past the limit";
    ASSERT_TRUE(rules::FramesUntil([] { return holes[0].status == 2 && holes[0].rabbits == 1; }));
}

TEST_F(GameFrame, TrayButtonsAndKeysChooseTheCommandOrOpenAScreen)
{
    n_carrots = 50;
    const std::tuple<int, std::vector<Key>, int> cases[] = { // tray button clicked, keys held, mode chosen
        {110, {}, 1}, {109, {}, 2}, {108, {}, 0}, {0, {Key::G}, 1}, {0, {Key::B}, 2}, {0, {Key::R}, 0},
        {0, {Key::R, Key::B}, 2}, {0, {Key::B, Key::G}, 1}, {0, {Key::R, Key::G}, 1}, {0, {Key::R, Key::B, Key::G}, 1}};
    for (const auto& [button, keys, expected] : cases) {
        mode = expected == 0 ? 2 : 0;
        if (button)
            rules::ClickButton(gui, button);
        else
            rules::HoldKeys(keys);
        EXPECT_EQ(mode, expected) << "button " << button << ", " << keys.size() << " keys";
        rules::Frames();
        EXPECT_TRUE(Icon(108) == GUI::move[expected == 0] && Icon(109) == GUI::sacrifice[expected == 2] &&
                    Icon(110) == GUI::build[expected == 1]);
    }
    const std::pair<int, bool*> screens[] = {{121, &show_menu}, {107, &show_helps}, {111, &show_skills}};
    mode = 0;
    for (bool over : {false, true}) // the screens the tray opens, the skills only while the game runs
        for (auto [button, screen] : screens) {
            show_menu = show_helps = show_skills = false, game_over = over;
            rules::PointAtButton(gui, button);
            rules::Frames();
            EXPECT_EQ(cursor == Cursor::skill, button == 111 && !over);
            rules::ClickButton(gui, button);
            EXPECT_EQ(*screen, button != 111 || !over) << "button " << button << (over ? " after the loss" : "");
        }
    show_menu = show_helps = show_skills = game_over = false;
    holes[3].rabbits = 0, holes[1].status = 2, holes[1].rabbits = 1;
    rules::HoldKeys({Key::B});
    EXPECT_TRUE(mode == 0 && Icon(108) == GUI::move[2] && Icon(109) == GUI::sacrifice[2] && Icon(110) == GUI::build[2])
        << "no command from an empty hole";
}

TEST_F(GameFrame, LostInTheFrameTheLastRabbitIsSeizedAndThePictureFollows)
{
    const GLuint magenta = rules::SolidTexture(255, 0, 255), saved = GUI::game_over;
    GUI::game_over = magenta, holes[3].rabbits = 1;
    rules::ClickAt(CarrotX(8), 210.0f);
    ASSERT_EQ(rabbits.size(), 1u);
    Eagle& e = eagles.emplace_back();
    e.delay = 0.0f, e.target = &rabbits.front(), e.position = rabbits.front().position + vector3f(0.0f, 10.0f, 0.0f);
    n_predator = 1;
    rules::Frames();
    EXPECT_TRUE(rabbits.front().catched && game_over) << "lost in the frame of the seizure";
    const std::vector<int> meadow = rules::Pixel(256, 380);
    rules::Frames(38);
    EXPECT_EQ(rules::Pixel(256, 380), meadow) << "nothing before 2 s";
    rules::Frames(84);
    EXPECT_EQ(rules::Pixel(256, 380), (std::vector<int>{255, 0, 255})) << "opaque after 6 s";
    GUI::game_over = saved;
    glDeleteTextures(1, &magenta);
}

TEST_F(GameFrame, TheBaitGlowSpansTheStretchTheBaitShields)
{
    const GLuint magenta = rules::SolidTexture(255, 0, 255), saved = glow_pattern;
    glow_pattern = magenta;
    SP_Fx.Reset();
    for (Carrot& c : carrots)
        c.position.x = 500.0f;
    // 115 units either side of the bait, 10 above and below 15 under its feet: (85..315, 189..209).
    const int probes[][3] = {{82, 199, 0}, {88, 199, 1}, {312, 199, 1}, {318, 199, 0},
                             {150, 187, 0}, {150, 191, 1}, {150, 207, 1}, {150, 211, 0}};
    rules::Frames();
    std::vector<std::vector<int>> meadow;
    for (const auto& p : probes)
        meadow.push_back(rules::Pixel(p[0], p[1]));
    rules::PutRabbit(200.0f, 200.0f, selection).bait = true;
    rules::Frames();
    for (size_t i = 0; i < meadow.size(); ++i)
        EXPECT_EQ(rules::Pixel(probes[i][0], probes[i][1]) != meadow[i], probes[i][2] == 1) << probes[i][0] << "," << probes[i][1];
    rabbits.front().catched = true;
    rules::Frames();
    EXPECT_EQ(rules::Pixel(88, 199), meadow[1]) << "a seized bait shields nobody and glows no more";
    glow_pattern = saved;
    glDeleteTextures(1, &magenta);
}

TEST_F(GameFrame, RecordPurseAndEagleSpeed)
{
    const int records[][4] = {{4, 5, 0, 0}, {5, 5, 0, 0}, {6, 5, 0, 1}, {6, 5, 1, 0}}; // score, record, developer, stored
    for (const auto& c : records) {
        std::remove(record_path);
        user_score = c[0], user_record = c[1], developer_mode = c[2];
        rules::Frames();
        EXPECT_EQ(std::filesystem::exists(record_path), c[3] == 1) << c[0] << " against " << c[1];
        EXPECT_EQ(user_record, std::max(c[0], c[1])) << "in memory the record follows the score";
    }
    developer_mode = false;
    const int rows[][4] = {{98, 98, 0, 30}, {99, 99, 50, 60}, {120, 99, 100, 90}, {0, 0, 150, 90}};
    for (const auto& r : rows) { // purse before and after a frame, score, eagles' speed
        n_carrots = r[0], user_score = r[2];
        rules::Frames();
        EXPECT_TRUE(n_carrots == r[1] && std::fabs(predator_speed - r[3]) < 1e-3f) << r[0] << " carrots, score " << r[2];
    }
}

TEST_F(GameFrame, HintsComeInTheirOrderOfPreferenceOnceAGame)
{
    rules::Frames(21);
    for (bool& shown : show_hints)
        shown = false;
    n_predator = 1;
    eagles.emplace_back().delay = 100.0f;
    for (bool* off : {&game_over, &developer_mode}) {
        *off = true;
        rules::Frames();
        EXPECT_FALSE(show_hint) << "no hint once the game is lost, nor in developer mode";
        *off = false;
    }
    n_carrots = 20;
    std::vector<int> order;
    for (int i = 0; i < 6; ++i) {
        show_hint = false;
        rules::ClearSlot(1);
        rules::Frames();
        EXPECT_EQ(rules::SlotFired(1), show_hint) << "each hint starts with the power-up sound";
        if (show_hint)
            order.push_back(hint_id);
        EXPECT_TRUE(i > 0 || (rules::FramesUntil([] { return !show_hint; }, 125) && hint_tl > 5.9f)) << "gone by 6 s";
    }
    EXPECT_EQ(order, (std::vector<int>{4, 0, 1, 2, 3})) << "and shows once a game";
    // A purse hint waits for more carrots than its limit, hint 1 also for two rabbits at home.
    const int limits[][3] = {{1, 1, 2}, {1, 2, 1}, {2, 4, 2}, {3, 11, 2}}; // hint, carrots, rabbits at home
    for (const auto& l : limits)
        for (int more : {0, 1}) {
            for (bool& shown : show_hints)
                shown = true;
            show_hints[l[0]] = show_hint = false;
            n_carrots = l[1] + more, holes[3].rabbits = l[2];
            rules::Frames();
            EXPECT_EQ(show_hint, more == 1 && l[2] > 1) << "hint " << l[0] << ", " << n_carrots << " carrots";
        }
}
