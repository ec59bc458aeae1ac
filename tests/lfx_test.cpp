// Effect files and emitters: loading sane and hostile files within the format's
// limits, the emitter's clocks, bursts, scale chain, fading and drawing, the
// game's own effects, and placed copies that always end.
#include "alloc_probe.h"
#include "engine/lfx.h"
#include "game/fx_instances.h"
#include "gl_context.h"
#include "math/global_time.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tuple>

namespace {

// One emitter block: the texture, then every key in file order with a neutral value.
struct Block {
    int w = 1, h = 1, black_alpha = 0;
    std::vector<int> pixels{255, 255, 255, 255};
    std::vector<std::pair<std::string, std::string>> keys{
        {"particles_limit", "999"}, {"spawn_time", "0.02 0.02"}, {"spawn_particles", "1 1"},
        {"spawn_position", "0 0 0 0 0 0"}, {"spawn_direction", "0 0 0 0 0 0"}, {"particles_acceleration", "0 0 0"},
        {"particles_rotation", "0 0"}, {"particle_random_rot", "0"}, {"particles_speed", "0 0"},
        {"particles_timelife", "9 9"}, {"particles_scale", "1 1"},
        {"particles_color_start", "255 255 255 255 255 255"}, {"particles_color_end", "255 255 255 255 255 255"},
        {"billboarding", "3"}, {"time_delay", "0"}, {"time_step", "10"}, {"loop", "0"}};

    Block& set(const std::string& key, const std::string& value)
    {
        for (auto& kv : keys)
            if (kv.first == key)
                kv.second = value;
        return *this;
    }
    std::string str() const
    {
        std::ostringstream o;
        o << "texture: " << w << " " << h << " " << black_alpha << "\n";
        for (int v : pixels)
            o << v << " ";
        for (const auto& kv : keys)
            o << "\n" << kv.first << ": " << kv.second;
        return o.str() + "\n";
    }
};

const std::string kHeader = "LFX\nver: 2\n";

class LfxTest : public testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        bm::UseOffscreenCanvas();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 512, 0, 512, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        Clear();
        srand(1234);
    }
    LumenarFX Load(const std::string& text)
    {
        LumenarFX fx;
        EXPECT_TRUE(fx.load(dir.Write("fx.lfx", text).c_str()));
        return fx;
    }
    LumenarFX Load(const Block& b) { return Load(kHeader + b.str()); }
    static void Clear(float blue = 0)
    {
        glClearColor(0, 0, blue, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static bm::Bytes Pixel(int x, int y)
    {
        bm::Bytes px(4);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    static bm::Bytes Texels(GLuint tex, size_t n)
    {
        bm::Bytes out(n * 4);
        glBindTexture(GL_TEXTURE_2D, tex);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    static size_t Particles(const LumenarFX& fx)
    {
        size_t n = 0;
        for (const LumenarParticlesFX& e : fx.FX)
            n += e.particles.size();
        return n;
    }

    bm::ScratchDir dir;
};

TEST_F(LfxTest, HeadersAreCheckedAndARefusedFileKeepsWhatWasLoaded)
{
    LumenarFX fx = Load(kHeader);
    EXPECT_TRUE(fx.FX.empty() && fx.dead_animation());
    EXPECT_FALSE(fx.load("Data/FX/no_such_effect.lfx"));
    fx = Load(kHeader + Block().str() + Block().set("particles_limit", "7").str());
    for (const char* header : {"lfx\nver: 2\n", " LFX\nver: 2\n", "LFX\nver: 1\n", "LFX\nversion: 2\n", "LF"}) {
        EXPECT_FALSE(fx.load(dir.Write("refused.lfx", header + Block().str()).c_str())) << header;
        ASSERT_EQ(fx.FX.size(), 2u) << header;
        EXPECT_EQ(fx.FX.back().p_limit, 7) << header;
    }
    LumenarParticlesFX unloaded; // never loaded: inert
    unloaded.render(10, 20, 30, 1, 1);
    EXPECT_TRUE(unloaded.particles.empty() && unloaded.time_elapsed == 0.0f);
}

TEST_F(LfxTest, PixelsKeepTheirLowEightBitsWhateverTheLayoutAndACutFileKeepsDefaults)
{
    Block b;
    b.w = 2;
    b.pixels = {300, -1, 256, 128, 1, 2, 3, 4};
    std::string crlf;
    for (char c : kHeader + b.str() + "\t" + Block().set("loop", "5").str())
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    LumenarFX fx = Load(crlf);
    ASSERT_EQ(fx.FX.size(), 2u);
    EXPECT_EQ(Texels(fx.FX.front().p_texture, 2), (bm::Bytes{44, 255, 0, 128, 1, 2, 3, 4}));
    EXPECT_EQ(fx.FX.back().loop, 5);

    fx = Load("LFX ver:2 texture:1 1 1 9 8 7 6 particles_limit:5 spawn_time:.5 1. spawn_particles:+2 3");
    ASSERT_EQ(fx.FX.size(), 1u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_TRUE(e.instance && e.p_limit == 5 && e.spawn_time_min == 0.5f && e.spawn_p_min == 2 && e.spawn_p_max == 3);
    EXPECT_TRUE(e.p_scale_min == 1.0f && e.loop == 1) << "keys the file did not reach keep their defaults";
    const std::string full = kHeader + b.str();
    fx = Load(full.substr(0, full.find("2 3 4")));
    EXPECT_EQ(Texels(fx.FX.front().p_texture, 2), (bm::Bytes{44, 255, 0, 128, 1, 0, 0, 0}));
}

TEST_F(LfxTest, AFileIsHeldToTheFormatsLimits)
{
    std::string many = kHeader;
    for (int i = 0; i < LfxFormat::kMaxEmitters + 4; ++i)
        many += Block().set("particles_limit", "3000").set("spawn_particles", "3000 3000").str();
    LumenarFX fx = Load(many);
    ASSERT_EQ(fx.FX.size(), static_cast<size_t>(LfxFormat::kMaxEmitters));
    fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_EQ(Particles(fx), static_cast<size_t>(LfxFormat::kMaxParticles)) << "one budget for all emitters";
    EXPECT_EQ(Load(Block().set("particles_limit", "-1").set("spawn_particles", "9000 9000")).FX.front().p_limit,
              LfxFormat::kMaxParticles);

    // Damaged lifetimes, sizes and speeds read as 0.
    fx = Load(kHeader +
              Block()
                  .set("particles_timelife", "1e39 -1e39")
                  .set("particles_scale", "-2 10001")
                  .set("particles_speed", "-1 1e40")
                  .str() +
              Block().set("particles_timelife", "10000 0").set("particles_scale", "0.5 2").set("particles_speed", "3 4").str());
    const LumenarParticlesFX &bad = fx.FX.front(), &good = fx.FX.back();
    EXPECT_EQ(bad.p_timelife_min + bad.p_timelife_max + bad.p_scale_min + bad.p_scale_max + bad.p_speed_min +
                  bad.p_speed_max, 0.0f);
    EXPECT_EQ(good.p_timelife_min + good.p_scale_min + good.p_scale_max + good.p_speed_min + good.p_speed_max,
              10000.0f + 0.5f + 2 + 3 + 4);

    // A texture larger than what is left of the file is refused before anything is allocated for it.
    for (const char* texture : {"texture: -1 4 0 1 2 3 4", "texture: 2147483647 2147483647 0 1 2 3 4",
                                "texture: 1000 1000 0 1 2 3 4", "texture: 1 100000 0 1 2 3 4"}) {
        const std::string path = dir.Write("hostile.lfx", kHeader + Block().str() + texture + "\nparticles_limit: 5\n");
        bm::LargestAllocation();
        ASSERT_TRUE(fx.load(path.c_str()));
        EXPECT_LT(bm::LargestAllocation(), 65536u) << texture;
        EXPECT_EQ(fx.FX.size(), 1u) << texture;
    }
}

TEST_F(LfxTest, BurstsAndEmissionAreDueAtTheirLimitsAndAParticleDiesAtZeroLife)
{
    LumenarFX fx = Load(Block().set("spawn_time", "0 0").set("time_step", "0.5"));
    // Without time passing every frame is due a burst and the window is still open.
    for (int i = 0; i < 3; ++i)
        fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_EQ(Particles(fx), 3u);
    for (int i = 0; i < 3; ++i)
        fx.render(256, 256, 0, 1, 0.25f); // emission clock 0.25, 0.5 (still open), 0.75
    EXPECT_EQ(Particles(fx), 5u);
    EXPECT_FALSE(fx.dead_animation());
    fx = Load(Block().set("particles_timelife", "0 0").set("time_step", "0"));
    fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_EQ(Particles(fx), 0u) << "born with no life: removed before it is drawn";
}

TEST_F(LfxTest, TheScaleChainPlacesSpeedsSizesAndAccelerationAsTheEffectScaleSays)
{
    LumenarFX fx = Load(Block()
                            .set("spawn_position", "1 0 0 1 0 0")
                            .set("spawn_direction", "1 0 0 1 0 0")
                            .set("particles_speed", "3 3")
                            .set("particles_scale", "2 2")
                            .set("particles_acceleration", "0 4 0"));
    fx.render(100, 100, 0, 10, 0.0f);
    const LumenarParticlesFX::Particle& p = fx.FX.front().particles.front();
    EXPECT_FLOAT_EQ(p.pos.x, 100 + 2 * 10 * 1) << "spawn offsets at twice the scale";
    EXPECT_FLOAT_EQ(p.dir.x, 3 * 10) << "speed times the scale";
    EXPECT_FLOAT_EQ(p.scale, 2 * 10);
    fx.render(100, 100, 0, 10, 0.5f);
    EXPECT_FLOAT_EQ(p.dir.y, 4 * 0.5f * 10 / 2) << "acceleration at half the scale";
    EXPECT_FLOAT_EQ(p.pos.x, 120 + 30 * 0.5f);
    EXPECT_FLOAT_EQ(p.pos.y, 100 + 10 * 0.5f);
}

TEST_F(LfxTest, ADelayedEffectDrawsFirstAfterItsDelayAndPlaysAgainAfterAReset)
{
    LumenarFX fx = Load(Block().set("time_delay", "1.0").set("time_step", "0.5").set("particles_timelife", "2 2"));
    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(Particles(fx), 0u);
    EXPECT_EQ(Pixel(256, 256)[0], 0);
    EXPECT_FALSE(fx.dead_animation()) << "still in its delay";
    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(Particles(fx), 1u);
    EXPECT_GT(Pixel(256, 256)[0], 100);
    for (int frames = 0; frames < 10 && !fx.dead_animation(); ++frames)
        fx.render(256, 256, 0, 20, 0.25f);
    ASSERT_TRUE(fx.dead_animation());
    fx.reset();
    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(Particles(fx) + fx.dead_animation(), 0u);
    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(Particles(fx), 1u);
}

TEST_F(LfxTest, BurstSizesAndTheParticleLimit)
{
    const std::tuple<const char*, const char*, size_t> cases[] = {
        {"0 0", "999", 1}, {"-5 -3", "999", 1}, {"5 5", "3", 5}, {"7 7", "999", 7}, {"4 4", "0", 4}};
    for (const auto& [range, limit, expected] : cases) {
        LumenarFX fx = Load(Block().set("spawn_particles", range).set("particles_limit", limit).set("spawn_time", "0 0"));
        for (int i = 0; i < 3; ++i) {
            fx.render(256, 256, 0, 10, 0.0f);
            EXPECT_EQ(Particles(fx), std::min<size_t>(expected * (i + 1), std::atoi(limit))) << range << " " << limit;
        }
    }
}

TEST_F(LfxTest, AParticleFadesToItsEndColourAndAdditiveEmittersAddTheirLight)
{
    Block b;
    b.black_alpha = 1; // blended over black, so the pixel is colour x alpha
    b.set("particles_timelife", "2 2").set("spawn_time", "100 100");
    b.set("particles_color_start", "200 100 0 200 100 0").set("particles_color_end", "0 50 250 0 50 250");
    LumenarFX fx = Load(b);
    fx.render(256, 256, 0, 20, 0.0f);
    Clear();
    fx.render(256, 256, 0, 20, 1.0f);
    const bm::Bytes px = Pixel(256, 256); // alpha 127, colour (100, 75, 125)
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(px[c], (c == 0 ? 100 : c == 1 ? 75 : 125) * 127 / 255.0, 1.5) << c;
    EXPECT_GT(Pixel(256 + 18, 256 - 18)[0], 40) << "a square of half-side 20";
    EXPECT_EQ(Pixel(256 + 23, 256)[0], 0);

    fx = Load(Block().set("particles_color_start", "100 0 0 100 0 0"));
    Clear(100 / 255.0f);
    fx.render(256, 256, 0, 20, 0.0f);
    EXPECT_NEAR(Pixel(256, 256)[0], 100, 1);
    EXPECT_NEAR(Pixel(256, 256)[2], 100, 1) << "what was behind stays, undimmed";
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes && !glIsEnabled(GL_BLEND));
}

TEST_F(LfxTest, TheGamesEffectsShowAndFinishAtSlowAndFastFrames)
{
    // Scale and speed as the game places them; the seconds they may last on screen.
    const std::tuple<const char*, float, float, float> effects[] = {{"Data/FX/cursor.lfx", 10, 1.0f, 0.55f},
                                                                    {"Data/FX/point.lfx", 17, 0.5f, 1.5f},
                                                                    {"Data/FX/spawn.lfx", 17, 0.5f, 2.5f}};
    for (const auto& [path, scale, speed, seconds] : effects) {
        LumenarFX fx;
        ASSERT_TRUE(fx.load(path));
        for (float dt : {1 / 60.0f, 0.1f}) {
            fx.reset();
            float t = 0;
            size_t most = 0;
            for (; !fx.dead_animation() && t < 3; t += dt) {
                fx.render(256, 256, 0, scale, dt * speed);
                most = std::max(most, Particles(fx));
            }
            EXPECT_LE(t, seconds) << path << " at " << dt;
            EXPECT_GE(most, 3u) << path << " at " << dt;
        }
    }
}

TEST_F(LfxTest, APlacedCopyAlwaysEnds)
{
    LumenarFX looping = Load(Block().set("loop", "1")), point;
    ASSERT_TRUE(point.load("Data/FX/point.lfx"));
    SP_Fx.Reset();
    SP_Fx.Add(looping, vector3f(100, 100, 0), 17);
    SP_Fx.Add(point, vector3f(100, 100, 0), 17);
    global_time = 0.25f; // placed copies play at half speed
    int frames = 0;
    for (; !SP_Fx.fx_list.empty() && frames < 1000; ++frames) {
        SP_Fx.Display();
        if (frames == 40) {
            EXPECT_EQ(SP_Fx.fx_list.size(), 1u) << "our own effect ends by itself, well before";
        }
    }
    // Dropped at the first frame after it has played longer than the longest copy may.
    EXPECT_EQ(frames, static_cast<int>(SpawnParticleFx::kLongestCopy / 0.125f) + 2);
    SP_Fx.Reset();
}

} // namespace
