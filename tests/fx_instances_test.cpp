// Placed effects and carrot bursts: copies that run and finish on their own, and bursts that credit once.
#include "game/fx_instances.h"

#include "engine/sound.h"
#include "game/state.h"
#include "math/global_time.h"

#include "gl_context.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// An effect that spawns 2 particles every 0.05 s for 0.2 s, each living 0.3 s.
std::string WriteEffect()
{
    std::string path = testing::TempDir() + "fx_instances_two.lfx";
    std::ofstream(path) << "LFX\nver: 2\ntexture: 1 1 0 255 255 255 255\nparticles_limit: 999\n"
                           "spawn_time: 0.05 0.05\nspawn_particles: 2 2\nspawn_position: 0 0 0 0 0 0\n"
                           "spawn_direction: 0 1 0 0 1 0\nparticles_acceleration: 0 0 0\nparticles_rotation: 0 0\n"
                           "particle_random_rot: 0\nparticles_speed: 1 1\nparticles_timelife: 0.3 0.3\n"
                           "particles_scale: 0.5 0.5\nparticles_color_start: 255 255 255 255 255 255\n"
                           "particles_color_end: 255 255 255 255 255 255\nbillboarding: 3\ntime_delay: 0\n"
                           "time_step: 0.2\nloop: 0\n";
    return path;
}

class FxInstancesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartAudioOutput(); }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void SetUp() override
    {
        bm::EnsureGlContext();
        TearDown();
        n_carrots = 0;
        global_time = 0.02f;
        srand(77);
    }
    void TearDown() override
    {
        SP_Fx.Reset();
        ResetCarrotsFX();
    }
};

TEST_F(FxInstancesTest, CopyOfAMissingEffectIsDroppedAtTheNextDisplay)
{
    LumenarFX missing;
    EXPECT_FALSE(missing.load("Data/FX/no_such_effect.lfx"));
    SP_Fx.Add(missing, vector3f(100, 100, 0), 17);
    ASSERT_EQ(SP_Fx.fx_list.size(), 1u);
    SP_Fx.Display();
    EXPECT_TRUE(SP_Fx.fx_list.empty());
}

TEST_F(FxInstancesTest, TwoCopiesOfOneTemplateRunAndFinishSeparately)
{
    LumenarFX templ;
    ASSERT_TRUE(templ.load(WriteEffect().c_str()));
    global_time = 0.04f; // each placed copy advances 0.02 s per frame
    SP_Fx.Add(templ, vector3f(100, 300, 0), 17);
    for (int i = 0; i < 10; ++i)
        SP_Fx.Display();
    SP_Fx.Add(templ, vector3f(400, 300, 0), 17);
    ASSERT_EQ(SP_Fx.fx_list.size(), 2u);
    EXPECT_NEAR(SP_Fx.fx_list.front().fx.FX.front().global_time_elapsed, 0.2f, 1e-4);
    EXPECT_TRUE(templ.FX.front().particles.empty()) << "the template itself never runs";
    EXPECT_EQ(templ.FX.front().global_time_elapsed, 0.0f);

    int frames = 0;
    while (SP_Fx.fx_list.size() == 2 && frames++ < 500)
        SP_Fx.Display();
    ASSERT_EQ(SP_Fx.fx_list.size(), 1u);
    const LumenarParticlesFX& second = SP_Fx.fx_list.front().fx.FX.front();
    EXPECT_FLOAT_EQ(second.source.x, 400);
    EXPECT_FALSE(second.particles.empty()) << "the later copy is still running";
    while (!SP_Fx.fx_list.empty() && frames++ < 500)
        SP_Fx.Display();
    EXPECT_LT(frames, 100);

    SP_Fx.Add(templ, vector3f(10, 10, 0), 17);
    SP_Fx.Add(templ, vector3f(20, 20, 0), 17);
    SP_Fx.Display();
    SP_Fx.Reset();
    EXPECT_TRUE(SP_Fx.fx_list.empty());
}

TEST_F(FxInstancesTest, BurstAddsSpritesApartAndCreditsOnce)
{
    carrots_eval = 3;
    SpawnCarrotsFX(vector3f(450, 400, 0));
    std::vector<float> added_at;
    float t = 0;
    int credits = 0, last_carrots = n_carrots;
    for (int frame = 0; frame < 400 && !__spawn_carrots_fx.empty(); ++frame) {
        size_t before = __spawn_carrots_fx.front().particles.size();
        RenderCarrotsFX();
        t += global_time;
        if (__spawn_carrots_fx.empty())
            break;
        size_t after = __spawn_carrots_fx.front().particles.size();
        EXPECT_LE(after, before + 1);
        if (after > before)
            added_at.push_back(t);
        if (n_carrots != last_carrots) {
            ++credits;
            last_carrots = n_carrots;
        }
    }
    ASSERT_EQ(added_at.size(), 3u);
    EXPECT_FLOAT_EQ(added_at[0], global_time) << "the first sprite comes in the first frame";
    EXPECT_GT(added_at[1] - added_at[0], 0.05f);
    EXPECT_GT(added_at[2] - added_at[1], 0.05f);
    EXPECT_EQ(credits, 1);
    EXPECT_EQ(n_carrots, 3);
    EXPECT_TRUE(__spawn_carrots_fx.empty());
    EXPECT_GT(AudioEngine.s[5].alBufferLen, 0) << "the purse sound played in its slot";
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "drawing state handed back";
}

TEST_F(FxInstancesTest, SpriteLandsOnTheCounterEvenAtTheSlowestFrameRate)
{
    SpawnCarrotFX::CarrotParticle p;
    p.p = vector3f(351, 426, 0);
    global_time = 0.1f;
    int steps = 0;
    while (p.life && steps++ < 100)
        p.Simulate();
    EXPECT_FALSE(p.life);
    EXPECT_LE(steps, 14) << "no overshooting to and fro";
    EXPECT_GE(p.alpha, 0.0f);
    EXPECT_LE(p.alpha, 0.15f);
}

TEST_F(FxInstancesTest, WorthlessBurstNeverCredits)
{
    for (int eval : {0, -2}) {
        carrots_eval = eval;
        SpawnCarrotsFX(vector3f(300, 300, 0));
        for (int i = 0; i < 500; ++i)
            RenderCarrotsFX();
        ASSERT_FALSE(__spawn_carrots_fx.empty());
        EXPECT_TRUE(__spawn_carrots_fx.back().particles.empty());
        EXPECT_EQ(n_carrots, 0);
    }
}

TEST_F(FxInstancesTest, ResetDropsBurstsInFlightWithoutCredit)
{
    carrots_eval = 2;
    SpawnCarrotsFX(vector3f(480, 480, 0));
    SpawnCarrotsFX(vector3f(470, 470, 0));
    for (int i = 0; i < 5; ++i)
        RenderCarrotsFX();
    EXPECT_FALSE(__spawn_carrots_fx.front().particles.empty());
    ResetCarrotsFX();
    EXPECT_TRUE(__spawn_carrots_fx.empty());
    for (int i = 0; i < 200; ++i)
        RenderCarrotsFX();
    EXPECT_EQ(n_carrots, 0);
}

TEST_F(FxInstancesTest, GameEffectsPlaceAndFinish)
{
    global_time = 1 / 60.0f;
    const std::pair<LumenarFX*, const char*> effects[] = {
        {&FX::point, "Data/FX/point.lfx"}, {&FX::spawn, "Data/FX/spawn.lfx"}, {&FX::cursor, "Data/FX/cursor.lfx"}};
    for (const auto& [fx, path] : effects) {
        ASSERT_TRUE(fx->load(path));
        SP_Fx.Add(*fx, vector3f(200, 150, 0), 17);
    }
    int frames = 0;
    bool drew = false;
    while (!SP_Fx.fx_list.empty() && frames++ < 60 * 5) {
        SP_Fx.Display();
        for (const SpawnParticleFx::FxObj& obj : SP_Fx.fx_list)
            for (const LumenarParticlesFX& e : obj.fx.FX)
                drew = drew || !e.particles.empty();
    }
    EXPECT_TRUE(drew);
    EXPECT_TRUE(SP_Fx.fx_list.empty());
    EXPECT_LT(frames, 60 * 3);
}

} // namespace
