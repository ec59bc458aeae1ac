// Effects placed in the game: copies of a template, and carrot bursts that fly to the counter and credit it once.
#include "rules_support.h"

#include "game/fx_instances.h"
#include "math/global_time.h"

#include <cmath>

using FxInstances = rules::Game;

TEST_F(FxInstances, CopiesOfATemplateRunAtHalfSpeedEachOnItsOwnClock)
{
    LumenarFX missing;
    SP_Fx.Reset();
    SP_Fx.Add(missing, vector3f(1.0f, 1.0f, 0.0f), 17.0f);
    global_time = 0.04f;
    for (float x : {100.0f, 400.0f}) {
        SP_Fx.Add(FX::point, vector3f(x, 300.0f, 0.0f), 17.0f);
        for (int i = 0; i < 5; ++i)
            SP_Fx.Display();
    }
    ASSERT_EQ(SP_Fx.fx_list.size(), 2u) << "an effect without emitters has finished at once";
    EXPECT_NEAR(SP_Fx.fx_list.front().fx.FX.front().global_time_elapsed, 0.2f, 1e-5f) << "at half speed";
    EXPECT_NEAR(SP_Fx.fx_list.back().fx.FX.front().global_time_elapsed, 0.1f, 1e-5f) << "each on its own clock";
    EXPECT_EQ(FX::point.FX.front().global_time_elapsed, 0.0f) << "the template itself never runs";
    EXPECT_TRUE(rules::FramesUntil([] { return SP_Fx.fx_list.empty(); }, 100)) << "both finish";
}

TEST_F(FxInstances, BurstSendsItsSpritesApartAndCreditsOnceWhenTheLastArrives)
{
    global_time = 0.025f, carrots_eval = 3; // two frames make exactly 0.05 s, which is not yet more
    SpawnCarrotsFX(vector3f(450.0f, 400.0f, 0.0f));
    const SpawnCarrotFX& burst = __spawn_carrots_fx.back();
    std::vector<int> added_in_frame;
    rules::ClearSlot(5);
    for (int frame = 0; frame < 200 && !burst.EOS(); ++frame) {
        const size_t before = burst.particles.size();
        RenderCarrotsFX();
        if (burst.particles.size() > before)
            added_in_frame.push_back(frame);
        EXPECT_EQ(n_carrots != 0, burst.EOS()) << "credited in the frame the burst ends";
    }
    EXPECT_EQ(added_in_frame, (std::vector<int>{0, 3, 6})) << "at once, then each more than 0.05 s later";
    EXPECT_TRUE(n_carrots == 3 && rules::SlotFired(5));
    RenderCarrotsFX();
    EXPECT_TRUE(__spawn_carrots_fx.empty() && n_carrots == 3) << "an ended burst goes and credits nothing more";
}

TEST_F(FxInstances, SpriteFliesToTheCounterAndArrivesWithinFiveUnits)
{
    // Columns: distance right of the counter, frame time; then alive after, x after, opacity.
    const float cases[][5] = {{10, 0, 1, 61, 0.5f}, {5.01f, 0, 1, 56.01f, 1 - 5 / 5.01f}, {5, 0, 1, 56, 0},
                              {4.99f, 0, 0, 55.99f, 0}, {300, 0.1f, 1, 311, 1 - 5 / 300.0f}};
    for (const auto& c : cases) {
        SpawnCarrotFX::CarrotParticle sprite;
        sprite.p = vector3f(51.0f + c[0], 26.0f, 0.0f);
        global_time = c[1];
        sprite.Simulate();
        EXPECT_TRUE(sprite.life == (c[2] != 0) && std::fabs(sprite.p.x - c[3]) < 1e-3f) << c[0];
        EXPECT_NEAR(sprite.alpha, c[4], 1e-5f) << c[0];
    }
}
