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
#include <vector>

namespace {

std::string WriteEffect(const std::string& name, float step, float life)
{
    std::string path = testing::TempDir() + "fx_instances_" + name;
    std::ofstream(path) << "LFX\nver: 2\ntexture: 1 1 0 255 255 255 255\nparticles_limit: 999\n"
                           "spawn_time: 0.05 0.05\nspawn_particles: 2 2\nspawn_position: 0 0 0 0 0 0\n"
                           "spawn_direction: 0 1 0 0 1 0\nparticles_acceleration: 0 0 0\nparticles_rotation: 0 0\n"
                           "particle_random_rot: 0\nparticles_speed: 1 1\nparticles_timelife: "
                        << life << " " << life
                        << "\nparticles_scale: 0.5 0.5\nparticles_color_start: 255 255 255 255 255 255\n"
                           "particles_color_end: 255 255 255 255 255 255\nbillboarding: 3\ntime_delay: 0\n"
                           "time_step: "
                        << step << "\nloop: 0\n";
    return path;
}

class FxInstancesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartAudioOutput(); }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void SetUp() override
    {
        bm::EnsureGlContext();
        glViewport(0, 0, 512, 512);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 512, 0, 512, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        SP_Fx.Reset();
        ResetCarrotsFX();
        n_carrots = 0;
        carrots_eval = 3;
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
    EXPECT_TRUE(SpawnParticleFx::null_fx(SP_Fx.fx_list.front()));
    SP_Fx.Display();
    EXPECT_TRUE(SP_Fx.fx_list.empty());
}

TEST_F(FxInstancesTest, TwoCopiesOfOneTemplateRunAndFinishSeparately)
{
    LumenarFX templ;
    ASSERT_TRUE(templ.load(WriteEffect("two.lfx", 0.2f, 0.3f).c_str()));
    global_time = 0.04f; // each placed copy advances 0.02 s per frame

    SP_Fx.Add(templ, vector3f(100, 300, 0), 17);
    for (int i = 0; i < 10; ++i)
        SP_Fx.Display();
    SP_Fx.Add(templ, vector3f(400, 300, 0), 17);
    ASSERT_EQ(SP_Fx.fx_list.size(), 2u);
    const LumenarParticlesFX& first = SP_Fx.fx_list.front().fx.FX.front();
    EXPECT_NEAR(first.global_time_elapsed, 0.2f, 1e-4);
    EXPECT_FALSE(first.particles.empty());
    EXPECT_FLOAT_EQ(first.source.x, 100);

    // The template itself is never advanced: every copy starts from the beginning.
    EXPECT_TRUE(templ.FX.front().particles.empty());
    EXPECT_EQ(templ.FX.front().global_time_elapsed, 0.0f);
    EXPECT_TRUE(templ.FX.front().first_spawn);

    int frames = 0;
    while (SP_Fx.fx_list.size() == 2 && frames < 500) {
        SP_Fx.Display();
        ++frames;
    }
    ASSERT_EQ(SP_Fx.fx_list.size(), 1u);
    const LumenarParticlesFX& second = SP_Fx.fx_list.front().fx.FX.front();
    EXPECT_FLOAT_EQ(second.source.x, 400);
    EXPECT_FALSE(SpawnParticleFx::null_fx(SP_Fx.fx_list.front()));
    // The second copy runs 10 frames (0.2 s of its own time) behind the first.
    EXPECT_GT(second.global_time_elapsed, 0.25f);
    EXPECT_FALSE(second.particles.empty());
    while (!SP_Fx.fx_list.empty() && frames < 500) {
        SP_Fx.Display();
        ++frames;
    }
    EXPECT_TRUE(SP_Fx.fx_list.empty());
    EXPECT_LT(frames, 100);
}

TEST_F(FxInstancesTest, ResetDropsPlacedEffects)
{
    LumenarFX templ;
    ASSERT_TRUE(templ.load(WriteEffect("reset.lfx", 5.0f, 1.0f).c_str()));
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
    ASSERT_EQ(__spawn_carrots_fx.size(), 1u);

    std::vector<float> added_at;
    float t = 0;
    int credits = 0;
    int last_carrots = n_carrots;
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
            EXPECT_TRUE(__spawn_carrots_fx.front().EOS());
            for (const SpawnCarrotFX::CarrotParticle& p : __spawn_carrots_fx.front().particles)
                EXPECT_FALSE(p.life);
        }
    }
    ASSERT_EQ(added_at.size(), 3u);
    EXPECT_FLOAT_EQ(added_at[0], global_time); // the first sprite comes in the first frame
    EXPECT_GT(added_at[1] - added_at[0], 0.05f);
    EXPECT_GT(added_at[2] - added_at[1], 0.05f);
    EXPECT_EQ(credits, 1);
    EXPECT_EQ(n_carrots, 3);
    EXPECT_TRUE(__spawn_carrots_fx.empty());
    EXPECT_GT(AudioEngine.s[5].alBufferLen, 0); // the purse sound was played in its slot
}

TEST_F(FxInstancesTest, SpritesFlyToTheCounterAndFade)
{
    SpawnCarrotFX::CarrotParticle p;
    EXPECT_TRUE(p.life);
    EXPECT_FLOAT_EQ(p.alpha, 1.0f);
    EXPECT_GE(p.rot_speed, 12.0f);
    EXPECT_LE(p.rot_speed, 180.0f);
    EXPECT_GE(p.r, 0.0f);
    EXPECT_LT(p.r, 360.0f);
    p.p = vector3f(51 + 300, 26 + 400, 0);
    global_time = 0.1f;
    float r0 = p.r;
    p.Simulate();
    // 40 units straight at the counter in a tenth of a second.
    EXPECT_NEAR(p.p.x, 351 - 24, 1e-3);
    EXPECT_NEAR(p.p.y, 426 - 32, 1e-3);
    EXPECT_NEAR(p.r, r0 + p.rot_speed * 0.1f, 1e-3);
    EXPECT_NEAR(p.alpha, 1 - 5.0f / 500.0f, 1e-4);
    // Even at the slowest frame rate the sprite lands instead of overshooting to and fro.
    int steps = 0;
    while (p.life && steps < 100) {
        p.Simulate();
        ++steps;
    }
    EXPECT_FALSE(p.life);
    EXPECT_LE(steps, 14);
    EXPECT_GE(p.alpha, 0.0f);
    EXPECT_LE(p.alpha, 0.15f);
}

TEST_F(FxInstancesTest, WorthlessBurstNeverCreditsNorGrows)
{
    carrots_eval = 0;
    SpawnCarrotsFX(vector3f(300, 300, 0));
    for (int i = 0; i < 500; ++i)
        RenderCarrotsFX();
    ASSERT_EQ(__spawn_carrots_fx.size(), 1u);
    EXPECT_TRUE(__spawn_carrots_fx.front().particles.empty());
    EXPECT_FALSE(__spawn_carrots_fx.front().EOS());
    EXPECT_EQ(n_carrots, 0);

    carrots_eval = -2;
    SpawnCarrotsFX(vector3f(300, 300, 0));
    for (int i = 0; i < 500; ++i)
        RenderCarrotsFX();
    EXPECT_EQ(__spawn_carrots_fx.size(), 2u);
    EXPECT_TRUE(__spawn_carrots_fx.back().particles.empty());
    EXPECT_EQ(n_carrots, 0);

    ResetCarrotsFX();
    EXPECT_TRUE(__spawn_carrots_fx.empty());
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
    for (int i = 0; i < 200; ++i)
        RenderCarrotsFX();
    EXPECT_EQ(n_carrots, 0);
}

TEST_F(FxInstancesTest, BurstDrawsOnlyItsOwnState)
{
    // Drawing state is handed back as found: blending off, depth writes on.
    carrots_eval = 1;
    SpawnCarrotsFX(vector3f(200, 200, 0));
    RenderCarrotsFX();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
}

TEST_F(FxInstancesTest, GameEffectsPlaceAndFinish)
{
    // The templates as the game loads them, placed the way the game fires them.
    ASSERT_TRUE(FX::point.load("Data/FX/point.lfx"));
    ASSERT_TRUE(FX::spawn.load("Data/FX/spawn.lfx"));
    ASSERT_TRUE(FX::cursor.load("Data/FX/cursor.lfx"));
    global_time = 1 / 60.0f;
    SP_Fx.Add(FX::point, vector3f(200, 150, 0), 17);
    SP_Fx.Add(FX::spawn, vector3f(300, 205, 0), 17);
    int frames = 0;
    bool drew = false;
    while (!SP_Fx.fx_list.empty() && frames < 60 * 5) {
        SP_Fx.Display();
        for (const SpawnParticleFx::FxObj& obj : SP_Fx.fx_list)
            for (const LumenarParticlesFX& e : obj.fx.FX)
                drew = drew || !e.particles.empty();
        ++frames;
    }
    EXPECT_TRUE(drew);
    EXPECT_TRUE(SP_Fx.fx_list.empty());
    EXPECT_LT(frames, 60 * 3);
}

} // namespace
