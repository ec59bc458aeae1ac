// Carrots: where they may grow, the pointer test, regrowth after a wave and its
// sound, and a field too full to place another carrot.
#include "rules_support.h"

#include "engine/sound.h"
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
            EXPECT_FALSE(a.taken);
            EXPECT_FALSE(a.enable_respawn);
            EXPECT_EQ(a.position.y, 205.0f);
            EXPECT_EQ(a.position.x, std::floor(a.position.x));
            EXPECT_GE(a.position.x, 12.0f);
            EXPECT_LE(a.position.x, 500.0f);
            EXPECT_GE(a.respawn, 1.0f);
            EXPECT_LE(a.respawn, 10.0f);
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

    // A carrot outside the field is weighed against every untaken one in it.
    Carrot outsider = carrots[3];
    EXPECT_FALSE(ValidateCarrotLocation(&outsider));
}

TEST_F(Carrots, PointerHitsOnlyWithinSevenUnitsAndNeverATakenCarrot)
{
    rules::LayCarrots(20.0f);
    Carrot& c = carrots[2];
    c.position.x = 200.0f;
    GUILab_inf::device_w = 1024;
    auto pointer_at = [](float field_x) { GUILab_inf::cursor.x = field_x * 2.0f; };

    pointer_at(193.0f);
    EXPECT_FALSE(c.isClicked());
    pointer_at(207.0f);
    EXPECT_FALSE(c.isClicked());
    pointer_at(194.0f);
    EXPECT_TRUE(c.isClicked());
    pointer_at(206.0f);
    EXPECT_TRUE(c.isClicked());
    // The pointer's field x is truncated: 206.9 counts as 206.
    pointer_at(206.9f);
    EXPECT_TRUE(c.isClicked());

    c.taken = true;
    for (float x = 150.0f; x < 250.0f; x += 1.0f) {
        pointer_at(x);
        EXPECT_FALSE(c.isClicked());
    }

    c.taken = false;
    pointer_at(200.0f);
    GUILab_inf::device_w = 0;
    EXPECT_FALSE(c.isClicked()) << "a window without width points nowhere";
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

    // Armed carrots still waiting to regrow hold the next wave back.
    EXPECT_FALSE(RunCarrotWave());
    EXPECT_EQ(n_predator, eagles_due + 1);
}

TEST_F(Carrots, ArmedCarrotRegrowsOnceItsDelayHasPassedWithTheRegrowthSound)
{
    rules::LayCarrots(20.0f);
    for (Carrot& c : carrots)
        c.taken = true;
    ASSERT_TRUE(RunCarrotWave());
    for (Carrot& c : carrots)
        c.respawn = 100.0f;
    Carrot& c = carrots[4];
    c.respawn = 1.0f;
    global_time = 0.25f;
    rules::ClearSlot(1);
    size_t effects = SP_Fx.fx_list.size();

    for (int frame = 0; frame < 4; ++frame) {
        c.Render();
        EXPECT_TRUE(c.taken) << "1.0 s has not yet been exceeded at frame " << frame;
    }
    EXPECT_FALSE(rules::SlotFired(1));
    c.Render();
    EXPECT_FALSE(c.taken);
    EXPECT_FALSE(c.enable_respawn);
    EXPECT_GE(c.respawn, 1.0f);
    EXPECT_TRUE(rules::SlotFired(1)) << "a regrowth plays its sound";
    EXPECT_EQ(SP_Fx.fx_list.size(), effects + 1) << "and sprouts";
    EXPECT_TRUE(ValidateCarrotLocation(&c));
}

TEST_F(Carrots, TakenCarrotWaitsForTheWaveAndFirstPlacementIsSilent)
{
    rules::ClearSlot(1);
    NewGame();
    EXPECT_FALSE(rules::SlotFired(1)) << "a new field sprouts silently";

    Carrot& c = carrots[0];
    c.taken = true;
    c.respawn = 0.1f;
    global_time = 0.1f;
    for (int frame = 0; frame < 200; ++frame)
        c.Render();
    EXPECT_TRUE(c.taken) << "a taken carrot regrows only after a wave";
    EXPECT_FALSE(rules::SlotFired(1));
}

TEST_F(Carrots, PlacementEndsEvenOnAFieldWithNoRoomLeft)
{
    Carrot proto;
    carrots.clear();
    for (int x = 12; x <= 500; ++x) {
        Carrot c = proto;
        c.position.x = static_cast<float>(x);
        carrots.push_back(c);
    }
    Carrot crowded;
    EXPECT_GE(crowded.position.x, 12.0f);
    EXPECT_LE(crowded.position.x, 500.0f);
    EXPECT_FALSE(crowded.taken);
}

TEST_F(Carrots, PlacementFindsTheOnlyFreePlace)
{
    Carrot proto;
    carrots.clear();
    // Carrots every 5 units leave nothing free but the gap around 250.
    for (int x = 10; x <= 505; x += 5) {
        if (x == 250)
            continue;
        Carrot c = proto;
        c.position.x = static_cast<float>(x);
        carrots.push_back(c);
    }
    for (Carrot& c : carrots)
        ASSERT_FALSE(c.taken);
    Carrot newcomer;
    EXPECT_EQ(newcomer.position.x, 250.0f);
}

} // namespace
