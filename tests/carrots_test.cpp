// Carrots: where they may grow, the pointer test, regrowth after a wave and its
// sound, and a field too full to place another carrot.
#include "rules_support.h"

#include "game/carrots.h"
#include "game/fx_instances.h"
#include "math/global_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Carrots : public ::testing::Test {
protected:
    void SetUp() override { rules::StartWorld(); }
};

TEST_F(Carrots, NewFieldsNeverLayTwoCarrotsWithinFourUnits)
{
    for (int game = 0; game < 200; ++game) {
        NewGame();
        ASSERT_EQ(carrots.size(), 10u);
        for (size_t i = 0; i < carrots.size(); ++i) {
            const Carrot& a = carrots[i];
            EXPECT_GE(a.position.x, 12.0f);
            EXPECT_LE(a.position.x, 500.0f);
            for (size_t j = i + 1; j < carrots.size(); ++j)
                ASSERT_GT(std::fabs(a.position.x - carrots[j].position.x), 4.0f) << "game " << game;
        }
    }
}

TEST_F(Carrots, OnlyUntakenCarrotsBlockAPlace)
{
    rules::LayCarrots(20.0f);
    carrots[0].position.x = 300.0f;
    carrots[1].position.x = 304.0f;
    EXPECT_FALSE(ValidateCarrotLocation(&carrots[1])) << "exactly 4 units apart is too close";
    carrots[1].position.x = 305.0f;
    EXPECT_TRUE(ValidateCarrotLocation(&carrots[1]));
    carrots[1].position.x = 296.0f;
    EXPECT_FALSE(ValidateCarrotLocation(&carrots[1])) << "the distance counts on both sides";
    carrots[0].taken = true;
    carrots[1].position.x = 300.0f;
    EXPECT_TRUE(ValidateCarrotLocation(&carrots[1])) << "a taken carrot leaves its place free";
    EXPECT_FALSE(ValidateCarrotLocation(nullptr));
}

TEST_F(Carrots, PointerHitsOnlyWithinSevenUnitsAndNeverATakenCarrot)
{
    rules::LayCarrots(20.0f);
    Carrot& c = carrots[2];
    c.position.x = 200.0f;
    GUILab_inf::device_w = 1024;
    auto hits_at = [&](float field_x) {
        GUILab_inf::cursor.x = field_x * 2.0f;
        return c.isClicked();
    };
    EXPECT_FALSE(hits_at(193.0f));
    EXPECT_FALSE(hits_at(207.0f));
    EXPECT_TRUE(hits_at(194.0f));
    EXPECT_TRUE(hits_at(206.9f)) << "the pointer's field x is truncated";
    c.taken = true;
    EXPECT_FALSE(hits_at(200.0f));
    c.taken = false;
    GUILab_inf::device_w = 0;
    EXPECT_FALSE(hits_at(200.0f)) << "a window without width points nowhere";
}

TEST_F(Carrots, WaveArmsTheFieldOnlyOnceEveryCarrotIsTaken)
{
    int eagles_due = n_predator;
    show_hints[0] = true;
    for (size_t i = 0; i + 1 < carrots.size(); ++i)
        carrots[i].taken = true;
    EXPECT_FALSE(RunCarrotWave());
    EXPECT_EQ(n_predator, eagles_due);
    carrots.back().taken = true;
    EXPECT_TRUE(RunCarrotWave());
    EXPECT_EQ(n_predator, eagles_due + 1);
    EXPECT_FALSE(show_hints[0]) << "the first hint returns with every wave";
    for (const Carrot& c : carrots)
        EXPECT_TRUE(c.enable_respawn);
    EXPECT_FALSE(RunCarrotWave()) << "armed carrots still waiting hold the next wave back";
    EXPECT_EQ(n_predator, eagles_due + 1);
}

TEST_F(Carrots, OnlyAnArmedCarrotRegrowsAfterItsDelayWithTheRegrowthSound)
{
    rules::ClearSlot(1);
    NewGame();
    EXPECT_FALSE(rules::SlotFired(1)) << "a new field sprouts silently";
    rules::LayCarrots(20.0f);
    for (Carrot& c : carrots) {
        c.taken = true;
        c.respawn = 0.1f;
    }
    Carrot& c = carrots[4];
    global_time = 0.25f;
    for (int frame = 0; frame < 20; ++frame)
        c.Render();
    EXPECT_TRUE(c.taken) << "a taken carrot regrows only after a wave";

    ASSERT_TRUE(RunCarrotWave());
    for (Carrot& other : carrots)
        other.respawn = 100.0f;
    c.respawn = 1.0f;
    size_t effects = SP_Fx.fx_list.size();
    for (int frame = 0; frame < 4; ++frame)
        c.Render();
    EXPECT_TRUE(c.taken) << "1.0 s is not yet exceeded";
    EXPECT_FALSE(rules::SlotFired(1));
    c.Render();
    EXPECT_FALSE(c.taken);
    EXPECT_TRUE(rules::SlotFired(1));
    EXPECT_EQ(SP_Fx.fx_list.size(), effects + 1) << "and sprouts";
    EXPECT_TRUE(ValidateCarrotLocation(&c));
}

TEST_F(Carrots, PlacementFindsTheOnlyFreePlaceAndEndsWhenThereIsNone)
{
    Carrot proto;
    carrots.clear();
    for (int x = 10; x <= 505; x += 5)
        if (x != 250) {
            carrots.push_back(proto);
            carrots.back().position.x = static_cast<float>(x);
        }
    EXPECT_EQ(Carrot().position.x, 250.0f);

    carrots.clear();
    for (int x = 12; x <= 500; ++x) {
        carrots.push_back(proto);
        carrots.back().position.x = static_cast<float>(x);
    }
    Carrot crowded;
    EXPECT_GE(crowded.position.x, 12.0f);
    EXPECT_LE(crowded.position.x, 500.0f);
}

} // namespace
