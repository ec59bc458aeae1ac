// The game frame through the real frame callback: skills to rules, the player's
// clicks by mode, the tray's buttons and keys, the wave, the loss, the record,
// the purse and the hints.
#include "rules_support.h"

#include "game/fx_instances.h"

#include <cstdio>
#include <filesystem>
#include <tuple>

namespace {

using GameFrame = rules::Game;
using Sys::Key;

float CarrotX(int i) { return carrots[i].position.x; }

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
    Skill::build = Skill::evasion = Skill::eval = 3;
    Skill::speed = Skill::progeny = -1;
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
    EXPECT_EQ(rules::FileBytes(record_path), (std::vector<unsigned char>{1, 0, 0, 0})) << "stored when beaten";
    ASSERT_TRUE(rules::FramesUntil([] { return rabbits.empty(); }));
    EXPECT_TRUE(holes[3].rabbits == 2 && n_carrots == 0) << "the carrots come with the burst, not with the rabbit";
    ASSERT_TRUE(rules::FramesUntil([] { return __spawn_carrots_fx.empty(); }));
    EXPECT_EQ(n_carrots, 2) << "two carrots a carrot at eval level 1";
}

TEST_F(GameFrame, OnePressSendsOneRabbitFromTheFieldOrSacrificeBand)
{
    rules::PointAt(CarrotX(0), 210.0f);
    rules::Press(true);
    rules::Frames(10);
    rules::Press(false);
    rules::ClickAt(CarrotX(0), 210.0f);
    EXPECT_EQ(rabbits.size(), 1u) << "holding repeats nothing, and a carrot already fetched sends nobody";
    const float field[][2] = {{192, 0}, {193, 1}, {239, 1}, {240, 0}}, bait[][2] = {{192, 0}, {193, 1}, {229, 1}, {230, 0}};
    for (int i = 0; i < 4; ++i) {
        rabbits.clear(), holes[3].rabbits = 2;
        rules::ClickAt(CarrotX(i + 1), field[i][0]);
        EXPECT_TRUE(rabbits.size() == field[i][1]) << "carrot click at y " << field[i][0];
        rabbits.clear(), holes[3].rabbits = 2;
        rules::HoldKeys({Key::B});
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
    n_carrots = 11;
    rules::HoldKeys({Key::G});
    EXPECT_EQ(mode, 0) << "11 carrots cannot pay for a hole";
    holes[3].rabbits = 9;
    std::vector<int> prices;
    for (int site : {3, 0, 1, 2, 4, 5, 6}) {
        n_carrots = 99;
        prices.push_back(develop_cost);
        rules::HoldKeys({Key::G});
        rules::ClickButton(gui, holes[site].id);
        EXPECT_EQ(n_carrots, site == 3 ? 99 : 99 - prices.back()) << "site " << site;
        EXPECT_EQ(mode, site == 3 ? 1 : 0) << "a ready hole is no site and keeps build mode";
        if (site == 3)
            prices.pop_back();
    }
    prices.push_back(develop_cost);
    EXPECT_EQ(prices, (std::vector<int>{12, 16, 21, 28, 37, 49, 49}));
    EXPECT_TRUE(holes[0].status == 1 && rabbits.front().hole == &holes[0] && n_lairs == 7);
    n_lairs = lairs_limit;
    rules::HoldKeys({Key::G});
    EXPECT_TRUE(mode == 0 && gui.GetButton(110)->pattern == GUI::build[2]) << "no building past the limit";
    ASSERT_TRUE(rules::FramesUntil([] { return holes[0].status == 2 && holes[0].rabbits == 1; }));
}

TEST_F(GameFrame, TrayButtonsAndKeysChooseTheCommand)
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
        EXPECT_TRUE(gui.GetButton(108)->pattern == GUI::move[expected == 0] &&
                    gui.GetButton(109)->pattern == GUI::sacrifice[expected == 2] &&
                    gui.GetButton(110)->pattern == GUI::build[expected == 1]);
    }
    holes[3].rabbits = 0, holes[1].status = 2, holes[1].rabbits = 1;
    rules::HoldKeys({Key::B});
    EXPECT_TRUE(mode == 0 && gui.GetButton(108)->pattern == GUI::move[2] &&
                gui.GetButton(109)->pattern == GUI::sacrifice[2] && gui.GetButton(110)->pattern == GUI::build[2])
        << "no command from an empty hole";
}

TEST_F(GameFrame, TrayButtonsOpenTheScreens)
{
    const std::pair<int, bool*> cases[] = {{121, &show_menu}, {107, &show_helps}, {111, &show_skills}};
    for (bool over : {false, true})
        for (auto [button, screen] : cases) {
            show_menu = show_helps = show_skills = false, game_over = over;
            rules::PointAtButton(gui, button);
            rules::Frames();
            EXPECT_EQ(cursor == Cursor::skill, button == 111 && !over);
            rules::ClickButton(gui, button);
            EXPECT_EQ(*screen, button != 111 || !over) << "button " << button << (over ? " after the loss" : "");
        }
    show_menu = show_helps = show_skills = game_over = false;
}

TEST_F(GameFrame, EachWaveBringsOneEagleAndTheFirstHintAgain)
{
    rules::Frames(21); // hints wait for the first second of the run
    for (Carrot& c : carrots)
        c.taken = true;
    rules::Frames();
    EXPECT_TRUE(n_predator == 1 && eagles.size() == 1 && show_hint && hint_id == 0) << "in the same frame";
    rules::Frames(5);
    EXPECT_EQ(eagles.size(), 1u) << "armed carrots start no second wave";
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
    rules::Frames(38);
    EXPECT_NE(rules::Pixel(256, 380), (std::vector<int>{255, 0, 255})) << "nothing before 2 s";
    rules::Frames(84);
    EXPECT_EQ(rules::Pixel(256, 380), (std::vector<int>{255, 0, 255})) << "opaque after 6 s";
    holes[3].rabbits = 1;
    rules::ClickAt(CarrotX(0), 210.0f);
    EXPECT_EQ(holes[3].rabbits, 1) << "no clicks in the field after the loss";
    GUI::game_over = saved;
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
    const int purses[][2] = {{98, 98}, {99, 99}, {120, 99}}, speeds[][2] = {{0, 30}, {50, 60}, {100, 90}, {150, 90}};
    for (const auto& p : purses) {
        n_carrots = p[0];
        rules::Frames();
        EXPECT_EQ(n_carrots, p[1]);
    }
    for (const auto& s : speeds) {
        user_score = s[0];
        rules::Frames();
        EXPECT_FLOAT_EQ(predator_speed, s[1]) << "score " << s[0];
    }
}

TEST_F(GameFrame, HintsComeInTheirOrderOfPreferenceOnceAGame)
{
    rules::Frames(21);
    for (bool& shown : show_hints)
        shown = false;
    n_carrots = 20, n_predator = 1;
    eagles.emplace_back().delay = 100.0f;
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
}

} // namespace
