// A new game: the starting state, what carries over from the last game, bursts
// in flight dropped uncredited, and a whole game played without a tray.
#include "rules_support.h"

#include "game/fx_instances.h"
#include "math/global_time.h"

#include <gtest/gtest.h>

namespace {

class NewGames : public ::testing::Test {
protected:
    void SetUp() override { rules::StartWorld(); }
};

TEST_F(NewGames, StartsFromOneHoleWithTwoRabbitsAndKeepsRecordModeScreensAndIds)
{
    // The world as a long game leaves it.
    rules::LayCarrots(20.0f);
    for (Hole& h : holes) {
        h.status = 2;
        h.rabbits = 4;
        h.rate = 30.0f;
    }
    rules::SendFetch(carrots[0]);
    eagles.push_back(Eagle());
    eagles.back().target = &rabbits.back();
    selection = &holes[0];
    n_carrots = 77;
    user_score = 55;
    user_record = 60;
    n_predator = 4;
    n_lairs = 6;
    develop_cost = 49;
    Skill::eval = Skill::build = Skill::progeny = 2;
    Skill::evasion = Skill::speed = 1;
    for (bool& shown : show_hints)
        shown = true;
    show_hint = game_over = developer_mode = show_skills = true;
    hint_id = 3;
    mode = 2;
    int ids[7];
    for (int i = 0; i < 7; ++i)
        ids[i] = holes[i].id;

    NewGame();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(holes[i].status, i == 3 ? 2 : 0) << "hole " << i;
        EXPECT_EQ(holes[i].rabbits, i == 3 ? 2 : 0);
        EXPECT_EQ(holes[i].rate, 0.0f);
        EXPECT_EQ(holes[i].id, ids[i]);
    }
    EXPECT_EQ(selection, &holes[3]);
    ASSERT_EQ(carrots.size(), 10u);
    for (const Carrot& c : carrots)
        EXPECT_FALSE(c.taken);
    EXPECT_TRUE(rabbits.empty());
    EXPECT_TRUE(eagles.empty());
    EXPECT_EQ(n_carrots, 0);
    EXPECT_EQ(user_score, 0);
    EXPECT_EQ(n_predator, 0);
    EXPECT_EQ(n_lairs, 1);
    EXPECT_EQ(develop_cost, 12);
    EXPECT_EQ(Skill::eval, 1);
    EXPECT_EQ(Skill::build + Skill::evasion + Skill::progeny + Skill::speed, 0);
    for (bool shown : show_hints)
        EXPECT_FALSE(shown);
    EXPECT_FALSE(show_hint);
    EXPECT_EQ(hint_id, 0);
    EXPECT_FALSE(game_over);
    EXPECT_EQ(SP_Fx.fx_list.size(), 10u) << "only the ten new carrots sprout";
    // Kept from the last game.
    EXPECT_EQ(user_record, 60);
    EXPECT_EQ(mode, 2);
    EXPECT_TRUE(developer_mode);
    EXPECT_TRUE(show_skills);
    developer_mode = show_skills = false;
    mode = 0;
}

TEST_F(NewGames, BurstStillFlyingIsDroppedWithoutCredit)
{
    carrots_eval = 3;
    SpawnCarrotsFX(vector3f(300.0f, 200.0f, 0.0f));
    RenderCarrotsFX();
    NewGame();
    for (int frame = 0; frame < 300; ++frame)
        RenderCarrotsFX();
    EXPECT_EQ(n_carrots, 0);
}

// Fetches, builds, bait and eagles for a minute of play with the tray gone.
TEST_F(NewGames, WholeGameRunsWithoutATray)
{
    gui.buttons.clear();
    n_carrots = 40;
    global_time = 0.05f;
    holes[5].status = 1;
    for (int frame = 0; frame < 1200; ++frame) {
        rules::StepHoles(frame % 50 == 0 ? holes[3].id + 10 : 0);
        if (frame % 40 == 0 && selection->rabbits > 0)
            for (Carrot& c : carrots) {
                bool fetched = false;
                for (const Rabbit& r : rabbits)
                    fetched = fetched || r.carrot == &c;
                if (!c.taken && !fetched) {
                    rules::SendFetch(c);
                    break;
                }
            }
        if (frame == 100 && selection->rabbits > 0)
            rules::SendTo(holes[5]);
        if (frame == 200 && selection->rabbits > 0)
            rules::SendBait(250.0f);
        if (frame == 300)
            n_predator = 3;
        rules::StepWorld();
    }
    EXPECT_GT(user_score, 0) << "rabbits fetched carrots without a tray";
}

} // namespace
