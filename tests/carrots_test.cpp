// Carrots: where and when they grow, the pointer test, and the wave that re-arms the field.
#include "rules_support.h"

#include "game/carrots.h"
#include "game/fx_instances.h"
#include "math/global_time.h"

#include <cmath>
#include <set>

using Carrots = rules::Game;

TEST_F(Carrots, NewFieldsKeepCarrotsApartAndDrawRegrowthDelaysOfOneToTenSeconds)
{
    std::set<long> tenths;
    for (int game = 0; game < 300; ++game) {
        NewGame();
        ASSERT_EQ(carrots.size(), 10u);
        for (const Carrot& a : carrots) {
            ASSERT_TRUE(a.position.x >= 12.0f && a.position.x <= 500.0f && a.position.x == std::floor(a.position.x));
            for (const Carrot& b : carrots)
                ASSERT_TRUE(&a == &b || std::fabs(a.position.x - b.position.x) > 4.0f) << "game " << game;
            ASSERT_NEAR(a.respawn * 10.0f, std::round(a.respawn * 10.0f), 1e-3f) << "in steps of 0.1 s";
            tenths.insert(std::lround(a.respawn * 10.0f));
        }
    }
    EXPECT_TRUE(*tenths.begin() == 10 && *tenths.rbegin() == 100 && tenths.size() == 91) << "every delay of 1 to 10 s";
}

TEST_F(Carrots, OnlyUntakenCarrotsBlockAPlaceAndThePointerHitsWithinSevenUnits)
{
    carrots[0].position.x = 300.0f;
    for (float d : {4.0f, -4.0f, 5.0f, -5.0f}) {
        carrots[1].position.x = 300.0f + d;
        EXPECT_EQ(ValidateCarrotLocation(&carrots[1]), std::fabs(d) > 4.0f) << d;
    }
    carrots[0].taken = true;
    carrots[1].position.x = 300.0f;
    EXPECT_TRUE(ValidateCarrotLocation(&carrots[1])) << "a taken carrot leaves its place free";
    EXPECT_FALSE(ValidateCarrotLocation(nullptr));
    carrots[0].position.x = carrots[5].position.x; // the taken one under the pointer too
    for (float d : {-7.0f, -6.0f, 6.0f, 7.0f}) {
        rules::PointAt(carrots[5].position.x + d, 300.0f);
        rules::Frames();
        EXPECT_EQ(carrots[5].isClicked(), std::fabs(d) < 7.0f) << d;
        EXPECT_FALSE(carrots[0].isClicked()) << "a taken carrot is never hit";
    }
}

TEST_F(Carrots, WaveArmsTheFieldOnceEveryCarrotIsTakenAndArmedOnesRegrowWithASound)
{
    rules::ClearSlot(1);
    NewGame();
    EXPECT_FALSE(rules::SlotFired(1)) << "a new field sprouts silently";
    show_hints[0] = true;
    for (size_t i = 0; i + 1 < carrots.size(); ++i)
        carrots[i].taken = true;
    EXPECT_FALSE(RunCarrotWave()) << "one carrot still lies in the field";
    carrots.back().taken = true;
    carrots[4].respawn = 1.0f;
    global_time = 0.25f;
    carrots[4].Render();
    EXPECT_EQ(carrots[4].respawn, 1.0f) << "a taken carrot counts down only once armed";
    EXPECT_TRUE(RunCarrotWave() && n_predator == 1 && !show_hints[0]) << "one more eagle and the first hint again";
    for (const Carrot& c : carrots)
        EXPECT_TRUE(c.enable_respawn);
    EXPECT_FALSE(RunCarrotWave()) << "armed carrots still to grow hold the next wave back";
    const size_t effects = SP_Fx.fx_list.size();
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_TRUE(carrots[4].taken && !rules::SlotFired(1)) << "1.0 s is not yet exceeded after " << frame << " frames";
        carrots[4].Render();
    }
    EXPECT_TRUE(!carrots[4].taken && !carrots[4].enable_respawn && rules::SlotFired(1) && n_predator == 1);
    EXPECT_EQ(SP_Fx.fx_list.size(), effects + 1) << "and sprouts";
    EXPECT_TRUE(carrots[4].respawn >= 1.0f && ValidateCarrotLocation(&carrots[4]));
}
